#include "fileio/SHPFileData.hpp"

#include "fileio/SurveyBounds.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr int32_t ReadingText = 166;
constexpr uint32_t BlockSize = 1u << 16;  // within the heap: no fresh pages to fault in on every read
constexpr int32_t ShapeTypes[13] = {1, 3, 5, 8, 11, 13, 15, 18, 21, 23, 25, 28, 31};

int32_t LoadLE32(const uint8_t* p) {
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}
int32_t LoadBE32(const uint8_t* p) {
    return int32_t(uint32_t(p[3]) | uint32_t(p[2]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[0]) << 24);
}
void StoreHost32(uint8_t* p, int32_t v) { std::memcpy(p, &v, 4); }

// The bytes of one record's content; every read stays inside them.
struct Cursor {
    const uint8_t* p;
    uint32_t left;

    bool Has(uint64_t bytes) const { return bytes <= left; }
    bool Int(int32_t& v) {
        if (left < 4) return false;
        v = LoadLE32(p);
        p += 4;
        left -= 4;
        return true;
    }
    bool Double(double& v) {
        if (left < 8) return false;
        std::memcpy(&v, p, 8);  // the format is little-endian, as the host
        p += 8;
        left -= 8;
        return true;
    }
    bool Box(double (&box)[4]) { return Double(box[0]) && Double(box[1]) && Double(box[2]) && Double(box[3]); }
    template <typename T>
    bool Array(QV_List<T>& list, int32_t count) {
        const uint64_t bytes = uint64_t(count) * sizeof(T);
        if (count < 0 || !Has(bytes) || !list.Assign(reinterpret_cast<const T*>(p), count)) return false;
        p += bytes;
        left -= uint32_t(bytes);
        return true;
    }
    // A range and its values, one per point: required for the Z block.
    bool Range(double& low, double& high, QV_List<double>& values, int32_t count) {
        return Double(low) && Double(high) && Array(values, count);
    }
    // The measure block is optional: read only when the record holds all of it.
    bool OptionalRange(double& low, double& high, QV_List<double>& values, int32_t count) {
        if (!Has(16 + uint64_t(count) * 8)) return true;
        return Range(low, high, values, count);
    }
};

static_assert(sizeof(GISPoint) == 16, "points are copied as the file stores them");

// Part starts must rise from 0 and stay below the point count, or the parts cannot be cut out.
bool PartsFit(const QV_List<int>& starts, int32_t pointCount) {
    int previous = 0;
    for (int32_t i = 0; i < starts.GetCount(); ++i) {
        const int s = starts[i];
        if (s < previous || s > pointCount || (i == 0 && s != 0)) return false;
        previous = s;
    }
    return true;
}

bool ReadPolyHead(Cursor& c, GISPoly& s) {
    if (!c.Box(s.box) || !c.Int(s.partCount) || !c.Int(s.pointCount)) return false;
    if (s.partCount < 0 || s.pointCount < 0) return false;
    if (!c.Has(uint64_t(s.partCount) * 4 + uint64_t(s.pointCount) * 16)) return false;
    return c.Array(s.partStarts, s.partCount) && PartsFit(s.partStarts, s.pointCount);
}

bool ReadPoly(Cursor& c, GISPoly& s) { return ReadPolyHead(c, s) && c.Array(s.points, s.pointCount); }

bool ReadMultiPoint(Cursor& c, GISMultiPoint& s) {
    return c.Box(s.box) && c.Int(s.pointCount) && s.pointCount >= 0 && c.Array(s.points, s.pointCount);
}

using RecordResult = ShapeRecordResult;

