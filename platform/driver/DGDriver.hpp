// Driver side of the dialog manager: the host and the tests play the user through a queue of actions and read
// what every dialog showed in a log.
//
// Every action names the dialog it is for: a dialog by its id (resource id), alerts, folder, file and colour
// dialogs by their own kind. When a dialog waits for the user:
// - the front action is for it: it is delivered as the user would (value or text set, row or pop-up item
//   picked, then DG_MSG_CHANGE; a click gives DG_MSG_CLICK);
// - no action for it is left anywhere in the queue: a modal dialog gets a click on item 1 (OK), an alert is
//   answered with button 1, a folder, file or colour dialog is cancelled;
// - otherwise the front action is aimed at another dialog: an error; it is dropped and the wait goes on.
// A modal dialog that stays open after the automatic click on OK is closed with item 2 and an error is recorded.
// Actions for open modeless dialogs are delivered by DeliverModelessActions.
#pragma once

#include "DG.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace DGDriver {

// Queueing. Texts and paths are UTF-8; paths may use "\" or "/".
void QueueSetLong(int16_t dialogId, int16_t item, int32_t value);   // numeric edits, check boxes, radios
void QueueSetDouble(int16_t dialogId, int16_t item, double value);  // numeric edits
// Text edits take the text; numeric edits, check boxes and radios parse it as a number.
void QueueSetText(int16_t dialogId, int16_t item, const std::string& text);
void QueuePickListRow(int16_t dialogId, int16_t item, int32_t row);    // row from 1
void QueuePickPopUpItem(int16_t dialogId, int16_t item, int32_t pos);  // pop-up item from 1
void QueueClick(int16_t dialogId, int16_t item);
void QueueCloseWindow(int16_t dialogId);  // the user closes a modeless window: DG_MSG_CLOSE, then it is gone
void QueueAlertAnswer(int16_t button);    // button from 1
void QueueFolderAnswer(const std::string& path);
void QueueFolderCancel();
void QueueFileAnswer(const std::vector<std::string>& paths, int32_t filter = 0);
void QueueFileCancel();
void QueueColourAnswer(uint16_t red, uint16_t green, uint16_t blue);
void QueueColourCancel();

std::size_t PendingActionCount();
// Readable descriptions of the actions still queued ("click 1 on dialog 32734").
std::vector<std::string> UnusedActions();

// Delivers the front actions while they are for open modeless dialogs; answers how many were delivered.
int32_t DeliverModelessActions();

// Faults of the dialog flow (action for another dialog than the one waiting, action on a missing, disabled or
// hidden item, a dialog that would not close, a missing dialog layout ...). The host fails the run on any.
const std::vector<std::string>& Errors();
// Doubtful but harmless calls (item or row that does not exist, missing image or icon resource).
const std::vector<std::string>& Warnings();

struct RowState {
    std::vector<std::string> texts;  // one per tab field (at least one)
    std::vector<int32_t> icons;      // icon resource id per tab field, 0 when none
};

struct ItemState {
    int16_t id = 0;
    std::string kind;  // the layout kind: "button", "static", "edit", "intedit", "realedit", "list", ...
    std::string text;
    double value = 0.0;
    bool enabled = true;
    bool visible = true;
    bool hasMin = false;
    bool hasMax = false;
    double minValue = 0.0;
    double maxValue = 0.0;
    int32_t image = 0;  // image resource id shown by the item, 0 when none
    // Lists.
    std::vector<std::pair<int32_t, int32_t>> tabFields;  // begin, end of each tab field
    int32_t rowHeight = 0;
    std::vector<RowState> rows;
    // Lists and pop-ups: the selected row or item from 1, 0 when none.
    int32_t selected = 0;
    std::vector<std::string> popUpItems;  // a separator reads "-"
    // User items: the drawing operations of the last redraw.
    std::vector<std::string> drawing;
};

struct LogRecord {
    std::string kind;  // "modal", "modeless", "alert", "folder", "file", "colour"
    int32_t id = 0;    // dialog resource id; alert type of an alert; file dialog type of a file dialog
    std::string title;
    std::vector<std::string> texts;    // alert: large text, small text
    std::vector<std::string> buttons;  // alert: the buttons shown
    // The closing item (dialogs), the button (alerts), 1 chosen or 0 cancelled (folder, file, colour).
    int32_t result = 0;
    std::vector<std::string> answer;  // chosen folder or files, colour "r g b"
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    int32_t x = 0;
    int32_t y = 0;
    std::vector<ItemState> items;     // final state, in layout order
    std::vector<std::string> events;  // messages delivered, in order: "init", "change 3", "click 1 -> 1", ...
};

// Every dialog, alert and file, folder or colour dialog shown, in the order they ended.
const std::vector<LogRecord>& Log();
std::string FormatRecord(const LogRecord& record);
// The whole log in readable form.
std::string LogText();

// State of an open dialog, in log form; false when it is not open.
bool GetDialogState(int16_t dialogId, LogRecord* state);
std::vector<int16_t> OpenDialogs();

// Drops queued actions, log, errors and warnings.
void ClearQueueAndLog();
// Also destroys every open dialog without delivering any message.
void Reset();

}  // namespace DGDriver
