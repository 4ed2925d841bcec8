// Headless dialog manager: the life of modal and modeless dialogs and their tab pages, and the wait of a modal
// dialog for the user (driver queue).
#include "DGInternal.hpp"

#include <cstdlib>

namespace dgimpl {

namespace {

Item MakeItem(const RSDialogItem& source) {
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
    item.hasMin = item.hasMax = source.hasRange;
    item.minValue = source.minValue;
    item.maxValue = source.maxValue;
    item.textLimit = source.textLimit;
    item.radioGroup = source.radioGroup;
    return item;
}

// A free id for a tab page: no open dialog has it and no dialog layout of the module could open with it.
int16_t NewPageId(GSResModule module) {
    for (int32_t id = 1; id <= 32767; ++id)
        if (FindDialog(static_cast<int16_t>(id)) == nullptr &&
            !RSResourceExists(RSType_DLOG, static_cast<int32_t>(id), module))
            return static_cast<int16_t>(id);
    return 0;
}

// Tells the open modeless windows that a modal dialog takes the user's input (0) or gave it back (1).
void TellModelessWindows(int16_t status) {
    for (int16_t id : DGDriver::OpenModelessDialogs()) {
        const Dialog* dialog = FindDialog(id);
        if (dialog == nullptr || !IsShown(*dialog)) continue;
        NoteText(id, "topstatus " + std::to_string(status));
        Deliver(id, DG_MSG_TOPSTATUS, status, 0);
    }
}

// A modal dialog with nothing queued for it gets the automatic OK: noted, with what waits for dialogs not open.
void NoteAutomaticOk(Dialog& dialog) {
    NoteText(dialog.id, "automatic OK");
    dialog.unanswered = true;
    for (const Action& action : GetState().queue)
        if (action.target == Target::Dialog && FindDialog(action.dialogId) == nullptr)
            dialog.pending.push_back(Describe(action));
}

}  // namespace

void Init(int16_t dialId) {
    NoteText(dialId, "init");
    if (Dialog* dialog = FindDialog(dialId)) dialog->initialising = true;
    Deliver(dialId, DG_MSG_INIT, 0, 0);
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) return;
    dialog->initialising = false;
    RequestRedrawOfAll(dialId);
    FlushRedraws();
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
    for (const RSDialogItem& source : layout.items) dialog->items.push_back(MakeItem(source));
    Dialog* raw = dialog.get();
    GetState().dialogs[resId] = std::move(dialog);
    for (const RSTabPage& source : layout.pages) {
        Item* control = ItemIn(*raw, source.tabItem);
        const int16_t pageId = NewPageId(module);
        if (control == nullptr || pageId == 0) {
            Error(std::string(kind) + ": page " + std::to_string(source.page) + " of tab control " +
                  std::to_string(source.tabItem) + " of dialog " + std::to_string(resId) + " cannot be built");
            continue;
        }
        auto page = std::make_unique<Dialog>();
        page->id = pageId;
        page->modal = modal;
        page->module = module;
        page->callback = callback;
        page->userData = userData;
        page->parentId = resId;
        page->tabItem = source.tabItem;
        page->pageNumber = source.page;
        page->title = source.title;
        page->width = control->rect.GetWidth();
        page->height = control->rect.GetHeight();
        for (const RSDialogItem& item : source.items) page->items.push_back(MakeItem(item));
        control->pages.push_back(pageId);
        control->selected = 1;
        GetState().dialogs[pageId] = std::move(page);
    }
    return raw;
}

void DestroyDialog(int16_t dialId) {
    State& state = GetState();
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) return;
    for (const Item& item : dialog->items)
        for (int16_t page : item.pages) state.dialogs.erase(page);
    if (state.activeModeless == dialId) state.activeModeless = 0;
    state.dialogs.erase(dialId);
}

