// No circle of units in src/: a unit's header is included by the units it serves, never by a unit that its own
// files include, directly or through others.
#include "SourceUnits.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace unit_circles_test {

namespace fs = std::filesystem;
using namespace SourceUnits;

TEST(UnitCircles, NoUnitOfTheModuleOrTheHostIncludesAUnitThatIncludesIt) {
    for (const char* tree : {"src", "host/src"}) {
        const Graph graph = ReadUnits(fs::path(LODRAVIX_SOURCE_DIR) / tree);
        ASSERT_GT(graph.size(), 100u) << tree;
        std::string faults;
        for (const std::vector<std::string>& circle : Circles(graph)) faults += Describe(graph, circle);
        EXPECT_EQ(faults, "") << tree;
    }
}

// The finder against the definition: two units share a circle exactly when each reaches the other, over random
// graphs of every density.
TEST(UnitCircles, TheFinderGroupsExactlyTheUnitsThatReachEachOther) {
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
        const int n = 1 + static_cast<int>(random() % 14);
        const int edges = static_cast<int>(random() % static_cast<unsigned>(n * n / 2 + 2));
        auto name = [](int i) { return "f/U" + std::to_string(i); };
        Graph graph;
        std::vector<std::vector<bool>> reach(n, std::vector<bool>(n, false));
        for (int i = 0; i < n; ++i) graph[name(i)];
        for (int e = 0; e < edges; ++e) {
            const int a = static_cast<int>(random() % static_cast<unsigned>(n));
            const int b = static_cast<int>(random() % static_cast<unsigned>(n));
            if (a == b) continue;
            graph[name(a)].push_back({name(a) + ".cpp", e + 1, name(b)});
            reach[a][b] = true;
        }
        for (int k = 0; k < n; ++k)
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j)
                    if (reach[i][k] && reach[k][j]) reach[i][j] = true;

        std::vector<int> circleOf(n, -1);
        const std::vector<std::vector<std::string>> circles = Circles(graph);
        for (size_t c = 0; c < circles.size(); ++c) {
            ASSERT_GE(circles[c].size(), 2u);
            for (const std::string& u : circles[c]) {
                const int i = std::stoi(u.substr(3));
                ASSERT_EQ(circleOf[i], -1) << u << " in two circles";
                circleOf[i] = static_cast<int>(c);
            }
        }
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                if (i == j) continue;
                EXPECT_EQ(reach[i][j] && reach[j][i], circleOf[i] >= 0 && circleOf[i] == circleOf[j])
                    << "round " << round << ": U" << i << " and U" << j;
            }
    }
}

// The reader: both include forms, a unit's own header, commented-out and host includes; the report names the
// include lines of the circle and only those.
TEST(UnitCircles, TheReaderFollowsIncludesAndTheReportNamesTheirLines) {
    const fs::path src = fs::temp_directory_path() / ("unit_circles_" + std::to_string(::getpid()));
    fs::remove_all(src);
    fs::create_directories(src / "a");
    fs::create_directories(src / "b");
    auto write = [&](const std::string& file, const std::string& text) { std::ofstream(src / file) << text; };
    write("a/One.hpp", "#pragma once\n#include \"b/Two.hpp\"\n");
    write("a/One.cpp", "#include \"a/One.hpp\"\n// #include \"a/Three.hpp\"\n#include \"APIdefs.hpp\"\n");
    write("b/Two.hpp", "#pragma once\n#include <vector>\n");
    write("b/Two.cpp", "#include \"b/Two.hpp\"\n\n  #  include \"Alone.hpp\"\n");
    write("b/Alone.hpp", "#pragma once\n#include \"a/One.hpp\"\n");
    write("a/Three.hpp", "#pragma once\n#include \"a/One.hpp\"\n");

    const Graph graph = ReadUnits(src);
    EXPECT_EQ(graph.size(), 4u);
    EXPECT_EQ(graph.at("a/Three").size(), 1u);
    const std::vector<std::vector<std::string>> circles = Circles(graph);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0], (std::vector<std::string>{"a/One", "b/Alone", "b/Two"}));
    EXPECT_EQ(Describe(graph, circles[0]),
              "circle of 3 units: a/One b/Alone b/Two\n"
              "  a/One.hpp:2: includes b/Two.hpp\n"
              "  b/Alone.hpp:2: includes a/One.hpp\n"
              "  b/Two.cpp:3: includes b/Alone.hpp\n");
    fs::remove_all(src);
}

}  // namespace unit_circles_test
