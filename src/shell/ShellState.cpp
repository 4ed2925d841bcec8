#include "shell/ShellState.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/ModalDialog.hpp"

#include <cstring>

uint8_t NorwegianVariant = 0;
uint8_t AustrianVariant = 0;
uint8_t PaletteSuspended = 1;
uint8_t XYZButtonState = 1;
uint8_t UpdateConfirmation = 1;
SubPaletteRecord SubPalettes[SubPaletteCount] = {};

void ReadHostLanguageVariant() {
    NorwegianVariant = 0;
    AustrianVariant = 0;
    HostLanguageNOR = 0;
    HostLanguageAUT = 0;
    API_ServerApplicationInfo info = {};
    if (ACAPI_Environment(APIEnv_ApplicationID, &info) != NoError) return;
    // The whole code, exactly: "nor" or "NORW" is not Norwegian.
    const size_t n = strnlen(info.language, sizeof info.language);
    NorwegianVariant = (n == 3 && std::memcmp(info.language, "NOR", 3) == 0) ? 1 : 0;
    AustrianVariant = (n == 3 && std::memcmp(info.language, "AUT", 3) == 0) ? 1 : 0;
    // The dialogs choose their language images by the same flags.
    HostLanguageNOR = NorwegianVariant;
    HostLanguageAUT = AustrianVariant;
}
