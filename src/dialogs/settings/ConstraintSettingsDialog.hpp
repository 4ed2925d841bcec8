#pragma once
// "Constraint settings": pen, line type and layer of the terrain's constraint lines, in two layouts (32545 with
// the heading and its pictures, 32509), on the settings dialog frame.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "settings/ConstraintSettings.hpp"

using ConstraintSettingsBlock = SettingsDialogBlock<ConstraintSettings>;

bool OpenConstraintSettingsDialog(ConstraintSettingsBlock& block, ConstraintSettings& record);
bool OpenConstraintSettingsDialogTwin(ConstraintSettingsBlock& block, ConstraintSettings& record);

// The owner's loop over both layouts; true on OK with the flags pen, line type, layer in `changed`.
bool RunConstraintSettingsDialog(ConstraintSettings& record, uint8_t (&changed)[3], SettingsMode mode);
