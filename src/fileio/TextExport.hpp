#pragma once
// "TXT file Export": the height points of one terrain as x, y, z text lines. The source is either the mesh's own
// points (outline vertices with their heights and its level points) or the surface vertices of the terrain's 3D
// model, which shows the changes other elements made to it (its floor and skirt left out). Both give heights above
// the mesh's story: the point's height above the mesh's level, plus the level.
#include "APIElements.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include <cstdint>

struct TextExportRec {
    API_Element element;            // the terrain's mesh; its level is added to memo heights
    QV_String destination;          // full "\"-separated path
    int16_t decimals = 0;           // of every number written
    uint8_t withModifications = 0;  // 1: the 3D model's vertices, 0: the mesh's own points
    uint8_t xFirst = 1;             // 1: "X - Y - Z", 0: "Y - X - Z"

    TextExportRec();
};

namespace TextExport {

// The user's choices of the export; false when the dialog was cancelled.
using OptionsDialog = bool (*)(TextExportRec& record);

// The save dialog for the destination. False when a file was chosen whose extension is not "TXT" (case
// ignored), or when the dialog failed (the destination is then empty); on Cancel `cancelled` is set and the
// answer is true.
bool AskFile(TextExportRec& record, bool& cancelled);

// Options, the host's decimal count, the lines and the file. 0 when written or cancelled (flag set);
// ErrFindingData when the host's units or the source could not be read; ErrCreatingFile when the file could not
// be written.
int32_t Run(TextExportRec& record, const API_Element& source, bool& cancelled, OptionsDialog askOptions);

// The lines of the record's source; false when the source or the mesh's story level cannot be read, or the 3D
// model's surface holds no vertex.
bool BuildLines(const TextExportRec& record, QV_List<QV_String>& lines);

// All lines in the system code page into the destination, replacing what was there.
bool WriteLines(const TextExportRec& record, const QV_List<QV_String>& lines);

// One line: both plan coordinates in the record's order, TAB separated, the height, CR LF; fixed decimals.
QV_String FormatLine(const TextExportRec& record, double x, double y, double z);

}  // namespace TextExport
