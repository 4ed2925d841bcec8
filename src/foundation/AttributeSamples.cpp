#include "foundation/AttributeSamples.hpp"

#include "foundation/ACAPI.hpp"

#include "APISelectors.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double TwoPi = 6.283185307179586;

NewDisplay::Colour HighBytes(const HostRGB& c) {
    NewDisplay::Colour out;
    out.red = uint8_t(c.red >> 8);
    out.green = uint8_t(c.green >> 8);
    out.blue = uint8_t(c.blue >> 8);
    return out;
}

int32_t Pixel(double value) { return int32_t(std::lround(value)); }

DG::Rect ItemRect(const UserItemDrawing& item, const DG::Rect* rect) {
    if (rect != nullptr) return *rect;
    const DGUserUpdateData& u = *item.update;
    return DG::Rect{0, 0, std::abs(u.right - u.left), std::abs(u.bottom - u.top)};
}

template <typename T>
std::vector<T> Records(GSConstHandle handle) {
    std::vector<T> out;
    if (handle == nullptr || *handle == nullptr) return out;
    out.resize(size_t(BMGetHandleSize(handle)) / sizeof(T));
    std::copy_n(reinterpret_cast<const char*>(*handle), out.size() * sizeof(T), reinterpret_cast<char*>(out.data()));
    return out;
}

// One symbol item as drawn: a segment or an arc, in line-type units along (x) and across (y) the line.
struct SymbolShape {
    bool arc = false;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double radius = 0, begAngle = 0, endAngle = 0;
};

bool ShapeOf(const API_LineItem& item, double factor, SymbolShape* shape) {
    SymbolShape s;
    switch (item.itemType) {
        case 1:  // a tick across the line, 4 pixels each side whatever the factor
            s = {false, item.centOffs, 4.0 / factor, item.centOffs, -4.0 / factor};
            break;
        case 2: s = {false, item.centOffs, 0, item.centOffs, 0}; break;
        case 3: s = {false, item.centOffs, 0, item.centOffs + item.length, 0}; break;
        case 4: s = {false, item.begPos.x, item.begPos.y, item.begPos.x, item.begPos.y}; break;
        case 5:
        case 6: s = {false, item.begPos.x, item.begPos.y, item.begPos.x + item.length, item.begPos.y}; break;
        case 7: s = {false, item.begPos.x, item.begPos.y, item.endPos.x, item.endPos.y}; break;
        case 8:
            s.arc = true;
            s.x1 = item.begPos.x;
            s.y1 = item.begPos.y;
            s.radius = item.radius;
            s.endAngle = TwoPi;
            break;
        case 9:
            s.arc = true;
            s.x1 = item.begPos.x;
            s.y1 = item.begPos.y;
            s.radius = item.radius;
            s.begAngle = item.begAngle;
            s.endAngle = item.endAngle;
            break;
        default: return false;
    }
    *shape = s;
    return true;
}

void DrawDashed(NewDisplay::UpdateContext& context, const std::vector<API_DashItem>& dashes, double factor, double left,
                double right, int32_t middle) {
    double position = left;
    for (int32_t repeat = 0; repeat < SampleRepeatMax && position < right && !dashes.empty(); ++repeat)
        for (const API_DashItem& d : dashes) {
            if (position >= right) break;
            const double end = std::min(position + factor * d.dash, right);
            context.Line(Pixel(position), middle, Pixel(end), middle);
            position += factor * d.dash + factor * d.gap;
        }
}

