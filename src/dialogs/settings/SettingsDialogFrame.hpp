#pragma once
// The frame every settings dialog shares: one callback per layout over a dialog block, the two layouts of one
// dialog and the run of both (foundation/DialogLayouts), the mode header, the layer check on OK, the position
// carried across a layout switch, the picture column of the second layout, pen pairs and user controls, colour
// swatches with the colour picker, fill controls that show pen colours, and a store that writes only the fields
// the user changed and flags them.
//
// A dialog describes each layout by a table of items bound to field ids of its record; the frame moves values
// between the items and a working copy, and only the OK store touches the record.
#include "dialogs/settings/FiveDigitCodeItem.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/DialogKit.hpp"
#include "foundation/DialogLayouts.hpp"
#include "foundation/FieldItem.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/QV_String.hpp"
#include "foundation/SettingsMode.hpp"
#include "foundation/ToolLayerCheck.hpp"

#include "DG.hpp"

#include <cmath>
#include <cstddef>
#include <cstdint>

// One layout: its resource, size and special items. `layerItem` 0: no layer check on OK.
struct SettingsLayout {
    int16_t resourceId;
    bool first;  // the compact layout with the mode header; the other has the picture column
    int16_t titleIndex;
    int32_t width;
    int32_t height;
    int16_t layoutButton;  // 0: this layout does not switch
    int16_t layerItem;
    const FieldItem* items;
    size_t itemCount;
};

// The record's accessors by field id (an unknown id reads 0 and is ignored on write).
template <typename Record>
struct SettingsRecordAccess {
    int32_t (*getLong)(const Record&, int16_t id);
    void (*setLong)(Record&, int16_t id, int32_t value);
    double (*getDouble)(const Record&, int16_t id);
    void (*setDouble)(Record&, int16_t id, double value);
    QV_String (*getText)(const Record&, int16_t id);
    void (*setText)(Record&, int16_t id, const QV_String& value);
};

constexpr size_t SettingsChangedFlagCount = 64;

// The head every dialog block begins with.
struct DialogBlockHead {
    uint16_t dialogId = 0;  // while open
    uint16_t savedX = 0;    // client position carried across a layout switch; 0, 0: none
    uint16_t savedY = 0;
    uint8_t layoutSwitch = 0;                        // the dialog closed because the user asked for the other layout
    SettingsMode mode = SettingsMode::ToolDefaults;  // what the owner asks for, shown by the first layout
};

template <typename Record>
struct SettingsDialogBlock {
    DialogBlockHead head;
    Record* record = nullptr;
    uint8_t changed[SettingsChangedFlagCount] = {};
    Record work;  // what the items show; the record only at OK
    const SettingsLayout* layout = nullptr;
    const SettingsRecordAccess<Record>* access = nullptr;
    // The dialog's own OK check: false keeps the dialog open (it has told the user why).
    bool (*check)(int16_t dialogId, SettingsDialogBlock& block) = nullptr;
};

// --- Shared steps (SettingsDialogFrame.cpp) ---------------------------------------------------------------------
// "Default", "Creation" or "Editing <n> entities" from the dialog mode and its edited-element count.
QV_String SettingsModeHeader(SettingsMode mode);
// INIT before the values: mode header (of `mode`) or language image, title, OK and Cancel, user-control bindings
// (one the host refuses is told, once).
void InitSettingsLayout(int16_t dialogId, const SettingsLayout& layout, SettingsMode mode);
// INIT after the values: client size, the saved position (unless 0, 0), focus off every item.
void FinishSettingsLayoutInit(int16_t dialogId, const SettingsLayout& layout, const DialogBlockHead& head);
void SaveDialogPosition(int16_t dialogId, DialogBlockHead& head);
// The second layout's picture (the add-on's dialog picture) into the user item being updated.
void DrawSettingsPicture(DGMessageData update);
// The same from within the item's update, by dialog and item.
void DrawSettingsPicture(int16_t dialogId, int16_t item);
// A label's localised text: item, table base, entry.
struct SettingsLabel {
    int16_t item;
    int32_t table;
    int32_t index;
};
void SetSettingsLabels(int16_t dialogId, const SettingsLabel* labels, size_t count);
template <size_t N>
void SetSettingsLabels(int16_t dialogId, const SettingsLabel (&labels)[N]) {
    SetSettingsLabels(dialogId, labels, N);
}
// Pen pairs: CHANGE of the edit copies into the control, TRACK of the control into the edit.
void SyncPenPair(int16_t dialogId, const SettingsLayout& layout, int16_t item, bool fromControl);
// The layout's colour swatch on `item`, or null.
const FieldItem* FindColourSwatch(const SettingsLayout& layout, int16_t item);
// Every fill control that shows the pen of `field` takes that pen's colour.
void ShowPenColours(int16_t dialogId, const SettingsLayout& layout, int16_t field, int32_t pen);
// After a CHANGE or TRACK of `item`: when it shows a pen field, the fill controls follow its new value.
void FollowPenColours(int16_t dialogId, const SettingsLayout& layout, int16_t item);

