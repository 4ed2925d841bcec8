#include "view3d/View3DCalls.hpp"

#include "library/LibraryStore.hpp"
#include "view3d/View3DState.hpp"
#include "project/ProjectCalls.hpp"
#include "view3d/ViewObject.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
inline constexpr char kEnvironmentFamily[] = "Environment";

// The element types the 3D model has bodies of (walls to meshes).
bool Has3DBody(API_ElemTypeID typeID) { return typeID >= API_WallID && typeID <= API_MeshID; }

GSErrCode GetLibraries(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kEnvironmentFamily, call, sizeof(GS::Array<API_LibraryInfo>), sizeof(int32_t)))
        return APIERR_BADPARS;
    auto* list = static_cast<GS::Array<API_LibraryInfo>*>(call->par1);
    list->Clear();
    int32_t active = host.View3D().saveLibrary;
    std::vector<std::string> folders = host.Libraries().Folders();
    const std::string& user = host.Settings().userFolder;
    if (host.Settings().embeddedLibrary && !user.empty()) {
        const std::string embedded = user + "/Embedded Library";
        host.Libraries().SetEmbeddedFolder(embedded);
        auto at = std::find(folders.begin(), folders.end(), embedded);
        if (at == folders.end()) at = folders.insert(folders.end(), embedded);
        active = int32_t(at - folders.begin());
    }
    for (const std::string& folder : folders) {
        API_LibraryInfo info;
        info.location = IO::Location(folder.c_str());
        const size_t slash = folder.find_last_of('/');
        info.name = GS::UniString(folder.substr(slash == std::string::npos ? 0 : slash + 1));
        list->Push(info);
    }
    *static_cast<int32_t*>(call->par2) = active >= 0 && size_t(active) < folders.size() ? active : -1;
    return NoError;
}

GSErrCode GetProjection(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kEnvironmentFamily, call, sizeof(API_3DProjectionInfo), 0)) return APIERR_BADPARS;
    *static_cast<API_3DProjectionInfo*>(call->par1) = host.View3D().projection;
    return NoError;
}

GSErrCode SetProjection(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kEnvironmentFamily, call, sizeof(API_3DProjectionInfo), 0)) return APIERR_BADPARS;
    const auto& p = *static_cast<const API_3DProjectionInfo*>(call->par1);
    bool finite = std::isfinite(p.azimuth) && std::isfinite(p.sunAzimuth) && std::isfinite(p.sunAltitude);
    for (int i = 0; i < 12; ++i) finite = finite && std::isfinite(p.transform[i]) && std::isfinite(p.inverse[i]);
    if (p.isPersp > 1 || p.projMode < API3DProj_Perspective || p.projMode > API3DProj_Axonometric || !finite) {
        host.Log("  host: \"CP3D\" refused: not a projection");
        return APIERR_BADPARS;
    }
    View3DState& view = host.View3D();
    view.projection = p;
    view.projectionSets.push_back(p);
    return NoError;
}

GSErrCode Show(HostCalls& host, bool selection) {
    ProjectDatabase& db = host.Database();
    const std::vector<API_Guid> selected = db.Selection();
    if (selection && selected.empty()) return APIERR_NOSEL;
    API_WindowInfo window = {};
    window.typeID = APIWind_3DModelID;
    const GSErrCode err = db.ChangeWindow(window);
    if (err != NoError) return err;
    View3DState& view = host.View3D();
    view.showsSelection = selection;
    view.shownSelection = selection ? selected : std::vector<API_Guid>();
    return NoError;
}
GSErrCode ShowSelection(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kAutomateFamily, call, 0, 0)) return APIERR_BADPARS;
    return Show(host, true);
}
GSErrCode ShowAll(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kAutomateFamily, call, 0, 0)) return APIERR_BADPARS;
    return Show(host, false);
}

