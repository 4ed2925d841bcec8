#include "terrain/TerrainBuilder.hpp"

#include "elements/AcceptedElements.hpp"
#include "elements/ActiveStory.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/ElementQueries.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/AddOnInfo.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/OwnedMemo.hpp"
#include "geometry/ElementOutline.hpp"
#include "settings/Settings.hpp"
#include "terrain/TerrainContourSteps.hpp"
#include "terrain/TerrainMeshCreation.hpp"
#include "terrain/TerrainPasses.hpp"
#include "terrain/TerrainSettingsRun.hpp"

#include "UniString.hpp"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t PhaseTable = 32540;
constexpr int32_t PhaseEntry = 4;

// The host progress window for one pass; closed whichever way the pass ends.
class PassProgress {
public:
    explicit PassProgress(int32_t maxValue) {
        GS::UniString title(ProductName);
        int16_t phases = 1;
        ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases);
        QV_String phase;
        GetResString(phase, PhaseTable + LanguageIndex, PhaseEntry);
        GS::UniString text(phase.GetBuffer(), phase.GetLength());
        ACAPI_Interface(APIIo_SetNextProcessPhaseID, &text, &maxValue);
    }
    ~PassProgress() { ACAPI_Interface(APIIo_CloseProcessWindowID); }
    PassProgress(const PassProgress&) = delete;
    PassProgress& operator=(const PassProgress&) = delete;
    void Step() {
        int32_t value = ++value_;
        ACAPI_Interface(APIIo_SetProcessValueID, &value);
    }

private:
    int32_t value_ = 0;
};

// Whether the element lies on a shown layer of the current story, from its own layer and story: a filter the host
// refused says "not shown" too. False when the host would not tell.
bool ShownHere(const API_Element& element, bool* shown) {
    API_Attribute layer = {};
    layer.header.typeID = API_LayerID;
    layer.header.index = element.header.layer;
    if (ACAPI_Attribute_Get(&layer) != NoError) return false;
    const int16_t story = ActiveStoryIndex();
    if (story == NoActiveStory) return false;
    *shown = (layer.header.flags & APILay_Hidden) == 0 && element.header.floorInd == story;
    return true;
}

// A listed element read whole, and whether it lies on a shown layer of the current story (only those build the
// terrain). The host answers a refused filter with "no": an element the filter leaves out that lies on a shown layer
// here by its own layer and story, or one the filter without bits refuses, is the host's refusal (false). A listed
// element the host cannot read may be a point of the terrain: the read fails, never thins it.
bool ReadListedElement(const API_Guid& guid, API_Element& e, bool& onShown) {
    onShown = ACAPI_Element_Filter(guid, ElementFilter_OnShownLayer | ElementFilter_OnCurrentStory);
    if (!onShown && !ACAPI_Element_Filter(guid, 0)) return false;
    e = {};
    e.header.guid = guid;
    if (ACAPI_Element_Get(&e) != NoError) return false;
    bool shownHere = false;
    return onShown || (ShownHere(e, &shownHere) && !shownHere);
}

// The elements of a type on a shown layer of the current story that carry a data record of the kind, each handed
// to `take`.
template <typename Take>
bool ForEachRecorded(API_ElemTypeID type, int32_t kind, Take&& take) {
    GS::Array<API_Guid> guids;
    if (ACAPI_Element_GetElemList(type, &guids) != NoError) return false;
    PassProgress progress(int32_t(guids.GetSize()));
    for (const API_Guid& guid : guids) {
        progress.Step();
        API_Element e;
        bool onShown = false;
        if (!ReadListedElement(guid, e, onShown)) return false;
        if (!onShown) continue;
        ElemDescriptor d;
        const RecordRead read = ElemUserData_ReadChecked(d, kind, e.header);
        if (read == RecordRead::Failed) return false;
        if (read == RecordRead::Absent) continue;
        take(e, d);
    }
    return true;
}

QV_Poly OutlineOf(const TerrainRecord& record) {
    QV_Poly poly;
    poly.SetFromCoords3D(record.boundary, true);
    return poly;
}

