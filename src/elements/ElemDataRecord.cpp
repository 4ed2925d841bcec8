#include "elements/ElemDataRecord.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/SelectionHelpers.hpp"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace L = ElemRecordLayout;

namespace {

constexpr double kNoNumber = DBL_MAX;          // what a number field without digits reads as
constexpr uint32_t kNameWithNumberChars = 20;  // characters of the name kept in front of an appended number
constexpr uint32_t kSerialDigits = 3;

bool IsDigitByte(uint8_t c) { return c >= '0' && c <= '9'; }

// The text in the system code page, cut to at most `maxBytes` bytes without splitting a character (a
// surrogate pair or a multibyte character of the code page stays whole or goes whole).
std::string CodePageBytes(const QV_String& text, uint32_t maxBytes) {
    std::string all = text.ToStdString(Encoding_System);
    if (all.size() <= maxBytes) return all;
    // Largest number of units whose conversion fits; the converted length grows with the unit count.
    uint32_t fits = 0;
    uint32_t tooMany = text.GetLength();
    std::string best;
    while (tooMany - fits > 1) {
        const uint32_t mid = fits + (tooMany - fits) / 2;
        QV_String head;
        text.Left(head, mid);
        std::string bytes = head.ToStdString(Encoding_System);
        if (bytes.size() <= maxBytes) {
            fits = mid;
            best.swap(bytes);
        } else {
            tooMany = mid;
        }
    }
    // Never end on the first half of a surrogate pair.
    if (fits > 0) {
        const GS::UniChar last = text.GetAt(fits - 1);
        if (last >= 0xD800 && last <= 0xDBFF) {
            QV_String head;
            text.Left(head, fits - 1);
            best = head.ToStdString(Encoding_System);
        }
    }
    return best;
}

void PutBytes(ElemDataRecord& record, uint32_t offset, uint32_t width, const std::string& bytes) {
    const size_t n = bytes.size() < width ? bytes.size() : width - 1;  // the terminator always fits
    std::memcpy(record.bytes + offset, bytes.data(), n);
    std::memset(record.bytes + offset + n, 0, width - n);
}

void PutText(ElemDataRecord& record, uint32_t offset, uint32_t width, const QV_String& text) {
    PutBytes(record, offset, width, CodePageBytes(text, width - 1));
}

// A number field's text, read by the in-house number rules (skip to the first digit, '-', '.' or ','; either '.'
// or ',' as decimal point, which a digit must follow; a lowercase 'e' with a sign brings an exponent; no digit
// gives DBL_MAX, as does a value beyond the largest double) but rounded correctly: the in-house reader adds
// the digits one by one and so misses the value of a longer text by an ulp or more.
double ReadRecordNumber(const std::string& bytes) {
    size_t p = 0;
    const size_t n = bytes.size();
    while (p < n && !IsDigitByte(uint8_t(bytes[p])) && bytes[p] != '-' && bytes[p] != '.' && bytes[p] != ',') ++p;
    if (p == n) return kNoNumber;
    const bool negative = bytes[p] == '-';
    if (negative) ++p;
    std::string digits;  // the mantissa's digits, the decimal point put back as '.'
    size_t leadingZeros = 0, integerDigits = 0;
    bool nonZero = false;
    for (; p < n && IsDigitByte(uint8_t(bytes[p])); ++p, ++integerDigits) {
        digits += bytes[p];
        nonZero = nonZero || bytes[p] != '0';
        if (!nonZero) ++leadingZeros;
    }
    size_t fractionZeros = 0;  // zeros after the point before the first other digit, when the integer part is 0
    if (p < n && (bytes[p] == '.' || bytes[p] == ',')) {
        ++p;
        if (p == n || !IsDigitByte(uint8_t(bytes[p]))) return kNoNumber;
        digits += '.';
        for (; p < n && IsDigitByte(uint8_t(bytes[p])); ++p) {
            digits += bytes[p];
            if (!nonZero && bytes[p] == '0') ++fractionZeros;
            nonZero = nonZero || bytes[p] != '0';
        }
    }
    const double sign = negative ? -1.0 : 1.0;
    if (!nonZero) return sign * 0.0;
    int64_t exponent = 0;
    if (p + 1 < n && bytes[p] == 'e' && (bytes[p + 1] == '+' || bytes[p + 1] == '-')) {
        const bool down = bytes[p + 1] == '-';
        for (p += 2; p < n && IsDigitByte(uint8_t(bytes[p])); ++p)
            if (exponent < 100000) exponent = exponent * 10 + (bytes[p] - '0');  // far beyond any double
        if (down) exponent = -exponent;
    }
    const std::string text = (integerDigits == 0 ? "0" : "") + digits + "e" + std::to_string(exponent);
    double value = 0.0;
    const std::from_chars_result r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: the decimal exponent of the first digit tells which.
        const int64_t magnitude = integerDigits > leadingZeros ? int64_t(integerDigits - leadingZeros) - 1 + exponent
                                                               : -int64_t(fractionZeros) - 1 + exponent;
        return magnitude > 0 ? sign * kNoNumber : sign * 0.0;
    }
    if (r.ec != std::errc() || !std::isfinite(value) || std::fabs(value) >= kNoNumber) return sign * kNoNumber;
    return sign * value;
}

