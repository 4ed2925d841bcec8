#pragma once
// Small item steps the settings dialogs share: a label from the string tables in the current language, and a
// group of items enabled or disabled together.
#include "foundation/Language.hpp"
#include "foundation/QV_String.hpp"

#include "DG.hpp"

#include <cstdint>
#include <initializer_list>

inline void SetLabel(int16_t dialogId, int16_t item, int32_t tableBase, int32_t index) {
    QV_String text;
    GetResString(text, tableBase + LanguageIndex, index);
    DGSetItemText(dialogId, item, GS::UniString(text.GetBuffer(), text.GetLength()));
}

inline void EnableItems(int16_t dialogId, bool enable, std::initializer_list<int16_t> items) {
    for (int16_t item : items) enable ? DGEnableItem(dialogId, item) : DGDisableItem(dialogId, item);
}
