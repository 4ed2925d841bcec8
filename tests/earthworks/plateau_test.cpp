// The plateau tool on the in-process stand-in host over the add-on's library: plateaus on hatches over a terrain on
// the plane z = 100 + 0.1x + 0.05y, their three linked objects, the slope line of a sloped one, failures that leave
// no part of a plateau, mass edits and the rebuild of a moved, rotated and mirrored object.
#include "FakeContourLineRefresh.hpp"
#include "FakeEarthworkDialogs.hpp"
#include "GridTerrain.hpp"
#include "LibraryHost.hpp"

#include "earthworks/Digging.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/LibPart.hpp"
#include "settings/Settings.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <set>

namespace plateau_test {

double Plane(double x, double y) { return 100.0 + 0.1 * x + 0.05 * y; }

// What the fake dialog does: confirm or cancel, edit the record and mark fields, and, through the second layout,
// give a new direction.
struct FakeDialog {
    bool confirms = true;
    std::function<void(PlateauSettings&)> edit;
    std::vector<int16_t> changes;
    bool newDirection = false;
    double direction = 0.0;
} Dialog;

DialogAnswer FakePlateauDialog(PlateauDialogState& state, int32_t layout) {
    if (!Dialog.confirms) return DialogAnswer::Cancelled;
    if (Dialog.newDirection && layout == 0) {
        state.layoutSwitch = 1;
        return DialogAnswer::Cancelled;
    }
    if (Dialog.edit) Dialog.edit(state.record);
    for (int16_t id : Dialog.changes) state.changed[id] = 1;
    if (Dialog.newDirection) {
        state.direction = Dialog.direction;
        state.directionChanged = 1;
    }
    return DialogAnswer::Confirmed;
}

struct Plateau {
    API_Element element;
    std::string role, name;
    QV_List<QV_Coord3DLong> rows;
    double level = 0.0, cutAngle = 0.0, fillAngle = 0.0, skirt = 0.0;
    bool sloped = false;
};

class PlateauToolTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        if (HasFatalFailure()) return;
        Dialog = FakeDialog();
        Dialog.edit = [](PlateauSettings& r) { r.level = 105.0; };
        dialogs.plateau = FakePlateauDialog;
        terrain = PlaceTerrain(GridTerrainPoints(Plane));
    }
    API_Element Hatch(const std::vector<API_Coord3D>& points) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_HatchID, points, true, 1, "hatch" + std::to_string(++hatches), &g),
                  NoError);
        return Get(g);
    }
    // The terrain's base level and skirt, as a hand edit sets them.
    void SetTerrainLevels(double level, double skirt) {
        API_Element mesh = Get(terrain.header.guid);
        API_Element mask = {};
        std::memset(&mask.mesh.level, 0xFF, sizeof mask.mesh.level);
        std::memset(&mask.mesh.skirtLevel, 0xFF, sizeof mask.mesh.skirtLevel);
        mesh.mesh.level = level;
        mesh.mesh.skirtLevel = skirt;
        ASSERT_EQ(Command([&] { return ACAPI_Element_Change(&mesh, &mask, nullptr, 0); }), NoError);
    }
    std::vector<Plateau> Plateaus() {
        std::vector<Plateau> out;
        for (const API_Element& e : Objects(ElemKind_Plateau)) {
            Plateau p;
            p.element = e;
            p.sloped = e.object.libInd == SlopedPlateauLibIndex;
            API_ElementMemo memo = {};
            EXPECT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
            DiggingLP view(ElemKind_Plateau, p.sloped ? 1 : 0);
            view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
            QV_String role;
            EXPECT_TRUE(view.GetSetString(BaseIDParam::Operatore, role, LPMode_Get));
            p.role = role.ToStdString();
            EXPECT_TRUE(BaseIDLP::ExchangePerimetroBase(view, p.rows, LPMode_Get));
            p.level = view.GetParamDouble(QV_String("livello"));
            p.cutAngle = view.GetParamDouble(QV_String("slope_angle_cut"));
            p.fillAngle = view.GetParamDouble(QV_String("slope_angle_fill"));
            p.skirt = view.GetParamDouble(QV_String("mesh_skirt"));
            view.Detach();
            ACAPI_DisposeElemMemoHdls(&memo);
            GS::UniString info;
            API_Guid guid = e.header.guid;
            if (ACAPI_Database(APIDb_GetElementInfoStringID, &guid, &info) == NoError) p.name = info.ToUtf8();
            out.push_back(p);
        }
        return out;
    }
    API_Element ResultOf(const std::vector<Plateau>& all, size_t set) {
        size_t seen = 0;
        for (const Plateau& p : all)
            if (p.role == "result" && seen++ == set) return p.element;
        ADD_FAILURE() << "no result object " << set;
        return {};
    }
    API_Element terrain = {};
    int hatches = 0;
    FakeEarthworkDialogs dialogs;
    FakeContourLineRefresh contours;
};

