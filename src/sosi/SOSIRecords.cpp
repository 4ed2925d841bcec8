#include "sosi/SOSIRecords.hpp"

bool IsSOSISeparator(const API_Coord3D& c) {
    return c.x == SOSISeparatorValue && c.y == SOSISeparatorValue && c.z == SOSISeparatorValue;
}

void SOSIFileData::Reset() {
    lines.Clear();
    objects.Clear();
    originEast = originNorth = 0.0;
    minEast = minNorth = maxEast = maxNorth = 0.0;
    headerUnit = 1.0;
    encoding = 0;
    headerFound = unitGiven = endLine = 0;
    endsWithBreak = 1;
    coordinateKeywords = 0;
}

void SOSIOType::Reset() {
    name.Clear();
    import = ownPen = ownValue = 0;
    pen = 1;
    value = 0.001;
    secondSwitch[0] = secondSwitch[1] = 0;
    secondPen = 1;
    terrainFeature = 0;
    index = -1;
}

bool InsertTypeRow(QV_List<SOSIOType>& list, SOSIOType& row, int32_t index) {
    const bool inserted = list.Insert(row, index);
    row.Reset();
    return inserted;
}

void ClearSOSICoordList(QV_List<SOSICos>& list) { list.Clear(); }
void ClearSOSIDataList(QV_List<SOSIData>& list) { list.Clear(); }
void ClearSOSILayerList(QV_List<SOSILayer>& list) { list.Clear(); }
