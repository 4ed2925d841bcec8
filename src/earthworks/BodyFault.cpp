#include "earthworks/BodyFault.hpp"

#include "geometry/OutlineShape.hpp"

#include <cmath>

namespace {
constexpr double HalfPi = 1.5707963267948966;
// Angles closer than this to 0 or 90 degrees build no slope either.
constexpr double AngleMargin = 1e-6;
}  // namespace

BodyFault SlopeAngleFault(double angle) {
    return angle > AngleMargin && angle < HalfPi - AngleMargin ? BodyFault::None : BodyFault::SlopeAngle;
}

BodyFault SlopeAnglesFault(const std::vector<double>& angles) {
    for (double a : angles)
        if (SlopeAngleFault(a) != BodyFault::None) return BodyFault::SlopeAngle;
    return BodyFault::None;
}

BodyFault WidthFault(double width) { return width > 1e-6 ? BodyFault::None : BodyFault::ZeroWidth; }

BodyFault OutlineFault(const std::vector<API_Coord>& outline) {
    switch (ClassifyOutline(outline)) {
        case OutlineShape::Simple: return BodyFault::None;
        case OutlineShape::CrossesItself: return BodyFault::CrossingOutline;
        case OutlineShape::TooFewPoints:
        case OutlineShape::Flat: break;
    }
    return BodyFault::FlatOutline;
}

BodyFault LevelFault(double lowest, double highest, double groundLow, double groundHigh) {
    return highest > groundLow - FarthestLevel && lowest < groundHigh + FarthestLevel ? BodyFault::None
                                                                                      : BodyFault::LevelOutOfReach;
}

BodyFault PlatformSlopeFault(double platformSlope, double cutAngle, double fillAngle) {
    if (!(platformSlope >= 0.0 && platformSlope < HalfPi - AngleMargin)) return BodyFault::TooSteep;
    const double steepest = std::tan(platformSlope);
    return steepest < std::tan(cutAngle) && steepest < std::tan(fillAngle) ? BodyFault::None : BodyFault::TooSteep;
}

Alert BodyRefusal(const QV_String& name, BodyFault fault) {
    const int32_t entry = int32_t(fault == BodyFault::None ? BodyFault::NoBody : fault);
    return Alert(AlertKind::Error, ErrorTitleText, AlertText{ErrorTableBase, entry}).With(name);
}
