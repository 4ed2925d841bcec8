// The plan picture: every top triangle of a mesh drawn once, shaded so that higher ground is lighter, beside the
// plan elements; an element the host cannot outline is named, not drawn wrong.
#include "ProjectHost.hpp"
#include "model3d/PlanPicture.hpp"
#include "project/HostProject.hpp"

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

namespace {

class PlanPictureTest : public ProjectHostTest {};

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
    EXPECT_EQ(n.hotspots, 1);
    EXPECT_EQ(n.lines, 1);
    EXPECT_EQ(n.rings, 1);
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

TEST_F(PlanPictureTest, AnEmptyProjectGivesAnEmptyPicture) {
    PlanPictureCounts n;
    const std::string svg = PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, &n);
    EXPECT_EQ(n.triangles + n.hotspots + n.lines + n.rings + n.objects + n.levelLines, 0);
    EXPECT_EQ(svg.find("nan"), std::string::npos);
}

}  // namespace
