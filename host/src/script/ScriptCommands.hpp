#pragma once
// The families of the stand-in host's script commands, each with the checks ("expect ...") of what it drives.
// StandardScriptLanguage() adds them in this order; within a family a fixed word ("fail clear") comes before
// a slot that would take it ("fail <function> <error>").
class ScriptLanguage;

void AddModuleCommands(ScriptLanguage& language);       // load, release, restart, host settings, failures, log
void AddMenuCommands(ScriptLanguage& language);         // menu choices, notifications, registered menus
void AddUserFolderCommands(ScriptLanguage& language);   // configuration entries and files of the user folder
void AddDialogCommands(ScriptLanguage& language);       // answers to dialogs, alerts, folder and file dialogs
void AddDialogCheckCommands(ScriptLanguage& language);  // what the dialogs show, the registered palettes
void AddLibraryCommands(ScriptLanguage& language);      // the project's object libraries
void AddProjectCommands(ScriptLanguage& language);      // placing, selection, layers, stories, windows, undo
void AddProjectDumpCommands(ScriptLanguage& language);  // the project as JSON, its picture, what `print` asks
void AddInputCommands(ScriptLanguage& language);        // the user's clicks in the plan window
void AddEditCommands(ScriptLanguage& language);         // the user's edits, element events, solid links
void AddModelCommands(ScriptLanguage& language);        // meshes, slabs and bodies; the 3D model's checks
void AddLegacyCommands(ScriptLanguage& language);       // a project of an earlier release, and its upkeep
void AddRecordCommands(ScriptLanguage& language);       // records as the module stores them, names, groups
void AddPeripheryCommands(ScriptLanguage& language);    // the host's settings dialogs, the shell, the module file
void AddLineTypeCommands(ScriptLanguage& language);     // line types' dashes and the drawing scale
void AddWorksheetCommands(ScriptLanguage& language);    // independent worksheets
