#include "shell/ToolsPalette.hpp"

#include "elements/LayerHelpers.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Alert.hpp"
#include "foundation/AddOnInfo.hpp"
#include "foundation/Documentation.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/VersionBanner.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/ShellState.hpp"
#include "shell/SubPaletteButtons.hpp"
#include "shell/SubPalettes.hpp"
#include "shell/commands/DataUpdate.hpp"
#include "terrain/ToolInput.hpp"

#include <cfloat>
#include <cstring>
#include <string>

namespace {
constexpr int16_t FirstDisplayItem = 7;
constexpr int16_t ModifiersNorwegian = 3;
// False when the text could not be read (the item keeps the text it has) or the host refused it.
bool SetMenuItemText(int16_t menu, int16_t item, const QV_String& text) {
    if (!IsResText(text)) return false;
    API_MenuItemText record = {};
    record.menuItemRef.menuResID = menu;
    record.menuItemRef.itemIndex = item;
    const std::string utf8 = text.ToStdString();
    std::strncpy(record.text, utf8.c_str(), sizeof record.text - 1);
    return ACAPI_Interface(APIIo_SetMenuItemTextID, &record) == NoError;
}

int32_t FrontWindowType() {
    API_WindowInfo info = {};
    if (ACAPI_Database(APIDb_GetCurrentWindowID, &info) != NoError) return 0;
    return info.typeID;
}

constexpr int32_t WindowUnread = -2;

// The sub-palette of palette button 2 to 5 (Input, Earthmoving, Street furniture, Parameters) for the window in
// front and the host's variant; -1 for any other item; WindowUnread when the choice needs the window in front and the
// host would not tell it (another window's sub-palette would offer the wrong tools).
int32_t ChooseSubPalette(int16_t paletteItem) {
    API_WindowInfo info = {};
    if ((paletteItem == CToolsPlt::ItemInput || paletteItem == CToolsPlt::ItemEarthmoving) &&
        ACAPI_Database(APIDb_GetCurrentWindowID, &info) != NoError)
        return WindowUnread;
    const int32_t window = info.typeID;
    switch (paletteItem) {
        case CToolsPlt::ItemInput:
            if (window == APIWind_WorksheetID) return SubWorksheet;
            if (NorwegianVariant) return SubNorwegianInput;
            return AustrianVariant ? SubAustrianInput : SubInput;
        case CToolsPlt::ItemEarthmoving: return window == APIWind_SectionID ? SubSection : SubEarthmoving;
        case CToolsPlt::ItemStreetFurniture: return SubStreetFurniture;
        case CToolsPlt::ItemParameters: return SubParameters;
        default: return -1;
    }
}

void RedrawPaletteButtons() { ToolsPalette().RedrawButtons(); }
}  // namespace

void CToolsPlt::ToggleSubPaletteOfButton(int16_t item) {
    const int32_t button = item - ItemInput;
    if (button < 0 || button > 3 || !subPaletteButtonsEnabled[button] || !itemsEnabled) return;
    const int32_t index = ChooseSubPalette(item);
    if (index == WindowUnread) ShowErrorMessage(ErrFindingData, AlertKind::Error);
    if (index < 0) return;
    SetSubPaletteAnchor(*this, dialogId, RedrawPaletteButtons);
    ToggleSubPalette(index);
    RedrawButtons();
}

CToolsPlt::CToolsPlt() = default;

void CToolsPlt::Hide() {
    if (dialogId != 0) DGHideModelessDialog(dialogId);
}

void CToolsPlt::Show() {
    if (dialogId != 0) DGShowModelessDialog(dialogId);
}

void CToolsPlt::Activate() {
    if (dialogId != 0) DGEnableMessage(dialogId, 0, 0, false);
    ResetToolInput(*this);
    QV_ToolsPlt::Activate();
}

void CToolsPlt::OnClosed() {
    CloseAllSubPalettes();
    PaletteSuspended = 1;
}

