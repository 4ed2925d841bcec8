#include "foundation/AddOnLibraryFolder.hpp"

#include "APIView3D.hpp"
#include "IO.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/QV_String.hpp"

#include <string>
#include <vector>

const char* const AddOnLibraryFolderName = "library";

namespace {
// Paths are compared in the host's "\"-separated form.
std::string Utf8(const GS::UniString& text) { return text.ToUtf8(); }

bool SameNoCase(const std::string& a, const std::string& b) {
    return QV_String(a.c_str(), Encoding_UTF8).CompareNoCase(QV_String(b.c_str(), Encoding_UTF8)) == 0;
}

std::string LastComponent(const std::string& path) {
    const size_t cut = path.find_last_of('\\');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool AddOnLibraryFolder(std::string& out) {
    GS::UniString folder;
    if (!AddOnFolderPath(folder, true)) return false;
    out = Utf8(folder) + "\\" + AddOnLibraryFolderName;
    return true;
}

std::string PathOf(const IO::Location& location) {
    GS::UniString path;
    return location.ToPath(&path) == NoError ? Utf8(path) : std::string();
}
}  // namespace

bool AddOnFolderPath(GS::UniString& out, bool folderOnly) {
    IO::Location own;
    if (ACAPI_Environment(APIEnv_GetOwnLocationID, &own) != NoError) return false;
    std::string path = PathOf(own);
    if (path.empty()) return false;
    if (folderOnly) {
        const size_t cut = path.find_last_of('\\');
        if (cut == std::string::npos) return false;
        path.resize(cut);
    }
    out = GS::UniString(path);
    return true;
}

bool FolderExists(const GS::UniString& path) {
    const std::string text = Utf8(path);
    const size_t cut = text.find_last_of('\\');
    const std::string parent = cut == std::string::npos ? text : text.substr(0, cut);
    const std::string name = cut == std::string::npos ? std::string() : text.substr(cut + 1);
    if (name.empty() || parent.empty()) return false;
    const IO::Folder folder{IO::Location(parent.c_str())};
    if (folder.GetStatus() != NoError || !folder.Contains(GS::UniString(name))) return false;
    return IO::FileSystem::IsFolder(IO::Location((parent + "\\" + name).c_str()));
}

bool LoadAddOnLibraries(bool check) {
    std::string full;
    // Without the add-on's own location there is no folder to load.
    if (!AddOnLibraryFolder(full)) return true;
    GS::Array<API_LibraryInfo> active;
    int32_t saveIndex = -1;
    if (check && ACAPI_Environment(APIEnv_GetLibrariesID, &active, &saveIndex) == NoError) {
        for (uint32_t i = active.GetSize(); i-- > 0;) {
            const std::string path = PathOf(active[i].location);
            if (SameNoCase(path, full) || SameNoCase(LastComponent(path), AddOnLibraryFolderName)) return true;
        }
    }
    if (!FolderExists(GS::UniString(full))) return true;
    IO::Location folder(full.c_str());
    return ACAPI_Environment(APIEnv_AddLibrariesID, &folder) == NoError;
}

void CheckAddOnLibraryFolders() {
    std::string full;
    if (!AddOnLibraryFolder(full)) return;
    GS::Array<API_LibraryInfo> libraries;
    int32_t saveIndex = -1;
    if (ACAPI_Environment(APIEnv_GetLibrariesID, &libraries, &saveIndex) != NoError) return;
    GS::Array<API_LibraryInfo> kept;
    for (uint32_t i = 0; i < libraries.GetSize(); ++i)
        if (LastComponent(PathOf(libraries[i].location)) != AddOnLibraryFolderName) kept.Push(libraries[i]);
    API_LibraryInfo own;
    own.location = IO::Location(full.c_str());
    own.name = GS::UniString(AddOnLibraryFolderName);
    kept.Push(own);
    ACAPI_Environment(APIEnv_SetLibrariesID, &kept);
}
