// The settings object: its state right after construction, the accessors by kind and id against a model of
// the field table, the shared empty text, and the default and after-a-load values.
#include "settings/Settings.hpp"
#include "earthworks/Basin.hpp"

#include "SettingsKinds.hpp"
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

// A record declared as a table: its rows by type.
template <typename Record>
KindFields FromTable() {
    const TableFieldIds ids = FieldIdsByType<Record>(TableRows::All);
    return KindFields{{ids.integers.begin(), ids.integers.end()},
                      {ids.reals.begin(), ids.reals.end()},
                      {ids.texts.begin(), ids.texts.end()}};
}

// A record whose reals the accessors by kind do not reach.
KindFields WithoutReals(KindFields fields) {
    fields.doubles.clear();
    return fields;
}

const std::map<int, KindFields>& FieldTable() {
    static const std::map<int, KindFields> table = {
        {GeneralKind, FromTable<MiscSettings>()},
        {ElemKind_Point, FromTable<ImportOptionsRec>()},
        {ElemKind_Constraint, FromTable<ConstraintSettings>()},
        {ElemKind_Outline, FromTable<OutlineSettings>()},
        {ElemKind_Terrain, FromTable<TerrainSettings>()},
        {ElemKind_Contour, FromTable<ContourLineSettings>()},
        {ElemKind_Road, FromTable<RoadData>()},
        {ElemKind_Plateau, FromTable<PlateauSettings>()},
        {ElemKind_ColouredArea, FromTable<PaintSettings>()},
        {ElemKind_Building, FromTable<BuildingSettings>()},
        {ElemKind_Wall, FromTable<WallData>()},
        {ElemKind_Sidewalk, WithoutReals(FromTable<SidewalkSettings>())},  // its one real, the thickness
        {ElemKind_Basin, FromTable<BasinSettings>()},
        {ElemKind_LevelMarker, FromTable<SpotHeightSettings>()},
        {ElemKind_RetainingWall, FromTable<RetainerWallSettings>()},
        {ElemKind_Section, FromTable<SectionData>()},
        {ElemKind_SlopeRange, FromTable<SlopeRangeSettings>()},
        {ElemKind_Bridge, FromTable<BridgeSettings>()},
        {ElemKind_Railway, FromTable<RailwaySettings>()},
    };
    return table;
}

int RecordOf(int kind) { return kind == ElemKind_PointMarker ? ElemKind_LevelMarker : kind; }

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

// A kind without a record answers no id: kind 17 (ElemKind_Unused17) and every kind past the last.
constexpr uint32_t KindPastTheRecords = ElemKind_Railway + 1;
constexpr int16_t NoSuchId = 3;         // under a kind without a record
constexpr int16_t IdOfEveryRecord = 0;  // every record has it, no kind past the last answers it

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
        m.shorts[{GeneralKind, MiscSettings::Id::sosiChoice}] = 1;
        m.shorts[{GeneralKind, MiscSettings::Id::sosiChoice2}] = 1;
        m.shorts[{GeneralKind, MiscSettings::Id::roadReferenceLine}] = 2;
        m.shorts[{GeneralKind, MiscSettings::Id::railwayReferenceLine}] = 2;
        m.shorts[{ElemKind_SlopeRange, SlopeRangeSettings::Id::show2D}] = 1;
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
    EXPECT_EQ(fresh.GetInt(GeneralKind, MiscSettings::Id::sosiChoice), 1);
    EXPECT_EQ(fresh.GetInt(GeneralKind, MiscSettings::Id::railwayReferenceLine), 2);
    EXPECT_EQ(fresh.GetInt(ElemKind_SlopeRange, SlopeRangeSettings::Id::show2D), 1);
    EXPECT_TRUE(fresh.GetString(ElemKind_Road, RoadData::Id::name).IsEmpty());
    EXPECT_EQ(fresh.GetDouble(ElemKind_Bridge, BridgeSettings::Id::roadWidth), 0.0);

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
    settings.SetShort(ElemKind_Constraint, ConstraintSettings::Id::pen, -1);
    EXPECT_EQ(settings.constraint.pen, -1);  // sign-extended into the 32-bit field
    EXPECT_EQ(settings.GetInt(ElemKind_Constraint, ConstraintSettings::Id::pen), 65535);
    settings.constraint.lineType = 0x12345;  // a wide value reads as its low 16 bits
    EXPECT_EQ(settings.GetInt(ElemKind_Constraint, ConstraintSettings::Id::lineType), 0x2345);
    settings.SetShort(GeneralKind, MiscSettings::Id::deleteFlag, -1);
    EXPECT_EQ(settings.GetInt(GeneralKind, MiscSettings::Id::deleteFlag), 65535);
    EXPECT_EQ(int16_t(settings.GetInt(GeneralKind, MiscSettings::Id::deleteFlag)), -1);
    settings.SetShort(ElemKind_Basin, BasinSettings::Id::layer, -2);  // the basin's 32-bit layer
    EXPECT_EQ(settings.basin.layer, -2);
    EXPECT_EQ(settings.GetInt(ElemKind_Basin, BasinSettings::Id::layer), 65534);
}

