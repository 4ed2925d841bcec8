#pragma once
// The file scan, the first step of a SOSI import: each file's bytes decoded into lines (one encoding per file:
// byte-order mark, then the content, then the declared character set, else the system code page), its header
// (origin, units, extent), its objects (one a group line) and the object types met. The lines and objects go
// on to the object records and the assembly, the type rows to the options dialogs. It reads files and nothing
// else: it asks and shows nothing.
#include "fileio/ReadReport.hpp"
#include "fileio/ReaderProgress.hpp"
#include "settings/MiscSettings.hpp"
#include "sosi/SOSIRecords.hpp"

#include <cstdint>

class SOSIFileScan {
public:
    // Reads and scans every file of `files`. False when a file cannot be read (error 8) or is refused (its
    // reason); `report` tells (the command shows it). The files read before it keep their lines. False with
    // `stopped` and nothing in `report` when the user stopped the progress. A new type row takes the general
    // settings' default pen and line type (`misc`).
    bool Read(ReaderProgress& progress, const MiscSettings& misc);
    // The types the terrain import offers (contours, road edges, shore lines, ...).
    static bool IsTerrainFeatureType(const QV_String& name);

    QV_List<SOSIFileData> files;  // the command fills the paths
    QV_List<SOSIOType> types;     // one row per OBJTYPE met, sorted; the options dialogs' type lists
    ReadReport report;            // what the last read refused or left out, and why
    bool stopped = false;         // the user stopped the last read

private:
    // Reads one file's bytes into its lines. False for a file that cannot be opened or measured, one too large to
    // be a SOSI file (noted), or a read the user stopped.
    bool ReadFileLines(SOSIFileData& file, ReaderProgress& progress);
    // Scans one file's lines for its header values, objects and types; a stop leaves it with `stopped` set.
    void ScanLines(SOSIFileData& file, ReaderProgress& progress, const MiscSettings& misc);
    // After the scan: false, with the reason in `report`, for a file with no objects, no coordinates or no
    // header (so no unit); a file cut off inside its last object loses that object, noted as ended early.
    bool CheckScannedFile(SOSIFileData& file);

    // ---- keyword tests on the line under the cursor; each moves past the line it took ----
    bool IsHeaderLine(const SOSIFileData& file);
    bool ParsePair(const SOSIFileData& file, const char* keyword, double& east, double& north);
    bool ParseUnitLine(SOSIFileData& file);
    // Whether `line` is a group line; its keyword, id and kind into the cursor.
    bool IsGroupLine(const SOSIFileData& file, int32_t line);
    // The type of the object whose group line is `groupLine`, looked for in its own lines only.
    QV_String FindObjectType(const SOSIFileData& file, int32_t groupLine, int32_t lastLine) const;

    // Where the scan of a file stands, and what the group line it met last holds.
    struct Cursor {
        int32_t line = 0;
        QV_String keyword;  // first token of the group line, dot included
        QV_String id;       // the object's serial number as text, without a trailing ':'
        int16_t kind = SOSIKindNone;
    };
    Cursor cursor;
};
