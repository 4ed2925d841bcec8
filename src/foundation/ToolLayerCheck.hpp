#pragma once
// Whether a tool may put its elements on a layer: the layer must exist and be shown and editable. A hidden or
// locked layer is offered to the user to show and unlock.
#include <cstdint>

// True when the layer may take the tool's elements. A layer that is not there: the "former layer ... deleted"
// alert, false; one the host refuses to read: "Error while finding data.", false. A hidden or locked layer: the user chooses "Show/Unlock" (both flags cleared and written back;
// true when the host took the change) or "Cancel" (false).
bool CheckToolLayer(int16_t layer);
