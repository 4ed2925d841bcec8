#include "project/ProjectCore.hpp"

#include "GSRoot.hpp"
#include "TextFields.hpp"

#include <algorithm>
#include <cstring>

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

}  // namespace

void CopyU16(char16_t* field, size_t units, const std::u16string& text) {
    const size_t n = std::min(units - 1, text.size());
    std::copy(text.begin(), text.begin() + std::ptrdiff_t(n), field);
    field[n] = 0;
}

std::u16string Utf16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

API_Guid ProjectCore::FloorPlanDatabase() { return MakeGuid(1, 0xDB00); }
API_Guid ProjectCore::ModelDatabase3D() { return MakeGuid(4, 0xDB00); }

ProjectCore::ProjectCore() { Reset(); }

void ProjectCore::AddAttribute(API_AttrTypeID typeID, const std::string& name,
                               const std::function<void(API_Attribute&)>& fill) {
    std::vector<StoredAttribute>& list = model_.attributes[typeID];
    attributeNames_.erase(typeID);
    StoredAttribute a;
    a.record.header.typeID = typeID;
    a.record.header.index = int32_t(list.size() + 1);
    CopyFieldText(a.record.header.name, sizeof a.record.header.name, name);
    a.record.header.guid = MakeGuid(uint32_t(list.size() + 1), uint16_t(0xA000 + typeID));
    if (fill) fill(a.record);
    list.push_back(a);
}

