#pragma once
// What the host knows of element types by their id.
#include "APIElements.hpp"

#include <cstdint>
#include <string>

// Readable name of an element type ("polyline", "object" ...), "type <n>" for others.
std::string ElementTypeName(API_ElemTypeID typeID);
bool ValidElementType(API_ElemTypeID typeID);
// Types whose record holds a polygon (API_Polygon poly).
bool HasPolygon(API_ElemTypeID typeID);
// The database kind a marker type owns (0 for other types).
int32_t DatabaseKindOfMarker(API_ElemTypeID typeID);
