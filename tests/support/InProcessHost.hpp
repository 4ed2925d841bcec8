#pragma once
// A stand-in host running the module's code linked into the test (no dlopen), over this process's user folder.
#include "DGDriver.hpp"
#include "StandinHost.hpp"
#include "TestSupport.hpp"
#include "script/ScriptRunner.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ObservedElements.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

class InProcessHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        // One process may run several tests: start each from an empty user folder.
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(TestSupport::UserFolder(), ec))
            std::filesystem::remove_all(entry.path(), ec);
        HostSettings settings;
        settings.moduleDir = TestSupport::BinDir();
        settings.userFolder = TestSupport::UserFolder();
        host = std::make_unique<StandinHost>(settings, &log);
        host->UseInProcess({GetExportedFuncAddrs, SetImportedFuncAddrs});
        // A new host numbers its elements from the start again: the module linked into this process must not take
        // an element of this project for one it observed in the last test's.
        ObservedElements::Forget();
    }
    void TearDown() override { host.reset(); }

    // The host started afresh, as for a new test (an empty user folder, no dialog answered yet), what the module
    // generates kept out of the shipped library: a failing line leaves nothing behind for the next run.
    void StartAfresh() {
        TearDown();
        DGDriver::Reset();
        SetUp();
        host->Settings().embeddedLibrary = true;
    }
    // `script` run as the example `name` by a host started afresh: what the runner printed; `passed` whether every
    // line and check passed.
    std::string RunAfresh(const std::string& script, const std::string& name, bool* passed = nullptr) {
        StartAfresh();
        std::ostringstream out;
        ScriptRunner runner(*host, out);
        const bool ok = runner.RunText(script, name);
        if (passed != nullptr) *passed = ok;
        return out.str();
    }

    std::string UserFile(const std::string& name) const { return TestSupport::UserFolder() + "/" + name; }
    bool Exists(const std::string& name) const { return std::filesystem::exists(UserFile(name)); }
    void Touch(const std::string& name) const { std::ofstream(UserFile(name)) << "x"; }
    int CountReports(const std::string& text) const {
        int n = 0;
        for (const std::string& line : host->ModuleReports()) n += line == text ? 1 : 0;
        return n;
    }

    std::ostringstream log;
    std::unique_ptr<StandinHost> host;
};
