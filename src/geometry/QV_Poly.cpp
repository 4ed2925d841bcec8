#include "geometry/QV_Poly.hpp"

#include <cmath>

#include "geometry/QV_Arc.hpp"

namespace {

const double kSamePoint = 1e-7;

bool Same2D(double ax, double ay, double bx, double by) {
    return std::fabs(ax - bx) < kSamePoint && std::fabs(ay - by) < kSamePoint;
}

// Entries of a coded list as one contour: first and count.
struct Entries {
    const QV_List<QV_CoordLong>& list;
    int32_t first;
    int32_t count;
    const QV_CoordLong& operator[](int32_t i) const { return list[first + i]; }
};

API_Coord XY(const QV_CoordLong& e) { return API_Coord{e.x, e.y}; }

// Reads one contour (mode 1: 0 vertex, 2 arc midpoint; mode 2: 15 vertex, 900 centre + 3015 midpoint + 3015 end).
void ReadContour(QV_Poly& poly, const Entries& in, int32_t mode) {
    poly.Clear();
    if (in.count >= 2) {
        QV_ReserveItems(poly.vertices, in.count);
        QV_ReserveItems(poly.codes, in.count);
        for (int32_t j = 0; j < in.count; ++j) {
            const QV_CoordLong& e = in[j];
            if (mode == 2 && e.code == QV_CodeArcCentre2) {
                // Centre, midpoint, end: the arc from the last vertex through the midpoint to the end.
                if (j + 2 < in.count && poly.VertexCount() > 0) {
                    const API_Coord start = poly.vertices[poly.VertexCount() - 1];
                    const QV_Arc arc = QV_Arc::FromThreePoints(start, XY(in[j + 2]), XY(in[j + 1]));
                    if (!arc.IsDegenerate()) {
                        poly.arcs.Insert(arc);
                        poly.codes[poly.CodeCount() - 1] = poly.arcs.GetCount() - 1;
                    }
                    j += 1;  // the end entry is read as a vertex next
                }
                continue;
            }
            if (mode != 2 && e.code == QV_CodeArcMid1) {
                // A midpoint with no vertex before it has no reading: it is skipped.
                if (poly.VertexCount() == 0) continue;
                const API_Coord start = poly.vertices[poly.VertexCount() - 1];
                const API_Coord end = XY(j + 1 < in.count ? in[j + 1] : in[0]);
                const QV_Arc arc = QV_Arc::FromThreePoints(start, end, XY(e));
                // Collinear or coinciding points: the edge stays straight.
                if (!arc.IsDegenerate()) {
                    poly.arcs.Insert(arc);
                    poly.codes[poly.CodeCount() - 1] = poly.arcs.GetCount() - 1;
                }
                continue;
            }
            const int32_t n = poly.VertexCount();
            // Mode 2 closes a ring that ends on an arc with a copy of the arc's end: no vertex of its own.
            const bool copyOfLast = mode == 2 && e.code == QV_CodeContourEnd && n > 0 &&
                Same2D(e.x, e.y, poly.vertices[n - 1].x, poly.vertices[n - 1].y);
            if (!copyOfLast) {
                poly.vertices.Insert(XY(e));
                poly.codes.Insert(-1);
            }
            if (e.code == QV_CodeContourEnd) break;
        }
        const int32_t n = poly.VertexCount();
        if (n >= 2) {
            const API_Coord& a = poly.vertices[0];
            const API_Coord& b = poly.vertices[n - 1];
            if (Same2D(a.x, a.y, b.x, b.y)) {
                poly.vertices.SetSize(n - 1);
                poly.codes.SetSize(n - 1);
            }
        }
    }
    poly.UpdateClockwise();
}

// Index just past the contour that starts at first: after its first -1 entry, or the end of the list.
template <typename Entry>
int32_t NextContourEnd(const QV_List<Entry>& list, int32_t first) {
    const int32_t total = list.GetCount();
    int32_t j = first;
    while (j < total && list[j].code != QV_CodeContourEnd) ++j;
    return j < total ? j + 1 : total;
}

}  // namespace

