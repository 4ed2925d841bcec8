// The settings object: its state right after construction, the accessors by kind and id against a model of
// the field table, the shared empty text, and the default and after-a-load values.
#include "settings/Settings.hpp"
#include "earthworks/Basin.hpp"

#include "TableFieldIds.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace settings_test {

enum class Type { Short, Double, Text };

// The field table of every kind: which ids the accessors reach, by type. Kinds 17, 19 and above 21 have
// none; kinds 13 and 14 share one record.
struct KindFields {
    std::set<int> shorts, doubles, texts;
};

std::set<int> Range(int first, int last) {
    std::set<int> ids;
    for (int id = first; id <= last; ++id) ids.insert(id);
    return ids;
}

std::set<int> Join(std::initializer_list<std::set<int>> parts) {
    std::set<int> ids;
    for (const auto& part : parts) ids.insert(part.begin(), part.end());
    return ids;
}

// A record declared as a table: its rows by type.
template <typename Record>
KindFields FromTable() {
    const TableFieldIds ids = FieldIdsByType<Record>(TableRows::All);
    return KindFields{{ids.integers.begin(), ids.integers.end()},
                      {ids.reals.begin(), ids.reals.end()},
                      {ids.texts.begin(), ids.texts.end()}};
}

const std::map<int, KindFields>& FieldTable() {
    static const std::map<int, KindFields> table = {
        {0, FromTable<MiscSettings>()},
        {1, FromTable<ImportOptionsRec>()},
        {2, FromTable<ConstraintSettings>()},
        {3, FromTable<OutlineSettings>()},
        {4, FromTable<TerrainSettings>()},
        {5, FromTable<ContourLineSettings>()},
        {6, FromTable<RoadData>()},
        {7, FromTable<PlateauSettings>()},
        {8, FromTable<PaintSettings>()},
        {9, FromTable<BuildingSettings>()},
        {10, FromTable<WallData>()},
        {11, {Join({{0}, Range(2, 5), Range(7, 10)}), {}, {1}}},
        {12, FromTable<BasinSettings>()},
        {13, FromTable<SpotHeightSettings>()},
        {15, FromTable<RetainerWallSettings>()},
        {16, FromTable<SectionData>()},
        {18, FromTable<SlopeRangeSettings>()},
        {20, FromTable<BridgeSettings>()},
        {21, FromTable<RailwaySettings>()},
    };
    return table;
}

int RecordOf(int kind) { return kind == 14 ? 13 : kind; }

bool Has(int kind, int id, Type type) {
    const auto it = FieldTable().find(RecordOf(kind));
    if (it == FieldTable().end()) return false;
    const std::set<int>& ids = type == Type::Short ? it->second.shorts
        : type == Type::Double                     ? it->second.doubles
                                                   : it->second.texts;
    return ids.count(id) > 0;
}

constexpr int LastKind = 25;
constexpr int FirstId = -1;
constexpr int LastId = 40;

std::string Text(const QV_String& text) { return text.ToStdString(); }

// What every field should read, kept beside the object: shorts as stored (signed), doubles, texts.
struct Model {
    std::map<std::pair<int, int>, int16_t> shorts;
    std::map<std::pair<int, int>, double> doubles;
    std::map<std::pair<int, int>, std::string> texts;

    // A freshly built object: everything 0 or empty but the general choices 12 to 15 and the slope range's
    // 2D switch.
    static Model Fresh() {
        Model m;
        m.shorts[{0, 12}] = 1;
        m.shorts[{0, 13}] = 1;
        m.shorts[{0, 14}] = 2;
        m.shorts[{0, 15}] = 2;
        m.shorts[{18, 24}] = 1;
        return m;
    }
    int16_t Short(int kind, int id) const {
        auto it = shorts.find({RecordOf(kind), id});
        return it == shorts.end() ? 0 : it->second;
    }
    double Double(int kind, int id) const {
        auto it = doubles.find({RecordOf(kind), id});
        return it == doubles.end() ? 0.0 : it->second;
    }
    std::string String(int kind, int id) const {
        auto it = texts.find({RecordOf(kind), id});
        return it == texts.end() ? std::string() : it->second;
    }
};

