// Every index the module addresses a parameter by (elements/ParamIndexes.hpp, elements/PrefsParamIndexes.hpp),
// held against the library parts it is used on, as the host loads the add-on's library: the view's name table
// must give there the parameter the constant stands for, and the part must have that parameter. A shifted index
// or a name table out of step with its part fails here, where a write-then-read of the same index cannot see it.
#include "elements/CoordinateLocatorLP.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/LocalizatorLP.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/PrefsParamIndexes.hpp"
#include "settings/PrefsLP.hpp"

#include "AddOnLibrary.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace param_indexes_test {

// One namespace of index constants.
struct IndexTable {
    const char* space;
    const ParamIndexEntry* entries;
    size_t count;
};

template <size_t N>
IndexTable Table(const char* space, const ParamIndexEntry (&entries)[N]) {
    return IndexTable{space, entries, N};
}

const IndexTable kBase = Table("BaseParam", BaseParam::Entries);
const IndexTable kBaseID = Table("BaseIDParam", BaseIDParam::Entries);

// A library part, the view the module lays over it, and the index tables the module uses through that view.
struct PartUse {
    const char* part;
    std::function<std::unique_ptr<BaseLP>()> make;
    std::vector<IndexTable> tables;
};

template <typename View, typename... Args>
std::function<std::unique_ptr<BaseLP>()> Make(Args... args) {
    return [=] { return std::unique_ptr<BaseLP>(new View(args...)); };
}

const std::vector<PartUse>& Uses() {
    static const std::vector<PartUse> uses = {
        {"VY3_BasinBuilder",
         Make<BasinBuilderLP>(12),
         {kBase, kBaseID, Table("BasinBuilderParam", BasinBuilderParam::Entries)}},
        {"VY_BASIN", Make<BasinLP>(12), {kBase, kBaseID, Table("BasinParam", BasinParam::Entries)}},
        {"VY_BRIDGE", Make<BridgeLP>(20), {kBase, kBaseID, Table("BridgeParam", BridgeParam::Entries)}},
        {"VY_BUILDING", Make<BuildingLP>(9), {kBase, kBaseID, Table("BuildingParam", BuildingParam::Entries)}},
        {"VY_CONTOURLINES",
         Make<ContourLineLP>(5),
         {kBase, kBaseID, Table("ContourLineParam", ContourLineParam::Entries)}},
        {"VY_PLATEAU", Make<DiggingLP>(7, uint8_t(0)), {kBase, kBaseID, Table("DiggingParam", DiggingParam::Entries)}},
        {"VY_SLOPED_PLATEAU",
         Make<DiggingLP>(7, uint8_t(1)),
         {kBase, kBaseID, Table("DiggingParam", DiggingParam::Entries),
          Table("SlopedDiggingParam", SlopedDiggingParam::Entries)}},
        {"VY_RETAINING_WALL", Make<ObstacleLP>(15), {kBase, kBaseID, Table("ObstacleParam", ObstacleParam::Entries)}},
        {"VY_PAINTER", Make<PaintLP>(8), {kBase, kBaseID, Table("PaintParam", PaintParam::Entries)}},
        {"VY_ROAD", Make<RoadLP>(6), {kBase, kBaseID, Table("RoadParam", RoadParam::Entries)}},
        {"VY_RAILWAY",
         Make<RailwayLP>(21),
         {kBase, kBaseID, Table("RoadParam", RoadParam::Entries), Table("RailwayParam", RailwayParam::Entries)}},
        {"VY_SIDEWALK", Make<SideWalkLP>(11), {kBase, kBaseID, Table("SideWalkParam", SideWalkParam::Entries)}},
        {"VY_WALL", Make<WallLP>(10), {kBase, kBaseID, Table("WallParam", WallParam::Entries)}},
        {"VY_LEVEL_MARKER", Make<MarkerLP>(), {kBase, Table("MarkerParam", MarkerParam::Entries)}},
        {"VY_POINT_MARKER", Make<MarkerPtLP>(), {kBase, Table("MarkerPtParam", MarkerPtParam::Entries)}},
        {"VY_SLOPE_RANGE", Make<SlopeRangeLP>(), {kBase, Table("SlopeRangeParam", SlopeRangeParam::Entries)}},
        {"VY3_Localizator", Make<LocalizatorLP>(), {Table("LocalizatorParam", LocalizatorParam::Entries)}},
        {"VY_PREFS", Make<PrefsLP>(), {Table("PrefsParam", PrefsParam::Entries)}},
        {"SOSI_COORDINATE_LOCATOR",
         Make<CoordinateLocatorLP>(),
         {Table("CoordinateLocatorParam", CoordinateLocatorParam::Entries)}},
    };
    return uses;
}

// The view laid over a fresh copy of the part's default parameters, names compared exactly as over a placed
// object.
class PartView {
public:
    explicit PartView(const PartUse& use) : view(use.make()) {
        handle = DefaultParams(use.part);
        EXPECT_NE(handle, nullptr) << use.part;
        view->Attach(handle, true);
    }
    ~PartView() {
        view->Detach();
        DisposeParamHandle(&handle);
    }
    PartView(const PartView&) = delete;
    PartView& operator=(const PartView&) = delete;

    std::unique_ptr<BaseLP> view;
    GSHandle handle = nullptr;
};

TEST(ParamIndexes, EachIndexNamesItsParameterInEveryPartItIsUsedOn) {
    size_t checked = 0;
    for (const PartUse& use : Uses()) {
        SCOPED_TRACE(use.part);
        PartView part(use);
        for (const IndexTable& table : use.tables) {
            for (size_t i = 0; i < table.count; ++i) {
                const ParamIndexEntry& e = table.entries[i];
                const std::string constant = std::string(table.space) + "::" + e.constant;
                const std::string named = part.view->GetParamName(e.index);
                EXPECT_EQ(named, e.name) << constant << " = " << e.index << " names \"" << named << "\" on this view";
                EXPECT_GE(part.view->FindParam(QV_String(e.name)), 0)
                    << constant << ": the part has no parameter \"" << e.name << "\"";
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 600u);
}

// One constant per index of a view: two names for one index would let the code's two uses drift apart unseen.
TEST(ParamIndexes, NoIndexIsNamedTwiceOnAView) {
    for (const PartUse& use : Uses()) {
        std::map<int32_t, std::string> seen;
        for (const IndexTable& table : use.tables) {
            for (size_t i = 0; i < table.count; ++i) {
                const ParamIndexEntry& e = table.entries[i];
                const std::string constant = std::string(table.space) + "::" + e.constant;
                const auto inserted = seen.emplace(e.index, constant);
                EXPECT_TRUE(inserted.second) << use.part << ": index " << e.index << " is both "
                                             << inserted.first->second << " and " << constant;
            }
        }
    }
}

}  // namespace param_indexes_test
