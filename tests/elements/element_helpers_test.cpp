// Element creation, change and deletion helpers and the layer helpers on the stand-in project database.
#include "ProjectHost.hpp"
#include "MemoryDriver.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LayerHelpers.hpp"

#include <nlohmann/json.hpp>

namespace element_helpers_test {

class ElementHelpersTest : public ProjectHostTest {
protected:
    // A fill record with its memo, ready to create (the memo's handles are the caller's).
    void MakeFill(API_Element* e, API_ElementMemo* memo) {
        std::memset(e, 0, sizeof *e);
        e->header.typeID = API_HatchID;
        ASSERT_EQ(ACAPI_Element_GetDefaults(e, nullptr), NoError);
        e->hatch.poly = {4, 1, 0, 0};
        StoredMemo m;
        m.coords = std::vector<API_Coord>{{0, 0}, {0, 0}, {5, 0}, {5, 5}, {0, 0}};
        m.pends = std::vector<int32_t>{0, 4};
        StoredParam p = {};
        p.record.dim1 = p.record.dim2 = 1;
        p.cells = std::string(8, '\0');
        m.params = std::vector<StoredParam>{p};  // an array cell handle too
        ASSERT_EQ(WriteApiMemo(m, APIMemoMask_All, memo), NoError);
    }
};

TEST_F(ElementHelpersTest, CreatesInTheFloorPlanAndDisposesTheMemoWhenAsked) {
    const int64_t handles = MemoryDriver::LiveHandleCount();
    API_Element e;
    API_ElementMemo memo;
    MakeFill(&e, &memo);
    EXPECT_EQ(CreateElementWithMemo(&e, &memo, true), APIERR_NEEDSUNDOSCOPE);  // passed through
    EXPECT_EQ(memo.coords, nullptr);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);

    MakeFill(&e, &memo);
    ASSERT_EQ(Command([&] { return CreateElementWithMemo(&e, &memo, false); }), NoError);
    ASSERT_NE(memo.coords, nullptr);  // still the caller's
    ASSERT_NE(Db().Find(e.header.guid), nullptr);
    EXPECT_EQ((*Db().Find(e.header.guid)->memo->coords)[2].x, 5.0);
    ACAPI_DisposeElemMemoHdls(&memo);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);
    EXPECT_EQ(Db().RebuildCount(), 0);
}

TEST_F(ElementHelpersTest, In3DWithNothingSelectedTheModelDatabaseIsCurrentAgain) {
    Window(APIWind_3DModelID);
    API_Element e;
    API_ElementMemo memo;
    MakeFill(&e, &memo);
    ASSERT_EQ(Command([&] { return CreateElementWithMemo(&e, &memo, true); }), NoError);
    EXPECT_NE(Db().Find(e.header.guid), nullptr);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
    EXPECT_EQ(Db().FrontWindowType(), APIWind_3DModelID);
    EXPECT_EQ(Db().RebuildCount(), 1);
    EXPECT_TRUE(Db().Selection().empty());
}

TEST_F(ElementHelpersTest, In3DWithASelectionTheFloorPlanStaysAndTheNewElementIsSelected) {
    const API_Guid old = PlaceFill("old");
    Select({old});
    Window(APIWind_3DModelID);
    API_Element e;
    API_ElementMemo memo;
    MakeFill(&e, &memo);
    ASSERT_EQ(Command([&] { return CreateElementWithMemo(&e, &memo, true); }), NoError);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_FloorPlanID);
    ASSERT_EQ(Db().Selection().size(), 2u);
    EXPECT_EQ(Db().Selection()[1], e.header.guid);
    EXPECT_EQ(Db().RebuildCount(), 0);

    // A create error is returned as it is, still in the floor plan.
    Window(APIWind_3DModelID);
    MakeFill(&e, &memo);
    e.header.layer = 99;
    EXPECT_EQ(Command([&] { return CreateElementWithMemo(&e, &memo, true); }), APIERR_BADINDEX);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_FloorPlanID);
    EXPECT_EQ(memo.coords, nullptr);

    // Selecting the new element fails: the add-on's own code.
    Window(APIWind_3DModelID);
    MakeFill(&e, &memo);
    host->FailCall("Element_Select", -1, APIERR_GENERAL);
    GSErrCode selectErr = NoError;
    // The body keeps what was made (a body returning the error would have the host take the command back).
    EXPECT_EQ(Command([&] {
                  selectErr = CreateElementWithMemo(&e, &memo, true);
                  return NoError;
              }),
              NoError);
    EXPECT_EQ(selectErr, LodravixErr_StepFailed);
    EXPECT_NE(Db().Find(e.header.guid), nullptr);  // created all the same
}

