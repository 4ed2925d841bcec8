#pragma once
// What the SOSI options dialogs share about their object-type list (item 17): the icons of the toggle cells,
// the row texts and colours, the column under the user's click and the owner-drawn pen and line-type cells.
#include "sosi/SOSIRecords.hpp"

#include "DG.hpp"

#include <cstdint>

constexpr int16_t SOSITypeList = 17;

// The items every options dialog has, around its type list.
namespace SOSIOptionItems {
enum : int16_t {
    ItemOK = 1,
    ItemCancel = 2,
    ItemPicture = 3,
    ItemPenControl = 6,
    ItemPenEdit = 7,
    ItemValueEdit = 9,
    ItemHeading = 10,
    ItemAllImport = 11,
    ItemAllImportText = 12,
    ItemAllPen = 13,
    ItemAllPenText = 14,
    ItemAllValue = 15,
    ItemAllValueText = 16,
    ItemFilterHeading = 18,
    ItemFilterDistance = 20,
    ItemLineFilter = 22,
    ItemDefaultPen = 24,
    ItemDefaultPenControl = 25,
};
}  // namespace SOSIOptionItems
constexpr int32_t SOSIListRowHeight = 22;

constexpr int32_t SOSIIconSet = 32713;
constexpr int32_t SOSIIconClear = 32714;
constexpr int32_t SOSIIconNone = 32715;
constexpr int32_t SOSIIconNotImported = 32716;

// The cell's icon for a flag of an imported row.
inline int32_t SOSIFlagIcon(uint8_t flag) { return flag != 0 ? SOSIIconSet : SOSIIconClear; }

// A row's value as the list shows it, six decimals.
GS::UniString SOSIValueText(double value);
GS::UniString SOSIPenText(int32_t pen);
GS::UniString SOSINameText(const QV_String& name);

// Sets a row's background: red for "DekTeig" when `markDekTeig`, light grey for a terrain feature when
// `markTerrain`, else white.
void SetSOSIRowColour(int16_t dialogId, int32_t listRow, const SOSIOType& row, bool markDekTeig, bool markTerrain);

// True when the user's last click in the list fell inside tab field `column`.
bool SOSIClickInColumn(int16_t dialogId, int16_t column);

// A 16 x 16 swatch of the pen, or a sample of the line type, centred in the owner-drawn cell being updated.
void DrawSOSIPenCell(const DGUserUpdateData& update, int32_t pen);
void DrawSOSILineTypeCell(const DGUserUpdateData& update, int32_t lineType);

// The user control's binding to one of the host's attribute choosers.
void BindSOSIControl(int16_t dialogId, int16_t item, uint32_t type);

// The language image of item 5: the regional variant for the Norwegian and Austrian hosts.
void SetSOSILanguageImage(int16_t dialogId);
