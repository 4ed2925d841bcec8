#include "fileio/ASCFileCls.hpp"

#include "fileio/FieldNumber.hpp"
#include "fileio/SurveyBounds.hpp"
#include "fileio/UnitFactor.hpp"
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
        const double x = h.CellX(c) * factor;
        if (c > 0 && !(x - previous > tolerance)) return false;
        previous = x;
    }
    for (size_t r = 1; r <= rowCount; ++r) {
        const double y = h.CellY(r - 1) * factor;
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
    size_t otherLength = 0;    // rows before the last whose cells are not ncols
    bool stopped = false;      // the user broke off
};

bool ASCFileCls::Read() {
    if (!StartRead(true)) return false;
    ExtractRows();
    if (cancelled) return Refuse(ReadIssue::Count, true);
    const std::vector<std::string_view>& rows = lines;
    Phase(InterpretationText, uint32_t(rows.size()), uint32_t(rows.size()));
    size_t headerLines = 6;
    if (!ReadHeader(headerLines)) return false;
    const size_t dataRows = rows.size() - std::min(rows.size(), headerLines);

    // The filter sorts by x: a grid read row by row comes to that order column by column. Without swapped axes
    // the heights are kept first, with a bit per field that makes a point; when the cells lie further apart than
    // the tolerance the filter has nothing else to do, and each point goes straight to its place in that order.
    const bool byColumns = !swapXY && std::fabs(tolerance) >= 1e-7;
    ColumnStore store;
    ReserveCells(byColumns ? &store : nullptr, dataRows);
    RowsRead read;
    if (!ReadRows(headerLines, headerLines, byColumns ? &store : nullptr, read)) return Refuse(ReadIssue::TooLarge);
    if (read.stopped) return Refuse(ReadIssue::Count, true);
    // A grid that stops before the last cell its header promises is cut short: its last number may be cut
    // too. Refused whole rather than read with a wrong last height.
    if (dataRows < size_t(header.nrows) || read.lastRowFields < size_t(header.ncols))
        return Refuse(ReadIssue::GridEndedEarly);
    // More rows than the header gives, or rows of another length: the header does not describe these rows.
    if (dataRows > size_t(header.nrows) || read.lastRowFields > size_t(header.ncols) || read.otherLength > 0)
        return Refuse(ReadIssue::GridRowsDisagree);
    ReleaseText();

    bool separated = false;
    if (byColumns && !PlaceByColumns(store, read.rows, separated)) return Refuse(ReadIssue::TooLarge);
    FinishRead(separated);
    return true;
}

// Extracting: lines that hold more than blanks (a one-digit row is a row), leading spaces trimmed.
void ASCFileCls::ExtractRows() {
    Phase(ExtractingText, uint32_t(lines.size()), uint32_t(lines.size()));
    KeepLines([&](std::string_view& line, size_t i) {
        line = TrimLeadingSpaces(line);
        // A line of blanks is no row.
        const bool keep = line.find_first_not_of(" \t") != std::string_view::npos;
        if (progress->Step(uint32_t(i + 1))) cancelled = true;
        return keep;
    });
}

