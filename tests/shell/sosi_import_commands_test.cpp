// The SOSI import commands as the palettes run them, in an in-process host: the file choice, the read with its
// options dialog, and the ways a command ends before building (cancel, an unreadable file, a missing library part,
// a floor plan out of reach).
#include "ProjectHost.hpp"

#include "DGDriver.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "settings/ProjectOffset.hpp"
#include "settings/Settings.hpp"
#include "shell/commands/SOSIImportCommands.hpp"
#include "sosi/SOSIDialogHooks.hpp"
#include "sosi/SOSIFileCls.hpp"

#include <functional>
#include <string>
#include <vector>

namespace {

int optionsAsked = 0;
bool optionsAnswer = true;

// Every type taken, or the dialog cancelled.
bool CountingOptions(SOSIFileCls& reader) {
    ++optionsAsked;
    if (optionsAnswer)
        for (SOSIOType& row : reader.types) row.import = 1;
    return optionsAnswer;
}

class SosiImportCommandsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        GlobalSettings.Reset();
        GlobalSettings.SetBuiltInDefaults(QV_String("Arial"));
        saved = SOSIDialogs();
        SOSIDialogHooks hooks;
        hooks.optionsDialog = CountingOptions;
        SetSOSIDialogs(hooks);
        optionsAsked = 0;
        optionsAnswer = true;
        ProjectOffset.Reset();
        ProjectOffset.x = 11.0;
        ProjectOffset.y = 22.0;
    }
    void TearDown() override {
        SetSOSIDialogs(saved);
        SetAddOnLibraryLoader(nullptr);
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
    static std::string FileName(const QV_String& path) {
        const std::string p = path.ToStdString();
        return p.substr(p.find_last_of("\\/") + 1);
    }
    // Nothing happened to the project: no elements, the project offset as it was.
    void ExpectProjectUnchanged(size_t elements) {
        EXPECT_EQ(Db().AllElements().size(), elements);
        EXPECT_EQ(ProjectOffset.x, 11.0);
        EXPECT_EQ(ProjectOffset.y, 22.0);
    }
    void OpenWorksheet(char16_t ref = u'W') {
        API_DatabaseInfo d = {};
        d.typeID = APIWind_WorksheetID;
        d.ref[0] = ref;
        d.name[0] = u'W';
        ASSERT_EQ(ACAPI_Database(APIDb_NewDatabaseID, &d), NoError);
        API_WindowInfo w = {};
        w.typeID = APIWind_WorksheetID;
        w.databaseUnId = d.databaseUnId;
        ASSERT_EQ(ACAPI_Automate(APIDo_ChangeWindowID, &w), NoError);
    }

    SOSIDialogHooks saved;
};

}  // namespace

TEST_F(SosiImportCommandsTest, TheFileChoiceTakesOneFileOrSeveralInOrderAndACancelLeavesTheListAlone) {
    const std::string a = Sosi("buer.sos"), b = Sosi("flate_oy.sos"), c = Sosi("kurvetest.sos");
    for (int32_t mode : {SOSIModeTerrain, SOSIModeObjects}) {
        SOSIFileCls reader;
        reader.importMode = mode;
        DGDriver::QueueFileAnswer({a});
        bool cancelled = true;
        EXPECT_TRUE(reader.ChooseFiles(&cancelled));
        EXPECT_FALSE(cancelled);
        ASSERT_EQ(reader.files.GetCount(), 1);
        EXPECT_EQ(FileName(reader.files[0].path), "buer.sos");
        EXPECT_EQ(reader.path.ToStdString(), reader.files[0].path.ToStdString());
        // What was chosen is what the read opens.
        EXPECT_TRUE(reader.ReadSOSIFiles(true));
        EXPECT_GT(reader.files[0].objects.GetCount(), 0);
    }
    SOSIFileCls reader;
    reader.importMode = SOSIModeWorksheet;
    DGDriver::QueueFileAnswer({c, a, b});
    bool cancelled = true;
    EXPECT_TRUE(reader.ChooseFiles(&cancelled));
    EXPECT_FALSE(cancelled);
    ASSERT_EQ(reader.files.GetCount(), 3);
    EXPECT_EQ(FileName(reader.files[0].path), "kurvetest.sos");
    EXPECT_EQ(FileName(reader.files[1].path), "buer.sos");
    EXPECT_EQ(FileName(reader.files[2].path), "flate_oy.sos");
    DGDriver::QueueFileCancel();
    EXPECT_TRUE(reader.ChooseFiles(&cancelled));
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(reader.files.GetCount(), 3);
    EXPECT_EQ(Shown("file"), 4);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
}

