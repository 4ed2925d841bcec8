#include "ProjectEvents.hpp"

#include "GSRoot.hpp"
#include "ProjectInput.hpp"
#include "StandinHost.hpp"
#include "UniString.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

// --- transformations -----------------------------------------------------------------------------------------

namespace {
class Transformation {
public:
    explicit Transformation(const API_ActTranPars& t) : t_(t) {
        if (t.typeID == APIEdit_Mirror) {
            const double len = std::hypot(t.vector.x, t.vector.y);
            valid_ = len > 0.0;
            if (valid_) {
                ux_ = t.vector.x / len;
                uy_ = t.vector.y / len;
            }
        } else if (t.typeID == APIEdit_Rotate) {
            valid_ = std::isfinite(t.cosA) && std::isfinite(t.sinA) && (t.cosA != 0.0 || t.sinA != 0.0);
        } else {
            valid_ = t.typeID == APIEdit_Drag || t.typeID == APIEdit_Elevate || t.typeID == APIEdit_Resize ||
                t.typeID == APIEdit_Stretch || t.typeID == APIEdit_VertStretch;
        }
    }
    bool Valid() const { return valid_; }
    bool Mirrors() const { return t_.typeID == APIEdit_Mirror; }

    API_Coord Point(const API_Coord& p) const {
        switch (t_.typeID) {
            case APIEdit_Drag:
            case APIEdit_Stretch: return {p.x + t_.disp.x, p.y + t_.disp.y};
            case APIEdit_Rotate: {
                const double n = std::hypot(t_.cosA, t_.sinA);
                const double c = t_.cosA / n, s = t_.sinA / n;
                const double dx = p.x - t_.vector.x, dy = p.y - t_.vector.y;
                return {t_.vector.x + c * dx - s * dy, t_.vector.y + s * dx + c * dy};
            }
            case APIEdit_Mirror: {
                const double dx = p.x - t_.base.x, dy = p.y - t_.base.y;
                const double along = dx * ux_ + dy * uy_;
                return {t_.base.x + 2.0 * along * ux_ - dx, t_.base.y + 2.0 * along * uy_ - dy};
            }
            case APIEdit_Resize:
                return {t_.base.x + t_.ratio * (p.x - t_.base.x), t_.base.y + t_.ratio * (p.y - t_.base.y)};
            default: return p;
        }
    }
    double Lift() const {
        return (t_.typeID == APIEdit_Drag || t_.typeID == APIEdit_Elevate || t_.typeID == APIEdit_VertStretch)
            ? t_.dispZ
            : 0.0;
    }
    // A direction angle after the transformation.
    double Angle(double a) const {
        if (t_.typeID == APIEdit_Rotate) return a + std::atan2(t_.sinA, t_.cosA);
        if (t_.typeID == APIEdit_Mirror) return 2.0 * std::atan2(uy_, ux_) - a;
        return a;
    }
    double Scale() const { return t_.typeID == APIEdit_Resize ? std::fabs(t_.ratio) : 1.0; }

private:
    API_ActTranPars t_;
    bool valid_ = false;
    double ux_ = 1.0, uy_ = 0.0;
};
}  // namespace

