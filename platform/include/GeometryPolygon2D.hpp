#pragma once
// Host geometry library: plane polygons of straight and circular-arc edges, with per-vertex, per-edge and
// per-contour user data, and the operations on them (box, orientation, integrity, regularisation).
//
// Numbering is 1-based everywhere. Vertex 0, arc 0 and contour-user-data entry 0 are present but unused.
// A polygon has one or more contours; each contour lists its vertices and closes by repeating its first vertex,
// so a triangle takes 4 vertex entries. contourEnds[0] is 0 and contourEnds[k] is the number of the last
// (repeated) vertex of contour k. An arc record makes the edge from vertex begIndex to vertex endIndex =
// begIndex + 1 a circular arc turning by arcAngle (positive: counter-clockwise, y up); every other edge is
// straight.
//
// The arrays are relocatable handles of the host's memory services (BMAllocateHandle and friends), sized for
// their counts plus the unused entry 0. A polygon owns its handles: FreePolygon2DData releases them.
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "APICoord.hpp"
#include "GSRoot.hpp"

namespace GS {

// Variable-size array of plain records. It only holds the records: records that own memory of their own (such
// as Geometry::Polygon2DData) are released by their owner before the array is cleared.
template <class T>
class VAArray {
public:
    uint32_t GetSize() const { return static_cast<uint32_t>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    T& operator[](uint32_t index) { return items_.at(index); }
    const T& operator[](uint32_t index) const { return items_.at(index); }
    void Push(const T& item) { items_.push_back(item); }
    void Clear() { items_.clear(); }
    T* begin() { return items_.data(); }
    T* end() { return items_.data() + items_.size(); }
    const T* begin() const { return items_.data(); }
    const T* end() const { return items_.data() + items_.size(); }

private:
    std::vector<T> items_;
};

}  // namespace GS

namespace Geometry {

// Status bits of a polygon.
constexpr uint32_t Polygon2DBoxValid = 0x0001;  // boundBox holds the box of the vertices and arcs
constexpr uint32_t Polygon2DOriented = 0x0002;  // contour 1 runs counter-clockwise, the others clockwise

// Error codes of the polygon operations.
constexpr GSErrCode PolygonErrBadData = -6101;       // counts, handles or contour structure do not fit
constexpr GSErrCode PolygonErrEmpty = -6102;         // the operation needs at least one contour
constexpr GSErrCode PolygonErrMemory = -6103;        // an allocation failed
constexpr GSErrCode PolygonErrCancelled = -6104;     // the abort query answered true
constexpr GSErrCode PolygonErrBadParameter = -6105;  // an argument out of range
constexpr GSErrCode PolygonErrComputation = -6106;   // the geometry could not be computed

// Largest size of one user-data entry in bytes.
constexpr uint32_t MaxPolygonUserDataSize = 16;

struct PolyArcRec {
    int32_t begIndex;
    int32_t endIndex;
    double arcAngle;  // signed central angle, positive counter-clockwise
};

static_assert(sizeof(PolyArcRec) == 16 && std::is_trivially_copyable<PolyArcRec>::value, "PolyArcRec layout");

struct Polygon2DData {
    uint32_t status;        // Polygon2DBoxValid | Polygon2DOriented
    uint32_t userDataSize;  // bytes of one user-data entry (all four arrays), 0 to MaxPolygonUserDataSize
    uint8_t defaultUserData[MaxPolygonUserDataSize];  // value of new user-data entries (first userDataSize bytes)
    API_Box boundBox;
    int32_t nVertices;  // vertex entries 1..nVertices, closing repeats included
    int32_t nArcs;
    int32_t nContours;
    int32_t filler;
    API_Coord** vertices;       // nVertices + 1 entries
    GSHandle vertexUserData;    // nVertices + 1 entries of userDataSize bytes
    GSHandle edgeUserData;      // entry i: the edge from vertex i to vertex i + 1
    GSHandle edgeSideUserData;  // a second value per edge, numbered as edgeUserData
    PolyArcRec** arcs;          // nArcs + 1 entries
    int32_t** contourEnds;      // nContours + 1 entries, entry 0 = 0
    GSHandle contourUserData;   // nContours + 1 entries of userDataSize bytes
};

static_assert(sizeof(Polygon2DData) == 128 && std::is_trivially_copyable<Polygon2DData>::value, "Polygon2DData layout");

// Makes an empty polygon: no handles, counts 0, status 0. User-data entries get userDataSize bytes (at most
// MaxPolygonUserDataSize; larger sizes are cut to it) with the given default (nullptr: zero bytes).
void InitPolygon2DData(Polygon2DData* polygon, uint32_t userDataSize = 4, const void* defaultUserData = nullptr);

// Releases every handle and leaves an empty polygon with the same user-data size and default. Null tolerated.
void FreePolygon2DData(Polygon2DData* polygon);

// Replaces the arrays of an initialised polygon by new ones for the given counts: vertices and arcs zeroed,
// contour ends 0, user data set to the default. Counts are set; status is cleared. On failure the polygon is
// left empty (as FreePolygon2DData leaves it).
GSErrCode AllocatePolygon2DData(Polygon2DData* polygon, int32_t nVertices, int32_t nArcs, int32_t nContours);

// Replaces the content of the initialised target by a deep copy of source. On failure the target is left
// empty.
GSErrCode CopyPolygon2DData(Polygon2DData* target, const Polygon2DData& source);

// Computes the bounding box of the vertices and the arcs' extreme points into boundBox and sets
// Polygon2DBoxValid. The polygon must pass CheckPolygon2DDataIntegrity.
GSErrCode GetPolygon2DDataBoundBox(Polygon2DData* polygon);

// Turns contour 1 counter-clockwise and every other contour clockwise (a reversed contour keeps its first
// vertex; its arcs, vertex and edge user data follow), then sets Polygon2DOriented.
GSErrCode OrientPolygon2DData(Polygon2DData* polygon);

// Checks that counts and handle sizes agree, that the contour ends rise and end at nVertices, that every
// contour has at least three vertex entries, closes on its first vertex and has finite coordinates, that
// every arc joins two neighbouring vertices of one contour with a finite angle of 0 < |angle| < 2 pi, no edge
// carrying two arcs, and, with Polygon2DBoxValid set, that the box holds every vertex. NoError or
// PolygonErrBadData (PolygonErrEmpty for a polygon without contours).
GSErrCode CheckPolygon2DDataIntegrity(const Polygon2DData& polygon);

// The arc record whose edge starts at vertex vertexIndex, or nullptr for a straight edge. The pointer is valid
// until the polygon's arc handle is changed.
const PolyArcRec* FindArc(const Polygon2DData& polygon, int32_t vertexIndex);

// Asked now and then during long operations; true stops the operation with PolygonErrCancelled.
class AbortQuery {
public:
    virtual ~AbortQuery() = default;
    virtual bool ShouldAbort() const = 0;
};

// What regularisation does with the holes of its result.
enum RegularizeHoleHandling : int32_t {
    RegularizeDropHoles = 0,      // every result polygon is an outer contour alone (its holes filled)
    RegularizeHolesSeparate = 1,  // outer contours and holes each become a polygon of their own
    RegularizeKeepHoles = 2       // every result polygon is an outer contour followed by its holes
};

// Regularises a polygon that may cross or overlap itself: the area it encloses is cut into simple polygons,
// appended to result (largest area first). Contour 1 gives the area, the other contours are taken away from
// it. With unionOverlaps every place contour 1 winds around counts, however often and whichever way round
// (loops and overlaps are united); without it the even-odd rule over all contours applies.
// Each result polygon is oriented, has its box, and starts every contour at the vertex that came first in the
// input (at its lowest-left vertex when it has none of the input's vertices). Arcs of the input stay arcs
// where they survive, cut at exact crossing points; input vertices keep their coordinates and user data, the
// edges the user data of the input edge they lie on. An input that encloses no area gives no result polygon.
// The caller frees every result polygon. abort may be nullptr. On error nothing is appended.
GSErrCode RegularizePolygon2DData(const Polygon2DData& polygon, GS::VAArray<Polygon2DData>& result,
                                  const AbortQuery* abort, bool unionOverlaps, int32_t holeHandling);

}  // namespace Geometry
