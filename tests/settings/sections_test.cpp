// The preference and element settings sections over the add-on's library parts as the host loads them: random
// records written into a part's parameters read back the same, and the conversions, checks and failures that
// single sections have.
#include "settings/ElementSections.hpp"
#include "settings/PrefsLP.hpp"
#include "settings/PrefsSections.hpp"
#include "settings/ProjectOffset.hpp"
#include "settings/Settings.hpp"

#include "AddOnLibrary.hpp"
#include "TableFieldIds.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

namespace sections_test {

// A view over a fresh copy of a library part's default parameters.
template <typename View>
struct Part {
    template <typename... Args>
    explicit Part(const char* name, Args... args) : view(args...) {
        handle = DefaultParams(name);
        EXPECT_NE(handle, nullptr) << name;
        view.Attach(handle, true);
    }
    ~Part() { DisposeParamHandle(&handle); }
    API_AddParType& Param(const char* name) {
        const int32_t i = view.FindParam(QV_String(name));
        EXPECT_GE(i, 0) << name;
        return *view.Record(i < 0 ? 0 : i);
    }
    void Remove(const char* name) { std::strcpy(Param(name).name, "removed"); }

    View view;
    GSHandle handle = nullptr;
};

std::string Text(const QV_String& text) { return text.ToStdString(); }

// The fields of one kind a section carries, by the kind-and-id accessors.
struct Fields {
    uint32_t kind;
    std::vector<int16_t> shorts, reals, texts;
};

class Randomizer {
public:
    explicit Randomizer(uint32_t seed) : rng_(seed) {}
    int16_t Short() { return int16_t(std::uniform_int_distribution<int>(-32768, 32767)(rng_)); }
    double Real() { return std::uniform_real_distribution<double>(-1e4, 1e4)(rng_); }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    QV_String Word() {
        std::string s(size_t(Below(24)), ' ');
        for (char& c : s) c = char('A' + Below(58));
        return QV_String(s.c_str());
    }
    void Fill(Settings& s, const Fields& f) {
        for (int16_t id : f.shorts) s.SetShort(f.kind, id, Short());
        for (int16_t id : f.reals) s.SetDouble(f.kind, id, Real());
        for (int16_t id : f.texts) s.SetString(f.kind, id, Word());
    }

private:
    std::mt19937 rng_;
};

void ExpectCarried(const Settings& want, const Settings& got, const Fields& f, const std::string& where) {
    for (int16_t id : f.shorts) EXPECT_EQ(got.GetInt(f.kind, id), want.GetInt(f.kind, id)) << where << " short " << id;
    for (int16_t id : f.reals)
        EXPECT_EQ(got.GetDouble(f.kind, id), want.GetDouble(f.kind, id)) << where << " real " << id;
    for (int16_t id : f.texts)
        EXPECT_EQ(Text(got.GetString(f.kind, id)), Text(want.GetString(f.kind, id))) << where << " text " << id;
}

// A record declared as a table: the rows the preferences keep.
template <typename Record>
Fields FromTable(uint32_t kind) {
    const TableFieldIds ids = FieldIdsByType<Record>(TableRows::KeptByPreferences);
    return Fields{kind, ids.integers, ids.reals, ids.texts};
}

// The fields the preferences carry, kind by kind. Terrain ids 3 and 11 are flags, tested apart; road 13-15,
// plateau 14-16 and railway 15-17 are read from the general record's 1-3.
const std::vector<Fields> kPrefsFields = {
    FromTable<MiscSettings>(0),
    {1, {0}, {}, {2}},
    FromTable<ConstraintSettings>(2),
    FromTable<OutlineSettings>(3),
    {4, {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 14, 15, 16, 17, 18}, {}, {12}},
    {5, {4, 5, 6, 7, 8, 9, 10, 22, 23, 24, 25, 26}, {}, {}},
    {6, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {1, 2, 3, 4, 16, 17}, {5}},
    {7, {6, 7, 8, 10, 11, 12, 13, 14, 15, 16}, {1, 3, 4, 9, 17, 18}, {5}},
    FromTable<PaintSettings>(8),
    FromTable<BuildingSettings>(9),
    FromTable<WallData>(10),
    {11, {2, 3, 4, 5, 7, 8, 9}, {}, {1}},
    {12, {0, 1, 2, 3, 4, 5, 6}, {}, {9}},
    {13, {2, 4, 6, 9, 10, 11, 12}, {3, 5, 8}, {7}},
    FromTable<RetainerWallSettings>(15),
    FromTable<SectionData>(16),
    {18, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 20, 21}, {19}, {15, 16, 17, 18}},
    {20, {0, 1, 2, 3, 6, 7, 8, 9, 13, 14, 19, 20}, {4, 12, 15, 16, 17, 18}, {11}},
    {21, {8, 9, 10, 11, 12, 13, 14, 15, 16, 17}, {1, 2, 3, 4, 18, 19}, {5}},
};

