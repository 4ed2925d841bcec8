// The add-on's four entry points and the module's life.
#include "GSRoot.hpp"
#include "IO.hpp"
#include "UniString.hpp"
#include "dialogs/tools/PointInputPalette.hpp"
#include "elements/HostFonts.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Config.hpp"
#include "foundation/Language.hpp"
#include "foundation/QV_String.hpp"
#include "foundation/SettingsFileAlert.hpp"
#include "geometry/project/CurveDivision.hpp"
#include "settings/ProjectOffset.hpp"
#include "settings/Settings.hpp"
#include "foundation/AddOnInfo.hpp"
#include "shell/AttributeCache.hpp"
#include "shell/MenuCommands.hpp"
#include "shell/MenuHandlers.hpp"
#include "shell/ModuleMemory.hpp"
#include "shell/Notifications.hpp"
#include "shell/ShellState.hpp"
#include "shell/ToolsPalette.hpp"
#include "shell/Wiring.hpp"
#include "sosi/SOSIObjectSettings.hpp"
#include "sosi/SOSITypeRowList.hpp"
#include "terrain/PointTool.hpp"

#include <cstdio>

namespace {
// The marker file "<user folder>\Lodravix_20_<host main version>.wyr". A missing folder or file, or a file
// that cannot be deleted, is not reported.
void DeleteSuiteMarkerFile() {
    API_ServerApplicationInfo info = {};
    if (ACAPI_Environment(APIEnv_ApplicationID, &info) != NoError) return;
    QV_String path;
    if (!GetSuiteMarkerPath(info.mainVersion, path) || path.GetLength() == 0) return;
    const IO::Location location(GS::UniString(path.GetBuffer(), path.GetLength()));
    if (IO::FileSystem::IsFile(location)) IO::FileSystem::Delete(location);
}
}  // namespace

API_AddonType CheckEnvironment(API_EnvirParams* envir) {
    DeleteSuiteMarkerFile();
    if (envir == nullptr || envir->serverApplication != APIAppl_Host) return APIAddon_Unknown;
    std::snprintf(envir->addOnInfo.name, sizeof envir->addOnInfo.name, "%s", AddOnName);
    std::snprintf(envir->addOnInfo.description, sizeof envir->addOnInfo.description, "%s", ProductName);
    return APIAddon_Normal;
}

GSErrCode RegisterInterface() {
    ReadHostLanguageVariant();
    LoadLanguage(true);
    const GSErrCode err = ACAPI_Register_Menu(int16_t(MenuResBase + LanguageIndex), 0, 0, 0);
    if (err != NoError) return err;
    return ACAPI_Register_BuiltInLibrary();
}

GSErrCode Initialize() {
    WireSubsystems();
    // The shared configuration file read for the language at registration, if it was no file, is told now.
    QV_String sharedConfig;
    if (ConfigFileIsNoFile(ConfigSharedFile) && GetConfigFilePath(ConfigSharedFile, sharedConfig) == 0)
        TellSettingsFileNotAFile(sharedConfig);
    UpdateConfirmation = 1;
    ReadHostLanguageVariant();
    RebuildAttributeCache();
    FillHostFontList();  // the fonts in the host's order, for the text parameters and the font pop-ups
    ToolsPalette().ResetState();
    ResetPointInputPaletteState();
    for (SubPaletteRecord& sub : SubPalettes) {
        sub.dialogId = 0;
        sub.registrationFlags = 0;
        sub.enabled = 1;
        sub.activeItem = 0;
    }
    XYZButtonState = 1;
    ResetCurveSegmentation(true);
    SOSITypeRows().Clear();
    SOSIObjectSettingsRecord().Init();  // the import defaults
    // A project's offset comes with the project (its module data); a module loaded again starts without one.
    ProjectOffset.Reset();

    bool suitePresent = false;
    if (CheckSuitePresence(suitePresent)) WriteSuiteMarker(true);

    // All seven handlers are installed before any result is looked at.
    GSErrCode menuErr = NoError;
    for (int32_t i = 0; i < MenuHandlerCount; ++i)
        menuErr |= ACAPI_Install_MenuHandler(int16_t(MenuResBase + i), MenuHandlerProc(i));
    if (menuErr != NoError) return menuErr;

    GSErrCode err = ACAPI_Notify_CatchNewElement(nullptr, ElementEventHandler);
    if (err != NoError) return err;
    err = ACAPI_Notify_InstallElementObserver(ElementEventHandler);
    if (err != NoError) return err;
    err = ACAPI_Notify_CatchProjectEvent(-1, ProjectEventHandler);
    if (err != NoError) return err;
    err = ACAPI_Notify_CatchToolChange(ToolInputResetHandler);
    if (err != NoError) return err;

    PointTool::OnElementEvent(GlobalSettings.points, 5, nullptr, 0);
    ToolsPalette().UpdateMenuTexts();
    return NoError;
}

GSErrCode FreeData() {
    ToolsPalette().Close();
    PaletteSuspended = 1;
    SOSITypeRows().Clear();
    SOSIObjectSettingsRecord().Init();  // the import defaults
    DeleteSuiteMarkerFile();
    ResetCurveSegmentation(false);
    UnwireSubsystems();
    ResetModuleMemory();
    return NoError;
}
