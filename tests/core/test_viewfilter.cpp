// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/viewfilter.h"
#include "historyprobe.h"

#include "core/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

using namespace vendle;

namespace {

class TypedShell final : public ShellQuery {
public:
    ShellFileInfo queryFileInfo(const std::string& path) override {
        return {false, path.ends_with(".odt") ? "文書" : "", path.ends_with(".odt") ? 3 : 1};
    }
};

DateTime day(int d, int h = 12) {
    return encodeDate(2026, 12, d) + encodeTime(h, 0, 0, 0);
}

class ViewFilterTest : public ::testing::Test {
protected:
    TypedShell shell;
    HistoryList history{PathSyntax::posix(), shell};
    ByteCollator bytes;

    void SetUp() override {
        add("/w/Work/plan.odt", day(1));
        add("/w/Work/report.txt", day(7, 9));
        add("/w/Home/Report.odt", day(8, 0));
        add("/x/Work/notes.txt", day(8, 23));
        add("/root.txt", day(2));
    }
    void add(const std::string& path, DateTime when) { history.AddItem(path, when); }
    std::vector<std::string> view() {
        std::vector<std::string> out;
        for (int i = 0; i < history.ViewCount(); ++i)
            out.emplace_back(history.ViewItem(i).Path);
        return out;
    }
};

} // namespace

TEST_F(ViewFilterTest, NoFilterShowsAllNewestFirst) {
    ApplyFilter(history, {}, bytes);
    EXPECT_EQ(view(), (std::vector<std::string>{"/x/Work/notes.txt", "/w/Home/Report.odt",
                                                "/w/Work/report.txt", "/root.txt", "/w/Work/plan.odt"}));
    EXPECT_EQ(countLabelText(history.ItemCount(), history.ViewCount(), false), "5個のファイル");
}

TEST_F(ViewFilterTest, EachFilterAndTheirCombination) {
    ViewFilter f;
    f.search = "REPORT";
    ApplyFilter(history, f, bytes);
    EXPECT_EQ(view(), (std::vector<std::string>{"/w/Home/Report.odt", "/w/Work/report.txt"}));
    EXPECT_EQ(countLabelText(5, history.ViewCount(), !f.isEmpty()), "5個のファイル中2個マッチしました。");

    f = {};
    f.search = "work/"; // the search covers the folders too
    ApplyFilter(history, f, bytes);
    EXPECT_EQ(history.ViewCount(), 3);

    f = {};
    f.type = "文書";
    ApplyFilter(history, f, bytes);
    EXPECT_EQ(view(), (std::vector<std::string>{"/w/Home/Report.odt", "/w/Work/plan.odt"}));

    f = {};
    f.folder = "Work"; // folders of the same name in different places
    ApplyFilter(history, f, bytes);
    EXPECT_EQ(history.ViewCount(), 3);

    f = {};
    f.since = encodeDate(2026, 12, 8);
    ApplyFilter(history, f, bytes);
    EXPECT_EQ(view(), (std::vector<std::string>{"/x/Work/notes.txt", "/w/Home/Report.odt"}));

    f.type = "TXT ファイル";
    f.search = "notes";
    ApplyFilter(history, f, bytes);
    EXPECT_EQ(view(), (std::vector<std::string>{"/x/Work/notes.txt"}));

    f.search = "nothing matches";
    ApplyFilter(history, f, bytes);
    EXPECT_EQ(history.ViewCount(), 0);
    EXPECT_EQ(countLabelText(5, 0, true), "5個のファイル中0個マッチしました。");
}

TEST_F(ViewFilterTest, SortFollowsTheSortColumn) {
    history.SortColumn = 1;
    history.SortDescending = false;
    ApplyFilter(history, {}, bytes);
    EXPECT_EQ(view().front(), "/w/Home/Report.odt"); // byte order: capitals first
}

TEST(FilterSince, MidnightOfTodayMinusDays) {
    const DateTime now = encodeDate(2026, 12, 8) + encodeTime(0, 5, 0, 0);
    EXPECT_EQ(filterSinceForDays(0, now), 0.0);
    EXPECT_EQ(filterSinceForDays(1, now), encodeDate(2026, 12, 8));
    EXPECT_EQ(filterSinceForDays(2, now), encodeDate(2026, 12, 7));
    EXPECT_EQ(filterSinceForDays(7, now), encodeDate(2026, 12, 2));
    EXPECT_EQ(filterSinceForDays(31, now), encodeDate(2026, 11, 8));
}

