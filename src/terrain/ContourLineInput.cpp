// Drawn contour lines into terrain input: a chain of constraints along the drawing with a terrain point at one
// altitude on its vertices, grouped; and one altitude (with pens, line type and layer) given to selected points
// and constraints.
#include "elements/ActiveStory.hpp"
#include "elements/ChangeMask.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/Settings.hpp"
#include "terrain/ContourLineCls.hpp"
#include "terrain/TerrainDialogs.hpp"

#include <cmath>
#include <cstring>
#include <vector>

namespace {
constexpr double PointTolerance = 1e-7;

bool HasPen(API_ElemTypeID type) { return type >= 18 && type <= 23; }

int16_t PenOf(const API_Element& e) {
    switch (e.header.typeID) {
        case API_LineID: return e.line.pen;
        case API_PolyLineID: return e.polyLine.pen;
        case API_HotspotID: return e.hotspot.pen;
        default: return 0;
    }
}

// The single-altitude record's kept values from the settings: altitude, the points' pen, the constraints' pen and
// line type, the contour-line layer.
void FillFromKept(const Settings& store, ContourAltitudeSettings& record) {
    record = store.contour.altitude;
    record.pointPen = store.points.pen;
    record.constraintPen = int16_t(store.constraint.pen);
    record.constraintLineType = int16_t(store.constraint.lineType);
    record.layer = int16_t(store.contour.layer);
}

void Keep(Settings& store, const ContourAltitudeSettings& record) {
    store.contour.altitude = record;
    store.points.pen = record.pointPen;
    store.constraint.pen = record.constraintPen;
    store.constraint.lineType = record.constraintLineType;
    store.contour.layer = uint16_t(record.layer);
}
}  // namespace

DialogAnswer ContourLineCls::EditAltitude(TerrainDialogs& dialogs, SettingsMode mode) {
    ContourAltitudeSettings record = altitude;
    uint8_t flags[ContourAltitudeFlagCount] = {};
    if (dialogs.OpenContourAltitude(record, flags, mode) == DialogAnswer::Cancelled) return DialogAnswer::Cancelled;
    altitude = record;
    std::memcpy(apply, flags, sizeof apply);
    return DialogAnswer::Confirmed;
}

int32_t ContourLineCls::DigitizeContour(Settings& store, TerrainDialogs& dialogs, QV_List<PlanSegment>& segments,
                                        const QV_List<API_Elem_Head>& sources) {
    FillFromKept(store, altitude);
    if (EditAltitude(dialogs, SettingsMode::NewElement) == DialogAnswer::Cancelled) return 0;
    Keep(store, altitude);
    MatchSegmentEndpoints(segments);
    int32_t result = 0;
    const bool ok = RunWholeCommand([&] {
        result = BuildConstraintsFromSegments(segments, store.points);
        if (result == 0 && sources.GetCount() > 0) {
            GS::Array<API_Guid> first;
            first.Push(sources[0].guid);
            if (ACAPI_Element_Delete(first) != NoError) result = ErrModifying;
        }
        // A chain half made, ungrouped, or beside the drawing it replaces is no terrain input: the host takes the
        // whole command back, and the caller tells the failure.
        return result == 0;
    });
    if (result == 0 && !ok) result = ErrModifying;
    ACAPI_Automate(APIDo_RebuildID);
    return result;
}

int32_t ContourLineCls::BuildConstraintsFromSegments(const QV_List<PlanSegment>& segments, PointSettings& points) {
    made.Clear();
    API_Element hotspot = {};
    hotspot.header.typeID = API_HotspotID;
    API_Element line = {};
    line.header.typeID = API_LineID;
    if (ACAPI_Element_GetDefaults(&hotspot, nullptr) != NoError || ACAPI_Element_GetDefaults(&line, nullptr) != NoError)
        return ErrModifying;
    const int16_t story = ActiveStoryIndex();
    hotspot.header.floorInd = story;
    line.header.floorInd = story;
    hotspot.header.layer = altitude.layer;
    line.header.layer = altitude.layer;
    hotspot.hotspot.pen = altitude.pointPen;
    if (HasPen(API_LineID)) line.line.pen = altitude.constraintPen;
    line.line.ltypeInd = altitude.constraintLineType;
    ElementWritten = 1;

    for (const PlanSegment& s : segments) {
        API_Element e = line;
        e.line.begC = {s.x1, s.y1};
        e.line.endC = {s.x2, s.y2};
        if (ACAPI_Element_Create(&e, nullptr) != NoError) return ErrModifying;
        if (HostCallWithElementGuid(e) != NoError) return ErrModifying;
        ElemDescriptor record;
        if (!ElemUserData_WriteRecord(record, ElemKind_Constraint, e.header)) return ErrModifying;
        made.Insert(e);
    }
    // A point at each segment's begin and at the last one's end: a chain of n segments gets n + 1 points, a
    // closed one n, and the far end of a segment that does not continue the chain gets none.
    QV_List<API_Coord> placed;
    for (int32_t i = 0; i < segments.GetCount(); ++i) {
        const PlanSegment& s = segments[i];
        API_Coord ends[2] = {{s.x1, s.y1}, {s.x2, s.y2}};
        const int32_t n = i + 1 == segments.GetCount() ? 2 : 1;
        for (int32_t k = 0; k < n; ++k) {
            bool known = false;
            for (const API_Coord& p : placed)
                known = known ||
                    (std::fabs(p.x - ends[k].x) < PointTolerance && std::fabs(p.y - ends[k].y) < PointTolerance);
            if (known) continue;
            if (!CreateContourPoint(points, hotspot, ends[k])) return ErrModifying;
            placed.Insert(ends[k]);
        }
    }
    if (made.GetCount() < 2) return 0;
    std::vector<API_Guid> guids;
    for (const API_Element& e : made) guids.push_back(e.header.guid);
    API_ElemGuidList list = {guids.data(), int32_t(guids.size())};
    return ACAPI_Database(APIDb_ToolGroupID, &list) == NoError ? 0 : ErrModifying;
}

