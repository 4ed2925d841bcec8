#include "terrain/TerrainFromMesh.hpp"

#include "elements/AddOnObjects.hpp"
#include "elements/BaseCls.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/UpdatedElements.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ElemNeig.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModuleLog.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "foundation/OwnedMemo.hpp"
#include "terrain/ElementEditor.hpp"
#include "terrain/TerrainDataRecord.hpp"
#include "terrain/TerrainDialogs.hpp"

#include "UniString.hpp"

#include <algorithm>
#include <cfloat>
#include <cstring>
#include <functional>
#include <vector>

namespace {

const int32_t kRefreshKinds[] = {7, 6, 8, 15, 11, 19};
const int32_t kChangeKinds[] = {7, 19, 6, 5, 8, 9, 10, 15, 12, 11};
const int32_t kEditKinds[] = {7, 19, 6, 5, 8, 9, 10, 15, 12, 11, 18};
const int32_t kOrphanKinds[] = {6, 7, 19, 11, 8, 5, 9, 10, 15, 12};

// The cut, fill and result sets: roads, plateaus, sidewalks and sloped plateaus.
bool IsSetKind(int32_t kind) {
    return kind == ElemKind_Road || kind == ElemKind_Plateau || kind == ElemKind_Sidewalk ||
        kind == ElemKind_SlopedPlateau;
}

GSErrCode SwitchTo(int32_t windowType) {
    API_DatabaseInfo db = {};
    db.typeID = windowType;
    return ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db);
}

// The floor plan's database for the length of a pass; the 3D one again at its end when it was current.
class FloorPlanScope {
public:
    FloorPlanScope() : was3D_(IsCurrentWindow3D()) { ok_ = !was3D_ || SwitchTo(APIWind_FloorPlanID) == NoError; }
    ~FloorPlanScope() {
        if (was3D_ && ok_) SwitchTo(APIWind_3DModelID);
    }
    bool Ok() const { return ok_; }

private:
    bool was3D_;
    bool ok_;
};

// A change of the skirt value alone.
GSErrCode ChangeSkirt(API_Element& mesh) {
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    std::memset(static_cast<void*>(&mask.mesh.skirtLevel), 0xFF, sizeof mask.mesh.skirtLevel);
    return ChangeElement(&mesh, nullptr, &mask);
}

bool Collect(const int32_t* kinds, size_t n, QV_List<ElemEntry>& out) {
    out.Clear();
    return CollectAddOnObjectsOfKinds(kinds, n, API_ObjectID, Leave3D::Yes, out);
}

QV_List<API_Element> ElementsOf(const QV_List<ElemEntry>& entries) {
    QV_List<API_Element> out;
    for (int32_t i = 0; i < entries.GetCount(); ++i) out.Insert(entries[i].element);
    return out;
}

// The terrain mesh an object is linked to (null when its record names none or it has no record); false when the
// host cannot read the record.
bool ReadLinkedTerrain(const ElemEntry& object, API_Guid& terrain) {
    terrain = APINULLGuid;
    ElemDescriptor record;
    bool found = false;
    if (!ReadElementRecord(object.element.header, object.kind, false, record, found)) return false;
    if (found && !record.TerrainGuid.IsEmpty()) StringToGuid(terrain, record.TerrainGuid);
    return true;
}

bool ReadElement(const API_Elem_Head& head, API_Element& out) {
    std::memset(static_cast<void*>(&out), 0, sizeof out);
    out.header.guid = head.guid;
    return ACAPI_Element_Get(&out) == NoError;
}

// The terrain values a linked object carries, written again from its mesh: "mesh_skirt" (the skirt value) with
// `skirt`, "mesh_skirt_material" with `material`. The object is read afresh: an earlier step may have moved it.
bool RefreshFromMesh(const ElemEntry& object, const API_Element& mesh, bool material, bool skirt,
                     const std::function<void()>& beforeWrite = {}) {
    API_Element element;
    if (!ReadElement(object.element.header, element)) return false;
    BaseIDLP view(object.kind);
    return BaseIDLP::WriteSkirt(view, element, mesh, material, skirt, beforeWrite);
}

}  // namespace

bool ApplySkirtRule(double lowest, double& skirt) {
    if (!(skirt < -lowest - 1e-7)) return false;
    skirt = 1.0 - lowest;
    return true;
}

