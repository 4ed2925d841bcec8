#include "model3d/SlopeEnvelope.hpp"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <array>
#include <limits>
#include <map>
#include <set>

namespace {
// Exact constructions: the pieces' sides run along one line where a strip's end meets its slopes, and only exact
// points tell a sliver between them from the pieces beside it.
using K = CGAL::Exact_predicates_exact_constructions_kernel;
struct VertexInfo {
    int32_t place = -1;  // its place in doubles, which exact points that round alike share
    double z = 0.0;
    bool used = false;
};
struct FaceInfo {
    int32_t piece = -1;  // the piece whose plane the surface follows here; -1 outside every piece
};
using Vb = CGAL::Triangulation_vertex_base_with_info_2<VertexInfo, K>;
using Fbi = CGAL::Triangulation_face_base_with_info_2<FaceInfo, K>;
using Fb = CGAL::Constrained_triangulation_face_base_2<K, Fbi>;
using Tds = CGAL::Triangulation_data_structure_2<Vb, Fb>;
// The regions' sides and the lines where two planes meet cross each other freely, at exact points.
using CDT = CGAL::Constrained_Delaunay_triangulation_2<K, Tds, CGAL::Exact_intersections_tag>;
using XY = std::pair<double, double>;

struct Box {
    double x0, y0, x1, y1;
    bool Meets(const Box& o) const { return x0 <= o.x1 && o.x0 <= x1 && y0 <= o.y1 && o.y0 <= y1; }
};

Box BoxOf(const std::vector<XY>& region) {
    Box b = {region[0].first, region[0].second, region[0].first, region[0].second};
    for (const XY& p : region)
        b = {std::min(b.x0, p.first), std::min(b.y0, p.second), std::max(b.x1, p.first), std::max(b.y1, p.second)};
    return b;
}

double Area(const std::vector<XY>& region) {
    double s = 0.0;
    for (size_t i = 0; i < region.size(); ++i) {
        const XY& p = region[i];
        const XY& q = region[(i + 1) % region.size()];
        s += p.first * q.second - q.first * p.second;
    }
    return s / 2.0;
}

XY Plan(const K::Point_2& p) { return {CGAL::to_double(p.x()), CGAL::to_double(p.y())}; }

// Inside or on a convex counter-clockwise region (exact orientation tests).
bool Holds(const std::vector<XY>& region, const K::Point_2& p) {
    for (size_t i = 0; i < region.size(); ++i) {
        const XY& a = region[i];
        const XY& b = region[(i + 1) % region.size()];
        if (CGAL::orientation(K::Point_2(a.first, a.second), K::Point_2(b.first, b.second), p) == CGAL::RIGHT_TURN)
            return false;
    }
    return true;
}

// The part of the line p + s d inside a convex counter-clockwise region, as [s0, s1]; false when it misses it.
bool ClipLine(const std::vector<XY>& region, const XY& p, const XY& d, double* s0, double* s1) {
    for (size_t i = 0; i < region.size(); ++i) {
        const XY& a = region[i];
        const XY& b = region[(i + 1) % region.size()];
        const double ex = b.first - a.first, ey = b.second - a.second;
        // Inside: on the left of a-b.
        const double f0 = ex * (p.second - a.second) - ey * (p.first - a.first);
        const double fd = ex * d.second - ey * d.first;
        if (fd == 0.0) {
            if (f0 < 0.0) return false;
        } else if (fd > 0.0) {
            *s0 = std::max(*s0, -f0 / fd);
        } else {
            *s1 = std::min(*s1, -f0 / fd);
        }
        if (!(*s0 < *s1)) return false;
    }
    return true;
}

// A grid over the pieces' boxes, to find the pieces at a point.
class PieceGrid {
public:
    PieceGrid(const std::vector<PlanePiece>& pieces, const std::vector<Box>& boxes) : boxes_(boxes) {
        Box all = boxes[0];
        for (const Box& b : boxes)
            all = {std::min(all.x0, b.x0), std::min(all.y0, b.y0), std::max(all.x1, b.x1), std::max(all.y1, b.y1)};
        all_ = all;
        const double side = std::max(all.x1 - all.x0, all.y1 - all.y0);
        const double n = std::clamp(std::ceil(std::sqrt(double(pieces.size()))), 1.0, 512.0);
        cell_ = side > 0.0 ? side / n : 1.0;
        nx_ = std::max(1, int(std::ceil((all.x1 - all.x0) / cell_)));
        ny_ = std::max(1, int(std::ceil((all.y1 - all.y0) / cell_)));
        cells_.resize(size_t(nx_) * size_t(ny_));
        for (size_t i = 0; i < boxes.size(); ++i)
            for (int cy = Cy(boxes[i].y0); cy <= Cy(boxes[i].y1); ++cy)
                for (int cx = Cx(boxes[i].x0); cx <= Cx(boxes[i].x1); ++cx)
                    cells_[size_t(cy) * size_t(nx_) + size_t(cx)].push_back(int32_t(i));
    }
    const std::vector<int32_t>& At(double x, double y) const {
        static const std::vector<int32_t> none;
        if (x < all_.x0 || x > all_.x1 || y < all_.y0 || y > all_.y1) return none;
        return cells_[size_t(Cy(y)) * size_t(nx_) + size_t(Cx(x))];
    }

private:
    int Cx(double x) const { return std::clamp(int((x - all_.x0) / cell_), 0, nx_ - 1); }
    int Cy(double y) const { return std::clamp(int((y - all_.y0) / cell_), 0, ny_ - 1); }
    const std::vector<Box>& boxes_;
    Box all_ = {0, 0, 0, 0};
    double cell_ = 1.0;
    int nx_ = 1, ny_ = 1;
    std::vector<std::vector<int32_t>> cells_;
};

// Whether the faces round a vertex that the body takes form one fan: two fans meeting at a point would make the
// body touch itself there.
bool OneFan(const CDT& cdt, CDT::Vertex_handle v) {
    CDT::Face_circulator f = cdt.incident_faces(v), end = f;
    int changes = 0;
    bool first = true, last = false, start = false;
    do {
        const bool in = !cdt.is_infinite(f) && f->info().piece >= 0;
        if (first) {
            start = in;
            first = false;
        } else if (in != last) {
            ++changes;
        }
        last = in;
    } while (++f != end);
    if (last != start) ++changes;
    return changes <= 2;
}
}  // namespace

