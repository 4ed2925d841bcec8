// Placing a road's three objects: the edges draped and moved to the road origin, the cut and fill objects on the
// operator layer, the result object on the road's layer, their link records and the terrain's solid links.
#include "earthworks/AlignmentGeometry.hpp"
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

void DeleteObject(const API_Element& object) {
    GS::Array<API_Guid> one;
    one.Push(object.header.guid);
    ACAPI_Element_Delete(one);
}

// The operator layer opened for the placing and put back on every path.
class OperatorLayer {
public:
    OperatorLayer() : index(GetOrCreateLayerIndex(VY_Operators, 0)) {
        if (index != 1) opened = SaveAndOpenLayer(index, states);
    }
    ~OperatorLayer() {
        if (index != 1 && opened) RestoreLayerStates(VY_Operators, states);
    }
    int32_t index;

private:
    QV_List<LayerState> states;
    bool opened = false;
};
}  // namespace

bool RoadCls::DrapeEdges() { return DrapeEdgeLines(element, chainA, chainB, left3D, right3D); }

void RoadCls::TranslateAll(const API_Coord& origin) {
    TranslateCodedPoints(chainA, origin);
    TranslateCodedPoints(chainB, origin);
    TranslateCoords3D(left3D, origin);
    TranslateCoords3D(right3D, origin);
    TranslateCoords2D(frameFirst, origin);
    TranslateCoords2D(frameSecond, origin);
}

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
    descriptor.Reset();
    API_Element record = {};
    record.header.typeID = API_ObjectID;
    if (ACAPI_Element_GetDefaults(&record, nullptr) != NoError) return false;
    if (roadLibIndex <= 0 || !BaseLP::GetLibPartParams(roadLibIndex, nullptr, nullptr, nullptr, nullptr)) return false;
    OperatorLayer operators;

    record.header.layer = settings.layer;
    record.object.libInd = roadLibIndex;
    record.object.angle = 0.0;
    record.object.pen = settings.pen;

    // Stored reversed, the right edge continues the left one around the road's outline.
    QV_List<QV_Coord3DLong> reversed;
    for (int32_t i = chainB.GetCount() - 1; i >= 0; --i) reversed.Insert(chainB[i]);
    chainB = reversed;
    if (chainA.GetCount() == 0) return false;
    const API_Coord origin{chainA[0].x, chainA[0].y};
    TranslateAll(origin);
    record.header.floorInd = element.header.floorInd;
    record.object.pos = origin;
    const double storyLevel = GetStoryLevel(element);
    record.object.level = storyLevel < UnknownStoryLevel ? -storyLevel : 0.0;

    API_Element cut = record, fill = record, result = record;
    API_Element* placed[3] = {&cut, &fill, &result};
    const char* roles[3] = {"cut", "fill", "result"};
    const int32_t layers[3] = {operators.index, operators.index, settings.layer};
    ElementWritten = 1;
    for (int32_t k = 0; k < 3; ++k) {
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        GSHandle params = nullptr;
        const bool read = BaseLP::GetLibPartParams(roadLibIndex, &params, nullptr, nullptr, nullptr);
        memo.params = reinterpret_cast<API_AddParType**>(params);
        QV_String name = settings.name;
        SetMemoInfoString(memo, name);
        bool ok = false;
        if (read)
            ok = WriteRoadObject(*placed[k], memo, layers[k], QV_String(roles[k]));
        else
            DisposeElemMemo(memo);
        if (!ok) {
            // A road is never left with one or two of its objects.
            for (int32_t j = 0; j < k; ++j) DeleteObject(*placed[j]);
            return false;
        }
    }

    QV_String resultText;
    GuidToText(resultText, result.header.guid);
    bool linked = true;
    for (const API_Element* object : placed)
        linked = linked &&
            WriteLinkPresenceParams(object->header, result.header.guid, cut.header.guid, fill.header.guid,
                                    ElemKind_Road);
    linked = linked && WriteEarthworkLinkRecords(descriptor, ElemKind_Road, cut, fill, result, element, resultText);
    linked = linked && LinkElements(*this, cut.header.guid, fill.header.guid);
    object = result;
    if (linked) ACAPI_Automate(APIDo_RebuildID, nullptr, nullptr);
    return linked;
}
