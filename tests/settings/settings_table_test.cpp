// The settings records declared as tables, against the preferences library part as the host loads it: the
// part's default parameters read through a record's section give the record's own defaults, every id the table
// names is reached by its accessor alone, and each layout of the dialog binds an item to one field at most.
#include "settings/PrefsLP.hpp"
#include "settings/PrefsSections.hpp"
#include "settings/SectionExchange.hpp"
#include "settings/Settings.hpp"
#include "settings/TreeSettings.hpp"

#include "AddOnLibrary.hpp"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <set>
#include <string>

namespace settings_table_test {

std::string Text(const QV_String* text) { return text == nullptr ? "<none>" : text->ToStdString(); }

// Each table record: its member of Settings and its preference section.
template <typename Record>
struct TableRecord {
    const char* name;
    Record Settings::*member;
    int32_t section;
};

enum class Kind { Integer, Real, Text };

// A field's kind as its accessors answer it.
template <typename Record>
Kind KindOf(const FieldRow& row) {
    Record probe;
    probe.SetShort(row.id, 1);
    if (probe.GetShort(row.id) == 1) return Kind::Integer;
    probe.SetReal(row.id, 1.0);
    if (probe.GetReal(row.id) == 1.0) return Kind::Real;
    EXPECT_NE(probe.Text(row.id), nullptr) << row.member;
    return Kind::Text;
}

template <typename Record>
void ExpectSameField(const Record& expected, const Record& actual, const FieldRow& row) {
    EXPECT_EQ(expected.GetShort(row.id), actual.GetShort(row.id)) << row.member;
    EXPECT_EQ(expected.GetReal(row.id), actual.GetReal(row.id)) << row.member;
    EXPECT_EQ(Text(expected.Text(row.id)), Text(actual.Text(row.id))) << row.member;
}

template <typename Record>
void CheckDefaultsInPart(const TableRecord<Record>& table) {
    SCOPED_TRACE(table.name);
    GSHandle handle = DefaultParams("VY_PREFS");
    ASSERT_NE(handle, nullptr);
    PrefsLP view;
    view.Attach(handle, true);
    Settings settings;
    Record& read = settings.*table.member;
    read.Reset();
    ASSERT_TRUE(RunPrefsSection(table.section, view, settings, SectionRead));
    Record expected;
    expected.SetDefaults();
    for (const FieldRow& row : Record::Rows) {
        if (row.prefs == NoPrefs) continue;
        EXPECT_EQ(std::string(view.GetParamName(row.prefs)), PrefsParam::Names[row.prefs - PrefsParam::First]);
        ExpectSameField(expected, read, row);
    }
    DisposeParamHandle(&handle);
}

template <typename Record>
void CheckAccessors(const char* name, uint32_t seed) {
    SCOPED_TRACE(name);
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> shorts(-32768, 32767);
    std::uniform_real_distribution<double> reals(-1e4, 1e4);
    for (int round = 0; round < 20; ++round) {
        Record record;
        for (const FieldRow& row : Record::Rows) {
            const Record before = record;
            const Kind kind = KindOf<Record>(row);
            const int16_t s = int16_t(shorts(rng));
            const double r = reals(rng);
            const std::string word = std::to_string(shorts(rng));
            if (kind == Kind::Integer) {
                record.SetShort(row.id, s);
                EXPECT_EQ(int16_t(record.GetShort(row.id)), s) << row.member;
            } else if (kind == Kind::Real) {
                record.SetReal(row.id, r);
                EXPECT_EQ(record.GetReal(row.id), r) << row.member;
            } else if (QV_String* text = record.Text(row.id)) {
                *text = QV_String(word.c_str());
                EXPECT_EQ(Text(record.Text(row.id)), word) << row.member;
            }
            // No other field moved.
            for (const FieldRow& other : Record::Rows)
                if (other.id != row.id) ExpectSameField(before, record, other);
        }
        // Ids the table does not name read 0 and change nothing.
        const Record before = record;
        for (int16_t id : {int16_t(-1), Record::FieldCount, int16_t(Record::FieldCount + 7)}) {
            EXPECT_EQ(record.GetShort(id), 0);
            EXPECT_EQ(record.GetReal(id), 0.0);
            EXPECT_EQ(record.Text(id), nullptr);
            record.SetShort(id, 5);
            record.SetReal(id, 5.0);
        }
        for (const FieldRow& row : Record::Rows) ExpectSameField(before, record, row);
        // Reset gives what a new record holds: numbers 0 and texts empty, but for one row at most (the slope range
        // stays shown in 2D).
        record.Reset();
        const Record fresh;
        int zeros = 0;
        for (const FieldRow& row : Record::Rows) {
            ExpectSameField(fresh, record, row);
            zeros += record.GetShort(row.id) == 0 && record.GetReal(row.id) == 0.0 &&
                (record.Text(row.id) == nullptr || record.Text(row.id)->IsEmpty());
        }
        EXPECT_GE(zeros, int(std::size(Record::Rows)) - 1);
    }
}

template <typename Record>
void CheckLayouts(const char* name) {
    SCOPED_TRACE(name);
    std::set<int16_t> first, second;
    for (const FieldRow& row : Record::Rows) {
        if (row.first.item != 0) {
            EXPECT_TRUE(first.insert(row.first.item).second) << row.member;
        }
        if (row.second.item != 0) {
            EXPECT_TRUE(second.insert(row.second.item).second) << row.member;
        }
    }
}

template <typename Record>
void CheckAll(const TableRecord<Record>& table, uint32_t seed) {
    CheckDefaultsInPart(table);
    CheckAccessors<Record>(table.name, seed);
    CheckLayouts<Record>(table.name);
}

TEST(SettingsTables, DefaultsAccessorsAndLayouts) {
    CheckAll(TableRecord<OutlineSettings>{"outline", &Settings::outline, 2}, 11);
    CheckAll(TableRecord<MiscSettings>{"general", &Settings::misc, 18}, 12);
    CheckAll(TableRecord<ConstraintSettings>{"constraint", &Settings::constraint, 1}, 13);
    CheckAll(TableRecord<PaintSettings>{"coloured area", &Settings::paint, 11}, 14);
    CheckAll(TableRecord<WallData>{"wall", &Settings::wall, 12}, 15);
    CheckAll(TableRecord<BuildingSettings>{"building", &Settings::building, 10}, 16);
    CheckAll(TableRecord<RetainerWallSettings>{"retaining wall", &Settings::retainingWall, 13}, 17);
    CheckAll(TableRecord<SectionData>{"road section", &Settings::section, 7}, 18);
    CheckAll(TableRecord<SidewalkSettings>{"sidewalk", &Settings::sidewalk, 8}, 19);
    CheckAll(TableRecord<RoadData>{"road", &Settings::road, 6}, 20);
    CheckAll(TableRecord<RailwaySettings>{"railway", &Settings::railway, 17}, 21);
    CheckAll(TableRecord<PlateauSettings>{"plateau", &Settings::plateau, 5}, 22);
    CheckAll(TableRecord<BasinSettings>{"basin", &Settings::basin, 9}, 23);
    CheckAll(TableRecord<BridgeSettings>{"bridge", &Settings::bridge, 16}, 24);
    CheckAll(TableRecord<TerrainSettings>{"terrain", &Settings::terrain, 4}, 25);
    CheckAll(TableRecord<SpotHeightSettings>{"marker", &Settings::marker, 14}, 26);
    CheckAll(TableRecord<ImportOptionsRec>{"points", &Settings::points, 0}, 27);
    CheckAll(TableRecord<ContourLineSettings>{"contour lines", &Settings::contour, 3}, 28);
    CheckAll(TableRecord<SlopeRangeSettings>{"slope range", &Settings::slopeRange, 15}, 29);
    // Kept by no preference: its defaults are the tree part's (tests/siteobjects/tree_params_test).
    CheckAccessors<TreeSettings>("tree", 30);
    CheckLayouts<TreeSettings>("tree");
}

}  // namespace settings_table_test
