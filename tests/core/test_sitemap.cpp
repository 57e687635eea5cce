// SPDX-License-Identifier: GPL-3.0-or-later
// The help file's table of contents: nesting, titles with character references, and damaged or
// hostile texts that still give a bounded tree.
#include "core/sitemap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace vendle;

namespace {

std::string item(const std::string& name, const std::string& local = "") {
    std::string s = "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name + "\">";
    if (!local.empty())
        s += "<param name='Local' value='" + local + "'>";
    return s + "</OBJECT>\n";
}

} // namespace

TEST(Sitemap, NestedListsTitlesAndPages) {
    const std::string text =
        "<html><!-- <ul><li><object type=\"text/sitemap\"> --><body><ul>" + item("目次", "index.htm") +
        "<ul>" + item("a &amp; b &#x3042;&#12354;", "a.htm") + item("b", "b.htm") + "</ul>" +
        item("設定", "Option.htm") +
        "<li><object type=\"text/other\"><param name=\"Name\" value=\"not a page\"></object>" +
        "<li><object type=\"text/sitemap\"><param name=\"Local\" value=\"untitled.htm\"></object>"
        "</ul></body></html>";
    const std::vector<SitemapEntry> toc = parseSitemap(text);
    ASSERT_EQ(toc.size(), 2u);
    EXPECT_EQ(toc[0].name, "目次");
    EXPECT_EQ(toc[0].local, "index.htm");
    ASSERT_EQ(toc[0].children.size(), 2u);
    EXPECT_EQ(toc[0].children[0].name, "a & b \xE3\x81\x82\xE3\x81\x82");
    EXPECT_EQ(toc[0].children[1].local, "b.htm");
    EXPECT_EQ(toc[1].name, "設定");
    EXPECT_TRUE(toc[1].children.empty());
}

TEST(Sitemap, DamagedAndHostileTextsGiveABoundedTree) {
    EXPECT_TRUE(parseSitemap("").empty());
    EXPECT_TRUE(
        parseSitemap("<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"cut").empty());
    // Entries outside any list still count; a bad reference stays as it is.
    const auto loose = parseSitemap(item("&#xZZ; &bogus; &#0;"));
    ASSERT_EQ(loose.size(), 1u);
    EXPECT_EQ(loose[0].name, "&#xZZ; &bogus; \xEF\xBF\xBD");
    // Lists nested far too deep stay at the deepest level allowed.
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<ul>" + item("x");
    const std::vector<SitemapEntry> nested = parseSitemap(deep);
    ASSERT_EQ(nested.size(), 1u);
    int depth = 0;
    for (const std::vector<SitemapEntry>* level = &nested[0].children; !level->empty();
         level = &level->front().children)
        ++depth;
    EXPECT_LT(depth, kSitemapDepth);
    std::string many = "<ul>";
    for (int i = 0; i < kSitemapEntries + 50; ++i)
        many += item("e");
    EXPECT_EQ(parseSitemap(many).size(), static_cast<std::size_t>(kSitemapEntries));
}

namespace {

// The levels of a tree: the top list is level 1.
int levels(const std::vector<SitemapEntry>& entries) {
    int deepest = 0;
    for (const SitemapEntry& e : entries)
        deepest = std::max(deepest, 1 + levels(e.children));
    return deepest;
}

} // namespace

// A damaged file the fuzzer made: 33 lists deep, it gives a tree of the allowed 32 levels.
TEST(Sitemap, AFileNestedOneLevelTooDeepStaysWithinTheBound) {
    std::ifstream in(std::filesystem::path(VENDLE_TEST_DATA) / "sitemap" / "sitemap-depth-33.hhc",
                     std::ios::binary);
    ASSERT_TRUE(in);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    const std::vector<SitemapEntry> tree = parseSitemap(text);
    EXPECT_EQ(levels(tree), kSitemapDepth);
    std::string exact;
    for (int i = 0; i < kSitemapDepth + 1; ++i)
        exact += "<ul>" + item("level");
    EXPECT_EQ(levels(parseSitemap(exact)), kSitemapDepth);
}
