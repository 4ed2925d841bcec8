#include "fileio/FileDialogs.hpp"

#include "foundation/FileUtils.hpp"

#include "DG.hpp"
#include "IO.hpp"
#include "UniString.hpp"

namespace {

const ImportFileType FileTypes[] = {
    {"Text Files", "TXT"},
    {"ASC Files", "ASC"},
    {"DXF Files", "DXF"},
    {"SOSI Files", "SOS"},
};

GS::UniString Uni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }

bool RunDialog(DG::FileDialog& dialog, const QV_String* initialFolder, const QV_String& title,
               const std::vector<ImportFileType>& types, int32_t* selectedFilter) {
    for (const ImportFileType& type : types) {
        const std::string pattern = std::string("*.") + type.extension;
        dialog.AddFilter(GS::UniString(type.name), GS::UniString(pattern.c_str()));
    }
    if (!title.IsEmpty()) dialog.SetTitle(Uni(title));
    if (initialFolder != nullptr) dialog.SetFolder(IO::Location(Uni(*initialFolder)));
    if (!dialog.Invoke() || dialog.GetSelectionCount() == 0) return false;
    if (selectedFilter != nullptr) *selectedFilter = dialog.GetSelectedFilter();
    return true;
}

int32_t LastBackslash(const QV_String& path) {
    for (uint32_t i = path.GetLength(); i > 0; --i)
        if (path.GetAt(i - 1) == u'\\') return int32_t(i - 1);
    return -1;
}

}  // namespace

const ImportFileType& GetImportFileType(int32_t index) { return FileTypes[index >= 0 && index < 4 ? index : 0]; }

bool RegisterFileTypes(QV_String& path, const ImportFileType& type, uint32_t /*typeCode*/, const QV_String& title,
                       const QV_String* initialFolder) {
    return ShowOpenFileDialog(path, initialFolder, title, {type}, nullptr);
}

bool ShowOpenFileDialog(QV_String& path, const QV_String* initialFolder, const QV_String& title,
                        const std::vector<ImportFileType>& types, int32_t* selectedFilter) {
    DG::FileDialog dialog(DG::FileDialog::OpenFile);
    if (!RunDialog(dialog, initialFolder, title, types, selectedFilter)) return false;
    LocationToPathString(path, dialog.GetSelectedFile(0));
    return true;
}

bool ShowOpenFilesDialog(std::vector<QV_String>& paths, const QV_String* initialFolder, const QV_String& title,
                         const std::vector<ImportFileType>& types, int32_t* selectedFilter) {
    paths.clear();
    DG::FileDialog dialog(DG::FileDialog::OpenMultiFile);
    if (!RunDialog(dialog, initialFolder, title, types, selectedFilter)) return false;
    for (uint32_t i = 0; i < dialog.GetSelectionCount(); ++i) {
        QV_String path;
        LocationToPathString(path, dialog.GetSelectedFile(i));
        paths.push_back(path);
    }
    return true;
}

QV_String GetFileExtension(const QV_String& path) {
    const int32_t slash = LastBackslash(path);
    for (uint32_t i = path.GetLength(); i > uint32_t(slash + 1); --i)
        if (path.GetAt(i - 1) == u'.') {
            QV_String extension;
            if (i < path.GetLength()) path.Mid(extension, i);
            return extension;
        }
    return QV_String();
}

bool HasFileExtension(const QV_String& path, const char* extension) {
    const QV_String found = GetFileExtension(path);
    return !found.IsEmpty() && found.CompareNoCase(QV_String(extension)) == 0;
}

QV_String GetDirectoryPart(const QV_String& path) {
    const int32_t slash = LastBackslash(path);
    QV_String folder;
    if (slash > 0) path.Left(folder, uint32_t(slash));
    return folder;
}

QV_String GetFileNamePart(const QV_String& path) {
    uint32_t start = path.GetLength();
    while (start > 0 && path.GetAt(start - 1) != u'\\' && path.GetAt(start - 1) != u'/') --start;
    QV_String name;
    path.Mid(name, start);
    return name;
}
