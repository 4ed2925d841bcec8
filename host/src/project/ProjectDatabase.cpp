#include "project/ProjectDatabase.hpp"

#include "project/ElementTypes.hpp"

#include <algorithm>

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
        if (err == NoError && !name.empty()) model_.elements[element->header.guid].name = name;
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
