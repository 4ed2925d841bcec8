#pragma once
// Outline chains of path elements and the self-crossing test of their closed body outline.
#include <cstdint>

#include "APICoord.hpp"

#include "geometry/PrimRecords.hpp"
#include "foundation/QV_List.hpp"
#include "geometry/QV_Poly.hpp"

// 1 when the outline crosses, touches or folds back on itself, else 0. Arcs are chorded first. Edges that
// share a vertex (in a ring also the last and the first edge) are only tested for folding back along each
// other; edges of no length are left out.
uint8_t PolygonSelfIntersects(const QV_Poly& poly);

// Assembles the closed body outline from the two edge chains (rightPrims running backwards): leftPrims, a
// connector to the start of rightPrims, rightPrims, a connector back. lastSide gets the 1-based position of the
// first connector, firstSide that of the closing one. Returns 1 when the outline is free of self-crossings, 0
// otherwise; with an empty edge chain nothing is built (polyPrims empty, both sides 0) and the result is 0.
uint8_t BuildClosedOutlineFromEdges(const QV_List<PrimPoly>& leftPrims, const QV_List<PrimPoly>& rightPrims,
                                    QV_List<PrimPoly>& polyPrims, int32_t& firstSide, int32_t& lastSide);

// Subtracts the origin from x and y of every point of the lists.
void TranslatePointArray(QV_List<QV_CoordLong>& outline, QV_List<QV_CoordLong>& outlineSegmented,
                         const API_Coord& origin);
void TranslatePointArrayLarge(QV_List<QV_CoordLong>& outline, QV_List<QV_CoordLong>& outlineSegmented,
                              QV_List<QV_Coord3DLong>& chainA, QV_List<QV_Coord3DLong>& chainB,
                              const API_Coord& origin);
