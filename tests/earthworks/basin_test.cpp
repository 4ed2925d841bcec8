// The basin tool on the in-process stand-in host: a pit whose level line at the picked point's height is an exact
// square, the basin object cut by the terrain, its rebuilds when rotated or mirrored, and the failures that must
// change nothing.
#include "ScriptedToolTest.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/BasinSettingsDialog.hpp"
#include "earthworks/Basin.hpp"
#include "earthworks/TerrainCutRefresh.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/ModelUpdate.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/Settings.hpp"
#include "shell/EarthworkDialogBoxes.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <functional>

namespace basin_test {

constexpr double Pi = 3.14159265358979323846;

class BasinToolTest : public ScriptedToolTest {
protected:
    void SetUp() override {
        ScriptedToolTest::SetUp();
        if (HasFatalFailure()) return;
        // A pit: the rim at 20 on the square (0,0)-(100,100), the bottom at 0 in its middle.
        terrain = PlaceTerrain({{0, 0, 20}, {100, 0, 20}, {100, 100, 20}, {0, 100, 20}, {50, 50, 0}});
    }

    int32_t CreateAt(double x, double y) {
        DGDriver::QueueClick(32559, 1);
        host->Input().QueuePoint(x, y);
        Basin::BasinCls basin;
        return basin.Create(GlobalSettings, dialogs, terrain);
    }
    size_t ObjectCount() {
        size_t n = 0;
        for (const API_Guid& g : Db().AllElements()) n += Get(g).header.typeID == API_ObjectID ? 1 : 0;
        return n;
    }
    // The basin's outline in world coordinates.
    QV_List<QV_CoordLong> WorldOutline(const API_Element& basin) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(basin.header.guid, &memo, AttachMemoMask), NoError);
        BasinLP view(ElemKind_Basin);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<QV_CoordLong> outline;
        EXPECT_TRUE(LPArrays::CodedTripleRows(view, BasinParam::Outline, outline, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        Basin::OutlineToWorld(basin.object, outline);
        return outline;
    }
    void WriteOutline(API_Element e, QV_List<QV_CoordLong> outline) {
        API_ElementMemo memo = {};
        ASSERT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        BasinLP view(ElemKind_Basin);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        ASSERT_TRUE(LPArrays::CodedTripleRows(view, BasinParam::Outline, outline, LPMode_Set));
        memo.params = reinterpret_cast<API_AddParType**>(view.params);
        view.Detach();
        ASSERT_EQ(Command([&] { return ChangeElementMemo(&e, &memo); }), NoError);
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    bool CutByTerrain(const API_Element& basin) {
        GS::Array<API_Guid> operators;
        if (ACAPI_Element_SolidLink_GetOperators(basin.header.guid, &operators) != NoError) return false;
        return operators.GetSize() == 1 && operators[0] == terrain.header.guid;
    }
    static std::vector<DGDriver::LogRecord> Alerts() {
        std::vector<DGDriver::LogRecord> out;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "alert") out.push_back(r);
        return out;
    }
    API_Element terrain = {};
    EarthworkDialogBoxes dialogs;
};

// Every vertex on the square of half side `h` around (50, 50), and the square's area.
void ExpectSquare(const QV_List<QV_CoordLong>& outline, double h) {
    ASSERT_GE(outline.GetCount(), 4);
    double area = 0.0;
    for (int32_t i = 0; i < outline.GetCount(); ++i) {
        EXPECT_NEAR(std::fabs(outline[i].x - 50.0), h, 1e-6) << i;
        EXPECT_NEAR(std::fabs(outline[i].y - 50.0), h, 1e-6) << i;
        if (i + 1 < outline.GetCount()) area += outline[i].x * outline[i + 1].y - outline[i + 1].x * outline[i].y;
    }
    EXPECT_NEAR(std::fabs(area) / 2, 4 * h * h, 1e-6);
    EXPECT_EQ(outline[outline.GetCount() - 1].code, QV_CodeContourEnd);
}

TEST_F(BasinToolTest, ThePickedPointsLevelLineBecomesTheBasinCutByTheTerrain) {
    ASSERT_EQ(CreateAt(55, 50), 0);
    const std::vector<API_Element> basins = Objects(ElemKind_Basin);
    ASSERT_EQ(basins.size(), 1u);
    EXPECT_EQ(ObjectCount(), 1u);  // the tracer is gone
    const API_Element& basin = basins[0];
    // The terrain's height at (55, 50) is 2; "ZZYZX" carries it, "negative_level" none.
    EXPECT_NEAR(Param(basin, "ZZYZX"), 2.0, 1e-9);
    EXPECT_EQ(Param(basin, "negative_level"), 0.0);
    EXPECT_EQ(Param(basin, "IDterrain"), 0.0);
    ExpectSquare(WorldOutline(basin), 5.0);
    EXPECT_TRUE(CutByTerrain(basin));
    EXPECT_NEAR(GlobalSettings.basin.level, 1.0, 1e-12);  // the defaults keep their own level
}

// The level sampled on a terrain lifted by its own level is a height of the model; the tracer draws the same
// square there.
TEST_F(BasinToolTest, ALiftedTerrainGivesTheSameSquareAtItsLiftedHeight) {
    API_Element lifted = terrain;
    lifted.mesh.level = 10.0;
    API_Element mask = {};
    std::memset(&mask.mesh.level, 0xFF, sizeof mask.mesh.level);
    ASSERT_EQ(Command([&] { return ChangeElement(&lifted, nullptr, &mask); }), NoError);
    terrain = Get(terrain.header.guid);
    ASSERT_EQ(CreateAt(55, 50), 0);
    const API_Element basin = Objects(ElemKind_Basin).at(0);
    EXPECT_NEAR(Param(basin, "ZZYZX"), 12.0, 1e-9);
    EXPECT_NEAR(Param(basin, "original_mesh_level"), 10.0, 1e-9);
    ExpectSquare(WorldOutline(basin), 5.0);
}

// A basin turned or mirrored about the pit's centre keeps its place; after its level changes, "Data update"
// traces the new square and stores it in the object's own frame.
TEST_F(BasinToolTest, RebuildsOfRotatedAndMirroredBasinsTraceTheExactSquare) {
    struct Placement {
        double angle;
        uint8_t mirrored;
    };
    for (const Placement p : {Placement{0.0, 0}, Placement{Pi / 2, 0}, Placement{Pi, 0}, Placement{0.0, 1}}) {
        ASSERT_EQ(CreateAt(55, 50), 0);
        API_Element basin = Objects(ElemKind_Basin).back();
        // The stored outline holds the square relative to (0, 0); the new placement maps it onto itself.
        API_Element moved = basin;
        moved.object.angle = p.angle;
        moved.object.reflected = p.mirrored;
        const double c = std::cos(p.angle), s = std::sin(p.angle);
        // The world point of relative (50, 50) must stay at (50, 50).
        const double rx = p.mirrored ? -50.0 : 50.0;
        moved.object.pos = {50.0 - (rx * c - 50.0 * s), 50.0 - (rx * s + 50.0 * c)};
        API_Element mask = {};
        std::memset(&mask.object.angle, 0xFF, sizeof mask.object.angle);
        std::memset(&mask.object.reflected, 0xFF, sizeof mask.object.reflected);
        std::memset(&mask.object.pos, 0xFF, sizeof mask.object.pos);
        ASSERT_EQ(Command([&] {
                      GS::Array<API_Guid> one;
                      one.Push(moved.header.guid);
                      return ACAPI_Element_ChangeParameters(one, &moved, nullptr, &mask);
                  }),
                  NoError);
        basin = Get(basin.header.guid);
        ExpectSquare(WorldOutline(basin), 5.0);
        SetParam(basin, "ZZYZX", 1.0);
        Basin::BasinCls update;
        ASSERT_EQ(update.UpdateBuilder(Get(basin.header.guid)), 0);
        basin = Get(basin.header.guid);
        ExpectSquare(WorldOutline(basin), 2.5);
        EXPECT_TRUE(CutByTerrain(basin));
        ASSERT_EQ(Command([&] {
                      GS::Array<API_Guid> one;
                      one.Push(basin.header.guid);
                      return ACAPI_Element_Delete(one);
                  }),
                  NoError);
    }
    EXPECT_EQ(ObjectCount(), 0u);
}

TEST_F(BasinToolTest, CancelsAndFailuresLeaveTheProjectAsItWas) {
    // A cancelled dialog, then a cancelled point: nothing made, nothing shown.
    DGDriver::QueueClick(32559, 2);
    {
        Basin::BasinCls basin;
        EXPECT_EQ(basin.Create(GlobalSettings, dialogs, terrain), 0);
    }
    DGDriver::QueueClick(32559, 1);
    host->Input().QueueCancel();
    {
        Basin::BasinCls basin;
        EXPECT_EQ(basin.Create(GlobalSettings, dialogs, terrain), 0);
    }
    EXPECT_EQ(ObjectCount(), 0u);
    EXPECT_EQ(Alerts().size(), 0u);

    // A point off the terrain is refused with its message and asked again.
    DGDriver::QueueClick(32559, 1);
    DGDriver::QueueAlertAnswer(1);
    host->Input().QueuePoint(150, 50);
    host->Input().QueuePoint(55, 50);
    {
        Basin::BasinCls basin;
        EXPECT_EQ(basin.Create(GlobalSettings, dialogs, terrain), 0);
    }
    ASSERT_EQ(Alerts().size(), 1u);
    EXPECT_EQ(Alerts()[0].texts[0], "Click on a point inside the terrain selected.");
    ASSERT_EQ(Objects(ElemKind_Basin).size(), 1u);

    // The host refuses the new basin's record, after the tracer came and went: neither basin nor tracer stays.
    ASSERT_TRUE(host->FailCall("Element_SetUserData", -1, APIERR_GENERAL));
    EXPECT_EQ(CreateAt(55, 50), 43);
    host->ClearFailures();
    EXPECT_EQ(ObjectCount(), 1u);
}

TEST_F(BasinToolTest, DataUpdateNeverLosesTheBasinOrItsCut) {
    ASSERT_EQ(CreateAt(55, 50), 0);
    API_Element basin = Objects(ElemKind_Basin)[0];
    // Below the pit's bottom no level line is left: the user's basin stays, and the failure is reported.
    SetParam(basin, "negative_level", -5.0);
    {
        Basin::BasinCls update;
        EXPECT_EQ(update.UpdateBuilder(Get(basin.header.guid)), 43);
    }
    ASSERT_EQ(Objects(ElemKind_Basin).size(), 1u);
    EXPECT_EQ(ObjectCount(), 1u);
    EXPECT_TRUE(CutByTerrain(basin));

    // The host refuses the new parameters: reported, the old outline kept, the cut in place.
    SetParam(basin, "negative_level", 0.0);
    SetParam(basin, "ZZYZX", 1.0);
    ASSERT_TRUE(host->FailCall("Element_ChangeParameters", -1, APIERR_GENERAL));
    {
        Basin::BasinCls update;
        EXPECT_EQ(update.UpdateBuilder(Get(basin.header.guid)), 43);
    }
    host->ClearFailures();
    ExpectSquare(WorldOutline(Get(basin.header.guid)), 5.0);
    EXPECT_TRUE(CutByTerrain(basin));
    EXPECT_EQ(ObjectCount(), 1u);

    // A stored outline that is too short or holds no numbers is refused before any tracing.
    const double nan = std::nan("");
    const std::vector<std::vector<QV_CoordLong>> cases = {
        {}, {{45, 45, 0}, {55, 45, -1}}, {{45, 45, 0}, {nan, 45, 0}, {55, 55, 0}, {45, 45, -1}}};
    for (const std::vector<QV_CoordLong>& points : cases) {
        QV_List<QV_CoordLong> garbled;
        for (const QV_CoordLong& p : points) garbled.Insert(p);
        WriteOutline(basin, garbled);
        Basin::BasinCls update;
        EXPECT_EQ(update.UpdateBuilder(Get(basin.header.guid)), 43);
        EXPECT_EQ(ObjectCount(), 1u);
        EXPECT_TRUE(CutByTerrain(basin));
    }
}

// The tracer lives only inside the command that places or updates a basin: a host that refuses its removal, or
// any step around it, takes the whole command back, tracer and all, and a basin, the terrain's height at the
// point measured with it, is one undo step: a failure leaves no step behind either.
TEST_F(BasinToolTest, ARefusedTracerRemovalLeavesTheProjectAsItWas) {
    const size_t steps = Db().UndoTexts().size();
    ASSERT_EQ(CreateAt(55, 50), 0);
    EXPECT_EQ(Db().UndoTexts().size(), steps + 1);
    const API_Element basin = Objects(ElemKind_Basin)[0];
    SetParam(basin, "ZZYZX", 1.0);
    // The project as the user sees it, its undo steps too: the count of view rebuilds left out.
    const auto project = [&] {
        nlohmann::ordered_json j = Db().ToJson();
        j.erase("rebuilds");
        return j;
    };
    const auto update = [&] {
        Basin::BasinCls cls;
        return cls.UpdateBuilder(Get(basin.header.guid));
    };
    const auto create = [&] { return CreateAt(55, 50); };
    const struct {
        const char* function;
        std::function<int32_t()> run;
    } refusals[] = {{"Element_Delete", update}, {"Element_ChangeParameters", update}, {"Element_Create", update},
                    {"Element_Delete", create}, {"Element_SetUserData", create},      {"Element_Create", create}};
    for (const auto& refusal : refusals) ExpectRefusalTakenBack(refusal.function, -1, 0, 43, refusal.run, project);
}

// A basin the user copied is no longer cut by the terrain; the module's own new basins are left alone.
TEST_F(BasinToolTest, TheRefreshUncutsTheUsersCopiesOnly) {
    ASSERT_EQ(CreateAt(55, 50), 0);
    const API_Element basin = Objects(ElemKind_Basin).at(0);
    QV_List<API_Elem_Head> heads;
    heads.Insert(basin.header);
    ElementWritten = 1;
    EXPECT_TRUE(RefreshTerrainCutObjects(ElemKind_Basin, 1, heads));
    EXPECT_TRUE(CutByTerrain(basin));
    EXPECT_TRUE(RefreshTerrainCutObjects(ElemKind_Basin, 3, heads));
    EXPECT_TRUE(CutByTerrain(basin));
    EXPECT_TRUE(RefreshTerrainCutObjects(ElemKind_Bridge, 2, heads));  // no bridge record: skipped
    EXPECT_TRUE(CutByTerrain(basin));
    // The dispatcher runs it inside its undoable command.
    EXPECT_EQ(Command([&] { return RefreshTerrainCutObjects(ElemKind_Basin, 2, heads) ? NoError : GSErrCode(-1); }),
              NoError);
    EXPECT_FALSE(CutByTerrain(basin));
    ElementWritten = 0;
}

// The dialog in both layouts: OK alone flags nothing; a pen picked in its control is stored from the edit it
// updated; an edit in one layout survives the switch and is flagged by OK in the other.
TEST_F(BasinToolTest, TheDialogFlagsExactlyWhatTheUserChanged) {
    BasinSettings record;
    record.SetDefaults();
    const BasinSettings before = record;
    uint8_t changed[Basin::BasinFieldCount] = {};
    DGDriver::QueueClick(32559, 1);
    ASSERT_EQ(RunBasinSettingsLayouts(record, changed, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    for (uint8_t f : changed) EXPECT_EQ(f, 0);
    EXPECT_EQ(record.pen3D, before.pen3D);

    DGDriver::QueueSetLong(32559, 24, 0);        // background pen picked in its control
    DGDriver::QueueSetText(32559, 32, "basin");  // differs from "BASIN" in case only
    DGDriver::QueueClick(32559, 33);
    DGDriver::QueueSetLong(32516, 14, 77);  // the 2D pen in the second layout
    DGDriver::QueueClick(32516, 1);
    ASSERT_EQ(RunBasinSettingsLayouts(record, changed, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(record.fillBackgroundPen, 0);
    EXPECT_EQ(record.name.ToStdString(), "basin");
    EXPECT_EQ(record.pen2D, 77);
    for (int id = 0; id < Basin::BasinFieldCount; ++id)
        EXPECT_EQ(changed[id],
                  id == BasinSettings::Id::fillBackgroundPen || id == BasinSettings::Id::name ||
                          id == BasinSettings::Id::pen2D
                      ? 1
                      : 0)
            << id;

    DGDriver::QueueSetLong(32559, 8, 99);
    DGDriver::QueueClick(32559, 2);
    EXPECT_EQ(RunBasinSettingsLayouts(record, changed, SettingsMode::ToolDefaults), DialogAnswer::Cancelled);
    EXPECT_EQ(record.pen3D, before.pen3D);
}

}  // namespace basin_test
