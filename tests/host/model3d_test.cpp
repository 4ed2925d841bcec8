// The host's 3D model through the module's wrappers: meshes, slabs and given bodies, the downward subtraction of a
// slab from a mesh, its numbering of bodies, polygons, polygon edges, edges and vertices, and how it follows the
// project's changes.
#include "ProjectHost.hpp"
#include "model3d/ModelBody.hpp"
#include "model3d/ModelStore.hpp"
#include "model3d/PlanTriangulation.hpp"
#include "assembly/HostProject.hpp"
#include "script/ScriptRunner.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <random>

namespace model3d_test {

struct ReadBody {
    std::vector<API_VertType> vertices;
    std::vector<std::vector<int32_t>> polygons;  // vertex numbers from 1
};

class Model3DTest : public ProjectHostTest {
protected:
    // The element's model as the module reads it; every polygon's edges must join up into a ring.
    std::vector<ReadBody> Read(const API_Guid& guid) {
        std::vector<ReadBody> bodies;
        API_Elem_Head head = {};
        head.guid = guid;
        API_ElemInfo3D info;
        EXPECT_EQ(ACAPI_Element_Get3DInfo(head, &info), NoError);
        for (int32_t b = info.firstBody; b <= info.lastBody; ++b) {
            API_Component3D c = {};
            c.header = {API_BodyID, b};
            EXPECT_EQ(ACAPI_3D_GetComponent(&c), NoError);
            const API_BodyType body = c.body;
            ReadBody out;
            for (int32_t v = 1; v <= body.vertexCount; ++v) {
                c.header = {API_VertID, v};
                EXPECT_EQ(ACAPI_3D_GetComponent(&c), NoError);
                out.vertices.push_back(c.vert);
            }
            for (int32_t p = 1; p <= body.polygonCount; ++p) {
                c.header = {API_PgonID, p};
                EXPECT_EQ(ACAPI_3D_GetComponent(&c), NoError);
                const API_PgonType pg = c.pgon;
                std::vector<int32_t> ring;
                int32_t previousEnd = 0;
                for (int32_t k = pg.firstPedg; k <= pg.lastPedg; ++k) {
                    c.header = {API_PedgID, k};
                    EXPECT_EQ(ACAPI_3D_GetComponent(&c), NoError);
                    const int32_t e = c.pedg.edgeIndex;
                    c.header = {API_EdgeID, std::abs(e)};
                    EXPECT_EQ(ACAPI_3D_GetComponent(&c), NoError);
                    const int32_t from = e > 0 ? c.edge.firstVertex : c.edge.secondVertex;
                    const int32_t to = e > 0 ? c.edge.secondVertex : c.edge.firstVertex;
                    if (previousEnd != 0) {
                        EXPECT_EQ(from, previousEnd);
                    }
                    ring.push_back(from);
                    previousEnd = to;
                }
                EXPECT_EQ(previousEnd, ring.front());
                out.polygons.push_back(ring);
            }
            bodies.push_back(out);
        }
        return bodies;
    }

    API_Guid MeshThrough(const std::vector<API_Coord3D>& points, const std::string& name = "") {
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceMeshFromPoints(points, 1, name, &g), NoError) << Db().LastRefusal();
        return g;
    }

    // A slab far around everything with the holes given (each a ring in plan), as the module's cutting slab.
    API_Guid CuttingSlab(const std::vector<std::vector<API_Coord>>& holes, double top = 1e4) {
        API_Element e = {};
        e.header.typeID = API_SlabID;
        EXPECT_EQ(Db().GetDefaults(&e, nullptr), NoError);
        e.slab.level = top;
        e.slab.thickness = 2e4;
        StoredMemo memo;
        memo.coords = std::vector<API_Coord>{{0, 0}, {-1e4, -1e4}, {-1e4, 1e4}, {1e4, 1e4}, {1e4, -1e4}, {-1e4, -1e4}};
        memo.pends = std::vector<int32_t>{0, 5};
        for (const auto& hole : holes) {
            for (const API_Coord& c : hole) memo.coords->push_back(c);
            memo.coords->push_back(hole.front());
            memo.pends->push_back(int32_t(memo.coords->size() - 1));
        }
        e.slab.poly.nCoords = int32_t(memo.coords->size() - 1);
        e.slab.poly.nSubPolys = int32_t(memo.pends->size() - 1);
        EXPECT_EQ(Db().PlaceElement(&e, memo, "", "Place Slab"), NoError) << Db().LastRefusal();
        return e.header.guid;
    }
    GSErrCode Link(const API_Guid& target, const API_Guid& op, uint32_t operation = APISolid_SubtractDownwards) {
        return Command([&] { return ACAPI_Element_SolidLink_Create(target, op, operation, 1); });
    }
    GSErrCode Unlink(const API_Guid& target, const API_Guid& op) {
        return Command([&] { return ACAPI_Element_SolidLink_Remove(target, op); });
    }

