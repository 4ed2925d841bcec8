// "Terrain" and "Transform ZidudORI Mesh" in the stand-in host, as a user runs them: a terrain built from points,
// a constraint and an outline through dialog 32547; an edit of the terrain meshes that writes only what the user
// changed; the wide layout checking the levels typed in the compact one; a plain mesh converted; and orphan
// removal that never touches an object of a live terrain.
#include "ProjectHost.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/TerrainSettingsDialog.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ModelUpdate.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/GuidText.hpp"
#include "settings/Settings.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/Wiring.hpp"
#include "shell/commands/TerrainCommands.hpp"
#include "terrain/ElementEditor.hpp"
#include "terrain/TerrainContourSteps.hpp"
#include "terrain/TerrainFromMesh.hpp"
#include "terrain/TerrainSettingsRun.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace terrain_commands_test {

// The contour-line steps are the contour tool's: here they only tell what the terrain handed them.
class ContourStepsSeen final : public TerrainContourSteps {
public:
    int16_t gradient = -1;  // what the new terrain's step was handed

    int32_t ReadForTerrainUpdate(const API_Element&, TerrainContourContext& c) override {
        c.settings = GlobalSettings.contour;
        return 0;
    }
    int32_t CreateGradientObject(const API_Element&, TerrainContourContext&) override { return 0; }
    int32_t UpdateAfterTerrainChange(const API_Element&, TerrainContourContext&) override { return 0; }
    int32_t RefreshForNewTerrain(const API_Element&, TerrainContourContext& c) override {
        gradient = c.gradient;
        return 0;
    }
};

class TerrainCommandsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        WireSubsystems();
        GlobalSettings.SetBuiltInDefaults(QV_String("Arial"));
        Db().SetStory(0, 4.0, "Ground");
    }
    void TearDown() override {
        UnwireSubsystems();
        ProjectHostTest::TearDown();
    }

    API_Guid Point(double x, double y, double z) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceHotspot({x, y}, 1, Name("point"), &g), NoError);
        // The height lives in the point's record, as the point tool writes it; the hotspot's own stays 0.
        Record(g, ElemKind_Point, z);
        return g;
    }
    void Constraint(const API_Coord3D& a, const API_Coord3D& b) {
        API_Guid g = {};
        ASSERT_EQ(Db().PlaceLine({a.x, a.y}, {b.x, b.y}, 1, Name("constraint"), &g), NoError);
        Record(g, ElemKind_Constraint);
    }
    API_Guid Outline(const std::vector<API_Coord3D>& ring) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_HatchID, ring, true, 1, Name("outline"), &g), NoError);
        Record(g, ElemKind_Outline);
        return g;
    }
    void Record(const API_Guid& g, int32_t kind, double value = 0.0) {
        ElemDescriptor d;
        d.Value = value;
        const API_Elem_Head head = Db().Find(g)->record.header;
        ASSERT_EQ(Command([&] { return ElemUserData_WriteRecord(d, kind, head) ? NoError : APIERR_GENERAL; }), NoError);
    }
    // The example site: a 20 m grid, heights by column (x 0: 100, 10: 102, 20: 101), a constraint down the
    // middle column, the outline through the eight outer points.
    void Site() {
        const double h[] = {100, 102, 101};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) Point(10.0 * i, 10.0 * j, h[i]);
        Constraint({10, 0, 0}, {10, 10, 0});
        Constraint({10, 10, 0}, {10, 20, 0});
        Outline({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {20, 10, 0}, {20, 20, 0}, {10, 20, 0}, {0, 20, 0}, {0, 10, 0}});
    }
    std::vector<API_Element> Meshes() {
        GS::Array<API_Guid> guids;
        EXPECT_EQ(ACAPI_Element_GetElemList(API_MeshID, &guids), NoError);
        std::vector<API_Element> out;
        for (const API_Guid& g : guids) out.push_back(Db().Find(g)->record);
        return out;
    }
    std::vector<std::string> AlertTexts() const {
        std::vector<std::string> out;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "alert" && !r.texts.empty()) out.push_back(r.texts[0]);
        return out;
    }
    std::string Name(const char* what) { return what + std::to_string(++names); }
    ContourStepsSeen contours;
    int names = 0;
};

