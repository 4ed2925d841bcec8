#pragma once
// The basin's element class. For now only its share of the element classes' interface: placing the object of a
// generated library part.
#include "elements/BaseCls.hpp"

namespace Basin {

class BasinCls : public BaseCls {
public:
    // Places the basin's object of the generated part. For now it notes its call and places nothing (false).
    bool CreateObject(const QV_String& partName, int16_t placeCode, uint16_t value, void* list,
                      API_Element* existing) override;
};

}  // namespace Basin
