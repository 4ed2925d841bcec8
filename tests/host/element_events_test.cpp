// The stand-in host's element events as a module receives them: series after module calls, parents and
// transformations, observed and caught elements, merging, the cascade cap, and the user's edits.
#include "ProjectHost.hpp"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace element_events_test {

struct Seen {
    int32_t code;
    API_Guid guid;
    bool hasParent = false;
    API_Element parent = {};
    bool hasTran = false;
    API_ActTranPars tran = {};
    API_Element now = {};
};
std::vector<Seen> g_seen;
std::vector<Seen> g_observed;
std::function<void(int32_t)> g_onEvent;

void Record(std::vector<Seen>& into, const API_NotifyElementType* e) {
    Seen s;
    s.code = e->notifID;
    s.guid = e->elemHead.guid;
    API_Element parent = {};
    s.hasParent = ACAPI_Notify_GetParentElement(&parent) == NoError;
    s.parent = parent;
    s.hasTran = ACAPI_Notify_GetTranParams(&s.tran) == NoError;
    s.now.header.guid = e->elemHead.guid;
    if (e->notifID > 0) ACAPI_Element_Get(&s.now);
    into.push_back(s);
    if (g_onEvent) g_onEvent(e->notifID);
}
GSErrCode Handler(const API_NotifyElementType* e) {
    Record(g_seen, e);
    return NoError;
}
GSErrCode Observer(const API_NotifyElementType* e) {
    Record(g_observed, e);
    return NoError;
}

std::vector<int32_t> Codes(const std::vector<Seen>& seen) {
    std::vector<int32_t> out;
    for (const Seen& s : seen) out.push_back(s.code);
    return out;
}

class ElementEventsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        g_seen.clear();
        g_observed.clear();
        g_onEvent = nullptr;
    }
    void TearDown() override {
        g_onEvent = nullptr;
        ProjectHostTest::TearDown();
    }
    ElementEvents& Ev() { return host->Events(); }
    // The module catches every new element and observes with the same handler.
    void CatchAll(API_ElementEventHandlerProc* observer = Handler) {
        ASSERT_EQ(host->CatchNewElement(nullptr, Handler), NoError);
        ASSERT_EQ(host->InstallElementObserver(observer), NoError);
    }
    API_Guid PlaceLineAt(const std::string& name, double x) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceLine({x, 0}, {x, 5}, 1, name, &g), NoError);
        return g;
    }
    API_Element Record(const API_Guid& g) { return Db().Find(g)->record; }
};

TEST_F(ElementEventsTest, EventsOfAModuleCallComeAsOneSeriesAfterItReturns) {
    CatchAll();
    Ev().BeginModuleCall();
    const API_Guid a = PlaceLineAt("A", 0);
    const API_Guid b = PlaceLineAt("B", 1);
    EXPECT_TRUE(g_seen.empty());  // nothing while the call runs
    Ev().EndModuleCall();
    EXPECT_EQ(Codes(g_seen), (std::vector<int32_t>{-1, 1, 1, -2}));
    EXPECT_EQ(g_seen[1].guid, a);
    EXPECT_EQ(g_seen[2].guid, b);
    EXPECT_FALSE(g_seen[1].hasParent);
    EXPECT_FALSE(g_seen[1].hasTran);
    EXPECT_EQ(Ev().PendingCount(), 0u);
    // Outside a delivery there is no parent and no transformation to ask for.
    API_Element e = {};
    API_ActTranPars t = {};
    EXPECT_EQ(ACAPI_Notify_GetParentElement(&e), APIERR_GENERAL);
    EXPECT_EQ(ACAPI_Notify_GetTranParams(&t), APIERR_GENERAL);
}

