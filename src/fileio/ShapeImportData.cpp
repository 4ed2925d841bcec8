#include "fileio/ShapeImportData.hpp"

#include "fileio/FieldNumber.hpp"
#include "fileio/SurveyBounds.hpp"

#include "foundation/Language.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

constexpr int32_t WaitText = 4;
constexpr double DegenerateArea = 0.001;

// The parts of one line or polygon shape, with z from its Z values when it has them.
void AddParts(SHPEntityData& entity, const GISPoly& shape, const QV_List<double>* z) {
    const int32_t count = shape.points.GetCount();
    const int32_t parts = shape.partStarts.GetCount();
    for (int32_t p = 0; p < parts; ++p) {
        const int32_t begin = shape.partStarts[p];
        const int32_t end = p + 1 < parts ? shape.partStarts[p + 1] : count;
        SHPPolyData part;
        if (end > begin) part.vertices.SetSize(end - begin);
        for (int32_t i = begin; i < end; ++i) {
            API_Coord3D& v = part.vertices[i - begin];
            v.x = shape.points[i].x;
            v.y = shape.points[i].y;
            v.z = z != nullptr && i < z->GetCount() ? (*z)[i] : 0.0;
        }
        entity.parts.Insert(part);
    }
}

template <typename Shape>
void AddPolys(ShapeImportData& data, const QV_List<Shape>& shapes, int32_t type, bool withZ) {
    const QV_List<int32_t>& records = data.shapes.RecordNumbers(type);
    for (int32_t i = 0; i < shapes.GetCount(); ++i) {
        SHPEntityData entity;
        entity.shapeType = type;
        entity.record = records[i];
        if constexpr (std::is_same<Shape, GISPolyZ>::value)
            AddParts(entity, shapes[i], withZ ? &shapes[i].z : nullptr);
        else
            AddParts(entity, shapes[i], nullptr);
        data.entities.Insert(entity);
    }
}

double Cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

// The area the ring's fan of triangles covers, each counted as positive: 0 only for a ring on one line or point, never
// for one whose lobes cancel each other's signed area.
double SpreadArea(const QV_List<API_Coord3D>& ring) {
    const int32_t n = ring.GetCount();
    double sum = 0.0;
    for (int32_t i = 1; i + 1 < n; ++i)
        sum += std::fabs(
            Cross(ring[i].x - ring[0].x, ring[i].y - ring[0].y, ring[i + 1].x - ring[0].x, ring[i + 1].y - ring[0].y));
    return 0.5 * sum;
}

// Proper or touching intersection of two segments.
bool SegmentsMeet(const API_Coord3D& a, const API_Coord3D& b, const API_Coord3D& c, const API_Coord3D& d) {
    const double d1 = Cross(b.x - a.x, b.y - a.y, c.x - a.x, c.y - a.y);
    const double d2 = Cross(b.x - a.x, b.y - a.y, d.x - a.x, d.y - a.y);
    const double d3 = Cross(d.x - c.x, d.y - c.y, a.x - c.x, a.y - c.y);
    const double d4 = Cross(d.x - c.x, d.y - c.y, b.x - c.x, b.y - c.y);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) return true;
    auto on = [](const API_Coord3D& p, const API_Coord3D& q, const API_Coord3D& r, double side) {
        return side == 0.0 && std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) && std::min(p.y, q.y) <= r.y &&
            r.y <= std::max(p.y, q.y);
    };
    return on(a, b, c, d1) || on(a, b, d, d2) || on(c, d, a, d3) || on(c, d, b, d4);
}

}  // namespace

void SHPEntityData::Reset() {
    parts.Clear();
    x = y = z = 0.0;
    areaMark = 0;
    shapeType = 0;
    status = EntityNormal;
    record = 0;
}

ShapeImportData::ShapeImportData() {
    options.fields = &fields;
    minX = minY = ShapeEmptyBound;
    maxX = maxY = -ShapeEmptyBound;
}

void ShapeImportData::Reset() {
    entities.Clear();
    shapes.Reset();
    meshCoords.Clear();
    constraints.Clear();
    validConstraints = importable = degenerateParts = toCorrect = 0;
    heightsRefused = 0;
}

const char* ShapeImportData::Value(int32_t record, int32_t field) const {
    const int32_t fieldCount = fields.GetCount();
    if (record < 1 || field < 0 || field >= fieldCount) return nullptr;
    const int64_t index = int64_t(record - 1) * fieldCount + field;
    if (index >= values.GetCount()) return nullptr;
    return values[int32_t(index)];
}

bool ReadDBFTable(ShapeImportData& data) {
    return ReadDBFFile(TablePathOf(data.shapes.path), data.fields, data.values, *data.shapes.progress, data.tableReport,
                       &data.tableMissing);
}

