#include "elements/BaseLP.hpp"

#include "foundation/Encoding.hpp"

#include "Win32.hpp"

#include <cstring>

namespace {
// Compares a record's name field (system code page, not necessarily terminated) with a name, without
// allocating: a lookup must not fail for want of memory and then report the name as absent.
bool NameEquals(const char (&field)[32], const QV_String& name, bool caseSensitive) {
    const size_t len = strnlen(field, sizeof field);
    char16_t units[2 * sizeof field] = {};
    int32_t bytes = 0;
    if (len > 0) {
        bytes = ConvertEncoding(Encoding_System, field, uint32_t(len), Encoding_UTF16LE, units, sizeof units, false);
        if (bytes < 0) return false;
    }
    const uint32_t n = uint32_t(bytes) / 2;
    if (n != name.GetLength()) return false;
    const char16_t* other = name.GetBuffer();
    for (uint32_t i = 0; i < n; ++i) {
        const char16_t a = caseSensitive ? units[i] : CharLowerW(units[i]);
        const char16_t b = caseSensitive ? other[i] : CharLowerW(other[i]);
        if (a != b) return false;
    }
    return true;
}
}  // namespace

const char* BaseLP::GetParamName(int32_t index) const {
    switch (index) {
        case 0: return "A";
        case 1: return "B";
        case 2: return "ZZYZX";
        default: return "???";
    }
}

int32_t BaseLP::RecordCount() const {
    if (params == nullptr || *params == nullptr || count <= 0) return 0;
    // An owner's count that exceeds the handle would walk past the block.
    const GSSize held = BMGetHandleSize(params) / GSSize(sizeof(API_AddParType));
    return held < GSSize(count) ? int32_t(held) : count;
}

API_AddParType* BaseLP::Record(int32_t index) const {
    if (index < 0 || index >= RecordCount()) return nullptr;
    return reinterpret_cast<API_AddParType*>(*params) + index;
}

int32_t BaseLP::LocateParam(const QV_String& name, int32_t& failStatus) const {
    const int32_t n = RecordCount();
    if (n == 0) {
        failStatus = LPStatus_NoRecords;
        return -1;
    }
    if (name.IsEmpty()) {
        if (lastIndex >= 0 && lastIndex < n) return lastIndex;
        failStatus = LPStatus_BadLastIndex;
        return -1;
    }
    for (int32_t i = 0; i < n; ++i) {
        if (NameEquals(Record(i)->name, name, caseSensitive != 0)) return i;
    }
    failStatus = LPStatus_NameNotFound;
    return -1;
}

int32_t BaseLP::FindParam(const QV_String& name) {
    int32_t fail = LPStatus_OK;
    const int32_t index = LocateParam(name, fail);
    if (index < 0) status = fail;
    return index;
}
