// A run forked from a run reads the files its parent has open at its own positions, and hands its end back.
#include "ForkedRun.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace forked_run_test {

std::string ReadSome(int fd, size_t n) {
    std::string out(n, '\0');
    const ssize_t got = read(fd, out.data(), n);
    out.resize(got > 0 ? size_t(got) : 0);
    return out;
}

TEST(ForkedRun, AChildReadsAnOpenFileWithoutMovingItsParentsPosition) {
    char path[] = "/tmp/lodravix-forked-XXXXXX";
    const int writer = mkstemp(path);
    ASSERT_GE(writer, 0);
    const std::string text = "abcdefghijklmnopqrstuvwxyz";
    ASSERT_EQ(write(writer, text.data(), text.size()), ssize_t(text.size()));
    close(writer);
    const auto writtenBefore = Sweep::FilesBeingWritten();

    for (size_t start = 0; start < text.size(); start += 5) {
        const int fd = open(path, O_RDONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ReadSome(fd, start), text.substr(0, start));
        EXPECT_EQ(Sweep::FilesBeingWritten(), writtenBefore) << "a file open for reading is not being written";
        int readEnd = -1;
        const pid_t pid = Sweep::ForkChild(&readEnd);
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (!Sweep::OwnReadPositions()) Sweep::EndChild("no own positions", false);
            Sweep::EndChild(ReadSome(fd, 100), false);
        }
        const Sweep::ChildEnd end = Sweep::WaitChild(pid, readEnd);
        EXPECT_TRUE(end.handedBack) << end.fault;
        EXPECT_EQ(end.text, text.substr(start));
        EXPECT_EQ(ReadSome(fd, 3), text.substr(start, 3)) << "the child moved the parent's position";
        close(fd);
    }

    const int appender = open(path, O_WRONLY | O_APPEND);
    ASSERT_GE(appender, 0);
    EXPECT_NE(Sweep::FilesBeingWritten(), writtenBefore);
    close(appender);
    std::remove(path);
}

}  // namespace forked_run_test
