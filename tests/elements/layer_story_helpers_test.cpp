// Layer states, story lookups and the small conversions, on the stand-in project database.
#include "ProjectHost.hpp"
#include "MemoryDriver.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/RecordLists.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/FileUtils.hpp"
#include "geometry/PointRotation.hpp"
#include "geometry/QV_Poly.hpp"
#include "elements/LibPartHelpers.hpp"

#include <cfloat>
#include <cmath>

namespace layer_story_helpers_test {

class LayerStoryHelpersTest : public ProjectHostTest {
protected:
    QV_List<API_Element> ElementsOf(const std::vector<API_Guid>& guids) {
        QV_List<API_Element> list;
        for (const API_Guid& g : guids) list.Insert(Db().Find(g)->record);
        return list;
    }
};

TEST_F(LayerStoryHelpersTest, ALayerIsSavedOnceOpenedAndRestoredToItsFirstState) {
    const int32_t closed = Layer("Closed", 0);
    const int32_t other = Layer("Other", 0);
    const API_Guid a = PlaceObject(API_ObjectID, libA, "A", closed);
    const API_Guid b = PlaceObject(API_ObjectID, libA, "B", closed);
    const API_Guid c = PlaceObject(API_ObjectID, libA, "C", other);
    Layer("Closed", APILay_Hidden | APILay_Locked);
    Layer("Other", APILay_Flag10);
    const QV_List<API_Element> elements = ElementsOf({a, b, c});

    QV_List<LayerState> states;
    ASSERT_TRUE(SaveAndOpenLayers(VY_Operators, elements, states, true));
    ASSERT_EQ(states.GetCount(), 2);
    EXPECT_EQ(states[0].index, closed);
    EXPECT_EQ(states[0].hidden, 1);
    EXPECT_EQ(states[0].locked, 1);
    EXPECT_EQ(states[0].flag16, 0);
    EXPECT_EQ(states[1].flag16, 1);
    EXPECT_EQ(LayerFlagsOf(closed), 0u);
    EXPECT_EQ(LayerFlagsOf(other), 0u);

    // With the layers open the objects can be changed.
    EXPECT_EQ(Command([&] {
                  GS::Array<API_Guid> guids;
                  guids.Push(a);
                  return ACAPI_Element_Delete(guids);
              }),
              NoError);

    // A second save without clearing keeps the first state of a layer.
    ASSERT_TRUE(SaveAndOpenLayers(VY_Operators, ElementsOf({b}), states, false));
    EXPECT_EQ(states.GetCount(), 2);
    RestoreLayerStates(VY_Operators, states);
    EXPECT_EQ(LayerFlagsOf(closed), APILay_Hidden | APILay_Locked);
    EXPECT_EQ(LayerFlagsOf(other), APILay_Flag10);

    ASSERT_TRUE(SaveAndOpenLayers(VY_Operators, ElementsOf({c}), states, true));
    EXPECT_EQ(states.GetCount(), 1);
    ClearLayerStates(states);
    EXPECT_EQ(states.GetCount(), 0);

    // A layer that cannot be read is not recorded.
    host->FailCall("Attribute_Get", -1, APIERR_GENERAL);
    EXPECT_FALSE(SaveAndOpenLayers(VY_Operators, ElementsOf({b}), states, true));
    EXPECT_EQ(states.GetCount(), 0);
    EXPECT_EQ(LayerFlagsOf(closed), APILay_Hidden | APILay_Locked);
}

TEST_F(LayerStoryHelpersTest, FlagsAreWrittenAsAWholeWordByIndexOrName) {
    const int32_t idx = Layer("VY_Operators", 0xFF00 | APILay_Hidden);
    LayerFlags f;
    f.locked = 1;
    f.flag4 = 1;
    ASSERT_EQ(SetLayerFlagsByIndex(f, idx), NoError);
    EXPECT_EQ(LayerFlagsOf(idx), APILay_Locked | APILay_ForceToWire);  // other bits go
    f = LayerFlags();
    f.hidden = 1;
    ASSERT_EQ(SetLayerFlagsByName(f, QV_String("VY_Operators")), NoError);
    EXPECT_EQ(LayerFlagsOf(idx), APILay_Hidden);
    f.flag16 = 1;
    ASSERT_EQ(SetLayerState(VY_Operators, 0, f), NoError);
    EXPECT_EQ(LayerFlagsOf(idx), 17u);
    ASSERT_EQ(SetLayerState(VY_Operators, 1, f), NoError);
    EXPECT_EQ(LayerFlagsOf(1), 17u);
    EXPECT_EQ(SetLayerFlagsByIndex(f, 99), APIERR_BADINDEX);
    EXPECT_EQ(SetLayerFlagsByName(f, QV_String("nope")), APIERR_BADINDEX);
    EXPECT_EQ(LayerFlagsWord(LayerFlagsFromWord(0xFFFFFFFF)), 0x17u);
}

TEST_F(LayerStoryHelpersTest, OpenLayerByNameReturnsTheFlagsBeforeAndWritesTheGivenOnes) {
    const int32_t idx = Layer("VY_Operators", APILay_Hidden | APILay_Locked);
    LayerFlags before;
    before.hidden = 9;
    ASSERT_EQ(OpenLayerByName(VY_Operators, before, 1, nullptr, nullptr, nullptr, nullptr), NoError);
    EXPECT_EQ(before.hidden, 0);  // skipped: all 0, nothing written
    EXPECT_EQ(LayerFlagsOf(idx), 3u);

    const uint8_t one = 1;
    ASSERT_EQ(OpenLayerByName(VY_Operators, before, 0, nullptr, nullptr, &one, nullptr), NoError);
    EXPECT_EQ(before.hidden, 1);
    EXPECT_EQ(before.locked, 1);
    EXPECT_EQ(LayerFlagsOf(idx), APILay_ForceToWire);
    ASSERT_EQ(SetLayerState(VY_Operators, 0, before), NoError);
    EXPECT_EQ(LayerFlagsOf(idx), 3u);

    QV_List<QV_String> missing;
    missing.Insert(QV_String("nope"));
    EXPECT_EQ(OpenLayerByName(missing, before, 0, &one, &one, &one, &one), APIERR_BADINDEX);
    EXPECT_EQ(before.hidden, 0);
}

TEST_F(LayerStoryHelpersTest, EnsureOperatorLayerCreatesItHiddenOnce) {
    ASSERT_EQ(VY_Operators.GetCount(), 1);
    const int32_t idx = EnsureOperatorLayer();
    ASSERT_GT(idx, 1);
    EXPECT_EQ(LayerFlagsOf(idx), 17u);
    Layer("VY_Operators", 0);
    EXPECT_EQ(EnsureOperatorLayer(), idx);
    EXPECT_EQ(LayerFlagsOf(idx), 0u);
    API_Attr_Head head = {};
    head.typeID = API_LayerID;
    head.index = idx;
    ASSERT_EQ(Db().DeleteAttribute(head), NoError);
    host->FailCall("Attribute_Create", -1, APIERR_GENERAL);
    EXPECT_EQ(EnsureOperatorLayer(), APIERR_GENERAL);
}

TEST_F(LayerStoryHelpersTest, StoryLevelsAndTheCurrentStory) {
    Db().SetStory(1, 3.25, "First");
    Db().SetStory(2, 6.5, "Second");
    const int64_t handles = MemoryDriver::LiveHandleCount();
    EXPECT_EQ(GetStoryLevel(2), 6.5);
    EXPECT_EQ(GetStoryLevel(0), 0.0);
    EXPECT_EQ(GetStoryLevel(7), DBL_MAX);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);
    EXPECT_TRUE(SetCurrentStory(2));
    EXPECT_EQ(Db().CurrentStory(), 2);
    EXPECT_FALSE(SetCurrentStory(5));
    EXPECT_EQ(Db().CurrentStory(), 2);
    host->FailCall("Environment", -1, APIERR_GENERAL);
    EXPECT_EQ(GetStoryLevel(1), DBL_MAX);
    EXPECT_FALSE(SetCurrentStory(1));
}

