// Headless dialog manager: list boxes (rows, tab fields, icons, owner-drawn cells, items over tab fields) and
// pop-ups.
#include "DGInternal.hpp"

using namespace dgimpl;

namespace {

Item* List(int16_t dialId, int16_t item, const char* operation) {
    return FindKind(dialId, item, RSDialogItemKind::List, operation);
}

size_t TabCount(const Item& list) { return list.tabFields.empty() ? 1 : list.tabFields.size(); }

Row NewRow(const Item& list) {
    Row row;
    row.texts.resize(TabCount(list));
    row.icons.assign(TabCount(list), 0);
    return row;
}

// The row (from 1), or null with a warning.
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

bool CheckDeclaredTab(const Item& list, int16_t dialId, int16_t tabIndex, const char* operation) {
    if (tabIndex < 1 || static_cast<size_t>(tabIndex) > list.tabFields.size()) {
        Warning(std::string(operation) + ": list " + std::to_string(list.id) + " of dialog " + std::to_string(dialId) +
                " has no tab field " + std::to_string(tabIndex) + " (set the count first)");
        return false;
    }
    return true;
}

bool HasOwnerDrawnField(const Item& list) {
    for (const DGDriver::TabFieldState& field : list.tabFields)
        if (field.ownerDrawn) return true;
    return false;
}

// The rows changed: owner-drawn cells are drawn again once the running callback returns.
void Changed(int16_t dialId, const Item& list) {
    if (HasOwnerDrawnField(list) && !list.drawDisabled) RequestRedraw(dialId, list.id);
}

bool InsertRow(int16_t dialId, int16_t item, int32_t row, bool separator, const char* operation) {
    Item* list = List(dialId, item, operation);
    if (list == nullptr) return false;
    const int32_t count = static_cast<int32_t>(list->rows.size());
    if (row == DG_LIST_BOTTOM) row = count + 1;
    if (row < 1 || row > count + 1) {
        Warning(std::string(operation) + ": row " + std::to_string(row) + " outside 1.." + std::to_string(count + 1));
        return false;
    }
    Row newRow = NewRow(*list);
    newRow.separator = separator;
    list->rows.insert(list->rows.begin() + (row - 1), newRow);
    if (list->selected >= row) ++list->selected;
    Changed(dialId, *list);
    return true;
}

}  // namespace

namespace dgimpl {

void PlaceRowEditors(Dialog& dialog, Item& list) {
    const int32_t height = list.rowHeight > 0 ? list.rowHeight : 16;
    for (const DGDriver::TabFieldState& field : list.tabFields) {
        if (field.editor == 0) continue;
        Item* editor = ItemIn(dialog, field.editor);
        if (editor == nullptr) continue;
        const int32_t top = list.rect.top + (list.selected > 0 ? list.selected - 1 : 0) * height;
        editor->rect = DG::Rect{list.rect.left + field.begin, top, list.rect.left + field.end, top + height};
    }
}

}  // namespace dgimpl

// -------------------------------------------------------------------------------------------------- Lists

bool DGListInsertItem(int16_t dialId, int16_t item, int32_t row) {
    return InsertRow(dialId, item, row, false, "DGListInsertItem");
}

bool DGListInsertSeparator(int16_t dialId, int16_t item, int32_t row) {
    return InsertRow(dialId, item, row, true, "DGListInsertSeparator");
}

bool DGListIsSeparatorItem(int16_t dialId, int16_t item, int32_t row) {
    Item* list = List(dialId, item, "DGListIsSeparatorItem");
    if (list == nullptr) return false;
    const Row* r = FindRow(*list, dialId, row, "DGListIsSeparatorItem");
    return r != nullptr && r->separator;
}

void DGListDeleteItem(int16_t dialId, int16_t item, int32_t row) {
    Item* list = List(dialId, item, "DGListDeleteItem");
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
    Changed(dialId, *list);
}

int32_t DGListGetItemCount(int16_t dialId, int16_t item) {
    const Item* list = List(dialId, item, "DGListGetItemCount");
    return list != nullptr ? static_cast<int32_t>(list->rows.size()) : 0;
}

