#pragma once
// The host's notifications the module installs at initialisation.
#include "APIDefs.hpp"

// Project events (new, open, save, close, window change ...), every event: answers 0.
GSErrCode ProjectEventHandler(int32_t notifID, int32_t param);
// Element events of the new-element notification and the element observer, gathered in PendingUpdate: -1 starts a
// series, 1 to 5 add the element (with its earlier record for 3 and 4, and the edit for 4), -2 runs the model
// update and resets the record; any other code only becomes the mode. Answers 0.
GSErrCode ElementEventHandler(const API_NotifyElementType* elemType);
// The host changed the tool: resets the palette's tool input and answers 0.
GSErrCode ToolInputResetHandler(const API_ToolBoxItem* newToolRec);
