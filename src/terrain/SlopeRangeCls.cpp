#include "terrain/SlopeRangeCls.hpp"

#include "elements/WrittenMemo.hpp"
#include "elements/ChangeMask.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "foundation/OwnedMemo.hpp"
#include "geometry/PolygonInclination.hpp"
#include "geometry/project/ElementModelRead.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"
#include "terrain/TerrainDialogs.hpp"
#include "terrain/ContourLineCls.hpp"

#include <cmath>
#include <cstring>

namespace {

bool SamePoint(const API_Coord3D& a, const API_Coord3D& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
}  // namespace

bool ReadSlopePolygons(const API_Element& terrain, MeshBody& body) {
    if (ReadModelPolygons(body, terrain) == 0) return false;
    // The ring repeats its first vertex when its edges close; the object takes each vertex once (3 for a
    // triangle).
    for (int32_t i = 0; i < body.polygons.GetCount(); ++i) {
        QV_List<API_Coord3D>& ring = body.polygons[i].points;
        const int32_t n = ring.GetCount();
        if (n > 1 && SamePoint(ring[0], ring[n - 1])) ring.Remove(n - 1);
        body.polygonSizes[i] = ring.GetCount();
    }
    ComputeTriangleNormalAngles(body);
    return true;
}

SlopeRangeCls::SlopeRangeCls() { std::memset(changed, 0, sizeof changed); }

DialogAnswer SlopeRangeCls::RunDialog(TerrainDialogs& dialogs, SettingsMode mode) {
    std::memset(changed, 0, sizeof changed);
    return dialogs.OpenSlopeAnalysis(settings, changed, mode);
}

int32_t SlopeRangeCls::Create(Settings& store, TerrainDialogs& dialogs, const QV_List<API_Element>& terrains) {
    ACAPI_Element_DeselectAll();
    if (!EnsureFloorPlanWindow(true)) return ErrDatabase;
    int32_t index = -1;
    if (!FindLibPartOrAsk(QV_String("VY_SLOPE_RANGE"), index, true, QV_String(), APILib_ObjectID)) return 0;
    libPartIndex = index;
    settings = store.slopeRange;
    if (RunDialog(dialogs, SettingsMode::NewElement) == DialogAnswer::Cancelled) return 0;
    store.slopeRange = settings;
    // A failed object takes back those placed before it; the failure is told.
    const bool ok = RunWholeCommand([&] {
        for (const API_Element& terrain : terrains)
            if (!CreateObject(terrain)) return false;
        return true;
    });
    return ok ? 0 : ErrModifying;
}

bool SlopeRangeCls::CreateObject(const API_Element& terrain) {
    API_Element placed = {};
    placed.header.typeID = API_ObjectID;
    if (ACAPI_Element_GetDefaults(&placed, nullptr) != NoError) return false;
    GSHandle params = nullptr;
    if (libPartIndex <= 0 || !BaseLP::GetLibPartParams(libPartIndex, &params, nullptr, nullptr, nullptr)) return false;
    OwnedMemo memo;
    memo->params = reinterpret_cast<API_AddParType**>(params);
    placed.header.layer = settings.layer;
    placed.header.floorInd = terrain.header.floorInd;
    placed.object.libInd = libPartIndex;
    placed.object.pos = {0.0, 0.0};

    MeshBody body;
    SlopeRangeLP view;
    view.Attach(params, true);
    bool ok = ReadSlopePolygons(terrain, body) && SerializeSettings(view, settings, 1) &&
        SlopeRangeLP::ExchangeMask(view, body.polygons) && SlopeRangeLP::WriteIndices(view, body.polygonSizes) &&
        SlopeRangeLP::WriteSlopes(view, body.angles);
    view.Detach();
    if (!ok || !CreateFlaggedObject(placed, *memo)) return false;
    if (HostCallWithElementGuid(placed) != NoError) return false;
    ElemDescriptor record;
    return ElemUserData_WriteRecord(record, ElemKind_SlopeRange, placed.header);
}

int32_t SlopeRangeCls::Modify(Settings& store, TerrainDialogs& dialogs, QV_List<API_Element>& objects) {
    const bool from3D = IsCurrentWindow3D();
    if (from3D && MakeWindowDatabaseCurrent(APIWind_FloorPlanID) != NoError) return 0;
    store.editedCount = objects.GetCount();
    int32_t result = 0;
    const bool ok = RunWholeCommand([&] {
        settings.Reset();
        if (objects.GetCount() > 0) {
            OwnedMemo memo;
            SlopeRangeLP view;
            bool read = memo.Read(objects[0].header.guid, AttachMemoMask) == NoError;
            if (read) {
                view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
                read = SerializeSettings(view, settings, 0);
                view.Detach();
            }
            memo.Dispose();
            if (!read) {
                result = ErrModifying;
                return false;
            }
            settings.layer = uint16_t(objects[0].header.layer);
        }
        if (RunDialog(dialogs, SettingsMode::Editing(objects.GetCount())) == DialogAnswer::Cancelled) return true;
        // A failed object takes back those changed before it.
        if (UpdateSelectedObjects(objects)) return true;
        result = ErrModifying;
        return false;
    });
    // A command the host did not run asked nothing and changed nothing: that is told too.
    if (!ok && result == 0) result = ErrModifying;
    if (from3D) MakeWindowDatabaseCurrent(APIWind_3DModelID);
    ACAPI_Automate(APIDo_RebuildID);
    return result;
}

bool SlopeRangeCls::UpdateSelectedObjects(QV_List<API_Element>& objects) {
    if (!AnyFieldChanged(changed)) return true;
    ACAPI_Element_DeselectAll();
    API_Element mask = EmptyChangeMask();
    MarkWhen(mask.header.layer, changed[SlopeRangeSettings::Id::layer] != 0);
    for (API_Element& object : objects) {
        object.header.layer = settings.layer;
        OwnedMemo memo;
        if (memo.Read(object.header.guid, AttachMemoMask) != NoError) return false;
        SlopeRangeLP view;
        view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
        SlopeRangeSettings own;
        bool ok = SerializeSettings(view, own, 0);
        if (ok) {
            SlopeRangeSettings::MergeChanged(changed, own, settings);
            ok = SerializeSettings(view, own, 1);
        }
        view.Detach();
        ok = ok && ACAPI_Element_Change(&object, &mask, memo.Get(), APIMemoMask_AddPars) == NoError;
        memo.Dispose();
        if (!ok) return false;
    }
    return true;
}

int32_t SlopeRangeCls::EditSettings(Settings& store, TerrainDialogs& dialogs) {
    settings = store.slopeRange;
    if (RunDialog(dialogs, SettingsMode::ToolDefaults) == DialogAnswer::Confirmed) store.slopeRange = settings;
    return 0;
}
