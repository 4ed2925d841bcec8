// The model-update dispatcher: edit parameters from the host's transformations, the filter of pending elements,
// the steps run per mode with their failures and messages, mixed series, and the whole path from the user's edits
// in the stand-in host through the element-event handler.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "TestSupport.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/WholeCommand.hpp"
#include "elements/WrittenMemo.hpp"
#include "shell/Notifications.hpp"

#include <cmath>
#include <string>
#include <vector>

namespace model_update_test {

std::vector<std::string> g_calls;
PendingModelUpdate* g_capture = nullptr;

// A handler that builds the edit parameters while the host delivers an edit.
GSErrCode EditCapture(const API_NotifyElementType* e) {
    if (e->notifID == 4 && g_capture != nullptr) PendingInput::ToEditPars(*g_capture);
    return NoError;
}

class ModelUpdateTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        g_calls.clear();
        ElementWritten = 0;
        PendingUpdate.Reset();
        DGDriver::Reset();
    }
    void TearDown() override {
        g_capture = nullptr;
        ElementWritten = 0;
        PendingUpdate.Reset();
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    API_Element Rec(const API_Guid& g) { return Db().Find(g)->record; }
    // Stub steps that note their calls; `fail` names a step that answers false.
    ModelUpdateSteps Stubs(const std::string& fail = "", bool filterKeeps = true) {
        ModelUpdateSteps s;
        using Heads = QV_List<API_Elem_Head>;
        const auto note = [fail](const std::string& name) {
            g_calls.push_back(name);
            return name != fail;
        };
        s.handleCopiedObjects = [note](int32_t k, const Heads&) { return note("copied " + std::to_string(k)); };
        s.syncChangedObjects = [note](int32_t k, const Heads&) { return note("sync " + std::to_string(k)); };
        s.deleteBrokenSets = [note](int32_t k) { return note("broken " + std::to_string(k)); };
        const auto kind = [&s, note](int32_t k, const std::string& name) {
            s.kindSteps[k] = [note, name](const ModelUpdateEvent&) { return note(name); };
        };
        kind(ElemKind_Section, "section");
        // The contour lines follow the user's new elements only, as their own step does.
        s.kindSteps[ElemKind_Contour] = [note](const ModelUpdateEvent& e) { return !e.userNew || note("contours"); };
        kind(ElemKind_Building, "building");
        kind(ElemKind_Basin, "basin");
        kind(ElemKind_ColouredArea, "paint");
        kind(ElemKind_Wall, "wall");
        kind(ElemKind_RetainingWall, "obstacle");
        kind(ElemKind_Bridge, "bridge");
        s.kindSteps[ElemKind_Terrain] = [note](const ModelUpdateEvent& e) {
            return note("terrain " + std::to_string(e.parents.GetCount()));
        };
        kind(ElemKind_Point, "points");
        // The constraints' passes by mode, as their own step runs them.
        s.kindSteps[ElemKind_Constraint] = [note](const ModelUpdateEvent& e) {
            bool refreshed = true;
            if (e.userNew)
                refreshed = note("constraints A");
            else if (e.mode == 4)
                refreshed = note("constraints B");
            return refreshed && note("constraints C");
        };
        s.operatorLayerUpkeep = [note] { return note("upkeep"); };
        s.filterPendingHeads = [note, filterKeeps](PendingModelUpdate& r) {
            if (!note("filter")) return false;
            if (!filterKeeps) {
                r.heads.Clear();
                r.codes.Clear();
            }
            return true;
        };
        s.showErrorMessage = [note](int32_t code) { note("message " + std::to_string(code)); };
        return s;
    }
    PendingModelUpdate Record(int32_t mode, const std::vector<API_Guid>& guids) {
        PendingModelUpdate r;
        r.mode = mode;
        for (const API_Guid& g : guids) {
            API_Elem_Head head = Db().Find(g) != nullptr ? Rec(g).header : API_Elem_Head();
            head.guid = g;
            r.heads.Insert(head);
            r.codes.Insert(mode);
            if (mode == 3 || mode == 4) r.parents.Insert(Db().Find(g) != nullptr ? Rec(g) : API_Element());
        }
        return r;
    }
    static std::vector<std::string> Seq(std::initializer_list<const char*> names) {
        return std::vector<std::string>(names.begin(), names.end());
    }
};

