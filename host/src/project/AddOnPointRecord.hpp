#pragma once
// The add-on's terrain point as a project stores it: a hotspot whose user data is the add-on's element record of a
// point (version 2, sign 0x5757, 650 bytes, the tag '1' at byte 0 and the point's height as decimal text from
// byte 1). The hotspot itself stands at height 0, so only this record says how high the measured point is.
#include "project/StoredElement.hpp"

#include <optional>

// True when the element is such a point; `height` gets the record's number, or nothing when its field is empty
// or not a number.
bool ReadAddOnPoint(const StoredElement& element, std::optional<double>* height);
// True when the element is such a point (its height left unread).
bool IsAddOnPoint(const StoredElement& element);
// True when the element is the add-on's terrain outline: a fill with the add-on's record, tag '3' at byte 0.
bool IsAddOnOutline(const StoredElement& element);
