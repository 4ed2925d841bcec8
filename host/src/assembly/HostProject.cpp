#include "assembly/HostProject.hpp"

#include "library/LibraryParams.hpp"

HostProject::HostProject() {
    LibraryStore& store = libraries;
    database.libPartExists = [&store](int32_t libInd) { return store.Part(libInd) != nullptr; };
    database.libPartDefaults = [&store](int32_t libInd, std::vector<StoredParam>* params) {
        GSHandle h = store.MakeParamHandle(libInd);
        if (h == nullptr) return false;
        *params = ReadParamHandle(reinterpret_cast<API_AddParType**>(h));
        DisposeParamHandle(&h);
        return true;
    };
    database.libPartName = [&store](int32_t libInd) {
        const LibPartDef* part = store.Part(libInd);
        return part != nullptr ? part->name : std::string();
    };
    ModelStore& model = models;
    database.modelBounds = [&model](const API_Guid& guid, API_Box3D* box) { return model.Bounds(guid, box); };
}
