// The host's file library: locations, files, folders and special folders.
//
// Path texts may use "\" or "/" as separator; a Location maps both to this file system's "/". Its path text
// (ToPath, ToDisplayText) is the host's form, "\"-separated, as the module's path code expects; ToNativePath
// gives the "/" form for the C library. A path that starts with a separator is absolute.
#pragma once

#include "GSArray.hpp"
#include "UniString.hpp"

#include <cstdint>
#include <string>

namespace IO {

// Error codes of the file library (0 is success).
constexpr GSErrCode ErrGeneral = static_cast<GSErrCode>(0x81000100u);          // out of memory, unexpected
constexpr GSErrCode ErrIO = static_cast<GSErrCode>(0x81010100u);               // read or write failed
constexpr GSErrCode ErrParam = static_cast<GSErrCode>(0x81010101u);            // empty location, bad argument
constexpr GSErrCode ErrNotFound = static_cast<GSErrCode>(0x81010102u);         // no such file or folder
constexpr GSErrCode ErrAccessDenied = static_cast<GSErrCode>(0x81010103u);     // no permission
constexpr GSErrCode ErrNotOpen = static_cast<GSErrCode>(0x81010104u);          // the file is not open (or wrong mode)
constexpr GSErrCode ErrEndOfFile = static_cast<GSErrCode>(0x81010105u);        // fewer bytes than asked
constexpr GSErrCode ErrExists = static_cast<GSErrCode>(0x81010106u);           // the entry exists already
constexpr GSErrCode ErrNoSpecialFolder = static_cast<GSErrCode>(0x81010107u);  // special folder not set
constexpr GSErrCode ErrNotEmpty = static_cast<GSErrCode>(0x81010108u);         // folder to delete is not empty
constexpr GSErrCode ErrAlreadyOpen = static_cast<GSErrCode>(0x81010109u);      // Open on an open file
constexpr GSErrCode ErrNotRegular = static_cast<GSErrCode>(0x8101010Au);       // a pipe, a device: no file to open
constexpr GSErrCode ErrNameTooLong = static_cast<GSErrCode>(0x8101010Bu);      // a path or name beyond the limit

class Location {
public:
    Location() = default;  // empty
    explicit Location(const GS::UniString& pathText);
    explicit Location(const char* utf8PathText);

    bool IsEmpty() const { return path_.empty(); }
    void Clear() { path_.clear(); }

    // The host's "\\"-separated path text, without a trailing separator. ErrParam for an empty location.
    GSErrCode ToPath(GS::UniString* path) const;
    GS::UniString ToDisplayText() const;
    // UTF-8 path for the C library (host and driver use).
    const std::string& ToNativePath() const { return path_; }

    // The last part of the path ("b.txt" of "/a/b.txt"); ErrParam when there is none.
    GSErrCode GetLastLocalName(GS::UniString* name) const;
    // Removes the last part and hands it out (`name` may be null); "/a/b.txt" becomes "/a".
    GSErrCode MoveLastLocalName(GS::UniString* name);
    GSErrCode DeleteLastLocalName() { return MoveLastLocalName(nullptr); }
    // Appends one or more parts ("\" or "/" separated); ErrParam for an empty name.
    GSErrCode AppendToLocal(const GS::UniString& name);

    bool operator==(const Location& other) const { return path_ == other.path_; }
    bool operator!=(const Location& other) const { return path_ != other.path_; }

private:
    std::string path_;  // UTF-8, "/" separated, no trailing separator except the root "/"
};

enum class OnNotFound { Fail, Create };

class File {
public:
    enum OpenMode : int32_t {
        ReadMode = 0,       // read only; the file must exist
        WriteMode = 1,      // write only; the content is emptied at open
        ReadWriteMode = 2,  // read and write, content kept, position 0
        AppendMode = 3      // write only, position at the end
    };

    File() = default;  // no location: every operation answers ErrParam
    // With OnNotFound::Create a missing file is created empty at once (status tells the outcome).
    explicit File(const Location& location, OnNotFound onNotFound = OnNotFound::Fail);
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // 0, or the error of the creation asked in the constructor.
    GSErrCode GetStatus() const { return status_; }
    const Location& GetLocation() const { return location_; }

    // A folder answers ErrAccessDenied, any other entry that is no regular file (a pipe, a device) ErrNotRegular,
    // at once: such an entry could block a read for good.
    GSErrCode Open(OpenMode mode);
    GSErrCode Close();
    bool IsOpen() const { return fd_ >= 0; }

    GSErrCode GetDataLength(uint64_t* length) const;
    GSErrCode SetDataLength(uint64_t length);
    GSErrCode GetPosition(uint64_t* position) const;
    GSErrCode SetPosition(uint64_t position);
    // Bytes from the position to the end.
    GSErrCode GetAvailable(uint64_t* available) const;

    // Reads up to `count` bytes. With `read` given, a short read at the end of the file is no error;
    // without it, fewer bytes than asked answer ErrEndOfFile.
    GSErrCode ReadBin(char* buffer, uint64_t count, uint64_t* read = nullptr);
    GSErrCode WriteBin(const char* buffer, uint64_t count, uint64_t* written = nullptr);

private:
    Location location_;
    GSErrCode status_ = 0;
    int fd_ = -1;
    OpenMode mode_ = ReadMode;
};

class Folder {
public:
    // With OnNotFound::Create a missing folder is created (its parent must exist).
    explicit Folder(const Location& location, OnNotFound onNotFound = OnNotFound::Fail);

    // 0 when the location names an existing folder.
    GSErrCode GetStatus() const { return status_; }
    const Location& GetLocation() const { return location_; }

    // Deletes the file or empty folder `name` inside this folder.
    GSErrCode Delete(const GS::UniString& name);
    GSErrCode CreateFolder(const GS::UniString& name);
    bool Contains(const GS::UniString& name) const;
    // Names of the entries, sorted; files and folders alike.
    GSErrCode Enumerate(GS::Array<GS::UniString>* names) const;

private:
    Location location_;
    GSErrCode status_ = 0;
};

namespace FileSystem {

// Special folder ids of the host.
constexpr int32_t UserFolder = 14;  // the user's folder (configuration files, marker files)

// ErrNoSpecialFolder when the host has not set that folder.
GSErrCode GetSpecialLocation(int32_t folderId, Location* location);

bool Exists(const Location& location);
bool IsFile(const Location& location);
bool IsFolder(const Location& location);
// Creates one folder (the parent must exist); ErrExists when something is there already.
GSErrCode CreateFolder(const Location& location);
// Deletes a file or an empty folder.
GSErrCode Delete(const Location& location);

}  // namespace FileSystem

}  // namespace IO