    // The lowest z of a body: its floor.
    static double Floor(const ReadBody& b) {
        double z = b.vertices.at(0).z;
        for (const API_VertType& v : b.vertices) z = std::min(z, v.z);
        return z;
    }
    // Plan area of the polygons none of whose vertices lies on the floor: the top.
    static double TopArea(const ReadBody& b) {
        const double floor = Floor(b);
        double area = 0.0;
        for (const auto& ring : b.polygons) {
            bool top = true;
            for (int32_t v : ring) top = top && b.vertices[size_t(v - 1)].z > floor + 1e-7;
            if (!top) continue;
            for (size_t i = 0; i < ring.size(); ++i) {
                const API_VertType& p = b.vertices[size_t(ring[i] - 1)];
                const API_VertType& q = b.vertices[size_t(ring[(i + 1) % ring.size()] - 1)];
                area += (p.x * q.y - q.x * p.y) / 2.0;
            }
        }
        return area;
    }
};

TEST_F(Model3DTest, SampledHeightsOfPlanarMeshesLieOnThePlane) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int plane = 0; plane < 3; ++plane) {
        const double a = 100.0 * unit(rng), b = unit(rng) - 0.5, c = 2.0 * unit(rng) - 1.0;
        const auto z = [&](double x, double y) { return a + b * x + c * y; };
        std::vector<API_Coord3D> points;
        for (int i = 0; i < 200; ++i) {
            const double x = 300.0 * unit(rng), y = 200.0 * unit(rng);
            points.push_back({x, y, z(x, y)});
        }
        const API_Guid mesh = MeshThrough(points);
        for (int s = 0; s < 15; ++s) {
            // A sample square's corner somewhere inside the points' spread.
            const double x = 50.0 + 200.0 * unit(rng), y = 50.0 + 100.0 * unit(rng);
            const API_Guid slab = CuttingSlab({{{x, y}, {x + 0.5, y}, {x + 0.5, y - 0.5}, {x, y - 0.5}}});
            ASSERT_EQ(Link(mesh, slab), NoError);
            const std::vector<ReadBody> bodies = Read(mesh);
            ASSERT_EQ(bodies.size(), 1u);
            const ReadBody& body = bodies[0];
            const double floor = Floor(body);
            int corners = 0;
            for (const API_VertType& v : body.vertices) {
                if (v.z <= floor + 1e-7) continue;
                EXPECT_NEAR(v.z, z(v.x, v.y), 1e-9);
                EXPECT_TRUE(v.x >= x - 1e-9 && v.x <= x + 0.5 + 1e-9 && v.y >= y - 0.5 - 1e-9 && v.y <= y + 1e-9);
                corners += v.x == x && v.y == y;
            }
            EXPECT_EQ(corners, 1);
            EXPECT_NEAR(TopArea(body), 0.25, 1e-9);
            // The floor has the last vertex of the body (which a reader may drop).
            EXPECT_EQ(body.vertices.back().z, floor);
            ASSERT_EQ(Unlink(mesh, slab), NoError);
        }
    }
}

