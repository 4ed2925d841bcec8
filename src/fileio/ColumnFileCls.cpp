#include "fileio/ColumnFileCls.hpp"

#include "fileio/DuplicateFilter.hpp"
#include "fileio/UnitFactor.hpp"
#include "foundation/FileUtils.hpp"
#include "foundation/Encoding.hpp"
#include "foundation/Language.hpp"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr uint32_t SliceCount = 20;
constexpr int32_t ReadingText = 166;
constexpr int32_t ConvertingText = 224;
constexpr int32_t FilterText = 228;
constexpr int32_t PointsText = 51;

QV_String PhaseText(int32_t index) {
    QV_String text;
    return GetResString(text, GeneralTableBase + LanguageIndex, index);
}

// Decodes a text marked UTF-16 or UTF-32 into UTF-8; false when it cannot be (odd length, a zero unit).
bool ToUtf8(int32_t encoding, const char* bytes, uint32_t count, std::vector<char>& out) {
    const uint32_t unit = EncodingUnitSize(encoding);
    if (count % unit != 0) return false;
    for (uint32_t i = 0; i < count; i += unit) {
        bool zero = true;
        for (uint32_t k = 0; k < unit && zero; ++k) zero = bytes[i + k] == 0;
        if (zero) return false;
    }
    if (count == 0) {
        out.clear();
        return true;
    }
    const int32_t size = ConvertEncoding(encoding, bytes, count, Encoding_UTF8, nullptr, 0, false);
    if (size <= 0) return false;
    std::vector<char> decoded;
    if (!(decoded.size() < size_t(size))) return false;
    try {
        decoded.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (ConvertEncoding(encoding, bytes, count, Encoding_UTF8, decoded.data(), uint32_t(size), false) != size)
        return false;
    out.swap(decoded);
    return true;
}

}  // namespace

ColumnFileCls::ColumnFileCls()
    : firstAnalysis(1), unitCode(0), overwriteCode(0), swapXY(0), skipFirstRow(0), decimalSeparator(1),
      delimiterMode(DelimiterTab), delimiterChar('\t'), minBlanks(1), unitFactor(0.0), textEncoding(Encoding_System),
      lineEncoding(Encoding_System) {}

void ColumnFileCls::Clear() {
    points.clear();
    points.shrink_to_fit();
    texts.clear();
    texts.shrink_to_fit();
    ReleaseText();
}

void ColumnFileCls::ApplyDelimiterMode() {
    switch (delimiterMode) {
        case DelimiterSemicolon: delimiterChar = ';'; break;
        case DelimiterOther: break;
        default: delimiterChar = '\t'; break;
    }
}

void ColumnFileCls::ReleaseText() {
    lines.clear();
    lines.shrink_to_fit();
    text.Release();
    textFrom = 0;
    textBytes = 0;
    textHasCR = false;
    lineCount = 0;
}

bool ColumnFileCls::OpenForRead() {
    if (OpenReaderFile() != 0 || GetReaderFileLength() != 0) {
        CloseReaderFile();
        report.error = ErrReadingFile;
        NoteOpenFailure(*this, report);
        return false;
    }
    return true;
}

bool ColumnFileCls::FirstBlockIsText() {
    std::vector<char> block(FirstBlockBytes);
    char* head = block.data();
    uint32_t got = 0;
    if (SetReaderFilePosition(0) != 0 || ReadReaderFileBytes(head, FirstBlockBytes, got) != 0) return true;
    int32_t marked = 0;
    const uint32_t mark = DetectBom(head, got, marked);
    // A text of wide units holds zero bytes of its own: its mark says so, and the whole read checks it.
    if (mark > 0) return marked == Encoding_UTF8 || EncodingUnitSize(marked) > 1;
    return std::memchr(head, 0, got) == nullptr;
}

bool ColumnFileCls::Refuse(ReadIssue reason, bool stopped) {
    points.clear();
    texts.clear();
    pointsRead = 0;
    pointsKept = 0;
    ResetBounds();
    ReleaseText();
    CloseReaderFile();
    progress->End();
    if (stopped) {
        cancelled = true;
        report = ReadReport();
        return false;
    }
    report.error = ErrReadingFile;
    if (reason != ReadIssue::Count) report.Note(reason);
    return false;
}