TEST_F(ElementHelpersTest, In3DFailedSwitchesAndSelectionQueriesStopBeforeCreating) {
    const int64_t handles = MemoryDriver::LiveHandleCount();
    Window(APIWind_3DModelID);
    API_Element e;
    API_ElementMemo memo;
    MakeFill(&e, &memo);
    host->FailCall("Database", int32_t(API_Selector("CDAT")), APIERR_BADPARS);
    EXPECT_EQ(Command([&] { return CreateElementWithMemo(&e, &memo, true); }), APIERR_BADPARS);
    host->ClearFailures();

    MakeFill(&e, &memo);
    host->FailCall("Selection_Get", -1, APIERR_GENERAL);
    EXPECT_EQ(Command([&] { return CreateElementWithMemo(&e, &memo, true); }), LodravixErr_StepFailed);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
    EXPECT_EQ(Db().RebuildCount(), 1);
    EXPECT_TRUE(Db().AllElements().empty());
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);  // the memo was handed over: it is gone
}

TEST_F(ElementHelpersTest, ObjectsTakeTheirLibraryPartsDefaultsWhenNoParametersAreGiven) {
    API_Element e = {};
    e.header.typeID = API_ObjectID;
    ASSERT_EQ(ACAPI_Element_GetDefaults(&e, nullptr), NoError);
    e.object.libInd = 99;
    EXPECT_EQ(Command([&] { return CreateElementWithMemo(&e, nullptr, true); }), APIERR_BADINDEX);
    e.object.libInd = libA;
    ASSERT_EQ(Command([&] { return CreateElementWithMemo(&e, nullptr, true); }), NoError);
    const StoredElement* placed = Db().Find(e.header.guid);
    ASSERT_NE(placed, nullptr);
    ASSERT_EQ(placed->memo->params->size(), 3u);
    const nlohmann::ordered_json j = Db().ToJson();
    EXPECT_EQ(j["elements"][0]["libPart"], "PART_A");
    EXPECT_EQ(j["elements"][0]["parameters"][1]["value"], "result");
    EXPECT_EQ(j["elements"][0]["parameters"][2]["value"][1][0], 3.0);
}

TEST_F(ElementHelpersTest, ChangeElementWritesTheParametersOfThatElementOnly) {
    const API_Guid a = PlaceObject(API_ObjectID, libA, "A");
    const API_Guid b = PlaceObject(API_ObjectID, libA, "B");
    API_Element e = {};
    e.header.guid = a;
    ASSERT_EQ(ACAPI_Element_Get(&e), NoError);
    StoredMemo m;
    m.params = std::vector<StoredParam>(1);
    m.params->at(0).record.value.real = 7.5;
    API_ElementMemo memo = {};
    ASSERT_EQ(WriteApiMemo(m, APIMemoMask_All, &memo), NoError);
    API_Element mask = {};
    e.object.level = 2.0;
    mask.object.level = -1;
    ASSERT_EQ(Command([&] { return ChangeElement(&e, &memo, &mask); }), NoError);
    ACAPI_DisposeElemMemoHdls(&memo);
    EXPECT_EQ(Db().Find(a)->record.Get().object.level, 2.0);
    EXPECT_EQ((*Db().Find(a)->memo->params)[0].record.value.real, 7.5);
    ASSERT_EQ(Db().Find(b)->memo->params->size(), 3u);  // the library part's defaults, untouched
    EXPECT_EQ((*Db().Find(b)->memo->params)[0].record.value.real, 1.5);
}

TEST_F(ElementHelpersTest, DeleteInPlanSwitchesAndGoesBackToTheDatabaseBefore) {
    const API_Guid a = PlaceFill("A");
    const API_Guid b = PlaceFill("B");
    Window(APIWind_3DModelID);
    API_Elem_Head head = {};
    head.guid = a;
    EXPECT_EQ(Command([&] { return DeleteElementInPlan(head, false); }), APIERR_BADDATABASE);
    ASSERT_EQ(Command([&] { return DeleteElementInPlan(head, true); }), NoError);
    EXPECT_EQ(Db().Find(a), nullptr);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);

    head.guid = b;
    host->FailCall("Database", int32_t(API_Selector("GDAT")), APIERR_GENERAL);
    EXPECT_EQ(Command([&] { return DeleteElementInPlan(head, true); }), APIERR_GENERAL);
    EXPECT_NE(Db().Find(b), nullptr);
    host->ClearFailures();
    head.guid.time_low = 0xBAD;
    EXPECT_EQ(Command([&] { return DeleteElementInPlan(head, true); }), APIERR_BADID);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
}

