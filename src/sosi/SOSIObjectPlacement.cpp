#include "sosi/SOSIObjectPlacement.hpp"

#include "elements/ArrayParams.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/ToolDefaults.hpp"
#include "elements/WrittenMemo.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/OwnedMemo.hpp"
#include "geometry/PolygonExchange.hpp"
#include "settings/ProjectOffset.hpp"
#include "sosi/SOSIObjectSettings.hpp"
#include "sosi/SOSIRecords.hpp"

#include "GeometryPolygon2D.hpp"

#include <cmath>
#include <cstring>

namespace {

constexpr double Eps = 1e-7;

bool SamePlan(const QV_Coord3DLong& a, const QV_Coord3DLong& b) {
    return std::fabs(a.x - b.x) < Eps && std::fabs(a.y - b.y) < Eps;
}

bool Same3D(const QV_Coord3DLong& a, const QV_Coord3DLong& b) { return SamePlan(a, b) && std::fabs(a.z - b.z) < Eps; }

// The vertices of the outline, the project offset taken off; a separator ends the contour before it.
bool BuildVertices(const QV_List<API_Coord3D>& coordinates, QV_List<QV_Coord3DLong>& vertices) {
    for (const API_Coord3D& c : coordinates) {
        if (IsSOSISeparator(c)) {
            // A leading separator has no contour to end.
            if (vertices.GetCount() > 0) vertices[vertices.GetCount() - 1].code = -1;
            continue;
        }
        if (!vertices.Insert(QV_Coord3DLong{c.x - ProjectOffset.x, c.y - ProjectOffset.y, c.z, 0})) return false;
    }
    return true;
}

// The contours (runs ended by code -1, or by the list's end) of at least three plan points, each closed on its
// first point; `dropped` tells whether a shorter one was left out.
bool OutlinePolygon(const QV_List<QV_Coord3DLong>& vertices, Geometry::Polygon2DData& polygon, bool& dropped) {
    struct Run {
        int32_t first, last;
    };
    QV_List<Run> runs;
    int32_t total = 0;
    dropped = false;
    for (int32_t start = 0; start < vertices.GetCount();) {
        int32_t end = start;
        while (end + 1 < vertices.GetCount() && vertices[end].code != -1) ++end;
        int32_t last = end;
        // A contour that closes on its own gets no second closing vertex.
        if (last > start && SamePlan(vertices[start], vertices[last])) --last;
        if (last - start + 1 >= 3) {
            runs.Insert(Run{start, last});
            total += last - start + 2;
        } else {
            dropped = true;
        }
        start = end + 1;
    }
    if (runs.GetCount() == 0) return false;
    if (Geometry::AllocatePolygon2DData(&polygon, total, 0, runs.GetCount()) != NoError) return false;
    API_Coord* v = *polygon.vertices;
    int32_t* ends = *polygon.contourEnds;
    int32_t n = 0;
    for (int32_t k = 0; k < runs.GetCount(); ++k) {
        for (int32_t i = runs[k].first; i <= runs[k].last; ++i) v[++n] = API_Coord{vertices[i].x, vertices[i].y};
        v[++n] = API_Coord{vertices[runs[k].first].x, vertices[runs[k].first].y};
        ends[k + 1] = n;
    }
    return true;
}

// The outline and the import's own parameters into the object's parameter list; false at the first one that is
// missing or of another kind.
bool WriteObjectParams(BaseLP& view, int16_t objectPen, const QV_List<QV_Coord3DLong>& vertices, const QV_String& type,
                       bool invalid) {
    double used = 1.0;
    double pen = objectPen;
    double wrong = invalid ? 1.0 : 0.0;
    QV_String typeText = type.HasBuffer() ? type : QV_String("");
    if (!view.GetSetDoubleByName(QV_String("used_by_Lodrava"), used, LPMode_Set) ||
        !view.GetSetDoubleByName(QV_String("gs_cont_pen"), pen, LPMode_Set) ||
        !view.GetSetStringParam(QV_String("OBJECTTYPE"), typeText, LPMode_Set) ||
        !view.GetSetDoubleByName(QV_String("sbagliato"), wrong, LPMode_Set))
        return false;
    const int32_t xyz = view.FindParam(QV_String("XYZ"));
    const API_AddParType* record = xyz >= 0 ? view.Record(xyz) : nullptr;
    if (record == nullptr || record->typeID == APIParT_Text || record->dim1 == 0 || record->dim2 == 0) return false;
    QV_List<double> cells;
    int32_t rows = vertices.GetCount();
    int32_t columns = 4;
    if (!QuadListToDoubles(vertices, cells, true, false)) return false;
    return view.GetSetDoubleArrayByName(QV_String("XYZ"), cells, rows, columns, LPMode_Set);
}

}  // namespace

