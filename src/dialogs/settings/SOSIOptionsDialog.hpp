#pragma once
// The options dialog of a SOSI import, by the reader's mode: the "OBJEKTTYPE" filter (32543, terrain survey),
// `SOSIGDLDlg` (32539, "SOSI OBJECT" objects) or `SOSI2DDlg` (32542, independent worksheet).
#include "dialogs/settings/SOSIOptionChoices.hpp"

class SOSIFileCls;

// True on OK (the reader's type rows and `shown` then hold the choice, for the import to keep); false when
// cancelled.
bool RunSOSIOptionsDialog(SOSIFileCls& reader, SOSIOptionChoices& shown);
