#include "model3d/PlanPicture.hpp"

#include "model3d/ModelStore.hpp"
#include "project/ElementTypes.hpp"
#include "project/ProjectDatabase.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

namespace {

struct Shape {
    std::vector<ModelPoint> points;
    bool closed = false;
    std::string stroke, fill;
    double width = 1.0, fillOpacity = 0.0;
    bool marker = false;  // a hotspot: drawn as a small circle at its one point
};

// Low ground dark green, high ground light sand: enough to see a ridge or a valley at a glance.
std::string HeightColour(double t) {
    t = std::clamp(std::isfinite(t) ? t : 0.0, 0.0, 1.0);
    const int r = int(std::lround(40 + t * (230 - 40))), g = int(std::lround(110 + t * (215 - 110))),
              b = int(std::lround(60 + t * (160 - 60)));
    std::ostringstream s;
    s << "rgb(" << r << ',' << g << ',' << b << ')';
    return s.str();
}

bool Finite(const ModelPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

std::string PlanPictureSvg(const ProjectDatabase& db, ModelStore& models, PlanPictureCounts* counts,
                           std::string* skipped) {
    PlanPictureCounts n;
    std::vector<Shape> shapes;
    struct Triangle {
        ModelPoint a, b, c;
    };
    std::vector<Triangle> triangles;
    const auto skip = [&](const StoredElement& e, const std::string& why) {
        if (skipped != nullptr)
            *skipped +=
                ElementTypeName(e.record.header.typeID) + (e.name.empty() ? "" : " " + e.name) + ": " + why + "\n";
    };
    for (const API_Guid& g : db.AllElements()) {
        const StoredElement& e = *db.Find(g);
        const API_ElemTypeID type = e.record.header.typeID;
        std::string why;
        if (type == API_MeshID) {
            const std::shared_ptr<const Model3D> model = models.ModelOf(g, &why);
            if (model == nullptr || model->bodies.empty() || model->surfaceVertices < 0) {
                skip(e, why.empty() ? "no surface" : why);
                continue;
            }
            // The top's triangles are the polygons made of surface vertices only.
            const ModelBody& body = model->bodies[0];
            for (int32_t p = 1; p <= int32_t(body.pgons.size()); ++p) {
                const std::vector<int32_t> v = body.PolygonVertices(p);
                if (v.size() != 3 || *std::max_element(v.begin(), v.end()) > model->surfaceVertices) continue;
                triangles.push_back({body.vertices[size_t(v[0] - 1)], body.vertices[size_t(v[1] - 1)],
                                     body.vertices[size_t(v[2] - 1)]});
            }
            if (e.memo.meshLevelCoords) {
                const std::vector<API_MeshLevelCoord>& lc = *e.memo.meshLevelCoords;
                const int32_t count = std::min(e.record.Get().mesh.levelLines.nCoords, int32_t(lc.size()));
                int32_t from = 0;
                std::vector<int32_t> ends = e.memo.meshLevelEnds ? *e.memo.meshLevelEnds : std::vector<int32_t>();
                ends.resize(std::min(ends.size(), size_t(std::max(e.record.Get().mesh.levelLines.nSubLines, 0))));
                for (int32_t end : ends) {
                    const int32_t to = std::clamp(end, from, count);
                    Shape s;
                    for (int32_t i = from; i < to; ++i) s.points.push_back({lc[size_t(i)].c.x, lc[size_t(i)].c.y, 0});
                    from = to;
                    if (s.points.size() < 2) continue;
                    s.stroke = "saddlebrown";
                    s.width = 2.0;
                    shapes.push_back(s);
                    ++n.levelLines;
                }
            }
        } else if (type == API_HotspotID) {
            Shape s;
            s.points.push_back({e.record.Get().hotspot.pos.x, e.record.Get().hotspot.pos.y, 0});
            s.marker = true;
            s.stroke = s.fill = "black";
            shapes.push_back(s);
            ++n.hotspots;
        } else if (type == API_LineID) {
            Shape s;
            s.points = {{e.record.Get().line.begC.x, e.record.Get().line.begC.y, 0},
                        {e.record.Get().line.endC.x, e.record.Get().line.endC.y, 0}};
            s.stroke = "crimson";
            s.width = 1.5;
            shapes.push_back(s);
            ++n.lines;
        } else if (type == API_HatchID || type == API_PolyLineID || type == API_SlabID) {
            std::vector<PlanRing> rings;
            if (!ElementRings(e, 0.0, &rings, &why)) {
                skip(e, why);
                continue;
            }
            for (const PlanRing& ring : rings) {
                Shape s;
                s.points = ring.points;
                s.closed = type != API_PolyLineID;
                s.stroke = type == API_HatchID ? "royalblue" : "dimgray";
                // Outlines only: a filled ring would hide the mesh under it in viewers without transparency.
                s.fill = "none";
                s.width = type == API_HatchID ? 2.0 : 1.0;
                shapes.push_back(s);
                ++n.rings;
            }
        } else if (type == API_ObjectID || type == API_LampID) {
            API_Box3D box = {};
            Shape s;
            if (models.Bounds(g, &box) && box.xMax > box.xMin && box.yMax > box.yMin) {
                s.points = {
                    {box.xMin, box.yMin, 0}, {box.xMax, box.yMin, 0}, {box.xMax, box.yMax, 0}, {box.xMin, box.yMax, 0}};
                s.closed = true;
            } else {
                // An object without a body shows where it stands.
                const double x = e.record.Get().object.pos.x, y = e.record.Get().object.pos.y, d = 0.5;
                s.points = {{x - d, y - d, 0}, {x + d, y - d, 0}, {x + d, y + d, 0}, {x - d, y + d, 0}};
                s.closed = true;
            }
            s.stroke = "darkorchid";
            s.fill = "none";
            shapes.push_back(s);
            ++n.objects;
        }
    }
    n.triangles = int(triangles.size());

    double minX = std::numeric_limits<double>::max(), minY = minX, maxX = -minX, maxY = -minX;
    double minZ = minX, maxZ = -minX;
    const auto grow = [&](const ModelPoint& p) {
        if (!Finite(p)) return;
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    };
    for (const Triangle& t : triangles)
        for (const ModelPoint& p : {t.a, t.b, t.c}) {
            grow(p);
            if (std::isfinite(p.z)) minZ = std::min(minZ, p.z), maxZ = std::max(maxZ, p.z);
        }
    for (const Shape& s : shapes)
        for (const ModelPoint& p : s.points) grow(p);
    if (minX > maxX) minX = minY = 0.0, maxX = maxY = 1.0;

    // Pixels are computed here, not by an SVG transform: survey-sized coordinates would lose their detail in a
    // viewer's single-precision arithmetic.
    const double size = 800.0, margin = 20.0;
    const double scale = size / std::max({maxX - minX, maxY - minY, 1e-9});
    const double width = (maxX - minX) * scale + 2 * margin, height = (maxY - minY) * scale + 2 * margin;
    std::ostringstream svg;
    svg.precision(10);
    const auto at = [&](const ModelPoint& p) {
        std::ostringstream s;
        s.precision(10);
        s << margin + (p.x - minX) * scale << ',' << margin + (maxY - p.y) * scale;
        return s.str();
    };
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << width << ' ' << height
        << "\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    for (const Triangle& t : triangles) {
        if (!Finite(t.a) || !Finite(t.b) || !Finite(t.c)) continue;
        const double mid = (t.a.z + t.b.z + t.c.z) / 3.0;
        const std::string colour = HeightColour(maxZ > minZ ? (mid - minZ) / (maxZ - minZ) : 0.5);
        svg << "<polygon class=\"triangle\" points=\"" << at(t.a) << ' ' << at(t.b) << ' ' << at(t.c) << "\" fill=\""
            << colour << "\" stroke=\"gray\" stroke-width=\"0.5\"/>\n";
    }
    for (const Shape& s : shapes) {
        if (s.marker) {
            if (!Finite(s.points[0])) continue;
            const std::string c = at(s.points[0]);
            const size_t comma = c.find(',');
            svg << "<circle class=\"hotspot\" cx=\"" << c.substr(0, comma) << "\" cy=\"" << c.substr(comma + 1)
                << "\" r=\"3\" fill=\"" << s.fill << "\"/>\n";
            continue;
        }
        svg << (s.closed ? "<polygon" : "<polyline") << " points=\"";
        bool first = true;
        for (const ModelPoint& p : s.points) {
            if (!Finite(p)) continue;
            svg << (first ? "" : " ") << at(p);
            first = false;
        }
        svg << "\" stroke=\"" << s.stroke << "\" stroke-width=\"" << s.width << "\" fill=\""
            << (s.closed ? s.fill : "none") << "\" fill-opacity=\"" << s.fillOpacity << "\"/>\n";
    }
    svg << "</svg>\n";
    if (counts != nullptr) *counts = n;
    return svg.str();
}
