// The grid and point-file readers through their Read: the grid checked by hand, header forms, layouts, units,
// encodings, the duplicate filter against a brute-force walk, and bad files.
#include "ReaderFixture.hpp"

#include "fileio/DuplicateFilter.hpp"
#include "fileio/FileDialogs.hpp"
#include "fileio/FieldSplit.hpp"
#include "foundation/Encoding.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <sstream>
#include <tuple>
#include <utility>

namespace column_readers_test {

using ASCFile::ASCFilePoint;
using ASCFile::PointCode;
using ASCFile::PointComment;
using ASCFile::PointTexts;
using Triple = std::tuple<double, double, double>;

std::vector<Triple> Triples(const std::vector<ASCFilePoint>& points) {
    std::vector<Triple> out;
    for (const ASCFilePoint& p : points) out.emplace_back(p.x, p.y, p.z);
    return out;
}

std::vector<Triple> Sorted(std::vector<Triple> t) {
    std::sort(t.begin(), t.end());
    return t;
}

TEST_F(ReaderTest, SmallGridGivesTheCellsCheckedByHand) {
    // Each cell's centre: the corner (1000, 2000) plus half a cell of 10.
    const std::vector<Triple> expected = {{1005, 2025, 101.5}, {1015, 2025, 102.25}, {1035, 2025, 104},
                                          {1005, 2015, 111},   {1015, 2015, 112.5},  {1025, 2015, 113.75},
                                          {1035, 2015, 114},   {1005, 2005, 121},    {1015, 2005, 122},
                                          {1025, 2005, 123},   {1035, 2005, 124.125}};
    for (const char* name : {"asc/small_4x3.asc", "asc/small_trailing_tab.asc", "asc/bad/utf16.asc"}) {
        SCOPED_TRACE(name);
        ASCFile::ASCFileCls reader;
        Run(reader, Data(name));
        EXPECT_EQ(Sorted(Triples(reader.points)), Sorted(expected));
        EXPECT_EQ(reader.pointsKept, 11u);
        EXPECT_FALSE(ShowedReadError());
        EXPECT_EQ(reader.bounds.xMin, 1005);
        EXPECT_EQ(reader.bounds.yMax, 2025);
    }
}

TEST_F(ReaderTest, GridHeaderValuesFollowTheirKeywordsInAnyOrder) {
    // Keywords out of order and of any case, the header's blanks differing from the rows' ';', a unit factor,
    // swapped axes, a real no-data value and a field without a number: only cells with a value are points, at
    // their centres (the corners give half a cell more).
    const std::string text = "NROWS =\t2\nncols   3\nyllcorner\t600\nxllcorner 500\ncellsize 2\n"
                             "nodata_value -3.4028234663852886e+38\n1;2;-3.4028234663852886e+38\n-3;n/a;6\n";
    ASCFile::ASCFileCls reader;
    Run(reader, Write("header.asc", text), [](ASCFile::ASCFileCls& r) {
        r.unitCode = 1;
        r.swapXY = 1;
        r.tolerance = 0.0;
    });
    const std::vector<Triple> expected = {
        {6.03, 5.01, 0.01}, {6.03, 5.03, 0.02}, {6.01, 5.01, -0.03}, {6.01, 5.05, 0.06}};
    ASSERT_EQ(reader.points.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(reader.points[i].x, std::get<0>(expected[i]), 1e-12);
        EXPECT_NEAR(reader.points[i].y, std::get<1>(expected[i]), 1e-12);
        EXPECT_NEAR(reader.points[i].z, std::get<2>(expected[i]), 1e-12);
    }
    EXPECT_EQ(reader.pointsRead, 5u);
    EXPECT_EQ(reader.pointsKept, 4u);
    EXPECT_EQ(reader.delimiterMode, DelimiterSemicolon);
}

TEST_F(ReaderTest, AGridWithoutItsNoDataLineKeepsEveryRowInPlace) {
    // The real window (every cell with data) with and without its optional no-data line: the same cells.
    const std::string window = Slurp(Data("asc/elev_window.asc"));
    const size_t at = window.find("NODATA_value");
    ASSERT_NE(at, std::string::npos);
    const std::string path = Write("no_nodata.asc", window.substr(0, at) + window.substr(window.find('\n', at) + 1));
    ASCFile::ASCFileCls with, without;
    Run(with, Data("asc/elev_window.asc"), [](ASCFile::ASCFileCls& r) { r.tolerance = 0; });
    Run(without, path, [](ASCFile::ASCFileCls& r) { r.tolerance = 0; });
    EXPECT_TRUE(Alerts().empty());
    EXPECT_EQ(without.points.size(), 2500u);
    EXPECT_EQ(Sorted(Triples(without.points)), Sorted(Triples(with.points)));
    EXPECT_FALSE(without.header.hasNodata);
    // The options dialog sees five header values and the first row after them.
    ASCFile::ASCFileCls dialog;
    dialog.path = QV_String(path.c_str(), Encoding_UTF8);
    ASSERT_EQ(dialog.OpenReaderFile(), 0);
    ASSERT_EQ(dialog.GetReaderFileLength(), 0);
    ReadAscHeaderValues(dialog);
    EXPECT_FALSE(dialog.header.hasNodata);
    EXPECT_EQ(dialog.header.nrows, 50);
    QV_String first;
    dialog.ReadLine(first);
    EXPECT_EQ(first.ToStdString().substr(0, 8), "494 495 ");
    dialog.CloseReaderFile();
}

TEST_F(ReaderTest, PointLayoutsCodesAndEncodings) {
    // Layout 7 in the system code page: codes and comments as written, a comma inside a comment.
    TextFileCls cp1252;
    Run(cp1252, Data("xyz/points_code_comment_cp1252.txt"));
    EXPECT_EQ(cp1252.layout, 7);
    EXPECT_EQ(cp1252.pointsKept, 1017u);
    bool p12 = false, bridge = false;
    for (const ASCFilePoint& p : cp1252.points) {
        p12 |= PointCode(cp1252.texts, p).ToStdString() == "P00012" &&
            PointComment(cp1252.texts, p).ToStdString() == "Höhe über 500 m";
        bridge |= PointComment(cp1252.texts, p).ToStdString() == "Straße, Brücke";
    }
    EXPECT_TRUE(p12 && bridge);
    // The same file in UTF-8 behind a byte-order mark reads alike, whole lines decoded by the mark.
    const std::string bytes = Slurp(Data("xyz/points_code_comment_cp1252.txt"));
    const int32_t size =
        ConvertEncoding(Encoding_Windows1252, bytes.data(), uint32_t(bytes.size()), Encoding_UTF8, nullptr, 0, false);
    std::string utf8(size_t(size), '\0');
    ConvertEncoding(Encoding_Windows1252, bytes.data(), uint32_t(bytes.size()), Encoding_UTF8, &utf8[0], uint32_t(size),
                    false);
    TextFileCls marked;
    Run(marked, Write("bom.txt", "\xEF\xBB\xBF" + utf8));
    ASSERT_EQ(marked.points.size(), cp1252.points.size());
    for (size_t i = 0; i < marked.points.size(); ++i) {
        EXPECT_EQ(PointComment(marked.texts, marked.points[i]), PointComment(cp1252.texts, cp1252.points[i]));
        EXPECT_EQ(PointCode(marked.texts, marked.points[i]), PointCode(cp1252.texts, cp1252.points[i]));
    }
    // No height in "x y Code Comment": z 0, texts kept.
    TextFileCls noZ;
    Run(
        noZ, Data("xyz/points_xy_code_comment.txt"), [](TextFileCls&) {}, [](TextFileCls& r) { r.layout = 4; });
    EXPECT_EQ(noZ.pointsKept, 101u);
    for (const ASCFilePoint& p : noZ.points) ASSERT_EQ(p.z, 0.0);
    EXPECT_FALSE(PointComment(noZ.texts, noZ.points.front()).IsEmpty());
    // Mixed line ends, both decimal marks in one file, millimetres, swapped axes.
    TextFileCls eol;
    Run(eol, Data("xyz/points_mixed_eol.txt"));
    EXPECT_EQ(eol.pointsKept, 300u);
    TextFileCls mm;
    Run(mm, Write("mm.txt", "a;b;c;d\n100.5;200,25;12;K1\n"), [](TextFileCls& r) {
        r.unitCode = 2;
        r.swapXY = 1;
    });
    ASSERT_EQ(mm.points.size(), 1u);
    EXPECT_EQ(mm.layout, 1);
    EXPECT_DOUBLE_EQ(mm.points[0].x, 0.20025);
    EXPECT_DOUBLE_EQ(mm.points[0].y, 0.1005);
    EXPECT_DOUBLE_EQ(mm.points[0].z, 0.012);
    EXPECT_EQ(PointCode(mm.texts, mm.points[0]).ToStdString(), "K1");
}

TEST_F(ReaderTest, MarkedFilesAreDetectedPreviewedAndReadAsTheirMarkSays) {
    // 50 real points, one blank between columns, CR LF: as plain bytes, and behind a UTF-8, UTF-16 LE and
    // UTF-16 BE mark. Detection and previews see the lines the read takes.
    std::string plain;
    std::istringstream in(Slurp(Data("xyz/points_dup.txt")));
    std::string text;
    for (int i = 0; i < 50 && std::getline(in, text); ++i) plain += text + "\r\n";
    auto wide = [&](bool bigEndian) {
        std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char c : plain) out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
        return out;
    };
    auto linesOf = [](TextFileCls& reader) {
        std::vector<std::string> lines;
        EXPECT_EQ(reader.OpenReaderFile(), 0);
        EXPECT_EQ(reader.GetReaderFileLength(), 0);
        reader.SetReaderFilePosition(0);
        QV_String line;
        while (reader.readPosition < reader.fileLength) {
            reader.ReadLine(line);
            lines.push_back(line.ToStdString());
        }
        reader.CloseReaderFile();
        return lines;
    };
    TextFileCls ascii;
    Run(ascii, Write("plain.txt", plain));
    ASSERT_EQ(ascii.pointsRead, 50u);
    const std::vector<std::string> asciiLines = linesOf(ascii);
    ASSERT_EQ(asciiLines.size(), 50u);
    for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"utf8.txt", "\xEF\xBB\xBF" + plain}, {"utf16le.txt", wide(false)}, {"utf16be.txt", wide(true)}}) {
        SCOPED_TRACE(name);
        DGDriver::ClearQueueAndLog();
        TextFileCls marked;
        Run(marked, Write(name, bytes));
        EXPECT_EQ(marked.delimiterMode, ascii.delimiterMode);
        EXPECT_EQ(marked.minBlanks, ascii.minBlanks);
        EXPECT_EQ(marked.layout, ascii.layout);
        EXPECT_EQ(marked.pointsRead, 50u);
        EXPECT_EQ(Triples(marked.points), Triples(ascii.points));
        EXPECT_TRUE(Alerts().empty());
        EXPECT_EQ(linesOf(marked), asciiLines);
    }
}

