#include "foundation/OwnedParams.hpp"

void ReleaseParamRecords(GSHandle* params) {
    if (params == nullptr || *params == nullptr) return;
    if (**params != nullptr) {
        const GSSize n = BMGetHandleSize(*params) / GSSize(sizeof(API_AddParType));
        for (GSSize i = 0; i < n; ++i) {
            API_AddParType& rec = reinterpret_cast<API_AddParType*>(**params)[i];
            if (rec.dim1 != 0 && rec.dim2 != 0) BMKillHandle(&rec.value.array);
        }
    }
    BMKillHandle(params);
}

OwnedParams& OwnedParams::operator=(OwnedParams&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
}

GSHandle* OwnedParams::Out() {
    ReleaseParamRecords(&params_);
    return &params_;
}

void OwnedParams::Reset(GSHandle params) {
    if (params == params_) return;
    ReleaseParamRecords(&params_);
    params_ = params;
}

GSHandle OwnedParams::Release() {
    GSHandle params = params_;
    params_ = nullptr;
    return params;
}
