#pragma once
// SHPFileData: the main file (".shp") of a shapefile read into one list per shape type, in file order. The
// reader checks the file's structure, not what the shapes mean: each record is read only from its own bytes,
// the optional measure block of the Z types only when the record holds it, and a record whose counts need more
// bytes than it holds, or whose own length is wrong, is dropped and counted; the reading goes on after it. Every record keeps its position in the file (from 1), which is
// its row in the attribute table, Null shapes included.
#include "fileio/BaseFileCls.hpp"
#include "fileio/ReadReport.hpp"
#include "fileio/ReaderProgress.hpp"
#include "fileio/ShapeRecords.hpp"
#include "foundation/QV_String.hpp"

#include <cstdint>
#include <vector>

constexpr int32_t ShapeFileCode = 9994;
constexpr uint32_t ShapeHeaderSize = 100;

// What became of one record: kept, dropped for its structure, for a coordinate that is no number, or for a
// coordinate or height beyond any survey (SurveyBounds.hpp).
enum class ShapeRecordResult { Kept, Damaged, NonFinite, OutOfRange };

struct SHPRecordHeader {
    int32_t number = 0;
    int32_t contentLength = 0;  // in 16-bit words
};

class SHPFileData {
public:
    SHPFileData();
    SHPFileData(const SHPFileData&) = delete;
    SHPFileData& operator=(const SHPFileData&) = delete;

    // Reads the whole file at `path` and appends its shapes to the lists. False with error 8 ("Error while reading
    // the file.") in `report` when the file cannot be opened or sized, or its header is short or not a shapefile's;
    // also false, with `cancelled` and no error, when the user stops it. The lists then keep what they held before.
    // Otherwise true: a file cut inside a record keeps the records before the cut, a damaged record or one with a
    // coordinate that is no number is dropped alone; `report` says so. The import command shows it.
    bool Read();
    // Empties every list and the counters; the path and the progress stay.
    void Reset();

    // The record numbers (positions in the file, from 1) of the shapes of `shapeType`, one per list entry; an
    // empty list for a type that is not read.
    const QV_List<int32_t>& RecordNumbers(int32_t shapeType) const;
    // Null gives back the silent progress.
    void SetProgress(ReaderProgress* newProgress);

    QV_String path;                   // set by the caller
    BaseFileCls file;                 // open only while Read runs
    uint32_t fileSize;                // bytes
    uint32_t readPosition;            // start of the record to read next
    uint8_t header[ShapeHeaderSize];  // the first seven integers in host order
    uint32_t bytesRead;               // of the last read from the file
    uint32_t recordCount;             // records in the file, Null shapes included
    SHPRecordHeader recordHeader;
    uint32_t nullRecords;     // Null shapes
    uint32_t skippedRecords;  // records of a type the format does not define, skipped whole
    uint32_t damagedRecords;  // records whose counts need more than they hold, dropped
    ReadReport report;        // what the last read left out and why
    bool cancelled = false;   // the user stopped the read

    QV_List<GISPoint> points;              // 1
    QV_List<GISPoly> polyLines;            // 3
    QV_List<GISPoly> polygons;             // 5
    QV_List<GISMultiPoint> multiPoints;    // 8
    QV_List<GISPointZ> pointsZ;            // 11
    QV_List<GISPolyZ> polyLinesZ;          // 13
    QV_List<GISPolyZ> polygonsZ;           // 15
    QV_List<GISMultiPointZ> multiPointsZ;  // 18
    QV_List<GISPointM> pointsM;            // 21
    QV_List<GISPolyM> polyLinesM;          // 23
    QV_List<GISPolyM> polygonsM;           // 25
    QV_List<GISMultiPointM> multiPointsM;  // 28
    QV_List<GISMultiPatch> multiPatches;   // 31

    ReaderProgress* progress;  // never null

    // The header's file code, version, shape type and box.
    int32_t FileCode() const;
    int32_t ShapeType() const;

private:
    class Block;
    bool ReadRecords();
    // Whether a sound record header stands at `at` (a length within the file, the file's shape type or Null);
    // `end` takes where its record ends.
    bool PlausibleRecord(Block& block, uint32_t at, uint32_t& end);
    // The next place from `from` on where a record can be read again after a damaged one; false when none.
    bool FindNextRecord(Block& block, uint32_t from, uint32_t& next);
    ShapeRecordResult ReadRecord(const uint8_t* content, uint32_t size, int32_t number);

    template <typename Visit>
    void ForEachList(Visit visit);

    QV_List<int32_t> recordNumbers[13];
    int32_t filled_[13] = {};  // entries of each list read so far
};

// Index of a shape type among the thirteen lists, or -1 (Null and unknown types).
int32_t ShapeTypeSlot(int32_t shapeType);
