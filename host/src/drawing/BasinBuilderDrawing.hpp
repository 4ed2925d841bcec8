#pragma once
// The drawing of a "VY3_BasinBuilder" tracer object: the closed level polygons at its "livello" of the meshes it
// covers, i.e. the boundary of the part of each mesh surface that lies at or below that level (every triangle
// clipped to the level, the pieces united).
#include "drawing/DrawnPrim.hpp"

#include <vector>

class ProjectDatabase;
struct StoredElement;

// The polygons when the element is a tracer object (one polygon primitive per united region: its outer contour,
// then its holes, each closed by repeating its first point); false for any other element.
bool DrawBasinBuilder(const ProjectDatabase& db, const StoredElement& element, std::vector<DrawnPrim>* out);
