#include "terrain/OutlineData.hpp"

#include "elements/ActiveStory.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementQueries.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/AddOnInfo.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/ModuleLog.hpp"
#include "foundation/PointInput.hpp"
#include "settings/Settings.hpp"
#include "terrain/TerrainInputDialogs.hpp"
#include "terrain/TerrainInputQueries.hpp"

#include <cmath>
#include <cstring>
#include <string>

namespace {
constexpr int32_t PromptFirstNode = 1;
constexpr int32_t PromptNextNode = 2;
constexpr uint32_t PolygonalMethod = 3;    // nodes one by one, the feedback told of each cursor position
constexpr uint32_t RectangularMethod = 1;  // a dragged rectangle
constexpr GSErrCode ErrViewRefusesInput = GSErrCode(0x8106006eu);

// What the input's feedback draws: the nodes so far and the corridor around them.
struct CorridorFeedback {
    PlanPoints nodes;
    double halfWidth = 0.0;
    bool rectangular = false;
};
CorridorFeedback Feedback;

void DrawLine(const API_Coord& a, const API_Coord& b) {
    API_RubberLineType line = {};
    line.begC = {a.x, a.y, 0.0};
    line.endC = {b.x, b.y, 0.0};
    line.lineValue = 1;
    ACAPI_Interface(APIIo_DrawRubberLineID, &line);
}

void DrawBox(double x0, double y0, double x1, double y1) {
    DrawLine({x0, y0}, {x0, y1});
    DrawLine({x0, y1}, {x1, y1});
    DrawLine({x1, y1}, {x1, y0});
    DrawLine({x1, y0}, {x0, y0});
}

void DrawCorridor(const API_Coord3D* cursor) {
    if (cursor == nullptr || Feedback.nodes.empty()) return;
    const API_Coord at = {cursor->x, cursor->y};
    const double h = Feedback.halfWidth;
    if (Feedback.rectangular) {
        const API_Coord& c = Feedback.nodes.front();
        if (std::fabs(at.x - c.x) < 1e-4 || std::fabs(at.y - c.y) < 1e-4) return;
        const double x0 = std::fmin(c.x, at.x), x1 = std::fmax(c.x, at.x);
        const double y0 = std::fmin(c.y, at.y), y1 = std::fmax(c.y, at.y);
        DrawBox(x0 - h, y0 - h, x1 + h, y1 + h);
        DrawBox(x0 + h, y0 + h, x1 - h, y1 - h);
        return;
    }
    PlanPoints line = Feedback.nodes;
    line.push_back(at);
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const double dx = line[i + 1].x - line[i].x, dy = line[i + 1].y - line[i].y;
        const double len = std::hypot(dx, dy);
        if (len < 1e-7) continue;
        const double nx = -dy / len * h, ny = dx / len * h;
        DrawLine({line[i].x + nx, line[i].y + ny}, {line[i + 1].x + nx, line[i + 1].y + ny});
        DrawLine({line[i].x - nx, line[i].y - ny}, {line[i + 1].x - nx, line[i + 1].y - ny});
    }
    Feedback.nodes.push_back(at);  // each position the host reports is a node it takes
}

// The progress window of the search: the product's title and the phase text entry 4 of table 32540; closed on
// every way out.
class SearchProgress {
public:
    SearchProgress() {
        QV_String phase;
        GetResString(phase, GeneralTableBase + LanguageIndex, 4);
        GS::UniString title(ProductName);
        GS::UniString text(phase.GetBuffer(), phase.GetLength());
        int16_t phases = 1;
        int32_t maxValue = 0;
        ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases);
        ACAPI_Interface(APIIo_SetNextProcessPhaseID, &text, &maxValue);
    }
    ~SearchProgress() { ACAPI_Interface(APIIo_CloseProcessWindowID); }
    SearchProgress(const SearchProgress&) = delete;
    SearchProgress& operator=(const SearchProgress&) = delete;
    std::function<void()> Step() {
        return [this] {
            int32_t v = ++value_;
            ACAPI_Interface(APIIo_SetProcessValueID, &v);
        };
    }

