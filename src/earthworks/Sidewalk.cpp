// The sidewalk commands: a sidewalk between two picked sides of a hatch, the defaults, placed sidewalks edited
// together and one sidewalk laid on its terrain again on the data update.
#include "earthworks/Sidewalk.hpp"

#include "earthworks/AlignmentGeometry.hpp"
#include "earthworks/EarthworkDialogs.hpp"
#include "earthworks/EarthworkRefusal.hpp"
#include "earthworks/EarthworkSelection.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "elements/LevelOnStory.hpp"
#include "elements/WrittenMemo.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/OutlinePrims.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/TerrainDraping.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/DialogLayouts.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"
#include "terrain/ContourLineCls.hpp"

#include <cstring>

namespace {
int32_t SidewalkLibIndex = -1;

void ChainToWorld(const API_Element& object, QV_List<QV_Coord3DLong>& chain, bool toWorld) {
    QV_List<API_Coord3D> points;
    for (int32_t i = 0; i < chain.GetCount(); ++i) points.Insert(API_Coord3D{chain[i].x, chain[i].y, 0.0});
    if (toWorld)
        ObjectLocalToWorld3D(object, points);
    else
        WorldToObjectLocal3D(object, points);
    for (int32_t i = 0; i < chain.GetCount(); ++i) chain[i].x = points[i].x, chain[i].y = points[i].y;
}

// The object's memo with a sidewalk view over its parameters, released together.
struct SidewalkMemo {
    explicit SidewalkMemo(const API_Guid& guid) : view(ElemKind_Sidewalk) {
        ok = ACAPI_Element_GetMemo(guid, &memo, AttachMemoMask) == NoError && memo.params != nullptr;
        if (ok) view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    }
    ~SidewalkMemo() {
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    void Sync() { memo.params = reinterpret_cast<API_AddParType**>(view.params); }
    API_ElementMemo memo = {};
    SideWalkLP view;
    bool ok = false;
};
}  // namespace

void CopyHeightsAcross(QV_List<QV_Coord3DLong>& first, QV_List<QV_Coord3DLong>& second, bool fromFirst) {
    const int32_t n = first.GetCount() < second.GetCount() ? first.GetCount() : second.GetCount();
    for (int32_t i = 0; i < n; ++i) {
        if (fromFirst)
            second[i].z = first[i].z;
        else
            first[i].z = second[i].z;
    }
}

SideWalkCls::SideWalkCls() : side(0) {
    settings.SetDefaults();
    std::memset(changed, 0, sizeof changed);
}

void SideWalkCls::CopyEdgeHeights() { CopyHeightsAcross(chainA, chainB, side != 0); }

DialogAnswer SideWalkCls::RunSidewalkSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode, int32_t option) {
    SidewalkDialogState state;
    state.record = settings;
    state.work = settings;
    state.width = 0.1;
    state.widthLocked = option == 1 ? 1 : 0;
    const DialogAnswer answer =
        RunStateLayouts(state, [&](int32_t layout) { return dialogs.OpenSidewalkSettings(state, layout, mode); });
    if (answer == DialogAnswer::Confirmed) {
        settings = state.record;
        std::memcpy(changed, state.changed, sizeof changed);
    }
    return answer;
}

int32_t SideWalkCls::EditDefaults(Settings& store, EarthworkDialogs& dialogs) {
    settings = store.sidewalk;
    if (RunSidewalkSettingsDialog(dialogs, SettingsMode::ToolDefaults, 0) == DialogAnswer::Confirmed)
        store.sidewalk = settings;
    return 0;
}