void CloseAndLog(int16_t dialId, int16_t item) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr || dialog->closing) return;
    dialog->closing = true;
    Note(dialId, "close", item);
    Deliver(dialId, DG_MSG_CLOSE, item, 0);
    dialog = FindDialog(dialId);
    if (dialog == nullptr) return;
    DGDriver::LogRecord record = Snapshot(*dialog, dialog->modal ? "modal" : "modeless");
    record.result = item;
    const std::vector<Wait>& waits = GetState().waits;
    if (!waits.empty() && waits.back().dialId == dialId) record.faults = waits.back().faults;
    LogEnded(std::move(record));
    DestroyDialog(dialId);
}

DGDriver::LogRecord Snapshot(const Dialog& dialog, const char* kind) {
    DGDriver::LogRecord record;
    record.kind = dialog.parentId != 0 ? "page" : kind;
    record.id = dialog.id;
    record.title = dialog.title.ToUtf8();
    record.clientWidth = dialog.width;
    record.clientHeight = dialog.height;
    record.x = dialog.x;
    record.y = dialog.y;
    record.visible = IsShown(dialog);
    record.focus = dialog.focus;
    record.tabItem = dialog.tabItem;
    record.page = dialog.pageNumber;
    if (dialog.parentId == 0) record.events = dialog.events;
    record.used = dialog.used;
    record.unanswered = dialog.unanswered;
    record.pending = dialog.pending;
    for (const Item& item : dialog.items) {
        DGDriver::ItemState state;
        state.id = item.id;
        state.kind = RSDialogItemKindName(item.kind);
        state.rect = item.rect;
        state.text = IsNumericEdit(item.kind) ? ValueText(item).ToUtf8() : item.text.ToUtf8();
        state.value = item.value;
        state.enabled = item.enabled;
        state.visible = item.visible;
        state.hasMin = item.hasMin;
        state.hasMax = item.hasMax;
        state.minValue = item.minValue;
        state.maxValue = item.maxValue;
        state.textLimit = item.textLimit;
        state.radioGroup = item.radioGroup;
        state.image = item.image;
        state.fontCode = item.fontCode;
        state.helpIndex = item.helpIndex;
        state.font = item.font;
        for (const DGDriver::TabFieldState& field : item.tabFields)
            state.tabFields.emplace_back(field.begin, field.end);
        state.tabFieldData = item.tabFields;
        state.rowHeight = item.rowHeight;
        for (const Row& row : item.rows) {
            DGDriver::RowState rs;
            for (const GS::UniString& t : row.texts) rs.texts.push_back(t.ToUtf8());
            rs.icons = row.icons;
            rs.separator = row.separator;
            rs.userData = row.userData;
            rs.background = row.background;
            rs.colour = row.colour;
            rs.style = row.style;
            rs.drawing = row.drawing;
            state.rows.push_back(std::move(rs));
        }
        state.selected = item.selected;
        for (size_t k = 0; k < item.popUpTexts.size(); ++k)
            state.popUpItems.push_back(item.popUpSeparators[k] ? "-" : item.popUpTexts[k].ToUtf8());
        state.popUpStatus = item.popUpStatus;
        state.drawing = item.drawing;
        state.controlType = item.controlType;
        state.style = item.style;
        for (const auto& [index, colour] : item.colours)
            state.colours.push_back(std::to_string(index) + ": " + std::to_string(colour.red) + " " +
                                    std::to_string(colour.green) + " " + std::to_string(colour.blue));
        record.items.push_back(std::move(state));
        for (int16_t pageId : item.pages)
            if (const Dialog* page = FindDialog(pageId)) record.pages.push_back(Snapshot(*page, "page"));
    }
    return record;
}

}  // namespace dgimpl

using namespace dgimpl;

// ------------------------------------------------------------------------------------------------ Dialogs

