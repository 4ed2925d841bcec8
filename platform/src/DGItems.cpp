// Headless dialog manager: window and item operations the module calls (texts, values, limits, radio groups,
// states, fonts, tab controls, rich edits, user-control styles).
#include "DGInternal.hpp"
#include "TE.hpp"
#include "UC.hpp"

#include <cmath>
#include <limits>
#include <sstream>

using namespace dgimpl;

namespace {

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

Dialog* OpenDialog(int16_t dialId, const char* operation) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) Warning(std::string(operation) + ": dialog " + std::to_string(dialId) + " is not open");
    return dialog;
}

Item* NumericItem(int16_t dialId, int16_t item, const char* operation) {
    Item* it = FindItem(dialId, item, operation);
    if (it != nullptr && !RSDialogItemTakesRange(it->kind)) {
        Warning(std::string(operation) + ": item " + std::to_string(item) + " of dialog " + std::to_string(dialId) +
                " is a " + RSDialogItemKindName(it->kind) + " and has no limits");
        return nullptr;
    }
    return it;
}

Item* TabControl(int16_t dialId, int16_t item, const char* operation) {
    return FindKind(dialId, item, RSDialogItemKind::TabControl, operation);
}

}  // namespace

namespace dgimpl {

void CheckRadio(Dialog& dialog, Item& item) {
    for (Item& other : dialog.items)
        if (other.kind == RSDialogItemKind::Radio && other.radioGroup == item.radioGroup) other.value = 0.0;
    item.value = 1.0;
}

}  // namespace dgimpl

// ------------------------------------------------------------------------------------------------- Window

void DGSetDialogTitle(int16_t dialId, const GS::UniString& title) {
    if (Dialog* dialog = OpenDialog(dialId, "DGSetDialogTitle")) dialog->title = title;
}

GS::UniString DGGetDialogTitle(int16_t dialId) {
    const Dialog* dialog = FindDialog(dialId);
    return dialog != nullptr ? dialog->title : GS::UniString();
}

void DGSetDialogClientSize(int16_t dialId, int32_t width, int32_t height, int16_t /*anchor*/, bool /*keepPosition*/) {
    if (Dialog* dialog = OpenDialog(dialId, "DGSetDialogClientSize")) {
        dialog->width = width;
        dialog->height = height;
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
    if (Dialog* dialog = OpenDialog(dialId, "DGSetDialogClientPosition")) {
        dialog->x = x;
        dialog->y = y;
    }
}

bool DGGetDialogClientPosition(int16_t dialId, int32_t* x, int32_t* y) {
    const Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) return false;
    if (x != nullptr) *x = dialog->x;
    if (y != nullptr) *y = dialog->y;
    return true;
}

void DGSetDialogFramePosition(int16_t dialId, int32_t x, int32_t y) { DGSetDialogClientPosition(dialId, x, y); }

bool DGGetDialogFramePosition(int16_t dialId, int32_t* x, int32_t* y) {
    return DGGetDialogClientPosition(dialId, x, y);
}

void DGSetFocus(int16_t dialId, int16_t item) {
    Dialog* dialog = OpenDialog(dialId, "DGSetFocus");
    if (dialog == nullptr) return;
    if (item != DG_DIALOG_WINDOW && FindItem(dialId, item, "DGSetFocus") == nullptr) return;
    dialog->focus = item;
}

int16_t DGGetFocus(int16_t dialId) {
    const Dialog* dialog = FindDialog(dialId);
    return dialog != nullptr ? dialog->focus : 0;
}

// -------------------------------------------------------------------------------------- Texts and values

void DGSetItemText(int16_t dialId, int16_t item, const GS::UniString& text) {
    Item* it = FindItem(dialId, item, "DGSetItemText");
    if (it == nullptr) return;
    if (!IsNumericEdit(it->kind)) {
        it->text = text;
        return;
    }
    double value = 0.0;
    std::string why;
    if (text.ToUtf8().find_first_not_of(" \t") == std::string::npos) {
        it->value = 0.0;
        it->blank = true;
    } else if (ReadValue(*it, text.ToUtf8(), &value, &why)) {
        it->value = value;
        it->blank = false;
    } else
        Warning("DGSetItemText: item " + std::to_string(item) + " of dialog " + std::to_string(dialId) + ": " + why);
}

GS::UniString DGGetItemText(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGGetItemText");
    if (it == nullptr) return GS::UniString();
    return IsNumericEdit(it->kind) ? ValueText(*it) : it->text;
}

void DGSetItemValLong(int16_t dialId, int16_t item, int32_t value) { DGSetItemValDouble(dialId, item, value); }

