#pragma once
// "Tree settings" in its two layouts (32564, 32525): the tree's geometry, branching, trunk and leaf styles with
// their previews, materials and layer; the "2D settings" sub-dialog, and loading and saving settings parts.
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/TreeSettings.hpp"

// Both layouts over `record`, the first first; confirmed, the changed fields are written and flagged. Cancel in
// either layout leaves the record and the flags untouched, also after a layout switch.
DialogAnswer RunTreeSettingsDialogs(TreeSettings& record, TreeChangeFlags& flags, SettingsMode mode);

// The angle typed into the dialog, as the dialog keeps it: a negative one at most -15, a positive one at least 20.
double ClampTreeAngle(double angle);
// The levels a branch count leaves (`branches` 4: at most 4; 5 to 7: 3; 8 and 9: 2), and the branches a level
// count leaves (3 levels: at most 7; 4: 4; 5: 3). Other values pass unchanged.
int32_t CapTreeLevels(int32_t branches, int32_t levels);
int32_t CapTreeBranches(int32_t levels, int32_t branches);
