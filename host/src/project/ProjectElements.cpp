#include "project/ProjectElements.hpp"

#include "GSRoot.hpp"
#include "project/ElementTypes.hpp"
#include "project/MeshMemoCheck.hpp"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {
struct FieldRange {
    size_t offset;
    size_t size;
};

// Head fields a change may write; typeID, variationID, guid, modiStamp, hasMemo and userDataVersion are the
// host's. A head field counts as marked when any byte of its mask is not zero.
const FieldRange kChangeableHeadFields[] = {
    {offsetof(API_Elem_Head, groupGuid), sizeof(API_Guid)},
    {offsetof(API_Elem_Head, floorInd), sizeof(int16_t)},
    {offsetof(API_Elem_Head, locked), sizeof(uint8_t)},
    {offsetof(API_Elem_Head, drwIndex), sizeof(int16_t)},
    {offsetof(API_Elem_Head, renovationStatus), sizeof(int16_t)},
    {offsetof(API_Elem_Head, hotlinkIndex), sizeof(int32_t)},
    {offsetof(API_Elem_Head, layer), sizeof(int32_t)},
};

// Writes the fields of `source` that `mask` marks into `target`: head fields whole, the type's part bytewise.
void ApplyMask(API_Element& target, const API_Element& source, const API_Element& mask) {
    for (const FieldRange& f : kChangeableHeadFields) {
        bool marked = false;
        for (size_t i = 0; i < f.size; ++i) marked = marked || mask.bytes[f.offset + i] != 0;
        if (marked) std::memcpy(target.bytes + f.offset, source.bytes + f.offset, f.size);
    }
    for (size_t i = sizeof(API_Elem_Head); i < sizeof(API_Element); ++i)
        if (mask.bytes[i] != 0) target.bytes[i] = source.bytes[i];
}

template <typename T>
size_t Count(const MemoPart<std::vector<T>>& v) {
    return v ? v->size() : 0;
}
}  // namespace

GSErrCode ProjectElements::CheckRecord(const API_Element& rec, const StoredMemo& memo) const {
    const API_ElemTypeID t = rec.header.typeID;
    if (!ValidElementType(t)) return Refuse(APIERR_BADELEMTYPE, "element type " + std::to_string(t) + " is unknown");
    bool storyFound = false;
    for (const API_StoryType& s : model_.stories) storyFound = storyFound || s.index == rec.header.floorInd;
    if (!storyFound) return Refuse(APIERR_BADINDEX, "no story " + std::to_string(rec.header.floorInd));
    if (!LayerUsable(rec.header.layer, false))
        return Refuse(APIERR_BADINDEX, "no layer " + std::to_string(rec.header.layer));
    if (!LayerUsable(rec.header.layer, true))
        return Refuse(APIERR_LOCKEDLAYER, "layer " + std::to_string(rec.header.layer) + " is locked");
    if (t == API_ObjectID || t == API_LampID || t == API_WindowID || t == API_DoorID) {
        const int32_t libInd = rec.object.libInd;
        if (libInd < 1 || (libPartExists && !libPartExists(libInd)))
            return Refuse(APIERR_BADINDEX, "no library part " + std::to_string(libInd));
    }
    if (HasPolygon(t)) {
        const API_Polygon& p = *APIPolygonOf(rec);
        const std::string what = ElementTypeName(t) + " polygon: ";
        if (p.nCoords < 2 || p.nSubPolys < 1 || p.nArcs < 0 || p.nSubPolys > p.nCoords)
            return Refuse(APIERR_BADPOLY,
                          what + "counts " + std::to_string(p.nCoords) + "/" + std::to_string(p.nSubPolys) + "/" +
                              std::to_string(p.nArcs));
        if (Count(memo.coords) < size_t(p.nCoords) + 1)
            return Refuse(APIERR_BADPOLY, what + "fewer coordinates than nCoords + 1");
        if (Count(memo.pends) < size_t(p.nSubPolys) + 1)
            return Refuse(APIERR_BADPOLY, what + "fewer contour ends than nSubPolys + 1");
        const std::vector<int32_t>& pends = *memo.pends;
        if (pends[0] != 0 || pends[size_t(p.nSubPolys)] != p.nCoords)
            return Refuse(APIERR_BADPOLY, what + "contour ends do not run from 0 to nCoords");
        for (int32_t k = 1; k <= p.nSubPolys; ++k)
            if (pends[size_t(k)] <= pends[size_t(k) - 1])
                return Refuse(APIERR_BADPOLY, what + "contour ends do not rise");
        if (Count(memo.parcs) < size_t(p.nArcs)) return Refuse(APIERR_BADPOLY, what + "fewer arcs than nArcs");
        for (int32_t k = 0; k < p.nArcs; ++k) {
            const API_PolyArc& a = (*memo.parcs)[size_t(k)];
            if (a.begIndex < 1 || a.endIndex < 1 || a.begIndex > p.nCoords || a.endIndex > p.nCoords)
                return Refuse(APIERR_BADPOLY, what + "an arc outside the coordinates");
        }
        if (t == API_MeshID) {
            if (memo.meshPolyZ && memo.meshPolyZ->size() < size_t(p.nCoords) + 1)
                return Refuse(APIERR_BADPOLY, what + "fewer heights than coordinates");
            if (rec.mesh.levelLines.nCoords < 0 || Count(memo.meshLevelCoords) < size_t(rec.mesh.levelLines.nCoords))
                return Refuse(APIERR_BADPOLY, what + "fewer level points than levelLines.nCoords");
            const std::string problem = MeshMemoProblem(rec.mesh, memo);
            if (!problem.empty()) return Refuse(APIERR_BADPOLY, what + problem);
        }
    }
    if (t == API_TextID && memo.textLineStarts) {
        // Each line after the first starts right after a CR LF of the content.
        const std::string text = memo.textContent ? *memo.textContent : std::string();
        const std::vector<int32_t>& starts = *memo.textLineStarts;
        if (starts.empty() || starts[0] != 0) return Refuse(APIERR_BADPARS, "text: the first line does not start at 0");
        for (size_t k = 1; k < starts.size(); ++k) {
            const int32_t at = starts[k];
            if (at <= starts[k - 1] || at < 2 || size_t(at) > text.size() ||
                text.compare(size_t(at) - 2, 2, "\r\n") != 0)
                return Refuse(APIERR_BADPARS, "text: line " + std::to_string(k + 1) + " does not start after a CR LF");
        }
    }
    if (t == API_SplineID) {
        const size_t n = Count(memo.coords);
        if (memo.bezierDirs && Count(memo.bezierDirs) != n)
            return Refuse(APIERR_BADPOLY, "spline: not one direction per point");
    }
    return NoError;
}

