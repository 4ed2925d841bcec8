// The bodies of objects that stand on the terrain (walls, retaining walls, buildings, basins' water, bridge decks),
// built from their own parameters and, where the terrain subtracts downwards from them, cut by the ground: their
// volumes against closed forms on flat and sloping ground, and parameters that give no body.
#include "AddOnParts.hpp"
#include "ProjectHost.hpp"
#include "assembly/HostProject.hpp"
#include "model3d/ExactSolid.hpp"

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace standing_bodies_test {

using Rows = std::vector<std::vector<double>>;

class StandingBodiesTest : public OwnLibraryHostTest {
protected:
    // A terrain of the grid points (0 .. size by step in x and y) at height(x, y).
    template <typename F>
    API_Guid Terrain(double size, double step, F height) {
        std::vector<API_Coord3D> grid;
        for (double x = 0; x <= size + 1e-9; x += step)
            for (double y = 0; y <= size + 1e-9; y += step) grid.push_back({x, y, height(x, y)});
        API_Guid mesh = {};
        EXPECT_EQ(Db().PlaceMeshFromPoints(grid, 1, "T" + std::to_string(++placed), &mesh), NoError);
        return mesh;
    }
    API_Guid Place(const std::string& part, double x, double y, const std::map<std::string, double>& numbers,
                   const std::map<std::string, Rows>& arrays, const std::map<std::string, std::u16string>& texts = {}) {
        return PlaceAddOnPart(Db(), host->Project().libraries, part, {x, y}, 0.0, 1, {numbers, arrays, texts},
                              part + " " + std::to_string(++placed));
    }
    // The terrain subtracts downwards from the object.
    void StandOn(const API_Guid& object, const API_Guid& mesh) {
        EXPECT_EQ(Command([&] { return ACAPI_Element_SolidLink_Create(object, mesh, APISolid_SubtractDownwards, 1); }),
                  NoError);
    }
    // The volume of the object's 3D model, each body measured as a closed solid; NaN when it has no model.
    double Volume(const API_Guid& object) {
        std::string why;
        const std::shared_ptr<const Model3D> model = host->Project().models.ModelOf(object, &why);
        if (!model) return std::numeric_limits<double>::quiet_NaN();
        double volume = 0.0;
        for (const ModelBody& body : model->bodies) {
            ExactSolid solid;
            EXPECT_TRUE(SolidFromBody(body, &solid));
            for (ExactSolid::Face_index f : solid.faces()) {
                std::vector<std::array<double, 3>> c;
                for (ExactSolid::Vertex_index v : CGAL::vertices_around_face(solid.halfedge(f), solid))
                    c.push_back({CGAL::to_double(solid.point(v).x()), CGAL::to_double(solid.point(v).y()),
                                 CGAL::to_double(solid.point(v).z())});
                // The tetrahedron from the origin to each triangle of the (triangulated) solid.
                volume += (c[0][0] * (c[1][1] * c[2][2] - c[1][2] * c[2][1]) -
                           c[0][1] * (c[1][0] * c[2][2] - c[1][2] * c[2][0]) +
                           c[0][2] * (c[1][0] * c[2][1] - c[1][1] * c[2][0])) /
                    6.0;
            }
        }
        return volume;
    }
    std::string NoBody(const API_Guid& object) {
        std::string why;
        const std::shared_ptr<const Model3D> model = host->Project().models.ModelOf(object, &why);
        return model && model->bodies.empty() ? model->noBody : "(bodies)";
    }
    int placed = 0;
};

Rows Box(double a, double b) { return {{0, 0, 0, 0}, {a, 0, 0, 0}, {a, b, 0, 0}, {0, b, 0, -1}}; }

TEST_F(StandingBodiesTest, ABuildingKeepsWhatStandsAboveTheGroundFlatOrSloping) {
    const double a = 12, b = 7, h = 9;
    const API_Guid flat = Terrain(100, 10, [](double, double) { return 100.0; });
    const API_Guid building = Place("VY_BUILDING", 30, 40, {{"ZZYZX", 100 + h}}, {{"perimetro_base", Box(a, b)}});
    // Unlinked, it stands on its own level (0); on the terrain it keeps a b h.
    EXPECT_NEAR(Volume(building), a * b * (100 + h), 1e-9);
    StandOn(building, flat);
    EXPECT_NEAR(Volume(building), a * b * h, 1e-9);
    // A courtyard: the contours after the first are holes.
    Rows yard = Box(a, b);
    for (const Rows::value_type& r : Rows{{3, 2, 0, 0}, {3, 5, 0, 0}, {8, 5, 0, 0}, {8, 2, 0, -1}}) yard.push_back(r);
    const API_Guid ring = Place("VY_BUILDING", 30, 40, {{"ZZYZX", 100 + h}}, {{"perimetro_base", yard}});
    StandOn(ring, flat);
    EXPECT_NEAR(Volume(ring), (a * b - 15) * h, 1e-9);
    // On the plane z = 100 + g x the cut takes the wedge under the plane: a b (top - 100 - g xMid).
    for (const double g : {0.05, 0.2}) {
        const API_Guid slope = Terrain(100, 10, [&](double x, double) { return 100.0 + g * x; });
        for (const double x0 : {20.0, 47.5}) {
            const double top = 100 + g * 100 + 3;
            const API_Guid on = Place("VY_BUILDING", x0, 30, {{"ZZYZX", top}}, {{"perimetro_base", Box(a, b)}});
            StandOn(on, slope);
            EXPECT_NEAR(Volume(on), a * b * (top - 100 - g * (x0 + a / 2)), 1e-7) << g << " " << x0;
        }
    }
}

TEST_F(StandingBodiesTest, ABuildingsHippedRoofRisesFromEverySideAtItsAngleAboveTheEaves) {
    const double h = 9, pi = std::acos(-1.0);
    const API_Guid flat = Terrain(100, 10, [](double, double) { return 100.0; });
    const auto roofed = [&](double t, const Rows& outline, double on = 1) {
        return Place("VY_BUILDING", 30, 40, {{"ZZYZX", 100 + h}, {"mostra_falda", on}, {"angolo_falda", t}},
                     {{"perimetro_base", outline}});
    };
    for (const double t : {0.2, 0.4363323129985824, 1.1}) {
        // A rectangle a by b (a >= b): the hip roof holds tan t b^2 (3 a - b) / 12, a square's pyramid a^3 tan t / 6.
        for (const std::array<double, 2> ab : {std::array<double, 2>{12, 7}, std::array<double, 2>{8, 8}}) {
            const double a = ab[0], b = ab[1], roof = std::tan(t) * b * b * (3 * a - b) / 12;
            const API_Guid building = roofed(t, Box(a, b));
            EXPECT_NEAR(Volume(building), a * b * (100 + h) + roof, 1e-9 * a * b * (100 + h)) << t << " " << a;
            StandOn(building, flat);
            EXPECT_NEAR(Volume(building), a * b * h + roof, 1e-9 * a * b * h) << t << " " << a;
            std::string why;
            double z = 0.0;
            EXPECT_TRUE(host->Project().models.HeightAt(building, 30 + a / 2, 40 + b / 2, &z, &why)) << why;
            EXPECT_NEAR(z, 100 + h + std::tan(t) * b / 2, 1e-9);
            // Points along a side (as arcs and traced outlines give) change nothing.
            const API_Guid dotted = roofed(t,
                                           {{0, 0, 0, 0},
                                            {a / 3, 0, 0, 0},
                                            {a, 0, 0, 0},
                                            {a, b / 2, 0, 0},
                                            {a, b, 0, 0},
                                            {a / 2, b, 0, 0},
                                            {0, b, 0, -1}});
            StandOn(dotted, flat);
            EXPECT_NEAR(Volume(dotted), a * b * h + roof, 1e-9 * a * b * h) << t << " " << a;
        }
        // A square courtyard c wide amid a square A wide: the faces from both meet halfway between them,
        // tan t (A + c) (A - c)^2 / 8.
        const double A = 20, c = 6;
        Rows yard = Box(A, A);
        for (const Rows::value_type& r : Rows{{7, 7, 0, 0}, {7, 13, 0, 0}, {13, 13, 0, 0}, {13, 7, 0, -1}})
            yard.push_back(r);
        const API_Guid ring = roofed(t, yard);
        StandOn(ring, flat);
        const double roof = std::tan(t) * (A + c) * (A - c) * (A - c) / 8;
        EXPECT_NEAR(Volume(ring), (A * A - c * c) * h + roof, 1e-9 * A * A * h) << t;
        // An L of arms p and q long and w wide: its sides move in by d to an L of area (p - 2d)(q - 2d) - (p -
        // w)(q - w) until d = w / 2, which gives tan t w^2 (3 (p + q) - 4 w) / 12.
        const double p = 20, q = 14, w = 6;
        const API_Guid ell =
            roofed(t, {{0, 0, 0, 0}, {p, 0, 0, 0}, {p, w, 0, 0}, {w, w, 0, 0}, {w, q, 0, 0}, {0, q, 0, -1}});
        StandOn(ell, flat);
        const double area = p * q - (p - w) * (q - w);
        EXPECT_NEAR(Volume(ell), area * h + std::tan(t) * w * w * (3 * (p + q) - 4 * w) / 12, 1e-9 * area * h) << t;
    }
    // Off, the block alone, whatever its angle; on, an angle not strictly between 0 and 90 degrees builds nothing.
    const API_Guid off = roofed(0.0, Box(12, 7), 0);
    StandOn(off, flat);
    EXPECT_NEAR(Volume(off), 12 * 7 * h, 1e-9);
    for (const double t : {0.0, -0.3, pi / 2, 2.0}) {
        const API_Guid bad = roofed(t, Box(12, 7));
        StandOn(bad, flat);
        EXPECT_EQ(NoBody(bad), "the roof angle angolo_falda is not between 0 and 90 degrees") << t;
    }
}

TEST_F(StandingBodiesTest, OverAConvexOutlineTheRoofIsTheLowestOfItsSidesPlanes) {
    // Over a convex outline each side's face reaches in until another's lies lower: the roof's height at a point
    // is the eaves plus tan t times its distance to the nearest side.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double pi = std::acos(-1.0), h = 6;
    const API_Guid flat = Terrain(100, 25, [](double, double) { return 100.0; });
    int probed = 0;
    for (int round = 0; round < 5; ++round) {
        const int n = 3 + round * 2;
        Rows outline;
        for (int k = 0; k < n; ++k) {
            const double a = 2 * pi * (k + 0.6 * unit(random)) / n, r = 10;
            outline.push_back({r * std::cos(a), r * std::sin(a), 0, k + 1 == n ? -1.0 : 0.0});
        }
        const double t = 0.2 + unit(random);
        const API_Guid building =
            Place("VY_BUILDING", 50, 50, {{"ZZYZX", 100 + h}, {"mostra_falda", 1}, {"angolo_falda", t}},
                  {{"perimetro_base", outline}});
        StandOn(building, flat);
        for (int probe = 0; probe < 20; ++probe) {
            const double x = 8 * (unit(random) - 0.5), y = 8 * (unit(random) - 0.5);
            // Counter-clockwise: the distance to a side's line is signed, positive inside.
            double nearest = 1e9;
            for (int k = 0; k < n; ++k) {
                const std::vector<double>&p = outline[size_t(k)], &q = outline[size_t((k + 1) % n)];
                const double len = std::hypot(q[0] - p[0], q[1] - p[1]);
                nearest = std::min(nearest, ((q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0])) / len);
            }
            if (nearest < 0.1) continue;
            std::string why;
            double z = 0.0;
            ASSERT_TRUE(host->Project().models.HeightAt(building, 50 + x, 50 + y, &z, &why)) << why;
            EXPECT_NEAR(z, 100 + h + std::tan(t) * nearest, 1e-7) << round << " " << x << " " << y;
            ++probed;
        }
    }
    EXPECT_GE(probed, 50);
}

