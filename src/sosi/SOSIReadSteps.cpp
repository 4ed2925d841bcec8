#include "fileio/FileDialogs.hpp"
#include "foundation/Language.hpp"
#include "sosi/SOSIFileCls.hpp"

#include <vector>

namespace {
constexpr int32_t OpenTitle = 2;                   // "Open..."
constexpr int32_t SOSIFileTypeIndex = 3;           // "SOSI Files", "SOS"
constexpr uint32_t TextFileTypeCode = 0x54455854;  // 'TEXT'

SOSIFileData FileAt(const QV_String& path) {
    SOSIFileData file;
    file.path = path;
    return file;
}
}  // namespace

bool SOSIFileCls::ChooseFiles(bool* cancelled) {
    bool ignored = false;
    bool& userCancelled = cancelled != nullptr ? *cancelled : ignored;
    userCancelled = false;
    const ImportFileType& type = GetImportFileType(SOSIFileTypeIndex);
    QV_String title;
    GetResString(title, GeneralTableBase + LanguageIndex, OpenTitle);
    if (importMode == SOSIModeWorksheet) {
        std::vector<QV_String> paths;
        if (!ShowOpenFilesDialog(paths, nullptr, title, {type}, nullptr)) {
            userCancelled = true;
            return true;
        }
        files.Clear();
        for (const QV_String& chosen : paths) files.Insert(FileAt(chosen));
        if (!paths.empty()) path = paths.front();
        return true;
    }
    QV_String chosen;
    if (!RegisterFileTypes(chosen, type, TextFileTypeCode, title, nullptr)) {
        userCancelled = true;
        return true;
    }
    path = chosen;
    files.Insert(FileAt(chosen));
    return true;
}