// A new fill in place of the old outline with the adjusted vertices, keeping the old one's ID text, story, layer
// and pens and its outline record.
bool ReplaceOutline(const API_Element& old, const QV_List<API_Coord3D>& vertices, const ElemDescriptor& record) {
    FillAttributes attributes = {};
    attributes.words[0] = old.header.floorInd;
    attributes.words[1] = int16_t(old.header.layer);
    attributes.words[2] = old.hatch.contPen;
    attributes.words[3] = old.hatch.fillPen;
    attributes.words[4] = old.hatch.fillBGPen;
    attributes.words[5] = old.hatch.fillInd;
    attributes.words[6] = old.hatch.drawOrder;
    OwnedMemo memo;
    // An unread ID text would leave the new outline nameless.
    if (memo.Read(old.header.guid, APIMemoMask_ElemInfoString) != NoError) return false;
    if (memo->elemInfoString != nullptr)
        attributes.info.AppendWide(memo->elemInfoString->ToUStr(), memo->elemInfoString->GetLength());
    GS::Array<API_Guid> gone;
    gone.Push(old.header.guid);
    if (ACAPI_Element_Delete(gone) != NoError) return false;
    API_Element fresh = {};
    if (CreateElementFromCoords(vertices, attributes, fresh) != 1) return false;
    return ElemUserData_WriteRecord(record, ElemKind_Outline, fresh.header);
}

}  // namespace

bool ReadTerrainPoints(QV_List<API_Coord3D>& points) {
    points.Clear();
    // The point's height is its record's: the point tool leaves the hotspot's own height at 0.
    return ForEachRecorded(API_HotspotID, ElemKind_Point, [&](const API_Element& e, const ElemDescriptor& d) {
        points.Insert(API_Coord3D{e.hotspot.pos.x, e.hotspot.pos.y, d.Value});
    });
}

bool ReadTerrainPointSets(QV_List<API_Coord3D>& shown, QV_List<API_Coord3D>& anywhere) {
    shown.Clear();
    anywhere.Clear();
    GS::Array<API_Guid> guids;
    if (ACAPI_Element_GetElemList(API_HotspotID, &guids) != NoError) return false;
    PassProgress progress(int32_t(guids.GetSize()));
    for (const API_Guid& guid : guids) {
        progress.Step();
        API_Element e;
        bool onShown = false;
        if (!ReadListedElement(guid, e, onShown)) return false;
        ElemDescriptor d;
        bool tagged = false, refused = false;
        // A hotspot whose record the host would not give may be a terrain point: the terrain would lack it.
        if (!d.FromElementTagged(ElemKind_Point, e.header, &tagged, &refused)) {
            if (refused) return false;
            continue;
        }
        const API_Coord3D point = {e.hotspot.pos.x, e.hotspot.pos.y, d.Value};
        anywhere.Insert(point);
        if (onShown && tagged) shown.Insert(point);
    }
    return true;
}

bool ReadConstraintLines(QV_List<QV_Segment3D>& lines) {
    lines.Clear();
    return ForEachRecorded(API_LineID, ElemKind_Constraint, [&](const API_Element& e, const ElemDescriptor&) {
        lines.Insert(QV_Segment3D{{e.line.begC.x, e.line.begC.y, 0.0}, {e.line.endC.x, e.line.endC.y, 0.0}});
    });
}

bool CollectTerrainPoints(TerrainRecord& record, uint8_t& cornerMissing) {
    QV_List<API_Coord3D> points;
    const bool read = ReadTerrainPoints(points);
    return CollectTerrainPoints(record, read ? &points : nullptr, cornerMissing);
}

bool CollectTerrainPoints(TerrainRecord& record, const QV_List<API_Coord3D>* points, uint8_t& cornerMissing) {
    cornerMissing = 0;
    if (points == nullptr) {
        record.levelPoints.Clear();
        cornerMissing = 1;
        return false;
    }
    return CollectTerrainPointsFrom(record, OutlineOf(record), *points, cornerMissing);
}

bool CollectBreakLines(TerrainRecord& record) {
    QV_List<QV_Segment3D> lines;
    // Lines the host would not list or read would leave the terrain without its break lines.
    if (!ReadConstraintLines(lines)) return false;
    CollectBreakLinesFrom(record, OutlineOf(record), lines);
    return true;
}

