#pragma once
// Sideways offset of an open chain of straight and arc segments (the edges of roads, railways and walls).
#include <cstdint>

#include "geometry/PrimRecords.hpp"
#include "foundation/QV_List.hpp"

// Offsets the path by the distance to side 0 (left of its direction) or side 1 (right); a negative distance
// offsets to the other side. Moved segments are joined again where they no longer meet; arcs offset towards
// their centre by more than their radius are dropped. With regularize the band between path and offset is
// cleaned so that loops of a tight bend are cut away, and every part closer to the path than the distance is cut
// off; where regularisation finds no piece, or its piece misses some true offset, the joined chain so cut is the
// result. Where joining the moved segments directly (a mitre, or the two neighbours of an arc that the distance
// uses up) would cut off some of their true offset, the offset takes round joins instead (arcs of radius distance
// about the path's vertices), so that no point at the distance from the path is lost. The result is emptied
// first; it runs in the path's direction on side 0 and against it on side 1. An empty result means that nothing
// was left. The result does not depend on where the path lies: it is computed in a frame at the path's first
// point.
void OffsetPolygonWithArcs(const QV_List<PrimPoly>& path, uint8_t side, const double& distance,
                           QV_List<PrimPoly>& result, uint8_t regularize);

// Cleans an offset chain in place against its path: the band between them is regularised and the chain becomes
// the offset side of the piece that holds the whole path. The chain stays as it was when that fails. With a
// distance above 0 (the offset's), the parts of that side that come closer to the path than the distance (path
// pieces, loop remnants, ends that run into the reach of another part of the path) are cut away. Works in a frame
// at the path's first point, so survey coordinates keep their digits.
void RegularizeOffsetChain(const QV_List<PrimPoly>& path, uint8_t side, QV_List<PrimPoly>& chain,
                           double distance = -1.0);

// Reverses a chain in place: segment order, and start and end of every segment.
void ReverseSegmentList(QV_List<PrimPoly>& chain);
