// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/historyfile.h"
#include "fakefiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

using namespace vendle;
using vendle::test::FakeFiles;

namespace {

const std::string kDat = "/opt/vendle/vendle.dat";

class NoShell final : public ShellQuery {
public:
    ShellFileInfo queryFileInfo(const std::string&) override { return {}; }
};

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return encodeDate(y, mo, d) + encodeTime(h, mi, s, 0);
}

class HistoryFileTest : public ::testing::Test {
protected:
    FakeFiles files;
    NoShell shell;
    HistoryList history{PathSyntax::posix(), shell};
    const DateTimeFormat ja = DateTimeFormat::japanese();

    std::vector<std::string> paths() {
        std::vector<std::string> out;
        for (int i = 0; i < history.ItemCount(); ++i)
            out.emplace_back(history.Item(i).Path);
        return out;
    }
};

} // namespace

TEST_F(HistoryFileTest, LoadsLinesOfExistingFilesOnly) {
    for (const char* p : {"/d/a.txt", "/d/b.txt", "/d/c.txt", "/d/d.txt"})
        files.files[p] = "";
    files.folders.insert("/d/folder");
    files.files[kDat] = "\xEF\xBB\xBF"                        // an editor's byte-order mark
                        "/d/a.txt\t2026/12/08 9:05:07\n"      // LF only
                        "/d/gone.txt\t2026/12/08 9:05:07\r\n" // deleted since: dropped
                        "/d/folder\t2026/12/08 9:05:07\r"     // a folder: dropped
                        "/d/b.txt\t2026/12/08\r\n"            // midnight: the date alone
                        "/d/a.txt\t2026/12/09 1:00:00\r\n"    // the same path again: merged
                        "/d/d.txt\r\n"                        // no TAB: kept with time 0
                        "\r\n"
                        "/d/b.txt\tnot a date\textra\r\n"; // unreadable: the earlier line's time
    // A line with a NUL byte is damaged and skipped; the lines after it still count.
    files.files[kDat] += std::string("\0/d/c.txt\t2026/12/08 1:00:00\r\n", 30);
    files.files[kDat] += "/d/c.txt\t2026/12/10 1:00:00\r\n";
    const LoadReport report = LoadHistory(history, kDat, files, ja, 100);
    EXPECT_FALSE(report.fileMissing);
    EXPECT_TRUE(report.openError.empty());
    EXPECT_EQ(report.lineCount, 9);
    EXPECT_EQ(report.damagedLines, 1);
    EXPECT_EQ(report.duplicateLines, 2);
    EXPECT_EQ(report.added, 4);
    EXPECT_EQ(report.unreadableTimes, 1);
    // One entry per path, at its last line's place, with its latest time.
    EXPECT_EQ(paths(), (std::vector<std::string>{"/d/a.txt", "/d/d.txt", "/d/b.txt", "/d/c.txt"}));
    EXPECT_DOUBLE_EQ(history.Item(0).LastUsed, at(2026, 12, 9, 1));
    EXPECT_EQ(history.Item(1).LastUsed, 0.0);
    EXPECT_DOUBLE_EQ(history.Item(2).LastUsed, at(2026, 12, 8));
    EXPECT_DOUBLE_EQ(history.Item(3).LastUsed, at(2026, 12, 10, 1));
}

TEST_F(HistoryFileTest, AByteOrderMarkBeforeAnyPathIsNoPartOfIt) {
    // Found by fuzzing: after a damaged first line, the mark stood first in the saved file, where
    // only a mark at the very start was skipped, so a reload read another path.
    files.files["/d08"] = "";
    files.files[kDat] = std::string("/d/\0x\t2026/12/08\r\n", 18) + "\xEF\xBB\xBF/d08\r\n";
    LoadHistory(history, kDat, files, ja, 2);
    EXPECT_EQ(paths(), std::vector<std::string>{"/d08"});
    SaveHistory(history, kDat, files);
    HistoryList again{PathSyntax::posix(), shell};
    LoadHistory(again, kDat, files, ja, 2);
    ASSERT_EQ(again.ItemCount(), 1);
    EXPECT_EQ(again.Item(0).Path, "/d08");
}

