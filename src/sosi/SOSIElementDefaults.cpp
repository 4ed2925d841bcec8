#include "sosi/SOSIOutputSteps.hpp"

#include "elements/StoryHelpers.hpp"
#include "foundation/ACAPI.hpp"

#include <cstring>

namespace {

constexpr int16_t PreferredFill = 65;
// Fill indexes are probed up to this many missing ones in a row: the host gives no count.
constexpr int32_t FillProbeGap = 256;

bool FetchDefault(API_Element& record, API_ElemTypeID type) {
    std::memset(static_cast<void*>(&record), 0, sizeof record);
    record.header.typeID = type;
    return ACAPI_Element_GetDefaults(&record, nullptr) == NoError;
}

// The fill of an index: NoError, APIERR_BADINDEX when there is none, any other error when the host refuses.
GSErrCode GetFill(int32_t index, API_Attribute& fill) {
    std::memset(static_cast<void*>(&fill), 0, sizeof fill);
    fill.header.typeID = API_FilltypeID;
    fill.header.index = index;
    return ACAPI_Attribute_Get(&fill);
}

}  // namespace

SOSIBuildState& SOSIOutputState() {
    static SOSIBuildState state;
    return state;
}

int16_t ChooseSOSISurfaceFill() {
    // A refused lookup is not a missing fill: surfaces filled with another fill than the project offers would
    // pass unnoticed.
    API_Attribute fill;
    GSErrCode err = GetFill(PreferredFill, fill);
    if (err == NoError && fill.filltype.fillKind == APIFillKind_Solid) return PreferredFill;
    if (err != NoError && err != APIERR_BADINDEX) return 0;
    int32_t missing = 0;
    for (int32_t index = 1; index <= 32767 && missing < FillProbeGap; ++index) {
        err = GetFill(index, fill);
        if (err == APIERR_BADINDEX) {
            ++missing;
            continue;
        }
        if (err != NoError) return 0;
        missing = 0;
        if (fill.filltype.fillKind == APIFillKind_Solid) return int16_t(index);
    }
    return PreferredFill;
}

bool PrepareSOSIElementDefaults(const SOSIOutputInput& input, const SOSIOutputChoices& choices) {
    SOSIElementDefaults& d = SOSIOutputState().defaults;
    API_Element* const records[] = {&d.hotspot, &d.line, &d.arc, &d.circle, &d.text, &d.polyLine, &d.spline, &d.hatch};
    const API_ElemTypeID types[] = {API_HotspotID, API_LineID,     API_ArcID,    API_CircleID,
                                    API_TextID,    API_PolyLineID, API_SplineID, API_HatchID};
    for (size_t i = 0; i < sizeof types / sizeof types[0]; ++i)
        if (!FetchDefault(*records[i], types[i])) return false;

    // Worksheets have no stories: there the host's record stays as it is.
    if (input.importMode != SOSIModeWorksheet) {
        const int16_t story = GetCurrentStory();
        for (API_Element* r : records) r->header.floorInd = story;
    }
    // New elements join no group of the defaults and start flat.
    for (API_Element* r : records) r->header.groupGuid = APINULLGuid;
    d.hotspot.hotspot.height = 0.0;
    d.text.text.angle = 0.0;
    d.arc.arc.mainAxisDir = 0.0;
    d.circle.arc.mainAxisDir = 0.0;
    d.circle.arc.whole = 1;
    d.hatch.hatch.fillInd = ChooseSOSISurfaceFill();
    if (d.hatch.hatch.fillInd == 0) return false;

    if (input.importMode == SOSIModeTerrain) {
        d.hotspot.hotspot.pen = input.options.pen;
        // Values never set keep the host's.
        if ((choices.lineValues[0] & 0xFFFF) != 0) d.line.line.pen = int16_t(choices.lineValues[0] & 0xFFFF);
        if ((choices.lineValues[1] & 0xFFFF) != 0) d.line.line.ltypeInd = int16_t(choices.lineValues[1] & 0xFFFF);
    }
    return true;
}
