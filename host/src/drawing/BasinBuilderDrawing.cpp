#include "drawing/BasinBuilderDrawing.hpp"

#include "model3d/ElementModels.hpp"
#include "project/ProjectDatabase.hpp"

#include <CGAL/Boolean_set_operations_2.h>
#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Polygon_set_2.h>

#include <cstring>
#include <string>

namespace {

using Kernel = CGAL::Exact_predicates_exact_constructions_kernel;
using Polygon = CGAL::Polygon_2<Kernel>;
using PolygonWithHoles = CGAL::Polygon_with_holes_2<Kernel>;

double Param(const StoredElement& e, const char* name, double fallback) {
    if (!e.memo.params) return fallback;
    for (const StoredParam& p : *e.memo.params)
        if (!p.IsArray() && std::strncmp(p.record.name, name, sizeof p.record.name) == 0) return p.record.value.real;
    return fallback;
}

double StoryLevelOf(const ProjectDatabase& db, int16_t index) {
    for (const API_StoryType& s : db.Model().stories)
        if (s.index == index) return s.level;
    return 0.0;
}

// The part of the triangle at or below the level, in plan (empty when none of it is).
Polygon ClipBelow(const Surface& s, const std::array<int32_t, 3>& t, double level) {
    Polygon piece;
    for (int k = 0; k < 3; ++k) {
        const ModelPoint& a = s.points[size_t(t[size_t(k)])];
        const ModelPoint& b = s.points[size_t(t[size_t((k + 1) % 3)])];
        if (a.z <= level) piece.push_back(Kernel::Point_2(a.x, a.y));
        if ((a.z < level) != (b.z < level) && a.z != b.z) {
            const double f = (level - a.z) / (b.z - a.z);
            if (f > 0.0 && f < 1.0) piece.push_back(Kernel::Point_2(a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)));
        }
    }
    if (piece.size() < 3 || piece.area() == 0) return Polygon();
    if (piece.orientation() == CGAL::CLOCKWISE) piece.reverse_orientation();
    return piece;
}

void AppendContour(const Polygon& ring, DrawnPrim* d) {
    for (auto v = ring.vertices_begin(); v != ring.vertices_end(); ++v)
        d->coords.push_back(API_Coord{CGAL::to_double(v->x()), CGAL::to_double(v->y())});
    d->coords.push_back(d->coords[size_t(d->pends.back()) + 1]);
    d->pends.push_back(int32_t(d->coords.size()) - 1);
}

}  // namespace

bool DrawBasinBuilder(const ProjectDatabase& db, const StoredElement& e, std::vector<DrawnPrim>* out) {
    if (e.record.header.typeID != API_ObjectID || !db.libPartName ||
        db.libPartName(e.record.Get().object.libInd) != "VY3_BasinBuilder")
        return false;
    const API_ObjectType o = e.record.Get().object;
    const PlanBox box{o.pos.x, o.pos.y, o.pos.x + o.xRatio, o.pos.y + o.yRatio};
    // "livello" is a height of the model itself, as the module samples it from the mesh's 3D model (story and
    // mesh level included); "mesh_level" only tells a script where the terrain's own drawing sits.
    const double level = Param(e, "livello", 0.0);

    CGAL::Polygon_set_2<Kernel> below;
    for (const API_Guid& guid : db.Model().elements.InDatabases({e.database}, API_MeshID)) {
        const StoredElement* mesh = db.Find(guid);
        MeshSurfaceModel model;
        std::string why;
        if (!BuildMeshSurface(*mesh, StoryLevelOf(db, mesh->record.header.floorInd), &model, &why)) continue;
        for (const auto& t : model.surface.triangles) {
            PlanBox tb{1e300, 1e300, -1e300, -1e300};
            for (int32_t i : t) {
                const ModelPoint& p = model.surface.points[size_t(i)];
                tb = {std::min(tb.xMin, p.x), std::min(tb.yMin, p.y), std::max(tb.xMax, p.x), std::max(tb.yMax, p.y)};
            }
            if (!tb.Meets(box)) continue;
            const Polygon piece = ClipBelow(model.surface, t, level);
            if (!piece.is_empty()) below.join(piece);
        }
    }
    std::vector<PolygonWithHoles> regions;
    below.polygons_with_holes(std::back_inserter(regions));
    for (const PolygonWithHoles& region : regions) {
        DrawnPrim d;
        d.prim.poly.head.typeID = API_PrimPolyID;
        d.prim.poly.head.elemGuid = e.record.header.guid;
        d.prim.poly.head.layer = e.record.header.layer;
        d.prim.poly.head.pen = o.pen;
        d.coords.push_back(API_Coord{0, 0});  // the host counts points from 1
        d.pends.push_back(0);
        AppendContour(region.outer_boundary(), &d);
        for (auto h = region.holes_begin(); h != region.holes_end(); ++h) AppendContour(*h, &d);
        d.prim.poly.nCoords = int32_t(d.coords.size()) - 1;
        d.prim.poly.nSubPolys = int32_t(d.pends.size()) - 1;
        out->push_back(d);
    }
    return true;
}
