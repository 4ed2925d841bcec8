// What a terrain mesh's solid links make of its 3D model: a box that subtracts upwards leaves its underside as the
// ground, one that joins becomes part of the one body, one that subtracts downwards takes all below it; the
// heights, the box and the volume read the result, against closed forms and an integration over the terrain's
// own triangles written here.
#include "ProjectHost.hpp"
#include "model3d/ModelStore.hpp"
#include "assembly/HostProject.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace earthwork_test {

double Slope(double x, double y) { return 10.0 + 0.1 * x + 0.05 * y; }

struct PlanRect {
    double x0, y0, x1, y1;
};

// The part of a polygon where f >= 0, f linear along its sides.
std::vector<ModelPoint> KeepWhere(const std::vector<ModelPoint>& poly,
                                  const std::function<double(const ModelPoint&)>& f) {
    std::vector<ModelPoint> out;
    for (size_t i = 0; i < poly.size(); ++i) {
        const ModelPoint& p = poly[i];
        const ModelPoint& q = poly[(i + 1) % poly.size()];
        const double fp = f(p), fq = f(q);
        if (fp >= 0) out.push_back(p);
        if ((fp >= 0) != (fq >= 0)) {
            const double t = fp / (fp - fq);
            out.push_back({p.x + t * (q.x - p.x), p.y + t * (q.y - p.y), p.z + t * (q.z - p.z)});
        }
    }
    return out;
}

// The integral over the rectangle of max(0, sign * (T - level)), T the terrain's triangles' planes: each triangle
// cut to the rectangle and to where the integrand is positive, then the linear integrand's mean times the area.
double Integrate(const std::vector<std::array<ModelPoint, 3>>& terrain, const PlanRect& r, double level, double sign) {
    double sum = 0.0;
    for (const auto& t : terrain) {
        std::vector<ModelPoint> poly(t.begin(), t.end());
        poly = KeepWhere(poly, [&](const ModelPoint& p) { return p.x - r.x0; });
        poly = KeepWhere(poly, [&](const ModelPoint& p) { return r.x1 - p.x; });
        poly = KeepWhere(poly, [&](const ModelPoint& p) { return p.y - r.y0; });
        poly = KeepWhere(poly, [&](const ModelPoint& p) { return r.y1 - p.y; });
        poly = KeepWhere(poly, [&](const ModelPoint& p) { return sign * (p.z - level); });
        for (size_t k = 1; k + 1 < poly.size(); ++k) {
            const ModelPoint &a = poly[0], &b = poly[k], &c = poly[k + 1];
            const double area = std::abs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2.0;
            sum += area * sign * ((a.z + b.z + c.z) / 3.0 - level);
        }
    }
    return sum;
}

