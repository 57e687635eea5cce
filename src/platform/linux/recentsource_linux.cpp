// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/recentsource.h"

#include "core/desktopentry.h"
#include "core/filelimits.h"
#include "platform/shortcut.h"
#include "xbelreader.h"

#include "glibutil.h"
#include "platform/logging.h"

#include <glib/gstdio.h>

#include <memory>
#include <sys/stat.h>
#include <time.h>

namespace vendle::platform {

namespace {

// Bookmark entries are named by their URI, folder entries by their absolute path.
bool isFolderEntry(const RecentEntry& entry) {
    return !entry.name.empty() && entry.name.front() == '/';
}

long long nanosOf(const struct timespec& t) {
    return static_cast<long long>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

} // namespace

DesktopRecentSource::DesktopRecentSource(std::string dataHome) : dataHome_(std::move(dataHome)) {
    if (dataHome_.empty())
        dataHome_ = g_get_user_data_dir();
}

std::vector<std::string> DesktopRecentSource::locations() const {
    return {dataHome_, linkFolder()};
}

namespace {

bool sameFile(long long mtimeNs, long long size, unsigned long long inode, const struct stat& st) {
    return mtimeNs == nanosOf(st.st_mtim) && size == st.st_size && inode == st.st_ino;
}

} // namespace

bool DesktopRecentSource::snapshotFits(const struct stat& st) const {
    // Writers replace the file (a new inode) or rewrite it (a new time or size): either shows. A
    // copy is reused when it was read well after the file's last change (file times tick
    // coarsely: a rewrite of the same size soon after a read may keep the same time), or once,
    // right after it was read ahead for this look.
    return sameFile(bookmarks_.mtimeNs, bookmarks_.size, bookmarks_.inode, st) &&
           (bookmarks_.trusted || bookmarks_.fresh);
}

bool DesktopRecentSource::readSnapshot(const struct stat& st, const std::atomic<bool>* cancelled) const {
    // A file that could not be read is tried again only when it changed, and said so once.
    if (sameFile(refused_.mtimeNs, refused_.size, refused_.inode, st))
        return false;
    struct timespec readStart {};
    clock_gettime(CLOCK_REALTIME, &readStart);
    std::vector<RecentEntry> parsed;
    if (!parseBookmarks(bookmarkFile(), parsed, cancelled)) {
        if (!cancelled || !*cancelled)
            refused_ = Snapshot{nanosOf(st.st_mtim),
                                static_cast<long long>(st.st_size),
                                static_cast<unsigned long long>(st.st_ino),
                                false,
                                false,
                                {}};
        return false;
    }
    refused_ = Snapshot{};
    const long long mtimeNs = nanosOf(st.st_mtim);
    bookmarks_ = Snapshot{mtimeNs,
                          static_cast<long long>(st.st_size),
                          static_cast<unsigned long long>(st.st_ino),
                          nanosOf(readStart) - mtimeNs > 1'000'000'000,
                          cancelled != nullptr,
                          std::move(parsed)};
    return true;
}

bool DesktopRecentSource::hasWorkToPrepare() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    struct stat st {};
    return ::stat(bookmarkFile().c_str(), &st) == 0 && !snapshotFits(st) &&
           !sameFile(refused_.mtimeNs, refused_.size, refused_.inode, st);
}

void DesktopRecentSource::prepare(const std::atomic<bool>& cancelled) {
    const std::lock_guard<std::mutex> lock(mutex_);
    struct stat st {};
    if (::stat(bookmarkFile().c_str(), &st) == 0 && !snapshotFits(st))
        readSnapshot(st, &cancelled);
}

bool DesktopRecentSource::listBookmarks(std::vector<RecentEntry>& entries) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    struct stat st {};
    if (::stat(bookmarkFile().c_str(), &st) != 0)
        return false;
    if (!snapshotFits(st) && !readSnapshot(st, nullptr))
        return false;
    bookmarks_.fresh = false;
    entries.insert(entries.end(), bookmarks_.entries.begin(), bookmarks_.entries.end());
    return true;
}

bool DesktopRecentSource::parseBookmarks(const std::string& file, std::vector<RecentEntry>& entries,
                                         const std::atomic<bool>* cancelled) {
    std::string why;
    const std::optional<std::string> text = readWholeFile(file, kBookmarkFileLimit, &why);
    if (!text) {
        qCWarning(lcRecent) << "bookmark file skipped:" << file.c_str() << why.c_str();
        return false;
    }
    const std::size_t before = entries.size();
    if (!readXbelEntries(*text, entries, &why, cancelled)) {
        qCWarning(lcRecent) << "not a bookmark file:" << file.c_str() << why.c_str();
        return false;
    }
    if (!why.empty())
        qCWarning(lcRecent) << "damaged bookmark file:" << file.c_str() << why.c_str() << "- kept the"
                            << entries.size() - before << "bookmarks before the damage";
    return true;
}

bool DesktopRecentSource::listLinkFolder(std::vector<RecentEntry>& entries) const {
    const std::string folder = linkFolder();
    GError* raw = nullptr;
    const GDirPtr dir(g_dir_open(folder.c_str(), 0, &raw));
    if (!dir) {
        qCInfo(lcRecent) << "cannot list" << folder.c_str() << messageOf(GErrorPtr(raw)).c_str();
        return false;
    }
    while (const gchar* name = g_dir_read_name(dir.get())) {
        const std::string path = folder + "/" + name;
        GStatBuf st;
        if (g_lstat(path.c_str(), &st) != 0)
            continue;
        entries.push_back(RecentEntry{path, static_cast<std::int64_t>(st.st_mtim.tv_sec),
                                      static_cast<std::int32_t>(st.st_mtim.tv_nsec)});
    }
    return true;
}

bool DesktopRecentSource::list(std::vector<RecentEntry>& entries) {
    entries.clear();
    const bool bookmarks = listBookmarks(entries);
    // A bookmark file that is there but cannot be read leaves the listing incomplete: nothing is
    // listed, so that its entries are not taken for gone (and all taken in again once it reads).
    struct stat st {};
    if (!bookmarks && ::stat(bookmarkFile().c_str(), &st) == 0) {
        entries.clear();
        return false;
    }
    const bool links = listLinkFolder(entries);
    return bookmarks || links;
}

ResolvedEntry DesktopRecentSource::resolve(const RecentEntry& entry) {
    if (isFolderEntry(entry)) {
        ResolvedEntry resolved(ResolveShortcut(entry.name));
        if (resolved.path.empty())
            resolved.skipped = "a link without a document that is there";
        return resolved;
    }
    const UriPath target = fileUriToPath(entry.name);
    if (target.status == UriPath::Status::Undecodable)
        throw ShortcutError(__FILE__, __LINE__, "Resolve Error");
    ResolvedEntry resolved;
    if (target.status != UriPath::Status::Ok) {
        resolved.skipped = "not a local file";
        return resolved;
    }
    resolved.path = existingDocument(target.path);
    if (!resolved.path.empty())
        return resolved;
    // Not there: gone, or on a volume that is away, which the caller tells apart.
    const GCharPtr clean(g_canonicalize_filename(target.path.c_str(), "/"));
    GStatBuf st;
    if (g_stat(clean.get(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        resolved.missing = clean.get();
        resolved.skipped = "not there";
    } else {
        resolved.skipped = "not a regular file";
    }
    return resolved;
}

} // namespace vendle::platform
