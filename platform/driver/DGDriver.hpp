// Driver side of the dialog manager: the host and the tests play the user through a queue of actions and read
// what every dialog showed in a log.
//
// Every action names the dialog it is for: a dialog by its id (resource id), an item of a tab page by the
// dialog, the tab control and the page (DialogRef::Page), alerts, folder, file and colour dialogs by their own
// kind. When a modal dialog (or an alert ...) waits for the user:
// - the front action is for it: it is delivered as the user would (value or text set, row or pop-up item
//   picked, tab page switched, then DG_MSG_CHANGE; a click gives DG_MSG_CLICK, and checks a radio button first;
//   a click on a check box turns it and gives DG_MSG_CHANGE, as setting it does; a click on a list row selects
//   it (DG_MSG_CHANGE when the selection moved) before the click; a pick in a user control gives DG_MSG_TRACK,
//   then DG_MSG_CHANGE);
// - no action for it is left anywhere in the queue: a modal dialog gets a click on item 1 (OK), an alert is
//   answered with button 1, a folder, file or colour dialog is cancelled;
// - otherwise the front action is aimed at another dialog: an error; it is dropped and the wait goes on.
// A modal dialog that stays open after the automatic click on OK is closed with item 2 and an error is recorded.
// Modeless windows stay open between the host's steps; DeliverModelessActions hands them their actions.
//
// An action either applies exactly as the user would do it, or it is an error that names it (item missing,
// disabled or hidden, on a tab page not shown, wrong kind, text longer than the item takes, value the item
// cannot take, a number outside the item's limits, a pop-up entry or list row the user cannot choose ...).
#pragma once

#include "DG.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace DGDriver {

// A dialog, or one page of one of its tab controls.
struct DialogRef {
    int16_t dialogId = 0;
    int16_t tabItem = 0;  // 0: the dialog itself
    int16_t page = 0;
    DialogRef(int16_t id) : dialogId(id) {}  // NOLINT: a plain dialog id names the dialog
    static DialogRef Page(int16_t dialogId, int16_t tabItem, int16_t page) {
        DialogRef ref(dialogId);
        ref.tabItem = tabItem;
        ref.page = page;
        return ref;
    }
};

// Where the user clicks within an item (its own coordinates) and the modifier keys held (DG_MOD_...).
struct ClickPoint {
    int32_t x = 0;
    int32_t y = 0;
    int16_t modifiers = 0;
};

// Queueing. Texts and paths are UTF-8; paths may use "\" or "/".
void QueueSetLong(DialogRef dialog, int16_t item, int32_t value);   // numeric edits, check boxes, radios, controls
void QueueSetDouble(DialogRef dialog, int16_t item, double value);  // numeric edits
// Text edits take the text; numeric edits, sliders, check boxes, radios and user controls read it as a number
// (a length edit in the host's length unit, an angle edit with or without a degree sign).
void QueueSetText(DialogRef dialog, int16_t item, const std::string& text);
void QueuePickListRow(DialogRef dialog, int16_t item, int32_t row);    // row from 1
void QueuePickPopUpItem(DialogRef dialog, int16_t item, int32_t pos);  // pop-up item from 1
void QueueClick(DialogRef dialog, int16_t item);
// A click at a point of the item. On a list the point's y picks the row (rows from the top, each of the
// list's row height); QueueClickListRow clicks the middle of a row at x.
void QueueClickAt(DialogRef dialog, int16_t item, ClickPoint point);
void QueueClickListRow(DialogRef dialog, int16_t item, int32_t row, int32_t x);
void QueueSwitchTab(DialogRef dialog, int16_t tabItem, int16_t page);  // the user shows another tab page
void QueueResize(int16_t dialogId, int32_t width, int32_t height);     // the user drags the window to that size
void QueueCloseWindow(int16_t dialogId);  // a modeless window is closed: DG_MSG_CLOSE, then it is gone
void QueueCloseBox(int16_t dialogId);     // the user clicks a modeless window's close box (click item -1)
void QueueAlertAnswer(int16_t button);    // button from 1
void QueueFolderAnswer(const std::string& path);
void QueueFolderCancel();
void QueueFileAnswer(const std::vector<std::string>& paths, int32_t filter = 0);
void QueueFileCancel();
void QueueColourAnswer(uint16_t red, uint16_t green, uint16_t blue);
void QueueColourCancel();

