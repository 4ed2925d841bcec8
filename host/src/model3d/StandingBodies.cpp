#include "model3d/StandingBodies.hpp"

#include "model3d/ObjectParams.hpp"
#include "model3d/PathBand.hpp"
#include "model3d/PrismBody.hpp"
#include "model3d/RoofBody.hpp"
#include "model3d/TrackBodies.hpp"

#include <algorithm>
#include <array>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kFar = 1e4;  // a size or a level this far off is a typing slip
// A railing as the host draws it, the parameters giving no size: an upright band on the deck's edge.
constexpr double kRailingThick = 0.05, kRailingHigh = 1.0;

// What every standing body reads: the object, where its heights stand, the ground's range.
struct Standing {
    const StoredElement& object;
    API_ObjectType o;
    double base = 0.0;   // the object's level in the model
    double shift = 0.0;  // added to the heights the add-on wrote
    bool ground = false;
    double groundLow = 0.0, groundHigh = 0.0;
};

bool Length(const StoredElement& object, const std::string& name, double* value, std::string* why) {
    if (!ObjectNumber(object, name, value, why)) return false;
    if (!(*value > 0.0 && *value < kFar)) {
        *why = "the size " + name + " is not above 0 and below 10 km";
        return false;
    }
    return true;
}

bool NearGround(const Standing& s, double z, const std::string& name, std::string* why) {
    const bool near = s.ground ? z > s.groundLow - kFar && z < s.groundHigh + kFar : std::fabs(z) < 1e7;
    if (!near) *why = "the heights of " + name + " lie more than 10 km off the terrain's";
    return near;
}

// Whether two segments of a path that do not follow each other meet in plan.
bool PathCrosses(const std::vector<ModelPoint>& path) {
    const auto side = [](const ModelPoint& a, const ModelPoint& b, const ModelPoint& c) {
        const double d = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        return d > 0 ? 1 : d < 0 ? -1 : 0;
    };
    for (size_t i = 0; i + 1 < path.size(); ++i)
        for (size_t j = i + 2; j + 1 < path.size(); ++j) {
            const ModelPoint &a = path[i], &b = path[i + 1], &c = path[j], &d = path[j + 1];
            if (side(a, b, c) * side(a, b, d) <= 0 && side(c, d, a) * side(c, d, b) <= 0 &&
                std::max(a.x, b.x) >= std::min(c.x, d.x) && std::max(c.x, d.x) >= std::min(a.x, b.x) &&
                std::max(a.y, b.y) >= std::min(c.y, d.y) && std::max(c.y, d.y) >= std::min(a.y, b.y))
                return true;
        }
    return false;
}

// A path's rows (x, y, z) placed, at their heights; points that repeat the one before are left out.
bool ReadPath(const Standing& s, const std::string& name, std::vector<ModelPoint>* path, std::string* why) {
    std::vector<std::vector<double>> rows;
    if (!ObjectRows(s.object, name, 3, &rows, why)) return false;
    path->clear();
    for (const std::vector<double>& r : rows) {
        if (!std::isfinite(r[0]) || !std::isfinite(r[1]) || !std::isfinite(r[2])) {
            *why = "the path " + name + " holds a value that is not a number";
            return false;
        }
        const ModelPoint p = PlaceObjectPoint(s.o, r[0], r[1], r[2] + s.shift);
        if (!NearGround(s, p.z, name, why)) return false;
        if (path->empty() || std::hypot(p.x - path->back().x, p.y - path->back().y) > 1e-9) path->push_back(p);
    }
    if (path->size() < 2) {
        *why = "the path " + name + " has fewer than two points";
        return false;
    }
    if (PathCrosses(*path)) {
        *why = "the path " + name + " crosses itself";
        return false;
    }
    return true;
}

// The band between offsets `a` and `b` from the path (either order), from `low` to `high` above it; the bottom at
// `floor` instead where it is given.
bool Band(const std::vector<ModelPoint>& path, const std::vector<ModelPoint>& normals, double a, double b, double low,
          double high, const double* floor, std::vector<ModelBody>* bodies, std::string* why) {
    const double left = std::max(a, b), right = std::min(a, b);
    std::vector<ModelPoint> lt = OffsetPath(path, normals, left, high), rt = OffsetPath(path, normals, right, high);
    std::vector<ModelPoint> lb = OffsetPath(path, normals, left, low), rb = OffsetPath(path, normals, right, low);
    if (floor != nullptr)
        for (std::vector<ModelPoint>* side : {&lb, &rb})
            for (ModelPoint& p : *side) p.z = *floor;
    if (!RunsAlong(path, lt) || !RunsAlong(path, rt)) {
        *why = "the body folds back on itself where the path turns more tightly than its width";
        return false;
    }
    bodies->push_back(BandBody(lt, lb, rt, rb));
    return true;
}

