#include "settings/PrefsSections.hpp"

#include "elements/PrefsParamIndexes.hpp"
#include "settings/SectionExchange.hpp"

#include <type_traits>

namespace {

// The display of retaining structures along a road, railway or plateau, read only.
template <typename Field>
void ReadObstacleDisplay(SectionExchange& ex, Field& show2D, Field& pen, Field& lineType) {
    ex.Short(PrefsParam::ObstacleShow2D, show2D);
    ex.Short(PrefsParam::ObstaclePen2D, pen);
    ex.Short(PrefsParam::ObstacleLineType, lineType);
}

bool Points(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    PointSettings r = s.points;
    ex.Short(PrefsParam::PointsPen, r.pen);
    ex.Text(PrefsParam::PointsCode, r.code);
    return ex.Finish(s.points, r);
}

// A record declared as a table: every field with a preference, in the table's order.
template <typename Record>
bool TableSection(PrefsView& view, Record& record, int32_t direction) {
    SectionExchange ex(view, direction);
    Record r = record;
    Record::EachField(r, [&](auto& field, int16_t, int32_t prefs, const FieldDefault&) {
        using T = std::decay_t<decltype(field)>;
        if (prefs == NoPrefs) return;
        if constexpr (std::is_same_v<T, double>)
            ex.Real(prefs, field);
        else if constexpr (std::is_same_v<T, QV_String>)
            ex.Text(prefs, field);
        else
            ex.Short(prefs, field);
    });
    return ex.Finish(record, r);
}

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

// Terrain ids 3 and 11 are kept as "hidden" flags: the parameter is 0 when the field is 1.
void TerrainFlag(SectionExchange& ex, int32_t index, uint16_t& field, uint16_t otherwise) {
    if (ex.Writing()) {
        ex.PutShort(index, field == 1 ? 0 : 1);
        return;
    }
    int16_t flag = 0;
    if (ex.GetShort(index, flag)) field = flag == 0 ? 1 : otherwise;
}

bool Terrain(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    TerrainSettings r = s.terrain;
    ex.Short(PrefsParam::TerrainLineType, r.lineType);
    ex.Short(PrefsParam::TerrainContourPen, r.contourPen);
    ex.Short(PrefsParam::TerrainRidgePen, r.ridgePen);
    ex.Short(PrefsParam::TerrainFill, r.fill);
    ex.Short(PrefsParam::TerrainFillContourPen, r.fillContourPen);
    ex.Short(PrefsParam::TerrainFillPen, r.fillPen);
    ex.Short(PrefsParam::TerrainFillBackgroundPen, r.fillBackgroundPen);
    TerrainFlag(ex, PrefsParam::TerrainShow2DTriangles, r.planTriangles, 2);
    TerrainFlag(ex, PrefsParam::TerrainShow3DTriangles, r.modelTriangles, 0);
    ex.Short(PrefsParam::TerrainTopMaterial, r.topMaterial);
    ex.Short(PrefsParam::TerrainSideMaterial, r.sideMaterial);
    ex.Short(PrefsParam::TerrainBottomMaterial, r.bottomMaterial);
    ex.Text(PrefsParam::TerrainName, r.name);
    ex.Short(PrefsParam::TerrainOverride, r.penOverride);
    ex.Short(PrefsParam::TerrainBuildingMaterial, r.buildingMaterial);
    ex.Short(PrefsParam::TopMaterialOverride, r.topMaterialOverride);
    ex.Short(PrefsParam::SideMaterialOverride, r.sideMaterialOverride);
    ex.Short(PrefsParam::BottomMaterialOverride, r.bottomMaterialOverride);
    return ex.Finish(s.terrain, r);
}

bool Plateau(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    PlateauSettings r = s.plateau;
    ex.Real(PrefsParam::PlateauLevel, r.level);
    ex.Real(PrefsParam::PlateauSlope, r.slope);
    ex.Real(PrefsParam::PlateauCutAngle, r.cutAngle);
    ex.Real(PrefsParam::PlateauFillAngle, r.fillAngle);
    ex.Real(PrefsParam::PlateauCutExtension, r.cutExtension);
    ex.Real(PrefsParam::PlateauFillExtension, r.fillExtension);
    ex.Short(PrefsParam::PlateauResolution, r.resolution);
    ex.Short(PrefsParam::PlateauTopMaterial, r.levelMaterial);
    ex.Short(PrefsParam::PlateauCutMaterial, r.cutMaterial);
    ex.Short(PrefsParam::PlateauFillMaterial, r.fillMaterial);
    ex.Short(PrefsParam::PlateauShow2D, r.show2D);
    ex.Short(PrefsParam::PlateauPen2D, r.pen2D);
    ex.Short(PrefsParam::PlateauPen3D, r.pen3D);
    ex.Text(PrefsParam::PlateauName, r.name);
    if (!ex.Writing()) ReadObstacleDisplay(ex, r.obstacleShow2D, r.obstaclePen, r.obstacleLineType);
    return ex.Finish(s.plateau, r);
}

bool Road(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    RoadData r = s.road;
    ex.Real(PrefsParam::RoadLeftCutAngle, r.leftCutAngle);
    ex.Real(PrefsParam::RoadLeftFillAngle, r.leftFillAngle);
    ex.Real(PrefsParam::RoadRightCutAngle, r.rightCutAngle);
    ex.Real(PrefsParam::RoadRightFillAngle, r.rightFillAngle);
    ex.Real(PrefsParam::RoadCutExtension, r.cutExtension);
    ex.Real(PrefsParam::RoadFillExtension, r.fillExtension);
    ex.Short(PrefsParam::RoadResolution, r.resolution);
    ex.Short(PrefsParam::RoadMaterial, r.levelMaterial);
    ex.Short(PrefsParam::RoadCutMaterial, r.cutMaterial);
    ex.Short(PrefsParam::RoadFillMaterial, r.fillMaterial);
    ex.Short(PrefsParam::RoadShow2D, r.show2D);
    ex.Short(PrefsParam::RoadPen2D, r.pen2D);
    ex.Short(PrefsParam::RoadPen3D, r.pen);
    ex.Text(PrefsParam::RoadName, r.name);
    if (!ex.Writing()) ReadObstacleDisplay(ex, r.obstacleShow2D, r.obstaclePen, r.obstacleLineType);
    return ex.Finish(s.road, r);
}

bool RoadSection(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.section, direction); }

