// The plan picture: every top triangle of a mesh drawn once, shaded so that higher ground is lighter, beside the
// plan elements; polylines open; the add-on's objects drawn as their library descriptions' plan items say, in the
// right place; an element the host cannot outline is named, not drawn wrong.
#include "AddOnParts.hpp"
#include "ProjectHost.hpp"
#include "drawing/ElementDrawing.hpp"
#include "model3d/PlanPicture.hpp"
#include "assembly/HostProject.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace plan_picture_test {

class PlanPictureTest : public ProjectHostTest {
protected:
    // The add-on's own library, as the module loads it.
    void LoadAddOnLibrary() {
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(std::string(LODRAVIX_SOURCE_DIR) + "/library", &why)) << why;
    }
    // An object of the named part at (x, y) turned by `angle`, its parameters the part's defaults with `numbers`
    // and `arrays` (rows) set, as the module writes them.
    API_Guid PlacePart(const std::string& part, double x, double y, double angle, int32_t layer,
                       const std::map<std::string, double>& numbers,
                       const std::map<std::string, std::vector<std::vector<double>>>& arrays) {
        return PlaceAddOnPart(Db(), host->Project().libraries, part, {x, y}, angle, layer, {numbers, arrays, {}},
                              part + " " + std::to_string(++placed));
    }
    int placed = 0;
};

// The points of each drawn shape of a class, in pixels, in drawing order.
std::vector<std::vector<std::pair<double, double>>> ShapesOf(const std::string& svg, const std::string& cls) {
    std::vector<std::vector<std::pair<double, double>>> shapes;
    const std::regex shape("<poly(?:line|gon) class=\"" + cls + "\" points=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), shape); it != std::sregex_iterator(); ++it) {
        shapes.emplace_back();
        const std::string points = (*it)[1];
        const std::regex pair("([-0-9.e+]+),([-0-9.e+]+)");
        for (auto p = std::sregex_iterator(points.begin(), points.end(), pair); p != std::sregex_iterator(); ++p)
            shapes.back().push_back({std::stod((*p)[1]), std::stod((*p)[2])});
    }
    return shapes;
}

// The shade (red channel) of each drawn triangle, in drawing order.
std::vector<int> TriangleShades(const std::string& svg) {
    std::vector<int> shades;
    const std::regex triangle("class=\"triangle\"[^>]*fill=\"rgb\\((\\d+),");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), triangle); it != std::sregex_iterator(); ++it)
        shades.push_back(std::stoi((*it)[1]));
    return shades;
}

TEST_F(PlanPictureTest, DrawsEveryTopTriangleShadedByHeightBesideThePlanElements) {
    // Nine points of a ridge: 3 x 3 grid, 4 cells, 8 top triangles; the middle column is the high one.
    std::vector<API_Coord3D> grid;
    const double h[] = {100, 102, 101};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) grid.push_back({10.0 * i, 10.0 * j, h[i]});
    API_Guid mesh = {}, spot = {}, line = {}, fill = {};
    ASSERT_EQ(Db().PlaceMeshFromPoints(grid, 1, "T", &mesh), NoError);
    ASSERT_EQ(Db().PlaceHotspot({5, 5}, 1, "P", &spot), NoError);
    ASSERT_EQ(Db().PlaceLine({0, 0}, {20, 20}, 1, "L", &line), NoError);
    ASSERT_EQ(Db().PlacePolygonElement(API_HatchID, {{0, 0, 0}, {5, 0, 0}, {5, 5, 0}}, true, 1, "F", &fill), NoError);

    PlanPictureCounts n;
    std::string skipped;
    const std::string svg = PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n, &skipped);
    EXPECT_EQ(skipped, "");
    EXPECT_EQ(n.triangles, 8);
    EXPECT_EQ(n.Of(PlanKey::Point), 1);
    EXPECT_EQ(n.Of(PlanKey::Line), 1);
    EXPECT_EQ(n.Of(PlanKey::Fill), 1);
    const std::vector<int> shades = TriangleShades(svg);
    ASSERT_EQ(shades.size(), 8u);
    // Each cell has a triangle with two corners on one column and one with two on the other: mean heights 100.67
    // (two west triangles, darkest), 101.33 (two west, two east) and 101.67 (two east, lightest).
    const auto [lo, hi] = std::minmax_element(shades.begin(), shades.end());
    EXPECT_LT(*lo, *hi);
    EXPECT_EQ(std::count(shades.begin(), shades.end(), *lo), 2);
    EXPECT_EQ(std::count(shades.begin(), shades.end(), *hi), 2);
    EXPECT_NE(svg.find("<circle class=\"hotspot\""), std::string::npos);
    EXPECT_EQ(svg.rfind("</svg>\n"), svg.size() - 7);
}