// Every accessor of every kind and id agrees with the model; the first disagreement is reported.
void ExpectMatches(const Settings& settings, const Model& model, const std::string& after) {
    for (int kind = 0; kind <= LastKind; ++kind) {
        for (int id = FirstId; id <= LastId; ++id) {
            const int32_t expectedInt = Has(kind, id, Type::Short) ? uint16_t(model.Short(kind, id)) : 0;
            const double expectedDouble = Has(kind, id, Type::Double) ? model.Double(kind, id) : 0.0;
            const std::string expectedText = Has(kind, id, Type::Text) ? model.String(kind, id) : std::string();
            const int32_t gotInt = settings.GetInt(uint32_t(kind), int16_t(id));
            const double gotDouble = settings.GetDouble(uint32_t(kind), int16_t(id));
            const std::string gotText = Text(settings.GetString(uint32_t(kind), int16_t(id)));
            if (gotInt != expectedInt || gotDouble != expectedDouble || gotText != expectedText) {
                ADD_FAILURE() << "after " << after << ": kind " << kind << " id " << id << " reads " << gotInt << " / "
                              << gotDouble << " / \"" << gotText << "\", expected " << expectedInt << " / "
                              << expectedDouble << " / \"" << expectedText << "\"";
                return;
            }
        }
    }
}

TEST(SettingsObject, FreshObjectHoldsZerosButTheFewStartValues) {
    const Settings fresh;
    ExpectMatches(fresh, Model::Fresh(), "construction");
    ExpectMatches(GlobalSettings, Model::Fresh(), "module load");
    EXPECT_EQ(fresh.firstCount, 0);
    EXPECT_EQ(fresh.editedCount, 0);

    // Spot checks as the tools name them.
    EXPECT_EQ(fresh.GetInt(0, 12), 1);
    EXPECT_EQ(fresh.GetInt(0, 15), 2);
    EXPECT_EQ(fresh.GetInt(18, 24), 1);
    EXPECT_TRUE(fresh.GetString(6, 5).IsEmpty());
    EXPECT_EQ(fresh.GetDouble(20, 4), 0.0);

    // Reset brings a used object back to the same state.
    Settings used;
    used.SetBuiltInDefaults(QV_String("Arial"));
    used.editedCount = 3;
    used.Reset();
    ExpectMatches(used, Model::Fresh(), "Reset");
    EXPECT_EQ(used.editedCount, 0);
}

// Every kind 0..25, every id -1..40, every accessor type, in a shuffled order: a set changes exactly the field
// the table names (kinds 13 and 14 alike), with the 16-bit width rules, and a miss changes nothing.
TEST(SettingsObject, AccessorsFollowTheFieldTableForEveryKindAndId) {
    struct Step {
        int kind, id;
        Type type;
    };
    std::vector<Step> steps;
    for (int kind = 0; kind <= LastKind; ++kind)
        for (int id = FirstId; id <= LastId; ++id)
            for (Type type : {Type::Short, Type::Double, Type::Text}) steps.push_back({kind, id, type});
    std::mt19937 random(20240611);
    std::shuffle(steps.begin(), steps.end(), random);

    const int16_t shortValues[] = {-1, 32767, -32768, 1, 4660, -300};
    Settings settings;
    Model model = Model::Fresh();
    int n = 0;
    for (const Step& step : steps) {
        const auto kind = uint32_t(step.kind);
        const auto id = int16_t(step.id);
        const std::pair<int, int> key{RecordOf(step.kind), step.id};
        std::string what;
        switch (step.type) {
            case Type::Short: {
                const int16_t value = shortValues[n % 6];
                settings.SetShort(kind, id, value);
                if (Has(step.kind, step.id, Type::Short)) model.shorts[key] = value;
                what = "SetShort";
                break;
            }
            case Type::Double: {
                const double value = step.kind * 100.0 + step.id + 0.25;
                settings.SetDouble(kind, id, value);
                if (Has(step.kind, step.id, Type::Double)) model.doubles[key] = value;
                what = "SetDouble";
                break;
            }
            case Type::Text: {
                const std::string value = "k" + std::to_string(step.kind) + "i" + std::to_string(step.id);
                settings.SetString(kind, id, QV_String(value.c_str()));
                if (Has(step.kind, step.id, Type::Text)) model.texts[key] = value;
                what = "SetString";
                break;
            }
        }
        ++n;
        ExpectMatches(settings, model, what + "(" + std::to_string(step.kind) + ", " + std::to_string(step.id) + ")");
        if (HasFailure()) return;
    }
}

