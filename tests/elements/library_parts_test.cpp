// The parameter views over the default parameter lists of the add-on's object library, as the host loads it:
// every name a view can produce must be a parameter of the library part the view is laid over, with a kind
// (number or text, scalar or array) its accessors can use.
#include "elements/LibPartViews.hpp"
#include "elements/LocalizatorLP.hpp"
#include "elements/ArrayParams.hpp"
#include "elements/GdlParams.hpp"
#include "elements/PrefsParamIndexes.hpp"
#include "settings/PrefsLP.hpp"

#include "library/LibraryStore.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>

namespace library_parts_test {

std::string LibraryFolder() { return std::string(LODRAVIX_SOURCE_DIR) + "/library"; }

const LibraryStore& Library() {
    static LibraryStore store;
    static bool loaded = false;
    if (!loaded) {
        std::string error;
        loaded = store.LoadFolder(LibraryFolder(), &error);
        EXPECT_TRUE(loaded) << error;
    }
    return store;
}

// A view laid over a library part's default parameter list, released with the fixture.
class PartParams {
public:
    PartParams(const char* partName, BaseLP& view) : view(view) {
        const int32_t index = Library().FindByName(partName, LibPartType_Object);
        EXPECT_GT(index, 0) << partName;
        if (index <= 0) return;
        handle = Library().MakeParamHandle(index);
        EXPECT_NE(handle, nullptr);
        view.params = handle;
        view.count = int32_t(BMGetHandleSize(handle) / GSSize(sizeof(API_AddParType)));
        view.caseSensitive = 1;  // as over a placed object: names compare exactly
    }
    ~PartParams() { DisposeParamHandle(&handle); }