void DGListSetItemText(int16_t dialId, int16_t item, int32_t row, const GS::UniString& text) {
    Item* list = List(dialId, item, "DGListSetItemText");
    if (list == nullptr) return;
    Row* r = FindRow(*list, dialId, row, "DGListSetItemText");
    if (r == nullptr) return;
    const std::u16string& units = text.ToU16String();
    size_t field = 0;
    size_t start = 0;
    for (size_t k = 0; k <= units.size(); ++k) {
        const bool last = field + 1 == r->texts.size();
        if (k == units.size() || (units[k] == u'\t' && !last)) {
            r->texts[field++] = GS::UniString(units.substr(start, k - start));
            start = k + 1;
            if (k == units.size()) break;
        }
    }
    for (; field < r->texts.size(); ++field) r->texts[field].Clear();
    Changed(dialId, *list);
}

GS::UniString DGListGetItemText(int16_t dialId, int16_t item, int32_t row) {
    Item* list = List(dialId, item, "DGListGetItemText");
    if (list == nullptr) return GS::UniString();
    const Row* r = FindRow(*list, dialId, row, "DGListGetItemText");
    if (r == nullptr) return GS::UniString();
    size_t used = r->texts.size();
    while (used > 1 && r->texts[used - 1].IsEmpty()) --used;
    GS::UniString text;
    for (size_t k = 0; k < used; ++k) {
        if (k > 0) text.Append(u'\t');
        text.Append(r->texts[k]);
    }
    return text;
}

void DGListSetTabFieldCount(int16_t dialId, int16_t item, int16_t count) {
    Item* list = List(dialId, item, "DGListSetTabFieldCount");
    if (list == nullptr) return;
    if (count < 0) {
        Warning("DGListSetTabFieldCount: negative count " + std::to_string(count));
        return;
    }
    list->tabFields.resize(static_cast<size_t>(count));
    for (Row& row : list->rows) {
        row.texts.resize(TabCount(*list));
        row.icons.resize(TabCount(*list), 0);
        if (!row.drawing.empty()) row.drawing.resize(list->tabFields.size());
    }
}

int16_t DGListGetTabFieldCount(int16_t dialId, int16_t item) {
    const Item* list = List(dialId, item, "DGListGetTabFieldCount");
    return list != nullptr ? static_cast<int16_t>(list->tabFields.size()) : 0;
}

void DGListSetTabFieldData(int16_t dialId, int16_t item, int16_t tabIndex, int32_t begin, int32_t end,
                           int16_t justification, int16_t truncation, bool hasSeparator, bool enabled) {
    Item* list = List(dialId, item, "DGListSetTabFieldData");
    if (list == nullptr || !CheckDeclaredTab(*list, dialId, tabIndex, "DGListSetTabFieldData")) return;
    DGDriver::TabFieldState& field = list->tabFields[static_cast<size_t>(tabIndex - 1)];
    field.begin = begin;
    field.end = end;
    field.justification = justification;
    field.truncation = truncation;
    field.separator = hasSeparator;
    field.enabled = enabled;
}

bool DGListGetTabFieldData(int16_t dialId, int16_t item, int16_t tabIndex, int32_t* begin, int32_t* end) {
    const Item* list = List(dialId, item, "DGListGetTabFieldData");
    if (list == nullptr || tabIndex < 1 || static_cast<size_t>(tabIndex) > list->tabFields.size()) return false;
    if (begin != nullptr) *begin = list->tabFields[static_cast<size_t>(tabIndex - 1)].begin;
    if (end != nullptr) *end = list->tabFields[static_cast<size_t>(tabIndex - 1)].end;
    return true;
}

void DGListSetTabFieldOwnerDrawFlag(int16_t dialId, int16_t item, int16_t tabIndex, bool ownerDrawn) {
    Item* list = List(dialId, item, "DGListSetTabFieldOwnerDrawFlag");
    if (list == nullptr || !CheckDeclaredTab(*list, dialId, tabIndex, "DGListSetTabFieldOwnerDrawFlag")) return;
    list->tabFields[static_cast<size_t>(tabIndex - 1)].ownerDrawn = ownerDrawn;
    Changed(dialId, *list);
}

