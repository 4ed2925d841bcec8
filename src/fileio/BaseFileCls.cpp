#include "fileio/BaseFileCls.hpp"

#include "foundation/FileUtils.hpp"
#include "elements/BaseCls.hpp"

#include "UniString.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <new>
#include <vector>

namespace {

constexpr uint32_t ReadAheadBytes = 64 * 1024;
constexpr uint8_t LF = 10;
constexpr uint8_t CR = 13;

ReaderStatus StatusOf(GSErrCode err) { return static_cast<ReaderStatus>(SmallFileError(err)); }

// The character of every byte in the system code page; NUL becomes a space, a byte the code page cannot
// convert a question mark.
struct ByteCharacters {
    ByteCharacters() {
        for (int b = 0; b < 256; ++b) {
            const GS::UniChar unit = QV_String::WideFromAnsiChar(static_cast<char>(b), Encoding_System);
            units[b] = b == 0 ? u' ' : (unit == 0 ? u'?' : unit);
        }
    }
    GS::UniChar units[256];
};

}  // namespace

BaseFileCls::BaseFileCls() : progress(&NullReaderProgress()), readAheadStart(0), readAheadCount(0) {
    ResetBounds();
    BaseFileCls::Clear();
}

BaseFileCls::~BaseFileCls() {
    file.reset();
    options.Reset();
}

void BaseFileCls::Clear() {
    status = -1;
    file.reset();
    DropReadAhead();
    fileLength = 0;
    readPosition = 0;
    options.Reset();
    tolerance = 0.1;
    ResetBounds();
    originX = 0.0;
    originY = 0.0;
    limitToArea = 0;
    limitArea = API_Box{0.0, 0.0, 0.0, 0.0};
    pointsRead = 0;
    pointsKept = 0;
    importAgain = 0;
}

void BaseFileCls::SetImportOptions(const ImportOptionsRec& source) { options = source; }

void BaseFileCls::SetProgress(ReaderProgress* newProgress) {
    progress = newProgress != nullptr ? newProgress : &NullReaderProgress();
}

void BaseFileCls::ResetBounds() {
    bounds.xMin = bounds.yMin = UnsetBoundValue;
    bounds.xMax = bounds.yMax = -UnsetBoundValue;
}

bool BaseFileCls::BoundsEmpty() const { return bounds.xMin > bounds.xMax || bounds.yMin > bounds.yMax; }

void BaseFileCls::ExtendBounds(double x, double y) {
    if (x < bounds.xMin) bounds.xMin = x;
    if (x > bounds.xMax) bounds.xMax = x;
    if (y < bounds.yMin) bounds.yMin = y;
    if (y > bounds.yMax) bounds.yMax = y;
}

ReaderStatus BaseFileCls::OpenReaderFile() {
    file.reset();
    DropReadAhead();
    std::unique_ptr<IO::File> opened(new (std::nothrow)
                                         IO::File(IO::Location(GS::UniString(path.GetBuffer(), path.GetLength()))));
    openError = 0;
    if (!opened) return status = FileErrGeneral;
    const GSErrCode err = opened->Open(IO::File::ReadMode);
    openError = err;
    if (err != 0) return status = StatusOf(err);
    file = std::move(opened);
    readPosition = 0;
    return status = FileErrNone;
}

ReaderStatus BaseFileCls::GetReaderFileLength() {
    tooLarge = false;
    if (!file) return status = FileErrNoFile;
    uint64_t length = 0;
    const GSErrCode err = file->GetDataLength(&length);
    if (err != 0) return status = StatusOf(err);
    if (length > std::numeric_limits<uint32_t>::max()) {
        fileLength = 0;
        tooLarge = true;
        return status = FileErrOther;
    }
    fileLength = static_cast<uint32_t>(length);
    return status = FileErrNone;
}

ReaderStatus BaseFileCls::SetReaderFilePosition(uint32_t position) {
    if (!file) return status = FileErrNoFile;
    const GSErrCode err = file->SetPosition(position);
    if (err != 0) return status = StatusOf(err);
    readPosition = position;
    return status = FileErrNone;
}

ReaderStatus BaseFileCls::ReadReaderFileBytes(void* buffer, uint32_t count, uint32_t& bytesRead) {
    bytesRead = 0;
    if (!file) return status = FileErrNoFile;
    // The position is 32-bit: never read past what it can count.
    const uint32_t room = std::numeric_limits<uint32_t>::max() - readPosition;
    if (count > room) count = room;
    GSErrCode err = file->SetPosition(readPosition);
    uint64_t got = 0;
    if (err == 0) err = file->ReadBin(static_cast<char*>(buffer), count, &got);
    if (err != 0) return status = StatusOf(err);
    bytesRead = static_cast<uint32_t>(got);
    readPosition += bytesRead;
    return status = FileErrNone;
}

ReaderStatus BaseFileCls::GetReaderFileAvailable(uint32_t& available) {
    available = 0;
    if (!file) return status = FileErrNoFile;
    GSErrCode err = file->SetPosition(readPosition);
    uint64_t left = 0;
    if (err == 0) err = file->GetAvailable(&left);
    if (err != 0) return status = StatusOf(err);
    available = left > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                            : static_cast<uint32_t>(left);
    return status = FileErrNone;
}

ReaderStatus BaseFileCls::CloseReaderFile() {
    DropReadAhead();
    if (!file) return status = FileErrNoFile;
    const GSErrCode err = file->IsOpen() ? file->Close() : 0;
    file.reset();
    return status = StatusOf(err);
}

