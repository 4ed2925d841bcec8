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

// Sizes that are not positive, a cell wider than any survey's, or a grid reaching beyond any projected coordinate.
bool SurveyGrid(const ASCFile::GridHeader& h, double f) {
    if (h.ncols <= 0 || h.nrows <= 0 || !(h.cellsize > 0.0) || !(h.cellsize * f <= MaxSurveyCellSize) ||
        !(h.cellHeight > 0.0) || !(h.cellHeight * f <= MaxSurveyCellSize))
        return false;
    const double east = (h.xll + double(h.ncols) * h.cellsize) * f;
    const double north = (h.yll + double(h.nrows) * h.cellHeight) * f;
    return SurveyPlanValue(h.xll * f) && SurveyPlanValue(h.yll * f) && SurveyPlanValue(east) && SurveyPlanValue(north);
}

}  // namespace

namespace ASCFile {

void GridHeader::GeoTransform(double (&gt)[6]) const {
    gt[0] = CentreX() - cellsize / 2.0;
    gt[1] = cellsize;
    gt[2] = 0.0;
    gt[3] = CentreY() - cellHeight / 2.0 + double(nrows) * cellHeight;
    gt[4] = 0.0;
    gt[5] = -cellHeight;
}

bool BeginsWithNumber(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) ++i;
    if (i < line.size() && (line[i] == '.' || line[i] == ',')) ++i;
    return i < line.size() && line[i] >= '0' && line[i] <= '9';
}

HeaderResult ParseGridHeader(const std::vector<std::string_view>& lines, char delimiter, double unitFactor,
                             GridHeader& header, size_t& headerLines, std::string* keyword) {
    header = GridHeader();
    headerLines = 0;
    if (lines.empty() || BeginsWithNumber(lines[0])) return HeaderResult::Missing;
    enum Key { NCols, NRows, XCorner, XCentre, YCorner, YCentre, CellSize, Dx, Dy, NoData, KeyCount };
    static const char* const names[KeyCount] = {"ncols",     "nrows",    "xllcorner", "xllcenter", "yllcorner",
                                                "yllcenter", "cellsize", "dx",        "dy",        "nodata_value"};
    bool given[KeyCount] = {};
    auto answer = [&](HeaderResult result, std::string_view word) {
        if (keyword != nullptr) keyword->assign(word);
        return result;
    };
    for (; headerLines < lines.size() && !BeginsWithNumber(lines[headerLines]); ++headerLines) {
        const std::string_view line = lines[headerLines];
        const std::string_view word = FirstToken(line, delimiter);
        std::string lower(word);
        for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
        // The British spelling of the centres reads as the other.
        if (lower == "xllcentre" || lower == "yllcentre") lower.replace(6, 3, "ter");
        int key = 0;
        while (key < KeyCount && lower != names[key]) ++key;
        if (key == KeyCount || given[key] || headerLines >= MaxGridHeaderLines)
            return answer(HeaderResult::UnknownKeyword, word);
        given[key] = true;
        // The value is the line's last token; a keyword alone has none.
        const std::string_view token = LastToken(line, delimiter);
        if (token.data() == word.data()) return answer(HeaderResult::Garbled, word);
        const char* b = token.data();
        const char* e = b + token.size();
        bool ok = false;
        switch (key) {
            case NCols: ok = ParseFieldInteger(b, e, header.ncols); break;
            case NRows: ok = ParseFieldInteger(b, e, header.nrows); break;
            case XCorner:
            case XCentre: ok = ParseFieldNumber(b, e, header.xll); break;
            case YCorner:
            case YCentre: ok = ParseFieldNumber(b, e, header.yll); break;
            case CellSize:
            case Dx: ok = ParseFieldNumber(b, e, header.cellsize); break;
            case Dy: ok = ParseFieldNumber(b, e, header.cellHeight); break;
            default: ok = ParseFieldNumber(b, e, header.nodata); break;
        }
        if (!ok) return answer(HeaderResult::Garbled, word);
    }
    // One of each pair, and the cells' size one way only.
    if (given[XCorner] && given[XCentre]) return answer(HeaderResult::UnknownKeyword, names[XCentre]);
    if (given[YCorner] && given[YCentre]) return answer(HeaderResult::UnknownKeyword, names[YCentre]);
    if (given[CellSize] && (given[Dx] || given[Dy]))
        return answer(HeaderResult::UnknownKeyword, names[given[Dx] ? Dx : Dy]);
    for (int key : {NCols, NRows})
        if (!given[key]) return answer(HeaderResult::MissingKeyword, names[key]);
    if (!given[XCorner] && !given[XCentre]) return answer(HeaderResult::MissingKeyword, names[XCorner]);
    if (!given[YCorner] && !given[YCentre]) return answer(HeaderResult::MissingKeyword, names[YCorner]);
    if (!given[CellSize] && !given[Dx] && !given[Dy]) return answer(HeaderResult::MissingKeyword, names[CellSize]);
    if (given[Dx] != given[Dy]) return answer(HeaderResult::MissingKeyword, names[given[Dx] ? Dy : Dx]);
    if (!given[Dy]) header.cellHeight = header.cellsize;
    header.xCentre = given[XCentre];
    header.yCentre = given[YCentre];
    header.hasNodata = given[NoData];
    return SurveyGrid(header, unitFactor) ? HeaderResult::Read : HeaderResult::Absurd;
}

}  // namespace ASCFile
