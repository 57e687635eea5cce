// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/recentscan.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace vendle;

namespace {

class NoShell final : public ShellQuery {
public:
    std::set<std::string> folders;
    ShellFileInfo queryFileInfo(const std::string& path) override { return {folders.count(path) > 0, "", 0}; }
};

// A listing the test writes; each entry resolves through a table, and "!" entries fail.
class FakeSource final : public RecentSource {
public:
    std::vector<RecentEntry> entries;
    std::map<std::string, std::string> targets;
    bool listable = true;
    int resolved = 0;

    std::vector<std::string> locations() const override { return {"/recent"}; }
    bool list(std::vector<RecentEntry>& out) override {
        out = entries;
        return listable;
    }
    ResolvedEntry resolve(const RecentEntry& e) override {
        ++resolved;
        if (e.name == "!")
            throw ShortcutError(__FILE__, __LINE__, "Resolve Error");
        const auto it = targets.find(e.name);
        ResolvedEntry resolved(it == targets.end() ? std::string() : it->second);
        if (resolved.path.empty() && missing.count(e.name) != 0)
            resolved.missing = missing.at(e.name);
        return resolved;
    }
    std::map<std::string, std::string> missing; // entries whose file is not there
};

class ScanTest : public ::testing::Test {
protected:
    // The tests count in local Unix seconds; TZ=UTC keeps local equal to UTC.
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        imports.begin({}, std::nullopt); // an empty listing at the start
    }
    NoShell shell;
    HistoryList history{PathSyntax::posix(), shell};
    FakeSource source;
    RecentImports imports;
    const std::int64_t t0 = 1'796'688'000; // 2026-12-08 00:00:00
    DateTime lastScan = fromUnixTime(t0);

    void entry(const std::string& name, std::int64_t t, const std::string& target, std::int32_t nanos = 0) {
        source.entries.push_back({name, t, nanos});
        if (!target.empty())
            source.targets[name] = target;
    }
    ScanResult scan(std::int64_t start, int dataMax = 100) {
        return scanRecent(history, source, imports, lastScan, fromUnixTime(start), dataMax);
    }
    std::vector<std::string> paths() {
        std::vector<std::string> out;
        for (int i = 0; i < history.ItemCount(); ++i)
            out.emplace_back(history.Item(i).Path);
        return out;
    }
};

} // namespace

TEST_F(ScanTest, OnlyEntriesRecordedSinceTheyWereLastExaminedAreResolved) {
    entry("old.desktop", t0 - 100, "/d/old.txt");
    entry("same.desktop", t0, "/d/same.txt");
    imports.begin(source.entries, std::nullopt); // listed when watching began
    entry("new.desktop", t0 + 11, "/d/new.txt");
    entry("gone.desktop", t0 + 12, "");
    const ScanResult r = scan(t0 + 20);
    EXPECT_EQ(source.resolved, 2);
    EXPECT_EQ(r.examined, 2);
    EXPECT_EQ(r.added, 1);
    EXPECT_EQ(paths(), std::vector<std::string>{"/d/new.txt"});
    // The time is the entry's, rounded down to an even second, not the scan's.
    EXPECT_DOUBLE_EQ(history.Item(0).LastUsed, fromUnixTime(t0 + 10));
    EXPECT_DOUBLE_EQ(lastScan, fromUnixTime(t0 + 20));

    // A second scan finds nothing new but still advances the scan time.
    source.resolved = 0;
    scan(t0 + 30);
    EXPECT_EQ(source.resolved, 0);
    EXPECT_DOUBLE_EQ(lastScan, fromUnixTime(t0 + 30));

    // Recorded again, even with an older time than the scan's: examined again.
    source.entries[0].unixTime = t0 + 25;
    scan(t0 + 40);
    EXPECT_EQ(source.resolved, 1);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/d/new.txt", "/d/old.txt"}));
}

// A document recorded while its volume is away comes in as unavailable with the record's time, and
// stays in when the volume comes back; one that is simply gone is passed over.
TEST_F(ScanTest, ADocumentOnAVolumeThatIsAwayIsTakenInAsUnavailable) {
    entry("stick.desktop", t0 + 10, "");
    source.missing["stick.desktop"] = "/media/u/stick/x.txt";
    entry("gone.desktop", t0 + 12, "");
    source.missing["gone.desktop"] = "/home/u/deleted.txt";
    entry("known.desktop", t0 + 14, "");
    source.missing["known.desktop"] = "/media/u/stick/known.txt";
    history.addKnown("/media/u/stick/known.txt", fromUnixTime(t0 - 100), false);
    const auto away = [](const std::string& path) { return path.rfind("/media/u/stick/", 0) == 0; };
    const ScanResult r = applyScan(history, source, imports, planScan(source, imports), lastScan,
                                   fromUnixTime(t0 + 20), 100, {}, {}, away);
    EXPECT_EQ(r.added, 1);
    EXPECT_EQ(r.moved, 1);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/media/u/stick/x.txt", "/media/u/stick/known.txt"}));
    EXPECT_TRUE(history.Item(0).Unavailable);
    EXPECT_DOUBLE_EQ(history.Item(0).LastUsed, fromUnixTime(t0 + 10));
    EXPECT_TRUE(history.Item(1).Unavailable); // used again while away: newest, still away
    EXPECT_DOUBLE_EQ(history.Item(1).LastUsed, fromUnixTime(t0 + 14));
}