TEST(SettingsObject, WidthRulesOfTheIntegerFields) {
    Settings settings;
    settings.SetShort(2, 0, -1);
    EXPECT_EQ(settings.constraint.pen, -1);  // sign-extended into the 32-bit field
    EXPECT_EQ(settings.GetInt(2, 0), 65535);
    settings.constraint.lineType = 0x12345;  // a wide value reads as its low 16 bits
    EXPECT_EQ(settings.GetInt(2, 1), 0x2345);
    settings.SetShort(0, 0, -1);
    EXPECT_EQ(settings.GetInt(0, 0), 65535);
    EXPECT_EQ(int16_t(settings.GetInt(0, 0)), -1);
    settings.SetShort(12, 8, -2);  // the basin's 32-bit layer
    EXPECT_EQ(settings.basin.layer, -2);
    EXPECT_EQ(settings.GetInt(12, 8), 65534);
}

TEST(SettingsObject, FieldsTheAccessorsDoNotReach) {
    Settings settings;
    settings.sidewalk.thickness = 0.15;
    EXPECT_EQ(settings.GetDouble(11, 6), 0.0);
    settings.SetDouble(11, 6, 0.3);
    EXPECT_EQ(settings.sidewalk.thickness, 0.15);

    settings.contour.mainStep = 5;
    EXPECT_EQ(settings.GetInt(5, 11), 0);
    settings.SetShort(5, 11, 9);
    EXPECT_EQ(settings.contour.mainStep, 5);

    settings.SetDouble(0, 4, 3.0);
    EXPECT_EQ(settings.misc.GetShort(4), 0);  // a real, not served by the short getter
    settings.SetString(18, SlopeRangeSettings::Id::lift, QV_String("x"));
    settings.SetString(18, SlopeRangeSettings::Id::size, QV_String("x"));
    EXPECT_EQ(settings.slopeRange.lift, 0.0);
    settings.SetString(18, SlopeRangeSettings::Id::font, QV_String("Arial"));
    EXPECT_EQ(Text(settings.GetString(18, 18)), "Arial");
}

TEST(SettingsObject, RecordAccessorsOutsideTheKindAndIdFamily) {
    ContourLineSettings contour;
    for (int16_t id = FirstId; id <= LastId; ++id) contour.SetPoint(id, API_Coord3D{id * 1.0, 2.0, 3.0});
    for (int16_t id = FirstId; id <= LastId; ++id) {
        const API_Coord3D point = contour.GetPoint(id);
        EXPECT_EQ(point.x, id >= 18 && id <= 21 ? id * 1.0 : 0.0) << "id " << id;
    }
    EXPECT_EQ(contour.firstAltitude, 0.0);  // the colours sit apart from the other fields

    BasinSettings basin;
    basin.SetLong(BasinSettings::Id::layer, 0x10002);
    basin.SetLong(BasinSettings::Id::name, 5);
    EXPECT_EQ(basin.layer, 0x10002);
    EXPECT_EQ(basin.GetShort(BasinSettings::Id::layer), 2);
    EXPECT_EQ(basin.GetShort(BasinSettings::Id::name), 0);

    SectionData section;
    section.SetShort(10, 3);
    EXPECT_EQ(section.textSize, 0.0);
    section.SetShort(3, -5);
    EXPECT_EQ(section.GetShort(3), -5);  // the record's own getter keeps the sign
}

