#include "shell/Wiring.hpp"

#include "dialogs/settings/AscImportDialog.hpp"
#include "dialogs/settings/RoadSettingsDialog.hpp"
#include "dialogs/settings/TextImportDialog.hpp"
#include "dialogs/tools/CurveSegmentationDialog.hpp"
#include "earthworks/Road.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/UpkeepHooks.hpp"
#include "foundation/LibPart.hpp"
#include "geometry/project/CurveDivision.hpp"
#include "shell/AddOnLibraries.hpp"
#include "terrain/PointTool.hpp"

void WireSubsystems() {
    SetAddOnLibraryLoader(LoadAddOnLibraries);
    SetCurveSegmentationAsk(AskCurveSegmentation);
    SetRoadDialogOpener(OpenRoadSettingsLayout);
    ModelUpdateSteps& steps = WiredModelUpdateSteps();
    steps.pointToolEvent = [](int32_t mode, const QV_List<API_Elem_Head>& heads, const QV_List<API_Element>&) {
        return PointTool::OnElementEvent(mode, heads.begin(), heads.GetCount());
    };
    // The upkeep's road sections and contour-line command are not built yet: their hooks keep noting their calls.
    ResetUpkeepHooks();
    WiredUpkeepHooks().checkAddOnLibraryFolders = CheckAddOnLibraryFolders;
    ASCFile::SetAscOptionsDialog(AskAscImportOptions);
    SetTextOptionsDialog(AskTextImportOptions);
}

void UnwireSubsystems() {
    SetAddOnLibraryLoader(nullptr);
    SetCurveSegmentationAsk(nullptr);
    SetRoadDialogOpener(nullptr);
    ResetModelUpdateSteps();
    ResetUpkeepHooks();
    ASCFile::SetAscOptionsDialog(nullptr);
    SetTextOptionsDialog(nullptr);
}
