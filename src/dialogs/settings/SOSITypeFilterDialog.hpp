#pragma once
// The "OBJEKTTYPE" filter of the terrain-survey SOSI import (dialog 32543). It shows either every object type
// of the files or only the terrain features ("Show ALL Object Types"); the short list's rows are copies linked
// both ways to their rows in the whole list, and every edit reaches both.
#include "dialogs/settings/SOSIOptionChoices.hpp"
#include "foundation/QV_List.hpp"
#include "sosi/SOSIRecords.hpp"

#include "DG.hpp"

#include <cstdint>

class SOSIFileCls;

constexpr int16_t SOSITypeFilterDialogId = 32543;

struct SOSITypeFilterDlg {
    int16_t dialogId = 0;
    SOSIFileCls* reader = nullptr;
    SOSIOptionChoices* choices = nullptr;  // shown, and on OK what the user chose
    QV_List<SOSIOType> allRows;
    QV_List<SOSIOType> shortRows;
    // The "all" toggles of import, own pen, own value and own line type, and the list shown (1: every row).
    uint8_t allImport = 0, allOwnPen = 0, allOwnValue = 0, allSecond = 0, showAll = 0;

    // The icons of row `row` (from 0) of the shown list, and the editors when it is the selected row.
    static void PlaceRowEditors(SOSITypeFilterDlg& block, int32_t row, int16_t listItem);
    // Every row of the shown list without its own pen (and its twin) takes the default pen of item 24.
    static void ApplyDefaultPen(SOSITypeFilterDlg& block);
};

// Opens 32543 on the reader's rows and the default pen and line type of `shown`; true on OK (the reader and
// `shown` then hold the choice). Both lists are emptied after the dialog either way.
bool OpenSOSIObjectTypeFilterDialog(SOSITypeFilterDlg& block, SOSIFileCls& reader, SOSIOptionChoices& shown);
// The INIT of 32543.
void InitSOSIObjectTypeFilterDialog(int16_t dialogId, SOSITypeFilterDlg& block);
int16_t SOSITypeFilterProc(int16_t message, int16_t dialogId, int16_t item, DGUserData userData,
                           DGMessageData messageData);
