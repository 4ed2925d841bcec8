#include "shell/ModuleMemory.hpp"

#include "dialogs/tools/PointInputPalette.hpp"
#include "earthworks/Basin.hpp"
#include "earthworks/Bridge.hpp"
#include "earthworks/Digging.hpp"
#include "earthworks/Section.hpp"
#include "elements/HostFonts.hpp"
#include "elements/LeftoverElements.hpp"
#include "elements/ModelUpdate.hpp"
#include "fileio/GISObjects.hpp"
#include "foundation/Config.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/ObservedElements.hpp"
#include "foundation/PointInput.hpp"
#include "geometry/project/CurveDivision.hpp"
#include "settings/ProjectOffset.hpp"
#include "settings/Settings.hpp"
#include "shell/AddOnLibraries.hpp"
#include "shell/AttributeCache.hpp"
#include "shell/MenuCommands.hpp"
#include "shell/ShellState.hpp"
#include "shell/commands/ToolCommand.hpp"
#include "siteobjects/Trees.hpp"
#include "sosi/SOSICurveSegmentation.hpp"
#include "sosi/SOSIOutput.hpp"

void ForgetProjectMemory() {
    PendingUpdate = PendingModelUpdate();
    ElementWritten = 0;
    ForgetPreparedSectionRoad();
    // Indices into the project's libraries: another project's libraries hold other parts there.
    PlateauLibIndex = SlopedPlateauLibIndex = BridgeLibIndex = Basin::BasinLibIndex = -1;
    GlobalSettings.treeFromPart = 1;
    GISParamTable.Clear();
    GISSubtypeParamCount = 0;
    SelectionCheckResult = 0;
}

void ResetModuleMemory() {
    ForgetProjectMemory();
    ObservedElements::Forget();
    ForgetStrandedChange();
    GlobalSettings = Settings();
    ProjectOffset.Reset();
    ResetConfigCaches();
    LanguageIndex = LanguageEnglish;
    HostLanguageNOR = HostLanguageAUT = 0;
    NorwegianVariant = AustrianVariant = 0;
    PaletteSuspended = 1;
    XYZButtonState = 1;
    UpdateConfirmation = 1;
    FirstMenuCommand = 1;
    for (SubPaletteRecord& sub : SubPalettes) sub = SubPaletteRecord();
    HostFontList.Clear();
    AttributeCache.Clear();
    DefaultTextAttribute = -1;
    InputFeedback = {{0.0, 0.0, 0.0}, 1, nullptr};
    ResetPointInputPaletteState();
    CurveSegmentation = {0, 0.0, 0};
    SOSICurveSegmentationValues() = SOSICurveSegmentation();
    ClearSOSIOutputState();
}