TEST_F(ElementHelpersTest, CreateLayerRewritesAnExistingLayerOfThatName) {
    int32_t index = 0;
    API_Attribute record;
    ASSERT_EQ(CreateLayer(QV_String("Roads"), 17, 5, &index, &record), NoError);
    EXPECT_GT(index, 1);
    EXPECT_STREQ(record.header.name, "Roads");
    EXPECT_EQ(record.layer.conClassId, 5);
    EXPECT_EQ(LayerFlagsOf(index), 17u);

    int32_t again = 0;
    ASSERT_EQ(CreateLayer(QV_String("Roads"), 2, 9, &again, nullptr), NoError);
    EXPECT_EQ(again, index);
    EXPECT_EQ(LayerFlagsOf(index), 2u);
    EXPECT_EQ(Db().Attribute(API_LayerID, index)->layer.conClassId, 9);

    host->FailCall("Attribute_Create", -1, APIERR_GENERAL);
    EXPECT_EQ(CreateLayer(QV_String("Other"), 0, 0, &again, nullptr), APIERR_GENERAL);
    host->ClearFailures();
    EXPECT_EQ(CreateLayer(QV_String(), 0, 0, nullptr, nullptr), APIERR_BADPARS);
}

TEST_F(ElementHelpersTest, LayerNamesOutsideAsciiAreFoundUnderTheNameTheyWereCreatedWith) {
    const QV_String name("Vegetaci\xF3n \xE6");  // system code page text
    int32_t index = 0;
    ASSERT_EQ(CreateLayer(name, 1 | 4, 0, &index, nullptr), NoError);
    EXPECT_STREQ(Db().Attribute(API_LayerID, index)->header.name, "Vegetaci\xC3\xB3n \xC3\xA6");  // UTF-8
    const LayerFlags f = GetLayerFlags(name);
    EXPECT_EQ(f.hidden, 1);
    EXPECT_EQ(f.locked, 0);
    EXPECT_EQ(f.flag4, 1);
    QV_List<QV_String> names;
    names.Insert(name);
    EXPECT_EQ(GetOrCreateLayerIndex(names, 0), index);  // found, not created twice
    EXPECT_EQ(Db().FindAttribute(API_LayerID, "Vegetaci\xC3\xB3n \xC3\xA6"), index);
}

TEST_F(ElementHelpersTest, OperatorLayerIsCreatedHiddenAndLookedUpOrCreatedOnce) {
    QV_List<QV_String> names;
    CreateOperatorsLayer(names);  // no name: nothing
    names.Insert(QV_String("VY_Operators"));
    const LayerFlags none = GetLayerFlags(names[0]);
    EXPECT_EQ(none.hidden + none.locked + none.flag4 + none.flag16, 0);

    host->FailCall("Attribute_Get", -1, APIERR_GENERAL);
    host->FailCall("Attribute_Create", -1, APIERR_GENERAL);
    EXPECT_EQ(GetOrCreateLayerIndex(names, 1), 1);  // skipped: no host call
    EXPECT_EQ(GetOrCreateLayerIndex(names, 0), 1);  // cannot be created
    host->ClearFailures();
    EXPECT_EQ(Db().FindAttribute(API_LayerID, "VY_Operators"), 0);

    const int16_t index = GetOrCreateLayerIndex(names, 0);
    EXPECT_GT(index, 1);
    EXPECT_EQ(LayerFlagsOf(index), OperatorLayerCreationFlags);
    Layer("VY_Operators", 0);
    EXPECT_EQ(GetOrCreateLayerIndex(names, 0), index);
    EXPECT_EQ(LayerFlagsOf(index), 0u);  // an existing layer is not touched
    CreateOperatorsLayer(names);
    EXPECT_EQ(LayerFlagsOf(index), 17u);  // ... but CreateOperatorsLayer resets it
    const LayerFlags f = GetLayerFlags(names[0]);
    EXPECT_EQ(f.hidden, 1);
    EXPECT_EQ(f.flag16, 1);
    QV_List<QV_String> empty;
    EXPECT_EQ(GetOrCreateLayerIndex(empty, 0), 1);
}

}  // namespace element_helpers_test
