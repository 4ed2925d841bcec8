#pragma once
// An in-process stand-in host with the module's table handed over, and shortcuts that set up its project the
// way the user would (placing, selecting, layers, windows) or the module would (its data records).
#include "InProcessHost.hpp"

#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/WholeCommand.hpp"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class ProjectHostTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Attach());
        // Two library parts for the objects the tests place.
        const std::string folder = UserFile("lib");
        std::filesystem::create_directory(folder);
        std::ofstream(folder + "/PART_A.lpd")
            << "name = PART_A\nguid = {11111111-1111-1111-1111-111111111111}-{00000000-0000-0000-0000-000000000000}\n"
               "type = object\nparam A length = 1.5\nparam operatore string = \"result\"\n"
               "param nodi real[2][2] = 1; 2; 3; 4\n";
        std::ofstream(folder + "/PART_B.lpd")
            << "name = PART_B\nguid = {22222222-2222-2222-2222-222222222222}-{00000000-0000-0000-0000-000000000000}\n"
               "type = object\nparam A length = 2\n";
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(folder, &why)) << why;
        libA = host->Project().libraries.FindByName("PART_A", 0);
        libB = host->Project().libraries.FindByName("PART_B", 0);
        ASSERT_GT(libA, 0);
        ASSERT_GT(libB, 0);
    }
    ProjectDatabase& Db() { return host->Database(); }
    int32_t libA = 0;
    int32_t libB = 0;

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
    // A closed box x0..x1, y0..y1, z0..z1, its faces looking outward.
    static StoredBody BoxBody(double x0, double y0, double x1, double y1, double z0, double z1) {
        StoredBody b;
        b.vertices = {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0},
                      {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
        b.polygons = {{1, 4, 3, 2}, {5, 6, 7, 8}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}};
        return b;
    }
    // An object of PART_A whose body is that box.
    API_Guid PlaceBox(double x0, double y0, double x1, double y1, double z0, double z1) {
        const API_Guid g = PlaceObject(API_ObjectID, libA, "");
        EXPECT_EQ(Db().GiveBodies(g, {BoxBody(x0, y0, x1, y1, z0, z1)}), NoError);
        return g;
    }
    API_Guid PlaceHotspot(const std::string& name, int32_t layer = 1) { return PlaceHotspot({1, 1}, name, layer); }
    API_Guid PlaceHotspot(const API_Coord& at, const std::string& name, int32_t layer = 1) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceHotspot(at, layer, name, &g), NoError);
        return g;
    }
    API_Guid PlaceLine(const API_Coord& a, const API_Coord& b, const std::string& name, int32_t layer = 1) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceLine(a, b, layer, name, &g), NoError);
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
            n.neigID = APINeigIDOfElemType(Db().Find(g)->record.header.typeID);
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
    // Runs `body` as the module would, inside one of its undoable commands (or as part of the one running): the
    // body's answer; a leftover it stranded answers an error, a command the host refused APIERR_REFUSEDCMD.
    GSErrCode Command(const std::function<GSErrCode()>& body) {
        bool ran = false;
        GSErrCode answer = NoError;
        const bool done = RunCommand(GS::UniString("test"), [&] {
            ran = true;
            answer = body();
            return answer == NoError ? CommandEnd::Done : CommandEnd::Failed;
        });
        if (!ran) return APIERR_REFUSEDCMD;
        return answer != NoError || done ? answer : LodravixErr_StepFailed;
    }
    // Makes `g` an element of the add-on: the data record `d` of `kind` as its user data, in a command of its own.
    void WriteRecord(const API_Guid& g, int32_t kind, const ElemDescriptor& d = ElemDescriptor()) {
        const API_Elem_Head head = Db().Find(g)->record.header;
        ASSERT_EQ(Command([&] { return ElemUserData_WriteRecord(d, kind, head) ? NoError : APIERR_GENERAL; }), NoError);
    }
    // A terrain point as the point tool leaves it: a hotspot whose record holds its height.
    API_Guid PlaceTerrainPoint(const API_Coord& at, double height, const std::string& name = "") {
        const API_Guid g = PlaceHotspot(at, name);
        ElemDescriptor d;
        d.Value = height;
        WriteRecord(g, ElemKind_Point, d);
        return g;
    }
    // A constraint as the constraint tool leaves it: a line with its record.
    API_Guid PlaceConstraint(const API_Coord& a, const API_Coord& b, const std::string& name = "") {
        const API_Guid g = PlaceLine(a, b, name);
        WriteRecord(g, ElemKind_Constraint);
        return g;
    }
};

// The same host with the add-on's own library parts, whose `body` and `plan` lines its 3D model and plan read.
class OwnLibraryHostTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(std::string(LODRAVIX_SOURCE_DIR) + "/library", &why)) << why;
    }
};
