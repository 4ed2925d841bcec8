#pragma once
// Terrain constraints: break lines of the terrain, drawn as host lines between two terrain points and marked by
// the element data record of kind 2. The input draws chains of them between points, the edit changes pen, line
// type and layer of selected ones, and three upkeep passes keep them on their points and uncrossed after edits.
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/ConstraintSettings.hpp"

#include "APIElements.hpp"

#include <cstdint>
#include <vector>

class Settings;

class TerrainInputDialogs;

class ConstraintInput {
public:
    // The input asks its settings and resets the tool palette through `dialogs`.
    ConstraintInput(Settings& store, TerrainInputDialogs& dialogs);

    // The chain input; 0, 12, 13, 42, or 43 when the host refused a constraint (the input then ends: the chain
    // cannot go on from a line that is not there). The element-written flag stays raised only when something
    // was placed.
    int32_t Create();
    // Changes the flagged attributes of the selected constraints; 0 (also on cancel or nothing changed) or 43.
    int32_t Modify(const QV_List<API_Element>& constraints);
    // The constraint settings dialog on the record; confirmed, fields and flags are taken back.
    DialogAnswer EditSettings(SettingsMode mode);
    // One constraint of the chain: the start (unless the chain goes on from `start`) and the end, both on
    // terrain points. False when the input is over: `error` 0 for a cancel or a closed chain, else 12 or 13.
    bool InputStep(API_Coord& start, API_Coord& end, bool continueChain, int32_t& error);
    // Places one constraint on the current story; true when its record was stored.
    bool CreateOne(const API_Coord& begin, const API_Coord& end);

    // Upkeep after the user's edits. A: constraints among `heads` that lost a point at either end are deleted.
    // B: an end dragged off its point goes back to where it was. C: of two crossing constraints the later one
    // goes. A and C work in the floor plan only. Each answers false when the host failed it (B also for an
    // edited constraint whose element before the edit the host could not give).
    static bool RefreshOnUpdateA(const QV_List<API_Elem_Head>& heads);
    static bool RefreshOnUpdateB(const QV_List<API_Elem_Head>& heads, const QV_List<API_Element>& parents);
    static bool RefreshOnUpdateC();
    // The constraints C deletes, by index into `constraints`, in the order it deletes them.
    static std::vector<int32_t> CrossedConstraints(const QV_List<API_Element>& constraints);

    ConstraintSettings settings;
    ConstraintSettings::Changed changed;  // pen, line type, layer

private:
    Settings& store_;  // the defaults
    TerrainInputDialogs& dialogs_;
};

// The crossing rule of the upkeep: the segments' parameters from the determinant form; parallel pairs
// (|d| < 1e-5) never cross. Touching at an end counts as crossing here; callers skip pairs that share an end.
bool ConstraintsCross(const API_Coord& a1, const API_Coord& a2, const API_Coord& b1, const API_Coord& b2);
