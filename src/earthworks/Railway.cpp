#include "earthworks/Railway.hpp"

#include "earthworks/AlignmentGeometry.hpp"
#include "earthworks/EarthworkDialogs.hpp"
#include "earthworks/EarthworkSelection.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/OutlinePrims.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/TerrainDraping.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "geometry/project/ElementPolygonRead.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"
#include "terrain/ContourLineCls.hpp"

#include <cstring>

namespace {
constexpr int16_t GeneralKind = 0;
constexpr int16_t WidthField = 5;
constexpr int16_t PositionField = 15;
constexpr int32_t OriginalMeshLevel = 38;  // "original_mesh_level"
constexpr int16_t PenField = 14;

void StoreDefaults(const RailwaySettings& settings) {
    GlobalSettings.railway = settings;
    SetSurfaceAttributes(GlobalSettings, settings.obstacleShow2D, settings.obstaclePen, settings.obstacleLineType);
}

bool FindPart(int32_t& index) {
    return FindLibPartOrAsk(QV_String("VY_RAILWAY"), index, true, QV_String(), APILib_ObjectID);
}
}  // namespace

RailwayCls::RailwayCls() {
    settings.SetDefaults();
    std::memset(changed, 0, sizeof changed);
}

int32_t RailwayCls::RunSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode, uint32_t bits) {
    RailwayDialogState state;
    state.record = settings;
    std::memset(state.changed, 0, sizeof state.changed);
    state.radiosEnabled = (bits & 1u) != 0 ? 1 : 0;
    state.valuesEditable = (bits & 2u) != 0 ? 1 : 0;
    state.valuesLocked = (bits & 4u) != 0 ? 1 : 0;
    state.width = state.valuesEditable != 0 ? GlobalSettings.GetDouble(GeneralKind, WidthField) : 0.1;
    state.referenceLine = int16_t(GlobalSettings.GetInt(GeneralKind, PositionField));
    // The single layout has no other to switch to: anything but OK is a cancel.
    if (!dialogs.OpenRailwaySettings(state, mode)) return 1;
    settings = state.record;
    std::memcpy(changed, state.changed, sizeof changed);
    return 0;
}

int32_t RailwayCls::EditDefaults(EarthworkDialogs& dialogs) {
    settings = GlobalSettings.railway;
    if (RunSettingsDialog(dialogs, SettingsMode::ToolDefaults, 1) != 0) return 0;
    StoreDefaults(settings);
    return 0;
}

bool RailwayCls::DrapeEdges() { return DrapeEdgeLines(element, chainA, chainB, left3D, right3D); }

void RailwayCls::TranslateAll(const API_Coord& origin) { TranslateEdgeSet(*this, left3D, right3D, origin); }

bool RailwayCls::WriteRailwayObject(API_Element& object, API_ElementMemo& memo, int32_t layer, const QV_String& role) {
    object.header.layer = layer;
    RailwayLP view(ElemKind_Railway);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    QV_String operatorText = role;
    int32_t terrainFlag = element.header.guid == APINULLGuid ? -1 : 0;
    API_Guid original = APINULLGuid;
    double meshLevel = element.mesh.level + GetStoryLevel(object.header.floorInd);
    int32_t language = LanguageIndex + 1;
    const bool written = BaseIDLP::ExchangePerimetroBaseSX(view, chainA, LPMode_Set) &&
        BaseIDLP::ExchangePerimetroBaseDX(view, chainB, LPMode_Set) &&
        LPArrays::TripleRows(view, RailwayParam::Left, left3D, LPMode_Set) &&
        LPArrays::TripleRows(view, RailwayParam::Right, right3D, LPMode_Set) &&
        view.GetSetString(BaseIDParam::Operatore, operatorText, LPMode_Set) &&
        view.GetSetInt(BaseIDParam::IDTerrain, terrainFlag, LPMode_Set) &&
        RailwayLP::ExchangeLinkFlag(view, original, LPMode_Set) && SerializeSettings(view, settings, 1) &&
        view.GetSetDouble(OriginalMeshLevel, meshLevel, LPMode_Set) &&
        view.GetSetInt(RailwayParam::Language, language, LPMode_Set) && WriteCommonLPParams(view, ElemKind_Railway);
    memo.params = reinterpret_cast<API_AddParType**>(view.params);
    view.Detach();
    if (!written) {
        DisposeElemMemo(memo);
        return false;
    }
    if (CreateElementWithMemo(&object, &memo, true) != NoError) return false;
    HostCallWithElementGuid(object);
    return true;
}

