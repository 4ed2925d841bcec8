#include "fileio/HostReaderProgress.hpp"

#include "foundation/ACAPI.hpp"

#include "UniString.hpp"

#include <limits>

namespace {
GS::UniString Uni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }
}  // namespace

HostReaderProgress::~HostReaderProgress() { End(); }

void HostReaderProgress::Begin(const QV_String& title, int16_t phaseCount) {
    GS::UniString hostTitle = Uni(title);
    open_ = ACAPI_Interface(APIIo_InitProcessWindowID, &hostTitle, &phaseCount) == NoError;
}

void HostReaderProgress::Phase(const QV_String& text, uint32_t maxValue) {
    if (!open_) return;
    GS::UniString phase = Uni(text);
    int32_t maximum = maxValue > uint32_t(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                                               : int32_t(maxValue);
    ACAPI_Interface(APIIo_SetNextProcessPhaseID, &phase, &maximum);
}

bool HostReaderProgress::Step(uint32_t value) {
    if (!open_) return false;
    int32_t shown =
        value > uint32_t(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max() : int32_t(value);
    ACAPI_Interface(APIIo_SetProcessValueID, &shown);
    return ACAPI_Interface(APIIo_IsProcessCanceledID) == APIERR_CANCEL;
}

void HostReaderProgress::End() {
    if (!open_) return;
    open_ = false;
    ACAPI_Interface(APIIo_CloseProcessWindowID);
}
