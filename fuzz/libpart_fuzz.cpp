// Library descriptions on any text: parsed, or refused with "line <n>: ..." naming a line of it; a parsed part
// written back reads back, and written again is the same text (read-write-read is a fixed point).
#include "FuzzSupport.hpp"

#include "library/LibraryDescription.hpp"

#include <algorithm>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Fuzz::BeginInput();
    const std::string text(reinterpret_cast<const char*>(data), size);
    LibPartDef part;
    std::string error;
    if (!ParseLibraryPart(text, &part, &error)) {
        FUZZ_CHECK(!error.empty(), "a refused description says why");
        if (error.compare(0, 5, "line ") == 0) {
            const size_t n = std::strtoul(error.c_str() + 5, nullptr, 10);
            const size_t lines = size_t(std::count(text.begin(), text.end(), '\n')) + 1;
            FUZZ_CHECK(n >= 1 && n <= lines, "the error names a line of the text: " + error);
        }
        return 0;
    }
    const std::string written = DescribeLibraryPart(part);
    LibPartDef again;
    std::string againError;
    FUZZ_CHECK(ParseLibraryPart(written, &again, &againError), "what was written reads back: " + againError);
    FUZZ_CHECK(DescribeLibraryPart(again) == written, "read-write-read is a fixed point");
    return 0;
}
