#pragma once
// The road section's element class: the section tool's operations. Not built yet: each operation notes its
// call and answers 0.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

class SectionCls {
public:
    int32_t ModifySelected(const QV_List<API_Element>& roads);
    int32_t CreateFromRoad(const API_Element& road);
    int32_t EditDefaults();
};

// Keeps the placed objects that are "VY_ROAD" objects with a section. Not built yet: notes its call and keeps
// none (true).
bool FilterRoadsWithSection(QV_List<API_Element>& objects);