// A host whose story answer claims more stories than its handle holds.
GSErrCode ShortStoryList(const API_SelectorCall* call) {
    if (call->selector != APIEnv_GetStorySettingsID.code) return APIERR_BADPARS;
    auto* info = static_cast<API_StoryInfo*>(call->par1);
    std::memset(info, 0, sizeof *info);
    info->firstStory = 0;
    info->lastStory = 40;
    GSHandle h = BMAllocateHandle(sizeof(API_StoryType), ALLOCATE_CLEAR, 0);
    reinterpret_cast<API_StoryType*>(*h)->index = 0;
    reinterpret_cast<API_StoryType*>(*h)->level = 1.5;
    info->data = reinterpret_cast<API_StoryType**>(h);
    return NoError;
}

TEST_F(LayerStoryHelpersTest, StoryCountsNeverReadPastTheHandle) {
    API_HostFunctionTable table = host->Table();
    table.Environment = ShortStoryList;
    ASSERT_EQ(SetImportedFuncAddrs(&table), NoError);
    const int64_t handles = MemoryDriver::LiveHandleCount();
    EXPECT_EQ(GetStoryLevel(0), 1.5);
    EXPECT_EQ(GetStoryLevel(30), DBL_MAX);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);
}

TEST_F(LayerStoryHelpersTest, RebuildCurrentWindowActsOnlyWhenAskedToSwitch) {
    RebuildCurrentWindow(false, true, 1);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_FloorPlanID);
    EXPECT_EQ(Db().RebuildCount(), 0);
    RebuildCurrentWindow(true, false, 0);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
    EXPECT_EQ(Db().RebuildCount(), 0);
    RebuildCurrentWindow(true, true, 0);
    EXPECT_EQ(Db().RebuildCount(), 1);
}

