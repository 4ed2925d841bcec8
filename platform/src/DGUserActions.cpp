// Headless dialog manager: what the user does, taken from the driver queue and delivered as the user would do
// it, or refused as an error that names the action.
#include "DGInternal.hpp"

#include <cmath>
#include <sstream>

namespace dgimpl {

namespace {

std::string FormatReal(double value) {
    std::ostringstream s;
    s << value;
    return s.str();
}

// Where an item's action lands: its tab page, and its dialog unless the text goes on that dialog's own line.
std::string OnWhat(const Action& a, bool withDialog) {
    std::string on;
    if (a.tabItem != 0) on = " on page " + std::to_string(a.page) + " of tab control " + std::to_string(a.tabItem);
    return withDialog ? on + " on dialog " + std::to_string(a.dialogId) : on;
}

std::string WaiterName(Target target, int16_t dialId) {
    switch (target) {
        case Target::Dialog: return "dialog " + std::to_string(dialId);
        case Target::Alert: return "an alert";
        case Target::Folder: return "a folder dialog";
        case Target::File: return "a file dialog";
        case Target::Colour: return "a colour dialog";
    }
    return "?";
}

bool IsFor(const Action& a, Target target, int16_t dialId) {
    return a.target == target && (target != Target::Dialog || a.dialogId == dialId);
}

// The user turns to modeless window `root`: the window that was active hears that it is no more.
void Activate(const Dialog& root) {
    State& state = GetState();
    if (root.modal || state.activeModeless == root.id) return;
    const int16_t previous = state.activeModeless;
    const int16_t id = root.id;
    state.activeModeless = id;
    if (previous != 0 && FindDialog(previous) != nullptr) {
        Note(previous, "activate", 0);
        Deliver(previous, DG_MSG_ACTIVATE, 0, 0);
    }
    if (FindDialog(id) != nullptr) {
        Note(id, "activate", 1);
        Deliver(id, DG_MSG_ACTIVATE, 1, 0);
    }
}

int16_t SendClick(int16_t dialId, int16_t item, const DGMousePosData& mouse) {
    GetState().mouse = mouse;
    const int16_t answer = Deliver(dialId, DG_MSG_CLICK, item, 0);
    Note(dialId, "click", item, " -> " + std::to_string(answer));
    return answer;
}

void SendChange(int16_t dialId, int16_t item, const std::string& suffix = "") {
    Note(dialId, "change", item, suffix);
    Deliver(dialId, DG_MSG_CHANGE, item, 0);
}

bool TakesFocus(RSDialogItemKind kind) {
    return kind == RSDialogItemKind::Edit || kind == RSDialogItemKind::RichEdit || IsNumericEdit(kind);
}

// The number an action gives for an item: the value queued, or its text read as the item reads it.
bool ActionNumber(const Item& item, const Action& action, double* value, std::string* why) {
    if (action.kind == ActionKind::SetLong) {
        *value = action.number;
        return true;
    }
    if (action.kind == ActionKind::SetDouble) {
        *value = action.real;
        return true;
    }
    return ReadValue(item, action.text, value, why);
}

// Sets the value or text the action gives. False (with an error) when the item cannot take it; `changed` is
// false when the item already held it (a check box clicked to the state it has: nothing happens).
bool StoreUserValue(Dialog& dialog, Item& item, const Action& action, const std::string& what, bool* changed) {
    const std::string itemName = "item " + std::to_string(item.id);
    const std::string kindName = RSDialogItemKindName(item.kind);
    *changed = true;
    if (item.kind == RSDialogItemKind::Edit || item.kind == RSDialogItemKind::RichEdit) {
        if (action.kind != ActionKind::SetText) {
            Error(what + ": " + itemName + " is a " + kindName + " and takes a text, not a number");
            return false;
        }
        GS::UniString text;
        if (!GS::UniString::DecodeUtf8(action.text.data(), static_cast<uint32_t>(action.text.size()), &text)) {
            Error(what + ": the text is not valid UTF-8");
            return false;
        }
        if (item.textLimit > 0 && text.GetLength() > static_cast<uint32_t>(item.textLimit)) {
            Error(what + ": " + itemName + " takes at most " + std::to_string(item.textLimit) +
                  " characters, the user cannot type " + std::to_string(text.GetLength()));
            return false;
        }
        item.text = text;
        return true;
    }
    const bool numeric = IsNumericEdit(item.kind) || item.kind == RSDialogItemKind::Check ||
        item.kind == RSDialogItemKind::Radio || item.kind == RSDialogItemKind::UserControl;
    if (!numeric) {
        Error(what + ": " + itemName + " is a " + kindName +
              (action.kind == ActionKind::SetText ? " item and cannot be typed into" : " and takes no number"));
        return false;
    }
    double value = 0.0;
    std::string why;
    if (!ActionNumber(item, action, &value, &why)) {
        Error(what + ": " + why);
        return false;
    }
    const bool whole = item.kind == RSDialogItemKind::IntEdit || item.kind == RSDialogItemKind::Slider ||
        item.kind == RSDialogItemKind::UserControl;
    if (whole && value != std::trunc(value)) {
        Error(what + ": " + itemName + " takes whole numbers only");
        return false;
    }
    switch (item.kind) {
        case RSDialogItemKind::Check:
            value = value != 0.0 ? 1.0 : 0.0;
            *changed = value != item.value;
            item.value = value;
            return true;
        case RSDialogItemKind::Radio:
            if (value == 0.0) {
                Error(what + ": a radio button is unchecked only by checking another of its group");
                return false;
            }
            *changed = item.value == 0.0;
            CheckRadio(dialog, item);
            return true;
        case RSDialogItemKind::UserControl:
            if (item.controlType < 0) {
                Error(what + ": user control " + std::to_string(item.id) +
                      " is bound to no host chooser (the module binds it with 'SUCC' at init)");
                return false;
            }
            if (item.accepts && !item.accepts(static_cast<int32_t>(value), &why)) {
                Error(what + ": " + why);
                return false;
            }
            item.value = value;
            return true;
        default: break;
    }
    if ((item.hasMin && value < item.minValue) || (item.hasMax && value > item.maxValue)) {
        Error(what + ": " + itemName + " takes " + (item.hasMin ? FormatReal(item.minValue) : "any number") + " to " +
              (item.hasMax ? FormatReal(item.maxValue) : "any number") + ", not " + FormatReal(value));
        return false;
    }
    item.value = value;
    item.blank = false;
    return true;
}

// The dialog or tab page an action is for; null with an error.
Dialog* TargetOf(const Action& action, const std::string& what) {
    Dialog* root = FindDialog(action.dialogId);
    if (root == nullptr || root->parentId != 0) {
        Error(what + ": the dialog is not open");
        return nullptr;
    }
    if (action.tabItem == 0) return root;
    const Item* control = ItemIn(*root, action.tabItem);
    if (control == nullptr || control->kind != RSDialogItemKind::TabControl) {
        Error(what + ": the dialog has no tab control " + std::to_string(action.tabItem));
        return nullptr;
    }
    if (action.page < 1 || static_cast<size_t>(action.page) > control->pages.size()) {
        Error(what + ": tab control " + std::to_string(action.tabItem) + " has " +
              std::to_string(control->pages.size()) + " pages");
        return nullptr;
    }
    if (!control->enabled || !control->visible) {
        Error(what + ": tab control " + std::to_string(action.tabItem) + " is " +
              (control->enabled ? "hidden" : "disabled"));
        return nullptr;
    }
    if (control->selected != action.page) {
        Error(what + ": page " + std::to_string(action.page) + " is not shown (page " +
              std::to_string(control->selected) + " is)");
        return nullptr;
    }
    return FindDialog(control->pages[static_cast<size_t>(action.page - 1)]);
}

int16_t ApplyWindowAction(Dialog& root, const Action& action, const std::string& what) {
    const int16_t dialId = root.id;
    if (action.kind == ActionKind::CloseWindow || action.kind == ActionKind::CloseBox) {
        if (root.modal) {
            Error(what + ": a modal dialog is closed by a click on one of its buttons");
            return 0;
        }
        if (action.kind == ActionKind::CloseWindow) {
            CloseAndLog(dialId, 0);
            return 0;
        }
        Activate(root);
        DGMousePosData mouse = {};
        mouse.dialId = dialId;
        mouse.item = DG_CLOSEBOX;
        if (FindDialog(dialId) != nullptr && SendClick(dialId, DG_CLOSEBOX, mouse) != 0) CloseAndLog(dialId, 0);
        return 0;
    }
    // Resize.
    if (action.number < 0 || action.second < 0 || action.number > 10000 || action.second > 10000) {
        Error(what + ": a window is 0 to 10000 pixels wide and high");
        return 0;
    }
    Activate(root);
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) return 0;
    DGResizeMsgData grow{action.number - dialog->width, action.second - dialog->height};
    if (grow.hGrow == 0 && grow.vGrow == 0) {
        NoteText(dialId, "resize to the same size");
        return 0;
    }
    dialog->width = action.number;
    dialog->height = action.second;
    NoteText(dialId, "resize " + std::to_string(grow.hGrow) + " " + std::to_string(grow.vGrow));
    Deliver(dialId, DG_MSG_RESIZE, 0, reinterpret_cast<DGMessageData>(&grow));
    RequestRedrawOfAll(dialId);
    return 0;
}

int16_t ApplySwitchTab(Dialog& root, const Action& action, const std::string& what) {
    Item* control = ItemIn(root, action.item);
    if (control == nullptr || control->kind != RSDialogItemKind::TabControl) {
        Error(what + ": item " + std::to_string(action.item) + " is no tab control");
        return 0;
    }
    if (action.number < 1 || static_cast<size_t>(action.number) > control->pages.size()) {
        Error(what + ": the tab control has " + std::to_string(control->pages.size()) + " pages");
        return 0;
    }
    if (control->selected == action.number) {
        Note(root.id, "tab", control->id, " already shows page " + std::to_string(action.number));
        return 0;
    }
    control->selected = action.number;
    const int16_t dialId = root.id;
    const int16_t pageId = control->pages[static_cast<size_t>(action.number - 1)];
    SendChange(dialId, action.item, " (page " + std::to_string(action.number) + ")");
    RequestRedrawOfAll(pageId);
    return 0;
}

// The row of a list under a point, 0 when none.
int32_t RowAt(const Item& list, int32_t y) {
    const int32_t height = list.rowHeight > 0 ? list.rowHeight : 16;
    if (y < 0) return 0;
    const int32_t row = y / height + 1;
    return static_cast<size_t>(row) <= list.rows.size() ? row : 0;
}

int16_t ApplyClick(Dialog& dialog, Item& item, const Action& action, const std::string& what) {
    const int16_t dialId = dialog.id;
    const int16_t itemId = item.id;
    const bool onPage = dialog.parentId != 0;
    DGMousePosData mouse = {};
    mouse.dialId = dialId;
    mouse.item = itemId;
    mouse.h = item.rect.GetWidth() / 2;
    mouse.v = item.rect.GetHeight() / 2;
    if (action.kind == ActionKind::ClickAt) {
        const bool list = item.kind == RSDialogItemKind::List;
        DGDriver::ClickPoint point = action.point;
        const bool rowClick = action.second != 0;
        if (rowClick && !list) {
            Error(what + ": the item is no list");
            return 0;
        }
        if (rowClick) {
            // A click on a row: the middle of the row, at x.
            if (action.number < 1 || static_cast<size_t>(action.number) > item.rows.size() ||
                item.rows[static_cast<size_t>(action.number - 1)].separator) {
                Error(what + ": the list has no row " + std::to_string(action.number) + " the user can click (" +
                      std::to_string(item.rows.size()) + " rows)");
                return 0;
            }
            const int32_t height = item.rowHeight > 0 ? item.rowHeight : 16;
            point.y = (action.number - 1) * height + height / 2;
        }
        // A list scrolls: any row lies under some y.
        if (point.x < 0 || point.x > item.rect.GetWidth() || point.y < 0 ||
            (!list && point.y > item.rect.GetHeight())) {
            Error(what + ": the point lies outside the item (" + std::to_string(item.rect.GetWidth()) + " x " +
                  std::to_string(item.rect.GetHeight()) + ")");
            return 0;
        }
        mouse.h = point.x;
        mouse.v = point.y;
        mouse.modifiers = point.modifiers;
        if (list) {
            const int32_t row = RowAt(item, point.y);
            if (row != 0 && !item.rows[static_cast<size_t>(row - 1)].separator && item.selected != row) {
                item.selected = row;
                PlaceRowEditors(dialog, item);
                SendChange(dialId, itemId);
            }
        }
    } else if (item.kind == RSDialogItemKind::Radio) {
        CheckRadio(dialog, item);
    }
    if (FindDialog(dialId) == nullptr) return 0;
    if (item.kind == RSDialogItemKind::Check) {
        // The box turns and the module hears the change, as when the user sets it.
        item.value = item.value != 0.0 ? 0.0 : 1.0;
        SendChange(dialId, itemId);
        return 0;
    }
    const int16_t answer = SendClick(dialId, itemId, mouse);
    // A click on a tab page's item never closes the dialog.
    return onPage ? 0 : answer;
}

}  // namespace

