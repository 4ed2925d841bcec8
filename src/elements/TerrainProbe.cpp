#include "elements/TerrainProbe.hpp"

#include "elements/FloorPlanDatabase.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/LeftoverElements.hpp"
#include "foundation/ACAPI.hpp"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace {
constexpr double kCoincidence = 1e-7;

// The highest vertex at (x, y), else the lowest of all (false). A square off the mesh leaves no model at all: the
// mesh's floor (`floor`) is then the lowest there is.
bool HeightAt(const QV_List<API_Coord3D>& vertices, double x, double y, double floor, double& z, double& lowest,
              double& highest) {
    if (vertices.IsEmpty()) {
        z = lowest = highest = floor;
        return false;
    }
    lowest = DBL_MAX;
    highest = -DBL_MAX;
    bool found = false;
    double top = 0.0;
    for (const API_Coord3D& v : vertices) {
        lowest = std::fmin(lowest, v.z);
        highest = std::fmax(highest, v.z);
        if (std::fabs(v.x - x) > kCoincidence || std::fabs(v.y - y) > kCoincidence) continue;
        top = found ? std::fmax(top, v.z) : v.z;
        found = true;
    }
    z = found ? top : lowest;
    return found;
}

bool DeleteAll(const QV_List<API_Element>& slabs) {
    GS::Array<API_Guid> guids;
    for (const API_Element& s : slabs) guids.Push(s.header.guid);
    return DeleteLeftoverElements(guids);
}
}  // namespace

bool ProbeTerrainHeights(MeshBody& body, const API_Element& mesh, QV_List<QV_Coord3DLong>& vertices, double& lowest,
                         double& highest, QV_List<uint8_t>* hits, const API_Coord* at) {
    if (hits != nullptr) hits->Clear();
    if (vertices.IsEmpty()) return true;
    return InFloorPlanDatabase([&] {
        API_Element defaults;
        std::memset(static_cast<void*>(&defaults), 0, sizeof defaults);
        defaults.header.typeID = API_SlabID;
        if (ACAPI_Element_GetDefaults(&defaults, nullptr) != NoError) return false;
        API_Box3D box;
        if (!WidenedElementBox(mesh, box)) return false;
        body.element = mesh;
        QV_List<API_Element> slabs;
        QV_List<QV_Coord3DLong> square;
        bool ok = true;
        for (int32_t i = 0; ok && i < vertices.GetCount(); ++i) {
            BuildSampleSquare(vertices[i].x, vertices[i].y, square);
            const double px = at != nullptr ? at->x : vertices[i].x, py = at != nullptr ? at->y : vertices[i].y;
            API_Element slab = defaults;
            if (!CreateCutterSlab(mesh, slab, square, box)) {
                ok = false;
                break;
            }
            if (!slabs.Insert(slab)) {
                DeleteLeftoverElement(slab.header.guid);
                ok = false;
                break;
            }
            body.secondElement = slab;
            if (!LinkElementGuids(slab, mesh)) {
                ok = false;
                break;
            }
            double z = 0.0;
            ok = ReadModelVertices(body);
            if (ok) {
                const bool hit = HeightAt(body.vertices, px, py, box.zMin, z, lowest, highest);
                vertices[i].z = z;
                if (hits != nullptr && !hits->Insert(uint8_t(hit ? 1 : 0))) ok = false;
            }
            ok = ACAPI_Element_SolidLink_Remove(mesh.header.guid, slab.header.guid) == NoError && ok;
        }
        return DeleteAll(slabs) && ok;
    });
}

bool ProbeTerrainHeight(BaseCls& cls, const API_Coord& point, double& z) {
    MeshBody body;
    QV_List<QV_Coord3DLong> one;
    if (!one.Insert(QV_Coord3DLong{point.x, point.y, 0.0, 0})) return false;
    double lowest = 0.0, highest = 0.0;
    if (!ProbeTerrainHeights(body, cls.element, one, lowest, highest)) return false;
    z = one[0].z;
    return true;
}

SurfaceHeight ProbeTerrainHeightAt(const API_Element& mesh, const API_Coord& point, double& z) {
    // The square lies beside the point; on the mesh's border it may lie off the mesh, and the next square,
    // turned about the point, is tried.
    constexpr double side = 0.5;
    const API_Coord corners[4] = {{0.0, 0.0}, {-side, 0.0}, {0.0, side}, {-side, side}};
    for (const API_Coord& c : corners) {
        MeshBody body;
        QV_List<QV_Coord3DLong> one;
        QV_List<uint8_t> hits;
        if (!one.Insert(QV_Coord3DLong{point.x + c.x, point.y + c.y, 0.0, 0})) return SurfaceHeight::Failed;
        double lowest = 0.0, highest = 0.0;
        if (!ProbeTerrainHeights(body, mesh, one, lowest, highest, &hits, &point)) return SurfaceHeight::Failed;
        if (hits.GetCount() == 1 && hits[0] != 0) {
            z = one[0].z;
            return SurfaceHeight::Found;
        }
    }
    return SurfaceHeight::None;
}