const std::vector<std::string> kHooks = {"building", "basin", "paint", "wall", "obstacle", "bridge"};

TEST_F(ModelUpdateTest, EditParametersFollowTheTransformation) {
    const API_Guid obj = PlaceObject(API_ObjectID, libA, "O");
    ASSERT_EQ(host->InstallElementObserver(EditCapture), NoError);
    ASSERT_EQ(ACAPI_Element_AttachObserver(obj), NoError);
    PendingModelUpdate rec;
    g_capture = &rec;
    const auto edit = [&](uint32_t type, auto fill) {
        API_ActTranPars t = {};
        t.typeID = type;
        fill(t);
        rec.Reset();
        EXPECT_EQ(host->Events().UserEdit(obj, t), NoError);
    };
    edit(APIEdit_Drag, [](API_ActTranPars& t) {
        t.disp = {2, 3};
        t.dispZ = 4;
    });
    EXPECT_EQ(rec.editPars.typeID, APIEdit_Drag);
    EXPECT_EQ(rec.editPars.withDelete, 1);
    EXPECT_EQ(rec.editPars.begC.x, 0.0);
    EXPECT_EQ(rec.editPars.endC.y, 3.0);
    EXPECT_EQ(rec.editPars.endC.z, 4.0);
    EXPECT_EQ(rec.tranPars.disp.x, 2.0);

    edit(APIEdit_Rotate, [](API_ActTranPars& t) {
        t.vector = {10, 20};
        t.cosA = 0.6;
        t.sinA = 0.8;
    });
    EXPECT_EQ(rec.editPars.origC.x, 10.0);
    EXPECT_EQ(rec.editPars.begC.x, 11.0);
    EXPECT_EQ(rec.editPars.endC.x, 10.6);
    EXPECT_EQ(rec.editPars.endC.y, 20.8);

    edit(APIEdit_Mirror, [](API_ActTranPars& t) {
        t.base = {1, 2};
        t.vector = {0, 5};
    });
    EXPECT_EQ(rec.editPars.begC.y, 2.0);
    EXPECT_EQ(rec.editPars.endC.y, 7.0);
    EXPECT_EQ(rec.editPars.origC.x, 0.0);

    edit(APIEdit_Resize, [](API_ActTranPars& t) {
        t.base = {1, 2};
        t.ratio = 3;
    });
    EXPECT_EQ(rec.editPars.endC.x, 2.0);
    EXPECT_EQ(rec.editPars.fourthC.x, 4.0);
    EXPECT_EQ(rec.editPars.fourthC.y, 2.0);

    edit(APIEdit_Stretch, [](API_ActTranPars& t) {
        t.base = {1, 2};
        t.disp = {5, 6};
    });
    EXPECT_EQ(rec.editPars.endC.x, 6.0);
    EXPECT_EQ(rec.editPars.endC.y, 8.0);

    for (const uint32_t type : {APIEdit_Elevate, APIEdit_VertStretch}) {
        edit(type, [](API_ActTranPars& t) { t.dispZ = 2.5; });
        EXPECT_EQ(rec.editPars.typeID, type);
        EXPECT_EQ(rec.editPars.endC.z, 2.5);
        EXPECT_EQ(rec.editPars.endC.x, 0.0);
    }

    // No edit being reported: 'GENE' with every point zero.
    PendingModelUpdate outside;
    std::memset(&outside.editPars, 0x44, sizeof outside.editPars);
    PendingInput::ToEditPars(outside);
    EXPECT_EQ(outside.editPars.typeID, APIEdit_General);
    EXPECT_EQ(outside.editPars.withDelete, 1);
    EXPECT_EQ(outside.editPars.endC.z, 0.0);
    EXPECT_EQ(outside.editPars.origC.x, 0.0);
    EXPECT_EQ(outside.tranPars.typeID, 0u);
}

