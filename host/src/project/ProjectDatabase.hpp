#pragma once
// The stand-in host's project database: elements keyed by GUID with their records, memos and user data,
// attributes, stories, databases and windows, the selection, the toolbox and tool defaults, undoable commands
// and solid links, each family in its own part (project/Project*.hpp) over the shared state and rules of
// ProjectCore. It knows nothing of the module: the host functions of the project (project/*Calls.cpp) forward to
// it, and scripts and tests use it directly. Handles it hands out belong to the receiver.
#include "project/ProjectAttributes.hpp"
#include "project/ProjectElements.hpp"
#include "project/ProjectLinks.hpp"
#include "project/ProjectMemos.hpp"
#include "project/ProjectSelection.hpp"
#include "project/ProjectStories.hpp"
#include "project/ProjectToolbox.hpp"
#include "project/ProjectUndo.hpp"
#include "project/ProjectWindows.hpp"

#include <nlohmann/json_fwd.hpp>

#include <functional>
#include <string>
#include <vector>

class ProjectDatabase : public ProjectElements,
                        public ProjectMemos,
                        public ProjectSelection,
                        public ProjectAttributes,
                        public ProjectStories,
                        public ProjectWindows,
                        public ProjectToolbox,
                        public ProjectUndo,
                        public ProjectLinks {
public:
    // --- host side: the user, scripts and tests
    // Places an element as the user does: one undo step of its own. `name` ("" none) finds it later.
    GSErrCode PlaceElement(API_Element* element, const StoredMemo& memo, const std::string& name,
                           const std::string& undoText);
    // Default record of a type on the current story and layer `layer`, with a polygon of `points` (a ring is
    // closed when its last point differs from its first, for closed kinds), and the matching memo.
    GSErrCode PlacePolygonElement(API_ElemTypeID typeID, const std::vector<API_Coord3D>& points, bool closed,
                                  int32_t layer, const std::string& name, API_Guid* guid);
    GSErrCode PlaceHotspot(const API_Coord& pos, int32_t layer, const std::string& name, API_Guid* guid);
    GSErrCode PlaceLine(const API_Coord& begC, const API_Coord& endC, int32_t layer, const std::string& name,
                        API_Guid* guid);
    // A mesh through the points (x, y and height above the mesh's level 0): the points on their convex hull (also
    // those along its sides) are its outline, the others its level points; its skirt reaches 1.0 below the lowest.
    GSErrCode PlaceMeshFromPoints(const std::vector<API_Coord3D>& points, int32_t layer, const std::string& name,
                                  API_Guid* guid);
    // Adds a level line (a polyline of heights above the mesh's level) to a mesh (host side: the user's edit).
    GSErrCode AddMeshLevelLine(const API_Guid& mesh, const std::vector<API_Coord3D>& line);
    // Gives an element 3D bodies in the project's coordinates (host side: what its library part's script would
    // build); they are kept relative to the element's placement and move with it.
    GSErrCode GiveBodies(const API_Guid& guid, const std::vector<StoredBody>& bodies);
    int32_t userLayer = 1;  // the layer the user places elements on

    // The project as readable JSON (ProjectJson.cpp); without its elements when `elements` is false.
    nlohmann::ordered_json ToJson(bool elements = true) const;
    // One element as ToJson writes it ("elements" in creation order: AllElements()).
    nlohmann::ordered_json ElementJson(const API_Guid& guid) const;
    std::string DumpJson(int indent = 2) const;

private:
    // The tool's default record of a type on `layer`, placed where `place` puts it.
    GSErrCode PlaceDefault(API_ElemTypeID typeID, int32_t layer, const std::string& name, API_Guid* guid,
                           const std::function<void(API_Element&)>& place);
};
