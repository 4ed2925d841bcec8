// Number fields of grid and point files: a field is a number only when the whole of it is one. A field that is
// partly a number ("abc12", "1010abc", "1.2.3") is a damaged record: skipped, counted and told, never read as the
// number inside it.
#include "ReaderFixture.hpp"

#include "fileio/FieldNumber.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <regex>

namespace number_fields_test {

// Over many short texts of digits, marks, signs, exponents, blanks and letters, a field reads as a number exactly
// when the whole of it is one, and then as that number.
TEST(NumberFields, AFieldIsANumberOnlyWhenWhollyOne) {
    const std::regex whole(R"(^[ \t]*[-+]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)([eE][-+]?[0-9]+)?[ \t]*$)");
    const std::string alphabet = "0123456789.,-+eE ax";
    std::mt19937 random(69);
    for (int i = 0; i < 200000; ++i) {
        std::string text(1 + random() % 8, ' ');
        for (char& c : text) c = alphabet[random() % alphabet.size()];
        double value = 0.0;
        const bool read = ParseFieldNumber(text.data(), text.data() + text.size(), value);
        std::string plain = text;
        for (char& c : plain) c = c == ',' ? '.' : c;
        // Beyond a double's range, either way, is no number either.
        errno = 0;
        const double reference = std::strtod(plain.c_str(), nullptr);
        const bool beyond = errno == ERANGE && (reference == 0.0 || !std::isfinite(reference));
        ASSERT_EQ(read, std::regex_match(text, whole) && !beyond) << '"' << text << '"';
        if (!read) continue;
        ASSERT_EQ(value, reference) << '"' << text << '"';
    }
    for (const char* text : {"abc12", "1010abc", "1.2.3", "12m", "N12", "1e", "1e+", "--1", "1-2", "0x10"}) {
        double value = 0.0;
        EXPECT_FALSE(ParseFieldNumber(text, text + std::strlen(text), value)) << text;
    }
}

class NumberFieldsTest : public ReaderTest {};

TEST_F(NumberFieldsTest, PointLinesWithFieldsThatAreNotWhollyNumbersAreSkippedCountedAndTold) {
    const std::string path = Write("survey.xyz",
                                   "1000.0 2000.0 101.5\n"
                                   "1.2.3 2021 101.5\n"
                                   "1010.0 2010.0 102.5\n"
                                   "abc12 2030 103\n"
                                   "1010abc 2040 104\n"
                                   "1020.0 2020.0 10x3.5\n"
                                   "1030.0 2030.0 104.5\n");
    TextFileCls reader;
    Run(reader, path);
    ASSERT_EQ(reader.report.error, 0);
    ASSERT_EQ(reader.points.size(), 3u);
    for (const ASCFile::ASCFilePoint& p : reader.points) EXPECT_GE(p.x, 1000.0);
    EXPECT_EQ(reader.report.Count(ReadIssue::DamagedRecord), 4u);
    EXPECT_EQ(AlertDetails().size(), 1u);
    EXPECT_NE(Alerts().back().find("Damaged records were skipped. (4)"), std::string::npos) << Alerts().back();
    // A read with notes is no error, and its alert is not titled as one.
    EXPECT_EQ(DGDriver::Log().back().title, "Read, with notes");
}

TEST_F(NumberFieldsTest, GridCellsThatAreNotWhollyNumbersMakeNoPointAndAreTold) {
    const std::string path = Write("grid.asc",
                                   "ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 10\n"
                                   "1 abc12 3\n"
                                   "1010abc 5 1.2.3\n");
    ASCFile::ASCFileCls reader;
    Run(reader, path);
    ASSERT_EQ(reader.report.error, 0);
    EXPECT_EQ(reader.points.size(), 3u);
    EXPECT_EQ(reader.report.Count(ReadIssue::BadNumber), 3u);
    for (const ASCFile::ASCFilePoint& p : reader.points) EXPECT_LT(p.z, 6.0);
    const std::string header =
        Write("header.asc", "ncols 3\nnrows 1\nxllcorner 10abc\nyllcorner 0\ncellsize 10\n1 2 3\n");
    ASCFile::ASCFileCls refused;
    Run(refused, header);
    EXPECT_EQ(refused.report.error, 8);
    EXPECT_EQ(refused.report.Count(ReadIssue::GridHeaderValue), 1u);
    EXPECT_NE(refused.report.Describe().ToStdString(Encoding_UTF8).find("\"xllcorner\""), std::string::npos);
}

}  // namespace number_fields_test
