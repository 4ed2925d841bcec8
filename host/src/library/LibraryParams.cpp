#include "library/LibraryParams.hpp"

#include "library/LibraryWords.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>

GSHandle MakeParamHandle(const std::vector<LibParamDef>& params) {
    GSHandle h = BMAllocateHandle(GSSize(params.size() * sizeof(API_AddParType)), ALLOCATE_CLEAR, 0);
    if (h == nullptr) return nullptr;
    for (size_t i = 0; i < params.size(); ++i) {
        const LibParamDef& p = params[i];
        API_AddParType& r = reinterpret_cast<API_AddParType*>(*h)[i];
        r.typeID = p.typeID;
        r.index = int16_t(i);
        std::memcpy(r.name, p.name.data(), std::min(p.name.size(), sizeof r.name - 1));
        if (!p.description.empty())
            std::memcpy(r.uDescname, p.description.data(),
                        std::min<size_t>(p.description.size(), 255) * sizeof(char16_t));
        else
            for (size_t k = 0; k < p.name.size() && k < 255; ++k) r.uDescname[k] = char16_t(uint8_t(p.name[k]));
        r.dim1 = p.dim1;
        r.dim2 = p.dim2;
        const bool text = p.typeID == APIParT_Text;
        if (p.dim1 == 0 || p.dim2 == 0) {
            if (text && !p.texts.empty())
                std::memcpy(r.value.uStr, p.texts[0].data(),
                            std::min<size_t>(p.texts[0].size(), LibTextUnitsMax) * sizeof(char16_t));
            else if (!text && !p.numbers.empty())
                r.value.real = p.numbers[0];
            continue;
        }
        // Every declared cell: those past the part's values are 0 / "".
        GSHandle cells = nullptr;
        const size_t count = p.CellCount();
        if (text) {
            const size_t given = std::min(p.texts.size(), count);
            std::u16string packed;
            for (size_t c = 0; c < given; ++c) packed += p.texts[c] + u'\0';
            packed.append(count - given, u'\0');
            cells = BMAllocateHandle(GSSize(packed.size() * sizeof(char16_t)), 0, 0);
            if (cells != nullptr && !packed.empty())
                std::memcpy(*cells, packed.data(), packed.size() * sizeof(char16_t));
        } else {
            const size_t given = std::min(p.numbers.size(), count);
            cells = BMAllocateHandle(GSSize(count * sizeof(double)), ALLOCATE_CLEAR, 0);
            if (cells != nullptr && given > 0) std::memcpy(*cells, p.numbers.data(), given * sizeof(double));
        }
        if (cells == nullptr) {
            // Records after this one are still zero: no handles to release there.
            r.dim1 = r.dim2 = 0;
            DisposeParamHandle(&h);
            return nullptr;
        }
        r.value.array = cells;
    }
    return h;
}

void DisposeParamHandle(GSHandle* params) {
    if (params == nullptr || *params == nullptr) return;
    const GSSize n = BMGetHandleSize(*params) / GSSize(sizeof(API_AddParType));
    for (GSSize i = 0; i < n; ++i) {
        API_AddParType& r = reinterpret_cast<API_AddParType*>(**params)[i];
        if (r.dim1 != 0 && r.dim2 != 0) BMKillHandle(&r.value.array);
    }
    BMKillHandle(params);
}

namespace {
// The rules a parameter of a description meets.
bool ValidParam(const LibParamDef& p, std::string* why) {
    if (p.name.size() > LibParamNameMax || !IsParamName(p.name)) {
        *why = "parameter name '" + p.name + "' is not a name of 1 to 31 letters, digits, '_' or '~'";
        return false;
    }
    if (ParamTypeWord(p.typeID) == nullptr) {
        *why = "parameter '" + p.name + "' has the unknown type " + std::to_string(p.typeID);
        return false;
    }
    const bool array = p.dim1 != 0 || p.dim2 != 0;
    if (array && (p.dim1 < 1 || p.dim2 < 1 || int64_t(p.dim1) * p.dim2 > LibArrayCellsMax)) {
        *why = "parameter '" + p.name + "' has the sizes " + std::to_string(p.dim1) + " x " + std::to_string(p.dim2);
        return false;
    }
    const size_t cells = array ? size_t(int64_t(p.dim1) * p.dim2) : 1;
    const bool text = p.typeID == LibParType::Text;
    // An array may leave its last cells implicit (0 / ""); a scalar holds its one value.
    const size_t held = text ? p.texts.size() : p.numbers.size();
    if ((array ? held > cells : held != cells) || (text ? !p.numbers.empty() : !p.texts.empty())) {
        *why = "parameter '" + p.name + "' does not hold one value per cell";
        return false;
    }
    for (double v : p.numbers)
        if (!std::isfinite(v)) {
            *why = "parameter '" + p.name + "' holds a number that is not finite";
            return false;
        }
    for (const std::u16string& t : p.texts) {
        if (t.find(u'\0') != std::u16string::npos) {
            *why = "parameter '" + p.name + "' holds a text with a NUL character";
            return false;
        }
        if (!array && t.size() > LibTextUnitsMax) {
            *why = "parameter '" + p.name + "' holds a text longer than 255 units";
            return false;
        }
    }
    return true;
}
}  // namespace