TEST_F(ModelUpdateTest, StepsPerMode) {
    const API_Guid g = PlaceFill("F");
    PendingModelUpdate copy = Record(2, {g});
    UpdateModelWith(copy, Stubs());
    std::vector<std::string> want =
        Seq({"filter", "copied 6", "copied 21", "section", "copied 7", "copied 19", "copied 11", "contours"});
    want.insert(want.end(), kHooks.begin(), kHooks.end());
    for (const char* s : {"terrain 0", "points", "constraints A", "constraints C", "upkeep"}) want.push_back(s);
    EXPECT_EQ(g_calls, want);

    g_calls.clear();
    PendingModelUpdate change = Record(3, {g});
    UpdateModelWith(change, Stubs());
    want = Seq({"filter", "sync 6", "sync 21", "section", "sync 7", "sync 19", "sync 11"});
    want.insert(want.end(), kHooks.begin(), kHooks.end());
    for (const char* s : {"terrain 1", "points", "constraints C", "upkeep"}) want.push_back(s);
    EXPECT_EQ(g_calls, want);

    g_calls.clear();
    PendingModelUpdate edit = Record(4, {g});  // no filter for edits
    UpdateModelWith(edit, Stubs());
    want = Seq({"sync 6", "sync 21", "section", "sync 7", "sync 19", "sync 11"});
    want.insert(want.end(), kHooks.begin(), kHooks.end());
    for (const char* s : {"terrain 1", "points", "constraints B", "constraints C", "upkeep"}) want.push_back(s);
    EXPECT_EQ(g_calls, want);

    g_calls.clear();
    PendingModelUpdate gone = Record(5, {g});
    UpdateModelWith(gone, Stubs());
    EXPECT_EQ(std::vector<std::string>(g_calls.begin(), g_calls.begin() + 3), Seq({"filter", "broken 6", "broken 21"}));
    EXPECT_EQ(g_calls.back(), "upkeep");
}

TEST_F(ModelUpdateTest, OwnNewElementsAreNoCopies) {
    const API_Guid g = PlaceFill("F");
    PendingModelUpdate made = Record(1, {g});
    ElementWritten = 1;
    UpdateModelWith(made, Stubs());
    std::vector<std::string> want = Seq({"filter", "section"});
    want.insert(want.end(), kHooks.begin(), kHooks.end());
    for (const char* s : {"terrain 0", "points", "constraints C", "upkeep"}) want.push_back(s);
    EXPECT_EQ(g_calls, want);
    EXPECT_EQ(ElementWritten, 0);
    g_calls.clear();
    PendingModelUpdate user = Record(1, {g});
    UpdateModelWith(user, Stubs());
    EXPECT_EQ(g_calls[1], "copied 6");
}

// A writer that makes nothing gives the flag back as it found it: raised when an earlier writer of the series made
// the add-on's elements (a terrain, then a contour-line object that failed), lowered otherwise.
TEST_F(ModelUpdateTest, AWriterThatMakesNothingLeavesTheFlagAsItFoundIt) {
    API_Element object = {};
    object.header.typeID = API_HotspotID;
    ASSERT_EQ(ACAPI_Element_GetDefaults(&object, nullptr), NoError);
    API_ElementMemo memo = {};
    for (const uint8_t before : {uint8_t(0), uint8_t(1)}) {
        ElementWritten = before;
        host->FailCall("Element_Create", -1, APIERR_GENERAL);
        EXPECT_FALSE(CreateFlaggedObject(object, memo));
        host->ClearFailures();
        EXPECT_EQ(ElementWritten, before);
    }
    ElementWritten = 0;
    EXPECT_TRUE(RunWholeCommand([&] { return CreateFlaggedObject(object, memo); }));
    EXPECT_EQ(ElementWritten, 1);
    DisposeElemMemo(memo);
}

TEST_F(ModelUpdateTest, AFailedStepEndsTheDispatchAndTellsTheUser) {
    const API_Guid g = PlaceFill("F");
    PendingModelUpdate r = Record(2, {g});
    ElementWritten = 1;
    UpdateModelWith(r, Stubs("section"));
    EXPECT_EQ(g_calls, Seq({"filter", "copied 6", "copied 21", "section", "message 51"}));
    EXPECT_EQ(ElementWritten, 0);

    g_calls.clear();
    PendingModelUpdate a = Record(2, {g});
    UpdateModelWith(a, Stubs("constraints A"));
    EXPECT_EQ(g_calls[g_calls.size() - 2], "constraints A");  // C does not run after a failed A
    EXPECT_EQ(g_calls.back(), "message 51");
}

