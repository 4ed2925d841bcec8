#pragma once
// The values a survey can hold, in metres. Any projected coordinate system keeps its eastings and northings
// within a few ten thousand kilometres and no terrain rises or falls 100 km, so a reader refuses values beyond
// these bounds as it refuses numbers it cannot read: 1e308 in a file is garbage, and taken as data it would
// become the project offset and leave every other point near -1e308.
#include <cmath>

constexpr double MaxSurveyPlan = 1e8;    // |x|, |y|: 100,000 km
constexpr double MaxSurveyHeight = 1e5;  // |z|: 100 km
// A grid cell wider than this covers no terrain a survey describes.
constexpr double MaxSurveyCellSize = 1e5;

inline bool SurveyPlanValue(double v) { return std::fabs(v) <= MaxSurveyPlan; }  // false for NaN too
inline bool SurveyHeight(double z) { return std::fabs(z) <= MaxSurveyHeight; }
inline bool SurveyPoint(double x, double y, double z) {
    return SurveyPlanValue(x) && SurveyPlanValue(y) && SurveyHeight(z);
}