TEST_F(Model3DTest, DownwardSubtractionKeepsExactlyThePartInsideTheHoles) {
    // A tilted plane over the rectangle 0..100 x 0..60 on a grid, with a ridge that breaks it.
    std::vector<API_Coord3D> points;
    const auto z = [](double x, double y) { return 10.0 + 0.1 * x - 0.05 * y; };
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j <= 6; ++j) points.push_back({i * 10.0, j * 10.0, z(i * 10.0, j * 10.0)});
    const API_Guid mesh = MeshThrough(points, "M");
    const std::vector<ReadBody> whole = Read(mesh);
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_NEAR(TopArea(whole[0]), 6000.0, 1e-6);
    EXPECT_EQ(whole[0].vertices.size(), 77u + 32u);  // the grid points, then the floor under the border
    EXPECT_EQ(whole[0].polygons.size(), 120u + 32u + 30u);

    // An L-shaped hole cut across grid lines, and a square hole that reaches past the mesh's edge.
    const std::vector<API_Coord> ell = {{13.3, 7.1},  {47.9, 7.1},  {47.9, 21.7},
                                        {27.2, 21.7}, {27.2, 44.4}, {13.3, 44.4}};
    const std::vector<API_Coord> over = {{90.0, 50.0}, {120.0, 50.0}, {120.0, 80.0}, {90.0, 80.0}};
    const API_Guid slab = CuttingSlab({ell, over});
    ASSERT_EQ(Link(mesh, slab), NoError);
    const std::vector<ReadBody> cut = Read(mesh);
    ASSERT_EQ(cut.size(), 1u);
    const double ellArea = 34.6 * 14.6 + 13.9 * 22.7;
    EXPECT_NEAR(TopArea(cut[0]), ellArea + 10.0 * 10.0, 1e-6);
    const double floor = Floor(cut[0]);
    EXPECT_EQ(floor, Floor(whole[0]));  // the skirt keeps its depth
    for (const API_VertType& v : cut[0].vertices) {
        const bool inEll = v.x >= 13.3 - 1e-9 && v.x <= 47.9 + 1e-9 && v.y >= 7.1 - 1e-9 && v.y <= 44.4 + 1e-9 &&
            !(v.x > 27.2 + 1e-9 && v.y > 21.7 + 1e-9);
        const bool inOver = v.x >= 90.0 - 1e-9 && v.x <= 100.0 + 1e-9 && v.y >= 50.0 - 1e-9 && v.y <= 60.0 + 1e-9;
        EXPECT_TRUE(inEll || inOver) << v.x << " " << v.y;
        if (v.z > floor) {
            EXPECT_NEAR(v.z, z(v.x, v.y), 1e-9);
        }
    }
    // The 'CABO' box follows the cut model.
    API_Element e = {};
    e.header.guid = mesh;
    API_Box3D box = {};
    ASSERT_EQ(ACAPI_Database(APIDb_CalcBoundsID, &e, &box), NoError);
    EXPECT_NEAR(box.xMin, 13.3, 1e-12);
    EXPECT_NEAR(box.xMax, 100.0, 1e-12);
    EXPECT_NEAR(box.zMax, z(100.0, 50.0), 1e-9);
    // The box is the surface's: the skirt and floor are left out.
    double lowest = 1e9;
    for (const API_VertType& v : cut[0].vertices)
        if (v.z > floor) lowest = std::min(lowest, v.z);
    EXPECT_EQ(box.zMin, lowest);

    // A hole beside the mesh leaves nothing: no body, and still an answer.
    ASSERT_EQ(Unlink(mesh, slab), NoError);
    const API_Guid away = CuttingSlab({{{500, 500}, {501, 500}, {501, 501}}});
    ASSERT_EQ(Link(mesh, away), NoError);
    EXPECT_TRUE(Read(mesh).empty());
    // A slab whose top lies below the mesh's top takes what lies under it: outside the hole only the terrain above
    // the slab's top is left, inside it the whole column.
    ASSERT_EQ(Unlink(mesh, away), NoError);
    const API_Guid low = CuttingSlab({{{20, 20}, {30, 20}, {30, 30}}}, 12.0);
    ASSERT_EQ(Link(mesh, low), NoError);
    API_Elem_Head head = {};
    head.guid = mesh;
    API_ElemInfo3D info;
    ASSERT_EQ(ACAPI_Element_Get3DInfo(head, &info), NoError);
    ModelStore& models = host->Project().models;
    std::string why;
    double at = 0.0;
    ASSERT_TRUE(models.HeightAt(mesh, 28.0, 22.0, &at, &why)) << why;
    EXPECT_NEAR(at, z(28.0, 22.0), 1e-9);
    ASSERT_TRUE(models.HeightAt(mesh, 90.0, 10.0, &at, &why)) << why;
    EXPECT_NEAR(at, z(90.0, 10.0), 1e-9);
    EXPECT_FALSE(models.HeightAt(mesh, 5.0, 50.0, &at, &why));
    for (const ReadBody& b : Read(mesh))
        for (const API_VertType& v : b.vertices) {
            const bool inHole = v.y >= 20.0 - 1e-9 && v.x <= 30.0 + 1e-9 && v.y <= v.x + 1e-9;
            if (!inHole) {
                EXPECT_GE(v.z, 12.0 - 1e-9) << v.x << " " << v.y;
            }
        }
}

