// Building a terrain mesh: the corner, break-line and end passes checked against a plain scan over many random
// sites (the grid lookups must give the same first matches), their tolerances, level-line chaining, the mesh's
// memo as the host stores it, and the host's refusal of a memo that does not hold together.
#include "ProjectHost.hpp"
#include "TerrainMeshes.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementQueries.hpp"
#include "terrain/TerrainBuilder.hpp"
#include "terrain/TerrainMeshCreation.hpp"
#include "terrain/TerrainPasses.hpp"

#include <cmath>
#include <random>

namespace terrain_mesh_build_test {

QV_List<API_Coord3D> Ring(std::initializer_list<API_Coord3D> corners) {
    QV_List<API_Coord3D> ring;
    for (const API_Coord3D& c : corners) ring.Insert(c);
    ring.Insert(API_Coord3D(ring[0]));
    return ring;
}

QV_Poly PolyOf(const QV_List<API_Coord3D>& ring) {
    QV_Poly p;
    p.SetFromCoords3D(ring, true);
    return p;
}

// --- a plain scan, straight from the rules, to hold the indexed passes to --------------------------------------

void PlainPasses(TerrainRecord& r, const QV_Poly& outline, const QV_List<API_Coord3D>& points,
                 const QV_List<QV_Segment3D>& lines, uint8_t& missing) {
    const int32_t n = r.boundary.GetCount();
    std::vector<uint8_t> taken(size_t(n), 0);
    r.levelPoints.Clear();
    for (int32_t k = 0; k < points.GetCount(); ++k) {
        const API_Coord3D& p = points[k];
        bool onCorner = false, done = false;
        for (int32_t i = 0; i + 1 < n && !done; ++i) {
            if (std::fabs(r.boundary[i].x - p.x) >= 1e-7 || std::fabs(r.boundary[i].y - p.y) >= 1e-7) continue;
            onCorner = true;
            if (taken[size_t(i)]) continue;
            r.boundary[i].z = p.z;
            taken[size_t(i)] = 1;
            if (i == 0) r.boundary[n - 1].z = p.z;
            done = true;
        }
        if (!done && !onCorner && OnOrInsideOutline(outline, p.x, p.y)) r.levelPoints.Insert(p);
    }
    missing = 0;
    for (int32_t i = 0; i + 1 < n; ++i) missing = missing || !taken[size_t(i)];
    CollectBreakLinesFrom(r, outline, lines);
    const QV_List<QV_Segment3D> kept = r.breakLines;
    r.breakLines.Clear();
    r.used.Clear();
    for (int32_t i = 0; i < r.levelPoints.GetCount(); ++i) r.used.Insert(false);
    for (int32_t k = 0; k < kept.GetCount(); ++k) {
        QV_Segment3D s = kept[k];
        int32_t hit[2] = {-1, -1};
        bool ok[2] = {false, false};
        API_Coord3D* ends[2] = {&s.begin, &s.end};
        for (int e = 0; e < 2; ++e) {
            for (int32_t i = 0; i < r.levelPoints.GetCount() && !ok[e]; ++i)
                if (std::fabs(r.levelPoints[i].x - ends[e]->x) < 5e-5 &&
                    std::fabs(r.levelPoints[i].y - ends[e]->y) < 5e-5) {
                    *ends[e] = r.levelPoints[i];
                    hit[e] = i;
                    ok[e] = true;
                }
            for (int32_t i = 0; i < n && !ok[e]; ++i)
                if (std::fabs(r.boundary[i].x - ends[e]->x) < 5e-5 && std::fabs(r.boundary[i].y - ends[e]->y) < 5e-5) {
                    *ends[e] = r.boundary[i];
                    ok[e] = true;
                }
        }
        if (!ok[0] || !ok[1]) continue;
        for (int32_t h : hit)
            if (h >= 0) r.used[h] = true;
        r.breakLines.Insert(s);
    }
}

bool Same(const API_Coord3D& a, const API_Coord3D& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

TEST(TerrainPasses, GridLookupsGiveThePlainScansFirstMatches) {
    std::mt19937 rng(2024);
    for (int site = 0; site < 60; ++site) {
        std::uniform_real_distribution<double> u(0.0, 100.0), h(90.0, 110.0), jitter(-3e-5, 3e-5);
        const QV_List<API_Coord3D> ring = Ring({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {50, 60, 0}, {0, 100, 0}});
        const QV_Poly outline = PolyOf(ring);
        QV_List<API_Coord3D> points;
        std::vector<API_Coord3D> placed;
        for (int k = 0; k < 200; ++k) {
            API_Coord3D p{u(rng), u(rng), h(rng)};
            const int pick = int(rng() % 10);
            if (pick == 0) p = API_Coord3D{ring[int32_t(rng() % 5)].x, ring[int32_t(rng() % 5)].y, h(rng)};
            if (pick == 1) p = API_Coord3D{ring[int32_t(rng() % 5)].x + 5e-8, ring[0].y, h(rng)};
            if (pick == 2 && !placed.empty()) {  // a doubled point, or one just beside another
                p = placed[rng() % placed.size()];
                p.x += (rng() % 2) ? 0.0 : 2e-5;
            }
            if (pick == 3) p.x = 150.0;  // outside
            points.Insert(p);
            placed.push_back(p);
        }
        QV_List<QV_Segment3D> lines;
        for (int k = 0; k < 150; ++k) {
            const API_Coord3D& a = placed[rng() % placed.size()];
            const API_Coord3D& b = rng() % 4 ? placed[rng() % placed.size()] : API_Coord3D{u(rng), u(rng), 0};
            lines.Insert(QV_Segment3D{{a.x + jitter(rng), a.y + jitter(rng), 0}, {b.x, b.y + jitter(rng), 0}});
        }

        TerrainRecord fast, plain;
        fast.boundary = ring;
        plain.boundary = ring;
        uint8_t missingFast = 0, missingPlain = 0;
        const bool ok = CollectTerrainPointsFrom(fast, outline, points, missingFast);
        CollectBreakLinesFrom(fast, outline, lines);
        ResolveBreakLineEnds(fast);
        PlainPasses(plain, outline, points, lines, missingPlain);

        ASSERT_EQ(ok, missingFast == 0);
        ASSERT_EQ(missingFast, missingPlain) << site;
        for (int32_t i = 0; i < ring.GetCount(); ++i) ASSERT_TRUE(Same(fast.boundary[i], plain.boundary[i])) << site;
        ASSERT_EQ(fast.levelPoints.GetCount(), plain.levelPoints.GetCount()) << site;
        for (int32_t i = 0; i < fast.levelPoints.GetCount(); ++i) {
            ASSERT_TRUE(Same(fast.levelPoints[i], plain.levelPoints[i])) << site;
            ASSERT_EQ(fast.used[i], plain.used[i]) << site << " point " << i;
        }
        ASSERT_EQ(fast.breakLines.GetCount(), plain.breakLines.GetCount()) << site;
        for (int32_t i = 0; i < fast.breakLines.GetCount(); ++i) {
            ASSERT_TRUE(Same(fast.breakLines[i].begin, plain.breakLines[i].begin)) << site;
            ASSERT_TRUE(Same(fast.breakLines[i].end, plain.breakLines[i].end)) << site;
            ASSERT_GT(fast.breakLines[i].begin.z, -1e300);  // no missing-height mark survives
        }
    }
}

// The banded outline test answers as the plain one on random outlines, for points anywhere, on corners, on
// edges and a hair beside them, far from the origin too.
TEST(TerrainPasses, TheBandedOutlineTestAnswersAsThePlainOne) {
    std::mt19937 rng(99);
    for (int shape = 0; shape < 40; ++shape) {
        const double base = shape % 2 ? 6.6e6 : 0.0;
        const int corners = 3 + int(rng() % 60);
        std::uniform_real_distribution<double> radius(20.0, 100.0), u(-110.0, 110.0), t(0.0, 1.0);
        QV_List<API_Coord3D> ring;
        for (int k = 0; k < corners; ++k) {
            const double a = 2.0 * M_PI * k / corners, r = shape % 3 ? radius(rng) : 60.0;
            // Some outlines get horizontal and vertical runs, as a grid's boundary has.
            const double x = shape % 4 == 0 ? std::round(r * std::cos(a) / 10) * 10 : r * std::cos(a);
            const double y = shape % 4 == 0 ? std::round(r * std::sin(a) / 10) * 10 : r * std::sin(a);
            ring.Insert(API_Coord3D{base + x, base + y, 0});
        }
        ring.Insert(API_Coord3D(ring[0]));
        const QV_Poly outline = PolyOf(ring);
        const OutlineTester tester(outline);
        for (int k = 0; k < 3000; ++k) {
            double x = base + u(rng), y = base + u(rng);
            const int pick = int(rng() % 6);
            const int32_t i = int32_t(rng() % uint32_t(corners));
            const API_Coord3D& a = ring[i];
            const API_Coord3D& b = ring[i + 1];
            if (pick == 0) x = a.x, y = a.y;
            if (pick >= 1 && pick <= 3) {
                const double f = pick == 1 ? 0.5 : t(rng), off = pick == 3 ? 4e-8 * double(int(rng() % 5) - 2) : 0.0;
                x = a.x + f * (b.x - a.x) + off;
                y = a.y + f * (b.y - a.y) - off;
            }
            if (pick == 4) y = a.y;  // level with a corner: the ray passes through it
            ASSERT_EQ(tester.OnOrInside(x, y), OnOrInsideOutline(outline, x, y)) << shape << " " << k;
        }
    }
}

TEST(TerrainPasses, TolerancesCornersAndDroppedLines) {
    const QV_List<API_Coord3D> ring = Ring({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
    const QV_Poly outline = PolyOf(ring);
    TerrainRecord r;
    r.boundary = ring;
    QV_List<API_Coord3D> points;
    points.Insert(API_Coord3D{0, 0, 1});
    points.Insert(API_Coord3D{10 + 5e-8, 0, 2});  // within 1e-7: the corner's height
    points.Insert(API_Coord3D{10, 10, 3});
    points.Insert(API_Coord3D{10, 10, 9});        // a second point on a taken corner: passed over
    points.Insert(API_Coord3D{0, 10 - 1e-6, 4});  // 1e-6 away: a level point on the edge
    points.Insert(API_Coord3D{0, 10, 5});
    points.Insert(API_Coord3D{5, 5, 6});
    points.Insert(API_Coord3D{20, 5, 7});  // outside
    uint8_t missing = 9;
    ASSERT_TRUE(CollectTerrainPointsFrom(r, outline, points, missing));
    EXPECT_EQ(missing, 0);
    const double z[] = {1, 2, 3, 5, 1};
    for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(r.boundary[i].z, z[i]);
    ASSERT_EQ(r.levelPoints.GetCount(), 2);
    EXPECT_EQ(r.levelPoints[0].z, 4);
    EXPECT_EQ(r.levelPoints[1].z, 6);

    QV_List<QV_Segment3D> lines;
    lines.Insert(QV_Segment3D{{0, 0, 0}, {5 + 4e-5, 5, 0}});   // corner to the inner point
    lines.Insert(QV_Segment3D{{0, 10 - 1e-6, 0}, {7, 7, 0}});  // one end away from every point: dropped
    lines.Insert(QV_Segment3D{{5, 5, 0}, {12, 5, 0}});         // leaves the outline: never taken
    CollectBreakLinesFrom(r, outline, lines);
    EXPECT_EQ(r.breakLines.GetCount(), 2);
    ResolveBreakLineEnds(r);
    ASSERT_EQ(r.breakLines.GetCount(), 1);
    EXPECT_EQ(r.breakLines[0].begin.z, 1);
    EXPECT_EQ(r.breakLines[0].end.z, 6);
    EXPECT_FALSE(r.used[0]);  // the dropped line's point stays a point of the mesh
    EXPECT_TRUE(r.used[1]);

    QV_List<API_Coord3D> three;
    three.Insert(API_Coord3D{0, 0, 1});
    three.Insert(API_Coord3D{10, 0, 1});
    three.Insert(API_Coord3D{10, 10, 1});
    EXPECT_FALSE(CollectTerrainPointsFrom(r, outline, three, missing));
    EXPECT_EQ(missing, 1);
}

TEST(TerrainPasses, OnOutlineFollowsArcs) {
    QV_Poly half;  // a half disc of radius 10 about the origin, the arc on top
    half.vertices.Insert(API_Coord{10, 0});
    half.vertices.Insert(API_Coord{-10, 0});
    half.arcs.Insert(QV_Arc::FromEndPointsAndAngle(API_Coord{10, 0}, API_Coord{-10, 0}, M_PI));
    half.codes.Insert(0);
    half.codes.Insert(-1);
    for (int k = 0; k <= 36; ++k) {
        const double a = M_PI * k / 36.0;
        EXPECT_TRUE(OnOutline(half, 10 * std::cos(a), 10 * std::sin(a))) << k;
        EXPECT_FALSE(OnOutline(half, 10.001 * std::cos(a), 10.001 * std::sin(a))) << k;
    }
    EXPECT_FALSE(OnOutline(half, 0, -10));  // on the circle, off the arc
    EXPECT_TRUE(OnOutline(half, 3, 0));     // the straight edge

    QV_Poly right;  // the right half disc: its arc crosses the +x axis
    right.vertices.Insert(API_Coord{0, -10});
    right.vertices.Insert(API_Coord{0, 10});
    right.arcs.Insert(QV_Arc::FromEndPointsAndAngle(API_Coord{0, -10}, API_Coord{0, 10}, M_PI));
    right.codes.Insert(0);
    right.codes.Insert(-1);
    for (int k = -18; k <= 18; ++k) {
        const double a = M_PI * k / 36.0;
        EXPECT_TRUE(OnOutline(right, 10 * std::cos(a), 10 * std::sin(a))) << k;
    }
    EXPECT_FALSE(OnOutline(right, -10, 0));
}

// --- the mesh ----------------------------------------------------------------------------------------------

TerrainRecord Square() {
    TerrainRecord r;
    r.boundary = Ring({{0, 0, 100}, {20, 0, 101}, {20, 20, 102}, {0, 20, 103}});
    return r;
}

TEST(TerrainMeshCounts, ChainingFollowsListOrder) {
    TerrainRecord r = Square();
    const QV_Segment3D ab{{0, 0, 1}, {5, 5, 2}}, bc{{5, 5, 2}, {9, 9, 3}}, de{{1, 9, 1}, {2, 9, 1}};
    r.breakLines.Insert(ab);
    r.breakLines.Insert(bc);
    r.breakLines.Insert(de);
    TerrainMeshCounts c = CountLevelLines(r);
    EXPECT_EQ(c.levelVertices, 5);
    EXPECT_EQ(c.levelLines, 2);
    r.breakLines.Clear();
    r.breakLines.Insert(bc);
    r.breakLines.Insert(ab);
    c = CountLevelLines(r);
    EXPECT_EQ(c.levelVertices, 4);
    EXPECT_EQ(c.levelLines, 2);
}

class TerrainMeshTest : public ProjectHostTest {};

// The build's one walk over the hotspots reads what its separate reads read: the level points (a point's tagged
// record on a shown layer) and the points the outline's corners are matched to (any record that reads as a
// point's, on any layer), in the host's order.
TEST_F(TerrainMeshTest, OneWalkOverTheHotspotsReadsWhatTheSeparateReadsRead) {
    const int32_t hidden = Layer("Hidden", APILay_Hidden);
    std::mt19937 random(3);
    QV_List<API_Coord3D> ring;
    for (int i = 0; i < 80; ++i) {
        const double x = double(random() % 12), y = double(random() % 12);  // places repeat
        API_Guid g = {};
        ASSERT_EQ(Db().PlaceHotspot({x, y}, random() % 4 == 0 ? hidden : 1, "", &g), NoError);
        const uint32_t record = random() % 4;  // none, a point's (twice as often), a constraint's
        if (record != 0) {
            ElemDescriptor d;
            d.Value = 100.0 + i;
            const API_Elem_Head head = Db().Find(g)->record.header;
            const int32_t kind = record == 3 ? ElemKind_Constraint : ElemKind_Point;
            ASSERT_EQ(Command([&] { return ElemUserData_WriteRecord(d, kind, head) ? NoError : APIERR_GENERAL; }),
                      NoError);
        }
        ring.Insert(API_Coord3D{x, y, 0.0});
    }
    ring.Insert(API_Coord3D(ring[0]));
    QV_List<API_Coord3D> shown, anywhere, separately;
    ASSERT_TRUE(ReadTerrainPointSets(shown, anywhere));
    ASSERT_TRUE(ReadTerrainPoints(separately));
    ASSERT_EQ(shown.GetCount(), separately.GetCount());
    for (int32_t i = 0; i < shown.GetCount(); ++i) {
        EXPECT_EQ(shown[i].x, separately[i].x);
        EXPECT_EQ(shown[i].y, separately[i].y);
        EXPECT_EQ(shown[i].z, separately[i].z);
    }
    EXPECT_GT(anywhere.GetCount(), shown.GetCount());
    QV_List<API_Coord3D> kept = ring, keptFromWalk = ring;
    KeepOutlineVerticesAtPoints3D(kept);
    KeepOutlineVerticesAtPoints3D(keptFromWalk, anywhere);
    ASSERT_EQ(keptFromWalk.GetCount(), kept.GetCount());
    for (int32_t i = 0; i < kept.GetCount(); ++i) EXPECT_EQ(keptFromWalk[i].z, kept[i].z) << i;

    // One refused shown-layer filter: every point's is tried in turn, and the read fails only where the point lies
    // on a shown layer of this story, never by dropping that point from the terrain.
    const int32_t calls = 2 * 80;
    int refused = 0;
    int refusedAlone = 0;
    for (int32_t pass = 0; pass < calls; pass += 7) {
        ASSERT_TRUE(host->FailCallAfter("Element_Filter", -1, APIERR_GENERAL, pass, 1));
        QV_List<API_Coord3D> s, a;
        const bool read = ReadTerrainPointSets(s, a);
        host->ClearFailures();
        refused += read ? 0 : 1;
        if (read) {
            EXPECT_EQ(s.GetCount(), shown.GetCount()) << pass;
            EXPECT_EQ(a.GetCount(), anywhere.GetCount()) << pass;
        }
        // The same for the points read alone (and the constraint lines, read the same way).
        ASSERT_TRUE(host->FailCallAfter("Element_Filter", -1, APIERR_GENERAL, pass, 1));
        QV_List<API_Coord3D> alone;
        const bool readAlone = ReadTerrainPoints(alone);
        host->ClearFailures();
        refusedAlone += readAlone ? 0 : 1;
        if (readAlone) {
            EXPECT_EQ(alone.GetCount(), separately.GetCount()) << pass;
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(refusedAlone, 0);
}

TEST_F(TerrainMeshTest, CreatedMeshCarriesTheRingLevelLinesSkirtAndRecord) {
    Db().SetStory(0, 10.0, "Ground");
    TerrainRecord r = Square();
    r.breakLines.Insert(QV_Segment3D{{0, 0, 100}, {5, 5, 98.5}});
    r.breakLines.Insert(QV_Segment3D{{5, 5, 98.5}, {9, 9, 99}});
    r.breakLines.Insert(QV_Segment3D{{1, 9, 97}, {2, 9, 97}});
    r.levelPoints.Insert(API_Coord3D{5, 5, 98.5});
    r.levelPoints.Insert(API_Coord3D{15, 15, 96});
    r.used.Insert(true);
    r.used.Insert(false);
    r.contourPen = 12;
    API_Element mesh;
    API_ElementMemo memo;
    ASSERT_EQ(Command([&] { return CreateTerrainMesh(r, 2.0, mesh, memo, 0, 0) ? NoError : APIERR_GENERAL; }), NoError);

    API_Element stored = {};
    stored.header.guid = mesh.header.guid;
    ASSERT_EQ(ACAPI_Element_Get(&stored), NoError);
    EXPECT_EQ(stored.mesh.level, -12.0);
    EXPECT_EQ(stored.mesh.skirtLevel, 1.0 - 96.0);
    EXPECT_EQ(stored.mesh.pen, 12);
    EXPECT_EQ(stored.mesh.levelLines.nCoords, 6);
    EXPECT_EQ(stored.mesh.levelLines.nSubLines, 3);
    API_ElementMemo got = {};
    ASSERT_EQ(ACAPI_Element_GetMemo(mesh.header.guid, &got), NoError);
    const uint32_t ids[] = {4, 1, 2, 3, 4, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ((*got.vertexIDs)[i], ids[i]);
    EXPECT_EQ((*got.pends)[1], 5);
    EXPECT_EQ((*got.meshPolyZ)[3], 102);
    const int32_t ends[] = {3, 5, 6};
    for (int i = 0; i < 3; ++i) EXPECT_EQ((*got.meshLevelEnds)[i], ends[i]);
    for (int i = 0; i < 6; ++i) EXPECT_EQ((*got.meshLevelCoords)[i].vertexID, i);
    EXPECT_EQ((*got.meshLevelCoords)[5].c.z, 96);
    ASSERT_NE(got.elemInfoString, nullptr);
    EXPECT_EQ(got.elemInfoString->ToUtf8(), "TERRAIN");
    ACAPI_DisposeElemMemoHdls(&got);

    ElemDescriptor d;
    ASSERT_TRUE(ElemUserData_ReadFromElement(d, ElemKind_Terrain, stored.header, false));
    std::vector<TerrainMeshes::Triangle> top;
    ASSERT_TRUE(TerrainMeshes::TopTriangles(stored, &top));
    EXPECT_GE(top.size(), 6u);
}

TEST_F(TerrainMeshTest, NoStoryAtTheCurrentIndexCreatesNothing) {
    // The story query fails: the current index is unknown and no story level can be matched to it.
    ASSERT_TRUE(host->FailCall("Environment", -1, APIERR_GENERAL));
    TerrainRecord r = Square();
    API_Element mesh;
    API_ElementMemo memo;
    bool made = true;
    Command([&] {
        made = CreateTerrainMesh(r, 0.0, mesh, memo, 0, 0);
        return NoError;
    });
    EXPECT_FALSE(made);
    GS::Array<API_Guid> meshes;
    ASSERT_EQ(ACAPI_Element_GetElemList(API_MeshID, &meshes), NoError);
    EXPECT_EQ(meshes.GetSize(), 0u);
}

TEST_F(TerrainMeshTest, HostRefusesAMemoThatDoesNotHoldTogether) {
    const TerrainRecord r = Square();
    const auto attempt = [&](const std::function<void(API_Element&, API_ElementMemo&)>& spoil) {
        API_Element mesh = {};
        mesh.header.typeID = API_MeshID;
        EXPECT_EQ(ACAPI_Element_GetDefaults(&mesh, nullptr), NoError);
        API_ElementMemo memo;
        TerrainRecord withLine = r;
        withLine.breakLines.Insert(QV_Segment3D{{1, 1, 1}, {2, 2, 2}});
        EXPECT_TRUE(FillTerrainMeshMemo(withLine, 0, 0, mesh, memo));
        spoil(mesh, memo);
        const GSErrCode err = Command([&] { return ACAPI_Element_Create(&mesh, &memo); });
        ACAPI_DisposeElemMemoHdls(&memo);
        return err;
    };
    EXPECT_EQ(attempt([](API_Element&, API_ElementMemo&) {}), NoError);
    EXPECT_EQ(attempt([](API_Element&, API_ElementMemo& m) { (*m.vertexIDs)[5] = 5; }), APIERR_BADPOLY);
    EXPECT_EQ(attempt([](API_Element&, API_ElementMemo& m) { (*m.vertexIDs)[0] = 9; }), APIERR_BADPOLY);
    EXPECT_EQ(attempt([](API_Element&, API_ElementMemo& m) { (*m.meshLevelEnds)[0] = 3; }), APIERR_BADPOLY);
    EXPECT_EQ(attempt([](API_Element&, API_ElementMemo& m) { (*m.meshPolyZ)[2] = MissingHeight; }), APIERR_BADPOLY);
    EXPECT_EQ(attempt([](API_Element& e, API_ElementMemo&) { e.mesh.level = -1.79769313486231e308; }), APIERR_BADPOLY);
    EXPECT_EQ(attempt([](API_Element& e, API_ElementMemo&) { e.mesh.levelLines.nSubLines = 2; }), APIERR_BADPOLY);
}

TEST_F(TerrainMeshTest, GarbledMemosAreRefusedOrGiveASurface) {
    std::mt19937 rng(99);
    int accepted = 0, refused = 0;
    for (int round = 0; round < 200; ++round) {
        TerrainRecord r = Square();
        r.breakLines.Insert(QV_Segment3D{{2, 2, 100}, {8, 8, 101}});
        r.breakLines.Insert(QV_Segment3D{{8, 8, 101}, {12, 3, 99}});
        r.levelPoints.Insert(API_Coord3D{15, 15, 98});
        r.used.Insert(false);
        API_Element mesh = {};
        mesh.header.typeID = API_MeshID;
        ASSERT_EQ(ACAPI_Element_GetDefaults(&mesh, nullptr), NoError);
        API_ElementMemo memo;
        ASSERT_TRUE(FillTerrainMeshMemo(r, 0, 0, mesh, memo));
        // One to three garbled numbers: counts, vertex numbers, level ends, heights.
        const int spoils = 1 + int(rng() % 3);
        for (int k = 0; k < spoils; ++k) {
            const int32_t big[] = {-1, 0, 1, 2, 3, 5, 6, 7, 1 << 20, INT32_MAX};
            const int32_t v = big[rng() % 10];
            switch (rng() % 7) {
                case 0: mesh.mesh.poly.nCoords = v; break;
                case 1: mesh.mesh.levelLines.nCoords = v; break;
                case 2: mesh.mesh.levelLines.nSubLines = v; break;
                case 3: (*memo.vertexIDs)[rng() % 6] = uint32_t(v); break;
                case 4: (*memo.meshLevelEnds)[rng() % 2] = v; break;
                case 5: (*memo.meshPolyZ)[1 + rng() % 5] = rng() % 2 ? NAN : MissingHeight; break;
                default: (*memo.pends)[1] = v; break;
            }
        }
        API_Element made = mesh;
        const GSErrCode err = Command([&] { return ACAPI_Element_Create(&made, &memo); });
        ACAPI_DisposeElemMemoHdls(&memo);
        if (err != NoError) {
            ++refused;
            continue;
        }
        ++accepted;
        std::vector<TerrainMeshes::Triangle> top;
        EXPECT_TRUE(TerrainMeshes::TopTriangles(made, &top)) << round;
        for (const TerrainMeshes::Triangle& t : top)
            for (const API_Coord3D& p : t.p) ASSERT_TRUE(std::isfinite(p.z)) << round;
    }
    EXPECT_GT(refused, 100);
    EXPECT_GT(accepted, 0);  // some garbling leaves a mesh that still holds together
}

TEST_F(TerrainMeshTest, OnADoubledVertexTheOutlineThenTheLevelPointHeightWins) {
    API_Element mesh;
    ASSERT_EQ(Command([&] {
                  return TerrainMeshes::PlaceMesh({{0, 0, 10}, {20, 0, 10}, {20, 20, 10}, {0, 20, 10}},
                                                  {{0, 0, 50}, {10, 10, 7}}, {{{10, 10, 5}, {15, 12, 5}}}, &mesh);
              }),
              NoError);
    std::vector<TerrainMeshes::Triangle> top;
    ASSERT_TRUE(TerrainMeshes::TopTriangles(mesh, &top));
    int corner = 0, inner = 0;
    for (const TerrainMeshes::Triangle& t : top)
        for (const API_Coord3D& p : t.p) {
            if (p.x == 0 && p.y == 0) {
                EXPECT_EQ(p.z, 10.0);
                ++corner;
            }
            if (p.x == 10 && p.y == 10) {
                EXPECT_EQ(p.z, 7.0);
                ++inner;
            }
        }
    EXPECT_GT(corner, 0);
    EXPECT_GT(inner, 0);
}

}  // namespace terrain_mesh_build_test