TEST_F(TerrainCommandsTest, TerrainIsBuiltFromPointsConstraintAndOutline) {
    Site();
    // Points inside the outline that the terrain does not see: one on a hidden layer, one on another story. One
    // on a locked but shown layer is seen, and becomes a level point of its own.
    const auto layer = [this](const char* name, uint32_t flags) {
        API_Attribute a = {};
        a.header.typeID = API_LayerID;
        std::strncpy(a.header.name, name, sizeof a.header.name - 1);
        EXPECT_EQ(Db().CreateAttribute(&a), NoError);
        a.header.flags = flags;
        EXPECT_EQ(Db().ModifyAttribute(&a), NoError);
        return a.header.index;
    };
    API_Guid hidden = {}, locked = {};
    ASSERT_EQ(Db().PlaceHotspot({5, 5}, 1, Name("point"), &hidden), NoError);
    Record(hidden, ElemKind_Point, 150);
    ASSERT_EQ(Db().PlaceHotspot({5, 15}, 1, Name("point"), &locked), NoError);
    Record(locked, ElemKind_Point, 101);
    Db().FindMutable(hidden)->record.header.layer = layer("Hidden points", APILay_Hidden);
    Db().FindMutable(locked)->record.header.layer = layer("Locked points", APILay_Locked);
    Db().SetStory(1, 7.0, "Upper");
    ASSERT_EQ(Db().GoToStory(1), NoError);
    Point(15, 15, 150);
    ASSERT_EQ(Db().GoToStory(0), NoError);
    DGDriver::QueueClick(TerrainSettingsDialogId, 41);
    DGDriver::QueueClick(TerrainSettingsDialogId, 1);
    DGDriver::QueueAlertAnswer(1);
    RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
    EXPECT_EQ(DGDriver::PendingActionCount(), 0u);
    ASSERT_EQ(AlertTexts(), std::vector<std::string>{"Terrain has been created!"});
    const std::vector<API_Element> meshes = Meshes();
    ASSERT_EQ(meshes.size(), 1u);
    const API_MeshType& m = meshes[0].mesh;
    EXPECT_EQ(m.poly.nCoords, 9);
    EXPECT_EQ(m.levelLines.nCoords, 4);  // the middle column as one line: A, B, C; the locked layer's point
    EXPECT_EQ(m.levelLines.nSubLines, 2);
    EXPECT_EQ(m.skirtLevel, -99.0);
    EXPECT_EQ(m.level, -4.0);
    EXPECT_EQ(m.pen, 53);
    EXPECT_EQ(m.ridgePen, 73);
    EXPECT_EQ(m.overrideSectFillPen, 1);
    EXPECT_EQ(m.showPlanTriangles, 1);
    EXPECT_EQ(contours.gradient, 1);  // box 41 ticked: the gradient object goes with the new terrain

    // A second "Terrain" edits it: changing only the contour pen writes only that field.
    Db().FindMutable(meshes[0].header.guid)->record.Edit([&](API_Element& rec) {
        rec.mesh.ridgePen = 9;
    });  // the user's own edit in the host
    DGDriver::QueueSetLong(TerrainSettingsDialogId, 11, 7);
    DGDriver::QueueClick(TerrainSettingsDialogId, 1);
    RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
    const API_MeshType after = Db().Find(meshes[0].header.guid)->record.Get().mesh;
    EXPECT_EQ(after.pen, 7);
    EXPECT_EQ(after.ridgePen, 9);
    EXPECT_EQ(after.topMat, m.topMat);
}

