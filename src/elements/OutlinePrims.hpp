#pragma once
// Outline primitives of the element classes, the two-click side picking of the line-following features and the
// split of their outline into two edge chains. BaseCls::BuildPrimitives and BaseCls::InputPolygonStep are
// declared with the class (elements/BaseCls.hpp) and built here.
#include "elements/BaseCls.hpp"

#include "APICoord.hpp"

#include <cstdint>

// Builds a temporary fill (carrying `fillValue`) from polyPrims, reads it back through BuildPrimitives and
// deletes it again; pickHead is zero afterwards, since the fill is gone. False when the fill cannot be made or
// read.
bool MakePickFill(BaseCls& cls, int16_t fillValue);

// The side (from 1, in segments) a click off the fill lies on: its begin point, or a point of the segment
// between begin and end (its end point belongs to the next side). False when no side takes it.
bool FindSegmentAtPoint(const BaseCls& cls, const API_Coord& point, int32_t& side);
// The same, and the side must differ from `otherSide`.
bool FindOtherSegmentAtPoint(const BaseCls& cls, const API_Coord& point, int32_t otherSide, int32_t& side);

// Splits the ring of prims at firstSide and lastSide: chainA receives the points from the first side to the last
// one, chainB those from the last side back to the first (appended, with z and codes). prims stays as it is.
// False when the sides do not name two different records of a ring of at least three.
bool SplitRingAtSides(BaseRSWCls& cls);
