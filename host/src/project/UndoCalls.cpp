#include "project/UndoCalls.hpp"

#include "project/ProjectCalls.hpp"
#include "UniString.hpp"

namespace {
GSErrCode T_CallUndoableCommand(const char16_t* undoText, API_UndoableCommandProc* body, void* context) {
    return ServeDatabaseCall("CallUndoableCommand", [&](HostCalls& host, ProjectDatabase& db) {
        if (body == nullptr) return APIERR_BADPARS;
        const std::string text = undoText != nullptr ? GS::UniString(undoText).ToUtf8() : std::string();
        host.Log("  host: undoable command \"" + text + "\"");
        return db.RunUndoableCommand(text, [&]() { return body(context); });
    });
}
}  // namespace

void InstallUndoCalls(HostFunctionSet& set) {
    set.Put("CallUndoableCommand", &API_HostFunctionTable::CallUndoableCommand, T_CallUndoableCommand);
}
