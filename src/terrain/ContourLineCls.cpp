#include "terrain/ContourLineCls.hpp"

#include "elements/ChangeElementMemo.hpp"
#include "elements/ChangeMask.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/WrittenMemo.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"
#include "terrain/TerrainDialogs.hpp"

#include <cmath>
#include <cstring>

namespace {
const char* const PartName = "VY_CONTOURLINES";

void Rebuild() { ACAPI_Automate(APIDo_RebuildID); }

// The memo of one placed object with a view laid over its parameters, released with it.
class ObjectMemo {
public:
    ObjectMemo(BaseLP& view, const API_Element& element) : view_(view) {
        view.Reset();
        ok_ = ACAPI_Element_GetMemo(element.header.guid, &memo_, AttachMemoMask) == NoError;
        if (ok_) view.Attach(reinterpret_cast<GSHandle>(memo_.params), true);
    }
    ~ObjectMemo() {
        view_.Detach();
        ACAPI_DisposeElemMemoHdls(&memo_);
    }
    ObjectMemo(const ObjectMemo&) = delete;
    ObjectMemo& operator=(const ObjectMemo&) = delete;
    bool Ok() const { return ok_; }
    API_ElementMemo& Memo() { return memo_; }

private:
    BaseLP& view_;
    API_ElementMemo memo_ = {};
    bool ok_ = false;
};

bool WriteLanguage(BaseLP& view) {
    double language = double(LanguageIndex + 1);
    return view.GetSetDoubleByName(QV_String("language"), language, LPMode_Set);
}
}  // namespace

GSErrCode HostCallWithElementGuid(const API_Element& element) {
    return ACAPI_Element_AttachObserver(element.header.guid);
}

GSErrCode ChangeElementsParameters(const QV_List<API_Element>& elements, const API_Element& defaults,
                                   const API_Element& mask) {
    GS::Array<API_Guid> guids;
    for (const API_Element& e : elements) guids.Push(e.header.guid);
    return ACAPI_Element_ChangeParameters(guids, &defaults, nullptr, &mask);
}

ContourLineCls::ContourLineCls() : gradient(0), previousGradient(0), contourLineFlag(0) {
    std::memset(changed, 0, sizeof changed);
    std::memset(apply, 0, sizeof apply);
}

ContourLineCls::~ContourLineCls() = default;

bool ContourLineCls::FindLibPart() {
    int32_t index = -1;
    const bool found = FindLibPartOrAsk(QV_String(PartName), index, true, QV_String(), APILib_ObjectID);
    libPartIndex = found ? index : -1;
    return found;
}

DialogAnswer ContourLineCls::RunSettingsDialog(TerrainDialogs& dialogs, bool useTerrainRange, SettingsMode mode) {
    // Without a terrain (the defaults) the altitudes are free.
    constexpr double AnyAltitude = 9999999.0;
    if (!BoundsSet()) return dialogs.OpenContourLineSettings(settings, changed, -AnyAltitude, AnyAltitude, false, mode);
    return dialogs.OpenContourLineSettings(settings, changed, bounds.zMin, bounds.zMax, useTerrainRange, mode);
}

bool ContourLineCls::CollectLinkedObjects(bool& anyLinked) {
    linked.Clear();
    QV_String terrainText;
    GuidToText(terrainText, element.header.guid);
    anyLinked = false;
    GS::Array<API_Guid> objects;
    if (ACAPI_Element_GetElemList(API_ObjectID, &objects) != NoError) return false;
    for (uint32_t i = 0; i < objects.GetSize(); ++i) {
        // With no filter bits every listed element passes: one that does not, like one that cannot be read, may
        // be the terrain's object, and a search that missed it would put a second one beside it.
        API_Element object = {};
        object.header.guid = objects[i];
        if (!ACAPI_Element_Filter(objects[i]) || ACAPI_Element_Get(&object) != NoError) return false;
        ElemDescriptor record;
        const RecordRead read = ElemUserData_ReadChecked(record, ElemKind_Contour, object.header);
        if (read == RecordRead::Failed) return false;
        if (read == RecordRead::Absent) continue;
        // Matched by the stored text alone: two terrains may overlap, and a moved object still belongs.
        if (!terrainText.IsEmpty() && record.TerrainGuid.Compare(terrainText) == 0) linked.Insert(object);
    }
    anyLinked = linked.GetCount() > 0;
    return true;
}

