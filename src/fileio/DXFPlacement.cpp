// What a DXF read keeps, placed as terrain input: each point a hotspot with a terrain-point record (its number as
// its code), each constraint a plan line with a constraint record, all in one undo step; with grouping, what one
// drawing entity (or entities joined at shared vertices) gave becomes one host group. A placement that fails
// part-way takes back what it placed and the layers it made, so that a failed import leaves nothing.
#include "fileio/DXFFileCls.hpp"

#include "elements/WholeCommand.hpp"
#include "elements/ActiveStory.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/ModelUpdate.hpp"
#include "fileio/PlacedElements.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "settings/ProjectOffset.hpp"

#include "GSRoot.hpp"
#include "UniString.hpp"

#include <algorithm>
#include <map>

namespace {

constexpr int32_t PhaseText = 4;  // "No Title"
constexpr int32_t UndoEntry = 2;  // "External command"
constexpr int32_t CodeNumberLimit = 100000;

GS::UniString Uni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }

// One placement run: the templates, the progress and what was placed for the current group.
struct Placement {
    DXFFileCls& reader;
    API_Element hotspot;
    API_Element line;
    int32_t progressValue = 0;
    bool placedAny = false;
    std::vector<API_Guid> placed;  // of the current group
    PlacedElements all;            // taken back when the import fails

    bool Inside(double x, double y) const {
        if (reader.limitToArea == 0) return true;
        const API_Box& a = reader.limitArea;
        return !(x < a.xMin || x > a.xMax || y < a.yMin || y > a.yMax);
    }
    void Step() {
        ++progressValue;
        ACAPI_Interface(APIIo_SetProcessValueID, &progressValue);
    }
    int32_t HostLayer(int32_t layer) const {
        return layer >= 0 && size_t(layer) < reader.layers.size() ? reader.layers[size_t(layer)].hostLayer : 1;
    }

    bool PlacePoint(const DXFFilePoint& p) {
        if (!Inside(p.x, p.y)) return true;
        hotspot.header.layer = HostLayer(p.layer);
        hotspot.hotspot.pos.x = p.x - ProjectOffset.x;
        hotspot.hotspot.pos.y = p.y - ProjectOffset.y;
        if (CreateElementWithMemo(&hotspot, nullptr, false) != NoError) return false;
        placedAny = true;
        placed.push_back(hotspot.header.guid);
        all.Add(hotspot.header.guid);
        if (ACAPI_Element_AttachObserver(hotspot.header.guid) != NoError) return false;
        ElemDescriptor d;
        d.Reset();
        d.Value = p.z;
        d.Number = reader.options.codeNumber;
        d.AppendNumber = 1;
        if (!ElemUserData_WriteRecord(d, ElemKind_Point, hotspot.header)) return false;
        reader.options.codeNumber = (reader.options.codeNumber + 1) % CodeNumberLimit;
        return true;
    }

    bool PlaceConstraint(const DXFFileConstraint& c) {
        if (!Inside(c.sx, c.sy) || !Inside(c.ex, c.ey)) return true;
        line.header.layer = HostLayer(c.layer);
        line.line.begC = {c.sx - ProjectOffset.x, c.sy - ProjectOffset.y};
        line.line.endC = {c.ex - ProjectOffset.x, c.ey - ProjectOffset.y};
        if (CreateElementWithMemo(&line, nullptr, false) != NoError) return false;
        placedAny = true;
        placed.push_back(line.header.guid);
        all.Add(line.header.guid);
        if (ACAPI_Element_AttachObserver(line.header.guid) != NoError) return false;
        ElemDescriptor d;
        d.Reset();
        return ElemUserData_WriteRecord(d, ElemKind_Constraint, line.header);
    }

    // Group by group in ascending order, each group's points before its constraints; group 0 stays loose.
    bool PlaceGrouped() {
        std::map<int32_t, std::pair<std::vector<size_t>, std::vector<size_t>>> groups;
        for (size_t i = 0; i < reader.vertices.size(); ++i) groups[reader.vertices[i].group].first.push_back(i);
        for (size_t i = 0; i < reader.constraints.size(); ++i) groups[reader.constraints[i].group].second.push_back(i);
        for (const auto& [group, items] : groups) {
            placed.clear();
            for (size_t i : items.first) {
                Step();
                if (!PlacePoint(reader.vertices[i])) return false;
            }
            for (size_t i : items.second) {
                Step();
                if (!PlaceConstraint(reader.constraints[i])) return false;
            }
            // One element is no group to the host.
            if (group > 0 && placed.size() > 1) {
                API_ElemGuidList list = {placed.data(), int32_t(placed.size())};
                if (ACAPI_Database(APIDb_ToolGroupID, &list) != NoError) return false;
            }
        }
        return true;
    }

    bool PlaceAll() {
        for (const DXFFilePoint& p : reader.pointEntities) {
            Step();
            if (p.group != -1 && !PlacePoint(p)) return false;
        }
        if (reader.grouping != 0) return PlaceGrouped();
        for (const DXFFilePoint& p : reader.vertices) {
            Step();
            if (!PlacePoint(p)) return false;
        }
        for (const DXFFileConstraint& c : reader.constraints) {
            Step();
            if (!PlaceConstraint(c)) return false;
        }
        return true;
    }
};

}  // namespace