double LowestZ(const std::vector<ModelPoint>& points) {
    double z = points[0].z;
    for (const ModelPoint& p : points) z = std::min(z, p.z);
    return z;
}

bool WallBodies(const Standing& s, const LibBodyItem& item, std::vector<ModelBody>* bodies, std::string* why) {
    std::vector<ModelPoint> path, normals;
    double thickness = 0.0, height = 0.0;
    std::u16string side;
    if (!ReadPath(s, item.params[0], &path, why) || !Length(s.object, item.params[1], &thickness, why) ||
        !Length(s.object, item.params[2], &height, why) || !ObjectText(s.object, item.params[3], &side, why) ||
        !MitredNormals(path, &normals, why))
        return false;
    // Left of the path as the object sees it; a mirrored object's left lies on the right.
    double a = side == u"left" ? thickness : side == u"right" ? 0.0 : thickness / 2;
    double b = a - thickness;
    if (s.o.reflected) a = -a, b = -b;
    const double floor = std::min(s.groundLow, LowestZ(path)) - 1.0;
    return Band(path, normals, a, b, 0.0, height, s.ground ? &floor : nullptr, bodies, why);
}

// A face's angle as the run inward per metre of height (0 for an upright face).
bool FaceRun(const StoredElement& object, const std::string& name, double* run, std::string* why) {
    double a = 0.0;
    if (!ObjectNumber(object, name, &a, why)) return false;
    if (!(a > 1e-6 && a <= kPi / 2 + 1e-9)) {
        *why = "the face angle " + name + " is not above 0 and up to 90 degrees";
        return false;
    }
    *run = a >= kPi / 2 - 1e-12 ? 0.0 : 1.0 / std::tan(a);
    return true;
}

bool FacesBodies(const Standing& s, const LibBodyItem& item, std::vector<ModelBody>* bodies, std::string* why) {
    std::vector<ModelPoint> first, second, n1, n2;
    double height = 0.0, run1 = 0.0, run2 = 0.0;
    if (!ReadPath(s, item.params[0], &first, why) || !ReadPath(s, item.params[1], &second, why) ||
        !Length(s.object, item.params[2], &height, why) || !FaceRun(s.object, item.params[3], &run1, why) ||
        !FaceRun(s.object, item.params[4], &run2, why))
        return false;
    // Both faces in the first one's direction.
    const double along = (first.back().x - first.front().x) * (second.back().x - second.front().x) +
        (first.back().y - first.front().y) * (second.back().y - second.front().y);
    if (along < 0.0) std::reverse(second.begin(), second.end());
    if (!MitredNormals(first, &n1, why) || !MitredNormals(second, &n2, why)) return false;
    const double apart = (second[0].x - first[0].x) * n1[0].x + (second[0].y - first[0].y) * n1[0].y;
    if (!(std::fabs(apart) > 1e-9)) {
        *why = "the faces " + item.params[0] + " and " + item.params[1] + " start on one line";
        return false;
    }
    if (height * (run1 + run2) >= std::fabs(apart)) {
        *why = "the faces lean in so far that they meet below the wall's top";
        return false;
    }
    // The face on the left leans right (against its left normal), the one on the right leans left.
    const bool secondLeft = apart > 0.0;
    const std::vector<ModelPoint>& left = secondLeft ? second : first;
    const std::vector<ModelPoint>& right = secondLeft ? first : second;
    const std::vector<ModelPoint>& nl = secondLeft ? n2 : n1;
    const std::vector<ModelPoint>& nr = secondLeft ? n1 : n2;
    const double runLeft = secondLeft ? run2 : run1, runRight = secondLeft ? run1 : run2;
    const std::vector<ModelPoint> lt = OffsetPath(left, nl, -height * runLeft, height);
    const std::vector<ModelPoint> rt = OffsetPath(right, nr, height * runRight, height);
    if (!RunsAlong(left, lt) || !RunsAlong(right, rt)) {
        *why = "the wall's top folds back on itself where its faces turn";
        return false;
    }
    bodies->push_back(BandBody(lt, left, rt, right));
    return true;
}

