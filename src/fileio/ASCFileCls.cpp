#include "fileio/ASCFileCls.hpp"

#include "fileio/FieldNumber.hpp"
#include "foundation/Language.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>
#include <string>
#include <utility>

namespace {

constexpr int32_t ExtractingText = 227;
constexpr int32_t InterpretationText = 167;

// A header line's value: its last token, whatever separates it from the keyword (blanks, TABs or the rows'
// delimiter), so a header written with blanks above rows cut at ';' still reads.
std::string_view LastToken(std::string_view line, char delimiter) {
    auto isBreak = [&](char c) { return c == ' ' || c == '\t' || (delimiter != 0 && c == delimiter); };
    size_t end = line.size();
    while (end > 0 && isBreak(line[end - 1])) --end;
    size_t begin = end;
    while (begin > 0 && !isBreak(line[begin - 1])) --begin;
    return line.substr(begin, end - begin);
}

// A header line's keyword: its first token.
std::string_view FirstToken(std::string_view line, char delimiter) {
    auto isBreak = [&](char c) { return c == ' ' || c == '\t' || (delimiter != 0 && c == delimiter); };
    size_t begin = 0;
    while (begin < line.size() && isBreak(line[begin])) ++begin;
    size_t end = begin;
    while (end < line.size() && !isBreak(line[end])) ++end;
    return line.substr(begin, end - begin);
}

// "xllcenter" or "yllcenter" (either spelling of centre, any case): the header gives the south-west cell's centre.
bool NamesCentre(std::string_view keyword, char axis) {
    if (keyword.size() != 9) return false;
    std::string k(keyword);
    for (char& c : k) c = char(std::tolower(static_cast<unsigned char>(c)));
    return k[0] == axis && (k.compare(1, 8, "llcenter") == 0 || k.compare(1, 8, "llcentre") == 0);
}

// Sizes that are not positive and finite describe no grid; an extent beyond the doubles neither.
bool HeaderDescribesGrid(const ASCFile::GridHeader& h) {
    return h.ncols > 0 && h.nrows > 0 && h.cellsize > 0.0 && std::isfinite(h.cellsize) && std::isfinite(h.xll) &&
        std::isfinite(h.yll) && std::isfinite(h.xll + double(h.ncols) * h.cellsize) &&
        std::isfinite(h.yll + double(h.nrows) * h.cellsize);
}

// A header line begins with its keyword; a grid row begins with a number.
bool BeginsWithNumber(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i < line.size() && (line[i] == '-' || line[i] == '+')) ++i;
    if (i < line.size() && (line[i] == '.' || line[i] == ',')) ++i;
    return i < line.size() && line[i] >= '0' && line[i] <= '9';
}

std::string_view TrimLeadingSpaces(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && line[i] == ' ') ++i;
    return line.substr(i);
}

// Whether every two cells of the grid as read (columns 0 to columnCount - 1, rows 1 to rowCount) lie further
// apart than `tolerance` in x or in y, in the coordinates and the arithmetic the filter compares.
bool CellsApart(const ASCFile::GridHeader& h, double factor, size_t columnCount, size_t rowCount, double tolerance) {
    double previous = 0.0;
    for (size_t c = 0; c < columnCount; ++c) {
        const double x = (double(c) * h.cellsize + h.CentreX()) * factor;
        if (c > 0 && !(x - previous > tolerance)) return false;
        previous = x;
    }
    for (size_t r = 1; r <= rowCount; ++r) {
        const double y = ((double(h.nrows) - double(r)) * h.cellsize + h.CentreY()) * factor;
        if (r > 1 && !(previous - y > tolerance)) return false;
        previous = y;
    }
    return true;
}

}  // namespace

