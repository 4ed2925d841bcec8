// Placing a road's three objects: the edges draped and moved to the road origin, the cut and fill objects on the
// operator layer, the result object on the road's layer, their link records and the terrain's solid links.
#include "earthworks/Road.hpp"
#include "earthworks/RoadTwin.hpp"

bool RoadCls::DrapeEdges() { return DrapeEdgeLines(element, chainA, chainB, left3D, right3D); }

void RoadCls::TranslateAll(const API_Coord& origin) { TranslateEdgeSet(*this, origin); }

bool RoadCls::WriteNoOriginal(RoadLP& view) {
    int32_t original = -1;
    return view.GetSetInt(RoadParam::Original, original, LPMode_Set);
}

CommandEnd RoadCls::BuildObjects() { return BuildTwinObjects(*this); }
