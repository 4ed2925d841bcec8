#pragma once
// Plane outline of straight and arc edges, and the coded point lists outlines are stored in.
#include <cstdint>
#include <type_traits>

#include "APICoord.hpp"
#include "foundation/QV_List.hpp"
#include "geometry/QV_Arc.hpp"

namespace Geometry {
struct Polygon2DData;
}
struct API_Elem_Head;
union API_Element;
struct API_ElementMemo;

// A point of a coded outline list. Codes: -1 last point of a contour; 0 vertex and 2 arc midpoint (mode 1);
// 15 vertex, 900 arc centre, 3015 arc midpoint and arc end after a centre (mode 2); 1 arc centre of a chain list.
struct QV_CoordLong {
    double x;
    double y;
    int32_t code;
};

struct QV_Coord3DLong {
    double x;
    double y;
    double z;
    int32_t code;
};

static_assert(sizeof(QV_CoordLong) == 24 && std::is_trivially_copyable<QV_CoordLong>::value, "QV_CoordLong");
static_assert(sizeof(QV_Coord3DLong) == 32 && std::is_trivially_copyable<QV_Coord3DLong>::value, "QV_Coord3DLong");

// Codes of the coded point lists.
enum : int32_t {
    QV_CodeContourEnd = -1,
    QV_CodeVertex1 = 0,
    QV_CodeArcCentreChain = 1,
    QV_CodeArcMid1 = 2,
    QV_CodeVertex2 = 15,
    QV_CodeArcCentre2 = 900,
    QV_CodeArcPoint2 = 3015
};

// A ring or a chain of vertices. codes[i] belongs to the edge from vertex i to vertex i+1 (the last edge of a ring
// returns to vertex 0): -1 a straight edge, k >= 0 the arc arcs[k] (its end points are the two vertices).
// Closed (a ring) when there are as many codes as vertices, open (a chain) with one code less.
class QV_Poly {
public:
    // One contour of a polygon in mode 2 codes, with its vertex and arc counts.
    struct QV_Poly2DACSub {
        QV_List<QV_CoordLong> points;
        int32_t vertexCount = 0;
        int32_t arcCount = 0;
    };

    QV_List<API_Coord> vertices;
    QV_List<QV_Arc> arcs;
    QV_List<int32_t> codes;
    uint8_t clockwise = 0;  // 1 when SignedArea() > 0 (clockwise with y up)

    QV_Poly();
    QV_Poly(const QV_Poly& source);
    QV_Poly& operator=(const QV_Poly& source);
    ~QV_Poly();

    // Empties the three lists; clockwise is left as it was.
    void Clear();

    int32_t VertexCount() const;
    int32_t CodeCount() const;
    bool IsClosed() const;
    // A ring the conversions and tests accept: closed, at least 2 vertices, and with exactly 2 vertices an arc.
    bool IsUsableRing() const;
    // Index of the vertex that ends edge i (wrapping for the closing edge of a ring).
    int32_t EdgeEnd(int32_t edge) const;
    // The arc of edge i, or nullptr for a straight edge (or a code that names no arc).
    const QV_Arc* EdgeArc(int32_t edge) const;

    // Adds one point: starts the polygon, extends the chain, or closes it when close is set and the point lies
    // within the tolerance of vertex 0. False when the polygon is already closed, or a closing point comes with
    // fewer than 3 vertices.
    bool AddPoint(const API_Coord& point, bool close, const double& tolerance);
    bool AddPointXY(const double& x, const double& y, bool close, double tolerance);

    // Straight-edged polygon from points; a last point repeating the first (1e-7) closes the ring.
    void SetFromCoords(const QV_List<API_Coord>& points, bool close);
    void SetFromCoords3D(const QV_List<API_Coord3D>& points, bool close);

    // Shoelace sum with the opposite sign: positive for a clockwise ring. Arcs are chorded at 0.001.
    double SignedArea() const;
    void UpdateClockwise();

    // wanted: 0 leave, 1 clockwise, 2 counter-clockwise.
    void SetOrientation(int32_t wanted);

    // Appends the coded list of the polygon in mode 1 or 2.
    void ToCoordLongs(QV_List<QV_CoordLong>& target, int32_t mode) const;
    // Ring from a mode 1 coded list, read up to its first contour end.
    void SetFromCoordLongs(const QV_List<QV_CoordLong>& source, int32_t mode = 1);

    // Replaces every arc by points on a global angle grid (count segments per arc, or as the chord error asks).
    static void SegmentArcs(const QV_Poly& source, QV_Poly& target, int32_t count, double chordError);

    // Reads the outer contour of the host element named by the head's GUID (a ring when it closes, else a chain)
    // and orients it (wanted: 0 leave, 1 clockwise, 2 counter-clockwise). False when the element or its memo
    // cannot be read or the element type has no polygon. Defined in geometry/project/PolygonElements.cpp.
    bool ReadFromElement(const API_Elem_Head& head, int32_t wanted);
    // Writes the polygon as the one contour of a new element: the element's polygon counts and the memo's
    // polygon handles (replaced; edge trims and side materials resized when present). False, element and memo
    // unchanged, for an empty polygon or when an allocation fails.
    bool FillElementMemo(API_Element& element, API_ElementMemo& memo) const;

    // The ring as a host polygon record (defined in geometry/PolygonExchange.cpp); false, target freed, when the
    // record cannot be made.
    bool ToPolygon2DData(Geometry::Polygon2DData& target) const;
    // The rings in list order (the outer one first) as the contours of one record.
    static bool ToPolygon2DData(Geometry::Polygon2DData& target, const QV_List<QV_Poly>& contours);

    // Bounding box including the arcs' extreme points.
    API_Box GetBoundBox(API_Box& box) const;
    bool IsValid() const;
    // Removes spikes and edges shorter than the tolerance: 0 unchanged, 1 changed, 2 invalid.
    int32_t Simplify(const double& tolerance);
};

using QV_Poly2DAC = QV_Poly;

// Makes room for `total` items without changing the count, so that appending one by one does not move the block
// every time (lists otherwise grow by exactly one item per insert).
template <typename T>
void QV_ReserveItems(QV_List<T>& list, int32_t total) {
    const int32_t count = list.GetCount();
    if (total > count && list.SetSize(total)) list.SetSize(count);
}

QV_DECLARE_RELOCATABLE(QV_Poly);
QV_DECLARE_RELOCATABLE(QV_Poly::QV_Poly2DACSub);

// One polygon per contour of a coded list (always at least one polygon, maybe empty).
void BuildPolyListFromCoordLongs(QV_List<QV_Poly>& polys, const QV_List<QV_CoordLong>& source, int32_t mode = 1);
void BuildPolyListFromCoord3DLongs(QV_List<QV_Poly>& polys, const QV_List<QV_Coord3DLong>& source);

// Sets the number of polygons (a negative count counts as 0). With `keep` the polygons below the count stay and
// those beyond it are destroyed; without it all are destroyed. Every polygon that is not kept starts empty.
// False when the list cannot grow (it is then left as it was, or empty without `keep`).
bool SetPolyListSize(QV_List<QV_Poly>& list, int32_t count, bool keep);
