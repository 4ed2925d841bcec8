#pragma once
// DXFFileCls: the DXF survey reader. It reads the ENTITIES section of a text DXF file (HEADER, TABLES and BLOCKS
// are passed over, so layer names come from the entities and block references are never expanded) and turns
// POINT, LINE, POLYLINE/VERTEX, LWPOLYLINE, SPLINE and 3DFACE entities into points with a height and
// constraints (break lines). The import command has the user pick the layers between the layer pass and the
// entity pass; the stores (DXFStores.cpp) merge coincident vertices, thin polylines, drop crossing constraints (once
// the pass has queued them all, in their order) and keep group ids; the constraints are kept as pairs of vertices
// (DXFConstraintList); CreateElements (DXFPlacement.cpp) makes the chosen layers and places the result as hotspots and
// lines, in one undo step. An entity with a number that cannot be read is left out and counted in `report`; the
// rest is read.
#include "fileio/BaseFileCls.hpp"
#include "fileio/DXFConstraintList.hpp"
#include "fileio/ReadReport.hpp"
#include "settings/ConstraintSettings.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/QV_List.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct DXFFileLayer {
    QV_String name;          // as first met in the file
    uint8_t import = 0;      // its entities give points
    uint8_t constraint = 0;  // its lines also give constraints (counts only with `import`)
    int32_t hostLayer = 0;   // the host layer attribute, set when the layer is chosen
};

struct DXFVertex {
    double x, y, z;
};

class DXFStoreIndex;
class DXFSegmentIndex;

class DXFFileCls : public BaseFileCls {
public:
    DXFFileCls();
    ~DXFFileCls();

    // The read in two steps, between which the import command lets the user choose the layers and options.
    // Each answers true when done; false with `cancelled` when the user stopped the progress, false without it
    // when the file is refused: then `report.error` is 8, with "holds nothing to read" noted when the ENTITIES
    // section holds nothing this reader takes. The file is closed on every return. Nothing is shown here.
    // The layer pass: the layers of the file's ENTITIES section.
    bool ScanLayers(bool& cancelled);
    // The entity pass over the chosen layers with the options set: the point and constraint lists (emptied
    // first), their bounds, which also become the limiting area, and in `report` what was left out. A unit
    // length that is not above 0 is refused.
    bool ReadChosen(bool& cancelled);

    // Makes the chosen layers host layers and places every point and constraint as terrain input, all in one undo
    // step; true when all were placed (or lay outside the limiting area). On a failure nothing stays: what was
    // placed is deleted, the layers made go and the layers reused get their records back. Once the placement ran,
    // placed or not, `points` and `constraint` keep the pens, code and next number the next import starts from.
    bool CreateElements(ImportOptionsRec& points, ConstraintSettings& constraint);

    // ---- the two passes over ENTITIES, usable on their own (ScanLayers and ReadChosen run them) ----
    // Opens the file and positions it after the ENTITIES header; false (error code set) when it cannot.
    bool OpenAtEntities(int32_t& errorCode);
    // The layer pass from the current position; false on a garbled section (error code 8) or a user break (error
    // code 0). A section the file's end cuts short is read up to the cut; the entity pass notes it as ended early.
    bool ReadLayers(int32_t& errorCode);
    // The entity pass from the current position into the lists, then DropCoveredPoints.
    bool ReadEntities(int32_t& errorCode);
    // Empties the points, vertices and constraints and the counters for a new entity pass.
    void ResetEntities();

    // ---- the stores ----
    // Stores a vertex unless one lies within 5e-5 in x and y; `p` takes the stored coordinates.
    void AddVertexPoint(DXFFilePoint& p, bool& added);
    // Stores a constraint unless it crosses a stored one it shares no end with.
    void AddConstraint(const DXFFileConstraint& c, bool& added);
    void AddPolyline(std::vector<DXFVertex>& vertices, int32_t layer, bool closed, bool constraints);
    void SimplifyPolyline(std::vector<DXFVertex>& vertices, bool closed, bool& collapsed) const;
    // POINT points on a vertex point are marked -1 and no longer count as kept.
    void DropCoveredPoints();
    // Group ids as the stores left them, merges applied.
    void ResolveGroups();

    int32_t constraintPen;
    int32_t constraintLineType;
    double constraintFilter;  // metres
    double unitFactor;        // base units per drawing unit
    uint8_t metric;           // 1: the base unit is the millimetre, 0: the inch
    std::vector<DXFFileLayer> layers;
    std::vector<DXFFilePoint> pointEntities;  // of POINT entities
    std::vector<DXFFilePoint> vertices;       // of every other entity
    uint32_t crossingDropped = 0;             // break-line segments left out as they cross earlier ones
    DXFConstraintList constraints{vertices};
    uint8_t grouping;
    int32_t groupCounter;  // the last group id given out
    // The stores search through grids; false makes them scan the lists, as the plain reading would.
    bool indexedSearch;
    // Entities with a value beyond any survey (SurveyBounds.hpp) are skipped and counted; false reads every finite
    // value, for the stores' own checks at large magnitudes.
    bool surveyBounds = true;
    // The file's text is UTF-8 (AC1021, R2007, and later); older files are in the system code page.
    bool utf8Text;
    // What the last entity pass left out and why (entities with a number that cannot be read or that leaves the
    // doubles once scaled), for the import command to show.
    ReadReport report;

private:
    struct Pair {
        int32_t code = 0;
        int32_t integer = 0;
        double real = 0.0;
        std::string text;  // the value line, trimmed, of a group read as text (empty for a number)
        bool bad = false;  // a number group whose value cannot be read (the number is then 0)
    };
    enum class PairResult { Ok, End, Bad };