// The box asked first (as the contour lines do after a terrain is built) builds the surface the model then reuses.
TEST_F(Model3DTest, TheSurfaceBuiltForTheBoxIsTheOneTheModelReuses) {
    const API_Guid mesh = MeshThrough({{0, 0, 0}, {40, 0, 0}, {40, 40, 0}, {0, 40, 0}, {20, 20, 8}}, "M");
    ModelStore& models = host->Project().models;
    API_Box3D box = {};
    ASSERT_TRUE(models.Bounds(mesh, &box));
    EXPECT_EQ(box.zMax, 8.0);
    const int builds = models.SurfaceBuilds();
    EXPECT_EQ(Read(mesh)[0].vertices.size(), 5u + 4u);
    EXPECT_EQ(models.SurfaceBuilds(), builds);
}

TEST_F(Model3DTest, ModelFollowsChangesAndUndoAndIsBuiltOncePerState) {
    const std::vector<API_Coord3D> square = {{0, 0, 0}, {40, 0, 0}, {40, 40, 0}, {0, 40, 0}, {20, 20, 8}};
    const API_Guid mesh = MeshThrough(square, "M");
    ModelStore& models = host->Project().models;
    const auto top = [&]() {
        std::string why;
        double z = 0.0;
        EXPECT_TRUE(models.HeightAt(mesh, 20, 30, &z, &why)) << why;
        return z;
    };
    EXPECT_DOUBLE_EQ(top(), 4.0);
    EXPECT_EQ(Read(mesh)[0].vertices.size(), 5u + 4u);
    const int builds = models.SurfaceBuilds();
    Read(mesh);
    top();
    EXPECT_EQ(models.SurfaceBuilds(), builds);

    // A ridge through the middle: a level line becomes triangle edges.
    ASSERT_EQ(Db().AddMeshLevelLine(mesh, {{20, 0, 2}, {20, 40, 2}}), NoError);
    EXPECT_DOUBLE_EQ(top(), 2.0 + (8.0 - 2.0) * 0.5);
    EXPECT_EQ(Read(mesh)[0].vertices.size(), 7u + 6u);
    // The module moves the mesh up; then the user undoes it, then the ridge.
    ASSERT_EQ(Command([&] {
                  API_Element e = {}, mask = {};
                  e.header.guid = mesh;
                  EXPECT_EQ(ACAPI_Element_Get(&e), NoError);
                  e.mesh.level = 100.0;
                  std::memset(&mask.mesh.level, 0xFF, sizeof mask.mesh.level);
                  return ACAPI_Element_Change(&e, &mask, nullptr, 0);
              }),
              NoError);
    EXPECT_DOUBLE_EQ(top(), 105.0);
    ASSERT_TRUE(Db().Undo());
    EXPECT_DOUBLE_EQ(top(), 5.0);
    ASSERT_TRUE(Db().Undo());
    EXPECT_DOUBLE_EQ(top(), 4.0);
    EXPECT_EQ(Read(mesh)[0].vertices.size(), 5u + 4u);
    // A body number read before a change belongs to a model that is gone.
    API_Elem_Head head = {};
    head.guid = mesh;
    API_ElemInfo3D info;
    ASSERT_EQ(ACAPI_Element_Get3DInfo(head, &info), NoError);
    ASSERT_EQ(Db().AddMeshLevelLine(mesh, {{10, 10, 1}, {30, 10, 1}}), NoError);
    API_Component3D c = {};
    c.header = {API_BodyID, info.firstBody};
    EXPECT_EQ(ACAPI_3D_GetComponent(&c), APIERR_BADINDEX);
    c.header = {API_VertID, 1};
    Read(mesh);
    EXPECT_EQ(ACAPI_3D_GetComponent(&c), NoError);
    c.header = {API_VertID, 10000};
    EXPECT_EQ(ACAPI_3D_GetComponent(&c), APIERR_BADINDEX);
}

