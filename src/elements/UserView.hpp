#pragma once
// What the user sees, the window in front and the selection, kept to be given back when what they asked for is
// taken back: a failed action leaves the user where they were.
#include "foundation/ACAPI.hpp"

#include <cstdint>

class UserView {
public:
    UserView();  // what the user sees now
    // Brings the kept window to the front and selects the kept elements again, where either changed since. What
    // the host could not tell when kept is left as it is. The answer: 0 when the user has their view back, else the
    // error to tell them (the selection could not be read when kept, or the host would not set it again).
    int32_t GiveBack();

private:
    API_WindowInfo window = {};
    GS::Array<API_Neig> selection;
    bool windowKnown = false;
    bool selectionKnown = false;
};