ReaderStatus ColumnFileCls::ReadLine(QV_String& line, uint32_t keep) {
    if (readPosition == 0) {
        // The mark as LoadLines takes it: UTF-8, UTF-16 or UTF-32 decode the text, any other stays bytes.
        lineEncoding = Encoding_System;
        char head[4];
        uint32_t got = 0;
        int32_t marked = 0;
        const uint32_t mark = ReadReaderFileBytes(head, sizeof head, got) == 0 ? DetectBom(head, got, marked) : 0;
        readPosition = 0;
        if (mark > 0 && (marked == Encoding_UTF8 || EncodingUnitSize(marked) > 1)) {
            lineEncoding = marked;
            readPosition = mark;
        }
    }
    if (lineEncoding == Encoding_System) return ReadTextLine(*this, line, keep);

    const uint32_t unit = EncodingUnitSize(lineEncoding);
    const bool bigEndian = lineEncoding == Encoding_UTF16BE || lineEncoding == Encoding_UTF32BE;
    ReaderStatus result = FileErrNone;
    std::string bytes;
    bool broken = false;
    if (unit == 1) {
        // UTF-8 breaks its lines at the same bytes as the code page: the same block scan finds them.
        result = ScanTextLine(
            *this,
            [&](const char* piece, uint32_t count) {
                if (bytes.size() >= keep) return;
                const size_t at = bytes.size();
                const size_t more = std::min<size_t>(count, keep - at);
                // Doubling, but never past what is kept.
                if (bytes.capacity() < at + more)
                    bytes.reserve(std::min<size_t>(keep, std::max(at + more, 2 * bytes.capacity())));
                bytes.append(piece, more);
                // A NUL becomes a space, as ReadTextLine makes it.
                std::replace(bytes.begin() + ptrdiff_t(at), bytes.end(), '\0', ' ');
            },
            broken);
    }
    // One code unit: its bytes and its value; false at the end of the file or on a failed read.
    auto readUnit = [&](char* raw, uint32_t& value) {
        if (readPosition > fileLength || fileLength - readPosition < unit) return false;
        value = 0;
        for (uint32_t k = 0; k < unit; ++k) {
            uint8_t byte = 0;
            result = ReadNextByte(byte);
            if (result != FileErrNone) return false;
            raw[k] = char(byte);
            value |= uint32_t(byte) << (8 * (bigEndian ? unit - 1 - k : k));
        }
        return true;
    };
    char raw[4];
    uint32_t value = 0;
    while (unit > 1 && readUnit(raw, value)) {
        if (value == '\n') {
            broken = true;
            break;
        }
        if (value == '\r') {
            // CR LF is one break; any other unit after a lone CR starts the next line.
            const uint32_t at = readPosition;
            char next[4];
            uint32_t nextValue = 0;
            if (readUnit(next, nextValue) && nextValue != '\n') readPosition = at;
            broken = true;
            break;
        }
        // A NUL becomes a space, as ReadTextLine makes it.
        if (value == 0) raw[bigEndian ? unit - 1 : 0] = ' ';
        if (bytes.size() / unit < keep) bytes.append(raw, unit);
    }
    // A part of a unit at the end, or a failed read: nothing more comes from the file.
    if (!broken || result != FileErrNone) readPosition = std::max(readPosition, fileLength);
    QV_String decoded;
    if (!bytes.empty()) decoded = QV_String(bytes.data(), uint32_t(bytes.size()), lineEncoding);
    decoded.Trim(line, true, true, false);
    status = result;
    return result;
}

void ColumnFileCls::BeginRead() {
    cancelled = false;
    pointsRead = 0;
    pointsKept = 0;
    ResetBounds();
    points.clear();
    texts.clear();
    QV_String title("Lodravix");
    progress->Begin(title, 5);
}

void ColumnFileCls::Phase(int32_t textIndex, uint32_t maxValue, uint32_t count) {
    QV_String phase = PhaseText(textIndex);
    if (count != UINT32_MAX) {
        QV_String number;
        number.FromLong(int32_t(count > INT32_MAX ? INT32_MAX : count));
        phase += " ";
        phase += number;
        phase += " ";
        phase += PhaseText(PointsText);
    }
    progress->Phase(phase, maxValue);
}

