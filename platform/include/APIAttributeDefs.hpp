#pragma once
// A line type's definition beyond its attribute record, as the Database selector 'ADEF' hands it out: its kind,
// whether its lengths scale with the drawing, its period, and the handles of its dashes or symbol items (the
// caller releases them with 'KDEF'). Lengths are millimetres on paper, or metres in the model when
// scale-dependent.
#include "APICoord.hpp"
#include "GSRoot.hpp"

#include <cstdint>
#include <type_traits>

struct API_DashItem {
    double dash;
    double gap;
};

// Symbol items: 1 separator tick, 2 centre dot, 3 centre line, 4 dot, 5 right-angle line, 6 parallel line,
// 7 line, 8 circle, 9 arc.
struct API_LineItem {
    int32_t itemType;
    int32_t filler;
    double centOffs;   // offset along the line
    double length;     // along the line
    API_Coord begPos;  // begin point, or the centre of a circle or arc
    API_Coord endPos;
    double radius;
    double begAngle;  // radians
    double endAngle;
};

struct API_LineTypeDef {
    int32_t kind;  // 0 solid, 1 dashed, 2 symbol
    uint8_t scaleDependent;
    uint8_t filler[3];
    double period;       // the length of one repetition
    GSHandle dashItems;  // API_DashItem records (dashed)
    GSHandle lineItems;  // API_LineItem records (symbol)
};
static_assert(std::is_trivially_copyable<API_LineTypeDef>::value, "API_LineTypeDef is a plain record");
