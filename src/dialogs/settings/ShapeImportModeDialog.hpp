#pragma once
// "Import shapefiles...": terrain survey (mode 1) or GDL objects (mode 2). OK alone keeps the mode the caller set.
#include <cstdint>

constexpr int16_t ShapeImportModeDialogId = 32530;

struct ShapeImportModeBlock {
    int16_t dialogId = 0;
    int16_t mode = 1;
};

// True when the dialog closed with OK (also through either mode button).
bool OpenShapeImportDialog(ShapeImportModeBlock& block);

int16_t ShapeImportModeCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                intptr_t messageData);
