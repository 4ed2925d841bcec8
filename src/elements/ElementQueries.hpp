#pragma once
// Small meeting points of the geometry code with the host's element database: an element's outline read from its
// memo, a fill created from points, a mesh lifted above zero, an element found by GUID over every type, a segment
// tested against the add-on's constraint lines, an outline reduced to the vertices that carry terrain points,
// the field set a placement refresh carries over, and the five-digit names of generated points.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"
#include "geometry/QV_Poly.hpp"

#include "APIElements.hpp"

#include <cstdint>

// The attributes of a fill to create: word 0 the story index, word 1 the layer index, words 2 to 6 the fill's
// contour pen, fill pen, fill background pen, fill type and drawing order; and its information (ID) text.
struct FillAttributes {
    int16_t words[7];
    QV_String info;
};

// The element's first contour (holes are not read) from its memo as a closed ring: the points from index 1 to
// the one that ends the contour, and a copy of the first one when the last differs from it (an open polyline is
// closed so, keeping its last point). z is 0. An element with fewer than two coordinates gives an empty ring.
// False when the element or its memo cannot be read.
bool ReadElementMemoCoords3D(const API_Element& element, QV_List<API_Coord3D>& coords);
bool ReadElementMemoCoords2D(const API_Element& element, QV_List<API_Coord>& coords);

// Creates a fill (inside the caller's undoable command) with the tool's defaults, the attributes and the outline
// of the points (a last point repeating the first closes it); `element` receives the new fill. 1 when it was
// created, else 0.
int32_t CreateElementFromCoords(const QV_List<API_Coord3D>& points, const FillAttributes& attributes,
                                API_Element& element);
int32_t CreateElementFromCoords2D(const QV_List<API_Coord>& points, const FillAttributes& attributes,
                                  API_Element& element);

// Lifts the mesh record (in memory) so that its lowest point lies 1 above its base when it lies below zero:
// `lowest` when given, else the lowest of the memo's heights and level points. `changed` tells whether the level
// was changed. False only when the memo cannot be read.
bool AdjustMeshLevel(API_Element& mesh, const double* lowest, uint8_t& changed);

// 1 when an element of any type with that GUID exists in the current database, 0 when none does, -1 when the host
// refused to tell (a type could not be listed, or the element it lists cannot be filtered or read): callers that
// remove what is gone take that as present.
int32_t FindElementByGuidAnyType(const API_Guid& guid);

// Segment AB crosses one of the add-on's constraint lines (lines whose data record is of kind 2); a line that
// shares an end point with A or B (1e-7) is not counted. With `switchDatabase` and the 3D window in front, the
// lines' records are read in the floor plan's database. 1 when one crosses, 0 when none does, -1 when the host
// refused to list, filter or read a line (a line it would not show may be the one crossed).
int32_t SegmentCrossesConstraintLine(const API_Coord& a, const API_Coord& b, uint8_t switchDatabase);

// Keeps of a closed ring (last point repeating the first) only the vertices where a terrain point (a hotspot with
// a data record of kind 1) stands (1e-7), at that point's height; the result is closed again. No terrain point in
// the project empties the ring.
void KeepOutlineVerticesAtPoints3D(QV_List<API_Coord3D>& outline);
// The same against terrain points already read (x, y and value, in the host's order).
void KeepOutlineVerticesAtPoints3D(QV_List<API_Coord3D>& outline, const QV_List<API_Coord3D>& points);
// The same on a polygon in the plan: the kept vertices keep their place; an arc stays only where both its ends
// stay next to each other, every other edge becomes straight.
void KeepOutlineVerticesAtPoints(QV_Poly& poly);

// The placement of an object (story, group, drawing order, pens, materials, angle, size, position, elevation ...,
// not its layer nor its library part) copied from `source` into both targets.
void CopyObjectPlacementFields(const API_Element& source, API_Element& target1, API_Element& target2);
// A change mask that marks exactly those members (the rest of the record zero).
void SetObjectPlacementMask(API_Element& mask);

// The number's decimal digits, with leading zeros up to five characters ("00007"); longer numbers as they are.
QV_String& FormatZeroPaddedNumber(QV_String& out, uint32_t number);
