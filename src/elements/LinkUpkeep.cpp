#include "elements/LinkUpkeep.hpp"

#include "elements/AcceptedElements.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "elements/ContourLineLookup.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/OldIdentifiers.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/AddOnLibraryFolder.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/OwnedMemo.hpp"

#include "GSArray.hpp"

#include <cstring>

namespace {

// The add-on's object parts whose objects the pass converts, with their kind; the bridge's part is looked up
// like the others but its objects are left alone.
struct LinkedPart {
    const char* name;
    int32_t kind;
};
constexpr int32_t SkippedKind = 0;
const LinkedPart kLinkedParts[] = {
    {"VY_BASIN", ElemKind_Basin},
    {"VY_BUILDING", ElemKind_Building},
    {"VY_CONTOURLINES", ElemKind_Contour},
    {"VY_PLATEAU", ElemKind_Plateau},
    {"VY_SLOPED_PLATEAU", ElemKind_Plateau},
    {"VY_RETAINING_WALL", ElemKind_RetainingWall},
    {"VY_PAINTER", ElemKind_ColouredArea},
    {"VY_ROAD", ElemKind_Road},
    {"VY_SIDEWALK", ElemKind_Sidewalk},
    {"VY_WALL", ElemKind_Wall},
    {"VY_LEVEL_MARKER", ElemKind_LevelMarker},
    {"VY_POINT_MARKER", ElemKind_PointMarker},
    {"VY_SLOPE_RANGE", ElemKind_SlopeRange},
    {"VY_BRIDGE", SkippedKind},
};
constexpr size_t LinkedPartCount = sizeof kLinkedParts / sizeof kLinkedParts[0];

const char* const MacroNameTemplate = "CL0000000000000000000000000000000000000000000";  // "CL" and 43 zeros
constexpr uint32_t MacroNameLength = 45;

// Inside a notification: a part that is not loaded is looked for, never asked for.
bool FindPart(const char* name, int32_t& libIndex) {
    return FindLibPartWithoutAsking(QV_String(name), libIndex, APILib_ObjectID, true);
}

// Every element of the type whose older record parses as the kind gets it rewritten in the current layout.
void MigrateRecords(API_ElemTypeID typeID, int32_t kind) {
    for (const API_Guid& guid : AcceptedElements(typeID)) {
        API_Element element;
        ElemDescriptor descriptor;
        if (!ReadElementByGuid(guid, element) || !ElemUserData_ReadLegacy(descriptor, kind, element.header)) continue;
        ElemUserData_RewriteRecord(descriptor, kind, element.header);
    }
}

// The link parameters an object of the kind carries, and the descriptor field each one fills.
struct LinkParam {
    const char* name;
    QV_String ElemDescriptor::*field;
};
const LinkParam kTerrain = {"IDterrain", &ElemDescriptor::TerrainGuid};
const LinkParam kResult = {"IDresult", &ElemDescriptor::ResultGuid};
const LinkParam kFill = {"IDfill", &ElemDescriptor::FillGuid};
const LinkParam kCut = {"IDcut", &ElemDescriptor::CutGuid};
const LinkParam kOriginal = {"IDoriginal", &ElemDescriptor::OriginalGuid};

int32_t LinkParamsOf(int32_t kind, const LinkParam* out[5]) {
    int32_t n = 0;
    switch (kind) {
        case ElemKind_Road:
            for (const LinkParam* p : {&kTerrain, &kResult, &kFill, &kCut, &kOriginal}) out[n++] = p;
            break;
        case ElemKind_Plateau:
        case ElemKind_Sidewalk:
            for (const LinkParam* p : {&kTerrain, &kResult, &kFill, &kCut}) out[n++] = p;
            break;
        case ElemKind_Building:
        case ElemKind_Wall:
        case ElemKind_Basin:
        case ElemKind_RetainingWall:
        case ElemKind_Contour:
        case ElemKind_ColouredArea: out[n++] = &kTerrain; break;
        case ElemKind_Section: out[n++] = &kOriginal; break;
        default: break;
    }
    return n;
}

int32_t IndexOf(const QV_List<QV_String>& list, const QV_String& text) {
    for (int32_t i = 0; i < list.GetCount(); ++i)
        if (list[i] == text) return i;
    return -1;
}

// The link work on one object whose older record parsed as `kind` (its descriptor `old`).
void MigrateObject(API_Element& element, int32_t kind, const ElemDescriptor& old, const QV_List<QV_String>& oldIds,
                   const QV_List<QV_String>& newIds, const API_DatabaseInfo& floorPlan) {
    OwnedMemo memo;
    if (memo.Read(element.header.guid, APIMemoMask_AddPars) != NoError || memo->params == nullptr) return;
    BaseIDLP view(kind);
    view.Attach(reinterpret_cast<GSHandle>(memo->params), true);

    ElemDescriptor descriptor;
    const LinkParam* params[5];
    const int32_t count = LinkParamsOf(kind, params);
    bool ok = true;
    for (int32_t i = 0; ok && i < count; ++i)
        ok = ReadOldIdParam(view, params[i]->name, floorPlan, descriptor.*(params[i]->field));

    // Contours and coloured areas name their terrain by the text the mesh step converted; the name of their
    // generated part is built from it.
    QV_String macroName;
    bool rebuilt = false;
    if (ok && (kind == ElemKind_Contour || kind == ElemKind_ColouredArea)) {
        const QV_String& oldText = kind == ElemKind_Contour ? old.ContourText : old.AreaText;
        const int32_t at = IndexOf(oldIds, oldText);
        ok = at >= 0 && at < newIds.GetCount();
        if (ok) {
            (kind == ElemKind_Contour ? descriptor.ContourText : descriptor.AreaText) = newIds[at];
            rebuilt = RebuildMacroName(descriptor.TerrainGuid, oldText, macroName);
        }
    }

    if (ok && ElemUserData_RewriteRecord(descriptor, kind, element.header) && rebuilt &&
        view.GetSetString(BaseIDParam::MacroName, macroName, LPMode_Set))
        ChangeElementMemo(&element, memo.Get());  // the rebuilt name only counts once it is written back

    view.Detach();
}

bool SwitchToDatabase(const API_DatabaseInfo& database) {
    API_DatabaseInfo db = database;
    return ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db) == NoError;
}

