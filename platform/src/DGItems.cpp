// Headless dialog manager: window and item operations the module calls.
#include "DGInternal.hpp"

#include <cmath>
#include <limits>
#include <sstream>

using namespace dgimpl;

namespace {

Item* FindKind(int16_t dialId, int16_t item, RSDialogItemKind kind, const char* operation) {
    Item* it = FindItem(dialId, item, operation);
    if (it != nullptr && it->kind != kind) {
        Warning(std::string(operation) + ": item " + std::to_string(item) + " of dialog " + std::to_string(dialId) +
                " is a " + RSDialogItemKindName(it->kind) + ", not a " + RSDialogItemKindName(kind));
        return nullptr;
    }
    return it;
}

// Applies `action` to one item, or to every item for DG_ALL_ITEMS.
template <class F>
void ForItems(int16_t dialId, int16_t item, const char* operation, F action) {
    if (item == DG_ALL_ITEMS) {
        if (Dialog* dialog = FindDialog(dialId)) {
            for (Item& it : dialog->items) action(it);
        } else {
            Warning(std::string(operation) + ": dialog " + std::to_string(dialId) + " is not open");
        }
        return;
    }
    if (Item* it = FindItem(dialId, item, operation)) action(*it);
}

size_t TabCount(const Item& list) { return list.tabFields.empty() ? 1 : list.tabFields.size(); }

Row NewRow(const Item& list) {
    Row row;
    row.texts.resize(TabCount(list));
    row.icons.assign(TabCount(list), 0);
    return row;
}

// The row (from 1) and tab field (from 1), or null with a warning.
Row* FindRow(Item& list, int16_t dialId, int32_t row, const char* operation) {
    if (row < 1 || row > static_cast<int32_t>(list.rows.size())) {
        Warning(std::string(operation) + ": list " + std::to_string(list.id) + " of dialog " + std::to_string(dialId) +
                " has no row " + std::to_string(row));
        return nullptr;
    }
    return &list.rows[static_cast<size_t>(row - 1)];
}

bool CheckTab(const Item& list, int16_t dialId, int16_t tabIndex, const char* operation) {
    if (tabIndex < 1 || static_cast<size_t>(tabIndex) > TabCount(list)) {
        Warning(std::string(operation) + ": list " + std::to_string(list.id) + " of dialog " + std::to_string(dialId) +
                " has no tab field " + std::to_string(tabIndex));
        return false;
    }
    return true;
}

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

}  // namespace

// ------------------------------------------------------------------------------------------------- Window

void DGSetDialogTitle(int16_t dialId, const GS::UniString& title) {
    if (Dialog* dialog = FindDialog(dialId))
        dialog->title = title;
    else
        Warning("DGSetDialogTitle: dialog " + std::to_string(dialId) + " is not open");
}

GS::UniString DGGetDialogTitle(int16_t dialId) {
    const Dialog* dialog = FindDialog(dialId);
    return dialog != nullptr ? dialog->title : GS::UniString();
}

void DGSetDialogClientSize(int16_t dialId, int32_t width, int32_t height) {
    if (Dialog* dialog = FindDialog(dialId)) {
        dialog->width = width;
        dialog->height = height;
    } else {
        Warning("DGSetDialogClientSize: dialog " + std::to_string(dialId) + " is not open");
    }
}

int32_t DGGetDialogClientWidth(int16_t dialId) {
    const Dialog* dialog = FindDialog(dialId);
    return dialog != nullptr ? dialog->width : 0;
}

int32_t DGGetDialogClientHeight(int16_t dialId) {
    const Dialog* dialog = FindDialog(dialId);
    return dialog != nullptr ? dialog->height : 0;
}

void DGSetDialogClientPosition(int16_t dialId, int32_t x, int32_t y) {
    if (Dialog* dialog = FindDialog(dialId)) {
        dialog->x = x;
        dialog->y = y;
    } else {
        Warning("DGSetDialogClientPosition: dialog " + std::to_string(dialId) + " is not open");
    }
}

bool DGGetDialogClientPosition(int16_t dialId, int32_t* x, int32_t* y) {
    const Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) return false;
    if (x != nullptr) *x = dialog->x;
    if (y != nullptr) *y = dialog->y;
    return true;
}

