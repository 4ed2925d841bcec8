#pragma once
// The options dialog of a SOSI import, by the reader's mode: the "OBJEKTTYPE" filter (32543, terrain survey),
// `SOSIGDLDlg` (32539, "SOSI OBJECT" objects) or `SOSI2DDlg` (32542, independent worksheet).
class SOSIFileCls;

// True on OK (the reader's type rows then hold the choice); false when cancelled.
bool RunSOSIOptionsDialog(SOSIFileCls& reader);
