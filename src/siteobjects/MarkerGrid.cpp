// The spot-height grid of the markers: its layout over the terrain's box, the heights at its nodes and its object.
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "siteobjects/Marker.hpp"

#include "elements/WrittenMemo.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/NewLibPartObject.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/TerrainProbe.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/PointInput.hpp"
#include "geometry/OutlineSegmentAtPoint.hpp"
#include "settings/ElementSections.hpp"
#include "siteobjects/PlacedObject.hpp"
#include "elements/WholeCommand.hpp"
#include "siteobjects/SiteObjectDialogs.hpp"

#include <cmath>
#include <cstring>

namespace {
constexpr int32_t PromptDefinePoint = 5;
constexpr int32_t PhaseText = 4;

// How often `step` is taken from `from` while the value stays at or above `limit` (the layout's loops), counted
// without running them; -1 when it would be more than `most`.
int64_t StepsDown(double from, double limit, double step, int64_t most) {
    if (from < limit) return 0;
    const double k = std::floor((from - limit) / step) + 1.0;
    return k > double(most) ? -1 : int64_t(k);
}

// The start before the box and the count of nodes up to the first one beyond it, as the layout's loops give them;
// false when the count would pass `most`.
bool Axis(double ref, double low, double high, double step, int64_t most, double& start, int32_t& count) {
    // Counted first, so that a huge layout is refused before any loop runs.
    const int64_t down = StepsDown(ref, low, step, most);
    if (down < 0) return false;
    const int64_t span = StepsDown(high, ref - double(down) * step, step, most);
    if (span < 0 || down + span + 2 > most) return false;
    double s = ref;
    while (s >= low) s -= step;
    int64_t n = 1;
    double c = s;
    do {
        c += step;
        ++n;
    } while (high >= c && n <= most);
    if (n > most) return false;
    start = s;
    count = int32_t(n);
    return true;
}
}  // namespace

GridLayout ComputeGridExtent(double refX, double refY, double stepX, double stepY, const API_Box3D& box,
                             GridExtent& extent) {
    if (!(stepX > 0.0) || !(stepY > 0.0) || !std::isfinite(refX) || !std::isfinite(refY)) return GridLayout::BadStep;
    GridExtent e;
    // Either axis has at least two nodes, so neither may pass half the most a grid holds.
    if (!Axis(refX, box.xMin, box.xMax, stepX, MaxGridNodes / 2, e.x0, e.nx) ||
        !Axis(refY, box.yMin, box.yMax, stepY, MaxGridNodes / 2, e.y0, e.ny) ||
        int64_t(e.nx) * int64_t(e.ny) > MaxGridNodes)
        return GridLayout::TooManyNodes;
    extent = e;
    return GridLayout::Laid;
}

bool MarkerCls::ComputeGridExtent(SiteObjectDialogs& dialogs) {
    gridError = 0;
    switch (::ComputeGridExtent(point.x, point.y, settings.stepX, settings.stepY, bounds, grid)) {
        case GridLayout::Laid: break;
        case GridLayout::BadStep: gridError = ErrModifying; return false;
        case GridLayout::TooManyNodes: gridError = ErrMemory; return false;
    }
    return dialogs.ConfirmSpotHeightGrid(grid.nx * grid.ny);
}

bool MarkerCls::SampleGridHeights() {
    gridHeights.Clear();
    // All the heights are held at once: room for them first, so that a grid too large fails before the pass.
    if (!gridHeights.SetSize(grid.nx * grid.ny)) {
        gridError = ErrMemory;
        return false;
    }
    gridHeights.SetSize(0);  // the room stays
    GS::UniString title("Lodravix");
    int16_t phases = 1;
    // Without its window the user could not stop a pass that may take long: no pass.
    if (ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases) != NoError) {
        gridError = ErrDialog;
        return false;
    }
    QV_String phaseText;
    GetResString(phaseText, GeneralTableBase + LanguageIndex, PhaseText);
    GS::UniString phase(phaseText.GetBuffer(), phaseText.GetLength());
    int32_t maximum = grid.nx * grid.ny;
    ACAPI_Interface(APIIo_SetNextProcessPhaseID, &phase, &maximum);
    bool stopped = false;
    int32_t count = 0;
    // A row at a time: one query over its nodes on the terrain, so that what a query costs besides its nodes is
    // paid once a row; the user may stop the pass between rows.
    for (int32_t j = 0; j < grid.ny && !stopped; ++j) {
        QV_List<QV_Coord3DLong> nodes;
        QV_List<int32_t> columns;
        for (int32_t i = 0; i < grid.nx; ++i) {
            const API_Coord node{grid.x0 + i * settings.stepX, grid.y0 + j * settings.stepY};
            if (!PointOnOrInsideOutline(outline, node)) continue;
            if (!nodes.Insert(QV_Coord3DLong{node.x, node.y, 0.0, 0}) || !columns.Insert(i)) return false;
        }
        QV_List<uint8_t> hits;
        MeshBody body;
        double lowest = 0.0, highest = 0.0;
        // A node off the terrain holds no height; a row the host could not probe is no grid at all.
        if (!ProbeTerrainHeights(body, element, nodes, lowest, highest, &hits)) {
            ACAPI_Interface(APIIo_CloseProcessWindowID);
            return false;
        }
        int32_t next = 0;
        for (int32_t i = 0; i < grid.nx; ++i) {
            double z = NoSpotHeight;
            if (next < columns.GetCount() && columns[next] == i) {
                const API_Coord node{nodes[next].x, nodes[next].y};
                // A node on the terrain's border may need its square turned to meet the terrain; one the host
                // could not probe would read as a node off the terrain.
                if (next < hits.GetCount() && hits[next] != 0) {
                    z = nodes[next].z;
                } else {
                    const SurfaceHeight found = ProbeTerrainHeightAt(element, node, z);
                    if (found == SurfaceHeight::Failed) {
                        ACAPI_Interface(APIIo_CloseProcessWindowID);
                        return false;
                    }
                    if (found == SurfaceHeight::None) z = NoSpotHeight;
                }
                ++next;
            }
            if (!gridHeights.Insert(z)) return false;
        }
        count += grid.nx;
        ACAPI_Interface(APIIo_SetProcessValueID, &count);
        const GSErrCode asked = ACAPI_Interface(APIIo_IsProcessCanceledID);
        if (asked == APIERR_CANCEL) stopped = true;
        // A check the host refused cannot tell whether the user stopped the pass: no grid the user may not want.
        if (asked != NoError && asked != APIERR_CANCEL) {
            gridError = ErrFindingData;
            stopped = true;
        }
    }
    ACAPI_Interface(APIIo_CloseProcessWindowID);
    return !stopped;
}

