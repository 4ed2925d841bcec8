#include "elements/LinkUpkeep.hpp"

#include "elements/AcceptedElements.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "elements/ContourLineLookup.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/OldIdentifiers.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/RoadSectionObjects.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/AddOnLibraryFolder.hpp"
#include "foundation/ErrorCode.hpp"
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

// What the lookup of one of the add-on's parts found: its index, no such part loaded, or the host's refusal.
enum class PartLookup { Found, Missing, Failed };

// Inside a notification: a part that is not loaded is looked for, never asked for.
PartLookup FindPart(const char* name, int32_t& libIndex) {
    switch (FindLibPartWithoutAsking(QV_String(name), libIndex, APILib_ObjectID, true)) {
        case LibPartLookup::Found: return PartLookup::Found;
        case LibPartLookup::Missing: return PartLookup::Missing;
        case LibPartLookup::Refused: break;
    }
    return PartLookup::Failed;
}

// Every element of the type whose older record parses as the kind gets it rewritten in the current layout.
bool MigrateRecords(API_ElemTypeID typeID, int32_t kind) {
    return VisitListedElements(typeID, [&](API_Element& element) {
        ElemDescriptor descriptor;
        const RecordRead read = ElemUserData_ReadLegacyChecked(descriptor, kind, element.header);
        if (read != RecordRead::Found) return read == RecordRead::Absent;
        return ElemUserData_RewriteRecord(descriptor, kind, element.header);
    });
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

// The link work on one object whose older record parsed as `kind` (its descriptor `old`). An object whose links
// cannot be converted (a missing or non-numeric parameter, an identifier the host does not know, a contour of a
// terrain the mesh step did not convert) is left as it was; false only when the host failed.
bool MigrateObject(API_Element& element, int32_t kind, const ElemDescriptor& old, const QV_List<QV_String>& oldIds,
                   const QV_List<QV_String>& newIds, const API_DatabaseInfo& floorPlan) {
    OwnedMemo memo;
    if (memo.Read(element.header.guid, APIMemoMask_AddPars) != NoError) return false;
    if (memo->params == nullptr) return true;
    BaseIDLP view(kind);
    view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
    const bool done = [&] {
        ElemDescriptor descriptor;
        const LinkParam* params[5];
        const int32_t count = LinkParamsOf(kind, params);
        for (int32_t i = 0; i < count; ++i) {
            const OldIdLookup found = ReadOldIdParam(view, params[i]->name, floorPlan, descriptor.*(params[i]->field));
            if (found != OldIdLookup::Found) return found == OldIdLookup::Unknown;
        }

        // Contours and coloured areas name their terrain by the text the mesh step converted; the name of their
        // generated part is built from it.
        QV_String macroName;
        bool rebuilt = false;
        if (kind == ElemKind_Contour || kind == ElemKind_ColouredArea) {
            const QV_String& oldText = kind == ElemKind_Contour ? old.ContourText : old.AreaText;
            const int32_t at = IndexOf(oldIds, oldText);
            if (at < 0 || at >= newIds.GetCount()) return true;
            (kind == ElemKind_Contour ? descriptor.ContourText : descriptor.AreaText) = newIds[at];
            rebuilt = RebuildMacroName(descriptor.TerrainGuid, oldText, macroName);
        }

        if (!ElemUserData_RewriteRecord(descriptor, kind, element.header)) return false;
        // The rebuilt name only counts once it is written back.
        if (!rebuilt || !view.GetSetString(BaseIDParam::MacroName, macroName, LPMode_Set)) return true;
        return ChangeElementMemo(&element, memo.Get()) == NoError;
    }();
    view.Detach();
    return done;
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

bool MigrateObjectPoints() { return MigrateRecords(API_ObjectID, ElemKind_Point); }
bool MigrateLines() { return MigrateRecords(API_LineID, ElemKind_Constraint); }
bool MigrateFills() { return MigrateRecords(API_HatchID, ElemKind_Outline); }

bool MigrateTerrains(QV_List<QV_String>& oldIds, QV_List<QV_String>& newIds, const API_DatabaseInfo& floorPlan) {
    return VisitListedElements(API_MeshID, [&](API_Element& mesh) {
        ElemDescriptor descriptor;
        const RecordRead read = ElemUserData_ReadLegacyChecked(descriptor, ElemKind_Terrain, mesh.header);
        if (read != RecordRead::Found) return read == RecordRead::Absent;
        const QV_String oldId = descriptor.TerrainId;
        int32_t number = 0;
        QV_String guidText;
        if (!LeadingOldId(oldId, number)) return true;
        const OldIdLookup found = OldIdToGuidText(number, floorPlan, guidText);
        if (found != OldIdLookup::Found) return found == OldIdLookup::Unknown;
        QV_String newId = guidText + "_";
        if (oldId.FindChar('_') >= 0) newId += TextAfterFirstUnderscore(oldId);
        descriptor.Reset();
        descriptor.TerrainId = newId;
        if (!ElemUserData_RewriteRecord(descriptor, ElemKind_Terrain, mesh.header)) return false;
        oldIds.Insert(oldId);
        newIds.Insert(newId);
        return true;
    });
}

bool MigrateObjectLinks(const QV_List<QV_String>& oldIds, const QV_List<QV_String>& newIds,
                        const API_DatabaseInfo& floorPlan) {
    int32_t indices[LinkedPartCount];
    int32_t roadIndex = -1;
    for (size_t i = 0; i < LinkedPartCount; ++i) {
        const PartLookup found = FindPart(kLinkedParts[i].name, indices[i]);
        if (found != PartLookup::Found) return found == PartLookup::Missing;
        if (kLinkedParts[i].kind == ElemKind_Road) roadIndex = indices[i];
    }

    return VisitListedElements(API_ObjectID, [&](API_Element& element) {
        int32_t kind = SkippedKind;
        for (size_t i = 0; i < LinkedPartCount; ++i)
            if (indices[i] == element.object.libInd) kind = kLinkedParts[i].kind;
        if (kind == SkippedKind) return true;
        if (kind == ElemKind_Road) {
            bool section = false;
            if (!ReadIsRoadSectionObject(element, roadIndex, section)) return false;
            if (section) kind = ElemKind_Section;
        }

        ElemDescriptor old;
        const RecordRead read = ElemUserData_ReadLegacyChecked(old, kind, element.header);
        if (read != RecordRead::Found) return read == RecordRead::Absent;
        if (kind == ElemKind_LevelMarker || kind == ElemKind_PointMarker || kind == ElemKind_SlopeRange)
            return ElemUserData_RewriteRecord(old, kind, element.header);
        return MigrateObject(element, kind, old, oldIds, newIds, floorPlan);
    });
}

bool MigrateSectionWindows(const API_DatabaseInfo& floorPlan) {
    for (API_ElemTypeID typeID : {API_CutPlaneID, API_ElevationID, API_InteriorElevationID}) {
        const bool done = VisitListedElements(typeID, [&](API_Element& marker) {
            API_DatabaseInfo own = {};
            own.typeID = MarkerWindowKind(typeID);
            own.databaseUnId = marker.cutPlane.databaseUnId;
            if (!SwitchToDatabase(own)) return false;
            const bool migrated = MigrateRoadSections(floorPlan);
            return SwitchToDatabase(floorPlan) && migrated;
        });
        if (!done) return false;
    }
    return true;
}

bool MigrateRoadSections(const API_DatabaseInfo&) {
    ACAPI_Element_DeselectAll();
    int32_t roadIndex = -1;
    const PartLookup found = FindPart("VY_ROAD", roadIndex);
    if (found != PartLookup::Found) return found == PartLookup::Missing;
    // Identifiers are unique within one database: the sections' are converted within theirs.
    API_DatabaseInfo current = {};
    if (ACAPI_Database(APIDb_GetCurrentDatabaseID, &current) != NoError) return false;
    return VisitListedElements(API_ObjectID, [&](API_Element& element) {
        bool section = false;
        if (!ReadIsRoadSectionObject(element, roadIndex, section)) return false;
        if (!section) return true;
        OwnedMemo memo;
        if (memo.Read(element.header.guid, APIMemoMask_AddPars) != NoError) return false;
        if (memo->params == nullptr) return true;
        BaseIDLP view(ElemKind_Section);
        view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
        ElemDescriptor descriptor;
        const OldIdLookup id = ReadOldIdParam(view, kOriginal.name, current, descriptor.OriginalGuid);
        view.Detach();
        if (id != OldIdLookup::Found) return id == OldIdLookup::Unknown;
        return ElemUserData_RewriteRecord(descriptor, ElemKind_Section, element.header);
    });
}

int32_t RefreshTerrains(ContourLineRefresh& contours) {
    // Each terrain's contour lines are made again in a command of their own, which tells its own failure.
    const bool listed = VisitListedElements(API_MeshID, [&](API_Element& mesh) {
        ElemDescriptor descriptor;
        const RecordRead read = ElemUserData_ReadChecked(descriptor, ElemKind_Terrain, mesh.header);
        if (read != RecordRead::Found) return read == RecordRead::Absent;
        const int32_t found = LookUpContourLinesForTerrain(mesh);
        if (found > 0) contours.RefreshContourLines(mesh);
        return found >= 0;
    });
    return listed ? NoError : ErrModifying;
}

int32_t RunLinkUpkeep(ContourLineRefresh& contours) {
    API_DatabaseInfo before = {};
    if (ACAPI_Database(APIDb_GetCurrentDatabaseID, &before) != NoError) return ErrDatabase;
    API_DatabaseInfo floorPlan = {};
    floorPlan.typeID = APIWind_FloorPlanID;
    if (!SwitchToDatabase(floorPlan)) return ErrDatabase;
    int32_t result = NoError;
    int32_t prefs = -1;
    const PartLookup found = ACAPI_Database(APIDb_GetCurrentDatabaseID, &floorPlan) == NoError
        ? FindPart("VY_PREFS", prefs)
        : PartLookup::Failed;
    if (found == PartLookup::Failed) result = ErrDatabase;
    if (found == PartLookup::Found) {
        QV_List<QV_String> oldIds;
        QV_List<QV_String> newIds;
        // A step the host fails takes the whole conversion back: a project converted in part would link converted
        // elements to ones that still carry the old identifiers.
        const bool converted = RunWholeCommand([&] {
            return MigrateObjectPoints() && MigrateLines() && MigrateFills() &&
                MigrateTerrains(oldIds, newIds, floorPlan) && MigrateObjectLinks(oldIds, newIds, floorPlan) &&
                MigrateSectionWindows(floorPlan);
        });
        if (converted) {
            CheckAddOnLibraryFolders();
            result = RefreshTerrains(contours);
        } else {
            result = ErrDatabase;
        }
    }
    if (!SwitchToDatabase(before) && result == NoError) result = ErrDatabase;
    return result;
}
