#pragma once
// A run from a saved state: the process forks, and the child carries on from where the parent stands (the whole
// project, the module's globals, the dialog queue) while the parent waits for the text the child hands back. Each
// run of an action with a failure starts from the same state without replaying the script up to it.
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace Sweep {

// How a child ended: what it handed back, and how it left.
struct ChildEnd {
    std::string text;
    bool handedBack = false;  // ended through EndChild
    std::string fault;        // a crash or an exit without a word, "" none
};

namespace detail {
inline int& ChildPipe() {
    static int fd = -1;
    return fd;
}
}  // namespace detail

inline bool InChild() { return detail::ChildPipe() >= 0; }

// Forks: in the child (0) the run carries on and must end with EndChild; in the parent the child's id, whose end
// WaitChild reads. -1 when the process cannot fork.
inline pid_t ForkChild(int* readEnd) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid < 0) {
        close(fds[0]);
        close(fds[1]);
        return -1;
    }
    if (pid == 0) {
        close(fds[0]);
        detail::ChildPipe() = fds[1];
        return 0;
    }
    close(fds[1]);
    *readEnd = fds[0];
    return pid;
}

// The child hands `text` back and leaves, without running what the parent's exit would run. Under the leak
// checker, memory the run lost is reported first and makes the hand-back a fault.
[[noreturn]] inline void EndChild(const std::string& text) {
    std::string out = text;
#if defined(__SANITIZE_ADDRESS__)
    if (__lsan_do_recoverable_leak_check() != 0) out = "LEAK\n" + out;
#endif
    out = "OK\n" + out;
    const int fd = detail::ChildPipe();
    for (size_t done = 0; done < out.size();) {
        const ssize_t n = write(fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += size_t(n);
    }
    close(fd);
    std::cerr.flush();
    std::fflush(nullptr);
    _exit(0);
}

inline ChildEnd WaitChild(pid_t pid, int readEnd) {
    ChildEnd end;
    std::string text;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = read(readEnd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, size_t(n));
    }
    close(readEnd);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (text.rfind("OK\n", 0) == 0) {
        end.handedBack = true;
        text.erase(0, 3);
        if (text.rfind("LEAK\n", 0) == 0) {
            end.fault = "the run lost memory (the leak checker's report is above)";
            text.erase(0, 5);
        }
        end.text = text;
    } else if (WIFSIGNALED(status)) {
        end.fault = "the run crashed with signal " + std::to_string(WTERMSIG(status));
    } else {
        end.fault = "the run ended without handing back its result (exit status " +
            std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
    }
    return end;
}

// The files of a folder, kept so that every run starting from the same state finds them as they were.
class FolderSnapshot {
public:
    explicit FolderSnapshot(const std::string& folder) : folder_(folder) {
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            if (it->is_regular_file(ec)) {
                std::ifstream in(it->path(), std::ios::binary);
                std::ostringstream bytes;
                bytes << in.rdbuf();
                files_[it->path().string()] = bytes.str();
            }
    }
    void Restore() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(folder_, ec))
            std::filesystem::remove_all(entry.path(), ec);
        for (const auto& [path, bytes] : files_) {
            std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << bytes;
        }
    }

private:
    std::string folder_;
    std::map<std::string, std::string> files_;
};

}  // namespace Sweep