void DrawSymbols(NewDisplay::UpdateContext& context, const std::vector<API_LineItem>& items, double period,
                 double factor, double left, double right, int32_t middle, const HostRGB& colour) {
    std::vector<SymbolShape> shapes;
    for (const API_LineItem& item : items) {
        SymbolShape s;
        if (ShapeOf(item, factor, &s)) shapes.push_back(s);
    }
    if (shapes.empty()) return;
    // A pattern without length does not move on: one repetition; else as many as the dashed kind at most.
    const int32_t repeats = period > 0.0 ? SampleRepeatMax : 1;
    for (int32_t repeat = 0; repeat < repeats; ++repeat) {
        const double shift = left + repeat * period * factor;
        if (shift >= right) break;
        for (const SymbolShape& s : shapes) {
            const double x1 = shift + s.x1 * factor;
            if (x1 > right) continue;  // an item beyond the edge is left out; one crossing it is cut there
            if (s.arc) {
                DrawSampleArc(context, x1, middle - s.y1 * factor, s.radius * factor, s.begAngle, s.endAngle, colour,
                              1);
            } else {
                const double x2 = std::min(shift + s.x2 * factor, right);
                context.Line(Pixel(x1), Pixel(middle - s.y1 * factor), Pixel(x2), Pixel(middle - s.y2 * factor));
            }
        }
    }
}

}  // namespace

void DrawSampleArc(NewDisplay::UpdateContext& context, double centreX, double centreY, double radius, double begAngle,
                   double endAngle, const HostRGB& colour, int32_t width) {
    context.SetForeColor(HighBytes(colour));
    context.SetLineWidth(width);
    context.Arc(centreX, centreY, radius, begAngle, endAngle);
}

void FillSampleRect(NewDisplay::UpdateContext& context, const DG::Rect& rect, const HostRGB& fore, const HostRGB& back,
                    const uint8_t* pattern) {
    if (pattern != nullptr) {
        context.FillPatternRect(rect, pattern, HighBytes(fore), HighBytes(back));
        return;
    }
    context.SetForeColor(HighBytes(fore));
    context.FillRect(rect);
}

void DrawPatternSample(const UserItemDrawing& item, const uint8_t* pattern, const HostRGB& frameColour,
                       const HostRGB& foreColour, const HostRGB& backColour, const DG::Rect* rect) {
    if (item.update == nullptr) return;
    const DG::Rect r = ItemRect(item, rect);
    NewDisplay::UpdateContext context(*item.update, ContextKindOf(item.kind));
    FillSampleRect(context, r, foreColour, backColour, pattern);
    const RGBColour frame = {(frameColour.red >> 8) / 255.0, (frameColour.green >> 8) / 255.0,
                             (frameColour.blue >> 8) / 255.0};
    FrameUserItemRect(item, r.left, r.top, r.right, r.bottom, frame, 1);
}

void DrawPatternSampleBody(const UserItemDrawing& item, int32_t lineType, const HostRGB& colour, const DG::Rect* rect) {
    if (item.update == nullptr) return;
    API_Attr_Head head = {};
    head.typeID = API_LinetypeID;
    head.index = lineType;
    API_LineTypeDef def = {};
    if (ACAPI_Database(APIDb_GetLineTypeDefID, &head, &def) != NoError) return;
    const std::vector<API_DashItem> dashes = Records<API_DashItem>(def.dashItems);
    const std::vector<API_LineItem> items = Records<API_LineItem>(def.lineItems);
    ACAPI_Database(APIDb_DisposeLineTypeDefID, &def);

    double factor = SampleFactor;
    double period = def.period;
    double scale = 0.0;
    if (def.scaleDependent != 0 && ACAPI_Database(APIDb_GetDrawingScaleID, &scale) == NoError && scale > 0.0) {
        factor *= 1000.0 / scale;
        period *= 1000.0 / scale;
    }
    if (period > SampleFactor) factor = SampleFactorSquared / period;

    const DG::Rect r = ItemRect(item, rect);
    const double left = r.left;
    const double right = double(r.left) + std::abs(r.right - r.left);
    const int32_t middle = Pixel((r.top + r.bottom) / 2.0);
    NewDisplay::UpdateContext context(*item.update, ContextKindOf(item.kind));
    context.SetForeColor(HighBytes(colour));
    context.SetLineWidth(1);
    if (def.kind == 1)
        DrawDashed(context, dashes, factor, left, right, middle);
    else if (def.kind == 2)
        DrawSymbols(context, items, def.period, factor, left, right, middle, colour);
    else
        context.Line(r.left, middle, Pixel(right), middle);
}
