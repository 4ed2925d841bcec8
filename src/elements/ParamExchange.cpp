#include "elements/ParamExchange.hpp"

#include "elements/ParamIndexes.hpp"

#include "elements/LibPartViews.hpp"

#include "elements/ArrayParams.hpp"
#include "foundation/Encoding.hpp"

#include <cstring>
#include <initializer_list>

namespace {

bool IsExchangeMode(int32_t mode) { return mode == LPMode_Get || mode == LPMode_Set; }

bool Fail(BaseLP& view, int32_t status) {
    view.status = status;
    return false;
}

// Appends the values to a flat list; false when it cannot grow.
bool Append(QV_List<double>& flat, std::initializer_list<double> values) {
    for (double v : values)
        if (!flat.Insert(v)) return false;
    return true;
}

// Record lists <-> flat row-by-row lists (the interleaved layout of the record-list conversions).
bool Flatten(const QV_List<QV_Coord3DLong>& list, QV_List<double>& flat) {
    return QuadListToDoubles(list, flat, true, false);
}
bool Split(const QV_List<double>& flat, QV_List<QV_Coord3DLong>& list) {
    return DoublesToQuadList(flat, list, true, false);
}
bool Flatten(const QV_List<QV_CoordLong>& list, QV_List<double>& flat) { return TripleListToDoubles(list, flat, true); }
bool Split(const QV_List<double>& flat, QV_List<QV_CoordLong>& list) { return DoublesToTripleList(flat, list, true); }
bool Flatten(const QV_List<API_Coord3D>& list, QV_List<double>& flat) { return TriplesToDoubleList(list, flat, true); }
bool Split(const QV_List<double>& flat, QV_List<API_Coord3D>& list) {
    const int32_t n = flat.GetCount() / 3;
    for (int32_t r = 0; r < n; ++r)
        if (!list.Insert({flat[3 * r], flat[3 * r + 1], flat[3 * r + 2]})) return false;
    return true;
}

// Reads or writes a record list as rows of `width` cells through slot 11; all or nothing on reading.
template <typename T>
bool ExchangeRows(BaseLP& view, int32_t index, int32_t width, QV_List<T>& list, int32_t mode) {
    if (!IsExchangeMode(mode)) return true;
    QV_List<double> flat;
    int32_t dim1 = 0;
    int32_t dim2 = 0;
    if (mode == LPMode_Set) {
        if (!Flatten(list, flat)) return Fail(view, LPStatus_NoMemory);
        dim1 = list.GetCount();
        dim2 = width;
        return view.GetSetDoubleArray(index, flat, dim1, dim2, LPMode_Set);
    }
    if (!view.GetSetDoubleArray(index, flat, dim1, dim2, LPMode_Get)) return false;
    QV_List<T> read;
    if (!Split(flat, read) || !list.InsertList(read)) return Fail(view, LPStatus_NoMemory);
    return true;
}

// A text in the system code page, at most 15 bytes, into a 16-byte field (NUL-ended, rest zero); false when
// it cannot be converted.
bool ToCodeField(const QV_String& text, char (&field)[16]) {
    std::memset(field, 0, sizeof field);
    if (!text.HasBuffer() || text.IsEmpty()) return true;
    MultiByteBuffer bytes = text.ToMultiByte(Encoding_System);
    if (bytes.bytes == nullptr) return false;
    const size_t n = strnlen(bytes.bytes, sizeof field - 1);
    std::memcpy(field, bytes.bytes, n);
    GS::MemoryManager::Free(bytes.bytes);
    return true;
}

QV_String FromCodeField(const char (&field)[16]) {
    const size_t n = strnlen(field, sizeof field);
    return QV_String(field, uint32_t(n), Encoding_System);
}

// The shorts of one area attribute (pens and materials are stored in short arrays).
template <typename Field>
bool WriteShortAttribute(BaseLP& view, int32_t index, const QV_List<PaintInfo>& areas, Field field) {
    QV_List<int16_t> values;
    for (const PaintInfo& a : areas)
        if (!values.Insert(int16_t(field(a)))) return Fail(view, LPStatus_NoMemory);
    int32_t dim1 = 1;
    int32_t dim2 = areas.GetCount();
    return view.GetSetShortArray(index, values, dim1, dim2, LPMode_Set);
}

}  // namespace

