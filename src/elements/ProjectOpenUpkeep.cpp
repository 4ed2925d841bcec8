#include "elements/ProjectOpenUpkeep.hpp"

#include "elements/AcceptedElements.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/OwnedMemo.hpp"

#include "APIInteraction.hpp"
#include "GSArray.hpp"
#include "UniString.hpp"

#include <cstring>
#include <vector>

namespace ProjectOpenUpkeep {
namespace {

// The objects of the part whose data record parses as the kind.
std::vector<API_Element> ObjectsOfPart(int32_t libIndex, int32_t kind) {
    std::vector<API_Element> kept;
    for (const API_Guid& guid : AcceptedElements(API_ObjectID)) {
        API_Element element;
        if (!ReadElementByGuid(guid, element) || element.object.libInd != libIndex) continue;
        API_ElementUserData data = {};
        ElemDescriptor descriptor;
        const bool parsed = ACAPI_Element_GetUserData(&element.header, &data) == NoError &&
            ElemUserData_ReadRecord(descriptor, kind, data);
        BMKillHandle(&data.dataHdl);
        if (parsed) kept.push_back(element);
    }
    return kept;
}

// The slope conversion of one object's parameters, in the view only; false (and nothing to write back) when the
// object is converted already or one of the steps fails.
bool ConvertSlopes(BaseIDLP& view) {
    int16_t useNewSlope = 0;
    if (!view.GetSetShort(RoadParam::UseNewSlope, useNewSlope, LPMode_Get) || useNewSlope != 0) return false;
    double fill = 0.0;
    double cut = 0.0;
    int16_t converted = 1;
    int16_t language = int16_t(LanguageIndex + 1);
    return view.GetSetDouble(BaseIDParam::SlopeIncFill, fill, LPMode_Get) &&
        view.GetSetDouble(BaseIDParam::SlopeIncCut, cut, LPMode_Get) &&
        view.GetSetShort(RoadParam::UseNewSlope, converted, LPMode_Set) &&
        view.GetSetDouble(RoadParam::SlopeDepthFill, fill, LPMode_Set) &&
        view.GetSetDouble(RoadParam::SlopeDepthCut, cut, LPMode_Set) &&
        view.GetSetShort(RoadParam::Language, language, LPMode_Set);
}

template <typename View>
void RefreshSlopeObjects(const char* partName, int32_t kind) {
    View view(kind);
    int32_t libIndex = -1;
    if (!FindLibPartWithoutAsking(QV_String(partName), libIndex, APILib_ObjectID, false)) return;
    InFloorPlanDatabase([&] {
        std::vector<API_Element> objects = ObjectsOfPart(libIndex, kind);
        if (objects.empty()) return true;

        // The cut and fill objects lie on the operator layer, which is hidden: open it for the change.
        const int32_t operatorLayer = EnsureOperatorLayer();
        LayerFlags saved;
        const uint8_t off = 0;
        const bool opened =
            operatorLayer > 1 && OpenLayerByName(VY_Operators, saved, 0, &off, &off, &off, &off) == NoError;

        RunInUpkeepCommand([&] {
            for (API_Element& element : objects) {
                OwnedMemo memo;
                if (memo.Read(element.header.guid, APIMemoMask_AddPars) == NoError && memo->params != nullptr) {
                    view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
                    if (ConvertSlopes(view)) ChangeElementMemo(&element, memo.Get());
                    view.Detach();
                }
            }
            return true;
        });
        if (opened) SetLayerState(VY_Operators, 0, saved);
        return true;
    });
}

// The database a marker of that type owns (window kind), 0 for elements that own none.
int32_t OwnedDatabaseKind(API_ElemTypeID typeID) {
    switch (typeID) {
        case API_CutPlaneID: return APIWind_SectionID;
        case API_ElevationID: return APIWind_ElevationID;
        case API_InteriorElevationID: return APIWind_InteriorElevationID;
        case API_WorksheetID: return APIWind_WorksheetID;
        default: return 0;
    }
}

// Whether an element of the floor plan or of any database a marker owns lies on the layer. What cannot be read
// counts as an element there: the layer is only ever deleted when it is known to be empty.
bool LayerHoldsElements(int32_t layerIndex) {
    API_DatabaseInfo start = {};
    if (ACAPI_Database(APIDb_GetCurrentDatabaseID, &start) != NoError) return true;
    std::vector<API_DatabaseInfo> databases(1);
    databases[0].typeID = APIWind_FloorPlanID;
    bool holds = false;
    for (size_t i = 0; i < databases.size() && !holds; ++i) {
        GS::Array<API_Guid> all;
        if (ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &databases[i]) != NoError ||
            ACAPI_Element_GetElemList(API_ZombieElemID, &all) != NoError) {
            holds = true;
            break;
        }
        for (const API_Guid& guid : all) {
            API_Element element;
            if (!ReadElementByGuid(guid, element) || element.header.layer == layerIndex) {
                holds = true;
                break;
            }
            const int32_t kind = OwnedDatabaseKind(element.header.typeID);
            if (kind == 0) continue;
            API_DatabaseInfo owned = {};
            owned.typeID = kind;
            owned.databaseUnId = element.cutPlane.databaseUnId;
            bool known = false;
            for (const API_DatabaseInfo& d : databases) known = known || d.databaseUnId == owned.databaseUnId;
            if (!known) databases.push_back(owned);
        }
    }
    ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &start);
    return holds;
}

}  // namespace

void RefreshRoads() { RefreshSlopeObjects<RoadLP>("VY_ROAD", ElemKind_Road); }

void RefreshRailways() { RefreshSlopeObjects<RailwayLP>("VY_RAILWAY", ElemKind_Railway); }

void CleanUpLegacySlabs() {
    InFloorPlanDatabase([] {
        const GS::UniString legacyId("VY30 Slab");
        GS::Array<API_Guid> legacy;
        for (const API_Guid& guid : AcceptedElements(API_SlabID)) {
            API_Guid slab = guid;
            GS::UniString id;
            if (ACAPI_Database(APIDb_GetElementInfoStringID, &slab, &id) == NoError && id == legacyId)
                legacy.Push(guid);
        }
        API_Attribute layer = {};
        const bool hasLayer = ReadLayerByName(QV_String("Lodrava Hidden"), &layer);
        if (legacy.IsEmpty() && !hasLayer) return true;
        RunInUpkeepCommand([&] {
            if (!legacy.IsEmpty()) ACAPI_Element_Delete(legacy);
            if (hasLayer && !LayerHoldsElements(layer.header.index)) ACAPI_Attribute_Delete(&layer.header);
            return true;
        });
        return true;
    });
}

void EnsureAddOnLayers() { CleanUpLegacySlabs(); }

}  // namespace ProjectOpenUpkeep
