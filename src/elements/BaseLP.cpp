#include "elements/BaseLP.hpp"

#include "elements/ParamNames.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Encoding.hpp"

#include "Win32.hpp"

#include <cmath>
#include <cstring>
#include <limits>

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

bool IsNumericScalar(const API_AddParType& rec) {
    return (rec.dim1 == 0 || rec.dim2 == 0) && rec.typeID != APIParT_Text;
}

bool IsTextScalar(const API_AddParType& rec) { return (rec.dim1 == 0 || rec.dim2 == 0) && rec.typeID == APIParT_Text; }

// Integer of a stored double: truncated toward zero, held inside the type's range, NaN as 0.
template <typename I>
I TruncateToward0(double value) {
    if (std::isnan(value)) return 0;
    if (value <= double(std::numeric_limits<I>::min())) return std::numeric_limits<I>::min();
    if (value >= double(std::numeric_limits<I>::max())) return std::numeric_limits<I>::max();
    return I(value);
}

// Units of `text` that a text field takes: up to a 0 unit, at most 255, and never half a surrogate pair.
uint32_t FieldLength(const QV_String& text) {
    const char16_t* units = text.GetBuffer();
    uint32_t n = 0;
    while (n < text.GetLength() && units[n] != 0) ++n;
    if (n > uint32_t(LPTextFieldUnits - 1)) {
        n = uint32_t(LPTextFieldUnits - 1);
        if (units[n - 1] >= 0xD800 && units[n - 1] <= 0xDBFF) --n;
    }
    return n;
}

