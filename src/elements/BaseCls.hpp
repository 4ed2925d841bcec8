#pragma once
// Element base classes. An element class lives for one command on the command's stack: it is filled from host
// elements (ReadElement), places or refreshes library-part objects, and is destroyed at the end of the command.
// BaseCls holds what every element class shares; BaseRSWCls adds the edge chains and picked sides of the
// line-following earthworks (road, railway, sidewalk).
#include "elements/BaseLP.hpp"
#include "elements/ElemDataRecord.hpp"
#include "geometry/PrimRecords.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"
#include "geometry/QV_Poly.hpp"

#include "APICoord.hpp"
#include "APIElements.hpp"

#include <cstdint>
#include <type_traits>

// An outline segment with its line flag (1 straight, 0 arc).
struct PrimSeg {
    API_Coord begin;
    API_Coord end;
    uint8_t isLine;
};
static_assert(std::is_trivially_copyable<PrimSeg>::value, "PrimSeg is a plain record");

// An outline primitive: begin, end and (for an arc) a point on the arc between them, as coded 3D points.
struct Prim {
    QV_Coord3DLong begin;
    QV_Coord3DLong end;
    QV_Coord3DLong mid;  // used only when isLine is 0
    uint8_t isLine;
};
static_assert(std::is_trivially_copyable<Prim>::value, "Prim is a plain record");

// An element with the add-on's kind of it (ElemKind).
struct ElemEntry {
    API_Element element;
    int32_t kind;
};
static_assert(std::is_trivially_copyable<ElemEntry>::value, "ElemEntry is a plain record");

// "Unset" bounds: each minimum this value and each maximum its negative (the literal just below the largest
// double, as stored projects and callers compare with it).
constexpr double UnsetBoundValue = 1.79769313486231e308;

// Margin of the frame polygons around an element's outline.
constexpr double FrameMargin = 100.0;

class BaseCls {
public:
    BaseCls();
    virtual ~BaseCls();
    BaseCls(const BaseCls&) = delete;
    BaseCls& operator=(const BaseCls&) = delete;

    // Slot 0: places the element's object of the generated library part `partName`. `placeCode`, `value`,
    // `list` and `existing` are the caller's values, passed through. The base places nothing and answers true.
    virtual bool CreateObject(const QV_String& partName, int16_t placeCode, uint16_t value, void* list,
                              API_Element* existing);
    // Slot 1: copies settings from a source object into the new object when `transfer`; `haveSource` tells that
    // the caller had a source. False when the host failed it: the new object would stand without the settings
    // it was to take over. The base does nothing and answers true.
    virtual bool TransferSettings(bool transfer, bool haveSource);

    // Builds the element's own library part from its 3D view and places an object of it
    // (elements/LibPartFrom3D.cpp): the host saves the view of `element` as a temporary object, whose scripts
    // are rewritten to the class's bounds, and it is copied into the part GeneratedPartName(descriptor's
    // TerrainId); then, in one undoable command (the caller's, when it runs in one), CreateObject(that name,
    // placeCode, a, b, c) and TransferSettings(transfer, b != null), taken back whole when either fails. The
    // object tool's defaults are restored and the window rebuilt on every path. 1 when the object was created,
    // else 0 (nothing created when the view could not be saved).
    int32_t CreateLibPartObject(uint8_t transfer, int16_t placeCode, uint16_t a, void* b, API_Element* c);

    // Reads an element that carries an element data record (the terrain mesh for the earthworks): the element,
    // its 3D box ('CABO'), its record read as a terrain's (kind 4; the floor plan's database with `switchToPlan`
    // and the 3D window in front), and the frame polygons around its outline. False at the first failure; the
    // bounds stay unset when the host cannot give the box.
    bool ReadElement(const API_Element& source, bool switchToPlan);

    // polyPrims records that are arcs.
    int32_t CountArcPrims() const;

    // Writes the parameters the object of element kind `kind` shares with the class (mode 1 setters):
    // kinds 6, 7, 8, 11, 15, 19, 21: the view's kind := kind, "mesh_skirt_material" := meshAttr, the frame
    // contours as the cut lists (ExchangeCoordLists); then, but for kind 8, "mesh_skirt" := meshSkirt,
    // "mesh_min_level" := zMin, "mesh_max_level" := zMax. Kind 12: the cut lists. Kind 5: the bounds'
    // corners into "BB_coor", then the cut lists. Other kinds write nothing. False when a write fails.
    bool WriteCommonLPParams(BaseIDLP& view, int32_t kind);

