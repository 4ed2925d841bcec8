#pragma once
// An element class's points put on its terrain (the mesh in the class's element record), and the terrain's
// skirt raised to a feature placed below project zero.
#include "APICoord.hpp"
#include "elements/BaseCls.hpp"

// The terrain's height at `position`: the square of side 0.5 with `position` as its upper left corner is given
// the terrain's heights, and `outHeight` takes its first corner's. False when that corner gets no height (a
// host failure, or `position` off the terrain); `outHeight` is then left alone.
bool CreateSquareElement(BaseCls& owner, const API_Coord& position, double& outHeight);
inline bool CreateSquareElementAt(BaseCls& owner, API_Coord position, double& outHeight) {
    return CreateSquareElement(owner, position, outHeight);
}

// Gives the points of the owner's two edge chains (chainA, then chainB) the terrain's heights in one sampling;
// the chains change only when every point got its height.
bool BuildPointElementFromList(BaseRSWCls& owner);

// A negative `level` above the terrain's skirt value (the owner's `meshSkirt`, what "mesh_skirt" carries) becomes
// its skirt value (the mesh's `skirtLevel`, and `meshSkirt` with it), changed through the host with a mask that
// selects that one field; the mesh's base level, and so every height on it, stays. Any other level: true without
// change. False when the change fails or the owner's element is no mesh.
bool RaiseNegativeLevel(BaseCls& owner, double level);
