// Polygon records of the geometry library: life cycle, box, orientation and integrity.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "GeometryPolygon2D.hpp"
#include "geomlib/Polygon2DInternal.hpp"

namespace Geometry {

using namespace Poly2DInternal;

namespace {

template <typename T>
void Kill(T**& handle) {
    GSHandle h = reinterpret_cast<GSHandle>(handle);
    BMKillHandle(&h);
    handle = nullptr;
}

template <typename T>
bool Allocate(T**& handle, int64_t entries, size_t entrySize) {
    handle = reinterpret_cast<T**>(
        BMAllocateHandle(static_cast<GSSize>(entries * static_cast<int64_t>(entrySize)), ALLOCATE_CLEAR, 0));
    return handle != nullptr;
}

void FillUserData(GSHandle handle, const Polygon2DData& p, int32_t entries) {
    if (p.userDataSize == 0 || handle == nullptr) return;
    for (int32_t i = 0; i < entries; ++i)
        std::memcpy(UserEntry(handle, p.userDataSize, i), p.defaultUserData, p.userDataSize);
}

bool HandleHolds(const void* handle, int64_t entries, size_t entrySize) {
    if (entries * static_cast<int64_t>(entrySize) == 0) return true;
    return handle != nullptr &&
        BMGetHandleSize(static_cast<GSConstHandle>(handle)) >= entries * static_cast<int64_t>(entrySize);
}

bool SamePoint(const API_Coord& a, const API_Coord& b) {
    return std::fabs(a.x - b.x) <= 1e-7 && std::fabs(a.y - b.y) <= 1e-7;
}

double ContourArea(const Polygon2DData& p, int32_t first, int32_t last) {
    const API_Coord* v = Items(p.vertices);
    double area = 0.0;
    for (int32_t i = first; i < last; ++i) area += 0.5 * (v[i].x * v[i + 1].y - v[i + 1].x * v[i].y);
    for (int32_t k = 1; k <= p.nArcs; ++k) {
        const PolyArcRec& a = Items(p.arcs)[k];
        if (a.begIndex < first || a.begIndex >= last) continue;
        const Circle c = ArcCircle(v[a.begIndex], v[a.endIndex], a.arcAngle);
        area += ArcSegmentArea(c.radius, a.arcAngle);
    }
    return area;
}

void ReverseContour(Polygon2DData& p, int32_t first, int32_t last) {
    API_Coord* v = Items(p.vertices);
    std::reverse(v + first + 1, v + last);
    const uint32_t size = p.userDataSize;
    auto reverseEntries = [&](GSHandle h, int32_t from, int32_t to) {
        if (size == 0 || h == nullptr) return;
        uint8_t tmp[MaxPolygonUserDataSize];
        for (int32_t i = from, j = to; i < j; ++i, --j) {
            std::memcpy(tmp, UserEntry(h, size, i), size);
            std::memcpy(UserEntry(h, size, i), UserEntry(h, size, j), size);
            std::memcpy(UserEntry(h, size, j), tmp, size);
        }
    };
    reverseEntries(p.vertexUserData, first + 1, last - 1);
    // The edge at position first + j was the edge at last - 1 - j, run backwards.
    reverseEntries(p.edgeUserData, first, last - 1);
    reverseEntries(p.edgeSideUserData, first, last - 1);
    for (int32_t k = 1; k <= p.nArcs; ++k) {
        PolyArcRec& a = Items(p.arcs)[k];
        if (a.begIndex < first || a.begIndex >= last) continue;
        a.begIndex = first + (last - 1 - a.begIndex);
        a.endIndex = a.begIndex + 1;
        a.arcAngle = -a.arcAngle;
    }
}

void Include(API_Box& box, const API_Coord& c) {
    box.xMin = std::min(box.xMin, c.x);
    box.yMin = std::min(box.yMin, c.y);
    box.xMax = std::max(box.xMax, c.x);
    box.yMax = std::max(box.yMax, c.y);
}

}  // namespace

void InitPolygon2DData(Polygon2DData* polygon, uint32_t userDataSize, const void* defaultUserData) {
    if (polygon == nullptr) return;
    std::memset(polygon, 0, sizeof(Polygon2DData));
    polygon->userDataSize = std::min(userDataSize, MaxPolygonUserDataSize);
    if (defaultUserData != nullptr) std::memcpy(polygon->defaultUserData, defaultUserData, polygon->userDataSize);
}

void FreePolygon2DData(Polygon2DData* polygon) {
    if (polygon == nullptr) return;
    Kill(polygon->vertices);
    BMKillHandle(&polygon->vertexUserData);
    BMKillHandle(&polygon->edgeUserData);
    BMKillHandle(&polygon->edgeSideUserData);
    Kill(polygon->arcs);
    Kill(polygon->contourEnds);
    BMKillHandle(&polygon->contourUserData);
    polygon->nVertices = 0;
    polygon->nArcs = 0;
    polygon->nContours = 0;
    polygon->status = 0;
    polygon->boundBox = API_Box{0.0, 0.0, 0.0, 0.0};
}

GSErrCode AllocatePolygon2DData(Polygon2DData* polygon, int32_t nVertices, int32_t nArcs, int32_t nContours) {
    if (polygon == nullptr || nVertices < 0 || nArcs < 0 || nContours < 0 ||
        polygon->userDataSize > MaxPolygonUserDataSize)
        return PolygonErrBadParameter;
    FreePolygon2DData(polygon);
    const size_t ud = polygon->userDataSize;
    char** vud = nullptr;
    char** eud = nullptr;
    char** esd = nullptr;
    char** cud = nullptr;
    const bool ok = Allocate(polygon->vertices, int64_t(nVertices) + 1, sizeof(API_Coord)) &&
        Allocate(vud, int64_t(nVertices) + 1, ud) && Allocate(eud, int64_t(nVertices) + 1, ud) &&
        Allocate(esd, int64_t(nVertices) + 1, ud) && Allocate(polygon->arcs, int64_t(nArcs) + 1, sizeof(PolyArcRec)) &&
        Allocate(polygon->contourEnds, int64_t(nContours) + 1, sizeof(int32_t)) &&
        Allocate(cud, int64_t(nContours) + 1, ud);
    polygon->vertexUserData = vud;
    polygon->edgeUserData = eud;
    polygon->edgeSideUserData = esd;
    polygon->contourUserData = cud;
    if (!ok) {
        FreePolygon2DData(polygon);
        return PolygonErrMemory;
    }
    polygon->nVertices = nVertices;
    polygon->nArcs = nArcs;
    polygon->nContours = nContours;
    FillUserData(polygon->vertexUserData, *polygon, nVertices + 1);
    FillUserData(polygon->edgeUserData, *polygon, nVertices + 1);
    FillUserData(polygon->edgeSideUserData, *polygon, nVertices + 1);
    FillUserData(polygon->contourUserData, *polygon, nContours + 1);
    return NoError;
}

GSErrCode CopyPolygon2DData(Polygon2DData* target, const Polygon2DData& source) {
    if (target == nullptr) return PolygonErrBadParameter;
    if (target == &source) return NoError;
    FreePolygon2DData(target);
    target->userDataSize = std::min(source.userDataSize, MaxPolygonUserDataSize);
    std::memcpy(target->defaultUserData, source.defaultUserData, sizeof(target->defaultUserData));
    if (source.nVertices < 0 || source.nArcs < 0 || source.nContours < 0) return PolygonErrBadData;
    const size_t ud = target->userDataSize;
    // Every array must hold what its count says before it is copied.
    if (!HandleHolds(source.vertices, int64_t(source.nVertices) + 1, sizeof(API_Coord)) ||
        (source.nArcs > 0 && !HandleHolds(source.arcs, int64_t(source.nArcs) + 1, sizeof(PolyArcRec))) ||
        !HandleHolds(source.contourEnds, int64_t(source.nContours) + 1, sizeof(int32_t)))
        return PolygonErrBadData;
    const GSErrCode err = AllocatePolygon2DData(target, source.nVertices, source.nArcs, source.nContours);
    if (err != NoError) return err;
    std::memcpy(Items(target->vertices), Items(source.vertices), sizeof(API_Coord) * (source.nVertices + 1));
    if (source.nArcs > 0) std::memcpy(Items(target->arcs), Items(source.arcs), sizeof(PolyArcRec) * (source.nArcs + 1));
    std::memcpy(Items(target->contourEnds), Items(source.contourEnds), sizeof(int32_t) * (source.nContours + 1));
    auto copyUser = [&](GSHandle to, GSHandle from, int32_t entries) {
        if (ud > 0 && HandleHolds(from, entries, ud))
            std::memcpy(Bytes(to), Bytes(from), ud * static_cast<size_t>(entries));
    };
    copyUser(target->vertexUserData, source.vertexUserData, source.nVertices + 1);
    copyUser(target->edgeUserData, source.edgeUserData, source.nVertices + 1);
    copyUser(target->edgeSideUserData, source.edgeSideUserData, source.nVertices + 1);
    copyUser(target->contourUserData, source.contourUserData, source.nContours + 1);
    target->status = source.status;
    target->boundBox = source.boundBox;
    return NoError;
}

GSErrCode CheckPolygon2DDataIntegrity(const Polygon2DData& p) {
    if (p.nVertices < 0 || p.nArcs < 0 || p.nContours < 0 || p.userDataSize > MaxPolygonUserDataSize)
        return PolygonErrBadData;
    if (p.nContours == 0) return p.nVertices == 0 && p.nArcs == 0 ? PolygonErrEmpty : PolygonErrBadData;
    const size_t ud = p.userDataSize;
    const int64_t nv = int64_t(p.nVertices) + 1;
    if (!HandleHolds(p.vertices, nv, sizeof(API_Coord)) ||
        !HandleHolds(p.contourEnds, int64_t(p.nContours) + 1, sizeof(int32_t)) ||
        (p.nArcs > 0 && !HandleHolds(p.arcs, int64_t(p.nArcs) + 1, sizeof(PolyArcRec))) ||
        !HandleHolds(p.vertexUserData, nv, ud) || !HandleHolds(p.edgeUserData, nv, ud) ||
        !HandleHolds(p.edgeSideUserData, nv, ud) || !HandleHolds(p.contourUserData, int64_t(p.nContours) + 1, ud))
        return PolygonErrBadData;

    const API_Coord* v = Items(p.vertices);
    const int32_t* ends = Items(p.contourEnds);
    if (ends[0] != 0 || ends[p.nContours] != p.nVertices) return PolygonErrBadData;
    // Contour of each vertex number (0 for the closing repeat, which starts no edge).
    std::vector<int32_t> contourOf(static_cast<size_t>(p.nVertices) + 1, 0);
    for (int32_t k = 1; k <= p.nContours; ++k) {
        const int32_t first = ends[k - 1] + 1, last = ends[k];
        if (last - first + 1 < 3) return PolygonErrBadData;
        for (int32_t i = first; i <= last; ++i)
            if (!std::isfinite(v[i].x) || !std::isfinite(v[i].y)) return PolygonErrBadData;
        if (!SamePoint(v[first], v[last])) return PolygonErrBadData;
        for (int32_t i = first; i < last; ++i) contourOf[static_cast<size_t>(i)] = k;
    }
    std::vector<bool> hasArc(static_cast<size_t>(p.nVertices) + 1, false);
    for (int32_t k = 1; k <= p.nArcs; ++k) {
        const PolyArcRec& a = Items(p.arcs)[k];
        if (a.begIndex < 1 || a.begIndex >= p.nVertices || a.endIndex != a.begIndex + 1) return PolygonErrBadData;
        if (contourOf[static_cast<size_t>(a.begIndex)] == 0 || hasArc[static_cast<size_t>(a.begIndex)])
            return PolygonErrBadData;
        hasArc[static_cast<size_t>(a.begIndex)] = true;
        if (!std::isfinite(a.arcAngle) || a.arcAngle == 0.0 || std::fabs(a.arcAngle) >= kTwoPi)
            return PolygonErrBadData;
        const API_Coord& s = v[a.begIndex];
        const API_Coord& e = v[a.endIndex];
        if (s.x == e.x && s.y == e.y) return PolygonErrBadData;
    }
    if ((p.status & Polygon2DBoxValid) != 0) {
        const API_Box& b = p.boundBox;
        for (int32_t i = 1; i <= p.nVertices; ++i) {
            const double t = 1e-9 * (1.0 + std::fabs(v[i].x) + std::fabs(v[i].y));
            if (v[i].x < b.xMin - t || v[i].x > b.xMax + t || v[i].y < b.yMin - t || v[i].y > b.yMax + t)
                return PolygonErrBadData;
        }
    }
    return NoError;
}

GSErrCode GetPolygon2DDataBoundBox(Polygon2DData* polygon) {
    if (polygon == nullptr) return PolygonErrBadParameter;
    Polygon2DData& p = *polygon;
    const uint32_t keep = p.status;
    p.status &= ~Polygon2DBoxValid;  // the box is what is being computed
    const GSErrCode err = CheckPolygon2DDataIntegrity(p);
    if (err != NoError) {
        p.status = keep;
        return err;
    }
    const API_Coord* v = Items(p.vertices);
    API_Box box{v[1].x, v[1].y, v[1].x, v[1].y};
    for (int32_t i = 2; i <= p.nVertices; ++i) Include(box, v[i]);
    for (int32_t k = 1; k <= p.nArcs; ++k) {
        const PolyArcRec& a = Items(p.arcs)[k];
        const Circle c = ArcCircle(v[a.begIndex], v[a.endIndex], a.arcAngle);
        // The arc reaches an axis extreme when its sweep passes that direction.
        const double start = AngleAbout(c.centre, v[a.begIndex]);
        for (int q = 0; q < 4; ++q) {
            const double dir = q * M_PI / 2.0;
            double along = a.arcAngle > 0.0 ? dir - start : start - dir;
            along = std::fmod(along, kTwoPi);
            if (along < 0.0) along += kTwoPi;
            if (along < std::fabs(a.arcAngle))
                Include(box, API_Coord{c.centre.x + c.radius * std::cos(dir), c.centre.y + c.radius * std::sin(dir)});
        }
    }
    p.boundBox = box;
    p.status = keep | Polygon2DBoxValid;
    return NoError;
}

GSErrCode OrientPolygon2DData(Polygon2DData* polygon) {
    if (polygon == nullptr) return PolygonErrBadParameter;
    Polygon2DData& p = *polygon;
    const GSErrCode err = CheckPolygon2DDataIntegrity(p);
    if (err != NoError) return err;
    const int32_t* ends = Items(p.contourEnds);
    for (int32_t k = 1; k <= p.nContours; ++k) {
        const int32_t first = ends[k - 1] + 1, last = ends[k];
        const double area = ContourArea(p, first, last);
        if ((k == 1 && area < 0.0) || (k > 1 && area > 0.0)) ReverseContour(p, first, last);
    }
    p.status |= Polygon2DOriented;
    return NoError;
}

const PolyArcRec* FindArc(const Polygon2DData& polygon, int32_t vertexIndex) {
    if (polygon.nArcs <= 0 || polygon.arcs == nullptr || vertexIndex < 1) return nullptr;
    if (!HandleHolds(polygon.arcs, int64_t(polygon.nArcs) + 1, sizeof(PolyArcRec))) return nullptr;
    const PolyArcRec* arcs = Items(polygon.arcs);
    for (int32_t k = 1; k <= polygon.nArcs; ++k)
        if (arcs[k].begIndex == vertexIndex) return arcs + k;
    return nullptr;
}

}  // namespace Geometry
