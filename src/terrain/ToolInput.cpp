#include "terrain/ToolInput.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/ModuleLog.hpp"
#include "foundation/QV_ToolsPlt.hpp"

#include "DG.hpp"

#include <cstring>

namespace {
constexpr int16_t ItemShowCoordinates = 8;
constexpr int16_t CoordinateItems[] = {10, 12, 14};
constexpr double Largest = 1.79769313486231e+308;
}  // namespace

ToolInputState PaletteToolInput;

void ToolInputState::Reset() {
    std::memset(block, 0, sizeof block);
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    bounds.xMin = bounds.yMin = bounds.zMin = Largest;
    bounds.xMax = bounds.yMax = bounds.zMax = -Largest;
    flags = 0;
    points.Clear();
    others.Clear();
    heads.Clear();
}

void ResetToolInput(QV_ToolsPlt& palette) {
    ModuleLog::LogCall("ResetToolInput");
    PaletteToolInput.Reset();
    if (!palette.IsVisible()) return;
    ACAPI_Interface(APIIo_CancelInputID);
    DGSetItemValLong(palette.dialogId, ItemShowCoordinates, 0);
    const GS::UniString zero = DGDoubleToStringUnit(0.0, DGGetUnit(), 3);
    for (int16_t item : CoordinateItems) DGSetItemText(palette.dialogId, item, zero);
}