int32_t SideWalkCls::Create(Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                            const API_Element& fill, const API_Element& terrain) {
    if (!FindLibPartOrAsk(QV_String("VY_SIDEWALK"), SidewalkLibIndex, true, QV_String(), APILib_ObjectID)) return 0;
    pickHead = fill.header;
    if (!ReadElement(terrain, true) || !BuildPrimitives(PrimitiveOptions().FillPrims().CloseCodes()))
        return ErrModifying;
    settings = store.sidewalk;
    if (RunSidewalkSettingsDialog(dialogs, SettingsMode::NewElement, 0) == DialogAnswer::Cancelled) return 0;
    store.sidewalk = settings;
    bool inputFailed = false;
    if (!InputPolygonStep(*this, &inputFailed)) return inputFailed ? ErrSpecifyingPoint : 0;
    if (!SplitRingAtSides(*this)) return 0;
    side = 1;
    const int told = WarningsShown();
    if (!RunCommand(ExternalCommandUndoText(),
                    [&] { return BuildPointElementFromList(*this) ? BuildObjects() : CommandEnd::Failed; }))
        return WarningsShown() != told ? 0 : ErrModifying;
    contours.RefreshContourLines(element);
    return 0;
}

bool SideWalkCls::WriteSidewalkObject(API_Element& placed, API_ElementMemo& memo, int32_t layer,
                                      const QV_String& role) {
    placed.header.layer = layer;
    SideWalkLP view(ElemKind_Sidewalk);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    QV_String operatorText = role;
    int32_t terrainFlag = element.header.guid == APINULLGuid ? -1 : 0;
    const bool written = BaseIDLP::ExchangePerimetroBaseSX(view, chainA, LPMode_Set) &&
        BaseIDLP::ExchangePerimetroBaseDX(view, chainB, LPMode_Set) &&
        view.GetSetString(BaseIDParam::Operatore, operatorText, LPMode_Set) &&
        view.GetSetInt(BaseIDParam::IDTerrain, terrainFlag, LPMode_Set) && SerializeSettings(view, settings, 1) &&
        SetLPLevelOnStory(view, element.mesh.level, element.header.floorInd, LPMode_Set) &&
        WriteCommonLPParams(view, ElemKind_Sidewalk);
    if (!EndMemoWriting(memo, view, written)) return false;
    if (CreateElementWithMemo(&placed, &memo, true) != NoError) return false;
    return HostCallWithElementGuid(placed) == NoError;
}

CommandEnd SideWalkCls::BuildObjects() {
    EarthworkSetSpec spec{ElemKind_Sidewalk, SidewalkLibIndex, settings.layer, settings.pen, settings.name};
    spec.originalLink = false;
    return PlaceEarthworkSet(
        *this, spec,
        [this](API_Element& placed, API_ElementMemo& memo, int32_t layer, const QV_String& role) {
            return WriteSidewalkObject(placed, memo, layer, role);
        },
        object,
        [this] {
            // The set has reversed the second edge, so both run the same way and heights pair up across the strip.
            settings.leftSide = side != 0 ? 1 : 0;
            CopyEdgeHeights();
        });
}

