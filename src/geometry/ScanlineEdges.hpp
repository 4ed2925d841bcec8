#pragma once
// The clipper's edges: the bounds of the input contours as the sweep climbs them, an edge's x at a height, where two
// edges cross, and the box test that leaves out contours lying apart from the other input.
#include "geometry/ScanlineContours.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Scanline {

constexpr int ABOVE = 0;
constexpr int BELOW = 1;
constexpr int CLIP = 0;  // the edge type doubles as the index: 0 clip, 1 subject
constexpr int SUBJ = 1;

constexpr int UNBUNDLED = 0;
constexpr int BUNDLE_HEAD = 1;
constexpr int BUNDLE_TAIL = 2;

constexpr int NH = 0;  // no horizontal edge open
constexpr int BH = 1;  // horizontal edge open at the bottom
constexpr int TH = 2;  // horizontal edge open at the top

constexpr double kEpsilon = 2.220446049250313e-16;

struct Edge {
    double botX, botY, topX, topY;
    double dx;
    int32_t outp[2];                // output contour [above/below], -1 none
    int32_t node;                   // its place in the active list, -1 while not active
    uint32_t dirty;                 // the beam (counted from 1) in which it has to be looked at again
    uint32_t walked;                // the beam in which it was last classified
    uint32_t touched;               // the beam in which its state above changed
    int32_t contour;                // the input contour it belongs to
    uint32_t botVertex, topVertex;  // its ends' places in the contour's ring
    uint8_t type;
    uint8_t hasSucc;       // the next edge of its bound follows it in the edge table
    uint8_t bundle[2][2];  // [above/below][clip/subject]
    uint8_t bside[2];      // [clip/subject]: 0 left, 1 right
    uint8_t bstate[2];     // [above/below]
};

// x of an edge at height y: its own end points exactly, else along its slope.
inline double XAt(const Edge* e, double y) {
    if (y == e->topY) return e->topX;
    if (y == e->botY) return e->botX;
    return e->botX + e->dx * (y - e->botY);
}

// Builds the bounds of one contour: its edges go into edges (capacity reserved by the caller, so pointers stay put)
// and the places of their tops' heights in ys into topKeys, the first edge of each bound into bounds, the heights of
// its kept vertices into ys. Returns the number of kept vertices.
uint32_t BuildBounds(const Contour& contour, int32_t id, int type, uint32_t operation, std::vector<API_Coord>& ring,
                     std::vector<Edge>& edges, std::vector<uint32_t>& topKeys, std::vector<Edge*>& bounds,
                     std::vector<double>& ys);

// Where the lines of edges a and b cross, from their end points; false when they are parallel.
bool CrossingPoint(const Edge* a, const Edge* b, double& x, double& y);

// Answers "does any box of the set overlap this one" without testing every pair: a hierarchy of boxes over the set,
// split at the median of the centres along the longer side.
class BoxSet {
public:
    explicit BoxSet(const std::vector<const API_Box*>& boxes);
    bool AnyOverlap(const API_Box& q) const;

private:
    struct Node {
        API_Box box;
        size_t first, last;  // range of m_boxes for a leaf
        int32_t left = -1, right = -1;
    };
    std::vector<const API_Box*> m_boxes;
    std::vector<Node> m_nodes;
    bool m_overlapsAll = false;

    int32_t Build(size_t first, size_t last);
    bool Query(int32_t index, const API_Box& q) const;
};

}  // namespace Scanline
