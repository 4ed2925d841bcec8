#include "earthworks/Basin.hpp"

#include "earthworks/BasinOutline.hpp"
#include "earthworks/EarthworkDialogs.hpp"
#include "earthworks/EarthworkSelection.hpp"
#include "earthworks/TerrainCutObject.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "elements/LevelOnStory.hpp"
#include "elements/WrittenMemo.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/NewLibPartObject.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/TerrainDraping.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/PointInput.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "geometry/FramePolygons.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"
#include "terrain/ContourLineCls.hpp"

#include "GSArray.hpp"

#include <cmath>
#include <cstring>

namespace Basin {

int32_t BasinLibIndex = -1;

namespace {

constexpr int32_t PromptPoint = 5;
constexpr int16_t AttributeId = 3;
constexpr int16_t LayerId = 8;
constexpr int16_t NameId = 9;
constexpr int16_t LevelId = 10;

bool DeleteOne(const API_Guid& guid) {
    GS::Array<API_Guid> one;
    one.Push(guid);
    return ACAPI_Element_Delete(one) == NoError;
}

// The terrain's story made current and the terrain read (with its box and frame).
int32_t ReadTerrain(BaseCls& cls, const API_Element& terrain) {
    if (!SetCurrentStory(terrain.header.floorInd)) return ErrDatabase;
    return cls.ReadElement(terrain, true) ? 0 : ErrModifying;
}

// Rotation by `angle` (radians) with x negated first when mirrored, then the move to `origin`.
void ToWorld(QV_CoordLong& p, double angle, bool mirrored, const API_Coord& origin) {
    double x = mirrored ? -p.x : p.x;
    double y = p.y;
    if (angle != 0.0) {
        const double c = std::cos(angle), s = std::sin(angle);
        const double rx = x * c - y * s;
        y = x * s + y * c;
        x = rx;
    }
    p.x = x + origin.x;
    p.y = y + origin.y;
}

void ToObject(QV_CoordLong& p, double angle, bool mirrored, const API_Coord& origin) {
    double x = p.x - origin.x;
    double y = p.y - origin.y;
    if (angle != 0.0) {
        const double c = std::cos(-angle), s = std::sin(-angle);
        const double rx = x * c - y * s;
        y = x * s + y * c;
        x = rx;
    }
    p.x = mirrored ? -x : x;
    p.y = y;
}

// "perimetro_base", "mesh_skirt" and "language" into the view.
bool WriteOutlineParams(BasinLP& view, QV_List<QV_CoordLong>& outline, double skirt) {
    int32_t language = LanguageIndex + 1;
    return LPArrays::CodedTripleRows(view, BasinParam::Outline, outline, LPMode_Set) &&
        view.GetSetDouble(BaseIDParam::Skirt, skirt, LPMode_Set) &&
        view.GetSetInt(BasinParam::Language, language, LPMode_Set);
}

}  // namespace

void OutlineToWorld(const API_ObjectType& object, QV_List<QV_CoordLong>& outline) {
    for (QV_CoordLong& p : outline) ToWorld(p, object.angle, object.reflected != 0, object.pos);
}

void OutlineToObject(const API_ObjectType& object, QV_List<QV_CoordLong>& outline) {
    for (QV_CoordLong& p : outline) ToObject(p, object.angle, object.reflected != 0, object.pos);
}

BasinCls::BasinCls() : builderIndex(0), picked{0.0, 0.0, 0.0}, tracer{} {
    settings.SetDefaults();
    std::memset(changed, 0, sizeof changed);
}

DialogAnswer BasinCls::RunSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode) {
    uint8_t flags[BasinFieldCount] = {};
    BasinSettings edited = settings;
    if (dialogs.OpenBasinSettings(edited, flags, mode) == DialogAnswer::Cancelled) return DialogAnswer::Cancelled;
    settings = edited;
    std::memcpy(changed, flags, sizeof changed);
    return DialogAnswer::Confirmed;
}

int32_t BasinCls::EditDefaults(Settings& store, EarthworkDialogs& dialogs) {
    settings = store.basin;
    if (RunSettingsDialog(dialogs, SettingsMode::ToolDefaults) == DialogAnswer::Confirmed) store.basin = settings;
    return 0;
}

