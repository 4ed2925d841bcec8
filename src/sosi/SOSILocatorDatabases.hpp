#pragma once
// The coordinate locators an import can take its offset from.
#include <cstdint>

class SOSIFileCls;

// The independent worksheets holding a coordinate locator, into the import's `output.locatorDatabases` (modes 0
// and 1; nothing in mode 2). The current database is the same after. A host call refused on the way sets
// `output.locatorRefused`: the list may lack the locator the import's offset comes from.
void FindSOSILocatorDatabases(SOSIFileCls& reader);

// The offset (real-world minus position) of the locator on the worksheet at `index` of the import's
// `output.locatorDatabases`. False when there is none; when the host refused to read it, `output.locatorRefused`
// is set too.
bool GetCoordinateLocatorOrigin(SOSIFileCls& reader, int32_t index, double* x, double* y);
