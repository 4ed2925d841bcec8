#include "settings/ElementSections.hpp"

#include "elements/ParamIndexes.hpp"
#include "settings/ProjectOffset.hpp"
#include "settings/SectionExchange.hpp"

namespace {

// A track count kept as 1 or 2 tracks: written 2 when `twoTracks` is set; read back, any count other than 1
// and 2 answers false and leaves the count in `count` for the caller to keep.
bool TrackCount(SectionExchange& ex, int32_t index, int16_t twoTracks, int16_t& count) {
    if (ex.Writing()) return ex.PutShort(index, twoTracks != 0 ? 2 : 1);
    return ex.GetShort(index, count);
}

// The materials, resolution, plan display and retaining display that plateaus, roads and railways share, in the
// order all three exchange them.
template <typename Record>
void SurfaceFields(SectionExchange& ex, Record& r) {
    ex.Short(BaseIDParam::LevelMaterial, r.levelMaterial);
    ex.Short(BaseIDParam::FillMaterial, r.fillMaterial);
    ex.Short(BaseIDParam::CutMaterial, r.cutMaterial);
    ex.Short(BaseIDParam::Resolution, r.resolution);
    ex.Short(BaseIDParam::Show2D, r.show2D);
    ex.Short(BaseIDParam::Pen2D, r.pen2D);
    ex.Short(BaseIDParam::ObstacleShow2D, r.obstacleShow2D);
    ex.Short(BaseIDParam::ObstaclePen, r.obstaclePen);
}

}  // namespace

bool SerializeSettings(BasinLP& view, BasinSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    BasinSettings r = record;
    ex.HeightSplit(BaseParam::Zzyzx, BasinParam::NegativeLevel, r.level);
    ex.Short(BaseIDParam::Pen3D, r.pen3D);
    ex.Short(BaseIDParam::LevelMaterial, r.levelMaterial);
    ex.Short(BasinParam::Fill, r.fill);
    ex.Short(BaseIDParam::FillPen, r.fillPen);
    ex.Short(BaseIDParam::FillBackgroundPen, r.fillBackgroundPen);
    ex.Short(BaseIDParam::Pen2D, r.pen2D);
    ex.Short(BasinParam::ShowFill, r.showFill);
    return ex.Finish(record, r);
}

bool SerializeSettings(BridgeLP& view, BridgeSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    BridgeSettings r = record;
    ex.Short(BaseIDParam::Pen3D, r.pen3D);
    ex.Short(BridgeParam::BridgeMaterial, r.bridgeMaterial);
    ex.Short(BridgeParam::RoadMaterial, r.roadMaterial);
    ex.Short(BridgeParam::SidewalkMaterial, r.sidewalkMaterial);
    ex.Real(BridgeParam::RoadWidth, r.roadWidth);
    ex.Short(BridgeParam::Fill, r.fill);
    ex.Real(BridgeParam::Thickness, r.thickness);
    ex.Short(BaseIDParam::FillPen, r.fillPen);
    ex.Short(BaseIDParam::FillBackgroundPen, r.fillBackgroundPen);
    ex.Short(BaseIDParam::Pen2D, r.pen2D);
    ex.Short(BridgeParam::SidewalkLeft, r.sidewalkLeft);
    ex.Short(BridgeParam::SidewalkRight, r.sidewalkRight);
    ex.Real(BridgeParam::SidewalkWidthRight, r.sidewalkWidthRight);
    ex.Real(BridgeParam::SidewalkThicknessRight, r.sidewalkThicknessRight);
    ex.Real(BridgeParam::SidewalkWidthLeft, r.sidewalkWidthLeft);
    ex.Real(BridgeParam::SidewalkThicknessLeft, r.sidewalkThicknessLeft);
    ex.Short(BridgeParam::RailingLeft, r.railingLeft);
    ex.Short(BridgeParam::RailingRight, r.railingRight);
    ex.Short(BridgeParam::Railway, r.railway);
    int16_t tracks = 0;
    if (TrackCount(ex, BridgeParam::TrackCount, r.twoTracks, tracks) && !ex.Writing())
        r.twoTracks = tracks == 1 ? 0 : tracks == 2 ? 1 : tracks;
    ex.Real(BridgeParam::TieSpacing, r.tieSpacing);
    ex.Real(BridgeParam::Gauge, r.gauge);
    return ex.Finish(record, r);
}

