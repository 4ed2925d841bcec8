// The contour-line and slope-range tools on the in-process stand-in host, over the add-on's own library: objects
// placed for a terrain and linked to it by its GUID text, edits that reach only the changed fields, regeneration
// that keeps the user's own parameters, slopes checked against the plane the terrain lies in, and drawn lines
// digitised into grouped terrain input.
#include "foundation/ErrorCode.hpp"
#include "LibraryHost.hpp"

#include "elements/ChangeElementMemo.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ParamExchange.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/ModalDialog.hpp"
#include "geometry/PolygonInclination.hpp"
#include "settings/Settings.hpp"
#include "terrain/ContourLineCls.hpp"
#include "terrain/ContourTerrainSteps.hpp"
#include "terrain/SlopeRangeCls.hpp"
#include "FakeTerrainDialogs.hpp"

#include <cmath>
#include <cstring>
#include <random>
#include <set>
#include <vector>

namespace contour_lines_test {

class ContourToolTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        toolDialogs.contourSettings = [this](ContourLineSettings& r, uint8_t changed[ContourLineSettings::FieldCount],
                                             double, double, bool) {
            ++dialogs;
            for (int16_t id = 0; id < ContourLineSettings::FieldCount; ++id) changed[id] = 0;
            if (edit) edit(r, changed);
            return DialogAnswer::Confirmed;
        };
        toolDialogs.contourAltitude = [this](ContourAltitudeSettings& r, uint8_t flags[5]) {
            r.altitude = 123.5;
            for (int k = 0; k < 5; ++k) flags[k] = k == 0;
            return DialogAnswer::Confirmed;
        };
        toolDialogs.slopeRange = [](SlopeRangeSettings&, uint8_t changed[SlopeRangeSettings::FieldCount]) {
            for (int k = 0; k < SlopeRangeSettings::FieldCount; ++k) changed[k] = 0;
            return DialogAnswer::Confirmed;
        };
    }
    void TearDown() override { LibraryHostTest::TearDown(); }

    // A terrain of the add-on on the plane z = 100 + gx x + gy y over a grid, with its record (kind 4).
    API_Element Terrain(const std::string& name, double x0, double gx, double gy) {
        std::vector<API_Coord3D> points;
        for (int i = 0; i <= 4; ++i)
            for (int j = 0; j <= 3; ++j) {
                const double x = x0 + 10.0 * i, y = 10.0 * j;
                points.push_back({x, y, 100.0 + gx * (x - x0) + gy * y});
            }
        return PlaceTerrain(points, name);
    }
    bool SetParam(API_Element e, const char* name, double value) {
        API_ElementMemo memo = {};
        if (ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask) != NoError) return false;
        BaseLP view;
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        bool ok = view.SetParamDouble(QV_String(name), value) >= 0;
        view.Detach();
        ok = ok && Command([&] { return ChangeElementMemo(&e, &memo); }) == NoError;
        ACAPI_DisposeElemMemoHdls(&memo);
        return ok;
    }
    std::string TerrainText(const API_Element& object) {
        ElemDescriptor d;
        EXPECT_TRUE(ElemUserData_Read(d, ElemKind_Contour, object.header));
        return d.TerrainGuid.ToStdString();
    }
    static std::string Text(const API_Guid& g) {
        QV_String t;
        GuidToText(t, g);
        return t.ToStdString();
    }

    FakeTerrainDialogs toolDialogs;
    int dialogs = 0;
    std::function<void(ContourLineSettings&, uint8_t*)> edit;
};

