#pragma once
// The add-on's dialog picture and other library-part pictures drawn into a user item, and the library-part
// lookups by file name that find them.
#include "foundation/QV_String.hpp"

#include "APIDefs.hpp"
#include "DG.hpp"

#include <cstdint>

// The picture library part every second layout shows.
constexpr const char* DialogPictureName = "DlgImg.jpg";

// Searches with the part of `name` before its last "." (the whole name when it has none). True with the
// host's record (its location not asked for) when found.
bool SearchLibPartByName(const QV_String& name, int32_t type, API_LibPart& libPart);
// The part's index, -1 when absent.
int32_t FindLibPartIndex(const QV_String& name, int32_t type);

// Draws, on a user item's update, the picture of library part `index` (`fromLibPart`) or the module's picture
// resource `index`, stretched over the whole item. False, nothing drawn, for an index below 1, an update
// without item, a part that cannot be read or has no definition, or a picture that cannot be loaded.
bool DrawDialogPicture(const DGUserUpdateData* update, int32_t index, bool fromLibPart);