TEST_F(ElementEventsTest, UserEditChangesFirstThenReportsWithParentAndTransformation) {
    CatchAll();
    const API_Guid obj = PlaceObject(API_ObjectID, libA, "O");
    ASSERT_EQ(ACAPI_Element_AttachObserver(obj), NoError);
    Ev().Deliver();  // the placement's own event
    g_seen.clear();
    API_ActTranPars t = {};
    t.typeID = APIEdit_Drag;
    t.disp = {2, 3};
    t.dispZ = 0.5;
    ASSERT_EQ(Ev().UserEdit(obj, t), NoError);
    ASSERT_EQ(Codes(g_seen), (std::vector<int32_t>{-1, 4, -2}));
    const Seen& s = g_seen[1];
    ASSERT_TRUE(s.hasParent);
    EXPECT_EQ(s.parent.object.pos.x, 0.0);  // as it was
    EXPECT_EQ(s.now.object.pos.x, 2.0);     // the element has moved already
    EXPECT_EQ(s.now.object.level, 0.5);
    ASSERT_TRUE(s.hasTran);
    EXPECT_EQ(s.tran.typeID, APIEdit_Drag);
    EXPECT_EQ(s.tran.disp.y, 3.0);
    EXPECT_EQ(s.tran.dispZ, 0.5);
    EXPECT_EQ(Db().UndoTexts().back(), "Edit");

    // Rotation: the origin travels in the vector field, with the angle's cosine and sine.
    g_seen.clear();
    t = {};
    t.typeID = APIEdit_Rotate;
    t.vector = {2, 3};
    t.cosA = 0.0;
    t.sinA = 1.0;
    ASSERT_EQ(Ev().UserEdit(obj, t), NoError);
    ASSERT_EQ(g_seen.size(), 3u);
    EXPECT_NEAR(g_seen[1].now.object.angle, std::acos(0.0), 1e-12);
    EXPECT_EQ(g_seen[1].tran.vector.x, 2.0);
    // A change of settings is a change event (3) with the parent but no transformation.
    g_seen.clear();
    ASSERT_EQ(Ev().UserChange(obj,
                              [](API_Element& e, StoredMemo&) {
                                  e.object.pen = 7;
                                  return true;
                              }),
              NoError);
    ASSERT_EQ(Codes(g_seen), (std::vector<int32_t>{-1, 3, -2}));
    EXPECT_TRUE(g_seen[1].hasParent);
    EXPECT_EQ(g_seen[1].parent.object.pen, 1);
    EXPECT_FALSE(g_seen[1].hasTran);
}

TEST_F(ElementEventsTest, OnlyObservedElementsReportChangesAndDeletion) {
    CatchAll();
    const API_Guid a = PlaceLineAt("A", 0);
    const API_Guid b = PlaceLineAt("B", 1);
    ASSERT_EQ(ACAPI_Element_AttachObserver(a), NoError);
    Ev().Deliver();
    g_seen.clear();
    API_ActTranPars t = {};
    t.typeID = APIEdit_Drag;
    t.disp = {1, 0};
    ASSERT_EQ(Ev().UserEdit(b, t), NoError);
    EXPECT_TRUE(g_seen.empty());
    EXPECT_EQ(Record(b).line.begC.x, 2.0);  // the edit itself happened
    ASSERT_EQ(Ev().UserDelete(a), NoError);
    ASSERT_EQ(Codes(g_seen), (std::vector<int32_t>{-1, 5, -2}));
    EXPECT_EQ(g_seen[1].guid, a);
    EXPECT_FALSE(Ev().IsObserved(a));
    EXPECT_EQ(ACAPI_Element_AttachObserver(a), APIERR_BADID);
    EXPECT_EQ(ACAPI_Element_DetachObserver(b), NoError);
}

TEST_F(ElementEventsTest, ACommandTakenBackIsNoNewsAndKeepsItsElementsObserved) {
    CatchAll();
    const API_Guid a = PlaceLineAt("A", 0);
    ASSERT_EQ(ACAPI_Element_AttachObserver(a), NoError);
    Ev().Deliver();
    g_seen.clear();
    Ev().BeginModuleCall();
    const API_Guid b = PlaceLineAt("B", 1);  // a command of its own, kept
    // A command that makes a line and deletes the observed one, then reports an error.
    EXPECT_EQ(Db().RunUndoableCommand("taken back",
                                      [&] {
                                          API_Element line = Record(b);
                                          line.header.guid = APINULLGuid;
                                          EXPECT_EQ(Db().CreateElement(&line, nullptr), NoError);
                                          EXPECT_EQ(Db().DeleteElements(&a, 1), NoError);
                                          return APIERR_GENERAL;
                                      }),
              APIERR_GENERAL);
    EXPECT_EQ(Db().AllElements().size(), 2u);
    Ev().EndModuleCall();
    ASSERT_EQ(Codes(g_seen), (std::vector<int32_t>{-1, 1, -2}));
    EXPECT_EQ(g_seen[1].guid, b);
    EXPECT_NE(Db().Find(a), nullptr);
    EXPECT_TRUE(Ev().IsObserved(a));
}

TEST_F(ElementEventsTest, NewElementsOnlyOfTheCaughtType) {
    const API_ElemTypeID lines = API_LineID;
    ASSERT_EQ(host->CatchNewElement(&lines, Handler), NoError);
    PlaceFill("F");
    Ev().Deliver();
    EXPECT_TRUE(g_seen.empty());
    const API_Guid l = PlaceLineAt("L", 0);
    Ev().Deliver();
    ASSERT_EQ(Codes(g_seen), (std::vector<int32_t>{-1, 1, -2}));
    EXPECT_EQ(g_seen[1].guid, l);
}

