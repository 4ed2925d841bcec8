// Mirror files saved before the settings records became tables, in tests/data/settings: `prefs_saved_...prf` holds
// every preference at a value of its own (seeded), as the module saved it then; `prefs_saved_...tsv` is what every
// field id of every kind read after that file was loaded then, and `prefs_resaved_...prf` what saving those fields
// wrote (a load puts some fields back to their defaults). Loading the file now gives the same fields and saving them
// the same bytes, so the files users have, and the peers that read them, keep working.
#include "ProjectHost.hpp"
#include "TestSupport.hpp"

#include "settings/PrefsLP.hpp"
#include "settings/Settings.hpp"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace prefs_compat_test {

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// One line per kind and field id: the integer, real and text the accessors answer; then the fields no id reaches.
std::string Dump(const Settings& s) {
    std::ostringstream out;
    char real[64];
    for (uint32_t kind = 0; kind <= 22; ++kind)
        for (int16_t id = -1; id <= 40; ++id) {
            std::snprintf(real, sizeof real, "%.17g", s.GetDouble(kind, id));
            out << kind << '\t' << id << '\t' << s.GetInt(kind, id) << '\t' << real << '\t'
                << s.GetString(kind, id).ToStdString() << '\n';
        }
    const auto line = [&](const char* name, double value) {
        std::snprintf(real, sizeof real, "%.17g", value);
        out << name << '\t' << real << '\n';
    };
    for (const API_Coord3D& c : s.contour.depthColours) {
        line("depth colour", c.x);
        line("depth colour", c.y);
        line("depth colour", c.z);
    }
    line("contour main step", s.contour.mainStep);
    line("altitude", s.contour.altitude.altitude);
    line("altitude point pen", s.contour.altitude.pointPen);
    line("altitude constraint pen", s.contour.altitude.constraintPen);
    line("altitude line type", s.contour.altitude.constraintLineType);
    line("altitude layer", s.contour.altitude.layer);
    line("point code number", s.points.codeNumber);
    line("sidewalk thickness", s.sidewalk.thickness);
    line("slope lift", s.slopeRange.lift);
    line("slope size", s.slopeRange.size);
    return out.str();
}

// One column of a line of the dump (0 the integer, 1 the real) replaced.
void Replace(std::string& dump, const char* line, int column, const char* value) {
    const size_t at = dump.find(std::string("\n") + line);
    ASSERT_NE(at, std::string::npos) << line;
    size_t begin = at + 1 + std::strlen(line);
    for (int k = 0; k < column; ++k) begin = dump.find('\t', begin) + 1;
    dump.replace(begin, dump.find('\t', begin) - begin, value);
}

// The dump as the fields read then, but for what changed on purpose since: the railway's track switches (kind 21,
// ids 20 and 21) no longer read as reals too, which nothing asked for, and the points' code number (kind 1, id 3)
// reads by its id as every other field does.
std::string Expected(std::string dump) {
    Replace(dump, "21\t20\t", 1, "0");
    Replace(dump, "21\t21\t", 1, "0");
    Replace(dump, "1\t3\t", 0, "1");
    return dump;
}

class PrefsCompat : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    }
    static std::string Golden(const std::string& name) {
        return TestSupport::DataDir() + "/settings/prefs_" + name.substr(0, name.find('.')) + "_before_tables" +
            name.substr(name.find('.'));
    }
};

TEST_F(PrefsCompat, AFileSavedBeforeLoadsToTheSameFieldsAndSavesToTheSameBytes) {
    const std::string saved = Bytes(Golden("saved.prf"));
    ASSERT_FALSE(saved.empty());
    std::ofstream(UserFile("Lodravix_20.prf"), std::ios::binary) << saved;
    Settings s;
    ASSERT_TRUE(PrefsLP::LoadAtStart(&s));
    EXPECT_EQ(Dump(s), Expected(Bytes(Golden("saved.tsv"))));
    ASSERT_TRUE(PrefsLP::Save(&s));
    EXPECT_EQ(Bytes(UserFile("Lodravix_20.prf")), Bytes(Golden("resaved.prf")));
}

}  // namespace prefs_compat_test
