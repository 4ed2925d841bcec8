#include "library/LibraryStore.hpp"
#include "library/LibraryPictures.hpp"

#include "library/LibraryDescription.hpp"
#include "library/LibraryWords.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

bool LibraryStore::TakeEmbeddedFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::string dir = folder;
    for (char& c : dir)
        if (c == '\\') c = '/';
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (std::find(folders_.begin(), folders_.end(), dir) != folders_.end()) return true;
    if (embedded_.empty() || dir != embedded_) return false;
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) return false;
    folders_.push_back(dir);
    return true;
}

bool LibraryStore::LoadFolder(const std::string& folder, std::string* error, bool* faultyFile) {
    namespace fs = std::filesystem;
    bool ignored = false;
    if (faultyFile == nullptr) faultyFile = &ignored;
    // A caller that keeps no reason still gets false; the reason then goes nowhere.
    std::string unread;
    if (error == nullptr) error = &unread;
    *faultyFile = false;
    std::string dir = folder;
    for (char& c : dir)
        if (c == '\\') c = '/';
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    if (std::find(folders_.begin(), folders_.end(), dir) != folders_.end()) return true;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        *error = "library folder " + dir + " does not exist";
        return false;
    }
    std::vector<std::string> files;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".lpd" && it->is_regular_file()) files.push_back(it->path().string());
    if (ec) {
        *error = "cannot read library folder " + dir;
        return false;
    }
    std::sort(files.begin(), files.end());
    std::vector<Entry> loaded;
    std::set<std::string> seen;
    for (const std::string& path : files) {
        std::error_code sizeError;
        const auto size = fs::file_size(path, sizeError);
        if (sizeError || size > LibFileBytesMax) {
            *faultyFile = true;
            *error = path + ": cannot be read or is larger than " + std::to_string(LibFileBytesMax) + " bytes";
            return false;
        }
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        if (!in) {
            *error = path + ": cannot be read";
            return false;
        }
        Entry e{folders_.size(), LibPartDef()};
        std::string why;
        if (!ParseLibraryPart(ss.str(), &e.part, &why)) {
            *faultyFile = true;
            *error = path + ": " + why;
            return false;
        }
        if (!seen.insert(LowerCase(e.part.name)).second) {
            *faultyFile = true;
            *error = path + ": library part " + e.part.name + " is described twice in " + dir;
            return false;
        }
        e.part.filePath = path;
        loaded.push_back(std::move(e));
    }
    // Picture files are parts too; a description of the same name keeps the name.
    for (LibPartDef& picture : PicturePartsOf(dir))
        if (seen.insert(LowerCase(picture.name)).second) loaded.push_back(Entry{folders_.size(), std::move(picture)});
    if (loaded.empty()) {
        *error = "library folder " + dir + " holds no library part description (*.lpd)";
        return false;
    }
    folders_.push_back(dir);
    for (Entry& e : loaded) parts_.push_back(std::move(e));
    return true;
}

void LibraryStore::Clear() {
    folders_.clear();
    parts_.clear();
    creating_ = false;
    newPart_ = LibPartDef();
    overwrite_ = false;
}

namespace {
// A name without the extension of a library file ("Bench.gsm" is "bench"), in lower case.
std::string Stem(const std::string& name) {
    static const std::set<std::string> extensions = {"gsm", "lpd", "jpg", "jpeg", "png", "gif", "bmp", "tif", "tiff"};
    const std::string lower = LowerCase(name);
    const size_t dot = lower.rfind('.');
    if (dot == std::string::npos || extensions.count(lower.substr(dot + 1)) == 0) return lower;
    return lower.substr(0, dot);
}
}  // namespace

