#pragma once
// The project offset: the easting and northing the import commands subtract from survey data and the height of
// the shapefile import, kept with the project as the add-on's unnamed module data in one line of text.
#include "foundation/QV_String.hpp"

#include <cstdint>

// The fields of the imports' ProjectOffset (settings/ProjectOffset.hpp) under their stored names, so that what an
// import sets is what the project keeps.
extern double& ProjectOffsetX;
extern double& ProjectOffsetY;
extern double& ShapeHeight;  // the largest finite double while unset
constexpr double ShapeHeightUnset = 1.7976931348623157e308;

// The longest module data text read; longer data is cut there.
constexpr int32_t ModuleDataTextMax = 10240;

// 1 when module data was found (its text decides the values), else 0; unreadable fields fall back to 0 and unset.
int32_t ReadProjectOffset();
// Stores the offset with the project, or removes the entry when nothing is set; false when the host refused either.
bool StoreProjectOffset();
// The same before a save, the user told when the project is to be saved without the offset now set.
void StoreProjectOffsetTold();
// True when the host returned module data; its bytes (at most ModuleDataTextMax - 1 of them) become `text`.
bool ReadModuleDataText(QV_String& text);
// The stored line for the current values.
QV_String ProjectOffsetText();
// Reads the three fields of a stored line into the globals; false when the line lacks a field marker.
bool ParseProjectOffsetText(const QV_String& text);
