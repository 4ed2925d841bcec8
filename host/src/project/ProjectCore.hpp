#pragma once
// The state of the stand-in host's project database and the rules all its families share: where an element is
// found and seen, which layers can be used, when a model change is allowed, why the latest call was refused,
// and what the project looks like after a part of its model went away. The families (ProjectElements,
// ProjectSelection, ...) build on it; ProjectDatabase joins them.
#include "APIDefs.hpp"
#include "APIElements.hpp"
#include "project/ProjectModel.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class ProjectCore {
public:
    ProjectCore();
    ProjectCore(const ProjectCore&) = delete;
    ProjectCore& operator=(const ProjectCore&) = delete;

    // A new, empty project: one story (0, level 0), layer 1, a few pens, line types, fills, materials and fonts,
    // the floor plan in front, no undo steps.
    void Reset();

    // The fixed identities of the floor plan's and the 3D model's databases.
    static API_Guid FloorPlanDatabase();
    static API_Guid ModelDatabase3D();

    const StoredElement* Find(const API_Guid& guid) const;
    StoredElement* FindMutable(const API_Guid& guid);
    // Of the elements with that name, the first in GUID order.
    bool FindByName(const std::string& name, API_Guid* guid) const;
    // Names the element ("" takes its name away), as an edit of it; false when there is none.
    bool SetElementName(const API_Guid& guid, const std::string& name);
    // The names elements have now.
    std::set<std::string> NamesNow() const;
    // The names elements have, and those the undo steps would give back.
    std::set<std::string> ElementNames() const;
    // Every element of every database in creation order.
    std::vector<API_Guid> AllElements() const;
    // The elements seen in the current database in creation order: of one type, or all (API_ZombieElemID).
    std::vector<API_Guid> ElementsHere(API_ElemTypeID typeID) const;
    const ProjectModel& Model() const { return model_; }
    // Unique to this project since its last Reset, among all projects of the process: with an element's GUID and
    // modification stamp it names one state of the element (stamps and GUIDs start again after a Reset).
    uint64_t Epoch() const { return epoch_; }
    const API_Attribute* Attribute(API_AttrTypeID typeID, int32_t index) const;
    const StoredDatabase* Database(const API_Guid& id) const;
    int32_t CurrentDatabaseType() const;

    // Library parts (filled in by the library store): whether an index exists, its default parameters and name.
    std::function<bool(int32_t libInd)> libPartExists;
    std::function<bool(int32_t libInd, std::vector<StoredParam>* params)> libPartDefaults;
    std::function<std::string(int32_t libInd)> libPartName;
    // The box of an element's 3D model (filled in by the 3D model store): false for one without a model.
    std::function<bool(const API_Guid& guid, API_Box3D* box)> modelBounds;

    // Element changes as they happen (the host's element notifications are built on them): called after every
    // element creation (before = after), change and deletion (after = before) that went through the element
    // functions, also for the elements a deleted marker takes along.
    enum class ChangeKind { Created, Changed, Deleted };
    std::function<void(ChangeKind kind, const StoredElement& before, const StoredElement& after)> changeListener;
    // An undoable command starts (false) or, after its body reported an error, has been taken back (true): what it
    // changed is no news for anyone.
    std::function<void(bool takenBack)> commandListener;
    // An undoable command's changes stood and became an undo step.
    std::function<void()> stepListener;

    // Grows with every change of the model (a take-back too).
    uint64_t ChangeCount() const { return changes_; }

    // Why the latest refused call was refused ("" after a success).
    const std::string& LastRefusal() const { return lastRefusal_; }
    void ClearRefusal() const { lastRefusal_.clear(); }

protected:
    GSErrCode Refuse(GSErrCode err, const std::string& why) const;
    // Model changes happen inside an undoable command and not in the 3D model's database.
    GSErrCode CheckModelChange() const;
    bool VisibleHere(const StoredElement& element) const;
    const StoredElement* FindHere(const API_Guid& guid) const;
    // The element to change, not yet touched: a change that turns out to change nothing keeps no undo state.
    StoredElement* FindUntouched(const API_Guid& guid);
    bool LayerUsable(int32_t layer, bool forChange) const;
    uint32_t LayerFlags(int32_t layer) const;
    API_Guid NewGuid();
    void Changed() { ++changes_; }
    void NoteChange(ChangeKind kind, const StoredElement& before, const StoredElement& after) {
        if (changeListener) changeListener(kind, before, after);
    }
    // The database's window comes to the front and the database becomes current.
    void BringToFront(const StoredDatabase& database);
    // After elements, stories or databases went away: the current story, database and window and the selection
    // hold only what is left.
    void AfterModelRestored();
    // An element that is deleted loses its solid links.
    void DropLinksOf(const API_Guid& guid);

    // Inside an undoable command: keeps the element as it was before the command first touched it, so that the
    // step can give it back. Every change of model_.elements goes through here first.
    void Touch(const API_Guid& guid);
    // The same for the element found under the GUID.
    void Touch(const API_Guid& guid, const StoredElement& element);

    // One undo step: the elements the command touched as they were before it, the range of creation serials
    // the command used (what it made costs the step nothing per element: taking it back removes the elements of
    // those serials), and the project's other parts, which are small, whole.
    struct UndoStep {
        std::map<API_Guid, std::unique_ptr<StoredElement>, GuidLess> elementsBefore;
        uint64_t firstSerial = UINT64_MAX;  // while the command runs, its end is the next serial
        uint64_t endSerial = 0;
        uint64_t made = 0;  // elements made
        std::map<API_AttrTypeID, std::vector<StoredAttribute>> attributes;
        std::vector<API_StoryType> stories;
        std::vector<StoredDatabase> databases;
        std::vector<StoredSolidLink> solidLinks;
    };

    ProjectModel model_;
    std::vector<UndoStep> undoSteps_;
    std::vector<std::string> undoTexts_;
    UndoStep pending_;  // the step of the command running now
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
    uint32_t linkClock_ = 0;
    uint64_t epoch_ = 0;  // the time of the latest solid link (never goes back, also not on undo)
    // The live attributes of a type by name (as the texts the names stand for), made at the type's first search:
    // a project of many layers is searched in constant time. A new attribute joins its type's table; a rename, a
    // delete or attributes replaced whole drop the table, made again at the next search.
    mutable std::map<API_AttrTypeID, std::unordered_map<std::u16string, int32_t>> attributeNames_;

private:
    void AddAttribute(API_AttrTypeID typeID, const std::string& name, const std::function<void(API_Attribute&)>& fill);
};

// Texts of the project's records.
void CopyU16(char16_t* field, size_t units, const std::u16string& text);
std::u16string Utf16(const std::string& ascii);
