#pragma once
// An in-process stand-in host with the module's table handed over, and shortcuts that set up its project the
// way the user would (placing, selecting, layers, windows).
#include "../host/InProcessHost.hpp"

#include <cstring>
#include <string>
#include <vector>

class ProjectHostTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Attach());
    }
    ProjectDatabase& Db() { return host->Database(); }

    API_Guid PlaceFill(const std::string& name, int32_t layer = 1) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_HatchID, {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}}, true, layer, name, &g),
                  NoError);
        return g;
    }
    API_Guid PlaceMesh(const std::string& name, int32_t layer = 1) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_MeshID, {{0, 0, 1}, {50, 0, 2}, {50, 40, 3}, {0, 40, 4}}, true, layer,
                                           name, &g),
                  NoError);
        return g;
    }
    API_Guid PlaceObject(API_ElemTypeID type, int32_t libInd, const std::string& name, int32_t layer = 1) {
        API_Element e = {};
        e.header.typeID = type;
        EXPECT_EQ(Db().GetDefaults(&e, nullptr), NoError);
        e.header.layer = layer;
        e.object.libInd = libInd;  // windows and doors keep it at the same place
        EXPECT_EQ(Db().PlaceElement(&e, StoredMemo(), name, "Place"), NoError);
        return e.header.guid;
    }
    API_Guid PlaceHotspot(const std::string& name, int32_t layer = 1) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceHotspot({1, 1}, layer, name, &g), NoError);
        return g;
    }
    int32_t Layer(const std::string& name, uint32_t flags) {
        API_Attribute a = {};
        a.header.typeID = API_LayerID;
        std::strncpy(a.header.name, name.c_str(), sizeof a.header.name - 1);
        a.header.flags = flags;
        a.header.index = Db().FindAttribute(API_LayerID, name);
        EXPECT_EQ(a.header.index != 0 ? Db().ModifyAttribute(&a) : Db().CreateAttribute(&a), NoError);
        return a.header.index;
    }
    uint32_t LayerFlagsOf(int32_t index) { return Db().Attribute(API_LayerID, index)->header.flags; }
    // The user selects these elements (in this order).
    void Select(const std::vector<API_Guid>& guids) {
        std::vector<API_Neig> neigs;
        for (const API_Guid& g : guids) {
            API_Neig n = {};
            n.neigID = NeigIDOfType(Db().Find(g)->record.header.typeID);
            n.guid = g;
            neigs.push_back(n);
        }
        ASSERT_EQ(Db().Select(neigs.data(), int32_t(neigs.size()), false), NoError);
    }
    void Window(int32_t type) {
        API_WindowInfo w = {};
        w.typeID = type;
        ASSERT_EQ(Db().ChangeWindow(w), NoError);
    }
    // Runs `body` as the module would, inside one undoable command.
    GSErrCode Command(const std::function<GSErrCode()>& body) {
        return ACAPI_CallUndoableCommand(GS::UniString("test"), body);
    }
};