// A value as a record may hold it: a number within the survey's bounds (heights within theirs).
RecordResult Judge(double v, bool height) {
    if (!std::isfinite(v)) return RecordResult::NonFinite;
    return (height ? SurveyHeight(v) : SurveyPlanValue(v)) ? RecordResult::Kept : RecordResult::OutOfRange;
}
// The first of two that is not kept; a value that is no number before one out of bounds.
RecordResult Worse(RecordResult a, RecordResult b) {
    if (a == RecordResult::NonFinite || b == RecordResult::NonFinite) return RecordResult::NonFinite;
    return a != RecordResult::Kept ? a : b;
}
RecordResult JudgePlan(double x, double y) { return Worse(Judge(x, false), Judge(y, false)); }
RecordResult JudgePoints(const QV_List<GISPoint>& points) {
    RecordResult r = RecordResult::Kept;
    for (const GISPoint& p : points) r = Worse(r, JudgePlan(p.x, p.y));
    return r;
}
RecordResult JudgeHeights(const QV_List<double>& values) {
    RecordResult r = RecordResult::Kept;
    for (double v : values) r = Worse(r, Judge(v, true));
    return r;
}

// One record's content into the next free entry of its type's list, which the counting pass sized; a record that
// fails, or holds a coordinate that is no number, leaves that entry empty for the next one. Measures are not
// coordinates: their "no data" may be anything.
template <typename T, typename Fill, typename Check>
RecordResult Take(QV_List<T>& list, int32_t& filled, QV_List<int32_t>& numbers, int32_t number, Fill fill,
                  Check judge) {
    if (filled >= list.GetCount() && (!list.SetSize(filled + 1) || !numbers.SetSize(filled + 1)))
        return RecordResult::Damaged;
    const RecordResult result = !fill(list[filled]) ? RecordResult::Damaged : judge(list[filled]);
    if (result != RecordResult::Kept) {
        list[filled] = T();
        return result;
    }
    numbers[filled] = number;
    ++filled;
    return result;
}

}  // namespace

int32_t ShapeTypeSlot(int32_t shapeType) {
    for (int32_t i = 0; i < 13; ++i)
        if (ShapeTypes[i] == shapeType) return i;
    return -1;
}

void ClearGISPolyList(QV_List<GISPoly>& list) { list.Clear(); }
void ClearGISPolyMList(QV_List<GISPolyM>& list) { list.Clear(); }
void ClearGISPolyZList(QV_List<GISPolyZ>& list) { list.Clear(); }

// A window of the file in memory, refilled from the wanted position when a range is not in it.
class SHPFileData::Block {
public:
    explicit Block(SHPFileData& owner) : data_(owner) {}
    // The `count` bytes at `position`, or null when the file does not hold them.
    const uint8_t* Fetch(uint32_t position, uint32_t count) {
        if (uint64_t(position) + count > data_.fileSize) return nullptr;
        if (position >= start_ && uint64_t(position) + count <= uint64_t(start_) + filled_)
            return bytes_.get() + (position - start_);
        const uint32_t want = std::max(count, std::min(BlockSize, data_.fileSize - position));
        if (capacity_ < want) {
            // Uninitialised: every byte used is read from the file first.
            bytes_.reset(new (std::nothrow) uint8_t[want]);
            capacity_ = bytes_ ? want : 0;
            if (!bytes_) return nullptr;
        }
        filled_ = 0;
        start_ = position;
        if (data_.file.SetReaderFilePosition(position) != 0) return nullptr;
        if (data_.file.ReadReaderFileBytes(bytes_.get(), want, data_.bytesRead) != 0) return nullptr;
        filled_ = data_.bytesRead;
        return filled_ >= count ? bytes_.get() : nullptr;
    }

private:
    SHPFileData& data_;
    std::unique_ptr<uint8_t[]> bytes_;
    uint32_t capacity_ = 0;
    uint32_t start_ = 0;
    uint32_t filled_ = 0;
};

SHPFileData::SHPFileData() : progress(&NullReaderProgress()) { Reset(); }

void SHPFileData::SetProgress(ReaderProgress* newProgress) {
    progress = newProgress != nullptr ? newProgress : &NullReaderProgress();
}

