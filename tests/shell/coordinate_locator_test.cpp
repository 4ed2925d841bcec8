// The coordinate locator: "Insert Object" on an independent worksheet places one locator at the clicked point with
// the settings chosen, refuses a second one and a wrong part; its parameters read back through its view, and the
// offset it gives brings a point at its real-world coordinates onto it.
#include "ProjectHost.hpp"

#include "DGDriver.hpp"
#include "elements/CoordinateLocator.hpp"
#include "elements/CoordinateLocatorLP.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "shell/commands/CoordinateLocatorCommand.hpp"

#include <cmath>
#include <string>
#include <vector>

namespace coordinate_locator_test {

class CoordinateLocatorTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
        locator = host->Project().libraries.FindByName(CoordinateLocatorPartName, 0);
        ASSERT_GT(locator, 0);
    }
    void TearDown() override {
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    std::vector<std::string> AlertTexts() const {
        std::vector<std::string> out;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "alert" && !r.texts.empty()) out.push_back(r.texts[0]);
        return out;
    }
    API_DatabaseInfo OpenWorksheet(const std::u16string& ref) {
        API_DatabaseInfo d = {};
        d.typeID = APIWind_WorksheetID;
        for (size_t i = 0; i < ref.size(); ++i) d.ref[i] = ref[i];
        d.name[0] = u'W';
        EXPECT_EQ(ACAPI_Database(APIDb_NewDatabaseID, &d), NoError);
        API_WindowInfo w = {};
        w.typeID = APIWind_WorksheetID;
        w.databaseUnId = d.databaseUnId;
        EXPECT_EQ(ACAPI_Automate(APIDo_ChangeWindowID, &w), NoError);
        return d;
    }
    void AnswerSettings(const std::string& part, const std::string& values) {
        SettingsDialogAnswer a;
        a.libPart = part;
        std::string why;
        ASSERT_TRUE(SettingsDialogAnswers::ParseValues(values, &a.values, &why)) << why;
        host->Project().settingsDialogs.Queue(SettingsDialogAnswers::ToolSettings, a);
    }
    std::vector<API_Element> Locators() {
        std::vector<API_Element> out;
        for (const API_Guid& g : Db().AllElements()) {
            API_Element e = {};
            e.header.guid = g;
            if (ACAPI_Element_Get(&e) == NoError && e.header.typeID == API_ObjectID && e.object.libInd == locator)
                out.push_back(e);
        }
        return out;
    }
    CoordinateLocatorRec Read(const API_Element& e) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, APIMemoMask_AddPars), NoError);
        CoordinateLocatorLP view;
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        CoordinateLocatorRec rec;
        rec.font = QV_String("stale");  // reading starts from an empty record
        EXPECT_TRUE(view.Exchange(rec, LPMode_Get));
        used = view.GetParamDouble(QV_String("used_by_Lodrava"));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return rec;
    }
    int32_t locator = 0;
    double used = 0.0;
};

TEST_F(CoordinateLocatorTest, PlacedOnAWorksheetOnlyOnceAtTheClickedPoint) {
    InsertCoordinateLocator();  // the floor plan: nothing, not even a question
    EXPECT_TRUE(Locators().empty());
    EXPECT_EQ(host->Project().settingsDialogs.ShownDialogs().size(), 0u);

    OpenWorksheet(u"VY-01");
    AnswerSettings(CoordinateLocatorPartName, "X_origo_mondo=1000; Y_origo_mondo=5000; stile=corsivo; gs_cont_pen=7");
    host->Input().QueuePoint(100, 200);
    InsertCoordinateLocator();
    const std::vector<API_Element> placed = Locators();
    ASSERT_EQ(placed.size(), 1u);
    EXPECT_EQ(placed[0].object.pos.x, 100.0);
    EXPECT_EQ(placed[0].object.pos.y, 200.0);
    const CoordinateLocatorRec rec = Read(placed[0]);
    EXPECT_EQ(rec.x, 1000.0);
    EXPECT_EQ(rec.y, 5000.0);
    EXPECT_EQ(rec.markerPen, 7);
    EXPECT_EQ(rec.style, QV_String("corsivo"));
    EXPECT_EQ(rec.font, QV_String("Arial"));
    EXPECT_EQ(used, 1.0);
    EXPECT_TRUE(AlertTexts().empty());

    InsertCoordinateLocator();  // a second one on the same worksheet
    EXPECT_EQ(Locators().size(), 1u);
    ASSERT_EQ(AlertTexts().size(), 1u);
    EXPECT_EQ(AlertTexts()[0], "Just insert the Coordinate Locator object!");
}

