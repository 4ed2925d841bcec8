#include "HugePageHeap.hpp"

#include <cstdlib>
#include <string>
#include <unistd.h>

void RunWithHugePageHeap(char** argv) {
    constexpr const char* kName = "glibc.malloc.hugetlb";
    constexpr const char* kAsked = "LODRAVIX_HUGE_PAGE_HEAP";  // set before the restart: never a second one
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    std::string value = tunables != nullptr ? tunables : "";
    if (value.find(kName) != std::string::npos || std::getenv(kAsked) != nullptr || argv == nullptr) return;
    value += std::string(value.empty() ? "" : ":") + kName + "=1";
    if (setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0 || setenv(kAsked, "1", 1) != 0) return;
    execv("/proc/self/exe", argv);
    // Not started again: the heap stays on the pages it has.
    if (tunables != nullptr)
        setenv("GLIBC_TUNABLES", tunables, 1);
    else
        unsetenv("GLIBC_TUNABLES");
}
