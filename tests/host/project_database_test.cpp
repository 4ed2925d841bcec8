// The stand-in project database through its C++ interface: element changes and undoable commands, the 3D
// database, layers, selection, memos and user data, attributes, stories, databases and the JSON dump.
#include "MemoryDriver.hpp"
#include "project/ProjectDatabase.hpp"
#include "UniString.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <set>

namespace project_database_test {

class ProjectDatabaseTest : public ::testing::Test {
protected:
    // A fill with a square outline; memo ready for CreateElement.
    static API_Element Fill(StoredMemo* memo, double size = 10.0) {
        API_Element e = {};
        e.header.typeID = API_HatchID;
        e.header.layer = 1;
        e.hatch.poly = {5, 1, 0, 0};
        memo->coords = std::vector<API_Coord>{{0, 0}, {0, 0}, {size, 0}, {size, size}, {0, size}, {0, 0}};
        memo->pends = std::vector<int32_t>{0, 5};
        return e;
    }

    GSErrCode CreateFill(API_Element* e, const StoredMemo& memo) {
        API_ElementMemo api = {};
        EXPECT_EQ(WriteApiMemo(memo, APIMemoMask_All, &api), NoError);
        const GSErrCode err = db.CreateElement(e, &api);
        DisposeApiMemo(&api);
        return err;
    }

    API_Guid PlaceFill(const std::string& name) {
        API_Guid g = {};
        EXPECT_EQ(db.PlacePolygonElement(API_HatchID, {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}}, true, 1, name, &g), NoError);
        return g;
    }

    int32_t AddLayer(const std::string& name, uint32_t flags) {
        API_Attribute a = {};
        a.header.typeID = API_LayerID;
        std::strncpy(a.header.name, name.c_str(), sizeof a.header.name - 1);
        a.header.flags = flags;
        EXPECT_EQ(db.CreateAttribute(&a), NoError);
        return a.header.index;
    }

    void SetLayerFlags(int32_t index, uint32_t flags) {
        API_Attribute a = {};
        a.header.typeID = API_LayerID;
        a.header.index = index;
        ASSERT_EQ(db.GetAttribute(&a), NoError);
        a.header.flags = flags;
        ASSERT_EQ(db.ModifyAttribute(&a), NoError);
    }

    void Go3D() {
        API_WindowInfo w = {};
        w.typeID = APIWind_3DModelID;
        ASSERT_EQ(db.ChangeWindow(w), NoError);
    }

    ProjectDatabase db;
};

TEST_F(ProjectDatabaseTest, ChangesOutsideAnUndoableCommandAreRefused) {
    StoredMemo memo;
    API_Element e = Fill(&memo);
    EXPECT_EQ(CreateFill(&e, memo), APIERR_NEEDSUNDOSCOPE);
    EXPECT_TRUE(db.AllElements().empty());

    const API_Guid g = PlaceFill("F");
    API_Elem_Head head = {};
    head.guid = g;
    API_ElementUserData ud = {};
    EXPECT_EQ(db.SetUserData(head, ud), APIERR_NEEDSUNDOSCOPE);
    EXPECT_EQ(db.DeleteUserData(head), APIERR_NEEDSUNDOSCOPE);
    EXPECT_EQ(db.DeleteElements(&g, 1), APIERR_NEEDSUNDOSCOPE);
    API_Element change = {};
    change.header.guid = g;
    EXPECT_EQ(db.ChangeElement(&change, nullptr, nullptr, 0), APIERR_NEEDSUNDOSCOPE);
    EXPECT_EQ(db.ChangeParameters(&g, 1, nullptr, nullptr, nullptr), APIERR_NEEDSUNDOSCOPE);
    EXPECT_EQ(db.AllElements().size(), 1u);
}

TEST_F(ProjectDatabaseTest, OneCommandIsOneUndoStepAndACommandReportingAnErrorIsTakenBackWhole) {
    const API_Guid kept = PlaceFill("kept");
    // A failed step inside the command: the body that reports it gets the whole command taken back, the body
    // that answers success keeps what came before the failed step.
    for (const bool report : {true, false}) {
        API_Guid first = {};
        API_Guid changed = kept;
        const size_t solidLinks = db.Model().solidLinks.size();
        const GSErrCode err = db.RunUndoableCommand("Two fills", [&]() {
            StoredMemo memo;
            API_Element a = Fill(&memo);
            GSErrCode e = CreateFill(&a, memo);
            EXPECT_EQ(e, NoError);
            first = a.header.guid;
            EXPECT_NE(first, APINULLGuid);
            EXPECT_EQ(db.DeleteElements(&changed, 1), NoError);
            API_Element b = Fill(&memo);
            b.hatch.poly.nCoords = 7;  // more than the memo holds
            e = CreateFill(&b, memo);
            EXPECT_EQ(e, APIERR_BADPOLY);
            return report ? e : NoError;
        });
        EXPECT_EQ(err, report ? APIERR_BADPOLY : NoError);
        EXPECT_EQ(db.Model().solidLinks.size(), solidLinks);
        if (report) {
            EXPECT_EQ(db.Find(first), nullptr);
            EXPECT_NE(db.Find(kept), nullptr);
            ASSERT_EQ(db.AllElements().size(), 1u);
            ASSERT_EQ(db.UndoTexts().size(), 1u);  // only the placing of "kept"
            continue;
        }
        EXPECT_NE(db.Find(first), nullptr);
        EXPECT_EQ(db.Find(kept), nullptr);
        ASSERT_EQ(db.UndoTexts().size(), 2u);
        EXPECT_EQ(db.UndoTexts().back(), "Two fills");
        ASSERT_TRUE(db.Undo());
        EXPECT_EQ(db.Find(first), nullptr);
        EXPECT_NE(db.Find(kept), nullptr);
    }
    ASSERT_TRUE(db.Undo());
    EXPECT_TRUE(db.AllElements().empty());
    EXPECT_FALSE(db.Undo());

    // A command that changes nothing leaves no step.
    EXPECT_EQ(db.RunUndoableCommand("nothing", [] { return NoError; }), NoError);
    EXPECT_TRUE(db.UndoTexts().empty());
}

