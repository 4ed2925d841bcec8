#include "terrain/ToolInput.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/ModuleLog.hpp"
#include "foundation/QV_ToolsPlt.hpp"

#include "DG.hpp"

#include <cstring>

namespace {
constexpr int16_t ItemShowCoordinates = 8;
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
    // The coordinates stay as the last input showed them: "Show Coordinates" ends with this reset, and its
    // display is what the user asked for.
}