TEST_F(ReaderTest, FormatDetectionFromTheSecondLine) {
    struct Case {
        std::string second;
        int32_t mode, n, layout, decimal;
    };
    const std::vector<Case> cases = {
        {"1\t2\t3 ; ; 4", DelimiterTab, 3, 3, 1},
        {"1\t2;3;4", DelimiterSemicolon, 3, 3, 1},
        {"1 2 3  4", DelimiterSpaces, 1, 1, 1},
        {"1  2  3", DelimiterSpaces, 2, 3, 1},
        {"1     2     3", DelimiterSpaces, 3, 3, 1},
        {"P12;1;2;3", DelimiterSemicolon, 3, 2, 1},
        {"-3,5;1;2;P", DelimiterSemicolon, 3, 1, 2},
        {"1;2;3;4;5;6", DelimiterSemicolon, 3, 7, 1},
        {"", DelimiterTab, 3, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.second);
        TextFileCls reader;
        reader.path = QV_String(Write("detect.txt", "first line\n" + c.second + "\n").c_str(), Encoding_UTF8);
        ASSERT_EQ(reader.OpenReaderFile(), 0);
        ASSERT_EQ(reader.GetReaderFileLength(), 0);
        DetectTextFileFormat(reader);
        EXPECT_EQ(reader.delimiterMode, c.mode);
        EXPECT_EQ(reader.minBlanks, c.n);
        EXPECT_EQ(reader.layout, c.layout);
        EXPECT_EQ(reader.decimalSeparator, c.decimal);
        EXPECT_EQ(reader.firstAnalysis, 0);
        reader.CloseReaderFile();
    }
    // Fields one by one are the fields of the list, for every mode, N and line of blanks, TABs and text.
    std::mt19937 rng(5);
    for (int round = 0; round < 3000; ++round) {
        std::string line;
        for (int n = rng() % 12; n > 0; --n) line += " \t;a1"[rng() % 5];
        const int32_t mode = int32_t(1 + rng() % 4), n = int32_t(rng() % 4);
        std::vector<std::string_view> listed, one;
        SplitFields(line, mode, mode == DelimiterSemicolon ? ';' : '\t', n, listed);
        ForEachField(line, mode, mode == DelimiterSemicolon ? ';' : '\t', n,
                     [&](std::string_view f) { one.push_back(f); });
        ASSERT_EQ(one, listed) << "[" << line << "] " << mode << " " << n;
        // Kept up to a number: the first fields of the whole list.
        const size_t most = rng() % 5;
        std::vector<std::string_view> first;
        SplitFields(line, mode, mode == DelimiterSemicolon ? ';' : '\t', n, first, most);
        ASSERT_EQ(first, std::vector<std::string_view>(listed.begin(), listed.begin() + std::min(most, listed.size())));
    }
    EXPECT_EQ(ConvertSpaceRuns("a b   c  d   ", 3), "a b\tc  d   ");
    EXPECT_EQ(ConvertSpaceRuns("   a", 3), "\ta");
}

