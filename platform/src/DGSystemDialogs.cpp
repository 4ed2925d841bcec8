// Headless dialog manager: alerts and the host's folder, file and colour dialogs, answered from the driver queue.
#include "DGInternal.hpp"

namespace dgimpl {

namespace {
std::function<void(DGDriver::DialogEvent, const DGDriver::LogRecord&)>& Observer() {
    static std::function<void(DGDriver::DialogEvent, const DGDriver::LogRecord&)> observer;
    return observer;
}
}  // namespace

void Publish(DGDriver::DialogEvent event, const DGDriver::LogRecord& record) {
    if (Observer()) Observer()(event, record);
}

void LogEnded(DGDriver::LogRecord record) {
    Publish(DGDriver::DialogEvent::Ended, record);
    GetState().log.push_back(std::move(record));
}

void LogSystemDialog(DGDriver::LogRecord record, const WaitScope& wait, const std::optional<Action>& action) {
    record.unanswered = !action;
    if (action) record.used.push_back(DescribeAnswer(*action));
    record.faults = wait.Faults();
    LogEnded(std::move(record));
}

}  // namespace dgimpl

using namespace dgimpl;

void DGDriver::SetDialogObserver(std::function<void(DialogEvent, const LogRecord&)> observer) {
    Observer() = std::move(observer);
}

// ------------------------------------------------------------------------------------------------- Alerts

int16_t DGAlert(int16_t alertType, const GS::UniString& title, const GS::UniString& largeText,
                const GS::UniString& smallText, const GS::UniString& button1, const GS::UniString& button2,
                const GS::UniString& button3) {
    DGDriver::LogRecord record;
    record.kind = "alert";
    record.id = alertType;
    record.title = title.ToUtf8();
    record.texts = {largeText.ToUtf8(), smallText.ToUtf8()};
    record.buttons.push_back(button1.IsEmpty() ? "OK" : button1.ToUtf8());
    if (!button2.IsEmpty() || !button3.IsEmpty()) record.buttons.push_back(button2.ToUtf8());
    if (!button3.IsEmpty()) record.buttons.push_back(button3.ToUtf8());
    for (const auto& [id, dialog] : GetState().dialogs)
        if (dialog->initialising) record.opening = id;
    size_t waiting = GetState().waits.size();
    while (waiting > 0 && GetState().waits[waiting - 1].dialId == 0) --waiting;
    if (waiting > 0) record.within = GetState().waits[waiting - 1].dialId;

    int16_t answer = 1;
    const WaitScope wait(0);
    // An alert with only OK asks nothing: a user clicks it away and goes on with what they meant to do next, so it
    // takes a queued answer only when that answer comes next and is its OK (an answer of another button is for a
    // question still to come).
    const bool onlyOK = record.buttons.size() == 1;
    const std::optional<Action> action =
        onlyOK && !FrontAlertAnswerIs(1) ? std::nullopt : NextActionFor(Target::Alert, 0);
    if (action) {
        const bool shown = action->number >= 1 && action->number <= 3 &&
            (action->number == 1 || (action->number == 2 && !button2.IsEmpty()) ||
             (action->number == 3 && !button3.IsEmpty()));
        if (shown)
            answer = static_cast<int16_t>(action->number);
        else
            Error(Describe(*action) + ": the alert " + Quote(largeText) + " has no such button; answered 1");
    }
    record.result = answer;
    LogSystemDialog(std::move(record), wait, action);
    if (waiting > 0 && waiting <= GetState().waits.size())
        GetState().waits[waiting - 1].alerts.push_back(GetState().log.size() - 1);
    return answer;
}

int16_t DGGetColor(const GS::UniString& title, DGColorRec* colour) {
    DGDriver::LogRecord record;
    record.kind = "colour";
    record.title = title.ToUtf8();
    const WaitScope wait(0);
    const std::optional<Action> action = NextActionFor(Target::Colour, 0);
    if (action && action->kind == ActionKind::ColourAnswer && colour != nullptr) {
        colour->red = action->rgb[0];
        colour->green = action->rgb[1];
        colour->blue = action->rgb[2];
        record.result = 1;
        record.answer.push_back(std::to_string(colour->red) + " " + std::to_string(colour->green) + " " +
                                std::to_string(colour->blue));
    }
    const int16_t result = static_cast<int16_t>(record.result);
    LogSystemDialog(std::move(record), wait, action);
    return result;
}

namespace DG {

ResourcePicture::ResourcePicture(GSResType type, GSResModule module, int32_t resId) {
    if (type == RSType_ICON && (resId == -4 || resId == 65532)) return;  // the host's "no icon"
    if (RSResourceExists(type, resId, module)) {
        module_ = module;
        resId_ = resId;
    } else {
        Warning(std::string(type == RSType_ICON ? "icon" : "image") + " resource " + std::to_string(resId) +
                " is missing from resource module " + std::to_string(module));
    }
}

bool FolderDialog::Invoke() {
    DGDriver::LogRecord record;
    record.kind = "folder";
    record.title = title_.ToUtf8();
    const WaitScope wait(0);
    const std::optional<Action> action = NextActionFor(Target::Folder, 0);
    const bool chosen = action && action->kind == ActionKind::FolderAnswer;
    if (chosen) {
        folder_ = IO::Location(action->text.c_str());
        record.answer.push_back(folder_.ToNativePath());
    }
    record.result = chosen ? 1 : 0;
    LogSystemDialog(std::move(record), wait, action);
    return chosen;
}

int32_t FileDialog::AddFilter(const GS::UniString& name, const GS::UniString& pattern) {
    filters_.Push(name + GS::UniString(" (") + pattern + GS::UniString(")"));
    return static_cast<int32_t>(filters_.GetSize()) - 1;
}

IO::Location FileDialog::GetSelectedFile(uint32_t index) const {
    return index < selected_.GetSize() ? selected_[index] : IO::Location();
}

bool FileDialog::Invoke() {
    DGDriver::LogRecord record;
    record.kind = "file";
    record.id = type_;
    record.title = title_.ToUtf8();
    for (const GS::UniString& filter : filters_) record.texts.push_back(filter.ToUtf8());
    selected_.Clear();
    selectedFilter_ = 0;
    const WaitScope wait(0);
    const std::optional<Action> action = NextActionFor(Target::File, 0);
    bool chosen = action && action->kind == ActionKind::FileAnswer && !action->paths.empty();
    if (action && action->kind == ActionKind::FileAnswer && action->paths.empty()) {
        Error(Describe(*action) + ": no file given; cancelled");
    }
    if (chosen) {
        size_t count = action->paths.size();
        if (type_ != OpenMultiFile && count > 1) {
            Error(Describe(*action) + ": this file dialog takes one file; the first is used");
            count = 1;
        }
        for (size_t k = 0; k < count; ++k) {
            selected_.Push(IO::Location(action->paths[k].c_str()));
            record.answer.push_back(selected_.GetLast().ToNativePath());
        }
        if (action->number < 0 || (action->number > 0 && action->number >= static_cast<int32_t>(filters_.GetSize())))
            Error(Describe(*action) + ": no filter " + std::to_string(action->number) + "; filter 0 is used");
        else
            selectedFilter_ = action->number;
    }
    record.result = chosen ? 1 : 0;
    LogSystemDialog(std::move(record), wait, action);
    return chosen;
}

}  // namespace DG