TEST_F(StandingBodiesTest, OverRandomStarShapedOutlinesTheRoofIsAClosedBodyAboveTheEaves) {
    // Concave outlines, whose skeletons split: the body still closes, holds more than the block and less than
    // the block raised by the roof's rise over the outline's widest reach.
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double pi = std::acos(-1.0), h = 6;
    const API_Guid flat = Terrain(100, 25, [](double, double) { return 100.0; });
    for (int round = 0; round < 12; ++round) {
        const int n = 5 + round;
        Rows outline;
        for (int k = 0; k < n; ++k) {
            const double a = 2 * pi * (k + 0.8 * unit(random)) / n, r = 4 + 8 * unit(random);
            outline.push_back({r * std::cos(a), r * std::sin(a), 0, k + 1 == n ? -1.0 : 0.0});
        }
        double area = 0;
        for (int k = 0; k < n; ++k) {
            const std::vector<double>&p = outline[size_t(k)], &q = outline[size_t((k + 1) % n)];
            area += (p[0] * q[1] - q[0] * p[1]) / 2;
        }
        const double t = 0.2 + unit(random);
        const API_Guid building =
            Place("VY_BUILDING", 50, 50, {{"ZZYZX", 100 + h}, {"mostra_falda", 1}, {"angolo_falda", t}},
                  {{"perimetro_base", outline}});
        StandOn(building, flat);
        const double volume = Volume(building);
        EXPECT_GT(volume, area * h * (1 + 1e-6)) << round;
        EXPECT_LT(volume, area * (h + std::tan(t) * 12)) << round;
        std::string why;
        double z = 0.0;
        EXPECT_TRUE(host->Project().models.HeightAt(building, 50, 50, &z, &why)) << why;
        EXPECT_GT(z, 100 + h) << round;
    }
}