TEST_F(TerrainCommandsTest, OutlineCornerWithoutPointIsDroppedAndTheOffsetLowersTheTerrain) {
    const double h[] = {100, 102, 101};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) Point(10.0 * i, 10.0 * j, h[i]);
    // A fifth corner at (5, -1) carries no point: the outline is replaced by one through the four that do.
    const API_Guid outline = Outline({{0, 0, 0}, {5, -1, 0}, {20, 0, 0}, {20, 20, 0}, {0, 20, 0}});
    DGDriver::QueueClick(TerrainSettingsDialogId, 47);
    DGDriver::QueueSetDouble(TerrainSettingsDialogTwinId, 42, 2.5);
    DGDriver::QueueClick(TerrainSettingsDialogTwinId, 1);
    DGDriver::QueueAlertAnswer(1);
    RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
    EXPECT_EQ(DGDriver::PendingActionCount(), 0u);
    const std::vector<API_Element> meshes = Meshes();
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(meshes[0].mesh.poly.nCoords, 5);
    EXPECT_EQ(meshes[0].mesh.level, -4.0 - 2.5);
    EXPECT_EQ(meshes[0].mesh.levelLines.nCoords, 5);  // the points inside and on the edges
    EXPECT_EQ(Db().Find(outline), nullptr);
    GS::Array<API_Guid> fills;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_HatchID, &fills), NoError);
    ASSERT_EQ(fills.GetSize(), 1u);
    ElemDescriptor d;
    EXPECT_TRUE(ElemUserData_ReadFromElement(d, ElemKind_Outline, Db().Find(fills[0])->record.header, false));
    EXPECT_EQ(Db().Find(fills[0])->record.Get().hatch.poly.nCoords, 5);
}

TEST_F(TerrainCommandsTest, CancelAndMissingCornersChangeNothing) {
    Site();
    DGDriver::QueueClick(TerrainSettingsDialogId, 2);
    RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
    EXPECT_TRUE(Meshes().empty());

    // A corner of the outline without a point: the outline keeps only its corners with points, 16 when too few.
    Outline({{0, 0, 0}, {30, 0, 0}, {30, 30, 0}, {0, 30, 0}});
    GS::Array<API_Guid> fills;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_HatchID, &fills), NoError);
    ASSERT_EQ(Command([&] { return ACAPI_Element_Delete(GS::Array<API_Guid>{fills[0]}); }), NoError);
    RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
    EXPECT_EQ(AlertTexts().size(), 1u);
    EXPECT_TRUE(Meshes().empty());
}

TEST_F(TerrainCommandsTest, AnOutlineThatCrossesItselfIsRefusedBeforeAnythingIsAsked) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) Point(10.0 * i, 10.0 * j, 100);
    // Every corner stands on a point, but the ring crosses itself in the middle: no surface lies inside it.
    const API_Guid bowTie = Outline({{0, 0, 0}, {20, 20, 0}, {20, 0, 0}, {0, 20, 0}});
    const size_t undoSteps = Db().UndoTexts().size();
    RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
    EXPECT_EQ(AlertTexts(), std::vector<std::string>{"The resulting polygon is not suitable."});
    for (const DGDriver::LogRecord& r : DGDriver::Log()) EXPECT_EQ(r.kind, "alert") << "dialog " << r.id;
    EXPECT_TRUE(Meshes().empty());
    EXPECT_NE(Db().Find(bowTie), nullptr);
    EXPECT_EQ(Db().UndoTexts().size(), undoSteps);
}

