// The shapefile's terrain input placed: one hotspot per mesh coordinate and one line per kept constraint, each
// with its element data record. A placement that fails part-way takes back what it placed and the shape height it
// lowered: a failed import leaves the project as it was.
#include "elements/ActiveStory.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/ModelUpdate.hpp"
#include "fileio/PlacedElements.hpp"
#include "fileio/ShapeTerrainInput.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "settings/ProjectOffset.hpp"

#include "UniString.hpp"

#include <cstring>
#include <map>
#include <utility>

namespace {

constexpr int32_t WaitText = 4;

int32_t Place(ShapeImportData& data, API_Element& hotspot, API_Element& line, PlacedElements& placed) {
    const QV_List<SHPMeshCoord>& coords = data.meshCoords;
    GS::UniString phase;
    {
        QV_String text;
        GetResString(text, TitleTableBase + LanguageIndex, WaitText);
        phase = GS::UniString(text.GetBuffer(), text.GetLength());
    }
    int32_t maximum = coords.GetCount();
    ACAPI_Interface(APIIo_SetNextProcessPhaseID, &phase, &maximum);
    ElemDescriptor point;
    // One terrain point per position: a later coordinate there with another height is left out and its position
    // counted once, beside the places the thinning of point shapes counted. Coordinates of one height at one place
    // stay, as the terrain merges them alike.
    std::map<std::pair<double, double>, std::pair<double, bool>> heightAt;  // first height, counted
    for (int32_t i = 0; i < coords.GetCount(); ++i) {
        int32_t value = i + 1;
        ACAPI_Interface(APIIo_SetProcessValueID, &value);
        const SHPMeshCoord& c = coords[i];
        const auto [at, first] = heightAt.emplace(std::make_pair(c.x, c.y), std::make_pair(c.z, false));
        if (!first && at->second.first != c.z) {
            if (!at->second.second) ++data.mixedHeights;
            at->second.second = true;
            continue;
        }
        hotspot.hotspot.pos.x = c.x;
        hotspot.hotspot.pos.y = c.y;
        if (CreateElementWithMemo(&hotspot, nullptr, false) != NoError) return 0;
        placed.Add(hotspot.header.guid);
        if (ACAPI_Element_AttachObserver(hotspot.header.guid) != NoError) return 0;
        if (c.z < ProjectOffset.shapeHeight) ProjectOffset.shapeHeight = c.z;
        point.Reset();
        point.Value = c.z;
        point.Number = data.pointOptions.codeNumber;
        point.AppendNumber = 0;
        if (!ElemUserData_WriteRecord(point, ElemKind_Point, hotspot.header)) return 0;
    }
    maximum = data.validConstraints;
    ACAPI_Interface(APIIo_SetNextProcessPhaseID, &phase, &maximum);
    ElemDescriptor constraint;
    for (int32_t i = 0; i < data.validConstraints; ++i) {
        int32_t value = i + 1;
        ACAPI_Interface(APIIo_SetProcessValueID, &value);
        const SHPConstraintData& s = data.constraints[i];
        line.line.begC = API_Coord{coords[s.start].x, coords[s.start].y};
        line.line.endC = API_Coord{coords[s.end].x, coords[s.end].y};
        if (CreateElementWithMemo(&line, nullptr, false) != NoError) return 0;
        placed.Add(line.header.guid);
        if (ACAPI_Element_AttachObserver(line.header.guid) != NoError) return 0;
        constraint.Reset();
        if (!ElemUserData_WriteRecord(constraint, ElemKind_Constraint, line.header)) return 0;
    }
    return 1;
}

}  // namespace

int32_t CreateTerrainInputCommand(ShapeImportData& data) {
    data.meshCoords.Clear();
    data.constraints.Clear();
    CollectMeshCoords(data);
    ThinMeshCoords(data);
    OffsetAndClipMeshCoords(data);
    BuildConstraints(data);

    API_Element hotspot, line;
    std::memset(&hotspot, 0, sizeof hotspot);
    std::memset(&line, 0, sizeof line);
    hotspot.header.typeID = API_HotspotID;
    line.header.typeID = API_LineID;
    if (ACAPI_Element_GetDefaults(&hotspot, nullptr) != NoError || ACAPI_Element_GetDefaults(&line, nullptr) != NoError)
        return 0;
    const int16_t story = ActiveStoryIndex();
    hotspot.header.floorInd = story;
    hotspot.header.layer = data.pointOptions.layer;
    hotspot.hotspot.pen = data.pointOptions.pen;
    hotspot.hotspot.height = 0.0;
    line.header.floorInd = story;
    line.header.layer = int16_t(data.constraintSettings.layer);
    line.line.pen = int16_t(data.constraintSettings.pen);
    line.line.ltypeInd = int16_t(data.constraintSettings.lineType);

    ElementWritten = 1;
    GS::UniString title("Lodravix");
    int16_t phases = 2;
    ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases);
    PlacedElements placed;
    const double shapeHeight = ProjectOffset.shapeHeight;
    const int32_t result = Place(data, hotspot, line, placed);
    if (result == 0) {
        placed.TakeBack();
        ProjectOffset.shapeHeight = shapeHeight;
    }
    ACAPI_Interface(APIIo_CloseProcessWindowID);
    if (placed.Count() == 0) ElementWritten = 0;
    return result;
}
