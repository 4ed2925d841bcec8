#include "project/ElementTransform.hpp"

#include "project/ElementTypes.hpp"

#include <cmath>

namespace {
class Transformation {
public:
    explicit Transformation(const API_ActTranPars& t) : t_(t) {
        if (t.typeID == APIEdit_Mirror) {
            const double len = std::hypot(t.vector.x, t.vector.y);
            valid_ = len > 0.0;
            if (valid_) {
                ux_ = t.vector.x / len;
                uy_ = t.vector.y / len;
            }
        } else if (t.typeID == APIEdit_Rotate) {
            valid_ = std::isfinite(t.cosA) && std::isfinite(t.sinA) && (t.cosA != 0.0 || t.sinA != 0.0);
        } else {
            valid_ = t.typeID == APIEdit_Drag || t.typeID == APIEdit_Elevate || t.typeID == APIEdit_Resize ||
                t.typeID == APIEdit_Stretch || t.typeID == APIEdit_VertStretch;
        }
    }
    bool Valid() const { return valid_; }
    bool Mirrors() const { return t_.typeID == APIEdit_Mirror; }

    API_Coord Point(const API_Coord& p) const {
        switch (t_.typeID) {
            case APIEdit_Drag:
            case APIEdit_Stretch: return {p.x + t_.disp.x, p.y + t_.disp.y};
            case APIEdit_Rotate: {
                const double n = std::hypot(t_.cosA, t_.sinA);
                const double c = t_.cosA / n, s = t_.sinA / n;
                const double dx = p.x - t_.vector.x, dy = p.y - t_.vector.y;
                return {t_.vector.x + c * dx - s * dy, t_.vector.y + s * dx + c * dy};
            }
            case APIEdit_Mirror: {
                const double dx = p.x - t_.base.x, dy = p.y - t_.base.y;
                const double along = dx * ux_ + dy * uy_;
                return {t_.base.x + 2.0 * along * ux_ - dx, t_.base.y + 2.0 * along * uy_ - dy};
            }
            case APIEdit_Resize:
                return {t_.base.x + t_.ratio * (p.x - t_.base.x), t_.base.y + t_.ratio * (p.y - t_.base.y)};
            default: return p;
        }
    }
    double Lift() const {
        return (t_.typeID == APIEdit_Drag || t_.typeID == APIEdit_Elevate || t_.typeID == APIEdit_VertStretch)
            ? t_.dispZ
            : 0.0;
    }
    // A direction angle after the transformation.
    double Angle(double a) const {
        if (t_.typeID == APIEdit_Rotate) return a + std::atan2(t_.sinA, t_.cosA);
        if (t_.typeID == APIEdit_Mirror) return 2.0 * std::atan2(uy_, ux_) - a;
        return a;
    }
    double Scale() const { return t_.typeID == APIEdit_Resize ? std::fabs(t_.ratio) : 1.0; }

private:
    API_ActTranPars t_;
    bool valid_ = false;
    double ux_ = 1.0, uy_ = 0.0;
};

bool TransformParts(API_Element& r, StoredMemo& m, const Transformation& x) {
    const API_ElemTypeID t = r.header.typeID;
    const double lift = x.Lift();
    if (HasPolygon(t)) {
        if (m.coords)
            for (size_t i = 1; i < m.coords->size(); ++i) (*m.coords)[i] = x.Point((*m.coords)[i]);
        if (x.Mirrors() && m.parcs)
            for (API_PolyArc& a : *m.parcs) a.arcAngle = -a.arcAngle;
        switch (t) {
            case API_WallID:
                r.wall.begC = x.Point(r.wall.begC);
                r.wall.endC = x.Point(r.wall.endC);
                r.wall.bottomOffset += lift;
                break;
            case API_SlabID: r.slab.level += lift; break;
            case API_RoofID: r.roof.level += lift; break;
            case API_MeshID: r.mesh.level += lift; break;
            case API_ZoneID: r.zone.level += lift; break;
            default: break;
        }
        return true;
    }
    switch (t) {
        case API_ObjectID:
        case API_LampID:
            r.object.pos = x.Point(r.object.pos);
            r.object.level += lift;
            r.object.angle = x.Angle(r.object.angle);
            if (x.Mirrors()) r.object.reflected = r.object.reflected ? 0 : 1;
            r.object.xRatio *= x.Scale();
            r.object.yRatio *= x.Scale();
            break;
        case API_WindowID:
        case API_DoorID: r.window.level += lift; break;
        case API_TextID:
            r.text.loc = x.Point(r.text.loc);
            r.text.angle = x.Angle(r.text.angle);
            break;
        case API_LineID:
            r.line.begC = x.Point(r.line.begC);
            r.line.endC = x.Point(r.line.endC);
            break;
        case API_ArcID:
        case API_CircleID: {
            r.arc.origC = x.Point(r.arc.origC);
            r.arc.r *= x.Scale();
            r.arc.mainAxisDir = x.Angle(r.arc.mainAxisDir);
            const double beg = x.Angle(r.arc.begAng), end = x.Angle(r.arc.endAng);
            // A mirror reverses the turning direction: the arc keeps running counter-clockwise from begAng.
            r.arc.begAng = x.Mirrors() ? end : beg;
            r.arc.endAng = x.Mirrors() ? beg : end;
            break;
        }
        case API_SplineID:
            if (m.coords)
                for (API_Coord& c : *m.coords) c = x.Point(c);
            if (m.bezierDirs)
                for (API_SplineDir& d : *m.bezierDirs) {
                    d.dirAng = x.Angle(d.dirAng);
                    d.lenPrev *= x.Scale();
                    d.lenNext *= x.Scale();
                }
            break;
        case API_HotspotID:
            r.hotspot.pos = x.Point(r.hotspot.pos);
            r.hotspot.height += lift;
            break;
        case API_CutPlaneID:
        case API_ElevationID:
        case API_InteriorElevationID:
        case API_WorksheetID:
            r.cutPlane.begC = x.Point(r.cutPlane.begC);
            r.cutPlane.endC = x.Point(r.cutPlane.endC);
            break;
        default: break;
    }
    return true;
}
}  // namespace

bool TransformElement(StoredElement& element, const API_ActTranPars& tranPars) {
    const Transformation x(tranPars);
    if (!x.Valid()) return false;
    API_Element r = element.record.Get();
    const bool moved = TransformParts(r, element.memo.Mutable(), x);
    element.memo.DropIfEmpty();
    if (!moved) return false;
    element.record = r;
    return true;
}