    const API_AddParType* Find(const char* name) {
        const int32_t i = view.FindParam(QV_String(name));
        return i < 0 ? nullptr : view.Record(i);
    }

private:
    BaseLP& view;
    GSHandle handle = nullptr;
};

struct ViewCase {
    const char* part;
    std::function<std::unique_ptr<BaseLP>()> make;
    int32_t last;  // last index of the view's own run
};

template <typename View, typename... Args>
std::function<std::unique_ptr<BaseLP>()> Make(Args... args) {
    return [=] { return std::unique_ptr<BaseLP>(new View(args...)); };
}

const ViewCase kViews[] = {
    {"VY3_BasinBuilder", Make<BasinBuilderLP>(12), 40},
    {"VY_BASIN", Make<BasinLP>(12), 43},
    {"VY_BRIDGE", Make<BridgeLP>(20), 57},
    {"VY_BUILDING", Make<BuildingLP>(9), 45},
    {"VY_CONTOURLINES", Make<ContourLineLP>(5), 66},
    {"VY_PLATEAU", Make<DiggingLP>(7, uint8_t(0)), 46},
    {"VY_SLOPED_PLATEAU", Make<DiggingLP>(7, uint8_t(1)), 46},
    {"VY_RETAINING_WALL", Make<ObstacleLP>(15), 44},
    {"VY_PAINTER", Make<PaintLP>(8), 49},
    {"VY_RAILWAY", Make<RailwayLP>(21), 73},
    {"VY_ROAD", Make<RoadLP>(6), 67},
    {"VY_SIDEWALK", Make<SideWalkLP>(11), 40},
    {"VY_WALL", Make<WallLP>(10), 42},
    {"VY_LEVEL_MARKER", Make<MarkerLP>(), 25},
    {"VY_POINT_MARKER", Make<MarkerPtLP>(), 19},
    {"VY_SLOPE_RANGE", Make<SlopeRangeLP>(), 31},
    {"VY_PREFS", Make<PrefsLP>(), PrefsParam::Last},
    {"VY3_Localizator", Make<LocalizatorLP>(), 3},
};

TEST(LibraryParts, EveryNameOfAViewIsAParameterOfItsPart) {
    for (const ViewCase& v : kViews) {
        SCOPED_TRACE(v.part);
        std::unique_ptr<BaseLP> view = v.make();
        PartParams params(v.part, *view);
        int32_t names = 0;
        for (int32_t i = -2; i <= v.last + 2; ++i) {
            const std::string name = view->GetParamName(i);
            if (name == UnknownParamName) {
                EXPECT_EQ(view->FindParam(QV_String(name.c_str())), -1);
                EXPECT_EQ(view->status, LPStatus_NameNotFound);
                continue;
            }
            ++names;
            EXPECT_GE(view->FindParam(QV_String(name.c_str())), 0) << "index " << i << " \"" << name << "\"";
        }
        EXPECT_EQ(std::string(view->GetParamName(v.last + 1)), UnknownParamName);
        EXPECT_GT(names, 3);
    }
}

// The preferences part lists its parameters in the order of PrefsParam, so that the indexes are their places.
TEST(LibraryParts, PreferencesFollowTheirList) {
    PrefsLP view;
    PartParams params("VY_PREFS", view);
    ASSERT_EQ(view.count, PrefsParam::End);
    for (int32_t i = PrefsParam::First; i < PrefsParam::End; ++i)
        EXPECT_EQ(std::string(view.Record(i)->name), PrefsParam::Names[i - PrefsParam::First]) << i;
}

TEST(LibraryParts, PlainPlateauHasNoSlopeParameters) {
    DiggingLP plain(7, 0);
    PartParams params("VY_PLATEAU", plain);
    for (int32_t i = 42; i <= 45; ++i) EXPECT_EQ(plain.FindParam(QV_String(plain.GetParamName(i))), -1);
    EXPECT_EQ(params.Find("slope"), nullptr);
    plain.sloped = 1;  // the sloped names do not exist on a plain plateau either
    EXPECT_EQ(plain.FindParam(QV_String(plain.GetParamName(43))), -1);
    EXPECT_EQ(plain.status, LPStatus_NameNotFound);
}

TEST(LibraryParts, FilesAreDistinctParts) {
    std::set<std::string> guids;
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(LibraryFolder())) {
        // Descriptions are objects; the picture files are parts of their own type.
        const bool picture = entry.path().extension() == ".jpg";
        if (entry.path().extension() != ".lpd" && !picture) continue;
        ++files;
        const int32_t index =
            Library().FindByName(entry.path().stem().string(), picture ? LibPartType_Picture : LibPartType_Object);
        ASSERT_GT(index, 0) << entry.path();
        EXPECT_EQ(Library().Part(index)->name, entry.path().stem().string());
        EXPECT_TRUE(guids.insert(Library().Part(index)->guid).second) << entry.path();
    }
    EXPECT_EQ(Library().PartCount(), files);
    EXPECT_GE(files, 18);
}