bool TransformElement(StoredElement& element, const API_ActTranPars& tranPars) {
    const Transformation x(tranPars);
    if (!x.Valid()) return false;
    API_Element& r = element.record;
    StoredMemo& m = element.memo;
    const API_ElemTypeID t = r.header.typeID;
    const double lift = x.Lift();
    if (HasPolygon(t)) {
        if (m.coords)
            for (size_t i = 1; i < m.coords->size(); ++i) (*m.coords)[i] = x.Point((*m.coords)[i]);
        if (x.Mirrors() && m.parcs)
            for (API_PolyArc& a : *m.parcs) a.arcAngle = -a.arcAngle;
        switch (t) {
            case API_WallID:
                r.wall.begC = x.Point(r.wall.begC);
                r.wall.endC = x.Point(r.wall.endC);
                r.wall.bottomOffset += lift;
                break;
            case API_SlabID: r.slab.level += lift; break;
            case API_RoofID: r.roof.level += lift; break;
            case API_MeshID: r.mesh.level += lift; break;
            case API_ZoneID: r.zone.level += lift; break;
            default: break;
        }
        return true;
    }
    switch (t) {
        case API_ObjectID:
        case API_LampID:
            r.object.pos = x.Point(r.object.pos);
            r.object.level += lift;
            r.object.angle = x.Angle(r.object.angle);
            if (x.Mirrors()) r.object.reflected = r.object.reflected ? 0 : 1;
            r.object.xRatio *= x.Scale();
            r.object.yRatio *= x.Scale();
            break;
        case API_WindowID:
        case API_DoorID: r.window.level += lift; break;
        case API_TextID:
            r.text.loc = x.Point(r.text.loc);
            r.text.angle = x.Angle(r.text.angle);
            break;
        case API_LineID:
            r.line.begC = x.Point(r.line.begC);
            r.line.endC = x.Point(r.line.endC);
            break;
        case API_ArcID:
        case API_CircleID: {
            r.arc.origC = x.Point(r.arc.origC);
            r.arc.r *= x.Scale();
            r.arc.mainAxisDir = x.Angle(r.arc.mainAxisDir);
            const double beg = x.Angle(r.arc.begAng), end = x.Angle(r.arc.endAng);
            // A mirror reverses the turning direction: the arc keeps running counter-clockwise from begAng.
            r.arc.begAng = x.Mirrors() ? end : beg;
            r.arc.endAng = x.Mirrors() ? beg : end;
            break;
        }
        case API_SplineID:
            if (m.coords)
                for (API_Coord& c : *m.coords) c = x.Point(c);
            if (m.bezierDirs)
                for (API_SplineDir& d : *m.bezierDirs) {
                    d.dirAng = x.Angle(d.dirAng);
                    d.lenPrev *= x.Scale();
                    d.lenNext *= x.Scale();
                }
            break;
        case API_HotspotID:
            r.hotspot.pos = x.Point(r.hotspot.pos);
            r.hotspot.height += lift;
            break;
        case API_CutPlaneID:
        case API_ElevationID:
        case API_InteriorElevationID:
        case API_WorksheetID:
            r.cutPlane.begC = x.Point(r.cutPlane.begC);
            r.cutPlane.endC = x.Point(r.cutPlane.endC);
            break;
        default: break;
    }
    return true;
}

// --- events --------------------------------------------------------------------------------------------------