ReaderStatus BaseFileCls::ReadNextByte(uint8_t& byte) {
    const char* bytes = nullptr;
    uint32_t count = 0;
    if (PeekReadAhead(bytes, count) != FileErrNone) return status;
    byte = static_cast<uint8_t>(bytes[0]);
    ++readPosition;
    return status = FileErrNone;
}

ReaderStatus BaseFileCls::PeekReadAhead(const char*& bytes, uint32_t& count) {
    bytes = nullptr;
    count = 0;
    if (readPosition >= readAheadStart && readPosition - readAheadStart < readAheadCount) {
        bytes = readAhead.get() + (readPosition - readAheadStart);
        count = readAheadCount - (readPosition - readAheadStart);
        return status = FileErrNone;
    }
    DropReadAhead();
    if (!file) return status = FileErrNoFile;
    // The byte at the largest 32-bit offset could not be stepped past.
    if (readPosition == std::numeric_limits<uint32_t>::max()) return status = FileErrOther;
    if (!readAhead) {
        readAhead.reset(new (std::nothrow) char[ReadAheadBytes]);
        if (!readAhead) return status = FileErrGeneral;
    }
    GSErrCode err = file->SetPosition(readPosition);
    uint64_t got = 0;
    if (err == 0) err = file->ReadBin(readAhead.get(), ReadAheadBytes, &got);
    if (err != 0) return status = StatusOf(err);
    // Nothing where the caller expected a byte: the file is shorter than it was said to be.
    if (got == 0) return status = FileErrOther;
    readAheadStart = readPosition;
    readAheadCount = static_cast<uint32_t>(got);
    bytes = readAhead.get();
    count = readAheadCount;
    return status = FileErrNone;
}

void NoteOpenFailure(const BaseFileCls& reader, ReadReport& report) {
    if (reader.tooLarge) {
        report.Note(ReadIssue::FileTooLarge);
        return;
    }
    switch (reader.openError) {
        case IO::ErrNotFound: report.Note(ReadIssue::FileMissing); break;
        case IO::ErrNotRegular: report.Note(ReadIssue::FileNotRegular); break;
        case IO::ErrNameTooLong: report.Note(ReadIssue::FileNameTooLong); break;
        case IO::ErrAccessDenied: {
            // The host answers a folder as it answers a file it may not read.
            const IO::Location location(GS::UniString(reader.path.GetBuffer(), reader.path.GetLength()));
            report.Note(IO::FileSystem::IsFolder(location) ? ReadIssue::FileIsFolder : ReadIssue::FileNoPermission);
            break;
        }
        default: break;
    }
}

ReaderStatus ScanTextLine(BaseFileCls& reader, const std::function<void(const char*, uint32_t)>& take, bool& broken) {
    // The line's end is looked for a read-ahead block at a time, not byte by byte: a line far longer than what a
    // caller keeps costs a scan, no more.
    broken = false;
    ReaderStatus result = FileErrNone;
    while (reader.readPosition < reader.fileLength) {
        const char* bytes = nullptr;
        uint32_t count = 0;
        result = reader.PeekReadAhead(bytes, count);
        if (result != FileErrNone) break;
        count = std::min(count, reader.fileLength - reader.readPosition);
        const char* end = bytes + count;
        const void* lf = std::memchr(bytes, LF, count);
        const char* stop = lf != nullptr ? static_cast<const char*>(lf) : end;
        if (const void* cr = std::memchr(bytes, CR, size_t(stop - bytes))) stop = static_cast<const char*>(cr);
        const uint32_t taken = uint32_t(stop - bytes);
        if (taken > 0) take(bytes, taken);
        reader.readPosition += taken;
        if (stop == end) continue;
        ++reader.readPosition;
        broken = true;
        if (*stop == CR && reader.readPosition < reader.fileLength) {
            // CR LF is one break; any other byte after a lone CR starts the next line.
            uint8_t next = 0;
            result = reader.ReadNextByte(next);
            if (result == FileErrNone && next != LF) --reader.readPosition;
        }
        break;
    }
    return result;
}

ReaderStatus ReadTextLine(BaseFileCls& reader, QV_String& line, uint32_t keep) {
    static const ByteCharacters characters;
    // The characters gather in a buffer that grows by doubling and join the line once: a line of any length
    // costs time in proportion to it. Past `keep` they are read over, not kept.
    std::vector<GS::UniChar> units;
    bool stored = true;
    bool broken = false;
    ReaderStatus result = ScanTextLine(
        reader,
        [&](const char* bytes, uint32_t count) {
            if (!stored || units.size() >= keep) return;
            const size_t more = std::min<size_t>(count, keep - units.size());
            try {
                const size_t at = units.size();
                // Doubling, but never past what is kept.
                if (units.capacity() < at + more)
                    units.reserve(std::min<size_t>(keep, std::max(at + more, 2 * units.capacity())));
                units.resize(at + more);
                for (size_t k = 0; k < more; ++k) units[at + k] = characters.units[static_cast<uint8_t>(bytes[k])];
            } catch (const std::bad_alloc&) {
                stored = false;
            }
        },
        broken);
    QV_String raw("", Encoding_System);
    if (stored && !units.empty()) stored = raw.AppendWide(units.data(), uint32_t(units.size()));
    // Nothing more can come from a file that failed a read: callers loop up to the length.
    if (result != FileErrNone) reader.readPosition = reader.fileLength;
    // A line too long for memory was read past but not kept.
    if (result == FileErrNone && !stored) result = FileErrGeneral;
    raw.Trim(line, true, true, false);
    reader.status = result;
    return result;
}
