// File library over POSIX calls, with the driver's special folders and failure switches.
#include "IO.hpp"
#include "IODriver.hpp"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Failure {
    IODriver::Op op;
    GSErrCode error;
    int32_t remaining;
    std::string pathContains;
};

std::map<int32_t, std::string>& SpecialFolders() {
    static std::map<int32_t, std::string> folders;
    return folders;
}

std::vector<Failure>& Failures() {
    static std::vector<Failure> failures;
    return failures;
}

// The error of the first failure switch that matches, used up by one; 0 when none matches.
GSErrCode TakeFailure(IODriver::Op op, const std::string& path) {
    auto& failures = Failures();
    for (auto it = failures.begin(); it != failures.end(); ++it) {
        if (it->op != op) continue;
        if (!it->pathContains.empty() && path.find(it->pathContains) == std::string::npos) continue;
        const GSErrCode error = it->error;
        if (--it->remaining <= 0) failures.erase(it);
        return error;
    }
    return 0;
}

GSErrCode FromErrno(int error) {
    switch (error) {
        case 0: return 0;
        case ENOENT:
        case ENOTDIR: return IO::ErrNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return IO::ErrAccessDenied;
        case EEXIST: return IO::ErrExists;
        case ENOTEMPTY: return IO::ErrNotEmpty;
        case ENOMEM: return IO::ErrGeneral;
        case EINVAL: return IO::ErrParam;
        case ENAMETOOLONG: return IO::ErrNameTooLong;
        case ENXIO: return IO::ErrNotRegular;
        default: return IO::ErrIO;
    }
}

// "\" and "/" to "/", runs of separators to one, no trailing separator except for the root.
std::string Normalize(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\') c = '/';
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(c);
    }
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

bool StatPath(const std::string& path, struct stat* st) { return !path.empty() && ::stat(path.c_str(), st) == 0; }

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder == "/") return "/" + name;
    return folder + "/" + name;
}

// A single local name: not empty, no separator, not "." or "..".
bool IsLocalName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
        name.find('\\') == std::string::npos;
}

}  // namespace

namespace IO {

// ---------------------------------------------------------------------------------------------- Location

Location::Location(const GS::UniString& pathText) : path_(Normalize(pathText.ToUtf8())) {}

Location::Location(const char* utf8PathText) : path_(Normalize(utf8PathText != nullptr ? utf8PathText : "")) {}

// The host's path texts are "\"-separated; callers cut them at the last backslash.
static std::string HostPathText(const std::string& native) {
    std::string text = native;
    for (char& c : text)
        if (c == '/') c = '\\';
    return text;
}

GSErrCode Location::ToPath(GS::UniString* path) const {
    if (path == nullptr || path_.empty()) return ErrParam;
    *path = GS::UniString(HostPathText(path_));
    return 0;
}

GS::UniString Location::ToDisplayText() const { return GS::UniString(HostPathText(path_)); }

GSErrCode Location::GetLastLocalName(GS::UniString* name) const {
    if (path_.empty() || path_ == "/") return ErrParam;
    const size_t slash = path_.rfind('/');
    if (name != nullptr) *name = GS::UniString(slash == std::string::npos ? path_ : path_.substr(slash + 1));
    return 0;
}

GSErrCode Location::MoveLastLocalName(GS::UniString* name) {
    const GSErrCode err = GetLastLocalName(name);
    if (err != 0) return err;
    const size_t slash = path_.rfind('/');
    if (slash == std::string::npos)
        path_.clear();
    else if (slash == 0)
        path_ = "/";
    else
        path_.resize(slash);
    return 0;
}

GSErrCode Location::AppendToLocal(const GS::UniString& name) {
    std::string part = Normalize(name.ToUtf8());
    while (!part.empty() && part.front() == '/') part.erase(part.begin());
    if (part.empty()) return ErrParam;
    path_ = Join(path_, part);
    return 0;
}

// -------------------------------------------------------------------------------------------------- File

File::File(const Location& location, OnNotFound onNotFound) : location_(location) {
    const std::string& path = location_.ToNativePath();
    if (path.empty()) {
        status_ = ErrParam;
        return;
    }
    if (onNotFound != OnNotFound::Create) return;
    struct stat st;
    if (StatPath(path, &st)) {
        if (S_ISDIR(st.st_mode)) status_ = ErrAccessDenied;
        return;
    }
    if (const GSErrCode failure = TakeFailure(IODriver::Op::Create, path)) {
        status_ = failure;
        return;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        status_ = FromErrno(errno);
        return;
    }
    ::close(fd);
}

File::~File() {
    if (fd_ >= 0) ::close(fd_);
}

GSErrCode File::Open(OpenMode mode) {
    const std::string& path = location_.ToNativePath();
    if (path.empty()) return ErrParam;
    if (fd_ >= 0) return ErrAlreadyOpen;
    int flags = O_CLOEXEC;
    switch (mode) {
        case ReadMode: flags |= O_RDONLY; break;
        case WriteMode: flags |= O_WRONLY | O_TRUNC; break;
        case ReadWriteMode: flags |= O_RDWR; break;
        case AppendMode: flags |= O_WRONLY; break;
        default: return ErrParam;
    }
    if (const GSErrCode failure = TakeFailure(IODriver::Op::Open, path)) return failure;
    // A folder is no file: refuse it before O_TRUNC could matter.
    struct stat st;
    if (StatPath(path, &st)) {
        if (S_ISDIR(st.st_mode)) return ErrAccessDenied;
        if (!S_ISREG(st.st_mode)) return ErrNotRegular;
    }
    // Opened without waiting, then checked on the open file: an entry that became a pipe or a device since the look
    // above is still refused rather than waited on.
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK);
    if (fd < 0) return FromErrno(errno);
    const bool statted = ::fstat(fd, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        const GSErrCode err = !statted ? FromErrno(errno) : S_ISDIR(st.st_mode) ? ErrAccessDenied : ErrNotRegular;
        ::close(fd);
        return err;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) < 0) {
        const GSErrCode err = FromErrno(errno);
        ::close(fd);
        return err;
    }
    if (mode == AppendMode && ::lseek(fd, 0, SEEK_END) < 0) {
        const GSErrCode err = FromErrno(errno);
        ::close(fd);
        return err;
    }
    fd_ = fd;
    mode_ = mode;
    return 0;
}

