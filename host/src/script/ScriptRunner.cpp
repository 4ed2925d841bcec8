#include "script/ScriptRunner.hpp"

#include "DGDriver.hpp"
#include "StandinHost.hpp"

#include "LogText.hpp"
#include "script/CommandSupport.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {
// The numbers of the module's dialogs and palettes: their layouts' files in resources/DLOG ("32400.txt"), and
// those of the dialogs open or shown already (a test's own).
std::set<int32_t> ModuleDialogs(const std::string& resources) {
    std::set<int32_t> ids;
    for (const int16_t id : DGDriver::OpenDialogs()) ids.insert(id);
    for (const DGDriver::LogRecord& record : DGDriver::Log())
        if (record.kind == "modal" || record.kind == "modeless") ids.insert(record.id);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(resources + "/DLOG", ec), end; !ec && it != end; it.increment(ec)) {
        int64_t id = 0;
        if (it->path().extension() == ".txt" && ParseScriptInt(it->path().stem().string(), &id) && id >= 1 &&
            id <= 32767)
            ids.insert(int32_t(id));
    }
    return ids;
}
}  // namespace

ScriptRunner::ScriptRunner(StandinHost& host, std::ostream& out, const ScriptLanguage& language)
    : ScriptContext(host, out), language_(language) {}

bool ScriptRunner::RunFile(const std::string& path) {
    // A script that cannot be read fails with the reason, before anything runs.
    std::error_code ec;
    std::string why;
    if (std::filesystem::is_directory(path, ec)) why = "it is a folder";
    std::ifstream in;
    if (why.empty()) {
        errno = 0;
        in.open(path, std::ios::binary);
        if (!in) why = errno != 0 ? std::strerror(errno) : "it cannot be opened";
    }
    std::stringstream ss;
    if (why.empty() && !(ss << in.rdbuf()) && in.peek() != std::char_traits<char>::eof()) why = "reading it failed";
    if (!why.empty()) {
        out_ << "FAILED: cannot read script " << path << ": " << why << "\n";
        ++failures_;
        return false;
    }
    const size_t slash = path.find_last_of('/');
    scriptFolder_ = slash == std::string::npos ? "." : path.substr(0, slash);
    return RunText(ss.str(), path);
}

bool ScriptRunner::RunText(const std::string& text, const std::string& name) {
    std::vector<ScriptCommand> commands;
    std::vector<std::string> errors;
    // Names the project had before the script count as given by earlier lines.
    if (!language_.Parse(text, &commands, &errors, host_.Database().ElementNames(),
                         ModuleDialogs(host_.Settings().moduleDir + "/resources"))) {
        for (const std::string& e : errors) out_ << name << ": " << e << "\n";
        out_ << "FAILED: the script was not run: " << errors.size() << " error(s)\n";
        failures_ += int(errors.size());
        return false;
    }
    if (commands.empty()) {
        out_ << "FAILED: " << name << " was not run: it holds no command (only blank lines and comments)\n";
        ++failures_;
        return false;
    }
    const LogLevel level = host_.GetLogLevel();
    out_ << "script " << name << "\n";
    firstError_ = host_.Errors().size();
    host_.TakeEventCounts();
    int checks = 0;
    size_t ran = 0;
    bool stopped = false;
    std::set<std::string> names = NamesInProject(host_.Database());
    removedNames_.clear();
    for (const ScriptCommand& cmd : commands) {
        const ScriptLanguage::Form& form = language_.At(cmd.form);
        out_ << "[" << cmd.line << "] " << LogText(cmd.source) << "\n";
        std::string message;
        line_ = cmd.line;
        const bool ok = form.handler(*this, cmd.args, &message);
        ++ran;
        // Between two commands the user reaches the open palettes: their queued actions are delivered.
        host_.DeliverModelessActions();
        // What the user did reaches the module's element notifications once the command is done.
        host_.Events().Deliver();
        line_ = 0;
        names = NoteRemovedNames(std::move(names), cmd);
        for (const auto& [what, count] : host_.TakeEventCounts())
            if (level == LogLevel::Normal)
                out_ << "    " << Thousands(double(count)) << " "
                     << (count == 1 && what.rfind("elements ", 0) == 0 ? "element" + what.substr(8) : what) << "\n";
        if (form.isCheck) ++checks;
        for (const std::string& f : failuresBeside_) {
            ++failures_;
            PrintMessage("FAILED (line " + std::to_string(cmd.line) + "): " + f);
        }
        failuresBeside_.clear();
        if (ok) {
            // A quiet log keeps what actions report (the summary among them) and leaves out checks that held.
            if (!message.empty() && (level != LogLevel::Quiet || !form.isCheck)) PrintMessage(message);
            if (form.isCheck && level != LogLevel::Quiet) out_ << "    ok\n";
            continue;
        }
        ++failures_;
        PrintMessage("FAILED (line " + std::to_string(cmd.line) + "): " + message);
        if (!form.isCheck) {
            out_ << "    the script stops here: the lines after it depend on this action\n";
            stopped = true;
            break;
        }
    }
    FinalChecks();
    out_ << (failures_ == 0 ? "PASSED" : "FAILED") << ": ";
    if (stopped)
        out_ << "stopped early at line " << commands[ran - 1].line << ", " << ran << " of " << commands.size()
             << " commands run";
    else
        out_ << commands.size() << " commands";
    out_ << ", " << checks << " checks, " << failures_ << " failure(s)\n";
    return failures_ == 0;
}

std::set<std::string> ScriptRunner::NamesInProject(const ProjectDatabase& db) { return db.NamesNow(); }

std::set<std::string> ScriptRunner::NoteRemovedNames(std::set<std::string> before, const ScriptCommand& cmd) {
    std::set<std::string> now = NamesInProject(host_.Database());
    for (const std::string& name : before)
        if (now.count(name) == 0) removedNames_[name] = "line " + std::to_string(cmd.line) + " (" + cmd.source + ")";
    for (const std::string& name : now) removedNames_.erase(name);
    return now;
}

void ScriptRunner::PrintMessage(const std::string& message) {
    std::istringstream lines(LogText(message));
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) out_ << "    " << line << "\n";
}

bool ScriptRunner::FinalChecks() {
    const int before = failures_;
    FailOnClicksLeft("the end of the script");
    for (const std::string& f : failuresBeside_) {
        out_ << "FAILED: " << LogText(f) << "\n";
        ++failures_;
    }
    failuresBeside_.clear();
    if (host_.IsLoaded()) {
        out_ << "[end] the host quits: releasing the module\n";
        host_.Release();
    }
    const std::vector<std::string>& errors = host_.Errors();
    acknowledged_.resize(errors.size(), false);
    for (size_t i = firstError_; i < errors.size(); ++i)
        if (!acknowledged_[i]) {
            out_ << "FAILED: host error: " << LogText(errors[i]) << "\n";
            ++failures_;
        }
    for (const std::string& e : DGDriver::Errors()) {
        out_ << "FAILED: dialog manager: " << LogText(e) << "\n";
        ++failures_;
    }
    for (const std::string& a : DGDriver::UnusedActions()) {
        out_ << "FAILED: queued dialog action never used: " << a << "\n";
        ++failures_;
    }
    for (const std::string& w : DGDriver::Warnings()) out_ << "warning: dialog manager: " << LogText(w) << "\n";
    return failures_ == before;
}