bool ValidParams(const std::vector<LibParamDef>& params, std::string* why) {
    if (params.size() > LibParamCountMax) {
        *why = "more than " + std::to_string(LibParamCountMax) + " parameters";
        return false;
    }
    std::set<std::string> names;
    for (const LibParamDef& p : params) {
        if (!ValidParam(p, why)) return false;
        if (!names.insert(LowerCase(p.name)).second) {
            *why = "parameter '" + p.name + "' is given twice";
            return false;
        }
    }
    return true;
}

bool ParamsFromRecords(const API_AddParType* const* records, std::vector<LibParamDef>* params, std::string* why) {
    params->clear();
    if (records == nullptr) return true;
    const GSSize size = BMGetHandleSize(reinterpret_cast<GSConstHandle>(records));
    if (size % GSSize(sizeof(API_AddParType)) != 0) {
        *why = "the parameter handle does not hold whole records";
        return false;
    }
    const size_t n = size_t(size / GSSize(sizeof(API_AddParType)));
    if (n > LibParamCountMax) {
        *why = "more than " + std::to_string(LibParamCountMax) + " parameters";
        return false;
    }
    for (size_t i = 0; i < n; ++i) {
        const API_AddParType& r = (*records)[i];
        LibParamDef p;
        size_t nameLen = 0;
        while (nameLen < sizeof r.name && r.name[nameLen] != '\0') ++nameLen;
        if (nameLen == sizeof r.name) {
            *why = "parameter record " + std::to_string(i) + " has a name without terminator";
            return false;
        }
        p.name.assign(r.name, nameLen);
        p.typeID = r.typeID;
        // A description other than the name is kept.
        size_t descLen = 0;
        while (descLen < 255 && r.uDescname[descLen] != 0) ++descLen;
        const std::u16string description(r.uDescname, descLen);
        if (description != std::u16string(p.name.begin(), p.name.end())) p.description = description;
        const bool array = r.dim1 != 0 && r.dim2 != 0;
        const bool text = r.typeID == LibParType::Text;
        if (!array) {
            if (text) {
                size_t len = 0;
                while (len < 256 && r.value.uStr[len] != 0) ++len;
                if (len == 256) {
                    *why = "parameter '" + p.name + "' holds a text without terminator";
                    return false;
                }
                p.texts.emplace_back(r.value.uStr, len);
            } else {
                p.numbers.push_back(r.value.real);
            }
        } else {
            if (r.dim1 < 1 || r.dim2 < 1 || int64_t(r.dim1) * r.dim2 > LibArrayCellsMax) {
                *why = "parameter '" + p.name + "' has the sizes " + std::to_string(r.dim1) + " x " +
                    std::to_string(r.dim2);
                return false;
            }
            p.dim1 = r.dim1;
            p.dim2 = r.dim2;
            const size_t cells = size_t(int64_t(r.dim1) * r.dim2);
            const GSSize bytes = BMGetHandleSize(r.value.array);
            if (r.value.array == nullptr) {
                *why = "array parameter '" + p.name + "' has no cells";
                return false;
            }
            if (text) {
                const size_t units = size_t(bytes) / sizeof(char16_t);
                const char16_t* u = reinterpret_cast<const char16_t*>(*r.value.array);
                size_t at = 0;
                for (size_t c = 0; c < cells; ++c) {
                    size_t end = at;
                    while (end < units && u[end] != 0) ++end;
                    if (end >= units) {
                        *why = "array parameter '" + p.name + "' holds fewer than " + std::to_string(cells) + " texts";
                        return false;
                    }
                    p.texts.emplace_back(u + at, end - at);
                    at = end + 1;
                }
            } else {
                if (size_t(bytes) < cells * sizeof(double)) {
                    *why = "array parameter '" + p.name + "' holds fewer than " + std::to_string(cells) + " numbers";
                    return false;
                }
                p.numbers.resize(cells);
                std::memcpy(p.numbers.data(), *r.value.array, cells * sizeof(double));
            }
        }
        params->push_back(std::move(p));
    }
    return ValidParams(*params, why);
}

void GetSizeParams(const std::vector<LibParamDef>& params, double* a, double* b) {
    double size[2] = {0.0, 0.0};
    for (const LibParamDef& p : params)
        for (int k = 0; k < 2; ++k)
            if (p.name == (k == 0 ? "A" : "B") && p.dim1 == 0 && !p.numbers.empty()) size[k] = p.numbers[0];
    *a = size[0];
    *b = size[1];
}

void SetSizeParams(std::vector<LibParamDef>* params, double a, double b) {
    const char* names[2] = {"A", "B"};
    const double values[2] = {a, b};
    size_t insertAt = 0;
    for (int k = 0; k < 2; ++k) {
        bool found = false;
        for (size_t i = 0; i < params->size(); ++i) {
            LibParamDef& p = (*params)[i];
            if (LowerCase(p.name) != LowerCase(names[k])) continue;
            found = true;
            if (p.typeID != LibParType::Text && p.dim1 == 0 && p.dim2 == 0 && p.numbers.size() == 1)
                p.numbers[0] = values[k];
            insertAt = i + 1;
        }
        if (!found) {
            LibParamDef p;
            p.name = names[k];
            p.typeID = LibParType::Length;
            p.numbers.push_back(values[k]);
            params->insert(params->begin() + std::ptrdiff_t(insertAt), p);
            ++insertAt;
        }
    }
}
