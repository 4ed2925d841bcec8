#pragma once
// The stand-in host's project database: elements keyed by GUID with their records, memos and user data,
// attributes, stories, databases and windows, the selection, the toolbox and tool defaults, and undoable
// commands. It knows nothing of the module: the host function table (ProjectFunctions.cpp) forwards to it, and
// scripts and tests use it directly.
//
// The rules the module meets here:
// - Element changes (create, change, delete, user data, deleting a layer that holds elements) are refused outside
//   an undoable command (APIERR_NEEDSUNDOSCOPE). The changes made inside one command form one undo step; a failed
//   step inside it leaves the changes made before it (there is no rollback). Undo restores the project as it was
//   before the command (elements, attributes, stories, databases).
// - While the 3D model's database is current, element changes, memo reads and user-data reads and writes are
//   refused (APIERR_BADDATABASE); element reads and lists see the model (floor plan) elements.
// - Elements on a locked layer cannot be changed or deleted and none can be created there; elements on a hidden
//   layer cannot be selected.
// - Handles handed out (memos, user data, lists, stories, the marquee) belong to the receiver.
// - Attributes may change outside commands (the user's settings, a palette that makes its layer); an undo step
//   still restores the attributes as they were before its command.
#include "APIDefs.hpp"
#include "APIElements.hpp"

#include <nlohmann/json_fwd.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct GuidLess {
    bool operator()(const API_Guid& a, const API_Guid& b) const;
};

// "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"
std::string GuidText(const API_Guid& guid);
bool ParseGuidText(const std::string& text, API_Guid* guid);

// One library-part parameter as the host keeps it: the record (its array handle null) and the array cells' bytes.
struct StoredParam {
    API_AddParType record;
    std::string cells;
    bool IsArray() const { return record.dim1 != 0 && record.dim2 != 0; }
};

// The memo parts of one element; an absent part is a null handle in the host's memo record.
struct StoredMemo {
    std::optional<std::vector<API_Coord>> coords;
    std::optional<std::vector<int32_t>> pends;
    std::optional<std::vector<API_PolyArc>> parcs;
    std::optional<std::vector<uint32_t>> vertexIDs;
    std::optional<std::vector<uint32_t>> edgeIDs;
    std::optional<std::vector<uint32_t>> contourIDs;
    std::optional<std::vector<API_EdgeTrim>> edgeTrims;
    std::optional<std::vector<API_OverriddenAttribute>> sideMaterials;
    std::optional<std::vector<double>> meshPolyZ;
    std::optional<std::vector<API_MeshLevelCoord>> meshLevelCoords;
    std::optional<std::vector<int32_t>> meshLevelEnds;
    std::optional<std::vector<API_SplineDir>> bezierDirs;
    std::optional<std::vector<StoredParam>> params;
    std::optional<std::u16string> elemInfoString;
    std::optional<std::string> textContent;

    bool IsEmpty() const;
    // Copies the parts in `mask` from `source`; with onlyPresent, parts `source` lacks are left as they are,
    // otherwise they are removed.
    void Apply(const StoredMemo& source, uint64_t mask, bool onlyPresent);
};

// Host memo records <-> stored memos.
// Reads the parts in `mask` that the record holds (null members are absent).
StoredMemo ReadApiMemo(const API_ElementMemo& memo, uint64_t mask);
// Fills a zeroed memo record with new handles for the parts in `mask`; APIERR_MEMFULL (and nothing allocated)
// when an allocation fails.
GSErrCode WriteApiMemo(const StoredMemo& stored, uint64_t mask, API_ElementMemo* memo);
// Releases every handle of the memo (parameter array cells included) and zeroes it.
void DisposeApiMemo(API_ElementMemo* memo);
// A parameter list as the host hands it out: a new handle of records with new array-cell handles; null on failure.
API_AddParType** MakeParamHandle(const std::vector<StoredParam>& params);
// The parameters of a handle (array cells copied); a null handle gives an empty list.
std::vector<StoredParam> ReadParamHandle(API_AddParType** params);

struct StoredUserData {
    int16_t dataVersion = 0;
    uint16_t platformSign = 0;
    uint32_t flags = 0;
    std::string bytes;
};

struct StoredElement {
    API_Element record = {};
    StoredMemo memo;
    std::optional<StoredUserData> userData;
    API_Guid database = {};  // the database the element lives in
    uint64_t serial = 0;     // creation order
    std::string name;        // a name given by a script or test ("" none)
};

struct StoredAttribute {
    API_Attribute record = {};
    bool deleted = false;
};

struct StoredDatabase {
    API_DatabaseInfo info = {};
    API_Guid marker = {};  // the marker element that owns it (null for the floor plan and the 3D model)
};

// A solid link: the operator element changes the target element's body.
struct StoredSolidLink {
    API_Guid target = {};
    API_Guid operatorGuid = {};
    uint32_t operation = 0;  // 'SSUU', 'SSUD', 'SADD'
    uint32_t flags = 0;
    uint32_t time = 0;  // the host's link clock when it was made
    uint32_t subTime = 0;
};

