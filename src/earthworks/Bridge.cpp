#include "earthworks/Bridge.hpp"

#include "earthworks/EarthworkDialogs.hpp"
#include "earthworks/EarthworkSelection.hpp"
#include "earthworks/TerrainCutObject.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "earthworks/PathSegments.hpp"
#include "elements/WrittenMemo.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "foundation/ErrorCode.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/LevelOnStory.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/NewLibPartObject.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "geometry/project/ElementPolygonRead.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"
#include "terrain/ContourLineCls.hpp"

#include "GSArray.hpp"

#include <cmath>
#include <cstring>

int32_t BridgeLibIndex = -1;

namespace {

constexpr int16_t LayerId = BridgeSettings::Id::layer;
constexpr int16_t NameId = BridgeSettings::Id::name;

void Rotate(double& x, double& y, double angle) {
    const double c = std::cos(angle), s = std::sin(angle);
    const double rx = x * c - y * s;
    y = x * s + y * c;
    x = rx;
}

bool SampleHeights(const API_Element& terrain, QV_List<QV_Coord3DLong>& points) {
    MeshBody body;
    double zMin = 0.0, zMax = 0.0;
    return SampleMeshHeights(body, terrain, points, zMin, zMax);
}

}  // namespace

void PathToWorld(const API_ObjectType& object, QV_List<QV_Coord3DLong>& path) {
    for (QV_Coord3DLong& p : path) {
        if (object.reflected != 0) p.x = -p.x;
        if (object.angle != 0.0) Rotate(p.x, p.y, object.angle);
        p.x += object.pos.x;
        p.y += object.pos.y;
    }
}

void PathToObject(const API_ObjectType& object, QV_List<QV_Coord3DLong>& path) {
    for (QV_Coord3DLong& p : path) {
        p.x -= object.pos.x;
        p.y -= object.pos.y;
        if (object.angle != 0.0) Rotate(p.x, p.y, -object.angle);
        if (object.reflected != 0) p.x = -p.x;
    }
}

BridgeCls::BridgeCls() : pathHead{} {
    settings.SetDefaults();
    std::memset(changed, 0, sizeof changed);
}

DialogAnswer BridgeCls::RunSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode, bool editing) {
    uint8_t flags[BridgeFieldCount] = {};
    BridgeSettings edited = settings;
    if (dialogs.OpenBridgeSettings(edited, flags, editing, mode) == DialogAnswer::Cancelled)
        return DialogAnswer::Cancelled;
    settings = edited;
    std::memcpy(changed, flags, sizeof changed);
    return DialogAnswer::Confirmed;
}

int32_t BridgeCls::EditDefaults(Settings& store, EarthworkDialogs& dialogs) {
    settings = store.bridge;
    if (RunSettingsDialog(dialogs, SettingsMode::ToolDefaults, false) == DialogAnswer::Confirmed)
        store.bridge = settings;
    return 0;
}

bool BridgeCls::PlaceObject() {
    if (BridgeLibIndex <= 0 || path.GetCount() < 2) return false;
    API_Element placed;
    API_ElementMemo memo;
    if (!NewLibPartObject(BridgeLibIndex, placed, memo)) return false;

    placed.header.layer = settings.layer;
    placed.header.floorInd = element.header.floorInd;
    placed.object.libInd = BridgeLibIndex;
    placed.object.xRatio = 1.0;
    placed.object.yRatio = 1.0;
    placed.object.pos = {path[0].x, path[0].y};
    placed.object.level = element.mesh.level;
    QV_String name = settings.name;
    SetMemoInfoString(memo, name);
    QV_List<QV_Coord3DLong> relative(path);
    PathToObject(placed.object, relative);

    BridgeLP view(ElemKind_Bridge);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    int32_t terrainFlag = element.header.guid == APINULLGuid ? -1 : 0;
    double skirt = element.mesh.skirtLevel;
    const bool written = BaseIDLP::ExchangePerimetroBase(view, relative, LPMode_Set) &&
        view.GetSetInt(BaseIDParam::IDTerrain, terrainFlag, LPMode_Set) &&
        SetLPLevelOnStory(view, placed.object.level, placed.header.floorInd, LPMode_Set) &&
        view.GetSetDouble(BaseIDParam::Skirt, skirt, LPMode_Set) && SerializeSettings(view, settings, 1);
    if (!EndMemoWriting(memo, view, written)) return false;
    return PlaceTerrainCutObject(placed, memo, ElemKind_Bridge, element, descriptor.TerrainId, object);
}

