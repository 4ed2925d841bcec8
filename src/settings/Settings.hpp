#pragma once
// Settings: the current defaults of every tool, one record per element kind (ElemKind), and the one global
// instance that lives as long as the module is loaded.
//
// The tools work on their record directly. The accessors by kind and field id serve the code that handles
// several kinds at once (contour digitising, the preference sections) and the general record (kind 0). For a
// kind without a record (17, 19, anything above 21) or an id a kind does not have, the getters answer 0,
// 0.0 or the shared empty text and the setters do nothing; no memory outside the object is touched.
#include "settings/BasinSettings.hpp"
#include "settings/BridgeSettings.hpp"
#include "settings/BuildingSettings.hpp"
#include "settings/ConstraintSettings.hpp"
#include "settings/ContourLineSettings.hpp"
#include "settings/ImportOptionsRec.hpp"
#include "settings/MiscSettings.hpp"
#include "settings/OutlineSettings.hpp"
#include "settings/PaintSettings.hpp"
#include "settings/PlateauSettings.hpp"
#include "settings/RailwaySettings.hpp"
#include "settings/RetainerWallSettings.hpp"
#include "settings/RoadData.hpp"
#include "settings/SectionData.hpp"
#include "settings/SidewalkSettings.hpp"
#include "settings/SlopeRangeSettings.hpp"
#include "settings/SpotHeightSettings.hpp"
#include "settings/TerrainSettings.hpp"
#include "settings/WallData.hpp"
#include "foundation/QV_String.hpp"
#include "settings/TreeSettings.hpp"

#include <cstdint>

class Settings {
public:
    Settings() { Reset(); }

    // Every record through its own reset (numbers 0, texts empty; the slope range shown in 2D), the general
    // record's choices 12 to 15 at 1, 1, 2, 2, both counts 0. No tool default is set here.
    void Reset();

    // The 16-bit field, zero-extended: a stored -1 reads 65535 (callers wanting the sign narrow to 16 bits).
    // Kind 2 answers the low 16 bits of its 32-bit fields.
    int32_t GetInt(uint32_t kind, int16_t id) const;
    double GetDouble(uint32_t kind, int16_t id) const;
    // A reference to the text field, to read or copy.
    const QV_String& GetString(uint32_t kind, int16_t id) const;
    // Kind 2 stores the value sign-extended into its 32-bit field.
    void SetShort(uint32_t kind, int16_t id, int16_t value);
    void SetDouble(uint32_t kind, int16_t id, double value);
    void SetString(uint32_t kind, int16_t id, const QV_String& text);

    // The built-in tool defaults, used when no preferences can be loaded. `defaultFont` names the font of
    // the host's default text (markers, road sections, slope-range legend). Every layer field becomes 1.
    void SetBuiltInDefaults(const QV_String& defaultFont);
    // After the preferences were read into the object: the fields the preferences do not carry.
    void SetAfterLoadValues();
    // The layer of every kind (the host's default mesh layer), after either of the two above.
    void SetLayerFields(int16_t layer);

    ImportOptionsRec points;             // kind 1
    ConstraintSettings constraint;       // kind 2
    OutlineSettings outline;             // kind 3
    TerrainSettings terrain;             // kind 4
    ContourLineSettings contour;         // kind 5
    PlateauSettings plateau;             // kind 7
    RoadData road;                       // kind 6
    SectionData section;                 // kind 16
    PaintSettings paint;                 // kind 8
    WallData wall;                       // kind 10
    BuildingSettings building;           // kind 9
    SidewalkSettings sidewalk;           // kind 11
    BasinSettings basin;                 // kind 12
    SpotHeightSettings marker;           // kinds 13 and 14
    RetainerWallSettings retainingWall;  // kind 15
    MiscSettings misc;                   // kind 0
    SlopeRangeSettings slopeRange;       // kind 18
    BridgeSettings bridge;               // kind 20
    RailwaySettings railway;             // kind 21
    // Kept by no preference and left by Reset: all zero until the first new tree reads the tree part's defaults.
    TreeSettings tree;
    // 1 until the first new tree of the project has read the tree part's defaults into `tree` (a new project's
    // libraries may hold another tree part): set again when the module forgets its project.
    uint8_t treeFromPart = 1;
    // Working values of the settings dialogs, never persisted: set by a tool before its dialog opens.
    int32_t firstCount;   // 0, or the number of objects being edited
    int32_t editedCount;  // the number of objects being edited

private:
    int32_t GetShortSigned(uint32_t kind, int16_t id) const;
    // The text field of the kind, or null.
    QV_String* TextField(uint32_t kind, int16_t id);
};

// The display of retaining structures along roads, railways and plateaus, copied into road ids 13 to 15,
// railway ids 15 to 17, general ids 1 to 3 and plateau ids 14 to 16.
void SetSurfaceAttributes(Settings& settings, int16_t show2D, int16_t pen, int16_t lineType);

// The module's settings: built when the module is loaded, destroyed when it is unloaded.
extern Settings GlobalSettings;
