#pragma once
// The user's answers to the host's own settings dialogs: a tool's settings dialog ('SETD') and the object
// settings dialog ('OBJS'). Each dialog takes the front answer queued for it: OK, optionally with another library
// part and parameter values, or cancel. With none queued the user closes it with OK and changes nothing.
// What each dialog showed and answered is kept in order.
#include "APIDefs.hpp"

#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

struct SettingsDialogAnswer {
    bool ok = true;
    std::string libPart;                                      // "" keeps the tool's part
    std::vector<std::pair<std::string, std::string>> values;  // parameter name, value as typed
};

class SettingsDialogAnswers {
public:
    enum Dialog { ToolSettings, ObjectSettings };

    void Queue(Dialog dialog, const SettingsDialogAnswer& answer) { queue_[dialog].push_back(answer); }
    // The front answer for the dialog; false when none is queued.
    bool Next(Dialog dialog, SettingsDialogAnswer* answer);
    size_t Pending() const { return queue_[0].size() + queue_[1].size(); }

    struct Shown {
        Dialog dialog = ToolSettings;
        API_ToolBoxItem tool = {};
        std::string filter;  // the subtype filter of the object settings dialog
        std::string answer;  // "OK", "OK <part>", "cancel", or why the answer did not apply
        GSErrCode result = NoError;
    };
    void Note(const Shown& shown) { shown_.push_back(shown); }
    const std::vector<Shown>& ShownDialogs() const { return shown_; }
    void Clear() {
        queue_[0].clear();
        queue_[1].clear();
        shown_.clear();
    }

    // "A=2.5; name=some text" into name, value pairs; false with `why` for an item without "=" or name.
    static bool ParseValues(const std::string& text, std::vector<std::pair<std::string, std::string>>* values,
                            std::string* why);

private:
    std::deque<SettingsDialogAnswer> queue_[2];
    std::vector<Shown> shown_;
};