TEST_F(HistoryFileTest, TimesAreWrittenInOneFormAndReadUnderAnyLocale) {
    // Under a US English locale the file keeps the Japanese form it always had; a file written
    // by an older version under that locale is read too.
    const DateTimeFormat us = DateTimeFormat::usEnglish();
    for (const char* p : {"/d/a.txt", "/d/b.txt"})
        files.files[p] = "";
    files.files[kDat] = "/d/a.txt\t2026/12/08 9:05:07\r\n/d/b.txt\t12/9/2026 1:02:03 PM\r\n";
    LoadHistory(history, kDat, files, us, 2);
    ASSERT_EQ(history.ItemCount(), 2);
    EXPECT_DOUBLE_EQ(history.Item(0).LastUsed, at(2026, 12, 8, 9, 5, 7));
    EXPECT_DOUBLE_EQ(history.Item(1).LastUsed, at(2026, 12, 9, 13, 2, 3));
    SaveHistory(history, kDat, files);
    EXPECT_EQ(files.files[kDat], "/d/a.txt\t2026/12/08 9:05:07\r\n/d/b.txt\t2026/12/09 13:02:03\r\n");
}

TEST_F(HistoryFileTest, MissingAndUnreadableFiles) {
    LoadReport report = LoadHistory(history, kDat, files, ja, 100);
    EXPECT_TRUE(report.fileMissing);
    EXPECT_EQ(history.ItemCount(), 0);

    files.files[kDat] = "/d/a.txt\t2026/12/08\r\n";
    files.unreadable.insert(kDat);
    report = LoadHistory(history, kDat, files, ja, 100);
    EXPECT_FALSE(report.fileMissing);
    EXPECT_EQ(report.openError, "データファイル(/opt/vendle/vendle.datが見つかりません。");
    EXPECT_EQ(history.ItemCount(), 0);
}

TEST_F(HistoryFileTest, ProgressEveryHundredLinesAndAHostileCountAllocatesLittle) {
    std::string text;
    for (int i = 0; i < 250; ++i) {
        const std::string p = "/d/" + std::to_string(i);
        files.files[p] = "";
        text += p + "\t2026/12/08 10:00:00\r\n";
    }
    files.files[kDat] = text;
    std::vector<std::pair<int, int>> calls;
    LoadHistory(history, kDat, files, ja, 2'000'000'000, [&](int i, int n) { calls.emplace_back(i, n); });
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{0, 250}, {100, 250}, {200, 250}, {250, 250}}));
    EXPECT_EQ(history.ItemCount(), 250);
    EXPECT_LT(history.capacity(), 1000u); // bounded by the file's lines, not by "Items"
}

TEST_F(HistoryFileTest, SavesOneCrLfLinePerItem) {
    history.AddItem("/d/a.txt", at(2026, 12, 8, 9, 5, 7));
    history.AddItem("/d/報告.odt", at(2026, 12, 8));
    EXPECT_EQ(SaveHistory(history, kDat, files), 2);
    EXPECT_EQ(files.files[kDat], "/d/a.txt\t2026/12/08 9:05:07\r\n/d/報告.odt\t2026/12/08\r\n");

    // And back: the same entries with the same times.
    files.files["/d/a.txt"] = "";
    files.files["/d/報告.odt"] = "";
    NoShell s2;
    HistoryList reread(PathSyntax::posix(), s2);
    LoadHistory(reread, kDat, files, ja, 2);
    ASSERT_EQ(reread.ItemCount(), 2);
    EXPECT_EQ(reread.Item(1).Path, "/d/報告.odt");
    EXPECT_DOUBLE_EQ(reread.Item(0).LastUsed, history.Item(0).LastUsed);
    EXPECT_DOUBLE_EQ(reread.Item(1).LastUsed, history.Item(1).LastUsed);
}

TEST_F(HistoryFileTest, ADamagedBlockInALargeFileCostsOnlyItsOwnLines) {
    std::string text;
    for (int i = 0; i < 5000; ++i) {
        const std::string p = "/d/" + std::to_string(i);
        files.files[p] = "";
        text += (i == 3300 ? std::string(1, '\0') + p : p) + "\t2026/12/08 9:05:07\r\n";
    }
    text += std::string(40, '\0') + "\r\n"; // a zeroed stretch, as a crash can leave
    text += "/d/0\t2026/12/09\r\n";         // used again: merged with the first line's entry
    files.files[kDat] = text;
    EXPECT_EQ(LoadHistory(history, kDat, files, ja, 5000).added, 4999);
    EXPECT_EQ(history.Item(4998).Path, "/d/0");
    EXPECT_DOUBLE_EQ(history.Item(4998).LastUsed, at(2026, 12, 9));
    EXPECT_EQ(SaveHistory(history, kDat, files), 4999);
}