std::size_t PendingActionCount();
// Readable descriptions of the actions still queued ("click item 1 on dialog 32734").
std::vector<std::string> UnusedActions();
// Every action ever queued has a stamp, increasing from 1; the stamp the next action will get. A host that
// keeps a queue of its own (clicks in the plan window) notes it to keep the order of the two queues.
uint64_t NextStamp();

// Hands the open modeless windows their actions, in queue order: each action for a dialog that is an open
// modeless window (or a page of one) is delivered, and so on while delivering opens further windows. Actions
// for dialogs not open stay queued; only actions stamped before `before` are taken. Answers how many were
// delivered.
int32_t DeliverModelessActions(uint64_t before = UINT64_MAX);

// The host binds a user control to one of its attribute choosers (the Interface selector 'SUCC'): values
// the user picks in it must pass `accepts` (false with a reason: the pick is an error). False with `why` when
// the item is no user control of an open dialog.
using UserControlCheck = std::function<bool(int32_t value, std::string* why)>;
bool BindUserControl(int16_t dialogId, int16_t item, int32_t controlType, UserControlCheck accepts, std::string* why);

// The host's length unit (DG_UNIT_...): what DGGetUnit answers and what length edits show.
void SetLengthUnit(int32_t unit);
// Unit names "m", "dm", "cm", "mm", "ft", "in"; false for another name.
bool LengthUnitFromName(const std::string& name, int32_t* unit);

// Faults of the dialog flow (action for another dialog than the one waiting, action that does not apply, a
// dialog that would not close, a missing dialog layout ...). The host fails the run on any.
const std::vector<std::string>& Errors();
// Doubtful but harmless calls of the module (item or row that does not exist, missing image or icon resource).
const std::vector<std::string>& Warnings();

struct RowState {
    std::vector<std::string> texts;  // one per tab field (at least one)
    std::vector<int32_t> icons;      // icon resource id per tab field, 0 when none
    bool separator = false;
    intptr_t userData = 0;
    DGColorRec background = {65535, 65535, 65535};
    DGColorRec colour = {0, 0, 0};
    int16_t style = 0;
    // Owner-drawn cells: the drawing operations of their last redraw, per tab field.
    std::vector<std::vector<std::string>> drawing;
};

struct TabFieldState {
    int32_t begin = 0;
    int32_t end = 0;
    int16_t justification = 0;
    int16_t truncation = 0;
    bool separator = false;
    bool enabled = true;
    bool ownerDrawn = false;
    int16_t editor = 0;  // the item put over the selected row's cell, 0 when none
};

struct ItemState {
    int16_t id = 0;
    std::string kind;  // the layout kind: "button", "static", "edit", "intedit", "realedit", "list", ...
    DG::Rect rect;     // in the dialog's (or the tab page's) client coordinates
    std::string text;  // numeric edits: the value as shown
    double value = 0.0;
    bool enabled = true;
    bool visible = true;
    bool hasMin = false;
    bool hasMax = false;
    double minValue = 0.0;
    double maxValue = 0.0;
    int32_t textLimit = 0;
    int16_t radioGroup = 0;
    int32_t image = 0;  // image resource id shown by the item, 0 when none
    int32_t fontCode = 0;
    int32_t helpIndex = 0;
    std::string font;  // rich edits: "<family> <size>"
    // Lists.
    std::vector<std::pair<int32_t, int32_t>> tabFields;  // begin, end of each tab field
    std::vector<TabFieldState> tabFieldData;
    int32_t rowHeight = 0;
    std::vector<RowState> rows;
    // Lists and pop-ups: the selected row or item from 1, 0 when none; tab controls: the page shown.
    int32_t selected = 0;
    std::vector<std::string> popUpItems;  // a separator reads "-"
    std::vector<int16_t> popUpStatus;
    // User items: the drawing operations of the last redraw.
    std::vector<std::string> drawing;
    // User controls: the control type bound by the host (-1 unbound), the style and the colours set.
    int32_t controlType = -1;
    int32_t style = 0;
    std::vector<std::string> colours;
};