bool MarkerCls::CreateGridObject() {
    // The offsets come from the terrain's record: one the host cannot read gives none to write.
    ElemDescriptor terrainRecord;
    if (!terrainRecord.FromElement(ElemKind_Terrain, element.header, true) || !SampleGridHeights()) return false;
    API_Element placed;
    API_ElementMemo memo;
    if (!NewLibPartObject(levelMarkerPart, placed, memo)) return false;
    placed.header.layer = settings.layer;
    placed.header.floorInd = element.header.floorInd;
    InitPlacedObject(placed, levelMarkerPart);
    placed.object.pos = API_Coord{grid.x0, grid.y0};
    MarkerLP view;
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    double stepX = settings.stepX, stepY = settings.stepY;
    double ox = terrainRecord.Level1, oy = terrainRecord.Level2, oz = terrainRecord.Level3;
    int32_t yes = 1, no = 0, rows = grid.ny, columns = grid.nx;
    API_Coord ref = point;
    const bool written = SerializeSettings(view, settings, 1) &&
        view.GetSetDouble(MarkerParam::StepX, stepX, LPMode_Set) &&
        view.GetSetDouble(MarkerParam::StepY, stepY, LPMode_Set) &&
        view.GetSetInt(MarkerParam::Grid, yes, LPMode_Set) && view.GetSetInt(MarkerParam::ShowLevel, yes, LPMode_Set) &&
        view.GetSetInt(MarkerParam::ShowCode, no, LPMode_Set) &&
        view.GetSetInt(MarkerParam::ShowComment, no, LPMode_Set) &&
        MarkerLP::ExchangeLevelGrid(view, gridHeights, rows, columns, LPMode_Set) &&
        MarkerLP::ExchangePointRef(view, ref, LPMode_Set) && view.GetSetDouble(MarkerParam::OffsetX, ox, LPMode_Set) &&
        view.GetSetDouble(MarkerParam::OffsetY, oy, LPMode_Set) &&
        view.GetSetDouble(MarkerParam::OffsetZ, oz, LPMode_Set);
    if (!EndMemoWriting(memo, view, written) || CreateElementWithMemo(&placed, &memo, true) != NoError) return false;
    if (ACAPI_Element_AttachObserver(placed.header.guid) != NoError) return false;
    return ElemUserData_WriteRecord(ElemDescriptor(), ElemKind_LevelMarker, placed.header);
}

int32_t MarkerCls::RunSpotHeightGrid(SiteObjectDialogs& dialogs) {
    if (!outline.ReadFromElement(element.header, 0)) return ErrModifying;
    QV_String prompt;
    GetResString(prompt, PromptTableBase + LanguageIndex, PromptDefinePoint);
    for (;;) {
        API_Coord3D p = {};
        API_Neig neig = {};
        const GSErrCode err =
            GetPointFromUser(p, neig, prompt, nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, true);
        if (err == APIERR_CANCEL) return 0;
        if (err != NoError) return ErrSpecifyingPoint;
        point = API_Coord{p.x, p.y};
        if (PointOnOrInsideOutline(outline, point)) break;
        ShowErrorMessage(ErrClickInsideTerrain, AlertKind::Error);
    }
    // "No", steps the grid cannot take and a stopped pass all leave no grid; a grid too large says so.
    gridError = 0;
    if (RunWholeCommand([&] { return ComputeGridExtent(dialogs) && CreateGridObject(); })) return 0;
    return gridError != 0 ? gridError : ErrModifying;
}
