#include "project/ProjectDatabase.hpp"

#include "project/ElementTypes.hpp"

#include <algorithm>
#include <cmath>

GSErrCode ProjectDatabase::PlaceElement(API_Element* element, const StoredMemo& memo, const std::string& name,
                                        const std::string& undoText) {
    API_Guid existing;
    if (FindByName(name, &existing)) return Refuse(APIERR_BADPARS, "an element is named \"" + name + "\" already");
    return RunUndoableCommand(undoText, [&]() {
        API_ElementMemo api = {};
        GSErrCode err = WriteApiMemo(memo, APIMemoMask_All, &api);
        if (err != NoError) return err;
        err = CreateElement(element, memo.IsEmpty() ? nullptr : &api);
        DisposeApiMemo(&api);
        if (err == NoError && !name.empty()) SetElementName(element->header.guid, name);
        return err;
    });
}

GSErrCode ProjectDatabase::PlacePolygonElement(API_ElemTypeID typeID, const std::vector<API_Coord3D>& points,
                                               bool closed, int32_t layer, const std::string& name, API_Guid* guid) {
    if (!HasPolygon(typeID)) return Refuse(APIERR_BADELEMTYPE, ElementTypeName(typeID) + " has no polygon");
    API_Element element = {};
    element.header.typeID = typeID;
    GSErrCode err = GetDefaults(&element, nullptr);
    if (err != NoError) return err;
    element.header.layer = layer;
    std::vector<API_Coord3D> pts = points;
    if (closed && pts.size() >= 2 && (pts.front().x != pts.back().x || pts.front().y != pts.back().y))
        pts.push_back(pts.front());
    const int32_t n = int32_t(pts.size());
    StoredMemo memo;
    memo.coords = std::vector<API_Coord>{{0.0, 0.0}};
    memo.meshPolyZ = std::vector<double>{0.0};
    memo.vertexIDs = std::vector<uint32_t>{0};
    for (int32_t i = 0; i < n; ++i) {
        memo.coords->push_back({pts[size_t(i)].x, pts[size_t(i)].y});
        memo.meshPolyZ->push_back(pts[size_t(i)].z);
        memo.vertexIDs->push_back(closed && i == n - 1 ? 1u : uint32_t(i + 1));
    }
    (*memo.vertexIDs)[0] = closed ? uint32_t(std::max(n - 1, 0)) : uint32_t(n);
    memo.pends = std::vector<int32_t>{0, n};
    memo.parcs = std::vector<API_PolyArc>();
    if (typeID != API_MeshID) memo.meshPolyZ.reset();
    API_Polygon* poly = APIPolygonOf(element);
    poly->nCoords = n;
    poly->nSubPolys = 1;
    poly->nArcs = 0;
    err = PlaceElement(&element, memo, name, "Place " + ElementTypeName(typeID));
    if (err == NoError && guid != nullptr) *guid = element.header.guid;
    return err;
}

GSErrCode ProjectDatabase::PlaceHotspot(const API_Coord& pos, int32_t layer, const std::string& name, API_Guid* guid) {
    return PlaceDefault(API_HotspotID, layer, name, guid, [&](API_Element& e) { e.hotspot.pos = pos; });
}

GSErrCode ProjectDatabase::PlaceLine(const API_Coord& begC, const API_Coord& endC, int32_t layer,
                                     const std::string& name, API_Guid* guid) {
    return PlaceDefault(API_LineID, layer, name, guid, [&](API_Element& e) {
        e.line.begC = begC;
        e.line.endC = endC;
    });
}

GSErrCode ProjectDatabase::PlaceDefault(API_ElemTypeID typeID, int32_t layer, const std::string& name, API_Guid* guid,
                                        const std::function<void(API_Element&)>& place) {
    API_Element element = {};
    element.header.typeID = typeID;
    GSErrCode err = GetDefaults(&element, nullptr);
    if (err != NoError) return err;
    element.header.layer = layer;
    place(element);
    err = PlaceElement(&element, StoredMemo(), name, "Place " + ElementTypeName(typeID));
    if (err == NoError && guid != nullptr) *guid = element.header.guid;
    return err;
}

