#pragma once
// The project's dump read straight from the stand-in host, line for line what ProjectDump(SweptProject(host))
// gives. An element's text is made once for each state of the element and kept by a key of its contents: a forked
// run inherits what its parent made, so a run that changed a few elements of a large project writes only those
// again (the whole project as JSON for every run cost most of the sweep's time).
#include "SweepDump.hpp"

#include "DGDriver.hpp"
#include "StandinHost.hpp"
#include "project/Guids.hpp"

#include "DG.hpp"

#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

namespace Sweep {

// A 64-bit key of bytes, eight at a time.
class ContentKey {
public:
    void Add(const void* data, size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        Word(size);
        for (; size >= 8; p += 8, size -= 8) {
            uint64_t w;
            std::memcpy(&w, p, 8);
            Word(w);
        }
        uint64_t last = 0;
        // An empty vector's data may be null, which memcpy may not be given even for no bytes.
        if (size > 0) std::memcpy(&last, p, size);
        Word(last);
    }
    void Add(const std::string& s) { Add(s.data(), s.size()); }
    void Word(uint64_t w) {
        h_ ^= w + 0x9e3779b97f4a7c15ull + (h_ << 6) + (h_ >> 2);
        h_ *= 0xff51afd7ed558ccdull;
        h_ ^= h_ >> 33;
    }
    uint64_t Value() const { return h_; }

private:
    uint64_t h_ = 0xcbf29ce484222325ull;
};

// The attributes other than layers (the project's JSON has those): type, index, name and a key of the record.
inline ordered_json OtherAttributes(StandinHost& host) {
    ordered_json out = ordered_json::array();
    for (const auto& [type, list] : host.Database().Model().attributes) {
        if (type == API_LayerID) continue;
        for (const StoredAttribute& a : list) {
            if (a.deleted) continue;
            ContentKey key;
            key.Add(&a.record, sizeof a.record);
            const char* name = a.record.header.name;
            out.push_back({type, a.record.header.index, std::string(name, strnlen(name, sizeof a.record.header.name)),
                           std::to_string(key.Value())});
        }
    }
    return out;
}

// The user folder's files (the module's generated parts, exports, preferences, markers) by path, each with a key
// of its bytes, the GUIDs in them numbered in the order met (the host names a part it makes anew each time);
// links (the module's install) left out.
// A file's key by its inode, size and change times: a forked run inherits the keys its parent made and reads again
// only the files it wrote. A file changed within a clock tick of being read is not kept, as its change times could
// then stay the same through a later write.
struct FileStamp {
    uint64_t device = 0, inode = 0, size = 0;
    int64_t modified = 0, changed = 0;  // ns
    bool operator==(const FileStamp& o) const {
        return device == o.device && inode == o.inode && size == o.size && modified == o.modified &&
            changed == o.changed;
    }
};
inline bool StampOf(const std::string& path, FileStamp* out) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    out->device = uint64_t(st.st_dev);
    out->inode = uint64_t(st.st_ino);
    out->size = uint64_t(st.st_size);
    out->modified = int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    out->changed = int64_t(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
    return true;
}
inline std::unordered_map<std::string, std::pair<FileStamp, std::string>>& FileKeys() {
    static std::unordered_map<std::string, std::pair<FileStamp, std::string>> keys;
    return keys;
}
inline std::string FileKey(const std::string& path) {
    FileStamp before, after;
    const bool stamped = StampOf(path, &before);
    auto& keys = FileKeys();
    if (stamped)
        if (const auto found = keys.find(path); found != keys.end() && found->second.first == before)
            return found->second.second;
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    GuidNumbers numbers;
    ContentKey key;
    key.Add(numbers.Rewrite(bytes));
    std::string value = std::to_string(key.Value());
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const int64_t nowNs = int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    constexpr int64_t settled = 100'000'000;  // well above the file system's clock tick
    if (stamped && StampOf(path, &after) && after == before && before.changed + settled < nowNs &&
        before.modified + settled < nowNs)
        keys[path] = {before, value};
    else
        keys.erase(path);
    return value;
}

inline ordered_json UserFolderFiles(StandinHost& host) {
    namespace fs = std::filesystem;
    std::vector<std::pair<std::string, std::string>> files;
    const fs::path root = host.Settings().userFolder;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        if (it->is_symlink(ec) || !it->is_regular_file(ec)) continue;
        files.push_back({it->path().lexically_relative(root).generic_string(), FileKey(it->path().string())});
    }
    std::sort(files.begin(), files.end());
    ordered_json out = ordered_json::array();
    for (const auto& [path, key] : files) out.push_back({path, key});
    return out;
}

