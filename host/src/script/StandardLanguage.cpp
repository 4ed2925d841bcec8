#include "script/StandardLanguage.hpp"

#include "script/CommandSupport.hpp"
#include "script/ScriptCommands.hpp"
#include "script/ScriptLanguage.hpp"

const ScriptLanguage& StandardScriptLanguage() {
    static const ScriptLanguage language = [] {
        ScriptLanguage L;
        L.AddWords("element-type", "element type", ElementTypeWords(), IsElementTypeWord);
        AddModuleCommands(L);
        AddMenuCommands(L);
        AddUserFolderCommands(L);
        AddDialogCommands(L);
        AddDialogCheckCommands(L);
        AddLibraryCommands(L);
        AddProjectCommands(L);
        AddProjectDumpCommands(L);
        AddInputCommands(L);
        AddEditCommands(L);
        AddModelCommands(L);
        AddLegacyCommands(L);
        AddRecordCommands(L);
        AddPeripheryCommands(L);
        AddLineTypeCommands(L);
        AddWorksheetCommands(L);
        return L;
    }();
    return language;
}
