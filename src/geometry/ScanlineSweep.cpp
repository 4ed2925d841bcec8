#include "geometry/ScanlineSweep.hpp"

#include "geometry/ScanlineActiveList.hpp"
#include "geometry/ScanlineOutput.hpp"
#include "geometry/ScanlineRings.hpp"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <optional>
#include <queue>

namespace Scanline {
namespace {

// The sweep's large working arrays. They stay with the thread from one clip to the next (up to a limit), so that
// a run of large clips does not take fresh pages from the system, and fault them in, every time.
struct Workspace {
    std::vector<Edge> edges;
    std::vector<Edge*> lmt, byTop;
    std::vector<double> sbt, ys;
    std::vector<uint32_t> topKeys, ringSizes;
    std::vector<API_Coord> ring, pinches;
    std::vector<std::pair<uint64_t, uint32_t>> heights, spare;
    std::vector<uint32_t> heightRank, topStart, topHeight, fill, count;
    std::vector<ListNode> nodes;
    std::vector<int32_t> links;
    std::vector<OutVertex> vertices;
    std::vector<OutPoly> polys;

    size_t Bytes() const {
        return edges.capacity() * sizeof(Edge) + (lmt.capacity() + byTop.capacity()) * sizeof(Edge*) +
            (sbt.capacity() + ys.capacity()) * sizeof(double) +
            (ring.capacity() + pinches.capacity()) * sizeof(API_Coord) +
            (heights.capacity() + spare.capacity()) * sizeof(heights[0]) +
            (heightRank.capacity() + topStart.capacity() + topHeight.capacity() + fill.capacity() + count.capacity() +
             topKeys.capacity() + ringSizes.capacity()) *
            sizeof(uint32_t) +
            nodes.capacity() * sizeof(ListNode) + links.capacity() * sizeof(int32_t) +
            vertices.capacity() * sizeof(OutVertex) + polys.capacity() * sizeof(OutPoly);
    }
};

// The calling thread's workspace; after a clip, one that has grown past 64 MB is given back.
Workspace& ThreadWorkspace(bool release = false) {
    static thread_local Workspace kept;
    if (release && kept.Bytes() > (size_t(64) << 20)) kept = Workspace();
    return kept;
}

// A pair of neighbouring edges (bundle heads or single edges) and the height where they cross; nearest first, equal
// heights in the order found.
struct Candidate {
    double y;
    uint64_t order;
    Edge* left;
    Edge* right;
    bool operator>(const Candidate& o) const { return y > o.y || (y == o.y && order > o.order); }
};

// The sweep. Beams run between the distinct vertex heights; in each beam only what changes is visited: edges that
// start, end or hand over to their successor at its bottom, the edges at their x (bundles, vertices on edges), the
// edges under a horizontal edge there, and the neighbours that cross inside the beam. An edge that just passes
// through keeps its x along its slope, its parities and its output contour untouched; crossings are found between
// neighbours when they become neighbours and queued by height, so a beam costs the logarithm of the active list's
// length for each change in it.
class BeamSweep {
public:
    BeamSweep(uint32_t op, Workspace& w)
        : m_op(op), m_w(w), m_edges(w.edges), m_lmt(w.lmt), m_sbt(w.sbt), m_ringSizes(w.ringSizes),
          m_out(w.vertices, w.polys, w.pinches), m_initialParity{op == ScanlineDifference ? 1 : 0, 0} {}