TEST_F(CoordinateLocatorTest, ASelectedLocatorIsEditedInItsDialog) {
    OpenWorksheet(u"VY-01");
    AnswerSettings(CoordinateLocatorPartName, "X_origo_mondo=1000; stile=normale; font=Arial");
    host->Input().QueuePoint(100, 200);
    InsertCoordinateLocator();
    ASSERT_EQ(Locators().size(), 1u);
    Select({Locators()[0].header.guid});

    DGDriver::QueueSetDouble(32541, 5, 2500.25);
    DGDriver::QueueSetLong(32541, 15, 12);  // the marker pen typed reaches its pen control
    DGDriver::QueueSetLong(32541, 24, 5);   // the text pen picked in its control reaches its edit
    DGDriver::QueueSetLong(32541, 25, 1);
    DGDriver::QueueSetLong(32541, 26, 1);
    DGDriver::QueueClick(32541, 1);
    InsertCoordinateLocator();
    ASSERT_EQ(Locators().size(), 1u);
    CoordinateLocatorRec rec = Read(Locators()[0]);
    EXPECT_EQ(rec.x, 2500.25);
    EXPECT_EQ(rec.markerPen, 12);
    EXPECT_EQ(rec.textPen, 5);
    EXPECT_EQ(rec.style, QV_String("grassetto e corsivo"));
    EXPECT_EQ(rec.font, QV_String("Arial"));

    DGDriver::QueueSetDouble(32541, 5, 1.0);
    DGDriver::QueueClick(32541, 2);  // Cancel changes nothing
    InsertCoordinateLocator();
    EXPECT_EQ(Read(Locators()[0]).x, 2500.25);
    EXPECT_TRUE(AlertTexts().empty());

    // Parameters the host does not give open no dialog and change nothing, but the button says why.
    ASSERT_TRUE(host->FailCall("Element_GetMemo", -1, APIERR_GENERAL));
    InsertCoordinateLocator();
    host->ClearFailures();
    EXPECT_EQ(Read(Locators()[0]).x, 2500.25);
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{"Error while finding data."});
}

TEST_F(CoordinateLocatorTest, AnotherPartIsRefusedAndACancelPlacesNothing) {
    OpenWorksheet(u"VY-01");
    AnswerSettings("PART_A", "");
    host->Project().settingsDialogs.Queue(SettingsDialogAnswers::ToolSettings, SettingsDialogAnswer{false, "", {}});
    InsertCoordinateLocator();
    EXPECT_TRUE(Locators().empty());
    ASSERT_EQ(AlertTexts().size(), 1u);
    EXPECT_EQ(AlertTexts()[0], "The selected object isn't the needed one!");
    EXPECT_EQ(host->Project().settingsDialogs.ShownDialogs().size(), 2u);  // opened again on the locator

    AnswerSettings(CoordinateLocatorPartName, "");
    host->Input().QueueCancel();  // no point given
    InsertCoordinateLocator();
    EXPECT_TRUE(Locators().empty());
}

