// The SOSI import commands as the palettes run them, in an in-process host: the ways a command ends before
// building (an unreadable file, a missing library part, a floor plan out of reach, a cancel), import
// again, and the one message after a build whose objects failed.
#include "ProjectHost.hpp"

#include "DGDriver.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "settings/ProjectOffset.hpp"
#include "settings/Settings.hpp"
#include "shell/commands/SOSIImportCommands.hpp"
#include "sosi/SOSIFileCls.hpp"

#include <fstream>
#include <string>
#include <regex>
#include <vector>

namespace sosi_import_commands_test {

int optionsAsked = 0;
bool optionsAnswer = true;
std::vector<int32_t> typesOffered;

// Every type taken, or the dialog cancelled.
bool CountingOptions(SOSIFileCls& reader, SOSIOptionChoices&) {
    ++optionsAsked;
    typesOffered.push_back(reader.scan.types.GetCount());
    for (SOSIOType& row : reader.scan.types) row.import = 1;
    return optionsAnswer;
}

ModuleSession* session = nullptr;
int32_t breakAfter = -1;

class SosiImportCommandsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        GlobalSettings.Reset();
        GlobalSettings.SetBuiltInDefaults(QV_String("Arial"));
        asks.options = CountingOptions;
        // Asked just before the build: the user's break, when one is set, comes during it.
        asks.curveSegmentation = [](const SOSIFileCls&) {
            session->progress.breakAfter = breakAfter;
            return true;
        };
        session = &host->Session();
        optionsAsked = 0;
        optionsAnswer = true;
        typesOffered.clear();
        breakAfter = -1;
        ProjectOffset.Reset();
        ProjectOffset.x = 11.0;
        ProjectOffset.y = 22.0;
    }
    void TearDown() override {
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    void LoadSosiParts() {
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    }
    static std::string Sosi(const std::string& name) { return TestSupport::DataDir() + "/sosi/" + name; }
    static std::vector<std::string> AlertTexts() {
        std::vector<std::string> out;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "alert" && !r.texts.empty()) out.push_back(r.texts[0]);
        return out;
    }
    static int Shown(const std::string& kind, int32_t id = -1) {
        int n = 0;
        for (const DGDriver::LogRecord& r : DGDriver::Log()) n += r.kind == kind && (id < 0 || r.id == id);
        return n;
    }
    // No element made, the project offset as it was.
    void ExpectProjectUnchanged(size_t elements) {
        EXPECT_EQ(Db().AllElements().size(), elements);
        EXPECT_EQ(ProjectOffset.x, 11.0);
        EXPECT_EQ(ProjectOffset.y, 22.0);
    }
    // A new worksheet in front; its element count.
    void OpenWorksheet(char16_t ref) {
        API_DatabaseInfo d = {};
        d.typeID = APIWind_WorksheetID;
        d.ref[0] = d.name[0] = ref;
        ASSERT_EQ(ACAPI_Database(APIDb_NewDatabaseID, &d), NoError);
        API_WindowInfo w = {};
        w.typeID = APIWind_WorksheetID;
        w.databaseUnId = d.databaseUnId;
        ASSERT_EQ(ACAPI_Automate(APIDo_ChangeWindowID, &w), NoError);
    }
    size_t OnCurrentWorksheet() {
        API_DatabaseInfo current = {};
        EXPECT_EQ(ACAPI_Database(APIDb_GetCurrentDatabaseID, &current), NoError);
        size_t n = 0;
        for (const auto& e : Db().Model().elements) n += e.second.database == current.databaseUnId;
        return n;
    }

    SOSIImportAsks asks;
};

TEST_F(SosiImportCommandsTest, AnUnreadableFileEndsTheImportWithOneMessageAndNoDialog) {
    LoadSosiParts();
    const size_t before = Db().AllElements().size();
    for (int32_t mode : {int32_t(SOSIModeTerrain), int32_t(SOSIModeObjects), int32_t(SOSIModeWorksheet), -2}) {
        SCOPED_TRACE(mode);
        DGDriver::ClearQueueAndLog();
        // The worksheet imports read a good file first: the one that fails still ends everything.
        if (mode < SOSIModeWorksheet)
            DGDriver::QueueFileAnswer({UserFile("absent.sos")});
        else
            DGDriver::QueueFileAnswer({Sosi("buer.sos"), UserFile("absent.sos")});
        if (mode == -2)
            RunSOSIWorksheetImport(GlobalSettings, asks);
        else
            RunSOSIImport(GlobalSettings, mode, asks);
        EXPECT_EQ(AlertTexts(), std::vector<std::string>{"Error while reading the file."});
        EXPECT_EQ(optionsAsked, 0);
        EXPECT_EQ(Shown("modal"), 0);
        EXPECT_FALSE(session->progress.open);
        ExpectProjectUnchanged(before);
    }
}

