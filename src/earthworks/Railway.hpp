#pragma once
// The railway's element class: the road's twin with tracks. Three linked objects of "VY_RAILWAY" (cut, fill,
// result) built along a polyline or on the strip of a fill, their settings edited in the single-layout railway
// settings dialog.
#include "elements/BaseCls.hpp"
#include "elements/WholeCommand.hpp"
#include "earthworks/TwinDialogOptions.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "earthworks/RailwayDialogState.hpp"
#include "settings/MiscSettings.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

class ContourLineRefresh;
class EarthworkDialogs;
class RailwayLP;

class RailwayCls : public BaseRSWCls {
public:
    RailwayCls();

    // Where the railway differs from the road in the steps they share (earthworks/RoadTwin).
    using SettingsRecord = RailwaySettings;
    using View = RailwayLP;
    static constexpr const char* PartName = "VY_RAILWAY";
    static constexpr int32_t Kind = ElemKind_Railway;
    static constexpr int16_t LayerField = RailwaySettings::Id::layer;
    static constexpr int16_t NameField = RailwaySettings::Id::name;
    static constexpr int16_t PenField = RailwaySettings::Id::pen;
    static constexpr int16_t MiscSettings::*ReferenceLine = &MiscSettings::railwayReferenceLine;
    // An edit of placed railways shows the general width (locked), unlike the road's 0.1.
    static constexpr uint32_t EditOptions = TwinDialog::DefaultWidth | TwinDialog::Editing;
    static RailwaySettings& Defaults(Settings& store);
    int32_t& PartIndex() { return railwayLibIndex; }
    // "IDoriginal" through the link flag of a null original: -1, as on the road.
    static bool WriteNoOriginal(RailwayLP& view);

    // As the road's, asking through `dialogs`: 0 when done, cancelled or "VY_RAILWAY" is missing; 43 on failures;
    // 42 when the plan database cannot be reached from the 3D window.
    int32_t ModifySelected(const Settings& store, EarthworkDialogs& dialogs, const QV_List<API_Element>& railways);
    int32_t CreateOnFill(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                         const API_Element& fill, const API_Element& terrain);
    int32_t CreateAlongPolyline(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                                const API_Element& polyline, const API_Element& terrain);
    int32_t EditDefaults(Settings& store, EarthworkDialogs& dialogs);

    // Bits (earthworks/RoadTwin: TwinDialog): 0 enables the position choice, 1 shows the global width, 2 marks
    // editing. Confirmed: settings and flags taken over.
    DialogAnswer RunSettingsDialog(const MiscSettings& misc, EarthworkDialogs& dialogs, SettingsMode mode,
                                   uint32_t bits);
    bool DrapeEdges();
    void TranslateAll(const API_Coord& origin);
    CommandEnd BuildObjects();  // as PlaceEarthworkSet
    bool ReadSettingsFromObject(const QV_List<API_Element>& railways);
    bool ApplyToSelected(QV_List<API_Element>& railways);

    RailwaySettings settings;
    uint8_t changed[RailwayFieldCount];
    // The width and reference line the last confirmed dialog placed the railway with.
    double stripWidth = 0.0;
    bool stripWidthChosen = false;  // the dialog offered the width to edit
    int16_t referenceLine = 2;
    int32_t railwayLibIndex = -1;
};

// For each set flag: fields 1 to 4, 18, 19, 22 and 23 as reals, 6 to 13, 15 to 17, 20, 21 and 24 as shorts (all
// but the layer, the name and the pen).
void CopyChangedFields(const uint8_t changed[RailwayFieldCount], RailwaySettings& target,
                       const RailwaySettings& source);
