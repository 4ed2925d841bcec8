#pragma once
// The cache of the project's font attributes (attribute type 10) that the text tools offer: sorted by name
// (letter case ignored), without duplicate names, and the position of the default text's font in it.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

extern QV_List<API_FontType> AttributeCache;
// Position in AttributeCache of the font the host's default text uses; -1 when it is not there.
extern int32_t DefaultTextAttribute;

// Reads the font attributes again; true on success (also when there are none).
bool RebuildAttributeCache();
// Looks the default text's font up in the cache; false when the host cannot tell it.
bool FindDefaultTextAttribute();
// a before b: by name, letter case ignored.
bool CompareAttributeNames(const API_FontType& a, const API_FontType& b);
