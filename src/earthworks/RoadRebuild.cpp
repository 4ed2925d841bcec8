// A placed road draped again: on a temporary copy of its terrain that carries only the operators linked before the
// road's own objects, so earlier earthworks shape its heights while its own cut and fill do not.
#include "earthworks/AlignmentGeometry.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "earthworks/Road.hpp"
#include "elements/LevelOnStory.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "foundation/ErrorCode.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/ElementQueries.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/LeftoverElements.hpp"
#include "elements/AcceptedElements.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/UpdatedElements.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/Language.hpp"
#include "foundation/SelectionHelpers.hpp"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
// The host's answer for a terrain without operators: an empty list, not a failure.
constexpr GSErrCode EmptyOperatorList = GSErrCode(0x81060001);

bool ReadOperators(const API_Guid& terrain, GS::Array<API_Guid>& operators) {
    const GSErrCode err = ACAPI_Element_SolidLink_GetOperators(terrain, &operators);
    return err == NoError || err == EmptyOperatorList;
}

void CoordsToWorld(const API_Element& object, QV_List<QV_Coord3DLong>& list) {
    QV_List<API_Coord3D> points;
    for (int32_t i = 0; i < list.GetCount(); ++i) points.Insert(API_Coord3D{list[i].x, list[i].y, 0.0});
    ObjectLocalToWorld3D(object, points);
    for (int32_t i = 0; i < list.GetCount(); ++i) list[i].x = points[i].x, list[i].y = points[i].y;
}

// The object's memo with a road view over its parameters, released together.
struct RoadMemo {
    explicit RoadMemo(const API_Guid& guid) : view(ElemKind_Road) {
        ok = ACAPI_Element_GetMemo(guid, &memo, AttachMemoMask) == NoError && memo.params != nullptr;
        if (ok) view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    }
    ~RoadMemo() {
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    // The array writes may move the records to a new handle.
    void Sync() { memo.params = reinterpret_cast<API_AddParType**>(view.params); }
    API_ElementMemo memo = {};
    RoadLP view;
    bool ok = false;
};
}  // namespace

bool RoadCls::CollectTerrainOperators(const API_Guid& terrainGuid, const API_Guid links[3]) {
    operRecords.Clear();
    for (uint32_t i = 0; i < terrainOperators.GetSize(); ++i) {
        const API_Guid& guid = terrainOperators[i];
        if (guid == APINULLGuid) continue;
        RoadOperData record = {};
        record.operatorGuid = guid;
        ACAPI_Element_SolidLink_GetTime(terrainGuid, guid, &record.linkTime, &record.linkSubTime);
        ACAPI_Element_SolidLink_GetOperation(terrainGuid, guid, &record.operation);
        ACAPI_Element_SolidLink_GetFlags(terrainGuid, guid, &record.linkFlags);
        record.own = (guid == links[0] || guid == links[1] || guid == links[2]) ? 1 : 0;
        operRecords.Insert(record);
    }
    SortOperData();
    return true;
}

void RoadCls::SortOperData() {
    std::vector<RoadOperData> sorted(operRecords.begin(), operRecords.end());
    std::stable_sort(sorted.begin(), sorted.end(), [](const RoadOperData& a, const RoadOperData& b) {
        return a.linkTime != b.linkTime ? a.linkTime < b.linkTime : a.linkSubTime < b.linkSubTime;
    });
    for (int32_t i = 0; i < operRecords.GetCount(); ++i) operRecords[i] = sorted[size_t(i)];
}

bool RoadCls::CopyTerrainWithEarlierOperators(const API_Element& terrain, bool& copyMade) {
    terrainCopy = terrain;
    API_ElementMemo memo = {};
    if (ACAPI_Element_GetMemo(terrain.header.guid, &memo, APIMemoMask_All) != NoError) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return false;
    }
    const GSErrCode err = ACAPI_Element_Create(&terrainCopy, &memo);
    ACAPI_DisposeElemMemoHdls(&memo);
    if (err != NoError) return false;
    copyMade = true;
    for (int32_t i = 0; i < operRecords.GetCount(); ++i) {
        const RoadOperData& record = operRecords[i];
        if (record.own != 0) break;
        if (record.operatorGuid == APINULLGuid) continue;
        if (ACAPI_Element_SolidLink_Create(terrainCopy.header.guid, record.operatorGuid, record.operation,
                                           record.linkFlags) != NoError)
            return false;
    }
    descriptor.Reset();
    return ElemUserData_WriteRecord(descriptor, ElemKind_Terrain, terrainCopy.header);
}

