#include "model3d/PlanPicture.hpp"

#include "model3d/PlanContours.hpp"
#include "model3d/PlanMarks.hpp"
#include "model3d/PlanScene.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

namespace {

// The thinnest a line is drawn, whatever the plan's scale: a pixel.
constexpr double kThinnest = 1.0;

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

// The contour lines traced for one request, with what their thinning needs.
struct Contours {
    std::vector<LevelLine> lines;
    std::vector<int64_t> index;
    int64_t every;  // the levels' steps apart
    int32_t mainStep;
    double step;
    int owner;
};

// Contour lines on the terrain under each request's box: the mesh whose top covers most of it.
std::vector<Contours> TraceContours(const PlanScene& scene) {
    std::vector<Contours> contours;
    for (const ContourRequest& cr : scene.contours) {
        const LevelLineRequest& r = cr.request;
        const MeshTop* best = nullptr;
        double bestArea = -1.0;
        for (const MeshTop& top : scene.tops) {
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
        c.owner = cr.owner;
        contours.push_back(std::move(c));
    }
    return contours;
}

// Where the plan lies in the picture. Pixels are computed here, not by an SVG transform: survey-sized coordinates
// would lose their detail in a viewer's single-precision arithmetic. Above the plan its title and north arrow, left
// of it and under it its coordinates, then the legend and scale bar in the band.
struct Frame {
    double minX, minY, maxX, maxY;  // the plan's box
    double minZ, maxZ;              // the triangles' heights
    double scale;                   // pixels per metre
    double plotW, plotH, width, height;
    static constexpr double kSize = 800.0, kLeft = 72.0, kTop = 50.0, kRight = 24.0, kTicks = 22.0, kBand = 70.0;

    double Px(const ModelPoint& p) const { return kLeft + (p.x - minX) * scale; }
    double Py(const ModelPoint& p) const { return kTop + (maxY - p.y) * scale; }
    std::string At(const ModelPoint& p) const {
        std::ostringstream s;
        s.precision(10);
        s << Px(p) << ',' << Py(p);
        return s.str();
    }
    PlanPlot Plot() const { return {minX, minY, maxX, maxY, kLeft, kTop, scale}; }
};

// The frame that holds everything the scene and the traced contour lines show.
Frame FrameOf(const PlanScene& scene, const std::vector<Contours>& contours) {
    Frame f;
    f.minX = std::numeric_limits<double>::max(), f.minY = f.minX, f.maxX = -f.minX, f.maxY = -f.minX;
    f.minZ = f.minX, f.maxZ = -f.minX;
    const auto grow = [&](const ModelPoint& p) {
        if (!Finite(p)) return;
        f.minX = std::min(f.minX, p.x), f.maxX = std::max(f.maxX, p.x);
        f.minY = std::min(f.minY, p.y), f.maxY = std::max(f.maxY, p.y);
    };
    for (const Contours& c : contours)
        for (const LevelLine& line : c.lines)
            for (const ModelPoint& p : line.points) grow(p);
    for (const PlanTriangle& t : scene.triangles)
        for (const ModelPoint& p : {t.a, t.b, t.c}) {
            grow(p);
            if (std::isfinite(p.z)) f.minZ = std::min(f.minZ, p.z), f.maxZ = std::max(f.maxZ, p.z);
        }
    for (const PlanShape& s : scene.shapes)
        for (const ModelPoint& p : s.points) grow(p);
    if (f.minX > f.maxX) f.minX = f.minY = 0.0, f.maxX = f.maxY = 1.0;
    f.scale = Frame::kSize / std::max({f.maxX - f.minX, f.maxY - f.minY, 1e-9});
    f.plotW = (f.maxX - f.minX) * f.scale, f.plotH = (f.maxY - f.minY) * f.scale;
    f.width = std::max(f.plotW, 520.0) + Frame::kLeft + Frame::kRight;
    f.height = Frame::kTop + f.plotH + Frame::kTicks + Frame::kBand;
    return f;
}

// The contour lines as shapes under everything else in the scene. Lines closer than a few pixels would only darken
// the ground: thinned to a coarser interval, which comes back for the legend.
double AddContourShapes(const std::vector<Contours>& contours, const Frame& f, PlanScene* scene) {
    double shownInterval = 0.0;
    for (const Contours& c : contours) {
        double length = 0.0;
        for (const LevelLine& line : c.lines)
            for (size_t i = 0; i + 1 < line.points.size() + (line.closed ? 1 : 0); ++i) {
                const ModelPoint& a = line.points[i];
                const ModelPoint& b = line.points[(i + 1) % line.points.size()];
                length += std::hypot(b.x - a.x, b.y - a.y) * f.scale;
            }
        const int64_t thin = Thinning(length, f.plotW * f.plotH, c.every, c.mainStep, 4.0);
        shownInterval = std::max(shownInterval, c.step * double(thin));
        for (const LevelLine& line : c.lines) {
            const int64_t k = c.index[size_t(line.level)];
            if (k % thin != 0) continue;
            PlanShape s;
            s.points = line.points;
            s.closed = line.closed;
            const bool isMain = c.mainStep > 0 && k % (int64_t(c.mainStep) * thin) == 0;
            s.cls = isMain ? "contour main" : "contour";
            s.key = PlanKey::Contour;
            s.width = isMain ? 1.4 : 0.7;
            s.owner = c.owner;
            scene->shapes.push_back(s);
        }
    }
    // The contour lines lie on the ground, under everything drawn on it; where the earthworks meet the ground comes
    // next, so that a road's edges, which run beside its daylight lines at a small scale, stay on top of them.
    std::stable_sort(scene->shapes.begin(), scene->shapes.end(), [](const PlanShape& a, const PlanShape& b) {
        const auto layer = [](const PlanShape& s) {
            return s.key == PlanKey::Contour ? 0 : s.key == PlanKey::Daylight ? 1 : 2;
        };
        return layer(a) < layer(b);
    });
    return shownInterval;
}

// Triangles edged in their own colour: no seams between them, and no grey mesh over a dense terrain.
void WriteTriangles(const PlanScene& scene, const Frame& f, std::ostream& svg, PlanPictureCounts* n) {
    for (const PlanTriangle& t : scene.triangles) {
        if (!Finite(t.a) || !Finite(t.b) || !Finite(t.c)) continue;
        const double mid = (t.a.z + t.b.z + t.c.z) / 3.0;
        const std::string colour = HeightColour(f.maxZ > f.minZ ? (mid - f.minZ) / (f.maxZ - f.minZ) : 0.5);
        svg << "<polygon class=\"triangle\" points=\"" << f.At(t.a) << ' ' << f.At(t.b) << ' ' << f.At(t.c)
            << "\" fill=\"" << colour << "\" stroke=\"" << colour << "\" stroke-width=\"0.5\"/>\n";
        ++n->triangles;
    }
}

// The faces the earthworks lowered and those they raised, over the ground's shading: each set in one group whose
// opacity lets the heights show through, its faces edged in their own colour so no seam shows between them.
void WriteEarthworks(const PlanScene& scene, const Frame& f, std::ostream& svg, PlanPictureCounts* n) {
    const auto write = [&](const std::vector<PlanTriangle>& faces, const char* cls, const char* colour, int* count) {
        if (faces.empty()) return;
        svg << "<g opacity=\"" << kEarthworkOpacity << "\">\n";
        for (const PlanTriangle& t : faces) {
            if (!Finite(t.a) || !Finite(t.b) || !Finite(t.c)) continue;
            svg << "<polygon class=\"" << cls << "\" points=\"" << f.At(t.a) << ' ' << f.At(t.b) << ' ' << f.At(t.c)
                << "\" fill=\"" << colour << "\" stroke=\"" << colour << "\" stroke-width=\"0.5\"/>\n";
            ++*count;
        }
        svg << "</g>\n";
    };
    write(scene.cut, "cut", CutColour(), &n->cutFaces);
    write(scene.fill, "earth-fill", FillColour(), &n->fillFaces);
}

// The heights written on the contour lines: on the main lines when there are any, else on every line drawn, each
// at the middle of a line long enough to carry it and clear of the labels before it.
std::vector<ContourLabel> ContourLabels(const PlanScene& scene, const Frame& f) {
    const bool mains = std::any_of(scene.shapes.begin(), scene.shapes.end(),
                                   [](const PlanShape& s) { return s.cls == "contour main"; });
    constexpr double kLongEnough = 60.0, kApart = 45.0;
    constexpr size_t kMost = 80;
    std::vector<ContourLabel> labels;
    for (const PlanShape& s : scene.shapes) {
        if (s.key != PlanKey::Contour || (mains && s.cls != "contour main") || s.points.size() < 2) continue;
        std::vector<double> along = {0.0};
        for (size_t i = 1; i < s.points.size(); ++i)
            along.push_back(
                along.back() +
                std::hypot(f.Px(s.points[i]) - f.Px(s.points[i - 1]), f.Py(s.points[i]) - f.Py(s.points[i - 1])));
        if (!(along.back() >= kLongEnough)) continue;
        const size_t at = size_t(std::lower_bound(along.begin(), along.end(), along.back() / 2.0) - along.begin());
        const ModelPoint& p = s.points[std::min(at, s.points.size() - 1)];
        if (!Finite(p) || !std::isfinite(p.z)) continue;
        const ContourLabel label = {f.Px(p), f.Py(p), p.z};
        const bool clear = std::none_of(labels.begin(), labels.end(), [&](const ContourLabel& l) {
            return std::hypot(l.x - label.x, l.y - label.y) < kApart;
        });
        if (clear) labels.push_back(label);
        if (labels.size() >= kMost) break;
    }
    return labels;
}

// The shapes in their order, each counted by its kind as it is written (and its object with its first one).
void WriteShapes(const PlanScene& scene, const Frame& f, std::ostream& svg, PlanPictureCounts* n) {
    // Hotspot markers shrink with the room each one has, so the ground shows between them at any count.
    const auto markers =
        std::count_if(scene.shapes.begin(), scene.shapes.end(), [](const PlanShape& s) { return s.marker; });
    const double room = markers > 0 ? std::sqrt(std::max(f.plotW * f.plotH, 1.0) / double(markers)) : 0.0;
    const double radius = std::clamp(room * 0.12, 0.4, 3.0);
    std::vector<bool> objectDrawn(size_t(scene.objects), false);
    for (const PlanShape& s : scene.shapes) {
        if (s.marker) {
            if (!Finite(s.points[0])) continue;
            svg << "<circle class=\"hotspot\" cx=\"" << f.Px(s.points[0]) << "\" cy=\"" << f.Py(s.points[0])
                << "\" r=\"" << radius << "\" fill=\"black\" fill-opacity=\"0.6\"/>\n";
        } else {
            svg << (s.closed ? "<polygon" : "<polyline") << " class=\"" << s.cls << "\" points=\"";
            bool first = true;
            for (const ModelPoint& p : s.points) {
                if (!Finite(p)) continue;
                svg << (first ? "" : " ") << f.At(p);
                first = false;
            }
            const PlanKeyStyle style = KeyStyle(s.key);
            svg << "\" stroke=\"" << (s.stroke.empty() ? style.stroke : s.stroke) << "\" stroke-width=\""
                << std::max(s.width, kThinnest) << "\" fill=\"" << s.fill << '"'
                << (*style.dash ? std::string(" stroke-dasharray=\"") + style.dash + "\"" : "")
                << " stroke-linejoin=\"round\"/>\n";
        }
        ++n->drawn[int(s.key)];
        if (s.owner >= 0 && !objectDrawn[size_t(s.owner)]) objectDrawn[size_t(s.owner)] = true, ++n->objects;
    }
    n->blankObjects = scene.objects - n->objects;
    n->hidden = scene.hidden;
}

}  // namespace

std::string PlanPictureSvg(const ProjectDatabase& db, ModelStore& models, const LibraryStore* libraries,
                           PlanPictureCounts* counts, std::string* skipped) {
    PlanScene scene = GatherPlanScene(db, models, libraries, skipped);
    const std::vector<Contours> contours = TraceContours(scene);
    const Frame f = FrameOf(scene, contours);
    const double shownInterval = AddContourShapes(contours, f, &scene);

    PlanPictureCounts n;
    std::ostringstream svg;
    svg.precision(10);
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << f.width << "\" height=\"" << f.height
        << "\" viewBox=\"0 0 " << f.width << ' ' << f.height
        << "\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    svg << PlanTitleSvg("Site plan",
                        LengthText(f.maxX - f.minX) + " by " + LengthText(f.maxY - f.minY) +
                            ", plan coordinates in metres, north up",
                        Frame::kLeft, 4.0);
    WriteTriangles(scene, f, svg, &n);
    WriteEarthworks(scene, f, svg, &n);
    WriteShapes(scene, f, svg, &n);
    svg << ContourLabelsSvg(ContourLabels(scene, f), shownInterval > 0.0 ? shownInterval : 1.0);
    svg << CoordinateTicksSvg(f.Plot());
    svg << NorthArrowSvg(f.width - Frame::kRight - 18.0, 16.0);
    // The legend explains what was drawn, as counted.
    PlanLegend legend;
    legend.heights = !scene.triangles.empty();
    legend.zMin = f.minZ, legend.zMax = f.maxZ;
    legend.contourInterval = shownInterval;
    for (int k = 0; k < int(PlanKey::Count); ++k) legend.shown[k] = n.drawn[k] > 0;
    legend.earthworks = scene.earthworks;
    legend.cutVolume = scene.cutVolume, legend.fillVolume = scene.fillVolume;
    svg << PlanLegendSvg(legend, Frame::kLeft, f.width - Frame::kRight, Frame::kTop + f.plotH + Frame::kTicks + 6.0,
                         f.scale, f.maxX - f.minX);
    svg << "</svg>\n";
    if (counts != nullptr) *counts = n;
    return svg.str();
}
