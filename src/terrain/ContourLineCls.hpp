#pragma once
// The contour-line tool: one "VY_CONTOURLINES" object per terrain, linked to it by the terrain's GUID text in the
// object's element data record; its settings are written into the object's parameters, whose script draws the
// lines. The class lives for one command. It also turns drawn contour lines into terrain input (points and
// constraints at one altitude) and regenerates the object after the terrain changed.
#include "elements/BaseCls.hpp"
#include "elements/CalculationVolume.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "geometry/project/CurveDivision.hpp"
#include "settings/ContourAltitudeSettings.hpp"
#include "settings/ContourLineSettings.hpp"
#include "settings/PointSettings.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

class TerrainDialogs;

constexpr int32_t ContourFieldCount = ContourLineSettings::FieldCount;
constexpr int32_t ContourAltitudeFlagCount = 5;

// Apply flags of the single-altitude record, in their order.
enum ContourAltitudeFlag : int32_t {
    ApplyAltitude = 0,
    ApplyPointPen = 1,
    ApplyConstraintPen = 2,
    ApplyConstraintLineType = 3,
    ApplyLayer = 4,
};

// Display modes of a placed object (CreateObject's mode argument).
enum ContourObjectMode : int16_t {
    ContourMode_Lines = 0,     // "contour_line" = 1: a new object for a terrain
    ContourMode_Gradient = 1,  // "gradiente" = the given value: the terrain tool's first object
    ContourMode_Slopes = 2,    // "scarpate" = 1: regenerated after an earthwork changed the terrain
};

class ContourLineCls : public BaseCls {
public:
    ContourLineCls();
    ~ContourLineCls() override;

    // The "CL" command's branch for a terrain of the project: a new object when none is linked, else the
    // dialog's edits into every linked object. 0, or 43 when the terrain or an object cannot be read or written.
    int32_t CreateFromTerrain(Settings& store, TerrainDialogs& dialogs, const API_Element& terrain);
    // The tool's defaults through the settings dialog.
    int32_t EditSettings(Settings& store, TerrainDialogs& dialogs);
    // The first linked object's settings into the class record (a copy of `defaults` when none is linked).
    bool ReadObjectSettings(const ContourLineSettings& defaults, bool& showsContourLines, bool withGradient,
                            uint16_t& outGradient);
    // Every placed object whose record names the class's terrain (by its GUID text, exactly).
    bool CollectLinkedObjects(bool& anyLinked);
    // The flagged fields into every linked object, layer and line type through the element mask.
    int32_t UpdateLinkedObjects(bool contourFlag, bool afterTerrainChange, uint16_t newGradient, bool gradientChanged);

    bool CreateObject(const QV_String& partName, int16_t mode, uint16_t gradientValue, void* volumes,
                      API_Element* existing) override;
    // Carries the old object's unmanaged parameters into the new one (with `replace`), then deletes the old
    // objects.
    bool TransferSettings(bool replace, bool skipVolumes) override;

    // --- regeneration after a terrain change (ContourLineRegeneration.cpp)
    // Replaces the terrain's object by a new one that keeps the old one's placement and unmanaged parameters.
    // 0 when the library part is missing; 43 when the terrain or an object cannot be read or placed.
    int32_t Regenerate(const ContourLineSettings& defaults, const API_Element& terrain,
                       QV_List<CalculationVolume>* volumes);
    // The first linked object's settings and gradient; 0 when the part is not loaded, ErrFindingData when the
    // host refused its search, 43 when the terrain or an object cannot be read.
    int32_t ReadForTerrainUpdate(const ContourLineSettings& defaults, const API_Element& terrain);
    int32_t CreateGradientObject();
    int32_t UpdateAfterTerrainChange();
    int32_t RefreshForNewTerrain(const API_Element& terrain);
    // The model update's pass over the updated elements: copied contour objects lose their part name and go.
    static bool RefreshOnUpdate(const QV_List<API_Elem_Head>& heads);

    // --- drawn contour lines into terrain input (ContourLineInput.cpp)
    int32_t DigitizeContour(Settings& store, TerrainDialogs& dialogs, QV_List<PlanSegment>& segments,
                            const QV_List<API_Elem_Head>& sources);
    // The points take `points`' code and text and advance its number.
    int32_t BuildConstraintsFromSegments(const QV_List<PlanSegment>& segments, PointSettings& points);
    bool CreateContourPoint(PointSettings& points, const API_Element& hotspotDefaults, const API_Coord& position);
    int32_t SetAltitudeOfSelection(Settings& store, TerrainDialogs& dialogs, const QV_List<API_Element>& points,
                                   const QV_List<API_Element>& constraints);
    bool ApplyAltitudeToSelection(const QV_List<API_Element>& points, const QV_List<API_Element>& constraints);
    // The single-altitude dialog; confirmed, the altitude and its apply flags are taken.
    DialogAnswer EditAltitude(TerrainDialogs& dialogs, SettingsMode mode);

    ContourLineSettings settings;             // the record the dialog edits
    uint8_t changed[ContourFieldCount];       // per field id, set by the dialog
    QV_List<API_Element> linked;              // objects linked to the terrain, in the host's order
    uint16_t gradient;                        // "gradiente" of the first linked object
    uint16_t previousGradient;                // the same before the terrain dialog
    uint16_t contourLineFlag;                 // "contour_line" of the first linked object
    ContourAltitudeSettings altitude;         // the single-altitude record
    uint8_t apply[ContourAltitudeFlagCount];  // its apply flags
    QV_List<API_Element> made;                // elements made by BuildConstraintsFromSegments, lines first

private:
    // The part, asked for when missing; false (the user told) when it is not found or the search was refused.
    bool FindLibPart();
    // Confirmed: settings and changed flags taken.
    DialogAnswer RunSettingsDialog(TerrainDialogs& dialogs, bool useTerrainRange, SettingsMode mode);
    bool WriteObjectParams(API_ElementMemo& memo, const QV_String& partName, int16_t mode, uint16_t gradientValue,
                           QV_List<CalculationVolume>* volumes);
};

// The shared host wrappers of the terrain and earthwork tools.
// Attaches the host's element observer to a new element (no flags).
GSErrCode HostCallWithElementGuid(const API_Element& element);
// The parameters of every listed element from `defaults`, for the fields marked in `mask`.
GSErrCode ChangeElementsParameters(const QV_List<API_Element>& elements, const API_Element& defaults,
                                   const API_Element& mask);
