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

bool ContourLines(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    ContourLineSettings r = s.contour;
    ex.Short(PrefsParam::ContourMain, r.mainSecondary);
    ex.Short(PrefsParam::ContourMainPen, r.firstPen);
    ex.Short(PrefsParam::ContourPen, r.secondPen);
    ex.Short(PrefsParam::ContourLineType, r.lineType);
    ex.Short(PrefsParam::ContourShow2D, r.show2D);
    ex.Short(PrefsParam::ContourShowSection, r.showSection);
    ex.Short(PrefsParam::ContourShow3D, r.show3D);
    ex.Short(PrefsParam::DepthPen, r.depthPen);
    ex.Short(PrefsParam::DepthColour1, r.colour1);  // field id 26
    ex.Short(PrefsParam::DepthColour2, r.colour2);  // field id 23
    ex.Short(PrefsParam::DepthColour3, r.colour3);  // field id 25
    ex.Short(PrefsParam::DepthColour4, r.colour4);  // field id 24
    ex.Custom([&] { return PrefsView::ExchangeRgbColours(view, r.depthColours, direction); });
    return ex.Finish(s.contour, r);
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

bool SlopeRange(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    SlopeRangeSettings r = s.slopeRange;
    const int32_t limits[] = {PrefsParam::SlopeRangeLimit1, PrefsParam::SlopeRangeLimit2, PrefsParam::SlopeRangeLimit3,
                              PrefsParam::SlopeRangeLimit4, PrefsParam::SlopeRangeLimit5, PrefsParam::SlopeRangeLimit6};
    const int32_t colours[] = {PrefsParam::SlopeRangeColour1, PrefsParam::SlopeRangeColour2,
                               PrefsParam::SlopeRangeColour3, PrefsParam::SlopeRangeColour4,
                               PrefsParam::SlopeRangeColour5, PrefsParam::SlopeRangeColour6,
                               PrefsParam::SlopeRangeColour7};
    const int32_t texts[] = {PrefsParam::SlopeRangeTextA, PrefsParam::SlopeRangeTextB, PrefsParam::SlopeRangeTextC};
    for (int32_t k = 0; k < 6; ++k) ex.Short(limits[k], r.limits[k]);
    for (int32_t k = 0; k < 7; ++k) ex.Short(colours[k], r.colours[k]);
    for (int32_t k = 0; k < 3; ++k) ex.Text(texts[k], r.texts[k]);
    ex.Text(PrefsParam::SlopeRangeFont, r.font);
    ex.Real(PrefsParam::SlopeRangeSize, r.size);
    ex.Short(PrefsParam::SlopeRangeTextPen, r.textPen);
    ex.Short(PrefsParam::SlopeRangeFramePen, r.framePen);
    return ex.Finish(s.slopeRange, r);
}

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
