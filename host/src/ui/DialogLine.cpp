#include "ui/DialogLine.hpp"

#include "TextFields.hpp"
#include "ui/AlertText.hpp"

namespace {

std::string Joined(const std::vector<std::string>& texts, const std::string& between) {
    std::string s;
    for (const std::string& text : texts) s += (s.empty() ? "" : between) + text;
    return s;
}

// At most two of the actions waiting for other dialogs, and how many more.
std::string Pending(const std::vector<std::string>& pending) {
    if (pending.empty()) return "";
    std::string s = " (queued for dialogs not open: " + pending[0];
    if (pending.size() > 1) s += "; " + pending[1];
    if (pending.size() > 2) s += "; and " + std::to_string(pending.size() - 2) + " more";
    return s + ")";
}

std::string Faults(const DGDriver::LogRecord& record) {
    std::string s;
    for (const std::string& fault : record.faults) s += "; error: " + fault;
    return s;
}

std::string ModalLine(const DGDriver::LogRecord& record) {
    std::string s =
        "dialog " + std::to_string(record.id) + " " + QuotedTitle(record) + ": " + Joined(record.used, ", ");
    if (!record.used.empty()) s += "; ";
    if (record.unanswered)
        s += record.used.empty() && record.faults.empty() ? "nothing queued: " : "nothing more queued: ";
    if (record.unanswered && record.result == 1) {
        s += "closed with OK";
    } else {
        s += "closed with item " + std::to_string(record.result);
        for (const DGDriver::ItemState& item : record.items)
            if (item.id == record.result && item.kind == "button" && !item.text.empty())
                s += " " + QuotedText(item.text);
    }
    return s + Pending(record.pending) + Faults(record);
}

std::string SystemDialogLine(const DGDriver::LogRecord& record) {
    std::string s = record.kind == "colour" ? "colour dialog "
        : record.kind == "folder"           ? "folder dialog "
                                            : "file dialog ";
    s += QuotedTitle(record);
    if (record.kind == "file") s += record.id == 0 ? " (open)" : record.id == 1 ? " (open several)" : " (save)";
    s += ": ";
    if (record.result != 0) {
        s += "given";
        for (const std::string& answer : record.answer)
            s += " " + (record.kind == "colour" ? answer : QuotedText(answer));
    } else {
        s += record.unanswered ? "nothing queued: cancelled" : "cancelled";
    }
    return s + Faults(record);
}

}  // namespace

std::string DialogLine(DGDriver::DialogEvent event, const DGDriver::LogRecord& record) {
    using DGDriver::DialogEvent;
    if (record.kind == "modeless") {
        const std::string name = "palette " + std::to_string(record.id) + " " + QuotedTitle(record) + ": ";
        if (event == DialogEvent::Opened) return name + "opened";
        if (event == DialogEvent::Refused) return name + Faults(record).substr(2);
        return "";
    }
    if (record.kind == "modal") return ModalLine(record);
    if (record.kind == "alert") return AlertText(record) + Faults(record);
    if (record.kind == "folder" || record.kind == "file" || record.kind == "colour") return SystemDialogLine(record);
    return "";
}
