// What a plateau leaves in the model: its cut, fill and result objects written, linked to each other and to the
// terrain; placed plateaus edited together; one plateau's terrain data refreshed on the data update.
#include "earthworks/AlignmentGeometry.hpp"
#include "earthworks/Digging.hpp"
#include "earthworks/EarthworkSelection.hpp"
#include "earthworks/EarthworkRefusal.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "earthworks/RaisedSkirt.hpp"
#include "elements/LevelOnStory.hpp"
#include "elements/WrittenMemo.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "foundation/ErrorCode.hpp"

#include "elements/ChangeElementMemo.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/LeftoverElements.hpp"
#include "elements/TerrainDraping.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "settings/ElementSections.hpp"
#include "terrain/ContourLineCls.hpp"

#include <cstring>

namespace {

// An object of a set that failed halfway: a plateau never consists of one or two objects.
void DeleteObject(const API_Element& object) { DeleteLeftoverElement(object.header.guid); }

bool IsSloped(const API_Element& object) {
    return SlopedPlateauLibIndex > 0 && object.object.libInd == SlopedPlateauLibIndex;
}

// The object's memo with a plateau view over its parameters, released together.
struct PlateauMemo {
    PlateauMemo(const API_Guid& guid, bool sloped) : view(ElemKind_Plateau, sloped ? 1 : 0) {
        ok = ACAPI_Element_GetMemo(guid, &memo, AttachMemoMask) == NoError && memo.params != nullptr;
        if (ok) view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    }
    ~PlateauMemo() {
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    // The array writes may move the records to a new handle.
    void Sync() { memo.params = reinterpret_cast<API_AddParType**>(view.params); }
    API_ElementMemo memo = {};
    DiggingLP view;
    bool ok = false;
};
}  // namespace

bool DiggingCls::WritePlateauObject(API_Element& object, API_ElementMemo& memo, bool sloped, int32_t layer,
                                    const QV_String& role) {
    object.header.layer = layer;
    DiggingLP view(ElemKind_Plateau, sloped ? 1 : 0);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    QV_String operatorText = role;
    int32_t terrainFlag = element.header.guid == APINULLGuid ? -1 : 0;
    int32_t language = LanguageIndex + 1;
    bool written = BaseIDLP::ExchangePerimetroBase(view, points3D, LPMode_Set) &&
        view.GetSetString(BaseIDParam::Operatore, operatorText, LPMode_Set) &&
        view.GetSetInt(BaseIDParam::IDTerrain, terrainFlag, LPMode_Set) &&
        SerializeSettings(view, settings, sloped, 1) &&
        SetLPLevelOnStory(view, element.mesh.level, element.header.floorInd, LPMode_Set) &&
        view.GetSetInt(DiggingParam::Language, language, LPMode_Set) && WriteCommonLPParams(view, ElemKind_Plateau);
    if (written && sloped)
        written = view.GetSetDouble(SlopedDiggingParam::OriginX, slopeOriginX, LPMode_Set) &&
            view.GetSetDouble(SlopedDiggingParam::OriginY, slopeOriginY, LPMode_Set) &&
            view.GetSetDouble(SlopedDiggingParam::SlopeDirection, slopeDirection, LPMode_Set);
    if (!EndMemoWriting(memo, view, written)) return false;
    if (CreateElementWithMemo(&object, &memo, true) != NoError) return false;
    return HostCallWithElementGuid(object) == NoError;
}

bool DiggingCls::StoreLinkRecords(const API_Element& cut, const API_Element& fill, const API_Element& result) {
    descriptor.Reset();
    GuidToText(descriptor.ResultGuid, result.header.guid);
    GuidToText(descriptor.FillGuid, fill.header.guid);
    GuidToText(descriptor.CutGuid, cut.header.guid);
    GuidToText(descriptor.TerrainGuid, element.header.guid);
    for (const API_Element* object : {&cut, &fill, &result})
        if (!ElemUserData_WriteRecord(descriptor, ElemKind_Plateau, object->header)) return false;
    return true;
}

CommandEnd DiggingCls::BuildObjects() {
    const bool sloped = settings.sloped == 1;
    const int32_t libIndex = sloped ? SlopedPlateauLibIndex : PlateauLibIndex;
    API_Element record = {};
    record.header.typeID = API_ObjectID;
    if (ACAPI_Element_GetDefaults(&record, nullptr) != NoError) return CommandEnd::Failed;
    if (libIndex <= 0 || !BaseLP::GetLibPartParams(libIndex, nullptr, nullptr, nullptr, nullptr))
        return CommandEnd::Failed;
    if (points3D.GetCount() < 2) return CommandEnd::Failed;

    const int32_t operatorLayer = GetOrCreateLayerIndex(VY_Operators, 0);
    QV_List<LayerState> states;
    const bool opened = operatorLayer != 1 && SaveAndOpenLayer(operatorLayer, states);
    const auto restore = [&] {
        if (opened) RestoreLayerStates(VY_Operators, states);
    };

    record.object.libInd = libIndex;
    record.object.angle = 0.0;
    record.object.xRatio = 1.0;
    record.object.yRatio = 1.0;
    record.object.pen = int16_t(settings.pen3D);
    const API_Coord origin{points3D[0].x, points3D[0].y};
    TranslateCodedPoints(points3D, origin);
    TranslateCoords2D(frameFirst, origin);
    TranslateCoords2D(frameSecond, origin);
    if (sloped) {
        slopeOriginX -= origin.x;
        slopeOriginY -= origin.y;
    }
    // The closing vertex repeats the first: the rows are the open outline.
    points3D.Remove(points3D.GetCount() - 1);
    record.header.floorInd = element.header.floorInd;
    record.object.pos = origin;
    // Placed from a story level the host would not give, the plateau would stand at the wrong height.
    const double storyLevel = GetStoryLevel(element);
    if (!(storyLevel < UnknownStoryLevel)) {
        restore();
        return CommandEnd::Failed;
    }
    record.object.level = -storyLevel;

    if (!RaiseTerrainSkirt(*this, settings.level)) {
        restore();
        return CommandEnd::Failed;
    }

    API_Element cut = record, fill = record, result = record;
    API_Element* placed[3] = {&cut, &fill, &result};
    const char* roles[3] = {"cut", "fill", "result"};
    const int32_t layers[3] = {operatorLayer, operatorLayer, settings.layer};
    ElementWritten = 1;
    for (int32_t k = 0; k < 3; ++k) {
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        GSHandle params = nullptr;
        const bool read = BaseLP::GetLibPartParams(libIndex, &params, nullptr, nullptr, nullptr);
        memo.params = reinterpret_cast<API_AddParType**>(params);
        QV_String name = settings.name;
        SetMemoInfoString(memo, name);
        bool ok = false;
        if (read)
            ok = WritePlateauObject(*placed[k], memo, sloped, layers[k], QV_String(roles[k]));
        else
            DisposeElemMemo(memo);
        if (!ok) {
            // A plateau is never left with one or two of its objects.
            for (int32_t j = 0; j < k; ++j) DeleteObject(*placed[j]);
            ElementWritten = 0;
            restore();
            return CommandEnd::Failed;
        }
    }

    // The plateau stands: a failure from here on keeps it.
    bool linked = true;
    for (const API_Element* object : placed)
        linked = linked &&
            WriteLinkPresenceParams(object->header, result.header.guid, cut.header.guid, fill.header.guid,
                                    ElemKind_Plateau);
    linked = linked && StoreLinkRecords(cut, fill, result) && LinkElements(*this, cut.header.guid, fill.header.guid);
    restore();
    object = result;
    if (!linked) return CommandEnd::KeepSoFar;
    ACAPI_Automate(APIDo_RebuildID, nullptr, nullptr);
    // A plateau the host builds no body for would reshape nothing: it is not placed.
    if (!RefuseUnbuiltSet(cut.header.guid, fill.header.guid,
                          EarthworkName(settings.name, sloped ? ElemKind_SlopedPlateau : ElemKind_Plateau)))
        return CommandEnd::Failed;
    return CommandEnd::Done;
}

bool DiggingCls::ReadFromObject(const API_Element& picked) {
    settings.Reset();
    const bool sloped = IsSloped(picked);
    PlateauMemo memo(picked.header.guid, sloped);
    if (!memo.ok || !SerializeSettings(memo.view, settings, sloped, 0)) return false;
    if (sloped && !memo.view.GetSetDouble(SlopedDiggingParam::SlopeDirection, slopeDirection, LPMode_Get)) return false;
    settings.layer = uint16_t(picked.header.layer);
    settings.pen3D = uint16_t(picked.object.pen);
    // Every edited plateau takes this name: one the host cannot tell would wipe theirs.
    return ReadElementInfoString(picked.header.guid, settings.name);
}

bool DiggingCls::ApplyToSelected(QV_List<API_Element>& plateaus, bool sloped) {
    if (slopeDirectionChanged == 0 && !AnyFieldChanged(changed)) return true;
    API_Element mask = EmptyChangeMask();
    MarkWhen(mask.header.layer, changed[PlateauSettings::Id::layer] != 0);
    MarkWhen(mask.object.pen, changed[PlateauSettings::Id::pen3D] != 0);
    for (int32_t i = 0; i < plateaus.GetCount(); ++i) {
        API_Element& plateau = plateaus[i];
        plateau.header.layer = settings.layer;
        plateau.object.pen = int16_t(settings.pen3D);
        PlateauMemo memo(plateau.header.guid, sloped);
        if (!memo.ok) return false;
        // Every edited plateau takes the name the dialog showed, the first one's unless it was changed.
        QV_String name = settings.name;
        SetMemoInfoString(memo.memo, name);
        PlateauSettings own;
        int32_t language = LanguageIndex + 1;
        bool ok = SerializeSettings(memo.view, own, sloped, 0);
        PlateauSettings::CopyChangedFields(changed, own, settings);
        // Settings that build no body are refused before they reach the objects.
        BodyFault fault = SlopeAnglesFault({own.cutAngle, own.fillAngle});
        if (fault == BodyFault::None) fault = PlatformSlopeFault(sloped ? own.slope : 0.0, own.cutAngle, own.fillAngle);
        if (ok && !RefuseFault(EarthworkName(settings.name, sloped ? ElemKind_SlopedPlateau : ElemKind_Plateau), fault))
            return false;
        ok = ok && SerializeSettings(memo.view, own, sloped, 1);
        if (ok && slopeDirectionChanged != 0)
            ok = memo.view.GetSetDouble(SlopedDiggingParam::SlopeDirection, slopeDirection, LPMode_Set);
        ok = ok && memo.view.GetSetInt(DiggingParam::Language, language, LPMode_Set);
        memo.Sync();
        GS::Array<API_Guid> one;
        one.Push(plateau.header.guid);
        ok = ok && ACAPI_Element_ChangeParameters(one, &plateau, &memo.memo, &mask) == NoError;
        if (!ok) return false;
        if (SyncSiblingObjects(plateau.header, ElemKind_Plateau, false) == 0) return false;
        if (!RefuseUnbuiltSetOf(plateau, ElemKind_Plateau)) return false;
    }
    return true;
}

int32_t DiggingCls::ModifySelected(EarthworkDialogs& dialogs, const QV_List<API_Element>& plateaus) {
    QV_List<API_Element> list = plateaus;
    bool allSloped = true;
    return ModifyEarthworkSelection(
        [&] {
            if (plateaus.GetCount() == 0 || !ReadFromObject(plateaus[0])) return false;
            if (!FindLibPartOrAsk(QV_String("VY_SLOPED_PLATEAU"), SlopedPlateauLibIndex, true, QV_String(),
                                  APILib_ObjectID))
                return false;
            for (int32_t i = 0; i < plateaus.GetCount(); ++i) allSloped = allSloped && IsSloped(plateaus[i]);
            return true;
        },
        [&] {
            return RunSettingsDialog(dialogs, SettingsMode::Editing(plateaus.GetCount()), slopeDirection,
                                     slopeDirectionChanged, true, allSloped);
        },
        [&] { return ApplyToSelected(list, allSloped); });
}

CommandEnd DiggingCls::RebuildObject(const API_Element& picked) {
    const bool sloped = IsSloped(picked);
    DiggingLP link(ElemKind_Plateau, sloped ? 1 : 0);
    API_Guid terrainGuid = APINULLGuid;
    if (!BaseLP::AttachToElement(link, ElemKind_Plateau, picked, terrainGuid, false)) return CommandEnd::Failed;
    API_Element terrain = {};
    terrain.header.guid = terrainGuid;
    if (ACAPI_Element_Get(&terrain) != NoError || !ReadElement(terrain, false)) return CommandEnd::Failed;
    PlateauMemo memo(picked.header.guid, sloped);
    QV_List<QV_Coord3DLong> rows;
    if (!memo.ok || !BaseIDLP::ExchangePerimetroBase(memo.view, rows, LPMode_Get) || rows.GetCount() == 0)
        return CommandEnd::Failed;
    // Mirror, rotate, move: the first row's place in the world is where the terrain lists are measured from.
    QV_List<API_Coord3D> world;
    for (int32_t i = 0; i < rows.GetCount(); ++i) world.Insert(API_Coord3D{rows[i].x, rows[i].y, rows[i].z});
    ObjectLocalToWorld3D(picked, world);
    const API_Coord origin{world[0].x, world[0].y};
    TranslateCoords2D(frameFirst, origin);
    TranslateCoords2D(frameSecond, origin);
    double skirt = meshSkirt;
    int32_t language = LanguageIndex + 1;
    bool ok = ExchangeCoordLists(memo.view, frameFirst, frameSecond) &&
        memo.view.GetSetDouble(BaseIDParam::Skirt, skirt, LPMode_Set) &&
        SetLPLevelOnStory(memo.view, terrain.mesh.level, picked.header.floorInd, LPMode_Set) &&
        memo.view.GetSetInt(DiggingParam::Language, language, LPMode_Set);
    memo.Sync();
    API_Element changedObject = picked;
    if (!ok || ChangeElementMemo(&changedObject, &memo.memo) != NoError) return CommandEnd::Failed;
    if (SyncSiblingObjects(picked.header, ElemKind_Plateau, false) == 0) return CommandEnd::KeepSoFar;
    // Parameters edited by hand that build no body are not carried on to the terrain.
    return RefuseUnbuiltSetOf(picked, ElemKind_Plateau) ? CommandEnd::Done : CommandEnd::Failed;
}

int32_t DiggingCls::Rebuild(ContourLineRefresh& contours, const API_Element& picked) {
    const bool in3D = IsCurrentWindow3D();
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    LibPartLookup sloped = LibPartLookup::Found;
    if (SlopedPlateauLibIndex <= 0)
        FindLibPartOrAsk(QV_String("VY_SLOPED_PLATEAU"), SlopedPlateauLibIndex, false, QV_String(), APILib_ObjectID,
                         &sloped);
    // A refused search cannot tell a sloped plateau from a level one.
    if (sloped == LibPartLookup::Refused) return ErrFindingData;
    const int told = WarningsShown();
    const bool ok = RunCommand(ExternalCommandUndoText(), [&] { return RebuildObject(picked); });
    if (ok) contours.RefreshContourLines(element);
    if (in3D) Ensure3DWindow(false);
    return ok || WarningsShown() != told ? 0 : ErrModifying;
}
