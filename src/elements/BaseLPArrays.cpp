// The views' whole-array slots, kept apart from BaseLP.cpp: they hand over to the array exchange of GdlParams,
// which itself works on views, so the two files do not need each other.
#include "elements/BaseLP.hpp"
#include "elements/GdlParams.hpp"

bool BaseLP::GetSetIntArray(int32_t index, QV_List<int32_t>& list, int32_t& dim1, int32_t& dim2, int32_t mode) {
    QV_String name;
    return NameOf(index, name) && ExchangeIntArrayParam(*this, list, dim1, dim2, name, mode);
}

bool BaseLP::GetSetShortArray(int32_t index, QV_List<int16_t>& list, int32_t& dim1, int32_t& dim2, int32_t mode) {
    QV_String name;
    return NameOf(index, name) && ExchangeShortArrayParam(*this, list, dim1, dim2, name, mode);
}

bool BaseLP::GetSetLongArray(int32_t index, QV_List<int32_t>& list, int32_t& dim1, int32_t& dim2, int32_t mode) {
    QV_String name;
    return NameOf(index, name) && ExchangeLongArrayParam(*this, list, dim1, dim2, name, mode);
}

bool BaseLP::GetSetDoubleArray(int32_t index, QV_List<double>& list, int32_t& dim1, int32_t& dim2, int32_t mode) {
    QV_String name;
    return NameOf(index, name) && ExchangeDoubleArrayParam(*this, list, dim1, dim2, name, mode);
}

bool BaseLP::GetSetDoubleArrayByName(const QV_String& name, QV_List<double>& list, int32_t& dim1, int32_t& dim2,
                                     int32_t mode) {
    return ExchangeDoubleArrayParam(*this, list, dim1, dim2, name, mode);
}

bool BaseLP::GetSetStringArray(int32_t index, QV_List<QV_String>& list, int32_t& dim1, int32_t& dim2, int32_t mode) {
    QV_String name;
    return NameOf(index, name) && ExchangeStringArrayParam(*this, list, dim1, dim2, name, mode);
}

bool BaseLP::GetSetStringArrayByName(const QV_String& name, QV_List<QV_String>& list, int32_t& dim1, int32_t& dim2,
                                     int32_t mode) {
    return ExchangeStringArrayParam(*this, list, dim1, dim2, name, mode);
}
