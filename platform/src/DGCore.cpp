// Headless dialog manager: dialogs, the wait for the user (driver queue), alerts and system dialogs.
#include "DGInternal.hpp"

#include <cmath>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <sstream>

namespace dgimpl {

State& GetState() {
    static State state;
    return state;
}

void Error(const std::string& text) {
    std::cerr << "DG error: " << text << '\n';
    GetState().errors.push_back(text);
}

void Warning(const std::string& text) { GetState().warnings.push_back(text); }

Dialog* FindDialog(int16_t dialId) {
    auto& dialogs = GetState().dialogs;
    const auto it = dialogs.find(dialId);
    return it == dialogs.end() ? nullptr : it->second.get();
}

Item* FindItem(int16_t dialId, int16_t item, const char* operation) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) {
        Warning(std::string(operation) + ": dialog " + std::to_string(dialId) + " is not open");
        return nullptr;
    }
    for (Item& it : dialog->items)
        if (it.id == item) return &it;
    Warning(std::string(operation) + ": dialog " + std::to_string(dialId) + " has no item " + std::to_string(item));
    return nullptr;
}

std::string Quote(const GS::UniString& text) {
    std::string out = "\"";
    for (char c : text.ToUtf8()) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else
            out.push_back(c);
    }
    return out + "\"";
}

int16_t Deliver(int16_t dialId, int16_t message, int16_t item, DGMessageData data) {
    State& state = GetState();
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr || dialog->callback == nullptr) return 0;
    const DGDialCallBack callback = dialog->callback;
    const DGUserData userData = dialog->userData;
    int16_t answer = 0;
    ++state.depth;
    try {
        answer = callback(message, dialId, item, userData, data);
    } catch (const std::exception& e) {
        Error("callback of dialog " + std::to_string(dialId) + " threw on message " + std::to_string(message) + ": " +
              e.what());
    } catch (...) {
        Error("callback of dialog " + std::to_string(dialId) + " threw on message " + std::to_string(message));
    }
    --state.depth;
    FlushRedraws();
    return answer;
}

void RequestRedraw(int16_t dialId, int16_t item) {
    State& state = GetState();
    for (const auto& pending : state.pendingRedraws)
        if (pending.first == dialId && pending.second == item) return;
    state.pendingRedraws.emplace_back(dialId, item);
    if (state.depth == 0) FlushRedraws();
}

void RequestRedrawOfUserItems(int16_t dialId) {
    if (Dialog* dialog = FindDialog(dialId)) {
        std::vector<int16_t> ids;
        for (const Item& item : dialog->items)
            if (item.kind == RSDialogItemKind::User && item.visible) ids.push_back(item.id);
        for (int16_t id : ids) RequestRedraw(dialId, id);
    }
}

void FlushRedraws() {
    State& state = GetState();
    if (state.flushing) return;
    state.flushing = true;
    int32_t guard = 0;
    while (!state.pendingRedraws.empty()) {
        if (++guard > 10000) {
            Error("user items keep asking for redraws; redraws dropped");
            state.pendingRedraws.clear();
            break;
        }
        const auto [dialId, itemId] = state.pendingRedraws.front();
        state.pendingRedraws.pop_front();
        Dialog* dialog = FindDialog(dialId);
        if (dialog == nullptr || !dialog->visible || dialog->closing) continue;
        Item* item = nullptr;
        for (Item& it : dialog->items)
            if (it.id == itemId) item = &it;
        if (item == nullptr || !item->visible || item->kind != RSDialogItemKind::User) continue;
        item->drawing.clear();
        DGUserUpdateData data{dialId, itemId, 0, 0, item->rect.GetWidth(), item->rect.GetHeight()};
        dialog->events.push_back("update " + std::to_string(itemId));
        Deliver(dialId, DG_MSG_UPDATE, itemId, reinterpret_cast<DGMessageData>(&data));
    }
    state.flushing = false;
}

