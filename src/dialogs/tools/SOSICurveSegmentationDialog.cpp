#include "dialogs/tools/SOSICurveSegmentationDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/ModalDialog.hpp"
#include "sosi/SOSIOutput.hpp"

#include "DG.hpp"

namespace {

constexpr int16_t DialogId = 32744;

enum : int16_t {
    ItemOK = 1,
    ItemCancel = 2,
    ItemFrame = 3,
    ItemSegmentsText = 4,
    ItemSegments = 6,
    ItemSmallText = 8,
    ItemSmallRadius = 10,
    ItemSmallSegments = 12,
    ItemForAll = 13,
};

struct SegmentationData {
    SOSICurveSegmentation* values;
};

GS::UniString CommonText(int32_t index) { return Text(CommonTableBase, index); }

bool HasValues(const SegmentationData& data) { return data.values != nullptr; }

void Init(int16_t dialogId, SegmentationData& data) {
    DGSetDialogClientSize(dialogId, 343, 233);
    DGSetDialogTitle(dialogId, CommonText(43));
    DGSetItemText(dialogId, ItemOK, CommonText(64));
    DGSetItemText(dialogId, ItemCancel, CommonText(5));
    DGSetItemText(dialogId, ItemFrame, CommonText(40));
    DGSetItemText(dialogId, ItemSegmentsText, CommonText(41));
    DGSetItemText(dialogId, ItemSmallText, CommonText(42));
    DGSetItemText(dialogId, ItemForAll, CommonText(44));
    // Every object of an import takes the same values.
    DGHideItem(dialogId, ItemForAll);
    DGSetItemValLong(dialogId, ItemSegments, data.values->segments);
    DGSetItemValLong(dialogId, ItemSmallSegments, data.values->smallSegments);
    DGSetItemValDouble(dialogId, ItemSmallRadius, data.values->smallRadius);
}

int16_t Click(int16_t /*dialogId*/, int16_t item, SegmentationData& /*data*/) {
    return item == ItemOK || item == ItemCancel ? item : 0;
}

void Close(int16_t dialogId, int16_t item, SegmentationData& data) {
    if (item != ItemOK) return;
    data.values->segments = DGGetItemValLong(dialogId, ItemSegments);
    data.values->smallSegments = DGGetItemValLong(dialogId, ItemSmallSegments);
    data.values->smallRadius = DGGetItemValDouble(dialogId, ItemSmallRadius);
}

using Dialog = ModalDialog<SegmentationData>;
const Dialog::Handlers Handlers = {HasValues, Init, Click, nullptr, Close, nullptr, nullptr};

int16_t Callback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData, intptr_t /*messageData*/) {
    return Dialog::Dispatch(DialogId, Handlers, message, dialogId, item, userData);
}

}  // namespace

bool AskSOSICurveSegmentation(SOSICurveSegmentation& values) {
    SOSICurveSegmentation edited = values;
    SegmentationData data = {&edited};
    if (Dialog::Run(DialogId, Callback, data) != ItemOK) return false;
    values = edited;
    return true;
}

bool AskSOSICurveSegmentation(const SOSIFileCls& reader) {
    if (!HasCurvedSOSIObjects(reader.assembly.data)) return true;
    return AskSOSICurveSegmentation(SOSICurveSegmentationValues());
}