TEST_F(HistoryFileTest, WhatTheWriterWritesTheReaderReadsBackInCp932) {
    // Paths whose last byte is a CP932 lead byte, or that hold one before a byte it cannot pair
    // with: the TAB after them must still end the path.
    NoShell s2;
    HistoryList cp932(PathSyntax::posix(CodePage::cp932()), s2);
    const std::vector<std::string> names = {"/d/\x95\x5C\x83", "/d/a\x81", "/d/\x82\xA0\x82\xA2.txt",
                                            "/d/\xE0\x20x"};
    for (const std::string& p : names) {
        files.files[p] = "";
        cp932.AddItem(p, at(2026, 12, 8, 9, 5, 7));
    }
    EXPECT_EQ(SaveHistory(cp932, kDat, files), 4);
    HistoryList reread(PathSyntax::posix(CodePage::cp932()), s2);
    EXPECT_EQ(LoadHistory(reread, kDat, files, ja, 4).unreadableTimes, 0);
    ASSERT_EQ(reread.ItemCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(reread.Item(i).Path, names[static_cast<std::size_t>(i)]);
        EXPECT_DOUBLE_EQ(reread.Item(i).LastUsed, at(2026, 12, 8, 9, 5, 7));
    }
}

TEST_F(HistoryFileTest, DocumentsOnAVolumeThatIsAwayStayDeletedOnesGo) {
    files.files["/d/here.txt"] = "";
    files.away.insert("/media/alice/USB/report.odt");
    files.files[kDat] =
        "/d/here.txt\t2026/12/08\r\n/media/alice/USB/report.odt\t2026/12/07\r\n/d/gone.txt\t2026/12/06\r\n";
    const LoadReport report = LoadHistory(history, kDat, files, ja, 3);
    EXPECT_EQ(report.unavailable, 1);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/d/here.txt", "/media/alice/USB/report.odt"}));
    EXPECT_FALSE(history.Item(0).Unavailable);
    EXPECT_TRUE(history.Item(1).Unavailable);
    EXPECT_EQ(history.Item(1).TypeName(), "ODT ファイル"); // typed by its name
    EXPECT_EQ(SaveHistory(history, kDat, files), 2);
    EXPECT_NE(files.files[kDat].find("/media/alice/USB/report.odt\t"), std::string::npos);
}

TEST_F(HistoryFileTest, EmptyHistoryWritesAnEmptyFile) {
    files.files[kDat] = "old contents\r\n";
    EXPECT_EQ(SaveHistory(history, kDat, files), 0);
    ASSERT_TRUE(files.files.count(kDat));
    EXPECT_EQ(files.files[kDat], "");
}

TEST_F(HistoryFileTest, FailedSaveLeavesFileAndHistoryAlone) {
    history.AddItem("/d/a.txt");
    files.files[kDat] = "/d/old.txt\t2026/01/01\r\n";
    files.failWrites = true;
    EXPECT_THROW(SaveHistory(history, kDat, files), IoError);
    EXPECT_EQ(files.files[kDat], "/d/old.txt\t2026/01/01\r\n");
    EXPECT_EQ(history.ItemCount(), 1);
}

TEST_F(HistoryFileTest, ProgressAtMostEvery300Milliseconds) {
    for (int i = 0; i < 10; ++i)
        history.AddItem("/d/" + std::to_string(i));
    // Each item takes 100 ms on this clock: reports come when strictly more than 300 ms passed.
    std::uint64_t tick = 1000;
    std::vector<std::pair<int, std::string>> reports;
    int written = 0;
    historyText(
        history, written, [&](int pct, const std::string& t) { reports.emplace_back(pct, t); },
        [&] { return (tick += 100) - 100; });
    EXPECT_EQ(written, 10);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0], (std::pair<int, std::string>{30, "Vendle：書出中．．．(4/10)"}));
    EXPECT_EQ(reports[1], (std::pair<int, std::string>{70, "Vendle：書出中．．．(8/10)"}));

    // A quick save reports nothing.
    reports.clear();
    historyText(
        history, written, [&](int pct, const std::string& t) { reports.emplace_back(pct, t); },
        [] { return std::uint64_t{5}; });
    EXPECT_TRUE(reports.empty());
}

