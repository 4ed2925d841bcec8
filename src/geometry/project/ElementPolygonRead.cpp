#include "geometry/project/ElementPolygonRead.hpp"

#include "geometry/project/ElementOutlineMemo.hpp"

#include <cmath>

namespace {

const double kTolerance = 1e-7;

// Direction angle of p seen from the centre, in [0, 2 pi).
double AngleFromCentre(const API_Coord& centre, const API_Coord& p) {
    const double dx = p.x - centre.x, dy = p.y - centre.y;
    if (std::fabs(dx) < kTolerance) {
        if (std::fabs(dy) < kTolerance) return 0.0;
        return dy > 0.0 ? M_PI / 2.0 : 3.0 * M_PI / 2.0;
    }
    double a = std::atan(dy / dx);
    if (dx < 0.0)
        a += M_PI;
    else if (dy <= 0.0)
        a += 2.0 * M_PI;
    if (a >= 2.0 * M_PI) a -= 2.0 * M_PI;
    return a;
}

}  // namespace

bool ReadElementPolygon(const API_Guid& guid, QV_List<QV_Coord3DLong>& points3D, QV_List<QV_CoordLong>& points2D,
                        QV_List<PrimPoly>& polyPrims, uint8_t& closedRing) {
    points3D.Clear();
    points2D.Clear();
    polyPrims.Clear();
    closedRing = 0;
    ElementOutlineMemo memo;
    if (!memo.Read(guid)) return false;
    const API_Coord* c = memo.coords;
    const int32_t nCoords = memo.nCoords;
    auto add = [&](const API_Coord& p, int32_t code) {
        points3D.Insert(QV_Coord3DLong{p.x, p.y, 0.0, code});
        points2D.Insert(QV_CoordLong{p.x, p.y, code});
    };
    add(c[1], QV_CodeVertex1);
    for (int32_t i = 1; i < nCoords; ++i) {
        const API_Coord& a = c[i];
        const API_Coord& b = c[i + 1];
        if (!(std::fabs(a.x - b.x) < kTolerance && std::fabs(a.y - b.y) < kTolerance)) {
            const API_PolyArc* arcRecord = memo.ArcFrom(i);
            PrimPoly prim{};
            prim.begin = a;
            prim.end = b;
            prim.isLine = 1;
            if (arcRecord != nullptr) {
                const double phi = arcRecord->arcAngle;
                const QV_Arc arc = QV_Arc::FromEndPointsAndAngle(a, b, phi);
                // An arc of no turn is read as the straight segment it is.
                if (!arc.IsDegenerate()) {
                    const double alpha = AngleFromCentre(arc.center, a);
                    prim.isLine = 0;
                    prim.centre = arc.center;
                    prim.radius = arc.radiusX;
                    prim.mid = API_Coord{arc.center.x + arc.radiusX * std::cos(alpha + phi / 2.0),
                                         arc.center.y + arc.radiusX * std::sin(alpha + phi / 2.0)};
                    add(prim.mid, QV_CodeArcMid1);
                }
            }
            add(b, QV_CodeVertex1);
            polyPrims.Insert(prim);
        }
        if (i + 1 == memo.firstEnd) break;
    }
    const QV_Coord3DLong& first = points3D[0];
    const QV_Coord3DLong& last = points3D[points3D.GetCount() - 1];
    closedRing =
        points3D.GetCount() > 1 && std::fabs(first.x - last.x) < kTolerance && std::fabs(first.y - last.y) < kTolerance
        ? 1
        : 0;
    return true;
}