TEST_F(PlanPictureTest, PolylinesAreDrawnOpenWithEveryVertex) {
    // Two, three and five vertices; the drawn points keep the distances between the vertices (one scale).
    const std::vector<std::vector<API_Coord3D>> lines = {
        {{0, 0, 0}, {40, 10, 0}},
        {{0, 20, 0}, {20, 30, 0}, {40, 20, 0}},
        {{0, 40, 0}, {10, 50, 0}, {20, 40, 0}, {30, 50, 0}, {40, 40, 0}}};
    for (size_t i = 0; i < lines.size(); ++i) {
        API_Guid g = {};
        ASSERT_EQ(Db().PlacePolygonElement(API_PolyLineID, lines[i], false, 1, "P" + std::to_string(i), &g), NoError);
    }
    PlanPictureCounts n;
    std::string skipped;
    const std::string svg = PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n, &skipped);
    EXPECT_EQ(skipped, "");
    EXPECT_EQ(n.Of(PlanKey::Polyline), 3);
    EXPECT_EQ(svg.find("<polygon class=\"polyline\""), std::string::npos) << "drawn closed";
    const auto drawn = ShapesOf(svg, "polyline");
    ASSERT_EQ(drawn.size(), lines.size());
    const double scale = (drawn[0][1].first - drawn[0][0].first) / 40.0;
    ASSERT_GT(scale, 0.0);
    for (size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(drawn[i].size(), lines[i].size()) << "line " << i;
        for (size_t k = 0; k < lines[i].size(); ++k) {
            EXPECT_NEAR(drawn[i][k].first - drawn[0][0].first, (lines[i][k].x - 0.0) * scale, 1e-6);
            EXPECT_NEAR(drawn[0][0].second - drawn[i][k].second, (lines[i][k].y - 0.0) * scale, 1e-6);  // y up
        }
    }
}

