#pragma once
// "2D settings" of the tree tool in its two layouts (32565, 32526): the 2D symbol's kind, pens, shadow and text.
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/TreeSettings.hpp"

#include <cstdint>

// Runs the pair on `work` (the tree dialog's working copy). Confirmed: the changed 2D fields are written into
// `work` and flagged in `flags` (flags already set stay); cancelled: nothing changed. `mode` is the tree dialog's.
DialogAnswer EditTree2DSettings(TreeSettings& work, uint8_t (&flags)[64], SettingsMode mode);