TEST_F(PlateauToolTest, RowsCarryThePlanesHeightsAndTheObjectsAreLinked) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> at(10.0, 150.0), size(5.0, 40.0);
    for (int run = 0; run < 5; ++run) {
        // The first is the hatch of the example; the others any rectangle inside the terrain.
        const double x0 = run == 0 ? 20.0 : at(rng), y0 = run == 0 ? 20.0 : at(rng) * 0.5;
        const double w = run == 0 ? 40.0 : size(rng), h = run == 0 ? 20.0 : size(rng) * 0.5;
        const std::vector<API_Coord3D> corners = {{x0, y0, 0}, {x0 + w, y0, 0}, {x0 + w, y0 + h, 0}, {x0, y0 + h, 0}};
        // The rows carry the height the terrain's 3D model gives at a corner, which an earlier plateau's cut or
        // fill changes where they overlap: each run has a terrain of its own, on the plane.
        if (run > 0) terrain = PlaceTerrain(GridTerrainPoints(Plane), "terrain " + std::to_string(run));
        const size_t before = Plateaus().size();
        {
            DiggingCls cls;
            ASSERT_EQ(cls.CreateFromPolygon(GlobalSettings, dialogs, contours, Hatch(corners), terrain), 0) << run;
        }
        std::vector<Plateau> all = Plateaus();
        ASSERT_EQ(all.size(), before + 3);
        std::map<std::string, API_Element> byRole;
        for (size_t k = before; k < all.size(); ++k) {
            const Plateau& p = all[k];
            byRole[p.role] = p.element;
            EXPECT_FALSE(p.sloped);
            EXPECT_EQ(p.level, 105.0);
            ASSERT_EQ(p.rows.GetCount(), 4) << "the closing vertex is left out";
            EXPECT_NEAR(p.element.object.pos.x, x0, 1e-9);
            EXPECT_NEAR(p.element.object.pos.y, y0, 1e-9);
            for (int32_t i = 0; i < 4; ++i) {
                const double x = p.rows[i].x + x0, y = p.rows[i].y + y0;
                EXPECT_NEAR(p.rows[i].z, Plane(x, y), 1e-6) << run;
                bool corner = false;
                for (const API_Coord3D& c : corners)
                    corner = corner || (std::fabs(c.x - x) + std::fabs(c.y - y) < 1e-9);
                EXPECT_TRUE(corner) << x << " " << y;
            }
            const double example[4] = {103, 107, 108, 104};
            for (int32_t i = 0; run == 0 && i < 4; ++i) EXPECT_NEAR(p.rows[i].z, example[i], 1e-6);
        }
        ASSERT_EQ(byRole.size(), 3u);
        API_Attribute operators = {};
        ASSERT_TRUE(ReadLayerByName(QV_String("VY_Operators"), &operators));
        EXPECT_EQ(byRole["cut"].header.layer, operators.header.index);
        EXPECT_EQ(byRole["fill"].header.layer, operators.header.index);
        EXPECT_EQ(byRole["result"].header.layer, 1);
        uint32_t operation = 0;
        ASSERT_EQ(ACAPI_Element_SolidLink_GetOperation(terrain.header.guid, byRole["cut"].header.guid, &operation),
                  NoError);
        EXPECT_EQ(operation, APISolid_SubtractUpwards);
        ASSERT_EQ(ACAPI_Element_SolidLink_GetOperation(terrain.header.guid, byRole["fill"].header.guid, &operation),
                  NoError);
        EXPECT_EQ(operation, APISolid_Add);
    }
    // A plain plateau has no slope names: reading one fails.
    API_ElementMemo memo = {};
    ASSERT_EQ(ACAPI_Element_GetMemo(ResultOf(Plateaus(), 0).header.guid, &memo, AttachMemoMask), NoError);
    DiggingLP view(ElemKind_Plateau, 0);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    double direction = 0.0;
    EXPECT_FALSE(view.GetSetDouble(42, direction, LPMode_Get));
    view.Detach();
    ACAPI_DisposeElemMemoHdls(&memo);
    GS::Array<API_Guid> slabs;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_SlabID, &slabs), NoError);
    EXPECT_EQ(slabs.GetSize(), 0u);
}

