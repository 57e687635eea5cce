// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/history.h"
#include "historyprobe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <random>
#include <stdexcept>

using namespace vendle;

namespace {

// A shell that knows what the test tells it and counts its queries.
class FakeShell final : public ShellQuery {
public:
    std::map<std::string, ShellFileInfo> known;
    int queries = 0;

    ShellFileInfo queryFileInfo(const std::string& path) override {
        ++queries;
        const auto it = known.find(path);
        return it == known.end() ? ShellFileInfo{} : it->second;
    }
};

std::vector<std::string> viewPaths(HistoryList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ViewCount(); ++i)
        out.emplace_back(list.ViewItem(i).Path);
    return out;
}

void showAll(HistoryList& list) {
    std::vector<const HistoryItem*> all;
    for (int i = 0; i < list.ItemCount(); ++i)
        all.push_back(&list.Item(i));
    test::HistoryProbe::setView(list, std::move(all));
}

// Orders texts backwards by byte (keys are the complemented bytes plus an end marker above every
// complemented byte, so that a prefix sorts after its longer texts). Copies of it count the keys
// they made, and one may be told to fail.
class BackwardsCollator final : public Collator {
public:
    explicit BackwardsCollator(std::atomic<int>& copies, bool clonable = true, int failAfter = -1)
        : copies_(copies), clonable_(clonable), failAfter_(failAfter) {}

    int compare(std::string_view a, std::string_view b) const override { return b.compare(a); }
    std::string sortKey(std::string_view text) const override {
        std::string key;
        appendSortKey(text, key);
        return key;
    }
    void appendSortKey(std::string_view text, std::string& out) const override {
        if (failAfter_ >= 0 && made_++ >= failAfter_)
            throw std::runtime_error("no key");
        for (char c : text)
            out.push_back(static_cast<char>(~static_cast<unsigned char>(c) & 0x7F));
        out.push_back('\x7F');
    }
    std::unique_ptr<Collator> clone() const override {
        if (!clonable_)
            return nullptr;
        ++copies_;
        return std::make_unique<BackwardsCollator>(copies_, true, failAfter_);
    }

private:
    std::atomic<int>& copies_;
    bool clonable_;
    int failAfter_;
    mutable int made_ = 0;
};

class HistoryTest : public ::testing::Test {
protected:
    FakeShell shell;
    HistoryList list{PathSyntax::posix(), shell};
    ByteCollator bytes;

    const HistoryItem* add(const std::string& path, DateTime when) { return list.AddItem(path, when); }
};

} // namespace

TEST_F(HistoryTest, AddItemTakesTheShellsAnswerOrFallsBack) {
    shell.known["/d/report.odt"] = {false, "OpenDocument テキスト", 7};
    shell.known["/d/sub"] = {true, "フォルダー", 3};

    const HistoryItem* odt = list.AddItem("/d/report.odt");
    ASSERT_NE(odt, nullptr);
    EXPECT_EQ(odt->TypeName(), "OpenDocument テキスト");
    EXPECT_EQ(odt->IconIndex, 7);
    EXPECT_EQ(odt->LastUsed, 0.0);

    EXPECT_EQ(list.AddItem("/d/notes.txt")->TypeName(), "TXT ファイル");
    EXPECT_EQ(list.AddItem("/d/Makefile")->TypeName(), " ファイル");
    EXPECT_EQ(list.AddItem("/d/data.tar.Gz")->TypeName(), "GZ ファイル");
    EXPECT_EQ(list.AddItem("/d/報告.データ")->TypeName(), "データ ファイル");

    EXPECT_EQ(list.AddItem("/d/sub"), nullptr);
    EXPECT_EQ(list.ItemCount(), 5);
    EXPECT_EQ(list.Item(0).Path, "/d/report.odt");
    EXPECT_EQ(list.Item(4).Path, "/d/報告.データ");
}

TEST_F(HistoryTest, WindowsPathsUseTheirOwnSyntaxForTypeNames) {
    HistoryList win(PathSyntax::windows(), shell);
    EXPECT_EQ(win.AddItem("C:\\Work.d\\README")->TypeName(), " ファイル");
    EXPECT_EQ(win.AddItem("C:\\Work\\a.txt")->TypeName(), "TXT ファイル");
}