void CToolsPlt::ToggleVisibility() {
    if (dialogId == 0) return;
    if (!DGIsModelessDialogVisible(dialogId)) {
        Show();
        UpdateMenu();
        return;
    }
    CloseAllSubPalettes();
    RedrawButtons();
    Hide();
    UpdateMenu();
}

void CToolsPlt::EnableItems(bool enable) {
    itemsEnabled = enable ? 1 : 0;
    if (dialogId == 0) return;
    for (int16_t item = ItemAbout; item <= ItemLast; ++item) DGSetItemEnable(dialogId, item, enable);
    RedrawButtons();
}

void CToolsPlt::Close() {
    CloseAllSubPalettes();
    QV_ToolsPlt::Close();
}

void CToolsPlt::UpdateMenu() {
    const bool visible = IsVisible();
    bool set = true;
    for (int16_t menu = MenuResBase; menu < MenuResBase + LanguageCount; ++menu) {
        QV_String text;
        GetResString(text, MenuTextTableBase + LanguageIndex, visible ? 2 : 1);
        set = SetMenuItemText(menu, 1, text) && set;
        GetResString(text, MenuTextTableBase + LanguageIndex, 3);
        set = SetMenuItemText(menu, 2, text) && set;
        GetResString(text, MenuTextTableBase + LanguageIndex, 4);
        set = SetMenuItemText(menu, 3, text) && set;
    }
    menuTextRefused = menuTextRefused || !set;
    if (dialogId == 0) return;
    for (int16_t item = ItemAbout; item <= ItemLast; ++item) DGSetItemHelpIndex(dialogId, item, LanguageIndex + 1);
    Activate();
    SetSubPaletteHelpIndexes();
}

void CToolsPlt::OnOpened() {
    if (dialogId == 0) return;
    CloseAllSubPalettes();
    RedrawButtons();
    const int32_t window = FrontWindowType();
    const bool section = window == APIWind_SectionID;
    const bool worksheet = window == APIWind_WorksheetID;
    for (int i = 0; i < 4; ++i) subPaletteButtonsEnabled[i] = (section || worksheet) ? 0 : 1;
    if (section) subPaletteButtonsEnabled[ItemEarthmoving - ItemInput] = 1;
    if (worksheet) subPaletteButtonsEnabled[ItemInput - ItemInput] = 1;
    dataUpdateEnabled = worksheet ? 0 : 1;
    for (int16_t item = FirstDisplayItem; item <= ItemLast; ++item)
        DGSetItemEnable(dialogId, item, !section && !worksheet);
    const bool visible = DGIsModelessDialogVisible(dialogId);
    if (worksheet) {
        if (visible && !NorwegianVariant) Hide();
    } else if (!visible && !NorwegianVariant) {
        Show();
    }
    RedrawButtons();
    DGRedrawItem(dialogId, DG_ALL_ITEMS);
}

void CToolsPlt::ShowAbout() {
    DGMousePosData mouse = {};
    DGGetMousePosition(dialogId, &mouse);
    CloseAllSubPalettes();
    RedrawButtons();
    if (mouse.modifiers == ModifiersNorwegian && !NorwegianVariant) {
        NorwegianVariant = 1;
        HostLanguageNOR = 1;
        return;
    }
    VersionInfo info;
    ParseVersionBanner(QV_String(VersionBanner), info);
    QV_String versionLabel, dateLabel;
    GetResString(versionLabel, CommonTableBase + LanguageIndex, 26);
    GetResString(dateLabel, CommonTableBase + LanguageIndex, 27);
    QV_String text = versionLabel;
    text += " ";
    text += info.versionText;
    text += "  ";
    text += dateLabel;
    text += " ";
    text += info.dateText;
    ShowHelp(this, QV_String(ProductName), 2, 1, 0, info.versionText, info.dateText, QV_String(""), 32500, 32521, text);
}

