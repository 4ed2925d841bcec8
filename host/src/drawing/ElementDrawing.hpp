#pragma once
// The 2D drawing of an element as the host hands it out primitive by primitive (ACAPI_Element_ShapePrims),
// computed from the element's record and memo:
// - a line, an arc or circle, a hotspot (a point), a text: one primitive each;
// - a polyline: its straight runs as polylines, its arc edges as arcs;
// - a fill: its border (a polygon primitive carrying the fill's record, then the contour's lines and arcs)
//   between the hatch-border markers, then, for a patterned fill, its hatch lines between the hatch-line markers;
// - a slab, roof, mesh or zone: its contour's lines and arcs;
// - an object or lamp: its hotspot (a point at its position) and its A x B box turned by its angle; one whose
//   library part outlines the ground below a level (a `plan below` item, library/LibraryPlan.hpp) those outlines
//   instead, one polygon primitive per region (model3d/GroundBelow.hpp).
// A test may give any element a drawing of its own (element references among it), which is handed out instead.
// Other kinds (walls, splines, markers ...) draw nothing here.
#include "drawing/DrawnPrim.hpp"
#include "project/Guids.hpp"

#include <map>
#include <string>
#include <vector>

class LibraryStore;
class ProjectDatabase;
struct StoredElement;

// Drawings given to elements by tests, by element.
class GivenDrawings {
public:
    void Give(const API_Guid& element, std::vector<DrawnPrim> prims) { given_[element] = std::move(prims); }
    void Forget(const API_Guid& element) { given_.erase(element); }
    void Clear() { given_.clear(); }
    const std::vector<DrawnPrim>* Find(const API_Guid& element) const {
        const auto it = given_.find(element);
        return it != given_.end() ? &it->second : nullptr;
    }

private:
    std::map<API_Guid, std::vector<DrawnPrim>, GuidLess> given_;
};

// The element's drawing (the given one when there is one). `libraries` (optional) gives objects' plan items.
std::vector<DrawnPrim> DrawElement(const ProjectDatabase& db, const GivenDrawings& given, const LibraryStore* libraries,
                                   const StoredElement& element);

// Makers for drawings given by tests (head: pen 1, layer 1, the element's GUID left null).
DrawnPrim PointPrim(const API_Coord& loc);
DrawnPrim LinePrim(const API_Coord& c1, const API_Coord& c2);
// Counter-clockwise from begAng to endAng, or clockwise with `reflected`.
DrawnPrim ArcPrim(const API_Coord& orig, double r, double begAng, double endAng, bool reflected);
DrawnPrim ElemRefPrim(const API_Elem_Head& referenced);
DrawnPrim MarkerPrim(API_PrimTypeID typeID);  // the context markers 10 to 17
