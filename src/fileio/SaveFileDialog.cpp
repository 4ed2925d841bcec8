#include "fileio/SaveFileDialog.hpp"

#include "foundation/FileUtils.hpp"

#include "DG.hpp"
#include "IO.hpp"
#include "UniString.hpp"

#include <string>

namespace {

GS::UniString Uni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }

bool RunFileDialog(QV_String& path, const ImportFileType& type, const QV_String& title, const QV_String& folder,
                   const QV_String& fileName) {
    DG::FileDialog dialog(DG::FileDialog::Save);
    const std::string pattern = std::string("*.") + type.extension;
    dialog.AddFilter(GS::UniString(type.name), GS::UniString(pattern.c_str()));
    if (!title.IsEmpty()) dialog.SetTitle(Uni(title));
    if (!folder.IsEmpty()) dialog.SetFolder(IO::Location(Uni(folder)));
    if (!fileName.IsEmpty()) dialog.SetFileName(Uni(fileName));
    if (!dialog.Invoke() || dialog.GetSelectionCount() == 0) return false;
    LocationToPathString(path, dialog.GetSelectedFile(0));
    return true;
}

}  // namespace

bool AskSaveFileOfType(QV_String& path, const ImportFileType& type, uint32_t /*typeCode*/, const QV_String& title,
                       const QV_String& startPath) {
    QV_String folder = GetDirectoryPart(startPath);
    QV_String fileName;
    const int32_t slash = startPath.ReverseFindChar('\\');
    if (slash >= 0)
        startPath.Mid(fileName, uint32_t(slash + 1));
    else
        fileName = startPath;
    return RunFileDialog(path, type, title, folder, fileName);
}
