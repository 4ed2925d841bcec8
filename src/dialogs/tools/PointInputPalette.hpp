#pragma once
// The point-input palette (32410): a small modeless window the point tool shows while it asks for points, where
// the user changes the code, code number, comment, height, layer and pen of the next point between two clicks.
// It shows the values the tool hands it and hands back what its items hold; the tool keeps them.
#include "settings/ImportOptionsRec.hpp"

#include "APIDefs.hpp"
#include "DG.hpp"

#include <cstdint>

struct PointInputPaletteState {
    uint16_t dialogId;        // 0 while closed
    int32_t flags;            // the host's modeless-window flags of the registration
    int16_t lastValidLayer;   // the last layer that passed the layer check
    ImportOptionsRec values;  // shown when the palette opens; what the items held when last read (a close reads them)
};

extern PointInputPaletteState PointInputPaletteGlobalState;

constexpr int16_t PointInputPaletteId = 32410;

// Dialog id 0, flags 0, last valid layer 1.
void ResetPointInputPaletteState();

// Builds the palette, showing the state's values, unless it is open; either way the flags are kept and the help
// indices set.
void OpenPointInputPalette(PointInputPaletteState& state, int32_t flags);
// Closes an open palette (its close reads the items into the state's values), then resets the state.
void ClosePointInputPalette(PointInputPaletteState& state);
// What the items hold (read now while the palette is open, else as its close read them) into `into`.
void StorePointInputPaletteValues(PointInputPaletteState& state, ImportOptionsRec& into);
// `shown` becomes the state's values, and the items' while the palette is open.
void InitPointInputPalette(PointInputPaletteState& state, const ImportOptionsRec& shown);

namespace PointInputPalette {
void SetTexts(int16_t dialogId);
void SetHelpIndices(int16_t dialogId);
// userData points to the PointInputPaletteState.
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
// The host asks the palette to close (message 1).
GSErrCode HostPaletteCallback(int32_t referenceID, int32_t messageID, intptr_t param);
}  // namespace PointInputPalette
