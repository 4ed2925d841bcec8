#include "Script.hpp"

#include "DGDriver.hpp"
#include "HostConfigFile.hpp"
#include "ProjectScript.hpp"
#include "StandinHost.hpp"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

// --- words and numbers ---------------------------------------------------------------------------------------

bool TokenizeScriptLine(const std::string& line, std::vector<ScriptToken>* tokens, std::string* error) {
    tokens->clear();
    size_t i = 0;
    const size_t n = line.size();
    while (i < n) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#') break;
        ScriptToken tok;
        if (c == '"') {
            tok.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\') {
                    tok.text += d;
                    continue;
                }
                if (i >= n) break;
                const char e = line[i++];
                switch (e) {
                    case 'n': tok.text += '\n'; break;
                    case 'r': tok.text += '\r'; break;
                    case 't': tok.text += '\t'; break;
                    case '\\': tok.text += '\\'; break;
                    case '"': tok.text += '"'; break;
                    default: *error = std::string("unknown escape \\") + e + " in quoted text"; return false;
                }
            }
            if (!closed) {
                *error = "quoted text is not closed";
                return false;
            }
            if (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                *error = "a blank must follow quoted text";
                return false;
            }
        } else {
            while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                if (line[i] == '"') {
                    *error = "a quote inside a word";
                    return false;
                }
                tok.text += line[i++];
            }
        }
        tokens->push_back(tok);
    }
    return true;
}

bool ParseScriptInt(const std::string& text, int64_t* value) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    int base = 10;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    uint64_t v = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * uint64_t(base) + uint64_t(d);
        if (v > 0xFFFFFFFFull) return false;
    }
    if (negative) {
        if (v > 0x80000000ull) return false;
        *value = -int64_t(v);
    } else {
        *value = int64_t(v);
    }
    return true;
}

const std::string& ScriptArgs::Text(const std::string& name) const {
    static const std::string empty;
    const auto it = values_.find(name);
    return it != values_.end() ? it->second : empty;
}

int32_t ScriptArgs::Int(const std::string& name) const {
    const auto it = numbers_.find(name);
    return it != numbers_.end() ? int32_t(uint32_t(uint64_t(it->second))) : 0;
}

// --- patterns ------------------------------------------------------------------------------------------------

void ScriptLanguage::Add(const std::string& pattern, bool isCheck, ScriptHandler handler, const std::string& help) {
    Form form;
    form.pattern = pattern;
    form.isCheck = isCheck;
    form.handler = std::move(handler);
    form.help = help;
    std::istringstream in(pattern);
    std::string word;
    while (in >> word) {
        Slot slot;
        if (word.size() > 2 && word.front() == '[' && word.back() == ']') {
            slot.optional = true;
            word = word.substr(1, word.size() - 2);
        }
        if (word.size() > 2 && word.front() == '<' && word.back() == '>') {
            slot.literal = false;
            const std::string inner = word.substr(1, word.size() - 2);
            const size_t colon = inner.find(':');
            slot.text = inner.substr(0, colon);
            const std::string kind = colon == std::string::npos ? "text" : inner.substr(colon + 1);
            if (kind == "int") {
                slot.kind = Slot::Int;
            } else if (kind == "text") {
                slot.kind = Slot::Text;
            } else {
                slot.kind = Slot::Choice;
                std::string choice;
                std::istringstream cs(kind);
                while (std::getline(cs, choice, '|')) slot.choices.push_back(choice);
            }
        } else {
            slot.text = word;
        }
        form.slots.push_back(slot);
    }
    forms_.push_back(std::move(form));
}

