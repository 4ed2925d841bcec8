#include "foundation/DialogPicture.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/Pictures.hpp"

#include "IO.hpp"
#include "UniString.hpp"
#include "WinGdi.hpp"

#include <cstdlib>

namespace {

// The whole item, its right and bottom edges inclusive as the drawing counts them.
PictureRect WholeItem(const DGUserUpdateData& update) {
    const int32_t width = std::abs(update.right - update.left);
    const int32_t height = std::abs(update.bottom - update.top);
    return PictureRect{0, 0, int16_t(height > 0 ? height - 1 : 0), int16_t(width > 0 ? width - 1 : 0)};
}

bool LoadLibPartPicture(int32_t index, PictureRecord& picture) {
    IO::Location location;
    API_LibPart part = {};
    part.index = index;
    part.location = &location;
    if (ACAPI_LibPart_Get(&part) != NoError || part.missingDef != 0) return false;
    GS::UniString pathText;
    if (location.ToPath(&pathText) != NoError) return false;
    QV_String path;
    path.AppendWide(pathText.ToUStr(), pathText.GetLength());
    return ReadPictureFile(path, picture, false);
}

}  // namespace

bool SearchLibPartByName(const QV_String& name, int32_t type, API_LibPart& libPart) {
    const int32_t index = SearchLibPartByName(name, type);
    if (index < 1) return false;
    libPart = API_LibPart{};
    libPart.index = index;
    return ACAPI_LibPart_Get(&libPart) == NoError;
}

int32_t FindLibPartIndex(const QV_String& name, int32_t type) {
    API_LibPart part;
    return SearchLibPartByName(name, type, part) ? part.index : -1;
}

bool DrawDialogPicture(const DGUserUpdateData* update, int32_t index, bool fromLibPart) {
    if (index < 1 || update == nullptr || update->item == 0) return false;
    const PictureRect rect = WholeItem(*update);
    if (!fromLibPart) {
        const DG::Image image(ACAPI_GetOwnResModule(), index);
        if (image.IsEmpty()) return false;
        DGDrawImage(update->drawContext, DG::Rect{rect.left, rect.top, rect.right + 1, rect.bottom + 1}, image);
        return true;
    }
    PictureRecord picture;
    if (!LoadLibPartPicture(index, picture)) return false;
    const bool drawn = DrawDibPicture(DeviceContextOf(update->drawContext), rect, picture);
    ReleasePicture(picture);
    return drawn;
}
