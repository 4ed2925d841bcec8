#include "terrain/PointTool.hpp"

#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/UpdatedElements.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/ModuleLog.hpp"
#include "foundation/PointInput.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "foundation/ToolLayerCheck.hpp"
#include "settings/Settings.hpp"
#include "terrain/TerrainInputDialogs.hpp"
#include "terrain/TerrainInputQueries.hpp"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {
constexpr int32_t PromptPointPosition = 7;

template <typename T>
void Fill(T& value, uint8_t byte) {
    std::memset(static_cast<void*>(&value), byte, sizeof value);
}

bool ReadPointRecord(const API_Elem_Head& head, ElemDescriptor& record) {
    return ElemUserData_Read(record, ElemKind_Point, head);
}

bool IsTerrainPoint(const API_Guid& guid) {
    API_Element e;
    Fill(e, 0);
    e.header.guid = guid;
    if (ACAPI_Element_Get(&e) != NoError || e.header.typeID != API_HotspotID) return false;
    ElemDescriptor record;
    return ReadPointRecord(e.header, record);
}

bool Rebuild() {
    API_RebuildParams pars = {};
    return ACAPI_Automate(APIDo_RebuildID, &pars) == NoError;
}

bool DeleteOne(const API_Guid& guid) {
    GS::Array<API_Guid> one;
    one.Push(guid);
    return ACAPI_Element_Delete(one) == NoError;
}

// A copied or pasted point: deleted when it lands on another point, else it becomes a new point of the tool.
bool AdoptCopiedPoints(PointSettings& defaults, const API_Elem_Head* heads, int32_t count) {
    return InFloorPlanDatabase([&] {
        bool ok = true;
        // The points are read once, not once per copy (a paste of many points into a large survey); a copy
        // deleted here is passed over from then on, as a fresh read would not list it.
        QV_List<API_Element> points;
        std::unique_ptr<TerrainPointIndex> index;
        std::vector<uint8_t> deleted;  // by index in `points`
        for (int32_t i = 0; i < count && ok; ++i) {
            const API_Guid guid = heads[i].guid;
            API_Element e;
            ElemDescriptor record;
            bool isPoint = false;
            if (!ReadUpdatedElement(heads[i], APIFilt_IsEditable, ElemKind_Point, e, record, isPoint)) return false;
            if (!isPoint || e.header.typeID != API_HotspotID) continue;
            if (index == nullptr) {
                if (!CollectTerrainPoints(points)) return false;
                index = std::make_unique<TerrainPointIndex>(points);
                deleted.assign(size_t(points.GetCount()), 0);
            }
            const int32_t other = index->FindIf(
                e.hotspot.pos, [&](int32_t k) { return deleted[size_t(k)] == 0 && points[k].header.guid != guid; });
            if (other >= 0) {
                ok = DeleteOne(guid);
                const int32_t self =
                    index->FindIf(e.hotspot.pos, [&](int32_t k) { return points[k].header.guid == guid; });
                if (self >= 0) deleted[size_t(self)] = 1;
                continue;
            }
            if (ACAPI_Element_AttachObserver(guid) != NoError) return false;
            ElemDescriptor fresh;
            fresh.Name = defaults.code;
            fresh.Number = defaults.codeNumber;
            fresh.Value = record.Value;
            fresh.Note = defaults.text;
            fresh.AppendNumber = 1;
            ok = ElemUserData_WriteRecord(fresh, ElemKind_Point, e.header);
            if (ok) defaults.codeNumber = NextPointCodeNumber(defaults.codeNumber);
        }
        return ok;
    });
}

const API_Element* ParentOf(const API_Guid& guid, const API_Element* parents, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        if (parents[i].header.guid == guid) return &parents[i];
    return nullptr;
}

// A terrain point as a drag needs it: where it is.
struct PointPlace {
    API_Guid guid;
    API_Coord pos;
};

