#pragma once
// Module-wide state of the add-on shell: one instance each, alive while the module is loaded.
#include <cstdint>

// The host's language code is "NOR": the Input sub-palette shows the SOSI button; several dialogs pick their
// images by it.
extern uint8_t NorwegianVariant;
// The host's language code is "AUT": the Input sub-palette shows the ASC button.
extern uint8_t AustrianVariant;
// While set, window-change events do not reach the palette.
extern uint8_t PaletteSuspended;
// Chooses the image of the XYZ button.
extern uint8_t XYZButtonState;
// While set, a terrain rebuild by the data update asks for confirmation first.
extern uint8_t UpdateConfirmation;

// One record per sub-palette of the tool palette.
struct SubPaletteRecord {
    uint16_t dialogId;  // 0 = closed
    uint32_t registrationFlags;
    uint8_t enabled;
    int16_t activeItem;
};
constexpr int32_t SubPaletteCount = 8;
extern SubPaletteRecord SubPalettes[SubPaletteCount];

// Reads the host's language code ('APPL') and sets the Norwegian and Austrian flags; both 0 when the host
// cannot tell.
void ReadHostLanguageVariant();
