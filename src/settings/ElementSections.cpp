#include "settings/ElementSections.hpp"

#include "settings/ProjectOffset.hpp"
#include "settings/SectionExchange.hpp"

namespace {

// A track count kept as 1 or 2 tracks: written 2 when `twoTracks` is set; read back, any count other than 1
// and 2 answers false and leaves the count in `count` for the caller to keep.
bool TrackCount(SectionExchange& ex, int32_t index, int16_t twoTracks, int16_t& count) {
    if (ex.Writing()) return ex.PutShort(index, twoTracks != 0 ? 2 : 1);
    return ex.GetShort(index, count);
}

}  // namespace

bool SerializeSettings(BasinLP& view, BasinSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    BasinSettings r = record;
    ex.HeightSplit(2, 42, r.level);     // ZZYZX, negative_level
    ex.Short(8, r.pen3D);               // penna3D
    ex.Short(23, r.levelMaterial);      // level_material
    ex.Short(41, r.fill);               // retino
    ex.Short(31, r.fillPen);            // penna_fill
    ex.Short(32, r.fillBackgroundPen);  // penna_bkg_fill
    ex.Short(33, r.pen2D);              // penna_2D
    ex.Short(40, r.showFill);           // show_fill
    return ex.Finish(record, r);
}

bool SerializeSettings(BridgeLP& view, BridgeSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    BridgeSettings r = record;
    ex.Short(8, r.pen3D);                   // penna3D
    ex.Short(39, r.bridgeMaterial);         // BridgeSurface
    ex.Short(50, r.roadMaterial);           // RoadSurface
    ex.Short(51, r.sidewalkMaterial);       // SidewalkSurface
    ex.Real(40, r.roadWidth);               // roadWidth
    ex.Short(42, r.fill);                   // retino
    ex.Real(43, r.thickness);               // bridgeThick
    ex.Short(31, r.fillPen);                // penna_fill
    ex.Short(32, r.fillBackgroundPen);      // penna_bkg_fill
    ex.Short(33, r.pen2D);                  // penna_2D
    ex.Short(44, r.sidewalkLeft);           // bSidewalkOnLeft
    ex.Short(45, r.sidewalkRight);          // bSidewalkOnRight
    ex.Real(48, r.sidewalkWidthRight);      // sidewalkWidthOnRight
    ex.Real(49, r.sidewalkThicknessRight);  // sideWalkThickOnRight
    ex.Real(46, r.sidewalkWidthLeft);       // sidewalkWidthOnLeft
    ex.Real(47, r.sidewalkThicknessLeft);   // sideWalkThickOnLeft
    ex.Short(52, r.railingLeft);            // bRailingOnLeft
    ex.Short(53, r.railingRight);           // bRailingOnRight
    ex.Short(54, r.railway);                // bRailroad
    int16_t tracks = 0;
    if (TrackCount(ex, 55, r.twoTracks, tracks) && !ex.Writing())  // num_track
        r.twoTracks = tracks == 1 ? 0 : tracks == 2 ? 1 : tracks;
    ex.Real(56, r.tieSpacing);  // DistTie
    ex.Real(57, r.gauge);       // GaugeTrack
    return ex.Finish(record, r);
}

bool SerializeSettings(BuildingLP& view, BuildingSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    BuildingSettings r = record;
    ex.Short(8, r.pen3D);               // penna3D
    ex.Short(39, r.material);           // mat_oggetto
    ex.Short(40, r.showRoof);           // mostra_falda
    ex.Real(41, r.roofAngle);           // angolo_falda
    ex.Short(42, r.roofMaterial);       // mat_falda
    ex.Short(43, r.fill);               // retino
    ex.Short(31, r.fillPen);            // penna_fill
    ex.Short(32, r.fillBackgroundPen);  // penna_bkg_fill
    ex.Short(33, r.pen2D);              // penna_2D
    ex.HeightSplit(2, 44, r.topLevel);  // ZZYZX, negative_level
    ex.Short(34, r.resolution);         // resol_arco
    ex.Real(45, r.height);              // acca_palazzo
    return ex.Finish(record, r);
}