// Whichever step fails, what the steps before it changed is taken back with the dispatcher's command (the user's
// edit stays as it is) and the user is told once; the skirt and retaining-wall notes are not shown then.
TEST_F(ModelUpdateTest, AFailedStepTakesTheWholeAnswerBackAndTellsOnce) {
    const API_Guid g = PlaceFill("F");
    const auto stubs = [&](const std::string& fail) {
        ModelUpdateSteps s = Stubs(fail);
        // The first step changes the model, as the real ones do: a record on the copied element.
        s.handleCopiedObjects = [fail](int32_t kind, const QV_List<API_Elem_Head>& heads) {
            const std::string name = "copied " + std::to_string(kind);
            g_calls.push_back(name);
            ElemDescriptor d;
            if (kind == ElemKind_Road && !ElemUserData_WriteRecord(d, ElemKind_ColouredArea, heads[0])) return false;
            return name != fail;
        };
        return s;
    };
    PendingModelUpdate clean = Record(2, {g});
    clean.skirtForced = 1;
    UpdateModelWith(clean, stubs(""));
    ASSERT_TRUE(Db().Find(g)->userData);
    EXPECT_EQ(g_calls.back(), "message 30");
    ASSERT_TRUE(Db().Undo());
    ASSERT_FALSE(Db().Find(g)->userData);

    std::vector<std::string> names = g_calls;
    names.pop_back();  // the note
    for (const std::string& failing : names) {
        g_calls.clear();
        PendingModelUpdate r = Record(2, {g});
        r.skirtForced = 1;
        ElementWritten = 1;
        UpdateModelWith(r, stubs(failing));
        EXPECT_FALSE(Db().Find(g)->userData) << failing;
        EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "message 51"), 1) << failing;
        EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "message 30"), 0) << failing;
        EXPECT_EQ(ElementWritten, 0) << failing;
    }
}

// A command the host does not run runs no step: the user is told, and nothing is changed outside a command.
TEST_F(ModelUpdateTest, WithoutItsCommandNoStepRuns) {
    const API_Guid g = PlaceFill("F");
    ASSERT_TRUE(host->FailCall("CallUndoableCommand", -1, APIERR_GENERAL));
    PendingModelUpdate r = Record(2, {g});
    ElementWritten = 1;
    UpdateModelWith(r, Stubs());
    host->ClearFailures();
    EXPECT_EQ(g_calls, Seq({"message 51"}));
    EXPECT_EQ(ElementWritten, 0);
}

// A series of several codes is one undo step: a failure in a later dispatch takes back the earlier ones too.
TEST_F(ModelUpdateTest, AFailureLateInAMixedSeriesTakesItAllBack) {
    const API_Guid a = PlaceFill("A");
    const API_Guid b = PlaceFill("B");
    PendingModelUpdate r;
    r.mode = 3;
    for (const auto& [g, code] : std::vector<std::pair<API_Guid, int32_t>>{{a, 2}, {b, 3}}) {
        r.heads.Insert(Rec(g).header);
        r.codes.Insert(code);
        if (code == 3) r.parents.Insert(Rec(g));
    }
    ModelUpdateSteps s = Stubs();
    s.kindSteps[ElemKind_Section] = [](const ModelUpdateEvent& e) {
        g_calls.push_back("section " + std::to_string(e.mode));
        ElemDescriptor d;
        return e.mode == 2 ? ElemUserData_WriteRecord(d, ElemKind_ColouredArea, e.heads[0]) : false;
    };
    UpdateModelSeries(r, s);
    EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "section 2"), 1);
    EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "section 3"), 1);
    EXPECT_FALSE(Db().Find(a)->userData);  // the copy's answer went with the change's failure
    EXPECT_EQ(g_calls.back(), "message 51");
}

