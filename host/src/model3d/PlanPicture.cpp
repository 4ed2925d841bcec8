#include "model3d/PlanPicture.hpp"

#include "library/LibraryStore.hpp"
#include "model3d/ModelStore.hpp"
#include "model3d/PlanContours.hpp"
#include "model3d/PlanFeatures.hpp"
#include "model3d/PlanLegend.hpp"
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
    std::string cls, fill = "none";
    std::string stroke;  // "" the colour of its key
    double width = 1.0;
    PlanKey key = PlanKey::Line;
    bool marker = false;  // a hotspot: drawn as a small circle at its one point
};

// The top of a mesh's model: its triangles over the vertices they share.
struct MeshTop {
    std::vector<ModelPoint> points;
    std::vector<std::array<int32_t, 3>> triangles;
    PlanBox box = {0, 0, 0, 0};
    double zMin = 0.0, zMax = 0.0;
};

bool Finite(const ModelPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// The smallest of unit times 1, 2 or 5 times a power of ten that reaches `need`.
int64_t Coarser(int64_t unit, double need) {
    for (int64_t ten = 1; ten < (int64_t(1) << 40); ten *= 10)
        for (int64_t f : {1, 2, 5})
            if (double(unit * f * ten) >= need) return unit * f * ten;
    return int64_t(1) << 40;
}

// The levels of a contour request over the terrain's heights: the asked ones that meet them; when none does (a
// range never set against this terrain) the step's multiples over the terrain. `index` takes each level's number
// of steps from where the levels are counted (main lines and thinning go by it). More levels than a picture can
// show are kept every `every` steps only (a multiple of the main step, so the main lines stay).
std::vector<double> LevelsFor(const LevelLineRequest& r, double zMin, double zMax, std::vector<int64_t>* index,
                              int64_t* every) {
    std::vector<double> levels;
    index->clear();
    *every = 1;
    constexpr double kMost = 2000.0;
    const int64_t unit = r.mainStep > 1 ? r.mainStep : 1;
    const auto spread = [&](double first, double last, double origin) {
        double k0 = std::ceil((first - origin) / r.step - 1e-9), k1 = std::floor((last - origin) / r.step + 1e-9);
        if (!(k1 >= k0) || !std::isfinite(k1 - k0) || std::abs(k0) > 1e15 || std::abs(k1) > 1e15) return;
        if (k1 - k0 + 1 > kMost) *every = Coarser(unit, (k1 - k0 + 1) / kMost);
        k0 = std::ceil(k0 / double(*every)) * double(*every);
        for (double k = k0; k <= k1; k += double(*every)) {
            levels.push_back(origin + k * r.step);
            index->push_back(int64_t(k));
        }
    };
    const double first = std::max(r.first, zMin), last = std::min(r.last, zMax);
    if (first <= last) spread(first, last, r.first);
    if (levels.empty()) spread(zMin, zMax, 0.0);
    return levels;
}

// Every how many steps a line is drawn so that lines lie `gap` pixels apart on average: the levels are `every`
// steps apart and their lines `lengthPx` long in all. A multiple of `every` and, when coarser, of the main step,
// so the main lines stay.
int64_t Thinning(double lengthPx, double areaPx, int64_t every, int32_t mainStep, double gap) {
    if (!(lengthPx > 0.0) || areaPx / lengthPx >= gap) return every;
    return Coarser(every > 1 || mainStep <= 1 ? every : mainStep, double(every) * gap * lengthPx / areaPx);
}

}  // namespace

