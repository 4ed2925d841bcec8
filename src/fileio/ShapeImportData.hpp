#pragma once
// The shapefile import's holder for one command, the options its dialogs edit, the shapes converted into
// entities of 3D vertices, and the steps both import modes share: the table's read, the conversion, the polygon
// check, the numbers the results dialogs show, the heights from a table field, the node thinning of polylines and
// the project offset. Nothing here asks the user or shows anything: the import command does.
#include "fileio/DBFTable.hpp"
#include "fileio/SHPFileData.hpp"
#include "settings/ConstraintSettings.hpp"
#include "settings/ImportOptionsRec.hpp"

#include "APICoord.hpp"

#include <cstdint>

struct SHPPolyData {  // one part of a line or polygon shape
    QV_List<API_Coord3D> vertices;
    int16_t areaMark = 0;  // 3: a vertex lies outside the import area
};
QV_DECLARE_RELOCATABLE(SHPPolyData);

constexpr int16_t EntityNormal = 0;
constexpr int16_t EntityDegenerate = 1;
constexpr int16_t EntityToCorrect = 2;
constexpr int16_t EntityOutside = 3;

struct SHPEntityData {  // one converted shape
    void Reset();

    QV_List<SHPPolyData> parts;
    double x = 0.0, y = 0.0, z = 0.0;  // point shapes
    int16_t areaMark = 0;              // point shapes: 3 outside the import area
    int32_t shapeType = 0;             // 1, 3, 5, 11, 13, 15
    int16_t status = EntityNormal;     // 1 degenerate polygon, 3 outside: not placed; 2 crosses itself
    int32_t record = 0;                // the shape's row in the table, from 1

    bool IsPoint() const { return shapeType == 1 || shapeType == 11; }
    bool IsPolyline() const { return shapeType == 3 || shapeType == 13; }
    bool IsPolygon() const { return shapeType == 5 || shapeType == 15; }
};
QV_DECLARE_RELOCATABLE(SHPEntityData);

struct GISImportOptions {
    QV_List<QV_String> allObjects;       // GIS objects (parent "GIS_SUBTYPE"), sorted by name
    QV_List<QV_String> matchingObjects;  // "none of these", then the objects that fit every field
    QV_List<DBFFieldData>* fields = nullptr;
    int32_t chosenObject = 0;
    int32_t identified = 0;
    int32_t importable = 0;
    int32_t toCorrect = 0;
    double dataMinX = 0.0, dataMinY = 0.0, dataMaxX = 0.0, dataMaxY = 0.0;
    uint8_t limited = 0;
    double areaMinX = 0.0, areaMinY = 0.0, areaMaxX = 0.0, areaMaxY = 0.0;  // absolute
    double nodeDistance = 25.0;
    uint8_t heightFromField = 0;
    int32_t heightField = -1;  // index into the fields, -1 none
    int32_t objectMode = 1;    // 1 new object, 2 existing, 3 existing with field mapping
    uint8_t withContours = 0;
    uint8_t verticalThinning = 0;
    double offsetX = 0.0, offsetY = 0.0;
};

struct SHPMeshCoord {
    double x, y, z;
    int32_t column, row;  // grid cell of the vertical thinning
    int32_t entity;       // entity number, from 0
    int32_t part;         // part of that entity
    int32_t vertex;       // vertex number in that part: constraints join only neighbours
};
struct SHPConstraintData {
    int32_t start, end;  // mesh coordinate indices
    uint8_t keep;
};

struct ShapeImportData {
    ShapeImportData();
    ShapeImportData(const ShapeImportData&) = delete;
    ShapeImportData& operator=(const ShapeImportData&) = delete;

    // The shapes, entities and counts emptied; the path stays.
    void Reset();

    QV_List<SHPEntityData> entities;
    DBFValueList values;
    QV_List<DBFFieldData> fields;
    GISImportOptions options;
    SHPFileData shapes;
    double minX, minY, maxX, maxY;
    int32_t importable = 0;
    int32_t degenerateParts = 0;
    int32_t toCorrect = 0;
    QV_List<SHPMeshCoord> meshCoords;
    QV_List<SHPConstraintData> constraints;
    int32_t validConstraints = 0;
    // Positions where mesh coordinates or point shapes of other heights met (shared borders of shapes whose heights
    // come from the table, points at one place): one terrain point each, with the height read first.
    uint32_t mixedHeights = 0;
    // Shapes whose height field held no survey's height (no number, or beyond the bounds): given height 0.
    uint32_t heightsRefused = 0;
    ImportOptionsRec pointOptions;          // from the settings store: the created points
    ConstraintSettings constraintSettings;  // the created constraint lines
    ReadReport tableReport;                 // what the table's read refused or left out (the shapes': shapes.report)
    bool tableMissing = false;              // the table's read failed for want of its file
    bool tableUnread = false;               // terrain input went on without the table, which could not be read

    // The text of `field` for table row `record` (from 1); null when there is none.
    const char* Value(int32_t record, int32_t field) const;
    // Rows of the table read (0 without fields).
    int32_t TableRows() const;
};

// Shapes read whose record lies past the table's last row (none when no table with fields was read).
uint32_t ShapesWithoutTableRow(const ShapeImportData& data);

// The table beside the holder's shapefile into its field and value lists; what the read refused or left out in
// the holder's table report.
bool ReadDBFTable(ShapeImportData& data);

// Polyline Z, polyline, polygon Z and polygon shapes, then (with points) point and point Z shapes, as entities.
void ConvertShapesToEntities(ShapeImportData& data, bool withPoints);
// Polygon parts of no area (empty, on a line) are left out and counted, a shape of no other part marked degenerate;
// a shape with a part that crosses itself (a bow-tie too) counts to be corrected, and so
// does an entity without a table row when a table was read.
void CheckShapePolygons(ShapeImportData& data);
void ComputeEntityBounds(ShapeImportData& data, bool withPoints);
void SetImportSummary(ShapeImportData& data);
// Each entity's height from the chosen field of its own table row; a value that is no survey's height gives 0 and is
// counted in `heightsRefused`.
void ApplyHeightField(ShapeImportData& data);
void ThinPolylineNodes(ShapeImportData& data);
void ApplyProjectOffset(ShapeImportData& data);

// True when a closed ring's outline crosses itself (neighbouring edges sharing their vertex do not count).
bool RingCrossesItself(const QV_List<API_Coord3D>& ring);