namespace {
// The convex hull of the points, counter-clockwise, keeping the points along its sides (monotone chain).
std::vector<size_t> HullWithSidePoints(const std::vector<API_Coord3D>& p) {
    std::vector<size_t> order(p.size());
    for (size_t i = 0; i < p.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return p[a].x != p[b].x ? p[a].x < p[b].x : p[a].y < p[b].y; });
    order.erase(std::unique(order.begin(), order.end(),
                            [&](size_t a, size_t b) { return p[a].x == p[b].x && p[a].y == p[b].y; }),
                order.end());
    if (order.size() < 3) return order;
    const auto cross = [&](size_t o, size_t a, size_t b) {
        return (p[a].x - p[o].x) * (p[b].y - p[o].y) - (p[a].y - p[o].y) * (p[b].x - p[o].x);
    };
    std::vector<size_t> hull;
    for (int pass = 0; pass < 2; ++pass) {
        const size_t start = hull.size();
        for (size_t k = 0; k < order.size(); ++k) {
            const size_t i = pass == 0 ? order[k] : order[order.size() - 1 - k];
            // Only right turns are dropped, so points along a side stay.
            while (hull.size() >= start + 2 && cross(hull[hull.size() - 2], hull.back(), i) < 0) hull.pop_back();
            hull.push_back(i);
        }
        hull.pop_back();
    }
    // All points on one line: no area.
    bool flat = true;
    for (size_t k = 2; k < hull.size() && flat; ++k) flat = cross(hull[0], hull[1], hull[k]) == 0;
    return flat ? std::vector<size_t>() : hull;
}
}  // namespace

GSErrCode ProjectDatabase::PlaceMeshFromPoints(const std::vector<API_Coord3D>& points, int32_t layer,
                                               const std::string& name, API_Guid* guid) {
    const std::vector<size_t> hull = HullWithSidePoints(points);
    if (hull.size() < 3) return Refuse(APIERR_BADPOLY, "the points enclose no area");
    API_Element element = {};
    element.header.typeID = API_MeshID;
    GSErrCode err = GetDefaults(&element, nullptr);
    if (err != NoError) return err;
    element.header.layer = layer;
    element.mesh.level = 0.0;
    double zMin = points[0].z;
    for (const API_Coord3D& p : points) zMin = std::min(zMin, p.z);
    element.mesh.skirtLevel = 1.0 - zMin;
    StoredMemo memo;
    memo.coords = std::vector<API_Coord>{{0.0, 0.0}};
    memo.meshPolyZ = std::vector<double>{0.0};
    memo.vertexIDs = std::vector<uint32_t>{uint32_t(hull.size())};
    std::vector<bool> onHull(points.size(), false);
    for (size_t k = 0; k <= hull.size(); ++k) {
        const API_Coord3D& p = points[hull[k % hull.size()]];
        onHull[hull[k % hull.size()]] = true;
        memo.coords->push_back({p.x, p.y});
        memo.meshPolyZ->push_back(p.z);
        memo.vertexIDs->push_back(uint32_t(k % hull.size() + 1));
    }
    const int32_t n = int32_t(hull.size() + 1);
    memo.pends = std::vector<int32_t>{0, n};
    memo.parcs = std::vector<API_PolyArc>();
    memo.meshLevelCoords = std::vector<API_MeshLevelCoord>();
    memo.meshLevelEnds = std::vector<int32_t>();
    for (size_t i = 0; i < points.size(); ++i) {
        if (onHull[i]) continue;
        API_MeshLevelCoord c = {};
        c.c = points[i];
        c.vertexID = int32_t(memo.meshLevelCoords->size());
        memo.meshLevelCoords->push_back(c);
        memo.meshLevelEnds->push_back(int32_t(memo.meshLevelCoords->size()));
    }
    element.mesh.poly.nCoords = n;
    element.mesh.poly.nSubPolys = 1;
    element.mesh.poly.nArcs = 0;
    element.mesh.levelLines.nCoords = int32_t(memo.meshLevelCoords->size());
    element.mesh.levelLines.nSubLines = int32_t(memo.meshLevelEnds->size());
    err = PlaceElement(&element, memo, name, "Place Mesh");
    if (err == NoError && guid != nullptr) *guid = element.header.guid;
    return err;
}

