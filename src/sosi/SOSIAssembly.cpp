#include "sosi/SOSIAssembly.hpp"

#include "fileio/BaseFileCls.hpp"
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

// A min-heap of four children a node: half the levels of a binary one, and a node's children share a cache line,
// which counts on lines of a million points.
template <typename T>
class QuadHeap {
public:
    void Reserve(size_t n) { items_.reserve(n); }
    bool Empty() const { return items_.empty(); }
    void Push(const T& item) {
        size_t i = items_.size();
        items_.push_back(item);
        while (i > 0) {
            const size_t parent = (i - 1) / 4;
            if (!(items_[i] < items_[parent])) break;
            std::swap(items_[i], items_[parent]);
            i = parent;
        }
    }
    T Pop() {
        const T top = items_.front();
        items_.front() = items_.back();
        items_.pop_back();
        size_t i = 0;
        const size_t n = items_.size();
        for (;;) {
            const size_t first = 4 * i + 1;
            if (first >= n) break;
            size_t best = first;
            for (size_t c = first + 1; c < first + 4 && c < n; ++c)
                if (items_[c] < items_[best]) best = c;
            if (!(items_[best] < items_[i])) break;
            std::swap(items_[i], items_[best]);
            i = best;
        }
        return top;
    }

private:
    std::vector<T> items_;
};

// Cells of four filter distances: a query mostly reads one to four cells, and points kept at least the distance
// apart fill a cell with 25 at most.
double CellFor(double d) { return 4.0 * std::fabs(d); }

// `list` becomes `points`.
void SetPoints(QV_List<API_Coord3D>& list, const std::vector<API_Coord3D>& points) {
    list.Assign(points.data(), int32_t(points.size()));
}

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

constexpr double ExtentLiteral = 1.79769313486231e308;

}  // namespace

SOSIAssembly::SOSIAssembly() { ResetContourExtent(); }

void SOSIAssembly::ResetContourExtent() {
    for (int k = 0; k < 3; ++k) {
        contourMin[k] = ExtentLiteral;
        contourMax[k] = -ExtentLiteral;
    }
}

void SOSIAssembly::ResetForReread() {
    data.Clear();
    issues = ReadReport();
    records.Reset();
    contourCount = 0;
    ResetContourExtent();
}

void SOSIAssembly::Clear() {
    ResetForReread();
    lineFilterDistance = 0.1;
    altitudeFilter = 0;
    equidistance = firstAltitude = finalAltitude = 0.0;
}

const PointGrid& SOSIAssembly::PointGridFor(double d) const {
    for (const auto& grid : pointGrids)
        if (grid.first == d) return grid.second;
    pointGrids.emplace_back(d, PointGrid(CellFor(d)));
    PointGrid& grid = pointGrids.back().second;
    for (int32_t i = 0; i < data.GetCount(); ++i) {
        const SOSIData& r = data[i];
        if (r.geometryKind == SOSIKindPoint && !r.coords.IsEmpty() && !Gone(i)) grid.Add(r.coords[0].x, r.coords[0].y);
    }
    return grid;
}

void SOSIAssembly::PointRecordGone(const SOSIData& record) {
    if (!pointGridsActive || record.geometryKind != SOSIKindPoint || record.coords.IsEmpty()) return;
    for (auto& grid : pointGrids) grid.second.RemoveAt(record.coords[0].x, record.coords[0].y);
}

bool SOSIAssembly::IsDuplicatePoint(const API_Coord3D& p, const double* distance) const {
    const double d = distance != nullptr ? *distance : tolerance;
    if (std::fabs(d) < Eps) return false;
    if (pointGridsActive) return PointGridFor(d).AnyWithin(p.x, p.y, d);
    for (int32_t r = 0; r < data.GetCount(); ++r)
        if (data[r].geometryKind == SOSIKindPoint && !data[r].coords.IsEmpty() &&
            PlanDist2(data[r].coords[0], p) < d * d)
            return true;
    return false;
}

