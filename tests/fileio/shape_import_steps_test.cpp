// The shapefile import's steps between reading and placing: shapes paired with their own table rows, node and
// point thinning, the vertical thinning's grid, and the constraint segments with crossings removed, each checked
// against a plain reading of its rule over many inputs.
#include "ReaderFixture.hpp"

#include "fileio/ShapeImportData.hpp"
#include "fileio/ShapeTerrainInput.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"
#include "settings/ProjectOffset.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace shape_import_steps_test {

SHPEntityData Line(std::initializer_list<std::initializer_list<API_Coord3D>> parts, int32_t type = 13) {
    SHPEntityData e;
    e.shapeType = type;
    for (const auto& part : parts) {
        SHPPolyData p;
        for (const API_Coord3D& v : part) p.vertices.Insert(v);
        e.parts.Insert(p);
    }
    return e;
}

SHPEntityData Point(double x, double y, double z = 0.0) {
    SHPEntityData e;
    e.shapeType = 11;
    e.x = x;
    e.y = y;
    e.z = z;
    return e;
}

class ShapeImportStepsTest : public ReaderTest {
protected:
    void SetUp() override {
        ReaderTest::SetUp();
        ProjectOffset.Reset();
    }
    void Load(ShapeImportData& data, const std::string& name) {
        data.shapes.path = QV_String(Data("shp/" + name).c_str(), Encoding_UTF8);
        ASSERT_TRUE(ReadDBFTable(data));
        ASSERT_TRUE(data.shapes.Read());
        ConvertShapesToEntities(data, true);
    }
    static int32_t FieldIndex(const ShapeImportData& data, const char* name) {
        for (int32_t f = 0; f < data.fields.GetCount(); ++f)
            if (data.fields[f].name.Compare(QV_String(name)) == 0) return f;
        return -1;
    }
};

TEST_F(ShapeImportStepsTest, ShapesAfterNullShapesKeepTheirOwnRows) {
    ShapeImportData full, gaps;
    Load(full, "nc.shp");
    Load(gaps, "nc_nulls.shp");
    ASSERT_EQ(gaps.entities.GetCount(), 91);
    std::map<std::string, API_Coord3D> firstVertexByName;
    const int32_t name = FieldIndex(full, "NAME");
    for (const SHPEntityData& e : full.entities) firstVertexByName[full.Value(e.record, name)] = e.parts[0].vertices[0];
    // Each shape's row names the county whose outline it is.
    const int32_t gapName = FieldIndex(gaps, "NAME");
    for (const SHPEntityData& e : gaps.entities) {
        const API_Coord3D& v = firstVertexByName.at(gaps.Value(e.record, gapName));
        EXPECT_EQ(v.x, e.parts[0].vertices[0].x);
        EXPECT_EQ(v.y, e.parts[0].vertices[0].y);
    }
    // The height from a field is the shape's own row too.
    gaps.options.heightField = FieldIndex(gaps, "CNTY_ID");
    ApplyHeightField(gaps);
    for (const SHPEntityData& e : gaps.entities)
        EXPECT_EQ(e.parts[0].vertices[0].z, std::atof(gaps.Value(e.record, gaps.options.heightField)));
    // Every part of olinda1 is smaller than 0.001 square units: all degenerate.
    ShapeImportData tiny;
    Load(tiny, "olinda1.shp");
    CheckShapePolygons(tiny);
    // Counted by shapes, not parts: none is importable.
    EXPECT_EQ(tiny.importable, 0);
    EXPECT_GE(tiny.degenerateParts, tiny.entities.GetCount());
    for (const SHPEntityData& e : tiny.entities) EXPECT_EQ(e.status, EntityDegenerate);
}

