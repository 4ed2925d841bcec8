// Independent worksheets as the module reaches them: made, listed, found, renamed, brought to the front, and each
// holding its own elements, listed and deleted there only.
#include "InProcessHost.hpp"

#include <string>
#include <vector>

namespace worksheet_databases_test {

class WorksheetDatabasesTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Attach());
    }

    static void Put(char16_t* field, size_t units, const std::u16string& text) {
        for (size_t i = 0; i < units; ++i) field[i] = i < text.size() ? text[i] : 0;
    }

    API_DatabaseInfo NewSheet(const std::u16string& name, const std::u16string& ref) {
        API_DatabaseInfo info = {};
        info.typeID = APIWind_WorksheetID;
        Put(info.name, 128, name);
        Put(info.ref, 32, ref);
        EXPECT_EQ(ACAPI_Database(APIDb_NewDatabaseID, &info), NoError);
        return info;
    }

    static std::vector<API_Guid> Sheets() {
        GSHandle h = nullptr;
        EXPECT_EQ(ACAPI_Database(APIDb_GetWorksheetDatabasesID, &h), NoError);
        std::vector<API_Guid> ids;
        if (h == nullptr) return ids;
        const size_t n = size_t(BMGetHandleSize(h)) / sizeof(API_Guid);
        const API_Guid* g = reinterpret_cast<const API_Guid*>(*h);
        ids.assign(g, g + n);
        BMKillHandle(&h);
        return ids;
    }

    static API_Guid PlaceHotspot(double x) {
        API_Element e = {};
        e.header.typeID = API_HotspotID;
        EXPECT_EQ(ACAPI_Element_GetDefaults(&e, nullptr), NoError);
        e.hotspot.pos = {x, 0};
        EXPECT_EQ(ACAPI_CallUndoableCommand(GS::UniString("Place"),
                                            [&]() -> GSErrCode { return ACAPI_Element_Create(&e, nullptr); }),
                  NoError);
        return e.header.guid;
    }

    static size_t Listed() {
        GS::Array<API_Guid> list;
        EXPECT_EQ(ACAPI_Element_GetElemList(API_ZombieElemID, &list), NoError);
        return list.GetSize();
    }
};

TEST_F(WorksheetDatabasesTest, WorksheetsAreMadeListedFoundAndRenamed) {
    EXPECT_TRUE(Sheets().empty());
    const API_DatabaseInfo a = NewSheet(u"Kartunderlag", u"VY-01");
    const API_DatabaseInfo b = NewSheet(u"Andre", u"VY-02");
    EXPECT_NE(a.databaseUnId, b.databaseUnId);
    EXPECT_EQ(a.typeID, APIWind_WorksheetID);
    const std::vector<API_Guid> ids = Sheets();
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0], a.databaseUnId);  // creation order
    EXPECT_EQ(ids[1], b.databaseUnId);

    API_DatabaseInfo found = {};
    found.databaseUnId = b.databaseUnId;
    ASSERT_EQ(ACAPI_Database(APIDb_GetDatabaseInfoID, &found), NoError);
    EXPECT_EQ(std::u16string(found.name), u"Andre");
    EXPECT_EQ(std::u16string(found.ref), u"VY-02");

    Put(found.name, 128, u"Kurver");
    ASSERT_EQ(ACAPI_Database(APIDb_ModifyDatabaseID, &found), NoError);
    API_DatabaseInfo again = {};
    again.databaseUnId = b.databaseUnId;
    ASSERT_EQ(ACAPI_Database(APIDb_GetDatabaseInfoID, &again), NoError);
    EXPECT_EQ(std::u16string(again.name), u"Kurver");
    EXPECT_EQ(std::u16string(again.ref), u"VY-02");
}

TEST_F(WorksheetDatabasesTest, BadRecordsAreRefusedWithoutChangingAnything) {
    API_DatabaseInfo plan = {};
    plan.typeID = APIWind_FloorPlanID;
    EXPECT_NE(ACAPI_Database(APIDb_NewDatabaseID, &plan), NoError);  // only worksheets are made
    API_DatabaseInfo open = {};
    open.typeID = APIWind_WorksheetID;
    for (char16_t& c : open.name) c = u'x';  // a name that never ends
    EXPECT_NE(ACAPI_Database(APIDb_NewDatabaseID, &open), NoError);
    EXPECT_TRUE(Sheets().empty());

    API_DatabaseInfo unknown = {};
    unknown.typeID = APIWind_WorksheetID;
    unknown.databaseUnId.time_low = 12345;
    EXPECT_EQ(ACAPI_Database(APIDb_GetDatabaseInfoID, &unknown), APIERR_BADWINDOW);
    EXPECT_EQ(ACAPI_Database(APIDb_ModifyDatabaseID, &unknown), APIERR_BADWINDOW);
    // The floor plan is not an independent worksheet and cannot be renamed as one.
    API_DatabaseInfo current = {};
    ASSERT_EQ(ACAPI_Database(APIDb_GetCurrentDatabaseID, &current), NoError);
    EXPECT_EQ(ACAPI_Database(APIDb_ModifyDatabaseID, &current), APIERR_BADWINDOW);
}

TEST_F(WorksheetDatabasesTest, EachWorksheetListsAndDeletesOnlyItsOwnElements) {
    PlaceHotspot(1);
    API_DatabaseInfo a = NewSheet(u"A", u"VY-01");
    API_DatabaseInfo b = NewSheet(u"B", u"VY-02");
    EXPECT_EQ(Listed(), 1u);  // making a worksheet leaves the plan in front

    API_WindowInfo w = {};
    w.typeID = APIWind_WorksheetID;
    w.databaseUnId = a.databaseUnId;
    ASSERT_EQ(ACAPI_Automate(APIDo_ChangeWindowID, &w), NoError);
    API_WindowInfo front = {};
    ASSERT_EQ(ACAPI_Database(APIDb_GetCurrentWindowID, &front), NoError);
    EXPECT_EQ(front.typeID, APIWind_WorksheetID);
    EXPECT_EQ(front.databaseUnId, a.databaseUnId);
    EXPECT_EQ(Listed(), 0u);
    const API_Guid inA = PlaceHotspot(2);
    PlaceHotspot(3);
    EXPECT_EQ(Listed(), 2u);

    ASSERT_EQ(ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &b), NoError);
    EXPECT_EQ(Listed(), 0u);
    PlaceHotspot(4);
    // An element of another worksheet is not here to delete.
    EXPECT_NE(
        ACAPI_CallUndoableCommand(GS::UniString("Delete"), [&]() -> GSErrCode { return ACAPI_Element_Delete({inA}); }),
        NoError);

    ASSERT_EQ(ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &a), NoError);
    ASSERT_EQ(
        ACAPI_CallUndoableCommand(GS::UniString("Delete"), [&]() -> GSErrCode { return ACAPI_Element_Delete({inA}); }),
        NoError);
    EXPECT_EQ(Listed(), 1u);
    ASSERT_EQ(ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &b), NoError);
    EXPECT_EQ(Listed(), 1u);
    API_DatabaseInfo plan = {};
    plan.typeID = APIWind_FloorPlanID;
    ASSERT_EQ(ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &plan), NoError);
    EXPECT_EQ(Listed(), 1u);
}

}  // namespace worksheet_databases_test