TEST_F(ElementEventsTest, CopyIsReportedAsCopyWithItsUserDataAndIsNotObserved) {
    CatchAll();
    const API_Guid obj = PlaceObject(API_ObjectID, libA, "O");
    ASSERT_EQ(Command([&] {
                  API_ElementUserData u = {};
                  u.dataVersion = 2;
                  u.platformSign = APIUserData_PlatformSign;
                  u.dataHdl = BMAllocateHandle(3, 0, 0);
                  std::memcpy(*u.dataHdl, "abc", 3);
                  const GSErrCode err = ACAPI_Element_SetUserData(&Db().Find(obj)->record.header, &u);
                  BMKillHandle(&u.dataHdl);
                  return err;
              }),
              NoError);
    ASSERT_EQ(ACAPI_Element_AttachObserver(obj), NoError);
    Ev().Deliver();
    g_seen.clear();
    API_Guid copy = {};
    ASSERT_EQ(Ev().UserCopy(obj, {10, 0, 0}, "C", &copy), NoError);
    ASSERT_EQ(Codes(g_seen), (std::vector<int32_t>{-1, 2, -2}));
    EXPECT_EQ(g_seen[1].guid, copy);
    EXPECT_EQ(g_seen[1].now.object.pos.x, 10.0);
    EXPECT_EQ(g_seen[1].now.header.userDataVersion, 2);  // the head as it is when the event goes out
    ASSERT_TRUE(Db().Find(copy)->userData.has_value());
    EXPECT_EQ(Db().Find(copy)->userData->bytes.str(), "abc");
    EXPECT_FALSE(Ev().IsObserved(copy));
    API_Guid named;
    EXPECT_TRUE(Db().FindByName("C", &named));
    EXPECT_EQ(Ev().UserCopy(obj, {1, 0, 0}, "C", nullptr), APIERR_BADPARS);  // the name is taken
}

TEST_F(ElementEventsTest, ChangesOfOneElementMergeIntoOneEvent) {
    CatchAll();
    const API_Guid kept = PlaceLineAt("K", 0);
    ASSERT_EQ(ACAPI_Element_AttachObserver(kept), NoError);
    Ev().Deliver();
    g_seen.clear();
    Ev().BeginModuleCall();
    API_Guid made = {};
    ASSERT_EQ(Command([&] {
                  API_Element e = Record(kept);
                  API_Element mask = {};
                  e.line.pen = 3;
                  mask.line.pen = -1;
                  GSErrCode err = ACAPI_Element_Change(&e, &mask, nullptr, 0);
                  e.line.pen = 4;
                  if (err == NoError) err = ACAPI_Element_Change(&e, &mask, nullptr, 0);
                  API_Element n = {};
                  n.header.typeID = API_HotspotID;
                  ACAPI_Element_GetDefaults(&n, nullptr);
                  if (err == NoError) err = ACAPI_Element_Create(&n, nullptr);
                  made = n.header.guid;
                  n.hotspot.pen = 5;
                  API_Element m2 = {};
                  m2.hotspot.pen = -1;
                  if (err == NoError) err = ACAPI_Element_Change(&n, &m2, nullptr, 0);
                  // Created and deleted inside the call: nobody hears of it.
                  API_Element gone = {};
                  gone.header.typeID = API_HotspotID;
                  ACAPI_Element_GetDefaults(&gone, nullptr);
                  if (err == NoError) err = ACAPI_Element_Create(&gone, nullptr);
                  GS::Array<API_Guid> del;
                  del.Push(gone.header.guid);
                  if (err == NoError) err = ACAPI_Element_Delete(del);
                  return err;
              }),
              NoError);
    Ev().EndModuleCall();
    ASSERT_EQ(Codes(g_seen), (std::vector<int32_t>{-1, 3, 1, -2}));
    EXPECT_EQ(g_seen[1].guid, kept);
    EXPECT_EQ(g_seen[1].parent.line.pen, 1);  // before the first of the two changes
    EXPECT_EQ(g_seen[1].now.line.pen, 4);
    EXPECT_EQ(g_seen[2].guid, made);
}

