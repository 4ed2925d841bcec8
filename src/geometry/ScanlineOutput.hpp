#pragma once
// The sweep's output: result contours grown vertex by vertex at both ends, and the vertex classes that say, at an
// edge on the beam bottom or at a crossing of two edges, which contour opens, grows, joins another or closes.
#include "geometry/ScanlineEdges.hpp"

#include <cstdint>
#include <vector>

namespace Scanline {

struct OutVertex {
    double x, y;
    int32_t next;
};

struct OutPoly {
    int32_t active;  // 1 while open; 0 once merged into another
    int32_t hole;
    int32_t left, right;
    int32_t proxy;  // the contour it has been merged into
};

// Output contours and their vertex lists. Contours are kept in creation order; the output list runs newest first.
// Proxies form a union-find forest whose roots are exactly the contours that are still active.
class Output {
public:
    std::vector<OutVertex>& vertices;
    std::vector<OutPoly>& polys;
    std::vector<API_Coord>& pinches;  // points where a contour was closed and another opened

    Output(std::vector<OutVertex>& v, std::vector<OutPoly>& p, std::vector<API_Coord>& pinch)
        : vertices(v), polys(p), pinches(pinch) {
        vertices.clear();
        polys.clear();
        pinches.clear();
    }

    int32_t Proxy(int32_t c) {
        while (polys[c].proxy != c) {
            polys[c].proxy = polys[polys[c].proxy].proxy;
            c = polys[c].proxy;
        }
        return c;
    }

    int32_t Open(double x, double y) {
        const int32_t v = NewVertex(x, y, -1);
        const int32_t c = static_cast<int32_t>(polys.size());
        polys.push_back(OutPoly{1, 0, v, v, c});
        return c;
    }

    void AddLeft(int32_t c, double x, double y) {
        if (c < 0) return;
        OutPoly& p = polys[Proxy(c)];
        p.left = NewVertex(x, y, p.left);
    }

    void AddRight(int32_t c, double x, double y) {
        if (c < 0) return;
        const int32_t r = Proxy(c);
        const int32_t v = NewVertex(x, y, -1);
        vertices[polys[r].right].next = v;
        polys[r].right = v;
    }

    // Joins p into q: as a hole, p's vertices go before q's; otherwise after them.
    void Join(int32_t p, int32_t q, bool hole) {
        if (p < 0 || q < 0) return;
        const int32_t qp = Proxy(q);
        polys[qp].hole = hole ? 1 : 0;
        const int32_t pp = Proxy(p);
        if (pp == qp) return;
        if (hole) {
            vertices[polys[pp].right].next = polys[qp].left;
            polys[qp].left = polys[pp].left;
        } else {
            vertices[polys[qp].right].next = polys[pp].left;
            polys[qp].right = polys[pp].right;
        }
        polys[pp].active = 0;
        polys[pp].proxy = qp;
    }

private:
    int32_t NewVertex(double x, double y, int32_t next) {
        vertices.push_back(OutVertex{x, y, next});
        return static_cast<int32_t>(vertices.size() - 1);
    }
};

// Classifies an active edge at the beam bottom yb and acts on the output: parity and horiz are the states left
// of it, updated to the states right of it; cf is the contour carried along the beam bottom, px the remembered x.
void Classify(uint32_t op, Edge* edge, double yb, int parity[2], int horiz[2], const int exists[2], int32_t& cf,
              double& px, Output& out);

// Acts on a crossing of neighbours e0 (left) and e1 at (ix, iy) and swaps their bundle sides.
void Cross(uint32_t op, Edge* e0, Edge* e1, double ix, double iy, Output& out);

}  // namespace Scanline