// The window kind of the database a marker of that type owns.
int32_t MarkerWindowKind(API_ElemTypeID typeID) {
    switch (typeID) {
        case API_CutPlaneID: return APIWind_SectionID;
        case API_ElevationID: return APIWind_ElevationID;
        default: return APIWind_InteriorElevationID;
    }
}

}  // namespace

bool RebuildMacroName(const QV_String& terrainGuidText, const QV_String& oldText, QV_String& outName) {
    const QV_String tail = terrainGuidText + TextAfterFirstUnderscore(oldText);
    if (tail.GetLength() + 2 > MacroNameLength) return false;
    QV_String head;
    QV_String(MacroNameTemplate).Left(head, MacroNameLength - tail.GetLength());
    outName = head + tail;
    return true;
}

void MigrateObjectPoints() { MigrateRecords(API_ObjectID, ElemKind_Point); }
void MigrateLines() { MigrateRecords(API_LineID, ElemKind_Constraint); }
void MigrateFills() { MigrateRecords(API_HatchID, ElemKind_Outline); }

void MigrateTerrains(QV_List<QV_String>& oldIds, QV_List<QV_String>& newIds, const API_DatabaseInfo& floorPlan) {
    for (const API_Guid& guid : AcceptedElements(API_MeshID)) {
        API_Element mesh;
        ElemDescriptor descriptor;
        if (!ReadElementByGuid(guid, mesh) || !ElemUserData_ReadLegacy(descriptor, ElemKind_Terrain, mesh.header))
            continue;
        const QV_String oldId = descriptor.TerrainId;
        int32_t number = 0;
        QV_String guidText;
        if (!LeadingOldId(oldId, number) || !OldIdToGuidText(number, floorPlan, guidText)) continue;
        QV_String newId = guidText + "_";
        if (oldId.FindChar('_') >= 0) newId += TextAfterFirstUnderscore(oldId);
        descriptor.Reset();
        descriptor.TerrainId = newId;
        if (!ElemUserData_RewriteRecord(descriptor, ElemKind_Terrain, mesh.header)) continue;
        oldIds.Insert(oldId);
        newIds.Insert(newId);
    }
}

