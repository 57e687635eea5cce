// SPDX-License-Identifier: GPL-3.0-or-later
// The help file's table of contents: whatever the text, a tree comes out within the stated depth
// and number of entries, and every entry has a title.
#include "core/sitemap.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// The entries of one list at `depth` (the top list is 1); an empty list below the deepest level
// is no level of its own.
int check(const std::vector<vendle::SitemapEntry>& entries, int depth) {
    if (!entries.empty() && depth > vendle::kSitemapDepth)
        std::abort();
    int count = 0;
    for (const vendle::SitemapEntry& e : entries) {
        if (e.name.empty())
            std::abort();
        count += 1 + check(e.children, depth + 1);
    }
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (check(vendle::parseSitemap(text), 1) > vendle::kSitemapEntries)
        std::abort();
    return 0;
}
