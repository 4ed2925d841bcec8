#include "foundation/QV_List.hpp"

#include <cstring>

namespace {

struct SortRun {
    const QV_ListSortDescriptor& descriptor;
    void* userData;
    char* pivot;

    char* At(int32_t i) const { return static_cast<char*>(descriptor.first) + size_t(i - 1) * descriptor.elementSize; }
    bool Less(const void* a, const void* b) const { return descriptor.less(a, b, userData); }

    void Swap(int32_t i, int32_t j) const {
        const size_t size = descriptor.elementSize;
        std::memcpy(descriptor.scratch, At(i), size);
        std::memcpy(At(i), At(j), size);
        std::memcpy(At(j), descriptor.scratch, size);
    }

    // Recurses into the smaller part and loops over the larger one, so the stack stays logarithmic.
    void Sort(int32_t first, int32_t last) const {
        while (first < last) {
            std::memcpy(pivot, At(int32_t((int64_t(first) + last) / 2)), descriptor.elementSize);
            int32_t i = first;
            int32_t j = last;
            while (i <= j) {
                // The bounds only matter for a comparator that is not a strict ordering.
                while (i <= last && Less(At(i), pivot)) ++i;
                while (j >= first && Less(pivot, At(j))) --j;
                if (i > j) break;
                Swap(i, j);
                ++i;
                --j;
            }
            // Each part is strictly smaller than the range (always so for a strict ordering).
            if (j > last - 1) j = last - 1;
            if (i < first + 1) i = first + 1;
            if (j - first < last - i) {
                if (first < j) Sort(first, j);
                first = i;
            } else {
                if (i < last) Sort(i, last);
                last = j;
            }
        }
    }
};

}  // namespace

void QV_ListSort(int32_t first, int32_t last, const QV_ListSortDescriptor& descriptor, void* userData) {
    if (descriptor.less == nullptr || descriptor.first == nullptr || descriptor.scratch == nullptr ||
        descriptor.elementSize == 0 || first < 1 || last <= first)
        return;
    GSPtr pivot = BMAllocatePtr(GSSize(descriptor.elementSize), 0, 0);
    if (pivot == nullptr) return;
    SortRun run{descriptor, userData, pivot};
    run.Sort(first, last);
    BMKillPtr(&pivot);
}

void SplitString(const char* text, char separator, QV_List<QV_String>& list) {
    list.Clear();
    if (text == nullptr) return;
    const char* start = text;
    for (const char* p = text;; ++p) {
        if (*p == separator || *p == 0) {
            const auto pieceLength = uint32_t(p - start);
            // A byte count of 0 would mean "NUL-terminated": an empty piece is built from "".
            if (pieceLength == 0)
                list.Insert(QV_String("", Encoding_System), -1);
            else
                list.Insert(QV_String(start, pieceLength, Encoding_System), -1);
            if (*p == 0) break;
            start = p + 1;
        }
    }
}
