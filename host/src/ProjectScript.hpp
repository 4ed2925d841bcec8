#pragma once
// Script commands over the project database: placing plain host elements, layers, stories, windows, the
// selection, undo, and the project dumped as JSON (StandardScriptLanguage() holds them).
class ScriptLanguage;

void AddProjectCommands(ScriptLanguage& language);
