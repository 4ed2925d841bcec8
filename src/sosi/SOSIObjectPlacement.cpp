#include "sosi/SOSIObjectPlacement.hpp"

#include "foundation/ModuleLog.hpp"
#include "sosi/SOSIFileCls.hpp"

bool PlaceSOSIObject(SOSIFileCls& reader, const QV_List<API_Coord3D>& coordinates, const QV_String& type) {
    (void)reader, (void)coordinates, (void)type;
    ModuleLog::LogCall("PlaceSOSIObject");
    return false;
}

bool SOSIFileCls::EditObjectSettings() {
    ModuleLog::LogCall("SOSIFileCls::EditObjectSettings");
    return false;
}