TEST_F(StandingBodiesTest, OnRandomPlanesBuildingsAndStraightWallsKeepTheirClosedForms) {
    // A building over a star-shaped outline keeps area (top - ground at its centroid); a straight wall centred on
    // its path keeps L t H, the plane rising as much on one side of it as it falls on the other.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const double pi = std::acos(-1.0);
    for (int round = 0; round < 6; ++round) {
        const double gx = 0.3 * (unit(random) - 0.5), gy = 0.3 * (unit(random) - 0.5);
        const API_Guid plane = Terrain(100, 20, [&](double x, double y) { return 50 + gx * x + gy * y; });
        Rows outline;
        const int n = 3 + int(unit(random) * 6);
        double area = 0, cx = 0, cy = 0;
        for (int k = 0; k < n; ++k) {
            const double a = 2 * pi * (k + 0.8 * unit(random)) / n, r = 4 + 8 * unit(random);
            outline.push_back({r * std::cos(a), r * std::sin(a), 0, k + 1 == n ? -1.0 : 0.0});
        }
        for (int k = 0; k < n; ++k) {
            const std::vector<double>&p = outline[size_t(k)], &q = outline[size_t((k + 1) % n)];
            const double cross = p[0] * q[1] - q[0] * p[1];
            area += cross / 2, cx += (p[0] + q[0]) * cross / 6, cy += (p[1] + q[1]) * cross / 6;
        }
        const double x0 = 30 + 40 * unit(random), y0 = 30 + 40 * unit(random), top = 90;
        const API_Guid building = Place("VY_BUILDING", x0, y0, {{"ZZYZX", top}}, {{"perimetro_base", outline}});
        StandOn(building, plane);
        const double ground = 50 + gx * (x0 + cx / area) + gy * (y0 + cy / area);
        EXPECT_NEAR(Volume(building), area * (top - ground), 1e-7 * area * top) << round;

        const double a = 2 * pi * unit(random), length = 10 + 30 * unit(random), t = 0.2 + unit(random);
        const double h = 1 + 3 * unit(random), wx = 50 - length / 2 * std::cos(a), wy = 50 - length / 2 * std::sin(a);
        const double ex = wx + length * std::cos(a), ey = wy + length * std::sin(a);
        const Rows path = {{0, 0, 50 + gx * wx + gy * wy, 0}, {ex - wx, ey - wy, 50 + gx * ex + gy * ey, 0}};
        const API_Guid wall = Place("VY_WALL", wx, wy, {{"spessore", t}, {"ZZYZX", h}}, {{"perimetro_base", path}},
                                    {{"posizione", u"centre"}});
        StandOn(wall, plane);
        EXPECT_NEAR(Volume(wall), length * t * h, 1e-7 * length * t * h) << round;
    }
}

