// The host's dialog manager (DG) as the module calls it: modal and modeless dialogs built from dialog
// layout resources, items, lists, pop-ups, tab pages, user items and user controls, alerts, and the folder,
// file and colour dialogs.
//
// A dialog's id is its resource id; a tab page gets an id of its own while its dialog is open
// (DGTabControlGetTabPageId), and the messages of the page's items come to the dialog's callback with that id.
// A click answered with a non-zero item closes a modal dialog with that item (the close message follows).
// Rows of lists, items of pop-ups and tab pages are numbered from 1; 0 means none.
#pragma once

#include "IO.hpp"
#include "Resources.hpp"
#include "UniString.hpp"

#include <cstdint>

namespace TE {
class Font;
}

using DGUserData = intptr_t;
using DGMessageData = intptr_t;

// message, dialog id, item, user data, message data -> answer
typedef int16_t (*DGDialCallBack)(int16_t message, int16_t dialId, int16_t item, DGUserData userData,
                                  DGMessageData msgData);

// Messages delivered to dialog callbacks, in the order the dialog manager sends them: INIT, then the first
// drawing of user items and owner-drawn list cells (UPDATE), then what the user does, then CLOSE.
constexpr int16_t DG_MSG_NULL = 0;
constexpr int16_t DG_MSG_INIT = 1;
constexpr int16_t DG_MSG_CLOSE = 3;       // item: the item that closes the dialog (0 for a modeless close)
constexpr int16_t DG_MSG_CLICK = 4;       // answer: 0 keeps a modal dialog open, an item closes it with that item
constexpr int16_t DG_MSG_CHANGE = 6;      // an item's value, text or selection was changed by the user
constexpr int16_t DG_MSG_TRACK = 7;       // the user picks in a user control (CHANGE follows)
constexpr int16_t DG_MSG_RESIZE = 13;     // the user resized the window; msgData points to a DGResizeMsgData
constexpr int16_t DG_MSG_ACTIVATE = 14;   // modeless: item 1 the window became the active one, 0 it is no more
constexpr int16_t DG_MSG_TOPSTATUS = 15;  // modeless: item 0 a modal dialog took the user's input, 1 it gave it back
constexpr int16_t DG_MSG_UPDATE = 16;     // redraw a user item or list cell; msgData points to a DGUserUpdateData
constexpr int16_t DG_MSG_UPDATE_ITEM = DG_MSG_TOPSTATUS;  // the former name of message 15

constexpr int16_t DG_ALL_ITEMS = 0;       // item 0 of enable/disable/show/hide: every item; row 0 of deletes: all
constexpr int16_t DG_DIALOG_WINDOW = -1;  // focus item: the dialog window itself
constexpr int16_t DG_CLOSEBOX = -1;       // the item of a click on a modeless window's close box
constexpr int32_t DG_LIST_BOTTOM = -1;    // insert position: after the last row
constexpr int32_t DG_POPUP_BOTTOM = -1;   // insert position: after the last pop-up item

// Status of a pop-up entry (DGPopUpSetItemStatus).
constexpr int16_t DG_IS_ENABLED = 0;
constexpr int16_t DG_IS_DISABLE = 2;  // shown greyed; the user cannot choose it

// Modifier keys held during a click (DGMousePosData::modifiers).
constexpr int16_t DG_MOD_SHIFT = 1;
constexpr int16_t DG_MOD_COMMAND = 2;
constexpr int16_t DG_MOD_OPTION = 4;

// Length units of the host (DGGetUnit).
constexpr int32_t DG_UNIT_M = 1;
constexpr int32_t DG_UNIT_DM = 2;
constexpr int32_t DG_UNIT_CM = 3;
constexpr int32_t DG_UNIT_MM = 4;
constexpr int32_t DG_UNIT_FOOT = 5;
constexpr int32_t DG_UNIT_INCH = 6;

namespace DG {

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t GetWidth() const { return right - left; }
    int32_t GetHeight() const { return bottom - top; }
};

// A picture resource of a resource module (PICT for images, ICON for icons); empty when it is missing. Icon
// id -4 (65532 as a 16-bit id) is the host's "no icon".
class ResourcePicture {
public:
    bool IsEmpty() const { return resId_ == 0; }
    int32_t GetResourceId() const { return resId_; }
    GSResModule GetModule() const { return module_; }

protected:
    ResourcePicture() = default;
    ResourcePicture(GSResType type, GSResModule module, int32_t resId);

private:
    GSResModule module_ = InvalidResModule;
    int32_t resId_ = 0;
};