// Numbers are written as the shortest text that reads back as the same value; in a field too narrow for that
// (a level of 18 or more significant digits) as the most digits that fit, and that rounded value then reads and
// writes back unchanged. A value that is no number (the DBL_MAX mark, infinite, NaN) is stored as an empty
// field, which reads back as DBL_MAX.
std::string FormatNumber(double value, uint32_t maxChars) {
    if (!std::isfinite(value) || value == kNoNumber) return std::string();
    char text[64];
    std::to_chars_result r = std::to_chars(text, text + sizeof text, value);
    if (r.ec == std::errc() && uint32_t(r.ptr - text) <= maxChars) return std::string(text, r.ptr);
    for (int precision = 17; precision >= 1; --precision) {
        r = std::to_chars(text, text + sizeof text, value, std::chars_format::general, precision);
        if (r.ec != std::errc() || uint32_t(r.ptr - text) > maxChars) continue;
        std::string candidate(text, r.ptr);
        // Rounded up past the largest double it would read as the no-number mark.
        if (std::fabs(ReadRecordNumber(candidate)) < kNoNumber) return candidate;
    }
    return std::string();
}

void PutNumber(ElemDataRecord& record, uint32_t offset, uint32_t width, double value) {
    PutBytes(record, offset, width, FormatNumber(value, width - 1));
}

// An empty field gives a string without buffer, as a reset descriptor has.
bool ToText(const std::string& bytes, QV_String& out) {
    out.Clear();
    if (bytes.empty()) return true;
    return out.SetBytes(bytes.data(), uint32_t(bytes.size()), Encoding_System);
}

double ToNumber(const std::string& bytes) { return bytes.empty() ? kNoNumber : ReadRecordNumber(bytes); }

#define ELEM_RECORD_TRY(expr)                                                                                          \
    do {                                                                                                               \
        const ElemRecordStatus status_ = (expr);                                                                       \
        if (status_ != ElemRecordStatus::Ok) return status_;                                                           \
    } while (false)

// Reads the fields of a record of `size` bytes. A field ends at its terminator; without one inside its width it
// is garbled when `strict` (the current layout) and otherwise ends at its width (the older layout, whose fields
// run up to the next one). A record that ends before a field, or inside one before its end, cannot hold it.
class FieldReader {
public:
    FieldReader(const uint8_t* data, size_t size, bool strict) : data(data), size(size), strict(strict) {}

    ElemRecordStatus Text(uint32_t offset, uint32_t width, QV_String& out) {
        std::string bytes;
        ELEM_RECORD_TRY(Bytes(offset, width, bytes));
        return ToText(bytes, out) ? ElemRecordStatus::Ok : ElemRecordStatus::NoMemory;
    }

