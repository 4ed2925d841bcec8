#include "model3d/ObjectBodies.hpp"

#include "model3d/BodyClip.hpp"
#include "model3d/ObjectParams.hpp"
#include "model3d/PlatformBody.hpp"
#include "model3d/StripBody.hpp"
#include "model3d/SurfaceHeight.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kFar = 1e4;  // a platform this far above or below every ground is a typing slip

enum class Role { Cut, Fill, None };

// The height a cut's slopes reach up to, or a fill's down to: a metre past every ground they may meet, the terrain's
// and what the other earthworks on it leave.
double ReachHeight(const EarthworkGround& ground, bool cut) {
    double zMin = 0.0, zMax = 0.0;
    ground.mesh->surface.ZRange(&zMin, &zMax);
    for (const EarthworkReach& o : ground.others) {
        if (cut && o.adds) zMax = std::max(zMax, o.high);
        if (!cut && !o.adds) zMin = std::min(zMin, o.low);
    }
    return cut ? zMax + 1.0 : zMin - 1.0;
}

// The ground's extreme over a region: the terrain's, past what another earthwork whose reach meets it may leave.
GroundExtreme ExtremeOf(const EarthworkGround& ground) {
    return [&ground](const std::vector<std::pair<double, double>>& region, bool highest, double* z) {
        if (!SurfaceExtremeOver(ground.mesh->surface, *ground.mesh->index, region, highest, z)) return false;
        PlanBox box = {region[0].first, region[0].second, region[0].first, region[0].second};
        for (const auto& p : region)
            box = {std::min(box.xMin, p.first), std::min(box.yMin, p.second), std::max(box.xMax, p.first),
                   std::max(box.yMax, p.second)};
        for (const EarthworkReach& o : ground.others)
            if (o.box.Meets(box) && o.adds == highest) *z = highest ? std::max(*z, o.high) : std::min(*z, o.low);
        return true;
    };
}

// The tangent of a slope angle strictly between 0 and 90 degrees.
bool SlopeTangent(const StoredElement& object, const std::string& name, double* tangent, std::string* why) {
    double a = 0.0;
    if (!ObjectNumber(object, name, &a, why)) return false;
    if (!(a > 1e-6 && a < kPi / 2 - 1e-6)) {
        *why = "the slope angle " + name + " is not between 0 and 90 degrees";
        return false;
    }
    *tangent = std::tan(a);
    return true;
}

