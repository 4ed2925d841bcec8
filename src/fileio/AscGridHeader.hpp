#pragma once
// The header of an ESRI ASCII grid and its cell geometry: the one parser of the six header lines, and the one place
// that turns a cell's row and column into x and y. The reader, the options dialog's previews and the benchmarks all
// go through it.
//
// The six values stand in the last field of lines 1 to 6 (ncols, nrows, xll, yll, cellsize, nodata); the no-data
// line may be left out, and then the sixth line is the first row. Of the keywords only those of lines 3 and 4 are
// read: "xllcenter" and "yllcenter" give the south-west cell's centre itself, any other ("xllcorner", "yllcorner")
// its outer corner, half a cell from the centre.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

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
    // The centre of the cell in `column` (from 0, west) and `row` (from 0, the northernmost), in file units.
    double CellX(size_t column) const { return double(column) * cellsize + CentreX(); }
    double CellY(size_t row) const { return (double(nrows) - double(row + 1)) * cellsize + CentreY(); }
    // The same as GDAL's geotransform: a cell's outer north-west corner is (gt[0] + column gt[1] + row gt[2],
    // gt[3] + column gt[4] + row gt[5]).
    void GeoTransform(double (&gt)[6]) const;
};

enum class HeaderResult {
    Read,     // the header describes a grid no survey would refuse
    Missing,  // the file begins with numbers, or stops within the header: it has none
    Garbled,  // a header value cannot be read
    Absurd,   // a size, cell size or position no survey holds (SurveyBounds.hpp), in metres by `unitFactor`
};

// Parses the header from the file's first lines (`lines`: at least the first six when the file has them), the
// values separated from their keywords by blanks, TABs or `delimiter`. `headerLines` takes the number of header
// lines (5 without the no-data line, else 6).
HeaderResult ParseGridHeader(const std::vector<std::string_view>& lines, char delimiter, double unitFactor,
                             GridHeader& header, size_t& headerLines);

// Whether a line begins with a number (blanks, a sign and a decimal mark before its first digit): a grid row does,
// a header line begins with its keyword.
bool BeginsWithNumber(std::string_view line);

}  // namespace ASCFile
