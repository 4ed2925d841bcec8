#include "fileio/DBFTable.hpp"

#include "fileio/BaseFileCls.hpp"
#include "fileio/ReadReport.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/FileUtils.hpp"
#include "foundation/Language.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cctype>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr int32_t WaitText = 4;
constexpr uint32_t DescriptorSize = 32;
constexpr uint32_t ChunkBytes = 1u << 16;

uint32_t LoadLE32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t LoadLE16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

bool ReadAt(BaseFileCls& file, uint32_t position, void* buffer, uint32_t count) {
    uint32_t got = 0;
    return file.SetReaderFilePosition(position) == 0 && file.ReadReaderFileBytes(buffer, count, got) == 0 &&
        got == count;
}

// True when a ".cpg" file beside the table names UTF-8. One that is there but cannot be read is told in `report`.
bool DeclaredUTF8(const QV_String& tablePath, ReadReport& report) {
    BaseFileCls cpg;
    cpg.path = tablePath;
    const int32_t dot = tablePath.ReverseFindChar('.');
    if (dot < 0) return false;
    tablePath.Left(cpg.path, uint32_t(dot));
    cpg.path += ".cpg";
    if (cpg.OpenReaderFile() != 0 || cpg.GetReaderFileLength() != 0 || cpg.fileLength > 64) {
        if (cpg.openError != IO::ErrNotFound) report.Note(ReadIssue::CodePageUnread);
        return false;
    }
    char text[65] = {};
    uint32_t got = 0;
    cpg.ReadReaderFileBytes(text, cpg.fileLength, got);
    std::string name;
    for (uint32_t i = 0; i < got; ++i)
        if (!std::isspace(static_cast<unsigned char>(text[i])) && text[i] != '-')
            name += char(std::toupper(static_cast<unsigned char>(text[i])));
    return name == "UTF8" || name == "65001";
}

// The value of one field: spaces (not tabs) trimmed at both ends; a zero byte ends it early. False when the table is
// said to be UTF-8 but the value is not: it is then taken in the system code page, as written.
bool TrimmedValue(const char* field, uint32_t length, bool fromUTF8, std::string& out) {
    const char* end = static_cast<const char*>(std::memchr(field, 0, length));
    if (end == nullptr) end = field + length;
    const char* begin = field;
    while (begin < end && *begin == ' ') ++begin;
    while (end > begin && end[-1] == ' ') --end;
    out.assign(begin, end);
    if (!fromUTF8 || out.empty()) return true;
    if (!IsValidUtf8(out.data(), uint32_t(out.size()), false)) return false;
    QV_String text(out.data(), uint32_t(out.size()), Encoding_UTF8);
    std::string converted(size_t(text.GetLength()), '?');
    for (uint32_t i = 0; i < text.GetLength(); ++i) converted[i] = text.GetCharAnsi(i);
    out.swap(converted);
    return true;
}

// Whether a number field's text is a number: dBase writes digits with an optional sign, point and exponent, and
// stars when a value overflows its field. Anything else ("nan", "inf", "*****") is no number, and no value.
bool NumberText(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    // The value keeps what stands around the number; only the number is judged.
    while (first != last && std::isspace(static_cast<unsigned char>(*first))) ++first;
    while (last != first && std::isspace(static_cast<unsigned char>(last[-1]))) --last;
    if (first != last && *first == '+') ++first;
    double v = 0.0;
    const std::from_chars_result r = std::from_chars(first, last, v);
    return r.ec == std::errc() && r.ptr == last && std::isfinite(v);
}

// The lists are relocatable by their own rule, so two of one type trade places byte for byte.
template <typename T>
void SwapLists(QV_List<T>& a, QV_List<T>& b) {
    alignas(QV_List<T>) unsigned char scratch[sizeof(QV_List<T>)];
    std::memcpy(scratch, static_cast<void*>(&a), sizeof a);
    std::memcpy(static_cast<void*>(&a), static_cast<void*>(&b), sizeof a);
    std::memcpy(static_cast<void*>(&b), scratch, sizeof a);
}

