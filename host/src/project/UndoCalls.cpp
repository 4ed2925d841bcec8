#include "project/UndoCalls.hpp"

#include "library/LibraryStore.hpp"
#include "project/ProjectCalls.hpp"
#include "UniString.hpp"

namespace {
GSErrCode T_CallUndoableCommand(const char16_t* undoText, API_UndoableCommandProc* body, void* context) {
    return ServeDatabaseCall("CallUndoableCommand", [&](HostCalls& host, ProjectDatabase& db) {
        if (body == nullptr) return APIERR_BADPARS;
        const std::string text = undoText != nullptr ? GS::UniString(undoText).ToUtf8() : std::string();
        host.Log("  host: undoable command \"" + text + "\"");
        if (db.InCommand()) return db.RunUndoableCommand(text, [&]() { return body(context); });
        // The libraries are the project's too: a command taken back leaves them as before.
        bool ran = false;
        host.Libraries().BeginCommand();
        const GSErrCode err = db.RunUndoableCommand(text, [&]() {
            ran = true;
            return body(context);
        });
        host.Libraries().EndCommand(ran && err != NoError);
        return err;
    });
}
}  // namespace

void InstallUndoCalls(HostFunctionSet& set) {
    set.Put("CallUndoableCommand", &API_HostFunctionTable::CallUndoableCommand, T_CallUndoableCommand);
}
