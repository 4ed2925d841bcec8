#pragma once
// Element events: what the host tells the module about changed elements.
//
// Every creation, change and deletion in the project database is noted as it happens. An event is kept for the
// module when it would receive it:
// - new (1) and copied (2) elements: when the module catches new elements of that element type;
// - changed (3), edited (4) and deleted (5) elements: when the module has an element observer and observes that
//   element (ACAPI_Element_AttachObserver). A copy is not observed; a deleted element is no longer observed.
// One element has at most one waiting event: later changes merge into it (a change after a creation stays a
// creation, an edit keeps the record as it was before its first change, a deletion replaces a change, and an
// element created and deleted before its events went out is not reported).
//
// Events wait while a module call runs (a menu command, a notification, an entry point) and are delivered after
// it returns, or when Deliver() is called: one series per handler, -1, then one event per element in the order
// of their first change, then -2. While an event of code 3 or 4 is being delivered the module can read the
// element as it was (ACAPI_Notify_GetParentElement), for code 4 also the transformation of the edit
// (ACAPI_Notify_GetTranParams). Changes the module makes while it handles a series cause a further series; after
// MaxSeries series in one delivery the rest is dropped and a host error is recorded.
//
// The user's edits (move, rotate, mirror, elevate, resize, copy, delete, change) change the element first, as one
// undo step, and then deliver their events (unless a module call is running).
#include "APIInteraction.hpp"
#include "project/GuidTable.hpp"
#include "project/ProjectDatabase.hpp"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class HostCalls;

class ElementEvents {
public:
    static constexpr int MaxSeries = 8;

    // The events of `database`; `host` tells who receives them and takes the log.
    ElementEvents(HostCalls& host, ProjectDatabase& database);
    ElementEvents(const ElementEvents&) = delete;
    ElementEvents& operator=(const ElementEvents&) = delete;

    // --- observers
    GSErrCode AttachObserver(const API_Guid& guid);
    GSErrCode DetachObserver(const API_Guid& guid);
    bool IsObserved(const API_Guid& guid) const { return observed_.count(guid) != 0; }
    // Grows with every element that starts or stops being observed: with the project's change count it tells
    // whether anything a project dump shows may have changed.
    uint64_t ObserverChanges() const { return observerChanges_; }
    // The module went away: observers, waiting events and the event being delivered are forgotten.
    void ForgetSession();

    // --- module calls: events wait while one runs; the end of the outermost call delivers them.
    void BeginModuleCall() { ++callDepth_; }
    void EndModuleCall();
    bool ModuleCallRunning() const { return callDepth_ > 0; }
    class ModuleCall {
    public:
        explicit ModuleCall(ElementEvents& events) : events_(events) { events_.BeginModuleCall(); }
        ~ModuleCall() { events_.EndModuleCall(); }
        ModuleCall(const ModuleCall&) = delete;
        ModuleCall& operator=(const ModuleCall&) = delete;

    private:
        ElementEvents& events_;
    };

    // Delivers the waiting events now; answers the number of series delivered. Nothing happens while a delivery
    // runs (the events wait for its next series).
    int Deliver();
    size_t PendingCount() const { return pending_.size(); }
    // While muted, waiting events are dropped instead of delivered: the project as the user's edits leave it,
    // without the module's answer to them.
    void Mute(bool muted) { muted_ = muted; }

    // --- the user's edits (each one undo step); APIERR_ codes of the database on refusal.
    // Moves, turns, mirrors, lifts or scales the element as the transformation says; its event is an edit (4).
    GSErrCode UserEdit(const API_Guid& guid, const API_ActTranPars& tranPars);
    // A copy displaced by `offset`, with the element's memo and user data; its event is a copy (2).
    GSErrCode UserCopy(const API_Guid& guid, const API_Coord3D& offset, const std::string& name, API_Guid* copy);
    GSErrCode UserDelete(const API_Guid& guid);
    // A change of settings (pen, level, parameters ...) made by `change`; its event is a change (3).
    GSErrCode UserChange(const API_Guid& guid, const std::function<bool(API_Element&, StoredMemo&)>& change);

    // --- while an event is being delivered
    GSErrCode GetTranParams(API_ActTranPars* tranPars) const;
    GSErrCode GetParentElement(API_Element* element, API_ElementMemo* memo, uint64_t mask,
                               API_ElementUserData* userData) const;

    // What was delivered: -1 and -2 too, each with the number of its series (from 1, counted over the host's
    // life).
    struct DeliveredEvent {
        int32_t code = 0;
        API_Guid guid = {};
        API_ElemTypeID type = 0;
        int32_t series = 0;
        bool toObserver = false;  // the element observer (else the new-element handler)
    };
    const std::deque<DeliveredEvent>& Delivered() const { return delivered_; }
    void ClearDelivered() { delivered_.clear(); }
    int32_t SeriesCount() const { return series_; }
    int32_t CascadeCuts() const { return cascadeCuts_; }

private:
    // What codes 3 and 4 carry beside the head.
    struct Change {
        std::shared_ptr<const StoredElement> parent;
        API_ActTranPars tranPars = {};  // code 4
    };
    struct Pending {
        int32_t code = 0;
        API_Elem_Head head = {};
        // Codes 3 and 4, shared by the copies a delivery makes; null for the others, so a waiting creation or
        // deletion costs its head and a pointer.
        std::shared_ptr<const Change> change;
    };
    // A deque: an import's hundreds of thousands of waiting creations grow in blocks, never copied whole.
    using PendingList = std::deque<Pending>;
    enum class UserAction { None, Copy, Edit };

    void Note(ProjectDatabase::ChangeKind kind, const StoredElement& before, const StoredElement& after);
    bool Receives(int32_t code, const API_Elem_Head& head) const;
    // Each event is dropped once delivered: when the series' end reaches the module, the host no longer holds it.
    void DeliverSeries(API_ElementEventHandlerProc* handler, bool toObserver, PendingList&& events);
    GSErrCode AfterUserAction(GSErrCode err);

    HostCalls& host_;
    ProjectDatabase& database_;
    GuidSet observed_;
    uint64_t observerChanges_ = 0;
    PendingList pending_;
    GuidSet waiting_;  // the elements of pending_: a new element is not looked for in it
    // As they were when the running undoable command started, for when it is taken back; and the elements whose
    // observer its deletions dropped.
    PendingList pendingAtCommand_;
    GuidSet waitingAtCommand_;
    std::vector<API_Guid> unobservedInCommand_;
    const Pending* current_ = nullptr;
    int callDepth_ = 0;
    bool delivering_ = false;
    bool muted_ = false;
    UserAction userAction_ = UserAction::None;
    API_ActTranPars userTranPars_ = {};
    std::deque<DeliveredEvent> delivered_;
    int32_t series_ = 0;
    int32_t cascadeCuts_ = 0;
};
