#pragma once
// A basin's level as its object stores it: "ZZYZX" cannot go below zero, so a level under the water line of
// -1e-7 goes to "negative_level" instead, the other parameter 0.

namespace Basin {

struct BasinLevelParams {
    double zzyzx;          // "ZZYZX"
    double negativeLevel;  // "negative_level"
};

BasinLevelParams SplitLevel(double level);
// The level back from the two parameters (their sum, whichever holds it).
double JoinLevel(const BasinLevelParams& params);

}  // namespace Basin