TEST_F(ElementEventsTest, NewElementsAndObservedChangesGoToTheirOwnHandlers) {
    CatchAll(Observer);
    const API_Guid a = PlaceLineAt("A", 0);
    ASSERT_EQ(ACAPI_Element_AttachObserver(a), NoError);
    Ev().Deliver();
    g_seen.clear();
    Ev().BeginModuleCall();
    PlaceLineAt("B", 1);
    API_ActTranPars t = {};
    t.typeID = APIEdit_Drag;  // an edit that moves nothing is no change, and reports nothing
    t.disp = {1.0, 0.0};
    ASSERT_EQ(Ev().UserEdit(a, t), NoError);
    Ev().EndModuleCall();
    EXPECT_EQ(Codes(g_seen), (std::vector<int32_t>{-1, 1, -2}));
    EXPECT_EQ(Codes(g_observed), (std::vector<int32_t>{-1, 4, -2}));
}

TEST_F(ElementEventsTest, ACascadeOfTheModulesOwnChangesIsCapped) {
    CatchAll();
    const API_Guid a = PlaceLineAt("A", 0);
    ASSERT_EQ(ACAPI_Element_AttachObserver(a), NoError);
    Ev().Deliver();
    // A module that answers every series by changing the element again.
    g_onEvent = [&](int32_t code) {
        if (code != -2) return;
        Command([&] {
            API_Element e = Record(a);
            API_Element mask = {};
            e.line.pen = int16_t(e.line.pen + 1);
            mask.line.pen = -1;
            return ACAPI_Element_Change(&e, &mask, nullptr, 0);
        });
    };
    g_seen.clear();
    const int32_t before = Ev().SeriesCount();
    ASSERT_EQ(Ev().UserChange(a,
                              [](API_Element& e, StoredMemo&) {
                                  e.line.pen = 10;
                                  return true;
                              }),
              NoError);
    EXPECT_EQ(Ev().SeriesCount() - before, ElementEvents::MaxSeries);
    EXPECT_EQ(Ev().CascadeCuts(), 1);
    EXPECT_EQ(Ev().PendingCount(), 0u);
    ASSERT_FALSE(host->Errors().empty());
    EXPECT_NE(host->Errors().back().find("kept causing events"), std::string::npos);
    // A cascade that settles is not cut.
    g_onEvent = nullptr;
    ASSERT_EQ(Ev().UserChange(a,
                              [](API_Element& e, StoredMemo&) {
                                  e.line.pen = 1;
                                  return true;
                              }),
              NoError);
    EXPECT_EQ(Ev().CascadeCuts(), 1);
}

TEST_F(ElementEventsTest, EditsTransformEveryKindOfElement) {
    const API_Guid line = PlaceLineAt("L", 1);
    const API_Guid fill = PlaceFill("F");
    API_ActTranPars t = {};
    t.typeID = APIEdit_Mirror;
    t.base = {0, 0};
    t.vector = {0, 1};  // the y axis
    ASSERT_EQ(Ev().UserEdit(line, t), NoError);
    EXPECT_NEAR(Record(line).line.begC.x, -1.0, 1e-12);
    ASSERT_EQ(Ev().UserEdit(fill, t), NoError);
    EXPECT_NEAR((*Db().Find(fill)->memo->coords)[2].x, -2.0, 1e-12);
    t = {};
    t.typeID = APIEdit_Resize;
    t.base = {0, 0};
    t.ratio = 2.0;
    ASSERT_EQ(Ev().UserEdit(fill, t), NoError);
    EXPECT_NEAR((*Db().Find(fill)->memo->coords)[3].y, 4.0, 1e-12);
    t.vector = {};
    t.typeID = APIEdit_Mirror;  // an axis without direction is no mirror
    EXPECT_EQ(Ev().UserEdit(fill, t), APIERR_BADPARS);
    t.typeID = API_Selector("XXXX");
    EXPECT_EQ(Ev().UserEdit(fill, t), APIERR_BADPARS);
    // A locked layer refuses the user's edit like any other change, and nothing is reported.
    const int32_t layer = Layer("Held", 0);
    API_Guid held = {};
    ASSERT_EQ(Db().PlaceLine({3, 0}, {3, 5}, layer, "H", &held), NoError);
    Layer("Held", APILay_Locked);
    t = {};
    t.typeID = APIEdit_Drag;
    EXPECT_EQ(Ev().UserEdit(held, t), APIERR_LOCKEDLAYER);
}

TEST_F(ElementEventsTest, ForgottenWithTheModule) {
    CatchAll();
    const API_Guid a = PlaceLineAt("A", 0);
    ASSERT_EQ(ACAPI_Element_AttachObserver(a), NoError);
    Ev().ForgetSession();
    EXPECT_FALSE(Ev().IsObserved(a));
    EXPECT_EQ(Ev().PendingCount(), 0u);
}

}  // namespace element_events_test