TEST_F(ModelUpdateTest, OtherCodesAndEmptyFiltersEndEarly) {
    const API_Guid g = PlaceFill("F");
    for (const int32_t mode : {0, 6, -5}) {
        g_calls.clear();
        PendingModelUpdate r = Record(mode, {g});
        ElementWritten = 1;
        UpdateModelWith(r, Stubs());
        EXPECT_EQ(g_calls, Seq({"upkeep"})) << mode;
        EXPECT_EQ(r.mode, -5);
        EXPECT_EQ(ElementWritten, 0);
    }
    g_calls.clear();
    PendingModelUpdate foreign = Record(3, {g});
    UpdateModelWith(foreign, Stubs("", false));
    EXPECT_EQ(g_calls, Seq({"filter", "upkeep"}));  // all foreign: no change and no message
}

TEST_F(ModelUpdateTest, RetainingWallsAndTheSkirtAreReported) {
    const API_Guid wall = PlaceObject(API_ObjectID, libA, "W");
    WriteRecord(wall, ElemKind_RetainingWall);
    PendingModelUpdate change = Record(3, {wall});
    UpdateModelWith(change, Stubs());
    EXPECT_EQ(g_calls.back(), "message 53");

    g_calls.clear();
    PendingModelUpdate edit = Record(4, {wall});
    UpdateModelWith(edit, Stubs());
    EXPECT_EQ(g_calls.back(), "upkeep");  // an edit never reports the walls

    g_calls.clear();
    PendingModelUpdate dropped = Record(3, {wall});
    UpdateModelWith(dropped, Stubs("", false));  // nothing left after the filter: still reported
    EXPECT_EQ(g_calls, Seq({"filter", "upkeep", "message 53"}));

    g_calls.clear();
    PendingModelUpdate skirt = Record(3, {wall});
    skirt.skirtForced = 1;
    UpdateModelWith(skirt, Stubs());
    EXPECT_EQ(g_calls.back(), "message 30");
    EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "message 53"), 0);

    // A wall on another terrain than the changed mesh is not reported; one on it is.
    const API_Guid mesh = PlaceMesh("M");
    WriteRecord(mesh, ElemKind_Terrain);
    g_calls.clear();
    PendingModelUpdate both = Record(3, {wall, mesh});
    UpdateModelWith(both, Stubs());
    EXPECT_EQ(g_calls.back(), "upkeep");
    ElemDescriptor onMesh;
    onMesh.TerrainGuid = QV_String(GuidText(mesh).c_str());
    const API_Elem_Head head = Rec(wall).header;
    ASSERT_EQ(Command([&] {
                  return ElemUserData_WriteRecord(onMesh, ElemKind_RetainingWall, head) ? NoError : APIERR_GENERAL;
              }),
              NoError);
    g_calls.clear();
    PendingModelUpdate again = Record(3, {wall, mesh});
    UpdateModelWith(again, Stubs());
    EXPECT_EQ(g_calls.back(), "message 53");
}

TEST_F(ModelUpdateTest, FilterKeepsTheAddOnsOwnElements) {
    const API_Guid road = PlaceObject(API_ObjectID, libA, "road");
    const API_Guid basin = PlaceObject(API_ObjectID, libA, "basin");
    const API_Guid marker = PlaceObject(API_ObjectID, libA, "marker");
    const API_Guid foreign = PlaceObject(API_ObjectID, libB, "foreign");
    const API_Guid mesh = PlaceMesh("mesh");
    const API_Guid fill = PlaceFill("fill");
    API_Guid line = {}, point = {};
    ASSERT_EQ(Db().PlaceLine({0, 0}, {1, 1}, 1, "line", &line), NoError);
    ASSERT_EQ(Db().PlaceHotspot({1, 1}, 1, "point", &point), NoError);
    WriteRecord(road, ElemKind_Road);
    WriteRecord(basin, ElemKind_Basin);
    WriteRecord(marker, ElemKind_LevelMarker);
    WriteRecord(mesh, ElemKind_Terrain);
    WriteRecord(fill, ElemKind_ColouredArea);
    WriteRecord(line, ElemKind_Constraint);
    WriteRecord(point, ElemKind_Point);
    PendingModelUpdate r = Record(3, {road, foreign, basin, marker, mesh, fill, line, point});
    r.parents[1].header.layer = 77;  // tells the parents apart
    FilterPendingHeads(r);
    ASSERT_EQ(r.heads.GetCount(), 5);
    EXPECT_EQ(r.heads[0].guid, road);
    EXPECT_EQ(r.heads[1].guid, basin);
    EXPECT_EQ(r.heads[2].guid, mesh);
    EXPECT_EQ(r.heads[3].guid, line);
    EXPECT_EQ(r.heads[4].guid, point);
    ASSERT_EQ(r.parents.GetCount(), 5);  // the parents stay with their elements
    EXPECT_EQ(r.parents[1].header.guid, basin);
    EXPECT_EQ(r.codes.GetCount(), 5);

    // In the 3D window the records are read in the floor plan; the 3D window comes back, rebuilt.
    Window(APIWind_3DModelID);
    const int rebuilds = Db().RebuildCount();
    PendingModelUpdate in3D = Record(3, {road, foreign});
    FilterPendingHeads(in3D);
    EXPECT_EQ(in3D.heads.GetCount(), 1);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
    EXPECT_GT(Db().RebuildCount(), rebuilds);

    // Deletions are not filtered.
    PendingModelUpdate gone = Record(5, {foreign});
    FilterPendingHeads(gone);
    EXPECT_EQ(gone.heads.GetCount(), 1);
}