QV_Poly::QV_Poly() = default;

QV_Poly::QV_Poly(const QV_Poly& source)
    : vertices(source.vertices), arcs(source.arcs), codes(source.codes), clockwise(source.clockwise) {}

QV_Poly& QV_Poly::operator=(const QV_Poly& source) {
    if (this != &source) {
        vertices = source.vertices;
        arcs = source.arcs;
        codes = source.codes;
        clockwise = source.clockwise;
    }
    return *this;
}

QV_Poly::~QV_Poly() = default;

void QV_Poly::Clear() {
    vertices.Clear();
    arcs.Clear();
    codes.Clear();
}

int32_t QV_Poly::VertexCount() const { return vertices.GetCount(); }

int32_t QV_Poly::CodeCount() const { return codes.GetCount(); }

bool QV_Poly::IsClosed() const { return CodeCount() == VertexCount(); }

bool QV_Poly::IsUsableRing() const {
    const int32_t n = VertexCount();
    return IsClosed() && n >= 2 && (n > 2 || arcs.GetCount() > 0);
}

int32_t QV_Poly::EdgeEnd(int32_t edge) const {
    const int32_t n = VertexCount();
    return n > 0 ? (edge + 1) % n : 0;
}

const QV_Arc* QV_Poly::EdgeArc(int32_t edge) const {
    if (edge < 0 || edge >= CodeCount()) return nullptr;
    const QV_Arc* arc = arcs.Get(codes[edge]);
    // A degenerate arc has no shape of its own: the edge is its chord.
    if (arc == nullptr || arc->IsDegenerate()) return nullptr;
    return arc;
}

bool QV_Poly::AddPoint(const API_Coord& point, bool close, const double& tolerance) {
    const double t = std::fabs(tolerance);
    const int32_t n = VertexCount();
    if (n == 0) {
        vertices.Insert(point);
        UpdateClockwise();
        return true;
    }
    if (IsClosed()) return false;
    const API_Coord& last = vertices[n - 1];
    if (std::fabs(point.x - last.x) <= t && std::fabs(point.y - last.y) <= t) return true;
    const API_Coord& first = vertices[0];
    if (close && std::fabs(point.x - first.x) <= t && std::fabs(point.y - first.y) <= t) {
        if (n < 3) return false;
        codes.Insert(-1);
        UpdateClockwise();
        return true;
    }
    vertices.Insert(point);
    codes.Insert(-1);
    UpdateClockwise();
    return true;
}

bool QV_Poly::AddPointXY(const double& x, const double& y, bool close, double tolerance) {
    return AddPoint(API_Coord{x, y}, close, tolerance);
}

namespace {

template <typename Point>
void SetStraight(QV_Poly& poly, const QV_List<Point>& points, bool close, bool (*same)(const Point&, const Point&)) {
    const int32_t n = points.GetCount();
    if (n < 2) {
        poly.Clear();
        return;
    }
    poly.arcs.Clear();
    const bool repeated = same(points[0], points[n - 1]);
    const int32_t vertexCount = repeated ? n - 1 : n;
    const int32_t codeCount = repeated ? n - 1 : (close ? n : n - 1);
    poly.vertices.Clear();
    poly.codes.Clear();
    if (poly.vertices.SetSize(vertexCount))
        for (int32_t i = 0; i < vertexCount; ++i) poly.vertices[i] = API_Coord{points[i].x, points[i].y};
    if (poly.codes.SetSize(codeCount))
        for (int32_t i = 0; i < codeCount; ++i) poly.codes[i] = -1;
    poly.UpdateClockwise();
}

bool Same2DCoord(const API_Coord& a, const API_Coord& b) { return Same2D(a.x, a.y, b.x, b.y); }

bool Same3DCoord(const API_Coord3D& a, const API_Coord3D& b) {
    return Same2D(a.x, a.y, b.x, b.y) && std::fabs(a.z - b.z) < kSamePoint;
}

}  // namespace