TEST_F(ProjectDatabaseTest, UndoRestoresChangesDeletionsUserDataAndLayers) {
    const API_Guid g = PlaceFill("F");
    const API_Element before = db.Find(g)->record;
    ASSERT_EQ(db.RunUndoableCommand("edit",
                                    [&]() {
                                        API_Element e = {};
                                        e.header.guid = g;
                                        e.hatch.fillPen = 7;
                                        API_Element mask = {};
                                        mask.hatch.fillPen = -1;
                                        EXPECT_EQ(db.ChangeElement(&e, &mask, nullptr, 0), NoError);
                                        EXPECT_EQ(e.hatch.fillPen, 7);
                                        EXPECT_EQ(e.hatch.contPen, before.hatch.contPen);  // comes back whole
                                        API_Elem_Head head = e.header;
                                        GSHandle h = BMAllocateHandle(3, 0, 0);
                                        std::memcpy(*h, "abc", 3);
                                        API_ElementUserData ud = {2, 0x5757, 0, h};
                                        EXPECT_EQ(db.SetUserData(head, ud), NoError);
                                        BMKillHandle(&h);
                                        EXPECT_NE(AddLayer("New", 0), 0);
                                        return NoError;
                                    }),
              NoError);
    EXPECT_EQ(db.Find(g)->record.Get().hatch.fillPen, 7);
    EXPECT_EQ(db.Find(g)->record.header.userDataVersion, 2);
    ASSERT_TRUE(db.RunUndoableCommand("delete", [&] { return db.DeleteElements(&g, 1); }) == NoError);
    EXPECT_EQ(db.Find(g), nullptr);

    ASSERT_TRUE(db.Undo());
    ASSERT_NE(db.Find(g), nullptr);
    EXPECT_TRUE(db.Find(g)->userData.has_value());
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(db.Find(g)->record.Get().hatch.fillPen, before.hatch.fillPen);
    EXPECT_FALSE(db.Find(g)->userData.has_value());
    EXPECT_EQ(db.FindAttribute(API_LayerID, "New"), 0);
}

TEST_F(ProjectDatabaseTest, ACommandInsideACommandIsRefused) {
    GSErrCode inner = NoError;
    EXPECT_EQ(db.RunUndoableCommand("outer",
                                    [&] {
                                        inner = db.RunUndoableCommand("inner", [] { return NoError; });
                                        return NoError;
                                    }),
              NoError);
    EXPECT_EQ(inner, APIERR_REFUSEDCMD);
    EXPECT_FALSE(db.InCommand());
}

TEST_F(ProjectDatabaseTest, TheModelDatabaseRefusesChangesMemosAndUserDataButReadsElements) {
    const API_Guid g = PlaceFill("F");
    Go3D();
    EXPECT_EQ(db.CurrentDatabaseType(), APIWind_3DModelID);
    API_Element e = {};
    e.header.guid = g;
    EXPECT_EQ(db.GetElement(&e), NoError);
    EXPECT_EQ(e.header.typeID, API_HatchID);
    std::vector<API_Guid> list;
    EXPECT_EQ(db.GetElemList(API_HatchID, &list), NoError);
    EXPECT_EQ(list.size(), 1u);
    API_ElementMemo memo = {};
    EXPECT_EQ(db.GetMemo(g, &memo, APIMemoMask_All), APIERR_BADDATABASE);
    API_ElementUserData ud = {};
    EXPECT_EQ(db.GetUserData(e.header, &ud), APIERR_BADDATABASE);
    EXPECT_EQ(db.RunUndoableCommand("in 3D",
                                    [&] {
                                        StoredMemo m;
                                        API_Element f = Fill(&m);
                                        EXPECT_EQ(CreateFill(&f, m), APIERR_BADDATABASE);
                                        EXPECT_EQ(db.SetUserData(e.header, ud), APIERR_BADDATABASE);
                                        return db.DeleteElements(&g, 1);
                                    }),
              APIERR_BADDATABASE);

    API_DatabaseInfo plan = {};
    plan.typeID = APIWind_FloorPlanID;
    ASSERT_EQ(db.ChangeDatabase(plan), NoError);
    EXPECT_EQ(db.FrontWindowType(), APIWind_3DModelID);  // the window stays
    EXPECT_EQ(db.GetMemo(g, &memo, APIMemoMask_All), NoError);
    DisposeApiMemo(&memo);
}

TEST_F(ProjectDatabaseTest, LockedLayersRefuseChangesAndHiddenOnesRefuseSelection) {
    const int32_t layer = AddLayer("Locked", 0);
    API_Guid g = {};
    ASSERT_EQ(db.PlaceHotspot({1, 2}, layer, "H", &g), NoError);
    SetLayerFlags(layer, APILay_Locked);
    EXPECT_EQ(db.RunUndoableCommand("x", [&] { return db.DeleteElements(&g, 1); }), APIERR_LOCKEDLAYER);
    EXPECT_EQ(db.PlaceHotspot({1, 2}, layer, "H2", nullptr), APIERR_LOCKEDLAYER);
    EXPECT_TRUE(db.Filter(g, 0));
    EXPECT_FALSE(db.Filter(g, APIFilt_IsEditable));

    API_Neig n = {};
    n.neigID = APINeig_Hot;
    n.guid = g;
    ASSERT_EQ(db.Select(&n, 1, false), NoError);
    API_SelectionInfo info = {};
    std::vector<API_Neig> neigs;
    EXPECT_EQ(db.GetSelection(&info, &neigs, true), NoError);
    EXPECT_EQ(info.sel_nElem, 1);
    EXPECT_EQ(info.sel_nElemEdit, 0);
    EXPECT_TRUE(neigs.empty());
    GSHandle marquee = reinterpret_cast<GSHandle>(info.marquee);
    BMKillHandle(&marquee);

    SetLayerFlags(layer, APILay_Hidden);
    EXPECT_TRUE(db.Selection().empty());  // hidden: no longer selected
    ASSERT_EQ(db.Select(&n, 1, false), NoError);
    EXPECT_TRUE(db.Selection().empty());  // and cannot be selected
    SetLayerFlags(layer, 0);
    EXPECT_EQ(db.RunUndoableCommand("x", [&] { return db.DeleteElements(&g, 1); }), NoError);
}