// The typed accessors refuse a number from a text parameter and a text from a numeric one, and the array
// exchanges need arrays: the parts declare each parameter the way the views use it.
TEST(LibraryParts, ParameterKindsMatchTheirUse) {
    const struct {
        const char* part;
        const char* name;
        const char* kind;  // "text", "number", "text array", "number array"
    } uses[] = {
        {"VY_ROAD", "operatore", "text"},
        {"VY_ROAD", "macro_name", "text"},
        {"VY_ROAD", "IDresult", "number"},
        {"VY_ROAD", "IDoriginal", "number"},
        {"VY_ROAD", "sezione", "number"},
        {"VY_ROAD", "font", "text"},
        {"VY_ROAD", "mesh_skirt_material", "number"},
        {"VY_ROAD", "perimetro_base_SX", "number array"},
        {"VY_ROAD", "road_SX", "number array"},
        {"VY_ROAD", "nodi_ostacoli", "number array"},
        {"VY_ROAD", "ostacolo", "number array"},
        {"VY_ROAD", "cuts_enne", "number array"},
        {"VY_ROAD", "cuts_node", "number array"},
        {"VY_RAILWAY", "et_num_track", "number"},
        {"VY_PLATEAU", "livello", "number"},
        {"VY_PLATEAU", "perimetro_base", "number array"},
        {"VY_BASIN", "perimetro_base", "number array"},
        {"VY_WALL", "posizione", "text"},
        {"VY_LEVEL_MARKER", "font", "text"},
        {"VY_LEVEL_MARKER", "livello", "number array"},
        {"VY_LEVEL_MARKER", "point_ref", "number array"},
        {"VY_POINT_MARKER", "codice", "text array"},
        {"VY_POINT_MARKER", "commenti", "text array"},
        {"VY_POINT_MARKER", "coordinates", "number array"},
        {"VY_CONTOURLINES", "rgb_colore", "number array"},
        {"VY_CONTOURLINES", "BB_coor", "number array"},
        {"VY_CONTOURLINES", "quantita", "number array"},
        {"VY_CONTOURLINES", "identificatori", "text array"},
        {"VY_PAINTER", "origine", "number array"},
        {"VY_PAINTER", "mat", "number array"},
        {"VY_PAINTER", "retino", "number array"},
        {"VY_PAINTER", "dislivello", "number array"},
        {"VY_RETAINING_WALL", "originale", "number array"},
        {"VY_SLOPE_RANGE", "XYZ_mask", "number array"},
        {"VY_SLOPE_RANGE", "indici", "number array"},
        {"VY_SLOPE_RANGE", "text_A", "text"},
        {"VY_SLOPE_RANGE", "font_family", "text"},
        {"VY_PREFS", "show_depth_RGB", "number array"},
        {"VY3_Localizator", "language", "number"},
    };
    for (const auto& u : uses) {
        BaseLP view;
        PartParams params(u.part, view);
        const API_AddParType* record = params.Find(u.name);
        ASSERT_NE(record, nullptr) << u.part << " " << u.name;
        const bool text = record->typeID == APIParT_Text;
        const bool array = record->dim1 != 0 && record->dim2 != 0;
        const std::string kind = std::string(text ? "text" : "number") + (array ? " array" : "");
        EXPECT_EQ(kind, u.kind) << u.part << " " << u.name;
    }
}

TEST(LibraryParts, BoundsOfTheContourLinesGoToParameter60) {
    ContourLineLP view(5);
    PartParams params("VY_CONTOURLINES", view);
    ASSERT_TRUE(WriteDoubleArrayParam60(view, API_Coord3D{1.5, -2.0, 9.0}, API_Coord3D{30.25, 40.0, -9.0}));
    QV_List<double> cells;
    int32_t dim1 = 0;
    int32_t dim2 = 0;
    ASSERT_TRUE(ExchangeDoubleArrayParam(view, cells, dim1, dim2, QV_String("BB_coor"), 0));
    EXPECT_EQ(dim1, 2);
    EXPECT_EQ(dim2, 2);
    ASSERT_EQ(cells.GetCount(), 4);
    EXPECT_EQ(cells[0], 1.5);
    EXPECT_EQ(cells[1], -2.0);
    EXPECT_EQ(cells[2], 30.25);
    EXPECT_EQ(cells[3], 40.0);

    // A view whose index 60 is no array, or no parameter at all, refuses.
    RoadLP road(6);
    PartParams roadParams("VY_ROAD", road);
    EXPECT_FALSE(WriteDoubleArrayParam60(road, API_Coord3D{}, API_Coord3D{}));
    EXPECT_EQ(road.status, LPStatus_WrongKind);
    BaseLP plain;
    PartParams plainParams("VY_CONTOURLINES", plain);
    EXPECT_FALSE(WriteDoubleArrayParam60(plain, API_Coord3D{}, API_Coord3D{}));
    EXPECT_EQ(plain.status, LPStatus_NameNotFound);
}

}  // namespace library_parts_test
