// The fuzz target as a plain regression test: every file of the folders given (the seed corpus and the
// reproducers) goes once through LLVMFuzzerTestOneInput. A broken property aborts, naming the file before it.
#include "FuzzSupport.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (fs::is_regular_file(argv[i], ec)) {
            files.push_back(argv[i]);
            continue;
        }
        for (const auto& e : fs::recursive_directory_iterator(argv[i], ec))
            if (e.is_regular_file() && e.path().filename().string()[0] != '.' && e.path().filename() != "README")
                files.push_back(e.path().string());
    }
    std::sort(files.begin(), files.end());  // the same order on every run
    for (const std::string& f : files) {
        std::fprintf(stderr, "replay %s\n", f.c_str());
        const std::string bytes = Fuzz::ReadFile(f);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu passed, 0 failed\n", files.size());
    return files.empty() ? 1 : 0;
}
