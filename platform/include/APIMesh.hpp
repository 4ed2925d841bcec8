#pragma once
// Host 3D model component records: a body with its counts, a vertex, an edge.
#include <cstdint>
#include <type_traits>

struct API_BodyType {
    int32_t polygonCount;
    int32_t edgeCount;
    int32_t vertexCount;
    int32_t status;
};

struct API_VertType {
    double x;
    double y;
    double z;
};

// An edge between two vertices of one body (indexes from 1 within the body).
struct API_EdgeType {
    int32_t firstVertex;
    int32_t secondVertex;
    int32_t leftPolygon;
    int32_t rightPolygon;
    int32_t status;
    int32_t filler;
};

static_assert(sizeof(API_BodyType) == 16 && std::is_trivially_copyable<API_BodyType>::value, "API_BodyType layout");
static_assert(sizeof(API_VertType) == 24 && std::is_trivially_copyable<API_VertType>::value, "API_VertType layout");
static_assert(sizeof(API_EdgeType) == 24 && std::is_trivially_copyable<API_EdgeType>::value, "API_EdgeType layout");