    void Run(const std::vector<Contour>& subject, const std::vector<Contour>& clip, std::vector<Group>& groups) {
        std::vector<char> skipSubject, skipClip;
        SkipApartContours(subject, clip, skipSubject, skipClip);
        const size_t total = BuildEdgeTables(subject, clip, skipSubject, skipClip);
        if (m_lmt.empty()) return;
        SortMinima();
        RankHeights();
        m_out.vertices.reserve(total);
        IndexEdgesByTop();
        m_aet.emplace(m_edges.size(), m_w.nodes, m_w.links);
        SetNearDistance();
        for (size_t beam = 0; beam < m_sbt.size() && SweepBeam(beam); ++beam) {
        }
        CollectResult(groups);
    }

private:
    // Contours whose box meets nothing of the other input take no part.
    void SkipApartContours(const std::vector<Contour>& subject, const std::vector<Contour>& clip,
                           std::vector<char>& skipSubject, std::vector<char>& skipClip) const {
        const size_t ns = subject.size(), nc = clip.size();
        skipSubject.assign(ns, 0);
        skipClip.assign(nc, 0);
        if (!(m_op == ScanlineDifference || m_op == ScanlineIntersection) || ns == 0 || nc == 0) return;
        std::vector<const API_Box*> sb, cb;
        for (const Contour& c : subject) sb.push_back(&c.box);
        for (const Contour& c : clip) cb.push_back(&c.box);
        const BoxSet subjectBoxes(sb);
        for (size_t c = 0; c < nc; ++c)
            if (!subjectBoxes.AnyOverlap(clip[c].box)) skipClip[c] = 1;
        if (m_op == ScanlineIntersection) {
            const BoxSet clipBoxes(cb);
            for (size_t s = 0; s < ns; ++s)
                if (!clipBoxes.AnyOverlap(subject[s].box)) skipSubject[s] = 1;
        }
    }

    // Edge tables, subject first; returns the number of input vertices taken.
    size_t BuildEdgeTables(const std::vector<Contour>& subject, const std::vector<Contour>& clip,
                           const std::vector<char>& skipSubject, const std::vector<char>& skipClip) {
        const size_t ns = subject.size(), nc = clip.size();
        size_t total = 0;
        for (size_t s = 0; s < ns; ++s)
            if (!skipSubject[s]) total += subject[s].points.size();
        for (size_t c = 0; c < nc; ++c)
            if (!skipClip[c]) total += clip[c].points.size();
        m_edges.clear();
        m_edges.reserve(total);
        m_lmt.clear();
        m_sbt.clear();
        m_sbt.reserve(total);
        std::vector<uint32_t>& topKeys = m_w.topKeys;
        topKeys.clear();
        topKeys.reserve(total);
        m_ringSizes.assign(ns + nc, 0);  // kept vertices by contour
        for (size_t s = 0; s < ns; ++s)
            if (!skipSubject[s])
                m_ringSizes[s] = BuildBounds(subject[s], static_cast<int32_t>(s), SUBJ, m_op, m_w.ring, m_edges,
                                             topKeys, m_lmt, m_sbt);
        for (size_t c = 0; c < nc; ++c)
            if (!skipClip[c])
                m_ringSizes[ns + c] = BuildBounds(clip[c], static_cast<int32_t>(ns + c), CLIP, m_op, m_w.ring, m_edges,
                                                  topKeys, m_lmt, m_sbt);
        return total;
    }

    // Local minima by height, and within a height by bottom x then dx; equal bounds keep their order.
    void SortMinima() {
        std::stable_sort(m_lmt.begin(), m_lmt.end(), [](const Edge* a, const Edge* b) {
            if (a->botY != b->botY) return a->botY < b->botY;
            if (a->botX != b->botX) return a->botX < b->botX;
            return a->dx < b->dx;
        });
    }

