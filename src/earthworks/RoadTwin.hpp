#pragma once
// What the road and the railway (the road's twin with tracks) do alike, written once for both: a set made on the
// strip of a fill or along a polyline, the defaults edited, the placed sets edited together, one object of a set
// written. Each class names where it differs: its library part (`PartName`, `PartIndex()`), element kind, view
// and settings record, the general record's field that holds its reference line, its defaults in the settings
// handed down, its layer, name and pen field ids, how it writes "IDoriginal", and its settings dialog asked with
// the options of earthworks/TwinDialogOptions (`EditOptions` for an edit of placed sets).
#include "earthworks/AlignmentGeometry.hpp"
#include "earthworks/EarthworkSelection.hpp"
#include "earthworks/EarthworkRefusal.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "earthworks/TwinDialogOptions.hpp"
#include "elements/LevelOnStory.hpp"
#include "elements/WrittenMemo.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/OutlinePrims.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/TerrainDraping.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/SettingsMode.hpp"
#include "geometry/project/ElementPolygonRead.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"
#include "terrain/ContourLineCls.hpp"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

class EarthworkDialogs;

// The settings into the tool's defaults; the retaining structures' display goes to every earthwork's.
// The width (roads and railways share it) and the reference line the dialog was confirmed with are kept in the
// general record for every later one.
template <class Cls>
void StoreTwinDefaults(const Cls& cls, Settings& store) {
    const typename Cls::SettingsRecord& settings = cls.settings;
    Cls::Defaults(store) = settings;
    SetSurfaceAttributes(store, settings.obstacleShow2D, settings.obstaclePen, settings.obstacleLineType);
    if (cls.stripWidthChosen) store.misc.roadWidth = cls.stripWidth;
    store.misc.*Cls::ReferenceLine = cls.referenceLine;
}

// One object of the set (its role "cut", "fill" or "result") written into the memo and created on `layer`.
template <class Cls>
bool WriteTwinObject(Cls& cls, API_Element& object, API_ElementMemo& memo, int32_t layer, const QV_String& role) {
    object.header.layer = layer;
    typename Cls::View view(Cls::Kind);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    QV_String operatorText = role;
    int32_t terrainFlag = cls.element.header.guid == APINULLGuid ? -1 : 0;
    int32_t language = LanguageIndex + 1;
    const bool written = BaseIDLP::ExchangePerimetroBaseSX(view, cls.chainA, LPMode_Set) &&
        BaseIDLP::ExchangePerimetroBaseDX(view, cls.chainB, LPMode_Set) &&
        LPArrays::TripleRows(view, RoadParam::Left, cls.left3D, LPMode_Set) &&
        LPArrays::TripleRows(view, RoadParam::Right, cls.right3D, LPMode_Set) &&
        view.GetSetString(BaseIDParam::Operatore, operatorText, LPMode_Set) &&
        view.GetSetInt(BaseIDParam::IDTerrain, terrainFlag, LPMode_Set) && Cls::WriteNoOriginal(view) &&
        SerializeSettings(view, cls.settings, 1) &&
        SetLPLevelOnStory(view, cls.element.mesh.level, object.header.floorInd, LPMode_Set) &&
        view.GetSetInt(RoadParam::Language, language, LPMode_Set) && cls.WriteCommonLPParams(view, Cls::Kind);
    if (!EndMemoWriting(memo, view, written)) return false;
    if (CreateElementWithMemo(&object, &memo, true) != NoError) return false;
    // An object the host will not report edits of could not follow them: the set fails.
    return HostCallWithElementGuid(object) == NoError;
}

// The cut, fill and result objects placed from the draped edges and linked with the terrain.
template <class Cls>
CommandEnd BuildTwinObjects(Cls& cls) {
    const EarthworkSetSpec spec{Cls::Kind, cls.PartIndex(), cls.settings.layer, cls.settings.pen, cls.settings.name};
    return PlaceEarthworkSet(
        cls, spec,
        [&cls](API_Element& object, API_ElementMemo& memo, int32_t layer, const QV_String& role) {
            return WriteTwinObject(cls, object, memo, layer, role);
        },
        cls.object);
}

