#include "geometry/ScanlineOutput.hpp"

namespace Scanline {
namespace {

// Horizontal state after an edge, by state and column 2 * (exists - 1) + parity.
const int kNextHState[3][6] = {
    {BH, TH, TH, BH, NH, NH},
    {NH, NH, NH, NH, TH, TH},
    {NH, NH, NH, NH, BH, BH},
};

// Vertex classes: top-right + 2 top-left + 4 bottom-right + 8 bottom-left.
enum VertexClass {
    EMX = 1,   // external maximum
    ELI = 2,   // external left intermediate
    ERI = 4,   // external right intermediate
    RED = 5,   // right edge
    IMM = 6,   // internal maximum and minimum
    IMN = 7,   // internal minimum
    EMN = 8,   // external minimum
    EMM = 9,   // external maximum and minimum
    LED = 10,  // left edge
    ILI = 11,  // internal left intermediate
    IRI = 13,  // internal right intermediate
    IMX = 14,  // internal maximum
};

// Quadrant combination of the clip and the subject term by operation.
inline int Combine(uint32_t operation, int c, int s) {
    switch (operation) {
        case ScanlineExclusiveOr: return c ^ s;
        case ScanlineUnion: return c || s;
        default: return c && s;
    }
}

}  // namespace

void Classify(uint32_t op, Edge* edge, double yb, int parity[2], int horiz[2], const int exists[2], int32_t& cf,
              double& px, Output& out) {
    int contributing;
    switch (op) {
        case ScanlineExclusiveOr: contributing = exists[CLIP] || exists[SUBJ]; break;
        case ScanlineUnion:
            contributing = (exists[CLIP] && (!parity[SUBJ] || horiz[SUBJ])) ||
                (exists[SUBJ] && (!parity[CLIP] || horiz[CLIP])) ||
                (exists[CLIP] && exists[SUBJ] && parity[CLIP] == parity[SUBJ]);
            break;
        default:
            contributing = (exists[CLIP] && (parity[SUBJ] || horiz[SUBJ])) ||
                (exists[SUBJ] && (parity[CLIP] || horiz[CLIP])) ||
                (exists[CLIP] && exists[SUBJ] && parity[CLIP] == parity[SUBJ]);
            break;
    }
    const int hc = horiz[CLIP] != NH;
    const int hs = horiz[SUBJ] != NH;
    const int br = Combine(op, parity[CLIP], parity[SUBJ]);
    const int bl = Combine(op, parity[CLIP] ^ edge->bundle[ABOVE][CLIP], parity[SUBJ] ^ edge->bundle[ABOVE][SUBJ]);
    const int tr = Combine(op, parity[CLIP] ^ hc, parity[SUBJ] ^ hs);
    const int tl =
        Combine(op, parity[CLIP] ^ hc ^ edge->bundle[BELOW][CLIP], parity[SUBJ] ^ hs ^ edge->bundle[BELOW][SUBJ]);

    parity[CLIP] ^= edge->bundle[ABOVE][CLIP];
    parity[SUBJ] ^= edge->bundle[ABOVE][SUBJ];
    if (exists[CLIP]) horiz[CLIP] = kNextHState[horiz[CLIP]][((exists[CLIP] - 1) << 1) + parity[CLIP]];
    if (exists[SUBJ]) horiz[SUBJ] = kNextHState[horiz[SUBJ]][((exists[SUBJ] - 1) << 1) + parity[SUBJ]];

    if (!contributing) return;
    const double xb = XAt(edge, yb);
    const int vclass = tr + (tl << 1) + (br << 2) + (bl << 3);
    if (vclass == IMM || vclass == EMM) out.pinches.push_back(API_Coord{XAt(edge, yb), yb});
    switch (vclass) {
        case EMN:
        case IMN:
            edge->outp[ABOVE] = cf = out.Open(xb, yb);
            px = xb;
            break;
        case ERI:
            if (xb != px) {
                out.AddRight(cf, xb, yb);
                px = xb;
            }
            edge->outp[ABOVE] = cf;
            cf = -1;
            break;
        case ELI:
            out.AddLeft(edge->outp[BELOW], xb, yb);
            px = xb;
            cf = edge->outp[BELOW];
            break;
        case EMX:
            if (xb != px) {
                out.AddLeft(cf, xb, yb);
                px = xb;
            }
            out.Join(cf, edge->outp[BELOW], false);
            cf = -1;
            break;
        case ILI:
            if (xb != px) {
                out.AddLeft(cf, xb, yb);
                px = xb;
            }
            edge->outp[ABOVE] = cf;
            cf = -1;
            break;
        case IRI:
            out.AddRight(edge->outp[BELOW], xb, yb);
            px = xb;
            cf = edge->outp[BELOW];
            edge->outp[BELOW] = -1;
            break;
        case IMX:
            if (xb != px) {
                out.AddRight(cf, xb, yb);
                px = xb;
            }
            out.Join(cf, edge->outp[BELOW], true);
            cf = -1;
            edge->outp[BELOW] = -1;
            break;
        case IMM:
            if (xb != px) {
                out.AddRight(cf, xb, yb);
                px = xb;
            }
            out.Join(cf, edge->outp[BELOW], true);
            edge->outp[BELOW] = -1;
            edge->outp[ABOVE] = cf = out.Open(xb, yb);
            break;
        case EMM:
            if (xb != px) {
                out.AddLeft(cf, xb, yb);
                px = xb;
            }
            out.Join(cf, edge->outp[BELOW], false);
            edge->outp[BELOW] = -1;
            edge->outp[ABOVE] = cf = out.Open(xb, yb);
            break;
        case LED:
            if (edge->botY == yb) out.AddLeft(edge->outp[BELOW], xb, yb);
            edge->outp[ABOVE] = edge->outp[BELOW];
            px = xb;
            break;
        case RED:
            if (edge->botY == yb) out.AddRight(edge->outp[BELOW], xb, yb);
            edge->outp[ABOVE] = edge->outp[BELOW];
            px = xb;
            break;
        default: break;
    }
}

void Cross(uint32_t op, Edge* e0, Edge* e1, double ix, double iy, Output& out) {
    if ((e0->bundle[ABOVE][CLIP] || e0->bundle[ABOVE][SUBJ]) && (e1->bundle[ABOVE][CLIP] || e1->bundle[ABOVE][SUBJ])) {
        const int32_t p = e0->outp[ABOVE];
        const int32_t q = e1->outp[ABOVE];
        int inside[2];
        for (int t = 0; t < 2; ++t)
            inside[t] = (e0->bundle[ABOVE][t] && !e0->bside[t]) || (e1->bundle[ABOVE][t] && e1->bside[t]) ||
                (!e0->bundle[ABOVE][t] && !e1->bundle[ABOVE][t] && e0->bside[t] && e1->bside[t]);
        const int tr = Combine(op, inside[CLIP], inside[SUBJ]);
        const int tl = Combine(op, inside[CLIP] ^ e1->bundle[ABOVE][CLIP], inside[SUBJ] ^ e1->bundle[ABOVE][SUBJ]);
        const int br = Combine(op, inside[CLIP] ^ e0->bundle[ABOVE][CLIP], inside[SUBJ] ^ e0->bundle[ABOVE][SUBJ]);
        const int bl = Combine(op, inside[CLIP] ^ e1->bundle[ABOVE][CLIP] ^ e0->bundle[ABOVE][CLIP],
                               inside[SUBJ] ^ e1->bundle[ABOVE][SUBJ] ^ e0->bundle[ABOVE][SUBJ]);
        const int vclass = tr + (tl << 1) + (br << 2) + (bl << 3);
        if (vclass == IMM || vclass == EMM) out.pinches.push_back(API_Coord{ix, iy});
        switch (vclass) {
            case EMN:
            case IMN:
                e0->outp[ABOVE] = out.Open(ix, iy);
                e1->outp[ABOVE] = e0->outp[ABOVE];
                break;
            case ERI:
                if (p >= 0) {
                    out.AddRight(p, ix, iy);
                    e1->outp[ABOVE] = p;
                    e0->outp[ABOVE] = -1;
                }
                break;
            case ELI:
                if (q >= 0) {
                    out.AddLeft(q, ix, iy);
                    e0->outp[ABOVE] = q;
                    e1->outp[ABOVE] = -1;
                }
                break;
            case EMX:
                if (p >= 0 && q >= 0) {
                    out.AddLeft(p, ix, iy);
                    out.Join(p, q, false);
                    e0->outp[ABOVE] = -1;
                    e1->outp[ABOVE] = -1;
                }
                break;
            case ILI:
                if (p >= 0) {
                    out.AddLeft(p, ix, iy);
                    e1->outp[ABOVE] = p;
                    e0->outp[ABOVE] = -1;
                }
                break;
            case IRI:
                if (q >= 0) {
                    out.AddRight(q, ix, iy);
                    e0->outp[ABOVE] = q;
                    e1->outp[ABOVE] = -1;
                }
                break;
            case IMX:
                if (p >= 0 && q >= 0) {
                    out.AddRight(p, ix, iy);
                    out.Join(p, q, true);
                    e0->outp[ABOVE] = -1;
                    e1->outp[ABOVE] = -1;
                }
                break;
            case IMM:
                if (p >= 0 && q >= 0) {
                    out.AddRight(p, ix, iy);
                    out.Join(p, q, true);
                    e0->outp[ABOVE] = out.Open(ix, iy);
                    e1->outp[ABOVE] = e0->outp[ABOVE];
                }
                break;
            case EMM:
                if (p >= 0 && q >= 0) {
                    out.AddLeft(p, ix, iy);
                    out.Join(p, q, false);
                    e0->outp[ABOVE] = out.Open(ix, iy);
                    e1->outp[ABOVE] = e0->outp[ABOVE];
                }
                break;
            default: break;
        }
    }

    // Crossing swaps the bundle sides...
    if (e0->bundle[ABOVE][CLIP]) e1->bside[CLIP] = !e1->bside[CLIP];
    if (e1->bundle[ABOVE][CLIP]) e0->bside[CLIP] = !e0->bside[CLIP];
    if (e0->bundle[ABOVE][SUBJ]) e1->bside[SUBJ] = !e1->bside[SUBJ];
    if (e1->bundle[ABOVE][SUBJ]) e0->bside[SUBJ] = !e0->bside[SUBJ];
}

}  // namespace Scanline