    // Distinct heights ascending into the table of heights (the first of equal values kept, as -0.0 and 0.0 are one
    // height), and the place of each vertex's height among them. Sorted by a radix sort of the heights' bits
    // (ordered as integers: negative ones flipped), equal ones in their first order.
    void RankHeights() {
        std::vector<std::pair<uint64_t, uint32_t>>& heights = m_w.heights;
        std::vector<std::pair<uint64_t, uint32_t>>& spare = m_w.spare;
        heights.resize(m_sbt.size());
        for (size_t i = 0; i < m_sbt.size(); ++i) {
            const double y = m_sbt[i] == 0.0 ? 0.0 : m_sbt[i];  // -0.0 sorts as 0.0
            uint64_t bits;
            std::memcpy(&bits, &y, sizeof bits);
            bits = (bits >> 63) ? ~bits : bits | (uint64_t(1) << 63);
            heights[i] = {bits, static_cast<uint32_t>(i)};
        }
        // Digits of 16 bits for many heights, of 8 for few (the tables would cost more than the sorting).
        const int bits = heights.size() < 8192 ? 8 : 16;
        const uint64_t mask = (uint64_t(1) << bits) - 1;
        std::vector<uint32_t>& count = m_w.count;
        spare.resize(heights.size());
        for (int shift = 0; !heights.empty() && shift < 64; shift += bits) {
            count.assign(mask + 2, 0);
            for (const auto& h : heights) ++count[((h.first >> shift) & mask) + 1];
            if (count[((heights[0].first >> shift) & mask) + 1] == heights.size()) continue;  // one digit for all
            for (size_t k = 0; k <= mask; ++k) count[k + 1] += count[k];
            for (const auto& h : heights) spare[count[(h.first >> shift) & mask]++] = h;
            heights.swap(spare);
        }
        std::vector<uint32_t>& heightRank = m_w.heightRank;
        heightRank.resize(m_sbt.size());
        std::vector<double>& ys = m_w.ys;
        ys.clear();
        ys.swap(m_sbt);
        for (const auto& h : heights) {
            const double y = ys[h.second];
            if (m_sbt.empty() || y != m_sbt.back()) m_sbt.push_back(y);
            heightRank[h.second] = static_cast<uint32_t>(m_sbt.size() - 1);
        }
    }

    // Edges by the height of their top (its place in the table of heights): there they hand over to their
    // successor or leave.
    void IndexEdgesByTop() {
        std::vector<uint32_t>& topStart = m_w.topStart;
        topStart.assign(m_sbt.size() + 1, 0);
        std::vector<uint32_t>& topHeight = m_w.topHeight;
        topHeight.resize(m_edges.size());
        for (size_t i = 0; i < m_edges.size(); ++i) {
            topHeight[i] = m_w.heightRank[m_w.topKeys[i]];
            ++topStart[topHeight[i] + 1];
        }
        for (size_t k = 0; k < m_sbt.size(); ++k) topStart[k + 1] += topStart[k];
        std::vector<Edge*>& byTop = m_w.byTop;
        byTop.resize(m_edges.size());
        std::vector<uint32_t>& fill = m_w.fill;
        fill.assign(topStart.begin(), topStart.end() - 1);
        for (size_t i = 0; i < m_edges.size(); ++i) byTop[fill[topHeight[i]]++] = &m_edges[i];
    }

    // Distances this small are rounding of the coordinates: edges or crossings that close may touch.
    void SetNearDistance() {
        double magnitude = 0.0;
        for (const Edge& e : m_edges)
            magnitude =
                std::max({magnitude, std::fabs(e.botX), std::fabs(e.botY), std::fabs(e.topX), std::fabs(e.topY)});
        m_near = std::max(kEpsilon, 2.0 * kEpsilon * magnitude);
    }

    // One beam, from the height table's entry beam to the next; false after the last.
    bool SweepBeam(size_t beam) {
        const double yb = m_sbt[beam];
        const bool lastBeam = beam + 1 == m_sbt.size();
        const double yt = lastBeam ? yb : m_sbt[beam + 1];
        StartBeam(beam);
        InsertMinima(yb);
        MarkEdgesAtSameX(yb);
        FormBundles(yb);
        ClassifyRuns(yb);
        RemoveEndedEdges(yb);
        if (lastBeam) return false;
        QueueNewNeighbours(yb);
        CrossInBeam(yb, yt);
        NoteSharedCrossings();
        HandOver(beam);
        return true;
    }

