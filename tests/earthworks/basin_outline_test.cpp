// The basin outline chosen among traced level polygons (nearest polygon, touching pieces united, exact vertices)
// and the basin level split over its two parameters.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "earthworks/BasinLevel.hpp"
#include "earthworks/BasinOutline.hpp"

namespace basin_outline_test {

using Ring = std::vector<API_Coord>;

// Appends a polygon record as the host draws it: each contour closed by repeating its first point.
void AddPolygon(QV_Explode& x, const std::vector<Ring>& contours) {
    QV_Explode_Poly rec{};
    rec.primCode = QV_ExplodeCode_Polygon;
    rec.firstCoord = x.polyCoords.GetCount();
    rec.firstEnd = x.polyEnds.GetCount();
    int32_t n = 0;
    for (const Ring& r : contours) {
        for (const API_Coord& p : r) x.polyCoords.Insert(p), ++n;
        x.polyCoords.Insert(r.front()), ++n;
        x.polyEnds.Insert(n);
    }
    rec.prim.nCoords = n;
    rec.prim.nSubPolys = static_cast<int32_t>(contours.size());
    x.polygons.Insert(rec);
}

Ring Box(double x0, double y0, double x1, double y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

// Signed areas of the outline's contours added up, and its vertex box.
double Area(const QV_List<QV_CoordLong>& outline) {
    double sum = 0.0;
    int32_t start = 0;
    for (int32_t i = 0; i < outline.GetCount(); ++i) {
        if (outline[i].code != QV_CodeContourEnd) continue;
        double a = 0.0;
        for (int32_t k = start; k < i; ++k) a += outline[k].x * outline[k + 1].y - outline[k + 1].x * outline[k].y;
        sum += std::fabs(a) / 2;
        start = i + 1;
    }
    return sum;
}

TEST(BasinOutline, FanPiecesOfTheLevelSquareUniteToTheExactSquare) {
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> pos(-500.0, 500.0), size(0.5, 80.0);
    for (int run = 0; run < 60; ++run) {
        const double x0 = pos(rng), y0 = pos(rng), s = size(rng);
        const API_Coord c{x0 + s / 2, y0 + s / 2};
        std::vector<Ring> pieces = {{{x0, y0}, {x0 + s, y0}, c},
                                    {{x0 + s, y0}, {x0 + s, y0 + s}, c},
                                    {{x0 + s, y0 + s}, {x0, y0 + s}, c},
                                    {{x0, y0 + s}, {x0, y0}, c}};
        std::shuffle(pieces.begin(), pieces.end(), rng);
        QV_Explode x;
        AddPolygon(x, {Box(x0 + 3 * s, y0, x0 + 4 * s, y0 + s)});  // another hollow, farther away
        for (const Ring& r : pieces) AddPolygon(x, {r});
        QV_List<QV_CoordLong> outline;
        ASSERT_TRUE(Basin::ChooseOutline(x, {x0 + s / 2, y0 + s / 4}, outline)) << run;
        EXPECT_NEAR(Area(outline), s * s, 1e-6 * s * s) << run;
        int32_t corners = 0;
        for (int32_t i = 0; i < outline.GetCount(); ++i) {
            const double dx = std::min(std::fabs(outline[i].x - x0), std::fabs(outline[i].x - x0 - s));
            const double dy = std::min(std::fabs(outline[i].y - y0), std::fabs(outline[i].y - y0 - s));
            EXPECT_TRUE(dx < 1e-6 || dy < 1e-6) << run << " vertex off the square's boundary";
            corners += dx < 1e-6 && dy < 1e-6;
        }
        EXPECT_GE(corners, 4) << run;
        EXPECT_EQ(outline[outline.GetCount() - 1].code, QV_CodeContourEnd);
    }
}

TEST(BasinOutline, NearestPolygonWinsTiesGoFirstAndIslandsStayOut) {
    QV_Explode x;
    AddPolygon(x, {Box(0, 0, 10, 10)});
    AddPolygon(x, {Box(20, 0, 30, 10)});
    QV_List<QV_CoordLong> outline;
    ASSERT_TRUE(Basin::ChooseOutline(x, {15, 5}, outline));  // 5 from each
    EXPECT_NEAR(Area(outline), 100.0, 1e-9);
    for (int32_t i = 0; i < outline.GetCount(); ++i) EXPECT_LE(outline[i].x, 10.0 + 1e-9);
    ASSERT_TRUE(Basin::ChooseOutline(x, {26, 4}, outline));
    for (int32_t i = 0; i < outline.GetCount(); ++i) EXPECT_GE(outline[i].x, 20.0 - 1e-9);

    QV_Explode nested;
    AddPolygon(nested, {Box(0, 0, 100, 100)});
    AddPolygon(nested, {Box(40, 40, 60, 60)});
    ASSERT_TRUE(Basin::ChooseOutline(nested, {5, 50}, outline));
    EXPECT_NEAR(Area(outline), 10000.0, 1e-6);
}

TEST(BasinOutline, NoFootOnAnyEdgeGivesNoOutline) {
    QV_Explode x;
    AddPolygon(x, {Box(0, 0, 10, 10)});
    AddPolygon(x, {Box(20, 0, 30, 10)});
    QV_List<QV_CoordLong> outline;
    outline.Insert(QV_CoordLong{1, 2, 0});
    EXPECT_FALSE(Basin::ChooseOutline(x, {-5, -5}, outline));
    EXPECT_EQ(outline.GetCount(), 0);
    QV_Explode none;
    EXPECT_FALSE(Basin::ChooseOutline(none, {0, 0}, outline));
}

TEST(BasinOutline, OnePolygonKeepsItsContoursEachEndingInMinusOne) {
    QV_Explode x;
    AddPolygon(x, {Box(0, 0, 10, 10), Box(4, 4, 6, 6)});
    QV_List<QV_CoordLong> outline;
    ASSERT_TRUE(Basin::ChooseOutline(x, {1000, 1000}, outline));  // one polygon needs no distance
    ASSERT_EQ(outline.GetCount(), 10);
    for (int32_t i = 0; i < 10; ++i) EXPECT_EQ(outline[i].code, (i == 4 || i == 9) ? QV_CodeContourEnd : 0) << i;
    EXPECT_DOUBLE_EQ(outline[9].x, 4.0);
}

TEST(BasinOutline, UpdateTakesTheFirstTracedPolygonMeetingOrInsideTheStoredOne) {
    QV_List<QV_CoordLong> stored;
    for (const API_Coord& p : Box(0, 0, 10, 10)) stored.Insert(QV_CoordLong{p.x, p.y, 0});
    stored.Insert(QV_CoordLong{0, 0, QV_CodeContourEnd});

    QV_Explode x;
    AddPolygon(x, {Box(50, 50, 60, 60)});
    AddPolygon(x, {Box(2, 2, 8, 8)});    // shrunk inside
    AddPolygon(x, {Box(5, 5, 12, 12)});  // crossing, but later
    QV_List<QV_CoordLong> outline;
    ASSERT_TRUE(Basin::ChooseUpdatedOutline(stored, x, outline));
    EXPECT_NEAR(Area(outline), 36.0, 1e-9);

    QV_Explode apart;
    AddPolygon(apart, {Box(50, 50, 60, 60)});
    EXPECT_FALSE(Basin::ChooseUpdatedOutline(stored, apart, outline));
    EXPECT_EQ(outline.GetCount(), 0);
}

TEST(BasinOutline, GarbledRecordsAreRefusedWithoutReadingPastTheLists) {
    QV_Explode x;
    AddPolygon(x, {Box(0, 0, 10, 10)});
    AddPolygon(x, {Box(20, 0, 30, 10)});
    QV_List<QV_CoordLong> outline;
    for (int32_t bad : {1 << 30, -3}) {
        x.polygons[1].prim.nCoords = bad;
        EXPECT_FALSE(Basin::PolygonPrimitiveToOutline(1, x, outline));
        x.polygons[1].prim.nCoords = 5;
        x.polygons[1].prim.nSubPolys = bad;
        EXPECT_FALSE(Basin::PolygonPrimitiveToOutline(1, x, outline));
        x.polygons[1].prim.nSubPolys = 1;
    }
    x.polyEnds[1] = 99;  // a contour end past the polygon's points
    EXPECT_FALSE(Basin::PolygonPrimitiveToOutline(1, x, outline));
    EXPECT_FALSE(Basin::PolygonPrimitiveToOutline(7, x, outline));
    EXPECT_EQ(outline.GetCount(), 0);
    EXPECT_TRUE(Basin::ChooseOutline(x, {5, -1}, outline));  // the sound polygon is still chosen
}

TEST(BasinLevel, EachLevelLandsInOneParameterAndReadsBack) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> any(-50.0, 50.0);
    for (int i = 0; i < 500; ++i) {
        const double level = any(rng);
        const Basin::BasinLevelParams p = Basin::SplitLevel(level);
        EXPECT_EQ(Basin::JoinLevel(p), level);
        EXPECT_TRUE(level <= -1e-7 ? p.zzyzx == 0.0 : p.negativeLevel == 0.0) << level;
        EXPECT_GE(p.zzyzx, -1e-7);
    }
    EXPECT_EQ(Basin::SplitLevel(-0.5).zzyzx, 0.0);
    EXPECT_EQ(Basin::SplitLevel(-0.5).negativeLevel, -0.5);
    EXPECT_EQ(Basin::SplitLevel(0.0).zzyzx, 0.0);
    EXPECT_EQ(Basin::SplitLevel(0.0).negativeLevel, 0.0);
    EXPECT_EQ(Basin::SplitLevel(-1e-7).negativeLevel, -1e-7);
    EXPECT_EQ(Basin::SplitLevel(-0.9e-7).zzyzx, -0.9e-7);
}

}  // namespace basin_outline_test