TEST_F(HistoryFileTest, LargeHistoriesAreWrittenInWholeLinePieces) {
    const std::string folder = "/home/user/ドキュメント/" + std::string(80, 'f') + "/";
    for (int i = 0; i < 8000; ++i)
        history.AddItem(folder + std::to_string(i) + ".txt",
                        at(2026, 1 + i % 12, 1 + i % 28, i % 24, i % 60, i % 60));
    // A record damaged in memory (no operation of the list can store such a path) is skipped,
    // wherever the pieces end.
    static const std::string broken = std::string(history.Item(4321).Path) + "\tbroken";
    const_cast<HistoryItem&>(history.Item(4321)).Path = broken;

    struct Recorder final : ByteSink {
        std::vector<std::string> pieces;
        void append(std::string_view bytes) override { pieces.emplace_back(bytes); }
    } recorder;
    EXPECT_EQ(writeHistoryText(history, recorder), 7999);
    int written = 0;
    const std::string whole = historyText(history, written);
    EXPECT_EQ(written, 7999);
    ASSERT_GT(recorder.pieces.size(), 2u);
    std::string joined;
    for (const std::string& piece : recorder.pieces) {
        EXPECT_LE(piece.size(), 256u * 1024 + 4096);
        EXPECT_EQ(piece.substr(piece.size() - 2), "\r\n");
        joined += piece;
    }
    EXPECT_EQ(joined, whole);
    EXPECT_EQ(whole.find("broken"), std::string::npos);
    EXPECT_NE(whole.find(folder + "4320.txt\t2026/01/09\r\n" + folder + "4322.txt\t"), std::string::npos);
}

TEST_F(HistoryFileTest, LoadingTellsTheShellThatEachPathIsAKnownFile) {
    // The loader has just seen each file exist; the shell need not look at the disk again.
    struct CountingShell final : ShellQuery {
        int plain = 0;
        int known = 0;
        ShellFileInfo queryFileInfo(const std::string&) override {
            ++plain;
            return {};
        }
        ShellFileInfo queryKnownFileInfo(std::string_view) override {
            ++known;
            return {};
        }
    } counting;
    HistoryList loaded(PathSyntax::posix(), counting);
    files.files["/d/a.txt"] = "";
    files.files["/d/b.txt"] = "";
    files.files[kDat] = "/d/a.txt\t2026/12/08\r\n/d/gone.txt\t2026/12/08\r\n/d/b.txt\t2026/12/08\r\n";
    EXPECT_EQ(LoadHistory(loaded, kDat, files, ja, 3).added, 2);
    EXPECT_EQ(counting.known, 3); // typed by name before the disk is asked
    EXPECT_EQ(counting.plain, 0);
}

TEST_F(HistoryFileTest, ReadingAsksTheDiskNothingAndTheCheckSparesDocumentsUsedSince) {
    files.files["/d/a.txt"] = "";
    files.away.insert("/m/b.txt");
    files.files[kDat] = "/d/gone.txt\t2026/12/06\r\n/m/b.txt\t2026/12/07\r\n/d/a.txt\t2026/12/08\r\n"
                        "/d/used.txt\t2026/12/08\r\n";
    const LoadReport report = readHistory(history, kDat, files, ja, 4);
    EXPECT_EQ(report.added, 4);
    for (int i = 0; i < history.ItemCount(); ++i)
        EXPECT_TRUE(history.Item(i).Unchecked);
    const HistoryList::UncheckedPaths asked = history.uncheckedPaths();
    EXPECT_EQ(asked.paths.size(), 4u);
    std::vector<FileAccess::Presence> answers = files.presenceOfEach(asked.paths);
    // Deleted before the check, used again (and so there) before its answer came.
    history.touch(3, at(2026, 12, 9));
    const HistoryList::CheckOutcome outcome = history.settleChecks(asked.paths, answers);
    EXPECT_EQ(outcome.gone, 1);
    EXPECT_EQ(outcome.away, 1);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/m/b.txt", "/d/a.txt", "/d/used.txt"}));
    EXPECT_TRUE(history.Item(0).Unavailable);
    EXPECT_FALSE(history.Item(1).Unavailable || history.Item(1).Unchecked || history.Item(2).Unchecked);
}

