// SPDX-License-Identifier: GPL-3.0-or-later
// The trash as freedesktop.org lays it out (and GIO fills it): the user's own
// trash folder and those at the top of other volumes, each with "files" and "info"; an info file
// records the original path ("Path", which GIO shows as trash::orig-path) and the time of deletion.
#include "core/texts.h"
#include "platform/trash.h"

#include <gio/gio.h>
#include <glib/gstdio.h>

#include "glibutil.h"
#include "platform/logging.h"
#include "platform/system.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace vendle::platform {

namespace {

constexpr std::size_t kInfoFileLimit = 64 * 1024;
constexpr const char* kInfoSuffix = ".trashinfo";

struct TrashFolder {
    std::string folder;
    std::string top; // relative paths in its records start here; empty for the user's own trash
};

struct TrashEntry {
    std::string file;
    std::string info;
    std::string deleted;   // ISO 8601: compares as text
    long long written = 0; // the info file's time in nanoseconds: the order within one second
};

std::string parentOf(const std::string& path) {
    const GCharPtr parent(g_path_get_dirname(path.c_str()));
    return parent.get();
}

// The user's trash, and the trash folders at the top of the volume the path is on.
std::vector<TrashFolder> trashFoldersFor(const std::string& path) {
    std::vector<TrashFolder> folders{{std::string(g_get_user_data_dir()) + "/Trash", {}}};
    std::string top = parentOf(path);
    GStatBuf st;
    while (g_stat(top.c_str(), &st) != 0 && top != "/")
        top = parentOf(top);
    if (g_stat(top.c_str(), &st) != 0)
        return folders;
    for (std::string parent = parentOf(top); parent != top; parent = parentOf(top)) {
        GStatBuf up;
        if (g_stat(parent.c_str(), &up) != 0 || up.st_dev != st.st_dev)
            break;
        top = parent;
    }
    const std::string base = top == "/" ? std::string() : top;
    const std::string uid = std::to_string(::getuid());
    folders.push_back({base + "/.Trash/" + uid, top});
    folders.push_back({base + "/.Trash-" + uid, top});
    return folders;
}

// The original path and deletion time an info file records; nullopt for one that is damaged.
std::optional<std::pair<std::string, std::string>> readInfo(const std::string& info, const std::string& top) {
    const std::optional<std::string> text = readWholeFile(info, kInfoFileLimit);
    if (!text)
        return std::nullopt;
    std::string original;
    std::string deleted;
    std::size_t start = 0;
    while (start < text->size()) {
        std::size_t end = text->find('\n', start);
        if (end == std::string::npos)
            end = text->size();
        const std::string line = text->substr(start, end - start);
        start = end + 1;
        if (line.rfind("Path=", 0) == 0) {
            const GCharPtr unescaped(g_uri_unescape_string(line.c_str() + 5, nullptr));
            if (unescaped)
                original = unescaped.get();
        } else if (line.rfind("DeletionDate=", 0) == 0) {
            deleted = line.substr(13);
        }
    }
    if (original.empty())
        return std::nullopt;
    if (original.front() != '/')
        original = (top == "/" ? std::string() : top) + "/" + original;
    return std::make_pair(original, deleted);
}

// The trashed file that came from `path`, the one deleted last.
std::optional<TrashEntry> newestEntryFor(const std::string& path) {
    std::optional<TrashEntry> best;
    for (const TrashFolder& trash : trashFoldersFor(path)) {
        const std::string infoFolder = trash.folder + "/info";
        const GDirPtr dir(g_dir_open(infoFolder.c_str(), 0, nullptr));
        if (!dir)
            continue;
        const std::string suffix = kInfoSuffix;
        while (const gchar* raw = g_dir_read_name(dir.get())) {
            const std::string name = raw;
            if (name.size() <= suffix.size() ||
                name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
                continue;
            std::string info = infoFolder;
            info.append("/").append(name);
            const auto record = readInfo(info, trash.top);
            struct stat st {};
            if (!record || record->first != path || ::stat(info.c_str(), &st) != 0)
                continue;
            const long long written = st.st_mtim.tv_sec * 1'000'000'000LL + st.st_mtim.tv_nsec;
            if (best && std::tie(record->second, written) < std::tie(best->deleted, best->written))
                continue;
            best = TrashEntry{trash.folder + "/files/" + name.substr(0, name.size() - suffix.size()), info,
                              record->second, written};
        }
    }
    return best;
}

bool exists(const std::string& path) {
    GStatBuf st;
    return g_lstat(path.c_str(), &st) == 0;
}

// Moves `from` to `to` unless something stands at `to`; errno as rename's on failure.
bool moveWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the flag: the check and the move are two steps.
    if (exists(to)) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace

RestoreResult restoreFromTrash(const std::vector<std::string>& paths) {
    RestoreResult result;
    const auto fail = [&](const std::string& line) {
        result.reason += (result.reason.empty() ? "" : "\n") + line;
    };
    for (const std::string& path : paths) {
        const std::optional<TrashEntry> entry = newestEntryFor(path);
        if (!entry || !exists(entry->file)) {
            fail(fillIn(textIn("Trash", "「%1」はゴミ箱にありません。"), {path}));
            continue;
        }
        const std::string folder = parentOf(path);
        if (!g_file_test(folder.c_str(), G_FILE_TEST_IS_DIR)) {
            fail(fillIn(textIn("Trash", "元のフォルダ「%1」がありません: %2"), {folder, path}));
            continue;
        }
        if (!moveWithoutReplacing(entry->file, path)) {
            if (errno == EEXIST || errno == ENOTEMPTY)
                fail(textIn("Trash", "同じ名前のファイルがあるため、元に戻せません: ") + path);
            else
                fail(SystemErrorText(errno) + ": " + path);
            continue;
        }
        if (g_unlink(entry->info.c_str()) != 0)
            qCWarning(lcFiles) << "cannot remove the trash record" << entry->info.c_str();
        result.restored.push_back(path);
    }
    return result;
}

} // namespace vendle::platform
