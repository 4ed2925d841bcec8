#include "fileio/AscGridHeader.hpp"

#include "fileio/FieldNumber.hpp"
#include "fileio/SurveyBounds.hpp"

#include <cctype>
#include <cmath>
#include <string>

namespace {

bool IsBreak(char c, char delimiter) { return c == ' ' || c == '\t' || (delimiter != 0 && c == delimiter); }

// A header line's value: its last token, whatever separates it from the keyword (blanks, TABs or the rows'
// delimiter), so a header written with blanks above rows cut at ';' still reads.
std::string_view LastToken(std::string_view line, char delimiter) {
    size_t end = line.size();
    while (end > 0 && IsBreak(line[end - 1], delimiter)) --end;
    size_t begin = end;
    while (begin > 0 && !IsBreak(line[begin - 1], delimiter)) --begin;
    return line.substr(begin, end - begin);
}

// A header line's keyword: its first token.
std::string_view FirstToken(std::string_view line, char delimiter) {
    size_t begin = 0;
    while (begin < line.size() && IsBreak(line[begin], delimiter)) ++begin;
    size_t end = begin;
    while (end < line.size() && !IsBreak(line[end], delimiter)) ++end;
    return line.substr(begin, end - begin);
}

// "xllcenter" or "yllcenter" (either spelling of centre, any case): the header gives the south-west cell's centre.
bool NamesCentre(std::string_view keyword, char axis) {
    if (keyword.size() != 9) return false;
    std::string k(keyword);
    for (char& c : k) c = char(std::tolower(static_cast<unsigned char>(c)));
    return k[0] == axis && (k.compare(1, 8, "llcenter") == 0 || k.compare(1, 8, "llcentre") == 0);
}

// Sizes that are not positive, a cell wider than any survey's, or a grid reaching beyond any projected coordinate.
bool SurveyGrid(const ASCFile::GridHeader& h, double f) {
    if (h.ncols <= 0 || h.nrows <= 0 || !(h.cellsize > 0.0) || !(h.cellsize * f <= MaxSurveyCellSize)) return false;
    const double east = (h.xll + double(h.ncols) * h.cellsize) * f;
    const double north = (h.yll + double(h.nrows) * h.cellsize) * f;
    return SurveyPlanValue(h.xll * f) && SurveyPlanValue(h.yll * f) && SurveyPlanValue(east) && SurveyPlanValue(north);
}

}  // namespace

namespace ASCFile {

void GridHeader::GeoTransform(double (&gt)[6]) const {
    gt[0] = CentreX() - cellsize / 2.0;
    gt[1] = cellsize;
    gt[2] = 0.0;
    gt[3] = CentreY() - cellsize / 2.0 + double(nrows) * cellsize;
    gt[4] = 0.0;
    gt[5] = -cellsize;
}

bool BeginsWithNumber(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) ++i;
    if (i < line.size() && (line[i] == '.' || line[i] == ',')) ++i;
    return i < line.size() && line[i] >= '0' && line[i] <= '9';
}

HeaderResult ParseGridHeader(const std::vector<std::string_view>& lines, char delimiter, double unitFactor,
                             GridHeader& header, size_t& headerLines) {
    header = GridHeader();
    // The no-data line is optional: when the sixth line already begins with a number, it is the first row.
    headerLines = lines.size() >= 6 && BeginsWithNumber(lines[5]) ? 5 : 6;
    header.hasNodata = headerLines == 6;
    if (lines.size() < 5 || BeginsWithNumber(lines[0])) return HeaderResult::Missing;
    if (lines.size() < headerLines) return HeaderResult::Missing;
    for (size_t index = 0; index < headerLines; ++index) {
        const std::string_view token = LastToken(lines[index], delimiter);
        const char* b = token.data();
        const char* e = b + token.size();
        bool ok = true;
        switch (index) {
            case 0: ok = ParseFieldInteger(b, e, header.ncols); break;
            case 1: ok = ParseFieldInteger(b, e, header.nrows); break;
            case 2:
                ok = ParseFieldNumber(b, e, header.xll);
                header.xCentre = NamesCentre(FirstToken(lines[index], delimiter), 'x');
                break;
            case 3:
                ok = ParseFieldNumber(b, e, header.yll);
                header.yCentre = NamesCentre(FirstToken(lines[index], delimiter), 'y');
                break;
            case 4: ok = ParseFieldNumber(b, e, header.cellsize); break;
            default: ok = ParseFieldNumber(b, e, header.nodata); break;
        }
        if (!ok) return HeaderResult::Garbled;
    }
    return SurveyGrid(header, unitFactor) ? HeaderResult::Read : HeaderResult::Absurd;
}

}  // namespace ASCFile
