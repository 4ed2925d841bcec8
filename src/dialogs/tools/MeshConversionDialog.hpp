#pragma once
// The "Mesh conversion" dialog (32527): asks whether a host mesh the add-on did not make may be turned into one of
// its terrains before the mesh-transform command goes on.
#include <cstdint>

struct MeshConversionDialogData {
    uint16_t dialogId;
    // Set by the caller: the two middle lines tell that the mesh may be a generic one or one of the add-on's own.
    uint8_t alternativeText;
};

constexpr int16_t MeshConversionDialogId = 32527;

// Runs the dialog; true when "Convert" was clicked, false on "Cancel".
bool OpenMeshConversionDialog(MeshConversionDialogData& data);

// The dialog's callback (1 init, 4 click); userData points to its MeshConversionDialogData.
int16_t MeshConversionDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                     intptr_t messageData);