bool RoadCls::UpdateLinkedSectionsInPlan(const API_Element& object) {
    GS::Array<API_Guid> objects;
    if (ACAPI_Element_GetElemList(API_ObjectID, &objects) != NoError) return false;
    for (uint32_t i = 0; i < objects.GetSize(); ++i) {
        if (objects[i] == object.header.guid) continue;
        // A section the host would not answer for may be one of this road's: passed over, it would keep its old
        // edges without a word.
        const FilterAnswer answer = FilterElement(objects[i], 0);
        if (answer == FilterAnswer::Unknown) return false;
        if (answer == FilterAnswer::No) continue;
        API_Element section = {};
        section.header.guid = objects[i];
        if (ACAPI_Element_Get(&section) != NoError) return false;
        if (section.object.libInd != object.object.libInd) continue;
        ElemDescriptor record;
        const RecordRead read = ElemUserData_ReadChecked(record, ElemKind_Section, section.header);
        if (read == RecordRead::Failed) return false;
        if (read == RecordRead::Absent) continue;
        API_Guid road = APINULLGuid;
        StringToGuid(road, record.OriginalGuid);
        if (!(road == object.header.guid)) continue;
        RoadMemo memo(section.header.guid);
        if (!memo.ok) return false;
        int16_t isSection = 0;
        if (!memo.view.GetSetShort(RoadParam::Section, isSection, LPMode_Get) || isSection == 0) continue;
        int32_t modified = 0;
        int32_t language = LanguageIndex + 1;
        const bool written = BaseIDLP::ExchangePerimetroBaseSX(memo.view, chainA, LPMode_Set) &&
            BaseIDLP::ExchangePerimetroBaseDX(memo.view, chainB, LPMode_Set) &&
            LPArrays::TripleRows(memo.view, RoadParam::Left, left3D, LPMode_Set) &&
            LPArrays::TripleRows(memo.view, RoadParam::Right, right3D, LPMode_Set) &&
            memo.view.GetSetInt(RoadParam::FlagModificato, modified, LPMode_Set) &&
            memo.view.GetSetInt(RoadParam::Language, language, LPMode_Set);
        memo.Sync();
        GS::Array<API_Guid> one;
        one.Push(section.header.guid);
        API_Element mask = {};
        if (!written || ACAPI_Element_ChangeParameters(one, &section, &memo.memo, &mask) != NoError) return false;
    }
    return true;
}

bool RoadCls::UpdateLinkedSectionsInSections(const API_Element& object) {
    // Section markers the host would not list or read may be those of the road's sections: the update fails.
    GS::Array<API_Guid> markers;
    bool ok = CollectElementGuids(markers, API_CutPlaneID, {});
    for (uint32_t i = 0; ok && i < markers.GetSize(); ++i) {
        API_Element marker = {};
        marker.header.guid = markers[i];
        if (ACAPI_Element_Get(&marker) != NoError) {
            ok = false;
            break;
        }
        API_DatabaseInfo own = {};
        own.typeID = APIWind_SectionID;
        own.databaseUnId = marker.cutPlane.databaseUnId;
        if (ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &own) != NoError) {
            ok = false;
            break;
        }
        ACAPI_Element_DeselectAll();
        ok = UpdateLinkedSectionsInPlan(object);
        ACAPI_Automate(APIDo_RebuildID);
        if (!ok) break;
    }
    API_DatabaseInfo plan = {};
    plan.typeID = APIWind_FloorPlanID;
    return ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &plan) == NoError && ok;
}