    void StartBeam(size_t beam) {
        m_beamMark = static_cast<uint32_t>(beam + 1);
        m_dirty.clear();
        m_touched.clear();
        for (Edge* e : m_nextDirty)
            if (e->node >= 0) MarkDirty(e);
        m_nextDirty.clear();
    }

    // Bounds starting here join the active list.
    void InsertMinima(double yb) {
        for (; m_localMin < m_lmt.size() && m_lmt[m_localMin]->botY == yb; ++m_localMin) {
            m_aet->Insert(m_lmt[m_localMin], yb);
            MarkDirty(m_lmt[m_localMin]);
        }
    }

    // Edges at the same x as a changed one may form bundles with it or lie on its vertex: they are looked at too.
    // Such an edge of another contour, or one that does not share the vertex, is a place where the result may touch
    // itself.
    void MarkEdgesAtSameX(double yb) {
        for (size_t i = 0; i < m_dirty.size(); ++i) {
            Edge* e = m_dirty[i];
            const double x = XAt(e, yb);
            for (Edge* p = m_aet->PrevOf(e); p && CloseTo(p, x, yb); p = m_aet->PrevOf(p)) {
                if (!SameVertex(e, p, yb)) m_suspects.push_back(API_Coord{x, yb});
                MarkDirty(p);
            }
            for (Edge* n = m_aet->NextOf(e); n && CloseTo(n, x, yb); n = m_aet->NextOf(n)) {
                if (!SameVertex(e, n, yb)) m_suspects.push_back(API_Coord{x, yb});
                MarkDirty(n);
            }
        }
    }

    // Runs of changed edges: their bundles are formed again.
    void FormBundles(double yb) {
        m_runStarts.clear();
        for (Edge* e : m_dirty) {
            Edge* p = m_aet->PrevOf(e);
            if (!p || p->dirty != m_beamMark) m_runStarts.push_back(e);
        }
        for (Edge* start : m_runStarts) {
            Edge* e0 = start;
            for (Edge* e = start; e && e->dirty == m_beamMark; e = m_aet->NextOf(e)) {
                const int t = e->type;
                e->bundle[ABOVE][t] = (e->topY != yb);
                e->bundle[ABOVE][!t] = 0;
                e->bstate[ABOVE] = UNBUNDLED;
                if (e == start || !e->bundle[ABOVE][t]) continue;
                if (std::fabs(XAt(e0, yb) - XAt(e, yb)) <= kEpsilon && std::fabs(e0->dx - e->dx) <= kEpsilon &&
                    e0->topY != yb) {
                    e->bundle[ABOVE][t] ^= e0->bundle[ABOVE][t];
                    e->bundle[ABOVE][!t] = e0->bundle[ABOVE][!t];
                    e->bstate[ABOVE] = BUNDLE_HEAD;
                    e0->bundle[ABOVE][CLIP] = 0;
                    e0->bundle[ABOVE][SUBJ] = 0;
                    e0->bstate[ABOVE] = BUNDLE_TAIL;
                }
                e0 = e;
            }
        }
    }

