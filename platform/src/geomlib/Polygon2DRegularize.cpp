// Regularisation of polygons that cross or overlap themselves.
//
// The contours are turned into fine polylines (arcs chorded), noded and cut into faces with GEOS. Each face is
// kept or dropped by the winding numbers of the input contours at a point inside it, and the kept faces are
// united. The boundary of the union is then walked edge by edge: every edge is traced back to the input edge it
// lies on, runs of edges on one input edge become one edge again (an arc for an input arc), and the corners
// between runs are recomputed exactly as crossings of the two input edges (or snapped to the input vertex).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include <geos_c.h>

#include "GeometryPolygon2D.hpp"
#include "geomlib/Polygon2DInternal.hpp"

namespace Geometry {

using namespace Poly2DInternal;

namespace {

// One input edge.
struct Prim {
    bool arc = false;
    API_Coord a{}, b{};
    API_Coord centre{};
    double radius = 0.0;
    double startAngle = 0.0;
    double sweep = 0.0;
    int32_t contour = 0;  // 1-based
    int32_t edge = 0;     // vertex number the edge starts at
};

// A piece of an input edge's polyline.
struct Piece {
    API_Coord p0, p1;
    int32_t prim;
};

struct OutVertex {
    API_Coord p;
    int32_t inputVertex;  // vertex number of the input, or 0
};

struct OutEdge {
    double arcAngle;  // 0 for a straight edge
    int32_t prim;     // -1 when it could not be traced
};

struct OutContour {
    std::vector<OutVertex> vertices;  // without the closing repeat
    std::vector<OutEdge> edges;       // edge i: vertex i to vertex i + 1 (wrapping)
    int32_t inputContour = 1;
};

struct OutPolygon {
    std::vector<OutContour> contours;  // first the outer one
    double area = 0.0;
};

// GEOS context for one call; messages are dropped (failures show as null results).
class GeosContext {
public:
    GeosContext() : handle_(GEOS_init_r()) {
        if (handle_ != nullptr) {
            GEOSContext_setErrorMessageHandler_r(handle_, &Quiet, nullptr);
            GEOSContext_setNoticeMessageHandler_r(handle_, &Quiet, nullptr);
        }
    }
    ~GeosContext() {
        if (handle_ != nullptr) GEOS_finish_r(handle_);
    }
    GeosContext(const GeosContext&) = delete;
    GeosContext& operator=(const GeosContext&) = delete;
    GEOSContextHandle_t get() const { return handle_; }

private:
    static void Quiet(const char*, void*) {}
    GEOSContextHandle_t handle_;
};

struct GeomDeleter {
    GEOSContextHandle_t ctx;
    void operator()(GEOSGeometry* g) const {
        if (g != nullptr) GEOSGeom_destroy_r(ctx, g);
    }
};
using GeomPtr = std::unique_ptr<GEOSGeometry, GeomDeleter>;

struct TreeDeleter {
    GEOSContextHandle_t ctx;
    void operator()(GEOSSTRtree* t) const {
        if (t != nullptr) GEOSSTRtree_destroy_r(ctx, t);
    }
};

double Dist(const API_Coord& a, const API_Coord& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Grid point j of a circle divided into `steps` equal angles (the same point for every j of one residue).
API_Coord GridPoint(const Circle& c, int64_t j, int32_t steps) {
    const int64_t k = ((j % steps) + steps) % steps;
    const double t = kTwoPi * static_cast<double>(k) / steps;
    return API_Coord{c.centre.x + c.radius * std::cos(t), c.centre.y + c.radius * std::sin(t)};
}

double PointSegmentDistance(const API_Coord& p, const API_Coord& a, const API_Coord& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::max(0.0, std::min(1.0, t));
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Winding number of a closed polyline (first point repeated at the end) around p.
int32_t Winding(const std::vector<API_Coord>& ring, const API_Coord& p) {
    int32_t w = 0;
    for (size_t i = 0; i + 1 < ring.size(); ++i) {
        const API_Coord& a = ring[i];
        const API_Coord& b = ring[i + 1];
        const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
        if (a.y <= p.y) {
            if (b.y > p.y && side > 0.0) ++w;
        } else if (b.y <= p.y && side < 0.0) {
            --w;
        }
    }
    return w;
}

void LineLine(const Prim& p, const Prim& q, std::vector<API_Coord>& out) {
    const double d1x = p.b.x - p.a.x, d1y = p.b.y - p.a.y;
    const double d2x = q.b.x - q.a.x, d2y = q.b.y - q.a.y;
    const double den = d1x * d2y - d1y * d2x;
    if (den == 0.0) return;
    const double t = ((q.a.x - p.a.x) * d2y - (q.a.y - p.a.y) * d2x) / den;
    out.push_back(API_Coord{p.a.x + t * d1x, p.a.y + t * d1y});
}

void LineCircle(const Prim& line, const Prim& circle, std::vector<API_Coord>& out) {
    const double dx = line.b.x - line.a.x, dy = line.b.y - line.a.y;
    const double len = std::hypot(dx, dy);
    if (len == 0.0) return;
    const double ux = dx / len, uy = dy / len;
    const double t = (circle.centre.x - line.a.x) * ux + (circle.centre.y - line.a.y) * uy;
    const API_Coord foot{line.a.x + t * ux, line.a.y + t * uy};
    const double d = Dist(foot, circle.centre);
    double h2 = circle.radius * circle.radius - d * d;
    if (h2 < 0.0) {
        // Nearly touching: the chorded lines crossed, so the exact figures meet at the foot point.
        if (d - circle.radius > 1e-6 * circle.radius) return;
        h2 = 0.0;
    }
    const double h = std::sqrt(h2);
    out.push_back(API_Coord{foot.x + h * ux, foot.y + h * uy});
    out.push_back(API_Coord{foot.x - h * ux, foot.y - h * uy});
}

void CircleCircle(const Prim& p, const Prim& q, std::vector<API_Coord>& out) {
    const double dx = q.centre.x - p.centre.x, dy = q.centre.y - p.centre.y;
    const double d = std::hypot(dx, dy);
    if (d == 0.0) return;
    const double a = (p.radius * p.radius - q.radius * q.radius + d * d) / (2.0 * d);
    double h2 = p.radius * p.radius - a * a;
    if (h2 < 0.0) {
        if (std::sqrt(-h2) > 1e-3 * std::max(p.radius, q.radius)) return;
        h2 = 0.0;
    }
    const double h = std::sqrt(h2);
    const double mx = p.centre.x + a * dx / d, my = p.centre.y + a * dy / d;
    out.push_back(API_Coord{mx - h * dy / d, my + h * dx / d});
    out.push_back(API_Coord{mx + h * dy / d, my - h * dx / d});
}

void Crossings(const Prim& p, const Prim& q, std::vector<API_Coord>& out) {
    if (!p.arc && !q.arc)
        LineLine(p, q, out);
    else if (!p.arc)
        LineCircle(p, q, out);
    else if (!q.arc)
        LineCircle(q, p, out);
    else
        CircleCircle(p, q, out);
}

class Regularizer {
public:
    Regularizer(const Polygon2DData& polygon, const AbortQuery* abort, bool unionOverlaps, int32_t holeHandling)
        : in_(polygon), abort_(abort), union_(unionOverlaps), holes_(holeHandling) {}

    GSErrCode Run(std::vector<OutPolygon>& out);
    const std::vector<Prim>& Prims() const { return prims_; }

private:
    bool Aborted() const { return abort_ != nullptr && abort_->ShouldAbort(); }
    void BuildPrims();
    GSErrCode TraceRing(const GEOSGeometry* ring, OutContour& contour);
    int32_t ClassifyEdge(const API_Coord& a, const API_Coord& b);
    bool SameCarrier(int32_t i, int32_t j) const;
    OutVertex Corner(const API_Coord& v, int32_t incoming, int32_t outgoing);

    const Polygon2DData& in_;
    const AbortQuery* abort_;
    bool union_;
    int32_t holes_;

    GeosContext geos_;
    std::vector<Prim> prims_;
    std::vector<Piece> pieces_;
    std::vector<std::vector<API_Coord>> rings_;  // polyline of every input contour, closed
    double scale_ = 1.0;                         // size of the coordinates
    double extent_ = 1.0;                        // size of the figure
    double maxSagitta_ = 0.0;
    GEOSSTRtree* tree_ = nullptr;
};

void Regularizer::BuildPrims() {
    const API_Coord* v = Items(in_.vertices);
    const int32_t* ends = Items(in_.contourEnds);
    API_Box box{v[1].x, v[1].y, v[1].x, v[1].y};
    for (int32_t i = 1; i <= in_.nVertices; ++i) {
        box.xMin = std::min(box.xMin, v[i].x);
        box.xMax = std::max(box.xMax, v[i].x);
        box.yMin = std::min(box.yMin, v[i].y);
        box.yMax = std::max(box.yMax, v[i].y);
        scale_ = std::max(scale_, std::max(std::fabs(v[i].x), std::fabs(v[i].y)));
    }
    extent_ = std::max(std::max(box.xMax - box.xMin, box.yMax - box.yMin), 1e-9);
    // Chord height of the arc polylines: fine enough for the figure, never below what the coordinates resolve.
    const double sagitta = std::max(std::min(1e-4, 1e-6 * extent_), 1e-13 * scale_);

    // Arcs on one circle share one circle record and one grid of chord points around it, so that arcs which
    // overlap along their circle give the same chords there (else the chords would cross in slivers).
    struct GridCircle {
        Circle circle;
        int32_t steps;  // grid points around the full circle
    };
    std::vector<GridCircle> circles;
    const double sameCircle = 1e-9 * std::max(extent_, 1.0) + 1e-13 * scale_;
    auto gridCircle = [&](const Circle& c) -> const GridCircle& {
        for (const GridCircle& g : circles)
            if (Dist(g.circle.centre, c.centre) <= sameCircle && std::fabs(g.circle.radius - c.radius) <= sameCircle)
                return g;
        double step = sagitta < c.radius ? 2.0 * std::acos(1.0 - sagitta / c.radius) : M_PI / 2.0;
        if (!(step > 0.0)) step = M_PI / 2.0;
        const double steps = std::max(16.0, std::min(16384.0, std::ceil(kTwoPi / step)));
        circles.push_back(GridCircle{c, static_cast<int32_t>(steps)});
        maxSagitta_ = std::max(maxSagitta_, c.radius * (1.0 - std::cos(M_PI / steps)));
        return circles.back();
    };

    rings_.assign(static_cast<size_t>(in_.nContours), {});
    for (int32_t k = 1; k <= in_.nContours; ++k) {
        std::vector<API_Coord>& ring = rings_[static_cast<size_t>(k - 1)];
        const int32_t first = ends[k - 1] + 1, last = ends[k];
        ring.push_back(v[first]);
        for (int32_t i = first; i < last; ++i) {
            Prim prim;
            prim.a = v[i];
            prim.b = i + 1 == last ? v[first] : v[i + 1];
            prim.contour = k;
            prim.edge = i;
            if (prim.a.x == prim.b.x && prim.a.y == prim.b.y) continue;
            const PolyArcRec* arc = FindArc(in_, i);
            const int32_t id = static_cast<int32_t>(prims_.size());
            if (arc == nullptr) {
                pieces_.push_back(Piece{prim.a, prim.b, id});
                ring.push_back(prim.b);
                prims_.push_back(prim);
                continue;
            }
            const GridCircle g = gridCircle(ArcCircle(prim.a, prim.b, arc->arcAngle));
            prim.arc = true;
            prim.centre = g.circle.centre;
            prim.radius = g.circle.radius;
            prim.startAngle = AngleAbout(prim.centre, prim.a);
            prim.sweep = arc->arcAngle;
            // Grid points strictly between the arc's ends, in its direction.
            const double h = kTwoPi / g.steps;
            const double from = prim.startAngle / h, to = (prim.startAngle + prim.sweep) / h;
            const double eps = 1e-9;
            API_Coord prev = prim.a;
            auto add = [&](const API_Coord& p) {
                pieces_.push_back(Piece{prev, p, id});
                ring.push_back(p);
                prev = p;
            };
            if (prim.sweep > 0.0) {
                for (int64_t j = static_cast<int64_t>(std::floor(from + eps)) + 1; static_cast<double>(j) < to - eps;
                     ++j)
                    add(GridPoint(g.circle, j, g.steps));
            } else {
                for (int64_t j = static_cast<int64_t>(std::ceil(from - eps)) - 1; static_cast<double>(j) > to + eps;
                     --j)
                    add(GridPoint(g.circle, j, g.steps));
            }
            add(prim.b);
            prims_.push_back(prim);
        }
        if (ring.size() > 1) ring.back() = ring.front();
    }
}

int32_t Regularizer::ClassifyEdge(const API_Coord& a, const API_Coord& b) {
    const API_Coord mid{0.5 * (a.x + b.x), 0.5 * (a.y + b.y)};
    const double reach = 1e-6 * std::max(extent_, 1.0) + 1e-12 * scale_;
    GEOSContextHandle_t ctx = geos_.get();
    GeomPtr probe(GEOSGeom_createRectangle_r(ctx, mid.x - reach, mid.y - reach, mid.x + reach, mid.y + reach),
                  GeomDeleter{ctx});
    if (!probe) return -1;
    struct Best {
        const Regularizer* self;
        API_Coord mid;
        double distance;
        int32_t prim;
    } best{this, mid, reach, -1};
    GEOSSTRtree_query_r(
        ctx, tree_, probe.get(),
        [](void* item, void* user) {
            Best& b = *static_cast<Best*>(user);
            const Piece& piece = b.self->pieces_[reinterpret_cast<size_t>(item)];
            const double d = PointSegmentDistance(b.mid, piece.p0, piece.p1);
            if (d < b.distance || (d == b.distance && b.prim >= 0 && piece.prim < b.prim)) {
                b.distance = d;
                b.prim = piece.prim;
            }
        },
        &best);
    return best.prim;
}

OutVertex Regularizer::Corner(const API_Coord& v, int32_t incoming, int32_t outgoing) {
    OutVertex out{v, 0};
    if (incoming < 0 || outgoing < 0) return out;
    const Prim& p = prims_[static_cast<size_t>(incoming)];
    const Prim& q = prims_[static_cast<size_t>(outgoing)];
    // An input vertex keeps its exact place; the closing repeat of a contour counts as its first vertex.
    const double snap = 1e-12 * scale_;
    const int32_t* ends = Items(in_.contourEnds);
    auto vertexNumber = [&](const Prim& prim, bool end) {
        if (!end) return prim.edge;
        const int32_t next = prim.edge + 1;
        return next == ends[prim.contour] ? ends[prim.contour - 1] + 1 : next;
    };
    const API_Coord* candidates[4] = {&p.a, &p.b, &q.a, &q.b};
    const int32_t numbers[4] = {vertexNumber(p, false), vertexNumber(p, true), vertexNumber(q, false),
                                vertexNumber(q, true)};
    for (int c = 0; c < 4; ++c) {
        if (Dist(*candidates[c], v) <= snap && (out.inputVertex == 0 || numbers[c] < out.inputVertex)) {
            out.p = *candidates[c];
            out.inputVertex = numbers[c];
        }
    }
    if (out.inputVertex != 0 || incoming == outgoing) return out;
    std::vector<API_Coord> exact;
    Crossings(p, q, exact);
    const double reach = std::max(64.0 * maxSagitta_, 1e-6 * extent_) + 1e-12 * scale_;
    double best = reach;
    for (const API_Coord& c : exact) {
        const double d = Dist(c, v);
        if (d <= best) {
            best = d;
            out.p = c;
        }
    }
    return out;
}

bool Regularizer::SameCarrier(int32_t i, int32_t j) const {
    if (i < 0 || j < 0) return false;
    if (i == j) return true;
    const Prim& p = prims_[static_cast<size_t>(i)];
    const Prim& q = prims_[static_cast<size_t>(j)];
    const double tol = 1e-7 * std::max(extent_, 1.0) + 1e-12 * scale_;
    if (p.arc != q.arc) return false;
    if (p.arc) return Dist(p.centre, q.centre) <= tol && std::fabs(p.radius - q.radius) <= tol;
    const double dx = p.b.x - p.a.x, dy = p.b.y - p.a.y;
    const double len = std::hypot(dx, dy);
    auto off = [&](const API_Coord& c) { return std::fabs(dx * (c.y - p.a.y) - dy * (c.x - p.a.x)) / len; };
    return off(q.a) <= tol && off(q.b) <= tol;
}

// Angle turned about the centre along the points (each step well below a half turn).
double SweptAngle(const API_Coord& centre, const std::vector<API_Coord>& points) {
    double total = 0.0;
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const double ax = points[i].x - centre.x, ay = points[i].y - centre.y;
        const double bx = points[i + 1].x - centre.x, by = points[i + 1].y - centre.y;
        total += std::atan2(ax * by - ay * bx, ax * bx + ay * by);
    }
    return total;
}

GSErrCode Regularizer::TraceRing(const GEOSGeometry* ring, OutContour& contour) {
    GEOSContextHandle_t ctx = geos_.get();
    const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(ctx, ring);
    unsigned int size = 0;
    if (seq == nullptr || GEOSCoordSeq_getSize_r(ctx, seq, &size) == 0) return PolygonErrComputation;
    std::vector<API_Coord> pts;
    for (unsigned int i = 0; i + 1 < size; ++i) {
        API_Coord c;
        if (GEOSCoordSeq_getXY_r(ctx, seq, i, &c.x, &c.y) == 0) return PolygonErrComputation;
        if (pts.empty() || c.x != pts.back().x || c.y != pts.back().y) pts.push_back(c);
    }
    while (pts.size() > 1 && pts.back().x == pts.front().x && pts.back().y == pts.front().y) pts.pop_back();
    const size_t n = pts.size();
    if (n < 3) return NoError;
    std::vector<int32_t> prim(n);
    for (size_t i = 0; i < n; ++i) prim[i] = ClassifyEdge(pts[i], pts[(i + 1) % n]);

    // Runs of edges on one input edge, starting at a run boundary.
    size_t start = n;
    for (size_t i = 0; i < n && start == n; ++i)
        if (prim[i] != prim[(i + n - 1) % n] || prim[i] < 0) start = i;
    struct Run {
        size_t first;  // index of its first point in pts
        int32_t prim;
        OutVertex corner;  // its start
    };
    std::vector<Run> runs;
    if (start == n) {
        // The whole ring lies on one input edge's carrier (a full circle): two halves.
        runs.push_back(Run{0, prim[0], OutVertex{pts[0], 0}});
        runs.push_back(Run{n / 2, prim[0], OutVertex{pts[n / 2], 0}});
    } else {
        for (size_t k = 0; k < n; ++k) {
            const size_t i = (start + k) % n;
            if (runs.empty() || prim[i] < 0 || prim[i] != runs.back().prim)
                runs.push_back(Run{i, prim[i], OutVertex{pts[i], 0}});
        }
        for (size_t r = 0; r < runs.size(); ++r) {
            const int32_t incoming = runs[(r + runs.size() - 1) % runs.size()].prim;
            runs[r].corner = Corner(pts[runs[r].first], incoming, runs[r].prim);
        }
        // Input edges that overlap along one line or circle give runs that alternate between them: one run,
        // unless an input vertex stands between them.
        std::vector<Run> merged;
        for (size_t r = 0; r < runs.size(); ++r) {
            if (!merged.empty() && runs[r].corner.inputVertex == 0 && SameCarrier(merged.back().prim, runs[r].prim))
                continue;
            merged.push_back(runs[r]);
        }
        if (merged.size() > 1 && merged[0].corner.inputVertex == 0 && SameCarrier(merged.back().prim, merged[0].prim)) {
            merged[0].first = merged.back().first;
            merged[0].prim = merged.back().prim;
            merged[0].corner = merged.back().corner;
            merged.pop_back();
        }
        if (merged.size() == 1) {
            const size_t half = (merged[0].first + n / 2) % n;
            merged.push_back(Run{half, merged[0].prim, OutVertex{pts[half], 0}});
        }
        runs.swap(merged);
    }

    for (size_t r = 0; r < runs.size(); ++r) {
        const OutVertex& from = runs[r].corner;
        const Run& next = runs[(r + 1) % runs.size()];
        const OutVertex& to = next.corner;
        if (Dist(from.p, to.p) <= 1e-12 * scale_) continue;  // a run that shrank to a point
        OutEdge edge{0.0, runs[r].prim};
        if (runs[r].prim >= 0) {
            const Prim& p = prims_[static_cast<size_t>(runs[r].prim)];
            if (p.arc) {
                std::vector<API_Coord> along{from.p};
                for (size_t i = (runs[r].first + 1) % n; i != next.first; i = (i + 1) % n) along.push_back(pts[i]);
                along.push_back(to.p);
                const double angle = SweptAngle(p.centre, along);
                if (std::fabs(angle) > 1e-12 && std::fabs(angle) < kTwoPi) edge.arcAngle = angle;
            }
            if (contour.edges.empty()) contour.inputContour = p.contour;
        }
        contour.vertices.push_back(from);
        contour.edges.push_back(edge);
    }
    if (contour.vertices.size() < 2 ||
        (contour.vertices.size() == 2 && contour.edges[0].arcAngle == 0.0 && contour.edges[1].arcAngle == 0.0)) {
        contour.vertices.clear();
        contour.edges.clear();
    }
    return NoError;
}

double ContourArea(const OutContour& c) {
    double area = 0.0;
    const size_t n = c.vertices.size();
    for (size_t i = 0; i < n; ++i) {
        const API_Coord& a = c.vertices[i].p;
        const API_Coord& b = c.vertices[(i + 1) % n].p;
        area += 0.5 * (a.x * b.y - b.x * a.y);
        if (c.edges[i].arcAngle != 0.0)
            area += ArcSegmentArea(ArcCircle(a, b, c.edges[i].arcAngle).radius, c.edges[i].arcAngle);
    }
    return area;
}

GSErrCode Regularizer::Run(std::vector<OutPolygon>& out) {
    GEOSContextHandle_t ctx = geos_.get();
    if (ctx == nullptr) return PolygonErrComputation;
    BuildPrims();
    if (Aborted()) return PolygonErrCancelled;

    // Linework of all contours.
    std::vector<GEOSGeometry*> lines;
    for (const std::vector<API_Coord>& ring : rings_) {
        if (ring.size() < 3) continue;
        GEOSCoordSequence* seq =
            GEOSCoordSeq_copyFromBuffer_r(ctx, &ring[0].x, static_cast<unsigned>(ring.size()), 0, 0);
        GEOSGeometry* line = seq != nullptr ? GEOSGeom_createLineString_r(ctx, seq) : nullptr;
        if (line == nullptr) {
            for (GEOSGeometry* g : lines) GEOSGeom_destroy_r(ctx, g);
            return PolygonErrComputation;
        }
        lines.push_back(line);
    }
    if (lines.empty()) return NoError;
    GeomPtr linework(
        GEOSGeom_createCollection_r(ctx, GEOS_MULTILINESTRING, lines.data(), static_cast<unsigned>(lines.size())),
        GeomDeleter{ctx});
    if (!linework) return PolygonErrComputation;
    GeomPtr noded(GEOSNode_r(ctx, linework.get()), GeomDeleter{ctx});
    if (!noded) return PolygonErrComputation;
    const GEOSGeometry* nodedPtr = noded.get();
    GeomPtr faces(GEOSPolygonize_r(ctx, &nodedPtr, 1), GeomDeleter{ctx});
    if (!faces) return PolygonErrComputation;
    if (Aborted()) return PolygonErrCancelled;

    // Faces inside the area.
    std::vector<GEOSGeometry*> kept;
    const int faceCount = GEOSGetNumGeometries_r(ctx, faces.get());
    for (int f = 0; f < faceCount; ++f) {
        const GEOSGeometry* face = GEOSGetGeometryN_r(ctx, faces.get(), f);
        GeomPtr inside(GEOSPointOnSurface_r(ctx, face), GeomDeleter{ctx});
        API_Coord p;
        if (!inside || GEOSisEmpty_r(ctx, inside.get()) != 0 || GEOSGeomGetX_r(ctx, inside.get(), &p.x) == 0 ||
            GEOSGeomGetY_r(ctx, inside.get(), &p.y) == 0)
            continue;
        bool in;
        if (union_) {
            in = Winding(rings_[0], p) != 0;
            for (size_t k = 1; in && k < rings_.size(); ++k) in = Winding(rings_[k], p) == 0;
        } else {
            int32_t sum = 0;
            for (const std::vector<API_Coord>& ring : rings_) sum += Winding(ring, p);
            in = (sum % 2) != 0;
        }
        if (in) {
            GEOSGeometry* copy = GEOSGeom_clone_r(ctx, face);
            if (copy == nullptr) {
                for (GEOSGeometry* g : kept) GEOSGeom_destroy_r(ctx, g);
                return PolygonErrComputation;
            }
            kept.push_back(copy);
        }
        if ((f & 63) == 63 && Aborted()) {
            for (GEOSGeometry* g : kept) GEOSGeom_destroy_r(ctx, g);
            return PolygonErrCancelled;
        }
    }
    if (kept.empty()) return NoError;
    GeomPtr keptAll(
        GEOSGeom_createCollection_r(ctx, GEOS_MULTIPOLYGON, kept.data(), static_cast<unsigned>(kept.size())),
        GeomDeleter{ctx});
    if (!keptAll) return PolygonErrComputation;
    GeomPtr area(GEOSCoverageUnion_r(ctx, keptAll.get()), GeomDeleter{ctx});
    if (!area) area.reset(GEOSUnaryUnion_r(ctx, keptAll.get()));
    if (!area) return PolygonErrComputation;

    // Index of the input pieces, to trace the result edges back.
    std::unique_ptr<GEOSSTRtree, TreeDeleter> tree(GEOSSTRtree_create_r(ctx, 10), TreeDeleter{ctx});
    if (!tree) return PolygonErrComputation;
    tree_ = tree.get();
    std::vector<GeomPtr> boxes;
    boxes.reserve(pieces_.size());
    for (size_t i = 0; i < pieces_.size(); ++i) {
        const Piece& pc = pieces_[i];
        GeomPtr box(GEOSGeom_createRectangle_r(ctx, std::min(pc.p0.x, pc.p1.x), std::min(pc.p0.y, pc.p1.y),
                                               std::max(pc.p0.x, pc.p1.x), std::max(pc.p0.y, pc.p1.y)),
                    GeomDeleter{ctx});
        if (!box) return PolygonErrComputation;
        GEOSSTRtree_insert_r(ctx, tree_, box.get(), reinterpret_cast<void*>(i));
        boxes.push_back(std::move(box));
    }

    const double tinyArea = 1e-10 * extent_ * extent_;
    const int polyCount = GEOSGetNumGeometries_r(ctx, area.get());
    for (int g = 0; g < polyCount; ++g) {
        const GEOSGeometry* poly = GEOSGetGeometryN_r(ctx, area.get(), g);
        if (GEOSGeomTypeId_r(ctx, poly) != GEOS_POLYGON || GEOSisEmpty_r(ctx, poly) != 0) continue;
        std::vector<OutContour> rings;
        OutContour shell;
        GSErrCode err = TraceRing(GEOSGetExteriorRing_r(ctx, poly), shell);
        if (err != NoError) return err;
        if (shell.vertices.empty() || std::fabs(ContourArea(shell)) <= tinyArea) continue;
        rings.push_back(std::move(shell));
        const int holeCount = GEOSGetNumInteriorRings_r(ctx, poly);
        for (int h = 0; h < holeCount && holes_ != RegularizeDropHoles; ++h) {
            OutContour hole;
            err = TraceRing(GEOSGetInteriorRingN_r(ctx, poly, h), hole);
            if (err != NoError) return err;
            if (!hole.vertices.empty() && std::fabs(ContourArea(hole)) > tinyArea) rings.push_back(std::move(hole));
        }
        if (holes_ == RegularizeHolesSeparate) {
            for (OutContour& c : rings) {
                OutPolygon one;
                one.area = std::fabs(ContourArea(c));
                one.contours.push_back(std::move(c));
                out.push_back(std::move(one));
            }
        } else {
            OutPolygon one;
            one.area = std::fabs(ContourArea(rings[0]));
            for (size_t k = 1; k < rings.size(); ++k) one.area -= std::fabs(ContourArea(rings[k]));
            one.contours = std::move(rings);
            out.push_back(std::move(one));
        }
        if (Aborted()) return PolygonErrCancelled;
    }
    std::stable_sort(out.begin(), out.end(), [](const OutPolygon& a, const OutPolygon& b) { return a.area > b.area; });
    return NoError;
}

// Turns a contour to start at the input's earliest vertex, or at its lowest-left vertex.
void RotateToStart(OutContour& c) {
    const size_t n = c.vertices.size();
    size_t best = 0;
    for (size_t i = 1; i < n; ++i) {
        const OutVertex& a = c.vertices[i];
        const OutVertex& b = c.vertices[best];
        bool better;
        if (a.inputVertex != 0 || b.inputVertex != 0)
            better = a.inputVertex != 0 && (b.inputVertex == 0 || a.inputVertex < b.inputVertex);
        else
            better = a.p.y < b.p.y || (a.p.y == b.p.y && a.p.x < b.p.x);
        if (better) best = i;
    }
    std::rotate(c.vertices.begin(), c.vertices.begin() + static_cast<std::ptrdiff_t>(best), c.vertices.end());
    std::rotate(c.edges.begin(), c.edges.begin() + static_cast<std::ptrdiff_t>(best), c.edges.end());
}

GSErrCode Fill(const Polygon2DData& input, const std::vector<Prim>& prims, OutPolygon& source, Polygon2DData& target) {
    int32_t nVertices = 0, nArcs = 0;
    for (OutContour& c : source.contours) {
        RotateToStart(c);
        nVertices += static_cast<int32_t>(c.vertices.size()) + 1;
        for (const OutEdge& e : c.edges) nArcs += e.arcAngle != 0.0 ? 1 : 0;
    }
    InitPolygon2DData(&target, input.userDataSize, input.defaultUserData);
    GSErrCode err = AllocatePolygon2DData(&target, nVertices, nArcs, static_cast<int32_t>(source.contours.size()));
    if (err != NoError) return err;
    API_Coord* v = Items(target.vertices);
    PolyArcRec* arcs = Items(target.arcs);
    int32_t* ends = Items(target.contourEnds);
    const uint32_t ud = input.userDataSize;
    const bool haveUser = ud > 0;
    int32_t at = 0, arc = 0;
    for (size_t k = 0; k < source.contours.size(); ++k) {
        const OutContour& c = source.contours[k];
        const int32_t first = at + 1;
        for (size_t i = 0; i < c.vertices.size(); ++i) {
            ++at;
            v[at] = c.vertices[i].p;
            const OutEdge& e = c.edges[i];
            if (e.arcAngle != 0.0) arcs[++arc] = PolyArcRec{at, at + 1, e.arcAngle};
            if (haveUser) {
                if (c.vertices[i].inputVertex != 0)
                    std::memcpy(UserEntry(target.vertexUserData, ud, at),
                                UserEntry(input.vertexUserData, ud, c.vertices[i].inputVertex), ud);
                if (e.prim >= 0) {
                    const int32_t edge = prims[static_cast<size_t>(e.prim)].edge;
                    std::memcpy(UserEntry(target.edgeUserData, ud, at), UserEntry(input.edgeUserData, ud, edge), ud);
                    std::memcpy(UserEntry(target.edgeSideUserData, ud, at), UserEntry(input.edgeSideUserData, ud, edge),
                                ud);
                }
            }
        }
        ++at;
        v[at] = v[first];
        if (haveUser)
            std::memcpy(UserEntry(target.vertexUserData, ud, at), UserEntry(target.vertexUserData, ud, first), ud);
        ends[k + 1] = at;
        if (haveUser)
            std::memcpy(UserEntry(target.contourUserData, ud, static_cast<int32_t>(k) + 1),
                        UserEntry(input.contourUserData, ud, c.inputContour), ud);
    }
    err = OrientPolygon2DData(&target);
    if (err == NoError) err = GetPolygon2DDataBoundBox(&target);
    if (err != NoError) FreePolygon2DData(&target);
    return err;
}

}  // namespace

GSErrCode RegularizePolygon2DData(const Polygon2DData& polygon, GS::VAArray<Polygon2DData>& result,
                                  const AbortQuery* abort, bool unionOverlaps, int32_t holeHandling) {
    if (holeHandling < RegularizeDropHoles || holeHandling > RegularizeKeepHoles) return PolygonErrBadParameter;
    const GSErrCode check = CheckPolygon2DDataIntegrity(polygon);
    if (check != NoError) return check;
    if (abort != nullptr && abort->ShouldAbort()) return PolygonErrCancelled;

    std::vector<OutPolygon> pieces;
    Regularizer work(polygon, abort, unionOverlaps, holeHandling);
    GSErrCode err = work.Run(pieces);
    if (err != NoError) return err;
    std::vector<Polygon2DData> made;
    for (OutPolygon& piece : pieces) {
        Polygon2DData target;
        err = Fill(polygon, work.Prims(), piece, target);
        if (err != NoError) {
            for (Polygon2DData& m : made) FreePolygon2DData(&m);
            return err;
        }
        made.push_back(target);
    }
    for (const Polygon2DData& m : made) result.Push(m);
    return NoError;
}

}  // namespace Geometry