class Image : public ResourcePicture {
public:
    Image() = default;
    Image(GSResModule module, int32_t resId) : ResourcePicture(RSType_PICT, module, resId) {}
};

class Icon : public ResourcePicture {
public:
    Icon() = default;
    Icon(GSResModule module, int32_t resId) : ResourcePicture(RSType_ICON, module, resId) {}
};

// The host's folder choice dialog.
class FolderDialog {
public:
    FolderDialog() = default;
    void SetTitle(const GS::UniString& title) { title_ = title; }
    void SetFolder(const IO::Location& folder) { folder_ = folder; }
    // True when the user chose a folder, false when cancelled.
    bool Invoke();
    IO::Location GetFolder() const { return folder_; }

private:
    GS::UniString title_;
    IO::Location folder_;
};

// The host's file choice dialog, for opening one or several files or for saving one.
class FileDialog {
public:
    enum Type : int32_t { OpenFile = 0, OpenMultiFile = 1, Save = 2 };

    explicit FileDialog(Type type) : type_(type) {}
    Type GetType() const { return type_; }
    void SetTitle(const GS::UniString& title) { title_ = title; }
    void SetFolder(const IO::Location& folder) { folder_ = folder; }
    void SetFileName(const GS::UniString& name) { fileName_ = name; }
    // Adds a filter ("Text Files", "*.txt"); answers its index, from 0 in the order added.
    int32_t AddFilter(const GS::UniString& name, const GS::UniString& pattern);
    uint32_t GetFilterCount() const { return filters_.GetSize(); }

    // True when the user chose (a) file(s), false when cancelled.
    bool Invoke();
    uint32_t GetSelectionCount() const { return selected_.GetSize(); }
    // The chosen file `index` (from 0); an empty location past the count.
    IO::Location GetSelectedFile(uint32_t index = 0) const;
    // Index of the filter the user had chosen (0 when none was added).
    int32_t GetSelectedFilter() const { return selectedFilter_; }

private:
    Type type_;
    GS::UniString title_;
    IO::Location folder_;
    GS::UniString fileName_;
    GS::Array<GS::UniString> filters_;
    GS::Array<IO::Location> selected_;
    int32_t selectedFilter_ = 0;
};

}  // namespace DG

// Where drawing goes during an update message (DGDraw... calls); valid until the callback returns.
using DGDrawContext = intptr_t;

// What the update message (DG_MSG_UPDATE) hands over. A user item: the item and its rectangle in the item's
// own coordinates (0, 0, width, height), row and tab field 0. An owner-drawn list cell: the list item, the
// row and tab field, and the cell's rectangle in the list's coordinates.
struct DGUserUpdateData {
    int16_t dialogId;
    int16_t item;
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
    int32_t listRow = 0;
    int16_t listTabField = 0;
    int16_t reserved = 0;
    DGDrawContext drawContext = 0;
};

// What the resize message (DG_MSG_RESIZE) hands over: how much the client area grew (negative: shrank).
struct DGResizeMsgData {
    int32_t hGrow;
    int32_t vGrow;
};

// The mouse at the user's last click: the dialog and item, the position in the item's coordinates and the
// modifier keys (DG_MOD_...).
struct DGMousePosData {
    int16_t dialId;
    int16_t item;
    int32_t h;
    int32_t v;
    int16_t modifiers;
    int16_t reserved;
};

// Colour of the colour dialog, each component 0..65535.
struct DGColorRec {
    uint16_t red;
    uint16_t green;
    uint16_t blue;
};

// Alerts: empty texts mean none; an empty first button is shown as "OK". Answers the button number (1..3).
int16_t DGAlert(int16_t alertType, const GS::UniString& title, const GS::UniString& largeText,
                const GS::UniString& smallText, const GS::UniString& button1, const GS::UniString& button2,
                const GS::UniString& button3);

// Colour dialog: 1 when the user chose a colour (stored in *colour), 0 when cancelled.
int16_t DGGetColor(const GS::UniString& title, DGColorRec* colour);

// Modal dialog from the dialog layout `resId`; answers the item that closed it, 0 when it could not be built.
int16_t DGModalDialog(GSResModule resModule, int16_t resId, GSResModule helpModule, DGDialCallBack callback,
                      DGUserData userData);
// Closes an open modal dialog with `item` (0: with item 2) once the running callback returns.
void DGAbortModalDialog(int16_t dialId, int16_t item = 0);

// Modeless dialog: answers its id (the resource id) after its init message, 0 when it could not be built.
// It is visible at once.
int16_t DGModelessInit(GSResModule resModule, int16_t resId, DGDialCallBack callback, DGUserData userData);
int16_t DGModelessInit(GSResModule resModule, int16_t resId, GSResModule helpModule, DGDialCallBack callback,
                       DGUserData userData, int16_t nRefresh = 1);