    ElemRecordStatus Number(uint32_t offset, uint32_t width, double& out) {
        std::string bytes;
        ELEM_RECORD_TRY(Bytes(offset, width, bytes));
        out = ToNumber(bytes);
        return ElemRecordStatus::Ok;
    }

    // A point name: its trailing decimal digits become Number (and NameDigits), the rest Name.
    ElemRecordStatus PointName(uint32_t offset, uint32_t width, ElemDescriptor& descriptor) {
        std::string bytes;
        ELEM_RECORD_TRY(Bytes(offset, width, bytes));
        size_t split = bytes.size();
        while (split > 0 && IsDigitByte(uint8_t(bytes[split - 1]))) --split;
        const std::string digits = bytes.substr(split);
        bytes.resize(split);
        descriptor.Number = digits.empty() ? 0 : StrToInt(digits.c_str());
        if (!ToText(bytes, descriptor.Name) || !ToText(digits, descriptor.NameDigits))
            return ElemRecordStatus::NoMemory;
        return ElemRecordStatus::Ok;
    }

private:
    ElemRecordStatus Bytes(uint32_t offset, uint32_t width, std::string& out) {
        out.clear();
        if (offset >= size) return ElemRecordStatus::BadSize;
        const size_t held = std::min<size_t>(width, size - offset);
        const void* end = std::memchr(data + offset, 0, held);
        if (end == nullptr && held < width) return ElemRecordStatus::BadSize;
        if (end == nullptr && strict) return ElemRecordStatus::Garbled;
        const size_t n = end != nullptr ? size_t(static_cast<const uint8_t*>(end) - (data + offset)) : width;
        out.assign(reinterpret_cast<const char*>(data + offset), n);
        return ElemRecordStatus::Ok;
    }

    const uint8_t* data;
    size_t size;
    bool strict;
};

bool HasKindTriple(int32_t kind) {  // ResultGuid, FillGuid, CutGuid
    return kind == ElemKind_Road || kind == ElemKind_Plateau || kind == ElemKind_Sidewalk ||
        kind == ElemKind_SlopedPlateau || kind == ElemKind_Railway;
}

bool HasTerrainGuid(int32_t kind) {
    return (kind >= ElemKind_Contour && kind <= ElemKind_Basin) || kind == ElemKind_RetainingWall ||
        kind == ElemKind_SlopedPlateau || kind == ElemKind_Bridge || kind == ElemKind_Railway;
}

bool HasOriginalGuid(int32_t kind) { return kind == ElemKind_Road || kind == ElemKind_Section; }

// The fields of a current-layout record, by kind.
ElemRecordStatus FillCurrent(FieldReader& in, int32_t kind, ElemDescriptor& e) {
    switch (kind) {
        case ElemKind_Point:
            ELEM_RECORD_TRY(in.PointName(L::T1, L::ShortWidth, e));
            ELEM_RECORD_TRY(in.Number(L::N1, L::ShortWidth, e.Value));
            ELEM_RECORD_TRY(in.Text(L::S503, L::SlotWidth, e.Note));
            break;
        case ElemKind_Terrain:
            ELEM_RECORD_TRY(in.Text(L::S53, L::SlotWidth, e.TerrainId));
            ELEM_RECORD_TRY(in.Number(L::N553, L::LevelWidth, e.Level1));
            ELEM_RECORD_TRY(in.Number(L::N573, L::LevelWidth, e.Level2));
            ELEM_RECORD_TRY(in.Number(L::N593, L::LevelWidth, e.Level3));
            break;
        case ElemKind_Contour: ELEM_RECORD_TRY(in.Text(L::S103, L::SlotWidth, e.ContourText)); break;
        case ElemKind_ColouredArea: ELEM_RECORD_TRY(in.Text(L::S153, L::SlotWidth, e.AreaText)); break;
        default: break;
    }
    if (HasKindTriple(kind)) {
        ELEM_RECORD_TRY(in.Text(L::S203, L::SlotWidth, e.ResultGuid));
        ELEM_RECORD_TRY(in.Text(L::S253, L::SlotWidth, e.FillGuid));
        ELEM_RECORD_TRY(in.Text(L::S303, L::SlotWidth, e.CutGuid));
    }
    if (HasTerrainGuid(kind)) ELEM_RECORD_TRY(in.Text(L::S353, L::SlotWidth, e.TerrainGuid));
    if (HasOriginalGuid(kind)) ELEM_RECORD_TRY(in.Text(L::S403, L::SlotWidth, e.OriginalGuid));
    if (kind == ElemKind_Railway) ELEM_RECORD_TRY(in.Text(L::S453, L::SlotWidth, e.ExtraText));
    return ElemRecordStatus::Ok;
}