// The filter as a plain walk: sort by x then code (stable), a kept point removes the later points within the
// tolerance in x and y; chunk by chunk, then once over all when there were several.
std::vector<ASCFilePoint> BruteForceFilter(std::vector<ASCFilePoint> points, double tol, size_t chunk,
                                           const std::vector<PointTexts>& texts = {}) {
    auto walk = [&](std::vector<ASCFilePoint> part) {
        std::stable_sort(part.begin(), part.end(), [&](const ASCFilePoint& a, const ASCFilePoint& b) {
            return a.x != b.x ? a.x < b.x : PointCode(texts, a) < PointCode(texts, b);
        });
        std::vector<bool> keep(part.size(), true);
        for (size_t i = 0; i < part.size(); ++i) {
            if (!keep[i]) continue;
            for (size_t j = i + 1; j < part.size() && part[j].x - part[i].x <= tol; ++j)
                if (std::fabs(part[i].y - part[j].y) <= tol) keep[j] = false;
        }
        std::vector<ASCFilePoint> out;
        for (size_t i = 0; i < part.size(); ++i)
            if (keep[i]) out.push_back(part[i]);
        return out;
    };
    std::vector<ASCFilePoint> joined;
    for (size_t b = 0; b < points.size(); b += chunk) {
        std::vector<ASCFilePoint> part(points.begin() + std::ptrdiff_t(b),
                                       points.begin() + std::ptrdiff_t(std::min(points.size(), b + chunk)));
        for (ASCFilePoint& p : walk(part)) joined.push_back(p);
    }
    return points.size() > chunk ? walk(joined) : joined;
}

