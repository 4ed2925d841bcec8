// Arcs of imported curves as points: on the circle, shared grid vertices, degenerate sweeps.
#include "geometry/ArcToPoints.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace arc_to_points_test {

QV_Arc Arc(double cx, double cy, double r, double a0, double a1) {
    QV_Arc arc = QV_Arc::Degenerate();
    arc.center = API_Coord{cx, cy};
    arc.radiusX = arc.radiusY = r;
    arc.startAngle = a0;
    arc.endAngle = a1;
    return arc;
}

TEST(ArcToPoints, PointsLieOnTheArcInOrderAndNeighboursShareVertices) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> angle(-6.0, 6.0), radius(0.01, 50.0);
    for (int i = 0; i < 300; ++i) {
        const double r = radius(rng), a0 = angle(rng), a1 = angle(rng), mid = (a0 + a1) / 2;
        QV_List<API_Coord3D> whole, first, second;
        ArcToPointsByRadius(Arc(3, 4, r, a0, a1), whole, 12, 3, 0.1);
        ArcToPointsByRadius(Arc(3, 4, r, a0, mid), first, 12, 3, 0.1);
        ArcToPointsByRadius(Arc(3, 4, r, mid, a1), second, 12, 3, 0.1);
        ASSERT_GE(whole.GetCount(), 2);
        EXPECT_LE(whole.GetCount(), 2 + 2 * 12 + 1);
        for (const API_Coord3D& p : whole) {
            EXPECT_NEAR(std::hypot(p.x - 3, p.y - 4), r, 1e-9 * (1 + r));
            EXPECT_EQ(p.z, 0.0);
        }
        // The halves step on a finer grid of the same powers of two: every vertex of the whole is one of theirs.
        for (int32_t k = 1; k + 1 < whole.GetCount(); ++k) {
            bool found = false;
            for (const QV_List<API_Coord3D>* half : {&first, &second})
                for (const API_Coord3D& q : *half)
                    found = found || std::hypot(q.x - whole[k].x, q.y - whole[k].y) < 1e-9 * (1 + r);
            EXPECT_TRUE(found) << "vertex " << k << " of case " << i;
        }
    }
}

TEST(ArcToPoints, DegenerateInputEndsWithoutSteps) {
    QV_List<API_Coord3D> points;
    ArcToPointsByRadius(Arc(0, 0, 2, 1.0, 1.0), points, 12, 3, 0.1);
    EXPECT_EQ(points.GetCount(), 2);
    ArcToPointsByRadius(Arc(0, 0, 2, 0.0, 1.0), points, 0, 3, 0.1);
    EXPECT_EQ(points.GetCount(), 0);
    ArcToPointsByRadius(Arc(0, 0, 2, 0.0, 1.0), points, 12, 3, 0.0);
    EXPECT_EQ(points.GetCount(), 0);
    ArcToPointsFixed(Arc(0, 0, 2, 0.0, 3.14159265358979), points, 36);
    EXPECT_EQ(points.GetCount(), 37);
    EXPECT_NEAR(points[36].x, -2.0, 1e-9);
}

}  // namespace arc_to_points_test
