// State of the headless dialog manager, shared by its source files.
#pragma once

#include "DG.hpp"
#include "DGDriver.hpp"
#include "Resources.hpp"

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace dgimpl {

struct Row {
    std::vector<GS::UniString> texts;               // per tab field, at least one
    std::vector<int32_t> icons;                     // per tab field, 0 when none
    std::vector<std::vector<std::string>> drawing;  // per tab field: the last redraw of an owner-drawn cell
    bool separator = false;
    intptr_t userData = 0;
    DGColorRec background = {65535, 65535, 65535};
    DGColorRec colour = {0, 0, 0};
    int16_t style = 0;
};

struct Item {
    int16_t id = 0;
    RSDialogItemKind kind = RSDialogItemKind::Static;
    DG::Rect rect;
    GS::UniString text;
    double value = 0.0;
    bool blank = false;  // a numeric edit showing no number (its value then reads 0)
    bool enabled = true;
    bool visible = true;
    bool hasMin = false;
    bool hasMax = false;
    double minValue = 0.0;
    double maxValue = 0.0;
    int32_t textLimit = 0;
    int16_t radioGroup = 0;
    int32_t image = 0;
    int32_t fontCode = 0;
    int32_t helpIndex = 0;
    std::string font;
    // Lists.
    std::vector<DGDriver::TabFieldState> tabFields;
    int32_t rowHeight = 0;
    std::vector<Row> rows;
    int32_t selected = 0;  // lists and pop-ups, from 1; tab controls: the page shown
    bool drawDisabled = false;
    // Pop-ups.
    std::vector<GS::UniString> popUpTexts;
    std::vector<bool> popUpSeparators;
    std::vector<int16_t> popUpStatus;
    // User items.
    std::vector<std::string> drawing;
    // User controls.
    int32_t controlType = -1;
    DGDriver::UserControlCheck accepts;
    int32_t style = 0;
    std::map<int16_t, DGColorRec> colours;
    // Tab controls: the dialog id of each page.
    std::vector<int16_t> pages;
};

struct Dialog {
    int16_t id = 0;
    bool modal = true;
    GSResModule module = InvalidResModule;
    DGDialCallBack callback = nullptr;
    DGUserData userData = 0;
    // Tab pages: the dialog holding the page, its tab control and its number.
    int16_t parentId = 0;
    int16_t tabItem = 0;
    int16_t pageNumber = 0;
    GS::UniString title;
    int32_t width = 0;
    int32_t height = 0;
    int32_t x = 0;
    int32_t y = 0;
    bool visible = true;
    bool closing = false;
    bool initialising = false;  // its init message runs: the first drawing follows it, whole
    int16_t focus = 0;
    int16_t abortItem = 0;
    std::vector<Item> items;
    std::vector<std::string> events;  // pages note theirs in their dialog's
    // How the user answered: the queued actions that applied, whether it got the automatic OK (with the
    // actions then queued for dialogs not open).
    std::vector<std::string> used;
    bool unanswered = false;
    std::vector<std::string> pending;
    std::set<std::pair<int16_t, int16_t>> disabled;  // (item, message) not sent; item 0: every item
};

enum class Target { Dialog, Alert, Folder, File, Colour };

enum class ActionKind {
    SetLong,
    SetDouble,
    SetText,
    PickRow,
    PickPopUp,
    Click,
    ClickAt,
    SwitchTab,
    Resize,
    CloseWindow,
    CloseBox,
    AlertAnswer,
    FolderAnswer,
    FileAnswer,
    ColourAnswer,
    Cancel
};

struct Action {
    Target target = Target::Dialog;
    ActionKind kind = ActionKind::Click;
    int16_t dialogId = 0;
    int16_t tabItem = 0;  // an item of a tab page: the tab control and the page
    int16_t page = 0;
    int16_t item = 0;
    int32_t number = 0;  // long value, row, pop-up item, page, alert button, file filter, width
    int32_t second = 0;  // height; 1 for a click on a list row (number: the row)
    double real = 0.0;
    std::string text;
    std::vector<std::string> paths;
    uint16_t rgb[3] = {0, 0, 0};
    DGDriver::ClickPoint point;
    uint64_t stamp = 0;
};

// A dialog or system dialog waiting for the user, or a modeless window handed an action: the errors raised
// meanwhile are its faults (a wait opened inside takes its own).
struct Wait {
    int16_t dialId = 0;  // 0: a system dialog
    std::vector<std::string> faults;
    std::vector<size_t> alerts;  // the log's records of the alerts shown meanwhile, since its latest answer
};

// What an update message draws into.
struct DrawTarget {
    int16_t dialId = 0;
    int16_t item = 0;
    int32_t row = 0;  // list cells
    int16_t tab = 0;
    int32_t stretchMode = 0;  // SetStretchBltMode on this target's device context
};

// A redraw asked for: a user item, a whole list (row 0) or one cell of a list.
struct Redraw {
    int16_t dialId = 0;
    int16_t item = 0;
    int32_t row = 0;
    int16_t tab = 0;
    bool operator==(const Redraw& o) const {
        return dialId == o.dialId && item == o.item && row == o.row && tab == o.tab;
    }
};

struct State {
    std::map<int16_t, std::unique_ptr<Dialog>> dialogs;  // dialogs and tab pages by id
    std::deque<Action> queue;
    uint64_t nextStamp = 1;
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
    std::vector<DGDriver::LogRecord> log;
    std::deque<Redraw> pendingRedraws;
    std::vector<DrawTarget> drawTargets;  // the update messages running, innermost last
    int32_t depth = 0;
    bool flushing = false;
    int32_t modalDepth = 0;
    int16_t activeModeless = 0;
    DGMousePosData mouse = {};
    int32_t lengthUnit = DG_UNIT_M;
    std::vector<Wait> waits;  // innermost last
};

State& GetState();

// Opens a wait for the scope's life.
class WaitScope {
public:
    explicit WaitScope(int16_t dialId);
    ~WaitScope();
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;
    const std::vector<std::string>& Faults() const;
    // The dialog takes another answer of the user's: the alerts shown while it waited came before that answer.
    void AnswerTaken() const;

private:
    size_t index_;
};

void Error(const std::string& text);
void Warning(const std::string& text);

Dialog* FindDialog(int16_t dialId);
// The dialog a tab page belongs to (the dialog itself for a dialog).
Dialog* RootOf(Dialog* dialog);
// A dialog or tab page the user can see: open, not closing, visible; a page also needs its tab control
// visible and showing it.
bool IsShown(const Dialog& dialog);
Item* ItemIn(Dialog& dialog, int16_t item);
const Item* ItemIn(const Dialog& dialog, int16_t item);
// The item, or null with a warning naming `operation`.
Item* FindItem(int16_t dialId, int16_t item, const char* operation);
// The item of that kind, or null with a warning.
Item* FindKind(int16_t dialId, int16_t item, RSDialogItemKind kind, const char* operation);

// Notes an event of a dialog or page ("change 6"; a page's: "change 3.1:16"), `suffix` after it.
void Note(int16_t dialId, const std::string& what, int16_t item, const std::string& suffix = "");
void NoteText(int16_t dialId, const std::string& text);
// Calls the dialog's callback (never with a stale dialog, nor with a message the dialog turned off);
// exceptions become errors and answer 0.
int16_t Deliver(int16_t dialId, int16_t message, int16_t item, DGMessageData data);
void RequestRedraw(int16_t dialId, int16_t item, int32_t row = 0, int16_t tab = 0);
// Every user item and list with owner-drawn fields of the dialog (and of the pages shown).
void RequestRedrawOfAll(int16_t dialId);
void FlushRedraws();

// Builds the dialog (and the pages of its tab controls) from its layout; null with an error.
Dialog* CreateDialog(GSResModule module, int16_t resId, bool modal, DGDialCallBack callback, DGUserData userData);
// Sends the init message, then draws every user item and owner-drawn list cell of the dialog once.
void Init(int16_t dialId);
// Delivers the close message, logs the dialog with its pages, destroys them.
void CloseAndLog(int16_t dialId, int16_t item);
void DestroyDialog(int16_t dialId);

// Checks radio button `item` and unchecks the rest of its group.
void CheckRadio(Dialog& dialog, Item& item);
// Numbers as an item shows them and reads them.
GS::UniString ValueText(const Item& item);
bool ReadValue(const Item& item, const std::string& text, double* value, std::string* why);
bool IsNumericEdit(RSDialogItemKind kind);
// Places the items put over tab fields of a list on its selected row.
void PlaceRowEditors(Dialog& dialog, Item& list);

std::string Describe(const Action& action);
// The action as a dialog's answer: without the dialog it is for.
std::string DescribeAnswer(const Action& action);
std::string Quote(const GS::UniString& text);
DGDriver::LogRecord Snapshot(const Dialog& dialog, const char* kind);
// Tells the observer of the event, with the record.
void Publish(DGDriver::DialogEvent event, const DGDriver::LogRecord& record);
// Tells the observer a dialog or system dialog ended and keeps its record in the log.
void LogEnded(DGDriver::LogRecord record);
// A system dialog's record as it ends: how it was answered and the faults of its wait.
void LogSystemDialog(DGDriver::LogRecord record, const WaitScope& wait, const std::optional<Action>& action);

// The next action for a waiting modal dialog or system dialog; none when no action for it is left. Front
// actions aimed at another dialog are errors and are dropped.
std::optional<Action> NextActionFor(Target target, int16_t dialId);
// Whether the queue's first action answers an alert with that button.
bool FrontAlertAnswerIs(int32_t button);

// Delivers one action to an open dialog as the user would do it. Answers the item that closes the dialog
// (a click answered with an item), else 0.
int16_t Apply(const Action& action);
// Apply within `wait`, the action noted among its dialog's answers unless it raised a fault.
int16_t ApplyAnswer(const Action& action, const WaitScope& wait);

}  // namespace dgimpl
