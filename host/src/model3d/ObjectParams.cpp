#include "model3d/ObjectParams.hpp"

#include "library/LibraryWords.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

const StoredParam* FindObjectParam(const StoredElement& object, const std::string& name) {
    if (!object.memo->params) return nullptr;
    const std::string wanted = LowerCase(name);
    for (const StoredParam& p : *object.memo->params)
        if (LowerCase(std::string(p.record.name, strnlen(p.record.name, sizeof p.record.name))) == wanted) return &p;
    return nullptr;
}

bool ObjectNumber(const StoredElement& object, const std::string& name, double* value, std::string* why) {
    const StoredParam* p = FindObjectParam(object, name);
    if (p == nullptr || p->IsArray() || p->record.typeID == APIParT_Text || !std::isfinite(p->record.value.real)) {
        *why = "parameter " + name + " is not a number";
        return false;
    }
    *value = p->record.value.real;
    return true;
}

bool ObjectText(const StoredElement& object, const std::string& name, std::u16string* value, std::string* why) {
    const StoredParam* p = FindObjectParam(object, name);
    if (p == nullptr || p->IsArray() || p->record.typeID != APIParT_Text) {
        *why = "parameter " + name + " is not a text";
        return false;
    }
    size_t len = 0;
    while (len < 256 && p->record.value.uStr[len] != 0) ++len;
    value->assign(p->record.value.uStr, len);
    return true;
}

bool ObjectRows(const StoredElement& object, const std::string& name, size_t minColumns,
                std::vector<std::vector<double>>* rows, std::string* why) {
    const StoredParam* p = FindObjectParam(object, name);
    if (p == nullptr || !p->IsArray() || p->record.typeID == APIParT_Text || p->record.dim1 < 1 ||
        size_t(p->record.dim2) < minColumns) {
        *why = "parameter " + name + " is not an array of " + std::to_string(minColumns) + " columns or more";
        return false;
    }
    const size_t n = p->cells.size() / sizeof(double), columns = size_t(p->record.dim2);
    // Rows past the cells kept are left out: the memory follows the values, not the declared size.
    rows->assign(std::min(size_t(p->record.dim1), (n + columns - 1) / columns), std::vector<double>(columns, 0.0));
    for (size_t i = 0; i < n && i < rows->size() * columns; ++i)
        std::memcpy(&(*rows)[i / columns][i % columns], p->cells.data() + i * sizeof(double), sizeof(double));
    return true;
}

ModelPoint PlaceObjectPoint(const API_ObjectType& o, double x, double y, double z) {
    if (o.reflected) x = -x;
    const double c = std::cos(o.angle), s = std::sin(o.angle);
    return {o.pos.x + x * c - y * s, o.pos.y + x * s + y * c, z};
}

std::vector<ModelPoint> ObjectPoints(const API_ObjectType& o, const std::vector<std::vector<double>>& rows, size_t from,
                                     size_t count) {
    std::vector<ModelPoint> points;
    for (size_t k = 0; k < count && from + k < rows.size(); ++k) {
        const std::vector<double>& r = rows[from + k];
        const double z = r.size() > 2 ? r[2] : 0.0;
        if (std::isfinite(r[0]) && std::isfinite(r[1]) && std::isfinite(z))
            points.push_back(PlaceObjectPoint(o, r[0], r[1], z));
    }
    return points;
}
