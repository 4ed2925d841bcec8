#pragma once
// One terrain mesh in the stand-in host run in-process, for the benchmarks that time the module on a host's mesh.
#include "../tests/support/TerrainMeshes.hpp"
#include "StandinHost.hpp"

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

// `Input` brings the mesh's `ring` and `levels`, and whatever else the benchmark samples.
template <class Input>
struct HostWithMesh {
    std::ostringstream log;
    std::unique_ptr<StandinHost> host;
    API_Element mesh = {};
    Input input;

    // Starts the host with its user folder `folder` under the temporary directory and places the mesh.
    bool Start(const char* folder, std::string* why) {
        HostSettings settings;
        settings.moduleDir = LODRAVIX_BIN_DIR;
        settings.userFolder = (std::filesystem::temp_directory_path() / folder).string();
        std::filesystem::create_directories(settings.userFolder);
        host = std::make_unique<StandinHost>(settings, &log);
        host->UseInProcess({GetExportedFuncAddrs, SetImportedFuncAddrs});
        if (!host->Attach()) return *why = "the host did not start", false;
        const GSErrCode err = ACAPI_CallUndoableCommand(
            GS::UniString("mesh"), [&] { return TerrainMeshes::PlaceMesh(input.ring, input.levels, {}, &mesh); });
        if (err != NoError) return *why = "the mesh was refused", false;
        // The first look at the model builds the surface; what is timed then reuses it.
        API_ElemInfo3D info;
        ACAPI_Element_Get3DInfo(mesh.header, &info);
        return true;
    }
};