std::string Describe(const Action& a) {
    const std::string on = " on dialog " + std::to_string(a.dialogId);
    const std::string item = std::to_string(a.item);
    switch (a.kind) {
        case ActionKind::SetLong: return "set item " + item + " to " + std::to_string(a.number) + on;
        case ActionKind::SetDouble: {
            std::ostringstream s;
            s << "set item " << item << " to " << a.real << on;
            return s.str();
        }
        case ActionKind::SetText: return "set item " + item + " to text " + Quote(GS::UniString(a.text)) + on;
        case ActionKind::PickRow: return "pick row " + std::to_string(a.number) + " of list " + item + on;
        case ActionKind::PickPopUp: return "pick item " + std::to_string(a.number) + " of pop-up " + item + on;
        case ActionKind::Click: return "click item " + item + on;
        case ActionKind::CloseWindow: return "close the window of dialog " + std::to_string(a.dialogId);
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

namespace {

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

// The next action for the waiting dialog; none when no action for it is left. Front actions aimed at another
// dialog are errors and are dropped.
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

Dialog* CreateDialog(GSResModule module, int16_t resId, bool modal, DGDialCallBack callback, DGUserData userData) {
    const char* kind = modal ? "DGModalDialog" : "DGModelessInit";
    if (callback == nullptr) {
        Error(std::string(kind) + " of dialog " + std::to_string(resId) + " without a callback");
        return nullptr;
    }
    if (FindDialog(resId) != nullptr) {
        Error(std::string(kind) + ": dialog " + std::to_string(resId) + " is open already");
        return nullptr;
    }
    RSDialogLayout layout;
    if (!RSGetDialogLayout(resId, module, &layout)) {
        Error(std::string(kind) + ": no dialog layout " + std::to_string(resId) + " in resource module " +
              std::to_string(module));
        return nullptr;
    }
    auto dialog = std::make_unique<Dialog>();
    dialog->id = resId;
    dialog->modal = modal;
    dialog->module = module;
    dialog->callback = callback;
    dialog->userData = userData;
    dialog->title = layout.title;
    dialog->width = layout.clientWidth;
    dialog->height = layout.clientHeight;
    for (const RSDialogItem& source : layout.items) {
        Item item;
        item.id = source.id;
        item.kind = source.kind;
        item.rect = DG::Rect{source.x, source.y, source.x + source.width, source.y + source.height};
        if (source.kind == RSDialogItemKind::Icon || source.kind == RSDialogItemKind::Picture) {
            int32_t image = 0;
            const std::string text = source.text.ToUtf8();
            char* end = nullptr;
            const long value = std::strtol(text.c_str(), &end, 10);
            if (!text.empty() && end != nullptr && *end == '\0') image = static_cast<int32_t>(value);
            item.image = image;
            if (image == 0) item.text = source.text;
        } else {
            item.text = source.text;
        }
        dialog->items.push_back(std::move(item));
    }
    Dialog* raw = dialog.get();
    GetState().dialogs[resId] = std::move(dialog);
    return raw;
}

void CloseAndLog(int16_t dialId, int16_t item) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr || dialog->closing) return;
    dialog->closing = true;
    dialog->events.push_back("close " + std::to_string(item));
    Deliver(dialId, DG_MSG_CLOSE, item, 0);
    dialog = FindDialog(dialId);
    if (dialog == nullptr) return;
    DGDriver::LogRecord record = Snapshot(*dialog, dialog->modal ? "modal" : "modeless");
    record.result = item;
    GetState().log.push_back(std::move(record));
    GetState().dialogs.erase(dialId);
}

bool ParseNumber(const std::string& text, double* value) {
    std::string t = text;
    for (char& c : t)
        if (c == ',') c = '.';
    const size_t first = t.find_first_not_of(' ');
    const size_t last = t.find_last_not_of(' ');
    if (first == std::string::npos) return false;
    t = t.substr(first, last - first + 1);
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end == t.c_str() || *end != '\0' || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

bool IsNumericKind(RSDialogItemKind kind) {
    return kind == RSDialogItemKind::IntEdit || kind == RSDialogItemKind::RealEdit || kind == RSDialogItemKind::Check ||
        kind == RSDialogItemKind::Radio;
}

// Stores a value the user typed or chose; false (with an error) when the item cannot take it.
bool StoreUserValue(Dialog& dialog, Item& item, double value, const std::string& what) {
    if (!IsNumericKind(item.kind)) {
        Error(what + ": item " + std::to_string(item.id) + " is a " + RSDialogItemKindName(item.kind) +
              " and takes no number");
        return false;
    }
    if (item.kind == RSDialogItemKind::IntEdit && value != std::trunc(value)) {
        Error(what + ": item " + std::to_string(item.id) + " takes whole numbers only");
        return false;
    }
    if (item.hasMin && value < item.minValue) value = item.minValue;
    if (item.hasMax && value > item.maxValue) value = item.maxValue;
    if (item.kind == RSDialogItemKind::Check) value = value != 0.0 ? 1.0 : 0.0;
    if (item.kind == RSDialogItemKind::Radio) {
        // A radio group is a run of consecutive radio items in layout order.
        value = 1.0;
        size_t index = 0;
        while (&dialog.items[index] != &item) ++index;
        for (size_t k = index; k-- > 0 && dialog.items[k].kind == RSDialogItemKind::Radio;) dialog.items[k].value = 0;
        for (size_t k = index + 1; k < dialog.items.size() && dialog.items[k].kind == RSDialogItemKind::Radio; ++k)
            dialog.items[k].value = 0;
    }
    item.value = value;
    return true;
}

// Delivers one action to an open dialog as the user would do it. Answers the item that closes the dialog
// (a click answered with an item), else 0.
int16_t Apply(int16_t dialId, const Action& action) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) return 0;
    const std::string what = Describe(action);
    if (action.kind == ActionKind::CloseWindow) {
        if (dialog->modal) {
            Error(what + ": a modal dialog is closed by a click on one of its buttons");
            return 0;
        }
        CloseAndLog(dialId, 0);
        return 0;
    }
    if (!dialog->visible) {
        Error(what + ": the dialog is hidden");
        return 0;
    }
    Item* item = nullptr;
    for (Item& it : dialog->items)
        if (it.id == action.item) item = &it;
    if (item == nullptr) {
        Error(what + ": no such item");
        return 0;
    }
    if (!item->enabled || !item->visible) {
        Error(what + ": the item is " + (item->enabled ? "hidden" : "disabled"));
        return 0;
    }
    const int16_t itemId = item->id;
    switch (action.kind) {
        case ActionKind::Click: {
            const int16_t answer = Deliver(dialId, DG_MSG_CLICK, itemId, 0);
            if (Dialog* d = FindDialog(dialId))
                d->events.push_back("click " + std::to_string(itemId) + " -> " + std::to_string(answer));
            return answer;
        }
        case ActionKind::SetLong:
            if (!StoreUserValue(*dialog, *item, action.number, what)) return 0;
            break;
        case ActionKind::SetDouble:
            if (!StoreUserValue(*dialog, *item, action.real, what)) return 0;
            break;
        case ActionKind::SetText:
            if (item->kind == RSDialogItemKind::Edit) {
                item->text = GS::UniString(action.text);
            } else if (IsNumericKind(item->kind)) {
                double value = 0.0;
                if (!ParseNumber(action.text, &value)) {
                    Error(what + ": not a number");
                    return 0;
                }
                if (!StoreUserValue(*dialog, *item, value, what)) return 0;
            } else {
                Error(what + ": a " + std::string(RSDialogItemKindName(item->kind)) + " item cannot be typed into");
                return 0;
            }
            break;
        case ActionKind::PickRow:
            if (item->kind != RSDialogItemKind::List) {
                Error(what + ": the item is no list");
                return 0;
            }
            if (action.number < 1 || action.number > static_cast<int32_t>(item->rows.size())) {
                Error(what + ": the list has " + std::to_string(item->rows.size()) + " rows");
                return 0;
            }
            item->selected = action.number;
            break;
        case ActionKind::PickPopUp:
            if (item->kind != RSDialogItemKind::PopUp) {
                Error(what + ": the item is no pop-up");
                return 0;
            }
            if (action.number < 1 || action.number > static_cast<int32_t>(item->popUpTexts.size()) ||
                item->popUpSeparators[action.number - 1]) {
                Error(what + ": no such pop-up item");
                return 0;
            }
            item->selected = action.number;
            break;
        default: Error(what + ": not an action for a dialog"); return 0;
    }
    dialog->events.push_back("change " + std::to_string(itemId));
    Deliver(dialId, DG_MSG_CHANGE, itemId, 0);
    return 0;
}

