#include "elements/ProjectOpenUpkeep.hpp"

#include "elements/AcceptedElements.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
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

// The slope conversion of one object's parameters, in the view only; false (and nothing to write back) when the
// object is converted already or lacks one of the parameters.
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

// Whether the object's parameters change in the slope conversion: 1 yes, 0 no (converted already, or without the
// parameters), -1 when the host refused its memo. `memo` keeps the converted parameters.
template <typename View>
int32_t ConvertsSlopes(const API_Element& element, View& view, OwnedMemo& memo) {
    if (memo.Read(element.header.guid, APIMemoMask_AddPars) != NoError) return -1;
    if (memo->params == nullptr) return 0;
    view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
    const bool changed = ConvertSlopes(view);
    view.Detach();
    return changed ? 1 : 0;
}

// The objects of the part whose data record parses as the kind and whose slopes are still to convert; false when
// the host refused to list or read them.
template <typename View>
bool ObjectsOfPart(int32_t libIndex, int32_t kind, std::vector<API_Element>& kept) {
    View view(kind);
    return VisitListedElements(API_ObjectID, [&](API_Element& element) {
        if (element.object.libInd != libIndex) return true;
        ElemDescriptor descriptor;
        const RecordRead read = ElemUserData_ReadChecked(descriptor, kind, element.header);
        if (read != RecordRead::Found) return read == RecordRead::Absent;
        OwnedMemo memo;
        const int32_t converts = ConvertsSlopes(element, view, memo);
        if (converts > 0) kept.push_back(element);
        return converts >= 0;
    });
}

// Converts the objects inside the caller's command; false when the host failed.
template <typename View>
bool ConvertSlopeObjects(View& view, std::vector<API_Element>& objects) {
    // The cut and fill objects lie on the operator layer, which is hidden: it is opened for the change and given
    // its flags back, in the same command, so that a failure takes the layer back with the objects.
    const int32_t operatorLayer = EnsureOperatorLayer();
    if (operatorLayer <= 0) return false;
    LayerFlags saved;
    const uint8_t off = 0;
    const bool opens = operatorLayer > 1;
    if (opens && OpenLayerByName(VY_Operators, saved, 0, &off, &off, &off, &off) != NoError) return false;
    for (API_Element& element : objects) {
        OwnedMemo memo;
        const int32_t converts = ConvertsSlopes(element, view, memo);
        if (converts < 0 || (converts > 0 && ChangeElementMemo(&element, memo.Get()) != NoError)) return false;
    }
    return !opens || SetLayerState(VY_Operators, 0, saved) == NoError;
}

// The objects of the part a slope refresh converts, read before anything changes; 0, or the error when the host
// refused to tell. None when the part is not loaded.
template <typename View>
int32_t FindSlopeObjects(const char* partName, int32_t kind, std::vector<API_Element>& objects) {
    int32_t libIndex = -1;
    const LibPartLookup part = FindLibPartWithoutAsking(QV_String(partName), libIndex, APILib_ObjectID, false);
    if (part != LibPartLookup::Found) return part == LibPartLookup::Refused ? ErrFindingData : NoError;
    return InFloorPlanDatabase([&] { return ObjectsOfPart<View>(libIndex, kind, objects); }) ? NoError : ErrModifying;
}

// The slope refresh of the objects found, in one command of its own; 0, or the error when it was taken back.
template <typename View>
int32_t RefreshSlopeObjects(int32_t kind, std::vector<API_Element>& objects) {
    if (objects.empty()) return NoError;
    View view(kind);
    const bool done =
        InFloorPlanDatabase([&] { return RunWholeCommand([&] { return ConvertSlopeObjects(view, objects); }); });
    return done ? NoError : ErrModifying;
}

