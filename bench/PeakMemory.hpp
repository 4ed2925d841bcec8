#pragma once
// The peak resident memory one run of a read adds, for the reader benchmarks' closing tables.
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

// A line "<key>: <n> kB" of /proc/self/status, in KiB.
inline double StatusKiB(const char* key) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) return -1;
    char line[256];
    double value = -1;
    const size_t n = std::strlen(key);
    while (std::fgets(line, sizeof line, f) != nullptr)
        if (std::strncmp(line, key, n) == 0) value = std::atof(line + n + 1);
    std::fclose(f);
    return value;
}

// Peak resident memory a read adds, in MiB, from a child process that runs it once after resetting its peak.
inline double PeakMiB(const std::function<size_t()>& readOnce) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        // Memory the parent freed goes back first, so the read's own pages count.
        malloc_trim(0);
        if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        const double before = StatusKiB("VmRSS:");
        readOnce();
        const double mib = (StatusKiB("VmHWM:") - before) / 1024.0;
        if (write(fds[1], &mib, sizeof mib) != sizeof mib) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    double mib = -1;
    if (child < 0 || ::read(fds[0], &mib, sizeof mib) != ssize_t(sizeof mib)) mib = -1;
    close(fds[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return mib;
}

// Runs `work` in a child process with its peak reset; the plain record of figures it fills comes back through a
// pipe (all zero when the child failed).
template <class Figures, class Work>
Figures InChildProcess(const Work& work) {
    int fds[2];
    Figures out{};
    if (pipe(fds) != 0) return out;
    const pid_t child = fork();
    if (child == 0) {
        Figures f{};
        malloc_trim(0);
        if (FILE* file = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", file);
            std::fclose(file);
        }
        work(&f);
        if (write(fds[1], &f, sizeof f) != ssize_t(sizeof f)) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    if (child < 0 || ::read(fds[0], &out, sizeof out) != ssize_t(sizeof out)) out = Figures{};
    close(fds[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return out;
}
