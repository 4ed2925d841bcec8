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

// Whether the element is of `type` and carries the add-on's record with the tag.
bool HasAddOnRecord(const StoredElement& element, API_ElemTypeID type, char tag) {
    if (element.record.header.typeID != type || !element.userData) return false;
    const StoredUserData& data = *element.userData;
    if (data.dataVersion != RecordVersion || data.platformSign != RecordSign || data.bytes.size() != RecordSize)
        return false;
    char first = 0;
    data.bytes.CopyTo(&first, 1);
    return first == tag;
}
}  // namespace

bool IsAddOnOutline(const StoredElement& element) { return HasAddOnRecord(element, API_HatchID, OutlineTag); }

bool IsAddOnPoint(const StoredElement& element) { return HasAddOnRecord(element, API_HotspotID, PointTag); }

bool ReadAddOnPoint(const StoredElement& element, std::optional<double>* height) {
    height->reset();
    if (!IsAddOnPoint(element)) return false;
    // Only the height is read: the terrain holds millions of these.
    char head[HeightAt + HeightWidth + 1] = {};
    element.userData->bytes.CopyTo(head, HeightAt + HeightWidth);
    std::string text(head + HeightAt);
    for (char& c : text)
        if (c == ',') c = '.';  // the record is read with either decimal mark
    if (text.empty()) return true;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() + text.size() && std::isfinite(value)) *height = value;
    return true;
}
