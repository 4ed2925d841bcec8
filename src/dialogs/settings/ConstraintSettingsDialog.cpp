#include "dialogs/settings/ConstraintSettingsDialog.hpp"

#include "dialogs/settings/TableFieldItems.hpp"
#include "foundation/Language.hpp"

#include <cstring>

namespace {
constexpr int16_t TitleIndex = 9;
constexpr auto kFirst = TableFieldItems<ConstraintSettings, 0>();
constexpr auto kSecond = TableFieldItems<ConstraintSettings, 1>();
const SettingsLayout FirstLayout = {32545, true, TitleIndex, 375, 278, 15, 14, kFirst.data(), kFirst.size()};
const SettingsLayout SecondLayout = {32509, false, TitleIndex, 360, 260, 12, 11, kSecond.data(), kSecond.size()};

// The dialog keeps 16-bit values and writes them widened to the record's 32-bit fields.
const SettingsRecordAccess<ConstraintSettings>& Access = TableRecordAccess<ConstraintSettings>;
using Frame = SettingsDialog<ConstraintSettings>;

// The first layout's heading over its two pictures ("Force Triangulation"), in the user's language.
constexpr SettingsLabel Heading = {6, ImportTableBase, 1};

void Init(int16_t dialogId, Frame::Block& block) {
    Frame::Init(dialogId, block);
    if (block.layout->first) SetSettingsLabels(dialogId, &Heading, 1);
}

constexpr ModalDialog<Frame::Block>::Handlers Handlers = {Frame::Usable, Init,         Frame::Click, Frame::Change,
                                                          Frame::Close,  Frame::Track, Frame::Update};

constexpr DGDialCallBack Callback = Frame::CallbackWith<Handlers>;
}  // namespace

DialogAnswer OpenConstraintSettingsDialog(ConstraintSettingsBlock& block, ConstraintSettings& record) {
    return Frame::Open(block, record, FirstLayout, Access, false, Callback);
}

DialogAnswer OpenConstraintSettingsDialogTwin(ConstraintSettingsBlock& block, ConstraintSettings& record) {
    return Frame::Open(block, record, SecondLayout, Access, false, Callback);
}

DialogAnswer RunConstraintSettingsDialog(ConstraintSettings& record, ConstraintSettings::Changed& changed,
                                         SettingsMode mode) {
    ConstraintSettingsBlock block;
    if (Frame::Run(block, record, FirstLayout, SecondLayout, Access, mode, Callback, Callback) ==
        DialogAnswer::Cancelled)
        return DialogAnswer::Cancelled;
    std::memcpy(changed, block.changed, sizeof changed);
    return DialogAnswer::Confirmed;
}
