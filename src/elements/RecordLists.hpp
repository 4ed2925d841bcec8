#pragma once
// Small record lists the element classes share: finding a segment in a list, and a box with four lists.
#include "foundation/QV_List.hpp"

#include <cmath>
#include <cstdint>

// The position (from 1) of the first segment of `list` whose ends equal the segment's ends in either direction,
// each coordinate within 1e-7. Segment records have x1, y1 (start) and x2, y2 (end).
template <typename Segment>
bool FindSegmentIndex(const QV_List<Segment>& list, const Segment& segment, int32_t& outIndex) {
    const auto near = [](double a, double b) { return std::fabs(a - b) <= 1e-7; };
    for (int32_t i = 0; i < list.GetCount(); ++i) {
        const Segment& s = list[i];
        const bool same =
            near(s.x1, segment.x1) && near(s.y1, segment.y1) && near(s.x2, segment.x2) && near(s.y2, segment.y2);
        const bool reversed =
            near(s.x1, segment.x2) && near(s.y1, segment.y2) && near(s.x2, segment.x1) && near(s.y2, segment.y1);
        if (same || reversed) {
            outIndex = i + 1;
            return true;
        }
    }
    return false;
}

// A box with four lists: a 64-bit head, the minimum and the maximum corner, then the lists.
template <typename T1, typename T2, typename T3, typename T4>
struct BoundsAndLists {
    int64_t head = 0;
    double minX = 0.0, minY = 0.0, minZ = 0.0;
    double maxX = 0.0, maxY = 0.0, maxZ = 0.0;
    QV_List<T1> list1;
    QV_List<T2> list2;
    QV_List<T3> list3;
    QV_List<T4> list4;
};

// Head 0, the box unset (minimum 1.79769313486231e308, maximum -1.79769313486231e308 in each coordinate: that
// literal, not the largest double) and the four lists emptied.
template <typename T1, typename T2, typename T3, typename T4>
void ResetBoundsAndLists(BoundsAndLists<T1, T2, T3, T4>& record) {
    constexpr double kUnset = 1.79769313486231e308;
    record.head = 0;
    record.minX = record.minY = record.minZ = kUnset;
    record.maxX = record.maxY = record.maxZ = -kUnset;
    record.list1.Clear();
    record.list2.Clear();
    record.list3.Clear();
    record.list4.Clear();
}
