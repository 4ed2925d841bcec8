// The module as the host installs it for a run: the library parts the module generates beside its own file
// (a new GIS object of the shapefile import) go into the run's copy of the shipped library, so the same script
// runs the same way twice and the library beside the built module is never written.
#include "DGDriver.hpp"
#include "StandinHost.hpp"
#include "TestSupport.hpp"
#include "foundation/ACAPI.hpp"
#include "module/ModuleInstall.hpp"
#include "script/ScriptRunner.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace run_library_test {

namespace fs = std::filesystem;

// Every file of a folder tree with its size and time of change.
std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> Snapshot(const std::string& folder) {
    std::map<std::string, std::pair<uintmax_t, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path().string()] = {entry.file_size(), entry.last_write_time()};
    return files;
}

// The shapefile import as GIS objects with a new object made from the table: written without naming the
// module's file, as a new user writes it.
std::string NewGISObjectScript() {
    return "load\n"
           "menu 32501 1\n"
           "dialog 32400 click 2\n"
           "dialog 32530 click 5\n"
           "file-dialog \"" +
        TestSupport::DataDir() +
        "/shp/nc.shp\"\n"
        "dialog 32571 click 1\n"
        "dialog 32533 click 8\n"
        "dialog 32533 click 1\n"
        "dialog 32534 set 3 NC_RUN\n"
        "dialog 32534 click 1\n"
        "dialog 32401 click 3\n"
        "expect elements 108 object\n"
        "expect alerts 0\n"
        "expect file \"Add-Ons/library/NC_RUN.lpd\" exists\n"
        "release\n";
}

// One run as standin-host makes it: a fresh user folder with the module installed in it.
bool RunFresh(const std::string& text, std::string* output) {
    std::error_code ec;
    fs::remove_all(TestSupport::UserFolder(), ec);
    fs::create_directories(TestSupport::UserFolder(), ec);
    HostSettings settings;
    settings.moduleDir = TestSupport::BinDir();
    settings.moduleFile = TestSupport::BinDir() + "/liblodravix.so";
    settings.userFolder = TestSupport::UserFolder();
    settings.embeddedLibrary = true;
    std::string why;
    if (!InstallModuleForRun(&settings, &why)) {
        *output = why;
        return false;
    }
    std::ostringstream out;
    bool passed = false;
    {
        StandinHost host(settings, &out);
        host.UseInProcess({GetExportedFuncAddrs, SetImportedFuncAddrs});
        ScriptRunner runner(host, out);
        passed = runner.RunText(text, "run");
    }
    DGDriver::ClearQueueAndLog();
    *output = out.str();
    return passed;
}

TEST(RunLibrary, AGeneratedPartStaysInTheRunAndTheSameScriptRunsTwice) {
    const std::string shipped = TestSupport::BinDir() + "/library";
    const auto before = Snapshot(shipped);
    ASSERT_FALSE(before.empty());
    std::string first, second;
    EXPECT_TRUE(RunFresh(NewGISObjectScript(), &first)) << first;
    EXPECT_TRUE(RunFresh(NewGISObjectScript(), &second)) << second;
    EXPECT_EQ(first, second);
    EXPECT_EQ(Snapshot(shipped), before);
}

// The run's add-on folder: the module's file and resources where they were built, the library a copy that a
// kept user folder keeps with the parts generated in it; the shipped library refuses new parts.
TEST(RunLibrary, TheInstallCopiesTheLibraryAndGuardsTheShippedOne) {
    std::string output;
    ASSERT_TRUE(RunFresh("expect libraries 0\n", &output)) << output;
    const fs::path folder = fs::path(TestSupport::UserFolder()) / RunAddOnFolderName;
    for (const auto& [file, info] : Snapshot(TestSupport::BinDir() + "/library"))
        EXPECT_TRUE(fs::exists(folder / "library" / fs::path(file).filename())) << file;
    EXPECT_TRUE(fs::exists(folder / "resources" / "DLOG"));
    std::ofstream(folder / "library" / "KEPT.lpd") << "generated";
    HostSettings settings;
    settings.moduleDir = TestSupport::BinDir();
    settings.moduleFile = TestSupport::BinDir() + "/liblodravix.so";
    settings.userFolder = TestSupport::UserFolder();
    std::string why;
    ASSERT_TRUE(InstallModuleForRun(&settings, &why)) << why;
    EXPECT_TRUE(fs::exists(folder / "library" / "KEPT.lpd"));
    EXPECT_EQ(fs::path(settings.moduleFile), folder / "liblodravix.so");
    StandinHost host(settings);
    EXPECT_TRUE(host.Project().libraries.IsReadOnly(TestSupport::BinDir() + "/library"));
    EXPECT_FALSE(host.Project().libraries.IsReadOnly(settings.moduleDir + "/library"));
}

}  // namespace run_library_test
