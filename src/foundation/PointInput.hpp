#pragma once
// Interactive point and line input: the host's input records filled from the tools' arguments, the host's point
// ('IPOI') and line ('ILIN') input run with them, and the rubber line drawn from the first point to the cursor
// while the second point is being chosen.
//
// A cancelled input answers the host's APIERR_CANCEL (the caller ends its command without a message); every
// output the input did not get to stays zero.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIInteraction.hpp"

#include <cstdint>

// The one feedback record of the module: where the rubber line starts, the line value it is drawn with, and a
// further feedback function called with the cursor after the line is drawn.
struct InputFeedbackRecord {
    API_Coord3D lastPoint;
    uint32_t lineValue;
    API_RubberLineInputProc* chainedFeedback;
};
extern InputFeedbackRecord InputFeedback;

// Every point and value zero, lineValue 1, no chained feedback.
void ResetInputFeedback();

// Filling the host's input records. Each zeroes its record first; an empty prompt leaves the prompt field empty,
// a prompt is written in the system code page and cut to the field without splitting a character. Optional parts
// are copied (and their flag set) only when given; the point record's two guide points only together.
// Element filter (point and line records): with `filterIds` the filter is initialised ('INFI') with `filterMode`
// (1 when it is -1) and every id is added in order ('SNFI'), also for an empty list; without ids but with a mode
// other than -1 it is initialised with that mode; otherwise it stays off. The host's answer to a filter call is
// returned (0 when all went well); the record is filled in any case.
GSErrCode FillPointInputRecord(API_GetPointType& record, const QV_String& prompt, const API_InputPlane* plane,
                               const API_Coord3D* guideA, const API_Coord3D* guideB, const QV_List<int32_t>* filterIds,
                               int16_t filterMode);
GSErrCode FillLineInputRecord(API_GetLineType& record, const QV_String& prompt, const API_InputPlane* plane,
                              uint8_t passFlag, const API_Coord3D* guide, const API_Coord3D& start,
                              const QV_List<int32_t>* filterIds, int16_t filterMode);
void FillPolyInputRecord(API_GetPolyType& record, const QV_String& prompt, const API_InputPlane* plane,
                         const API_Coord3D* guide, uint8_t passFlag, uint32_t method, const API_Coord3D& start);
// The eight prompt indexes, the rest of the record zero.
void FillEightIntRecord(API_InputPromptRecord& record, const uint32_t (&indexes)[8]);

// One clicked point and the element picked with it (both zeroed first). With `reset` the feedback record is
// reset first; `chainedFeedback`, when given, becomes the record's chained feedback (without reset and without
// it, the one stored earlier stays). `rubberCallback` is handed to the host with the input. A failing filter call
// or input answers its host error at once, with the outputs zero.
GSErrCode GetPointFromUser(API_Coord3D& point, API_Neig& neig, const QV_String& prompt, const API_InputPlane* plane,
                           const API_Coord3D* guideA, const API_Coord3D* guideB, const QV_List<int32_t>* filterIds,
                           int16_t filterMode, API_RubberLineInputProc* rubberCallback,
                           API_RubberLineInputProc* chainedFeedback, bool reset);

// A line of two clicks. The first click is a point input with the first arguments (a failure answers at once, all
// outputs zero). When the second click has a rubber callback, the rubber line starts at the first point; its
// chained feedback, when given, replaces the first one. The second click is a line input from the first point;
// when it fails its error is answered with `start` and `startNeig` kept.
GSErrCode GetLineFromUser(API_Coord3D& start, API_Coord3D& end, API_Neig& startNeig, API_Neig& endNeig,
                          const QV_String& prompt1, const API_InputPlane* plane1, const API_Coord3D* guideA1,
                          const API_Coord3D* guideB1, const QV_List<int32_t>* filterIds1, int16_t filterMode1,
                          API_RubberLineInputProc* rubberCallback1, API_RubberLineInputProc* chainedFeedback1,
                          const QV_String& prompt2, const API_InputPlane* plane2, uint8_t passFlag2,
                          const API_Coord3D* guide2, const QV_List<int32_t>* filterIds2, int16_t filterMode2,
                          API_RubberLineInputProc* rubberCallback2, API_RubberLineInputProc* chainedFeedback2,
                          bool reset);

// The rubber-line feedback: draws the line from the record's lastPoint to the cursor ('DRLI') with its line
// value, then calls the chained feedback with the cursor.
void DrawRubberLineFeedback(const API_Coord3D* cursor);
