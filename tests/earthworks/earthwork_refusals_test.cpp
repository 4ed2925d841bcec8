// Earthworks whose body cannot be built, placed on the in-process stand-in host over the add-on's library: each bad
// parameter is refused with one alert that names the earthwork and the reason, and the project stays as it was.
// The judgements behind the refusals hold over many inputs.
#include "AlertLog.hpp"
#include "FakeContourLineRefresh.hpp"
#include "FakeEarthworkDialogs.hpp"
#include "GridTerrain.hpp"
#include "LibraryHost.hpp"
#include "SettingsKinds.hpp"

#include "earthworks/BodyFault.hpp"
#include "earthworks/Digging.hpp"
#include "earthworks/Road.hpp"
#include "foundation/Language.hpp"
#include "geometry/OutlineShape.hpp"
#include "settings/Settings.hpp"

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace earthwork_refusals_test {

constexpr double Deg = 3.14159265358979323846 / 180.0;

double Plane(double x, double y) { return 100.0 + 0.1 * x + 0.05 * y; }

std::function<void(PlateauSettings&)> PlateauEdit;
std::function<void(RoadDialogState&)> RoadEdit;

class EarthworkRefusalsTest : public LibraryHostTest {
protected:
    void SetUp() override {
        LibraryHostTest::SetUp();
        if (HasFatalFailure()) return;
        LanguageIndex = LanguageEnglish;
        DGDriver::Reset();
        GlobalSettings.SetDouble(GeneralKind, MiscSettings::Id::roadWidth, 8.0);
        dialogs.plateau = [](PlateauDialogState& state, int32_t) {
            state.record.level = 105.0;
            state.record.name = QV_String("P1");
            if (PlateauEdit) PlateauEdit(state.record);
            return DialogAnswer::Confirmed;
        };
        dialogs.road = [](RoadDialogState& state, int32_t) {
            state.record.name = QV_String("R1");
            if (RoadEdit) RoadEdit(state);
            return DialogAnswer::Confirmed;
        };
        terrain = PlaceTerrain(GridTerrainPoints(Plane));
    }
    void TearDown() override {
        PlateauEdit = nullptr;
        RoadEdit = nullptr;
        DGDriver::Reset();
        LibraryHostTest::TearDown();
    }
    API_Element Placed(API_ElemTypeID type, const std::vector<API_Coord3D>& points, bool closed) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(type, points, closed, 1, "drawn" + std::to_string(++drawn), &g), NoError);
        return Get(g);
    }
    FakeEarthworkDialogs dialogs;
    FakeContourLineRefresh contours;
    API_Element terrain = {};
    int drawn = 0;
};

struct PlateauCase {
    const char* what;
    std::vector<API_Coord3D> outline;
    std::function<void(PlateauSettings&)> edit;
    const char* alert;
};

const std::vector<API_Coord3D> Square = {{20, 20, 0}, {60, 20, 0}, {60, 40, 0}, {20, 40, 0}};

