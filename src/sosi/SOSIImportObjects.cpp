// The chosen SOSI objects turned into SOSIData records: selection, thinning, simplification, surfaces.
#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSITokens.hpp"

#include "foundation/Language.hpp"
#include "geometry/ArcSegmentation.hpp"
#include "geometry/BezierDivision.hpp"
#include "geometry/QV_Arc.hpp"

#include <cmath>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>
#include <algorithm>

namespace {

constexpr double Eps = 1e-7;

bool Equal3(const API_Coord3D& a, const API_Coord3D& b) {
    return std::fabs(a.x - b.x) < Eps && std::fabs(a.y - b.y) < Eps && std::fabs(a.z - b.z) < Eps;
}
bool EqualPlan(const API_Coord3D& a, const API_Coord3D& b) {
    return std::fabs(a.x - b.x) < Eps && std::fabs(a.y - b.y) < Eps;
}
double PlanDist2(const API_Coord3D& a, const API_Coord3D& b) {
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}
const API_Coord3D& Last(const QV_List<API_Coord3D>& l) { return l[l.GetCount() - 1]; }

// Fewest points an object of a kind needs to be drawn at all.
bool HasEnoughPoints(int16_t kind, const QV_List<API_Coord3D>& points) {
    const int32_t n = points.GetCount();
    switch (kind) {
        case SOSIKindPoint:
        case SOSIKindSwarm:
        case SOSIKindCircle:
        case SOSIKindText: return n >= 1;
        case SOSIKindLine:
        case SOSIKindCurve: return n >= 2 && (n >= 3 || !Equal3(points[0], points[n - 1]));
        case SOSIKindArcByRadius: return n >= 2;
        case SOSIKindArcByPoints:
        case SOSIKindCircleByPoints: return n >= 3;
        case SOSIKindBezier: return n >= 4;
        default: return true;
    }
}

std::u16string Key(const QV_String& s) {
    return std::u16string(s.GetBuffer() != nullptr ? s.GetBuffer() : u"", s.GetLength());
}

bool ConstantHeight(const QV_List<API_Coord3D>& c) {
    for (int32_t i = 1; i < c.GetCount(); ++i)
        if (std::fabs(c[i].z - c[i - 1].z) >= Eps) return false;
    return true;
}

}  // namespace

const SOSIOType* SOSIFileCls::FindTypeRow(const QV_String& name) const {
    for (int32_t t = 0; t < types.GetCount(); ++t)
        if (types[t].name == name) return &types[t];
    return nullptr;
}

bool SOSIFileCls::IsDuplicatePoint(const API_Coord3D& p, const double* distance) const {
    const double d = distance != nullptr ? *distance : tolerance;
    if (std::fabs(d) < Eps) return false;
    for (int32_t r = 0; r < data.GetCount(); ++r)
        if (data[r].geometryKind == SOSIKindPoint && !data[r].coords.IsEmpty() &&
            PlanDist2(data[r].coords[0], p) < d * d)
            return true;
    return false;
}

void SOSIFileCls::ThinPointSwarm(QV_List<API_Coord3D>& points, const double* distance) const {
    const double d = distance != nullptr ? *distance : tolerance;
    if (std::fabs(d) < Eps) return;
    QV_List<API_Coord3D> kept;
    for (int32_t i = 0; i < points.GetCount(); ++i) {
        bool near = false;
        for (int32_t k = 0; k < kept.GetCount() && !near; ++k) near = PlanDist2(kept[k], points[i]) < d * d;
        if (!near && !IsDuplicatePoint(points[i], &d)) kept.Insert(points[i]);
    }
    points = kept;
}

bool SOSIFileCls::SimplifyLine(QV_List<API_Coord3D>& points, double d, bool isRing) const {
    if (points.GetCount() < 2) return isRing;
    const bool closed = Equal3(points[0], Last(points));
    API_Coord3D held{};
    if (!closed) {
        held = Last(points);
        points.Remove(points.GetCount() - 1);
    }
    while (points.GetCount() >= 3) {
        int32_t best = 0;
        double bestLen = PlanDist2(points[0], points[1]);
        for (int32_t i = 1; i + 1 < points.GetCount(); ++i) {
            const double len = PlanDist2(points[i], points[i + 1]);
            if (len < bestLen) {
                bestLen = len;
                best = i;
            }
        }
        if (!(bestLen < d * d)) break;
        points.Remove(closed && best == 0 ? 1 : best);
    }
    if (!closed)
        points.Insert(held);
    else if (points.GetCount() == 2 && PlanDist2(points[0], points[1]) < d * d)
        points.Remove(1);
    return points.GetCount() > 1;
}

