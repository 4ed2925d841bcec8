#pragma once
// What a script command sees of the run it is part of: the host, the log, paths in the user folder and the host
// errors the script has acknowledged so far.
#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <vector>

class StandinHost;

class ScriptContext {
public:
    ScriptContext(StandinHost& host, std::ostream& out) : host_(host), out_(out) {}
    ScriptContext(const ScriptContext&) = delete;
    ScriptContext& operator=(const ScriptContext&) = delete;

    StandinHost& Host() { return host_; }
    std::ostream& Out() { return out_; }
    // Host errors acknowledged by "expect host-error", by index into the host's errors.
    std::vector<bool>& AcknowledgedHostErrors() { return acknowledged_; }
    // Host errors before this index were reported before the run and are not its own.
    size_t FirstHostError() const { return firstError_; }
    // Path of a name inside the user folder; false for an absolute name or one that climbs out with "..".
    bool UserPath(const std::string& name, std::string* path, std::string* message) const;
    // The folder of the script file being run ("" for a script given as text): data files are found beside it.
    const std::string& ScriptFolder() const { return scriptFolder_; }
    // The line of the command being run (0 outside a command).
    int Line() const { return line_; }

    // A failure found beside a command's own result: the runner counts it and prints it after the command.
    void AddFailure(const std::string& message) { failuresBeside_.push_back(message); }
    // The clicks the script queued that no input took are dropped; while there were any, a failure of the run
    // names them with their lines. `by` says by when ("release").
    void FailOnClicksLeft(const std::string& by);
    // The line that removed the element a name stood for, as "line 12 (the line's text)"; "" when the name
    // stands for an element or never did.
    std::string RemovedBy(const std::string& name) const;

protected:
    StandinHost& host_;
    std::ostream& out_;
    std::vector<bool> acknowledged_;
    size_t firstError_ = 0;
    std::string scriptFolder_;
    int line_ = 0;
    std::vector<std::string> failuresBeside_;
    std::map<std::string, std::string> removedNames_;  // name -> the line that removed its element
};