namespace {
std::string Described(const Action& a, bool withDialog) {
    const std::string on = OnWhat(a, withDialog);
    const std::string item = std::to_string(a.item);
    switch (a.kind) {
        case ActionKind::SetLong: return "set item " + item + " to " + std::to_string(a.number) + on;
        case ActionKind::SetDouble: return "set item " + item + " to " + FormatReal(a.real) + on;
        case ActionKind::SetText: return "set item " + item + " to text " + Quote(GS::UniString(a.text)) + on;
        case ActionKind::PickRow: return "pick row " + std::to_string(a.number) + " of list " + item + on;
        case ActionKind::PickPopUp: return "pick item " + std::to_string(a.number) + " of pop-up " + item + on;
        case ActionKind::Click: return "click item " + item + on;
        case ActionKind::ClickAt: {
            std::string s = a.second != 0
                ? "click row " + std::to_string(a.number) + " of list " + item + " at x " + std::to_string(a.point.x)
                : "click item " + item + " at " + std::to_string(a.point.x) + " " + std::to_string(a.point.y);
            if (a.point.modifiers != 0) s += " with modifiers " + std::to_string(a.point.modifiers);
            return s + on;
        }
        case ActionKind::SwitchTab: return "show page " + std::to_string(a.number) + " of tab control " + item + on;
        case ActionKind::Resize:
            return "resize dialog " + std::to_string(a.dialogId) + " to " + std::to_string(a.number) + " x " +
                std::to_string(a.second);
        case ActionKind::CloseWindow: return "close the window of dialog " + std::to_string(a.dialogId);
        case ActionKind::CloseBox: return "click the close box of dialog " + std::to_string(a.dialogId);
        case ActionKind::AlertAnswer: return "answer an alert with button " + std::to_string(a.number);
        case ActionKind::FolderAnswer: return "answer a folder dialog with " + Quote(GS::UniString(a.text));
        case ActionKind::FileAnswer: {
            std::string s = "answer a file dialog with";
            for (const std::string& p : a.paths) s += " " + Quote(GS::UniString(p));
            return s;
        }
        case ActionKind::ColourAnswer:
            return "answer a colour dialog with " + std::to_string(a.rgb[0]) + " " + std::to_string(a.rgb[1]) + " " +
                std::to_string(a.rgb[2]);
        case ActionKind::Cancel:
            return a.target == Target::Folder ? "cancel a folder dialog"
                : a.target == Target::File    ? "cancel a file dialog"
                                              : "cancel a colour dialog";
    }
    return "unknown action";
}
}  // namespace

