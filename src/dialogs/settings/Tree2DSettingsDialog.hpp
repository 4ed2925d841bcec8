#pragma once
// "2D settings" of the tree tool in its two layouts (32565, 32526): the 2D symbol's kind, pens, shadow and text.
#include "foundation/SettingsMode.hpp"
#include "settings/TreeSettings.hpp"

#include <cstdint>

// Runs the pair on `work` (the tree dialog's working copy): 0 on OK, with the changed 2D fields written into
// `work` and flagged in `flags` (flags already set stay); 1 on Cancel, nothing changed. `mode` is the tree
// dialog's.
int32_t EditTree2DSettings(TreeSettings& work, uint8_t (&flags)[64], SettingsMode mode);
