#include "project/InteractiveInput.hpp"

#include "DGDriver.hpp"
#include "GSRoot.hpp"
#include "UniString.hpp"
#include "Win32.hpp"
#include "project/ElementTypes.hpp"
#include "project/ProjectDatabase.hpp"

#include <cmath>
#include <cstring>

namespace {
// A click this close to the start point closes a polygon.
constexpr double kCloseTolerance = 1e-6;

bool SamePlanPoint(const API_Coord3D& a, const API_Coord3D& b) {
    return std::fabs(a.x - b.x) <= kCloseTolerance && std::fabs(a.y - b.y) <= kCloseTolerance;
}

// The feedback function runs inside the input; an exception must not unwind through the host.
void CallFeedback(API_RubberLineInputProc* feedback, const API_Coord3D& point) {
    try {
        feedback(&point);
    } catch (...) {
    }
}
}  // namespace

std::string InputPromptText(const char* field, size_t size) {
    const size_t n = strnlen(field, size);
    if (n == 0) return std::string();
    std::u16string wide(n + 1, u'\0');
    const int32_t units = MultiByteToWideChar(CP_ACP, 0, field, int32_t(n), wide.data(), int32_t(wide.size()));
    if (units <= 0) return std::string(field, n);
    wide.resize(size_t(units));
    return GS::UniString(wide).ToUtf8();
}

void InteractiveInput::QueueClick(const QueuedClick& click) {
    queue_.push_back(click);
    if (queue_.back().stamp == 0) queue_.back().stamp = DGDriver::NextStamp();
}

void InteractiveInput::QueuePoint(double x, double y, double z) {
    QueuedClick c;
    c.point = {x, y, z};
    QueueClick(c);
}

void InteractiveInput::QueueCancel() {
    QueuedClick c;
    c.kind = QueuedClick::Cancel;
    QueueClick(c);
}

void InteractiveInput::QueueDone() {
    QueuedClick c;
    c.kind = QueuedClick::Done;
    QueueClick(c);
}

bool InteractiveInput::CancelPending() {
    if (!waiting_ && !running_) return false;
    cancelRequested_ = true;
    return true;
}

void InteractiveInput::ClearRecords() {
    inputs_.clear();
    rubberLines_.clear();
    note_.clear();
}

bool InteractiveInput::NextClick(QueuedClick* click) {
    if (queue_.empty()) {
        note_ = "no click is queued: the input is cancelled";
        return false;
    }
    // What the user did in the palettes before this click happens first; a "Done" there cancels the input.
    const uint64_t stamp = queue_.front().stamp;
    if (stamp != 0) {
        waiting_ = true;
        DGDriver::DeliverModelessActions(stamp);
        waiting_ = false;
    }
    if (cancelRequested_) {
        cancelRequested_ = false;
        note_ = "the input is cancelled ('INCA')";
        return false;
    }
    if (queue_.empty()) {
        note_ = "no click is queued: the input is cancelled";
        return false;
    }
    *click = queue_.front();
    queue_.pop_front();
    if (click->kind == QueuedClick::Cancel) {
        note_ = "the user cancels the input";
        return false;
    }
    return true;
}

bool InteractiveInput::FilterHas(const API_NeigFilter& filter, API_NeigID kind) {
    if (kind < 0 || kind > 255) return false;
    return (filter.bits[kind / 8] >> (kind % 8)) & 1;
}

GSErrCode InteractiveInput::InitFilter(API_NeigFilter* filter, int32_t mode) {
    if (filter == nullptr) return APIERR_BADPARS;
    if (mode != APIInitNeigFilter_Full && mode != APIInitNeigFilter_Empty) {
        note_ = "unknown filter mode " + std::to_string(mode);
        return APIERR_BADPARS;
    }
    std::memset(filter->bits, mode == APIInitNeigFilter_Full ? 0xFF : 0x00, sizeof filter->bits);
    return NoError;
}

GSErrCode InteractiveInput::AddToFilter(API_NeigFilter* filter, API_NeigID kind) {
    if (filter == nullptr) return APIERR_BADPARS;
    if (kind < 0 || kind > 255) {
        note_ = "no selection-record kind " + std::to_string(kind);
        return APIERR_BADPARS;
    }
    filter->bits[kind / 8] = uint8_t(filter->bits[kind / 8] | (1u << (kind % 8)));
    return NoError;
}

API_Neig InteractiveInput::PickedNeig(const QueuedClick& click, bool useFilter, const API_NeigFilter& filter) {
    API_Neig neig = {};
    API_Guid guid = click.element;
    if (!click.elementName.empty() && !database_.FindByName(click.elementName, &guid)) {
        note_ = "no element is named " + click.elementName + ": the click picks nothing";
        return neig;
    }
    if (guid == APINULLGuid) return neig;
    const StoredElement* e = database_.Find(guid);
    if (e == nullptr) {
        note_ = "the element under the click is gone: the click picks nothing";
        return neig;
    }
    const API_Attribute* layer = database_.Attribute(API_LayerID, e->record.header.layer);
    if (layer != nullptr && (layer->header.flags & APILay_Hidden) != 0) {
        note_ = "the element under the click is on a hidden layer: the click picks nothing";
        return neig;
    }
    const API_NeigID kind = APINeigIDOfElemType(e->record.header.typeID);
    if (kind == APINeig_None || (useFilter && !FilterHas(filter, kind))) {
        note_ = "the input's filter does not take a " + ElementTypeName(e->record.header.typeID);
        return neig;
    }
    // A point element is hit as a point, not as a selection.
    neig.neigID = e->record.header.typeID == API_HotspotID ? APINeig_ElemPoint : kind;
    neig.guid = guid;
    neig.inIndex = click.partIndex;
    neig.flags = click.partIndex == 0 ? APINeigFlg_Whole : 0;
    return neig;
}

