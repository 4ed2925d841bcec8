#include "ui/SettingsDialogAnswers.hpp"

namespace {
std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}
}  // namespace

bool SettingsDialogAnswers::Next(Dialog dialog, SettingsDialogAnswer* answer) {
    std::deque<SettingsDialogAnswer>& q = queue_[dialog];
    if (q.empty()) return false;
    *answer = q.front();
    q.pop_front();
    return true;
}

bool SettingsDialogAnswers::ParseValues(const std::string& text,
                                        std::vector<std::pair<std::string, std::string>>* values, std::string* why) {
    values->clear();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(';', start);
        if (end == std::string::npos) end = text.size();
        const std::string item = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (item.empty()) continue;
        const size_t eq = item.find('=');
        const std::string name = eq == std::string::npos ? std::string() : Trimmed(item.substr(0, eq));
        if (name.empty()) {
            *why = "\"" + item + "\" is no <name>=<value>";
            return false;
        }
        values->emplace_back(name, Trimmed(item.substr(eq + 1)));
    }
    return true;
}
