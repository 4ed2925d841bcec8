#include "siteobjects/Building.hpp"

#include "elements/ChangeMask.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LevelOnStory.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/NewLibPartObject.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/SolidLinkRemoval.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/TerrainProbe.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Encoding.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"
#include "siteobjects/PlacedObject.hpp"
#include "siteobjects/PlacedOutlineObject.hpp"
#include "elements/WholeCommand.hpp"
#include "siteobjects/SiteObjectDialogs.hpp"
#include "siteobjects/PlacedSettingsChange.hpp"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace {
constexpr double TopMargin = 0.001;
constexpr double NegativeLimit = -1e-7;
constexpr int16_t LayerField = BuildingSettings::Id::layer;
constexpr int16_t NameField = BuildingSettings::Id::name;

bool FindPart(int32_t& index) {
    return FindLibPartOrAsk(QV_String("VY_BUILDING"), index, true, QV_String(), APILib_ObjectID);
}

// The outer ring: up to and including the first vertex coded -1 (the whole outline when none is).
int32_t OuterRingCount(const QV_List<QV_Coord3DLong>& outline) {
    for (int32_t i = 0; i < outline.GetCount(); ++i)
        if (outline[i].code == -1) return i + 1;
    return outline.GetCount();
}
}  // namespace

double BuildingTopLevel(double height, double lowest, double highest) {
    const double top = height + lowest + TopMargin;
    return highest + TopMargin >= top ? highest + TopMargin : top;
}

BuildingCls::BuildingCls() {
    settings.SetDefaults();
    std::memset(changed, 0, sizeof changed);
}

bool BuildingCls::SampleTerrainHeights(int32_t mode) {
    MeshBody body;
    double zMin = 0.0, zMax = 0.0;
    if (mode != 1) return ProbeTerrainHeights(body, element, points3D, zMin, zMax);
    const int32_t n = OuterRingCount(points3D);
    QV_List<QV_Coord3DLong> ring;
    for (int32_t i = 0; i < n; ++i)
        if (!ring.Insert(points3D[i])) return false;
    if (!ProbeTerrainHeights(body, element, ring, zMin, zMax)) return false;
    for (int32_t i = 0; i < n; ++i) points3D[i].z = ring[i].z;
    return true;
}

bool BuildingCls::ComputeLevelRange() {
    const int32_t n = OuterRingCount(points3D);
    lowestLevel = DBL_MAX;
    highestLevel = -DBL_MAX;
    for (int32_t i = 0; i < n; ++i) {
        lowestLevel = std::fmin(lowestLevel, points3D[i].z);
        highestLevel = std::fmax(highestLevel, points3D[i].z);
    }
    levelDifference = highestLevel - lowestLevel;
    // No vertex leaves the range at the unset bounds: no height can be measured from them.
    return n > 0;
}

DialogAnswer BuildingCls::RunSettingsDialog(SiteObjectDialogs& dialogs, SettingsMode mode, const double* lowest,
                                            const double* difference, bool defaultMode, bool editing, bool several,
                                            bool unlinkedObject) {
    BuildingDialogState state;
    state.record = settings;
    std::memset(state.changed, 0, sizeof state.changed);
    state.baseLevel = lowest != nullptr ? *lowest : 0.0;
    state.minHeight = difference != nullptr ? *difference : 0.0;
    state.defaultMode = defaultMode ? 1 : 0;
    state.editing = editing ? 1 : 0;
    state.several = several ? 1 : 0;
    state.unlinked = unlinkedObject ? 1 : 0;
    if (dialogs.OpenBuildingSettings(state, mode) == DialogAnswer::Cancelled) return DialogAnswer::Cancelled;
    settings = state.record;
    std::memcpy(changed, state.changed, sizeof changed);
    return DialogAnswer::Confirmed;
}

bool BuildingCls::PlaceObject() {
    return PlaceOutlineObject<BuildingLP>(libPartIndex, ElemKind_Building, settings, element, points3D, true, object);
}

// One fill is a selection of one: the part, the heights, the dialog and the object as for the first of several.
int32_t BuildingCls::Create(Settings& store, SiteObjectDialogs& dialogs, const API_Element& fill,
                            const API_Element& terrain) {
    QV_List<API_Element> fills;
    if (!fills.Insert(fill)) return ErrMemory;
    return CreateFromSelection(store, dialogs, fills, terrain);
}

