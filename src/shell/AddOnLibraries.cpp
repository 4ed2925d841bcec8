#include "shell/AddOnLibraries.hpp"

#include "APIView3D.hpp"
#include "elements/BaseLP.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/QV_String.hpp"

int32_t GISSubtypeParamCount = 0;

GSErrCode CountGISSubtypeParams() {
    GISSubtypeParamCount = 0;
    int32_t libIndex = -1;
    // A search the host refused is its error, not a missing part.
    const LibPartLookup lookup = LookUpLibPart(QV_String("GIS_SUBTYPE"), 4, libIndex);
    if (lookup == LibPartLookup::Refused) return APIERR_GENERAL;
    if (lookup == LibPartLookup::Missing || libIndex < 1) return APIERR_BADNAME;
    double a = 0.0;
    double b = 0.0;
    int32_t count = 0;
    GSHandle params = nullptr;
    GSErrCode err = ACAPI_LibPart_GetParams(libIndex, &a, &b, &count, &params);
    ReleaseParamRecords(&params);
    if (err != NoError) return err;
    API_ParamOwnerType owner = {};
    owner.libInd = libIndex;
    if ((err = ACAPI_Goodies(APIAny_OpenParametersID, &owner)) != NoError) return err;
    API_GetParamsType got = {};
    err = ACAPI_Goodies(APIAny_GetActParametersID, &got);
    ReleaseParamRecords(&got.params);
    const GSErrCode closed = ACAPI_Goodies(APIAny_CloseParametersID);
    if (err != NoError) return err;
    if (closed != NoError) return closed;
    GISSubtypeParamCount = count;
    return NoError;
}