namespace LPArrays {

bool QuadRows(BaseLP& view, int32_t index, QV_List<QV_Coord3DLong>& list, int32_t mode) {
    return ExchangeRows(view, index, 4, list, mode);
}

bool TripleRows(BaseLP& view, int32_t index, QV_List<API_Coord3D>& list, int32_t mode) {
    return ExchangeRows(view, index, 3, list, mode);
}

bool CodedTripleRows(BaseLP& view, int32_t index, QV_List<QV_CoordLong>& list, int32_t mode) {
    return ExchangeRows(view, index, 3, list, mode);
}

bool PointPair(BaseLP& view, int32_t index, API_Coord& point, int32_t mode) {
    if (!IsExchangeMode(mode)) return true;
    QV_List<double> flat;
    int32_t dim1 = 1;
    int32_t dim2 = 2;
    if (mode == LPMode_Set) {
        if (!Append(flat, {point.x, point.y})) return Fail(view, LPStatus_NoMemory);
        return view.GetSetDoubleArray(index, flat, dim1, dim2, LPMode_Set);
    }
    if (!view.GetSetDoubleArray(index, flat, dim1, dim2, LPMode_Get)) return false;
    if (flat.GetCount() < 2) return Fail(view, LPStatus_BadCell);
    point.x = flat[0];
    point.y = flat[1];
    return true;
}

bool RgbRows(BaseLP& view, int32_t index, API_Coord3D colours[4], int32_t mode) {
    if (!IsExchangeMode(mode)) return true;
    QV_List<double> flat;
    int32_t dim1 = 4;
    int32_t dim2 = 3;
    if (mode == LPMode_Set) {
        for (int32_t c = 0; c < 4; ++c)
            if (!Append(flat, {colours[c].x, colours[c].y, colours[c].z})) return Fail(view, LPStatus_NoMemory);
        return view.GetSetDoubleArray(index, flat, dim1, dim2, LPMode_Set);
    }
    if (!view.GetSetDoubleArray(index, flat, dim1, dim2, LPMode_Get)) return false;
    if (flat.GetCount() < 12) return Fail(view, LPStatus_BadCell);
    for (int32_t c = 0; c < 4; ++c) colours[c] = {flat[3 * c], flat[3 * c + 1], flat[3 * c + 2]};
    return true;
}

bool TextColumn(BaseLP& view, int32_t index, QV_List<QV_String>& list, int32_t mode) {
    if (!IsExchangeMode(mode)) return true;
    int32_t dim1 = list.GetCount();
    int32_t dim2 = 1;
    if (mode == LPMode_Set) return view.GetSetStringArray(index, list, dim1, dim2, LPMode_Set);
    QV_List<QV_String> read;
    if (!view.GetSetStringArray(index, read, dim1, dim2, LPMode_Get)) return false;
    if (!list.InsertList(read)) return Fail(view, LPStatus_NoMemory);
    return true;
}

bool DoubleGrid(BaseLP& view, int32_t index, QV_List<double>& list, int32_t& rows, int32_t& columns, int32_t mode) {
    if (!IsExchangeMode(mode)) return true;
    return view.GetSetDoubleArray(index, list, rows, columns, mode);
}

bool WriteLongColumn(BaseLP& view, int32_t index, const QV_List<int32_t>& list) {
    QV_List<int32_t> copy(list);
    int32_t dim1 = copy.GetCount();
    int32_t dim2 = 1;
    return view.GetSetLongArray(index, copy, dim1, dim2, LPMode_Set);
}

bool WriteDoubleColumn(BaseLP& view, int32_t index, const QV_List<double>& list) {
    QV_List<double> copy(list);
    int32_t dim1 = copy.GetCount();
    int32_t dim2 = 1;
    return view.GetSetDoubleArray(index, copy, dim1, dim2, LPMode_Set);
}

bool PolylineRows(BaseLP& view, int32_t countsIndex, int32_t coordsIndex, QV_List<int32_t>& counts,
                  QV_List<API_Coord3D>& points, int32_t mode) {
    if (mode == LPMode_Set) {
        // The counts must describe the points given: a larger sum would read past them.
        int64_t total = 0;
        int32_t longest = 0;
        for (int32_t c : counts) {
            if (c < 0) return Fail(view, LPStatus_BadCell);
            total += c;
            if (c > longest) longest = c;
        }
        if (total > points.GetCount()) return Fail(view, LPStatus_BadCell);
        int32_t dim1 = counts.GetCount();
        int32_t dim2 = 1;
        if (!view.GetSetLongArray(countsIndex, counts, dim1, dim2, LPMode_Set)) return false;
        QV_List<double> flat;
        int32_t next = 0;
        for (int32_t c : counts) {
            for (int32_t p = 0; p < longest; ++p) {
                const API_Coord3D q = p < c ? points[next + p] : API_Coord3D{0.0, 0.0, 0.0};
                if (!Append(flat, {q.x, q.y, q.z})) return Fail(view, LPStatus_NoMemory);
            }
            next += c;
        }
        dim1 = counts.GetCount();
        dim2 = 3 * longest;
        return view.GetSetDoubleArray(coordsIndex, flat, dim1, dim2, LPMode_Set);
    }

    QV_List<int32_t> readCounts;
    int32_t dim1 = 0;
    int32_t dim2 = 0;
    if (!view.GetSetLongArray(countsIndex, readCounts, dim1, dim2, LPMode_Get)) return false;
    if (readCounts.GetCount() == 1 && readCounts[0] == 0) return true;  // no polyline
    QV_List<double> flat;
    if (!view.GetSetDoubleArray(coordsIndex, flat, dim1, dim2, LPMode_Get)) return false;
    const int32_t perRow = dim2 / 3;
    const int32_t triples = flat.GetCount() / 3;
    QV_List<API_Coord3D> readPoints;
    for (int32_t j = 0; j < readCounts.GetCount(); ++j) {
        const int32_t c = readCounts[j];
        if (c == 0) continue;
        // The counts come from an editable array: never read past the row or the coordinates.
        if (c < 0 || c > perRow || int64_t(j) * perRow + c > triples) return Fail(view, LPStatus_BadCell);
        const double* row = &flat[3 * j * perRow];
        for (int32_t p = 0; p < c; ++p)
            if (!readPoints.Insert({row[3 * p], row[3 * p + 1], row[3 * p + 2]})) return Fail(view, LPStatus_NoMemory);
    }
    const int32_t countsBefore = counts.GetCount();
    if (!counts.InsertList(readCounts)) return Fail(view, LPStatus_NoMemory);
    if (!points.InsertList(readPoints)) {
        counts.SetSize(countsBefore);
        return Fail(view, LPStatus_NoMemory);
    }
    return true;
}

bool WriteColumnGroups(BaseLP& view, int32_t index, const QV_List<QV_Poly3D>& lists) {
    int32_t rows = 0;
    for (const QV_Poly3D& p : lists)
        if (p.points.GetCount() > rows) rows = p.points.GetCount();
    QV_List<double> flat;
    for (int32_t i = 0; i < rows; ++i) {
        for (const QV_Poly3D& p : lists) {
            const QV_List<API_Coord3D>& l = p.points;
            const API_Coord3D q = i < l.GetCount() ? l[i] : API_Coord3D{0.0, 0.0, 0.0};
            if (!Append(flat, {q.x, q.y, q.z})) return Fail(view, LPStatus_NoMemory);
        }
    }
    int32_t dim1 = rows;
    int32_t dim2 = 3 * lists.GetCount();
    return view.GetSetDoubleArray(index, flat, dim1, dim2, LPMode_Set);
}

bool AreaRecords(BaseLP& view, QV_List<PaintInfo>& areas, int32_t mode) {
    if (mode == LPMode_Set) {
        QV_List<int32_t> counts;
        QV_List<API_Coord3D> points;
        QV_List<int32_t> retino;
        QV_List<double> dislivello;
        for (const PaintInfo& a : areas) {
            if (!counts.Insert(a.points.GetCount()) || !points.InsertList(a.points) || !retino.Insert(a.retino) ||
                !dislivello.Insert(a.dislivello))
                return Fail(view, LPStatus_NoMemory);
        }
        if (!PolylineRows(view, PaintParam::Nodes, PaintParam::Coordinates, counts, points, LPMode_Set)) return false;
        const int32_t n = areas.GetCount();
        int32_t dim1 = 1;
        int32_t dim2 = n;
        if (!view.GetSetIntArray(PaintParam::Retino, retino, dim1, dim2, LPMode_Set)) return false;
        if (!WriteShortAttribute(view, PaintParam::Penna, areas, [](const PaintInfo& a) { return a.penna; }) ||
            !WriteShortAttribute(view, PaintParam::PennaRetino, areas,
                                 [](const PaintInfo& a) { return a.penna_retino; }) ||
            !WriteShortAttribute(view, PaintParam::SfondoRetino, areas,
                                 [](const PaintInfo& a) { return a.sfondo_retino; }) ||
            !WriteShortAttribute(view, PaintParam::Mat, areas, [](const PaintInfo& a) { return a.mat; }))
            return false;
        dim1 = 1;
        dim2 = n;
        return view.GetSetDoubleArray(PaintParam::Dislivello, dislivello, dim1, dim2, LPMode_Set);
    }

    QV_List<int32_t> counts;
    QV_List<API_Coord3D> points;
    if (!PolylineRows(view, PaintParam::Nodes, PaintParam::Coordinates, counts, points, LPMode_Get)) return false;
    QV_List<int32_t> retino;
    QV_List<int16_t> penna, pennaRetino, sfondoRetino, mat;
    QV_List<double> dislivello;
    int32_t d1 = 0;
    int32_t d2 = 0;
    if (!view.GetSetIntArray(PaintParam::Retino, retino, d1, d2, LPMode_Get) ||
        !view.GetSetShortArray(PaintParam::Penna, penna, d1, d2, LPMode_Get) ||
        !view.GetSetShortArray(PaintParam::PennaRetino, pennaRetino, d1, d2, LPMode_Get) ||
        !view.GetSetShortArray(PaintParam::SfondoRetino, sfondoRetino, d1, d2, LPMode_Get) ||
        !view.GetSetShortArray(PaintParam::Mat, mat, d1, d2, LPMode_Get) ||
        !view.GetSetDoubleArray(PaintParam::Dislivello, dislivello, d1, d2, LPMode_Get))
        return false;
    const int32_t n = counts.GetCount();
    // Every outline needs its attributes: shorter attribute arrays would be read past their end.
    if (retino.GetCount() < n || penna.GetCount() < n || pennaRetino.GetCount() < n || sfondoRetino.GetCount() < n ||
        mat.GetCount() < n || dislivello.GetCount() < n)
        return Fail(view, LPStatus_BadCell);
    QV_List<PaintInfo> read;
    int32_t next = 0;
    for (int32_t j = 0; j < n; ++j) {
        PaintInfo area;
        for (int32_t p = 0; p < counts[j]; ++p)
            if (!area.points.Insert(points[next + p])) return Fail(view, LPStatus_NoMemory);
        next += counts[j];
        area.retino = retino[j];
        area.penna = uint16_t(penna[j]);
        area.penna_retino = uint16_t(pennaRetino[j]);
        area.sfondo_retino = uint16_t(sfondoRetino[j]);
        area.mat = uint16_t(mat[j]);
        area.dislivello = dislivello[j];
        if (!read.Insert(area)) return Fail(view, LPStatus_NoMemory);
    }
    if (!areas.InsertList(read)) return Fail(view, LPStatus_NoMemory);
    return true;
}

bool LinkFlag(BaseLP& view, int32_t index, API_Guid& guid, int32_t mode) {
    if (mode != LPMode_Set) {
        guid = APINULLGuid;
        return true;
    }
    int32_t flag = guid != APINULLGuid ? 0 : -1;
    return view.GetSetInt(index, flag, LPMode_Set);
}

}  // namespace LPArrays

