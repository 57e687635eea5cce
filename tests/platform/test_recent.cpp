// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/desktopentry.h"
#include "core/shelllink.h"
#include "platform/linux/xbelreader.h"
#include "platform/recentsource.h"
#include "platform/shellinfo.h"
#include "platform/shortcut.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <glib.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

using namespace vendle;
using namespace vendle::platform;
using vendle::test::TempDir;
namespace fs = std::filesystem;

namespace {

std::string bookmark(const std::string& href, const std::string& added, const std::string& modified,
                     const std::string& visited) {
    std::string b = "  <bookmark href=\"" + href + "\" added=\"" + added + "\"";
    if (!modified.empty())
        b += " modified=\"" + modified + "\"";
    if (!visited.empty())
        b += " visited=\"" + visited + "\"";
    return b + ">\n    <info><metadata owner=\"http://freedesktop.org\"><mime:mime-type type=\"text/plain\"/>"
               "</metadata></info>\n  </bookmark>\n";
}

std::string xbel(const std::string& bookmarks) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\"\n"
           "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
           "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n>\n" +
           bookmarks + "</xbel>\n";
}

void setMtime(const std::string& path, std::int64_t t) {
    timespec times[2] = {{static_cast<time_t>(t), 0}, {static_cast<time_t>(t), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

} // namespace

TEST(DesktopRecentSource, ListsBookmarksAndLinksWithTheirTimes) {
    TempDir dir;
    const std::string doc = dir.write("docs/a b.txt", "x");
    dir.write("data/recently-used.xbel",
              xbel(bookmark("file://" + dir.path("docs/a%20b.txt"), "2026-12-08T01:00:00Z",
                            "2026-12-08T03:00:01Z", "2026-12-08T02:00:00Z") +
                   bookmark("file:///nowhere/gone.txt", "2026-12-08T01:00:00Z", "", "2026-12-08T02:00:00Z") +
                   bookmark("https://example.org/page", "2026-12-08T01:00:00Z", "", "")));
    const std::string link = dir.write("data/RecentDocuments/a.txt.desktop",
                                       "[Desktop Entry]\nType=Link\nURL[$e]=file://" + doc + "\n");
    setMtime(link, 1'796'700'000);

    DesktopRecentSource source(dir.path("data"));
    EXPECT_EQ(source.locations(),
              (std::vector<std::string>{dir.path("data"), dir.path("data/RecentDocuments")}));
    std::vector<RecentEntry> entries;
    ASSERT_TRUE(source.list(entries));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].unixTime, 1'796'698'801); // modified wins
    EXPECT_EQ(entries[1].unixTime, 1'796'695'200); // else visited
    EXPECT_EQ(entries[2].unixTime, 1'796'691'600); // else added
    EXPECT_EQ(entries[3].unixTime, 1'796'700'000); // the link file's own time
    EXPECT_EQ(source.resolve(entries[0]).path, doc);
    EXPECT_EQ(source.resolve(entries[1]).path, "");                     // the document is gone
    EXPECT_EQ(source.resolve(entries[1]).missing, "/nowhere/gone.txt"); // gone or away: the caller asks
    EXPECT_EQ(source.resolve(entries[2]).path, "");                     // not a local file
    EXPECT_EQ(source.resolve(entries[3]).path, doc);

    EXPECT_THROW(source.resolve(RecentEntry{"file:///bad%zzname", 0}), ShortcutError);
}

TEST(DesktopRecentSource, NothingToListIsReported) {
    TempDir dir;
    DesktopRecentSource source(dir.path("data"));
    std::vector<RecentEntry> entries;
    EXPECT_FALSE(source.list(entries));
    dir.write("data/recently-used.xbel", "this is no xml");
    EXPECT_FALSE(source.list(entries));
    fs::create_directories(dir.path("data/RecentDocuments"));
    // A bookmark file that is there but cannot be read makes the listing incomplete: none.
    EXPECT_FALSE(source.list(entries));
    fs::remove(dir.path("data/recently-used.xbel"));
    EXPECT_TRUE(source.list(entries)); // an empty folder is a listing
    EXPECT_TRUE(entries.empty());
}

TEST(ResolveShortcut, LinksOfEachKind) {
    TempDir dir;
    const std::string doc = dir.write("docs/報告.txt", "x");
    // Symbolic links, relative and dangling.
    fs::create_symlink("docs/報告.txt", dir.path("rel-link"));
    EXPECT_EQ(ResolveShortcut(dir.path("rel-link")), doc);
    fs::create_symlink(dir.path("docs/none.txt"), dir.path("dangling"));
    EXPECT_EQ(ResolveShortcut(dir.path("dangling")), "");
    // Desktop links.
    const std::string good =
        dir.write("l/good.desktop", "[Desktop Entry]\nType=Link\nURL=file://" + doc + "\n");
    EXPECT_EQ(ResolveShortcut(good), doc);
    const std::string gone = dir.write("l/gone.desktop", "[Desktop Entry]\nType=Link\nURL=file:///no/such\n");
    EXPECT_EQ(ResolveShortcut(gone), "");
    const std::string app = dir.write("l/app.desktop", "[Desktop Entry]\nType=Application\nExec=true\n");
    EXPECT_EQ(ResolveShortcut(app), "");
    const std::string bad = dir.write("l/bad.DESKTOP", "[Desktop Entry]\nType=Link\nURL=file:///a%q\n");
    EXPECT_THROW(ResolveShortcut(bad), ShortcutError);
    // Plain files, folders and missing paths are no shortcuts.
    EXPECT_EQ(ResolveShortcut(doc), "");
    EXPECT_EQ(ResolveShortcut(dir.path("docs")), "");
    EXPECT_EQ(ResolveShortcut(dir.path("missing.desktop")), "");
}

TEST(ResolveShortcut, HostileLinksCostNothingAndResolveToDocumentsOnly) {
    TempDir dir;
    const std::string doc = dir.write("docs/d.txt", "x");
    // A sparse file of 3 GiB named like a link: its size is checked before anything is read.
    const std::string huge = dir.path("l/huge.desktop");
    fs::create_directories(dir.path("l"));
    { std::ofstream(huge) << "[Desktop Entry]\nType=Link\nURL=file://" << doc << "\n"; }
    fs::resize_file(huge, 3ull << 30);
    EXPECT_EQ(ResolveShortcut(huge), "");
    // Chains of links end at the document; loops and dangling links at nothing.
    fs::create_symlink(doc, dir.path("l/one"));
    fs::create_symlink(dir.path("l/one"), dir.path("l/two"));
    fs::create_symlink(dir.path("l/two"), dir.path("l/three"));
    EXPECT_EQ(ResolveShortcut(dir.path("l/three")), doc);
    fs::create_symlink(dir.path("l/loop-b"), dir.path("l/loop-a"));
    fs::create_symlink(dir.path("l/loop-a"), dir.path("l/loop-b"));
    EXPECT_EQ(ResolveShortcut(dir.path("l/loop-a")), "");
    // Devices and the like are no documents; ".." is resolved in the path itself.
    const std::string dev = dir.write("l/dev.desktop", "[Desktop Entry]\nType=Link\nURL=file:///dev/zero\n");
    EXPECT_EQ(ResolveShortcut(dev), "");
    const std::string dots = dir.write("l/dots.desktop", "[Desktop Entry]\nType=Link\nURL=file://" +
                                                             dir.path("docs/../docs/./d.txt") + "\n");
    EXPECT_EQ(ResolveShortcut(dots), doc);
    ASSERT_EQ(::mkfifo(dir.path("l/pipe.desktop").c_str(), 0600), 0);
    EXPECT_EQ(ResolveShortcut(dir.path("l/pipe.desktop")), ""); // and does not wait for a writer
    DesktopRecentSource source(dir.path("data"));
    EXPECT_EQ(source.resolve(RecentEntry{"file://" + dir.path("docs/x/../d.txt"), 0}).path, doc);
    EXPECT_EQ(source.resolve(RecentEntry{"file:///proc/self/mem", 0}).path, "");
}

TEST(ResolveShortcut, WindowsLinksThroughAWinePrefix) {
    TempDir dir;
    const std::string doc = dir.write("wine/drive_c/文書/a.txt", "x");
    fs::create_directories(dir.path("wine/dosdevices"));
    fs::create_symlink("../drive_c", dir.path("wine/dosdevices/c:"));
    setenv("WINEPREFIX", dir.path("wine").c_str(), 1);
    const std::string lnk = dir.write("recent/a.lnk", buildShellLink(u"C:\\文書\\a.txt", u"", u""));
    EXPECT_EQ(ResolveShortcut(lnk), doc);
    EXPECT_EQ(windowsPathToLocal("D:\\x.txt"), "");            // no such drive
    EXPECT_EQ(windowsPathToLocal("\\\\server\\share\\x"), ""); // shares do not map
    const std::string gone = dir.write("recent/b.lnk", buildShellLink(u"C:\\gone.txt", u"", u""));
    EXPECT_EQ(ResolveShortcut(gone), "");
    const std::string junk = dir.write("recent/junk.lnk", std::string(100, '\x4C'));
    EXPECT_EQ(ResolveShortcut(junk), "");
    unsetenv("WINEPREFIX");
}

TEST(DecodeWindowsText, Cp932AndUtf8) {
    EXPECT_EQ(decodeWindowsText("C:\\\x95\x5C\\a.txt"), "C:\\表\\a.txt");
    EXPECT_EQ(decodeWindowsText("already 報告"), "already 報告");
    EXPECT_EQ(decodeWindowsText("\x82\xA0"), "あ");
}

TEST(DesktopShellInfo, TypesFoldersAndSharedIcons) {
    TempDir dir;
    DesktopShellInfo shell;
    const ShellFileInfo folder = shell.queryFileInfo(dir.path());
    EXPECT_TRUE(folder.isFolder);
    // A folder's own icon, with the plain folder icon as its fallback.
    EXPECT_EQ(shell.iconNames(folder.iconIndex).back(), "folder");
    EXPECT_EQ(shell.queryFileInfo(dir.path() + "/").iconIndex,
              shell.queryFileInfo(dir.path() + "/").iconIndex);
    const ShellFileInfo a = shell.queryFileInfo(dir.write("a.txt", "x"));
    const ShellFileInfo b = shell.queryFileInfo(dir.path("missing.txt")); // typed by its name
    EXPECT_FALSE(a.isFolder);
    EXPECT_FALSE(a.type().empty());
    EXPECT_EQ(a.type(), b.type());
    EXPECT_EQ(a.iconIndex, b.iconIndex);
    EXPECT_FALSE(shell.iconNames(a.iconIndex).empty());
    EXPECT_EQ(shell.iconNames(a.iconIndex).back(), "text-x-generic");
    EXPECT_TRUE(shell.iconNames(9999).empty());
    // Unknown data has no description, so the history falls back to the extension.
    EXPECT_EQ(shell.queryFileInfo(dir.write("x.zzqq", std::string(64, '\0'))).type(), "");
}

TEST(DesktopShellInfo, WholeNameTypesDoNotDependOnTheOrderOfAsking) {
    for (const bool cmakeFirst : {true, false}) {
        DesktopShellInfo shell;
        std::string cmake, notes;
        if (cmakeFirst)
            cmake = shell.queryKnownFileInfo("/p/CMakeLists.txt").type();
        notes = shell.queryKnownFileInfo("/p/notes.txt").type();
        if (!cmakeFirst)
            cmake = shell.queryKnownFileInfo("/p/CMakeLists.txt").type();
        EXPECT_NE(cmake, notes) << cmakeFirst;
        EXPECT_EQ(shell.queryKnownFileInfo("/q/other.txt").type(), notes);
        EXPECT_EQ(shell.queryKnownFileInfo("/q/CMakeLists.txt").type(), cmake);
    }
}

TEST(DesktopRecentSource, ARewrittenBookmarkFileIsReadAgain) {
    TempDir dir;
    const std::string one = bookmark("file:///a.txt", "2026-12-08T01:00:00Z", "2026-12-08T01:00:00Z", "");
    const std::string two = bookmark("file:///b.txt", "2026-12-08T01:00:00Z", "2026-12-08T01:00:00Z", "");
    dir.write("data/recently-used.xbel", xbel(one));
    DesktopRecentSource source(dir.path("data"));
    std::vector<RecentEntry> entries;
    ASSERT_TRUE(source.list(entries));
    EXPECT_EQ(entries.size(), 1u);
    ASSERT_TRUE(source.list(entries)); // unchanged: the same answer
    EXPECT_EQ(entries.size(), 1u);
    // Replaced the way writers do it: a new file renamed over the old one.
    dir.write("data/new.xbel", xbel(one + two));
    fs::rename(dir.path("data/new.xbel"), dir.path("data/recently-used.xbel"));
    ASSERT_TRUE(source.list(entries));
    EXPECT_EQ(entries.size(), 2u);

    // Read ahead on another thread: a cancelled read leaves the work to do, a finished one leaves
    // the next listing nothing to read.
    dir.write("data/new.xbel", xbel(two));
    fs::rename(dir.path("data/new.xbel"), dir.path("data/recently-used.xbel"));
    EXPECT_TRUE(source.hasWorkToPrepare());
    std::atomic<bool> cancelled{true};
    source.prepare(cancelled);
    EXPECT_TRUE(source.hasWorkToPrepare());
    cancelled = false;
    std::thread([&] { source.prepare(cancelled); }).join();
    EXPECT_FALSE(source.hasWorkToPrepare());
    ASSERT_TRUE(source.list(entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, "file:///b.txt");
}

// Desktop writers make their URIs for GLib's decoder; ours must find the same path, or none.
TEST(FileUri, AgreesWithGLibOnLocalUris) {
    for (const char* uri :
         {"file:///a/b%20c", "file:///a%2Fb", "file:///a%2fb", "file:///a#frag", "file:///a?q",
          "file://localhost/x", "file:/x", "file:rel", "file:///a%00b", "file:///a%zz", "FILE:///up",
          "file:///%e6%96%87", "file:////x", "file://", "file:///", "file:///%"}) {
        gchar* host = nullptr;
        gchar* glibPath = g_filename_from_uri(uri, &host, nullptr);
        const UriPath ours = fileUriToPath(uri);
        if (glibPath) {
            EXPECT_EQ(ours.status, UriPath::Status::Ok) << uri;
            EXPECT_EQ(ours.path, glibPath) << uri;
        } else {
            EXPECT_NE(ours.status, UriPath::Status::Ok) << uri;
        }
        g_free(glibPath);
        g_free(host);
    }
}

TEST(XbelReader, TimesAreReadExactlyAndAbsentOnesAreNoTimes) {
    std::vector<RecentEntry> entries;
    // A bookmark written this very moment keeps its time; the latest of the three counts.
    const std::string text = xbel(bookmark("file:///a", "2026-12-08T07:58:12.608475Z",
                                           "2026-12-08T07:58:14.500179Z", "2026-12-08T07:58:12.608476Z") +
                                  bookmark("file:///b", "2026-12-08T01:00:00Z", "", "") +
                                  "  <bookmark href=\"file:///c\"><info/></bookmark>\n" +
                                  bookmark("file:///d", "not a time", "2026-12-08T01:00:00+09:00", "") +
                                  "  <bookmark added=\"2026-12-08T01:00:00Z\"/>\n"); // no href: no entry
    ASSERT_TRUE(readXbelEntries(text, entries));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "file:///a");
    EXPECT_EQ(entries[0].unixTime, 1'796'716'694);
    EXPECT_EQ(entries[0].nanos, 500'179'000);
    EXPECT_EQ(entries[1].unixTime, 1'796'691'600);
    EXPECT_EQ(entries[1].nanos, 0);
    EXPECT_EQ(entries[2].unixTime, 0); // no time at all
    EXPECT_EQ(entries[3].unixTime, 1'796'691'600 - 9 * 3600);

    // Not a bookmark file, or damaged before its first bookmark: nothing.
    for (const char* bad :
         {"", "this is no xml", "<html><bookmark href=\"file:///x\"/></html>",
          "<xbel>\xff<bookmark href=\"file:///x\" added=\"2026-12-08T01:00:00Z\"/></xbel>"}) {
        entries.clear();
        EXPECT_FALSE(readXbelEntries(bad, entries)) << bad;
        EXPECT_TRUE(entries.empty());
    }
    // One bad byte, or a file cut short, costs only the bookmarks after it.
    std::string damaged = text;
    damaged.insert(damaged.find("file:///d") - 40, "\xff");
    entries.clear();
    std::string why;
    ASSERT_TRUE(readXbelEntries(damaged, entries, &why));
    EXPECT_FALSE(why.empty());
    ASSERT_GE(entries.size(), 2u);
    EXPECT_LE(entries.size(), 3u);
    EXPECT_EQ(entries[1].name, "file:///b");
    entries.clear();
    ASSERT_TRUE(readXbelEntries(text.substr(0, text.find("file:///b") + 20), entries));
    EXPECT_EQ(entries.front().name, "file:///a");
}

// Every way a writer changes the bookmark file: created after the start, rewritten in place with
// the same size within the same instant, replaced by a rename, deleted and written again.
TEST(DesktopRecentSource, ImportFollowsEveryKindOfWrite) {
    TempDir dir;
    setenv("TZ", "UTC", 1);
    tzset();
    const std::string a = dir.write("docs/a.txt", "x");
    const std::string b = dir.write("docs/b.txt", "x");
    const std::string c = dir.write("docs/c.txt", "x");
    const std::string file = dir.path("data/recently-used.xbel");
    const auto mark = [](const std::string& doc, const std::string& when) {
        return bookmark("file://" + doc, when, when, when);
    };
    class NoShell final : public ShellQuery {
        ShellFileInfo queryFileInfo(const std::string&) override { return {}; }
    } shell;
    HistoryList history(PathSyntax::posix(), shell);
    DesktopRecentSource source(dir.path("data"));
    RecentImports imports;
    beginImports(source, imports, std::nullopt); // no file yet
    DateTime last = 0;
    const auto scan = [&] { return scanRecent(history, source, imports, last, 0, 100); };
    const auto pathAt = [&](int i) { return history.Item(i).Path; };

    dir.write("data/recently-used.xbel", xbel(mark(a, "2026-12-08T07:50:00.000001Z")));
    EXPECT_EQ(scan().added, 1);
    // Rewritten in place: same size, same file, at once.
    {
        std::ofstream(file, std::ios::binary | std::ios::in | std::ios::out)
            << xbel(mark(a, "2026-12-08T07:50:00.000002Z"));
    }
    ScanResult r = scan();
    EXPECT_EQ(r.moved, 1);
    EXPECT_EQ(r.examined, 1);
    // Replaced by a rename, with one more entry.
    dir.write("data/new.xbel",
              xbel(mark(a, "2026-12-08T07:50:00.000002Z") + mark(b, "2026-12-08T07:51:00Z")));
    fs::rename(dir.path("data/new.xbel"), file);
    r = scan();
    EXPECT_EQ(r.examined, 1);
    EXPECT_EQ(pathAt(1), b);
    // Deleted: nothing is lost. Written again with the same entries and one new: only that one.
    fs::remove(file);
    EXPECT_EQ(scan().examined, 0);
    dir.write("data/recently-used.xbel",
              xbel(mark(a, "2026-12-08T07:50:00.000002Z") + mark(b, "2026-12-08T07:51:00Z") +
                   mark(c, "2026-12-08T07:52:00Z")));
    r = scan();
    EXPECT_EQ(r.examined, 1);
    ASSERT_EQ(history.ItemCount(), 3);
    EXPECT_EQ(pathAt(0), a);
    EXPECT_EQ(pathAt(2), c);
    EXPECT_DOUBLE_EQ(history.Item(2).LastUsed, dosDateTime(1'796'716'320));
}

// Bookmark files as a crash, a disk error or a hostile program leave them.
TEST(DesktopRecentSource, DamagedAndHostileBookmarkFilesAreRefusedQuickly) {
    TempDir dir;
    const std::string good = xbel(bookmark("file:///a.txt", "2026-12-08T01:00:00Z", "", ""));
    DesktopRecentSource source(dir.path("data"));
    std::vector<RecentEntry> entries;
    dir.write("data/recently-used.xbel", good.substr(0, good.size() / 2)); // cut mid-write
    EXPECT_FALSE(source.list(entries));
    std::string junk(4096, '\0');
    for (std::size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>((i * 7919) & 0xFF);
    dir.write("data/recently-used.xbel", junk);
    EXPECT_FALSE(source.list(entries));
    // 100,000 levels deep: read without recursion, found to hold no bookmark at the top.
    std::string deep = "<?xml version=\"1.0\"?><xbel>";
    for (int i = 0; i < 100'000; ++i)
        deep += "<folder>";
    for (int i = 0; i < 100'000; ++i)
        deep += "</folder>";
    dir.write("data/recently-used.xbel", deep + "</xbel>");
    ASSERT_TRUE(source.list(entries));
    EXPECT_TRUE(entries.empty());
    // 50 MB of bookmarks: every one is listed.
    std::string many;
    const std::string one = bookmark("file:///d/some/rather/long/path/to/a/document/number.txt",
                                     "2026-12-08T01:00:00Z", "2026-12-08T02:00:00Z", "2026-12-08T03:00:00Z");
    while (many.size() < 50u * 1024 * 1024)
        many += one;
    dir.write("data/recently-used.xbel", xbel(many));
    ASSERT_TRUE(source.list(entries));
    EXPECT_EQ(entries.size(), many.size() / one.size());
}

// A folder of links with everything a folder can hold: the listing and the look stay quick and
// take in every valid link.
TEST(DesktopRecentSource, AHostileLinkFolderIsScannedQuicklyAndItsValidLinksTaken) {
    TempDir dir;
    const std::string docs = dir.path("docs");
    fs::create_directories(docs);
    const std::string links = dir.path("data/RecentDocuments");
    fs::create_directories(links);
    for (int i = 0; i < 3000; ++i) {
        const std::string doc = dir.write("docs/" + std::to_string(i) + ".txt", "x");
        dir.write("data/RecentDocuments/" + std::to_string(i) + ".desktop",
                  "[Desktop Entry]\nType=Link\nURL=file://" + doc + "\n");
    }
    fs::create_symlink(docs + "/nothing.txt", links + "/dangling.desktop");
    fs::create_symlink(links + "/loop-b", links + "/loop-a");
    fs::create_symlink(links + "/loop-a", links + "/loop-b");
    fs::create_symlink(docs, links + "/a-folder");
    ASSERT_EQ(::mkfifo((links + "/pipe.desktop").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((links + "/pipe.lnk").c_str(), 0600), 0);
    fs::create_directories(links + "/sub.desktop");
    dir.write("data/RecentDocuments/unreadable.desktop", "[Desktop Entry]\nType=Link\nURL=file:///x\n");
    fs::permissions(links + "/unreadable.desktop", fs::perms::none);

    class Types final : public ShellQuery {
        ShellFileInfo queryFileInfo(const std::string&) override { return {}; }
    } shell;
    HistoryList history(PathSyntax::posix(), shell);
    DesktopRecentSource source(dir.path("data"));
    RecentImports imports;
    imports.begin({}, std::nullopt); // everything counts as new
    DateTime last = 0;
    // A FIFO or an unreadable entry never stops the look (a hang would end the test); its speed is
    // the benchmark's to show.
    const ScanResult r = scanRecent(history, source, imports, last, 1, 100'000);
    EXPECT_EQ(r.added, 3000);
    EXPECT_TRUE(r.failures.empty());
}
