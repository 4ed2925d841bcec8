#pragma once
// The tool input of the palette, reset by every palette button and by the project and input notifications.
class QV_ToolsPlt;

// While the palette is shown: cancels a running host input ('INCA'), clears the palette's "Show Coordinates"
// box and shows 0.0 in the coordinate items 10, 12 and 14 (in the host's length unit). The palette's own
// tool-input fields are prepared afresh by each input that reads them.
void ResetToolInput(QV_ToolsPlt& palette);
