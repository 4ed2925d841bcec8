#include "terrain/ConstraintInput.hpp"

#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/ElementQueries.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/UpdatedElements.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/PointInput.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "settings/Settings.hpp"
#include "terrain/TerrainInputDialogs.hpp"
#include "terrain/TerrainInputQueries.hpp"

#include "geometry/SegmentGrid.hpp"

#include <algorithm>
#include <memory>
#include <cmath>
#include <cstring>

namespace {
constexpr int32_t PromptFirstEnd = 8;
constexpr int32_t PromptComplete = 9;

template <typename T>
void Fill(T& value, uint8_t byte) {
    std::memset(static_cast<void*>(&value), byte, sizeof value);
}

// The passes over the floor plan's constraints run only there. A window the host cannot name counts as another
// one, as everywhere the module asks which window is in front.
bool IsFloorPlanWindow() {
    API_WindowInfo info = {};
    return ACAPI_Database(APIDb_GetCurrentWindowID, &info) == NoError && info.typeID == APIWind_FloorPlanID;
}

// The click hit a point element that is a terrain point.
bool HitTerrainPoint(const API_Neig& neig) {
    API_Element e;
    if (neig.neigID != APINeig_ElemPoint || !GetElementOnPlan(neig, e)) return false;
    ElemDescriptor record;
    return ElemUserData_ReadFromElement(record, ElemKind_Point, e.header, true);
}

// A click on a terrain point is taken as it is; any other click snaps to the first point it lies on.
bool ResolveClick(const QV_List<API_Element>& points, const API_Coord3D& click, const API_Neig& neig, API_Coord& out) {
    if (HitTerrainPoint(neig)) {
        out = {click.x, click.y};
        return true;
    }
    const int32_t i = FindPointAt(points, {click.x, click.y}, APINULLGuid);
    if (i < 0) return false;
    out = points[i].hotspot.pos;
    return true;
}

bool SharesAnEnd(const API_LineType& a, const API_Coord& b1, const API_Coord& b2) {
    return PointsCoincide(a.begC, b1) || PointsCoincide(a.begC, b2) || PointsCoincide(a.endC, b1) ||
        PointsCoincide(a.endC, b2);
}

bool DeleteOne(const API_Guid& guid) {
    GS::Array<API_Guid> one;
    one.Push(guid);
    return ACAPI_Element_Delete(one) == NoError;
}

// Reads the element of `head`; `isConstraint` tells whether it is a line carrying a constraint's record (an element
// gone again, or not in this database, is none). False when the host cannot tell.
bool ReadConstraint(const API_Elem_Head& head, API_Element& e, bool& isConstraint) {
    Fill(e, 0);
    e.header.guid = head.guid;
    isConstraint = false;
    const GSErrCode err = ACAPI_Element_Get(&e);
    if (err == APIERR_BADID) return true;
    if (err != NoError) return false;
    if (e.header.typeID != API_LineID) return true;
    ElemDescriptor record;
    return ReadElementRecord(e.header, ElemKind_Constraint, true, record, isConstraint);
}
}  // namespace

bool ConstraintsCross(const API_Coord& a1, const API_Coord& a2, const API_Coord& b1, const API_Coord& b2) {
    const double x1 = a1.x, y1 = a1.y, x2 = a2.x, y2 = a2.y;
    const double x3 = b1.x, y3 = b1.y, x4 = b2.x, y4 = b2.y;
    const double d = (y4 - y3) * (x2 - x1) - (x4 - x3) * (y2 - y1);
    if (std::fabs(d) < 1e-5) return false;
    const double u = ((y1 - y3) * (x2 - x1) + (y2 - y1) * (x3 - x1)) / d;
    const double t =
        std::fabs(x2 - x1) < 1e-5 ? (u * (y4 - y3) + y3 - y1) / (y2 - y1) : (u * (x4 - x3) + x3 - x1) / (x2 - x1);
    return t >= 0.0 && t <= 1.0 && u >= 0.0 && u <= 1.0;
}

ConstraintInput::ConstraintInput(Settings& store, TerrainInputDialogs& dialogs) : store_(store), dialogs_(dialogs) {
    settings.Reset();
    std::memset(changed, 0, sizeof changed);
}

