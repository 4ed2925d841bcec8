#pragma once
// Small routines the tool dialogs and several tools share: the general alert with up to three buttons, the
// font list and font popup of the text settings, a path's extension replaced, a section removed from a list by
// its id, and the sort order of text lists.
#include "elements/LibPartSections.hpp"
#include "foundation/Alert.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"
#include "settings/SpotHeightSettings.hpp"

#include <cstdint>

// The host's modal alert; empty texts and captions are left out. The number of the button pressed; 0 when a text
// could not be read (the user is told so, nothing is asked).
int16_t ShowAlert(AlertKind kind, const QV_String& largeText, const QV_String& smallText, const QV_String& guideText,
                  const QV_String& button1, const QV_String& button2, const QV_String& button3);

// The path with its extension replaced by `extension` (given without the dot), or appended when the file name
// has none (a dot in a folder name does not count). An empty path stays empty.
void ReplaceExtension(QV_String& path, const QV_String& extension);

// The sort predicate of text lists.
bool CompareStringsLess(const QV_String& a, const QV_String& b);

// The name of the default text element's font; empty when the host cannot tell it.
void GetDefaultAttributeName(QV_String& name);

// The names of the host's fonts (HostFontList) in the default text's font set, sorted by name with letter case
// ignored and each name once. Empty on a host failure.
void GetFontNameList(QV_List<QV_String>& names);

// Fills the popup with the font list and selects `current` (letter case ignored), else the default text's
// font, else entry 1.
void FillFontPopup(int16_t dialId, int16_t item, const QV_String& current);

// The text of the popup's chosen entry into `font`; `font` unchanged when nothing is chosen.
void ReadFontPopup(int16_t dialId, int16_t item, QV_String& font);

// Removes the first section whose header starts with `sectionId` (its type field); nothing when none does.
void RemoveHandleItemById(QV_List<QV_LibPartSection>& sections, uint32_t sectionId);

// The spot height dialog's working copy of the marker settings and which of its fields the user changed.
struct SpotHeightDlg {
    SpotHeightSettings record;
    bool changed[SpotHeightSettings::FieldCount] = {};

    // Writes a real field (ids 3, 5, 8, 13, 14) when the value moved by 1e-7 or more and marks the id changed.
    // With `angle` set the value is in degrees, as the dialog shows it, and the record keeps radians.
    static void StoreDouble(SpotHeightDlg& state, int16_t id, double value, uint8_t angle);
};
