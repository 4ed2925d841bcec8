#pragma once
// The basin's element class. For now its settings and its share of the element classes' interface: placing
// the object of a generated library part.
#include "elements/BaseCls.hpp"
#include "settings/BasinSettings.hpp"

namespace Basin {

class BasinCls : public BaseCls {
public:
    // The settings start at the basin tool's defaults; the library-part index is unknown (0) and no point is
    // picked.
    BasinCls();

    // Places the basin's object of the generated part. For now it notes its call and places nothing (false).
    bool CreateObject(const QV_String& partName, int16_t placeCode, uint16_t value, void* list,
                      API_Element* existing) override;

    // The basin tool's operations; not built yet: each notes its call and answers 0.
    int32_t Modify(const QV_List<API_Element>& basins);
    int32_t EditDefaults();
    int32_t Create(const API_Element& terrain);

    int32_t builderIndex;    // library-part index of "VY3_BasinBuilder", 0 until looked up
    BasinSettings settings;  // the working copy the settings dialog edits
    API_Coord3D picked;      // the point the user picked in the basin
};

}  // namespace Basin
