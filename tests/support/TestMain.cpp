// Every test process gets its own temporary user folder, so parallel runs never share configuration files.
// Before each test the dialog queue, the dialog log and the file failure switches are emptied, so one test's
// leftovers never reach the next.
#include "TestSupport.hpp"

#include "DGDriver.hpp"
#include "IODriver.hpp"
#include "ResourceDriver.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

namespace {
std::string g_userFolder;

class UserFolderEnvironment : public ::testing::Environment {
public:
    void TearDown() override {
        IODriver::SetUserFolder(std::string());
        std::error_code ec;
        if (!g_userFolder.empty()) std::filesystem::remove_all(g_userFolder, ec);
    }
};

class DriverReset : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override {
        DGDriver::ClearQueueAndLog();
        IODriver::ClearFailures();
    }
    void OnTestEnd(const ::testing::TestInfo& info) override {
        // Shown to help reading a failure; tests that drive dialogs check these themselves.
        if (!DGDriver::UnusedActions().empty() || !DGDriver::Errors().empty())
            std::cerr << "[" << info.test_suite_name() << "." << info.name()
                      << "] dialog driver: " << DGDriver::Errors().size() << " error(s), "
                      << DGDriver::UnusedActions().size() << " unused action(s)\n";
    }
};
}  // namespace

namespace TestSupport {
const std::string& UserFolder() { return g_userFolder; }
std::string BinDir() { return LODRAVIX_BIN_DIR; }
std::string DataDir() { return LODRAVIX_TEST_DATA_DIR; }
std::string OutputDir() {
    const char* dir = std::getenv("LODRAVIX_TEST_OUTPUT_DIR");
    return dir && *dir ? dir : LODRAVIX_TEST_OUTPUT_DIR;
}

GSResModule ModuleResources() {
    static const GSResModule module = ResourceDriver::OpenResourceFolder(BinDir() + "/resources");
    return module;
}

GSResModule TestResources() {
    static const GSResModule module = ResourceDriver::OpenResourceFolder(DataDir() + "/resources");
    return module;
}
}  // namespace TestSupport

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    char tmpl[] = "/tmp/lodravix-user-XXXXXX";
    if (char* dir = mkdtemp(tmpl)) g_userFolder = dir;
    setenv("LODRAVIX_USER_FOLDER", g_userFolder.c_str(), 1);
    IODriver::SetUserFolder(g_userFolder);
    ::testing::AddGlobalTestEnvironment(new UserFolderEnvironment);
    ::testing::UnitTest::GetInstance()->listeners().Append(new DriverReset);
    return RUN_ALL_TESTS();
}