// What the host keeps for the user beside the project's database: the tools' defaults (each a key of its record),
// the module's data, the dialogs and palettes open (modeless ones with whether they show), the module's modeless
// windows as registered and the menu texts it set.
inline void AddHostSurroundings(StandinHost& host, ordered_json& project) {
    ordered_json defaults = ordered_json::array();
    for (const auto& [tool, record] : host.Database().DefaultRecords()) {
        ContentKey key;
        key.Add(&record, sizeof record);
        defaults.push_back({int32_t(tool.first), tool.second, std::to_string(key.Value())});
    }
    project["defaults"] = defaults;
    ordered_json data = ordered_json::array();
    for (const auto& [name, entry] : host.Project().moduleData) {
        ContentKey key;
        key.Add(entry.bytes);
        data.push_back({name, entry.dataVersion, entry.platformSign, entry.bytes.size(), std::to_string(key.Value())});
    }
    project["moduleData"] = data;
    ordered_json dialogs = ordered_json::array();
    const std::vector<int16_t> modeless = DGDriver::OpenModelessDialogs();
    for (const int16_t id : DGDriver::OpenDialogs()) {
        const bool isModeless = std::find(modeless.begin(), modeless.end(), id) != modeless.end();
        dialogs.push_back({id, isModeless ? (DGIsModelessDialogVisible(id) ? "shown" : "hidden") : "modal"});
    }
    project["dialogs"] = dialogs;
    // The registrations of the windows open: one left behind by a window that closed is nothing the user meets.
    ordered_json windows = ordered_json::array();
    for (const auto& [id, window] : host.Session().modelessWindows)
        if (DGIsDialogOpen(int16_t(id))) windows.push_back({id, window.controlFlags});
    project["windows"] = windows;
    ordered_json menus = ordered_json::array();
    for (const auto& [item, text] : host.Session().menuItemTexts) menus.push_back({item.first, item.second, text});
    project["menus"] = menus;
}

// The project as the sweep compares it: the host's JSON, each element the module observes marked "observed", with
// the attributes other than layers, the user folder's files and the rest of what the host keeps for the user.
inline ordered_json SweptProject(StandinHost& host) {
    ordered_json project = host.Database().ToJson();
    project["attributes"] = OtherAttributes(host);
    project["files"] = UserFolderFiles(host);
    AddHostSurroundings(host, project);
    for (ordered_json& e : project["elements"]) {
        API_Guid guid;
        if (ParseGuidText(e.value("guid", ""), &guid) && host.Events().IsObserved(guid)) e["observed"] = true;
    }
    return project;
}

template <typename T>
void AddPart(ContentKey& key, const MemoPart<std::vector<T>>& part) {
    key.Word(part.has_value() ? 1 : 0);
    if (part) key.Add(part->data(), part->size() * sizeof(T));
}

// Everything an element's JSON is made of: its record, memo, user data, name, database, library part and mark.
inline uint64_t ElementStateKey(const API_Guid& guid, const StoredElement& e, const std::string& libPart,
                                bool observed) {
    ContentKey key;
    key.Add(&guid, sizeof guid);
    key.Word(e.record.Hash());
    const StoredMemo& m = e.memo;
    AddPart(key, m.coords);
    AddPart(key, m.pends);
    AddPart(key, m.parcs);
    AddPart(key, m.vertexIDs);
    AddPart(key, m.edgeIDs);
    AddPart(key, m.contourIDs);
    AddPart(key, m.edgeTrims);
    AddPart(key, m.sideMaterials);
    AddPart(key, m.meshPolyZ);
    AddPart(key, m.meshLevelCoords);
    AddPart(key, m.meshLevelEnds);
    AddPart(key, m.bezierDirs);
    AddPart(key, m.textLineStarts);
    key.Word(m.params.has_value() ? 1 : 0);
    if (m.params)
        for (const StoredParam& p : *m.params) {
            key.Add(&p.record, sizeof p.record);
            key.Add(p.cells);
        }
    key.Word(m.elemInfoString.has_value() ? 1 : 0);
    if (m.elemInfoString) key.Add(m.elemInfoString->data(), m.elemInfoString->size() * sizeof(char16_t));
    key.Word(m.textContent.has_value() ? 1 : 0);
    if (m.textContent) key.Add(*m.textContent);
    key.Word(e.userData.has_value() ? 1 : 0);
    if (e.userData) {
        key.Word(uint64_t(uint16_t(e.userData->dataVersion)) << 48 | uint64_t(e.userData->platformSign) << 32 |
                 e.userData->flags);
        key.Add(e.userData->bytes.str());
    }
    key.Add(&e.database, sizeof e.database);
    key.Add(e.name);
    key.Add(libPart);
    key.Word(observed ? 1 : 0);
    return key.Value();
}

