#include "terrain/TerrainMeshCreation.hpp"

#include "elements/ActiveStory.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/WrittenMemo.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "terrain/TerrainDataRecord.hpp"

#include "GSRoot.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

constexpr int32_t MessageTable = 32580;
constexpr int32_t TerrainCreatedEntry = 33;

bool Chained(const QV_Segment3D& a, const QV_Segment3D& b) {
    return std::fabs(a.end.x - b.begin.x) < BreakLineChainTolerance &&
        std::fabs(a.end.y - b.begin.y) < BreakLineChainTolerance;
}

template <typename T>
T** Allocate(int64_t count) {
    return reinterpret_cast<T**>(BMAllocateHandle(GSSize(count * int64_t(sizeof(T))), ALLOCATE_CLEAR, 0));
}

}  // namespace

TerrainMeshCounts CountLevelLines(const TerrainRecord& record) {
    TerrainMeshCounts c;
    const int32_t n = record.breakLines.GetCount();
    for (int32_t i = 0; i < n; ++i) {
        if (i + 1 < n && Chained(record.breakLines[i], record.breakLines[i + 1])) {
            c.levelVertices += 1;
        } else {
            c.levelVertices += 2;
            c.levelLines += 1;
        }
    }
    for (int32_t i = 0; i < record.levelPoints.GetCount(); ++i)
        if (i >= record.used.GetCount() || !record.used[i]) {
            c.levelVertices += 1;
            c.levelLines += 1;
        }
    return c;
}

bool FillTerrainMeshMemo(const TerrainRecord& record, double shiftX, double shiftY, API_Element& mesh,
                         API_ElementMemo& memo) {
    std::memset(static_cast<void*>(&memo), 0, sizeof(memo));
    const int32_t n = record.boundary.GetCount();
    if (n < 4) return false;
    const TerrainMeshCounts counts = CountLevelLines(record);
    API_MeshType& m = mesh.mesh;
    m.poly.nCoords = n;
    m.poly.nSubPolys = 1;
    m.poly.nArcs = 0;
    m.levelLines.nCoords = counts.levelVertices;
    m.levelLines.nSubLines = counts.levelLines;

    memo.coords = Allocate<API_Coord>(int64_t(n) + 1);
    memo.pends = Allocate<int32_t>(2);
    memo.parcs = Allocate<API_PolyArc>(0);
    memo.vertexIDs = Allocate<uint32_t>(int64_t(n) + 1);
    memo.meshPolyZ = Allocate<double>(int64_t(n) + 1);
    memo.meshLevelCoords = Allocate<API_MeshLevelCoord>(counts.levelVertices);
    memo.meshLevelEnds = Allocate<int32_t>(counts.levelLines);
    if (memo.coords == nullptr || memo.pends == nullptr || memo.parcs == nullptr || memo.vertexIDs == nullptr ||
        memo.meshPolyZ == nullptr || memo.meshLevelCoords == nullptr || memo.meshLevelEnds == nullptr) {
        ACAPI_DisposeElemMemoHdls(&memo);
        std::memset(static_cast<void*>(&memo), 0, sizeof(memo));
        return false;
    }

    double lowest = DBL_MAX;
    (*memo.pends)[0] = 0;
    (*memo.pends)[1] = n;
    (*memo.vertexIDs)[0] = uint32_t(n - 1);
    for (int32_t i = 0; i < n; ++i) {
        const API_Coord3D& p = record.boundary[i];
        (*memo.coords)[i + 1] = API_Coord{p.x - shiftX, p.y - shiftY};
        (*memo.meshPolyZ)[i + 1] = p.z;
        (*memo.vertexIDs)[i + 1] = i + 1 == n ? 1u : uint32_t(i + 1);  // the last closes the ring on the first
        lowest = std::min(lowest, p.z);
    }

    int32_t written = 0, lines = 0;
    const auto put = [&](const API_Coord3D& p) {
        API_MeshLevelCoord& c = (*memo.meshLevelCoords)[written];
        c.c = API_Coord3D{p.x - shiftX, p.y - shiftY, p.z};
        c.vertexID = written++;
        lowest = std::min(lowest, p.z);
    };
    const int32_t segments = record.breakLines.GetCount();
    for (int32_t i = 0; i < segments; ++i) {
        const QV_Segment3D& s = record.breakLines[i];
        put(s.begin);
        if (i + 1 < segments && Chained(s, record.breakLines[i + 1])) continue;
        put(s.end);
        (*memo.meshLevelEnds)[lines++] = written;
    }
    for (int32_t i = 0; i < record.levelPoints.GetCount(); ++i) {
        const API_Coord3D& p = record.levelPoints[i];
        lowest = std::min(lowest, p.z);  // a used point is a break-line end; its height counts as well
        if (i < record.used.GetCount() && record.used[i]) continue;
        put(p);
        (*memo.meshLevelEnds)[lines++] = written;
    }
    m.skirtLevel = 1.0 - lowest;
    return true;
}

bool CreateTerrainMesh(const TerrainRecord& record, double verticalOffset, API_Element& mesh, API_ElementMemo& memo,
                       double shiftX, double shiftY) {
    std::memset(static_cast<void*>(&mesh), 0, sizeof(mesh));
    std::memset(static_cast<void*>(&memo), 0, sizeof(memo));
    mesh.header.typeID = API_MeshID;
    if (ACAPI_Element_GetDefaults(&mesh, nullptr) != NoError) return false;

    const int16_t story = ActiveStoryIndex();
    mesh.header.floorInd = story;
    TerrainSettingsToMesh(record, mesh.mesh);
    // The display switch the host keeps before the 3D triangle display starts cleared.
    mesh.mesh.showLevelLines3D = 0;
    const double storyLevel = GetStoryLevel(story);
    if (!(std::fabs(storyLevel) < 1e300)) return false;  // no story at the current index: no level to stand on
    mesh.mesh.level = -storyLevel - verticalOffset;

    if (!FillTerrainMeshMemo(record, shiftX, shiftY, mesh, memo)) return false;
    TerrainNameToMemo(record, memo);

    const bool created = CreateFlaggedObject(mesh, memo);
    std::memset(static_cast<void*>(&memo), 0, sizeof(memo));
    if (!created) return false;
    if (ACAPI_Element_AttachObserver(mesh.header.guid) != NoError) return false;
    if (!WriteTerrainDataRecord(mesh)) return false;

    ShowAlert(Alert(AlertKind::Information, AlertText(), AlertText{MessageTable, TerrainCreatedEntry}));
    return true;
}