void SHPFileData::Reset() {
    fileSize = readPosition = bytesRead = recordCount = 0;
    nullRecords = skippedRecords = damagedRecords = 0;
    std::memset(header, 0, sizeof header);
    recordHeader = SHPRecordHeader();
    points.Clear();
    ClearGISPolyList(polyLines);
    ClearGISPolyList(polygons);
    multiPoints.Clear();
    pointsZ.Clear();
    ClearGISPolyZList(polyLinesZ);
    ClearGISPolyZList(polygonsZ);
    multiPointsZ.Clear();
    pointsM.Clear();
    ClearGISPolyMList(polyLinesM);
    ClearGISPolyMList(polygonsM);
    multiPointsM.Clear();
    multiPatches.Clear();
    for (QV_List<int32_t>& numbers : recordNumbers) numbers.Clear();
}

const QV_List<int32_t>& SHPFileData::RecordNumbers(int32_t shapeType) const {
    static const QV_List<int32_t> none;
    const int32_t slot = ShapeTypeSlot(shapeType);
    return slot < 0 ? none : recordNumbers[slot];
}

int32_t SHPFileData::FileCode() const {
    int32_t v;
    std::memcpy(&v, header, 4);
    return v;
}

int32_t SHPFileData::ShapeType() const { return LoadLE32(header + 32); }

template <typename Visit>
void SHPFileData::ForEachList(Visit visit) {
    visit(0, points);
    visit(1, polyLines);
    visit(2, polygons);
    visit(3, multiPoints);
    visit(4, pointsZ);
    visit(5, polyLinesZ);
    visit(6, polygonsZ);
    visit(7, multiPointsZ);
    visit(8, pointsM);
    visit(9, polyLinesM);
    visit(10, polygonsM);
    visit(11, multiPointsM);
    visit(12, multiPatches);
}

bool SHPFileData::Read() {
    // What the lists held before, to go back to on failure.
    int32_t before[13];
    ForEachList([&](int32_t slot, auto& list) { before[slot] = filled_[slot] = list.GetCount(); });
    recordCount = nullRecords = skippedRecords = damagedRecords = 0;
    report = ReadReport();
    cancelled = false;
    file.path = path;
    const bool ok = ReadRecords();
    file.CloseReaderFile();
    ForEachList([&](int32_t slot, auto& list) {
        const int32_t keep = ok ? filled_[slot] : before[slot];
        list.SetSize(keep);
        recordNumbers[slot].SetSize(keep);
    });
    if (ok) return true;
    const bool tooShort = report.Count(ReadIssue::ShorterThanShapefile) != 0;
    report = ReadReport();
    // The user's stop needs no message.
    if (cancelled) return false;
    report.error = ErrReadingFile;
    NoteOpenFailure(file, report);
    if (tooShort) report.Note(ReadIssue::ShorterThanShapefile);
    return false;
}