private:
    int32_t value_ = 0;
};

bool ReadElement(const API_Elem_Head& head, API_Element& e) {
    std::memset(static_cast<void*>(&e), 0, sizeof e);
    e.header.guid = head.guid;
    return ACAPI_Element_Get(&e) == NoError;
}

bool DeleteAll(const QV_List<API_Element>& elements) {
    if (elements.GetCount() == 0) return true;
    GS::Array<API_Guid> guids;
    for (int32_t i = 0; i < elements.GetCount(); ++i) guids.Push(elements[i].header.guid);
    return ACAPI_Element_Delete(guids) == NoError;
}

bool DeleteElementByHead(const API_Elem_Head& head) {
    GS::Array<API_Guid> one;
    one.Push(head.guid);
    return ACAPI_Element_Delete(one) == NoError;
}

bool ListOutlines(QV_List<API_Element>& outlines) {
    return CollectAddOnObjects(ElemKind_Outline, API_HatchID, 0, outlines) != 0;
}

void Rebuild() {
    API_RebuildParams pars = {};
    ACAPI_Automate(APIDo_RebuildID, &pars);
}

PlanPoints ToPlan(const QV_List<API_Coord>& list) {
    PlanPoints out;
    for (int32_t i = 0; i < list.GetCount(); ++i) out.push_back(list[i]);
    return out;
}

std::string At(const API_Coord& p) { return "(" + ModuleLog::Number(p.x) + ", " + ModuleLog::Number(p.y) + ")"; }

// Why a clicked or drawn path was refused, in the report: the user sees only "The resulting polygon is not
// suitable.".
bool PathRefused(PlanPoints& path) {
    API_Coord fault = {};
    if (CheckClickedPath(path, &fault)) return false;
    ModuleLog::Log(("outline refused: the path crosses or touches itself at " + At(fault)).c_str());
    return true;
}

void Close(PlanPoints& points) {
    if (points.empty()) return;
    const API_Coord &a = points.front(), &b = points.back();
    if (points.size() == 1 || std::fabs(a.x - b.x) >= PointTolerance || std::fabs(a.y - b.y) >= PointTolerance)
        points.push_back(a);
}
}  // namespace

namespace {
// The terrain points (as CollectTerrainPoints lists them) by place and story, without keeping whole elements.
bool ReadTerrainPlaces(std::vector<TerrainPlace>& places) {
    places.clear();
    const bool read = VisitTerrainPoints([&](const API_Element& e) {
        places.push_back({e.hotspot.pos, e.header.floorInd});
        return true;
    });
    if (!read) places.clear();
    return read;
}
}  // namespace

bool TerrainPointsOfCurrentStory(PlanPoints& out, const std::function<void()>& perHotspot) {
    std::vector<TerrainPlace> places;
    return TerrainPointsOfCurrentStory(ReadTerrainPlaces(places) ? &places : nullptr, out, perHotspot);
}

bool TerrainPointsOfCurrentStory(const std::vector<TerrainPlace>* places, PlanPoints& out,
                                 const std::function<void()>& perHotspot) {
    out.clear();
    // Points that could not be read, or a story the host would not name, are no answer: never "too few points".
    const int16_t story = places == nullptr ? NoActiveStory : CurrentStoryIndex();
    if (story == NoActiveStory) return false;
    for (const TerrainPlace& p : *places) {
        if (perHotspot) perHotspot();
        if (p.story == story) out.push_back(p.pos);
    }
    return true;
}

const std::vector<TerrainPlace>* OutlineData::TerrainPlaces() {
    if (placesRead == 0) placesRead = ReadTerrainPlaces(places) ? 1 : -1;
    return placesRead > 0 ? &places : nullptr;
}

OutlineData::OutlineData(Settings& store, TerrainInputDialogs& dialogs)
    : store(store), dialogs(dialogs), outlineType(1), corridorHalfWidth(0.0), searchAngle(M_PI / 6.0) {
    settings.Reset();
    std::memset(static_cast<void*>(&head), 0, sizeof head);
}