bool RailwayCls::BuildObjects() {
    const EarthworkSetSpec spec{ElemKind_Railway, railwayLibIndex, settings.layer, settings.pen, settings.name};
    return PlaceEarthworkSet(
        *this, spec, [this](const API_Coord& origin) { TranslateAll(origin); },
        [this](API_Element& placed, API_ElementMemo& memo, int32_t layer, const QV_String& role) {
            return WriteRailwayObject(placed, memo, layer, role);
        },
        object);
}

int32_t RailwayCls::CreateOnFill(EarthworkDialogs& dialogs, ContourLineRefresh& contours, const API_Element& fill,
                                 const API_Element& terrain) {
    if (!FindPart(railwayLibIndex)) return 0;
    pickHead = fill.header;
    if (!ReadElement(terrain, true) || !BuildPrimitives(PrimitiveOptions().FillPrims().CloseCodes()))
        return ErrModifying;
    settings = GlobalSettings.railway;
    if (RunSettingsDialog(dialogs, SettingsMode::NewElement, 0) != 0) return 0;
    StoreDefaults(settings);
    if (!InputPolygonStep(*this) || !SplitRingAtSides(*this)) return 0;
    ReverseChain(chainB);
    if (!RunEarthworkCommand([&] { return BuildPointElementFromList(*this) && DrapeEdges() && BuildObjects(); }))
        return ErrModifying;
    contours.RefreshContourLines(element);
    return 0;
}

int32_t RailwayCls::CreateAlongPolyline(EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                                        const API_Element& polyline, const API_Element& terrain) {
    if (!FindPart(railwayLibIndex)) return 0;
    pickHead = polyline.header;
    if (!ReadElement(terrain, true) ||
        !ReadElementPolygon(polyline.header.guid, points3D, points2D, polyPrims, closedRing))
        return ErrModifying;
    settings = GlobalSettings.railway;
    if (RunSettingsDialog(dialogs, SettingsMode::NewElement, 3) != 0) return 0;
    StoreDefaults(settings);
    const double width = GlobalSettings.GetDouble(GeneralKind, WidthField);
    const int32_t mode = GlobalSettings.GetInt(GeneralKind, PositionField);
    if (!BuildEdgesAlongPolyline(*this, width, mode)) return ErrModifying;
    if (!RunEarthworkCommand([&] { return DrapeEdges() && BuildObjects(); })) return ErrModifying;
    contours.RefreshContourLines(element);
    return 0;
}

void CopyChangedFields(const uint8_t changed[RailwayFieldCount], RailwaySettings& target,
                       const RailwaySettings& source) {
    for (int16_t id = 1; id < RailwayFieldCount; ++id) {
        if (changed[id] == 0 || id == 5 || id == PenField) continue;
        if (id <= 4 || id == 18 || id == 19 || id == 22 || id == 23)
            target.SetReal(id, source.GetReal(id));
        else
            target.SetShort(id, int16_t(source.GetShort(id)));
    }
}

bool RailwayCls::ReadSettingsFromObject(const QV_List<API_Element>& railways) {
    return ReadSetSettings<RailwayLP>(railways, ElemKind_Railway, settings);
}

bool RailwayCls::ApplyToSelected(QV_List<API_Element>& railways) {
    bool any = false;
    for (uint8_t flag : changed) any = any || flag != 0;
    if (!any) return true;
    ACAPI_Element_DeselectAll();
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    if (changed[0] != 0) std::memset(&mask.header.layer, 0xFF, sizeof mask.header.layer);
    if (changed[PenField] != 0) std::memset(&mask.object.pen, 0xFF, sizeof mask.object.pen);
    for (int32_t i = 0; i < railways.GetCount(); ++i) {
        API_Element& railway = railways[i];
        if (changed[0] != 0) railway.header.layer = settings.layer;
        if (changed[PenField] != 0) railway.object.pen = settings.pen;
        if (!RewriteChangedSettings<RailwayLP>(railway, ElemKind_Railway, changed, settings, mask)) return false;
    }
    return true;
}

int32_t RailwayCls::ModifySelected(EarthworkDialogs& dialogs, const QV_List<API_Element>& railways) {
    QV_List<API_Element> list = railways;
    return ModifyEarthworkSelection(
        [&] { return ReadSettingsFromObject(railways); },
        [&] { return RunSettingsDialog(dialogs, SettingsMode::Editing(railways.GetCount()), 6); },
        [&] { return ApplyToSelected(list); });
}