TEST_F(PlanPictureTest, TheRoadThePlateauAndTheContourLinesAreDrawnFromTheirParameters) {
    LoadAddOnLibrary();
    // A terrain rising 1 m every 10 m eastwards, 100 by 100 m: its level lines run north-south.
    std::vector<API_Coord3D> grid;
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j <= 10; ++j) grid.push_back({10.0 * i, 10.0 * j, i * 1.0});
    API_Guid mesh = {};
    ASSERT_EQ(Db().PlaceMeshFromPoints(grid, 1, "T", &mesh), NoError);
    Layer("VY_Operators", 0);
    const int32_t operators = Db().FindAttribute(API_LayerID, "VY_Operators");
    // A road from (10, 20) to (90, 80), 4 m wide, its rows relative to its left edge's start; its cut copy hidden.
    const std::vector<std::vector<double>> left = {{0, 0, 1}, {40, 30, 5}, {80, 60, 9}};
    const std::vector<std::vector<double>> right = {{2.4, -3.2, 1}, {42.4, 26.8, 5}, {82.4, 56.8, 9}};
    const std::map<std::string, double> slopes = {
        {"slope_depth_cut", 2.0}, {"slope_SX_cut", std::atan(1.0)}, {"slope_DX_cut", std::atan(1.0)}};
    PlacePart("VY_ROAD", 10, 20, 0, 1, slopes, {{"road_SX", left}, {"road_DX", right}});
    PlacePart("VY_ROAD", 10, 20, 0, operators, slopes, {{"road_SX", left}, {"road_DX", right}});
    Layer("VY_Operators", APILay_Hidden);
    // A plateau 20 by 10 m turned a quarter: its outline stands 10 wide and 20 high west of (60, 10).
    PlacePart("VY_PLATEAU", 60, 10, std::acos(-1.0) / 2, 1, {},
              {{"perimetro_base", {{0, 0, 3, 0}, {20, 0, 3, 0}, {20, 10, 3, 0}, {0, 10, 3, 0}}}});
    // Contour lines every 2 m from 1 to 7 over the terrain's box.
    PlacePart("VY_CONTOURLINES", 0, 0, 0, 1,
              {{"A", 100},
               {"B", 100},
               {"passo", 2},
               {"quota_minima", 1},
               {"quota_massima", 7},
               {"passo_main", 2},
               {"main_secondary", 1}},
              {});

    PlanPictureCounts n;
    std::string skipped;
    const std::string svg = PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n, &skipped);
    EXPECT_EQ(skipped, "");
    EXPECT_EQ(n.objects, 3) << "the hidden copy is not drawn";
    EXPECT_EQ(n.hidden, 1);
    EXPECT_EQ(n.WithoutPlanData(), 0);
    EXPECT_EQ(n.Of(PlanKey::Edge), 2);
    EXPECT_EQ(n.Of(PlanKey::Foot), 0);
    EXPECT_GE(n.Of(PlanKey::Daylight), 2);  // where the road's cut and fill and the plateau's meet the ground
    EXPECT_EQ(n.Of(PlanKey::Outline), 1);
    EXPECT_EQ(n.Of(PlanKey::Contour), 4);  // 1, 3, 5 and 7 m
    EXPECT_NE(svg.find("class=\"legend\""), std::string::npos);
    EXPECT_NE(svg.find("class=\"scalebar\""), std::string::npos);

    // The picture's scale from the terrain: 100 m wide.
    const auto contours = ShapesOf(svg, "contour"), mains = ShapesOf(svg, "contour main");
    ASSERT_EQ(contours.size() + mains.size(), 4u);
    EXPECT_EQ(mains.size(), 2u);  // 1 and 5 m: every second line from the first altitude
    double west = 1e300, east = -1e300;
    for (const auto* set : {&contours, &mains})
        for (const auto& line : *set)
            for (const auto& p : line) west = std::min(west, p.first), east = std::max(east, p.first);
    // Lines at 1 m and 7 m lie 10 m and 70 m east of the terrain's west side, each straight north-south.
    const double scale = (east - west) / 60.0;
    for (const auto* set : {&contours, &mains})
        for (const auto& line : *set) {
            ASSERT_GE(line.size(), 2u);
            for (const auto& p : line) EXPECT_NEAR(p.first, line[0].first, 1e-6);
            const double metres = (line[0].first - west) / scale + 10.0;
            EXPECT_NEAR(std::fmod(metres, 20.0), 10.0, 1e-6) << metres;
        }
    const double x0 = west - 10.0 * scale;  // the terrain's west side in pixels
    const auto edges = ShapesOf(svg, "edge");
    ASSERT_EQ(edges.size(), 2u);
    ASSERT_EQ(edges[0].size(), 3u);
    EXPECT_NEAR((edges[0][0].first - x0) / scale, 10.0, 1e-6);
    EXPECT_NEAR((edges[0][2].first - x0) / scale, 90.0, 1e-6);
    EXPECT_NEAR((edges[0][0].second - edges[0][2].second) / scale, 60.0, 1e-6);
    // The ground rises eastwards: the road fills on its left (north-west) and cuts on its right, each slope meeting
    // the ground within a few metres of its edge.
    for (const auto& line : ShapesOf(svg, "daylight"))
        for (const auto& p : line) {
            const double x = (p.first - x0) / scale - 10.0, y = (edges[0][0].second - p.second) / scale;
            const double across = (x - 0.0) * 0.6 - y * 0.8;  // metres right of the left edge's line
            const bool nearRoad = std::abs(across - 2.0) < 8.0;
            const bool nearPlateau = x > 30.0 && x < 55.0 && y > -20.0 && y < 20.0;  // its fill slopes
            EXPECT_TRUE(nearRoad || nearPlateau) << x << ", " << y;
        }
    const auto outline = ShapesOf(svg, "outline");
    ASSERT_EQ(outline.size(), 1u);
    ASSERT_EQ(outline[0].size(), 4u);
    EXPECT_NEAR((outline[0][1].second - outline[0][0].second) / scale, -20.0, 1e-6);  // its x axis runs north
    EXPECT_NEAR((outline[0][2].first - outline[0][1].first) / scale, -10.0, 1e-6);    // its y axis runs west
}

