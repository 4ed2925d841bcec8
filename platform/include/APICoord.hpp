#pragma once
// Plain coordinate records of the host interface, shared by the geometry code and the element records.
#include <cstdint>
#include <type_traits>

struct API_Coord {
    double x;
    double y;
};

struct API_Coord3D {
    double x;
    double y;
    double z;
};

struct API_Box {
    double xMin;
    double yMin;
    double xMax;
    double yMax;
};

struct API_Box3D {
    double xMin;
    double yMin;
    double zMin;
    double xMax;
    double yMax;
    double zMax;
};

static_assert(sizeof(API_Coord) == 16 && std::is_trivially_copyable<API_Coord>::value, "API_Coord layout");
static_assert(sizeof(API_Coord3D) == 24 && std::is_trivially_copyable<API_Coord3D>::value, "API_Coord3D layout");
static_assert(sizeof(API_Box) == 32, "API_Box layout");
static_assert(sizeof(API_Box3D) == 48, "API_Box3D layout");
