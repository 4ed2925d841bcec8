// The tests mirror the tree: every subsystem folder of the map has its test folder (tests/<folder>/, whose tests
// run in the program of its top folder), holding at least one test file.
#include "ArchitectureMap.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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
