#pragma once
// The stand-in host's script language: the commands of every family (script/ScriptCommands.hpp).
#include "script/ScriptLanguage.hpp"

const ScriptLanguage& StandardScriptLanguage();