int16_t DGModalDialog(GSResModule resModule, int16_t resId, GSResModule /*helpModule*/, DGDialCallBack callback,
                      DGUserData userData) {
    if (CreateDialog(resModule, resId, true, callback, userData) == nullptr) return 0;
    State& state = GetState();
    if (state.modalDepth++ == 0) TellModelessWindows(0);
    const WaitScope wait(resId);
    Init(resId);

    bool automaticOkGiven = false;
    int16_t result = 0;
    for (;;) {
        Dialog* dialog = FindDialog(resId);
        if (dialog == nullptr) {
            Error("dialog " + std::to_string(resId) + " vanished while it was running");
            if (--state.modalDepth == 0) TellModelessWindows(1);
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
            wait.AnswerTaken();
            NoteAutomaticOk(*dialog);
            const int16_t answer = Deliver(resId, DG_MSG_CLICK, 1, 0);
            NoteText(resId, "click 1 -> " + std::to_string(answer));
            if (answer != 0) {
                result = answer;
                break;
            }
            continue;
        }
        wait.AnswerTaken();
        const int16_t answer = ApplyAnswer(*action, wait);
        if (answer != 0) {
            result = answer;
            break;
        }
    }
    CloseAndLog(resId, result);
    if (--state.modalDepth == 0) TellModelessWindows(1);
    return result;
}

void DGAbortModalDialog(int16_t dialId, int16_t item) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr || !dialog->modal || dialog->parentId != 0) {
        Warning("DGAbortModalDialog: no modal dialog " + std::to_string(dialId) + " is open");
        return;
    }
    dialog->abortItem = item != 0 ? item : 2;
}

int16_t DGModelessInit(GSResModule resModule, int16_t resId, DGDialCallBack callback, DGUserData userData) {
    if (CreateDialog(resModule, resId, false, callback, userData) == nullptr) return 0;
    GetState().activeModeless = resId;
    Init(resId);
    const Dialog* dialog = FindDialog(resId);
    if (dialog == nullptr) return 0;
    Publish(DGDriver::DialogEvent::Opened, Snapshot(*dialog, "modeless"));
    return resId;
}

int16_t DGModelessInit(GSResModule resModule, int16_t resId, GSResModule /*helpModule*/, DGDialCallBack callback,
                       DGUserData userData, int16_t /*nRefresh*/) {
    return DGModelessInit(resModule, resId, callback, userData);
}

namespace {
Dialog* ModelessWindow(int16_t dialId, const char* operation) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr || dialog->modal || dialog->parentId != 0) {
        Warning(std::string(operation) + ": no modeless dialog " + std::to_string(dialId) + " is open");
        return nullptr;
    }
    return dialog;
}
}  // namespace

void DGModelessClose(int16_t dialId) {
    if (ModelessWindow(dialId, "DGModelessClose") != nullptr) CloseAndLog(dialId, 0);
}

void DGShowModelessDialog(int16_t dialId) {
    Dialog* dialog = ModelessWindow(dialId, "DGShowModelessDialog");
    if (dialog == nullptr || dialog->visible) return;
    dialog->visible = true;
    NoteText(dialId, "show");
    RequestRedrawOfAll(dialId);
}

void DGHideModelessDialog(int16_t dialId) {
    Dialog* dialog = ModelessWindow(dialId, "DGHideModelessDialog");
    if (dialog == nullptr || !dialog->visible) return;
    dialog->visible = false;
    NoteText(dialId, "hide");
}

bool DGIsModelessDialogVisible(int16_t dialId) {
    const Dialog* dialog = FindDialog(dialId);
    return dialog != nullptr && !dialog->modal && dialog->parentId == 0 && dialog->visible;
}

bool DGIsDialogOpen(int16_t dialId) {
    const Dialog* dialog = FindDialog(dialId);
    return dialog != nullptr && !dialog->closing;
}

void DGResetDialogRectangles() {}

void DGEnableMessage(int16_t dialId, int16_t item, int16_t message, bool enable) {
    Dialog* dialog = FindDialog(dialId);
    if (dialog == nullptr) {
        Warning("DGEnableMessage: dialog " + std::to_string(dialId) + " is not open");
        return;
    }
    if (enable)
        dialog->disabled.erase({item, message});
    else
        dialog->disabled.insert({item, message});
}

void DGGetMousePosition(int16_t /*dialId*/, DGMousePosData* data) {
    if (data != nullptr) *data = GetState().mouse;
}