void LogSystemDialog(DGDriver::LogRecord record) { GetState().log.push_back(std::move(record)); }

}  // namespace

DGDriver::LogRecord Snapshot(const Dialog& dialog, const char* kind) {
    DGDriver::LogRecord record;
    record.kind = kind;
    record.id = dialog.id;
    record.title = dialog.title.ToUtf8();
    record.clientWidth = dialog.width;
    record.clientHeight = dialog.height;
    record.x = dialog.x;
    record.y = dialog.y;
    record.events = dialog.events;
    for (const Item& item : dialog.items) {
        DGDriver::ItemState state;
        state.id = item.id;
        state.kind = RSDialogItemKindName(item.kind);
        state.text = item.text.ToUtf8();
        state.value = item.value;
        state.enabled = item.enabled;
        state.visible = item.visible;
        state.hasMin = item.hasMin;
        state.hasMax = item.hasMax;
        state.minValue = item.minValue;
        state.maxValue = item.maxValue;
        state.image = item.image;
        state.tabFields = item.tabFields;
        state.rowHeight = item.rowHeight;
        for (const Row& row : item.rows) {
            DGDriver::RowState rs;
            for (const GS::UniString& t : row.texts) rs.texts.push_back(t.ToUtf8());
            rs.icons = row.icons;
            state.rows.push_back(std::move(rs));
        }
        state.selected = item.selected;
        for (size_t k = 0; k < item.popUpTexts.size(); ++k)
            state.popUpItems.push_back(item.popUpSeparators[k] ? "-" : item.popUpTexts[k].ToUtf8());
        state.drawing = item.drawing;
        record.items.push_back(std::move(state));
    }
    return record;
}

}  // namespace dgimpl

