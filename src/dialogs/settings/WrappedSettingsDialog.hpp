#pragma once
// Steps for a settings dialog whose block wraps the frame's (`frame`) with items and state of its own (`state`):
// the layout button and Close through the dialog's own reader, and the two ways an owner runs the layouts: both
// here, or one layout at a time over a state that carries the edits across a switch, for an element class that
// runs them. Either way the layouts take turns through foundation/DialogLayouts.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/DialogLayouts.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <type_traits>

// The layout button: the other layout goes on from what the items show now.
template <typename Wrapped>
int16_t SwitchWrappedLayout(int16_t dialogId, Wrapped& block, void (*read)(int16_t, Wrapped&)) {
    read(dialogId, block);
    SaveDialogPosition(dialogId, block.frame.head);
    block.frame.head.layoutSwitch = 1;
    return SettingsItemCancel;
}

template <typename Wrapped>
void CloseWrapped(int16_t dialogId, int16_t item, Wrapped& block, void (*read)(int16_t, Wrapped&)) {
    block.frame.head.dialogId = 0;
    if (item != SettingsItemOK) return;
    read(dialogId, block);
    using Record = typename std::remove_pointer<decltype(block.frame.record)>::type;
    SettingsDialog<Record>::Store(block.frame);
}

// The handlers a wrapped dialog leaves to its frame, and Close through its reader, for its handler table.
template <typename Wrapped, void (*Read)(int16_t, Wrapped&)>
void CloseWrappedBy(int16_t dialogId, int16_t item, Wrapped& block) {
    CloseWrapped(dialogId, item, block, Read);
}

template <typename Wrapped>
void TrackWrapped(int16_t dialogId, int16_t item, Wrapped& block) {
    using Record = typename std::remove_pointer<decltype(block.frame.record)>::type;
    SettingsDialog<Record>::Track(dialogId, item, block.frame);
}

template <typename Wrapped>
void UpdateWrapped(int16_t dialogId, int16_t item, Wrapped& block, DGMessageData data) {
    using Record = typename std::remove_pointer<decltype(block.frame.record)>::type;
    SettingsDialog<Record>::Update(dialogId, item, block.frame, data);
}

// Both layouts over `state.record`: the first, then the other at each switch, the working copy and the position
// going along. OK hands the frame's flags to `state.changed`. `carried`, when given, is set once a layout opens
// after a switch.
template <typename Wrapped, typename State, typename Record>
DialogAnswer RunWrappedLayouts(Wrapped& block, State& state, const SettingsLayout& first, const SettingsLayout& second,
                               const SettingsRecordAccess<Record>& access, DGDialCallBack firstCallback,
                               DGDialCallBack secondCallback, SettingsMode mode, uint8_t* carried = nullptr) {
    block.state = &state;
    block.frame.head.mode = mode;
    block.frame.work = state.record;
    block.frame.access = &access;
    return RunDialogLayouts([&](int32_t index, bool switched) {
        const SettingsLayout& layout = index == 0 ? first : second;
        if (switched && carried != nullptr) *carried = 1;
        block.frame.record = &state.record;
        block.frame.layout = &layout;
        block.frame.head.layoutSwitch = 0;
        for (uint8_t& flag : block.frame.changed) flag = 0;
        const DGDialCallBack callback = index == 0 ? firstCallback : secondCallback;
        if (ModalDialog<Wrapped>::Run(layout.resourceId, callback, block) == SettingsItemOK) {
            for (size_t id = 0; id < std::size(state.changed); ++id) state.changed[id] = block.frame.changed[id];
            return LayoutClose::Confirmed;
        }
        return LayoutClosed(DialogAnswer::Cancelled, block.frame.head.layoutSwitch != 0);
    });
}

// One layout over a state the owner keeps between layouts (`record`, `work`, `carryWork`, `changed`, `savedX`,
// `savedY`, `layoutSwitch`). OK adds the frame's flags to the state's; a switch leaves the edits and the
// position in the state with its switch flag set, and answers cancelled.
template <typename Wrapped, typename State, typename Record>
DialogAnswer OpenWrappedLayout(State& state, const SettingsLayout& layout, const SettingsRecordAccess<Record>& access,
                               DGDialCallBack callback, SettingsMode mode) {
    Wrapped block;
    block.state = &state;
    block.frame.record = &state.record;
    block.frame.work = state.carryWork != 0 ? state.work : state.record;
    block.frame.layout = &layout;
    block.frame.access = &access;
    block.frame.head.savedX = state.savedX;
    block.frame.head.savedY = state.savedY;
    block.frame.head.mode = mode;
    state.layoutSwitch = 0;
    const bool ok = ModalDialog<Wrapped>::Run(layout.resourceId, callback, block) == SettingsItemOK;
    if (ok) {
        for (size_t id = 0; id < std::size(state.changed); ++id) state.changed[id] |= block.frame.changed[id];
    } else if (block.frame.head.layoutSwitch != 0) {
        state.work = block.frame.work;
        state.savedX = block.frame.head.savedX;
        state.savedY = block.frame.head.savedY;
        state.layoutSwitch = 1;
    }
    return ConfirmedIf(ok);
}