TEST_F(LayerStoryHelpersTest, PathsGuidsAndMemoTexts) {
    QV_String text("old");
    LocationToPathString(text, IO::Location("/tmp/lib/"));
    EXPECT_EQ(text.ToStdString(), "\\tmp\\lib");
    LocationToPathString(text, IO::Location());
    EXPECT_TRUE(text.IsEmpty());

    API_Guid g;
    StringToGuid(g, QV_String("F938E33A-329D-4A36-BE3E-85E126820996"));
    EXPECT_EQ(g.time_low, 0xF938E33Au);
    EXPECT_EQ(g.time_mid, 0x329D);
    EXPECT_EQ(g.node[5], 0x96);
    StringToGuid(g, QV_String("{F938E33A-329D-4A36-BE3E-85E126820996}-{0}"));
    EXPECT_EQ(g, APINULLGuid);
    StringToGuid(g, QV_String());
    EXPECT_EQ(g, APINULLGuid);

    API_ElementMemo memo = {};
    QV_String id("VY30 Slab");
    SetMemoInfoString(memo, id);
    ASSERT_NE(memo.elemInfoString, nullptr);
    EXPECT_EQ(memo.elemInfoString->ToUtf8(), "VY30 Slab");
    EXPECT_FALSE(id.HasBuffer());  // the caller's text is emptied
    QV_String other("Road 1");
    SetMemoInfoString(memo, other);
    EXPECT_EQ(memo.elemInfoString->ToUtf8(), "Road 1");
    DisposeElemMemo(memo);
    EXPECT_EQ(memo.elemInfoString, nullptr);
}

TEST_F(LayerStoryHelpersTest, DisposeElemMemoReleasesParameterCellsAndEverythingElse) {
    const int64_t handles = MemoryDriver::LiveHandleCount();
    StoredMemo m;
    StoredParam arr = {};
    arr.record.dim1 = 3;
    arr.record.dim2 = 2;
    arr.cells = std::string(48, '\0');
    StoredParam text = {};
    text.record.typeID = APIParT_Text;  // a scalar text: its value is no handle
    text.record.value.uStr[0] = u'x';
    m.params = std::vector<StoredParam>{arr, text, arr};
    m.coords = std::vector<API_Coord>(3);
    m.sideMaterials = std::vector<API_OverriddenAttribute>(2);
    API_ElementMemo memo = {};
    ASSERT_EQ(WriteApiMemo(m, APIMemoMask_All, &memo), NoError);
    const int64_t ptrs = MemoryDriver::LivePtrCount();
    DisposeElemMemo(memo);
    EXPECT_EQ(memo.params, nullptr);
    EXPECT_EQ(memo.coords, nullptr);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);
    EXPECT_EQ(MemoryDriver::LivePtrCount(), ptrs - 1);
}