// The outline's contours: the last column -1 ends one; each closed, without its closing repeat.
bool ReadContours(const Standing& s, const std::string& name, std::vector<PlanRing>* rings, std::string* why) {
    std::vector<std::vector<double>> rows;
    if (!ObjectRows(s.object, name, 2, &rows, why)) return false;
    rings->assign(1, PlanRing());
    for (const std::vector<double>& r : rows) {
        if (!std::isfinite(r[0]) || !std::isfinite(r[1])) {
            *why = "the outline " + name + " holds a value that is not a number";
            return false;
        }
        std::vector<ModelPoint>& ring = rings->back().points;
        const ModelPoint p = PlaceObjectPoint(s.o, r[0], r[1], 0.0);
        if (ring.empty() || std::hypot(p.x - ring.back().x, p.y - ring.back().y) > 1e-9) ring.push_back(p);
        if (r.size() > 2 && r.back() == -1.0) rings->push_back(PlanRing());
    }
    if (rings->back().points.empty()) rings->pop_back();
    for (PlanRing& ring : *rings) {
        std::vector<ModelPoint>& p = ring.points;
        if (p.size() > 1 && std::hypot(p.front().x - p.back().x, p.front().y - p.back().y) <= 1e-9) p.pop_back();
        if (p.size() < 3) {
            *why = "a contour of the outline " + name + " has fewer than three points";
            return false;
        }
        if (SignedArea(ring) == 0.0) {
            *why = "the outline " + name + " crosses itself (a contour bounds no area)";
            return false;
        }
    }
    if (rings->empty()) *why = "the outline " + name + " has no contour";
    return !rings->empty();
}

// The roof's rise per metre from its sides; 0 when the roof is off.
bool RoofRise(const StoredElement& object, const LibBodyItem* roof, double* rise, std::string* why) {
    *rise = 0.0;
    double on = 0.0, a = 0.0;
    if (roof == nullptr) return true;
    if (!ObjectNumber(object, roof->params[0], &on, why)) return false;
    if (on == 0.0) return true;
    if (!ObjectNumber(object, roof->params[1], &a, why)) return false;
    if (!(a > 1e-6 && a < kPi / 2 - 1e-6)) {
        *why = "the roof angle " + roof->params[1] + " is not between 0 and 90 degrees";
        return false;
    }
    *rise = std::tan(a);
    return true;
}

// The upright prism over the rings (even-odd) from `low` to `high`, outward-oriented; under its roof when it has
// one on, the eaves at `high`.
bool BlockBodies(const Standing& s, const LibBodyItem& item, const LibBodyItem* roof, std::vector<ModelBody>* bodies,
                 std::string* why) {
    std::vector<PlanRing> rings;
    double height = 0.0, depth = 0.0, rise = 0.0;
    if (!ReadContours(s, item.params[0], &rings, why) || !ObjectNumber(s.object, item.params[1], &height, why) ||
        !ObjectNumber(s.object, item.params[2], &depth, why) || !RoofRise(s.object, roof, &rise, why))
        return false;
    const double top = height + depth + s.shift;
    if (!NearGround(s, top, item.params[1] + " + " + item.params[2], why)) return false;
    // On a terrain: down to below its lowest point, nothing when the top stays under the ground. Without one: on
    // the object's level.
    const double bottom = s.ground ? s.groundLow - 1.0 : s.base;
    if (s.ground && top <= s.groundLow) return true;
    if (!(top > bottom)) {
        *why = "the top " + item.params[1] + " + " + item.params[2] + " is not above the object's level";
        return false;
    }
    ModelBody body;
    double ridge = top;
    if (!(rise > 0.0 ? RoofedPrismBody(rings, bottom, top, rise, &body, &ridge, why)
                     : PrismBody(rings, bottom, top, &body, why))) {
        if (why->rfind("the roof", 0) != 0) *why = "the outline " + item.params[0] + " crosses itself (" + *why + ")";
        return false;
    }
    if (!NearGround(s, ridge, "the roof", why)) return false;
    bodies->push_back(std::move(body));
    return true;
}

// The tracks' layout when the rails are on; no tracks (0) when they are off.
bool ReadTracks(const StoredElement& object, const LibBodyItem* rails, TrackLayout* layout, std::string* why) {
    double on = 0.0, tracks = 0.0;
    layout->tracks = 0;
    if (rails == nullptr) return true;
    if (!ObjectNumber(object, rails->params[0], &on, why)) return false;
    if (on == 0.0) return true;
    if (!ObjectNumber(object, rails->params[1], &tracks, why)) return false;
    if (!(tracks >= 1 && tracks <= 20 && tracks == std::floor(tracks))) {
        *why = "the track count " + rails->params[1] + " is not a whole number from 1 to 20";
        return false;
    }
    layout->tracks = int(tracks);
    if (!Length(object, rails->params[2], &layout->gauge, why) ||
        !ObjectNumber(object, rails->params[3], &layout->tieSpacing, why))
        return false;
    if (!(layout->tieSpacing >= kTieWidth && layout->tieSpacing < kFar)) {
        *why = "the tie spacing " + rails->params[3] + " is not from a tie's width (0.25 m) to 10 km";
        return false;
    }
    return true;
}

