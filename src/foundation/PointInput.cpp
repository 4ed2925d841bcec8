#include "foundation/PointInput.hpp"

#include "foundation/ACAPI.hpp"

#include "CH.hpp"

#include <cstring>

InputFeedbackRecord InputFeedback = {{0.0, 0.0, 0.0}, 1, nullptr};

void ResetInputFeedback() {
    InputFeedback.lastPoint = {0.0, 0.0, 0.0};
    InputFeedback.lineValue = 1;
    InputFeedback.chainedFeedback = nullptr;
}

namespace {
// The prompt in the system code page, cut to the field by the host.
void WritePrompt(char (&field)[256], const QV_String& prompt) {
    field[0] = '\0';
    if (prompt.IsEmpty()) return;
    MultiByteBuffer bytes = prompt.ToMultiByte(Encoding_System);
    if (bytes.bytes == nullptr) return;
    CHTruncate(bytes.bytes, field, GSSize(sizeof field));
    GS::MemoryManager::Free(bytes.bytes);
}

// The element filter of a point or line record; the first host error of the filter calls.
GSErrCode FillFilter(uint8_t& flag, API_NeigFilter& filter, const QV_List<int32_t>* filterIds, int16_t filterMode) {
    if (filterIds == nullptr && filterMode == -1) return NoError;
    flag = 1;
    int32_t mode = filterMode;
    if (filterIds != nullptr && mode == -1) mode = 1;
    GSErrCode err = ACAPI_Interface(APIIo_InitNeigFilterID, &filter, &mode);
    if (filterIds == nullptr) return err;
    for (int32_t i = 0; i < filterIds->GetCount(); ++i) {
        API_NeigID id = (*filterIds)[i];
        const GSErrCode e = ACAPI_Interface(APIIo_SetNeigFilterID, &filter, &id);
        if (err == NoError) err = e;
    }
    return err;
}

// Step 1 of both inputs: reset, then the chained feedback.
void TakeFeedback(bool reset, API_RubberLineInputProc* chainedFeedback) {
    if (reset) ResetInputFeedback();
    if (chainedFeedback != nullptr) InputFeedback.chainedFeedback = chainedFeedback;
}
}  // namespace

GSErrCode FillPointInputRecord(API_GetPointType& record, const QV_String& prompt, const API_InputPlane* plane,
                               const API_Coord3D* guideA, const API_Coord3D* guideB, const QV_List<int32_t>* filterIds,
                               int16_t filterMode) {
    std::memset(&record, 0, sizeof record);
    WritePrompt(record.prompt, prompt);
    if (plane != nullptr) {
        record.changePlane = 1;
        record.plane = *plane;
    }
    if (guideA != nullptr && guideB != nullptr) {
        record.enableGuides = 1;
        record.guideA = *guideA;
        record.guideB = *guideB;
    }
    return FillFilter(record.changeFilter, record.filter, filterIds, filterMode);
}

namespace {
// Line and polygon input share the optional input plane and guide.
template <typename InputRecord>
void SetPlaneAndGuide(InputRecord& record, const API_InputPlane* plane, const API_Coord3D* guide) {
    if (plane != nullptr) {
        record.changePlane = 1;
        record.plane = *plane;
    }
    if (guide != nullptr) {
        record.enableGuide = 1;
        record.guide = *guide;
    }
}
}  // namespace

GSErrCode FillLineInputRecord(API_GetLineType& record, const QV_String& prompt, const API_InputPlane* plane,
                              uint8_t passFlag, const API_Coord3D* guide, const API_Coord3D& start,
                              const QV_List<int32_t>* filterIds, int16_t filterMode) {
    std::memset(&record, 0, sizeof record);
    WritePrompt(record.prompt, prompt);
    SetPlaneAndGuide(record, plane, guide);
    record.passFlag = passFlag;
    record.startCoord = start;
    return FillFilter(record.changeFilter, record.filter, filterIds, filterMode);
}

void FillPolyInputRecord(API_GetPolyType& record, const QV_String& prompt, const API_InputPlane* plane,
                         const API_Coord3D* guide, uint8_t passFlag, uint32_t method, const API_Coord3D& start) {
    std::memset(&record, 0, sizeof record);
    WritePrompt(record.prompt, prompt);
    SetPlaneAndGuide(record, plane, guide);
    record.passFlag = passFlag;
    record.method = method;
    record.startCoord = start;
}

