#include "terrain/TerrainDialogBlock.hpp"

#include <cstring>

void TerrainDialogBlock::Reset() {
    layoutSwitch = 0;
    savedX = savedY = 0;
    mode = -1;
    editedCount = 0;
    value = -1;
    work.Reset();
    std::memset(changed, 0, sizeof changed);
    record = nullptr;
    contour = nullptr;
    contourWork.Reset();
    std::memset(contourChanged, 0, sizeof contourChanged);
    for (API_Coord3D& c : colours) c = API_Coord3D{0, 0, 0};
    lowest = highest = 0.0;
    option = 0;
    verticalOffset = 0.0;
    verticalOffsetChanged = 0;
}