bool SerializeSettings(ContourLineLP& view, ContourLineSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    ContourLineSettings r = record;
    ex.Real(28, r.firstAltitude);                                                                   // quota_minima
    ex.Real(29, r.lastAltitude);                                                                    // quota_massima
    ex.Real(39, r.interval);                                                                        // passo
    ex.Short(44, r.secondPen);                                                                      // penna_2
    ex.Short(61, r.show2D);                                                                         // flag_2d
    ex.Short(62, r.show3D);                                                                         // flag_3d
    ex.Short(59, r.showSection);                                                                    // show_section
    ex.Short(42, r.mainSecondary);                                                                  // main_secondary
    ex.Short(43, r.firstPen);                                                                       // penna_1
    ex.Long(45, r.mainStep);                                                                        // passo_main
    ex.Short(49, r.useAverage);                                                                     // usa_quota_media
    ex.Short(50, r.useAverage2);                                                                    // usa_quota_media_2
    ex.Real(40, r.minDepth);                                                                        // quota_min_depth
    ex.Real(52, r.average);                                                                         // quota_media
    ex.Real(53, r.average2);                                                                        // quota_media_2
    ex.Real(41, r.maxDepth);                                                                        // quota_max_depth
    ex.Custom([&] { return ContourLineLP::ExchangeRgbColours(view, r.depthColours, direction); });  // rgb_colore
    ex.Short(54, r.depthPen);                                                                       // penna_depth
    ex.Short(55, r.colour1);                                                                        // colore_1 (id 26)
    ex.Short(56, r.colour2);                                                                        // colore_2 (id 23)
    ex.Short(57, r.colour3);                                                                        // colore_3 (id 25)
    ex.Short(58, r.colour4);                                                                        // colore_4 (id 24)
    return ex.Finish(record, r);
}

bool SerializeSettings(DiggingLP& view, PlateauSettings& record, bool sloped, int32_t direction) {
    SectionExchange ex(view, direction);
    PlateauSettings r = record;
    if (sloped && ex.Writing()) ex.Real(43, r.slope);  // slope
    ex.Real(41, r.level);                              // livello
    ex.Real(39, r.cutAngle);                           // slope_angle_cut
    ex.Real(40, r.fillAngle);                          // slope_angle_fill
    ex.Short(23, r.levelMaterial);                     // level_material
    ex.Short(25, r.fillMaterial);                      // fill_material
    ex.Short(24, r.cutMaterial);                       // cut_material
    ex.Short(34, r.resolution);                        // resol_arco
    ex.Short(26, r.show2D);                            // show_2d
    ex.Short(33, r.pen2D);                             // penna_2D
    ex.Short(37, r.obstacleShow2D);                    // show_2D_obs
    ex.Short(36, r.obstaclePen);                       // penna_obs
    ex.Short(35, r.obstacleLineType);                  // tlinea_obs
    ex.Real(19, r.cutExtension);                       // slope_inc_cut
    ex.Real(18, r.fillExtension);                      // slope_inc_fill
    if (!ex.Writing()) {
        if (sloped)
            ex.Real(43, r.slope);
        else
            r.slope = 0.0;
    }
    return ex.Finish(record, r);
}

namespace {
// What level and point markers share: symbol, size, pens, text angle, font, text size, italics.
void MarkerCommon(SectionExchange& ex, SpotHeightSettings& r, int32_t markerPen, int32_t textAngle, int32_t textPen,
                  int32_t italic) {
    ex.Short(3, r.symbol);             // tipo
    ex.Real(4, r.size);                // marker_size
    ex.Short(markerPen, r.markerPen);  // penna_marker
    ex.Real(textAngle, r.textAngle);   // angolo_testo
    ex.Short(textPen, r.textPen);      // penna_testo
    ex.Text(5, r.font);                // font
    ex.Real(6, r.textSize);            // size
    ex.Short(italic, r.italic);        // corsivo
}
}  // namespace

