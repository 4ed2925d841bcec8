// The link upkeep pass on a project of an earlier release, run through the module's project-event handler: old
// numeric links become GUID texts, contour lines get their rebuilt part name written back, and whatever cannot be
// converted stays as it was.
#include "FakeContourLineRefresh.hpp"
#include "UpkeepFixture.hpp"
#include "elements/LinkUpkeep.hpp"
#include "shell/Notifications.hpp"
#include "shell/Wiring.hpp"

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

namespace link_upkeep_test {

const std::string NullGuid = "00000000-0000-0000-0000-000000000000";

class LinkUpkeepTest : public UpkeepTest {
protected:
    // The module started with a contour-line refresh that only notes the terrains it is asked for.
    void SetUp() override {
        UpkeepTest::SetUp();
        PortReplacements replaced;
        replaced.contourLineRefresh = &contours;
        WireSubsystems(replaced);
    }
    void TearDown() override {
        UnwireSubsystems();
        UpkeepTest::TearDown();
    }
    void Convert() { ASSERT_EQ(ProjectEventHandler(APINotify_ConvertOldIds, 0), NoError); }

    // A terrain with its older record "<id>_<serial>"; registered under its old identifier unless `id` is 0.
    API_Guid Terrain(const std::string& name, int32_t id, const std::string& text) {
        const API_Guid g = PlaceMesh(name);
        LegacyRecord(g, '5', text);
        if (id != 0) OldId(g, id);
        return g;
    }

