#include "foundation/LibPart.hpp"

#include "foundation/Alert.hpp"
#include "foundation/PathNames.hpp"
#include "foundation/FileUtils.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/AddOnInfo.hpp"
#include "foundation/AddOnLibraryFolder.hpp"
#include "foundation/ErrorCode.hpp"

#include "DG.hpp"
#include "IO.hpp"
#include "UniString.hpp"
#include "Win32.hpp"

#include <cstring>

namespace {

constexpr int32_t LibrarySelectionEntry = 13;  // "Library Selection"
constexpr int32_t LibraryNotLoadedEntry = 85;  // "Attention: Library not loaded."
constexpr uint32_t ShellPathMax = 319;         // characters the shell call takes

GS::UniString ToUni(const QV_String& text) {
    return text.GetLength() > 0 ? GS::UniString(text.GetBuffer(), text.GetLength()) : GS::UniString();
}

bool FindOrAsk(const QV_String& name, int32_t& libIndex, bool alertWhenMissing, const QV_String& message, int32_t kind,
               bool checkLoaded, LibPartLookup* outcome) {
    libIndex = -1;
    LibPartLookup found = LookUpLibPart(name, kind, libIndex);
    // The add-on's own libraries the host refused to load may hold the part: that is no missing part either.
    if (found == LibPartLookup::Missing)
        found = LoadAddOnLibraries(checkLoaded) ? LookUpLibPart(name, kind, libIndex) : LibPartLookup::Refused;
    if (found == LibPartLookup::Missing) {
        QV_String title;
        GetResString(title, CommonTableBase + LanguageIndex, LibrarySelectionEntry);
        if (AskLibraryFolder(title, true)) found = LookUpLibPart(name, kind, libIndex);
    }
    if (outcome != nullptr) *outcome = found;
    if (found == LibPartLookup::Found) return true;
    libIndex = -1;
    if (!alertWhenMissing) return false;
    // A refused search says nothing of the libraries: the user is told the search failed, not to load them.
    if (found == LibPartLookup::Refused) {
        ShowErrorMessage(ErrFindingData, AlertKind::Error);
        return false;
    }
    QV_String text = message;
    if (text.IsEmpty()) GetResString(text, CommonTableBase + LanguageIndex, LibraryNotLoadedEntry);
    ShowAlertBox(AlertKind::Error, QV_String(), text, QV_String());
    return false;
}

}  // namespace

namespace {

// The host's answer to the search; `index` -1 unless found.
GSErrCode SearchLibPart(const QV_String& name, int32_t kind, int32_t& index) {
    index = -1;
    QV_String base = name;
    const int32_t dot = name.ReverseFindChar('.');
    if (dot >= 0) name.Left(base, uint32_t(dot));
    API_LibPart part = {};
    // A name that does not fit the record's field names no part.
    if (base.IsEmpty() || base.GetLength() >= sizeof part.docu_UName / sizeof part.docu_UName[0]) return APIERR_BADNAME;
    std::memcpy(part.docu_UName, base.GetBuffer(), base.GetLength() * sizeof(char16_t));
    part.typeID = kind;
    const GSErrCode err = ACAPI_LibPart_Search(&part);
    if (err == NoError && part.index >= 0) index = part.index;
    return err;
}

}  // namespace

LibPartLookup LookUpLibPart(const QV_String& name, int32_t kind, int32_t& index) {
    const GSErrCode err = SearchLibPart(name, kind, index);
    if (index >= 0) return LibPartLookup::Found;
    // A name no record can hold names no part; any other error is the host's refusal to search.
    return err == NoError || err == APIERR_BADNAME ? LibPartLookup::Missing : LibPartLookup::Refused;
}

int32_t SearchLibPartByName(const QV_String& name, int32_t kind) {
    int32_t index = -1;
    LookUpLibPart(name, kind, index);
    return index;
}

bool FindLibPartOrAsk(const QV_String& name, int32_t& libIndex, bool alertWhenMissing, const QV_String& message,
                      int32_t kind, LibPartLookup* outcome) {
    return FindOrAsk(name, libIndex, alertWhenMissing, message, kind, true, outcome);
}

bool FindRoadLibPartOrAsk(const QV_String& name, int32_t& libIndex, bool alertWhenMissing, const QV_String& message,
                          int32_t kind, LibPartLookup* outcome) {
    return FindOrAsk(name, libIndex, alertWhenMissing, message, kind, false, outcome);
}

LibPartLookup FindLibPartWithoutAsking(const QV_String& name, int32_t& libIndex, int32_t kind, bool checkLoaded) {
    LibPartLookup found = LookUpLibPart(name, kind, libIndex);
    if (found != LibPartLookup::Missing) return found;
    return LoadAddOnLibraries(checkLoaded) ? LookUpLibPart(name, kind, libIndex) : LibPartLookup::Refused;
}

bool AskLibraryFolder(const QV_String& title, bool withProductName) {
    QV_String fullTitle = title;
    if (withProductName) fullTitle = QV_String(ProductName) + ": " + title;
    DG::FolderDialog dialog;
    if (!fullTitle.IsEmpty()) dialog.SetTitle(ToUni(fullTitle));
    if (!dialog.Invoke()) return false;
    GS::UniString pathText;
    if (dialog.GetFolder().ToPath(&pathText) != NoError) return false;
    QV_String path(reinterpret_cast<const char*>(pathText.ToUStr()), pathText.GetLength() * 2, Encoding_UTF16LE);
    StripTrailingBackslash(path, path);
    IO::Location folder(ToUni(path));
    return ACAPI_Environment(APIEnv_AddLibrariesID, &folder) == NoError;
}

bool OpenFileWithShell(const QV_String& path) {
    if (!FileExists(path)) return false;
    QV_String target;
    StripTrailingBackslash(target, path);
    // Cutting a long path, or losing characters to the code page, would open another file than the one checked.
    if (target.GetLength() > ShellPathMax) return false;
    MultiByteBuffer bytes = target.ToMultiByte(Encoding_System);
    if (bytes.bytes == nullptr) return false;
    const bool exact = QV_String(bytes.bytes, Encoding_System) == target;
    bool opened = false;
    if (exact) {
        const HINSTANCE result = ShellExecuteA(nullptr, "open", bytes.bytes, nullptr, nullptr, 1);
        // The shell answers a value above 32 on success.
        opened = reinterpret_cast<intptr_t>(result) > 32;
    }
    GS::MemoryManager::Free(bytes.bytes);
    return opened;
}