void DGListSetDialItemOnTabField(int16_t dialId, int16_t item, int16_t tabIndex, int16_t dialItem) {
    Item* list = List(dialId, item, "DGListSetDialItemOnTabField");
    if (list == nullptr || !CheckDeclaredTab(*list, dialId, tabIndex, "DGListSetDialItemOnTabField")) return;
    Dialog* dialog = FindDialog(dialId);
    if (dialItem != 0 && (dialItem == item || FindItem(dialId, dialItem, "DGListSetDialItemOnTabField") == nullptr))
        return;
    DGDriver::TabFieldState& field = list->tabFields[static_cast<size_t>(tabIndex - 1)];
    if (field.editor != 0 && field.editor != dialItem)
        if (Item* old = ItemIn(*dialog, field.editor)) old->visible = false;
    field.editor = dialItem;
    if (dialItem == 0) return;
    PlaceRowEditors(*dialog, *list);
    DGShowItem(dialId, dialItem);
}

void DGListSetItemHeight(int16_t dialId, int16_t item, int32_t height) {
    if (Item* list = List(dialId, item, "DGListSetItemHeight")) list->rowHeight = height;
}

int32_t DGListGetItemHeight(int16_t dialId, int16_t item) {
    const Item* list = List(dialId, item, "DGListGetItemHeight");
    return list != nullptr ? list->rowHeight : 0;
}

void DGListSetTabItemText(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex, const GS::UniString& text) {
    Item* list = List(dialId, item, "DGListSetTabItemText");
    if (list == nullptr || !CheckTab(*list, dialId, tabIndex, "DGListSetTabItemText")) return;
    if (Row* r = FindRow(*list, dialId, row, "DGListSetTabItemText")) {
        r->texts[static_cast<size_t>(tabIndex - 1)] = text;
        Changed(dialId, *list);
    }
}

GS::UniString DGListGetTabItemText(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex) {
    Item* list = List(dialId, item, "DGListGetTabItemText");
    if (list == nullptr || !CheckTab(*list, dialId, tabIndex, "DGListGetTabItemText")) return GS::UniString();
    const Row* r = FindRow(*list, dialId, row, "DGListGetTabItemText");
    return r != nullptr ? r->texts[static_cast<size_t>(tabIndex - 1)] : GS::UniString();
}

void DGListSetTabItemIcon(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex, const DG::Icon& icon) {
    Item* list = List(dialId, item, "DGListSetTabItemIcon");
    if (list == nullptr || !CheckTab(*list, dialId, tabIndex, "DGListSetTabItemIcon")) return;
    if (Row* r = FindRow(*list, dialId, row, "DGListSetTabItemIcon")) {
        r->icons[static_cast<size_t>(tabIndex - 1)] = icon.GetResourceId();
        Changed(dialId, *list);
    }
}

DG::Icon DGListGetTabItemIcon(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex) {
    Item* list = List(dialId, item, "DGListGetTabItemIcon");
    if (list == nullptr || !CheckTab(*list, dialId, tabIndex, "DGListGetTabItemIcon")) return DG::Icon();
    const Row* r = FindRow(*list, dialId, row, "DGListGetTabItemIcon");
    if (r == nullptr || r->icons[static_cast<size_t>(tabIndex - 1)] == 0) return DG::Icon();
    return DG::Icon(FindDialog(dialId)->module, r->icons[static_cast<size_t>(tabIndex - 1)]);
}

void DGListSelectItem(int16_t dialId, int16_t item, int32_t row) {
    Item* list = List(dialId, item, "DGListSelectItem");
    if (list == nullptr || row < 1 || static_cast<size_t>(row) > list->rows.size()) return;
    list->selected = row;
    PlaceRowEditors(*FindDialog(dialId), *list);
}

void DGListDeselectItem(int16_t dialId, int16_t item, int32_t row) {
    Item* list = List(dialId, item, "DGListDeselectItem");
    if (list != nullptr && (row == DG_ALL_ITEMS || list->selected == row)) list->selected = 0;
}

