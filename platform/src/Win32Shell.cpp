// ShellExecuteA of the stand-in: nothing is opened; the call is recorded for the driver side.
#include "Win32.hpp"
#include "Win32Driver.hpp"

#include <mutex>

namespace {

std::mutex g_mutex;
std::vector<Win32Driver::ShellExecuteCall> g_calls;
intptr_t g_result = 42;

std::string TextOrEmpty(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

}  // namespace

HINSTANCE ShellExecuteA(HWND window, const char* operation, const char* file, const char* parameters,
                        const char* directory, int32_t showCommand) {
    Win32Driver::ShellExecuteCall call;
    call.hasWindow = window != nullptr;
    call.operation = TextOrEmpty(operation);
    call.file = TextOrEmpty(file);
    call.parameters = TextOrEmpty(parameters);
    call.directory = TextOrEmpty(directory);
    call.showCommand = showCommand;
    std::lock_guard<std::mutex> lock(g_mutex);
    g_calls.push_back(std::move(call));
    return reinterpret_cast<HINSTANCE>(g_result);
}

namespace Win32Driver {

std::vector<ShellExecuteCall> ShellExecuteCalls() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_calls;
}

void ClearShellExecuteCalls() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_calls.clear();
}

void SetShellExecuteResult(intptr_t result) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_result = result;
}

}  // namespace Win32Driver
