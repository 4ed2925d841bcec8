// "TXT file Export": the lines of a terrain's mesh points and of its 3D model, the file written over an older
// one, and the destination's name check.
#include "DGDriver.hpp"
#include "AddOnParts.hpp"
#include "ProjectHost.hpp"
#include "TerrainMeshes.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "dialogs/settings/PointExportSettingsDialog.hpp"
#include "fileio/TextExport.hpp"
#include "foundation/FileUtils.hpp"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <algorithm>
#include <tuple>
#include <random>
#include <sstream>

namespace text_export_test {

struct Parsed {
    double a, b, z;
};

// Every line must be "number TAB number TAB number CR LF" with exactly `decimals` decimals.
std::vector<Parsed> ParseLines(const std::string& text, int decimals) {
    std::vector<Parsed> out;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "unterminated line";
        if (end == std::string::npos) break;
        std::vector<std::string> fields;
        std::stringstream line(text.substr(start, end - start));
        for (std::string f; std::getline(line, f, '\t');) fields.push_back(f);
        EXPECT_EQ(fields.size(), 3u) << text.substr(start, end - start);
        for (const std::string& f : fields) {
            const size_t dot = f.find('.');
            EXPECT_EQ(decimals == 0 ? std::string::npos : f.size() - dot - 1, decimals == 0 ? dot : size_t(decimals))
                << f;
        }
        if (fields.size() == 3) out.push_back({std::stod(fields[0]), std::stod(fields[1]), std::stod(fields[2])});
        start = end + 2;
    }
    return out;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TextExportTest : public ProjectHostTest {
protected:
    // A mesh of `ring` (heights above its level) with level points, raised to `level`.
    API_Element PlaceTerrain(const std::vector<API_Coord3D>& ring, const std::vector<API_Coord3D>& levelPoints,
                             double level) {
        API_Element mesh;
        EXPECT_EQ(Command([&] { return TerrainMeshes::PlaceMesh(ring, levelPoints, {}, &mesh); }), NoError);
        API_Element mask;
        std::memset(static_cast<void*>(&mask), 0, sizeof mask);
        std::memset(static_cast<void*>(&mask.mesh.level), 0xFF, sizeof mask.mesh.level);
        mesh.mesh.level = level;
        EXPECT_EQ(Command([&] { return ACAPI_Element_Change(&mesh, &mask, nullptr, 0); }), NoError);
        EXPECT_EQ(ACAPI_Element_Get(&mesh), NoError);
        return mesh;
    }
    std::string Lines(TextExportRec& record) {
        QV_List<QV_String> lines;
        EXPECT_TRUE(TextExport::BuildLines(record, lines));
        record.destination = QV_String(UserFile("out.txt").c_str());
        EXPECT_TRUE(TextExport::WriteLines(record, lines));
        return ReadFile(UserFile("out.txt"));
    }
};

TEST(TextExportFormat, FixedDecimalsInEitherOrderRoundTrip) {
    TextExportRec record;
    record.decimals = 3;
    EXPECT_EQ(TextExport::FormatLine(record, 1.5, -2, 10.25).ToStdString(), "1.500\t-2.000\t10.250\r\n");
    record.xFirst = 0;
    EXPECT_EQ(TextExport::FormatLine(record, 1.5, -2, 10.25).ToStdString(), "-2.000\t1.500\t10.250\r\n");

    std::mt19937 rng(7);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    for (int i = 0; i < 500; ++i) {
        record.decimals = int16_t(i % 7);
        record.xFirst = uint8_t(i % 2);
        const double x = value(rng), y = value(rng), z = value(rng);
        const std::vector<Parsed> back =
            ParseLines(TextExport::FormatLine(record, x, y, z).ToStdString(), record.decimals);
        ASSERT_EQ(back.size(), 1u);
        const double tolerance = 0.5 * std::pow(10.0, -record.decimals) + 1e-9;
        EXPECT_NEAR(back[0].a, record.xFirst ? x : y, tolerance);
        EXPECT_NEAR(back[0].b, record.xFirst ? y : x, tolerance);
        EXPECT_NEAR(back[0].z, z, tolerance);
    }
    // A host asking for absurd decimals still gets bounded lines.
    record.decimals = 32767;
    EXPECT_LT(TextExport::FormatLine(record, 1e300, -1e300, 0).GetLength(), 1000u);
}

TEST_F(TextExportTest, MeshPointsSkipTheClosingVertexAndTakeTheLevel) {
    const API_Element mesh =
        PlaceTerrain({{0, 0, -3}, {20, 0, 0}, {20, 20, 1}, {0, 20, 2}}, {{5, 5, 7}, {10, 12, 8}}, 1.5);
    TextExportRec record;
    record.element = mesh;
    record.decimals = 2;
    const std::vector<Parsed> got = ParseLines(Lines(record), 2);
    const std::vector<Parsed> want = {{0, 0, -1.5}, {20, 0, 1.5}, {20, 20, 2.5},
                                      {0, 20, 3.5}, {5, 5, 8.5},  {10, 12, 9.5}};
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_DOUBLE_EQ(got[i].a, want[i].a) << i;
        EXPECT_DOUBLE_EQ(got[i].b, want[i].b) << i;
        EXPECT_DOUBLE_EQ(got[i].z, want[i].z) << i;
    }
}

