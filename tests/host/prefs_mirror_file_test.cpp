// The host's reading of the preferences mirror file that the scripts check saved settings with: every entry type
// walked over, scalars given back, and any file cut short or garbled refused without reading past its end.
#include "config/PrefsMirrorFile.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace prefs_mirror_file_test {

void PutInt(std::string& out, int32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); }
void PutReal(std::string& out, double v) { out.append(reinterpret_cast<const char*>(&v), 8); }
void PutHead(std::string& out, uint8_t type, const std::string& name) {
    out.push_back(char(type));
    PutInt(out, int32_t(name.size()));
    out += name;
}

std::string Sample() {
    std::string f = "QVPF";
    PutInt(f, 5);
    PutHead(f, 1, "count");
    PutInt(f, -4);
    PutHead(f, 2, "road_resolution");
    PutReal(f, 12.0);
    PutHead(f, 3, "road_ID");
    PutInt(f, 9);
    f += "Main road";
    PutHead(f, 5, "show_depth_RGB");
    PutInt(f, 4);
    PutInt(f, 3);
    for (int i = 0; i < 12; ++i) PutReal(f, i / 10.0);
    PutHead(f, 6, "names");
    PutInt(f, 1);
    PutInt(f, 2);
    PutInt(f, 1);
    f += "a";
    PutInt(f, 0);
    return f;
}

bool Read(const std::string& bytes, std::map<std::string, std::string>* entries, std::string* why) {
    std::filesystem::create_directories(TestSupport::OutputDir());
    // ctest runs each case as its own process at the same time: one file per case
    const std::string path = TestSupport::OutputDir() + "/prefs_mirror_" +
        ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".prf";
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
    entries->clear();
    return PrefsMirror::ReadScalars(path, entries, why);
}

TEST(PrefsMirrorFileTest, ScalarsComeBackAndArraysAreWalkedOver) {
    std::map<std::string, std::string> entries;
    std::string why;
    ASSERT_TRUE(Read(Sample(), &entries, &why)) << why;
    EXPECT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries["count"], "-4");
    EXPECT_EQ(entries["road_resolution"], "12");
    EXPECT_EQ(entries["road_ID"], "Main road");
}

TEST(PrefsMirrorFileTest, EveryCutAndEveryGarbledLengthIsRefused) {
    const std::string good = Sample();
    std::map<std::string, std::string> entries;
    std::string why;
    for (size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(Read(good.substr(0, n), &entries, &why)) << n;
    // Each four-byte field turned into a huge or negative number: refused or read, never past the end.
    for (size_t at = 4; at + 4 <= good.size(); ++at)
        for (const int32_t bad : {-1, INT32_MAX}) {
            std::string garbled = good;
            std::memcpy(&garbled[at], &bad, 4);
            Read(garbled, &entries, &why);
        }
    std::string wrongType = good;
    wrongType[8] = 9;
    EXPECT_FALSE(Read(wrongType, &entries, &why));
    EXPECT_FALSE(Read("QVPX", &entries, &why));
    EXPECT_FALSE(PrefsMirror::ReadScalars(TestSupport::OutputDir() + "/none.prf", &entries, &why));
}

}  // namespace prefs_mirror_file_test
