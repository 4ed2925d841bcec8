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
constexpr char OutlineTag = '3';

// The add-on's record of an element of `type`, its bytes; "" for any other element.
std::string AddOnRecord(const StoredElement& element, API_ElemTypeID type) {
    if (element.record.header.typeID != type || !element.userData) return "";
    const StoredUserData& data = *element.userData;
    if (data.dataVersion != RecordVersion || data.platformSign != RecordSign || data.bytes.size() != RecordSize)
        return "";
    return data.bytes.str();
}
}  // namespace

bool IsAddOnOutline(const StoredElement& element) {
    const std::string bytes = AddOnRecord(element, API_HatchID);
    return !bytes.empty() && bytes[0] == OutlineTag;
}

bool ReadAddOnPoint(const StoredElement& element, std::optional<double>* height) {
    height->reset();
    const std::string bytes = AddOnRecord(element, API_HotspotID);
    if (bytes.empty() || bytes[0] != PointTag) return false;
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
