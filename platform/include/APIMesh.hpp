#pragma once
// Host 3D model component records: a body with its counts, a polygon, a polygon edge, an edge, a vertex; the
// component record that asks for one of them, and an element's 3D info (its range of bodies).
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

// A polygon: its polygon edges, firstPedg to lastPedg (indexes from 1 within the body).
struct API_PgonType {
    int32_t firstPedg;
    int32_t lastPedg;
    int32_t status;
    int32_t filler;
};

// A polygon edge: the body's edge it runs along (from 1); negative when the polygon runs it from its second vertex
// to its first.
struct API_PedgType {
    int32_t edgeIndex;
    int32_t filler;
};

// Component types of the 3D model.
typedef int32_t API_3DTypeID;
constexpr API_3DTypeID API_BodyID = 1;
constexpr API_3DTypeID API_PgonID = 2;
constexpr API_3DTypeID API_PedgID = 3;
constexpr API_3DTypeID API_EdgeID = 4;
constexpr API_3DTypeID API_VertID = 5;

struct API_Component3DHead {
    API_3DTypeID typeID;
    int32_t index;  // a body: its index in the 3D model; the others: from 1 within the body read last
};

// One component of the 3D model: set header.typeID and header.index; the member of that type comes back.
struct API_Component3D {
    API_Component3DHead header;
    union {
        API_BodyType body;
        API_PgonType pgon;
        API_PedgType pedg;
        API_EdgeType edge;
        API_VertType vert;
    };
};

// The bodies of an element's 3D model: firstBody to lastBody (an element without a body: lastBody < firstBody).
struct API_ElemInfo3D {
    int32_t firstBody;
    int32_t lastBody;
    int32_t reserved[6];
};

static_assert(sizeof(API_BodyType) == 16 && std::is_trivially_copyable<API_BodyType>::value, "API_BodyType layout");
static_assert(sizeof(API_VertType) == 24 && std::is_trivially_copyable<API_VertType>::value, "API_VertType layout");
static_assert(sizeof(API_EdgeType) == 24 && std::is_trivially_copyable<API_EdgeType>::value, "API_EdgeType layout");
static_assert(sizeof(API_PgonType) == 16 && std::is_trivially_copyable<API_PgonType>::value, "API_PgonType layout");
static_assert(sizeof(API_PedgType) == 8 && std::is_trivially_copyable<API_PedgType>::value, "API_PedgType layout");
static_assert(sizeof(API_Component3D) == 32 && std::is_trivially_copyable<API_Component3D>::value,
              "API_Component3D layout");
static_assert(sizeof(API_ElemInfo3D) == 32 && std::is_trivially_copyable<API_ElemInfo3D>::value,
              "API_ElemInfo3D layout");

// Quantities of an element (Element_GetQuantities).
struct API_QuantityPar {
    double minOpeningSize;  // tolerance of the measurement
};
struct API_MeshQuantity {
    double volume;  // the mesh's solid, base to surface, as its solid links leave it
    uint8_t reserved[56];
};
union API_ElementQuantity {
    API_MeshQuantity mesh;
    uint8_t bytes[256];
};
static_assert(sizeof(API_ElementQuantity) == 256 && std::is_trivially_copyable<API_ElementQuantity>::value,
              "API_ElementQuantity layout");