bool FillBoundaryAndHeightRange(TerrainRecord& record, const QV_List<API_Coord3D>& vertices,
                                const QV_List<API_Coord3D>* points, double& lowest, double& highest) {
    record.boundary = vertices;
    uint8_t missing = 0;
    lowest = DBL_MAX;
    highest = -DBL_MAX;
    if (!CollectTerrainPoints(record, points, missing)) return false;
    for (int32_t i = 0; i < record.boundary.GetCount(); ++i) {
        lowest = std::min(lowest, record.boundary[i].z);
        highest = std::max(highest, record.boundary[i].z);
    }
    for (int32_t i = 0; i < record.levelPoints.GetCount(); ++i) {
        lowest = std::min(lowest, record.levelPoints[i].z);
        highest = std::max(highest, record.levelPoints[i].z);
    }
    return true;
}

int32_t BuildTerrain(Settings& store, TerrainDialogs& dialogs, TerrainContourSteps& contours, TerrainRecord& record,
                     const API_Element& outline) {
    int32_t locator = -1;
    if (HostLanguageNOR != 0 && !FindLibPartOrAsk(QV_String("SOSI_COORDINATE_LOCATOR"), locator, true, QV_String(), 0))
        return NoErrorCode;
    ElemDescriptor outlineRecord;
    switch (ElemUserData_ReadChecked(outlineRecord, ElemKind_Outline, outline.header)) {
        case RecordRead::Found: break;
        case RecordRead::Absent: return ErrNoOutline;
        case RecordRead::Failed: return ErrFindingData;
    }
    QV_List<API_Coord3D> vertices;
    if (!ReadElementMemoCoords3D(outline, vertices)) return ErrModifying;
    // The points are read once: neither the settings dialog nor the outline's replacement moves a hotspot. Points
    // the host would not list are no reason to drop the outline's corners.
    QV_List<API_Coord3D> shown, anywhere;
    if (!ReadTerrainPointSets(shown, anywhere)) return ErrFindingData;
    const QV_List<API_Coord3D>* points = &shown;
    const int32_t countBefore = vertices.GetCount();
    KeepOutlineVerticesAtPoints3D(vertices, anywhere);
    if (vertices.GetCount() < 4) return ErrOutlineTooShort;
    // An outline that crosses itself (drawn so, or edited by hand) bounds no surface: refused before any dialog.
    QV_Poly ring;
    ring.SetFromCoords3D(vertices, true);
    if (PolygonSelfIntersects(ring) != 0) return ErrUnsuitablePolygon;

    Assign(record, store.terrain);
    TerrainContourContext context;
    context.settings = store.contour;
    // The pass depends only on the outline's vertices and the points: the command takes its result again.
    const bool collected = FillBoundaryAndHeightRange(record, vertices, points, context.lowest, context.highest);
    const QV_List<API_Coord3D> cornered = record.boundary, levelPoints = record.levelPoints;
    double verticalOffset = 0.0;
    if (RunTerrainSettings(store, dialogs, record, TerrainMode_New, locator, &verticalOffset, &context) ==
        DialogAnswer::Cancelled)
        return NoErrorCode;
    Assign(store.terrain, record);
    ACAPI_Element_DeselectAll();

    int32_t code = NoErrorCode;
    API_Element mesh = {};
    OwnedMemo memo;
    // A failed step takes back the whole command: the outline as it was, no mesh without its record.
    const bool made = RunWholeCommand([&] {
        if (vertices.GetCount() != countBefore && !ReplaceOutline(outline, vertices, outlineRecord)) {
            code = ErrModifying;
            return false;
        }
        record.boundary = cornered;
        record.levelPoints = levelPoints;
        if (!collected) {
            code = ErrOutlineCorners;
            return false;
        }
        if (!CollectBreakLines(record)) {
            code = ErrModifying;
            return false;
        }
        ResolveBreakLineEnds(record);
        code = CreateTerrainMesh(record, verticalOffset, mesh, *memo, 0.0, 0.0) ? NoErrorCode : ErrModifying;
        return code == NoErrorCode;
    });
    if (code != NoErrorCode) return code;
    if (!made) return ErrModifying;
    return contours.RefreshForNewTerrain(mesh, context);
}
