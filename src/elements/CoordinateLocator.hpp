#pragma once
// Coordinate locators as placed objects: finding the one on a worksheet and the import offset it gives.
#include "APIDefs.hpp"
#include "APIElements.hpp"

#include <cstdint>

// The first placed object of library part `libInd` in the current database; false when there is none, or when
// the host refused to list or read the objects (then `refused`, when given, is set).
bool FindPlacedLocator(int32_t libInd, API_Element* element, bool* refused = nullptr);

// The offset from the first locator (library part `libInd`) on the worksheet whose database is `worksheet`: its
// real-world X, Y minus its position. (0, 0) when the worksheet holds no locator or it lacks a coordinate. The
// current database is the same afterwards. False when the worksheet cannot be made current or the host refuses
// to read the locator: no offset is known then.
bool GetCoordinateLocatorOffset(const API_Guid& worksheet, int32_t libInd, API_Coord* offset);
