#include "terrain/TerrainSettingsRun.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/DialogLayouts.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "foundation/OwnedMemo.hpp"
#include "settings/Settings.hpp"
#include "terrain/TerrainContourSteps.hpp"
#include "terrain/TerrainDialogs.hpp"

#include "GSRoot.hpp"
#include "UniString.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

GSErrCode SwitchTo(int32_t windowType) {
    API_DatabaseInfo db = {};
    db.typeID = windowType;
    return ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db);
}

// The lowest and highest height of a mesh's boundary and level points; false when its memo cannot be read.
bool MeshHeightRange(const API_Element& mesh, double& lowest, double& highest) {
    OwnedMemo memo;
    if (memo.Read(mesh.header.guid, APIMemoMask_MeshPolyZ | APIMemoMask_MeshLevel) != NoError) return false;
    double lo = DBL_MAX, hi = -DBL_MAX;
    const auto take = [&](double z) {
        lo = std::min(lo, z);
        hi = std::max(hi, z);
    };
    if (memo->meshPolyZ != nullptr) {
        const int64_t held = BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo->meshPolyZ)) / GSSize(sizeof(double));
        for (int64_t i = 1; i < held && i <= mesh.mesh.poly.nCoords; ++i) take((*memo->meshPolyZ)[i]);
    }
    if (memo->meshLevelCoords != nullptr) {
        const int64_t held = BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo->meshLevelCoords)) /
            GSSize(sizeof(API_MeshLevelCoord));
        for (int64_t i = 0; i < held && i < mesh.mesh.levelLines.nCoords; ++i) take((*memo->meshLevelCoords)[i].c.z);
    }
    memo.Dispose();
    if (lo > hi) return false;
    lowest = lo;
    highest = hi;
    return true;
}

}  // namespace

DialogAnswer RunTerrainSettings(Settings& store, TerrainDialogs& dialogs, TerrainRecord& record, int16_t mode,
                                int32_t locatorIndex, double* verticalOffset, TerrainContourContext* context,
                                int32_t editedCount) {
    TerrainDialogBlock first, second;
    first.editedCount = second.editedCount = editedCount;
    if (verticalOffset != nullptr) *verticalOffset = 0.0;
    const bool withContext = context != nullptr && mode >= TerrainMode_New;
    ContourLineSettings contour = context != nullptr && mode >= TerrainMode_Edit ? context->settings : store.contour;
    const double lowest = withContext ? context->lowest : 0.0;
    const double highest = withContext ? context->highest : 0.0;
    const int16_t option = context != nullptr && mode == TerrainMode_EditWithContours ? context->gradient : 0;

    // The dialogs write into a copy, so that a cancel in either layout leaves the record as it was.
    TerrainSettings original;
    Assign(original, record);
    TerrainSettings accepted;
    Assign(accepted, record);
    TerrainDialogBlock* acceptedBlock = nullptr;
    const DialogAnswer answer = RunDialogLayouts([&](int32_t layout, bool) {
        if (layout == 0) {
            const DialogAnswer compact = dialogs.OpenTerrainSettings(first, accepted, original, contour, mode,
                                                                     locatorIndex, lowest, highest, option);
            if (compact == DialogAnswer::Confirmed) acceptedBlock = &first;
            return LayoutClosed(compact, first.layoutSwitch != 0);
        }
        // The wide layout starts from the compact one's edits and checks the levels the user typed there; it has no
        // layout button, so it never leads back.
        const DialogAnswer wide =
            dialogs.OpenTerrainSettingsWide(second, accepted, first.work, first.contourWork, mode, locatorIndex);
        if (wide == DialogAnswer::Confirmed) {
            acceptedBlock = &second;
            dialogs.ApplyTerrainContourEdits(first);
        }
        return LayoutClosed(wide, false);
    });
    if (answer == DialogAnswer::Cancelled) return answer;

    Assign(record, accepted);
    std::memcpy(record.changed, acceptedBlock->changed, sizeof record.changed);
    if (verticalOffset != nullptr && acceptedBlock == &second && second.verticalOffsetChanged != 0)
        *verticalOffset = second.verticalOffset;
    if (mode <= TerrainMode_New) {
        store.contour = contour;
        if (mode == TerrainMode_New && context != nullptr) context->settings = contour;
    } else if (context != nullptr) {
        context->settings = contour;
        store.contour = contour;
    }
    if (context != nullptr && mode >= TerrainMode_New) context->gradient = first.option;
    return DialogAnswer::Confirmed;
}