TEST_F(StandingBodiesTest, ABasinHoldsTheWaterBetweenTheGroundAndItsLevel) {
    // A bowl z = 100 + 0.01 ((x - 50)^2 + (y - 50)^2) sampled at 5 m: the water over a square at level 101 is
    // the sum over the grid's planar triangles; on flat ground it is the area times the depth.
    const API_Guid flat = Terrain(100, 25, [](double, double) { return 100.0; });
    const Rows square = {{0, 0, 0}, {20, 0, 0}, {20, 20, 0}, {0, 20, -1}};
    for (const double level : {100.5, 103.0}) {
        const API_Guid basin = Place("VY_BASIN", 40, 40, {{"ZZYZX", level}}, {{"perimetro_base", square}});
        StandOn(basin, flat);
        EXPECT_NEAR(Volume(basin), 400 * (level - 100), 1e-9) << level;
    }
    // Below the ground it holds nothing; a level under 0 is carried by negative_level.
    const API_Guid dry =
        Place("VY_BASIN", 40, 40, {{"ZZYZX", 0}, {"negative_level", -2}}, {{"perimetro_base", square}});
    StandOn(dry, flat);
    EXPECT_EQ(Volume(dry), 0.0);
    EXPECT_EQ(NoBody(dry), "");
}

TEST_F(StandingBodiesTest, WallsStandTheirThicknessTimesTheirHeightAlongTheirPath) {
    const API_Guid flat = Terrain(200, 50, [](double, double) { return 100.0; });
    const double t = 0.45, height = 3;
    // Straight, on either side of its path; along a bend, centred, its mitred plan is the path's length times t.
    const Rows straight = {{0, 0, 100, 0}, {40, 0, 100, 0}};
    const Rows bend = {{0, 0, 100, 0}, {30, 0, 100, 0}, {30, 25, 100, 0}, {10, 45, 100, 0}};
    const double bendLength = 30 + 25 + std::hypot(20, 20);
    for (const char16_t* side : {u"left", u"right", u"centre"})
        for (const Rows* path : {&straight, &bend}) {
            const API_Guid wall = Place("VY_WALL", 60, 60, {{"spessore", t}, {"ZZYZX", height}},
                                        {{"perimetro_base", *path}}, {{"posizione", side}});
            StandOn(wall, flat);
            const double length = path == &straight ? 40 : bendLength;
            if (path == &straight || side[0] == u'c')
                EXPECT_NEAR(Volume(wall), length * t * height, 1e-9);
            else
                EXPECT_GT(Volume(wall), 0.0);
        }
}