void SOSIAssembly::ThinPointSwarm(QV_List<API_Coord3D>& points, const double* distance) const {
    const double d = distance != nullptr ? *distance : tolerance;
    if (std::fabs(d) < Eps) return;
    PointGrid near(CellFor(d));
    std::vector<API_Coord3D> kept;
    for (int32_t i = 0; i < points.GetCount(); ++i) {
        const API_Coord3D& p = points[i];
        if (near.AnyWithin(p.x, p.y, d)) continue;
        kept.push_back(p);
        near.Add(p.x, p.y);
    }
    // Only then the points near a PUNKT go: one that goes here has already hidden its swarm neighbours above.
    kept.erase(std::remove_if(kept.begin(), kept.end(), [&](const API_Coord3D& p) { return IsDuplicatePoint(p, &d); }),
               kept.end());
    SetPoints(points, kept);
}

bool SOSIAssembly::SimplifyLine(QV_List<API_Coord3D>& points, double d, bool isRing) const {
    if (points.GetCount() < 2) return isRing;
    const bool closed = Equal3(points[0], Last(points));
    API_Coord3D held{};
    if (!closed) {
        held = Last(points);
        points.Remove(points.GetCount() - 1);
    }
    // The shortest segment first, the first of equal ones (lowest place): a heap of segments by length and
    // place, each entry stale once its start point is gone or its end point changed.
    const int32_t n = points.GetCount();
    if (n >= 3) {
        const size_t size = size_t(n);
        std::vector<int32_t> prev(size), next(size);
        for (int32_t i = 0; i < n; ++i) {
            prev[size_t(i)] = i - 1;
            next[size_t(i)] = i + 1 < n ? i + 1 : -1;
        }
        struct Segment {
            double length;
            int32_t start, end;
            bool operator<(const Segment& o) const { return length != o.length ? length < o.length : start < o.start; }
        };
        QuadHeap<Segment> heap;
        heap.Reserve(size);
        for (int32_t i = 0; i + 1 < n; ++i) heap.Push(Segment{PlanDist2(points[i], points[i + 1]), i, i + 1});
        std::vector<uint8_t> gone(size, 0);
        int32_t remaining = n;
        const double d2 = d * d;
        while (remaining >= 3 && !heap.Empty()) {
            const Segment s = heap.Pop();
            if (gone[size_t(s.start)] != 0 || next[size_t(s.start)] != s.end) continue;
            if (!(s.length < d2)) break;
            const int32_t victim = closed && prev[size_t(s.start)] < 0 ? s.end : s.start;
            const int32_t before = prev[size_t(victim)], after = next[size_t(victim)];
            gone[size_t(victim)] = 1;
            if (before >= 0) next[size_t(before)] = after;
            if (after >= 0) prev[size_t(after)] = before;
            --remaining;
            if (before >= 0 && after >= 0) {
                heap.Push(Segment{PlanDist2(points[before], points[after]), before, after});
            }
        }
        if (remaining < n) {
            std::vector<API_Coord3D> kept;
            kept.reserve(size_t(remaining));
            for (int32_t i = 0; i < n; ++i)
                if (gone[size_t(i)] == 0) kept.push_back(points[i]);
            SetPoints(points, kept);
        }
    }
    if (!closed)
        points.Insert(held);
    else if (points.GetCount() == 2 && PlanDist2(points[0], points[1]) < d * d)
        points.Remove(1);
    return points.GetCount() > 1;
}

