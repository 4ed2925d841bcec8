#pragma once
// Terrain meshes for tests and benchmarks: placed through the module's host interface, and their surface read
// back from the host's 3D model so that heights can be checked without the module's own sampling.
#include "foundation/ACAPI.hpp"

#include <cmath>
#include <cstring>
#include <vector>

namespace TerrainMeshes {

template <typename T>
T** NewHandle(size_t count) {
    return reinterpret_cast<T**>(BMAllocateHandle(GSSize(count * sizeof(T)), ALLOCATE_CLEAR, 0));
}

// Places a mesh on `story` (inside the caller's undoable command) whose outline is `ring` (not closed; z is the
// height above the mesh's level), with level points and level lines. The new record comes back in `mesh`.
inline GSErrCode PlaceMesh(const std::vector<API_Coord3D>& ring, const std::vector<API_Coord3D>& levelPoints,
                           const std::vector<std::vector<API_Coord3D>>& levelLines, API_Element* mesh,
                           int16_t story = 0) {
    std::memset(static_cast<void*>(mesh), 0, sizeof *mesh);
    mesh->header.typeID = API_MeshID;
    GSErrCode err = ACAPI_Element_GetDefaults(mesh, nullptr);
    if (err != NoError) return err;
    mesh->header.floorInd = story;
    const int32_t n = int32_t(ring.size());
    size_t levelCount = levelPoints.size();
    for (const auto& line : levelLines) levelCount += line.size();
    mesh->mesh.poly = API_Polygon{n + 1, 1, 0, 0};
    mesh->mesh.levelLines.nSubLines = int32_t(levelLines.size());
    mesh->mesh.levelLines.nCoords = int32_t(levelCount);

    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    memo.coords = NewHandle<API_Coord>(size_t(n) + 2);
    memo.meshPolyZ = NewHandle<double>(size_t(n) + 2);
    memo.pends = NewHandle<int32_t>(2);
    for (int32_t i = 0; i <= n; ++i) {
        const API_Coord3D& p = ring[size_t(i % n)];
        (*memo.coords)[i + 1] = API_Coord{p.x, p.y};
        (*memo.meshPolyZ)[i + 1] = p.z;
    }
    (*memo.pends)[1] = n + 1;
    if (levelCount > 0) {
        // The lines first (each ends where the next starts), then the points, which stand alone behind them.
        memo.meshLevelCoords = NewHandle<API_MeshLevelCoord>(levelCount);
        memo.meshLevelEnds = NewHandle<int32_t>(levelLines.size() + 1);
        size_t k = 0;
        for (size_t l = 0; l < levelLines.size(); ++l) {
            for (const API_Coord3D& p : levelLines[l]) (*memo.meshLevelCoords)[k++].c = p;
            (*memo.meshLevelEnds)[l] = int32_t(k);
        }
        for (const API_Coord3D& p : levelPoints) (*memo.meshLevelCoords)[k++].c = p;
    }
    err = ACAPI_Element_Create(mesh, &memo);
    ACAPI_DisposeElemMemoHdls(&memo);
    return err;
}

struct Triangle {
    API_Coord3D p[3];
};

// The top of the element's 3D model: the polygons that face up (counter-clockwise in plan), as triangles.
inline bool TopTriangles(const API_Element& element, std::vector<Triangle>* out) {
    out->clear();
    API_ElemInfo3D info;
    if (ACAPI_Element_Get3DInfo(element.header, &info) != NoError) return false;
    for (int32_t b = info.firstBody; b <= info.lastBody; ++b) {
        API_Component3D c = {};
        c.header = {API_BodyID, b};
        if (ACAPI_3D_GetComponent(&c) != NoError) return false;
        const API_BodyType body = c.body;
        for (int32_t p = 1; p <= body.polygonCount; ++p) {
            c = {};
            c.header = {API_PgonID, p};
            if (ACAPI_3D_GetComponent(&c) != NoError) return false;
            const API_PgonType pgon = c.pgon;
            std::vector<API_Coord3D> ring;
            for (int32_t k = pgon.firstPedg; k <= pgon.lastPedg; ++k) {
                c = {};
                c.header = {API_PedgID, k};
                if (ACAPI_3D_GetComponent(&c) != NoError) return false;
                const int32_t e = c.pedg.edgeIndex;
                c = {};
                c.header = {API_EdgeID, std::abs(e)};
                if (ACAPI_3D_GetComponent(&c) != NoError) return false;
                c.header = {API_VertID, e > 0 ? c.edge.firstVertex : c.edge.secondVertex};
                if (ACAPI_3D_GetComponent(&c) != NoError) return false;
                ring.push_back(API_Coord3D{c.vert.x, c.vert.y, c.vert.z});
            }
            if (ring.size() != 3) continue;
            const double area =
                (ring[1].x - ring[0].x) * (ring[2].y - ring[0].y) - (ring[2].x - ring[0].x) * (ring[1].y - ring[0].y);
            if (area > 0.0) out->push_back(Triangle{{ring[0], ring[1], ring[2]}});
        }
    }
    return true;
}

// The height of the triangles' surface at (x, y): the plane of a triangle that holds the point.
inline bool HeightOn(const std::vector<Triangle>& triangles, double x, double y, double* z) {
    for (const Triangle& t : triangles) {
        const API_Coord3D &a = t.p[0], &b = t.p[1], &c = t.p[2];
        const double d = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
        const double u = ((b.x - x) * (c.y - y) - (c.x - x) * (b.y - y)) / d;
        const double v = ((c.x - x) * (a.y - y) - (a.x - x) * (c.y - y)) / d;
        const double w = 1.0 - u - v;
        const double eps = -1e-12;
        if (u < eps || v < eps || w < eps) continue;
        *z = u * a.z + v * b.z + w * c.z;
        return true;
    }
    return false;
}

}  // namespace TerrainMeshes