TEST_F(ProjectDatabaseTest, SelectionRecordsMustMatchTheElementAndEmptySelectionsAnswerBothWays) {
    const API_Guid g = PlaceFill("F");
    API_Neig n = {};
    n.neigID = APINeig_Hot;  // not a fill's record
    n.guid = g;
    EXPECT_EQ(db.Select(&n, 1, false), APIERR_BADNEIG);
    n.guid.time_low = 0xDEAD;
    n.neigID = APINeig_Hatch;
    EXPECT_EQ(db.Select(&n, 1, false), APIERR_BADID);
    EXPECT_EQ(db.Select(&n, -1, false), APIERR_BADPARS);

    const int64_t handles = MemoryDriver::LiveHandleCount();
    API_SelectionInfo info = {};
    std::vector<API_Neig> neigs;
    EXPECT_EQ(db.GetSelection(&info, &neigs, false), APIERR_NOSEL);
    EXPECT_EQ(info.typeID, API_SelEmpty);
    ASSERT_NE(info.marquee, nullptr);
    GSHandle marquee = reinterpret_cast<GSHandle>(info.marquee);
    BMKillHandle(&marquee);
    db.emptySelectionIsError = false;
    EXPECT_EQ(db.GetSelection(&info, &neigs, false), NoError);
    EXPECT_EQ(info.typeID, API_SelEmpty);
    marquee = reinterpret_cast<GSHandle>(info.marquee);
    BMKillHandle(&marquee);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);

    // Adding keeps the order and does not repeat.
    const API_Guid h = PlaceFill("G");
    API_Neig both[2] = {{APINeig_Hatch, 0, h, 0, 0, 0, {}}, {APINeig_Hatch, 0, g, 0, 0, 0, {}}};
    ASSERT_EQ(db.Select(both, 2, false), NoError);
    ASSERT_EQ(db.Select(both + 1, 1, true), NoError);
    ASSERT_EQ(db.Selection().size(), 2u);
    EXPECT_EQ(db.Selection()[0], h);
}

TEST_F(ProjectDatabaseTest, MemosRoundTripWithParameterArraysAndLeaveNoHandles) {
    const int64_t handles = MemoryDriver::LiveHandleCount();
    StoredMemo memo;
    StoredParam a = {};
    std::strcpy(a.record.name, "A");
    a.record.typeID = 1;
    a.record.value.real = 2.5;
    StoredParam t = {};
    std::strcpy(t.record.name, "operatore");
    t.record.typeID = APIParT_Text;
    std::u16string text = u"result";
    std::copy(text.begin(), text.end(), t.record.value.uStr);
    StoredParam arr = {};
    std::strcpy(arr.record.name, "ostacolo");
    arr.record.typeID = 1;
    arr.record.dim1 = 2;
    arr.record.dim2 = 2;
    const double cells[4] = {1, 2, 3, 4};
    arr.cells.assign(reinterpret_cast<const char*>(cells), sizeof cells);
    StoredParam texts = {};
    std::strcpy(texts.record.name, "identificatori");
    texts.record.typeID = APIParT_Text;
    texts.record.dim1 = 1;
    texts.record.dim2 = 2;
    const char16_t cellTexts[] = u"ab\0\0";  // "ab" and an empty cell
    texts.cells.assign(reinterpret_cast<const char*>(cellTexts), 8);
    memo.params = std::vector<StoredParam>{a, t, arr, texts};
    memo.elemInfoString = u"VY30 Slab";
    memo.meshPolyZ = std::vector<double>{0, 1};

    API_ElementMemo api = {};
    ASSERT_EQ(WriteApiMemo(memo, APIMemoMask_All, &api), NoError);
    ASSERT_NE(api.params, nullptr);
    EXPECT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(api.params)), 4 * 1600);
    EXPECT_EQ(BMGetHandleSize((*api.params)[2].value.array), 32);
    EXPECT_EQ(api.coords, nullptr);  // absent parts stay null
    const StoredMemo back = ReadApiMemo(api, APIMemoMask_All);
    ASSERT_TRUE(back.params.has_value());
    EXPECT_EQ((*back.params)[2].cells, arr.cells);
    EXPECT_EQ((*back.params)[3].cells, texts.cells);
    EXPECT_EQ(*back.elemInfoString, u"VY30 Slab");
    const StoredMemo onlyPars = ReadApiMemo(api, APIMemoMask_AddPars);
    EXPECT_FALSE(onlyPars.meshPolyZ.has_value());
    DisposeApiMemo(&api);
    EXPECT_EQ(api.params, nullptr);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);

    // An allocation failing halfway gives nothing and leaks nothing.
    for (int64_t after = 0; after < 4; ++after) {  // the four handles this memo needs
        MemoryDriver::ScopedReset reset;
        MemoryDriver::FailAllocationsAfter(after);
        API_ElementMemo partial = {};
        EXPECT_EQ(WriteApiMemo(memo, APIMemoMask_All, &partial), APIERR_MEMFULL) << after;
        MemoryDriver::Reset();
        EXPECT_EQ(partial.params, nullptr);
        EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles) << after;
    }
}

TEST_F(ProjectDatabaseTest, PolygonsMustAgreeWithTheirMemo) {
    struct Case {
        const char* what;
        std::function<void(API_Element&, StoredMemo&)> spoil;
    };
    const Case cases[] = {
        {"no coordinates", [](API_Element&, StoredMemo& m) { m.coords.reset(); }},
        {"too few contour ends", [](API_Element& e, StoredMemo&) { e.hatch.poly.nSubPolys = 2; }},
        {"last end is not nCoords", [](API_Element&, StoredMemo& m) { (*m.pends)[1] = 4; }},
        {"arcs missing", [](API_Element& e, StoredMemo&) { e.hatch.poly.nArcs = 1; }},
        {"arc out of range",
         [](API_Element& e, StoredMemo& m) {
             e.hatch.poly.nArcs = 1;
             m.parcs = std::vector<API_PolyArc>{{5, 6, 1.0}};
         }},
        {"one coordinate",
         [](API_Element& e, StoredMemo& m) {
             e.hatch.poly.nCoords = 1;
             (*m.pends)[1] = 1;
         }},
    };
    for (const Case& c : cases) {
        StoredMemo memo;
        API_Element e = Fill(&memo);
        c.spoil(e, memo);
        EXPECT_EQ(db.RunUndoableCommand("x", [&] { return CreateFill(&e, memo); }), APIERR_BADPOLY) << c.what;
    }
    // A slab with a hole: contours end at 5 and 10.
    API_Element slab = {};
    slab.header.typeID = API_SlabID;
    ASSERT_EQ(db.GetDefaults(&slab, nullptr), NoError);
    slab.slab.poly = {10, 2, 0, 0};
    StoredMemo memo;
    memo.coords = std::vector<API_Coord>(11, API_Coord{0, 0});
    memo.pends = std::vector<int32_t>{0, 5, 10};
    EXPECT_EQ(db.PlaceElement(&slab, memo, "slab", "slab"), NoError);
    EXPECT_TRUE(db.AllElements().size() == 1);
    EXPECT_TRUE(db.UndoTexts().size() == 1);
}

