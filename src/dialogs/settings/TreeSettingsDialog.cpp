#include "dialogs/settings/TreeSettingsDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/settings/TableFieldItems.hpp"

#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "dialogs/settings/Tree2DSettingsDialog.hpp"
#include "foundation/DialogKit.hpp"
#include "foundation/DialogPicture.hpp"
#include "elements/LibPartSections.hpp"
#include "foundation/Language.hpp"
#include "foundation/Pictures.hpp"
#include "siteobjects/TreeSettingsParts.hpp"

#include "APIDefs.hpp"
#include "WinGdi.hpp"

namespace {

using Frame = SettingsDialog<TreeSettings>;

struct TreeDialogBlock {
    SettingsDialogBlock<TreeSettings> frame;
    int32_t trunkPicture = -1;  // library-part indexes of the previews
    int32_t leafPicture = -1;
};

const SettingsRecordAccess<TreeSettings>& Access = TableRecordAccess<TreeSettings, true>;

// Items of one layout beyond the frame's table.
struct TreeItems {
    int16_t height, angle, branches, branches2, levels, levels2;
    int16_t trunkPopup, leafPopup, trunkName, leafName, trunkButton, leafButton, trunkPreview, leafPreview;
    int16_t symbolPicture, button2D, load, save, layer;
};
const TreeItems FirstIds = {8, 10, 20, 19, 26, 25, 31, 32, 33, 34, 35, 36, 38, 39, 48, 49, 54, 55, 58};
const TreeItems SecondIds = {8, 10, 19, 18, 24, 23, 28, 29, 30, 31, 32, 33, 35, 36, 43, 44, 48, 49, 51};

// The angle is in degrees in the record, so it is a plain real edit here.
constexpr auto FirstItems = TableFieldItems<TreeSettings, 0>();
constexpr auto SecondItems = TableFieldItems<TreeSettings, 1>();

constexpr int16_t TreeTitle = 24;
const SettingsLayout First = {32564, true, TreeTitle, 595, 583, 59, 58, FirstItems.data(), FirstItems.size()};
const SettingsLayout Second = {32525, false, TreeTitle, 705, 518, 52, 51, SecondItems.data(), SecondItems.size()};

constexpr int32_t T = GeneralTableBase;
const SettingsLabel FirstLabels[] = {{5, T, 113},  {11, T, 114}, {15, T, 115}, {21, T, 116}, {27, T, 145},
                                     {29, T, 155}, {30, T, 156}, {37, T, 154}, {40, T, 117}, {42, T, 155},
                                     {44, T, 156}, {46, T, 118}, {50, T, 157}, {54, T, 158}, {55, T, 159}};
const SettingsLabel SecondLabels[] = {{6, T, 113},  {11, T, 114}, {15, T, 115}, {20, T, 116}, {25, T, 145},
                                      {26, T, 155}, {27, T, 156}, {34, T, 154}, {37, T, 117}, {38, T, 155},
                                      {40, T, 156}, {42, T, 118}, {45, T, 157}, {48, T, 158}, {49, T, 159}};

constexpr int32_t SymbolImageBase = 32660;
constexpr int32_t LeafCustomEntry = 5;
constexpr int32_t LeafStyle2Entry = 3;

// The preview of a trunk or leaf part: the bitmap of its picture section, stretched over the item.
bool DrawPartPreview(const DGUserUpdateData* update, int32_t index) {
    if (update == nullptr || index < 1) return false;
    QV_LibPartSection section;
    GSErrCode err = NoError;
    if (!LibPartSection_Load(index, API_Selector("PICT"), section, err) || section.content == nullptr) return false;
    const int32_t width = update->right > update->left ? update->right - update->left : update->left - update->right;
    const int32_t height = update->bottom > update->top ? update->bottom - update->top : update->top - update->bottom;
    const PictureRect rect = {0, 0, int16_t(height > 0 ? height - 1 : 0), int16_t(width > 0 ? width - 1 : 0)};
    PictureRecord picture;
    picture.format = PictureFormat_Bitmap;
    picture.data = section.content;
    return DrawDibPicture(DeviceContextOf(update->drawContext), rect, picture);
}

const TreeItems& Ids(const TreeDialogBlock& block) { return block.frame.layout->first ? FirstIds : SecondIds; }

QV_String ItemText(int16_t dialogId, int16_t item) {
    const GS::UniString text = DGGetItemText(dialogId, item);
    QV_String value;
    value.AppendWide(text.ToUStr(), text.GetLength());
    return value;
}

void FillPopup(int16_t dialogId, int16_t item, std::initializer_list<int32_t> entries) {
    DGPopUpDeleteItem(dialogId, item, DG_ALL_ITEMS);
    int32_t pos = 1;
    for (int32_t entry : entries) {
        QV_String text;
        GetResString(text, GeneralTableBase + LanguageIndex, entry);
        DGPopUpInsertItem(dialogId, item, DG_POPUP_BOTTOM);
        DGPopUpSetItemText(dialogId, item, pos++, Uni(text));
    }
}

// The part's index by name, cut at its last "."; -1 when absent.
int32_t TemplateIndex(const QV_String& name) { return name.GetLength() > 0 ? FindLibPartIndex(name, 4) : -1; }

// The template of the style popup's entry: its name shown, its part found for the preview.
void FillTemplate(int16_t dialogId, TreeDialogBlock& block, bool trunk) {
    const TreeItems& ids = Ids(block);
    const int16_t popup = trunk ? ids.trunkPopup : ids.leafPopup;
    const int16_t button = trunk ? ids.trunkButton : ids.leafButton;
    DGDisableItem(dialogId, button);
    const int32_t entry = DGPopUpGetSelected(dialogId, popup);
    static const char* const trunks[] = {"SS_Trunk_01", "SS_Trunk_02", "SS_Trunk_03"};
    static const char* const leaves[] = {"SS_Leaves_00", "SS_Leaves_01", "SS_Leaves_02", "SS_Leaves_01"};
    QV_String name;
    const int32_t builtIn = trunk ? 3 : 4;
    if (entry >= 1 && entry <= builtIn) {
        name = QV_String(trunk ? trunks[entry - 1] : leaves[entry - 1]);
    } else {
        name = trunk ? block.frame.work.customTrunk : block.frame.work.customLeaves;
        DGEnableItem(dialogId, button);
    }
    DGSetItemText(dialogId, trunk ? ids.trunkName : ids.leafName, Uni(name));
    (trunk ? block.trunkPicture : block.leafPicture) = TemplateIndex(name);
    DGRedrawItem(dialogId, trunk ? ids.trunkPreview : ids.leafPreview);
}

void ShowStyles(int16_t dialogId, TreeDialogBlock& block) {
    const TreeItems& ids = Ids(block);
    const TreeSettings& w = block.frame.work;
    DGPopUpSelectItem(dialogId, ids.trunkPopup, w.trunkStyle);
    DGPopUpSelectItem(dialogId, ids.leafPopup, w.leafStyle < 0 ? LeafCustomEntry : w.leafStyle + 1);
    SetItemImageFromResource(dialogId, ids.symbolPicture, SymbolImageBase + w.symbolType);
    // The conical form always has two levels.
    if (w.angle < 0.0) {
        DGSetItemValLong(dialogId, ids.levels, 2);
        DGSetItemValLong(dialogId, ids.levels2, 2);
    }
    FillTemplate(dialogId, block, true);
    FillTemplate(dialogId, block, false);
}

void Init(int16_t dialogId, TreeDialogBlock& block) {
    SettingsDialogBlock<TreeSettings>& f = block.frame;
    f.head.dialogId = uint16_t(dialogId);
    InitSettingsLayout(dialogId, *f.layout, f.head.mode);
    QV_String title;
    DGSetDialogTitle(dialogId, Uni(GetResString(title, GeneralTableBase + LanguageIndex, 157)));
    if (f.layout->first)
        SetSettingsLabels(dialogId, FirstLabels);
    else
        SetSettingsLabels(dialogId, SecondLabels);
    const TreeItems& ids = Ids(block);
    FillPopup(dialogId, ids.trunkPopup, {146, 147, 148, 149});
    FillPopup(dialogId, ids.leafPopup, {150, 151, 152, 153, 149});
    Frame::ShowValues(dialogId, f);
    ShowStyles(dialogId, block);
    FinishSettingsLayoutInit(dialogId, *f.layout, f.head);
}

// The items into the working copy; the custom names only for the custom styles.
void ReadItems(int16_t dialogId, TreeDialogBlock& block) {
    Frame::ReadValues(dialogId, block.frame);
    const TreeItems& ids = Ids(block);
    TreeSettings& w = block.frame.work;
    w.trunkStyle = int16_t(DGPopUpGetSelected(dialogId, ids.trunkPopup));
    const int32_t leaf = DGPopUpGetSelected(dialogId, ids.leafPopup);
    w.leafStyle = int16_t(leaf >= 1 && leaf < LeafCustomEntry ? leaf - 1 : -1);
    if (w.trunkStyle == 4) w.customTrunk = ItemText(dialogId, ids.trunkName);
    if (w.leafStyle == -1) w.customLeaves = ItemText(dialogId, ids.leafName);
}
void ReadFrame(int16_t dialogId, SettingsDialogBlock<TreeSettings>& frame) {
    ReadItems(dialogId, reinterpret_cast<TreeDialogBlock&>(frame));
}

void SetPair(int16_t dialogId, int16_t a, int16_t b, int32_t value) {
    DGSetItemValLong(dialogId, a, value);
    DGSetItemValLong(dialogId, b, value);
}

void Change(int16_t dialogId, int16_t item, TreeDialogBlock& block) {
    const TreeItems& ids = Ids(block);
    TreeSettings& w = block.frame.work;
    const double angle = DGGetItemValDouble(dialogId, ids.angle);
    if (item == ids.angle) {
        const double clamped = ClampTreeAngle(angle);
        if (clamped != angle) DGSetItemValDouble(dialogId, ids.angle, clamped);
        if (angle < 0.0) {
            SetPair(dialogId, ids.levels, ids.levels2, 2);
            SetPair(dialogId, ids.branches, ids.branches2, 7);
            w.levels = w.levels2 = 2;
            w.branches = w.branches2 = 7;
            DGPopUpSelectItem(dialogId, ids.leafPopup, LeafStyle2Entry);
            DGSetItemText(dialogId, ids.leafName, GS::UniString("SS_Leaves_02"));
        }
    } else if (item == ids.branches || item == ids.branches2) {
        const int32_t b = DGGetItemValLong(dialogId, item);
        SetPair(dialogId, ids.branches, ids.branches2, b);
        w.branches = w.branches2 = b;
        const int32_t levels = CapTreeLevels(b, DGGetItemValLong(dialogId, ids.levels));
        SetPair(dialogId, ids.levels, ids.levels2, levels);
        w.levels = w.levels2 = levels;
    } else if (item == ids.levels || item == ids.levels2) {
        const int32_t c = angle < 0.0 ? 2 : DGGetItemValLong(dialogId, item);
        SetPair(dialogId, ids.levels, ids.levels2, c);
        w.levels = w.levels2 = c;
        if (angle >= 0.0) {
            const int32_t b = CapTreeBranches(c, DGGetItemValLong(dialogId, ids.branches));
            SetPair(dialogId, ids.branches, ids.branches2, b);
            w.branches = w.branches2 = b;
        }
    } else if (item == ids.trunkPopup) {
        FillTemplate(dialogId, block, true);
    } else if (item == ids.leafPopup) {
        FillTemplate(dialogId, block, false);
    }
}

int16_t Click(int16_t dialogId, int16_t item, TreeDialogBlock& block) {
    const TreeItems& ids = Ids(block);
    TreeSettings& w = block.frame.work;
    if (item == ids.trunkButton || item == ids.leafButton) {
        const bool trunk = item == ids.trunkButton;
        QV_String name = trunk ? w.customTrunk : w.customLeaves;
        int32_t index = -1;
        if (ChooseCustomTreePart(trunk, name, index)) {
            (trunk ? w.customTrunk : w.customLeaves) = name;
            DGSetItemText(dialogId, trunk ? ids.trunkName : ids.leafName, Uni(name));
            (trunk ? block.trunkPicture : block.leafPicture) = index;
            DGRedrawItem(dialogId, trunk ? ids.trunkPreview : ids.leafPreview);
        }
        return 0;
    }
    if (item == ids.button2D) {
        EditTree2DSettings(w, block.frame.changed, block.frame.head.mode);
        SetItemImageFromResource(dialogId, ids.symbolPicture, SymbolImageBase + w.symbolType);
        return 0;
    }
    if (item == ids.load) {
        if (LoadTreeSettingsPart(w)) {
            Frame::ShowValues(dialogId, block.frame);
            ShowStyles(dialogId, block);
        }
        return 0;
    }
    if (item == ids.save) {
        ReadItems(dialogId, block);
        SaveTreeSettingsPart(w);
        return 0;
    }
    return Frame::ClickReading<ReadFrame>(dialogId, item, block.frame);
}

void Close(int16_t dialogId, int16_t item, TreeDialogBlock& block) {
    Frame::CloseReading<ReadFrame>(dialogId, item, block.frame);
}

void Update(int16_t dialogId, int16_t item, TreeDialogBlock& block, DGMessageData data) {
    const TreeItems& ids = Ids(block);
    const auto* update = reinterpret_cast<const DGUserUpdateData*>(data);
    if (item == ids.trunkPreview) DrawPartPreview(update, block.trunkPicture);
    if (item == ids.leafPreview) DrawPartPreview(update, block.leafPicture);
    Frame::Update(dialogId, item, block.frame, data);
}

void Track(int16_t dialogId, int16_t item, TreeDialogBlock& block) { Frame::Track(dialogId, item, block.frame); }

bool Usable(const TreeDialogBlock& block) { return Frame::Usable(block.frame); }

constexpr ModalDialog<TreeDialogBlock>::Handlers Table = {Usable, Init, Click, Change, Close, Track, Update};

int16_t FirstCallback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData data) {
    return ModalDialog<TreeDialogBlock>::Dispatch(First.resourceId, Table, message, dialogId, item, userData, data);
}
int16_t SecondCallback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData data) {
    return ModalDialog<TreeDialogBlock>::Dispatch(Second.resourceId, Table, message, dialogId, item, userData, data);
}

}  // namespace

