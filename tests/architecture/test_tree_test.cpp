// The tests mirror the tree: every subsystem folder of the map has its test folder (tests/<folder>/, whose tests
// run in the program of its top folder), holding at least one test file. A test file keeps all its code in a
// namespace named after the file, so any files can share a unit of the test build.
#include "ArchitectureMap.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace test_tree_test {

namespace fs = std::filesystem;

TEST(TestTree, EveryFolderOfTheModuleHasItsTestFolder) {
    const ArchitectureMap::Map map = ArchitectureMap::ReadMap();
    ASSERT_FALSE(map.folders.empty());
    const fs::path tests = fs::path(LODRAVIX_SOURCE_DIR) / "tests";
    for (const std::string& folder : map.folders) {
        bool hasTest = false;
        if (fs::is_directory(tests / folder))
            for (const auto& e : fs::directory_iterator(tests / folder)) {
                const std::string name = e.path().filename().string();
                hasTest |= name.size() > 9 && name.compare(name.size() - 9, 9, "_test.cpp") == 0;
            }
        EXPECT_TRUE(hasTest) << "tests/" << folder << "/ holds no *_test.cpp";
    }
}

// Outside the file's namespace only comments, blank lines and the preprocessor (its includes) may stand.
bool OutsideLine(const std::string& line) { return line.empty() || line[0] == '#' || line.compare(0, 2, "//") == 0; }

TEST(TestTree, EveryTestFileKeepsItsCodeInANamespaceNamedAfterIt) {
    const fs::path tests = fs::path(LODRAVIX_SOURCE_DIR) / "tests";
    int files = 0;
    for (const auto& e : fs::recursive_directory_iterator(tests)) {
        const std::string name = e.path().filename().string();
        if (!e.is_regular_file() || name.size() <= 9 || name.compare(name.size() - 9, 9, "_test.cpp") != 0) continue;
        ++files;
        const std::string stem = name.substr(0, name.size() - 4);
        const std::string where = fs::relative(e.path(), tests).string();
        std::ifstream in(e.path());
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        size_t open = 0, close = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] == "namespace " + stem + " {") open = open ? open : i + 1;
            if (lines[i] == "}  // namespace " + stem) close = i + 1;
            EXPECT_NE(lines[i], "namespace {") << where << ":" << i + 1 << ": an unnamed namespace";
        }
        ASSERT_TRUE(open > 0 && close > open) << where << " has no namespace " << stem;
        for (size_t i = 0; i < lines.size(); ++i)
            if (i + 1 < open || i + 1 > close) {
                EXPECT_TRUE(OutsideLine(lines[i])) << where << ":" << i + 1 << " outside namespace " << stem;
            }
    }
    EXPECT_GT(files, 200);
}

}  // namespace test_tree_test
