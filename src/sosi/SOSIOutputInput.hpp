#pragma once
#include "foundation/QV_List.hpp"
#include "settings/ImportOptionsRec.hpp"
#include "settings/MiscSettings.hpp"
#include "sosi/SOSIRecords.hpp"

#include "APIElements.hpp"

#include <cstdint>

// What the output takes from the import: the records the assembly made, the type rows chosen, and where.
struct SOSIOutputInput {
    const QV_List<SOSIData>& data;
    const QV_List<SOSIOType>& types;  // their layers, pens and line types
    int32_t importMode;
    const ImportOptionsRec& options;  // mode 0: the points' pen and code number
    const MiscSettings& misc;         // the types' default pens; mode 2: the worksheet's reference id and name
    uint8_t limitToArea;              // 1: only what lies inside `limitArea` is placed
    API_Box limitArea;
};