// The objects of the part found, then refreshed.
template <typename View>
int32_t RefreshSlopes(const char* partName, int32_t kind) {
    std::vector<API_Element> objects;
    const int32_t found = FindSlopeObjects<View>(partName, kind, objects);
    return found != NoError ? found : RefreshSlopeObjects<View>(kind, objects);
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

// Whether an element of the floor plan or of any database a marker owns, other than those that go with it, lies on
// the layer: 1 when one does, 0 when none does, -1 when the host refused to tell (the layer is only ever deleted
// when it is known to be empty).
int32_t LayerHoldsElements(int32_t layerIndex, const GS::Array<API_Guid>& going) {
    API_DatabaseInfo start = {};
    if (ACAPI_Database(APIDb_GetCurrentDatabaseID, &start) != NoError) return -1;
    std::vector<API_DatabaseInfo> databases(1);
    databases[0].typeID = APIWind_FloorPlanID;
    int32_t holds = 0;
    for (size_t i = 0; i < databases.size() && holds == 0; ++i) {
        GS::Array<API_Guid> all;
        if (ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &databases[i]) != NoError ||
            ACAPI_Element_GetElemList(API_ZombieElemID, &all) != NoError) {
            holds = -1;
            break;
        }
        for (const API_Guid& guid : all) {
            API_Element element;
            if (!ReadElementByGuid(guid, element)) {
                holds = -1;
                break;
            }
            if (element.header.layer == layerIndex && !going.Contains(guid)) {
                holds = 1;
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
    if (ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &start) != NoError) return -1;
    return holds;
}

// The slabs of an earlier release, and their layer when it goes with them.
struct LegacySlabs {
    GS::Array<API_Guid> slabs;
    API_Attribute layer = {};
    bool layerGoes = false;
};

// Finds them before anything changes; 0, or the error when the host refused to tell.
int32_t FindLegacySlabs(LegacySlabs& found) {
    const bool read = InFloorPlanDatabase([&] {
        const GS::UniString legacyId("VY30 Slab");
        const bool listed = VisitListedElements(API_SlabID, [&](API_Element& slab) {
            GS::UniString id;
            if (ACAPI_Database(APIDb_GetElementInfoStringID, &slab.header.guid, &id) != NoError) return false;
            if (id == legacyId) found.slabs.Push(slab.header.guid);
            return true;
        });
        const int32_t layer = listed ? FindLayerByName(QV_String("Lodrava Hidden"), found.layer) : -1;
        const int32_t holds = layer > 0 ? LayerHoldsElements(found.layer.header.index, found.slabs) : 0;
        found.layerGoes = layer > 0 && holds == 0;
        return layer >= 0 && holds >= 0;
    });
    return read ? NoError : ErrDatabase;
}

// Deletes them with their layer in one command of its own: all of it or nothing. 0, or the error.
int32_t DeleteLegacySlabs(LegacySlabs& found) {
    if (found.slabs.IsEmpty() && !found.layerGoes) return NoError;
    const bool done = InFloorPlanDatabase([&] {
        return RunWholeCommand([&] {
            if (!found.slabs.IsEmpty() && ACAPI_Element_Delete(found.slabs) != NoError) return false;
            return !found.layerGoes || ACAPI_Attribute_Delete(&found.layer.header) == NoError;
        });
    });
    return done ? NoError : ErrDatabase;
}

}  // namespace

int32_t RefreshRoads() { return RefreshSlopes<RoadLP>("VY_ROAD", ElemKind_Road); }

int32_t RefreshRailways() { return RefreshSlopes<RailwayLP>("VY_RAILWAY", ElemKind_Railway); }

int32_t CleanUpLegacySlabs() {
    LegacySlabs found;
    const int32_t read = FindLegacySlabs(found);
    return read != NoError ? read : DeleteLegacySlabs(found);
}

int32_t EnsureAddOnLayers() { return CleanUpLegacySlabs(); }

int32_t RunOpeningUpkeep() {
    // Everything is read before anything changes: a refused read leaves the project as it was opened.
    std::vector<API_Element> roads;
    std::vector<API_Element> railways;
    LegacySlabs slabs;
    int32_t result = FindSlopeObjects<RoadLP>("VY_ROAD", ElemKind_Road, roads);
    if (result == NoError) result = FindSlopeObjects<RailwayLP>("VY_RAILWAY", ElemKind_Railway, railways);
    if (result == NoError) result = FindLegacySlabs(slabs);
    if (result == NoError) result = RefreshSlopeObjects<RoadLP>(ElemKind_Road, roads);
    if (result == NoError) result = RefreshSlopeObjects<RailwayLP>(ElemKind_Railway, railways);
    if (result == NoError) result = DeleteLegacySlabs(slabs);
    return result;
}

}  // namespace ProjectOpenUpkeep
