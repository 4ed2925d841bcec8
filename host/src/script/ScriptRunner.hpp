#pragma once
// Runs a script of the stand-in host: the whole script is parsed before its first line runs; a failed check
// is counted and the script goes on, a failed action stops it.
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"
#include "script/StandardLanguage.hpp"

#include <ostream>
#include <set>
#include <string>

class ProjectDatabase;

class ScriptRunner : public ScriptContext {
public:
    ScriptRunner(StandinHost& host, std::ostream& out, const ScriptLanguage& language = StandardScriptLanguage());

    // Parses and runs a script; at the end a module still loaded is released, and the run fails when the host,
    // the dialog manager or the resource loader reported errors, or queued dialog actions were never used.
    bool RunText(const std::string& text, const std::string& name);
    bool RunFile(const std::string& path);
    int Failures() const { return failures_; }

private:
    bool FinalChecks();
    static std::set<std::string> NamesInProject(const ProjectDatabase& db);
    // The names the command's elements took away are noted with its line; the names the project has now.
    std::set<std::string> NoteRemovedNames(std::set<std::string> before, const ScriptCommand& cmd);
    // A command's message, each of its lines indented under the script line.
    void PrintMessage(const std::string& message);

    const ScriptLanguage& language_;
    int failures_ = 0;
};
