#include "ModuleLoader.hpp"

#include <dlfcn.h>

namespace {
class SharedLibraryLoader : public ModuleLoader {
public:
    explicit SharedLibraryLoader(std::string path) : path_(std::move(path)) {}
    ~SharedLibraryLoader() override {
        if (handle_ != nullptr) dlclose(handle_);
    }

    bool Load(ModuleExports* exports, std::string* error) override {
        if (handle_ == nullptr) {
            handle_ = dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (handle_ == nullptr) {
                const char* why = dlerror();
                *error = std::string("dlopen failed: ") + (why != nullptr ? why : "unknown error");
                return false;
            }
        }
        dlerror();
        exports->getExportedFuncAddrs =
            reinterpret_cast<API_GetExportedFuncAddrsProc*>(dlsym(handle_, "GetExportedFuncAddrs"));
        exports->setImportedFuncAddrs =
            reinterpret_cast<API_SetImportedFuncAddrsProc*>(dlsym(handle_, "SetImportedFuncAddrs"));
        if (exports->getExportedFuncAddrs == nullptr || exports->setImportedFuncAddrs == nullptr) {
            *error = "the module lacks GetExportedFuncAddrs or SetImportedFuncAddrs";
            dlclose(handle_);
            handle_ = nullptr;
            return false;
        }
        return true;
    }

    bool Unload(std::string* error) override {
        if (handle_ == nullptr) return true;
        std::string problem;
        if (dlclose(handle_) != 0) {
            const char* why = dlerror();
            problem = std::string("dlclose failed: ") + (why != nullptr ? why : "unknown error");
        }
        handle_ = nullptr;
        // Nothing may keep the module mapped: a fresh load must start from a fresh static state.
        if (void* still = dlopen(path_.c_str(), RTLD_NOW | RTLD_NOLOAD)) {
            dlclose(still);
            *error = "the module is still loaded after dlclose (dlopen with RTLD_NOLOAD found it)";
            return false;
        }
        *error = problem;
        return problem.empty();
    }

    bool IsLoaded() const override { return handle_ != nullptr; }
    std::string Describe() const override { return path_; }

private:
    std::string path_;
    void* handle_ = nullptr;
};

class InProcessLoader : public ModuleLoader {
public:
    explicit InProcessLoader(const ModuleExports& exports) : exports_(exports) {}
    bool Load(ModuleExports* exports, std::string* error) override {
        if (exports_.getExportedFuncAddrs == nullptr || exports_.setImportedFuncAddrs == nullptr) {
            *error = "no exports given";
            return false;
        }
        *exports = exports_;
        loaded_ = true;
        return true;
    }
    bool Unload(std::string*) override {
        loaded_ = false;
        return true;
    }
    bool IsLoaded() const override { return loaded_; }
    std::string Describe() const override { return "in-process module"; }

private:
    ModuleExports exports_;
    bool loaded_ = false;
};
}  // namespace

std::unique_ptr<ModuleLoader> MakeSharedLibraryLoader(const std::string& path) {
    return std::make_unique<SharedLibraryLoader>(path);
}

std::unique_ptr<ModuleLoader> MakeInProcessLoader(const ModuleExports& exports) {
    return std::make_unique<InProcessLoader>(exports);
}
