// The outline on a real polygon shapefile (GDAL's height bands of the DEM, tests/data/shp/bands_polygonz): with a
// corridor much wider than the estimate, the points found make an outline that crosses itself. It is refused with
// message 15 before anything is made, and "Terrain" then finds no outline to build in.
#include "InProcessHost.hpp"
#include "script/ScriptRunner.hpp"

#include <sstream>

namespace outline_real_file_test {

class OutlineRealFileTest : public InProcessHostTest {};

TEST_F(OutlineRealFileTest, AWideCorridorOnAPolygonShapefileIsRefusedBeforeAnyTerrain) {
    const std::string script = "library load \"@module/library\"\nload\nmenu 32501 1\ndialog 32400 click 2\n"
                               "dialog 32530 click 4\nfile-dialog \"" +
        TestSupport::DataDir() +
        "/shp/bands_polygonz.shp\"\n"
        // Node distance 50 m; the south-west corner of the data to (0, 0). The bands' shared borders give one point
        // per position; the import tells the polygon parts of no area it left out (each band stands on its other
        // parts) and how many positions had two heights (the first two of the three alerts).
        "dialog 32572 set 7 50\ndialog 32572/3/1 set 16 0\ndialog 32572/3/1 set 19 0\ndialog 32572 click 1\n"
        "dialog 32401 click 3\nexpect elements 5199 hotspot\n"
        // A path well inside the 55.8 km x 81.6 km of points, with a corridor 40 km wide.
        "dialog 32546 set 12 40000\ndialog 32546 click 1\n"
        "click 8000 8000\nclick 8000 73600\nclick 47800 73600\nclick 47800 8000\nclick 8000 8000\n"
        "dialog 32401 click 7\nexpect alert \"The resulting polygon is not suitable.\"\nexpect elements 0 fill\n"
        "dialog 32547 click 2\ndialog 32401 click 8\nexpect elements 0 mesh\nexpect alerts 3\n";
    host->Settings().embeddedLibrary = true;  // whatever it makes stays out of the shipped library
    std::ostringstream out;
    ScriptRunner runner(*host, out);
    EXPECT_TRUE(runner.RunText(script, "test")) << out.str();
}

}  // namespace outline_real_file_test