TEST_F(TerrainCommandsTest, MassEditWritesOnlyChangedFieldsAndOneIdIntoEveryMesh) {
    TerrainRecord r;
    for (int k = 0; k < 2; ++k) {
        API_Guid g = PlaceMesh(Name("mesh"));
        Db().FindMutable(g)->record.Edit([&](API_Element& rec) { rec.mesh.ridgePen = int16_t(20 + k); });
        Db().FindMutable(g)->memo.Mutable().elemInfoString = k == 0 ? u"NORTH" : u"SOUTH";
        Db().FindMutable(g)->record.Edit([](API_Element& rec) {
            API_MeshType& m = rec.mesh;
            m.sectPen = 3;
            m.sectFillPen = 5;
            m.overrideSectFillPen = 1;
        });
        Record(g, ElemKind_Terrain);
    }
    DGDriver::QueueClick(TerrainSettingsDialogId, 47);      // to the wide layout
    DGDriver::QueueClick(TerrainSettingsDialogTwinId, 34);  // bottom material override only
    DGDriver::QueueClick(TerrainSettingsDialogTwinId, 1);
    RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
    const std::vector<API_Element> meshes = Meshes();
    ASSERT_EQ(meshes.size(), 2u);
    for (const DGDriver::LogRecord& r : DGDriver::Log())
        if (r.id == TerrainSettingsDialogTwinId)
            for (const DGDriver::ItemState& i : r.items)
                if (i.id == 19) {
                    // The preview shows the section pens: the foreground (override on by default) and contour.
                    ASSERT_EQ(i.colours.size(), 2u);
                    EXPECT_EQ(i.colours[0].rfind("0: ", 0), 0u);
                    EXPECT_EQ(i.colours[1].rfind("2: ", 0), 0u);
                }
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(meshes[size_t(k)].mesh.overrideBotMat, 1);
        EXPECT_EQ(meshes[size_t(k)].mesh.ridgePen, 20 + k);  // each keeps its own pens
        // The ID text goes to every mesh, changed or not: the second takes the first one's.
        EXPECT_EQ(*Db().Find(meshes[size_t(k)].header.guid)->memo->elemInfoString, u"NORTH");
    }
}

// A memo the host will not give, at any read of a mass edit: the edit ends whole (every mesh changed and named)
// or, told, as before; never a mesh changed that kept its old name.
TEST_F(TerrainCommandsTest, AMassEditWhoseMemoCannotBeReadEndsWholeOrAsBeforeAndTold) {
    std::vector<API_Guid> guids;
    for (int k = 0; k < 2; ++k) {
        guids.push_back(PlaceMesh(Name("mesh")));
        Record(guids.back(), ElemKind_Terrain);
    }
    bool failedAtSomeRead = false;
    for (int32_t passes = 0; passes < 8; ++passes) {
        for (size_t k = 0; k < guids.size(); ++k) {
            Db().FindMutable(guids[k])->record.Edit([](API_Element& rec) { rec.mesh.overrideBotMat = 0; });
            Db().FindMutable(guids[k])->memo.Mutable().elemInfoString = k == 0 ? u"NORTH" : u"SOUTH";
        }
        DGDriver::ClearQueueAndLog();
        ASSERT_TRUE(host->FailCallAfter("Element_GetMemo", -1, APIERR_GENERAL, passes, 1));
        DGDriver::QueueClick(TerrainSettingsDialogId, 47);      // to the wide layout
        DGDriver::QueueClick(TerrainSettingsDialogTwinId, 34);  // bottom material override only
        DGDriver::QueueClick(TerrainSettingsDialogTwinId, 1);
        RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
        host->ClearFailures();
        int changed = 0, named = 0;
        for (const API_Guid& g : guids) {
            const API_Element mesh = Db().Find(g)->record;
            changed += mesh.mesh.overrideBotMat == 1 ? 1 : 0;
            named += *Db().Find(g)->memo->elemInfoString == u"NORTH" ? 1 : 0;
        }
        if (changed == 0) {
            failedAtSomeRead = true;
            EXPECT_EQ(named, 1) << passes;
            EXPECT_FALSE(AlertTexts().empty()) << passes;
        } else {
            EXPECT_EQ(changed, 2) << passes;
            EXPECT_EQ(named, 2) << passes;
        }
    }
    EXPECT_TRUE(failedAtSomeRead);
}