void OutlineData::EstimateCorridorWidth() {
    corridorHalfWidth = 2.0;
    const std::vector<TerrainPlace>* points = TerrainPlaces();
    if (points == nullptr || points->empty()) return;
    double x0 = (*points)[0].pos.x, x1 = x0, y0 = (*points)[0].pos.y, y1 = y0;
    for (size_t i = 1; i < points->size(); ++i) {
        const API_Coord& p = (*points)[i].pos;
        x0 = std::fmin(x0, p.x);
        x1 = std::fmax(x1, p.x);
        y0 = std::fmin(y0, p.y);
        y1 = std::fmax(y1, p.y);
    }
    corridorHalfWidth = std::hypot(x1 - x0, y1 - y0) / 25.0;
}

void OutlineData::ReadSettingsFromElement(const API_Elem_Head& element) {
    API_Element e;
    if (!ReadElement(element, e)) return;
    settings.layer = uint16_t(e.header.layer);
    const API_ElemTypeID type = e.header.typeID;
    if (type == API_HatchID) {
        settings.pen = uint16_t(e.hatch.contPen);
        settings.fillPen = uint16_t(e.hatch.fillPen);
    } else if (type >= API_LineID && type <= API_SplineID) {
        settings.pen = settings.fillPen = uint16_t(e.line.pen);
    } else {
        settings.pen = settings.fillPen = 0;
    }
    settings.backgroundPen = uint16_t(e.hatch.fillBGPen);
    settings.fill = uint16_t(e.hatch.fillInd);
    settings.lineType = uint16_t(e.hatch.contLtype);
    settings.name.Clear();
    API_Guid guid = e.header.guid;
    GS::UniString text;
    if (ACAPI_Database(APIDb_GetElementInfoStringID, &guid, &text) == NoError)
        settings.name.AppendWide(text.ToUStr(), text.GetLength());
}

DialogAnswer OutlineData::RunSettingsDialog(bool typeSelectable, bool lockCorridor, SettingsMode mode) {
    OutlineSettings copy = settings;
    OutlineSettings::Changed changed = {};
    OutlineSearchValues search;
    search.typeSelectable = typeSelectable;
    search.corridorLocked = lockCorridor;
    search.corridorWidth = corridorHalfWidth;
    search.searchAngle = searchAngle;
    search.searchType = outlineType;
    if (dialogs.OpenOutlineSettings(copy, changed, search, mode) == DialogAnswer::Cancelled)
        return DialogAnswer::Cancelled;
    settings = copy;
    outlineType = search.searchType;
    // The dialog shows the stored value and hands back what it shows: a width, of which each side takes half.
    corridorHalfWidth = search.corridorWidth / 2.0;
    searchAngle = search.searchAngle;
    return DialogAnswer::Confirmed;
}

bool OutlineData::InputOutlineNodes(int32_t& error) {
    error = 0;
    Feedback.nodes.clear();
    Feedback.rectangular = outlineType != 1;
    const auto failed = [&](GSErrCode err, int32_t code) {
        if (err == APIERR_CANCEL)
            ACAPI_Automate(APIDo_RedrawID);
        else
            error = err == ErrViewRefusesInput ? 11 : code;
        return false;
    };
    QV_String prompt;
    GetResString(prompt, PromptTableBase + LanguageIndex, PromptFirstNode);
    API_Coord3D first = {};
    API_Neig neig = {};
    GSErrCode err =
        GetPointFromUser(first, neig, prompt, nullptr, nullptr, nullptr, nullptr, -1, nullptr, nullptr, true);
    if (err != NoError) return failed(err, 12);
    Feedback.nodes.push_back({first.x, first.y});

    GetResString(prompt, PromptTableBase + LanguageIndex, PromptNextNode);
    API_GetPolyType poly;
    FillPolyInputRecord(poly, prompt, nullptr, nullptr, 0, outlineType == 1 ? PolygonalMethod : RectangularMethod,
                        first);
    API_RubberLineInputProc* feedback = DrawCorridor;
    err = ACAPI_Interface(APIIo_GetPolyID, &poly, &feedback);
    if (err != NoError) return failed(err, 14);
    // Never past what the host's handle holds (entry 0 is unused).
    const int32_t held = poly.coords == nullptr
        ? 0
        : int32_t(BMGetHandleSize(reinterpret_cast<GSConstHandle>(poly.coords)) / GSSize(sizeof(API_Coord))) - 1;
    const int32_t n = poly.nCoords < held ? poly.nCoords : held;
    for (int32_t i = 1; i <= n; ++i) path.push_back((*poly.coords)[i]);
    GSHandle handles[] = {reinterpret_cast<GSHandle>(poly.coords), reinterpret_cast<GSHandle>(poly.parcs),
                          reinterpret_cast<GSHandle>(poly.zCoords)};
    for (GSHandle& h : handles) BMKillHandle(&h);
    Close(path);
    return true;
}

