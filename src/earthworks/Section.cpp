#include "earthworks/Section.hpp"

#include "earthworks/EarthworkDialogs.hpp"
#include "earthworks/EarthworkSelection.hpp"
#include "earthworks/EarthworkSet.hpp"
#include "earthworks/Road.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LibPartHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ObjectSets.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/ToolDefaults.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"

#include <algorithm>
#include <cstring>

namespace {
constexpr int16_t SectionLayerField = SectionSettings::Id::layer;

API_Guid PreparedRoad = APINULLGuid;

// A placed object's parameters under a road view; released with the object.
struct SectionMemo {
    explicit SectionMemo(const API_Guid& guid) : view(ElemKind_Road) {
        ok = ACAPI_Element_GetMemo(guid, &memo, AttachMemoMask) == NoError && memo.params != nullptr;
        if (ok) view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    }
    ~SectionMemo() {
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    SectionMemo(const SectionMemo&) = delete;
    SectionMemo& operator=(const SectionMemo&) = delete;
    // The writes may move the records to a new handle.
    void Sync() { memo.params = reinterpret_cast<API_AddParType**>(view.params); }
    API_ElementMemo memo = {};
    RoadLP view;
    bool ok = false;
};

}  // namespace

const API_Guid& PreparedSectionRoad() { return PreparedRoad; }
void ForgetPreparedSectionRoad() { PreparedRoad = APINULLGuid; }

void CopyChangedFields(const uint8_t (&flags)[SectionFieldCount], SectionSettings& target,
                       const SectionSettings& source) {
    for (int16_t id = 0; id < SectionFieldCount; ++id)
        if (flags[id] != 0 && id != SectionLayerField) target.CopyField(source, id);
}

bool IsSectionObject(const API_Element& element, int32_t libIndex) { return IsRoadSectionObject(element, libIndex); }

bool FilterRoadsWithSection(QV_List<API_Element>& objects, int32_t libIndex) {
    return InFloorPlanDatabase([&] {
        QV_List<API_Element> kept;
        for (int32_t i = 0; i < objects.GetCount(); ++i) {
            bool section = false;
            if (!ReadIsRoadSectionObject(objects[i], libIndex, section)) return false;
            if (section && !kept.Insert(objects[i])) return false;
        }
        objects = kept;
        return true;
    });
}

SectionCls::SectionCls(const QV_String& font) {
    settings.SetDefaults(font);
    std::memset(changed, 0, sizeof changed);
}

DialogAnswer SectionCls::RunSettingsDialog(EarthworkDialogs& dialogs, SettingsMode mode) {
    SectionDialogState state;
    state.record = settings;
    std::memset(state.changed, 0, sizeof state.changed);
    if (dialogs.OpenSectionSettings(state, mode) == DialogAnswer::Cancelled) return DialogAnswer::Cancelled;
    settings = state.record;
    std::memcpy(changed, state.changed, sizeof changed);
    return DialogAnswer::Confirmed;
}

int32_t SectionCls::EditDefaults(Settings& store, EarthworkDialogs& dialogs) {
    settings = store.section;
    if (RunSettingsDialog(dialogs, SettingsMode::ToolDefaults) == DialogAnswer::Confirmed) store.section = settings;
    return 0;
}

int32_t SectionCls::CreateFromRoad(Settings& store, EarthworkDialogs& dialogs, const API_Element& road) {
    // The road stays selected when the host will not clear it: no section is begun.
    if (ACAPI_Element_DeselectAll() != NoError) return ErrSelectedElement;
    if (!EnsureFloorPlanWindow(true)) return ErrDatabase;
    settings = store.section;
    if (RunSettingsDialog(dialogs, SettingsMode::NewElement) == DialogAnswer::Cancelled) return 0;
    store.section = settings;

    // A road whose record names no result object would tag its sections with nothing, and the next data update
    // would delete them: refuse before anything is prepared.
    ElemDescriptor record;
    if (!ElemUserData_Read(record, ElemKind_Road, road.header)) return ErrModifying;
    API_Guid source = APINULLGuid;
    StringToGuid(source, record.OriginalGuid);
    if (source == APINULLGuid) return ErrModifying;

    SectionMemo memo(road.header.guid);
    if (!memo.ok) return ErrModifying;
    int16_t isSection = 1;
    int32_t original = road.header.guid == APINULLGuid ? -1 : 0;
    int32_t modified = 0;
    int32_t language = LanguageIndex + 1;
    const bool written = SerializeSettings2(memo.view, settings, 1) &&
        memo.view.GetSetShort(RoadParam::Section, isSection, LPMode_Set) &&
        memo.view.GetSetInt(RoadParam::Original, original, LPMode_Set) &&
        memo.view.GetSetInt(RoadParam::FlagModificato, modified, LPMode_Set) &&
        memo.view.GetSetInt(RoadParam::Language, language, LPMode_Set);
    memo.Sync();
    if (!written) return ErrModifying;

    API_Element copy = road;
    copy.header.layer = settings.layer;
    if (SelectToolWithDefaults(road.object.libInd, reinterpret_cast<GSHandle>(memo.memo.params), &copy, nullptr,
                               API_ObjectID, 0) != NoError)
        return ErrModifying;
    PreparedRoad = source;
    return 0;
}

int32_t SectionCls::OnElementEvent(int32_t code, const QV_List<API_Elem_Head>& heads) {
    return code == 1 ? TagNewSectionObjects(heads) : 1;
}

int32_t SectionCls::TagNewSectionObjects(const QV_List<API_Elem_Head>& heads) {
    if (heads.GetCount() == 0) return 1;
    API_LibPart part;
    const GSErrCode found = LibPart_SearchByName(QV_String("VY_ROAD"), APILib_ObjectID, part);
    // Without the road part (not loaded, or its file missing) there is no section to tag.
    if (LibPartSearchRefused(found)) return 0;
    if (found != NoError) return 1;
    // Nothing prepared yet: a null road would mark the sections for deletion.
    if (PreparedRoad == APINULLGuid) return 1;
    const bool done = InFloorPlanDatabase([&] {
        for (int32_t i = 0; i < heads.GetCount(); ++i) {
            API_Element element = {};
            element.header.guid = heads[i].guid;
            const GSErrCode err = ACAPI_Element_Get(&element);
            if (err == APIERR_BADID) continue;  // gone again, or not in this database
            bool isSection = false;
            if (err != NoError || !ReadIsRoadSectionObject(element, part.index, isSection)) return false;
            if (!isSection) continue;
            if (ACAPI_Element_AttachObserver(element.header.guid) != NoError) return false;
            ElemDescriptor existing;
            bool tagged = false;
            if (!ReadElementRecord(element.header, ElemKind_Section, true, existing, tagged)) return false;
            if (tagged) continue;
            ElemDescriptor record;
            GuidToText(record.OriginalGuid, PreparedRoad);
            if (!ElemUserData_WriteRecord(record, ElemKind_Section, element.header)) return false;
        }
        return true;
    });
    return done ? 1 : 0;
}

bool SectionCls::ApplyToSelected(QV_List<API_Element>& sections) {
    if (!AnyFieldChanged(changed)) return true;
    // The edited objects stay selected when the host will not clear them: the edit fails and is taken back.
    if (ACAPI_Element_DeselectAll() != NoError) return false;
    API_Element mask = EmptyChangeMask();
    MarkWhen(mask.header.layer, changed[SectionLayerField] != 0);
    for (int32_t i = 0; i < sections.GetCount(); ++i) {
        API_Element& section = sections[i];
        section.header.layer = settings.layer;
        SectionMemo memo(section.header.guid);
        if (!memo.ok) return false;
        SectionSettings own;
        int32_t language = LanguageIndex + 1;
        bool ok = SerializeSettings2(memo.view, own, 0);
        CopyChangedFields(changed, own, settings);
        ok = ok && SerializeSettings2(memo.view, own, 1) &&
            memo.view.GetSetInt(RoadParam::Language, language, LPMode_Set);
        memo.Sync();
        GS::Array<API_Guid> one;
        one.Push(section.header.guid);
        if (!ok || ACAPI_Element_ChangeParameters(one, &section, &memo.memo, &mask) != NoError) return false;
    }
    return true;
}

int32_t SectionCls::ModifySelected(EarthworkDialogs& dialogs, const QV_List<API_Element>& sections) {
    QV_List<API_Element> list = sections;
    const auto read = [&] {
        if (sections.GetCount() == 0) return false;
        settings.Reset();
        SectionMemo memo(sections[0].header.guid);
        if (!memo.ok || !SerializeSettings2(memo.view, settings, 0)) return false;
        settings.layer = uint16_t(sections[0].header.layer);
        return true;
    };
    const auto dialog = [&] { return RunSettingsDialog(dialogs, SettingsMode::Editing(sections.GetCount())); };
    return ModifyEarthworkSelection(
        read, dialog, [&] { return ApplyToSelected(list); }, false);
}

void CopyCommonHeights(const QV_List<QV_Coord3DLong>& section, QV_List<QV_Coord3DLong>& road) {
    const int32_t n = std::min(section.GetCount(), road.GetCount());
    for (int32_t i = 0; i < n; ++i) road[i].z = section[i].z;
}

CommandEnd SectionCls::TransferToRoad(const API_Element& section, const API_WindowInfo& window, API_Element& terrain,
                                      bool& rebuilt) {
    const bool in3D = window.typeID == APIWind_3DModelID;
    const bool inSection = window.typeID == APIWind_SectionID;
    API_WindowInfo remembered = window;
    // Once the section or the road is written, a failure keeps what was written.
    bool written = false;
    const auto back = [&](bool result) {
        if (in3D || inSection) ACAPI_Automate(APIDo_ChangeWindowID, &remembered);
        return result ? CommandEnd::Done : written ? CommandEnd::KeepSoFar : CommandEnd::Failed;
    };
    if (in3D && MakeWindowDatabaseCurrent(APIWind_FloorPlanID) != NoError) return CommandEnd::Failed;

    API_Element own = section;
    SectionMemo memo(section.header.guid);
    int32_t modified = 0;
    ElemDescriptor record;
    if (!memo.ok || !memo.view.GetSetInt(RoadParam::FlagModificato, modified, LPMode_Set) ||
        !ElemUserData_Read(record, ElemKind_Section, section.header))
        return back(false);
    memo.Sync();
    API_Guid source = APINULLGuid;
    StringToGuid(source, record.OriginalGuid);
    if (inSection && ChangeElementMemo(&own, &memo.memo) != NoError) return back(false);
    written = inSection;

    if (source == APINULLGuid) {
        // Removed while the plan database is current: the 3D model's refuses changes.
        GS::Array<API_Guid> one;
        one.Push(section.header.guid);
        const bool deleted = ACAPI_Element_Delete(one) == NoError;
        if (in3D) ACAPI_Automate(APIDo_ChangeWindowID, &remembered);
        return deleted ? CommandEnd::Done : written ? CommandEnd::KeepSoFar : CommandEnd::Failed;
    }

    if (inSection && MakeWindowDatabaseCurrent(APIWind_FloorPlanID) != NoError) return back(false);
    API_Element road = {};
    road.header.guid = source;
    if (ACAPI_Element_Get(&road) != NoError) return back(false);
    SectionMemo roadMemo(source);
    QV_List<QV_Coord3DLong> ownLeft, ownRight, roadLeft, roadRight;
    int32_t language = LanguageIndex + 1;
    bool ok = roadMemo.ok && BaseIDLP::ExchangePerimetroBaseSX(memo.view, ownLeft, LPMode_Get) &&
        BaseIDLP::ExchangePerimetroBaseDX(memo.view, ownRight, LPMode_Get) &&
        BaseIDLP::ExchangePerimetroBaseSX(roadMemo.view, roadLeft, LPMode_Get) &&
        BaseIDLP::ExchangePerimetroBaseDX(roadMemo.view, roadRight, LPMode_Get);
    if (ok) {
        CopyCommonHeights(ownLeft, roadLeft);
        CopyCommonHeights(ownRight, roadRight);
        ok = BaseIDLP::ExchangePerimetroBaseSX(roadMemo.view, roadLeft, LPMode_Set) &&
            BaseIDLP::ExchangePerimetroBaseDX(roadMemo.view, roadRight, LPMode_Set) &&
            roadMemo.view.GetSetInt(RoadParam::FlagModificato, modified, LPMode_Set) &&
            roadMemo.view.GetSetInt(RoadParam::Language, language, LPMode_Set);
        roadMemo.Sync();
    }
    ok = ok && ChangeElementMemo(&road, &roadMemo.memo) == NoError;
    written = written || ok;
    if (ok && !inSection) ok = ChangeElementMemo(&own, &memo.memo) == NoError;
    // The partners take the new edges, then the whole road is draped again.
    ok = ok && SyncSiblingObjects(road.header, ElemKind_Road, false) != 0;
    if (ok) {
        RoadCls roadCls;
        roadCls.libPartIndex = section.object.libInd;
        roadCls.roadLibIndex = section.object.libInd;
        if (ACAPI_Element_Get(&road) != NoError) return back(false);
        ok = roadCls.RebuildInCommand(road, terrain) == 0;
        rebuilt = ok;
    }
    return back(ok);
}

int32_t SectionCls::Rebuild(EarthworkDialogs& dialogs, ContourLineRefresh& contours, const API_Element& section) {
    API_WindowInfo window = {};
    if (ACAPI_Database(APIDb_GetCurrentWindowID, &window) != NoError) window.typeID = APIWind_FloorPlanID;
    API_Element terrain = {};
    bool rebuilt = false;
    const bool ok =
        RunCommand(ExternalCommandUndoText(), [&] { return TransferToRoad(section, window, terrain, rebuilt); });
    // The terrain's contour lines are made in the plan, then the user's window comes back.
    bool windowBack = true, inPlan = true;
    if (rebuilt && window.typeID == APIWind_FloorPlanID) {
        contours.RefreshContourLines(terrain);
    } else if (rebuilt && (inPlan = EnsureFloorPlanWindow(false))) {
        contours.RefreshContourLines(terrain);
        windowBack = ACAPI_Automate(APIDo_ChangeWindowID, &window) == NoError;
    }
    if (rebuilt && window.typeID == APIWind_SectionID) dialogs.SectionWindowRebuilt();
    if (!ok) return ErrModifying;
    // The user is told when the plan could not be reached (the contour lines stay as they were) or the window they
    // worked in cannot be brought back.
    return windowBack && inPlan ? 0 : ErrDatabase;
}