TEST_F(ContourToolTest, ANewObjectPerTerrainLinkedByItsGuidTextAndEditsReachOnlyTheChangedField) {
    const API_Element west = Terrain("west", 0.0, 0.2, 0.0);
    const API_Element east = Terrain("east", 30.0, 0.0, 0.1);  // overlaps the west one in plan
    for (const API_Element* t : {&west, &east}) {
        ContourLineCls cls;
        ASSERT_EQ(cls.CreateFromTerrain(GlobalSettings, toolDialogs, *t), 0);
    }
    std::vector<API_Element> objects = Objects(ElemKind_Contour);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(TerrainText(objects[0]), Text(west.header.guid));
    EXPECT_EQ(TerrainText(objects[1]), Text(east.header.guid));
    EXPECT_DOUBLE_EQ(Param(objects[0], "A"), 40.0);
    EXPECT_DOUBLE_EQ(Param(objects[0], "B"), 30.0);
    EXPECT_EQ(Param(objects[0], "contour_line"), 1.0);

    // The user changed the west object's interval by hand; then only the second pen is edited.
    ASSERT_TRUE(SetParam(objects[0], "passo", 2.5));
    edit = [](ContourLineSettings& r, uint8_t* changed) {
        r.secondPen = 77;
        changed[ContourLineSettings::Id::secondPen] = 1;
    };
    ContourLineCls again;
    ASSERT_EQ(again.CreateFromTerrain(GlobalSettings, toolDialogs, west), 0);
    objects = Objects(ElemKind_Contour);
    ASSERT_EQ(objects.size(), 2u);  // no new object for a linked terrain
    EXPECT_EQ(Param(objects[0], "penna_2"), 77.0);
    EXPECT_EQ(Param(objects[0], "passo"), 2.5);
    EXPECT_NE(Param(objects[1], "penna_2"), 77.0);  // the other terrain's object is not linked
}

TEST_F(ContourToolTest, RegenerationKeepsTheUsersOwnParametersAndLeavesOneObject) {
    const API_Element terrain = Terrain("t", 0.0, 0.2, 0.0);
    ContourLineCls first;
    ASSERT_EQ(first.CreateFromTerrain(GlobalSettings, toolDialogs, terrain), 0);
    ContourLineCls second;  // a second object made for the same terrain, as an old project may hold
    ASSERT_TRUE(second.ReadElement(terrain, false));
    second.libPartIndex = first.libPartIndex;
    second.settings = GlobalSettings.contour;
    ASSERT_EQ(second.CreateLibPartObject(0, ContourMode_Lines, 0, nullptr, nullptr), 1);
    std::vector<API_Element> objects = Objects(ElemKind_Contour);
    ASSERT_EQ(objects.size(), 2u);
    ASSERT_TRUE(SetParam(objects[0], "auto_update", 1.0));  // not the add-on's: carried over
    ASSERT_TRUE(SetParam(objects[0], "passo", 9.0));        // the add-on's: written fresh
    ASSERT_TRUE(SetParam(objects[1], "auto_update", 0.0));

    ContourLineCls regen;
    ASSERT_EQ(regen.Regenerate(GlobalSettings.contour, terrain, nullptr), 0);
    objects = Objects(ElemKind_Contour);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(Param(objects[0], "auto_update"), 1.0);
    EXPECT_EQ(Param(objects[0], "scarpate"), 0.0);  // the old object's, over what the new one was placed with
    EXPECT_EQ(Param(objects[0], "passo"), 9.0);     // read from the old object's own settings, then written
    EXPECT_EQ(TerrainText(objects[0]), Text(terrain.header.guid));

    // A volume list given goes into the new object; without one, the old object's list is carried over.
    QV_List<CalculationVolume> volumes;
    CalculationVolume v;
    v.secondDifference = 12.5;
    v.firstDifference = -3.0;
    volumes.Insert(v);
    for (QV_List<CalculationVolume>* given : {&volumes, static_cast<QV_List<CalculationVolume>*>(nullptr)}) {
        ContourLineCls again;
        ASSERT_EQ(again.Regenerate(GlobalSettings.contour, terrain, given), 0);
        objects = Objects(ElemKind_Contour);
        ASSERT_EQ(objects.size(), 1u);
        API_ElementMemo memo = {};
        ASSERT_EQ(ACAPI_Element_GetMemo(objects[0].header.guid, &memo, AttachMemoMask), NoError);
        ContourLineLP view(ElemKind_Contour);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<CalculationVolume> read;
        EXPECT_TRUE(ExchangeStringList(view, read, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        ASSERT_EQ(read.GetCount(), 1);
        EXPECT_EQ(read[0].secondDifference, 12.5);
        EXPECT_EQ(read[0].firstDifference, -3.0);
    }

    // The old object cannot be removed: its successor is taken back with the command, and the old one stays alone.
    const API_Guid kept = objects[0].header.guid;
    ASSERT_TRUE(host->FailCall("Element_Delete", -1, APIERR_GENERAL));
    ContourLineCls refused;
    EXPECT_EQ(refused.Regenerate(GlobalSettings.contour, terrain, nullptr), 43);
    host->ClearFailures();
    objects = Objects(ElemKind_Contour);
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].header.guid, kept);
    // A search for the part that the host refuses is a failure too (10), not a part that is missing.
    ASSERT_TRUE(host->FailCall("LibPart_Search", -1, APIERR_GENERAL));
    ContourLineCls unsearched;
    EXPECT_EQ(unsearched.Regenerate(GlobalSettings.contour, terrain, nullptr), ErrFindingData);
    host->ClearFailures();
    EXPECT_EQ(Objects(ElemKind_Contour)[0].header.guid, kept);
}

