// The plan picture's counts: each kind is counted as it is written, so the counts and the SVG agree on every
// example project, every object shown is either drawn or named as drawing nothing, and `dump svg` prints the
// count line of the picture it wrote.
#include "InProcessHost.hpp"
#include "model3d/PlanPicture.hpp"
#include "script/ScriptRunner.hpp"

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace plan_counts_test {

class PlanCountsTest : public InProcessHostTest {
protected:
    ProjectDatabase& Db() { return host->Database(); }
    std::string Picture(PlanPictureCounts* n) {
        return PlanPictureSvg(Db(), host->Project().models, &host->Project().libraries, n);
    }
};

// The plan's drawn items in the SVG, by class (the legend's samples carry none).
std::map<std::string, int> ItemsByClass(const std::string& svg) {
    std::map<std::string, int> items;
    const std::regex item("<(?:polygon|polyline|circle) class=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), item); it != std::sregex_iterator(); ++it)
        ++items[(*it)[1]];
    return items;
}

// Each drawn kind's classes in the SVG and its key's text in the legend.
struct KindInSvg {
    PlanKey key;
    std::vector<std::string> classes;
    std::string legend;
};
const KindInSvg kKinds[] = {{PlanKey::Point, {"hotspot"}, "point"},
                            {PlanKey::Edge, {"edge"}, "edge"},
                            {PlanKey::Foot, {"foot"}, "slope foot"},
                            {PlanKey::Daylight, {"daylight"}, "daylight"},
                            {PlanKey::Outline, {"outline"}, "outline"},
                            {PlanKey::Contour, {"contour", "contour main"}, "contour"},
                            {PlanKey::Polyline, {"polyline"}, "polyline"},
                            {PlanKey::LevelLine, {"levelline"}, "level line"},
                            {PlanKey::Fill, {"ring"}, "fill"},
                            {PlanKey::Line, {"line"}, "line"},
                            {PlanKey::Object, {"object"}, "object"}};

class ExampleCounts : public PlanCountsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ExampleCounts, AgreeWithThePicture) {
    const std::string name = GetParam();
    host->Settings().embeddedLibrary = true;  // the objects the scripts save stay out of the shipped library
    std::ostringstream out;
    ScriptRunner runner(*host, out);
    ASSERT_TRUE(runner.RunFile(std::string(LODRAVIX_SOURCE_DIR) + "/examples/" + name + ".script")) << out.str();

    PlanPictureCounts n;
    const std::string svg = Picture(&n);
    std::map<std::string, int> items = ItemsByClass(svg);
    EXPECT_GT(n.triangles, 0);
    EXPECT_EQ(items["triangle"], n.triangles);
    items.erase("triangle");
    // The earthworks' shading, counted face by face.
    EXPECT_EQ(items["cut"], n.cutFaces);
    EXPECT_EQ(items["earth-fill"], n.fillFaces);
    items.erase("cut"), items.erase("earth-fill");
    int kinds = 0;
    for (const KindInSvg& k : kKinds) {
        int inSvg = 0;
        for (const std::string& cls : k.classes) inSvg += items[cls], items.erase(cls);
        EXPECT_EQ(inSvg, n.Of(k.key)) << k.legend;
        const std::regex key(">" + k.legend + "( every [^<]*)?</text>");
        EXPECT_EQ(std::regex_search(svg, key), n.Of(k.key) > 0) << "the legend's " << k.legend;
        kinds += n.Of(k.key) > 0 ? 1 : 0;
    }
    for (const auto& [cls, count] : items) EXPECT_EQ(count, 0) << "class " << cls << " counted nowhere";
    EXPECT_GE(kinds, 3);

    // Every object on a shown layer is drawn or said to draw nothing; those on hidden layers are left out.
    int shown = 0, hidden = 0;
    for (const API_Guid& g : Db().AllElements()) {
        const StoredElement& e = *Db().Find(g);
        if (e.record.header.typeID != API_ObjectID && e.record.header.typeID != API_LampID) continue;
        const API_Attribute* layer = Db().Attribute(API_LayerID, e.record.header.layer);
        ++((layer != nullptr && (layer->header.flags & APILay_Hidden) != 0) ? hidden : shown);
    }
    EXPECT_GT(n.objects, 0);
    EXPECT_EQ(n.objects + n.blankObjects, shown);
    EXPECT_GE(n.hidden, hidden);
    EXPECT_LE(n.WithoutPlanData(), n.objects);

    // The script's command writes the same picture and prints its count line.
    std::ostringstream dumped;
    ScriptRunner dump(*host, dumped);
    ASSERT_TRUE(dump.RunText("dump svg counts.svg\n", "dump")) << dumped.str();
    std::ifstream file(UserFile("counts.svg"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), svg);
    EXPECT_NE(dumped.str().find(PlanCountLine(n)), std::string::npos) << dumped.str();
}

// A terrain with points and contour lines, a road with its feet, coloured areas, objects drawn as their box.
INSTANTIATE_TEST_SUITE_P(Examples, ExampleCounts,
                         ::testing::Values("main_road", "terrain_build", "site_areas", "site_paths", "road"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

TEST_F(PlanCountsTest, TheCountLineNamesEachKindDrawnWithItsNumber) {
    PlanPictureCounts n;
    n.triangles = 1;
    n.drawn[int(PlanKey::Point)] = 2;
    n.drawn[int(PlanKey::Contour)] = 1;
    n.drawn[int(PlanKey::Foot)] = 3;
    n.drawn[int(PlanKey::Object)] = 1;
    n.objects = 2;
    EXPECT_EQ(PlanCountLine(n),
              "1 triangle, 2 points, 1 contour line, 3 slope feet; 2 objects drawn, 1 without plan data");
    n.drawn[int(PlanKey::Foot)] = 1;
    n.drawn[int(PlanKey::LevelLine)] = 2;
    n.blankObjects = 1;
    n.hidden = 4;
    EXPECT_EQ(PlanCountLine(n),
              "1 triangle, 2 points, 1 contour line, 2 level lines, 1 slope foot; 2 objects drawn, 1 without plan "
              "data, 1 with nothing to draw; 4 elements on hidden layers left out");
}

}  // namespace plan_counts_test