bool ConvexRing(const PlanRing& ring) {
    const size_t n = ring.points.size();
    int sign = 0;
    for (size_t i = 0; i < n; ++i) {
        const ModelPoint &a = ring.points[i], &b = ring.points[(i + 1) % n], &c = ring.points[(i + 2) % n];
        const double cross = (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
        const int s = cross > 0 ? 1 : cross < 0 ? -1 : 0;
        if (s != 0 && sign != 0 && s != sign) return false;
        if (s != 0) sign = s;
    }
    return true;
}

// The body as it ends at the terrain's outline; a body already inside stays as it is. The cutting prism reaches past
// the body's heights: a plane through its walls would leave points rounded off them, tilting the walls. (Its floor
// lies above the terrain's, which lies below every body linked to it.)
bool EndAtGround(const EarthworkGround& ground, ModelBody* body, std::string* why) {
    if (body->vertices.empty()) return true;
    double low = body->vertices[0].z, high = low;
    bool inside = ground.outline.size() == 1 && ConvexRing(ground.outline[0]);
    for (const ModelPoint& p : body->vertices) {
        low = std::min(low, p.z), high = std::max(high, p.z);
        inside = inside && InsideRings(ground.outline, p.x, p.y);
    }
    if (inside) return true;
    ModelBody part;
    if (!ClipBodyToPrism(*body, ground.outline, low - 1.0, high + 1.0, &part, why)) return false;
    *body = std::move(part);
    return true;
}

// A platform's plane from its `platform` line and, for a sloped one, its `incline` line.
bool ReadPlatform(const StoredElement& object, double base, const LibBodyItem& item, const LibBodyItem* incline,
                  PlatformPlane* plane, std::string* why) {
    const API_ObjectType o = object.record.Get().object;
    std::vector<std::vector<double>> rows;
    if (!ObjectRows(object, item.params[0], 2, &rows, why)) return false;
    plane->outline = ObjectPoints(o, rows, 0, rows.size());
    if (plane->outline.size() < 3) {
        *why = "the outline " + item.params[0] + " has fewer than three points";
        return false;
    }
    double level = 0.0;
    if (!ObjectNumber(object, item.params[1], &level, why)) return false;
    plane->level = base + level;
    plane->x0 = plane->outline[0].x, plane->y0 = plane->outline[0].y;
    if (incline == nullptr) return true;
    double x = 0.0, y = 0.0, slope = 0.0, direction = 0.0;
    if (!ObjectNumber(object, incline->params[0], &x, why) || !ObjectNumber(object, incline->params[1], &y, why) ||
        !ObjectNumber(object, incline->params[2], &slope, why) ||
        !ObjectNumber(object, incline->params[3], &direction, why))
        return false;
    if (!(slope >= 0.0 && slope < kPi / 2 - 1e-6)) {
        *why = "the platform's slope " + incline->params[2] + " is not from 0 up to 90 degrees";
        return false;
    }
    const ModelPoint origin = PlaceObjectPoint(o, x, y, 0.0);
    plane->x0 = origin.x, plane->y0 = origin.y;
    // The direction turns with the object and mirrors with it; the platform falls towards it.
    const double d = (o.reflected ? kPi - direction : direction) + o.angle, g = std::tan(slope);
    plane->gx = -g * std::cos(d), plane->gy = -g * std::sin(d);
    return true;
}

bool PlatformBodies(const StoredElement& object, double base, const LibBodyItem& item, const LibBodyItem* incline,
                    Role role, const EarthworkGround& ground, const std::vector<std::vector<ModelPoint>>& obstacles,
                    std::vector<ModelBody>* bodies, std::string* why) {
    PlatformPlane plane;
    double rise = 0.0;
    if (!ReadPlatform(object, base, item, incline, &plane, why) ||
        !SlopeTangent(object, item.params[role == Role::Cut ? 2 : 3], &rise, why))
        return false;
    if (std::hypot(plane.gx, plane.gy) >= rise) {
        *why = "the platform is as steep as its side slopes or steeper";
        return false;
    }
    for (const ModelPoint& p : plane.outline)
        if (!InsideRings(ground.outline, p.x, p.y)) {
            *why = "the outline " + item.params[0] + " reaches off the terrain";
            return false;
        }
    double zMin = 0.0, zMax = 0.0;
    ground.mesh->surface.ZRange(&zMin, &zMax);
    double low = 1e300, high = -1e300;
    for (const ModelPoint& p : plane.outline) {
        low = std::min(low, plane.At(p.x, p.y));
        high = std::max(high, plane.At(p.x, p.y));
    }
    if (!(high > zMin - kFar && low < zMax + kFar)) {
        *why = "the platform lies more than 10 km off the terrain's heights";
        return false;
    }
    const bool cut = role == Role::Cut;
    const double reach = ReachHeight(ground, cut);
    if (cut ? low >= reach - 1.0 : high <= reach + 1.0) return true;  // nothing to cut or fill
    ModelBody body;
    if (!BuildPlatformBody(plane, rise, cut, reach, ExtremeOf(ground), obstacles, &body, why)) return false;
    // Past the slopes' reach and short of the lid (the floor), so that the plane cuts no face along its side.
    if (!EndAtGround(ground, &body, why)) return false;
    if (!body.vertices.empty()) bodies->push_back(std::move(body));
    return true;
}
// An edge of a strip: its rows placed, a height of 0 being no height known (the ground's is taken there).
bool ReadEdge(const StoredElement& object, double base, const std::string& name, const EarthworkGround& ground,
              std::vector<ModelPoint>* edge, std::string* why) {
    std::vector<std::vector<double>> rows;
    if (!ObjectRows(object, name, 3, &rows, why)) return false;
    const API_ObjectType o = object.record.Get().object;
    edge->clear();
    for (const std::vector<double>& r : rows) {
        if (!std::isfinite(r[0]) || !std::isfinite(r[1]) || !std::isfinite(r[2])) {
            *why = "the edge " + name + " holds a value that is not a number";
            return false;
        }
        ModelPoint p = PlaceObjectPoint(o, r[0], r[1], base + r[2]);
        if (r[2] == 0.0 && !SurfaceHeightAt(ground.mesh->surface, *ground.mesh->index, p.x, p.y, &p.z)) {
            *why = "the edge " + name + " reaches off the terrain";
            return false;
        }
        edge->push_back(p);
    }
    return true;
}

// A strip's sides: its edges and, for a `strip` item, its slopes; a `walk` has upright sides and its cut's
// surface lies its thickness under the edges.
bool ReadSides(const StoredElement& object, double base, const LibBodyItem& item, bool cut,
               const EarthworkGround& ground, StripSides* sides, std::string* why) {
    if (!ReadEdge(object, base, item.params[0], ground, &sides->left, why) ||
        !ReadEdge(object, base, item.params[1], ground, &sides->right, why))
        return false;
    if (item.kind == LibBodyItem::Kind::Strip)
        return SlopeTangent(object, item.params[cut ? 2 : 4], &sides->leftRise, why) &&
            SlopeTangent(object, item.params[cut ? 3 : 5], &sides->rightRise, why);
    double thickness = 0.0;
    if (!ObjectNumber(object, item.params[2], &thickness, why)) return false;
    if (!(thickness > 0.0 && thickness < kFar)) {
        *why = "the thickness " + item.params[2] + " is not above 0 and below 10 km";
        return false;
    }
    sides->upright = true;
    for (std::vector<ModelPoint>* edge : {&sides->left, &sides->right})
        for (ModelPoint& p : *edge) p.z -= cut ? thickness : 0.0;
    return true;
}

bool StripBodies(const StoredElement& object, double base, const LibBodyItem& item, Role role,
                 const EarthworkGround& ground, const std::vector<std::vector<ModelPoint>>& obstacles,
                 std::vector<ModelBody>* bodies, std::string* why) {
    const bool cut = role == Role::Cut;
    StripSides sides;
    if (!ReadSides(object, base, item, cut, ground, &sides, why)) return false;
    // A mirrored object's left edge runs on the right.
    if (object.record.Get().object.reflected)
        std::swap(sides.left, sides.right), std::swap(sides.leftRise, sides.rightRise);
    for (const std::vector<ModelPoint>* edge : {&sides.left, &sides.right})
        for (const ModelPoint& p : *edge)
            if (!InsideRings(ground.outline, p.x, p.y)) {
                *why = "the strip reaches off the terrain";
                return false;
            }
    ModelBody body;
    if (!BuildStripBody(sides, ReachHeight(ground, cut), ExtremeOf(ground), cut, obstacles, &body, why)) return false;
    if (body.vertices.empty()) return true;
    double zMin = 0.0, zMax = 0.0, high = -1e300;
    ground.mesh->surface.ZRange(&zMin, &zMax);
    double low = 1e300;
    for (const ModelPoint& p : body.vertices) high = std::max(high, p.z), low = std::min(low, p.z);
    // Always through the clip: the solid comes back closed and oriented outward. Its heights pass the body's: a
    // plane through the slopes' feet or the cap would cut slivers off along them, which the rounding back to
    // doubles tilts.
    ModelBody part;
    if (!ClipBodyToPrism(body, ground.outline, std::min(cut ? ground.mesh->floorZ : low, low) - 1.0,
                         std::max(cut ? zMax : high, high) + 1.0, &part, why))
        return false;
    if (!part.vertices.empty()) bodies->push_back(std::move(part));
    return true;
}
// The obstacles' paths: several polylines in one array, row j holding path j's points as x, y, z triples. A path
// is open (a wall's line); one that ends where it starts runs round.
bool ReadObstacles(const StoredElement& object, const LibBodyItem& item, std::vector<std::vector<ModelPoint>>* paths,
                   std::string* why) {
    std::vector<std::vector<double>> counts, rows;
    if (!ObjectRows(object, item.params[0], 1, &counts, why) || !ObjectRows(object, item.params[1], 3, &rows, why))
        return false;
    const API_ObjectType o = object.record.Get().object;
    for (size_t j = 0; j < counts.size() && j < rows.size(); ++j) {
        const double c = counts[j][0];
        if (!(c >= 0.0) || c * 3 > double(rows[j].size())) {
            *why = "obstacle " + std::to_string(j + 1) + " counts more points than its row holds";
            return false;
        }
        std::vector<std::vector<double>> triples;
        for (size_t k = 0; k < size_t(c); ++k) {
            if (!std::isfinite(rows[j][3 * k]) || !std::isfinite(rows[j][3 * k + 1])) {
                *why = "obstacle " + std::to_string(j + 1) + " holds a value that is not a number";
                return false;
            }
            triples.push_back({rows[j][3 * k], rows[j][3 * k + 1], 0.0});
        }
        std::vector<ModelPoint> path;
        for (const ModelPoint& p : ObjectPoints(o, triples, 0, triples.size()))
            if (path.empty() || p.x != path.back().x || p.y != path.back().y) path.push_back(p);
        if (path.size() >= 2) paths->push_back(std::move(path));
    }
    return true;
}
}  // namespace