class EarthworkTest : public ProjectHostTest {
protected:
    API_Guid Terrain(const std::function<double(double, double)>& z, int n, double step) {
        std::vector<API_Coord3D> points;
        for (int i = 0; i <= n; ++i)
            for (int j = 0; j <= n; ++j) points.push_back({i * step, j * step, z(i * step, j * step)});
        API_Guid g = {};
        EXPECT_EQ(Db().PlaceMeshFromPoints(points, 1, "", &g), NoError) << Db().LastRefusal();
        return g;
    }
    API_Guid Box(const PlanRect& r, double z0, double z1) { return PlaceBox(r.x0, r.y0, r.x1, r.y1, z0, z1); }
    GSErrCode Link(const API_Guid& target, const API_Guid& op, uint32_t operation) {
        return Command([&] { return ACAPI_Element_SolidLink_Create(target, op, operation, 1); });
    }
    double Volume(const API_Guid& mesh) {
        API_ElementQuantity q = {};
        API_QuantityPar p = {1e-5};
        EXPECT_EQ(ACAPI_Element_GetQuantities(mesh, &p, &q), NoError);
        return q.mesh.volume;
    }
    ModelStore& Models() { return host->Project().models; }
    // A slab from 100 down to -100 round everything, with a square hole of corners (x0, y0) and (x1, y1).
    API_Guid HoledSlab(double x0, double y0, double x1, double y1) {
        API_Element e = {};
        e.header.typeID = API_SlabID;
        EXPECT_EQ(Db().GetDefaults(&e, nullptr), NoError);
        e.slab.level = 100.0;
        e.slab.thickness = 200.0;
        StoredMemo memo;
        memo.coords = std::vector<API_Coord>{{0, 0},   {-100, -100}, {-100, 100}, {100, 100}, {100, -100}, {-100, -100},
                                             {x0, y0}, {x1, y0},     {x1, y1},    {x0, y1},   {x0, y0}};
        memo.pends = std::vector<int32_t>{0, 5, 10};
        e.slab.poly.nCoords = 10;
        e.slab.poly.nSubPolys = 2;
        EXPECT_EQ(Db().PlaceElement(&e, memo, "", "Place Slab"), NoError) << Db().LastRefusal();
        return e.header.guid;
    }
    double Height(const API_Guid& mesh, double x, double y) {
        double z = std::nan("");
        std::string why;
        EXPECT_TRUE(Models().HeightAt(mesh, x, y, &z, &why)) << why << " at " << x << " " << y;
        return z;
    }
    // The vertices of the mesh's model.
    std::vector<ModelPoint> Vertices(const API_Guid& mesh) {
        std::string why;
        const std::shared_ptr<const Model3D> model = Models().ModelOf(mesh, &why);
        EXPECT_TRUE(model) << why;
        std::vector<ModelPoint> out;
        if (model)
            for (const ModelBody& b : model->bodies) out.insert(out.end(), b.vertices.begin(), b.vertices.end());
        return out;
    }
    // Whether every body of the mesh's model is closed: each edge run once each way.
    bool Closed(const API_Guid& mesh) {
        std::string why;
        const std::shared_ptr<const Model3D> model = Models().ModelOf(mesh, &why);
        if (!model) return false;
        for (const ModelBody& b : model->bodies) {
            std::vector<int> forward(b.edges.size(), 0), backward(b.edges.size(), 0);
            for (int32_t e : b.pedges) ++(e > 0 ? forward : backward)[size_t(std::abs(e) - 1)];
            for (size_t e = 0; e < b.edges.size(); ++e)
                if (forward[e] != 1 || backward[e] != 1) return false;
        }
        return true;
    }
    // The top triangles of a mesh's model as the host triangulated it.
    std::vector<std::array<ModelPoint, 3>> Top(const API_Guid& mesh) {
        std::string why;
        const std::shared_ptr<const Model3D> model = Models().ModelOf(mesh, &why);
        std::vector<std::array<ModelPoint, 3>> out;
        if (!model || model->bodies.empty()) return out;
        const ModelBody& b = model->bodies[0];
        for (int32_t p = 1; p <= int32_t(b.pgons.size()); ++p) {
            const std::vector<int32_t> v = b.PolygonVertices(p);
            if (v.size() == 3 && *std::max_element(v.begin(), v.end()) <= model->surfaceVertices)
                out.push_back(
                    {b.vertices[size_t(v[0] - 1)], b.vertices[size_t(v[1] - 1)], b.vertices[size_t(v[2] - 1)]});
        }
        return out;
    }
};

