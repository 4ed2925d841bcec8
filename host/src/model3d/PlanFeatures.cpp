#include "model3d/PlanFeatures.hpp"

#include "model3d/ObjectParams.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

std::vector<ModelPoint> OffsetLine(const std::vector<ModelPoint>& line, double distance) {
    std::vector<ModelPoint> out;
    const size_t n = line.size();
    // The unit normal (left) of side i, from point i to i + 1; none for a side of no length.
    const auto normal = [&](size_t i, double* nx, double* ny) {
        const double dx = line[i + 1].x - line[i].x, dy = line[i + 1].y - line[i].y, len = std::hypot(dx, dy);
        if (!(len > 0.0)) return false;
        *nx = -dy / len, *ny = dx / len;
        return true;
    };
    for (size_t i = 0; i < n; ++i) {
        double ax = 0, ay = 0, bx = 0, by = 0;
        const bool a = i > 0 && normal(i - 1, &ax, &ay), b = i + 1 < n && normal(i, &bx, &by);
        double nx = ax + bx, ny = ay + by;
        const double len = std::hypot(nx, ny);
        if (!(len > 1e-12)) {
            if (!a && !b) continue;  // a point with no side of length
            nx = b ? bx : ax, ny = b ? by : ay;
        } else {
            nx /= len, ny /= len;
        }
        // The corner's point keeps the distance to both sides: 1 / cos of half the turn, at most 2.
        const double along = a && b ? std::max(nx * bx + ny * by, 0.5) : 1.0;
        out.push_back({line[i].x + nx * distance / along, line[i].y + ny * distance / along, line[i].z});
    }
    return out;
}

ObjectPlan ReadObjectPlan(const StoredElement& object, const std::vector<LibPlanItem>& items,
                          std::vector<std::string>* faults) {
    ObjectPlan plan;
    const API_ObjectType o = object.record.Get().object;
    for (const LibPlanItem& item : items) {
        std::string why;
        std::vector<std::vector<double>> rows;
        // Items that name no parameter (the daylight lines) read none.
        static const std::string kNone;
        const std::string& first = item.params.empty() ? kNone : item.params[0];
        bool ok = true;
        switch (item.kind) {
            case LibPlanItem::Kind::Line:
            case LibPlanItem::Kind::Outline: {
                ok = ObjectRows(object, first, 2, &rows, &why);
                if (!ok) break;
                FeatureShape s;
                s.kind = item.kind == LibPlanItem::Kind::Line ? FeatureShape::Kind::Line : FeatureShape::Kind::Outline;
                s.points = ObjectPoints(o, rows, 0, rows.size());
                // An array never written holds its one row of zeros: nothing to draw, and no fault.
                if (s.points.size() >= (s.kind == FeatureShape::Kind::Line ? 2u : 3u)) plan.shapes.push_back(s);
                break;
            }
            case LibPlanItem::Kind::Outlines: {
                std::vector<std::vector<double>> counts;
                ok = ObjectRows(object, first, 1, &counts, &why) && ObjectRows(object, item.params[1], 3, &rows, &why);
                if (!ok) break;
                for (size_t j = 0; j < counts.size() && j < rows.size(); ++j) {
                    const double c = counts[j][0];
                    if (!(c >= 0.0) || c * 3 > double(rows[j].size())) {
                        ok = false;
                        why = "ring " + std::to_string(j + 1) + " of " + item.params[1] +
                            " counts more points than its row holds";
                        break;
                    }
                    // Area j is row j read as triples: x, y and a code, -1 ending each of its contours.
                    std::vector<std::vector<double>> triples;
                    for (size_t k = 0; k < size_t(c); ++k) {
                        triples.push_back({rows[j][3 * k], rows[j][3 * k + 1], 0.0});
                        if (rows[j][3 * k + 2] != -1.0 && k + 1 < size_t(c)) continue;
                        FeatureShape s;
                        s.kind = FeatureShape::Kind::Outline;
                        s.points = ObjectPoints(o, triples, 0, triples.size());
                        if (s.points.size() >= 3) plan.shapes.push_back(s);
                        triples.clear();
                    }
                }
                break;
            }
            case LibPlanItem::Kind::Foot: {
                double depth = 0.0, angle = 0.0;
                ok = ObjectRows(object, first, 2, &rows, &why) && ObjectNumber(object, item.params[1], &depth, &why) &&
                    ObjectNumber(object, item.params[2], &angle, &why);
                if (!ok) break;
                const double t = std::tan(angle);
                if (!(std::abs(t) > 1e-9) || !std::isfinite(t)) {
                    ok = false;
                    why = "slope angle " + item.params[2] + " gives no slope";
                    break;
                }
                std::vector<ModelPoint> line = ObjectPoints(o, rows, 0, rows.size());
                if (line.size() < 2) break;
                // Mirroring turns left into right.
                const double side = (item.left != (o.reflected != 0)) ? 1.0 : -1.0;
                FeatureShape s;
                s.kind = FeatureShape::Kind::Foot;
                s.points = OffsetLine(line, side * std::abs(depth / t));
                if (s.points.size() >= 2) plan.shapes.push_back(s);
                break;
            }
            case LibPlanItem::Kind::Contours: {
                LevelLineRequest r;
                double a = 0.0, b = 0.0, main = 0.0, shown = 1.0;
                ok = ObjectNumber(object, item.params[0], &r.step, &why) &&
                    ObjectNumber(object, item.params[1], &r.first, &why) &&
                    ObjectNumber(object, item.params[2], &r.last, &why) && ObjectNumber(object, "A", &a, &why) &&
                    ObjectNumber(object, "B", &b, &why) &&
                    (item.params.size() < 4 || ObjectNumber(object, item.params[3], &main, &why)) &&
                    (item.params.size() < 5 || ObjectNumber(object, item.params[4], &shown, &why));
                if (!ok) break;
                if (!(r.step > 0.0)) {
                    ok = false;
                    why = "level-line step " + item.params[0] + " is not above 0";
                    break;
                }
                if (r.first > r.last) std::swap(r.first, r.last);
                r.mainStep = shown != 0.0 && main >= 1.0 && main < 1e6 ? int32_t(main) : 0;
                const ModelPoint corners[4] = {PlaceObjectPoint(o, 0, 0, 0), PlaceObjectPoint(o, a, 0, 0),
                                               PlaceObjectPoint(o, a, b, 0), PlaceObjectPoint(o, 0, b, 0)};
                r.box = BoxOf(std::vector<ModelPoint>(corners, corners + 4));
                plan.levelLines.push_back(r);
                break;
            }
            case LibPlanItem::Kind::Daylight: plan.daylight = true; break;
            case LibPlanItem::Kind::Below: {
                GroundBelowRequest r;
                ok = ObjectNumber(object, first, &r.level, &why);
                if (!ok) break;
                // The box as the object stands unturned: it only picks the triangles cut at the level.
                r.box = {o.pos.x, o.pos.y, o.pos.x + o.xRatio, o.pos.y + o.yRatio};
                plan.groundBelow.push_back(r);
                break;
            }
        }
        if (!ok) faults->push_back(why);
    }
    return plan;
}
