#include "project/MeshMemoCheck.hpp"

#include <algorithm>
#include <cmath>

namespace {
// Heights beyond this are a missing-height mark or garbage, not a terrain.
constexpr double kHeightLimit = 1e100;

bool Sound(double z) { return std::isfinite(z) && std::fabs(z) < kHeightLimit; }
}  // namespace

std::string MeshMemoProblem(const API_MeshType& mesh, const StoredMemo& memo) {
    const API_Polygon& p = mesh.poly;
    if (!Sound(mesh.level)) return "the base level is not a usable number";
    if (!std::isfinite(mesh.skirtLevel)) return "the skirt is not a number";
    // The caller has checked the counts against the coordinates and the contour ends.
    const std::vector<int32_t>& pends = *memo.pends;
    if (memo.meshPolyZ) {
        for (int32_t i = 1; i <= p.nCoords; ++i)
            if (!Sound((*memo.meshPolyZ)[size_t(i)])) return "height " + std::to_string(i) + " is not usable";
    }
    if (memo.vertexIDs) {
        const std::vector<uint32_t>& ids = *memo.vertexIDs;
        if (ids.size() < size_t(p.nCoords) + 1) return "fewer vertex numbers than coordinates";
        uint32_t highest = 0;
        for (int32_t i = 1; i <= p.nCoords; ++i) {
            if (ids[size_t(i)] == 0) return "vertex number " + std::to_string(i) + " is 0";
            highest = std::max(highest, ids[size_t(i)]);
        }
        if (ids[0] != highest) return "vertex number entry 0 is not the highest number";
        for (int32_t k = 1; k <= p.nSubPolys; ++k) {
            const int32_t first = pends[size_t(k) - 1] + 1, last = pends[size_t(k)];
            if (last - first < 3) return "contour " + std::to_string(k) + " has fewer than three corners";
            if (ids[size_t(first)] != ids[size_t(last)])
                return "contour " + std::to_string(k) + " is not closed by its vertex numbers";
        }
    }
    const int32_t nLevel = mesh.levelLines.nCoords, nLines = mesh.levelLines.nSubLines;
    if (nLevel < 0 || nLines < 0) return "negative level-line counts";
    if (nLines > 0) {
        if (!memo.meshLevelEnds || memo.meshLevelEnds->size() < size_t(nLines)) return "fewer level ends than lines";
        int32_t before = 0;
        for (int32_t k = 0; k < nLines; ++k) {
            const int32_t end = (*memo.meshLevelEnds)[size_t(k)];
            if (end <= before || end > nLevel)
                return "level end " + std::to_string(k + 1) + " is not a running count of the level points";
            before = end;
        }
    }
    for (int32_t i = 0; i < nLevel; ++i) {
        const API_Coord3D& c = (*memo.meshLevelCoords)[size_t(i)].c;
        if (!std::isfinite(c.x) || !std::isfinite(c.y) || !Sound(c.z))
            return "level point " + std::to_string(i + 1) + " is not usable";
    }
    return std::string();
}