TEST_F(HistoryTest, PathsTheDataFileCannotHoldAreRefused) {
    for (const std::string& bad : {std::string(), std::string("/d/a\tb.txt"), std::string("/d/a\nb.txt"),
                                   std::string("/d/a\rb.txt"), std::string("/d/a\0b.txt", 9)}) {
        EXPECT_EQ(list.AddItem(bad), nullptr);
    }
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_EQ(shell.queries, 0);
}

TEST_F(HistoryTest, PathsAreComparedByteForByte) {
    add("/d/A.TXT", 1);
    add("/d/a.txt", 2);
    add("/d/a.txt", 3); // AddItem itself does not look for duplicates
    EXPECT_EQ(list.ItemCount(), 3);
    EXPECT_EQ(list.indexOfPath("/d/a.txt"), 1);
    EXPECT_EQ(list.indexOfPath("/d/A.TXT"), 0);
    EXPECT_EQ(list.indexOfPath("/d/a.TXT"), -1);
}

TEST_F(HistoryTest, CapacityStartsAt256AndGrowsIn128Steps) {
    EXPECT_EQ(list.capacity(), 256u);
    for (int i = 0; i < 256; ++i)
        add("/d/" + std::to_string(i), i);
    EXPECT_EQ(list.capacity(), 256u);
    add("/d/more", 0);
    EXPECT_EQ(list.capacity(), 384u);

    // Ten thousand adds take few reallocations, so the run stays linear.
    FakeShell other;
    HistoryList big(PathSyntax::posix(), other);
    std::size_t growths = 0;
    std::size_t last = big.capacity();
    for (int i = 0; i < 10'000; ++i) {
        big.AddItem("/d/" + std::to_string(i));
        if (big.capacity() != last) {
            ++growths;
            last = big.capacity();
        }
    }
    EXPECT_LT(growths, 30u);
}