    // Classification, run by run from the left, each carried on over unchanged edges while a horizontal edge or a
    // result contour along the beam bottom is open.
    void ClassifyRuns(double yb) {
        std::sort(m_runStarts.begin(), m_runStarts.end(),
                  [yb](const Edge* a, const Edge* b) { return XAt(a, yb) < XAt(b, yb); });
        for (Edge* start : m_runStarts) {
            if (start->walked == m_beamMark) continue;
            int parity[2] = {m_initialParity[CLIP], m_initialParity[SUBJ]};
            Edge* left = m_aet->PrevOf(start);
            while (left && !left->bundle[ABOVE][CLIP] && !left->bundle[ABOVE][SUBJ] && !left->bundle[BELOW][CLIP] &&
                   !left->bundle[BELOW][SUBJ])
                left = m_aet->PrevOf(left);
            if (left) {
                parity[CLIP] = left->bside[CLIP] ^ left->bundle[ABOVE][CLIP];
                parity[SUBJ] = left->bside[SUBJ] ^ left->bundle[ABOVE][SUBJ];
            }
            int horiz[2] = {NH, NH};
            int32_t cf = -1;
            double px = -DBL_MAX;
            double openX = -DBL_MAX;  // where the open horizontal edges began
            for (Edge* edge = start; edge; edge = m_aet->NextOf(edge)) {
                if (edge->dirty != m_beamMark && horiz[CLIP] == NH && horiz[SUBJ] == NH && cf < 0) break;
                edge->walked = m_beamMark;
                Touch(edge);
                edge->outp[ABOVE] = -1;
                int exists[2];
                exists[CLIP] = edge->bundle[ABOVE][CLIP] + (edge->bundle[BELOW][CLIP] << 1);
                exists[SUBJ] = edge->bundle[ABOVE][SUBJ] + (edge->bundle[BELOW][SUBJ] << 1);
                if (!exists[CLIP] && !exists[SUBJ]) continue;
                edge->bside[CLIP] = parity[CLIP];
                edge->bside[SUBJ] = parity[SUBJ];
                const bool open = horiz[CLIP] != NH || horiz[SUBJ] != NH;
                const size_t before = m_out.vertices.size();
                Classify(m_op, edge, yb, parity, horiz, exists, cf, px, m_out);
                if (m_out.vertices.size() != before && edge->botY != yb && edge->topY != yb)
                    m_computed.push_back(API_Coord{XAt(edge, yb), yb});
                // A vertex on a horizontal edge (or at its far end): the result may touch itself there. (A
                // horizontal edge of no length, as a ring's repeated first vertex makes, is none.)
                const double x = XAt(edge, yb);
                if (open && (edge->botY == yb || edge->topY == yb) && x != openX)
                    m_suspects.push_back(API_Coord{x, yb});
                if (!open) openX = x;
            }
        }
    }

    // Edges ending here leave.
    void RemoveEndedEdges(double yb) {
        for (Edge* edge : m_dirty) {
            if (edge->topY != yb || edge->node < 0) continue;
            Edge* prev = m_aet->PrevOf(edge);
            Edge* next = m_aet->NextOf(edge);
            // A leaving bundle head hands its contour below to the tail before it.
            if (edge->bstate[BELOW] == BUNDLE_HEAD && prev && prev->bstate[BELOW] == BUNDLE_TAIL) {
                prev->outp[BELOW] = edge->outp[BELOW];
                prev->bstate[BELOW] = UNBUNDLED;
                Edge* pp = m_aet->PrevOf(prev);
                if (pp && pp->bstate[BELOW] == BUNDLE_TAIL) prev->bstate[BELOW] = BUNDLE_HEAD;
            }
            m_aet->Remove(edge);
            // The bundles on either side of the gap become neighbours (a tail goes with the head after it; a tail
            // on the left means that the gap was inside one bundle).
            if (prev && next && !IsTail(prev)) Consider(prev, IsTail(next) ? NextRep(next) : next, yb);
        }
    }

    // New neighbours around the changed edges may cross within the beam or later.
    void QueueNewNeighbours(double yb) {
        for (Edge* e : m_dirty) {
            if (e->node < 0 || IsTail(e)) continue;
            Consider(PrevRep(e), e, yb);
            Consider(e, NextRep(e), yb);
        }
    }

