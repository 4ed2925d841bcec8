#include "dialogs/tools/SOSICurveSegmentationDialog.hpp"

bool AskSOSICurveSegmentation(SOSICurveSegmentation& values) {
    (void)values;
    return false;
}