// --- elements ------------------------------------------------------------------------------------------------

GSErrCode ProjectElements::GetElement(API_Element* element) const {
    if (element == nullptr) return APIERR_BADPARS;
    const StoredElement* e = FindHere(element->header.guid);
    if (e == nullptr) return Refuse(APIERR_BADID, "no element " + GuidText(element->header.guid) + " here");
    *element = e->record;
    // A polyline's vertex count is given as read, whatever the module wrote there.
    if (element->header.typeID == API_PolyLineID) element->polyLine.vertexCount = element->polyLine.poly.nCoords;
    return NoError;
}

GSErrCode ProjectElements::GetDefaults(API_Element* element, API_ElementMemo* memo) const {
    if (element == nullptr) return APIERR_BADPARS;
    const API_ElemTypeID t = element->header.typeID;
    const int32_t variation = element->header.variationID;
    if (!ValidElementType(t)) return Refuse(APIERR_BADELEMTYPE, "element type " + std::to_string(t) + " is unknown");
    const auto it = defaults_.find({t, variation});
    API_Element rec = {};
    StoredMemo m;
    if (it != defaults_.end()) {
        rec = it->second.first;
        m = it->second.second;
    } else {
        rec.header.typeID = t;
        rec.header.variationID = variation;
        rec.header.layer = 1;
        switch (t) {
            case API_WallID:
                rec.wall.height = 3.0;
                rec.wall.thickness = 0.3;
                rec.wall.pen = 1;
                break;
            case API_WindowID:
            case API_DoorID:
                rec.window.width = 1.0;
                rec.window.height = 2.0;
                rec.window.pen = 1;
                break;
            case API_ObjectID:
            case API_LampID:
                rec.object.pen = 1;
                rec.object.xRatio = 1.0;
                rec.object.yRatio = 1.0;
                rec.object.ltypeInd = 1;
                rec.object.mat = 1;
                break;
            case API_SlabID:
                rec.slab.pen = 1;
                rec.slab.thickness = 0.3;
                rec.slab.topMat = rec.slab.sideMat = rec.slab.botMat = 4;
                break;
            case API_RoofID:
                rec.roof.pen = 1;
                rec.roof.thickness = 0.2;
                break;
            case API_MeshID:
                rec.mesh.pen = 1;
                rec.mesh.topMat = 2;
                rec.mesh.sideMat = rec.mesh.botMat = rec.mesh.skirtMat = 1;
                rec.mesh.skirt = 1;
                rec.mesh.skirtLevel = 1.0;
                break;
            case API_TextID:
                rec.text.pen = 1;
                rec.text.font = 1;
                rec.text.size = 2.5;
                break;
            case API_HatchID:
                rec.hatch.contPen = 1;
                rec.hatch.contLtype = 1;
                rec.hatch.fillPen = 1;
                rec.hatch.fillInd = 2;
                break;
            case API_LineID:
                rec.line.pen = 1;
                rec.line.ltypeInd = 1;
                break;
            case API_PolyLineID:
            case API_DetailID:
                rec.polyLine.pen = 1;
                rec.polyLine.ltypeInd = 1;
                break;
            case API_ArcID:
            case API_CircleID:
                rec.arc.pen = 1;
                rec.arc.ltypeInd = 1;
                rec.arc.ratio = 1.0;
                rec.arc.whole = t == API_CircleID ? 1 : 0;
                break;
            case API_SplineID:
                rec.spline.pen = 1;
                rec.spline.ltypeInd = 1;
                break;
            case API_HotspotID: rec.hotspot.pen = 1; break;
            case API_CameraID:
                rec.camera.cameraZ = 1.7;
                rec.camera.targetZ = 1.7;
                rec.camera.viewAngle = 1.0471975511965976;
                break;
            case API_CamSetID:
                rec.camset.inFrames = 1;
                rec.camset.frameCount = 1;
                break;
            case API_CutPlaneID:
            case API_ElevationID:
            case API_InteriorElevationID:
            case API_WorksheetID: rec.cutPlane.pen = 1; break;
            default: break;
        }
    }
    rec.header.floorInd = currentStory_;
    *element = rec;
    if (memo != nullptr) return WriteApiMemo(m, APIMemoMask_All, memo);
    return NoError;
}

