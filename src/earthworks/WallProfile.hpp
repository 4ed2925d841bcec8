#pragma once
// The plane geometry of a retaining wall's two faces: path arcs cut into chords, face vertex lists, terrain
// vertices merged, located on the face segments and used to split them, and the far-face points opposite the
// near-face vertices. No host call is made here; the terrain sampling that feeds it is the element class's.
#include "foundation/QV_List.hpp"
#include "geometry/PrimRecords.hpp"
#include "geometry/QV_Poly.hpp"

#include "APICoord.hpp"

#include <cstdint>

// A terrain vertex on a segment, d its distance from the segment's begin point.
struct ObstacleCos {
    double x;
    double y;
    double z;
    double d;
};

// The heights of one segment at its ends and, for an arc, at its arc point (0 for a straight segment).
struct ObstacleHeight {
    double zBegin;
    double zEnd;
    double zArc;
};

// Orders by d.
bool ObstacleCosLess(const ObstacleCos& a, const ObstacleCos& b, void* userData);

// Every arc of `path` becomes `resolution` chords (below 1 counts as 1, so no arc leaves a gap); the last chord
// ends exactly at the arc's end point. Straight segments are kept.
void SegmentArcs(QV_List<PrimPoly>& path, int32_t resolution);

// The begin point of the first segment, then per segment its arc point (code 2) when an arc, and its end point
// (code 0); every z 0.
void BuildFaceVertices(const QV_List<PrimPoly>& segments, QV_List<QV_Coord3DLong>& vertices);

// For each point in order, every later point closer than 0.01 in x and in y is dropped; the kept one takes the
// larger z.
void MergeClosePoints(QV_List<API_Coord3D>& points);

// True when (x, y) lies on the segment: within 1e-7 of a straight one between its ends, or at the radius of an
// arc within 1e-7 and inside the span the arc runs over, in its own direction.
bool PointOnSegment(const PrimPoly& segment, double x, double y);

// `index` gets one entry per point: the first segment it lies on, or -1. True when some point got one.
bool AssignPointsToSegments(const QV_List<API_Coord3D>& points, const QV_List<PrimPoly>& segments,
                            QV_List<int32_t>& index);

// Splits the straight segments at the points assigned to them (in the order of their distance from the begin
// point; a point on a segment's end gives no empty piece), keeps arcs, and rebuilds `vertices` from the new
// segments with the heights the old vertices and the points carried.
void SplitPathAtPoints(const QV_List<API_Coord3D>& points, QV_List<QV_Coord3DLong>& vertices,
                       QV_List<PrimPoly>& segments, const QV_List<int32_t>& index);

// One point per near-face vertex that is no arc point: the begin point of each near-face segment, then the end
// of the last, moved by `thickness` square to the segment (to its left when `onLeft`, else to its right), with
// the height of that vertex.
void OffsetVertexPoints(const QV_List<PrimPoly>& near, const QV_List<QV_Coord3DLong>& nearVertices, double thickness,
                        bool onLeft, QV_List<API_Coord3D>& points);

// Gives the far face the near face's heights: a point opposite a near-face vertex lifts the far vertex it
// coincides with (1e-7), and the others split the far face's segments where they lie.
void MatchFarFace(const QV_List<PrimPoly>& near, const QV_List<QV_Coord3DLong>& nearVertices, double thickness,
                  bool onLeft, QV_List<PrimPoly>& far, QV_List<QV_Coord3DLong>& farVertices);

// Reverses the list in place.
void ReverseCoord3DLongList(QV_List<QV_Coord3DLong>& list);
