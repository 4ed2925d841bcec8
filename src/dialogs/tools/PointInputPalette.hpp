#pragma once
// The point-input palette (32410): a small modeless window the point tool shows while it asks for points, where
// the user changes the code, code number, comment, height, layer and pen of the next point between two clicks.
// Its values live in the point section of the global settings.
#include "APIDefs.hpp"
#include "DG.hpp"

#include <cstdint>

struct PointInputPaletteState {
    uint16_t dialogId;       // 0 while closed
    int32_t flags;           // the host's modeless-window flags of the registration
    int16_t lastValidLayer;  // the last layer that passed the layer check
};

extern PointInputPaletteState PointInputPaletteGlobalState;

constexpr int16_t PointInputPaletteId = 32410;

// Dialog id 0, flags 0, last valid layer 1.
void ResetPointInputPaletteState();

// Builds the palette unless it is open; either way the flags are kept and the help indices set.
void OpenPointInputPalette(PointInputPaletteState& state, int32_t flags);
// Closes an open palette (its close stores the values), then resets the state.
void ClosePointInputPalette(PointInputPaletteState& state);
// The items into the settings' point section; nothing while the palette is closed, whose close already stored
// them.
void StorePointInputPaletteValues(const PointInputPaletteState& state);
// The settings' point section into the items.
void InitPointInputPalette(PointInputPaletteState& state);

namespace PointInputPalette {
void SetTexts(int16_t dialogId);
void SetHelpIndices(int16_t dialogId);
// userData points to the PointInputPaletteState.
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
// The host asks the palette to close (message 1).
GSErrCode HostPaletteCallback(int32_t referenceID, int32_t messageID, intptr_t param);
}  // namespace PointInputPalette
