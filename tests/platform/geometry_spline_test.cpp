#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "GSArray.hpp"
#include "GeometrySpline.hpp"

namespace geometry_spline_test {

struct Cubic {
    API_Coord p[4];
};

// Reference evaluation by de Casteljau, independent of the library's Bernstein form.
API_Coord DeCasteljau(const Cubic& c, double u) {
    API_Coord q[4] = {c.p[0], c.p[1], c.p[2], c.p[3]};
    for (int level = 3; level > 0; --level)
        for (int i = 0; i < level; ++i)
            q[i] = API_Coord{q[i].x + u * (q[i + 1].x - q[i].x), q[i].y + u * (q[i + 1].y - q[i].y)};
    return q[0];
}

// Control points in the order anchor, control, control, anchor, ... (3k + 1 points).
std::vector<Cubic> Spans(const std::vector<API_Coord>& pts) {
    std::vector<Cubic> out;
    for (size_t i = 0; i + 3 < pts.size(); i += 3) out.push_back(Cubic{{pts[i], pts[i + 1], pts[i + 2], pts[i + 3]}});
    return out;
}

// Arc-length table of the curve by dense sampling: (parameter, length) pairs.
struct Sampled {
    std::vector<double> t, len;
    std::vector<API_Coord> pt;
};

Sampled Sample(const std::vector<Cubic>& spans, int perSpan) {
    Sampled s;
    double acc = 0.0;
    API_Coord prev = DeCasteljau(spans[0], 0.0);
    s.t.push_back(0.0);
    s.len.push_back(0.0);
    s.pt.push_back(prev);
    for (size_t k = 0; k < spans.size(); ++k) {
        for (int i = 1; i <= perSpan; ++i) {
            const double u = static_cast<double>(i) / perSpan;
            const API_Coord p = DeCasteljau(spans[k], u);
            acc += std::hypot(p.x - prev.x, p.y - prev.y);
            prev = p;
            s.t.push_back(k + u);
            s.len.push_back(acc);
            s.pt.push_back(p);
        }
    }
    return s;
}

double LengthAtParam(const Sampled& s, double t) {
    for (size_t i = 1; i < s.t.size(); ++i)
        if (s.t[i] >= t) {
            const double f = (t - s.t[i - 1]) / (s.t[i] - s.t[i - 1]);
            return s.len[i - 1] + f * (s.len[i] - s.len[i - 1]);
        }
    return s.len.back();
}

struct Built {
    std::vector<API_Coord> anchors;
    std::vector<Geometry::DirType> dirs;
};

Built Build(const std::vector<API_Coord>& pts) {
    Built b;
    const size_t n = pts.size();
    for (size_t e = 0; e < n; e += 3) {
        b.anchors.push_back(pts[e]);
        Geometry::DirType d{};
        Geometry::SetBezierDirType(pts[e], d, e == 0 ? pts[e] : pts[e - 1], e + 1 < n ? pts[e + 1] : pts[e]);
        b.dirs.push_back(d);
    }
    return b;
}

// An S-curve with a kink at the middle anchor, a straight span with no handles, and a tight hook.
const std::vector<API_Coord> kCurve = {{0, 0},  {10, 20}, {30, -20}, {40, 0},   {50, 5},  {60, 5}, {70, 0},
                                       {70, 0}, {90, 0},  {100, 0},  {110, 30}, {80, 30}, {95, 1}};

TEST(GeometrySpline, EvaluationMatchesDeCasteljau) {
    const Built b = Build(kCurve);
    const Geometry::BezierDetails details(static_cast<int32_t>(b.anchors.size()), b.anchors.data(), b.dirs.data());
    const std::vector<Cubic> spans = Spans(kCurve);
    ASSERT_EQ(details.SpanCount(), static_cast<int32_t>(spans.size()));
    EXPECT_EQ(b.dirs[1].kinked, 1);  // (30,-20)->(40,0)->(45,10) is not straight
    for (size_t k = 0; k < spans.size(); ++k)
        for (int i = 0; i <= 50; ++i) {
            const double u = i / 50.0;
            const API_Coord got = Geometry::GetSplineVal(details, k + u);
            const API_Coord want = DeCasteljau(spans[k], u);
            EXPECT_NEAR(got.x, want.x, 1e-9);
            EXPECT_NEAR(got.y, want.y, 1e-9);
        }
    // Out of range parameters are clamped to the ends.
    const API_Coord before = Geometry::GetSplineVal(details, -3.0);
    const API_Coord after = Geometry::GetSplineVal(details, 99.0);
    EXPECT_NEAR(before.x, 0.0, 1e-12);
    EXPECT_NEAR(after.x, 95.0, 1e-9);
    EXPECT_NEAR(after.y, 1.0, 1e-9);
}

TEST(GeometrySpline, LengthWithinAccuracy) {
    const Built b = Build(kCurve);
    const Geometry::BezierDetails details(static_cast<int32_t>(b.anchors.size()), b.anchors.data(), b.dirs.data());
    const Sampled s = Sample(Spans(kCurve), 20000);
    EXPECT_NEAR(Geometry::SplineLen(details, 0.001, 4.0), s.len.back(), 0.001);
    EXPECT_NEAR(Geometry::SplineLen(details, 0.001, 4.0 - 0.001), LengthAtParam(s, 3.999), 0.001);
    EXPECT_NEAR(Geometry::SplineLen(details, 0.001, 1.5), LengthAtParam(s, 1.5), 0.001);
    // The straight span from (70,0) to (100,0) with its handles on the line.
    EXPECT_NEAR(Geometry::SplineLen(details, 1e-6, 3.0) - Geometry::SplineLen(details, 1e-6, 2.0), 30.0, 1e-5);
    EXPECT_EQ(Geometry::SplineLen(details, 0.001, -1.0), 0.0);
    EXPECT_NEAR(Geometry::SplineLen(details, 0.001, 50.0), s.len.back(), 0.001);
}

TEST(GeometrySpline, DivisionIntoEqualPieces) {
    const Built b = Build(kCurve);
    const int32_t k = static_cast<int32_t>(b.anchors.size());
    const Geometry::BezierDetails details(k, b.anchors.data(), b.dirs.data());
    const Sampled s = Sample(Spans(kCurve), 20000);
    for (int32_t pieces : {1, 2, 7, 40, 333}) {
        const double L = Geometry::SplineLen(details, 0.001, k - 1.001);
        GS::Array<double> params;
        const int32_t p =
            Geometry::DivSplinePart(k, b.anchors.data(), b.dirs.data(), false, true, 0, L / pieces, params);
        ASSERT_EQ(p, pieces - 1) << pieces;
        ASSERT_EQ(params.GetSize(), static_cast<uint32_t>(p));
        for (uint32_t j = 0; j < static_cast<uint32_t>(p); ++j) {
            EXPECT_NEAR(LengthAtParam(s, params[j]), (j + 1) * L / pieces, 2e-3) << pieces << " " << j;
            if (j > 0) {
                EXPECT_GT(params[j], params[j - 1]);
            }
        }
    }
    // Without omitting, a step that does not divide the length leaves a short last piece.
    GS::Array<double> params;
    const double full = s.len.back();
    EXPECT_EQ(Geometry::DivSplinePart(k, b.anchors.data(), b.dirs.data(), false, false, 0, full / 3.9, params), 3);
    EXPECT_EQ(Geometry::DivSplinePart(k, b.anchors.data(), b.dirs.data(), false, true, 0, full / 3.9, params), 3);
    EXPECT_EQ(Geometry::DivSplinePart(k, b.anchors.data(), b.dirs.data(), false, true, 0, full / 3.2, params), 2);
    // From a later anchor the lengths count from that anchor.
    const int32_t p = Geometry::DivSplinePart(k, b.anchors.data(), b.dirs.data(), false, true, 2, 5.0, params);
    ASSERT_GT(p, 0);
    EXPECT_NEAR(LengthAtParam(s, params[0]) - LengthAtParam(s, 2.0), 5.0, 2e-3);
}

TEST(GeometrySpline, ClosedSplineAddsTheClosingSpan) {
    // Four anchors on a unit-ish circle with the usual circle handles.
    const double h = 0.5522847498;
    std::vector<API_Coord> anchors = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    std::vector<Geometry::DirType> dirs(4);
    for (int i = 0; i < 4; ++i) dirs[i] = Geometry::DirType{h, h, M_PI / 2 + i * M_PI / 2, 0, 0, 0};
    const Geometry::BezierDetails open(4, anchors.data(), dirs.data(), false);
    const Geometry::BezierDetails closed(4, anchors.data(), dirs.data(), true);
    EXPECT_EQ(open.SpanCount(), 3);
    EXPECT_EQ(closed.SpanCount(), 4);
    EXPECT_NEAR(Geometry::SplineLen(closed, 1e-6, 4.0), 2 * M_PI, 2e-3);
    const API_Coord back = Geometry::GetSplineVal(closed, 4.0);
    EXPECT_NEAR(back.x, 1.0, 1e-12);
    EXPECT_NEAR(back.y, 0.0, 1e-12);
}

TEST(GeometrySpline, BadInputGivesNothing) {
    const Built b = Build(kCurve);
    const int32_t k = static_cast<int32_t>(b.anchors.size());
    GS::Array<double> params{1.0, 2.0};
    for (double step : {0.0, -1.0, std::nan(""), HUGE_VAL, 1e-9})
        EXPECT_EQ(Geometry::DivSplinePart(k, b.anchors.data(), b.dirs.data(), false, true, 0, step, params), 0) << step;
    EXPECT_TRUE(params.IsEmpty());
    EXPECT_EQ(Geometry::DivSplinePart(k, b.anchors.data(), b.dirs.data(), false, true, k - 1, 1.0, params), 0);
    EXPECT_EQ(Geometry::DivSplinePart(k, b.anchors.data(), b.dirs.data(), false, true, -1, 1.0, params), 0);
    EXPECT_EQ(Geometry::DivSplinePart(1, b.anchors.data(), b.dirs.data(), false, true, 0, 1.0, params), 0);
    EXPECT_EQ(Geometry::DivSplinePart(0, nullptr, nullptr, false, true, 0, 1.0, params), 0);

    const Geometry::BezierDetails single(1, b.anchors.data(), b.dirs.data());
    EXPECT_EQ(single.SpanCount(), 0);
    EXPECT_EQ(Geometry::SplineLen(single, 0.001, -0.001), 0.0);

    // Coinciding anchors without handles: a zero-length span is stepped over.
    std::vector<API_Coord> pts = {{0, 0}, {0, 0}, {0, 0}, {0, 0}, {0, 0}, {10, 0}, {10, 0}};
    const Built z = Build(pts);
    ASSERT_EQ(z.anchors.size(), 3u);
    const int32_t p = Geometry::DivSplinePart(3, z.anchors.data(), z.dirs.data(), false, true, 0, 2.5, params);
    ASSERT_EQ(p, 3);
    for (uint32_t i = 0; i < params.GetSize(); ++i) {
        const double t = params[i];
        EXPECT_TRUE(std::isfinite(t));
        EXPECT_GE(t, 1.0);
    }
    EXPECT_NEAR(Geometry::GetSplineVal(Geometry::BezierDetails(3, z.anchors.data(), z.dirs.data()), params[0]).x, 2.5,
                1e-6);
}

}  // namespace geometry_spline_test