int32_t DGListGetSelected(int16_t dialId, int16_t item, int32_t startRow) {
    const Item* list = List(dialId, item, "DGListGetSelected");
    return list != nullptr && list->selected > startRow ? list->selected : 0;
}

void DGListDisableDraw(int16_t dialId, int16_t item) {
    if (Item* list = List(dialId, item, "DGListDisableDraw")) list->drawDisabled = true;
}

void DGListEnableDraw(int16_t dialId, int16_t item) {
    Item* list = List(dialId, item, "DGListEnableDraw");
    if (list == nullptr || !list->drawDisabled) return;
    list->drawDisabled = false;
    Changed(dialId, *list);
}

void DGListRedrawTabItem(int16_t dialId, int16_t item, int32_t row, int16_t tabIndex) {
    Item* list = List(dialId, item, "DGListRedrawTabItem");
    if (list == nullptr || !CheckTab(*list, dialId, tabIndex, "DGListRedrawTabItem")) return;
    if (FindRow(*list, dialId, row, "DGListRedrawTabItem") != nullptr) RequestRedraw(dialId, item, row, tabIndex);
}

void DGListViewSetItemUserData(int16_t dialId, int16_t item, int32_t row, intptr_t value) {
    Item* list = List(dialId, item, "DGListViewSetItemUserData");
    if (list == nullptr) return;
    if (Row* r = FindRow(*list, dialId, row, "DGListViewSetItemUserData")) r->userData = value;
}

intptr_t DGListViewGetItemUserData(int16_t dialId, int16_t item, int32_t row) {
    Item* list = List(dialId, item, "DGListViewGetItemUserData");
    if (list == nullptr) return 0;
    const Row* r = FindRow(*list, dialId, row, "DGListViewGetItemUserData");
    return r != nullptr ? r->userData : 0;
}

void DGListSetItemBackgroundColor(int16_t dialId, int16_t item, int32_t row, const DGColorRec& colour) {
    Item* list = List(dialId, item, "DGListSetItemBackgroundColor");
    if (list == nullptr) return;
    if (Row* r = FindRow(*list, dialId, row, "DGListSetItemBackgroundColor")) {
        r->background = colour;
        Changed(dialId, *list);
    }
}

DGColorRec DGListGetItemBackgroundColor(int16_t dialId, int16_t item, int32_t row) {
    Item* list = List(dialId, item, "DGListGetItemBackgroundColor");
    const Row* r = list != nullptr ? FindRow(*list, dialId, row, "DGListGetItemBackgroundColor") : nullptr;
    return r != nullptr ? r->background : DGColorRec{65535, 65535, 65535};
}

void DGListSetItemColor(int16_t dialId, int16_t item, int32_t row, const DGColorRec& colour) {
    Item* list = List(dialId, item, "DGListSetItemColor");
    if (list == nullptr) return;
    if (Row* r = FindRow(*list, dialId, row, "DGListSetItemColor")) {
        r->colour = colour;
        Changed(dialId, *list);
    }
}

DGColorRec DGListGetItemColor(int16_t dialId, int16_t item, int32_t row) {
    Item* list = List(dialId, item, "DGListGetItemColor");
    const Row* r = list != nullptr ? FindRow(*list, dialId, row, "DGListGetItemColor") : nullptr;
    return r != nullptr ? r->colour : DGColorRec{0, 0, 0};
}

void DGListSetItemStyle(int16_t dialId, int16_t item, int32_t row, int16_t style) {
    Item* list = List(dialId, item, "DGListSetItemStyle");
    if (list == nullptr) return;
    if (Row* r = FindRow(*list, dialId, row, "DGListSetItemStyle")) {
        r->style = style;
        Changed(dialId, *list);
    }
}

int16_t DGListGetItemStyle(int16_t dialId, int16_t item, int32_t row) {
    Item* list = List(dialId, item, "DGListGetItemStyle");
    const Row* r = list != nullptr ? FindRow(*list, dialId, row, "DGListGetItemStyle") : nullptr;
    return r != nullptr ? r->style : int16_t(0);
}

// ------------------------------------------------------------------------------------------------ Pop-ups

