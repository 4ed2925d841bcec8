#pragma once
// "ASC File Import": the options of a grid import, edited on the reader itself, which comes with its file open and
// its detection run (`ColumnFileCls::Detect`). The raw first lines of the file and the coordinates the current
// options give are previewed. One layout (32577); OK lets the read go on.
#include "fileio/ASCFileCls.hpp"

#include <cstdint>

constexpr int16_t AscImportDialogId = 32577;

struct AscImportBlock {
    ASCFile::ASCFileCls* reader = nullptr;
};

// True when the dialog closed with OK.
bool OpenAscImportDialog(AscImportBlock& block, ASCFile::ASCFileCls& reader);
// The options dialog as the grid import asks it: true on OK.
bool AskAscImportOptions(ASCFile::ASCFileCls& reader);

int16_t AscImportDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                intptr_t messageData);

// Up to five non-empty lines after the six header lines (the header values go into the reader's header).
std::vector<QV_String> ReadAscPreviewLines(ASCFile::ASCFileCls& reader);
// The raw preview: blanks as "•", TABs as "»" and three blanks, each line ended by CR LF.
QV_String RawPreviewText(const std::vector<QV_String>& lines);