TEST_F(ReaderTest, DuplicateFilterMatchesTheBruteForceWalk) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        const size_t count = rng() % 400;
        const double tol = std::vector<double>{0.1, 0.5, 1.0, 3.0}[rng() % 4];
        const size_t chunk = round % 3 == 0 || round % 5 == 1 ? 37 : 200000;
        std::vector<ASCFilePoint> points(count);
        std::vector<PointTexts> texts;
        // Every fourth round without codes (the points then sort by x alone).
        const bool coded = round % 4 != 3;
        // Coarse coordinates make many exact ties in x and distances right at the tolerance; every fifth round
        // spreads them so that no two are near (the chunks then change nothing).
        const bool spread = round % 5 == 1;
        for (ASCFilePoint& p : points) {
            p.x = spread ? double(rng() % 100000) * 7.0 : double(rng() % 40) * 0.25;
            p.y = spread ? double(rng() % 100000) * 7.0 : double(rng() % 40) * 0.25 + 1e6;
            p.z = double(rng() % 1000);
            if (coded && rng() % 3 == 0) {
                texts.push_back({QV_String(("C" + std::to_string(rng() % 5)).c_str()), QV_String()});
                p.texts = uint32_t(texts.size());
            }
        }
        const std::vector<ASCFilePoint> expected = BruteForceFilter(points, tol, chunk, texts);
        const bool removed = FilterDuplicatePoints(points, texts, tol, uint32_t(chunk), NullReaderProgress());
        ASSERT_EQ(points.size(), expected.size()) << round;
        EXPECT_EQ(removed, expected.size() < count);
        for (size_t i = 0; i < points.size(); ++i) {
            ASSERT_EQ(points[i].x, expected[i].x);
            ASSERT_EQ(points[i].y, expected[i].y);
            ASSERT_EQ(points[i].z, expected[i].z);
            ASSERT_EQ(points[i].texts, expected[i].texts);
        }
    }
    // The shared near-duplicates: 380 points, 320 kept at 0.1.
    TextFileCls reader;
    Run(reader, Data("xyz/points_dup.txt"));
    EXPECT_EQ(reader.pointsRead, 380u);
    EXPECT_EQ(reader.pointsKept, 320u);
    // The real grid at the tolerances of the shared figures, in the order the walk leaves its points in, also
    // for a grid cut into chunks (the wide row) and with axes swapped.
    ASCFile::ASCFileCls plain;
    Run(plain, Data("asc/elev.asc"), [](ASCFile::ASCFileCls& r) { r.tolerance = 0; });
    ASSERT_EQ(plain.points.size(), 7118u);
    const std::string wide = Write(
        "wide.asc", "ncols 1000\nnrows 300\nxllcorner 0\nyllcorner 0\ncellsize 2\n" + [] {
            std::string rows;
            for (int r = 0; r < 300; ++r, rows += "\n")
                for (int c = 0; c < 1000; ++c) rows += std::to_string((r * 7 + c * 3) % 500) + " ";
            return rows;
        }());
    ASCFile::ASCFileCls widePlain;
    Run(widePlain, wide, [](ASCFile::ASCFileCls& r) { r.tolerance = 0; });
    ASSERT_EQ(widePlain.points.size(), 300000u);
    struct Case {
        std::string path;
        const std::vector<ASCFilePoint>& reading;
        double tol;
        bool swap;
        uint32_t kept;
    };
    std::vector<ASCFilePoint> swapped = plain.points;
    for (ASCFilePoint& p : swapped) std::swap(p.x, p.y);
    const std::vector<Case> cases = {{Data("asc/elev.asc"), plain.points, 1.0, false, 7118},
                                     {Data("asc/elev.asc"), plain.points, 700.0, false, 1743},
                                     {Data("asc/elev.asc"), swapped, 1.0, true, 7118},
                                     {wide, widePlain.points, 1.0, false, 300000},
                                     {wide, widePlain.points, 2.0, false, 75000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " " + std::to_string(c.tol));
        ASCFile::ASCFileCls grid;
        Run(grid, c.path, [&](ASCFile::ASCFileCls& r) {
            r.tolerance = c.tol;
            r.swapXY = c.swap;
        });
        EXPECT_EQ(grid.pointsKept, c.kept);
        EXPECT_EQ(Triples(grid.points), Triples(BruteForceFilter(c.reading, c.tol, PointChunkSize)));
    }
}

