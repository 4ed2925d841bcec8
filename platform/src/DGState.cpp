// Headless dialog manager: its state, the lookup of dialogs and items, message delivery and redraws.
#include "DGInternal.hpp"

#include <algorithm>
#include <exception>
#include <iostream>

namespace dgimpl {

State& GetState() {
    static State state;
    return state;
}

void Error(const std::string& text) {
    std::cerr << "DG error: " << text << '\n';
    State& state = GetState();
    state.errors.push_back(text);
    if (!state.waits.empty()) state.waits.back().faults.push_back(text);
}

WaitScope::WaitScope(int16_t dialId) : index_(GetState().waits.size()) {
    Wait wait;
    wait.dialId = dialId;
    GetState().waits.push_back(std::move(wait));
}

// Waits end in the order opposite to their start; a reset in between leaves none.
WaitScope::~WaitScope() { GetState().waits.resize(std::min(index_, GetState().waits.size())); }

const std::vector<std::string>& WaitScope::Faults() const {
    static const std::vector<std::string> none;
    const auto& waits = GetState().waits;
    return index_ < waits.size() ? waits[index_].faults : none;
}

void WaitScope::AnswerTaken() const {
    State& state = GetState();
    if (index_ >= state.waits.size()) return;
    for (const size_t alert : state.waits[index_].alerts)
        if (alert < state.log.size()) state.log[alert].answeredAfter = true;
    state.waits[index_].alerts.clear();
}

void Warning(const std::string& text) { GetState().warnings.push_back(text); }

Dialog* FindDialog(int16_t dialId) {
    auto& dialogs = GetState().dialogs;
    const auto it = dialogs.find(dialId);
    return it == dialogs.end() ? nullptr : it->second.get();
}

Dialog* RootOf(Dialog* dialog) {
    if (dialog == nullptr || dialog->parentId == 0) return dialog;
    return FindDialog(dialog->parentId);
}

Item* ItemIn(Dialog& dialog, int16_t item) {
    for (Item& it : dialog.items)
        if (it.id == item) return &it;
    return nullptr;
}

const Item* ItemIn(const Dialog& dialog, int16_t item) {
    for (const Item& it : dialog.items)
        if (it.id == item) return &it;
    return nullptr;
}

bool IsShown(const Dialog& dialog) {
    if (dialog.closing || !dialog.visible) return false;
    if (dialog.parentId == 0) return true;
    Dialog* parent = FindDialog(dialog.parentId);
    if (parent == nullptr || !IsShown(*parent)) return false;
    const Item* control = ItemIn(*parent, dialog.tabItem);
    return control != nullptr && control->visible && control->selected == dialog.pageNumber;
}

Item* FindItem(int16_t dialId, int16_t item, const char* operation) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) {
        Warning(std::string(operation) + ": dialog " + std::to_string(dialId) + " is not open");
        return nullptr;
    }
    if (Item* it = ItemIn(*dialog, item)) return it;
    Warning(std::string(operation) + ": dialog " + std::to_string(dialId) + " has no item " + std::to_string(item));
    return nullptr;
}

Item* FindKind(int16_t dialId, int16_t item, RSDialogItemKind kind, const char* operation) {
    Item* it = FindItem(dialId, item, operation);
    if (it != nullptr && it->kind != kind) {
        Warning(std::string(operation) + ": item " + std::to_string(item) + " of dialog " + std::to_string(dialId) +
                " is a " + RSDialogItemKindName(it->kind) + ", not a " + RSDialogItemKindName(kind));
        return nullptr;
    }
    return it;
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

void NoteText(int16_t dialId, const std::string& text) {
    Dialog* dialog = FindDialog(dialId);
    Dialog* root = RootOf(dialog);
    if (root != nullptr) root->events.push_back(text);
}

void Note(int16_t dialId, const std::string& what, int16_t item, const std::string& suffix) {
    const Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) return;
    std::string where = std::to_string(item);
    if (dialog->parentId != 0)
        where = std::to_string(dialog->tabItem) + "." + std::to_string(dialog->pageNumber) + ":" + where;
    NoteText(dialId, what + " " + where + suffix);
}

int16_t Deliver(int16_t dialId, int16_t message, int16_t item, DGMessageData data) {
    State& state = GetState();
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr || dialog->callback == nullptr) return 0;
    if (message != DG_MSG_INIT && message != DG_MSG_CLOSE &&
        (dialog->disabled.count({0, message}) != 0 || dialog->disabled.count({item, message}) != 0))
        return 0;
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

void RequestRedraw(int16_t dialId, int16_t item, int32_t row, int16_t tab) {
    State& state = GetState();
    const Dialog* root = RootOf(FindDialog(dialId));
    if (root != nullptr && root->initialising) return;
    const Redraw redraw{dialId, item, row, tab};
    for (const Redraw& pending : state.pendingRedraws) {
        if (pending == redraw) return;
        // The whole list is asked for already: its cells need no request of their own.
        if (pending.dialId == dialId && pending.item == item && pending.row == 0 && row != 0) return;
    }
    state.pendingRedraws.push_back(redraw);
    if (state.depth == 0) FlushRedraws();
}

