#include "project/ElementEvents.hpp"

#include "GSRoot.hpp"
#include "HostCalls.hpp"
#include "project/ElementTransform.hpp"
#include "project/ElementTypes.hpp"

#include <algorithm>
#include <cstring>

// --- events --------------------------------------------------------------------------------------------------

namespace {
std::string EventText(int32_t code, const API_Elem_Head& head) {
    if (code < 0) return std::to_string(code);
    return std::to_string(code) + " (" + ElementTypeName(head.typeID) + " " + GuidText(head.guid) + ")";
}

// What a counted event tells the module: "elements created", "element events refused" ...
std::string EventCountText(int32_t code, GSErrCode err) {
    static const char* const kinds[] = {"created", "copied", "changed", "edited", "deleted"};
    const std::string what = code >= 1 && code <= 5 ? std::string("elements ") + kinds[code - 1]
                                                    : "element events of code " + std::to_string(code);
    return err == NoError ? what : what + " (the module answered " + ErrorText(err) + ")";
}

// Writes a changed element back through the database, so that the change is one like any other.
GSErrCode WriteElement(ProjectDatabase& db, const StoredElement& next) {
    API_ElementMemo memo = {};
    GSErrCode err = WriteApiMemo(next.memo, APIMemoMask_All, &memo);
    if (err != NoError) return err;
    API_Element record = next.record;
    API_Element mask;
    std::memset(&mask, 0xFF, sizeof mask);
    err = db.ChangeElement(&record, &mask, &memo, APIMemoMask_All);
    DisposeApiMemo(&memo);
    return err;
}
}  // namespace

ElementEvents::ElementEvents(HostCalls& host, ProjectDatabase& database) : host_(host), database_(database) {
    database_.changeListener = [this](ProjectDatabase::ChangeKind kind, const StoredElement& before,
                                      const StoredElement& after) { Note(kind, before, after); };
    database_.commandListener = [this](bool takenBack) {
        if (!takenBack) {
            pendingAtCommand_ = pending_;
            waitingAtCommand_ = waiting_;
            unobservedInCommand_.clear();
            return;
        }
        pending_.swap(pendingAtCommand_);
        waiting_.swap(waitingAtCommand_);
        observed_.insert(unobservedInCommand_.begin(), unobservedInCommand_.end());
        observerChanges_ += unobservedInCommand_.size();
        unobservedInCommand_.clear();
    };
}

void ElementEvents::ForgetSession() {
    ++observerChanges_;
    observed_.clear();
    pending_.clear();
    waiting_.clear();
    current_ = nullptr;
}

GSErrCode ElementEvents::AttachObserver(const API_Guid& guid) {
    if (database_.Find(guid) == nullptr) return APIERR_BADID;
    observerChanges_ += observed_.insert(guid) ? 1 : 0;
    return NoError;
}

GSErrCode ElementEvents::DetachObserver(const API_Guid& guid) {
    if (database_.Find(guid) == nullptr) return APIERR_BADID;
    observerChanges_ += observed_.erase(guid);
    return NoError;
}

bool ElementEvents::Receives(int32_t code, const API_Elem_Head& head) const {
    const ModuleSession& s = host_.Session();
    if (code == 1 || code == 2)
        return s.newElementHandler != nullptr && (s.newElementAllTypes || s.newElementType == head.typeID);
    return s.elementObserver != nullptr && IsObserved(head.guid);
}

void ElementEvents::Note(ProjectDatabase::ChangeKind kind, const StoredElement& before, const StoredElement& after) {
    int32_t code = 5;
    if (kind == ProjectDatabase::ChangeKind::Created) code = userAction_ == UserAction::Copy ? 2 : 1;
    if (kind == ProjectDatabase::ChangeKind::Changed) code = userAction_ == UserAction::Edit ? 4 : 3;
    const API_Elem_Head& head = after.record.header;
    // The latest event of an element is looked for from the end: it is mostly the last one. A new element's GUID
    // was never given before (the serials only go up), so no event waits for it: an import of millions of points
    // asks the set for none of them.
    auto waiting = pending_.end();
    if (kind != ProjectDatabase::ChangeKind::Created && waiting_.count(head.guid) != 0) {
        const auto last = std::find_if(pending_.rbegin(), pending_.rend(),
                                       [&](const Pending& p) { return p.head.guid == head.guid; });
        if (last != pending_.rend()) waiting = std::prev(last.base());
    }
    if (waiting != pending_.end()) {
        waiting->head = head;
        if (code == 5) {
            if (waiting->code == 1 || waiting->code == 2) {
                waiting_.erase(head.guid);
                pending_.erase(waiting);  // came and went before anyone was told
            } else {
                waiting->code = 5;
                waiting->change.reset();
            }
        } else if (code == 4 && waiting->code == 3) {
            auto change = std::make_shared<Change>();
            if (waiting->change) change->parent = waiting->change->parent;
            change->tranPars = userTranPars_;
            waiting->code = 4;
            waiting->change = std::move(change);
        }
    } else if (Receives(code, head)) {
        Pending p;
        p.code = code;
        p.head = head;
        if (code == 3 || code == 4) {
            auto change = std::make_shared<Change>();
            change->parent = std::make_shared<const StoredElement>(before);
            if (code == 4) change->tranPars = userTranPars_;
            p.change = std::move(change);
        }
        pending_.push_back(std::move(p));
        waiting_.insert(head.guid);
    }
    if (code == 5 && observed_.erase(head.guid) != 0) {
        ++observerChanges_;
        if (database_.InCommand()) unobservedInCommand_.push_back(head.guid);
    }
}