bool SerializeSettings(BuildingLP& view, BuildingSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    BuildingSettings r = record;
    ex.Short(BaseIDParam::Pen3D, r.pen3D);
    ex.Short(BuildingParam::Material, r.material);
    ex.Short(BuildingParam::ShowRoof, r.showRoof);
    ex.Real(BuildingParam::RoofAngle, r.roofAngle);
    ex.Short(BuildingParam::RoofMaterial, r.roofMaterial);
    ex.Short(BuildingParam::Fill, r.fill);
    ex.Short(BaseIDParam::FillPen, r.fillPen);
    ex.Short(BaseIDParam::FillBackgroundPen, r.fillBackgroundPen);
    ex.Short(BaseIDParam::Pen2D, r.pen2D);
    ex.HeightSplit(BaseParam::Zzyzx, BuildingParam::NegativeLevel, r.topLevel);
    ex.Short(BaseIDParam::Resolution, r.resolution);
    ex.Real(BuildingParam::Height, r.height);
    return ex.Finish(record, r);
}

bool SerializeSettings(ContourLineLP& view, ContourLineSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    ContourLineSettings r = record;
    ex.Real(BaseIDParam::LowestLevel, r.firstAltitude);
    ex.Real(BaseIDParam::HighestLevel, r.lastAltitude);
    ex.Real(ContourLineParam::Interval, r.interval);
    ex.Short(ContourLineParam::SecondPen, r.secondPen);
    ex.Short(ContourLineParam::Show2D, r.show2D);
    ex.Short(ContourLineParam::Show3D, r.show3D);
    ex.Short(ContourLineParam::ShowSection, r.showSection);
    ex.Short(ContourLineParam::MainSecondary, r.mainSecondary);
    ex.Short(ContourLineParam::FirstPen, r.firstPen);
    ex.Long(ContourLineParam::MainStep, r.mainStep);
    ex.Short(ContourLineParam::UseAverage, r.useAverage);
    ex.Short(ContourLineParam::UseAverage2, r.useAverage2);
    ex.Real(ContourLineParam::MinDepth, r.minDepth);
    ex.Real(ContourLineParam::Average, r.average);
    ex.Real(ContourLineParam::Average2, r.average2);
    ex.Real(ContourLineParam::MaxDepth, r.maxDepth);
    ex.Custom([&] { return ContourLineLP::ExchangeRgbColours(view, r.depthColours, direction); });
    ex.Short(ContourLineParam::DepthPen, r.depthPen);
    ex.Short(ContourLineParam::Colour1, r.colour1);  // field id 26
    ex.Short(ContourLineParam::Colour2, r.colour2);  // field id 23
    ex.Short(ContourLineParam::Colour3, r.colour3);  // field id 25
    ex.Short(ContourLineParam::Colour4, r.colour4);  // field id 24
    return ex.Finish(record, r);
}

bool SerializeSettings(DiggingLP& view, PlateauSettings& record, bool sloped, int32_t direction) {
    SectionExchange ex(view, direction);
    PlateauSettings r = record;
    if (sloped && ex.Writing()) ex.Real(SlopedDiggingParam::Slope, r.slope);
    ex.Real(DiggingParam::Level, r.level);
    ex.Real(DiggingParam::CutAngle, r.cutAngle);
    ex.Real(DiggingParam::FillAngle, r.fillAngle);
    SurfaceFields(ex, r);
    ex.Short(BaseIDParam::ObstacleLineType, r.obstacleLineType);
    ex.Real(BaseIDParam::SlopeIncCut, r.cutExtension);
    ex.Real(BaseIDParam::SlopeIncFill, r.fillExtension);
    if (!ex.Writing()) {
        if (sloped)
            ex.Real(SlopedDiggingParam::Slope, r.slope);
        else
            r.slope = 0.0;
    }
    return ex.Finish(record, r);
}

