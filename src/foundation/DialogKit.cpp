#include "foundation/DialogKit.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/AttributeSamples.hpp"

#include "UC.hpp"
#include "UniString.hpp"

#include <cstring>

namespace {

const RGBColour Black = {0.0, 0.0, 0.0};

uint16_t PickerComponent(double c) {
    if (!(c > 0.0)) return 0;
    return c >= 1.0 ? 65535 : uint16_t(c * 65535.0);
}

bool ReadAttribute(API_AttrTypeID type, int32_t index, API_Attribute& attribute) {
    std::memset(&attribute, 0, sizeof attribute);
    attribute.header.typeID = type;
    attribute.header.index = index;
    return index > 0 && ACAPI_Attribute_Get(&attribute) == NoError;
}

void DrawSwatch(UserItemDrawing& drawing, const RGBColour& colour, const DG::Rect& rect) {
    drawing.kind = DrawingKindListView;
    FillUserItemRect(drawing, rect, colour, Black, 1);
}

}  // namespace

void RestoreDialogPosition(const DialogPosition& position) {
    if (position.x == 0 && position.y == 0) return;
    DGSetDialogClientPosition(int16_t(position.dialogId), position.x, position.y);
}

void SaveDialogPosition(DialogPosition& position) {
    int32_t x = 0;
    int32_t y = 0;
    if (!DGGetDialogClientPosition(int16_t(position.dialogId), &x, &y)) return;
    position.x = int16_t(x);
    position.y = int16_t(y);
}

void SetItemImageFromResource(int16_t dialogId, int16_t item, int32_t resourceId) {
    DGSetItemImage(dialogId, item, DG::Image(ACAPI_GetOwnResModule(), resourceId));
}

void SetListTabItemIcon(int16_t dialogId, int16_t listItem, int32_t row, int16_t tabItem, int32_t iconResourceId) {
    DGListSetTabItemIcon(dialogId, listItem, row, tabItem, DG::Icon(ACAPI_GetOwnResModule(), iconResourceId));
}

void DrawColourSwatchItem(UserItemDrawing& drawing, const RGBColour& colour, const DG::Rect* rect) {
    if (drawing.update == nullptr) return;
    const DGUserUpdateData& u = *drawing.update;
    DrawSwatch(drawing, colour, rect != nullptr ? *rect : DG::Rect{0, 0, u.right - u.left, u.bottom - u.top});
}

void DrawColourSwatchListCell(UserItemDrawing& drawing, const RGBColour& colour, const DG::Rect* rect) {
    if (drawing.update == nullptr) return;
    const DGUserUpdateData& u = *drawing.update;
    DrawSwatch(drawing, colour, rect != nullptr ? *rect : DG::Rect{0, 0, u.right - u.left - 1, u.bottom - u.top - 1});
}

void DrawAttributeSampleItem(const UserItemDrawing& drawing, int32_t index, API_AttrTypeID type, const DG::Rect* rect) {
    API_Attribute attribute;
    if (drawing.update == nullptr || !ReadAttribute(type, index, attribute)) return;
    if (type == API_PenID) {
        UserItemDrawing swatch = drawing;
        const RGBColour colour = {attribute.pen.red, attribute.pen.green, attribute.pen.blue};
        DrawColourSwatchItem(swatch, colour, rect);
    } else if (type == API_LinetypeID || type == API_FilltypeID) {
        DrawLineFillSampleItem(drawing, attribute, type, rect);
    }
}

void DrawLineFillSampleItem(const UserItemDrawing& drawing, const API_Attribute& attribute, API_AttrTypeID type,
                            const DG::Rect* rect) {
    const HostRGB black = {0, 0, 0};
    const HostRGB white = {65535, 65535, 65535};
    if (type == API_LinetypeID)
        DrawPatternSampleBody(drawing, attribute.header.index, black, rect);
    else if (type == API_FilltypeID)
        DrawPatternSample(drawing, attribute.filltype.bitPat, black, black, white, rect);
}

uint8_t PenComponent(double component) { return uint8_t(uint32_t(PickerComponent(component)) >> 8); }

void SetPenColourControl(int16_t dialogId, int16_t item, int32_t penIndex, int32_t mode) {
    if (penIndex == -1 || mode < 0 || mode > 2) return;
    static const int16_t controlType[] = {2, 0, 1};
    uint8_t r = mode == 2 ? 255 : 0;
    uint8_t g = r;
    uint8_t b = r;
    if (penIndex != 0) {
        API_Attribute pen;
        if (!ReadAttribute(API_PenID, penIndex, pen)) return;
        r = PenComponent(pen.pen.red);
        g = PenComponent(pen.pen.green);
        b = PenComponent(pen.pen.blue);
    }
    // The control takes 16-bit components: the byte repeated keeps 255 at full.
    const DGColorRec colour = {uint16_t(r * 257), uint16_t(g * 257), uint16_t(b * 257)};
    UC257SetColor(dialogId, item, controlType[mode], colour);
}

bool PickColour(RGBColour& colour, const char* title) {
    DGColorRec rec = {PickerComponent(colour.red), PickerComponent(colour.green), PickerComponent(colour.blue)};
    if (DGGetColor(title != nullptr ? GS::UniString(title) : GS::UniString(), &rec) != 1) return false;
    colour = {rec.red / 65535.0, rec.green / 65535.0, rec.blue / 65535.0};
    return true;
}
