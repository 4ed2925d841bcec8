#pragma once
// The plateau's element class: a level or sloped platform dug into and banked onto the terrain along the outline of
// a hatch, placed as three linked objects of "VY_PLATEAU" or "VY_SLOPED_PLATEAU" (cut, fill, result). The library
// parts' scripts draw the embankment; this class writes what they need and keeps it in step.
#include "elements/BaseCls.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "earthworks/PlateauDialogState.hpp"

#include "APICoord.hpp"
#include "APIElements.hpp"

#include <cstdint>

class Settings;

class ContourLineRefresh;
class EarthworkDialogs;

// The direction of the vector from `from` to `to` in [0, 2*pi); 0 for a vector shorter than `eps` in both axes.
double VectorAngle(const API_Coord& from, const API_Coord& to, double eps);

class DiggingCls : public BaseCls {
public:
    DiggingCls();

    // The operations that ask the user take the dialogs to ask with (earthworks/EarthworkDialogs).
    // One plateau on the hatch (0, 28 or 43; 0 also when cancelled or a library part is missing).
    int32_t CreateFromPolygon(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                              const API_Element& hatch, const API_Element& terrain);
    // One plateau per hatch in one undo step; a failing hatch stops the walk and keeps those done (0, 28, 43).
    int32_t Create(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                   const QV_List<API_Element>& hatches, const API_Element& terrain);
    // The global plateau defaults through the dialog; nothing in the model changes. Answers 0.
    int32_t EditDefaults(Settings& store, EarthworkDialogs& dialogs);
    // The dialog's changed fields onto every picked plateau object, one undo step. 0, 42 or 43.
    int32_t ModifySelected(EarthworkDialogs& dialogs, const QV_List<API_Element>& plateaus);
    // Data update of one plateau object: its terrain data read again through its link. 0, 42 or 43.
    int32_t Rebuild(ContourLineRefresh& contours, const API_Element& object);

    // Both layouts, first the first. Confirmed: settings, flags, direction and its flag taken.
    DialogAnswer RunSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode, double& direction,
                                   uint8_t& directionChanged, bool lockSloped, bool allSloped);
    // A new plateau's settings from the defaults through the dialog, stored as the defaults, and for a sloped one
    // its slope line. False to stop, with `stopCode` 0 when the user cancelled, else the error to show.
    bool AskNewPlateau(Settings& store, EarthworkDialogs& dialogs, int32_t& stopCode);
    // The slope line by two clicks; false when not given, `failed` set unless the user cancelled.
    bool InputSlopeLine(bool& failed);
    // The terrain's heights under each outline vertex (points3D) and its level range.
    bool CreateElementBodyFromMesh();
    // Whether the plateau of the settings on the outline in points3D has a body to build; when it has none the
    // refusal is shown.
    bool AcceptsBody();
    // The three objects of the plateau built from the read terrain and outline, linked to the terrain: Done;
    // KeepSoFar when the three stand and their links fail; Failed, nothing of them left, before that.
    CommandEnd BuildObjects();
    bool WritePlateauObject(API_Element& object, API_ElementMemo& memo, bool sloped, int32_t layer,
                            const QV_String& role);
    bool StoreLinkRecords(const API_Element& cut, const API_Element& fill, const API_Element& result);
    bool ReadFromObject(const API_Element& object);
    bool ApplyToSelected(QV_List<API_Element>& plateaus, bool sloped);
    // Done; KeepSoFar when the picked object was rewritten before its partners failed; Failed when it was not.
    CommandEnd RebuildObject(const API_Element& object);

    PlateauSettings settings;
    uint8_t changed[PlateauFieldCount];
    double slopeOriginX;  // world until the objects are built, then relative to the plateau origin
    double slopeOriginY;
    double slopeDirection;  // radians, [0, 2*pi)
    uint8_t slopeDirectionChanged;
};

// The library indices of "VY_PLATEAU" and "VY_SLOPED_PLATEAU", kept between commands.
extern int32_t PlateauLibIndex;
extern int32_t SlopedPlateauLibIndex;