TEST_F(SosiImportCommandsTest, MissingPartsCancelsAndAFloorPlanOutOfReachEndTheImportBeforeAnyChange) {
    const size_t before = Db().AllElements().size();
    // Neither part in the project and the library folder not given: modes 0 and 1 end quietly before the file
    // choice; mode 2 needs neither part.
    for (int32_t mode : {SOSIModeTerrain, SOSIModeObjects}) {
        DGDriver::QueueFolderCancel();
        RunSOSIImport(GlobalSettings, mode, asks);
    }
    DGDriver::QueueFileCancel();
    RunSOSIImport(GlobalSettings, SOSIModeWorksheet, asks);
    EXPECT_EQ(Shown("folder"), 2);
    EXPECT_EQ(Shown("file"), 1);
    EXPECT_TRUE(AlertTexts().empty());

    // With the parts: the options cancelled after a good read, then the first results dialog of mode 0.
    LoadSosiParts();
    DGDriver::ClearQueueAndLog();
    optionsAnswer = false;
    DGDriver::QueueFileAnswer({Sosi("flate_oy.sos"), Sosi("kurvetest.sos")});
    RunSOSIWorksheetImport(GlobalSettings, asks);
    EXPECT_EQ(optionsAsked, 1);
    optionsAnswer = true;
    DGDriver::QueueFileAnswer({Sosi("1001_Hoyde.sos")});
    DGDriver::QueueClick(32544, 2);
    RunSOSIImport(GlobalSettings, SOSIModeTerrain, asks);
    EXPECT_EQ(Shown("modal", 32544), 1);
    EXPECT_EQ(Shown("modal", 32540), 0);
    // Every type taken: the map-edge curves (no height) meet the contours at 30 positions, told before the results.
    EXPECT_EQ(
        AlertTexts(),
        std::vector<std::string>{"Positions that had more than one height, each given the height read first (30)"});
    ExpectProjectUnchanged(before);

    // The floor plan cannot be brought to front: error 42 before the file choice. The worksheet button stays
    // on its worksheet.
    OpenWorksheet(u'W');
    ASSERT_TRUE(host->FailCall("Automate", int32_t(API_Selector("CHWD")), APIERR_GENERAL));
    DGDriver::ClearQueueAndLog();
    RunSOSIImport(GlobalSettings, SOSIModeTerrain, asks);
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{"Error while modifying database."});
    EXPECT_EQ(Shown("file"), 0);
    DGDriver::QueueFileCancel();
    RunSOSIWorksheetImport(GlobalSettings, asks);
    EXPECT_EQ(Shown("file"), 1);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
}

TEST_F(SosiImportCommandsTest, ImportAgainAsksTheOptionsAgainOverTheSameTypesAndBuildsOnce) {
    // Once straight through, then on a second worksheet with "Import again..." in between.
    OpenWorksheet(u'A');
    DGDriver::QueueFileAnswer({Sosi("flate_oy.sos"), Sosi("kurvetest.sos")});
    RunSOSIWorksheetImport(GlobalSettings, asks);
    const size_t once = OnCurrentWorksheet();
    ASSERT_GT(once, 0u);

    OpenWorksheet(u'B');
    DGDriver::QueueFileAnswer({Sosi("flate_oy.sos"), Sosi("kurvetest.sos")});
    DGDriver::QueueClick(32540, 15);
    DGDriver::QueueClick(32540, 1);
    RunSOSIWorksheetImport(GlobalSettings, asks);
    EXPECT_EQ(OnCurrentWorksheet(), once);
    EXPECT_EQ(typesOffered, std::vector<int32_t>(3, typesOffered[0]));
    EXPECT_EQ(Shown("modal", 32540), 3);
    EXPECT_TRUE(AlertTexts().empty());
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
}