void FillEightIntRecord(API_InputPromptRecord& record, const uint32_t (&indexes)[8]) {
    std::memset(&record, 0, sizeof record);
    for (int i = 0; i < 8; ++i) record.indexes[i] = indexes[i];
}

GSErrCode GetPointFromUser(API_Coord3D& point, API_Neig& neig, const QV_String& prompt, const API_InputPlane* plane,
                           const API_Coord3D* guideA, const API_Coord3D* guideB, const QV_List<int32_t>* filterIds,
                           int16_t filterMode, API_RubberLineInputProc* rubberCallback,
                           API_RubberLineInputProc* chainedFeedback, bool reset) {
    TakeFeedback(reset, chainedFeedback);
    std::memset(&point, 0, sizeof point);
    std::memset(&neig, 0, sizeof neig);
    API_GetPointType record;
    GSErrCode err = FillPointInputRecord(record, prompt, plane, guideA, guideB, filterIds, filterMode);
    if (err != NoError) return err;
    err = ACAPI_Interface(APIIo_GetPointID, &record, rubberCallback != nullptr ? &rubberCallback : nullptr);
    if (err != NoError) return err;
    point = record.pos;
    neig = record.neig;
    return NoError;
}

GSErrCode GetLineFromUser(API_Coord3D& start, API_Coord3D& end, API_Neig& startNeig, API_Neig& endNeig,
                          const QV_String& prompt1, const API_InputPlane* plane1, const API_Coord3D* guideA1,
                          const API_Coord3D* guideB1, const QV_List<int32_t>* filterIds1, int16_t filterMode1,
                          API_RubberLineInputProc* rubberCallback1, API_RubberLineInputProc* chainedFeedback1,
                          const QV_String& prompt2, const API_InputPlane* plane2, uint8_t passFlag2,
                          const API_Coord3D* guide2, const QV_List<int32_t>* filterIds2, int16_t filterMode2,
                          API_RubberLineInputProc* rubberCallback2, API_RubberLineInputProc* chainedFeedback2,
                          bool reset) {
    TakeFeedback(reset, chainedFeedback1);
    std::memset(&start, 0, sizeof start);
    std::memset(&end, 0, sizeof end);
    std::memset(&startNeig, 0, sizeof startNeig);
    std::memset(&endNeig, 0, sizeof endNeig);

    // The first click: a point input of its own (the feedback record was taken care of above).
    API_GetPointType first;
    GSErrCode err = FillPointInputRecord(first, prompt1, plane1, guideA1, guideB1, filterIds1, filterMode1);
    if (err != NoError) return err;
    err = ACAPI_Interface(APIIo_GetPointID, &first, rubberCallback1 != nullptr ? &rubberCallback1 : nullptr);
    if (err != NoError) return err;
    start = first.pos;
    startNeig = first.neig;

    if (rubberCallback2 != nullptr) InputFeedback.lastPoint = start;
    if (chainedFeedback2 != nullptr) InputFeedback.chainedFeedback = chainedFeedback2;

    API_GetLineType second;
    err = FillLineInputRecord(second, prompt2, plane2, passFlag2, guide2, start, filterIds2, filterMode2);
    if (err != NoError) return err;
    err = ACAPI_Interface(APIIo_GetLineID, &second, rubberCallback2 != nullptr ? &rubberCallback2 : nullptr);
    if (err != NoError) return err;
    end = second.pos;
    endNeig = second.neig;
    return NoError;
}

void DrawRubberLineFeedback(const API_Coord3D* cursor) {
    if (cursor == nullptr) return;
    API_RubberLineType line;
    std::memset(&line, 0, sizeof line);
    line.begC = InputFeedback.lastPoint;
    line.endC = *cursor;
    line.lineValue = int32_t(InputFeedback.lineValue);
    ACAPI_Interface(APIIo_DrawRubberLineID, &line);
    if (InputFeedback.chainedFeedback != nullptr) InputFeedback.chainedFeedback(cursor);
}