bool SOSIFileCls::SimplifyBezier(QV_List<API_Coord3D>& points, const double* distance) const {
    const double d = distance != nullptr ? *distance : lineFilterDistance;
    if (points.IsEmpty()) return false;
    const API_Coord3D first = points[0], last = Last(points);
    points.Insert(first, 0);
    points.Insert(last);
    while (points.GetCount() >= 9) {
        int32_t best = -1;
        double bestLen = 0.0;
        for (int32_t a = 1; a + 3 < points.GetCount() - 1; a += 3) {
            const double len = PlanDist2(points[a], points[a + 3]);
            if (best < 0 || len < bestLen) {
                best = a;
                bestLen = len;
            }
        }
        if (best < 0 || !(bestLen < d * d)) break;
        for (int k = 0; k < 3; ++k) points.Remove(best - 1);
    }
    points.Remove(points.GetCount() - 1);
    points.Remove(0);
    return points.GetCount() >= 4;
}

void SOSIFileCls::ImportObjects() {
    int32_t selected = 0;
    std::unordered_map<std::u16string, int32_t> rowOf;
    for (int32_t t = types.GetCount() - 1; t >= 0; --t) rowOf[Key(types[t].name)] = t;
    for (int32_t f = 0; f < files.GetCount(); ++f)
        for (int32_t o = 0; o < files[f].objects.GetCount(); ++o) {
            SOSIPrim& prim = files[f].objects[o];
            const auto row = rowOf.find(Key(prim.type));
            prim.selected = row != rowOf.end() && types[row->second].import != 0 ? 1 : 0;
            selected += prim.selected;
        }
    if (selected == 0) return;
    dataIds.clear();
    for (const SOSIData& d : data) dataIds.push_back(SOSIIdValue(d.id));

    QV_String phase, count;
    GetResString(phase, GeneralTableBase + LanguageIndex, 167);
    count.FromLong(selected);
    progress->Begin(QV_String("Lodravix"), 1);
    progress->Phase(phase + " " + count, uint32_t(selected));
    uint32_t step = 0;
    for (int32_t f = 0; f < files.GetCount(); ++f)
        for (int32_t o = 0; o < files[f].objects.GetCount(); ++o) {
            const SOSIPrim prim = files[f].objects[o];
            if (prim.selected == 0) continue;
            progress->Step(++step);
            ResetObjectScratch();
            ++pointsRead;
            ReadObjectRecords(prim, f, coordinates);
            const auto rowIt = rowOf.find(Key(prim.type));
            const SOSIOType* row = rowIt != rowOf.end() ? &types[rowIt->second] : nullptr;
            double own = 0.0;
            const double* distance = nullptr;
            if (row != nullptr && row->import != 0 && row->ownValue != 0) {
                own = row->value;
                distance = &own;
            }
            // Later steps and the builders take the first point, or three for arcs: always apply the minimums.
            if (!HasEnoughPoints(prim.kind, coordinates)) continue;
            bool keep = true;
            switch (prim.kind) {
                case SOSIKindPoint: keep = !IsDuplicatePoint(coordinates[0], distance); break;
                case SOSIKindSwarm:
                    ThinPointSwarm(coordinates, distance);
                    keep = !coordinates.IsEmpty();
                    break;
                case SOSIKindLine:
                case SOSIKindCurve:
                    keep = SimplifyLine(coordinates, distance != nullptr ? *distance : lineFilterDistance, false);
                    break;
                case SOSIKindBezier: keep = SimplifyBezier(coordinates, distance); break;
                default: break;
            }
            if (!keep) continue;
            SOSIData record;
            record.geometryKind = prim.kind;
            record.keyword = prim.keyword;
            record.id = prim.id;
            record.type = prim.type;
            record.coords = coordinates;
            record.texts = texts;
            record.refs = refs;
            record.radius = currentRadius;
            record.fileIndex = f;
            if (data.Insert(record)) {
                ++pointsKept;
                if (dataIds.size() + 1 == size_t(data.GetCount())) dataIds.push_back(SOSIIdValue(record.id));
            }
        }
    progress->End();
    AssembleSurfaces();

    if (importMode == SOSIModeObjects) {
        for (int32_t i = 0; i < data.GetCount(); ++i) {
            if (data[i].geometryKind != SOSIKindCurve) continue;
            const QV_List<API_Coord3D> before = data[i].coords;
            for (int32_t j = i + 1; j < data.GetCount();) {
                bool touch = false;
                if (data[j].geometryKind == SOSIKindCurve)
                    for (int32_t a = 0; a < before.GetCount() && !touch; ++a)
                        for (int32_t b = 0; b < data[j].coords.GetCount() && !touch; ++b)
                            touch = Equal3(before[a], data[j].coords[b]);
                if (!touch) {
                    ++j;
                    continue;
                }
                const API_Coord3D sep{SOSISeparatorValue, SOSISeparatorValue, SOSISeparatorValue};
                QV_List<API_Coord3D>& c = data[i].coords;
                if (!EqualPlan(Last(c), sep)) c.Insert(sep);
                for (int32_t b = 0; b < data[j].coords.GetCount(); ++b)
                    if (b > 0 || !EqualPlan(data[j].coords[0], Last(c))) c.Insert(data[j].coords[b]);
                data.Remove(j);
                if (j < i) --i;
            }
        }
        for (int32_t s = 0; s < data.GetCount(); ++s) {
            if (data[s].geometryKind != SOSIKindSurface || data[s].pieces.IsEmpty()) continue;
            for (int32_t k = 0; k < data.GetCount();) {
                const bool edge = data[k].geometryKind == SOSIKindCurve && data[k].type == QV_String("KantUtsnitt");
                bool touch = false;
                SOSICos& ring = data[s].pieces[0];
                for (int32_t a = 0; edge && a < ring.GetCount() && !touch; ++a)
                    for (int32_t b = 0; b < data[k].coords.GetCount() && !touch; ++b)
                        touch = Equal3(ring[a], data[k].coords[b]);
                if (!touch) {
                    ++k;
                    continue;
                }
                ring.Insert(API_Coord3D{SOSISeparatorValue, SOSISeparatorValue, SOSISeparatorValue});
                ring.InsertList(data[k].coords);
                data.Remove(k);
                if (k < s) --s;
            }
        }
    }

    for (int32_t r = 0; r < data.GetCount(); ++r) {
        const SOSIFileData* fd = files.Get(data[r].fileIndex);
        if (fd == nullptr || (std::fabs(fd->originEast) < Eps && std::fabs(fd->originNorth) < Eps)) continue;
        auto shift = [&](QV_List<API_Coord3D>& list) {
            for (int32_t i = 0; i < list.GetCount(); ++i) {
                list[i].x += fd->originEast;
                list[i].y += fd->originNorth;
            }
        };
        shift(data[r].coords);
        for (int32_t p = 0; p < data[r].pieces.GetCount(); ++p) shift(data[r].pieces[p]);
    }
}

