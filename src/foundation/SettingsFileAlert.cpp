#include "foundation/SettingsFileAlert.hpp"

#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"

void TellSettingsFileNotAFile(const QV_String& path) {
    ShowAlert(
        Alert(AlertKind::Warning, ErrorTitleText, AlertText{ErrorTableBase, SettingsFileNotAFileText}).With(path));
}