namespace {
// Where a marker part keeps what level and point markers share.
struct MarkerIndexes {
    int32_t symbol, size, markerPen, textAngle, textPen, font, textSize, italic;
};
constexpr MarkerIndexes kLevelMarker{MarkerParam::Symbol,    MarkerParam::Size,    MarkerParam::MarkerPen,
                                     MarkerParam::TextAngle, MarkerParam::TextPen, MarkerParam::Font,
                                     MarkerParam::TextSize,  MarkerParam::Italic};
constexpr MarkerIndexes kPointMarker{MarkerPtParam::Symbol,    MarkerPtParam::Size,    MarkerPtParam::MarkerPen,
                                     MarkerPtParam::TextAngle, MarkerPtParam::TextPen, MarkerPtParam::Font,
                                     MarkerPtParam::TextSize,  MarkerPtParam::Italic};

// What level and point markers share: symbol, size, pens, text angle, font, text size, italics.
void MarkerCommon(SectionExchange& ex, SpotHeightSettings& r, const MarkerIndexes& at) {
    ex.Short(at.symbol, r.symbol);
    ex.Real(at.size, r.size);
    ex.Short(at.markerPen, r.markerPen);
    ex.Real(at.textAngle, r.textAngle);
    ex.Short(at.textPen, r.textPen);
    ex.Text(at.font, r.font);
    ex.Real(at.textSize, r.textSize);
    ex.Short(at.italic, r.italic);
}
}  // namespace

bool SerializeSettings(MarkerLP& view, SpotHeightSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    SpotHeightSettings r = record;
    MarkerCommon(ex, r, kLevelMarker);
    ex.Short(MarkerParam::Active, r.active);
    return ex.Finish(record, r);
}

bool SerializeSettings(MarkerPtLP& view, SpotHeightSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    SpotHeightSettings r = record;
    MarkerCommon(ex, r, kPointMarker);
    ex.Short(MarkerPtParam::ShowLevel, r.showLevel);
    ex.Short(MarkerPtParam::ShowComment, r.showComment);
    ex.Short(MarkerPtParam::ShowCode, r.showCode);
    ex.Short(MarkerPtParam::Active, r.active);
    if (ex.Writing()) {
        ex.PutReal(MarkerPtParam::OffsetX, -ProjectOffset.x);
        ex.PutReal(MarkerPtParam::OffsetY, -ProjectOffset.y);
    }
    return ex.Finish(record, r);
}

bool SerializeSettings(ObstacleLP& view, RetainerWallSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    RetainerWallSettings r = record;
    ex.Real(BaseParam::Zzyzx, r.height);
    ex.Real(ObstacleParam::SlopeLeftFill, r.leftAngle);
    ex.Real(ObstacleParam::SlopeRightFill, r.rightAngle);
    ex.Short(BaseIDParam::Resolution, r.resolution);
    ex.Short(ObstacleParam::Material, r.material);
    ex.Short(BaseIDParam::Pen2D, r.pen2D);
    ex.Short(ObstacleParam::Fill, r.fill);
    ex.Short(BaseIDParam::FillPen, r.fillPen);
    ex.Short(BaseIDParam::FillBackgroundPen, r.fillBackgroundPen);
    return ex.Finish(record, r);
}