TEST_F(SosiImportCommandsTest, FailedObjectsAreToldOnceUnlessTheUserStoppedTheBuild) {
    LoadSosiParts();
    // Arcs through three points on one line have no circle: those objects fail, the build goes on to the curve.
    std::string text = ".HODE\n..TEGNSETT UTF-8\n..TRANSPAR\n...ENHET 0.01\n";
    for (int k = 1; k <= 5; ++k)
        text += ".BUEP " + std::to_string(k) + ":\n..OBJTYPE Arc\n..NØ\n0 0\n100 100\n200 200\n";
    text += ".KURVE 6:\n..OBJTYPE Arc\n..NØ\n0 0\n0 500\n500 500\n.SLUTT\n";
    std::ofstream(UserFile("degenerate.sos"), std::ios::binary) << text;
    for (int32_t stop : {-1, 3}) {
        SCOPED_TRACE(stop);
        DGDriver::ClearQueueAndLog();
        breakAfter = stop;
        SettingsDialogAnswer answer;
        answer.libPart = "SOSI OBJECT";
        host->Project().settingsDialogs.Queue(SettingsDialogAnswers::ToolSettings, answer);
        const int32_t zooms = session->progress.zooms;
        const size_t before = Db().AllElements().size();
        DGDriver::QueueFileAnswer({UserFile("degenerate.sos")});
        RunSOSIImport(GlobalSettings, SOSIModeObjects, asks);
        // Skipped and counted, not a failure of the build: the host refused nothing.
        EXPECT_EQ(AlertTexts(),
                  stop < 0 ? std::vector<std::string>{"Objects whose geometry makes no element (an area "
                                                      "without three corners, an arc on a straight "
                                                      "line) were skipped (5)"}
                           : std::vector<std::string>{});
        EXPECT_EQ(session->progress.zooms, zooms + 1);
        // What was made stays: the curve, unless the user stopped before it.
        EXPECT_EQ(Db().AllElements().size(), before + (stop < 0 ? 1 : 0));
        EXPECT_EQ(Shown("modal", 32540), 1);
        EXPECT_TRUE(DGDriver::Errors().empty());
    }
}

// A host call refused anywhere in the build, at its first call or after some have passed, takes back every element
// and every layer the build made, and the user is told once.
TEST_F(SosiImportCommandsTest, AHostCallThatFailsDuringTheBuildTakesTheWholeBuildBack) {
    LoadSosiParts();
    auto layers = [&] {
        size_t n = 0;
        for (int32_t i = 1; i < 1000; ++i) n += Db().Attribute(API_LayerID, i) != nullptr;
        return n;
    };
    struct Case {
        const char* function;
        int32_t passes;
        int32_t mode;
    };
    const Case cases[] = {{"Element_Create", 0, -2},     {"Element_Create", 4, -2}, {"Attribute_Create", 0, -2},
                          {"Attribute_Create", 2, -2},   {"Element_Create", 6, 1},  {"Attribute_Get", 0, -2},
                          {"CallUndoableCommand", 0, -2}};
    char16_t sheet = u'a';
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.function) + " after " + std::to_string(c.passes) + " in mode " +
                     std::to_string(c.mode));
        DGDriver::ClearQueueAndLog();
        const size_t elements = Db().AllElements().size(), layersBefore = layers();
        if (c.mode == SOSIModeObjects) {
            SettingsDialogAnswer answer;
            answer.libPart = "SOSI OBJECT";
            host->Project().settingsDialogs.Queue(SettingsDialogAnswers::ToolSettings, answer);
            DGDriver::QueueFileAnswer({Sosi("buer.sos")});
        } else {
            OpenWorksheet(sheet++);
            DGDriver::QueueFileAnswer({Sosi("flate_oy.sos"), Sosi("kurvetest.sos")});
        }
        ASSERT_TRUE(host->FailCallAfter(c.function, -1, APIERR_GENERAL, c.passes));
        if (c.mode == SOSIModeObjects)
            RunSOSIImport(GlobalSettings, SOSIModeObjects, asks);
        else
            RunSOSIWorksheetImport(GlobalSettings, asks);
        host->ClearFailures();
        const bool complete = Db().AllElements().size() > elements;
        // A failure the build does not meet (a layer found by name) leaves it complete and silent.
        if (complete) {
            EXPECT_TRUE(AlertTexts().empty());
            continue;
        }
        EXPECT_EQ(AlertTexts(), std::vector<std::string>{"Error while modifying/creating the object."});
        EXPECT_EQ(layers(), layersBefore);
    }
}

