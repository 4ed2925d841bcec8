// Exploding elements into the primitives of their 2D drawing, on the stand-in host: what each kind of element
// yields, the contexts of a fill's primitives, the direction of arc edges, and element references that lead back.
#include "ProjectHost.hpp"

#include "geometry/project/QV_Explode.hpp"

#include <cmath>
#include <random>

namespace explode_test {

const double kEps = 1e-9;

double Sweep(double from, double to) {  // counter-clockwise, in [0, 2 pi)
    double s = std::fmod(to - from, 2.0 * M_PI);
    return s < 0.0 ? s + 2.0 * M_PI : s;
}
API_Coord At(const API_PrimArc& a, double angle) {
    return {a.orig.x + a.r * std::cos(angle), a.orig.y + a.r * std::sin(angle)};
}
void ExpectNear(const API_Coord& p, const API_Coord& q, double eps = 1e-9) {
    EXPECT_NEAR(p.x, q.x, eps);
    EXPECT_NEAR(p.y, q.y, eps);
}

class ExplodeTest : public ProjectHostTest {
protected:
    API_Elem_Head Head(const API_Guid& g) { return Db().Find(g)->record.header; }
    StoredElement& Stored(const API_Guid& g) { return *Db().FindMutable(g); }
    API_Guid Fill(const std::vector<API_Coord3D>& ring, const std::vector<API_PolyArc>& arcs, int16_t fillInd) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_HatchID, ring, true, 1, "", &g), NoError);
        Stored(g).memo.Mutable().parcs = arcs;
        Stored(g).record.Edit([&](API_Element& rec) { rec.hatch.poly.nArcs = int32_t(arcs.size()); });
        Stored(g).record.Edit([&](API_Element& rec) { rec.hatch.fillInd = fillInd; });
        return g;
    }
    template <typename R>
    std::vector<R> Of(const QV_List<R>& list, uint32_t elemType, uint32_t code) {
        std::vector<R> out;
        for (const R& r : list)
            if (r.elemType == elemType && r.primCode == code) out.push_back(r);
        return out;
    }
};

TEST_F(ExplodeTest, EachKindOfElementGivesItsPrimitives) {
    API_Guid line = {}, polyline = {};
    ASSERT_EQ(Db().PlaceLine({0, 0}, {3, 4}, 1, "", &line), NoError);
    const API_Guid hotspot = PlaceHotspot("");
    // A polyline turning clockwise on its middle edge.
    ASSERT_EQ(
        Db().PlacePolygonElement(API_PolyLineID, {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {4, 2, 0}}, false, 1, "", &polyline),
        NoError);
    Stored(polyline).memo.Mutable().parcs = std::vector<API_PolyArc>{{2, 3, -M_PI / 2}};
    Stored(polyline).record.Edit([&](API_Element& rec) { rec.polyLine.poly.nArcs = 1; });
    API_Element text = {};
    text.header.typeID = API_TextID;
    ASSERT_EQ(Db().GetDefaults(&text, nullptr), NoError);
    text.text.loc = {5, 5};
    StoredMemo textMemo;
    textMemo.textContent = std::string("H\xC3\xB6he 12 m");
    ASSERT_EQ(Db().PlaceElement(&text, textMemo, "", "Place"), NoError);
    const API_Guid object = PlaceObject(API_ObjectID, libA, "");
    Stored(object).record.Edit([](API_Element& rec) {
        API_ObjectType& o = rec.object;
        o.pos = {10, 0};
        o.xRatio = 2;
        o.yRatio = 1;
        o.angle = M_PI / 2;
    });

    QV_Explode x;
    for (const API_Guid& g : {line, hotspot, polyline, text.header.guid, object}) {
        ASSERT_EQ(x.Run(Head(g)), NoError);
        EXPECT_EQ(x.elemType, 0u);
    }
    const auto lines = Of(x.lines, API_LineID, QV_ExplodeCode_Line);
    ASSERT_EQ(lines.size(), 1u);
    ExpectNear(lines[0].prim.c2, {3, 4});
    EXPECT_EQ(lines[0].fromHost, 1);
    EXPECT_EQ(lines[0].context, QV_ExplodeContext_None);
    ASSERT_EQ(Of(x.points, API_HotspotID, QV_ExplodeCode_Point).size(), 1u);
    ExpectNear(Of(x.points, API_HotspotID, QV_ExplodeCode_Point)[0].prim.loc, {1, 1});

    // The clockwise arc comes counter-clockwise: from the edge's end round to its start.
    const auto arcs = Of(x.arcs, API_PolyLineID, QV_ExplodeCode_Arc);
    ASSERT_EQ(arcs.size(), 1u);
    ExpectNear(arcs[0].prim.orig, {3, 1});
    ExpectNear(At(arcs[0].prim, arcs[0].prim.begAng), {2, 2});
    ExpectNear(At(arcs[0].prim, arcs[0].prim.endAng), {2, 0});
    EXPECT_NEAR(Sweep(arcs[0].prim.begAng, arcs[0].prim.endAng), M_PI / 2, kEps);
    const auto runs = Of(x.polylines, API_PolyLineID, QV_ExplodeCode_PolyLine);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].firstCoord, 2);
    EXPECT_EQ(runs[1].coordCount, 2);
    ASSERT_EQ(x.plineCoords.GetCount(), 4);
    ExpectNear(x.plineCoords[2], {2, 2});

    const auto texts = Of(x.texts, API_TextID, QV_ExplodeCode_Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].content.ToStdString(), "H\xC3\xB6he 12 m");

    // An object: its hotspot and its box, turned by its angle.
    ASSERT_EQ(Of(x.points, API_ObjectID, QV_ExplodeCode_Point).size(), 1u);
    const auto box = Of(x.lines, API_ObjectID, QV_ExplodeCode_Line);
    ASSERT_EQ(box.size(), 4u);
    ExpectNear(box[1].prim.c1, {10, 2});
    ExpectNear(box[2].prim.c1, {9, 2});

    // A kind switched off is skipped; Clear switches it on again.
    x.Clear();
    x.wantLines = 0;
    ASSERT_EQ(x.Run(Head(line)), NoError);
    EXPECT_EQ(x.lines.GetCount(), 0);
    x.Clear();
    EXPECT_EQ(x.wantLines, 1);
}

