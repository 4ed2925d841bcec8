// Which measured points a terrain's outline leaves out, against star-shaped outlines whose inside is known along
// every ray from their centre: a point on an edge or a vertex is covered, one in a hole is not, and the highest
// point outside is the highest of those with a height.
#include "ProjectHost.hpp"
#include "model3d/TerrainCoverage.hpp"
#include "project/AddOnPointRecord.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace terrain_coverage_test {

// The star's boundary radius along the ray at `angle`: where the ray meets the edge between the vertices around
// it (the vertices' angles increase from 0 to below 2 pi).
double BoundaryRadius(const std::vector<double>& angles, const std::vector<double>& radii, double angle) {
    const size_t n = angles.size();
    size_t i = n - 1;
    for (size_t k = 0; k < n; ++k)
        if (angles[k] <= angle) i = k;
    const size_t j = (i + 1) % n;
    const double ax = radii[i] * std::cos(angles[i]), ay = radii[i] * std::sin(angles[i]);
    const double bx = radii[j] * std::cos(angles[j]), by = radii[j] * std::sin(angles[j]);
    const double dx = std::cos(angle), dy = std::sin(angle);
    // r d = a + t (b - a): solved for r.
    const double ex = bx - ax, ey = by - ay;
    return (ax * ey - ay * ex) / (dx * ey - dy * ex);
}

PlanRing Scaled(const std::vector<double>& angles, const std::vector<double>& radii, double scale) {
    PlanRing ring;
    for (size_t k = 0; k < angles.size(); ++k)
        ring.points.push_back({scale * radii[k] * std::cos(angles[k]), scale * radii[k] * std::sin(angles[k]), 0});
    return ring;
}

TEST(TerrainCoverage, MatchesTheInsideOfStarOutlinesWithAndWithoutAHole) {
    std::mt19937 random(46);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    constexpr double Hole = 0.3;
    for (int round = 0; round < 200; ++round) {
        const size_t n = 4 + size_t(unit(random) * 40);
        std::vector<double> angles, radii;
        // Angles spread so that no gap reaches pi (four vertices at least): the centre sees every edge.
        for (size_t k = 0; k < n; ++k) angles.push_back((double(k) + 0.8 * unit(random)) * 2 * M_PI / double(n));
        for (size_t k = 0; k < n; ++k) radii.push_back(50 + 100 * unit(random));
        const bool holed = round % 2 == 1;
        std::vector<PlanRing> outline = {Scaled(angles, radii, 1.0)};
        if (holed) outline.push_back(Scaled(angles, radii, Hole));

        std::vector<MeasuredPoint> points;
        int64_t outside = 0;
        std::optional<double> highest;
        const auto add = [&](double x, double y, bool isOutside, std::optional<double> height) {
            points.push_back({x, y, height});
            if (!isOutside) return;
            ++outside;
            if (height && (!highest || *height > *highest)) highest = height;
        };
        for (size_t k = 0; k < n; ++k) {
            const ModelPoint& a = outline[0].points[k];
            const ModelPoint& b = outline[0].points[(k + 1) % n];
            add(a.x, a.y, false, 1000.0 + double(k));                 // a vertex: on the outline
            add((a.x + b.x) / 2, (a.y + b.y) / 2, false, 2000.0);     // an edge's middle
            add(a.x * 1.001, a.y * 1.001, true, unit(random) * 500);  // just beyond a vertex
        }
        for (int k = 0; k < 300; ++k) {
            const double angle = unit(random) * 2 * M_PI;
            const double boundary = BoundaryRadius(angles, radii, angle);
            const double r = unit(random) * 1.5 * boundary;
            if (std::fabs(r - boundary) < 1e-3 || (holed && std::fabs(r - Hole * boundary) < 1e-3)) continue;
            const bool out = r > boundary || (holed && r < Hole * boundary);
            add(r * std::cos(angle), r * std::sin(angle), out,
                k % 7 == 0 ? std::nullopt : std::optional<double>(unit(random) * 500));
        }

        const TerrainCoverage c = CoverageOf(outline, points);
        ASSERT_EQ(c.points, int64_t(points.size())) << "round " << round;
        ASSERT_EQ(c.outside, outside) << "round " << round;
        ASSERT_EQ(c.highestOutside, highest) << "round " << round;
    }
}

TEST(TerrainCoverage, NothingOutsideAndNoHeightAreToldApart) {
    const std::vector<PlanRing> square = {{{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}}};
    const TerrainCoverage inside = CoverageOf(square, {{5, 5, 100.0}, {0, 5, 90.0}, {10, 10, std::nullopt}});
    EXPECT_EQ(inside.points, 3);
    EXPECT_EQ(inside.outside, 0);
    EXPECT_FALSE(inside.highestOutside);
    // Beyond the tolerance of an edge a point is outside, with or without a height.
    const TerrainCoverage beyond = CoverageOf(square, {{10.00001, 5, std::nullopt}, {-1, -1, std::nullopt}});
    EXPECT_EQ(beyond.outside, 2);
    EXPECT_FALSE(beyond.highestOutside);
}