    FakeContourLineRefresh contours;
};

TEST_F(LinkUpkeepTest, LegacyLinksBecomeGuidsInOneUndoStep) {
    LoadLibrary();
    const API_Guid terrain = Terrain("T", 1234, "1234_001");
    const API_Guid unknown = Terrain("U", 0, "999_002");  // the host has no GUID for 999

    const API_Guid contour = PlacePart("VY_CONTOURLINES", "C");
    SetNumber(contour, "IDterrain", 1234);
    LegacyRecord(contour, '4', "1234_001");
    const API_Guid stranger = PlacePart("VY_CONTOURLINES", "D");  // names the terrain nobody converted
    SetNumber(stranger, "IDterrain", 1234);
    LegacyRecord(stranger, '4', "999_002");

    const API_Guid result = PlacePart("VY_ROAD", "result");
    OldId(result, 501);
    const API_Guid original = PlaceHotspot("original");
    OldId(original, 77);
    const API_Guid road = PlacePart("VY_ROAD", "R");
    const std::vector<std::pair<const char*, double>> links = {
        {"IDterrain", 1234.0}, {"IDresult", 501.9}, {"IDfill", -1.0}, {"IDcut", -2.0}, {"IDoriginal", 77.0}};
    for (const auto& link : links) SetNumber(road, link.first, link.second);
    LegacyRecord(road, 'C');
    const API_Guid lost = PlacePart("VY_ROAD", "lost");  // its result object is gone
    SetNumber(lost, "IDresult", 4040);
    LegacyRecord(lost, 'C');

    const API_Guid marker = PlacePart("VY_POINT_MARKER", "M");
    LegacyRecord(marker, 'F');
    const API_Guid fill = PlaceFill("outline");
    LegacyRecord(fill, '3');

    const std::vector<API_Guid> all = {terrain, unknown, contour, stranger, road, lost, marker, fill};
    std::vector<std::string> before;
    for (const API_Guid& g : all) before.push_back(Record(g));
    const size_t steps = Db().UndoTexts().size();
    Convert();
    EXPECT_EQ(Db().UndoTexts().size(), steps + 1);
    EXPECT_EQ(DialogsShown(), 0u);

    const std::string t = GuidString(terrain);
    EXPECT_EQ(TextAt(terrain, 0), "5");
    EXPECT_EQ(TextAt(terrain, 53), t + "_001");
    EXPECT_EQ(Record(unknown), before[1]);

    EXPECT_EQ(Record(contour).size(), ElemDataRecordSize);
    EXPECT_EQ(TextAt(contour, 103), t + "_001");
    EXPECT_EQ(TextAt(contour, 353), t);
    EXPECT_EQ(Text(contour, "macro_name"), "CL0000" + t + "001");
    EXPECT_EQ(Record(stranger), before[3]);
    EXPECT_EQ(Text(stranger, "macro_name"), "");

    EXPECT_EQ(TextAt(road, 203), GuidString(result));  // 501.9 read as 501
    EXPECT_EQ(TextAt(road, 253), NullGuid);
    EXPECT_EQ(TextAt(road, 303), NullGuid);
    EXPECT_EQ(TextAt(road, 353), t);
    EXPECT_EQ(TextAt(road, 403), GuidString(original));
    EXPECT_EQ(Record(lost), before[5]);

    EXPECT_EQ(Record(marker), std::string(1, 'F') + std::string(ElemDataRecordSize - 1, '\0'));
    EXPECT_EQ(Record(fill), std::string(1, '3') + std::string(ElemDataRecordSize - 1, '\0'));

    // Only the converted terrain has contour lines to regenerate.
    ASSERT_EQ(contours.terrains.size(), 1u);
    EXPECT_TRUE(contours.terrains[0] == terrain);

    // One undo gives the project back as it was saved.
    ASSERT_TRUE(Db().Undo());
    for (size_t i = 0; i < all.size(); ++i) EXPECT_EQ(Record(all[i]), before[i]) << i;
    EXPECT_EQ(Text(contour, "macro_name"), "");
}

TEST_F(LinkUpkeepTest, AMissingPartLeavesEveryObjectButStillConvertsTerrains) {
    LoadLibrary({"VY_BRIDGE"});
    const API_Guid terrain = Terrain("T", 7, "7_003");
    const API_Guid wall = PlacePart("VY_WALL", "W");
    SetNumber(wall, "IDterrain", 7);
    LegacyRecord(wall, '8');
    const std::string wallBefore = Record(wall);

    Convert();
    EXPECT_EQ(TextAt(terrain, 53), GuidString(terrain) + "_003");
    EXPECT_EQ(Record(wall), wallBefore);
    EXPECT_EQ(DialogsShown(), 0u);  // no folder request, no alert inside the notification
}

TEST_F(LinkUpkeepTest, WithoutThePreferencesPartNothingChanges) {
    LoadLibrary({"VY_PREFS"});
    const API_Guid terrain = Terrain("T", 7, "7_003");
    const std::string before = Record(terrain);
    const size_t steps = Db().UndoTexts().size();
    Window(APIWind_3DModelID);
    Convert();
    EXPECT_EQ(Record(terrain), before);
    EXPECT_EQ(Db().UndoTexts().size(), steps);
    EXPECT_EQ(DialogsShown(), 0u);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
}

TEST_F(LinkUpkeepTest, RoadSectionsAreConvertedWithinTheirSectionDatabase) {
    LoadLibrary();
    API_Element cut = {};
    cut.header.typeID = API_CutPlaneID;
    ASSERT_EQ(Db().GetDefaults(&cut, nullptr), NoError);
    ASSERT_EQ(Db().PlaceElement(&cut, StoredMemo(), "section marker", "Place"), NoError);
    API_DatabaseInfo section = {};
    section.typeID = APIWind_SectionID;
    section.databaseUnId = Element(cut.header.guid).cutPlane.databaseUnId;
    ASSERT_EQ(Db().ChangeDatabase(section), NoError);
    const API_Guid sectionObject = PlacePart("VY_ROAD", "S");
    SetNumber(sectionObject, "sezione", 1);
    SetNumber(sectionObject, "IDoriginal", 12);
    const API_Guid drawn = PlaceHotspot("drawn");
    host->Project().oldIds.Set(section.databaseUnId, 12, drawn);
    API_DatabaseInfo plan = {};
    plan.typeID = APIWind_FloorPlanID;
    ASSERT_EQ(Db().ChangeDatabase(plan), NoError);
    OldId(PlaceHotspot("same number in the plan"), 12);  // must not be taken for the section's 12

    Convert();
    EXPECT_EQ(TextAt(sectionObject, 0), "H");
    EXPECT_EQ(TextAt(sectionObject, 403), GuidString(drawn));
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_FloorPlanID);
}

