// The summary of a script run as a user reads it: a terrain's points against its outline (how many it leaves out
// and the highest of them, as the points' own records give their heights) and a volume calculation that found no
// feature, which says so instead of listing an empty one.
#include "InProcessHost.hpp"
#include "script/ScriptRunner.hpp"

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

}  // namespace terrain_summary_test
