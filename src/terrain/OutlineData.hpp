#pragma once
// Terrain outlines: the boundary the terrain is built in, a hatch carrying the element data record of kind 3.
// The user draws an approximate path (by clicks, or as a plain hatch); the outline runs through the terrain points
// found in a corridor around it. This is the working object of one outline command.
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/OutlineSettings.hpp"
#include "terrain/OutlineCorridor.hpp"

#include "APIElements.hpp"

#include <cstdint>
#include <functional>
#include <vector>

class Settings;

class TerrainInputDialogs;

// A terrain point's place in the plan and its hotspot's story.
struct TerrainPlace {
    API_Coord pos;
    int16_t story;
};

struct OutlineData {
    // The commands ask their settings and whether to keep an existing outline through `dialogs`.
    OutlineData(Settings& store, TerrainInputDialogs& dialogs);

    // The commands' three ways; each answers a message code (0 nothing to show).
    // By clicks: 0, 11, 12, 14, 15 (the path or the outline found crosses itself), 16 or 43.
    int32_t CommandByClicks();
    // From the selected plain hatch: 0, 15, 16 or 43.
    int32_t CommandFromHatch(const API_Elem_Head& hatch);
    // The selected outline again, through the points still standing on its vertices: 0, 16 or 43.
    int32_t CommandModify(const API_Elem_Head& outline);

    // The corridor half-width: the diagonal of the terrain points' box over 25, 2.0 without points.
    void EstimateCorridorWidth();
    // The terrain points' places, read once per command (no step of it moves a hotspot); null when the host
    // cannot list or read them.
    const std::vector<TerrainPlace>* TerrainPlaces();
    // The settings from a host element (pens and fill of a hatch, layer, ID text); nothing when it cannot be read.
    void ReadSettingsFromElement(const API_Elem_Head& element);
    // "Outline settings"; confirmed, the half-width becomes half the width entered.
    DialogAnswer RunSettingsDialog(bool typeSelectable, bool lockCorridor, SettingsMode mode);
    // The path by clicks; false with `error` 0 (cancel), 11, 12 or 14 when none was given.
    bool InputOutlineNodes(int32_t& error);
    // The corridor search over the current story's terrain points and the hatch through the nodes found; the
    // source hatch, when given, is deleted once the outline stands. 0, 15 (the nodes cross), 16 or 43.
    int32_t CreateOutline(const API_Elem_Head* source);
    // The hatch through `nodes` with the settings and its kind-3 record; 0 or 43.
    int32_t CreateOutlineHatch();

    Settings& store;  // the defaults
    TerrainInputDialogs& dialogs;
    OutlineSettings settings;
    API_Elem_Head head;
    uint16_t outlineType;  // 1 polygonal, 0 rectangular
    double corridorHalfWidth;
    double searchAngle;
    PlanPoints path;
    PlanPoints side0, side1;
    std::vector<int16_t> index0, index1;
    PlanPoints found;
    PlanPoints nodes;
    std::vector<TerrainPlace> places;
    int8_t placesRead = 0;  // 0 not yet, 1 read, -1 the read failed
};

// The plan positions of the terrain points (hotspots with a readable kind-1 record) on the current story (the
// story of the hotspot element). `perHotspot`, when given, is called once for each listed hotspot.
// False (`out` empty) when the points or the current story could not be read.
bool TerrainPointsOfCurrentStory(PlanPoints& out, const std::function<void()>& perHotspot = nullptr);
// The same from places already read (null: none could be read).
bool TerrainPointsOfCurrentStory(const std::vector<TerrainPlace>* places, PlanPoints& out,
                                 const std::function<void()>& perHotspot = nullptr);
