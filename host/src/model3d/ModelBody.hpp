#pragma once
// One body of the host's 3D model as the 3D component functions serve it: vertices, edges (two vertex numbers
// from 1), polygons (a range of polygon edges) and polygon edges (an edge number from 1, negative when the
// polygon runs the edge backwards). Bodies are built from polygons given as rings of vertex numbers.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

struct ModelPoint {
    double x;
    double y;
    double z;
};

struct ModelBody {
    std::vector<ModelPoint> vertices;                // vertex v at [v - 1]
    std::vector<std::pair<int32_t, int32_t>> edges;  // edge e at [e - 1]: first and second vertex
    std::vector<std::pair<int32_t, int32_t>> pgons;  // polygon p at [p - 1]: first and last polygon edge
    std::vector<int32_t> pedges;                     // polygon edge k at [k - 1]: signed edge number

    // The vertices of polygon p (from 1) in its order, each once.
    std::vector<int32_t> PolygonVertices(int32_t p) const;
};

// The same body: the same numbering and every vertex the same to the bit (what the solid operations take of it).
bool SameBody(const ModelBody& a, const ModelBody& b);

// Groups equal sides, each given as (low vertex, high vertex): `groupOf` takes each side's group, numbered from 0
// in no particular order; returns the number of groups. Linear in the sides when vertex numbers are dense.
size_t GroupEqualSides(const std::vector<std::pair<int32_t, int32_t>>& sides, std::vector<int32_t>* groupOf);

// Collects vertices and polygons, then numbers the edges: an edge shared by two polygons is one edge, run
// forwards by the polygon that met it first.
class BodyBuilder {
public:
    int32_t AddVertex(const ModelPoint& p) {
        body_.vertices.push_back(p);
        return int32_t(body_.vertices.size());
    }
    int32_t VertexCount() const { return int32_t(body_.vertices.size()); }
    // A ring of vertex numbers (at least 3, the first not repeated), counter-clockwise seen from outside.
    void AddPolygon(const std::vector<int32_t>& ring);
    void AddTriangle(int32_t a, int32_t b, int32_t c);
    ModelBody Finish();

private:
    ModelBody body_;
    std::vector<int32_t> rings_;       // the rings' vertex numbers, one after the other
    std::vector<int32_t> ringStarts_;  // where each ring starts in rings_
};
