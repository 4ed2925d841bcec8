// The stand-in host's folders stand in tiers, and a folder includes only folders of lower tiers (and its own): the
// project's parts are put together in assembly/, above the families, so that no family includes one above it. The
// core (the files of host/src itself) is the face every family uses and stands outside the tiers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace host_layering_test {

namespace fs = std::filesystem;

// The tiers, lowest first; docs/ARCHITECTURE.md's host paragraph gives the same order.
const std::map<std::string, int>& Tiers() {
    static const std::map<std::string, int> tiers = {
        {"config", 0},  {"library", 0}, {"module", 0}, {"project", 1},  {"model3d", 2},
        {"drawing", 3}, {"view3d", 3},  {"ui", 3},     {"assembly", 4}, {"script", 5},
    };
    return tiers;
}

TEST(HostLayering, NoFolderOfTheHostIncludesOneAboveIt) {
    const fs::path src = fs::path(LODRAVIX_SOURCE_DIR) / "host" / "src";
    const std::regex include(R"re(^\s*#\s*include\s*"([a-z0-9]+)/)re");
    int includes = 0;
    for (const auto& e : fs::recursive_directory_iterator(src)) {
        if (!e.is_regular_file()) continue;
        const fs::path rel = fs::relative(e.path(), src);
        if (rel.parent_path().empty()) continue;  // the core
        const std::string folder = rel.begin()->string();
        ASSERT_EQ(Tiers().count(folder), 1u) << "host/src/" << folder << "/ has no tier";
        std::ifstream in(e.path());
        std::smatch m;
        for (std::string line; std::getline(in, line);) {
            if (!std::regex_search(line, m, include) || m[1] == folder) continue;
            ++includes;
            const auto used = Tiers().find(m[1]);
            ASSERT_NE(used, Tiers().end()) << rel.string() << " includes " << m[1] << "/, which has no tier";
            EXPECT_LT(used->second, Tiers().at(folder)) << rel.string() << " includes " << m[1] << "/";
        }
    }
    EXPECT_GT(includes, 20);
}

}  // namespace host_layering_test