GSErrCode ProjectElements::ChangeDefaults(const API_Element& element, const API_ElementMemo* memo,
                                          const API_Element* mask) {
    const API_ElemTypeID t = element.header.typeID;
    if (!ValidElementType(t)) return Refuse(APIERR_BADELEMTYPE, "element type " + std::to_string(t) + " is unknown");
    API_Element current = {};
    current.header.typeID = t;
    current.header.variationID = element.header.variationID;
    API_ElementMemo currentMemo = {};
    GSErrCode err = GetDefaults(&current, &currentMemo);
    if (err != NoError) return err;
    StoredMemo m = ReadApiMemo(currentMemo, APIMemoMask_All);
    DisposeApiMemo(&currentMemo);
    API_Element next = current;
    for (size_t i = 0; i < sizeof(API_Element); ++i)
        if (mask == nullptr || mask->bytes[i] != 0) next.bytes[i] = element.bytes[i];
    next.header.typeID = t;
    next.header.variationID = element.header.variationID;
    next.header.guid = APINULLGuid;
    if (!LayerUsable(next.header.layer, false))
        return Refuse(APIERR_BADINDEX, "no layer " + std::to_string(next.header.layer));
    if (memo != nullptr) m.Apply(ReadApiMemo(*memo, APIMemoMask_All), APIMemoMask_All, true);
    defaults_[{t, element.header.variationID}] = {next, m};
    return NoError;
}

