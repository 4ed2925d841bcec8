// Cut, fill and result sets in the stand-in host: the listing of the add-on's objects, keeping partners in step,
// the sets left alone, broken sets, users' copies and the terrain levels of plateaus.
#include "ObjectSetFixture.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/WholeCommand.hpp"

#include <cstring>
#include <functional>

namespace object_sets_test {

// The passes are called directly here: the module's event handler is taken away again.
class ObjectSetsTest : public ObjectSetTest {
protected:
    void SetUp() override {
        ObjectSetTest::SetUp();
        ASSERT_EQ(host->CatchNewElement(nullptr, nullptr), NoError);
        ASSERT_EQ(host->InstallElementObserver(nullptr), NoError);
    }
    bool Run(const std::function<bool()>& pass) {
        ElementEvents::ModuleCall call(host->Events());
        return Command([&] { return pass() ? NoError : GSErrCode(-1); }) == NoError;
    }
    bool SetNumber(const API_Guid& g, const char* name, double value) {
        API_Element e = Get(g);
        API_ElementMemo memo = {};
        if (ACAPI_Element_GetMemo(g, &memo, AttachMemoMask) != NoError) return false;
        BaseIDLP view(ElemKind_Road);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        const bool ok = view.SetParamDouble(QV_String(name), value) >= 0;
        view.Detach();
        const bool stored = ok && Run([&] { return ChangeElementMemo(&e, &memo) == NoError; });
        ACAPI_DisposeElemMemoHdls(&memo);
        return stored;
    }
    bool WriteLinks(const API_Guid& g, const API_Guid& result, const API_Guid& cut, const API_Guid& fill,
                    int32_t kind = ElemKind_Road) {
        ElemDescriptor d;
        d.ResultGuid = Text(result);
        d.CutGuid = Text(cut);
        d.FillGuid = Text(fill);
        return Run([&] { return ElemUserData_WriteRecord(d, kind, Get(g).header); });
    }
};

TEST_F(ObjectSetsTest, AnEmptyListingIsASuccessAndOnlyObjectsOfTheKindAreListed) {
    QV_List<API_Element> list;
    list.Insert(API_Element());
    EXPECT_EQ(CollectAddOnObjects(ElemKind_Road, API_ObjectID, 0, list), 1);
    EXPECT_EQ(list.GetCount(), 0);
    const PlacedSet set = PlaceLinkedSet(PlaceTerrain());
    PlaceObject(API_ObjectID, libA, "foreign");  // no record: not the add-on's
    EXPECT_EQ(CollectAddOnObjects(ElemKind_Road, API_ObjectID, 0, list), 1);
    ASSERT_EQ(list.GetCount(), 3);
    EXPECT_TRUE(list[0].header.guid == set.cut);
    EXPECT_EQ(CollectAddOnObjects(ElemKind_Railway, API_ObjectID, 0, list), 1);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(CollectAddOnObjects(ElemKind_Terrain, API_MeshID, 0, list), 1);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(CollectAddOnObjects(ElemKind_Unused17, API_ObjectID, 0, list), 1);
    EXPECT_EQ(list.GetCount(), 0);
    host->FailCall("Element_GetElemList", -1, APIERR_GENERAL);
    EXPECT_LE(CollectAddOnObjects(ElemKind_Road, API_ObjectID, 0, list), 0);
    host->ClearFailures();
}

TEST_F(ObjectSetsTest, RolesComeFromTheOperatorTextExactly) {
    EXPECT_EQ(RoleOfOperator(QV_String("result")), ObjectRole::Result);
    EXPECT_EQ(RoleOfOperator(QV_String("fill")), ObjectRole::Fill);
    EXPECT_EQ(RoleOfOperator(QV_String("Fill")), ObjectRole::Cut);
    EXPECT_EQ(RoleOfOperator(QV_String("")), ObjectRole::Cut);
}

TEST_F(ObjectSetsTest, SyncCopiesEveryParameterButTheOwnOnesAndThePlacement) {
    const PlacedSet set = PlaceLinkedSet(PlaceTerrain());
    ASSERT_TRUE(SetNumber(set.fill, "larghezza", 7.5));
    ASSERT_TRUE(SetNumber(set.fill, "IDterrain", 4));
    ASSERT_TRUE(Run([&] {
        API_Element e = Get(set.fill), mask = {};
        e.object.pos = {40, 2};
        std::memset(static_cast<void*>(&mask.object.pos), 0xFF, sizeof mask.object.pos);
        return ACAPI_Element_Change(&e, &mask, nullptr, 0) == NoError &&
            SyncSiblingObjects(e.header, ElemKind_Road, true) == 1;
    }));
    for (const API_Guid& partner : {set.cut, set.result}) {
        EXPECT_EQ(Number(partner, "larghezza"), 7.5);
        EXPECT_EQ(Number(partner, "IDterrain"), -1.0);  // own parameters stay
        EXPECT_NEAR(Get(partner).object.pos.x, 40.0, 1e-12);
    }
    QV_String op;
    BaseIDLP view(ElemKind_Road);
    ASSERT_TRUE(BaseIDLP::ReadOperatorOfElement(view, Get(set.cut), op));
    EXPECT_EQ(op, QV_String("cut"));
}

TEST_F(ObjectSetsTest, SyncLeavesAnIncompleteOrForeignSetAloneWithSuccess) {
    const PlacedSet set = PlaceLinkedSet(PlaceTerrain());
    ASSERT_TRUE(SetNumber(set.result, "larghezza", 9));
    // A partner whose back link names another object.
    ASSERT_TRUE(WriteLinks(set.cut, set.fill, set.cut, set.fill));
    EXPECT_TRUE(Run([&] { return SyncSiblingObjects(Get(set.result).header, ElemKind_Road, false) == 1; }));
    EXPECT_EQ(Number(set.fill, "larghezza"), 3.0);
    // An empty partner link.
    ASSERT_TRUE(WriteLinks(set.result, set.result, APINULLGuid, set.fill));
    EXPECT_TRUE(Run([&] { return SyncSiblingObjects(Get(set.result).header, ElemKind_Road, false) == 1; }));
    EXPECT_EQ(Number(set.fill, "larghezza"), 3.0);
    // An object without a record fails.
    const API_Guid foreign = PlaceObject(API_ObjectID, setLib, "foreign");
    EXPECT_FALSE(Run([&] { return SyncSiblingObjects(Get(foreign).header, ElemKind_Road, false) == 1; }));
}

// The source's ID text goes to both partners: one the host will not tell fails the sync, and no partner is left
// under another name than its set's.
TEST_F(ObjectSetsTest, SyncFailsWhenTheSourcesIdTextCannotBeRead) {
    const PlacedSet set = PlaceLinkedSet(PlaceTerrain());
    Db().FindMutable(set.result)->memo.Mutable().elemInfoString = u"NORTH";
    ASSERT_TRUE(Run([&] { return SyncSiblingObjects(Get(set.result).header, ElemKind_Road, false) == 1; }));
    for (const API_Guid& partner : {set.cut, set.fill}) EXPECT_EQ(*Db().Find(partner)->memo->elemInfoString, u"NORTH");
    Db().FindMutable(set.result)->memo.Mutable().elemInfoString = u"SOUTH";
    ASSERT_TRUE(SetNumber(set.result, "larghezza", 9));
    ASSERT_TRUE(host->FailCall("Database", int32_t(APIDb_GetElementInfoStringID.code), APIERR_GENERAL));
    EXPECT_EQ(SyncSiblingObjects(Get(set.result).header, ElemKind_Road, false), 0);
    host->ClearFailures();
    for (const API_Guid& partner : {set.cut, set.fill}) {
        EXPECT_EQ(*Db().Find(partner)->memo->elemInfoString, u"NORTH");
        EXPECT_EQ(Number(partner, "larghezza"), 3.0);
    }
}

// The model update of one series of element events (here an edit and a change, dispatched per code) keeps every
// set in step as one undo step, which takes all of it back.
TEST_F(ObjectSetsTest, OneSeriesOfElementEventsIsOneUndoStep) {
    const API_Guid mesh = PlaceTerrain();
    const PlacedSet a = PlaceLinkedSet(mesh);
    const PlacedSet b = PlaceLinkedSet(mesh);
    PendingModelUpdate series;
    for (const API_Guid& moved : {a.result, b.result}) {
        const API_Element before = Get(moved);
        ASSERT_TRUE(Run([&] {
            API_Element e = before, mask = {};
            e.object.pos = {40, 2};
            std::memset(static_cast<void*>(&mask.object.pos), 0xFF, sizeof mask.object.pos);
            return ACAPI_Element_Change(&e, &mask, nullptr, 0) == NoError;
        }));
        series.mode = moved == a.result ? 4 : 3;
        series.heads.Insert(Get(moved).header);
        series.codes.Insert(series.mode);
        series.parents.Insert(before);
    }
    const size_t steps = Db().UndoTexts().size();
    {
        ElementEvents::ModuleCall call(host->Events());
        UpdateModelSeries(series, FrameworkModelUpdateSteps());
    }
    EXPECT_EQ(Db().UndoTexts().size(), steps + 1);
    for (const PlacedSet* set : {&a, &b}) EXPECT_NEAR(Get(set->fill).object.pos.x, 40.0, 1e-12);
    ASSERT_TRUE(Db().Undo());
    for (const PlacedSet* set : {&a, &b}) EXPECT_NEAR(Get(set->fill).object.pos.x, 5.0, 1e-12);
}

// A series in which the user deletes one object of a set and then moves another set: dispatched by its last event
// alone, the deletion would be lost and the broken set's other objects would stay behind.
TEST_F(ObjectSetsTest, ASeriesThatDeletesAndThenChangesKeepsBoth) {
    const API_Guid mesh = PlaceTerrain();
    const PlacedSet broken = PlaceLinkedSet(mesh);
    const PlacedSet moved = PlaceLinkedSet(mesh);
    PendingModelUpdate series;
    const API_Elem_Head cut = Get(broken.cut).header;
    ASSERT_TRUE(Run([&] { return DeleteElementInPlan(cut, false) == NoError; }));
    series.heads.Insert(cut);
    series.codes.Insert(5);
    const API_Element before = Get(moved.result);
    ASSERT_TRUE(Run([&] {
        API_Element e = before, mask = {};
        e.object.pos = {40, 2};
        std::memset(static_cast<void*>(&mask.object.pos), 0xFF, sizeof mask.object.pos);
        return ACAPI_Element_Change(&e, &mask, nullptr, 0) == NoError;
    }));
    series.heads.Insert(Get(moved.result).header);
    series.codes.Insert(3);
    series.parents.Insert(before);
    series.mode = 3;
    ASSERT_TRUE(Alive(broken.fill));
    {
        ElementEvents::ModuleCall call(host->Events());
        UpdateModelSeries(series, FrameworkModelUpdateSteps());
    }
    EXPECT_FALSE(Alive(broken.fill));
    EXPECT_FALSE(Alive(broken.result));
    EXPECT_NEAR(Get(moved.fill).object.pos.x, 40.0, 1e-12);
}

TEST_F(ObjectSetsTest, DeleteBrokenSetsKeepsCompleteSetsAndRemovesTheRestOfBrokenOnes) {
    const API_Guid mesh = PlaceTerrain();
    const PlacedSet whole = PlaceLinkedSet(mesh);
    const PlacedSet broken = PlaceLinkedSet(mesh);
    ASSERT_TRUE(Run([&] { return DeleteElementInPlan(Get(broken.cut).header, false) == NoError; }));
    EXPECT_TRUE(Run([&] { return DeleteBrokenSets(ElemKind_Road); }));
    EXPECT_TRUE(Alive(whole.cut) && Alive(whole.fill) && Alive(whole.result));
    EXPECT_FALSE(Alive(broken.fill));
    EXPECT_FALSE(Alive(broken.result));
    EXPECT_TRUE(Run([&] { return DeleteBrokenSets(ElemKind_Railway); }));  // none of that kind
}

TEST_F(ObjectSetsTest, CopiesOfCutAndFillGoWhileAResultCopyIsUnlinkedAndObserved) {
    const PlacedSet set = PlaceLinkedSet(PlaceTerrain());
    API_Guid copies[3];
    ASSERT_EQ(Db().FindByName("x", &copies[0]), false);
    // Copies made without the module seeing them (they arrive as one list, as pasted).
    host->Events().BeginModuleCall();
    ASSERT_EQ(host->Events().UserCopy(set.cut, {0, 9, 0}, "c", &copies[0]), NoError);
    ASSERT_EQ(host->Events().UserCopy(set.fill, {0, 9, 0}, "f", &copies[1]), NoError);
    ASSERT_EQ(host->Events().UserCopy(set.result, {0, 9, 0}, "r", &copies[2]), NoError);
    QV_List<API_Elem_Head> heads;
    for (const API_Guid& g : copies) heads.Insert(Get(g).header);
    EXPECT_TRUE(RunWholeCommand([&] { return HandleCopiedObjects(ElemKind_Road, heads); }));
    host->Events().ClearDelivered();
    EXPECT_FALSE(Alive(copies[0]));
    EXPECT_FALSE(Alive(copies[1]));
    ASSERT_TRUE(Alive(copies[2]));
    EXPECT_EQ(Number(copies[2], "IDresult"), -1.0);
    EXPECT_EQ(Record(copies[2]).FillGuid, Text(APINULLGuid));
    EXPECT_TRUE(host->Events().IsObserved(copies[2]));
    // Objects of another kind are not touched.
    EXPECT_TRUE(RunWholeCommand([&] { return HandleCopiedObjects(ElemKind_Railway, heads); }));
    EXPECT_TRUE(Alive(copies[2]));
    host->Events().EndModuleCall();
}

TEST_F(ObjectSetsTest, PlateauLevelsRaiseOnlyTheSkirtOfTheirLinkedTerrainAndEveryMeshIsVisited) {
    // Two meshes; the first has no operators (the pass goes on to the second).
    const API_Guid bare = PlaceTerrain();
    API_Guid mesh = PlaceMesh("terrain2");
    ASSERT_TRUE(Run([&] {
        ElemDescriptor d;
        return ElemUserData_WriteRecord(d, ElemKind_Terrain, Get(mesh).header);
    }));
    const auto setSkirt = [&](double skirt) {
        API_Element e = Get(mesh);
        e.mesh.skirtLevel = skirt;
        API_Element mask = {};
        std::memset(static_cast<void*>(&mask.mesh.skirtLevel), 0xFF, sizeof mask.mesh.skirtLevel);
        ASSERT_TRUE(Run([&] { return ACAPI_Element_Change(&e, &mask, nullptr, 0) == NoError; }));
    };
    setSkirt(-5.0);
    const double level = Get(mesh).mesh.level, bareSkirt = Get(bare).mesh.skirtLevel;
    const PlacedSet set = PlaceLinkedSet(mesh);
    for (const API_Guid& g : {set.cut, set.fill, set.result}) {
        ASSERT_TRUE(WriteLinks(g, set.result, set.cut, set.fill, ElemKind_Plateau));
        ASSERT_TRUE(SetNumber(g, "livello", g == set.cut ? -2.5 : 1.0));
    }
    QV_List<API_Element> objects;
    for (const API_Guid& g : {set.cut, set.fill, set.result}) objects.Insert(Get(g));
    EXPECT_TRUE(Run([&] { return ResetTerrainLevels(ElemKind_Plateau, objects); }));
    EXPECT_NEAR(Get(mesh).mesh.skirtLevel, -2.5, 1e-12);
    EXPECT_EQ(Get(mesh).mesh.level, level);
    EXPECT_EQ(Get(bare).mesh.skirtLevel, bareSkirt);
    // A skirt above the plateau is never lowered; without plateaus at or below zero it stays too.
    setSkirt(-1.0);
    EXPECT_TRUE(Run([&] { return ResetTerrainLevels(ElemKind_Plateau, objects); }));
    EXPECT_NEAR(Get(mesh).mesh.skirtLevel, -1.0, 1e-12);
    setSkirt(-5.0);
    ASSERT_TRUE(SetNumber(set.cut, "livello", 4.0));
    objects[0] = Get(set.cut);
    EXPECT_TRUE(Run([&] { return ResetTerrainLevels(ElemKind_Plateau, objects); }));
    EXPECT_NEAR(Get(mesh).mesh.skirtLevel, -5.0, 1e-12);
    EXPECT_EQ(Get(mesh).mesh.level, level);
    EXPECT_TRUE(ResetTerrainLevels(ElemKind_Road, objects));
}

TEST_F(ObjectSetsTest, LinkingTwiceIsFineAndAFailedFirstLinkStops) {
    const API_Guid mesh = PlaceTerrain();
    const PlacedSet set = PlaceLinkedSet(mesh);
    BaseCls terrain;
    terrain.element = Get(mesh);
    EXPECT_TRUE(Run([&] { return LinkElements(terrain, set.cut, set.fill); }));
    host->FailCall("SolidLink_Create", -1, APIERR_GENERAL);
    EXPECT_FALSE(Run([&] { return LinkElements(terrain, set.result, set.result); }));
    host->ClearFailures();
    const API_Guid other = PlaceObject(API_ObjectID, libB, "b");  // no presence parameters
    EXPECT_FALSE(
        Run([&] { return WriteLinkPresenceParams(Get(other).header, set.result, set.cut, set.fill, ElemKind_Road); }));
    EXPECT_TRUE(Run(
        [&] { return WriteLinkPresenceParams(Get(other).header, set.result, set.cut, set.fill, ElemKind_Building); }));
}

}  // namespace object_sets_test
