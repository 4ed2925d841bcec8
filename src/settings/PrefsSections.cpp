#include "settings/PrefsSections.hpp"

#include "elements/PrefsParamIndexes.hpp"
#include "settings/SectionExchange.hpp"

#include <type_traits>

namespace {

// A record declared as a table: every field with a preference, in the table's order (a field that
// `special(exchange, id, prefs, field)` exchanges itself, answering true, is left to it), then what `tail` exchanges
// (`tail(exchange, record)`).
template <typename Record, typename Tail, typename Special>
bool TableSection(PrefsView& view, Record& record, int32_t direction, Tail tail, Special special) {
    SectionExchange ex(view, direction);
    Record r = record;
    Record::EachField(r, [&](auto& field, int16_t id, int32_t prefs, const FieldDefault&) {
        using T = std::decay_t<decltype(field)>;
        if (prefs == NoPrefs || special(ex, id, prefs, field)) return;
        if constexpr (std::is_same_v<T, double>)
            ex.Real(prefs, field);
        else if constexpr (std::is_same_v<T, QV_String>)
            ex.Text(prefs, field);
        else
            ex.Short(prefs, field);
    });
    tail(ex, r);
    return ex.Finish(record, r);
}

template <typename Record, typename Tail>
bool TableSection(PrefsView& view, Record& record, int32_t direction, Tail tail) {
    return TableSection(view, record, direction, tail, [](SectionExchange&, int16_t, int32_t, auto&) { return false; });
}

template <typename Record>
bool TableSection(PrefsView& view, Record& record, int32_t direction) {
    return TableSection(view, record, direction, [](SectionExchange&, Record&) {});
}

// The display of retaining structures along a road, railway or plateau: read with its section, written by the
// general record's alone.
template <typename Record>
void ReadObstacleDisplay(SectionExchange& ex, Record& r) {
    if (ex.Writing()) return;
    ex.Short(PrefsParam::ObstacleShow2D, r.obstacleShow2D);
    ex.Short(PrefsParam::ObstaclePen2D, r.obstaclePen);
    ex.Short(PrefsParam::ObstacleLineType, r.obstacleLineType);
}

bool Points(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.points, direction); }

bool Constraint(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.constraint, direction); }

bool Outline(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.outline, direction); }

// The four depth colours travel as the 4 by 3 real array "show_depth_RGB".
bool ContourLines(PrefsView& view, Settings& s, int32_t direction) {
    return TableSection(view, s.contour, direction, [&](SectionExchange& ex, ContourLineSettings& r) {
        ex.Custom([&] { return PrefsView::ExchangeRgbColours(view, r.depthColours, direction); });
    });
}

// The terrain's triangle switches are kept as "hidden" flags: the parameter is 0 when the field is 1.
bool TerrainFlag(SectionExchange& ex, int16_t id, int32_t prefs, uint16_t& field) {
    if (id != TerrainSettings::Id::planTriangles && id != TerrainSettings::Id::modelTriangles) return false;
    if (ex.Writing()) {
        ex.PutShort(prefs, field == 1 ? 0 : 1);
        return true;
    }
    int16_t flag = 0;
    const uint16_t shown = id == TerrainSettings::Id::planTriangles ? 2 : 0;
    if (ex.GetShort(prefs, flag)) field = flag == 0 ? 1 : shown;
    return true;
}

bool Terrain(PrefsView& view, Settings& s, int32_t direction) {
    return TableSection(
        view, s.terrain, direction, [](SectionExchange&, TerrainSettings&) {},
        [](SectionExchange& ex, int16_t id, int32_t prefs, auto& field) {
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, uint16_t>)
                return TerrainFlag(ex, id, prefs, field);
            else
                return false;
        });
}

bool Plateau(PrefsView& view, Settings& s, int32_t direction) {
    return TableSection(view, s.plateau, direction, ReadObstacleDisplay<PlateauSettings>);
}

bool Road(PrefsView& view, Settings& s, int32_t direction) {
    return TableSection(view, s.road, direction, ReadObstacleDisplay<RoadData>);
}

bool RoadSection(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.section, direction); }

bool Sidewalk(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.sidewalk, direction); }

bool Basin(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.basin, direction); }

bool Building(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.building, direction); }

bool ColouredArea(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.paint, direction); }

bool Wall(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.wall, direction); }

bool RetainingWall(PrefsView& view, Settings& s, int32_t direction) {
    return TableSection(view, s.retainingWall, direction);
}

bool Markers(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.marker, direction); }

bool SlopeRange(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.slopeRange, direction); }

bool Bridge(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.bridge, direction); }

bool Railway(PrefsView& view, Settings& s, int32_t direction) {
    return TableSection(view, s.railway, direction, ReadObstacleDisplay<RailwaySettings>);
}

bool General(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.misc, direction); }

using Section = bool (*)(PrefsView&, Settings&, int32_t);

const Section kSections[PrefsSectionCount] = {
    Points,   Constraint,   Outline, ContourLines,  Terrain, Plateau,    Road,   RoadSection, Sidewalk, Basin,
    Building, ColouredArea, Wall,    RetainingWall, Markers, SlopeRange, Bridge, Railway,     General,
};

}  // namespace

bool RunPrefsSection(int32_t order, PrefsView& view, Settings& settings, int32_t direction) {
    if (order < 0 || order >= PrefsSectionCount) return false;
    return kSections[order](view, settings, direction);
}

void SetPrefsSectionDefaults(int32_t order, Settings& s, const QV_String& defaultFont) {
    switch (order) {
        case 0: s.points.SetDefaults(); break;
        case 1: s.constraint.SetDefaults(); break;
        case 2: s.outline.SetDefaults(); break;
        case 3: s.contour.SetDefaults(); break;
        case 4: s.terrain.SetDefaults(); break;
        case 5: s.plateau.SetDefaults(); break;
        case 6: s.road.SetDefaults(); break;
        case 7: s.section.SetDefaults(defaultFont); break;
        case 8: s.sidewalk.SetDefaults(); break;
        case 9: s.basin.SetDefaults(); break;
        case 10: s.building.SetDefaults(); break;
        case 11: s.paint.SetDefaults(); break;
        case 12: s.wall.SetDefaults(); break;
        case 13: s.retainingWall.SetDefaults(); break;
        case 14: s.marker.SetDefaults(defaultFont); break;
        case 15: s.slopeRange.SetDefaults(defaultFont); break;
        case 16: s.bridge.SetDefaults(); break;
        case 17: s.railway.SetDefaults(); break;
        case 18: s.misc.SetDefaults(); break;
        default: break;
    }
}