constexpr int16_t SettingsItemOK = 1;
constexpr int16_t SettingsItemCancel = 2;
constexpr int16_t SettingsItemModeHeader = 3;
constexpr int16_t SettingsItemPicture = 3;

template <typename Record>
struct SettingsDialog {
    using Block = SettingsDialogBlock<Record>;

    static void ShowValues(int16_t dialogId, const Block& block) {
        const SettingsRecordAccess<Record>& a = *block.access;
        for (size_t i = 0; i < block.layout->itemCount; ++i) {
            const FieldItem& f = block.layout->items[i];
            switch (f.kind) {
                case FieldItemKind::Check:
                    DGSetCheckBoxState(dialogId, f.item, a.getLong(block.work, f.field) != 0);
                    break;
                case FieldItemKind::Double:
                    DGSetItemValDouble(dialogId, f.item, a.getDouble(block.work, f.field));
                    break;
                case FieldItemKind::Angle:
                    DGSetItemValDouble(dialogId, f.item, a.getDouble(block.work, f.field) * 57.29577951308232);
                    break;
                case FieldItemKind::Text: {
                    const QV_String text = a.getText(block.work, f.field);
                    DGSetItemText(dialogId, f.item, GS::UniString(text.GetBuffer(), text.GetLength()));
                    break;
                }
                case FieldItemKind::ColourSwatch: DGRedrawItem(dialogId, f.item); break;
                case FieldItemKind::PenColour:
                    ShowPenColours(dialogId, *block.layout, f.field, a.getLong(block.work, f.field));
                    break;
                case FieldItemKind::PenPair:
                    DGSetItemValLong(dialogId, f.pairItem, a.getLong(block.work, f.field));
                    [[fallthrough]];  // the edit shows the same pen
                case FieldItemKind::Long:
                case FieldItemKind::UserControl:
                    DGSetItemValLong(dialogId, f.item, a.getLong(block.work, f.field));
                    break;
            }
        }
    }

    // Every item into the working copy, as the store and the layout button read them.
    static void ReadValues(int16_t dialogId, Block& block) {
        const SettingsRecordAccess<Record>& a = *block.access;
        for (size_t i = 0; i < block.layout->itemCount; ++i) {
            const FieldItem& f = block.layout->items[i];
            switch (f.kind) {
                case FieldItemKind::Check:
                    a.setLong(block.work, f.field, DGGetCheckBoxState(dialogId, f.item) ? 1 : 0);
                    break;
                case FieldItemKind::Double:
                    a.setDouble(block.work, f.field, DGGetItemValDouble(dialogId, f.item));
                    break;
                case FieldItemKind::Angle:
                    a.setDouble(block.work, f.field, DGGetItemValDouble(dialogId, f.item) * 0.017453292519943295);
                    break;
                case FieldItemKind::Text: {
                    const GS::UniString text = DGGetItemText(dialogId, f.item);
                    QV_String value;
                    value.AppendWide(text.ToUStr(), text.GetLength());
                    a.setText(block.work, f.field, value);
                    break;
                }
                case FieldItemKind::Long:
                case FieldItemKind::PenPair:
                case FieldItemKind::UserControl:
                    a.setLong(block.work, f.field, DGGetItemValLong(dialogId, f.item));
                    break;
                case FieldItemKind::ColourSwatch:  // already in the working copy since the pick
                case FieldItemKind::PenColour:     // the pen's own item holds the value
                    break;
            }
        }
    }

