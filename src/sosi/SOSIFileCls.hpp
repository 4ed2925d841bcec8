#pragma once
// SOSIFileCls: what one SOSI import reads and assembles, by step. The file scan: the files' lines, the objects
// (groups) found in them and the object types met (ReadSOSIFiles, with its cursor `scan`); the object records:
// the record lines of one object into `scratch` (ReadObjectRecords); the assembly: the chosen objects converted
// into SOSIData records (ImportObjects). It asks and shows nothing; the output (sosi/SOSIOutput), the worksheet
// search (sosi/SOSILocatorDatabases) and the dialogs work on it from outside.
#include "fileio/BaseFileCls.hpp"
#include "fileio/ReadReport.hpp"
#include "sosi/SOSIPointGrid.hpp"
#include "sosi/SOSIRecords.hpp"

#include "APIElements.hpp"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Import modes.
enum : int32_t { SOSIModeTerrain = 0, SOSIModeObjects = 1, SOSIModeWorksheet = 2 };

// The piece separator inside one coordinate list.
constexpr double SOSISeparatorValue = 999.0;
bool IsSOSISeparator(const API_Coord3D& c);

class SOSIFileCls : public BaseFileCls {
public:
    SOSIFileCls();
    ~SOSIFileCls();

    void Clear() override;
    // Current height, coordinates, texts, refs and radius of the object being read.
    void ResetObjectScratch();
    // Between two reads with the same reader: data, scratch and layers emptied, the extent reset; files,
    // lines, objects and type rows stay.
    void ResetForReread();

    // Reads every file of `files` into lines (one encoding per file: byte-order mark, then the content, then the
    // declared character set, else the system code page) and scans its header, objects and types. False when a
    // file cannot be read (error 8) or is refused (its reason); `report` tells (the command shows it); the files
    // read before it keep their lines. With `importAgain` set the lines and objects read serve again.
    bool ReadSOSIFiles();
    // Reads one file's bytes into its lines. False for a file that cannot be opened or measured, or one too
    // large to be a SOSI file.
    bool ReadFileLines(SOSIFileData& file);
    // Scans one file's lines for its header values, objects and types.
    void ScanSOSILines(SOSIFileData& file);
    // After the scan: false, with the reason in `report`, for a file with no objects, no coordinates or no
    // header (so no unit); a file cut off inside its last object loses that object, noted as ended early.
    bool CheckScannedFile(SOSIFileData& file);

    // ---- keyword tests on the current line of `file` ----
    bool IsHeaderLine(const SOSIFileData& file);
    bool ParseOrigoLine(SOSIFileData& file);
    bool ParseMinLine(SOSIFileData& file);
    bool ParseMaxLine(SOSIFileData& file);
    bool ParseUnitLine(SOSIFileData& file, bool inHeader);
    bool IsGroupLine(const SOSIFileData& file);
    bool IsGroupLine(const SOSIFileData& file, int32_t line);
    // The type of the object whose group line is `groupLine`, looked for in its own lines only.
    void FindObjectType(const SOSIFileData& file, int32_t groupLine, int32_t lastLine);
    static bool IsTerrainFeatureType(const QV_String& name);

    // ---- record lines of one object ----
    void ReadObjectRecords(const SOSIPrim& object, int32_t fileIndex, QV_List<API_Coord3D>& points);
    bool ParseObjTypeLine(SOSIFileData& file, bool moveOn);
    bool ParseTextLine(SOSIFileData& file);
    // `fileIndex`: only records of that file are removed by a group's ids.
    bool ParseRefBlock(SOSIFileData& file, int32_t fileIndex);
    bool ParseRadiusLine(SOSIFileData& file);
    bool ParseHeightLine(SOSIFileData& file);
    bool ParseCoordinateKeyword(SOSIFileData& file);
    // Appends every complete tuple of the current line to `points`; false when none was accepted.
    bool ReadCoordinateLine(SOSIFileData& file, QV_List<API_Coord3D>& points, bool objectUnit);

    // ---- selection and assembly ----
    void ImportObjects();
    void AssembleSurfaces();
    bool IsDuplicatePoint(const API_Coord3D& p, const double* distance) const;
    void ThinPointSwarm(QV_List<API_Coord3D>& points, const double* distance) const;
    bool SimplifyBezier(QV_List<API_Coord3D>& points, const double* distance) const;
    // Line simplification; false when a line is to be dropped.
    bool SimplifyLine(QV_List<API_Coord3D>& points, double distance, bool isRing) const;
    void ComputeExtents();
    void FilterContourHeights();

    // ---- what the command sets ----
    int32_t importMode;
    int32_t objectLibPartIndex;
    int32_t locatorLibPartIndex;

    // ---- the file scan ----
    QV_List<SOSIFileData> files;
    QV_List<SOSIOType> types;  // one row per OBJTYPE met, sorted; the options dialogs' type lists
    SOSIScanCursor scan;
    ReadReport report;  // what the last read refused or left out, and why

    // ---- the object records ----
    SOSIObjectScratch scratch;

    // ---- the assembly: the options and results dialogs' values, and the records made ----
    uint8_t showAllTypes;
    uint8_t skipLowHeights;
    uint64_t optionBits;
    int32_t contourCount;  // constant-height curves found by ComputeExtents
    uint8_t altitudeFilter;
    double equidistance;
    double contourMin[3];
    double contourMax[3];
    double firstAltitude, finalAltitude;
    uint32_t lineValues[3];
    double lineFilterDistance;
    uint8_t dialogSwitch;
    QV_List<SOSIData> data;
    QV_List<API_DatabaseInfo> locatorDatabases;  // worksheets holding a coordinate locator (FindSOSILocatorDatabases)

    // ---- for the output ----
    uint8_t buildError;         // an object failed in the last build
    uint8_t namesFromSettings;  // the worksheet's reference id and name come from the general settings
    uint8_t addSwitch;          // new elements join an existing worksheet's, else replace them
    uint8_t cancelled = 0;      // the user cancelled a dialog of the import, or stopped the build

private:
    void ResetContourExtent();
    bool keepRecords = false;   // while a surface reads its curves again
    std::vector<long> dataIds;  // id value of each record of `data`, rebuilt when out of step
    const SOSIOType* FindTypeRow(const QV_String& name) const;
    // While ImportObjects runs, the first points of the PUNKT records in `data`, one grid per filter distance
    // asked for, kept in step as records come and go; outside it the duplicate test scans `data`.
    const SOSIPointGrid& PointGridFor(double distance) const;
    void PointRecordGone(const SOSIData& record);
    // The steps of ImportObjects.
    using TypeRowIndex = std::unordered_map<std::u16string, int32_t>;  // type name to its row in `types`
    int32_t MarkSelectedObjects(const TypeRowIndex& rowOf);
    void ReadSelectedObjects(const TypeRowIndex& rowOf, int32_t selected);
    // Thins or simplifies an object's points by its type row's filter; false when the object is dropped.
    bool KeepObjectPoints(int16_t kind, const SOSIOType* row, QV_List<API_Coord3D>& points) const;
    void AddRecord(const SOSIPrim& prim, int32_t fileIndex);
    void JoinTouchingCurves();
    // Edge curves ("KantUtsnitt") touching a surface's outer ring join it as further pieces.
    void JoinEdgeCurvesToSurfaces();
    // Each file's ..ORIGO-NØ added to its records' points.
    void ShiftToFileOrigins();
    bool pointGridsActive = false;
    mutable std::vector<std::pair<double, SOSIPointGrid>> pointGrids;
};