TEST_F(EarthworkRefusalsTest, EachPlateauThatCannotBeBuiltIsRefusedByNameAndWhy) {
    const char* angle = "P1 cannot be built: a slope angle is not above 0 and below 90 degrees.";
    const std::vector<PlateauCase> cases = {
        {"cut slope 0", Square, [](PlateauSettings& s) { s.cutAngle = 0.0; }, angle},
        {"fill slope 90", Square, [](PlateauSettings& s) { s.fillAngle = 90 * Deg; }, angle},
        {"cut slope 120", Square, [](PlateauSettings& s) { s.cutAngle = 120 * Deg; }, angle},
        {"fill slope -10", Square, [](PlateauSettings& s) { s.fillAngle = -10 * Deg; }, angle},
        {"level 1e9", Square, [](PlateauSettings& s) { s.level = 1e9; },
         "P1 cannot be built: its level lies more than 10 km off the terrain's heights."},
        {"level -1e9", Square, [](PlateauSettings& s) { s.level = -1e9; },
         "P1 cannot be built: its level lies more than 10 km off the terrain's heights."},
        {"bow-tie",
         {{20, 20, 0}, {60, 40, 0}, {60, 20, 0}, {20, 40, 0}},
         nullptr,
         "P1 cannot be built: its outline crosses itself."},
        {"three points on a line",
         {{20, 20, 0}, {40, 20, 0}, {60, 20, 0}},
         nullptr,
         "P1 cannot be built: its outline has no area, its points lie on one line."},
        {"off the terrain",
         {{150, 20, 0}, {260, 20, 0}, {260, 40, 0}, {150, 40, 0}},
         nullptr,
         "P1 cannot be built: its outline reaches off the terrain."},
    };
    for (const PlateauCase& c : cases) {
        // A confirmed dialog keeps its settings as the defaults: each case starts from the built-in ones.
        GlobalSettings.SetBuiltInDefaults(QV_String("Arial"));
        PlateauEdit = c.edit;
        const API_Element hatch = Placed(API_HatchID, c.outline, true);
        const size_t elements = Db().AllElements().size();
        const size_t log = DGDriver::Log().size();
        {
            DiggingCls cls;
            EXPECT_EQ(cls.CreateFromPolygon(GlobalSettings, dialogs, contours, hatch, terrain), 0) << c.what;
        }
        EXPECT_EQ(AlertTextsSince(log), std::vector<std::string>{c.alert}) << c.what;
        EXPECT_EQ(Db().AllElements().size(), elements) << c.what;
        EXPECT_TRUE(Objects(ElemKind_Plateau).empty()) << c.what;
    }
    // The same square with good settings stands.
    GlobalSettings.SetBuiltInDefaults(QV_String("Arial"));
    PlateauEdit = nullptr;
    DiggingCls cls;
    const size_t log = DGDriver::Log().size();
    EXPECT_EQ(cls.CreateFromPolygon(GlobalSettings, dialogs, contours, Placed(API_HatchID, Square, true), terrain), 0);
    EXPECT_EQ(AlertsSince(log), 0u);
    EXPECT_EQ(Objects(ElemKind_Plateau).size(), 3u);
}

struct RoadCase {
    const char* what;
    std::vector<API_Coord3D> path;
    std::function<void(RoadDialogState&)> edit;
    const char* alert;
};

const std::vector<API_Coord3D> Path = {{20, 60, 0}, {180, 60, 0}};

TEST_F(EarthworkRefusalsTest, EachRoadThatCannotBeBuiltIsRefusedByNameAndWhy) {
    const char* angle = "R1 cannot be built: a slope angle is not above 0 and below 90 degrees.";
    const std::vector<RoadCase> cases = {
        {"left cut slope 0", Path, [](RoadDialogState& s) { s.record.leftCutAngle = 0.0; }, angle},
        {"right fill slope 90", Path, [](RoadDialogState& s) { s.record.rightFillAngle = 90 * Deg; }, angle},
        {"zero width", Path, [](RoadDialogState& s) { s.width = 0.0; }, "R1 cannot be built: its width is zero."},
        {"off the terrain",
         {{20, 60, 0}, {300, 60, 0}},
         nullptr,
         "R1 cannot be built: its outline reaches off the terrain."},
    };
    for (const RoadCase& c : cases) {
        GlobalSettings.SetBuiltInDefaults(QV_String("Arial"));
        GlobalSettings.SetDouble(GeneralKind, MiscSettings::Id::roadWidth, 8.0);
        RoadEdit = c.edit;
        const API_Element path = Placed(API_PolyLineID, c.path, false);
        const size_t elements = Db().AllElements().size();
        const size_t log = DGDriver::Log().size();
        {
            GlobalSettings.SetShort(GeneralKind, MiscSettings::Id::roadReferenceLine, 2);
            RoadCls road;
            EXPECT_EQ(road.CreateAlongPolyline(GlobalSettings, dialogs, contours, path, terrain), 0) << c.what;
        }
        EXPECT_EQ(AlertTextsSince(log), std::vector<std::string>{c.alert}) << c.what;
        EXPECT_EQ(Db().AllElements().size(), elements) << c.what;
        EXPECT_TRUE(Objects(ElemKind_Road).empty()) << c.what;
    }
}