TEST_F(Model3DTest, SlabPrismsAndObjectBodiesThatAdd) {
    // A slab with a hole: top and bottom triangulated around the hole, a side face per edge.
    const API_Guid slab = CuttingSlab({{{-10, -10}, {10, -10}, {10, 10}, {-10, 10}}}, 3.0);
    const std::vector<ReadBody> s = Read(slab);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].vertices.size(), 16u);
    EXPECT_EQ(s[0].polygons.size(), 8u + 8u + 8u);
    double zMin = 1e9, zMax = -1e9;
    for (const API_VertType& v : s[0].vertices) {
        zMin = std::min(zMin, v.z);
        zMax = std::max(zMax, v.z);
    }
    EXPECT_EQ(zMax, 3.0);
    EXPECT_EQ(zMin, 3.0 - 2e4);

    // An object has the body it was given; a mesh it is added to is joined with it into one body, the box's top
    // over the terrain, no point listed twice.
    const API_Guid object = PlaceObject(API_ObjectID, libA, "O");
    StoredBody box;
    box.vertices = {{1, 1, 0}, {2, 1, 0}, {2, 2, 0}, {1, 2, 0}, {1, 1, 5}, {2, 1, 5}, {2, 2, 5}, {1, 2, 5}};
    box.polygons = {{1, 4, 3, 2}, {5, 6, 7, 8}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}};
    ASSERT_EQ(Db().GiveBodies(object, {box}), NoError);
    EXPECT_EQ(Read(object)[0].polygons[1], (std::vector<int32_t>{5, 6, 7, 8}));
    const API_Guid mesh = PlaceMesh("M");
    ASSERT_EQ(Link(mesh, object, APISolid_Add), NoError);
    const std::vector<ReadBody> m = Read(mesh);
    ASSERT_EQ(m.size(), 1u);
    std::map<std::array<double, 3>, int> seen;
    for (const API_VertType& v : m[0].vertices) {
        const std::array<double, 3> key = {v.x, v.y, v.z};
        EXPECT_EQ(++seen[key], 1) << v.x << " " << v.y << " " << v.z;
    }
    ModelStore& models = host->Project().models;
    std::string why;
    double z = 0.0;
    ASSERT_TRUE(models.HeightAt(mesh, 1.5, 1.5, &z, &why)) << why;
    EXPECT_EQ(z, 5.0);
    // The body moves with the object.
    ASSERT_EQ(Command([&] {
                  API_Element e = {}, mask = {};
                  e.header.guid = object;
                  EXPECT_EQ(ACAPI_Element_Get(&e), NoError);
                  e.object.pos.x += 10.0;
                  std::memset(&mask.object.pos, 0xFF, sizeof mask.object.pos);
                  return ACAPI_Element_Change(&e, &mask, nullptr, 0);
              }),
              NoError);
    ASSERT_TRUE(models.HeightAt(mesh, 11.5, 1.5, &z, &why)) << why;
    EXPECT_EQ(z, 5.0);
    ASSERT_TRUE(models.HeightAt(mesh, 1.5, 1.5, &z, &why)) << why;
    EXPECT_LT(z, 2.0);
    // Elements without a body have no 3D model.
    API_Elem_Head head = {};
    head.guid = PlaceHotspot("H");
    API_ElemInfo3D info;
    EXPECT_EQ(ACAPI_Element_Get3DInfo(head, &info), APIERR_GENERAL);
}

TEST_F(Model3DTest, ProgressWindowIsRecorded) {
    GS::UniString title("Lodravix"), phase("No Title");
    int16_t phases = 1;
    int32_t maximum = 10, value = 3;
    EXPECT_EQ(ACAPI_Interface(APIIo_SetProcessValueID, &value), APIERR_GENERAL);
    ASSERT_EQ(ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases), NoError);
    ASSERT_EQ(ACAPI_Interface(APIIo_SetNextProcessPhaseID, &phase, &maximum), NoError);
    ASSERT_EQ(ACAPI_Interface(APIIo_SetProcessValueID, &value), NoError);
    const ModuleSession::ProgressWindow& w = host->Session().progress;
    EXPECT_TRUE(w.open);
    EXPECT_EQ(w.title, "Lodravix");
    EXPECT_EQ(w.phaseText, "No Title");
    EXPECT_EQ(w.maximum, 10);
    EXPECT_EQ(w.value, 3);
    ASSERT_EQ(ACAPI_Interface(APIIo_CloseProcessWindowID), NoError);
    EXPECT_FALSE(w.open);
    EXPECT_EQ(w.closed, 1);
}