    static void Flag(Block& block, int16_t field) {
        if (field >= 0 && size_t(field) < SettingsChangedFlagCount) block.changed[field] = 1;
    }

    // Every field the working copy holds is compared with the record, not only those this layout shows: a field
    // edited in the other layout before a switch is written and flagged too.
    static void Store(Block& block) {
        const SettingsRecordAccess<Record>& a = *block.access;
        Record& record = *block.record;
        for (int16_t id = 0; id < int16_t(SettingsChangedFlagCount); ++id) {
            const int32_t l = a.getLong(block.work, id);
            if (l != a.getLong(record, id)) {
                a.setLong(record, id, l);
                Flag(block, id);
            }
            const double d = a.getDouble(block.work, id);
            if (std::fabs(d - a.getDouble(record, id)) >= 1e-7) {
                a.setDouble(record, id, d);
                Flag(block, id);
            }
            const QV_String t = a.getText(block.work, id);
            if (t.Compare(a.getText(record, id)) != 0) {
                a.setText(record, id, t);
                Flag(block, id);
            }
        }
    }

    static void Init(int16_t dialogId, Block& block) {
        block.head.dialogId = uint16_t(dialogId);
        InitSettingsLayout(dialogId, *block.layout, block.head.mode);
        ShowValues(dialogId, block);
        FinishSettingsLayoutInit(dialogId, *block.layout, block.head);
    }

    // The layout button: the values into the working copy through `Read` (the frame's or the dialog's own,
    // which also takes the items the frame does not bind), the position kept, the other layout asked for.
    template <void (*Read)(int16_t, Block&)>
    static int16_t SwitchLayout(int16_t dialogId, Block& block) {
        Read(dialogId, block);
        SaveDialogPosition(dialogId, block.head);
        block.head.layoutSwitch = 1;
        return SettingsItemCancel;
    }

    // Click for a dialog with its own reader.
    template <void (*Read)(int16_t, Block&)>
    static int16_t ClickReading(int16_t dialogId, int16_t item, Block& block) {
        if (block.layout->layoutButton == item) return SwitchLayout<Read>(dialogId, block);
        return Click(dialogId, item, block);
    }

    static int16_t Click(int16_t dialogId, int16_t item, Block& block) {
        const SettingsLayout& layout = *block.layout;
        if (item == SettingsItemOK) {
            if (layout.layerItem != 0 && !CheckToolLayer(int16_t(DGGetItemValLong(dialogId, layout.layerItem))))
                return 0;
            if (block.check != nullptr && !block.check(dialogId, block)) return 0;
            return SettingsItemOK;
        }
        if (item == SettingsItemCancel) {
            block.head.layoutSwitch = 0;
            return SettingsItemCancel;
        }
        if (layout.layoutButton != 0 && item == layout.layoutButton) return SwitchLayout<ReadValues>(dialogId, block);
        if (const FieldItem* swatch = FindColourSwatch(layout, item)) PickSwatchColour(dialogId, *swatch, block);
        return 0;
    }

    static RGBColour SwatchColour(const FieldItem& swatch, const Block& block) {
        const SettingsRecordAccess<Record>& a = *block.access;
        return {a.getDouble(block.work, swatch.field), a.getDouble(block.work, int16_t(swatch.field + 1)),
                a.getDouble(block.work, int16_t(swatch.field + 2))};
    }

    // The picked colour waits in the working copy like any edit: OK stores it, Cancel drops it.
    static void PickSwatchColour(int16_t dialogId, const FieldItem& swatch, Block& block) {
        RGBColour colour = SwatchColour(swatch, block);
        if (!PickColour(colour, nullptr)) return;
        const SettingsRecordAccess<Record>& a = *block.access;
        a.setDouble(block.work, swatch.field, colour.red);
        a.setDouble(block.work, int16_t(swatch.field + 1), colour.green);
        a.setDouble(block.work, int16_t(swatch.field + 2), colour.blue);
        DGRedrawItem(dialogId, swatch.item);
    }