bool BaseIDLP::ExchangePerimetroBase(BaseIDLP& view, QV_List<QV_Coord3DLong>& list, int32_t mode) {
    return LPArrays::QuadRows(view, BaseIDParam::Outline, list, mode);
}

bool BaseIDLP::ExchangePerimetroBaseSX(BaseIDLP& view, QV_List<QV_Coord3DLong>& list, int32_t mode) {
    return LPArrays::QuadRows(view, BaseIDParam::OutlineLeft, list, mode);
}

bool BaseIDLP::ExchangePerimetroBaseDX(BaseIDLP& view, QV_List<QV_Coord3DLong>& list, int32_t mode) {
    return LPArrays::QuadRows(view, BaseIDParam::OutlineRight, list, mode);
}

bool BaseIDLP::ExchangeObstacles(BaseIDLP& view, QV_List<int32_t>& counts, QV_List<API_Coord3D>& points, int32_t mode) {
    return LPArrays::PolylineRows(view, BaseIDParam::ObstacleCounts, BaseIDParam::Obstacles, counts, points, mode);
}

bool ExchangeDoubleList39(BaseLP& view, QV_List<API_Coord3D>& list, int32_t mode) {
    return LPArrays::TripleRows(view, BasinParam::Outline, list, mode);
}

bool ExchangeCoordLists(BaseLP& view, const QV_List<QV_CoordLong>& first, const QV_List<QV_CoordLong>& second) {
    QV_List<double> counts;
    if (!Append(counts, {double(first.GetCount()), double(second.GetCount())})) return Fail(view, LPStatus_NoMemory);
    int32_t dim1 = 1;
    int32_t dim2 = 2;
    if (!view.GetSetDoubleArray(BaseIDParam::CutsEnne, counts, dim1, dim2, LPMode_Set)) return false;
    const int32_t rows = first.GetCount() > second.GetCount() ? first.GetCount() : second.GetCount();
    QV_List<double> flat;
    for (int32_t i = 0; i < rows; ++i) {
        const QV_CoordLong a = i < first.GetCount() ? first[i] : QV_CoordLong{0.0, 0.0, 0};
        const QV_CoordLong b = i < second.GetCount() ? second[i] : QV_CoordLong{0.0, 0.0, 0};
        if (!Append(flat, {a.x, a.y, double(a.code), b.x, b.y, double(b.code)})) return Fail(view, LPStatus_NoMemory);
    }
    dim1 = rows;
    dim2 = 6;
    return view.GetSetDoubleArray(BaseIDParam::CutsNode, flat, dim1, dim2, LPMode_Set);
}