TEST_F(PlanPictureTest, ContourLinesFollowTheTerrainWhenTheirRangeMissesItAndThinOutWhenDense) {
    LoadAddOnLibrary();
    // A terrain rising from 100 to 110 m eastwards over 100 m.
    std::vector<API_Coord3D> grid;
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j <= 10; ++j) grid.push_back({10.0 * i, 10.0 * j, 100.0 + i});
    API_Guid mesh = {};
    ASSERT_EQ(Db().PlaceMeshFromPoints(grid, 1, "T", &mesh), NoError);
    // The default range 0 to 30 m never met this terrain: its lines fall at the step's multiples over it.
    Layer("First", 0);
    PlacePart("VY_CONTOURLINES", 0, 0, 0, Db().FindAttribute(API_LayerID, "First"),
              {{"A", 100}, {"B", 100}, {"passo", 2}, {"quota_minima", 0}, {"quota_massima", 30}}, {});
    PlanPictureCounts n;
    std::string svg = PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n);
    EXPECT_EQ(n.Of(PlanKey::Contour), 5);  // 102, 104 ... 110 m (100 m touches the surface only at its west side)
    EXPECT_NE(svg.find("contour every 2 m"), std::string::npos);
    // Every centimetre over 10 m on an 800 pixel picture: a line each 0.8 pixels, thinned to one each 4 or more.
    Layer("First", APILay_Hidden);
    Layer("Centimetres", 0);
    PlacePart("VY_CONTOURLINES", 0, 0, 0, Db().FindAttribute(API_LayerID, "Centimetres"),
              {{"A", 100}, {"B", 100}, {"passo", 0.01}, {"quota_minima", 100}, {"quota_massima", 110}}, {});
    svg = PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n);
    EXPECT_LE(n.Of(PlanKey::Contour), 200);
    EXPECT_GE(n.Of(PlanKey::Contour), 50);
    EXPECT_NE(svg.find("contour every 5 cm"), std::string::npos);
    // Every millimetre: ten thousand levels, not all traced, the same lines drawn.
    const std::vector<std::vector<std::pair<double, double>>> centimetres = ShapesOf(svg, "contour");
    Layer("Centimetres", APILay_Hidden);
    PlacePart("VY_CONTOURLINES", 0, 0, 0, 1,
              {{"A", 100}, {"B", 100}, {"passo", 0.001}, {"quota_minima", 100}, {"quota_massima", 110}}, {});
    svg = PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n);
    EXPECT_NE(svg.find("contour every 5 cm"), std::string::npos);
    EXPECT_EQ(ShapesOf(svg, "contour"), centimetres);
}