bool SerializeSettings(PaintLP& view, PaintSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    PaintSettings r = record;
    ex.Short(BaseIDParam::Show2D, r.show2D);
    ex.Real(PaintParam::OffsetZ, r.offset);
    ex.Short(BaseIDParam::Resolution, r.resolution);
    ex.Short(PaintParam::ShowID, r.showName);
    return ex.Finish(record, r);
}

namespace {
// Road and railway, direction 0 only: the extensions over those just read, and the new-slope switch present.
void ReadSlopeIncrements(SectionExchange& ex, double& cutExtension, double& fillExtension) {
    if (ex.Writing()) return;
    ex.Real(BaseIDParam::SlopeIncCut, cutExtension);
    ex.Real(BaseIDParam::SlopeIncFill, fillExtension);
    ex.RequireNumber(RoadParam::UseNewSlope);
}
}  // namespace

namespace {
// The parameters the road and the railway parts share, in the order both exchange them (the first failure ends
// a section, so the order matters).
template <typename Record>
void SlopeAngles(SectionExchange& ex, Record& r) {
    ex.Real(RoadParam::SlopeLeftCut, r.leftCutAngle);
    ex.Real(RoadParam::SlopeRightCut, r.rightCutAngle);
    ex.Real(RoadParam::SlopeLeftFill, r.leftFillAngle);
    ex.Real(RoadParam::SlopeRightFill, r.rightFillAngle);
}

template <typename Record>
void SurfaceAndRetainingFields(SectionExchange& ex, Record& r) {
    SurfaceFields(ex, r);
    ex.Real(RoadParam::SlopeDepthCut, r.cutExtension);
    ex.Real(RoadParam::SlopeDepthFill, r.fillExtension);
    ex.Short(BaseIDParam::ObstacleLineType, r.obstacleLineType);
}

}  // namespace

bool SerializeSettings(RailwayLP& view, RailwaySettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    RailwaySettings r = record;
    SlopeAngles(ex, r);
    ex.Short(RailwayParam::RailMaterial, r.railMaterial);
    ex.Short(RailwayParam::TieMaterial, r.tieMaterial);
    SurfaceAndRetainingFields(ex, r);
    int16_t tracks = 0;
    if (TrackCount(ex, RailwayParam::NumTrack, r.secondTrack, tracks) && !ex.Writing()) {
        if (tracks == 1 || tracks == 2) {
            r.firstTrack = 1;
            r.secondTrack = tracks == 2 ? 1 : 0;
        } else {
            r.secondTrack = tracks;  // the first track keeps its value: the count says nothing of it
        }
    }
    ex.Real(RailwayParam::GaugeTrack, r.gauge);
    ex.Real(RailwayParam::DistTie, r.tieSpacing);
    ex.Short(RailwayParam::LevelCrossing, r.levelCrossing);
    ReadSlopeIncrements(ex, r.cutExtension, r.fillExtension);
    return ex.Finish(record, r);
}

bool SerializeSettings(RoadLP& view, RoadSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    RoadSettings r = record;
    SlopeAngles(ex, r);
    SurfaceAndRetainingFields(ex, r);
    ReadSlopeIncrements(ex, r.cutExtension, r.fillExtension);
    return ex.Finish(record, r);
}

bool SerializeSettings2(RoadLP& view, SectionSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    SectionSettings r = record;
    ex.Real(RoadParam::BottomLevel, r.bottomLevel);
    ex.Short(RoadParam::StraightPen, r.straightPen);
    ex.Short(RoadParam::CurvePen, r.curvePen);
    ex.Short(RoadParam::TerrainPen, r.terrainPen);
    ex.Short(RoadParam::DividerLineType, r.dividerLineType);
    ex.Short(RoadParam::DividerPen, r.dividerPen);
    ex.Short(RoadParam::StraightLineType, r.straightLineType);
    ex.Short(RoadParam::LinePen, r.linePen);
    ex.Text(RoadParam::Font, r.font);
    ex.Real(RoadParam::TextSize, r.textSize);
    ex.Short(RoadParam::TextPen, r.textPen);
    ex.Short(RoadParam::ShowPlan, r.showPlan);
    ex.Short(RoadParam::ShowLeft, r.showLeft);
    ex.Short(RoadParam::ShowRight, r.showRight);
    ex.Short(RoadParam::FlipLeft, r.flipLeft);
    ex.Short(RoadParam::FlipRight, r.flipRight);
    return ex.Finish(record, r);
}

