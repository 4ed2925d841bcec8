// standin-host: plays the host for the Lodravix module and replays a script of user actions.
//
//   standin-host --module <liblodravix.so> --script <file> [--temp-user-folder | --user-folder <dir>]
//                [--quiet | --verbose] [--seed <n>]
#include "HugePageHeap.hpp"
#include "StandinHost.hpp"
#include "module/ModuleInstall.hpp"
#include "script/DialogReference.hpp"
#include "script/ImportResultsNote.hpp"
#include "script/ModuleGuide.hpp"
#include "script/ScriptRunner.hpp"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {
void PrintUsage(std::ostream& out) {
    out << "usage: standin-host --module <path to liblodravix.so> --script <file>"
           " [--temp-user-folder | --user-folder <dir>] [--quiet | --verbose] [--seed <n>]\n"
        << "       standin-host --help                     (this text)\n"
        << "       standin-host --help-script              (the script commands, and what each palette button takes)\n"
        << "       standin-host --help-dialogs [language]  (the menu, the palette's sub-palettes, every dialog and\n"
        << "                                                palette with its items' numbers; language: INT ITA FRA\n"
        << "                                                GER SPA JAP RUS, the module's own, or NOR AUT, the "
           "host's)\n"
        << "  --module <file>       the add-on module to load (its resources/ folder lies beside it)\n"
        << "  --script <file>       the script of user actions and expect checks to replay\n"
        << "  --temp-user-folder    a fresh temporary user folder, removed afterwards (also the default)\n"
        << "  --user-folder <dir>   use and keep <dir> as the user folder\n"
        << "  --quiet               print only the script lines, alerts, failures and what actions report\n"
        << "  --verbose             print every element event and every lookup of the module too\n"
        << "  --seed <n>            seeds the host's generators (group and library part ids, the runtime's rand);\n"
        << "                        the same script with the same seed makes the same project (default "
        << DefaultRunSeed << ")\n"
        << "The exit status is 0 only when every script line held and nothing reported an error.\n"
        << "A script asks the project without checking anything, and never fails the run, with\n"
        << "  print height <terrain> <x> <y>      the terrain's height there (after its earthworks)\n"
        << "  print param <object> <parameter>    a placed object's parameter (a number, a text, an array's rows)\n"
        << "  print volumes [<terrain>] [<contour-line object>]\n"
        << "                                      the cut and fill of each feature and of all earthworks together\n"
        << "(`standin-host --help-script` lists every command).\n";
}

void PrintScriptHelp(const std::string& resources, std::ostream& out) {
    out << "Script commands (one a line; # starts a comment; texts with blanks in double quotes). Lines that start\n"
        << "with `expect` are checks: a check that fails is counted and the script goes on (the run fails); an action\n"
        << "that fails stops the script. `queue:` lines answer what the module asks for later. `print` lines print\n"
        << "what a user would ask (a height, a parameter, the volumes) and never fail the run:\n"
        << StandardScriptLanguage().Usage()
        << "\nNumbers: <...:int> is a whole number (decimal or 0x hexadecimal); <...:number> a decimal number;\n"
        << "<...:point> is x,y or x,y,z and <...:points> such points separated by blanks, in one quoted text.\n"
        << "Names: <...:new-element> names the element the line makes (place, copy, name, mesh-points, legacy ...);\n"
        << "<...:element> takes a name an earlier line gave (or an element had before the script), and in an\n"
        << "<...:element-text> each {X} stands for the GUID text of element X.\n"
        << StandardScriptLanguage().WordsUsage() << "(or the type's number). A misspelt name refuses the script "
        << "before its first line runs.\n"
        << "Coordinates and lengths in commands are metres; a value set into a length edit of a dialog is in\n"
        << "the host's length unit (`units`, metres unless changed).\n"
        << "Dialogs, palettes and their items are named by number: `standin-host --help-dialogs [language]` lists\n"
        << "every dialog and palette of the module with its number, title and items (number, kind, label,\n"
        << "limits). The numbers of some palettes follow the host's language (`language <code>` before `load`):\n"
        << "the input palette is 32401, 32407 with NOR (SOSI import) and 32575 with AUT (ASC grid import).\n\n";
    std::string why;
    if (!WritePaletteActions(resources, out, &why)) out << "(no palette actions: " << why << ")\n";
}

