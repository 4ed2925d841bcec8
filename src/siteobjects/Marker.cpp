#include "siteobjects/Marker.hpp"

#include "elements/WrittenMemo.hpp"
#include "elements/ChangeMask.hpp"
#include "elements/ActiveStory.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/ElementQueries.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/NewLibPartObject.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/TerrainProbe.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/PointInput.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "geometry/OutlineSegmentAtPoint.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"
#include "siteobjects/PlacedObject.hpp"
#include "siteobjects/PlacedSettingsChange.hpp"
#include "elements/WholeCommand.hpp"
#include "siteobjects/SiteObjectDialogs.hpp"

#include <cstring>

namespace {
constexpr int32_t PromptDefinePoint = 5;
constexpr int16_t LayerField = SpotHeightSettings::Id::layer;

bool FindPart(const char* name, int32_t& index) {
    return FindLibPartOrAsk(QV_String(name), index, true, QV_String(), APILib_ObjectID);
}

QV_String Prompt() {
    QV_String prompt;
    GetResString(prompt, PromptTableBase + LanguageIndex, PromptDefinePoint);
    return prompt;
}

// A clicked point: 0 when clicked, the host's code otherwise.
GSErrCode AskPoint(API_Coord& point) {
    API_Coord3D p = {};
    API_Neig neig = {};
    const GSErrCode err =
        GetPointFromUser(p, neig, Prompt(), nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, true);
    point = API_Coord{p.x, p.y};
    return err;
}

// The marker's fields whose flag is set, but the layer (the element's).
void CopyChanged(const uint8_t changed[MarkerFieldCount], SpotHeightSettings& target,
                 const SpotHeightSettings& source) {
    for (int16_t id = 0; id < MarkerFieldCount; ++id) {
        if (changed[id] != 0 && id != LayerField) target.CopyField(source, id);
    }
}

// A new marker object of the library part, from the host's object defaults, with its settings written by `write`.
template <class View, class Write>
bool CreateMarker(int32_t libIndex, int32_t kind, int16_t layer, int16_t story, const API_Coord& pos, Write write) {
    API_Element placed;
    API_ElementMemo memo;
    if (!NewLibPartObject(libIndex, placed, memo)) return false;
    placed.header.layer = layer;
    placed.header.floorInd = story;
    InitPlacedObject(placed, libIndex);
    placed.object.pos = pos;
    View view;
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    const bool written = write(view);
    if (!EndMemoWriting(memo, view, written) || CreateElementWithMemo(&placed, &memo, true) != NoError) return false;
    if (ACAPI_Element_AttachObserver(placed.header.guid) != NoError) return false;
    return ElemUserData_WriteRecord(ElemDescriptor(), kind, placed.header);
}
}  // namespace

QV_String PointMarkerCode(const QV_String& prefix, int32_t number) {
    QV_String code = prefix;
    if (!prefix.IsEmpty()) code += " ";
    QV_String digits;
    code += FormatZeroPaddedNumber(digits, uint32_t(number < 0 ? 0 : number));
    return code;
}

MarkerCls::MarkerCls(const QV_String& font) {
    settings.SetDefaults(font.IsEmpty() ? QV_String("Arial") : font);
    std::memset(changed, 0, sizeof changed);
}

DialogAnswer MarkerCls::RunSettingsDialog(SiteObjectDialogs& dialogs, SettingsMode mode, bool levelMarker, bool editing,
                                          bool pointMarkersOnly) {
    MarkerDialogState state;
    state.record = settings;
    state.levelMarker = levelMarker ? 1 : 0;
    state.editing = editing ? 1 : 0;
    state.pointMarkersOnly = pointMarkersOnly ? 1 : 0;
    if (dialogs.OpenSpotHeightSettings(state, mode) == DialogAnswer::Cancelled) return DialogAnswer::Cancelled;
    settings = state.record;
    std::memcpy(changed, state.changed, sizeof changed);
    return DialogAnswer::Confirmed;
}

bool MarkerCls::CreatePointMarkerObject(int16_t story) {
    if (pointCoords.IsEmpty()) return true;
    return CreateMarker<MarkerPtLP>(pointMarkerPart, ElemKind_PointMarker, settings.layer, story, API_Coord{0.0, 0.0},
                                    [&](MarkerPtLP& view) {
                                        return SerializeSettings(view, settings, 1) &&
                                            MarkerPtLP::ExchangeStringArrayA(view, pointCodes, LPMode_Set) &&
                                            MarkerPtLP::ExchangeDoubleList(view, pointCoords, LPMode_Set) &&
                                            MarkerPtLP::ExchangeStringArrayB(view, pointComments, LPMode_Set);
                                    });
}