using namespace dgimpl;

// ------------------------------------------------------------------------------------------------ Dialogs

int16_t DGModalDialog(GSResModule resModule, int16_t resId, GSResModule /*helpModule*/, DGDialCallBack callback,
                      DGUserData userData) {
    if (CreateDialog(resModule, resId, true, callback, userData) == nullptr) return 0;
    FindDialog(resId)->events.push_back("init");
    Deliver(resId, DG_MSG_INIT, 0, 0);
    RequestRedrawOfUserItems(resId);
    FlushRedraws();

    bool automaticOkGiven = false;
    int16_t result = 0;
    for (;;) {
        Dialog* dialog = FindDialog(resId);
        if (dialog == nullptr) {
            Error("dialog " + std::to_string(resId) + " vanished while it was running");
            return 0;
        }
        if (dialog->abortItem != 0) {
            result = dialog->abortItem;
            break;
        }
        std::optional<Action> action = NextActionFor(Target::Dialog, resId);
        if (!action) {
            if (automaticOkGiven) {
                Error("dialog " + std::to_string(resId) +
                      " stayed open after the automatic click on OK; closed with item 2");
                result = 2;
                break;
            }
            automaticOkGiven = true;
            dialog->events.push_back("automatic OK");
            const int16_t answer = Deliver(resId, DG_MSG_CLICK, 1, 0);
            if (Dialog* d = FindDialog(resId)) d->events.push_back("click 1 -> " + std::to_string(answer));
            if (answer != 0) {
                result = answer;
                break;
            }
            continue;
        }
        const int16_t answer = Apply(resId, *action);
        if (answer != 0) {
            result = answer;
            break;
        }
    }
    CloseAndLog(resId, result);
    return result;
}