bool Sidewalk(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.sidewalk, direction); }

bool Basin(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    BasinSettings r = s.basin;
    ex.Short(PrefsParam::BasinMaterial, r.levelMaterial);
    ex.Short(PrefsParam::BasinPen3D, r.pen3D);
    ex.Short(PrefsParam::BasinPen2D, r.pen2D);
    ex.Short(PrefsParam::BasinLineType, r.attribute);
    ex.Short(PrefsParam::BasinFill, r.fill);
    ex.Short(PrefsParam::BasinFillPen, r.fillPen);
    ex.Short(PrefsParam::BasinBackgroundPen, r.fillBackgroundPen);
    ex.Text(PrefsParam::BasinName, r.name);
    return ex.Finish(s.basin, r);
}

bool Building(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.building, direction); }

bool ColouredArea(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.paint, direction); }

bool Wall(PrefsView& view, Settings& s, int32_t direction) { return TableSection(view, s.wall, direction); }

bool RetainingWall(PrefsView& view, Settings& s, int32_t direction) {
    return TableSection(view, s.retainingWall, direction);
}

bool Markers(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    SpotHeightSettings r = s.marker;
    ex.Short(PrefsParam::LevelSymbol, r.symbol);
    ex.Real(PrefsParam::LevelSize, r.size);
    ex.Real(PrefsParam::LevelTextAngle, r.textAngle);
    ex.Short(PrefsParam::LevelMarkerPen, r.markerPen);
    ex.Short(PrefsParam::LevelTextPen, r.textPen);
    ex.Text(PrefsParam::LevelFont, r.font);
    ex.Real(PrefsParam::LevelTextSize, r.textSize);
    ex.Short(PrefsParam::LevelItalic, r.italic);
    ex.Short(PrefsParam::LevelShowLevel, r.showLevel);
    ex.Short(PrefsParam::LevelShowCode, r.showCode);
    ex.Short(PrefsParam::LevelShowComment, r.showComment);
    return ex.Finish(s.marker, r);
}

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

