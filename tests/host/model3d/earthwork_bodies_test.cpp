// The cut and fill bodies the host builds for earthwork objects from their own parameters, measured by the mesh's
// volume: closed forms on flat ground and across a V-shaped valley, a property over random terrains and plateaus
// against an integration of the design surfaces written here, and parameters that give no body.
#include "AddOnParts.hpp"
#include "ProjectHost.hpp"
#include "assembly/HostProject.hpp"
#include "model3d/ExactSolid.hpp"
#include "model3d/SolidBooleans.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace earthwork_bodies_test {

class EarthworkBodiesTest : public OwnLibraryHostTest {
protected:
    // A terrain of the grid points (x0 .. x1 by step, likewise y) at height(x, y).
    template <typename F>
    API_Guid Terrain(double x0, double x1, double y0, double y1, double step, F height) {
        std::vector<API_Coord3D> grid;
        for (double x = x0; x <= x1 + 1e-9; x += step)
            for (double y = y0; y <= y1 + 1e-9; y += step) grid.push_back({x, y, height(x, y)});
        API_Guid mesh = {};
        EXPECT_EQ(Db().PlaceMeshFromPoints(grid, 1, "T" + std::to_string(++placed), &mesh), NoError);
        return mesh;
    }
    // An object of the part at (x, y), its role `role`, its parameters the part's defaults with `numbers` and
    // `arrays` (rows) set.
    API_Guid Earthwork(const std::string& part, const char16_t* role, double x, double y,
                       const std::map<std::string, double>& numbers,
                       const std::map<std::string, std::vector<std::vector<double>>>& arrays) {
        return PlaceAddOnPart(Db(), host->Project().libraries, part, {x, y}, 0.0, 1,
                              {numbers, arrays, {{"operatore", role}}}, part + " " + std::to_string(++placed));
    }
    GSErrCode Link(const API_Guid& mesh, const API_Guid& op, uint32_t operation) {
        return Command([&] { return ACAPI_Element_SolidLink_Create(mesh, op, operation, 1); });
    }
    double Volume(const API_Guid& mesh) {
        API_ElementQuantity q;
        API_QuantityPar p = {1e-5};
        EXPECT_EQ(ACAPI_Element_GetQuantities(mesh, &p, &q), NoError);
        return q.mesh.volume;
    }
    // What the object's link changes in the mesh's volume: taken away by a cut, added by a fill.
    double Measured(const API_Guid& mesh, const API_Guid& op, bool cut) {
        const double before = Volume(mesh);
        EXPECT_EQ(Link(mesh, op, cut ? APISolid_SubtractUpwards : APISolid_Add), NoError);
        const double after = Volume(mesh);
        EXPECT_EQ(Command([&] { return ACAPI_Element_SolidLink_Remove(mesh, op); }), NoError);
        return cut ? before - after : after - before;
    }
    size_t BodiesOf(const API_Guid& g) {
        std::string why;
        std::shared_ptr<const Model3D> m = host->Project().models.ModelOf(g, &why);
        return m ? m->bodies.size() : 0;
    }
    int placed = 0;
};

std::vector<std::vector<double>> EwRectangle(double a, double b) {
    return {{0, 0, 0, 0}, {a, 0, 0, 0}, {a, b, 0, 0}, {0, b, 0, 0}};
}

TEST_F(EarthworkBodiesTest, ARectangularPlateauOnFlatGroundCutsAndFillsItsClosedForm) {
    const API_Guid mesh = Terrain(0, 200, 0, 200, 50, [](double, double) { return 100.0; });
    const double a = 40, b = 20;
    for (double angleDegrees : {30.0, 45.0, 60.0})
        for (double d : {2.0, 7.5}) {
            const double angle = angleDegrees * std::acos(-1.0) / 180.0, r = d / std::tan(angle);
            const double expected = d * (a * b + (a + b) * r + 4 * r * r / 3);
            const std::map<std::string, double> below = {{"livello", 100 - d}, {"slope_angle_cut", angle}};
            const std::map<std::string, double> above = {{"livello", 100 + d}, {"slope_angle_fill", angle}};
            const API_Guid cut =
                Earthwork("VY_PLATEAU", u"cut", 80, 90, below, {{"perimetro_base", EwRectangle(a, b)}});
            const API_Guid fill =
                Earthwork("VY_PLATEAU", u"fill", 80, 90, above, {{"perimetro_base", EwRectangle(a, b)}});
            EXPECT_NEAR(Measured(mesh, cut, true), expected, 1e-6 * expected) << angleDegrees << " " << d;
            EXPECT_NEAR(Measured(mesh, fill, false), expected, 1e-6 * expected) << angleDegrees << " " << d;
        }
}

TEST_F(EarthworkBodiesTest, AnotherTerrainLinkedToAPlateauLeavesItsBodiesAsTheyWere) {
    // The bodies stand on the terrain the plateau was first linked to: a second terrain linked to it (as a copy for
    // a volume is) neither moves them nor builds them again, and the second terrain measures the same cut.
    const auto ground = [](double x, double y) { return 100.0 + 0.05 * x - 0.02 * y; };
    const API_Guid mesh = Terrain(0, 200, 0, 200, 25, ground);
    const API_Guid copy = Terrain(0, 200, 0, 200, 25, ground);
    const API_Guid cut = Earthwork("VY_PLATEAU", u"cut", 80, 90, {{"livello", 97.0}, {"slope_angle_cut", 0.7}},
                                   {{"perimetro_base", EwRectangle(40, 20)}});
    const double before = Volume(mesh);
    ASSERT_EQ(Link(mesh, cut, APISolid_SubtractUpwards), NoError);
    const double taken = before - Volume(mesh);
    EXPECT_GT(taken, 0.0);
    std::string why;
    const std::shared_ptr<const Model3D> first = host->Project().models.ModelOf(cut, &why);
    ASSERT_TRUE(first) << why;
    const double copyBefore = Volume(copy);
    ASSERT_EQ(Link(copy, cut, APISolid_SubtractUpwards), NoError);
    EXPECT_EQ(host->Project().models.ModelOf(cut, &why), first);
    EXPECT_NEAR(copyBefore - Volume(copy), taken, 1e-9 * taken);
}

