#pragma once
// A library part's parameter list as the host hands it out: a handle of API_AddParType records whose array
// parameters each hold their cells in a handle of their own. `OwnedParams` owns one such list and frees it, cells
// and all, on every path out of the scope that fetched it.
#include "APIDefs.hpp"
#include "GSRoot.hpp"

// Frees the list's array cells, then the list; *params becomes null. A null pointer or list is fine.
void ReleaseParamRecords(GSHandle* params);

class OwnedParams {
public:
    OwnedParams() = default;
    explicit OwnedParams(GSHandle params) : params_(params) {}
    ~OwnedParams() { ReleaseParamRecords(&params_); }
    OwnedParams(const OwnedParams&) = delete;
    OwnedParams& operator=(const OwnedParams&) = delete;
    OwnedParams(OwnedParams&& other) noexcept : params_(other.Release()) {}
    OwnedParams& operator=(OwnedParams&& other) noexcept;

    GSHandle Get() const { return params_; }
    // Where a host call writes a new list: the list held so far is freed first.
    GSHandle* Out();
    // Frees the held list and takes `params` in its place.
    void Reset(GSHandle params = nullptr);
    // Hands the list to the caller, who frees it from now on.
    GSHandle Release();

private:
    GSHandle params_ = nullptr;
};
