// The reader base on real files: line reading against a reference splitter, bad input, status codes, and the
// state after construction and Clear.
#include "TestSupport.hpp"

#include "fileio/BaseFileCls.hpp"

#include "IODriver.hpp"
#include "IO.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace file_reader_base_test {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class FileReaderBaseTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir_); }
    void TearDown() override { EXPECT_EQ(IODriver::PendingFailures(), 0); }
    std::string Native(const std::string& name) const { return dir_ + "/" + name; }
    // Writes the file and opens it in `reader`, as every reader starts: open, then the length.
    void Prepare(BaseFileCls& reader, const std::string& name, const std::string& bytes) const {
        std::ofstream(Native(name), std::ios::binary) << bytes;
        reader.path = QV_String((dir_ + "\\" + name).c_str(), Encoding_UTF8);
        ASSERT_EQ(reader.OpenReaderFile(), 0);
        ASSERT_EQ(reader.GetReaderFileLength(), 0);
    }
    const std::string dir_ = TestSupport::UserFolder() + "/readerbase";
};

// The callers' loop: lines while the position is below the length; the last status in `lastStatus`.
Lines ReadAllLines(BaseFileCls& reader, ReaderStatus* lastStatus = nullptr) {
    Lines lines;
    QV_String line;
    while (reader.readPosition < reader.fileLength && lines.size() < 10000000) {
        const ReaderStatus st = ReadTextLine(reader, line);
        if (lastStatus != nullptr) *lastStatus = st;
        lines.push_back(line.ToStdString());
    }
    return lines;
}

// Split at CR LF, lone CR and LF, no line after a final break, spaces trimmed, bytes in the system code page.
Lines ReferenceLines(const std::string& bytes) {
    Lines lines;
    std::string piece;
    auto take = [&]() {
        const size_t first = piece.find_first_not_of(' ');
        piece = first == std::string::npos ? "" : piece.substr(first, piece.find_last_not_of(' ') - first + 1);
        lines.push_back(QV_String(piece.c_str(), Encoding_System).ToStdString());
        piece.clear();
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n' && bytes[i] != '\r') {
            piece += bytes[i];
            continue;
        }
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        take();
    }
    if (!piece.empty()) take();
    return lines;
}

TEST_F(FileReaderBaseTest, LinesMatchReferenceSplitterOverRandomFiles) {
    std::mt19937 rng(20240611);
    const std::vector<std::string> atoms = {"a",  "7",    ".",    " ",    "  ",   "\t",   "\r",
                                            "\n", "\r\n", "\n\r", "\r\r", "\xe9", "\x80", "12.5;3,25"};
    for (int round = 0; round < 200; ++round) {
        // Some files outgrow the read-ahead block, so breaks fall on its borders.
        const size_t atomCount = round % 20 == 0 ? 40000 + rng() % 5000 : rng() % 60;
        std::string bytes;
        for (size_t k = 0; k < atomCount; ++k) bytes += atoms[rng() % atoms.size()];
        BaseFileCls reader;
        Prepare(reader, "mix.txt", bytes);
        ReaderStatus last = 0;
        ASSERT_EQ(ReadAllLines(reader, &last), ReferenceLines(bytes)) << "round " << round;
        EXPECT_EQ(last, 0);
        EXPECT_EQ(reader.readPosition, bytes.size());

        // Raw reads go on where a line ended.
        QV_String first;
        uint32_t available = 0, got = 0;
        ASSERT_EQ(reader.SetReaderFilePosition(0), 0);
        ReadTextLine(reader, first);
        ASSERT_EQ(reader.GetReaderFileAvailable(available), 0);
        std::string rest(available + 5, '\0');
        ASSERT_EQ(reader.ReadReaderFileBytes(&rest[0], available + 5, got), 0);
        EXPECT_EQ(rest.substr(0, got), bytes.substr(bytes.size() - available));
        EXPECT_EQ(reader.CloseReaderFile(), 0);
    }
}