DialogAnswer ConstraintInput::EditSettings(SettingsMode mode) {
    ConstraintSettings copy = settings;
    ConstraintSettings::Changed flags = {};
    if (dialogs_.OpenConstraintSettings(copy, flags, mode) == DialogAnswer::Cancelled) return DialogAnswer::Cancelled;
    settings = copy;
    std::memcpy(changed, flags, sizeof changed);
    return DialogAnswer::Confirmed;
}

bool ConstraintInput::InputStep(API_Coord& start, API_Coord& end, bool continueChain, int32_t& error) {
    error = 0;
    QV_List<API_Element> points;
    if (!CollectTerrainPoints(points)) {
        // Without the points no click can be taken: the input ends, and the user is told why.
        error = ErrFindingData;
        return false;
    }
    ResetInputFeedback();
    dialogs_.PrepareCoordinateFields();
    const auto ended = [&](GSErrCode err, int32_t code) {
        error = err == APIERR_CANCEL ? 0 : code;
        dialogs_.ResetToolInput();
        return false;
    };

    QV_String prompt;
    if (!continueChain) {
        GetResString(prompt, PromptTableBase + LanguageIndex, PromptFirstEnd);
        for (;;) {
            API_Coord3D click = {};
            API_Neig neig = {};
            const GSErrCode err = GetPointFromUser(click, neig, prompt, nullptr, nullptr, nullptr, nullptr, -1,
                                                   dialogs_.CoordinateFeedback(), nullptr, false);
            if (err != NoError) return ended(err, 12);
            if (ResolveClick(points, click, neig, start)) break;
            ShowErrorMessage(ErrSelectPoint, AlertKind::Error);
        }
    }
    GetResString(prompt, PromptTableBase + LanguageIndex, PromptComplete);
    for (;;) {
        API_GetLineType record;
        const API_Coord3D from = {start.x, start.y, 0.0};
        FillLineInputRecord(record, prompt, nullptr, 0, nullptr, from, nullptr, -1);
        // The rubber line from the start follows the cursor, and the palette shows where it is.
        InputFeedback.lastPoint = from;
        InputFeedback.chainedFeedback = dialogs_.CoordinateFeedback();
        API_RubberLineInputProc* rubber = DrawRubberLineFeedback;
        const GSErrCode err = ACAPI_Interface(APIIo_GetLineID, &record, &rubber);
        if (err != NoError) return ended(err, 13);
        if (!ResolveClick(points, record.pos, record.neig, end)) {
            ShowErrorMessage(ErrSelectPoint, AlertKind::Error);
            continue;
        }
        if (PointsCoincide(start, end)) return false;  // the chain closed on itself
        const int32_t crosses = SegmentCrossesConstraintLine(start, end, 1);
        // Lines the host would not show cannot be checked: the input ends, and the user is told why.
        if (crosses < 0) {
            error = ErrFindingData;
            dialogs_.ResetToolInput();
            return false;
        }
        if (crosses != 0) {
            ShowErrorMessage(ErrConstraintCrosses, AlertKind::Error);
            continue;
        }
        dialogs_.ResetToolInput();
        return true;
    }
}

bool ConstraintInput::CreateOne(const API_Coord& begin, const API_Coord& end) {
    API_Element e;
    Fill(e, 0);
    e.header.typeID = API_LineID;
    if (ACAPI_Element_GetDefaults(&e, nullptr) != NoError) return false;
    e.header.floorInd = CurrentStoryIndex();
    e.header.layer = settings.layer;
    e.line.pen = int16_t(settings.pen);
    e.line.ltypeInd = int16_t(settings.lineType);
    e.line.begC = begin;
    e.line.endC = end;
    if (CreateElementWithMemo(&e, nullptr, false) != NoError) return false;
    if (ACAPI_Element_AttachObserver(e.header.guid) != NoError) return false;
    ElemDescriptor record;
    return ElemUserData_WriteRecord(record, ElemKind_Constraint, e.header);
}

