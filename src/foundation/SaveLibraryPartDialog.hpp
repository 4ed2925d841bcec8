#pragma once
// The "Save as Library Part" dialog (32752): in which of the project's active libraries, under which name and as
// which file type a library part the add-on generated is saved; and the list of the active libraries that feeds
// it (the embedded library first).
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include <cstdint>

// One file type the dialog offers: "ZidudORI Object (.GSM)" and "gsm" (no point).
struct QV_Dialog_SaveOnActiveLibrariesType {
    QV_String displayName;
    QV_String extension;
};
QV_DECLARE_RELOCATABLE(QV_Dialog_SaveOnActiveLibrariesType);

// Rows of a library tree the dialog's data carries; this dialog leaves them empty.
struct QV_Dialog_SaveOnActiveLibrariesTreeData {
    QV_String name;
    QV_String path;
    QV_List<QV_String> items;
};
QV_DECLARE_RELOCATABLE(QV_Dialog_SaveOnActiveLibrariesTreeData);
struct QV_Dialog_SaveOnActiveLibrariesTree {
    QV_String name;
    QV_String path;
    QV_String parent;
    QV_List<QV_String> items;
};
QV_DECLARE_RELOCATABLE(QV_Dialog_SaveOnActiveLibrariesTree);

struct SaveOnActiveLibrariesData {
    const QV_List<QV_Dialog_SaveOnActiveLibrariesType>* types;
    QV_String path;  // the initial name going in, the chosen full path coming out
    QV_List<QV_Dialog_SaveOnActiveLibrariesTreeData> treeData;
    QV_List<QV_Dialog_SaveOnActiveLibrariesTree> tree;
};

constexpr int16_t SaveLibraryPartDialogId = 32752;

// The folder paths of the project's active libraries (no trailing backslash), the embedded library first, the
// others in the host's order. False (and an empty list) when the host does not answer.
bool GetActiveLibraries(QV_List<QV_String>& libraries);

// The dialog over `types` with the initial name (null: none); true and the chosen path when the user saved.
bool RunSaveOnActiveLibrariesDialog(QV_String& outPath, const QV_List<QV_Dialog_SaveOnActiveLibrariesType>& types,
                                    const QV_String* initialName);
// The same offering the host's object files (".gsm").
bool AskSaveOnActiveLibraries(QV_String& outPath);

// The path with the file type's extension: a name's own extension stays when it is that one (any letter case)
// and is replaced otherwise; a name without one gets "." and the extension (a point at the very end is reused).
QV_String WithFileTypeExtension(const QV_String& path, const QV_String& extension);

// The dialog's callback (1 init, 4 click, 6 change); userData points to its SaveOnActiveLibrariesData.
int16_t SaveLibraryPartDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                      intptr_t messageData);