TEST_F(PlanPictureTest, ColouredAreasDrawEachContourOfEachArea) {
    LoadAddOnLibrary();
    // Area 1 a 10 m square with a 4 m hole, area 2 a triangle; x, y and a code per point, -1 ending a contour,
    // the shorter row padded with zeros; relative to the object at (100, 50).
    const std::vector<double> square = {0, 0, 0, 10, 0, 0, 10, 10, 0, 0, 10, 0, 0, 0, -1,
                                        3, 3, 0, 3,  7, 0, 7,  7,  0, 7, 3,  0, 3, 3, -1};
    std::vector<double> triangle = {20, 0, 0, 30, 0, 0, 25, 8, 0, 20, 0, -1};
    triangle.resize(square.size(), 0.0);
    PlacePart("VY_PAINTER", 100, 50, 0, 1, {}, {{"nodes", {{10}, {4}}}, {"coordinates", {square, triangle}}});
    PlanPictureCounts n;
    std::string skipped;
    const std::string svg = PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n, &skipped);
    EXPECT_EQ(skipped, "");
    EXPECT_EQ(n.Of(PlanKey::Outline), 3);
    const auto outlines = ShapesOf(svg, "outline");
    ASSERT_EQ(outlines.size(), 3u);
    EXPECT_EQ(outlines[0].size(), 5u);
    EXPECT_EQ(outlines[1].size(), 5u);
    EXPECT_EQ(outlines[2].size(), 4u);
    const double scale = (outlines[0][1].first - outlines[0][0].first) / 10.0;
    EXPECT_NEAR((outlines[1][0].first - outlines[0][0].first) / scale, 3.0, 1e-6);   // the hole inside
    EXPECT_NEAR((outlines[2][2].first - outlines[0][0].first) / scale, 25.0, 1e-6);  // the triangle's apex
    EXPECT_NEAR((outlines[0][0].second - outlines[2][2].second) / scale, 8.0, 1e-6);
}

TEST_F(PlanPictureTest, FaultyPlanParametersAreNamedAndTheRestIsDrawn) {
    LoadAddOnLibrary();
    // The right edge a single column, the left cut slope flat, no terrain: the right edge and the daylight lines
    // are named, once each fault; the left edge still drawn.
    PlacePart("VY_ROAD", 0, 0, 0, 1, {{"slope_SX_cut", 0.0}},
              {{"road_SX", {{0, 0, 0}, {10, 0, 0}}}, {"road_DX", {{0}, {5}}}});
    PlanPictureCounts n;
    std::string skipped;
    PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n, &skipped);
    EXPECT_EQ(n.objects, 1);
    EXPECT_EQ(n.Of(PlanKey::Edge) + n.Of(PlanKey::Daylight), 1);
    EXPECT_EQ(skipped,
              "object VY_ROAD 1: parameter road_DX is not an array of 2 columns or more\n"
              "object VY_ROAD 1: no daylight line: no terrain lies under it\n");
}