bool ExchangeStringList(BaseLP& view, QV_List<CalculationVolume>& list, int32_t mode) {
    if (!IsExchangeMode(mode)) return true;
    QV_List<double> values;
    QV_List<QV_String> texts;
    int32_t dim1 = 0;
    int32_t dim2 = 2;
    if (mode == LPMode_Get) {
        list.Clear();
        int32_t textRows = 0;
        int32_t textColumns = 0;
        if (!view.GetSetDoubleArray(ContourLineParam::Quantities, values, dim1, dim2, LPMode_Get)) return false;
        if (!view.GetSetStringArray(ContourLineParam::Identifiers, texts, textRows, textColumns, LPMode_Get))
            return false;
        // Row i takes values and texts 2i and 2i + 1: both arrays must hold them.
        if (int64_t(2) * dim1 > values.GetCount() || int64_t(2) * dim1 > texts.GetCount())
            return Fail(view, LPStatus_BadCell);
        QV_List<CalculationVolume> read;
        for (int32_t i = 0; i < dim1; ++i) {
            CalculationVolume v;
            v.secondDifference = values[2 * i];
            v.firstDifference = values[2 * i + 1];
            v.total = 0.0;
            v.featureName = texts[2 * i];
            if (!ToCodeField(texts[2 * i + 1], v.terrainName) || !read.Insert(v)) return Fail(view, LPStatus_NoMemory);
        }
        if (!list.InsertList(read)) return Fail(view, LPStatus_NoMemory);
        return true;
    }

    const QV_String empty("");
    if (list.IsEmpty()) {
        if (!Append(values, {0.0, 0.0}) || !texts.Insert(empty) || !texts.Insert(empty))
            return Fail(view, LPStatus_NoMemory);
    }
    for (const CalculationVolume& v : list) {
        const QV_String label = v.featureName.HasBuffer() ? v.featureName : empty;
        if (!Append(values, {v.secondDifference, v.firstDifference}) || !texts.Insert(label) ||
            !texts.Insert(FromCodeField(v.terrainName)))
            return Fail(view, LPStatus_NoMemory);
    }
    dim1 = list.IsEmpty() ? 1 : list.GetCount();
    dim2 = 2;
    if (!view.GetSetDoubleArray(ContourLineParam::Quantities, values, dim1, dim2, LPMode_Set)) return false;
    int32_t textRows = dim1;
    int32_t textColumns = 2;
    return view.GetSetStringArray(ContourLineParam::Identifiers, texts, textRows, textColumns, LPMode_Set);
}

