// The road cross section on the in-process stand-in host: a road object made the object tool's default with the
// section settings, the placed copy tagged with its road, and section objects told apart from roads.
#include "LibraryHost.hpp"

#include "earthworks/Road.hpp"
#include "earthworks/Section.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/GuidText.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"

#include <random>

namespace {

bool SectionDialogConfirms = true;
int32_t SectionDialogLayer = 1;
std::vector<int16_t> SectionDialogFlags;
uint16_t SectionDialogFlipLeft = 0;

bool FakeSectionDialog(SectionDialogState& state) {
    if (!SectionDialogConfirms) return false;
    state.record.straightPen = 33;
    state.record.flipRight = 1;
    state.record.layer = uint16_t(SectionDialogLayer);
    state.record.flipLeft = SectionDialogFlipLeft;
    for (int16_t id : SectionDialogFlags) state.changed[id] = 1;
    return true;
}

bool FakeRoadDialog(RoadDialogState&, int32_t) { return true; }

class SectionTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        if (HasFatalFailure()) return;
        GlobalSettings.SetDouble(0, 5, 8.0);
        SectionDialogConfirms = true;
        SectionDialogLayer = 1;
        SectionDialogFlags.clear();
        SectionDialogFlipLeft = 0;
        SetRoadDialogOpener(FakeRoadDialog);
        SetSectionDialogOpener(FakeSectionDialog);
        std::vector<API_Coord3D> points;
        for (int i = 0; i <= 4; ++i)
            for (int j = 0; j <= 4; ++j) points.push_back({40.0 * i, 30.0 * j, 100.0 + i});
        const API_Element placedTerrain = PlaceTerrain(points);
        const API_Guid g = placedTerrain.header.guid;
        API_Guid path = {};
        ASSERT_EQ(Db().PlacePolygonElement(API_PolyLineID, {{30, 40, 0}, {120, 60, 0}}, false, 1, "path", &path),
                  NoError);
        RoadCls road;
        ASSERT_EQ(road.CreateAlongPolyline(Get(path), Get(g)), 0);
        GS::Array<API_Guid> objects;
        ASSERT_EQ(ACAPI_Element_GetElemList(API_ObjectID, &objects), NoError);
        ASSERT_EQ(objects.GetSize(), 3u);
        for (uint32_t i = 0; i < objects.GetSize(); ++i) roads.push_back(Get(objects[i]));
        ElemDescriptor record;
        ASSERT_TRUE(ElemUserData_Read(record, ElemKind_Road, roads[0].header));
        StringToGuid(result, record.ResultGuid);
    }
    void TearDown() override {
        SetRoadDialogOpener(nullptr);
        SetSectionDialogOpener(nullptr);
        LibraryHostTest::TearDown();
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
    std::vector<API_Element> roads;
    API_Guid result = APINULLGuid;
};

TEST_F(SectionTest, APlacedToolDefaultIsASectionTaggedWithItsRoadAndNeverARoad) {
    SectionCls section;
    ASSERT_EQ(section.CreateFromRoad(roads[0]), 0);
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
    SectionCls cancelled;
    EXPECT_EQ(cancelled.CreateFromRoad(roads[0]), 0);
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
    SectionCls garbled;
    EXPECT_EQ(garbled.CreateFromRoad(roads[2]), 43);
    ASSERT_EQ(ACAPI_Element_GetDefaults(&defaults, nullptr), NoError);
    EXPECT_NE(defaults.object.libInd, roads[2].object.libInd);
}

TEST_F(SectionTest, AnEditOfPlacedSectionsChangesOnlyTheFlaggedFields) {
    SectionCls prepare;
    ASSERT_EQ(prepare.CreateFromRoad(roads[0]), 0);
    const API_Element first = PlaceToolDefault();
    QV_List<API_Element> sections;
    sections.Insert(first);
    // Only the layer flagged: the drawing settings stay as the object holds them.
    GlobalSettings.section.straightPen = 7;
    SectionDialogLayer = Layer("sections", 0);
    SectionDialogFlags = {0};
    SectionCls edit;
    ASSERT_EQ(edit.ModifySelected(sections), 0);
    API_Element after = Get(first.header.guid);
    EXPECT_EQ(after.header.layer, SectionDialogLayer);
    EXPECT_EQ(ShortParam(after, 48), 33);
    EXPECT_EQ(ShortParam(after, 61), 0);
    // A flagged field reaches the object; the layer stays when its flag is clear.
    SectionDialogLayer = 1;
    SectionDialogFlags = {15};
    SectionDialogFlipLeft = 1;
    sections.Clear();
    sections.Insert(after);
    ASSERT_EQ(edit.ModifySelected(sections), 0);
    after = Get(first.header.guid);
    EXPECT_NE(after.header.layer, 1);
    EXPECT_EQ(ShortParam(after, 61), 1);
    EXPECT_EQ(ShortParam(after, RoadParam::Section), 1);
}

TEST(SectionSettingsTest, CopyChangedFieldsTakesExactlyTheFlaggedFieldsButNeverTheLayer) {
    std::mt19937 rng(16);
    for (int round = 0; round < 200; ++round) {
        SectionSettings source, target;
        source.SetDefaults(QV_String("Source"));
        target.SetDefaults(QV_String("Target"));
        source.layer = 9;
        source.bottomLevel = 3.5;
        source.textSize = 7.0;
        for (int16_t id : {2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16}) source.SetByItem(id, int16_t(100 + id));
        uint8_t flags[SectionFieldCount];
        for (uint8_t& f : flags) f = uint8_t(rng() % 2);
        const SectionSettings before = target;
        CopyChangedFields(flags, target, source);
        EXPECT_EQ(target.layer, before.layer);
        EXPECT_EQ(target.bottomLevel, flags[1] ? source.bottomLevel : before.bottomLevel);
        EXPECT_EQ(target.font.ToStdString(), (flags[9] ? source.font : before.font).ToStdString());
        EXPECT_EQ(target.textSize, flags[10] ? source.textSize : before.textSize);
        for (int16_t id : {2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16})
            EXPECT_EQ(target.GetByItem(id), flags[id] ? source.GetByItem(id) : before.GetByItem(id)) << id;
    }
}

}  // namespace
