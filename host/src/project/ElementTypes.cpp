#include "project/ElementTypes.hpp"

#include "APIDefs.hpp"

std::string ElementTypeName(API_ElemTypeID t) {
    switch (t) {
        case API_WallID: return "wall";
        case API_ColumnID: return "column";
        case API_BeamID: return "beam";
        case API_WindowID: return "window";
        case API_DoorID: return "door";
        case API_ObjectID: return "object";
        case API_LampID: return "lamp";
        case API_SlabID: return "slab";
        case API_RoofID: return "roof";
        case API_MeshID: return "mesh";
        case API_TextID: return "text";
        case API_ZoneID: return "zone";
        case API_HatchID: return "fill";
        case API_LineID: return "line";
        case API_PolyLineID: return "polyline";
        case API_ArcID: return "arc";
        case API_CircleID: return "circle";
        case API_SplineID: return "spline";
        case API_HotspotID: return "hotspot";
        case API_CutPlaneID: return "section marker";
        case API_CameraID: return "camera";
        case API_CamSetID: return "camera set";
        case API_DetailID: return "detail";
        case API_ElevationID: return "elevation marker";
        case API_InteriorElevationID: return "interior elevation marker";
        case API_WorksheetID: return "worksheet marker";
        default: return "type " + std::to_string(t);
    }
}

bool HasPolygon(API_ElemTypeID t) {
    return t == API_WallID || t == API_SlabID || t == API_RoofID || t == API_MeshID || t == API_ZoneID ||
        t == API_HatchID || t == API_PolyLineID || t == API_DetailID;
}

int32_t DatabaseKindOfMarker(API_ElemTypeID t) {
    switch (t) {
        case API_CutPlaneID: return APIWind_SectionID;
        case API_ElevationID: return APIWind_ElevationID;
        case API_InteriorElevationID: return APIWind_InteriorElevationID;
        case API_WorksheetID: return APIWind_WorksheetID;
        default: return 0;
    }
}

bool ValidElementType(API_ElemTypeID typeID) { return typeID >= 1 && typeID <= API_LastElemTypeID; }