TEST_F(PlateauToolTest, VectorAngleAroundTheCircle) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> angle(0.0, 2.0 * M_PI), length(1e-3, 1e3);
    for (int i = 0; i < 500; ++i) {
        const double a = angle(rng), r = length(rng);
        const double got = VectorAngle({5, -7}, {5 + r * std::cos(a), -7 + r * std::sin(a)}, 1e-7);
        EXPECT_GE(got, 0.0);
        EXPECT_LT(got, 2.0 * M_PI);
        EXPECT_NEAR(std::remainder(got - a, 2.0 * M_PI), 0.0, 1e-9) << a;
    }
    EXPECT_EQ(VectorAngle({1, 1}, {1, -4}, 1e-7), 1.5 * M_PI);
    EXPECT_EQ(VectorAngle({1, 1}, {1, 1}, 1e-7), 0.0);
    EXPECT_EQ(VectorAngle({1, 1}, {9, 1}, 1e-7), 0.0);
    EXPECT_EQ(VectorAngle({0, 0}, {-2, 0}, 1e-7), M_PI);
}

TEST_F(PlateauToolTest, ASlopedPlateauTakesItsDirectionAndOriginFromTheLine) {
    Dialog.edit = [](PlateauSettings& r) {
        r.level = 105.0;
        r.sloped = 1;
    };
    const API_Element hatch = Hatch({{20, 20, 0}, {60, 20, 0}, {60, 40, 0}, {20, 40, 0}});
    // The line cancelled at its second click: nothing placed, nothing said, the defaults kept.
    host->Input().QueuePoint(30, 25);
    {
        DiggingCls cls;
        EXPECT_EQ(cls.CreateFromPolygon(GlobalSettings, dialogs, contours, hatch, terrain), 0);
    }
    EXPECT_TRUE(Plateaus().empty());
    EXPECT_EQ(GlobalSettings.plateau.sloped, 1);
    // A host failure of the line input: 28, nothing placed.
    ASSERT_TRUE(host->FailCall("Interface", -1, APIERR_GENERAL));
    {
        DiggingCls cls;
        EXPECT_EQ(cls.CreateFromPolygon(GlobalSettings, dialogs, contours, hatch, terrain), 28);
    }
    host->ClearFailures();
    EXPECT_TRUE(Plateaus().empty());

    host->Input().QueuePoint(30, 25);
    host->Input().QueuePoint(30, 15);
    {
        DiggingCls cls;
        ASSERT_EQ(cls.CreateFromPolygon(GlobalSettings, dialogs, contours, hatch, terrain), 0);
    }
    const std::vector<Plateau> all = Plateaus();
    ASSERT_EQ(all.size(), 3u);
    for (const Plateau& p : all) {
        EXPECT_TRUE(p.sloped);
        EXPECT_NEAR(Param(p.element, "slope_direction"), 1.5 * M_PI, 1e-12);
        EXPECT_NEAR(Param(p.element, "X_origo"), 10.0, 1e-9);
        EXPECT_NEAR(Param(p.element, "Y_origo"), 5.0, 1e-9);
        EXPECT_NEAR(Param(p.element, "slope"), M_PI / 36.0, 1e-12);
    }
}

