#include "module/ModuleInstall.hpp"

#include <filesystem>

const char* const RunAddOnFolderName = "Add-Ons";

namespace {
namespace fs = std::filesystem;

// `link` points at `target`; one left by an earlier run is replaced.
bool Link(const fs::path& target, const fs::path& link, std::error_code& ec) {
    if (fs::is_symlink(fs::symlink_status(link, ec))) fs::remove(link, ec);
    if (fs::exists(fs::symlink_status(link, ec))) return false;  // a file of the user's: left as it is
    if (fs::is_directory(target, ec))
        fs::create_directory_symlink(target, link, ec);
    else
        fs::create_symlink(target, link, ec);
    return !ec;
}
}  // namespace

bool InstallModuleForRun(HostSettings* settings, std::string* why) {
    std::error_code ec;
    const fs::path built = fs::absolute(settings->moduleDir, ec);
    const fs::path folder = fs::absolute(fs::path(settings->userFolder) / RunAddOnFolderName, ec);
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec)) {
        *why = "cannot create the run's add-on folder " + folder.string();
        return false;
    }
    const fs::path shipped = built / "library";
    if (fs::is_directory(shipped, ec)) {
        const fs::path copy = folder / "library";
        fs::copy(shipped, copy, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
        if (ec) {
            *why = "cannot copy the library " + shipped.string() + " into " + copy.string() + ": " + ec.message();
            return false;
        }
    }
    if (fs::exists(built / "resources", ec) && !Link(built / "resources", folder / "resources", ec)) {
        *why = "cannot link the module's resources into " + folder.string();
        return false;
    }
    std::string file;
    if (!settings->moduleFile.empty()) {
        const fs::path module = fs::absolute(settings->moduleFile, ec);
        file = (folder / module.filename()).string();
        if (fs::exists(module, ec) && !Link(module, file, ec)) {
            *why = "cannot link the module file into " + folder.string();
            return false;
        }
    }
    settings->moduleDir = folder.string();
    settings->moduleFile = file;
    settings->shippedLibrary = shipped.string();
    return true;
}