bool ColumnFileCls::LoadLines(bool keepLines) {
    ReleaseText();
    Phase(ReadingText, SliceCount, UINT32_MAX);
    auto fail = [&](ReadIssue reason = ReadIssue::Count) { return Refuse(reason); };
    // A file that is no text is told by its first block, before memory is taken for the whole of it.
    if (!FirstBlockIsText()) return fail(ReadIssue::NotText);
    // Twenty slices of equal size into one block; a file shorter than its length said gives what it holds.
    const uint32_t slice = fileLength / SliceCount + (fileLength % SliceCount != 0 ? 1 : 0);
    if (fileLength > 0) {
        text = TextBlock(fileLength);
        // The text is kept whole: a file larger than the memory can hold is too large for this reader.
        if (text.Data() == nullptr) return fail(ReadIssue::FileTooLarge);
    }
    uint32_t filled = 0;
    if (SetReaderFilePosition(0) != 0) return fail();
    for (uint32_t i = 1; i <= SliceCount; ++i) {
        const uint32_t want = std::min<uint32_t>(slice, fileLength - filled);
        uint32_t got = 0;
        if (want > 0 && ReadReaderFileBytes(text.Data() + filled, want, got) != 0) return fail();
        filled += got;
        if (progress->Step(i)) return Refuse(ReadIssue::Count, true);
    }
    CloseReaderFile();
    text.SetSize(filled);

    // A byte-order mark decides the encoding of the whole text; other files are in the system code page.
    int32_t marked = 0;
    const uint32_t mark = DetectBom(text.Data(), uint32_t(text.Size()), marked);
    size_t from = 0;  // where the text begins in the block
    textEncoding = Encoding_System;
    if (mark > 0 && marked == Encoding_UTF8) {
        from = mark;
        textEncoding = Encoding_UTF8;
    } else if (mark > 0 && EncodingUnitSize(marked) > 1) {
        std::vector<char> decoded;
        if (!ToUtf8(marked, text.Data() + mark, uint32_t(text.Size() - mark), decoded)) return fail(ReadIssue::NotText);
        text = TextBlock(decoded.size());
        if (!decoded.empty() && text.Data() == nullptr) return fail();
        if (!decoded.empty()) std::memcpy(text.Data(), decoded.data(), decoded.size());
        text.SetSize(decoded.size());
        textEncoding = Encoding_UTF8;
    } else if (mark > 0) {
        return fail(ReadIssue::NotText);
    }
    const char* begin = text.Data() + from;
    const char* end = text.Data() + text.Size();
    textFrom = from;
    textBytes = size_t(end - begin);
    // Nothing, or a NUL byte: no text file. Refused with the reason, never read as a file without points.
    // An empty file has no buffer: memchr must not see its null pointer.
    if (textBytes != 0 && std::memchr(begin, 0, textBytes) != nullptr) return fail(ReadIssue::NotText);
    if (std::all_of(begin, end, [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }))
        return fail(ReadIssue::Empty);

    Phase(ConvertingText, SliceCount, UINT32_MAX);
    const char* p = begin;
    const size_t stepBytes = textBytes / SliceCount + 1;
    const char* nextStep = p + stepBytes;
    uint32_t stepValue = 0;
    bool skip = skipFirstRow != 0;
    bool lastEmpty = false;  // the last line counted is empty
    try {
        textHasCR = std::memchr(begin, '\r', textBytes) != nullptr;
        while (true) {
            const char* lineEnd = LineEnd(p, end);
            if (!skip) {
                if (keepLines) lines.emplace_back(p, size_t(lineEnd - p));
                ++lineCount;
                lastEmpty = lineEnd == p;
            }
            skip = false;
            if (lineEnd == end) break;
            p = lineEnd + (lineEnd[0] == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n' ? 2 : 1);
            while (p >= nextStep && stepValue < SliceCount) {
                if (progress->Step(++stepValue)) return Refuse(ReadIssue::Count, true);
                nextStep += stepBytes;
            }
        }
    } catch (const std::bad_alloc&) {
        return fail();
    }
    // The text after the last break is always a line; an empty one says nothing.
    if (lineCount > 0 && lastEmpty) {
        --lineCount;
        if (keepLines) lines.pop_back();
    }
    progress->Step(SliceCount);
    unitFactor = GetUnitFactor(unitCode);
    return true;
}

void ColumnFileCls::ReleaseLinesBefore(size_t line) {
    if (line < lines.size()) text.ReleaseBefore(lines[line].data());
}

void ColumnFileCls::AddPoint(double x, double y, double z, std::string_view code, std::string_view comment) {
    AddNumbers(x, y, z);
    if (code.empty() && comment.empty()) return;
    texts.emplace_back();
    FieldText(code, texts.back().code);
    FieldText(comment, texts.back().comment);
    points.back().texts = uint32_t(texts.size());
}

void ColumnFileCls::FieldText(std::string_view field, QV_String& out) const {
    if (!field.empty()) out = QV_String(field.data(), uint32_t(field.size()), textEncoding);
}

void ColumnFileCls::FinishRead(bool separated) {
    ReleaseText();
    const uint32_t chunks = uint32_t((points.size() + PointChunkSize - 1) / PointChunkSize);
    Phase(FilterText, chunks, UINT32_MAX);
    if (separated) {
        for (uint32_t c = 1; c <= chunks; ++c) progress->Step(c);
    } else {
        uint32_t mixed = 0;
        if (FilterDuplicatePoints(points, texts, tolerance, PointChunkSize, *progress, &mixed)) {
            ResetBounds();
            for (const ASCFile::ASCFilePoint& point : points) ExtendBounds(point.x, point.y);
        }
        report.Note(ReadIssue::MixedHeights, mixed);
    }
    pointsKept = uint32_t(points.size());
    progress->End();
}

bool ColumnFileCls::Detect() {
    report = ReadReport();
    if (!OpenForRead()) return false;
    if (!FirstBlockIsText()) {
        CloseReaderFile();
        report.error = ErrReadingFile;
        report.Note(ReadIssue::NotText);
        return false;
    }
    SetReaderFilePosition(0);
    firstAnalysis = 1;
    DetectFormat();
    return true;
}

bool ColumnFileCls::StartRead(bool keepLines) {
    report = ReadReport();
    cancelled = false;
    pointsRead = 0;
    pointsKept = 0;
    ResetBounds();
    if (!OpenForRead()) return false;
    SetReaderFilePosition(0);
    ApplyDelimiterMode();
    BeginRead();
    return LoadLines(keepLines);
}

bool ColumnFileCls::DetectTabOrSemicolon(const std::string& sample) {
    for (const char c : {'\t', ';'})
        if (std::count(sample.begin(), sample.end(), c) >= 2) {
            delimiterMode = c == '\t' ? DelimiterTab : DelimiterSemicolon;
            delimiterChar = c;
            return true;
        }
    return false;
}
