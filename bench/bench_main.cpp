// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark program: every operation a user waits on, at up to 100,000 history entries, each
// measured beside a baseline in the same run. Prints Google Benchmark's table, then a summary with
// the ratios and whether each target holds.
#include "app/apppaths.h"
#include "app/filtermenus.h"
#include "app/historygrid.h"
#include "app/htmlhelp.h"
#include "app/mainwindow.h"
#include "benchdata.h"
#include "core/datetimeformat.h"
#include "core/exclusions.h"
#include "core/filelimits.h"
#include "core/forgotten.h"
#include "core/historyfile.h"
#include "core/inifile.h"
#include "core/recentscan.h"
#include "core/viewfilter.h"
#include "disktree.h"
#include "historyprobe.h"
#include "platform/collation.h"
#include "platform/fileaccess.h"
#include "platform/recentsource.h"
#include "platform/shellinfo.h"
#include "platform/shellmenu.h"
#include "platform/system.h"
#include "realwindow.h"
#include "results.h"
#include "widgets/contextmenu.h"
#include "widgets/helpviewer.h"
#include "widgets/helpwindow.h"
#include "widgets/messagebox.h"
#include "windowprobe.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <map>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace vendle;
using namespace vendle::bench;
namespace fs = std::filesystem;

using vendle::test::parts;

