// Headless dialog manager: drawing into user items and owner-drawn list cells, recorded as short texts (what,
// where), never rendered.
#include "DGInternal.hpp"

using namespace dgimpl;

namespace {

std::string RectText(const DG::Rect& r) {
    return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
        std::to_string(r.bottom);
}

std::string ColourText(uint8_t red, uint8_t green, uint8_t blue) {
    return "rgb(" + std::to_string(red) + "," + std::to_string(green) + "," + std::to_string(blue) + ")";
}

void Record(int16_t dialId, int16_t item, const std::string& operation) {
    if (Item* it = FindKind(dialId, item, RSDialogItemKind::User, "drawing")) it->drawing.push_back(operation);
}

// Into the target of a running update message; a context that is not one is a fault of the module.
void Record(DGDrawContext context, const std::string& operation) {
    State& state = GetState();
    if (context < 1 || static_cast<size_t>(context) > state.drawTargets.size()) {
        Warning("drawing \"" + operation + "\" outside an update message (context " + std::to_string(context) +
                "); not recorded");
        return;
    }
    const DrawTarget target = state.drawTargets[static_cast<size_t>(context - 1)];
    Dialog* dialog = FindDialog(target.dialId);
    Item* item = dialog != nullptr ? ItemIn(*dialog, target.item) : nullptr;
    if (item == nullptr) return;
    if (target.row == 0) {
        item->drawing.push_back(operation);
        return;
    }
    if (target.row > static_cast<int32_t>(item->rows.size()) ||
        target.tab > static_cast<int16_t>(item->tabFields.size()))
        return;
    Row& row = item->rows[static_cast<size_t>(target.row - 1)];
    row.drawing.resize(item->tabFields.size());
    row.drawing[static_cast<size_t>(target.tab - 1)].push_back(operation);
}

std::string Fill(const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue) {
    return "fill " + RectText(rect) + " " + ColourText(red, green, blue);
}

std::string Frame(const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue, int32_t lineWidth) {
    return "frame " + RectText(rect) + " " + ColourText(red, green, blue) + " width " + std::to_string(lineWidth);
}

std::string ImageText(const DG::Rect& rect, const DG::ResourcePicture& image, const char* what) {
    return std::string(what) + " " + (image.IsEmpty() ? std::string("none") : std::to_string(image.GetResourceId())) +
        " in " + RectText(rect);
}

std::string Text(int32_t x, int32_t y, const GS::UniString& text) {
    return "text " + std::to_string(x) + " " + std::to_string(y) + " " + Quote(text);
}

}  // namespace

void DGDrawFillRect(DGDrawContext context, const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue) {
    Record(context, Fill(rect, red, green, blue));
}

void DGDrawFrameRect(DGDrawContext context, const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue,
                     int32_t lineWidth) {
    Record(context, Frame(rect, red, green, blue, lineWidth));
}

void DGDrawImage(DGDrawContext context, const DG::Rect& rect, const DG::Image& image) {
    Record(context, ImageText(rect, image, "image"));
}

void DGDrawIcon(DGDrawContext context, const DG::Rect& rect, const DG::Icon& icon) {
    Record(context, ImageText(rect, icon, "icon"));
}

void DGDrawPicture(DGDrawContext context, const DG::Rect& rect, const GS::UniString& pictureName) {
    Record(context, "picture " + Quote(pictureName) + " in " + RectText(rect));
}

void DGDrawText(DGDrawContext context, int32_t x, int32_t y, const GS::UniString& text) {
    Record(context, Text(x, y, text));
}

void DGDrawRecord(DGDrawContext context, const char* operation) {
    Record(context, operation != nullptr ? operation : "");
}

void DGUserItemFillRect(int16_t dialId, int16_t item, const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue) {
    Record(dialId, item, Fill(rect, red, green, blue));
}

void DGUserItemFrameRect(int16_t dialId, int16_t item, const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue,
                         int32_t lineWidth) {
    Record(dialId, item, Frame(rect, red, green, blue, lineWidth));
}

void DGUserItemDrawImage(int16_t dialId, int16_t item, const DG::Rect& rect, const DG::Image& image) {
    Record(dialId, item, ImageText(rect, image, "image"));
}

void DGUserItemDrawText(int16_t dialId, int16_t item, int32_t x, int32_t y, const GS::UniString& text) {
    Record(dialId, item, Text(x, y, text));
}

void DGUserItemRecordDrawing(int16_t dialId, int16_t item, const char* operation) {
    Record(dialId, item, operation != nullptr ? operation : "");
}

DGDrawContext DGGetUserItemUpdateContext(int16_t dialId, int16_t item) {
    const State& state = GetState();
    for (size_t i = state.drawTargets.size(); i > 0; --i) {
        const DrawTarget& target = state.drawTargets[i - 1];
        if (target.dialId == dialId && target.item == item && target.row == 0) return static_cast<DGDrawContext>(i);
    }
    return 0;
}