    // What BuildPrimitives reads and fills, named at the call: e.g. PrimitiveOptions().FillPrims().CloseCodes().
    struct PrimitiveOptions {
        bool reverseWhenOriented = false;  // a counter-clockwise outline's points turned around (prims left empty)
        bool fillPrims = false;            // prims filled, running counter-clockwise
        bool allRings = false;             // every ring read, not only the first
        bool closeCodes = false;           // a ring's first point takes its last point's code and level
        bool markRingEnds = false;         // a ring's last point marked with code -1
        PrimitiveOptions& ReverseWhenOriented() { return Set(reverseWhenOriented); }
        PrimitiveOptions& FillPrims() { return Set(fillPrims); }
        PrimitiveOptions& AllRings() { return Set(allRings); }
        PrimitiveOptions& CloseCodes() { return Set(closeCodes); }
        PrimitiveOptions& MarkRingEnds() { return Set(markRingEnds); }

    private:
        PrimitiveOptions& Set(bool& flag) {
            flag = true;
            return *this;
        }
    };
    // The outline of the element named by pickHead into points3D, points2D, segments and prims
    // (elements/OutlinePrims.cpp).
    bool BuildPrimitives(const PrimitiveOptions& options);
    // The user picks the first and the last side of the outline (elements/OutlinePrims.cpp); false when they are
    // not given, `*inputFailed` set when the input failed for another reason than the user's cancel.
    static bool InputPolygonStep(class BaseRSWCls& cls, bool* inputFailed = nullptr);

    // Element zero, bounds unset, descriptor reset, lists emptied, pickHead zero, numbers 0, libPartIndex -1.
    void Reset();
    bool BoundsSet() const;

    API_Element element;                // the element the class works on, as ReadElement read it
    API_Box3D bounds;                   // its 3D box
    ElemDescriptor descriptor;          // its element data record
    QV_List<QV_CoordLong> frameFirst;   // the two contours covering the ring between the outline and a rectangle
    QV_List<QV_CoordLong> frameSecond;  // FrameMargin outside its box
    int32_t meshAttr;                   // the mesh's skirt material, copied by ReadElement
    double meshSkirt;                   // the mesh's skirt value, copied by ReadElement: what "mesh_skirt" carries
    double zMin;                        // copies of the bounds' z range made by ReadElement
    double zMax;
    API_Elem_Head pickHead;            // the polygon element picked (or the temporary pick fill); zero when none
    QV_List<QV_Coord3DLong> points3D;  // coded 3D points of the outline
    QV_List<QV_CoordLong> points2D;    // coded 2D points of the outline
    QV_List<PrimPoly> polyPrims;       // outline primitives as line or arc records
    QV_List<PrimSeg> segments;         // outline segments with a line flag
    QV_List<Prim> prims;               // outline primitives with begin, end and arc points
    uint8_t closedRing;                // 1 when the picked element's polygon is a closed ring
    API_Element object;                // the placed library-part object of the element
    int32_t libPartIndex;              // its library part's index as found by name; -1 when not looked up
};

// Base of the road, railway and sidewalk classes.
class BaseRSWCls : public BaseCls {
public:
    BaseRSWCls();
    ~BaseRSWCls() override;

    QV_List<PrimPoly> leftPrims;     // primitives of one edge
    QV_List<PrimPoly> rightPrims;    // primitives of the other edge
    int32_t firstSide;               // 1-based index of the first picked side; 0 when none
    int32_t lastSide;                // 1-based index of the last picked side; 0 when none
    QV_List<QV_Coord3DLong> chainA;  // edge chain from the first side to the last
    QV_List<QV_Coord3DLong> chainB;  // edge chain from the last side back to the first
    QV_List<API_Coord3D> left3D;     // chainA tessellated and given the terrain's heights (road, railway)
    QV_List<API_Coord3D> right3D;    // chainB likewise
};
