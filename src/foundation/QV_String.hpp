#pragma once
// QV_String: the module's text type. UTF-16 units in a NUL-terminated buffer from the host memory manager,
// with length and capacity counted in units (capacity includes the terminator). Byte texts enter and leave
// through an encoding selector (foundation/Encoding.hpp); selector 2, the system code page, is the one of
// every literal.
//
// Two empty states, which are NOT interchangeable:
//   - no buffer: default-constructed, cleared, copied from a string without buffer;
//   - a buffer holding only the terminator: built from an empty byte text, or left empty by Trim and the
//     slicing operations.
// Compare orders "no buffer" before "empty with buffer"; Replace and the searches treat a string without
// buffer as absent.
//
// Nothing throws. Allocation failures are reported by the bool results of Reserve, Resize, AppendBytes,
// AppendWide and SetBytes; see each operation for the state it leaves.
//
// A QV_String may be moved as raw bytes (it holds no pointer into itself), so QV_List<QV_String> is fine.
#include "foundation/Encoding.hpp"

#include "GSRoot.hpp"

#include <cstdint>
#include <string>

// Bytes produced by QV_String::ToMultiByte. The caller frees `bytes` with GS::MemoryManager::Free.
struct MultiByteBuffer {
    char* bytes = nullptr;   // null when the allocation or conversion failed
    uint32_t byteCount = 0;  // terminator included; 0 on failure
    int32_t encoding = 0;    // the selector converted to
};

class QV_String {
public:
    // ---- construction, assignment, destruction ----
    QV_String() = default;
    QV_String(const QV_String& other);
    QV_String(QV_String&& other) noexcept;
    // From a byte range; `byteCount` 0 means NUL-terminated; null `bytes` gives an empty string without buffer.
    QV_String(const void* bytes, uint32_t byteCount, int32_t encoding);
    // From NUL-terminated bytes (every literal: selector 2). Null gives an empty string without buffer.
    QV_String(const char* bytes, int32_t encoding = Encoding_System);
    ~QV_String();

    // Frees the buffer: no buffer, length and capacity 0.
    void Clear();
    // Sets no buffer, length and capacity 0 WITHOUT freeing (for raw memory that is to hold a string).
    void InitEmpty();

    // Deep copy. A source without buffer frees the target's buffer; the target's buffer is reused when large
    // enough (never shrunk). On allocation failure the target ends without buffer.
    QV_String& operator=(const QV_String& other);
    QV_String& operator=(QV_String&& other) noexcept;
    QV_String& Assign(const QV_String& other) { return *this = other; }
    // From NUL-terminated bytes in selector 2; null clears.
    QV_String& operator=(const char* bytes);

    // Replaces the content from a byte range (`byteCount` 0: NUL-terminated); null `bytes` clears. A failed
    // conversion or allocation leaves the string unchanged and gives false.
    bool SetBytes(const void* bytes, uint32_t byteCount, int32_t encoding);

    // Clears, then appends up to three NUL-terminated texts in selector 2, each cut to its maximum number of
    // bytes (0, or a maximum above the text's length, takes it whole). Null parts are skipped.
    void AssignJoin3(const char* a, uint32_t maxA, const char* b, uint32_t maxB, const char* c, uint32_t maxC);

    // Sets the string from a file's bytes whose encoding is not declared and returns the selector found:
    // a byte-order mark first; without one, `defaultEncoding` unless `analyse`, which tries UTF-32 LE/BE,
    // UTF-16 LE/BE (zero-byte statistics) and UTF-8 in that order, else answers 0 and decodes as selector 2.
    // `byteCount` 0 is an empty file here (not "NUL-terminated").
    int32_t SetDetectEncoding(const void* bytes, uint32_t byteCount, bool analyse, int32_t defaultEncoding);

    // ---- concatenation ----
    friend QV_String operator+(const QV_String& a, const QV_String& b);  // no buffer when neither has one
    friend QV_String operator+(const char* a, const QV_String& b);
    friend QV_String operator+(const QV_String& a, const char* b);
    QV_String& operator+=(const QV_String& other);
    QV_String& operator+=(const char* bytes);

