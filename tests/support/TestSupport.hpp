#pragma once
#include "Resources.hpp"

#include <string>

namespace TestSupport {
// The temporary user folder of this test process (never the real home folder). It is also host special
// folder 14 (IODriver::SetUserFolder) and the environment variable LODRAVIX_USER_FOLDER.
const std::string& UserFolder();
// Folder holding the built module, the platform library, resources/ and library/.
std::string BinDir();
// tests/data of the source tree.
std::string DataDir();
// Where a failing test leaves files for a person to look at (pictures of its case): $LODRAVIX_TEST_OUTPUT_DIR, or
// test-output/ in the build folder. Kept after the run, unlike the user folder.
std::string OutputDir();
// The module's resources (BinDir()/resources), opened once per process.
GSResModule ModuleResources();
// The test fixtures of tests/data/resources, opened once per process.
GSResModule TestResources();
}  // namespace TestSupport