bool EnsureTerrainSkirt(API_Element& mesh, bool& changed) {
    changed = false;
    OwnedMemo memo;
    if (memo.Read(mesh.header.guid, APIMemoMask_MeshPolyZ | APIMemoMask_MeshLevel) != NoError) return false;
    double lowest = DBL_MAX;
    if (memo->meshPolyZ != nullptr) {
        const int64_t held = BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo->meshPolyZ)) / GSSize(sizeof(double));
        const int64_t n = std::min<int64_t>(held - 1, mesh.mesh.poly.nCoords);
        for (int64_t i = 1; i <= n; ++i) lowest = std::min(lowest, (*memo->meshPolyZ)[i]);
    }
    if (memo->meshLevelCoords != nullptr) {
        const int64_t held = BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo->meshLevelCoords)) /
            GSSize(sizeof(API_MeshLevelCoord));
        const int64_t n = std::min<int64_t>(held, mesh.mesh.levelLines.nCoords);
        for (int64_t i = 0; i < n; ++i) lowest = std::min(lowest, (*memo->meshLevelCoords)[i].c.z);
    }
    memo.Dispose();
    if (lowest == DBL_MAX) return true;  // no heights: nothing to hold the skirt to
    changed = ApplySkirtRule(lowest, mesh.mesh.skirtLevel);
    return true;
}

bool RefreshLinkedObjects(const QV_List<API_Element>& meshes, const QV_List<bool>& changed) {
    bool any = false;
    for (int32_t i = 0; i < changed.GetCount(); ++i) any = any || changed[i];
    if (!any) return true;
    QV_List<ElemEntry> objects;
    if (!Collect(kRefreshKinds, sizeof kRefreshKinds / sizeof kRefreshKinds[0], objects)) return false;
    if (objects.GetCount() == 0) return true;
    QV_List<LayerState> states;
    SaveAndOpenLayers(VY_Operators, ElementsOf(objects), states, true);
    bool ok = true;
    for (int32_t m = 0; m < meshes.GetCount() && ok; ++m) {
        if (m >= changed.GetCount() || !changed[m]) continue;
        for (int32_t k = 0; k < objects.GetCount() && ok; ++k) {
            BaseLP view;
            API_Guid terrain = {};
            if (!BaseLP::AttachToElement(view, objects[k].kind, objects[k].element, terrain, true)) {
                ok = false;
                break;
            }
            // The retaining wall keeps its own skirt material (as on a change of the terrain).
            if (terrain == meshes[m].header.guid &&
                !RefreshFromMesh(objects[k], meshes[m], objects[k].kind != ElemKind_RetainingWall, true))
                ok = false;
        }
    }
    return RestoreLayerStates(VY_Operators, states) && ok;
}

int32_t BuildTerrainFromMesh(TerrainDialogs& dialogs, const API_Element& given, bool asCommand) {
    if (!dialogs.AskMeshConversion()) return 0;
    API_Element mesh = given;
    if (ACAPI_Element_Get(&mesh) != NoError) return ErrModifying;
    // Unobserved, the terrain would miss the updates that keep it and its linked objects in step.
    if (ACAPI_Element_AttachObserver(mesh.header.guid) != NoError) return ErrModifying;
    const auto convert = [&]() -> bool {
        if (!WriteTerrainDataRecord(mesh)) return false;
        bool changed = false;
        if (!EnsureTerrainSkirt(mesh, changed)) return false;
        if (changed && ChangeSkirt(mesh) != NoError) return false;
        QV_List<API_Element> one;
        one.Insert(mesh);
        QV_List<bool> flags;
        flags.Insert(changed);
        return RefreshLinkedObjects(one, flags);
    };
    if (!asCommand) return convert() ? 0 : ErrModifying;
    // A failed step takes back the record and skirt already written.
    if (!RunWholeCommand(convert)) return ErrModifying;
    API_Neig neig;
    if (ElemHeadToNeig(&neig, &mesh.header)) {
        GS::Array<API_Neig> selection;
        selection.Push(neig);
        ACAPI_Element_Select(selection, true);
    }
    return 0;
}

