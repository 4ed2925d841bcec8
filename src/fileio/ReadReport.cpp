#include "fileio/ReadReport.hpp"

#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"

#include <string>

void ReadReport::Note(ReadIssue issue, uint32_t count) {
    uint32_t& c = counts[static_cast<int>(issue)];
    c = (UINT32_MAX - c < count) ? UINT32_MAX : c + count;
}

void ReadReport::Note(ReadIssue issue, const QV_String& named) {
    if (Count(issue) == 0) words[static_cast<int>(issue)] = named;
    Note(issue);
}

uint32_t ReadReport::Count(ReadIssue issue) const { return counts[static_cast<int>(issue)]; }

void ReadReport::Add(const ReadReport& other) {
    if (error == 0) error = other.error;
    for (int i = 0; i < static_cast<int>(ReadIssue::Count); ++i) {
        if (counts[i] == 0) words[i] = other.words[i];
        Note(static_cast<ReadIssue>(i), other.counts[i]);
    }
}

bool ReadReport::HasIssues() const {
    for (uint32_t c : counts)
        if (c != 0) return true;
    return false;
}

bool ReadReport::NotOpened() const {
    for (ReadIssue issue : {ReadIssue::FileMissing, ReadIssue::FileIsFolder, ReadIssue::FileNotRegular,
                            ReadIssue::FileNoPermission, ReadIssue::FileNameTooLong})
        if (Count(issue) != 0) return true;
    return false;
}

QV_String ReadReport::Describe() const {
    QV_String text;
    for (int i = 0; i < static_cast<int>(ReadIssue::Count); ++i) {
        if (counts[i] == 0) continue;
        const ReadIssue issue = static_cast<ReadIssue>(i);
        QV_String line;
        GetResString(line, ErrorTableBase + LanguageIndex, ReadIssueText(issue));
        if (!words[i].IsEmpty()) line = FillArguments(line, {words[i]});
        if (counts[i] > 1 || issue == ReadIssue::MixedHeights || issue == ReadIssue::SpotHeightOnLine ||
            issue == ReadIssue::NoTableRow || issue == ReadIssue::CodePageMismatch || issue == ReadIssue::EmptyParts ||
            issue == ReadIssue::CrossingBreakLines)
            line = AlertWords(AlertText{ErrorTableBase, CountedText},
                              {line, QV_String(std::to_string(counts[i]).c_str())});
        if (!text.IsEmpty()) text += "\n";
        text += line;
    }
    return text;
}

void ShowReadReport(const ReadReport& report) {
    if (report.error != 0) {
        if (!report.HasIssues()) {
            ShowErrorMessage(report.error, AlertKind::Warning);
            return;
        }
        // The error with its reason beneath it, in one alert.
        const Alert alert(report.error, AlertKind::Warning);
        ShowAlertBox(alert.kind, AlertWords(alert.title, {}), AlertWords(alert.message, {}), report.Describe());
        return;
    }
    if (!report.HasIssues()) return;
    // Read, with parts left out: no error, so not titled as one.
    ShowAlertBox(AlertKind::Warning, AlertWords(AlertText{ErrorTableBase, ReadNotesTitleText}, {}), report.Describe(),
                 QV_String());
}