bool SHPFileData::ReadRecords() {
    if (file.OpenReaderFile() != 0 || file.GetReaderFileLength() != 0) return false;
    fileSize = file.fileLength;
    // Shorter than the header every shapefile begins with: no shapefile.
    if (fileSize < ShapeHeaderSize) {
        report.Note(ReadIssue::ShorterThanShapefile);
        return false;
    }
    Block block(*this);
    const uint8_t* head = block.Fetch(0, ShapeHeaderSize);
    if (head == nullptr) return false;
    std::memcpy(header, head, ShapeHeaderSize);
    for (int i = 0; i < 7; ++i) StoreHost32(header + 4 * i, LoadBE32(head + 4 * i));
    // The file code, version and length of the header are kept, not trusted: the records say what the file holds,
    // and a file that is no shapefile is read as far as its bytes allow.
    int32_t words;
    std::memcpy(&words, header + 24, 4);
    // A file shorter than its header says was cut, even at a record's end: what it holds is read all the same.
    bool endedEarly = words >= 50 && 2 * uint64_t(uint32_t(words)) > fileSize;

    QV_String title("Lodravix"), reading;
    GetResString(reading, GeneralTableBase + LanguageIndex, ReadingText);
    progress->Begin(title, 1);
    // One pass over the file: the progress counts its kilobytes, as the records are known only at the end.
    progress->Phase(reading, fileSize / 1024 + 1);
    for (readPosition = ShapeHeaderSize; readPosition < fileSize && !cancelled;) {
        cancelled = progress->Step(readPosition / 1024 + 1);
        // The header is taken before the content is fetched, which may move the window.
        const uint8_t* h = block.Fetch(readPosition, 8);
        if (h == nullptr) {
            endedEarly = true;
            break;
        }
        const int32_t number = LoadBE32(h);
        const int32_t words = LoadBE32(h + 4);
        // A record holds at least its shape type; the length is in 16-bit words. A length that is no record's
        // (too short, or past the end of the file) is passed over to the next sound record header: that record
        // alone is lost. Without one after it, a length past the end means the file was cut.
        const bool sound = words >= 2 && uint64_t(readPosition) + 8 + 2 * uint64_t(words) <= fileSize;
        const uint8_t* content = sound ? block.Fetch(readPosition + 8, 2 * uint32_t(words)) : nullptr;
        if (content == nullptr) {
            uint32_t next = 0;
            // Only a file that says it is a shapefile is searched for its next record.
            if (FileCode() != ShapeFileCode || !FindNextRecord(block, readPosition + 2, next)) {
                if (words < 2) {
                    ++damagedRecords;
                    report.Note(ReadIssue::DamagedRecord);
                } else {
                    endedEarly = true;
                }
                break;
            }
            ++damagedRecords;
            ++recordCount;  // its row in the table stays its own
            report.Note(ReadIssue::DamagedRecord);
            readPosition = next;
            continue;
        }
        recordHeader.number = number;
        recordHeader.contentLength = words;
        ++recordCount;
        // Paired with the table by position: the record number field itself may be anything.
        switch (ReadRecord(content, 2 * uint32_t(words), int32_t(recordCount))) {
            case ShapeRecordResult::Kept: break;
            case ShapeRecordResult::Damaged:
                ++damagedRecords;
                report.Note(ReadIssue::DamagedRecord);
                break;
            case ShapeRecordResult::NonFinite: report.Note(ReadIssue::NonFiniteCoordinate); break;
            case ShapeRecordResult::OutOfRange: report.Note(ReadIssue::OutOfRange); break;
        }
        readPosition += 8 + 2 * uint32_t(words);
    }
    progress->End();
    if (endedEarly) report.Note(ReadIssue::EndedEarly);
    return !cancelled;
}

bool SHPFileData::PlausibleRecord(Block& block, uint32_t at, uint32_t& end) {
    const uint8_t* h = block.Fetch(at, 12);
    if (h == nullptr) return false;
    const int32_t words = LoadBE32(h + 4);
    const int32_t type = LoadLE32(h + 8);
    if (words < 2 || uint64_t(at) + 8 + 2 * uint64_t(words) > fileSize) return false;
    if (type != 0 && type != ShapeType()) return false;
    end = at + 8 + 2 * uint32_t(words);
    return true;
}

bool SHPFileData::FindNextRecord(Block& block, uint32_t from, uint32_t& next) {
    // Records start at even offsets. A place is taken when a sound header stands there and its record ends at the
    // end of the file or where another sound header stands: garbage rarely passes both.
    for (uint32_t at = from + (from % 2); uint64_t(at) + 12 <= fileSize; at += 2) {
        uint32_t end = 0, after = 0;
        if (!PlausibleRecord(block, at, end)) continue;
        if (end == fileSize || PlausibleRecord(block, end, after)) {
            next = at;
            return true;
        }
    }
    return false;
}

