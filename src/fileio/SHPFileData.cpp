#include "fileio/SHPFileData.hpp"

#include "foundation/Language.hpp"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int32_t ReadErrorMessage = 8;
constexpr int32_t ReadingText = 166;
constexpr uint32_t BlockSize = 1u << 20;
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
        if (count < 0 || !Has(bytes) || !list.SetSize(count)) return false;
        if (count > 0) std::memcpy(static_cast<void*>(list.begin()), p, size_t(bytes));
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

// One record's content into the list of its type; false leaves the lists as they were.
template <typename T, typename Fill>
bool Take(QV_List<T>& list, QV_List<int32_t>& numbers, int32_t number, Fill fill) {
    if (!list.Insert(T())) return false;
    if (!fill(list[list.GetCount() - 1])) {
        list.Remove(list.GetCount() - 1);
        return false;
    }
    numbers.Insert(number);
    return true;
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
            return bytes_.data() + (position - start_);
        const uint32_t want = std::max(count, std::min(BlockSize, data_.fileSize - position));
        if (bytes_.size() < want) bytes_.resize(want);
        filled_ = 0;
        start_ = position;
        if (data_.file.SetReaderFilePosition(position) != 0) return nullptr;
        if (data_.file.ReadReaderFileBytes(bytes_.data(), want, data_.bytesRead) != 0) return nullptr;
        filled_ = data_.bytesRead;
        return filled_ >= count ? bytes_.data() : nullptr;
    }

private:
    SHPFileData& data_;
    std::vector<uint8_t> bytes_;
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

bool SHPFileData::Read() {
    // What the lists held before, to go back to on failure.
    const int32_t before[13] = {points.GetCount(),      polyLines.GetCount(),    polygons.GetCount(),
                                multiPoints.GetCount(), pointsZ.GetCount(),      polyLinesZ.GetCount(),
                                polygonsZ.GetCount(),   multiPointsZ.GetCount(), pointsM.GetCount(),
                                polyLinesM.GetCount(),  polygonsM.GetCount(),    multiPointsM.GetCount(),
                                multiPatches.GetCount()};
    recordCount = nullRecords = skippedRecords = damagedRecords = 0;
    file.path = path;
    const bool ok = ReadRecords();
    file.CloseReaderFile();
    if (ok) return true;
    points.SetSize(before[0]);
    polyLines.SetSize(before[1]);
    polygons.SetSize(before[2]);
    multiPoints.SetSize(before[3]);
    pointsZ.SetSize(before[4]);
    polyLinesZ.SetSize(before[5]);
    polygonsZ.SetSize(before[6]);
    multiPointsZ.SetSize(before[7]);
    pointsM.SetSize(before[8]);
    polyLinesM.SetSize(before[9]);
    polygonsM.SetSize(before[10]);
    multiPointsM.SetSize(before[11]);
    multiPatches.SetSize(before[12]);
    for (int32_t i = 0; i < 13; ++i) recordNumbers[i].SetSize(before[i]);
    ShowErrorMessage(ReadErrorMessage, 2);
    return false;
}