bool ContourLineCls::CreateContourPoint(PointSettings& points, const API_Element& hotspotDefaults,
                                        const API_Coord& position) {
    API_Element e = hotspotDefaults;
    e.hotspot.pos = position;
    e.hotspot.height = altitude.altitude;
    if (ACAPI_Element_Create(&e, nullptr) != NoError) return false;
    if (HostCallWithElementGuid(e) != NoError) return false;
    ElemDescriptor record;
    record.Name = points.code;
    record.Number = points.codeNumber;
    record.Value = altitude.altitude;
    record.AppendNumber = 1;
    record.Note = points.text;
    if (!ElemUserData_WriteRecord(record, ElemKind_Point, e.header)) return false;
    points.codeNumber = (points.codeNumber + 1) % 100000;
    made.Insert(e);
    return true;
}

int32_t ContourLineCls::SetAltitudeOfSelection(Settings& store, TerrainDialogs& dialogs,
                                               const QV_List<API_Element>& points,
                                               const QV_List<API_Element>& constraints) {
    FillFromKept(store, altitude);
    if (points.GetCount() > 0) {
        ElemDescriptor record;
        if (!ElemUserData_Read(record, ElemKind_Point, points[0].header)) return ErrModifying;
        altitude.altitude = record.Value;
        altitude.pointPen = PenOf(points[0]);
    }
    if (constraints.GetCount() > 0) {
        const API_Element& c = constraints[0];
        altitude.layer = int16_t(c.header.layer);
        altitude.constraintLineType = c.line.ltypeInd;
        altitude.constraintPen = HasPen(c.header.typeID) ? PenOf(c) : 0;
    }
    if (EditAltitude(dialogs, SettingsMode::Editing(points.GetCount() + constraints.GetCount())) ==
        DialogAnswer::Cancelled)
        return 0;
    // The edited points and constraints stay selected when the host will not clear them: nothing is changed.
    if (ACAPI_Element_DeselectAll() != NoError) return ErrSelectedElement;
    bool any = false;
    for (uint8_t f : apply) any = any || f != 0;
    if (!any) return 0;
    // A failure takes back the points and constraints already changed.
    return RunWholeCommand([&] { return ApplyAltitudeToSelection(points, constraints); }) ? 0 : ErrModifying;
}

bool ContourLineCls::ApplyAltitudeToSelection(const QV_List<API_Element>& points,
                                              const QV_List<API_Element>& constraints) {
    if (apply[ApplyPointPen] != 0 || apply[ApplyLayer] != 0) {
        API_Element defaults = {};
        API_Element mask = EmptyChangeMask();
        defaults.header.typeID = API_HotspotID;
        defaults.hotspot.pen = altitude.pointPen;
        defaults.header.layer = altitude.layer;
        MarkWhen(mask.hotspot.pen, apply[ApplyPointPen] != 0);
        MarkWhen(mask.header.layer, apply[ApplyLayer] != 0);
        if (ChangeElementsParameters(points, defaults, mask) != NoError) return false;
    }
    if (apply[ApplyAltitude] != 0) {
        for (const API_Element& p : points) {
            ElemDescriptor record;
            if (!ElemUserData_Read(record, ElemKind_Point, p.header)) return false;
            record.Value = altitude.altitude;
            if (!ElemUserData_RewriteRecord(record, ElemKind_Point, p.header)) return false;
        }
    }
    if (apply[ApplyConstraintPen] == 0 && apply[ApplyConstraintLineType] == 0 && apply[ApplyLayer] == 0) return true;
    API_Element defaults = {};
    API_Element mask = EmptyChangeMask();
    defaults.header.typeID = API_LineID;
    defaults.header.layer = altitude.layer;
    defaults.line.pen = altitude.constraintPen;
    defaults.line.ltypeInd = altitude.constraintLineType;
    MarkWhen(mask.header.layer, apply[ApplyLayer] != 0);
    MarkWhen(mask.line.pen, apply[ApplyConstraintPen] != 0 || apply[ApplyPointPen] != 0);
    MarkWhen(mask.line.ltypeInd, apply[ApplyConstraintLineType] != 0);
    return ChangeElementsParameters(constraints, defaults, mask) == NoError;
}