bool SerializeSettings(SideWalkLP& view, SidewalkSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    SidewalkSettings r = record;
    ex.Short(BaseIDParam::LevelMaterial, r.levelMaterial);
    ex.Short(BaseIDParam::FillMaterial, r.fillMaterial);
    ex.Short(BaseIDParam::CutMaterial, r.cutMaterial);
    ex.Short(BaseIDParam::Resolution, r.resolution);
    ex.Real(SideWalkParam::Thickness, r.thickness);
    ex.Short(BaseIDParam::Show2D, r.show2D);
    ex.Short(BaseIDParam::Pen2D, r.pen2D);
    ex.Short(SideWalkParam::LeftSide, r.leftSide);
    return ex.Finish(record, r);
}

bool SerializeSettings(SlopeRangeLP& view, SlopeRangeSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    SlopeRangeSettings r = record;
    const int32_t limits[] = {SlopeRangeParam::Limit1, SlopeRangeParam::Limit2, SlopeRangeParam::Limit3,
                              SlopeRangeParam::Limit4, SlopeRangeParam::Limit5, SlopeRangeParam::Limit6};
    const int32_t colours[] = {SlopeRangeParam::Colour1, SlopeRangeParam::Colour2, SlopeRangeParam::Colour3,
                               SlopeRangeParam::Colour4, SlopeRangeParam::Colour5, SlopeRangeParam::Colour6,
                               SlopeRangeParam::Colour7};
    const int32_t texts[] = {SlopeRangeParam::TextA, SlopeRangeParam::TextB, SlopeRangeParam::TextC};
    for (int16_t k = 0; k < 6; ++k) ex.Short(limits[k], *r.FieldOf<uint16_t>(SlopeRangeSettings::Id::limit1 + k));
    for (int16_t k = 0; k < 7; ++k) ex.Short(colours[k], *r.FieldOf<uint16_t>(SlopeRangeSettings::Id::colour1 + k));
    ex.Short(SlopeRangeParam::Show3D, r.show3D);
    ex.Real(SlopeRangeParam::Lift, r.lift);
    for (int16_t k = 0; k < 3; ++k) ex.Text(texts[k], *r.Text(SlopeRangeSettings::Id::text1 + k));
    ex.Text(SlopeRangeParam::Font, r.font);
    ex.Real(SlopeRangeParam::Size, r.size);
    ex.Short(SlopeRangeParam::TextPen, r.textPen);
    ex.Short(SlopeRangeParam::FramePen, r.framePen);
    ex.Short(SlopeRangeParam::ShowZeros, r.showZeros);
    ex.Short(SlopeRangeParam::Show2D, r.show2D);
    return ex.Finish(record, r);
}

bool SerializeSettings(WallLP& view, WallSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    WallSettings r = record;
    ex.Short(BaseIDParam::Pen3D, r.pen3D);
    ex.Short(WallParam::Material, r.material);
    ex.Real(WallParam::Thickness, r.thickness);
    ex.Text(WallParam::Side, r.side);
    ex.Short(WallParam::Fill, r.fill);
    ex.Short(BaseIDParam::FillPen, r.fillPen);
    ex.Short(BaseIDParam::FillBackgroundPen, r.fillBackgroundPen);
    ex.Short(BaseIDParam::Pen2D, r.pen2D);
    ex.Real(BaseParam::Zzyzx, r.height);
    ex.Short(BaseIDParam::Resolution, r.resolution);
    return ex.Finish(record, r);
}
