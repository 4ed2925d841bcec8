#include "fileio/GISObjectPlacement.hpp"

#include "elements/BaseLP.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/ModelUpdate.hpp"
#include "fileio/GISObjects.hpp"
#include "fileio/PlacedElements.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "geometry/PolygonExchange.hpp"
#include "settings/ProjectOffset.hpp"

#include "UniString.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

namespace {

constexpr int32_t WaitText = 4;

void SetText(API_AddParType& param, const QV_String& text) {
    std::memset(param.value.uStr, 0, sizeof param.value.uStr);
    const uint32_t n = std::min<uint32_t>(text.GetLength(), 255);
    for (uint32_t i = 0; i < n; ++i) param.value.uStr[i] = char16_t(text.GetAt(i));
}

// A scalar other than text takes a number; anything else is left alone.
void SetNumber(GSHandle params, const char* name, double value) {
    API_AddParType* p = FindParam(params, name);
    if (p == nullptr || p->typeID == APIParT_Text || (p->dim1 != 0 && p->dim2 != 0)) return;
    p->value.real = value;
}

bool WriteOutline(GSHandle params, const SHPPolyData& part, bool closed) {
    API_AddParType* xyz = FindParam(params, "XYZ");
    if (xyz == nullptr || xyz->typeID == APIParT_Text) return true;
    const QV_List<API_Coord3D>& v = part.vertices;
    const int32_t rows = v.GetCount() + (closed ? 1 : 0);
    GSHandle cells = BMAllocateHandle(GSSize(rows) * 4 * GSSize(sizeof(double)), ALLOCATE_CLEAR, 0);
    if (cells == nullptr) return false;
    double* c = reinterpret_cast<double*>(*cells);
    for (int32_t i = 0; i < rows; ++i) {
        const API_Coord3D& p = v[i < v.GetCount() ? i : 0];
        c[4 * i] = p.x;
        c[4 * i + 1] = p.y;
        c[4 * i + 2] = p.z;
    }
    if (closed) c[4 * (rows - 1) + 3] = -1.0;
    if (xyz->dim1 != 0 && xyz->dim2 != 0) BMKillHandle(&xyz->value.array);
    xyz->dim1 = rows;
    xyz->dim2 = 4;
    xyz->value.array = cells;
    return true;
}

// The row's values in the parameters from the attribute start on, each by the field its description names; false
// when where the attributes begin is unknown.
bool WriteAttributeParams(const ShapeImportData& data, GSHandle params, int32_t record) {
    const GSSize n = BMGetHandleSize(params) / GSSize(sizeof(API_AddParType));
    const int32_t start = GISAttributeStart();
    if (start < 0) return false;
    for (GSSize i = start; i < n; ++i) {
        API_AddParType& p = reinterpret_cast<API_AddParType*>(*params)[i];
        QV_String wanted = ParamDescription(p);
        if (data.options.objectMode == 3) {
            const SHPParamData* row = GISParamTable.Get(int32_t(i - start));
            wanted = row != nullptr ? row->field : QV_String();
        }
        int32_t field = -1;
        for (int32_t f = 0; f < data.fields.GetCount() && field < 0; ++f)
            if (!wanted.IsEmpty() && data.fields[f].name.Compare(wanted) == 0) field = f;
        if (field < 0 || (p.dim1 != 0 && p.dim2 != 0)) continue;
        const char* value = data.Value(record, field);
        if (value == nullptr) continue;
        const int16_t kind = data.fields[field].kind;
        const char* text = value[0] == 0 && kind != 1 ? "0" : value;
        if (kind == 1) {
            if (p.typeID == APIParT_Text) SetText(p, QV_String(text, Encoding_System));
        } else if (p.typeID != APIParT_Text) {
            p.value.real = kind < 0 ? StrToDouble(text) : double(StrToInt(text));
        }
    }
    return true;
}

bool PlaceGISObject(const ShapeImportData& data, const SHPPolyData& part, bool closed, int32_t record, int32_t libIndex,
                    GSHandle settings, PlacedElements& placed) {
    bool correct = false;
    if (closed && (part.vertices.GetCount() < 2 || !PrepareObjectPolygon(part, correct))) return true;
    API_Element element = {};
    element.header.typeID = API_ObjectID;
    if (ACAPI_Element_GetDefaults(&element, nullptr) != NoError) return false;
    GSHandle params = nullptr;
    if (!BaseLP::GetLibPartParams(libIndex, &params, nullptr, nullptr, nullptr)) return false;
    // The user's settings, but the outline and what the import itself sets.
    const GSSize n = settings != nullptr ? BMGetHandleSize(settings) / GSSize(sizeof(API_AddParType)) : 0;
    for (GSSize i = 0; i < n; ++i) {
        const API_AddParType& from = reinterpret_cast<const API_AddParType*>(*settings)[i];
        if (std::strcmp(from.name, "XYZ") == 0 || std::strcmp(from.name, "quiota_base") == 0 ||
            std::strcmp(from.name, "language") == 0)
            continue;
        API_AddParType* to = FindParam(params, from.name);
        if (to == nullptr || to->typeID != from.typeID || from.dim1 != 0 || to->dim1 != 0) continue;
        std::memcpy(&to->value, &from.value, sizeof to->value);
    }
    if (!WriteOutline(params, part, closed)) {
        ReleaseParamRecords(&params);
        return false;
    }
    const double h = ProjectOffset.shapeHeight;
    SetNumber(params, "quiota_base", std::fabs(h - DBL_MAX) >= 1e-7 ? h : 0.0);
    SetNumber(params, "language", LanguageIndex + 1);
    SetNumber(params, "sbagliato", correct ? 1.0 : 0.0);
    if (!WriteAttributeParams(data, params, record)) {
        ReleaseParamRecords(&params);
        return false;
    }

    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    memo.params = reinterpret_cast<API_AddParType**>(params);
    element.object.libInd = libIndex;
    element.object.xRatio = 1.0;
    element.object.yRatio = 1.0;
    element.object.level = 0.0;
    if (CreateElementWithMemo(&element, &memo, true) != NoError) return false;
    placed.Add(element.header.guid);
    return true;
}

}  // namespace