int32_t RebuildTerrain(ContourLineRefresh& contours, const QV_List<API_Element>& meshes) {
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    // A failure takes back the skirts already changed.
    const bool ok = RunWholeCommand([&] {
        QV_List<API_Element> current;
        QV_List<bool> changed;
        for (int32_t i = 0; i < meshes.GetCount(); ++i) {
            API_Element mesh = meshes[i];
            bool moved = false;
            if (ACAPI_Element_Get(&mesh) != NoError || !EnsureTerrainSkirt(mesh, moved)) return false;
            if (moved && ChangeSkirt(mesh) != NoError) return false;
            current.Insert(mesh);
            changed.Insert(moved);
        }
        return RefreshLinkedObjects(current, changed);
    });
    if (ok)
        for (int32_t i = 0; i < meshes.GetCount(); ++i) contours.RefreshContourLines(meshes[i]);
    ACAPI_Automate(APIDo_RebuildID);
    return ok ? 0 : ErrModifying;
}

bool DeleteOrphanedObjects() {
    FloorPlanScope plan;
    if (!plan.Ok()) return false;
    QV_List<API_Element> terrains;
    if (!CollectAddOnObjects(ElemKind_Terrain, API_MeshID, Leave3D::No, terrains)) return false;
    QV_List<ElemEntry> objects;
    if (!Collect(kOrphanKinds, sizeof kOrphanKinds / sizeof kOrphanKinds[0], objects)) return false;
    GS::Array<API_Guid> orphans;
    for (int32_t k = 0; k < objects.GetCount(); ++k) {
        // The link compared as a GUID, so that a live terrain keeps its objects whatever the text's spelling;
        // an object without a link is no orphan.
        API_Guid terrain = APINULLGuid;
        if (!ReadLinkedTerrain(objects[k], terrain)) return false;
        if (terrain == APINULLGuid) continue;
        bool live = false;
        for (int32_t t = 0; t < terrains.GetCount() && !live; ++t) live = terrains[t].header.guid == terrain;
        if (!live) orphans.Push(objects[k].element.header.guid);
    }
    if (orphans.GetSize() == 0) return true;
    return ACAPI_Element_Delete(orphans) == NoError;
}

