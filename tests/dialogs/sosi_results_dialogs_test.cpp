// The SOSI import's step and results dialogs driven as a user drives them, on a reader that read and imported a
// real file: the step buttons, the data position and import area, the KURVE altitude filter, "Import again...",
// whole counts, and the offset taken from a coordinate locator placed on an independent worksheet.
#include "../sosi/SosiFixture.hpp"

#include "dialogs/settings/SOSIImportStepDialog.hpp"
#include "dialogs/settings/SOSIResultsDialog.hpp"
#include "elements/CoordinateLocatorLP.hpp"
#include "foundation/Language.hpp"
#include "settings/ProjectOffset.hpp"
#include "shell/commands/CoordinateLocatorCommand.hpp"
#include "sosi/SOSILocatorDatabases.hpp"

#include <cmath>
#include <set>

namespace sosi_results_dialogs_test {

class SosiResultsDialogsTest : public SosiReaderTest {
protected:
    void SetUp() override {
        SosiReaderTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        ProjectOffset.Reset();
        ASSERT_TRUE(ReadFiles(reader, {SosiData("1001_Hoyde.sos")}));
        reader.importMode = SOSIModeTerrain;
        ImportAll(reader);
        reader.ComputeExtents();
        ASSERT_FALSE(reader.BoundsEmpty());
        ASSERT_GT(reader.assembly.contourCount, 0);
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        SosiReaderTest::TearDown();
    }
    // The last state `dialog` showed, item by item.
    static const DGDriver::ItemState& Item(int16_t dialog, int16_t item) {
        static const DGDriver::ItemState none;
        const auto& log = DGDriver::Log();
        for (auto r = log.rbegin(); r != log.rend(); ++r) {
            if (r->kind != "modal" || r->id != dialog) continue;
            for (const DGDriver::ItemState& s : r->items)
                if (s.id == item) return s;
        }
        ADD_FAILURE() << "item " << item << " of " << dialog << " not shown";
        return none;
    }
    // A locator with real-world (1000, 5000) at (100, 200) on a new worksheet "VY-01", the plan current again.
    void PlaceLocator() {
        std::string why;
        int32_t part = host->Project().libraries.FindByName(CoordinateLocatorPartName, 0);
        if (part <= 0) {
            ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
            part = host->Project().libraries.FindByName(CoordinateLocatorPartName, 0);
        }
        ASSERT_GT(part, 0);
        API_DatabaseInfo sheet = {};
        sheet.typeID = APIWind_WorksheetID;
        const std::u16string ref = u"VY-01";
        std::copy(ref.begin(), ref.end(), sheet.ref);
        sheet.name[0] = u'W';
        ASSERT_EQ(ACAPI_Database(APIDb_NewDatabaseID, &sheet), NoError);
        API_WindowInfo window = {};
        window.typeID = APIWind_WorksheetID;
        window.databaseUnId = sheet.databaseUnId;
        ASSERT_EQ(ACAPI_Automate(APIDo_ChangeWindowID, &window), NoError);
        SettingsDialogAnswer answer;
        answer.libPart = CoordinateLocatorPartName;
        ASSERT_TRUE(SettingsDialogAnswers::ParseValues("X_origo_mondo=1000; Y_origo_mondo=5000", &answer.values, &why));
        host->Project().settingsDialogs.Queue(SettingsDialogAnswers::ToolSettings, answer);
        host->Input().QueuePoint(100, 200);
        InsertCoordinateLocator();
        window = {};
        window.typeID = APIWind_FloorPlanID;
        ASSERT_EQ(ACAPI_Automate(APIDo_ChangeWindowID, &window), NoError);
    }
    // The heights of the flat contours.
    std::multiset<double> FlatHeights() const {
        std::multiset<double> out;
        for (const SOSIData& d : reader.assembly.data) {
            if (d.geometryKind != SOSIKindCurve || d.coords.IsEmpty()) continue;
            bool flat = true;
            for (const API_Coord3D& c : d.coords) flat = flat && std::fabs(c.z - d.coords[0].z) < 1e-7;
            if (flat) out.insert(d.coords[0].z);
        }
        return out;
    }
    SOSIFileCls reader;
};

TEST_F(SosiResultsDialogsTest, StepButtonsChooseTheImport) {
    struct Case {
        int16_t click;  // 0: nothing queued, the dialog's automatic OK
        bool ok;
        int32_t choice;
    };
    for (const Case c : {Case{8, true, 1}, Case{9, true, 2}, Case{7, true, 3}, Case{0, true, 1}, Case{2, false, 3}}) {
        if (c.click != 0) DGDriver::QueueClick(SOSIImportStepDialogId, c.click);
        int32_t choice = 3;
        EXPECT_EQ(OpenSOSIImportDialog(&choice), c.ok) << c.click;
        EXPECT_EQ(choice, c.choice) << c.click;
        EXPECT_FALSE(Item(SOSIImportStepDialogId, 1).visible);  // only the step buttons confirm
        EXPECT_EQ(Item(SOSIImportStepDialogId, 3).image, 32709);
    }
}

TEST_F(SosiResultsDialogsTest, PositionAreaAndAltitudeFilterAreStored) {
    const API_Box box = reader.bounds;
    DGDriver::QueueSetDouble(SOSIResultsDialogId, 20, 100.0);  // the data's x min at 100
    DGDriver::QueueSetLong(SOSIResultsDialogId, 29, 1);
    // y typed upside down and beyond the data: swapped, then held inside its range.
    DGDriver::QueueSetDouble(SOSIResultsDialogId, 33, box.yMax + 500.0);
    DGDriver::QueueSetDouble(SOSIResultsDialogId, 37, box.yMin + 10.0);
    DGDriver::QueueSetLong(SOSIResultsDialogId, 41, 1);
    DGDriver::QueueSetDouble(SOSIResultsDialogId, 43, 100.0);
    DGDriver::QueueSetDouble(SOSIResultsDialogId, 45, 200.0);
    DGDriver::QueueSetDouble(SOSIResultsDialogId, 47, 50.0);
    DGDriver::QueueClick(SOSIResultsDialogId, 1);
    ASSERT_TRUE(OpenSOSIImportResultsDialog(reader));
    EXPECT_DOUBLE_EQ(reader.originX, box.xMin - 100.0);
    EXPECT_DOUBLE_EQ(reader.originY, 0.0);
    EXPECT_EQ(reader.limitToArea, 1);
    EXPECT_DOUBLE_EQ(reader.limitArea.yMin, box.yMin + 10.0);
    EXPECT_DOUBLE_EQ(reader.limitArea.yMax, box.yMax);
    EXPECT_DOUBLE_EQ(reader.limitArea.xMin, box.xMin);
    EXPECT_NEAR(Item(SOSIResultsDialogId, 24).value, box.xMax - box.xMin + 100.0, 1e-6);
    EXPECT_EQ(reader.assembly.altitudeFilter, 1);
    EXPECT_EQ(reader.assembly.firstAltitude, 100.0);
    EXPECT_EQ(reader.assembly.finalAltitude, 200.0);
    EXPECT_EQ(reader.assembly.equidistance, 50.0);
    // The file's contours run from 50 to 250.
    reader.FilterContourHeights();
    const std::multiset<double> kept = FlatHeights();
    EXPECT_EQ(std::set<double>(kept.begin(), kept.end()), (std::set<double>{100.0, 150.0, 200.0}));
}

TEST_F(SosiResultsDialogsTest, AnyTypedAltitudeFilterEndsAndKeepsOnlyItsAltitudes) {
    struct Typed {
        double first, final, step;
    };
    // A negative step cannot be typed: the edit's range starts at 0.
    for (const Typed t : {Typed{100, 200, 50}, Typed{200, 100, 50}, Typed{100, 200, 0}, Typed{100, 200, 1e-9},
                          Typed{100, 200, 1e-6}, Typed{250, 250, 10}, Typed{300, 400, 10}}) {
        reader.ResetForReread();
        ImportAll(reader);
        reader.ComputeExtents();
        DGDriver::QueueSetLong(SOSIResultsDialogId, 41, 1);
        DGDriver::QueueSetDouble(SOSIResultsDialogId, 43, t.first);
        DGDriver::QueueSetDouble(SOSIResultsDialogId, 45, t.final);
        DGDriver::QueueSetDouble(SOSIResultsDialogId, 47, t.step);
        DGDriver::QueueClick(SOSIResultsDialogId, 1);
        ASSERT_TRUE(OpenSOSIImportResultsDialog(reader));
        ASSERT_LE(reader.assembly.firstAltitude, reader.assembly.finalAltitude);
        ASSERT_GE(reader.assembly.equidistance, 0.0);
        reader.FilterContourHeights();
        const double lo = std::min(t.first, t.final), hi = std::max(t.first, t.final);
        for (double z : FlatHeights()) {
            EXPECT_GE(z, lo - 1e-7) << t.first << " " << t.final << " " << t.step;
            EXPECT_LE(z, hi + 1e-7) << t.first << " " << t.final << " " << t.step;
            if (reader.assembly.equidistance >= 1e-7) {
                const double k = (z - lo) / reader.assembly.equidistance;
                EXPECT_NEAR(k, std::round(k), 1e-6) << z << " step " << t.step;
            }
        }
    }
}

TEST_F(SosiResultsDialogsTest, CountsShowWholeAndImportAgainGoesBack) {
    reader.pointsRead = 12345678;
    reader.pointsKept = 1234567;
    reader.assembly.contourCount = 0;
    DGDriver::QueueClick(SOSIResultsDialogId, 15);
    EXPECT_FALSE(OpenSOSIImportResultsDialog(reader));
    EXPECT_EQ(reader.importAgain, 1);
    EXPECT_EQ(Item(SOSIResultsDialogId, 8).text, "12345678");
    EXPECT_EQ(Item(SOSIResultsDialogId, 10).text, "1234567");
    EXPECT_EQ(Item(SOSIResultsDialogId, 13).image, 32539);
    EXPECT_EQ(Item(SOSIResultsDialogId, 14).image, 32540);
    EXPECT_EQ(Item(SOSIResultsDialogId, 12).text, "11111111");
    // No flat contour: the whole altitude group is off, whatever the flag.
    for (int16_t item = 40; item <= 47; ++item) EXPECT_FALSE(Item(SOSIResultsDialogId, item).enabled) << item;
    // The next pass starts with the flag cleared; Cancel is no OK.
    DGDriver::QueueClick(SOSIResultsTwinDialogId, 2);
    EXPECT_FALSE(OpenSOSIImportResultsDialogTwin(reader));
    EXPECT_EQ(reader.importAgain, 0);
}

TEST_F(SosiResultsDialogsTest, TheOffsetComesFromTheLocator) {
    // No locator: the choice is off and cannot be made.
    FindSOSILocatorDatabases(reader);
    EXPECT_TRUE(reader.output.locatorDatabases.IsEmpty());
    ASSERT_TRUE(OpenSOSIImportResultsDialogTwin(reader));
    EXPECT_FALSE(Item(SOSIResultsTwinDialogId, 38).enabled);
    EXPECT_FALSE(Item(SOSIResultsTwinDialogId, 39).enabled);

    PlaceLocator();
    FindSOSILocatorDatabases(reader);
    ASSERT_EQ(reader.output.locatorDatabases.GetCount(), 1);
    double x = 0.0, y = 0.0;
    EXPECT_FALSE(GetCoordinateLocatorOrigin(reader, 1, &x, &y));
    ASSERT_TRUE(GetCoordinateLocatorOrigin(reader, 0, &x, &y));
    EXPECT_EQ(x, 900.0);  // real-world minus position
    EXPECT_EQ(y, 4800.0);

    ASSERT_TRUE(OpenSOSIImportResultsDialogTwin(reader));
    EXPECT_EQ(reader.originX, 900.0);
    EXPECT_EQ(reader.originY, 4800.0);
    EXPECT_NEAR(Item(SOSIResultsTwinDialogId, 20).value, reader.bounds.xMin - 900.0, 1e-6);
    for (int16_t item : {17, 20, 21}) EXPECT_FALSE(Item(SOSIResultsTwinDialogId, item).enabled) << item;
    EXPECT_TRUE(Item(SOSIResultsTwinDialogId, 38).value != 0.0);
    EXPECT_EQ(Item(SOSIResultsTwinDialogId, 39).popUpItems, std::vector<std::string>{"VY-01 - W"});

    // Switched off, the offset the dialog opened with comes back and the position can be typed again.
    reader.originX = 7.0;
    reader.originY = 8.0;
    DGDriver::QueueSetLong(SOSIResultsDialogId, 38, 0);
    DGDriver::QueueClick(SOSIResultsDialogId, 1);
    ASSERT_TRUE(OpenSOSIImportResultsDialog(reader));
    EXPECT_EQ(reader.originX, 7.0);
    EXPECT_EQ(reader.originY, 8.0);
    for (int16_t item : {17, 20, 21}) EXPECT_TRUE(Item(SOSIResultsDialogId, item).enabled) << item;

    // The worksheet import neither looks for locators nor offers them.
    reader.importMode = SOSIModeWorksheet;
    FindSOSILocatorDatabases(reader);
    EXPECT_TRUE(reader.output.locatorDatabases.IsEmpty());
    ASSERT_TRUE(OpenSOSIImportResultsDialogTwin(reader));
    EXPECT_FALSE(Item(SOSIResultsTwinDialogId, 38).visible);
    EXPECT_FALSE(Item(SOSIResultsTwinDialogId, 39).visible);
}

}  // namespace sosi_results_dialogs_test
