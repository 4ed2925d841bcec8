// One converted SOSI object as host elements (or, in mode 1, as a "SOSI OBJECT"): the layer and pens of its
// type, then the builder of its geometry kind.
#include "sosi/SOSIOutputSteps.hpp"

#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"
#include "geometry/ArcSegmentation.hpp"
#include "geometry/ArcToPoints.hpp"
#include "geometry/BezierDivision.hpp"
#include "geometry/QV_Poly.hpp"
#include "settings/ProjectOffset.hpp"
#include "sosi/SOSICurveSegmentation.hpp"
#include "sosi/SOSIObjectPlacement.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double VertexTolerance = 1e-7;
constexpr double TextDirectionTolerance = 1e-5;
constexpr int32_t AreaTestSegments = 36;

template <typename T>
T** NewHandleOf(size_t count) {
    return reinterpret_cast<T**>(BMAllocateHandle(GSSize(count * sizeof(T)), ALLOCATE_CLEAR, 0));
}

struct Builder {
    const SOSIOutputInput& input;
    const SOSIOutputChoices& choices;
    const SOSIData& data;
    SOSIElementDefaults& defaults;
    SOSIBuildState& state;

    // A refused host call ends the object and, through the build state, the build.
    bool HostFailed() {
        state.hostFailed = 1;
        return false;
    }

    bool Inside(const API_Coord3D& p) const {
        if (input.limitToArea == 0) return true;
        const API_Box& a = input.limitArea;
        return !(p.x < a.xMin || p.x > a.xMax || p.y < a.yMin || p.y > a.yMax);
    }
    bool AllInside(const QV_List<API_Coord3D>& points) const {
        for (const API_Coord3D& p : points)
            if (!IsSOSISeparator(p) && !Inside(p)) return false;
        return true;
    }
    static API_Coord Plan(const API_Coord3D& p) { return API_Coord{p.x - ProjectOffset.x, p.y - ProjectOffset.y}; }
    bool Mode(int32_t mode) const { return input.importMode == mode; }

    bool Create(API_Element& element, API_ElementMemo* memo) {
        element.header.layer = state.layer;
        const bool ok = ACAPI_Element_Create(&element, memo) == NoError;
        if (memo != nullptr) ACAPI_DisposeElemMemoHdls(memo);
        if (!ok) return HostFailed();
        state.made.push_back(element.header.guid);
        ++state.madeOfType[int32_t(element.header.typeID)];
        state.somethingCreated = 1;
        return true;
    }

    bool Place(const QV_List<API_Coord3D>& points) {
        API_Guid made = APINULLGuid;
        switch (PlaceSOSIObject(points, data.type, state.object, state.pen, &made)) {
            case SOSIPlacement::Placed:
                state.made.push_back(made);
                ++state.madeOfType[int32_t(API_ObjectID)];
                state.somethingCreated = 1;
                return true;
            case SOSIPlacement::HostFailed: return HostFailed();
            default: return false;
        }
    }

    // A hotspot; in mode 0 a terrain point with the point's height.
    bool Hotspot(const API_Coord3D& p, std::vector<API_Guid>* made) {
        API_Element e = defaults.hotspot;
        e.hotspot.pos = Plan(p);
        if (!Mode(SOSIModeTerrain)) e.hotspot.pen = state.pen;
        if (!Create(e, nullptr)) return false;
        if (made != nullptr) made->push_back(e.header.guid);
        if (!Mode(SOSIModeTerrain)) return true;
        if (ACAPI_Element_AttachObserver(e.header.guid) != NoError) return HostFailed();
        ElemDescriptor d;
        d.Reset();
        d.Value = p.z;
        d.Number = input.options.codeNumber;
        return ElemUserData_WriteRecord(d, ElemKind_Point, e.header) || HostFailed();
    }

