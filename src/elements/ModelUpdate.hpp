#pragma once
// The model-update dispatcher: the element events of one series, gathered by the element-event handler in
// `PendingUpdate`, bring the add-on's objects back in step when the series ends (cut, fill and result sets, the
// element kinds' own upkeep), and report the changes the add-on cannot follow.
#include "foundation/QV_List.hpp"

#include "APIInteraction.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

// The element events of one series.
struct PendingModelUpdate {
    int32_t mode;                  // code of the last event: 1 new, 2 copy, 3 change, 4 edit, 5 delete; -5 idle
    QV_List<API_Elem_Head> heads;  // the reported elements, in report order
    QV_List<API_Element> parents;  // change and edit events: the elements as they were, in report order (zero
                                   // where the host could not give one)
    uint8_t skirtForced;           // the terrain had to make a skirt visible (message 30)
    API_ActTranPars tranPars;      // the transformation of the last edit event
    API_EditPars editPars;         // the edit built from it for the terrain's own edits
    QV_List<int32_t> codes;        // the event code of each head (a series may mix codes)
    uint8_t editUnread;            // the host could not give the transformation of an edit event

    PendingModelUpdate();
    // mode -5, skirtForced and editUnread 0, the lists emptied (their handles kept), tranPars and editPars zero.
    void Reset();
};

// The one record of the module.
extern PendingModelUpdate PendingUpdate;

// Set by the add-on's own element writers while they create elements, so that their new elements are not taken
// for the user's copies; cleared by the dispatcher.
extern uint8_t ElementWritten;

// A writer's hold on ElementWritten: raised when made; NoneMade() gives the flag back as the writer found it, so
// that a writer that made nothing neither leaves it raised for the user's next element nor lowers it under the
// elements an earlier writer of the same series made.
class ElementWriting {
public:
    ElementWriting() : before_(ElementWritten) { ElementWritten = 1; }
    void NoneMade() const { ElementWritten = before_; }

private:
    uint8_t before_;
};

namespace PendingInput {
// Reads the host's transformation of the edit being reported into tranPars and builds editPars from it: 'DRAG',
// 'ROTZ', 'MIRR', 'ELEV', 'RSIZ', 'STRE' and 'VSTR' map to their edit; anything else (also a failed read) is
// 'GENE' with every point zero. withDelete is 1. A failed read also sets editUnread.
void ToEditPars(PendingModelUpdate& record);
}  // namespace PendingInput

// Keeps in heads only the add-on's own elements (by host type and the kind tag of their element data record).
// Nothing happens for mode 5 or without heads. False, with heads as they were, when the host cannot tell which
// are the add-on's (the switch to the floor plan, a record read or the road-section tool's defaults refused).
bool FilterPendingHeads(PendingModelUpdate& record);

// The retaining-wall objects (tag 'G', or the wall's library part where the record cannot be read) among the pending
// elements into `out` (emptied first); none for mode 5. False when the host could tell neither of an object.
bool CollectPendingRetainingWalls(const PendingModelUpdate& pending, QV_List<API_Elem_Head>& out);
// When meshes are among the pending elements, keeps in `walls` only the retaining walls on one of them (by the wall's
// record, else by its solid link); false, `walls` emptied, when the host could tell neither of a wall.
bool FilterWallsByChangedTerrain(const PendingModelUpdate& pending, QV_List<API_Elem_Head>& walls);

// What the dispatcher tells an element kind's step of the update it runs in.
struct ModelUpdateEvent {
    int32_t mode;  // 1 new, 2 copy, 3 change, 4 edit, 5 delete
    bool userNew;  // elements the user made: a copy, or a new element the add-on did not write itself
    const QV_List<API_Elem_Head>& heads;
    const QV_List<API_Element>& parents;  // changes and edits: the elements as they were
};

// The steps the dispatcher runs; each answers false when it failed, which ends the dispatch. They change the model
// inside the dispatcher's undoable command and open none of their own.
struct ModelUpdateSteps {
    using HeadsStep = std::function<bool(int32_t kind, const QV_List<API_Elem_Head>& heads)>;
    using KindStep = std::function<bool(const ModelUpdateEvent& event)>;

    // The cut, fill and result sets of a kind.
    HeadsStep handleCopiedObjects;
    HeadsStep syncChangedObjects;
    std::function<bool(int32_t kind)> deleteBrokenSets;
    // Each element kind's own step, by its kind (ElemKind); the kinds' folders provide them and the shell adds
    // them at start-up. A kind without one has nothing to do.
    std::map<int32_t, KindStep> kindSteps;
    // Upkeep and reports; each answers false when it failed.
    std::function<bool()> operatorLayerUpkeep;
    std::function<bool(PendingModelUpdate& record)> filterPendingHeads;
    std::function<void(int32_t code)> showErrorMessage;
};

// The kinds in the order the dispatcher brings them in step: the sets of a kind that has them, then its own step.
const std::vector<int32_t>& ModelUpdateOrder();

// The framework's own steps (the object sets, the operator layer, the heads' filter, the error report), with no
// kind's step: the shell adds each kind's own to them at start-up and hands the whole to the dispatcher.
ModelUpdateSteps FrameworkModelUpdateSteps();

// Notes in the module's log that a kind's step ran, as "name(value)".
void LogModelUpdateStep(const char* name, int32_t value);

// The dispatcher for one mode; the caller resets the record afterwards. For modes 1 to 5 it runs as one
// undoable command (one undo step at most; inside a running command, as part of that one). When a step fails
// the command is taken back whole (the user's edit stays, the add-on's answer to it goes) and the user is told
// once (ErrUpdateFailed); otherwise a skirt made visible (30) or retaining walls among the changes (53) are told.
void UpdateModelWith(PendingModelUpdate& record, const ModelUpdateSteps& steps);

// The end of a series: a series whose events share one code is dispatched once; a series that mixes codes is
// dispatched once per code, in the order the codes first came, each with its own elements (so that a deletion
// followed by a creation does not lose the deletion's upkeep). ElementWritten holds for each of them. The whole
// series is one undoable command: one series of element events is at most one undo step, taken back whole when
// one of its dispatches fails.
void UpdateModelSeries(PendingModelUpdate& record, const ModelUpdateSteps& steps);
