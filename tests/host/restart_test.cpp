// The stand-in host with the real shared module: dlopen, release with dlclose (after which dlopen with
// RTLD_NOLOAD must find nothing) and a fresh load that starts from a fresh static state.
#include "StandinHost.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace restart_test {

std::string ModulePath() { return TestSupport::BinDir() + "/liblodravix.so"; }

TEST(Restart, ReleaseUnloadsTheModuleAndRestartLoadsItAgain) {
    HostSettings settings;
    settings.moduleDir = TestSupport::BinDir();
    settings.userFolder = TestSupport::UserFolder();
    std::ostringstream log;
    StandinHost host(settings, &log);
    host.UseSharedLibrary(ModulePath());
    ASSERT_TRUE(host.Load()) << log.str();
    ASSERT_TRUE(host.IsLoaded());
    void* mapped = dlopen(ModulePath().c_str(), RTLD_NOW | RTLD_NOLOAD);
    EXPECT_NE(mapped, nullptr);
    if (mapped != nullptr) dlclose(mapped);  // drop the reference the look-up took

    // The project survives; the registrations do not.
    host.Project().moduleData[""].bytes = "OFFSET DATA";
    ASSERT_TRUE(host.Release()) << log.str();
    EXPECT_EQ(dlopen(ModulePath().c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
    EXPECT_TRUE(host.Session().menus.empty());
    EXPECT_TRUE(host.Session().menuHandlers.empty());
    EXPECT_TRUE(host.Errors().empty()) << log.str();

    ASSERT_TRUE(host.Load()) << log.str();
    EXPECT_EQ(host.Session().menuHandlers.size(), 7u);
    EXPECT_EQ(host.Project().moduleData[""].bytes, "OFFSET DATA");
    ASSERT_TRUE(host.Restart()) << log.str();
    EXPECT_TRUE(host.IsLoaded());
    ASSERT_TRUE(host.Release());
    EXPECT_TRUE(host.Errors().empty()) << log.str();
}

TEST(Restart, AModuleThatStaysMappedIsAnError) {
    HostSettings settings;
    settings.moduleDir = TestSupport::BinDir();
    settings.userFolder = TestSupport::UserFolder();
    std::ostringstream log;
    StandinHost host(settings, &log);
    host.UseSharedLibrary(ModulePath());
    ASSERT_TRUE(host.Load()) << log.str();
    void* extra = dlopen(ModulePath().c_str(), RTLD_NOW);  // someone else holds it
    ASSERT_NE(extra, nullptr);
    EXPECT_FALSE(host.Release());
    ASSERT_FALSE(host.Errors().empty());
    EXPECT_NE(host.Errors().back().find("RTLD_NOLOAD"), std::string::npos);
    dlclose(extra);
}

TEST(Restart, MissingModuleFailsTheLoadClearly) {
    HostSettings settings;
    settings.moduleDir = TestSupport::BinDir();
    settings.userFolder = TestSupport::UserFolder();
    std::ostringstream log;
    StandinHost host(settings, &log);
    host.UseSharedLibrary(TestSupport::BinDir() + "/no-such-module.so");
    EXPECT_FALSE(host.Load());
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_NE(host.Errors()[0].find("dlopen failed"), std::string::npos);
}

TEST(ModuleExports, OnlyTheTwoExportsAreVisible) {
    const std::string command = "nm -D --defined-only '" + ModulePath() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buf[512];
    while (fgets(buf, sizeof buf, pipe) != nullptr) out += buf;
    ASSERT_EQ(pclose(pipe), 0) << out;
    std::istringstream lines(out);
    std::vector<std::string> names;
    std::string address, kind, name;
    while (lines >> address >> kind >> name) names.push_back(kind + " " + name);
    const std::vector<std::string> expected = {"T GetExportedFuncAddrs", "T SetImportedFuncAddrs"};
    EXPECT_EQ(names, expected) << out;
}

}  // namespace restart_test