    // Crossings inside the beam, lowest first.
    void CrossInBeam(double yb, double yt) {
        const double dy = yt - yb;
        while (!m_candidates.empty() && m_candidates.top().y < yt) {
            const Candidate c = m_candidates.top();
            m_candidates.pop();
            Edge* e0 = c.left;
            Edge* e1 = c.right;
            if (e0->node < 0 || e1->node < 0 || IsTail(e0) || IsTail(e1) || NextRep(e0) != e1) continue;
            const double xb0 = XAt(e0, yb), xt0 = XAt(e0, yt), xb1 = XAt(e1, yb), xt1 = XAt(e1, yt);
            const double den = (xt0 - xb0) - (xt1 - xb1);
            if (!(xt1 < xt0) || e1->dx == e0->dx || std::fabs(den) <= kEpsilon) {
                // Not within this beam after all (a pair that one edge's end leaves out of order is given up, or
                // it would be queued in this beam again and again).
                if (std::min(e0->topY, e1->topY) > yt) Consider(e0, e1, yt);
                continue;
            }
            // The crossing point from the edges' end points (the beam's x values carry rounding that a shallow
            // crossing magnifies), kept within the beam where the sweep found it.
            double ix, iy;
            if (!CrossingPoint(e0, e1, ix, iy) || !(iy >= yb && iy <= yt) ||
                !(ix >= std::min({xb0, xt0, xb1, xt1}) && ix <= std::max({xb0, xt0, xb1, xt1}))) {
                // Edges that the sweep's rounding let cross (nearly parallel ones) meet where the beam says.
                const double r = (xb1 - xb0) / den;
                ix = xb0 + r * (xt0 - xb0);
                iy = r * dy + yb;
            }
            Cross(m_op, e0, e1, ix, iy, m_out);
            m_crossings.push_back(API_Coord{ix, iy});
            if (iy - yb <= m_near || yt - iy <= m_near) m_suspects.push_back(API_Coord{ix, iy});  // perhaps at a vertex
            Touch(e0);
            Touch(e1);
            SwapBundles(e0, e1);
            const double at = std::max(c.y, yb);
            Consider(PrevRep(m_group1.front()), e1, at);
            Consider(e0, NextRep(e0), at);
        }
    }

    // The two bundles of a crossing swap places: e0 with its tails, and the run after e0 up to e1.
    void SwapBundles(Edge* e0, Edge* e1) {
        m_group0.clear();
        m_group1.clear();
        Edge* first0 = e0;
        while (Edge* p = m_aet->PrevOf(first0)) {
            if (!IsTail(p) || e0->bstate[ABOVE] != BUNDLE_HEAD) break;
            first0 = p;
        }
        for (Edge* e = first0; e != e0; e = m_aet->NextOf(e)) m_group0.push_back(e);
        m_group0.push_back(e0);
        for (Edge* e = m_aet->NextOf(e0); e != e1; e = m_aet->NextOf(e)) m_group1.push_back(e);
        m_group1.push_back(e1);
        m_places.clear();
        for (Edge* e : m_group0) m_places.push_back(e->node);
        for (Edge* e : m_group1) m_places.push_back(e->node);
        m_order.assign(m_group1.begin(), m_group1.end());
        m_order.insert(m_order.end(), m_group0.begin(), m_group0.end());
        m_aet->Reorder(m_order, m_places);
    }

    // Crossing points (nearly) shared by several pairs of edges: the result may touch itself there.
    void NoteSharedCrossings() {
        std::vector<API_Coord>& crossings = m_crossings;
        if (crossings.size() > 1) {
            std::sort(crossings.begin(), crossings.end(),
                      [](const API_Coord& a, const API_Coord& b) { return a.y < b.y || (a.y == b.y && a.x < b.x); });
            for (size_t i = 1; i < crossings.size(); ++i)
                for (size_t j = i; j-- > 0 && crossings[i].y - crossings[j].y <= m_near;)
                    if (std::fabs(crossings[i].x - crossings[j].x) <= m_near) {
                        m_suspects.push_back(crossings[i]);
                        m_suspects.push_back(crossings[j]);
                    }
        }
        m_computed.insert(m_computed.end(), crossings.begin(), crossings.end());
        crossings.clear();
    }

