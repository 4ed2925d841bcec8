#include "elements/ParamNames.hpp"
#include "elements/PrefsParamIndexes.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace param_names_test {

typedef const char* (*NameFunction)(int32_t);

struct Table {
    const char* view;
    NameFunction name;
    int32_t first;  // first index of its own run
    int32_t last;   // last index of its own run
    const char* firstName;
    const char* lastName;
};

const char* DiggingSloped(int32_t index) { return DiggingLP_ParamName(index, true); }
const char* DiggingPlain(int32_t index) { return DiggingLP_ParamName(index, false); }

const Table kTables[] = {
    {"BasinBuilderLP", BasinBuilderLP_ParamName, 39, 40, "livello", "mesh_level"},
    {"BasinLP", BasinLP_ParamName, 39, 43, "perimetro_base", "language"},
    {"BridgeLP", BridgeLP_ParamName, 39, 57, "BridgeSurface", "GaugeTrack"},
    {"BuildingLP", BuildingLP_ParamName, 39, 45, "mat_oggetto", "acca_palazzo"},
    {"ContourLineLP", ContourLineLP_ParamName, 39, 66, "passo", "language"},
    {"DiggingLP sloped", DiggingSloped, 39, 46, "slope_angle_cut", "language"},
    {"DiggingLP", DiggingPlain, 39, 46, "slope_angle_cut", "language"},
    {"ObstacleLP", ObstacleLP_ParamName, 39, 44, "slope_SX_fill", "a_sinistra"},
    {"PaintLP", PaintLP_ParamName, 39, 49, "nodes", "dislivello"},
    {"RailwayLP", RailwayLP_ParamName, 39, 73, "slope_SX_cut", "et_bLevelCrossing"},
    {"RoadLP", RoadLP_ParamName, 39, 67, "slope_SX_cut", "slope_depth_cut"},
    {"SideWalkLP", SideWalkLP_ParamName, 39, 40, "thck", "latosinistro"},
    {"WallLP", WallLP_ParamName, 39, 42, "mat", "retino"},
    {"LocalizatorLP", LocalizatorLP_ParamName, 3, 3, "language", "language"},
    {"MarkerLP", MarkerLP_ParamName, 3, 25, "tipo", "Marker_Active"},
    {"MarkerPtLP", MarkerPtLP_ParamName, 3, 19, "tipo", "Marker_Active"},
    {"PrefsLP", PrefsLP_ParamName, PrefsParam::First, PrefsParam::Last, "punti_2D_pen", "Quorra30_camera"},
    {"SlopeRangeLP", SlopeRangeLP_ParamName, 3, 31, "XYZ_mask", "mostra_2D"},
};

std::string N(const char* s) { return s; }

TEST(ParamNames, BaseTables) {
    EXPECT_EQ(N(BaseLP_ParamName(0)), "A");
    EXPECT_EQ(N(BaseLP_ParamName(1)), "B");
    EXPECT_EQ(N(BaseLP_ParamName(2)), "ZZYZX");
    for (int32_t i : {-1, 3, 39, INT32_MIN, INT32_MAX}) EXPECT_EQ(N(BaseLP_ParamName(i)), "???") << i;
    EXPECT_EQ(N(BaseIDLP_ParamName(2)), "ZZYZX");
    EXPECT_EQ(N(BaseIDLP_ParamName(3)), "IDresult");
    EXPECT_EQ(N(BaseIDLP_ParamName(7)), "operatore");
    EXPECT_EQ(N(BaseIDLP_ParamName(30)), "macro_name");
    EXPECT_EQ(N(BaseIDLP_ParamName(38)), "original_mesh_level");
    EXPECT_EQ(N(BaseIDLP_ParamName(39)), "???");
}

TEST(ParamNames, EveryViewAtItsBounds) {
    for (const Table& t : kTables) {
        SCOPED_TRACE(t.view);
        EXPECT_EQ(N(t.name(t.first)), t.firstName);
        EXPECT_EQ(N(t.name(t.last)), t.lastName);
        EXPECT_EQ(N(t.name(t.last + 1)), "???");
        EXPECT_EQ(N(t.name(-1)), "???");
        EXPECT_EQ(N(t.name(INT32_MIN)), "???");
        EXPECT_EQ(N(t.name(INT32_MAX)), "???");
        // The parent answers below the own run.
        EXPECT_EQ(N(t.name(0)), "A");
        EXPECT_EQ(N(t.name(2)), "ZZYZX");
        if (t.first == 39) {
            EXPECT_EQ(N(t.name(3)), "IDresult");
            EXPECT_EQ(N(t.name(38)), "original_mesh_level");
        }
        // Every name is plain ASCII of at most 31 bytes, and never null.
        for (int32_t i = -2; i <= t.last + 2; ++i) {
            const char* name = t.name(i);
            ASSERT_NE(name, nullptr);
            EXPECT_GT(std::strlen(name), 0u);
            EXPECT_LE(std::strlen(name), 31u) << name;
            for (const char* p = name; *p; ++p) EXPECT_TRUE(*p > ' ' && *p < 127) << name;
        }
    }
}

