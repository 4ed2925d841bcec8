#pragma once
// One SOSI import, step by step: the file scan (`scan`: lines, objects, types), the assembly (`assembly`: the
// records made from the chosen objects through the object records), the output's choices (`output`: placing
// on the host, sosi/SOSIOutput). The steps share nothing but what the methods below hand from one to the next.
// The reader's common values (progress, point options, duplicate distance, extent, origin, limiting area,
// counts, import again) are the BaseFileCls part, as with every reader; the command and the dialogs set them.
#include "fileio/BaseFileCls.hpp"
#include "sosi/SOSIAssembly.hpp"
#include "sosi/SOSIFileScan.hpp"
#include "sosi/SOSIOutput.hpp"

#include <cstdint>

class SOSIFileCls : public BaseFileCls {
public:
    SOSIFileCls() { Clear(); }

    // The base's Clear, then everything of one import back to its start: no mode, no parts, no duplicate filter
    // (tolerance 0: none unless the user asks for one); the files, type rows, records, report and choices
    // emptied; the filter values to their defaults. The options "Show ALL Object Types" and "Skip HEIGHTS <= 0.0"
    // stay as the user set them.
    void Clear() override;

    // The scan of `scan.files` (unless the user asked to import again: the lines and objects read serve
    // again); the extent and the contour count reset. False when a file cannot be read or is refused;
    // `scan.report` tells why.
    // New type rows take `misc`'s default pen and line type.
    bool ReadSOSIFiles(const MiscSettings& misc);
    // The scan's objects of the imported types into `assembly.data`; `pointsRead` and `pointsKept` count them.
    void ImportObjects();
    // The records' extent into `bounds`, the contour count.
    void ComputeExtents();
    // The results dialog's height filter on the contours.
    void FilterContourHeights();
    // Between two reads with the same import: the records and the extent reset; files, lines, objects and type
    // rows stay.
    void ResetForReread();

    int32_t importMode = -1;   // SOSIModeTerrain, SOSIModeObjects or SOSIModeWorksheet
    uint8_t showAllTypes = 0;  // the terrain import's options list every type, not only the terrain features
    uint8_t cancelled = 0;     // the user cancelled a dialog of the import, or stopped the build
    SOSIFileScan scan;
    SOSIAssembly assembly;
    SOSIOutputChoices output;
};

// The output of `import`'s records (sosi/SOSIOutput) with its choices and the general settings `misc`; a user
// break marks the import cancelled.
bool BuildSOSIOutput(SOSIFileCls& import, const MiscSettings& misc, uint8_t* somethingCreated);
