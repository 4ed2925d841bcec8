#include "ProjectDatabase.hpp"

#include "GSRoot.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>

// --- identities ----------------------------------------------------------------------------------------------

bool GuidLess::operator()(const API_Guid& a, const API_Guid& b) const {
    return std::memcmp(&a, &b, sizeof(API_Guid)) < 0;
}

std::string GuidText(const API_Guid& g) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", unsigned(g.time_low),
                  unsigned(g.time_mid), unsigned(g.time_hi_and_version), g.clock_seq[0], g.clock_seq[1], g.node[0],
                  g.node[1], g.node[2], g.node[3], g.node[4], g.node[5]);
    return buf;
}

bool ParseGuidText(const std::string& text, API_Guid* guid) {
    if (text.size() != 36) return false;
    uint8_t b[16];
    size_t k = 0;
    for (size_t i = 0; i < 36;) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-') return false;
            ++i;
            continue;
        }
        int v = 0;
        for (int d = 0; d < 2; ++d) {
            const char c = text[i + size_t(d)];
            int x;
            if (c >= '0' && c <= '9')
                x = c - '0';
            else if (c >= 'a' && c <= 'f')
                x = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                x = c - 'A' + 10;
            else
                return false;
            v = v * 16 + x;
        }
        b[k++] = uint8_t(v);
        i += 2;
    }
    guid->time_low = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    guid->time_mid = uint16_t((b[4] << 8) | b[5]);
    guid->time_hi_and_version = uint16_t((b[6] << 8) | b[7]);
    guid->clock_seq[0] = b[8];
    guid->clock_seq[1] = b[9];
    for (int i = 0; i < 6; ++i) guid->node[i] = b[10 + i];
    return true;
}