int32_t MarkerCls::PlacePointMarker(Settings& store, SiteObjectDialogs& dialogs) {
    // The marker lists the current story's points and replaces its markers: a story the host cannot tell has none.
    const int16_t story = ActiveStoryIndex();
    if (story == NoActiveStory || !EnsureFloorPlanWindow(true)) return ErrDatabase;
    if (!FindPart("VY_POINT_MARKER", pointMarkerPart)) return 0;
    settings = store.marker;
    if (RunSettingsDialog(dialogs, SettingsMode::NewElement, false, false, false) == DialogAnswer::Cancelled) return 0;
    store.marker = settings;
    QV_List<API_Element> markers, points;
    if (!CollectAddOnObjects(ElemKind_PointMarker, API_ObjectID, Leave3D::Yes, markers) ||
        !CollectAddOnObjects(ElemKind_Point, API_HotspotID, Leave3D::Yes, points))
        return ErrFindingData;
    for (const API_Element& p : points) {
        if (p.header.floorInd != story) continue;
        ElemDescriptor d;
        // Every point listed is one of the add-on's: a record the host will not give now would leave it off the
        // marker unseen.
        if (!d.FromElement(ElemKind_Point, p.header, true)) return ErrFindingData;
        // A point without a comment still fills its cell of the text array.
        const QV_String comment = d.Note.HasBuffer() ? d.Note : QV_String("");
        if (!pointCoords.Insert(API_Coord3D{p.hotspot.pos.x, p.hotspot.pos.y, d.Value}) ||
            !pointCodes.Insert(PointMarkerCode(d.Name, d.Number)) || !pointComments.Insert(comment))
            return ErrModifying;
    }
    const bool ok = RunWholeCommand([&] {
        // The story's earlier point markers give way only to the new one.
        if (!CreatePointMarkerObject(story)) return false;
        for (const API_Element& m : markers)
            if (m.header.floorInd == story && DeleteElementInPlan(m.header, false) != NoError) return false;
        return true;
    });
    return ok ? 0 : ErrModifying;
}

bool MarkerCls::CreateLevelMarkerObject() {
    // The offsets come from the terrain's record: one the host cannot read gives none to write.
    ElemDescriptor terrainRecord;
    if (!terrainRecord.FromElement(ElemKind_Terrain, element.header, true)) return false;
    return CreateMarker<MarkerLP>(
        levelMarkerPart, ElemKind_LevelMarker, settings.layer, element.header.floorInd, point, [&](MarkerLP& view) {
            double zero = 0.0, level = pointZ;
            double ox = terrainRecord.Level1, oy = terrainRecord.Level2, oz = terrainRecord.Level3;
            int32_t no = 0, yes = 1;
            QV_String empty("");
            QV_String empty2("");
            return SerializeSettings(view, settings, 1) && view.GetSetDouble(MarkerParam::StepX, zero, LPMode_Set) &&
                view.GetSetDouble(MarkerParam::StepY, zero, LPMode_Set) &&
                view.GetSetInt(MarkerParam::Grid, no, LPMode_Set) &&
                view.GetSetDouble(MarkerParam::SingleLevel, level, LPMode_Set) &&
                view.GetSetString(MarkerParam::Code, empty, LPMode_Set) &&
                view.GetSetString(MarkerParam::Comment, empty2, LPMode_Set) &&
                view.GetSetInt(MarkerParam::ShowLevel, yes, LPMode_Set) &&
                view.GetSetInt(MarkerParam::ShowCode, no, LPMode_Set) &&
                view.GetSetInt(MarkerParam::ShowComment, no, LPMode_Set) &&
                view.GetSetDouble(MarkerParam::OffsetX, ox, LPMode_Set) &&
                view.GetSetDouble(MarkerParam::OffsetY, oy, LPMode_Set) &&
                view.GetSetDouble(MarkerParam::OffsetZ, oz, LPMode_Set);
        });
}

