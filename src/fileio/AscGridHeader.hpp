#pragma once
// The header of an ESRI ASCII grid and its cell geometry: the one parser of the six header lines, and the one place
// that turns a cell's row and column into x and y. The reader, the options dialog's previews and the benchmarks all
// go through it.
//
// The header is the lines before the first that begins with a number, each a keyword and its value, in any order
// and any case: "ncols", "nrows", "xllcorner" or "xllcenter", "yllcorner" or "yllcenter", "cellsize" (or "dx" and
// "dy" for cells of two sizes) and the optional "nodata_value". "xllcenter" and "yllcenter" give the south-west
// cell's centre itself, the corners its outer corner, half a cell from the centre.
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
    double cellsize = 0.0;    // the cells' width ("cellsize" or "dx")
    double cellHeight = 0.0;  // their height: "dy", else the width
    bool xCentre = false;     // "xllcenter"
    bool yCentre = false;     // "yllcenter"
    double nodata = 0.0;      // a real: GDAL writes -3.4028234663852885981e+38 for 32-bit reals
    bool hasNodata = true;    // false when the header has no no-data line: then every cell is a point

    // The centre of the south-west cell, in file units.
    double CentreX() const { return xCentre ? xll : xll + cellsize / 2.0; }
    double CentreY() const { return yCentre ? yll : yll + cellHeight / 2.0; }
    // The centre of the cell in `column` (from 0, west) and `row` (from 0, the northernmost), in file units.
    double CellX(size_t column) const { return double(column) * cellsize + CentreX(); }
    double CellY(size_t row) const { return (double(nrows) - double(row + 1)) * cellHeight + CentreY(); }
    // The same as GDAL's geotransform: a cell's outer north-west corner is (gt[0] + column gt[1] + row gt[2],
    // gt[3] + column gt[4] + row gt[5]).
    void GeoTransform(double (&gt)[6]) const;
};

enum class HeaderResult {
    Read,            // the header describes a grid no survey would refuse
    Missing,         // the file begins with numbers: it has no header
    Garbled,         // a header value is not wholly a number
    Absurd,          // a size, cell size or position no survey holds (SurveyBounds.hpp), in metres by `unitFactor`
    UnknownKeyword,  // a header line whose keyword is none of the header's (or one given twice): `keyword` names it
    MissingKeyword,  // a value the grid needs is not given: `keyword` names it
};

// The most header lines a grid has: ncols, nrows, two positions, dx and dy, nodata_value.
constexpr size_t MaxGridHeaderLines = 7;

// Parses the header from the file's first lines (`lines`: at least the first MaxGridHeaderLines + 1 when the file
// has them), the values separated from their keywords by blanks, TABs or `delimiter`. `headerLines` takes the
// number of header lines; `keyword` the keyword an UnknownKeyword or MissingKeyword answer names.
HeaderResult ParseGridHeader(const std::vector<std::string_view>& lines, char delimiter, double unitFactor,
                             GridHeader& header, size_t& headerLines, std::string* keyword = nullptr);

// Whether a line begins with a number (blanks, a sign and a decimal mark before its first digit): a grid row does,
// a header line begins with its keyword.
bool BeginsWithNumber(std::string_view line);

}  // namespace ASCFile