int32_t OutlineData::CreateOutlineHatch() {
    FillAttributes attributes = {};
    attributes.words[0] = CurrentStoryIndex();
    attributes.words[1] = int16_t(settings.layer);
    attributes.words[2] = int16_t(settings.pen);
    attributes.words[3] = int16_t(settings.fillPen);
    attributes.words[4] = int16_t(settings.backgroundPen);
    attributes.words[5] = int16_t(settings.fill);
    attributes.words[6] = 0;
    attributes.info = settings.name;
    QV_List<API_Coord> list;
    for (const API_Coord& p : nodes) list.Insert(p);
    API_Element hatch;
    std::memset(static_cast<void*>(&hatch), 0, sizeof hatch);
    if (CreateElementFromCoords2D(list, attributes, hatch) == 0) return ErrModifying;
    if (hatch.hatch.contLtype != int16_t(settings.lineType)) {
        API_Element mask;
        std::memset(static_cast<void*>(&mask), 0, sizeof mask);
        std::memset(static_cast<void*>(&mask.hatch.contLtype), 0xFF, sizeof mask.hatch.contLtype);
        hatch.hatch.contLtype = int16_t(settings.lineType);
        if (ACAPI_Element_Change(&hatch, &mask, nullptr, 0) != NoError) return ErrModifying;
    }
    ElemDescriptor record;
    return ElemUserData_WriteRecord(record, ElemKind_Outline, hatch.header) ? NoErrorCode : ErrModifying;
}

int32_t OutlineData::CreateOutline(const API_Elem_Head* source) {
    side1 = BuildCorridorSide(path, corridorHalfWidth, 1, &index1);
    side0 = BuildCorridorSide(path, corridorHalfWidth, 0, &index0);
    RemoveCorridorLoops(side1);
    RemoveCorridorLoops(side0);
    {
        SearchProgress progress;
        PlanPoints points;
        if (!TerrainPointsOfCurrentStory(TerrainPlaces(), points, progress.Step())) return ErrFindingData;
        found = FindCorridorPoints(side0, side1, points);
        if (found.size() < 3) return ErrOutlineTooShort;
        nodes = CollectNodesAlongEdges(side0, side1, found, searchAngle, progress.Step());
    }
    if (nodes.empty()) return ErrOutlineTooShort;
    nodes.push_back(nodes.front());
    // A wide corridor can pick points that make the outline cross itself: no terrain could be built in it.
    if (RingCrossesItself(nodes)) {
        API_Coord at = {};
        const std::string where = RingCrossing(nodes, at) ? " at " + At(at) : "";
        const std::string line = "outline refused: the terrain points taken in the corridor, " +
            ModuleLog::Number(2.0 * corridorHalfWidth) + " m wide, make an outline that crosses itself" + where +
            "; a narrower corridor leaves out the points that cause it";
        ModuleLog::Log(line.c_str());
        return ErrUnsuitablePolygon;
    }
    if (CreateOutlineHatch() != 0) return ErrModifying;
    // The hatch it was made from goes with the same command: beside the outline it would be drawn twice.
    if (source != nullptr && !DeleteElementByHead(*source)) return ErrModifying;
    return 0;
}

namespace {
// Too few points for a new outline still leaves the project without the old one (the user asked to replace it;
// nothing was made); any other failure takes the whole command back.
bool OutlineReplaced(int32_t code) { return code == 0 || code == ErrOutlineTooShort; }
}  // namespace

