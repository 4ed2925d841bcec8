#include "elements/Localizator.hpp"

#include "elements/LibPartHelpers.hpp"
#include "elements/LibPartSections.hpp"
#include "elements/LocalizatorLP.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"

namespace {
constexpr int16_t LastLanguageIndex = 6;
}

void UpdateLocalizatorLanguage(int16_t previousLanguageIndex) {
    if (previousLanguageIndex == LanguageIndex || LanguageIndex < 0 || LanguageIndex > LastLanguageIndex) return;
    API_LibPart part;
    if (LibPart_SearchByName(QV_String("VY3_Localizator"), APILib_ObjectID, part) != NoError || part.index < 1) return;
    QV_LibPartSection section;
    GSErrCode err = NoError;
    if (!LibPartSection_Load(part.index, API_SectParamDef, section, err) || section.content == nullptr) return;

    LocalizatorLP view;
    view.Attach(section.content, true);
    int16_t number = int16_t(LanguageIndex + 1);
    const bool set = view.GetSetShort(LocalizatorParam::Language, number, LPMode_Set);
    view.Detach();
    // Placed objects show the new default only after a rebuild, and only a part that took it needs one.
    if (set && LibPartSection_Write(part.index, section, nullptr)) {
        API_RebuildParams rebuild = {};
        ACAPI_Automate(APIDo_RebuildID, &rebuild);
    }
}
