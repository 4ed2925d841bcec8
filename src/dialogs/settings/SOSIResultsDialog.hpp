#pragma once
// The results dialogs of a SOSI import: 32544 (terrain survey, with the KURVE altitude filter) and 32540 (every
// mode): the data's position in the project, the limiting area, the offset from a coordinate locator.
class SOSIFileCls;

// True on OK. Cancel, or "Import again..." (the reader's `importAgain` then set), give false.
bool OpenSOSIImportResultsDialog(SOSIFileCls& reader);
bool OpenSOSIImportResultsDialogTwin(SOSIFileCls& reader);
