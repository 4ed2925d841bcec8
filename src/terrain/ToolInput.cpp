#include "terrain/ToolInput.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/ModuleLog.hpp"
#include "foundation/QV_ToolsPlt.hpp"

#include "DG.hpp"

namespace {
constexpr int16_t ItemShowCoordinates = 8;
constexpr int16_t CoordinateItems[] = {10, 12, 14};
constexpr int16_t CoordinatePrecision = 6;
}  // namespace

void ResetToolInput(QV_ToolsPlt& palette) {
    ModuleLog::LogCall("ResetToolInput");
    if (!palette.IsVisible()) return;
    ACAPI_Interface(APIIo_CancelInputID);
    DGSetItemValLong(palette.dialogId, ItemShowCoordinates, 0);
    // The display follows the cursor only while an input runs; afterwards it must not pass for a live position.
    const GS::UniString zero = DGDoubleToStringUnit(0.0, DGGetUnit(), CoordinatePrecision);
    for (int16_t item : CoordinateItems) DGSetItemText(int16_t(palette.dialogId), item, zero);
}