TEST_F(ReaderTest, BadFilesEndWithTheReadErrorAndItsReasonOrWhatTheyHold) {
    const std::string empty = "The file holds nothing to read.", notText = "The file is not a text file.",
                      cut = "The grid ends before the last cell its header gives: it was not read.",
                      absurd =
                          "The grid's header gives a cell size or a position that no survey holds: it was not read.";
    const std::string grid = Slurp(Data("asc/elev.asc"));
    const std::string points = Slurp(Data("xyz/points_dup.txt"));
    struct Case {
        std::string name;
        bool grid, error;
        size_t points;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {Data("asc/bad/garbled.asc"), true, true, 0, notText},
        {Data("asc/bad/empty.asc"), true, true, 0, empty},
        {Data("asc/bad/huge_header.asc"), true, true, 0, absurd},
        {Data("asc/bad/header_only.asc"), true, true, 0, cut},
        {Write("nul.asc", grid.substr(0, 5000) + '\0' + grid.substr(5000)), true, true, 0, notText},
        {Write("blank.asc", "\r\n  \n\t\n"), true, true, 0, empty},
        // Cut inside row 67 of 143, its last number cut to "2"; cut inside the last row; the last row whole
        // but without its break (read whole).
        {Write("truncated.asc", grid.substr(0, 40001)), true, true, 0, cut},
        {Write("last_row_cut.asc", grid.substr(0, grid.size() - 40)), true, true, 0, cut},
        {Write("nonl.asc", grid.substr(0, grid.size() - 1)), true, false, 7118, ""},
        {Data("xyz/bad/garbled.txt"), false, true, 0, notText},
        {Data("xyz/bad/empty.txt"), false, true, 0, empty},
        {Write("bom_only.txt", "\xEF\xBB\xBF"), false, true, 0, empty},
        {Write("nul.txt", points.substr(0, 300) + '\0' + points.substr(300)), false, true, 0, notText},
        {Write("odd.txt",
               std::string("\xFF\xFE"
                           "1\0 \0"
                           "2\0 \0"
                           "3",
                           11)),
         false, true, 0, notText},
        {Data("xyz/bad/short_lines.txt"), false, false, 50, ""},
        {Data("xyz/bad/nonnumeric.txt"), false, false, 90, ""},
        {Data("xyz/bad/utf16.txt"), false, false, 20, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DGDriver::ClearQueueAndLog();
        std::vector<ASCFilePoint> read;
        if (c.grid) {
            ASCFile::ASCFileCls reader;
            Run(reader, c.name);
            read = reader.points;
            EXPECT_EQ(reader.pointsKept, read.size());
        } else {
            TextFileCls reader;
            Run(reader, c.name);
            read = reader.points;
        }
        EXPECT_EQ(ShowedReadError(), c.error);
        EXPECT_EQ(read.size(), c.points);
        // What a read left out is told without an error (the rows of "n/a" among them).
        if (c.error) {
            EXPECT_EQ(AlertDetails(), std::vector<std::string>{c.reason});
        }
    }

    // 4 GiB or more: the 32-bit length cannot hold it; refused before anything is sized (a sparse file).
    const std::string huge = UserFile("huge.asc");
    std::filesystem::resize_file(Write("huge.asc", "ncols 1\n"), (uint64_t(1) << 32) + 10);
    DGDriver::ClearQueueAndLog();
    ASCFile::ASCFileCls big;
    Run(big, huge);
    EXPECT_TRUE(ShowedReadError());
    EXPECT_EQ(
        AlertDetails(),
        std::vector<std::string>{
            "The file is too large for this reader (4 GiB or more, or more than the memory holds): it was not read."});
    EXPECT_TRUE(big.points.empty());
    std::filesystem::remove(huge);
}

TEST_F(ReaderTest, MangledFilesNeverGiveNonFiniteCoordinates) {
    const std::string grid = Slurp(Data("asc/small_4x3.asc"));
    const std::string points = Slurp(Data("xyz/points_xy_code_comment.txt")).substr(0, 3000);
    const std::string junk[] = {"\0", "\xff", ";", "\t", " ", "\r", "\n", "e+999", "-", ",", "1e308", "\xEF\xBB\xBF"};
    std::mt19937 rng(11);
    for (int round = 0; round < 400; ++round) {
        std::string bytes = round % 2 ? grid : points;
        for (int edits = 1 + rng() % 6; edits > 0; --edits) {
            const size_t at = rng() % (bytes.size() + 1);
            const std::string& piece = junk[rng() % (sizeof junk / sizeof junk[0])];
            if (rng() % 2)
                bytes.insert(at, piece.empty() ? std::string(1, '\0') : piece);
            else
                bytes.erase(at, rng() % 20);
        }
        const std::string path = Write(round % 2 ? "mangled.asc" : "mangled.txt", bytes);
        std::vector<ASCFilePoint> out;
        if (round % 2) {
            ASCFile::ASCFileCls reader;
            Run(reader, path);
            out = reader.points;
        } else {
            TextFileCls reader;
            Run(reader, path);
            out = reader.points;
        }
        for (const ASCFilePoint& p : out)
            ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) << round;
    }
}