namespace {
std::string EventText(int32_t code, const API_Elem_Head& head) {
    if (code < 0) return std::to_string(code);
    return std::to_string(code) + " (" + ElementTypeName(head.typeID) + " " + GuidText(head.guid) + ")";
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

ElementEvents::ElementEvents(StandinHost& host) : host_(host) {
    host_.Database().changeListener = [this](ProjectDatabase::ChangeKind kind, const StoredElement& before,
                                             const StoredElement& after) { Note(kind, before, after); };
}

void ElementEvents::ForgetSession() {
    observed_.clear();
    pending_.clear();
    current_ = nullptr;
}

GSErrCode ElementEvents::AttachObserver(const API_Guid& guid) {
    if (host_.Database().Find(guid) == nullptr) return APIERR_BADID;
    observed_.insert(guid);
    return NoError;
}

GSErrCode ElementEvents::DetachObserver(const API_Guid& guid) {
    if (host_.Database().Find(guid) == nullptr) return APIERR_BADID;
    observed_.erase(guid);
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
    const auto waiting =
        std::find_if(pending_.begin(), pending_.end(), [&](const Pending& p) { return p.head.guid == head.guid; });
    if (waiting != pending_.end()) {
        waiting->head = head;
        if (code == 5) {
            if (waiting->code == 1 || waiting->code == 2) {
                pending_.erase(waiting);  // came and went before anyone was told
            } else {
                waiting->code = 5;
                waiting->parent.reset();
            }
        } else if (code == 4 && waiting->code == 3) {
            waiting->code = 4;
            waiting->tranPars = userTranPars_;
        }
    } else if (Receives(code, head)) {
        Pending p;
        p.code = code;
        p.head = head;
        if (code == 3 || code == 4) p.parent = before;
        if (code == 4) p.tranPars = userTranPars_;
        pending_.push_back(p);
    }
    if (code == 5) observed_.erase(head.guid);
}

void ElementEvents::EndModuleCall() {
    if (callDepth_ > 0) --callDepth_;
    if (callDepth_ == 0 && !delivering_) Deliver();
}

int ElementEvents::Deliver() {
    if (delivering_ || pending_.empty()) return 0;
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
            break;
        }
        ++rounds;
        std::vector<Pending> batch;
        batch.swap(pending_);
        for (Pending& p : batch)
            if (const StoredElement* e = host_.Database().Find(p.head.guid)) p.head = e->record.header;
        const ModuleSession& s = host_.Session();
        API_ElementEventHandlerProc* const newHandler = s.newElementHandler;
        API_ElementEventHandlerProc* const observer = s.elementObserver;
        if (newHandler != nullptr && newHandler == observer) {
            DeliverSeries(newHandler, false, batch);
            ++seriesNow;
            continue;
        }
        std::vector<Pending> created, others;
        for (const Pending& p : batch) (p.code == 1 || p.code == 2 ? created : others).push_back(p);
        if (newHandler != nullptr && !created.empty()) {
            DeliverSeries(newHandler, false, created);
            ++seriesNow;
        }
        if (observer != nullptr && !others.empty()) {
            DeliverSeries(observer, true, others);
            ++seriesNow;
        }
    }
    delivering_ = false;
    return seriesNow;
}

void ElementEvents::DeliverSeries(API_ElementEventHandlerProc* handler, bool toObserver,
                                  const std::vector<Pending>& events) {
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
        host_.Log("  host: element event " + EventText(code, head) + " -> " + ErrorText(err));
    };
    const API_Elem_Head none = {};
    send(-1, none);
    for (const Pending& p : events) {
        current_ = &p;
        send(p.code, p.head);
        current_ = nullptr;
    }
    send(-2, none);
}

GSErrCode ElementEvents::GetTranParams(API_ActTranPars* tranPars) const {
    if (tranPars == nullptr) return APIERR_BADPARS;
    if (current_ == nullptr || current_->code != 4) return APIERR_GENERAL;
    *tranPars = current_->tranPars;
    return NoError;
}

GSErrCode ElementEvents::GetParentElement(API_Element* element, API_ElementMemo* memo, uint64_t mask,
                                          API_ElementUserData* userData) const {
    if (element == nullptr) return APIERR_BADPARS;
    if (memo != nullptr) std::memset(static_cast<void*>(memo), 0, sizeof *memo);
    if (userData != nullptr) std::memset(static_cast<void*>(userData), 0, sizeof *userData);
    if (current_ == nullptr || !current_->parent) return APIERR_GENERAL;
    const StoredElement& parent = *current_->parent;
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
        if (!parent.userData->bytes.empty())
            std::memcpy(*h, parent.userData->bytes.data(), parent.userData->bytes.size());
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
    ProjectDatabase& db = host_.Database();
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
    ProjectDatabase& db = host_.Database();
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
        r = db.CreateElement(&record, next.memo.IsEmpty() ? nullptr : &memo);
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
            if (!next.userData->bytes.empty())
                std::memcpy(*u.dataHdl, next.userData->bytes.data(), next.userData->bytes.size());
            r = db.SetUserData(record.header, u);
            BMKillHandle(&u.dataHdl);
            if (r != NoError) return r;
        }
        if (!name.empty()) db.FindMutable(made)->name = name;
        return NoError;
    });
    if (err == NoError && copy != nullptr) *copy = made;
    return AfterUserAction(err);
}

GSErrCode ElementEvents::UserDelete(const API_Guid& guid) {
    ProjectDatabase& db = host_.Database();
    const GSErrCode err = db.RunUndoableCommand("Delete", [&]() { return db.DeleteElements(&guid, 1); });
    return AfterUserAction(err);
}

