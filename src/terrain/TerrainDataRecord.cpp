#include "terrain/TerrainDataRecord.hpp"

#include "settings/ProjectOffset.hpp"

#include <cstring>

ElemDescriptor TerrainDescriptor(const API_Element& mesh) {
    ElemDescriptor d;
    static_assert(sizeof(d.OwnGuid) == sizeof(mesh.header.guid), "one GUID layout");
    std::memcpy(static_cast<void*>(&d.OwnGuid), &mesh.header.guid, sizeof(d.OwnGuid));
    d.Serial = int32_t(mesh.header.modiStamp % 1000);
    d.Level1 = ProjectOffset.x;
    d.Level2 = ProjectOffset.y;
    d.Level3 = mesh.mesh.level;
    return d;
}

bool WriteTerrainDataRecord(const API_Element& mesh) {
    return ElemUserData_WriteRecord(TerrainDescriptor(mesh), ElemKind_Terrain, mesh.header);
}
