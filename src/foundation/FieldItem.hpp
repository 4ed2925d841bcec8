#pragma once
// An item of a settings dialog bound to a field of the record it edits: the settings records' tables name their
// fields' items (settings/FieldTable.hpp), and the dialog frame moves values through them.
#include <cstdint>

// How an item shows a field.
enum class FieldItemKind : uint8_t {
    Long,          // integer edit
    Check,         // check box, 0 or 1
    Double,        // real edit, the value as stored
    Angle,         // real edit in degrees over a field in radians
    Text,          // text edit
    PenPair,       // integer edit `item` with the pen control `pairItem` beside it
    UserControl,   // host attribute chooser bound as `control` ('SUCC'); its value is the attribute index
    ColourSwatch,  // user item showing fields `field`, +1, +2 (red, green, blue 0..1); a click opens the picker
    PenColour,     // fill control `item` showing the colour of the pen in `field` as slot `control` (0 contour,
                   // 1 foreground, 2 background), following that pen's items as they change
};

struct FieldItem {
    int16_t item;
    int16_t field;
    FieldItemKind kind;
    int16_t pairItem;  // PenPair: the pen control
    uint32_t control;  // UserControl: the control type
};
