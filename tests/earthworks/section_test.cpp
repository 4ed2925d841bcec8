// The road cross section on the in-process stand-in host: a road object made the object tool's default with the
// section settings, the placed copy tagged with its road, and section objects told apart from roads.
#include "FakeContourLineRefresh.hpp"
#include "FakeEarthworkDialogs.hpp"
#include "LibraryHost.hpp"
#include "SettingsKinds.hpp"

#include "earthworks/Road.hpp"
#include "earthworks/Section.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/GuidText.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"

#include <random>

namespace section_test {

bool SectionDialogConfirms = true;
int32_t SectionDialogLayer = 1;
std::vector<int16_t> SectionDialogFlags;
uint16_t SectionDialogFlipLeft = 0;

DialogAnswer FakeSectionDialog(SectionDialogState& state) {
    if (!SectionDialogConfirms) return DialogAnswer::Cancelled;
    state.record.straightPen = 33;
    state.record.flipRight = 1;
    state.record.layer = uint16_t(SectionDialogLayer);
    state.record.flipLeft = SectionDialogFlipLeft;
    for (int16_t id : SectionDialogFlags) state.changed[id] = 1;
    return DialogAnswer::Confirmed;
}

DialogAnswer FakeRoadDialog(RoadDialogState&, int32_t) { return DialogAnswer::Confirmed; }

class SectionTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        if (HasFatalFailure()) return;
        GlobalSettings.SetDouble(GeneralKind, MiscSettings::Id::roadWidth, 8.0);
        SectionDialogConfirms = true;
        SectionDialogLayer = 1;
        SectionDialogFlags.clear();
        SectionDialogFlipLeft = 0;
        dialogs.road = FakeRoadDialog;
        dialogs.section = FakeSectionDialog;
        std::vector<API_Coord3D> points;
        for (int i = 0; i <= 4; ++i)
            for (int j = 0; j <= 4; ++j) points.push_back({40.0 * i, 30.0 * j, 100.0 + i});
        const API_Element placedTerrain = PlaceTerrain(points);
        const API_Guid g = placedTerrain.header.guid;
        API_Guid path = {};
        ASSERT_EQ(Db().PlacePolygonElement(API_PolyLineID, {{30, 40, 0}, {120, 60, 0}}, false, 1, "path", &path),
                  NoError);
        RoadCls road;
        ASSERT_EQ(road.CreateAlongPolyline(GlobalSettings, dialogs, contours, Get(path), Get(g)), 0);
        GS::Array<API_Guid> objects;
        ASSERT_EQ(ACAPI_Element_GetElemList(API_ObjectID, &objects), NoError);
        ASSERT_EQ(objects.GetSize(), 3u);
        for (uint32_t i = 0; i < objects.GetSize(); ++i) roads.push_back(Get(objects[i]));
        ElemDescriptor record;
        ASSERT_TRUE(ElemUserData_Read(record, ElemKind_Road, roads[0].header));
        StringToGuid(result, record.ResultGuid);
    }
    // The user places the object tool's default; the host then reports the new element.
    API_Element PlaceToolDefault() {
        API_Element e = {};
        e.header.typeID = API_ObjectID;
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetDefaults(&e, &memo), NoError);
        EXPECT_EQ(Command([&] { return ACAPI_Element_Create(&e, &memo); }), NoError);
        ACAPI_DisposeElemMemoHdls(&memo);
        QV_List<API_Elem_Head> heads;
        heads.Insert(e.header);
        EXPECT_EQ(Command([&] { return SectionCls::OnElementEvent(1, heads) == 1 ? NoError : GSErrCode(-1); }),
                  NoError);
        return Get(e.header.guid);
    }
    int16_t ShortParam(const API_Element& e, int32_t index) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        RoadLP view(ElemKind_Road);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        int16_t value = -1;
        EXPECT_TRUE(view.GetSetShort(index, value, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return value;
    }
    // One edge of a placed road object, in its own coordinates.
    QV_List<QV_Coord3DLong> Edge(const API_Element& e, bool left) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        RoadLP view(ElemKind_Road);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<QV_Coord3DLong> edge;
        EXPECT_TRUE(left ? BaseIDLP::ExchangePerimetroBaseSX(view, edge, LPMode_Get)
                         : BaseIDLP::ExchangePerimetroBaseDX(view, edge, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return edge;
    }
    // The user edits one height of a section's edge.
    void SetEdgeHeight(const API_Element& e, bool left, int32_t index, double z) {
        QV_List<QV_Coord3DLong> edge = Edge(e, left);
        ASSERT_LT(index, edge.GetCount());
        edge[index].z = z;
        API_ElementMemo memo = {};
        ASSERT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        RoadLP view(ElemKind_Road);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        ASSERT_TRUE(left ? BaseIDLP::ExchangePerimetroBaseSX(view, edge, LPMode_Set)
                         : BaseIDLP::ExchangePerimetroBaseDX(view, edge, LPMode_Set));
        memo.params = reinterpret_cast<API_AddParType**>(view.params);
        view.Detach();
        API_Element copy = e;
        EXPECT_EQ(Command([&] { return ChangeElementMemo(&copy, &memo); }), NoError);
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    size_t Count(API_ElemTypeID type) {
        size_t n = 0;
        for (const API_Guid& g : Db().AllElements()) n += Db().Find(g)->record.header.typeID == type ? 1 : 0;
        return n;
    }
    FakeEarthworkDialogs dialogs;
    FakeContourLineRefresh contours;
    std::vector<API_Element> roads;
    API_Guid result = APINULLGuid;
};

TEST_F(SectionTest, APlacedToolDefaultIsASectionTaggedWithItsRoadAndNeverARoad) {
    SectionCls section(GlobalSettings.section.font);
    ASSERT_EQ(section.CreateFromRoad(GlobalSettings, dialogs, roads[0]), 0);
    EXPECT_EQ(GlobalSettings.section.straightPen, 33);
    // The road object itself is untouched.
    EXPECT_EQ(ShortParam(Get(roads[0].header.guid), RoadParam::Section), 0);

    const API_Element placed = PlaceToolDefault();
    EXPECT_EQ(placed.object.libInd, roads[0].object.libInd);
    EXPECT_EQ(ShortParam(placed, RoadParam::Section), 1);
    EXPECT_EQ(ShortParam(placed, 48), 33);  // penna_rette
    EXPECT_EQ(ShortParam(placed, 62), 1);   // flip_right
    ElemDescriptor tag;
    ASSERT_TRUE(ElemUserData_Read(tag, ElemKind_Section, placed.header));
    QV_String expected;
    GuidToText(expected, result);
    EXPECT_EQ(tag.OriginalGuid.ToStdString(), expected.ToStdString());
    // The copy carries no road record, and only it passes the section filter.
    ElemDescriptor asRoad;
    EXPECT_FALSE(ElemUserData_Read(asRoad, ElemKind_Road, placed.header));
    QV_List<API_Element> all;
    for (const API_Element& r : roads) all.Insert(r);
    all.Insert(placed);
    ASSERT_TRUE(FilterRoadsWithSection(all, placed.object.libInd));
    ASSERT_EQ(all.GetCount(), 1);
    EXPECT_TRUE(all[0].header.guid == placed.header.guid);
    EXPECT_FALSE(IsSectionObject(placed, placed.object.libInd + 1));

    // A second placement keeps its own tag; a road object reported as new is not tagged.
    QV_List<API_Elem_Head> heads;
    heads.Insert(roads[1].header);
    EXPECT_EQ(Command([&] { return SectionCls::OnElementEvent(1, heads) == 1 ? NoError : GSErrCode(-1); }), NoError);
    ElemDescriptor none;
    EXPECT_FALSE(ElemUserData_Read(none, ElemKind_Section, roads[1].header));
}

TEST_F(SectionTest, NothingIsPreparedOnCancelOrWithoutAResultObject) {
    SectionDialogConfirms = false;
    SectionCls cancelled(GlobalSettings.section.font);
    EXPECT_EQ(cancelled.CreateFromRoad(GlobalSettings, dialogs, roads[0]), 0);
    API_Element defaults = {};
    defaults.header.typeID = API_ObjectID;
    ASSERT_EQ(ACAPI_Element_GetDefaults(&defaults, nullptr), NoError);
    EXPECT_NE(defaults.object.libInd, roads[0].object.libInd);

    // A garbled result link would tag sections with the null GUID: refused.
    SectionDialogConfirms = true;
    ElemDescriptor record;
    ASSERT_TRUE(ElemUserData_Read(record, ElemKind_Road, roads[2].header));
    record.OriginalGuid = QV_String("not a guid");
    ASSERT_EQ(Command([&] {
                  return ElemUserData_WriteRecord(record, ElemKind_Road, roads[2].header) ? NoError : GSErrCode(-1);
              }),
              NoError);
    SectionCls garbled(GlobalSettings.section.font);
    EXPECT_EQ(garbled.CreateFromRoad(GlobalSettings, dialogs, roads[2]), 43);
    ASSERT_EQ(ACAPI_Element_GetDefaults(&defaults, nullptr), NoError);
    EXPECT_NE(defaults.object.libInd, roads[2].object.libInd);
}

TEST_F(SectionTest, AnEditOfPlacedSectionsChangesOnlyTheFlaggedFields) {
    SectionCls prepare(GlobalSettings.section.font);
    ASSERT_EQ(prepare.CreateFromRoad(GlobalSettings, dialogs, roads[0]), 0);
    const API_Element first = PlaceToolDefault();
    QV_List<API_Element> sections;
    sections.Insert(first);
    // Only the layer flagged: the drawing settings stay as the object holds them.
    GlobalSettings.section.straightPen = 7;
    SectionDialogLayer = Layer("sections", 0);
    SectionDialogFlags = {SectionSettings::Id::layer};
    SectionCls edit(GlobalSettings.section.font);
    ASSERT_EQ(edit.ModifySelected(dialogs, sections), 0);
    API_Element after = Get(first.header.guid);
    EXPECT_EQ(after.header.layer, SectionDialogLayer);
    EXPECT_EQ(ShortParam(after, 48), 33);
    EXPECT_EQ(ShortParam(after, 61), 0);
    // A flagged field reaches the object; the layer stays when its flag is clear.
    SectionDialogLayer = 1;
    SectionDialogFlags = {SectionSettings::Id::flipLeft};
    SectionDialogFlipLeft = 1;
    sections.Clear();
    sections.Insert(after);
    ASSERT_EQ(edit.ModifySelected(dialogs, sections), 0);
    after = Get(first.header.guid);
    EXPECT_NE(after.header.layer, 1);
    EXPECT_EQ(ShortParam(after, 61), 1);
    EXPECT_EQ(ShortParam(after, RoadParam::Section), 1);
}

TEST(SectionSettingsTest, CopyChangedFieldsTakesExactlyTheFlaggedFieldsButNeverTheLayer) {
    // Every integer field but the layer.
    const int16_t shortIds[] = {
        SectionSettings::Id::straightPen,     SectionSettings::Id::curvePen,   SectionSettings::Id::terrainPen,
        SectionSettings::Id::dividerLineType, SectionSettings::Id::dividerPen, SectionSettings::Id::straightLineType,
        SectionSettings::Id::linePen,         SectionSettings::Id::textPen,    SectionSettings::Id::showPlan,
        SectionSettings::Id::showLeft,        SectionSettings::Id::showRight,  SectionSettings::Id::flipLeft,
        SectionSettings::Id::flipRight};
    std::mt19937 rng(16);
    for (int round = 0; round < 200; ++round) {
        SectionSettings source, target;
        source.SetDefaults(QV_String("Source"));
        target.SetDefaults(QV_String("Target"));
        source.layer = 9;
        source.bottomLevel = 3.5;
        source.textSize = 7.0;
        for (int16_t id : shortIds) source.SetShort(id, int16_t(100 + id));
        uint8_t flags[SectionFieldCount];
        for (uint8_t& f : flags) f = uint8_t(rng() % 2);
        const SectionSettings before = target;
        CopyChangedFields(flags, target, source);
        EXPECT_EQ(target.layer, before.layer);
        EXPECT_EQ(target.bottomLevel,
                  flags[SectionSettings::Id::bottomLevel] ? source.bottomLevel : before.bottomLevel);
        EXPECT_EQ(target.font.ToStdString(),
                  (flags[SectionSettings::Id::font] ? source.font : before.font).ToStdString());
        EXPECT_EQ(target.textSize, flags[SectionSettings::Id::textSize] ? source.textSize : before.textSize);
        for (int16_t id : shortIds)
            EXPECT_EQ(target.GetShort(id), flags[id] ? source.GetShort(id) : before.GetShort(id)) << id;
    }
}

TEST_F(SectionTest, ARebuildCarriesTheSectionsEdgeHeightsIntoItsRoadFromAnyWindow) {
    SectionCls section(GlobalSettings.section.font);
    ASSERT_EQ(section.CreateFromRoad(GlobalSettings, dialogs, roads[0]), 0);
    const API_Element placed = PlaceToolDefault();
    const size_t meshes = Count(API_MeshID);
    for (const bool from3D : {false, true}) {
        const double z = from3D ? 91.5 : 123.25;
        SetEdgeHeight(placed, true, 1, z);
        SetEdgeHeight(placed, false, 0, z + 1.0);
        const QV_List<QV_Coord3DLong> before = Edge(Get(result), true);
        if (from3D) {
            API_WindowInfo w = {};
            w.typeID = APIWind_3DModelID;
            ASSERT_EQ(Db().ChangeWindow(w), NoError);
        }
        ASSERT_EQ(section.Rebuild(dialogs, contours, Get(placed.header.guid)), 0) << from3D;
        EXPECT_EQ(Db().FrontWindowType(), from3D ? APIWind_3DModelID : APIWind_FloorPlanID);
        EXPECT_EQ(Db().CurrentDatabaseType(), from3D ? APIWind_3DModelID : APIWind_FloorPlanID);
        if (from3D) {
            API_WindowInfo w = {};
            w.typeID = APIWind_FloorPlanID;
            ASSERT_EQ(Db().ChangeWindow(w), NoError);
        }
        // The heights arrive on the result object and its partners; x, y stay the road's.
        for (const API_Element& road : roads) {
            const QV_List<QV_Coord3DLong> left = Edge(Get(road.header.guid), true);
            ASSERT_EQ(left.GetCount(), before.GetCount());
            EXPECT_DOUBLE_EQ(left[1].z, z);
            EXPECT_DOUBLE_EQ(left[1].x, before[1].x);
            EXPECT_DOUBLE_EQ(left[0].z, before[0].z);
            EXPECT_DOUBLE_EQ(Edge(Get(road.header.guid), false)[0].z, z + 1.0);
        }
        // The rebuild's terrain copy is gone again.
        EXPECT_EQ(Count(API_MeshID), meshes);
    }
    EXPECT_EQ(dialogs.sectionWindowNotices, 0);  // the palette is told only of a section window rebuilt
}

TEST_F(SectionTest, ASectionNamingNoRoadIsDeletedAndOneWhoseRoadIsGoneStays) {
    SectionCls section(GlobalSettings.section.font);
    ASSERT_EQ(section.CreateFromRoad(GlobalSettings, dialogs, roads[0]), 0);
    const API_Element orphan = PlaceToolDefault();
    const API_Element kept = PlaceToolDefault();
    ElemDescriptor none;
    ASSERT_EQ(Command([&] {
                  return ElemUserData_RewriteRecord(none, ElemKind_Section, orphan.header) ? NoError : GSErrCode(-1);
              }),
              NoError);
    EXPECT_EQ(section.Rebuild(dialogs, contours, Get(orphan.header.guid)), 0);
    EXPECT_EQ(Db().Find(orphan.header.guid), nullptr);

    GS::Array<API_Guid> all;
    for (const API_Element& r : roads) all.Push(r.header.guid);
    ASSERT_EQ(Command([&] { return ACAPI_Element_Delete(all); }), NoError);
    EXPECT_EQ(section.Rebuild(dialogs, contours, Get(kept.header.guid)), 43);
    EXPECT_NE(Db().Find(kept.header.guid), nullptr);
}

TEST_F(SectionTest, OnlySectionObjectsPassTheRoadPartsSectionReads) {
    SectionCls section(GlobalSettings.section.font);
    ASSERT_EQ(section.CreateFromRoad(GlobalSettings, dialogs, roads[0]), 0);
    const API_Element placed = PlaceToolDefault();
    const int32_t part = placed.object.libInd;
    GS::Array<API_Guid> guids;
    EXPECT_EQ(RoadLP::ReadSection(guids, part), 1);
    for (const API_Element& r : roads) {
        guids.Push(r.header.guid);
        EXPECT_FALSE(RoadLP::ReadObject(r, part));
    }
    guids.Push(placed.header.guid);
    EXPECT_TRUE(RoadLP::ReadObject(placed, part));
    EXPECT_EQ(RoadLP::ReadSection(guids, part), 0);
    ASSERT_EQ(guids.GetSize(), 1u);
    EXPECT_TRUE(guids[0] == placed.header.guid);
    // Another part's index finds none.
    EXPECT_EQ(RoadLP::ReadSection(guids, part + 1), 0);
    EXPECT_TRUE(guids.IsEmpty());
}

TEST_F(SectionTest, AnObjectTheHostWillNotTellApartIsNeitherSectionNorRoad) {
    SectionCls section(GlobalSettings.section.font);
    ASSERT_EQ(section.CreateFromRoad(GlobalSettings, dialogs, roads[0]), 0);
    const API_Element placed = PlaceToolDefault();
    const int32_t part = placed.object.libInd;
    QV_List<API_Element> objects;
    for (const API_Element& r : roads) objects.Insert(r);
    objects.Insert(placed);
    QV_List<API_Element> kept = objects;
    ASSERT_TRUE(FilterRoadsWithSection(kept, part));
    ASSERT_EQ(kept.GetCount(), 1);
    EXPECT_TRUE(kept[0].header.guid == placed.header.guid);
    // The part or an object's parameters refused, on any of the reads: no answer, never "no section".
    for (const char* function : {"LibPart_Get", "Element_GetMemo"})
        for (int32_t passes = 0; passes < objects.GetCount(); ++passes) {
            kept = objects;
            ASSERT_TRUE(host->FailCallAfter(function, -1, APIERR_GENERAL, passes));
            const bool answered = FilterRoadsWithSection(kept, part);
            host->ClearFailures();
            EXPECT_FALSE(answered) << function << " " << passes;
        }
}

TEST(SectionHeightsTest, OnlyTheCommonVertexIndicesTakeTheSectionsHeights) {
    std::mt19937 rng(7);
    for (int round = 0; round < 100; ++round) {
        QV_List<QV_Coord3DLong> section, road;
        const int32_t ns = int32_t(rng() % 12), nr = int32_t(rng() % 12);
        for (int32_t i = 0; i < ns; ++i) section.Insert(QV_Coord3DLong{100.0 + i, 1.0, 50.0 + i, 2});
        for (int32_t i = 0; i < nr; ++i) road.Insert(QV_Coord3DLong{double(i), 2.0, -1.0, int32_t(i % 3)});
        CopyCommonHeights(section, road);
        ASSERT_EQ(road.GetCount(), nr);
        for (int32_t i = 0; i < nr; ++i) {
            EXPECT_EQ(road[i].z, i < ns ? 50.0 + i : -1.0);
            EXPECT_EQ(road[i].x, double(i));
            EXPECT_EQ(road[i].code, i % 3);
        }
    }
}

}  // namespace section_test