// Delivers the close message, then destroys the window.
void DGModelessClose(int16_t dialId);
void DGShowModelessDialog(int16_t dialId);
void DGHideModelessDialog(int16_t dialId);
bool DGIsModelessDialogVisible(int16_t dialId);

bool DGIsDialogOpen(int16_t dialId);
// Forgets remembered window places (nothing to forget in this dialog manager).
void DGResetDialogRectangles();
// Stops (false) or resumes sending `message` for `item` (0: for every item) of the dialog. INIT and CLOSE
// are always sent.
void DGEnableMessage(int16_t dialId, int16_t item, int16_t message, bool enable);
// The mouse at the user's last click (within a click message: that click). All zero before any click.
void DGGetMousePosition(int16_t dialId, DGMousePosData* data);

// Window. The window has no frame of its own here: its frame position is its client position.
void DGSetDialogTitle(int16_t dialId, const GS::UniString& title);
GS::UniString DGGetDialogTitle(int16_t dialId);
void DGSetDialogClientSize(int16_t dialId, int32_t width, int32_t height, int16_t anchor = 0,
                           bool keepPosition = false);
int32_t DGGetDialogClientWidth(int16_t dialId);
int32_t DGGetDialogClientHeight(int16_t dialId);
void DGSetDialogClientPosition(int16_t dialId, int32_t x, int32_t y);
// False (x and y untouched) when the dialog is not open.
bool DGGetDialogClientPosition(int16_t dialId, int32_t* x, int32_t* y);
void DGSetDialogFramePosition(int16_t dialId, int32_t x, int32_t y);
bool DGGetDialogFramePosition(int16_t dialId, int32_t* x, int32_t* y);
void DGSetFocus(int16_t dialId, int16_t item);
int16_t DGGetFocus(int16_t dialId);

// Items: texts and values. A numeric edit's text is its value as shown (DGGetItemText) and setting a text
// sets the value it reads as; an empty text leaves the edit showing no number (its value reads 0) until a value
// is set or typed. A length edit holds metres and shows the host's length unit.
void DGSetItemText(int16_t dialId, int16_t item, const GS::UniString& text);
GS::UniString DGGetItemText(int16_t dialId, int16_t item);
// Check boxes and radio buttons: non-zero checks (a radio button then unchecks the rest of its group).
void DGSetItemValLong(int16_t dialId, int16_t item, int32_t value);
int32_t DGGetItemValLong(int16_t dialId, int16_t item);  // a real value truncated toward zero
// Values set by the module are kept exactly as given, inside the limits or not.
void DGSetItemValDouble(int16_t dialId, int16_t item, double value);
double DGGetItemValDouble(int16_t dialId, int16_t item);
// Limits of numeric edits and sliders (the resource's range to begin with): values the user gives are
// clamped into them.
void DGSetItemMinDouble(int16_t dialId, int16_t item, double value);
void DGSetItemMaxDouble(int16_t dialId, int16_t item, double value);
double DGGetItemMinDouble(int16_t dialId, int16_t item);
double DGGetItemMaxDouble(int16_t dialId, int16_t item);
void DGSetItemMinLong(int16_t dialId, int16_t item, int32_t value);
void DGSetItemMaxLong(int16_t dialId, int16_t item, int32_t value);
void DGSetCheckBoxState(int16_t dialId, int16_t item, bool checked);
bool DGGetCheckBoxState(int16_t dialId, int16_t item);
// Radio groups come from the resource; none checked is allowed.
void DGSelectRadio(int16_t dialId, int16_t item);
int16_t DGGetCheckedRadio(int16_t dialId, int16_t group);  // the checked item of the group, 0 when none

