#include "foundation/UserItemDrawing.hpp"

namespace {
uint8_t Component(double value) {
    if (!(value > 0.0)) return 0;
    return value >= 1.0 ? 255 : uint8_t(value * 255.0);
}
}  // namespace

NewDisplay::ContextKind ContextKindOf(int16_t kind) {
    if (kind == DrawingKindUserItem) return NewDisplay::ContextKind::UserItem;
    if (kind == DrawingKindListBox) return NewDisplay::ContextKind::ListBox;
    return NewDisplay::ContextKind::ListView;
}

NewDisplay::Colour DrawingColour(const RGBColour& colour) {
    NewDisplay::Colour c;
    c.red = Component(colour.red);
    c.green = Component(colour.green);
    c.blue = Component(colour.blue);
    return c;
}

void FillUserItemRect(const UserItemDrawing& drawing, const DG::Rect& rect, const RGBColour& colour,
                      const RGBColour& frameColour, int32_t frameWidth) {
    if (drawing.update == nullptr) return;
    NewDisplay::UpdateContext context(*drawing.update, ContextKindOf(drawing.kind));
    context.SetForeColor(DrawingColour(colour));
    context.FillRect(rect);
    FrameUserItemRect(drawing, rect.left, rect.top, rect.right, rect.bottom, frameColour, frameWidth);
}

void FrameUserItemRect(const UserItemDrawing& drawing, int32_t left, int32_t top, int32_t right, int32_t bottom,
                       const RGBColour& colour, int32_t lineWidth) {
    if (drawing.update == nullptr) return;
    NewDisplay::UpdateContext context(*drawing.update, ContextKindOf(drawing.kind));
    context.SetForeColor(DrawingColour(colour));
    context.SetLineWidth(lineWidth);
    context.FrameRect(DG::Rect{left, top, right, bottom});
}