void ProjectCore::Reset() {
    static uint64_t epochs = 0;
    epoch_ = ++epochs;
    model_ = ProjectModel();
    attributeNames_.clear();
    const auto database = [](int32_t typeID, const API_Guid& id, const std::u16string& title) {
        StoredDatabase db;
        db.info.typeID = typeID;
        db.info.index = 1;
        db.info.databaseUnId = id;
        CopyU16(db.info.title, 128, title);
        CopyU16(db.info.name, 128, title);
        return db;
    };
    model_.databases = {database(APIWind_FloorPlanID, FloorPlanDatabase(), u"Floor plan"),
                        database(APIWind_3DModelID, ModelDatabase3D(), u"3D model")};

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
    AddAttribute(API_FilltypeID, "Empty fill", [](API_Attribute& a) { a.filltype.fillKind = APIFillKind_Empty; });
    AddAttribute(API_FilltypeID, "Solid fill", [](API_Attribute& a) {
        std::memset(a.filltype.bitPat, 0xFF, 8);
        a.filltype.fillKind = APIFillKind_Solid;
    });
    AddAttribute(API_FilltypeID, "Background fill", [](API_Attribute& a) { a.filltype.fillKind = APIFillKind_Solid; });
    AddAttribute(API_FilltypeID, "Cross hatch", [](API_Attribute& a) {
        const uint8_t p[8] = {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};
        std::memcpy(a.filltype.bitPat, p, 8);
    });
    // Vector hatches up to index 65, so that a fill asked for by that index exists without being solid.
    for (int i = 5; i <= 65; ++i)
        AddAttribute(API_FilltypeID, "Hatch " + std::to_string(i), [i](API_Attribute& a) {
            for (int r = 0; r < 8; ++r) a.filltype.bitPat[r] = uint8_t(r % (2 + i % 3) == 0 ? 0xFF : 0x01 << (i % 8));
        });
    for (const char* m : {"Earth", "Grass", "Asphalt", "Concrete", "Water"}) AddAttribute(API_MaterialID, m, nullptr);
    AddAttribute(API_FontID, "Arial", [](API_Attribute& a) { a.font.familyType = 0; });
    AddAttribute(API_FontID, "Courier New", [](API_Attribute& a) { a.font.familyType = 0; });

    undoSteps_.clear();
    undoTexts_.clear();
    pending_ = UndoStep();
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

API_Guid ProjectCore::NewGuid() { return MakeGuid(uint32_t(nextSerial_++), 0x0E1E); }

GSErrCode ProjectCore::Refuse(GSErrCode err, const std::string& why) const {
    lastRefusal_ = why;
    return err;
}

int32_t ProjectCore::CurrentDatabaseType() const {
    const StoredDatabase* db = Database(currentDatabase_);
    return db != nullptr ? db->info.typeID : 0;
}

const StoredDatabase* ProjectCore::Database(const API_Guid& id) const {
    for (const StoredDatabase& db : model_.databases)
        if (db.info.databaseUnId == id) return &db;
    return nullptr;
}

GSErrCode ProjectCore::CheckModelChange() const {
    if (!inCommand_) return Refuse(APIERR_NEEDSUNDOSCOPE, "a model change outside an undoable command");
    if (CurrentDatabaseType() == APIWind_3DModelID)
        return Refuse(APIERR_BADDATABASE, "the 3D model's database is current");
    return NoError;
}

bool ProjectCore::VisibleHere(const StoredElement& e) const {
    if (e.database == currentDatabase_) return true;
    return currentDatabase_ == ModelDatabase3D() && e.database == FloorPlanDatabase();
}

const StoredElement* ProjectCore::Find(const API_Guid& guid) const {
    const auto it = model_.elements.find(guid);
    return it != model_.elements.end() ? &it->second : nullptr;
}

StoredElement* ProjectCore::FindUntouched(const API_Guid& guid) { return model_.elements.FindMutable(guid); }

StoredElement* ProjectCore::FindMutable(const API_Guid& guid) {
    StoredElement* e = FindUntouched(guid);
    if (e != nullptr) Touch(guid, *e);
    return e;
}

void ProjectCore::Touch(const API_Guid& guid) {
    if (!inCommand_) return;
    const StoredElement* e = Find(guid);
    if (e != nullptr) Touch(guid, *e);
}

void ProjectCore::Touch(const API_Guid& guid, const StoredElement& element) {
    // An element the command made is gone again when the step is taken back: it keeps no state.
    if (!inCommand_ || element.serial >= pending_.firstSerial) return;
    if (pending_.elementsBefore.count(guid) != 0) return;
    pending_.elementsBefore.emplace(guid, std::make_unique<StoredElement>(element));
}

const StoredElement* ProjectCore::FindHere(const API_Guid& guid) const {
    const StoredElement* e = Find(guid);
    return e != nullptr && VisibleHere(*e) ? e : nullptr;
}

const API_Attribute* ProjectCore::Attribute(API_AttrTypeID typeID, int32_t index) const {
    const auto it = model_.attributes.find(typeID);
    if (it == model_.attributes.end() || index < 1 || size_t(index) > it->second.size()) return nullptr;
    const StoredAttribute& a = it->second[size_t(index) - 1];
    return a.deleted ? nullptr : &a.record;
}

uint32_t ProjectCore::LayerFlags(int32_t layer) const {
    const API_Attribute* a = Attribute(API_LayerID, layer);
    return a != nullptr ? a->header.flags : 0;
}

bool ProjectCore::LayerUsable(int32_t layer, bool forChange) const {
    const API_Attribute* a = Attribute(API_LayerID, layer);
    if (a == nullptr) return false;
    return !forChange || (a->header.flags & APILay_Locked) == 0;
}

std::vector<API_Guid> ProjectCore::AllElements() const { return model_.elements.InCreationOrder(); }

std::vector<API_Guid> ProjectCore::ElementsHere(API_ElemTypeID typeID) const {
    std::vector<API_Guid> databases = {currentDatabase_};
    if (currentDatabase_ == ModelDatabase3D()) databases.push_back(FloorPlanDatabase());
    return model_.elements.InDatabases(databases, typeID);
}

bool ProjectCore::FindByName(const std::string& name, API_Guid* guid) const {
    if (name.empty()) return false;
    const auto it = model_.elements.Names().find(name);
    if (it == model_.elements.Names().end()) return false;
    *guid = *it->second.begin();
    return true;
}

bool ProjectCore::SetElementName(const API_Guid& guid, const std::string& name) {
    return FindMutable(guid) != nullptr && model_.elements.SetName(guid, name);
}

std::set<std::string> ProjectCore::NamesNow() const {
    std::set<std::string> names;
    for (const auto& kv : model_.elements.Names()) names.insert(names.end(), kv.first);
    return names;
}

std::set<std::string> ProjectCore::ElementNames() const {
    std::set<std::string> names = NamesNow();
    for (const UndoStep& step : undoSteps_)
        for (const auto& kv : step.elementsBefore)
            if (kv.second && !kv.second->name.empty()) names.insert(kv.second->name);
    return names;
}

void ProjectCore::AfterModelRestored() {
    bool storyFound = false;
    for (const API_StoryType& s : model_.stories) storyFound = storyFound || s.index == currentStory_;
    if (!storyFound && !model_.stories.empty()) currentStory_ = model_.stories.front().index;
    if (Database(currentDatabase_) == nullptr) currentDatabase_ = FloorPlanDatabase();
    if (Database(frontWindow_.databaseUnId) == nullptr) {
        const StoredDatabase* plan = Database(FloorPlanDatabase());
        if (plan != nullptr) BringToFront(*plan);
    }
    selection_.erase(
        std::remove_if(selection_.begin(), selection_.end(), [this](const API_Guid& g) { return Find(g) == nullptr; }),
        selection_.end());
}

void ProjectCore::BringToFront(const StoredDatabase& db) {
    frontWindow_ = API_WindowInfo();
    frontWindow_.typeID = db.info.typeID;
    frontWindow_.index = db.info.index;
    frontWindow_.databaseUnId = db.info.databaseUnId;
    std::memcpy(frontWindow_.title, db.info.title, sizeof frontWindow_.title);
    currentDatabase_ = db.info.databaseUnId;
}

void ProjectCore::DropLinksOf(const API_Guid& guid) {
    std::vector<StoredSolidLink>& links = model_.solidLinks;
    links.erase(std::remove_if(links.begin(), links.end(),
                               [&](const StoredSolidLink& l) { return l.target == guid || l.operatorGuid == guid; }),
                links.end());
}
