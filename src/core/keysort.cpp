#include "keysort.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vendle {

namespace {

// The key byte at `depth`, or -1 past the end.
inline int byteAt(const KeyedPointer& e, std::size_t depth) {
    return depth < e.length ? e.key[depth] : -1;
}

bool lessFrom(const KeyedPointer& a, const KeyedPointer& b, std::size_t depth) {
    const std::size_t la = a.length > depth ? a.length - depth : 0;
    const std::size_t lb = b.length > depth ? b.length - depth : 0;
    const int c = std::memcmp(a.key + depth, b.key + depth, std::min(la, lb));
    return c < 0 || (c == 0 && la < lb);
}

void insertionSort(KeyedPointer* first, KeyedPointer* last, std::size_t depth) {
    for (KeyedPointer* i = first + 1; i < last; ++i) {
        KeyedPointer value = *i;
        KeyedPointer* j = i;
        while (j > first && lessFrom(value, *(j - 1), depth)) {
            *j = *(j - 1);
            --j;
        }
        *j = value;
    }
}

void radixQuicksort(KeyedPointer* first, KeyedPointer* last, std::size_t depth) {
    while (last - first > 16) {
        // Median of three as the pivot byte.
        const std::ptrdiff_t n = last - first;
        int a = byteAt(first[0], depth), b = byteAt(first[n / 2], depth), c = byteAt(first[n - 1], depth);
        const int pivot = std::max(std::min(a, b), std::min(std::max(a, b), c));
        // Three-way partition: [first, lt) < pivot, [lt, gt) == pivot, [gt, last) > pivot.
        KeyedPointer* lt = first;
        KeyedPointer* gt = last;
        KeyedPointer* i = first;
        while (i < gt) {
            const int v = byteAt(*i, depth);
            if (v < pivot)
                std::swap(*lt++, *i++);
            else if (v > pivot)
                std::swap(*i, *--gt);
            else
                ++i;
        }
        radixQuicksort(first, lt, depth);
        radixQuicksort(gt, last, depth);
        if (pivot < 0)
            return; // the equal part are keys that all end here
        first = lt;
        last = gt;
        ++depth;
    }
    if (last - first > 1)
        insertionSort(first, last, depth);
}

} // namespace

void sortByKeys(std::vector<KeyedPointer>& entries) {
    if (entries.size() > 1)
        radixQuicksort(entries.data(), entries.data() + entries.size(), 0);
}

} // namespace vendle
