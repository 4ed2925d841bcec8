#include "model3d/PlanScene.hpp"

#include "library/LibraryStore.hpp"
#include "model3d/GroundBelow.hpp"
#include "model3d/ModelStore.hpp"
#include "project/ElementTypes.hpp"
#include "project/ProjectDatabase.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool Drawable(API_ElemTypeID type) {
    switch (type) {
        case API_MeshID:
        case API_HotspotID:
        case API_LineID:
        case API_PolyLineID:
        case API_HatchID:
        case API_SlabID:
        case API_ObjectID:
        case API_LampID: return true;
        default: return false;
    }
}

// One gathering: the project's elements in turn, each by its kind.
class Gatherer {
public:
    Gatherer(const ProjectDatabase& db, ModelStore& models, const LibraryStore* libraries, std::string* skipped)
        : db_(db), models_(models), libraries_(libraries), skipped_(skipped) {}

    PlanScene Gather() {
        for (const API_Guid& g : db_.AllElements()) {
            const StoredElement& e = *db_.Find(g);
            const API_ElemTypeID type = e.record.header.typeID;
            if (!Drawable(type)) continue;
            // What the user does not see in the floor plan.
            const API_Attribute* layer = db_.Attribute(API_LayerID, e.record.header.layer);
            if (layer != nullptr && (layer->header.flags & APILay_Hidden) != 0) {
                ++scene_.hidden;
                continue;
            }
            if (type == API_MeshID)
                Mesh(g, e);
            else if (type == API_HotspotID)
                Hotspot(e);
            else if (type == API_LineID)
                Line(e);
            else if (type == API_PolyLineID)
                Polyline(e);
            else if (type == API_HatchID || type == API_SlabID)
                Rings(e);
            else
                Object(g, e);
        }
        return std::move(scene_);
    }

private:
    void Skip(const StoredElement& e, const std::string& why) {
        if (skipped_ != nullptr)
            *skipped_ +=
                ElementTypeName(e.record.header.typeID) + (e.name.empty() ? "" : " " + e.name) + ": " + why + "\n";
    }

    void Add(PlanShape s, const std::string& cls, PlanKey key, double width) {
        s.cls = cls, s.key = key, s.width = width;
        scene_.shapes.push_back(std::move(s));
    }

    void Mesh(const API_Guid& g, const StoredElement& e) {
        std::string why;
        const std::shared_ptr<const Model3D> model = models_.ModelOf(g, &why);
        if (model == nullptr || model->bodies.empty() || model->surfaceVertices < 0) {
            Skip(e, why.empty() ? "no surface" : why);
            return;
        }
        // The top's triangles are the polygons made of surface vertices only.
        const ModelBody& body = model->bodies[0];
        MeshTop top;
        top.points = body.vertices;
        for (int32_t p = 1; p <= int32_t(body.pgons.size()); ++p) {
            const std::vector<int32_t> v = body.PolygonVertices(p);
            if (v.size() != 3 || *std::max_element(v.begin(), v.end()) > model->surfaceVertices) continue;
            scene_.triangles.push_back(
                {body.vertices[size_t(v[0] - 1)], body.vertices[size_t(v[1] - 1)], body.vertices[size_t(v[2] - 1)]});
            top.triangles.push_back({v[0] - 1, v[1] - 1, v[2] - 1});
        }
        if (!top.triangles.empty()) {
            std::vector<ModelPoint> used;
            for (const auto& t : top.triangles)
                for (int32_t v : t) used.push_back(top.points[size_t(v)]);
            top.box = BoxOf(used);
            top.zMin = std::numeric_limits<double>::max(), top.zMax = -top.zMin;
            for (const ModelPoint& p : used)
                if (std::isfinite(p.z)) top.zMin = std::min(top.zMin, p.z), top.zMax = std::max(top.zMax, p.z);
            scene_.tops.push_back(std::move(top));
        }
        LevelLines(e);
        Earthworks(g, e);
    }

    // Where the mesh's links cut into it and where they fill it, and how much: its final top against its surface.
    void Earthworks(const API_Guid& g, const StoredElement& e) {
        std::vector<std::array<ModelPoint, 3>> cut, fill;
        double removed = 0.0, added = 0.0;
        std::string why;
        if (!models_.ChangedFacesOf(g, &cut, &fill, &removed, &added, &why)) return Skip(e, "no cut and fill: " + why);
        for (const std::array<ModelPoint, 3>& f : cut) scene_.cut.push_back({f[0], f[1], f[2]});
        for (const std::array<ModelPoint, 3>& f : fill) scene_.fill.push_back({f[0], f[1], f[2]});
        scene_.cutVolume += removed;
        scene_.fillVolume += added;
        scene_.earthworks = scene_.earthworks || !cut.empty() || !fill.empty() || removed > 0.0 || added > 0.0;
    }

    // The level lines a mesh keeps in its memo.
    void LevelLines(const StoredElement& e) {
        if (!e.memo->meshLevelCoords) return;
        const std::vector<API_MeshLevelCoord>& lc = *e.memo->meshLevelCoords;
        const int32_t count = std::min(e.record.Get().mesh.levelLines.nCoords, int32_t(lc.size()));
        int32_t from = 0;
        std::vector<int32_t> ends = e.memo->meshLevelEnds ? *e.memo->meshLevelEnds : std::vector<int32_t>();
        ends.resize(std::min(ends.size(), size_t(std::max(e.record.Get().mesh.levelLines.nSubLines, 0))));
        for (int32_t end : ends) {
            const int32_t to = std::clamp(end, from, count);
            PlanShape s;
            for (int32_t i = from; i < to; ++i) s.points.push_back({lc[size_t(i)].c.x, lc[size_t(i)].c.y, 0});
            from = to;
            if (s.points.size() >= 2) Add(std::move(s), "levelline", PlanKey::LevelLine, 2.0);
        }
    }

