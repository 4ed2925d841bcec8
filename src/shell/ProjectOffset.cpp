#include "shell/ProjectOffset.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "settings/ProjectOffset.hpp"

#include "DG.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

double& ProjectOffsetX = ProjectOffset.x;
double& ProjectOffsetY = ProjectOffset.y;
double& ShapeHeight = ProjectOffset.shapeHeight;

namespace {
const char* const MarkX = "X: ";
const char* const MarkY = " Y: ";
const char* const MarkShape = "   SHAPE HEIGHT   ";
const char* const MarkH = " H: ";
constexpr int32_t DataVersion = 1;
constexpr uint16_t PlatformSign = 0x5757;

void ClearOffset() {
    ProjectOffsetX = 0.0;
    ProjectOffsetY = 0.0;
    ShapeHeight = ShapeHeightUnset;
}

// A number as the host writes it, three decimals. Should the host's text group its digits or drop some, the
// plain form is written instead, so that the stored line always reads back.
std::string NumberText(double value) {
    const std::string host = DGDoubleToString(value, 3).ToUtf8();
    if (QV_String(host.c_str(), Encoding_UTF8).ClassifyNumber() != 0 &&
        std::fabs(StrToDouble(host.c_str()) - value) < 0.0005)
        return host;
    char plain[64];
    std::snprintf(plain, sizeof plain, "%.3f", value);
    return plain;
}

// The number of a field, tolerant of digit grouping: blanks, apostrophes and no-break spaces go, and of ',' and
// '.' together only the last one is the decimal separator.
bool ReadNumber(std::string text, double& value) {
    std::string kept;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ' ' || c == '\'') continue;
        if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xA0) {
            ++i;
            continue;
        }
        kept += char(c);
    }
    const size_t lastSep = kept.find_last_of(".,");
    if (lastSep != std::string::npos) {
        std::string joined;
        for (size_t i = 0; i < kept.size(); ++i)
            if (i == lastSep || (kept[i] != '.' && kept[i] != ',')) joined += kept[i];
        kept = joined;
    }
    if (kept.empty() || ClassifyNumberText(kept.c_str()) == 0) return false;
    value = StrToDouble(kept.c_str());
    return std::isfinite(value);
}

std::string Between(const std::string& text, size_t from, size_t to) {
    return to > from ? text.substr(from, to - from) : std::string();
}
}  // namespace

QV_String ProjectOffsetText() {
    std::string line = "OFFSET DATA   ";
    line += MarkX + NumberText(ProjectOffsetX) + MarkY + NumberText(ProjectOffsetY) + MarkShape + MarkH;
    line += std::fabs(ShapeHeight - ShapeHeightUnset) < 1e-7 ? "*****" : NumberText(ShapeHeight);
    return QV_String(line.c_str(), Encoding_UTF8);
}

bool ParseProjectOffsetText(const QV_String& text) {
    const std::string line = text.ToStdString();
    const size_t x = line.find(MarkX);
    const size_t y = line.find(MarkY);
    const size_t shape = line.find(MarkShape);
    const size_t h = line.find(MarkH);
    ClearOffset();
    if (x == std::string::npos || y == std::string::npos || shape == std::string::npos || h == std::string::npos)
        return false;
    double value = 0.0;
    if (ReadNumber(Between(line, x + std::strlen(MarkX), y), value)) ProjectOffsetX = value;
    if (ReadNumber(Between(line, y + std::strlen(MarkY), shape), value)) ProjectOffsetY = value;
    if (ReadNumber(line.substr(h + std::strlen(MarkH)), value)) ShapeHeight = value;
    return true;
}

bool ReadModuleDataText(QV_String& text) {
    text = QV_String();
    API_ModulData info = {};
    if (ACAPI_ModulData_Get(&info, "") != NoError) return false;
    if (info.dataHdl == nullptr) return true;
    // The bytes come from the project file: at most the buffer, and only up to their first NUL.
    char buffer[ModuleDataTextMax];
    const GSSize size = BMGetHandleSize(info.dataHdl);
    const size_t n = size > 0 ? std::min<size_t>(size_t(size), sizeof buffer - 1) : 0;
    if (n > 0) std::memcpy(buffer, *info.dataHdl, n);
    buffer[n] = '\0';
    BMKillHandle(&info.dataHdl);
    text = QV_String(buffer, Encoding_System);
    return true;
}

int32_t ReadProjectOffset() {
    QV_String text;
    if (!ReadModuleDataText(text)) {
        ClearOffset();
        return 0;
    }
    ParseProjectOffsetText(text);
    return 1;
}

bool StoreProjectOffset() {
    if (std::fabs(ProjectOffsetX) < 1e-7 && std::fabs(ProjectOffsetY) < 1e-7 &&
        std::fabs(ShapeHeight - ShapeHeightUnset) < 1e-7) {
        const GSErrCode deleted = ACAPI_ModulData_Delete("");
        return deleted == NoError || deleted == APIERR_NOMODULEDATA;
    }
    const QV_String text = ProjectOffsetText();
    const GSErrCode deleted = ACAPI_ModulData_Delete("");
    if (deleted != NoError && deleted != APIERR_NOMODULEDATA) return false;
    if (text.GetLength() == 0) return true;
    const std::string bytes = text.ToStdString(Encoding_System);
    API_ModulData info = {};
    info.dataVersion = DataVersion;
    info.platformSign = PlatformSign;
    info.dataHdl = BMAllocateHandle(GSSize(bytes.size() + 1), 0, 0);
    if (info.dataHdl == nullptr) return false;
    std::memcpy(*info.dataHdl, bytes.c_str(), bytes.size() + 1);
    const GSErrCode stored = ACAPI_ModulData_Store(&info, "");
    BMKillHandle(&info.dataHdl);
    return stored == NoError;
}

void StoreProjectOffsetTold() {
    if (StoreProjectOffset()) return;
    // The offset stays in memory; the saved project does not hold it, and the next import there would not find it.
    ShowAlert(Alert(AlertKind::Warning, ErrorTitleText, AlertText{ErrorTableBase, OffsetNotStoredText}));
}
