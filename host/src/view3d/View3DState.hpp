#pragma once
// What the host's 3D view shows, its projection, the library new objects are saved into, and the saves asked of
// it. Part of the open project, beside its database and libraries.
#include "APIDefs.hpp"
#include "APIView3D.hpp"

#include <cstdint>
#include <string>
#include <vector>

struct View3DState {
    View3DState();

    // "SS3D" shows the elements selected then; "SA3D" (and a new project) shows every element.
    bool showsSelection = false;
    std::vector<API_Guid> shownSelection;

    API_3DProjectionInfo projection;                   // starts as a perspective view
    std::vector<API_3DProjectionInfo> projectionSets;  // every projection "CP3D" set, in order

    // The index 'GLIB' answers with the project's libraries: new objects are saved into that library folder
    // (0-based among the loaded folders; -1, or an index past them, answers -1).
    int32_t saveLibrary = 0;
    // Every 'SAVE' asked for, as the path text the module gave ("/" separated), saved or not.
    std::vector<std::string> saves;
};
