#pragma once
// Small services every settings dialog shares: where a dialog was, images and icons of items from the
// module's resources, colour swatches and attribute samples in user items and list cells, and the colour
// controls.
#include "foundation/UserItemDrawing.hpp"

#include "APIElements.hpp"
#include "DG.hpp"

#include <cstdint>

// Where a dialog was: its init handler restores it, its click handler saves it. (0, 0) is "never saved".
struct DialogPosition {
    uint16_t dialogId = 0;
    int16_t x = 0;
    int16_t y = 0;
};
void RestoreDialogPosition(const DialogPosition& position);
void SaveDialogPosition(DialogPosition& position);

void SetItemImageFromResource(int16_t dialogId, int16_t item, int32_t resourceId);
void SetListTabItemIcon(int16_t dialogId, int16_t listItem, int32_t row, int16_t tabItem, int32_t iconResourceId);

// A colour filled over the rectangle (or the whole item) and framed in black. Both draw through the list-view
// context, a plain user item too; the item's extent is its width and height, a list cell's one less.
void DrawColourSwatchItem(UserItemDrawing& drawing, const RGBColour& colour, const DG::Rect* rect);
void DrawColourSwatchListCell(UserItemDrawing& drawing, const RGBColour& colour, const DG::Rect* rect);

// A pen as its colour, a line type or a fill type as its sample; nothing for another type or an attribute the
// host cannot read.
void DrawAttributeSampleItem(const UserItemDrawing& drawing, int32_t index, API_AttrTypeID type, const DG::Rect* rect);
void DrawLineFillSampleItem(const UserItemDrawing& drawing, const API_Attribute& attribute, API_AttrTypeID type,
                            const DG::Rect* rect);

// A pen-colour control (UC257SetColor): mode 0 and 1 show pen 0 as black, mode 2 as white, other pens their
// colour; pen -1, an unreadable pen or another mode leave it as it is.
void SetPenColourControl(int16_t dialogId, int16_t item, int32_t penIndex, int32_t mode);
// The colour picker over `colour`; true, with the chosen colour, on OK.
bool PickColour(RGBColour& colour, const char* title);

// A pen's 0..1 component as a drawing byte: trunc(c x 65535) >> 8.
uint8_t PenComponent(double component);