TEST_F(ModelUpdateTest, WhileRoadSectionsAreDrawnEveryObjectCounts) {
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    const int32_t roadInd = host->Project().libraries.FindByName("VY_ROAD", 0);
    ASSERT_GT(roadInd, 0);
    std::vector<StoredParam> params;
    ASSERT_TRUE(Db().libPartDefaults(roadInd, &params));
    bool found = false;
    for (StoredParam& p : params)
        if (std::string(p.record.name) == "sezione") {
            p.record.value.real = 1.0;
            found = true;
        }
    ASSERT_TRUE(found);
    API_Element defaults = {};
    defaults.header.typeID = API_ObjectID;
    ASSERT_EQ(Db().GetDefaults(&defaults, nullptr), NoError);
    defaults.object.libInd = roadInd;
    StoredMemo memo;
    memo.params = params;
    API_ElementMemo api = {};
    ASSERT_EQ(WriteApiMemo(memo, APIMemoMask_All, &api), NoError);
    ASSERT_EQ(Db().ChangeDefaults(defaults, &api, nullptr), NoError);
    DisposeApiMemo(&api);

    const API_Guid foreign = PlaceObject(API_ObjectID, libB, "foreign");
    const API_Guid fill = PlaceFill("fill");
    PendingModelUpdate r = Record(3, {foreign, fill});
    FilterPendingHeads(r);
    ASSERT_EQ(r.heads.GetCount(), 1);
    EXPECT_EQ(r.heads[0].guid, foreign);
    EXPECT_TRUE(DGDriver::Log().empty());  // nothing was asked of the user
}

TEST_F(ModelUpdateTest, HandlerGathersTheSeries) {
    PendingModelUpdate& p = PendingUpdate;
    API_NotifyElementType e = {};
    e.notifID = -1;
    ElementEventHandler(&e);
    EXPECT_EQ(p.mode, -5);
    e.notifID = 1;
    e.elemHead.guid.time_low = 11;
    ElementEventHandler(&e);
    e.notifID = 3;  // outside a delivery the parent cannot be read: a zero record stands for it
    e.elemHead.guid.time_low = 12;
    ElementEventHandler(&e);
    EXPECT_EQ(p.mode, 3);
    EXPECT_EQ(p.heads.GetCount(), 2);
    EXPECT_EQ(p.parents.GetCount(), 1);
    for (const int32_t code : {0, 6}) {
        e.notifID = code;
        ElementEventHandler(&e);
        EXPECT_EQ(p.mode, code);
        EXPECT_EQ(p.heads.GetCount(), 2);
    }
    e.notifID = 5;
    ElementEventHandler(&e);
    EXPECT_EQ(p.heads.GetCount(), 3);
    EXPECT_EQ(p.codes[2], 5);
}