GSErrCode ProjectElements::CreateElement(API_Element* element, const API_ElementMemo* memo) {
    if (element == nullptr) return APIERR_BADPARS;
    GSErrCode err = CheckModelChange();
    if (err != NoError) return err;
    API_Element rec = *element;
    StoredMemo m = memo != nullptr ? ReadApiMemo(*memo, APIMemoMask_All) : StoredMemo();
    const API_ElemTypeID t = rec.header.typeID;
    if ((t == API_ObjectID || t == API_LampID || t == API_WindowID || t == API_DoorID) && !m.params &&
        libPartDefaults) {
        std::vector<StoredParam> params;
        if (libPartDefaults(rec.object.libInd, &params)) m.params = params;
    }
    err = CheckRecord(rec, m);
    if (err != NoError) return err;

    StoredElement e;
    e.serial = nextSerial_;
    rec.header.guid = NewGuid();
    rec.header.modiStamp = int64_t(++changes_);
    rec.header.hasMemo = m.IsEmpty() ? 0 : 1;
    rec.header.userDataVersion = 0;
    e.database = currentDatabase_;
    const int32_t kind = DatabaseKindOfMarker(t);
    if (kind != 0) {
        StoredDatabase db;
        db.info.typeID = kind;
        db.info.databaseUnId = NewGuid();
        db.marker = rec.header.guid;
        int32_t n = 1;
        for (const StoredDatabase& d : model_.databases) n += d.info.typeID == kind ? 1 : 0;
        db.info.index = n;
        std::u16string title(rec.cutPlane.name);
        if (title.empty()) title = Utf16(ElementTypeName(t) + " " + std::to_string(n));
        CopyU16(db.info.title, 128, title);
        CopyU16(db.info.name, 128, title);
        std::memcpy(db.info.ref, rec.cutPlane.ref, sizeof db.info.ref);
        rec.cutPlane.databaseUnId = db.info.databaseUnId;
        model_.databases.push_back(db);
    }
    e.record = rec;
    e.memo = std::move(m);
    if (inCommand_) ++pending_.made;
    const StoredElement& made = model_.elements.Put(rec.header.guid, std::move(e));
    *element = rec;
    Changed();
    NoteChange(ChangeKind::Created, made, made);
    return NoError;
}

GSErrCode ProjectElements::ChangeElement(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                                         uint64_t memoMask) {
    if (element == nullptr) return APIERR_BADPARS;
    GSErrCode err = CheckModelChange();
    if (err != NoError) return err;
    StoredElement* e = FindUntouched(element->header.guid);
    if (e == nullptr || !VisibleHere(*e))
        return Refuse(APIERR_BADID, "no element " + GuidText(element->header.guid) + " here");
    if (!LayerUsable(e->record.header.layer, true)) return Refuse(APIERR_LOCKEDLAYER, "the element's layer is locked");
    API_Element next = e->record;
    if (mask != nullptr) ApplyMask(next, *element, *mask);
    StoredMemo m = e->memo;
    if (memo != nullptr && memoMask != 0) m.Apply(ReadApiMemo(*memo, memoMask), memoMask, false);
    err = CheckRecord(next, m);
    if (err != NoError) return err;
    // A change that leaves the element as it was is no change: no new stamp, no notification. Otherwise the
    // module's own upkeep, which writes partners that may already be in step, would notify itself without end.
    if (e->record.SameAs(next) && m.SameAs(e->memo)) {
        *element = next;
        return NoError;
    }
    Touch(next.header.guid);
    next.header.modiStamp = int64_t(++changes_);
    next.header.hasMemo = m.IsEmpty() ? 0 : 1;
    // The listener sees the element as it was; the parts the change does not write are the same in both.
    StoredElement before;
    before.record = e->record;
    before.memo = std::move(e->memo);
    before.userData = e->userData;
    before.database = e->database;
    before.serial = e->serial;
    before.name = e->name;
    before.bodies = e->bodies;
    e->record = next;
    e->memo = std::move(m);
    *element = next;
    Changed();
    NoteChange(ChangeKind::Changed, before, *e);
    return NoError;
}