bool BasinCls::CreateObject(const QV_String& partName, int16_t, uint16_t, void*, API_Element*) {
    if (builderIndex <= 0 || !BoundsSet()) return false;
    // A story level the host cannot tell would place the tracer at a height it never gave.
    const double storyLevel = GetStoryLevel(element.header.floorInd);
    if (!(storyLevel < UnknownStoryLevel)) return false;
    API_Element placed;
    API_ElementMemo memo;
    if (!NewLibPartObject(builderIndex, placed, memo)) return false;

    placed.header.layer = settings.layer;
    placed.header.floorInd = element.header.floorInd;
    placed.object.libInd = builderIndex;
    placed.object.pos = {bounds.xMin, bounds.yMin};
    placed.object.xRatio = bounds.xMax - bounds.xMin;
    placed.object.yRatio = bounds.yMax - bounds.yMin;
    placed.object.level = settings.level - storyLevel;
    QV_String info("Lodrava");
    SetMemoInfoString(memo, info);

    BasinBuilderLP view(ElemKind_Basin);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    int32_t terrainFlag = element.header.guid == APINULLGuid ? -1 : 0;
    QV_String macro = partName;
    double a = placed.object.xRatio, b = placed.object.yRatio;
    double low = bounds.zMin, high = bounds.zMax;
    double level = settings.level;
    double meshLevel = storyLevel + element.mesh.level;
    double skirt = element.mesh.skirtLevel;
    const bool written = view.GetSetInt(BaseIDParam::IDTerrain, terrainFlag, LPMode_Set) &&
        view.GetSetString(BaseIDParam::MacroName, macro, LPMode_Set) &&
        view.GetSetDouble(BaseParam::A, a, LPMode_Set) && view.GetSetDouble(BaseParam::B, b, LPMode_Set) &&
        view.GetSetDouble(BaseIDParam::LowestLevel, low, LPMode_Set) &&
        view.GetSetDouble(BaseIDParam::HighestLevel, high, LPMode_Set) &&
        view.GetSetDouble(BasinBuilderParam::Level, level, LPMode_Set) &&
        view.GetSetDouble(BasinBuilderParam::MeshLevel, meshLevel, LPMode_Set) &&
        view.GetSetDouble(BaseIDParam::Skirt, skirt, LPMode_Set) && WriteCommonLPParams(view, ElemKind_Basin);
    if (!EndMemoWriting(memo, view, written)) return false;
    if (!CreateFlaggedObject(placed, memo)) return false;
    tracer = placed;
    return true;
}

bool BasinCls::TraceLevelLines(QV_Explode& container) {
    std::memset(static_cast<void*>(&tracer), 0, sizeof tracer);
    if (CreateLibPartObject(0, int16_t(ElemKind_Basin), 0, nullptr, nullptr) != 1 || tracer.header.guid == APINULLGuid)
        return false;
    if (container.Run(tracer.header) != NoError) return false;
    KeepPolygonPrimitives(container);
    return true;
}

bool BasinCls::DeleteTracer() {
    if (tracer.header.guid == APINULLGuid) return true;
    if (!DeleteOne(tracer.header.guid)) return false;
    std::memset(static_cast<void*>(&tracer), 0, sizeof tracer);
    return true;
}

