#include "foundation/Language.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Config.hpp"

#include "Resources.hpp"
#include "UniString.hpp"

#include <string>

int16_t LanguageIndex = LanguageEnglish;

const QV_String LanguageCodes[LanguageCount] = {QV_String("ita"), QV_String("int"), QV_String("fra"), QV_String("ger"),
                                                QV_String("spa"), QV_String("jap"), QV_String("rus")};

namespace {

constexpr const char* MissingText = "_ERR_NO_";

bool IsLanguage(int32_t language) { return language >= 0 && language < LanguageCount; }

QV_String FromUni(const GS::UniString& text) {
    return QV_String(text.ToUStr(), text.GetLength() * 2, Encoding_UTF16LE);
}

}  // namespace

QV_String& GetResStringForLanguage(QV_String& out, int32_t id, int32_t index, int16_t language) {
    if (!IsLanguage(language)) language = LanguageEnglish;
    const GSResModule module = ACAPI_GetOwnResModule();
    GS::UniString text;
    bool found = RSGetIndString(&text, id, index, module);
    // The English table of the group; for the common tables it is the same table when English is current.
    if (!found && !(id >= CommonTableBase && language == LanguageEnglish))
        found = RSGetIndString(&text, id - language + LanguageEnglish, index, module);
    out = found ? FromUni(text) : QV_String(MissingText);
    return out;
}

QV_String& GetResString(QV_String& out, int32_t id, int32_t index) {
    return GetResStringForLanguage(out, id, index, LanguageIndex);
}

bool IsResText(const QV_String& text) { return !(text == QV_String(MissingText)); }

bool LoadLanguage(bool reload) {
    if (reload) LoadConfigFile(ConfigSharedFile, false);
    LanguageIndex = LanguageEnglish;
    QV_String value;
    if (GetConfigValue(ConfigSharedFile, QV_String("Language_str"), &value, true)) {
        for (int16_t i = 0; i < LanguageCount; ++i) {
            if (value.CompareNoCase(LanguageCodes[i]) == 0) {
                LanguageIndex = i;
                break;
            }
        }
        ValidateLanguage();
        return true;
    }
    if (!GetConfigValue(ConfigSharedFile, QV_String("Language"), &value, true)) return false;
    if (value.ClassifyNumber() != 0) {
        const int32_t number = StrToInt(value.ToStdString(Encoding_System).c_str());
        // The older key never named Russian: 6 and above are not taken from it.
        LanguageIndex = (number >= 6 || number < 0) ? LanguageEnglish : static_cast<int16_t>(number);
    }
    ValidateLanguage();
    return true;
}

void ValidateLanguage() {
    if (!IsLanguage(LanguageIndex)) {
        LanguageIndex = LanguageEnglish;
        return;
    }
    static const QV_String available("jap rus");
    if (LanguageIndex >= 5 && available.FindNoCase(LanguageCodes[LanguageIndex], 0) < 0)
        LanguageIndex = LanguageEnglish;
}