int32_t ConstraintInput::Create() {
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    settings = store_.constraint;
    if (EditSettings(SettingsMode::NewElement) == DialogAnswer::Cancelled) return 0;
    store_.constraint = settings;
    const ElementWriting writing;
    bool first = true;
    bool placed = false;
    API_Coord start = {}, end = {};
    int32_t code = 0;
    for (;;) {
        if (!InputStep(start, end, !first, code)) break;
        if (!RunWholeCommand([&] { return CreateOne(start, end); })) {
            code = ErrModifying;
            break;
        }
        first = false;
        placed = true;
        start = end;
    }
    // Whatever ended the input, a flag left up with nothing made would hide the user's next element.
    if (!placed) writing.NoneMade();
    return code;
}

int32_t ConstraintInput::Modify(const QV_List<API_Element>& constraints) {
    if (constraints.GetCount() == 0) return 0;
    const API_Element& first = constraints[0];
    const API_ElemTypeID type = first.header.typeID;
    const bool penType = type >= API_HatchID && type <= API_SplineID;
    settings.layer = first.header.layer;
    settings.lineType = first.line.ltypeInd;
    settings.pen = penType ? first.line.pen : 0;
    if (EditSettings(SettingsMode::Editing(constraints.GetCount())) == DialogAnswer::Cancelled) return 0;
    using Id = ConstraintSettings::Id;
    if (changed[Id::pen] == 0 && changed[Id::lineType] == 0 && changed[Id::layer] == 0) return 0;
    ACAPI_Element_DeselectAll();
    API_Element mask;
    Fill(mask, 0);
    if (changed[ConstraintSettings::Id::pen] != 0) Fill(mask.line.pen, 0xFF);
    if (changed[ConstraintSettings::Id::lineType] != 0) Fill(mask.line.ltypeInd, 0xFF);
    if (changed[ConstraintSettings::Id::layer] != 0) Fill(mask.header.layer, 0xFF);
    const bool ok = RunWholeCommand([&] {
        for (int32_t i = 0; i < constraints.GetCount(); ++i) {
            API_Element e = constraints[i];
            e.header.layer = settings.layer;
            e.line.ltypeInd = int16_t(settings.lineType);
            const API_ElemTypeID t = e.header.typeID;
            if (t >= API_HatchID && t <= API_SplineID) e.line.pen = int16_t(settings.pen);
            GS::Array<API_Guid> one;
            one.Push(e.header.guid);
            if (ACAPI_Element_ChangeParameters(one, &e, nullptr, &mask) != NoError) return false;
        }
        return true;
    });
    return ok ? NoErrorCode : ErrModifying;
}

bool ConstraintInput::RefreshOnUpdateA(const QV_List<API_Elem_Head>& heads) {
    if (!IsFloorPlanWindow()) return true;
    // The points (the whole survey) are read once a new constraint is met, not for every new element.
    QV_List<API_Element> points;
    std::unique_ptr<TerrainPointIndex> index;
    for (int32_t i = 0; i < heads.GetCount(); ++i) {
        API_Element e;
        ElemDescriptor record;
        bool isConstraint = false;
        if (!ReadUpdatedElement(heads[i], APIFilt_IsEditable, ElemKind_Constraint, e, record, isConstraint))
            return false;
        if (!isConstraint || e.header.typeID != API_LineID) continue;
        if (index == nullptr) {
            if (!CollectTerrainPoints(points)) return false;
            index = std::make_unique<TerrainPointIndex>(points);
        }
        if ((index->Find(e.line.begC, APINULLGuid) < 0 || index->Find(e.line.endC, APINULLGuid) < 0) &&
            !DeleteOne(e.header.guid))
            return false;
    }
    return true;
}