CommandEnd RoadCls::RebuildCore(API_Element& road, const API_Guid links[3], const API_Element& terrain) {
    bool copyMade = false;
    bool written = false;
    bool ok = true;
    // Operators deleted by the user leave dead links behind.
    bool pruned = false;
    for (uint32_t i = 0; i < terrainOperators.GetSize(); ++i) {
        const API_Guid& guid = terrainOperators[i];
        if (guid == APINULLGuid || FindElementByGuidAnyType(guid) != 0) continue;
        ACAPI_Element_SolidLink_Remove(terrain.header.guid, guid);
        pruned = true;
    }
    if (pruned && !ReadOperators(terrain.header.guid, terrainOperators)) ok = false;
    ok = ok && CollectTerrainOperators(terrain.header.guid, links) &&
        CopyTerrainWithEarlierOperators(terrain, copyMade) && ReadElement(terrainCopy, false);
    if (ok) {
        RoadMemo memo(road.header.guid);
        chainA.Clear();
        chainB.Clear();
        left3D.Clear();
        right3D.Clear();
        ok = memo.ok && BaseIDLP::ExchangePerimetroBaseSX(memo.view, chainA, LPMode_Get) &&
            BaseIDLP::ExchangePerimetroBaseDX(memo.view, chainB, LPMode_Get) && chainA.GetCount() > 0;
        if (ok) {
            // Stored running back from the far end (the set's outline order); draped running beside chainA.
            ReverseChain(chainB);
            CoordsToWorld(road, chainA);
            CoordsToWorld(road, chainB);
            ok = DrapeEdges();
        }
        if (ok) {
            // Back to the stored order.
            ReverseChain(chainB);
            // The edges stay where the object put them: back into its own coordinates.
            WorldToObjectLocal3D(road, left3D);
            WorldToObjectLocal3D(road, right3D);
            QV_List<API_Coord3D> flat;
            for (QV_List<QV_Coord3DLong>* chain : {&chainA, &chainB}) {
                flat.Clear();
                for (int32_t i = 0; i < chain->GetCount(); ++i)
                    flat.Insert(API_Coord3D{(*chain)[i].x, (*chain)[i].y, 0.0});
                WorldToObjectLocal3D(road, flat);
                for (int32_t i = 0; i < chain->GetCount(); ++i) (*chain)[i].x = flat[i].x, (*chain)[i].y = flat[i].y;
            }
            const API_Coord origin = road.object.pos;
            TranslateCoords2D(frameFirst, origin);
            TranslateCoords2D(frameSecond, origin);
            double skirt = meshSkirt;
            int32_t language = LanguageIndex + 1;
            ok = LPArrays::TripleRows(memo.view, RoadParam::Left, left3D, LPMode_Set) &&
                LPArrays::TripleRows(memo.view, RoadParam::Right, right3D, LPMode_Set) &&
                ExchangeCoordLists(memo.view, frameFirst, frameSecond) &&
                memo.view.GetSetDouble(BaseIDParam::Skirt, skirt, LPMode_Set) &&
                SetLPLevelOnStory(memo.view, terrain.mesh.level, road.header.floorInd, LPMode_Set) &&
                memo.view.GetSetInt(RoadParam::Language, language, LPMode_Set);
            memo.Sync();
            // Partners the user deleted are not refreshed; the road rebuilds without them.
            bool partners = true;
            for (int32_t k = 0; k < 3; ++k)
                if (!(links[k] == road.header.guid))
                    partners = partners && !(links[k] == APINULLGuid) && FindElementByGuidAnyType(links[k]) != 0;
            ok = ok && ChangeElementMemo(&road, &memo.memo) == NoError;
            written = ok;
            ok = ok && (!partners || SyncSiblingObjects(road.header, ElemKind_Road, false) != 0);
        }
        ok = ok && UpdateLinkedSectionsInPlan(road) && UpdateLinkedSectionsInSections(road);
    }
    if (copyMade) DeleteLeftoverElement(terrainCopy.header.guid);
    return ok ? CommandEnd::Done : written ? CommandEnd::KeepSoFar : CommandEnd::Failed;
}

int32_t RoadCls::ReadRebuildLinks(const API_Element& object, API_Guid links[3], API_Element& terrain) {
    RoadLP view(ElemKind_Road);
    API_Guid terrainGuid = APINULLGuid;
    if (!BaseLP::AttachToElementLookup(view, object, &links[0], &links[1], &links[2], nullptr, ElemKind_Road, false) ||
        !BaseLP::AttachToElement(view, ElemKind_Road, object, terrainGuid, false))
        return ErrModifying;
    terrain = {};
    terrain.header.guid = terrainGuid;
    if (ACAPI_Element_Get(&terrain) != NoError) return ErrModifying;
    // The list goes on to the core, so the road is draped on the terrain as earlier earthworks shaped it.
    if (!ReadOperators(terrainGuid, terrainOperators)) return ErrModifying;
    return 0;
}

int32_t RoadCls::RebuildFromObject(ContourLineRefresh& contours, const API_Element& object) {
    // The plan and the cleared selection belong to the command: one that fails gives the user's back.
    int32_t code = ErrModifying;
    API_Element terrain = {};
    const bool ok = RunCommand(ExternalCommandUndoText(), [&] {
        if (!EnsureFloorPlanWindow(false)) {
            code = ErrDatabase;
            return CommandEnd::Failed;
        }
        ACAPI_Element_DeselectAll();
        API_Guid links[3] = {APINULLGuid, APINULLGuid, APINULLGuid};
        const int32_t read = ReadRebuildLinks(object, links, terrain);
        if (read != 0) {
            code = read;
            return CommandEnd::Failed;
        }
        API_Element road = object;
        // The update leaves no road half rebuilt: one whose partners or sections could not follow is taken back,
        // as the update says it left it.
        return RebuildCore(road, links, terrain) == CommandEnd::Done ? CommandEnd::Done : CommandEnd::Failed;
    });
    if (!ok) return code;
    contours.RefreshContourLines(terrain);
    return 0;
}

int32_t RoadCls::RebuildInCommand(const API_Element& object, API_Element& terrain) {
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    ACAPI_Element_DeselectAll();
    API_Guid links[3] = {APINULLGuid, APINULLGuid, APINULLGuid};
    const int32_t read = ReadRebuildLinks(object, links, terrain);
    if (read != 0) return read;
    API_Element road = object;
    return RebuildCore(road, links, terrain) == CommandEnd::Done ? 0 : ErrModifying;
}