TEST_F(HistoryTest, PresizeIsBoundedByTheLimitAndTheHistorysMaximum) {
    list.presize(1000, 5000);
    EXPECT_GE(list.capacity(), 1000u);
    EXPECT_LT(list.capacity(), 2000u);

    FakeShell s2;
    HistoryList hostile(PathSyntax::posix(), s2);
    hostile.presize(2'000'000'000, SIZE_MAX);
    EXPECT_LE(hostile.capacity(), static_cast<std::size_t>(kDataMaxMax));
    HistoryList fewLines(PathSyntax::posix(), s2);
    fewLines.presize(2'000'000'000, 10);
    EXPECT_EQ(fewLines.capacity(), 256u); // never shrinks below the initial capacity
    fewLines.presize(-5, 10);
    EXPECT_EQ(fewLines.capacity(), 256u);
}

TEST_F(HistoryTest, MoveToEndAndTrimDropTheOldest) {
    for (int i = 0; i < 5; ++i)
        add("/d/" + std::to_string(i), i);
    list.moveToEnd(1);
    std::vector<std::string> order;
    for (int i = 0; i < list.ItemCount(); ++i)
        order.emplace_back(list.Item(i).Path);
    EXPECT_EQ(order, (std::vector<std::string>{"/d/0", "/d/2", "/d/3", "/d/4", "/d/1"}));

    showAll(list);
    EXPECT_EQ(list.trimToMax(10), 0);
    EXPECT_EQ(list.ViewCount(), 5); // nothing dropped, view untouched
    EXPECT_EQ(list.trimToMax(2), 3);
    EXPECT_EQ(list.ItemCount(), 2);
    EXPECT_EQ(list.Item(0).Path, "/d/4");
    EXPECT_EQ(list.Item(1).Path, "/d/1");
    EXPECT_EQ(list.ViewCount(), 0); // the view may have pointed at dropped entries
    EXPECT_EQ(list.trimToMax(1), 1);
    EXPECT_EQ(list.Item(0).Path, "/d/1");
}

TEST_F(HistoryTest, ComparatorsAndSortTable) {
    const SortContext ctx{PathSyntax::posix(), &bytes};
    const HistoryItem* a = add("/b/x.txt", 2);
    const HistoryItem* b = add("/a/y.odt", 1);
    EXPECT_LT(CompareName(*a, *b, ctx), 0);
    EXPECT_GT(CompareNameDesc(*a, *b, ctx), 0);
    EXPECT_GT(CompareFolder(*a, *b, ctx), 0);
    EXPECT_GT(CompareType(*a, *b, ctx), 0); // "TXT ファイル" after "ODT ファイル"
    EXPECT_EQ(CompareTime(*a, *b, ctx), 1);
    EXPECT_EQ(CompareTimeDesc(*a, *b, ctx), -1);
    EXPECT_EQ(CompareTime(*a, *a, ctx), 0);
    EXPECT_EQ(CompareNameDesc(*a, *a, ctx), 0);
    EXPECT_GT(CompareFolderName(*a, *b, ctx), 0);

    EXPECT_EQ(SortTable[0][0], nullptr);
    EXPECT_EQ(SortTable[1][0], &CompareName);
    EXPECT_EQ(SortTable[1][1], &CompareNameDesc);
    EXPECT_EQ(SortTable[4][1], &CompareTimeDesc);
    EXPECT_STREQ(ColumnTitles[4], "使用日時");
}

TEST_F(HistoryTest, HeaderClicksChooseColumnAndDirection) {
    add("/c/b.txt", 3);
    add("/a/c.odt", 1);
    add("/b/a.md", 2);
    showAll(list);
    list.sortView(bytes);
    EXPECT_EQ(viewPaths(list), (std::vector<std::string>{"/c/b.txt", "/b/a.md", "/a/c.odt"})); // newest first

    EXPECT_FALSE(list.clickColumn(0, bytes));
    EXPECT_EQ(list.SortColumn, 4);

    // The time column is already sorted descending: a click sorts it oldest first.
    EXPECT_TRUE(list.clickColumn(4, bytes));
    EXPECT_FALSE(list.SortDescending);
    EXPECT_EQ(viewPaths(list), (std::vector<std::string>{"/a/c.odt", "/b/a.md", "/c/b.txt"}));

    EXPECT_TRUE(list.clickColumn(1, bytes));
    EXPECT_EQ(list.SortColumn, 1);
    EXPECT_FALSE(list.SortDescending);
    EXPECT_EQ(viewPaths(list), (std::vector<std::string>{"/b/a.md", "/c/b.txt", "/a/c.odt"}));
    EXPECT_TRUE(list.clickColumn(1, bytes));
    EXPECT_TRUE(list.SortDescending);
    EXPECT_EQ(viewPaths(list), (std::vector<std::string>{"/a/c.odt", "/c/b.txt", "/b/a.md"}));

    EXPECT_TRUE(list.clickColumn(2, bytes));
    EXPECT_EQ(viewPaths(list), (std::vector<std::string>{"/a/c.odt", "/b/a.md", "/c/b.txt"}));
    EXPECT_TRUE(list.clickColumn(3, bytes));
    EXPECT_EQ(viewPaths(list), (std::vector<std::string>{"/b/a.md", "/a/c.odt", "/c/b.txt"}));
}

TEST_F(HistoryTest, TextColumnsSortByTheUsersCollation) {
    add("/d/b.txt", 1);
    add("/d/B.txt", 2);
    add("/d/a.txt", 3);
    add("/d/A.txt", 4);
    showAll(list);
    list.SortColumn = 1;
    list.SortDescending = false;
    list.sortView(bytes);
    EXPECT_EQ(viewPaths(list), (std::vector<std::string>{"/d/A.txt", "/d/B.txt", "/d/a.txt", "/d/b.txt"}));

    LocaleCollator english("en_US.UTF-8");
    if (!english.isLocaleAware())
        GTEST_SKIP() << "en_US.UTF-8 is not installed";
    list.sortView(english);
    // Letters first by alphabet, then lower case before upper case: a case-sensitive collation.
    EXPECT_EQ(viewPaths(list), (std::vector<std::string>{"/d/a.txt", "/d/A.txt", "/d/b.txt", "/d/B.txt"}));
    EXPECT_LT(english.compare("a", "A"), 0);
    EXPECT_NE(english.compare("a", "A"), 0);
    EXPECT_EQ(english.compare("x", "x"), 0);
    list.SortDescending = true;
    list.sortView(english);
    EXPECT_EQ(viewPaths(list), (std::vector<std::string>{"/d/B.txt", "/d/b.txt", "/d/A.txt", "/d/a.txt"}));
}

TEST_F(HistoryTest, EveryByteTheDataFileCannotHoldIsFoundWhereverItSits) {
    // The scan goes sixteen bytes at a time with an overlapping last block: try every length and
    // every position, and bytes from 0x80 up (UTF-8) that must not count as control bytes.
    for (std::size_t length = 1; length <= 70; ++length) {
        std::string path(length, 'a');
        for (std::size_t i = 0; i < length; i += 2)
            path[i] = static_cast<char>(0xE3);
        ASSERT_TRUE(isStorablePath(path)) << length;
        for (std::size_t at = 0; at < length; ++at) {
            for (char bad : {'\t', '\r', '\n', '\0'}) {
                std::string damaged = path;
                damaged[at] = bad;
                EXPECT_FALSE(isStorablePath(damaged)) << length << " " << at << " " << int(bad);
            }
            std::string harmless = path;
            harmless[at] = '\x0b'; // below 14 but allowed
            EXPECT_TRUE(isStorablePath(harmless)) << length << " " << at;
        }
    }
}

TEST_F(HistoryTest, LongViewsSortTheSameOnOneThreadAndOnSeveral) {
    // Enough names that their keys are split among threads where the machine has them; repeated
    // names, folders and types, and ASCII names only (the test collator works on 7-bit text).
    std::mt19937 rng(7);
    for (int i = 0; i < 40'000; ++i) {
        const std::string folder = "/d" + std::to_string(rng() % 50) + "/";
        const std::string name = std::to_string(rng() % 30'000) + "." + std::string(1, char('a' + rng() % 5));
        add(folder + name, i);
    }
    std::map<std::string, std::string> typeOf;
    for (int i = 0; i < list.ItemCount(); ++i)
        typeOf[std::string(list.Item(i).Path)] = list.Item(i).TypeName();
    for (int column = 1; column <= 3; ++column) {
        for (bool desc : {false, true}) {
            std::vector<std::vector<std::string>> results;
            for (bool clonable : {true, false}) {
                std::atomic<int> copies{0};
                BackwardsCollator collator(copies, clonable);
                showAll(list);
                list.SortColumn = column;
                list.SortDescending = desc;
                list.sortView(collator);
                results.push_back(viewPaths(list));
                if (!clonable) {
                    EXPECT_EQ(copies, 0);
                }
            }
            EXPECT_EQ(results[0], results[1]) << column << desc;
            // The order is the collator's: each neighbour pair is in order by the column's text.
            std::atomic<int> unused{0};
            BackwardsCollator collator(unused);
            const auto text = [&](const std::string& path) -> std::string {
                const std::size_t slash = path.rfind('/');
                if (column == 1)
                    return path.substr(slash + 1);
                if (column == 2)
                    return path.substr(0, slash + 1);
                return typeOf[path];
            };
            for (std::size_t i = 1; i < results[0].size(); ++i) {
                const int c = collator.compare(text(results[0][i - 1]), text(results[0][i]));
                ASSERT_TRUE(desc ? c >= 0 : c <= 0)
                    << column << " " << results[0][i - 1] << " " << results[0][i];
            }
        }
    }
}

TEST_F(HistoryTest, AKeyThatCannotBeMadeOnAnotherThreadFailsTheSortAndLeavesTheView) {
    for (int i = 0; i < 40'000; ++i)
        add("/d/" + std::to_string(i) + ".txt", i);
    showAll(list);
    const std::vector<std::string> before = viewPaths(list);
    std::atomic<int> copies{0};
    BackwardsCollator failing(copies, true, 100);
    list.SortColumn = 1;
    EXPECT_THROW(list.sortView(failing), std::runtime_error);
    EXPECT_EQ(viewPaths(list), before);
}
