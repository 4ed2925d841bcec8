#pragma once
// The host's drawing contexts over an update message (DG_MSG_UPDATE): one for a user item, one for a list-box
// row, one for a list-view row. Nothing is rendered: each operation is recorded, with the name of the context
// it went through ("user item: ...", "list box: ...", "list view: ..."), on the item or list cell being updated.
// Coordinates are pixels of the update's rectangle; colours 0..255 per component.
#include "DG.hpp"

#include <cstdint>

namespace NewDisplay {

enum class ContextKind : int16_t { UserItem = 0, ListBox = 1, ListView = 2 };

struct Colour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;
};

class UpdateContext {
public:
    UpdateContext(const DGUserUpdateData& update, ContextKind kind) : target_(update.drawContext), kind_(kind) {}

    void SetForeColor(const Colour& colour) { fore_ = colour; }
    void SetLineWidth(int32_t width) { lineWidth_ = width; }

    void FillRect(const DG::Rect& rect);
    // An 8 x 8 bit pattern (one byte a row, high bit left): set bits in `fore`, clear bits in `back`.
    void FillPatternRect(const DG::Rect& rect, const uint8_t pattern[8], const Colour& fore, const Colour& back);
    void FrameRect(const DG::Rect& rect);
    void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // Angles in radians, counter-clockwise from the x axis.
    void Arc(double centreX, double centreY, double radius, double begAngle, double endAngle);

private:
    void Record(const char* operation) const;
    DGDrawContext target_;
    ContextKind kind_;
    Colour fore_;
    int32_t lineWidth_ = 1;
};

}  // namespace NewDisplay