GSErrCode ProjectDatabase::AddMeshLevelLine(const API_Guid& mesh, const std::vector<API_Coord3D>& line) {
    StoredElement* e = FindMutable(mesh);
    if (e == nullptr || e->record.header.typeID != API_MeshID) return Refuse(APIERR_BADID, "no mesh " + GuidText(mesh));
    if (line.size() < 2) return Refuse(APIERR_BADPARS, "a level line has two points or more");
    return RunUndoableCommand("Edit Mesh", [&]() {
        const GSErrCode err = CheckModelChange();
        if (err != NoError) return err;
        Touch(mesh);
        const StoredElement before = *e;
        StoredMemo& memo = e->memo.Mutable();
        if (!memo.meshLevelCoords) memo.meshLevelCoords = std::vector<API_MeshLevelCoord>();
        if (!memo.meshLevelEnds) memo.meshLevelEnds = std::vector<int32_t>();
        // Counts as the record has them (a memo may hold more than its record counts).
        memo.meshLevelCoords->resize(size_t(std::max(e->record.Get().mesh.levelLines.nCoords, 0)));
        memo.meshLevelEnds->resize(size_t(std::max(e->record.Get().mesh.levelLines.nSubLines, 0)));
        for (const API_Coord3D& p : line) {
            API_MeshLevelCoord c = {};
            c.c = p;
            c.vertexID = int32_t(memo.meshLevelCoords->size());
            memo.meshLevelCoords->push_back(c);
        }
        memo.meshLevelEnds->push_back(int32_t(memo.meshLevelCoords->size()));
        e->record.Edit([&](API_Element& rec) { rec.mesh.levelLines.nCoords = int32_t(memo.meshLevelCoords->size()); });
        e->record.Edit([&](API_Element& rec) { rec.mesh.levelLines.nSubLines = int32_t(memo.meshLevelEnds->size()); });
        e->record.header.modiStamp = int64_t(++changes_);
        Changed();
        NoteChange(ChangeKind::Changed, before, *e);
        return NoError;
    });
}

GSErrCode ProjectDatabase::GiveBodies(const API_Guid& guid, const std::vector<StoredBody>& bodies) {
    StoredElement* e = FindMutable(guid);
    if (e == nullptr) return Refuse(APIERR_BADID, "no element " + GuidText(guid));
    const API_ElemTypeID t = e->record.header.typeID;
    if (t != API_ObjectID && t != API_LampID)
        return Refuse(APIERR_BADELEMTYPE, "only objects and lamps take given bodies, not a " + ElementTypeName(t));
    for (const StoredBody& b : bodies) {
        for (const API_Coord3D& v : b.vertices)
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
                return Refuse(APIERR_BADPARS, "a body vertex is not a number");
        for (const std::vector<int32_t>& ring : b.polygons) {
            if (ring.size() < 3) return Refuse(APIERR_BADPARS, "a body polygon has fewer than three vertices");
            for (int32_t v : ring)
                if (v < 1 || size_t(v) > b.vertices.size())
                    return Refuse(APIERR_BADPARS, "a body polygon names vertex " + std::to_string(v));
        }
    }
    const API_ObjectType o = e->record.Get().object;
    double storyLevel = 0.0;
    for (const API_StoryType& s : model_.stories)
        if (s.index == e->record.header.floorInd) storyLevel = s.level;
    const double ca = std::cos(o.angle), sa = std::sin(o.angle);
    e->bodies = bodies;
    for (StoredBody& b : e->bodies)
        for (API_Coord3D& v : b.vertices) {
            const double dx = v.x - o.pos.x, dy = v.y - o.pos.y;
            v = {dx * ca + dy * sa, -dx * sa + dy * ca, v.z - storyLevel - o.level};
        }
    e->record.header.modiStamp = int64_t(++changes_);
    return NoError;
}