bool SerializeSettings(MarkerLP& view, SpotHeightSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    SpotHeightSettings r = record;
    MarkerCommon(ex, r, 18, 20, 19, 7);
    ex.Short(25, r.active);  // Marker_Active
    return ex.Finish(record, r);
}

bool SerializeSettings(MarkerPtLP& view, SpotHeightSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    SpotHeightSettings r = record;
    MarkerCommon(ex, r, 13, 15, 14, 16);
    ex.Short(10, r.showLevel);    // show_level
    ex.Short(12, r.showComment);  // show_comment
    ex.Short(11, r.showCode);     // show_code
    ex.Short(19, r.active);       // Marker_Active
    if (ex.Writing()) {
        ex.PutReal(17, -ProjectOffset.x);  // icsy_offset
        ex.PutReal(18, -ProjectOffset.y);  // ipsy_offset
    }
    return ex.Finish(record, r);
}

bool SerializeSettings(ObstacleLP& view, RetainerWallSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    RetainerWallSettings r = record;
    ex.Real(2, r.height);               // ZZYZX
    ex.Real(39, r.leftAngle);           // slope_SX_fill
    ex.Real(40, r.rightAngle);          // slope_DX_fill
    ex.Short(34, r.resolution);         // resol_arco
    ex.Short(42, r.material);           // mat_oggetto
    ex.Short(33, r.pen2D);              // penna_2D
    ex.Short(41, r.fill);               // retino
    ex.Short(31, r.fillPen);            // penna_fill
    ex.Short(32, r.fillBackgroundPen);  // penna_bkg_fill
    return ex.Finish(record, r);
}

bool SerializeSettings(PaintLP& view, PaintSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    PaintSettings r = record;
    ex.Short(26, r.show2D);      // show_2d
    ex.Real(46, r.offset);       // offset_Z
    ex.Short(34, r.resolution);  // resol_arco
    ex.Short(48, r.showName);    // show_ID
    return ex.Finish(record, r);
}

namespace {
// Road and railway, direction 0 only: the extensions over those just read, and the new-slope switch present.
void ReadSlopeIncrements(SectionExchange& ex, double& cutExtension, double& fillExtension) {
    if (ex.Writing()) return;
    ex.Real(19, cutExtension);   // slope_inc_cut
    ex.Real(18, fillExtension);  // slope_inc_fill
    ex.RequireNumber(65);        // use_new_slope
}
}  // namespace

namespace {
// The parameters the road and the railway parts share, in the order both exchange them (the first failure ends
// a section, so the order matters).
template <typename Record>
void SlopeAngles(SectionExchange& ex, Record& r) {
    ex.Real(39, r.leftCutAngle);    // slope_SX_cut
    ex.Real(40, r.rightCutAngle);   // slope_DX_cut
    ex.Real(41, r.leftFillAngle);   // slope_SX_fill
    ex.Real(42, r.rightFillAngle);  // slope_DX_fill
}

template <typename Record>
void SurfaceAndRetainingFields(SectionExchange& ex, Record& r) {
    ex.Short(23, r.levelMaterial);     // level_material
    ex.Short(25, r.fillMaterial);      // fill_material
    ex.Short(24, r.cutMaterial);       // cut_material
    ex.Short(34, r.resolution);        // resol_arco
    ex.Short(26, r.show2D);            // show_2d
    ex.Short(33, r.pen2D);             // penna_2D
    ex.Short(37, r.obstacleShow2D);    // show_2D_obs
    ex.Short(36, r.obstaclePen);       // penna_obs
    ex.Real(67, r.cutExtension);       // slope_depth_cut
    ex.Real(66, r.fillExtension);      // slope_depth_fill
    ex.Short(35, r.obstacleLineType);  // tlinea_obs
}

}  // namespace

