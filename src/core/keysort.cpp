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

void sortByTime(std::vector<TimedPointer>& entries) {
    const std::size_t n = entries.size();
    if (n < 2)
        return;
    // The bits of a double ordered as unsigned integers: negative values flipped whole, positive
    // ones with the sign bit set.
    std::vector<std::pair<std::uint64_t, void*>> a(n), b(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &entries[i].time, sizeof bits);
        bits = (bits >> 63) ? ~bits : bits | (std::uint64_t{1} << 63);
        a[i] = {bits, entries[i].item};
    }
    for (int shift = 0; shift < 64; shift += 8) {
        std::size_t count[257] = {};
        for (const auto& e : a)
            ++count[((e.first >> shift) & 0xFF) + 1];
        // A byte that is the same in every key orders nothing: skip its pass.
        if (count[((a[0].first >> shift) & 0xFF) + 1] == n)
            continue;
        for (int i = 0; i < 256; ++i)
            count[i + 1] += count[i];
        for (const auto& e : a)
            b[count[(e.first >> shift) & 0xFF]++] = e;
        a.swap(b);
    }
    for (std::size_t i = 0; i < n; ++i)
        entries[i] = {0, a[i].second};
}

} // namespace vendle