TEST_F(StandingBodiesTest, AWallStandsOnTheSideItsPositionNamesTurnedWithItsObject) {
    // A path along the object's x axis, the object turned a quarter: the path runs up the plan's y axis from
    // (50, 50), so its left lies towards smaller x.
    const API_Guid flat = Terrain(100, 50, [](double, double) { return 100.0; });
    const Rows path = {{0, 0, 100, 0}, {20, 0, 100, 0}};
    for (const char16_t* side : {u"left", u"right"}) {
        const API_Guid wall =
            PlaceAddOnPart(Db(), host->Project().libraries, "VY_WALL", {50, 50}, std::acos(0.0), 1,
                           {{{"spessore", 1.0}, {"ZZYZX", 2.0}}, {{"perimetro_base", path}}, {{"posizione", side}}},
                           "W" + std::to_string(++placed));
        StandOn(wall, flat);
        std::string why;
        double z = 0.0;
        const bool left = side[0] == u'l';
        EXPECT_TRUE(host->Project().models.HeightAt(wall, left ? 49.5 : 50.5, 60, &z, &why)) << why;
        EXPECT_NEAR(z, 102.0, 1e-9);
        EXPECT_FALSE(host->Project().models.HeightAt(wall, left ? 50.5 : 49.5, 60, &z, &why));
    }
}