// The layers an import made and the records of those it reused, to put back when the import fails.
struct DXFFileCls::LayerChanges {
    std::vector<API_Attribute> made, changed;
};

bool DXFFileCls::CreateHostLayers(LayerChanges& changes) {
    // Layers that existed are taken as they are (CreateLayer writes the same record into them).
    for (DXFFileLayer& layer : layers) {
        if (layer.import == 0) continue;
        layer.hostLayer = 1;
        // A layer without a name cannot be made: its entities go where those of layer "0" go.
        if (layer.name.IsEmpty() || layer.name.Compare(QV_String("0")) == 0) continue;
        API_Attribute before = {};
        const bool existed = ReadLayerByName(layer.name, &before);
        API_Attribute after = {};
        int32_t index = 0;
        if (CreateLayer(layer.name, 0, 0, &index, &after) != NoError) return false;
        if (existed)
            changes.changed.push_back(before);
        else
            changes.made.push_back(after);
        layer.hostLayer = index;
    }
    return true;
}

void DXFFileCls::RestoreHostLayers(LayerChanges& changes) {
    for (API_Attribute& a : changes.made) ACAPI_Attribute_Delete(&a.header);
    for (API_Attribute& a : changes.changed) ACAPI_Attribute_Modify(&a);
    changes = LayerChanges();
}

bool DXFFileCls::CreateElements(ImportOptionsRec& points, ConstraintSettings& constraint) {
    Placement run{*this, {}, {}, 0, false, {}, {}};
    run.hotspot.header.typeID = API_HotspotID;
    run.line.header.typeID = API_LineID;
    if (ACAPI_Element_GetDefaults(&run.hotspot, nullptr) != NoError ||
        ACAPI_Element_GetDefaults(&run.line, nullptr) != NoError)
        return false;
    const int16_t story = ActiveStoryIndex();
    run.hotspot.header.groupGuid = API_Guid();
    run.hotspot.header.floorInd = story;
    run.hotspot.header.layer = options.layer;
    run.hotspot.hotspot.pen = options.pen;
    run.hotspot.hotspot.height = 0.0;
    run.line.header.groupGuid = API_Guid();
    run.line.header.floorInd = story;
    run.line.line.pen = int16_t(constraintPen);
    run.line.line.ltypeInd = int16_t(constraintLineType);

    bool suspendSwitched = false;
    if (grouping != 0) {
        bool suspended = false;
        if (ACAPI_Environment(APIEnv_IsSuspendGroupOnID, &suspended) != NoError) return false;
        if (!suspended) {
            if (ACAPI_Database(APIDb_ToolSuspendGroupID) != NoError) return false;
            suspendSwitched = true;
        }
    }

    GS::UniString title("Lodravix");
    int16_t phases = 1;
    ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases);
    QV_String phaseText;
    GetResString(phaseText, GeneralTableBase + LanguageIndex, PhaseText);
    GS::UniString phase = Uni(phaseText);
    int32_t total = int32_t(std::min<size_t>(pointEntities.size() + vertices.size() + constraints.size(), INT32_MAX));
    ACAPI_Interface(APIIo_SetNextProcessPhaseID, &phase, &total);
    ElementWritten = 1;

    bool result = false, ran = false;
    const int32_t firstNumber = options.codeNumber;
    QV_String undoText;
    GetResString(undoText, UndoTableBase + LanguageIndex, UndoEntry);
    const bool done = RunCommand(Uni(undoText), [&] {
        ran = true;
        // The chosen layers are made here, in the import's undo step, not when they were chosen.
        LayerChanges changes;
        result = CreateHostLayers(changes) && run.PlaceAll();
        // A failed import leaves nothing, and no undo step: what it made and its layers go, and the command is
        // taken back.
        if (!result) {
            run.all.TakeBack();
            RestoreHostLayers(changes);
            run.placedAny = false;
        }
        ACAPI_Interface(APIIo_CloseProcessWindowID);
        if (!run.placedAny) ElementWritten = 0;
        return result ? CommandEnd::Done : CommandEnd::Failed;
    });
    // A command the host refused placed nothing: the user must hear of it all the same.
    if (!ran) {
        ElementWritten = 0;
        ACAPI_Interface(APIIo_CloseProcessWindowID);
    }
    if (!done) result = false;
    // The numbers of points taken back are given out again.
    if (!result) options.codeNumber = firstNumber;

    if (suspendSwitched) ACAPI_Database(APIDb_ToolSuspendGroupID);

    points.pen = options.pen;
    if (points.code.Compare(options.code) != 0) points.code = options.code;
    points.codeNumber = options.codeNumber;
    if (constraint.pen != constraintPen) constraint.pen = constraintPen;
    if (constraint.lineType != constraintLineType) constraint.lineType = constraintLineType;
    ACAPI_Automate(APIDo_ZoomID);
    return result;
}