namespace {

Item* PopUp(int16_t dialId, int16_t item, const char* operation) {
    return FindKind(dialId, item, RSDialogItemKind::PopUp, operation);
}

bool InsertPopUp(int16_t dialId, int16_t item, int32_t pos, bool separator, const char* operation) {
    Item* popUp = PopUp(dialId, item, operation);
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
    popUp->popUpStatus.insert(popUp->popUpStatus.begin() + (pos - 1), DG_IS_ENABLED);
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
    Item* popUp = PopUp(dialId, item, "DGPopUpDeleteItem");
    if (popUp == nullptr) return;
    if (pos == DG_ALL_ITEMS) {
        popUp->popUpTexts.clear();
        popUp->popUpSeparators.clear();
        popUp->popUpStatus.clear();
        popUp->selected = 0;
        return;
    }
    if (!CheckPopUpPos(*popUp, dialId, pos, "DGPopUpDeleteItem")) return;
    popUp->popUpTexts.erase(popUp->popUpTexts.begin() + (pos - 1));
    popUp->popUpSeparators.erase(popUp->popUpSeparators.begin() + (pos - 1));
    popUp->popUpStatus.erase(popUp->popUpStatus.begin() + (pos - 1));
    if (popUp->selected == pos)
        popUp->selected = 0;
    else if (popUp->selected > pos)
        --popUp->selected;
}

int32_t DGPopUpGetItemCount(int16_t dialId, int16_t item) {
    const Item* popUp = PopUp(dialId, item, "DGPopUpGetItemCount");
    return popUp != nullptr ? static_cast<int32_t>(popUp->popUpTexts.size()) : 0;
}

void DGPopUpSetItemText(int16_t dialId, int16_t item, int32_t pos, const GS::UniString& text) {
    Item* popUp = PopUp(dialId, item, "DGPopUpSetItemText");
    if (popUp != nullptr && CheckPopUpPos(*popUp, dialId, pos, "DGPopUpSetItemText"))
        popUp->popUpTexts[static_cast<size_t>(pos - 1)] = text;
}

GS::UniString DGPopUpGetItemText(int16_t dialId, int16_t item, int32_t pos) {
    const Item* popUp = PopUp(dialId, item, "DGPopUpGetItemText");
    if (popUp == nullptr || !CheckPopUpPos(*popUp, dialId, pos, "DGPopUpGetItemText")) return GS::UniString();
    return popUp->popUpTexts[static_cast<size_t>(pos - 1)];
}

void DGPopUpSelectItem(int16_t dialId, int16_t item, int32_t pos) {
    Item* popUp = PopUp(dialId, item, "DGPopUpSelectItem");
    if (popUp == nullptr || !CheckPopUpPos(*popUp, dialId, pos, "DGPopUpSelectItem")) return;
    if (popUp->popUpSeparators[static_cast<size_t>(pos - 1)]) {
        Warning("DGPopUpSelectItem: item " + std::to_string(pos) + " of pop-up " + std::to_string(item) +
                " is a separator");
        return;
    }
    popUp->selected = pos;
}

int32_t DGPopUpGetSelected(int16_t dialId, int16_t item) {
    const Item* popUp = PopUp(dialId, item, "DGPopUpGetSelected");
    return popUp != nullptr ? popUp->selected : 0;
}

void DGPopUpSetItemStatus(int16_t dialId, int16_t item, int32_t pos, int16_t status) {
    Item* popUp = PopUp(dialId, item, "DGPopUpSetItemStatus");
    if (popUp != nullptr && CheckPopUpPos(*popUp, dialId, pos, "DGPopUpSetItemStatus"))
        popUp->popUpStatus[static_cast<size_t>(pos - 1)] = status;
}

int16_t DGPopUpGetItemStatus(int16_t dialId, int16_t item, int32_t pos) {
    const Item* popUp = PopUp(dialId, item, "DGPopUpGetItemStatus");
    if (popUp == nullptr || !CheckPopUpPos(*popUp, dialId, pos, "DGPopUpGetItemStatus")) return DG_IS_ENABLED;
    return popUp->popUpStatus[static_cast<size_t>(pos - 1)];
}