bool RunAll(PrefsLP& view, Settings& s, int32_t direction) {
    for (int32_t order = 0; order < PrefsSectionCount; ++order)
        if (!RunPrefsSection(order, view, s, direction)) return false;
    return true;
}

TEST(PrefsSections, EveryCarriedFieldReadsBackAsWritten) {
    Randomizer random(7);
    for (int round = 0; round < 25; ++round) {
        Part<PrefsLP> part("VY_PREFS");
        Settings want;
        for (const Fields& f : kPrefsFields) random.Fill(want, f);
        SetSurfaceAttributes(want, random.Short(), random.Short(), random.Short());
        want.terrain.planTriangles = uint16_t(random.Below(3));
        want.terrain.modelTriangles = uint16_t(random.Below(3));
        want.sidewalk.thickness = random.Real();
        for (API_Coord3D& c : want.contour.depthColours) c = {random.Real(), random.Real(), random.Real()};
        ASSERT_TRUE(RunAll(part.view, want, 1));

        Settings got;
        ASSERT_TRUE(RunAll(part.view, got, 0));
        for (const Fields& f : kPrefsFields) ExpectCarried(want, got, f, "kind " + std::to_string(f.kind));
        EXPECT_EQ(got.terrain.planTriangles, want.terrain.planTriangles == 1 ? 1 : 2);
        EXPECT_EQ(got.terrain.modelTriangles, want.terrain.modelTriangles == 1 ? 1 : 0);
        EXPECT_EQ(got.sidewalk.thickness, want.sidewalk.thickness);
        for (int k = 0; k < 4; ++k) {
            const API_Coord3D c = got.contour.GetPoint(int16_t(18 + k));
            EXPECT_TRUE(c.x == want.contour.depthColours[k].x && c.y == want.contour.depthColours[k].y &&
                        c.z == want.contour.depthColours[k].z)
                << "colour " << k;
        }
        EXPECT_EQ(got.railway.gauge, 0.0);  // not a preference
    }
}

TEST(PrefsSections, ShortsAreTruncatedAndValuesOutsideTheirFieldFailTheSection) {
    Part<PrefsLP> part("VY_PREFS");
    const struct {
        double value;
        bool ok;
        int32_t read;
    } cases[] = {{3.9, true, 3},       {-3.9, true, -3},         {32767.5, true, 32767}, {40000.0, false, 0},
                 {-32769.0, false, 0}, {std::nan(""), false, 0}, {INFINITY, false, 0}};
    for (const auto& c : cases) {
        part.Param("punti_2D_pen").value.real = c.value;
        Settings s;
        s.points.pen = 11;
        EXPECT_EQ(RunPrefsSection(0, part.view, s, 0), c.ok) << c.value;
        EXPECT_EQ(s.points.pen, c.ok ? c.read : 11) << c.value;
    }
    // A real that is not a number fails its section too.
    part.Param("plateau_cut_angle").value.real = std::nan("");
    Settings s;
    s.plateau.level = 4.0;
    EXPECT_FALSE(RunPrefsSection(5, part.view, s, 0));
    EXPECT_EQ(s.plateau.level, 4.0);
}

TEST(PrefsSections, AMissingParameterFailsItsSectionAndTheEarlierOnesKeepWhatTheyRead) {
    Part<PrefsLP> part("VY_PREFS");
    part.Remove("plateau_slope");
    Settings s;
    s.plateau.level = 77.0;
    EXPECT_FALSE(RunPrefsSection(5, part.view, s, 1));
    EXPECT_FALSE(RunAll(part.view, s, 0));
    EXPECT_EQ(s.plateau.level, 77.0);
    EXPECT_EQ(Text(s.terrain.name), "TERRAIN");  // the sections before it read the part's values
    EXPECT_EQ(s.points.pen, 4);
    EXPECT_FALSE(RunPrefsSection(PrefsSectionCount, part.view, s, 0));
}

// ---- element settings sections

