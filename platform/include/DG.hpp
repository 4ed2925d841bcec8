// The host's dialog manager (DG) as the module calls it: modal and modeless dialogs built from dialog
// layout resources, items, lists, pop-ups, user items, alerts, and the folder, file and colour dialogs.
//
// A dialog's id is its resource id. Its callback gets the messages below; a click answered with a non-zero
// item closes a modal dialog with that item (the close message follows). Rows of lists and items of pop-ups
// are numbered from 1; 0 means none.
#pragma once

#include "IO.hpp"
#include "Resources.hpp"
#include "UniString.hpp"

#include <cstdint>

using DGUserData = intptr_t;
using DGMessageData = intptr_t;

// message, dialog id, item, user data, message data -> answer
typedef int16_t (*DGDialCallBack)(int16_t message, int16_t dialId, int16_t item, DGUserData userData,
                                  DGMessageData msgData);

// Messages delivered to dialog callbacks.
constexpr int16_t DG_MSG_NULL = 0;
constexpr int16_t DG_MSG_INIT = 1;
constexpr int16_t DG_MSG_CLOSE = 3;   // item: the item that closes the dialog (0 for a modeless close)
constexpr int16_t DG_MSG_CLICK = 4;   // answer: 0 keeps a modal dialog open, an item closes it with that item
constexpr int16_t DG_MSG_CHANGE = 6;  // an item's value, text or selection was changed by the user
constexpr int16_t DG_MSG_TRACK = 7;
constexpr int16_t DG_MSG_UPDATE_ITEM = 15;
constexpr int16_t DG_MSG_UPDATE = 16;  // redraw a user item; msgData points to a DGUserUpdateData

constexpr int16_t DG_ALL_ITEMS = 0;       // item 0 of enable/disable/show/hide: every item; row 0 of deletes: all
constexpr int16_t DG_DIALOG_WINDOW = -1;  // focus item: the dialog window itself
constexpr int32_t DG_LIST_BOTTOM = -1;    // insert position: after the last row
constexpr int32_t DG_POPUP_BOTTOM = -1;   // insert position: after the last pop-up item

namespace DG {

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t GetWidth() const { return right - left; }
    int32_t GetHeight() const { return bottom - top; }
};

// A picture resource of a resource module (PICT for images, ICON for icons); empty when it is missing.
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

