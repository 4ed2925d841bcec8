#include "shell/commands/ToolCommand.hpp"

#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/SelectionHelpers.hpp"

int32_t SelectionCheckResult = 0;

void BeginToolCommand(Settings& settings) {
    SelectionCheckResult = 0;
    settings.firstCount = 0;
    settings.editedCount = 0;
    EditedEntityCount = 0;
}

// The dialogs' mode header reads the dialog manager's copy.
void SetEditedCount(Settings& settings, int32_t count) {
    settings.editedCount = count;
    EditedEntityCount = count;
}

bool RequireFloorPlan() { return EnsureFloorPlanWindow(false); }

void ReportToolResult(int32_t code) {
    if (code != 0) ShowErrorMessage(code, -1);
}
