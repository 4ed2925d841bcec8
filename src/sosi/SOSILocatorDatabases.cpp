#include "sosi/SOSILocatorDatabases.hpp"

#include "sosi/SOSIFileCls.hpp"

void SOSIFileCls::FindLocatorDatabases() { locatorDatabases.Clear(); }

bool GetCoordinateLocatorOrigin(const SOSIFileCls& reader, int32_t index, double* x, double* y) {
    (void)reader, (void)index, (void)x, (void)y;
    return false;
}