    bool Line(const API_Coord3D& a, const API_Coord3D& b, bool constraint, std::vector<API_Guid>* made) {
        API_Element e = defaults.line;
        e.line.begC = Plan(a);
        e.line.endC = Plan(b);
        e.line.pen = state.pen;
        if (state.second > 0) e.line.ltypeInd = state.second;
        if (!Create(e, nullptr)) return false;
        if (made != nullptr) made->push_back(e.header.guid);
        if (!constraint) return true;
        if (ACAPI_Element_AttachObserver(e.header.guid) != NoError) return HostFailed();
        ElemDescriptor d;
        d.Reset();
        return ElemUserData_WriteRecord(d, ElemKind_Constraint, e.header) || HostFailed();
    }

    // The points as one polygon: repeated points dropped, a return to the first point closes it.
    static QV_Poly Polygon(const QV_List<API_Coord3D>& points, bool forceClosed) {
        QV_Poly poly;
        for (const API_Coord3D& p : points) {
            if (IsSOSISeparator(p)) continue;
            const API_Coord c = Plan(p);
            poly.AddPointXY(c.x, c.y, true, VertexTolerance);
        }
        if (forceClosed && !poly.IsClosed() && poly.VertexCount() >= 3)
            poly.AddPoint(poly.vertices[0], true, VertexTolerance);
        return poly;
    }

    bool PolyLine(const QV_List<API_Coord3D>& points) {
        API_Element e = defaults.polyLine;
        e.polyLine.pen = state.pen;
        API_ElementMemo memo = {};
        if (!Polygon(points, false).FillElementMemo(e, memo)) return false;
        return Create(e, &memo);
    }

    bool Point() {
        if (data.coords.GetCount() < 1) return false;
        if (!Inside(data.coords[0])) return true;
        return Hotspot(data.coords[0], nullptr);
    }

    bool Swarm() {
        for (const API_Coord3D& p : data.coords)
            if (!IsSOSISeparator(p) && Inside(p) && !Hotspot(p, nullptr)) return false;
        return true;
    }

    bool StraightLine() {
        if (data.coords.GetCount() < 2) return false;
        if (!AllInside(data.coords)) return true;
        if (Mode(SOSIModeObjects)) return Place(data.coords);
        if (data.coords.GetCount() == 2) return Line(data.coords[0], data.coords[1], false, nullptr);
        return PolyLine(data.coords);
    }

    bool Curve() {
        if (data.coords.GetCount() < 2) return false;
        if (!AllInside(data.coords)) return true;
        if (Mode(SOSIModeObjects)) return Place(data.coords);
        if (!Mode(SOSIModeTerrain)) return PolyLine(data.coords);
        int32_t n = data.coords.GetCount();
        const API_Coord3D& first = data.coords[0];
        const API_Coord3D& last = data.coords[n - 1];
        // A closed contour would give its first point twice.
        if (n > 3 && std::fabs(first.x - last.x) < VertexTolerance && std::fabs(first.y - last.y) < VertexTolerance &&
            std::fabs(first.z - last.z) < VertexTolerance)
            --n;
        std::vector<API_Guid> made;
        for (int32_t i = 0; i < n; ++i)
            if (!Hotspot(data.coords[i], &made)) return false;
        if (state.lineSwitch != 0)
            for (int32_t i = 0; i + 1 < data.coords.GetCount(); ++i)
                if (!Line(data.coords[i], data.coords[i + 1], true, &made)) return false;
        if (choices.dialogSwitch != 0 && made.size() > 1) {
            API_ElemGuidList list = {made.data(), int32_t(made.size())};
            if (ACAPI_Database(APIDb_ToolGroupID, &list) != NoError) return HostFailed();
        }
        return true;
    }

