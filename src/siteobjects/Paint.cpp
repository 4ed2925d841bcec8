#include "siteobjects/Paint.hpp"

#include "elements/WrittenMemo.hpp"
#include "elements/ChangeMask.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/NewLibPartObject.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/UpdatedElements.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "geometry/PointRotation.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"
#include "siteobjects/PlacedObject.hpp"
#include "siteobjects/PlacedSettingsChange.hpp"
#include "elements/WholeCommand.hpp"
#include "siteobjects/SiteObjectDialogs.hpp"
#include "terrain/ContourLineCls.hpp"

#include <cmath>
#include <cstring>

namespace {

using PaintField = PaintSettings::Id;

bool FindPart(int32_t& index) {
    return FindLibPartOrAsk(QV_String("VY_PAINTER"), index, true, QV_String(), APILib_ObjectID);
}

// The fields of `source` whose flag is set that the object's parameters carry.
void CopyChanged(const uint8_t changed[PaintFieldCount], PaintSettings& target, const PaintSettings& source) {
    if (changed[PaintField::show2D] != 0) target.show2D = source.show2D;
    if (changed[PaintField::offset] != 0) target.offset = source.offset;
    if (changed[PaintField::resolution] != 0) target.resolution = source.resolution;
    if (changed[PaintField::showName] != 0) target.showName = source.showName;
}

bool IsLineKind(API_ElemTypeID type) {
    return type == API_LineID || type == API_PolyLineID || type == API_ArcID || type == API_CircleID ||
        type == API_SplineID;
}
}  // namespace

PaintCls::PaintCls() {
    settings.SetDefaults();
    std::memset(changed, 0, sizeof changed);
}

DialogAnswer PaintCls::RunSettingsDialog(const Settings& store, SiteObjectDialogs& dialogs, SettingsMode mode,
                                         bool withAreas, const int32_t* earlierCount) {
    PaintDialogState state;
    state.record = settings;
    state.areas = withAreas ? &areas : nullptr;
    state.earlierCount = earlierCount;
    if (withAreas && !areas.IsEmpty()) {
        state.lastMaterial = areas[areas.GetCount() - 1].mat;
        state.lastValue = areas[areas.GetCount() - 1].dislivello;
    } else {
        state.lastMaterial = uint16_t(store.misc.paintMaterial);
        state.lastValue = store.misc.paintValue;
    }
    for (int32_t i = 0; withAreas && i < areas.GetCount(); ++i)
        if (!state.markers.Insert(uint8_t(0))) return DialogAnswer::Cancelled;
    if (dialogs.OpenColouredAreaSettings(state, mode) == DialogAnswer::Cancelled) return DialogAnswer::Cancelled;
    settings = state.record;
    std::memcpy(changed, state.changed, sizeof changed);
    lastMaterial = state.lastMaterial;
    lastValue = state.lastValue;
    return DialogAnswer::Confirmed;
}

bool PaintCls::CollectAreas(const Settings& store) {
    const int16_t material = store.misc.paintMaterial;
    const double value = store.misc.paintValue;
    for (const API_Element& e : elements) {
        pickHead = e.header;
        if (!BuildPrimitives(PrimitiveOptions().AllRings().CloseCodes().MarkRingEnds()) || points2D.IsEmpty())
            return false;
        PaintInfo area;
        for (const QV_CoordLong& p : points2D)
            if (!area.points.Insert(API_Coord3D{p.x, p.y, double(p.code)})) return false;
        if (e.header.typeID == API_HatchID) {
            area.penna = uint16_t(e.hatch.contPen);
            area.penna_retino = uint16_t(e.hatch.fillPen);
            area.sfondo_retino = uint16_t(e.hatch.fillBGPen);
            area.retino = e.hatch.fillInd;
        } else if (IsLineKind(e.header.typeID)) {
            // Lines carry their pen first in their records.
            const int16_t pen = e.line.pen;
            area.penna = area.penna_retino = uint16_t(pen);
        }
        area.mat = uint16_t(material);
        area.dislivello = value;
        if (!areas.Insert(area)) return false;
    }
    return true;
}