bool ContourLineCls::ReadObjectSettings(const ContourLineSettings& defaults, bool& showsContourLines, bool withGradient,
                                        uint16_t& outGradient) {
    showsContourLines = false;
    if (linked.GetCount() == 0) {
        settings = defaults;
        return true;
    }
    settings.Reset();
    ContourLineLP view(ElemKind_Contour);
    ObjectMemo memo(view, linked[0]);
    if (!memo.Ok()) return false;
    int16_t flag = 0;
    if (!view.GetSetShort(ContourLineParam::ContourLine, flag, LPMode_Get)) return false;
    if (withGradient) {
        int16_t value = 0;
        if (!view.GetSetShort(ContourLineParam::Gradient, value, LPMode_Get)) return false;
        outGradient = uint16_t(value);
    }
    if (!SerializeSettings(view, settings, 0)) return false;
    settings.layer = uint16_t(linked[0].header.layer);
    settings.lineType = uint16_t(linked[0].object.ltypeInd);
    contourLineFlag = uint16_t(flag);
    showsContourLines = flag == 1;
    return true;
}

int32_t ContourLineCls::CreateFromTerrain(Settings& store, TerrainDialogs& dialogs, const API_Element& terrain) {
    if (!FindLibPart()) return 0;
    if (!ReadElement(terrain, true)) return ErrModifying;
    bool any = false;
    bool shows = false;
    uint16_t unused = 0;
    if (!CollectLinkedObjects(any) || !ReadObjectSettings(store.contour, shows, false, unused)) return ErrModifying;

    store.editedCount = linked.GetCount();
    if (RunSettingsDialog(dialogs, !any || !shows,
                          any ? SettingsMode::Editing(linked.GetCount()) : SettingsMode::NewElement) ==
        DialogAnswer::Cancelled)
        return 0;
    store.contour = settings;

    if (!any) {
        if (CreateLibPartObject(0, ContourMode_Lines, 0, nullptr, nullptr) == 0) return ErrModifying;
        return 0;
    }
    // A failure takes back the objects already changed.
    if (!RunWholeCommand([&] { return UpdateLinkedObjects(true, false, gradient, false) == 0; })) return ErrModifying;
    // The object's script traces the lines from the interval; nothing else needs the window redrawn.
    if (changed[ContourLineSettings::Id::interval] == 0) return 0;
    Rebuild();
    return 0;
}

int32_t ContourLineCls::EditSettings(Settings& store, TerrainDialogs& dialogs) {
    settings = store.contour;
    if (RunSettingsDialog(dialogs, true, SettingsMode::ToolDefaults) == DialogAnswer::Confirmed)
        store.contour = settings;
    return 0;
}

int32_t ContourLineCls::UpdateLinkedObjects(bool contourFlag, bool afterTerrainChange, uint16_t newGradient,
                                            bool gradientChanged) {
    if (!AnyFieldChanged(changed) && !(afterTerrainChange && gradientChanged)) {
        Rebuild();
        return 0;
    }
    API_Element mask = EmptyChangeMask();
    MarkWhen(mask.header.layer, changed[ContourLineSettings::Id::layer] != 0);
    MarkWhen(mask.object.ltypeInd, changed[ContourLineSettings::Id::lineType] != 0);

    for (int32_t i = 0; i < linked.GetCount(); ++i) {
        API_Element& object = linked[i];
        ContourLineLP view(ElemKind_Contour);
        ObjectMemo memo(view, object);
        ContourLineSettings own;
        bool ok = memo.Ok() && SerializeSettings(view, own, 0);
        if (ok) {
            ContourLineSettings::MergeChanged(changed, own, settings);
            int16_t flag = afterTerrainChange && !contourFlag ? 0 : 1;
            ok = view.GetSetShort(ContourLineParam::ContourLine, flag, LPMode_Set);
            if (ok && afterTerrainChange && gradientChanged) {
                int16_t value = int16_t(newGradient);
                ok = view.GetSetShort(ContourLineParam::Gradient, value, LPMode_Set);
            }
            ok = ok && SerializeSettings(view, own, 1) && WriteLanguage(view);
        }
        if (ok) {
            API_Element target = object;
            target.header.layer = settings.layer;
            target.object.ltypeInd = settings.lineType;
            GS::Array<API_Guid> one;
            one.Push(object.header.guid);
            ok = ACAPI_Element_ChangeParameters(one, &target, &memo.Memo(), &mask) == NoError;
        }
        if (!ok) {
            Rebuild();
            return ErrModifying;
        }
    }
    Rebuild();
    return 0;
}

