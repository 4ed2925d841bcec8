#pragma once
#include <string>

namespace TestSupport {
// The temporary user folder of this test process (never the real home folder).
const std::string& UserFolder();
// Folder holding the built module, hostlibs, resources/ and library/.
std::string BinDir();
// tests/data of the source tree.
std::string DataDir();
}
