// Placing a road's three objects: the edges draped and moved to the road origin, the cut and fill objects on the
// operator layer, the result object on the road's layer, their link records and the terrain's solid links.
#include "earthworks/AlignmentGeometry.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "earthworks/Road.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/Language.hpp"
#include "settings/ElementSections.hpp"
#include "terrain/ContourLineCls.hpp"

#include <cstring>

namespace {
constexpr int32_t OriginalMeshLevel = 38;  // "original_mesh_level"

}  // namespace

bool RoadCls::DrapeEdges() { return DrapeEdgeLines(element, chainA, chainB, left3D, right3D); }

void RoadCls::TranslateAll(const API_Coord& origin) { TranslateEdgeSet(*this, left3D, right3D, origin); }

bool RoadCls::WriteRoadObject(API_Element& object, API_ElementMemo& memo, int32_t layer, const QV_String& role) {
    object.header.layer = layer;
    RoadLP view(ElemKind_Road);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    QV_String operatorText = role;
    int32_t terrainFlag = element.header.guid == APINULLGuid ? -1 : 0;
    int32_t original = -1;
    double meshLevel = element.mesh.level + GetStoryLevel(object.header.floorInd);
    int32_t language = LanguageIndex + 1;
    const bool written = BaseIDLP::ExchangePerimetroBaseSX(view, chainA, LPMode_Set) &&
        BaseIDLP::ExchangePerimetroBaseDX(view, chainB, LPMode_Set) &&
        LPArrays::TripleRows(view, RailwayParam::Left, left3D, LPMode_Set) &&
        LPArrays::TripleRows(view, RailwayParam::Right, right3D, LPMode_Set) &&
        view.GetSetString(BaseIDParam::Operatore, operatorText, LPMode_Set) &&
        view.GetSetInt(BaseIDParam::IDTerrain, terrainFlag, LPMode_Set) &&
        view.GetSetInt(RailwayParam::Original, original, LPMode_Set) && SerializeSettings(view, settings, 1) &&
        view.GetSetDouble(OriginalMeshLevel, meshLevel, LPMode_Set) &&
        view.GetSetInt(RailwayParam::Language, language, LPMode_Set) && WriteCommonLPParams(view, ElemKind_Road);
    // The array writes may have replaced the handle.
    memo.params = reinterpret_cast<API_AddParType**>(view.params);
    view.Detach();
    if (!written) {
        DisposeElemMemo(memo);
        return false;
    }
    if (CreateElementWithMemo(&object, &memo, true) != NoError) return false;
    HostCallWithElementGuid(object);
    return true;
}

bool WriteEarthworkLinkRecords(ElemDescriptor& descriptor, int32_t kind, const API_Element& cut,
                               const API_Element& fill, const API_Element& result, const API_Element& terrain,
                               const QV_String& resultGuidText) {
    descriptor.Reset();
    GuidToText(descriptor.ResultGuid, result.header.guid);
    GuidToText(descriptor.FillGuid, fill.header.guid);
    GuidToText(descriptor.CutGuid, cut.header.guid);
    GuidToText(descriptor.TerrainGuid, terrain.header.guid);
    descriptor.OriginalGuid = resultGuidText;
    for (const API_Element* object : {&cut, &fill, &result})
        if (!ElemUserData_WriteRecord(descriptor, kind, object->header)) return false;
    return true;
}

bool RoadCls::BuildObjects() {
    const EarthworkSetSpec spec{ElemKind_Road, roadLibIndex, settings.layer, settings.pen, settings.name};
    return PlaceEarthworkSet(
        *this, spec, [this](const API_Coord& origin) { TranslateAll(origin); },
        [this](API_Element& object, API_ElementMemo& memo, int32_t layer, const QV_String& role) {
            return WriteRoadObject(object, memo, layer, role);
        },
        object);
}
