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

// Sorts by key bytes (a shorter key first when it is a prefix of a longer one). Not stable.
void sortByKeys(std::vector<KeyedPointer>& entries);

} // namespace vendle