    // Arcs and circles: three points on one line have no circle, and the object fails.
    bool ArcOrCircle(bool circle) {
        const QV_Arc arc = data.Arc();
        if (arc.IsDegenerate() || !std::isfinite(arc.radiusX) || !std::isfinite(arc.center.x) ||
            !std::isfinite(arc.center.y))
            return false;
        QV_List<API_Coord3D> points;
        if (Mode(SOSIModeObjects)) {
            const SOSICurveSegmentation& s = SOSICurveSegmentationValues();
            ArcToPointsByRadius(arc, points, s.segments, s.smallSegments, s.smallRadius);
        } else {
            ArcToPointsFixed(arc, points, AreaTestSegments);
        }
        if (!AllInside(points)) return true;
        if (Mode(SOSIModeObjects)) return Place(points);
        API_Element e = circle ? defaults.circle : defaults.arc;
        e.arc.pen = state.pen;
        e.arc.origC = Plan(API_Coord3D{arc.center.x, arc.center.y, 0.0});
        e.arc.r = arc.radiusX;
        e.arc.ratio = 1.0;
        if (circle) {
            e.arc.begAng = 0.0;
            e.arc.endAng = 2.0 * Pi;
            e.arc.whole = 1;
        } else {
            // The host draws counter-clockwise from the start angle.
            const bool ccw = arc.endAngle >= arc.startAngle;
            e.arc.begAng = ccw ? arc.startAngle : arc.endAngle;
            e.arc.endAng = ccw ? arc.endAngle : arc.startAngle;
            e.arc.whole = 0;
        }
        return Create(e, nullptr);
    }

    bool Bezier() {
        if (Mode(SOSIModeObjects)) {
            QV_List<API_Coord3D> points;
            BezierToPolyline(data.coords, std::max<int32_t>(3, SOSICurveSegmentationValues().segments), points);
            if (points.GetCount() < 2) return false;
            if (!AllInside(points)) return true;
            return Place(points);
        }
        if (!AllInside(data.coords)) return true;
        QV_List<API_Coord> anchors;
        QV_List<Geometry::DirType> dirs;
        AppendBezierPoints(data.coords, anchors, dirs);
        const int32_t n = anchors.GetCount();
        if (n < 2 || dirs.GetCount() != n) return false;
        API_Element e = defaults.spline;
        e.spline.pen = state.pen;
        API_ElementMemo memo = {};
        memo.coords = NewHandleOf<API_Coord>(size_t(n));
        memo.bezierDirs = NewHandleOf<API_SplineDir>(size_t(n));
        if (memo.coords == nullptr || memo.bezierDirs == nullptr) {
            ACAPI_DisposeElemMemoHdls(&memo);
            return false;
        }
        for (int32_t i = 0; i < n; ++i) {
            (*memo.coords)[i] = API_Coord{anchors[i].x - ProjectOffset.x, anchors[i].y - ProjectOffset.y};
            (*memo.bezierDirs)[i] = API_SplineDir{dirs[i].lenPrev, dirs[i].lenNext, dirs[i].dirAng};
        }
        return Create(e, &memo);
    }

    bool Text() {
        if (data.coords.GetCount() < 1) return false;
        if (!AllInside(data.coords)) return true;
        // Nothing to write.
        if (data.texts.GetCount() == 0) return true;
        API_Element e = defaults.text;
        e.text.pen = state.pen;
        e.text.loc = Plan(data.coords[0]);
        e.text.angle = 0.0;
        if (data.coords.GetCount() >= 3) {
            const API_Coord3D& to = data.coords[1];
            const API_Coord3D& from = data.coords[2];
            const double dx = to.x - from.x, dy = to.y - from.y;
            if (std::fabs(dx) >= TextDirectionTolerance || std::fabs(dy) >= TextDirectionTolerance) {
                double angle = std::atan2(dy, dx);
                if (angle < 0.0) angle += 2.0 * Pi;
                e.text.angle = angle;
            }
        }
        std::string content;
        std::vector<int32_t> starts;
        for (const QV_String& line : data.texts) {
            if (!starts.empty()) content += "\r\n";
            starts.push_back(int32_t(content.size()));
            content += line.ToStdString(Encoding_UTF8);
        }
        API_ElementMemo memo = {};
        memo.textContent = reinterpret_cast<char**>(BMAllocateHandle(GSSize(content.size() + 1), ALLOCATE_CLEAR, 0));
        if (memo.textContent == nullptr) return false;
        std::memcpy(*memo.textContent, content.c_str(), content.size() + 1);
        if (starts.size() > 1) {
            memo.textLineStarts = NewHandleOf<int32_t>(starts.size());
            if (memo.textLineStarts == nullptr) {
                ACAPI_DisposeElemMemoHdls(&memo);
                return false;
            }
            std::copy(starts.begin(), starts.end(), *memo.textLineStarts);
        }
        return Create(e, &memo);
    }