TEST_F(TextExportTest, ModelVerticesHoldTheLevelOnce) {
    // A flat mesh at level 1.5: every vertex of its surface stands at 1.5, not 3.0.
    const API_Element mesh = PlaceTerrain({{0, 0, 0}, {30, 0, 0}, {30, 10, 0}, {0, 10, 0}}, {{15, 5, 0}}, 1.5);
    TextExportRec record;
    record.element = mesh;
    record.withModifications = 1;
    record.decimals = 4;
    const std::vector<Parsed> got = ParseLines(Lines(record), 4);
    ASSERT_FALSE(got.empty());
    bool topSeen = false;
    for (const Parsed& p : got) {
        EXPECT_LE(p.z, 1.5 + 1e-9);
        topSeen = topSeen || std::fabs(p.z - 1.5) < 1e-9;
        EXPECT_TRUE(p.a >= -1e-9 && p.a <= 30 + 1e-9 && p.b >= -1e-9 && p.b <= 10 + 1e-9);
    }
    EXPECT_TRUE(topSeen);
}

// On random terrains of random stories and levels, with and without contour lines, the modified terrain's export of
// a terrain nothing modifies holds exactly the mesh's own points at their own heights: every point of its surface
// once, none of the floor or the skirt below it.
TEST_F(TextExportTest, AnUnmodifiedModelGivesTheMeshPointsWithoutFloorOrSkirt) {
    Db().SetStory(1, 3.25, "First");
    Db().SetStory(2, -6.5, "Cellar");
    std::mt19937 rng(51);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto sorted = [](std::vector<Parsed> v) {
        std::sort(v.begin(), v.end(),
                  [](const Parsed& a, const Parsed& b) { return std::tie(a.a, a.b, a.z) < std::tie(b.a, b.b, b.z); });
        return v;
    };
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        // A star-shaped outline round (50, 50), heights above the skirt's depth of 1.
        const int corners = 3 + round % 6;
        std::vector<API_Coord3D> ring, levels;
        for (int i = 0; i < corners; ++i) {
            const double angle = 2 * M_PI * (i + 0.3 * unit(rng)) / corners, r = 30 + 15 * unit(rng);
            ring.push_back({50 + r * std::cos(angle), 50 + r * std::sin(angle), -0.9 + 6 * unit(rng)});
        }
        for (int i = 0; i < round % 4; ++i)
            levels.push_back({40 + 20 * unit(rng), 40 + 20 * unit(rng), -0.9 + 6 * unit(rng)});
        // A closed contour line round the middle every other round: its first point comes twice in the mesh's
        // own points, once on its surface.
        std::vector<std::vector<API_Coord3D>> contours;
        if (round % 2 == 0) {
            const double z = -0.9 + 6 * unit(rng);
            contours.push_back({{44, 44, z}, {56, 44, z}, {56, 56, z}, {44, 56, z}, {44, 44, z}});
        }
        const int16_t story = int16_t(round % 3);
        API_Element mesh;
        ASSERT_EQ(Command([&] { return TerrainMeshes::PlaceMesh(ring, levels, contours, &mesh, story); }), NoError);
        API_Element mask;
        std::memset(static_cast<void*>(&mask), 0, sizeof mask);
        std::memset(static_cast<void*>(&mask.mesh.level), 0xFF, sizeof mask.mesh.level);
        mesh.mesh.level = -5 + 10 * unit(rng);
        ASSERT_EQ(Command([&] { return ACAPI_Element_Change(&mesh, &mask, nullptr, 0); }), NoError);
        ASSERT_EQ(ACAPI_Element_Get(&mesh), NoError);

        TextExportRec record;
        record.element = mesh;
        record.decimals = 6;
        record.xFirst = uint8_t(round % 2);
        std::vector<Parsed> own = sorted(ParseLines(Lines(record), 6));
        ASSERT_EQ(own.size(), size_t(corners) + levels.size() + 5 * contours.size());
        own.erase(std::unique(own.begin(), own.end(),
                              [](const Parsed& a, const Parsed& b) { return a.a == b.a && a.b == b.b && a.z == b.z; }),
                  own.end());
        record.withModifications = 1;
        const std::vector<Parsed> model = sorted(ParseLines(Lines(record), 6));
        ASSERT_EQ(model.size(), own.size());
        for (size_t i = 0; i < own.size(); ++i) {
            EXPECT_NEAR(model[i].a, own[i].a, 2e-6);
            EXPECT_NEAR(model[i].b, own[i].b, 2e-6);
            EXPECT_NEAR(model[i].z, own[i].z, 2e-6);
        }
    }
}

