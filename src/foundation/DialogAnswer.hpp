#pragma once
// How the user closed a settings dialog, as every element class's settings run, every dialog port and their callers
// answer it: confirmed with OK, or cancelled. The values are the ones the settings runs have always returned (0 OK,
// 1 cancel), so a number written down elsewhere keeps its meaning.
#include <cstdint>

enum class DialogAnswer : int32_t {
    Confirmed = 0,  // closed with OK: the edits are to be taken
    Cancelled = 1,  // closed any other way: nothing is taken
};

// The answer of a dialog that reports OK as `confirmed`.
constexpr DialogAnswer ConfirmedIf(bool confirmed) {
    return confirmed ? DialogAnswer::Confirmed : DialogAnswer::Cancelled;
}