// The counts a project's outline and mesh give, walking the store as it lies, against the list of the terrain
// points that count: the add-on's points on the outline's story in its database, whichever order they were made in
// and whatever was deleted between them. Hotspots of no record or another record, points on another story and in
// a worksheet stand among them and are not counted.
class StoredCoverageTest : public ProjectHostTest {};

TEST_F(StoredCoverageTest, CountsTheSamePointsAsTheListOfTheOutlinesStoryAndDatabase) {
    std::mt19937 random(61);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Db().SetStory(1, 3.0, "First");
    API_DatabaseInfo plan = {}, sheet = {};
    plan.typeID = APIWind_FloorPlanID;
    sheet.typeID = APIWind_WorksheetID;
    const std::u16string sheetName = u"Sheet";
    sheetName.copy(sheet.name, sheetName.size());
    ASSERT_EQ(Db().NewWorksheet(&sheet), NoError);
    ASSERT_EQ(Db().ChangeDatabase(plan), NoError);

    for (int round = 0; round < 3; ++round) {
        const size_t n = 5 + size_t(unit(random) * 20);
        std::vector<double> angles, radii;
        for (size_t k = 0; k < n; ++k) angles.push_back((double(k) + 0.8 * unit(random)) * 2 * M_PI / double(n));
        for (size_t k = 0; k < n; ++k) radii.push_back(40 + 60 * unit(random));
        const PlanRing ring = Scaled(angles, radii, 1.0);
        std::vector<API_Coord3D> corners;
        for (const ModelPoint& p : ring.points) corners.push_back({p.x, p.y, 10.0});
        const std::string tag = std::to_string(round);
        API_Guid fill = {}, mesh = {};
        ASSERT_EQ(Db().PlacePolygonElement(API_HatchID, corners, true, 1, "F" + tag, &fill), NoError);
        ASSERT_EQ(Db().PlacePolygonElement(API_MeshID, corners, true, 1, "M" + tag, &mesh), NoError);

        // The rounds before left their points: they count again, and so do those deleted now and then.
        for (int k = 0; k < 240; ++k) {
            const API_Coord at = {unit(random) * 300 - 150, unit(random) * 300 - 150};
            // Quarters: the height reads back from the record's decimal text as it was written.
            const double height = std::floor(unit(random) * 2000) / 4;
            switch (k % 8) {
                case 0: PlaceHotspot(at, ""); break;
                case 1: {
                    const API_Guid other = PlaceHotspot(at, "");
                    WriteRecord(other, ElemKind_Constraint);
                    break;
                }
                case 2:
                    ASSERT_EQ(Db().GoToStory(1), NoError);
                    PlaceTerrainPoint(at, height);
                    ASSERT_EQ(Db().GoToStory(0), NoError);
                    break;
                case 3:
                    ASSERT_EQ(Db().ChangeDatabase(sheet), NoError);
                    PlaceTerrainPoint(at, height);
                    ASSERT_EQ(Db().ChangeDatabase(plan), NoError);
                    break;
                case 4: {
                    API_Guid gone = PlaceTerrainPoint(at, height);
                    ASSERT_EQ(Command([&] { return Db().DeleteElements(&gone, 1); }), NoError);
                    break;
                }
                default: PlaceTerrainPoint(at, height); break;
            }
        }
        std::vector<MeasuredPoint> counted;
        for (const API_Guid& g : Db().ElementsHere(API_HotspotID)) {
            const StoredElement& e = *Db().Find(g);
            std::optional<double> height;
            if (e.record.header.floorInd == 0 && ReadAddOnPoint(e, &height))
                counted.push_back({e.record.Get().hotspot.pos.x, e.record.Get().hotspot.pos.y, height});
        }
        ASSERT_EQ(counted.size(), size_t(90 * (round + 1)));
        const TerrainCoverage want = CoverageOf({ring}, counted);
        ASSERT_GT(want.outside, 0);
        ASSERT_LT(want.outside, want.points);
        for (const auto& [guid, coverage] :
             {std::make_pair(fill, &OutlineCoverage), std::make_pair(mesh, &MeshCoverage)}) {
            TerrainCoverage got;
            std::string why;
            ASSERT_TRUE(coverage(Db(), guid, &got, &why)) << why;
            EXPECT_EQ(got.points, want.points) << "round " << round;
            EXPECT_EQ(got.outside, want.outside) << "round " << round;
            EXPECT_EQ(got.highestOutside, want.highestOutside) << "round " << round;
        }
        // Each asks for its own kind.
        TerrainCoverage none;
        std::string why;
        EXPECT_FALSE(OutlineCoverage(Db(), mesh, &none, &why));
        EXPECT_FALSE(MeshCoverage(Db(), fill, &none, &why));
    }
}

}  // namespace terrain_coverage_test