bool PlaneThrough(const ModelPoint& p, const ModelPoint& q, const ModelPoint& r, PlanePiece* plane) {
    const double ux = q.x - p.x, uy = q.y - p.y, uz = q.z - p.z, vx = r.x - p.x, vy = r.y - p.y, vz = r.z - p.z;
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    if (std::abs(nz) <= 1e-12 * (std::abs(nx) + std::abs(ny) + std::abs(nz)) || nz == 0.0) return false;
    plane->a = -nx / nz, plane->b = -ny / nz;
    plane->c = p.z - plane->a * p.x - plane->b * p.y;
    return true;
}

std::vector<XY> ClipRegion(const std::vector<XY>& region, double A, double B, double C) {
    std::vector<XY> out;
    const auto f = [&](const XY& p) { return A * p.first + B * p.second + C; };
    for (size_t i = 0; i < region.size(); ++i) {
        const XY& p = region[i];
        const XY& q = region[(i + 1) % region.size()];
        const double fp = f(p), fq = f(q);
        if (fp >= 0.0) out.push_back(p);
        if ((fp >= 0.0) != (fq >= 0.0)) {
            const double t = fp / (fp - fq);
            out.push_back({p.first + (q.first - p.first) * t, p.second + (q.second - p.second) * t});
        }
    }
    // Corners that came out twice where the line passes a corner.
    std::vector<XY> unique;
    for (const XY& p : out)
        if (unique.empty() || p != unique.back()) unique.push_back(p);
    while (unique.size() > 1 && unique.front() == unique.back()) unique.pop_back();
    return unique.size() >= 3 ? unique : std::vector<XY>();
}