namespace {

// The Japanese user's collation, as the program would use it.
std::unique_ptr<Collator> userCollator() {
    return platform::userCollator("ja_JP.UTF-8");
}

// --- ApplyFilter -----------------------------------------------------------------------------

void BM_ApplyFilterSearch(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const std::string needle = state.range(1) == 1 ? "r" : "rep";
    NameShell shell;
    HistoryList history(PathSyntax::posix(), shell);
    fill(history, documents(count));
    history.SortColumn = 0; // no sort: the filter pass alone
    ByteCollator collator;
    ViewFilter filter;
    filter.search = needle;
    std::size_t hits = 0;
    measurePair(
        state,
        "ApplyFilter, " + std::to_string(needle.size()) + "-char search, " + std::to_string(count / 1000) +
            "k",
        [&] {
            test::HistoryProbe::forgetViewBasis(
                history); // the filter pass itself, not the narrowing of a view already built
            ApplyFilter(history, filter, collator);
        },
        [&] {
            std::size_t n = 0;
            for (int i = 0; i < history.ItemCount(); ++i)
                n += std::string_view(history.Item(i).Path).find(needle) != std::string_view::npos;
            hits = n;
        },
        3.0, 0);
    benchmark::DoNotOptimize(hits);
}
BENCHMARK(BM_ApplyFilterSearch)
    ->Args({10'000, 1})
    ->Args({10'000, 3})
    ->Args({100'000, 1})
    ->Args({100'000, 3})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The desktop's search asks for the newest 20 documents that hold a term; the history's part of
// the answer (the bus adds its round trip).
void BM_DesktopSearch(benchmark::State& state) {
    NameShell shell;
    HistoryList history(PathSyntax::posix(), shell);
    fill(history, documents(100'000));
    std::size_t hits = 0;
    measurePair(
        state, "desktop search, 3-char term, newest 20 of 100k",
        [&] { hits += history.find({"rep"}, 20).size(); }, {}, 0, 10.0);
    benchmark::DoNotOptimize(hits);
}
BENCHMARK(BM_DesktopSearch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_KeystrokeSortByTime(benchmark::State& state) {
    NameShell shell;
    HistoryList history(PathSyntax::posix(), shell);
    fill(history, documents(100'000));
    auto collator = userCollator();
    ViewFilter filter;
    filter.search = "r";
    measurePair(
        state, "ApplyFilter + sort by 使用日時, 100k",
        [&] {
            test::HistoryProbe::forgetViewBasis(history); // a rebuild each time, as after a deleted character
            ApplyFilter(history, filter, *collator);
        },
        {}, 0, 16.0);
}
BENCHMARK(BM_KeystrokeSortByTime)->UseManualTime()->Unit(benchmark::kMillisecond);

// Typing a second character while the view is sorted by file name in the Japanese collation. The
// baseline is the same keystroke with the view rebuilt and sorted from nothing (no order kept from
// before); typing must not cost more.
void BM_KeystrokeSortByName(benchmark::State& state) {
    NameShell shell;
    HistoryList history(PathSyntax::posix(), shell);
    fill(history, documents(100'000));
    auto collator = userCollator();
    history.SortColumn = 1;
    history.SortDescending = false;
    ViewFilter filter;
    Samples typed, rebuilt;
    for (auto _ : state) {
        filter.search = "r";
        ApplyFilter(history, filter, *collator);
        filter.search = "re";
        const auto t0 = Clock::now();
        ApplyFilter(history, filter, *collator);
        typed.ms.push_back(msSince(t0));
        state.SetIterationTime(typed.ms.back() / 1000.0);
        test::HistoryProbe::forgetViewBasis(history); // forget what the view was built from
        test::HistoryProbe::markStale(history);       // and the sorted order kept beside the history
        const auto t1 = Clock::now();
        ApplyFilter(history, filter, *collator);
        rebuilt.ms.push_back(msSince(t1));
    }
    record(state, {"keystroke, sort by ファイル名, ja_JP collation, 100k", typed, rebuilt, 1.0, 0,
                   "(baseline: the same keystroke rebuilt and sorted from nothing)", false});
}
BENCHMARK(BM_KeystrokeSortByName)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// --- Sorting by text columns -----------------------------------------------------------------

void BM_SortColumn(benchmark::State& state) {
    const int column = static_cast<int>(state.range(0));
    const bool japanese = state.range(1) == 1;
    NameShell shell;
    HistoryList history(PathSyntax::posix(), shell);
    fill(history, documents(100'000));
    auto collator = japanese ? userCollator() : platform::userCollator();
    history.SortColumn = column;
    history.SortDescending = false;
    const std::vector<const HistoryItem*> original = history.viewItems();
    std::vector<std::string> keys;
    for (const HistoryItem* item : original) {
        keys.emplace_back(column == 1   ? std::string(fileNameOf(item->Path, history.syntax()))
                          : column == 2 ? std::string(directoryOf(item->Path, history.syntax()))
                                        : item->TypeName());
    }
    measurePair(
        state,
        std::string("sort by ") + ColumnTitles[column] +
            (japanese ? ", ja_JP collation" : ", user collation") + ", 100k",
        [&] {
            test::HistoryProbe::setView(history, original);
            test::HistoryProbe::markStale(history); // a sort from nothing, as after the history changed
            history.sortView(*collator);
        },
        [&] {
            std::vector<std::string> copy = keys;
            std::sort(copy.begin(), copy.end());
            benchmark::DoNotOptimize(copy.data());
        },
        0, 100.0);
}
BENCHMARK(BM_SortColumn)
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({3, 0})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({3, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// --- The data file -----------------------------------------------------------------------------

void BM_LoadHistory(benchmark::State& state) {
    DiskTree& tree = diskTree();
    platform::SystemFileAccess files;
    platform::DesktopShellInfo shell;
    int loaded = 0;
    measurePair(
        state, "LoadHistory, 100k lines on disk",
        [&] {
            HistoryList history(PathSyntax::posix(), shell);
            loaded = LoadHistory(history, tree.dataFile, files, DateTimeFormat::japanese(), 100'000).added;
        },
        [&] {
            int n = 0;
            struct stat st {};
            for (const Document& d : tree.docs)
                n += ::stat(d.path.c_str(), &st) == 0;
            benchmark::DoNotOptimize(n);
        },
        3.0, 0);
    if (loaded != 100'000) {
        lastResult().note = "loaded " + std::to_string(loaded);
        lastResult().failed = true;
    }
}
BENCHMARK(BM_LoadHistory)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ReadHistory(benchmark::State& state) {
    DiskTree& tree = diskTree();
    platform::SystemFileAccess files;
    platform::DesktopShellInfo shell;
    // As the program does before its load.
    platform::prepareMemoryFor(static_cast<std::size_t>(std::filesystem::file_size(tree.dataFile)) * 4);
    Result r{"data file read and parsed (no disk checks), 100k lines, vs a plain read of it",
             {},
             {},
             3.0,
             0,
             {},
             false};
    int read = 0;
    for (auto _ : state) {
        auto t0 = Clock::now();
        benchmark::DoNotOptimize(files.readAll(tree.dataFile, kDataFileLimit));
        r.baseline.ms.push_back(msSince(t0));
        auto history = std::make_unique<HistoryList>(PathSyntax::posix(), shell);
        t0 = Clock::now();
        read = readHistory(*history, tree.dataFile, files, DateTimeFormat::japanese(), 100'000).added;
        const double ms = msSince(t0);
        r.measured.ms.push_back(ms);
        state.SetIterationTime(ms / 1000.0);
        history.reset(); // outside the timings
    }
    // What a read that keeps nothing costs beyond the plain read: each line's end and TAB found
    // and its time read, no record made, no repeated path looked for.
    Samples bare;
    double sink = 0;
    for (int i = 0; i < 20; ++i) {
        const auto t0 = Clock::now();
        const std::optional<std::string> text = files.readAll(tree.dataFile, kDataFileLimit);
        for (std::string_view rest = *text; !rest.empty();) {
            const std::string_view line = rest.substr(0, rest.find('\n'));
            rest.remove_prefix(std::min(rest.size(), line.size() + 1));
            const std::size_t tab = line.find('\t');
            if (tab != std::string_view::npos)
                sink += readWrittenTime(line.substr(tab + 1, line.size() - tab - 2)).value_or(0);
        }
        bare.ms.push_back(msSince(t0));
    }
    benchmark::DoNotOptimize(sink);
    char note[128];
    std::snprintf(note, sizeof note,
                  "(a read that only finds the lines and reads their times: %.1f ms, %.1fx)", bare.median(),
                  bare.median() / r.baseline.median());
    r.note = note;
    if (read != 100'000) {
        r.note = "read " + std::to_string(read);
        r.failed = true;
    }
    record(state, std::move(r));
}
BENCHMARK(BM_ReadHistory)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_SaveHistory(benchmark::State& state) {
    DiskTree& tree = diskTree();
    NameShell shell;
    HistoryList history(PathSyntax::posix(), shell);
    fill(history, tree.docs);
    platform::SystemFileAccess files;
    const std::string target = tree.dir.filePath(QStringLiteral("saved.dat")).toStdString();
    const std::string plain = tree.dir.filePath(QStringLiteral("plain.dat")).toStdString();
    int written = 0;
    const std::string bytes = historyText(history, written);
    // A file to replace, as every save but the first has: only then is the new one flushed before
    // it takes the old one's place.
    SaveHistory(history, target, files);
    measurePair(
        state, "SaveHistory, 100k, flushed to disk", [&] { SaveHistory(history, target, files); },
        [&] {
            std::FILE* f = std::fopen(plain.c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
        },
        0, 150.0); // a durable save is worth its flush: the ratio to a plain write is shown, not judged
    // The part of the save that is the atomic replace itself (temporary file, rename over the old
    // file, which releases the old file's pages) rather than producing the text.
    Samples replace;
    for (int i = 0; i < 20; ++i) {
        const auto t0 = Clock::now();
        files.writeAtomically(plain, bytes);
        replace.ms.push_back(msSince(t0));
    }
    Result& row = lastResult();
    char note[96];
    std::snprintf(note, sizeof note, "(the same bytes replaced atomically: %.1f ms)", replace.median());
    row.note = note;
}
BENCHMARK(BM_SaveHistory)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// --- The settings file at its size limit ---------------------------------------------------------

// A settings file of 4 MiB, the most the program reads: 100,000 excluded folders, of which the
// program takes the first thousand. Reading and writing it is linear in its size.
void BM_SettingsFile(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("vendle.ini")).toStdString();
    std::string text = "[VendleMainForm]\r\nDataMax=10000\r\n\r\n[Exclusions]\r\n";
    for (int n = 1; text.size() < 4 * 1024 * 1024 - 64; ++n)
        text += "Folder" + std::to_string(n) + "=/home/user/projects/archive/folder-" + std::to_string(n) +
                "\r\n";
    platform::SystemFileAccess files;
    files.writeAtomically(file, text);
    const bool reading = state.range(0) == 0;
    MemIniFile ini;
    if (!reading)
        ini.parse(text); // the write replaces the whole file, every key of it
    measurePair(
        state, reading ? "settings file of 4 MiB read" : "settings file of 4 MiB written, flushed to disk",
        [&] {
            if (reading) {
                MemIniFile read;
                read.parse(*files.readAll(file, 4 * 1024 * 1024));
                Exclusions exclusions;
                exclusions.read(read);
                ForgottenDocuments forgotten;
                forgotten.read(read);
                benchmark::DoNotOptimize(exclusions.folders.size());
            } else {
                ini.WriteString("VendleMainForm", "DataMax", "10000");
                files.writeAtomically(file, ini.serialize());
            }
        },
        {}, 0, 50.0);
}
BENCHMARK(BM_SettingsFile)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// --- The recent-documents scan -----------------------------------------------------------------

class CountingSource final : public RecentSource {
public:
    explicit CountingSource(RecentSource& inner) : inner_(inner) {}
    std::vector<std::string> locations() const override { return inner_.locations(); }
    bool list(std::vector<RecentEntry>& entries) override { return inner_.list(entries); }
    ResolvedEntry resolve(const RecentEntry& entry) override {
        ++resolved;
        return inner_.resolve(entry);
    }
    int resolved = 0;

private:
    RecentSource& inner_;
};

void BM_RecentScan(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string data = dir.filePath(QStringLiteral("data")).toStdString();
    fs::create_directories(data + "/RecentDocuments");
    const std::int64_t old = 1'790'000'000;
    std::string xbel = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\" "
                       "xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\" "
                       "xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    for (int i = 0; i < 1000; ++i) {
        const std::string doc = dir.filePath(QStringLiteral("docs/b%1.txt").arg(i)).toStdString();
        xbel += "<bookmark href=\"file://" + doc +
                "\" added=\"2026-09-01T10:00:00Z\" modified=\"2026-09-01T10:00:00Z\" "
                "visited=\"2026-09-01T10:00:00Z\">"
                "<info><metadata owner=\"http://freedesktop.org\"><mime:mime-type type=\"text/plain\"/>"
                "<bookmark:applications><bookmark:application name=\"gedit\" exec=\"gedit %u\" "
                "modified=\"2026-09-01T10:00:00Z\" count=\"1\"/></bookmark:applications></metadata></info>"
                "</bookmark>\n";
        const std::string linkDoc = dir.filePath(QStringLiteral("docs/l%1.txt").arg(i)).toStdString();
        fs::create_directories(fs::path(linkDoc).parent_path());
        std::ofstream(linkDoc) << 'x';
        const std::string link = data + "/RecentDocuments/l" + std::to_string(i) + ".txt.desktop";
        std::ofstream(link) << "[Desktop Entry]\nType=Link\nURL[$e]=file://" << linkDoc << "\n";
        const timespec t[2] = {{static_cast<time_t>(i == 500 ? old + 1000 : old), 0},
                               {static_cast<time_t>(i == 500 ? old + 1000 : old), 0}};
        ::utimensat(AT_FDCWD, link.c_str(), t, 0);
    }
    std::ofstream(data + "/recently-used.xbel") << xbel << "</xbel>\n";

    platform::DesktopRecentSource inner(data);
    CountingSource source(inner);
    NameShell shell;
    int resolvedPerScan = -1;
    measurePair(
        state, "Recent scan, 1,000 links + 1,000 bookmarks, one new",
        [&] {
            HistoryList history(PathSyntax::posix(), shell);
            DateTime last = fromUnixTime(old + 500);
            RecentImports imports;
            std::vector<RecentEntry> present;
            inner.list(present);
            imports.begin(present, std::nullopt, RecentEntry::Stamp{old + 500, 0}); // one recorded since
            source.resolved = 0;
            scanRecent(history, source, imports, last, now(), 10'000);
            resolvedPerScan = source.resolved;
        },
        {}, 0, 20.0);
    lastResult().note =
        "resolves " + std::to_string(resolvedPerScan) + (resolvedPerScan == 1 ? " entry" : " entries");
    lastResult().failed = resolvedPerScan != 1;
}
BENCHMARK(BM_RecentScan)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// What the window's thread does when the desktop's record of 100,000 documents changes: the bookmark
// file is read and parsed ahead on a thread of its own (the baseline column: what the window would
// wait for without it), then the look takes the parsed listing, finds the one new entry and adds it.
void BM_RecordChangeStall(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string data = dir.filePath(QStringLiteral("data")).toStdString();
    fs::create_directories(data);
    std::string body;
    for (int i = 0; i < 100'000; ++i) {
        body += "<bookmark href=\"file:///home/user/Documents/projects/group" + std::to_string(i % 300) +
                "/document-" + std::to_string(i) +
                ".txt\" added=\"2026-09-01T10:00:00Z\" modified=\"2026-09-01T10:00:00Z\" "
                "visited=\"2026-09-01T10:00:00Z\"><info><metadata owner=\"http://freedesktop.org\">"
                "<mime:mime-type type=\"text/plain\"/><bookmark:applications><bookmark:application "
                "name=\"gedit\" exec=\"gedit %u\" modified=\"2026-09-01T10:00:00Z\" count=\"1\"/>"
                "</bookmark:applications></metadata></info></bookmark>\n";
    }
    const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\" "
                             "xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\" "
                             "xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    const std::string file = data + "/recently-used.xbel";
    int round = 0;
    const auto write = [&] {
        // One more document each time, as an application records it.
        const std::string doc = dir.filePath(QStringLiteral("new-%1.txt").arg(round++)).toStdString();
        std::ofstream(doc) << 'x';
        const std::string newest =
            "<bookmark href=\"file://" + doc + "\" modified=\"2026-12-08T10:00:00Z\"/>\n";
        std::ofstream(file + ".new") << head << body << newest << "</xbel>\n";
        fs::rename(file + ".new", file);
    };
    write();
    platform::DesktopRecentSource source(data);
    NameShell shell;
    HistoryList history(PathSyntax::posix(), shell);
    RecentImports imports;
    beginImports(source, imports, std::nullopt);
    DateTime last = 0;
    int added = 0;
    ScanPlan plan;
    measurePair(
        state, "window stall while the desktop's record of 100,000 entries changes",
        [&] { added += applyScan(history, source, imports, std::move(plan), last, now(), 100'000).added; },
        [&] {
            write();
            std::atomic<bool> cancelled{false};
            std::thread([&] {
                source.prepare(cancelled);
                plan = planScan(source, imports);
            }).join();
        },
        0, 16.0);
    lastResult().note = "baseline: reading it and finding what is new, off the window's thread; " +
                        std::to_string(added) + " added";
    lastResult().failed = added != static_cast<int>(state.iterations());
}
BENCHMARK(BM_RecordChangeStall)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// --- Memory ------------------------------------------------------------------------------------

void BM_MemoryPerItem(benchmark::State& state) {
    // With the search folding kana and width, each path's folded form is kept once it was searched.
    const bool folding = state.range(0) != 0;
    const auto folder = platform::kanaWidthFolder();
    const auto& docs = documents(100'000);
    double perItem = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        {
            NameShell shell;
            auto history = std::make_unique<HistoryList>(PathSyntax::posix(), shell);
            fill(*history, docs);
            // With a view built, as the program always has one: the view and the order of the
            // sort column kept beside the list count too.
            ByteCollator collator;
            ApplyFilter(*history, {}, collator);
            if (folding) {
                ViewFilter filter;
                filter.search = "ぷろ";
                filter.foldKana = true;
                ApplyFilter(*history, filter, collator, folder.get());
                ApplyFilter(*history, {}, collator);
            }
            const std::size_t after = mallinfo2().uordblks;
            std::size_t pathBytes = 0;
            for (const Document& d : docs)
                pathBytes += d.path.size();
            perItem = (static_cast<double>(after - before) - static_cast<double>(pathBytes)) / docs.size();
        }
        state.SetIterationTime(0.001);
    }
    state.counters["bytes_per_item"] = perItem;
    Result r{std::string("memory per item beyond its path, 100k, with a sorted view") +
                 (folding ? " and the folded search's keys" : ""),
             {},
             {},
             0,
             0,
             {},
             perItem > 200};
    char text[64];
    std::snprintf(text, sizeof text, "%.0f bytes (target 200)", perItem);
    r.note = text;
    record(state, std::move(r));
}
BENCHMARK(BM_MemoryPerItem)->Arg(0)->Arg(1)->UseManualTime()->Iterations(1);

// --- The real window -------------------------------------------------------------------------

// --- The filter menus --------------------------------------------------------------------------

void BM_FilterMenus(benchmark::State& state) {
    RealWindow real;
    app::TVendleMainForm& form = real.form;
    std::size_t entries = 0;
    measurePair(
        state, "filter menus rebuilt (types and folders), 100k",
        [&] {
            parts(form).filterMenus->TypeMenuBuild();
            parts(form).filterMenus->FolderMenuBuild();
            entries = static_cast<std::size_t>(parts(form).filterMenus->miFolderFilter->actions().size());
        },
        {}, 0, 30.0);
    if (entries < 2) {
        lastResult().note = "no folders listed";
        lastResult().failed = true;
    }
}
BENCHMARK(BM_FilterMenus)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// --- The document context menu ---------------------------------------------------------------

void BM_ContextMenu(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        files.push_back(dir.filePath(QStringLiteral("docs/report %1.txt").arg(i)).toStdString());
        fs::create_directories(fs::path(files.back()).parent_path());
        std::ofstream(files.back()) << 'x';
    }
    const auto shell = platform::desktopShell({}, dir.path().toStdString());
    QWidget owner;
    widgets::TQnContextMenu menu(&owner, *shell);
    std::size_t items = 0;
    // Everything up to the moment the menu would appear; the "user" dismisses it at once.
    menu.setTracker([&](const std::vector<MenuItem>& built, const QPoint&) {
        items = built.size();
        return 0;
    });
    menu.FileNames = files;
    measurePair(
        state, "context menu built, " + std::to_string(count) + (count == 1 ? " document" : " documents"),
        [&] { menu.PopupEx(0, 0); }, {}, 0, 50.0);
    if (items == 0) {
        lastResult().note = "no menu was built";
        lastResult().failed = true;
    }
}
BENCHMARK(BM_ContextMenu)
    ->Arg(1)
    ->Arg(10)
    ->Arg(100)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// --- Help ---------------------------------------------------------------------------------------

// A help page from the compiled help file: the help object made, the file checked (in the
// background, the window's loop turning meanwhile) and opened, the page read, laid out and painted
// in a new help window.
void BM_HelpPage(benchmark::State& state) {
    bool shown = false;
    measurePair(
        state, "help page opened from the help file, new window",
        [&] {
            app::THtmlHelp help(VENDLE_HELP_FILE);
            help.ShowTopic("Option.htm");
            const auto* browser = help.window()->findChild<widgets::HelpBrowser*>();
            while (browser && browser->isLoading())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            help.window()->repaint();
            shown = browser && browser->toPlainText().contains(QStringLiteral("履歴"));
        },
        {}, 0, 100.0);
    if (!shown) {
        lastResult().failed = true;
        lastResult().note = "the page did not show";
    }
}
BENCHMARK(BM_HelpPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_KeystrokeToPaint(benchmark::State& state) {
    RealWindow real;
    app::TVendleMainForm& form = real.form;
    form.resize(900, 600);
    form.show();
    form.ApplyFilter();
    QApplication::processEvents();
    const QStringList typing = {"r", "re", "rep", "re", "r", "", "p", "pl", "pla", "pl", "p", ""};
    int step = 0;
    measurePair(
        state, "keystroke to painted view, real window, 100k",
        [&] {
            parts(form).Edit1->setText(typing[step++ % typing.size()]);
            parts(form).Grid->viewport()->repaint();
        },
        {}, 0, 16.0);
    if (form.Items().ItemCount() != 100'000) {
        lastResult().failed = true;
        lastResult().note = "the window held " + std::to_string(form.Items().ItemCount()) + " entries";
    }
}
BENCHMARK(BM_KeystrokeToPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(60);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const Samples before = calibrate();
    benchmark::RunSpecifiedBenchmarks();
    const Samples after = calibrate();
    benchmark::Shutdown();
    return printSummary(before, after) ? 0 : 1;
}
