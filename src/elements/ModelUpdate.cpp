#include "elements/ModelUpdate.hpp"

#include "elements/ParamIndexes.hpp"

#include "elements/ElemDataRecord.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModuleLog.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "foundation/OwnedMemo.hpp"

#include <cstring>
#include <utility>
#include <string>
#include <vector>

PendingModelUpdate PendingUpdate;
uint8_t ElementWritten = 0;

PendingModelUpdate::PendingModelUpdate() { Reset(); }

void PendingModelUpdate::Reset() {
    mode = -5;
    skirtForced = 0;
    editUnread = 0;
    heads.Clear();
    parents.Clear();
    codes.Clear();
    std::memset(&tranPars, 0, sizeof tranPars);
    std::memset(&editPars, 0, sizeof editPars);
}

// --- the edit parameters -------------------------------------------------------------------------------------

void PendingInput::ToEditPars(PendingModelUpdate& record) {
    API_ActTranPars& t = record.tranPars;
    std::memset(&t, 0, sizeof t);
    if (ACAPI_Notify_GetTranParams(&t) != NoError) {
        std::memset(&t, 0, sizeof t);
        record.editUnread = 1;
    }
    API_EditPars& e = record.editPars;
    std::memset(&e, 0, sizeof e);
    e.withDelete = 1;
    e.typeID = APIEdit_General;
    switch (t.typeID) {
        case APIEdit_Drag: e.endC = {t.disp.x, t.disp.y, t.dispZ}; break;
        case APIEdit_Rotate:
            e.origC = t.vector;
            e.begC = {t.vector.x + 1.0, t.vector.y, 0.0};
            e.endC = {t.vector.x + t.cosA, t.vector.y + t.sinA, 0.0};
            break;
        case APIEdit_Mirror:
            e.begC = {t.base.x, t.base.y, 0.0};
            e.endC = {t.base.x + t.vector.x, t.base.y + t.vector.y, 0.0};
            break;
        case APIEdit_Elevate:
        case APIEdit_VertStretch: e.endC = {0.0, 0.0, t.dispZ}; break;
        case APIEdit_Resize:
            e.begC = {t.base.x, t.base.y, 0.0};
            e.endC = {t.base.x + 1.0, t.base.y, 0.0};
            e.fourthC = {t.base.x + t.ratio, t.base.y, 0.0};
            break;
        case APIEdit_Stretch:
            e.begC = {t.base.x, t.base.y, 0.0};
            e.endC = {t.base.x + t.disp.x, t.base.y + t.disp.y, 0.0};
            break;
        default: return;  // 'GENE', every point zero
    }
    e.typeID = t.typeID;
}

// --- the pending elements ------------------------------------------------------------------------------------

namespace {

GSErrCode MakeDatabaseCurrent(int32_t type) {
    API_DatabaseInfo db = {};
    db.typeID = type;
    return ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db);
}

// Reads the kind tag of the element's data record (the first byte of its user data) into `tag`: 0 for an element
// without one or no longer there. The read is made in the floor plan's database when the 3D window is in front.
// False when the host could not tell.
bool ReadRecordTag(const API_Elem_Head& head, char& tag) {
    tag = 0;
    const bool switched = IsCurrentWindow3D();
    if (switched && MakeDatabaseCurrent(APIWind_FloorPlanID) != NoError) return false;
    API_ElementUserData data = {};
    const GSErrCode err = ACAPI_Element_GetUserData(&head, &data);
    if (err == NoError && data.dataHdl != nullptr && BMGetHandleSize(data.dataHdl) > 0) tag = (*data.dataHdl)[0];
    BMKillHandle(&data.dataHdl);
    if (switched) MakeDatabaseCurrent(APIWind_3DModelID);
    return err == NoError || err == APIERR_BADID;
}

bool ReadsAsKind(const API_Elem_Head& head, int32_t kind) {
    ElemDescriptor descriptor;
    return ElemUserData_ReadFromElement(descriptor, kind, head, true);
}

