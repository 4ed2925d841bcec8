#include "project/InputCalls.hpp"

#include "HostCalls.hpp"
#include "LogNumber.hpp"
#include "project/Guids.hpp"
#include "project/InteractiveInput.hpp"
#include "project/ProjectDatabase.hpp"

#include <cstdio>

namespace {
constexpr GSErrCode APIERR_INPUTVIEW = GSErrCode(0x8106006eu);  // the current view does not allow this input

std::string PointText(const API_Coord3D& p) { return LogPoint(p.x, p.y, p.z); }

// The feedback function of an input record (optional second record).
bool InputFeedback(HostCalls& host, const API_SelectorCall* call, uint32_t recordSize,
                   API_RubberLineInputProc** feedback) {
    const uint32_t second = call->par2 != nullptr ? uint32_t(sizeof(API_RubberLineInputProc*)) : 0;
    if (!host.CheckSelectorRecord("Interface", call, recordSize, second)) return false;
    *feedback = call->par2 != nullptr ? *static_cast<API_RubberLineInputProc**>(call->par2) : nullptr;
    return true;
}

void LogInput(HostCalls& host, GSErrCode err) {
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

// Point, line and polygon input: the record, an optional feedback function, and the answer logged.
template <typename Record, GSErrCode (InteractiveInput::*Get)(Record*, API_RubberLineInputProc*)>
GSErrCode Input(HostCalls& host, const API_SelectorCall* call) {
    API_RubberLineInputProc* feedback = nullptr;
    if (!InputFeedback(host, call, sizeof(Record), &feedback)) return APIERR_BADPARS;
    const GSErrCode err = (host.Input().*Get)(static_cast<Record*>(call->par1), feedback);
    LogInput(host, err);
    return err;
}

// A polygon is drawn in a plan view; the 3D window refuses the input.
GSErrCode PolyInput(HostCalls& host, const API_SelectorCall* call) {
    API_WindowInfo front = {};
    host.Database().GetFrontWindow(&front);
    if (front.typeID == APIWind_3DModelID) {
        host.Log("  host: polygon input refused: the 3D window does not allow it");
        return APIERR_INPUTVIEW;
    }
    return Input<API_GetPolyType, &InteractiveInput::GetPoly>(host, call);
}

GSErrCode DrawRubberLine(HostCalls& host, const API_SelectorCall* call) {
    InteractiveInput& in = host.Input();
    const GSErrCode err = host.CheckSelectorRecord("Interface", call, sizeof(API_RubberLineType), 0)
        ? in.DrawRubberLine(*static_cast<const API_RubberLineType*>(call->par1))
        : APIERR_BADPARS;
    if (err != NoError) host.Log("  host: 'DRLI' refused: " + in.LastNote());
    return err;
}

GSErrCode InitFilter(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, sizeof(API_NeigFilter), sizeof(int32_t))) return APIERR_BADPARS;
    return host.Input().InitFilter(static_cast<API_NeigFilter*>(call->par1), *static_cast<const int32_t*>(call->par2));
}

GSErrCode AddToFilter(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, sizeof(API_NeigFilter), sizeof(API_NeigID))) return APIERR_BADPARS;
    return host.Input().AddToFilter(static_cast<API_NeigFilter*>(call->par1),
                                    *static_cast<const API_NeigID*>(call->par2));
}
GSErrCode CancelInput(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, 0, 0)) return APIERR_BADPARS;
    if (host.Input().CancelPending())
        host.Log("  host: pending input cancelled ('INCA')");
    else
        host.Log("  host: no input runs: nothing to cancel ('INCA')");
    return NoError;
}
}  // namespace

void InstallInputCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Interface, APIIo_GetPointID.code,
                    Input<API_GetPointType, &InteractiveInput::GetPoint>);
    set.AddSelector(SelectorFamily::Interface, APIIo_GetLineID.code,
                    Input<API_GetLineType, &InteractiveInput::GetLine>);
    set.AddSelector(SelectorFamily::Interface, APIIo_GetPolyID.code, PolyInput);
    set.AddSelector(SelectorFamily::Interface, APIIo_DrawRubberLineID.code, DrawRubberLine);
    set.AddSelector(SelectorFamily::Interface, APIIo_InitNeigFilterID.code, InitFilter);
    set.AddSelector(SelectorFamily::Interface, APIIo_SetNeigFilterID.code, AddToFilter);
    set.AddSelector(SelectorFamily::Interface, APIIo_CancelInputID.code, CancelInput);
}
