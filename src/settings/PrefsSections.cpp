#include "settings/PrefsSections.hpp"

#include "settings/SectionExchange.hpp"

namespace {

// The display of retaining structures along a road, railway or plateau, read only.
template <typename Field>
void ReadObstacleDisplay(SectionExchange& ex, Field& show2D, Field& pen, Field& lineType) {
    ex.Short(168, show2D);    // obstacle_show_2d
    ex.Short(169, pen);       // obstacle_2d_pen
    ex.Short(170, lineType);  // obstacle_line_type
}

bool Points(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    PointSettings r = s.points;
    ex.Short(3, r.pen);  // punti_2D_pen
    ex.Text(4, r.code);  // punti_code
    return ex.Finish(s.points, r);
}

bool Constraint(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    ConstraintSettings r = s.constraint;
    ex.Short(5, r.pen);       // constraint_2D_pen
    ex.Short(6, r.lineType);  // constraint_linetype
    return ex.Finish(s.constraint, r);
}

bool Outline(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    OutlineSettings r = s.outline;
    ex.Short(7, r.lineType);        // outline_linetype
    ex.Short(8, r.fill);            // outline_fill
    ex.Short(9, r.pen);             // outline_2D_pen
    ex.Short(10, r.fillPen);        // outline_fill_pen
    ex.Short(11, r.backgroundPen);  // outline_bkg_pen
    ex.Text(12, r.name);            // outline_ID
    return ex.Finish(s.outline, r);
}

bool ContourLines(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    ContourLineSettings r = s.contour;
    ex.Short(13, r.mainSecondary);  // contour_line_main
    ex.Short(14, r.firstPen);       // contour_line_main_pen
    ex.Short(15, r.secondPen);      // contour_line_pen
    ex.Short(16, r.lineType);       // contour_line_linetype
    ex.Short(17, r.show2D);         // contour_line_show_2D
    ex.Short(18, r.showSection);    // contour_line_show_SE
    ex.Short(19, r.show3D);         // contour_line_show_3D
    ex.Short(38, r.depthPen);       // show_depth_pen
    ex.Short(39, r.colour1);        // show_depth_colour_1 (id 26)
    ex.Short(40, r.colour2);        // show_depth_colour_2 (id 23)
    ex.Short(41, r.colour3);        // show_depth_colour_3 (id 25)
    ex.Short(42, r.colour4);        // show_depth_colour_4 (id 24)
    ex.Custom([&] { return PrefsView::ExchangeRgbColours(view, r.depthColours, direction); });  // show_depth_RGB
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
    ex.Short(20, r.lineType);                  // terrain_linetype
    ex.Short(21, r.contourPen);                // terrain_contour_pen
    ex.Short(22, r.ridgePen);                  // terrain_ridge_pen
    ex.Short(23, r.fill);                      // terrain_fill
    ex.Short(24, r.fillContourPen);            // terrain_fill_contour_pen
    ex.Short(25, r.fillPen);                   // terrain_fill_pen
    ex.Short(26, r.fillBackgroundPen);         // terrain_fill_bkg_pen
    TerrainFlag(ex, 27, r.planTriangles, 2);   // terrain_show_2d_triangle
    TerrainFlag(ex, 28, r.modelTriangles, 0);  // terrain_show_3d_triangle
    ex.Short(29, r.topMaterial);               // terrain_top_mat
    ex.Short(30, r.sideMaterial);              // terrain_side_mat
    ex.Short(31, r.bottomMaterial);            // terrain_bottom_mat
    ex.Text(32, r.name);                       // terrain_ID
    ex.Short(33, r.penOverride);               // terrain_override
    ex.Short(34, r.buildingMaterial);          // terrain_BM
    ex.Short(35, r.topMaterialOverride);       // top_mat_override
    ex.Short(36, r.sideMaterialOverride);      // side_mat_override
    ex.Short(37, r.bottomMaterialOverride);    // bottom_mat_override
    return ex.Finish(s.terrain, r);
}

bool Plateau(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    PlateauSettings r = s.plateau;
    ex.Real(44, r.level);           // plateau_level
    ex.Real(45, r.slope);           // plateau_slope
    ex.Real(46, r.cutAngle);        // plateau_cut_angle
    ex.Real(47, r.fillAngle);       // plateau_fill_angle
    ex.Real(48, r.cutExtension);    // plateau_cut_extension
    ex.Real(49, r.fillExtension);   // plateau_fill_extension
    ex.Short(50, r.resolution);     // plateau_resolution
    ex.Short(51, r.levelMaterial);  // plateau_top_mat
    ex.Short(52, r.cutMaterial);    // plateau_cut_mat
    ex.Short(53, r.fillMaterial);   // plateau_fill_mat
    ex.Short(54, r.show2D);         // plateau_show_2D
    ex.Short(55, r.pen2D);          // plateau_2d_pen
    ex.Short(56, r.pen3D);          // plateau_3d_pen
    ex.Text(57, r.name);            // plateau_ID
    if (!ex.Writing()) ReadObstacleDisplay(ex, r.obstacleShow2D, r.obstaclePen, r.obstacleLineType);
    return ex.Finish(s.plateau, r);
}

bool Road(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    RoadData r = s.road;
    ex.Real(69, r.leftCutAngle);    // road_left_cut_angle
    ex.Real(70, r.leftFillAngle);   // road_left_fill_angle
    ex.Real(71, r.rightCutAngle);   // road_rigth_cut_angle
    ex.Real(72, r.rightFillAngle);  // road_rigth_fill_angle
    ex.Real(73, r.cutExtension);    // road_cut_extension
    ex.Real(74, r.fillExtension);   // road_fill_extension
    ex.Short(75, r.resolution);     // road_resolution
    ex.Short(76, r.levelMaterial);  // road_mat
    ex.Short(77, r.cutMaterial);    // road_cut_mat
    ex.Short(78, r.fillMaterial);   // road_fill_mat
    ex.Short(79, r.show2D);         // road_show_2d
    ex.Short(80, r.pen2D);          // road_2d_pen
    ex.Short(81, r.pen);            // road_3d_pen
    ex.Text(82, r.name);            // road_ID
    if (!ex.Writing()) ReadObstacleDisplay(ex, r.obstacleShow2D, r.obstaclePen, r.obstacleLineType);
    return ex.Finish(s.road, r);
}

bool RoadSection(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    SectionSettings r = s.section;
    ex.Real(83, r.bottomLevel);        // road_sect_bot_level
    ex.Short(84, r.straightPen);       // road_sect_straigth_pen
    ex.Short(85, r.curvePen);          // road_sect_curve_pen
    ex.Short(86, r.terrainPen);        // road_sect_terrain_pen
    ex.Short(87, r.dividerLineType);   // road_sect_leading_linetype
    ex.Short(88, r.dividerPen);        // road_sect_leading_pen
    ex.Short(89, r.straightLineType);  // road_sect_grid_linetype
    ex.Short(90, r.linePen);           // road_sect_grid_pen
    ex.Text(91, r.font);               // road_sect_text
    ex.Real(92, r.textSize);           // road_sect_text_size
    ex.Short(93, r.textPen);           // road_sect_text_pen
    ex.Short(94, r.showPlan);          // road_sect_show_plan
    ex.Short(95, r.showLeft);          // road_sect_show_left
    ex.Short(96, r.flipLeft);          // road_sect_flip_left
    ex.Short(97, r.showRight);         // road_sect_show_rigth
    ex.Short(98, r.flipRight);         // road_sect_flip_rigth
    return ex.Finish(s.section, r);
}

bool Sidewalk(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    SidewalkSettings r = s.sidewalk;
    ex.Real(59, r.thickness);       // sidewalk_thickness
    ex.Short(60, r.resolution);     // sidewalk_resolution
    ex.Short(61, r.levelMaterial);  // sidewalk_mat
    ex.Short(62, r.cutMaterial);    // sidewalk_cut_mat
    ex.Short(63, r.fillMaterial);   // sidewalk_fill_mat
    ex.Short(64, r.show2D);         // sidewalk_show_2d
    ex.Short(65, r.pen2D);          // sidewalk_2d_pen
    ex.Short(66, r.pen);            // sidewalk_3d_pen
    ex.Text(67, r.name);            // sidewalk_ID
    return ex.Finish(s.sidewalk, r);
}

bool Basin(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    BasinSettings r = s.basin;
    ex.Short(99, r.levelMaterial);       // basin_mat
    ex.Short(100, r.pen3D);              // basin_3d_pen
    ex.Short(101, r.pen2D);              // basin_2d_pen
    ex.Short(102, r.attribute);          // basin_linetype
    ex.Short(103, r.fill);               // basin_fill
    ex.Short(104, r.fillPen);            // basin_fill_pen
    ex.Short(105, r.fillBackgroundPen);  // basin_bkg_pen
    ex.Text(106, r.name);                // basin_ID
    return ex.Finish(s.basin, r);
}

bool Building(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    BuildingSettings r = s.building;
    ex.Short(107, r.showRoof);           // building_show_roof
    ex.Real(108, r.roofAngle);           // building_roof_angle
    ex.Short(109, r.resolution);         // building_resolution
    ex.Short(110, r.material);           // building_mat
    ex.Short(111, r.roofMaterial);       // building_roof_mat
    ex.Short(112, r.pen2D);              // building_2D_pen
    ex.Short(113, r.pen3D);              // building_3D_pen
    ex.Short(114, r.fill);               // building_fill
    ex.Short(115, r.fillPen);            // building_fill_pen
    ex.Short(116, r.fillBackgroundPen);  // building_fill_bkg_pen
    ex.Text(117, r.name);                // building_ID
    return ex.Finish(s.building, r);
}

bool ColouredArea(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    PaintSettings r = s.paint;
    ex.Short(118, r.show2D);      // paint_show_2d
    ex.Short(119, r.showName);    // paint_show_ID
    ex.Real(120, r.offset);       // paint_distance
    ex.Short(121, r.resolution);  // paint_resolution
    ex.Text(122, r.name);         // paint_ID
    return ex.Finish(s.paint, r);
}

bool Wall(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    WallData r = s.wall;
    ex.Real(124, r.height);              // VYwall_heigth
    ex.Real(125, r.thickness);           // VYwall_thickness
    ex.Short(126, r.pen3D);              // VYwall_3d_pen
    ex.Short(127, r.resolution);         // VYwall_resolution
    ex.Short(128, r.material);           // VYwall_material
    ex.Short(129, r.pen2D);              // VYwall_2d_pen
    ex.Short(130, r.fill);               // VYwall_fill
    ex.Short(131, r.fillPen);            // VYwall_fill_pen
    ex.Short(132, r.fillBackgroundPen);  // VYwall_bkg_pen
    ex.Text(133, r.name);                // VYwall_ID
    return ex.Finish(s.wall, r);
}

bool RetainingWall(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    RetainerWallSettings r = s.retainingWall;
    ex.Real(171, r.height);              // retaining_heigth
    ex.Real(173, r.leftAngle);           // retaining_left_angle
    ex.Real(174, r.rightAngle);          // retaining_rigth_angle
    ex.Short(175, r.pen);                // retaining_3d_pen
    ex.Short(176, r.resolution);         // retaining_resolution
    ex.Short(177, r.material);           // retaining_material
    ex.Short(178, r.pen2D);              // retaining_2d_pen
    ex.Short(179, r.fill);               // retaining_fill
    ex.Short(180, r.fillPen);            // retaining_fill_pen
    ex.Short(181, r.fillBackgroundPen);  // retaining_bkg_pen
    ex.Text(182, r.name);                // retaining_ID
    return ex.Finish(s.retainingWall, r);
}

bool Markers(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    SpotHeightSettings r = s.marker;
    ex.Short(183, r.symbol);       // level_type
    ex.Real(184, r.size);          // level_size
    ex.Real(185, r.textAngle);     // level_angle
    ex.Short(186, r.markerPen);    // level_marker_pen
    ex.Short(187, r.textPen);      // level_text_pen
    ex.Text(188, r.font);          // level_font
    ex.Real(189, r.textSize);      // level_text_size
    ex.Short(190, r.italic);       // level_italic
    ex.Short(191, r.showLevel);    // level_show_level
    ex.Short(192, r.showCode);     // level_show_code
    ex.Short(193, r.showComment);  // level_show_comment
    return ex.Finish(s.marker, r);
}

bool SlopeRange(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    SlopeRangeSettings r = s.slopeRange;
    for (int32_t k = 0; k < 6; ++k) ex.Short(194 + k, r.limits[k]);   // slopeRange_P_range_1 to _6
    for (int32_t k = 0; k < 7; ++k) ex.Short(200 + k, r.colours[k]);  // slopeRange_color_1 to _7
    for (int32_t k = 0; k < 3; ++k) ex.Text(207 + k, r.texts[k]);     // slopeRange_text_A to _C
    ex.Text(210, r.font);                                             // slopeRange_font_family
    ex.Real(211, r.size);                                             // slopeRange_size
    ex.Short(212, r.textPen);                                         // slopeRange_penna_testo
    ex.Short(213, r.framePen);                                        // slopeRange_penna_frame
    return ex.Finish(s.slopeRange, r);
}

bool Bridge(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    BridgeSettings r = s.bridge;
    ex.Real(134, r.thickness);               // VYbridge_thickness
    ex.Real(135, r.roadWidth);               // VYbridge_width
    ex.Short(136, r.pen3D);                  // VYbridge_3d_pen
    ex.Short(137, r.bridgeMaterial);         // VYbridge_material
    ex.Short(138, r.roadMaterial);           // VYbridge_material_road
    ex.Short(139, r.sidewalkMaterial);       // VYbridge_material_sidewalk
    ex.Short(140, r.pen2D);                  // VYbridge_2d_pen
    ex.Short(141, r.fill);                   // VYbridge_fill
    ex.Short(142, r.fillPen);                // VYbridge_fill_pen
    ex.Short(143, r.fillBackgroundPen);      // VYbridge_bkg_pen
    ex.Text(144, r.name);                    // VYbridge_ID
    ex.Short(145, r.sidewalkLeft);           // VYbridge_border_left
    ex.Short(146, r.sidewalkRight);          // VYbridge_border_right
    ex.Real(147, r.sidewalkWidthLeft);       // VYbridge_border_width_left
    ex.Real(148, r.sidewalkWidthRight);      // VYbridge_border_width_right
    ex.Real(149, r.sidewalkThicknessLeft);   // VYbridge_border_thick_left
    ex.Real(150, r.sidewalkThicknessRight);  // VYbridge_border_thick_right
    ex.Short(151, r.railingLeft);            // VYbridge_railing_left
    ex.Short(152, r.railingRight);           // VYbridge_railing_right
    return ex.Finish(s.bridge, r);
}

// 153 "railway_width" belongs to no section: the railway takes the general record's road width.
bool Railway(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    RailwaySettings r = s.railway;
    ex.Real(154, r.leftCutAngle);    // railway_left_cut_angle
    ex.Real(155, r.leftFillAngle);   // railway_left_fill_angle
    ex.Real(156, r.rightCutAngle);   // railway_right_cut_angle
    ex.Real(157, r.rightFillAngle);  // railway_right_fill_angle
    ex.Real(158, r.cutExtension);    // railway_cut_extension
    ex.Real(159, r.fillExtension);   // railway_fill_extension
    ex.Short(160, r.resolution);     // railway_resolution
    ex.Short(161, r.levelMaterial);  // railway_mat
    ex.Short(162, r.cutMaterial);    // railway_cut_mat
    ex.Short(163, r.fillMaterial);   // railway_fill_mat
    ex.Short(164, r.show2D);         // railway_show_2d
    ex.Short(165, r.pen2D);          // railway_2d_pen
    ex.Short(166, r.pen);            // railway_3d_pen
    ex.Text(167, r.name);            // railway_ID
    if (!ex.Writing()) ReadObstacleDisplay(ex, r.obstacleShow2D, r.obstaclePen, r.obstacleLineType);
    return ex.Finish(s.railway, r);
}

bool General(PrefsView& view, Settings& s, int32_t direction) {
    SectionExchange ex(view, direction);
    MiscSettings r = s.misc;
    ex.Real(58, r.sidewalkWidth);        // sidewalk_width
    ex.Real(68, r.roadWidth);            // road_width
    ex.Short(123, r.paintMaterial);      // paint_mat
    ex.Short(168, r.obstacleShow2D);     // obstacle_show_2d
    ex.Short(169, r.obstaclePen);        // obstacle_2d_pen
    ex.Short(170, r.obstacleLineType);   // obstacle_line_type
    ex.Real(172, r.retainingThickness);  // retaining_thickness
    ex.Short(214, r.deleteFlag);         // Quorra30_delete
    ex.Real(215, r.cameraValue);         // Quorra30_camera
    return ex.Finish(s.misc, r);
}

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
