#include "terrain/ToolInput.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/ModuleLog.hpp"
#include "foundation/QV_ToolsPlt.hpp"

#include "DG.hpp"

namespace {
constexpr int16_t ItemShowCoordinates = 8;
}  // namespace

void ResetToolInput(QV_ToolsPlt& palette) {
    ModuleLog::LogCall("ResetToolInput");
    if (!palette.IsVisible()) return;
    ACAPI_Interface(APIIo_CancelInputID);
    DGSetItemValLong(palette.dialogId, ItemShowCoordinates, 0);
    // The coordinates stay as the last input showed them: "Show Coordinates" ends with this reset, and its
    // display is what the user asked for.
}