bool LibraryStore::IsReadOnly(const std::string& folder) const {
    namespace fs = std::filesystem;
    if (readOnly_.empty()) return false;
    std::error_code ec;
    const fs::path guarded = fs::weakly_canonical(readOnly_, ec);
    const fs::path path = fs::weakly_canonical(folder, ec);
    if (ec) return false;
    // Inside: the guarded folder's components start the path's.
    auto g = guarded.begin();
    for (auto p = path.begin(); g != guarded.end() && p != path.end() && *g == *p; ++g, ++p) {
    }
    return g == guarded.end() || (std::next(g) == guarded.end() && g->empty());
}

int32_t LibraryStore::FindByName(const std::string& name, int32_t type) const {
    const std::string wanted = LowerCase(name);
    for (size_t i = 0; i < parts_.size(); ++i)
        if ((type == 0 || parts_[i].part.type == type) && LowerCase(parts_[i].part.name) == wanted)
            return int32_t(i) + 1;
    // Failing that, one name may carry an extension the other lacks.
    const std::string stem = Stem(name);
    for (size_t i = 0; i < parts_.size(); ++i) {
        if (type != 0 && parts_[i].part.type != type) continue;
        const std::string part = LowerCase(parts_[i].part.name);
        if (part == stem || Stem(parts_[i].part.name) == wanted) return int32_t(i) + 1;
    }
    return -1;
}

int32_t LibraryStore::FindByUnID(const std::string& unID) const {
    const std::string wanted = UpperCase(unID);
    for (size_t i = 0; i < parts_.size(); ++i)
        if (parts_[i].part.guid == wanted) return int32_t(i) + 1;
    return -1;
}

const LibPartDef* LibraryStore::Part(int32_t index) const {
    if (index < 1 || size_t(index) > parts_.size()) return nullptr;
    return &parts_[size_t(index) - 1].part;
}

GSHandle LibraryStore::MakeParamHandle(int32_t index) const {
    const LibPartDef* part = Part(index);
    return part != nullptr ? ::MakeParamHandle(part->params) : nullptr;
}

LibPartDef* LibraryStore::MutablePart(int32_t index) {
    if (index < 1 || size_t(index) > parts_.size()) return nullptr;
    return &parts_[size_t(index) - 1].part;
}

GSErrCode LibraryStore::BeginPart(const LibPartDef& part, const std::string& folder, int32_t* index, std::string* why) {
    namespace fs = std::filesystem;
    std::string dir = folder;
    for (char& c : dir)
        if (c == '\\') c = '/';
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    const auto found = std::find(folders_.begin(), folders_.end(), dir);
    if (found == folders_.end() && !TakeEmbeddedFolder(dir)) {
        *why = dir + " is not a library folder of the project";
        return APIERR_BADPARS;
    }
    if (IsReadOnly(dir)) {
        *why = dir + " is the library shipped beside the module: a run never writes into it";
        return APIERR_REFUSED;
    }
    const std::string& name = part.name;
    bool goodName = !name.empty() && name.size() < 128 && name != "." && name != ".." && name.front() != ' ' &&
        name.back() != ' ' && name.front() != '\t' && name.back() != '\t';
    for (char c : name) goodName = goodName && uint8_t(c) >= 0x20 && c != '/' && c != '\\';
    if (!goodName) {
        *why = "'" + name +
            "' cannot name a library part (1 to 127 bytes, no control characters, '/' or '\\', "
            "no spaces around it)";
        return APIERR_BADPARS;
    }
    if (part.type < 1) {
        *why = "library-part type " + std::to_string(part.type);
        return APIERR_BADPARS;
    }
    const size_t folderIndex = size_t(found - folders_.begin());
    const int32_t existing = FindByName(name, 0);
    if (existing > 0) {
        if (!overwrite_) {
            *why = "a library part named " + name + " exists and overwriting is off";
            return APIERR_NAMEALREADYUSED;
        }
        if (parts_[size_t(existing) - 1].folder != folderIndex) {
            *why = "a library part named " + name + " exists in another library";
            return APIERR_NAMEALREADYUSED;
        }
    }
    if (creating_) *why = "library part " + newPart_.name + " was never saved and is dropped";
    newPart_ = LibPartDef();
    newPart_.name = name;
    newPart_.type = part.type;
    newPart_.parent = part.parent;
    const int32_t owner = part.guid.empty() ? -1 : FindByUnID(part.guid);
    newPart_.guid = !part.guid.empty() && (owner < 0 || owner == existing) ? UpperCase(part.guid) : NewLibPartUnID();
    if (existing > 0) {
        newPart_.filePath = parts_[size_t(existing) - 1].part.filePath;
    } else {
        // Never over another file of the folder.
        std::string path = dir + "/" + name + ".lpd";
        std::error_code ec;
        for (int n = 1; fs::exists(path, ec) ||
             std::any_of(parts_.begin(), parts_.end(), [&](const Entry& e) { return e.part.filePath == path; });
             ++n)
            path = dir + "/" + name + "_" + std::to_string(n) + ".lpd";
        newPart_.filePath = path;
    }
    creating_ = true;
    newFolder_ = folderIndex;
    replaces_ = existing > 0 ? existing : 0;
    newIndex_ = existing > 0 ? existing : PartCount() + 1;
    *index = newIndex_;
    return NoError;
}