    bool FillBuffer();
    bool ReadLine(std::string_view& line);
    bool ReadLine(std::string& line);
    PairResult ReadPair(Pair& pair);
    bool FindSection(const char* name, int32_t& errorCode);
    bool WalkEntities(bool layerPass, int32_t& errorCode);
    bool StepProgress();
    double Scale() const;
    int32_t LayerIndex(const std::string& raw, bool add);
    QV_String LayerName(const std::string& raw) const;
    // Where an unreadable group code stopped the read: its line and the code as written.
    QV_String StopPlace() const;
    bool Accepted(int32_t layer) const;
    struct LayerChanges;
    bool CreateHostLayers(LayerChanges& changes);
    void RestoreHostLayers(LayerChanges& changes);
    void ClearBuffer();

    // An entity's pairs up to the next code-0 pair, which stays in `pair`.
    PairResult ReadPointEntity(Pair& pair);
    PairResult ReadLineEntity(Pair& pair);
    PairResult ReadPolylineEntity(Pair& pair);
    PairResult ReadLwPolylineEntity(Pair& pair);
    PairResult ReadSplineEntity(Pair& pair);
    PairResult Read3DFaceEntity(Pair& pair);
    // `layer` takes the entity's layer (made when new), `coordinates` counts its x coordinates (codes 10 to 13).
    PairResult SkipEntity(Pair& pair, int32_t* layer, uint64_t* coordinates);
    // The entity, of `points` points, is left out for `issue`, which the report counts; its points count as read
    // (and so as skipped); the walk goes on with `r`.
    PairResult Skip(ReadIssue issue, PairResult r, size_t points);

    // Appends the POINT point unless one lies within the tolerance; false when it was a duplicate.
    bool StorePoint(const DXFFilePoint& p);
    int32_t FindVertex(double x, double y) const;
    // The grids over what the lists hold, made when first needed; dropped once a read is done.
    void EnsureIndex();
    void ReleaseIndexes();
    bool PointGridUsable() const;
    // AddVertexPoint, answering the index of the stored vertex `p` took.
    int32_t StoreVertex(DXFFilePoint& p, bool& added);
    // A constraint between two stored vertices, by the crossing rule (or queued for it).
    void AddConstraintBetween(int32_t start, int32_t end, int32_t layer, int32_t group);
    // Whether `c` crosses one of the first `stored` constraints.
    bool CrossesStored(const DXFFileConstraint& c, size_t stored);
    // The constraints queued during the entity pass, from `first` on, kept or dropped as AddConstraint would have.
    void KeepUncrossedConstraints(size_t first);
    int32_t FindGroup(int32_t group) const;
    void RelabelGroup(int32_t from, int32_t to);

    std::vector<char> buffer_;
    std::string lineCopy_;      // a line that runs past the block or holds a NUL
    uint32_t bufferStart_ = 0;  // file offset of buffer_[0]
    uint32_t bufferCount_ = 0;
    uint32_t bufferPos_ = 0;
    bool readFailed_ = false;
    bool notText_ = false;     // the first block holds no line break
    uint64_t lineNumber_ = 0;  // lines read since the file's start
    std::string badCode_;      // the group code line that could not be read, where the read stopped
    uint64_t badLine_ = 0;     // its line number, 0 for none
    uint32_t nextStep_ = 0;
    bool stopped_ = false;
    bool layerPass_ = false;
    std::vector<int32_t> groupParent_;
    std::unordered_map<std::string, int32_t> layerCache_;      // raw name -> layer, -1 for none
    std::unordered_map<std::u16string, int32_t> layerByName_;  // lowered name -> layer
    size_t layersIndexed_ = 0;                                 // of `layers`, in layerByName_
    std::unique_ptr<DXFStoreIndex> index_;
    std::unique_ptr<DXFSegmentIndex> segments_;
    bool queueConstraints_ = false;  // AddConstraint queues, the end of the entity pass decides
    // Scratch kept between entities: AddPolyline's stored vertices, an entity's coordinates as read.
    std::vector<int32_t> polylineVertices_;
    std::vector<double> scratchX_, scratchY_;
    std::vector<DXFVertex> scratchList_;
    std::vector<uint64_t> layerCoordinates_;  // per layer, the coordinates the layer pass met
    int32_t polylineLayer_ = -1;              // the layer pass's last entity's layer, for its VERTEX entities
    uint64_t expectedVertices_ = 0;           // what the vertex grid makes room for at once
    // The vertices that met a point of another height at their place, each counted once in `report` per `issue`
    // (a vertex merged with it, a POINT it covers).
    std::vector<uint8_t> mixedHeight_;
    void NoteMixedHeight(int32_t vertex, double z, ReadIssue issue);
};