bool Bridge(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    BridgeSettings r = s.bridge;
    ex.Real(PrefsParam::BridgeThickness, r.thickness);
    ex.Real(PrefsParam::BridgeWidth, r.roadWidth);
    ex.Short(PrefsParam::BridgePen3D, r.pen3D);
    ex.Short(PrefsParam::BridgeMaterial, r.bridgeMaterial);
    ex.Short(PrefsParam::BridgeRoadMaterial, r.roadMaterial);
    ex.Short(PrefsParam::BridgeSidewalkMaterial, r.sidewalkMaterial);
    ex.Short(PrefsParam::BridgePen2D, r.pen2D);
    ex.Short(PrefsParam::BridgeFill, r.fill);
    ex.Short(PrefsParam::BridgeFillPen, r.fillPen);
    ex.Short(PrefsParam::BridgeBackgroundPen, r.fillBackgroundPen);
    ex.Text(PrefsParam::BridgeName, r.name);
    ex.Short(PrefsParam::BridgeBorderLeft, r.sidewalkLeft);
    ex.Short(PrefsParam::BridgeBorderRight, r.sidewalkRight);
    ex.Real(PrefsParam::BridgeBorderWidthLeft, r.sidewalkWidthLeft);
    ex.Real(PrefsParam::BridgeBorderWidthRight, r.sidewalkWidthRight);
    ex.Real(PrefsParam::BridgeBorderThickLeft, r.sidewalkThicknessLeft);
    ex.Real(PrefsParam::BridgeBorderThickRight, r.sidewalkThicknessRight);
    ex.Short(PrefsParam::BridgeRailingLeft, r.railingLeft);
    ex.Short(PrefsParam::BridgeRailingRight, r.railingRight);
    return ex.Finish(s.bridge, r);
}

// 153 "railway_width" belongs to no section: the railway takes the general record's road width.
bool Railway(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    RailwaySettings r = s.railway;
    ex.Real(PrefsParam::RailwayLeftCutAngle, r.leftCutAngle);
    ex.Real(PrefsParam::RailwayLeftFillAngle, r.leftFillAngle);
    ex.Real(PrefsParam::RailwayRightCutAngle, r.rightCutAngle);
    ex.Real(PrefsParam::RailwayRightFillAngle, r.rightFillAngle);
    ex.Real(PrefsParam::RailwayCutExtension, r.cutExtension);
    ex.Real(PrefsParam::RailwayFillExtension, r.fillExtension);
    ex.Short(PrefsParam::RailwayResolution, r.resolution);
    ex.Short(PrefsParam::RailwayMaterial, r.levelMaterial);
    ex.Short(PrefsParam::RailwayCutMaterial, r.cutMaterial);
    ex.Short(PrefsParam::RailwayFillMaterial, r.fillMaterial);
    ex.Short(PrefsParam::RailwayShow2D, r.show2D);
    ex.Short(PrefsParam::RailwayPen2D, r.pen2D);
    ex.Short(PrefsParam::RailwayPen3D, r.pen);
    ex.Text(PrefsParam::RailwayName, r.name);
    if (!ex.Writing()) ReadObstacleDisplay(ex, r.obstacleShow2D, r.obstaclePen, r.obstacleLineType);
    return ex.Finish(s.railway, r);
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
