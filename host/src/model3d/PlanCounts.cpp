#include "model3d/PlanCounts.hpp"

namespace {
struct KindWords {
    PlanKey key;
    const char *one, *many;
    bool always;
};
// In the order of the count line.
constexpr KindWords kKinds[] = {{PlanKey::Point, "point", "points", true},
                                {PlanKey::Contour, "contour line", "contour lines", true},
                                {PlanKey::LevelLine, "level line", "level lines", false},
                                {PlanKey::Line, "line", "lines", false},
                                {PlanKey::Polyline, "polyline", "polylines", false},
                                {PlanKey::Fill, "fill", "fills", false},
                                {PlanKey::Edge, "edge", "edges", false},
                                {PlanKey::Foot, "slope foot", "slope feet", false},
                                {PlanKey::Daylight, "daylight line", "daylight lines", false},
                                {PlanKey::Outline, "outline", "outlines", false}};

std::string Counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}
}  // namespace

std::string PlanCountLine(const PlanPictureCounts& n) {
    std::string line = Counted(n.triangles, "triangle", "triangles");
    if (n.cutFaces > 0 || n.fillFaces > 0)
        line += ", " + std::to_string(n.cutFaces) + " cut and " + Counted(n.fillFaces, "fill face", "fill faces");
    for (const KindWords& k : kKinds)
        if (k.always || n.Of(k.key) > 0) line += ", " + Counted(n.Of(k.key), k.one, k.many);
    line += "; " + Counted(n.objects, "object", "objects") + " drawn, " + std::to_string(n.WithoutPlanData()) +
        " without plan data";
    if (n.blankObjects > 0) line += ", " + std::to_string(n.blankObjects) + " with nothing to draw";
    if (n.hidden > 0) line += "; " + Counted(n.hidden, "element", "elements") + " on hidden layers left out";
    return line;
}
