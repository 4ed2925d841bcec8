#include "ui/AlertText.hpp"

#include "TextFields.hpp"

std::string QuotedTitle(const DGDriver::LogRecord& record) {
    return record.title.empty() ? std::string("(no title)") : QuotedText(record.title);
}

std::string AlertText(const DGDriver::LogRecord& alert) {
    std::string s = "alert " + QuotedTitle(alert) + ":";
    for (const std::string& text : alert.texts)
        if (!text.empty()) s += " " + QuotedText(text);
    s += "; buttons ";
    for (size_t i = 0; i < alert.buttons.size(); ++i) s += (i == 0 ? "" : ", ") + QuotedText(alert.buttons[i]);
    const size_t chosen = size_t(alert.result);
    s += "; answered " +
        (chosen >= 1 && chosen <= alert.buttons.size() ? QuotedText(alert.buttons[chosen - 1])
                                                       : "button " + std::to_string(alert.result));
    return s;
}