TEST_F(ViewFilterTest, MenuRepresentatives) {
    const auto types = typeRepresentatives(history, bytes);
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0]->TypeName(), "TXT ファイル");
    EXPECT_EQ(types[1]->TypeName(), "文書");
    EXPECT_EQ(types[1]->Path, "/w/Work/plan.odt"); // the first of its type

    const auto folders = folderRepresentatives(history, bytes);
    ASSERT_EQ(folders.size(), 1u); // Home and the root hold one document each
    EXPECT_EQ(folders[0]->Path, "/w/Work/plan.odt");

    // Two documents in roots give an entry with an empty name.
    history.AddItem("/other.txt");
    const auto withRoot = folderRepresentatives(history, bytes);
    ASSERT_EQ(withRoot.size(), 2u);
    EXPECT_EQ(FolderName(withRoot[0]->Path, history.syntax()), "");
}

TEST(ViewFilterNarrowing, AGrowingSearchGivesTheViewARebuildWouldGive) {
    // Typing narrows the sorted view in place; the result must be what a rebuild from Items gives,
    // in every column and direction, also after the list or the other filters change.
    struct Shell final : ShellQuery {
        ShellFileInfo queryFileInfo(const std::string&) override { return {}; }
    } shell;
    HistoryList history(PathSyntax::posix(), shell);
    std::mt19937 rng(4);
    const char* const words[] = {"Report", "report", "plan", "Plan", "議事録", "notes"};
    for (int i = 0; i < 3000; ++i) {
        const std::string path = "/d" + std::to_string(rng() % 20) + "/" + words[rng() % 6] +
                                 std::to_string(rng() % 300) + (rng() % 2 ? ".txt" : ".odt");
        history.AddItem(path, 46000 + rng() % 40); // many equal times
    }
    ByteCollator collator;
    const auto rebuilt = [&](const ViewFilter& filter) {
        test::HistoryProbe::forgetViewBasis(history);
        ApplyFilter(history, filter, collator);
        return history.filteredView();
    };
    for (int column = 1; column <= 4; ++column) {
        for (bool desc : {false, true}) {
            history.SortColumn = column;
            history.SortDescending = desc;
            ViewFilter filter;
            filter.type = column == 3 ? "TXT ファイル" : "";
            ApplyFilter(history, filter, collator);
            for (const std::string search : {"r", "RE", "rep", "repo", "report1", "report12x"}) {
                filter.search = search;
                ApplyFilter(history, filter, collator);
                const std::vector<const HistoryItem*> narrowed = history.filteredView();
                EXPECT_EQ(narrowed, rebuilt(filter)) << column << desc << " " << search;
                ApplyFilter(history, filter, collator); // the same search again: nothing moves
                EXPECT_EQ(history.filteredView(), narrowed);
            }
            // A shorter search, a new entry and another type filter all rebuild.
            filter.search = "rep";
            ApplyFilter(history, filter, collator);
            EXPECT_EQ(history.filteredView(), rebuilt(filter));
            history.AddItem("/d1/Report-new.txt", 46001);
            filter.search = "repo";
            ApplyFilter(history, filter, collator);
            EXPECT_NE(
                std::find_if(history.filteredView().begin(), history.filteredView().end(),
                             [](const HistoryItem* item) { return item->Path == "/d1/Report-new.txt"; }),
                history.filteredView().end());
            EXPECT_EQ(history.filteredView(), rebuilt(filter));
            filter.type = "ODT ファイル";
            filter.search = "repor";
            ApplyFilter(history, filter, collator);
            EXPECT_EQ(history.filteredView(), rebuilt(filter));
        }
    }
    // Header clicks re-sort the view with equal keys in their previous order; typing after them
    // must still give what a rebuild gives.
    ViewFilter filter;
    filter.search = "p";
    ApplyFilter(history, filter, collator);
    history.clickColumn(1, collator);
    history.clickColumn(4, collator);
    history.clickColumn(4, collator);
    filter.search = "pl";
    ApplyFilter(history, filter, collator);
    const std::vector<const HistoryItem*> afterClicks = history.filteredView();
    EXPECT_EQ(afterClicks, rebuilt(filter));
}

namespace {

// Orders texts backwards by byte: each byte becomes 1 and its complement, and the end 2, so that a
// text sorts after the longer texts it begins.
class BackwardsCollator final : public Collator {
public:
    int compare(std::string_view a, std::string_view b) const override { return b.compare(a); }
    std::string sortKey(std::string_view text) const override {
        std::string key;
        for (char c : text) {
            key.push_back('\x01');
            key.push_back(static_cast<char>(0xFF - static_cast<unsigned char>(c)));
        }
        key.push_back('\x02');
        return key;
    }
};

// Byte order or backwards, as made: a collator that replaces another in the same place.
class EitherWayCollator final : public Collator {
public:
    explicit EitherWayCollator(bool backwards) : backwards_(backwards) {}
    bool backwards() const { return backwards_; }
    int compare(std::string_view a, std::string_view b) const override {
        return backwards_ ? back_.compare(a, b) : bytes_.compare(a, b);
    }
    std::string sortKey(std::string_view text) const override {
        return backwards_ ? back_.sortKey(text) : bytes_.sortKey(text);
    }

private:
    bool backwards_;
    ByteCollator bytes_;
    BackwardsCollator back_;
};

} // namespace

