#pragma once
// Windows and their databases: the floor plan, the 3D model and the databases of markers; the front window and
// the current database; rebuilds and the bounds of an element.
#include "project/ProjectCore.hpp"

#include <vector>

class ProjectWindows : public virtual ProjectCore {
public:
    void GetFrontWindow(API_WindowInfo* info) const;
    GSErrCode ChangeWindow(const API_WindowInfo& info);
    void GetCurrentDatabase(API_DatabaseInfo* info) const;
    GSErrCode ChangeDatabase(const API_DatabaseInfo& info);
    GSErrCode Rebuild(bool regenerate);
    // Independent worksheets: each its own database, listed in creation order, found by identity, made with a
    // name and a reference id (outside an undoable command, as the host allows), renamed in place.
    std::vector<API_Guid> WorksheetDatabases() const;
    GSErrCode GetDatabaseInfo(API_DatabaseInfo* info) const;
    GSErrCode NewWorksheet(API_DatabaseInfo* info);
    GSErrCode ModifyWorksheet(const API_DatabaseInfo& info);
    // 'CABO': the element's box in absolute coordinates (story level added), from its own record and memo:
    // polygon coordinates (a mesh's heights above its level, a slab from level - thickness to level), an
    // object's placement and A x B size, line ends, hotspots, arc and circle extents; z 0 above the story where
    // the record has no height.
    GSErrCode CalcBounds(const API_Guid& guid, API_Box3D* box) const;
    int32_t FrontWindowType() const { return frontWindow_.typeID; }
    const API_Guid& CurrentDatabaseId() const { return currentDatabase_; }
    int RebuildCount() const { return rebuilds_; }
};