TEST(ImportPaths, ExtensionsAndFoldersOfBackslashPaths) {
    struct Case {
        const char* path;
        const char* extension;
        const char* folder;
    };
    const Case cases[] = {
        {"C:\\survey\\points.txt", "txt", "C:\\survey"}, {"C:\\survey.v2\\points", "", "C:\\survey.v2"},
        {"C:\\survey\\points.", "", "C:\\survey"},       {"points.ASC", "ASC", ""},
        {"C:\\a.b\\grid.tar.asc", "asc", "C:\\a.b"},     {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetFileExtension(QV_String(c.path)).ToStdString(), c.extension);
        EXPECT_EQ(GetDirectoryPart(QV_String(c.path)).ToStdString(), c.folder);
    }
    EXPECT_TRUE(HasFileExtension(QV_String("D:\\x\\p.TxT"), "TXT"));
    EXPECT_FALSE(HasFileExtension(QV_String("D:\\x.txt\\p"), "TXT"));
    EXPECT_FALSE(HasFileExtension(QV_String("D:\\x\\p.csv"), "TXT"));
}

TEST_F(ReaderTest, ReadersOnlyReadNoDialogNoAlert) {
    // Detection and read, on a good file and on refused ones: the result and its reason are in the reader;
    // nothing is asked or shown.
    const std::string paths[] = {Data("asc/small_4x3.asc"),       Data("asc/bad/empty.asc"),
                                 Data("asc/bad/header_only.asc"), Data("xyz/points_dup.txt"),
                                 Data("xyz/bad/garbled.txt"),     UserFile("missing.txt")};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        DGDriver::ClearQueueAndLog();
        const bool grid = path.size() > 4 && path.compare(path.size() - 4, 4, ".asc") == 0;
        ASCFile::ASCFileCls asc;
        TextFileCls xyz;
        ColumnFileCls& reader = grid ? static_cast<ColumnFileCls&>(asc) : xyz;
        reader.path = QV_String(path.c_str(), Encoding_UTF8);
        const bool ok = reader.Detect() && reader.Read();
        EXPECT_EQ(ok, reader.report.error == 0);
        EXPECT_EQ(ok, !reader.points.empty());
        EXPECT_TRUE(DGDriver::Log().empty()) << DGDriver::LogText();
    }
}

