// standin-host: plays the host for the Lodravix module and replays a script of user actions.
//
//   standin-host --module <liblodravix.so> --script <file> [--temp-user-folder | --user-folder <dir>]
#include "StandinHost.hpp"
#include "script/ScriptRunner.hpp"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {
void PrintUsage(std::ostream& out) {
    out << "usage: standin-host --module <path to liblodravix.so> --script <file>"
           " [--temp-user-folder | --user-folder <dir>]\n"
        << "       standin-host --help          (this text)\n"
        << "       standin-host --help-script   (the script commands)\n"
        << "  --module <file>       the add-on module to load (its resources/ folder lies beside it)\n"
        << "  --script <file>       the script of user actions and expect checks to replay\n"
        << "  --temp-user-folder    a fresh temporary user folder, removed afterwards (also the default)\n"
        << "  --user-folder <dir>   use and keep <dir> as the user folder\n"
        << "The exit status is 0 only when every script line held and nothing reported an error.\n";
}

int Usage(const char* why) {
    std::cerr << "standin-host: " << why << "\n";
    PrintUsage(std::cerr);
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    std::string modulePath, scriptPath, userFolder;
    bool tempUserFolder = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--module" && i + 1 < argc) {
            modulePath = argv[++i];
        } else if (arg == "--script" && i + 1 < argc) {
            scriptPath = argv[++i];
        } else if (arg == "--user-folder" && i + 1 < argc) {
            userFolder = argv[++i];
        } else if (arg == "--temp-user-folder") {
            tempUserFolder = true;
        } else if (arg == "--help") {
            PrintUsage(std::cout);
            return 0;
        } else if (arg == "--help-script") {
            std::cout << "Script commands:\n" << StandardScriptLanguage().Usage();
            return 0;
        } else {
            return Usage(("unknown or incomplete argument " + arg).c_str());
        }
    }
    if (modulePath.empty() || scriptPath.empty()) return Usage("--module and --script are required");
    if (tempUserFolder && !userFolder.empty()) return Usage("--temp-user-folder and --user-folder exclude each other");

    // Never the real home folder: without --user-folder the run gets a fresh temporary one.
    bool removeUserFolder = false;
    if (userFolder.empty()) {
        char tmpl[] = "/tmp/standin-host-user-XXXXXX";
        if (mkdtemp(tmpl) == nullptr) return Usage("cannot create a temporary user folder");
        userFolder = tmpl;
        removeUserFolder = true;
    } else {
        std::error_code ec;
        std::filesystem::create_directories(userFolder, ec);
        if (!std::filesystem::is_directory(userFolder)) return Usage("the user folder cannot be created");
    }

    std::error_code ec;
    const std::filesystem::path module = std::filesystem::absolute(modulePath, ec);
    HostSettings settings;
    settings.moduleDir = module.parent_path().string();
    settings.moduleFile = module.string();
    settings.userFolder = userFolder;
    settings.embeddedLibrary = true;

    std::cout << "standin-host: module " << module.string() << "\n"
              << "standin-host: user folder " << userFolder << "\n";
    bool passed = false;
    {
        StandinHost host(settings, &std::cout);
        host.UseSharedLibrary(module.string());
        ScriptRunner runner(host, std::cout);
        passed = runner.RunFile(scriptPath);
    }
    if (removeUserFolder) std::filesystem::remove_all(userFolder, ec);
    return passed ? 0 : 1;
}
