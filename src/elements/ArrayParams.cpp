#include "elements/ArrayParams.hpp"

#include "elements/GdlParams.hpp"
#include "elements/ParamIndexes.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Position of field j of record i in a flat list of n records of k fields.
inline int32_t FlatIndex(int32_t i, int32_t j, int32_t n, int32_t k, bool interleaved) {
    return interleaved ? i * k + j : j * n + i;
}

// Appends n records of K fields, field j of record i given by get(record, j).
template <int32_t K, typename Record, typename Get>
bool RecordsToDoubles(const QV_List<Record>& source, QV_List<double>& target, bool interleaved, Get get) {
    const int32_t n = source.GetCount();
    if (n == 0) return true;
    const int32_t base = target.GetCount();
    if (int64_t(n) * K > int64_t(INT32_MAX) - base) return false;
    if (!target.SetSize(base + n * K)) return false;
    for (int32_t i = 0; i < n; ++i)
        for (int32_t j = 0; j < K; ++j) target[base + FlatIndex(i, j, n, K, interleaved)] = get(source[i], j);
    return true;
}

// Appends floor(count / K) records, record i built by set(record, j, value) from its K values.
template <int32_t K, typename Record, typename Set>
bool DoublesToRecords(const QV_List<double>& source, QV_List<Record>& target, bool interleaved, Set set) {
    const int32_t n = source.GetCount() / K;
    if (n == 0) return true;
    const int32_t base = target.GetCount();
    if (n > INT32_MAX - base) return false;
    if (!target.SetSize(base + n)) return false;
    for (int32_t i = 0; i < n; ++i) {
        Record& record = target[base + i];
        for (int32_t j = 0; j < K; ++j) set(record, j, source[FlatIndex(i, j, n, K, interleaved)]);
    }
    return true;
}

}  // namespace

int32_t CodeFromDouble(double value) {
    if (std::isnan(value)) return 0;
    if (value >= double(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    if (value <= double(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    return int32_t(value);  // truncates toward zero
}

bool QuadListToDoubles(const QV_List<QV_Coord3DLong>& source, QV_List<double>& target, bool interleaved,
                       bool codeBeforeZ) {
    const int32_t zField = codeBeforeZ ? 3 : 2;
    return RecordsToDoubles<4>(source, target, interleaved, [zField](const QV_Coord3DLong& p, int32_t j) {
        if (j == 0) return p.x;
        if (j == 1) return p.y;
        return j == zField ? p.z : double(p.code);
    });
}

bool DoublesToQuadList(const QV_List<double>& source, QV_List<QV_Coord3DLong>& target, bool interleaved,
                       bool codeBeforeZ) {
    const int32_t zField = codeBeforeZ ? 3 : 2;
    return DoublesToRecords<4>(source, target, interleaved, [zField](QV_Coord3DLong& p, int32_t j, double v) {
        if (j == 0)
            p.x = v;
        else if (j == 1)
            p.y = v;
        else if (j == zField)
            p.z = v;
        else
            p.code = CodeFromDouble(v);
    });
}

bool TripleListToDoubles(const QV_List<QV_CoordLong>& source, QV_List<double>& target, bool interleaved) {
    return RecordsToDoubles<3>(source, target, interleaved, [](const QV_CoordLong& p, int32_t j) {
        return j == 0 ? p.x : j == 1 ? p.y : double(p.code);
    });
}

bool DoublesToTripleList(const QV_List<double>& source, QV_List<QV_CoordLong>& target, bool interleaved) {
    return DoublesToRecords<3>(source, target, interleaved, [](QV_CoordLong& p, int32_t j, double v) {
        if (j == 0)
            p.x = v;
        else if (j == 1)
            p.y = v;
        else
            p.code = CodeFromDouble(v);
    });
}

bool TriplesToDoubleList(const QV_List<API_Coord3D>& source, QV_List<double>& target, bool interleaved) {
    return RecordsToDoubles<3>(source, target, interleaved, [](const API_Coord3D& p, int32_t j) {
        return j == 0 ? p.x : j == 1 ? p.y : p.z;
    });
}

bool WriteDoubleArrayParam60(BaseLP& view, const API_Coord3D& first, const API_Coord3D& second) {
    QV_List<double> values;
    if (!values.Insert(first.x) || !values.Insert(first.y) || !values.Insert(second.x) || !values.Insert(second.y)) {
        view.status = LPStatus_NoMemory;
        return false;
    }
    int32_t dim1 = 2;
    int32_t dim2 = 2;
    return ExchangeDoubleArrayParam(view, values, dim1, dim2,
                                    QV_String(view.GetParamName(ContourLineParam::BoundingBox)), 1);
}
