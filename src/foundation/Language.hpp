#pragma once
// Localised texts and the language index (the alerts that show them: Alert.hpp).
//
// String tables come in groups of seven consecutive ids, one per language: id = group base + language index
// (0 Italian, 1 English, 2 French, 3 German, 4 Spanish, 5 Japanese, 6 Russian).
#include "foundation/QV_String.hpp"

#include <cstdint>

constexpr int16_t LanguageCount = 7;
constexpr int16_t LanguageEnglish = 1;

// Table group bases.
constexpr int32_t MenuResBase = 32500;
constexpr int32_t MenuTextTableBase = 32510;
constexpr int32_t ErrorTableBase = 32520;
constexpr int32_t PromptTableBase = 32530;
constexpr int32_t GeneralTableBase = 32540;
constexpr int32_t TitleTableBase = 32550;
constexpr int32_t UndoTableBase = 32560;
constexpr int32_t SOSITableBase = 32570;
constexpr int32_t ImportTableBase = 32580;
constexpr int32_t CommonTableBase = 32710;

// The language of the user interface, 0 to 6; 1 (English) until the configuration says otherwise.
extern int16_t LanguageIndex;
// The language codes "ita", "int", "fra", "ger", "spa", "jap", "rus", by language index.
extern const QV_String LanguageCodes[LanguageCount];

// Entry `index` of table `id` (the caller adds the language index to the group base). A missing entry is
// taken from the English table of the group (id - LanguageIndex + 1), except for ids from 32710 on while
// the language is English; failing that the text is "_ERR_NO_".
QV_String& GetResString(QV_String& out, int32_t id, int32_t index);
// Whether a text GetResString gave is one of the module's own, not the stand-in for a text it could not read.
bool IsResText(const QV_String& text);
// The same for a given language instead of the global index (e.g. to preview a language not yet chosen).
QV_String& GetResStringForLanguage(QV_String& out, int32_t id, int32_t index, int16_t language);

// Sets the language index from the shared configuration file ("Language_str", or the older numeric
// "Language"); with reload the file is read again first. False, and index 1, when neither key is present.
bool LoadLanguage(bool reload);
// Demotes a language whose texts are not available to English.
void ValidateLanguage();