    void Hotspot(const StoredElement& e) {
        PlanShape s;
        s.points.push_back({e.record.Get().hotspot.pos.x, e.record.Get().hotspot.pos.y, 0});
        s.marker = true;
        Add(std::move(s), "hotspot", PlanKey::Point, 1.0);
    }

    void Line(const StoredElement& e) {
        PlanShape s;
        s.points = {{e.record.Get().line.begC.x, e.record.Get().line.begC.y, 0},
                    {e.record.Get().line.endC.x, e.record.Get().line.endC.y, 0}};
        Add(std::move(s), "line", PlanKey::Line, 1.5);
    }

    void Polyline(const StoredElement& e) {
        std::vector<PlanRing> parts;
        std::string why;
        if (!ElementLines(e, 0.0, &parts, &why)) return Skip(e, why);
        for (const PlanRing& part : parts) {
            PlanShape s;
            s.points = part.points;
            Add(std::move(s), "polyline", PlanKey::Polyline, 1.5);
        }
    }

    void Rings(const StoredElement& e) {
        std::vector<PlanRing> rings;
        std::string why;
        if (!ElementRings(e, 0.0, &rings, &why)) return Skip(e, why);
        const bool slab = e.record.header.typeID == API_SlabID;
        for (const PlanRing& ring : rings) {
            PlanShape s;
            s.points = ring.points;
            s.closed = true;
            if (slab) s.stroke = "dimgray";
            // Outlines only: a filled ring would hide the mesh under it in viewers without transparency.
            Add(std::move(s), "ring", PlanKey::Fill, slab ? 1.0 : 2.0);
        }
    }

    void Object(const API_Guid& g, const StoredElement& e) {
        const int owner = scene_.objects++;
        const LibPartDef* part = libraries_ != nullptr ? libraries_->Part(e.record.Get().object.libInd) : nullptr;
        if (part != nullptr && !part->plan.empty()) return PlanItems(g, e, part->plan, owner);
        API_Box3D box = {};
        PlanShape s;
        if (models_.Bounds(g, &box) && box.xMax > box.xMin && box.yMax > box.yMin) {
            s.points = {
                {box.xMin, box.yMin, 0}, {box.xMax, box.yMin, 0}, {box.xMax, box.yMax, 0}, {box.xMin, box.yMax, 0}};
        } else {
            // An object without a body shows where it stands.
            const double x = e.record.Get().object.pos.x, y = e.record.Get().object.pos.y, d = 0.5;
            s.points = {{x - d, y - d, 0}, {x + d, y - d, 0}, {x + d, y + d, 0}, {x - d, y + d, 0}};
        }
        s.closed = true;
        s.owner = owner;
        Add(std::move(s), "object", PlanKey::Object, 1.0);
    }

    // What the object's library part says it draws.
    void PlanItems(const API_Guid& g, const StoredElement& e, const std::vector<LibPlanItem>& items, int owner) {
        std::vector<std::string> faults;
        const ObjectPlan plan = ReadObjectPlan(e, items, &faults);
        for (size_t i = 0; i < faults.size(); ++i)
            if (std::find(faults.begin(), faults.begin() + std::ptrdiff_t(i), faults[i]) ==
                faults.begin() + std::ptrdiff_t(i))
                Skip(e, faults[i]);  // once each
        for (const FeatureShape& f : plan.shapes) {
            PlanShape s;
            s.points = f.points;
            s.closed = f.kind == FeatureShape::Kind::Outline;
            s.owner = owner;
            if (f.kind == FeatureShape::Kind::Line)
                Add(std::move(s), "edge", PlanKey::Edge, 2.5);  // a road or a track: thicker than the lines beside it
            else if (f.kind == FeatureShape::Kind::Foot)
                Add(std::move(s), "foot", PlanKey::Foot, 1.0);
            else
                Add(std::move(s), "outline", PlanKey::Outline, 2.0);
        }
        for (const GroundBelowRequest& r : plan.groundBelow)
            for (const GroundRegion& region : GroundBelow(db_, e.database, r.box, r.level))
                for (const PlanRing& contour : region.contours) {
                    PlanShape s;
                    s.points = contour.points;
                    s.closed = true;
                    s.owner = owner;
                    Add(std::move(s), "outline", PlanKey::Outline, 2.0);
                }
        for (const LevelLineRequest& r : plan.levelLines) scene_.contours.push_back({r, owner});
        std::vector<std::vector<ModelPoint>> daylight;
        std::string why;
        if (plan.daylight && !models_.DaylightOf(g, &daylight, &why)) Skip(e, "no daylight line: " + why);
        for (std::vector<ModelPoint>& line : daylight) {
            PlanShape s;
            s.points = std::move(line);
            s.owner = owner;
            Add(std::move(s), "daylight", PlanKey::Daylight, 1.5);
        }
    }

    const ProjectDatabase& db_;
    ModelStore& models_;
    const LibraryStore* libraries_;
    std::string* skipped_;
    PlanScene scene_;
};

}  // namespace

PlanScene GatherPlanScene(const ProjectDatabase& db, ModelStore& models, const LibraryStore* libraries,
                          std::string* skipped) {
    return Gatherer(db, models, libraries, skipped).Gather();
}