// --- the views' own exchanges

bool ContourLineLP::ExchangeRgbColours(ContourLineLP& view, API_Coord3D colours[4], int32_t mode) {
    return LPArrays::RgbRows(view, ContourLineParam::Rgb, colours, mode);
}

bool ObstacleLP::ExchangeArray(ObstacleLP& view, QV_List<QV_CoordLong>& list, int32_t mode) {
    return LPArrays::CodedTripleRows(view, ObstacleParam::Original, list, mode);
}

bool PaintLP::ExchangeOrigin(PaintLP& view, API_Coord& origin, int32_t mode) {
    return LPArrays::PointPair(view, PaintParam::Origine, origin, mode);
}

bool PaintLP::ExchangeAreaOutlines(PaintLP& view, QV_List<int32_t>& counts, QV_List<API_Coord3D>& points,
                                   int32_t mode) {
    if (mode != LPMode_Set) {
        counts.Clear();
        points.Clear();
    }
    return LPArrays::PolylineRows(view, PaintParam::Nodes, PaintParam::Coordinates, counts, points, mode);
}

bool PaintLP::ExchangePolygon(PaintLP& view, QV_List<PaintInfo>& areas, int32_t mode) {
    return LPArrays::AreaRecords(view, areas, mode == LPMode_Set ? LPMode_Set : LPMode_Get);
}