TEST_F(EarthworkBodiesTest, AnLShapedPlateauMitresItsSlopesRoundTheInnerCorner) {
    // Mitred offsets of a polygon with right angles grow in perimeter by 8 per metre whatever its reflex corners (each
    // reflex one takes back what a convex one adds): the cut on flat ground is d (A + P r / 2 + 4 r^2 / 3) while
    // no side has shrunk away.
    const API_Guid mesh = Terrain(0, 200, 0, 200, 50, [](double, double) { return 100.0; });
    const std::vector<std::vector<double>> l = {{0, 0, 0, 0},   {40, 0, 0, 0},  {40, 15, 0, 0},
                                                {15, 15, 0, 0}, {15, 30, 0, 0}, {0, 30, 0, 0}};
    const double d = 3, angle = std::atan(0.5), r = d / std::tan(angle), area = 40 * 15 + 15 * 15, perimeter = 140;
    const double expected = d * (area + perimeter * r / 2 + 4 * r * r / 3);
    const std::map<std::string, double> below = {{"livello", 100 - d}, {"slope_angle_cut", angle}};
    const std::map<std::string, double> above = {{"livello", 100 + d}, {"slope_angle_fill", angle}};
    EXPECT_NEAR(Measured(mesh, Earthwork("VY_PLATEAU", u"cut", 70, 80, below, {{"perimetro_base", l}}), true), expected,
                1e-6 * expected);
    EXPECT_NEAR(Measured(mesh, Earthwork("VY_PLATEAU", u"fill", 70, 80, above, {{"perimetro_base", l}}), false),
                expected, 1e-6 * expected);
    // A sloped plateau of no slope is the level one; its role "result" carries no body.
    const std::map<std::string, double> level = {
        {"livello", 100 - d}, {"slope_angle_cut", angle}, {"slope", 0.0}, {"X_origo", 5}, {"Y_origo", 5}};
    EXPECT_NEAR(Measured(mesh, Earthwork("VY_SLOPED_PLATEAU", u"cut", 70, 80, level, {{"perimetro_base", l}}), true),
                expected, 1e-6 * expected);
    EXPECT_EQ(BodiesOf(Earthwork("VY_SLOPED_PLATEAU", u"result", 70, 80, level, {{"perimetro_base", l}})), 0u);
}

TEST_F(EarthworkBodiesTest, ALevelRoadAlongAValleyFillsItsClosedFormAndCutsNothingAndAlongARidgeTheReverse) {
    const double g = 0.2, w = 8, length = 100;
    for (const double sign : {1.0, -1.0}) {
        const API_Guid mesh =
            Terrain(-100, 100, 0, 200, 10, [&](double x, double) { return 50 + sign * g * std::abs(x); });
        const double z = 50 + sign * g * w / 2;
        const std::vector<std::vector<double>> left = {{0, 0, z}, {0, length / 2, z}, {0, length, z}};
        const std::vector<std::vector<double>> right = {{w, 0, z}, {w, length, z}};
        const std::map<std::string, std::vector<std::vector<double>>> edges = {{"road_SX", left}, {"road_DX", right}};
        const API_Guid cut = Earthwork("VY_ROAD", u"cut", -w / 2, 50, {}, edges);
        const API_Guid fill = Earthwork("VY_ROAD", u"fill", -w / 2, 50, {}, edges);
        const double expected = w * (g * w / 2) / 2 * length;
        EXPECT_NEAR(Measured(mesh, fill, false), sign > 0 ? expected : 0.0, 1e-6 * expected) << sign;
        EXPECT_NEAR(Measured(mesh, cut, true), sign > 0 ? 0.0 : expected, 1e-6 * expected) << sign;
    }
}

// A terrain whose every grid cell is planar (heights f(i) + g(j)), so that either diagonal gives the same surface and
// the test can read its height by interpolation.
struct EwGridTerrain {
    double step = 10;
    std::vector<double> f, g;
    double At(double x, double y) const {
        const auto profile = [&](const std::vector<double>& p, double v) {
            const size_t i = std::min(size_t(v / step), p.size() - 2);
            return p[i] + (p[i + 1] - p[i]) * (v / step - double(i));
        };
        return profile(f, x) + profile(g, y);
    }
};

// The mitred distance from a convex counter-clockwise polygon: the largest distance outside any side's line.
double EwMitredDistance(const std::vector<std::pair<double, double>>& poly, double x, double y) {
    double d = 0.0;
    for (size_t i = 0; i < poly.size(); ++i) {
        const auto& a = poly[i];
        const auto& b = poly[(i + 1) % poly.size()];
        const double len = std::hypot(b.first - a.first, b.second - a.second);
        d = std::max(d, ((b.first - a.first) * (a.second - y) - (b.second - a.second) * (a.first - x)) / len);
    }
    return d;
}