ShapeRecordResult SHPFileData::ReadRecord(const uint8_t* content, uint32_t size, int32_t number) {
    Cursor c{content, size};
    int32_t type = 0;
    c.Int(type);
    const int32_t slot = ShapeTypeSlot(type);
    if (slot < 0) {
        // Null and unknown types: nothing to keep; the next record is found by the length anyway.
        if (type == 0)
            ++nullRecords;
        else
            ++skippedRecords;
        return RecordResult::Kept;
    }
    QV_List<int32_t>& numbers = recordNumbers[slot];
    int32_t& filled = filled_[slot];
    auto poly = [](const GISPoly& s) { return JudgePoints(s.points); };
    auto polyZ = [](const GISPolyZ& s) { return Worse(JudgePoints(s.points), JudgeHeights(s.z)); };
    auto multi = [](const GISMultiPoint& s) { return JudgePoints(s.points); };
    switch (type) {
        case 1:
            return Take(
                points, filled, numbers, number, [&](GISPoint& s) { return c.Double(s.x) && c.Double(s.y); },
                [](const GISPoint& s) { return JudgePlan(s.x, s.y); });
        case 3:
            return Take(
                polyLines, filled, numbers, number, [&](GISPoly& s) { return ReadPoly(c, s); }, poly);
        case 5:
            return Take(
                polygons, filled, numbers, number, [&](GISPoly& s) { return ReadPoly(c, s); }, poly);
        case 8:
            return Take(
                multiPoints, filled, numbers, number, [&](GISMultiPoint& s) { return ReadMultiPoint(c, s); }, multi);
        case 11:
            return Take(
                pointsZ, filled, numbers, number,
                [&](GISPointZ& s) {
                    s.m = 0.0;
                    return c.Double(s.x) && c.Double(s.y) && c.Double(s.z) && (c.left < 8 || c.Double(s.m));
                },
                [](const GISPointZ& s) { return Worse(JudgePlan(s.x, s.y), Judge(s.z, true)); });
        case 13:
        case 15:
            return Take(
                type == 13 ? polyLinesZ : polygonsZ, filled, numbers, number,
                [&](GISPolyZ& s) {
                    return ReadPoly(c, s) && c.Range(s.zMin, s.zMax, s.z, s.pointCount) &&
                        c.OptionalRange(s.mMin, s.mMax, s.m, s.pointCount);
                },
                polyZ);
        case 18:
            return Take(
                multiPointsZ, filled, numbers, number,
                [&](GISMultiPointZ& s) {
                    return ReadMultiPoint(c, s) && c.Range(s.zMin, s.zMax, s.z, s.pointCount) &&
                        c.OptionalRange(s.mMin, s.mMax, s.m, s.pointCount);
                },
                [](const GISMultiPointZ& s) { return Worse(JudgePoints(s.points), JudgeHeights(s.z)); });
        case 21:
            return Take(
                pointsM, filled, numbers, number,
                [&](GISPointM& s) { return c.Double(s.x) && c.Double(s.y) && c.Double(s.m); },
                [](const GISPointM& s) { return JudgePlan(s.x, s.y); });
        case 23:
        case 25:
            return Take(
                type == 23 ? polyLinesM : polygonsM, filled, numbers, number,
                [&](GISPolyM& s) { return ReadPoly(c, s) && c.OptionalRange(s.mMin, s.mMax, s.m, s.pointCount); },
                poly);
        case 28:
            return Take(
                multiPointsM, filled, numbers, number,
                [&](GISMultiPointM& s) {
                    return ReadMultiPoint(c, s) && c.OptionalRange(s.mMin, s.mMax, s.m, s.pointCount);
                },
                multi);
        case 31:
            return Take(
                multiPatches, filled, numbers, number,
                [&](GISMultiPatch& s) {
                    return ReadPolyHead(c, s) && c.Array(s.partTypes, s.partCount) && c.Array(s.points, s.pointCount) &&
                        c.Range(s.zMin, s.zMax, s.z, s.pointCount) &&
                        c.OptionalRange(s.mMin, s.mMax, s.m, s.pointCount);
                },
                [](const GISMultiPatch& s) { return Worse(JudgePoints(s.points), JudgeHeights(s.z)); });
        default: return RecordResult::Kept;
    }
}
