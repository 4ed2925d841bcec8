#include "terrain/TerrainRecord.hpp"

#include "foundation/Encoding.hpp"

#include "UniString.hpp"

#include <cstring>

TerrainRecord::TerrainRecord() { SetDefaults(); }

void TerrainRecord::ClearInput() {
    boundary.Clear();
    levelPoints.Clear();
    breakLines.Clear();
    used.Clear();
}

void Assign(TerrainSettings& destination, const TerrainSettings& source) {
    // Slicing on purpose: a record's flags and lists are not settings.
    if (&destination != &source) destination = TerrainSettings(source);
}

void TerrainSettingsToMesh(const TerrainSettings& s, API_MeshType& mesh) {
    mesh.head.layer = s.layer;
    mesh.pen = int16_t(s.contourPen);
    mesh.ridgePen = int16_t(s.ridgePen);
    mesh.ltypeInd = int16_t(s.lineType);
    mesh.buildingMat = s.buildingMaterial;
    mesh.sectFillPen = int16_t(s.fillPen);
    mesh.sectFillBGPen = int16_t(s.fillBackgroundPen);
    mesh.sectPen = int16_t(s.fillContourPen);
    // 0 none, 1 foreground, 2 background; anything else asks for both.
    mesh.overrideSectFillPen = s.penOverride != 0 && s.penOverride != 2 ? 1 : 0;
    mesh.overrideSectFillBGPen = s.penOverride != 0 && s.penOverride != 1 ? 1 : 0;
    mesh.topMat = s.topMaterial;
    mesh.sideMat = s.sideMaterial;
    mesh.botMat = s.bottomMaterial;
    mesh.overrideTopMat = s.topMaterialOverride == 1 ? 1 : 0;
    mesh.overrideSideMat = s.sideMaterialOverride == 1 ? 1 : 0;
    mesh.overrideBotMat = s.bottomMaterialOverride == 1 ? 1 : 0;
    mesh.triangles3D = s.modelTriangles == 1 ? 2 : 0;
    mesh.planTriangles = int16_t(s.planTriangles);
    mesh.showPlanTriangles = 1;
}

void TerrainNameToMemo(const TerrainSettings& s, API_ElementMemo& memo) {
    const GS::UniString text(reinterpret_cast<const char16_t*>(s.name.GetBuffer()), s.name.GetLength());
    if (memo.elemInfoString != nullptr)
        *memo.elemInfoString = text;
    else
        memo.elemInfoString = new GS::UniString(text);
}

void MeshToTerrainSettings(const API_MeshType& mesh, const API_ElementMemo* memo, TerrainSettings& s) {
    s.layer = uint16_t(mesh.head.layer);
    s.lineType = uint16_t(mesh.ltypeInd);
    s.contourPen = uint16_t(mesh.pen);
    s.ridgePen = uint16_t(mesh.ridgePen);
    s.planTriangles = uint16_t(mesh.planTriangles);
    s.buildingMaterial = uint16_t(mesh.buildingMat);
    s.fillPen = uint16_t(mesh.sectFillPen);
    s.fillBackgroundPen = uint16_t(mesh.sectFillBGPen);
    s.topMaterial = uint16_t(mesh.topMat);
    s.sideMaterial = uint16_t(mesh.sideMat);
    s.bottomMaterial = uint16_t(mesh.botMat);
    s.fillContourPen = uint16_t(mesh.sectPen);
    const bool fg = mesh.overrideSectFillPen != 0, bg = mesh.overrideSectFillBGPen != 0;
    s.penOverride = fg && bg ? 3 : fg ? 1 : bg ? 2 : 0;
    s.topMaterialOverride = mesh.overrideTopMat != 0 ? 1 : 0;
    s.sideMaterialOverride = mesh.overrideSideMat != 0 ? 1 : 0;
    s.bottomMaterialOverride = mesh.overrideBotMat != 0 ? 1 : 0;
    s.modelTriangles = mesh.triangles3D != 0 ? 1 : 0;
    s.name.Clear();
    if (memo != nullptr && memo->elemInfoString != nullptr && !memo->elemInfoString->IsEmpty())
        s.name.SetBytes(memo->elemInfoString->ToUStr(), memo->elemInfoString->GetLength() * 2, Encoding_UTF16LE);
}

namespace {
template <typename T>
void Mark(T& field) {
    std::memset(static_cast<void*>(&field), 0xFF, sizeof(T));
}
}  // namespace

void TerrainChangeMask(const uint8_t (&changed)[TerrainFieldCount], API_Element& mask) {
    std::memset(static_cast<void*>(&mask), 0, sizeof(mask));
    API_MeshType& m = mask.mesh;
    for (int16_t id = 0; id < TerrainFieldCount; ++id) {
        if (changed[id] == 0) continue;
        switch (id) {
            case TerrainSettings::Id::lineType: Mark(m.ltypeInd); break;
            case TerrainSettings::Id::contourPen: Mark(m.pen); break;
            case TerrainSettings::Id::ridgePen: Mark(m.ridgePen); break;
            case TerrainSettings::Id::planTriangles:
                Mark(m.planTriangles);
                break;  // the companion switch stays as the mesh has it
            case TerrainSettings::Id::fillPen: Mark(m.sectFillPen); break;
            case TerrainSettings::Id::fillBackgroundPen: Mark(m.sectFillBGPen); break;
            case TerrainSettings::Id::fillContourPen: Mark(m.sectPen); break;
            case TerrainSettings::Id::topMaterial:
            case TerrainSettings::Id::topMaterialOverride:
                Mark(m.topMat);
                Mark(m.overrideTopMat);
                break;
            case TerrainSettings::Id::sideMaterial:
            case TerrainSettings::Id::sideMaterialOverride:
                Mark(m.sideMat);
                Mark(m.overrideSideMat);
                break;
            case TerrainSettings::Id::bottomMaterial:
            case TerrainSettings::Id::bottomMaterialOverride:
                Mark(m.botMat);
                Mark(m.overrideBotMat);
                break;
            case TerrainSettings::Id::modelTriangles: Mark(m.triangles3D); break;
            case TerrainSettings::Id::layer: Mark(m.head.layer); break;
            case TerrainSettings::Id::buildingMaterial: Mark(m.buildingMat); break;
            case TerrainSettings::Id::penOverride:
                Mark(m.overrideSectFillPen);
                Mark(m.overrideSectFillBGPen);
                break;
            default: break;  // the fill and the name: no mesh field
        }
    }
}
