#pragma once
// Why an earthwork's body cannot be built, judged from its parameters before it is placed, and the alert that
// refuses it by name. The limits are those under which the terrain's host builds no body: telling the user first
// keeps an earthwork from being placed that would be measured as nothing.
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/QV_String.hpp"

#include "APICoord.hpp"

#include <cstdint>
#include <vector>

// Each fault is the error table's entry of its refusal.
enum class BodyFault : int32_t {
    None = 0,
    SlopeAngle = SlopeAngleText,
    ZeroWidth = ZeroWidthText,
    CrossingOutline = CrossingOutlineText,
    FlatOutline = FlatOutlineText,
    LevelOutOfReach = LevelOutOfReachText,
    TooSteep = TooSteepText,
    OffTerrain = OffTerrainText,
    NoBody = NoBodyText,
};

// How far off every ground a platform may lie (m): farther is a typing slip.
constexpr double FarthestLevel = 1e4;

// A slope angle (radians) a slope can be built with: above 0 and below 90 degrees.
BodyFault SlopeAngleFault(double angle);
// The first of the angles that cannot be built, else None.
BodyFault SlopeAnglesFault(const std::vector<double>& angles);
// A strip of this width (m) has a body.
BodyFault WidthFault(double width);
// The outline (a closed ring in plan) bounds a body.
BodyFault OutlineFault(const std::vector<API_Coord>& outline);
// A platform between `lowest` and `highest` reaches ground between `groundLow` and `groundHigh`.
BodyFault LevelFault(double lowest, double highest, double groundLow, double groundHigh);
// A platform of slope `platformSlope` (radians, 0 for a level one) under side slopes of `cutAngle` and `fillAngle`:
// a platform as steep as a slope leaves that slope no ground to run to.
BodyFault PlatformSlopeFault(double platformSlope, double cutAngle, double fillAngle);

// The error alert that refuses the earthwork named `name` for `fault`.
Alert BodyRefusal(const QV_String& name, BodyFault fault);
