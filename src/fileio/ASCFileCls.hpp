#pragma once
// ASCFile::ASCFileCls: the ESRI ASCII grid reader. Every cell with a value becomes a point at the cell's centre
// (x, y, height), where GIS programs put it: the six header values stand in the last field of lines 1 to 6, then
// the rows follow from the north. Of the keywords only those of lines 3 and 4 are read: "xllcenter" and
// "yllcenter" give the south-west cell's centre itself, any other ("xllcorner", "yllcorner") its outer corner,
// half a cell from the centre.
#include "fileio/ColumnFileCls.hpp"

#include <cstddef>
#include <cstdint>

namespace ASCFile {

struct GridHeader {
    int32_t ncols = 0;
    int32_t nrows = 0;
    double xll = 0.0;  // as the header gives it: a corner or, with `xCentre`, the south-west cell's centre
    double yll = 0.0;
    double cellsize = 0.0;
    bool xCentre = false;   // "xllcenter"
    bool yCentre = false;   // "yllcenter"
    double nodata = 0.0;    // a real: GDAL writes -3.4028234663852885981e+38 for 32-bit reals
    bool hasNodata = true;  // false when the header has no no-data line: then every cell is a point

    // The centre of the south-west cell, in file units.
    double CentreX() const { return xCentre ? xll : xll + cellsize / 2.0; }
    double CentreY() const { return yCentre ? yll : yll + cellsize / 2.0; }
};

class ASCFileCls : public ColumnFileCls {
public:
    ASCFileCls();

    // Reads, interprets and filters with the options as they stand.
    bool Read() override;

    GridHeader header;

protected:
    void DetectFormat() override;

private:
    struct ColumnStore;
    struct RowsRead;

    void ExtractRows();
    // The header's lines from `index` on; false when they do not describe a grid. `stopped` on a user break.
    bool ReadHeader(size_t headerLines, size_t& index, bool& stopped);
    void ReserveCells(ColumnStore* store, size_t dataRows);
    // The grid rows from `index` on: into `store` when given, else straight to points. False when memory ran out.
    bool ReadRows(size_t headerLines, size_t index, ColumnStore* store, RowsRead& read);
    // The kept heights as points, column by column; false when memory ran out.
    bool PlaceByColumns(ColumnStore& store, size_t rowsRead, bool& separated);
};

}  // namespace ASCFile

// Delimiter and decimal detection from the first grid row (the seventh line of the file, or the sixth when the
// header has no no-data line); runs only while the first-analysis flag is set, and clears it.
void ParseAscPreview(ASCFile::ASCFileCls& reader);
// The header values from the start of the file, for the options dialog: each line's number from the first
// character where one begins; 0 when a line holds none. A sixth line that begins with a number is the first row,
// not the no-data value: the read position is left at its start.
void ReadAscHeaderValues(ASCFile::ASCFileCls& reader);