namespace {

bool HasOwnerDrawnField(const Item& list) {
    for (const DGDriver::TabFieldState& field : list.tabFields)
        if (field.ownerDrawn) return true;
    return false;
}

void RedrawsOf(const Dialog& dialog, std::vector<std::pair<int16_t, int16_t>>* out) {
    for (const Item& item : dialog.items) {
        if (!item.visible) continue;
        if (item.kind == RSDialogItemKind::User || (item.kind == RSDialogItemKind::List && HasOwnerDrawnField(item)))
            out->emplace_back(dialog.id, item.id);
        if (item.kind == RSDialogItemKind::TabControl && item.selected >= 1 &&
            static_cast<size_t>(item.selected) <= item.pages.size())
            if (const Dialog* page = FindDialog(item.pages[static_cast<size_t>(item.selected - 1)]))
                RedrawsOf(*page, out);
    }
}

// Sends one update message into a fresh draw target.
void SendUpdate(Dialog& dialog, const Item& item, int32_t row, int16_t tab, const DG::Rect& rect) {
    State& state = GetState();
    state.drawTargets.push_back(DrawTarget{dialog.id, item.id, row, tab});
    DGUserUpdateData data{dialog.id, item.id, rect.left, rect.top, rect.right, rect.bottom};
    data.listRow = row;
    data.listTabField = tab;
    data.drawContext = static_cast<DGDrawContext>(state.drawTargets.size());
    const int16_t dialId = dialog.id;
    Note(dialId, "update", item.id, row == 0 ? "" : " cell " + std::to_string(row) + "." + std::to_string(tab));
    Deliver(dialId, DG_MSG_UPDATE, item.id, reinterpret_cast<DGMessageData>(&data));
    state.drawTargets.pop_back();
}

void DrawCell(Dialog& dialog, Item& list, int32_t row, int16_t tab) {
    if (row < 1 || static_cast<size_t>(row) > list.rows.size()) return;
    if (tab < 1 || static_cast<size_t>(tab) > list.tabFields.size()) return;
    const DGDriver::TabFieldState field = list.tabFields[static_cast<size_t>(tab - 1)];
    Row& r = list.rows[static_cast<size_t>(row - 1)];
    if (!field.ownerDrawn || r.separator) return;
    r.drawing.resize(list.tabFields.size());
    r.drawing[static_cast<size_t>(tab - 1)].clear();
    const int32_t height = list.rowHeight > 0 ? list.rowHeight : 16;
    const DG::Rect cell{field.begin, (row - 1) * height, field.end, row * height};
    SendUpdate(dialog, list, row, tab, cell);
}

}  // namespace

void RequestRedrawOfAll(int16_t dialId) {
    const Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) return;
    std::vector<std::pair<int16_t, int16_t>> targets;
    RedrawsOf(*dialog, &targets);
    for (const auto& [d, item] : targets) RequestRedraw(d, item);
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
        const Redraw redraw = state.pendingRedraws.front();
        state.pendingRedraws.pop_front();
        Dialog* dialog = FindDialog(redraw.dialId);
        if (dialog == nullptr || !IsShown(*dialog)) continue;
        Item* item = ItemIn(*dialog, redraw.item);
        if (item == nullptr || !item->visible) continue;
        if (item->kind == RSDialogItemKind::User) {
            item->drawing.clear();
            SendUpdate(*dialog, *item, 0, 0, DG::Rect{0, 0, item->rect.GetWidth(), item->rect.GetHeight()});
        } else if (item->kind == RSDialogItemKind::List && !item->drawDisabled) {
            if (redraw.row != 0) {
                DrawCell(*dialog, *item, redraw.row, redraw.tab);
                continue;
            }
            // Cell by cell; a callback may change the list meanwhile, so every step looks it up again.
            for (int32_t row = 1;; ++row) {
                Dialog* d = FindDialog(redraw.dialId);
                Item* list = d != nullptr && IsShown(*d) ? ItemIn(*d, redraw.item) : nullptr;
                if (list == nullptr || !list->visible || list->drawDisabled ||
                    static_cast<size_t>(row) > list->rows.size())
                    break;
                for (int16_t tab = 1; static_cast<size_t>(tab) <= list->tabFields.size(); ++tab) {
                    Dialog* again = FindDialog(redraw.dialId);
                    Item* l = again != nullptr ? ItemIn(*again, redraw.item) : nullptr;
                    if (l == nullptr || static_cast<size_t>(tab) > l->tabFields.size()) break;
                    DrawCell(*again, *l, row, tab);
                }
            }
        }
    }
    state.flushing = false;
}

}  // namespace dgimpl