// The user is drawing road sections: the object tool's default is the road part with "sezione" set. The road
// part is only searched for, never asked for: no dialog may open inside a notification. 1 drawing sections, 0 not,
// -1 when the host could not tell.
int RoadSectionToolActive() {
    const QV_String roadName("VY_ROAD");
    int32_t roadIndex = -1;
    const LibPartLookup road = LookUpLibPart(roadName, APILib_ObjectID, roadIndex);
    if (road != LibPartLookup::Found) return road == LibPartLookup::Refused ? -1 : 0;
    API_Element element = {};
    OwnedMemo memo;
    if (!GetObjectDefaults(element, memo.Get())) return -1;
    int active = 0;
    if (element.object.libInd == roadIndex && memo->params != nullptr) {
        // The tool's defaults: names compared ignoring case, as over any library part's defaults.
        RoadLP view(ElemKind_Road);
        view.params = reinterpret_cast<GSHandle>(memo->params);
        view.count = int32_t(BMGetHandleSize(view.params) / GSSize(sizeof(API_AddParType)));
        int16_t section = 0;
        active = view.GetSetShort(RoadParam::Section, section, LPMode_Get) && section != 0 ? 1 : 0;
    }
    return active;
}

bool TagIn(char tag, const char* tags) { return tag != 0 && std::strchr(tags, tag) != nullptr; }

// Keeps head i of `from` (and its code and, for codes 3 and 4, its parent) in `to`.
struct HeadWalk {
    const PendingModelUpdate& from;
    int32_t parent = 0;

    explicit HeadWalk(const PendingModelUpdate& source) : from(source) {}
    // The code of head i (the record's mode for a record without codes).
    int32_t Code(int32_t i) const { return i < from.codes.GetCount() ? from.codes[i] : from.mode; }
    // Call for every head in order; copies it when `keep`.
    void Step(int32_t i, bool keep, PendingModelUpdate& to) {
        const int32_t code = Code(i);
        const bool hasParent = (code == 3 || code == 4) && parent < from.parents.GetCount();
        if (keep) {
            to.heads.Insert(from.heads[i]);
            to.codes.Insert(code);
            if (hasParent) to.parents.Insert(from.parents[parent]);
        }
        if (hasParent) ++parent;
    }
};
}  // namespace

bool FilterPendingHeads(PendingModelUpdate& record) {
    if (record.mode == 5 || record.heads.GetCount() == 0) return true;
    const bool switched = IsCurrentWindow3D();
    if (switched && MakeDatabaseCurrent(APIWind_FloorPlanID) != NoError) return false;

    // Filtered in place: an import's hundreds of thousands of heads are not held twice.
    const int32_t count = record.heads.GetCount();
    std::vector<bool> keeps(size_t(count), false);
    int roadSections = -2;  // not asked yet
    bool told = true;       // every element's record could be read
    for (int32_t i = 0; i < count && told; ++i) {
        const API_Elem_Head& head = record.heads[i];
        bool keep = false;
        char tag = 0;
        switch (head.typeID) {
            case API_ObjectID: {
                told = ReadRecordTag(head, tag);
                keep = TagIn(tag, "4CD678B");
                for (const int32_t kind : {ElemKind_Basin, ElemKind_RetainingWall, ElemKind_SlopedPlateau,
                                           ElemKind_Bridge, ElemKind_Railway})
                    keep = keep || ReadsAsKind(head, kind);
                // Any other object counts while road sections are drawn: the tool is asked once, when it matters.
                if (told && !keep) {
                    if (roadSections == -2) roadSections = RoadSectionToolActive();
                    told = roadSections >= 0;
                    keep = roadSections == 1;
                }
                break;
            }
            case API_MeshID:
                told = ReadRecordTag(head, tag);
                keep = tag == ElemKindTag(ElemKind_Terrain);
                break;
            case API_LineID:
                told = ReadRecordTag(head, tag);
                keep = tag == ElemKindTag(ElemKind_Constraint);
                break;
            case API_HotspotID:
                told = ReadRecordTag(head, tag);
                keep = tag == ElemKindTag(ElemKind_Point);
                break;
            default: break;
        }
        keeps[size_t(i)] = keep;
    }
    if (!told) {
        if (switched) MakeDatabaseCurrent(APIWind_3DModelID);
        return false;
    }
    // Every kept head with its code (the record's mode where it has none) and, for codes 3 and 4, its parent.
    const int32_t coded = record.codes.GetCount();
    std::vector<bool> keptParents(size_t(record.parents.GetCount()), false);
    int32_t parent = 0;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t code = i < coded ? record.codes[i] : record.mode;
        if ((code == 3 || code == 4) && parent < record.parents.GetCount())
            keptParents[size_t(parent++)] = keeps[size_t(i)];
    }
    if (coded < count && record.codes.SetSize(count))
        for (int32_t i = coded; i < count; ++i) record.codes[i] = record.mode;
    record.heads.RemoveIf([&](int32_t i) { return !keeps[size_t(i)]; });
    record.codes.RemoveIf([&](int32_t i) { return i >= count || !keeps[size_t(i)]; });
    record.parents.RemoveIf([&](int32_t i) { return !keptParents[size_t(i)]; });
    RebuildCurrentWindow(switched, true, 0);
    return true;
}