TEST_F(EarthworkBodiesTest, RandomPlateausOnRandomTerrainsCutAndFillWhatTheirSurfacesLeaveAgainstTheGround) {
    std::mt19937 rng(51);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int round = 0; round < 6; ++round) {
        EwGridTerrain t;
        double fz = 0, gz = 0;
        for (int i = 0; i <= 20; ++i) {
            t.f.push_back(fz += (u(rng) - 0.5) * 4);
            t.g.push_back(100 + (gz += (u(rng) - 0.5) * 4));
        }
        const API_Guid mesh = Terrain(0, 200, 0, 200, 10, [&](double x, double y) { return t.At(x, y); });
        // A convex outline round (100, 100), its points relative to its first one.
        std::vector<double> turns;
        for (int k = 0, n = 3 + int(u(rng) * 5); k < n; ++k) turns.push_back(u(rng) * 2 * std::acos(-1.0));
        std::sort(turns.begin(), turns.end());
        const double rx = 15 + 25 * u(rng), ry = 15 + 25 * u(rng);
        std::vector<std::pair<double, double>> poly;
        std::vector<std::vector<double>> rows;
        for (double a : turns) poly.push_back({100 + rx * std::cos(a), 100 + ry * std::sin(a)});
        for (const auto& p : poly) rows.push_back({p.first - poly[0].first, p.second - poly[0].second, 0, 0});
        const double level = t.At(100, 100) + (u(rng) - 0.5) * 16;
        const double cutTan = std::tan(0.4 + u(rng)), fillTan = std::tan(0.4 + u(rng));
        const std::map<std::string, double> numbers = {
            {"livello", level}, {"slope_angle_cut", std::atan(cutTan)}, {"slope_angle_fill", std::atan(fillTan)}};
        const API_Guid cut =
            Earthwork("VY_PLATEAU", u"cut", poly[0].first, poly[0].second, numbers, {{"perimetro_base", rows}});
        const API_Guid fill =
            Earthwork("VY_PLATEAU", u"fill", poly[0].first, poly[0].second, numbers, {{"perimetro_base", rows}});
        // The integrals over the terrain, by the midpoint rule.
        double wantCut = 0, wantFill = 0;
        const double h = 0.25;
        for (double x = h / 2; x < 200; x += h)
            for (double y = h / 2; y < 200; y += h) {
                const double ground = t.At(x, y), d = EwMitredDistance(poly, x, y);
                wantCut += std::max(0.0, ground - (level + cutTan * d)) * h * h;
                wantFill += std::max(0.0, level - fillTan * d - ground) * h * h;
            }
        SCOPED_TRACE("round " + std::to_string(round));
        EXPECT_NEAR(Measured(mesh, cut, true), wantCut, 1e-3 * wantCut + 1.0);
        EXPECT_NEAR(Measured(mesh, fill, false), wantFill, 1e-3 * wantFill + 1.0);
    }
}

TEST_F(EarthworkBodiesTest, ParametersThatGiveNoSoundBodyGiveNoneAndSayWhy) {
    const API_Guid mesh = Terrain(0, 200, 0, 200, 50, [](double, double) { return 100.0; });
    const double before = Volume(mesh);
    const double nan = std::nan("");
    const std::vector<std::vector<double>> square = EwRectangle(20, 20);
    const std::vector<std::vector<double>> bowTie = {{0, 0, 0, 0}, {20, 20, 0, 0}, {20, 0, 0, 0}, {0, 20, 0, 0}};
    struct Case {
        std::map<std::string, double> numbers;
        std::vector<std::vector<double>> outline;
        double x;
        std::string why;
    };
    const Case cases[] = {
        {{{"slope_angle_cut", 0.0}, {"slope_angle_fill", 0.0}}, square, 50, "is not between 0 and 90 degrees"},
        {{{"slope_angle_cut", std::acos(-1.0) / 2}, {"slope_angle_fill", std::acos(-1.0) / 2}},
         square,
         50,
         "is not between 0 and 90 degrees"},
        {{{"slope_angle_cut", 2.0}, {"slope_angle_fill", -1.0}}, square, 50, "is not between 0 and 90 degrees"},
        {{{"livello", nan}}, square, 50, "livello is not a number"},
        {{{"livello", 1e308}}, square, 50, "more than 10 km"},
        {{{"livello", -1e308}}, square, 50, "more than 10 km"},
        {{}, bowTie, 50, "no simple polygon"},
        {{}, square, 190, "reaches off the terrain"},
    };
    for (const Case& c : cases) {
        for (const char16_t* role : {u"cut", u"fill"}) {
            // Below the ground for a cut, above it for a fill, unless the case sets the level.
            std::map<std::string, double> numbers = c.numbers;
            numbers.emplace("livello", role[0] == u'c' ? 90.0 : 110.0);
            const API_Guid op = Earthwork("VY_PLATEAU", role, c.x, 50, numbers, {{"perimetro_base", c.outline}});
            ASSERT_EQ(Link(mesh, op, role[0] == u'c' ? APISolid_SubtractUpwards : APISolid_Add), NoError);
            std::string why;
            const std::shared_ptr<const Model3D> model = host->Project().models.ModelOf(op, &why);
            ASSERT_TRUE(model) << why;
            EXPECT_TRUE(model->bodies.empty());
            EXPECT_NE(model->noBody.find(c.why), std::string::npos) << model->noBody;
            EXPECT_NEAR(Volume(mesh), before, 1e-9 * before);
            EXPECT_EQ(Command([&] { return ACAPI_Element_SolidLink_Remove(mesh, op); }), NoError);
        }
    }
}

// A prismatoid whose top is the a x b rectangle and whose base is that rectangle grown by r on each side (west, east,
// south, north), d apart: d / 6 (top + base + 4 mid-section).
double EwPrismatoid(double a, double b, double d, double w, double e, double so, double no) {
    return d / 6 * (a * b + (a + w + e) * (b + so + no) + 4 * (a + (w + e) / 2) * (b + (so + no) / 2));
}

