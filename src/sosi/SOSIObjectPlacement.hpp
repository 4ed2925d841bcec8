#pragma once
// Mode 1 of the SOSI import: every kept object becomes one "SOSI OBJECT" object.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"
#include "geometry/QV_Poly.hpp"

#include "APICoord.hpp"
#include "APIDefs.hpp"
#include "APIElements.hpp"

#include <cstdint>

// What one placement came to: the object placed, refused for what it holds (too few points, a part without the
// import's parameters), or a host call refused.
enum class SOSIPlacement { Placed, Refused, HostFailed };

// Places one "SOSI OBJECT" with the outline `coordinates` (pieces parted by the separator), type `type` and pen
// `pen`, a copy of `object` (the build's object record); `made`, when given, gets the placed object's guid.
SOSIPlacement PlaceSOSIObject(const QV_List<API_Coord3D>& coordinates, const QV_String& type, const API_Element& object,
                              int16_t pen, API_Guid* made = nullptr);

// Mode 1, before the build: the user edits the "SOSI OBJECT" settings in the object tool's settings dialog on
// the part `objectLibPartIndex` (asked again, with a word, when another part is chosen); false when cancelled
// or the part's parameters cannot be found (told).
bool EditSOSIObjectSettings(int32_t objectLibPartIndex);

// The outline's vertices (x, y, z and a code, -1 ending a contour) regularised by the host's geometry library,
// holes kept. `invalid` is set when the result is not exactly the given outline (self-crossing, split, cleaned
// up). False when it cannot be regularised at all.
bool ValidateSOSIOutline(const QV_List<QV_Coord3DLong>& vertices, bool& invalid);