int32_t BuildingCls::CreateFromSelection(Settings& store, SiteObjectDialogs& dialogs, const QV_List<API_Element>& fills,
                                         const API_Element& terrain) {
    if (fills.IsEmpty()) return EditSettings(store, dialogs);
    if (!FindPart(libPartIndex)) return 0;
    pickHead = fills[0].header;
    if (!ReadElement(terrain, true) ||
        !BuildPrimitives(PrimitiveOptions().FillPrims().AllRings().CloseCodes().MarkRingEnds()))
        return ErrModifying;
    // The heights are probed by slabs made and deleted in the command: a cancel takes them back with no step.
    const bool ok = RunCommand(ExternalCommandUndoText(), [&]() -> CommandEnd {
        if (!SampleTerrainHeights(1) || !ComputeLevelRange()) return CommandEnd::Failed;
        settings = store.building;
        if (RunSettingsDialog(dialogs, SettingsMode::NewElement, &lowestLevel, &levelDifference, false, false, false,
                              false) == DialogAnswer::Cancelled)
            return CommandEnd::Cancelled;
        store.building = settings;
        if (!PlaceObject()) return CommandEnd::Failed;
        const double height = settings.height;
        for (int32_t i = 1; i < fills.GetCount(); ++i) {
            pickHead = fills[i].header;
            if (!ReadElement(terrain, true) ||
                !BuildPrimitives(PrimitiveOptions().FillPrims().AllRings().CloseCodes().MarkRingEnds()) ||
                !SampleTerrainHeights(1) || !ComputeLevelRange())
                return CommandEnd::Failed;
            settings.height = height;
            settings.topLevel = lowestLevel + height + TopMargin;
            if (!PlaceObject()) return CommandEnd::Failed;
        }
        return CommandEnd::Done;
    });
    return ok ? 0 : ErrModifying;
}

int32_t BuildingCls::EditSettings(Settings& store, SiteObjectDialogs& dialogs) {
    settings = store.building;
    if (RunSettingsDialog(dialogs, SettingsMode::ToolDefaults, nullptr, nullptr, true, false, false, false) ==
        DialogAnswer::Confirmed)
        store.building = settings;
    return 0;
}

bool BuildingCls::ReadObject(const QV_List<API_Element>& buildings) {
    if (buildings.IsEmpty()) return false;
    const API_Element& first = buildings[0];
    BuildingLP probe(ElemKind_Building);
    API_Guid terrainGuid = APINULLGuid;
    if (!BaseLP::AttachToElement(probe, ElemKind_Building, first, terrainGuid, true)) return false;
    points3D.Clear();
    PlacedParams placed(first);
    if (!placed.Read()) return false;
    BuildingLP view(ElemKind_Building);
    placed.AttachView(view);
    bool ok = SerializeSettings(view, settings, 0);
    if (terrainGuid != APINULLGuid && buildings.GetCount() < 2) {
        ok = ok && BaseIDLP::ExchangePerimetroBase(view, points3D, LPMode_Get);
        placed.DetachView(view);
        API_Element terrain;
        ok = ok && ReadTerrainByGuid(terrainGuid, terrain) && ReadElement(terrain, true);
        if (!ok) return false;
        TransformCoordsByPlacement(first, points3D, true);
        if (!SampleTerrainHeights(1) || !ComputeLevelRange()) return false;
        unlinked = 0;
    } else {
        placed.DetachView(view);
        if (!ok) return false;
        lowestLevel = highestLevel = levelDifference = 0.0;
        unlinked = 1;
    }
    settings.layer = int16_t(first.header.layer);
    settings.name = QV_String("");
    nameRead = ReadElementInfoString(first.header.guid, settings.name);
    return true;
}

bool BuildingCls::ApplyToObjects(QV_List<API_Element>& buildings) {
    if (!AnyFieldChanged(changed)) return true;
    API_Element mask = EmptyChangeMask();
    MarkWhen(mask.header.layer, changed[LayerField] != 0);
    const QV_String* name = EditedName(settings.name, nameRead, changed[NameField] != 0);
    for (int32_t i = 0; i < buildings.GetCount(); ++i) {
        API_Element& building = buildings[i];
        building.header.layer = settings.layer;
        BuildingLP view(ElemKind_Building);
        const auto edit = [&](BuildingLP&, BuildingSettings& own) {
            for (int16_t id = 0; id < BuildingFieldCount; ++id) {
                if (changed[id] == 0 || id == LayerField || id == NameField) continue;
                own.CopyField(settings, id);
            }
            return true;
        };
        if (!ChangePlacedSettings<BuildingSettings>(building, mask, view, name, edit)) return false;
    }
    return true;
}