bool KindHasTag(int32_t kind) { return ElemKindTag(kind) != 0; }

// The stored kind 4 identifier: the GUID text, '_', then three positions for the last three characters of the
// serial's text. A shorter text leaves its missing leading positions NUL, so that the identifier as read ends at
// the '_': contour lines and generated part names of stored projects carry that text.
std::string TerrainIdBytes(const GS::Guid& ownGuid, int32_t serial) {
    constexpr size_t kMaxGuidChars = 48;
    char guidText[GS::Guid::TextLength + 1] = {0};
    if (ownGuid.ConvertToString(guidText, sizeof guidText) != 0) guidText[0] = 0;
    std::string id(guidText, std::min(std::strlen(guidText), kMaxGuidChars));
    id += '_';
    const std::string digits = LongToDecimalText(serial).ToStdString(Encoding_System);
    if (digits.size() < kSerialDigits) id.append(kSerialDigits - digits.size(), '\0');
    id += digits.size() > kSerialDigits ? digits.substr(digits.size() - kSerialDigits) : digits;
    return id;
}

// Kind 1 name text of a fresh write: Name, or with AppendNumber its first 20 characters and the number. The
// number is kept whole: when both do not fit the field, the name gives way.
std::string PointNameBytes(const ElemDescriptor& e) {
    constexpr uint32_t maxBytes = L::ShortWidth - 1;
    if (!e.AppendNumber) return CodePageBytes(e.Name, maxBytes);
    const std::string digits = LongToDecimalText(e.Number).ToStdString(Encoding_System);
    QV_String head;
    e.Name.Left(head, kNameWithNumberChars);
    return CodePageBytes(head, maxBytes - uint32_t(digits.size())) + digits;
}