bool PaintCls::FindExistingObject() {
    earlierObject.Clear();
    QV_List<API_Element> objects;
    // A search the host cannot finish would place a second object beside the terrain's earlier one.
    if (!CollectAddOnObjects(ElemKind_ColouredArea, API_ObjectID, Leave3D::Yes, objects)) return false;
    for (const API_Element& o : objects) {
        // An object just listed that the host does not pass through its plain filter is one it cannot tell.
        if (!ACAPI_Element_Filter(o.header.guid)) return false;
        PaintLP view(ElemKind_ColouredArea);
        API_Guid linked = APINULLGuid;
        // Nor may one whose parameters or record it would not give: it may be the terrain's.
        if (!BaseLP::AttachToElement(view, ElemKind_ColouredArea, o, linked, true)) return false;
        if (linked != APINULLGuid && linked == element.header.guid) return earlierObject.Insert(o);
    }
    return true;
}

bool PaintCls::PrepareAreas(const Settings& store) {
    earlierAreas.Clear();
    settings.Reset();
    settings.name = QV_String("");
    if (earlierObject.IsEmpty()) {
        settings = store.paint;
        return true;
    }
    const API_Element& earlier = earlierObject[0];
    PlacedParams placed(earlier);
    if (!placed.Read()) return false;
    PaintLP view(ElemKind_ColouredArea);
    placed.AttachView(view);
    const bool ok = PaintLP::ExchangePolygon(view, earlierAreas, LPMode_Get) && SerializeSettings(view, settings, 0);
    placed.DetachView(view);
    if (!ok) return false;
    settings.layer = int16_t(earlier.header.layer);
    nameRead = ReadElementInfoString(earlier.header.guid, settings.name);
    // The new outlines join the earlier ones in the object's own frame, wherever it was moved, turned or mirrored.
    const API_ObjectType& o = earlier.object;
    for (PaintInfo& area : areas)
        for (API_Coord3D& p : area.points) {
            p.x -= o.pos.x;
            p.y -= o.pos.y;
            if (o.angle != 0.0) RotatePoint(p.x, p.y, 0.0, 0.0, -o.angle);
            if (o.reflected != 0) p.x = -p.x;
        }
    QV_List<PaintInfo> all = earlierAreas;
    for (const PaintInfo& a : areas)
        if (!all.Insert(a)) return false;
    areas = all;
    return true;
}

void PaintCls::TranslateAreas(const API_Coord& origin, bool points) {
    for (PaintInfo& area : areas)
        for (API_Coord3D& p : area.points) {
            p.x -= origin.x;
            p.y -= origin.y;
        }
    if (!points) return;
    for (QV_Coord3DLong& p : points3D) {
        p.x -= origin.x;
        p.y -= origin.y;
    }
    for (QV_CoordLong& p : points2D) {
        p.x -= origin.x;
        p.y -= origin.y;
    }
}

bool PaintCls::CreateObject(const QV_String& partName, int16_t, uint16_t, void*, API_Element* existing) {
    QV_String terrainText;
    GuidToText(terrainText, element.header.guid);
    API_Element placed;
    API_ElementMemo memo;
    if (libPartIndex <= 0 || !NewLibPartObject(libPartIndex, placed, memo)) return false;
    double a = std::fabs(bounds.xMax - bounds.xMin), b = std::fabs(bounds.yMax - bounds.yMin);
    double lowest = bounds.zMin, highest = bounds.zMax;
    API_Coord origin{bounds.xMin, bounds.yMin};
    TranslateAreas(origin, true);
    if (existing != nullptr) {
        placed = *existing;
    } else {
        placed.header.layer = settings.layer;
        InitPlacedObject(placed, libPartIndex);
        QV_String name = settings.name;
        SetMemoInfoString(memo, name);
    }
    placed.header.floorInd = element.header.floorInd;
    placed.object.pos = origin;
    placed.object.xRatio = a;
    placed.object.yRatio = b;
    // The areas' heights are absolute: the level cancels the story's, which the host must give (placed at the
    // story's own level, the areas would stand that much off their terrain).
    const double storyLevel = GetStoryLevel(placed.header.floorInd);
    const bool levelKnown = storyLevel < 1e300;
    placed.object.level = levelKnown ? -storyLevel : 0.0;
    PaintLP view(ElemKind_ColouredArea);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    QV_String macro = partName;
    int32_t terrainFlag = element.header.guid == APINULLGuid ? -1 : 0;
    const bool written = levelKnown && view.GetSetDouble(BaseParam::A, a, LPMode_Set) &&
        view.GetSetDouble(BaseParam::B, b, LPMode_Set) &&
        view.GetSetDouble(BaseIDParam::LowestLevel, lowest, LPMode_Set) &&
        view.GetSetDouble(BaseIDParam::HighestLevel, highest, LPMode_Set) &&
        view.GetSetString(BaseIDParam::MacroName, macro, LPMode_Set) &&
        PaintLP::ExchangePolygon(view, areas, LPMode_Set) &&
        view.GetSetInt(BaseIDParam::IDTerrain, terrainFlag, LPMode_Set) &&
        PaintLP::ExchangeOrigin(view, origin, LPMode_Set) && SerializeSettings(view, settings, 1) &&
        WriteCommonLPParams(view, ElemKind_ColouredArea);
    if (!EndMemoWriting(memo, view, written) || !CreateFlaggedObject(placed, memo)) return false;
    if (HostCallWithElementGuid(placed) != NoError) return false;
    ElemDescriptor record;
    record.TerrainGuid = terrainText;
    record.AreaText = descriptor.TerrainId;
    object = placed;
    return ElemUserData_WriteRecord(record, ElemKind_ColouredArea, placed.header);
}

