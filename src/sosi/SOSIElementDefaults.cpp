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

bool IsSolidFill(int32_t index) {
    API_Attribute fill;
    std::memset(static_cast<void*>(&fill), 0, sizeof fill);
    fill.header.typeID = API_FilltypeID;
    fill.header.index = index;
    return ACAPI_Attribute_Get(&fill) == NoError && fill.filltype.fillKind == APIFillKind_Solid;
}

}  // namespace

SOSIBuildState& SOSIOutputState() {
    static SOSIBuildState state;
    return state;
}

int16_t ChooseSOSISurfaceFill() {
    if (IsSolidFill(PreferredFill)) return PreferredFill;
    int32_t missing = 0;
    for (int32_t index = 1; index <= 32767 && missing < FillProbeGap; ++index) {
        API_Attribute fill;
        std::memset(static_cast<void*>(&fill), 0, sizeof fill);
        fill.header.typeID = API_FilltypeID;
        fill.header.index = index;
        if (ACAPI_Attribute_Get(&fill) != NoError) {
            ++missing;
            continue;
        }
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

    if (input.importMode == SOSIModeTerrain) {
        d.hotspot.hotspot.pen = input.options.pen;
        // Values never set keep the host's.
        if ((choices.lineValues[0] & 0xFFFF) != 0) d.line.line.pen = int16_t(choices.lineValues[0] & 0xFFFF);
        if ((choices.lineValues[1] & 0xFFFF) != 0) d.line.line.ltypeInd = int16_t(choices.lineValues[1] & 0xFFFF);
    }
    return true;
}
