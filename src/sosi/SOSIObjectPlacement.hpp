#pragma once
// Mode 1 of the SOSI import: every kept object becomes one "SOSI OBJECT" object.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APICoord.hpp"

class SOSIFileCls;

// Places one "SOSI OBJECT" with the outline `coordinates` (pieces parted by the separator) and type `type`.
// False when nothing was placed.
bool PlaceSOSIObject(SOSIFileCls& reader, const QV_List<API_Coord3D>& coordinates, const QV_String& type);