TEST_F(PlanPictureTest, APartThatOutlinesTheGroundBelowALevelDrawsItWhateverItsName) {
    // Two parts of made-up names with the same level parameter; only the first says what it draws.
    const std::string folder = UserFile("ground");
    std::filesystem::create_directory(folder);
    const std::string params = "type = object\nparam A length = 1\nparam B length = 1\nparam depth length = 0\n";
    std::ofstream(folder + "/POND_GAUGE.lpd")
        << "name = POND_GAUGE\nguid = {44444444-4444-4444-4444-444444444444}-{00000000-0000-0000-0000-000000000000}\n"
        << params << "plan below depth\n";
    std::ofstream(folder + "/POND_BOX.lpd")
        << "name = POND_BOX\nguid = {55555555-5555-5555-5555-555555555555}-{00000000-0000-0000-0000-000000000000}\n"
        << params;
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(folder, &why)) << why;
    // A pit: the rim at 20 on the square (0,0)-(100,100), the bottom at 0 in its middle.
    API_Guid mesh = {};
    ASSERT_EQ(
        Db().PlaceMeshFromPoints({{0, 0, 20}, {100, 0, 20}, {100, 100, 20}, {0, 100, 20}, {50, 50, 0}}, 1, "T", &mesh),
        NoError);
    const auto place = [&](const std::string& part, double at) {
        const API_Guid g = PlacePart(part, at, at, 0, 1, {{"depth", 5.0}}, {});
        Db().FindMutable(g)->record.Edit([](API_Element& e) { e.object.xRatio = e.object.yRatio = 100.0; });
        return g;
    };
    const API_Guid gauge = place("POND_GAUGE", 0), box = place("POND_BOX", 50);  // the box's mark inside the pit

    // Its 2D drawing: at 5 m the pit's ground is the square 12.5 m about its middle, one polygon.
    const std::vector<DrawnPrim> drawn =
        DrawElement(Db(), host->Project().drawings, &host->Project().libraries, *Db().Find(gauge));
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].prim.head.typeID, API_PrimPolyID);
    EXPECT_EQ(drawn[0].prim.poly.nSubPolys, 1);
    ASSERT_GE(drawn[0].coords.size(), 5u);
    EXPECT_EQ(drawn[0].coords[1].x, drawn[0].coords.back().x) << "closed on its first point";
    for (size_t i = 1; i < drawn[0].coords.size(); ++i)
        EXPECT_NEAR(std::max(std::abs(drawn[0].coords[i].x - 50), std::abs(drawn[0].coords[i].y - 50)), 12.5, 1e-9);
    // The part without the item draws its hotspot and box, as any object; so does the first without its library.
    EXPECT_EQ(DrawElement(Db(), host->Project().drawings, &host->Project().libraries, *Db().Find(box)).size(), 5u);
    EXPECT_EQ(DrawElement(Db(), host->Project().drawings, nullptr, *Db().Find(gauge)).size(), 5u);

    // The plan picture draws the same square as the first part's outline.
    PlanPictureCounts n;
    std::string skipped;
    const std::string svg = PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n, &skipped);
    EXPECT_EQ(skipped, "");
    EXPECT_EQ(n.Of(PlanKey::Outline), 1);
    EXPECT_EQ(n.objects, 2);
    EXPECT_EQ(n.WithoutPlanData(), 1);
    const auto outlines = ShapesOf(svg, "outline");
    ASSERT_EQ(outlines.size(), 1u);
    // 100 m over 800 pixels; the plan's west side 72 pixels in (its northings left of it), its north side 50 down
    // (the title above it).
    const double scale = 8.0, middleX = 72.0 + 50.0 * scale, middleY = 50.0 + 50.0 * scale;
    for (const auto& p : outlines[0])
        EXPECT_NEAR(std::max(std::abs(p.first - middleX), std::abs(p.second - middleY)), 12.5 * scale, 1e-6);
}

TEST_F(PlanPictureTest, HotspotMarkersLeaveTheGroundVisibleAtAnyCount) {
    // Markers of neighbouring points on square grids of 4 to 10^4 points never touch.
    for (int side : {2, 30, 100}) {
        Db().Reset();
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < side; ++j) {
                API_Guid g = {};
                ASSERT_EQ(Db().PlaceHotspot({i * 5.0, j * 5.0}, 1, "", &g), NoError);
            }
        PlanPictureCounts n;
        const std::string svg = PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n);
        ASSERT_EQ(n.Of(PlanKey::Point), side * side);
        const std::regex circle("class=\"hotspot\" cx=\"([-0-9.e+]+)\" cy=\"[^\"]*\" r=\"([-0-9.e+]+)\"");
        std::vector<double> xs;
        double r = 0.0;
        for (auto it = std::sregex_iterator(svg.begin(), svg.end(), circle); it != std::sregex_iterator(); ++it)
            xs.push_back(std::stod((*it)[1])), r = std::stod((*it)[2]);
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end(), [](double a, double b) { return std::abs(a - b) < 1e-6; }),
                 xs.end());
        ASSERT_EQ(xs.size(), size_t(side));
        EXPECT_LT(2 * r, 0.5 * (xs[1] - xs[0])) << side << " a side";
    }
}

