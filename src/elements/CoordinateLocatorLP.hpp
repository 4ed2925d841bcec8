#pragma once
// The view over the coordinate locator "SOSI_COORDINATE_LOCATOR": an object on an independent worksheet whose
// parameters hold the real-world coordinates of its point and the look of its marker and label.
#include "elements/BaseLP.hpp"
#include "foundation/QV_String.hpp"

#include "APIDefs.hpp"

#include <cstdint>

// The name of the locator's library part.
extern const char* const CoordinateLocatorPartName;

// The working copy that the locator's dialog edits.
struct CoordinateLocatorRec {
    double x = 0.0;  // real-world coordinates of the locator's point
    double y = 0.0;
    double z = 0.0;
    double markerSize = 0.0;
    QV_String font;
    int16_t markerPen = 0;
    double textSize = 0.0;
    int16_t textPen = 0;
    QV_String style;  // "normale", "grassetto", "corsivo" or "grassetto e corsivo"
};

class CoordinateLocatorLP : public BaseLP {
public:
    using BaseLP::BaseLP;
    // "X_origo_mondo" ... "stile" for 0 to 9 (CoordinateLocatorParam of elements/ParamIndexes.hpp), "???" above.
    const char* GetParamName(int32_t index) const override;

    // LPMode_Get reads the parameters into `rec` (reset first), LPMode_Set writes `rec` into them; false as soon
    // as one parameter is missing.
    bool Exchange(CoordinateLocatorRec& rec, int32_t mode);
};

// The style text of the two checkboxes "Bold" and "Italic".
QV_String CoordinateLocatorStyle(bool bold, bool italic);

// The offset that imports subtract from real-world coordinates so that a point at the locator's real-world
// coordinates lands on the locator: real-world minus position.
API_Coord CoordinateLocatorOffset(const API_Coord& position, double realX, double realY);
