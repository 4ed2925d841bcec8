#include "elements/Localizator.hpp"

#include "elements/LibPartHelpers.hpp"
#include "elements/LibPartSections.hpp"
#include "elements/LocalizatorLP.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"

namespace {
constexpr int16_t LastLanguageIndex = 6;
}

int32_t UpdateLocalizatorLanguage(int16_t previousLanguageIndex) {
    if (previousLanguageIndex == LanguageIndex || LanguageIndex < 0 || LanguageIndex > LastLanguageIndex) return 0;
    API_LibPart part;
    const GSErrCode found = LibPart_SearchByName(QV_String("VY3_Localizator"), APILib_ObjectID, part);
    if (LibPartSearchRefused(found)) return ErrFindingData;
    if (found != NoError || part.index < 1) return 0;
    QV_LibPartSection section;
    GSErrCode err = NoError;
    if (!LibPartSection_Load(part.index, API_SectParamDef, section, err) || section.content == nullptr)
        return ErrSettings;

    LocalizatorLP view;
    view.Attach(section.content, true);
    int16_t number = int16_t(LanguageIndex + 1);
    const bool set = view.GetSetShort(LocalizatorParam::Language, number, LPMode_Set);
    view.Detach();
    // Placed objects show the new default only after a rebuild, and only a part that took it needs one.
    if (!set || !LibPartSection_Write(part.index, section, nullptr)) return ErrSettings;
    API_RebuildParams rebuild = {};
    ACAPI_Automate(APIDo_RebuildID, &rebuild);
    return 0;
}
