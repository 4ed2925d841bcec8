#pragma once
// Small file helpers over the host's file library. Paths are "\"-separated path texts.
#include "foundation/QV_String.hpp"

#include "GSRoot.hpp"
#include "IO.hpp"

#include <cstdint>

// Result codes of WriteBufferToFile and of the file readers' operations.
constexpr int32_t FileErrNone = 0;
constexpr int32_t FileErrNoFile = 1;        // no file object to work on (readers only)
constexpr int32_t FileErrNotFound = 2;      // the host's "no such file or folder"
constexpr int32_t FileErrIO = 3;            // the host's read/write failure
constexpr int32_t FileErrAccessDenied = 4;  // the host's "no permission"
constexpr int32_t FileErrGeneral = 5;       // the host's general failure
constexpr int32_t FileErrOther = 6;         // anything else, and failed writes

// The small code of a host file error: 0 for 0, else 2 to 6 as above.
int32_t SmallFileError(GSErrCode err);

// True when the file can be opened for reading.
bool FileExists(const QV_String& path);

// Writes `byteCount` bytes as the file's new content (or behind it with `append`). A missing file is created
// when `createWhenMissing` is set. 0 on success, else one of the codes above.
int32_t WriteBufferToFile(const QV_String& path, const void* bytes, uint32_t byteCount, bool append = false,
                          bool createWhenMissing = true);

// Whether `openError`, the answer to opening `path`, says that the name is no file (a folder, a pipe, a device).
bool OpenedNoFile(const QV_String& path, GSErrCode openError);

// The location's path text without a trailing backslash; empty for a location without a path.
void LocationToPathString(QV_String& outText, const IO::Location& location);
