// A run is repeatable: the host's generators start from the run's seed, so one script run twice with one seed
// leaves the same project, byte for byte, and another seed changes only what the generators made.
#include "InProcessHost.hpp"
#include "GSGuid.hpp"
#include "RuntimeDriver.hpp"
#include "script/ScriptRunner.hpp"

#include <filesystem>
#include <sstream>

namespace run_seed_test {

class RunSeedTest : public InProcessHostTest {
protected:
    // A fresh host over an empty user folder, as a new run of the program starts; the project's dump at the end.
    std::string RunExample(const std::string& name, uint64_t seed) {
        TearDown();
        SetUp();  // an empty user folder
        HostSettings settings = host->Settings();
        settings.embeddedLibrary = true;
        settings.seed = seed;
        host.reset();
        host = std::make_unique<StandinHost>(settings, &log);
        host->UseInProcess({GetExportedFuncAddrs, SetImportedFuncAddrs});
        std::ostringstream out;
        ScriptRunner runner(*host, out);
        EXPECT_TRUE(runner.RunFile(std::string(LODRAVIX_SOURCE_DIR) + "/examples/" + name + ".script")) << name << "\n"
                                                                                                        << out.str();
        return host->Database().DumpJson(2);
    }
};

// The lines of two texts that differ, as "<line>: a | b", for a failure's message.
std::string Differences(const std::string& a, const std::string& b) {
    std::istringstream x(a), y(b);
    std::string l, r, out;
    for (int line = 1; std::getline(x, l) && std::getline(y, r); ++line)
        if (l != r) out += std::to_string(line) + ": " + l + " | " + r + "\n";
    return out;
}

TEST_F(RunSeedTest, OneScriptRunTwiceWithOneSeedLeavesTheSameProject) {
    // contour_slopes groups its points and constraints (7 group GUIDs).
    const std::string first = RunExample("contour_slopes", DefaultRunSeed);
    const std::string second = RunExample("contour_slopes", DefaultRunSeed);
    EXPECT_EQ(first, second) << Differences(first, second);
    EXPECT_NE(first.find("\"group\""), std::string::npos);
    // Runs before it in this process change nothing either.
    for (const uint64_t seed : {uint64_t(0), uint64_t(77), ~uint64_t(0)})
        EXPECT_EQ(RunExample("contour_slopes", seed), RunExample("contour_slopes", seed)) << seed;
}

TEST_F(RunSeedTest, AnotherSeedGivesOtherGroupIdsOnly) {
    const std::string one = RunExample("contour_slopes", 1);
    const std::string two = RunExample("contour_slopes", 2);
    ASSERT_NE(one, two);
    std::istringstream a(one), b(two);
    std::string l, r;
    int differing = 0;
    while (std::getline(a, l) && std::getline(b, r)) {
        if (l == r) continue;
        ++differing;
        EXPECT_NE(l.find("\"group\""), std::string::npos) << l << " | " << r;
    }
    EXPECT_GT(differing, 0);
}

TEST_F(RunSeedTest, TheGuidSequenceFollowsItsSeed) {
    for (const uint64_t seed : {uint64_t(0), uint64_t(1), uint64_t(0xFFFFFFFFFFFFFFFFull), uint64_t(1) << 32}) {
        RuntimeDriver::SeedGuids(seed);
        std::vector<GS::Guid> first;
        for (int i = 0; i < 20; ++i) first.push_back(GS::Guid::Generate());
        RuntimeDriver::SeedGuids(seed);
        for (int i = 0; i < 20; ++i) EXPECT_EQ(GS::Guid::Generate(), first[size_t(i)]) << seed << " " << i;
        RuntimeDriver::SeedGuids(seed ^ 1);
        EXPECT_NE(GS::Guid::Generate(), first[0]) << seed;
    }
}

}  // namespace run_seed_test
