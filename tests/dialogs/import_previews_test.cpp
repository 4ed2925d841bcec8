// What the import dialogs preview of a file: the rows each column layout makes of a line, the raw text with
// its blanks and TABs marked, and which lines are previewed.
#include "InProcessHost.hpp"

#include "DGDriver.hpp"

#include "dialogs/settings/AscImportDialog.hpp"
#include "dialogs/settings/TextImportPreview.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <utility>

namespace import_previews_test {

std::string Row(int32_t layout, bool swap, double factor, const char* line, char delimiter = '\t') {
    return FormatPreviewRow(layout, delimiter, swap, factor, QV_String(line)).ToStdString();
}

TEST(ImportPreviews, RowsFollowTheLayoutAxisOrderAndUnit) {
    EXPECT_EQ(Row(3, false, 0.01, "1250\t3400\t55"), "12.5\t34\t0.55");
    EXPECT_EQ(Row(7, false, 1.0, "1\t2\t3"), "1\t2\t3\t \t ");
    EXPECT_EQ(Row(2, true, 1.0, "P1\t10\t20\t30"), "P1\t20\t10\t30");
    EXPECT_EQ(Row(1, true, 1.0, "10\t20\t30\tK"), "20\t10\t30\tK");
    EXPECT_EQ(Row(5, false, 1.0, "1\t2\tnote\tC7\textra"), "1\t2\tnote\tC7");
    EXPECT_EQ(Row(6, false, 1.0, "C\t1,5\t2\t3\tc"), "C\t1.5\t2\t3\tc");
    // A header row is no number: the largest double, as the preview shows it.
    EXPECT_EQ(Row(3, false, 1.0, "X\tY\tZ"), "1.79769e+308\t1.79769e+308\t1.79769e+308");
    EXPECT_EQ(Row(3, false, 1.0, "1500000;2;3", ';'), "1.5e+06\t2\t3");
    // Missing coordinates read "0.0".
    EXPECT_EQ(Row(3, false, 1.0, "7"), "7\t0\t0");
}

TEST(ImportPreviews, RawTextMarksBlanksAndTabsWholeLines) {
    // Longer than any fixed room: the whole line is kept.
    const std::string longLine(5000, '7');
    const QV_String text = RawPreviewText({QV_String("1 2\t3"), QV_String(longLine.c_str())});
    EXPECT_EQ(text.ToStdString(),
              "1\xE2\x80\xA2"
              "2\xC2\xBB   3\r\n" +
                  longLine + "\r\n");
}

class PreviewLinesTest : public InProcessHostTest {};

TEST_F(PreviewLinesTest, FiveLooksAfterTheSkippedLineBlankLinesLeftOut) {
    ASSERT_TRUE(host->Load());
    const std::string path = UserFile("preview.txt");
    std::ofstream(path, std::ios::binary) << "head\nl2\n\nl4\nl5\nl6\nl7\n";
    TextFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    ASSERT_EQ(reader.OpenReaderFile(), 0);
    ASSERT_EQ(reader.GetReaderFileLength(), 0);
    std::vector<std::string> got;
    for (const QV_String& line : ReadPreviewLines(reader, true)) got.push_back(line.ToStdString());
    EXPECT_EQ(got, (std::vector<std::string>{"l2", "l4", "l5", "l6"}));
    got.clear();
    for (const QV_String& line : ReadPreviewLines(reader, false)) got.push_back(line.ToStdString());
    EXPECT_EQ(got, (std::vector<std::string>{"head", "l2", "l4", "l5"}));
    reader.CloseReaderFile();
    // The same lines behind a UTF-16 mark preview as they will be read, not as their raw bytes.
    const std::string plain = "head\r\nl2\r\n\r\nl4 x\r\nl5\r\nl6\r\n";
    std::string wide = "\xFF\xFE";
    for (char c : plain) wide += std::string{c, '\0'};
    std::ofstream(path, std::ios::binary | std::ios::trunc) << wide;
    ASSERT_EQ(reader.OpenReaderFile(), 0);
    ASSERT_EQ(reader.GetReaderFileLength(), 0);
    got.clear();
    for (const QV_String& line : ReadPreviewLines(reader, false)) got.push_back(line.ToStdString());
    EXPECT_EQ(got, (std::vector<std::string>{"head", "l2", "l4 x", "l5"}));
    reader.CloseReaderFile();
}

TEST_F(PreviewLinesTest, TheGridDialogShowsTheUnitAndTheCellsOfTheFirstRows) {
    ASSERT_TRUE(host->Load());
    auto open = [&](const std::string& name, const std::string& text, int16_t unit) {
        const std::string path = UserFile(name);
        std::ofstream(path, std::ios::binary) << text;
        ASCFile::ASCFileCls reader;
        reader.path = QV_String(path.c_str(), Encoding_UTF8);
        reader.options.SetDefaults();
        reader.unitCode = unit;
        EXPECT_TRUE(reader.Detect());
        EXPECT_TRUE(AskAscImportOptions(reader));
        reader.CloseReaderFile();
        DGDriver::LogRecord shown;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "modal" && r.id == AscImportDialogId) shown = r;
        return std::make_pair(shown, reader.unitCode);
    };
    auto item = [](const DGDriver::LogRecord& r, int16_t id) {
        for (const DGDriver::ItemState& s : r.items)
            if (s.id == id) return s;
        return DGDriver::ItemState();
    };
    const std::string header = "ncols 3\nnrows 2\nxllcorner 100\nyllcorner 200\ncellsize 10\nNODATA_value -1\n";
    // An unknown unit shows as "decimal inches" and is stored so (its factor until then 1); each row's first cell
    // where the reader puts it: the northern row at y0 + 3 size / 2, the southern at y0 + size / 2.
    const auto [grid, unit] = open("u.asc", header + "1 2 3\n4 5 6\n", 7);
    EXPECT_EQ(unit, 4);
    EXPECT_EQ(item(grid, 11).selected, 6);
    ASSERT_EQ(item(grid, 6).rows.size(), 2u);
    EXPECT_EQ(item(grid, 6).rows[0].texts, (std::vector<std::string>{"105", "215", "1"}));
    EXPECT_EQ(item(grid, 6).rows[1].texts, (std::vector<std::string>{"105", "205", "4"}));
    // Rows without a delimiter: the raw lines in one wide column.
    const auto [single, unused] = open("s.asc", header + "7\n8\n", 0);
    ASSERT_EQ(item(single, 6).tabFields.size(), 1u);
    EXPECT_EQ(item(single, 6).rows[0].texts, (std::vector<std::string>{"7"}));
}

}  // namespace import_previews_test