std::string Describe(const Action& a) { return Described(a, true); }

std::string DescribeAnswer(const Action& a) { return Described(a, false); }

int16_t ApplyAnswer(const Action& action, const WaitScope& wait) {
    // Noted before it runs: an action may close its window, which logs it.
    const size_t faults = wait.Faults().size();
    Dialog* root = FindDialog(action.dialogId);
    if (root != nullptr) root->used.push_back(DescribeAnswer(action));
    const int16_t answer = Apply(action);
    root = FindDialog(action.dialogId);
    if (root != nullptr && wait.Faults().size() != faults && !root->used.empty()) root->used.pop_back();
    return answer;
}

bool FrontAlertAnswerIs(int32_t button) {
    const auto& queue = GetState().queue;
    return !queue.empty() && IsFor(queue.front(), Target::Alert, 0) && queue.front().number == button;
}

std::optional<Action> NextActionFor(Target target, int16_t dialId) {
    auto& queue = GetState().queue;
    for (;;) {
        bool any = false;
        for (const Action& a : queue) any = any || IsFor(a, target, dialId);
        if (!any) return std::nullopt;
        Action front = queue.front();
        queue.pop_front();
        if (IsFor(front, target, dialId)) return front;
        Error("action \"" + Describe(front) + "\" came while " + WaiterName(target, dialId) + " was waiting; dropped");
    }
}