double ClampTreeAngle(double angle) {
    if (angle < 0.0 && angle > -15.0) return -15.0;
    if (angle >= 0.0 && angle < 20.0) return 20.0;
    return angle;
}

int32_t CapTreeLevels(int32_t branches, int32_t levels) {
    if (branches == 4 && levels >= 5) return 4;
    if (branches >= 5 && branches <= 7 && levels >= 4) return 3;
    if ((branches == 8 || branches == 9) && levels >= 3) return 2;
    return levels;
}

int32_t CapTreeBranches(int32_t levels, int32_t branches) {
    if (levels == 3 && branches >= 8) return 7;
    if (levels == 4 && branches >= 5) return 4;
    if (levels == 5 && branches >= 4) return 3;
    return branches;
}

DialogAnswer RunTreeSettingsDialogs(TreeSettings& record, TreeChangeFlags& flags, SettingsMode mode) {
    // The record changes only at OK, so a Cancel after a layout switch leaves it as it was; the flags are those
    // of every field the confirmed copy differs in, whichever layout it was edited in.
    TreeDialogBlock block;
    const DialogAnswer answer =
        Frame::Run(block.frame, record, First, Second, Access, mode, FirstCallback, SecondCallback);
    if (answer == DialogAnswer::Confirmed)
        for (int16_t i = 0; i < TreeSettings::FieldCount; ++i) flags.flag[i] = block.frame.changed[i];
    return answer;
}