GSErrCode ElementEvents::UserChange(const API_Guid& guid,
                                    const std::function<bool(API_Element&, StoredMemo&)>& change) {
    ProjectDatabase& db = host_.Database();
    const StoredElement* e = db.Find(guid);
    if (e == nullptr) return APIERR_BADID;
    StoredElement next = *e;
    if (!change || !change(next.record, next.memo)) return APIERR_BADPARS;
    const GSErrCode err = db.RunUndoableCommand("Change", [&]() { return WriteElement(db, next); });
    return AfterUserAction(err);
}

// --- the table's entries -------------------------------------------------------------------------------------

namespace {
const std::vector<std::string> kNames = {"Notify_GetTranParams",   "Notify_GetParentElement", "Element_AttachObserver",
                                         "Element_DetachObserver", "SolidLink_Create",        "SolidLink_Remove",
                                         "SolidLink_GetOperators", "SolidLink_GetTargets",    "SolidLink_GetTime",
                                         "SolidLink_GetOperation", "SolidLink_GetFlags"};

GSErrCode HandOutGuids(const std::vector<API_Guid>& guids, GSHandle* out) {
    *out = BMAllocateHandle(GSSize(guids.size() * sizeof(API_Guid)), 0, 0);
    if (*out == nullptr) return APIERR_MEMFULL;
    if (!guids.empty()) std::memcpy(**out, static_cast<const void*>(guids.data()), guids.size() * sizeof(API_Guid));
    return NoError;
}

GSErrCode T_Notify_GetTranParams(API_ActTranPars* tranPars) {
    return ServeDatabaseCall("Notify_GetTranParams", [&](StandinHost& host, ProjectDatabase&) {
        return host.Events().GetTranParams(tranPars);
    });
}
GSErrCode T_Notify_GetParentElement(API_Element* element, API_ElementMemo* memo, uint64_t mask,
                                    API_ElementUserData* userData) {
    return ServeDatabaseCall("Notify_GetParentElement", [&](StandinHost& host, ProjectDatabase&) {
        return host.Events().GetParentElement(element, memo, mask, userData);
    });
}
GSErrCode T_Element_AttachObserver(const API_Guid* guid) {
    return ServeDatabaseCall("Element_AttachObserver", [&](StandinHost& host, ProjectDatabase&) {
        return guid == nullptr ? APIERR_BADPARS : host.Events().AttachObserver(*guid);
    });
}
GSErrCode T_Element_DetachObserver(const API_Guid* guid) {
    return ServeDatabaseCall("Element_DetachObserver", [&](StandinHost& host, ProjectDatabase&) {
        return guid == nullptr ? APIERR_BADPARS : host.Events().DetachObserver(*guid);
    });
}
GSErrCode T_SolidLink_Create(const API_Guid* target, const API_Guid* operatorGuid, uint32_t operation,
                             uint32_t linkFlags) {
    return ServeDatabaseCall("SolidLink_Create", [&](StandinHost&, ProjectDatabase& db) {
        if (target == nullptr || operatorGuid == nullptr) return APIERR_BADPARS;
        return db.CreateSolidLink(*target, *operatorGuid, operation, linkFlags);
    });
}
GSErrCode T_SolidLink_Remove(const API_Guid* target, const API_Guid* operatorGuid) {
    return ServeDatabaseCall("SolidLink_Remove", [&](StandinHost&, ProjectDatabase& db) {
        if (target == nullptr || operatorGuid == nullptr) return APIERR_BADPARS;
        return db.RemoveSolidLink(*target, *operatorGuid);
    });
}
GSErrCode T_SolidLink_GetOperators(const API_Guid* target, GSHandle* operators) {
    return ServeDatabaseCall("SolidLink_GetOperators", [&](StandinHost&, ProjectDatabase& db) {
        if (target == nullptr || operators == nullptr) return APIERR_BADPARS;
        *operators = nullptr;
        std::vector<API_Guid> list;
        const GSErrCode err = db.SolidLinkOperators(*target, &list);
        const GSErrCode handErr = HandOutGuids(list, operators);
        return handErr != NoError ? handErr : err;
    });
}
GSErrCode T_SolidLink_GetTargets(const API_Guid* operatorGuid, GSHandle* targets) {
    return ServeDatabaseCall("SolidLink_GetTargets", [&](StandinHost&, ProjectDatabase& db) {
        if (operatorGuid == nullptr || targets == nullptr) return APIERR_BADPARS;
        *targets = nullptr;
        std::vector<API_Guid> list;
        const GSErrCode err = db.SolidLinkTargets(*operatorGuid, &list);
        const GSErrCode handErr = HandOutGuids(list, targets);
        return handErr != NoError ? handErr : err;
    });
}

// The link of the two for the three getters; APIERR_LINKNOTEXIST when there is none.
template <typename F>
GSErrCode WithLink(const char* name, const API_Guid* target, const API_Guid* operatorGuid, F&& take) {
    return ServeDatabaseCall(name, [&](StandinHost&, ProjectDatabase& db) -> GSErrCode {
        if (target == nullptr || operatorGuid == nullptr) return APIERR_BADPARS;
        const StoredSolidLink* link = db.FindSolidLink(*target, *operatorGuid);
        if (link == nullptr) return APIERR_LINKNOTEXIST;
        return take(*link);
    });
}
GSErrCode T_SolidLink_GetTime(const API_Guid* target, const API_Guid* operatorGuid, uint32_t* linkTime,
                              uint32_t* linkSubTime) {
    return WithLink("SolidLink_GetTime", target, operatorGuid, [&](const StoredSolidLink& l) {
        if (linkTime == nullptr) return APIERR_BADPARS;
        *linkTime = l.time;
        if (linkSubTime != nullptr) *linkSubTime = l.subTime;
        return NoError;
    });
}
GSErrCode T_SolidLink_GetOperation(const API_Guid* target, const API_Guid* operatorGuid, uint32_t* operation) {
    return WithLink("SolidLink_GetOperation", target, operatorGuid, [&](const StoredSolidLink& l) {
        if (operation == nullptr) return APIERR_BADPARS;
        *operation = l.operation;
        return NoError;
    });
}
GSErrCode T_SolidLink_GetFlags(const API_Guid* target, const API_Guid* operatorGuid, uint32_t* linkFlags) {
    return WithLink("SolidLink_GetFlags", target, operatorGuid, [&](const StoredSolidLink& l) {
        if (linkFlags == nullptr) return APIERR_BADPARS;
        *linkFlags = l.flags;
        return NoError;
    });
}

std::string PointText(const API_Coord3D& p) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "(%g, %g, %g)", p.x, p.y, p.z);
    return buf;
}

