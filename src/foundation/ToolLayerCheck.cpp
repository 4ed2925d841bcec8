#include "foundation/ToolLayerCheck.hpp"

#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"

#include "APIElements.hpp"
#include "DG.hpp"

#include <cstring>

namespace {
constexpr int32_t TextCancel = 5;
constexpr int32_t TextShowUnlock = 9;
constexpr int32_t TextLayerHidden = 29;
constexpr int32_t TextLayerDeleted = 30;

GS::UniString CommonText(int32_t index) {
    QV_String text;
    GetResString(text, CommonTableBase + LanguageIndex, index);
    return GS::UniString(text.GetBuffer(), text.GetLength());
}
}  // namespace

bool CheckToolLayer(int16_t layer) {
    API_Attribute attribute;
    std::memset(&attribute, 0, sizeof attribute);
    attribute.header.typeID = API_LayerID;
    // The index is the 16-bit field as stored: read unsigned, as the records keep it.
    attribute.header.index = int32_t(uint16_t(layer));
    const GSErrCode read = attribute.header.index == 0 ? APIERR_BADINDEX : ACAPI_Attribute_Get(&attribute);
    // A layer the host would not read may well be there: the user is told the read failed, not that it is gone.
    if (read != NoError && read != APIERR_BADINDEX) {
        ShowErrorMessage(ErrFindingData, AlertKind::Error);
        return false;
    }
    if (read != NoError) {
        ShowAlert(Alert(AlertKind::Error, AlertText(), AlertText{CommonTableBase, TextLayerDeleted}));
        return false;
    }
    if ((attribute.header.flags & (APILay_Hidden | APILay_Locked)) == 0) return true;
    const int16_t answer =
        DGAlert(static_cast<int16_t>(AlertKind::Question), GS::UniString(), CommonText(TextLayerHidden),
                GS::UniString(), CommonText(TextShowUnlock), CommonText(TextCancel), GS::UniString());
    if (answer == 2) return false;
    attribute.header.flags &= ~uint32_t(APILay_Hidden | APILay_Locked);
    return ACAPI_Attribute_Modify(&attribute) == NoError;
}
