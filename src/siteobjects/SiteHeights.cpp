#include "siteobjects/SiteHeights.hpp"

#include "elements/MeshHeightSampling.hpp"
#include "geometry/MeshBody.hpp"

bool TerrainHeightAtPoint(const API_Element& terrain, const API_Coord& point, double& height, bool* hostFailed) {
    if (hostFailed != nullptr) *hostFailed = false;
    QV_List<QV_Coord3DLong> square;
    BuildSampleSquare(point.x, point.y, square);
    if (square.GetCount() == 0) {
        if (hostFailed != nullptr) *hostFailed = true;
        return false;
    }
    MeshBody body;
    double zMin = 0.0, zMax = 0.0;
    QV_List<uint8_t> sampled;
    if (!AssignHeightsFromElement(body, terrain, square, zMin, zMax, &sampled, hostFailed)) return false;
    if (sampled.GetCount() == 0 || sampled[0] == 0) return false;
    height = square[0].z;
    return true;
}
