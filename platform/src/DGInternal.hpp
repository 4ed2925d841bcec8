// State of the headless dialog manager, shared by its source files.
#pragma once

#include "DG.hpp"
#include "DGDriver.hpp"
#include "Resources.hpp"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dgimpl {

struct Row {
    std::vector<GS::UniString> texts;  // per tab field, at least one
    std::vector<int32_t> icons;        // per tab field, 0 when none
};

struct Item {
    int16_t id = 0;
    RSDialogItemKind kind = RSDialogItemKind::Static;
    DG::Rect rect;
    GS::UniString text;
    double value = 0.0;
    bool enabled = true;
    bool visible = true;
    bool hasMin = false;
    bool hasMax = false;
    double minValue = 0.0;
    double maxValue = 0.0;
    int32_t image = 0;
    // Lists.
    std::vector<std::pair<int32_t, int32_t>> tabFields;
    int32_t rowHeight = 0;
    std::vector<Row> rows;
    int32_t selected = 0;  // lists and pop-ups, from 1
    // Pop-ups.
    std::vector<GS::UniString> popUpTexts;
    std::vector<bool> popUpSeparators;
    // User items.
    std::vector<std::string> drawing;
};

struct Dialog {
    int16_t id = 0;
    bool modal = true;
    GSResModule module = InvalidResModule;
    DGDialCallBack callback = nullptr;
    DGUserData userData = 0;
    GS::UniString title;
    int32_t width = 0;
    int32_t height = 0;
    int32_t x = 0;
    int32_t y = 0;
    bool visible = true;
    bool closing = false;
    int16_t focus = 0;
    int16_t abortItem = 0;
    std::vector<Item> items;
    std::vector<std::string> events;
};

enum class Target { Dialog, Alert, Folder, File, Colour };

enum class ActionKind {
    SetLong,
    SetDouble,
    SetText,
    PickRow,
    PickPopUp,
    Click,
    CloseWindow,
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
    int16_t item = 0;
    int32_t number = 0;  // long value, row, pop-up item, alert button, file filter
    double real = 0.0;
    std::string text;
    std::vector<std::string> paths;
    uint16_t rgb[3] = {0, 0, 0};
};

struct State {
    std::map<int16_t, std::unique_ptr<Dialog>> dialogs;
    std::deque<Action> queue;
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
    std::vector<DGDriver::LogRecord> log;
    std::deque<std::pair<int16_t, int16_t>> pendingRedraws;
    int32_t depth = 0;
    bool flushing = false;
};

State& GetState();

void Error(const std::string& text);
void Warning(const std::string& text);

Dialog* FindDialog(int16_t dialId);
// The item, or null with a warning naming `operation`.
Item* FindItem(int16_t dialId, int16_t item, const char* operation);

// Calls the dialog's callback (never with a stale dialog); exceptions become errors and answer 0.
int16_t Deliver(int16_t dialId, int16_t message, int16_t item, DGMessageData data);
void RequestRedraw(int16_t dialId, int16_t item);
void RequestRedrawOfUserItems(int16_t dialId);
void FlushRedraws();

std::string Describe(const Action& action);
std::string Quote(const GS::UniString& text);
DGDriver::LogRecord Snapshot(const Dialog& dialog, const char* kind);

}  // namespace dgimpl