int32_t DGGetItemValLong(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGGetItemValLong");
    if (it == nullptr) return 0;
    const double v = std::trunc(it->value);
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

void DGSetItemValDouble(int16_t dialId, int16_t item, double value) {
    Item* it = FindItem(dialId, item, "DGSetItemValDouble");
    if (it == nullptr) return;
    if (it->kind == RSDialogItemKind::Radio && value != 0.0) {
        CheckRadio(*FindDialog(dialId), *it);
        return;
    }
    if (it->kind == RSDialogItemKind::Check) value = value != 0.0 ? 1.0 : 0.0;
    it->value = value;
    it->blank = false;
}

double DGGetItemValDouble(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGGetItemValDouble");
    return it != nullptr ? it->value : 0.0;
}

void DGSetItemMinDouble(int16_t dialId, int16_t item, double value) {
    if (Item* it = NumericItem(dialId, item, "DGSetItemMinDouble")) {
        it->hasMin = true;
        it->minValue = value;
    }
}

void DGSetItemMaxDouble(int16_t dialId, int16_t item, double value) {
    if (Item* it = NumericItem(dialId, item, "DGSetItemMaxDouble")) {
        it->hasMax = true;
        it->maxValue = value;
    }
}

double DGGetItemMinDouble(int16_t dialId, int16_t item) {
    const Item* it = NumericItem(dialId, item, "DGGetItemMinDouble");
    return it != nullptr && it->hasMin ? it->minValue : -std::numeric_limits<double>::max();
}

double DGGetItemMaxDouble(int16_t dialId, int16_t item) {
    const Item* it = NumericItem(dialId, item, "DGGetItemMaxDouble");
    return it != nullptr && it->hasMax ? it->maxValue : std::numeric_limits<double>::max();
}

void DGSetItemMinLong(int16_t dialId, int16_t item, int32_t value) { DGSetItemMinDouble(dialId, item, value); }
void DGSetItemMaxLong(int16_t dialId, int16_t item, int32_t value) { DGSetItemMaxDouble(dialId, item, value); }

void DGSetCheckBoxState(int16_t dialId, int16_t item, bool checked) {
    if (Item* it = FindKind(dialId, item, RSDialogItemKind::Check, "DGSetCheckBoxState")) it->value = checked ? 1 : 0;
}

bool DGGetCheckBoxState(int16_t dialId, int16_t item) {
    const Item* it = FindKind(dialId, item, RSDialogItemKind::Check, "DGGetCheckBoxState");
    return it != nullptr && it->value != 0.0;
}

void DGSelectRadio(int16_t dialId, int16_t item) {
    if (Item* it = FindKind(dialId, item, RSDialogItemKind::Radio, "DGSelectRadio"))
        CheckRadio(*FindDialog(dialId), *it);
}

int16_t DGGetCheckedRadio(int16_t dialId, int16_t group) {
    const Dialog* dialog = OpenDialog(dialId, "DGGetCheckedRadio");
    if (dialog == nullptr) return 0;
    bool groupExists = false;
    for (const Item& it : dialog->items) {
        if (it.kind != RSDialogItemKind::Radio || it.radioGroup != group) continue;
        groupExists = true;
        if (it.value != 0.0) return it.id;
    }
    if (!groupExists)
        Warning("DGGetCheckedRadio: dialog " + std::to_string(dialId) + " has no radio group " + std::to_string(group));
    return 0;
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
        if (visible && !it.visible) shown.push_back(it.id);
        it.visible = visible;
    });
    // What comes into view is drawn (a tab control: the page it shows).
    for (int16_t id : shown) {
        Item* it = FindItem(dialId, id, "DGSetItemVisible");
        if (it == nullptr) continue;
        if (it->kind == RSDialogItemKind::TabControl && it->selected >= 1)
            RequestRedrawOfAll(it->pages[static_cast<size_t>(it->selected - 1)]);
        else
            RequestRedraw(dialId, id);
    }
}

void DGShowItem(int16_t dialId, int16_t item) { DGSetItemVisible(dialId, item, true); }
void DGHideItem(int16_t dialId, int16_t item) { DGSetItemVisible(dialId, item, false); }

bool DGIsItemVisible(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGIsItemVisible");
    return it != nullptr && it->visible;
}