TEST_F(ContourToolTest, SlopesFollowThePlaneGradientOnePerTriangleEachTerrainItsOwn) {
    const API_Element a = Terrain("a", 0.0, 0.2, 0.0);
    const API_Element b = Terrain("b", 100.0, 0.0, 0.1);
    QV_List<API_Element> terrains;
    terrains.Insert(a);
    terrains.Insert(b);
    SlopeRangeCls cls;
    ASSERT_EQ(cls.Create(GlobalSettings, toolDialogs, terrains), 0);
    const std::vector<API_Element> objects = Objects(ElemKind_SlopeRange);
    ASSERT_EQ(objects.size(), 2u);
    const double expected[2] = {std::atan(0.2), std::atan(0.1)};
    for (size_t k = 0; k < 2; ++k) {
        API_ElementMemo memo = {};
        ASSERT_EQ(ACAPI_Element_GetMemo(objects[k].header.guid, &memo, AttachMemoMask), NoError);
        SlopeRangeLP view;
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<double> slopes, mask;
        int32_t d1 = 0, d2 = 0, m1 = 0, m2 = 0;
        ASSERT_TRUE(view.GetSetDoubleArray(5, slopes, d1, d2, LPMode_Get));
        ASSERT_TRUE(view.GetSetDoubleArray(3, mask, m1, m2, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        EXPECT_EQ(d1, 4 * 3 * 2);  // the grid's 12 cells, two triangles each
        EXPECT_EQ(m1, 3);          // three vertex rows: the ring's closing vertex is not repeated
        EXPECT_EQ(m2, 3 * d1);
        for (double s : slopes) EXPECT_NEAR(s, expected[k], 1e-9);
        // Every vertex of the object's triangles lies on its own terrain's plane.
        const double x0 = k == 0 ? 0.0 : 100.0, gx = k == 0 ? 0.2 : 0.0, gy = k == 0 ? 0.0 : 0.1;
        for (int32_t i = 0; i + 2 < mask.GetCount(); i += 3)
            EXPECT_NEAR(mask[i + 2], 100.0 + gx * (mask[i] - x0) + gy * mask[i + 1], 1e-9);
    }
}

TEST_F(ContourToolTest, SlopeEditsReachEachObjectOnlyInTheChangedFieldAndTheLayerOnlyWhenChanged) {
    QV_List<API_Element> terrains;
    terrains.Insert(Terrain("a", 0.0, 0.2, 0.0));
    terrains.Insert(Terrain("b", 100.0, 0.0, 0.1));
    SlopeRangeCls create;
    ASSERT_EQ(create.Create(GlobalSettings, toolDialogs, terrains), 0);
    std::vector<API_Element> placed = Objects(ElemKind_SlopeRange);
    ASSERT_EQ(placed.size(), 2u);
    ASSERT_TRUE(SetParam(placed[1], "P_range_1", 7.0));  // the second object's own class limit
    const int32_t layer = Layer("Slopes", 0);
    for (const bool moveLayer : {false, true}) {
        toolDialogs.slopeRange = [&](SlopeRangeSettings& r, uint8_t changed[SlopeRangeSettings::FieldCount]) {
            for (int k = 0; k < SlopeRangeSettings::FieldCount; ++k) changed[k] = 0;
            r.colour3 = 9;
            changed[SlopeRangeSettings::Id::colour3] = 1;
            if (moveLayer) r.layer = uint16_t(layer), changed[SlopeRangeSettings::Id::layer] = 1;
            return DialogAnswer::Confirmed;
        };
        QV_List<API_Element> objects;
        for (const API_Element& e : placed) objects.Insert(Get(e.header.guid));
        SlopeRangeCls edit;
        ASSERT_EQ(edit.Modify(GlobalSettings, toolDialogs, objects), 0);
        const std::vector<API_Element> after = Objects(ElemKind_SlopeRange);
        ASSERT_EQ(after.size(), 2u);
        for (size_t k = 0; k < 2; ++k) {
            EXPECT_EQ(Param(after[k], "color_3"), 9.0);
            EXPECT_EQ(Param(after[k], "P_range_1"), k == 0 ? 5.0 : 7.0);
            EXPECT_EQ(after[k].header.layer, moveLayer ? layer : placed[k].header.layer);
        }
    }
}

TEST_F(ContourToolTest, EachDialogIsToldWhetherItSetsDefaultsMakesNewObjectsOrEditsTheSelection) {
    using M = SettingsMode;
    const API_Element terrain = Terrain("t", 0.0, 0.2, 0.0);
    QV_List<API_Element> terrains;
    terrains.Insert(terrain);
    ContourLineCls contourDefaults, contourNew, contourLinked;
    ASSERT_EQ(contourDefaults.EditSettings(GlobalSettings, toolDialogs), 0);
    ASSERT_EQ(contourNew.CreateFromTerrain(GlobalSettings, toolDialogs, terrain), 0);
    ASSERT_EQ(contourLinked.CreateFromTerrain(GlobalSettings, toolDialogs, terrain), 0);  // its object exists: an edit
    SlopeRangeCls slopeDefaults, slopeNew, slopeEdit;
    ASSERT_EQ(slopeDefaults.EditSettings(GlobalSettings, toolDialogs), 0);
    ASSERT_EQ(slopeNew.Create(GlobalSettings, toolDialogs, terrains), 0);
    QV_List<API_Element> slopes;
    for (const API_Element& e : Objects(ElemKind_SlopeRange)) slopes.Insert(e);
    ASSERT_EQ(slopeEdit.Modify(GlobalSettings, toolDialogs, slopes), 0);
    QV_List<PlanSegment> segments;
    segments.Insert(PlanSegment{0, 0, 10, 0});
    ContourLineCls digitise, lift;
    ASSERT_EQ(digitise.DigitizeContour(GlobalSettings, toolDialogs, segments, QV_List<API_Elem_Head>()), 0);
    QV_List<API_Element> points, constraints;
    for (const API_Guid& g : Db().AllElements()) {
        const API_Element e = Get(g);
        if (e.header.typeID == API_HotspotID) points.Insert(e);
    }
    ASSERT_EQ(lift.SetAltitudeOfSelection(GlobalSettings, toolDialogs, points, constraints), 0);
    EXPECT_EQ(toolDialogs.modes,
              (std::vector<M>{M::ToolDefaults, M::NewElement, M::EditSelected, M::ToolDefaults, M::NewElement,
                              M::EditSelected, M::NewElement, M::EditSelected}));
}

TEST_F(ContourToolTest, DigitisedPolylinesMakeGroupedConstraintsAndPointsOnlyWhereChainsRun) {
    // An open chain of three, a closed ring of four, and two disjoint segments.
    const std::vector<std::vector<PlanSegment>> cases = {
        {{0, 0, 10, 0}, {10, 0, 10, 10}, {10, 10, 0, 10}},
        {{0, 0, 5, 0}, {5, 0, 5, 5}, {5, 5, 0, 5}, {0, 5, 0, 0}},
        {{0, 0, 5, 0}, {20, 20, 25, 20}},
    };
    const size_t expectedPoints[] = {4, 4, 3};
    for (size_t c = 0; c < cases.size(); ++c) {
        const size_t before = Db().AllElements().size();
        QV_List<PlanSegment> segments;
        for (const PlanSegment& s : cases[c]) segments.Insert(s);
        ContourLineCls cls;
        ASSERT_EQ(cls.DigitizeContour(GlobalSettings, toolDialogs, segments, QV_List<API_Elem_Head>()), 0);
        size_t lines = 0, points = 0;
        std::set<std::string> groups;
        const std::vector<API_Guid> all = Db().AllElements();
        for (size_t i = before; i < all.size(); ++i) {
            const API_Element e = Get(all[i]);
            ElemDescriptor d;
            if (e.header.typeID == API_LineID && ElemUserData_Read(d, ElemKind_Constraint, e.header)) ++lines;
            if (e.header.typeID == API_HotspotID && ElemUserData_Read(d, ElemKind_Point, e.header)) {
                ++points;
                EXPECT_EQ(d.Value, 123.5);
            }
            groups.insert(Text(e.header.groupGuid));
        }
        EXPECT_EQ(lines, cases[c].size()) << c;
        EXPECT_EQ(points, expectedPoints[c]) << c;
        EXPECT_EQ(groups.size(), 1u) << c;
        EXPECT_NE(*groups.begin(), Text(APINULLGuid)) << c;
    }
}

TEST_F(ContourToolTest, PointNumbersWrapAtOneHundredThousand) {
    GlobalSettings.points.codeNumber = 99999;
    QV_List<PlanSegment> segments;
    segments.Insert(PlanSegment{0, 0, 10, 0});
    ContourLineCls cls;
    ASSERT_EQ(cls.DigitizeContour(GlobalSettings, toolDialogs, segments, QV_List<API_Elem_Head>()), 0);
    std::vector<int32_t> numbers;
    for (const API_Guid& g : Db().AllElements()) {
        ElemDescriptor d;
        if (ElemUserData_Read(d, ElemKind_Point, Get(g).header)) numbers.push_back(d.Number);
    }
    EXPECT_EQ(numbers, (std::vector<int32_t>{99999, 0}));
    EXPECT_EQ(GlobalSettings.points.codeNumber, 1);
}

TEST_F(ContourToolTest, OneAltitudeForSelectedPointsChangesTheirHeightsAndNoAttribute) {
    QV_List<PlanSegment> segments;
    segments.Insert(PlanSegment{0, 0, 10, 0});
    segments.Insert(PlanSegment{10, 0, 10, 10});
    ContourLineCls digitise;
    ASSERT_EQ(digitise.DigitizeContour(GlobalSettings, toolDialogs, segments, QV_List<API_Elem_Head>()), 0);
    QV_List<API_Element> points, constraints;
    for (const API_Guid& g : Db().AllElements()) {
        const API_Element e = Get(g);
        (e.header.typeID == API_HotspotID ? points : constraints).Insert(e);
    }
    ASSERT_EQ(points.GetCount(), 3);
    ASSERT_EQ(constraints.GetCount(), 2);
    toolDialogs.contourAltitude = [](ContourAltitudeSettings& r, uint8_t flags[5]) {
        EXPECT_EQ(r.altitude, 123.5);  // the first selected point's height offered
        r.altitude = 200.0;
        r.pointPen = 99;  // edited, but only the altitude is to be applied
        for (int k = 0; k < 5; ++k) flags[k] = k == ApplyAltitude;
        return DialogAnswer::Confirmed;
    };
    ContourLineCls cls;
    ASSERT_EQ(cls.SetAltitudeOfSelection(GlobalSettings, toolDialogs, points, constraints), 0);
    for (const API_Element& p : points) {
        ElemDescriptor d;
        ASSERT_TRUE(ElemUserData_Read(d, ElemKind_Point, p.header));
        EXPECT_EQ(d.Value, 200.0);
        EXPECT_EQ(Get(p.header.guid).hotspot.pen, p.hotspot.pen);
    }
    for (const API_Element& c : constraints) {
        const API_Element now = Get(c.header.guid);
        EXPECT_EQ(std::memcmp(&now.line, &c.line, sizeof c.line), 0);
    }
}

TEST_F(ContourToolTest, RefusalsEndWithTheErrorCodeAndLeaveNoHalfMadeObject) {
    // A mesh without the add-on's record is no terrain to link to.
    API_Guid plain = {};
    ASSERT_EQ(Db().PlaceMeshFromPoints({{0, 0, 1}, {10, 0, 1}, {0, 10, 1}}, 1, "plain", &plain), NoError);
    ContourLineCls noRecord;
    EXPECT_EQ(noRecord.CreateFromTerrain(GlobalSettings, toolDialogs, Get(plain)), 43);
    // The host refuses the objects or the group: 43 each time.
    const API_Element terrain = Terrain("t", 0.0, 0.2, 0.0);
    ASSERT_TRUE(host->FailCall("Element_Create", -1, APIERR_GENERAL));
    ContourLineCls refused;
    EXPECT_EQ(refused.CreateFromTerrain(GlobalSettings, toolDialogs, terrain), 43);
    QV_List<API_Element> terrains;
    terrains.Insert(terrain);
    SlopeRangeCls slopes;
    EXPECT_EQ(slopes.Create(GlobalSettings, toolDialogs, terrains), 43);
    QV_List<PlanSegment> segments;
    segments.Insert(PlanSegment{0, 0, 10, 0});
    ContourLineCls digitise;
    EXPECT_EQ(digitise.DigitizeContour(GlobalSettings, toolDialogs, segments, QV_List<API_Elem_Head>()), 43);
    host->ClearFailures();
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("GRUP")), APIERR_GENERAL));
    EXPECT_EQ(digitise.DigitizeContour(GlobalSettings, toolDialogs, segments, QV_List<API_Elem_Head>()), 43);
    host->ClearFailures();
    EXPECT_TRUE(Objects(ElemKind_Contour).empty());
    EXPECT_TRUE(Objects(ElemKind_SlopeRange).empty());
    // Only the two meshes stay: a chain that cannot be grouped is taken back whole.
    EXPECT_EQ(Db().AllElements().size(), 2u);
}

