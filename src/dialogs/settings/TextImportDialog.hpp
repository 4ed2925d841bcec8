#pragma once
// "Text File import": the options of a point-file import, edited on the reader itself (its file open and its
// detection run, `ColumnFileCls::Detect`): unit, column layout, decimal mark, delimiter, first row skipped, axes
// swapped, filter distance and the options of the points. The raw first lines and the columns they give are
// previewed. Two layouts, 32568 (pop-ups) and 32500 (radio buttons
// beside the picture column), switched by their layout buttons.
#include "fileio/TextFileCls.hpp"

#include <cstdint>

#include "dialogs/settings/SettingsDialogFrame.hpp"

constexpr int16_t TextImportDialogId = 32568;
constexpr int16_t TextImportTwinDialogId = 32500;

struct TextImportBlock {
    DialogBlockHead head;
    TextFileCls* reader = nullptr;
};

// True when the dialog closed with OK.
bool OpenTextImportDialog(TextImportBlock& block, TextFileCls& reader);
bool OpenTextImportDialogTwin(TextImportBlock& block, TextFileCls& reader);
// The options dialog as the point-file import asks it, the two layouts in turn: true on OK.
bool AskTextImportOptions(TextFileCls& reader);

int16_t TextImportDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                 intptr_t messageData);
int16_t TextImportDialogCallbackTwin(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                     intptr_t messageData);
