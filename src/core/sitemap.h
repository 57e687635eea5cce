// SPDX-License-Identifier: GPL-3.0-or-later
// The table of contents of a compiled help file: the sitemap text (".hhc") as a tree of titled
// pages. The text is untrusted input: any bytes give some tree, never a crash, and its size is
// bounded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vendle {

struct SitemapEntry {
    std::string name;  // the title shown
    std::string local; // the page inside the help file ("index.htm"); may be empty
    std::vector<SitemapEntry> children;
};

// The entries of the outermost list, each with the entries of the lists nested in it. Lists nest
// at most `kSitemapDepth` deep; at most `kSitemapEntries` entries are read.
inline constexpr int kSitemapDepth = 32;
inline constexpr int kSitemapEntries = 10'000;
std::vector<SitemapEntry> parseSitemap(std::string_view text);

} // namespace vendle