    // Each ring its own hatch; a ring reaching outside the area ends the surface, what was made stays.
    bool Surface() {
        QV_List<SOSICos> rings;
        if (data.pieces.GetCount() > 0) {
            rings = data.pieces;
        } else {
            SOSICos ring;
            for (const API_Coord3D& p : data.coords) {
                if (IsSOSISeparator(p)) {
                    if (ring.GetCount() > 0) rings.Insert(ring);
                    ring.Clear();
                } else {
                    ring.Insert(p);
                }
            }
            if (ring.GetCount() > 0) rings.Insert(ring);
        }
        if (rings.GetCount() == 0) return false;
        for (const SOSICos& ring : rings) {
            if (!AllInside(ring)) return true;
            if (Mode(SOSIModeObjects)) {
                if (!Place(ring)) return false;
                continue;
            }
            API_Element e = defaults.hatch;
            e.hatch.contPen = state.pen;
            e.hatch.fillPen = state.pen;
            API_ElementMemo memo = {};
            const QV_Poly poly = Polygon(ring, true);
            if (!poly.IsClosed() || !poly.FillElementMemo(e, memo)) return false;
            if (!Create(e, &memo)) return false;
        }
        return true;
    }

    bool Build() {
        switch (data.geometryKind) {
            case SOSIKindPoint: return Point();
            case SOSIKindSwarm: return Swarm();
            case SOSIKindLine: return StraightLine();
            case SOSIKindCurve: return Curve();
            case SOSIKindArcByRadius:
            case SOSIKindArcByPoints: return ArcOrCircle(false);
            case SOSIKindCircle:
            case SOSIKindCircleByPoints: return ArcOrCircle(true);
            case SOSIKindBezier: return Bezier();
            case SOSIKindText: return Text();
            case SOSIKindSurface: return Surface();
            default: return true;
        }
    }
};

}  // namespace

int32_t BuildOneSOSIData(const SOSIOutputInput& input, const SOSIOutputChoices& choices, int32_t index) {
    if (index < 0 || index >= input.data.GetCount()) return 0;
    const SOSIData& data = input.data[index];
    const int16_t kind = data.geometryKind;
    if (input.importMode == SOSIModeObjects && (kind == SOSIKindPoint || kind == SOSIKindSwarm || kind == SOSIKindText))
        return 1;

    SOSIBuildState& state = SOSIOutputState();
    state.layer = 1;
    QV_String lower;
    data.type.ToLower(lower);
    const auto layer = state.layerOfType.find(SOSITypeKey(lower));
    if (layer != state.layerOfType.end()) state.layer = layer->second;
    state.pen = state.defaultPen;
    state.second = state.defaultSecond;
    state.lineSwitch = 0;
    const auto rowIt = state.rowOfType.find(SOSITypeKey(data.type));
    if (rowIt != state.rowOfType.end() && input.types[rowIt->second].import != 0) {
        const SOSIOType& row = input.types[rowIt->second];
        if (row.ownPen != 0) state.pen = row.pen;
        state.lineSwitch = row.secondSwitch[0];
        if (state.lineSwitch != 0) state.second = row.secondPen;
    }

    Builder builder{input, choices, data, state.defaults, state};
    const size_t before = state.made.size();
    const bool built = builder.Build();
    if (state.made.size() > before) state.usedLayers.insert(state.layer);
    return built ? 1 : 0;
}

std::u16string SOSITypeKey(const QV_String& name) {
    return std::u16string(name.GetBuffer() != nullptr ? name.GetBuffer() : u"", name.GetLength());
}

void IndexSOSITypes(const QV_List<SOSIOType>& types) {
    SOSIBuildState& state = SOSIOutputState();
    state.rowOfType.clear();
    state.layerOfType.clear();
    // The first of equal names wins, as a search from the start finds it; layers match their type in any case.
    for (int32_t t = 0; t < types.GetCount(); ++t) state.rowOfType.emplace(SOSITypeKey(types[t].name), t);
    for (const SOSILayer& layer : state.layers) {
        QV_String lower;
        layer.name.ToLower(lower);
        state.layerOfType.emplace(SOSITypeKey(lower), layer.layer);
    }
}
