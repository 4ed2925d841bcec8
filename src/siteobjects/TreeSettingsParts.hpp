#pragma once
// Tree settings kept as library parts: "Save settings..." writes the settings as the parameter defaults of a new
// part made from the sections of "SS_TREE" and derived from "SS_Settings_SubType"; "Load settings..." reads such a
// part back. The host's object settings dialog also picks the custom trunk and leaf parts. Errors are shown here.
#include "elements/BaseLP.hpp"
#include "elements/LibPartSections.hpp"
#include "foundation/QV_List.hpp"
#include "settings/TreeSettings.hpp"

#include <cstdint>

// Variation codes the host's object settings dialog filters its parts by.
constexpr int32_t TreeVariationLeaves = int32_t(('T' << 24) | ('R' << 16) | ('E' << 8) | '1');
constexpr int32_t TreeVariationSettings = int32_t(('T' << 24) | ('R' << 16) | ('E' << 8) | '2');
constexpr int32_t TreeVariationTrunk = int32_t(('T' << 24) | ('R' << 16) | ('E' << 8) | '3');

// The name of the library part with that index; empty when the host gives none.
QV_String LibPartNameByIndex(int32_t index);

// The settings a settings part carries into `work` from its parameter view (the layer and the branches' and
// levels' companions untouched). A number that is missing, an array or a text gives 0.
void ReadTreeSettingsPartParams(BaseLP& view, TreeSettings& work);

// The user picks a settings part: true with `work` filled from its defaults; false when cancelled or failed (66).
bool LoadTreeSettingsPart(TreeSettings& work);
// Saves `work` as a new settings part where the user chooses.
void SaveTreeSettingsPart(const TreeSettings& work);
// Writes `work` into the list's parameter section and marks "SS_TREE_sp0" to "SS_TREE_sp3"; false when the list
// has no parameter section.
bool WriteTreeSettingsParams(const TreeSettings& work, QV_List<QV_LibPartSection>& sections);

// The user picks a trunk (`trunk`) or leaf part, the current `name` preselected: true with its name and index.
// Cancel: false quietly; a host failure: false after error 66.
bool ChooseCustomTreePart(bool trunk, QV_String& name, int32_t& index);
