#pragma once
// Driver side of the Windows stand-in: what ShellExecuteA was asked to open. Host and tests only.
#include <cstdint>
#include <string>
#include <vector>

namespace Win32Driver {

struct ShellExecuteCall {
    bool hasWindow = false;
    std::string operation;  // empty when the caller passed null
    std::string file;
    std::string parameters;
    std::string directory;
    int32_t showCommand = 0;
};

// Every ShellExecuteA call since the start or the last Clear, oldest first.
std::vector<ShellExecuteCall> ShellExecuteCalls();
void ClearShellExecuteCalls();

// The value ShellExecuteA answers (default 42; values of 32 and below mean failure to the caller).
void SetShellExecuteResult(intptr_t result);

}  // namespace Win32Driver
