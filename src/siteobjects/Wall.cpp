#include "siteobjects/Wall.hpp"

#include "earthworks/PathSegments.hpp"
#include "elements/ChangeMask.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LevelOnStory.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/NewLibPartObject.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/TerrainProbe.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "geometry/project/ElementPolygonRead.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"
#include "siteobjects/PlacedObject.hpp"
#include "siteobjects/PlacedOutlineObject.hpp"
#include "siteobjects/PlacedSettingsChange.hpp"
#include "elements/WholeCommand.hpp"
#include "siteobjects/SiteObjectDialogs.hpp"

#include <cstring>

namespace {
constexpr int16_t LayerField = WallSettings::Id::layer;
constexpr int16_t NameField = WallSettings::Id::name;

bool FindPart(int32_t& index) {
    return FindLibPartOrAsk(QV_String("VY_WALL"), index, true, QV_String(), APILib_ObjectID);
}

// The fields of `source` whose flag is set (the layer and the name are the element's, not parameters).
void CopyChangedFields(const uint8_t changed[WallFieldCount], WallSettings& target, const WallSettings& source) {
    for (int16_t id = 0; id < WallFieldCount; ++id) {
        if (changed[id] == 0 || id == LayerField || id == NameField) continue;
        target.CopyField(source, id);
    }
}
}  // namespace

WallCls::WallCls() {
    settings.SetDefaults();
    std::memset(changed, 0, sizeof changed);
}

DialogAnswer WallCls::RunSettingsDialog(SiteObjectDialogs& dialogs, SettingsMode mode) {
    WallDialogState state;
    state.record = settings;
    std::memset(state.changed, 0, sizeof state.changed);
    if (dialogs.OpenWallSettings(state, mode) == DialogAnswer::Cancelled) return DialogAnswer::Cancelled;
    settings = state.record;
    std::memcpy(changed, state.changed, sizeof changed);
    return DialogAnswer::Confirmed;
}

bool WallCls::CreateElementBodyFromMesh() {
    MeshBody body;
    return ProbeTerrainHeights(body, element, points3D, lowestLevel, highestLevel);
}

bool WallCls::PlaceObject() {
    // The base line keeps its heights: only x and y become relative to its first vertex.
    return PlaceOutlineObject<WallLP>(libPartIndex, ElemKind_Wall, settings, element, points3D, false, object);
}

int32_t WallCls::Place(Settings& store, SiteObjectDialogs& dialogs, const API_Element& polyline,
                       const API_Element& terrain) {
    if (!FindPart(libPartIndex)) return 0;
    pickHead = polyline.header;
    if (!ReadElement(terrain, true) ||
        !ReadElementPolygon(polyline.header.guid, points3D, points2D, polyPrims, closedRing))
        return ErrModifying;
    if (closedRing != 0) return ErrMustBeOpen;
    if (points3D.GetCount() < 2) return ErrModifying;
    settings = store.wall;
    if (RunSettingsDialog(dialogs, SettingsMode::NewElement) == DialogAnswer::Cancelled) return 0;
    store.wall = settings;
    return RunWholeCommand([&] { return CreateElementBodyFromMesh() && PlaceObject(); }) ? 0 : ErrModifying;
}

int32_t WallCls::EditSettings(Settings& store, SiteObjectDialogs& dialogs) {
    settings = store.wall;
    if (RunSettingsDialog(dialogs, SettingsMode::ToolDefaults) == DialogAnswer::Confirmed) store.wall = settings;
    return 0;
}

bool WallCls::ReadObject(const QV_List<API_Element>& walls) {
    settings.Reset();
    if (walls.IsEmpty()) return false;
    const API_Element& first = walls[0];
    PlacedParams placed(first);
    if (!placed.Read()) return false;
    WallLP view(ElemKind_Wall);
    placed.AttachView(view);
    const bool ok = SerializeSettings(view, settings, 0);
    placed.DetachView(view);
    if (!ok) return false;
    settings.layer = int16_t(first.header.layer);
    settings.name = QV_String("");
    nameRead = ReadElementInfoString(first.header.guid, settings.name);
    return true;
}