int32_t BuildingCls::Modify(SiteObjectDialogs& dialogs, const QV_List<API_Element>& buildings) {
    const bool was3D = IsCurrentWindow3D();
    // The buildings stay selected when the host will not clear them: the edit is not begun.
    if (ACAPI_Element_DeselectAll() != NoError) return ErrSelectedElement;
    if (was3D && MakeWindowDatabaseCurrent(APIWind_FloorPlanID) != NoError) return ErrDatabase;
    QV_List<API_Element> list = buildings;
    const bool ok = RunWholeCommand([&] {
        if (!ReadObject(list)) return false;
        if (was3D) {
            MakeWindowDatabaseCurrent(APIWind_3DModelID);
            ACAPI_Automate(APIDo_RebuildID, nullptr, nullptr);
        }
        if (RunSettingsDialog(dialogs, SettingsMode::Editing(buildings.GetCount()), &lowestLevel, &levelDifference,
                              false, true, list.GetCount() >= 2, unlinked != 0) == DialogAnswer::Cancelled)
            return true;
        if (was3D && MakeWindowDatabaseCurrent(APIWind_FloorPlanID) != NoError) return false;
        return ApplyToObjects(list);
    });
    if (was3D) {
        MakeWindowDatabaseCurrent(APIWind_3DModelID);
        ACAPI_Automate(APIDo_RebuildID, nullptr, nullptr);
    }
    return ok ? 0 : ErrModifying;
}

bool BuildingCls::RebuildObject(const API_Element& building) {
    BuildingLP probe(ElemKind_Building);
    API_Guid terrainGuid = APINULLGuid;
    API_Element terrain;
    if (!BaseLP::AttachToElement(probe, ElemKind_Building, building, terrainGuid, true) ||
        !ReadTerrainByGuid(terrainGuid, terrain) || !ReadElement(terrain, true))
        return false;
    if (!UnlinkFromTerrain(building, element)) return false;
    // From here on a failure must not leave the building standing unlinked.
    const auto fail = [&] {
        LinkElementGuids(element, building);
        return false;
    };
    PlacedParams placed(building);
    if (!placed.Read()) return fail();
    BuildingLP view(ElemKind_Building);
    placed.AttachView(view);
    points3D.Clear();
    bool ok = BaseIDLP::ExchangePerimetroBase(view, points3D, LPMode_Get) && SerializeSettings(view, settings, 0);
    placed.DetachView(view);
    if (!ok || points3D.IsEmpty()) return fail();
    TransformCoordsByPlacement(building, points3D, true);
    if (!SampleTerrainHeights(1) || !ComputeLevelRange()) return fail();
    double top = BuildingTopLevel(settings.height, lowestLevel, highestLevel);
    settings.topLevel = top;
    TransformCoordsByPlacement(building, points3D, false);
    double zzyzx = top > NegativeLimit ? top : 0.0;
    double negative = top > NegativeLimit ? 0.0 : top;
    placed.AttachView(view);
    ok = BaseIDLP::ExchangePerimetroBase(view, points3D, LPMode_Set) &&
        SetLPLevelOnStory(view, element.mesh.level, building.header.floorInd, LPMode_Set) &&
        view.GetSetDouble(BaseParam::Zzyzx, zzyzx, LPMode_Set) &&
        view.GetSetDouble(BuildingParam::NegativeLevel, negative, LPMode_Set);
    placed.DetachView(view);
    API_Element changedElement = building;
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    if (!ok || !placed.Change(changedElement, &mask)) return fail();
    return LinkElementGuids(element, building);
}

int32_t BuildingCls::Rebuild(const API_Element& building) {
    points3D.Clear();
    const bool was3D = IsCurrentWindow3D();
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    // A building that cannot stand again is taken back whole, linked to its terrain as it was.
    const bool ok = RunWholeCommand([&] { return RebuildObject(building); });
    if (was3D) Ensure3DWindow(false);
    return ok ? 0 : ErrModifying;
}

int32_t BuildingCls::RefreshObjects(const QV_List<API_Elem_Head>& heads) {
    return RemoveLinksOfKind(heads, ElemKind_Building) ? 1 : 0;
}

int32_t BuildingCls::OnElementEvent(int32_t mode, const QV_List<API_Elem_Head>& heads) {
    if (mode == 1 && ElementWritten != 0) return 1;
    if (mode == 1 || mode == 2) return RefreshObjects(heads);
    return 1;
}