namespace {
// Matches tokens against a form; `matched` counts the leading tokens that fit.
bool MatchForm(const ScriptLanguage::Form& form, const std::vector<ScriptToken>& tokens, ScriptArgs* args,
               size_t* matched, std::string* why) {
    using Slot = ScriptLanguage::Slot;
    *matched = 0;
    for (size_t i = 0; i < form.slots.size(); ++i) {
        const Slot& slot = form.slots[i];
        if (i >= tokens.size()) {
            if (slot.optional) break;
            *why = slot.literal ? "missing '" + slot.text + "'" : "missing <" + slot.text + ">";
            return false;
        }
        const ScriptToken& tok = tokens[i];
        if (slot.literal) {
            if (tok.quoted || tok.text != slot.text) {
                *why = "expected '" + slot.text + "' instead of '" + tok.text + "'";
                return false;
            }
        } else if (slot.kind == Slot::Int) {
            int64_t v = 0;
            if (!ParseScriptInt(tok.text, &v)) {
                *why = "'" + tok.text + "' is not a number (<" + slot.text + ">: decimal or 0x hexadecimal, " +
                    "-2147483648 to 0xFFFFFFFF)";
                return false;
            }
            args->Set(slot.text, tok.text, v);
        } else if (slot.kind == Slot::Choice) {
            bool ok = false;
            for (const std::string& c : slot.choices) ok = ok || (!tok.quoted && c == tok.text);
            if (!ok) {
                std::string list;
                for (const std::string& c : slot.choices) list += (list.empty() ? "" : "|") + c;
                *why = "'" + tok.text + "' is not one of " + list;
                return false;
            }
            args->Set(slot.text, tok.text, 0);
        } else {
            args->Set(slot.text, tok.text, 0);
        }
        *matched = i + 1;
    }
    if (tokens.size() > form.slots.size()) {
        *why = "unexpected '" + tokens[form.slots.size()].text + "'";
        return false;
    }
    return true;
}
}  // namespace

bool ScriptLanguage::Parse(const std::string& text, std::vector<ScriptCommand>* commands,
                           std::vector<std::string>* errors) const {
    commands->clear();
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        std::vector<ScriptToken> tokens;
        std::string why;
        if (!TokenizeScriptLine(line, &tokens, &why)) {
            errors->push_back("line " + std::to_string(lineNo) + ": " + why);
            continue;
        }
        if (tokens.empty()) continue;
        size_t bestMatched = 0;
        std::string bestWhy;
        bool done = false;
        for (size_t s = 0; s < forms_.size() && !done; ++s) {
            ScriptArgs args;
            size_t matched = 0;
            std::string w;
            if (MatchForm(forms_[s], tokens, &args, &matched, &w)) {
                ScriptCommand cmd;
                cmd.line = lineNo;
                cmd.source = line;
                while (!cmd.source.empty() && (cmd.source.back() == '\r' || cmd.source.back() == ' '))
                    cmd.source.pop_back();
                cmd.form = s;
                cmd.args = args;
                commands->push_back(cmd);
                done = true;
            } else if (matched > bestMatched) {
                bestMatched = matched;
                bestWhy = w;
            }
        }
        if (done) continue;
        if (bestMatched == 0) {
            errors->push_back("line " + std::to_string(lineNo) + ": unknown command '" + tokens[0].text + "'");
        } else {
            std::string forms;
            for (const Form& fm : forms_)
                if (!fm.slots.empty() && fm.slots[0].literal && fm.slots[0].text == tokens[0].text)
                    forms += "\n    " + fm.pattern;
            errors->push_back("line " + std::to_string(lineNo) + ": " + bestWhy + "; the forms of '" + tokens[0].text +
                              "' are:" + forms);
        }
    }
    return errors->empty();
}

std::string ScriptLanguage::Usage() const {
    std::string out;
    for (const Form& s : forms_) out += "  " + s.pattern + (s.help.empty() ? "" : "\n      " + s.help) + "\n";
    return out;
}

// --- running -------------------------------------------------------------------------------------------------

ScriptRunner::ScriptRunner(StandinHost& host, std::ostream& out, const ScriptLanguage& language)
    : host_(host), out_(out), language_(language) {}

bool ScriptRunner::UserPath(const std::string& name, std::string* path, std::string* message) const {
    if (name.empty() || name[0] == '/' || name[0] == '\\' || name.find("..") != std::string::npos) {
        *message = "'" + name + "' is not a name inside the user folder";
        return false;
    }
    std::string rel = name;
    for (char& c : rel)
        if (c == '\\') c = '/';
    *path = host_.Settings().userFolder + "/" + rel;
    return true;
}

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

