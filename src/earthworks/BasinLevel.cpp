#include "earthworks/BasinLevel.hpp"

namespace Basin {

BasinLevelParams SplitLevel(double level) {
    if (level > -1e-7) return {level, 0.0};
    return {0.0, level};
}

double JoinLevel(const BasinLevelParams& params) { return params.zzyzx + params.negativeLevel; }

}  // namespace Basin