void QV_Poly::SetFromCoords(const QV_List<API_Coord>& points, bool close) {
    SetStraight(*this, points, close, Same2DCoord);
}

void QV_Poly::SetFromCoords3D(const QV_List<API_Coord3D>& points, bool close) {
    SetStraight(*this, points, close, Same3DCoord);
}

double QV_Poly::SignedArea() const {
    const int32_t n = VertexCount();
    const int32_t m = CodeCount();
    double sum = 0.0;
    if (n == 0) return sum;
    for (int32_t i = 0; i < m; ++i) {
        const API_Coord& a = vertices[i % n];
        const API_Coord& b = vertices[(i + 1) % n];
        const QV_Arc* arc = EdgeArc(i);
        if (arc == nullptr) {
            sum += (b.x - a.x) * (b.y + a.y) * 0.5;
            continue;
        }
        const double sweep = arc->endAngle - arc->startAngle;
        const int32_t segments = ArcSegmentCount(arc->radiusX, sweep, 3, 0.001);
        const double step = std::fabs(sweep) / segments;
        const double sign = sweep > 0 ? 1.0 : -1.0;
        API_Coord p0 = PointOnArc(*arc, arc->startAngle);
        for (int32_t k = 0; k < segments; ++k) {
            const API_Coord p1 = PointOnArc(*arc, arc->startAngle + sign * (k + 1) * step);
            sum += (p1.x - p0.x) * (p1.y + p0.y) * 0.5;
            p0 = p1;
        }
    }
    return sum;
}

void QV_Poly::UpdateClockwise() { clockwise = SignedArea() > 0.0 ? 1 : 0; }

void QV_Poly::SetOrientation(int32_t wanted) {
    if (wanted == 0 || (wanted == 1 ? 1 : 0) == clockwise) return;
    const int32_t n = VertexCount();
    const int32_t first = IsUsableRing() ? 1 : 0;  // a ring keeps vertex 0 first
    for (int32_t i = first, j = n - 1; i < j; ++i, --j) {
        const API_Coord t = vertices[i];
        vertices[i] = vertices[j];
        vertices[j] = t;
    }
    for (int32_t i = 0, j = CodeCount() - 1; i < j; ++i, --j) {
        const int32_t t = codes[i];
        codes[i] = codes[j];
        codes[j] = t;
    }
    for (int32_t k = 0; k < arcs.GetCount(); ++k) {
        QV_Arc& arc = arcs[k];
        const double t = arc.startAngle;
        arc.startAngle = arc.endAngle;
        arc.endAngle = t;
        if (std::fabs(arc.endAngle - arc.startAngle) < 1e-5) arc = QV_Arc::Degenerate();
    }
    clockwise = wanted == 1 ? 1 : 0;
}