// A dragged point: back to where it was when it landed on another point, else its constraints' ends follow it.
// The survey's points are kept as places only (not a kilobyte-record each): every drag reads all of them.
bool FollowDraggedPoints(const API_Elem_Head* heads, int32_t count, const API_Element* parents, int32_t parentCount) {
    return InFloorPlanDatabase([&] {
        std::vector<PointPlace> points;
        QV_List<API_Element> constraints;
        const auto keep = [&](const API_Element& e) {
            points.push_back({e.header.guid, e.hotspot.pos});
            return true;
        };
        if (!VisitTerrainPoints(keep) || !CollectConstraints(constraints)) return false;
        for (int32_t i = 0; i < count; ++i) {
            const API_Guid& guid = heads[i].guid;
            const auto p =
                std::find_if(points.begin(), points.end(), [&](const PointPlace& q) { return q.guid == guid; });
            const API_Element* before = ParentOf(guid, parents, parentCount);
            if (p == points.end()) continue;
            // A dragged point whose place before the host cannot tell: its constraints cannot follow it.
            if (before == nullptr) return false;
            if (before->header.typeID != API_HotspotID) continue;
            const API_Coord from = before->hotspot.pos;
            const API_Coord to = p->pos;
            const bool landed = std::any_of(points.begin(), points.end(), [&](const PointPlace& q) {
                return q.guid != guid && PointsCoincide(q.pos, to);
            });
            if (landed) {
                API_Element back;
                std::memset(static_cast<void*>(&back), 0, sizeof back);
                back.header.guid = guid;
                if (ACAPI_Element_Get(&back) != NoError) return false;
                back.hotspot.pos = from;
                API_Element mask;
                Fill(mask, 0);
                Fill(mask.hotspot.pos, 0xFF);
                if (ACAPI_Element_Change(&back, &mask, nullptr, 0) != NoError) return false;
                p->pos = from;
                continue;
            }
            for (int32_t c = 0; c < constraints.GetCount(); ++c) {
                API_Element line = constraints[c];
                API_Element mask;
                Fill(mask, 0);
                bool moved = false;
                if (PointsCoincide(line.line.begC, from)) {
                    line.line.begC = to;
                    Fill(mask.line.begC, 0xFF);
                    moved = true;
                }
                if (PointsCoincide(line.line.endC, from)) {
                    line.line.endC = to;
                    Fill(mask.line.endC, 0xFF);
                    moved = true;
                }
                if (!moved) continue;
                if (ACAPI_Element_Change(&line, &mask, nullptr, 0) != NoError) return false;
                constraints[c] = line;
            }
        }
        return true;
    });
}

// After a deletion: the constraints that lost a point at either end go too.
bool DropOrphanConstraints() {
    QV_List<API_Element> points, constraints;
    if (!CollectConstraints(constraints)) return false;
    // Without constraints nothing can lose an end: the points (the whole survey) are not read.
    if (constraints.GetCount() == 0) return true;
    if (!CollectTerrainPoints(points)) return false;
    GS::Array<API_Guid> orphans;
    const TerrainPointIndex index(points);
    for (int32_t c = 0; c < constraints.GetCount(); ++c) {
        const API_LineType& l = constraints[c].line;
        if (index.Find(l.begC, APINULLGuid) < 0 || index.Find(l.endC, APINULLGuid) < 0)
            orphans.Push(constraints[c].header.guid);
    }
    for (const API_Guid& g : orphans)
        if (!DeleteOne(g)) return false;
    return true;
}
}  // namespace

PointTool::PointTool(Settings& store, TerrainInputDialogs& dialogs) : store_(store), dialogs_(dialogs) {
    settings.Reset();
    std::memset(changed, 0, sizeof changed);
    clicked = {};
}

DialogAnswer PointTool::EditSettings(SettingsMode mode) {
    PointSettings copy = settings;
    uint8_t flags[PointSettingsFieldCount] = {};
    if (dialogs_.OpenPointSettings(copy, flags, mode) == DialogAnswer::Cancelled) return DialogAnswer::Cancelled;
    settings = copy;
    std::memcpy(changed, flags, sizeof changed);
    return DialogAnswer::Confirmed;
}

int32_t PointTool::AskPosition(bool& given) {
    given = false;
    QV_String prompt;
    GetResString(prompt, PromptTableBase + LanguageIndex, PromptPointPosition);
    for (;;) {
        dialogs_.PrepareCoordinateFields();
        API_Coord3D point = {};
        API_Neig neig = {};
        // Asked inside a command of its own: a layer the palette shows or unlocks meanwhile is a model change.
        GSErrCode err = NoError;
        const bool ran = RunWholeCommand([&] {
            err = GetPointFromUser(point, neig, prompt, nullptr, nullptr, nullptr, nullptr, -1,
                                   dialogs_.CoordinateFeedback(), nullptr, true);
            return true;
        });
        // A refused command asked nothing: taking its empty answer for a click would ask again for ever.
        if (!ran && err == NoError) err = APIERR_GENERAL;
        if (err == APIERR_CANCEL) return 0;
        if (err != NoError) return ErrSpecifyingPoint;
        if (neig.guid != APINULLGuid && IsTerrainPoint(neig.guid)) {
            ShowErrorMessage(ErrPointPresent, AlertKind::Error);
            continue;
        }
        clicked = point;
        given = true;
        return 0;
    }
}