namespace {

// The objects of the kinds linked to the mesh (their record names its GUID), in collection order.
bool LinkedTo(const API_Guid& mesh, const QV_List<ElemEntry>& objects, QV_List<ElemEntry>& out) {
    out.Clear();
    for (int32_t k = 0; k < objects.GetCount(); ++k) {
        API_Guid terrain = APINULLGuid;
        if (!ReadLinkedTerrain(objects[k], terrain)) return false;
        if (terrain == mesh && !out.Insert(objects[k])) return false;
    }
    return true;
}

bool EditObjects(ElementEditor& editor, const QV_List<ElemEntry>& objects, const API_EditPars& pars) {
    GS::Array<API_Neig> neigs;
    for (int32_t k = 0; k < objects.GetCount(); ++k) {
        API_Neig neig;
        if (ElemHeadToNeig(&neig, &objects[k].element.header)) neigs.Push(neig);
    }
    if (neigs.GetSize() == 0) return true;
    return editor.Edit(neigs, pars) == NoError;
}

// Mode 3: the terrain's own rules after the user changed meshes, and its linked objects in step.
bool UpdateEditedTerrains(ElementEditor& editor, const QV_List<API_Element>& terrains,
                          const QV_List<API_Element>& parents) {
    if (terrains.GetCount() == 0) return true;  // no terrain among the changes: nothing to hold in step
    QV_List<ElemEntry> objects;
    if (!Collect(kChangeKinds, sizeof kChangeKinds / sizeof kChangeKinds[0], objects)) return false;
    QV_List<LayerState> states;
    // The layers are opened only once a linked object is to be written (one that carries the mesh's values already
    // is not): opened and put back for nothing, they would leave an undo step that changes nothing. A layer that cannot be opened stays as it is: the writes on
    // its objects tell whether it mattered.
    bool opened = false;
    const auto openLayers = [&] {
        if (!opened) SaveAndOpenLayers(VY_Operators, ElementsOf(objects), states, true);
        opened = true;
    };
    bool ok = true;
    for (int32_t i = 0; i < terrains.GetCount() && ok; ++i) {
        API_Element mesh = terrains[i];
        if (mesh.mesh.showPlanTriangles != 1) {
            API_Element mask;
            std::memset(static_cast<void*>(&mask), 0, sizeof mask);
            mask.mesh.showPlanTriangles = 0xFF;
            mesh.mesh.showPlanTriangles = 1;
            if (ChangeElement(&mesh, nullptr, &mask) != NoError) {
                ok = false;
                break;
            }
            PendingUpdate.skirtForced = 1;
        }
        const API_Element* before = nullptr;
        for (int32_t p = 0; p < parents.GetCount(); ++p)
            if (parents[p].header.guid == mesh.header.guid) before = &parents[p];
        // Without the mesh as it was (the host could not give it) its linked objects take its material and skirt
        // again, as after any change; a lift cannot be told then.
        const bool sideChanged = before == nullptr || before->mesh.sideMat != mesh.mesh.sideMat ||
            before->mesh.skirtMat != mesh.mesh.skirtMat;
        const double lift = before != nullptr ? mesh.mesh.level - before->mesh.level : 0.0;
        bool skirtChanged = before == nullptr || before->mesh.skirtLevel != mesh.mesh.skirtLevel;
        bool ruled = false;
        if (!EnsureTerrainSkirt(mesh, ruled) || (ruled && ChangeSkirt(mesh) != NoError)) {
            ok = false;
            break;
        }
        skirtChanged = skirtChanged || ruled;
        if (!sideChanged && lift == 0.0 && !skirtChanged) continue;
        QV_List<ElemEntry> linked;
        ok = LinkedTo(mesh.header.guid, objects, linked);
        for (int32_t k = 0; k < linked.GetCount() && ok; ++k) {
            const int32_t kind = linked[k].kind;
            // Contours, buildings, walls and basins carry no skirt of their terrain.
            if (kind == ElemKind_Contour || kind == ElemKind_Building || kind == ElemKind_Wall ||
                kind == ElemKind_Basin)
                continue;
            ok = RefreshFromMesh(linked[k], mesh, sideChanged && kind != ElemKind_RetainingWall, skirtChanged,
                                 openLayers);
        }
        if (ok && lift != 0.0 && linked.GetCount() > 0) {
            openLayers();
            API_EditPars pars = {};
            pars.typeID = APIEdit_Elevate;
            pars.endC = API_Coord3D{0.0, 0.0, lift};
            ok = EditObjects(editor, linked, pars);
        }
    }
    if (opened && !RestoreLayerStates(VY_Operators, states)) ok = false;
    return ok;
}

// The coloured areas linked to each terrain take the lower left corner of the terrain's box as their "origine":
// their outlines are kept relative to it.
bool UpdateLinkedColouredAreas(const QV_List<API_Element>& terrains, const QV_List<ElemEntry>& objects) {
    QV_List<ElemEntry> areas;
    QV_List<API_Coord> origins;
    for (int32_t t = 0; t < terrains.GetCount(); ++t) {
        QV_List<ElemEntry> linked;
        if (!LinkedTo(terrains[t].header.guid, objects, linked)) return false;
        API_Box3D box = {};
        bool boxed = false;
        for (int32_t k = 0; k < linked.GetCount(); ++k) {
            if (linked[k].kind != ElemKind_ColouredArea) continue;
            API_Element query = terrains[t];
            if (!boxed && ACAPI_Database(APIDb_CalcBoundsID, &query, &box) != NoError) return false;
            boxed = true;
            areas.Insert(linked[k]);
            origins.Insert(API_Coord{box.xMin, box.yMin});
        }
    }
    if (areas.GetCount() == 0) return true;
    QV_List<LayerState> states;
    SaveAndOpenLayers(VY_Operators, ElementsOf(areas), states, true);
    bool ok = true;
    for (int32_t k = 0; k < areas.GetCount() && ok; ++k) {
        API_Element area;
        PaintLP view(ElemKind_ColouredArea);
        ok = ReadElement(areas[k].element.header, area) && PaintLP::AttachAndExchange(view, area, origins[k], true);
    }
    return RestoreLayerStates(VY_Operators, states) && ok;
}

// Mode 4: the linked objects take the same edit as their terrain, but for the result objects of the sets and
// the objects that took it already; each moved set then brings its result object along.
bool MoveLinkedObjects(ElementEditor& editor, const QV_List<API_Element>& terrains, const QV_List<API_Elem_Head>& heads,
                       const QV_List<ElemEntry>& objects) {
    QV_List<ElemEntry> moving;
    for (int32_t k = 0; k < objects.GetCount(); ++k) {
        const ElemEntry& o = objects[k];
        bool pending = false;
        for (int32_t h = 0; h < heads.GetCount() && !pending; ++h) pending = heads[h].guid == o.element.header.guid;
        if (pending) continue;
        API_Guid terrain = APINULLGuid;
        if (!ReadLinkedTerrain(o, terrain)) return false;
        bool moved = false;
        for (int32_t t = 0; t < terrains.GetCount() && !moved; ++t) moved = terrains[t].header.guid == terrain;
        if (!moved) continue;
        if (IsSetKind(o.kind)) {
            QV_String role;
            BaseIDLP lookup(o.kind);
            if (!BaseLP::AttachToElementLookup(lookup, o.element, nullptr, nullptr, nullptr, &role, o.kind, false))
                return false;
            if (role.ToStdString() == "result") continue;
        }
        moving.Insert(o);
    }
    if (moving.GetCount() == 0) return true;
    QV_List<LayerState> states;
    SaveAndOpenLayers(VY_Operators, ElementsOf(moving), states, true);
    bool ok = EditObjects(editor, moving, PendingUpdate.editPars);
    for (int32_t k = 0; k < moving.GetCount() && ok; ++k)
        if (IsSetKind(moving[k].kind)) ok = SyncSiblingObjects(moving[k].element.header, moving[k].kind, false) != 0;
    return RestoreLayerStates(VY_Operators, states) && ok;
}

bool UpdateMovedTerrains(ElementEditor& editor, QV_List<API_Element>& terrains, const QV_List<API_Elem_Head>& heads) {
    if (terrains.GetCount() == 0) return true;
    if (PendingUpdate.editUnread != 0) return false;  // how the terrain moved is not known: nothing can follow it
    if (PendingUpdate.editPars.typeID == APIEdit_General) return true;
    for (int32_t i = 0; i < terrains.GetCount(); ++i) {
        bool ruled = false;
        if (!EnsureTerrainSkirt(terrains[i], ruled) || (ruled && ChangeSkirt(terrains[i]) != NoError)) return false;
        const API_Elem_Head head = terrains[i].header;  // the stored header up to date after the change
        if (ruled && !ReadElement(head, terrains[i])) return false;
    }
    QV_List<ElemEntry> objects;
    if (!Collect(kEditKinds, sizeof kEditKinds / sizeof kEditKinds[0], objects)) return false;
    if (!MoveLinkedObjects(editor, terrains, heads, objects)) return false;
    if (!UpdateLinkedColouredAreas(terrains, objects)) return false;
    QV_List<bool> changed;
    for (int32_t t = 0; t < terrains.GetCount(); ++t) changed.Insert(true);
    return RefreshLinkedObjects(terrains, changed);
}

}  // namespace