TEST_F(EarthworkBodiesTest, ASlopedPlateausFacesStandAtTheirAngleOnTheirSteepestLine) {
    // The ground falls by g towards east; the platform falls the same way d below it. Each slope holds its side and
    // rises at the slope's tangent t on its steepest line: across the west and east sides by t, against ground
    // that rises and falls by g, so they meet it d / (t - g) and d / (t + g) out; along the south and north sides,
    // which fall by g themselves as the ground does, by sqrt(t^2 - g^2) across. The cut is the prismatoid between
    // the platform and the daylight rectangle.
    const double g = 0.1, d = 4, a = 30, b = 20, t = 2.0;
    const API_Guid mesh = Terrain(0, 200, 0, 200, 20, [&](double x, double) { return 100 - g * x; });
    const std::map<std::string, double> numbers = {{"livello", 100 - g * 80 - d},
                                                   {"slope_angle_cut", std::atan(t)},
                                                   {"slope", std::atan(g)},
                                                   {"slope_direction", 0.0},
                                                   {"X_origo", 0.0},
                                                   {"Y_origo", 0.0}};
    const API_Guid cut =
        Earthwork("VY_SLOPED_PLATEAU", u"cut", 80, 90, numbers, {{"perimetro_base", EwRectangle(a, b)}});
    const double west = d / (t - g), east = d / (t + g), across = d / std::sqrt(t * t - g * g);
    const double expected = EwPrismatoid(a, b, d, west, east, across, across);
    EXPECT_NEAR(Measured(mesh, cut, true), expected, 1e-6 * expected);
    // Where the slopes meet the ground: one closed line, each side's distance out from the outline.
    std::vector<std::vector<ModelPoint>> lines;
    std::string why;
    ASSERT_TRUE(host->Project().models.DaylightOf(cut, &lines, &why)) << why;
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0].front().x, lines[0].back().x, 1e-6);
    EXPECT_NEAR(lines[0].front().y, lines[0].back().y, 1e-6);
    for (const ModelPoint& p : lines[0]) {
        const double out =
            std::max({(80 - p.x) / west, (p.x - 80 - a) / east, (90 - p.y) / across, (p.y - 90 - b) / across});
        EXPECT_NEAR(out, 1.0, 1e-6) << p.x << ", " << p.y;
    }
}

TEST_F(EarthworkBodiesTest, ASidewalkCutsItsThicknessOnTheGroundAndFillsWhatItsTopLeavesAboveIt) {
    const API_Guid mesh = Terrain(0, 100, 0, 100, 20, [](double, double) { return 100.0; });
    const double w = 3, length = 40, thickness = 0.15;
    for (const double raise : {0.0, 0.5}) {
        // The edges in the walk's direction, 4 columns each (x, y, height, code), relative to the first point.
        const std::vector<std::vector<double>> left = {{0, 0, 100 + raise, 0}, {0, length, 100 + raise, 0}};
        const std::vector<std::vector<double>> right = {{w, 0, 100 + raise, 0}, {w, length, 100 + raise, 0}};
        const std::map<std::string, std::vector<std::vector<double>>> edges = {{"perimetro_base_SX", left},
                                                                               {"perimetro_base_DX", right}};
        const std::map<std::string, double> numbers = {{"thck", thickness}};
        const API_Guid cut = Earthwork("VY_SIDEWALK", u"cut", 30, 30, numbers, edges);
        const API_Guid fill = Earthwork("VY_SIDEWALK", u"fill", 30, 30, numbers, edges);
        const double area = w * length;
        EXPECT_NEAR(Measured(mesh, cut, true), std::max(0.0, thickness - raise) * area, 1e-9 * area) << raise;
        EXPECT_NEAR(Measured(mesh, fill, false), raise * area, 1e-9 * area) << raise;
    }
}

TEST_F(EarthworkBodiesTest, AWallStopsThePlateausSlopesAndLeavesTheGroundBehindItAsItWas) {
    // A level plateau a x b, d deep in flat ground, its slopes reaching r = d / t out. A wall e out from its east side
    // takes off all of the body east of its line, the mitred corners too: a straight one along the whole side
    // (2 points), then one bent round the north-east corner (3 points, e out from both sides).
    const double a = 40, b = 20, d = 3, t = 1.5, r = d / t, e = 0.8;
    const API_Guid mesh = Terrain(0, 200, 0, 200, 50, [](double, double) { return 100.0; });
    const double whole = d * (a * b + (a + b) * r + 4 * r * r / 3);
    // What lies past x = a + e, by slices across: t (r - u) (b + r + u) for u = x - a from e to r.
    const double pastEast = t * ((b + 2 * r) * (r - e) * (r - e) / 2 - std::pow(r - e, 3) / 3);
    const double pastNorth = t * ((a + 2 * r) * (r - e) * (r - e) / 2 - std::pow(r - e, 3) / 3);
    const double pastCorner = t * std::pow(r - e, 3) / 3;  // past both
    struct Case {
        std::vector<double> path;  // x, y, z triples relative to the plateau's first corner
        double expected;
    };
    const Case cases[] = {
        {{a + e, -30, 0, a + e, b + 30, 0}, whole - pastEast},
        {{a + e, -30, 0, a + e, b + e, 0, -30, b + e, 0}, whole - pastEast - pastNorth + pastCorner},
    };
    for (const Case& c : cases) {
        const std::map<std::string, double> below = {{"livello", 100 - d}, {"slope_angle_cut", std::atan(t)}};
        const API_Guid cut = Earthwork("VY_PLATEAU", u"cut", 80, 90, below,
                                       {{"perimetro_base", EwRectangle(a, b)},
                                        {"nodi_ostacoli", {{double(c.path.size() / 3)}}},
                                        {"ostacolo", {c.path}}});
        EXPECT_NEAR(Measured(mesh, cut, true), c.expected, 1e-6 * c.expected) << c.path.size() / 3 << " points";
        // Behind the wall the ground is as it was; in front of it, the slope.
        ASSERT_EQ(Link(mesh, cut, APISolid_SubtractUpwards), NoError);
        double z = 0.0;
        std::string why;
        ASSERT_TRUE(host->Project().models.HeightAt(mesh, 80 + a + e + 0.3 * (r - e), 100, &z, &why)) << why;
        EXPECT_NEAR(z, 100.0, 1e-9);
        ASSERT_TRUE(host->Project().models.HeightAt(mesh, 80 + a + e / 2, 100, &z, &why)) << why;
        EXPECT_NEAR(z, 100 - d + t * e / 2, 1e-9);
        EXPECT_EQ(Command([&] { return ACAPI_Element_SolidLink_Remove(mesh, cut); }), NoError);
    }
}

