#pragma once
// The road section's element class (kind 16): a "VY_ROAD" object with "sezione" 1 that shows a road in section.
// It is prepared as the object tool's default from a road object, tagged with its road when placed, and its
// drawing settings are edited on placed sections.
#include "elements/BaseCls.hpp"
#include "elements/WholeCommand.hpp"
#include "elements/RoadSectionObjects.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "earthworks/SectionDialogState.hpp"

#include "APIElements.hpp"
#include "GSGuid.hpp"

#include <cstdint>

class Settings;

class ContourLineRefresh;
class EarthworkDialogs;

class SectionCls : public BaseCls {
public:
    // The record at its defaults, its texts in `font` (the road-section defaults').
    explicit SectionCls(const QV_String& font);

    // The operations that ask the user, or tell the palette, take the dialogs to do it with.
    // 0 when done or cancelled, 42 when the plan database cannot be reached from 3D, 43 when a selected section
    // cannot be read or written.
    int32_t ModifySelected(EarthworkDialogs& dialogs, const QV_List<API_Element>& sections);
    // Makes a copy of the road object with the section settings the object tool's default; places nothing.
    // 0 when done or cancelled, 42 when the floor plan cannot be made current, 43 on read or write failures and
    // when the road's record names no result object.
    int32_t CreateFromRoad(Settings& store, EarthworkDialogs& dialogs, const API_Element& road);
    int32_t EditDefaults(Settings& store, EarthworkDialogs& dialogs);
    // Data update: the section object's edge heights into its road (common vertex indices), then the road rebuilt,
    // one undo step. A section whose record names no road is deleted; rebuilt from a section window, the palette
    // is told. 0 or 43.
    int32_t Rebuild(EarthworkDialogs& dialogs, ContourLineRefresh& contours, const API_Element& section);
    // Element event: code 1 tags newly placed sections with their road; any other code answers 1.
    static int32_t OnElementEvent(int32_t code, const QV_List<API_Elem_Head>& heads);
    // Confirmed: settings and flags taken over.
    DialogAnswer RunSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode);

    SectionSettings settings;
    uint8_t changed[SectionFieldCount];

private:
    static int32_t TagNewSectionObjects(const QV_List<API_Elem_Head>& heads);
    bool ApplyToSelected(QV_List<API_Element>& sections);
    CommandEnd TransferToRoad(const API_Element& section, const API_WindowInfo& window, API_Element& terrain,
                              bool& rebuilt);
};

// For each vertex index both lists have, the section's z into the road's; x, y and codes stay the road's.
void CopyCommonHeights(const QV_List<QV_Coord3DLong>& section, QV_List<QV_Coord3DLong>& road);

// The road whose section was prepared last; null until one was.
const API_Guid& PreparedSectionRoad();
// Forgets it: the road belongs to the project (or the module's life) it was prepared in.
void ForgetPreparedSectionRoad();

// Copies, for each set flag, the field of that id (1 to 16) from source to target; the layer (0) never.
void CopyChangedFields(const uint8_t (&flags)[SectionFieldCount], SectionSettings& target,
                       const SectionSettings& source);

// Whether the element is a placed object of the library part, usable, with a readable non-zero "sezione".
bool IsSectionObject(const API_Element& element, int32_t libIndex);

// Keeps the section objects of the library part. False when the floor plan could not be reached from 3D.
bool FilterRoadsWithSection(QV_List<API_Element>& objects, int32_t libIndex);
