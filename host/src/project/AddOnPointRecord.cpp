#include "project/AddOnPointRecord.hpp"

#include <cmath>
#include <cstdlib>
#include <string>

namespace {
constexpr int16_t RecordVersion = 2;
constexpr uint16_t RecordSign = 0x5757;
constexpr size_t RecordSize = 650;
constexpr char PointTag = '1';
constexpr size_t HeightAt = 1;
constexpr size_t HeightWidth = 26;
}  // namespace

bool ReadAddOnPoint(const StoredElement& element, std::optional<double>* height) {
    height->reset();
    if (element.record.header.typeID != API_HotspotID || !element.userData) return false;
    const StoredUserData& data = *element.userData;
    if (data.dataVersion != RecordVersion || data.platformSign != RecordSign || data.bytes.size() != RecordSize)
        return false;
    const std::string bytes = data.bytes.str();
    if (bytes[0] != PointTag) return false;
    std::string text = bytes.substr(HeightAt, HeightWidth);
    text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
    for (char& c : text)
        if (c == ',') c = '.';  // the record is read with either decimal mark
    if (text.empty()) return true;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() + text.size() && std::isfinite(value)) *height = value;
    return true;
}