bool PointTool::CreatePoint() {
    API_Element e;
    Fill(e, 0);
    e.header.typeID = API_HotspotID;
    if (ACAPI_Element_GetDefaults(&e, nullptr) != NoError) return false;
    e.header.layer = settings.layer;
    e.header.floorInd = CurrentStoryIndex();
    e.hotspot.pen = settings.pen;
    e.hotspot.pos = {clicked.x, clicked.y};
    e.hotspot.height = 0.0;
    if (CreateElementWithMemo(&e, nullptr, false) != NoError) return false;
    if (ACAPI_Element_AttachObserver(e.header.guid) != NoError) return false;
    ElemDescriptor record;
    record.Name = settings.code;
    record.Number = settings.codeNumber;
    record.Value = settings.value;
    record.Note = settings.text;
    record.AppendNumber = 1;
    if (!ElemUserData_WriteRecord(record, ElemKind_Point, e.header)) return false;
    settings.codeNumber = NextPointCodeNumber(settings.codeNumber);
    store_.points = settings;
    return true;
}

int32_t PointTool::PlaceByClicks() {
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    settings = store_.points;
    // The palette carries the user's height, code and comment: points made without it would silently take others.
    if (!dialogs_.OpenPointPalette(settings)) return ErrDefaults;
    const ElementWriting writing;
    int32_t created = 0;
    int32_t code = 0;
    for (;;) {
        bool given = false;
        code = AskPosition(given);
        if (code != 0 || !given) break;
        dialogs_.StorePointPalette(settings);
        if (!CheckToolLayer(settings.layer)) continue;
        // A point whose record cannot be written is no terrain point: the host takes the hotspot back.
        if (RunWholeCommand([this] { return CreatePoint(); })) {
            ++created;
            dialogs_.InitPointPalette(settings);
        } else {
            ShowErrorMessage(ErrModifying, AlertKind::Error);
        }
    }
    // What the palette holds at the end is the next point's. An input error ends the run like a cancel: the
    // palette goes and the flag only stays for points made, so that the user's next element is not taken for one
    // of ours.
    dialogs_.StorePointPalette(settings);
    store_.points = settings;
    dialogs_.ClosePointPalette();
    if (created == 0) writing.NoneMade();
    return code;
}

int32_t PointTool::PlaceFromHotspots(const QV_List<API_Element>& points) {
    if (points.GetCount() == 0) return 0;
    const API_Element& first = points[0];
    ElemDescriptor record;
    if (!ReadPointRecord(first.header, record)) return ErrModifying;
    settings.pen = first.hotspot.pen;
    settings.layer = int16_t(first.header.layer);
    settings.code = record.Name;
    settings.codeNumber = record.Number;
    settings.value = record.Value;
    settings.text = record.Note;
    if (EditSettings(SettingsMode::Editing(points.GetCount())) == DialogAnswer::Cancelled) return 0;

    const bool ok = RunWholeCommand([&] {
        // The points stay selected when the host will not clear them: the edit is taken back.
        if (ACAPI_Element_DeselectAll() != NoError) return false;
        API_Element mask;
        Fill(mask, 0);
        using Id = PointSettings::Id;
        if (changed[Id::pen] != 0) Fill(mask.hotspot.pen, 0xFF);
        if (changed[Id::layer] != 0) Fill(mask.header.layer, 0xFF);
        const bool recordChanged =
            changed[Id::code] != 0 || changed[Id::codeNumber] != 0 || changed[Id::text] != 0 || changed[Id::value] != 0;
        for (int32_t i = 0; i < points.GetCount(); ++i) {
            const API_Element& point = points[i];
            if (recordChanged) {
                ElemDescriptor own;
                if (!ReadPointRecord(point.header, own)) return false;
                if (changed[Id::code] != 0) own.Name = settings.code;
                if (changed[Id::codeNumber] != 0) own.Number = settings.codeNumber;
                if (changed[Id::value] != 0) own.Value = settings.value;
                if (changed[Id::text] != 0) own.Note = settings.text;
                own.AppendNumber = 1;
                if (!ElemUserData_WriteRecord(own, ElemKind_Point, point.header)) return false;
            }
            API_Element pars = point;
            pars.hotspot.pen = settings.pen;
            pars.header.layer = settings.layer;
            GS::Array<API_Guid> one;
            one.Push(point.header.guid);
            if (ACAPI_Element_ChangeParameters(one, &pars, nullptr, &mask) != NoError) return false;
        }
        return true;
    });
    if (!ok) return ErrModifying;
    Rebuild();
    return 0;
}

bool PointTool::OnElementEvent(PointSettings& defaults, int32_t mode, const API_Elem_Head* heads, int32_t headCount,
                               const API_Element* parents, int32_t parentCount) {
    ModuleLog::LogCall("PointTool::OnElementEvent");
    switch (mode) {
        case 1:
            if (ElementWritten != 0) return true;
            return AdoptCopiedPoints(defaults, heads, headCount);
        case 2: return AdoptCopiedPoints(defaults, heads, headCount);
        case 4: return FollowDraggedPoints(heads, headCount, parents, parentCount);
        case 5: return IsCurrentWindow3D() || DropOrphanConstraints();
        default: return true;
    }
}