int32_t OutlineData::CommandByClicks() {
    QV_List<API_Element> outlines;
    if (!ListOutlines(outlines)) return ErrFindingData;
    ACAPI_Element_DeselectAll();
    EstimateCorridorWidth();
    settings = store.outline;
    if (RunSettingsDialog(true, false, SettingsMode::NewElement) == DialogAnswer::Cancelled) return 0;
    const bool keep = outlines.GetCount() > 0 && dialogs.KeepExistingOutline();
    store.outline = settings;
    if (keep) return 0;
    Feedback.halfWidth = corridorHalfWidth;
    int32_t error = 0;
    if (!InputOutlineNodes(error)) return error;
    if (outlineType == 1 && PathRefused(path)) return ErrUnsuitablePolygon;
    if (outlineType != 1) {
        SearchProgress progress;
        PlanPoints points;
        if (!TerrainPointsOfCurrentStory(TerrainPlaces(), points, progress.Step())) return ErrFindingData;
        if (!FitRectangleToPoints(path, points)) return 0;
    }
    int32_t code = ErrModifying;
    RunWholeCommand([&] {
        if (!DeleteAll(outlines)) return false;
        code = CreateOutline(nullptr);
        return OutlineReplaced(code);
    });
    return code;
}

int32_t OutlineData::CommandFromHatch(const API_Elem_Head& hatch) {
    QV_List<API_Element> outlines;
    if (!ListOutlines(outlines)) return ErrFindingData;
    head = hatch;
    API_Element e;
    QV_List<API_Coord> coords;
    if (!ReadElement(hatch, e) || !ReadElementMemoCoords2D(e, coords)) return ErrModifying;
    path = ToPlan(coords);
    if (PathRefused(path)) return ErrUnsuitablePolygon;
    EstimateCorridorWidth();
    ReadSettingsFromElement(hatch);
    if (RunSettingsDialog(false, false, SettingsMode::NewElement) == DialogAnswer::Cancelled) return 0;
    if (outlines.GetCount() > 0 && dialogs.KeepExistingOutline()) {
        // The old outline stays; the hatch the user picked is used up all the same.
        const bool usedUp = RunWholeCommand([&] { return DeleteElementByHead(hatch); });
        Rebuild();
        return usedUp ? 0 : ErrModifying;
    }
    store.outline = settings;
    ACAPI_Element_DeselectAll();
    int32_t code = ErrModifying;
    RunWholeCommand([&] {
        if (!DeleteAll(outlines)) return false;
        code = CreateOutline(&hatch);
        return OutlineReplaced(code);
    });
    Rebuild();
    return code;
}

int32_t OutlineData::CommandModify(const API_Elem_Head& outline) {
    head = outline;
    ReadSettingsFromElement(outline);
    if (RunSettingsDialog(false, true, SettingsMode::EditSelected) == DialogAnswer::Cancelled) return 0;
    API_Element e;
    QV_List<API_Coord> coords;
    if (!ReadElement(outline, e) || !ReadElementMemoCoords2D(e, coords)) return ErrModifying;
    // Only the vertices that still stand on a terrain point stay, moved onto it.
    PlanPoints points;
    if (!TerrainPointsOfCurrentStory(points)) return ErrFindingData;
    nodes.clear();
    for (int32_t i = 0; i + 1 < coords.GetCount(); ++i) {
        for (const API_Coord& p : points) {
            if (!PointsCoincide(p, coords[i])) continue;
            nodes.push_back(p);
            break;
        }
    }
    if (!nodes.empty()) nodes.push_back(nodes.front());
    if (nodes.size() < 4) {
        RunWholeCommand([&] { return DeleteElementByHead(outline); });
        return ErrOutlineTooShort;
    }
    int32_t code = ErrModifying;
    RunWholeCommand([&] {
        if (!DeleteElementByHead(outline)) return false;
        code = CreateOutlineHatch();
        return code == 0;
    });
    if (code == 0) Rebuild();
    return code;
}