// A slab with a square hole linked to a plane terrain on a story leaves only the terrain inside the hole in its 3D
// model: the export holds that piece's surface, each point inside the hole at the plane's height, none of the
// floor below it, no point twice.
TEST_F(TextExportTest, AModifiedModelGivesTheSurfaceThatIsLeft) {
    Db().SetStory(1, 3.25, "First");
    const auto plane = [](double x, double y) { return 2.0 + 0.1 * x - 0.05 * y; };
    std::vector<API_Coord3D> ring, levels;
    for (const API_Coord& c : {API_Coord{0, 0}, API_Coord{60, 0}, API_Coord{60, 40}, API_Coord{0, 40}})
        ring.push_back({c.x, c.y, plane(c.x, c.y)});
    for (int x = 10; x <= 50; x += 10)
        for (int y = 10; y <= 30; y += 10) levels.push_back({double(x), double(y), plane(x, y)});
    API_Element mesh;
    ASSERT_EQ(Command([&] { return TerrainMeshes::PlaceMesh(ring, levels, {}, &mesh, 1); }), NoError);
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    std::memset(static_cast<void*>(&mask.mesh.level), 0xFF, sizeof mask.mesh.level);
    mesh.mesh.level = 0.75;
    ASSERT_EQ(Command([&] { return ACAPI_Element_Change(&mesh, &mask, nullptr, 0); }), NoError);
    ASSERT_EQ(ACAPI_Element_Get(&mesh), NoError);

    // The hole: 15 <= x <= 35, 5 <= y <= 25.
    QV_List<QV_Coord3DLong> hole;
    for (const API_Coord& c : {API_Coord{15, 5}, API_Coord{35, 5}, API_Coord{35, 25}, API_Coord{15, 25}})
        hole.Insert(QV_Coord3DLong{c.x, c.y, 0.0, 15});
    API_Element slab = {};
    slab.header.typeID = API_SlabID;
    ASSERT_EQ(ACAPI_Element_GetDefaults(&slab, nullptr), NoError);
    API_Box3D box = {-10, -10, -20, 70, 50, 20};
    ASSERT_EQ(Command([&] {
                  return CreateCutterSlab(mesh, slab, hole, box) && LinkElementGuids(slab, mesh) ? NoError
                                                                                                 : APIERR_GENERAL;
              }),
              NoError);

    TextExportRec record;
    record.element = mesh;
    record.decimals = 6;
    record.withModifications = 1;
    const std::vector<Parsed> got = ParseLines(Lines(record), 6);
    // The four level points inside the hole are there, with the piece's corners where the hole meets the surface.
    EXPECT_GE(got.size(), 8u);
    for (const API_Coord& c : {API_Coord{20, 10}, API_Coord{30, 10}, API_Coord{20, 20}, API_Coord{30, 20}})
        EXPECT_EQ(std::count_if(got.begin(), got.end(), [&](const Parsed& p) { return p.a == c.x && p.b == c.y; }), 1)
            << c.x << " " << c.y;
    for (size_t i = 0; i < got.size(); ++i) {
        const Parsed& p = got[i];
        EXPECT_TRUE(p.a >= 15 - 1e-6 && p.a <= 35 + 1e-6 && p.b >= 5 - 1e-6 && p.b <= 25 + 1e-6) << p.a << " " << p.b;
        EXPECT_NEAR(p.z, 0.75 + plane(p.a, p.b), 1e-5) << p.a << " " << p.b;
        for (size_t k = 0; k < i; ++k)
            EXPECT_FALSE(got[k].a == p.a && got[k].b == p.b && got[k].z == p.z) << p.a << " " << p.b;
    }
}