// Everything a stroke-width says in the picture but the ground's triangles and the earthworks' faces, which are
// edged only so that no seam shows between them.
std::vector<double> LineWidths(const std::string& svg) {
    std::vector<double> widths;
    const std::regex element("<(\\w+)( class=\"([^\"]*)\")?[^>]*?stroke-width=\"([-0-9.e+]+)\"");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), element); it != std::sregex_iterator(); ++it) {
        const std::string cls = (*it)[3];
        if (cls != "triangle" && cls != "cut" && cls != "earth-fill") widths.push_back(std::stod((*it)[4]));
    }
    return widths;
}

// The picture says what it is and where: a title, a north arrow, the coordinates ticked round the plan at round
// values, the main contour lines' heights written on them; the earthworks' cut and fill shaded in their own
// colours where they lie, with a legend giving the volumes the final ground moves against the original; and no
// line thinner than a pixel, however large the plan (a terrain 40 km across, where a metre is 0.02 pixels).
TEST_F(PlanPictureTest, TitleNorthArrowCoordinatesContourHeightsAndTheEarthworksWithTheirVolumes) {
    LoadAddOnLibrary();
    const auto plane = [](double x, double y) { return 10.0 + 0.1 * x + 0.05 * y; };
    std::vector<API_Coord3D> points;
    for (int x = 0; x <= 40; x += 10)
        for (int y = 0; y <= 20; y += 10) points.push_back({double(x), double(y), plane(x, y)});
    API_Guid mesh = {};
    ASSERT_EQ(Db().PlaceMeshFromPoints(points, 1, "T", &mesh), NoError);
    const API_Guid cut = PlaceBox(10, 0, 20, 10, -1.0, 11.0), fill = PlaceBox(30, 0, 40, 10, 12.0, 20.0);
    ASSERT_EQ(Command([&] { return ACAPI_Element_SolidLink_Create(mesh, cut, APISolid_SubtractUpwards, 1); }), NoError);
    ASSERT_EQ(Command([&] { return ACAPI_Element_SolidLink_Create(mesh, fill, APISolid_Add, 1); }), NoError);
    // Contour lines every metre from 10 to 16, every second a main one.
    PlacePart("VY_CONTOURLINES", 0, 0, 0, 1,
              {{"A", 40},
               {"B", 20},
               {"passo", 1},
               {"quota_minima", 10},
               {"quota_massima", 16},
               {"passo_main", 2},
               {"main_secondary", 1}},
              {});
    PlanPictureCounts n;
    const std::string svg = PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n);

    EXPECT_NE(svg.find(">Site plan</text>"), std::string::npos);
    const size_t arrow = svg.find("<g class=\"north-arrow\">");
    ASSERT_NE(arrow, std::string::npos);
    EXPECT_LT(svg.find(">N</text>", arrow), svg.find("</g>", arrow));
    // Ticks every 10 m: 0 to 40 under the plan, 0 to 20 beside it, each label at its tick.
    const size_t ticks = svg.find("<g class=\"ticks\"");
    ASSERT_NE(ticks, std::string::npos);
    const std::string tickGroup = svg.substr(ticks, svg.find("</g>", ticks) - ticks);
    std::vector<std::string> labels;
    const std::regex text(">([-0-9.,]+)</text>");
    for (auto it = std::sregex_iterator(tickGroup.begin(), tickGroup.end(), text); it != std::sregex_iterator(); ++it)
        labels.push_back((*it)[1]);
    EXPECT_EQ(labels, (std::vector<std::string>{"0", "10", "20", "30", "40", "0", "10", "20"}));
    // The main lines' heights (10, 12, 14, 16 m where they are long enough to carry one) are written on them.
    const size_t heights = svg.find("<g class=\"contour-labels\"");
    ASSERT_NE(heights, std::string::npos);
    const std::string heightGroup = svg.substr(heights, svg.find("</g>", heights) - heights);
    int written = 0;
    for (auto it = std::sregex_iterator(heightGroup.begin(), heightGroup.end(), text); it != std::sregex_iterator();
         ++it, ++written)
        EXPECT_EQ(std::stoi((*it)[1]) % 2, 0) << (*it)[1];
    EXPECT_GE(written, 2);

    // The cut lies over the first box and the fill over the second, each in its colour.
    EXPECT_GT(n.cutFaces, 0);
    EXPECT_GT(n.fillFaces, 0);
    const auto cutFaces = ShapesOf(svg, "cut"), fillFaces = ShapesOf(svg, "earth-fill");
    EXPECT_EQ(int(cutFaces.size()), n.cutFaces);
    EXPECT_EQ(int(fillFaces.size()), n.fillFaces);
    const auto west = ShapesOf(svg, "triangle");
    double x0 = 1e9, x1 = -1e9;
    for (const auto& t : west)
        for (const auto& p : t) x0 = std::min(x0, p.first), x1 = std::max(x1, p.first);
    const double scale = (x1 - x0) / 40.0;
    for (const auto& face : cutFaces)
        for (const auto& p : face) EXPECT_NEAR((p.first - x0) / scale, 15.0, 5.0 + 1e-6);
    for (const auto& face : fillFaces)
        for (const auto& p : face) EXPECT_NEAR((p.first - x0) / scale, 35.0, 5.0 + 1e-6);
    EXPECT_NE(svg.find("class=\"cut\" points=\""), std::string::npos);
    EXPECT_NE(svg.find(std::string("fill=\"") + CutColour() + "\" stroke"), std::string::npos);
    EXPECT_NE(svg.find(std::string("fill=\"") + FillColour() + "\" stroke"), std::string::npos);
    EXPECT_NE(std::string(CutColour()), FillColour());
    EXPECT_NE(
        PlanCountLine(n).find(std::to_string(n.cutFaces) + " cut and " + std::to_string(n.fillFaces) + " fill faces"),
        std::string::npos)
        << PlanCountLine(n);
    // The legend's volumes: everything above -1 over the first box, and up to 20 over the second.
    double removed = 0.0, added = 0.0;
    std::string why;
    ASSERT_TRUE(host->Project().models.ChangesOf(mesh, &removed, &added, &why)) << why;
    EXPECT_NEAR(removed, 100.0 * (plane(15, 5) + 1.0), 1e-6);
    EXPECT_NEAR(added, 100.0 * (20.0 - plane(35, 5)), 1e-6);
    EXPECT_NE(svg.find(">cut 1,275 m3</text>"), std::string::npos);
    EXPECT_NE(svg.find(">fill 625 m3</text>"), std::string::npos);
    EXPECT_EQ(VolumeText(1234567.4), "1,234,567 m3");

    // Lines a pixel wide at least, here and on a plan where the terrain is 40 km across.
    std::vector<double> widths = LineWidths(svg);
    EXPECT_GT(widths.size(), 10u);
    for (const double w : widths) EXPECT_GE(w, 1.0);
    Db().Reset();
    std::vector<API_Coord3D> wide;
    for (const API_Coord3D& p : points) wide.push_back({p.x * 1000.0, p.y * 1000.0, p.z});
    ASSERT_EQ(Db().PlaceMeshFromPoints(wide, 1, "W", &mesh), NoError);
    API_Guid road = {};
    ASSERT_EQ(Db().PlaceLine({1000, 1000}, {30000, 15000}, 1, "L", &road), NoError);
    widths = LineWidths(PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n));
    EXPECT_GT(widths.size(), 5u);
    for (const double w : widths) EXPECT_GE(w, 1.0);
}

TEST_F(PlanPictureTest, AnEmptyProjectGivesAnEmptyPicture) {
    PlanPictureCounts n;
    const std::string svg = PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n);
    int drawn = n.triangles + n.objects + n.hidden;
    for (int k = 0; k < int(PlanKey::Count); ++k) drawn += n.drawn[k];
    EXPECT_EQ(drawn, 0);
    EXPECT_EQ(PlanCountLine(n), "0 triangles, 0 points, 0 contour lines; 0 objects drawn, 0 without plan data");
    EXPECT_EQ(svg.find("nan"), std::string::npos);
}

}  // namespace plan_picture_test