bool ValidateSOSIOutline(const QV_List<QV_Coord3DLong>& vertices, bool& invalid) {
    invalid = false;
    Geometry::Polygon2DData outline;
    InitEmptyPolygon2DData(outline);
    bool dropped = false;
    if (!OutlinePolygon(vertices, outline, dropped)) {
        Geometry::FreePolygon2DData(&outline);
        return false;
    }
    GS::VAArray<Geometry::Polygon2DData> result;
    const GSErrCode err =
        Geometry::RegularizePolygon2DData(outline, result, nullptr, true, Geometry::RegularizeKeepHoles);
    if (err == NoError) invalid = dropped || result.GetSize() != 1 || ArePolygon2DDataEqual(result[0], outline) == 0;
    for (Geometry::Polygon2DData& p : result) Geometry::FreePolygon2DData(&p);
    Geometry::FreePolygon2DData(&outline);
    return err == NoError;
}

SOSIPlacement PlaceSOSIObject(const QV_List<API_Coord3D>& coordinates, const QV_String& type, const API_Element& object,
                              int16_t pen, API_Guid* made) {
    API_Element defaults;
    std::memset(static_cast<void*>(&defaults), 0, sizeof defaults);
    defaults.header.typeID = API_ObjectID;
    OwnedMemo memo;
    if (ACAPI_Element_GetDefaults(&defaults, memo.Get()) != NoError) return SOSIPlacement::HostFailed;
    QV_List<QV_Coord3DLong> vertices;
    if (!BuildVertices(coordinates, vertices) || vertices.GetCount() < 2) return SOSIPlacement::Refused;
    bool invalid = false;
    const QV_Coord3DLong first = vertices[0];
    QV_Coord3DLong& last = vertices[vertices.GetCount() - 1];
    if (Same3D(first, last)) {
        last.code = -1;
        if (!ValidateSOSIOutline(vertices, invalid)) return SOSIPlacement::Refused;
    } else if (SamePlan(first, last)) {
        // The same place at another height: closed for the drawing, not checked as an area.
        QV_Coord3DLong closing = first;
        closing.code = 0;
        if (!vertices.Insert(closing)) return SOSIPlacement::Refused;
    }

    BaseLP view;
    view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
    const bool written = WriteObjectParams(view, pen, vertices, type, invalid);
    if (!EndMemoWriting(*memo, view, written)) return SOSIPlacement::Refused;
    API_Element element = object;
    if (CreateElementWithMemo(&element, memo.Get(), true) != NoError) return SOSIPlacement::HostFailed;
    if (made != nullptr) *made = element.header.guid;
    return SOSIPlacement::Placed;
}

bool EditSOSIObjectSettings(int32_t objectLibPartIndex) {
    API_Element defaults;
    std::memset(static_cast<void*>(&defaults), 0, sizeof defaults);
    defaults.header.typeID = API_ObjectID;
    if (ACAPI_Element_GetDefaults(&defaults, nullptr) != NoError) {
        ShowErrorMessage(ErrFindingData, AlertKind::Warning);
        return false;
    }
    SOSIObjectSettings& settings = SOSIObjectSettingsRecord();
    for (;;) {
        GSHandle params = nullptr;
        if (!BaseLP::GetLibPartParams(objectLibPartIndex, &params, nullptr, nullptr, nullptr) || params == nullptr) {
            ReleaseParamRecords(&params);
            ShowErrorMessage(ErrFindingData, AlertKind::Warning);
            return false;
        }
        BaseLP view;
        view.Attach(params, true);
        const bool written = settings.Exchange(view, LPMode_Set);
        params = view.params;
        view.Detach();
        if (!written) {
            ReleaseParamRecords(&params);
            ShowErrorMessage(ErrFindingData, AlertKind::Warning);
            return false;
        }
        // The dialog leaves its choice in the object tool's defaults: the placement takes them from there.
        int32_t chosen = objectLibPartIndex;
        const GSErrCode err = ChangeLibPartParams(chosen, &params, API_ObjectID, 0, false);
        if (err == APIERR_CANCEL) {
            ReleaseParamRecords(&params);
            return false;
        }
        if (err != NoError || params == nullptr) {
            ReleaseParamRecords(&params);
            ShowErrorMessage(ErrFindingData, AlertKind::Warning);
            return false;
        }
        if (chosen != objectLibPartIndex) {
            ReleaseParamRecords(&params);
            ShowErrorMessage(ErrNotTheNeededObject, AlertKind::Warning);
            continue;
        }
        // Read into a copy: a part that lost a parameter leaves the remembered settings whole.
        SOSIObjectSettings chosenSettings = settings;
        view.Attach(params, true);
        const bool read = chosenSettings.Exchange(view, LPMode_Get);
        params = view.params;
        view.Detach();
        ReleaseParamRecords(&params);
        if (!read) {
            ShowErrorMessage(ErrFindingData, AlertKind::Warning);
            return false;
        }
        settings = chosenSettings;
        return true;
    }
}