bool PaintCls::UpdateExistingObject() {
    // The area stays selected when the host will not clear it: the update is taken back.
    if (ACAPI_Element_DeselectAll() != NoError) return false;
    API_Element earlier = earlierObject[0];
    API_Element mask = EmptyChangeMask();
    MarkWhen(mask.header.layer, changed[PaintField::layer] != 0);
    earlier.header.layer = settings.layer;
    PlacedParams placed(earlier);
    if (!placed.Read()) return false;
    if (const QV_String* edited = EditedName(settings.name, nameRead, changed[PaintField::name] != 0)) {
        QV_String name = *edited;
        SetMemoInfoString(placed.memo, name);
    }
    PaintLP view(ElemKind_ColouredArea);
    placed.AttachView(view);
    PaintSettings own;
    bool ok = SerializeSettings(view, own, 0);
    CopyChanged(changed, own, settings);
    ok = ok && PaintLP::ExchangePolygon(view, areas, LPMode_Set) && SerializeSettings(view, own, 1);
    placed.DetachView(view);
    ok = ok && placed.Change(earlier, &mask);
    ACAPI_Automate(APIDo_RebuildID, nullptr, nullptr);
    return ok;
}

int32_t PaintCls::Create(Settings& store, SiteObjectDialogs& dialogs, ContourLineRefresh& contours,
                         const QV_List<API_Element>& selected, const API_Element& terrain) {
    elements = selected;
    earlierObject.Clear();
    if (!FindPart(libPartIndex)) return 0;
    if (!EnsureFloorPlanWindow(false) || !SetCurrentStory(terrain.header.floorInd)) return ErrDatabase;
    if (!ReadElement(terrain, true)) return ErrModifying;
    if (!CollectAreas(store) || !FindExistingObject() || !PrepareAreas(store)) return ErrModifying;
    const int32_t earlierCount = earlierAreas.GetCount();
    if (RunSettingsDialog(store, dialogs, SettingsMode::NewElement, true, &earlierCount) == DialogAnswer::Cancelled)
        return 0;
    store.paint = settings;
    store.misc.paintMaterial = int16_t(lastMaterial);
    store.misc.paintValue = lastValue;
    if (earlierObject.IsEmpty()) {
        if (CreateLibPartObject(0, 0, 0, nullptr, nullptr) == 0) return ErrModifying;
        contours.RefreshContourLines(element);
    } else if (!RunWholeCommand([&] { return UpdateExistingObject(); })) {
        return ErrModifying;
    }
    ACAPI_Automate(APIDo_RebuildID, nullptr, nullptr);
    return 0;
}

int32_t PaintCls::EditSettings(Settings& store, SiteObjectDialogs& dialogs) {
    settings = store.paint;
    if (RunSettingsDialog(store, dialogs, SettingsMode::ToolDefaults, false, nullptr) == DialogAnswer::Confirmed)
        store.paint = settings;
    return 0;
}

