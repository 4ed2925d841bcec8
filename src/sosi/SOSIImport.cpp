#include "sosi/SOSIImport.hpp"

bool SOSIImport::ReadSOSIFiles() {
    ResetBounds();
    assembly.contourCount = 0;
    if (importAgain != 0) {
        scan.report = ReadReport();
        return true;
    }
    return scan.Read(*progress);
}

void SOSIImport::ImportObjects() {
    assembly.ImportObjects({scan.files, scan.types, importMode, tolerance, *progress}, pointsRead, pointsKept);
}

void SOSIImport::ComputeExtents() { assembly.ComputeExtents(importMode, *this); }

void SOSIImport::FilterContourHeights() { assembly.FilterContourHeights(); }

void SOSIImport::ResetForReread() { assembly.ResetForReread(); }

bool BuildSOSIOutput(SOSIImport& import, uint8_t* somethingCreated) {
    const SOSIOutputInput input{import.assembly.data, import.scan.types,  import.importMode,
                                import.options,       import.limitToArea, import.limitArea};
    const bool built = BuildSOSIOutput(input, import.output, somethingCreated);
    if (import.output.stopped != 0) import.cancelled = 1;
    return built;
}