int32_t MarkerCls::RunSingleLevelMarkers() {
    if (!outline.ReadFromElement(element.header, 0)) return ErrModifying;
    for (;;) {
        const GSErrCode err = AskPoint(point);
        if (err == APIERR_CANCEL) return 0;
        if (err != NoError) return ErrSpecifyingPoint;
        if (!PointOnOrInsideOutline(outline, point)) {
            ShowErrorMessage(ErrClickInsideTerrain, AlertKind::Error);
            continue;
        }
        // Every click is an undo step of its own.
        if (!RunWholeCommand([&] {
                return ProbeTerrainHeightAt(element, point, pointZ) == SurfaceHeight::Found &&
                    CreateLevelMarkerObject();
            }))
            return ErrModifying;
    }
}

int32_t MarkerCls::PlaceLevelMarker(Settings& store, SiteObjectDialogs& dialogs, const API_Element& terrain) {
    if (IsCurrentWindow3D()) ACAPI_Element_DeselectAll();
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    if (!FindPart("VY_LEVEL_MARKER", levelMarkerPart)) return 0;
    if (!SetCurrentStory(terrain.header.floorInd)) return ErrDatabase;
    // The terrain stays selected when the host will not clear it: no marker is placed.
    if (ACAPI_Element_DeselectAll() != NoError) return ErrSelectedElement;
    if (!ReadElement(terrain, true)) return ErrModifying;
    settings = store.marker;
    if (RunSettingsDialog(dialogs, SettingsMode::NewElement, true, false, false) == DialogAnswer::Cancelled) return 0;
    store.marker = settings;
    return settings.mode != 0 ? RunSpotHeightGrid(dialogs) : RunSingleLevelMarkers();
}

bool MarkerCls::LoadFromSelection(const QV_List<API_Element>& levelMarkers, const QV_List<API_Element>& pointMarkers) {
    settings.Reset();
    const bool level = !levelMarkers.IsEmpty();
    if (!level && pointMarkers.IsEmpty()) return false;
    const API_Element& first = level ? levelMarkers[0] : pointMarkers[0];
    PlacedParams placed(first);
    if (!placed.Read()) return false;
    bool ok = false;
    if (level) {
        MarkerLP view;
        placed.AttachView(view);
        ok = SerializeSettings(view, settings, 0);
        placed.DetachView(view);
    } else {
        MarkerPtLP view;
        placed.AttachView(view);
        ok = SerializeSettings(view, settings, 0);
        placed.DetachView(view);
    }
    settings.layer = int16_t(first.header.layer);
    return ok;
}

bool MarkerCls::ApplyToSelection(QV_List<API_Element>& levelMarkers, QV_List<API_Element>& pointMarkers) {
    if (!AnyFieldChanged(changed)) return true;
    if (ACAPI_Element_DeselectAll() != NoError) return false;
    API_Element mask = EmptyChangeMask();
    MarkWhen(mask.header.layer, changed[LayerField] != 0);
    const auto apply = [&](API_Element& marker, auto view) {
        marker.header.layer = settings.layer;
        const auto edit = [&](decltype(view)&, SpotHeightSettings& own) {
            CopyChanged(changed, own, settings);
            return true;
        };
        return ChangePlacedSettings<SpotHeightSettings>(marker, mask, view, nullptr, edit);
    };
    for (int32_t i = 0; i < levelMarkers.GetCount(); ++i)
        if (!apply(levelMarkers[i], MarkerLP())) return false;
    for (int32_t i = 0; i < pointMarkers.GetCount(); ++i)
        if (!apply(pointMarkers[i], MarkerPtLP())) return false;
    return true;
}

int32_t MarkerCls::ModifySelected(SiteObjectDialogs& dialogs, const QV_List<API_Element>& levelMarkers,
                                  const QV_List<API_Element>& pointMarkers) {
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    if (!LoadFromSelection(levelMarkers, pointMarkers)) return ErrModifying;
    if (RunSettingsDialog(dialogs, SettingsMode::Editing(levelMarkers.GetCount() + pointMarkers.GetCount()), false,
                          true, levelMarkers.IsEmpty() && !pointMarkers.IsEmpty()) == DialogAnswer::Cancelled)
        return 0;
    QV_List<API_Element> levels = levelMarkers, points = pointMarkers;
    return RunWholeCommand([&] { return ApplyToSelection(levels, points); }) ? 0 : ErrModifying;
}