bool ContourLineCls::WriteObjectParams(API_ElementMemo& memo, const QV_String& partName, int16_t mode,
                                       uint16_t gradientValue, QV_List<CalculationVolume>* volumes) {
    ContourLineLP view(ElemKind_Contour);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    int32_t terrainFlag = element.header.guid == APINULLGuid ? -1 : 0;
    QV_String name = partName;
    double a = std::fabs(bounds.xMax - bounds.xMin);
    double b = std::fabs(bounds.yMax - bounds.yMin);
    bool ok = view.GetSetInt(BaseIDParam::IDTerrain, terrainFlag, LPMode_Set) &&
        view.GetSetString(BaseIDParam::MacroName, name, LPMode_Set) && view.GetSetDouble(BaseParam::A, a, LPMode_Set) &&
        view.GetSetDouble(BaseParam::B, b, LPMode_Set) && WriteCommonLPParams(view, ElemKind_Contour) &&
        WriteLanguage(view);
    if (ok && volumes != nullptr) ok = ExchangeStringList(view, *volumes, LPMode_Set);
    if (ok) {
        int16_t one = 1;
        int16_t value = int16_t(gradientValue);
        switch (mode) {
            case ContourMode_Lines: ok = view.GetSetShort(ContourLineParam::ContourLine, one, LPMode_Set); break;
            case ContourMode_Gradient: ok = view.GetSetShort(ContourLineParam::Gradient, value, LPMode_Set); break;
            case ContourMode_Slopes: ok = view.GetSetShort(ContourLineParam::Slopes, one, LPMode_Set); break;
            default: break;
        }
    }
    ok = ok && SerializeSettings(view, settings, 1);
    view.Detach();
    return ok;
}

bool ContourLineCls::CreateObject(const QV_String& partName, int16_t mode, uint16_t gradientValue, void* volumes,
                                  API_Element* existing) {
    QV_String terrainText;
    GuidToText(terrainText, element.header.guid);
    API_Element placed = {};
    placed.header.typeID = API_ObjectID;
    if (ACAPI_Element_GetDefaults(&placed, nullptr) != NoError) return false;
    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    GSHandle params = nullptr;
    if (libPartIndex <= 0 || !BaseLP::GetLibPartParams(libPartIndex, &params, nullptr, nullptr, nullptr)) return false;
    memo.params = reinterpret_cast<API_AddParType**>(params);

    if (existing != nullptr) {
        placed = *existing;
    } else {
        placed.header.floorInd = element.header.floorInd;
        placed.header.layer = settings.layer;
        placed.object.pen = element.mesh.pen;
        placed.object.ltypeInd = settings.lineType;
        placed.object.libInd = libPartIndex;
        placed.object.pos = {bounds.xMin, bounds.yMin};
        QV_String info("Lodrava");
        SetMemoInfoString(memo, info);
    }
    // The object's own heights are absolute: its level cancels the story's.
    const double storyLevel = GetStoryLevel(placed.header.floorInd);
    bool ok = storyLevel < 1e300;
    placed.object.level = ok ? -storyLevel : 0.0;
    ok =
        ok && WriteObjectParams(memo, partName, mode, gradientValue, static_cast<QV_List<CalculationVolume>*>(volumes));
    if (!ok) {
        DisposeElemMemo(memo);
        return false;
    }
    if (!CreateFlaggedObject(placed, memo)) return false;
    if (HostCallWithElementGuid(placed) != NoError) return false;
    ElemDescriptor record;
    record.ContourText = descriptor.TerrainId;
    record.TerrainGuid = terrainText;
    if (!ElemUserData_WriteRecord(record, ElemKind_Contour, placed.header)) return false;
    object = placed;
    return true;
}