std::string PlanPictureSvg(const ProjectDatabase& db, ModelStore& models, const LibraryStore* libraries,
                           PlanPictureCounts* counts, std::string* skipped) {
    PlanPictureCounts n;
    std::vector<Shape> shapes;
    struct Triangle {
        ModelPoint a, b, c;
    };
    std::vector<Triangle> triangles;
    std::vector<MeshTop> tops;
    std::vector<LevelLineRequest> contourRequests;
    const auto skip = [&](const StoredElement& e, const std::string& why) {
        if (skipped != nullptr)
            *skipped +=
                ElementTypeName(e.record.header.typeID) + (e.name.empty() ? "" : " " + e.name) + ": " + why + "\n";
    };
    for (const API_Guid& g : db.AllElements()) {
        const StoredElement& e = *db.Find(g);
        const API_ElemTypeID type = e.record.header.typeID;
        // What the user does not see in the floor plan.
        const API_Attribute* layer = db.Attribute(API_LayerID, e.record.header.layer);
        if (layer != nullptr && (layer->header.flags & APILay_Hidden) != 0) continue;
        std::string why;
        if (type == API_MeshID) {
            const std::shared_ptr<const Model3D> model = models.ModelOf(g, &why);
            if (model == nullptr || model->bodies.empty() || model->surfaceVertices < 0) {
                skip(e, why.empty() ? "no surface" : why);
                continue;
            }
            // The top's triangles are the polygons made of surface vertices only.
            const ModelBody& body = model->bodies[0];
            MeshTop top;
            top.points = body.vertices;
            for (int32_t p = 1; p <= int32_t(body.pgons.size()); ++p) {
                const std::vector<int32_t> v = body.PolygonVertices(p);
                if (v.size() != 3 || *std::max_element(v.begin(), v.end()) > model->surfaceVertices) continue;
                triangles.push_back({body.vertices[size_t(v[0] - 1)], body.vertices[size_t(v[1] - 1)],
                                     body.vertices[size_t(v[2] - 1)]});
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
                tops.push_back(std::move(top));
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
                    s.cls = "levelline", s.key = PlanKey::LevelLine;
                    s.width = 2.0;
                    shapes.push_back(s);
                    ++n.levelLines;
                }
            }
        } else if (type == API_HotspotID) {
            Shape s;
            s.points.push_back({e.record.Get().hotspot.pos.x, e.record.Get().hotspot.pos.y, 0});
            s.marker = true;
            s.cls = "hotspot", s.key = PlanKey::Point;
            shapes.push_back(s);
            ++n.hotspots;
        } else if (type == API_LineID) {
            Shape s;
            s.points = {{e.record.Get().line.begC.x, e.record.Get().line.begC.y, 0},
                        {e.record.Get().line.endC.x, e.record.Get().line.endC.y, 0}};
            s.cls = "line", s.key = PlanKey::Line;
            s.width = 1.5;
            shapes.push_back(s);
            ++n.lines;
        } else if (type == API_PolyLineID) {
            std::vector<PlanRing> parts;
            if (!ElementLines(e, 0.0, &parts, &why)) {
                skip(e, why);
                continue;
            }
            for (const PlanRing& part : parts) {
                Shape s;
                s.points = part.points;
                s.cls = "polyline", s.key = PlanKey::Polyline;
                s.width = 1.5;
                shapes.push_back(s);
                ++n.polylines;
            }
        } else if (type == API_HatchID || type == API_SlabID) {
            std::vector<PlanRing> rings;
            if (!ElementRings(e, 0.0, &rings, &why)) {
                skip(e, why);
                continue;
            }
            for (const PlanRing& ring : rings) {
                Shape s;
                s.points = ring.points;
                s.closed = true;
                s.cls = "ring", s.key = PlanKey::Fill;
                if (type == API_SlabID) s.stroke = "dimgray";
                // Outlines only: a filled ring would hide the mesh under it in viewers without transparency.
                s.width = type == API_HatchID ? 2.0 : 1.0;
                shapes.push_back(s);
                ++n.rings;
            }
        } else if (type == API_ObjectID || type == API_LampID) {
            const LibPartDef* part = libraries != nullptr ? libraries->Part(e.record.Get().object.libInd) : nullptr;
            if (part != nullptr && !part->plan.empty()) {
                std::vector<std::string> faults;
                const ObjectPlan plan = ReadObjectPlan(e, part->plan, &faults);
                for (size_t i = 0; i < faults.size(); ++i)
                    if (std::find(faults.begin(), faults.begin() + std::ptrdiff_t(i), faults[i]) ==
                        faults.begin() + std::ptrdiff_t(i))
                        skip(e, faults[i]);  // once each
                for (const FeatureShape& f : plan.shapes) {
                    Shape s;
                    s.points = f.points;
                    s.closed = f.kind == FeatureShape::Kind::Outline;
                    if (f.kind == FeatureShape::Kind::Line) {
                        s.cls = "edge", s.key = PlanKey::Edge, s.width = 1.5;
                        ++n.featureLines;
                    } else if (f.kind == FeatureShape::Kind::Foot) {
                        s.cls = "foot", s.key = PlanKey::Foot, s.width = 1.0;
                        ++n.featureLines;
                    } else {
                        s.cls = "outline", s.key = PlanKey::Outline, s.width = 2.0;
                        ++n.featureOutlines;
                    }
                    shapes.push_back(s);
                }
                contourRequests.insert(contourRequests.end(), plan.levelLines.begin(), plan.levelLines.end());
                ++n.objects;
                continue;
            }
            API_Box3D box = {};
            Shape s;
            if (models.Bounds(g, &box) && box.xMax > box.xMin && box.yMax > box.yMin) {
                s.points = {
                    {box.xMin, box.yMin, 0}, {box.xMax, box.yMin, 0}, {box.xMax, box.yMax, 0}, {box.xMin, box.yMax, 0}};
            } else {
                // An object without a body shows where it stands.
                const double x = e.record.Get().object.pos.x, y = e.record.Get().object.pos.y, d = 0.5;
                s.points = {{x - d, y - d, 0}, {x + d, y - d, 0}, {x + d, y + d, 0}, {x - d, y + d, 0}};
            }
            s.closed = true;
            s.cls = "object", s.key = PlanKey::Object;
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
    // Contour lines on the terrain under each request's box: the mesh whose top covers most of it.
    struct Contours {
        std::vector<LevelLine> lines;
        std::vector<int64_t> index;
        int64_t every;  // the levels' steps apart
        int32_t mainStep;
        double step;
    };
    std::vector<Contours> contours;
    for (const LevelLineRequest& r : contourRequests) {
        const MeshTop* best = nullptr;
        double bestArea = -1.0;
        for (const MeshTop& top : tops) {
            const double w = std::min(r.box.xMax, top.box.xMax) - std::max(r.box.xMin, top.box.xMin);
            const double h = std::min(r.box.yMax, top.box.yMax) - std::max(r.box.yMin, top.box.yMin);
            if (w < 0.0 || h < 0.0) continue;
            if (w * h > bestArea) bestArea = w * h, best = &top;
        }
        if (best == nullptr) continue;
        Contours c;
        const std::vector<double> levels = LevelsFor(r, best->zMin, best->zMax, &c.index, &c.every);
        c.lines = TraceLevelLines(best->points, best->triangles, levels);
        c.mainStep = r.mainStep;
        c.step = r.step;
        for (const LevelLine& line : c.lines)
            for (const ModelPoint& p : line.points) grow(p);
        contours.push_back(std::move(c));
    }

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
    const double size = 800.0, margin = 20.0, band = 70.0;  // the legend and the scale bar go in the band below
    const double scale = size / std::max({maxX - minX, maxY - minY, 1e-9});
    const double plotW = (maxX - minX) * scale, plotH = (maxY - minY) * scale;
    const double width = std::max(plotW, 520.0) + 2 * margin, height = plotH + 2 * margin + band;
    // Lines closer than a few pixels would only darken the ground: thinned to a coarser interval, said in the
    // legend.
    double shownInterval = 0.0;
    for (const Contours& c : contours) {
        double length = 0.0;
        for (const LevelLine& line : c.lines)
            for (size_t i = 0; i + 1 < line.points.size() + (line.closed ? 1 : 0); ++i) {
                const ModelPoint& a = line.points[i];
                const ModelPoint& b = line.points[(i + 1) % line.points.size()];
                length += std::hypot(b.x - a.x, b.y - a.y) * scale;
            }
        const int64_t thin = Thinning(length, plotW * plotH, c.every, c.mainStep, 4.0);
        shownInterval = std::max(shownInterval, c.step * double(thin));
        for (const LevelLine& line : c.lines) {
            const int64_t k = c.index[size_t(line.level)];
            if (k % thin != 0) continue;
            Shape s;
            s.points = line.points;
            s.closed = line.closed;
            const bool isMain = c.mainStep > 0 && k % (int64_t(c.mainStep) * thin) == 0;
            s.cls = isMain ? "contour main" : "contour";
            s.key = PlanKey::Contour;
            s.width = isMain ? 1.4 : 0.7;
            shapes.push_back(s);
            ++n.contourLines;
        }
    }

    // The contour lines lie on the ground, under everything drawn on it.
    std::stable_partition(shapes.begin(), shapes.end(),
                          [](const Shape& s) { return s.cls.compare(0, 7, "contour") == 0; });

    std::ostringstream svg;
    svg.precision(10);
    const auto px = [&](const ModelPoint& p) { return margin + (p.x - minX) * scale; };
    const auto py = [&](const ModelPoint& p) { return margin + (maxY - p.y) * scale; };
    const auto at = [&](const ModelPoint& p) {
        std::ostringstream s;
        s.precision(10);
        s << px(p) << ',' << py(p);
        return s.str();
    };
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << width << ' ' << height
        << "\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    // Triangles edged in their own colour: no seams between them, and no grey mesh over a dense terrain.
    for (const Triangle& t : triangles) {
        if (!Finite(t.a) || !Finite(t.b) || !Finite(t.c)) continue;
        const double mid = (t.a.z + t.b.z + t.c.z) / 3.0;
        const std::string colour = HeightColour(maxZ > minZ ? (mid - minZ) / (maxZ - minZ) : 0.5);
        svg << "<polygon class=\"triangle\" points=\"" << at(t.a) << ' ' << at(t.b) << ' ' << at(t.c) << "\" fill=\""
            << colour << "\" stroke=\"" << colour << "\" stroke-width=\"0.5\"/>\n";
    }
    // Hotspot markers shrink with the room each one has, so the ground shows between them at any count.
    const double room = n.hotspots > 0 ? std::sqrt(std::max(plotW * plotH, 1.0) / n.hotspots) : 0.0;
    const double radius = std::clamp(room * 0.12, 0.4, 3.0);
    PlanLegend legend;
    legend.heights = !triangles.empty();
    legend.zMin = minZ, legend.zMax = maxZ;
    legend.contourInterval = shownInterval;
    for (const Shape& s : shapes) {
        if (s.marker) {
            if (!Finite(s.points[0])) continue;
            svg << "<circle class=\"hotspot\" cx=\"" << px(s.points[0]) << "\" cy=\"" << py(s.points[0]) << "\" r=\""
                << radius << "\" fill=\"black\" fill-opacity=\"0.6\"/>\n";
            legend.shown[int(PlanKey::Point)] = true;
            continue;
        }
        svg << (s.closed ? "<polygon" : "<polyline") << " class=\"" << s.cls << "\" points=\"";
        bool first = true;
        for (const ModelPoint& p : s.points) {
            if (!Finite(p)) continue;
            svg << (first ? "" : " ") << at(p);
            first = false;
        }
        const PlanKeyStyle style = KeyStyle(s.key);
        svg << "\" stroke=\"" << (s.stroke.empty() ? style.stroke : s.stroke) << "\" stroke-width=\"" << s.width
            << "\" fill=\"" << s.fill << '"'
            << (*style.dash ? std::string(" stroke-dasharray=\"") + style.dash + "\"" : "")
            << " stroke-linejoin=\"round\"/>\n";
        legend.shown[int(s.key)] = true;
    }

    svg << PlanLegendSvg(legend, margin, width - margin, plotH + 2 * margin + 8.0, scale, maxX - minX);
    svg << "</svg>\n";
    if (counts != nullptr) *counts = n;
    return svg.str();
}