TEST_F(Model3DTest, PointFilesWithBadLinesAreRefusedByLine) {
    const std::vector<std::pair<std::string, std::string>> files = {
        {"1 2 3\n4 5 x\n", "line 2: 'x' is not a number"},
        {"1 2 3\n\n# a comment\n4 5\n", "line 4: a point has three numbers"},
        {"1 2 3\n1e999 0 0\n", "line 2: '1e999' is not a number"},
        {"0 0 1\n1 1 1\n2 2 1\n", "the points enclose no area"},
    };
    for (const auto& [text, message] : files) {
        std::ofstream(UserFile("points.xyz")) << text;
        std::ostringstream out;
        ScriptRunner runner(*host, out);
        EXPECT_FALSE(runner.RunText("mesh-points M \"" + UserFile("points.xyz") + "\"\n", "bad.script"));
        EXPECT_NE(out.str().find(message), std::string::npos) << out.str();
    }
    // Through the project: a level point that is not a number leaves the mesh without a model, and says why.
    const API_Guid mesh = MeshThrough({{0, 0, 0}, {10, 0, 0}, {0, 10, 0}, {2, 2, 1}});
    Db().FindMutable(mesh)->memo.Mutable().meshLevelCoords->at(0).c.z = std::nan("");
    std::string why;
    EXPECT_FALSE(host->Project().models.ModelOf(mesh, &why));
    EXPECT_EQ(why, "level point 1 is not a number");
}

// Sides fall into the same group exactly when they are equal, whether vertex numbers are dense (bucketed) or
// spread wide (sorted).
TEST(GroupEqualSides, GroupsExactlyTheEqualSides) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const int32_t spread = round % 2 == 0 ? 1 + round : 1000000000;
        std::uniform_int_distribution<int32_t> vertex(-spread / 2, spread / 2);
        std::vector<std::pair<int32_t, int32_t>> sides(size_t(round * 7 % 300));
        for (auto& s : sides) {
            const int32_t a = vertex(random), b = vertex(random);
            s = {std::min(a, b), std::max(a, b)};
            if (!sides.empty() && random() % 3 == 0) s = sides[random() % sides.size()];
        }
        std::vector<int32_t> groupOf;
        const size_t groups = GroupEqualSides(sides, &groupOf);
        ASSERT_EQ(groupOf.size(), sides.size());
        std::map<std::pair<int32_t, int32_t>, int32_t> groupOfSide;
        for (size_t i = 0; i < sides.size(); ++i) {
            ASSERT_LT(size_t(groupOf[i]), groups);
            const auto found = groupOfSide.emplace(sides[i], groupOf[i]);
            EXPECT_EQ(found.first->second, groupOf[i]) << "round " << round << " side " << i;
        }
        EXPECT_EQ(groupOfSide.size(), groups) << "round " << round;
    }
}

TEST(PlanTriangulation, RegionsWithoutAreaHaveNoTriangles) {
    // No ring, or a ring whose points lie on one line: no triangle, and no crash.
    std::vector<std::array<int32_t, 3>> triangles = {{1, 2, 3}};
    std::string why;
    EXPECT_TRUE(TriangulateRegion({}, {}, &triangles, &why));
    EXPECT_TRUE(triangles.empty());
    const PlanRing line = {{{0, 0, 0}, {1, 1, 0}, {3, 3, 0}}};
    EXPECT_TRUE(TriangulateRegion({line}, {{1, 2, 3}}, &triangles, &why));
    EXPECT_TRUE(triangles.empty());
    const PlanRing square = {{{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}}};
    EXPECT_TRUE(TriangulateRegion({square}, {{1, 2, 3, 4}}, &triangles, &why));
    EXPECT_EQ(triangles.size(), 2u);
}

}  // namespace model3d_test
