#pragma once
// Small builders shared by the geometry tests.
#include <cmath>
#include <initializer_list>
#include <vector>

#include "geometry/QV_Poly.hpp"

namespace GeometryTest {

inline API_Coord P(double x, double y) { return API_Coord{x, y}; }

inline QV_List<API_Coord> Coords(std::initializer_list<API_Coord> pts) {
    QV_List<API_Coord> list;
    for (const API_Coord& p : pts) list.Insert(p);
    return list;
}

// Straight-edged ring or chain through the points.
inline QV_Poly Straight(std::initializer_list<API_Coord> pts, bool ring = true) {
    QV_Poly poly;
    poly.SetFromCoords(Coords(pts), ring);
    return poly;
}

// Makes edge i an arc through the point `through` (the edge's end points stay).
inline void MakeArc(QV_Poly& poly, int32_t edge, const API_Coord& through) {
    const API_Coord a = poly.vertices[edge];
    const API_Coord b = poly.vertices[poly.EdgeEnd(edge)];
    poly.arcs.Insert(QV_Arc::FromThreePoints(a, b, through));
    poly.codes[edge] = poly.arcs.GetCount() - 1;
    poly.UpdateClockwise();
}

inline std::vector<QV_CoordLong> Entries(const QV_List<QV_CoordLong>& list) {
    std::vector<QV_CoordLong> out;
    for (int32_t i = 0; i < list.GetCount(); ++i) out.push_back(list[i]);
    return out;
}

inline QV_List<QV_CoordLong> Coded(std::initializer_list<QV_CoordLong> entries) {
    QV_List<QV_CoordLong> list;
    for (const QV_CoordLong& e : entries) list.Insert(e);
    return list;
}

// Exact area of a ring with arcs (straight edges plus circular segments), positive for counter-clockwise.
inline double ExactArea(const QV_Poly& poly) {
    double sum = 0.0;
    const int32_t n = poly.VertexCount();
    for (int32_t i = 0; i < poly.CodeCount(); ++i) {
        const API_Coord& a = poly.vertices[i];
        const API_Coord& b = poly.vertices[(i + 1) % n];
        sum += 0.5 * (a.x * b.y - b.x * a.y);
        const QV_Arc* arc = poly.EdgeArc(i);
        if (arc != nullptr) {
            const double s = arc->endAngle - arc->startAngle;
            sum += 0.5 * arc->radiusX * arc->radiusX * (s - std::sin(s));
        }
    }
    return sum;
}

}  // namespace GeometryTest
