#include "elements/NewLibPartObject.hpp"

#include "elements/BaseLP.hpp"
#include "foundation/ACAPI.hpp"

#include <cstring>

bool NewLibPartObject(int32_t libIndex, API_Element& placed, API_ElementMemo& memo) {
    std::memset(static_cast<void*>(&placed), 0, sizeof placed);
    placed.header.typeID = API_ObjectID;
    if (ACAPI_Element_GetDefaults(&placed, nullptr) != NoError) return false;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    GSHandle params = nullptr;
    if (!BaseLP::GetLibPartParams(libIndex, &params, nullptr, nullptr, nullptr)) return false;
    memo.params = reinterpret_cast<API_AddParType**>(params);
    return true;
}
