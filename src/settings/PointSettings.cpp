#include "settings/PointSettings.hpp"

int32_t NextPointCodeNumber(int32_t codeNumber) {
    const int32_t next = (codeNumber + 1) % PointCodeNumberLimit;
    return next < 0 ? 0 : next;
}
