// SPDX-License-Identifier: GPL-3.0-or-later
#include "keysort.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>

namespace vendle {

namespace {

// An entry with eight of its key bytes beside it, so that the sort reads them from the array being
// sorted instead of following each key pointer; when the sort gets past them, the next eight are
// loaded for the range at hand.
struct Entry {
    std::uint64_t cached; // key bytes [base, base + 8), most significant first, zero-padded
    const unsigned char* key;
    std::uint32_t length;
    void* item;
};

std::uint64_t keyBytes(const Entry& e, std::size_t from) {
    if (from + 8 <= e.length) {
        unsigned char b[8];
        std::memcpy(b, e.key + from, 8);
        return (std::uint64_t{b[0]} << 56) | (std::uint64_t{b[1]} << 48) | (std::uint64_t{b[2]} << 40) |
               (std::uint64_t{b[3]} << 32) | (std::uint64_t{b[4]} << 24) | (std::uint64_t{b[5]} << 16) |
               (std::uint64_t{b[6]} << 8) | std::uint64_t{b[7]};
    }
    std::uint64_t bytes = 0;
    for (std::size_t i = from; i < from + 8; ++i)
        bytes = (bytes << 8) | (i < e.length ? e.key[i] : 0u);
    return bytes;
}

// The key byte at `depth` (at most base + 7), or -1 past the end.
inline int byteAt(const Entry& e, std::size_t depth, std::size_t base) {
    if (depth >= e.length)
        return -1;
    return static_cast<int>((e.cached >> (56 - 8 * (depth - base))) & 0xFF);
}

// Keys compared from `depth` on; equal keys are ordered by their items' addresses, so that the
// result does not depend on how the sort went.
bool lessFrom(const Entry& a, const Entry& b, std::size_t depth) {
    const std::size_t la = a.length > depth ? a.length - depth : 0;
    const std::size_t lb = b.length > depth ? b.length - depth : 0;
    const int c = std::memcmp(a.key + depth, b.key + depth, std::min(la, lb));
    if (c != 0)
        return c < 0;
    if (la != lb)
        return la < lb;
    return std::less<const void*>()(a.item, b.item);
}

void insertionSort(Entry* first, Entry* last, std::size_t depth) {
    for (Entry* i = first + 1; i < last; ++i) {
        Entry value = *i;
        Entry* j = i;
        while (j > first && lessFrom(value, *(j - 1), depth)) {
            *j = *(j - 1);
            --j;
        }
        *j = value;
    }
}

// Loads the next eight key bytes of a range once the sort has got past the cached ones. Keys that
// share all eight cached bytes and go on past them (common with collation keys of texts that begin
// alike) need no partition for any of these bytes: then `depth` moves past them and the answer is
// true.
bool skipSharedBytes(Entry* first, Entry* last, std::size_t& depth, std::size_t& base) {
    if (depth == base + 8) {
        for (Entry* e = first; e < last; ++e)
            e->cached = keyBytes(*e, depth);
        base = depth;
    }
    if (depth != base)
        return false;
    const Entry* e = first;
    while (e < last && e->cached == first->cached && e->length >= base + 8)
        ++e;
    if (e != last)
        return false;
    depth += 8;
    return true;
}

void radixQuicksort(Entry* first, Entry* last, std::size_t depth, std::size_t base) {
    while (last - first > 16) {
        if (skipSharedBytes(first, last, depth, base))
            continue;
        // Median of three as the pivot byte.
        const std::ptrdiff_t n = last - first;
        int a = byteAt(first[0], depth, base), b = byteAt(first[n / 2], depth, base),
            c = byteAt(first[n - 1], depth, base);
        const int pivot = std::max(std::min(a, b), std::min(std::max(a, b), c));
        // Three-way partition: [first, lt) < pivot, [lt, gt) == pivot, [gt, last) > pivot.
        Entry* lt = first;
        Entry* gt = last;
        Entry* i = first;
        while (i < gt) {
            const int v = byteAt(*i, depth, base);
            if (v < pivot)
                std::swap(*lt++, *i++);
            else if (v > pivot)
                std::swap(*i, *--gt);
            else
                ++i;
        }
        radixQuicksort(first, lt, depth, base);
        radixQuicksort(gt, last, depth, base);
        if (pivot < 0) {
            // The equal part are keys that all end here: equal keys.
            std::sort(lt, gt, [](const Entry& a, const Entry& b) {
                return std::less<const void*>()(a.item, b.item);
            });
            return;
        }
        first = lt;
        last = gt;
        ++depth;
    }
    if (last - first > 1)
        insertionSort(first, last, depth);
}

void sortEqualKeys(Entry* first, Entry* last) {
    std::sort(first, last,
              [](const Entry& a, const Entry& b) { return std::less<const void*>()(a.item, b.item); });
}

// Large ranges are distributed by the byte at `depth` into 257 buckets (the key's end first) in
// two passes, however many different bytes there are; small ones go to the quicksort above.
void radixSort(Entry* first, Entry* last, std::size_t depth, std::size_t base, Entry* scratch) {
    constexpr std::ptrdiff_t kSmall = 256;
    for (;;) {
        const std::ptrdiff_t n = last - first;
        if (n < kSmall) {
            radixQuicksort(first, last, depth, base);
            return;
        }
        if (skipSharedBytes(first, last, depth, base))
            continue;
        // Bucket k holds the keys whose byte at `depth` is k - 1 (bucket 0: keys that end here);
        // it is [start[k], start[k + 1]).
        std::size_t start[258] = {};
        for (const Entry* e = first; e < last; ++e)
            ++start[byteAt(*e, depth, base) + 2];
        const int firstBucket = byteAt(*first, depth, base) + 1;
        if (start[firstBucket + 1] == static_cast<std::size_t>(n)) {
            if (firstBucket == 0) {
                sortEqualKeys(first, last);
                return;
            }
            ++depth; // one byte for all: nothing to distribute
            continue;
        }
        for (int k = 1; k < 258; ++k)
            start[k] += start[k - 1];
        std::size_t next[257];
        std::copy(start, start + 257, next);
        for (const Entry* e = first; e < last; ++e)
            scratch[next[byteAt(*e, depth, base) + 1]++] = *e;
        std::copy(scratch, scratch + n, first);
        sortEqualKeys(first, first + static_cast<std::ptrdiff_t>(start[1]));
        for (int k = 1; k < 257; ++k) {
            const auto from = static_cast<std::ptrdiff_t>(start[k]);
            const auto to = static_cast<std::ptrdiff_t>(start[k + 1]);
            if (to - from > 1)
                radixSort(first + from, first + to, depth + 1, base, scratch);
        }
        return;
    }
}

} // namespace

void sortByKeys(std::vector<KeyedPointer>& entries) {
    if (entries.size() < 2)
        return;
    std::vector<Entry> work;
    work.reserve(entries.size());
    for (const KeyedPointer& e : entries) {
        work.push_back({0, e.key, e.length, e.item});
        work.back().cached = keyBytes(work.back(), 0);
    }
    std::vector<Entry> scratch(work.size());
    radixSort(work.data(), work.data() + work.size(), 0, 0, scratch.data());
    for (std::size_t i = 0; i < work.size(); ++i)
        entries[i] = {work[i].key, work[i].length, work[i].item};
}

void sortByTime(std::vector<TimedPointer>& entries) {
    using Keyed = std::pair<std::uint64_t, void*>;
    const std::size_t n = entries.size();
    if (n < 2)
        return;
    // The bits of a double ordered as unsigned integers: negative values flipped whole, positive
    // ones with the sign bit set.
    const auto a = std::make_unique_for_overwrite<Keyed[]>(n);
    std::uint64_t low = ~std::uint64_t{0};
    std::uint64_t high = 0;
    for (std::size_t i = 0; i < n; ++i) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &entries[i].time, sizeof bits);
        bits = (bits >> 63) ? ~bits : bits | (std::uint64_t{1} << 63);
        a[i] = {bits, entries[i].item};
        low = std::min(low, bits);
        high = std::max(high, bits);
    }
    if (low == high)
        return; // all at the same time: the order stays
    // One counting pass over the top sixteen bits in which the times differ puts them into up to
    // 65,536 buckets, in order and stably; the few times within a bucket are then sorted by all
    // their bits.
    const int width = std::bit_width(high - low);
    const int shift = width > 16 ? width - 16 : 0;
    const std::size_t buckets = static_cast<std::size_t>((high - low) >> shift) + 1;
    std::vector<std::uint32_t> start(buckets + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
        ++start[((a[i].first - low) >> shift) + 1];
    for (std::size_t k = 1; k <= buckets; ++k)
        start[k] += start[k - 1];
    const auto b = std::make_unique_for_overwrite<Keyed[]>(n);
    {
        std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
        for (std::size_t i = 0; i < n; ++i)
            b[next[(a[i].first - low) >> shift]++] = a[i];
    }
    const auto earlier = [](const Keyed& x, const Keyed& y) { return x.first < y.first; };
    for (std::size_t k = 0; k < buckets; ++k) {
        Keyed* first = b.get() + start[k];
        Keyed* last = b.get() + start[k + 1];
        if (last - first <= 1 || shift == 0)
            continue; // a bucket of one time
        if (last - first <= 32) {
            for (Keyed* i = first + 1; i < last; ++i) {
                const Keyed value = *i;
                Keyed* j = i;
                for (; j > first && earlier(value, *(j - 1)); --j)
                    *j = *(j - 1);
                *j = value;
            }
        } else {
            std::stable_sort(first, last, earlier);
        }
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t bits = (b[i].first >> 63) ? b[i].first & ~(std::uint64_t{1} << 63) : ~b[i].first;
        double time = 0;
        std::memcpy(&time, &bits, sizeof time);
        entries[i] = {time, b[i].second};
    }
}

} // namespace vendle