bool WallCls::ApplyToObjects(QV_List<API_Element>& walls) {
    if (!AnyFieldChanged(changed)) return true;
    ACAPI_Element_DeselectAll();
    API_Element mask = EmptyChangeMask();
    MarkWhen(mask.header.layer, changed[LayerField] != 0);
    const QV_String* name = EditedName(settings.name, nameRead, changed[NameField] != 0);
    for (int32_t i = 0; i < walls.GetCount(); ++i) {
        API_Element& wall = walls[i];
        wall.header.layer = settings.layer;
        WallLP view(ElemKind_Wall);
        const auto edit = [&](WallLP&, WallSettings& own) {
            CopyChangedFields(changed, own, settings);
            return true;
        };
        if (!ChangePlacedSettings<WallSettings>(wall, mask, view, name, edit)) return false;
    }
    return true;
}

int32_t WallCls::ModifySelected(SiteObjectDialogs& dialogs, const QV_List<API_Element>& walls) {
    const bool was3D = IsCurrentWindow3D();
    ACAPI_Element_DeselectAll();
    if (was3D) {
        if (MakeWindowDatabaseCurrent(APIWind_FloorPlanID) != NoError) return ErrDatabase;
        ACAPI_Element_DeselectAll();
    }
    if (!ReadObject(walls)) {
        if (was3D) MakeWindowDatabaseCurrent(APIWind_3DModelID);
        return ErrModifying;
    }
    if (RunSettingsDialog(dialogs, SettingsMode::Editing(walls.GetCount())) == DialogAnswer::Cancelled) {
        RebuildCurrentWindow(was3D, true, 0);
        return 0;
    }
    QV_List<API_Element> list = walls;
    const bool ok = RunWholeCommand([&] { return ApplyToObjects(list); });
    if (was3D) MakeWindowDatabaseCurrent(APIWind_3DModelID);
    if (!ok) return ErrModifying;
    if (was3D) ACAPI_Automate(APIDo_RebuildID, nullptr, nullptr);
    return 0;
}

bool WallCls::RebuildObject(const API_Element& wall) {
    points3D.Clear();
    WallLP probe(ElemKind_Wall);
    API_Guid terrainGuid = APINULLGuid;
    API_Element terrain;
    if (!BaseLP::AttachToElement(probe, ElemKind_Wall, wall, terrainGuid, true) ||
        !ReadTerrainByGuid(terrainGuid, terrain) || !ReadElement(terrain, true))
        return false;
    if (!UnlinkFromTerrain(wall, element)) return false;
    // From here on a failure must not leave the wall standing unlinked.
    const auto fail = [&] {
        LinkElementGuids(element, wall);
        return false;
    };
    PlacedParams placed(wall);
    if (!placed.Read()) return fail();
    WallLP view(ElemKind_Wall);
    placed.AttachView(view);
    bool ok = BaseIDLP::ExchangePerimetroBase(view, points3D, LPMode_Get);
    placed.DetachView(view);
    if (!ok || points3D.IsEmpty()) return fail();
    TransformCoordsByPlacement(wall, points3D, true);
    PolylineToSegments(points3D, polyPrims);
    if (!CreateElementBodyFromMesh()) return fail();
    TransformCoordsByPlacement(wall, points3D, false);
    placed.AttachView(view);
    ok = BaseIDLP::ExchangePerimetroBase(view, points3D, LPMode_Set) &&
        SetLPLevelOnStory(view, element.mesh.level, wall.header.floorInd, LPMode_Set);
    placed.DetachView(view);
    API_Element changedElement = wall;
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    // A failed change is a failed rebuild, whatever the relink answers.
    if (!ok || !placed.Change(changedElement, &mask)) return fail();
    return LinkElementGuids(element, wall);
}

int32_t WallCls::RefreshObjects(const QV_List<API_Elem_Head>& heads) {
    return RemoveLinksOfKind(heads, ElemKind_Wall) ? 1 : 0;
}

int32_t WallCls::OnElementEvent(int32_t mode, const QV_List<API_Elem_Head>& heads) {
    if (mode == 1 && ElementWritten != 0) return 1;
    if (mode == 1 || mode == 2) return RefreshObjects(heads);
    return 1;
}