// A slope angle builds a slope exactly when it lies strictly between 0 and 90 degrees; a platform, exactly when it
// is gentler than both its slopes.
TEST(BodyFaultTest, AnglesAndPlatformSlopesOverTheirWholeRange) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> degrees(-200.0, 200.0);
    for (int i = 0; i < 2000; ++i) {
        const double a = degrees(rng), b = degrees(rng), c = degrees(rng);
        const bool builds = a > 0.001 && a < 89.999;
        EXPECT_EQ(SlopeAngleFault(a * Deg) == BodyFault::None, builds) << a;
        if (!(b > 0.001 && b < 89.999 && c > 0.001 && c < 89.999)) continue;
        const double slope = std::fabs(a) * 0.4;
        const bool gentler = slope < 89.999 && slope < b && slope < c;
        EXPECT_EQ(PlatformSlopeFault(slope * Deg, b * Deg, c * Deg) == BodyFault::None, gentler)
            << slope << " " << b << " " << c;
    }
    EXPECT_EQ(SlopeAngleFault(0.0), BodyFault::SlopeAngle);
    EXPECT_EQ(SlopeAngleFault(90 * Deg), BodyFault::SlopeAngle);
    EXPECT_EQ(WidthFault(0.0), BodyFault::ZeroWidth);
    EXPECT_EQ(WidthFault(0.1), BodyFault::None);
    EXPECT_EQ(LevelFault(1e9, 1e9, 100.0, 126.0), BodyFault::LevelOutOfReach);
    EXPECT_EQ(LevelFault(-1e9, -1e9, 100.0, 126.0), BodyFault::LevelOutOfReach);
    EXPECT_EQ(LevelFault(5000.0, 5000.0, 100.0, 126.0), BodyFault::None);
}

// Random simple polygons (stars around a centre) stay simple however they are turned, moved and scaled; the same
// with two neighbouring points swapped cross themselves; points on one line are flat.
TEST(BodyFaultTest, OutlinesAreSimpleFlatOrCrossingWhereverTheyLie) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int run = 0; run < 300; ++run) {
        const int n = 4 + int(unit(rng) * 12);
        const double scale = std::pow(10.0, unit(rng) * 6 - 2), turn = unit(rng) * 6.3;
        const double cx = (unit(rng) - 0.5) * 1e6, cy = (unit(rng) - 0.5) * 1e6;
        std::vector<API_Coord> star;
        for (int k = 0; k < n; ++k) {
            const double angle = turn + 6.283185307179586 * (k + 0.2 + 0.6 * unit(rng)) / n;
            const double r = scale * (0.5 + unit(rng));
            star.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
        }
        EXPECT_EQ(ClassifyOutline(star), OutlineShape::Simple) << run;
        std::vector<API_Coord> closed = star;
        closed.push_back(star[0]);
        EXPECT_EQ(ClassifyOutline(closed), OutlineShape::Simple) << run;
        // Four points on a circle, one in each quarter, taken with two neighbours swapped: a bow-tie.
        std::vector<API_Coord> tie;
        for (int k : {0, 2, 1, 3}) {
            const double angle = turn + 1.5707963267948966 * (k + 0.1 + 0.8 * unit(rng));
            tie.push_back({cx + scale * std::cos(angle), cy + scale * std::sin(angle)});
        }
        EXPECT_EQ(ClassifyOutline(tie), OutlineShape::CrossesItself) << run;
        std::vector<API_Coord> line;
        for (int k = 0; k < n; ++k) {
            const double t = unit(rng);
            line.push_back({cx + scale * t * std::cos(turn), cy + scale * t * std::sin(turn)});
        }
        EXPECT_EQ(ClassifyOutline(line), OutlineShape::Flat) << run;
    }
    EXPECT_EQ(ClassifyOutline({{0, 0}, {10, 10}, {10, 0}, {0, 10}}), OutlineShape::CrossesItself);
    EXPECT_EQ(ClassifyOutline({{0, 0}, {5, 0}, {10, 0}}), OutlineShape::Flat);
    EXPECT_EQ(ClassifyOutline({{0, 0}, {5, 0}}), OutlineShape::TooFewPoints);
    EXPECT_EQ(ClassifyOutline({{0, 0}, {10, 0}, {10, 10}, {5, 10}, {5, -5}}), OutlineShape::CrossesItself);
    EXPECT_EQ(ClassifyOutline({{0, 0}, {10, 0}, {10, 10}, {0, 10}}), OutlineShape::Simple);
}

}  // namespace earthwork_refusals_test