bool ReadTable(BaseFileCls& file, QV_List<DBFFieldData>& fields, DBFValueList& values, ReaderProgress& progress,
               ReadReport& report, bool& stopped) {
    if (file.OpenReaderFile() != 0 || file.GetReaderFileLength() != 0) {
        NoteOpenFailure(file, report);
        return false;
    }
    const uint32_t fileSize = file.fileLength;
    uint8_t head[DescriptorSize];
    if (!ReadAt(file, 0, head, DescriptorSize)) return false;
    const uint32_t recordCount = LoadLE32(head + 4);
    const uint32_t headerLength = LoadLE16(head + 8);
    const uint32_t recordLength = LoadLE16(head + 10);
    // A header with no room for a descriptor: a table without fields, hence without values.
    if (headerLength <= DescriptorSize) {
        fields.Clear();
        values.Clear();
        return true;
    }
    if (headerLength > fileSize) return false;

    std::vector<uint8_t> descriptors(headerLength);
    if (!ReadAt(file, 0, descriptors.data(), headerLength)) return false;
    QV_List<DBFFieldData> read;
    uint32_t used = 1;  // the deletion flag
    for (uint32_t p = DescriptorSize; p + DescriptorSize <= headerLength && descriptors[p] != 0x0D;
         p += DescriptorSize) {
        const uint8_t* d = descriptors.data() + p;
        DBFFieldData field;
        const void* zero = std::memchr(d, 0, 11);
        const uint32_t nameLength = zero != nullptr ? uint32_t(static_cast<const uint8_t*>(zero) - d) : 11;
        if (nameLength > 0) field.name = QV_String(d, nameLength, Encoding_System);
        field.kind = d[11] == 'N' ? int16_t(-int16_t(d[17])) : int16_t(1);
        field.length = d[16];
        used += field.length;
        read.Insert(field);
    }
    const uint32_t fieldCount = uint32_t(read.GetCount());
    // Every field must lie inside the record.
    if (fieldCount > 0 && used > recordLength) return false;
    // A table cut short keeps the whole records before the cut, as the main file does; the shapes after them get no
    // values.
    uint32_t rows = fieldCount > 0 ? recordCount : 0;
    if (rows > 0 && uint64_t(headerLength) + uint64_t(rows) * recordLength > fileSize) {
        rows = (fileSize - headerLength) / recordLength;
        report.Note(ReadIssue::EndedEarly);
    }
    const uint64_t valueCount = uint64_t(rows) * fieldCount;
    // Every value is kept with its place: fields of no length would make a small file ask for gigabytes. A value
    // the file can hold takes a byte of it at least.
    if (valueCount > uint64_t(INT32_MAX) || valueCount > fileSize) {
        report = ReadReport();
        report.Note(ReadIssue::TooLarge);
        return false;
    }

    const bool fromUTF8 = DeclaredUTF8(file.path, report);
    // No value is longer than its field: the text block's size is known before reading.
    const uint64_t textBytes = uint64_t(rows) * (used - 1 + fieldCount);
    if (textBytes >= uint64_t(INT32_MAX)) return false;
    QV_List<DBFData> index;
    QV_List<char> text;
    if (!index.SetSize(int32_t(valueCount)) || !text.SetSize(int32_t(textBytes) + 1)) return false;
    uint32_t written = 0;

    const uint32_t perChunk = recordLength > 0 ? std::max<uint32_t>(1, ChunkBytes / recordLength) : 1;
    // Uninitialised: each chunk is read whole before use.
    const size_t chunkBytes = size_t(std::min(perChunk, std::max<uint32_t>(rows, 1))) * recordLength;
    std::unique_ptr<uint8_t[]> chunk(new (std::nothrow) uint8_t[chunkBytes > 0 ? chunkBytes : 1]);
    if (!chunk) return false;
    QV_String title("Lodravix"), wait;
    GetResString(wait, TitleTableBase + LanguageIndex, WaitText);
    progress.Begin(title, 1);
    progress.Phase(wait, rows);
    std::string value;
    bool ok = true;
    for (uint32_t first = 0; first < rows && ok; first += perChunk) {
        const uint32_t n = std::min(perChunk, rows - first);
        if (!ReadAt(file, headerLength + first * recordLength, chunk.get(), n * recordLength)) {
            ok = false;
            break;
        }
        for (uint32_t k = 0; k < n && ok; ++k) {
            const uint32_t r = first + k;
            if (progress.Step(r + 1)) {
                stopped = true;
                ok = false;
                break;
            }
            const char* record = reinterpret_cast<const char*>(chunk.get()) + size_t(k) * recordLength;
            uint32_t offset = 1;
            for (uint32_t f = 0; f < fieldCount; ++f) {
                const uint32_t length = read[int32_t(f)].length;
                if (!TrimmedValue(record + offset, length, fromUTF8, value)) report.Note(ReadIssue::CodePageMismatch);
                offset += length;
                // A number field without a number holds no value: it must not become one later.
                if (read[int32_t(f)].kind != 1 && !value.empty() && !NumberText(value)) {
                    value.clear();
                    report.Note(ReadIssue::BadNumber);
                }
                DBFData& entry = index[int32_t(uint64_t(r) * fieldCount + f)];
                entry.offset = written;
                entry.length = uint32_t(std::min<size_t>(value.size(), length));
                std::memcpy(text.begin() + written, value.data(), entry.length);
                written += entry.length;
                text[int32_t(written++)] = 0;
            }
        }
    }
    progress.End();
    if (!ok) return false;
    text.SetSize(int32_t(written));
    SwapLists(fields, read);
    SwapLists(values.index, index);
    SwapLists(values.text, text);
    return true;
}

}  // namespace