void ElementEvents::EndModuleCall() {
    if (callDepth_ > 0) --callDepth_;
    if (callDepth_ == 0 && !delivering_) Deliver();
}

int ElementEvents::Deliver() {
    if (delivering_ || pending_.empty()) return 0;
    if (muted_) {
        pending_.clear();
        waiting_.clear();
        return 0;
    }
    delivering_ = true;
    int seriesNow = 0;
    int rounds = 0;
    while (!pending_.empty()) {
        if (rounds == MaxSeries) {
            ++cascadeCuts_;
            host_.ReportHostError("element events: the module's own changes kept causing events; " +
                                  std::to_string(pending_.size()) + " event(s) dropped after " +
                                  std::to_string(MaxSeries) + " series");
            pending_.clear();
            waiting_.clear();
            break;
        }
        ++rounds;
        PendingList batch;
        batch.swap(pending_);
        waiting_.clear();
        for (Pending& p : batch)
            if (const StoredElement* e = database_.Find(p.head.guid)) p.head = e->record.header;
        const ModuleSession& s = host_.Session();
        API_ElementEventHandlerProc* const newHandler = s.newElementHandler;
        API_ElementEventHandlerProc* const observer = s.elementObserver;
        if (newHandler != nullptr && newHandler == observer) {
            DeliverSeries(newHandler, false, std::move(batch));
            ++seriesNow;
            continue;
        }
        PendingList created, others;
        for (Pending& p : batch) (p.code == 1 || p.code == 2 ? created : others).push_back(std::move(p));
        batch.clear();
        if (newHandler != nullptr && !created.empty()) {
            DeliverSeries(newHandler, false, std::move(created));
            ++seriesNow;
        }
        if (observer != nullptr && !others.empty()) {
            DeliverSeries(observer, true, std::move(others));
            ++seriesNow;
        }
    }
    delivering_ = false;
    return seriesNow;
}

void ElementEvents::DeliverSeries(API_ElementEventHandlerProc* handler, bool toObserver, PendingList&& events) {
    ModuleCall call(*this);
    const int32_t series = ++series_;
    const auto send = [&](int32_t code, const API_Elem_Head& head) {
        API_NotifyElementType record = {};
        record.notifID = code;
        record.elemHead = head;
        DeliveredEvent d;
        d.code = code;
        d.guid = head.guid;
        d.type = head.typeID;
        d.series = series;
        d.toObserver = toObserver;
        delivered_.push_back(d);
        const GSErrCode err = handler(&record);
        if (host_.GetLogLevel() == LogLevel::Verbose)
            host_.LogDetail("  host: element event " + EventText(code, head) + " -> " + ErrorText(err));
        else if (code > 0)
            host_.CountEvent(EventCountText(code, err));
    };
    const API_Elem_Head none = {};
    send(-1, none);
    for (; !events.empty(); events.pop_front()) {
        current_ = &events.front();
        send(events.front().code, events.front().head);
        current_ = nullptr;
    }
    send(-2, none);
}

GSErrCode ElementEvents::GetTranParams(API_ActTranPars* tranPars) const {
    if (tranPars == nullptr) return APIERR_BADPARS;
    if (current_ == nullptr || current_->code != 4) return APIERR_GENERAL;
    *tranPars = current_->change ? current_->change->tranPars : API_ActTranPars();
    return NoError;
}

