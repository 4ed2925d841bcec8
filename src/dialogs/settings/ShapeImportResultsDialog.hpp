#pragma once
// "Import results" of the shapefile import: the counts, the data position (an offset shown and edited relative to
// the data's box) and the import area on a tab page of their own, the node distance, the height from a table
// field, and either the GIS object to use (32571, twin 32532) or "with contours" and "vertical thinning" (32572,
// twin 32535). The dialogs edit the import options; OK stores every item into them.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "fileio/ShapeImportData.hpp"

#include <cstdint>

constexpr int16_t ShapeResultsObjectsDialogId = 32571;
constexpr int16_t ShapeResultsObjectsTwinDialogId = 32532;
constexpr int16_t ShapeResultsTerrainDialogId = 32572;
constexpr int16_t ShapeResultsTerrainTwinDialogId = 32535;

struct ShapeResultsBlock {
    DialogBlockHead head;
    int16_t tabPageId = 0;
    GISImportOptions* options = nullptr;
    QV_List<QV_String> heightNames;  // fields with decimals, or the single entry "----"
};

bool OpenShapeImportResultsDialog(ShapeResultsBlock& block, GISImportOptions& options);
bool OpenShapeImportResultsDialogTwin(ShapeResultsBlock& block, GISImportOptions& options);
bool OpenShapeImportResultsDialog2(ShapeResultsBlock& block, GISImportOptions& options);
bool OpenShapeImportResultsDialog2Twin(ShapeResultsBlock& block, GISImportOptions& options);

// The owners' loops over the two layouts: true on OK, false when the import is cancelled.
bool RunImportResultsDialogs(ShapeImportData& data);
bool RunTerrainResultsDialogs(ShapeImportData& data);

int16_t ShapeImportResultsCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                   intptr_t messageData);
