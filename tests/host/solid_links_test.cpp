// Solid links, element information texts and polygon input through the module's wrappers, and the script
// commands of clicks, edits and links.
#include "ProjectHost.hpp"
#include "script/ScriptRunner.hpp"

#include <sstream>

namespace solid_links_test {

class SolidLinksTest : public ProjectHostTest {
protected:
    API_Guid Slab(const std::string& name) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_SlabID, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, true, 1, name, &g), NoError);
        return g;
    }
    GSErrCode Link(const API_Guid& t, const API_Guid& o, uint32_t op) {
        return Command([&] { return ACAPI_Element_SolidLink_Create(t, o, op, 1); });
    }
};

TEST_F(SolidLinksTest, MadeListedAndRemoved) {
    const API_Guid mesh = PlaceMesh("M");
    const API_Guid cut = PlaceObject(API_ObjectID, libA, "cut");
    const API_Guid fill = PlaceObject(API_ObjectID, libA, "fill");
    EXPECT_EQ(ACAPI_Element_SolidLink_Create(mesh, cut, APISolid_SubtractUpwards, 1), APIERR_NEEDSUNDOSCOPE);
    ASSERT_EQ(Link(mesh, cut, APISolid_SubtractUpwards), NoError);
    ASSERT_EQ(Link(mesh, fill, APISolid_Add), NoError);
    // The same link again, or the reverse one: "exists already".
    EXPECT_EQ(Link(mesh, cut, APISolid_SubtractUpwards), APIERR_LINKEXIST);
    EXPECT_EQ(Link(cut, mesh, APISolid_SubtractDownwards), APIERR_LINKEXIST);
    EXPECT_EQ(int32_t(APIERR_LINKEXIST), int32_t(0x810600DEu));

    GS::Array<API_Guid> ops;
    ASSERT_EQ(ACAPI_Element_SolidLink_GetOperators(mesh, &ops), NoError);
    ASSERT_EQ(ops.GetSize(), 2u);
    EXPECT_EQ(ops[0], cut);
    EXPECT_EQ(ops[1], fill);
    GS::Array<API_Guid> targets;
    ASSERT_EQ(ACAPI_Element_SolidLink_GetTargets(fill, &targets), NoError);
    ASSERT_EQ(targets.GetSize(), 1u);
    EXPECT_EQ(targets[0], mesh);
    EXPECT_EQ(ACAPI_Element_SolidLink_GetOperators(cut, &ops), APIERR_GENERAL);  // none: 0x81060001
    EXPECT_EQ(ops.GetSize(), 0u);

    uint32_t t1 = 0, t2 = 0, sub = 99, op = 0, flags = 0;
    ASSERT_EQ(ACAPI_Element_SolidLink_GetTime(mesh, cut, &t1, &sub), NoError);
    ASSERT_EQ(ACAPI_Element_SolidLink_GetTime(mesh, fill, &t2, nullptr), NoError);
    EXPECT_LT(t1, t2);
    EXPECT_EQ(sub, 0u);
    ASSERT_EQ(ACAPI_Element_SolidLink_GetOperation(mesh, fill, &op), NoError);
    EXPECT_EQ(op, APISolid_Add);
    ASSERT_EQ(ACAPI_Element_SolidLink_GetFlags(mesh, cut, &flags), NoError);
    EXPECT_EQ(flags, 1u);
    EXPECT_EQ(ACAPI_Element_SolidLink_GetOperation(cut, mesh, &op), APIERR_LINKNOTEXIST);

    ASSERT_EQ(Command([&] { return ACAPI_Element_SolidLink_Remove(mesh, cut); }), NoError);
    EXPECT_EQ(Command([&] { return ACAPI_Element_SolidLink_Remove(mesh, cut); }), APIERR_LINKNOTEXIST);
    // Undo brings the link back; a later link still gets a later time.
    ASSERT_TRUE(Db().Undo());
    ASSERT_NE(Db().FindSolidLink(mesh, cut), nullptr);
    ASSERT_EQ(Link(Slab("S"), mesh, APISolid_SubtractDownwards), NoError);
    EXPECT_GT(Db().SolidLinks().back().time, t2);
}

TEST_F(SolidLinksTest, RefusedPairsAndDeletedPartners) {
    const API_Guid mesh = PlaceMesh("M");
    const API_Guid fillElem = PlaceFill("F");
    const API_Guid slab = Slab("S");
    EXPECT_EQ(Link(mesh, fillElem, APISolid_SubtractDownwards), APIERR_BADELEMTYPE);  // a drawing element
    EXPECT_EQ(Link(mesh, mesh, APISolid_SubtractDownwards), APIERR_BADPARS);
    EXPECT_EQ(Link(mesh, slab, API_Selector("SXXX")), APIERR_BADPARS);
    EXPECT_EQ(Link(mesh, APINULLGuid, APISolid_Add), APIERR_BADID);
    ASSERT_EQ(Link(mesh, slab, APISolid_SubtractDownwards), NoError);
    ASSERT_EQ(Command([&] {
                  GS::Array<API_Guid> g;
                  g.Push(slab);
                  return ACAPI_Element_Delete(g);
              }),
              NoError);
    EXPECT_TRUE(Db().SolidLinks().empty());
}