TEST_F(StandingBodiesTest, ARetainingWallStandsBetweenItsFacesLeaningInAtTheirAngles) {
    const double length = 50, t = 1.5, height = 2.5, pi = std::acos(-1.0);
    const Rows near = {{0, 0, 100, 0}, {20, 0, 100, 0}, {length, 0, 100, 0}};
    const Rows far = {{0, t, 100, 0}, {length, t, 100, 0}};
    for (const double left : {pi / 2, 1.4})
        for (const double right : {pi / 2, 1.3}) {
            const API_Guid wall = Place("VY_RETAINING_WALL", 10, 10,
                                        {{"ZZYZX", height}, {"slope_SX_fill", left}, {"slope_DX_fill", right}},
                                        {{"perimetro_base_SX", far}, {"perimetro_base_DX", near}});
            const double run = 1 / std::tan(left) + 1 / std::tan(right);
            EXPECT_NEAR(Volume(wall), length * (t * height - height * height * run / 2), 1e-9) << left << " " << right;
        }
}

TEST_F(StandingBodiesTest, ABridgeKeepsItsDeckAboveTheGroundAndItsSidewalksOnIt) {
    const API_Guid flat = Terrain(200, 50, [](double, double) { return 100.0; });
    const double length = 60, w = 6, th = 0.2, wl = 0.5, tl = 0.1, wr = 0.8, tr = 0.15;
    const std::map<std::string, double> sizes = {{"roadWidth", w},
                                                 {"bridgeThick", th},
                                                 {"bSidewalkOnLeft", 1},
                                                 {"sidewalkWidthOnLeft", wl},
                                                 {"sideWalkThickOnLeft", tl},
                                                 {"bSidewalkOnRight", 1},
                                                 {"sidewalkWidthOnRight", wr},
                                                 {"sideWalkThickOnRight", tr}};
    // Each railing is a band 0.05 m thick and 1 m high on the deck's outer edge.
    const double walks = length * (wl * tl + wr * tr), railings = 2 * length * 0.05 * 1.0;
    // High over the ground: the whole deck; lying on it: the deck is below the ground, the sidewalks and the
    // railings on them stay.
    for (const double z : {110.0, 100.0}) {
        const API_Guid bridge =
            Place("VY_BRIDGE", 50, 50, sizes, {{"perimetro_base", {{0, 0, z, 0}, {length, 0, z, 0}}}});
        StandOn(bridge, flat);
        const double deck = z > 100 ? length * (w + wl + wr) * th : 0.0;
        EXPECT_NEAR(Volume(bridge), deck + walks + railings, 1e-9) << z;
        // The path runs along x from (50, 50): the left railing on the sidewalk's outer edge, the right one too.
        std::string why;
        double top = 0.0;
        EXPECT_TRUE(host->Project().models.HeightAt(bridge, 80, 50 + w / 2 + wl - 0.02, &top, &why)) << why;
        EXPECT_NEAR(top, z + tl + 1.0, 1e-9);
        EXPECT_TRUE(host->Project().models.HeightAt(bridge, 80, 50 + w / 2 + wl - 0.1, &top, &why)) << why;
        EXPECT_NEAR(top, z + tl, 1e-9);
        EXPECT_TRUE(host->Project().models.HeightAt(bridge, 80, 50 - w / 2 - wr + 0.02, &top, &why)) << why;
        EXPECT_NEAR(top, z + tr + 1.0, 1e-9);
    }
    // Without a sidewalk the railing stands on the road's edge; a railing that is off is not built.
    std::map<std::string, double> bare = sizes;
    bare["bSidewalkOnLeft"] = 0, bare["bRailingOnRight"] = 0;
    const double z = 110;
    const API_Guid bridge = Place("VY_BRIDGE", 50, 50, bare, {{"perimetro_base", {{0, 0, z, 0}, {length, 0, z, 0}}}});
    StandOn(bridge, flat);
    EXPECT_NEAR(Volume(bridge), length * ((w + wr) * th + wr * tr + 0.05 * 1.0), 1e-9);
    std::string why;
    double top = 0.0;
    EXPECT_TRUE(host->Project().models.HeightAt(bridge, 80, 50 + w / 2 - 0.02, &top, &why)) << why;
    EXPECT_NEAR(top, z + 1.0, 1e-9);
    EXPECT_TRUE(host->Project().models.HeightAt(bridge, 80, 50 - w / 2 - wr + 0.02, &top, &why)) << why;
    EXPECT_NEAR(top, z + tr, 1e-9);
}