void QV_Poly::ToCoordLongs(QV_List<QV_CoordLong>& target, int32_t mode) const {
    const int32_t n = VertexCount();
    if (n == 0) return;
    const int32_t m = CodeCount();
    const bool two = mode == 2;
    const int32_t vertexCode = two ? QV_CodeVertex2 : QV_CodeVertex1;
    const bool ring = IsUsableRing();

    // Sized once: lists grow by exactly what is asked for.
    int32_t needed = 1;
    for (int32_t i = 0; i < m; ++i) needed += EdgeArc(i) == nullptr ? 1 : (two ? 3 : 2);
    const bool extraEnd = ring && two && m > 0 && EdgeArc(m - 1) != nullptr;
    if (extraEnd) ++needed;
    int32_t at = target.GetCount();
    if (!target.SetSize(at + needed)) return;

    auto put = [&](double x, double y, int32_t code) { target[at++] = QV_CoordLong{x, y, code}; };
    put(vertices[0].x, vertices[0].y, vertexCode);
    for (int32_t i = 0; i < m; ++i) {
        const API_Coord& next = vertices[EdgeEnd(i)];
        const QV_Arc* arc = EdgeArc(i);
        if (arc == nullptr) {
            put(next.x, next.y, vertexCode);
            continue;
        }
        const API_Coord mid = PointOnArc(*arc, arc->startAngle + (arc->endAngle - arc->startAngle) / 2);
        if (two) {
            put(arc->center.x, arc->center.y, QV_CodeArcCentre2);
            put(mid.x, mid.y, QV_CodeArcPoint2);
            put(next.x, next.y, QV_CodeArcPoint2);
        } else {
            put(mid.x, mid.y, QV_CodeArcMid1);
            put(next.x, next.y, vertexCode);
        }
    }
    if (ring) {
        if (extraEnd) {
            const QV_CoordLong last = target[at - 1];
            put(last.x, last.y, QV_CodeContourEnd);
        } else {
            target[at - 1].code = QV_CodeContourEnd;
        }
    }
}

void QV_Poly::SetFromCoordLongs(const QV_List<QV_CoordLong>& source, int32_t mode) {
    ReadContour(*this, Entries{source, 0, NextContourEnd(source, 0)}, mode);
}

namespace {
// The contours of a coded list: one, and one more after every contour end but the last entry's.
template <typename Entry>
int32_t ContourCount(const QV_List<Entry>& source) {
    int32_t contours = 1;
    for (int32_t j = 0; j + 1 < source.GetCount(); ++j) contours += source[j].code == QV_CodeContourEnd ? 1 : 0;
    return contours;
}
}  // namespace

namespace {
// One polygon per contour of the coded list, read by `read(poly, first, end)`; one empty polygon for an empty list.
template <typename Entry, typename Read>
void BuildPolyList(QV_List<QV_Poly>& polys, const QV_List<Entry>& source, Read read) {
    polys.Clear();
    QV_ReserveItems(polys, ContourCount(source));
    QV_Poly poly;
    for (int32_t first = 0; first < source.GetCount();) {
        const int32_t end = NextContourEnd(source, first);
        read(poly, first, end);
        polys.Insert(poly);
        first = end;
    }
    if (polys.GetCount() == 0) {
        poly.Clear();
        poly.clockwise = 0;
        polys.Insert(poly);
    }
}
}  // namespace

void BuildPolyListFromCoordLongs(QV_List<QV_Poly>& polys, const QV_List<QV_CoordLong>& source, int32_t mode) {
    BuildPolyList(polys, source, [&](QV_Poly& poly, int32_t first, int32_t end) {
        ReadContour(poly, Entries{source, first, end - first}, mode);
    });
}

void BuildPolyListFromCoord3DLongs(QV_List<QV_Poly>& polys, const QV_List<QV_Coord3DLong>& source) {
    BuildPolyList(polys, source, [&](QV_Poly& poly, int32_t first, int32_t end) {
        const int32_t n = end - first;
        poly.Clear();
        if (n >= 2) {
            const QV_Coord3DLong& a = source[first];
            const QV_Coord3DLong& b = source[end - 1];
            const bool repeated = Same2D(a.x, a.y, b.x, b.y);
            const int32_t vertexCount = repeated ? n - 1 : n;
            if (poly.vertices.SetSize(vertexCount) && poly.codes.SetSize(n - 1)) {
                for (int32_t i = 0; i < vertexCount; ++i)
                    poly.vertices[i] = API_Coord{source[first + i].x, source[first + i].y};
                for (int32_t i = 0; i < n - 1; ++i) poly.codes[i] = -1;
            }
        }
        poly.UpdateClockwise();
    });
}

bool SetPolyListSize(QV_List<QV_Poly>& list, int32_t count, bool keep) {
    if (count < 0) count = 0;
    if (!keep) list.Clear();
    return list.SetSize(count);
}