GSErrCode ProjectElements::ChangeParameters(const API_Guid* guids, uint32_t count, const API_Element* defPars,
                                            const API_ElementMemo* defMemo, const API_Element* mask) {
    if (count > 0 && guids == nullptr) return APIERR_BADPARS;
    GSErrCode err = CheckModelChange();
    if (err != NoError) return err;
    const StoredMemo given = defMemo != nullptr ? ReadApiMemo(*defMemo, APIMemoMask_All) : StoredMemo();
    // Every element is checked before the first one changes.
    std::vector<std::pair<StoredElement*, StoredElement>> changes;
    for (uint32_t i = 0; i < count; ++i) {
        StoredElement* e = FindUntouched(guids[i]);
        if (e == nullptr || !VisibleHere(*e)) return Refuse(APIERR_BADID, "no element " + GuidText(guids[i]) + " here");
        if (!LayerUsable(e->record.header.layer, true))
            return Refuse(APIERR_LOCKEDLAYER, "the element's layer is locked");
        StoredElement next = *e;
        API_Element record = e->record.Get();
        if (defPars != nullptr && mask != nullptr) ApplyMask(record, *defPars, *mask);
        next.memo.Mutable().Apply(given, APIMemoMask_All, true);
        next.memo.DropIfEmpty();
        err = CheckRecord(record, next.memo);
        if (err != NoError) return err;
        if (e->record.SameAs(record) && next.memo->SameAs(e->memo)) continue;  // no change (see ChangeElement)
        next.record = record;
        changes.push_back({e, next});
    }
    for (auto& c : changes) {
        Touch(c.first->record.header.guid);
        c.second.record.header.modiStamp = int64_t(++changes_);
        c.second.record.header.hasMemo = c.second.memo->IsEmpty() ? 0 : 1;
        std::swap(*c.first, c.second);  // c.second keeps the element as it was
    }
    if (!changes.empty()) Changed();
    for (auto& c : changes) NoteChange(ChangeKind::Changed, c.second, *c.first);
    return NoError;
}

GSErrCode ProjectElements::DeleteElements(const API_Guid* guids, uint32_t count) {
    if (count > 0 && guids == nullptr) return APIERR_BADPARS;
    GSErrCode err = CheckModelChange();
    if (err != NoError) return err;
    for (uint32_t i = 0; i < count; ++i) {
        const StoredElement* e = FindHere(guids[i]);
        if (e == nullptr) return Refuse(APIERR_BADID, "no element " + GuidText(guids[i]) + " here");
        if (!LayerUsable(e->record.header.layer, true))
            return Refuse(APIERR_LOCKEDLAYER, "the element's layer is locked");
    }
    for (uint32_t i = 0; i < count; ++i) {
        const auto it = model_.elements.find(guids[i]);
        if (it == model_.elements.end()) continue;  // named twice
        // A marker takes its database and the elements in it along.
        const API_Guid marker = it->first;
        const StoredElement gone = it->second;
        Touch(marker);
        model_.elements.Erase(it);
        DropLinksOf(marker);
        NoteChange(ChangeKind::Deleted, gone, gone);
        for (size_t d = 0; d < model_.databases.size();) {
            if (model_.databases[d].marker == marker) {
                const API_Guid dbId = model_.databases[d].info.databaseUnId;
                // The database's own elements, in GUID order as they always went.
                std::vector<API_Guid> insideGuids = model_.elements.InDatabases({dbId}, API_ZombieElemID);
                std::sort(insideGuids.begin(), insideGuids.end(), GuidLess());
                for (const API_Guid& g : insideGuids) {
                    const auto el = model_.elements.find(g);
                    const StoredElement inside = el->second;
                    Touch(g);
                    model_.elements.Erase(el);
                    DropLinksOf(inside.record.header.guid);
                    NoteChange(ChangeKind::Deleted, inside, inside);
                }
                model_.databases.erase(model_.databases.begin() + std::ptrdiff_t(d));
            } else {
                ++d;
            }
        }
    }
    if (count > 0) {
        AfterModelRestored();
        Changed();
    }
    return NoError;
}

GSErrCode ProjectElements::GetElemList(API_ElemTypeID typeID, std::vector<API_Guid>* guids) const {
    if (guids == nullptr) return APIERR_BADPARS;
    guids->clear();
    if (typeID != API_ZombieElemID && !ValidElementType(typeID))
        return Refuse(APIERR_BADELEMTYPE, "element type " + std::to_string(typeID) + " is unknown");
    *guids = ElementsHere(typeID);
    return NoError;
}

namespace {
// The element filter's bits beside APIFilt_IsEditable: on a shown layer, on the current story.
constexpr uint32_t FilterOnShownLayer = 0x2;
constexpr uint32_t FilterOnCurrentStory = 0x4;
}  // namespace

bool ProjectElements::Filter(const API_Guid& guid, uint32_t filterBits) const {
    const StoredElement* e = FindHere(guid);
    if (e == nullptr) return false;
    const uint32_t flags = LayerFlags(e->record.header.layer);
    if ((filterBits & APIFilt_IsEditable) && (flags & (APILay_Hidden | APILay_Locked))) return false;
    if ((filterBits & FilterOnShownLayer) && (flags & APILay_Hidden)) return false;
    if ((filterBits & FilterOnCurrentStory) && e->record.header.floorInd != currentStory_) return false;
    return true;
}
