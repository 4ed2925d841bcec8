#include "terrain/ElemNeig.hpp"

#include <cstring>

namespace {
API_NeigID NeigOfType(API_ElemTypeID typeID) {
    switch (typeID) {
        case API_WallID: return APINeig_Wall;
        case API_ColumnID: return APINeig_Column;
        case API_BeamID: return APINeig_Beam;
        case API_WindowID: return APINeig_WindOn;
        case API_DoorID: return APINeig_DoorOn;
        case API_ObjectID: return APINeig_Symb;
        case API_LampID: return APINeig_Light;
        case API_SlabID: return APINeig_Ceil;
        case API_RoofID: return APINeig_Roof;
        case API_MeshID: return APINeig_Mesh;
        case API_TextID: return APINeig_Word;
        case API_ZoneID: return APINeig_Room;
        case API_HatchID: return APINeig_Hatch;
        case API_LineID: return APINeig_Line;
        case API_PolyLineID: return APINeig_PolyLine;
        case API_ArcID: return APINeig_Arc;
        case API_CircleID: return APINeig_Circ;
        case API_SplineID: return APINeig_Spline;
        case API_HotspotID: return APINeig_Hot;
        case API_CutPlaneID: return APINeig_CutPlane;
        case API_DetailID: return APINeig_Detail;
        case API_ElevationID: return APINeig_Elevation;
        case API_InteriorElevationID: return APINeig_InteriorElevation;
        case API_WorksheetID: return APINeig_Worksheet;
        default: return APINeig_None;
    }
}
}  // namespace

bool ElemHeadToNeig(API_Neig* neig, const API_Elem_Head* head) {
    if (neig == nullptr) return false;
    std::memset(static_cast<void*>(neig), 0, sizeof *neig);
    if (head == nullptr) return false;
    const API_NeigID id = NeigOfType(head->typeID);
    if (id == APINeig_None) return false;
    neig->neigID = id;
    neig->guid = head->guid;
    neig->flags = APINeigFlg_Whole;
    return true;
}