bool ConstraintInput::RefreshOnUpdateB(const QV_List<API_Elem_Head>& heads, const QV_List<API_Element>& parents) {
    // The points (the whole survey, a kilobyte each) are read once an edited constraint is met: a moved point
    // alone needs none of them.
    QV_List<API_Element> points;
    std::unique_ptr<TerrainPointIndex> index;
    for (int32_t i = 0; i < heads.GetCount(); ++i) {
        API_Element e;
        bool isConstraint = false;
        if (!ReadConstraint(heads[i], e, isConstraint)) return false;
        if (!isConstraint) continue;
        const API_Element* before = nullptr;
        for (int32_t p = 0; p < parents.GetCount() && before == nullptr; ++p)
            if (parents[p].header.guid == e.header.guid) before = &parents[p];
        if (before == nullptr) return false;  // where its ends were is not known
        if (index == nullptr) {
            if (!CollectTerrainPoints(points)) return false;
            index = std::make_unique<TerrainPointIndex>(points);
        }
        API_Element mask;
        Fill(mask, 0);
        bool restored = false;
        if (index->Find(e.line.begC, APINULLGuid) < 0) {
            e.line.begC = before->line.begC;
            Fill(mask.line.begC, 0xFF);
            restored = true;
        }
        if (index->Find(e.line.endC, APINULLGuid) < 0) {
            e.line.endC = before->line.endC;
            Fill(mask.line.endC, 0xFF);
            restored = true;
        }
        if (restored && ACAPI_Element_Change(&e, &mask, nullptr, 0) != NoError) return false;
    }
    return true;
}

std::vector<int32_t> ConstraintInput::CrossedConstraints(const QV_List<API_Element>& constraints) {
    // A constraint goes when an earlier one that stays crosses it without sharing an end; the one that takes it
    // is the first such. Taking them in list order with a grid of those that stay finds the same constraints as
    // testing every pair, and ordering them by (taker, constraint) gives the pairwise order.
    const int32_t n = constraints.GetCount();
    std::vector<std::pair<int32_t, int32_t>> gone;  // (taker, constraint)
    if (n < 2) return {};
    double minX = constraints[0].line.begC.x, maxX = minX, minY = constraints[0].line.begC.y, maxY = minY;
    double sides = 0.0;
    for (int32_t i = 0; i < n; ++i) {
        const API_LineType& l = constraints[i].line;
        for (const API_Coord& c : {l.begC, l.endC}) {
            minX = std::min(minX, c.x), maxX = std::max(maxX, c.x);
            minY = std::min(minY, c.y), maxY = std::max(maxY, c.y);
        }
        sides += std::max(std::fabs(l.endC.x - l.begC.x), std::fabs(l.endC.y - l.begC.y));
    }
    SegmentGrid grid(SegmentGrid::CellFor(sides, n, std::max(maxX - minX, maxY - minY)));
    // Boxes are widened a little, so rounding in the crossing test cannot hide a pair from the grid.
    const double margin = 1e-6 * (1.0 + std::max({std::fabs(minX), std::fabs(maxX), std::fabs(minY), std::fabs(maxY)}));
    std::vector<int32_t> near;
    for (int32_t j = 0; j < n; ++j) {
        const API_LineType& b = constraints[j].line;
        SegmentBox look = SegmentBox::Of(b.begC.x, b.begC.y, b.endC.x, b.endC.y);
        look.x0 -= margin, look.y0 -= margin, look.x1 += margin, look.y1 += margin;
        near.clear();
        grid.Near(look, [&near](int32_t i) {
            near.push_back(i);
            return false;
        });
        int32_t taker = -1;
        for (int32_t i : near) {
            if (taker >= 0 && i > taker) continue;
            const API_LineType& a = constraints[i].line;
            if (!SharesAnEnd(a, b.begC, b.endC) && ConstraintsCross(a.begC, a.endC, b.begC, b.endC)) taker = i;
        }
        if (taker >= 0)
            gone.push_back({taker, j});
        else
            grid.Add(j, SegmentBox::Of(b.begC.x, b.begC.y, b.endC.x, b.endC.y));
    }
    std::sort(gone.begin(), gone.end());
    std::vector<int32_t> out;
    out.reserve(gone.size());
    for (const auto& g : gone) out.push_back(g.second);
    return out;
}

bool ConstraintInput::RefreshOnUpdateC() {
    if (!IsFloorPlanWindow()) return true;
    QV_List<API_Element> constraints;
    if (!CollectConstraints(constraints)) return false;
    for (int32_t j : CrossedConstraints(constraints))
        if (!DeleteOne(constraints[j].header.guid)) return false;
    return true;
}