TEST_F(ProjectDatabaseTest, UserDataIsCopiedInAndHandedOutAnew) {
    const API_Guid g = PlaceFill("F");
    API_Elem_Head head = {};
    head.guid = g;
    API_ElementUserData none = {};
    ASSERT_EQ(db.GetUserData(head, &none), NoError);
    EXPECT_EQ(none.dataHdl, nullptr);
    EXPECT_EQ(none.dataVersion, 0);

    GSHandle mine = BMAllocateHandle(650, ALLOCATE_CLEAR, 0);
    std::memcpy(*mine, "51234.5", 7);
    const API_ElementUserData ud = {2, APIUserData_PlatformSign, 0, mine};
    ASSERT_EQ(db.RunUndoableCommand("ud", [&] { return db.SetUserData(head, ud); }), NoError);
    (*mine)[0] = 'X';  // the host keeps its own copy
    API_ElementUserData got = {};
    ASSERT_EQ(db.GetUserData(head, &got), NoError);
    ASSERT_NE(got.dataHdl, nullptr);
    EXPECT_NE(got.dataHdl, mine);
    EXPECT_EQ(BMGetHandleSize(got.dataHdl), 650);
    EXPECT_EQ((*got.dataHdl)[0], '5');
    uint32_t word;
    std::memcpy(&word, &got, 4);
    EXPECT_EQ(word, 0x57570002u);
    BMKillHandle(&got.dataHdl);
    BMKillHandle(&mine);

    ASSERT_EQ(db.RunUndoableCommand("del", [&] { return db.DeleteUserData(head); }), NoError);
    EXPECT_FALSE(db.Find(g)->userData.has_value());
    EXPECT_EQ(db.Find(g)->record.header.userDataVersion, 0);
    head.guid.time_low = 0xBAD;
    EXPECT_EQ(db.GetUserData(head, &got), APIERR_BADID);
}

TEST_F(ProjectDatabaseTest, ChangeMasksWriteWholeHeadFieldsAndNeverTheIdentity) {
    const API_Guid g = PlaceFill("F");
    const int32_t layer = AddLayer("Other", 0);
    API_Element e = db.Find(g)->record;
    API_Element mask = {};
    std::memset(mask.bytes, 0xFF, sizeof mask.bytes);  // everything
    e.header.typeID = API_LineID;
    e.header.userDataVersion = 9;
    e.header.layer = layer;
    e.header.drwIndex = 0x1234;
    e.hatch.fillInd = 3;
    ASSERT_EQ(db.RunUndoableCommand("c", [&] { return db.ChangeElement(&e, &mask, nullptr, 0); }), NoError);
    const API_Element now = db.Find(g)->record.Get();
    EXPECT_EQ(now.header.typeID, API_HatchID);
    EXPECT_EQ(now.header.userDataVersion, 0);
    EXPECT_EQ(now.header.layer, layer);
    EXPECT_EQ(now.hatch.fillInd, 3);

    // A 16-bit head field marked by its first byte alone is written whole.
    std::memset(mask.bytes, 0, sizeof mask.bytes);
    mask.bytes[offsetof(API_Elem_Head, drwIndex)] = 0xFF;
    e = now;
    e.header.drwIndex = 0x0A0B;
    ASSERT_EQ(db.RunUndoableCommand("c", [&] { return db.ChangeElement(&e, &mask, nullptr, 0); }), NoError);
    EXPECT_EQ(db.Find(g)->record.header.drwIndex, 0x0A0B);

    // A layer that does not exist is refused and nothing changes.
    e.header.layer = 99;
    std::memset(mask.bytes, 0, sizeof mask.bytes);
    mask.header.layer = -1;
    EXPECT_EQ(db.RunUndoableCommand("c", [&] { return db.ChangeElement(&e, &mask, nullptr, 0); }), APIERR_BADINDEX);
    EXPECT_EQ(db.Find(g)->record.header.layer, layer);
}

TEST_F(ProjectDatabaseTest, ChangeParametersChecksEveryElementBeforeChangingAny) {
    const API_Guid a = PlaceFill("A");
    API_Guid ids[2] = {a, a};
    ids[1].time_low = 0xBAD;
    StoredMemo memo;
    memo.elemInfoString = u"new";
    API_ElementMemo api = {};
    ASSERT_EQ(WriteApiMemo(memo, APIMemoMask_All, &api), NoError);
    EXPECT_EQ(db.RunUndoableCommand("p", [&] { return db.ChangeParameters(ids, 2, nullptr, &api, nullptr); }),
              APIERR_BADID);
    EXPECT_FALSE(db.Find(a)->memo->elemInfoString.has_value());
    EXPECT_EQ(db.RunUndoableCommand("p", [&] { return db.ChangeParameters(ids, 1, nullptr, &api, nullptr); }), NoError);
    EXPECT_EQ(*db.Find(a)->memo->elemInfoString, u"new");
    EXPECT_TRUE(db.Find(a)->memo->coords.has_value());  // parts the memo lacks stay
    DisposeApiMemo(&api);
}

TEST_F(ProjectDatabaseTest, AttributesAreFoundByNameAndNamesStayUnique) {
    const int32_t idx = AddLayer("VY_Operators", 17);
    API_Attribute a = {};
    a.header.typeID = API_LayerID;
    std::strcpy(a.header.name, "VY_Operators");
    EXPECT_EQ(db.CreateAttribute(&a), APIERR_ATTREXIST);
    EXPECT_EQ(a.header.index, idx);  // so that it can be modified instead
    a.header.flags = 2;
    ASSERT_EQ(db.ModifyAttribute(&a), NoError);
    API_Attribute read = {};
    read.header.typeID = API_LayerID;
    std::strcpy(read.header.name, "VY_Operators");
    ASSERT_EQ(db.GetAttribute(&read), NoError);
    EXPECT_EQ(read.header.index, idx);
    EXPECT_EQ(read.header.flags, 2u);

    const int32_t other = AddLayer("Other", 0);
    read.header.index = other;
    EXPECT_EQ(db.ModifyAttribute(&read), APIERR_ATTREXIST);  // renaming onto a used name
    read.header.index = 0;
    std::strcpy(read.header.name, "nope");
    EXPECT_EQ(db.GetAttribute(&read), APIERR_BADINDEX);
    read.header.typeID = 0;
    EXPECT_EQ(db.GetAttribute(&read), APIERR_BADPARS);

    API_Attribute font = {};
    font.header.typeID = API_FontID;
    font.header.index = 1;
    ASSERT_EQ(db.GetAttribute(&font), NoError);
    EXPECT_STREQ(font.header.name, "Arial");
}

