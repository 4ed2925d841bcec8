#pragma once
// Host geometry library: Bezier splines through anchors with a direction record per anchor.
//
// A spline of n anchors has n - 1 cubic spans (n when closed: the last span runs back to anchor 0). The parameter
// t runs from 0 at anchor 0 to n - 1 (n when closed) at the end; span i covers [i, i + 1]. Span i has the control
// points anchor i, anchor i + lenNext_i along dirAng_i, anchor i+1 - lenPrev_(i+1) along the incoming direction of
// anchor i+1, and anchor i+1.
#include <cstdint>
#include <type_traits>
#include <vector>

#include "APICoord.hpp"
#include "GSArray.hpp"

namespace Geometry {

// Tangent record of one anchor. A zeroed record is a smooth anchor with no handles (a corner of straight spans).
struct DirType {
    double lenPrev;     // distance of the incoming control point from the anchor
    double lenNext;     // distance of the outgoing control point from the anchor
    double dirAng;      // direction of the outgoing handle (radians); also the incoming one unless kinked
    double dirAngPrev;  // direction from the incoming control point to the anchor, used only when kinked
    int32_t kinked;     // nonzero: incoming and outgoing directions differ
    int32_t filler;
};

static_assert(sizeof(DirType) == 40 && std::is_trivially_copyable<DirType>::value, "DirType layout");

// Fills dir for an anchor from its incoming and outgoing control points (either may equal the anchor).
void SetBezierDirType(const API_Coord& anchor, DirType& dir, const API_Coord& incomingControl,
                      const API_Coord& outgoingControl);

// Cubic spans of a spline (an owned copy of the anchors and directions).
class BezierDetails {
public:
    BezierDetails();
    BezierDetails(int32_t anchorCount, const API_Coord* anchors, const DirType* dirs, bool closed = false);

    int32_t SpanCount() const { return static_cast<int32_t>(spans.size()); }
    double EndParameter() const { return static_cast<double>(spans.size()); }

    struct Span {
        API_Coord p[4];
    };
    const std::vector<Span>& Spans() const { return spans; }

private:
    std::vector<Span> spans;
};

// Length of the spline from parameter 0 to tEnd (clamped to the spline), to within accuracy (absolute, > 0;
// smaller values are raised to 1e-9).
double SplineLen(const BezierDetails& details, double accuracy, double tEnd);

// Point of the spline at parameter t (clamped to the spline).
API_Coord GetSplineVal(const BezierDetails& details, double t);

// Divides the spline from anchor fromIndex to its end into pieces of equal arc length step: params gets the
// parameters of the division points at step, 2 step, ... from the start anchor, strictly before the end. With
// omitNearEnd a point less than half a step before the end is left out, so the end closes a piece of at least
// half a step. Returns the number of parameters; 0 (params empty) for a step that is not positive and finite,
// an anchor out of range, or more than 10^7 pieces.
int32_t DivSplinePart(int32_t anchorCount, const API_Coord* anchors, const DirType* dirs, bool closed, bool omitNearEnd,
                      int32_t fromIndex, double step, GS::Array<double>& params);

}  // namespace Geometry