void DGAbortModalDialog(int16_t dialId, int16_t item) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr || !dialog->modal) {
        Warning("DGAbortModalDialog: no modal dialog " + std::to_string(dialId) + " is open");
        return;
    }
    dialog->abortItem = item != 0 ? item : 2;
}

int16_t DGModelessInit(GSResModule resModule, int16_t resId, DGDialCallBack callback, DGUserData userData) {
    if (CreateDialog(resModule, resId, false, callback, userData) == nullptr) return 0;
    FindDialog(resId)->events.push_back("init");
    Deliver(resId, DG_MSG_INIT, 0, 0);
    if (FindDialog(resId) == nullptr) return 0;
    RequestRedrawOfUserItems(resId);
    FlushRedraws();
    return resId;
}

void DGModelessClose(int16_t dialId) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr || dialog->modal) {
        Warning("DGModelessClose: no modeless dialog " + std::to_string(dialId) + " is open");
        return;
    }
    CloseAndLog(dialId, 0);
}

void DGShowModelessDialog(int16_t dialId) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr || dialog->modal) {
        Warning("DGShowModelessDialog: no modeless dialog " + std::to_string(dialId) + " is open");
        return;
    }
    if (dialog->visible) return;
    dialog->visible = true;
    dialog->events.push_back("show");
    RequestRedrawOfUserItems(dialId);
}

void DGHideModelessDialog(int16_t dialId) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr || dialog->modal) {
        Warning("DGHideModelessDialog: no modeless dialog " + std::to_string(dialId) + " is open");
        return;
    }
    if (!dialog->visible) return;
    dialog->visible = false;
    dialog->events.push_back("hide");
}

bool DGIsModelessDialogVisible(int16_t dialId) {
    const Dialog* dialog = FindDialog(dialId);
    return dialog != nullptr && !dialog->modal && dialog->visible;
}

bool DGIsDialogOpen(int16_t dialId) {
    const Dialog* dialog = FindDialog(dialId);
    return dialog != nullptr && !dialog->closing;
}

void DGResetDialogRectangles() {}

// ------------------------------------------------------------------------------------------------- Alerts

int16_t DGAlert(int16_t alertType, const GS::UniString& title, const GS::UniString& largeText,
                const GS::UniString& smallText, const GS::UniString& button1, const GS::UniString& button2,
                const GS::UniString& button3) {
    DGDriver::LogRecord record;
    record.kind = "alert";
    record.id = alertType;
    record.title = title.ToUtf8();
    record.texts = {largeText.ToUtf8(), smallText.ToUtf8()};
    record.buttons.push_back(button1.IsEmpty() ? "OK" : button1.ToUtf8());
    if (!button2.IsEmpty() || !button3.IsEmpty()) record.buttons.push_back(button2.ToUtf8());
    if (!button3.IsEmpty()) record.buttons.push_back(button3.ToUtf8());

    int16_t answer = 1;
    if (std::optional<Action> action = NextActionFor(Target::Alert, 0)) {
        const bool shown = action->number >= 1 && action->number <= 3 &&
            (action->number == 1 || (action->number == 2 && !button2.IsEmpty()) ||
             (action->number == 3 && !button3.IsEmpty()));
        if (shown)
            answer = static_cast<int16_t>(action->number);
        else
            Error(Describe(*action) + ": the alert " + Quote(largeText) + " has no such button; answered 1");
    }
    record.result = answer;
    LogSystemDialog(std::move(record));
    return answer;
}