// Random values of `f` written into a fresh copy of `part`'s parameters and read back into a fresh record, by
// `run(view, settings, direction)`. The track counts take one of the two values they can carry.
template <typename View, typename Run, typename... Args>
void RoundTrip(const char* part, const Fields& f, Run run, Args... viewArgs) {
    Randomizer random(f.kind);
    Part<View> p(part, viewArgs...);
    for (int round = 0; round < 10; ++round) {
        Settings want;
        random.Fill(want, f);
        want.bridge.twoTracks = int16_t(random.Below(2));
        want.railway.firstTrack = 1;
        want.railway.secondTrack = int16_t(random.Below(2));
        ASSERT_TRUE(run(p.view, want, 1)) << part;
        Settings got;
        ASSERT_TRUE(run(p.view, got, 0)) << part;
        ExpectCarried(want, got, f, part);
    }
}

// The section of a record member of Settings, over a view of type View.
template <typename View, typename Record>
auto Section(Record Settings::*member) {
    return [member](View& v, Settings& s, int32_t d) { return SerializeSettings(v, s.*member, d); };
}

// Road and railway ids 16, 17 and 18, 19 are read over from other parameters (tested below).
TEST(ElementSections, EveryCarriedFieldReadsBackAsWritten) {
    RoundTrip<BasinLP>("VY_BASIN", {12, {0, 1, 2, 4, 5, 6, 7}, {10}, {}}, Section<BasinLP>(&Settings::basin), 12);
    RoundTrip<BridgeLP>("VY_BRIDGE",
                        {20, {0, 1, 2, 3, 6, 7, 8, 9, 13, 14, 19, 20, 21, 22}, {4, 12, 15, 16, 17, 18, 23, 24}, {}},
                        Section<BridgeLP>(&Settings::bridge), 20);
    RoundTrip<BuildingLP>("VY_BUILDING", {9, {0, 1, 2, 4, 5, 6, 7, 8, 12}, {3, 11, 13}, {}},
                          Section<BuildingLP>(&Settings::building), 9);
    RoundTrip<ContourLineLP>("VY_CONTOURLINES",
                             {5, {5, 6, 7, 8, 9, 10, 12, 13, 22, 23, 24, 25, 26}, {0, 1, 2, 14, 15, 16, 17}, {}},
                             Section<ContourLineLP>(&Settings::contour), 5);
    RoundTrip<MarkerLP>("VY_LEVEL_MARKER", {13, {2, 4, 6, 9, 15}, {3, 5, 8}, {7}},
                        Section<MarkerLP>(&Settings::marker));
    RoundTrip<MarkerPtLP>("VY_POINT_MARKER", {14, {2, 4, 6, 9, 10, 11, 12, 15}, {3, 5, 8}, {7}},
                          Section<MarkerPtLP>(&Settings::marker));
    RoundTrip<ObstacleLP>("VY_RETAINING_WALL", {15, {4, 5, 6, 7, 8, 9}, {0, 1, 2}, {}},
                          Section<ObstacleLP>(&Settings::retainingWall), 15);
    RoundTrip<PaintLP>("VY_PAINTER", {8, {0, 4, 5}, {3}, {}}, Section<PaintLP>(&Settings::paint), 8);
    RoundTrip<RailwayLP>("VY_RAILWAY",
                         {21, {6, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 20, 21, 24}, {1, 2, 3, 4, 22, 23}, {}},
                         Section<RailwayLP>(&Settings::railway), 21);
    RoundTrip<RoadLP>("VY_ROAD", {6, {6, 7, 8, 9, 10, 11, 13, 14, 15}, {1, 2, 3, 4}, {}},
                      Section<RoadLP>(&Settings::road), 6);
    RoundTrip<RoadLP>(
        "VY_ROAD", {16, {2, 3, 4, 5, 6, 7, 8, 11, 12, 13, 14, 15, 16}, {1, 10}, {9}},
        [](RoadLP& v, Settings& s, int32_t d) { return SerializeSettings2(v, s.section, d); }, 6);
    RoundTrip<SideWalkLP>("VY_SIDEWALK", {11, {2, 3, 4, 5, 7, 8, 10}, {}, {}}, Section<SideWalkLP>(&Settings::sidewalk),
                          11);
    RoundTrip<SlopeRangeLP>(
        "VY_SLOPE_RANGE",
        {18, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 20, 21, 22, 24}, {14, 19}, {15, 16, 17, 18}},
        Section<SlopeRangeLP>(&Settings::slopeRange));
    RoundTrip<WallLP>("VY_WALL", {10, {0, 1, 4, 5, 6, 7, 11}, {2, 10}, {3}}, Section<WallLP>(&Settings::wall), 10);
    for (const bool sloped : {false, true}) {
        Fields f{7, {6, 7, 8, 10, 11, 12, 14, 15, 16}, {1, 3, 4, 17, 18}, {}};
        if (sloped) f.reals.push_back(9);
        RoundTrip<DiggingLP>(
            sloped ? "VY_SLOPED_PLATEAU" : "VY_PLATEAU", f,
            [sloped](DiggingLP& v, Settings& s, int32_t d) { return SerializeSettings(v, s.plateau, sloped, d); }, 7,
            uint8_t(sloped));
    }
}