bool BasinCls::PlaceBasin(const QV_List<QV_CoordLong>& outline) {
    if (BasinLibIndex <= 0 || outline.GetCount() == 0) return false;
    API_Element placed;
    API_ElementMemo memo;
    if (!NewLibPartObject(BasinLibIndex, placed, memo)) return false;

    const API_Coord origin{bounds.xMin, bounds.yMin};
    QV_List<QV_CoordLong> relative(outline);
    for (QV_CoordLong& p : relative) {
        p.x -= origin.x;
        p.y -= origin.y;
    }
    placed.header.layer = settings.layer;
    placed.header.floorInd = element.header.floorInd;
    placed.object.ltypeInd = settings.attribute;
    placed.object.libInd = BasinLibIndex;
    placed.object.pos = origin;
    placed.object.xRatio = 1.0;
    placed.object.yRatio = 1.0;
    placed.object.level = element.mesh.level;
    QV_String name = settings.name;
    SetMemoInfoString(memo, name);

    BasinLP view(ElemKind_Basin);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    int32_t terrainFlag = element.header.guid == APINULLGuid ? -1 : 0;
    const bool written = LPArrays::CodedTripleRows(view, BasinParam::Outline, relative, LPMode_Set) &&
        view.GetSetInt(BaseIDParam::IDTerrain, terrainFlag, LPMode_Set) &&
        SetLPLevelOnStory(view, element.mesh.level, element.header.floorInd, LPMode_Set) &&
        WriteOutlineParams(view, relative, element.mesh.skirtLevel) && SerializeSettings(view, settings, 1);
    if (!EndMemoWriting(memo, view, written)) return false;
    return PlaceTerrainCutObject(placed, memo, ElemKind_Basin, element, descriptor.TerrainId, object);
}

int32_t BasinCls::Create(Settings& store, EarthworkDialogs& dialogs, const API_Element& terrain) {
    ACAPI_Element_DeselectAll();
    if (!EnsureFloorPlanWindow(true)) return ErrDatabase;
    if (!FindLibPartOrAsk(QV_String("VY_BASIN"), BasinLibIndex, true, QV_String(), APILib_ObjectID)) return 0;
    int32_t builder = -1;
    if (!FindLibPartOrAsk(QV_String("VY3_BasinBuilder"), builder, true, QV_String(), APILib_ObjectID)) return 0;
    builderIndex = builder;
    if (const int32_t err = ReadTerrain(*this, terrain)) return err;
    QV_Poly outline;
    if (!outline.ReadFromElement(terrain.header, 0)) return ErrModifying;

    settings = store.basin;
    if (RunSettingsDialog(dialogs, SettingsMode::NewElement) == DialogAnswer::Cancelled) return 0;
    store.basin = settings;

    QV_String prompt;
    GetResString(prompt, PromptTableBase + LanguageIndex, PromptPoint);
    for (;;) {
        API_Neig neig = {};
        const GSErrCode err =
            GetPointFromUser(picked, neig, prompt, nullptr, nullptr, nullptr, nullptr, -1, nullptr, nullptr, true);
        if (err == APIERR_CANCEL) return 0;
        if (err != NoError) return ErrSpecifyingPoint;
        if (PointInPolygonWithArcs(outline, API_Coord{picked.x, picked.y}) == 1) break;
        ShowErrorMessage(ErrClickInsideTerrain, AlertKind::Warning);
    }

    // The height sampled at the point, the tracer and the basin are one command: a step that fails, the tracer's
    // removal among them, takes it all back, and no level line around the point is a failure too.
    const bool placed = RunWholeCommand([&] {
        double height = 0.0;
        if (!CreateSquareElementAt(*this, API_Coord{picked.x, picked.y}, height)) return false;
        settings.level = height;
        QV_Explode container;
        QV_List<QV_CoordLong> chosen;
        return TraceLevelLines(container) && ChooseOutline(container, API_Coord{picked.x, picked.y}, chosen) &&
            DeleteTracer() && PlaceBasin(chosen);
    });
    return placed ? 0 : ErrModifying;
}

bool BasinCls::ApplyToSelected(QV_List<API_Element>& basins) {
    if (!AnyFieldChanged(changed)) return true;
    API_Element mask = EmptyChangeMask();
    MarkWhen(mask.header.layer, changed[LayerId] != 0);
    MarkWhen(mask.object.ltypeInd, changed[AttributeId] != 0);
    for (API_Element& basin : basins) {
        basin.header.layer = settings.layer;
        basin.object.ltypeInd = settings.attribute;
        const auto copy = [&](BasinSettings& own) {
            for (int16_t id : {0, 1, 2, 4, 5, 6, 7})
                if (changed[id] != 0) own.SetShort(id, int16_t(settings.GetShort(id)));
            if (changed[LevelId] != 0) own.level = settings.level;
        };
        const bool ok = RewriteObjectSettings<BasinLP, BasinSettings>(
            basin, ElemKind_Basin, changed[NameId] != 0 ? &settings.name : nullptr, copy, BasinParam::Language, mask);
        if (!ok) return false;
    }
    return true;
}