bool CollectTerrainElements(ElementEditor& editor, int32_t mode, const QV_List<API_Elem_Head>& heads,
                            const QV_List<API_Element>& parents) {
    if (mode == 1 && ElementWritten != 0) return true;  // the add-on made it itself
    if (mode == 5) return DeleteOrphanedObjects();
    if (mode < 1 || mode > 4) return true;
    FloorPlanScope plan;
    if (!plan.Ok()) return false;
    // New and copied meshes count only where they can be written (shown, unlocked layer); changed and edited
    // ones whatever their layer.
    QV_List<API_Element> terrains;
    for (int32_t i = 0; i < heads.GetCount(); ++i) {
        if (heads[i].typeID != API_MeshID) continue;
        API_Element mesh;
        ElemDescriptor record;
        bool terrain = false;
        if (mode <= 2) {
            if (!ReadUpdatedElement(heads[i], APIFilt_IsEditable, ElemKind_Terrain, mesh, record, terrain))
                return false;
        } else {
            std::memset(static_cast<void*>(&mesh), 0, sizeof mesh);
            mesh.header.guid = heads[i].guid;
            const GSErrCode err = ACAPI_Element_Get(&mesh);
            if (err != NoError && err != APIERR_BADID) return false;  // one gone again has nothing to follow
            if (err == NoError && !ReadElementRecord(mesh.header, ElemKind_Terrain, true, record, terrain))
                return false;
        }
        if (terrain && !terrains.Insert(mesh)) return false;
    }
    if (mode <= 2) {
        // A new or copied terrain mesh: its record made its own again.
        for (int32_t i = 0; i < terrains.GetCount(); ++i) {
            if (ACAPI_Element_AttachObserver(terrains[i].header.guid) != NoError) return false;
            if (!WriteTerrainDataRecord(terrains[i])) return false;
        }
        return true;
    }
    if (mode == 3) return UpdateEditedTerrains(editor, terrains, parents);
    return UpdateMovedTerrains(editor, terrains, heads);
}