TEST(ElementSections, HeightsSplitOverTwoParametersAndReadBackAsTheirSum) {
    Part<BasinLP> p("VY_BASIN", 12);
    for (const double level : {-2.5, 0.0}) {
        BasinSettings basin;
        basin.level = level;
        ASSERT_TRUE(SerializeSettings(p.view, basin, 1));
        EXPECT_EQ(p.Param("ZZYZX").value.real, 0.0);
        EXPECT_EQ(p.Param("negative_level").value.real, level);
        basin.level = 9.0;
        ASSERT_TRUE(SerializeSettings(p.view, basin, 0));
        EXPECT_EQ(basin.level, level);
    }
}

TEST(ElementSections, TrackCountsOutsideOneAndTwo) {
    Part<RailwayLP> rail("VY_RAILWAY", 21);
    for (const int16_t oldFirst : {0, 1}) {
        RailwaySettings r;
        r.firstTrack = oldFirst;
        rail.Param("et_num_track").value.real = 3;
        ASSERT_TRUE(SerializeSettings(rail.view, r, 0));
        EXPECT_EQ(r.secondTrack, 3);
        EXPECT_EQ(r.firstTrack, oldFirst);  // the count says nothing of the first track
    }
    Part<BridgeLP> bridge("VY_BRIDGE", 20);
    bridge.Param("num_track").value.real = 3;
    BridgeSettings b;
    ASSERT_TRUE(SerializeSettings(bridge.view, b, 0));
    EXPECT_EQ(b.twoTracks, 3);
}

TEST(ElementSections, RoadAndRailwayReadTheSlopeIncrementsOverTheDepths) {
    Part<RoadLP> road("VY_ROAD", 6);
    RoadSettings r;
    r.cutExtension = 1.0;
    r.fillExtension = 2.0;
    ASSERT_TRUE(SerializeSettings(road.view, r, 1));
    EXPECT_EQ(road.Param("slope_depth_cut").value.real, 1.0);
    road.Param("slope_inc_cut").value.real = 7.5;
    road.Param("slope_inc_fill").value.real = 8.5;
    RoadSettings back;
    ASSERT_TRUE(SerializeSettings(road.view, back, 0));
    EXPECT_EQ(back.cutExtension, 7.5);
    EXPECT_EQ(back.fillExtension, 8.5);

    road.Remove("use_new_slope");  // an object without it is refused whole
    RoadSettings kept;
    kept.resolution = 42;
    EXPECT_FALSE(SerializeSettings(road.view, kept, 0));
    EXPECT_EQ(kept.resolution, 42);
    EXPECT_TRUE(SerializeSettings(road.view, kept, 1));  // the write does not need it
}

TEST(ElementSections, PlainPlateauReadsNoSlopeAndPointMarkersCarryTheOffsetNegated) {
    Part<DiggingLP> plateau("VY_SLOPED_PLATEAU", 7, uint8_t(1));
    plateau.Param("slope").value.real = 0.3;
    PlateauSettings p;
    ASSERT_TRUE(SerializeSettings(plateau.view, p, true, 0));
    EXPECT_EQ(p.slope, 0.3);
    ASSERT_TRUE(SerializeSettings(plateau.view, p, false, 0));
    EXPECT_EQ(p.slope, 0.0);

    ProjectOffset.x = 1200.5;
    ProjectOffset.y = -30.0;
    Part<MarkerPtLP> marker("VY_POINT_MARKER");
    SpotHeightSettings m;
    ASSERT_TRUE(SerializeSettings(marker.view, m, 1));
    EXPECT_EQ(marker.Param("icsy_offset").value.real, -1200.5);
    EXPECT_EQ(marker.Param("ipsy_offset").value.real, 30.0);
    marker.Param("icsy_offset").value.real = 5.0;
    ASSERT_TRUE(SerializeSettings(marker.view, m, 0));  // read, never written back
    EXPECT_EQ(ProjectOffset.x, 1200.5);
    ProjectOffset.Reset();
}

}  // namespace sections_test