TEST(SettingsObject, FieldsTheAccessorsDoNotReach) {
    Settings settings;
    settings.sidewalk.thickness = 0.15;
    EXPECT_EQ(settings.GetDouble(ElemKind_Sidewalk, SidewalkSettings::Id::thickness), 0.0);
    settings.SetDouble(ElemKind_Sidewalk, SidewalkSettings::Id::thickness, 0.3);
    EXPECT_EQ(settings.sidewalk.thickness, 0.15);

    settings.contour.mainStep = 5;
    EXPECT_EQ(settings.GetInt(ElemKind_Contour, ContourLineSettings::MainStepId), 0);
    settings.SetShort(ElemKind_Contour, ContourLineSettings::MainStepId, 9);
    EXPECT_EQ(settings.contour.mainStep, 5);

    settings.SetDouble(GeneralKind, MiscSettings::Id::sidewalkWidth, 3.0);
    EXPECT_EQ(settings.misc.GetShort(MiscSettings::Id::sidewalkWidth), 0);  // a real, not served by the short getter
    settings.SetString(ElemKind_SlopeRange, SlopeRangeSettings::Id::lift, QV_String("x"));
    settings.SetString(ElemKind_SlopeRange, SlopeRangeSettings::Id::size, QV_String("x"));
    EXPECT_EQ(settings.slopeRange.lift, 0.0);
    settings.SetString(ElemKind_SlopeRange, SlopeRangeSettings::Id::font, QV_String("Arial"));
    EXPECT_EQ(Text(settings.GetString(ElemKind_SlopeRange, SlopeRangeSettings::Id::font)), "Arial");
}

TEST(SettingsObject, RecordAccessorsOutsideTheKindAndIdFamily) {
    ContourLineSettings contour;
    for (int16_t id = FirstId; id <= LastId; ++id) contour.SetPoint(id, API_Coord3D{id * 1.0, 2.0, 3.0});
    for (int16_t id = FirstId; id <= LastId; ++id) {
        const API_Coord3D point = contour.GetPoint(id);
        const bool colour = id >= ContourLineSettings::DepthColourId && id < ContourLineSettings::DepthColourId + 4;
        EXPECT_EQ(point.x, colour ? id * 1.0 : 0.0) << "id " << id;
    }
    EXPECT_EQ(contour.firstAltitude, 0.0);  // the colours sit apart from the other fields

    BasinSettings basin;
    basin.SetLong(BasinSettings::Id::layer, 0x10002);
    basin.SetLong(BasinSettings::Id::name, 5);
    EXPECT_EQ(basin.layer, 0x10002);
    EXPECT_EQ(basin.GetShort(BasinSettings::Id::layer), 2);
    EXPECT_EQ(basin.GetShort(BasinSettings::Id::name), 0);

    SectionData section;
    section.SetShort(SectionData::Id::textSize, 3);
    EXPECT_EQ(section.textSize, 0.0);
    section.SetShort(SectionData::Id::curvePen, -5);
    EXPECT_EQ(section.GetShort(SectionData::Id::curvePen), -5);  // the record's own getter keeps the sign
}