// Over seeded runs of creates, renames, deletes and undos, the search by name finds what a look at every layer
// finds: the live layer of that name, or none.
TEST_F(ProjectDatabaseTest, TheSearchByNameFollowsCreatesRenamesDeletesAndUndos) {
    std::mt19937 rng(53);
    const auto name = [&] { return "L" + std::to_string(rng() % 40); };
    const auto byLook = [&](const std::string& wanted) {
        int32_t count = 0;
        EXPECT_EQ(db.GetAttributeNum(API_LayerID, &count), NoError);
        for (int32_t i = 1; i <= count; ++i) {
            API_Attribute a = {};
            a.header.typeID = API_LayerID;
            a.header.index = i;
            if (db.GetAttribute(&a) == NoError && wanted == a.header.name) return i;
        }
        return 0;
    };
    for (int step = 0; step < 600; ++step) {
        int32_t count = 0;
        ASSERT_EQ(db.GetAttributeNum(API_LayerID, &count), NoError);
        const int32_t index = 2 + int32_t(rng() % uint32_t(count + 1));
        switch (rng() % 4) {
            case 0: {
                // A name in use is refused: the search must still find the one layer of that name.
                API_Attribute a = {};
                a.header.typeID = API_LayerID;
                const std::string made = name();
                std::strncpy(a.header.name, made.c_str(), sizeof a.header.name - 1);
                db.CreateAttribute(&a);
                break;
            }
            case 1: {
                API_Attribute a = {};
                a.header.typeID = API_LayerID;
                a.header.index = index;
                if (db.GetAttribute(&a) != NoError) break;
                const std::string to = name();
                std::memset(a.header.name, 0, sizeof a.header.name);
                std::strncpy(a.header.name, to.c_str(), sizeof a.header.name - 1);
                db.RunUndoableCommand("rename", [&] { return db.ModifyAttribute(&a); });
                break;
            }
            case 2: {
                API_Attr_Head head = {};
                head.typeID = API_LayerID;
                head.index = index;
                db.RunUndoableCommand("delete", [&] { return db.DeleteAttribute(head); });
                break;
            }
            default: db.Undo(); break;
        }
        for (int k = 0; k < 40; ++k) {
            const std::string wanted = "L" + std::to_string(k);
            ASSERT_EQ(db.FindAttribute(API_LayerID, wanted), byLook(wanted)) << "step " << step << " " << wanted;
        }
    }
}

TEST_F(ProjectDatabaseTest, DeletingALayerTakesItsElementsAndNeedsACommandForThem) {
    const int32_t layer = AddLayer("Lodrava Hidden", 0);
    ASSERT_EQ(db.PlaceHotspot({0, 0}, layer, "H", nullptr), NoError);
    API_Attr_Head head = {};
    head.typeID = API_LayerID;
    head.index = layer;
    EXPECT_EQ(db.DeleteAttribute(head), APIERR_NEEDSUNDOSCOPE);
    ASSERT_EQ(db.RunUndoableCommand("del", [&] { return db.DeleteAttribute(head); }), NoError);
    EXPECT_TRUE(db.AllElements().empty());
    EXPECT_EQ(db.FindAttribute(API_LayerID, "Lodrava Hidden"), 0);
    head.index = 1;
    EXPECT_EQ(db.DeleteAttribute(head), APIERR_BADPARS);
    ASSERT_TRUE(db.Undo());
    EXPECT_EQ(db.AllElements().size(), 1u);
    EXPECT_EQ(db.FindAttribute(API_LayerID, "Lodrava Hidden"), layer);
}

TEST_F(ProjectDatabaseTest, StoriesAreListedAndChosenByIndex) {
    db.SetStory(1, 3.5, "First");
    db.SetStory(-1, -3.0, "Cellar");
    API_StoryInfo info = {};
    ASSERT_EQ(db.GetStories(&info), NoError);
    EXPECT_EQ(info.firstStory, -1);
    EXPECT_EQ(info.lastStory, 1);
    ASSERT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(info.data)), GSSize(3 * sizeof(API_StoryType)));
    EXPECT_EQ((*info.data)[2].level, 3.5);
    GSHandle h = reinterpret_cast<GSHandle>(info.data);
    BMKillHandle(&h);
    EXPECT_EQ(db.GoToStory(5), APIERR_BADINDEX);
    ASSERT_EQ(db.GoToStory(1), NoError);
    API_Element e = {};
    e.header.typeID = API_HotspotID;
    ASSERT_EQ(db.GetDefaults(&e, nullptr), NoError);
    EXPECT_EQ(e.header.floorInd, 1);  // defaults are on the current story
    e.header.floorInd = 7;
    EXPECT_EQ(db.PlaceElement(&e, StoredMemo(), "", "h"), APIERR_BADINDEX);
}

TEST_F(ProjectDatabaseTest, MarkersOwnDatabasesThatTheirDeletionRemoves) {
    API_Element marker = {};
    marker.header.typeID = API_CutPlaneID;
    ASSERT_EQ(db.GetDefaults(&marker, nullptr), NoError);
    ASSERT_EQ(db.PlaceElement(&marker, StoredMemo(), "S", "marker"), NoError);
    const API_Guid dbId = marker.cutPlane.databaseUnId;
    ASSERT_NE(db.Database(dbId), nullptr);
    EXPECT_EQ(db.Database(dbId)->info.typeID, APIWind_SectionID);

    API_DatabaseInfo section = {};
    section.typeID = APIWind_SectionID;
    section.databaseUnId = dbId;
    ASSERT_EQ(db.ChangeDatabase(section), NoError);
    ASSERT_EQ(db.PlaceHotspot({0, 0}, 1, "inSection", nullptr), NoError);
    std::vector<API_Guid> here;
    db.GetElemList(API_ZombieElemID, &here);
    EXPECT_EQ(here.size(), 1u);  // only the section's own element
    API_Element plan = {};
    plan.header.guid = marker.header.guid;
    EXPECT_EQ(db.GetElement(&plan), APIERR_BADID);  // floor-plan elements are not here

    section.databaseUnId.time_low ^= 1;
    EXPECT_EQ(db.ChangeDatabase(section), APIERR_BADWINDOW);
    API_DatabaseInfo floor = {};
    floor.typeID = APIWind_FloorPlanID;
    ASSERT_EQ(db.ChangeDatabase(floor), NoError);
    ASSERT_EQ(db.RunUndoableCommand("d", [&] { return db.DeleteElements(&marker.header.guid, 1); }), NoError);
    EXPECT_EQ(db.Database(dbId), nullptr);
    EXPECT_TRUE(db.AllElements().empty());
}

