#include "elements/LibPartHelpers.hpp"

#include "elements/ElementHelpers.hpp"
#include "foundation/FileUtils.hpp"
#include "foundation/ACAPI.hpp"

#include "IO.hpp"

#include <cstring>

GSErrCode LibPart_SearchByName(const QV_String& name, int32_t typeID, API_LibPart& outLibPart) {
    std::memset(static_cast<void*>(&outLibPart), 0, sizeof outLibPart);
    outLibPart.typeID = typeID;
    // A name the field cannot hold whole would find another part.
    const uint32_t units = name.GetLength();
    if (units >= sizeof outLibPart.docu_UName / sizeof outLibPart.docu_UName[0]) return APIERR_BADPARS;
    if (units > 0) std::memcpy(outLibPart.docu_UName, name.GetBuffer(), units * sizeof(char16_t));
    const GSErrCode err = ACAPI_LibPart_Search(&outLibPart);
    if (err != NoError) return err;
    if (outLibPart.missingDef != 0) return LodravixErr_StepFailed;
    return NoError;
}

bool LibPartSearchRefused(GSErrCode searchAnswer) {
    return searchAnswer != NoError && searchAnswer != APIERR_BADNAME && searchAnswer != APIERR_BADPARS &&
        searchAnswer != LodravixErr_StepFailed;
}

bool GetLibPartPath(int32_t libIndex, QV_String& outText) {
    API_LibPart part;
    std::memset(static_cast<void*>(&part), 0, sizeof part);
    part.index = libIndex;
    IO::Location location;
    part.location = &location;  // ours: released on every way out
    if (ACAPI_LibPart_Get(&part) != NoError || part.missingDef != 0) return false;
    LocationToPathString(outText, location);
    return true;
}