TEST_F(StandingBodiesTest, ABridgesTracksLieOnItsRoadTwoRailsOnTiesEach) {
    // Ties 0.25 m wide, 0.15 m deep and the gauge + 1 m long, centred every DistTie from DistTie / 2 while a
    // whole tie fits; rails 0.07 m wide and 0.15 m high on them, their inner faces the gauge apart.
    const API_Guid flat = Terrain(200, 50, [](double, double) { return 100.0; });
    const double length = 60, w = 6, th = 0.2, z = 110, gauge = 1.435, spacing = 0.9;
    const std::map<std::string, double> bare = {{"roadWidth", w},        {"bridgeThick", th},   {"bSidewalkOnLeft", 0},
                                                {"bSidewalkOnRight", 0}, {"bRailingOnLeft", 0}, {"bRailingOnRight", 0},
                                                {"GaugeTrack", gauge},   {"DistTie", spacing}};
    const Rows path = {{0, 0, z, 0}, {length, 0, z, 0}};
    const double ties = std::floor((length - 0.125 - spacing / 2) / spacing) + 1;
    for (const int tracks : {1, 2}) {
        std::map<std::string, double> sizes = bare;
        sizes["bRailroad"] = 1, sizes["num_track"] = tracks;
        const API_Guid bridge = Place("VY_BRIDGE", 50, 50, sizes, {{"perimetro_base", path}});
        StandOn(bridge, flat);
        const double track = ties * (gauge + 1.0) * 0.25 * 0.15 + 2 * length * 0.07 * 0.15;
        // Many small boxes far from the origin: a relative bound.
        const double volume = length * w * th + tracks * track;
        EXPECT_NEAR(Volume(bridge), volume, 1e-10 * volume) << tracks;
        // The first track's left rail, a tie under it, and the road between two ties.
        const double centre = 50 + w / 2 - w / tracks / 2;
        std::string why;
        double top = 0.0;
        EXPECT_TRUE(host->Project().models.HeightAt(bridge, 80, centre + gauge / 2 + 0.035, &top, &why)) << why;
        EXPECT_NEAR(top, z + 0.3, 1e-9);
        EXPECT_TRUE(host->Project().models.HeightAt(bridge, 50 + spacing / 2, centre, &top, &why)) << why;
        EXPECT_NEAR(top, z + 0.15, 1e-9);
        EXPECT_TRUE(host->Project().models.HeightAt(bridge, 50 + spacing, centre, &top, &why)) << why;
        EXPECT_NEAR(top, z, 1e-9);
    }
    // Along a bend the ties follow the path's turn and every piece stays a closed solid.
    std::map<std::string, double> bent = bare;
    bent["bRailroad"] = 1, bent["num_track"] = 2;
    const API_Guid curve = Place("VY_BRIDGE", 50, 50, bent,
                                 {{"perimetro_base", {{0, 0, z, 0}, {30, 0, z, 0}, {55, 15, z, 0}, {70, 40, z, 0}}}});
    StandOn(curve, flat);
    EXPECT_EQ(NoBody(curve), "(bodies)");
    EXPECT_GT(Volume(curve), 0.0);
    // Off: none, whatever the sizes; on, sizes that give no sound track: no body, with the reason.
    std::map<std::string, double> off = bare;
    off["bRailroad"] = 0, off["num_track"] = 0;
    const API_Guid plain = Place("VY_BRIDGE", 50, 50, off, {{"perimetro_base", path}});
    StandOn(plain, flat);
    EXPECT_NEAR(Volume(plain), length * w * th, 1e-9);
    const std::pair<std::map<std::string, double>, std::string> cases[] = {
        {{{"num_track", 0}}, "the track count num_track is not a whole number from 1 to 20"},
        {{{"num_track", 1.5}}, "the track count num_track is not a whole number from 1 to 20"},
        {{{"num_track", 3}}, "the tracks do not fit the road's width"},
        {{{"DistTie", 0.2}}, "the tie spacing DistTie is not from a tie's width (0.25 m) to 10 km"},
        {{{"GaugeTrack", 0}}, "the size GaugeTrack is not above 0 and below 10 km"},
    };
    for (const auto& [change, why] : cases) {
        std::map<std::string, double> sizes = bare;
        sizes["bRailroad"] = 1, sizes["num_track"] = 1;
        for (const auto& [name, value] : change) sizes[name] = value;
        const API_Guid bridge = Place("VY_BRIDGE", 50, 50, sizes, {{"perimetro_base", path}});
        StandOn(bridge, flat);
        EXPECT_EQ(NoBody(bridge).substr(0, why.size()), why);
    }
}

