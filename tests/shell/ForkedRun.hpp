#pragma once
// A run from a saved state: the process forks, and the child carries on from where the parent stands (the whole
// project, the module's globals, the dialog queue) while the parent waits for the text the child hands back. Each
// run of an action with a failure starts from the same state without replaying the script up to it.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
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
#include <set>
#include <sstream>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace Sweep {

// How a child ended: what it handed back, and how it left.
struct ChildEnd {
    std::string text;
    bool handedBack = false;  // ended through EndChild
    std::string fault;        // a crash, an exit without a word or memory lost, "" none
    std::string note;         // the leak checker could not look, "" none
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
        // A run forked from a run hands back to the one it was forked from.
        if (detail::ChildPipe() >= 0) close(detail::ChildPipe());
        detail::ChildPipe() = fds[1];
        return 0;
    }
    close(fds[1]);
    *readEnd = fds[0];
    return pid;
}

// The regular files this process holds open beyond the standard three, each with its status flags. A child forked
// while they are open shares their read positions with its parent.
inline std::vector<std::pair<int, int>> OpenFiles() {
    std::vector<std::pair<int, int>> out;
    DIR* dir = opendir("/proc/self/fd");
    if (dir == nullptr) return out;
    while (const dirent* entry = readdir(dir)) {
        const int fd = std::atoi(entry->d_name);
        struct stat st;
        if (fd <= 2 || fd == dirfd(dir) || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) continue;
        out.push_back({fd, fcntl(fd, F_GETFL)});
    }
    closedir(dir);
    return out;
}

// The files open for writing, each by its descriptor and file.
inline std::set<std::pair<int, std::pair<dev_t, ino_t>>> FilesBeingWritten() {
    std::set<std::pair<int, std::pair<dev_t, ino_t>>> out;
    for (const auto& [fd, flags] : OpenFiles()) {
        struct stat st;
        if ((flags & O_ACCMODE) != O_RDONLY && fstat(fd, &st) == 0) out.insert({fd, {st.st_dev, st.st_ino}});
    }
    return out;
}

// In a child: each file open for reading gets a position of its own, where the parent's stood, so that what the
// child reads moves no read of the parent's. False when a file cannot be opened again.
inline bool OwnReadPositions() {
    for (const auto& [fd, flags] : OpenFiles()) {
        if ((flags & O_ACCMODE) != O_RDONLY) continue;  // a file written stays shared, as a log appended to
        const off_t at = lseek(fd, 0, SEEK_CUR);
        const int descriptorFlags = fcntl(fd, F_GETFD);
        const int own = open(("/proc/self/fd/" + std::to_string(fd)).c_str(), flags & ~(O_CREAT | O_TRUNC | O_EXCL));
        if (own < 0 || at < 0 || lseek(own, at, SEEK_SET) != at || dup2(own, fd) < 0) {
            if (own >= 0) close(own);
            return false;
        }
        close(own);
        fcntl(fd, F_SETFD, descriptorFlags);
    }
    return true;
}

namespace detail {
inline void WriteAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += size_t(n);
    }
}
}  // namespace detail

// The child hands `text` back and leaves, without running what the parent's exit would run. Under the leak
// checker, the memory the run lost is looked for after the hand-back, and its verdict follows on a line of its own:
// a checker that dies on the way (it stops the process's threads, which can fail) costs the run no verdict.
// `lookForLeaks` false: a run whose leaks the parent's own exit would show as well.
[[noreturn]] inline void EndChild(const std::string& text, bool lookForLeaks = true) {
    const int fd = detail::ChildPipe();
    detail::WriteAll(fd, "OK " + std::to_string(text.size()) + "\n" + text);
#if defined(__SANITIZE_ADDRESS__)
    detail::WriteAll(fd, lookForLeaks && __lsan_do_recoverable_leak_check() != 0 ? "LEAK" : "NOLEAK");
#else
    (void)lookForLeaks;
    detail::WriteAll(fd, "NOLEAK");
#endif
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
    const size_t newline = text.find('\n');
    size_t size = 0;
    if (text.rfind("OK ", 0) == 0 && newline != std::string::npos && std::sscanf(text.c_str() + 3, "%zu", &size) == 1 &&
        newline + 1 + size <= text.size()) {
        end.handedBack = true;
        end.text = text.substr(newline + 1, size);
        const std::string leaks = text.substr(newline + 1 + size);
        if (leaks == "LEAK")
            end.fault = "the run lost memory (the leak checker's report is above)";
        else if (leaks != "NOLEAK")
            end.note = "the leak checker could not look at this run";
    } else if (WIFSIGNALED(status)) {
        end.fault = "the run crashed with signal " + std::to_string(WTERMSIG(status));
    } else {
        end.fault = "the run ended without handing back its result (exit status " +
            std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
    }
    return end;
}

// The files, links and folders of a folder, kept so that every run starting from the same state finds them as they
// were. A run changes few of them: only what differs is written again (a file made anew costs the file system far
// more than reading it, and the module's library alone is tens of files).
class FolderSnapshot {
public:
    explicit FolderSnapshot(const std::string& folder) : folder_(folder) {
        std::error_code ec;
        for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            const std::string path = it->path().string();
            if (it->is_symlink(ec))
                links_[path] = std::filesystem::read_symlink(it->path(), ec);  // the module's install
            else if (it->is_directory(ec))
                folders_.insert(path);
            else if (it->is_regular_file(ec))
                files_[path] = Bytes(path);
        }
    }
    void Restore() const {
        namespace fs = std::filesystem;
        std::error_code ec;
        std::set<std::string> present;
        std::vector<fs::path> gone;
        for (auto it = fs::recursive_directory_iterator(folder_, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            const std::string path = it->path().string();
            if (it->is_symlink(ec)) {
                const auto link = links_.find(path);
                if (link != links_.end() && fs::read_symlink(it->path(), ec) == link->second)
                    present.insert(path);
                else
                    gone.push_back(it->path());
            } else if (it->is_directory(ec)) {
                if (folders_.count(path) != 0) {
                    present.insert(path);
                } else {
                    it.disable_recursion_pending();
                    gone.push_back(it->path());
                }
            } else if (const auto file = files_.find(path); file != files_.end() && it->is_regular_file(ec)) {
                if (Bytes(path) == file->second) present.insert(path);  // else written again in place below
            } else {
                gone.push_back(it->path());
            }
        }
        for (const fs::path& path : gone) fs::remove_all(path, ec);
        for (const std::string& folder : folders_)
            if (present.count(folder) == 0) fs::create_directories(folder, ec);
        for (const auto& [path, bytes] : files_) {
            if (present.count(path) != 0) continue;
            fs::create_directories(fs::path(path).parent_path(), ec);
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << bytes;
        }
        for (const auto& [path, target] : links_) {
            if (present.count(path) != 0) continue;
            fs::create_directories(fs::path(path).parent_path(), ec);
            if (fs::is_directory(target, ec))
                fs::create_directory_symlink(target, path, ec);
            else
                fs::create_symlink(target, path, ec);
        }
    }

private:
    static std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    std::string folder_;
    std::set<std::string> folders_;
    std::map<std::string, std::string> files_;
    std::map<std::string, std::filesystem::path> links_;
};

}  // namespace Sweep