TEST_F(ProjectDatabaseTest, DefaultsCanBeChangedByMask) {
    API_Element e = {};
    e.header.typeID = API_ObjectID;
    API_ElementMemo memo = {};
    ASSERT_EQ(db.GetDefaults(&e, &memo), NoError);
    EXPECT_EQ(memo.params, nullptr);
    e.object.libInd = 12;
    e.object.pen = 9;
    API_Element mask = {};
    mask.object.libInd = -1;
    StoredMemo defaults;
    defaults.params = std::vector<StoredParam>(2);
    API_ElementMemo api = {};
    ASSERT_EQ(WriteApiMemo(defaults, APIMemoMask_All, &api), NoError);
    ASSERT_EQ(db.ChangeDefaults(e, &api, &mask), NoError);
    DisposeApiMemo(&api);
    API_Element again = {};
    again.header.typeID = API_ObjectID;
    ASSERT_EQ(db.GetDefaults(&again, &memo), NoError);
    EXPECT_EQ(again.object.libInd, 12);
    EXPECT_EQ(again.object.pen, 1);  // not marked
    EXPECT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.params)), 2 * 1600);
    DisposeApiMemo(&memo);
    again.header.typeID = 78;
    EXPECT_EQ(db.GetDefaults(&again, nullptr), APIERR_BADELEMTYPE);
}

TEST_F(ProjectDatabaseTest, ObjectsNeedALibraryPartAndGetItsDefaultParameters) {
    API_Element obj = {};
    obj.header.typeID = API_ObjectID;
    ASSERT_EQ(db.GetDefaults(&obj, nullptr), NoError);
    EXPECT_EQ(db.PlaceElement(&obj, StoredMemo(), "O", "o"), APIERR_BADINDEX);  // libInd 0
    db.libPartExists = [](int32_t libInd) { return libInd == 3; };
    db.libPartDefaults = [](int32_t, std::vector<StoredParam>* params) {
        StoredParam p = {};
        std::strcpy(p.record.name, "A");
        p.record.value.real = 1.5;
        params->push_back(p);
        return true;
    };
    db.libPartName = [](int32_t) { return std::string("VY_ROAD"); };
    obj.object.libInd = 4;
    EXPECT_EQ(db.PlaceElement(&obj, StoredMemo(), "O", "o"), APIERR_BADINDEX);
    obj.object.libInd = 3;
    ASSERT_EQ(db.PlaceElement(&obj, StoredMemo(), "O", "o"), NoError);
    const nlohmann::ordered_json j = db.ToJson();
    EXPECT_EQ(j["elements"][0]["libPart"], "VY_ROAD");
    EXPECT_EQ(j["elements"][0]["parameters"][0]["value"], 1.5);
}

TEST_F(ProjectDatabaseTest, TheDumpShowsElementsParametersAndUserDataTexts) {
    db.libPartExists = nullptr;
    API_Element obj = {};
    obj.header.typeID = API_ObjectID;
    ASSERT_EQ(db.GetDefaults(&obj, nullptr), NoError);
    obj.object.libInd = 1;
    obj.object.pos = {10, 20};
    StoredMemo memo;
    StoredParam arr = {};
    std::strcpy(arr.record.name, "perimetro_base");
    arr.record.typeID = 1;
    arr.record.dim1 = 2;
    arr.record.dim2 = 3;
    const double cells[5] = {1, 2, 3, 4, 5};  // one cell short
    arr.cells.assign(reinterpret_cast<const char*>(cells), sizeof cells);
    StoredParam txt = {};
    std::strcpy(txt.record.name, "operatore");
    txt.record.typeID = APIParT_Text;
    std::u16string cut = u"cut";
    std::copy(cut.begin(), cut.end(), txt.record.value.uStr);
    memo.params = std::vector<StoredParam>{arr, txt};
    ASSERT_EQ(db.PlaceElement(&obj, memo, "Road", "road"), NoError);
    API_Elem_Head head = obj.header;
    std::string bytes(650, '\0');
    bytes.replace(0, 4, "5Ab1");
    bytes.replace(53, 3,
                  "\xE6"
                  "xy");  // system code page text
    GSHandle h = BMAllocateHandle(650, 0, 0);
    std::memcpy(*h, bytes.data(), 650);
    ASSERT_EQ(db.RunUndoableCommand("ud",
                                    [&] {
                                        return db.SetUserData(head, {2, APIUserData_PlatformSign, 0, h});
                                    }),
              NoError);
    BMKillHandle(&h);

    const nlohmann::ordered_json j = db.ToJson();
    const auto& e = j["elements"][0];
    EXPECT_EQ(e["name"], "Road");
    EXPECT_EQ(e["type"], "object");
    EXPECT_EQ(e["record"]["pos"][1], 20.0);
    EXPECT_EQ(e["parameters"][0]["dims"], nlohmann::ordered_json::array({2, 3}));
    EXPECT_EQ(e["parameters"][0]["value"][1][1], 5.0);
    EXPECT_TRUE(e["parameters"][0]["value"][1][2].is_null());
    EXPECT_EQ(e["parameters"][1]["value"], "cut");
    EXPECT_EQ(e["userData"]["version"], 2);
    EXPECT_EQ(e["userData"]["size"], 650);
    EXPECT_EQ(e["userData"]["texts"][0]["text"], "5Ab1");
    EXPECT_EQ(e["userData"]["texts"][1]["offset"], 53);
    EXPECT_EQ(e["userData"]["texts"][1]["text"], "\xC3\xA6xy");
    EXPECT_EQ(j["undoSteps"].size(), 2u);
    const std::string text = db.DumpJson();
    EXPECT_EQ(nlohmann::ordered_json::parse(text), j);  // the pretty form is the same JSON
}

TEST(ProjectGuids, KeysOrderAsTheirBytes) {
    std::srand(3);
    for (int i = 0; i < 20000; ++i) {
        API_Guid a, b;
        uint8_t* pa = reinterpret_cast<uint8_t*>(&a);
        uint8_t* pb = reinterpret_cast<uint8_t*>(&b);
        for (size_t k = 0; k < sizeof a; ++k) {
            pa[k] = uint8_t(std::rand() % 4);  // few values: long equal runs
            pb[k] = i % 3 == 0 ? pa[k] : uint8_t(std::rand() % 4);
        }
        if (i % 5 == 0) pb[std::rand() % 16] = pa[0];
        ASSERT_EQ(GuidLess()(a, b), std::memcmp(&a, &b, sizeof a) < 0);
        ASSERT_EQ(GuidLess()(b, a), std::memcmp(&b, &a, sizeof a) < 0);
    }
}