// Items: state. Item DG_ALL_ITEMS acts on every item. Disabled items keep and answer their values.
void DGEnableItem(int16_t dialId, int16_t item);
void DGDisableItem(int16_t dialId, int16_t item);
void DGSetItemEnable(int16_t dialId, int16_t item, bool enable);
bool DGIsItemEnabled(int16_t dialId, int16_t item);
void DGShowItem(int16_t dialId, int16_t item);
void DGHideItem(int16_t dialId, int16_t item);
void DGSetItemVisible(int16_t dialId, int16_t item, bool visible);
bool DGIsItemVisible(int16_t dialId, int16_t item);
// Asks for a redraw: a user item, or each owner-drawn cell of a list, gets DG_MSG_UPDATE after the running
// callback returns. DG_ALL_ITEMS redraws the whole dialog.
void DGRedrawItem(int16_t dialId, int16_t item);
bool DGGetItemRect(int16_t dialId, int16_t item, DG::Rect* rect);
int32_t DGGetItemWidth(int16_t dialId, int16_t item);
int32_t DGGetItemHeight(int16_t dialId, int16_t item);
void DGMoveItem(int16_t dialId, int16_t item, int32_t hDisp, int32_t vDisp);
void DGGrowItem(int16_t dialId, int16_t item, int32_t hGrow, int32_t vGrow);
void DGSetItemImage(int16_t dialId, int16_t item, const DG::Image& image);
// An icon item shows an icon resource (an image item an image).
void DGSetItemIcon(int16_t dialId, int16_t item, const DG::Icon& icon);
// Font codes of DGSetItemFont: the dialog's normal font, or the small one of dense lists' editors.
constexpr int32_t DG_FONT_NORMAL = 0;
constexpr int32_t DG_FONT_SMALL = 1;
void DGSetItemFont(int16_t dialId, int16_t item, int32_t fontCode);
int32_t DGGetItemFont(int16_t dialId, int16_t item);
void DGSetItemHelpIndex(int16_t dialId, int16_t item, int32_t helpIndex);
int32_t DGGetItemHelpIndex(int16_t dialId, int16_t item);

// Rich edits: multi-line text and its font.
void DGRichEditSetText(int16_t dialId, int16_t item, const GS::UniString& text);
GS::UniString DGRichEditGetText(int16_t dialId, int16_t item);
void DGRichEditSetFont(int16_t dialId, int16_t item, const TE::Font& font);

// Tab controls: the id of a page's own dialog, 0 when the control has no such page.
int16_t DGTabControlGetTabPageId(int16_t dialId, int16_t item, int16_t page);
int16_t DGTabControlGetTabCount(int16_t dialId, int16_t item);
void DGTabControlSelectTabItem(int16_t dialId, int16_t item, int16_t page);
int16_t DGTabControlGetSelectedTabItem(int16_t dialId, int16_t item);

// Lists. Tab fields are numbered from 1; a list without tab fields has one.
bool DGListInsertItem(int16_t dialId, int16_t item, int32_t row);  // before `row`, or DG_LIST_BOTTOM
bool DGListInsertSeparator(int16_t dialId, int16_t item, int32_t row);
bool DGListIsSeparatorItem(int16_t dialId, int16_t item, int32_t row);
void DGListDeleteItem(int16_t dialId, int16_t item, int32_t row);  // DG_ALL_ITEMS deletes every row
int32_t DGListGetItemCount(int16_t dialId, int16_t item);
// The text's TAB characters part it into successive tab fields (the last field takes the rest).
void DGListSetItemText(int16_t dialId, int16_t item, int32_t row, const GS::UniString& text);
// The tab fields joined by TABs, without empty fields at the end.
GS::UniString DGListGetItemText(int16_t dialId, int16_t item, int32_t row);
void DGListSetTabFieldCount(int16_t dialId, int16_t item, int16_t count);
int16_t DGListGetTabFieldCount(int16_t dialId, int16_t item);
void DGListSetTabFieldData(int16_t dialId, int16_t item, int16_t tabIndex, int32_t begin, int32_t end,
                           int16_t justification = 0, int16_t truncation = 0, bool hasSeparator = false,
                           bool enabled = true);
