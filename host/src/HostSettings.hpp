#pragma once
// What the host is: survives restarts of the module.
#include "APIDefs.hpp"

#include <cstdint>
#include <string>

// The seed of a run's generators when none is given: the runtime's rand then starts as it does unseeded.
constexpr uint64_t DefaultRunSeed = 1;

struct HostSettings {
    std::string moduleDir;   // resources/ of the module lie here
    std::string moduleFile;  // the module's own file ('OWNL'); empty when the host cannot name it
    // The library shipped beside the built module when the host installed it for the run
    // (module/ModuleInstall.hpp): the project refuses to write library parts into it. "" none.
    std::string shippedLibrary;
    std::string userFolder;  // special folder 14
    int32_t environmentKind = APIAppl_Host;
    int32_t mainVersion = 25;
    int32_t releaseVersion = 0;
    int32_t buildNum = 3005;
    std::string language = "INT";  // the host's language code ('APPL')
    bool suitePresent = false;     // the suite add-on answers 'SUIT'
    // New objects go into the project's embedded library, "Embedded Library" in the user folder, unless a test
    // names another folder: a run never writes into the shipped library.
    bool embeddedLibrary = false;
    // Seeds the host's generators as the host starts (group GUIDs, library part ids, the runtime's rand), so the
    // same script gives the same project twice.
    uint64_t seed = DefaultRunSeed;
};