TEST_F(PlateauToolTest, FailuresLeaveNoPartOfAPlateau) {
    const API_Element hatch = Hatch({{20, 20, 0}, {60, 20, 0}, {60, 40, 0}, {20, 40, 0}});
    Dialog.confirms = false;
    {
        DiggingCls cls;
        EXPECT_EQ(cls.CreateFromPolygon(GlobalSettings, dialogs, contours, hatch, terrain), 0);
    }
    EXPECT_TRUE(Plateaus().empty());
    Dialog.confirms = true;
    // The host refuses the second or the third object: the ones placed before it go again.
    for (int32_t passes : {1, 2}) {
        DiggingCls cls;
        PlateauLibIndex = SearchLibPartByName(QV_String("VY_PLATEAU"), APILib_ObjectID);
        ASSERT_GT(PlateauLibIndex, 0);
        cls.settings = GlobalSettings.plateau;
        cls.pickHead = hatch.header;
        ASSERT_TRUE(cls.ReadElement(terrain, true) &&
                    cls.BuildPrimitives(BaseCls::PrimitiveOptions().ReverseWhenOriented().CloseCodes()));
        bool built = true;
        ASSERT_EQ(Command([&] {
                      if (!cls.CreateElementBodyFromMesh()) return GSErrCode(-1);
                      host->FailCallAfter("Element_Create", -1, APIERR_GENERAL, passes);
                      built = cls.BuildObjects() == CommandEnd::Done;
                      host->ClearFailures();
                      return NoError;
                  }),
                  NoError);
        EXPECT_FALSE(built);
        EXPECT_TRUE(Plateaus().empty()) << passes;
    }
    // Three hatches, the second gone before the command reads it: the command is taken back with the first plateau,
    // the third is not built.
    const API_Element gone = Hatch({{80, 20, 0}, {100, 20, 0}, {100, 40, 0}});
    GS::Array<API_Guid> one;
    one.Push(gone.header.guid);
    ASSERT_EQ(Command([&] { return ACAPI_Element_Delete(one); }), NoError);
    QV_List<API_Element> list;
    list.Insert(hatch);
    list.Insert(gone);
    list.Insert(Hatch({{120, 20, 0}, {140, 20, 0}, {140, 40, 0}}));
    {
        DiggingCls cls;
        EXPECT_EQ(cls.Create(GlobalSettings, dialogs, contours, list, terrain), 43);
    }
    EXPECT_TRUE(Plateaus().empty());
}

// Only a negative plateau level above the terrain's skirt lifts the skirt, before any object is made; the
// terrain's base level stays, and the objects carry the new skirt.
TEST_F(PlateauToolTest, ANegativeLevelAboveTheSkirtLiftsIt) {
    const API_Element hatch = Hatch({{20, 20, 0}, {60, 20, 0}, {60, 40, 0}, {20, 40, 0}});
    const struct { double skirt, level, want; } cases[] = {{-5.0, -3.0, -3.0}, {-2.0, -3.0, -2.0}, {-5.0, 10.0, -5.0}};
    for (const auto& c : cases) {
        SetTerrainLevels(-4.0, c.skirt);
        Dialog.edit = [&](PlateauSettings& r) { r.level = c.level; };
        DiggingCls cls;
        ASSERT_EQ(cls.CreateFromPolygon(GlobalSettings, dialogs, contours, hatch, Get(terrain.header.guid)), 0);
        EXPECT_EQ(Get(terrain.header.guid).mesh.skirtLevel, c.want) << c.skirt << " " << c.level;
        EXPECT_EQ(Get(terrain.header.guid).mesh.level, -4.0) << c.skirt << " " << c.level;
        const std::vector<Plateau> all = Plateaus();
        ASSERT_FALSE(all.empty());
        EXPECT_EQ(all.back().skirt, c.want) << c.skirt << " " << c.level;
    }
}

