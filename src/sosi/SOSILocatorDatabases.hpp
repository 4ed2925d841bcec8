#pragma once
// The coordinate locators an import can take its offset from.
#include <cstdint>

class SOSIFileCls;

// The offset (real-world minus position) of the locator on the worksheet at `index` of the reader's
// `locatorDatabases`. False when there is none.
bool GetCoordinateLocatorOrigin(const SOSIFileCls& reader, int32_t index, double* x, double* y);
