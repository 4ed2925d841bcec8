#pragma once
// Road sections among the placed objects of the road's library part: objects whose "sezione" is set.
#include "APIElements.hpp"

#include <cstdint>

// Whether the host can read the library part and it is not marked missing.
bool IsLibPartUsable(int32_t libIndex);

// Whether the element is a placed object of the library part, usable, with a readable non-zero "sezione"; read in
// the current database.
bool IsRoadSectionObject(const API_Element& element, int32_t libIndex);
// The same, telling in `isSection`; false when the host cannot read the part or the object's parameters.
bool ReadIsRoadSectionObject(const API_Element& element, int32_t libIndex, bool& isSection);
