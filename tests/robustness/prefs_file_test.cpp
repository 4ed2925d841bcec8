// Preferences mirror files under seeded mutation: a mutant is read whole or refused whole (the list holding
// nothing of it); one read whole writes back to a file that reads the same, and its entries go through the
// palette open's path (laid over the preferences library part, then the sections into the settings) without
// harm.
#include "Mutator.hpp"
#include "TestSupport.hpp"

#include "settings/PrefsEntries.hpp"
#include "settings/PrefsFile.hpp"
#include "settings/PrefsLP.hpp"
#include "settings/PrefsSections.hpp"
#include "settings/Settings.hpp"

#include "AddOnLibrary.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace prefs_file_test {

std::string Native(const std::string& name) { return TestSupport::UserFolder() + "/" + name; }
QV_String PathOf(const std::string& name) { return QV_String(Native(name).c_str()); }

std::string ReadRaw(const std::string& name) {
    std::ifstream in(Native(name), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}
// Always a fresh file: truncating or replacing one makes the file system flush it, which only slows the test.
void WriteRaw(const std::string& name, const std::string& bytes) {
    std::remove(Native(name).c_str());
    std::ofstream(Native(name), std::ios::binary) << bytes;
}

std::string Le32(int32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) s.push_back(char((uint32_t(v) >> (8 * i)) & 0xFF));
    return s;
}

GSHandle PrefsParams() { return DefaultParams("VY_PREFS"); }

// The mirror file Save writes for the library part's own values, and a small file of the types it never writes.
std::vector<std::string> Seeds() {
    GSHandle params = PrefsParams();
    PrefsEntryList entries;
    EXPECT_TRUE(ParamsToPrefsEntries(entries, params, true));
    DisposeParamHandle(&params);
    EXPECT_TRUE(WritePrefsFile(entries, PathOf("seed.prf")));
    return {ReadRaw("seed.prf"),
            "QVPF" + Le32(2) + "\x01" + Le32(1) + "a" + Le32(-7) + "\x04" + Le32(1) + "i" + Le32(1) + Le32(2) +
                Le32(5) + Le32(6)};
}

const std::vector<std::string> kTokens = {
    "QVPF",
    Le32(-1),
    Le32(0x7FFFFFFF),
    Le32(65536),
    Le32(46341),
    Le32(0),
    std::string(1, '\x01'),
    std::string(1, '\x05'),
    std::string(1, '\x06'),
    std::string(1, '\x07'),
    std::string(8, '\xFF'),
    "road_resolution",
    "show_depth_RGB",
    std::string(4, '\0'),
};

TEST(PrefsFileRobustness, MutantsAreReadWholeOrRefusedWholeAndNeverHarmTheSettings) {
    Robustness::Mutator m(0x51565046u);
    const std::vector<std::string> seeds = Seeds();
    int read = 0;
    const int iterations = 1500;
    for (int i = 0; i < iterations && !::testing::Test::HasFailure(); ++i) {
        const std::string where = "mutant " + std::to_string(i);
        const std::string bytes =
            m.OneIn(20) ? m.RandomBytes(64) : m.Mutate(seeds[m.Below(uint32_t(seeds.size()))], kTokens);
        WriteRaw("mutant.prf", bytes);
        PrefsEntryList list;
        list.Insert(QV_Preferences::QV_Pref_Elem());
        if (!ReadPrefsFile(list, PathOf("mutant.prf"), false)) {
            EXPECT_EQ(list.GetCount(), 1) << where;
            continue;
        }
        ++read;
        list.Remove(0);
        // What was read writes back to a file that reads the same.
        std::remove(Native("again.prf").c_str());
        std::remove(Native("twice.prf").c_str());
        if (WritePrefsFile(list, PathOf("again.prf"))) {
            PrefsEntryList again;
            ASSERT_TRUE(ReadPrefsFile(again, PathOf("again.prf"), true)) << where;
            ASSERT_TRUE(WritePrefsFile(again, PathOf("twice.prf"))) << where;
            EXPECT_EQ(ReadRaw("twice.prf"), ReadRaw("again.prf")) << where;
        }
        // The palette open's path: laid over the part's parameters, then every section into the settings.
        GSHandle params = PrefsParams();
        if (ApplyPrefsEntriesToParams(list, params)) {
            PrefsLP view;
            view.Attach(params, true);
            Settings settings;
            for (int32_t order = 0; order < PrefsSectionCount; ++order) RunPrefsSection(order, view, settings, 0);
        }
        DisposeParamHandle(&params);
    }
    EXPECT_GT(read, 0);
    EXPECT_LT(read, iterations);
}

}  // namespace prefs_file_test