// --- the host's commands -------------------------------------------------------------------------------------

namespace {
bool ReadWholeFile(const std::string& path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream ss;
    ss << in.rdbuf();
    *bytes = ss.str();
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return out && out.write(bytes.data(), std::streamsize(bytes.size()));
}

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

const ModuleSession::Menu* LastMenu(const StandinHost& host) {
    const auto& menus = host.Session().menus;
    return menus.empty() ? nullptr : &menus.back();
}

bool Compare(const std::string& what, int64_t found, int64_t expected, std::string* message) {
    *message = what + " " + std::to_string(found) + (found == expected ? "" : ", expected " + std::to_string(expected));
    return found == expected;
}

bool CompareText(const std::string& what, const std::string& found, const std::string& expected, std::string* message) {
    *message = what + " " + Quote(found) + (found == expected ? "" : ", expected " + Quote(expected));
    return found == expected;
}

std::string FieldText(const char* field, size_t size) {
    size_t n = 0;
    while (n < size && field[n] != '\0') ++n;
    return std::string(field, n);
}

// A path of the script: "@module" at its start stands for the folder of the module (and its library/).
std::string HostPath(ScriptRunner& r, const std::string& path) {
    const std::string mark = "@module";
    if (path.compare(0, mark.size(), mark) != 0) return path;
    return r.Host().Settings().moduleDir + path.substr(mark.size());
}

// The project's object libraries.
void AddLibraryCommands(ScriptLanguage& L) {
    L.Add(
        "library load <path:text>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            return r.Host().AddLibraryFolder(HostPath(r, a.Text("path")), m);
        },
        "the project loads a library folder (\"@module/library\": the add-on's own)");
    L.Add(
        "library clear", false,
        [](ScriptRunner& r, const ScriptArgs&, std::string*) {
            r.Host().Project().libraries.Clear();
            return true;
        },
        "the project's libraries are emptied");
    L.Add(
        "expect libraries <count:int>", true,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            return Compare("library folders loaded:", int64_t(r.Host().Project().libraries.Folders().size()),
                           a.Int("count"), m);
        },
        "the number of library folders the project has loaded");
    L.Add(
        "expect library-part <name:text> <state:found|absent>", true,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            const bool found = r.Host().Project().libraries.FindByName(a.Text("name"), 0) > 0;
            *m = a.Text("name") + (found ? " found" : " absent");
            return found == (a.Text("state") == "found");
        },
        "a library part of that name is among the project's libraries");
    L.Add(
        "expect folder-dialog <title:text> [<result:chosen|cancelled>]", true,
        [](ScriptRunner&, const ScriptArgs& a, std::string* m) {
            for (const DGDriver::LogRecord& rec : DGDriver::Log()) {
                if (rec.kind != "folder" || rec.title != a.Text("title")) continue;
                if (a.Has("result") && (rec.result == 1) != (a.Text("result") == "chosen")) continue;
                *m = "folder dialog " + Quote(rec.title) + (rec.result == 1 ? " chosen" : " cancelled");
                return true;
            }
            *m = "no folder dialog titled " + Quote(a.Text("title")) + (a.Has("result") ? " ended so" : "");
            return false;
        },
        "a folder dialog with that title was shown (and chosen or cancelled)");
    L.Add("expect folder-dialogs <count:int>", true, [](ScriptRunner&, const ScriptArgs& a, std::string* m) {
        int64_t n = 0;
        for (const DGDriver::LogRecord& rec : DGDriver::Log()) n += rec.kind == "folder" ? 1 : 0;
        return Compare("folder dialogs shown:", n, a.Int("count"), m);
    });
}

