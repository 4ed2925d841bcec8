#include "script/ScriptRunner.hpp"

#include "DGDriver.hpp"
#include "StandinHost.hpp"

#include <fstream>
#include <sstream>

ScriptRunner::ScriptRunner(StandinHost& host, std::ostream& out, const ScriptLanguage& language)
    : ScriptContext(host, out), language_(language) {}

bool ScriptRunner::RunFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        out_ << "standin-host: cannot read script " << path << "\n";
        ++failures_;
        return false;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    return RunText(ss.str(), path);
}

bool ScriptRunner::RunText(const std::string& text, const std::string& name) {
    std::vector<ScriptCommand> commands;
    std::vector<std::string> errors;
    if (!language_.Parse(text, &commands, &errors)) {
        for (const std::string& e : errors) out_ << name << ": " << e << "\n";
        out_ << "script not run: " << errors.size() << " error(s)\n";
        failures_ += int(errors.size());
        return false;
    }
    out_ << "script " << name << "\n";
    firstError_ = host_.Errors().size();
    int checks = 0;
    bool stopped = false;
    for (const ScriptCommand& cmd : commands) {
        const ScriptLanguage::Form& form = language_.At(cmd.form);
        out_ << "[" << cmd.line << "] " << cmd.source << "\n";
        std::string message;
        const bool ok = form.handler(*this, cmd.args, &message);
        // Between two commands the user reaches the open palettes: their queued actions are delivered.
        host_.DeliverModelessActions();
        // What the user did reaches the module's element notifications once the command is done.
        host_.Events().Deliver();
        if (form.isCheck) ++checks;
        if (ok) {
            if (!message.empty()) out_ << "    " << message << "\n";
            if (form.isCheck) out_ << "    ok\n";
            continue;
        }
        ++failures_;
        out_ << "    FAILED (line " << cmd.line << "): " << message << "\n";
        if (!form.isCheck) {
            out_ << "    the script stops here: the lines after it depend on this action\n";
            stopped = true;
            break;
        }
    }
    FinalChecks();
    out_ << (failures_ == 0 ? "PASSED" : "FAILED") << ": " << commands.size() << " commands, " << checks << " checks, "
         << failures_ << " failure(s)" << (stopped ? ", stopped early" : "") << "\n";
    return failures_ == 0;
}

bool ScriptRunner::FinalChecks() {
    const int before = failures_;
    if (host_.IsLoaded()) {
        out_ << "[end] the host quits: releasing the module\n";
        host_.Release();
    }
    const std::vector<std::string>& errors = host_.Errors();
    acknowledged_.resize(errors.size(), false);
    for (size_t i = firstError_; i < errors.size(); ++i)
        if (!acknowledged_[i]) {
            out_ << "FAILED: host error: " << errors[i] << "\n";
            ++failures_;
        }
    for (const std::string& e : DGDriver::Errors()) {
        out_ << "FAILED: dialog manager: " << e << "\n";
        ++failures_;
    }
    for (const std::string& a : DGDriver::UnusedActions()) {
        out_ << "FAILED: queued dialog action never used: " << a << "\n";
        ++failures_;
    }
    for (const std::string& w : DGDriver::Warnings()) out_ << "warning: dialog manager: " << w << "\n";
    return failures_ == before;
}
