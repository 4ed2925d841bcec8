#pragma once
// The object records, the second step of a SOSI import: the record lines of one object of a scanned file
// (type, texts, references, radius, height, unit and coordinates) read into its points and a scratch the
// assembly takes them from. It reads the file's lines only; the file and its objects stay as the scan left them.
#include "fileio/ReadReport.hpp"
#include "sosi/SOSIRecords.hpp"

#include "APICoord.hpp"

#include <cstdint>
#include <vector>

class SOSITokens;

// What the record lines of the objects read gave.
struct SOSIObjectScratch {
    double height = 0.0;  // of the last height line: the z of points read from 2D coordinate lines
    QV_List<QV_String> texts;
    QV_List<SOSIRefs> refs;
    double radius = 0.0;  // not a number when the object's radius was refused
    // The reference groups written without brackets: a surface's outer boundary, whose curves it takes in.
    std::vector<SOSIRefs> boundaries;
};

class SOSIObjectRecords {
public:
    // Reads the record lines of `object` of `file` into `points` (emptied first) and the scratch. Texts and
    // references add to the scratch's; the height stays from the objects read before until a height line
    // comes. `skipLowHeights`: points at height 0 or below are left out. A coordinate or height no survey holds
    // (sosi/SOSIValueBounds) is left out and noted in `issues`; false, with no points, for an object whose own
    // unit is not positive, or absurd (noted too).
    bool Read(const SOSIFileData& file, const SOSIPrim& object, bool skipLowHeights, QV_List<API_Coord3D>& points);
    // The scratch emptied, the height 0.
    void Reset();

    SOSIObjectScratch scratch;
    ReadReport issues;  // what the reads left out, added up until emptied

private:
    // The complete numeric tuples of `t` from token `first` on into `points`; a partial or non-numeric tuple ends
    // the line (a "...KP" or comment follows the coordinates). The tuples accepted.
    int32_t ReadTuples(const SOSIFileData& file, const SOSITokens& t, int32_t first, int32_t layout, double unit,
                       bool skipLow, QV_List<API_Coord3D>& points);
    // ---- tests on the line under the cursor; each moves past the lines it took ----
    bool ParseObjTypeLine(const SOSIFileData& file);
    bool ParseTextLine(const SOSIFileData& file);
    bool ParseRefBlock(const SOSIFileData& file);
    bool ParseRadiusLine(const SOSIFileData& file);
    bool ParseHeightLine(const SOSIFileData& file);
    // The object's own unit, when its line is under the cursor.
    bool ParseUnitLine(const SOSIFileData& file, double& unit);
    // The coordinate layout a keyword line under the cursor sets, or 0.
    int32_t ParseCoordinateKeyword(const SOSIFileData& file);

    int32_t at = 0;        // the line under the cursor
    int32_t lastLine = 0;  // the last line of the object being read
};
