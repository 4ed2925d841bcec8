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
    EndedEarly = 0,       // the file ends inside a record: the records before it are kept
    BadNumber,            // a number that cannot be read: the record or entity holding it is skipped
    NonFiniteCoordinate,  // a NaN or infinite coordinate: the record holding it is skipped
    DamagedRecord,        // a record whose own length or type is wrong: skipped
    NoCoordinates,        // the file names objects, but none has a coordinate
    NoUnit,               // the file gives no unit for its coordinates
    TooLarge,             // the file asks for more memory than it could hold data for
    Empty,                // the file holds nothing to read
    NotText,              // the file is not text (binary bytes)
    GridEndedEarly,       // a grid ends before the last cell its header promises: refused
    NotShapefileName,     // the chosen file's name does not end with ".shp": refused
    MixedHeights,         // points at one position with different heights, merged: counted once per position
    SpotHeightOnLine,     // a spot height (DXF POINT) on a line's vertex of another height: the line's kept
    OutOfRange,           // a coordinate or height beyond any survey (SurveyBounds.hpp): the record is skipped
    FileTooLarge,         // the file is larger than the reader can address or hold: refused by its size
    NoGridHeader,         // a grid file without its header lines: refused
    GridHeaderAbsurd,     // a grid header whose cell size or extent no survey holds: refused
    GridRowsDisagree,     // a grid with more rows, or rows of other lengths, than its header gives: refused
    NoTableRow,           // shapes without a row in the attribute table: kept, counted as to be corrected
    BadUnit,              // a unit that is not positive, or absurd: what it measures is not read
    UnbuildableObject,    // an object whose geometry makes no element (an area without three corners): skipped
    NoPointFound,         // a point file none of whose lines gives a point: refused
    SingleLine,           // a point file of one line, whose columns the detection could not see: refused
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

struct ReadReport {
    int16_t error = 0;  // 0: read (perhaps with parts left out); otherwise the error message that ends the import

    // `count` more of `issue`.
    void Note(ReadIssue issue, uint32_t count = 1);
    uint32_t Count(ReadIssue issue) const;
    // The issues of `other` added to these; its error when this has none.
    void Add(const ReadReport& other);
    bool HasIssues() const;
    // One line per issue noted: its text and, above one, how many.
    QV_String Describe() const;

private:
    uint32_t counts[static_cast<int>(ReadIssue::Count)] = {};
};

// The error's message when there is one (with the issues beneath it as the reason), else the issues in one
// alert; nothing when both are empty.
void ShowReadReport(const ReadReport& report);
