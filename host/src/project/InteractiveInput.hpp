#pragma once
// The user's clicks in the plan window: a queue of clicks that the host's interactive input ('IPOI' point,
// 'ILIN' line, 'IPOL' polygon) answers from, the element-kind filters of the inputs ('INFI', 'SNFI') and the
// rubber lines drawn while an input runs ('DRLI').
//
// Each input takes clicks from the front of the queue. A click is a point, optionally with the element under it
// and the part of it that was hit (a side or vertex index, from 1). Before an input answers, it calls the
// input's feedback function once with every click point it takes, as the host does while the cursor moves.
// A cancel entry, or an empty queue, ends the input with APIERR_CANCEL and leaves its results zero. Between two
// clicks the user reaches the open palettes: the actions queued for them before a click are delivered before the
// input takes it. A polygon
// input ends when a click returns to its start point or at a "done" entry.
//
// An element under a click is picked only when it still exists, lies on a shown layer and, when the input has
// a filter, its selection-record kind is in the filter; otherwise the click gives its point alone.
// A picked hotspot is reported with the point kind (APINeig_ElemPoint), any other element with its selection kind.
//
// Palette edits and clicks keep the script's order: the dialog actions queued before a click reach the open
// modeless windows just before the click is taken; an 'INCA' they cause ("Done") cancels the waiting input.
#include "APIInteraction.hpp"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class ProjectDatabase;

struct QueuedClick {
    enum Kind { Point, Cancel, Done } kind = Point;
    API_Coord3D point = {};
    API_Guid element = {};    // the element under the click (null: none)
    std::string elementName;  // or its name, looked up when the click is used
    int32_t partIndex = 0;    // the hit side or vertex of the element, from 1 (0: the element as a whole)
    // The dialog actions queued before this click (their stamps are lower) reach the open modeless windows before
    // the click is taken, so palette edits and clicks keep the order the user made them in. 0: none held back.
    uint64_t stamp = 0;
    int scriptLine = 0;  // the script line that queued it (0: none)
};

class InteractiveInput {
public:
    explicit InteractiveInput(ProjectDatabase& database) : database_(database) {}

    void QueueClick(const QueuedClick& click);
    void QueuePoint(double x, double y, double z = 0.0);
    void QueueCancel();
    // 'INCA': the input that waits for its next click ends cancelled (the clicks queued stay for later inputs);
    // with no input running there is nothing to cancel. False then.
    bool CancelPending();
    void QueueDone();
    size_t PendingClicks() const { return queue_.size(); }
    const std::deque<QueuedClick>& Queued() const { return queue_; }
    void ClearQueue() { queue_.clear(); }

    // The selector calls; `feedback` may be null.
    GSErrCode GetPoint(API_GetPointType* record, API_RubberLineInputProc* feedback);
    GSErrCode GetLine(API_GetLineType* record, API_RubberLineInputProc* feedback);
    GSErrCode GetPoly(API_GetPolyType* record, API_RubberLineInputProc* feedback);
    GSErrCode DrawRubberLine(const API_RubberLineType& line);
    GSErrCode InitFilter(API_NeigFilter* filter, int32_t mode);
    GSErrCode AddToFilter(API_NeigFilter* filter, API_NeigID kind);
    static bool FilterHas(const API_NeigFilter& filter, API_NeigID kind);

    // What the inputs showed and answered, in order.
    struct InputRecord {
        std::string kind;    // "point", "line", "polygon"
        std::string prompt;  // UTF-8
        GSErrCode result = NoError;
        API_Coord3D pos = {};
        API_Guid picked = {};
        int32_t partIndex = 0;
        bool filtered = false;  // the input had a filter
        int32_t feedbackCalls = 0;
    };
    const std::vector<InputRecord>& Inputs() const { return inputs_; }
    const std::vector<API_RubberLineType>& RubberLines() const { return rubberLines_; }
    bool InputRunning() const { return running_; }
    // Why the latest call was refused or what went wrong with a click ("" none).
    const std::string& LastNote() const { return note_; }
    void ClearRecords();

private:
    // Takes the next click; false (cancel) when the queue is empty or holds a cancel entry.
    bool NextClick(QueuedClick* click);
    // The neig of the element under the click, or zero.
    API_Neig PickedNeig(const QueuedClick& click, bool useFilter, const API_NeigFilter& filter);
    void Feedback(API_RubberLineInputProc* feedback, const API_Coord3D& point, InputRecord& record);
    // Point and line input answer alike: one click, its point and the element under it.
    template <typename InputType>
    GSErrCode GetClick(const char* kind, InputType* record, API_RubberLineInputProc* feedback);

    ProjectDatabase& database_;
    std::deque<QueuedClick> queue_;
    std::vector<InputRecord> inputs_;
    std::vector<API_RubberLineType> rubberLines_;
    bool running_ = false;
    bool waiting_ = false;          // an input is taking its next click
    bool cancelRequested_ = false;  // 'INCA' came while it did
    std::string note_;
};

// Prompt bytes (system code page) of an input record as UTF-8, up to the first NUL inside the field.
std::string InputPromptText(const char* field, size_t size);