int32_t SideWalkCls::Update(ContourLineRefresh& contours, const API_Element& picked) {
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    SideWalkLP link(ElemKind_Sidewalk);
    API_Guid terrainGuid = APINULLGuid;
    if (!BaseLP::AttachToElement(link, ElemKind_Sidewalk, picked, terrainGuid, false)) return ErrModifying;
    API_Element terrain = {};
    terrain.header.guid = terrainGuid;
    if (ACAPI_Element_Get(&terrain) != NoError || !ReadElement(terrain, false)) return ErrModifying;
    SidewalkMemo memo(picked.header.guid);
    chainA.Clear();
    chainB.Clear();
    if (!memo.ok || !BaseIDLP::ExchangePerimetroBaseSX(memo.view, chainA, LPMode_Get) ||
        !BaseIDLP::ExchangePerimetroBaseDX(memo.view, chainB, LPMode_Get) ||
        !SerializeSettings(memo.view, settings, 0) || chainA.GetCount() == 0)
        return ErrModifying;
    // Stored running beside chainA; turned back to the order the side split gave it when the sidewalk was made, in
    // which its heights were sampled then.
    ReverseChain(chainB);
    ChainToWorld(picked, chainA, true);
    ChainToWorld(picked, chainB, true);
    int32_t code = ErrModifying;
    const bool ok = RunCommand(ExternalCommandUndoText(), [&] {
        if (!BuildPointElementFromList(*this)) {
            code = ErrCalculatingAltitudes;
            return CommandEnd::Failed;
        }
        // Stored again beside chainA.
        ReverseChain(chainB);
        const API_Coord origin{chainA[0].x, chainA[0].y};
        TranslateCoords2D(frameFirst, origin);
        TranslateCoords2D(frameSecond, origin);
        // Heights go across the strip the way the build sent them, so an update of an unchanged terrain keeps
        // the profile.
        side = settings.leftSide == 1 ? 1 : 0;
        CopyEdgeHeights();
        ChainToWorld(picked, chainA, false);
        ChainToWorld(picked, chainB, false);
        double skirt = meshSkirt;
        bool written = BaseIDLP::ExchangePerimetroBaseSX(memo.view, chainA, LPMode_Set) &&
            BaseIDLP::ExchangePerimetroBaseDX(memo.view, chainB, LPMode_Set) &&
            ExchangeCoordLists(memo.view, frameFirst, frameSecond) &&
            memo.view.GetSetDouble(BaseIDParam::Skirt, skirt, LPMode_Set) &&
            SetLPLevelOnStory(memo.view, terrain.mesh.level, picked.header.floorInd, LPMode_Set);
        memo.Sync();
        API_Element changedObject = picked;
        // Once the picked sidewalk is rewritten, partners that fail keep it so.
        if (!written || ChangeElementMemo(&changedObject, &memo.memo) != NoError) return CommandEnd::Failed;
        return SyncSiblingObjects(picked.header, ElemKind_Sidewalk, false) != 0 ? CommandEnd::Done
                                                                                : CommandEnd::KeepSoFar;
    });
    if (!ok) return code;
    contours.RefreshContourLines(element);
    return 0;
}

bool SideWalkCls::ApplyToSelected(QV_List<API_Element>& sidewalks) {
    if (!AnyFieldChanged(changed)) return true;
    // Layer, name and pen stay each sidewalk's own: only the parameters' fields are edited together.
    const API_Element mask = EmptyChangeMask();
    for (int32_t i = 0; i < sidewalks.GetCount(); ++i) {
        API_Element& sidewalk = sidewalks[i];
        SidewalkMemo memo(sidewalk.header.guid);
        if (!memo.ok) return false;
        SidewalkSettings own;
        bool ok = SerializeSettings(memo.view, own, 0);
        for (int16_t id = 2; id < SidewalkFieldCount; ++id) {
            if (changed[id] == 0 || id == SidewalkSettings::Id::pen) continue;
            own.CopyField(settings, id);
        }
        ok = ok && SerializeSettings(memo.view, own, 1);
        memo.Sync();
        GS::Array<API_Guid> one;
        one.Push(sidewalk.header.guid);
        ok = ok && ACAPI_Element_ChangeParameters(one, &sidewalk, &memo.memo, &mask) == NoError;
        if (!ok || SyncSiblingObjects(sidewalk.header, ElemKind_Sidewalk, false) == 0) return false;
        if (!RefuseUnbuiltSetOf(sidewalk, ElemKind_Sidewalk)) return false;
    }
    return true;
}

int32_t SideWalkCls::Modify(EarthworkDialogs& dialogs, const QV_List<API_Element>& sidewalks) {
    QV_List<API_Element> list = sidewalks;
    return ModifyEarthworkSelection(
        [&] { return ReadSetSettings<SideWalkLP>(sidewalks, ElemKind_Sidewalk, settings); },
        [&] { return RunSidewalkSettingsDialog(dialogs, SettingsMode::Editing(sidewalks.GetCount()), 1); },
        [&] { return ApplyToSelected(list); });
}
