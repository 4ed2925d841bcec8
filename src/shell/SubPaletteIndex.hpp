#pragma once
// The sub-palettes by index, shared by their windows (SubPalettes) and their buttons (SubPaletteButtons).
#include <cstdint>

enum SubPaletteIndex : int32_t {
    SubInput = 0,
    SubNorwegianInput,
    SubAustrianInput,
    SubEarthmoving,
    SubStreetFurniture,
    SubParameters,
    SubSection,
    SubWorksheet
};
