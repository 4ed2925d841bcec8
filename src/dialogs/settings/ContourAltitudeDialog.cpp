#include "dialogs/settings/ContourAltitudeDialog.hpp"

#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "foundation/Language.hpp"

#include <cstring>

namespace {
// Field ids are the apply flags' order: 0 altitude, 1 points pen, 2 constraint pen, 3 line type, 4 layer.
int32_t GetLong(const ContourAltitudeSettings& r, int16_t id) {
    switch (id) {
        case 1: return r.pointPen;
        case 2: return r.constraintPen;
        case 3: return r.constraintLineType;
        case 4: return r.layer;
        default: return 0;
    }
}
void SetLong(ContourAltitudeSettings& r, int16_t id, int32_t v) {
    switch (id) {
        case 1: r.pointPen = int16_t(v); break;
        case 2: r.constraintPen = int16_t(v); break;
        case 3: r.constraintLineType = int16_t(v); break;
        case 4: r.layer = int16_t(v); break;
        default: break;
    }
}

const SettingsRecordAccess<ContourAltitudeSettings> Access = {
    GetLong,
    SetLong,
    [](const ContourAltitudeSettings& r, int16_t id) { return id == 0 ? r.altitude : 0.0; },
    [](ContourAltitudeSettings& r, int16_t id, double v) {
        if (id == 0) r.altitude = v;
    },
    [](const ContourAltitudeSettings&, int16_t) { return QV_String(); },
    [](ContourAltitudeSettings&, int16_t, const QV_String&) {},
};

constexpr FieldItemKind UC = FieldItemKind::UserControl;
constexpr FieldItemKind Pen = FieldItemKind::PenPair;
const FieldItem FirstItems[] = {{8, 0, FieldItemKind::Double, 0, 0},
                                {12, 1, Pen, 13, 0},
                                {17, 2, Pen, 18, 0},
                                {19, 3, UC, 0, 21},
                                {22, 4, UC, 0, 18}};
const FieldItem SecondItems[] = {{8, 0, FieldItemKind::Double, 0, 0},
                                 {11, 1, Pen, 12, 0},
                                 {15, 2, Pen, 16, 0},
                                 {17, 3, UC, 0, 21},
                                 {20, 4, UC, 0, 18}};
const SettingsLayout First = {32566, true, 8, 350, 334, 23, 22, FirstItems, 5};
const SettingsLayout Second = {32507, false, 8, 460, 353, 21, 20, SecondItems, 5};

// "Contour Line altitudes", "Altitude:", "Points" and "Constraints", in the user's language.
const SettingsLabel FirstLabels[] = {
    {5, GeneralTableBase, 40}, {7, GeneralTableBase, 43}, {9, GeneralTableBase, 51}, {14, GeneralTableBase, 52}};
const SettingsLabel SecondLabels[] = {
    {6, GeneralTableBase, 40}, {7, GeneralTableBase, 43}, {9, GeneralTableBase, 51}, {13, GeneralTableBase, 52}};

using Frame = SettingsDialog<ContourAltitudeSettings>;

void Init(int16_t dialogId, Frame::Block& block) {
    Frame::Init(dialogId, block);
    if (block.layout->first)
        SetSettingsLabels(dialogId, FirstLabels);
    else
        SetSettingsLabels(dialogId, SecondLabels);
}

constexpr ModalDialog<Frame::Block>::Handlers Handlers = {Frame::Usable, Init,         Frame::Click, Frame::Change,
                                                          Frame::Close,  Frame::Track, Frame::Update};

constexpr DGDialCallBack Callback = Frame::CallbackWith<Handlers>;
}  // namespace

DialogAnswer RunContourAltitudeDialog(ContourAltitudeSettings& record, uint8_t flags[5], SettingsMode mode) {
    Frame::Block block;
    const DialogAnswer answer = Frame::Run(block, record, First, Second, Access, mode, Callback, Callback);
    std::memset(flags, 0, 5);
    if (answer == DialogAnswer::Confirmed) std::memcpy(flags, block.changed, 5);
    return answer;
}
