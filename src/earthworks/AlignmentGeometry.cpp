#include "earthworks/AlignmentGeometry.hpp"

#include "elements/MeshHeightSampling.hpp"
#include "geometry/MeshBody.hpp"

#include <cmath>

namespace {
constexpr double TwoPi = 6.283185307179586;
constexpr double AngleTolerance = 1e-5;

double AngleAbout(const API_Coord& centre, double x, double y) {
    const double dx = x - centre.x;
    const double dy = y - centre.y;
    if (std::fabs(dx) < AngleTolerance && std::fabs(dy) < AngleTolerance) return 0.0;
    double a = std::atan2(dy, dx);
    if (a < 0.0) a += TwoPi;
    if (a >= TwoPi) a -= TwoPi;
    return a;
}

bool Append(QV_List<API_Coord3D>& out, double x, double y, double z) { return out.Insert(API_Coord3D{x, y, z}); }

bool AppendLineInterior(QV_List<API_Coord3D>& out, const QV_Coord3DLong& p0, const QV_Coord3DLong& p1) {
    // Interpolating the signed differences keeps lines running down or left on their own side.
    for (int32_t k = 1; k < EdgePointsPerSegment; ++k) {
        const double t = double(k) / EdgePointsPerSegment;
        if (!Append(out, p0.x + t * (p1.x - p0.x), p0.y + t * (p1.y - p0.y), 0.0)) return false;
    }
    return true;
}

// False when the three points give no usable circle; the caller then draws a straight segment.
bool ArcFrame(const QV_Coord3DLong& p0, const QV_Coord3DLong& p1, const QV_Coord3DLong& p2, API_Coord& centre,
              double& radius, double& start, double& sweep) {
    const double bx = p1.x - p0.x, by = p1.y - p0.y;
    const double cx = p2.x - p0.x, cy = p2.y - p0.y;
    const double d = 2.0 * (bx * cy - by * cx);
    const double scale = std::fabs(bx) + std::fabs(by) + std::fabs(cx) + std::fabs(cy);
    if (!(std::fabs(d) > 1e-12 * scale * scale)) return false;
    const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    centre.x = p0.x + (cy * b2 - by * c2) / d;
    centre.y = p0.y + (bx * c2 - cx * b2) / d;
    if (!std::isfinite(centre.x) || !std::isfinite(centre.y)) return false;
    radius = std::hypot(p0.x - centre.x, p0.y - centre.y);
    start = AngleAbout(centre, p0.x, p0.y);
    const double mid = AngleAbout(centre, p1.x, p1.y);
    double end = AngleAbout(centre, p2.x, p2.y);
    if (std::fabs(end - start) < AngleTolerance) return false;
    if (end > start) {
        if (mid < start || mid > end) end -= TwoPi;
    } else if (mid < end || mid > start) {
        end += TwoPi;
    }
    sweep = end - start;
    return true;
}

bool TessellateInto(const QV_List<QV_Coord3DLong>& edge, QV_List<API_Coord3D>& out) {
    const int32_t n = edge.GetCount();
    if (n == 0) return true;
    int32_t segments = 0;
    for (int32_t i = 0; i < n - 1; i += (i + 2 < n && edge[i + 1].code == QV_CodeArcMid1) ? 2 : 1) ++segments;
    // One block for the whole edge: growing item by item would copy the list at every point.
    QV_ReserveItems(out, segments * EdgePointsPerSegment + 1);
    int32_t i = 0;
    while (i < n - 1) {
        const QV_Coord3DLong& p0 = edge[i];
        if (!Append(out, p0.x, p0.y, p0.z)) return false;
        // A code 2 on the last point has no end point after it: a plain segment to it.
        if (i + 2 < n && edge[i + 1].code == QV_CodeArcMid1) {
            const QV_Coord3DLong& p2 = edge[i + 2];
            API_Coord centre{0.0, 0.0};
            double radius = 0.0, start = 0.0, sweep = 0.0;
            if (ArcFrame(p0, edge[i + 1], p2, centre, radius, start, sweep)) {
                for (int32_t k = 1; k < EdgePointsPerSegment; ++k) {
                    const double a = start + k * sweep / EdgePointsPerSegment;
                    if (!Append(out, centre.x + radius * std::cos(a), centre.y + radius * std::sin(a), 0.0))
                        return false;
                }
            } else if (!AppendLineInterior(out, p0, p2)) {
                return false;
            }
            i += 2;
        } else {
            if (!AppendLineInterior(out, p0, edge[i + 1])) return false;
            i += 1;
        }
    }
    const QV_Coord3DLong& last = edge[n - 1];
    return Append(out, last.x, last.y, last.z);
}

void Rotate(double& x, double& y, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    const double rx = x * c - y * s;
    y = x * s + y * c;
    x = rx;
}

template <typename P>
void ToWorld(const ObjectPlacement& placement, P& p) {
    if (placement.mirrored) p.x = -p.x;
    if (placement.angle != 0.0) Rotate(p.x, p.y, placement.angle);
    p.x += placement.pos.x;
    p.y += placement.pos.y;
}

template <typename P>
void ToLocal(const ObjectPlacement& placement, P& p) {
    p.x -= placement.pos.x;
    p.y -= placement.pos.y;
    if (placement.angle != 0.0) Rotate(p.x, p.y, -placement.angle);
    if (placement.mirrored) p.x = -p.x;
}

template <typename P>
bool CodedFromPrims(const QV_List<PrimPoly>& outline, QV_List<P>& out, P (*make)(const API_Coord&, int32_t)) {
    out.Clear();
    const int32_t n = outline.GetCount();
    if (n == 0) return true;
    QV_ReserveItems(out, 2 * n + 1);
    for (int32_t i = 0; i < n; ++i) {
        const PrimPoly& seg = outline[i];
        if (!out.Insert(make(seg.begin, QV_CodeVertex1))) return false;
        if (seg.isLine == 0 && !out.Insert(make(seg.mid, QV_CodeArcMid1))) return false;
    }
    return out.Insert(make(outline[n - 1].end, QV_CodeVertex1));
}
}  // namespace