TEST_F(PlateauToolTest, AMassEditWritesTheChangedFieldsAndTheFirstNameOnAll) {
    for (const char* name : {"FIRST", "SECOND"}) {
        GlobalSettings.plateau.name = QV_String(name);
        DiggingCls cls;
        const double x = std::string(name) == "FIRST" ? 20.0 : 100.0;
        ASSERT_EQ(cls.CreateFromPolygon(GlobalSettings, dialogs, contours,
                                        Hatch({{x, 20, 0}, {x + 30, 20, 0}, {x + 30, 50, 0}, {x, 50, 0}}), terrain),
                  0);
    }
    const std::vector<Plateau> all = Plateaus();
    QV_List<API_Element> picked;
    picked.Insert(ResultOf(all, 0));
    picked.Insert(ResultOf(all, 1));
    // Nothing changed: success, and each keeps its own name.
    Dialog.edit = nullptr;
    {
        DiggingCls cls;
        EXPECT_EQ(cls.ModifySelected(dialogs, picked), 0);
    }
    std::set<std::string> names;
    for (const Plateau& p : Plateaus()) names.insert(p.name);
    EXPECT_EQ(names, (std::set<std::string>{"FIRST", "SECOND"}));
    // The cut angle changed: it reaches all six objects; the fill angle stays; the first one's name is on all.
    Dialog.edit = [](PlateauSettings& r) { r.cutAngle = 0.5; };
    Dialog.changes = {PlateauSettings::Id::cutAngle};
    {
        DiggingCls cls;
        EXPECT_EQ(cls.ModifySelected(dialogs, picked), 0);
    }
    for (const Plateau& p : Plateaus()) {
        EXPECT_NEAR(p.cutAngle, 0.5, 1e-12) << p.role;
        EXPECT_NEAR(p.fillAngle, M_PI / 4.0, 1e-12);
        EXPECT_EQ(p.level, 105.0);
        EXPECT_EQ(p.name, "FIRST");
    }
    // From the 3D window, a plan database that cannot be reached is reported as such.
    Window(APIWind_3DModelID);
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("CDAT")), APIERR_GENERAL));
    DiggingCls cls;
    EXPECT_EQ(cls.ModifySelected(dialogs, picked), 42);
}

TEST_F(PlateauToolTest, ARebuildMeasuresTheTerrainListsFromTheFirstRowInTheWorld) {
    {
        DiggingCls cls;
        ASSERT_EQ(cls.CreateFromPolygon(GlobalSettings, dialogs, contours,
                                        Hatch({{20, 20, 0}, {60, 20, 0}, {60, 40, 0}, {20, 40, 0}}), terrain),
                  0);
    }
    API_Element result = ResultOf(Plateaus(), 0);
    // Turned a quarter, mirrored and moved, its first row moved off the origin; it stays on the terrain, or its
    // rebuild would be refused.
    API_Element mask = {};
    std::memset(&mask.object.angle, 0xFF, sizeof mask.object.angle);
    std::memset(&mask.object.reflected, 0xFF, sizeof mask.object.reflected);
    std::memset(&mask.object.pos, 0xFF, sizeof mask.object.pos);
    result.object.angle = M_PI / 2.0;
    result.object.reflected = 1;
    result.object.pos = {30.0, 65.0};
    ASSERT_EQ(Command([&] { return ACAPI_Element_Change(&result, &mask, nullptr, 0); }), NoError);
    result = Get(result.header.guid);
    API_ElementMemo memo = {};
    ASSERT_EQ(ACAPI_Element_GetMemo(result.header.guid, &memo, AttachMemoMask), NoError);
    DiggingLP view(ElemKind_Plateau, 0);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    QV_List<QV_Coord3DLong> rows;
    ASSERT_TRUE(BaseIDLP::ExchangePerimetroBase(view, rows, LPMode_Get));
    rows[0].x = 1.0;
    rows[0].y = 0.0;
    ASSERT_TRUE(BaseIDLP::ExchangePerimetroBase(view, rows, LPMode_Set));
    memo.params = reinterpret_cast<API_AddParType**>(view.params);
    view.Detach();
    ASSERT_EQ(Command([&] { return ChangeElementMemo(&result, &memo); }), NoError);
    ACAPI_DisposeElemMemoHdls(&memo);
    {
        DiggingCls cls;
        ASSERT_EQ(cls.Rebuild(contours, result), 0);
    }
    // Mirror first (1, 0) -> (-1, 0), then a quarter turn -> (0, -1), then the position.
    const double ox = 30.0, oy = 64.0;
    BaseCls reference;
    ASSERT_TRUE(reference.ReadElement(terrain, false));
    ASSERT_GT(reference.frameFirst.GetCount(), 0);
    for (const Plateau& p : Plateaus()) {
        ASSERT_EQ(ACAPI_Element_GetMemo(p.element.header.guid, &memo, AttachMemoMask), NoError);
        BaseLP cuts;
        cuts.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<double> cells;
        int32_t rowsCount = 0, columns = 0;
        ASSERT_TRUE(cuts.GetSetDoubleArrayByName(QV_String("cuts_node"), cells, rowsCount, columns, LPMode_Get));
        cuts.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        ASSERT_EQ(columns, 6);
        ASSERT_GE(rowsCount, reference.frameFirst.GetCount());
        for (int32_t i = 0; i < reference.frameFirst.GetCount(); ++i) {
            EXPECT_NEAR(cells[size_t(i) * 6], reference.frameFirst[i].x - ox, 1e-9) << p.role;
            EXPECT_NEAR(cells[size_t(i) * 6 + 1], reference.frameFirst[i].y - oy, 1e-9);
        }
    }
}

