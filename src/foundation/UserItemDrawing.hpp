#pragma once
// Drawing into a user item, a list-box row or a list-view row on its update message: the record the update
// hands over, the drawing context its kind names, and filled and framed rectangles.
#include "DG.hpp"
#include "NewDisplay.hpp"

#include <cstdint>

// Colours of the dialogs: each component 0..1.
struct RGBColour {
    double red = 0.0;
    double green = 0.0;
    double blue = 0.0;
};

// What a user item's, list box cell's or list view cell's update hands over. `kind`: 0 user item, 1 list box,
// any other value list view.
struct UserItemDrawing {
    const DGUserUpdateData* update = nullptr;
    int16_t kind = 0;
};

constexpr int16_t DrawingKindUserItem = 0;
constexpr int16_t DrawingKindListBox = 1;
constexpr int16_t DrawingKindListView = -1;

NewDisplay::ContextKind ContextKindOf(int16_t kind);
// 0..1 into 0..255, truncated.
NewDisplay::Colour DrawingColour(const RGBColour& colour);

// Fills the rectangle with the colour at full opacity, then frames it in `frameColour`.
void FillUserItemRect(const UserItemDrawing& drawing, const DG::Rect& rect, const RGBColour& colour,
                      const RGBColour& frameColour, int32_t frameWidth);
void FrameUserItemRect(const UserItemDrawing& drawing, int32_t left, int32_t top, int32_t right, int32_t bottom,
                       const RGBColour& colour, int32_t lineWidth);