bool SHPFileData::ReadRecords() {
    if (file.OpenReaderFile() != 0 || file.GetReaderFileLength() != 0) return false;
    fileSize = file.fileLength;
    Block block(*this);
    const uint8_t* head = block.Fetch(0, ShapeHeaderSize);
    if (head == nullptr) return false;
    std::memcpy(header, head, ShapeHeaderSize);
    for (int i = 0; i < 7; ++i) StoreHost32(header + 4 * i, LoadBE32(head + 4 * i));
    if (FileCode() != ShapeFileCode) return false;
    // A file shorter than its header says was cut, even at a record's end.
    int32_t words;
    std::memcpy(&words, header + 24, 4);
    if (words < 50 || 2 * uint64_t(uint32_t(words)) > fileSize) return false;

    // Counting pass: every record must lie inside the file, or the file is cut or garbled.
    for (uint32_t position = ShapeHeaderSize; position < fileSize;) {
        const uint8_t* h = block.Fetch(position, 8);
        if (h == nullptr) return false;
        const int32_t words = LoadBE32(h + 4);
        // A record holds at least its shape type; the length is in 16-bit words.
        if (words < 2 || uint64_t(position) + 8 + 2 * uint64_t(words) > fileSize) return false;
        position += 8 + 2 * uint32_t(words);
        ++recordCount;
    }

    QV_String title("Lodravix"), reading;
    GetResString(reading, GeneralTableBase + LanguageIndex, ReadingText);
    progress->Begin(title, 1);
    progress->Phase(reading, recordCount);
    bool stopped = false;
    readPosition = ShapeHeaderSize;
    for (uint32_t n = 1; n <= recordCount && !stopped; ++n) {
        if (progress->Step(n)) stopped = true;
        const uint8_t* h = block.Fetch(readPosition, 8);
        recordHeader.number = LoadBE32(h);
        recordHeader.contentLength = LoadBE32(h + 4);
        const uint32_t size = 2 * uint32_t(recordHeader.contentLength);
        const uint8_t* content = block.Fetch(readPosition + 8, size);
        if (content == nullptr) {
            stopped = true;
            ++damagedRecords;
            break;
        }
        // Paired with the table by position: the record number field itself may be anything.
        if (!ReadRecord(content, size, int32_t(n))) ++damagedRecords;
        readPosition += 8 + size;
    }
    progress->End();
    return !stopped && damagedRecords == 0;
}

bool SHPFileData::ReadRecord(const uint8_t* content, uint32_t size, int32_t number) {
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
        return true;
    }
    QV_List<int32_t>& numbers = recordNumbers[slot];
    switch (type) {
        case 1: return Take(points, numbers, number, [&](GISPoint& s) { return c.Double(s.x) && c.Double(s.y); });
        case 3: return Take(polyLines, numbers, number, [&](GISPoly& s) { return ReadPoly(c, s); });
        case 5: return Take(polygons, numbers, number, [&](GISPoly& s) { return ReadPoly(c, s); });
        case 8: return Take(multiPoints, numbers, number, [&](GISMultiPoint& s) { return ReadMultiPoint(c, s); });
        case 11:
            return Take(pointsZ, numbers, number, [&](GISPointZ& s) {
                s.m = 0.0;
                return c.Double(s.x) && c.Double(s.y) && c.Double(s.z) && (c.left < 8 || c.Double(s.m));
            });
        case 13:
        case 15:
            return Take(type == 13 ? polyLinesZ : polygonsZ, numbers, number, [&](GISPolyZ& s) {
                return ReadPoly(c, s) && c.Range(s.zMin, s.zMax, s.z, s.pointCount) &&
                    c.OptionalRange(s.mMin, s.mMax, s.m, s.pointCount);
            });
        case 18:
            return Take(multiPointsZ, numbers, number, [&](GISMultiPointZ& s) {
                return ReadMultiPoint(c, s) && c.Range(s.zMin, s.zMax, s.z, s.pointCount) &&
                    c.OptionalRange(s.mMin, s.mMax, s.m, s.pointCount);
            });
        case 21:
            return Take(pointsM, numbers, number,
                        [&](GISPointM& s) { return c.Double(s.x) && c.Double(s.y) && c.Double(s.m); });
        case 23:
        case 25:
            return Take(type == 23 ? polyLinesM : polygonsM, numbers, number, [&](GISPolyM& s) {
                return ReadPoly(c, s) && c.OptionalRange(s.mMin, s.mMax, s.m, s.pointCount);
            });
        case 28:
            return Take(multiPointsM, numbers, number, [&](GISMultiPointM& s) {
                return ReadMultiPoint(c, s) && c.OptionalRange(s.mMin, s.mMax, s.m, s.pointCount);
            });
        case 31:
            return Take(multiPatches, numbers, number, [&](GISMultiPatch& s) {
                return ReadPolyHead(c, s) && c.Array(s.partTypes, s.partCount) && c.Array(s.points, s.pointCount) &&
                    c.Range(s.zMin, s.zMax, s.z, s.pointCount) && c.OptionalRange(s.mMin, s.mMax, s.m, s.pointCount);
            });
        default: return true;
    }
}