TEST_F(ReaderTest, PointLinesReadAlikeWhateverTheirBreaks) {
    // Random point files (numbers, short, blank and indented lines, a text row) with LF, CR LF, CR or mixed
    // breaks, with or without a last break: the same points as with LF; "Skip the first row" reads as the file
    // without its first line.
    std::mt19937 rng(13);
    auto read = [&](const std::string& bytes, bool skip) {
        TextFileCls reader;
        Run(
            reader, Write("breaks.txt", bytes), [&](TextFileCls& r) { r.tolerance = 0.0; },
            [&](TextFileCls& r) {
                r.skipFirstRow = skip;
                r.delimiterMode = DelimiterSpaces;
                r.minBlanks = 1;
                r.layout = 3;
            });
        return std::make_pair(Triples(reader.points), reader.pointsRead);
    };
    for (int round = 0; round < 40; ++round) {
        std::vector<std::string> lines;
        for (int n = 1 + rng() % 60; n > 0; --n) {
            const int kind = rng() % 8;
            lines.push_back(kind == 0       ? ""
                                : kind == 1 ? "7"
                                : kind == 2 ? "X Y Z"
                                            : std::string(kind == 3 ? "   " : "") + std::to_string(rng() % 1000) + " " +
                                    std::to_string(rng() % 1000) + " " + std::to_string(rng() % 100));
        }
        auto join = [&](const std::vector<std::string>& ls, int style, bool lastBreak) {
            std::string out;
            for (size_t i = 0; i < ls.size(); ++i) {
                out += ls[i];
                if (i + 1 == ls.size() && !lastBreak) break;
                const int s = style == 3 ? int(rng() % 3) : style;
                out += s == 0 ? "\n" : s == 1 ? "\r\n" : "\r";
            }
            return out;
        };
        if (join(lines, 0, false).find_first_not_of(" \r\n") == std::string::npos) continue;
        SCOPED_TRACE(round);
        const auto plain = read(join(lines, 0, true), false);
        for (int style = 0; style < 4; ++style)
            for (bool lastBreak : {false, true}) EXPECT_EQ(read(join(lines, style, lastBreak), false), plain);
        const std::vector<std::string> rest(lines.begin() + 1, lines.end());
        if (join(rest, 0, false).find_first_not_of(" \r\n") != std::string::npos) {
            EXPECT_EQ(read(join(lines, int(rng() % 4), rng() % 2 == 0), true), read(join(rest, 0, true), false));
        }
    }
}

// Points the filter merges at one position with other heights: each such position counted once and told, the
// height read first kept; one height met twice, or points only near each other, are no such position.
TEST_F(ReaderTest, MergedPointsOfOtherHeightsAreCountedPerPosition) {
    TextFileCls reader;
    Run(reader,
        Write("mixed.txt",
              "10 20 5\n10 20 7\n30 40 1\n30 40 1\n10 20 9\n50 60 2\n50.0 60 3\n70 80 4\n"
              "70.05 80 6\n"),
        [](TextFileCls& r) { r.tolerance = 0.1; });
    EXPECT_EQ(reader.report.Count(ReadIssue::MixedHeights), 2u);
    std::map<std::pair<double, double>, double> kept;
    for (const ASCFilePoint& p : reader.points) kept[{p.x, p.y}] = p.z;
    EXPECT_EQ(
        kept,
        (std::map<std::pair<double, double>, double>{{{10, 20}, 5}, {{30, 40}, 1}, {{50, 60}, 2}, {{70, 80}, 4}}));
    EXPECT_EQ(AlertDetails(), std::vector<std::string>{""});
    EXPECT_EQ(Alerts(),
              std::vector<std::string>{"Positions that had more than one height, each given the height read "
                                       "first (2)"});
    // Without the filter nothing is merged and nothing told.
    DGDriver::ClearQueueAndLog();
    TextFileCls all;
    Run(all, UserFile("mixed.txt"), [](TextFileCls& r) { r.tolerance = 0.0; });
    EXPECT_EQ(all.points.size(), 9u);
    EXPECT_FALSE(all.report.HasIssues());
    EXPECT_TRUE(Alerts().empty());
}

