#pragma once
// "Constraint settings": pen, line type and layer of the terrain's constraint lines, in two layouts (32545 with
// the heading and its pictures, 32509), on the settings dialog frame.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "settings/ConstraintSettings.hpp"

using ConstraintSettingsBlock = SettingsDialogBlock<ConstraintSettings>;

DialogAnswer OpenConstraintSettingsDialog(ConstraintSettingsBlock& block, ConstraintSettings& record);
DialogAnswer OpenConstraintSettingsDialogTwin(ConstraintSettingsBlock& block, ConstraintSettings& record);

// Both layouts, the first first; confirmed, with the flags pen, line type, layer in `changed`.
DialogAnswer RunConstraintSettingsDialog(ConstraintSettings& record, ConstraintSettings::Changed& changed,
                                         SettingsMode mode);
