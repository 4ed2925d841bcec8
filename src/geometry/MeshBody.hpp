#pragma once
// Working record of 3D model readers and height sampling: bodies with their vertices and edges, plain points,
// 3D polygons with their sizes and angles, and two element records.
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "APICoord.hpp"
#include "APIElements.hpp"
#include "APIMesh.hpp"
#include "GSRoot.hpp"
#include "foundation/QV_List.hpp"

// One body of an element's 3D model.
struct MeshBodyPart {
    API_BodyType body = {};
    QV_List<API_VertType> vertices;
    QV_List<API_EdgeType> edges;

    // Zeroes the body record and empties both lists.
    void Clear();
};

// A 3D polygon as its point list.
struct QV_Poly3D {
    QV_List<API_Coord3D> points;
};

QV_DECLARE_RELOCATABLE(MeshBodyPart);
QV_DECLARE_RELOCATABLE(QV_Poly3D);

// Empties a list; a list that holds nothing and no storage is left alone, so no memory is touched.
template <typename T>
void ShrinkToEmpty(QV_List<T>& list) {
    if (list.GetCount() > 0 || (list.HasHandle() && BMGetHandleSize(list.GetHandle()) > 0)) list.Clear();
}

// The body record over the host's element record type (API_Element; any plain record for tests).
template <typename ElementRecord>
class MeshBodyOf {
    static_assert(std::is_trivially_copyable<ElementRecord>::value, "element records are plain host records");

public:
    ElementRecord element;
    QV_List<MeshBodyPart> bodyParts;
    QV_List<API_Coord3D> vertices;
    QV_List<QV_Poly3D> polygons;
    QV_List<int32_t> polygonSizes;
    QV_List<double> angles;
    ElementRecord secondElement;

    MeshBodyOf() { Reset(); }
    ~MeshBodyOf() { Reset(); }
    MeshBodyOf(const MeshBodyOf&) = delete;
    MeshBodyOf& operator=(const MeshBodyOf&) = delete;

    // Both element records zeroed; every body part and polygon emptied, then every list emptied.
    void Reset() {
        std::memset(static_cast<void*>(&element), 0, sizeof(element));
        std::memset(static_cast<void*>(&secondElement), 0, sizeof(secondElement));
        for (int32_t i = 0; i < bodyParts.GetCount(); ++i) bodyParts[i].Clear();
        ShrinkToEmpty(bodyParts);
        ShrinkToEmpty(vertices);
        for (int32_t i = 0; i < polygons.GetCount(); ++i) ShrinkToEmpty(polygons[i].points);
        ShrinkToEmpty(polygons);
        ShrinkToEmpty(polygonSizes);
        ShrinkToEmpty(angles);
    }
};

// The working record of the 3D model readers and the terrain height sampling, over the host's element record.
using MeshBody = MeshBodyOf<API_Element>;