GSErrCode Save(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kAutomateFamily, call, sizeof(API_FileSavePars), sizeof(API_SavePars_Object)))
        return APIERR_BADPARS;
    const auto& file = *static_cast<const API_FileSavePars*>(call->par1);
    const auto& options = *static_cast<const API_SavePars_Object*>(call->par2);
    if (file.file == nullptr || file.file->IsEmpty()) return APIERR_BADPARS;
    const std::string path = file.file->ToNativePath();
    View3DState& view = host.View3D();
    view.saves.push_back(path);
    if (file.fileTypeID != APIFType_GDLObject || options.format != APIObjectSave_ModelScript) {
        host.Log("  host: 'SAVE' refused: only GDL objects (type 17) in format 3 are saved");
        return APIERR_BADPARS;
    }
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
    const std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    LibraryStore& store = host.Libraries();
    bool inLibrary = false;
    for (const std::string& f : store.Folders()) inLibrary = inLibrary || f == folder;
    inLibrary = inLibrary || store.TakeEmbeddedFolder(folder);
    if (!inLibrary) {
        host.Log("  host: 'SAVE' to " + path + " refused: " + folder + " is not a library folder of the project");
        return APIERR_REFUSED;
    }
    if (store.PartBeingCreated() != nullptr) {
        host.Log("  host: 'SAVE' refused: a library part is being created");
        return APIERR_REFUSED;
    }

    ProjectDatabase& db = host.Database();
    std::vector<API_Guid> shown;
    if (view.showsSelection) {
        shown = view.shownSelection;
    } else {
        shown = db.Model().elements.InDatabases({ProjectCore::FloorPlanDatabase()}, API_ZombieElemID);
    }
    std::vector<API_Guid> bodies;
    for (const API_Guid& g : shown) {
        const StoredElement* e = db.Find(g);
        if (e != nullptr && Has3DBody(e->record.header.typeID)) bodies.push_back(g);
    }
    LibPartDef part;
    std::string why;
    if (!MakeViewObject(db, bodies, view.projection, fileName, &part, &why)) {
        host.Log("  host: 'SAVE' to " + path + " refused: " + why);
        return APIERR_GENERAL;
    }

    // Saving a file replaces the file of that name: overwriting is on for this part alone.
    const bool overwrite = store.Overwrite();
    store.SetOverwrite(true);
    int32_t index = 0;
    GSErrCode err = store.BeginPart(part, folder, &index, &why);
    store.SetOverwrite(overwrite);
    if (err == NoError) {
        LibPartDef* created = store.PartBeingCreated();
        created->params = part.params;
        created->sections = part.sections;
        err = store.SavePart(&index, &why);
    }
    if (err != NoError) {
        host.Log("  host: 'SAVE' to " + path + " failed: " + why);
        return err;
    }
    host.Log("  host: the 3D view saved as library part " + part.name + " (" + std::to_string(bodies.size()) +
             " element(s)) in " + folder);
    return NoError;
}
}  // namespace

void InstallView3DCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Environment, APIEnv_GetLibrariesID.code,
                    ProjectSelector<kUnloggedFamily, GetLibraries>);
    set.AddSelector(SelectorFamily::Environment, APIEnv_Get3DProjectionSetsID.code,
                    ProjectSelector<kUnloggedFamily, GetProjection>);
    set.AddSelector(SelectorFamily::Environment, APIEnv_Change3DProjectionSetsID.code,
                    ProjectSelector<kUnloggedFamily, SetProjection>);
    set.AddSelector(SelectorFamily::Automate, APIDo_ShowSelectionIn3DID.code,
                    ProjectSelector<kAutomateFamily, ShowSelection>);
    set.AddSelector(SelectorFamily::Automate, APIDo_ShowAllIn3DID.code, ProjectSelector<kAutomateFamily, ShowAll>);
    set.AddSelector(SelectorFamily::Automate, APIDo_SaveID.code, ProjectSelector<kAutomateFamily, Save>);
}