// A failed host call in the edit, the data update or the creation of a plateau leaves the project exactly as it
// was: no level read from a failed story query, no name the host could not tell, no objects changed before a
// refused one, no skirt raised beside objects that still carry the old one.
TEST_F(PlateauToolTest, AnyRefusalLeavesThePlateausAsTheyWere) {
    for (const char* name : {"FIRST", "SECOND"}) {
        GlobalSettings.plateau.name = QV_String(name);
        DiggingCls cls;
        ASSERT_EQ(cls.CreateFromPolygon(GlobalSettings, dialogs, contours,
                                        Hatch({{20, 20, 0}, {60, 20, 0}, {60, 40, 0}, {20, 40, 0}}), terrain),
                  0);
    }
    QV_List<API_Element> picked;
    picked.Insert(ResultOf(Plateaus(), 0));
    picked.Insert(ResultOf(Plateaus(), 1));
    Dialog.edit = [](PlateauSettings& r) { r.cutAngle = 0.5; };
    Dialog.changes = {PlateauSettings::Id::cutAngle};
    const auto modify = [&] {
        DiggingCls cls;
        return cls.ModifySelected(dialogs, picked);
    };
    const auto rebuild = [&] {
        DiggingCls cls;
        return cls.Rebuild(contours, picked[0]);
    };
    const struct {
        const char* function;
        int32_t key, passes;
        std::function<int32_t()> run;
    } refusals[] = {
        {"Environment", -1, 0, rebuild},                         // the story's level among them
        {"Database", int32_t(API_Selector("GEIS")), 0, modify},  // the name every plateau takes
        {"Element_ChangeParameters", -1, 0, modify},             // the first plateau refused
        {"Element_ChangeParameters", -1, 1, modify},             // the second one, after the first changed
        {"Element_Change", -1, 2, modify},                       // a partner of the second
    };
    for (const auto& refusal : refusals)
        ExpectRefusalTakenBack(refusal.function, refusal.key, refusal.passes, 43, refusal.run);

    // A plateau below the skirt lifts it and every object on the terrain takes the new skirt in the same command. A
    // refusal before its objects stand takes the lift back too; one while they are linked keeps them, unlinked,
    // beside objects that all carry the lifted skirt.
    SetTerrainLevels(-4.0, -5.0);
    Dialog.edit = [](PlateauSettings& r) { r.level = -3.0; };
    const API_Element low = Hatch({{80, 20, 0}, {120, 20, 0}, {120, 40, 0}, {80, 40, 0}});
    const auto create = [&] {
        DiggingCls cls;
        return cls.CreateFromPolygon(GlobalSettings, dialogs, contours, low, Get(terrain.header.guid));
    };
    for (const char* function : {"Element_ChangeParameters", "Element_GetMemo", "LibPart_Get", "Element_Create"})
        for (int32_t passes = 0; passes < 8; ++passes) {
            const nlohmann::ordered_json before = Db().ToJson();
            ASSERT_TRUE(host->FailCallAfter(function, -1, APIERR_GENERAL, passes));
            const int32_t code = create();
            host->ClearFailures();
            if (code == 0) {
                ASSERT_TRUE(Db().Undo());
                continue;
            }
            EXPECT_EQ(code, 43) << function << " " << passes;
            if (Db().ToJson() == before) continue;
            EXPECT_EQ(Get(terrain.header.guid).mesh.skirtLevel, -3.0) << function << " " << passes;
            for (const Plateau& p : Plateaus()) EXPECT_EQ(p.skirt, -3.0) << function << " " << passes;
            ASSERT_TRUE(Db().Undo());
            EXPECT_TRUE(Db().ToJson() == before) << function << " " << passes;
        }
    ASSERT_EQ(create(), 0);
    EXPECT_EQ(Get(terrain.header.guid).mesh.skirtLevel, -3.0);
    for (const Plateau& p : Plateaus()) EXPECT_EQ(p.skirt, -3.0) << p.name << " " << p.role;
}

}  // namespace plateau_test