void InteractiveInput::Feedback(API_RubberLineInputProc* feedback, const API_Coord3D& point, InputRecord& record) {
    if (feedback == nullptr) return;
    ++record.feedbackCalls;
    CallFeedback(feedback, point);
}

template <typename InputType>
GSErrCode InteractiveInput::GetClick(const char* kind, InputType* record, API_RubberLineInputProc* feedback) {
    if (record == nullptr) return APIERR_BADPARS;
    note_.clear();
    cancelRequested_ = false;
    InputRecord rec;
    rec.kind = kind;
    rec.prompt = InputPromptText(record->prompt, sizeof record->prompt);
    rec.filtered = record->changeFilter != 0;
    std::memset(&record->pos, 0, sizeof record->pos);
    std::memset(&record->neig, 0, sizeof record->neig);
    QueuedClick click;
    if (!NextClick(&click)) {
        rec.result = APIERR_CANCEL;
        inputs_.push_back(rec);
        return APIERR_CANCEL;
    }
    running_ = true;
    Feedback(feedback, click.point, rec);
    running_ = false;
    record->pos = click.point;
    record->neig = PickedNeig(click, record->changeFilter != 0, record->filter);
    rec.pos = record->pos;
    rec.picked = record->neig.guid;
    rec.partIndex = record->neig.inIndex;
    inputs_.push_back(rec);
    return NoError;
}

GSErrCode InteractiveInput::GetPoint(API_GetPointType* record, API_RubberLineInputProc* feedback) {
    return GetClick("point", record, feedback);
}

GSErrCode InteractiveInput::GetLine(API_GetLineType* record, API_RubberLineInputProc* feedback) {
    return GetClick("line", record, feedback);
}

GSErrCode InteractiveInput::GetPoly(API_GetPolyType* record, API_RubberLineInputProc* feedback) {
    if (record == nullptr) return APIERR_BADPARS;
    note_.clear();
    cancelRequested_ = false;
    InputRecord rec;
    rec.kind = "polygon";
    rec.prompt = InputPromptText(record->prompt, sizeof record->prompt);
    record->nCoords = 0;
    record->nArcs = 0;
    record->coords = nullptr;
    record->parcs = nullptr;
    record->zCoords = nullptr;
    const bool open = record->method == APIPolyInput_Polyline;
    const size_t fewest = open ? 2 : 3;
    std::vector<API_Coord3D> points{record->startCoord};
    running_ = true;
    bool closed = false;
    std::string tooFew;  // the user finished too early: the real cause when the clicks then run out
    for (;;) {
        QueuedClick click;
        if (!NextClick(&click)) {
            if (!tooFew.empty()) note_ = tooFew + "; " + note_;
            running_ = false;
            rec.result = APIERR_CANCEL;
            inputs_.push_back(rec);
            return APIERR_CANCEL;
        }
        if (click.kind == QueuedClick::Done) {
            if (points.size() >= fewest) break;
            tooFew = "the polygon was finished with " + std::to_string(points.size()) + " point(s), fewer than the " +
                std::to_string(fewest) + " it needs, so the input went on";
            note_ = tooFew;
            continue;
        }
        Feedback(feedback, click.point, rec);
        if (SamePlanPoint(click.point, points.front())) {
            if (points.size() >= fewest) {
                closed = true;
                break;
            }
            continue;  // back on the start before there is a polygon
        }
        if (SamePlanPoint(click.point, points.back())) continue;  // a double click adds no point
        points.push_back(click.point);
    }
    running_ = false;
    if (!open || closed) points.push_back(points.front());
    const int32_t n = int32_t(points.size());
    GSHandle coords = BMAllocateHandle(GSSize((n + 1) * sizeof(API_Coord)), ALLOCATE_CLEAR, 0);
    GSHandle zs = BMAllocateHandle(GSSize((n + 1) * sizeof(double)), ALLOCATE_CLEAR, 0);
    GSHandle arcs = BMAllocateHandle(0, 0, 0);
    if (coords == nullptr || zs == nullptr || arcs == nullptr) {
        BMKillHandle(&coords);
        BMKillHandle(&zs);
        BMKillHandle(&arcs);
        rec.result = APIERR_MEMFULL;
        inputs_.push_back(rec);
        return APIERR_MEMFULL;
    }
    auto* c = reinterpret_cast<API_Coord*>(*coords);
    auto* z = reinterpret_cast<double*>(*zs);
    for (int32_t i = 0; i < n; ++i) {
        c[i + 1] = {points[size_t(i)].x, points[size_t(i)].y};
        z[i + 1] = points[size_t(i)].z;
    }
    record->nCoords = n;
    record->coords = reinterpret_cast<API_Coord**>(coords);
    record->zCoords = reinterpret_cast<double**>(zs);
    record->parcs = reinterpret_cast<API_PolyArc**>(arcs);
    rec.pos = points.back();
    inputs_.push_back(rec);
    return NoError;
}

GSErrCode InteractiveInput::DrawRubberLine(const API_RubberLineType& line) {
    if (!running_) {
        note_ = "a rubber line is drawn only while an input runs";
        return APIERR_GENERAL;
    }
    rubberLines_.push_back(line);
    return NoError;
}
