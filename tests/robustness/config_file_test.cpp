// Configuration files under seeded mutation, through the in-process host: a mutated file loads or is refused;
// a file that was not read whole is never rewritten (its bytes stay as they were); a file read whole and
// rewritten by SetConfigValue gives every key its former value.
#include "config/HostConfigFile.hpp"
#include "Mutator.hpp"
#include "InProcessHost.hpp"
#include "TestSupport.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Config.hpp"

#include "IODriver.hpp"
#include "StandinHost.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

namespace config_file_test {

namespace fs = std::filesystem;

const std::vector<std::string> kSeeds = {
    "$Other AddOn: keep me\r\n$Language_str: ita\r\n$Last: 3\r\n",
    "$a:xyz\r\n$b: v\r\n",
    "$a: 1\r$b: 2\n$c: \r\n$d:",
    "$m: one\r\n#two\n#\r#three\r\n$n: z\r\n",
    "$k: first\r\n$k: second\r\n",
    "$Language_str: ger\r\n$Units: \xE6\xF8\xE5 \x80\x81\x8D\x8F\x90\x9D\xFF\r\n",
};

const std::vector<std::string> kTokens = {
    "$",    ":",    ": ", "\r\n", "\r", "\n", "\r\n#", "\n#", "#", "$Language_str: ", std::string(1, '\0'),
    "\xFF", "\x81", "$$", "::",
};

std::string Swap(std::string bytes) {
    HostConfig::SwapNibbles(bytes);
    return bytes;
}

// Every text that could be a key of the (plain) text: what follows a '$' up to the next ':'.
std::set<std::string> CandidateKeys(const std::string& text) {
    std::set<std::string> keys;
    for (size_t p = text.find('$'); p != std::string::npos; p = text.find('$', p + 1)) {
        const size_t colon = text.find(':', p + 1);
        if (colon != std::string::npos && colon > p + 1 && colon - p < 200)
            keys.insert(text.substr(p + 1, colon - p - 1));
    }
    return keys;
}

class ConfigFileRobustness : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        folder_ = TestSupport::UserFolder();
        ASSERT_TRUE(host->Attach());
        IODriver::ClearFailures();
        ResetConfigCaches();
    }
    void TearDown() override {
        ResetConfigCaches();
        InProcessHostTest::TearDown();
    }

    std::string Path() const { return folder_ + "/Brenmaro.cfg"; }
    void WriteRaw(const std::string& bytes) const { std::ofstream(Path(), std::ios::binary) << bytes; }
    std::string ReadRaw() const {
        std::ifstream in(Path(), std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    // "<missing>" or the value, in the system code page.
    static std::string Value(const std::string& key) {
        QV_String value;
        if (!GetConfigValue(ConfigSharedFile, QV_String(key.c_str(), Encoding_System), &value, true))
            return "<missing>";
        return value.ToStdString(Encoding_System);
    }

    // Feeds one plain text (stored swapped). Returns 0 refused, 1 loaded but not rewritable, 2 rewritten.
    int Check(const std::string& plain, const std::string& where) {
        const std::string stored = Swap(plain);
        WriteRaw(stored);
        ResetConfigCaches();
        bool loaded = false;
        try {
            loaded = LoadConfigFile(ConfigSharedFile, false);
        } catch (...) {
            ADD_FAILURE() << where << ": exception";
            return 0;
        }
        const std::set<std::string> keys = CandidateKeys(plain);
        std::map<std::string, std::string> before;
        for (const std::string& k : keys) before[k] = Value(k);
        if (!loaded) {
            for (const auto& kv : before) EXPECT_EQ(kv.second, "<missing>") << where;
        }

        const bool rewritten = SetConfigValue(ConfigSharedFile, QV_String("Robustness Probe"), QV_String("1"), true);
        if (!loaded) {
            EXPECT_FALSE(rewritten) << where;
        }
        if (!rewritten) {
            EXPECT_EQ(ReadRaw(), stored) << where << ": a file not read whole was changed";
            return loaded ? 1 : 0;
        }
        // Read back from disk: every key keeps its value, and the probe is there.
        ResetConfigCaches();
        EXPECT_TRUE(LoadConfigFile(ConfigSharedFile, false)) << where;
        for (const auto& kv : before) EXPECT_EQ(Value(kv.first), kv.second) << where << " key " << kv.first;
        EXPECT_EQ(Value("Robustness Probe"), "1") << where;
        // What was written is whole: written again it stays byte for byte the same.
        const std::string written = ReadRaw();
        EXPECT_TRUE(SetConfigValue(ConfigSharedFile, QV_String("Robustness Probe"), QV_String("1"), true)) << where;
        EXPECT_EQ(ReadRaw(), written) << where;
        return 2;
    }

    std::string folder_;
};

TEST_F(ConfigFileRobustness, SeedsAndEveryTruncation) {
    int outcomes[3] = {0, 0, 0};
    for (const std::string& seed : kSeeds) {
        EXPECT_GE(Check(seed, seed), 1) << seed;
        for (size_t len = 0; len < seed.size(); ++len)
            ++outcomes[Check(seed.substr(0, len), "'" + seed + "' cut at " + std::to_string(len))];
    }
    EXPECT_GT(outcomes[0], 0);
    // A cut file that loads was read to its end: its unfinished last entry is kept on a rewrite, never a reason
    // to refuse one.
    EXPECT_EQ(outcomes[1], 0);
    EXPECT_GT(outcomes[2], 0);
}

TEST_F(ConfigFileRobustness, SeededMutants) {
    Robustness::Mutator m(0x43464721u);
    int outcomes[3] = {0, 0, 0};
    for (int i = 0; i < 400 && !HasFailure(); ++i) {
        const std::string plain =
            m.OneIn(10) ? m.RandomBytes(40) : m.Mutate(kSeeds[m.Below(uint32_t(kSeeds.size()))], kTokens);
        ++outcomes[Check(plain, "mutant " + std::to_string(i))];
    }
    EXPECT_GT(outcomes[0], 0);
    EXPECT_GT(outcomes[2], 0);
}

TEST_F(ConfigFileRobustness, OversizedAndUnreadableFilesAreNeverRewritten) {
    std::string big;
    while (big.size() <= ConfigMaxFileBytes) big += "$k: " + std::string(90, 'v') + "\r\n";
    EXPECT_EQ(Check(big, "oversized"), 0);
    // Just within the limit it loads and is kept whole.
    std::string fits = big.substr(0, ConfigMaxFileBytes - ConfigMaxFileBytes % 96);
    fits.resize(fits.rfind("\r\n") + 2);
    EXPECT_GE(Check(fits, "within the limit"), 1);
}

}  // namespace config_file_test
