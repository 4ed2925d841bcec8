#pragma once
// The basin: a water body bounded by the terrain's own level line at the level of a picked point. A temporary
// tracer object ("VY3_BasinBuilder") placed over the terrain draws the level lines; the chosen one becomes the
// outline of the lasting "VY_BASIN" object, which the terrain cuts ('SSUD').
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "geometry/QV_Poly.hpp"
#include "geometry/project/QV_Explode.hpp"
#include "earthworks/BasinDialogFields.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

class EarthworkDialogs;

namespace Basin {

// The library-part index of "VY_BASIN", -1 until looked up.
extern int32_t BasinLibIndex;

class BasinCls : public BaseCls {
public:
    // The settings start at the basin tool's defaults; the library-part index is unknown (0) and no point is
    // picked.
    BasinCls();

    // Places the tracer over the terrain's box at the basin level; true when it was created. Needs the terrain
    // read (ReadElement) and the tracer's part looked up.
    bool CreateObject(const QV_String& partName, int16_t placeCode, uint16_t value, void* list,
                      API_Element* existing) override;

    // The operations that ask the user take the dialogs to ask with (earthworks/EarthworkDialogs).
    // The "Basin" command on a terrain: dialog, point, tracer, outline, basin object. 0, or an error code to show
    // (12, 42, 43; 47 is shown inside the point loop).
    int32_t Create(Settings& store, EarthworkDialogs& dialogs, const API_Element& terrain);
    // The tool's defaults through the dialog; 0.
    int32_t EditDefaults(Settings& store, EarthworkDialogs& dialogs);
    // The dialog's changed fields onto every listed basin in one undo step. 0, 42 or 43.
    int32_t Modify(EarthworkDialogs& dialogs, const QV_List<API_Element>& basins);
    // Re-traces a placed basin's outline from its terrain ("Data update"). 0, 42 or 43; a basin whose terrain no
    // longer draws any level line is reported (43) and left as it is.
    int32_t UpdateBuilder(const API_Element& basin);

    // The dialog on `settings`. Confirmed: flags taken over.
    DialogAnswer RunSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode);
    // Places "VY_BASIN" with the outline (world coordinates) and links it to the terrain; true on success.
    bool PlaceBasin(const QV_List<QV_CoordLong>& outline);
    // Deletes the tracer object, when there is one; false when the host keeps it.
    bool DeleteTracer();
    // Writes the new outline (world coordinates) into the placed basin `object` and links it again. The link is
    // removed only once the new parameters are written, so a failure leaves the basin linked as it was.
    bool ApplyUpdatedOutline(const QV_List<QV_CoordLong>& outline);

    int32_t builderIndex;  // library-part index of "VY3_BasinBuilder", 0 until looked up
    BasinSettings settings;
    uint8_t changed[BasinFieldCount];
    API_Coord3D picked;  // the point the user picked in the basin
    API_Element tracer;  // the tracer while it exists

private:
    // Places the tracer and explodes its drawing down to polygons; false when it could not be placed.
    bool TraceLevelLines(QV_Explode& container);

public:
    // The flagged fields onto each listed basin (inside the caller's undoable command); no flag: nothing.
    bool ApplyToSelected(QV_List<API_Element>& basins);
};

// The object's stored outline ("perimetro_base", relative to it) into world coordinates: x negated when
// mirrored, rotated by its angle, moved to its position; and back.
void OutlineToWorld(const API_ObjectType& object, QV_List<QV_CoordLong>& outline);
void OutlineToObject(const API_ObjectType& object, QV_List<QV_CoordLong>& outline);

}  // namespace Basin
