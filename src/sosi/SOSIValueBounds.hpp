#pragma once
// The values a SOSI file may hold and still be a survey: the same bounds every reader of survey files keeps
// (fileio/SurveyBounds.hpp), and the unit's own. A unit outside them would stack every point on its origin or
// spread them past any map.
#include "fileio/SurveyBounds.hpp"

#include <cmath>

// The size of one coordinate step ("...ENHET"): positive, from a nanometre (or as fine a degree) to a kilometre.
constexpr double SOSIMinUnit = 1e-9;
constexpr double SOSIMaxUnit = 1e3;

inline bool SOSIPlanValueHeld(double v) { return std::isfinite(v) && SurveyPlanValue(v); }
inline bool SOSIHeightHeld(double z) { return std::isfinite(z) && SurveyHeight(z); }
inline bool SOSIUnitHeld(double unit) { return std::isfinite(unit) && unit >= SOSIMinUnit && unit <= SOSIMaxUnit; }