ElemRecordStatus Build(const ElemDescriptor& e, int32_t kind, bool rewrite, ElemDataRecord& record) {
    std::memset(record.bytes, 0, sizeof record.bytes);
    const char tag = ElemKindTag(kind);
    if (tag == 0) return ElemRecordStatus::BadKind;
    record.bytes[L::Tag] = uint8_t(tag);

    switch (kind) {
        case ElemKind_Point:
            PutNumber(record, L::N1, L::ShortWidth, e.Value);
            if (rewrite)
                PutText(record, L::T1, L::ShortWidth, e.Name + e.NameDigits);
            else
                PutBytes(record, L::T1, L::ShortWidth, PointNameBytes(e));
            PutText(record, L::S503, L::SlotWidth, e.Note);
            break;
        case ElemKind_Terrain:
            if (rewrite)
                PutText(record, L::S53, L::SlotWidth, e.TerrainId);
            else
                PutBytes(record, L::S53, L::SlotWidth, TerrainIdBytes(e.OwnGuid, e.Serial));
            PutNumber(record, L::N553, L::LevelWidth, e.Level1);
            PutNumber(record, L::N573, L::LevelWidth, e.Level2);
            PutNumber(record, L::N593, L::LevelWidth, e.Level3);
            break;
        case ElemKind_Contour: PutText(record, L::S103, L::SlotWidth, e.ContourText); break;
        case ElemKind_ColouredArea: PutText(record, L::S153, L::SlotWidth, e.AreaText); break;
        default: break;
    }
    if (HasKindTriple(kind)) {
        PutText(record, L::S203, L::SlotWidth, e.ResultGuid);
        PutText(record, L::S253, L::SlotWidth, e.FillGuid);
        PutText(record, L::S303, L::SlotWidth, e.CutGuid);
    }
    if (HasTerrainGuid(kind)) PutText(record, L::S353, L::SlotWidth, e.TerrainGuid);
    if (HasOriginalGuid(kind)) PutText(record, L::S403, L::SlotWidth, e.OriginalGuid);
    if (kind == ElemKind_Railway) PutText(record, L::S453, L::SlotWidth, e.ExtraText);
    return ElemRecordStatus::Ok;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------

char ElemKindTag(int32_t kind) {
    // Index = kind; kind 4 (terrain) is '5' and kind 5 (contour) is '4'; 17 has no tag.
    static const char kTags[] = {0,   '1', '2', '3', '5', '4', 'C', 'D', '6', '7', '8',
                                 'B', '9', 'E', 'F', 'G', 'H', 0,   'I', 'M', 'N', 'O'};
    if (kind < 0 || kind >= int32_t(sizeof kTags)) return 0;
    return kTags[kind];
}

QV_String LongToDecimalText(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", int(value));
    return QV_String(text);
}

QV_String MakeTerrainId(const GS::Guid& ownGuid, int32_t serial) {
    return QV_String(TerrainIdBytes(ownGuid, serial).c_str());  // the text as read: up to the first NUL
}

void ElemDescriptor::Reset() { *this = ElemDescriptor(); }

ElemRecordStatus ElemDescriptor::FillFromRecord(int32_t kind, const void* data, size_t size) {
    Reset();
    if (data == nullptr || size == 0) return ElemRecordStatus::NoData;
    if (size != ElemDataRecordSize) return ElemRecordStatus::BadSize;
    FieldReader in(static_cast<const uint8_t*>(data), size, true);
    const ElemRecordStatus status = FillCurrent(in, kind, *this);
    if (status != ElemRecordStatus::Ok) Reset();
    return status;
}

ElemRecordStatus ElemDataRecord_Build(const ElemDescriptor& descriptor, int32_t kind, ElemDataRecord& record) {
    return Build(descriptor, kind, false, record);
}

ElemRecordStatus ElemDataRecord_BuildRewrite(const ElemDescriptor& descriptor, int32_t kind, ElemDataRecord& record) {
    return Build(descriptor, kind, true, record);
}

ElemRecordStatus ElemDataRecord_Parse(const void* data, size_t size, int32_t kind, ElemDescriptor& descriptor) {
    ElemRecordStatus refused = ElemRecordStatus::Ok;
    if (data == nullptr || size == 0)
        refused = ElemRecordStatus::NoData;
    else if (size != ElemDataRecordSize)
        refused = ElemRecordStatus::BadSize;
    else if (!KindHasTag(kind))
        refused = ElemRecordStatus::BadKind;
    else if (static_cast<const uint8_t*>(data)[L::Tag] != uint8_t(ElemKindTag(kind)))
        refused = ElemRecordStatus::WrongTag;
    if (refused == ElemRecordStatus::Ok) return descriptor.FillFromRecord(kind, data, size);  // resets first
    descriptor.Reset();
    return refused;
}

ElemRecordStatus ElemDataRecord_ParseLegacy(const void* data, size_t size, int32_t kind, ElemDescriptor& descriptor) {
    descriptor.Reset();
    if (data == nullptr || size == 0) return ElemRecordStatus::NoData;
    if (!KindHasTag(kind) || kind == ElemKind_Section) return ElemRecordStatus::BadKind;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (bytes[L::Tag] != uint8_t(ElemKindTag(kind))) return ElemRecordStatus::WrongTag;

    // Nothing of ours lies beyond the record's size. The widths of the older fields are not fixed: a field ends
    // at its terminator, at the next field or at the record's end; data that stops short of that is no record.
    FieldReader in(bytes, size < ElemDataRecordSize ? size : ElemDataRecordSize, false);
    const uint32_t textWidth = ElemDataRecordSize - L::LegacyText;
    ElemRecordStatus status = ElemRecordStatus::Ok;
    switch (kind) {
        case ElemKind_Point:
            // The number before the name is the point's value, as N1 is in the current layout.
            status = in.Number(L::LegacyNumber, L::LegacyText - L::LegacyNumber, descriptor.Value);
            if (status == ElemRecordStatus::Ok) status = in.PointName(L::LegacyText, textWidth, descriptor);
            break;
        case ElemKind_Terrain: status = in.Text(L::LegacyText, textWidth, descriptor.TerrainId); break;
        case ElemKind_Contour: status = in.Text(L::LegacyText, textWidth, descriptor.ContourText); break;
        case ElemKind_ColouredArea: status = in.Text(L::LegacyText, textWidth, descriptor.AreaText); break;
        default: break;
    }
    if (status != ElemRecordStatus::Ok) descriptor.Reset();
    return status;
}

ElemRecordStatus ElemDataRecord_Upgrade(const void* data, size_t size, int32_t kind, ElemDataRecord& record) {
    std::memset(record.bytes, 0, sizeof record.bytes);
    ElemDescriptor descriptor;
    const ElemRecordStatus status = ElemDataRecord_ParseLegacy(data, size, kind, descriptor);
    if (status != ElemRecordStatus::Ok) return status;
    return ElemDataRecord_BuildRewrite(descriptor, kind, record);
}

// ---------------------------------------------------------------------------------------------------------
// the record as the element's user data

namespace {

GSErrCode MakeDatabaseCurrent(int32_t type) {
    API_DatabaseInfo db = {};
    db.typeID = type;
    return ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db);
}

// Runs `body` in the floor plan's database when `switchIf3D` and the 3D window is in front, then makes the 3D
// model's database current again. False when the first switch fails.
template <typename Body>
bool InFloorPlan(bool switchIf3D, Body&& body) {
    const bool switched = switchIf3D && IsCurrentWindow3D();
    if (switched && MakeDatabaseCurrent(APIWind_FloorPlanID) != NoError) return false;
    const bool result = body();
    if (switched) MakeDatabaseCurrent(APIWind_3DModelID);
    return result;
}

// Fetches the element's user data and hands its bytes to `use`; false when the host fails or the element has
// none.
template <typename Use>
bool WithUserData(const API_Elem_Head& head, bool* refused, Use&& use) {
    API_ElementUserData data = {};
    const GSErrCode err = ACAPI_Element_GetUserData(&head, &data);
    if (refused != nullptr) *refused = err != NoError;
    bool result = false;
    if (err == NoError && data.dataHdl != nullptr)
        result = use(static_cast<const void*>(*data.dataHdl), size_t(BMGetHandleSize(data.dataHdl)));
    BMKillHandle(&data.dataHdl);
    return result;
}

// A host handle holding the record; null when memory fails.
GSHandle RecordHandle(const ElemDataRecord& record) {
    GSHandle handle = BMAllocateHandle(GSSize(ElemDataRecordSize), ALLOCATE_CLEAR, 0);
    if (handle != nullptr) std::memcpy(*handle, record.bytes, ElemDataRecordSize);
    return handle;
}

bool StoreRecordHandle(GSHandle handle, const API_Elem_Head& head, bool switchIf3D) {
    API_ElementUserData data = {};
    data.dataVersion = int16_t(ElemUserDataVersion);
    data.platformSign = ElemUserDataPlatformSign;
    data.flags = ElemUserDataFlags;
    data.dataHdl = handle;
    return InFloorPlan(switchIf3D, [&] { return ACAPI_Element_SetUserData(&head, &data) == NoError; });
}

// The element's user data (no database switch) read by `parse`, the host's refusal told apart.
RecordRead ReadParsed(ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head,
                      ElemRecordStatus (*parse)(const void*, size_t, int32_t, ElemDescriptor&)) {
    descriptor.Reset();
    API_ElementUserData data = {};
    if (ACAPI_Element_GetUserData(&head, &data) != NoError) return RecordRead::Failed;
    ElemRecordStatus status = ElemRecordStatus::NoData;
    if (data.dataHdl != nullptr) status = parse(*data.dataHdl, size_t(BMGetHandleSize(data.dataHdl)), kind, descriptor);
    BMKillHandle(&data.dataHdl);
    if (status == ElemRecordStatus::Ok) return RecordRead::Found;
    return status == ElemRecordStatus::NoMemory ? RecordRead::Failed : RecordRead::Absent;
}

}  // namespace