bool RailwayLP::ExchangeDoubleListA(BaseIDLP& view, QV_List<API_Coord3D>& list, int32_t mode) {
    return LPArrays::TripleRows(view, RoadParam::Right, list, mode);
}

bool RailwayLP::ExchangeDoubleListB(BaseIDLP& view, QV_List<API_Coord3D>& list, int32_t mode) {
    return LPArrays::TripleRows(view, RoadParam::Left, list, mode);
}

bool RailwayLP::ExchangeLinkFlag(RailwayLP& view, API_Guid& original, int32_t mode) {
    return LPArrays::LinkFlag(view, RoadParam::Original, original, mode);
}

bool MarkerLP::ExchangePointRef(MarkerLP& view, API_Coord& point, int32_t mode) {
    return LPArrays::PointPair(view, MarkerParam::PointRef, point, mode);
}

bool MarkerLP::ExchangeLevelGrid(MarkerLP& view, QV_List<double>& heights, int32_t& rows, int32_t& columns,
                                 int32_t mode) {
    return LPArrays::DoubleGrid(view, MarkerParam::Levels, heights, rows, columns, mode);
}

bool MarkerPtLP::ExchangeDoubleList(MarkerPtLP& view, QV_List<API_Coord3D>& points, int32_t mode) {
    return LPArrays::TripleRows(view, MarkerPtParam::Coordinates, points, mode);
}

bool MarkerPtLP::ExchangeStringArrayA(MarkerPtLP& view, QV_List<QV_String>& codes, int32_t mode) {
    return LPArrays::TextColumn(view, MarkerPtParam::Codes, codes, mode);
}

bool MarkerPtLP::ExchangeStringArrayB(MarkerPtLP& view, QV_List<QV_String>& comments, int32_t mode) {
    return LPArrays::TextColumn(view, MarkerPtParam::Comments, comments, mode);
}

bool SlopeRangeLP::ExchangeMask(SlopeRangeLP& view, const QV_List<QV_Poly3D>& polygons) {
    return LPArrays::WriteColumnGroups(view, SlopeRangeParam::Mask, polygons);
}

bool SlopeRangeLP::WriteIndices(SlopeRangeLP& view, const QV_List<int32_t>& indices) {
    return LPArrays::WriteLongColumn(view, SlopeRangeParam::Indices, indices);
}

bool SlopeRangeLP::WriteSlopes(SlopeRangeLP& view, const QV_List<double>& slopes) {
    return LPArrays::WriteDoubleColumn(view, SlopeRangeParam::Slopes, slopes);
}
