#include "foundation/ACAPI.hpp"

API_AddonType CheckEnvironment(API_EnvirParams*) { return APIAddon_Unknown; }
GSErrCode RegisterInterface() { return NoError; }
GSErrCode Initialize() { return NoError; }
GSErrCode FreeData() { return NoError; }