TEST_F(FileReaderBaseTest, BadInputEndsWithoutHangOrGarbage) {
    BaseFileCls reader;
    QV_String line("x");
    Prepare(reader, "empty.txt", "");
    EXPECT_EQ(ReadTextLine(reader, line), 0);
    EXPECT_TRUE(line.IsEmpty());
    EXPECT_TRUE(ReadAllLines(reader).empty());

    // NUL bytes never enter a line and never glue two numbers together.
    Prepare(reader, "nul.txt",
            std::string("1\0"
                        "2 3\n\0\0\n  \0x\t",
                        14));
    EXPECT_EQ(ReadAllLines(reader), (Lines{"1 2 3", "", "x\t"}));

    // A length that claims more than the file holds: the loop ends at once with the text so far.
    ReaderStatus last = 0;
    Prepare(reader, "short.txt", "ab\ncd");
    reader.fileLength = 0xFFFFFFF0u;
    EXPECT_EQ(ReadAllLines(reader, &last), (Lines{"ab", "cd"}));
    EXPECT_EQ(last, 6);
    EXPECT_EQ(reader.status, 6);

    // A file cut short while it is read.
    std::string big;
    for (int i = 0; i < 20000; ++i) big += std::to_string(i) + " 1.5\r\n";
    Prepare(reader, "cut.txt", big);
    fs::resize_file(Native("cut.txt"), 100000);
    const Lines lines = ReadAllLines(reader, &last);
    EXPECT_NE(last, 0);
    EXPECT_EQ(lines.front(), "0 1.5");
    EXPECT_LT(lines.size(), 20000u);

    // A failed host read ends the line and the loop; a failed raw read delivers nothing.
    Prepare(reader, "cut.txt", big);
    IODriver::FailNext(IODriver::Op::Read, IO::ErrIO, 1, "cut.txt");
    EXPECT_EQ(ReadTextLine(reader, line), 3);
    EXPECT_EQ(reader.readPosition, reader.fileLength);
    IODriver::FailNext(IODriver::Op::Read, IO::ErrAccessDenied, 1, "cut.txt");
    uint32_t got = 99;
    EXPECT_EQ(reader.ReadReaderFileBytes(&big[0], 8, got), 4);
    EXPECT_EQ(got, 0u);

    // Beyond 32-bit positions the length is refused rather than wrapped (a sparse file: no disk used).
    Prepare(reader, "huge.bin", "x");
    fs::resize_file(Native("huge.bin"), (uint64_t(1) << 32) + 10);
    EXPECT_EQ(reader.GetReaderFileLength(), 6);
    EXPECT_TRUE(ReadAllLines(reader).empty());
    reader.CloseReaderFile();
    fs::remove(Native("huge.bin"));
}

TEST_F(FileReaderBaseTest, FileOperationsAnswerReaderStatus) {
    BaseFileCls reader;
    uint32_t n = 0;
    char byte = 0;
    QV_String line;
    // No file object: 1 everywhere, and a line read still reaches the length.
    reader.fileLength = 10;
    EXPECT_EQ(ReadTextLine(reader, line), 1);
    EXPECT_EQ(reader.readPosition, 10u);
    const ReaderStatus none[] = {reader.GetReaderFileLength(), reader.SetReaderFilePosition(0),
                                 reader.ReadReaderFileBytes(&byte, 1, n), reader.GetReaderFileAvailable(n),
                                 reader.CloseReaderFile()};
    for (ReaderStatus st : none) EXPECT_EQ(st, 1);

    reader.path = QV_String((dir_ + "\\missing.txt").c_str(), Encoding_UTF8);
    EXPECT_EQ(reader.OpenReaderFile(), 2);
    EXPECT_FALSE(reader.file);

    Prepare(reader, "here.txt", "1 2 3\n");
    const std::pair<GSErrCode, ReaderStatus> cases[] = {{IO::ErrNotFound, 2},     {IO::ErrIO, 3},
                                                        {IO::ErrAccessDenied, 4}, {IO::ErrGeneral, 5},
                                                        {IO::ErrParam, 6},        {IO::ErrAlreadyOpen, 6}};
    for (const auto& c : cases) {
        IODriver::FailNextOpens(c.first, 1, "here.txt");
        EXPECT_EQ(reader.OpenReaderFile(), c.second) << std::hex << c.first;
        EXPECT_EQ(reader.status, c.second);
        EXPECT_FALSE(reader.file);
    }
}

TEST_F(FileReaderBaseTest, FreshAndClearedState) {
    BaseFileCls reader;
    EXPECT_TRUE(reader.BoundsEmpty());
    EXPECT_EQ(reader.bounds.xMin, 1.79769313486231e308);
    EXPECT_EQ(reader.bounds.yMax, -1.79769313486231e308);
    reader.ExtendBounds(5.0, -2.0);
    EXPECT_EQ(std::vector<double>({reader.bounds.xMin, reader.bounds.xMax, reader.bounds.yMin, reader.bounds.yMax}),
              std::vector<double>({5.0, 5.0, -2.0, -2.0}));

    reader.options.code = "PT";
    reader.tolerance = 3.0;
    reader.originX = reader.limitArea.xMax = 1.0;
    reader.limitToArea = reader.importAgain = 1;
    reader.pointsRead = reader.pointsKept = reader.fileLength = reader.readPosition = 4;
    reader.Clear();
    EXPECT_TRUE(reader.BoundsEmpty());
    EXPECT_EQ(reader.status, -1);
    EXPECT_EQ(reader.tolerance, 0.1);
    EXPECT_EQ(reader.originX + reader.limitArea.xMax + reader.limitToArea + reader.importAgain, 0.0);
    EXPECT_EQ(reader.pointsRead + reader.pointsKept + reader.fileLength + reader.readPosition, 0u);
    EXPECT_TRUE(reader.options.code.IsEmpty());
}

}  // namespace file_reader_base_test