bool SOSIAssembly::SimplifyBezier(QV_List<API_Coord3D>& points, const double* distance) const {
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

void SOSIAssembly::ImportObjects(const SOSIAssemblyInput& input, uint32_t& objectsRead, uint32_t& objectsKept) {
    tolerance = input.tolerance;
    issues = ReadReport();
    records.issues = ReadReport();
    TypeRowIndex rowOf;
    for (int32_t t = input.types.GetCount() - 1; t >= 0; --t) rowOf[Key(input.types[t].name)] = t;
    stopped = false;
    const int32_t selected = MarkSelectedObjects(input, rowOf);
    if (selected == 0) return;
    ReadSelectedObjects(input, rowOf, selected, objectsRead, objectsKept);
    // A stop leaves nothing half made: the import ends as a cancel does.
    if (stopped) {
        data.Clear();
        issues = ReadReport();
        return;
    }
    AssembleSurfaces(input, rowOf);
    if (input.importMode == SOSIModeObjects) {
        JoinTouchingCurves();
        JoinEdgeCurvesToSurfaces();
    }
    ShiftToFileOrigins(input.files);
    if (input.importMode == SOSIModeTerrain) UnifyHeights();
}

void SOSIAssembly::UnifyHeights() {
    // Positions on a micrometre grid: SOSI coordinates are whole steps of their unit, so one position is one key.
    struct Key {
        int64_t x, y;
        bool operator==(const Key& o) const { return x == o.x && y == o.y; }
    };
    struct KeyHash {
        size_t operator()(const Key& k) const {
            return std::hash<int64_t>()(k.x) ^ (std::hash<int64_t>()(k.y) * 0x9E3779B97F4A7C15ull);
        }
    };
    struct First {
        double z;
        bool mixed;
    };
    std::unordered_map<Key, First, KeyHash> seen;
    uint32_t mixed = 0;
    for (SOSIData& d : data) {
        const int16_t kind = d.geometryKind;
        if (kind != SOSIKindPoint && kind != SOSIKindSwarm && kind != SOSIKindCurve) continue;
        const int32_t n = kind == SOSIKindPoint ? std::min<int32_t>(d.coords.GetCount(), 1) : d.coords.GetCount();
        for (int32_t i = 0; i < n; ++i) {
            API_Coord3D& p = d.coords[i];
            if (IsSOSISeparator(p)) continue;
            const Key key{std::llround(p.x * 1e6), std::llround(p.y * 1e6)};
            const auto found = seen.emplace(key, First{p.z, false});
            First& first = found.first->second;
            if (found.second || std::fabs(p.z - first.z) < Eps) continue;
            p.z = first.z;
            if (!first.mixed) ++mixed;
            first.mixed = true;
        }
    }
    issues.Note(ReadIssue::MixedHeights, mixed);
}

int32_t SOSIAssembly::MarkSelectedObjects(const SOSIAssemblyInput& input, const TypeRowIndex& rowOf) {
    int32_t selected = 0;
    for (SOSIFileData& file : input.files)
        for (SOSIPrim& prim : file.objects) {
            const auto row = rowOf.find(Key(prim.type));
            prim.selected = row != rowOf.end() && input.types[row->second].import != 0 ? 1 : 0;
            selected += prim.selected;
        }
    return selected;
}

void SOSIAssembly::ReadSelectedObjects(const SOSIAssemblyInput& input, const TypeRowIndex& rowOf, int32_t selected,
                                       uint32_t& objectsRead, uint32_t& objectsKept) {
    // One record a selected object at most: room for them all at once.
    data.Reserve(data.GetCount() + selected);
    recordsById.clear();
    dataGone.assign(size_t(data.GetCount()), 0);
    for (int32_t i = 0; i < data.GetCount(); ++i) IndexRecord(i);

    QV_String phase, count;
    GetResString(phase, GeneralTableBase + LanguageIndex, 167);
    count.FromLong(selected);
    input.progress.Begin(QV_String("Lodravix"), 1);
    input.progress.Phase(phase + " " + count, uint32_t(selected));
    pointGrids.clear();
    pointGridsActive = true;
    uint32_t step = 0;
    QV_List<API_Coord3D> points;
    for (int32_t f = 0; f < input.files.GetCount() && !stopped; ++f)
        for (int32_t o = 0; o < input.files[f].objects.GetCount(); ++o) {
            const SOSIPrim prim = input.files[f].objects[o];
            if (prim.selected == 0) continue;
            if (input.progress.Step(++step)) {
                stopped = true;
                break;
            }
            records.Reset();
            ++objectsRead;
            // An object whose own unit is refused is not read at all.
            if (!records.Read(input.files[f], prim, skipLowHeights != 0, points)) continue;
            const bool byRadius = prim.kind == SOSIKindArcByRadius || prim.kind == SOSIKindCircle;
            if (byRadius && std::isnan(records.scratch.radius)) continue;  // its radius was refused
            DropBoundaryCurves(records.scratch.boundaries, f);
            const auto rowIt = rowOf.find(Key(prim.type));
            const SOSIOType* row = rowIt != rowOf.end() ? &input.types[rowIt->second] : nullptr;
            if (KeepObjectPoints(prim.kind, row, points) && AddRecord(prim, f, points)) ++objectsKept;
        }
    input.progress.End();
    issues.Add(records.issues);
    records.issues = ReadReport();
    pointGridsActive = false;
    pointGrids.clear();
    // The curves surfaces took in leave the list in one pass, the others keep their order.
    data.RemoveIf([&](int32_t r) { return Gone(r); });
    dataGone.clear();
    recordsById.clear();
}

bool SOSIAssembly::KeepObjectPoints(int16_t kind, const SOSIOType* row, QV_List<API_Coord3D>& points) const {
    // A type row with a distance of its own filters by it, else the general one.
    double own = 0.0;
    const double* distance = nullptr;
    if (row != nullptr && row->import != 0 && row->ownValue != 0) {
        own = row->value;
        distance = &own;
    }
    // Later steps and the builders take the first point, or three for arcs: always apply the minimums.
    if (!HasEnoughPoints(kind, points)) return false;
    switch (kind) {
        case SOSIKindPoint: return !IsDuplicatePoint(points[0], distance);
        case SOSIKindSwarm: ThinPointSwarm(points, distance); return !points.IsEmpty();
        case SOSIKindLine:
        case SOSIKindCurve: return SimplifyLine(points, distance != nullptr ? *distance : lineFilterDistance, false);
        case SOSIKindBezier: return SimplifyBezier(points, distance);
        default: return true;
    }
}

bool SOSIAssembly::AddRecord(const SOSIPrim& prim, int32_t fileIndex, const QV_List<API_Coord3D>& points) {
    SOSIData record;
    record.geometryKind = prim.kind;
    record.id = prim.id;
    record.type = prim.type;
    record.coords = points;
    record.texts = records.scratch.texts;
    record.refs = records.scratch.refs;
    record.radius = records.scratch.radius;
    record.fileIndex = fileIndex;
    if (!data.Insert(record)) return false;
    if (record.geometryKind == SOSIKindPoint)
        for (auto& grid : pointGrids) grid.second.Add(record.coords[0].x, record.coords[0].y);
    dataGone.push_back(0);
    IndexRecord(data.GetCount() - 1);
    return true;
}

void SOSIAssembly::IndexRecord(int32_t index) {
    const SOSIData& record = data[index];
    recordsById[RecordKey{record.fileIndex, SOSIIdValue(record.id)}].indices.push_back(index);
}

void SOSIAssembly::DropBoundaryCurves(const std::vector<SOSIRefs>& boundaries, int32_t fileIndex) {
    // Each id takes the first record of that id of the file still there: the records of one id go in the order
    // they came, so those gone are always the first ones of its list.
    for (const SOSIRefs& group : boundaries)
        for (int32_t g = 0; g < group.GetCount(); ++g) {
            const auto found = recordsById.find(RecordKey{fileIndex, SOSIIdValue(group[g])});
            if (found == recordsById.end() || found->second.taken == found->second.indices.size()) continue;
            const int32_t d = found->second.indices[found->second.taken++];
            PointRecordGone(data[d]);
            dataGone[size_t(d)] = 1;
        }
}

void SOSIAssembly::JoinEdgeCurvesToSurfaces() {
    const QV_String edgeType("KantUtsnitt");
    bool edges = false;
    for (int32_t k = 0; k < data.GetCount() && !edges; ++k)
        edges = data[k].geometryKind == SOSIKindCurve && data[k].type == edgeType;
    if (!edges) return;
    for (int32_t s = 0; s < data.GetCount(); ++s) {
        if (data[s].geometryKind != SOSIKindSurface || data[s].pieces.IsEmpty()) continue;
        // The outer ring's points by x, so that a curve's points meet only those within reach.
        std::vector<API_Coord3D> byX;
        auto index = [&byX](const SOSICos& ring) {
            byX.clear();
            for (const API_Coord3D& p : ring)
                if (std::isfinite(p.x)) byX.push_back(p);  // (a point not finite equals none)
            std::sort(byX.begin(), byX.end(), [](const API_Coord3D& a, const API_Coord3D& b) { return a.x < b.x; });
        };
        auto touches = [&byX](const QV_List<API_Coord3D>& coords) {
            for (const API_Coord3D& p : coords) {
                auto at = std::lower_bound(byX.begin(), byX.end(), p.x - Eps,
                                           [](const API_Coord3D& a, double x) { return a.x <= x; });
                for (; at != byX.end() && at->x < p.x + Eps; ++at)
                    if (Equal3(*at, p)) return true;
            }
            return false;
        };
        index(data[s].pieces[0]);
        for (int32_t k = 0; k < data.GetCount();) {
            if (!(data[k].geometryKind == SOSIKindCurve && data[k].type == edgeType) || !touches(data[k].coords)) {
                ++k;
                continue;
            }
            SOSICos& ring = data[s].pieces[0];
            ring.Insert(API_Coord3D{SOSISeparatorValue, SOSISeparatorValue, SOSISeparatorValue});
            ring.InsertList(data[k].coords);
            index(ring);
            data.Remove(k);
            if (k < s) --s;
        }
    }
}

void SOSIAssembly::ShiftToFileOrigins(const QV_List<SOSIFileData>& files) {
    for (int32_t r = 0; r < data.GetCount(); ++r) {
        const SOSIFileData* fd = files.Get(data[r].fileIndex);
        if (fd == nullptr || (std::fabs(fd->originEast) < Eps && std::fabs(fd->originNorth) < Eps)) continue;
        // A piece separator is no place: moved, it would become a vertex far off.
        auto shift = [&](QV_List<API_Coord3D>& list) {
            for (int32_t i = 0; i < list.GetCount(); ++i) {
                if (IsSOSISeparator(list[i])) continue;
                list[i].x += fd->originEast;
                list[i].y += fd->originNorth;
            }
        };
        shift(data[r].coords);
        for (int32_t p = 0; p < data[r].pieces.GetCount(); ++p) shift(data[r].pieces[p]);
    }
}

void SOSIAssembly::JoinTouchingCurves() {
    // A point under the key of its cell. Two cells may share a key: their points then share a run, and the
    // exact comparison tells them apart. Sixteen bytes a point: a million points' curves take 16 MB here.
    struct PointAt {
        uint64_t key;
        int32_t record, index;
        bool operator<(const PointAt& o) const {
            return key != o.key ? key < o.key : record != o.record ? record < o.record : index < o.index;
        }
    };
    // Cells far larger than the tolerance: equal points lie in the same cell or the next.
    constexpr double Cell = 1e-3;
    auto cellOf = [](double v) {
        const double q = std::floor(v / Cell);
        return q > -1e15 ? (q < 1e15 ? int64_t(q) : int64_t(1e15)) : int64_t(-1e15);
    };
    size_t points = 0;
    int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    for (int32_t r = 0; r < data.GetCount(); ++r)
        if (data[r].geometryKind == SOSIKindCurve)
            for (const API_Coord3D& p : data[r].coords) {
                const int64_t cx = cellOf(p.x), cy = cellOf(p.y);
                minX = std::min(minX, cx), maxX = std::max(maxX, cx);
                minY = std::min(minY, cy), maxY = std::max(maxY, cy);
                ++points;
            }
    if (points == 0) return;
    // Cells in rows, as the pair (x, y) orders them, while the grid's cells can be counted in 64 bits (the data
    // of a country at 1 mm); else a mixed key, cells then sharing keys.
    const uint64_t rows = uint64_t(maxY - minY) + 1;
    const bool rowKeys = uint64_t(maxX - minX) < UINT64_MAX / rows;
    auto keyOf = [&](int64_t cx, int64_t cy) {
        if (rowKeys) return uint64_t(cx - minX) * rows + uint64_t(cy - minY);
        uint64_t h = uint64_t(cx) * 0x9E3779B97F4A7C15ull;
        h ^= uint64_t(cy) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
        return h;
    };
    std::vector<PointAt> cells;
    cells.reserve(points);
    for (int32_t r = 0; r < data.GetCount(); ++r)
        if (data[r].geometryKind == SOSIKindCurve)
            for (int32_t k = 0; k < data[r].coords.GetCount(); ++k)
                cells.push_back(PointAt{keyOf(cellOf(data[r].coords[k].x), cellOf(data[r].coords[k].y)), r, k});
    std::sort(cells.begin(), cells.end());

    const int32_t count = data.GetCount();
    std::vector<uint8_t> gone(size_t(count), 0);
    std::vector<int32_t> touching;
    // Who takes whom: each taker's curves run in `taken` up to its `takenEnd`.
    std::vector<int32_t> takers, taken;
    std::vector<size_t> takenEnd;
    const API_Coord3D sep{SOSISeparatorValue, SOSISeparatorValue, SOSISeparatorValue};
    for (int32_t i = 0; i < count; ++i) {
        if (gone[size_t(i)] != 0 || data[i].geometryKind != SOSIKindCurve) continue;
        touching.clear();
        const QV_List<API_Coord3D>& mine = data[i].coords;
        for (int32_t a = 0; a < mine.GetCount(); ++a) {
            const API_Coord3D& p = mine[a];
            const int64_t x0 = cellOf(p.x - 2 * Eps), x1 = cellOf(p.x + 2 * Eps);
            const int64_t y0 = cellOf(p.y - 2 * Eps), y1 = cellOf(p.y + 2 * Eps);
            for (int64_t cx = x0; cx <= x1; ++cx)
                for (int64_t cy = y0; cy <= y1; ++cy) {
                    if (cx < minX || cx > maxX || cy < minY || cy > maxY) continue;  // no point there
                    // Only later records: they start past record i in the cell's run.
                    const uint64_t key = keyOf(cx, cy);
                    auto it = std::lower_bound(cells.begin(), cells.end(), PointAt{key, i + 1, 0});
                    for (; it != cells.end() && it->key == key; ++it)
                        if (gone[size_t(it->record)] == 0 && Equal3(p, data[it->record].coords[it->index]))
                            touching.push_back(it->record);
                }
        }
        if (touching.empty()) continue;
        std::sort(touching.begin(), touching.end());
        touching.erase(std::unique(touching.begin(), touching.end()), touching.end());
        takers.push_back(i);
        for (int32_t j : touching) {
            taken.push_back(j);
            gone[size_t(j)] = 1;
        }
        takenEnd.push_back(taken.size());
    }
    // Nothing is joined while the cells are held: the search reads only points as they were, and the joined
    // curves take their room after the cells have given theirs back.
    std::vector<PointAt>().swap(cells);
    size_t from = 0;
    for (size_t t = 0; t < takers.size(); ++t) {
        const QV_List<API_Coord3D>& mine = data[takers[t]].coords;
        std::vector<API_Coord3D> joined(mine.begin(), mine.end());
        for (; from < takenEnd[t]; ++from) {
            const int32_t j = taken[from];
            if (joined.empty() || !EqualPlan(joined.back(), sep)) joined.push_back(sep);
            const QV_List<API_Coord3D>& theirs = data[j].coords;
            for (int32_t b = 0; b < theirs.GetCount(); ++b)
                if (b > 0 || !EqualPlan(theirs[0], joined.back())) joined.push_back(theirs[b]);
            // Its points live on in the joined curve: their room goes back now.
            data[j].coords = QV_List<API_Coord3D>();
        }
        SetPoints(data[takers[t]].coords, joined);
    }
    // The joined records leave the list, the others keep their order (moved, not copied).
    data.RemoveIf([&](int32_t r) { return gone[size_t(r)] != 0; });
}

void SOSIAssembly::AssembleSurfaces(const SOSIAssemblyInput& input, const TypeRowIndex& rowOf) {
    const QV_List<SOSIFileData>& files = input.files;
    std::vector<std::unordered_map<long, int32_t>> byId(size_t(std::max<int32_t>(files.GetCount(), 0)));
    for (int32_t r = 0; r < data.GetCount(); ++r) {
        if (data[r].geometryKind != SOSIKindSurface) continue;
        const int32_t f = data[r].fileIndex;
        const SOSIFileData* fd = files.Get(f);
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
                const auto rowIt = rowOf.find(Key(target.type));
                const SOSIOType* row = rowIt != rowOf.end() ? &input.types[rowIt->second] : nullptr;
                if (row != nullptr && row->import != 0 && row->ownValue != 0) {
                    own = row->value;
                    hasOwn = true;
                }
                // The curve read afresh, as it was read on its own: without a height line its points lie at 0,
                // not at the height of whichever object was read last.
                SOSIObjectRecords curve;
                QV_List<API_Coord3D> pts;
                curve.Read(*fd, target, skipLowHeights != 0, pts);
                // A curve read for itself has told what it left out already.
                if (target.selected == 0) issues.Add(curve.issues);
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

void SOSIAssembly::FilterContourHeights() {
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

void SOSIAssembly::ComputeExtents(int32_t importMode, BaseFileCls& extent) {
    extent.ResetBounds();
    ResetContourExtent();
    for (int32_t r = 0; r < data.GetCount(); ++r) {
        const SOSIData& d = data[r];
        const int16_t kind = d.geometryKind;
        if (importMode == SOSIModeObjects && (kind == SOSIKindPoint || kind == SOSIKindSwarm || kind == SOSIKindText))
            continue;
        switch (kind) {
            case SOSIKindPoint:
            case SOSIKindText:
                if (!d.coords.IsEmpty()) extent.ExtendBounds(d.coords[0].x, d.coords[0].y);
                break;
            case SOSIKindSwarm:
            case SOSIKindLine:
                for (const API_Coord3D& c : d.coords) extent.ExtendBounds(c.x, c.y);
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
                    if (!IsSOSISeparator(c)) extent.ExtendBounds(c.x, c.y);
                break;
            case SOSIKindArcByRadius:
            case SOSIKindArcByPoints:
            case SOSIKindCircle:
            case SOSIKindCircleByPoints: {
                const QV_Arc arc = d.Arc();
                if (arc.IsDegenerate()) {
                    for (const API_Coord3D& c : d.coords) extent.ExtendBounds(c.x, c.y);
                    break;
                }
                QV_List<API_Coord> steps;
                DivideRange(arc, steps, 36);
                for (const API_Coord& c : steps) extent.ExtendBounds(c.x, c.y);
                break;
            }
            case SOSIKindBezier: {
                QV_List<API_Coord3D> line;
                BezierToPolyline(d.coords, 36, line);
                for (const API_Coord3D& c : line) extent.ExtendBounds(c.x, c.y);
                break;
            }
            case SOSIKindSurface:
                for (const SOSICos& ring : d.pieces)
                    for (const API_Coord3D& c : ring)
                        if (!IsSOSISeparator(c)) extent.ExtendBounds(c.x, c.y);
                break;
            default: break;
        }
    }
}