TEST_F(ScanTest, EntriesPresentAtTheStartAreNotImportedButTheirNextUseIs) {
    entry("a", t0 + 5, "/d/a");
    entry("b", t0 + 5, "/d/b", 500);
    imports.begin(source.entries, std::nullopt); // both were there when watching began
    entry("c", t0 + 5, "/d/c", 900);             // recorded in the same second, after the start
    scan(t0 + 6);
    EXPECT_EQ(paths(), std::vector<std::string>{"/d/c"});
    source.entries[1].nanos = 501; // b used again: only its finer time changed
    scan(t0 + 6);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/d/c", "/d/b"}));
}

TEST_F(ScanTest, WhatWasRecordedSinceTheSavedListingIsImportedAtStart) {
    entry("before", t0 + 5, "/d/before"); // taken in by the earlier run, and saved with its history
    imports.begin(source.entries, std::nullopt);
    const std::optional<std::vector<RecentImports::Identity>> saved =
        identitiesFromText(identitiesText(imports.identities()));
    ASSERT_TRUE(saved);
    entry("stopped", t0 + 50, "/d/stopped"); // recorded while the program was not running
    // A run that was killed before it saved changes nothing: the next one starts from the same
    // saved listing and takes the document in.
    for (int run = 0; run < 2; ++run) {
        history.clear();
        imports.begin(source.entries, saved);
        scan(t0 + 101);
        EXPECT_EQ(paths(), std::vector<std::string>{"/d/stopped"});
    }
    // An older version's settings: what was recorded after its last look.
    history.clear();
    imports.begin(source.entries, std::nullopt, RecentEntry::Stamp{t0 + 10, 0});
    scan(t0 + 101);
    EXPECT_EQ(paths(), std::vector<std::string>{"/d/stopped"});
    // Without either, nothing from before the start.
    history.clear();
    imports.begin(source.entries, std::nullopt);
    scan(t0 + 101);
    EXPECT_EQ(history.ItemCount(), 0);
    // Text that is no saved listing is none.
    EXPECT_FALSE(identitiesFromText("Vendle recent identities 1\nzz\n"));
    EXPECT_FALSE(identitiesFromText(""));
}