bool DeckBodies(const Standing& s, const LibBodyItem& item, const LibBodyItem* railings, const LibBodyItem* rails,
                std::vector<ModelBody>* bodies, std::string* why) {
    std::vector<ModelPoint> path, normals;
    double width = 0.0, thickness = 0.0;
    TrackLayout tracks;
    if (!ReadPath(s, item.params[0], &path, why) || !Length(s.object, item.params[1], &width, why) ||
        !Length(s.object, item.params[2], &thickness, why) || !MitredNormals(path, &normals, why) ||
        !ReadTracks(s.object, rails, &tracks, why))
        return false;
    // Each side's sidewalk, when it is on: its width and thickness.
    double walk[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
    for (int side = 0; side < 2; ++side) {
        double on = 0.0;
        if (!ObjectNumber(s.object, item.params[size_t(3 + 3 * side)], &on, why)) return false;
        if (on != 0.0 &&
            (!Length(s.object, item.params[size_t(4 + 3 * side)], &walk[side][0], why) ||
             !Length(s.object, item.params[size_t(5 + 3 * side)], &walk[side][1], why)))
            return false;
    }
    // Offsets to the object's left; a mirrored object's left lies on the right.
    const double f = s.o.reflected ? -1.0 : 1.0, half = width / 2;
    if (!Band(path, normals, f * (half + walk[0][0]), -f * (half + walk[1][0]), -thickness, 0.0, nullptr, bodies, why))
        return false;
    for (int side = 0; side < 2; ++side) {
        const double g = side == 0 ? f : -f;
        if (walk[side][0] > 0.0 &&
            !Band(path, normals, g * half, g * (half + walk[side][0]), 0.0, walk[side][1], nullptr, bodies, why))
            return false;
    }
    // Each railing that is on stands on the deck's outer edge, on the sidewalk's top where there is one.
    for (int side = 0; side < 2 && railings != nullptr; ++side) {
        double on = 0.0;
        if (!ObjectNumber(s.object, railings->params[size_t(side)], &on, why)) return false;
        const double g = side == 0 ? f : -f, edge = half + walk[side][0], foot = walk[side][1];
        if (on != 0.0 &&
            !Band(path, normals, g * edge, g * (edge - kRailingThick), foot, foot + kRailingHigh, nullptr, bodies, why))
            return false;
    }
    tracks.roadWidth = width;
    return tracks.tracks == 0 || BuildTrackBodies(path, normals, tracks, bodies, why);
}
}  // namespace

bool DescribesStandingBody(const std::vector<LibBodyItem>& items) {
    return std::any_of(items.begin(), items.end(), [](const LibBodyItem& item) {
        return item.kind == LibBodyItem::Kind::Wall || item.kind == LibBodyItem::Kind::Faces ||
            item.kind == LibBodyItem::Kind::Block || item.kind == LibBodyItem::Kind::Deck;
    });
}

bool BuildStandingBodies(const StoredElement& object, double storyLevel, const std::vector<LibBodyItem>& items,
                         const EarthworkGround& ground, std::vector<ModelBody>* bodies, std::string* why) {
    bodies->clear();
    Standing s{object, object.record.Get().object};
    s.base = storyLevel + s.o.level;
    s.ground = ground.mesh != nullptr && !ground.mesh->surface.Empty();
    if (s.ground) ground.mesh->surface.ZRange(&s.groundLow, &s.groundHigh);
    // A roof goes with the block, railings and rails with the deck.
    const LibBodyItem *roof = nullptr, *railings = nullptr, *rails = nullptr;
    for (const LibBodyItem& item : items) {
        if (item.kind == LibBodyItem::Kind::Roof) roof = &item;
        if (item.kind == LibBodyItem::Kind::Railings) railings = &item;
        if (item.kind == LibBodyItem::Kind::Rails) rails = &item;
    }
    for (const LibBodyItem& item : items) {
        if (!DescribesStandingBody({item})) continue;
        // The add-on's heights are the terrain's where the object stood at the level it names; they move with it.
        double placedAt = 0.0;
        if (!ObjectNumber(object, item.params.back(), &placedAt, why)) return false;
        s.shift = s.base - placedAt;
        const bool built = item.kind == LibBodyItem::Kind::Wall ? WallBodies(s, item, bodies, why)
            : item.kind == LibBodyItem::Kind::Faces             ? FacesBodies(s, item, bodies, why)
            : item.kind == LibBodyItem::Kind::Block             ? BlockBodies(s, item, roof, bodies, why)
                                                                : DeckBodies(s, item, railings, rails, bodies, why);
        if (!built) {
            bodies->clear();
            return false;
        }
    }
    return true;
}