    static void Change(int16_t dialogId, int16_t item, Block& block) {
        SyncPenPair(dialogId, *block.layout, item, false);
        FollowPenColours(dialogId, *block.layout, item);
    }
    static void Track(int16_t dialogId, int16_t item, Block& block) {
        SyncPenPair(dialogId, *block.layout, item, true);
        FollowPenColours(dialogId, *block.layout, item);
    }

    // Close for a dialog with its own reader (the frame's: ReadValues).
    template <void (*Read)(int16_t, Block&)>
    static void CloseReading(int16_t dialogId, int16_t item, Block& block) {
        if (item == SettingsItemOK) {
            Read(dialogId, block);
            Store(block);
        }
        block.head.dialogId = 0;
    }
    static void Close(int16_t dialogId, int16_t item, Block& block) { CloseReading<ReadValues>(dialogId, item, block); }

    static void Update(int16_t, int16_t item, Block& block, DGMessageData update) {
        if (!block.layout->first && item == SettingsItemPicture) DrawSettingsPicture(update);
        if (const FieldItem* swatch = FindColourSwatch(*block.layout, item)) {
            UserItemDrawing drawing{reinterpret_cast<const DGUserUpdateData*>(update), DrawingKindUserItem};
            DrawColourSwatchItem(drawing, SwatchColour(*swatch, block), nullptr);
        }
    }

    static bool Usable(const Block& block) {
        return block.record != nullptr && block.layout != nullptr && block.access != nullptr;
    }

    static constexpr
        typename ModalDialog<Block>::Handlers handlers = {Usable, Init, Click, Change, Close, Track, Update};

    // The dispatch by the layout the block holds, to `H` (the frame's handlers or a dialog's own).
    template <const typename ModalDialog<Block>::Handlers& H>
    static int16_t CallbackWith(int16_t message, int16_t dialogId, int16_t item, DGUserData userData,
                                DGMessageData messageData) {
        if (userData == 0) return 0;
        const Block& block = *reinterpret_cast<const Block*>(userData);
        if (block.layout == nullptr) return 0;
        return ModalDialog<Block>::Dispatch(block.layout->resourceId, H, message, dialogId, item, userData,
                                            messageData);
    }
    static int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData,
                            DGMessageData messageData) {
        return CallbackWith<handlers>(message, dialogId, item, userData, messageData);
    }

    // One layout over `record`; confirmed, the changed fields are in the record and flagged. With `carryWork`
    // the working copy is the block's own, as the other layout left it. A dialog with handlers of its own passes
    // its `callback`.
    static DialogAnswer Open(Block& block, Record& record, const SettingsLayout& layout,
                             const SettingsRecordAccess<Record>& access, bool carryWork,
                             DGDialCallBack callback = Callback) {
        block.record = &record;
        for (uint8_t& flag : block.changed) flag = 0;
        block.layout = &layout;
        block.access = &access;
        if (!carryWork) block.work = record;
        block.head.layoutSwitch = 0;
        return ConfirmedIf(ModalDialog<Block>::Run(layout.resourceId, callback, block) == SettingsItemOK);
    }

    // How the layout `Open` ran closed: by its answer and the block's switch flag.
    static LayoutClose Closed(const Block& block, DialogAnswer answer) {
        return LayoutClosed(answer, block.head.layoutSwitch != 0);
    }

    // Both layouts: the first, then the other one at each layout switch, carrying the unconfirmed edits and the
    // position. The record stays the one the owner gave, so OK in either layout writes and flags the edits of
    // both; Cancel in either leaves the record and the flags untouched.
    static DialogAnswer Run(Block& block, Record& record, const SettingsLayout& first, const SettingsLayout& second,
                            const SettingsRecordAccess<Record>& access, SettingsMode mode,
                            DGDialCallBack firstCallback = Callback, DGDialCallBack secondCallback = Callback) {
        block.head = DialogBlockHead();
        block.head.mode = mode;
        return RunDialogLayouts([&](int32_t layout, bool switched) {
            const DialogAnswer answer = layout == 0 ? Open(block, record, first, access, switched, firstCallback)
                                                    : Open(block, record, second, access, switched, secondCallback);
            return Closed(block, answer);
        });
    }
};

template <typename Record>
constexpr typename ModalDialog<SettingsDialogBlock<Record>>::Handlers SettingsDialog<Record>::handlers;