// The slope angles of the settings build slopes (of an edit, only the fields it changes).
template <class Cls>
BodyFault TwinAngleFault(const Cls& cls, bool changedOnly) {
    using Id = typename Cls::SettingsRecord::Id;
    const typename Cls::SettingsRecord& r = cls.settings;
    const std::pair<int16_t, double> angles[4] = {{Id::leftCutAngle, r.leftCutAngle},
                                                  {Id::leftFillAngle, r.leftFillAngle},
                                                  {Id::rightCutAngle, r.rightCutAngle},
                                                  {Id::rightFillAngle, r.rightFillAngle}};
    for (const auto& [id, angle] : angles)
        if ((!changedOnly || cls.changed[id] != 0) && SlopeAngleFault(angle) != BodyFault::None)
            return BodyFault::SlopeAngle;
    return BodyFault::None;
}

// Whether the set about to be placed from the settings (and, when `width` is given, a strip of that width) and
// the edges in chainA and chainB has a body to build; when it has none the refusal is shown.
template <class Cls>
bool TwinAcceptsBody(const Cls& cls, const double* width) {
    BodyFault fault = TwinAngleFault(cls, false);
    if (fault == BodyFault::None && width != nullptr) fault = WidthFault(*width);
    if (fault == BodyFault::None && width == nullptr) {
        std::vector<API_Coord> edges;
        for (const QV_List<QV_Coord3DLong>* chain : {&cls.chainA, &cls.chainB})
            for (const QV_Coord3DLong& p : *chain) edges.push_back(API_Coord{p.x, p.y});
        fault = OffTerrainFault(cls.element, edges);
    }
    return RefuseFault(EarthworkName(cls.settings.name, Cls::Kind), fault);
}

// A set on the strip of the fill between the two sides the user picks. 0 when done, cancelled or the part is
// missing; 43 when the terrain or fill cannot be read or placing fails.
template <class Cls>
int32_t CreateTwinOnFill(Cls& cls, Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                         const API_Element& fill, const API_Element& terrain) {
    if (!FindLibPartOrAsk(QV_String(Cls::PartName), cls.PartIndex(), true, QV_String(), APILib_ObjectID)) return 0;
    cls.pickHead = fill.header;
    if (!cls.ReadElement(terrain, true) || !cls.BuildPrimitives(BaseCls::PrimitiveOptions().FillPrims().CloseCodes()))
        return ErrModifying;
    cls.settings = Cls::Defaults(store);
    if (cls.RunSettingsDialog(store.misc, dialogs, SettingsMode::NewElement, 0u) == DialogAnswer::Cancelled) return 0;
    StoreTwinDefaults(cls, store);
    bool inputFailed = false;
    if (!BaseCls::InputPolygonStep(cls, &inputFailed)) return inputFailed ? ErrSpecifyingPoint : 0;
    if (!SplitRingAtSides(cls)) return 0;
    // The split leaves chainB running from the last side back to the first; turned, it runs beside chainA from
    // the first side, as the edges built along a polyline do.
    ReverseChain(cls.chainB);
    if (!TwinAcceptsBody(cls, nullptr)) return 0;
    const int told = WarningsShown();
    if (!RunCommand(ExternalCommandUndoText(), [&] {
            return BuildPointElementFromList(cls) && cls.DrapeEdges() ? cls.BuildObjects() : CommandEnd::Failed;
        }))
        return WarningsShown() != told ? 0 : ErrModifying;
    contours.RefreshContourLines(cls.element);
    return 0;
}