TEST_F(EarthworkBodiesTest, ALevelRoadAcrossAValleyFillsAndThroughARidgeCutsThePrismAndBothSlopeWedges) {
    // The ground g |x| off its bottom (a valley; a ridge upside down); a level road w wide crosses it along x, h off
    // the bottom. Across x the road holds h - g |x| of earth over 2 h / g, and each side's slope a triangle
    // (h - g |x|)^2 / (2 t): w h^2 / g + 2 h^3 / (3 g t). Beyond, out to its upright ends, it meets the flanks that
    // rise past it (q = L / 2 - h / g of them on each side): w g q^2 + 2 g^2 q^3 / (3 t) the other way.
    const double g = 0.2, w = 8, h = 6, length = 160, q = length / 2 - h / g;
    for (const double sign : {1.0, -1.0})
        for (const double t : {std::tan(0.3), 1.0, std::tan(1.3)}) {
            const API_Guid mesh =
                Terrain(-100, 100, 0, 200, 10, [&](double x, double) { return 50 + sign * g * std::abs(x); });
            const double z = 50 + sign * h;
            const std::vector<std::vector<double>> left = {{0, w, z}, {length, w, z}};
            const std::vector<std::vector<double>> right = {{0, 0, z}, {length, 0, z}};
            const std::map<std::string, std::vector<std::vector<double>>> edges = {{"road_SX", left},
                                                                                   {"road_DX", right}};
            const std::map<std::string, double> slopes = {{"slope_SX_cut", std::atan(t)},
                                                          {"slope_DX_cut", std::atan(t)},
                                                          {"slope_SX_fill", std::atan(t)},
                                                          {"slope_DX_fill", std::atan(t)}};
            const API_Guid cut = Earthwork("VY_ROAD", u"cut", -length / 2, 96, slopes, edges);
            const API_Guid fill = Earthwork("VY_ROAD", u"fill", -length / 2, 96, slopes, edges);
            const double middle = w * h * h / g + 2 * h * h * h / (3 * g * t);
            const double flanks = w * g * q * q + 2 * g * g * q * q * q / (3 * t);
            EXPECT_NEAR(Measured(mesh, fill, false), sign > 0 ? middle : flanks, 1e-6 * middle) << sign << " " << t;
            EXPECT_NEAR(Measured(mesh, cut, true), sign > 0 ? flanks : middle, 1e-6 * middle) << sign << " " << t;
        }
}

// The lowest (a cut's) or highest (a fill's) of the slope cones from the points of one straight 3D chord, at a
// plan distance `across` from its line and `along` it from its start: each cone z0 + g s +- t sqrt(across^2 +
// (s - along)^2), its best point s found in closed form and kept on the chord.
double EwChordCones(double z0, double g, double length, double t, bool cut, double along, double across) {
    const double sign = cut ? 1.0 : -1.0, gg = sign * g;
    double s = along - gg * std::abs(across) / std::sqrt(t * t - gg * gg);
    s = std::clamp(s, 0.0, length);
    return sign * (sign * z0 + gg * s + t * std::hypot(across, s - along));
}