void ConvertShapesToEntities(ShapeImportData& data, bool withPoints) {
    SHPFileData& s = data.shapes;
    AddPolys(data, s.polyLinesZ, 13, true);
    AddPolys(data, s.polyLines, 3, false);
    AddPolys(data, s.polygonsZ, 15, true);
    AddPolys(data, s.polygons, 5, false);
    if (!withPoints) return;
    const QV_List<int32_t>& plain = s.RecordNumbers(1);
    for (int32_t i = 0; i < s.points.GetCount(); ++i) {
        SHPEntityData entity;
        entity.shapeType = 1;
        entity.record = plain[i];
        entity.x = s.points[i].x;
        entity.y = s.points[i].y;
        data.entities.Insert(entity);
    }
    const QV_List<int32_t>& withZ = s.RecordNumbers(11);
    for (int32_t i = 0; i < s.pointsZ.GetCount(); ++i) {
        SHPEntityData entity;
        entity.shapeType = 11;
        entity.record = withZ[i];
        entity.x = s.pointsZ[i].x;
        entity.y = s.pointsZ[i].y;
        entity.z = s.pointsZ[i].z;
        data.entities.Insert(entity);
    }
}

bool RingCrossesItself(const QV_List<API_Coord3D>& ring) {
    int32_t n = ring.GetCount();
    // The format repeats the first vertex at the end; the closing edge is implied here.
    while (n > 1 && ring[n - 1].x == ring[0].x && ring[n - 1].y == ring[0].y) --n;
    if (n < 4) return false;
    // Edges by their left end, so that only edges whose x ranges overlap are compared.
    std::vector<int32_t> order(size_t(n), 0);
    std::iota(order.begin(), order.end(), 0);
    auto lowX = [&](int32_t e) { return std::min(ring[e].x, ring[(e + 1) % n].x); };
    auto highX = [&](int32_t e) { return std::max(ring[e].x, ring[(e + 1) % n].x); };
    std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return lowX(a) < lowX(b); });
    for (size_t i = 0; i < order.size(); ++i) {
        const int32_t e = order[i];
        const double reach = highX(e);
        for (size_t j = i + 1; j < order.size() && lowX(order[j]) <= reach; ++j) {
            const int32_t f = order[j];
            const int32_t gap = std::abs(e - f);
            if (gap == 1 || gap == n - 1) continue;  // neighbours share a vertex
            if (SegmentsMeet(ring[e], ring[(e + 1) % n], ring[f], ring[(f + 1) % n])) return true;
        }
    }
    return false;
}

int32_t ShapeImportData::TableRows() const {
    const int32_t fieldCount = fields.GetCount();
    return fieldCount > 0 ? values.GetCount() / fieldCount : 0;
}

uint32_t ShapesWithoutTableRow(const ShapeImportData& data) {
    if (data.fields.GetCount() == 0) return 0;
    const int32_t rows = data.TableRows();
    uint32_t count = 0;
    for (int32_t type : {1, 3, 5, 8, 11, 13, 15, 18, 21, 23, 25, 28, 31})
        for (int32_t record : data.shapes.RecordNumbers(type)) count += record > rows ? 1 : 0;
    return count;
}

void CheckShapePolygons(ShapeImportData& data) {
    data.degenerateParts = data.toCorrect = 0;
    // A shape past the table's last row has no attributes: placed, but counted for the user to mend.
    const bool withTable = data.fields.GetCount() > 0;
    const int32_t rows = data.TableRows();
    for (SHPEntityData& entity : data.entities) {
        if (withTable && entity.record > rows) {
            ++data.toCorrect;
            if (entity.status == EntityNormal) entity.status = EntityToCorrect;
        }
        if (!entity.IsPolygon()) continue;
        // Part by part: a part of no area (empty, on one line) is left out, and the shape stands on the others; a
        // part that crosses itself is kept, even one whose lobes cancel each other's area out (a bow-tie).
        entity.parts.RemoveIf([&](int32_t index) {
            const SHPPolyData& part = entity.parts[index];
            if (SpreadArea(part.vertices) >= DegenerateArea || RingCrossesItself(part.vertices)) return false;
            ++data.degenerateParts;
            return true;
        });
        if (entity.parts.IsEmpty()) {
            entity.status = EntityDegenerate;
            continue;
        }
        bool crossing = false;
        for (const SHPPolyData& part : entity.parts) crossing = crossing || RingCrossesItself(part.vertices);
        // Placed all the same, flagged, and circled for the user to mend; counted once a shape.
        if (crossing && entity.status == EntityNormal) {
            ++data.toCorrect;
            entity.status = EntityToCorrect;
        }
    }
    int32_t importable = 0;
    for (const SHPEntityData& entity : data.entities) importable += entity.status != EntityDegenerate ? 1 : 0;
    data.importable = importable;
}

