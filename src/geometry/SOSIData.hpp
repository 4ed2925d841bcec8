#pragma once
// One converted SOSI object: what the builders and the arc / Bezier geometry read.
#include <cstdint>

#include "APICoord.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

// Geometry kinds of SOSI group lines; SOSIKindNone for any other group line (header, end line).
enum : int16_t {
    SOSIKindPoint = 0,
    SOSIKindSwarm = 1,
    SOSIKindLine = 2,
    SOSIKindCurve = 3,
    SOSIKindArcByRadius = 4,  // first and last point plus a signed radius
    SOSIKindArcByPoints = 5,
    SOSIKindCircle = 6,  // centre (first point) plus radius
    SOSIKindCircleByPoints = 7,
    SOSIKindBezier = 8,  // anchor, control, control, anchor, ...
    SOSIKindText = 9,
    SOSIKindSurface = 10,
    SOSIKindNone = -1  // 0xFFFF as u16
};

// One piece of coordinates (a surface ring).
typedef QV_List<API_Coord3D> SOSICos;
// One reference group: object ids as written, a leading ':' removed, a sign kept.
typedef QV_List<QV_String> SOSIRefs;

struct SOSIData {
    int16_t geometryKind = 0;
    QV_List<API_Coord3D> coords;  // x, y, z
    double radius = 0.0;          // signed for SOSIKindArcByRadius
    QV_String keyword;
    QV_String id;  // its integer value is what "..REF" lines name
    QV_String type;
    QV_List<SOSICos> pieces;
    QV_List<QV_String> texts;
    QV_List<SOSIRefs> refs;
    int32_t fileIndex = -1;

    // Empties the record (lists cleared, numbers 0, file index -1).
    void Reset();
};
QV_DECLARE_RELOCATABLE(SOSIData);