TEST_F(TerrainCommandsTest, WideLayoutChecksTheLevelsTypedInTheCompactOne) {
    Site();
    DGDriver::QueueClick(TerrainSettingsDialogId, 1);
    DGDriver::QueueAlertAnswer(1);
    RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
    ASSERT_EQ(Meshes().size(), 1u);
    // Editing: the lowest level typed up to the highest, then the switch and OK in the wide layout.
    DGDriver::QueueSetDouble(TerrainSettingsDialogId, 38, 102.0);
    DGDriver::QueueClick(TerrainSettingsDialogId, 47);
    DGDriver::QueueClick(TerrainSettingsDialogTwinId, 1);
    DGDriver::QueueAlertAnswer(1);
    DGDriver::QueueClick(TerrainSettingsDialogTwinId, 2);
    RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
    EXPECT_EQ(DGDriver::PendingActionCount(), 0u);
    const std::vector<std::string> alerts = AlertTexts();
    ASSERT_FALSE(alerts.empty());
    EXPECT_EQ(alerts.back(), "The levels inserted do not correspond.");
}

TEST_F(TerrainCommandsTest, NewTerrainSpreadsTheBandLevelsOverItsHeights) {
    Site();  // heights 100 to 102
    DGDriver::QueueClick(TerrainSettingsDialogId, 1);
    DGDriver::QueueAlertAnswer(1);
    RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
    const DGDriver::LogRecord* shown = nullptr;
    for (const DGDriver::LogRecord& r : DGDriver::Log())
        if (r.kind == "modal" && r.id == TerrainSettingsDialogId) shown = &r;
    ASSERT_NE(shown, nullptr);
    const auto item = [&](int16_t id) {
        for (const DGDriver::ItemState& i : shown->items)
            if (i.id == id) return i;
        return DGDriver::ItemState();
    };
    EXPECT_DOUBLE_EQ(item(27).value, 102.0);
    EXPECT_DOUBLE_EQ(item(30).value, 100.0 + 4.0 / 3.0);
    EXPECT_DOUBLE_EQ(item(34).value, 100.0 + 2.0 / 3.0);
    EXPECT_DOUBLE_EQ(item(38).value, 100.0);
    EXPECT_DOUBLE_EQ(item(38).minValue, 100.0);
    EXPECT_DOUBLE_EQ(item(27).maxValue, 102.0);
    EXPECT_EQ(item(41).value, 0.0);  // box 41 starts off for a new terrain
    EXPECT_EQ(contours.gradient, 0);
}