namespace {
// Whether the object is a retaining wall, told by its library part when its record cannot be read: the user hears
// about walls that cannot follow even when the update itself fails on their records. `wallPart` caches the wall
// part's index (-2 not looked up yet, -1 not loaded). False when the host could tell neither.
bool IsRetainingWall(const API_Elem_Head& head, int32_t& wallPart, bool& wall) {
    char tag = 0;
    if (ReadRecordTag(head, tag)) {
        wall = tag == ElemKindTag(ElemKind_RetainingWall);
        return true;
    }
    if (wallPart == -2 &&
        LookUpLibPart(QV_String("VY_RETAINING_WALL"), APILib_ObjectID, wallPart) == LibPartLookup::Refused) {
        wallPart = -2;
        return false;
    }
    if (wallPart < 0) {
        wall = false;  // no wall part loaded: no object is a wall
        return true;
    }
    API_Element element = {};
    element.header.guid = head.guid;
    if (ACAPI_Element_Get(&element) != NoError) return false;
    wall = element.object.libInd == wallPart;
    return true;
}

// Whether the wall stands on one of `meshes`: by its record, else by the terrain its body cuts (its solid link).
bool WallStandsOn(const API_Elem_Head& head, const std::vector<API_Guid>& meshes, bool& on) {
    on = false;
    API_Element wall = {};
    wall.header.guid = head.guid;
    if (ACAPI_Element_Get(&wall) != NoError) return false;
    ObstacleLP view(ElemKind_RetainingWall);
    API_Guid terrain = APINULLGuid;
    std::vector<API_Guid> terrains;
    if (BaseLP::AttachToElement(view, ElemKind_RetainingWall, wall, terrain, true)) {
        terrains.push_back(terrain);
    } else {
        GS::Array<API_Guid> targets;
        if (ACAPI_Element_SolidLink_GetTargets(head.guid, &targets) != NoError) return false;
        for (UInt32 t = 0; t < targets.GetSize(); ++t) terrains.push_back(targets[t]);
    }
    for (const API_Guid& mesh : meshes)
        for (const API_Guid& t : terrains) on = on || t == mesh;
    return true;
}
}  // namespace

bool CollectPendingRetainingWalls(const PendingModelUpdate& pending, QV_List<API_Elem_Head>& out) {
    out.Clear();
    if (pending.mode == 5) return true;
    int32_t wallPart = -2;
    for (int32_t i = 0; i < pending.heads.GetCount(); ++i) {
        const API_Elem_Head& head = pending.heads[i];
        if (head.typeID != API_ObjectID) continue;
        // An object the host tells nothing about may be a wall that cannot follow: the user would not be told.
        bool wall = false;
        if (!IsRetainingWall(head, wallPart, wall)) {
            out.Clear();
            return false;
        }
        if (wall) out.Insert(head);
    }
    return true;
}

bool FilterWallsByChangedTerrain(const PendingModelUpdate& pending, QV_List<API_Elem_Head>& walls) {
    std::vector<API_Guid> meshes;
    for (int32_t i = 0; i < pending.heads.GetCount(); ++i)
        if (pending.heads[i].typeID == API_MeshID) meshes.push_back(pending.heads[i].guid);
    if (meshes.empty() || walls.GetCount() == 0) return true;
    QV_List<API_Elem_Head> kept;
    for (int32_t i = 0; i < walls.GetCount(); ++i) {
        // A wall the host tells nothing about may stand on the changed terrain: left out, it would not follow it,
        // and the user would not hear so. Which walls cannot follow is then not known.
        bool on = false;
        if (!WallStandsOn(walls[i], meshes, on)) {
            walls.Clear();
            return false;
        }
        if (on) kept.Insert(walls[i]);
    }
    walls = kept;
    return true;
}