void DGSetFocus(int16_t dialId, int16_t item) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) {
        Warning("DGSetFocus: dialog " + std::to_string(dialId) + " is not open");
        return;
    }
    if (item != DG_DIALOG_WINDOW && FindItem(dialId, item, "DGSetFocus") == nullptr) return;
    dialog->focus = item;
}

int16_t DGGetFocus(int16_t dialId) {
    const Dialog* dialog = FindDialog(dialId);
    return dialog != nullptr ? dialog->focus : 0;
}

// -------------------------------------------------------------------------------------- Texts and values

void DGSetItemText(int16_t dialId, int16_t item, const GS::UniString& text) {
    if (Item* it = FindItem(dialId, item, "DGSetItemText")) it->text = text;
}

GS::UniString DGGetItemText(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGGetItemText");
    return it != nullptr ? it->text : GS::UniString();
}

void DGSetItemValLong(int16_t dialId, int16_t item, int32_t value) {
    if (Item* it = FindItem(dialId, item, "DGSetItemValLong")) it->value = value;
}

int32_t DGGetItemValLong(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGGetItemValLong");
    if (it == nullptr) return 0;
    const double v = std::trunc(it->value);
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

void DGSetItemValDouble(int16_t dialId, int16_t item, double value) {
    if (Item* it = FindItem(dialId, item, "DGSetItemValDouble")) it->value = value;
}

double DGGetItemValDouble(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGGetItemValDouble");
    return it != nullptr ? it->value : 0.0;
}

void DGSetItemMinDouble(int16_t dialId, int16_t item, double value) {
    if (Item* it = FindItem(dialId, item, "DGSetItemMinDouble")) {
        it->hasMin = true;
        it->minValue = value;
    }
}

void DGSetItemMaxDouble(int16_t dialId, int16_t item, double value) {
    if (Item* it = FindItem(dialId, item, "DGSetItemMaxDouble")) {
        it->hasMax = true;
        it->maxValue = value;
    }
}

void DGSetCheckBoxState(int16_t dialId, int16_t item, bool checked) {
    if (Item* it = FindKind(dialId, item, RSDialogItemKind::Check, "DGSetCheckBoxState")) it->value = checked ? 1 : 0;
}

bool DGGetCheckBoxState(int16_t dialId, int16_t item) {
    const Item* it = FindKind(dialId, item, RSDialogItemKind::Check, "DGGetCheckBoxState");
    return it != nullptr && it->value != 0.0;
}

// -------------------------------------------------------------------------------------------- Item state

void DGSetItemEnable(int16_t dialId, int16_t item, bool enable) {
    ForItems(dialId, item, "DGSetItemEnable", [enable](Item& it) { it.enabled = enable; });
}

void DGEnableItem(int16_t dialId, int16_t item) { DGSetItemEnable(dialId, item, true); }
void DGDisableItem(int16_t dialId, int16_t item) { DGSetItemEnable(dialId, item, false); }

bool DGIsItemEnabled(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGIsItemEnabled");
    return it != nullptr && it->enabled;
}

void DGSetItemVisible(int16_t dialId, int16_t item, bool visible) {
    std::vector<int16_t> shown;
    ForItems(dialId, item, "DGSetItemVisible", [visible, &shown](Item& it) {
        if (visible && !it.visible && it.kind == RSDialogItemKind::User) shown.push_back(it.id);
        it.visible = visible;
    });
    for (int16_t id : shown) RequestRedraw(dialId, id);
}

void DGShowItem(int16_t dialId, int16_t item) { DGSetItemVisible(dialId, item, true); }
void DGHideItem(int16_t dialId, int16_t item) { DGSetItemVisible(dialId, item, false); }

bool DGIsItemVisible(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGIsItemVisible");
    return it != nullptr && it->visible;
}

void DGRedrawItem(int16_t dialId, int16_t item) {
    if (const Item* it = FindItem(dialId, item, "DGRedrawItem"))
        if (it->kind == RSDialogItemKind::User) RequestRedraw(dialId, item);
}

bool DGGetItemRect(int16_t dialId, int16_t item, DG::Rect* rect) {
    const Item* it = FindItem(dialId, item, "DGGetItemRect");
    if (it == nullptr || rect == nullptr) return false;
    *rect = it->rect;
    return true;
}

int32_t DGGetItemWidth(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGGetItemWidth");
    return it != nullptr ? it->rect.GetWidth() : 0;
}

int32_t DGGetItemHeight(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGGetItemHeight");
    return it != nullptr ? it->rect.GetHeight() : 0;
}

void DGSetItemImage(int16_t dialId, int16_t item, const DG::Image& image) {
    if (Item* it = FindItem(dialId, item, "DGSetItemImage")) it->image = image.GetResourceId();
}

// -------------------------------------------------------------------------------------------------- Lists

bool DGListInsertItem(int16_t dialId, int16_t item, int32_t row) {
    Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListInsertItem");
    if (list == nullptr) return false;
    const int32_t count = static_cast<int32_t>(list->rows.size());
    if (row == DG_LIST_BOTTOM) row = count + 1;
    if (row < 1 || row > count + 1) {
        Warning("DGListInsertItem: row " + std::to_string(row) + " outside 1.." + std::to_string(count + 1));
        return false;
    }
    list->rows.insert(list->rows.begin() + (row - 1), NewRow(*list));
    if (list->selected >= row) ++list->selected;
    return true;
}

void DGListDeleteItem(int16_t dialId, int16_t item, int32_t row) {
    Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListDeleteItem");
    if (list == nullptr) return;
    if (row == DG_ALL_ITEMS) {
        list->rows.clear();
        list->selected = 0;
        return;
    }
    if (FindRow(*list, dialId, row, "DGListDeleteItem") == nullptr) return;
    list->rows.erase(list->rows.begin() + (row - 1));
    if (list->selected == row)
        list->selected = 0;
    else if (list->selected > row)
        --list->selected;
}

int32_t DGListGetItemCount(int16_t dialId, int16_t item) {
    const Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListGetItemCount");
    return list != nullptr ? static_cast<int32_t>(list->rows.size()) : 0;
}

void DGListSetItemText(int16_t dialId, int16_t item, int32_t row, const GS::UniString& text) {
    DGListSetTabItemText(dialId, item, row, 1, text);
}

GS::UniString DGListGetItemText(int16_t dialId, int16_t item, int32_t row) {
    return DGListGetTabItemText(dialId, item, row, 1);
}

void DGListSetTabFieldCount(int16_t dialId, int16_t item, int16_t count) {
    Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListSetTabFieldCount");
    if (list == nullptr) return;
    if (count < 0) {
        Warning("DGListSetTabFieldCount: negative count " + std::to_string(count));
        return;
    }
    list->tabFields.resize(static_cast<size_t>(count), {0, 0});
    for (Row& row : list->rows) {
        row.texts.resize(TabCount(*list));
        row.icons.resize(TabCount(*list), 0);
    }
}

int16_t DGListGetTabFieldCount(int16_t dialId, int16_t item) {
    const Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListGetTabFieldCount");
    return list != nullptr ? static_cast<int16_t>(list->tabFields.size()) : 0;
}

void DGListSetTabFieldData(int16_t dialId, int16_t item, int16_t tabIndex, int32_t begin, int32_t end) {
    Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListSetTabFieldData");
    if (list == nullptr) return;
    if (tabIndex < 1 || static_cast<size_t>(tabIndex) > list->tabFields.size()) {
        Warning("DGListSetTabFieldData: list " + std::to_string(item) + " of dialog " + std::to_string(dialId) +
                " has no tab field " + std::to_string(tabIndex) + " (set the count first)");
        return;
    }
    list->tabFields[static_cast<size_t>(tabIndex - 1)] = {begin, end};
}

bool DGListGetTabFieldData(int16_t dialId, int16_t item, int16_t tabIndex, int32_t* begin, int32_t* end) {
    const Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListGetTabFieldData");
    if (list == nullptr || tabIndex < 1 || static_cast<size_t>(tabIndex) > list->tabFields.size()) return false;
    if (begin != nullptr) *begin = list->tabFields[static_cast<size_t>(tabIndex - 1)].first;
    if (end != nullptr) *end = list->tabFields[static_cast<size_t>(tabIndex - 1)].second;
    return true;
}

void DGListSetItemHeight(int16_t dialId, int16_t item, int32_t height) {
    if (Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListSetItemHeight")) list->rowHeight = height;
}

int32_t DGListGetItemHeight(int16_t dialId, int16_t item) {
    const Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListGetItemHeight");
    return list != nullptr ? list->rowHeight : 0;
}

void DGListSetTabItemText(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex, const GS::UniString& text) {
    Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListSetTabItemText");
    if (list == nullptr || !CheckTab(*list, dialId, tabIndex, "DGListSetTabItemText")) return;
    if (Row* r = FindRow(*list, dialId, row, "DGListSetTabItemText"))
        r->texts[static_cast<size_t>(tabIndex - 1)] = text;
}

GS::UniString DGListGetTabItemText(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex) {
    Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListGetTabItemText");
    if (list == nullptr || !CheckTab(*list, dialId, tabIndex, "DGListGetTabItemText")) return GS::UniString();
    const Row* r = FindRow(*list, dialId, row, "DGListGetTabItemText");
    return r != nullptr ? r->texts[static_cast<size_t>(tabIndex - 1)] : GS::UniString();
}

void DGListSetTabItemIcon(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex, const DG::Icon& icon) {
    Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListSetTabItemIcon");
    if (list == nullptr || !CheckTab(*list, dialId, tabIndex, "DGListSetTabItemIcon")) return;
    if (Row* r = FindRow(*list, dialId, row, "DGListSetTabItemIcon"))
        r->icons[static_cast<size_t>(tabIndex - 1)] = icon.GetResourceId();
}

DG::Icon DGListGetTabItemIcon(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex) {
    Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListGetTabItemIcon");
    if (list == nullptr || !CheckTab(*list, dialId, tabIndex, "DGListGetTabItemIcon")) return DG::Icon();
    const Row* r = FindRow(*list, dialId, row, "DGListGetTabItemIcon");
    const Dialog* dialog = FindDialog(dialId);
    if (r == nullptr || r->icons[static_cast<size_t>(tabIndex - 1)] == 0) return DG::Icon();
    return DG::Icon(dialog->module, r->icons[static_cast<size_t>(tabIndex - 1)]);
}

void DGListSelectItem(int16_t dialId, int16_t item, int32_t row) {
    Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListSelectItem");
    if (list != nullptr && FindRow(*list, dialId, row, "DGListSelectItem") != nullptr) list->selected = row;
}

void DGListDeselectItem(int16_t dialId, int16_t item, int32_t row) {
    Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListDeselectItem");
    if (list != nullptr && (row == DG_ALL_ITEMS || list->selected == row)) list->selected = 0;
}

int32_t DGListGetSelected(int16_t dialId, int16_t item) {
    const Item* list = FindKind(dialId, item, RSDialogItemKind::List, "DGListGetSelected");
    return list != nullptr ? list->selected : 0;
}

// ------------------------------------------------------------------------------------------------ Pop-ups

namespace {

bool InsertPopUp(int16_t dialId, int16_t item, int32_t pos, bool separator, const char* operation) {
    Item* popUp = FindKind(dialId, item, RSDialogItemKind::PopUp, operation);
    if (popUp == nullptr) return false;
    const int32_t count = static_cast<int32_t>(popUp->popUpTexts.size());
    if (pos == DG_POPUP_BOTTOM) pos = count + 1;
    if (pos < 1 || pos > count + 1) {
        Warning(std::string(operation) + ": position " + std::to_string(pos) + " outside 1.." +
                std::to_string(count + 1));
        return false;
    }
    popUp->popUpTexts.insert(popUp->popUpTexts.begin() + (pos - 1), GS::UniString());
    popUp->popUpSeparators.insert(popUp->popUpSeparators.begin() + (pos - 1), separator);
    if (popUp->selected >= pos) ++popUp->selected;
    return true;
}

bool CheckPopUpPos(const Item& popUp, int16_t dialId, int32_t pos, const char* operation) {
    if (pos < 1 || pos > static_cast<int32_t>(popUp.popUpTexts.size())) {
        Warning(std::string(operation) + ": pop-up " + std::to_string(popUp.id) + " of dialog " +
                std::to_string(dialId) + " has no item " + std::to_string(pos));
        return false;
    }
    return true;
}

}  // namespace

bool DGPopUpInsertItem(int16_t dialId, int16_t item, int32_t pos) {
    return InsertPopUp(dialId, item, pos, false, "DGPopUpInsertItem");
}

bool DGPopUpInsertSeparator(int16_t dialId, int16_t item, int32_t pos) {
    return InsertPopUp(dialId, item, pos, true, "DGPopUpInsertSeparator");
}

void DGPopUpDeleteItem(int16_t dialId, int16_t item, int32_t pos) {
    Item* popUp = FindKind(dialId, item, RSDialogItemKind::PopUp, "DGPopUpDeleteItem");
    if (popUp == nullptr) return;
    if (pos == DG_ALL_ITEMS) {
        popUp->popUpTexts.clear();
        popUp->popUpSeparators.clear();
        popUp->selected = 0;
        return;
    }
    if (!CheckPopUpPos(*popUp, dialId, pos, "DGPopUpDeleteItem")) return;
    popUp->popUpTexts.erase(popUp->popUpTexts.begin() + (pos - 1));
    popUp->popUpSeparators.erase(popUp->popUpSeparators.begin() + (pos - 1));
    if (popUp->selected == pos)
        popUp->selected = 0;
    else if (popUp->selected > pos)
        --popUp->selected;
}

int32_t DGPopUpGetItemCount(int16_t dialId, int16_t item) {
    const Item* popUp = FindKind(dialId, item, RSDialogItemKind::PopUp, "DGPopUpGetItemCount");
    return popUp != nullptr ? static_cast<int32_t>(popUp->popUpTexts.size()) : 0;
}

void DGPopUpSetItemText(int16_t dialId, int16_t item, int32_t pos, const GS::UniString& text) {
    Item* popUp = FindKind(dialId, item, RSDialogItemKind::PopUp, "DGPopUpSetItemText");
    if (popUp != nullptr && CheckPopUpPos(*popUp, dialId, pos, "DGPopUpSetItemText"))
        popUp->popUpTexts[static_cast<size_t>(pos - 1)] = text;
}

GS::UniString DGPopUpGetItemText(int16_t dialId, int16_t item, int32_t pos) {
    const Item* popUp = FindKind(dialId, item, RSDialogItemKind::PopUp, "DGPopUpGetItemText");
    if (popUp == nullptr || !CheckPopUpPos(*popUp, dialId, pos, "DGPopUpGetItemText")) return GS::UniString();
    return popUp->popUpTexts[static_cast<size_t>(pos - 1)];
}

void DGPopUpSelectItem(int16_t dialId, int16_t item, int32_t pos) {
    Item* popUp = FindKind(dialId, item, RSDialogItemKind::PopUp, "DGPopUpSelectItem");
    if (popUp == nullptr || !CheckPopUpPos(*popUp, dialId, pos, "DGPopUpSelectItem")) return;
    if (popUp->popUpSeparators[static_cast<size_t>(pos - 1)]) {
        Warning("DGPopUpSelectItem: item " + std::to_string(pos) + " of pop-up " + std::to_string(item) +
                " is a separator");
        return;
    }
    popUp->selected = pos;
}

int32_t DGPopUpGetSelected(int16_t dialId, int16_t item) {
    const Item* popUp = FindKind(dialId, item, RSDialogItemKind::PopUp, "DGPopUpGetSelected");
    return popUp != nullptr ? popUp->selected : 0;
}

// ------------------------------------------------------------------------------------------------ Drawing

void DGUserItemFillRect(int16_t dialId, int16_t item, const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue) {
    Record(dialId, item, "fill " + RectText(rect) + " " + ColourText(red, green, blue));
}

void DGUserItemFrameRect(int16_t dialId, int16_t item, const DG::Rect& rect, uint8_t red, uint8_t green, uint8_t blue,
                         int32_t lineWidth) {
    Record(dialId, item,
           "frame " + RectText(rect) + " " + ColourText(red, green, blue) + " width " + std::to_string(lineWidth));
}

void DGUserItemDrawImage(int16_t dialId, int16_t item, const DG::Rect& rect, const DG::Image& image) {
    Record(dialId, item,
           "image " + (image.IsEmpty() ? std::string("none") : std::to_string(image.GetResourceId())) + " in " +
               RectText(rect));
}

void DGUserItemDrawText(int16_t dialId, int16_t item, int32_t x, int32_t y, const GS::UniString& text) {
    Record(dialId, item, "text " + std::to_string(x) + " " + std::to_string(y) + " " + Quote(text));
}

void DGUserItemRecordDrawing(int16_t dialId, int16_t item, const char* operation) {
    Record(dialId, item, operation != nullptr ? operation : "");
}
