#pragma once
// The sweep's active edges, in x order at the current height.
#include "geometry/ScanlineEdges.hpp"

#include <cstdint>
#include <vector>

namespace Scanline {

// A node of the active list.
struct ListNode {
    Edge* edge;
    int32_t level;
    int32_t link;  // its next and previous node per level at links[link + 2 level] and [+ 1]
};

// The active edges in x order: a skip list whose nodes hold the edges. Swapping edges swaps node contents, so a
// crossing costs nothing in the list; finding the place of a new edge costs the logarithm of the list's length.
// Its nodes and links live in the given vectors.
class ActiveList {
public:
    ActiveList(size_t capacity, std::vector<ListNode>& nodes, std::vector<int32_t>& links)
        : m_nodes(nodes), m_links(links) {
        m_nodes.clear();
        m_links.clear();
        m_nodes.reserve(capacity + 1);
        m_links.reserve(2 * (capacity + 1) + 2 * kLevels);
        NewNode(nullptr, kLevels);  // the head
    }

    Edge* First() const { return EdgeOf(Next(0, 0)); }
    Edge* NextOf(const Edge* e) const { return EdgeOf(Next(e->node, 0)); }
    Edge* PrevOf(const Edge* e) const { return EdgeOf(Prev(e->node, 0)); }

    // Puts e after every active edge that is not greater: x at y, then dx.
    void Insert(Edge* e, double y) {
        const double x = XAt(e, y);
        int32_t update[kLevels];
        int32_t at = 0;
        for (int l = kLevels - 1; l >= 0; --l) {
            for (int32_t n = Next(at, l); n > 0; n = Next(at, l)) {
                const Edge* o = m_nodes[static_cast<size_t>(n)].edge;
                const double ox = XAt(o, y);
                if (x < ox || (x == ox && e->dx < o->dx)) break;
                at = n;
            }
            update[l] = at;
        }
        const int32_t node = NewNode(e, RandomLevel());
        for (int l = 0; l < m_nodes[static_cast<size_t>(node)].level; ++l) {
            const int32_t after = Next(update[l], l);
            Next(node, l) = after;
            Prev(node, l) = update[l];
            Next(update[l], l) = node;
            if (after > 0) Prev(after, l) = node;
        }
        e->node = node;
    }

    void Remove(Edge* e) {
        const int32_t node = e->node;
        for (int l = 0; l < m_nodes[static_cast<size_t>(node)].level; ++l) {
            const int32_t before = Prev(node, l), after = Next(node, l);
            Next(before, l) = after;
            if (after > 0) Prev(after, l) = before;
        }
        e->node = -1;
    }

    // succ takes old's place.
    void Replace(Edge* old, Edge* succ) {
        succ->node = old->node;
        m_nodes[static_cast<size_t>(old->node)].edge = succ;
        old->node = -1;
    }

    // Puts the edges in the places of the given run of edges (which lie side by side), in the order given.
    void Reorder(const std::vector<Edge*>& order, const std::vector<int32_t>& places) {
        for (size_t i = 0; i < order.size(); ++i) {
            order[i]->node = places[i];
            m_nodes[static_cast<size_t>(places[i])].edge = order[i];
        }
    }

private:
    static constexpr int kLevels = 24;
    std::vector<ListNode>& m_nodes;
    std::vector<int32_t>& m_links;
    uint64_t m_seed = 0x9E3779B97F4A7C15ull;

    int32_t Next(int32_t n, int l) const {
        return m_links[static_cast<size_t>(m_nodes[static_cast<size_t>(n)].link + 2 * l)];
    }
    int32_t Prev(int32_t n, int l) const {
        return m_links[static_cast<size_t>(m_nodes[static_cast<size_t>(n)].link + 2 * l + 1)];
    }
    int32_t& Next(int32_t n, int l) {
        return m_links[static_cast<size_t>(m_nodes[static_cast<size_t>(n)].link + 2 * l)];
    }
    int32_t& Prev(int32_t n, int l) {
        return m_links[static_cast<size_t>(m_nodes[static_cast<size_t>(n)].link + 2 * l + 1)];
    }
    Edge* EdgeOf(int32_t n) const { return n > 0 ? m_nodes[static_cast<size_t>(n)].edge : nullptr; }

    int RandomLevel() {
        m_seed ^= m_seed << 13;
        m_seed ^= m_seed >> 7;
        m_seed ^= m_seed << 17;
        int level = 1;
        for (uint64_t bits = m_seed; level < kLevels && (bits & 3u) == 0; bits >>= 2) ++level;
        return level;
    }

    int32_t NewNode(Edge* e, int level) {
        const int32_t link = static_cast<int32_t>(m_links.size());
        m_links.insert(m_links.end(), static_cast<size_t>(2 * level), 0);
        for (int l = 0; l < level; ++l) m_links[static_cast<size_t>(link + 2 * l)] = -1;
        m_nodes.push_back(ListNode{e, level, link});
        return static_cast<int32_t>(m_nodes.size() - 1);
    }
};

}  // namespace Scanline