int16_t DGGetColor(const GS::UniString& title, DGColorRec* colour) {
    DGDriver::LogRecord record;
    record.kind = "colour";
    record.title = title.ToUtf8();
    std::optional<Action> action = NextActionFor(Target::Colour, 0);
    if (action && action->kind == ActionKind::ColourAnswer && colour != nullptr) {
        colour->red = action->rgb[0];
        colour->green = action->rgb[1];
        colour->blue = action->rgb[2];
        record.result = 1;
        record.answer.push_back(std::to_string(colour->red) + " " + std::to_string(colour->green) + " " +
                                std::to_string(colour->blue));
    }
    const int16_t result = static_cast<int16_t>(record.result);
    LogSystemDialog(std::move(record));
    return result;
}

namespace DG {

ResourcePicture::ResourcePicture(GSResType type, GSResModule module, int32_t resId) {
    if (RSResourceExists(type, resId, module)) {
        module_ = module;
        resId_ = resId;
    } else {
        Warning(std::string(type == RSType_ICON ? "icon" : "image") + " resource " + std::to_string(resId) +
                " is missing from resource module " + std::to_string(module));
    }
}

bool FolderDialog::Invoke() {
    DGDriver::LogRecord record;
    record.kind = "folder";
    record.title = title_.ToUtf8();
    std::optional<Action> action = NextActionFor(Target::Folder, 0);
    const bool chosen = action && action->kind == ActionKind::FolderAnswer;
    if (chosen) {
        folder_ = IO::Location(action->text.c_str());
        record.answer.push_back(folder_.ToNativePath());
    }
    record.result = chosen ? 1 : 0;
    LogSystemDialog(std::move(record));
    return chosen;
}

int32_t FileDialog::AddFilter(const GS::UniString& name, const GS::UniString& pattern) {
    filters_.Push(name + GS::UniString(" (") + pattern + GS::UniString(")"));
    return static_cast<int32_t>(filters_.GetSize()) - 1;
}

IO::Location FileDialog::GetSelectedFile(uint32_t index) const {
    return index < selected_.GetSize() ? selected_[index] : IO::Location();
}

bool FileDialog::Invoke() {
    DGDriver::LogRecord record;
    record.kind = "file";
    record.id = type_;
    record.title = title_.ToUtf8();
    for (const GS::UniString& filter : filters_) record.texts.push_back(filter.ToUtf8());
    selected_.Clear();
    selectedFilter_ = 0;
    std::optional<Action> action = NextActionFor(Target::File, 0);
    bool chosen = action && action->kind == ActionKind::FileAnswer && !action->paths.empty();
    if (action && action->kind == ActionKind::FileAnswer && action->paths.empty()) {
        Error(Describe(*action) + ": no file given; cancelled");
    }
    if (chosen) {
        size_t count = action->paths.size();
        if (type_ != OpenMultiFile && count > 1) {
            Error(Describe(*action) + ": this file dialog takes one file; the first is used");
            count = 1;
        }
        for (size_t k = 0; k < count; ++k) {
            selected_.Push(IO::Location(action->paths[k].c_str()));
            record.answer.push_back(selected_.GetLast().ToNativePath());
        }
        if (action->number < 0 || (action->number > 0 && action->number >= static_cast<int32_t>(filters_.GetSize())))
            Error(Describe(*action) + ": no filter " + std::to_string(action->number) + "; filter 0 is used");
        else
            selectedFilter_ = action->number;
    }
    record.result = chosen ? 1 : 0;
    LogSystemDialog(std::move(record));
    return chosen;
}

}  // namespace DG

// ------------------------------------------------------------------------------------------------- Driver