// What the update message (DG_MSG_UPDATE) of a user item hands over: the item and its rectangle in the
// item's own coordinates (0, 0, width, height).
struct DGUserUpdateData {
    int16_t dialogId;
    int16_t item;
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
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
// Closes an open modal dialog with `item` once the running callback returns.
void DGAbortModalDialog(int16_t dialId, int16_t item);

// Modeless dialog: answers its id (the resource id) after its init message, 0 when it could not be built.
// It is visible at once.
int16_t DGModelessInit(GSResModule resModule, int16_t resId, DGDialCallBack callback, DGUserData userData);
// Delivers the close message, then destroys the window.
void DGModelessClose(int16_t dialId);
void DGShowModelessDialog(int16_t dialId);
void DGHideModelessDialog(int16_t dialId);
bool DGIsModelessDialogVisible(int16_t dialId);

bool DGIsDialogOpen(int16_t dialId);
// Forgets remembered window places (nothing to forget in this dialog manager).
void DGResetDialogRectangles();

// Window.
void DGSetDialogTitle(int16_t dialId, const GS::UniString& title);
GS::UniString DGGetDialogTitle(int16_t dialId);
void DGSetDialogClientSize(int16_t dialId, int32_t width, int32_t height);
int32_t DGGetDialogClientWidth(int16_t dialId);
int32_t DGGetDialogClientHeight(int16_t dialId);
void DGSetDialogClientPosition(int16_t dialId, int32_t x, int32_t y);
// False (x and y untouched) when the dialog is not open.
bool DGGetDialogClientPosition(int16_t dialId, int32_t* x, int32_t* y);
void DGSetFocus(int16_t dialId, int16_t item);
int16_t DGGetFocus(int16_t dialId);

// Items: texts and values.
void DGSetItemText(int16_t dialId, int16_t item, const GS::UniString& text);
GS::UniString DGGetItemText(int16_t dialId, int16_t item);
void DGSetItemValLong(int16_t dialId, int16_t item, int32_t value);
int32_t DGGetItemValLong(int16_t dialId, int16_t item);  // a real value truncated toward zero
void DGSetItemValDouble(int16_t dialId, int16_t item, double value);
double DGGetItemValDouble(int16_t dialId, int16_t item);
// Limits of numeric edits: values typed by the user are clamped into them.
void DGSetItemMinDouble(int16_t dialId, int16_t item, double value);
void DGSetItemMaxDouble(int16_t dialId, int16_t item, double value);
void DGSetCheckBoxState(int16_t dialId, int16_t item, bool checked);
bool DGGetCheckBoxState(int16_t dialId, int16_t item);

// Items: state. Item DG_ALL_ITEMS acts on every item.
void DGEnableItem(int16_t dialId, int16_t item);
void DGDisableItem(int16_t dialId, int16_t item);
void DGSetItemEnable(int16_t dialId, int16_t item, bool enable);
bool DGIsItemEnabled(int16_t dialId, int16_t item);
void DGShowItem(int16_t dialId, int16_t item);
void DGHideItem(int16_t dialId, int16_t item);
void DGSetItemVisible(int16_t dialId, int16_t item, bool visible);
bool DGIsItemVisible(int16_t dialId, int16_t item);
// Asks for a redraw: a user item gets DG_MSG_UPDATE after the running callback returns.
void DGRedrawItem(int16_t dialId, int16_t item);
bool DGGetItemRect(int16_t dialId, int16_t item, DG::Rect* rect);
int32_t DGGetItemWidth(int16_t dialId, int16_t item);
int32_t DGGetItemHeight(int16_t dialId, int16_t item);
void DGSetItemImage(int16_t dialId, int16_t item, const DG::Image& image);

// Lists. Tab fields are numbered from 1.
bool DGListInsertItem(int16_t dialId, int16_t item, int32_t row);  // before `row`, or DG_LIST_BOTTOM
void DGListDeleteItem(int16_t dialId, int16_t item, int32_t row);  // DG_ALL_ITEMS deletes every row
int32_t DGListGetItemCount(int16_t dialId, int16_t item);
void DGListSetItemText(int16_t dialId, int16_t item, int32_t row, const GS::UniString& text);  // tab field 1
GS::UniString DGListGetItemText(int16_t dialId, int16_t item, int32_t row);
void DGListSetTabFieldCount(int16_t dialId, int16_t item, int16_t count);
int16_t DGListGetTabFieldCount(int16_t dialId, int16_t item);
void DGListSetTabFieldData(int16_t dialId, int16_t item, int16_t tabIndex, int32_t begin, int32_t end);
bool DGListGetTabFieldData(int16_t dialId, int16_t item, int16_t tabIndex, int32_t* begin, int32_t* end);
void DGListSetItemHeight(int16_t dialId, int16_t item, int32_t height);
int32_t DGListGetItemHeight(int16_t dialId, int16_t item);
void DGListSetTabItemText(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex, const GS::UniString& text);
GS::UniString DGListGetTabItemText(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex);
void DGListSetTabItemIcon(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex, const DG::Icon& icon);
DG::Icon DGListGetTabItemIcon(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex);
void DGListSelectItem(int16_t dialId, int16_t item, int32_t row);
void DGListDeselectItem(int16_t dialId, int16_t item, int32_t row);
int32_t DGListGetSelected(int16_t dialId, int16_t item);  // the selected row, 0 when none

// Pop-ups.
bool DGPopUpInsertItem(int16_t dialId, int16_t item, int32_t pos);  // before `pos`, or DG_POPUP_BOTTOM
bool DGPopUpInsertSeparator(int16_t dialId, int16_t item, int32_t pos);
void DGPopUpDeleteItem(int16_t dialId, int16_t item, int32_t pos);  // DG_ALL_ITEMS deletes every item
int32_t DGPopUpGetItemCount(int16_t dialId, int16_t item);
void DGPopUpSetItemText(int16_t dialId, int16_t item, int32_t pos, const GS::UniString& text);
GS::UniString DGPopUpGetItemText(int16_t dialId, int16_t item, int32_t pos);
void DGPopUpSelectItem(int16_t dialId, int16_t item, int32_t pos);
int32_t DGPopUpGetSelected(int16_t dialId, int16_t item);  // 0 when none

// Drawing into a user item (recorded, not rendered). Colours are 0..255 per component.
void DGUserItemFillRect(int16_t dialId, int16_t item, const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue);
void DGUserItemFrameRect(int16_t dialId, int16_t item, const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue,
                         int32_t lineWidth);
void DGUserItemDrawImage(int16_t dialId, int16_t item, const DG::Rect& rect, const DG::Image& image);
void DGUserItemDrawText(int16_t dialId, int16_t item, int32_t x, int32_t y, const GS::UniString& text);
// Any other drawing operation, described in a short text.
void DGUserItemRecordDrawing(int16_t dialId, int16_t item, const char* operation);