void BuildTerrainWithoutSelection(Settings& store, TerrainDialogs& dialogs, TerrainRecord& record) {
    Assign(record, store.terrain);
    if (RunTerrainSettings(store, dialogs, record, TerrainMode_Defaults, -1, nullptr, nullptr) ==
        DialogAnswer::Confirmed)
        Assign(store.terrain, record);
}

bool FillFromTerrainMesh(TerrainRecord& record, const QV_List<API_Element>& meshes) {
    if (meshes.GetCount() == 0) return false;
    API_Element mesh = meshes[0];
    if (ACAPI_Element_Get(&mesh) != NoError) mesh = meshes[0];
    OwnedMemo memo;
    // The name the edit writes into every mesh comes from here: unread, it would blank them all.
    if (memo.Read(mesh.header.guid, APIMemoMask_ElemInfoString) != NoError) return false;
    MeshToTerrainSettings(mesh.mesh, memo.Get(), record);
    memo.Dispose();
    return true;
}

int32_t ApplyTerrainChanges(TerrainRecord& record, const QV_List<API_Element>& meshes) {
    bool any = false;
    for (uint8_t flag : record.changed) any = any || flag != 0;
    if (!any) return 1;
    if (ACAPI_Element_DeselectAll() != NoError) return 0;
    API_Element mask;
    TerrainChangeMask(record.changed, mask);
    // A failed mesh takes back those changed before it; the failure is told.
    const bool ok = RunWholeCommand([&] {
        for (int32_t i = 0; i < meshes.GetCount(); ++i) {
            API_Element mesh = meshes[i];
            TerrainSettingsToMesh(record, mesh.mesh);
            OwnedMemo memo;
            // The ID text goes to every mesh, changed or not: one name for all. A mesh whose memo cannot be read
            // would keep its old name unseen, so it fails as a mesh the host would not change.
            if (memo.Read(mesh.header.guid, APIMemoMask_ElemInfoString) != NoError) return false;
            TerrainNameToMemo(record, *memo);
            if (ChangeElement(&mesh, memo.Get(), &mask) != NoError) return false;
        }
        return true;
    });
    ACAPI_Automate(APIDo_RebuildID);
    return ok ? 1 : 0;
}

int32_t ModifyTerrainMesh(Settings& store, TerrainDialogs& dialogs, TerrainContourSteps& contours,
                          TerrainRecord& record, const QV_List<API_Element>& meshes) {
    if (meshes.GetCount() == 0) return 0;
    if (!FillFromTerrainMesh(record, meshes)) return ErrFindingData;
    const bool was3D = IsCurrentWindow3D();
    if (was3D && SwitchTo(APIWind_FloorPlanID) != NoError) return 0;
    // The terrains stay selected when the host will not clear them: the edit is not begun.
    if (ACAPI_Element_DeselectAll() != NoError) {
        if (was3D) SwitchTo(APIWind_3DModelID);
        return ErrSelectedElement;
    }
    TerrainContourContext context;
    context.settings = store.contour;  // a terrain without contour lines shows the defaults
    // The height range seeds the band levels; the contour step may know better.
    MeshHeightRange(meshes[0], context.lowest, context.highest);
    int32_t code = contours.ReadForTerrainUpdate(meshes[0], context);
    if (code != 0) return code;

    const int16_t mode = context.linked ? TerrainMode_EditWithContours : TerrainMode_Edit;
    if (RunTerrainSettings(store, dialogs, record, mode, -1, nullptr, &context, meshes.GetCount()) ==
        DialogAnswer::Cancelled) {
        RebuildCurrentWindow(was3D, true, 0);
        return 0;
    }
    // The meshes and their contour-line objects change together: a contour step that fails takes the meshes' edit
    // back with it, so that no terrain is left changed without the lines the user asked for.
    const bool ran = RunWholeCommand([&] {
        if (ApplyTerrainChanges(record, meshes) == 0) {
            code = ErrModifying;
        } else {
            code = contours.CreateGradientObject(meshes[0], context);
            if (code == 0) code = contours.UpdateAfterTerrainChange(meshes[0], context);
        }
        return code == 0;
    });
    // A command the host would not run changed nothing: the user must hear of it.
    if (!ran && code == 0) code = ErrModifying;
    if (code == 0) {
        RebuildCurrentWindow(was3D, true, 0);
        return 0;
    }
    if (was3D) SwitchTo(APIWind_3DModelID);
    return code;
}