bool EarthworkReachOf(const StoredElement& object, double storyLevel, const std::vector<LibBodyItem>& items,
                      const EarthworkGround& ground, bool adds, EarthworkReach* reach) {
    const LibBodyItem *platform = nullptr, *incline = nullptr, *strip = nullptr;
    for (const LibBodyItem& item : items) {
        if (item.kind == LibBodyItem::Kind::Platform) platform = &item;
        if (item.kind == LibBodyItem::Kind::Incline) incline = &item;
        if (item.kind == LibBodyItem::Kind::Strip || item.kind == LibBodyItem::Kind::Walk) strip = &item;
    }
    if ((platform == nullptr && strip == nullptr) || ground.mesh == nullptr) return false;
    std::string why;
    const double base = storyLevel + object.record.Get().object.level;
    std::vector<ModelPoint> points;
    double tangent = 0.0, depth = 0.0;  // the gentlest slope; how far a walk's cut lies under its edges
    if (platform != nullptr) {
        PlatformPlane plane;
        if (!ReadPlatform(object, base, *platform, incline, &plane, &why) ||
            !SlopeTangent(object, platform->params[adds ? 3 : 2], &tangent, &why))
            return false;
        for (const ModelPoint& p : plane.outline) points.push_back({p.x, p.y, plane.At(p.x, p.y)});
    } else {
        std::vector<ModelPoint> left, right;
        if (!ReadEdge(object, base, strip->params[0], ground, &left, &why) ||
            !ReadEdge(object, base, strip->params[1], ground, &right, &why))
            return false;
        points = left;
        points.insert(points.end(), right.begin(), right.end());
        double t2 = 0.0;
        if (strip->kind == LibBodyItem::Kind::Strip) {
            if (!SlopeTangent(object, strip->params[adds ? 4 : 2], &tangent, &why) ||
                !SlopeTangent(object, strip->params[adds ? 5 : 3], &t2, &why))
                return false;
            tangent = std::min(tangent, t2);
        } else if (!adds && !ObjectNumber(object, strip->params[2], &depth, &why)) {
            return false;
        }
    }
    if (points.empty()) return false;
    reach->low = reach->high = points[0].z;
    for (const ModelPoint& p : points) reach->low = std::min(reach->low, p.z), reach->high = std::max(reach->high, p.z);
    reach->low -= std::max(depth, 0.0);
    reach->adds = adds;
    double zMin = 0.0, zMax = 0.0;
    ground.mesh->surface.ZRange(&zMin, &zMax);
    // As far as its slopes can run before they are clear of the terrain's heights.
    const double d =
        tangent > 0.0 ? std::max(0.0, adds ? reach->high - zMin + 1.0 : zMax + 1.0 - reach->low) / tangent : 0.0;
    const PlanBox box = BoxOf(points);
    reach->box = {box.xMin - d, box.yMin - d, box.xMax + d, box.yMax + d};
    return std::isfinite(reach->low) && std::isfinite(reach->high) && std::isfinite(d);
}