// The pieces' sides and, where two overlapping pieces' planes meet within both, that line: the surface bends there.
bool TriangulatePieces(const std::vector<PlanePiece>& pieces, const std::vector<Box>& boxes, CDT* out,
                       std::string* why) {
    CDT& cdt = *out;
    try {
        const auto point = [](const XY& p) { return K::Point_2(p.first, p.second); };
        for (const PlanePiece& p : pieces)
            for (size_t i = 0; i < p.region.size(); ++i)
                cdt.insert_constraint(point(p.region[i]), point(p.region[(i + 1) % p.region.size()]));
        // Where two overlapping pieces' planes meet, within both: the surface bends there.
        std::vector<size_t> order(pieces.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::sort(order.begin(), order.end(), [&](size_t l, size_t r) { return boxes[l].x0 < boxes[r].x0; });
        for (size_t oi = 0; oi < order.size(); ++oi) {
            const size_t i = order[oi];
            for (size_t oj = oi + 1; oj < order.size() && boxes[order[oj]].x0 <= boxes[i].x1; ++oj) {
                const size_t j = order[oj];
                if (!boxes[i].Meets(boxes[j])) continue;
                const double da = pieces[i].a - pieces[j].a, db = pieces[i].b - pieces[j].b,
                             dc = pieces[i].c - pieces[j].c;
                const double n2 = da * da + db * db;
                if (!(n2 > 0.0)) continue;  // parallel planes never cross
                // Pieces that only touch along a side share it already.
                std::vector<XY> both = pieces[i].region;
                const std::vector<XY>& other = pieces[j].region;
                for (size_t k = 0; k < other.size() && !both.empty(); ++k) {
                    const XY& e0 = other[k];
                    const XY& e1 = other[(k + 1) % other.size()];
                    both = ClipRegion(both, e0.second - e1.second, e1.first - e0.first,
                                      e0.first * e1.second - e1.first * e0.second);
                }
                if (both.empty() || Area(both) <= 1e-9 * (boxes[i].x1 - boxes[i].x0 + boxes[i].y1 - boxes[i].y0))
                    continue;
                // The point of the line nearest the first corner of the common part, then along the line.
                const XY& c0 = both[0];
                const double f = (da * c0.first + db * c0.second + dc) / n2;
                const XY p0 = {c0.first - f * da, c0.second - f * db};
                const XY d = {-db, da};
                double s0 = -std::numeric_limits<double>::infinity(), s1 = std::numeric_limits<double>::infinity();
                if (!ClipLine(both, p0, d, &s0, &s1)) continue;
                const XY a = {p0.first + s0 * d.first, p0.second + s0 * d.second};
                const XY b = {p0.first + s1 * d.first, p0.second + s1 * d.second};
                if (a != b) cdt.insert_constraint(point(a), point(b));
            }
        }
    } catch (const std::exception&) {
        *why = "the slopes' plan cannot be triangulated";
        return false;
    }
    return true;
}

// Exact points within a rounding of each other in doubles become one place (solids weld such points, 1e-12 of
// the coordinates' size apart): a face they shrink to a line goes.
void WeldPlaces(CDT& cdt, bool cut, std::vector<XY>* placesOut, std::vector<double>* placeZOut) {
    std::vector<XY>& places = *placesOut;
    std::vector<double>& placeZ = *placeZOut;
    std::vector<CDT::Vertex_handle> used;
    double extent = 1.0;
    for (CDT::Vertex_handle v : cdt.finite_vertex_handles())
        if (v->info().used) {
            used.push_back(v);
            const XY at = Plan(v->point());
            extent = std::max({extent, std::abs(at.first), std::abs(at.second), std::abs(v->info().z)});
        }
    const double tolerance = 2e-12 * extent;
    std::sort(used.begin(), used.end(),
              [](CDT::Vertex_handle a, CDT::Vertex_handle b) { return Plan(a->point()) < Plan(b->point()); });
    for (size_t k = 0; k < used.size(); ++k) {
        VertexInfo& i = used[k]->info();
        if (i.place >= 0) continue;
        const XY at = Plan(used[k]->point());
        i.place = int32_t(places.size());
        places.push_back(at);
        placeZ.push_back(i.z);
        for (size_t m = k + 1; m < used.size(); ++m) {
            const XY other = Plan(used[m]->point());
            if (other.first - at.first > tolerance) break;
            VertexInfo& j = used[m]->info();
            if (j.place >= 0 || std::abs(other.second - at.second) > tolerance) continue;
            j.place = i.place;
            double& z = placeZ.back();
            z = cut ? std::min(z, j.z) : std::max(z, j.z);
        }
    }
}

bool BuildEnvelopeBody(const std::vector<PlanePiece>& input, bool cut, double clear, ModelBody* body,
                       std::string* why) {
    *body = ModelBody();
    std::vector<PlanePiece> pieces;
    for (const PlanePiece& p : input) {
        if (p.region.size() < 3 || !std::isfinite(p.a) || !std::isfinite(p.b) || !std::isfinite(p.c)) continue;
        bool finite = true;
        for (const XY& q : p.region) finite = finite && std::isfinite(q.first) && std::isfinite(q.second);
        // A region of no area covers nothing (and the other pieces' sides already run along it).
        if (finite && Area(p.region) > 1e-9 * std::max(1.0, std::abs(p.region[0].first) + std::abs(p.region[0].second)))
            pieces.push_back(p);
    }
    if (pieces.empty()) return true;
    std::vector<Box> boxes;
    for (const PlanePiece& p : pieces) boxes.push_back(BoxOf(p.region));
    CDT cdt;
    if (!TriangulatePieces(pieces, boxes, &cdt, why)) return false;
    // Each face takes the lowest (highest) plane of the pieces it lies in: no side of a piece and no line where two
    // planes meet runs through a face, so that plane holds over the whole face.
    const PieceGrid grid(pieces, boxes);
    bool any = false;
    for (CDT::Face_handle f : cdt.finite_face_handles()) {
        const K::Point_2 c = CGAL::centroid(f->vertex(0)->point(), f->vertex(1)->point(), f->vertex(2)->point());
        const XY at = Plan(c);
        int32_t best = -1;
        double z = 0.0;
        for (int32_t k : grid.At(at.first, at.second)) {
            if (!Holds(pieces[size_t(k)].region, c)) continue;
            const double h = pieces[size_t(k)].At(at.first, at.second);
            if (best < 0 || (cut ? h < z : h > z)) best = k, z = h;
        }
        f->info().piece = best;
        any = any || best >= 0;
    }
    if (!any) return true;
    // A vertex's height: the lowest (highest) plane of the pieces that hold it, as a face's would be, but read at the
    // vertex itself: a sliver face along a piece's side may have taken a neighbour's plane by a rounding. A vertex no
    // piece holds (where two sides cross, rounded off them) takes its faces' planes.
    double extreme = cut ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    for (CDT::Face_handle f : cdt.finite_face_handles()) {
        if (f->info().piece < 0) continue;
        const PlanePiece& p = pieces[size_t(f->info().piece)];
        for (int i = 0; i < 3; ++i) {
            VertexInfo& v = f->vertex(i)->info();
            const XY at = Plan(f->vertex(i)->point());
            const double h = p.At(at.first, at.second);
            v.z = !v.used ? h : cut ? std::min(v.z, h) : std::max(v.z, h);
            v.used = true;
        }
    }
    for (CDT::Vertex_handle v : cdt.finite_vertex_handles()) {
        if (!v->info().used) continue;
        bool held = false;
        double z = 0.0;
        const XY at = Plan(v->point());
        for (int32_t k : grid.At(at.first, at.second)) {
            if (!Holds(pieces[size_t(k)].region, v->point())) continue;
            const double h = pieces[size_t(k)].At(at.first, at.second);
            if (!held || (cut ? h < z : h > z)) z = h;
            held = true;
        }
        if (held) v->info().z = z;
    }
    for (CDT::Vertex_handle v : cdt.finite_vertex_handles()) {
        if (!v->info().used) continue;
        if (!OneFan(cdt, v)) {
            *why = "the slopes meet themselves at a point";
            return false;
        }
        extreme = cut ? std::max(extreme, v->info().z) : std::min(extreme, v->info().z);
    }
    const double cap = cut ? extreme + clear : extreme - clear;
    std::vector<XY> places;
    std::vector<double> placeZ;
    WeldPlaces(cdt, cut, &places, &placeZ);
    BodyBuilder b;
    std::vector<int32_t> lowIds(placeZ.size(), 0), highIds(placeZ.size(), 0);
    const auto low = [&](CDT::Vertex_handle v) {
        const size_t k = size_t(v->info().place);
        if (lowIds[k] == 0) lowIds[k] = b.AddVertex({places[k].first, places[k].second, cut ? placeZ[k] : cap});
        return lowIds[k];
    };
    const auto high = [&](CDT::Vertex_handle v) {
        const size_t k = size_t(v->info().place);
        if (highIds[k] == 0) highIds[k] = b.AddVertex({places[k].first, places[k].second, cut ? cap : placeZ[k]});
        return highIds[k];
    };
    const auto place = [](CDT::Vertex_handle v) { return v->info().place; };
    // The top: each face the body takes, by places, counter-clockwise in plan; its sides that no other face runs the
    // other way are the body's rim, where it stands upright.
    std::vector<std::array<CDT::Vertex_handle, 3>> faces;
    std::set<std::pair<int32_t, int32_t>> sides;
    for (CDT::Face_handle f : cdt.finite_face_handles()) {
        if (f->info().piece < 0) continue;
        const CDT::Vertex_handle v0 = f->vertex(0), v1 = f->vertex(1), v2 = f->vertex(2);
        if (place(v0) == place(v1) || place(v1) == place(v2) || place(v2) == place(v0)) continue;
        faces.push_back({v0, v1, v2});
        for (int i = 0; i < 3; ++i)
            sides.insert({place(faces.back()[size_t(i)]), place(faces.back()[size_t((i + 1) % 3)])});
    }
    for (const std::array<CDT::Vertex_handle, 3>& t : faces) {
        b.AddTriangle(high(t[0]), high(t[1]), high(t[2]));
        b.AddTriangle(low(t[0]), low(t[2]), low(t[1]));
        for (int i = 0; i < 3; ++i) {
            const CDT::Vertex_handle p = t[size_t(i)], q = t[size_t((i + 1) % 3)];
            // The side has the face on its left: the wall faces right.
            if (sides.count({place(q), place(p)}) == 0) b.AddPolygon({low(p), low(q), high(q), high(p)});
        }
    }
    *body = b.Finish();
    return true;
}