void DGRedrawItem(int16_t dialId, int16_t item) {
    if (item == DG_ALL_ITEMS) {
        if (OpenDialog(dialId, "DGRedrawItem") != nullptr) RequestRedrawOfAll(dialId);
        return;
    }
    if (const Item* it = FindItem(dialId, item, "DGRedrawItem"))
        if (it->kind == RSDialogItemKind::User || it->kind == RSDialogItemKind::List) RequestRedraw(dialId, item);
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

void DGMoveItem(int16_t dialId, int16_t item, int32_t hDisp, int32_t vDisp) {
    if (Item* it = FindItem(dialId, item, "DGMoveItem")) {
        it->rect.left += hDisp;
        it->rect.right += hDisp;
        it->rect.top += vDisp;
        it->rect.bottom += vDisp;
    }
}

void DGGrowItem(int16_t dialId, int16_t item, int32_t hGrow, int32_t vGrow) {
    if (Item* it = FindItem(dialId, item, "DGGrowItem")) {
        it->rect.right = std::max(it->rect.left, it->rect.right + hGrow);
        it->rect.bottom = std::max(it->rect.top, it->rect.bottom + vGrow);
    }
}

void DGSetItemImage(int16_t dialId, int16_t item, const DG::Image& image) {
    if (Item* it = FindItem(dialId, item, "DGSetItemImage")) it->image = image.GetResourceId();
}

void DGSetItemIcon(int16_t dialId, int16_t item, const DG::Icon& icon) {
    if (Item* it = FindKind(dialId, item, RSDialogItemKind::Icon, "DGSetItemIcon")) it->image = icon.GetResourceId();
}

void DGSetItemFont(int16_t dialId, int16_t item, int32_t fontCode) {
    if (Item* it = FindItem(dialId, item, "DGSetItemFont")) it->fontCode = fontCode;
}

int32_t DGGetItemFont(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGGetItemFont");
    return it != nullptr ? it->fontCode : 0;
}

void DGSetItemHelpIndex(int16_t dialId, int16_t item, int32_t helpIndex) {
    if (Item* it = FindItem(dialId, item, "DGSetItemHelpIndex")) it->helpIndex = helpIndex;
}

int32_t DGGetItemHelpIndex(int16_t dialId, int16_t item) {
    const Item* it = FindItem(dialId, item, "DGGetItemHelpIndex");
    return it != nullptr ? it->helpIndex : 0;
}

// --------------------------------------------------------------------------------------------- Rich edits

void DGRichEditSetText(int16_t dialId, int16_t item, const GS::UniString& text) {
    if (Item* it = FindKind(dialId, item, RSDialogItemKind::RichEdit, "DGRichEditSetText")) it->text = text;
}

GS::UniString DGRichEditGetText(int16_t dialId, int16_t item) {
    const Item* it = FindKind(dialId, item, RSDialogItemKind::RichEdit, "DGRichEditGetText");
    return it != nullptr ? it->text : GS::UniString();
}

void DGRichEditSetFont(int16_t dialId, int16_t item, const TE::Font& font) {
    if (Item* it = FindKind(dialId, item, RSDialogItemKind::RichEdit, "DGRichEditSetFont")) {
        std::ostringstream s;
        s << font.GetFamily().GetName().ToUtf8() << ' ' << font.GetSize();
        if (font.GetStyle() != TE::Font::Plain) s << " style " << font.GetStyle();
        it->font = s.str();
    }
}

// ------------------------------------------------------------------------------------------- Tab controls

int16_t DGTabControlGetTabPageId(int16_t dialId, int16_t item, int16_t page) {
    const Item* it = TabControl(dialId, item, "DGTabControlGetTabPageId");
    if (it == nullptr) return 0;
    if (page < 1 || static_cast<size_t>(page) > it->pages.size()) {
        Warning("DGTabControlGetTabPageId: tab control " + std::to_string(item) + " of dialog " +
                std::to_string(dialId) + " has no page " + std::to_string(page));
        return 0;
    }
    return it->pages[static_cast<size_t>(page - 1)];
}

int16_t DGTabControlGetTabCount(int16_t dialId, int16_t item) {
    const Item* it = TabControl(dialId, item, "DGTabControlGetTabCount");
    return it != nullptr ? static_cast<int16_t>(it->pages.size()) : 0;
}

void DGTabControlSelectTabItem(int16_t dialId, int16_t item, int16_t page) {
    Item* it = TabControl(dialId, item, "DGTabControlSelectTabItem");
    if (it == nullptr) return;
    if (page < 1 || static_cast<size_t>(page) > it->pages.size()) {
        Warning("DGTabControlSelectTabItem: tab control " + std::to_string(item) + " has no page " +
                std::to_string(page));
        return;
    }
    if (it->selected == page) return;
    it->selected = page;
    RequestRedrawOfAll(it->pages[static_cast<size_t>(page - 1)]);
}

int16_t DGTabControlGetSelectedTabItem(int16_t dialId, int16_t item) {
    const Item* it = TabControl(dialId, item, "DGTabControlGetSelectedTabItem");
    return it != nullptr ? static_cast<int16_t>(it->selected) : 0;
}

// ------------------------------------------------------------------------------------------ User controls

void UC257SetStyle(int16_t dialId, int16_t item, int32_t style) {
    if (Item* it = FindKind(dialId, item, RSDialogItemKind::UserControl, "UC257SetStyle")) it->style = style;
}

int32_t UC257GetStyle(int16_t dialId, int16_t item) {
    const Item* it = FindKind(dialId, item, RSDialogItemKind::UserControl, "UC257GetStyle");
    return it != nullptr ? it->style : 0;
}

void UC257SetColor(int16_t dialId, int16_t item, int16_t colourIndex, const DGColorRec& colour) {
    if (Item* it = FindKind(dialId, item, RSDialogItemKind::UserControl, "UC257SetColor"))
        it->colours[colourIndex] = colour;
}

bool UC257GetColor(int16_t dialId, int16_t item, int16_t colourIndex, DGColorRec* colour) {
    const Item* it = FindKind(dialId, item, RSDialogItemKind::UserControl, "UC257GetColor");
    if (it == nullptr) return false;
    const auto found = it->colours.find(colourIndex);
    if (found == it->colours.end()) return false;
    if (colour != nullptr) *colour = found->second;
    return true;
}