// A set along the polyline, placed by the reference line against it. 0 when done, cancelled or the part is
// missing; 43 when the terrain or polyline cannot be read, the offsets leave nothing or placing fails.
template <class Cls>
int32_t CreateTwinAlongPolyline(Cls& cls, Settings& store, EarthworkDialogs& dialogs, ContourLineRefresh& contours,
                                const API_Element& polyline, const API_Element& terrain) {
    if (!FindLibPartOrAsk(QV_String(Cls::PartName), cls.PartIndex(), true, QV_String(), APILib_ObjectID)) return 0;
    cls.pickHead = polyline.header;
    if (!cls.ReadElement(terrain, true) ||
        !ReadElementPolygon(polyline.header.guid, cls.points3D, cls.points2D, cls.polyPrims, cls.closedRing))
        return ErrModifying;
    cls.settings = Cls::Defaults(store);
    if (cls.RunSettingsDialog(store.misc, dialogs, SettingsMode::NewElement,
                              TwinDialog::PositionChoice | TwinDialog::DefaultWidth) == DialogAnswer::Cancelled)
        return 0;
    StoreTwinDefaults(cls, store);
    if (!TwinAcceptsBody(cls, &cls.stripWidth)) return 0;
    if (!BuildEdgesAlongPolyline(cls, cls.stripWidth, cls.referenceLine)) return ErrModifying;
    if (!TwinAcceptsBody(cls, nullptr)) return 0;
    const int told = WarningsShown();
    if (!RunCommand(ExternalCommandUndoText(),
                    [&] { return cls.DrapeEdges() ? cls.BuildObjects() : CommandEnd::Failed; }))
        return WarningsShown() != told ? 0 : ErrModifying;
    contours.RefreshContourLines(cls.element);
    return 0;
}

// The tool's defaults through the dialog, the reference-line choice enabled; stored on OK. Answers 0.
template <class Cls>
int32_t EditTwinDefaults(Cls& cls, Settings& store, EarthworkDialogs& dialogs) {
    cls.settings = Cls::Defaults(store);
    if (cls.RunSettingsDialog(store.misc, dialogs, SettingsMode::ToolDefaults, TwinDialog::PositionChoice) ==
        DialogAnswer::Confirmed)
        StoreTwinDefaults(cls, store);
    return 0;
}

// The dialog's changed fields onto every placed object of the list, each refreshed with its partners. Layer and
// pen go through the host record under a mask that holds only the changed ones. False on the first failure.
template <class Cls>
bool ApplyTwinToSelected(Cls& cls, QV_List<API_Element>& placed) {
    if (!AnyFieldChanged(cls.changed)) return true;
    if (!RefuseFault(EarthworkName(cls.settings.name, Cls::Kind), TwinAngleFault(cls, true))) return false;
    // The edited objects stay selected when the host will not clear them: the edit fails and is taken back.
    if (ACAPI_Element_DeselectAll() != NoError) return false;
    API_Element mask = EmptyChangeMask();
    MarkWhen(mask.header.layer, cls.changed[Cls::LayerField] != 0);
    MarkWhen(mask.object.pen, cls.changed[Cls::PenField] != 0);
    for (int32_t i = 0; i < placed.GetCount(); ++i) {
        API_Element& object = placed[i];
        object.header.layer = cls.settings.layer;
        object.object.pen = cls.settings.pen;
        if (!RewriteChangedSettings<typename Cls::View>(object, Cls::Kind, cls.changed, Cls::NameField, cls.settings,
                                                        mask))
            return false;
        if (SyncSiblingObjects(object.header, Cls::Kind, false) == 0) return false;
        if (!RefuseUnbuiltSetOf(object, Cls::Kind)) return false;
    }
    return true;
}

// The placed sets edited together: the first one's settings through the dialog, the changes onto all.
template <class Cls>
int32_t ModifyTwinSelected(Cls& cls, const Settings& store, EarthworkDialogs& dialogs,
                           const QV_List<API_Element>& placed) {
    QV_List<API_Element> list = placed;
    return ModifyEarthworkSelection([&] { return cls.ReadSettingsFromObject(placed); },
                                    [&] {
                                        return cls.RunSettingsDialog(store.misc, dialogs,
                                                                     SettingsMode::Editing(placed.GetCount()),
                                                                     Cls::EditOptions);
                                    },
                                    [&] { return cls.ApplyToSelected(list); });
}