void ComputeEntityBounds(ShapeImportData& data, bool withPoints) {
    data.minX = data.minY = ShapeEmptyBound;
    data.maxX = data.maxY = -ShapeEmptyBound;
    auto grow = [&](double x, double y) {
        data.minX = std::min(data.minX, x);
        data.minY = std::min(data.minY, y);
        data.maxX = std::max(data.maxX, x);
        data.maxY = std::max(data.maxY, y);
    };
    for (const SHPEntityData& entity : data.entities) {
        if (entity.IsPoint()) {
            if (withPoints) grow(entity.x, entity.y);
            continue;
        }
        for (const SHPPolyData& part : entity.parts)
            for (const API_Coord3D& v : part.vertices) grow(v.x, v.y);
    }
}

void SetImportSummary(ShapeImportData& data) {
    GISImportOptions& o = data.options;
    o.identified = data.entities.GetCount();
    o.importable = data.importable;
    o.toCorrect = data.toCorrect;
    o.dataMinX = o.areaMinX = data.minX;
    o.dataMinY = o.areaMinY = data.minY;
    o.dataMaxX = o.areaMaxX = data.maxX;
    o.dataMaxY = o.areaMaxY = data.maxY;
    o.nodeDistance = 25.0;
}

void ApplyHeightField(ShapeImportData& data) {
    const int32_t field = data.options.heightField;
    if (field < 0 || field >= data.fields.GetCount()) return;
    for (SHPEntityData& entity : data.entities) {
        // The shape's own row: Null shapes before it keep their rows.
        const char* text = data.Value(entity.record, field);
        double z = 0.0;
        // A text that is no number is no height, as one beyond any survey.
        if (text != nullptr && text[0] != 0 &&
            (!ParseFieldNumber(text, text + std::strlen(text), z) || !SurveyHeight(z))) {
            ++data.heightsRefused;
            z = 0.0;
        }
        if (entity.IsPoint()) {
            entity.z = z;
            continue;
        }
        for (SHPPolyData& part : entity.parts)
            for (API_Coord3D& v : part.vertices) v.z = z;
    }
}

void ThinPolylineNodes(ShapeImportData& data) {
    const double d = data.options.nodeDistance;
    if (d < 0.001) return;
    ReaderProgress& progress = *data.shapes.progress;
    QV_String title("Lodravix"), text;
    GetResString(text, GeneralTableBase + LanguageIndex, WaitText);
    progress.Begin(title, 1);
    progress.Phase(text, uint32_t(data.entities.GetCount()));
    uint32_t number = 0;
    for (SHPEntityData& entity : data.entities) {
        progress.Step(++number);
        if (!entity.IsPolyline()) continue;
        for (SHPPolyData& part : entity.parts) {
            const int32_t n = part.vertices.GetCount();
            if (n < 2) continue;
            API_Coord3D* v = part.vertices.begin();
            int32_t kept = 1;
            // A vertex stays when it is at least d from the last one kept.
            for (int32_t i = 1; i < n; ++i) {
                const API_Coord3D& last = v[kept - 1];
                if (std::hypot(v[i].x - last.x, v[i].y - last.y) >= d) v[kept++] = v[i];
            }
            const API_Coord3D& end = part.vertices[n - 1];
            const API_Coord3D& last = v[kept - 1];
            const API_Coord3D tail = end;
            if (std::hypot(tail.x - last.x, tail.y - last.y) > 1e-5) v[kept++] = tail;
            part.vertices.SetSize(kept);
        }
    }
    progress.End();
}

void ApplyProjectOffset(ShapeImportData& data) {
    const GISImportOptions& o = data.options;
    const bool shift = std::fabs(o.offsetX) >= 1e-7 || std::fabs(o.offsetY) >= 1e-7;
    const double tol = 1e-7;
    const double ax0 = o.areaMinX - o.offsetX, ay0 = o.areaMinY - o.offsetY;
    const double ax1 = o.areaMaxX - o.offsetX, ay1 = o.areaMaxY - o.offsetY;
    auto outside = [&](double x, double y) { return x < ax0 - tol || x > ax1 + tol || y < ay0 - tol || y > ay1 + tol; };
    for (SHPEntityData& entity : data.entities) {
        if (shift) {
            entity.x -= o.offsetX;
            entity.y -= o.offsetY;
            for (SHPPolyData& part : entity.parts)
                for (API_Coord3D& v : part.vertices) {
                    v.x -= o.offsetX;
                    v.y -= o.offsetY;
                }
        }
        if (!o.limited) continue;
        if (entity.IsPoint() && outside(entity.x, entity.y)) entity.areaMark = EntityOutside;
        for (SHPPolyData& part : entity.parts)
            for (const API_Coord3D& v : part.vertices)
                if (outside(v.x, v.y)) {
                    part.areaMark = EntityOutside;
                    break;
                }
    }
}