// The options dialog is shown the general record's default pen, line type and worksheet names; the import keeps
// what the user confirmed there, and a cancelled dialog leaves them as they were.
TEST_F(SosiImportCommandsTest, TheImportKeepsTheDefaultsTheOptionsDialogConfirmed) {
    LoadSosiParts();
    GlobalSettings.misc.sosiChoice = 3;
    GlobalSettings.misc.worksheetName = QV_String("before");
    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm);
        optionsAnswer = confirm;
        asks.options = [](SOSIFileCls&, SOSIOptionChoices& shown) {
            EXPECT_EQ(shown.defaultPen, 3);
            EXPECT_EQ(shown.worksheetName.ToStdString(), "before");
            shown.defaultPen = 7;
            shown.defaultLineType = 4;
            shown.worksheetName = QV_String("chosen");
            return optionsAnswer;  // no type ticked: the import ends after the choice
        };
        DGDriver::ClearQueueAndLog();
        DGDriver::QueueFileAnswer({Sosi("kurvetest.sos")});
        RunSOSIWorksheetImport(GlobalSettings, asks);
        if (!confirm) {
            EXPECT_EQ(GlobalSettings.misc.sosiChoice, 3);
            EXPECT_EQ(GlobalSettings.misc.worksheetName.ToStdString(), "before");
        }
    }
    EXPECT_EQ(GlobalSettings.misc.sosiChoice, 7);
    EXPECT_EQ(GlobalSettings.misc.sosiChoice2, 4);
    EXPECT_EQ(GlobalSettings.misc.worksheetName.ToStdString(), "chosen");
}

// With no type ticked nothing is read: the user is told as the DXF import tells a choice of no layer, and the
// import ends before its results.
TEST_F(SosiImportCommandsTest, NoTypeTickedIsToldAndEndsTheImport) {
    LoadSosiParts();
    const size_t before = Db().AllElements().size();
    asks.options = [](SOSIFileCls&, SOSIOptionChoices&) { return true; };
    for (int32_t mode : {int32_t(SOSIModeTerrain), int32_t(SOSIModeWorksheet), -2}) {
        SCOPED_TRACE(mode);
        DGDriver::ClearQueueAndLog();
        DGDriver::QueueFileAnswer({Sosi("kurvetest.sos")});
        if (mode == -2)
            RunSOSIWorksheetImport(GlobalSettings, asks);
        else
            RunSOSIImport(GlobalSettings, mode, asks);
        ASSERT_EQ(AlertTexts(), std::vector<std::string>{"The conditions do not exist to apply the command!!!"});
        for (const DGDriver::LogRecord& r : DGDriver::Log()) {
            if (r.kind == "alert") {
                EXPECT_EQ(r.texts.at(1), "Select only the OBJEKTTYPE you want to import:");
            }
        }
        EXPECT_EQ(Shown("modal"), 0);
        ExpectProjectUnchanged(before);
    }
}

