#pragma once
// A dialog in two layouts that the user switches between: the one loop that opens the first layout, then the other
// at each switch, until one closes with OK or with a plain cancel. Every two-layout dialog runs its layouts through
// it, whether the dialog's own run holds the loop or the element class that asks (one layout per port call).
#include "foundation/DialogAnswer.hpp"

#include <cstdint>

// How one layout closed.
enum class LayoutClose : uint8_t {
    Confirmed,    // OK
    Cancelled,    // Cancel, or closed without asking for the other layout
    OtherLayout,  // the layout button: the other layout goes on from the edits
};

// One layout's close from its answer and whether it asked for the other layout (only a cancel can).
constexpr LayoutClose LayoutClosed(DialogAnswer answer, bool otherLayoutAsked) {
    if (answer == DialogAnswer::Confirmed) return LayoutClose::Confirmed;
    return otherLayoutAsked ? LayoutClose::OtherLayout : LayoutClose::Cancelled;
}

// `open(layout, switched)` opens layout 0 (the first) or 1 (the other) and tells how it closed; `switched` is true
// once a layout opens after a switch, so that it carries the edits on. The answer is the last layout's.
template <typename Open>
DialogAnswer RunDialogLayouts(Open open) {
    bool switched = false;
    for (int32_t layout = 0;; layout = 1 - layout) {
        switch (open(layout, switched)) {
            case LayoutClose::Confirmed: return DialogAnswer::Confirmed;
            case LayoutClose::Cancelled: return DialogAnswer::Cancelled;
            case LayoutClose::OtherLayout: break;
        }
        switched = true;
    }
}

// The same loop for a dialog state the element class keeps between its port calls (one call per layout): the
// layout button sets the state's `layoutSwitch`, and `carryWork` tells the layout opened after a switch to go on
// from the edits. `open(layout)` opens one layout on the state.
template <typename State, typename OpenLayout>
DialogAnswer RunStateLayouts(State& state, OpenLayout open) {
    return RunDialogLayouts([&](int32_t layout, bool switched) {
        state.layoutSwitch = 0;
        if (switched) state.carryWork = 1;
        const DialogAnswer shown = open(layout);
        return LayoutClosed(shown, state.layoutSwitch != 0);
    });
}