TEST_F(EarthworkTest, AnUpwardCutLeavesTheBoxUndersideAsTheGround) {
    // A sloped plane cut by a box whose underside lies below it everywhere: the volume taken is the closed form
    // A (z(centre) - d); the ground over the box is its underside, the box of the model reaches down to it.
    const API_Guid mesh = Terrain(Slope, 4, 10.0);
    const double before = Volume(mesh);
    const PlanRect r = {10, 5, 30, 15};
    ASSERT_EQ(Link(mesh, Box(r, 8.0, 40.0), APISolid_SubtractUpwards), NoError);
    EXPECT_NEAR(before - Volume(mesh), 200.0 * (Slope(20, 10) - 8.0), 1e-9);
    EXPECT_EQ(Height(mesh, 20, 10), 8.0);
    EXPECT_EQ(Height(mesh, 10.5, 14.5), 8.0);
    EXPECT_NEAR(Height(mesh, 35, 18), Slope(35, 18), 1e-12);
    for (const ModelPoint& v : Vertices(mesh))
        if (v.x > r.x0 && v.x < r.x1 && v.y > r.y0 && v.y < r.y1) {
            EXPECT_LE(v.z, 8.0) << v.x << " " << v.y;
        }
    API_Element e = {};
    e.header.guid = mesh;
    API_Box3D box = {};
    ASSERT_EQ(ACAPI_Database(APIDb_CalcBoundsID, &e, &box), NoError);
    EXPECT_EQ(box.zMin, 8.0);
    EXPECT_NEAR(box.zMax, Slope(40, 40), 1e-12);

    EXPECT_TRUE(Closed(mesh));
    // A thin box by the terrain's border: the columns round it are taken with the skirt under them.
    const API_Guid edge = Terrain(Slope, 4, 10.0);
    ASSERT_EQ(Link(edge, Box({0.5, 24.0, 0.6, 26.0}, 5.0, 40.0), APISolid_SubtractUpwards), NoError);
    EXPECT_TRUE(Closed(edge));
    EXPECT_EQ(Height(edge, 0.55, 25), 5.0);

    // On flat ground the same.
    const API_Guid flat = Terrain([](double, double) { return 5.0; }, 4, 10.0);
    const double flatBefore = Volume(flat);
    ASSERT_EQ(Link(flat, Box({12, 12, 18, 22}, 2.0, 9.0), APISolid_SubtractUpwards), NoError);
    EXPECT_NEAR(flatBefore - Volume(flat), 60.0 * 3.0, 1e-9);
    EXPECT_EQ(Height(flat, 15, 20), 2.0);
}

TEST_F(EarthworkTest, TheFloorLiesBelowTheDeepestBody) {
    // A plateau cut 10 below flat ground at 0: the whole depth is taken, none of it cut off by the floor, and the
    // floor of every mesh lies below the box, so that a mesh without links keeps the same base.
    const API_Guid mesh = Terrain([](double, double) { return 0.0; }, 3, 10.0);
    const API_Guid copy = Terrain([](double, double) { return 0.0; }, 3, 10.0);
    ASSERT_EQ(Link(mesh, Box({10, 10, 20, 20}, -10.0, 5.0), APISolid_SubtractUpwards), NoError);
    EXPECT_NEAR(Volume(copy) - Volume(mesh), 100.0 * 10.0, 1e-9);
    EXPECT_EQ(Height(mesh, 15, 15), -10.0);
    double lowest = 0.0;
    for (const ModelPoint& v : Vertices(mesh)) lowest = std::min(lowest, v.z);
    EXPECT_LT(lowest, -10.0);
    EXPECT_NEAR(Volume(copy), 900.0 * -lowest, 1e-9);
    // A copy without the links (as a road drapes its edges on) reads the ground as it was.
    EXPECT_EQ(Height(copy, 15, 15), 0.0);
    // The copy of the same points shares the solid, floor and all.
    std::string why;
    EXPECT_EQ(Models().MeshSolidOf(copy, &why), Models().MeshSolidOf(mesh, &why));
}

TEST_F(EarthworkTest, DownwardSubtractionTakesAllBelowTheBodysTop) {
    // A box whose top lies below the ground subtracts downwards: below its top nothing is left over its plan, the
    // ground above it stays as a piece of its own.
    const API_Guid mesh = Terrain(Slope, 4, 10.0);
    const double before = Volume(mesh);
    double floor = 0.0;
    for (const ModelPoint& v : Vertices(mesh)) floor = std::min(floor, v.z);
    ASSERT_EQ(Link(mesh, Box({10, 0, 20, 10}, 5.0, 10.5), APISolid_SubtractDownwards), NoError);
    EXPECT_NEAR(before - Volume(mesh), 100.0 * (10.5 - floor), 1e-9);
    EXPECT_NEAR(Height(mesh, 15, 5), Slope(15, 5), 1e-12);
    for (const ModelPoint& v : Vertices(mesh))
        if (v.x > 10 && v.x < 20 && v.y > 0 && v.y < 10) {
            EXPECT_GE(v.z, 10.5) << v.x << " " << v.y;
        }
}