TEST(ProjectGuids, TextRoundTripAndBadTexts) {
    API_Guid g = {0x01234567, 0x89AB, 0xCDEF, {0x01, 0x23}, {0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
    EXPECT_EQ(GuidText(g), "01234567-89AB-CDEF-0123-456789ABCDEF");
    API_Guid back = {};
    ASSERT_TRUE(ParseGuidText("01234567-89ab-cdef-0123-456789abcdef", &back));
    EXPECT_EQ(back, g);
    for (const char* bad : {"", "01234567-89AB-CDEF-0123-456789ABCDE", "01234567+89AB-CDEF-0123-456789ABCDEF",
                            "0123456G-89AB-CDEF-0123-456789ABCDEF"})
        EXPECT_FALSE(ParseGuidText(bad, &back)) << bad;
}

// Random commands that create, change and delete fills: undoing them one by one gives back every earlier project
// exactly, and the steps keep only the elements their commands touched.
TEST_F(ProjectDatabaseTest, UndoGivesBackEveryEarlierProjectAndKeepsOnlyWhatChanged) {
    std::vector<API_Guid> placed;
    for (int i = 0; i < 200; ++i) placed.push_back(PlaceFill("base" + std::to_string(i)));
    const size_t baseStates = db.UndoElementStates();
    EXPECT_EQ(baseStates, 200u);  // one per creation

    std::srand(7);
    std::vector<std::string> states{db.DumpJson()};
    size_t touched = 0;
    for (int step = 0; step < 40; ++step) {
        const int what = std::rand() % 3;
        std::vector<API_Guid> live;
        for (const API_Guid& g : placed)
            if (db.Find(g) != nullptr) live.push_back(g);
        ASSERT_FALSE(live.empty());
        const API_Guid g = live[size_t(std::rand()) % live.size()];
        const GSErrCode err = db.RunUndoableCommand("step", [&]() {
            if (what == 0) {
                StoredMemo memo;
                API_Element e = Fill(&memo, 1.0 + step);
                const GSErrCode c = CreateFill(&e, memo);
                placed.push_back(e.header.guid);
                return c;
            }
            if (what == 1) return db.DeleteElements(&g, 1);
            API_Element e = {};
            e.header.guid = g;
            e.hatch.fillPen = int16_t(10 + step);
            API_Element mask = {};
            mask.hatch.fillPen = -1;
            return db.ChangeElement(&e, &mask, nullptr, 0);
        });
        ASSERT_EQ(err, NoError);
        ++touched;
        states.push_back(db.DumpJson());
    }
    EXPECT_EQ(db.UndoElementStates(), baseStates + touched);
    for (size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(db.Undo());
        // The dump holds the undo texts too: compare the projects without them.
        nlohmann::ordered_json now = nlohmann::ordered_json::parse(db.DumpJson());
        nlohmann::ordered_json then = nlohmann::ordered_json::parse(states[i - 1]);
        now.erase("undoSteps");
        then.erase("undoSteps");
        ASSERT_EQ(now, then) << "after undoing step " << i;
    }
}

TEST_F(ProjectDatabaseTest, ListsKeepCreationOrderThroughDeletionsAndUndo) {
    // The lists as a walk over every element sorts them: by creation serial, of a type, seen here.
    const auto expected = [&](API_ElemTypeID type) {
        std::vector<std::pair<uint64_t, API_Guid>> all;
        for (const auto& kv : db.Model().elements)
            if (type == API_ZombieElemID || kv.second.record.header.typeID == type)
                all.push_back({kv.second.serial, kv.first});
        std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<API_Guid> out;
        for (const auto& a : all) out.push_back(a.second);
        return out;
    };
    std::srand(11);
    std::vector<API_Guid> placed;
    for (int step = 0; step < 300; ++step) {
        const int what = std::rand() % 4;
        if (what == 3 && !db.UndoTexts().empty()) {
            ASSERT_TRUE(db.Undo());
        } else if (what == 2) {
            std::vector<API_Guid> live;
            for (const API_Guid& g : placed)
                if (db.Find(g) != nullptr) live.push_back(g);
            if (live.empty()) continue;
            // Several at once, some named twice.
            std::vector<API_Guid> gone;
            for (int k = 0; k < 3; ++k) gone.push_back(live[size_t(std::rand()) % live.size()]);
            ASSERT_EQ(db.RunUndoableCommand("step", [&]() { return db.DeleteElements(gone.data(), 3); }), NoError);
        } else {
            API_Guid g = {};
            ASSERT_EQ(what == 0
                          ? db.PlaceHotspot({double(step), 0.0}, 1, "", &g)
                          : db.PlacePolygonElement(API_HatchID, {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}}, true, 1, "", &g),
                      NoError);
            placed.push_back(g);
        }
        ASSERT_EQ(db.AllElements(), expected(API_ZombieElemID)) << "step " << step;
        for (API_ElemTypeID type : {API_ZombieElemID, API_HotspotID, API_HatchID, API_MeshID}) {
            std::vector<API_Guid> listed;
            ASSERT_EQ(db.GetElemList(type, &listed), NoError);
            ASSERT_EQ(listed, expected(type)) << "step " << step << ", type " << type;
        }
    }
}

TEST_F(ProjectDatabaseTest, AChangeThatChangesNothingKeepsNoUndoState) {
    std::vector<API_Guid> placed;
    for (int i = 0; i < 20; ++i) placed.push_back(PlaceFill("same" + std::to_string(i)));
    const size_t states = db.UndoElementStates();
    const GSErrCode err = db.RunUndoableCommand("rewrite", [&]() {
        for (const API_Guid& g : placed) {
            API_Element e = {};
            e.header.guid = g;
            e.hatch.fillPen = db.Find(g)->record.Get().hatch.fillPen;
            API_Element mask = {};
            mask.hatch.fillPen = -1;
            const GSErrCode c = db.ChangeElement(&e, &mask, nullptr, 0);
            if (c != NoError) return c;
        }
        return db.ChangeParameters(placed.data(), uint32_t(placed.size()), nullptr, nullptr, nullptr);
    });
    EXPECT_EQ(err, NoError);
    EXPECT_EQ(db.UndoElementStates(), states);
    EXPECT_EQ(db.UndoTexts().size(), placed.size());  // no step for a command that changed nothing
}

// Elements named, renamed, unnamed, deleted, changed and brought back by undo in a random order: finding by name,
// the names held and the count of each type agree at every step with a walk of every element (the first in GUID
// order of those sharing a name), and a name one element gave up is found again on another that carries it.
TEST_F(ProjectDatabaseTest, NamesFollowEveryChangeOfTheElementsThatCarryThem) {
    std::mt19937 rng(17);
    const std::vector<std::string> pool = {"A", "B", "C", "D", ""};
    std::vector<API_Guid> placed;
    const auto check = [&](int step) {
        SCOPED_TRACE(step);
        std::set<std::string> walked;
        for (const auto& kv : db.Model().elements)
            if (!kv.second.name.empty()) walked.insert(kv.second.name);
        EXPECT_EQ(db.NamesNow(), walked);
        std::map<API_ElemTypeID, int64_t> counted;
        for (const auto& kv : db.Model().elements) ++counted[kv.second.record.header.typeID];
        EXPECT_EQ(db.Model().elements.CountByType(), counted);
        for (const std::string& name : pool) {
            const API_Guid* first = nullptr;
            for (const auto& kv : db.Model().elements)
                if (!name.empty() && kv.second.name == name && (first == nullptr || GuidLess()(kv.first, *first)))
                    first = &kv.first;
            API_Guid found = {};
            ASSERT_EQ(db.FindByName(name, &found), first != nullptr) << name;
            if (first != nullptr) {
                EXPECT_EQ(found, *first) << name;
            }
        }
    };
    for (int step = 0; step < 300; ++step) {
        const std::string name = pool[rng() % pool.size()];
        const API_Guid some = placed.empty() ? API_Guid() : placed[rng() % placed.size()];
        switch (rng() % 5) {
            case 0: {  // a new fill or polyline, named when no other element has the name
                API_Guid g = {};
                const bool fill = rng() % 2 == 0;
                if (db.PlacePolygonElement(fill ? API_HatchID : API_PolyLineID, {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}}, fill,
                                           1, name, &g) == NoError)
                    placed.push_back(g);
                break;
            }
            case 1:  // a name given (names may repeat this way), or taken away
                db.SetElementName(some, name);
                break;
            case 2: db.RunUndoableCommand("delete", [&] { return db.DeleteElements(&some, 1); }); break;
            case 3: {  // an edit of the element keeps its name
                db.RunUndoableCommand("move", [&] {
                    const StoredElement* e = db.Find(some);
                    if (e == nullptr) return APIERR_BADID;
                    API_Element rec = e->record.Get();
                    rec.header.layer = 1;
                    API_Element mask = {};
                    std::memset(static_cast<void*>(&mask.header.layer), 0xFF, sizeof mask.header.layer);
                    return db.ChangeElement(&rec, &mask, nullptr, 0);
                });
                break;
            }
            default: db.Undo();
        }
        check(step);
    }
}

