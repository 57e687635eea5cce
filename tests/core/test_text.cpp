// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text.h"

#include <gtest/gtest.h>

#include <random>

using namespace vendle;

namespace {
const CodePage kSjis = CodePage::cp932();
const CodePage kUtf8 = CodePage::utf8();
// "表" in CP932 is 0x95 0x5C: its trail byte is the backslash.
const std::string kHyou = "\x95\x5C";
// "ソ" in CP932 is 0x83 0x5C; "＼" (fullwidth) is 0x81 0x5F; "	" as trail cannot occur, but 0x40..
} // namespace

TEST(CodePage, LeadBytesAndCharacterLengths) {
    EXPECT_TRUE(kSjis.isLeadByte(0x81));
    EXPECT_TRUE(kSjis.isLeadByte(0x9F));
    EXPECT_TRUE(kSjis.isLeadByte(0xE0));
    EXPECT_TRUE(kSjis.isLeadByte(0xFC));
    EXPECT_FALSE(kSjis.isLeadByte(0x80));
    EXPECT_FALSE(kSjis.isLeadByte(0xA0));
    EXPECT_FALSE(kSjis.isLeadByte(0xDF)); // half-width katakana are single bytes
    EXPECT_FALSE(kSjis.isLeadByte('\\'));

    EXPECT_EQ(kSjis.charLength(kHyou, 0), 2u);
    EXPECT_EQ(kSjis.charLength("\x95", 0), 1u); // lead byte at the end stands alone
    EXPECT_EQ(kUtf8.charLength("日本", 0), 3u);
    EXPECT_EQ(kUtf8.charLength("\xF0\x9F\x98\x80", 0), 4u);
    // A broken UTF-8 sequence never swallows the ASCII byte after it.
    EXPECT_EQ(kUtf8.charLength("\xE6/x", 0), 1u);
    EXPECT_EQ(kUtf8.charLength("a", 5), 0u);
}

TEST(CodePage, CodesetNames) {
    EXPECT_EQ(CodePage::fromCodesetName("UTF-8"), kUtf8);
    EXPECT_EQ(CodePage::fromCodesetName("utf8"), kUtf8);
    EXPECT_EQ(CodePage::fromCodesetName("ANSI_X3.4-1968"), kUtf8);
    EXPECT_EQ(CodePage::fromCodesetName("CP932"), kSjis);
    EXPECT_EQ(CodePage::fromCodesetName("Shift_JIS"), kSjis);
    EXPECT_EQ(CodePage::fromCodesetName("windows-31j"), kSjis);
}

TEST(SplitByChar, PiecesAndCounts) {
    std::vector<std::string> pieces{"stale"};
    EXPECT_EQ(SplitByChar(pieces, "", '\t', kUtf8), 1);
    EXPECT_EQ(pieces, std::vector<std::string>{""});

    EXPECT_EQ(SplitByChar(pieces, "a\tb\t", '\t', kUtf8), 3);
    EXPECT_EQ(pieces, (std::vector<std::string>{"a", "b", ""}));

    EXPECT_EQ(SplitByChar(pieces, "\t\t", '\t', kUtf8), 3);
    EXPECT_EQ(pieces, (std::vector<std::string>{"", "", ""}));

    EXPECT_EQ(SplitByChar(pieces, "C:\\Docs\\a.txt\t2026/12/08 10:00:00", '\t', kSjis), 2);
    EXPECT_EQ(pieces[0], "C:\\Docs\\a.txt");
    EXPECT_EQ(pieces[1], "2026/12/08 10:00:00");
}

TEST(SplitByChar, TrailByteEqualToSeparatorDoesNotSplit) {
    std::vector<std::string> pieces;
    // Splitting at the backslash: the trail byte of 表 must not count.
    EXPECT_EQ(SplitByChar(pieces, "C:\\" + kHyou + "\\x", '\\', kSjis), 3);
    EXPECT_EQ(pieces, (std::vector<std::string>{"C:", kHyou, "x"}));
    // The same bytes read as UTF-8 (where 0x95 is no lead byte) do split there.
    EXPECT_EQ(SplitByChar(pieces, "C:\\" + kHyou + "\\x", '\\', kUtf8), 4);
    // A lead byte at the very end is kept alone.
    EXPECT_EQ(SplitByChar(pieces, "ab\x95", '\\', kSjis), 1);
    EXPECT_EQ(pieces[0], "ab\x95");
    // UTF-8 multi-byte characters stay whole.
    EXPECT_EQ(SplitByChar(pieces, "報告\t書", '\t', kUtf8), 2);
    EXPECT_EQ(pieces, (std::vector<std::string>{"報告", "書"}));
}