int32_t MarkerCls::RebuildBody(SiteObjectDialogs& dialogs, const API_Element& marker) {
    PlacedParams placed(marker);
    if (!placed.Read() || !ReadElement(element, true) || !outline.ReadFromElement(element.header, 0))
        return ErrModifying;
    MarkerLP view;
    placed.AttachView(view);
    int32_t isGrid = 0;
    bool ok = view.GetSetInt(MarkerParam::Grid, isGrid, LPMode_Get);
    if (ok && isGrid != 0) {
        settings.Reset();
        ok = MarkerLP::ExchangePointRef(view, point, LPMode_Get) &&
            view.GetSetDouble(MarkerParam::StepX, settings.stepX, LPMode_Get) &&
            view.GetSetDouble(MarkerParam::StepY, settings.stepY, LPMode_Get);
        placed.DetachView(view);
        if (!ok) return ErrModifying;
        if (!PointOnOrInsideOutline(outline, point))
            return DeleteElementInPlan(marker.header, false) == NoError ? 0 : ErrModifying;
        // Steps the grid cannot take are a broken object, a grid too large to hold says so; only the user's "No"
        // leaves it quietly.
        if (!ComputeGridExtent(dialogs)) return gridError;
        if (!SampleGridHeights()) return gridError != 0 ? gridError : ErrModifying;
        placed.AttachView(view);
        ok = MarkerLP::ExchangeLevelGrid(view, gridHeights, grid.ny, grid.nx, LPMode_Set);
        placed.DetachView(view);
        API_Element changedElement = marker;
        API_Element mask;
        std::memset(static_cast<void*>(&mask), 0, sizeof mask);
        if (!ok || !placed.Change(changedElement, &mask)) return ErrModifying;
        // The grid starts anew where the terrain's box now begins: only the position changes.
        API_Element moved = changedElement;
        std::memset(static_cast<void*>(&mask), 0, sizeof mask);
        std::memset(&mask.object.pos, 0xFF, sizeof mask.object.pos);
        moved.object.pos = API_Coord{grid.x0, grid.y0};
        return ACAPI_Element_Change(&moved, &mask, nullptr, 0) == NoError ? 0 : ErrModifying;
    }
    placed.DetachView(view);
    if (!ok) return ErrModifying;
    point = marker.object.pos;
    if (!PointOnOrInsideOutline(outline, point))
        return DeleteElementInPlan(marker.header, false) == NoError ? 0 : ErrModifying;
    if (ProbeTerrainHeightAt(element, point, pointZ) != SurfaceHeight::Found) return ErrModifying;
    placed.AttachView(view);
    ok = view.GetSetDouble(MarkerParam::SingleLevel, pointZ, LPMode_Set);
    placed.DetachView(view);
    API_Element changedElement = marker;
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    return ok && placed.Change(changedElement, &mask) ? 0 : ErrModifying;
}

int32_t MarkerCls::Rebuild(SiteObjectDialogs& dialogs, const API_Element& terrain, const API_Element& marker) {
    // The terrain and the marker stay selected when the host will not clear them: nothing is rebuilt.
    if (ACAPI_Element_DeselectAll() != NoError) return ErrSelectedElement;
    element = terrain;
    int32_t result = ErrModifying;
    const bool rebuilt = RunWholeCommand([&] {
        result = RebuildBody(dialogs, marker);
        return result == 0;
    });
    return rebuilt ? 0 : (result != 0 ? result : ErrModifying);
}

void RunMarker(Settings& settings, SiteObjectDialogs& dialogs) {
    MarkerCls cls(settings.marker.font);
    int32_t code = 0;
    ElemSelection selection;
    if (!GetSelectedElements(selection, true, nullptr, false, true, 0)) {
        code = ErrFindingData;
    } else if (selection.elements.IsEmpty()) {
        code = cls.PlacePointMarker(settings, dialogs);
    } else {
        QV_List<API_Element> terrains, levels, points;
        if (!PickElements(ElemKind_Terrain, API_MeshID, false, Leave3D::Yes, terrains, true) ||
            !PickElements(ElemKind_LevelMarker, API_ObjectID, false, Leave3D::Yes, levels, true) ||
            !PickElements(ElemKind_PointMarker, API_ObjectID, false, Leave3D::Yes, points, true)) {
            code = ErrFindingData;
        } else if (levels.GetCount() + points.GetCount() != selection.elements.GetCount()) {
            code = terrains.GetCount() == 1 && selection.elements.GetCount() == 1
                ? cls.PlaceLevelMarker(settings, dialogs, terrains[0])
                : ErrNoConditions;
        } else {
            settings.editedCount = levels.GetCount() + points.GetCount();
            code = cls.ModifySelected(dialogs, levels, points);
        }
    }
    if (code != 0) ShowErrorMessage(code, AlertKind::Error);
}