// GUID texts met in dumps, each interned once (upper case) and numbered anew per dump in the order met, as
// GuidNumbers numbers them, without a string made per GUID.
class GuidIds {
public:
    uint32_t Id(const std::string& text) {
        key_.assign(text);
        for (char& c : key_) c = char(std::toupper(static_cast<unsigned char>(c)));
        const auto found = ids_.find(key_);
        if (found != ids_.end()) return found->second;
        const uint32_t id = uint32_t(stamp_.size());
        ids_.emplace(key_, id);
        stamp_.push_back(0);
        number_.push_back(0);
        return id;
    }
    void NewDump() {
        ++dump_;
        next_ = 0;
    }
    uint32_t Number(uint32_t id) {
        if (stamp_[id] != dump_) {
            stamp_[id] = dump_;
            number_[id] = ++next_;
        }
        return number_[id];
    }
    bool Met(uint32_t id) const { return stamp_[id] == dump_; }
    void Append(std::string& out, uint32_t id) {
        out += '#';
        out += std::to_string(Number(id));
    }
    // The text with each GUID in it as its number.
    std::string Rewrite(const std::string& text) {
        return RewriteGuids(text, [this](std::string& out, const std::string& guid) { Append(out, Id(guid)); });
    }

private:
    std::unordered_map<std::string, uint32_t> ids_;
    std::vector<uint32_t> stamp_, number_;
    uint32_t dump_ = 0, next_ = 0;
    std::string key_;
};

// An element's text without its own GUID, cut where the GUIDs in it stand.
struct ElementText {
    std::vector<std::string> pieces;  // one more than guids
    std::vector<uint32_t> guids;
    size_t length = 0;  // of the pieces
};

class HostDumper {
public:
    Signature Dump(StandinHost& host) {
        ProjectDatabase& db = host.Database();
        const ordered_json parts = db.ToJson(false);
        ids_.NewDump();
        for (const ordered_json& d : parts.value("databases", ordered_json::array()))
            ids_.Number(ids_.Id(d["id"].get<std::string>()));
        std::vector<const ElementText*> texts;
        for (const API_Guid& guid : db.AllElements()) {
            const StoredElement& e = *db.Find(guid);
            const API_ElemTypeID type = e.record.header.typeID;
            const std::string libPart = (type == API_ObjectID || type == API_LampID) && db.libPartName
                ? db.libPartName(e.record.Get().object.libInd)
                : std::string();
            const bool observed = host.Events().IsObserved(guid);
            const uint64_t key = ElementStateKey(guid, e, libPart, observed);
            auto found = texts_.find(key);
            if (found == texts_.end()) {
                ordered_json j = db.ElementJson(guid);
                if (observed) j["observed"] = true;
                found = texts_.emplace(key, Cut(WithoutOwnGuid(j))).first;
            }
            auto own = own_.find(guid);
            if (own == own_.end()) own = own_.emplace(guid, ids_.Id(GuidText(guid))).first;
            ids_.Number(own->second);
            texts.push_back(&found->second);
        }
        // Links are dumped when both their ends are elements; met before the elements' texts are numbered.
        std::vector<bool> linked;
        if (parts.contains("solidLinks"))
            for (const ordered_json& x : parts["solidLinks"])
                linked.push_back(ids_.Met(ids_.Id(x["target"].get<std::string>())) &&
                                 ids_.Met(ids_.Id(x["operator"].get<std::string>())));
        Signature out;
        out.reserve(texts.size() + 64);
        ordered_json surroundings = parts;
        surroundings["attributes"] = OtherAttributes(host);
        surroundings["files"] = UserFolderFiles(host);
        AddHostSurroundings(host, surroundings);
        for (const ElementText* t : texts) {
            std::string line;
            line.reserve(t->length + 16);
            line += "element ";
            for (size_t k = 0; k < t->guids.size(); ++k) {
                line += t->pieces[k];
                ids_.Append(line, t->guids[k]);
            }
            line += t->pieces.back();
            out.push_back(std::move(line));
        }
        size_t link = 0;
        for (const char* part : {"layers", "stories", "databases", "solidLinks"})
            if (parts.contains(part))
                for (ordered_json x : parts[part]) {
                    if (x.contains("target") && !linked[link++]) continue;
                    x.erase("time");
                    x.erase("subTime");
                    out.push_back(std::string(part) + " " +
                                  ids_.Rewrite(x.dump(-1, ' ', false, ordered_json::error_handler_t::replace)));
                }
        DumpSurroundings(surroundings, ids_, out);
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    ElementText Cut(const std::string& text) {
        ElementText out;
        std::string last = RewriteGuids(text, [&](std::string& piece, const std::string& guid) {
            out.length += piece.size();
            out.pieces.push_back(std::move(piece));
            piece.clear();
            out.guids.push_back(ids_.Id(guid));
        });
        out.length += last.size();
        out.pieces.push_back(std::move(last));
        return out;
    }

    GuidIds ids_;
    std::unordered_map<uint64_t, ElementText> texts_;
    std::unordered_map<API_Guid, uint32_t, GuidHash> own_;
};

}  // namespace Sweep