    // Appends converted bytes; null `bytes` is success with no change. False when conversion or allocation
    // fails; the string is then unchanged.
    bool AppendBytes(const void* bytes, uint32_t byteCount, int32_t encoding);
    // Appends `count` UTF-16 units; null or 0 is success with no change. On allocation failure the string is
    // left empty WITHOUT buffer (length and capacity 0) and the result is false.
    bool AppendWide(const GS::UniChar* units, uint32_t count);

    // ---- storage ----
    // Makes room for `n` units (terminator included); nothing to do when the capacity suffices. Allocates
    // exactly `n`. With `keep` the text stays, else it is emptied. On failure: no buffer, false.
    bool Reserve(uint32_t n, bool keep);
    // Reallocates to exactly `n` units (at least 1), also to shrink; with `keep` the text is cut to n - 1
    // units. On failure: no buffer, false.
    bool Resize(uint32_t n, bool keep);

    // ---- access ----
    const GS::UniChar* GetBuffer() const { return buffer; }  // null when there is no buffer
    uint32_t GetLength() const { return length; }
    uint32_t GetCapacity() const { return capacity; }
    bool HasBuffer() const { return buffer != nullptr; }
    bool IsEmpty() const { return length == 0; }  // either empty state

    // Unit `i`; 0 when out of range or without buffer.
    GS::UniChar GetAt(uint32_t i) const;
    // Unit `i` converted to selector 2 ('?' for a unit the code page lacks); 0 when out of range.
    char GetCharAnsi(uint32_t i) const;
    // Sets unit `i` from one byte in selector 2; no change when `i` is out of range.
    void SetAt(uint32_t i, char byteChar);
    // The UTF-16 unit of one byte in an encoding; 0 when the conversion fails.
    static GS::UniChar WideFromAnsiChar(char byteChar, int32_t encoding);

    // ---- comparison: -1, 0, 1 by UTF-16 unit value ----
    // Compares this string from `startThis` with `other` from `startOther` until a difference, the end of
    // both or `maxCount` units (0: no limit). No buffer sorts before a buffer; two without buffer are equal.
    // A start index beyond a text's length compares as the empty rest of that text.
    int32_t Compare(uint32_t startThis, const QV_String& other, uint32_t startOther, uint32_t maxCount) const;
    int32_t Compare(const QV_String& other) const { return Compare(0, other, 0, 0); }
    // The same with every unit passed through CharLowerW.
    int32_t CompareNoCase(uint32_t startThis, const QV_String& other, uint32_t startOther, uint32_t maxCount) const;
    int32_t CompareNoCase(const QV_String& other) const { return CompareNoCase(0, other, 0, 0); }
    // No buffer before a buffer, then ordinal order of the units (sorted string lists).
    bool operator<(const QV_String& other) const;
    // Compare(other) == 0: equal texts in the same empty state.
    bool operator==(const QV_String& other) const { return Compare(other) == 0; }
    bool operator!=(const QV_String& other) const { return Compare(other) != 0; }

    // `other` occurs at `index` (false when either has no buffer, `other` is empty, or `index` is neither 0
    // nor below the length).
    bool StartsWithAt(const QV_String& other, uint32_t index) const;
    // False when either has no buffer, `other` is empty or longer than this string.
    bool EndsWith(const QV_String& other) const;

    // ---- search: index or -1 ----
    // First index at or after `start` where `sub` occurs whole; -1 when either has no buffer, `start` is not
    // below the length or `sub` is empty.
    int32_t Find(const QV_String& sub, uint32_t start = 0) const;
    int32_t FindNoCase(const QV_String& sub, uint32_t start = 0) const;  // units compared after CharLowerW
    // First index at or after `start` of the unit of a byte character in selector 2; a 0 character gives -1.
    int32_t FindChar(char byteChar, uint32_t start = 0) const;
    // Highest index where `sub` occurs whole.
    int32_t ReverseFind(const QV_String& sub) const;
    // Highest index of the character (a backslash cuts a file name from a path).
    int32_t ReverseFindChar(char byteChar) const;