TEST_F(SolidLinksTest, ElementInformationText) {
    const API_Guid fill = PlaceFill("F");
    GS::UniString text("old");
    ASSERT_EQ(ACAPI_Database(APIDb_GetElementInfoStringID, const_cast<API_Guid*>(&fill), &text), NoError);
    EXPECT_TRUE(text.IsEmpty());
    Db().FindMutable(fill)->memo.Mutable().elemInfoString = u"VY30 Slab";
    ASSERT_EQ(ACAPI_Database(APIDb_GetElementInfoStringID, const_cast<API_Guid*>(&fill), &text), NoError);
    EXPECT_EQ(text.ToUtf8(), "VY30 Slab");
    API_Guid none = APINULLGuid;
    EXPECT_EQ(ACAPI_Database(APIDb_GetElementInfoStringID, &none, &text), APIERR_BADID);
}

TEST_F(SolidLinksTest, PolygonInputFromClicks) {
    InteractiveInput& in = host->Input();
    API_GetPolyType rec = {};
    rec.method = APIPolyInput_Polygon;
    rec.startCoord = {0, 0, 0};
    in.QueuePoint(4, 0);
    in.QueuePoint(4, 0);  // a double click adds nothing
    in.QueueDone();       // too early: the input goes on
    in.QueuePoint(4, 3);
    in.QueuePoint(0, 0);  // back on the start: closed
    API_RubberLineInputProc* none = nullptr;
    ASSERT_EQ(ACAPI_Interface(APIIo_GetPolyID, &rec, &none), NoError);
    ASSERT_EQ(rec.nCoords, 4);
    EXPECT_EQ((*rec.coords)[3].y, 3.0);
    EXPECT_EQ((*rec.coords)[4].x, 0.0);  // repeats the first
    EXPECT_EQ(rec.nArcs, 0);
    GSHandle h = reinterpret_cast<GSHandle>(rec.coords);
    BMKillHandle(&h);
    h = reinterpret_cast<GSHandle>(rec.zCoords);
    BMKillHandle(&h);
    h = reinterpret_cast<GSHandle>(rec.parcs);
    BMKillHandle(&h);

    API_GetPolyType open = {};
    open.method = APIPolyInput_Polyline;
    in.QueuePoint(1, 1);
    in.QueueCancel();
    EXPECT_EQ(ACAPI_Interface(APIIo_GetPolyID, &open), APIERR_CANCEL);
    EXPECT_EQ(open.nCoords, 0);
    EXPECT_EQ(open.coords, nullptr);
}

TEST_F(SolidLinksTest, ScriptCommandsDriveClicksEditsAndLinks) {
    std::ostringstream out;
    ScriptRunner runner(*host, out);
    const bool ok = runner.RunText("place mesh T \"0,0,0 10,0,0 10,10,0\"\n"
                                   "place fill F \"0,0 2,0 2,2\"\n"
                                   "place line L \"0,0 1,1\"\n"
                                   "click 1 2 F 3\n"
                                   "click cancel\n"
                                   "click done\n"
                                   "expect clicks-left 3\n"
                                   "move L 1 1\n"
                                   "expect element L /record/begC/0 1\n"
                                   "rotate F 0 0 90\n"
                                   "copy F G 5 0\n"
                                   "expect elements 4\n"
                                   "change G id \"west\"\n"
                                   "change L pen 4\n"
                                   "delete G\n"
                                   "expect elements 3\n"
                                   "expect events 0\n"
                                   "expect solid-links 0\n"
                                   "undo\n"
                                   "expect elements 4\n",
                                   "test");
    // No input took the three clicks: the run fails on them alone, naming their lines, and drops them.
    EXPECT_FALSE(ok);
    EXPECT_EQ(runner.Failures(), 1) << out.str();
    EXPECT_NE(out.str().find("3 queued click(s) no input took by the end of the script:\n    line 4: click 1 2 F 3\n"
                             "    line 5: click cancel\n    line 6: click done\n"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(host->Input().PendingClicks(), 0u);
}

TEST_F(SolidLinksTest, ScriptChangesParametersAndChecksInputs) {
    PlaceObject(API_ObjectID, libA, "O");
    std::ostringstream out;
    ScriptRunner runner(*host, out);
    const bool ok = runner.RunText("change O param A 2.5\n"
                                   "change O param operatore cut\n"
                                   "expect element O /parameters/0/value 2.5\n"
                                   "mirror O 0 0 0 1\n"
                                   "elevate O 1.5\n"
                                   "resize O 0 0 2\n"
                                   "expect element O /record/level 1.5\n"
                                   "expect element O /record/xRatio 2\n"
                                   "expect inputs 0\n"
                                   "expect rubber-lines 0\n"
                                   "expect observed O no\n",
                                   "test");
    EXPECT_TRUE(ok) << out.str();
    std::ostringstream bad;
    ScriptRunner refused(*host, bad);
    EXPECT_FALSE(refused.RunText("change O param nodi 3\n", "test"));  // an array
    EXPECT_NE(bad.str().find("is an array"), std::string::npos) << bad.str();
}

}  // namespace solid_links_test
