#pragma once
// The add-on settings dialog: it explains, and offers, the two operations on the stored preferences of the whole
// add-on, which the command that opened it runs. "Capture settings" makes the settings the stored preferences
// (PrefsLP::Save); "Restore settings" puts the preferences library part's own values back into the settings and the
// mirror file (PrefsLP::Reload). It edits no record of its own. Two layouts, as every settings dialog.
#include "dialogs/settings/SettingsDialogFrame.hpp"

#include "DG.hpp"

// What the user asked of the stored preferences.
enum class PreferencesAsk : int32_t { None, Capture, Restore };

struct AddonSettingsBlock {
    DialogBlockHead head;
    PreferencesAsk ask = PreferencesAsk::None;
};

// The first layout (32557) and the second (32521). True when closed with OK, which asks nothing; Capture and
// Restore end the dialog with false, as Cancel does, the block's ask saying which; the layout button ends it with
// false and the block's layout switch set.
bool OpenAddonSettingsDialog(AddonSettingsBlock& block);
bool OpenAddonSettingsDialogTwin(AddonSettingsBlock& block);

// The owner's loop: the first layout, the other at each switch (the position carried), until OK or Cancel or one
// of the two operations ends it. The operation asked, for the command to run.
PreferencesAsk RunAddonSettingsDialog();

namespace AddonSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}  // namespace AddonSettingsDlg
