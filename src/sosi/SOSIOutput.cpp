#include "sosi/SOSIOutput.hpp"

#include "foundation/ModuleLog.hpp"
#include "sosi/SOSIFileCls.hpp"

SOSICurveSegmentation& SOSICurveSegmentationValues() {
    static SOSICurveSegmentation values;
    return values;
}

bool BuildSOSIOutput(SOSIFileCls& reader, uint8_t* somethingCreated) {
    (void)reader;
    if (somethingCreated != nullptr) *somethingCreated = 0;
    ModuleLog::LogCall("BuildSOSIOutput");
    return false;
}

bool AskCurveSegmentation(SOSIFileCls& reader) {
    (void)reader;
    return true;
}
