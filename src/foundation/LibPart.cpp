#include "foundation/LibPart.hpp"

#include "foundation/PathNames.hpp"
#include "foundation/FileUtils.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/AddOnInfo.hpp"
#include "foundation/AddOnLibraryFolder.hpp"

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
               bool checkLoaded) {
    int32_t index = SearchLibPartByName(name, kind);
    if (index < 0) {
        LoadAddOnLibraries(checkLoaded);
        index = SearchLibPartByName(name, kind);
    }
    if (index < 0) {
        QV_String title;
        GetResString(title, CommonTableBase + LanguageIndex, LibrarySelectionEntry);
        if (AskLibraryFolder(title, true)) index = SearchLibPartByName(name, kind);
    }
    if (index < 0) {
        libIndex = -1;
        if (!alertWhenMissing) return false;
        QV_String text = message;
        if (text.IsEmpty()) GetResString(text, CommonTableBase + LanguageIndex, LibraryNotLoadedEntry);
        ShowAlertBox(-1, QV_String(), text, QV_String());
        return false;
    }
    libIndex = index;
    return true;
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

int32_t SearchLibPartByName(const QV_String& name, int32_t kind) {
    int32_t index = -1;
    SearchLibPart(name, kind, index);
    return index;
}

bool LibPartSearchRefused(const QV_String& name, int32_t kind) {
    int32_t index = -1;
    const GSErrCode err = SearchLibPart(name, kind, index);
    return err != NoError && err != APIERR_BADNAME;
}

bool FindLibPartOrAsk(const QV_String& name, int32_t& libIndex, bool alertWhenMissing, const QV_String& message,
                      int32_t kind) {
    return FindOrAsk(name, libIndex, alertWhenMissing, message, kind, true);
}

bool FindRoadLibPartOrAsk(const QV_String& name, int32_t& libIndex, bool alertWhenMissing, const QV_String& message,
                          int32_t kind) {
    return FindOrAsk(name, libIndex, alertWhenMissing, message, kind, false);
}

bool FindLibPartWithoutAsking(const QV_String& name, int32_t& libIndex, int32_t kind, bool checkLoaded) {
    libIndex = SearchLibPartByName(name, kind);
    if (libIndex < 0) {
        LoadAddOnLibraries(checkLoaded);
        libIndex = SearchLibPartByName(name, kind);
    }
    return libIndex >= 0;
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
