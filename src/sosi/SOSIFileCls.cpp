#include "sosi/SOSIFileCls.hpp"

void SOSIFileCls::Clear() {
    BaseFileCls::Clear();
    tolerance = 0.0;
    importMode = -1;
    cancelled = 0;
    scan.files.Clear();
    scan.types.Clear();
    scan.report = ReadReport();
    assembly.Clear();
    output = SOSIOutputChoices();
    ClearSOSIOutputState();
}

bool SOSIFileCls::ReadSOSIFiles(const MiscSettings& misc) {
    ResetBounds();
    assembly.contourCount = 0;
    if (importAgain != 0) {
        scan.report = ReadReport();
        return true;
    }
    return scan.Read(*progress, misc);
}

void SOSIFileCls::ImportObjects() {
    assembly.ImportObjects({scan.files, scan.types, importMode, tolerance, *progress}, pointsRead, pointsKept);
}

void SOSIFileCls::ComputeExtents() { assembly.ComputeExtents(importMode, *this); }

void SOSIFileCls::FilterContourHeights() { assembly.FilterContourHeights(); }

void SOSIFileCls::ResetForReread() { assembly.ResetForReread(); }

bool BuildSOSIOutput(SOSIFileCls& import, const MiscSettings& misc, uint8_t* somethingCreated) {
    const SOSIOutputInput input{import.assembly.data, import.scan.types, import.importMode, import.options, misc,
                                import.limitToArea,   import.limitArea};
    const bool built = BuildSOSIOutput(input, import.output, somethingCreated);
    if (import.output.stopped != 0) import.cancelled = 1;
    return built;
}
