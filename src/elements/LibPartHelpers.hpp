#pragma once
// Library-part lookups of the element framework: a search by name that treats a part without definition as a
// failure, and the path of a part's file.
#include "foundation/QV_String.hpp"

#include "APIDefs.hpp"

#include <cstdint>

// Fills `outLibPart` (type and UTF-16 name; a name longer than the field is refused with APIERR_BADPARS) and
// runs the host's search. A part the host finds
// but holds no definition for answers -7003. Other host errors come back as they are.
GSErrCode LibPart_SearchByName(const QV_String& name, int32_t typeID, API_LibPart& outLibPart);
// Whether an answer of LibPart_SearchByName is the host's refusal to search rather than "no such part" (no part
// of that name, a name too long for one, a part without definition): a refusal found no missing part.
bool LibPartSearchRefused(GSErrCode searchAnswer);

// The path text of the part's file (no trailing backslash) when the host gives the part and holds its
// definition; false otherwise (`outText` then stays as it was).
bool GetLibPartPath(int32_t libIndex, QV_String& outText);