TEST_F(ScanTest, AnEntryStampedInTheFutureHidesNothing) {
    // Two days ahead (clock skew, a resumed virtual machine), then gone from the listing: entries
    // recorded afterwards at today's time are still new.
    entry("skewed", t0 + 2 * 86'400, "/d/skewed");
    scan(t0 + 10);
    source.entries.clear();
    scan(t0 + 20);
    entry("today", t0 + 30, "/d/today");
    scan(t0 + 40);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/d/skewed", "/d/today"}));
    EXPECT_LE(imports.size(), source.entries.size()); // no more than the listing is kept
}

TEST(Stamp, TextRoundTrip) {
    const RecentEntry::Stamp s{1'796'716'694, 500'179'000};
    EXPECT_EQ(stampText(s), "1796716694.500179000");
    EXPECT_EQ(stampFromText(stampText(s)), s);
    for (const char* bad : {"", "1796716694", "1796716694.5", "x.000000000", "1.-00000001", "1.0000000001"})
        EXPECT_FALSE(stampFromText(bad).has_value()) << bad;
}

TEST_F(ScanTest, AnEntryRecordedWhileAScanRunsIsTakenByTheNext) {
    // The scan began at t0 + 101.5; the entry was recorded at t0 + 101.7, too late for its listing.
    entry("x.desktop", t0 + 101, "/d/x.txt", 700'000'000);
    const std::vector<RecentEntry> all = source.entries;
    source.entries.clear();
    scan(t0 + 101);
    EXPECT_EQ(history.ItemCount(), 0);
    source.entries = all;
    scan(t0 + 102);
    EXPECT_EQ(paths(), std::vector<std::string>{"/d/x.txt"});
    EXPECT_DOUBLE_EQ(history.Item(0).LastUsed, fromUnixTime(t0 + 100));
    scan(t0 + 104); // and only once
    EXPECT_EQ(source.resolved, 1);
}

TEST_F(ScanTest, ASourceGoneForAWhileAndBackUnchangedAddsNothing) {
    entry("a", t0 + 10, "/d/a");
    entry("b", t0 + 12, "/d/b");
    scan(t0 + 20);
    ASSERT_EQ(history.ItemCount(), 2);
    source.listable = false; // deleted, or unreadable: nothing is listed, nothing forgotten
    scan(t0 + 30);
    EXPECT_EQ(imports.size(), 2u);
    history.moveToEnd(0); // a: now the newest
    source.listable = true;
    entry("c", t0 + 31, "/d/c");
    scan(t0 + 40);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/d/b", "/d/a", "/d/c"}));
    EXPECT_EQ(source.resolved, 3);
}

TEST_F(ScanTest, AKnownDocumentMovesToTheEndWithItsNewTime) {
    for (const char* p : {"/d/a.txt", "/d/b.txt", "/d/c.txt"})
        history.AddItem(p);
    entry("a.desktop", t0 + 5, "/d/a.txt");
    entry("B.desktop", t0 + 6, "/d/B.TXT"); // another case is another document
    const ScanResult r = scan(t0 + 8);
    EXPECT_EQ(r.moved, 1);
    EXPECT_EQ(r.added, 1);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/d/b.txt", "/d/c.txt", "/d/a.txt", "/d/B.TXT"}));
    EXPECT_DOUBLE_EQ(history.Item(2).LastUsed, fromUnixTime(t0 + 4));
}

TEST_F(ScanTest, ListingOrderNotTimeOrderAndFoldersRefused) {
    entry("late.desktop", t0 + 40, "/d/late.txt");
    entry("early.desktop", t0 + 20, "/d/early.txt");
    entry("dir.desktop", t0 + 30, "/d/folder");
    shell.folders.insert("/d/folder");
    scan(t0 + 50);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/d/late.txt", "/d/early.txt"}));
}

TEST_F(ScanTest, DataMaxCutsTheOldest) {
    entry("1", t0 + 10, "/d/1");
    entry("2", t0 + 12, "/d/2");
    entry("3", t0 + 14, "/d/3");
    const ScanResult r = scan(t0 + 20, 1);
    EXPECT_EQ(r.dropped, 2);
    EXPECT_EQ(paths(), std::vector<std::string>{"/d/3"});
    // A lowered limit applies at the next scan even when it finds nothing.
    history.AddItem("/d/4");
    source.entries.clear();
    scan(t0 + 30, 1);
    EXPECT_EQ(paths(), std::vector<std::string>{"/d/4"});
}

TEST_F(ScanTest, ABadEntryIsSkippedReportedOnceAndTheRestImported) {
    history.AddItem("/d/keep");
    entry("first", t0 + 10, "/d/first");
    entry("!", t0 + 12, "");
    entry("after", t0 + 14, "/d/after");
    const ScanResult r = scan(t0 + 20, 2);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/d/first", "/d/after"}));
    EXPECT_DOUBLE_EQ(lastScan, fromUnixTime(t0 + 20));
    ASSERT_EQ(r.failures.size(), 1u);
    EXPECT_EQ(r.failures[0].entry, "!");
    EXPECT_EQ(r.failures[0].boxText, "Resolve Error");
    EXPECT_EQ(r.failures[0].message.rfind("QVZ:Exception occured at ", 0), 0u);
    EXPECT_NE(r.failures[0].message.find(")<0>."), std::string::npos);
    // Not again until the source records it anew.
    EXPECT_TRUE(scan(t0 + 30).failures.empty());
    entry("later", t0 + 31, "/d/later");
    EXPECT_TRUE(scan(t0 + 40).failures.empty());
    EXPECT_EQ(paths().back(), "/d/later");
    source.entries[1].unixTime = t0 + 41;
    EXPECT_EQ(scan(t0 + 50).failures.size(), 1u);
}

TEST_F(ScanTest, AnUnlistableSourceKeepsTheScanTimeButStillCuts) {
    history.AddItem("/d/a");
    history.AddItem("/d/b");
    source.listable = false;
    const DateTime before = lastScan;
    const ScanResult r = scan(t0 + 20, 1);
    EXPECT_FALSE(r.listed);
    EXPECT_DOUBLE_EQ(lastScan, before);
    EXPECT_EQ(paths(), std::vector<std::string>{"/d/b"});
}

TEST(DosDateTime, RoundsDownToEvenSeconds) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_DOUBLE_EQ(dosDateTime(1001), fromUnixTime(1000));
    EXPECT_DOUBLE_EQ(dosDateTime(1000), fromUnixTime(1000));
    EXPECT_DOUBLE_EQ(dosDateTime(-3), fromUnixTime(-4));
}