// Every line with text is read: one with fewer fields than the layout is skipped and told, as a damaged record in
// the middle, as the file ending early when it is the last one and no break follows it. A read that keeps no point
// is refused with the reason; a file of a single line says that it is one.
TEST_F(ReaderTest, ShortLinesAreCountedAsSkippedAndNoPointIsRefusedWithItsReason) {
    const std::string noPoint = "No point was found in the file: it was not read.",
                      singleLine = "The file has a single line and no point was read from it: the columns are "
                                   "found from a file's second line.";
    std::mt19937 rng(17);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(round);
        std::string bytes;
        size_t whole = 0, cut = 0, filled = 0;
        bool lastCut = false;
        for (int n = 1 + int(rng() % 12); n > 0; --n) {
            const int kind = int(rng() % 5);
            lastCut = false;
            if (kind == 0) {
                bytes += rng() % 2 ? "\n" : "  \t \n";
                continue;
            }
            ++filled;
            const std::string x = std::to_string(500000 + filled), y = std::to_string(6500000 + rng() % 1000);
            if (kind == 1) {
                bytes += x + (rng() % 2 ? " " + y : "") + "\n";
                ++cut;
                lastCut = true;
            } else {
                bytes += x + " " + y + " " + std::to_string(rng() % 100) + "\n";
                ++whole;
            }
        }
        const bool noLastBreak = !bytes.empty() && rng() % 2 == 0;
        if (noLastBreak) bytes.pop_back();
        if (filled == 0) continue;
        DGDriver::ClearQueueAndLog();
        TextFileCls reader;
        Run(
            reader, Write("short.txt", bytes), [](TextFileCls& r) { r.tolerance = 0.0; },
            [](TextFileCls& r) {
                r.delimiterMode = DelimiterSpaces;
                r.minBlanks = 1;
                r.layout = 3;
            });
        if (whole == 0) {
            EXPECT_TRUE(ShowedReadError());
            EXPECT_TRUE(reader.points.empty());
            const std::string details = AlertDetails().at(0);
            EXPECT_NE(details.find(filled == 1 ? singleLine : noPoint), std::string::npos) << details;
            continue;
        }
        EXPECT_FALSE(ShowedReadError());
        EXPECT_EQ(reader.points.size(), whole);
        EXPECT_EQ(reader.pointsRead, whole + cut);
        EXPECT_EQ(reader.pointsRead - reader.pointsKept, cut);
        const bool endedEarly = lastCut && noLastBreak;
        EXPECT_EQ(reader.report.Count(ReadIssue::EndedEarly), endedEarly ? 1u : 0u);
        EXPECT_EQ(reader.report.Count(ReadIssue::DamagedRecord), cut - (endedEarly ? 1 : 0));
        EXPECT_EQ(Alerts().size(), cut > 0 ? 1u : 0u);
    }

    // The files: a survey whose last line was cut inside its y, a file of one line, a title alone.
    DGDriver::ClearQueueAndLog();
    TextFileCls cutFile;
    Run(cutFile, Data("xyz/bad/cut_last_line.txt"));
    EXPECT_EQ(cutFile.points.size(), 6u);
    EXPECT_EQ(cutFile.pointsRead, 7u);
    EXPECT_EQ(Alerts(), std::vector<std::string>{"The file ends early: the records before its end were read."});
    const std::pair<std::string, std::string> refused[] = {
        {Data("xyz/bad/one_line.txt"), singleLine},
        {Write("title.txt", "Survey points\n"), singleLine},
        {Write("titles.txt", "x y z\nn/a n/a n/a\n"), "Damaged records were skipped.\n" + noPoint},
    };
    for (const auto& [path, reason] : refused) {
        SCOPED_TRACE(path);
        DGDriver::ClearQueueAndLog();
        TextFileCls reader;
        Run(reader, path);
        EXPECT_TRUE(ShowedReadError());
        EXPECT_EQ(AlertDetails(), std::vector<std::string>{reason});
    }
}

}  // namespace column_readers_test