bool DGListGetTabFieldData(int16_t dialId, int16_t item, int16_t tabIndex, int32_t* begin, int32_t* end);
// Owner-drawn tab fields get DG_MSG_UPDATE for each of their cells when the list is drawn.
void DGListSetTabFieldOwnerDrawFlag(int16_t dialId, int16_t item, int16_t tabIndex, bool ownerDrawn);
// Puts item `dialItem` (0: none) over the tab field of the selected row and shows it; the item it replaces
// there is hidden.
void DGListSetDialItemOnTabField(int16_t dialId, int16_t item, int16_t tabIndex, int16_t dialItem);
void DGListSetItemHeight(int16_t dialId, int16_t item, int32_t height);
int32_t DGListGetItemHeight(int16_t dialId, int16_t item);
void DGListSetTabItemText(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex, const GS::UniString& text);
GS::UniString DGListGetTabItemText(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex);
void DGListSetTabItemIcon(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex, const DG::Icon& icon);
DG::Icon DGListGetTabItemIcon(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex);
// A row that does not exist is no fault here: nothing is selected then.
void DGListSelectItem(int16_t dialId, int16_t item, int32_t row);
void DGListDeselectItem(int16_t dialId, int16_t item, int32_t row);
int32_t DGListGetSelected(int16_t dialId, int16_t item, int32_t startRow = 0);  // the selected row, 0 when none
// Drawing of the list stops until DGListEnableDraw, which redraws it.
void DGListDisableDraw(int16_t dialId, int16_t item);
void DGListEnableDraw(int16_t dialId, int16_t item);
void DGListRedrawTabItem(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex);
// A row's background colour (each component 0..65535); a row never set is white.
void DGListSetItemBackgroundColor(int16_t dialId, int16_t item, int32_t row, const DGColorRec& colour);
DGColorRec DGListGetItemBackgroundColor(int16_t dialId, int16_t item, int32_t row);
// A row's text colour (black when never set) and its text style (the host's style number, 0 when never set).
void DGListSetItemColor(int16_t dialId, int16_t item, int32_t row, const DGColorRec& colour);
DGColorRec DGListGetItemColor(int16_t dialId, int16_t item, int32_t row);
void DGListSetItemStyle(int16_t dialId, int16_t item, int32_t row, int16_t style);
int16_t DGListGetItemStyle(int16_t dialId, int16_t item, int32_t row);
// A value the module keeps with each row, 0 for a new row.
void DGListViewSetItemUserData(int16_t dialId, int16_t item, int32_t row, intptr_t value);
intptr_t DGListViewGetItemUserData(int16_t dialId, int16_t item, int32_t row);

// Pop-ups.
bool DGPopUpInsertItem(int16_t dialId, int16_t item, int32_t pos);  // before `pos`, or DG_POPUP_BOTTOM
bool DGPopUpInsertSeparator(int16_t dialId, int16_t item, int32_t pos);
void DGPopUpDeleteItem(int16_t dialId, int16_t item, int32_t pos);  // DG_ALL_ITEMS deletes every item
int32_t DGPopUpGetItemCount(int16_t dialId, int16_t item);
void DGPopUpSetItemText(int16_t dialId, int16_t item, int32_t pos, const GS::UniString& text);
GS::UniString DGPopUpGetItemText(int16_t dialId, int16_t item, int32_t pos);
void DGPopUpSelectItem(int16_t dialId, int16_t item, int32_t pos);
int32_t DGPopUpGetSelected(int16_t dialId, int16_t item);                              // 0 when none
void DGPopUpSetItemStatus(int16_t dialId, int16_t item, int32_t pos, int16_t status);  // DG_IS_...
int16_t DGPopUpGetItemStatus(int16_t dialId, int16_t item, int32_t pos);

// Numbers as the host writes them: no digit grouping, '.' as the decimal point.
GS::UniString DGLongToString(int32_t value, int32_t format = 0);
GS::UniString DGDoubleToString(double value, int32_t precision);
// The host's current length unit (DG_UNIT_...), and a length in metres written in `unit` with `precision`
// decimals.
int32_t DGGetUnit();
GS::UniString DGDoubleToStringUnit(double metres, int32_t unit, int32_t precision);

// Drawing (recorded, not rendered). Colours are 0..255 per component. Into the target of an update message:
void DGDrawFillRect(DGDrawContext context, const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue);
void DGDrawFrameRect(DGDrawContext context, const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue,
                     int32_t lineWidth);
void DGDrawImage(DGDrawContext context, const DG::Rect& rect, const DG::Image& image);
void DGDrawIcon(DGDrawContext context, const DG::Rect& rect, const DG::Icon& icon);
// A picture of the module's own files ("DlgImg.jpg"), by name.
void DGDrawPicture(DGDrawContext context, const DG::Rect& rect, const GS::UniString& pictureName);
void DGDrawText(DGDrawContext context, int32_t x, int32_t y, const GS::UniString& text);
// Any other drawing operation, described in a short text.
void DGDrawRecord(DGDrawContext context, const char* operation);
// Into a user item, at any time:
void DGUserItemFillRect(int16_t dialId, int16_t item, const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue);
void DGUserItemFrameRect(int16_t dialId, int16_t item, const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue,
                         int32_t lineWidth);
void DGUserItemDrawImage(int16_t dialId, int16_t item, const DG::Rect& rect, const DG::Image& image);
void DGUserItemDrawText(int16_t dialId, int16_t item, int32_t x, int32_t y, const GS::UniString& text);
void DGUserItemRecordDrawing(int16_t dialId, int16_t item, const char* operation);
// The draw context of the update message now running for a user item; 0 when none runs for it.
DGDrawContext DGGetUserItemUpdateContext(int16_t dialId, int16_t item);
