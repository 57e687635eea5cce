#include "platform/recentsource.h"

#include "core/desktopentry.h"
#include "platform/shortcut.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <memory>
#include <sys/stat.h>

namespace vendle::platform {

namespace {

// Bookmark entries are named by their URI, folder entries by their absolute path.
bool isFolderEntry(const RecentEntry& entry) {
    return !entry.name.empty() && entry.name.front() == '/';
}

std::int64_t unixTimeOf(GDateTime* t) {
    return t ? g_date_time_to_unix(t) : 0;
}

} // namespace

DesktopRecentSource::DesktopRecentSource(std::string dataHome) : dataHome_(std::move(dataHome)) {
    if (dataHome_.empty())
        dataHome_ = g_get_user_data_dir();
}

std::vector<std::string> DesktopRecentSource::locations() const {
    return {dataHome_, linkFolder()};
}

bool DesktopRecentSource::listBookmarks(std::vector<RecentEntry>& entries) const {
    const std::string file = bookmarkFile();
    // Writers replace the file (a new inode) or rewrite it (a new time or size): either shows.
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        return false;
    const long long mtimeNs = static_cast<long long>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    if (bookmarks_.mtimeNs == mtimeNs && bookmarks_.size == st.st_size && bookmarks_.inode == st.st_ino) {
        entries.insert(entries.end(), bookmarks_.entries.begin(), bookmarks_.entries.end());
        return true;
    }
    std::vector<RecentEntry> parsed;
    if (!parseBookmarks(file, parsed))
        return false;
    bookmarks_ = Snapshot{mtimeNs, static_cast<long long>(st.st_size),
                          static_cast<unsigned long long>(st.st_ino), parsed};
    entries.insert(entries.end(), parsed.begin(), parsed.end());
    return true;
}

bool DesktopRecentSource::parseBookmarks(const std::string& file, std::vector<RecentEntry>& entries) {
    std::unique_ptr<GBookmarkFile, decltype(&g_bookmark_file_free)> bookmarks(g_bookmark_file_new(),
                                                                              g_bookmark_file_free);
    // The bookmark reader stamps a missing time with the moment of loading; such a time is no
    // record of use and counts as missing.
    const std::int64_t loadStart = g_get_real_time() / G_USEC_PER_SEC;
    if (!g_bookmark_file_load_from_file(bookmarks.get(), file.c_str(), nullptr))
        return false;
    const std::int64_t loadEnd = g_get_real_time() / G_USEC_PER_SEC + 1;
    const auto recorded = [=](GDateTime* t) {
        const std::int64_t v = unixTimeOf(t);
        return v >= loadStart && v <= loadEnd ? 0 : v;
    };
    gsize count = 0;
    std::unique_ptr<gchar*, decltype(&g_strfreev)> uris(g_bookmark_file_get_uris(bookmarks.get(), &count),
                                                        g_strfreev);
    for (gsize i = 0; i < count; ++i) {
        const gchar* uri = uris.get()[i];
        // The time of use is the last modification, else the last visit, else the addition.
        std::int64_t t = recorded(g_bookmark_file_get_modified_date_time(bookmarks.get(), uri, nullptr));
        if (t == 0)
            t = recorded(g_bookmark_file_get_visited_date_time(bookmarks.get(), uri, nullptr));
        if (t == 0)
            t = recorded(g_bookmark_file_get_added_date_time(bookmarks.get(), uri, nullptr));
        entries.push_back(RecentEntry{uri, t});
    }
    return true;
}

bool DesktopRecentSource::listLinkFolder(std::vector<RecentEntry>& entries) const {
    const std::string folder = linkFolder();
    std::unique_ptr<GDir, decltype(&g_dir_close)> dir(g_dir_open(folder.c_str(), 0, nullptr), g_dir_close);
    if (!dir)
        return false;
    while (const gchar* name = g_dir_read_name(dir.get())) {
        const std::string path = folder + "/" + name;
        GStatBuf st;
        if (g_lstat(path.c_str(), &st) != 0)
            continue;
        entries.push_back(RecentEntry{path, static_cast<std::int64_t>(st.st_mtime)});
    }
    return true;
}

bool DesktopRecentSource::list(std::vector<RecentEntry>& entries) {
    entries.clear();
    const bool bookmarks = listBookmarks(entries);
    const bool links = listLinkFolder(entries);
    return bookmarks || links;
}

std::string DesktopRecentSource::resolve(const RecentEntry& entry) {
    if (isFolderEntry(entry))
        return ResolveShortcut(entry.name);
    const UriPath target = fileUriToPath(entry.name);
    if (target.status == UriPath::Status::Undecodable)
        throw ShortcutError(__FILE__, __LINE__, "Resolve Error");
    if (target.status != UriPath::Status::Ok)
        return {};
    GStatBuf st;
    return g_stat(target.path.c_str(), &st) == 0 ? target.path : std::string();
}

} // namespace vendle::platform