TEST(SettingsObject, SharedEmptyTextCannotBeCorrupted) {
    Settings settings;
    using Answer = decltype(settings.GetString(GeneralKind, MiscSettings::Id::deleteFlag));
    static_assert(std::is_const<std::remove_reference_t<Answer>>::value, "a miss must not hand out a writable text");
    const QV_String& miss = settings.GetString(ElemKind_Unused17, NoSuchId);
    // A caller copies the miss and fills its copy; writes to missing fields of every kind follow.
    QV_String copy = miss;
    copy += "changed";
    for (uint32_t kind = 0; kind <= LastKind; ++kind)
        for (int16_t id = FirstId; id <= LastId; ++id)
            if (!Has(int(kind), id, Type::Text)) settings.SetString(kind, id, QV_String("leak"));
    EXPECT_TRUE(miss.IsEmpty());
    EXPECT_TRUE(settings.GetString(KindPastTheRecords, IdOfEveryRecord).IsEmpty());
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
    for (const Expected& e : {Expected{ElemKind_Contour, ContourLineSettings::Id::colour2, 19},
                              {ElemKind_Contour, ContourLineSettings::Id::colour4, 121},
                              {ElemKind_Contour, ContourLineSettings::Id::colour3, 144},
                              {ElemKind_Contour, ContourLineSettings::Id::colour1, 104},
                              {ElemKind_Terrain, TerrainSettings::Id::planTriangles, 1},
                              {ElemKind_Terrain, TerrainSettings::Id::modelTriangles, 1},
                              {ElemKind_Basin, BasinSettings::Id::pen2D, 6},
                              {ElemKind_Basin, BasinSettings::Id::attribute, 1},
                              {ElemKind_Basin, BasinSettings::Id::fillBackgroundPen, 105},
                              {ElemKind_Basin, BasinSettings::Id::showFill, 1},
                              {GeneralKind, MiscSettings::Id::obstaclePen, 10},
                              {GeneralKind, MiscSettings::Id::sosiChoice, 10},
                              {ElemKind_LevelMarker, SpotHeightSettings::Id::active, 1},
                              {ElemKind_SlopeRange, SlopeRangeSettings::Id::colour6, 3},
                              {ElemKind_Bridge, BridgeSettings::Id::twoTracks, 0},
                              {ElemKind_Railway, RailwaySettings::Id::tieMaterial, 3},
                              {ElemKind_Railway, RailwaySettings::Id::firstTrack, 1},
                              {ElemKind_Road, RoadData::Id::obstaclePen, 3},
                              {ElemKind_Plateau, PlateauSettings::Id::obstacleLineType, 5}}) {
        EXPECT_EQ(settings.GetInt(e.kind, e.id), e.value) << "kind " << e.kind << " id " << e.id;
    }
    EXPECT_DOUBLE_EQ(settings.GetDouble(ElemKind_Plateau, PlateauSettings::Id::slope), M_PI / 36.0);
    EXPECT_DOUBLE_EQ(settings.GetDouble(ElemKind_Building, BuildingSettings::Id::roofAngle), 25.0 * M_PI / 180.0);
    EXPECT_EQ(settings.GetDouble(ElemKind_Railway, RailwaySettings::Id::gauge), 1.435);
    EXPECT_EQ(settings.GetDouble(ElemKind_Railway, RailwaySettings::Id::tieSpacing), 0.6);
    EXPECT_EQ(settings.GetDouble(ElemKind_Bridge, BridgeSettings::Id::tieSpacing), 0.9);
    EXPECT_EQ(settings.GetDouble(ElemKind_Basin, BasinSettings::Id::level), 1.0);
    EXPECT_EQ(Text(settings.GetString(ElemKind_Point, ImportOptionsRec::Id::code)), "Point");
    EXPECT_EQ(Text(settings.GetString(ElemKind_ColouredArea, PaintSettings::Id::name)), "COLOURED AREA");
    EXPECT_EQ(Text(settings.GetString(ElemKind_PointMarker, SpotHeightSettings::Id::font)), "Arial");
    EXPECT_EQ(Text(settings.GetString(ElemKind_Section, SectionData::Id::font)), "Arial");
    EXPECT_EQ(Text(settings.GetString(ElemKind_SlopeRange, SlopeRangeSettings::Id::font)), "Arial");
    EXPECT_TRUE(settings.GetString(ElemKind_SlopeRange, SlopeRangeSettings::Id::text1).IsEmpty());
    EXPECT_EQ(settings.points.codeNumber, 1);
    EXPECT_EQ(settings.sidewalk.thickness, 0.15);
    EXPECT_NEAR(settings.contour.depthColours[3].y, 240 / 255.0, 1e-15);
    EXPECT_EQ(settings.contour.altitude.constraintPen, 64);
}

TEST(SettingsObject, LayerOfEveryKind) {
    Settings settings;
    settings.SetLayerFields(7);
    const std::map<uint32_t, int16_t> layerIds = {{ElemKind_Point, ImportOptionsRec::Id::layer},
                                                  {ElemKind_Constraint, ConstraintSettings::Id::layer},
                                                  {ElemKind_Outline, OutlineSettings::Id::layer},
                                                  {ElemKind_Terrain, TerrainSettings::Id::layer},
                                                  {ElemKind_Contour, ContourLineSettings::Id::layer},
                                                  {ElemKind_Road, RoadData::Id::layer},
                                                  {ElemKind_Plateau, PlateauSettings::Id::layer},
                                                  {ElemKind_ColouredArea, PaintSettings::Id::layer},
                                                  {ElemKind_Building, BuildingSettings::Id::layer},
                                                  {ElemKind_Wall, WallData::Id::layer},
                                                  {ElemKind_Sidewalk, SidewalkSettings::Id::layer},
                                                  {ElemKind_Basin, BasinSettings::Id::layer},
                                                  {ElemKind_LevelMarker, SpotHeightSettings::Id::layer},
                                                  {ElemKind_PointMarker, SpotHeightSettings::Id::layer},
                                                  {ElemKind_RetainingWall, RetainerWallSettings::Id::layer},
                                                  {ElemKind_Section, SectionData::Id::layer},
                                                  {ElemKind_SlopeRange, SlopeRangeSettings::Id::layer},
                                                  {ElemKind_Bridge, BridgeSettings::Id::layer},
                                                  {ElemKind_Railway, RailwaySettings::Id::layer}};
    for (const auto& [kind, id] : layerIds) EXPECT_EQ(settings.GetInt(kind, id), 7) << "kind " << kind;
    EXPECT_EQ(settings.contour.altitude.layer, 7);
}