// Bad input through the whole command: what is refused is told once with its count, what could be read is placed,
// and a refused file leaves the project and its offset as they were.
TEST_F(SosiImportCommandsTest, ValuesNoSurveyHoldsAreToldAndNeverPlacedOrTakenAsTheOffset) {
    LoadSosiParts();
    struct Case {
        const char* file;
        int32_t mode;
        std::string alert;
        size_t placed;  // elements the import adds
    };
    const std::string units =
        "Units (ENHET) that are not positive, or absurd, were refused: what they measure was not read";
    const Case cases[] = {
        {"unit_zero.sos", SOSIModeTerrain, units, 0},
        {"unit_absurd.sos", SOSIModeWorksheet, units, 0},
        {"values_beyond.sos", SOSIModeTerrain,
         "Numbers that cannot be read were skipped.\nCoordinates or heights no survey holds (not finite, beyond "
         "100,000 km across or 100 km high) were skipped "
         "(4)",
         2},
        {"origin_beyond.sos", SOSIModeTerrain,
         "Coordinates or heights no survey holds (not finite, beyond 100,000 km across or 100 km high) were skipped "
         "(3)",
         0},
        {"cut_last_line.sos", SOSIModeTerrain, "The file ends early: the records before its end were read.", 3},
        {"mixed_heights.sos", SOSIModeTerrain,
         "Positions that had more than one height, each given the height read first (1)", 500},
        // The area's curve of one vertex makes no element: skipped and counted; neither its type nor the curve's
        // leaves a layer.
        {"area_one_vertex.sos", -2,
         "Objects whose geometry makes no element (an area without three corners, an arc on a straight line) were "
         "skipped",
         1},
    };
    char16_t sheet = u'a';
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        DGDriver::ClearQueueAndLog();
        ProjectOffset.x = 11.0;
        ProjectOffset.y = 22.0;
        const size_t before = Db().AllElements().size();
        DGDriver::QueueFileAnswer({Sosi(std::string("bad/") + c.file)});
        // The data's lower-left corner at the project's origin: the offset is that corner.
        DGDriver::QueueSetDouble(32540, 20, 0.0);
        DGDriver::QueueSetDouble(32540, 21, 0.0);
        if (c.mode == -2) {
            OpenWorksheet(sheet++);
            RunSOSIWorksheetImport(GlobalSettings, asks);
        } else {
            RunSOSIImport(GlobalSettings, c.mode, asks);
        }
        EXPECT_EQ(AlertTexts(), std::vector<std::string>{c.alert});
        EXPECT_EQ(Db().AllElements().size(), before + c.placed);
        if (c.placed == 0) {
            ExpectProjectUnchanged(before);
        } else if (c.mode == SOSIModeTerrain) {
            // The offset comes from the points kept: a survey's, in Norway.
            EXPECT_GT(ProjectOffset.x, 1e5);
            EXPECT_LT(ProjectOffset.x, 1e6);
            EXPECT_GT(ProjectOffset.y, 6e6);
            EXPECT_LT(ProjectOffset.y, 7e6);
        }
        EXPECT_TRUE(DGDriver::Errors().empty());
    }
    EXPECT_EQ(Db().FindAttribute(API_LayerID, "Omrade"), 0);
    EXPECT_EQ(Db().FindAttribute(API_LayerID, "Grense"), 0);
    EXPECT_NE(Db().FindAttribute(API_LayerID, "Vei"), 0);

    // The host refuses to delete a layer left empty: the whole build is taken back, and told.
    DGDriver::ClearQueueAndLog();
    OpenWorksheet(sheet++);
    const size_t before = Db().AllElements().size();
    DGDriver::QueueFileAnswer({Sosi("bad/area_one_vertex.sos")});
    ASSERT_TRUE(host->FailCallAfter("Attribute_Delete", -1, APIERR_GENERAL, 0));
    RunSOSIWorksheetImport(GlobalSettings, asks);
    host->ClearFailures();
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{"Error while modifying/creating the object."});
    EXPECT_EQ(Db().AllElements().size(), before);
    EXPECT_EQ(Db().FindAttribute(API_LayerID, "Omrade"), 0);
    EXPECT_EQ(Db().FindAttribute(API_LayerID, "Grense"), 0);
}
// The import's line counts objects and says so, and the build's line names what it made of them: points, lines,
// fills, each counted. An import whose objects all lie beyond any survey makes nothing and leaves no undo step.
TEST_F(SosiImportCommandsTest, TheLogCountsObjectsAndWhatWasMadeAndANothingImportLeavesNoUndoStep) {
    OpenWorksheet(u'A');
    host->ClearModuleReports();
    DGDriver::QueueFileAnswer({Sosi("flate_oy.sos"), Sosi("kurvetest.sos")});
    RunSOSIWorksheetImport(GlobalSettings, asks);
    ASSERT_GT(OnCurrentWorksheet(), 0u);
    const std::regex read(R"(import: read (\d+) objects, imported (\d+) objects, skipped (\d+) objects; offset .*)");
    const std::regex made(R"(import: made (\d+) [a-z]+(, \d+ [a-z ]+)*)");
    int reads = 0, mades = 0;
    for (const std::string& line : host->ModuleReports()) {
        reads += std::regex_match(line, read);
        mades += std::regex_match(line, made);
    }
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(mades, 1);

    OpenWorksheet(u'B');
    const size_t steps = Db().UndoTexts().size();
    const std::string far = UserFile("far.sos");
    std::ofstream(far, std::ios::binary) << ".HODE\n..TEGNSETT UTF-8\n..TRANSPAR\n...ORIGO-N\xC3\x98 1e308 1e308\n"
                                            "...ENHET 1\n.PUNKT 1:\n..OBJTYPE P\n..N\xC3\x98\n10 10\n.SLUTT\n";
    const size_t before = Db().AllElements().size();
    DGDriver::ClearQueueAndLog();
    DGDriver::QueueFileAnswer({far});
    RunSOSIWorksheetImport(GlobalSettings, asks);
    EXPECT_EQ(Db().AllElements().size(), before);
    EXPECT_EQ(Db().UndoTexts().size(), steps);
}

}  // namespace sosi_import_commands_test