bool PaintCls::LoadFromSelection(const QV_List<API_Element>& objects) {
    areas.Clear();
    settings.Reset();
    settings.name = QV_String("");
    if (objects.IsEmpty()) return false;
    PlacedParams placed(objects[0]);
    if (!placed.Read()) return false;
    PaintLP view(ElemKind_ColouredArea);
    placed.AttachView(view);
    const bool ok = PaintLP::ExchangePolygon(view, areas, LPMode_Get) && SerializeSettings(view, settings, 0);
    placed.DetachView(view);
    settings.layer = int16_t(objects[0].header.layer);
    nameRead = ReadElementInfoString(objects[0].header.guid, settings.name);
    return ok;
}

bool PaintCls::ApplyToSelection(QV_List<API_Element>& objects) {
    if (ACAPI_Element_DeselectAll() != NoError) return false;
    API_Element mask = EmptyChangeMask();
    MarkWhen(mask.header.layer, changed[PaintField::layer] != 0);
    const QV_String* name = EditedName(settings.name, nameRead, changed[PaintField::name] != 0);
    const bool single = objects.GetCount() == 1;
    for (int32_t i = 0; i < objects.GetCount(); ++i) {
        API_Element& o = objects[i];
        o.header.layer = settings.layer;
        PaintLP view(ElemKind_ColouredArea);
        const auto edit = [&](PaintLP& v, PaintSettings& own) {
            CopyChanged(changed, own, settings);
            return !single || PaintLP::ExchangePolygon(v, areas, LPMode_Set);
        };
        if (!ChangePlacedSettings<PaintSettings>(o, mask, view, name, edit)) return false;
    }
    return true;
}

int32_t PaintCls::ModifySelected(const Settings& store, SiteObjectDialogs& dialogs,
                                 const QV_List<API_Element>& objects) {
    if (ACAPI_Element_DeselectAll() != NoError) return ErrSelectedElement;
    const bool was3D = IsCurrentWindow3D();
    if (was3D && MakeWindowDatabaseCurrent(APIWind_FloorPlanID) != NoError) return ErrDatabase;
    if (!LoadFromSelection(objects)) {
        if (was3D) MakeWindowDatabaseCurrent(APIWind_3DModelID);
        return ErrModifying;
    }
    const int32_t none = 0;
    const bool single = objects.GetCount() == 1;
    if (RunSettingsDialog(store, dialogs, SettingsMode::Editing(objects.GetCount()), single,
                          single ? &none : nullptr) == DialogAnswer::Cancelled) {
        RebuildCurrentWindow(was3D, true, 0);
        return 0;
    }
    QV_List<API_Element> list = objects;
    const bool ok = RunWholeCommand([&] { return ApplyToSelection(list); });
    if (was3D) MakeWindowDatabaseCurrent(APIWind_3DModelID);
    if (!ok) return ErrModifying;
    ACAPI_Automate(APIDo_RebuildID, nullptr, nullptr);
    return 0;
}

int32_t PaintCls::Rebuild(ContourLineRefresh& contours, const API_Element& object) {
    const bool was3D = IsCurrentWindow3D();
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    PaintLP view(ElemKind_ColouredArea);
    API_Guid terrainGuid = APINULLGuid;
    API_Element terrain;
    const bool ok = BaseLP::AttachToElement(view, ElemKind_ColouredArea, object, terrainGuid, true) &&
        ReadTerrainByGuid(terrainGuid, terrain) && SetCurrentStory(terrain.header.floorInd) &&
        ReadElement(terrain, true);
    if (ok) contours.RefreshContourLines(element);
    if (was3D) Ensure3DWindow(false);
    return ok ? 0 : ErrModifying;
}

int32_t PaintCls::OnElementEvent(int32_t mode, const QV_List<API_Elem_Head>& heads) {
    if (mode == 1 && ElementWritten != 0) return 1;
    if (mode != 1 && mode != 2) return 1;
    const bool ok = InFloorPlanDatabase([&] {
        for (const API_Elem_Head& head : heads) {
            API_Element e;
            ElemDescriptor record;
            bool taken = false;
            if (!ReadUpdatedElement(head, APIFilt_IsEditable, ElemKind_ColouredArea, e, record, taken)) return false;
            if (!taken) continue;
            if (ACAPI_Element_AttachObserver(e.header.guid) != NoError) return false;
            PaintLP view(ElemKind_ColouredArea);
            API_Guid terrain = APINULLGuid;
            if (!BaseLP::AttachToElement(view, ElemKind_ColouredArea, e, terrain, false)) return false;
        }
        return true;
    });
    return ok ? 1 : 0;
}
