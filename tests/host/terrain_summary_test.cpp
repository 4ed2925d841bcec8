// The summary of a script run as a user reads it: a terrain's points against its outline (how many it leaves out
// and the highest of them, as the points' own records give their heights) and a volume calculation that found no
// feature, which says so instead of listing an empty one.
#include "InProcessHost.hpp"
#include "script/ImportResultsNote.hpp"
#include "script/ScriptRunner.hpp"

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

namespace terrain_summary_test {

class TerrainSummaryTest : public InProcessHostTest {
protected:
    bool Run(const std::string& text) {
        host->Settings().embeddedLibrary = true;  // the contour-line parts it makes stay out of the shipped library
        std::ostringstream out;
        ScriptRunner runner(*host, out);
        const bool ok = runner.RunText(text, "test");
        output = out.str();
        return ok;
    }
    bool Holds(const std::string& text) const { return output.find(text) != std::string::npos; }
    std::string output;
};

// Nine points on a 20 m grid (heights 100, 102 and 101 by column) and two more away from it (heights 150 and 120), the outline round the grid, the
// terrain, the volume calculation with nothing on the terrain.
const char* const kSite = R"(library load "@module/library"
load
menu 32501 1
dialog 32400 click 2
dialog 32410 set 6 100
click 0 0
click 0 10
click 0 20
dialog 32410 set 6 102
click 10 0
click 10 10
click 10 20
dialog 32410 set 6 101
click 20 0
click 20 10
click 20 20
FAR_POINTS
click cancel
dialog 32401 click 5
dialog 32546 click 1
click -0.3 -0.3
click -0.3 20.3
click 20.3 20.3
click 20.3 -0.3
click -0.3 -0.3
dialog 32401 click 7
dialog 32547 click 1
dialog 32401 click 8
expect alert "Terrain has been created!"
name T mesh
dialog 32400 click 5
dialog 32404 click 1
name C VY_CONTOURLINES
summary T C
)";

std::string Site(bool farPoints) {
    std::string text = kSite;
    text.replace(text.find("FAR_POINTS"), 10,
                 farPoints ? "dialog 32410 set 6 150\nclick 40 10\ndialog 32410 set 6 120\nclick -20 10" : "");
    return text;
}

TEST_F(TerrainSummaryTest, TellsThePointsOutsideTheOutlineAndACalculationWithoutFeatures) {
    ASSERT_TRUE(Run(Site(true))) << output;
    EXPECT_TRUE(Holds("terrain T: 9 of 11 points; 2 outside its outline, the highest 150 m; surface of 9 points and "
                      "8 triangles"))
        << output;
    EXPECT_TRUE(Holds("volumes: the calculation found no feature: nothing cuts or fills the terrain")) << output;
    EXPECT_FALSE(Holds("total of")) << output;
}

TEST_F(TerrainSummaryTest, SaysSoWhenNoPointIsLeftOut) {
    ASSERT_TRUE(Run(Site(false))) << output;
    EXPECT_TRUE(Holds("terrain T: 9 of 9 points; none outside its outline; surface of 9 points")) << output;
}