void SOSIFileCls::AssembleSurfaces() {
    std::vector<std::unordered_map<long, int32_t>> byId(size_t(std::max<int32_t>(files.GetCount(), 0)));
    for (int32_t r = 0; r < data.GetCount(); ++r) {
        if (data[r].geometryKind != SOSIKindSurface) continue;
        const int32_t f = data[r].fileIndex;
        SOSIFileData* fd = files.Get(f);
        if (fd == nullptr) continue;
        std::unordered_map<long, int32_t>& ids = byId[size_t(f)];
        if (ids.empty())
            for (int32_t o = fd->objects.GetCount() - 1; o >= 0; --o)
                if (fd->objects[o].kind != SOSIKindSurface) ids[SOSIIdValue(fd->objects[o].id)] = o;
        data[r].pieces.Clear();
        const QV_List<SOSIRefs> groups = data[r].refs;
        for (int32_t g = 0; g < groups.GetCount(); ++g) {
            SOSICos ring;
            double own = 0.0;
            bool hasOwn = false;
            for (int32_t k = 0; k < groups[g].GetCount(); ++k) {
                const QV_String& ref = groups[g][k];
                const bool reverse = ref.GetLength() > 0 && ref.GetAt(0) == u'-';
                const auto found = ids.find(SOSIIdValue(ref));
                if (found == ids.end()) continue;  // a reference to a missing id adds nothing
                const SOSIPrim target = fd->objects[found->second];
                const SOSIOType* row = FindTypeRow(target.type);
                if (row != nullptr && row->import != 0 && row->ownValue != 0) {
                    own = row->value;
                    hasOwn = true;
                }
                // The referenced curve's own lines must not change the surface's scratch or the records.
                const QV_List<SOSIRefs> savedRefs = refs;
                const QV_List<QV_String> savedTexts = texts;
                QV_List<API_Coord3D> pts;
                keepRecords = true;
                ReadObjectRecords(target, f, pts);
                keepRecords = false;
                refs = savedRefs;
                texts = savedTexts;
                if (reverse)
                    for (int32_t a = 0, b = pts.GetCount() - 1; a < b; ++a, --b) std::swap(pts[a], pts[b]);
                for (int32_t i = 0; i < pts.GetCount(); ++i)
                    if (i > 0 || ring.IsEmpty() || !EqualPlan(pts[0], Last(ring))) ring.Insert(pts[i]);
            }
            if (skipLowHeights != 0) {
                if (ring.GetCount() <= 1) continue;
                if (Equal3(ring[0], Last(ring)) && ring.GetCount() < 4) continue;
            }
            if (ring.GetCount() >= 2 && Equal3(ring[0], Last(ring)))
                SimplifyLine(ring, hasOwn ? own : lineFilterDistance, true);
            if (ring.GetCount() < 4 || !EqualPlan(ring[0], Last(ring))) continue;
            const int32_t n = ring.GetCount();
            if (ring[n - 1].z > ring[0].z) {
                ring[n - 1].x += (ring[n - 2].x - ring[n - 1].x) / 10000.0;
                ring[n - 1].y += (ring[n - 2].y - ring[n - 1].y) / 10000.0;
            } else {
                ring[0].x += (ring[1].x - ring[0].x) / 10000.0;
                ring[0].y += (ring[1].y - ring[0].y) / 10000.0;
            }
            const API_Coord3D first = ring[0];
            ring.Insert(first);
            data[r].pieces.Insert(ring);
        }
    }
}