TEST_F(ShapeImportStepsTest, NodeThinningKeepsVerticesAtLeastTheDistanceApart) {
    std::mt19937 random(3);
    std::uniform_real_distribution<double> step(0.0, 6.0), turn(-3.0, 3.0);
    for (int trial = 0; trial < 200; ++trial) {
        ShapeImportData data;
        data.options.nodeDistance = 1.0 + trial % 9;
        SHPEntityData line = Line({{}});
        double x = 0, y = 0;
        for (int i = 0; i < 60; ++i) {
            line.parts[0].vertices.Insert(API_Coord3D{x, y, double(i)});
            x += step(random);
            y += turn(random);
        }
        SHPEntityData polygon = line;
        polygon.shapeType = 15;
        data.entities.Insert(line);
        data.entities.Insert(polygon);
        ThinPolylineNodes(data);
        const QV_List<API_Coord3D>& original = line.parts[0].vertices;
        const QV_List<API_Coord3D>& kept = data.entities[0].parts[0].vertices;
        EXPECT_EQ(data.entities[1].parts[0].vertices.GetCount(), 60);
        // The first and the last vertex stay; every vertex between is kept exactly when it is at least d from
        // the one kept before it.
        ASSERT_GE(kept.GetCount(), 2);
        EXPECT_EQ(kept[0].z, 0.0);
        EXPECT_EQ(kept[kept.GetCount() - 1].z, 59.0);
        int32_t k = 1;
        API_Coord3D last = original[0];
        for (int32_t i = 1; i < 59; ++i)
            if (std::hypot(original[i].x - last.x, original[i].y - last.y) >= data.options.nodeDistance) {
                ASSERT_LT(k, kept.GetCount());
                EXPECT_EQ(kept[k++].z, original[i].z);
                last = original[i];
            }
    }
}

