#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "MemoryDriver.hpp"
#include "geometry/BezierDivision.hpp"

namespace bezier_division_test {

QV_List<API_Coord3D> Curve(std::initializer_list<API_Coord> pts) {
    QV_List<API_Coord3D> r;
    for (const API_Coord& p : pts) r.Insert(API_Coord3D{p.x, p.y, 42.0});
    return r;
}

API_Coord Bez(const API_Coord* c, double u) {
    API_Coord q[4] = {c[0], c[1], c[2], c[3]};
    for (int level = 3; level > 0; --level)
        for (int i = 0; i < level; ++i)
            q[i] = API_Coord{q[i].x + u * (q[i + 1].x - q[i].x), q[i].y + u * (q[i + 1].y - q[i].y)};
    return q[0];
}

// Dense polyline of the curve (de Casteljau) and the arc length along it of the point nearest to p.
struct Dense {
    std::vector<API_Coord> pts;
    std::vector<double> len;

    explicit Dense(const QV_List<API_Coord3D>& r) {
        const int32_t n = r.GetCount();
        for (int32_t s = 0; s + 3 < n; s += 3) {
            API_Coord c[4];
            for (int i = 0; i < 4; ++i) c[i] = API_Coord{r[s + i].x, r[s + i].y};
            for (int i = (s == 0 ? 0 : 1); i <= 20000; ++i) {
                const API_Coord p = Bez(c, i / 20000.0);
                len.push_back(pts.empty() ? 0.0 : len.back() + std::hypot(p.x - pts.back().x, p.y - pts.back().y));
                pts.push_back(p);
            }
        }
    }
    double LengthAt(const API_Coord3D& p, double* distance) const {
        size_t best = 0;
        double bestD = 1e300;
        for (size_t i = 0; i < pts.size(); ++i) {
            const double d = std::hypot(pts[i].x - p.x, pts[i].y - p.y);
            if (d < bestD) {
                bestD = d;
                best = i;
            }
        }
        *distance = bestD;
        return len[best];
    }
};

const std::initializer_list<API_Coord> kSeven = {{0, 0}, {10, 30}, {40, 30}, {50, 0}, {60, -30}, {90, -20}, {100, 10}};

TEST(BezierPoints, AnchorsAndDirections) {
    QV_List<API_Coord> anchors;
    QV_List<Geometry::DirType> dirs;
    AppendBezierPoints(Curve({{0, 0}, {3, 4}, {7, 4}, {10, 0}}), anchors, dirs);
    ASSERT_EQ(anchors.GetCount(), 2);
    ASSERT_EQ(dirs.GetCount(), 2);
    EXPECT_EQ(dirs[0].lenPrev, 0.0);  // incoming control is the anchor itself
    EXPECT_DOUBLE_EQ(dirs[0].lenNext, 5.0);
    EXPECT_DOUBLE_EQ(dirs[1].lenPrev, 5.0);
    EXPECT_EQ(dirs[1].lenNext, 0.0);  // outgoing control is the anchor itself

    AppendBezierPoints(Curve(kSeven), anchors, dirs);
    ASSERT_EQ(anchors.GetCount(), 3);
    EXPECT_EQ(anchors[1].x, 50.0);
    EXPECT_DOUBLE_EQ(dirs[1].lenPrev, std::hypot(10, 30));  // point 2
    EXPECT_DOUBLE_EQ(dirs[1].lenNext, std::hypot(10, 30));  // point 4
    EXPECT_EQ(dirs[1].kinked, 0);

    // Short records: only point 0; an empty record gives nothing.
    AppendBezierPoints(Curve({{1, 2}, {3, 4}, {5, 6}}), anchors, dirs);
    EXPECT_EQ(anchors.GetCount(), 1);
    AppendBezierPoints(Curve({}), anchors, dirs);
    EXPECT_EQ(anchors.GetCount(), 0);
    EXPECT_EQ(dirs.GetCount(), 0);
    // A trailing anchor with a dangling control point.
    AppendBezierPoints(Curve({{0, 0}, {1, 1}, {2, 1}, {3, 0}, {4, -1}}), anchors, dirs);
    ASSERT_EQ(anchors.GetCount(), 2);
    EXPECT_DOUBLE_EQ(dirs[1].lenNext, std::sqrt(2.0));
}

TEST(BezierPolyline, EqualPiecesAlongTheCurve) {
    const QV_List<API_Coord3D> r = Curve(kSeven);
    const Dense dense(r);
    for (const int32_t s : {1, 3, 10, 57}) {
        QV_List<API_Coord3D> out;
        BezierToPolyline(r, s, out);
        ASSERT_EQ(out.GetCount(), s + 1) << s;
        EXPECT_EQ(out[0].x, 0.0);
        EXPECT_EQ(out[s].x, 100.0);
        EXPECT_EQ(out[s].y, 10.0);
        // The length is taken up to parameter k - 1.001, so the pieces are a little shorter than total / s and
        // the last one takes up the rest (0.001 of the last span's end speed, here about 0.095).
        const double total = dense.len.back();
        const double piece = (total - 0.095) / s;
        double prev = 0.0;
        for (int32_t i = 1; i <= s; ++i) {
            EXPECT_EQ(out[i].z, 0.0);
            double dist = 0;
            const double at = dense.LengthAt(out[i], &dist);
            EXPECT_LT(dist, 0.01) << "off the curve " << s << " " << i;
            if (i < s) {
                EXPECT_NEAR(at - prev, piece, 0.01) << s << " " << i;
            } else {
                EXPECT_NEAR(at - prev, piece + 0.095, 0.01) << s;
            }
            prev = at;
        }
    }
}

TEST(BezierPolyline, BadCountsAndShortRecords) {
    const QV_List<API_Coord3D> r = Curve(kSeven);
    QV_List<API_Coord3D> out;
    for (const int32_t s : {0, -4}) {
        BezierToPolyline(r, s, out);
        ASSERT_EQ(out.GetCount(), 2);
        EXPECT_EQ(out[0].x, 0.0);
        EXPECT_EQ(out[1].x, 100.0);
    }
    BezierToPolyline(Curve({}), 5, out);
    EXPECT_EQ(out.GetCount(), 0);
    BezierToPolyline(Curve({{3, 4}}), 5, out);
    ASSERT_EQ(out.GetCount(), 2);
    EXPECT_EQ(out[1].x, 3.0);
    // All points in one place: no NaN, just the anchors.
    BezierToPolyline(Curve({{1, 1}, {1, 1}, {1, 1}, {1, 1}}), 8, out);
    ASSERT_EQ(out.GetCount(), 2);
    EXPECT_EQ(out[1].y, 1.0);
}

TEST(BezierPolyline, FailedAllocationsLeaveTheOutputEmptyOrWhole) {
    const QV_List<API_Coord3D> r = Curve(kSeven);
    const int64_t livePtrs = MemoryDriver::LivePtrCount();
    const int64_t liveHandles = MemoryDriver::LiveHandleCount();
    bool sawEmpty = false;
    for (int64_t after = 0; after < 40; ++after) {
        QV_List<API_Coord3D> out;
        {
            MemoryDriver::ScopedReset reset;
            MemoryDriver::FailAllocationsAfter(after);
            BezierToPolyline(r, 6, out);
        }
        if (out.GetCount() == 0)
            sawEmpty = true;
        else
            EXPECT_EQ(out.GetCount(), 7) << after;
    }
    EXPECT_TRUE(sawEmpty);
    EXPECT_EQ(MemoryDriver::LivePtrCount(), livePtrs);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), liveHandles);
}

}  // namespace bezier_division_test