// Renames inside commands that stand or are taken back, deletes of several elements, undos and resets in a seeded
// random order: the names found by name agree with a scan of every element after each step, and every name an undo
// gives back was among the names the project offered before it (what a script may already use).
TEST_F(ProjectDatabaseTest, TheNamesFoundAgreeWithAScanThroughCommandsUndosAndResets) {
    std::mt19937 rng(91);
    const auto some = [&] {
        const std::vector<API_Guid> all = db.AllElements();
        return all.empty() ? API_Guid() : all[rng() % all.size()];
    };
    const auto scan = [&] {
        std::map<std::string, API_Guid> first;
        for (const auto& kv : db.Model().elements) {
            if (kv.second.name.empty()) continue;
            const auto it = first.find(kv.second.name);
            if (it == first.end() || GuidLess()(kv.first, it->second)) first[kv.second.name] = kv.first;
        }
        return first;
    };
    int undone = 0, resets = 0, takenBack = 0;
    for (int step = 0; step < 400; ++step) {
        SCOPED_TRACE(step);
        const std::string name = rng() % 6 == 0 ? "" : "N" + std::to_string(rng() % 12);
        const std::set<std::string> offered = db.ElementNames();
        switch (rng() % 8) {
            case 0:
            case 1: {
                API_Guid g = {};
                db.PlacePolygonElement(API_HatchID, {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}}, true, 1, name, &g);
                break;
            }
            case 2:  // a name given as a script gives it, outside any command
                db.SetElementName(some(), name);
                break;
            case 3: {  // a rename with a delete, in a command that stands or fails afterwards (taken back whole)
                const API_Guid g = some(), other = some();
                if (g == other) break;
                const bool fails = rng() % 2 == 0;
                const std::map<std::string, API_Guid> before = scan();
                const GSErrCode err = db.RunUndoableCommand("rename", [&] {
                    db.SetElementName(g, name);
                    const GSErrCode deleted = db.DeleteElements(&other, 1);
                    return deleted != NoError ? deleted : fails ? APIERR_GENERAL : NoError;
                });
                if (err != NoError) {
                    EXPECT_EQ(scan(), before);
                    ++takenBack;
                }
                break;
            }
            case 4: {
                const API_Guid two[2] = {some(), some()};
                db.RunUndoableCommand("delete", [&] { return db.DeleteElements(two, two[0] == two[1] ? 1 : 2); });
                break;
            }
            case 5:
            case 6:
                if (db.Undo()) {
                    ++undone;
                    for (const auto& [n, g] : scan()) EXPECT_EQ(offered.count(n), 1u) << n;
                }
                break;
            default:
                if (rng() % 8 == 0) {
                    db.Reset();
                    ++resets;
                    EXPECT_TRUE(db.NamesNow().empty());
                }
        }
        const std::map<std::string, API_Guid> scanned = scan();
        std::set<std::string> names;
        for (const auto& [n, g] : scanned) {
            names.insert(n);
            API_Guid found = {};
            ASSERT_TRUE(db.FindByName(n, &found)) << n;
            EXPECT_EQ(found, g) << n;
        }
        EXPECT_EQ(db.NamesNow(), names);
        const std::set<std::string> all = db.ElementNames();
        EXPECT_TRUE(std::includes(all.begin(), all.end(), names.begin(), names.end()));
        for (int i = 0; i < 12; ++i) {
            const std::string n = "N" + std::to_string(i);
            API_Guid found = {};
            EXPECT_EQ(db.FindByName(n, &found), scanned.count(n) == 1) << n;
        }
    }
    // The walk met every kind of change.
    EXPECT_GT(undone, 20);
    EXPECT_GT(takenBack, 5);
    EXPECT_GT(resets, 0);
}

}  // namespace project_database_test
