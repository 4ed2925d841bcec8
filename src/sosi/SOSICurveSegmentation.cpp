#include "sosi/SOSICurveSegmentation.hpp"

SOSICurveSegmentation& SOSICurveSegmentationValues() {
    static SOSICurveSegmentation values;
    return values;
}
