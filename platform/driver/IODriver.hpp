// Driver side of the file library: the host and the tests point the special folders and make file
// operations fail on purpose, so the module's failure paths can be run.
#pragma once

#include "IO.hpp"

#include <cstdint>
#include <string>

namespace IODriver {

// Special folder 14 (the user's folder). An empty path unsets it: GetSpecialLocation(14) then fails.
void SetUserFolder(const std::string& path);
void SetSpecialFolder(int32_t folderId, const std::string& path);
void ClearSpecialFolders();

enum class Op {
    Open,    // IO::File::Open
    Create,  // file creation by IO::File(..., OnNotFound::Create), folder creation
    Read,    // IO::File::ReadBin
    Write,   // IO::File::WriteBin
    Delete   // IO::Folder::Delete, IO::FileSystem::Delete
};

// The next `count` operations of kind `op` whose native path contains `pathContains` (any path when empty)
// fail with `error` and change nothing. Switches are used in the order they were set.
void FailNext(Op op, GSErrCode error, int32_t count = 1, const std::string& pathContains = std::string());
void FailNextOpens(GSErrCode error, int32_t count = 1, const std::string& pathContains = std::string());
void FailNextWrites(GSErrCode error, int32_t count = 1, const std::string& pathContains = std::string());
// Failures set but not yet used up.
int32_t PendingFailures();
void ClearFailures();

}  // namespace IODriver
