#pragma once
// The host's notifications the module installs at initialisation.
#include "APIDefs.hpp"

struct ModelUpdateSteps;

// Project events, every event answering 0: a new or opened project (1, 2, 4) loads the settings from the project
// and runs the project-open upkeep of roads, railways and legacy slabs; the conversion of a project of an earlier
// release (256) runs the link upkeep pass; every other event is let pass.
GSErrCode ProjectEventHandler(int32_t notifID, int32_t param);
// Element events of the new-element notification and the element observer, gathered in PendingUpdate: -1 starts a
// series, 1 to 5 add the element (with its earlier record for 3 and 4, and the edit for 4), -2 runs the model
// update and resets the record; any other code only becomes the mode. Answers 0.
GSErrCode ElementEventHandler(const API_NotifyElementType* elemType);
// The same with the model update's steps asked of `steps` at a series' end (the handler asks the started module's).
GSErrCode HandleElementEvent(const API_NotifyElementType* elemType, const ModelUpdateSteps& (*steps)());
// The host changed the tool: resets the palette's tool input and answers 0.
GSErrCode ToolInputResetHandler(const API_ToolBoxItem* newToolRec);