// Two plateaus of one ID text: each feature line is named apart and lists only its own objects, and its figures
// are those of its own bodies (the small plateau's cut cannot exceed its small cut body).
TEST_F(TerrainSummaryTest, NamesEachFeatureApartAndListsOnlyItsOwnObjects) {
    std::string text = Site(false);
    text.replace(text.find("dialog 32400 click 5"), 0,
                 "dialog 32400 click 3\n"
                 "place fill H1 \"1,1 5,1 5,5 1,5\"\nselect H1\ndialog 32553 set 8 99\ndialog 32553 click 1\n"
                 "dialog 32402 click 3\nname PCUT VY_PLATEAU 1\nname PFILL VY_PLATEAU 2\nname PLAT VY_PLATEAU 3\n"
                 "body PCUT box \"1,1,99\" \"5,5,110\"\n"
                 "place fill H2 \"10,10 19,10 19,19 10,19\"\nselect H2\ndialog 32553 set 8 97\ndialog 32553 click 1\n"
                 "dialog 32402 click 3\nname QCUT VY_PLATEAU 4\nname QFILL VY_PLATEAU 5\nname QLAT VY_PLATEAU 6\n"
                 "body QCUT box \"10,10,97\" \"19,19,110\"\n");
    ASSERT_TRUE(Run(text)) << output;
    const std::regex line(
        R"(\n *feature (\S+)( \[(\w+)\])?: cut ([\d,]+) m3, fill [\d,]+ m3, measured on the bodies the )"
        R"(script drew \(([^)]*)\))");
    std::set<std::string> named;
    for (auto it = std::sregex_iterator(output.begin(), output.end(), line); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        EXPECT_EQ(m[1].str(), "PLATEAU") << m[0];
        ASSERT_TRUE(m[2].matched) << "two features of one ID text need their own names:\n" << output;
        named.insert(m[3].str());
        const char plateau = m[3].str()[0];
        // Only its own objects: every name of the list starts as its own name does.
        std::istringstream list(m[5].str());
        for (std::string object; std::getline(list >> std::ws, object, ',');) EXPECT_EQ(object[0], plateau) << m[0];
        std::string digits = m[4].str();
        digits.erase(std::remove(digits.begin(), digits.end(), ','), digits.end());
        const double cut = std::stod(digits);
        EXPECT_LE(cut, plateau == 'P' ? 4.0 * 4.0 * 11.0 : 9.0 * 9.0 * 13.0) << m[0];
        EXPECT_GT(cut, 0.0) << m[0];
    }
    EXPECT_EQ(named.size(), 2u) << output;
}

// The outline is told as it is made: the terrain points it leaves out, as the summary later counts them on the
// terrain, and the corridor its dialog gave the search.
TEST_F(TerrainSummaryTest, TheOutlineTellsThePointsItLeavesOutAndItsCorridor) {
    host->SetDialogNote(ModuleDialogNote);
    std::string text = Site(true);
    text.replace(text.find("dialog 32546 click 1"), 0, "dialog 32546 set 12 2.5\n");
    ASSERT_TRUE(Run(text)) << output;
    const std::string logged = log.str();
    EXPECT_NE(logged.find("\"Outline settings\": set item 12 to text \"2.5\", click item 1; closed with item 1 "
                          "\"OK\"; mode header \"Creation\"; corridor 2.5 m wide (1.25 m each side of the clicked "
                          "path)"),
              std::string::npos)
        << logged;
    const std::regex outline(R"(outline: (\d+) of (\d+) terrain points on or inside it; (\d+) outside, the highest )"
                             R"((\S+) m)");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(logged, m, outline)) << logged;
    // The same figures as the summary's, counted on the terrain built inside the outline.
    EXPECT_TRUE(Holds("terrain T: " + m[1].str() + " of " + m[2].str() + " points; " + m[3].str() +
                      " outside its outline, the highest " + m[4].str() + " m"))
        << m[0] << "\n"
        << output;
    EXPECT_EQ(m[3].str(), "2");
    // Told once, as the outline is made: the terrain built in it changes no outline.
    EXPECT_EQ(logged.find("outline: ", size_t(m.position(0)) + 1), std::string::npos) << logged;
}

TEST_F(TerrainSummaryTest, NamesTheObjectsStandingOnTheTerrainAndThoseWithoutABodyWithTheReason) {
    std::string text = Site(false);
    text.replace(text.find("summary T C"), 11,
                 "place fill F \"2,2 8,2 8,8 2,8\"\nselect F\ndialog 32400 click 4\ndialog 32561 click 1\n"
                 "dialog 32403 click 5\nname B VY_BUILDING\nsummary T\nchange B param ZZYZX 1e9\nsummary T");
    ASSERT_TRUE(Run(text)) << output;
    EXPECT_TRUE(Holds("standing on it, cut by the ground: B\n")) << output;
    EXPECT_TRUE(Holds("standing on it, cut by the ground: none; no body for B: the heights of ZZYZX + negative_level "
                      "lie more than 10 km off the terrain's"))
        << output;
}

}  // namespace terrain_summary_test
