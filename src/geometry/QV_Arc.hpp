#pragma once
// Arc record and the constructions every outline routine builds on.
#include <cstdint>

#include "APICoord.hpp"

// A circular (or elliptic) arc. The sign of endAngle - startAngle is the direction (positive = counter-clockwise).
// A point at angle a is (cx + radiusX cos a, cy + radiusY sin a), turned about the centre by rotation.
struct QV_Arc {
    API_Coord center;
    double startAngle;
    double endAngle;
    double radiusX;
    double radiusY;
    double axisRatio;  // 1.0 for a circular arc
    double rotation;

    // The degenerate arc: everything 0, axisRatio 1.0.
    static QV_Arc Degenerate();

    // Arc from start to end through the through point. With a direction (1 clockwise, 0 counter-clockwise) that
    // direction is taken instead of the one the through point gives. Collinear or coinciding points give the
    // degenerate arc.
    static QV_Arc FromThreePoints(const API_Coord& start, const API_Coord& end, const API_Coord& through,
                                  const uint8_t* direction = nullptr);

    // Arc from start to end turning by the signed central angle (positive = counter-clockwise).
    static QV_Arc FromEndPointsAndAngle(const API_Coord& start, const API_Coord& end, const double& angle);

    // Angle of the point about the arc's centre in [0, 2pi); 0 when the point lies within the tolerance of the
    // centre in x and y.
    static double AngleOfPoint(const QV_Arc& arc, const API_Coord& point, double tolerance);

    // Arc length (circular arcs exactly, elliptic arcs approximately).
    static double Length(const QV_Arc& arc);

    // True for the record the constructors give for degenerate input (both radii zero).
    bool IsDegenerate() const { return radiusX == 0.0 && radiusY == 0.0; }
};

static_assert(sizeof(QV_Arc) == 64, "QV_Arc is eight doubles");

// Centre of the circle through three points. Returns false, leaving centre untouched, when the points are
// collinear or coincide (no finite centre).
bool Circumcentre(const API_Coord& p1, const API_Coord& p2, const API_Coord& p3, API_Coord& centre);

// Crossing test of segment A (xA1, yA1)-(xA2, yA2) with segment B: 0 apart, 1 proper crossing, 2 an end point of one
// lies on the other (within the tolerance).
int32_t TestSegmentCrossing(double xA1, double yA1, double xA2, double yA2, double xB1, double yB1, double xB2,
                            double yB2, const double& tolerance);

// Angle of v about the origin by atan2, in [0, 2pi).
double NormalizedAtan2(double y, double x);

// Point of the arc at the angle (rotation applied when |rotation| >= 1e-7).
API_Coord PointOnArc(const QV_Arc& arc, double angle);

// Segments per arc for a chord error (count when the chord error is 0), at least 3.
int32_t ArcSegmentCount(double radius, double sweep, int32_t count, double chordError);
