// Every test process gets its own temporary user folder, so parallel runs never share configuration files.
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {
std::string g_userFolder;

class UserFolderEnvironment : public ::testing::Environment {
public:
    void TearDown() override {
        std::error_code ec;
        if (!g_userFolder.empty()) std::filesystem::remove_all(g_userFolder, ec);
    }
};
}  // namespace

namespace TestSupport {
const std::string& UserFolder() { return g_userFolder; }
std::string BinDir() { return LODRAVIX_BIN_DIR; }
std::string DataDir() { return LODRAVIX_TEST_DATA_DIR; }
}  // namespace TestSupport

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    char tmpl[] = "/tmp/lodravix-user-XXXXXX";
    if (char* dir = mkdtemp(tmpl)) g_userFolder = dir;
    setenv("LODRAVIX_USER_FOLDER", g_userFolder.c_str(), 1);
    ::testing::AddGlobalTestEnvironment(new UserFolderEnvironment);
    return RUN_ALL_TESTS();
}
