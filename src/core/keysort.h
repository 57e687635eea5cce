// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting by byte-string keys with a three-way radix quicksort: it looks at each key byte about
// once, which suits collation keys that share long prefixes.
#pragma once

#include <cstdint>
#include <vector>

namespace vendle {

struct KeyedPointer {
    const unsigned char* key;
    std::uint32_t length;
    void* item;
};

// Sorts by key bytes (a shorter key first when it is a prefix of a longer one); entries with equal
// keys in the order of their item addresses.
void sortByKeys(std::vector<KeyedPointer>& entries);

struct TimedPointer {
    double time;
    void* item;
};

// Sorts by time, earliest first and stably: one counting pass by the leading bits in which the times
// differ, then the few times in each bucket by all their bits. NaN times come last.
void sortByTime(std::vector<TimedPointer>& entries);

} // namespace vendle
