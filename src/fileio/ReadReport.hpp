#pragma once
// What a survey-file reader found besides its records: the error that ended the read, and what it left out
// and why. A reader fills it and shows nothing; the import command shows it once, with the same texts
// whichever reader found the problem.
#include "foundation/QV_String.hpp"

#include <cstdint>
#include <vector>

// Why a part of a file was left out (or the whole file refused). ReadIssueText gives the entry of the error table
// (32520 + language) that names it.
enum class ReadIssue : uint8_t {
    EndedEarly = 0,        // the file ends inside a record: the records before it are kept
    BadNumber,             // a number that cannot be read: the record or entity holding it is skipped
    NonFiniteCoordinate,   // a NaN or infinite coordinate: the record holding it is skipped
    DamagedRecord,         // a record whose own length or type is wrong: skipped
    NoCoordinates,         // the file names objects, but none has a coordinate
    NoUnit,                // the file gives no unit for its coordinates
    TooLarge,              // the file asks for more memory than it could hold data for
    Empty,                 // the file holds nothing to read
    NotText,               // the file is not text (binary bytes)
    GridEndedEarly,        // a grid ends before the last cell its header promises: refused
    NotShapefileName,      // the chosen file's name does not end with ".shp": refused
    MixedHeights,          // points at one position with different heights, merged: counted once per position
    SpotHeightOnLine,      // a spot height (DXF POINT) on a line's vertex of another height: the line's kept
    OutOfRange,            // a coordinate or height beyond any survey (SurveyBounds.hpp): the record is skipped
    FileTooLarge,          // the file is larger than the reader can address or hold: refused by its size
    NoGridHeader,          // a grid file without its header lines: refused
    GridHeaderAbsurd,      // a grid header whose cell size or extent no survey holds: refused
    GridRowsDisagree,      // a grid with more rows, or rows of other lengths, than its header gives: refused
    NoTableRow,            // shapes without a row in the attribute table: kept, counted as to be corrected
    BadUnit,               // a unit that is not positive, or absurd: what it measures is not read
    UnbuildableObject,     // an object whose geometry makes no element (an area without three corners): skipped
    NoPointFound,          // a point file none of whose lines gives a point: refused
    SingleLine,            // a point file of one line, whose columns the detection could not see: refused
    FileMissing,           // no file under the name (or a link to nothing): refused
    FileIsFolder,          // the name is a folder's: refused
    FileNotRegular,        // the name is a pipe's or a device's, which could keep a read waiting: refused
    FileNoPermission,      // the file may not be read: refused
    FileNameTooLong,       // the path or a name in it is longer than the file system takes: refused
    CodePageUnread,        // a table's ".cpg" there but not readable (a folder, a pipe): values in the system code page
    GridUnknownKeyword,    // a grid header line whose keyword is no header keyword, or one given twice: refused
    GridMissingKeyword,    // a grid header without a value the grid needs (ncols, nrows, a position, the cell size)
    GridHeaderValue,       // a grid header value that is not wholly a number: refused
    DxfStoppedAt,          // a DXF group code that cannot be read: the entities before it kept, the place named
    ShorterThanShapefile,  // a main file shorter than a shapefile's header (100 bytes): refused
    CodePageMismatch,      // table values that are not UTF-8 as the ".cpg" says: read in the system code page
    EmptyParts,            // polygon parts of no area (empty, on one line): left out, their shape kept on the others
    CrossingBreakLines,    // break-line segments that cross earlier ones: left out
    Count
};
// The issues up to UnbuildableObject are entries 80 on; the alert templates follow them, so the later issues are
// entries 140 on.
constexpr int32_t ReadIssueTextBase = 80;
constexpr int32_t LaterReadIssueTextBase = 140;
constexpr int32_t ReadIssueText(ReadIssue issue) {
    return issue <= ReadIssue::UnbuildableObject
        ? ReadIssueTextBase + static_cast<int32_t>(issue)
        : LaterReadIssueTextBase + static_cast<int32_t>(issue) - static_cast<int32_t>(ReadIssue::NoPointFound);
}

// The texts past the later issues (foundation/ErrorCode.hpp) begin at entry 190: the issues must stay below it.
static_assert(ReadIssueText(static_cast<ReadIssue>(static_cast<int>(ReadIssue::Count) - 1)) < 190,
              "the read issues' texts run into the entries after them");

struct ReadReport {
    int16_t error = 0;  // 0: read (perhaps with parts left out); otherwise the error message that ends the import

    // `count` more of `issue`.
    void Note(ReadIssue issue, uint32_t count = 1);
    // One more of `issue`, whose text names `words` where it says "{1}" (the first one noted is kept).
    void Note(ReadIssue issue, const QV_String& words);
    uint32_t Count(ReadIssue issue) const;
    // What the text of `issue` names, when it names anything.
    const QV_String& Words(ReadIssue issue) const { return words[static_cast<int>(issue)]; }
    // The issues of `other` added to these; its error when this has none.
    void Add(const ReadReport& other);
    bool HasIssues() const;
    // Whether a file was refused because it could not be opened at all (missing, a folder, a pipe, no permission, a
    // name too long).
    bool NotOpened() const;
    // One line per issue noted: its text and, above one, how many.
    QV_String Describe() const;

private:
    uint32_t counts[static_cast<int>(ReadIssue::Count)] = {};
    QV_String words[static_cast<int>(ReadIssue::Count)];
};

// The error's message when there is one (with the issues beneath it as the reason), else the issues in one
// alert; nothing when both are empty.
void ShowReadReport(const ReadReport& report);