    // Next beam: the state above becomes the state below; edges that end at its bottom hand over to their
    // successors, or are looked at there once more before they leave.
    void HandOver(size_t beam) {
        for (Edge* e : m_touched) {
            e->outp[BELOW] = e->outp[ABOVE];
            e->bstate[BELOW] = e->bstate[ABOVE];
            e->bundle[BELOW][CLIP] = e->bundle[ABOVE][CLIP];
            e->bundle[BELOW][SUBJ] = e->bundle[ABOVE][SUBJ];
        }
        const std::vector<uint32_t>& topStart = m_w.topStart;
        for (uint32_t k = topStart[beam + 1]; k < topStart[beam + 2]; ++k) {
            Edge* edge = m_w.byTop[k];
            if (edge->node < 0) continue;
            Edge* succ = edge->hasSucc ? edge + 1 : nullptr;
            if (succ) {
                succ->outp[BELOW] = edge->outp[ABOVE];
                succ->outp[ABOVE] = edge->outp[ABOVE];
                succ->bstate[BELOW] = edge->bstate[ABOVE];
                succ->bstate[ABOVE] = edge->bstate[ABOVE];
                succ->bundle[BELOW][CLIP] = succ->bundle[ABOVE][CLIP] = edge->bundle[ABOVE][CLIP];
                succ->bundle[BELOW][SUBJ] = succ->bundle[ABOVE][SUBJ] = edge->bundle[ABOVE][SUBJ];
                succ->bside[CLIP] = edge->bside[CLIP];
                succ->bside[SUBJ] = edge->bside[SUBJ];
                m_aet->Replace(edge, succ);
                m_nextDirty.push_back(succ);
            } else {
                m_nextDirty.push_back(edge);
            }
        }
    }

    // Result contours in output-list order (newest first); two vertices or fewer are dropped. Their boundary is
    // traced again piece by piece and cut into simple rings at the points it passes twice; a ring's turning tells
    // an outer contour (counter-clockwise) from a hole.
    void CollectResult(std::vector<Group>& groups) {
        std::vector<OutContour> contours;
        std::vector<std::vector<API_Coord>> rings;
        for (size_t k = m_out.polys.size(); k-- > 0;) {
            const OutPoly& poly = m_out.polys[k];
            if (!poly.active) continue;
            size_t count = 0;
            for (int32_t v = poly.left; v >= 0; v = m_out.vertices[v].next) ++count;
            if (count <= 2) continue;
            std::vector<API_Coord> points;
            points.reserve(count);
            for (int32_t v = poly.left; v >= 0; v = m_out.vertices[v].next)
                points.push_back(API_Coord{m_out.vertices[v].x, m_out.vertices[v].y});
            rings.push_back(std::move(points));
        }
        std::vector<std::vector<API_Coord>> simple;
        m_suspects.insert(m_suspects.end(), m_out.pinches.begin(), m_out.pinches.end());
        SimpleRings(rings, std::move(m_suspects), std::move(m_computed), m_near, simple);
        for (std::vector<API_Coord>& ring : simple) {
            OutContour c;
            c.hole = RingArea(ring) < 0.0;
            c.points = std::move(ring);
            contours.push_back(std::move(c));
        }
        GroupContours(contours, groups);
    }

    static bool IsTail(const Edge* e) { return e->bstate[ABOVE] == BUNDLE_TAIL; }

    // The bundle head or single edge next to the right of e's bundle, and the one before e's tails.
    Edge* NextRep(const Edge* e) const {
        Edge* n = m_aet->NextOf(e);
        while (n && IsTail(n)) n = m_aet->NextOf(n);
        return n;
    }
    Edge* PrevRep(const Edge* e) const {
        Edge* p = m_aet->PrevOf(e);
        while (p && IsTail(p)) p = m_aet->PrevOf(p);
        return p;
    }