GSErrCode File::Close() {
    if (fd_ < 0) return ErrNotOpen;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : FromErrno(errno);
}

GSErrCode File::GetDataLength(uint64_t* length) const {
    if (length == nullptr) return ErrParam;
    struct stat st;
    if (fd_ >= 0) {
        if (::fstat(fd_, &st) != 0) return FromErrno(errno);
    } else {
        if (location_.IsEmpty()) return ErrParam;
        if (::stat(location_.ToNativePath().c_str(), &st) != 0) return FromErrno(errno);
        if (S_ISDIR(st.st_mode)) return ErrAccessDenied;
    }
    *length = static_cast<uint64_t>(st.st_size);
    return 0;
}

GSErrCode File::SetDataLength(uint64_t length) {
    if (fd_ < 0 || mode_ == ReadMode) return ErrNotOpen;
    if (const GSErrCode failure = TakeFailure(IODriver::Op::Write, location_.ToNativePath())) return failure;
    return ::ftruncate(fd_, static_cast<off_t>(length)) == 0 ? 0 : FromErrno(errno);
}

GSErrCode File::GetPosition(uint64_t* position) const {
    if (position == nullptr) return ErrParam;
    if (fd_ < 0) return ErrNotOpen;
    const off_t pos = ::lseek(fd_, 0, SEEK_CUR);
    if (pos < 0) return FromErrno(errno);
    *position = static_cast<uint64_t>(pos);
    return 0;
}

GSErrCode File::SetPosition(uint64_t position) {
    if (fd_ < 0) return ErrNotOpen;
    if (position > static_cast<uint64_t>(INT64_MAX)) return ErrParam;
    return ::lseek(fd_, static_cast<off_t>(position), SEEK_SET) < 0 ? FromErrno(errno) : 0;
}

GSErrCode File::GetAvailable(uint64_t* available) const {
    if (available == nullptr) return ErrParam;
    uint64_t length = 0;
    uint64_t position = 0;
    if (GSErrCode err = GetPosition(&position)) return err;
    if (GSErrCode err = GetDataLength(&length)) return err;
    *available = position < length ? length - position : 0;
    return 0;
}

GSErrCode File::ReadBin(char* buffer, uint64_t count, uint64_t* read) {
    if (read != nullptr) *read = 0;
    if (fd_ < 0 || (mode_ != ReadMode && mode_ != ReadWriteMode)) return ErrNotOpen;
    if (count == 0) return 0;
    if (buffer == nullptr) return ErrParam;
    if (const GSErrCode failure = TakeFailure(IODriver::Op::Read, location_.ToNativePath())) return failure;
    uint64_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd_, buffer + done, static_cast<size_t>(std::min<uint64_t>(count - done, 1u << 30)));
        if (n < 0) {
            if (errno == EINTR) continue;
            if (read != nullptr) *read = done;
            return FromErrno(errno);
        }
        if (n == 0) break;
        done += static_cast<uint64_t>(n);
    }
    if (read != nullptr) {
        *read = done;
        return 0;
    }
    return done == count ? 0 : ErrEndOfFile;
}

GSErrCode File::WriteBin(const char* buffer, uint64_t count, uint64_t* written) {
    if (written != nullptr) *written = 0;
    if (fd_ < 0 || mode_ == ReadMode) return ErrNotOpen;
    if (count == 0) return 0;
    if (buffer == nullptr) return ErrParam;
    if (const GSErrCode failure = TakeFailure(IODriver::Op::Write, location_.ToNativePath())) return failure;
    uint64_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, buffer + done, static_cast<size_t>(std::min<uint64_t>(count - done, 1u << 30)));
        if (n < 0) {
            if (errno == EINTR) continue;
            if (written != nullptr) *written = done;
            return FromErrno(errno);
        }
        done += static_cast<uint64_t>(n);
    }
    if (written != nullptr) *written = done;
    return 0;
}