// Triangles without a plane of their own (repeated corners, corners on one line, upright ones whose plan has no
// area) still get a slope, never NaN: 0 for no plane, pi/2 for an upright one.
TEST(SlopeOfDegenerateTriangles, EverySlopeIsANumberBetweenFlatAndUpright) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(-50.0, 50.0);
    MeshBody body;
    for (int i = 0; i < 300; ++i) {
        const API_Coord3D a{u(rng), u(rng), u(rng)}, b{u(rng), u(rng), u(rng)};
        const double t = u(rng) / 10.0;
        const API_Coord3D onLine{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
        const API_Coord3D above{a.x, a.y, a.z + std::fabs(u(rng))};
        const API_Coord3D rings[4][3] = {{a, a, a}, {a, b, a}, {a, b, onLine}, {a, b, above}};
        for (const auto& ring : rings) {
            QV_Poly3D poly;
            for (const API_Coord3D& p : ring) poly.points.Insert(p);
            body.polygons.Insert(poly);
        }
    }
    ComputeTriangleNormalAngles(body);
    ASSERT_EQ(body.angles.GetCount(), body.polygons.GetCount());
    for (int32_t k = 0; k < body.angles.GetCount(); ++k) {
        EXPECT_TRUE(std::isfinite(body.angles[k])) << k;
        EXPECT_GE(body.angles[k], 0.0) << k;
        EXPECT_LE(body.angles[k], M_PI / 2 + 1e-12) << k;
        if (k % 4 == 3) {
            EXPECT_NEAR(body.angles[k], M_PI / 2, 1e-9) << k;
        }  // upright: its plan has no area
    }
}