TEST_F(ModelUpdateTest, MixedSeriesAreDispatchedPerCode) {
    const API_Guid a = PlaceFill("A");
    const API_Guid b = PlaceFill("B");
    const API_Guid c = PlaceFill("C");
    PendingModelUpdate r;
    r.mode = 1;
    for (const auto& [g, code] : std::vector<std::pair<API_Guid, int32_t>>{{a, 5}, {b, 3}, {c, 1}}) {
        API_Elem_Head h = Rec(g).header;
        r.heads.Insert(h);
        r.codes.Insert(code);
        if (code == 3) r.parents.Insert(Rec(g));
    }
    ElementWritten = 1;
    std::vector<int32_t> modes;
    std::vector<int32_t> written;
    ModelUpdateSteps s = Stubs();
    s.kindSteps[ElemKind_Section] = [&](const ModelUpdateEvent& e) {
        modes.push_back(e.mode);
        written.push_back(ElementWritten);
        EXPECT_EQ(e.heads.GetCount(), 1);
        return true;
    };
    s.kindSteps[ElemKind_Terrain] = [&](const ModelUpdateEvent& e) {
        EXPECT_EQ(e.parents.GetCount(), e.mode == 3 ? 1 : 0);
        return true;
    };
    UpdateModelSeries(r, s);
    EXPECT_EQ(modes, (std::vector<int32_t>{5, 3, 1}));  // the deletion is not lost behind the creation
    EXPECT_EQ(written, (std::vector<int32_t>{1, 1, 1}));
    EXPECT_EQ(ElementWritten, 0);
    EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "broken 6"), 1);
    EXPECT_EQ(std::count(g_calls.begin(), g_calls.end(), "copied 6"), 0);  // own new element
}

// The whole path: the user's edits in the host reach the module's handler and its dispatcher.
TEST_F(ModelUpdateTest, UserEditsReachTheDispatcherThroughTheModule) {
    ASSERT_TRUE(host->Detach());
    ASSERT_TRUE(host->Load());
    const API_Guid road = PlaceObject(API_ObjectID, libA, "road");
    const API_Guid foreign = PlaceObject(API_ObjectID, libB, "foreign");
    WriteRecord(road, ElemKind_Road);
    ASSERT_EQ(ACAPI_Element_AttachObserver(road), NoError);
    ASSERT_EQ(ACAPI_Element_AttachObserver(foreign), NoError);
    host->Events().Deliver();
    host->ClearModuleReports();

    API_Guid copy = {};
    ASSERT_EQ(host->Events().UserCopy(road, {5, 0, 0}, "copy", &copy), NoError);
    EXPECT_EQ(CountReports("call: HandleCopiedObjects(6)"), 1);
    // The copied "result" object gets observed, but its part has no link parameters to clear: the pass fails, the
    // dispatch ends there and the user is told. The answer is taken back whole, its observer with it: the copy
    // stays as the user made it.
    EXPECT_EQ(CountReports("call: ContourLineCls::RefreshOnUpdate(1)"), 0);
    ASSERT_FALSE(DGDriver::Log().empty());
    EXPECT_EQ(DGDriver::Log().back().kind, "alert");
    EXPECT_FALSE(host->Events().IsObserved(copy));
    host->ClearModuleReports();

    ASSERT_EQ(host->Events().UserCopy(foreign, {5, 0, 0}, "copy2", nullptr), NoError);
    EXPECT_EQ(CountReports("call: HandleCopiedObjects(6)"), 0);  // a foreign object: filtered out
    host->ClearModuleReports();

    API_ActTranPars t = {};
    t.typeID = APIEdit_Drag;
    t.disp = {1, 0};
    ASSERT_EQ(host->Events().UserEdit(road, t), NoError);
    EXPECT_EQ(CountReports("call: SyncChangedObjects(6)"), 1);
    EXPECT_EQ(CountReports("call: ConstraintInput::RefreshOnUpdateB(1)"), 1);
    host->ClearModuleReports();

    ASSERT_EQ(host->Events().UserEdit(copy, t), NoError);  // not observed: the module hears nothing
    EXPECT_EQ(CountReports("call: SyncChangedObjects(6)"), 0);

    ASSERT_EQ(host->Events().UserDelete(road), NoError);
    EXPECT_EQ(CountReports("call: DeleteBrokenSets(6)"), 1);
    EXPECT_EQ(CountReports("call: DeleteBrokenSets(21)"), 1);
    EXPECT_EQ(PendingUpdate.mode, -5);  // reset after the series
    // The operator layer is kept up.
    EXPECT_NE(Db().FindAttribute(API_LayerID, "VY_Operators"), 0);
}

}  // namespace model_update_test
