#include "geometry/project/ElementModelRead.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/AddOnInfo.hpp"
#include "foundation/Language.hpp"

#include <cfloat>
#include <cmath>
#include <vector>

namespace {
constexpr double kBottomTolerance = 1e-7;

// The progress window of one pass: the product's title, one phase with the reader's phase text and the pass's
// maximum; closed again when the pass ends, whichever way it ends.
class ProgressWindow {
public:
    ProgressWindow(const GS::UniString& phase, int32_t maxValue) {
        GS::UniString title(ProductName);
        int16_t phaseCount = 1;
        ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phaseCount);
        GS::UniString text(phase);
        ACAPI_Interface(APIIo_SetNextProcessPhaseID, &text, &maxValue);
    }
    ~ProgressWindow() { ACAPI_Interface(APIIo_CloseProcessWindowID); }
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    void Step() {
        int32_t value = value_++;
        ACAPI_Interface(APIIo_SetProcessValueID, &value);
    }
    void Skip() { ++value_; }

private:
    int32_t value_ = 1;
};

GS::UniString PhaseText() {
    QV_String text;
    GetResString(text, GeneralTableBase + LanguageIndex, 4);
    return GS::UniString(text.GetBuffer(), text.GetLength());
}

bool ReadComponent(API_3DTypeID type, int32_t index, API_Component3D& component) {
    component = API_Component3D{};
    component.header.typeID = type;
    component.header.index = index;
    return ACAPI_3D_GetComponent(&component) == NoError;
}

bool ReadVertex(int32_t index, API_Coord3D& out) {
    API_Component3D c;
    if (!ReadComponent(API_VertID, index, c)) return false;
    out = API_Coord3D{c.vert.x, c.vert.y, c.vert.z};
    return true;
}

void ClearPolygons(QV_List<QV_Poly3D>& polygons) {
    for (int32_t i = 0; i < polygons.GetCount(); ++i) ShrinkToEmpty(polygons[i].points);
    ShrinkToEmpty(polygons);
}

// A body read earlier must not leak into this read.
void ClearBodyParts(MeshBody& body) {
    for (int32_t i = 0; i < body.bodyParts.GetCount(); ++i) body.bodyParts[i].Clear();
    ShrinkToEmpty(body.bodyParts);
}

// The ring of the polygon read last: its polygon edges from first to last, each along an edge, backwards when
// the polygon-edge index is negative.
bool ReadPolygonRing(const API_PgonType& pgon, QV_Poly3D& ring) {
    for (int32_t pe = pgon.firstPedg; pe <= pgon.lastPedg; ++pe) {
        API_Component3D pedg, edge;
        if (!ReadComponent(API_PedgID, pe, pedg)) return false;
        const int32_t e = pedg.pedg.edgeIndex;
        if (!ReadComponent(API_EdgeID, e < 0 ? -e : e, edge)) return false;
        const int32_t from = e > 0 ? edge.edge.firstVertex : edge.edge.secondVertex;
        const int32_t to = e > 0 ? edge.edge.secondVertex : edge.edge.firstVertex;
        API_Coord3D a, b;
        if (!ReadVertex(from, a) || !ReadVertex(to, b)) return false;
        if (pe == pgon.firstPedg && !ring.points.Insert(a)) return false;
        if (!ring.points.Insert(b)) return false;
    }
    return true;
}
}  // namespace

int32_t ReadModelPolygons(MeshBody& body, const API_Element& element) {
    const GS::UniString phase = PhaseText();
    body.element = element;
    ClearBodyParts(body);
    ClearPolygons(body.polygons);
    ShrinkToEmpty(body.polygonSizes);
    API_ElemInfo3D info;
    if (ACAPI_Element_Get3DInfo(element.header, &info) != NoError) return 0;

    QV_List<QV_Poly3D> keptPolygons;
    QV_List<int32_t> keptSizes;
    MeshBodyPart work;
    for (int32_t b = info.firstBody; b <= info.lastBody; ++b) {
        work.Clear();
        API_Component3D bodyComponent;
        if (!ReadComponent(API_BodyID, b, bodyComponent)) return 0;
        work.body = bodyComponent.body;
        ClearPolygons(body.polygons);
        ShrinkToEmpty(body.polygonSizes);
        {
            ProgressWindow window(phase, work.body.polygonCount);
            for (int32_t p = 1; p <= work.body.polygonCount; ++p) {
                window.Step();
                API_Component3D pgon;
                if (!ReadComponent(API_PgonID, p, pgon)) return 0;
                QV_Poly3D ring;
                if (!ReadPolygonRing(pgon.pgon, ring)) return 0;
                body.polygons.Insert(ring);
                body.polygonSizes.Insert(ring.points.GetCount());
            }
        }
        DropBottomPolygons(body);
        body.bodyParts.Insert(work);
        work.Clear();
        keptPolygons.InsertList(body.polygons);
        keptSizes.InsertList(body.polygonSizes);
    }
    body.polygons = keptPolygons;
    body.polygonSizes = keptSizes;
    return 1;
}