TEST_F(EarthworkTest, VolumesAndHeightsAgreeWithAnIntegrationOverTheTerrain) {
    // Random uneven terrains, each with a box that cuts upward and one that joins, apart from each other: the
    // volume the links change is the integral of max(0, T - d) taken and max(0, t - T) added over the boxes'
    // plans, and the ground over each box is its underside or its top where those lie inside the terrain.
    std::mt19937 rng(23);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int round = 0; round < 6; ++round) {
        std::vector<double> heights(100);
        for (double& h : heights) h = 20.0 * unit(rng);
        const auto z = [&](double x, double y) {
            return heights[size_t(std::lround(x / 10.0) * 10 + std::lround(y / 10.0))];
        };
        const API_Guid plain = Terrain(z, 9, 10.0);
        const API_Guid mesh = Terrain(z, 9, 10.0);
        const std::vector<std::array<ModelPoint, 3>> top = Top(plain);
        ASSERT_FALSE(top.empty());
        // The cut in the west half, the fill in the east half, corners anywhere in them.
        const auto rect = [&](double x0) {
            const double a = x0 + 40.0 * unit(rng), b = x0 + 40.0 * unit(rng);
            const double c = 5.0 + 80.0 * unit(rng), d = 5.0 + 80.0 * unit(rng);
            return PlanRect{std::min(a, b), std::min(c, d), std::max(a, b) + 0.5, std::max(c, d) + 0.5};
        };
        PlanRect cut = rect(2.0), fill = rect(46.0);
        // Every other round the boxes reach the terrain's border.
        if (round % 2 == 1) cut.x0 = 0.0, fill.y1 = 90.0;
        const double d = 5.0 + 10.0 * unit(rng), t = 5.0 + 20.0 * unit(rng);
        ASSERT_EQ(Link(mesh, Box(cut, d, 100.0), APISolid_SubtractUpwards), NoError);
        ASSERT_EQ(Link(mesh, Box(fill, -5.0, t), APISolid_Add), NoError);
        EXPECT_TRUE(Closed(mesh)) << "round " << round;
        const double expected = Integrate(top, fill, t, -1.0) - Integrate(top, cut, d, 1.0);
        const double changed = Volume(mesh) - Volume(plain);
        EXPECT_NEAR(changed, expected, 1e-7 * (1.0 + std::abs(expected))) << "round " << round;
        for (int k = 0; k < 20; ++k) {
            const double x = cut.x0 + (cut.x1 - cut.x0) * unit(rng), y = cut.y0 + (cut.y1 - cut.y0) * unit(rng);
            const double fx = fill.x0 + (fill.x1 - fill.x0) * unit(rng), fy = fill.y0 + (fill.y1 - fill.y0) * unit(rng);
            double ground = 0.0, fillGround = 0.0;
            std::string why;
            ASSERT_TRUE(Models().HeightAt(plain, x, y, &ground, &why)) << why;
            ASSERT_TRUE(Models().HeightAt(plain, fx, fy, &fillGround, &why)) << why;
            EXPECT_NEAR(Height(mesh, x, y), std::min(ground, d), 1e-9) << "round " << round;
            EXPECT_NEAR(Height(mesh, fx, fy), std::max(fillGround, t), 1e-9) << "round " << round;
        }
    }
}

TEST_F(EarthworkTest, AHeightProbeSeesTheEarthworkAndLeavesTheModelAsItWas) {
    // The module's probe: a slab far round the terrain, above it, with a small square hole, subtracting
    // downwards; the highest vertex at the hole's corner is the height there. Over a box that cuts it is the box's
    // underside, over one that joins its top; taking the probe away finds the model built before it.
    const API_Guid mesh = Terrain(Slope, 4, 10.0);
    ASSERT_EQ(Link(mesh, Box({5, 5, 15, 15}, 9.0, 50.0), APISolid_SubtractUpwards), NoError);
    ASSERT_EQ(Link(mesh, Box({25, 5, 35, 15}, 0.0, 16.0), APISolid_Add), NoError);
    const size_t whole = Vertices(mesh).size();
    const int builds = Models().ModelBuilds();
    for (const auto& [x, y, expected] :
         std::vector<std::array<double, 3>>{{10, 10, 9.0}, {30, 10, 16.0}, {20, 30, Slope(20, 30)}}) {
        const API_Guid slab = HoledSlab(x, y, x + 0.5, y - 0.5);
        ASSERT_EQ(Link(mesh, slab, APISolid_SubtractDownwards), NoError);
        double highest = -1e9;
        for (const ModelPoint& v : Vertices(mesh)) {
            EXPECT_TRUE(v.x >= x - 1e-9 && v.x <= x + 0.5 + 1e-9 && v.y >= y - 0.5 - 1e-9 && v.y <= y + 1e-9);
            if (std::abs(v.x - x) <= 1e-7 && std::abs(v.y - y) <= 1e-7) highest = std::max(highest, v.z);
        }
        EXPECT_NEAR(highest, expected, 1e-9) << x << " " << y;
        ASSERT_EQ(Command([&] { return ACAPI_Element_SolidLink_Remove(mesh, slab); }), NoError);
        EXPECT_EQ(Vertices(mesh).size(), whole);
    }
    EXPECT_EQ(Models().ModelBuilds(), builds + 3);
}