bool ElemDescriptor::FromElement(int32_t kind, const API_Elem_Head& head, bool switchToPlan) {
    Reset();
    return InFloorPlan(switchToPlan, [&] {
        return WithUserData(head, nullptr, [&](const void* data, size_t size) {
            if (kind < ElemKind_Point || kind > ElemKind_Railway) return true;
            return FillFromRecord(kind, data, size) == ElemRecordStatus::Ok;
        });
    });
}

bool ElemDescriptor::FromElementTagged(int32_t kind, const API_Elem_Head& head, bool* tagged, bool* refused) {
    Reset();
    *tagged = false;
    return WithUserData(head, refused, [&](const void* data, size_t size) {
        if (kind < ElemKind_Point || kind > ElemKind_Railway) return true;
        // A tagged record fills as the kind's; an untagged one is filled again without looking at the tag.
        *tagged = ElemDataRecord_Parse(data, size, kind, *this) == ElemRecordStatus::Ok;
        return *tagged || FillFromRecord(kind, data, size) == ElemRecordStatus::Ok;
    });
}

bool ElemUserData_WriteRecord(const ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head) {
    ElemDataRecord record;
    if (ElemDataRecord_Build(descriptor, kind, record) != ElemRecordStatus::Ok) return false;
    GSHandle handle = RecordHandle(record);
    if (handle == nullptr) return false;
    const bool stored = StoreRecordHandle(handle, head, true);
    BMKillHandle(&handle);
    return stored;
}