// Records of random content; merging copies exactly the flagged fields, and never the layer or line type, which
// travel with the element.
std::string Str(const QV_String* text) { return text == nullptr ? std::string() : text->ToStdString(); }

TEST(ContourSettingsMerge, FlaggedFieldsAndOnlyThoseReachTheTarget) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> bit(0, 1);
    std::uniform_int_distribution<int> value(0, 255);
    for (int round = 0; round < 200; ++round) {
        ContourLineSettings target, source;
        SlopeRangeSettings slopeTarget, slopeSource;
        for (int16_t id = 0; id < ContourLineSettings::FieldCount; ++id) {
            target.SetReal(id, value(rng)), source.SetReal(id, value(rng) + 300.0);
            target.SetShort(id, int16_t(value(rng))), source.SetShort(id, int16_t(value(rng) + 300));
            target.SetPoint(id, {1, 2, 3}), source.SetPoint(id, {4, 5, 6});
            slopeTarget.SetShort(id, int16_t(value(rng))), slopeSource.SetShort(id, int16_t(value(rng) + 300));
        }
        target.mainStep = 1, source.mainStep = 2;
        *slopeTarget.Text(SlopeRangeSettings::Id::text2) = QV_String("a"),
        *slopeSource.Text(SlopeRangeSettings::Id::text2) = QV_String("b");
        slopeTarget.size = 1.0, slopeSource.size = 2.0;
        uint8_t flags[ContourLineSettings::FieldCount];
        for (uint8_t& f : flags) f = uint8_t(bit(rng));
        const ContourLineSettings before = target;
        const SlopeRangeSettings slopeBefore = slopeTarget;
        ContourLineSettings::MergeChanged(flags, target, source);
        SlopeRangeSettings::MergeChanged(flags, slopeTarget, slopeSource);
        for (int16_t id = 0; id < ContourLineSettings::FieldCount; ++id) {
            const bool copy =
                flags[id] != 0 && id != ContourLineSettings::Id::layer && id != ContourLineSettings::Id::lineType;
            const ContourLineSettings& want = copy ? source : before;
            EXPECT_EQ(target.GetReal(id), want.GetReal(id)) << id;
            EXPECT_EQ(target.GetShort(id), want.GetShort(id)) << id;
            EXPECT_EQ(target.GetPoint(id).z, want.GetPoint(id).z) << id;
            if (id < SlopeRangeSettings::FieldCount) {
                const SlopeRangeSettings& w =
                    flags[id] != 0 && id != SlopeRangeSettings::Id::layer ? slopeSource : slopeBefore;
                EXPECT_EQ(slopeTarget.GetShort(id), w.GetShort(id)) << id;
                EXPECT_EQ(Str(slopeTarget.Text(id)), Str(w.Text(id))) << id;
            }
        }
        EXPECT_EQ(target.mainStep, flags[ContourLineSettings::MainStepId] ? 2 : 1);
        // The terrain tool's edits arrive as a record: its differences, merged, give that record back.
        uint8_t differ[ContourLineSettings::FieldCount];
        FlagContourDifferences(target, source, differ);
        ContourLineSettings::MergeChanged(differ, target, source);
        for (int16_t id = 0; id < ContourLineSettings::FieldCount; ++id)
            if (id != ContourLineSettings::Id::layer && id != ContourLineSettings::Id::lineType) {
                EXPECT_TRUE(target.GetReal(id) == source.GetReal(id) && target.GetShort(id) == source.GetShort(id) &&
                            target.GetPoint(id).x == source.GetPoint(id).x && target.mainStep == source.mainStep)
                    << id;
            }
        EXPECT_EQ(slopeTarget.size, flags[SlopeRangeSettings::Id::size] ? 2.0 : 1.0);
    }
}

}  // namespace contour_lines_test
