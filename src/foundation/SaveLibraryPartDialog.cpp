#include "foundation/SaveLibraryPartDialog.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/FileUtils.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

#include <string>

namespace {
enum : int16_t {
    ItemSave = 1,
    ItemCancel = 2,
    ItemNameLabel = 3,
    ItemName = 4,
    ItemIntoLabel = 5,
    ItemLibrary = 6,
    ItemHint = 8,
    ItemTypeLabel = 9,
    ItemType = 10,
};
constexpr int16_t ItemWindowClose = -1;  // 65535 as the dialog manager's 16-bit item

// Refilled at every dialog start.
QV_List<QV_String>& LibraryList() {
    static QV_List<QV_String> list;
    return list;
}

GS::UniString Uni(const std::u16string& units) { return GS::UniString(units.data(), uint32_t(units.size())); }
std::u16string FromUni(const GS::UniString& text) { return std::u16string(text.ToUStr(), text.GetLength()); }

std::u16string WithoutTrailingBackslash(std::u16string path) {
    while (!path.empty() && path.back() == u'\\') path.pop_back();
    return path;
}
std::u16string LastComponent(const std::u16string& path) {
    const size_t slash = path.rfind(u'\\');
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}
bool EqualNoCase(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char16_t x = a[i] >= u'A' && a[i] <= u'Z' ? char16_t(a[i] + 32) : a[i];
        const char16_t y = b[i] >= u'A' && b[i] <= u'Z' ? char16_t(b[i] + 32) : b[i];
        if (x != y) return false;
    }
    return true;
}

std::u16string ApplyExtension(const std::u16string& path, const std::u16string& extension) {
    const size_t slash = path.rfind(u'\\');
    const size_t nameStart = slash == std::u16string::npos ? 0 : slash + 1;
    const size_t dot = path.rfind(u'.');
    if (dot == std::u16string::npos || dot < nameStart) return path + u"." + extension;
    if (dot + 1 == path.size()) return path + extension;
    if (EqualNoCase(path.substr(dot + 1), extension)) return path;
    return path.substr(0, dot + 1) + extension;
}

// A name that would leave the library folder, or name a folder of it, is no file name.
bool StaysInFolder(const std::u16string& name) {
    return name.find(u'\\') == std::u16string::npos && name.find(u'/') == std::u16string::npos &&
        name.find(u"..") == std::u16string::npos;
}

GS::UniString Common(int32_t index) {
    QV_String text;
    GetResString(text, CommonTableBase + LanguageIndex, index);
    return Uni(TextUnits(text));
}

void InitDialog(int16_t dialogId, SaveOnActiveLibrariesData& data) {
    DGSetDialogTitle(dialogId, Common(52));
    DGSetItemText(dialogId, ItemSave, Common(54));
    DGSetItemText(dialogId, ItemCancel, Common(5));
    DGSetItemText(dialogId, ItemNameLabel, Common(3));
    DGSetItemText(dialogId, ItemIntoLabel, Common(53));
    DGSetItemText(dialogId, ItemTypeLabel, Common(56));
    DGSetItemText(dialogId, ItemHint, Common(55));

    QV_List<QV_String>& libraries = LibraryList();
    // Without the host's libraries there is nowhere to save: the user learns why as the dialog opens.
    if (!GetActiveLibraries(libraries)) ShowErrorMessage(ErrFindingData, AlertKind::Error);
    for (int32_t i = libraries.GetCount() - 1; i >= 0; --i)
        if (EqualNoCase(LastComponent(TextUnits(libraries[i])), u"rfs")) libraries.Remove(i);
    for (int32_t i = 0; i < libraries.GetCount(); ++i) {
        DGPopUpInsertItem(dialogId, ItemLibrary, DG_POPUP_BOTTOM);
        DGPopUpSetItemText(dialogId, ItemLibrary, i + 1,
                           i == 0 ? Common(57) : Uni(LastComponent(TextUnits(libraries[i]))));
    }
    if (libraries.GetCount() > 0) DGPopUpSelectItem(dialogId, ItemLibrary, 1);

    DGSetItemText(dialogId, ItemName, Uni(LastComponent(WithoutTrailingBackslash(TextUnits(data.path)))));

    const QV_List<QV_Dialog_SaveOnActiveLibrariesType>& types = *data.types;
    for (int32_t i = 0; i < types.GetCount(); ++i) {
        DGPopUpInsertItem(dialogId, ItemType, DG_POPUP_BOTTOM);
        DGPopUpSetItemText(dialogId, ItemType, i + 1,
                           Uni(TextUnits(types[i].displayName) + u" (*." + TextUnits(types[i].extension) + u")"));
    }
    if (types.GetCount() > 0) DGPopUpSelectItem(dialogId, ItemType, 1);
}