    // Queues the crossing of two neighbours, seen from height y, when they come together above it.
    void Consider(Edge* l, Edge* r, double y) {
        if (!l || !r || IsTail(l) || IsTail(r)) return;
        const double gap = XAt(r, y) - XAt(l, y);
        double at;
        if (gap <= 0.0) {
            at = y;  // already out of order: cross at once
        } else {
            if (!(l->dx > r->dx)) return;
            at = y + gap / (l->dx - r->dx);
        }
        const double top = std::min(l->topY, r->topY);
        if (!(at < top)) {
            // One of them ends first; unless they are out of order where it ends: then the crossing lies within
            // rounding of that height, and it is taken just below.
            if (!(XAt(r, top) < XAt(l, top))) return;
            at = std::nextafter(top, -DBL_MAX);
        }
        m_candidates.push(Candidate{at, m_found++, l, r});
    }

    void MarkDirty(Edge* e) {
        if (e->dirty != m_beamMark) {
            e->dirty = m_beamMark;
            m_dirty.push_back(e);
        }
    }

    void Touch(Edge* e) {
        if (e->touched != m_beamMark) {
            e->touched = m_beamMark;
            m_touched.push_back(e);
        }
    }

    // Whether a and b end at yb in one vertex of their ring, or in two neighbours of it at one point.
    bool SameVertex(const Edge* a, const Edge* b, double yb) const {
        if (a->contour != b->contour) return false;
        const uint32_t i = a->botY == yb ? a->botVertex : a->topVertex;
        const uint32_t j = b->botY == yb ? b->botVertex : b->topVertex;
        const bool atA = a->botY == yb || a->topY == yb, atB = b->botY == yb || b->topY == yb;
        const double xa = a->botY == yb ? a->botX : a->topX, xb = b->botY == yb ? b->botX : b->topX;
        const uint32_t d = i > j ? i - j : j - i;
        return atA && atB && xa == xb && (d <= 1 || d + 1 == m_ringSizes[static_cast<size_t>(a->contour)]);
    }

    // Close: within rounding of the coordinates, across the edge (a flat edge passes a point at a larger distance
    // along the beam).
    bool CloseTo(const Edge* o, double x, double yb) const {
        const double gap = std::fabs(XAt(o, yb) - x);
        // 1 + |dx| bounds the root from above: most edges are ruled out without it.
        return gap <= m_near * (1.0 + std::fabs(o->dx)) && gap <= m_near * std::sqrt(1.0 + o->dx * o->dx);
    }

    const uint32_t m_op;
    Workspace& m_w;
    std::vector<Edge>& m_edges;
    std::vector<Edge*>& m_lmt;   // local minima: the first edge of each bound
    std::vector<double>& m_sbt;  // the distinct heights, ascending
    std::vector<uint32_t>& m_ringSizes;
    Output m_out;
    const int m_initialParity[2];
    std::optional<ActiveList> m_aet;
    size_t m_localMin = 0;
    double m_near = 0.0;
    std::vector<API_Coord> m_suspects;   // points where the result may touch itself
    std::vector<API_Coord> m_computed;   // result vertices that are not input vertices
    std::vector<API_Coord> m_crossings;  // this beam's crossing points
    std::priority_queue<Candidate, std::vector<Candidate>, std::greater<Candidate>> m_candidates;
    uint64_t m_found = 0;
    uint32_t m_beamMark = 0;
    std::vector<Edge*> m_dirty, m_touched, m_runStarts, m_group0, m_group1, m_order;
    std::vector<int32_t> m_places;
    std::vector<Edge*> m_nextDirty;  // edges to look at in the next beam
};

}  // namespace

void Sweep(const std::vector<Contour>& subject, uint32_t op, const std::vector<Contour>& clip,
           std::vector<Group>& groups) {
    const size_t ns = subject.size(), nc = clip.size();
    if ((ns == 0 && nc == 0) || (ns == 0 && (op == ScanlineDifference || op == ScanlineIntersection)) ||
        (nc == 0 && op == ScanlineIntersection))
        return;
    BeamSweep(op, ThreadWorkspace()).Run(subject, clip, groups);
}

void ReleaseSweepWorkspace() { ThreadWorkspace(true); }

}  // namespace Scanline