TEST_F(EarthworkTest, ABodyThatCrossesItselfGivesAReasonNotAModel) {
    // Two boxes through each other given as one body: the solid operation cannot be computed; the model and the
    // volume are refused with the reason, and the mesh is whole again once the link is gone.
    const API_Guid mesh = Terrain(Slope, 4, 10.0);
    const double before = Volume(mesh);
    const API_Guid op = PlaceObject(API_ObjectID, libA, "");
    StoredBody b;
    b.vertices = {{10, 10, 0},  {20, 10, 0},  {20, 20, 0},  {10, 20, 0}, {10, 10, 30}, {20, 10, 30},
                  {20, 20, 30}, {10, 20, 30}, {15, 5, 5},   {25, 5, 5},  {25, 15, 5},  {15, 15, 5},
                  {15, 5, 25},  {25, 5, 25},  {25, 15, 25}, {15, 15, 25}};
    b.polygons = {{1, 4, 3, 2},    {5, 6, 7, 8},     {1, 2, 6, 5},     {2, 3, 7, 6},
                  {3, 4, 8, 7},    {4, 1, 5, 8},     {9, 12, 11, 10},  {13, 14, 15, 16},
                  {9, 10, 14, 13}, {10, 11, 15, 14}, {11, 12, 16, 15}, {12, 9, 13, 16}};
    ASSERT_EQ(Db().GiveBodies(op, {b}), NoError);
    ASSERT_EQ(Link(mesh, op, APISolid_Add), NoError);
    API_Elem_Head head = {};
    head.guid = mesh;
    API_ElemInfo3D info;
    EXPECT_EQ(ACAPI_Element_Get3DInfo(head, &info), APIERR_GENERAL);
    API_ElementQuantity q = {};
    API_QuantityPar p = {1e-5};
    EXPECT_NE(ACAPI_Element_GetQuantities(mesh, &p, &q), NoError);
    std::string why;
    EXPECT_FALSE(Models().ModelOf(mesh, &why));
    EXPECT_NE(why.find("crosses itself"), std::string::npos) << why;
    ASSERT_EQ(Command([&] { return ACAPI_Element_SolidLink_Remove(mesh, op); }), NoError);
    EXPECT_EQ(Volume(mesh), before);
}

TEST_F(EarthworkTest, ASlabWhoseHoleHoldsTheTerrainLeavesItsSolidAsItIs) {
    // The module's cut round a terrain's own outline takes nothing of it: the solid is the one built before, the
    // joined box stays whole where it lies inside the hole, and the volume does not change.
    const API_Guid mesh = Terrain(Slope, 4, 10.0);
    ASSERT_EQ(Link(mesh, Box({25, 5, 35, 15}, 0.0, 16.0), APISolid_Add), NoError);
    std::string why;
    const std::shared_ptr<const ModelBody> solid = Models().MeshSolidOf(mesh, &why);
    const double before = Volume(mesh);
    const API_Guid slab = HoledSlab(-1, -1, 41, 41);
    ASSERT_EQ(Link(mesh, slab, APISolid_SubtractDownwards), NoError);
    EXPECT_EQ(Models().MeshSolidOf(mesh, &why), solid);
    EXPECT_EQ(Volume(mesh), before);
    EXPECT_EQ(Height(mesh, 30, 10), 16.0);
}

}  // namespace earthwork_test