// Everything an undo step restores.
struct ProjectModel {
    std::map<API_Guid, StoredElement, GuidLess> elements;
    std::map<API_AttrTypeID, std::vector<StoredAttribute>> attributes;  // index i + 1 at position i
    std::vector<API_StoryType> stories;                                 // by index, ascending
    std::vector<StoredDatabase> databases;                              // floor plan and 3D model first
    std::vector<StoredSolidLink> solidLinks;                            // in creation order
};

class ProjectDatabase {
public:
    ProjectDatabase();
    // A new, empty project: one story (0, level 0), layer 1, a few pens, line types, fills, materials and fonts,
    // the floor plan in front, no undo steps.
    void Reset();

    // The fixed identities of the floor plan's and the 3D model's databases.
    static API_Guid FloorPlanDatabase();
    static API_Guid ModelDatabase3D();

    // --- elements (the host functions' semantics) ---------------------------------------------------------------
    GSErrCode GetElement(API_Element* element) const;
    GSErrCode GetMemo(const API_Guid& guid, API_ElementMemo* memo, uint64_t mask) const;
    GSErrCode GetDefaults(API_Element* element, API_ElementMemo* memo) const;
    GSErrCode ChangeDefaults(const API_Element& element, const API_ElementMemo* memo, const API_Element* mask);
    GSErrCode CreateElement(API_Element* element, const API_ElementMemo* memo);
    GSErrCode ChangeElement(API_Element* element, const API_Element* mask, const API_ElementMemo* memo,
                            uint64_t memoMask);
    GSErrCode ChangeParameters(const API_Guid* guids, uint32_t count, const API_Element* defPars,
                               const API_ElementMemo* defMemo, const API_Element* mask);
    GSErrCode DeleteElements(const API_Guid* guids, uint32_t count);
    GSErrCode GetElemList(API_ElemTypeID typeID, std::vector<API_Guid>* guids) const;
    bool Filter(const API_Guid& guid, uint32_t filterBits) const;
    GSErrCode GetUserData(const API_Elem_Head& head, API_ElementUserData* userData) const;
    GSErrCode SetUserData(const API_Elem_Head& head, const API_ElementUserData& userData);
    GSErrCode DeleteUserData(const API_Elem_Head& head);

    // --- selection ------------------------------------------------------------------------------------------------
    GSErrCode Select(const API_Neig* neigs, int32_t count, bool add);
    void DeselectAll();
    // Fills info (with a new, empty marquee handle) and the records; an empty selection answers APIERR_NOSEL,
    // or NoError when emptySelectionIsError is cleared.
    GSErrCode GetSelection(API_SelectionInfo* info, std::vector<API_Neig>* neigs, bool onlyEditable) const;
    // The selected elements that still exist, in selection order.
    std::vector<API_Guid> Selection() const;
    bool emptySelectionIsError = true;

    // --- attributes -----------------------------------------------------------------------------------------------
    GSErrCode GetAttribute(API_Attribute* attribute) const;
    GSErrCode CreateAttribute(API_Attribute* attribute);
    GSErrCode ModifyAttribute(API_Attribute* attribute);
    GSErrCode DeleteAttribute(const API_Attr_Head& head);
    // Index of the live attribute named `name` (UTF-8, exact), 0 when none.
    int32_t FindAttribute(API_AttrTypeID typeID, const std::string& name) const;
    const API_Attribute* Attribute(API_AttrTypeID typeID, int32_t index) const;

    // --- stories --------------------------------------------------------------------------------------------------
    GSErrCode GetStories(API_StoryInfo* info) const;  // allocates info->data
    GSErrCode GoToStory(int16_t index);
    int16_t CurrentStory() const { return currentStory_; }
    // Adds the story or changes its level and name (host side: the user's story settings).
    void SetStory(int16_t index, double level, const std::string& name);
    bool RemoveStory(int16_t index);

    // --- windows and databases ------------------------------------------------------------------------------------
    void GetFrontWindow(API_WindowInfo* info) const;
    GSErrCode ChangeWindow(const API_WindowInfo& info);
    void GetCurrentDatabase(API_DatabaseInfo* info) const;
    GSErrCode ChangeDatabase(const API_DatabaseInfo& info);
    GSErrCode Rebuild(bool regenerate);
    // 'CABO': the element's box in absolute coordinates (story level added), from its own record and memo:
    // polygon coordinates (a mesh's heights above its level, a slab from level - thickness to level), an
    // object's placement and A x B size, line ends, hotspots, arc and circle extents; z 0 above the story where
    // the record has no height.
    GSErrCode CalcBounds(const API_Guid& guid, API_Box3D* box) const;
    int32_t FrontWindowType() const { return frontWindow_.typeID; }
    int32_t CurrentDatabaseType() const;
    const API_Guid& CurrentDatabaseId() const { return currentDatabase_; }
    int RebuildCount() const { return rebuilds_; }
    const StoredDatabase* Database(const API_Guid& id) const;

    // --- toolbox --------------------------------------------------------------------------------------------------
    GSErrCode GetToolBox(API_ToolBoxItem* item) const;
    GSErrCode SetToolBox(const API_ToolBoxItem& item);