// A text long enough to be read in two halves gives what reading its lines one by one gives:
// line ends of every kind, byte-order marks, damaged lines, unreadable times and paths repeated
// across the halves (the latest time kept, at the last line's place).
TEST_F(HistoryFileTest, ALongTextIsReadInHalvesAsLineByLine) {
    const char* const ends[] = {"\r\n", "\n", "\r"};
    std::string text;
    for (int i = 0; i < 9000; ++i) {
        const int repeated = i % 997; // every 997th line names an earlier document again
        std::string line = (i % 501 == 7 ? "\xEF\xBB\xBF" : "") +
                           std::string("/home/user/documents/long/folder/") +
                           (i >= 997 && repeated == 0 ? std::to_string(i / 2) : std::to_string(i)) + ".txt";
        if (i % 613 == 5)
            line.insert(10, 1, '\0'); // damaged
        if (i % 89 != 3)
            line += "\t2026/" + std::to_string(1 + i % 12) + "/0" + std::to_string(1 + i % 9) + " " +
                    std::to_string(i % 24) + ":05:07";
        if (i % 311 == 9)
            line += "\tnot a time";
        text += line + (i == 8999 ? "" : ends[i % 3]);
    }
    ASSERT_GT(text.size(), 512u * 1024);
    files.files[kDat] = text;

    // The lines one by one.
    struct Seen {
        std::size_t last = 0;
        bool timed = false;
        DateTime time = 0;
    };
    std::map<std::string, Seen> seen;
    int lines = 0;
    int damaged = 0;
    int repeats = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", i), text.size());
        std::string line = text.substr(i, end - i);
        i = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
        while (line.starts_with("\xEF\xBB\xBF"))
            line.erase(0, 3);
        if (line.find('\0') != std::string::npos) {
            ++damaged;
            continue;
        }
        const std::size_t tab = line.find('\t');
        const std::string path = line.substr(0, tab);
        std::optional<DateTime> when;
        if (tab != std::string::npos)
            when = readFileDateTime(line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1), ja);
        const bool repeat = seen.count(path) != 0;
        repeats += repeat;
        Seen& s = seen[path];
        s.last = static_cast<std::size_t>(lines++);
        if (when && (!s.timed || *when > s.time))
            s.time = *when;
        s.timed = s.timed || when.has_value();
    }
    std::vector<std::pair<std::size_t, std::string>> order;
    for (const auto& [path, s] : seen)
        order.emplace_back(s.last, path);
    std::sort(order.begin(), order.end());

    const LoadReport report = readHistory(history, kDat, files, ja, 9000);
    EXPECT_EQ(report.lineCount, lines);
    EXPECT_EQ(report.damagedLines, damaged);
    EXPECT_EQ(report.duplicateLines, repeats);
    ASSERT_EQ(history.ItemCount(), static_cast<int>(order.size()));
    int untimed = 0;
    for (int i = 0; i < history.ItemCount(); ++i) {
        const Seen& s = seen[order[static_cast<std::size_t>(i)].second];
        EXPECT_EQ(history.Item(i).Path, order[static_cast<std::size_t>(i)].second);
        EXPECT_DOUBLE_EQ(history.Item(i).LastUsed, s.time) << i;
        untimed += !s.timed;
    }
    EXPECT_EQ(report.unreadableTimes, untimed);
    EXPECT_GE(repeats, 4);
    EXPECT_GT(untimed, 50);
}

// Records read from a text leave their paths in it: the text stays while one of them does, and
// goes with the last of them, however they leave.
TEST_F(HistoryFileTest, TheTextReadStaysWhileARecordReadFromItDoes) {
    files.files[kDat] = "/d/a.txt\t2026/12/06\r\n/d/b.txt\t2026/12/07\r\n/d/c.txt\t2026/12/08\r\n";
    files.files["/d/b.txt"] = "";
    readHistory(history, kDat, files, ja, 3);
    files.files[kDat] = "overwritten";
    EXPECT_EQ(history.heldTexts(), 1u);
    const HistoryList::UncheckedPaths asked = history.uncheckedPaths();
    EXPECT_EQ(history.settleChecks(asked.paths, files.presenceOfEach(asked.paths)).gone, 2);
    EXPECT_EQ(history.heldTexts(), 1u);
    // A record made where a removed one was keeps a path of its own.
    history.AddItem("/d/new.txt", at(2026, 12, 9));
    EXPECT_EQ(paths(), (std::vector<std::string>{"/d/b.txt", "/d/new.txt"}));
    std::vector<RemovedDocument> removed;
    EXPECT_EQ(history.removePaths({"/d/b.txt"}, &removed), 1);
    EXPECT_EQ(history.heldTexts(), 0u);
    EXPECT_EQ(history.putBack(removed), 1);
    EXPECT_EQ(paths(), (std::vector<std::string>{"/d/b.txt", "/d/new.txt"}));
    EXPECT_EQ(history.heldTexts(), 0u);
}
