#pragma once
// Selected lines, arcs, circles, polylines and splines turned into one list of straight plan segments that never
// cross each other: curves are divided by the curve segmentation settings (a number of segments per curve, or a
// segment length), and a segment that would cross one already in the list is left out. Also the segment crossing
// test those steps use and the ordering of a segment list into chains.
#include "foundation/QV_List.hpp"
#include "geometry/QV_Arc.hpp"

#include "APIElements.hpp"

#include <cstdint>

// A straight plan segment from (x1, y1) to (x2, y2).
struct PlanSegment {
    double x1;
    double y1;
    double x2;
    double y2;
};

// How curves are divided: by a number of segments per curve (byCount 1) or by a segment length (byCount 0).
struct CurveSegmentationRecord {
    uint8_t byCount;
    double segmentLength;
    int32_t segmentCount;
};
// The module's one record: 1, 1.0 and 36 from initialisation on, edited by the "Curve segmentation" dialog.
extern CurveSegmentationRecord CurveSegmentation;
// With `loaded`, the record of a module that starts (by count, length 1, 36 segments); else all zero.
void ResetCurveSegmentation(bool loaded);

// Asks the user how curves are divided, over the record: true on OK (the record then holds the choice). The
// "Curve segmentation" dialog sits above this code, so the command that divides hands it in; without it curves
// are not divided (the division counts as cancelled).
using CurveSegmentationAsk = bool (*)(CurveSegmentationRecord& record);

// Results of SegmentSelectedSplines.
constexpr int32_t CurveDivision_Failed = 0;     // a selection could not be read or a curve's memo failed
constexpr int32_t CurveDivision_Done = 1;       // divided (also: nothing selected to divide)
constexpr int32_t CurveDivision_Cancelled = 2;  // the user cancelled the dialog: nothing was divided

// Divides the selected lines (19), arcs (21), circles (22), polylines (20) and splines (23) into `segments`,
// appending the head of every element it divided to `sources`. Elliptic arcs and circles are left out. When a
// curve is among them `ask` asks how first. Segments made before a failure stay.
int32_t SegmentSelectedSplines(CurveSegmentationAsk ask, uint8_t onlyEditable, uint8_t viaFloorPlan,
                               QV_List<PlanSegment>& segments, QV_List<API_Elem_Head>& sources);

// One polyline: its straight parts and its arcs (divided), sub-polyline by sub-polyline. False when its memo
// cannot be read.
bool SegmentPolylineElement(const API_Element& polyline, QV_List<PlanSegment>& segments,
                            QV_List<API_Elem_Head>& sources);
// One spline, divided at equal lengths along it. False when its memo cannot be read; a spline with fewer than two
// control points contributes nothing.
bool SegmentSplineElement(const API_Element& spline, QV_List<PlanSegment>& segments, QV_List<API_Elem_Head>& sources);
// One arc divided by the settings. By count: segmentCount equal angles (none below 1). By length: chords of
// segmentLength, then one closing chord to the arc's end; nothing when the length is not positive, is longer than
// the arc's diameter, or the first chord already reaches the end. A degenerate arc gives nothing.
void SegmentArcRecord(const QV_Arc& arc, QV_List<PlanSegment>& segments);

// Segments s and t meet inside both (their ends included): true and the meeting point. Nearly parallel segments
// (|cross product of the directions| below 1e-5) never meet.
bool IntersectSegments(const PlanSegment& s, const PlanSegment& t, API_Coord& point);
// The segment crosses a listed segment that shares no end point with it (1e-7).
bool SegmentCrossesList(const PlanSegment& segment, const QV_List<PlanSegment>& list);
// Appends the segment unless it crosses one of the list; true when it was appended.
bool OfferSegment(const PlanSegment& segment, QV_List<PlanSegment>& list);

// Orders a contour's segments into chains (5e-5): segments at a branch point first, then each chain joined end to
// start, segments reversed where needed.
void MatchSegmentEndpoints(QV_List<PlanSegment>& list);