const char* DBFValueList::operator[](int32_t i) const {
    const DBFData* entry = index.Get(i);
    return entry != nullptr && entry->offset < uint32_t(text.GetCount()) ? text.begin() + entry->offset : "";
}

void DBFValueList::Clear() {
    index.Clear();
    text.Clear();
}

bool DBFValueList::Replace(int32_t i, const char* value) {
    DBFData* entry = index.Get(i);
    if (entry == nullptr) return false;
    const uint32_t n = uint32_t(std::strlen(value));
    const int32_t at = text.GetCount();
    if (int64_t(at) + n + 1 > INT32_MAX || !text.SetSize(at + int32_t(n) + 1)) return false;
    std::memcpy(text.begin() + at, value, n + 1);
    entry->offset = uint32_t(at);
    entry->length = n;
    return true;
}

QV_String TablePathOf(const QV_String& shapePath) {
    int32_t cut = shapePath.ReverseFindChar('.');
    const int32_t slash = std::max(shapePath.ReverseFindChar('\\'), shapePath.ReverseFindChar('/'));
    if (cut < 0 || cut < slash) cut = int32_t(shapePath.GetLength());
    QV_String result;
    shapePath.Left(result, uint32_t(cut));
    result += ".dbf";
    return result;
}

bool ReadDBFFile(const QV_String& tablePath, QV_List<DBFFieldData>& fields, DBFValueList& values,
                 ReaderProgress& progress, ReadReport& report, bool* missing) {
    BaseFileCls file;
    file.path = tablePath;
    report = ReadReport();
    if (missing != nullptr) *missing = false;
    bool stopped = false;
    const bool ok = ReadTable(file, fields, values, progress, report, stopped);
    const bool notFound = file.status == FileErrNotFound;
    file.CloseReaderFile();
    if (ok) return true;
    if (missing != nullptr) *missing = notFound;
    // The user's stop ends the read as a cancel does: nothing to tell.
    if (stopped) {
        report = ReadReport();
        return false;
    }
    // The reason when there is one, else the read error; a table that could not be opened is the read error too.
    if (!report.HasIssues() || report.NotOpened()) report.error = ErrReadingFile;
    return false;
}