TEST_F(EarthworkBodiesTest, StraightCorridorsOnTiltedPlanesCutAndFillWhatTheSlopeConesLeave) {
    // Straight roads at random headings, grades and cross-falls over random tilted planes: the cut and the fill
    // against an integration, by the midpoint rule, of the deck's plane between the edges and beside each edge of the
    // lowest (highest) of the slope cones from every point of that edge, at that side's angle.
    std::mt19937 rng(67);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int round = 0; round < 8; ++round) {
        const double gx = (u(rng) - 0.5) * 0.3, gy = (u(rng) - 0.5) * 0.3;
        const auto groundAt = [&](double x, double y) { return 100 + gx * (x - 100) + gy * (y - 100); };
        const API_Guid mesh = Terrain(0, 200, 0, 200, 20, groundAt);
        const double heading = u(rng) * 2 * std::acos(-1.0), length = 50 + 40 * u(rng), w = 5 + 6 * u(rng);
        const double grade = (u(rng) - 0.5) * 0.2, fall = (u(rng) - 0.5) * 0.08;
        const double cx = 100 - length / 2 * std::cos(heading), cy = 100 - length / 2 * std::sin(heading);
        const double z0 = groundAt(100, 100) + (u(rng) - 0.5) * 12 - grade * length / 2;
        const double ux = std::cos(heading), uy = std::sin(heading), nx = -uy, ny = ux;
        // The deck's height at a distance along the road and across it (positive to the left, from the centre).
        const auto deck = [&](double along, double across) { return z0 + grade * along + fall * across; };
        const double tl[2] = {std::tan(0.35 + u(rng)), std::tan(0.35 + u(rng))};  // cut, fill on the left
        const double tr[2] = {std::tan(0.35 + u(rng)), std::tan(0.35 + u(rng))};
        std::map<std::string, std::vector<std::vector<double>>> edges;
        for (const double side : {1.0, -1.0}) {
            std::vector<std::vector<double>> rows;
            for (const double along : {0.0, length})
                rows.push_back({along * ux + side * w / 2 * nx - (w / 2 * nx),
                                along * uy + side * w / 2 * ny - (w / 2 * ny), deck(along, side * w / 2)});
            edges[side > 0 ? "road_SX" : "road_DX"] = rows;
        }
        const std::map<std::string, double> slopes = {{"slope_SX_cut", std::atan(tl[0])},
                                                      {"slope_SX_fill", std::atan(tl[1])},
                                                      {"slope_DX_cut", std::atan(tr[0])},
                                                      {"slope_DX_fill", std::atan(tr[1])}};
        // The object stands at the left edge's start.
        const double ox = cx + w / 2 * nx, oy = cy + w / 2 * ny;
        const API_Guid cut = Earthwork("VY_ROAD", u"cut", ox, oy, slopes, edges);
        const API_Guid fill = Earthwork("VY_ROAD", u"fill", ox, oy, slopes, edges);
        double wantCut = 0, wantFill = 0;
        const double step = 0.25;
        for (double x = step / 2; x < 200; x += step)
            for (double y = step / 2; y < 200; y += step) {
                const double along = (x - cx) * ux + (y - cy) * uy, across = (x - cx) * nx + (y - cy) * ny;
                if (along < 0 || along > length) continue;  // the ends stand upright
                double cutZ = deck(along, across), fillZ = cutZ;
                if (std::abs(across) > w / 2) {
                    // Beside the deck, the cones of the edge on that side.
                    const double side = across > 0 ? 1.0 : -1.0, *tan = side > 0 ? tl : tr;
                    const double off = across - side * w / 2, start = deck(0, side * w / 2);
                    cutZ = EwChordCones(start, grade, length, tan[0], true, along, off);
                    fillZ = EwChordCones(start, grade, length, tan[1], false, along, off);
                }
                const double ground = groundAt(x, y);
                wantCut += std::max(0.0, ground - cutZ) * step * step;
                wantFill += std::max(0.0, fillZ - ground) * step * step;
            }
        SCOPED_TRACE("round " + std::to_string(round));
        EXPECT_NEAR(Measured(mesh, cut, true), wantCut, 2e-3 * wantCut + 1.0);
        EXPECT_NEAR(Measured(mesh, fill, false), wantFill, 2e-3 * wantFill + 1.0);
    }
}

TEST_F(EarthworkBodiesTest, ALaterPlateausDaylightLiesOnTheGroundTheEarlierOneLeaves) {
    // Plateau A cuts 3 m into flat ground at 100; plateau B overlaps its slope, linked after it, at 98.5. Where B's
    // slopes meet the ground, the ground is A's: the lower of 100 and A's slope.
    const double t = 1.2;
    const API_Guid mesh = Terrain(0, 200, 0, 200, 25, [](double, double) { return 100.0; });
    const auto slopeA = [&](double x, double y) {
        return 97.0 + t * EwMitredDistance({{60, 60}, {100, 60}, {100, 90}, {60, 90}}, x, y);
    };
    const API_Guid a = Earthwork("VY_PLATEAU", u"cut", 60, 60, {{"livello", 97.0}, {"slope_angle_cut", std::atan(t)}},
                                 {{"perimetro_base", EwRectangle(40, 30)}});
    const std::map<std::string, double> numbers = {{"livello", 98.5}, {"slope_angle_cut", std::atan(t)}};
    const API_Guid b = Earthwork("VY_PLATEAU", u"cut", 101, 70, numbers, {{"perimetro_base", EwRectangle(20, 20)}});
    const API_Guid result =
        Earthwork("VY_PLATEAU", u"result", 101, 70, numbers, {{"perimetro_base", EwRectangle(20, 20)}});
    ASSERT_EQ(Link(mesh, a, APISolid_SubtractUpwards), NoError);
    ASSERT_EQ(Link(mesh, b, APISolid_SubtractUpwards), NoError);
    for (const API_Guid& g : {b, result}) {
        std::vector<std::vector<ModelPoint>> lines;
        std::string why;
        ASSERT_TRUE(host->Project().models.DaylightOf(g, &lines, &why)) << why;
        size_t points = 0, onA = 0;
        for (const std::vector<ModelPoint>& line : lines)
            for (const ModelPoint& p : line) {
                const double ground = std::min(100.0, slopeA(p.x, p.y));
                EXPECT_NEAR(p.z, ground, 1e-6) << p.x << ", " << p.y;
                ++points;
                onA += ground < 100.0 - 1e-6 ? 1 : 0;
            }
        EXPECT_GT(points, 4u);
        EXPECT_GT(onA, 1u);  // it does meet A's slope
    }
}