namespace ASCFile {

ASCFileCls::ASCFileCls() {
    delimiterMode = DelimiterSpaces;
    delimiterChar = '\t';
    minBlanks = 1;
    tolerance = 1.0;
}

void ASCFileCls::DetectFormat() { ParseAscPreview(*this); }

// The heights kept for the column-by-column order, with a bit per field that makes a point.
struct ASCFileCls::ColumnStore {
    std::vector<double> heights;
    std::vector<uint64_t> makesPoint;  // a bit per field of the rows read, in reading order
    std::vector<size_t> rowFields;     // fields before each row read
    std::vector<size_t> rowHeights;    // heights before each row read
    size_t columnCount = 0;            // columns up to the last that has a point
    size_t fieldCount = 0;
};

struct ASCFileCls::RowsRead {
    size_t rows = 0;
    size_t lastRowFields = 0;  // fields of row nrows, the last the header promises
    bool stopped = false;      // the user broke off
};

bool ASCFileCls::Read() {
    if (!StartRead(true)) return false;
    ExtractRows();
    const std::vector<std::string_view>& rows = lines;
    Phase(InterpretationText, uint32_t(rows.size()), uint32_t(rows.size()));
    header = GridHeader();
    // The no-data line is optional: when the sixth line already begins with a number, it is the first row.
    const size_t headerLines = rows.size() >= 6 && BeginsWithNumber(rows[5]) ? 5 : 6;
    header.hasNodata = headerLines == 6;
    size_t index = 0;
    bool stopped = false;
    if (!ReadHeader(headerLines, index, stopped)) return Refuse();
    // A user break in the header leaves no row to read.
    if (stopped) index = rows.size();
    const size_t dataRows = rows.size() - std::min(rows.size(), headerLines);

    // The filter sorts by x: a grid read row by row comes to that order column by column. Without swapped axes
    // the heights are kept first, with a bit per field that makes a point; when the cells lie further apart than
    // the tolerance the filter has nothing else to do, and each point goes straight to its place in that order.
    const bool byColumns = !swapXY && std::fabs(tolerance) >= 1e-7;
    ColumnStore store;
    ReserveCells(byColumns ? &store : nullptr, dataRows);
    RowsRead read;
    if (!ReadRows(headerLines, index, byColumns ? &store : nullptr, read)) return Refuse(ReadIssue::TooLarge);
    stopped = stopped || read.stopped;
    // A grid that stops before the last cell its header promises is cut short: its last number may be cut
    // too. Refused whole rather than read with a wrong last height.
    if (!stopped && (dataRows < size_t(header.nrows) || read.lastRowFields < size_t(header.ncols)))
        return Refuse(ReadIssue::GridEndedEarly);
    ReleaseText();

    bool separated = false;
    if (byColumns && !PlaceByColumns(store, read.rows, separated)) return Refuse(ReadIssue::TooLarge);
    FinishRead(separated);
    return true;
}

// Extracting: lines of at least two characters, leading spaces trimmed.
void ASCFileCls::ExtractRows() {
    Phase(ExtractingText, uint32_t(lines.size()), uint32_t(lines.size()));
    KeepLines([&](std::string_view& line, size_t i) {
        const bool keep = line.size() >= 2;
        if (keep) line = TrimLeadingSpaces(line);
        progress->Step(uint32_t(i + 1));
        return keep;
    });
}

bool ASCFileCls::ReadHeader(size_t headerLines, size_t& index, bool& stopped) {
    const std::vector<std::string_view>& rows = lines;
    bool headerRead = false;
    for (; index < rows.size() && index < headerLines; ++index) {
        const size_t line = index + 1;
        const std::string_view token = LastToken(rows[index], delimiterChar);
        const char* b = token.data();
        const char* e = b + token.size();
        bool ok = true;
        switch (line) {
            case 1: ok = ParseFieldInteger(b, e, header.ncols); break;
            case 2: ok = ParseFieldInteger(b, e, header.nrows); break;
            case 3:
                ok = ParseFieldNumber(b, e, header.xll);
                header.xCentre = NamesCentre(FirstToken(rows[index], delimiterChar), 'x');
                break;
            case 4:
                ok = ParseFieldNumber(b, e, header.yll);
                header.yCentre = NamesCentre(FirstToken(rows[index], delimiterChar), 'y');
                break;
            case 5: ok = ParseFieldNumber(b, e, header.cellsize); break;
            default: ok = ParseFieldNumber(b, e, header.nodata); break;
        }
        if (!ok) break;
        if (line == headerLines) headerRead = true;
        if (Step(uint32_t(line))) {
            stopped = true;
            break;
        }
    }
    return headerRead && HeaderDescribesGrid(header);
}

void ASCFileCls::ReserveCells(ColumnStore* store, size_t dataRows) {
    if (store != nullptr) {
        try {
            store->rowFields.reserve(dataRows + 1);
            store->heights.reserve(std::min(size_t(header.ncols) * size_t(header.nrows), textBytes / 4));
        } catch (const std::exception&) {
        }
    } else {
        // Room for the cells as far as the text is likely to hold them; without the room the points still come.
        try {
            points.reserve(std::min(size_t(header.ncols) * size_t(header.nrows), textBytes / 4));
        } catch (const std::exception&) {
        }
    }
}

bool ASCFileCls::ReadRows(size_t headerLines, size_t index, ColumnStore* store, RowsRead& read) {
    const std::vector<std::string_view>& rows = lines;
    const double factor = unitFactor;
    // Each field of a row that counts as read, and each that makes a point (x, y, z from its column): a field
    // without a number (an empty last field after a trailing TAB) is read but makes none, a no-data cell neither.
    const double nodata = header.nodata * factor;
    auto cells = [&](std::string_view row, size_t rowNumber, auto&& point, auto&& countRead) {
        const double y = ((double(header.nrows) - double(rowNumber)) * header.cellsize + header.CentreY()) * factor;
        size_t c = 0;
        ForEachField(row, delimiterMode, delimiterChar, minBlanks, [&](std::string_view field) {
            const size_t column = c++;
            double value = 0.0;
            if (!ParseFieldNumber(field.data(), field.data() + field.size(), value)) {
                countRead();
                return;
            }
            const double z = value * factor;
            if (header.hasNodata && z == nodata) return;
            countRead();
            const double x = (double(column) * header.cellsize + header.CentreX()) * factor;
            if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return;
            point(column, x, y, z);
        });
        return c;
    };
    try {
        for (; index < rows.size(); ++index) {
            ReleaseLinesBefore(index);
            const size_t line = index + 1;
            const size_t rowNumber = line - headerLines;
            size_t fields = 0;
            if (store != nullptr) {
                ColumnStore& s = *store;
                s.rowFields.push_back(s.fieldCount);
                s.rowHeights.push_back(s.heights.size());
                // A row of n characters holds at most n + 1 fields.
                const size_t words = (s.fieldCount + rows[index].size() + 1) / 64 + 1;
                if (s.makesPoint.size() < words) s.makesPoint.resize(std::max(words, s.makesPoint.size() * 2), 0);
                fields = cells(
                    rows[index], rowNumber,
                    [&](size_t column, double, double, double z) {
                        const size_t bit = s.fieldCount + column;
                        s.makesPoint[bit / 64] |= uint64_t(1) << (bit % 64);
                        s.heights.push_back(z);
                        s.columnCount = std::max(s.columnCount, column + 1);
                    },
                    [&] { ++pointsRead; });
                s.fieldCount += fields;
            } else {
                fields = cells(
                    rows[index], rowNumber,
                    [&](size_t, double x, double y, double z) {
                        if (swapXY)
                            AddNumbers(y, x, z);
                        else
                            AddNumbers(x, y, z);
                    },
                    [&] { ++pointsRead; });
            }
            ++read.rows;
            if (rowNumber == size_t(header.nrows)) read.lastRowFields = fields;
            if (Step(uint32_t(line))) {
                read.stopped = true;
                break;
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool ASCFileCls::PlaceByColumns(ColumnStore& store, size_t rowsRead, bool& separated) {
    const double factor = unitFactor;
    const size_t columnCount = store.columnCount;
    store.rowFields.push_back(store.fieldCount);
    try {
        store.makesPoint.resize(store.fieldCount / 64 + 1, 0);
    } catch (const std::exception&) {
        return false;
    }
    separated = CellsApart(header, factor, columnCount, rowsRead, std::fabs(tolerance));
    std::vector<double> xs(columnCount), ys(rowsRead);
    for (size_t c = 0; c < columnCount; ++c) xs[c] = (double(c) * header.cellsize + header.CentreX()) * factor;
    for (size_t r = 0; r < rowsRead; ++r)
        ys[r] = ((double(header.nrows) - double(r + 1)) * header.cellsize + header.CentreY()) * factor;
    try {
        points.reserve(store.heights.size());
    } catch (const std::exception&) {
        return false;
    }
    const std::vector<uint64_t>& makesPoint = store.makesPoint;
    const std::vector<size_t>& rowFields = store.rowFields;
    std::vector<size_t>& rowHeights = store.rowHeights;
    const std::vector<double>& heights = store.heights;
    auto makes = [&](size_t bit) { return (makesPoint[bit / 64] >> (bit % 64) & 1) != 0; };
    if (separated) {
        // Column by column, each row's heights taken in turn: the points come in their final order.
        for (size_t c = 0; c < columnCount; ++c)
            for (size_t r = 0; r < rowsRead; ++r) {
                const size_t bit = rowFields[r] + c;
                if (bit < rowFields[r + 1] && makes(bit)) AddNumbers(xs[c], ys[r], heights[rowHeights[r]++]);
            }
    } else {
        size_t k = 0;
        for (size_t r = 0; r < rowsRead; ++r)
            for (size_t bit = rowFields[r]; bit < rowFields[r + 1]; ++bit)
                if (makes(bit)) AddNumbers(xs[bit - rowFields[r]], ys[r], heights[k++]);
    }
    return true;
}

}  // namespace ASCFile

void ParseAscPreview(ASCFile::ASCFileCls& reader) {
    if (!reader.firstAnalysis) return;
    reader.decimalSeparator = 0;
    reader.delimiterMode = 0;
    reader.delimiterChar = 0;
    reader.minBlanks = 1;
    QV_String line;
    // A skipped first line is no part of the grid: the first row is then the eighth line. Without a no-data
    // line the sixth line of the header is the first row already.
    std::string sample;
    for (int i = reader.skipFirstRow ? -1 : 0; i < 7; ++i) {
        reader.ReadLine(line);
        sample = line.ToStdString(Encoding_System);
        if (i == 5 && BeginsWithNumber(sample)) break;
    }
    auto count = [&](char c) { return std::count(sample.begin(), sample.end(), c); };
    reader.decimalSeparator =
        sample.find('.') != std::string::npos ? 1 : (sample.find(',') != std::string::npos ? 2 : 1);
    if (!reader.DetectTabOrSemicolon(sample)) {
        const bool spaces = count(' ') >= 2;
        reader.delimiterMode = spaces ? DelimiterSpaces : DelimiterTab;
        reader.delimiterChar = spaces ? ' ' : '\t';
    }
    reader.firstAnalysis = 0;
}

void ReadAscHeaderValues(ASCFile::ASCFileCls& reader) {
    reader.SetReaderFilePosition(0);
    double values[6] = {};
    QV_String line;
    reader.header.hasNodata = true;
    for (int i = 0; i < 6; ++i) {
        const uint32_t lineStart = reader.readPosition;
        reader.ReadLine(line);
        const std::string text = line.ToStdString(Encoding_System);
        if (i == 5 && BeginsWithNumber(text)) {
            reader.header.hasNodata = false;
            reader.readPosition = lineStart;
            break;
        }
        if (i == 2) reader.header.xCentre = NamesCentre(FirstToken(text, 0), 'x');
        if (i == 3) reader.header.yCentre = NamesCentre(FirstToken(text, 0), 'y');
        // The number begins at the first character from which the rest reads as one.
        for (size_t at = 0; at < text.size(); ++at)
            if (ClassifyNumberText(text.c_str() + at) != 0) {
                ParseFieldNumber(text.data() + at, text.data() + text.size(), values[i]);
                break;
            }
    }
    reader.header.ncols = int32_t(values[0] > 2147483647.0 ? 2147483647.0 : (values[0] < 0 ? 0 : values[0]));
    reader.header.nrows = int32_t(values[1] > 2147483647.0 ? 2147483647.0 : (values[1] < 0 ? 0 : values[1]));
    reader.header.xll = values[2];
    reader.header.yll = values[3];
    reader.header.cellsize = values[4];
    reader.header.nodata = values[5];
}