TEST(SettingsObject, SharedEmptyTextCannotBeCorrupted) {
    Settings settings;
    static_assert(std::is_const<std::remove_reference_t<decltype(settings.GetString(0, 0))>>::value,
                  "a miss must not hand out a writable text");
    const QV_String& miss = settings.GetString(17, 3);
    // A caller copies the miss and fills its copy; writes to missing fields of every kind follow.
    QV_String copy = miss;
    copy += "changed";
    for (uint32_t kind = 0; kind <= LastKind; ++kind)
        for (int16_t id = FirstId; id <= LastId; ++id)
            if (!Has(int(kind), id, Type::Text)) settings.SetString(kind, id, QV_String("leak"));
    EXPECT_TRUE(miss.IsEmpty());
    EXPECT_TRUE(settings.GetString(22, 0).IsEmpty());
    EXPECT_EQ(Text(copy), "changed");
}

TEST(SettingsObject, BuiltInDefaultsThroughTheAccessors) {
    Settings settings;
    settings.SetBuiltInDefaults(QV_String("Arial"));
    struct Expected {
        uint32_t kind;
        int16_t id;
        int32_t value;
    };
    // Fields whose id order differs from storage order, or that are easy to confuse.
    for (const Expected& e : {Expected{5, 23, 19},
                              {5, 24, 121},
                              {5, 25, 144},
                              {5, 26, 104},
                              {4, 3, 1},
                              {4, 11, 1},
                              {12, 2, 6},
                              {12, 3, 1},
                              {12, 6, 105},
                              {12, 7, 1},
                              {0, 2, 10},
                              {0, 12, 10},
                              {13, 15, 1},
                              {18, 11, 3},
                              {20, 22, 0},
                              {21, 7, 3},
                              {21, 20, 1},
                              {6, 14, 3},
                              {7, 16, 5}}) {
        EXPECT_EQ(settings.GetInt(e.kind, e.id), e.value) << "kind " << e.kind << " id " << e.id;
    }
    EXPECT_DOUBLE_EQ(settings.GetDouble(7, 9), M_PI / 36.0);
    EXPECT_DOUBLE_EQ(settings.GetDouble(9, 3), 25.0 * M_PI / 180.0);
    EXPECT_EQ(settings.GetDouble(21, 22), 1.435);
    EXPECT_EQ(settings.GetDouble(21, 23), 0.6);
    EXPECT_EQ(settings.GetDouble(20, 23), 0.9);
    EXPECT_EQ(settings.GetDouble(12, 10), 1.0);
    EXPECT_EQ(Text(settings.GetString(1, 2)), "Point");
    EXPECT_EQ(Text(settings.GetString(8, 2)), "COLOURED AREA");
    EXPECT_EQ(Text(settings.GetString(14, 7)), "Arial");
    EXPECT_EQ(Text(settings.GetString(16, 9)), "Arial");
    EXPECT_EQ(Text(settings.GetString(18, 18)), "Arial");
    EXPECT_TRUE(settings.GetString(18, 15).IsEmpty());
    EXPECT_EQ(settings.points.codeNumber, 1);
    EXPECT_EQ(settings.sidewalk.thickness, 0.15);
    EXPECT_NEAR(settings.contour.depthColours[3].y, 240 / 255.0, 1e-15);
    EXPECT_EQ(settings.contour.altitude.constraintPen, 64);
}