bool BuildObjectBodies(const StoredElement& object, double storyLevel, const std::vector<LibBodyItem>& items,
                       const EarthworkGround& ground, std::vector<ModelBody>* bodies, std::string* why,
                       const std::u16string* asRole) {
    bodies->clear();
    Role role = Role::Cut;
    const LibBodyItem *platform = nullptr, *incline = nullptr, *strip = nullptr, *obstacle = nullptr;
    for (const LibBodyItem& item : items) {
        if (item.kind == LibBodyItem::Kind::Role) {
            std::u16string text;
            if (asRole != nullptr)
                text = *asRole;
            else if (!ObjectText(object, item.params[0], &text, why))
                return false;
            role = text == u"fill" ? Role::Fill : text == u"result" ? Role::None : Role::Cut;
        }
        if (item.kind == LibBodyItem::Kind::Platform) platform = &item;
        if (item.kind == LibBodyItem::Kind::Incline) incline = &item;
        if (item.kind == LibBodyItem::Kind::Obstacle) obstacle = &item;
        if (item.kind == LibBodyItem::Kind::Strip || item.kind == LibBodyItem::Kind::Walk) strip = &item;
    }
    if (role == Role::None || (platform == nullptr && strip == nullptr)) return true;
    if (ground.mesh == nullptr || ground.outline.empty() || ground.mesh->surface.points.empty()) {
        *why = "no terrain is linked to it, so its slopes meet no ground";
        return false;
    }
    const double base = storyLevel + object.record.Get().object.level;
    std::vector<std::vector<ModelPoint>> obstacles;
    if ((obstacle != nullptr && !ReadObstacles(object, *obstacle, &obstacles, why)) ||
        !(platform != nullptr ? PlatformBodies(object, base, *platform, incline, role, ground, obstacles, bodies, why)
                              : StripBodies(object, base, *strip, role, ground, obstacles, bodies, why)))
        return false;
    return true;
}