int32_t BasinCls::Modify(EarthworkDialogs& dialogs, const QV_List<API_Element>& basins) {
    QV_List<API_Element> list = basins;
    const auto read = [&] {
        if (basins.GetCount() == 0) return false;
        const API_Element& first = basins[0];
        const bool ok = ReadObjectSettings<BasinLP>(first, ElemKind_Basin, settings);
        settings.layer = first.header.layer;
        settings.attribute = first.object.ltypeInd;
        return ok;
    };
    return ModifyEarthworkSelection(
        read, [&] { return RunSettingsDialog(dialogs, SettingsMode::Editing(basins.GetCount())); },
        [&] { return ApplyToSelected(list); });
}

bool BasinCls::ApplyUpdatedOutline(const QV_List<QV_CoordLong>& outline) {
    if (!DeleteTracer()) return false;
    QV_List<QV_CoordLong> relative(outline);
    OutlineToObject(object.object, relative);
    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    if (ACAPI_Element_GetMemo(object.header.guid, &memo, AttachMemoMask) != NoError || memo.params == nullptr) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return false;
    }
    BasinLP view(ElemKind_Basin);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    bool ok = WriteOutlineParams(view, relative, element.mesh.skirtLevel);
    memo.params = reinterpret_cast<API_AddParType**>(view.params);
    view.Detach();
    ok = ok && ChangeElementMemo(&object, &memo) == NoError;
    ACAPI_DisposeElemMemoHdls(&memo);
    // The terrain's cut stays in place throughout: linking again only confirms it (an existing link is no
    // failure), so no failure can leave the basin uncut.
    return ok && LinkElementGuids(element, object);
}

int32_t BasinCls::UpdateBuilder(const API_Element& basin) {
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    int32_t builder = -1;
    if (!FindLibPartOrAsk(QV_String("VY3_BasinBuilder"), builder, true, QV_String(), APILib_ObjectID)) return 0;
    builderIndex = builder;
    object = basin;
    BasinLP view(ElemKind_Basin);
    API_Guid terrainGuid = APINULLGuid;
    if (!SetCurrentStory(basin.header.floorInd)) return ErrDatabase;
    if (!BaseLP::AttachToElement(view, ElemKind_Basin, basin, terrainGuid, true) || terrainGuid == APINULLGuid)
        return ErrModifying;
    API_Element terrain = {};
    terrain.header.guid = terrainGuid;
    if (ACAPI_Element_Get(&terrain) != NoError || !ReadElement(terrain, true)) return ErrModifying;

    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    if (ACAPI_Element_GetMemo(basin.header.guid, &memo, AttachMemoMask) != NoError || memo.params == nullptr) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return ErrModifying;
    }
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    BasinSettings stored;
    QV_List<QV_CoordLong> storedOutline;
    bool ok = SerializeSettings(view, stored, 0) &&
        LPArrays::CodedTripleRows(view, BasinParam::Outline, storedOutline, LPMode_Get);
    view.Detach();
    ACAPI_DisposeElemMemoHdls(&memo);
    // An outline the object cannot have been given (too short, not numbers) is refused before any tracing.
    ok = ok && storedOutline.GetCount() >= 3;
    for (const QV_CoordLong& p : storedOutline) ok = ok && std::isfinite(p.x) && std::isfinite(p.y);
    if (!ok) return ErrModifying;
    settings.level = stored.level;
    OutlineToWorld(basin.object, storedOutline);

    // The tracer lives only inside this command: a step that fails, its removal among them, takes it back with
    // the rest. No level line left, or none meeting the basin, is a failure too: the user's basin stays as it is.
    const bool updated = RunWholeCommand([&] {
        QV_Explode container;
        QV_List<QV_CoordLong> chosen;
        return TraceLevelLines(container) && container.polygons.GetCount() > 0 &&
            ChooseUpdatedOutline(storedOutline, container, chosen) && ApplyUpdatedOutline(chosen);
    });
    return updated ? 0 : ErrModifying;
}

}  // namespace Basin