bool PrepareObjectPolygon(const SHPPolyData& part, bool& correct) {
    correct = false;
    QV_List<QV_CoordLong> chain;
    for (const API_Coord3D& v : part.vertices) chain.Insert(QV_CoordLong{v.x, v.y, 0});
    const API_Coord3D& first = part.vertices[0];
    const API_Coord3D& last = part.vertices[part.vertices.GetCount() - 1];
    if (std::fabs(last.x - first.x) >= 1e-7 || std::fabs(last.y - first.y) >= 1e-7)
        chain.Insert(QV_CoordLong{first.x, first.y, 0});
    Geometry::Polygon2DData outline;
    InitEmptyPolygon2DData(outline);
    if (!CoordLongsToPolygon2DData(outline, chain)) return false;
    GS::VAArray<Geometry::Polygon2DData> result;
    const GSErrCode err =
        Geometry::RegularizePolygon2DData(outline, result, nullptr, true, Geometry::RegularizeKeepHoles);
    if (err == NoError) correct = result.GetSize() != 1 || ArePolygon2DDataEqual(result[0], outline) == 0;
    for (Geometry::Polygon2DData& p : result) Geometry::FreePolygon2DData(&p);
    Geometry::FreePolygon2DData(&outline);
    return err == NoError;
}

bool PlaceGISObjects(ShapeImportData& data, int32_t libIndex, GSHandle params) {
    GS::UniString title("Lodravix");
    int16_t phases = 1;
    ACAPI_Interface(APIIo_InitProcessWindowID, &title, &phases);
    QV_String text;
    GetResString(text, GeneralTableBase + LanguageIndex, WaitText);
    GS::UniString phase(text.GetBuffer(), text.GetLength());
    int32_t maximum = data.entities.GetCount();
    ACAPI_Interface(APIIo_SetNextProcessPhaseID, &phase, &maximum);
    bool ok = true;
    PlacedElements placed;
    const ElementWriting writing;
    for (int32_t i = 0; i < data.entities.GetCount() && ok; ++i) {
        int32_t value = i + 1;
        ACAPI_Interface(APIIo_SetProcessValueID, &value);
        const SHPEntityData& entity = data.entities[i];
        if (entity.status == EntityDegenerate || entity.status == EntityOutside) continue;
        if (!entity.IsPolyline() && !entity.IsPolygon()) continue;
        for (const SHPPolyData& part : entity.parts) {
            // A limited import leaves out the parts outside its area.
            if (data.options.limited && part.areaMark == EntityOutside) continue;
            // The entity's own row: Null shapes before it keep theirs.
            if (!PlaceGISObject(data, part, entity.IsPolygon(), entity.record, libIndex, params, placed)) {
                ok = false;
                break;
            }
        }
    }
    // A failed import leaves nothing: the objects already placed go again.
    if (!ok) {
        placed.TakeBack();
        writing.NoneMade();
    }
    ACAPI_Interface(APIIo_CloseProcessWindowID);
    return ok;
}

void MarkEntitiesToCorrect(ShapeImportData& data) {
    for (const SHPEntityData& entity : data.entities) {
        if (!entity.IsPolygon() || entity.status != EntityToCorrect) continue;
        double x0 = DBL_MAX, y0 = DBL_MAX, x1 = -DBL_MAX, y1 = -DBL_MAX;
        for (const SHPPolyData& part : entity.parts)
            for (const API_Coord3D& v : part.vertices) {
                x0 = std::min(x0, v.x);
                y0 = std::min(y0, v.y);
                x1 = std::max(x1, v.x);
                y1 = std::max(y1, v.y);
            }
        if (x0 > x1) continue;
        API_Element arc = {};
        arc.header.typeID = API_ArcID;
        if (ACAPI_Element_GetDefaults(&arc, nullptr) != NoError) return;
        arc.arc.origC = API_Coord{(x0 + x1) / 2, (y0 + y1) / 2};
        arc.arc.r = std::hypot(x1 - x0, y1 - y0) / 2;
        CreateElementWithMemo(&arc, nullptr, false);
    }
}