TEST_F(CoordinateLocatorTest, TheOffsetBringsTheRealWorldPointOntoTheLocator) {
    const API_DatabaseInfo sheet = OpenWorksheet(u"VY-01");
    AnswerSettings(CoordinateLocatorPartName, "X_origo_mondo=1000; Y_origo_mondo=5000");
    host->Input().QueuePoint(100, 200);
    InsertCoordinateLocator();
    API_WindowInfo plan = {};
    plan.typeID = APIWind_FloorPlanID;
    ASSERT_EQ(ACAPI_Automate(APIDo_ChangeWindowID, &plan), NoError);

    API_Coord offset = {1, 1};
    ASSERT_TRUE(GetCoordinateLocatorOffset(sheet.databaseUnId, locator, &offset));
    EXPECT_EQ(offset.x, 900.0);
    EXPECT_EQ(offset.y, 4800.0);
    // Imports subtract the offset: the locator's real-world point lands on the locator.
    EXPECT_EQ(1000.0 - offset.x, 100.0);
    EXPECT_EQ(5000.0 - offset.y, 200.0);
    API_DatabaseInfo current = {};
    ASSERT_EQ(ACAPI_Database(APIDb_GetCurrentDatabaseID, &current), NoError);
    EXPECT_EQ(current.typeID, APIWind_FloorPlanID);  // switched back

    // A worksheet without a locator gives no offset.
    const API_DatabaseInfo empty = OpenWorksheet(u"VY-02");
    ASSERT_TRUE(GetCoordinateLocatorOffset(empty.databaseUnId, locator, &offset));
    EXPECT_EQ(offset.x, 0.0);
    EXPECT_EQ(offset.y, 0.0);
    API_Guid unknown = {};
    unknown.time_low = 77;
    EXPECT_FALSE(GetCoordinateLocatorOffset(unknown, locator, &offset));
}

TEST_F(CoordinateLocatorTest, TheViewNamesItsParametersAndWritesWhatItReads) {
    CoordinateLocatorLP view;
    const std::vector<std::string> names = {"X_origo_mondo", "Y_origo_mondo", "Z_origo_mondo", "used_by_Lodrava",
                                            "dim_marker",    "font",          "gs_cont_pen",   "fontsize",
                                            "text_pen",      "stile"};
    for (int32_t i = 0; i < 10; ++i) EXPECT_EQ(view.GetParamName(i), names[size_t(i)]);
    EXPECT_EQ(std::string(view.GetParamName(10)), "???");
    EXPECT_EQ(std::string(view.GetParamName(-1)), "???");

    EXPECT_EQ(CoordinateLocatorStyle(false, false), QV_String("normale"));
    EXPECT_EQ(CoordinateLocatorStyle(true, false), QV_String("grassetto"));
    EXPECT_EQ(CoordinateLocatorStyle(false, true), QV_String("corsivo"));
    EXPECT_EQ(CoordinateLocatorStyle(true, true), QV_String("grassetto e corsivo"));

    GSHandle params = nullptr;
    ASSERT_TRUE(BaseLP::GetLibPartParams(locator, &params, nullptr, nullptr, nullptr));
    view.Attach(params, true);
    CoordinateLocatorRec rec;
    rec.x = -12.5;
    rec.textPen = 9;
    rec.markerPen = 3;
    rec.style = CoordinateLocatorStyle(true, true);
    ASSERT_TRUE(view.Exchange(rec, LPMode_Set));  // an empty font is written as an empty text
    CoordinateLocatorRec back;
    ASSERT_TRUE(view.Exchange(back, LPMode_Get));
    EXPECT_EQ(back.x, -12.5);
    EXPECT_EQ(back.textPen, 9);
    EXPECT_EQ(back.markerPen, 3);
    EXPECT_TRUE(back.font.IsEmpty());
    EXPECT_EQ(back.style, QV_String("grassetto e corsivo"));
    view.Detach();
    ReleaseParamRecords(&params);

    // A part without the locator's parameters cannot be read as one.
    ASSERT_TRUE(BaseLP::GetLibPartParams(libA, &params, nullptr, nullptr, nullptr));
    view.Attach(params, true);
    EXPECT_FALSE(view.Exchange(back, LPMode_Get));
    view.Detach();
    ReleaseParamRecords(&params);
}

}  // namespace coordinate_locator_test