GSErrCode ElementEvents::GetParentElement(API_Element* element, API_ElementMemo* memo, uint64_t mask,
                                          API_ElementUserData* userData) const {
    if (element == nullptr) return APIERR_BADPARS;
    if (memo != nullptr) std::memset(static_cast<void*>(memo), 0, sizeof *memo);
    if (userData != nullptr) std::memset(static_cast<void*>(userData), 0, sizeof *userData);
    if (current_ == nullptr || !current_->change || !current_->change->parent) return APIERR_GENERAL;
    const StoredElement& parent = *current_->change->parent;
    if (memo != nullptr && mask != 0) {
        const GSErrCode err = WriteApiMemo(parent.memo, mask, memo);
        if (err != NoError) return err;
    }
    if (userData != nullptr && parent.userData) {
        GSHandle h = BMAllocateHandle(GSSize(parent.userData->bytes.size()), 0, 0);
        if (h == nullptr) {
            if (memo != nullptr) DisposeApiMemo(memo);
            return APIERR_MEMFULL;
        }
        parent.userData->bytes.CopyTo(*h);
        userData->dataVersion = parent.userData->dataVersion;
        userData->platformSign = parent.userData->platformSign;
        userData->flags = parent.userData->flags;
        userData->dataHdl = h;
    }
    *element = parent.record;
    return NoError;
}

// --- the user's edits ----------------------------------------------------------------------------------------

GSErrCode ElementEvents::AfterUserAction(GSErrCode err) {
    userAction_ = UserAction::None;
    userTranPars_ = API_ActTranPars();
    if (!ModuleCallRunning()) Deliver();
    return err;
}

GSErrCode ElementEvents::UserEdit(const API_Guid& guid, const API_ActTranPars& tranPars) {
    ProjectDatabase& db = database_;
    const StoredElement* e = db.Find(guid);
    if (e == nullptr) return APIERR_BADID;
    StoredElement next = *e;
    if (!TransformElement(next, tranPars)) return APIERR_BADPARS;
    userAction_ = UserAction::Edit;
    userTranPars_ = tranPars;
    const GSErrCode err = db.RunUndoableCommand("Edit", [&]() { return WriteElement(db, next); });
    return AfterUserAction(err);
}

GSErrCode ElementEvents::UserCopy(const API_Guid& guid, const API_Coord3D& offset, const std::string& name,
                                  API_Guid* copy) {
    ProjectDatabase& db = database_;
    const StoredElement* e = db.Find(guid);
    if (e == nullptr) return APIERR_BADID;
    API_Guid existing;
    if (db.FindByName(name, &existing)) return APIERR_BADPARS;
    StoredElement next = *e;
    API_ActTranPars drag = {};
    drag.typeID = APIEdit_Drag;
    drag.disp = {offset.x, offset.y};
    drag.dispZ = offset.z;
    TransformElement(next, drag);
    userAction_ = UserAction::Copy;
    API_Guid made = APINULLGuid;
    const GSErrCode err = db.RunUndoableCommand("Copy", [&]() {
        API_ElementMemo memo = {};
        GSErrCode r = WriteApiMemo(next.memo, APIMemoMask_All, &memo);
        if (r != NoError) return r;
        API_Element record = next.record;
        record.header.guid = APINULLGuid;
        r = db.CreateElement(&record, next.memo->IsEmpty() ? nullptr : &memo);
        DisposeApiMemo(&memo);
        if (r != NoError) return r;
        made = record.header.guid;
        if (next.userData) {
            API_ElementUserData u = {};
            u.dataVersion = next.userData->dataVersion;
            u.platformSign = next.userData->platformSign;
            u.flags = next.userData->flags;
            u.dataHdl = BMAllocateHandle(GSSize(next.userData->bytes.size()), 0, 0);
            if (u.dataHdl == nullptr) return APIERR_MEMFULL;
            next.userData->bytes.CopyTo(*u.dataHdl);
            r = db.SetUserData(record.header, u);
            BMKillHandle(&u.dataHdl);
            if (r != NoError) return r;
        }
        if (!name.empty()) db.SetElementName(made, name);
        return NoError;
    });
    if (err == NoError && copy != nullptr) *copy = made;
    return AfterUserAction(err);
}

GSErrCode ElementEvents::UserDelete(const API_Guid& guid) {
    ProjectDatabase& db = database_;
    const GSErrCode err = db.RunUndoableCommand("Delete", [&]() { return db.DeleteElements(&guid, 1); });
    return AfterUserAction(err);
}

GSErrCode ElementEvents::UserChange(const API_Guid& guid,
                                    const std::function<bool(API_Element&, StoredMemo&)>& change) {
    ProjectDatabase& db = database_;
    const StoredElement* e = db.Find(guid);
    if (e == nullptr) return APIERR_BADID;
    StoredElement next = *e;
    API_Element record = next.record.Get();
    const bool changed = change && change(record, next.memo.Mutable());
    next.memo.DropIfEmpty();
    if (!changed) return APIERR_BADPARS;
    next.record = record;
    const GSErrCode err = db.RunUndoableCommand("Change", [&]() { return WriteElement(db, next); });
    return AfterUserAction(err);
}