void SOSIFileCls::FilterContourHeights() {
    if (altitudeFilter == 0) return;
    const bool stepped = std::fabs(equidistance) >= Eps;
    if (!stepped && std::fabs(firstAltitude - contourMin[2]) < Eps && std::fabs(finalAltitude - contourMax[2]) < Eps)
        return;
    const double lo = std::min(firstAltitude, finalAltitude), hi = std::max(firstAltitude, finalAltitude);
    for (int32_t r = 0; r < data.GetCount();) {
        const SOSIData& d = data[r];
        if (d.geometryKind != SOSIKindCurve || d.coords.IsEmpty() || !ConstantHeight(d.coords)) {
            ++r;
            continue;
        }
        const double z = d.coords[0].z;
        bool keep;
        if (stepped) {
            // Membership by arithmetic: a tiny or negative step never builds a list.
            const double e = std::fabs(equidistance);
            const double k = std::round((z - firstAltitude) / e);
            const double nearest = firstAltitude + k * e;
            keep = k >= 0 && std::fabs(z - nearest) < Eps && nearest <= finalAltitude + Eps &&
                firstAltitude <= finalAltitude + Eps;
        } else {
            keep = !(z < lo || z > hi);
        }
        if (keep)
            ++r;
        else
            data.Remove(r);
    }
}

void SOSIFileCls::ComputeExtents() {
    ResetBounds();
    for (int k = 0; k < 3; ++k) {
        contourMin[k] = 1.79769313486231e308;
        contourMax[k] = -1.79769313486231e308;
    }
    for (int32_t r = 0; r < data.GetCount(); ++r) {
        const SOSIData& d = data[r];
        const int16_t kind = d.geometryKind;
        if (importMode == SOSIModeObjects && (kind == SOSIKindPoint || kind == SOSIKindSwarm || kind == SOSIKindText))
            continue;
        switch (kind) {
            case SOSIKindPoint:
            case SOSIKindText:
                if (!d.coords.IsEmpty()) ExtendBounds(d.coords[0].x, d.coords[0].y);
                break;
            case SOSIKindSwarm:
            case SOSIKindLine:
                for (const API_Coord3D& c : d.coords) ExtendBounds(c.x, c.y);
                break;
            case SOSIKindCurve:
                if (!d.coords.IsEmpty() && ConstantHeight(d.coords)) {
                    ++contourCount;
                    for (const API_Coord3D& c : d.coords) {
                        const double v[3] = {c.x, c.y, c.z};
                        for (int k = 0; k < 3; ++k) {
                            contourMin[k] = std::min(contourMin[k], v[k]);
                            contourMax[k] = std::max(contourMax[k], v[k]);
                        }
                    }
                }
                for (const API_Coord3D& c : d.coords)
                    if (!IsSOSISeparator(c)) ExtendBounds(c.x, c.y);
                break;
            case SOSIKindArcByRadius:
            case SOSIKindArcByPoints:
            case SOSIKindCircle:
            case SOSIKindCircleByPoints: {
                const bool circle = kind == SOSIKindCircle || kind == SOSIKindCircleByPoints;
                const QV_Arc arc = circle ? CircleFromCurveRecord(d) : ArcFromCurveRecord(d);
                if (arc.IsDegenerate()) {
                    for (const API_Coord3D& c : d.coords) ExtendBounds(c.x, c.y);
                    break;
                }
                QV_List<API_Coord> steps;
                DivideRange(arc, steps, 36);
                for (const API_Coord& c : steps) ExtendBounds(c.x, c.y);
                break;
            }
            case SOSIKindBezier: {
                QV_List<API_Coord3D> line;
                BezierToPolyline(d, 36, line);
                for (const API_Coord3D& c : line) ExtendBounds(c.x, c.y);
                break;
            }
            case SOSIKindSurface:
                for (const SOSICos& ring : d.pieces)
                    for (const API_Coord3D& c : ring)
                        if (!IsSOSISeparator(c)) ExtendBounds(c.x, c.y);
                break;
            default: break;
        }
    }
}