// A host whose library search finds parts without a definition.
GSErrCode SearchFindsNoDefinition(API_LibPart* libPart) {
    libPart->index = 4;
    libPart->missingDef = 1;
    return NoError;
}

TEST_F(LayerStoryHelpersTest, LibraryPartsAreSearchedByNameAndGiveTheirFilesPath) {
    API_LibPart part;
    ASSERT_EQ(LibPart_SearchByName(QV_String("part_a"), 0, part), NoError);
    EXPECT_EQ(part.index, libA);
    EXPECT_EQ(LibPart_SearchByName(QV_String("PART_C"), 0, part), APIERR_BADNAME);

    QV_String path("untouched");
    ASSERT_TRUE(GetLibPartPath(libB, path));
    std::string expected = UserFile("lib/PART_B.lpd");
    for (char& c : expected)
        if (c == '/') c = '\\';
    EXPECT_EQ(path.ToStdString(), expected);
    path = QV_String("untouched");
    EXPECT_FALSE(GetLibPartPath(99, path));
    EXPECT_EQ(path.ToStdString(), "untouched");

    API_HostFunctionTable table = host->Table();
    table.LibPart_Search = SearchFindsNoDefinition;
    ASSERT_EQ(SetImportedFuncAddrs(&table), NoError);
    EXPECT_EQ(LibPart_SearchByName(QV_String("PART_A"), 4, part), LodravixErr_StepFailed);
}

TEST(LayerStoryGeometry, PolygonListsKeepTheirHeadOrStartEmpty) {
    QV_List<QV_Poly> list;
    ASSERT_TRUE(SetPolyListSize(list, 2, true));
    list[0].AddPointXY(1, 2, false, 1e-7);
    list[1].AddPointXY(3, 4, false, 1e-7);
    ASSERT_TRUE(SetPolyListSize(list, 3, true));
    EXPECT_EQ(list[0].VertexCount(), 1);
    EXPECT_EQ(list[1].vertices[0].x, 3.0);
    EXPECT_EQ(list[2].VertexCount(), 0);
    ASSERT_TRUE(SetPolyListSize(list, 1, true));
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list[0].VertexCount(), 1);
    ASSERT_TRUE(SetPolyListSize(list, 2, false));
    EXPECT_EQ(list[0].VertexCount(), 0);
    EXPECT_EQ(list[1].VertexCount(), 0);
    ASSERT_TRUE(SetPolyListSize(list, -4, true));
    EXPECT_EQ(list.GetCount(), 0);
}

TEST(LayerStoryGeometry, RotatePointTurnsCounterClockwiseAboutTheCentre) {
    double x = 2, y = 1;
    RotatePoint(x, y, 1, 1, M_PI / 2);
    EXPECT_NEAR(x, 1.0, 1e-12);
    EXPECT_NEAR(y, 2.0, 1e-12);
    RotatePoint(x, y, 1, 1, -M_PI / 2);
    EXPECT_NEAR(x, 2.0, 1e-12);
    EXPECT_NEAR(y, 1.0, 1e-12);
}

struct Seg {
    double x1, y1, x2, y2;
};

TEST(LayerStoryGeometry, FindSegmentIndexMatchesEitherDirectionWithinTolerance) {
    QV_List<Seg> list;
    list.Insert({0, 0, 1, 0});
    list.Insert({1, 0, 1, 1});
    list.Insert({1, 1, 0, 0});
    int32_t index = -5;
    EXPECT_TRUE(FindSegmentIndex(list, Seg{1, 1, 1, 0}, index));
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(FindSegmentIndex(list, Seg{0, 5e-8, 1, 1}, index));
    EXPECT_EQ(index, 3);
    index = -5;
    EXPECT_FALSE(FindSegmentIndex(list, Seg{0, 2e-7, 1, 1}, index));
    EXPECT_EQ(index, -5);
    EXPECT_FALSE(FindSegmentIndex(QV_List<Seg>(), Seg{0, 0, 1, 0}, index));
}

}  // namespace layer_story_helpers_test