void AddActions(ScriptLanguage& L) {
    L.Add(
        "load", false,
        [](ScriptRunner& r, const ScriptArgs&, std::string* m) {
            if (!r.Host().Load()) {
                *m = "the module could not be loaded";
                return false;
            }
            *m = r.Host().IsLoaded() ? "module running" : "module not running after its entry points";
            return true;
        },
        "load the module, hand over the tables, run CheckEnvironment, RegisterInterface and Initialize");
    L.Add(
        "release", false,
        [](ScriptRunner& r, const ScriptArgs&, std::string* m) {
            if (!r.Host().Release()) {
                *m = "release failed";
                return false;
            }
            return true;
        },
        "run FreeData and unload the module (it must be gone afterwards)");
    L.Add(
        "restart", false,
        [](ScriptRunner& r, const ScriptArgs&, std::string* m) {
            if (!r.Host().Restart()) {
                *m = "restart failed";
                return false;
            }
            *m = r.Host().IsLoaded() ? "module running" : "module not running after its entry points";
            return true;
        },
        "release, then load again; the user folder and the project stay");
    L.Add(
        "menu <menu:int> <item:int>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            GSErrCode err = NoError;
            if (!r.Host().ChooseMenu(int16_t(a.Int("menu")), int16_t(a.Int("item")), &err)) {
                *m = "cannot choose that menu item";
                return false;
            }
            return true;
        },
        "choose item <item> (from 1) of the add-on's menu <menu>");
    L.Add(
        "notify project <event:int> [<param:int>]", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            if (!r.Host().SendProjectEvent(a.Int("event"), a.Has("param") ? a.Int("param") : 0)) {
                *m = "no project event handler";
                return false;
            }
            return true;
        },
        "deliver a project event to the module's project event handler");
    L.Add(
        "notify tool-change [<type:int>]", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            API_ToolBoxItem tool = {};
            tool.typeID = a.Has("type") ? a.Int("type") : 0;
            if (!r.Host().SendToolChange(tool)) {
                *m = "no tool change handler";
                return false;
            }
            return true;
        },
        "the user picks another tool");
    L.Add(
        "language <code:text>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string*) {
            r.Host().Settings().language = a.Text("code");
            return true;
        },
        "the host's language code ('APPL'), e.g. INT, GER, NOR, AUT");
    L.Add(
        "version <main:int>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string*) {
            r.Host().Settings().mainVersion = a.Int("main");
            return true;
        },
        "the host's main version ('APPL')");
    L.Add(
        "environment <kind:int>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string*) {
            r.Host().Settings().environmentKind = a.Int("kind");
            return true;
        },
        "the kind of host application in the environment record of the next load (1 = the host)");
    L.Add(
        "suite <state:present|absent>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string*) {
            r.Host().Settings().suitePresent = a.Text("state") == "present";
            return true;
        },
        "whether the suite add-on answers its 'SUIT' command");
    L.Add(
        "fail clear", false,
        [](ScriptRunner& r, const ScriptArgs&, std::string*) {
            r.Host().ClearFailures();
            return true;
        },
        "host functions work again");
    L.Add(
        "fail <function:text> <error:int>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            if (r.Host().FailCall(a.Text("function"), -1, a.Int("error"))) return true;
            *m = "unknown host function " + a.Text("function");
            return false;
        },
        "from now on host function <function> answers <error>");
    L.Add(
        "fail <function:text> <key:int> <error:int>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            if (r.Host().FailCall(a.Text("function"), a.Int("key"), a.Int("error"))) return true;
            *m = "unknown host function " + a.Text("function");
            return false;
        },
        "the same, only for calls about menu resource <key>");
    L.Add(
        "config <file:text> <key:text> <value:text>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            std::string path;
            if (!r.UserPath(a.Text("file"), &path, m)) return false;
            return HostConfig::SetEntry(path, a.Text("key"), a.Text("value"), m);
        },
        "set an entry of a configuration file in the user folder (the file's own encoding)");
    L.Add(
        "file write <name:text> <text:text>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            std::string path;
            if (!r.UserPath(a.Text("name"), &path, m)) return false;
            if (WriteWholeFile(path, a.Text("text"))) return true;
            *m = "cannot write " + path;
            return false;
        },
        "write a file in the user folder with the text as it is (UTF-8)");
    L.Add(
        "file write-encoded <name:text> <text:text>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            std::string path;
            if (!r.UserPath(a.Text("name"), &path, m)) return false;
            std::string bytes = HostConfig::Utf8ToCp1252(a.Text("text"));
            HostConfig::SwapNibbles(bytes);
            if (WriteWholeFile(path, bytes)) return true;
            *m = "cannot write " + path;
            return false;
        },
        "write raw configuration-file text (Windows-1252, nibbles exchanged), e.g. a broken one");
    L.Add(
        "file delete <name:text>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            std::string path;
            if (!r.UserPath(a.Text("name"), &path, m)) return false;
            if (unlink(path.c_str()) == 0 || errno == ENOENT) return true;
            *m = "cannot delete " + path;
            return false;
        },
        "delete a file of the user folder");
    L.Add(
        "dialog <dialog:int> set <item:int> <value:text>", false,
        [](ScriptRunner&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueSetText(int16_t(a.Int("dialog")), int16_t(a.Int("item")), a.Text("value"));
            return true;
        },
        "queue: set an item's text or value");
    L.Add(
        "dialog <dialog:int> pick <item:int> <row:int>", false,
        [](ScriptRunner&, const ScriptArgs& a, std::string*) {
            DGDriver::QueuePickListRow(int16_t(a.Int("dialog")), int16_t(a.Int("item")), a.Int("row"));
            return true;
        },
        "queue: pick row <row> (from 1) of a list");
    L.Add(
        "dialog <dialog:int> popup <item:int> <pos:int>", false,
        [](ScriptRunner&, const ScriptArgs& a, std::string*) {
            DGDriver::QueuePickPopUpItem(int16_t(a.Int("dialog")), int16_t(a.Int("item")), a.Int("pos"));
            return true;
        },
        "queue: pick item <pos> (from 1) of a pop-up");
    L.Add(
        "dialog <dialog:int> click <item:int>", false,
        [](ScriptRunner&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueClick(int16_t(a.Int("dialog")), int16_t(a.Int("item")));
            return true;
        },
        "queue: click an item");
    L.Add(
        "dialog <dialog:int> close", false,
        [](ScriptRunner&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueCloseWindow(int16_t(a.Int("dialog")));
            return true;
        },
        "queue: the user closes a modeless window");
    L.Add(
        "alert <button:int>", false,
        [](ScriptRunner&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueAlertAnswer(int16_t(a.Int("button")));
            return true;
        },
        "queue: answer the next alert with button <button> (from 1)");
    L.Add(
        "folder cancel", false,
        [](ScriptRunner&, const ScriptArgs&, std::string*) {
            DGDriver::QueueFolderCancel();
            return true;
        },
        "queue: cancel the next folder dialog");
    L.Add(
        "folder <path:text>", false,
        [](ScriptRunner& r, const ScriptArgs& a, std::string*) {
            DGDriver::QueueFolderAnswer(HostPath(r, a.Text("path")));
            return true;
        },
        "queue: choose a folder in the next folder dialog (\"@module\" starts a path beside the module)");
    L.Add(
        "file-dialog cancel", false,
        [](ScriptRunner&, const ScriptArgs&, std::string*) {
            DGDriver::QueueFileCancel();
            return true;
        },
        "queue: cancel the next file dialog");
    L.Add(
        "file-dialog <path:text>", false,
        [](ScriptRunner&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueFileAnswer({a.Text("path")});
            return true;
        },
        "queue: choose a file in the next file dialog");
    L.Add(
        "echo <text:text>", false,
        [](ScriptRunner&, const ScriptArgs& a, std::string* m) {
            *m = a.Text("text");
            return true;
        },
        "print a note into the log");
    L.Add(
        "clear-log", false,
        [](ScriptRunner& r, const ScriptArgs&, std::string*) {
            r.Host().ClearModuleReports();
            return true;
        },
        "forget the module's report lines so far (for counting with expect log)");
}

