#pragma once
// The spot heights: a point marker ("VY_POINT_MARKER") listing the current story's terrain points, level markers
// ("VY_LEVEL_MARKER") at points clicked on the terrain, and spot-height grids over the terrain's box (a level
// marker whose "matrice" is 1, MarkerGrid.cpp).
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "geometry/QV_Poly.hpp"
#include "settings/SpotHeightSettings.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

constexpr int32_t MarkerFieldCount = SpotHeightSettings::FieldCount;
// The height of a grid node off the terrain, or whose height cannot be found.
constexpr double NoSpotHeight = -9999999999.0;
// The most nodes a grid can hold: its heights are one list and one array parameter, both counted in 32 bits.
// More cannot be kept in memory at all; any number up to it is shown to the user, who decides.
constexpr int64_t MaxGridNodes = INT32_MAX;

// What one run of the spot height settings dialog (both layouts) works on.
struct MarkerDialogState {
    SpotHeightSettings record;               // the owner's; written (and flagged) only by OK
    uint8_t changed[MarkerFieldCount] = {};  // per field id, set by OK
    uint8_t levelMarker = 0;                 // placing a level marker: the grid may be chosen
    uint8_t editing = 0;
    uint8_t pointMarkersOnly = 0;  // editing point markers alone: the text content is theirs to change
};

class SiteObjectDialogs;

// A grid laid out from a reference point over a box: the start lies strictly left of and below the box, the last
// column and row strictly beyond it.
struct GridExtent {
    double x0 = 0.0;
    double y0 = 0.0;
    int32_t nx = 1;
    int32_t ny = 1;
};
enum class GridLayout : uint8_t {
    Laid,
    BadStep,       // a step of 0 or below, or a reference that is no number: the layout would never end
    TooManyNodes,  // more than MaxGridNodes: the grid cannot be held in memory
};
// `extent` is set only when the grid was laid out.
GridLayout ComputeGridExtent(double refX, double refY, double stepX, double stepY, const API_Box3D& box,
                             GridExtent& extent);

// The text a point marker shows for a terrain point's code: the name's prefix, a blank when it has one, and the
// number as five digits.
QV_String PointMarkerCode(const QV_String& prefix, int32_t number);

class MarkerCls : public BaseCls {
public:
    // The record at its defaults, its texts in `font` (the marker defaults'; "Arial" when they name none).
    explicit MarkerCls(const QV_String& font);

    // Each answers the code for ShowErrorMessage (0: nothing to show). The settings dialog and the grid's question
    // are asked through `dialogs` (siteobjects/SiteObjectDialogs).
    int32_t PlacePointMarker(Settings& store, SiteObjectDialogs& dialogs);
    int32_t PlaceLevelMarker(Settings& store, SiteObjectDialogs& dialogs, const API_Element& terrain);
    int32_t ModifySelected(SiteObjectDialogs& dialogs, const QV_List<API_Element>& levelMarkers,
                           const QV_List<API_Element>& pointMarkers);
    // Recomputes a level marker (single or grid) over the terrain ("Data update").
    int32_t Rebuild(SiteObjectDialogs& dialogs, const API_Element& terrain, const API_Element& marker);

    // Confirmed: settings and changed flags taken over.
    DialogAnswer RunSettingsDialog(SiteObjectDialogs& dialogs, SettingsMode mode, bool levelMarker, bool editing,
                                   bool pointMarkersOnly);
    bool LoadFromSelection(const QV_List<API_Element>& levelMarkers, const QV_List<API_Element>& pointMarkers);
    bool ApplyToSelection(QV_List<API_Element>& levelMarkers, QV_List<API_Element>& pointMarkers);
    int32_t RunSingleLevelMarkers();
    bool CreateLevelMarkerObject();
    bool CreatePointMarkerObject(int16_t story);
    // The grid (MarkerGrid.cpp).
    int32_t RunSpotHeightGrid(SiteObjectDialogs& dialogs);
    // Lays out the grid from the reference point and asks whether to go on, showing the node count; false for
    // "No" and, before any question, for steps the grid cannot take (gridError 43) or a grid too large to hold
    // (gridError 1).
    bool ComputeGridExtent(SiteObjectDialogs& dialogs);
    // Every node's height, row by row from the bottom; false when the user stops the pass, or when the heights
    // cannot be held (gridError 1).
    bool SampleGridHeights();
    bool CreateGridObject();
    // 0, or 43 when a step failed.
    int32_t RebuildBody(SiteObjectDialogs& dialogs, const API_Element& marker);

    SpotHeightSettings settings;
    uint8_t changed[MarkerFieldCount];
    API_Coord point = {0.0, 0.0};  // the clicked point, or a grid's reference point
    double pointZ = 0.0;
    QV_List<API_Coord3D> pointCoords;
    QV_List<QV_String> pointCodes;
    QV_List<QV_String> pointComments;
    GridExtent grid;
    QV_List<double> gridHeights;
    int32_t gridError = 0;  // why the grid was refused before or while it was computed; 0 for the user's own stop
    QV_Poly outline;        // the terrain's
    int32_t pointMarkerPart = -1;
    int32_t levelMarkerPart = -1;
};

// The Spot heights command, asking the user through `dialogs`.
void RunMarker(Settings& settings, SiteObjectDialogs& dialogs);
