// "Data update": the choice of rebuild by the selection, and the terrain, road and road-section cases run on the
// in-process stand-in host with the module's subsystems wired.
#include "LibraryHost.hpp"

#include "DGDriver.hpp"
#include "earthworks/Road.hpp"
#include "earthworks/Section.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/LibPartViews.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/Language.hpp"
#include "shell/ShellState.hpp"
#include "shell/Wiring.hpp"
#include "shell/commands/DataUpdate.hpp"

#include <random>

namespace {

bool ConfirmRoad(RoadDialogState&, int32_t) { return true; }
bool ConfirmSection(SectionDialogState&) { return true; }

TEST(DataUpdateChoiceTest, EachKindAloneChoosesItsRebuildAndMixturesChooseNone) {
    using C = DataUpdateCase;
    int32_t DataUpdateSelection::*const singles[] = {
        &DataUpdateSelection::basins,    &DataUpdateSelection::roads,        &DataUpdateSelection::sections,
        &DataUpdateSelection::plateaus,  &DataUpdateSelection::sidewalks,    &DataUpdateSelection::retainingWalls,
        &DataUpdateSelection::buildings, &DataUpdateSelection::colouredAreas};
    const C expected[] = {C::Basin,    C::Road,          C::RoadSection, C::Plateau,
                          C::Sidewalk, C::RetainingWall, C::Building,    C::ColouredArea};
    std::mt19937 rng(108);
    for (int round = 0; round < 300; ++round) {
        DataUpdateSelection s;
        s.projectTerrains = int32_t(rng() % 3);
        const size_t k = rng() % 8;
        s.*singles[k] = 1;
        s.selected = 1;
        EXPECT_EQ(ChooseDataUpdateCase(s), expected[k]);
        // Two of one kind, or one with anything else beside it, match no single-object case.
        s.selected = 2;
        EXPECT_EQ(ChooseDataUpdateCase(s), C::None);
        s.*singles[k] = 2;
        EXPECT_EQ(ChooseDataUpdateCase(s), C::None);
        // Walls or bridges alone go together, in any number; mixed they do not.
        DataUpdateSelection many;
        many.selected = 1 + int32_t(rng() % 5);
        (rng() % 2 ? many.walls : many.bridges) = many.selected;
        EXPECT_EQ(ChooseDataUpdateCase(many), many.walls > 0 ? C::Walls : C::Bridges);
        many.walls = many.bridges = many.selected;
        many.selected *= 2;
        EXPECT_EQ(ChooseDataUpdateCase(many), C::None);
    }
    DataUpdateSelection railway;
    railway.selected = railway.railways = 1;
    EXPECT_EQ(ChooseDataUpdateCase(railway), C::None);
    // A level marker with its terrain, only while the project holds exactly one terrain.
    DataUpdateSelection marker;
    marker.selected = 2;
    marker.markers = 1;
    marker.projectTerrains = 1;
    EXPECT_EQ(ChooseDataUpdateCase(marker), C::LevelMarker);
    marker.projectTerrains = 2;
    EXPECT_EQ(ChooseDataUpdateCase(marker), C::None);
}

class DataUpdateTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        if (HasFatalFailure()) return;
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        WireSubsystems();
        SetRoadDialogOpener(ConfirmRoad);
        SetSectionDialogOpener(ConfirmSection);
        UpdateConfirmation = 1;
        GlobalSettings.SetDouble(0, 5, 8.0);
        std::vector<API_Coord3D> points;
        for (int i = 0; i <= 4; ++i)
            for (int j = 0; j <= 4; ++j) points.push_back({40.0 * i, 30.0 * j, 100.0 + 0.1 * 40.0 * i});
        terrain = PlaceTerrain(points);
        API_Guid path = {};
        ASSERT_EQ(Db().PlacePolygonElement(API_PolyLineID, {{30, 40, 0}, {120, 60, 0}}, false, 1, "path", &path),
                  NoError);
        RoadCls road;
        ASSERT_EQ(road.CreateAlongPolyline(Get(path), terrain), 0);
        roads = Objects(ElemKind_Road);
        ASSERT_EQ(roads.size(), 3u);
        ElemDescriptor record;
        ASSERT_TRUE(ElemUserData_Read(record, ElemKind_Road, roads[0].header));
        StringToGuid(result, record.ResultGuid);
        SectionCls prepare;
        ASSERT_EQ(prepare.CreateFromRoad(roads[0]), 0);
        API_Element e = {};
        e.header.typeID = API_ObjectID;
        API_ElementMemo memo = {};
        ASSERT_EQ(ACAPI_Element_GetDefaults(&e, &memo), NoError);
        ASSERT_EQ(Command([&] { return ACAPI_Element_Create(&e, &memo); }), NoError);
        ACAPI_DisposeElemMemoHdls(&memo);
        QV_List<API_Elem_Head> heads;
        heads.Insert(e.header);
        ASSERT_EQ(Command([&] { return SectionCls::OnElementEvent(1, heads) == 1 ? NoError : GSErrCode(-1); }),
                  NoError);
        section = Get(e.header.guid);
        DGDriver::Reset();
    }
    void TearDown() override {
        UnwireSubsystems();
        EXPECT_TRUE(DGDriver::UnusedActions().empty()) << DGDriver::LogText();
        DGDriver::Reset();
        LibraryHostTest::TearDown();
    }
    std::vector<std::string> AlertTexts() const {
        std::vector<std::string> texts;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "alert" && !r.texts.empty()) texts.push_back(r.texts[0]);
        return texts;
    }
    int Opened(int16_t id) const {
        int n = 0;
        for (const DGDriver::LogRecord& r : DGDriver::Log()) n += r.kind == "modal" && r.id == id ? 1 : 0;
        return n;
    }
    double LeftEdgeHeight(const API_Guid& g, int32_t index) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(g, &memo, AttachMemoMask), NoError);
        RoadLP view(ElemKind_Road);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<QV_Coord3DLong> edge;
        EXPECT_TRUE(BaseIDLP::ExchangePerimetroBaseSX(view, edge, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return index < edge.GetCount() ? edge[index].z : -1.0;
    }
    void SetSectionLeftHeight(int32_t index, double z) {
        API_ElementMemo memo = {};
        ASSERT_EQ(ACAPI_Element_GetMemo(section.header.guid, &memo, AttachMemoMask), NoError);
        RoadLP view(ElemKind_Road);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<QV_Coord3DLong> edge;
        ASSERT_TRUE(BaseIDLP::ExchangePerimetroBaseSX(view, edge, LPMode_Get));
        ASSERT_LT(index, edge.GetCount());
        edge[index].z = z;
        ASSERT_TRUE(BaseIDLP::ExchangePerimetroBaseSX(view, edge, LPMode_Set));
        memo.params = reinterpret_cast<API_AddParType**>(view.params);
        view.Detach();
        EXPECT_EQ(Command([&] { return ChangeElementMemo(&section, &memo); }), NoError);
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    API_Element terrain = {};
    API_Element section = {};
    std::vector<API_Element> roads;
    API_Guid result = APINULLGuid;
};

TEST_F(DataUpdateTest, ASelectedSectionIsRebuiltAsASectionNeverAsARoad) {
    SetSectionLeftHeight(1, 140.0);
    Select({section.header.guid});
    UpdateSelectedObjects(GlobalSettings);
    EXPECT_TRUE(AlertTexts().empty());
    EXPECT_DOUBLE_EQ(LeftEdgeHeight(result, 1), 140.0);
    EXPECT_NE(Db().Find(section.header.guid), nullptr);

    // The road's result object alone is rebuilt as a road, with the section's heights kept; with the section
    // beside it no case matches.
    Select({result});
    UpdateSelectedObjects(GlobalSettings);
    EXPECT_EQ(GlobalSettings.firstCount, 1);
    EXPECT_TRUE(AlertTexts().empty());
    EXPECT_DOUBLE_EQ(LeftEdgeHeight(result, 1), 140.0);
    Select({result, section.header.guid});
    UpdateSelectedObjects(GlobalSettings);
    ASSERT_EQ(AlertTexts().size(), 1u);
    EXPECT_EQ(AlertTexts()[0], "The conditions do not exist to apply the command!!!");
}

TEST_F(DataUpdateTest, OnlyAnAcceptedNoticeWithItsBoxTickedStopsTheQuestion) {
    const int16_t notice = 32574;
    DGDriver::QueueClick(notice, 5);
    DGDriver::QueueClick(notice, 2);
    UpdateSelectedObjects(GlobalSettings);
    EXPECT_EQ(UpdateConfirmation, 1);
    DGDriver::QueueClick(notice, 5);
    DGDriver::QueueClick(notice, 1);
    UpdateSelectedObjects(GlobalSettings);
    EXPECT_EQ(UpdateConfirmation, 0);
    UpdateSelectedObjects(GlobalSettings);
    EXPECT_EQ(Opened(notice), 2);
    EXPECT_TRUE(AlertTexts().empty());
    // The terrain selected alone is rebuilt the same way; without any terrain there is nothing to rebuild.
    Select({terrain.header.guid});
    UpdateSelectedObjects(GlobalSettings);
    EXPECT_TRUE(AlertTexts().empty());
    GS::Array<API_Guid> all;
    for (const API_Guid& g : Db().AllElements()) all.Push(g);
    ASSERT_EQ(Command([&] { return ACAPI_Element_Delete(all); }), NoError);
    UpdateSelectedObjects(GlobalSettings);
    ASSERT_EQ(AlertTexts().size(), 1u);
    EXPECT_EQ(AlertTexts()[0], "The conditions do not exist to apply the command!!!");
}

}  // namespace
