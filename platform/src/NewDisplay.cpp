// Drawing contexts of the stand-in: every operation becomes one short record on the updated item or cell.
#include "NewDisplay.hpp"

#include <cstdio>
#include <string>

namespace NewDisplay {

namespace {

const char* KindName(ContextKind kind) {
    switch (kind) {
        case ContextKind::UserItem: return "user item";
        case ContextKind::ListBox: return "list box";
        default: return "list view";
    }
}

std::string Rgb(const Colour& c) {
    char text[40];
    std::snprintf(text, sizeof text, "rgb(%u,%u,%u)", unsigned(c.red), unsigned(c.green), unsigned(c.blue));
    return text;
}

std::string RectText(const DG::Rect& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
        std::to_string(r.bottom);
}

}  // namespace

void UpdateContext::Record(const char* operation) const {
    const std::string text = std::string(KindName(kind_)) + ": " + operation;
    DGDrawRecord(target_, text.c_str());
}

void UpdateContext::FillRect(const DG::Rect& rect) { Record(("fill " + RectText(rect) + " " + Rgb(fore_)).c_str()); }

void UpdateContext::FillPatternRect(const DG::Rect& rect, const uint8_t pattern[8], const Colour& fore,
                                    const Colour& back) {
    char bits[17];
    for (int i = 0; i < 8; ++i) std::snprintf(bits + 2 * i, 3, "%02x", unsigned(pattern[i]));
    Record(("pattern " + RectText(rect) + " " + bits + " " + Rgb(fore) + " " + Rgb(back)).c_str());
}

void UpdateContext::FrameRect(const DG::Rect& rect) {
    Record(("frame " + RectText(rect) + " " + Rgb(fore_) + " width " + std::to_string(lineWidth_)).c_str());
}

void UpdateContext::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    Record(("line " + std::to_string(x1) + " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
            std::to_string(y2) + " " + Rgb(fore_) + " width " + std::to_string(lineWidth_))
               .c_str());
}

void UpdateContext::Arc(double centreX, double centreY, double radius, double begAngle, double endAngle) {
    char text[120];
    std::snprintf(text, sizeof text, "arc %.1f %.1f %.1f %.4f %.4f ", centreX, centreY, radius, begAngle, endAngle);
    Record((text + Rgb(fore_) + " width " + std::to_string(lineWidth_)).c_str());
}

}  // namespace NewDisplay