// A level road across a V valley, its cut and fill linked to the terrain, its stations 160 m apart: every exported
// point lies on the ground the road leaves, its deck and side slopes (but on the road's upright ends, where the ground
// stands upright); none is the old ground beside the deck between the stations.
TEST_F(TextExportTest, AModelWithARoadGivesPointsOfTheGroundTheRoadLeaves) {
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(std::string(LODRAVIX_SOURCE_DIR) + "/library", &why)) << why;
    const auto valley = [](double x) { return 50.0 + 0.2 * std::abs(x - 100.0); };
    std::vector<API_Coord3D> ring, levels;
    for (const API_Coord& c : {API_Coord{0, 0}, API_Coord{200, 0}, API_Coord{200, 100}, API_Coord{0, 100}})
        ring.push_back({c.x, c.y, valley(c.x)});
    for (int x = 0; x <= 200; x += 10)
        for (int y = 10; y <= 90; y += 10) levels.push_back({double(x), double(y), valley(x)});
    const API_Element mesh = PlaceTerrain(ring, levels, 0.0);
    const double deck = 56.0, slope = std::atan(1.0);
    const AddOnParams road = {
        {{"slope_SX_fill", slope}, {"slope_DX_fill", slope}, {"slope_SX_cut", slope}, {"slope_DX_cut", slope}},
        {{"road_SX", {{0, 0, deck}, {160, 0, deck}}}, {"road_DX", {{0, -8, deck}, {160, -8, deck}}}},
        {}};
    for (const char16_t* role : {u"cut", u"fill"}) {
        AddOnParams p = road;
        p.texts["operatore"] = role;
        const API_Guid op = PlaceAddOnPart(Db(), host->Project().libraries, "VY_ROAD", {20, 54}, 0.0, 1, p, "");
        ASSERT_EQ(Command([&] {
                      return ACAPI_Element_SolidLink_Create(
                          mesh.header.guid, op, role[0] == u'c' ? APISolid_SubtractUpwards : APISolid_Add, 1);
                  }),
                  NoError);
    }
    TextExportRec record;
    record.element = mesh;
    record.decimals = 6;
    record.withModifications = 1;
    const std::vector<Parsed> got = ParseLines(Lines(record), 6);
    EXPECT_GT(got.size(), 40u);
    // The ground the road leaves: the deck between y 46 and 54 from x 20 to 180, slopes of 1 beside it.
    const auto left = [&](double x, double y) {
        if (x < 20 || x > 180) return valley(x);
        const double d = std::max(0.0, std::abs(y - 50) - 4);
        return std::min(std::max(valley(x), deck - d), deck + d);
    };
    for (const Parsed& p : got) {
        const bool end = (std::abs(p.a - 20) < 1e-6 || std::abs(p.a - 180) < 1e-6);
        if (!end) {
            EXPECT_NEAR(p.z, left(p.a, p.b), 1e-5) << p.a << " " << p.b;
        }
    }
}

TEST_F(TextExportTest, ModelPointsWithoutAStoryLevelAreNotWritten) {
    const API_Element mesh = PlaceTerrain({{0, 0, 1}, {20, 0, 2}, {20, 20, 3}}, {}, 0.5);
    TextExportRec record;
    record.element = mesh;
    record.withModifications = 1;
    ASSERT_TRUE(host->FailCall("Environment", -1, APIERR_GENERAL));
    QV_List<QV_String> lines;
    EXPECT_FALSE(TextExport::BuildLines(record, lines));
    host->ClearFailures();
    EXPECT_TRUE(TextExport::BuildLines(record, lines));
    EXPECT_EQ(lines.GetCount(), 3);
}

TEST_F(TextExportTest, ASourceThatCannotBeReadBuildsNothing) {
    TextExportRec record;  // no element behind it
    QV_List<QV_String> lines;
    EXPECT_FALSE(TextExport::BuildLines(record, lines));
    record.withModifications = 1;
    EXPECT_FALSE(TextExport::BuildLines(record, lines));
}

TEST_F(TextExportTest, AShorterExportLeavesNoTailOfTheLongerOne) {
    const API_Element mesh = PlaceTerrain({{0, 0, 1}, {20, 0, 2}, {20, 20, 3}}, {}, 0);
    TextExportRec record;
    record.element = mesh;
    record.decimals = 6;
    const std::string longer = Lines(record);
    record.decimals = 0;
    const std::string shorter = Lines(record);
    EXPECT_LT(shorter.size(), longer.size());
    EXPECT_EQ(shorter, "0\t0\t1\r\n20\t0\t2\r\n20\t20\t3\r\n");
}

TEST_F(TextExportTest, OnlyATxtNameIsAccepted) {
    const std::pair<const char*, bool> cases[] = {
        {"site.txt", true}, {"SITE.TXT", true}, {"site.csv", false}, {"site", false}, {"site.", false}};
    for (const auto& [name, ok] : cases) {
        DGDriver::QueueFileAnswer({UserFile(name)});
        TextExportRec record;
        bool cancelled = false;
        EXPECT_EQ(TextExport::AskFile(record, cancelled), ok) << name;
        EXPECT_FALSE(cancelled);
        EXPECT_EQ(ExportFileName(record.destination).ToStdString(), name);
    }
    DGDriver::QueueFileCancel();
    TextExportRec record;
    bool cancelled = false;
    EXPECT_TRUE(TextExport::AskFile(record, cancelled));
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(ExportFileName(QV_String("site.txt")).ToStdString(), "site.txt");
    EXPECT_EQ(ExportFileName(QV_String("C:\\work\\")).ToStdString(), "");
}

}  // namespace text_export_test
