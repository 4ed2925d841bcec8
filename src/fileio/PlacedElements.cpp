#include "fileio/PlacedElements.hpp"

#include "foundation/ACAPI.hpp"

bool PlacedElements::TakeBack() {
    if (guids_.GetSize() == 0) return true;
    const bool ok = ACAPI_Element_Delete(guids_) == NoError;
    guids_.Clear();
    return ok;
}
