#pragma once
// The assembly, the third step of a SOSI import: the objects of the chosen types, read through the object
// records, turned into SOSIData records: points thinned and lines simplified by the type rows' filters,
// surfaces joined from their boundary curves, curves that touch joined (objects import), each file's origin
// added; then the extent of what was made, and the contour-height filter of the results dialog.
#include "fileio/ReadReport.hpp"
#include "fileio/ReaderProgress.hpp"
#include "sosi/SOSIObjectRecords.hpp"
#include "geometry/PointGrid.hpp"
#include "sosi/SOSIRecords.hpp"

#include "APICoord.hpp"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class BaseFileCls;

// What the assembly takes from the file scan and the command.
struct SOSIAssemblyInput {
    QV_List<SOSIFileData>& files;     // the objects' `selected` flags are set here
    const QV_List<SOSIOType>& types;  // the type rows as the options dialog left them
    int32_t importMode;
    double tolerance;  // the points' duplicate distance, when a type row gives none
    ReaderProgress& progress;
};

class SOSIAssembly {
public:
    SOSIAssembly();

    // The objects of the imported types into `data`; the objects read and the records kept are counted in
    // `objectsRead` and `objectsKept`. A stop of the user's leaves `data` empty and `stopped` set.
    void ImportObjects(const SOSIAssemblyInput& input, uint32_t& objectsRead, uint32_t& objectsKept);
    // Into `extent`'s bounds the plan extent of the records (objects import: without points, swarms and texts);
    // the constant-height curves counted into `contourCount`, their extent kept for the height filter.
    void ComputeExtents(int32_t importMode, BaseFileCls& extent);
    // With the altitude filter on, the constant-height curves outside the heights asked for are dropped.
    void FilterContourHeights();
    // Between two reads: records and scratch emptied, the contour extent reset.
    void ResetForReread();
    // As ResetForReread, and the line filter and the altitude filter back to their defaults; `skipLowHeights` stays.
    void Clear();

    // Line simplification by `distance`; false when a line is to be dropped.
    bool SimplifyLine(QV_List<API_Coord3D>& points, double distance, bool isRing) const;

    // ---- the options and results dialogs' values ----
    uint8_t skipLowHeights = 0;  // points at height 0 or below are left out
    double lineFilterDistance = 0.1;
    uint8_t altitudeFilter = 0;
    double equidistance = 0.0;
    double firstAltitude = 0.0, finalAltitude = 0.0;
    int32_t contourCount = 0;  // constant-height curves found by ComputeExtents

    // ---- what it made ----
    QV_List<SOSIData> data;
    // What the last ImportObjects left out (values no survey holds, refused units) and, in a terrain import, the
    // positions whose points had more than one height, each point there given the height read first.
    ReadReport issues;
    bool stopped = false;  // the user stopped the last ImportObjects

private:
    using TypeRowIndex = std::unordered_map<std::u16string, int32_t>;  // type name to its row in `types`
    int32_t MarkSelectedObjects(const SOSIAssemblyInput& input, const TypeRowIndex& rowOf);
    void ReadSelectedObjects(const SOSIAssemblyInput& input, const TypeRowIndex& rowOf, int32_t selected,
                             uint32_t& objectsRead, uint32_t& objectsKept);
    // The records of the curves a surface's outer boundary names leave `data` (from its own file only).
    void DropBoundaryCurves(const std::vector<SOSIRefs>& boundaries, int32_t fileIndex);
    // Thins or simplifies an object's points by its type row's filter; false when the object is dropped.
    bool KeepObjectPoints(int16_t kind, const SOSIOType* row, QV_List<API_Coord3D>& points) const;
    bool AddRecord(const SOSIPrim& prim, int32_t fileIndex, const QV_List<API_Coord3D>& points);
    void AssembleSurfaces(const SOSIAssemblyInput& input, const TypeRowIndex& rowOf);
    void JoinTouchingCurves();
    // Edge curves ("KantUtsnitt") touching a surface's outer ring join it as further pieces.
    void JoinEdgeCurvesToSurfaces();
    // Each file's ..ORIGO-NØ added to its records' points.
    void ShiftToFileOrigins(const QV_List<SOSIFileData>& files);
    // Terrain import: the points of points, swarms and curves at one position take the height read first there.
    void UnifyHeights();

    bool IsDuplicatePoint(const API_Coord3D& p, const double* distance) const;
    void ThinPointSwarm(QV_List<API_Coord3D>& points, const double* distance) const;
    bool SimplifyBezier(QV_List<API_Coord3D>& points, const double* distance) const;
    // While ImportObjects runs, the first points of the PUNKT records in `data`, one grid per filter distance
    // asked for, kept in step as records come and go.
    const PointGrid& PointGridFor(double distance) const;
    void PointRecordGone(const SOSIData& record);
    void ResetContourExtent();

    SOSIObjectRecords records;  // the object records step, its height carried from object to object
    double tolerance = 0.0;     // the input's, while ImportObjects runs
    double contourMin[3];
    double contourMax[3];
    // While ImportObjects reads: the records of each file and id, in `data` order, and which are gone (taken
    // into a surface), to leave `data` in one pass at the end.
    struct RecordKey {
        int32_t file;
        long id;
        bool operator==(const RecordKey& o) const { return file == o.file && id == o.id; }
    };
    struct RecordKeyHash {
        size_t operator()(const RecordKey& k) const { return std::hash<long>()(k.id) * 31u + size_t(k.file); }
    };
    struct RecordsOfId {
        std::vector<int32_t> indices;
        size_t taken = 0;  // the first `taken` are gone
    };
    std::unordered_map<RecordKey, RecordsOfId, RecordKeyHash> recordsById;
    std::vector<uint8_t> dataGone;
    bool Gone(int32_t index) const { return size_t(index) < dataGone.size() && dataGone[size_t(index)] != 0; }
    void IndexRecord(int32_t index);
    bool pointGridsActive = false;
    mutable std::vector<std::pair<double, PointGrid>> pointGrids;
};