int32_t BridgeCls::Create(Settings& store, EarthworkDialogs& dialogs, const API_Element& polyline,
                          const API_Element& terrain) {
    if (!FindLibPartOrAsk(QV_String("VY_BRIDGE"), BridgeLibIndex, true, QV_String(), APILib_ObjectID)) return 0;
    pathHead = polyline.header;
    pickHead = polyline.header;
    if (!ReadElement(terrain, true) ||
        !ReadElementPolygon(polyline.header.guid, points3D, points2D, polyPrims, closedRing) || points3D.GetCount() < 2)
        return ErrModifying;
    path = points3D;
    const QV_Coord3DLong& first = path[0];
    const QV_Coord3DLong& last = path[path.GetCount() - 1];
    if (std::fabs(first.x - last.x) < 1e-7 && std::fabs(first.y - last.y) < 1e-7) return ErrMustBeOpen;

    settings = store.bridge;
    if (RunSettingsDialog(dialogs, SettingsMode::NewElement, false) == DialogAnswer::Cancelled) return 0;
    store.bridge = settings;
    const bool placed = RunWholeCommand([&] { return SampleHeights(element, path) && PlaceObject(); });
    return placed ? 0 : ErrModifying;
}

bool BridgeCls::ApplyToSelected(QV_List<API_Element>& bridges) {
    // Every field the dialog flags counts, the railway ones too.
    if (!AnyFieldChanged(changed)) return true;
    API_Element mask = EmptyChangeMask();
    MarkWhen(mask.header.layer, changed[LayerId] != 0);
    for (API_Element& bridge : bridges) {
        bridge.header.layer = settings.layer;
        const auto copy = [&](BridgeSettings& own) {
            for (int16_t id = 0; id < BridgeFieldCount; ++id) {
                if (changed[id] == 0 || id == LayerId || id == NameId || id == BridgeSettings::Id::side) continue;
                own.CopyField(settings, id);
            }
        };
        const bool ok = RewriteObjectSettings<BridgeLP, BridgeSettings>(
            bridge, ElemKind_Bridge, changed[NameId] != 0 ? &settings.name : nullptr, copy, -1, mask);
        if (!ok) return false;
    }
    return true;
}

int32_t BridgeCls::Modify(EarthworkDialogs& dialogs, const QV_List<API_Element>& bridges) {
    QV_List<API_Element> list = bridges;
    const auto read = [&] {
        if (bridges.GetCount() == 0) return false;
        const API_Element& first = bridges[0];
        const bool ok = ReadObjectSettings<BridgeLP>(first, ElemKind_Bridge, settings);
        settings.layer = int16_t(first.header.layer);
        return ok;
    };
    return ModifyEarthworkSelection(
        read, [&] { return RunSettingsDialog(dialogs, SettingsMode::Editing(bridges.GetCount()), true); },
        [&] { return ApplyToSelected(list); });
}

bool BridgeCls::Update(const API_Element& bridge) {
    BridgeLP view(ElemKind_Bridge);
    API_Guid terrainGuid = APINULLGuid;
    if (!BaseLP::AttachToElement(view, ElemKind_Bridge, bridge, terrainGuid, true) || terrainGuid == APINULLGuid)
        return false;
    API_Element terrain = {};
    terrain.header.guid = terrainGuid;
    if (ACAPI_Element_Get(&terrain) != NoError || !ReadElement(terrain, true)) return false;
    object = bridge;

    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    if (ACAPI_Element_GetMemo(bridge.header.guid, &memo, AttachMemoMask) != NoError || memo.params == nullptr) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return false;
    }
    path.Clear();
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    bool ok = BaseIDLP::ExchangePerimetroBase(view, path, LPMode_Get) && path.GetCount() >= 2;
    for (const QV_Coord3DLong& p : path) ok = ok && std::isfinite(p.x) && std::isfinite(p.y);
    if (ok) {
        PathToWorld(bridge.object, path);
        PolylineToSegments(path, pathSegments);
    }
    // Runs inside the caller's undoable command. The link to the terrain is never taken away: a failure anywhere
    // leaves the bridge cut as it was.
    ok = ok && SampleHeights(element, path);
    if (ok) {
        QV_List<QV_Coord3DLong> relative(path);
        PathToObject(bridge.object, relative);
        ok = BaseIDLP::ExchangePerimetroBase(view, relative, LPMode_Set) &&
            SetLPLevelOnStory(view, element.mesh.level, bridge.header.floorInd, LPMode_Set);
    }
    if (ok) {
        memo.params = reinterpret_cast<API_AddParType**>(view.params);
        API_Element changedBridge = bridge;
        ok = ChangeElementMemo(&changedBridge, &memo) == NoError && LinkElementGuids(element, bridge);
    }
    memo.params = reinterpret_cast<API_AddParType**>(view.params);
    view.Detach();
    ACAPI_DisposeElemMemoHdls(&memo);
    return ok;
}