TEST_F(EarthworkBodiesTest, TheFinalGroundAgainstTheOriginalCountsWhatALaterPlateauRefillsOnce) {
    // Plateau A cuts 3 m into flat ground at 100; plateau B, linked after it, fills to 101.5 over part of A. Together
    // they leave max(min(100, A's cut surface), B's fill surface): what B refills of A's cut is neither cut nor fill
    // of the two together.
    const double t = 1.2, f = 0.8;
    const API_Guid mesh = Terrain(0, 200, 0, 200, 25, [](double, double) { return 100.0; });
    const API_Guid a = Earthwork("VY_PLATEAU", u"cut", 60, 60, {{"livello", 97.0}, {"slope_angle_cut", std::atan(t)}},
                                 {{"perimetro_base", EwRectangle(40, 30)}});
    const API_Guid b =
        Earthwork("VY_PLATEAU", u"fill", 85, 70, {{"livello", 101.5}, {"slope_angle_fill", std::atan(f)}},
                  {{"perimetro_base", EwRectangle(30, 20)}});
    ASSERT_EQ(Link(mesh, a, APISolid_SubtractUpwards), NoError);
    ASSERT_EQ(Link(mesh, b, APISolid_Add), NoError);
    double removed = 0.0, added = 0.0;
    std::string why;
    ASSERT_TRUE(host->Project().models.ChangesOf(mesh, &removed, &added, &why)) << why;
    double wantCut = 0.0, wantFill = 0.0;
    const double h = 0.125;
    for (double x = h / 2; x < 200; x += h)
        for (double y = h / 2; y < 200; y += h) {
            const double cutA = 97.0 + t * EwMitredDistance({{60, 60}, {100, 60}, {100, 90}, {60, 90}}, x, y);
            const double fillB = 101.5 - f * EwMitredDistance({{85, 70}, {115, 70}, {115, 90}, {85, 90}}, x, y);
            const double final = std::max(std::min(100.0, cutA), fillB);
            wantCut += std::max(0.0, 100.0 - final) * h * h;
            wantFill += std::max(0.0, final - 100.0) * h * h;
        }
    EXPECT_NEAR(removed, wantCut, 2e-4 * wantCut);
    EXPECT_NEAR(added, wantFill, 2e-4 * wantFill);
    // Each measured on its own (a calculation takes B off first) counts the refilled part in both.
    const double fillOfB = Volume(mesh);
    EXPECT_EQ(Command([&] { return ACAPI_Element_SolidLink_Remove(mesh, b); }), NoError);
    EXPECT_GT(fillOfB - Volume(mesh), added + 1.0);
}

TEST_F(EarthworkBodiesTest, TheSurfaceIsCountedAsTheBodyReadBackHasIt) {
    // Plateaus and roads linked one after another to a rough terrain: the counts the summary takes without reading the
    // body back are those of the body read back.
    std::mt19937 rng(68);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const API_Guid mesh = Terrain(0, 300, 0, 300, 15,
                                  [](double x, double y) { return 100 + 6 * std::sin(x / 23) + 4 * std::cos(y / 17); });
    for (int k = 0; k < 6; ++k) {
        const bool road = k % 2 == 1, cut = k % 3 != 2;
        const double x = 40 + 200 * u(rng), y = 40 + 200 * u(rng), level = 96 + 8 * u(rng);
        const API_Guid op = road
            ? Earthwork("VY_ROAD", cut ? u"cut" : u"fill", x, y, {},
                        {{"road_SX", {{0, 0, level}, {40, 30 * u(rng), level}, {70, 10, level}}},
                         {"road_DX", {{0, -8, level}, {40, 30 * u(rng) - 8, level}, {70, 2, level}}}})
            : Earthwork("VY_PLATEAU", cut ? u"cut" : u"fill", x, y, {{"livello", level}},
                        {{"perimetro_base", EwRectangle(20 + 20 * u(rng), 20 + 20 * u(rng))}});
        ASSERT_EQ(Link(mesh, op, cut ? APISolid_SubtractUpwards : APISolid_Add), NoError);
        std::string why;
        int64_t points = 0, triangles = 0;
        ASSERT_TRUE(host->Project().models.SurfaceCountsOf(mesh, &points, &triangles, &why)) << why;
        const std::shared_ptr<const Model3D> model = host->Project().models.ModelOf(mesh, &why);
        ASSERT_TRUE(model && !model->bodies.empty()) << why;
        int64_t read = 0;
        const ModelBody& body = model->bodies[0];
        for (int32_t p = 1; p <= int32_t(body.pgons.size()); ++p) {
            const std::vector<int32_t> v = body.PolygonVertices(p);
            if (v.size() == 3 && *std::max_element(v.begin(), v.end()) <= model->surfaceVertices) ++read;
        }
        EXPECT_EQ(points, model->surfaceVertices) << "link " << k;
        EXPECT_EQ(triangles, read) << "link " << k;
    }
}

TEST_F(EarthworkBodiesTest, ABodyTheScriptGivesReplacesTheObjectsOwn) {
    const API_Guid mesh = Terrain(0, 200, 0, 200, 50, [](double, double) { return 100.0; });
    const API_Guid cut =
        Earthwork("VY_PLATEAU", u"cut", 80, 90, {{"livello", 97.0}}, {{"perimetro_base", EwRectangle(40, 20)}});
    StoredBody box;
    box.vertices = {{0, 0, 98},  {10, 0, 98},  {10, 10, 98},  {0, 10, 98},
                    {0, 0, 101}, {10, 0, 101}, {10, 10, 101}, {0, 10, 101}};
    box.polygons = {{1, 4, 3, 2}, {5, 6, 7, 8}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}};
    ASSERT_EQ(Db().GiveBodies(cut, {box}), NoError);
    EXPECT_NEAR(Measured(mesh, cut, true), 10 * 10 * 2, 1e-9);
}