int Usage(const char* why) {
    std::cerr << "standin-host: " << why << "\n";
    PrintUsage(std::cerr);
    return 2;
}

// resources/ beside this program, where the build puts it beside the module.
std::string ResourcesBesideProgram() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("resources") : (self.parent_path() / "resources").string();
}
}  // namespace

int main(int argc, char** argv) {
    RunWithHugePageHeap(argv);
    std::string modulePath, scriptPath, userFolder;
    bool tempUserFolder = false;
    LogLevel logLevel = LogLevel::Normal;
    bool helpDialogs = false, helpScript = false;
    std::string helpLanguage;
    uint64_t seed = DefaultRunSeed;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--module" && i + 1 < argc) {
            modulePath = argv[++i];
        } else if (arg == "--script" && i + 1 < argc) {
            scriptPath = argv[++i];
        } else if (arg == "--user-folder" && i + 1 < argc) {
            userFolder = argv[++i];
        } else if (arg == "--seed" && i + 1 < argc) {
            char* end = nullptr;
            const char* text = argv[++i];
            errno = 0;
            seed = std::strtoull(text, &end, 0);
            if (*text == '\0' || *text == '-' || *end != '\0' || errno == ERANGE)
                return Usage((std::string("--seed takes a whole number from 0 to 2^64-1, not ") + text).c_str());
        } else if (arg == "--temp-user-folder") {
            tempUserFolder = true;
        } else if (arg == "--help") {
            PrintUsage(std::cout);
            return 0;
        } else if (arg == "--help-script") {
            helpScript = true;
        } else if (arg == "--help-dialogs") {
            // An optional language code follows (not an option).
            helpDialogs = true;
            if (i + 1 < argc && argv[i + 1][0] != '-') helpLanguage = argv[++i];
        } else if (arg == "--quiet") {
            logLevel = LogLevel::Quiet;
        } else if (arg == "--verbose") {
            logLevel = LogLevel::Verbose;
        } else {
            return Usage(("unknown or incomplete argument " + arg).c_str());
        }
    }
    if (helpDialogs || helpScript) {
        // The resources beside the module given, else beside this program.
        std::error_code ec;
        const std::string resources = modulePath.empty()
            ? ResourcesBesideProgram()
            : (std::filesystem::absolute(modulePath, ec).parent_path() / "resources").string();
        if (helpScript) {
            PrintScriptHelp(resources, std::cout);
            return 0;
        }
        std::string why;
        if (!WriteDialogReference(resources, helpLanguage, std::cout, &why)) return Usage(why.c_str());
        return 0;
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
        // One folder whatever the form given: `@user`, the host's special folder and the log name it absolute.
        userFolder = std::filesystem::absolute(userFolder, ec).lexically_normal().string();
        if (userFolder.size() > 1 && userFolder.back() == '/') userFolder.pop_back();
    }

    std::error_code ec;
    const std::filesystem::path module = std::filesystem::absolute(modulePath, ec);
    HostSettings settings;
    settings.moduleDir = module.parent_path().string();
    settings.moduleFile = module.string();
    settings.userFolder = userFolder;
    settings.embeddedLibrary = true;
    settings.seed = seed;
    std::string why;
    if (!InstallModuleForRun(&settings, &why)) {
        if (removeUserFolder) std::filesystem::remove_all(userFolder, ec);
        return Usage(why.c_str());
    }

    std::cout << "standin-host: module " << module.string() << "\n"
              << "standin-host: user folder " << userFolder << "\n"
              << "standin-host: the module installed for this run in " << settings.moduleDir
              << " (the library parts it generates go into its library/ there)\n";
    bool passed = false;
    {
        StandinHost host(settings, &std::cout);
        host.SetLogLevel(logLevel);
        host.SetDialogNote(ModuleDialogNote);
        host.UseSharedLibrary(module.string());
        ScriptRunner runner(host, std::cout);
        passed = runner.RunFile(scriptPath);
    }
    if (!passed) std::cout << "standin-host: the run's seed was " << seed << " (--seed " << seed << " repeats it)\n";
    if (removeUserFolder) std::filesystem::remove_all(userFolder, ec);
    return passed ? 0 : 1;
}
