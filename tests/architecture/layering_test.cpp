// Every include of the module stays inside the map of docs/ARCHITECTURE.md: a folder includes only itself, the
// folders its row names, the host's public interfaces (platform/include) and the standard library.
#include "ArchitectureMap.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace layering_test {

namespace fs = std::filesystem;

using namespace ArchitectureMap;

std::set<std::string> PublicHostHeaders() {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(std::string(LODRAVIX_SOURCE_DIR) + "/platform/include"))
        names.insert(e.path().filename().string());
    return names;
}

TEST(Layering, TheMapNamesEverySubsystemFolderOnce) {
    const Map map = ReadMap();
    const std::set<std::string> listed(map.folders.begin(), map.folders.end());
    EXPECT_EQ(listed.size(), map.folders.size());
    for (const char* f : {"foundation", "geometry", "geometry/project", "elements", "settings", "shell", "terrain",
                          "earthworks", "siteobjects", "fileio", "sosi", "dialogs"})
        EXPECT_EQ(listed.count(f), 1u) << f;
    for (const auto& [folder, uses] : map.uses)
        for (const std::string& u : uses) EXPECT_EQ(listed.count(u), 1u) << folder << " uses unknown " << u;
}

// Lower never uses higher: a row names only folders of the rows above it, so the uses form no circle.
TEST(Layering, EveryFolderUsesOnlyFoldersAboveIt) {
    const Map map = ReadMap();
    for (size_t row = 0; row < map.folders.size(); ++row) {
        const std::string& folder = map.folders[row];
        if (map.uses.count(folder) == 0) continue;
        for (const std::string& u : map.uses.at(folder)) {
            const size_t used = size_t(std::find(map.folders.begin(), map.folders.end(), u) - map.folders.begin());
            EXPECT_LT(used, row) << folder << "/ uses " << u << "/, which is not above it";
        }
    }
}

TEST(Layering, EveryIncludeOfTheModuleIsInsideTheMap) {
    const Map map = ReadMap();
    ASSERT_FALSE(map.folders.empty());
    const std::set<std::string> hostHeaders = PublicHostHeaders();
    const fs::path src = fs::path(LODRAVIX_SOURCE_DIR) / "src";
    const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
    std::ostringstream faults;
    int files = 0;
    for (const auto& e : fs::recursive_directory_iterator(src)) {
        const std::string ext = e.path().extension().string();
        if (ext != ".cpp" && ext != ".hpp") continue;
        ++files;
        const std::string relative = fs::relative(e.path(), src).generic_string();
        const std::string own = FolderOf(map, relative);
        if (own.empty()) {
            faults << relative << ": not inside a folder of the map\n";
            continue;
        }
        std::ifstream in(e.path());
        int lineNo = 0;
        for (std::string line; std::getline(in, line);) {
            ++lineNo;
            std::smatch m;
            if (!std::regex_search(line, m, include)) continue;
            const std::string target = m[1];
            if (target.find('/') == std::string::npos) {
                if (hostHeaders.count(target) == 0 && !fs::exists(e.path().parent_path() / target))
                    faults << relative << ":" << lineNo << ": \"" << target
                           << "\" is neither beside it nor a host header\n";
                continue;
            }
            const std::string used = FolderOf(map, target);
            if (used.empty() || !fs::exists(src / target))
                faults << relative << ":" << lineNo << ": \"" << target << "\" is not a header of the module\n";
            else if (used != own && (map.uses.count(own) == 0 || map.uses.at(own).count(used) == 0))
                faults << relative << ":" << lineNo << ": " << own << "/ may not use " << used << "/\n";
        }
    }
    EXPECT_GT(files, 50);
    EXPECT_EQ(faults.str(), "");
}

}  // namespace layering_test