TEST_F(StandingBodiesTest, BadParametersGiveNoBodyAndSayWhy) {
    const API_Guid flat = Terrain(100, 50, [](double, double) { return 100.0; });
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Rows path = {{0, 0, 100, 0}, {20, 0, 100, 0}};
    struct Case {
        std::string part;
        std::map<std::string, double> numbers;
        std::map<std::string, Rows> arrays;
        std::string why;
    };
    const std::vector<Case> cases = {
        {"VY_WALL", {{"spessore", 0}}, {{"perimetro_base", path}}, "the size spessore is not above 0 and below 10 km"},
        {"VY_WALL", {{"spessore", -1}}, {{"perimetro_base", path}}, "the size spessore is not above 0 and below 10 km"},
        {"VY_WALL", {{"ZZYZX", nan}}, {{"perimetro_base", path}}, "parameter ZZYZX is not a number"},
        {"VY_WALL", {}, {{"perimetro_base", {{0, 0, 100, 0}}}}, "the path perimetro_base has fewer than two points"},
        {"VY_WALL",
         {},
         {{"perimetro_base", {{0, 0, 100, 0}, {20, 0, 100, 0}, {0, 0.1, 100, 0}}}},
         "the path turns back on itself at its point 2"},
        {"VY_WALL",
         {},
         {{"perimetro_base", {{0, 0, 100, 0}, {20, 0, 100, 0}, {20, 10, 100, 0}, {10, -5, 100, 0}}}},
         "the path perimetro_base crosses itself"},
        {"VY_WALL",
         {{"spessore", 8}},
         {{"perimetro_base", {{0, 0, 100, 0}, {20, 0, 100, 0}, {20, 3, 100, 0}, {0, 3, 100, 0}}}},
         "the body folds back on itself"},
        {"VY_BUILDING",
         {{"ZZYZX", 109}},
         {{"perimetro_base", {{0, 0, 0, 0}, {10, 10, 0, 0}, {10, 0, 0, 0}, {0, 10, 0, -1}}}},
         "the outline perimetro_base crosses itself"},
        {"VY_BUILDING",
         {{"ZZYZX", 109}},
         {{"perimetro_base", {{0, 0, 0, 0}, {10, 10, 0, 0}, {10, 0, 0, 0}, {0, 12, 0, -1}}}},
         "the outline perimetro_base crosses itself"},
        {"VY_BUILDING",
         {{"ZZYZX", 1e9}},
         {{"perimetro_base", Box(5, 5)}},
         "the heights of ZZYZX + negative_level lie more than 10 km off the terrain's"},
        {"VY_RETAINING_WALL",
         {{"slope_SX_fill", 0}},
         {{"perimetro_base_SX", path}, {"perimetro_base_DX", {{0, 1, 100, 0}, {20, 1, 100, 0}}}},
         "the face angle slope_SX_fill is not above 0 and up to 90 degrees"},
        {"VY_RETAINING_WALL",
         {{"slope_SX_fill", 0.3}, {"ZZYZX", 2}},
         {{"perimetro_base_SX", path}, {"perimetro_base_DX", {{0, 1, 100, 0}, {20, 1, 100, 0}}}},
         "the faces lean in so far that they meet below the wall's top"},
        {"VY_BRIDGE",
         {{"bridgeThick", 0}},
         {{"perimetro_base", path}},
         "the size bridgeThick is not above 0 and below 10 km"},
    };
    for (const Case& c : cases) {
        const API_Guid object = Place(c.part, 20, 20, c.numbers, c.arrays);
        StandOn(object, flat);
        EXPECT_EQ(NoBody(object).substr(0, c.why.size()), c.why) << c.part;
    }
    bool noted = false;
    for (const std::string& note : host->Project().models.TakeNotes())
        noted = noted || note.find("has no body from its parameters: the size spessore") != std::string::npos;
    EXPECT_TRUE(noted);
}

}  // namespace standing_bodies_test