// A host call that fails anywhere in the conversion, on its first call or after some passed, takes the whole
// conversion back: every record and link parameter is as it was saved, no undo step is left, no contour line is
// made again, and the user is told. Where the failure is not met the conversion is complete.
TEST_F(LinkUpkeepTest, AConversionTheHostFailsIsTakenBackWholeAndTold) {
    LoadLibrary();
    Terrain("T", 1234, "1234_001");
    const API_Guid contour = PlacePart("VY_CONTOURLINES", "C");
    SetNumber(contour, "IDterrain", 1234);
    LegacyRecord(contour, '4', "1234_001");
    const API_Guid result = PlacePart("VY_ROAD", "result");
    OldId(result, 501);
    const API_Guid road = PlacePart("VY_ROAD", "R");
    for (const char* link : {"IDterrain", "IDresult", "IDfill", "IDcut"})
        SetNumber(road, link, std::string(link) == "IDresult" ? 501 : std::string(link) == "IDterrain" ? 1234 : -1);
    LegacyRecord(road, 'C');
    const API_Guid point = PlaceObject(API_ObjectID, Part("VY_POINT_MARKER"), "P");
    LegacyRecord(point, 'F');
    const API_Guid fill = PlaceFill("outline");
    LegacyRecord(fill, '3');

    const std::string saved = Db().ToJson()["elements"].dump();
    const size_t steps = Db().UndoTexts().size();
    Convert();
    const std::string converted = Db().ToJson()["elements"].dump();
    ASSERT_NE(converted, saved);
    ASSERT_EQ(TextAt(road, 203), GuidString(result));
    ASSERT_TRUE(Db().Undo());
    ASSERT_EQ(Db().ToJson()["elements"].dump(), saved);

    int takenBack = 0;
    for (const char* function :
         {"Element_SetUserData", "Element_GetUserData", "Element_GetMemo", "Element_ChangeParameters", "Element_Get",
          "Element_Filter", "Element_GetElemList", "LibPart_Search", "LibPart_Get", "Database", "CallUndoableCommand"})
        for (int32_t passes : {0, 1, 2, 4}) {
            SCOPED_TRACE(std::string(function) + " after " + std::to_string(passes));
            contours.terrains.clear();
            const size_t shown = DialogsShown();
            ASSERT_TRUE(host->FailCallAfter(function, -1, APIERR_GENERAL, passes));
            Convert();
            host->ClearFailures();
            const std::string now = Db().ToJson()["elements"].dump();
            if (now == converted) {
                EXPECT_EQ(Db().UndoTexts().size(), steps + 1);
                ASSERT_TRUE(Db().Undo());
                continue;
            }
            ++takenBack;
            EXPECT_EQ(now, saved);
            EXPECT_EQ(Db().UndoTexts().size(), steps);
            EXPECT_TRUE(contours.terrains.empty());
            EXPECT_EQ(DialogsShown(), shown + 1);
            ASSERT_FALSE(DGDriver::Log().empty());
            EXPECT_EQ(DGDriver::Log().back().texts.at(0), "Error while modifying database.");
        }
    EXPECT_GT(takenBack, 30);
}

TEST(RebuildMacroName, FillsTheCLNameTo45CharactersWhileThereIsRoom) {
    const QV_String guid("0E5C9A84-27B1-4D63-9F0A-B84C16E2D357");
    QV_String name;
    ASSERT_TRUE(RebuildMacroName(guid, QV_String("1234_001"), name));
    EXPECT_EQ(name.ToStdString(), "CL0000" + guid.ToStdString() + "001");
    ASSERT_TRUE(RebuildMacroName(guid, QV_String("abc"), name));  // no '_': all of it
    EXPECT_EQ(name.ToStdString(), "CL0000" + guid.ToStdString() + "abc");
    for (uint32_t n = 0; n <= 50; ++n) {
        const QV_String tail(std::string(n, 'x').c_str());
        QV_String built;
        const bool ok = RebuildMacroName(QV_String(""), QV_String(("_" + std::string(n, 'x')).c_str()), built);
        ASSERT_EQ(ok, n <= 43) << n;
        if (!ok) continue;
        const std::string s = built.ToStdString();
        EXPECT_EQ(s.size(), 45u) << n;
        EXPECT_EQ(s.substr(0, 2), "CL") << n;
        EXPECT_EQ(s.substr(45 - n), tail.ToStdString()) << n;
        EXPECT_EQ(s.find_first_not_of('0', 2), n == 0 ? std::string::npos : 45 - n) << n;
    }
}

}  // namespace link_upkeep_test
