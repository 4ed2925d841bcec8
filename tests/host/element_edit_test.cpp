// The module's own edits through the stand-in (Element_Edit): drags and lifts move every listed element inside
// an undoable command; outside one, or with an edit the stand-in does not make, nothing moves.
#include "ProjectHost.hpp"

namespace element_edit_test {

class ElementEditTest : public ProjectHostTest {
protected:
    API_Neig Neig(const API_Guid& g) {
        API_Neig n = {};
        n.neigID = APINeigIDOfElemType(Db().Find(g)->record.header.typeID);
        n.guid = g;
        return n;
    }
    GSErrCode Edit(uint32_t type, API_Coord3D from, API_Coord3D to, const std::vector<API_Guid>& guids) {
        API_EditPars pars = {};
        pars.typeID = type;
        pars.withDelete = 1;
        pars.begC = from;
        pars.endC = to;
        GS::Array<API_Neig> neigs;
        for (const API_Guid& g : guids) neigs.Push(Neig(g));
        return ACAPI_Element_Edit(neigs, pars);
    }
};

TEST_F(ElementEditTest, DragsAndLiftsMoveEveryListedElementInsideACommandOnly) {
    API_Guid spot = {}, line = {};
    ASSERT_EQ(Db().PlaceHotspot({1, 2}, 1, "spot", &spot), NoError);
    ASSERT_EQ(Db().PlaceLine({0, 0}, {4, 0}, 1, "line", &line), NoError);

    EXPECT_NE(Edit(APIEdit_Drag, {0, 0, 0}, {3, 4, 0}, {spot}), NoError);  // no command: refused
    EXPECT_EQ(Db().Find(spot)->record.Get().hotspot.pos.x, 1.0);

    ASSERT_EQ(Command([&] { return Edit(APIEdit_Drag, {1, 1, 0}, {4, 5, 0}, {spot, line}); }), NoError);
    EXPECT_EQ(Db().Find(spot)->record.Get().hotspot.pos.x, 4.0);
    EXPECT_EQ(Db().Find(spot)->record.Get().hotspot.pos.y, 6.0);
    EXPECT_EQ(Db().Find(line)->record.Get().line.endC.x, 7.0);
    EXPECT_EQ(Db().Find(line)->record.Get().line.endC.y, 4.0);

    ASSERT_EQ(Command([&] { return Edit(APIEdit_Elevate, {0, 0, 1}, {0, 0, 3.5}, {spot}); }), NoError);
    EXPECT_EQ(Db().Find(spot)->record.Get().hotspot.height, 2.5);

    // A rotation is not an edit of the stand-in, and a missing element spoils the whole edit.
    EXPECT_NE(Command([&] { return Edit(APIEdit_Rotate, {0, 0, 0}, {1, 0, 0}, {spot}); }), NoError);
    const API_Guid gone = {9, 9, 9, {9, 9}, {9, 9, 9, 9, 9, 9}};
    API_EditPars pars = {};
    pars.typeID = APIEdit_Drag;
    pars.withDelete = 1;
    pars.endC = {10, 0, 0};
    GS::Array<API_Neig> neigs;
    neigs.Push(Neig(spot));
    API_Neig missing = {};
    missing.guid = gone;
    neigs.Push(missing);
    EXPECT_EQ(Command([&] { return ACAPI_Element_Edit(neigs, pars); }), APIERR_BADID);
    EXPECT_EQ(Db().Find(spot)->record.Get().hotspot.pos.x, 4.0);
}

}  // namespace element_edit_test