// Views are taken out of the whole list kept in the sort column's order, and that order is kept
// until the list changes. Whatever happens in between, the view must be what a stable sort of the
// shown entries gives, and a header click must sort the view it finds.
TEST(ViewFromSortedWhole, EqualsAStableSortOfTheShownEntriesThroughEveryChange) {
    struct Shell final : ShellQuery {
        ShellFileInfo queryFileInfo(const std::string&) override { return {}; }
    } shell;
    HistoryList history(PathSyntax::posix(), shell);
    std::mt19937 rng(11);
    const char* const names[] = {"Report", "report", "plan", "議事録", "b", "B"};
    const char* const extensions[] = {".txt", ".odt", ".pdf", ""};
    const auto randomPath = [&] {
        return "/d" + std::to_string(rng() % 7) + "/s" + std::to_string(rng() % 3) + "/" + names[rng() % 6] +
               std::to_string(rng() % 40) + extensions[rng() % 4];
    };
    for (int i = 0; i < 1500; ++i)
        history.AddItem(randomPath(), 46000 + rng() % 30);
    ByteCollator bytes;
    BackwardsCollator backwards;
    std::optional<EitherWayCollator> inPlace(std::in_place, false);
    const Collator* collator = &bytes;
    ViewFilter filter;

    const auto sortedLikeAStableSort = [&](std::vector<const HistoryItem*> entries) {
        const SortContext ctx{history.syntax(), collator};
        const Comparator ascending = SortTable[history.SortColumn][0];
        if (ascending) {
            std::stable_sort(entries.begin(), entries.end(), [&](const HistoryItem* a, const HistoryItem* b) {
                return ascending(*a, *b, ctx) < 0;
            });
            if (history.SortDescending)
                std::reverse(entries.begin(), entries.end());
        }
        return entries;
    };
    const auto expectedView = [&] {
        std::vector<const HistoryItem*> shown;
        for (int i = 0; i < history.ItemCount(); ++i) {
            const HistoryItem& item = history.Item(i);
            if (PosNoCase(item.Path, filter.search, history.syntax().codePage) == 0 ||
                item.LastUsed < filter.since)
                continue;
            if ((!filter.type.empty() && item.TypeName() != filter.type) ||
                (!filter.folder.empty() && FolderName(item.Path, history.syntax()) != filter.folder))
                continue;
            shown.push_back(&item);
        }
        return sortedLikeAStableSort(shown);
    };
    const char* const searches[] = {"", "r", "re", "rep", "p", "1", "議", "s1/b"};
    for (int round = 0; round < 400; ++round) {
        switch (rng() % 8) {
        case 0:
            history.AddItem(randomPath(), 46000 + rng() % 30);
            break;
        case 1:
            history.touch(static_cast<int>(rng() % static_cast<unsigned>(history.ItemCount())),
                          46000 + rng() % 30);
            break;
        case 2:
            history.trimToMax(history.ItemCount() - static_cast<int>(rng() % 3));
            break;
        case 3: {
            const std::vector<const HistoryItem*> before = history.filteredView();
            if (history.clickColumn(static_cast<int>(rng() % 5), *collator)) {
                ASSERT_EQ(history.filteredView(), sortedLikeAStableSort(before)) << "round " << round;
            }
            break;
        }
        case 4:
            if (rng() % 2) {
                collator = collator == &bytes ? static_cast<const Collator*>(&backwards) : &bytes;
            } else {
                // Another collation made where the last one was: only its generation tells them apart.
                const EitherWayCollator previous = *inPlace;
                inPlace.reset();
                inPlace.emplace(!previous.backwards());
                collator = &*inPlace;
            }
            break;
        case 5:
            filter.type = rng() % 2 ? "" : (rng() % 2 ? "TXT ファイル" : " ファイル");
            filter.folder = rng() % 3 ? "" : "s1";
            filter.since = rng() % 3 ? 0 : 46000 + rng() % 30;
            break;
        default:
            filter.search = searches[rng() % 8];
            break;
        }
        ApplyFilter(history, filter, *collator);
        ASSERT_EQ(history.filteredView(), expectedView())
            << "round " << round << ", column " << history.SortColumn
            << (history.SortDescending ? " desc" : "");
    }
}