TEST_F(TerrainCommandsTest, MeshConversionAndOrphanRemoval) {
    const API_Guid plain = PlaceMesh("plain");
    Db().FindMutable(plain)->record.Edit(
        [&](API_Element& rec) { rec.mesh.skirtLevel = -10.0; });  // heights 1 to 4: the skirt must reach below 1
    Select({plain});
    DGDriver::QueueClick(32527, 1);  // "Convert"
    RunMeshConversion(GlobalSettings, Ports().terrainDialogs);
    EXPECT_EQ(DGDriver::PendingActionCount(), 0u);
    ElemDescriptor d;
    EXPECT_TRUE(ElemUserData_ReadFromElement(d, ElemKind_Terrain, Db().Find(plain)->record.header, false));
    EXPECT_EQ(Db().Find(plain)->record.Get().mesh.skirtLevel, 0.0);
    RunMeshConversion(GlobalSettings, Ports().terrainDialogs);  // a terrain exists: nothing at all
    EXPECT_TRUE(AlertTexts().empty());
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(std::string(LODRAVIX_SOURCE_DIR) + "/library", &why)) << why;
    const int32_t libRoad = host->Project().libraries.FindByName("VY_ROAD", 0);
    ASSERT_GT(libRoad, 0);

    // Objects linked to the live terrain (its GUID text in either case) stay; one linked to a gone terrain goes.
    const auto linked = [&](const std::string& terrainText) {
        const API_Guid g = PlaceObject(API_ObjectID, libRoad, Name("linked"));
        ElemDescriptor o;
        o.TerrainGuid = QV_String(terrainText.c_str());
        const API_Elem_Head head = Db().Find(g)->record.header;
        EXPECT_EQ(Command([&] { return ElemUserData_WriteRecord(o, ElemKind_Road, head) ? NoError : APIERR_GENERAL; }),
                  NoError);
        return g;
    };
    QV_String text;
    GuidToText(text, plain);
    std::string live = text.ToStdString();
    std::string upper = live;
    for (char& ch : upper) ch = char(std::toupper(static_cast<unsigned char>(ch)));
    const API_Guid keep1 = linked(live), keep2 = linked(upper);
    const API_Guid gone = linked("12345678-1234-1234-1234-123456789ABC");
    ASSERT_EQ(Command([] { return DeleteOrphanedObjects() ? NoError : APIERR_GENERAL; }), NoError);
    EXPECT_NE(Db().Find(keep1), nullptr);
    EXPECT_NE(Db().Find(keep2), nullptr);
    EXPECT_EQ(Db().Find(gone), nullptr);
}

TEST_F(TerrainCommandsTest, CopiedTerrainGetsItsOwnIdentifierAndAChangedOneItsSkirt) {
    const API_Guid terrain = PlaceMesh(Name("terrain"));
    Record(terrain, ElemKind_Terrain);
    API_Guid copy = {};
    ASSERT_EQ(host->Events().UserCopy(terrain, {100, 0, 0}, Name("copy"), &copy), NoError);
    QV_List<API_Elem_Head> heads;
    heads.Insert(Db().Find(copy)->record.header);
    ASSERT_EQ(
        Command([&] { return CollectTerrainElements(Ports().elementEditor, 2, heads, {}) ? NoError : APIERR_GENERAL; }),
        NoError);
    ElemDescriptor d;
    ASSERT_TRUE(ElemUserData_ReadFromElement(d, ElemKind_Terrain, Db().Find(copy)->record.header, false));
    QV_String own;
    GuidToText(own, copy);
    EXPECT_EQ(d.TerrainId.ToStdString().rfind(own.ToStdString(), 0), 0u) << d.TerrainId.ToStdString();

    // The user lowers the skirt above the terrain's lowest point (height 1) and hides the plan triangles'
    // switch: the change puts both right.
    QV_List<API_Element> parents;
    parents.Insert(Db().Find(terrain)->record);
    Db().FindMutable(terrain)->record.Edit([&](API_Element& rec) { rec.mesh.skirtLevel = -5.0; });
    Db().FindMutable(terrain)->record.Edit([&](API_Element& rec) { rec.mesh.showPlanTriangles = 0; });
    heads.Clear();
    heads.Insert(Db().Find(terrain)->record.header);
    ASSERT_EQ(Command([&] {
                  return CollectTerrainElements(Ports().elementEditor, 3, heads, parents) ? NoError : APIERR_GENERAL;
              }),
              NoError);
    EXPECT_EQ(Db().Find(terrain)->record.Get().mesh.skirtLevel, 0.0);
    EXPECT_EQ(Db().Find(terrain)->record.Get().mesh.showPlanTriangles, 1);
}