bool TessellateEdgeLine(const QV_List<QV_Coord3DLong>& edge, QV_List<API_Coord3D>& out) {
    out.Clear();
    if (TessellateInto(edge, out)) return true;
    out.Clear();
    return false;
}

bool DrapeEdgeLinesWith(const EdgeHeightSampler& sampler, const QV_List<QV_Coord3DLong>& leftEdge,
                        const QV_List<QV_Coord3DLong>& rightEdge, QV_List<API_Coord3D>& left3D,
                        QV_List<API_Coord3D>& right3D) {
    // Tessellated in place; a failure empties both, so no edge is ever left without its heights.
    const auto fail = [&] {
        left3D.Clear();
        right3D.Clear();
        return false;
    };
    if (!TessellateEdgeLine(leftEdge, left3D) || !TessellateEdgeLine(rightEdge, right3D)) return fail();
    const int32_t first = left3D.GetCount();
    QV_List<QV_Coord3DLong> all;
    QV_ReserveItems(all, first + right3D.GetCount());
    for (const QV_List<API_Coord3D>* edge : {&left3D, &right3D})
        for (int32_t i = 0; i < edge->GetCount(); ++i) {
            const API_Coord3D& p = (*edge)[i];
            if (!all.Insert(QV_Coord3DLong{p.x, p.y, p.z, QV_CodeVertex1})) return fail();
        }
    if (!sampler(all)) return fail();
    for (int32_t i = 0; i < first; ++i) left3D[i].z = all[i].z;
    for (int32_t i = 0; i < right3D.GetCount(); ++i) right3D[i].z = all[first + i].z;
    return true;
}

bool DrapeEdgeLines(const API_Element& terrain, const QV_List<QV_Coord3DLong>& leftEdge,
                    const QV_List<QV_Coord3DLong>& rightEdge, QV_List<API_Coord3D>& left3D,
                    QV_List<API_Coord3D>& right3D) {
    const EdgeHeightSampler sampler = [&terrain](QV_List<QV_Coord3DLong>& points) {
        MeshBody body;
        double zMin = 0.0, zMax = 0.0;
        return SampleMeshHeights(body, terrain, points, zMin, zMax);
    };
    return DrapeEdgeLinesWith(sampler, leftEdge, rightEdge, left3D, right3D);
}

ObjectPlacement PlacementOf(const API_Element& object) {
    return ObjectPlacement{object.object.pos, object.object.angle, object.object.reflected != 0};
}

void PlacementLocalToWorld(const ObjectPlacement& placement, QV_List<API_Coord3D>& points) {
    for (int32_t i = 0; i < points.GetCount(); ++i) ToWorld(placement, points[i]);
}

void PlacementWorldToLocal(const ObjectPlacement& placement, QV_List<API_Coord3D>& points) {
    for (int32_t i = 0; i < points.GetCount(); ++i) ToLocal(placement, points[i]);
}

void ObjectLocalToWorld3D(const API_Element& object, QV_List<API_Coord3D>& points) {
    PlacementLocalToWorld(PlacementOf(object), points);
}

void WorldToObjectLocal3D(const API_Element& object, QV_List<API_Coord3D>& points) {
    PlacementWorldToLocal(PlacementOf(object), points);
}

void TransformCoordsByPlacement(const API_Element& object, QV_List<QV_CoordLong>& points, bool toWorld) {
    const ObjectPlacement placement = PlacementOf(object);
    for (int32_t i = 0; i < points.GetCount(); ++i) {
        if (toWorld)
            ToWorld(placement, points[i]);
        else
            ToLocal(placement, points[i]);
    }
}

void TranslateCoords3D(QV_List<API_Coord3D>& points, const API_Coord& origin) {
    for (int32_t i = 0; i < points.GetCount(); ++i) {
        points[i].x -= origin.x;
        points[i].y -= origin.y;
    }
}

void TranslateCodedPoints(QV_List<QV_Coord3DLong>& points, const API_Coord& origin) {
    for (int32_t i = 0; i < points.GetCount(); ++i) {
        points[i].x -= origin.x;
        points[i].y -= origin.y;
    }
}

void TranslateCoords2D(QV_List<QV_CoordLong>& points, const API_Coord& origin) {
    for (int32_t i = 0; i < points.GetCount(); ++i) {
        points[i].x -= origin.x;
        points[i].y -= origin.y;
    }
}

bool InsertPrimPolyList(QV_List<PrimPoly>& target, const QV_List<PrimPoly>& source, int32_t index) {
    if (source.GetCount() == 0) return true;
    if (index < 0 || index > target.GetCount()) index = target.GetCount();
    if (target.InsertList(source, index)) return true;
    target.Clear();
    return false;
}

bool PrimPolyToCodedPoints(const QV_List<PrimPoly>& outline, QV_List<QV_Coord3DLong>& out) {
    return CodedFromPrims<QV_Coord3DLong>(outline, out, [](const API_Coord& c, int32_t code) {
        return QV_Coord3DLong{c.x, c.y, 0.0, code};
    });
}

bool PrimPolyToCoord3D(const QV_List<PrimPoly>& outline, QV_List<QV_CoordLong>& out) {
    return CodedFromPrims<QV_CoordLong>(outline, out, [](const API_Coord& c, int32_t code) {
        return QV_CoordLong{c.x, c.y, code};
    });
}