// The feedback function of an input record (optional second record).
bool InputFeedback(StandinHost& host, const API_SelectorCall* call, uint32_t recordSize,
                   API_RubberLineInputProc** feedback) {
    const uint32_t second = call->par2 != nullptr ? uint32_t(sizeof(API_RubberLineInputProc*)) : 0;
    if (!host.CheckSelectorRecord("Interface", call, recordSize, second)) return false;
    *feedback = call->par2 != nullptr ? *static_cast<API_RubberLineInputProc**>(call->par2) : nullptr;
    return true;
}

void LogInput(StandinHost& host, GSErrCode err) {
    InteractiveInput& in = host.Input();
    if (in.Inputs().empty()) return;
    const InteractiveInput::InputRecord& r = in.Inputs().back();
    std::string text = "  host: " + r.kind + " input \"" + r.prompt + "\" -> ";
    if (err != NoError) {
        text += ErrorText(err);
    } else {
        text += PointText(r.pos);
        if (r.picked != APINULLGuid) text += " on " + GuidText(r.picked);
    }
    if (!in.LastNote().empty()) text += " (" + in.LastNote() + ")";
    host.Log(text);
}
}  // namespace

bool InteractionInterface(StandinHost& host, const API_SelectorCall* call, GSErrCode* result) {
    InteractiveInput& in = host.Input();
    API_RubberLineInputProc* feedback = nullptr;
    switch (call->selector) {
        case APIIo_GetPointID.code:
            if (!InputFeedback(host, call, sizeof(API_GetPointType), &feedback)) {
                *result = APIERR_BADPARS;
                return true;
            }
            *result = in.GetPoint(static_cast<API_GetPointType*>(call->par1), feedback);
            LogInput(host, *result);
            return true;
        case APIIo_GetLineID.code:
            if (!InputFeedback(host, call, sizeof(API_GetLineType), &feedback)) {
                *result = APIERR_BADPARS;
                return true;
            }
            *result = in.GetLine(static_cast<API_GetLineType*>(call->par1), feedback);
            LogInput(host, *result);
            return true;
        case APIIo_GetPolyID.code:
            if (!InputFeedback(host, call, sizeof(API_GetPolyType), &feedback)) {
                *result = APIERR_BADPARS;
                return true;
            }
            *result = in.GetPoly(static_cast<API_GetPolyType*>(call->par1), feedback);
            LogInput(host, *result);
            return true;
        case APIIo_DrawRubberLineID.code:
            *result = host.CheckSelectorRecord("Interface", call, sizeof(API_RubberLineType), 0)
                ? in.DrawRubberLine(*static_cast<const API_RubberLineType*>(call->par1))
                : APIERR_BADPARS;
            if (*result != NoError) host.Log("  host: 'DRLI' refused: " + in.LastNote());
            return true;
        case APIIo_InitNeigFilterID.code:
            *result = host.CheckSelectorRecord("Interface", call, sizeof(API_NeigFilter), sizeof(int32_t))
                ? in.InitFilter(static_cast<API_NeigFilter*>(call->par1), *static_cast<const int32_t*>(call->par2))
                : APIERR_BADPARS;
            return true;
        case APIIo_SetNeigFilterID.code:
            *result = host.CheckSelectorRecord("Interface", call, sizeof(API_NeigFilter), sizeof(API_NeigID))
                ? in.AddToFilter(static_cast<API_NeigFilter*>(call->par1), *static_cast<const API_NeigID*>(call->par2))
                : APIERR_BADPARS;
            return true;
        default: return false;
    }
}