TEST_F(TerrainCommandsTest, CopyOnALockedLayerIsLeftAloneAndAFailedRebuildTakesItsSkirtsBack) {
    const API_Guid terrain = PlaceMesh(Name("terrain"));
    Record(terrain, ElemKind_Terrain);
    ElemDescriptor original;
    ASSERT_TRUE(ElemUserData_ReadFromElement(original, ElemKind_Terrain, Db().Find(terrain)->record.header, false));

    // A copy the user put on a locked layer cannot be written: the new-element update passes it by, and succeeds.
    const int32_t locked = Layer("Locked", APILay_Locked);
    API_Guid copy = {};
    ASSERT_EQ(host->Events().UserCopy(terrain, {100, 0, 0}, Name("copy"), &copy), NoError);
    Db().FindMutable(copy)->record.Edit([&](API_Element& rec) { rec.header.layer = locked; });
    QV_List<API_Elem_Head> heads;
    heads.Insert(Db().Find(copy)->record.header);
    for (const int32_t mode : {1, 2}) {
        ASSERT_EQ(Command([&] {
                      return CollectTerrainElements(Ports().elementEditor, mode, heads, {}) ? NoError : APIERR_GENERAL;
                  }),
                  NoError);
        ElemDescriptor d;
        ASSERT_TRUE(ElemUserData_ReadFromElement(d, ElemKind_Terrain, Db().Find(copy)->record.header, false));
        EXPECT_EQ(d.TerrainId.ToStdString(), original.TerrainId.ToStdString()) << mode;
    }

    // A rebuild over a terrain whose skirt needs the rule and one that is gone: nothing changes, no undo step.
    Db().FindMutable(terrain)->record.Edit([&](API_Element& rec) { rec.mesh.skirtLevel = -5.0; });
    const API_Guid gone = PlaceMesh(Name("gone"));
    QV_List<API_Element> meshes;
    meshes.Insert(Db().Find(terrain)->record);
    meshes.Insert(Db().Find(gone)->record);
    ASSERT_EQ(Command([&] { return Db().DeleteElements(&gone, 1); }), NoError);
    const size_t steps = Db().UndoTexts().size();
    EXPECT_EQ(RebuildTerrain(Ports().contourLineRefresh, meshes), ErrModifying);
    EXPECT_EQ(Db().Find(terrain)->record.Get().mesh.skirtLevel, -5.0);
    EXPECT_EQ(Db().UndoTexts().size(), steps);
    meshes.Clear();
    meshes.Insert(Db().Find(terrain)->record);
    EXPECT_EQ(RebuildTerrain(Ports().contourLineRefresh, meshes), 0);
    EXPECT_EQ(Db().Find(terrain)->record.Get().mesh.skirtLevel, 0.0);
}

