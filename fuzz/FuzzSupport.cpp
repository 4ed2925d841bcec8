#include "FuzzSupport.hpp"

#include "StandinHost.hpp"
#include "foundation/ACAPI.hpp"

#include "DGDriver.hpp"
#include "IODriver.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace Fuzz {

const std::string& UserFolder() {
    static const std::string folder = [] {
        // Memory, not disk: a fuzzer writes its input a million times.
        std::string tmpl = access("/dev/shm", W_OK) == 0 ? "/dev/shm/lodravix-fuzz-XXXXXX" : "/tmp/lodravix-fuzz-XXXXXX";
        const char* dir = mkdtemp(&tmpl[0]);
        const std::string path = dir ? dir : "/tmp";
        setenv("LODRAVIX_USER_FOLDER", path.c_str(), 1);
        IODriver::SetUserFolder(path);
        // Gone with the process (a crash leaves it for a person to look at).
        static const std::string* removed = new std::string(path);  // outlives the statics at exit
        if (dir) std::atexit([] { std::error_code ec; std::filesystem::remove_all(*removed, ec); });
        return path;
    }();
    return folder;
}

std::string WriteInput(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = UserFolder() + "/" + name;
    std::remove(path.c_str());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}

std::string WriteInput(const std::string& name, const std::string& bytes) {
    return WriteInput(name, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

StandinHost& Host() {
    static std::unique_ptr<StandinHost> host = [] {
        static std::ostringstream log;
        HostSettings settings;
        settings.userFolder = UserFolder();
        auto h = std::make_unique<StandinHost>(settings, &log);
        h->UseInProcess({GetExportedFuncAddrs, SetImportedFuncAddrs});
        if (!h->Attach()) Fail(__FILE__, __LINE__, "the in-process host does not attach");
        return h;
    }();
    return *host;
}

void BeginInput() {
    UserFolder();
    DGDriver::ClearQueueAndLog();
}

void Fail(const char* file, int line, const std::string& what) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what.c_str());
    std::fflush(stderr);
    std::abort();
}

}  // namespace Fuzz