namespace DGDriver {

namespace {

void Push(Action action) { GetState().queue.push_back(std::move(action)); }

Action ForDialog(ActionKind kind, int16_t dialogId, int16_t item) {
    Action a;
    a.target = Target::Dialog;
    a.kind = kind;
    a.dialogId = dialogId;
    a.item = item;
    return a;
}

Action ForSystem(Target target, ActionKind kind) {
    Action a;
    a.target = target;
    a.kind = kind;
    return a;
}

std::string FormatNumber(double value) {
    std::ostringstream s;
    s << value;
    return s.str();
}

}  // namespace

void QueueSetLong(int16_t dialogId, int16_t item, int32_t value) {
    Action a = ForDialog(ActionKind::SetLong, dialogId, item);
    a.number = value;
    Push(a);
}

void QueueSetDouble(int16_t dialogId, int16_t item, double value) {
    Action a = ForDialog(ActionKind::SetDouble, dialogId, item);
    a.real = value;
    Push(a);
}

void QueueSetText(int16_t dialogId, int16_t item, const std::string& text) {
    Action a = ForDialog(ActionKind::SetText, dialogId, item);
    a.text = text;
    Push(a);
}

void QueuePickListRow(int16_t dialogId, int16_t item, int32_t row) {
    Action a = ForDialog(ActionKind::PickRow, dialogId, item);
    a.number = row;
    Push(a);
}

void QueuePickPopUpItem(int16_t dialogId, int16_t item, int32_t pos) {
    Action a = ForDialog(ActionKind::PickPopUp, dialogId, item);
    a.number = pos;
    Push(a);
}

void QueueClick(int16_t dialogId, int16_t item) { Push(ForDialog(ActionKind::Click, dialogId, item)); }

void QueueCloseWindow(int16_t dialogId) { Push(ForDialog(ActionKind::CloseWindow, dialogId, 0)); }

void QueueAlertAnswer(int16_t button) {
    Action a = ForSystem(Target::Alert, ActionKind::AlertAnswer);
    a.number = button;
    Push(a);
}

void QueueFolderAnswer(const std::string& path) {
    Action a = ForSystem(Target::Folder, ActionKind::FolderAnswer);
    a.text = path;
    Push(a);
}

void QueueFolderCancel() { Push(ForSystem(Target::Folder, ActionKind::Cancel)); }

void QueueFileAnswer(const std::vector<std::string>& paths, int32_t filter) {
    Action a = ForSystem(Target::File, ActionKind::FileAnswer);
    a.paths = paths;
    a.number = filter;
    Push(a);
}

void QueueFileCancel() { Push(ForSystem(Target::File, ActionKind::Cancel)); }

void QueueColourAnswer(uint16_t red, uint16_t green, uint16_t blue) {
    Action a = ForSystem(Target::Colour, ActionKind::ColourAnswer);
    a.rgb[0] = red;
    a.rgb[1] = green;
    a.rgb[2] = blue;
    Push(a);
}

void QueueColourCancel() { Push(ForSystem(Target::Colour, ActionKind::Cancel)); }

std::size_t PendingActionCount() { return GetState().queue.size(); }

std::vector<std::string> UnusedActions() {
    std::vector<std::string> out;
    for (const Action& a : GetState().queue) out.push_back(Describe(a));
    return out;
}

int32_t DeliverModelessActions() {
    auto& queue = GetState().queue;
    int32_t delivered = 0;
    while (!queue.empty()) {
        const Action front = queue.front();
        if (front.target != Target::Dialog) break;
        const Dialog* dialog = FindDialog(front.dialogId);
        if (dialog == nullptr || dialog->modal) break;
        queue.pop_front();
        Apply(front.dialogId, front);
        ++delivered;
    }
    return delivered;
}

const std::vector<std::string>& Errors() { return GetState().errors; }
const std::vector<std::string>& Warnings() { return GetState().warnings; }
const std::vector<LogRecord>& Log() { return GetState().log; }

std::string FormatRecord(const LogRecord& r) {
    std::ostringstream s;
    auto q = [](const std::string& text) { return Quote(GS::UniString(text)); };
    if (r.kind == "alert") {
        s << "[alert " << r.id << "] title " << q(r.title) << " large " << q(r.texts.at(0)) << " small "
          << q(r.texts.at(1)) << " buttons";
        for (const std::string& b : r.buttons) s << ' ' << q(b);
        s << " -> " << r.result << '\n';
        return s.str();
    }
    if (r.kind == "folder" || r.kind == "file" || r.kind == "colour") {
        s << '[' << r.kind;
        if (r.kind == "file") s << ' ' << (r.id == 0 ? "open" : r.id == 1 ? "open several" : "save");
        s << "] title " << q(r.title);
        for (const std::string& filter : r.texts) s << " filter " << q(filter);
        if (r.result == 0) {
            s << " -> cancelled\n";
        } else {
            s << " ->";
            for (const std::string& a : r.answer) s << ' ' << q(a);
            s << '\n';
        }
        return s.str();
    }
    s << '[' << r.kind << ' ' << r.id << "] title " << q(r.title) << " size " << r.clientWidth << 'x' << r.clientHeight
      << " at " << r.x << ',' << r.y << " -> " << r.result << '\n';
    s << "  events:";
    for (const std::string& e : r.events) s << ' ' << e << ';';
    s << '\n';
    for (const ItemState& it : r.items) {
        s << "  item " << it.id << ' ' << it.kind;
        if (!it.text.empty()) s << ' ' << q(it.text);
        if (it.kind == "intedit" || it.kind == "realedit" || it.kind == "check" || it.kind == "radio")
            s << " value " << FormatNumber(it.value);
        if (it.hasMin) s << " min " << FormatNumber(it.minValue);
        if (it.hasMax) s << " max " << FormatNumber(it.maxValue);
        if (!it.enabled) s << " disabled";
        if (!it.visible) s << " hidden";
        if (it.image != 0) s << " image " << it.image;
        if (it.kind == "list") {
            s << " rows " << it.rows.size() << " selected " << it.selected << " row height " << it.rowHeight << " tabs";
            for (const auto& tab : it.tabFields) s << " [" << tab.first << ".." << tab.second << ']';
        }
        if (it.kind == "popup") {
            s << " selected " << it.selected << " items";
            for (const std::string& p : it.popUpItems) s << ' ' << q(p);
        }
        s << '\n';
        for (size_t k = 0; k < it.rows.size(); ++k) {
            s << "    row " << (k + 1) << ':';
            for (size_t t = 0; t < it.rows[k].texts.size(); ++t) {
                s << " | " << q(it.rows[k].texts[t]);
                if (it.rows[k].icons[t] != 0) s << " icon " << it.rows[k].icons[t];
            }
            s << '\n';
        }
        for (const std::string& d : it.drawing) s << "    draw " << d << '\n';
    }
    return s.str();
}

std::string LogText() {
    std::string text;
    for (const LogRecord& r : Log()) text += FormatRecord(r);
    return text;
}

bool GetDialogState(int16_t dialogId, LogRecord* state) {
    const Dialog* dialog = FindDialog(dialogId);
    if (dialog == nullptr || state == nullptr) return false;
    *state = Snapshot(*dialog, dialog->modal ? "modal" : "modeless");
    return true;
}

std::vector<int16_t> OpenDialogs() {
    std::vector<int16_t> ids;
    for (const auto& entry : GetState().dialogs) ids.push_back(entry.first);
    return ids;
}

void ClearQueueAndLog() {
    State& state = GetState();
    state.queue.clear();
    state.log.clear();
    state.errors.clear();
    state.warnings.clear();
}

void Reset() {
    ClearQueueAndLog();
    State& state = GetState();
    state.dialogs.clear();
    state.pendingRedraws.clear();
}

}  // namespace DGDriver