TEST_F(ShapeImportStepsTest, PointThinningDropsPointsNearAKeptOne) {
    // A row of points 1.0 apart with d = 2.5 keeps every third.
    ShapeImportData row;
    row.options.nodeDistance = 2.5;
    for (int i = 0; i < 10; ++i) row.entities.Insert(Point(i, 0.0));
    ThinPointEntities(row);
    ASSERT_EQ(row.entities.GetCount(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(row.entities[i].x, 3.0 * i);
    // Random clouds against the rule read plainly: every point against every kept one.
    std::mt19937 random(11);
    std::uniform_real_distribution<double> at(-50.0, 50.0);
    for (int trial = 0; trial < 20; ++trial) {
        ShapeImportData data;
        data.options.nodeDistance = 0.5 + trial;
        data.entities.Insert(Line({{{0, 0, 0}, {1, 1, 1}}}));
        std::vector<SHPEntityData> points;
        for (int i = 0; i < 300; ++i) points.push_back(Point(at(random), at(random)));
        for (const SHPEntityData& p : points) data.entities.Insert(p);
        ThinPointEntities(data);
        std::vector<const SHPEntityData*> expected;
        const double d2 = data.options.nodeDistance * data.options.nodeDistance;
        for (const SHPEntityData& p : points) {
            bool near = false;
            for (const SHPEntityData* q : expected)
                near |= (p.x - q->x) * (p.x - q->x) + (p.y - q->y) * (p.y - q->y) < d2;
            if (!near) expected.push_back(&p);
        }
        ASSERT_EQ(size_t(data.entities.GetCount()), expected.size() + 1);
        EXPECT_EQ(data.entities[0].shapeType, 13);
        for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(data.entities[int32_t(i + 1)].x, expected[i]->x);
    }
}

TEST_F(ShapeImportStepsTest, VerticalThinningOnFlatAndVeryWideExtents) {
    auto thin = [](std::initializer_list<API_Coord3D> coords, double d) {
        ShapeImportData data;
        data.options.nodeDistance = d;
        data.options.verticalThinning = 1;
        int32_t n = 0;
        for (const API_Coord3D& c : coords) data.meshCoords.Insert(SHPMeshCoord{c.x, c.y, c.z, 0, 0, n++, 0, 0});
        ThinMeshCoords(data);
        std::vector<double> xs;
        for (const SHPMeshCoord& c : data.meshCoords) xs.push_back(c.x + c.y);
        return xs;
    };
    // 0.5 apart in plan, 3.0 in height: both stay at d = 2.
    EXPECT_EQ(thin({{0, 0, 0}, {0.5, 0, 3}}, 2.0).size(), 2u);
    // All on one x (zero width), 1.0 apart in y: the first of each close pair stays.
    EXPECT_EQ(thin({{5, 0, 0}, {5, 1, 0}, {5, 2, 0}, {5, 3, 0}}, 1.5), (std::vector<double>{5, 7}));
    // One point: nothing to divide by.
    EXPECT_EQ(thin({{5, 5, 5}}, 1.0).size(), 1u);
    // 40 km at d = 1 m: far more than 32767 columns, and the close pair at the far end is still found.
    EXPECT_EQ(thin({{0, 0, 0}, {39999.6, 0, 0}, {40000, 0, 0}}, 1.0), (std::vector<double>{0, 39999.6}));
}

TEST_F(ShapeImportStepsTest, ConstraintsJoinNeighboursOfOnePartAndDropLaterCrossings) {
    ShapeImportData data;
    data.options.withContours = 1;
    // Two parts of one shape; a second line crossing the first part; a point.
    data.entities.Insert(Line({{{0, 0, 0}, {10, 0, 0}, {20, 0, 0}}, {{0, 50, 0}, {10, 50, 0}}}));
    data.entities.Insert(Line({{{5, -5, 0}, {5, 5, 0}}}));
    data.entities.Insert(Point(100, 100));
    CollectMeshCoords(data);
    BuildConstraints(data);
    ASSERT_EQ(data.validConstraints, 3);
    auto segment = [&](int32_t i) {
        const SHPConstraintData& c = data.constraints[i];
        return std::make_pair(data.meshCoords[c.start].x + 100 * data.meshCoords[c.start].y,
                              data.meshCoords[c.end].x + 100 * data.meshCoords[c.end].y);
    };
    EXPECT_EQ(segment(0), std::make_pair(0.0, 10.0));
    EXPECT_EQ(segment(1), std::make_pair(10.0, 20.0));
    EXPECT_EQ(segment(2), std::make_pair(5000.0, 5010.0));
    // The area clip takes the middle vertex: no constraint over the gap.
    ShapeImportData clipped;
    clipped.options.withContours = 1;
    clipped.options.limited = 1;
    clipped.options.areaMinX = -1;
    clipped.options.areaMaxX = 30;
    clipped.options.areaMinY = -1;
    clipped.options.areaMaxY = 1;
    clipped.entities.Insert(Line({{{0, 0, 0}, {10, 5, 0}, {20, 0, 0}, {25, 0, 0}}}));
    CollectMeshCoords(clipped);
    OffsetAndClipMeshCoords(clipped);
    BuildConstraints(clipped);
    ASSERT_EQ(clipped.validConstraints, 1);
    EXPECT_EQ(clipped.meshCoords[clipped.constraints[0].start].x, 20.0);

    // Random polylines against the plain rule: every kept segment against every later one.
    std::mt19937 random(5);
    std::uniform_real_distribution<double> at(0.0, 100.0), step(-8.0, 8.0);
    for (int trial = 0; trial < 10; ++trial) {
        ShapeImportData r;
        r.options.withContours = 1;
        for (int line = 0; line < 30; ++line) {
            SHPEntityData e = Line({{}});
            double x = at(random), y = at(random);
            for (int i = 0; i < 20; ++i) {
                e.parts[0].vertices.Insert(API_Coord3D{x, y, 0});
                x += step(random);
                y += step(random);
            }
            r.entities.Insert(e);
        }
        CollectMeshCoords(r);
        BuildConstraints(r);
        std::vector<std::pair<int32_t, int32_t>> all, kept;
        for (int32_t i = 0; i + 1 < r.meshCoords.GetCount(); ++i)
            if (r.meshCoords[i].entity == r.meshCoords[i + 1].entity) all.push_back({i, i + 1});
        auto at2 = [&](int32_t i) { return API_Coord{r.meshCoords[i].x, r.meshCoords[i].y}; };
        std::vector<bool> keep(all.size(), true);
        for (size_t i = 0; i < all.size(); ++i)
            if (keep[i])
                for (size_t j = i + 1; j < all.size(); ++j)
                    if (keep[j] &&
                        SegmentsCross(at2(all[i].first), at2(all[i].second), at2(all[j].first), at2(all[j].second),
                                      nullptr))
                        keep[j] = false;
        for (size_t i = 0; i < all.size(); ++i)
            if (keep[i]) kept.push_back(all[i]);
        ASSERT_EQ(size_t(r.validConstraints), kept.size());
        for (size_t i = 0; i < kept.size(); ++i) {
            EXPECT_EQ(r.constraints[int32_t(i)].start, kept[i].first);
            EXPECT_EQ(r.constraints[int32_t(i)].end, kept[i].second);
        }
    }
}

// Counties whose heights come from a table field meet on shared borders with two heights: one terrain point per
// such position, with the height read first, and the positions counted; one height met twice stays as it was.
TEST_F(ShapeImportStepsTest, SharedBordersOfTwoHeightsGiveOnePointWithTheFirstHeight) {
    ShapeImportData data;
    Load(data, "nc.shp");
    data.options.heightField = FieldIndex(data, "CNTY_ID");
    ApplyHeightField(data);
    data.pointOptions.SetDefaults();
    int32_t created = 0;
    ASSERT_EQ(ACAPI_CallUndoableCommand(GS::UniString("import"),
                                        [&]() -> GSErrCode {
                                            created = CreateTerrainInputCommand(data);
                                            return NoError;
                                        }),
              NoError);
    ASSERT_EQ(created, 1);
    // What the mesh coordinates hold per position, in their order.
    std::map<std::pair<double, double>, std::vector<double>> heights;
    for (const SHPMeshCoord& c : data.meshCoords) heights[{c.x, c.y}].push_back(c.z);
    uint32_t mixed = 0;
    for (const auto& [at, zs] : heights)
        mixed += std::any_of(zs.begin(), zs.end(), [&](double z) { return z != zs[0]; });
    EXPECT_GT(mixed, 100u);
    EXPECT_EQ(data.mixedHeights, mixed);
    GS::Array<API_Guid> guids;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_HotspotID, &guids), NoError);
    std::map<std::pair<double, double>, std::vector<double>> placed;
    for (uint32_t i = 0; i < guids.GetSize(); ++i) {
        API_Element e = {};
        e.header.guid = guids[i];
        ASSERT_EQ(ACAPI_Element_Get(&e), NoError);
        ElemDescriptor record;
        ASSERT_TRUE(ElemUserData_ReadFromElement(record, ElemKind_Point, e.header, false));
        placed[{e.hotspot.pos.x, e.hotspot.pos.y}].push_back(record.Value);
    }
    ASSERT_EQ(placed.size(), heights.size());
    for (const auto& [at, zs] : placed) {
        const std::vector<double>& read = heights.at(at);
        for (double z : zs) ASSERT_EQ(z, read[0]);
        // Copies of the first height stay; only the other heights went.
        ASSERT_EQ(zs.size(), size_t(std::count(read.begin(), read.end(), read[0])));
    }
}