TEST_F(TerrainCommandsTest, LinkedObjectsFollowALiftedOrDraggedTerrainButResultObjectsDoNotDrag) {
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(std::string(LODRAVIX_SOURCE_DIR) + "/library", &why)) << why;
    const int32_t libRoad = host->Project().libraries.FindByName("VY_ROAD", 0);
    ASSERT_GT(libRoad, 0);
    const API_Guid terrain = PlaceMesh(Name("terrain")), other = PlaceMesh(Name("other"));
    Record(terrain, ElemKind_Terrain);
    Record(other, ElemKind_Terrain);
    const auto road = [&](const API_Guid& on, const char* role) {
        const API_Guid g = PlaceObject(API_ObjectID, libRoad, Name("road"));
        for (StoredParam& p : *Db().FindMutable(g)->memo.Mutable().params)
            if (std::string(p.record.name) == "operatore") {
                const std::u16string text(role, role + std::strlen(role));
                std::memset(p.record.value.uStr, 0, sizeof p.record.value.uStr);
                std::copy(text.begin(), text.end(), p.record.value.uStr);
            }
        ElemDescriptor o;
        GuidToText(o.TerrainGuid, on);
        const API_Elem_Head head = Db().Find(g)->record.header;
        EXPECT_EQ(Command([&] { return ElemUserData_WriteRecord(o, ElemKind_Road, head) ? NoError : APIERR_GENERAL; }),
                  NoError);
        return g;
    };
    const API_Guid result = road(terrain, "result"), cut = road(terrain, "cut"), elsewhere = road(other, "cut");
    struct Recorder final : ElementEditor {
        std::vector<std::pair<API_EditPars, std::vector<API_Guid>>> edits;
        GSErrCode Edit(const GS::Array<API_Neig>& neigs, const API_EditPars& pars) override {
            std::vector<API_Guid> guids;
            for (const API_Neig& n : neigs) guids.push_back(n.guid);
            edits.push_back({pars, guids});
            return NoError;
        }
    } recorder;
    auto& edits = recorder.edits;
    const auto sameSet = [](std::vector<API_Guid> a, std::vector<API_Guid> b) {
        const auto less = [](const API_Guid& x, const API_Guid& y) { return std::memcmp(&x, &y, sizeof x) < 0; };
        std::sort(a.begin(), a.end(), less);
        std::sort(b.begin(), b.end(), less);
        return a == b;
    };

    // The terrain raised by 0.5: every object linked to it goes up by 0.5, the other terrain's stays.
    QV_List<API_Element> parents;
    parents.Insert(Db().Find(terrain)->record);
    Db().FindMutable(terrain)->record.Edit([&](API_Element& rec) { rec.mesh.level += 0.5; });
    QV_List<API_Elem_Head> heads;
    heads.Insert(Db().Find(terrain)->record.header);
    ASSERT_EQ(Command([&] { return CollectTerrainElements(recorder, 3, heads, parents) ? NoError : APIERR_GENERAL; }),
              NoError);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].first.typeID, APIEdit_Elevate);
    EXPECT_EQ(edits[0].first.endC.z, 0.5);
    EXPECT_TRUE(sameSet(edits[0].second, {result, cut}));

    // A drag of the terrain: its cut object follows, its result object is rebuilt by its set instead.
    edits.clear();
    PendingUpdate.editPars = {};
    PendingUpdate.editPars.typeID = APIEdit_Drag;
    PendingUpdate.editPars.endC = API_Coord3D{3, 4, 0};
    ASSERT_EQ(Command([&] { return CollectTerrainElements(recorder, 4, heads, {}) ? NoError : APIERR_GENERAL; }),
              NoError);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].first.typeID, APIEdit_Drag);
    EXPECT_TRUE(sameSet(edits[0].second, {cut}));
    (void)elsewhere;

    // A general edit moves nothing.
    edits.clear();
    PendingUpdate.editPars.typeID = APIEdit_General;
    ASSERT_EQ(Command([&] { return CollectTerrainElements(recorder, 4, heads, {}) ? NoError : APIERR_GENERAL; }),
              NoError);
    EXPECT_TRUE(edits.empty());
    PendingUpdate.Reset();
}

TEST_F(TerrainCommandsTest, WithoutTerrainOrOutlineTheDefaultsAreEdited) {
    const uint16_t before = GlobalSettings.terrain.contourPen;
    DGDriver::QueueSetLong(TerrainSettingsDialogId, 11, 9);
    DGDriver::QueueClick(TerrainSettingsDialogId, 2);
    RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
    EXPECT_EQ(GlobalSettings.terrain.contourPen, before);

    DGDriver::QueueSetLong(TerrainSettingsDialogId, 11, 9);
    DGDriver::QueueClick(TerrainSettingsDialogId, 1);
    RunTerrain(GlobalSettings, Ports().terrainDialogs, contours);
    EXPECT_EQ(DGDriver::PendingActionCount(), 0u);
    EXPECT_EQ(GlobalSettings.terrain.contourPen, 9);
    EXPECT_TRUE(Meshes().empty());
    const DGDriver::LogRecord& shown = DGDriver::Log().back();
    for (const DGDriver::ItemState& i : shown.items)
        if (i.id == 27 || i.id == 30 || i.id == 34 || i.id == 38 || i.id == 41) {
            EXPECT_FALSE(i.enabled) << i.id;
        }
}

}  // namespace terrain_commands_test