bool ElemUserData_RewriteRecord(const ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head) {
    const bool direct = kind == ElemKind_Point || kind == ElemKind_Terrain;
    ElemDataRecord record;
    const ElemRecordStatus built =
        direct ? ElemDataRecord_BuildRewrite(descriptor, kind, record) : ElemDataRecord_Build(descriptor, kind, record);
    if (built != ElemRecordStatus::Ok) return false;
    GSHandle handle = RecordHandle(record);
    if (handle == nullptr) return false;
    // Stored over the old record, never after deleting it: a refused store leaves the old one in place.
    const bool stored = StoreRecordHandle(handle, head, !direct);
    BMKillHandle(&handle);
    return stored;
}

bool ElemUserData_ReadRecord(ElemDescriptor& descriptor, int32_t kind, const API_ElementUserData& userData) {
    if (userData.dataHdl == nullptr) {
        descriptor.Reset();
        return false;
    }
    return ElemDataRecord_Parse(*userData.dataHdl, size_t(BMGetHandleSize(userData.dataHdl)), kind, descriptor) ==
        ElemRecordStatus::Ok;
}

bool ElemUserData_ReadFromElement(ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head,
                                  bool switchDatabase) {
    descriptor.Reset();
    return InFloorPlan(switchDatabase, [&] {
        return WithUserData(head, nullptr, [&](const void* data, size_t size) {
            return ElemDataRecord_Parse(data, size, kind, descriptor) == ElemRecordStatus::Ok;
        });
    });
}

bool ElemUserData_Read(ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head) {
    return ElemUserData_ReadFromElement(descriptor, kind, head, false);
}

bool ElemUserData_ReadLegacy(ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head) {
    return ElemUserData_ReadLegacyChecked(descriptor, kind, head) == RecordRead::Found;
}

RecordRead ElemUserData_ReadLegacyChecked(ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head) {
    return ReadParsed(descriptor, kind, head, ElemDataRecord_ParseLegacy);
}

RecordRead ElemUserData_ReadChecked(ElemDescriptor& descriptor, int32_t kind, const API_Elem_Head& head) {
    return ReadParsed(descriptor, kind, head, ElemDataRecord_Parse);
}