TEST(SettingsObject, LayerOfEveryKind) {
    Settings settings;
    settings.SetLayerFields(7);
    const std::map<uint32_t, int16_t> layerIds = {{1, 1},   {2, 2},  {3, 5},   {4, 13},  {5, 3},  {6, 0},  {7, 2},
                                                  {8, 1},   {9, 9},  {10, 8},  {11, 0},  {12, 8}, {13, 1}, {14, 1},
                                                  {15, 11}, {16, 0}, {18, 23}, {20, 10}, {21, 0}};
    for (const auto& [kind, id] : layerIds) EXPECT_EQ(settings.GetInt(kind, id), 7) << "kind " << kind;
    EXPECT_EQ(settings.contour.altitude.layer, 7);
}

// A load from the preferences starts from whatever the object holds; on a first load that is zero.
TEST(SettingsObject, AfterALoadNoFieldIsLeftAtAMeaninglessZero) {
    Settings settings;
    settings.SetAfterLoadValues();
    EXPECT_EQ(settings.GetDouble(21, 22), 1.435);
    EXPECT_EQ(settings.GetDouble(21, 23), 0.6);
    EXPECT_EQ(settings.GetInt(21, 6), 99);
    EXPECT_EQ(settings.GetInt(21, 7), 3);
    EXPECT_EQ(settings.GetInt(21, 20), 1);
    EXPECT_EQ(settings.GetDouble(20, 23), 0.9);
    EXPECT_EQ(settings.GetDouble(20, 24), 1.435);
    EXPECT_EQ(settings.GetDouble(12, 10), 1.0);
    // The columns of fixed after-a-load values.
    EXPECT_EQ(settings.GetInt(0, 12), 10);
    EXPECT_EQ(settings.GetDouble(0, 8), 0.01);
    EXPECT_EQ(settings.GetInt(6, 14), 3);
    EXPECT_EQ(settings.GetInt(11, 3), 7);
    EXPECT_EQ(settings.GetInt(12, 1), 28);
    EXPECT_EQ(settings.GetDouble(9, 11), 9.0);
    EXPECT_EQ(settings.GetDouble(5, 1), 30.0);
    EXPECT_EQ(Text(settings.GetString(10, 3)), "left");
    EXPECT_EQ(Text(settings.GetString(20, 5)), "left");

    // What a dialog set in this session stays over a later load; a double track keeps no first track.
    settings.SetDouble(21, 22, 1.0);
    settings.SetShort(21, 20, 0);
    settings.SetShort(21, 21, 1);
    settings.SetDouble(12, 10, -2.0);
    settings.SetAfterLoadValues();
    EXPECT_EQ(settings.GetDouble(21, 22), 1.0);
    EXPECT_EQ(settings.GetInt(21, 20), 0);
    EXPECT_EQ(settings.GetDouble(12, 10), -2.0);
}

TEST(SettingsObject, SurfaceAttributesReachFourRecords) {
    Settings settings;
    SetSurfaceAttributes(settings, 1, 7, 2);
    for (const auto& [kind, first] : std::vector<std::pair<uint32_t, int16_t>>{{6, 13}, {21, 15}, {0, 1}, {7, 14}}) {
        EXPECT_EQ(settings.GetInt(kind, first), 1) << "kind " << kind;
        EXPECT_EQ(settings.GetInt(kind, int16_t(first + 1)), 7) << "kind " << kind;
        EXPECT_EQ(settings.GetInt(kind, int16_t(first + 2)), 2) << "kind " << kind;
    }
}

TEST(SettingsObject, BasinStartsAtTheToolDefaults) {
    const Basin::BasinCls basin;
    EXPECT_EQ(Text(basin.settings.name), "BASIN");
    EXPECT_EQ(basin.settings.level, 1.0);
    EXPECT_EQ(basin.settings.fillBackgroundPen, 105);
    EXPECT_EQ(basin.builderIndex, 0);
    EXPECT_EQ(basin.picked.x, 0.0);
}

}  // namespace settings_test