// --- the dispatcher ------------------------------------------------------------------------------------------

void LogModelUpdateStep(const char* name, int32_t value) {
    const std::string text = std::string(name) + "(" + std::to_string(value) + ")";
    ModuleLog::LogCall(text.c_str());
}

const std::vector<int32_t>& ModelUpdateOrder() {
    static const std::vector<int32_t> order = {
        ElemKind_Road,          ElemKind_Railway,      ElemKind_Section, ElemKind_Plateau,
        ElemKind_SlopedPlateau, ElemKind_Sidewalk,     ElemKind_Contour, ElemKind_Building,
        ElemKind_Basin,         ElemKind_ColouredArea, ElemKind_Wall,    ElemKind_RetainingWall,
        ElemKind_Bridge,        ElemKind_Terrain,      ElemKind_Point,   ElemKind_Constraint};
    return order;
}

namespace {
// The kinds whose objects come in cut, fill and result sets.
bool HasObjectSets(int32_t kind) {
    return kind == ElemKind_Road || kind == ElemKind_Railway || kind == ElemKind_Plateau ||
        kind == ElemKind_SlopedPlateau || kind == ElemKind_Sidewalk;
}
}  // namespace

ModelUpdateSteps FrameworkModelUpdateSteps() {
    ModelUpdateSteps s;
    s.handleCopiedObjects = [](int32_t kind, const QV_List<API_Elem_Head>& heads) {
        LogModelUpdateStep("HandleCopiedObjects", kind);
        return HandleCopiedObjects(kind, heads);
    };
    s.syncChangedObjects = [](int32_t kind, const QV_List<API_Elem_Head>& heads) {
        LogModelUpdateStep("SyncChangedObjects", kind);
        return SyncChangedObjects(kind, heads);
    };
    s.deleteBrokenSets = [](int32_t kind) {
        LogModelUpdateStep("DeleteBrokenSets", kind);
        return DeleteBrokenSets(kind);
    };
    s.operatorLayerUpkeep = [] { return EnsureOperatorLayer() > 0; };
    s.filterPendingHeads = FilterPendingHeads;
    s.showErrorMessage = [](int32_t code) { ShowErrorMessage(code, AlertKind::Warning); };
    return s;
}