void MigrateObjectLinks(const QV_List<QV_String>& oldIds, const QV_List<QV_String>& newIds,
                        const API_DatabaseInfo& floorPlan) {
    int32_t indices[LinkedPartCount];
    int32_t roadIndex = -1;
    for (size_t i = 0; i < LinkedPartCount; ++i) {
        if (!FindPart(kLinkedParts[i].name, indices[i])) return;
        if (kLinkedParts[i].kind == ElemKind_Road) roadIndex = indices[i];
    }

    for (const API_Guid& guid : AcceptedElements(API_ObjectID)) {
        API_Element element;
        if (!ReadElementByGuid(guid, element)) continue;
        int32_t kind = SkippedKind;
        for (size_t i = 0; i < LinkedPartCount; ++i)
            if (indices[i] == element.object.libInd) kind = kLinkedParts[i].kind;
        if (kind == SkippedKind) continue;
        if (kind == ElemKind_Road && RoadLP::ReadObject(element, roadIndex)) kind = ElemKind_Section;

        ElemDescriptor old;
        if (!ElemUserData_ReadLegacy(old, kind, element.header)) continue;
        if (kind == ElemKind_LevelMarker || kind == ElemKind_PointMarker || kind == ElemKind_SlopeRange) {
            ElemUserData_RewriteRecord(old, kind, element.header);
            continue;
        }
        MigrateObject(element, kind, old, oldIds, newIds, floorPlan);
    }
}

void MigrateSectionWindows(const API_DatabaseInfo& floorPlan) {
    for (API_ElemTypeID typeID : {API_CutPlaneID, API_ElevationID, API_InteriorElevationID}) {
        for (const API_Guid& guid : AcceptedElements(typeID)) {
            API_Element marker;
            if (!ReadElementByGuid(guid, marker)) continue;
            API_DatabaseInfo own = {};
            own.typeID = MarkerWindowKind(typeID);
            own.databaseUnId = marker.cutPlane.databaseUnId;
            if (!SwitchToDatabase(own)) continue;
            MigrateRoadSections(floorPlan);
            SwitchToDatabase(floorPlan);
        }
    }
}

void MigrateRoadSections(const API_DatabaseInfo&) {
    ACAPI_Element_DeselectAll();
    int32_t roadIndex = -1;
    if (!FindPart("VY_ROAD", roadIndex)) return;
    // Identifiers are unique within one database: the sections' are converted within theirs.
    API_DatabaseInfo current = {};
    if (ACAPI_Database(APIDb_GetCurrentDatabaseID, &current) != NoError) return;
    GS::Array<API_Guid> sections = AcceptedElements(API_ObjectID);
    RoadLP::ReadSection(sections, roadIndex);  // 1 only says the array came empty
    for (const API_Guid& guid : sections) {
        API_Element element;
        if (!ReadElementByGuid(guid, element)) continue;
        OwnedMemo memo;
        if (memo.Read(guid, APIMemoMask_AddPars) == NoError && memo->params != nullptr) {
            BaseIDLP view(ElemKind_Section);
            view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
            ElemDescriptor descriptor;
            if (ReadOldIdParam(view, kOriginal.name, current, descriptor.OriginalGuid))
                ElemUserData_RewriteRecord(descriptor, ElemKind_Section, element.header);
            view.Detach();
        }
    }
}

void RefreshTerrains(ContourLineRefresh& contours) {
    for (const API_Guid& guid : AcceptedElements(API_MeshID)) {
        API_Element mesh;
        ElemDescriptor descriptor;
        if (!ReadElementByGuid(guid, mesh) || !ElemUserData_Read(descriptor, ElemKind_Terrain, mesh.header)) continue;
        if (HasContourLinesForTerrain(mesh)) contours.RefreshContourLines(mesh);
    }
}

void RunLinkUpkeep(ContourLineRefresh& contours) {
    API_DatabaseInfo before = {};
    const bool knownBefore = ACAPI_Database(APIDb_GetCurrentDatabaseID, &before) == NoError;
    API_DatabaseInfo floorPlan = {};
    floorPlan.typeID = APIWind_FloorPlanID;
    if (!SwitchToDatabase(floorPlan)) return;
    if (ACAPI_Database(APIDb_GetCurrentDatabaseID, &floorPlan) != NoError) {
        if (knownBefore) SwitchToDatabase(before);
        return;
    }
    int32_t prefs = -1;
    if (FindPart("VY_PREFS", prefs)) {
        QV_List<QV_String> oldIds;
        QV_List<QV_String> newIds;
        RunInUpkeepCommand([&] {
            MigrateObjectPoints();
            MigrateLines();
            MigrateFills();
            MigrateTerrains(oldIds, newIds, floorPlan);
            MigrateObjectLinks(oldIds, newIds, floorPlan);
            MigrateSectionWindows(floorPlan);
            return true;
        });
        CheckAddOnLibraryFolders();
        RefreshTerrains(contours);
    }
    if (knownBefore) SwitchToDatabase(before);
}
