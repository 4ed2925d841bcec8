#include "project/ProjectWindows.hpp"

#include "project/ElementTypes.hpp"
#include "project/Guids.hpp"

#include <algorithm>
#include <cstring>

void ProjectWindows::GetFrontWindow(API_WindowInfo* info) const { *info = frontWindow_; }

namespace {
const StoredDatabase* FindDatabase(const ProjectModel& m, int32_t typeID, const API_Guid& id) {
    for (const StoredDatabase& db : m.databases) {
        if (db.info.typeID != typeID) continue;
        if (typeID == APIWind_FloorPlanID || typeID == APIWind_3DModelID || db.info.databaseUnId == id) return &db;
    }
    return nullptr;
}
}  // namespace

GSErrCode ProjectWindows::ChangeWindow(const API_WindowInfo& info) {
    const StoredDatabase* db = FindDatabase(model_, info.typeID, info.databaseUnId);
    if (db == nullptr) return Refuse(APIERR_BADWINDOW, "no window of kind " + std::to_string(info.typeID));
    BringToFront(*db);
    return NoError;
}

void ProjectWindows::GetCurrentDatabase(API_DatabaseInfo* info) const {
    const StoredDatabase* db = Database(currentDatabase_);
    *info = db != nullptr ? db->info : API_DatabaseInfo();
}

GSErrCode ProjectWindows::ChangeDatabase(const API_DatabaseInfo& info) {
    const StoredDatabase* db = FindDatabase(model_, info.typeID, info.databaseUnId);
    if (db == nullptr) return Refuse(APIERR_BADWINDOW, "no database of kind " + std::to_string(info.typeID));
    currentDatabase_ = db->info.databaseUnId;
    return NoError;
}

GSErrCode ProjectWindows::CalcBounds(const API_Guid& guid, API_Box3D* box) const {
    if (box == nullptr) return APIERR_BADPARS;
    const StoredElement* e = FindHere(guid);
    if (e == nullptr) return Refuse(APIERR_BADID, "no element " + GuidText(guid) + " here");
    const API_Element r = e->record.Get();
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
    if (HasPolygon(t) && e->memo->coords) {
        const std::vector<API_Coord>& c = *e->memo->coords;
        const size_t n = std::min(c.size(), size_t(APIPolygonOf(r)->nCoords) + 1);
        for (size_t i = 1; i < n; ++i) {
            if (t == API_MeshID) {
                const double z = e->memo->meshPolyZ && i < e->memo->meshPolyZ->size() ? (*e->memo->meshPolyZ)[i] : 0.0;
                add(c[i].x, c[i].y, r.mesh.level + z);
            } else if (t == API_SlabID) {
                add(c[i].x, c[i].y, r.slab.level - r.slab.thickness);
                add(c[i].x, c[i].y, r.slab.level);
            } else {
                add(c[i].x, c[i].y, 0.0);
            }
        }
        if (t == API_MeshID && e->memo->meshLevelCoords)
            for (int32_t i = 0; i < r.mesh.levelLines.nCoords && size_t(i) < e->memo->meshLevelCoords->size(); ++i) {
                const API_Coord3D& p = (*e->memo->meshLevelCoords)[size_t(i)].c;
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

GSErrCode ProjectWindows::Rebuild(bool) {
    ++rebuilds_;
    return NoError;
}

std::vector<API_Guid> ProjectWindows::WorksheetDatabases() const {
    std::vector<API_Guid> ids;
    for (const StoredDatabase& db : model_.databases)
        if (db.info.typeID == APIWind_WorksheetID && db.marker == API_Guid()) ids.push_back(db.info.databaseUnId);
    return ids;
}

GSErrCode ProjectWindows::GetDatabaseInfo(API_DatabaseInfo* info) const {
    if (info == nullptr) return APIERR_BADPARS;
    const StoredDatabase* db = FindDatabase(model_, info->typeID, info->databaseUnId);
    if (db == nullptr) db = Database(info->databaseUnId);
    if (db == nullptr) return Refuse(APIERR_BADWINDOW, "no database " + GuidText(info->databaseUnId));
    *info = db->info;
    return NoError;
}

namespace {
// Names and reference ids are the host's own texts: they end within their fields.
bool Terminated(const char16_t* text, size_t units) {
    for (size_t i = 0; i < units; ++i)
        if (text[i] == 0) return true;
    return false;
}
}  // namespace

GSErrCode ProjectWindows::NewWorksheet(API_DatabaseInfo* info) {
    if (info == nullptr) return APIERR_BADPARS;
    if (info->typeID != APIWind_WorksheetID)
        return Refuse(APIERR_BADPARS, "only independent worksheets are made, not kind " + std::to_string(info->typeID));
    if (!Terminated(info->name, 128) || !Terminated(info->ref, 32))
        return Refuse(APIERR_BADPARS, "the worksheet's name or reference id does not end");
    StoredDatabase db;
    db.info.typeID = APIWind_WorksheetID;
    db.info.databaseUnId = NewGuid();
    int32_t n = 1;
    for (const StoredDatabase& d : model_.databases) n += d.info.typeID == APIWind_WorksheetID ? 1 : 0;
    db.info.index = n;
    std::memcpy(db.info.name, info->name, sizeof db.info.name);
    std::memcpy(db.info.ref, info->ref, sizeof db.info.ref);
    std::memcpy(db.info.title, info->name, sizeof db.info.title);
    model_.databases.push_back(db);
    Changed();
    *info = db.info;
    return NoError;
}

GSErrCode ProjectWindows::ModifyWorksheet(const API_DatabaseInfo& info) {
    if (!Terminated(info.name, 128) || !Terminated(info.ref, 32))
        return Refuse(APIERR_BADPARS, "the worksheet's name or reference id does not end");
    for (StoredDatabase& db : model_.databases) {
        if (db.info.typeID != APIWind_WorksheetID || db.marker != API_Guid() ||
            !(db.info.databaseUnId == info.databaseUnId))
            continue;
        std::memcpy(db.info.name, info.name, sizeof db.info.name);
        std::memcpy(db.info.ref, info.ref, sizeof db.info.ref);
        std::memcpy(db.info.title, info.name, sizeof db.info.title);
        if (frontWindow_.databaseUnId == db.info.databaseUnId)
            std::memcpy(frontWindow_.title, db.info.title, sizeof frontWindow_.title);
        Changed();
        return NoError;
    }
    return Refuse(APIERR_BADWINDOW, "no independent worksheet " + GuidText(info.databaseUnId));
}