bool InteractionDatabase(StandinHost& host, const API_SelectorCall* call, GSErrCode* result) {
    if (call->selector != APIDb_GetElementInfoStringID.code) return false;
    if (!host.CheckSelectorRecord("Database", call, sizeof(API_Guid), sizeof(GS::UniString))) {
        *result = APIERR_BADPARS;
        return true;
    }
    const StoredElement* e = host.Database().Find(*static_cast<const API_Guid*>(call->par1));
    auto* text = static_cast<GS::UniString*>(call->par2);
    if (e == nullptr) {
        *result = APIERR_BADID;
        return true;
    }
    *text = e->memo.elemInfoString ? GS::UniString(*e->memo.elemInfoString) : GS::UniString();
    *result = NoError;
    return true;
}

const std::vector<std::string>& InteractionFunctionNames() { return kNames; }

void InstallInteractionFunctions(API_HostFunctionTable* table) {
    table->Notify_GetTranParams = T_Notify_GetTranParams;
    table->Notify_GetParentElement = T_Notify_GetParentElement;
    table->Element_AttachObserver = T_Element_AttachObserver;
    table->Element_DetachObserver = T_Element_DetachObserver;
    table->SolidLink_Create = T_SolidLink_Create;
    table->SolidLink_Remove = T_SolidLink_Remove;
    table->SolidLink_GetOperators = T_SolidLink_GetOperators;
    table->SolidLink_GetTargets = T_SolidLink_GetTargets;
    table->SolidLink_GetTime = T_SolidLink_GetTime;
    table->SolidLink_GetOperation = T_SolidLink_GetOperation;
    table->SolidLink_GetFlags = T_SolidLink_GetFlags;
}
