#pragma once
// The road's element class: three linked objects of "VY_ROAD" (cut, fill, result) built along a polyline or on the
// strip of a fill, their settings edited through the road settings dialog in its two layouts.
#include "elements/BaseCls.hpp"
#include "elements/WholeCommand.hpp"
#include "earthworks/TwinDialogOptions.hpp"
#include "earthworks/RoadDialogState.hpp"
#include "settings/MiscSettings.hpp"
#include "elements/BaseLP.hpp"
#include "foundation/QV_String.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"

#include "GSArray.hpp"

#include <cstdint>

class Settings;

// One solid-operation link of the terrain mesh, as the rebuild records it.
struct RoadOperData {
    API_Guid operatorGuid;
    uint32_t linkTime;
    uint32_t linkSubTime;
    uint32_t operation;
    uint32_t linkFlags;
    uint8_t own;  // 1: one of the road's own three objects
};

class ContourLineRefresh;
class EarthworkDialogs;
class RoadLP;

class RoadCls : public BaseRSWCls {
public:
    RoadCls();

    // Where the road differs from the railway in the steps they share (earthworks/RoadTwin).
    using SettingsRecord = RoadSettings;
    using View = RoadLP;
    static constexpr const char* PartName = "VY_ROAD";
    static constexpr int32_t Kind = ElemKind_Road;
    static constexpr int16_t LayerField = RoadSettings::Id::layer;
    static constexpr int16_t NameField = RoadSettings::Id::name;
    static constexpr int16_t PenField = RoadSettings::Id::pen;
    static constexpr int16_t MiscSettings::*ReferenceLine = &MiscSettings::roadReferenceLine;
    static constexpr uint32_t EditOptions = TwinDialog::Editing;
    static RoadSettings& Defaults(Settings& store);
    int32_t& PartIndex() { return roadLibIndex; }
    // "IDoriginal" -1: a new road has no original.
    static bool WriteNoOriginal(RoadLP& view);

    // The operations that ask the user take the dialogs to ask with (earthworks/EarthworkDialogs).
    // 0 when done, cancelled or "VY_ROAD" is missing; 43 when the terrain or input cannot be read or placing fails.
    int32_t CreateOnFill(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                         const API_Element& fill, const API_Element& terrain);
    int32_t CreateAlongPolyline(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                                const API_Element& polyline, const API_Element& terrain);
    // The dialog's changed fields onto every road object of the list, one undo step. 0 or 43 (42 when the plan
    // database cannot be reached from the 3D window).
    int32_t ModifySelected(const Settings& store, EarthworkDialogs& dialogs, const QV_List<API_Element>& roads);
    // The road tool's defaults (`store`'s road record) through the dialog, the reference-line choice
    // enabled; OK stores them and shares the retaining-structure display with the other earthworks. Answers 0.
    int32_t EditDefaults(Settings& store, EarthworkDialogs& dialogs);

    // The dialog in its two layouts on `settings`: the first layout, then the other at each switch for as long
    // as the user switches. Confirmed: settings and flags taken over. `useDefaultWidth` shows the general road
    // width (`misc`'s) (else 0.1) and lets OK write it; `editing` locks it.
    DialogAnswer RunSettingsDialog(const MiscSettings& misc, EarthworkDialogs& dialogs, SettingsMode mode,
                                   bool enablePosition, bool useDefaultWidth, bool editing);
    // The same with the options as a bit set (earthworks/RoadTwin: TwinDialog).
    DialogAnswer RunSettingsDialog(const MiscSettings& misc, EarthworkDialogs& dialogs, SettingsMode mode,
                                   uint32_t options);

    // The left and right edges (chainA, chainB) tessellated into left3D and right3D with the terrain's heights.
    bool DrapeEdges();
    // Subtracts the origin from both edges and both 3D edges.
    void TranslateAll(const API_Coord& origin);
    // Places the cut, fill and result objects and links them with the terrain (inside the caller's undoable
    // command), as PlaceEarthworkSet answers.
    CommandEnd BuildObjects();
    bool ReadSettingsFromObject(const QV_List<API_Element>& roads);

    // Drapes the road object's edges again on a temporary copy of its terrain that carries the operators linked
    // to the terrain before the road's own objects, and hands the new edges to its sections. 0, 42 or 43.
    int32_t RebuildFromObject(ContourLineRefresh& contours, const API_Element& object);
    // The same inside the caller's undoable command, without the contour lines; `terrain` receives the road's
    // terrain for them. The floor plan is left in front. 0, 42 or 43.
    int32_t RebuildInCommand(const API_Element& object, API_Element& terrain);
    // The road object's partners and terrain, and the terrain's operators. 0 or 43.
    int32_t ReadRebuildLinks(const API_Element& object, API_Guid links[3], API_Element& terrain);
    // Done; KeepSoFar when the road was rewritten before a later step failed; Failed when nothing was.
    CommandEnd RebuildCore(API_Element& object, const API_Guid links[3], const API_Element& terrain);
    // Records the links of `operators` (link order) with the own flag; always true.
    bool CollectTerrainOperators(const API_Guid& terrainGuid, const API_Guid links[3]);
    // By link time, then sub-time.
    void SortOperData();
    // The terrain's mesh copied (its own GUID) with the recorded operators before the first own one linked to it,
    // and a terrain record; `copyMade` tells whether a copy exists to be deleted.
    bool CopyTerrainWithEarlierOperators(const API_Element& terrain, bool& copyMade);
    // The road's edges into the road-section objects drawn from `object` in the current database.
    bool UpdateLinkedSectionsInPlan(const API_Element& object);
    // The same in the database of every section marker, the plan's current again at the end.
    bool UpdateLinkedSectionsInSections(const API_Element& object);
    bool ApplyToSelected(QV_List<API_Element>& roads);

    RoadSettings settings;
    uint8_t changed[RoadFieldCount];
    // The width and reference line the last confirmed dialog placed the road with.
    double stripWidth = 0.0;
    bool stripWidthChosen = false;  // the dialog offered the width to edit
    int16_t referenceLine = 2;
    int32_t roadLibIndex = -1;
    GS::Array<API_Guid> terrainOperators;
    QV_List<RoadOperData> operRecords;
    API_Element terrainCopy = {};
};

// For each field id 1 to 4, 6 to 11 and 13 to 17 (all but the layer, the name and the pen) whose flag is set,
// the source's value into the target.
void CopyChangedFields(const uint8_t changed[RoadFieldCount], RoadSettings& target, const RoadSettings& source);