GSErrCode LibraryStore::SavePart(int32_t* index, std::string* why) {
    if (!creating_) {
        *why = "no library part is being created";
        return APIERR_NOTCREATING;
    }
    const std::string text = DescribeLibraryPart(newPart_);
    LibPartDef check;
    if (!ParseLibraryPart(text, &check, why)) {
        *why = "library part " + newPart_.name + " cannot be described: " + *why;
        return APIERR_BADPARS;
    }
    NoteFile(newPart_.filePath);
    const std::string temp = newPart_.filePath + ".saving";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) {
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            *why = "cannot write " + newPart_.filePath;
            return APIERR_GENERAL;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, newPart_.filePath, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        *why = "cannot write " + newPart_.filePath;
        return APIERR_GENERAL;
    }
    if (replaces_ > 0 && size_t(replaces_) <= parts_.size()) {
        if (note_.open && size_t(replaces_) <= note_.parts)
            note_.replaced.emplace_back(size_t(replaces_) - 1, parts_[size_t(replaces_) - 1].part);
        parts_[size_t(replaces_) - 1].part = newPart_;
        *index = replaces_;
    } else {
        parts_.push_back(Entry{newFolder_, newPart_});
        *index = int32_t(parts_.size());
    }
    creating_ = false;
    newPart_ = LibPartDef();
    return NoError;
}

void LibraryStore::BeginCommand() {
    note_ = CommandNote();
    note_.open = true;
    note_.parts = parts_.size();
    note_.folders = folders_.size();
}

void LibraryStore::NoteFile(const std::string& path) {
    if (!note_.open) return;
    for (const auto& f : note_.files)
        if (f.first == path) return;
    for (const std::string& f : note_.newFiles)
        if (f == path) return;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        note_.newFiles.push_back(path);
        return;
    }
    std::ostringstream text;
    text << in.rdbuf();
    note_.files.emplace_back(path, text.str());
}

void LibraryStore::EndCommand(bool takeBack) {
    CommandNote note = std::move(note_);
    note_ = CommandNote();
    if (!note.open || !takeBack) return;
    // Latest first, so that a part replaced twice ends as it was before the first.
    for (auto it = note.replaced.rbegin(); it != note.replaced.rend(); ++it) parts_[it->first].part = it->second;
    if (parts_.size() > note.parts) parts_.resize(note.parts);
    if (folders_.size() > note.folders) folders_.resize(note.folders);
    std::error_code ec;
    for (const std::string& path : note.newFiles) std::filesystem::remove(path, ec);
    for (const auto& [path, text] : note.files) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    creating_ = false;
    newPart_ = LibPartDef();
}