// A load from the preferences starts from whatever the object holds; on a first load that is zero.
TEST(SettingsObject, AfterALoadNoFieldIsLeftAtAMeaninglessZero) {
    Settings settings;
    settings.SetAfterLoadValues();
    EXPECT_EQ(settings.GetDouble(ElemKind_Railway, RailwaySettings::Id::gauge), 1.435);
    EXPECT_EQ(settings.GetDouble(ElemKind_Railway, RailwaySettings::Id::tieSpacing), 0.6);
    EXPECT_EQ(settings.GetInt(ElemKind_Railway, RailwaySettings::Id::railMaterial), 99);
    EXPECT_EQ(settings.GetInt(ElemKind_Railway, RailwaySettings::Id::tieMaterial), 3);
    EXPECT_EQ(settings.GetInt(ElemKind_Railway, RailwaySettings::Id::firstTrack), 1);
    EXPECT_EQ(settings.GetDouble(ElemKind_Bridge, BridgeSettings::Id::tieSpacing), 0.9);
    EXPECT_EQ(settings.GetDouble(ElemKind_Bridge, BridgeSettings::Id::gauge), 1.435);
    EXPECT_EQ(settings.GetDouble(ElemKind_Basin, BasinSettings::Id::level), 1.0);
    // The columns of fixed after-a-load values.
    EXPECT_EQ(settings.GetInt(GeneralKind, MiscSettings::Id::sosiChoice), 10);
    EXPECT_EQ(settings.GetDouble(GeneralKind, MiscSettings::Id::paintValue), 0.01);
    EXPECT_EQ(settings.GetInt(ElemKind_Road, RoadData::Id::obstaclePen), 3);
    EXPECT_EQ(settings.GetInt(ElemKind_Sidewalk, SidewalkSettings::Id::fillMaterial), 7);
    EXPECT_EQ(settings.GetInt(ElemKind_Basin, BasinSettings::Id::levelMaterial), 28);
    EXPECT_EQ(settings.GetDouble(ElemKind_Building, BuildingSettings::Id::topLevel), 9.0);
    EXPECT_EQ(settings.GetDouble(ElemKind_Contour, ContourLineSettings::Id::lastAltitude), 30.0);
    EXPECT_EQ(Text(settings.GetString(ElemKind_Wall, WallData::Id::side)), "left");
    EXPECT_EQ(Text(settings.GetString(ElemKind_Bridge, BridgeSettings::Id::side)), "left");

    // What a dialog set in this session stays over a later load; a double track keeps no first track.
    settings.SetDouble(ElemKind_Railway, RailwaySettings::Id::gauge, 1.0);
    settings.SetShort(ElemKind_Railway, RailwaySettings::Id::firstTrack, 0);
    settings.SetShort(ElemKind_Railway, RailwaySettings::Id::secondTrack, 1);
    settings.SetDouble(ElemKind_Basin, BasinSettings::Id::level, -2.0);
    settings.SetAfterLoadValues();
    EXPECT_EQ(settings.GetDouble(ElemKind_Railway, RailwaySettings::Id::gauge), 1.0);
    EXPECT_EQ(settings.GetInt(ElemKind_Railway, RailwaySettings::Id::firstTrack), 0);
    EXPECT_EQ(settings.GetDouble(ElemKind_Basin, BasinSettings::Id::level), -2.0);
}

TEST(SettingsObject, SurfaceAttributesReachFourRecords) {
    Settings settings;
    SetSurfaceAttributes(settings, 1, 7, 2);
    for (const auto& [kind, first] :
         std::vector<std::pair<uint32_t, int16_t>>{{ElemKind_Road, RoadData::Id::obstacleShow2D},
                                                   {ElemKind_Railway, RailwaySettings::Id::obstacleShow2D},
                                                   {GeneralKind, MiscSettings::Id::obstacleShow2D},
                                                   {ElemKind_Plateau, PlateauSettings::Id::obstacleShow2D}}) {
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
