#include "dialogs/tools/DialogUtilities.hpp"

#include "elements/HostFonts.hpp"
#include "elements/TextFonts.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"

#include "DG.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {
GS::UniString ToUni(const QV_String& text) { return GS::UniString(text.GetBuffer(), text.GetLength()); }

QV_String FontName(const API_FontType& font) {
    return QV_String(font.head.name, uint32_t(strnlen(font.head.name, sizeof font.head.name)), Encoding_UTF8);
}
}  // namespace

int16_t ShowAlert(AlertKind kind, const QV_String& largeText, const QV_String& smallText, const QV_String& guideText,
                  const QV_String& button1, const QV_String& button2, const QV_String& button3) {
    // A question without its words, or its buttons without theirs, cannot be answered knowingly: not asked.
    for (const QV_String* text : {&largeText, &smallText, &guideText, &button1, &button2, &button3})
        if (!IsResText(*text)) {
            ShowUnreadTextError();
            return 0;
        }
    const int32_t answer = DGAlert(static_cast<int16_t>(kind), ToUni(largeText), ToUni(smallText), ToUni(guideText),
                                   ToUni(button1), ToUni(button2), ToUni(button3));
    return int16_t(answer & 0xffff);
}

void ReplaceExtension(QV_String& path, const QV_String& extension) {
    if (path.IsEmpty()) return;
    int32_t cut = path.ReverseFindChar('.');
    if (cut < 0 || cut < path.ReverseFindChar('\\')) cut = int32_t(path.GetLength());
    QV_String result;
    path.Left(result, uint32_t(cut));
    result += ".";
    result += extension;
    path = result;
}

bool CompareStringsLess(const QV_String& a, const QV_String& b) { return a < b; }

void GetDefaultAttributeName(QV_String& name) {
    API_FontType font = {};
    if (GetTextDefaultRecord(&font))
        name = FontName(font);
    else
        name.Clear();
}

void GetFontNameList(QV_List<QV_String>& names) {
    names.Clear();
    API_Element text = {};
    text.header.typeID = API_TextID;
    if (ACAPI_Element_GetDefaults(&text, nullptr) != NoError) return;
    // The host list is in index order; the popup shows the fonts as the shell's cache keeps them, by name.
    std::vector<QV_String> found;
    for (const API_FontType& font : HostFontList)
        if (font.familyType == text.text.fontSetCode) found.push_back(FontName(font));
    const auto less = [](const QV_String& a, const QV_String& b) { return a.CompareNoCase(b) < 0; };
    const auto same = [](const QV_String& a, const QV_String& b) { return a.CompareNoCase(b) == 0; };
    std::stable_sort(found.begin(), found.end(), less);
    found.erase(std::unique(found.begin(), found.end(), same), found.end());
    for (const QV_String& name : found)
        if (!names.Insert(name)) {
            names.Clear();
            return;
        }
}

void FillFontPopup(int16_t dialId, int16_t item, const QV_String& current) {
    QV_List<QV_String> names;
    GetFontNameList(names);
    QV_String defaultName;
    GetDefaultAttributeName(defaultName);
    int32_t match = 0;
    int32_t fallback = 0;
    for (int32_t i = 1; i <= names.GetCount(); ++i) {
        const QV_String& name = names[i - 1];
        if (!DGPopUpInsertItem(dialId, item, DG_POPUP_BOTTOM)) break;
        DGPopUpSetItemText(dialId, item, i, ToUni(name));
        if (!current.IsEmpty() && name.CompareNoCase(current) == 0) match = i;
        if (!defaultName.IsEmpty() && name.CompareNoCase(defaultName) == 0) fallback = i;
    }
    DGPopUpSelectItem(dialId, item, match > 0 ? match : fallback > 0 ? fallback : 1);
}

void ReadFontPopup(int16_t dialId, int16_t item, QV_String& font) {
    const int32_t pos = DGPopUpGetSelected(dialId, item);
    if (pos <= 0) return;
    const GS::UniString text = DGPopUpGetItemText(dialId, item, pos);
    QV_String chosen;
    chosen.AppendWide(text.ToUStr(), text.GetLength());
    font = chosen;
}

void RemoveHandleItemById(QV_List<QV_LibPartSection>& sections, uint32_t sectionId) {
    for (int32_t i = 0; i < sections.GetCount(); ++i)
        if (sections[i].header.sectType == sectionId) {
            // Remove destroys the record (which clears it) and closes the gap.
            sections.Remove(i);
            return;
        }
}

void SpotHeightDlg::StoreDouble(SpotHeightDlg& state, int16_t id, double value, uint8_t angle) {
    const double stored = angle != 0 ? value * M_PI / 180.0 : value;
    const double old = state.record.GetReal(id);
    // Below this the edit only rounded the shown value: the field is left as the user did not touch it.
    if (!(std::fabs(stored - old) >= 1e-7)) return;
    state.record.SetReal(id, stored);
    if (id >= 0 && id < SpotHeightSettings::FieldCount) state.changed[id] = true;
}