// ------------------------------------------------------------------------------------------------ Folder

Folder::Folder(const Location& location, OnNotFound onNotFound) : location_(location) {
    const std::string& path = location_.ToNativePath();
    if (path.empty()) {
        status_ = ErrParam;
        return;
    }
    struct stat st;
    if (StatPath(path, &st)) {
        if (!S_ISDIR(st.st_mode)) status_ = onNotFound == OnNotFound::Create ? ErrExists : ErrNotFound;
        return;
    }
    if (onNotFound != OnNotFound::Create) {
        status_ = ErrNotFound;
        return;
    }
    status_ = FileSystem::CreateFolder(location_);
}

GSErrCode Folder::Delete(const GS::UniString& name) {
    if (status_ != 0) return status_;
    const std::string local = name.ToUtf8();
    if (!IsLocalName(local)) return ErrParam;
    Location target(location_);
    target.AppendToLocal(name);
    return FileSystem::Delete(target);
}

GSErrCode Folder::CreateFolder(const GS::UniString& name) {
    if (status_ != 0) return status_;
    if (!IsLocalName(name.ToUtf8())) return ErrParam;
    Location target(location_);
    target.AppendToLocal(name);
    return FileSystem::CreateFolder(target);
}

bool Folder::Contains(const GS::UniString& name) const {
    if (status_ != 0 || !IsLocalName(name.ToUtf8())) return false;
    Location target(location_);
    target.AppendToLocal(name);
    return FileSystem::Exists(target);
}

GSErrCode Folder::Enumerate(GS::Array<GS::UniString>* names) const {
    if (names == nullptr) return ErrParam;
    if (status_ != 0) return status_;
    DIR* dir = ::opendir(location_.ToNativePath().c_str());
    if (dir == nullptr) return FromErrno(errno);
    std::vector<std::string> found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string entryName = entry->d_name;
        if (entryName != "." && entryName != "..") found.push_back(entryName);
    }
    ::closedir(dir);
    std::sort(found.begin(), found.end());
    names->Clear();
    for (const std::string& n : found) names->Push(GS::UniString(n));
    return 0;
}

// -------------------------------------------------------------------------------------------- FileSystem

namespace FileSystem {

GSErrCode GetSpecialLocation(int32_t folderId, Location* location) {
    if (location == nullptr) return ErrParam;
    const auto& folders = SpecialFolders();
    const auto it = folders.find(folderId);
    if (it == folders.end() || it->second.empty()) return ErrNoSpecialFolder;
    *location = Location(it->second.c_str());
    return 0;
}

bool Exists(const Location& location) {
    struct stat st;
    return StatPath(location.ToNativePath(), &st);
}

bool IsFile(const Location& location) {
    struct stat st;
    return StatPath(location.ToNativePath(), &st) && S_ISREG(st.st_mode);
}

bool IsFolder(const Location& location) {
    struct stat st;
    return StatPath(location.ToNativePath(), &st) && S_ISDIR(st.st_mode);
}

GSErrCode CreateFolder(const Location& location) {
    const std::string& path = location.ToNativePath();
    if (path.empty()) return ErrParam;
    if (const GSErrCode failure = TakeFailure(IODriver::Op::Create, path)) return failure;
    return ::mkdir(path.c_str(), 0755) == 0 ? 0 : FromErrno(errno);
}

GSErrCode Delete(const Location& location) {
    const std::string& path = location.ToNativePath();
    if (path.empty()) return ErrParam;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0) return FromErrno(errno);
    if (const GSErrCode failure = TakeFailure(IODriver::Op::Delete, path)) return failure;
    const int result = S_ISDIR(st.st_mode) ? ::rmdir(path.c_str()) : ::unlink(path.c_str());
    if (result != 0) return errno == EEXIST ? ErrNotEmpty : FromErrno(errno);
    return 0;
}

}  // namespace FileSystem

}  // namespace IO

// ------------------------------------------------------------------------------------------------ Driver

namespace IODriver {

void SetUserFolder(const std::string& path) { SetSpecialFolder(IO::FileSystem::UserFolder, path); }

void SetSpecialFolder(int32_t folderId, const std::string& path) {
    if (path.empty())
        SpecialFolders().erase(folderId);
    else
        SpecialFolders()[folderId] = path;
}

void ClearSpecialFolders() { SpecialFolders().clear(); }

void FailNext(Op op, GSErrCode error, int32_t count, const std::string& pathContains) {
    if (count <= 0 || error == 0) return;
    Failures().push_back(Failure{op, error, count, pathContains});
}

void FailNextOpens(GSErrCode error, int32_t count, const std::string& pathContains) {
    FailNext(Op::Open, error, count, pathContains);
}

void FailNextWrites(GSErrCode error, int32_t count, const std::string& pathContains) {
    FailNext(Op::Write, error, count, pathContains);
}

int32_t PendingFailures() {
    int32_t total = 0;
    for (const Failure& f : Failures()) total += f.remaining;
    return total;
}

void ClearFailures() { Failures().clear(); }

}  // namespace IODriver