namespace {
// GUIDs of this host: a serial in the first field, then a fixed tail ("STANDI").
API_Guid MakeGuid(uint32_t serial, uint16_t kind) {
    API_Guid g = {};
    g.time_low = serial;
    g.time_mid = kind;
    g.time_hi_and_version = 0x4000;
    g.clock_seq[0] = 0x80;
    g.clock_seq[1] = 0x00;
    const uint8_t tail[6] = {0x53, 0x54, 0x41, 0x4E, 0x44, 0x49};
    std::memcpy(g.node, tail, 6);
    return g;
}

void CopyU16(char16_t* field, size_t units, const std::u16string& text) {
    const size_t n = std::min(units - 1, text.size());
    std::copy(text.begin(), text.begin() + std::ptrdiff_t(n), field);
    field[n] = 0;
}

void CopyUtf8(char* field, size_t size, const std::string& text) {
    size_t n = std::min(size - 1, text.size());
    while (n > 0 && n < text.size() && (uint8_t(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

std::string FieldText(const char* field, size_t size) { return std::string(field, strnlen(field, size)); }

std::u16string Utf16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

bool ValidType(API_ElemTypeID typeID) { return typeID >= 1 && typeID <= API_LastElemTypeID; }
bool ValidAttrType(API_AttrTypeID typeID) { return typeID >= 1 && typeID <= API_LastAttrTypeID; }
}  // namespace

std::string ElementTypeName(API_ElemTypeID t) {
    switch (t) {
        case API_WallID: return "wall";
        case API_ColumnID: return "column";
        case API_BeamID: return "beam";
        case API_WindowID: return "window";
        case API_DoorID: return "door";
        case API_ObjectID: return "object";
        case API_LampID: return "lamp";
        case API_SlabID: return "slab";
        case API_RoofID: return "roof";
        case API_MeshID: return "mesh";
        case API_TextID: return "text";
        case API_ZoneID: return "zone";
        case API_HatchID: return "fill";
        case API_LineID: return "line";
        case API_PolyLineID: return "polyline";
        case API_ArcID: return "arc";
        case API_CircleID: return "circle";
        case API_SplineID: return "spline";
        case API_HotspotID: return "hotspot";
        case API_CutPlaneID: return "section marker";
        case API_DetailID: return "detail";
        case API_ElevationID: return "elevation marker";
        case API_InteriorElevationID: return "interior elevation marker";
        case API_WorksheetID: return "worksheet marker";
        default: return "type " + std::to_string(t);
    }
}

bool HasPolygon(API_ElemTypeID t) {
    return t == API_WallID || t == API_SlabID || t == API_RoofID || t == API_MeshID || t == API_ZoneID ||
        t == API_HatchID || t == API_PolyLineID || t == API_DetailID;
}

int32_t DatabaseKindOfMarker(API_ElemTypeID t) {
    switch (t) {
        case API_CutPlaneID: return APIWind_SectionID;
        case API_ElevationID: return APIWind_ElevationID;
        case API_InteriorElevationID: return APIWind_InteriorElevationID;
        case API_WorksheetID: return APIWind_WorksheetID;
        default: return 0;
    }
}

// --- the project ---------------------------------------------------------------------------------------------

API_Guid ProjectDatabase::FloorPlanDatabase() { return MakeGuid(1, 0xDB00); }
API_Guid ProjectDatabase::ModelDatabase3D() { return MakeGuid(4, 0xDB00); }

ProjectDatabase::ProjectDatabase() { Reset(); }

void ProjectDatabase::AddAttribute(API_AttrTypeID typeID, const std::string& name,
                                   const std::function<void(API_Attribute&)>& fill) {
    std::vector<StoredAttribute>& list = model_.attributes[typeID];
    StoredAttribute a;
    a.record.header.typeID = typeID;
    a.record.header.index = int32_t(list.size() + 1);
    CopyUtf8(a.record.header.name, sizeof a.record.header.name, name);
    a.record.header.guid = MakeGuid(uint32_t(list.size() + 1), uint16_t(0xA000 + typeID));
    if (fill) fill(a.record);
    list.push_back(a);
}

void ProjectDatabase::Reset() {
    model_ = ProjectModel();
    StoredDatabase plan;
    plan.info.typeID = APIWind_FloorPlanID;
    plan.info.index = 1;
    plan.info.databaseUnId = FloorPlanDatabase();
    CopyU16(plan.info.title, 128, u"Floor plan");
    CopyU16(plan.info.name, 128, u"Floor plan");
    StoredDatabase model3D;
    model3D.info.typeID = APIWind_3DModelID;
    model3D.info.index = 1;
    model3D.info.databaseUnId = ModelDatabase3D();
    CopyU16(model3D.info.title, 128, u"3D model");
    CopyU16(model3D.info.name, 128, u"3D model");
    model_.databases = {plan, model3D};

    API_StoryType ground = {};
    ground.index = 0;
    ground.level = 0.0;
    CopyU16(ground.uName, 128, u"Ground floor");
    model_.stories = {ground};
    currentStory_ = 0;

    AddAttribute(API_LayerID, "Default layer", nullptr);
    for (int i = 1; i <= 255; ++i) {
        AddAttribute(API_PenID, "Pen " + std::to_string(i), [i](API_Attribute& a) {
            // A small palette: black, then hues around the circle at falling brightness.
            const double t = (i - 1) / 254.0;
            a.pen.red = i == 1 ? 0.0 : (i % 3 == 0 ? 1.0 - t : t);
            a.pen.green = i == 1 ? 0.0 : (i % 3 == 1 ? 1.0 - t : 0.5 * t);
            a.pen.blue = i == 1 ? 0.0 : (i % 3 == 2 ? 1.0 - t : 0.25);
            a.pen.width = 0.1 + 0.05 * (i % 8);
        });
    }
    AddAttribute(API_LinetypeID, "Solid line", [](API_Attribute& a) { a.linetype.type = 0; });
    AddAttribute(API_LinetypeID, "Dashed line", [](API_Attribute& a) {
        a.linetype.type = 1;
        a.linetype.period = 2.0;
    });
    AddAttribute(API_FilltypeID, "Empty fill", nullptr);
    AddAttribute(API_FilltypeID, "Solid fill", [](API_Attribute& a) { std::memset(a.filltype.bitPat, 0xFF, 8); });
    AddAttribute(API_FilltypeID, "Background fill", nullptr);
    AddAttribute(API_FilltypeID, "Cross hatch", [](API_Attribute& a) {
        const uint8_t p[8] = {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};
        std::memcpy(a.filltype.bitPat, p, 8);
    });
    for (const char* m : {"Earth", "Grass", "Asphalt", "Concrete", "Water"}) AddAttribute(API_MaterialID, m, nullptr);
    AddAttribute(API_FontID, "Arial", [](API_Attribute& a) { a.font.familyType = 0; });
    AddAttribute(API_FontID, "Courier New", [](API_Attribute& a) { a.font.familyType = 0; });

    undoSnapshots_.clear();
    undoTexts_.clear();
    selection_.clear();
    defaults_.clear();
    toolbox_ = API_ToolBoxItem();
    frontWindow_ = API_WindowInfo();
    frontWindow_.typeID = APIWind_FloorPlanID;
    frontWindow_.databaseUnId = FloorPlanDatabase();
    CopyU16(frontWindow_.title, 128, u"Floor plan");
    currentDatabase_ = FloorPlanDatabase();
    inCommand_ = false;
    changes_ = 0;
    nextSerial_ = 1;
    rebuilds_ = 0;
    lastRefusal_.clear();
}

API_Guid ProjectDatabase::NewGuid() { return MakeGuid(uint32_t(nextSerial_++), 0x0E1E); }

GSErrCode ProjectDatabase::Refuse(GSErrCode err, const std::string& why) const {
    lastRefusal_ = why;
    return err;
}

int32_t ProjectDatabase::CurrentDatabaseType() const {
    const StoredDatabase* db = Database(currentDatabase_);
    return db != nullptr ? db->info.typeID : 0;
}

const StoredDatabase* ProjectDatabase::Database(const API_Guid& id) const {
    for (const StoredDatabase& db : model_.databases)
        if (db.info.databaseUnId == id) return &db;
    return nullptr;
}

GSErrCode ProjectDatabase::CheckModelChange() const {
    if (!inCommand_) return Refuse(APIERR_NEEDSUNDOSCOPE, "a model change outside an undoable command");
    if (CurrentDatabaseType() == APIWind_3DModelID)
        return Refuse(APIERR_BADDATABASE, "the 3D model's database is current");
    return NoError;
}

bool ProjectDatabase::VisibleHere(const StoredElement& e) const {
    if (e.database == currentDatabase_) return true;
    return currentDatabase_ == ModelDatabase3D() && e.database == FloorPlanDatabase();
}

const StoredElement* ProjectDatabase::Find(const API_Guid& guid) const {
    const auto it = model_.elements.find(guid);
    return it != model_.elements.end() ? &it->second : nullptr;
}

StoredElement* ProjectDatabase::FindMutable(const API_Guid& guid) {
    const auto it = model_.elements.find(guid);
    return it != model_.elements.end() ? &it->second : nullptr;
}

const StoredElement* ProjectDatabase::FindHere(const API_Guid& guid) const {
    const StoredElement* e = Find(guid);
    return e != nullptr && VisibleHere(*e) ? e : nullptr;
}

const API_Attribute* ProjectDatabase::Attribute(API_AttrTypeID typeID, int32_t index) const {
    const auto it = model_.attributes.find(typeID);
    if (it == model_.attributes.end() || index < 1 || size_t(index) > it->second.size()) return nullptr;
    const StoredAttribute& a = it->second[size_t(index) - 1];
    return a.deleted ? nullptr : &a.record;
}

uint32_t ProjectDatabase::LayerFlags(int32_t layer) const {
    const API_Attribute* a = Attribute(API_LayerID, layer);
    return a != nullptr ? a->header.flags : 0;
}

bool ProjectDatabase::LayerUsable(int32_t layer, bool forChange) const {
    const API_Attribute* a = Attribute(API_LayerID, layer);
    if (a == nullptr) return false;
    return !forChange || (a->header.flags & APILay_Locked) == 0;
}

std::vector<API_Guid> ProjectDatabase::AllElements() const {
    std::vector<std::pair<uint64_t, API_Guid>> order;
    for (const auto& kv : model_.elements) order.push_back({kv.second.serial, kv.first});
    std::sort(order.begin(), order.end(),
              [](const std::pair<uint64_t, API_Guid>& a, const std::pair<uint64_t, API_Guid>& b) {
                  return a.first < b.first;
              });
    std::vector<API_Guid> out;
    for (const auto& o : order) out.push_back(o.second);
    return out;
}

bool ProjectDatabase::FindByName(const std::string& name, API_Guid* guid) const {
    if (name.empty()) return false;
    for (const auto& kv : model_.elements)
        if (kv.second.name == name) {
            *guid = kv.first;
            return true;
        }
    return false;
}

// --- records -------------------------------------------------------------------------------------------------

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
size_t Count(const std::optional<std::vector<T>>& v) {
    return v ? v->size() : 0;
}
}  // namespace

GSErrCode ProjectDatabase::CheckRecord(const API_Element& rec, const StoredMemo& memo, bool) const {
    const API_ElemTypeID t = rec.header.typeID;
    if (!ValidType(t)) return Refuse(APIERR_BADELEMTYPE, "element type " + std::to_string(t) + " is unknown");
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
        }
    }
    return NoError;
}

// --- elements ------------------------------------------------------------------------------------------------

GSErrCode ProjectDatabase::GetElement(API_Element* element) const {
    if (element == nullptr) return APIERR_BADPARS;
    const StoredElement* e = FindHere(element->header.guid);
    if (e == nullptr) return Refuse(APIERR_BADID, "no element " + GuidText(element->header.guid) + " here");
    *element = e->record;
    return NoError;
}

GSErrCode ProjectDatabase::GetMemo(const API_Guid& guid, API_ElementMemo* memo, uint64_t mask) const {
    if (memo == nullptr) return APIERR_BADPARS;
    std::memset(static_cast<void*>(memo), 0, sizeof *memo);
    if (CurrentDatabaseType() == APIWind_3DModelID)
        return Refuse(APIERR_BADDATABASE, "memos are not read in the 3D model's database");
    const StoredElement* e = FindHere(guid);
    if (e == nullptr) return Refuse(APIERR_BADID, "no element " + GuidText(guid) + " here");
    return WriteApiMemo(e->memo, mask, memo);
}

GSErrCode ProjectDatabase::GetDefaults(API_Element* element, API_ElementMemo* memo) const {
    if (element == nullptr) return APIERR_BADPARS;
    const API_ElemTypeID t = element->header.typeID;
    const int32_t variation = element->header.variationID;
    if (!ValidType(t)) return Refuse(APIERR_BADELEMTYPE, "element type " + std::to_string(t) + " is unknown");
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

GSErrCode ProjectDatabase::ChangeDefaults(const API_Element& element, const API_ElementMemo* memo,
                                          const API_Element* mask) {
    const API_ElemTypeID t = element.header.typeID;
    if (!ValidType(t)) return Refuse(APIERR_BADELEMTYPE, "element type " + std::to_string(t) + " is unknown");
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

GSErrCode ProjectDatabase::CreateElement(API_Element* element, const API_ElementMemo* memo) {
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
    err = CheckRecord(rec, m, false);
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
    e.memo = m;
    model_.elements[rec.header.guid] = e;
    *element = rec;
    Changed();
    NoteChange(ChangeKind::Created, e, e);
    return NoError;
}

GSErrCode ProjectDatabase::ChangeElement(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                                         uint64_t memoMask) {
    if (element == nullptr) return APIERR_BADPARS;
    GSErrCode err = CheckModelChange();
    if (err != NoError) return err;
    StoredElement* e = FindMutable(element->header.guid);
    if (e == nullptr || !VisibleHere(*e))
        return Refuse(APIERR_BADID, "no element " + GuidText(element->header.guid) + " here");
    if (!LayerUsable(e->record.header.layer, true)) return Refuse(APIERR_LOCKEDLAYER, "the element's layer is locked");
    API_Element next = e->record;
    if (mask != nullptr) ApplyMask(next, *element, *mask);
    StoredMemo m = e->memo;
    if (memo != nullptr && memoMask != 0) m.Apply(ReadApiMemo(*memo, memoMask), memoMask, false);
    err = CheckRecord(next, m, true);
    if (err != NoError) return err;
    next.header.modiStamp = int64_t(++changes_);
    next.header.hasMemo = m.IsEmpty() ? 0 : 1;
    const StoredElement before = *e;
    e->record = next;
    e->memo = m;
    *element = next;
    Changed();
    NoteChange(ChangeKind::Changed, before, *e);
    return NoError;
}

GSErrCode ProjectDatabase::ChangeParameters(const API_Guid* guids, uint32_t count, const API_Element* defPars,
                                            const API_ElementMemo* defMemo, const API_Element* mask) {
    if (count > 0 && guids == nullptr) return APIERR_BADPARS;
    GSErrCode err = CheckModelChange();
    if (err != NoError) return err;
    const StoredMemo given = defMemo != nullptr ? ReadApiMemo(*defMemo, APIMemoMask_All) : StoredMemo();
    // Every element is checked before the first one changes.
    std::vector<std::pair<StoredElement*, StoredElement>> changes;
    for (uint32_t i = 0; i < count; ++i) {
        StoredElement* e = FindMutable(guids[i]);
        if (e == nullptr || !VisibleHere(*e)) return Refuse(APIERR_BADID, "no element " + GuidText(guids[i]) + " here");
        if (!LayerUsable(e->record.header.layer, true))
            return Refuse(APIERR_LOCKEDLAYER, "the element's layer is locked");
        StoredElement next = *e;
        if (defPars != nullptr && mask != nullptr) ApplyMask(next.record, *defPars, *mask);
        next.memo.Apply(given, APIMemoMask_All, true);
        err = CheckRecord(next.record, next.memo, true);
        if (err != NoError) return err;
        changes.push_back({e, next});
    }
    for (auto& c : changes) {
        c.second.record.header.modiStamp = int64_t(++changes_);
        c.second.record.header.hasMemo = c.second.memo.IsEmpty() ? 0 : 1;
        std::swap(*c.first, c.second);  // c.second keeps the element as it was
    }
    if (!changes.empty()) Changed();
    for (auto& c : changes) NoteChange(ChangeKind::Changed, c.second, *c.first);
    return NoError;
}

GSErrCode ProjectDatabase::DeleteElements(const API_Guid* guids, uint32_t count) {
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
        model_.elements.erase(it);
        DropLinksOf(marker);
        NoteChange(ChangeKind::Deleted, gone, gone);
        for (size_t d = 0; d < model_.databases.size();) {
            if (model_.databases[d].marker == marker) {
                const API_Guid dbId = model_.databases[d].info.databaseUnId;
                for (auto el = model_.elements.begin(); el != model_.elements.end();) {
                    if (el->second.database != dbId) {
                        ++el;
                        continue;
                    }
                    const StoredElement inside = el->second;
                    el = model_.elements.erase(el);
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

GSErrCode ProjectDatabase::GetElemList(API_ElemTypeID typeID, std::vector<API_Guid>* guids) const {
    if (guids == nullptr) return APIERR_BADPARS;
    guids->clear();
    if (typeID != API_ZombieElemID && !ValidType(typeID))
        return Refuse(APIERR_BADELEMTYPE, "element type " + std::to_string(typeID) + " is unknown");
    for (const API_Guid& g : AllElements()) {
        const StoredElement& e = *Find(g);
        if (VisibleHere(e) && (typeID == API_ZombieElemID || e.record.header.typeID == typeID)) guids->push_back(g);
    }
    return NoError;
}

bool ProjectDatabase::Filter(const API_Guid& guid, uint32_t filterBits) const {
    const StoredElement* e = FindHere(guid);
    if (e == nullptr) return false;
    if (filterBits & APIFilt_IsEditable) {
        const uint32_t flags = LayerFlags(e->record.header.layer);
        if (flags & (APILay_Hidden | APILay_Locked)) return false;
    }
    return true;
}

GSErrCode ProjectDatabase::GetUserData(const API_Elem_Head& head, API_ElementUserData* userData) const {
    if (userData == nullptr) return APIERR_BADPARS;
    std::memset(static_cast<void*>(userData), 0, sizeof *userData);
    if (CurrentDatabaseType() == APIWind_3DModelID)
        return Refuse(APIERR_BADDATABASE, "user data is not read in the 3D model's database");
    const StoredElement* e = FindHere(head.guid);
    if (e == nullptr) return Refuse(APIERR_BADID, "no element " + GuidText(head.guid) + " here");
    if (!e->userData) return NoError;
    GSHandle h = BMAllocateHandle(GSSize(e->userData->bytes.size()), 0, 0);
    if (h == nullptr) return Refuse(APIERR_MEMFULL, "no memory for the user data");
    if (!e->userData->bytes.empty()) std::memcpy(*h, e->userData->bytes.data(), e->userData->bytes.size());
    userData->dataVersion = e->userData->dataVersion;
    userData->platformSign = e->userData->platformSign;
    userData->flags = e->userData->flags;
    userData->dataHdl = h;
    return NoError;
}

GSErrCode ProjectDatabase::SetUserData(const API_Elem_Head& head, const API_ElementUserData& userData) {
    GSErrCode err = CheckModelChange();
    if (err != NoError) return err;
    StoredElement* e = FindMutable(head.guid);
    if (e == nullptr || !VisibleHere(*e)) return Refuse(APIERR_BADID, "no element " + GuidText(head.guid) + " here");
    if (!LayerUsable(e->record.header.layer, true)) return Refuse(APIERR_LOCKEDLAYER, "the element's layer is locked");
    StoredUserData u;
    u.dataVersion = userData.dataVersion;
    u.platformSign = userData.platformSign;
    u.flags = userData.flags;
    if (userData.dataHdl != nullptr) u.bytes.assign(*userData.dataHdl, size_t(BMGetHandleSize(userData.dataHdl)));
    e->userData = u;
    e->record.header.userDataVersion = userData.dataVersion;
    e->record.header.modiStamp = int64_t(++changes_);
    Changed();
    return NoError;
}

GSErrCode ProjectDatabase::DeleteUserData(const API_Elem_Head& head) {
    GSErrCode err = CheckModelChange();
    if (err != NoError) return err;
    StoredElement* e = FindMutable(head.guid);
    if (e == nullptr || !VisibleHere(*e)) return Refuse(APIERR_BADID, "no element " + GuidText(head.guid) + " here");
    if (!LayerUsable(e->record.header.layer, true)) return Refuse(APIERR_LOCKEDLAYER, "the element's layer is locked");
    if (!e->userData) return NoError;
    e->userData.reset();
    e->record.header.userDataVersion = 0;
    e->record.header.modiStamp = int64_t(++changes_);
    Changed();
    return NoError;
}

// --- selection -----------------------------------------------------------------------------------------------

GSErrCode ProjectDatabase::Select(const API_Neig* neigs, int32_t count, bool add) {
    if (count < 0 || (count > 0 && neigs == nullptr)) return APIERR_BADPARS;
    for (int32_t i = 0; i < count; ++i) {
        const StoredElement* e = Find(neigs[i].guid);
        if (e == nullptr) return Refuse(APIERR_BADID, "no element " + GuidText(neigs[i].guid));
        if (neigs[i].neigID != APINeigIDOfElemType(e->record.header.typeID) || neigs[i].neigID == APINeig_None)
            return Refuse(APIERR_BADNEIG,
                          "selection record " + std::to_string(neigs[i].neigID) + " for a " +
                              ElementTypeName(e->record.header.typeID));
    }
    if (!add) selection_.clear();
    for (int32_t i = 0; i < count; ++i) {
        const StoredElement* e = Find(neigs[i].guid);
        if (LayerFlags(e->record.header.layer) & APILay_Hidden) continue;  // not selectable
        if (std::find(selection_.begin(), selection_.end(), neigs[i].guid) == selection_.end())
            selection_.push_back(neigs[i].guid);
    }
    return NoError;
}

void ProjectDatabase::DeselectAll() { selection_.clear(); }

std::vector<API_Guid> ProjectDatabase::Selection() const {
    std::vector<API_Guid> out;
    for (const API_Guid& g : selection_) {
        const StoredElement* e = Find(g);
        if (e != nullptr && (LayerFlags(e->record.header.layer) & APILay_Hidden) == 0) out.push_back(g);
    }
    return out;
}

GSErrCode ProjectDatabase::GetSelection(API_SelectionInfo* info, std::vector<API_Neig>* neigs,
                                        bool onlyEditable) const {
    if (info == nullptr || neigs == nullptr) return APIERR_BADPARS;
    std::memset(static_cast<void*>(info), 0, sizeof *info);
    neigs->clear();
    int32_t editable = 0;
    const std::vector<API_Guid> selected = Selection();
    for (const API_Guid& g : selected) {
        const StoredElement& e = *Find(g);
        const bool canEdit = (LayerFlags(e.record.header.layer) & APILay_Locked) == 0;
        editable += canEdit ? 1 : 0;
        if (onlyEditable && !canEdit) continue;
        API_Neig n = {};
        n.neigID = APINeigIDOfElemType(e.record.header.typeID);
        n.guid = g;
        neigs->push_back(n);
    }
    info->typeID = selected.empty() ? API_SelEmpty : API_SelElems;
    info->sel_nElem = int32_t(selected.size());
    info->sel_nElemEdit = editable;
    info->marquee = reinterpret_cast<API_Coord**>(BMAllocateHandle(0, 0, 0));
    if (info->marquee == nullptr) return Refuse(APIERR_MEMFULL, "no memory for the marquee");
    if (selected.empty() && emptySelectionIsError) return APIERR_NOSEL;
    return NoError;
}

// --- attributes ----------------------------------------------------------------------------------------------

int32_t ProjectDatabase::FindAttribute(API_AttrTypeID typeID, const std::string& name) const {
    const auto it = model_.attributes.find(typeID);
    if (it == model_.attributes.end()) return 0;
    for (const StoredAttribute& a : it->second)
        if (!a.deleted && FieldText(a.record.header.name, sizeof a.record.header.name) == name)
            return a.record.header.index;
    return 0;
}

GSErrCode ProjectDatabase::GetAttribute(API_Attribute* attribute) const {
    if (attribute == nullptr || !ValidAttrType(attribute->header.typeID)) return APIERR_BADPARS;
    int32_t index = attribute->header.index;
    if (index == 0) {
        const std::string name = FieldText(attribute->header.name, sizeof attribute->header.name);
        index = FindAttribute(attribute->header.typeID, name);
        if (index == 0) return Refuse(APIERR_BADINDEX, "no attribute named \"" + name + "\"");
    }
    const API_Attribute* a = Attribute(attribute->header.typeID, index);
    if (a == nullptr) return Refuse(APIERR_BADINDEX, "no attribute of index " + std::to_string(index));
    *attribute = *a;
    return NoError;
}

GSErrCode ProjectDatabase::CreateAttribute(API_Attribute* attribute) {
    if (attribute == nullptr || !ValidAttrType(attribute->header.typeID)) return APIERR_BADPARS;
    const std::string name = FieldText(attribute->header.name, sizeof attribute->header.name);
    if (name.empty()) return Refuse(APIERR_BADPARS, "an attribute needs a name");
    const int32_t existing = FindAttribute(attribute->header.typeID, name);
    if (existing != 0) {
        attribute->header.index = existing;  // so that the caller can modify it instead
        return Refuse(APIERR_ATTREXIST, "an attribute named \"" + name + "\" exists");
    }
    std::vector<StoredAttribute>& list = model_.attributes[attribute->header.typeID];
    StoredAttribute a;
    a.record = *attribute;
    a.record.header.index = int32_t(list.size() + 1);
    a.record.header.guid = NewGuid();
    a.record.header.name[sizeof a.record.header.name - 1] = '\0';
    list.push_back(a);
    *attribute = a.record;
    Changed();
    return NoError;
}

GSErrCode ProjectDatabase::ModifyAttribute(API_Attribute* attribute) {
    if (attribute == nullptr || !ValidAttrType(attribute->header.typeID)) return APIERR_BADPARS;
    const API_AttrTypeID t = attribute->header.typeID;
    int32_t index = attribute->header.index;
    const std::string name = FieldText(attribute->header.name, sizeof attribute->header.name);
    if (index == 0) index = FindAttribute(t, name);
    if (Attribute(t, index) == nullptr)
        return Refuse(APIERR_BADINDEX, "no attribute of index " + std::to_string(index));
    if (name.empty()) return Refuse(APIERR_BADPARS, "an attribute needs a name");
    const int32_t other = FindAttribute(t, name);
    if (other != 0 && other != index) return Refuse(APIERR_ATTREXIST, "an attribute named \"" + name + "\" exists");
    StoredAttribute& a = model_.attributes[t][size_t(index) - 1];
    const API_Guid guid = a.record.header.guid;
    a.record = *attribute;
    a.record.header.index = index;
    a.record.header.guid = guid;
    a.record.header.name[sizeof a.record.header.name - 1] = '\0';
    *attribute = a.record;
    Changed();
    return NoError;
}

GSErrCode ProjectDatabase::DeleteAttribute(const API_Attr_Head& head) {
    if (!ValidAttrType(head.typeID)) return APIERR_BADPARS;
    int32_t index = head.index;
    if (index == 0) index = FindAttribute(head.typeID, FieldText(head.name, sizeof head.name));
    if (Attribute(head.typeID, index) == nullptr)
        return Refuse(APIERR_BADINDEX, "no attribute of index " + std::to_string(index));
    if (index == 1) return Refuse(APIERR_BADPARS, "attribute 1 cannot be deleted");
    if (head.typeID == API_LayerID) {
        std::vector<API_Guid> onLayer;
        for (const auto& kv : model_.elements)
            if (kv.second.record.header.layer == index) onLayer.push_back(kv.first);
        if (!onLayer.empty()) {
            const GSErrCode err = CheckModelChange();
            if (err != NoError) return err;
            for (const API_Guid& g : onLayer) model_.elements.erase(g);
            AfterModelRestored();
        }
    }
    model_.attributes[head.typeID][size_t(index) - 1].deleted = true;
    Changed();
    return NoError;
}

// --- stories -------------------------------------------------------------------------------------------------

GSErrCode ProjectDatabase::GetStories(API_StoryInfo* info) const {
    if (info == nullptr) return APIERR_BADPARS;
    std::memset(static_cast<void*>(info), 0, sizeof *info);
    GSHandle h = BMAllocateHandle(GSSize(model_.stories.size() * sizeof(API_StoryType)), ALLOCATE_CLEAR, 0);
    if (h == nullptr) return Refuse(APIERR_MEMFULL, "no memory for the stories");
    if (!model_.stories.empty()) std::memcpy(*h, model_.stories.data(), model_.stories.size() * sizeof(API_StoryType));
    info->firstStory = model_.stories.empty() ? 0 : model_.stories.front().index;
    info->lastStory = model_.stories.empty() ? -1 : model_.stories.back().index;
    info->actStory = currentStory_;
    info->data = reinterpret_cast<API_StoryType**>(h);
    return NoError;
}

GSErrCode ProjectDatabase::GoToStory(int16_t index) {
    for (const API_StoryType& s : model_.stories)
        if (s.index == index) {
            currentStory_ = index;
            return NoError;
        }
    return Refuse(APIERR_BADINDEX, "no story " + std::to_string(index));
}

void ProjectDatabase::SetStory(int16_t index, double level, const std::string& name) {
    API_StoryType s = {};
    s.index = index;
    s.level = level;
    CopyU16(s.uName, 128, Utf16(name));
    for (API_StoryType& t : model_.stories)
        if (t.index == index) {
            t = s;
            return;
        }
    model_.stories.push_back(s);
    std::sort(model_.stories.begin(), model_.stories.end(),
              [](const API_StoryType& a, const API_StoryType& b) { return a.index < b.index; });
}

bool ProjectDatabase::RemoveStory(int16_t index) {
    if (model_.stories.size() < 2) return false;
    for (const auto& kv : model_.elements)
        if (kv.second.record.header.floorInd == index) return false;
    const auto it = std::find_if(model_.stories.begin(), model_.stories.end(),
                                 [index](const API_StoryType& s) { return s.index == index; });
    if (it == model_.stories.end()) return false;
    model_.stories.erase(it);
    AfterModelRestored();
    return true;
}

// --- windows and databases -----------------------------------------------------------------------------------

void ProjectDatabase::GetFrontWindow(API_WindowInfo* info) const { *info = frontWindow_; }

namespace {
const StoredDatabase* FindDatabase(const ProjectModel& m, int32_t typeID, const API_Guid& id) {
    for (const StoredDatabase& db : m.databases) {
        if (db.info.typeID != typeID) continue;
        if (typeID == APIWind_FloorPlanID || typeID == APIWind_3DModelID || db.info.databaseUnId == id) return &db;
    }
    return nullptr;
}
}  // namespace

GSErrCode ProjectDatabase::ChangeWindow(const API_WindowInfo& info) {
    const StoredDatabase* db = FindDatabase(model_, info.typeID, info.databaseUnId);
    if (db == nullptr) return Refuse(APIERR_BADWINDOW, "no window of kind " + std::to_string(info.typeID));
    frontWindow_ = API_WindowInfo();
    frontWindow_.typeID = db->info.typeID;
    frontWindow_.index = db->info.index;
    frontWindow_.databaseUnId = db->info.databaseUnId;
    std::memcpy(frontWindow_.title, db->info.title, sizeof frontWindow_.title);
    currentDatabase_ = db->info.databaseUnId;
    return NoError;
}

void ProjectDatabase::GetCurrentDatabase(API_DatabaseInfo* info) const {
    const StoredDatabase* db = Database(currentDatabase_);
    *info = db != nullptr ? db->info : API_DatabaseInfo();
}

GSErrCode ProjectDatabase::ChangeDatabase(const API_DatabaseInfo& info) {
    const StoredDatabase* db = FindDatabase(model_, info.typeID, info.databaseUnId);
    if (db == nullptr) return Refuse(APIERR_BADWINDOW, "no database of kind " + std::to_string(info.typeID));
    currentDatabase_ = db->info.databaseUnId;
    return NoError;
}

GSErrCode ProjectDatabase::CalcBounds(const API_Guid& guid, API_Box3D* box) const {
    if (box == nullptr) return APIERR_BADPARS;
    const StoredElement* e = FindHere(guid);
    if (e == nullptr) return Refuse(APIERR_BADID, "no element " + GuidText(guid) + " here");
    const API_Element& r = e->record;
    double storyLevel = 0.0;
    for (const API_StoryType& s : model_.stories)
        if (s.index == r.header.floorInd) storyLevel = s.level;
    bool any = false;
    API_Box3D b = {};
    const auto add = [&](double x, double y, double z) {
        if (!any) {
            b = {x, y, z, x, y, z};
            any = true;
            return;
        }
        b.xMin = std::min(b.xMin, x);
        b.yMin = std::min(b.yMin, y);
        b.zMin = std::min(b.zMin, z);
        b.xMax = std::max(b.xMax, x);
        b.yMax = std::max(b.yMax, y);
        b.zMax = std::max(b.zMax, z);
    };
    const API_ElemTypeID t = r.header.typeID;
    if (HasPolygon(t) && e->memo.coords) {
        const std::vector<API_Coord>& c = *e->memo.coords;
        const size_t n = std::min(c.size(), size_t(APIPolygonOf(r)->nCoords) + 1);
        for (size_t i = 1; i < n; ++i) {
            if (t == API_MeshID) {
                const double z = e->memo.meshPolyZ && i < e->memo.meshPolyZ->size() ? (*e->memo.meshPolyZ)[i] : 0.0;
                add(c[i].x, c[i].y, r.mesh.level + z);
            } else if (t == API_SlabID) {
                add(c[i].x, c[i].y, r.slab.level - r.slab.thickness);
                add(c[i].x, c[i].y, r.slab.level);
            } else {
                add(c[i].x, c[i].y, 0.0);
            }
        }
        if (t == API_MeshID && e->memo.meshLevelCoords)
            for (int32_t i = 0; i < r.mesh.levelLines.nCoords && size_t(i) < e->memo.meshLevelCoords->size(); ++i) {
                const API_Coord3D& p = (*e->memo.meshLevelCoords)[size_t(i)].c;
                add(p.x, p.y, r.mesh.level + p.z);
            }
    } else if (t == API_ObjectID || t == API_LampID) {
        add(r.object.pos.x, r.object.pos.y, r.object.level);
        add(r.object.pos.x + r.object.xRatio, r.object.pos.y + r.object.yRatio, r.object.level);
    } else if (t == API_LineID) {
        add(r.line.begC.x, r.line.begC.y, 0.0);
        add(r.line.endC.x, r.line.endC.y, 0.0);
    } else if (t == API_HotspotID) {
        add(r.hotspot.pos.x, r.hotspot.pos.y, r.hotspot.height);
    } else if (t == API_ArcID || t == API_CircleID) {
        add(r.arc.origC.x - r.arc.r, r.arc.origC.y - r.arc.r, 0.0);
        add(r.arc.origC.x + r.arc.r, r.arc.origC.y + r.arc.r, 0.0);
    } else if (t == API_TextID) {
        add(r.text.loc.x, r.text.loc.y, 0.0);
    }
    if (!any) return Refuse(APIERR_GENERAL, "the " + ElementTypeName(t) + " has no extent");
    b.zMin += storyLevel;
    b.zMax += storyLevel;
    *box = b;
    return NoError;
}

GSErrCode ProjectDatabase::Rebuild(bool) {
    ++rebuilds_;
    return NoError;
}

// --- toolbox -------------------------------------------------------------------------------------------------

GSErrCode ProjectDatabase::GetToolBox(API_ToolBoxItem* item) const {
    if (item == nullptr) return APIERR_BADPARS;
    *item = toolbox_;
    return NoError;
}

GSErrCode ProjectDatabase::SetToolBox(const API_ToolBoxItem& item) {
    if (item.typeID != API_ZombieElemID && !ValidType(item.typeID))
        return Refuse(APIERR_BADELEMTYPE, "no tool for element type " + std::to_string(item.typeID));
    toolbox_ = item;
    return NoError;
}

// --- undoable commands ---------------------------------------------------------------------------------------

GSErrCode ProjectDatabase::RunUndoableCommand(const std::string& undoText, const std::function<GSErrCode()>& body) {
    if (inCommand_) return Refuse(APIERR_REFUSEDCMD, "an undoable command inside another");
    ProjectModel before = model_;
    const uint64_t changesBefore = changes_;
    inCommand_ = true;
    const GSErrCode err = body ? body() : APIERR_BADPARS;
    inCommand_ = false;
    if (changes_ != changesBefore) {
        undoSnapshots_.push_back(std::move(before));
        undoTexts_.push_back(undoText);
    }
    return err;
}

bool ProjectDatabase::Undo() {
    if (inCommand_ || undoSnapshots_.empty()) return false;
    model_ = std::move(undoSnapshots_.back());
    undoSnapshots_.pop_back();
    undoTexts_.pop_back();
    AfterModelRestored();
    ++changes_;
    return true;
}

void ProjectDatabase::AfterModelRestored() {
    bool storyFound = false;
    for (const API_StoryType& s : model_.stories) storyFound = storyFound || s.index == currentStory_;
    if (!storyFound && !model_.stories.empty()) currentStory_ = model_.stories.front().index;
    if (Database(currentDatabase_) == nullptr) currentDatabase_ = FloorPlanDatabase();
    if (Database(frontWindow_.databaseUnId) == nullptr) {
        API_WindowInfo plan = {};
        plan.typeID = APIWind_FloorPlanID;
        ChangeWindow(plan);
    }
    selection_.erase(
        std::remove_if(selection_.begin(), selection_.end(), [this](const API_Guid& g) { return Find(g) == nullptr; }),
        selection_.end());
}

// --- host side -----------------------------------------------------------------------------------------------

GSErrCode ProjectDatabase::PlaceElement(API_Element* element, const StoredMemo& memo, const std::string& name,
                                        const std::string& undoText) {
    API_Guid existing;
    if (FindByName(name, &existing)) return Refuse(APIERR_BADPARS, "an element is named \"" + name + "\" already");
    return RunUndoableCommand(undoText, [&]() {
        API_ElementMemo api = {};
        GSErrCode err = WriteApiMemo(memo, APIMemoMask_All, &api);
        if (err != NoError) return err;
        err = CreateElement(element, memo.IsEmpty() ? nullptr : &api);
        DisposeApiMemo(&api);
        if (err == NoError && !name.empty()) model_.elements[element->header.guid].name = name;
        return err;
    });
}

GSErrCode ProjectDatabase::PlacePolygonElement(API_ElemTypeID typeID, const std::vector<API_Coord3D>& points,
                                               bool closed, int32_t layer, const std::string& name, API_Guid* guid) {
    if (!HasPolygon(typeID)) return Refuse(APIERR_BADELEMTYPE, ElementTypeName(typeID) + " has no polygon");
    API_Element element = {};
    element.header.typeID = typeID;
    GSErrCode err = GetDefaults(&element, nullptr);
    if (err != NoError) return err;
    element.header.layer = layer;
    std::vector<API_Coord3D> pts = points;
    if (closed && pts.size() >= 2 && (pts.front().x != pts.back().x || pts.front().y != pts.back().y))
        pts.push_back(pts.front());
    const int32_t n = int32_t(pts.size());
    StoredMemo memo;
    memo.coords = std::vector<API_Coord>{{0.0, 0.0}};
    memo.meshPolyZ = std::vector<double>{0.0};
    memo.vertexIDs = std::vector<uint32_t>{0};
    for (int32_t i = 0; i < n; ++i) {
        memo.coords->push_back({pts[size_t(i)].x, pts[size_t(i)].y});
        memo.meshPolyZ->push_back(pts[size_t(i)].z);
        memo.vertexIDs->push_back(closed && i == n - 1 ? 1u : uint32_t(i + 1));
    }
    (*memo.vertexIDs)[0] = closed ? uint32_t(std::max(n - 1, 0)) : uint32_t(n);
    memo.pends = std::vector<int32_t>{0, n};
    memo.parcs = std::vector<API_PolyArc>();
    if (typeID != API_MeshID) memo.meshPolyZ.reset();
    API_Polygon* poly = APIPolygonOf(element);
    poly->nCoords = n;
    poly->nSubPolys = 1;
    poly->nArcs = 0;
    err = PlaceElement(&element, memo, name, "Place " + ElementTypeName(typeID));
    if (err == NoError && guid != nullptr) *guid = element.header.guid;
    return err;
}

GSErrCode ProjectDatabase::PlaceHotspot(const API_Coord& pos, int32_t layer, const std::string& name, API_Guid* guid) {
    API_Element element = {};
    element.header.typeID = API_HotspotID;
    GSErrCode err = GetDefaults(&element, nullptr);
    if (err != NoError) return err;
    element.header.layer = layer;
    element.hotspot.pos = pos;
    err = PlaceElement(&element, StoredMemo(), name, "Place hotspot");
    if (err == NoError && guid != nullptr) *guid = element.header.guid;
    return err;
}

GSErrCode ProjectDatabase::PlaceLine(const API_Coord& begC, const API_Coord& endC, int32_t layer,
                                     const std::string& name, API_Guid* guid) {
    API_Element element = {};
    element.header.typeID = API_LineID;
    GSErrCode err = GetDefaults(&element, nullptr);
    if (err != NoError) return err;
    element.header.layer = layer;
    element.line.begC = begC;
    element.line.endC = endC;
    err = PlaceElement(&element, StoredMemo(), name, "Place line");
    if (err == NoError && guid != nullptr) *guid = element.header.guid;
    return err;
}
