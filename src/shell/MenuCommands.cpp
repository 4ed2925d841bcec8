#include "shell/MenuCommands.hpp"

#include "dialogs/tools/AboutDialog.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/Localizator.hpp"
#include "elements/ProjectOpenUpkeep.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LanguageDialog.hpp"
#include "foundation/LibPart.hpp"
#include "settings/ObserverAttachment.hpp"
#include "settings/PrefsLP.hpp"
#include "settings/Settings.hpp"
#include "foundation/AddOnInfo.hpp"
#include "foundation/AddOnLibraryFolder.hpp"
#include "shell/AddOnLibraries.hpp"
#include "shell/ShellState.hpp"
#include "shell/ToolsPalette.hpp"

#include "DG.hpp"

uint8_t FirstMenuCommand = 1;

namespace {
// Menu items.
constexpr int16_t ItemPalette = 1;
constexpr int16_t ItemLanguage = 2;
constexpr int16_t ItemAbout = 3;

void ChooseLanguage() {
    const int16_t previous = LanguageIndex;
    if (!ShowLanguageDialog(QV_String(VersionBanner))) return;
    LoadLanguage(true);
    ToolsPalette().UpdateMenuTexts();
    ShowErrorMessage(UpdateLocalizatorLanguage(previous), AlertKind::Error);
}
}  // namespace

bool HasPrefsLibPart() {
    LoadLanguage(true);
    int32_t libIndex = -1;
    return FindLibPartOrAsk(QV_String("VY_PREFS"), libIndex, true, QV_String(), APILib_ObjectID);
}

int32_t ApplyLanguage() {
    const int16_t previous = LanguageIndex;
    LoadLanguage(true);
    ShowErrorMessage(UpdateLocalizatorLanguage(previous), AlertKind::Error);
    LoadAddOnLibraries(true);
    // Without its part the GIS import has no subtype parameters; a count the host refused would pass for that.
    const GSErrCode counted = CountGISSubtypeParams();
    return counted == NoError || counted == APIERR_BADNAME ? 0 : ErrFindingData;
}

// The menu's texts follow the palette: one the module could not set leaves the menu saying the opposite of what
// the palette does, which the user learns.
void TellMenuTextRefusal() {
    if (ToolsPalette().TakeMenuTextRefusal())
        ShowAlert(Alert(AlertKind::Warning, ErrorTitleText, AlertText{ErrorTableBase, MenuTextNotSetText}));
}

void OpenToolsPalette() {
    CToolsPlt& palette = ToolsPalette();
    palette.TakeMenuTextRefusal();
    if (!palette.IsClosed()) {
        palette.Toggle();
        TellMenuTextRefusal();
        return;
    }
    CreateOperatorsLayer(VY_Operators);
    const int32_t observed = AttachObserversToAddOnElements();
    const int32_t upkeep = ProjectOpenUpkeep::RunOpeningUpkeep();
    const bool operatorLayer = EnsureOperatorLayer() > 0;
    palette.Create();
    PaletteSuspended = 0;
    const bool librariesLoaded = LoadAddOnLibraries(true);
    bool prefsRefused = false;
    PrefsLP::LoadAtStart(&GlobalSettings, &prefsRefused);
    // A window the host would not build leaves no palette: without a word the menu command would seem to do nothing.
    if (palette.IsClosed())
        ShowAlert(Alert(AlertKind::Error, ErrorTitleText, AlertText{ErrorTableBase, PaletteNotOpenedText}));
    // The tools then start from their built-in defaults, or miss the add-on's parts: a read the host refused.
    if (!librariesLoaded || prefsRefused) ShowErrorMessage(ErrFindingData, AlertKind::Warning);
    // The palette still opens (its next click tries the layer again), but the earthworks' cut and fill objects
    // have no layer until then: the user learns it now rather than from a misplaced object.
    if (!operatorLayer) ShowErrorMessage(ErrLayer, AlertKind::Warning);
    // Elements that could not be looked at may not follow their edits, and an upkeep that could not finish has taken
    // its change back; the palette opens all the same.
    ShowErrorMessage(observed, AlertKind::Warning);
    ShowErrorMessage(upkeep, AlertKind::Warning);
    TellMenuTextRefusal();
}

void MenuCommandHandler(const API_MenuParams* menuParams, int16_t ownMenuResID) {
    DGResetDialogRectangles();
    if (!HasPrefsLibPart()) return;
    if (menuParams == nullptr || menuParams->menuItemRef.menuResID != ownMenuResID) return;
    ACAPI_KeepInMemory(true);
    // The first command sets the module up; one that could not is not run, and the next command tries again.
    if (FirstMenuCommand != 0) {
        const int32_t ready = ApplyLanguage();
        if (ready != 0) {
            ShowErrorMessage(ready, AlertKind::Warning);
            return;
        }
    }
    const int16_t item = menuParams->menuItemRef.itemIndex;
    RunUserAction([item] {
        switch (item) {
            case ItemPalette: OpenToolsPalette(); break;
            case ItemLanguage: ChooseLanguage(); break;
            case ItemAbout: OpenAboutDialog(); break;
            default: break;
        }
    });
    FirstMenuCommand = 0;
}