int32_t CToolsPlt::OnClick(int16_t item, DGMessageData) {
    switch (item) {
        case ItemAbout: ShowAbout(); break;
        case ItemInput:
        case ItemEarthmoving:
        case ItemStreetFurniture:
        case ItemParameters: ToggleSubPaletteOfButton(item); break;
        case ItemDataUpdate:
            if (!dataUpdateEnabled) break;
            CloseAllSubPalettes();
            RedrawButtons();
            RunUserAction([] {
                UpdateSelectedObjects(GlobalSettings, Ports().earthworkDialogs, Ports().siteObjectDialogs,
                                      Ports().contourLineRefresh);
            });
            break;
        default: RedrawButtons(); break;
    }
    ResetToolInput(*this);
    EnsureOperatorLayer();
    return 0;
}

void CToolsPlt::OnChange(int16_t item, DGMessageData) {
    if (item != ItemShowCoordinates || dialogId == 0) return;
    // The check box acts as a push button.
    DGSetItemValLong(dialogId, ItemShowCoordinates, 0);
    ShowCoordinates(*this);
}

void CToolsPlt::OnMessage0() {
    SetSubPaletteAnchor(*this, dialogId, RedrawPaletteButtons);
    ReseatSubPalettes();
}

void CToolsPlt::RedrawButtons() const {
    if (dialogId == 0) return;
    for (int16_t item = ItemInput; item <= ItemDataUpdate; ++item) DGRedrawItem(dialogId, item);
}

const char* CToolsPlt::ButtonImage(int16_t item) const {
    struct Images {
        const char* plain;
        const char* pressed;
        const char* disabled;
    };
    static const Images images[] = {
        {"Pal_About.jpg", "Pal_About.jpg", "Pal_About.jpg"},
        {"Pal_Input.jpg", "Pal_Input_Press.jpg", "Pal_Input_Dis.jpg"},
        {"Pal_Earth.jpg", "Pal_Earth_Press.jpg", "Pal_Earth_Dis.jpg"},
        {"Pal_Urban.jpg", "Pal_Urban_Press.jpg", "Pal_Urban_Dis.jpg"},
        {"Pal_Settings.jpg", "Pal_Settings_Press.jpg", "Pal_Settings_Dis.jpg"},
    };
    if (item == ItemDataUpdate) return itemsEnabled && dataUpdateEnabled ? "Pal_Update.jpg" : "Pal_Update_Dis.jpg";
    if (item < ItemAbout || item > ItemParameters) return "";
    const Images& set = images[item - 1];
    if (item == ItemAbout) return set.plain;
    if (!itemsEnabled || !subPaletteButtonsEnabled[item - ItemInput]) return set.disabled;
    bool pressed = false;
    switch (item) {
        case ItemInput:
            pressed = IsSubPaletteVisible(SubInput) || IsSubPaletteVisible(SubNorwegianInput) ||
                IsSubPaletteVisible(SubAustrianInput) || IsSubPaletteVisible(SubWorksheet);
            break;
        case ItemEarthmoving: pressed = IsSubPaletteVisible(SubEarthmoving) || IsSubPaletteVisible(SubSection); break;
        case ItemStreetFurniture: pressed = IsSubPaletteVisible(SubStreetFurniture); break;
        default: pressed = IsSubPaletteVisible(SubParameters); break;
    }
    return pressed ? set.pressed : set.plain;
}

void CToolsPlt::OnUpdateUserItem(int16_t item, DGMessageData data) {
    if (data == 0) return;
    const std::string image = ButtonImage(item);
    if (image.empty()) return;
    const DGUserUpdateData& update = *reinterpret_cast<const DGUserUpdateData*>(data);
    const DG::Rect rect{update.left, update.top, update.right, update.bottom};
    DGDrawPicture(update.drawContext, rect, GS::UniString(image.c_str()));
}

void CToolsPlt::Create() {
    ResetState();
    resourceId = ResourceId;
    width = Width;
    height = Height;
    controlFlags = RegistrationFlags;
    handleClose = 1;
    handleHide = 1;
    handleDisable = 0;
    Open();
    ResetToolInput(*this);
}

CToolsPlt& ToolsPalette() {
    static CToolsPlt palette;
    return palette;
}