TEST(SplitByChar, ViewsMatchCopies) {
    std::vector<std::string> copies;
    std::vector<std::string_view> views;
    const std::string text = "x\t" + kHyou + "\t\tz";
    EXPECT_EQ(static_cast<std::size_t>(SplitByChar(copies, text, '\t', kSjis)),
              splitViews(views, text, '\t', kSjis));
    ASSERT_EQ(copies.size(), views.size());
    for (std::size_t i = 0; i < copies.size(); ++i)
        EXPECT_EQ(copies[i], views[i]);
}

TEST(PosNoCase, FindsCaseInsensitively) {
    EXPECT_EQ(PosNoCase("C:\\Docs\\Report.TXT", "report", kSjis), 9u);
    EXPECT_EQ(PosNoCase("/home/u/Report.TXT", "txt", kUtf8), 16u);
    EXPECT_EQ(PosNoCase("abc", "", kUtf8), 1u);
    EXPECT_EQ(PosNoCase("", "", kUtf8), 1u);
    EXPECT_EQ(PosNoCase("", "a", kUtf8), 0u);
    EXPECT_EQ(PosNoCase("ab", "abc", kUtf8), 0u);
    EXPECT_EQ(PosNoCase("abc", "x", kUtf8), 0u);
    EXPECT_EQ(PosNoCase("aaa", "AA", kUtf8), 1u);
    EXPECT_EQ(PosNoCase("/文書/報告書.txt", "報告", kUtf8), 9u);
}

TEST(PosNoCase, NeverMatchesInsideADoubleByteCharacter) {
    // 0x83 0x5C is "ソ"; searching for "\" must skip its trail byte and find the real one.
    const std::string text = std::string("\x83\x5C") + "\\";
    EXPECT_EQ(PosNoCase(text, "\\", kSjis), 3u);
    // 0x82 0x61 is a double-byte character whose trail byte is 'a': it must neither match "a" nor
    // be folded so that it matches the different character 0x82 0x41.
    const std::string dbcs = "\x82\x61";
    EXPECT_EQ(PosNoCase(dbcs, "a", kSjis), 0u);
    EXPECT_EQ(PosNoCase(dbcs, "A", kSjis), 0u);
    EXPECT_EQ(PosNoCase(dbcs, "\x82\x41", kSjis), 0u);
    EXPECT_EQ(PosNoCase("x" + dbcs, dbcs, kSjis), 2u);
}

// The search looks at many start positions at once and finishes with a block that overlaps the
// one before; compared with a plain position-by-position search on texts of every length around
// those blocks, with bytes chosen to trip up case folding ('@' and '`' are one bit from 'A' and
// 'a', '[' and '{' from 'Z' and 'z') and UTF-8 characters.
TEST(PosNoCase, AgreesWithAPlainSearchAtEveryLengthAndPosition) {
    const auto fold = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    const auto plain = [&](std::string_view h, std::string_view n) -> std::size_t {
        for (std::size_t at = 0; at + n.size() <= h.size(); ++at) {
            std::size_t k = 0;
            while (k < n.size() && fold(h[at + k]) == fold(n[k]))
                ++k;
            if (k == n.size())
                return at + 1;
        }
        return 0;
    };
    const std::vector<std::string> pieces = {"a", "A", "b", "B", "@", "`",        "[",
                                             "{", "z", "Z", "/", ".", "\xC3\xA4", "\xE5\xA0\xB1"};
    std::mt19937 rng(7);
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string haystack;
        const std::size_t length = rng() % 48;
        while (haystack.size() < length)
            haystack += pieces[rng() % 4 == 0 ? rng() % pieces.size() : rng() % 4];
        std::string needle;
        if (rng() % 2 == 0 && !haystack.empty()) {
            // A piece of the text itself, its case changed here and there.
            const std::size_t from = rng() % haystack.size();
            needle = haystack.substr(from, 1 + rng() % 6);
            for (char& c : needle) {
                if (rng() % 3 != 0)
                    continue;
                if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 32);
                else if (c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c + 32);
            }
        } else {
            const std::size_t n = 1 + rng() % 4;
            while (needle.size() < n)
                needle += pieces[rng() % pieces.size()];
        }
        const std::size_t expected = plain(haystack, needle);
        ASSERT_EQ(PosNoCase(haystack, needle, kUtf8), expected) << haystack << " / " << needle;
        found += expected != 0;
    }
    EXPECT_GT(found, 5000); // both outcomes were well exercised
    EXPECT_LT(found, 15000);
}

TEST(UpperSingleByte, LeavesMultiByteAlone) {
    EXPECT_EQ(upperSingleByte("abc.Txt", kUtf8), "ABC.TXT");
    EXPECT_EQ(upperSingleByte("\x82\x61"
                              "a",
                              kSjis),
              "\x82\x61"
              "A");
    EXPECT_EQ(upperSingleByte("ä", kUtf8), "ä");
}