    // --- undoable commands ----------------------------------------------------------------------------------------
    GSErrCode RunUndoableCommand(const std::string& undoText, const std::function<GSErrCode()>& body);
    bool InCommand() const { return inCommand_; }
    // Takes back the latest step; false when there is none (or a command is running).
    bool Undo();
    const std::vector<std::string>& UndoTexts() const { return undoTexts_; }

    // --- host side: the user, scripts and tests ------------------------------------------------------------------
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
    bool FindByName(const std::string& name, API_Guid* guid) const;
    int32_t userLayer = 1;  // the layer the user places elements on
    const StoredElement* Find(const API_Guid& guid) const;
    StoredElement* FindMutable(const API_Guid& guid);
    // Every element of every database in creation order.
    std::vector<API_Guid> AllElements() const;
    const ProjectModel& Model() const { return model_; }

    // Library parts (filled in by the library store): whether an index exists, its default parameters and name.
    std::function<bool(int32_t libInd)> libPartExists;
    std::function<bool(int32_t libInd, std::vector<StoredParam>* params)> libPartDefaults;
    std::function<std::string(int32_t libInd)> libPartName;

    // The project as readable JSON (see ProjectJson.cpp).
    nlohmann::ordered_json ToJson() const;
    std::string DumpJson(int indent = 2) const;

    // --- element changes as they happen (the host's element notifications are built on them) -----------------
    // Called after every element creation (before = after), change and deletion (after = before) that went
    // through the element functions above, also for the elements a deleted marker takes along.
    enum class ChangeKind { Created, Changed, Deleted };
    std::function<void(ChangeKind kind, const StoredElement& before, const StoredElement& after)> changeListener;

    // --- solid links (ProjectLinks.cpp) ---------------------------------------------------------------------------
    // Creating and removing are model changes (inside an undoable command, not in the 3D model's database).
    // Targets and operators are construction elements (walls, columns, beams, objects, lamps, slabs, roofs,
    // meshes); operations 'SSUU', 'SSUD' and 'SADD'. An element that is deleted loses its links.
    GSErrCode CreateSolidLink(const API_Guid& target, const API_Guid& operatorGuid, uint32_t operation, uint32_t flags);
    GSErrCode RemoveSolidLink(const API_Guid& target, const API_Guid& operatorGuid);
    // The operators of a target / the targets of an operator, in link order; APIERR_GENERAL when there are none.
    GSErrCode SolidLinkOperators(const API_Guid& target, std::vector<API_Guid>* operators) const;
    GSErrCode SolidLinkTargets(const API_Guid& operatorGuid, std::vector<API_Guid>* targets) const;
    // The link of the two, or null.
    const StoredSolidLink* FindSolidLink(const API_Guid& target, const API_Guid& operatorGuid) const;
    const std::vector<StoredSolidLink>& SolidLinks() const { return model_.solidLinks; }

    // Why the latest refused call was refused ("" after a success).
    const std::string& LastRefusal() const { return lastRefusal_; }
    void ClearRefusal() const { lastRefusal_.clear(); }

private:
    GSErrCode Refuse(GSErrCode err, const std::string& why) const;
    GSErrCode CheckModelChange() const;
    bool VisibleHere(const StoredElement& element) const;
    const StoredElement* FindHere(const API_Guid& guid) const;
    bool LayerUsable(int32_t layer, bool forChange) const;
    uint32_t LayerFlags(int32_t layer) const;
    GSErrCode CheckRecord(const API_Element& record, const StoredMemo& memo, bool forChange) const;
    API_Guid NewGuid();
    void Changed() { ++changes_; }
    void AfterModelRestored();
    void MakeDefaults();
    void AddAttribute(API_AttrTypeID typeID, const std::string& name, const std::function<void(API_Attribute&)>& fill);

    ProjectModel model_;
    std::vector<ProjectModel> undoSnapshots_;
    std::vector<std::string> undoTexts_;
    std::vector<API_Guid> selection_;
    std::map<std::pair<API_ElemTypeID, int32_t>, std::pair<API_Element, StoredMemo>> defaults_;
    API_ToolBoxItem toolbox_ = {};
    API_WindowInfo frontWindow_ = {};
    API_Guid currentDatabase_ = {};
    int16_t currentStory_ = 0;
    bool inCommand_ = false;
    uint64_t changes_ = 0;
    uint64_t nextSerial_ = 1;
    int rebuilds_ = 0;
    mutable std::string lastRefusal_;
    uint32_t linkClock_ = 0;  // the time of the latest solid link (never goes back, also not on undo)

    void NoteChange(ChangeKind kind, const StoredElement& before, const StoredElement& after) {
        if (changeListener) changeListener(kind, before, after);
    }
    void DropLinksOf(const API_Guid& guid);
};

// Readable name of an element type ("polyline", "object" ...), "type <n>" for others.
std::string ElementTypeName(API_ElemTypeID typeID);
// Types whose record holds a polygon (API_Polygon poly).
bool HasPolygon(API_ElemTypeID typeID);
// The database kind a marker type owns (0 for other types).
int32_t DatabaseKindOfMarker(API_ElemTypeID typeID);
