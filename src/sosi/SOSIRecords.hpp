#pragma once
// What the steps of a SOSI import share: the import modes, the piece separator, the files scanned with their
// objects, the type rows, the layers made.
#include "sosi/SOSIData.hpp"
#include "sosi/SOSILines.hpp"

#include "APICoord.hpp"

#include <cstdint>

// Import modes.
enum : int32_t { SOSIModeTerrain = 0, SOSIModeObjects = 1, SOSIModeWorksheet = 2 };

// The piece separator inside one coordinate list.
constexpr double SOSISeparatorValue = 999.0;
bool IsSOSISeparator(const API_Coord3D& c);

// One group line of a file: an object, or the header / end line (kind SOSIKindNone). Its keyword is the first
// token of its group line, not kept twice.
struct SOSIPrim {
    QV_String id;
    int16_t kind = SOSIKindNone;
    QV_String type;
    int32_t firstLine = 0;
    int32_t lastLine = -1;  // line before the next group line; -1 until one follows
    uint8_t selected = 0;
};
QV_DECLARE_RELOCATABLE(SOSIPrim);

// One file of an import.
struct SOSIFileData {
    QV_String path;
    SOSILines lines;  // trimmed, none shorter than 2 characters
    double originEast = 0.0, originNorth = 0.0;
    double minEast = 0.0, minNorth = 0.0;
    double maxEast = 0.0, maxNorth = 0.0;
    double headerUnit = 1.0;
    QV_List<SOSIPrim> objects;
    int32_t encoding = 0;  // selector the file was decoded with
    // What the scan met: the header, its unit, coordinate keyword lines and the end line.
    uint8_t headerFound = 0;
    uint8_t unitGiven = 0;
    uint8_t endLine = 0;
    uint8_t endsWithBreak = 1;  // the file's last line ends with a line break (else it may have been cut)
    int32_t coordinateKeywords = 0;

    // Empties lines and objects and sets the values above; the path stays.
    void Reset();
};
QV_DECLARE_RELOCATABLE(SOSIFileData);

// One distinct OBJTYPE name: a row of the options dialogs' type lists.
struct SOSIOType {
    QV_String name;
    uint8_t import = 0;
    uint8_t ownPen = 0;
    int16_t pen = 1;
    uint8_t ownValue = 0;
    double value = 0.001;
    uint8_t secondSwitch[2] = {0, 0};
    int16_t secondPen = 1;  // a line type
    uint8_t terrainFeature = 0;
    int32_t index = -1;

    void Reset();
};
QV_DECLARE_RELOCATABLE(SOSIOType);

// Inserts a copy of `row` at `index` (-1 appends) and then resets `row`.
bool InsertTypeRow(QV_List<SOSIOType>& list, SOSIOType& row, int32_t index);

// The host layer made for one object type.
struct SOSILayer {
    QV_String name;
    int32_t layer = 0;
};
QV_DECLARE_RELOCATABLE(SOSILayer);

// Helpers that empty the reader's lists.
void ClearSOSICoordList(QV_List<SOSICos>& list);
void ClearSOSIDataList(QV_List<SOSIData>& list);
void ClearSOSILayerList(QV_List<SOSILayer>& list);