bool ASCFileCls::ReadHeader(size_t& headerLines) {
    const std::vector<std::string_view> first(lines.begin(),
                                              lines.begin() + std::min<size_t>(lines.size(), MaxGridHeaderLines + 1));
    std::string keyword;
    const HeaderResult result = ParseGridHeader(first, delimiterChar, unitFactor, header, headerLines, &keyword);
    const QV_String named(keyword.c_str(), Encoding_System);
    switch (result) {
        case HeaderResult::Read: break;
        case HeaderResult::Missing: return Refuse(ReadIssue::NoGridHeader);
        case HeaderResult::Garbled:
            report.Note(ReadIssue::GridHeaderValue, QV_String("\"") + named + "\"");
            return Refuse(ReadIssue::Count);
        case HeaderResult::Absurd: return Refuse(ReadIssue::GridHeaderAbsurd);
        case HeaderResult::UnknownKeyword:
            report.Note(ReadIssue::GridUnknownKeyword, named);
            return Refuse(ReadIssue::Count);
        case HeaderResult::MissingKeyword:
            report.Note(ReadIssue::GridMissingKeyword, QV_String("\"") + named + "\"");
            return Refuse(ReadIssue::Count);
    }
    if (Step(uint32_t(headerLines))) return Refuse(ReadIssue::Count, true);
    return true;
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
    // Answers the cells of the row: its fields up to the last that is not empty (trailing delimiters make none).
    auto cells = [&](std::string_view row, size_t rowNumber, auto&& point, auto&& countRead) {
        const double y = header.CellY(rowNumber - 1) * factor;
        size_t c = 0, filled = 0;
        ForEachField(row, delimiterMode, delimiterChar, minBlanks, [&](std::string_view field) {
            const size_t column = c++;
            if (!field.empty()) filled = c;
            double value = 0.0;
            if (!ParseFieldNumber(field.data(), field.data() + field.size(), value)) {
                countRead();
                if (!field.empty()) report.Note(ReadIssue::BadNumber);
                return;
            }
            const double z = value * factor;
            if (header.hasNodata && z == nodata) return;
            countRead();
            if (!SurveyHeight(z)) {
                report.Note(ReadIssue::OutOfRange);
                return;
            }
            point(column, header.CellX(column) * factor, y, z);
        });
        return filled;
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
            if (rowNumber == size_t(header.nrows))
                read.lastRowFields = fields;
            else if (fields != size_t(header.ncols))
                ++read.otherLength;
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
    for (size_t c = 0; c < columnCount; ++c) xs[c] = header.CellX(c) * factor;
    for (size_t r = 0; r < rowsRead; ++r) ys[r] = header.CellY(r) * factor;
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
    // The first row is the first line that begins with a number, after the header of five to seven lines (and a
    // skipped first line, which is no part of the grid).
    std::string sample;
    for (int i = reader.skipFirstRow ? -1 : 0; i <= int(ASCFile::MaxGridHeaderLines); ++i) {
        reader.ReadLine(line, SampleCharacters);
        sample = line.ToStdString(Encoding_System);
        if (i >= 0 && ASCFile::BeginsWithNumber(sample)) break;
    }
    auto count = [&](char c) { return std::count(sample.begin(), sample.end(), c); };
    reader.decimalSeparator =
        sample.find('.') != std::string::npos ? 1 : (sample.find(',') != std::string::npos ? 2 : 1);
    if (!reader.DetectTabOrSemicolon(sample)) {
        // Two cells apart by one blank are a row too.
        const bool spaces = count(' ') >= 1;
        reader.delimiterMode = spaces ? DelimiterSpaces : DelimiterTab;
        reader.delimiterChar = spaces ? ' ' : '\t';
    }
    reader.firstAnalysis = 0;
}

void ReadAscHeaderValues(ASCFile::ASCFileCls& reader) {
    reader.SetReaderFilePosition(0);
    std::vector<std::string> texts;
    std::vector<uint32_t> starts;
    QV_String line;
    while (texts.size() < ASCFile::MaxGridHeaderLines + 1 && reader.readPosition < reader.fileLength) {
        starts.push_back(reader.readPosition);
        reader.ReadLine(line, SampleCharacters);
        texts.push_back(line.ToStdString(Encoding_System));
    }
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    size_t headerLines = 0;
    const ASCFile::HeaderResult result =
        ASCFile::ParseGridHeader(views, 0, GetUnitFactor(reader.unitCode), reader.header, headerLines);
    // Without a header the preview shows the file from its start.
    const bool none = result != ASCFile::HeaderResult::Read && result != ASCFile::HeaderResult::Absurd &&
        result != ASCFile::HeaderResult::Garbled;
    if (none) reader.header = ASCFile::GridHeader();
    reader.SetReaderFilePosition(none || headerLines >= starts.size() ? (none ? 0 : reader.readPosition)
                                                                      : starts[headerLines]);
}