// The mitred offset of a polyline by `d` to its left (negative: right).
std::vector<std::pair<double, double>> EwOffset(const std::vector<std::pair<double, double>>& line, double d) {
    std::vector<std::pair<double, double>> out;
    const auto normal = [&](size_t i) {
        const double dx = line[i + 1].first - line[i].first, dy = line[i + 1].second - line[i].second;
        const double len = std::hypot(dx, dy);
        return std::pair<double, double>{-dy / len, dx / len};
    };
    for (size_t i = 0; i < line.size(); ++i) {
        const auto a = normal(i == 0 ? 0 : i - 1), b = normal(i + 1 == line.size() ? i - 1 : i);
        const double dot = 1.0 + a.first * b.first + a.second * b.second;
        out.push_back(
            {line[i].first + d * (a.first + b.first) / dot, line[i].second + d * (a.second + b.second) / dot});
    }
    return out;
}

double EwLength(const std::vector<std::pair<double, double>>& line) {
    double length = 0.0;
    for (size_t i = 1; i < line.size(); ++i)
        length += std::hypot(line[i].first - line[i - 1].first, line[i].second - line[i - 1].second);
    return length;
}

// Roads, railways and sidewalks along random bending centre lines on flat ground, level a random depth below
// (cut) or above it (fill): every body is closed and meets itself nowhere, and measures its closed form. Between
// the edges the strip is d A; a side whose edge is L long and turns by angles phi (to the other side: +, inner:
// -) keeps a mitred offset L + u sum(2 tan(phi / 2)) long at distance u, so its slope to the daylight at
// r = d / tan(angle) holds d L r / 2 + d r^2 sum(2 tan(phi / 2)) / 6; the sides' sums cancel.
TEST_F(EarthworkBodiesTest, StripsAlongBendingLinesAreSoundSolidsOfTheirClosedForm) {
    const double ground = 100.0;
    const API_Guid mesh = Terrain(0, 400, 0, 400, 50, [&](double, double) { return ground; });
    std::mt19937 rng(51);
    std::uniform_real_distribution<double> length(30.0, 60.0), turn(0.15, 1.0), depth(0.5, 3.0), angle(0.4, 1.2);
    std::uniform_int_distribution<int> points(3, 5), side(0, 1);
    const char* parts[] = {"VY_ROAD", "VY_RAILWAY", "VY_SIDEWALK"};
    for (int run = 0; run < 30; ++run) {
        const std::string part = parts[run % 3];
        const bool walk = part == "VY_SIDEWALK", cut = (run / 3) % 2 == 0;
        const double w = walk ? 3.0 : 8.0, d = walk ? 0.3 : depth(rng), slope = angle(rng);
        std::vector<std::pair<double, double>> centre = {{0, 0}};
        double heading = 0.0;
        const int n = points(rng);
        for (int i = 1; i < n; ++i) {
            if (i > 1) heading += (side(rng) != 0 ? 1 : -1) * turn(rng);
            const double l = length(rng);
            centre.push_back(
                {centre.back().first + l * std::cos(heading), centre.back().second + l * std::sin(heading)});
        }
        const auto left = EwOffset(centre, w / 2), right = EwOffset(centre, -w / 2);
        // The edges at the strip's level, relative to the object's position (x, y, height, code).
        const double level = walk ? (cut ? ground : ground + d) : (cut ? ground - d : ground + d);
        std::vector<std::vector<double>> l, r;
        for (const auto& p : left) l.push_back({p.first, p.second, level, 0});
        for (const auto& p : right) r.push_back({p.first, p.second, level, 0});
        const std::map<std::string, std::vector<std::vector<double>>> edges = walk
            ? std::map<std::string, std::vector<std::vector<double>>>{{"perimetro_base_SX", l},
                                                                      {"perimetro_base_DX", r}}
            : std::map<std::string, std::vector<std::vector<double>>>{{"road_SX", l}, {"road_DX", r}};
        const std::map<std::string, double> numbers = walk
            ? std::map<std::string, double>{{"thck", d}}
            : std::map<std::string, double>{
                  {"slope_SX_cut", slope}, {"slope_DX_cut", slope}, {"slope_SX_fill", slope}, {"slope_DX_fill", slope}};
        const API_Guid op = Earthwork(part, cut ? u"cut" : u"fill", 150, 200, numbers, edges);
        const double before = Volume(mesh);
        ASSERT_EQ(Link(mesh, op, cut ? APISolid_SubtractUpwards : APISolid_Add), NoError);
        const double measured = cut ? before - Volume(mesh) : Volume(mesh) - before;
        std::string why;
        const std::shared_ptr<const Model3D> model = host->Project().models.ModelOf(op, &why);
        ASSERT_TRUE(model) << why;
        ASSERT_EQ(model->bodies.size(), 1u) << part << " " << model->noBody;
        ExactSolid solid;
        ASSERT_TRUE(SolidFromBody(model->bodies[0], &solid)) << part << " run " << run << ": not closed";
        EXPECT_FALSE(SelfIntersects(solid)) << part << " run " << run;
        // The strip's plan area (its outline: the left edge, then the right one backwards).
        std::vector<std::pair<double, double>> outline(left);
        outline.insert(outline.end(), right.rbegin(), right.rend());
        double area = 0.0;
        for (size_t i = 0; i < outline.size(); ++i) {
            const auto& a = outline[i];
            const auto& b = outline[(i + 1) % outline.size()];
            area += (a.first * b.second - b.first * a.second) / 2;
        }
        double expected = d * std::fabs(area);
        if (!walk) {
            // Both sides slope alike: what each bend adds to its outer side's slope it takes from the inner one's.
            const double out = d / std::tan(slope);
            expected += d * (EwLength(left) + EwLength(right)) * out / 2;
        }
        EXPECT_NEAR(measured, expected, 1e-6 * expected) << part << " run " << run;
        EXPECT_EQ(Command([&] { return ACAPI_Element_SolidLink_Remove(mesh, op); }), NoError);
    }
}

}  // namespace earthwork_bodies_test
