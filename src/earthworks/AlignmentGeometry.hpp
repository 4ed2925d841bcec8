#pragma once
// The road's and railway's edge lines as dense 3D point lists: tessellated, draped on the terrain and moved into
// the placed object's local coordinates. Shared by the road and the railway.
#include "APICoord.hpp"
#include "APIElements.hpp"
#include "foundation/QV_List.hpp"
#include "geometry/PrimRecords.hpp"
#include "geometry/QV_Poly.hpp"

#include <cstdint>
#include <functional>

// Points per segment of a tessellated edge: the start point and 7 interior ones.
constexpr int32_t EdgePointsPerSegment = 8;

// Turns a coded edge line (code 2: the middle point of an arc from the previous to the next point) into 8 points
// per segment plus the last one. Start and end points keep their third value as z, interior points get z 0.
// An arc code on the last point, or an arc whose three points give no circle, is taken as a straight segment to
// its end point. False only when the output cannot grow (it is then empty).
bool TessellateEdgeLine(const QV_List<QV_Coord3DLong>& edge, QV_List<API_Coord3D>& out);

// Writes a height into the third value of every point; false when it cannot.
using EdgeHeightSampler = std::function<bool(QV_List<QV_Coord3DLong>& points)>;

// Tessellates both edges and gives every point its height in one call of `sampler` over the left edge's points
// followed by the right edge's; both 3D edges are empty when a point got no height.
bool DrapeEdgeLinesWith(const EdgeHeightSampler& sampler, const QV_List<QV_Coord3DLong>& leftEdge,
                        const QV_List<QV_Coord3DLong>& rightEdge, QV_List<API_Coord3D>& left3D,
                        QV_List<API_Coord3D>& right3D);

// The same on the terrain mesh `terrain` through the host's 3D model; runs inside an undoable command.
bool DrapeEdgeLines(const API_Element& terrain, const QV_List<QV_Coord3DLong>& leftEdge,
                    const QV_List<QV_Coord3DLong>& rightEdge, QV_List<API_Coord3D>& left3D,
                    QV_List<API_Coord3D>& right3D);

// The placement of a placed object: its position, rotation (radians) and mirror flag.
struct ObjectPlacement {
    API_Coord pos;
    double angle;
    bool mirrored;
};
ObjectPlacement PlacementOf(const API_Element& object);

// Local to world: mirror x, rotate, move. WorldToObjectLocal3D is its exact inverse; z is untouched.
void ObjectLocalToWorld3D(const API_Element& object, QV_List<API_Coord3D>& points);
void WorldToObjectLocal3D(const API_Element& object, QV_List<API_Coord3D>& points);
void PlacementLocalToWorld(const ObjectPlacement& placement, QV_List<API_Coord3D>& points);
void PlacementWorldToLocal(const ObjectPlacement& placement, QV_List<API_Coord3D>& points);

// The 2D coded lists under the same transform; `toWorld` picks the direction. Codes are kept.
void TransformCoordsByPlacement(const API_Element& object, QV_List<QV_CoordLong>& points, bool toWorld);

// Subtracts `origin` from x and y of every point.
void TranslateCoords3D(QV_List<API_Coord3D>& points, const API_Coord& origin);
void TranslateCodedPoints(QV_List<QV_Coord3DLong>& points, const API_Coord& origin);
void TranslateCoords2D(QV_List<QV_CoordLong>& points, const API_Coord& origin);

// Copies `source` into `target` before `index`; a negative index or one beyond the count appends. True without
// change when `source` is empty; false, target emptied, when the target cannot grow.
bool InsertPrimPolyList(QV_List<PrimPoly>& target, const QV_List<PrimPoly>& source, int32_t index);

// An outline as a coded point list: each segment's start (code 0) and an arc's middle point (code 2), then the
// last segment's end. PrimPolyToCoord3D carries the code in the 2D list's code field.
bool PrimPolyToCodedPoints(const QV_List<PrimPoly>& outline, QV_List<QV_Coord3DLong>& out);
bool PrimPolyToCoord3D(const QV_List<PrimPoly>& outline, QV_List<QV_CoordLong>& out);
