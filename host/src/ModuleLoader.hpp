#pragma once
// How the host reaches the module's two exports: from a shared library (dlopen) or, in the tests, from the
// module's code linked into the test program.
#include "APIDefs.hpp"
#include "APIHostTable.hpp"

#include <memory>
#include <string>

struct ModuleExports {
    API_GetExportedFuncAddrsProc* getExportedFuncAddrs = nullptr;
    API_SetImportedFuncAddrsProc* setImportedFuncAddrs = nullptr;
};

class ModuleLoader {
public:
    virtual ~ModuleLoader() = default;
    // Loads the module and finds its exports; false with a readable error.
    virtual bool Load(ModuleExports* exports, std::string* error) = 0;
    // Unloads it; false with a readable error when it is still mapped afterwards.
    virtual bool Unload(std::string* error) = 0;
    virtual bool IsLoaded() const = 0;
    // What the log calls it.
    virtual std::string Describe() const = 0;
};

// dlopen of liblodravix.so. Unload is dlclose followed by dlopen with RTLD_NOLOAD, which must find nothing.
std::unique_ptr<ModuleLoader> MakeSharedLibraryLoader(const std::string& path);
// The module's code linked into this program: loading hands out the given exports, unloading changes nothing
// (its static state survives).
std::unique_ptr<ModuleLoader> MakeInProcessLoader(const ModuleExports& exports);