int32_t ReadModelVertexList(MeshBody& body, const API_Element& element, QV_List<API_Coord3D>& out) {
    const GS::UniString phase = PhaseText();
    body.element = element;
    ClearBodyParts(body);
    API_ElemInfo3D info;
    if (ACAPI_Element_Get3DInfo(element.header, &info) != NoError) return 0;

    MeshBodyPart work;
    for (int32_t b = info.firstBody; b <= info.lastBody; ++b) {
        work.Clear();
        API_Component3D bodyComponent;
        if (!ReadComponent(API_BodyID, b, bodyComponent)) return 0;
        work.body = bodyComponent.body;
        {
            ProgressWindow window(phase, work.body.vertexCount + work.body.edgeCount);
            for (int32_t v = 1; v <= work.body.vertexCount; ++v) {
                window.Step();
                API_Component3D c;
                if (!ReadComponent(API_VertID, v, c)) return 0;
                work.vertices.Insert(c.vert);
            }
            for (int32_t e = 1; e <= work.body.edgeCount; ++e) {
                window.Step();
                API_Component3D c;
                if (!ReadComponent(API_EdgeID, e, c)) return 0;
                work.edges.Insert(c.edge);
            }
        }
        DropUnusedVertices(work);
        DropBottomVertices(work);
        body.bodyParts.Insert(work);
        work.Clear();
    }
    ShrinkToEmpty(out);
    for (int32_t i = 0; i < body.bodyParts.GetCount(); ++i) {
        const QV_List<API_VertType>& vertices = body.bodyParts[i].vertices;
        for (int32_t v = 0; v < vertices.GetCount(); ++v)
            out.Insert(API_Coord3D{vertices[v].x, vertices[v].y, vertices[v].z});
    }
    return 1;
}

void DropBottomPolygons(MeshBody& body) {
    const int32_t n = body.polygons.GetCount();
    if (n < 1) return;
    ProgressWindow window(PhaseText(), 2 * n);
    double lowest = DBL_MAX;
    for (int32_t i = 0; i < n; ++i) {
        window.Step();
        for (const API_Coord3D& c : body.polygons[i].points) lowest = std::fmin(lowest, c.z);
    }
    const QV_List<QV_Poly3D> polygons = body.polygons;
    const QV_List<int32_t> sizes = body.polygonSizes;
    ClearPolygons(body.polygons);
    ShrinkToEmpty(body.polygonSizes);
    window.Skip();
    for (int32_t i = 0; i < polygons.GetCount(); ++i) {
        window.Step();
        bool touches = false;
        for (const API_Coord3D& c : polygons[i].points) touches = touches || std::fabs(c.z - lowest) < kBottomTolerance;
        if (touches) continue;
        body.polygons.Insert(polygons[i]);
        body.polygonSizes.Insert(i < sizes.GetCount() ? sizes[i] : polygons[i].points.GetCount());
    }
}

void DropUnusedVertices(MeshBodyPart& part) {
    const int32_t n = part.vertices.GetCount();
    ProgressWindow window(PhaseText(), 2 * n);
    std::vector<bool> used(size_t(n) + 1, false);
    for (const API_EdgeType& e : part.edges) {
        if (e.firstVertex >= 1 && e.firstVertex <= n) used[size_t(e.firstVertex)] = true;
        if (e.secondVertex >= 1 && e.secondVertex <= n) used[size_t(e.secondVertex)] = true;
    }
    for (int32_t i = 0; i < n; ++i) window.Step();
    const QV_List<API_VertType> vertices = part.vertices;
    ShrinkToEmpty(part.vertices);
    for (int32_t i = 0; i < n; ++i) {
        window.Step();
        if (used[size_t(i) + 1]) part.vertices.Insert(vertices[i]);
    }
    ShrinkToEmpty(part.edges);
}

void DropBottomVertices(MeshBodyPart& part) {
    const int32_t n = part.vertices.GetCount();
    ProgressWindow window(PhaseText(), 2 * n);
    double lowest = DBL_MAX;
    for (int32_t i = 0; i < n; ++i) {
        window.Step();
        lowest = std::fmin(lowest, part.vertices[i].z);
    }
    const QV_List<API_VertType> vertices = part.vertices;
    ShrinkToEmpty(part.vertices);
    for (int32_t i = 0; i < n; ++i) {
        window.Step();
        if (std::fabs(vertices[i].z - lowest) >= kBottomTolerance) part.vertices.Insert(vertices[i]);
    }
}
