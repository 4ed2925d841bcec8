// Headless dialog manager, driver side: the queue of the user's actions, the modeless windows' share of it,
// user-control bindings, and the log of what every dialog showed.
#include "DGInternal.hpp"

#include <sstream>

using namespace dgimpl;

namespace DGDriver {

namespace {

void Push(Action action) {
    State& state = GetState();
    action.stamp = state.nextStamp++;
    state.queue.push_back(std::move(action));
}

Action ForDialog(ActionKind kind, const DialogRef& dialog, int16_t item) {
    Action a;
    a.target = Target::Dialog;
    a.kind = kind;
    a.dialogId = dialog.dialogId;
    a.tabItem = dialog.tabItem;
    a.page = dialog.page;
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

bool IsOpenModeless(int16_t dialogId) {
    const Dialog* dialog = FindDialog(dialogId);
    return dialog != nullptr && !dialog->modal && dialog->parentId == 0 && !dialog->closing;
}

// An action for an open modeless window, delivered; when it raises faults the observer hears why.
void DeliverToModeless(const Action& action) {
    LogRecord refused;
    refused.kind = "modeless";
    refused.id = action.dialogId;
    refused.title = FindDialog(action.dialogId)->title.ToUtf8();
    const WaitScope wait(action.dialogId);
    ApplyAnswer(action, wait);
    if (wait.Faults().empty()) return;
    if (const Dialog* dialog = FindDialog(action.dialogId)) refused = Snapshot(*dialog, "modeless");
    refused.used = {DescribeAnswer(action)};
    refused.faults = wait.Faults();
    Publish(DialogEvent::Refused, refused);
}

}  // namespace

void QueueSetLong(DialogRef dialog, int16_t item, int32_t value) {
    Action a = ForDialog(ActionKind::SetLong, dialog, item);
    a.number = value;
    Push(a);
}

void QueueSetDouble(DialogRef dialog, int16_t item, double value) {
    Action a = ForDialog(ActionKind::SetDouble, dialog, item);
    a.real = value;
    Push(a);
}

void QueueSetText(DialogRef dialog, int16_t item, const std::string& text) {
    Action a = ForDialog(ActionKind::SetText, dialog, item);
    a.text = text;
    Push(a);
}

void QueuePickListRow(DialogRef dialog, int16_t item, int32_t row) {
    Action a = ForDialog(ActionKind::PickRow, dialog, item);
    a.number = row;
    Push(a);
}

void QueuePickPopUpItem(DialogRef dialog, int16_t item, int32_t pos) {
    Action a = ForDialog(ActionKind::PickPopUp, dialog, item);
    a.number = pos;
    Push(a);
}

void QueueClick(DialogRef dialog, int16_t item) { Push(ForDialog(ActionKind::Click, dialog, item)); }

void QueueClickAt(DialogRef dialog, int16_t item, ClickPoint point) {
    Action a = ForDialog(ActionKind::ClickAt, dialog, item);
    a.point = point;
    Push(a);
}

void QueueClickListRow(DialogRef dialog, int16_t item, int32_t row, int32_t x) {
    Action a = ForDialog(ActionKind::ClickAt, dialog, item);
    a.number = row;
    a.second = 1;  // a click on a row: its y comes from the row
    a.point.x = x;
    Push(a);
}

void QueueSwitchTab(DialogRef dialog, int16_t tabItem, int16_t page) {
    Action a = ForDialog(ActionKind::SwitchTab, dialog, tabItem);
    a.number = page;
    Push(a);
}

void QueueResize(int16_t dialogId, int32_t width, int32_t height) {
    Action a = ForDialog(ActionKind::Resize, dialogId, 0);
    a.number = width;
    a.second = height;
    Push(a);
}

void QueueCloseWindow(int16_t dialogId) { Push(ForDialog(ActionKind::CloseWindow, dialogId, 0)); }

void QueueCloseBox(int16_t dialogId) { Push(ForDialog(ActionKind::CloseBox, dialogId, DG_CLOSEBOX)); }

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

uint64_t NextStamp() { return GetState().nextStamp; }

int32_t DeliverModelessActions(uint64_t before) {
    State& state = GetState();
    int32_t delivered = 0;
    // While a modal dialog runs the user cannot reach a modeless window.
    while (state.modalDepth == 0) {
        auto& queue = state.queue;
        auto next = queue.end();
        for (auto it = queue.begin(); it != queue.end() && it->stamp < before; ++it)
            if (it->target == Target::Dialog && IsOpenModeless(it->dialogId)) {
                next = it;
                break;
            }
        if (next == queue.end()) break;
        const Action action = *next;
        queue.erase(next);
        DeliverToModeless(action);
        ++delivered;
    }
    return delivered;
}

bool BindUserControl(int16_t dialogId, int16_t item, int32_t controlType, UserControlCheck accepts, std::string* why) {
    const std::string name = "item " + std::to_string(item) + " of dialog " + std::to_string(dialogId);
    Dialog* dialog = FindDialog(dialogId);
    if (dialog == nullptr || dialog->closing) {
        if (why != nullptr) *why = "dialog " + std::to_string(dialogId) + " is not open";
        return false;
    }
    Item* it = ItemIn(*dialog, item);
    if (it == nullptr || it->kind != RSDialogItemKind::UserControl) {
        if (why != nullptr)
            *why = it == nullptr ? name + " does not exist"
                                 : name + " is a " + RSDialogItemKindName(it->kind) + ", not a user control";
        return false;
    }
    it->controlType = controlType;
    it->accepts = std::move(accepts);
    return true;
}

const std::vector<std::string>& Errors() { return GetState().errors; }
const std::vector<std::string>& Warnings() { return GetState().warnings; }
const std::vector<LogRecord>& Log() { return GetState().log; }

namespace {

void FormatItems(std::ostringstream& s, const LogRecord& r, const std::string& indent) {
    auto q = [](const std::string& text) { return Quote(GS::UniString(text)); };
    for (const ItemState& it : r.items) {
        s << indent << "item " << it.id << ' ' << it.kind;
        if (!it.text.empty()) s << ' ' << q(it.text);
        const bool edit = it.kind == "intedit" || it.kind == "realedit" || it.kind == "lengthedit" ||
            it.kind == "angleedit" || it.kind == "slider";
        if (edit && it.text.empty())
            s << " empty";
        else if (edit || it.kind == "check" || it.kind == "radio" || it.kind == "usercontrol")
            s << " value " << FormatNumber(it.value);
        if (it.kind == "radio") s << " group " << it.radioGroup;
        if (it.hasMin) s << " min " << FormatNumber(it.minValue);
        if (it.hasMax) s << " max " << FormatNumber(it.maxValue);
        if (it.textLimit != 0) s << " limit " << it.textLimit;
        if (!it.enabled) s << " disabled";
        if (!it.visible) s << " hidden";
        if (r.focus == it.id) s << " focused";
        if (it.image != 0) s << " image " << it.image;
        if (it.fontCode != 0) s << " font " << it.fontCode;
        if (!it.font.empty()) s << " font " << q(it.font);
        if (it.helpIndex != 0) s << " help " << it.helpIndex;
        if (it.kind == "usercontrol") {
            s << " control " << it.controlType;
            if (it.style != 0) s << " style " << it.style;
            for (const std::string& c : it.colours) s << " colour " << c;
        }
        if (it.kind == "tab") s << " page " << it.selected;
        if (it.kind == "list") {
            s << " rows " << it.rows.size() << " selected " << it.selected << " row height " << it.rowHeight << " tabs";
            for (const TabFieldState& tab : it.tabFieldData) {
                s << " [" << tab.begin << ".." << tab.end;
                if (tab.ownerDrawn) s << " drawn";
                if (tab.editor != 0) s << " item " << tab.editor;
                s << ']';
            }
        }
        if (it.kind == "popup") {
            s << " selected " << it.selected << " items";
            for (size_t k = 0; k < it.popUpItems.size(); ++k) {
                s << ' ' << q(it.popUpItems[k]);
                if (k < it.popUpStatus.size() && it.popUpStatus[k] == DG_IS_DISABLE) s << " (disabled)";
            }
        }
        s << '\n';
        for (size_t k = 0; k < it.rows.size(); ++k) {
            const RowState& row = it.rows[k];
            s << indent << "  row " << (k + 1) << ':';
            if (row.separator) s << " separator";
            for (size_t t = 0; t < row.texts.size() && !row.separator; ++t) {
                s << " | " << q(row.texts[t]);
                if (row.icons[t] != 0) s << " icon " << row.icons[t];
            }
            if (row.userData != 0) s << " data " << row.userData;
            if (row.background.red != 65535 || row.background.green != 65535 || row.background.blue != 65535)
                s << " background " << row.background.red << ' ' << row.background.green << ' ' << row.background.blue;
            if (row.colour.red != 0 || row.colour.green != 0 || row.colour.blue != 0)
                s << " colour " << row.colour.red << ' ' << row.colour.green << ' ' << row.colour.blue;
            if (row.style != 0) s << " style " << row.style;
            s << '\n';
            for (size_t t = 0; t < row.drawing.size(); ++t)
                for (const std::string& d : row.drawing[t])
                    s << indent << "    tab " << (t + 1) << " draw " << d << '\n';
        }
        for (const std::string& d : it.drawing) s << indent << "  draw " << d << '\n';
    }
}

}  // namespace

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
    FormatItems(s, r, "  ");
    for (const LogRecord& page : r.pages) {
        s << "  page " << page.page << " of tab control " << page.tabItem << " (id " << page.id << ") title "
          << q(page.title) << '\n';
        FormatItems(s, page, "    ");
    }
    return s.str();
}

std::string LogText() {
    std::string text;
    for (const LogRecord& r : Log()) text += FormatRecord(r);
    return text;
}

bool GetDialogState(DialogRef ref, LogRecord* state) {
    const Dialog* dialog = FindDialog(ref.dialogId);
    if (dialog == nullptr || state == nullptr) return false;
    if (ref.tabItem != 0) {
        const Item* control = ItemIn(*dialog, ref.tabItem);
        if (control == nullptr || ref.page < 1 || static_cast<size_t>(ref.page) > control->pages.size()) return false;
        dialog = FindDialog(control->pages[static_cast<size_t>(ref.page - 1)]);
        if (dialog == nullptr) return false;
    }
    *state = Snapshot(*dialog, dialog->modal ? "modal" : "modeless");
    return true;
}

std::vector<int16_t> OpenDialogs() {
    std::vector<int16_t> ids;
    for (const auto& entry : GetState().dialogs)
        if (entry.second->parentId == 0) ids.push_back(entry.first);
    return ids;
}

std::vector<int16_t> OpenModelessDialogs() {
    std::vector<int16_t> ids;
    for (const auto& entry : GetState().dialogs)
        if (entry.second->parentId == 0 && !entry.second->modal) ids.push_back(entry.first);
    return ids;
}

void ClearQueueAndLog() {
    State& state = GetState();
    state.queue.clear();
    state.log.clear();
    state.errors.clear();
    state.warnings.clear();
}

std::vector<int16_t> ForgetOpenDialogs() {
    State& state = GetState();
    std::vector<int16_t> ids = OpenDialogs();
    state.dialogs.clear();
    state.pendingRedraws.clear();
    state.activeModeless = 0;
    return ids;
}

void Reset() {
    ClearQueueAndLog();
    ForgetOpenDialogs();
    GetState().lengthUnit = DG_UNIT_M;
    GetState().mouse = {};
}

}  // namespace DGDriver
