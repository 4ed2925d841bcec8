#pragma once
// A parameter list in a host handle for view tests, built record by record; it frees every cell handle and
// the list itself.
#include "elements/BaseLP.hpp"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

class ParamRecords {
public:
    ParamRecords() : handle(BMAllocateHandle(0, ALLOCATE_CLEAR, 0)) {}
    ~ParamRecords() { ReleaseParamRecords(&handle); }
    ParamRecords(const ParamRecords&) = delete;
    ParamRecords& operator=(const ParamRecords&) = delete;

    int32_t Count() const { return int32_t(BMGetHandleSize(handle) / GSSize(sizeof(API_AddParType))); }
    API_AddParType& At(int32_t i) { return reinterpret_cast<API_AddParType*>(*handle)[i]; }

    API_AddParType& Add(const char* name, int32_t typeID) {
        const int32_t n = Count();
        BMReallocHandle(handle, GSSize(n + 1) * GSSize(sizeof(API_AddParType)), ALLOCATE_CLEAR, 0);
        API_AddParType& r = At(n);
        std::memset(&r, 0, sizeof r);
        std::memcpy(r.name, name, std::min(std::strlen(name), sizeof r.name));
        r.typeID = typeID;
        r.index = int16_t(n);
        return r;
    }
    void Real(const char* name, double v, int32_t typeID = 2) { Add(name, typeID).value.real = v; }
    void Text(const char* name, const std::u16string& t) {
        API_AddParType& r = Add(name, APIParT_Text);
        std::memcpy(r.value.uStr, t.data(), std::min<size_t>(t.size(), 256) * 2);
    }
    void Reals(const char* name, int32_t d1, int32_t d2, const std::vector<double>& v) {
        GSHandle h = BMAllocateHandle(GSSize(v.size() * sizeof(double)), 0, 0);
        if (!v.empty()) std::memcpy(*h, v.data(), v.size() * sizeof(double));
        API_AddParType& r = Add(name, 2);
        r.dim1 = d1;
        r.dim2 = d2;
        r.value.array = h;
    }
    // Texts packed as given: each ended by a 0 unit unless `lastUnterminated`.
    void Texts(const char* name, int32_t d1, int32_t d2, const std::vector<std::u16string>& v,
               bool lastUnterminated = false) {
        std::u16string packed;
        for (const auto& t : v) packed += t + u'\0';
        if (lastUnterminated && !packed.empty()) packed.pop_back();
        GSHandle h = BMAllocateHandle(GSSize(packed.size() * 2), 0, 0);
        if (!packed.empty()) std::memcpy(*h, packed.data(), packed.size() * 2);
        API_AddParType& r = Add(name, APIParT_Text);
        r.dim1 = d1;
        r.dim2 = d2;
        r.value.array = h;
    }

    // The record named `name` (exact), or null.
    API_AddParType* Find(const char* name) {
        for (int32_t i = 0; i < Count(); ++i)
            if (std::strncmp(At(i).name, name, sizeof At(i).name) == 0) return &At(i);
        return nullptr;
    }
    std::vector<double> CellsOf(const char* name) {
        API_AddParType* r = Find(name);
        if (r == nullptr || r->value.array == nullptr) return {};
        const double* d = reinterpret_cast<const double*>(*r->value.array);
        return std::vector<double>(d, d + BMGetHandleSize(r->value.array) / GSSize(sizeof(double)));
    }
    std::u16string TextOf(const char* name) {
        API_AddParType* r = Find(name);
        return r == nullptr ? std::u16string(u"<none>") : std::u16string(r->value.uStr);
    }

    BaseLP View() { return BaseLP(handle, Count()); }

    GSHandle handle;
};

inline std::u16string U16(const QV_String& s) {
    return s.HasBuffer() ? std::u16string(s.GetBuffer(), s.GetLength()) : std::u16string(u"<no buffer>");
}
