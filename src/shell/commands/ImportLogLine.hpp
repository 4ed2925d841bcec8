#pragma once
// The line an import leaves in the host's report once its results are taken: what it counted and the project
// offset it set, every digit of it (the results dialog shows the offset rounded, and the project keeps it only
// when saved).
#include "fileio/BaseFileCls.hpp"

#include <cstdint>
#include <map>

enum class ImportCounts {
    Points,   // read, imported, skipped
    Shapes,   // identified, importable, to be corrected
    Objects,  // read, imported, skipped, each of objects (a SOSI file's), whatever points they hold
};

// `import: read 12, imported 10, skipped 2; offset x 286011.25, y 5563221.5` (or "offset kept at" when `set` is
// false), from the counts given and the offset as it stands now.
void LogImportLine(ImportCounts kind, uint32_t first, uint32_t second, uint32_t third, bool set);

// The position a point read settles becomes the project's offset (a read that kept no point sets none), and the
// import's line is logged with the points read, kept and skipped.
void KeepImportOffset(const BaseFileCls& reader, ImportCounts kind = ImportCounts::Points);

// `import: made 11712 points, 71 fills` from how many elements of each type (API_ElemTypeID) an import made; nothing
// when it made none.
void LogMadeElements(const std::map<int32_t, uint32_t>& madeOfType);