// The text of a field: up to its terminator, never past 255 units (a field without terminator is cut there).
bool FieldToString(const char16_t (&field)[LPTextFieldUnits], QV_String& out) {
    uint32_t n = 0;
    while (n < uint32_t(LPTextFieldUnits - 1) && field[n] != 0) ++n;
    QV_String text("");
    if (n > 0 && !text.AppendWide(field, n)) return false;
    out.Swap(text);
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

const char* BaseIDLP::GetParamName(int32_t index) const { return BaseIDLP_ParamName(index); }

bool BaseLP::NameOf(int32_t index, QV_String& name) {
    const char* bytes = GetParamName(index);
    name = QV_String(bytes != nullptr ? bytes : "", Encoding_System);
    // An empty name would reuse the last index and reach another record: a name that could not be built fails.
    if (name.IsEmpty()) {
        status = bytes != nullptr && bytes[0] != '\0' ? LPStatus_NoMemory : LPStatus_NameNotFound;
        return false;
    }
    return true;
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

void BaseLP::Reset() {
    params = nullptr;
    count = 0;
    lastIndex = -1;
    caseSensitive = 0;
    status = LPStatus_OK;
    clearStatus = 1;
}

void BaseLP::Detach() {
    params = nullptr;
    count = 0;
    lastIndex = -1;
}

void BaseLP::Attach(GSHandle records, bool exactNames) {
    Reset();
    params = records;
    count = records != nullptr ? int32_t(BMGetHandleSize(records) / GSSize(sizeof(API_AddParType))) : 0;
    caseSensitive = exactNames ? 1 : 0;
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

double BaseLP::GetParamDouble(const QV_String& name) {
    const int32_t index = FindParam(name);
    if (index < 0) return 0.0;
    const API_AddParType& rec = *Record(index);
    if (!IsNumericScalar(rec)) {
        status = LPStatus_WrongKind;
        return 0.0;
    }
    LookupSucceeded();
    return rec.value.real;
}

int32_t BaseLP::SetParamDouble(const QV_String& name, double value) {
    const int32_t index = FindParam(name);
    if (index < 0) return -1;
    API_AddParType& rec = *Record(index);
    if (!IsNumericScalar(rec)) {
        status = LPStatus_WrongKind;
        return -1;
    }
    rec.value.real = value;
    LookupSucceeded();
    return index;
}

bool BaseLP::NumberByName(const QV_String& name, double& value, int32_t mode, bool* found) {
    lastIndex = FindParam(name);
    if (found != nullptr) *found = lastIndex >= 0;
    if (lastIndex < 0) return false;
    LookupSucceeded();
    const QV_String reuse;
    if (mode == LPMode_Set) return SetParamDouble(reuse, value) != -1;
    value = GetParamDouble(reuse);
    return status == LPStatus_OK;
}

bool BaseLP::TextByName(const QV_String& name, QV_String& text, int32_t mode) {
    lastIndex = FindParam(name);
    if (lastIndex < 0) return false;
    LookupSucceeded();
    const QV_String reuse;
    if (mode == LPMode_Set) {
        if (!text.HasBuffer()) {
            status = LPStatus_NoText;
            return false;
        }
        const int32_t index = FindParam(reuse);
        if (index < 0) return false;
        API_AddParType& rec = *Record(index);
        if (!IsTextScalar(rec)) {
            status = LPStatus_WrongKind;
            return false;
        }
        // The field holds 255 units and the terminator; a longer text is cut, never written past the field.
        const uint32_t n = FieldLength(text);
        char16_t field[LPTextFieldUnits] = {};
        if (n > 0) std::memcpy(field, text.GetBuffer(), n * sizeof(char16_t));
        std::memcpy(rec.value.uStr, field, sizeof field);
        LookupSucceeded();
        return true;
    }
    const int32_t index = FindParam(reuse);
    if (index < 0) {
        text.Clear();
        return false;
    }
    const API_AddParType& rec = *Record(index);
    if (!IsTextScalar(rec)) {
        status = LPStatus_WrongKind;
        text.Clear();
        return false;
    }
    if (!FieldToString(rec.value.uStr, text)) {
        status = LPStatus_NoMemory;
        text.Clear();
        return false;
    }
    LookupSucceeded();
    return status == LPStatus_OK;
}

template <typename I>
bool BaseLP::IntegerAt(int32_t index, I& value, int32_t mode) {
    double number = double(value);
    bool found = false;
    QV_String name;
    const bool ok = NameOf(index, name) && NumberByName(name, number, mode, &found);
    // The lookup failing leaves the caller's value; once the record is found the getter always stores.
    if (mode != LPMode_Set && found) value = TruncateToward0<I>(number);
    return ok;
}

bool BaseLP::GetSetShort(int32_t index, int16_t& value, int32_t mode) { return IntegerAt(index, value, mode); }

bool BaseLP::GetSetLong(int32_t index, int32_t& value, int32_t mode) { return IntegerAt(index, value, mode); }

bool BaseLP::GetSetInt(int32_t index, int32_t& value, int32_t mode) { return IntegerAt(index, value, mode); }

bool BaseLP::GetSetDouble(int32_t index, double& value, int32_t mode) {
    QV_String name;
    return NameOf(index, name) && NumberByName(name, value, mode);
}

bool BaseLP::GetSetDoubleByName(const QV_String& name, double& value, int32_t mode) {
    return NumberByName(name, value, mode);
}

bool BaseLP::GetSetString(int32_t index, QV_String& text, int32_t mode) {
    QV_String name;
    return NameOf(index, name) && TextByName(name, text, mode);
}

bool BaseLP::GetSetStringByName(const QV_String& name, QV_String& text, int32_t mode) {
    return TextByName(name, text, mode);
}

bool BaseLP::GetSetStringParam(const QV_String& name, QV_String& text, int32_t mode) {
    return TextByName(name, text, mode);
}

QV_String& BaseLP::GetStringParam(QV_String& out, const QV_String& name) {
    const int32_t index = FindParam(name);
    if (index < 0) {
        out.Clear();
        return out;
    }
    const API_AddParType& rec = *Record(index);
    if (!IsTextScalar(rec)) {
        status = LPStatus_WrongKind;
        out.Clear();
        return out;
    }
    if (!FieldToString(rec.value.uStr, out)) {
        status = LPStatus_NoMemory;
        out.Clear();
        return out;
    }
    LookupSucceeded();
    return out;
}

int32_t BaseLP::SetStringParam(const char* name, const QV_String& value) {
    if (!value.HasBuffer()) {
        status = LPStatus_NoText;
        return -1;
    }
    QV_String text = value;
    const QV_String key(name != nullptr ? name : "", Encoding_System);
    if (!TextByName(key, text, LPMode_Set)) return -1;
    return lastIndex;
}

bool BaseLP::GetLibPartParams(int32_t libIndex, GSHandle* outParams, double* outA, double* outB, int32_t* outCount) {
    if (outA != nullptr || outB != nullptr || outCount != nullptr) {
        double a = 0.0;
        double b = 0.0;
        int32_t n = 0;
        if (ACAPI_LibPart_GetParams(libIndex, &a, &b, &n, nullptr) != NoError) return false;
        if (outA != nullptr) *outA = a;
        if (outB != nullptr) *outB = b;
        if (outCount != nullptr) *outCount = n;
    }
    API_ParamOwnerType owner = {};
    owner.libInd = libIndex;
    if (ACAPI_Goodies(APIAny_OpenParametersID, &owner) != NoError) return false;
    API_GetParamsType got = {};
    const GSErrCode err = ACAPI_Goodies(APIAny_GetActParametersID, &got);
    OwnedParams fetched(got.params);
    // Parameters the host would not close are no read it finished.
    const GSErrCode closed = ACAPI_Goodies(APIAny_CloseParametersID);
    if (err != NoError || closed != NoError) return false;
    if (outParams != nullptr) *outParams = fetched.Release();
    return true;
}
