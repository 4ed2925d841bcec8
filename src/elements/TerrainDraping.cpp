#include "elements/TerrainDraping.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/MeshHeightSampling.hpp"

#include <cstring>

bool CreateSquareElement(BaseCls& owner, const API_Coord& position, double& outHeight) {
    QV_List<QV_Coord3DLong> square;
    BuildSampleSquare(position.x, position.y, square);
    MeshBody body;
    QV_List<uint8_t> sampled;
    double zMin = 0.0;
    double zMax = 0.0;
    // Only the first corner is asked for: the others may lie off the terrain near its edge.
    AssignHeightsFromElement(body, owner.element, square, zMin, zMax, &sampled);
    if (sampled.GetCount() == 0 || sampled[0] == 0) return false;
    outHeight = square[0].z;
    return true;
}

bool BuildPointElementFromList(BaseRSWCls& owner) {
    QV_List<QV_Coord3DLong> points;
    if (!points.InsertList(owner.chainA) || !points.InsertList(owner.chainB)) return false;
    MeshBody body;
    double zMin = 0.0;
    double zMax = 0.0;
    if (!SampleMeshHeights(body, owner.element, points, zMin, zMax)) return false;
    const int32_t first = owner.chainA.GetCount();
    for (int32_t i = 0; i < first; ++i) owner.chainA[i] = points[i];
    for (int32_t i = 0; i < owner.chainB.GetCount(); ++i) owner.chainB[i] = points[first + i];
    return true;
}

bool RaiseNegativeLevel(BaseCls& owner, double level) {
    if (!(level < 0.0)) return true;
    if (owner.element.header.typeID != API_MeshID) return false;
    if (!(owner.meshSkirt < level)) return true;
    API_Element changed = owner.element;
    changed.mesh.skirtLevel = level;
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    std::memset(static_cast<void*>(&mask.mesh.skirtLevel), 0xFF, sizeof mask.mesh.skirtLevel);
    if (ChangeElement(&changed, nullptr, &mask) != NoError) return false;
    owner.element.mesh.skirtLevel = level;
    owner.meshSkirt = level;
    return true;
}