TEST_F(ExplodeTest, AFillsBorderAndHatchLinesComeInTheirContexts) {
    const API_Guid fill = Fill({{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, {}, 4);  // cross hatch
    QV_Explode x;
    ASSERT_EQ(x.Run(Head(fill)), NoError);
    ASSERT_EQ(x.polygons.GetCount(), 1);
    const QV_Explode_Poly& poly = x.polygons[0];
    EXPECT_EQ(poly.context, QV_ExplodeContext_HatchBorder);
    EXPECT_EQ(poly.elemType, uint32_t(API_HatchID));
    EXPECT_TRUE(poly.hatch.fillGuid == fill);
    EXPECT_EQ(poly.hatch.fillInd, 4);
    EXPECT_EQ(poly.prim.nCoords, 5);
    ASSERT_EQ(x.polyCoords.GetCount(), 5);
    ExpectNear(x.polyCoords[2], {4, 4});
    ASSERT_EQ(x.polyEnds.GetCount(), 1);
    EXPECT_EQ(x.polyEnds[0], 5);
    EXPECT_EQ(x.inHatchBorder, 0);
    EXPECT_EQ(x.hatch.fillInd, 0);

    int border = 0;
    double length[2] = {0, 0};
    for (const QV_Explode_Line& l : x.lines) {
        if (l.context == QV_ExplodeContext_HatchBorder) {
            ++border;
            continue;
        }
        ASSERT_EQ(l.context, QV_ExplodeContext_HatchLines);
        for (const API_Coord& p : {l.prim.c1, l.prim.c2}) {
            EXPECT_GE(std::min(p.x, p.y), -kEps);
            EXPECT_LE(std::max(p.x, p.y), 4 + kEps);
        }
        const double dx = l.prim.c2.x - l.prim.c1.x, dy = l.prim.c2.y - l.prim.c1.y;
        EXPECT_NEAR(std::fabs(dx), std::fabs(dy), 1e-9);
        length[dx * dy > 0 ? 0 : 1] += std::hypot(dx, dy);
    }
    EXPECT_EQ(border, 4);
    // Parallel lines at the fill's spacing cover its area once per direction.
    for (double l : length) EXPECT_NEAR(l * poly.hatch.hatchSpacing, 16.0, 4 * std::sqrt(2.0) * 0.5);
}

TEST_F(ExplodeTest, ArcEdgesTurnCounterClockwiseForPositiveAngles) {
    // The quarter arc from (1, 0) to (0, 1): about the origin when it turns left, about (1, 1) when it turns right.
    struct Case {
        std::vector<API_Coord3D> ring;
        double angle;
        API_Coord centre;
        double beg, end;
    };
    const Case cases[] = {
        {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, M_PI / 2, {0, 0}, 0.0, M_PI / 2},
        {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, -M_PI / 2, {1, 1}, M_PI, 3 * M_PI / 2},
        {{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}}, -M_PI / 2, {0, 0}, 0.0, M_PI / 2},
        {{{5, 0, 0}, {0, 0, 0}, {2, 0, 0}}, M_PI, {1, 0}, M_PI, 0.0},  // a half turn: the edge's middle
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        const API_Guid fill = Fill(c.ring, {{2, 3, c.angle}}, 2);
        QV_Explode x;
        x.polygonEdges = 1;
        ASSERT_EQ(x.Run(Head(fill)), NoError);
        const auto split = Of(x.arcs, API_HatchID, QV_ExplodeCode_Polygon);
        const auto border = Of(x.arcs, API_HatchID, QV_ExplodeCode_Arc);
        ASSERT_EQ(split.size(), 1u);
        ASSERT_EQ(border.size(), 1u);
        EXPECT_EQ(split[0].fromHost, 0);
        EXPECT_EQ(Of(x.lines, API_HatchID, QV_ExplodeCode_Polygon).size(), 2u);
        // The split edge and the host's own drawing of it are the same arc.
        for (const API_PrimArc& a : {split[0].prim, border[0].prim}) {
            ExpectNear(a.orig, c.centre);
            EXPECT_NEAR(a.r, 1.0, kEps);
            EXPECT_NEAR(a.begAng, c.beg, kEps);
            EXPECT_NEAR(a.endAng, c.end, kEps);
        }
    }
}

TEST_F(ExplodeTest, SplitArcEdgesRunFromTheirStartByTheirAngle) {
    // Polygons given to an object's drawing: one arc edge each, of random ends and signed angle.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> coord(-50, 50), turn(0.01, 2 * M_PI - 0.01);
    std::vector<DrawnPrim> drawing;
    std::vector<std::pair<API_Coord, API_Coord>> ends;
    std::vector<double> angles;
    for (int i = 0; i < 200; ++i) {
        const API_Coord a = {coord(rng), coord(rng)}, b = {coord(rng), coord(rng)};
        const double angle = (i % 2 == 0 ? 1 : -1) * turn(rng);
        DrawnPrim d;
        d.prim.poly.head.typeID = API_PrimPolyID;
        d.prim.poly.nCoords = 3;
        d.prim.poly.nSubPolys = 1;
        d.prim.poly.nArcs = 1;
        d.coords = {{0, 0}, a, b, a};
        d.pends = {0, 3};
        d.parcs = {{1, 2, angle}};
        drawing.push_back(d);
        ends.push_back({a, b});
        angles.push_back(angle);
    }
    const API_Guid object = PlaceObject(API_ObjectID, libA, "");
    host->Project().drawings.Give(object, drawing);
    QV_Explode x;
    x.polygonEdges = 1;
    ASSERT_EQ(x.Run(Head(object)), NoError);
    const auto arcs = Of(x.arcs, API_ObjectID, QV_ExplodeCode_Polygon);
    ASSERT_EQ(arcs.size(), drawing.size());
    for (size_t i = 0; i < arcs.size(); ++i) {
        const API_PrimArc& a = arcs[i].prim;
        const API_Coord& from = angles[i] > 0 ? ends[i].first : ends[i].second;
        const API_Coord& to = angles[i] > 0 ? ends[i].second : ends[i].first;
        ExpectNear(At(a, a.begAng), from, 1e-7);
        ExpectNear(At(a, a.endAng), to, 1e-7);
        EXPECT_NEAR(Sweep(a.begAng, a.endAng), std::fabs(angles[i]), 1e-7) << i;
    }
}

TEST_F(ExplodeTest, ReferencesAreFollowedOnceRoundACycle) {
    // An object draws a line, the lamp, a line; the lamp draws an arc and the object again.
    const API_Guid object = PlaceObject(API_ObjectID, libA, "");
    const API_Guid lamp = PlaceObject(API_LampID, libB, "");
    host->Project().drawings.Give(object,
                                  {LinePrim({0, 0}, {1, 0}), ElemRefPrim(Head(lamp)), LinePrim({1, 0}, {1, 1})});
    host->Project().drawings.Give(lamp, {ArcPrim({0, 0}, 1, 0, 1, false), ElemRefPrim(Head(object))});
    QV_Explode x;
    ASSERT_EQ(x.Run(Head(object)), NoError);
    EXPECT_EQ(Of(x.lines, API_ObjectID, QV_ExplodeCode_Line).size(), 2u);
    EXPECT_EQ(Of(x.arcs, API_LampID, QV_ExplodeCode_Arc).size(), 1u);
    EXPECT_EQ(x.lines.GetCount() + x.arcs.GetCount(), 3);
    EXPECT_EQ(x.elemType, 0u);

    // An element that references itself is drawn once.
    host->Project().drawings.Give(lamp, {ArcPrim({0, 0}, 1, 0, 1, false), ElemRefPrim(Head(lamp))});
    x.Clear();
    ASSERT_EQ(x.Run(Head(lamp)), NoError);
    EXPECT_EQ(x.arcs.GetCount(), 1);
}

}  // namespace explode_test
