#pragma once
// What every fuzz target shares: a private user folder (in memory where the system has one), the input written
// to a file there for the readers that only read files, a check that stops the run with a message, and the
// dialog manager's log emptied between inputs so a long run does not grow it.
#include <cstddef>
#include <cstdint>
#include <string>

class StandinHost;

namespace Fuzz {

// This process's user folder, made on first use; also host special folder 14 and $LODRAVIX_USER_FOLDER.
const std::string& UserFolder();
// Writes `size` bytes as the file `name` in the user folder (always a fresh file) and answers its path.
std::string WriteInput(const std::string& name, const uint8_t* data, size_t size);
std::string WriteInput(const std::string& name, const std::string& bytes);
std::string ReadFile(const std::string& path);
// The stand-in host attached in-process (the module's host calls answered), made on first use.
StandinHost& Host();
// Called at the start of every input: the dialog log and queues emptied.
void BeginInput();

// A broken property: prints it and aborts, which the fuzzer and the replay both report as a finding.
[[noreturn]] void Fail(const char* file, int line, const std::string& what);

}  // namespace Fuzz

#define FUZZ_CHECK(cond, what)                                       \
    do {                                                             \
        if (!(cond)) ::Fuzz::Fail(__FILE__, __LINE__, std::string(#cond) + ": " + (what)); \
    } while (0)

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