bool SerializeSettings(RailwayLP& view, RailwaySettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    RailwaySettings r = record;
    SlopeAngles(ex, r);
    ex.Short(70, r.railMaterial);  // et_rail_material
    ex.Short(71, r.tieMaterial);   // et_tie_material
    SurfaceAndRetainingFields(ex, r);
    int16_t tracks = 0;
    if (TrackCount(ex, 68, r.secondTrack, tracks) && !ex.Writing()) {  // et_num_track
        if (tracks == 1 || tracks == 2) {
            r.firstTrack = 1;
            r.secondTrack = tracks == 2 ? 1 : 0;
        } else {
            r.secondTrack = tracks;  // the first track keeps its value: the count says nothing of it
        }
    }
    ex.Real(69, r.gauge);           // et_GaugeTrack
    ex.Real(72, r.tieSpacing);      // et_DistTie
    ex.Short(73, r.levelCrossing);  // et_bLevelCrossing
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
    ex.Real(55, r.bottomLevel);        // livello_minimo
    ex.Short(48, r.straightPen);       // penna_rette
    ex.Short(49, r.curvePen);          // penna_curve
    ex.Short(51, r.terrainPen);        // penna_terreno
    ex.Short(56, r.dividerLineType);   // tlinea_divisore
    ex.Short(47, r.dividerPen);        // penna_divisori
    ex.Short(57, r.straightLineType);  // tlinea_rette
    ex.Short(50, r.linePen);           // penna_linee
    ex.Text(52, r.font);               // font
    ex.Real(53, r.textSize);           // size
    ex.Short(54, r.textPen);           // font_pen
    ex.Short(58, r.showPlan);          // mostra_strada
    ex.Short(59, r.showLeft);          // left_section
    ex.Short(60, r.showRight);         // right_section
    ex.Short(61, r.flipLeft);          // flip_left
    ex.Short(62, r.flipRight);         // flip_right
    return ex.Finish(record, r);
}

bool SerializeSettings(SideWalkLP& view, SidewalkSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    SidewalkSettings r = record;
    ex.Short(23, r.levelMaterial);  // level_material
    ex.Short(25, r.fillMaterial);   // fill_material
    ex.Short(24, r.cutMaterial);    // cut_material
    ex.Short(34, r.resolution);     // resol_arco
    ex.Real(39, r.thickness);       // thck
    ex.Short(26, r.show2D);         // show_2d
    ex.Short(33, r.pen2D);          // penna_2D
    ex.Short(40, r.leftSide);       // latosinistro
    return ex.Finish(record, r);
}

bool SerializeSettings(SlopeRangeLP& view, SlopeRangeSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    SlopeRangeSettings r = record;
    for (int32_t k = 0; k < 6; ++k) ex.Short(6 + k, r.limits[k]);    // P_range_1 to _6
    for (int32_t k = 0; k < 7; ++k) ex.Short(12 + k, r.colours[k]);  // color_1 to _7
    ex.Short(19, r.show3D);                                          // mostra_3D
    ex.Real(20, r.lift);                                             // alzatore
    for (int32_t k = 0; k < 3; ++k) ex.Text(21 + k, r.texts[k]);     // text_A to _C
    ex.Text(24, r.font);                                             // font_family
    ex.Real(25, r.size);                                             // size
    ex.Short(27, r.textPen);                                         // penna_testo
    ex.Short(26, r.framePen);                                        // penna_frame
    ex.Short(30, r.showZeros);                                       // mostra_zeri
    ex.Short(31, r.show2D);                                          // mostra_2D
    return ex.Finish(record, r);
}

bool SerializeSettings(WallLP& view, WallSettings& record, int32_t direction) {
    SectionExchange ex(view, direction);
    WallSettings r = record;
    ex.Short(8, r.pen3D);               // penna3D
    ex.Short(39, r.material);           // mat
    ex.Real(40, r.thickness);           // spessore
    ex.Text(41, r.side);                // posizione
    ex.Short(42, r.fill);               // retino
    ex.Short(31, r.fillPen);            // penna_fill
    ex.Short(32, r.fillBackgroundPen);  // penna_bkg_fill
    ex.Short(33, r.pen2D);              // penna_2D
    ex.Real(2, r.height);               // ZZYZX
    ex.Short(34, r.resolution);         // resol_arco
    return ex.Finish(record, r);
}
