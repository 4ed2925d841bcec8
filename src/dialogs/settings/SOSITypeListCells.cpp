#include "dialogs/settings/SOSITypeListCells.hpp"

#include "dialogs/settings/DialogTexts.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/DialogKit.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "APIDefs.hpp"
#include "APISelectors.hpp"

#include <cstdio>

namespace {
constexpr int32_t ImageLanguageVariant = 32524;
constexpr int32_t ImageLanguage = 32501;

DG::Rect Centred(const DGUserUpdateData& u, int32_t width, int32_t height) {
    const int32_t left = (u.left + u.right - width) / 2, top = (u.top + u.bottom - height) / 2;
    return DG::Rect{left, top, left + width, top + height};
}
}  // namespace

GS::UniString SOSIValueText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    return GS::UniString(text);
}

GS::UniString SOSIPenText(int32_t pen) {
    QV_String text;
    text.FromLong(pen);
    return Uni(text);
}

GS::UniString SOSINameText(const QV_String& name) { return Uni(name); }

void SetSOSIRowColour(int16_t dialogId, int32_t listRow, const SOSIOType& row, bool markDekTeig, bool markTerrain) {
    DGColorRec colour = {65535, 65535, 65535};
    if (markDekTeig && row.name == QV_String("DekTeig"))
        colour = DGColorRec{65535, 0, 0};
    else if (markTerrain && row.terrainFeature != 0)
        colour = DGColorRec{60000, 60000, 60000};
    DGListSetItemBackgroundColor(dialogId, SOSITypeList, listRow, colour);
}

bool SOSIClickInColumn(int16_t dialogId, int16_t column) {
    DGMousePosData mouse = {};
    DGGetMousePosition(dialogId, &mouse);
    int32_t begin = 0, end = 0;
    return DGListGetTabFieldData(dialogId, SOSITypeList, column, &begin, &end) && mouse.h >= begin && mouse.h <= end;
}

void DrawSOSIPenCell(const DGUserUpdateData& update, int32_t pen) {
    const UserItemDrawing drawing{&update, DrawingKindListView};
    const DG::Rect rect = Centred(update, 16, 16);
    DrawAttributeSampleItem(drawing, pen, API_PenID, &rect);
}

void DrawSOSILineTypeCell(const DGUserUpdateData& update, int32_t lineType) {
    const UserItemDrawing drawing{&update, DrawingKindListView};
    const DG::Rect rect = Centred(update, update.right - update.left - 4, 12);
    DrawAttributeSampleItem(drawing, lineType, API_LinetypeID, &rect);
}

void BindSOSIControl(int16_t dialogId, int16_t item, uint32_t type) {
    API_UserControlBinding binding = {type, dialogId, item};
    ACAPI_Interface(APIIo_SetUserControlCallbackID, &binding);
}

void SetSOSILanguageImage(int16_t dialogId) {
    const bool variant = HostLanguageNOR != 0 || HostLanguageAUT != 0;
    SetItemImageFromResource(dialogId, 5, variant ? ImageLanguageVariant : ImageLanguage);
}