struct LogRecord {
    std::string kind;  // "modal", "modeless", "page", "alert", "folder", "file", "colour"
    int32_t id = 0;    // dialog resource id (page: the page's dialog id); alert type; file dialog type
    std::string title;
    std::vector<std::string> texts;    // alert: large text, small text
    std::vector<std::string> buttons;  // alert: the buttons shown
    int32_t opening = 0;               // alert: the dialog whose opening showed it (its init message ran), 0 none
    int32_t within = 0;                // alert: the innermost dialog waiting for the user when it came, 0 none
    bool answeredAfter = false;        // alert: that dialog took another answer of the user's after it
    // The closing item (dialogs), the button (alerts), 1 chosen or 0 cancelled (folder, file, colour).
    int32_t result = 0;
    std::vector<std::string> answer;  // chosen folder or files, colour "r g b"
    // How the user answered: the queued actions it took, in order ("set item 8 to 2.5", "click item 1"; a
    // system dialog's: "cancel a file dialog" ...); `unanswered` when it waited with nothing queued for it (a
    // modal dialog then gets the automatic OK, with `pending` the actions queued for dialogs not open; an alert
    // button 1; a folder, file or colour dialog is cancelled); `faults` the errors raised while it waited (an
    // answer for another dialog dropped, an answer that did not apply, and why).
    std::vector<std::string> used;
    bool unanswered = false;
    std::vector<std::string> pending;
    std::vector<std::string> faults;
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    int32_t x = 0;
    int32_t y = 0;
    bool visible = true;
    int16_t focus = 0;             // the focused item, -1 the window itself
    std::vector<ItemState> items;  // final state, in layout order
    // Messages delivered, in order: "init", "update 9", "change 3", "track 11", "click 1 -> 1", "close 1" ...
    // A message to an item of a tab page reads "change 3.1:16" (tab control 3, page 1, item 16).
    std::vector<std::string> events;
    // Tab pages (kind "page"): the tab control, the page number, its items.
    int16_t tabItem = 0;
    int16_t page = 0;
    std::vector<LogRecord> pages;
};

// What the observer is told of: a dialog, alert, folder, file or colour dialog ended (its record as Log() keeps
// it); a modeless window opened (its state after its init); an action for an open modeless window raised faults
// (the window's state, `used` the action, `faults` why; the window may have closed: then its id and title).
enum class DialogEvent { Ended, Opened, Refused };
// Told of each event as it happens: the host prints what the user saw. An empty function: nobody is told.
void SetDialogObserver(std::function<void(DialogEvent event, const LogRecord& record)> observer);

// Every dialog, alert and file, folder or colour dialog shown, in the order they ended.
const std::vector<LogRecord>& Log();
std::string FormatRecord(const LogRecord& record);
// The whole log in readable form.
std::string LogText();

// State of an open dialog (or tab page), in log form; false when it is not open.
bool GetDialogState(DialogRef dialog, LogRecord* state);
// The open dialogs, pages not included.
std::vector<int16_t> OpenDialogs();
// The open modeless windows.
std::vector<int16_t> OpenModelessDialogs();

// Drops queued actions, log, errors and warnings.
void ClearQueueAndLog();
// Destroys every open dialog without delivering any message (its module is gone); answers their ids.
std::vector<int16_t> ForgetOpenDialogs();
// Also destroys every open dialog without delivering any message, and sets the length unit back to metres.
void Reset();

}  // namespace DGDriver
