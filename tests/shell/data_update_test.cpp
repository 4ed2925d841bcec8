// "Data update": the choice of rebuild by what the selection holds (the cases themselves run in
// examples/data_update.script and examples/road_section.script).
#include "shell/commands/DataUpdate.hpp"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(DataUpdateChoiceTest, EachKindAloneChoosesItsRebuildAndMixturesChooseNone) {
    using C = DataUpdateCase;
    int32_t DataUpdateSelection::*const singles[] = {
        &DataUpdateSelection::basins,    &DataUpdateSelection::roads,        &DataUpdateSelection::sections,
        &DataUpdateSelection::plateaus,  &DataUpdateSelection::sidewalks,    &DataUpdateSelection::retainingWalls,
        &DataUpdateSelection::buildings, &DataUpdateSelection::colouredAreas};
    const C expected[] = {C::Basin,    C::Road,          C::RoadSection, C::Plateau,
                          C::Sidewalk, C::RetainingWall, C::Building,    C::ColouredArea};
    std::mt19937 rng(108);
    for (int round = 0; round < 300; ++round) {
        DataUpdateSelection s;
        s.projectTerrains = int32_t(rng() % 3);
        const size_t k = rng() % 8;
        s.*singles[k] = 1;
        s.selected = 1;
        EXPECT_EQ(ChooseDataUpdateCase(s), expected[k]);
        // Two of one kind, or one with anything else beside it, match no single-object case.
        s.selected = 2;
        EXPECT_EQ(ChooseDataUpdateCase(s), C::None);
        s.*singles[k] = 2;
        EXPECT_EQ(ChooseDataUpdateCase(s), C::None);
        // Walls or bridges alone go together, in any number; mixed they do not.
        DataUpdateSelection many;
        many.selected = 1 + int32_t(rng() % 5);
        (rng() % 2 ? many.walls : many.bridges) = many.selected;
        EXPECT_EQ(ChooseDataUpdateCase(many), many.walls > 0 ? C::Walls : C::Bridges);
        many.walls = many.bridges = many.selected;
        many.selected *= 2;
        EXPECT_EQ(ChooseDataUpdateCase(many), C::None);
    }
    DataUpdateSelection railway;
    railway.selected = railway.railways = 1;
    EXPECT_EQ(ChooseDataUpdateCase(railway), C::None);
    // A level marker with its terrain, only while the project holds exactly one terrain.
    DataUpdateSelection marker;
    marker.selected = 2;
    marker.markers = 1;
    marker.projectTerrains = 1;
    EXPECT_EQ(ChooseDataUpdateCase(marker), C::LevelMarker);
    marker.projectTerrains = 2;
    EXPECT_EQ(ChooseDataUpdateCase(marker), C::None);
}

}  // namespace