    // ---- slicing and copies into `out` (`out` may be this string); a source without buffer gives an out
    // string without buffer, every other result has a buffer ----
    // `count` units from `start`, cut at the end; `start` beyond the length gives an empty string.
    void SubString(QV_String& out, uint32_t start, uint32_t count) const;
    void Left(QV_String& out, uint32_t count) const { SubString(out, 0, count); }
    void Mid(QV_String& out, uint32_t start) const;
    // The `count` units that end `endOffset` units before the end. `endOffset` beyond the length, or `count`
    // larger than the text before `endOffset`, gives an EMPTY string (not the whole text).
    void Right(QV_String& out, uint32_t count, uint32_t endOffset = 0) const;
    // Every occurrence of `from` replaced by `to`, left to right without overlap. When this string, `from` or
    // `to` has no buffer, `out` is empty without buffer. An empty `from` replaces nothing (plain copy).
    void Replace(QV_String& out, const QV_String& from, const QV_String& to) const;
    // Every unit of one byte character (selector 2) replaced by another.
    void ReplaceChar(QV_String& out, char fromChar, char toChar) const;
    // Without blanks (and with `tabsToo` tabs) at the chosen ends; nothing left gives an empty string with a
    // buffer.
    void Trim(QV_String& out, bool left, bool right, bool tabsToo) const;
    void ToLower(QV_String& out) const;
    void ToUpper(QV_String& out) const;

    // ---- numbers ----
    // Decimal text of a 32-bit value ("%ld"); `width` other than 0 is a minimum field width.
    void FromLong(const int32_t& value, uint32_t width = 0);
    // printf-style: "%" + width ("%u", nothing for 0) + precision (".%uf", or "g" for 0). The decimal point is
    // always a full stop. Width and precision above 400 are cut to 400.
    void FromDouble(double value, uint32_t width, uint32_t precision);
    // "%.<precision>f" for a precision of 0 or more, "%g" for a negative one.
    void FromDoublePrecision(double value, int32_t precision);
    // StrToDouble of the text in selector 2.
    double ToDouble() const;
    // Number test: 0 not a number, 1 integer, 2 decimal number (see ClassifyNumberText).
    int32_t ClassifyNumber() const;
    // The same number test under the name the callers use: NOT a conversion to an integer.
    int32_t ToInt() const { return ClassifyNumber(); }

    // ---- conversion out ----
    // The text converted with a terminator (an empty string gives just the terminator).
    MultiByteBuffer ToMultiByte(int32_t encoding) const;
    // The text converted into a std::string without terminator (UTF-8 by default); "" on failure.
    std::string ToStdString(int32_t encoding = Encoding_UTF8) const;

    void Swap(QV_String& other) noexcept;

private:
    bool AllocateExactly(uint32_t units, GS::UniChar*& block) const;
    void Adopt(GS::UniChar* block, uint32_t newLength, uint32_t newCapacity);
    bool FromFormatted(const char* format, ...);
    // Copies the text into `out` with every unit passed through `map` (case mapping).
    void MapUnits(QV_String& out, GS::UniChar (*map)(GS::UniChar)) const;

    GS::UniChar* buffer = nullptr;
    uint32_t length = 0;
    uint32_t capacity = 0;
};

// ---- free routines on NUL-terminated bytes ----

// Parses a decimal number ('.' or ',' as decimal separator, lowercase 'e' with a sign for the exponent). Null
// or empty gives 0.0; a text without a digit, sign or separator, or a separator not followed by a digit,
// gives 1.7976931348623157e308 (the "no number" mark). Overflow saturates to +/-1.7976931348623157e308.
double StrToDouble(const char* bytes);
// Parses a decimal integer after skipping to the first digit or '-'. Null or empty gives 0; no digit or
// minus gives 2147483647; '-' not followed by a digit gives 0. Overflow saturates to INT32_MAX / INT32_MIN.
int32_t StrToInt(const char* bytes);
// Number test: skip blanks, one optional sign, blanks again; then only digits with at most one '.' or ','
// followed by a digit. 0 not a number (also an empty text), 1 integer, 2 decimal number.
int32_t ClassifyNumberText(const char* bytes);
// Length in bytes (0 for null or empty).
int32_t StrLen(const char* bytes);
// Equal texts; false when either is null.
bool StrEqual(const char* a, const char* b);

// The text's UTF-16 units, and a text of such units (the path helpers work on std::u16string).
std::u16string TextUnits(const QV_String& text);
QV_String TextOfUnits(const std::u16string& units);
