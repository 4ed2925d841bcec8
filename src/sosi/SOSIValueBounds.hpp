#pragma once
// The values a SOSI file may hold and still be a survey: every reader of survey files refuses the same ones.
// A coordinate beyond them (or not finite) is no place on earth in any projection; a unit outside them would
// stack every point on its origin or spread them past any map.
#include <cmath>

// Metres: far beyond any projected coordinate (a few 10^7 m at most).
constexpr double SOSIMaxPlanCoordinate = 1e8;
// Metres: far above any mountain and below any sea floor.
constexpr double SOSIMaxHeight = 1e5;
// The size of one coordinate step ("...ENHET"): positive, from a nanometre (or as fine a degree) to a kilometre.
constexpr double SOSIMinUnit = 1e-9;
constexpr double SOSIMaxUnit = 1e3;

inline bool SOSIPlanValueHeld(double v) { return std::isfinite(v) && std::fabs(v) <= SOSIMaxPlanCoordinate; }
inline bool SOSIHeightHeld(double z) { return std::isfinite(z) && std::fabs(z) <= SOSIMaxHeight; }
inline bool SOSIUnitHeld(double unit) { return std::isfinite(unit) && unit >= SOSIMinUnit && unit <= SOSIMaxUnit; }