int16_t ClickDialog(int16_t dialogId, int16_t item, SaveOnActiveLibrariesData& data) {
    if (item == ItemWindowClose || item == ItemCancel) return item;
    if (item != ItemSave) return 0;
    const std::u16string name = FromUni(DGGetItemText(dialogId, ItemName));
    const int32_t library = DGPopUpGetSelected(dialogId, ItemLibrary);
    const int32_t type = DGPopUpGetSelected(dialogId, ItemType);
    const QV_List<QV_String>& libraries = LibraryList();
    if (name.empty() || !StaysInFolder(name) || library < 1 || library > libraries.GetCount() || type < 1) return 0;
    std::u16string path = TextUnits(libraries[library - 1]) + u"\\" + name;
    const QV_List<QV_Dialog_SaveOnActiveLibrariesType>& types = *data.types;
    if (types.GetCount() > 0 && type <= types.GetCount())
        path = ApplyExtension(path, TextUnits(types[type - 1].extension));
    data.path = TextOfUnits(path);
    return ItemSave;
}

void ChangeDialog(int16_t dialogId, int16_t item, SaveOnActiveLibrariesData& data) {
    if (item != ItemType) return;
    const int32_t type = DGPopUpGetSelected(dialogId, ItemType);
    if (type < 1 || type > data.types->GetCount()) return;
    const std::u16string name = WithoutTrailingBackslash(FromUni(DGGetItemText(dialogId, ItemName)));
    const std::u16string renamed = ApplyExtension(name, TextUnits((*data.types)[type - 1].extension));
    DGSetItemText(dialogId, ItemName, Uni(LastComponent(renamed)));
}

bool HasTypes(const SaveOnActiveLibrariesData& data) { return data.types != nullptr; }

using SaveDialog = ModalDialog<SaveOnActiveLibrariesData>;
const SaveDialog::Handlers SaveDialogHandlers = {HasTypes, InitDialog, ClickDialog, ChangeDialog,
                                                 nullptr,  nullptr,    nullptr};
}  // namespace

bool GetActiveLibraries(QV_List<QV_String>& libraries) {
    libraries.Clear();
    GS::Array<API_LibraryInfo> list;
    int32_t embedded = -1;
    if (ACAPI_Environment(APIEnv_GetLibrariesID, &list, &embedded) != NoError) return false;
    for (uint32_t i = 0; i < list.GetSize(); ++i) {
        QV_String path;
        LocationToPathString(path, list[i].location);
        libraries.Insert(path, int32_t(i) == embedded ? 0 : -1);
    }
    return true;
}

QV_String WithFileTypeExtension(const QV_String& path, const QV_String& extension) {
    return TextOfUnits(ApplyExtension(TextUnits(path), TextUnits(extension)));
}

bool RunSaveOnActiveLibrariesDialog(QV_String& outPath, const QV_List<QV_Dialog_SaveOnActiveLibrariesType>& types,
                                    const QV_String* initialName) {
    SaveOnActiveLibrariesData data;
    data.types = &types;
    data.path = initialName != nullptr ? *initialName : QV_String("");
    data.treeData.Clear();
    data.tree.Clear();
    if (SaveDialog::Run(SaveLibraryPartDialogId, SaveLibraryPartDialogCallback, data) != ItemSave) return false;
    outPath = TextOfUnits(WithoutTrailingBackslash(TextUnits(data.path)));
    return true;
}

bool AskSaveOnActiveLibraries(QV_String& outPath) {
    QV_List<QV_Dialog_SaveOnActiveLibrariesType> types;
    QV_Dialog_SaveOnActiveLibrariesType gsm;
    GetResString(gsm.displayName, GeneralTableBase + LanguageIndex, 164);
    gsm.extension = QV_String("gsm");
    types.Insert(gsm, -1);
    QV_String path;
    if (!RunSaveOnActiveLibrariesDialog(path, types, nullptr)) return false;
    outPath = path;
    return true;
}

int16_t SaveLibraryPartDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                      intptr_t /*messageData*/) {
    return SaveDialog::Dispatch(SaveLibraryPartDialogId, SaveDialogHandlers, message, dialogId, item, userData);
}