void AddChecks(ScriptLanguage& L) {
    L.Add("expect loaded", true, [](ScriptRunner& r, const ScriptArgs&, std::string* m) {
        *m = r.Host().IsLoaded() ? "" : "the module is not loaded";
        return r.Host().IsLoaded();
    });
    L.Add("expect unloaded", true, [](ScriptRunner& r, const ScriptArgs&, std::string* m) {
        *m = r.Host().IsLoaded() ? "the module is loaded" : "";
        return !r.Host().IsLoaded();
    });
    L.Add(
        "expect result <entry:CheckEnvironment|RegisterInterface|Initialize|FreeData> <value:int>", true,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            const EntryResults& res = r.Host().Results();
            const std::string& e = a.Text("entry");
            const bool ran = e == "CheckEnvironment" ? res.checkEnvironmentRan
                : e == "RegisterInterface"           ? res.registerInterfaceRan
                : e == "Initialize"                  ? res.initializeRan
                                                     : res.freeDataRan;
            if (!ran) {
                *m = e + " did not run in the latest load";
                return false;
            }
            const int32_t v = e == "CheckEnvironment" ? res.checkEnvironment
                : e == "RegisterInterface"            ? res.registerInterface
                : e == "Initialize"                   ? res.initialize
                                                      : res.freeData;
            *m = e + " answered " + ErrorText(v);
            if (v != a.Int("value")) *m += ", expected " + ErrorText(a.Int("value"));
            return v == a.Int("value");
        },
        "an entry point's result in the latest load");
    L.Add(
        "expect addon name <text:text>", true,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            const API_AddOnInfo& info = r.Host().Results().envir.addOnInfo;
            return CompareText("add-on name", FieldText(info.name, sizeof info.name), a.Text("text"), m);
        },
        "the name the module gave in the environment record");
    L.Add("expect addon description <text:text>", true, [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
        const API_AddOnInfo& info = r.Host().Results().envir.addOnInfo;
        return CompareText("add-on description", FieldText(info.description, sizeof info.description), a.Text("text"),
                           m);
    });
    L.Add(
        "expect menu registered <menu:int>", true,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            const ModuleSession::Menu* menu = LastMenu(r.Host());
            if (menu == nullptr) {
                *m = "no menu is registered";
                return false;
            }
            return Compare("menu registered from resource", menu->menuResID, a.Int("menu"), m);
        },
        "the menu resource the module registered (the latest registration)");
    L.Add("expect menu count <count:int>", true, [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
        return Compare("menus registered:", int64_t(r.Host().Session().menus.size()), a.Int("count"), m);
    });
    L.Add(
        "expect menu text <index:int> <text:text>", true,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            const ModuleSession::Menu* menu = LastMenu(r.Host());
            const int32_t i = a.Int("index");
            if (menu == nullptr || i < 1 || size_t(i) > menu->texts.size()) {
                *m = "the registered menu has no line " + std::to_string(i);
                return false;
            }
            return CompareText("menu line " + std::to_string(i), menu->texts[size_t(i) - 1], a.Text("text"), m);
        },
        "line <index> of the registered menu resource");
    L.Add("expect menu handlers <count:int>", true, [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
        return Compare("menu handlers installed:", int64_t(r.Host().Session().menuHandlers.size()), a.Int("count"), m);
    });
    L.Add("expect menu handler <menu:int> <state:installed|absent>", true,
          [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
              const bool installed = r.Host().Session().menuHandlers.count(int16_t(a.Int("menu"))) != 0;
              *m = std::string("menu handler ") + (installed ? "installed" : "absent");
              return installed == (a.Text("state") == "installed");
          });
    L.Add(
        "expect menu item-text <menu:int> <item:int> <text:text>", true,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            const auto& texts = r.Host().Session().menuItemTexts;
            const auto it = texts.find({int16_t(a.Int("menu")), int16_t(a.Int("item"))});
            if (it == texts.end()) {
                *m = "the module set no text for that item";
                return false;
            }
            return CompareText("item text", it->second, a.Text("text"), m);
        },
        "the text the module set for a menu item ('SMIT')");
    L.Add("expect notification <kind:project|new-element|observer|tool-change> <state:installed|absent>", true,
          [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
              const ModuleSession& s = r.Host().Session();
              const std::string& k = a.Text("kind");
              const bool installed = k == "project" ? s.projectEventHandler != nullptr
                  : k == "new-element"              ? s.newElementHandler != nullptr
                  : k == "observer"                 ? s.elementObserver != nullptr
                                                    : s.toolChangeHandler != nullptr;
              *m = k + " handler " + (installed ? "installed" : "absent");
              return installed == (a.Text("state") == "installed");
          });
    L.Add("expect notification project-mask <mask:int>", true,
          [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
              return Compare("project event mask", r.Host().Session().projectEventMask, a.Int("mask"), m);
          });
    L.Add("expect notification new-element-types <types:all|one>", true,
          [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
              const bool all = r.Host().Session().newElementAllTypes;
              *m = all ? "every element type" : "one element type";
              return all == (a.Text("types") == "all");
          });
    L.Add("expect library <state:registered|absent>", true, [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
        const bool reg = r.Host().Session().builtInLibrary;
        *m = reg ? "built-in library registered" : "no built-in library";
        return reg == (a.Text("state") == "registered");
    });
    L.Add("expect keep-in-memory <state:true|false>", true, [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
        const bool keep = r.Host().Session().keepInMemory;
        *m = keep ? "kept in memory" : "not kept in memory";
        return keep == (a.Text("state") == "true");
    });
    L.Add(
        "expect config <file:text> <key:text> <value:text>", true,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            std::string path;
            if (!r.UserPath(a.Text("file"), &path, m)) return false;
            if (!FileExists(path)) {
                *m = a.Text("file") + " does not exist";
                return false;
            }
            std::vector<HostConfig::Entry> entries;
            if (!HostConfig::ReadFile(path, &entries, m)) return false;
            for (const HostConfig::Entry& e : entries)
                if (e.key == a.Text("key")) return CompareText(e.key + " =", e.value, a.Text("value"), m);
            *m = "no entry " + Quote(a.Text("key")) + " in " + a.Text("file");
            return false;
        },
        "the decoded entry of a configuration or marker file in the user folder");
    L.Add("expect config-absent <file:text> <key:text>", true,
          [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
              std::string path;
              if (!r.UserPath(a.Text("file"), &path, m)) return false;
              std::vector<HostConfig::Entry> entries;
              if (!HostConfig::ReadFile(path, &entries, m)) return false;
              for (const HostConfig::Entry& e : entries)
                  if (e.key == a.Text("key")) {
                      *m = e.key + " = " + Quote(e.value);
                      return false;
                  }
              return true;
          });
    L.Add("expect file <name:text> <state:exists|absent>", true,
          [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
              std::string path;
              if (!r.UserPath(a.Text("name"), &path, m)) return false;
              const bool exists = FileExists(path);
              *m = a.Text("name") + (exists ? " exists" : " is absent");
              return exists == (a.Text("state") == "exists");
          });
    L.Add("expect file-text <name:text> <text:text>", true, [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
        std::string path, bytes;
        if (!r.UserPath(a.Text("name"), &path, m)) return false;
        if (!ReadWholeFile(path, &bytes)) {
            *m = "cannot read " + a.Text("name");
            return false;
        }
        return CompareText(a.Text("name") + " holds", bytes, a.Text("text"), m);
    });
    L.Add(
        "expect log <text:text> [<count:int>]", true,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            int64_t n = 0;
            for (const std::string& line : r.Host().ModuleReports())
                if (line.find(a.Text("text")) != std::string::npos) ++n;
            if (!a.Has("count")) {
                *m = std::to_string(n) + " module report line(s) with " + Quote(a.Text("text"));
                return n > 0;
            }
            return Compare("module report lines with " + Quote(a.Text("text")) + ":", n, a.Int("count"), m);
        },
        "the module wrote a report line holding <text> (exactly <count> times)");
    L.Add(
        "expect alert <text:text>", true,
        [](ScriptRunner&, const ScriptArgs& a, std::string* m) {
            for (const DGDriver::LogRecord& rec : DGDriver::Log()) {
                if (rec.kind != "alert") continue;
                bool hit = rec.title.find(a.Text("text")) != std::string::npos;
                for (const std::string& t : rec.texts) hit = hit || t.find(a.Text("text")) != std::string::npos;
                if (hit) {
                    *m = "alert " + Quote(rec.title) + " shown";
                    return true;
                }
            }
            *m = "no alert shown holds " + Quote(a.Text("text"));
            return false;
        },
        "an alert was shown whose title or text holds <text>");
    L.Add("expect alerts <count:int>", true, [](ScriptRunner&, const ScriptArgs& a, std::string* m) {
        int64_t n = 0;
        for (const DGDriver::LogRecord& rec : DGDriver::Log()) n += rec.kind == "alert" ? 1 : 0;
        return Compare("alerts shown:", n, a.Int("count"), m);
    });
    L.Add(
        "expect dialog <dialog:int> shown [<result:int>]", true,
        [](ScriptRunner&, const ScriptArgs& a, std::string* m) {
            for (const DGDriver::LogRecord& rec : DGDriver::Log()) {
                if ((rec.kind != "modal" && rec.kind != "modeless") || rec.id != a.Int("dialog")) continue;
                if (a.Has("result") && rec.result != a.Int("result")) continue;
                *m = "dialog " + std::to_string(rec.id) + " closed with item " + std::to_string(rec.result);
                return true;
            }
            *m = "dialog " + std::to_string(a.Int("dialog")) + " was not shown" +
                (a.Has("result") ? " (closed with that item)" : "");
            return false;
        },
        "a dialog was shown (and closed with item <result>)");
    L.Add("expect dialogs <count:int>", true, [](ScriptRunner&, const ScriptArgs& a, std::string* m) {
        int64_t n = 0;
        for (const DGDriver::LogRecord& rec : DGDriver::Log())
            n += (rec.kind == "modal" || rec.kind == "modeless") ? 1 : 0;
        return Compare("dialogs shown:", n, a.Int("count"), m);
    });
    L.Add(
        "expect module-data <name:text> <text:text>", true,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            const auto& data = r.Host().Project().moduleData;
            const auto it = data.find(a.Text("name"));
            if (it == data.end()) {
                *m = "no module data " + Quote(a.Text("name"));
                return false;
            }
            const std::string& b = it->second.bytes;
            return CompareText("module data", b.substr(0, b.find('\0')), a.Text("text"), m);
        },
        "the project's module data entry (text up to its first NUL)");
    L.Add("expect module-data-absent <name:text>", true, [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
        const bool has = r.Host().Project().moduleData.count(a.Text("name")) != 0;
        *m = has ? "module data present" : "";
        return !has;
    });
    L.Add(
        "expect refused <text:text>", true,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            for (const std::string& s : r.Host().RefusedSelectors())
                if (s.find(a.Text("text")) != std::string::npos) {
                    *m = "refused " + s;
                    return true;
                }
            *m = "no refused selector call holds " + Quote(a.Text("text"));
            return false;
        },
        "the host refused an unknown selector call");
    L.Add(
        "expect host-error <text:text>", true,
        [](ScriptRunner& r, const ScriptArgs& a, std::string* m) {
            const std::vector<std::string>& errors = r.Host().Errors();
            std::vector<bool>& ack = r.AcknowledgedHostErrors();
            ack.resize(errors.size(), false);
            for (size_t i = r.FirstHostError(); i < errors.size(); ++i)
                if (!ack[i] && errors[i].find(a.Text("text")) != std::string::npos) {
                    ack[i] = true;
                    *m = "host error: " + errors[i];
                    return true;
                }
            *m = "no host error holds " + Quote(a.Text("text"));
            return false;
        },
        "the host reported this error (it then does not fail the run)");
}
}  // namespace

const ScriptLanguage& StandardScriptLanguage() {
    static const ScriptLanguage language = [] {
        ScriptLanguage L;
        AddActions(L);
        AddChecks(L);
        AddLibraryCommands(L);
        AddProjectCommands(L);
        AddInteractionCommands(L);
        return L;
    }();
    return language;
}