TEST_F(SosiImportCommandsTest, AnUnreadableFileEndsTheImportWithOneMessageAndNoDialog) {
    LoadSosiParts();
    const std::string missing = UserFile("absent.sos");
    const size_t before = Db().AllElements().size();
    const std::vector<std::pair<const char*, std::function<void()>>> runs = {
        {"terrain", [] { RunSOSIImport(GlobalSettings, SOSIModeTerrain); }},
        {"objects", [] { RunSOSIImport(GlobalSettings, SOSIModeObjects); }},
        {"worksheet", [] { RunSOSIImport(GlobalSettings, SOSIModeWorksheet); }},
        {"worksheet button", [] { RunSOSIWorksheetImport(GlobalSettings); }},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.first);
        DGDriver::ClearQueueAndLog();
        // Mode 2 reads a good file first: the one that fails still ends everything.
        DGDriver::QueueFileAnswer(std::string(run.first).rfind("worksheet", 0) == 0
                                      ? std::vector<std::string>{Sosi("buer.sos"), missing}
                                      : std::vector<std::string>{missing});
        run.second();
        EXPECT_EQ(AlertTexts(), std::vector<std::string>{"Error while reading the file."});
        EXPECT_EQ(optionsAsked, 0);
        EXPECT_EQ(Shown("modal"), 0);
        EXPECT_FALSE(host->Session().progress.open);
        ExpectProjectUnchanged(before);
        EXPECT_TRUE(DGDriver::Errors().empty());
    }
}

TEST_F(SosiImportCommandsTest, CancelsAndAMissingLibraryPartEndTheImportQuietly) {
    const size_t before = Db().AllElements().size();
    // No "SOSI OBJECT" or locator in the project, and the library folder not given: modes 0 and 1 end before
    // the file choice; mode 2 needs neither part.
    SetAddOnLibraryLoader(nullptr);
    for (int32_t mode : {SOSIModeTerrain, SOSIModeObjects}) {
        DGDriver::ClearQueueAndLog();
        DGDriver::QueueFolderCancel();
        RunSOSIImport(GlobalSettings, mode);
        EXPECT_EQ(Shown("folder"), 1);
        EXPECT_EQ(Shown("file"), 0);
        EXPECT_TRUE(AlertTexts().empty());
    }
    DGDriver::ClearQueueAndLog();
    DGDriver::QueueFileCancel();
    RunSOSIImport(GlobalSettings, SOSIModeWorksheet);
    EXPECT_EQ(Shown("folder"), 0);
    EXPECT_EQ(Shown("file"), 1);

    // With the parts: the options cancelled after a good read end it too.
    LoadSosiParts();
    optionsAnswer = false;
    DGDriver::ClearQueueAndLog();
    DGDriver::QueueFileAnswer({Sosi("1001_Hoyde.sos")});
    RunSOSIImport(GlobalSettings, SOSIModeTerrain);
    DGDriver::QueueFileAnswer({Sosi("flate_oy.sos"), Sosi("kurvetest.sos")});
    RunSOSIWorksheetImport(GlobalSettings);
    EXPECT_EQ(optionsAsked, 2);
    EXPECT_EQ(Shown("modal"), 0);
    EXPECT_TRUE(AlertTexts().empty());
    ExpectProjectUnchanged(before);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
}

TEST_F(SosiImportCommandsTest, AFloorPlanOutOfReachIsToldBeforeAnyFileIsAskedFor) {
    LoadSosiParts();
    OpenWorksheet();
    ASSERT_TRUE(host->FailCall("Automate", int32_t(API_Selector("CHWD")), APIERR_GENERAL));
    RunSOSIImport(GlobalSettings, SOSIModeTerrain);
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{"Error while modifying database."});
    EXPECT_EQ(Shown("file"), 0);
    // The worksheet button stays on the worksheet: it goes on to the file choice.
    DGDriver::QueueFileCancel();
    RunSOSIWorksheetImport(GlobalSettings);
    EXPECT_EQ(Shown("file"), 1);
    EXPECT_EQ(AlertTexts().size(), 1u);
}

TEST_F(SosiImportCommandsTest, TheStepDialogPicksTheModeAndItsCancelAsksForNothing) {
    LoadSosiParts();
    DGDriver::QueueClick(32538, 2);
    ImportSOSIFile(GlobalSettings);
    EXPECT_EQ(Shown("file"), 0);
    // "Step 1:" is the worksheet import: several files may be chosen.
    DGDriver::QueueClick(32538, 7);
    DGDriver::QueueFileCancel();
    ImportSOSIFile(GlobalSettings);
    ASSERT_EQ(Shown("file"), 1);
    for (const DGDriver::LogRecord& r : DGDriver::Log())
        if (r.kind == "file") EXPECT_EQ(r.id, int32_t(DG::FileDialog::OpenMultiFile));
    EXPECT_EQ(Shown("modal", 32538), 2);
    EXPECT_TRUE(AlertTexts().empty());
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
}