// Polygon parts judged one by one: a part of no area (empty, on one line) is left out and counted, the shape stands on
// its other parts; a bow-tie whose lobes cancel each other's area is to be corrected, not dropped; a million empty
// parts beside a square leave the square importable, and no count wraps.
TEST_F(ShapeImportStepsTest, PolygonPartsAreJudgedPartByPartAndTheCountsNeverWrap) {
    const std::initializer_list<API_Coord3D> square = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 0}};
    ShapeImportData data;
    data.entities.Insert(Line({square, {{20, 20, 0}, {30, 30, 0}, {40, 40, 0}, {20, 20, 0}}, {}}, 5));
    data.entities.Insert(Line({{{0, 0, 0}, {10, 10, 0}, {10, 0, 0}, {0, 10, 0}, {0, 0, 0}}}, 5));
    data.entities.Insert(Line({{}, {{5, 5, 0}, {5, 5, 0}, {5, 5, 0}}}, 15));
    SHPEntityData many = Line({square}, 5);
    for (int i = 0; i < 1000000; ++i) many.parts.Insert(SHPPolyData());
    data.entities.Insert(many);
    CheckShapePolygons(data);
    EXPECT_EQ(data.entities[0].status, EntityNormal);
    EXPECT_EQ(data.entities[0].parts.GetCount(), 1);
    EXPECT_EQ(data.entities[1].status, EntityToCorrect);
    EXPECT_EQ(data.entities[2].status, EntityDegenerate);
    EXPECT_EQ(data.entities[3].status, EntityNormal);
    EXPECT_EQ(data.entities[3].parts.GetCount(), 1);
    EXPECT_EQ(data.degenerateParts, 2 + 2 + 1000000);
    EXPECT_EQ(data.importable, 3);
    EXPECT_EQ(data.toCorrect, 1);
    SetImportSummary(data);
    EXPECT_EQ(data.options.identified, 4);
    EXPECT_EQ(data.options.importable, 3);
}

}  // namespace shape_import_steps_test