TEST(ParamNames, NamesOfTheRunsAreDistinctWithinAView) {
    for (const Table& t : kTables) {
        std::set<std::string> seen;
        for (int32_t i = t.first; i <= t.last; ++i) {
            const std::string name = t.name(i);
            if (name == "???") continue;
            EXPECT_TRUE(seen.insert(name).second) << t.view << " repeats " << name;
        }
    }
}

TEST(ParamNames, KnownIndices) {
    EXPECT_EQ(N(RoadLP_ParamName(67)), "slope_depth_cut");
    EXPECT_EQ(N(RoadLP_ParamName(68)), "???");
    EXPECT_EQ(N(RailwayLP_ParamName(68)), "et_num_track");
    EXPECT_EQ(N(RailwayLP_ParamName(45)), "IDoriginal");
    EXPECT_EQ(N(RailwayLP_ParamName(64)), "language");
    for (int32_t i = 39; i <= 67; ++i) EXPECT_EQ(N(RoadLP_ParamName(i)), N(RailwayLP_ParamName(i))) << i;
    EXPECT_EQ(N(MarkerPtLP_ParamName(2)), "ZZYZX");
    EXPECT_EQ(N(MarkerPtLP_ParamName(20)), "???");
    EXPECT_EQ(N(MarkerPtLP_ParamName(7)), "coordinates");
    EXPECT_EQ(N(MarkerLP_ParamName(25)), "Marker_Active");
    EXPECT_EQ(N(MarkerLP_ParamName(8)), "livello");
    EXPECT_EQ(N(MarkerLP_ParamName(21)), "point_ref");
    EXPECT_EQ(N(LocalizatorLP_ParamName(4)), "???");
    EXPECT_EQ(N(ContourLineLP_ParamName(51)), "rgb_colore");
    EXPECT_EQ(N(ContourLineLP_ParamName(60)), "BB_coor");
    EXPECT_EQ(N(ContourLineLP_ParamName(64)), "quantita");
    EXPECT_EQ(N(ContourLineLP_ParamName(65)), "identificatori");
    EXPECT_EQ(N(PaintLP_ParamName(47)), "origine");
    EXPECT_EQ(N(ObstacleLP_ParamName(43)), "originale");
    EXPECT_EQ(N(SlopeRangeLP_ParamName(5)), "slopes");
    EXPECT_EQ(N(BridgeLP_ParamName(55)), "num_track");
    EXPECT_EQ(N(BasinLP_ParamName(27)), "perimetro_base");
    EXPECT_EQ(N(BasinLP_ParamName(39)), "perimetro_base");
}

TEST(ParamNames, PlateauSlopeNamesOnlyWhenSloped) {
    const char* const slopedOnly[] = {"slope_direction", "slope", "X_origo", "Y_origo"};
    for (int32_t i = 42; i <= 45; ++i) {
        EXPECT_EQ(N(DiggingLP_ParamName(i, true)), slopedOnly[i - 42]);
        EXPECT_EQ(N(DiggingLP_ParamName(i, false)), "???");
    }
    for (bool sloped : {false, true}) {
        EXPECT_EQ(N(DiggingLP_ParamName(41, sloped)), "livello");
        EXPECT_EQ(N(DiggingLP_ParamName(46, sloped)), "language");
        EXPECT_EQ(N(DiggingLP_ParamName(47, sloped)), "???");
        EXPECT_EQ(N(DiggingLP_ParamName(20, sloped)), "cancella_obs");
    }
}

TEST(ParamNames, PreferenceNamesByPlace) {
    // Every parameter at its place in the list, counted from 3; outside it the base names or none.
    int32_t index = PrefsParam::First;
    for (const ParamIndexEntry& entry : PrefsParam::Entries) {
        EXPECT_EQ(entry.index, index) << entry.constant;
        EXPECT_EQ(N(PrefsLP_ParamName(index)), entry.name) << index;
        ++index;
    }
    EXPECT_EQ(index, PrefsParam::End);
    EXPECT_EQ(N(PrefsLP_ParamName(PrefsParam::First - 1)), "ZZYZX");
    EXPECT_EQ(N(PrefsLP_ParamName(PrefsParam::End)), "???");
    EXPECT_EQ(N(PrefsLP_ParamName(-1)), "???");
}

}  // namespace param_names_test
