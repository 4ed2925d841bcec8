#pragma once
// The shapes of a shapefile's main file, one record per shape type, with every field the format defines for it.
// A record owns its lists; copying a record copies them.
#include "foundation/QV_List.hpp"

#include <cstdint>

// The empty box a new shape starts with: the largest double rounded to 15 significant digits.
constexpr double ShapeEmptyBound = 1.79769313486231e308;

struct GISPoint {
    double x, y;
};
struct GISPointZ {
    double x, y, z, m;
};
struct GISPointM {
    double x, y, m;
};

struct GISPoly {  // types 3 and 5
    double box[4] = {ShapeEmptyBound, ShapeEmptyBound, -ShapeEmptyBound, -ShapeEmptyBound};
    int32_t partCount = 0;
    int32_t pointCount = 0;
    QV_List<int> partStarts;  // index of each part's first point
    QV_List<GISPoint> points;
};
struct GISPolyM : GISPoly {  // types 23 and 25
    double mMin = 0.0, mMax = 0.0;
    QV_List<double> m;  // empty when the record carries no measures
};
struct GISPolyZ : GISPoly {  // types 13 and 15
    double zMin = 0.0, zMax = 0.0;
    QV_List<double> z;
    double mMin = 0.0, mMax = 0.0;
    QV_List<double> m;  // empty when the optional measure block is left out
};

struct GISMultiPoint {  // type 8
    double box[4] = {ShapeEmptyBound, ShapeEmptyBound, -ShapeEmptyBound, -ShapeEmptyBound};
    int32_t pointCount = 0;
    QV_List<GISPoint> points;
};
struct GISMultiPointM : GISMultiPoint {  // type 28
    double mMin = 0.0, mMax = 0.0;
    QV_List<double> m;
};
struct GISMultiPointZ : GISMultiPoint {  // type 18
    double zMin = 0.0, zMax = 0.0;
    QV_List<double> z;
    double mMin = 0.0, mMax = 0.0;
    QV_List<double> m;
};
struct GISMultiPatch : GISPoly {  // type 31
    QV_List<int> partTypes;
    double zMin = 0.0, zMax = 0.0;
    QV_List<double> z;
    double mMin = 0.0, mMax = 0.0;
    QV_List<double> m;
};

QV_DECLARE_RELOCATABLE(GISPoly);
QV_DECLARE_RELOCATABLE(GISPolyM);
QV_DECLARE_RELOCATABLE(GISPolyZ);
QV_DECLARE_RELOCATABLE(GISMultiPoint);
QV_DECLARE_RELOCATABLE(GISMultiPointM);
QV_DECLARE_RELOCATABLE(GISMultiPointZ);
QV_DECLARE_RELOCATABLE(GISMultiPatch);

void ClearGISPolyList(QV_List<GISPoly>& list);
void ClearGISPolyMList(QV_List<GISPolyM>& list);
void ClearGISPolyZList(QV_List<GISPolyZ>& list);