int16_t Apply(const Action& action) {
    const std::string what = Describe(action);
    if (action.target != Target::Dialog) {
        Error(what + ": not an action for a dialog");
        return 0;
    }
    Dialog* root = FindDialog(action.dialogId);
    if (root == nullptr || root->parentId != 0) {
        Error(what + ": the dialog is not open");
        return 0;
    }
    if (action.kind == ActionKind::CloseWindow || action.kind == ActionKind::CloseBox ||
        action.kind == ActionKind::Resize) {
        if (!IsShown(*root) && action.kind != ActionKind::CloseWindow) {
            Error(what + ": the dialog is hidden");
            return 0;
        }
        return ApplyWindowAction(*root, action, what);
    }
    if (!IsShown(*root)) {
        Error(what + ": the dialog is hidden");
        return 0;
    }
    const int16_t rootId = root->id;
    Activate(*root);
    root = FindDialog(rootId);
    if (root == nullptr) return 0;
    if (action.kind == ActionKind::SwitchTab) return ApplySwitchTab(*root, action, what);
    Dialog* dialog = TargetOf(action, what);
    if (dialog == nullptr) return 0;
    Item* item = ItemIn(*dialog, action.item);
    if (item == nullptr) {
        Error(what + ": no such item");
        return 0;
    }
    if (!item->enabled || !item->visible) {
        Error(what + ": the item is " + (item->enabled ? "hidden" : "disabled"));
        return 0;
    }
    const int16_t dialId = dialog->id;
    const int16_t itemId = item->id;
    switch (action.kind) {
        case ActionKind::Click:
        case ActionKind::ClickAt: return ApplyClick(*dialog, *item, action, what);
        case ActionKind::SetLong:
        case ActionKind::SetDouble:
        case ActionKind::SetText: {
            bool changed = true;
            if (!StoreUserValue(*dialog, *item, action, what, &changed)) return 0;
            if (TakesFocus(item->kind)) dialog->focus = itemId;
            if (!changed) {
                Note(dialId, "set", itemId, " to what it held: no change");
                return 0;
            }
            if (item->kind == RSDialogItemKind::UserControl) {
                Note(dialId, "track", itemId);
                Deliver(dialId, DG_MSG_TRACK, itemId, 0);
            }
            SendChange(dialId, itemId);
            return 0;
        }
        case ActionKind::PickRow:
            if (item->kind != RSDialogItemKind::List) {
                Error(what + ": the item is no list");
                return 0;
            }
            if (action.number < 1 || action.number > static_cast<int32_t>(item->rows.size())) {
                Error(what + ": the list has " + std::to_string(item->rows.size()) + " rows");
                return 0;
            }
            if (item->rows[static_cast<size_t>(action.number - 1)].separator) {
                Error(what + ": row " + std::to_string(action.number) + " is a separator");
                return 0;
            }
            item->selected = action.number;
            PlaceRowEditors(*dialog, *item);
            SendChange(dialId, itemId);
            return 0;
        case ActionKind::PickPopUp:
            if (item->kind != RSDialogItemKind::PopUp) {
                Error(what + ": the item is no pop-up");
                return 0;
            }
            if (action.number < 1 || action.number > static_cast<int32_t>(item->popUpTexts.size()) ||
                item->popUpSeparators[static_cast<size_t>(action.number - 1)]) {
                Error(what + ": no such pop-up item (the pop-up has " + std::to_string(item->popUpTexts.size()) + ")");
                return 0;
            }
            if (item->popUpStatus[static_cast<size_t>(action.number - 1)] == DG_IS_DISABLE) {
                Error(what + ": pop-up item " + std::to_string(action.number) + " is disabled");
                return 0;
            }
            item->selected = action.number;
            SendChange(dialId, itemId);
            return 0;
        default: Error(what + ": not an action for an item"); return 0;
    }
}

}  // namespace dgimpl
