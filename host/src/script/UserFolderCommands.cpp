// Script commands of the files in the user folder: configuration entries in their own encoding, plain files,
// and their checks.
#include "script/ScriptCommands.hpp"

#include "config/HostConfigFile.hpp"
#include "config/PrefsMirrorFile.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

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
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return out && out.write(bytes.data(), std::streamsize(bytes.size()));
}

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}
}  // namespace

void AddUserFolderCommands(ScriptLanguage& L) {
    L.Add(
        "config <file:text> <key:text> <value:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::string path;
            if (!r.UserPath(a.Text("file"), &path, m)) return false;
            return HostConfig::SetEntry(path, a.Text("key"), a.Text("value"), m);
        },
        "set an entry of a configuration file in the user folder (the file's own encoding)");
    L.Add(
        "file write <name:text> <text:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::string path;
            if (!r.UserPath(a.Text("name"), &path, m)) return false;
            if (WriteWholeFile(path, a.Text("text"))) return true;
            *m = "cannot write " + path;
            return false;
        },
        "write a file in the user folder with the text as it is (UTF-8)");
    L.Add(
        "file write-encoded <name:text> <text:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
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
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::string path;
            if (!r.UserPath(a.Text("name"), &path, m)) return false;
            if (unlink(path.c_str()) == 0 || errno == ENOENT) return true;
            *m = "cannot delete " + path;
            return false;
        },
        "delete a file of the user folder");
    L.Add(
        "expect config <file:text> <key:text> <value:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
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
    L.Add(
        "expect config-absent <file:text> <key:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
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
        },
        "the configuration file in the user folder has no entry <key>");
    L.Add(
        "expect file <name:text> <state:exists|absent>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::string path;
            if (!r.UserPath(a.Text("name"), &path, m)) return false;
            const bool exists = FileExists(path);
            *m = a.Text("name") + (exists ? " exists" : " is absent");
            return exists == (a.Text("state") == "exists");
        },
        "whether the file exists in the user folder");
    L.Add(
        "expect file-text <name:text> <text:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::string path, bytes;
            if (!r.UserPath(a.Text("name"), &path, m)) return false;
            if (!ReadWholeFile(path, &bytes)) {
                *m = "cannot read " + a.Text("name");
                return false;
            }
            return CompareLines(a.Text("name"), bytes, a.Text("text"), m);
        },
        "the file in the user folder holds exactly <text>");
    L.Add(
        "expect prefs <name:text> <value:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::string path;
            if (!r.UserPath("Lodravix_20.prf", &path, m)) return false;
            std::map<std::string, std::string> entries;
            if (!PrefsMirror::ReadScalars(path, &entries, m)) return false;
            const auto it = entries.find(a.Text("name"));
            if (it == entries.end()) {
                *m = "no entry " + Quote(a.Text("name")) + " in the preferences mirror file";
                return false;
            }
            // Numbers compare as numbers: the file holds reals where the user thinks of whole numbers.
            char* endA = nullptr;
            char* endB = nullptr;
            const double stored = std::strtod(it->second.c_str(), &endA);
            const double wanted = std::strtod(a.Text("value").c_str(), &endB);
            if (!it->second.empty() && *endA == '\0' && !a.Text("value").empty() && *endB == '\0') {
                *m = a.Text("name") + " = " + it->second;
                return std::fabs(stored - wanted) <= 1e-9 * std::fmax(1.0, std::fabs(wanted));
            }
            return CompareText(a.Text("name") + " =", it->second, a.Text("value"), m);
        },
        "a scalar entry of the preferences mirror file the module saved in the user folder");
}
