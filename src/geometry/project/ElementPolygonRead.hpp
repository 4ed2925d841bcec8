#pragma once
// The outer contour of a host element read as outline point lists and a chain.
#include "APIDefs.hpp"
#include "foundation/QV_List.hpp"
#include "geometry/PrimRecords.hpp"
#include "geometry/QV_Poly.hpp"

#include <cstdint>

// Reads the outer contour of the host element with the GUID into outline point lists (x, y, z = 0; code 0 a
// vertex, 2 an arc's middle point) and a chain; closedRing is 1 when the contour ends where it starts.
// Repeated points give no segment. False, everything empty, when the element or its memo cannot be read or the
// element has no polygon.
bool ReadElementPolygon(const API_Guid& guid, QV_List<QV_Coord3DLong>& points3D, QV_List<QV_CoordLong>& points2D,
                        QV_List<PrimPoly>& polyPrims, uint8_t& closedRing);
