#include "dialogs/settings/ConstraintSettingsDialog.hpp"

#include "foundation/Language.hpp"

#include <cstring>

namespace {
constexpr int16_t TitleIndex = 9;
constexpr FieldItemKind UC = FieldItemKind::UserControl;
const FieldItem kFirst[] = {{7, 1, UC, 0, 21}, {9, 0, FieldItemKind::PenPair, 10, 0}, {14, 2, UC, 0, 18}};
const FieldItem kSecond[] = {{6, 1, UC, 0, 21}, {8, 0, FieldItemKind::PenPair, 9, 0}, {11, 2, UC, 0, 18}};
const SettingsLayout FirstLayout = {32545, true, TitleIndex, 375, 278, 15, 14, kFirst, std::size(kFirst)};
const SettingsLayout SecondLayout = {32509, false, TitleIndex, 360, 260, 12, 11, kSecond, std::size(kSecond)};

// The dialog keeps 16-bit values and writes them widened to the record's 32-bit fields.
const SettingsRecordAccess<ConstraintSettings> Access = {
    [](const ConstraintSettings& r, int16_t id) { return r.GetShort(id); },
    [](ConstraintSettings& r, int16_t id, int32_t v) { r.SetShort(id, int16_t(v)); },
    [](const ConstraintSettings&, int16_t) { return 0.0; },
    [](ConstraintSettings&, int16_t, double) {},
    [](const ConstraintSettings&, int16_t) { return QV_String(); },
    [](ConstraintSettings&, int16_t, const QV_String&) {},
};
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

DialogAnswer RunConstraintSettingsDialog(ConstraintSettings& record, uint8_t (&changed)[3], SettingsMode mode) {
    ConstraintSettingsBlock block;
    if (Frame::Run(block, record, FirstLayout, SecondLayout, Access, mode, Callback, Callback) ==
        DialogAnswer::Cancelled)
        return DialogAnswer::Cancelled;
    std::memcpy(changed, block.changed, sizeof changed);
    return DialogAnswer::Confirmed;
}
