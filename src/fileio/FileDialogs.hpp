#pragma once
// The file choice of the imports: one file type as the filter of the host's file dialog, the chosen file's path
// as a "\"-separated path text, and the path helpers of the commands.
#include "foundation/QV_String.hpp"

#include <cstdint>
#include <vector>

// One file type the dialog offers: its name ("ASC Files") and extension ("ASC").
struct ImportFileType {
    const char* name;
    const char* extension;
};

// The types of the imports, by the index the commands use: 0 text, 1 grid, 2 DXF, 3 SOSI.
const ImportFileType& GetImportFileType(int32_t index);

// Offers one file type (creator 'GSAC', host type code `typeCode`) and runs the single-file open dialog with
// the title and, when not null, the initial folder. True and the chosen path when a file was chosen.
bool RegisterFileTypes(QV_String& path, const ImportFileType& type, uint32_t typeCode, const QV_String& title,
                       const QV_String* initialFolder);
// The host's open dialog over `types` (one filter each, in order); `selectedFilter` (when not null) tells which
// filter was chosen. False on Cancel.
bool ShowOpenFileDialog(QV_String& path, const QV_String* initialFolder, const QV_String& title,
                        const std::vector<ImportFileType>& types, int32_t* selectedFilter);
// The same where the user may choose several files; `paths` is emptied first.
bool ShowOpenFilesDialog(std::vector<QV_String>& paths, const QV_String* initialFolder, const QV_String& title,
                         const std::vector<ImportFileType>& types, int32_t* selectedFilter);

// The text after the last '.' of the file name (after the last '\'), when at least one character follows it;
// else empty.
QV_String GetFileExtension(const QV_String& path);
// True when the path's extension is `extension`, case ignored.
bool HasFileExtension(const QV_String& path, const char* extension);
// The path up to its last '\' (without it); empty when there is none.
QV_String GetDirectoryPart(const QV_String& path);
// The path after its last '\' or '/': the file's name.
QV_String GetFileNamePart(const QV_String& path);