namespace {

bool ChangesTheModel(int32_t mode) { return mode >= 1 && mode <= 5; }

// The closing steps of a dispatch that ended early: the operator layer kept up; false when that fails.
bool CloseEarly(PendingModelUpdate& record, const ModelUpdateSteps& steps) {
    ElementWritten = 0;
    record.Reset();
    return steps.operatorLayerUpkeep();
}

// The steps for one mode; false when one of them failed (what ran is then taken back by the command).
bool Dispatch(PendingModelUpdate& record, const ModelUpdateSteps& steps, QV_List<API_Elem_Head>& walls) {
    const int32_t mode = record.mode;
    if (mode != 4) {
        if (mode < 1 || mode > 5) return CloseEarly(record, steps);
        if (!CollectPendingRetainingWalls(record, walls)) return false;
        if (!steps.filterPendingHeads(record)) {
            // The heads stand unfiltered: the walls are sorted among every changed mesh (a wall's terrain is one the
            // filter would have kept), so that the user still hears which walls cannot follow.
            FilterWallsByChangedTerrain(record, walls);
            return false;
        }
        if (record.heads.GetCount() == 0) return CloseEarly(record, steps);
        if (!FilterWallsByChangedTerrain(record, walls)) return false;
    }

    const QV_List<API_Elem_Head>& heads = record.heads;
    const QV_List<API_Element>& parents = record.parents;
    // The step of the cut, fill and result sets of one kind.
    const auto sets = [&](int32_t kind) {
        switch (mode) {
            case 1: return ElementWritten != 0 || steps.handleCopiedObjects(kind, heads);
            case 2: return steps.handleCopiedObjects(kind, heads);
            case 3:
            case 4: return steps.syncChangedObjects(kind, heads);
            case 5: return steps.deleteBrokenSets(kind);
            default: return true;
        }
    };
    const ModelUpdateEvent event{mode, (mode == 1 && ElementWritten == 0) || mode == 2, heads, parents};
    bool ok = true;
    for (const int32_t kind : ModelUpdateOrder()) {
        if (ok && HasObjectSets(kind)) ok = sets(kind);
        const auto own = steps.kindSteps.find(kind);
        if (ok && own != steps.kindSteps.end()) ok = own->second(event);
        if (!ok) break;
    }
    ElementWritten = 0;
    return ok && steps.operatorLayerUpkeep();
}

// The dispatches of one series (one per code, `dispatches` of them) as one undo step, and what the user is told:
// the failure once when any of them failed (and all of them were taken back), else the skirt made visible or the
// retaining walls that cannot follow.
void RunSeries(const ModelUpdateSteps& steps,
               const std::function<bool(QV_List<API_Elem_Head>& walls, uint8_t& skirtForced)>& dispatches) {
    QV_List<API_Elem_Head> walls;  // retaining walls among the changes: they cannot follow (message 53)
    uint8_t skirtForced = 0;
    const bool ok = RunWholeCommand([&] {
        walls.Clear();
        skirtForced = 0;
        return dispatches(walls, skirtForced);
    });
    ElementWritten = 0;
    if (!ok)
        steps.showErrorMessage(ErrUpdateFailed);
    else if (skirtForced != 0)
        steps.showErrorMessage(ErrSkirtMadeVisible);
    // The walls found standing on a changed terrain cannot follow it, whether the update went through or not.
    if ((!ok || skirtForced == 0) && walls.GetCount() > 0) steps.showErrorMessage(ErrRetainingWallEdit);
}
}  // namespace

void UpdateModelWith(PendingModelUpdate& record, const ModelUpdateSteps& steps) {
    if (!ChangesTheModel(record.mode)) {
        QV_List<API_Elem_Head> walls;
        if (!Dispatch(record, steps, walls)) steps.showErrorMessage(ErrUpdateFailed);
        return;
    }
    RunSeries(steps, [&](QV_List<API_Elem_Head>& walls, uint8_t& skirtForced) {
        const bool ok = Dispatch(record, steps, walls);
        skirtForced = record.skirtForced;
        return ok;
    });
}

void UpdateModelSeries(PendingModelUpdate& record, const ModelUpdateSteps& steps) {
    std::vector<int32_t> order;
    for (int32_t i = 0; i < record.codes.GetCount(); ++i) {
        const int32_t code = record.codes[i];
        bool seen = false;
        for (const int32_t c : order) seen = seen || c == code;
        if (!seen) order.push_back(code);
    }
    if (!ChangesTheModel(record.mode) || order.size() < 2) {
        UpdateModelWith(record, steps);
        return;
    }
    // One dispatch per code, on the record itself (the element kinds' steps may mark it).
    PendingModelUpdate all;
    all.mode = record.mode;
    all.heads = record.heads;
    all.parents = record.parents;
    all.codes = record.codes;
    all.editUnread = record.editUnread;
    const API_ActTranPars tranPars = record.tranPars;
    const API_EditPars editPars = record.editPars;
    const uint8_t written = ElementWritten;
    RunSeries(steps, [&](QV_List<API_Elem_Head>& walls, uint8_t& skirtForced) {
        for (const int32_t code : order) {
            record.Reset();
            record.mode = code;
            record.editUnread = all.editUnread;
            record.tranPars = tranPars;
            record.editPars = editPars;
            HeadWalk walk(all);
            for (int32_t i = 0; i < all.heads.GetCount(); ++i) walk.Step(i, walk.Code(i) == code, record);
            ElementWritten = written;
            QV_List<API_Elem_Head> own;
            const bool ok = Dispatch(record, steps, own);
            for (int32_t i = 0; i < own.GetCount(); ++i) walls.Insert(own[i]);
            if (!ok) return false;
            skirtForced = uint8_t(skirtForced | record.skirtForced);
        }
        return true;
    });
}