TEST_F(SosiImportCommandsTest, ImportAgainAsksTheOptionsAgainOverTheSameTypesAndBuildsOnce) {
    static std::vector<int32_t> typeCounts;
    typeCounts.clear();
    SOSIDialogHooks hooks;
    hooks.optionsDialog = [](SOSIFileCls& reader) {
        typeCounts.push_back(reader.types.GetCount());
        return CountingOptions(reader);
    };
    SetSOSIDialogs(hooks);
    // The elements of the current worksheet.
    const auto onWorksheet = [&] {
        API_DatabaseInfo current = {};
        EXPECT_EQ(ACAPI_Database(APIDb_GetCurrentDatabaseID, &current), NoError);
        size_t n = 0;
        for (const auto& e : Db().Model().elements) n += e.second.database == current.databaseUnId;
        return n;
    };
    // Once straight through, then on a second worksheet with "Import again..." in between.
    OpenWorksheet(u'A');
    DGDriver::QueueFileAnswer({Sosi("flate_oy.sos"), Sosi("kurvetest.sos")});
    RunSOSIWorksheetImport(GlobalSettings);
    const size_t once = onWorksheet();
    ASSERT_GT(once, 0u);
    ASSERT_EQ(typeCounts.size(), 1u);

    OpenWorksheet(u'B');
    DGDriver::QueueFileAnswer({Sosi("flate_oy.sos"), Sosi("kurvetest.sos")});
    DGDriver::QueueClick(32540, 15);
    DGDriver::QueueClick(32540, 1);
    RunSOSIWorksheetImport(GlobalSettings);
    EXPECT_EQ(onWorksheet(), once);
    ASSERT_EQ(typeCounts.size(), 3u);
    EXPECT_EQ(typeCounts[1], typeCounts[0]);
    EXPECT_EQ(typeCounts[2], typeCounts[0]);
    EXPECT_EQ(Shown("modal", 32540), 3);
    EXPECT_TRUE(AlertTexts().empty());
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
}

TEST_F(SosiImportCommandsTest, TerrainResultsCancelledEndTheImportAndAFailedBuildIsToldOnce) {
    LoadSosiParts();
    const size_t before = Db().AllElements().size();
    // Cancelling the first results dialog ends it: no second one, no offset.
    DGDriver::QueueFileAnswer({Sosi("1001_Hoyde.sos")});
    DGDriver::QueueClick(32544, 2);
    RunSOSIImport(GlobalSettings, SOSIModeTerrain);
    EXPECT_EQ(Shown("modal", 32544), 1);
    EXPECT_EQ(Shown("modal", 32540), 0);
    ExpectProjectUnchanged(before);

    // A host that refuses new elements: error 43, once, after the build.
    ASSERT_TRUE(host->FailCall("Element_Create", -1, APIERR_GENERAL));
    DGDriver::QueueFileAnswer({Sosi("1001_Hoyde.sos")});
    RunSOSIImport(GlobalSettings, SOSIModeTerrain);
    EXPECT_EQ(Shown("modal", 32544), 2);
    EXPECT_EQ(Shown("modal", 32540), 1);
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{"Error while modifying/creating the object."});
    EXPECT_EQ(Db().AllElements().size(), before);
    EXPECT_TRUE(DGDriver::Errors().empty());
    EXPECT_TRUE(DGDriver::UnusedActions().empty());
}

TEST_F(SosiImportCommandsTest, FailedObjectsAreToldUnlessTheUserStoppedTheBuild) {
    LoadSosiParts();
    static ModuleSession* session = nullptr;
    static int32_t breakAfter = -1;
    session = &host->Session();
    SOSIDialogHooks hooks;
    hooks.optionsDialog = CountingOptions;
    // Asked just before the build.
    hooks.curveSegmentation = [](SOSICurveSegmentation&) {
        session->progress.breakAfter = breakAfter;
        return true;
    };
    SetSOSIDialogs(hooks);
    ASSERT_TRUE(host->FailCall("Element_Create", -1, APIERR_GENERAL));
    for (int32_t stop : {-1, 3}) {
        SCOPED_TRACE(stop);
        DGDriver::ClearQueueAndLog();
        breakAfter = stop;
        SettingsDialogAnswer answer;
        answer.libPart = "SOSI OBJECT";
        host->Project().settingsDialogs.Queue(SettingsDialogAnswers::ToolSettings, answer);
        const int32_t zooms = session->progress.zooms;
        DGDriver::QueueFileAnswer({Sosi("buer.sos")});
        RunSOSIImport(GlobalSettings, SOSIModeObjects);
        if (stop < 0) {
            EXPECT_EQ(AlertTexts(), std::vector<std::string>{"Error while modifying/creating the object."});
            EXPECT_EQ(session->progress.zooms, zooms);
        } else {
            EXPECT_TRUE(AlertTexts().empty());
            EXPECT_EQ(session->progress.zooms, zooms + 1);
        }
        EXPECT_EQ(Shown("modal", 32540), 1);
        EXPECT_TRUE(DGDriver::Errors().empty());
    }
}
