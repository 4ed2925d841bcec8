// FileExists and WriteBufferToFile over the host's file library, with its failure switches.
#include "TestSupport.hpp"

#include "foundation/FileUtils.hpp"

#include "IODriver.hpp"
#include "IO.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fileutils_test {

namespace fs = std::filesystem;

class FileUtilsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = TestSupport::UserFolder() + "/fileutils";
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        IODriver::ClearFailures();
    }
    void TearDown() override {
        EXPECT_EQ(IODriver::PendingFailures(), 0);
        IODriver::ClearFailures();
    }
    // The module's path text: "\" separated.
    QV_String PathText(const std::string& name) const {
        std::string text = dir_ + "\\" + name;
        return QV_String(text.c_str(), Encoding_UTF8);
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(dir_ + "/" + name, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    std::string dir_;
};

TEST_F(FileUtilsTest, WritesReplaceOrAppendAndCreateWhenAsked) {
    const std::string bytes("a\0b\xff", 4);
    EXPECT_EQ(WriteBufferToFile(PathText("f.bin"), bytes.data(), 4), 0);
    EXPECT_EQ(Read("f.bin"), bytes);
    EXPECT_EQ(WriteBufferToFile(PathText("f.bin"), "xy", 2), 0);
    EXPECT_EQ(Read("f.bin"), "xy");
    EXPECT_EQ(WriteBufferToFile(PathText("f.bin"), "z", 1, true), 0);
    EXPECT_EQ(Read("f.bin"), "xyz");
    EXPECT_EQ(WriteBufferToFile(PathText("f.bin"), nullptr, 0), 0);
    EXPECT_EQ(Read("f.bin"), "");
    EXPECT_TRUE(FileExists(PathText("f.bin")));

    // Not created when asked not to.
    EXPECT_EQ(WriteBufferToFile(PathText("missing.bin"), "x", 1, false, false), FileErrNotFound);
    EXPECT_FALSE(FileExists(PathText("missing.bin")));
    // A folder that does not exist.
    EXPECT_NE(WriteBufferToFile(PathText("no\\such\\f.bin"), "x", 1), 0);
    EXPECT_FALSE(FileExists(PathText("no\\such\\f.bin")));
    // No path, or bytes missing for a count.
    EXPECT_EQ(WriteBufferToFile(QV_String(), "x", 1), FileErrOther);
    EXPECT_EQ(WriteBufferToFile(PathText("g.bin"), nullptr, 3), FileErrOther);
    EXPECT_FALSE(FileExists(QV_String()));
}

TEST_F(FileUtilsTest, HostErrorsBecomeSmallCodes) {
    ASSERT_EQ(WriteBufferToFile(PathText("f.bin"), "old", 3), 0);
    const struct {
        GSErrCode host;
        int32_t small;
    } cases[] = {{IO::ErrGeneral, 5},      {IO::ErrIO, 3},    {IO::ErrNotFound, 2},
                 {IO::ErrAccessDenied, 4}, {IO::ErrParam, 6}, {IO::ErrAlreadyOpen, 6}};
    for (const auto& c : cases) {
        IODriver::FailNextOpens(c.host, 1, "f.bin");
        EXPECT_EQ(WriteBufferToFile(PathText("f.bin"), "new", 3), c.small) << std::hex << c.host;
        EXPECT_EQ(Read("f.bin"), "old");
    }
    IODriver::FailNext(IODriver::Op::Create, IO::ErrAccessDenied, 1, "new.bin");
    EXPECT_EQ(WriteBufferToFile(PathText("new.bin"), "x", 1), FileErrAccessDenied);
    EXPECT_FALSE(fs::exists(dir_ + "/new.bin"));
    // A failed write is a failure whatever the host said.
    IODriver::FailNextWrites(IO::ErrAccessDenied, 1, "f.bin");
    EXPECT_EQ(WriteBufferToFile(PathText("f.bin"), "new", 3), FileErrOther);
}

TEST_F(FileUtilsTest, FileExistsMeansItCanBeOpened) {
    ASSERT_EQ(WriteBufferToFile(PathText("here.txt"), "1", 1), 0);
    EXPECT_TRUE(FileExists(PathText("here.txt")));
    IODriver::FailNextOpens(IO::ErrAccessDenied, 1, "here.txt");
    EXPECT_FALSE(FileExists(PathText("here.txt")));
    EXPECT_FALSE(FileExists(PathText("there.txt")));
}

}  // namespace fileutils_test
