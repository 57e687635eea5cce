// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileaccess.h"

#include "core/filelimits.h"
#include "glibutil.h"
#include "platform/logging.h"
#include "safewrite.h"

#include <glib/gstdio.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <future>
#include <memory>
#include <system_error>
#include <thread>

namespace vendle::platform {

bool SystemFileAccess::exists(const std::string& path) {
    GStatBuf st;
    return g_stat(path.c_str(), &st) == 0;
}

bool SystemFileAccess::isExistingFile(const std::string& path) {
    GStatBuf st;
    return g_stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

namespace {

constexpr auto kNetworkWait = std::chrono::milliseconds(1500);

// The kind of what is at `path`, asked with only the type wanted; nullopt with errno set when
// nothing can be looked at there.
std::optional<mode_t> typeAt(const char* path) {
    struct statx st {};
    if (::statx(AT_FDCWD, path, 0, STATX_TYPE, &st) != 0)
        return std::nullopt;
    return static_cast<mode_t>(st.stx_mode & S_IFMT);
}

// A document is gone only when its folder is there without it. A folder that is missing (a volume
// mounted outside the known roots, such as an fstab mount, is away) or a path the system cannot
// look at now leaves the document out of reach, not deleted.
FileAccess::Presence presenceOf(const std::string& path) {
    if (const std::optional<mode_t> type = typeAt(path.c_str()))
        return S_ISDIR(*type) ? FileAccess::Presence::Gone : FileAccess::Presence::File;
    if (errno != ENOENT && errno != ENOTDIR)
        return FileAccess::Presence::Unavailable;
    const GCharPtr folder(g_path_get_dirname(path.c_str()));
    const std::optional<mode_t> folderType = typeAt(folder.get());
    return folderType && S_ISDIR(*folderType) ? FileAccess::Presence::Gone
                                              : FileAccess::Presence::Unavailable;
}

// The presence of a path on a file system that may not answer: asked on a thread of its own, given
// up after `limit` (the thread finishes on its own whenever the system answers).
std::optional<FileAccess::Presence> presenceWithin(const std::string& path, std::chrono::milliseconds limit) {
    auto answer = std::make_shared<std::promise<FileAccess::Presence>>();
    std::future<FileAccess::Presence> result = answer->get_future();
    std::thread([path, answer] { answer->set_value(presenceOf(path)); }).detach();
    if (result.wait_for(limit) != std::future_status::ready)
        return std::nullopt;
    return result.get();
}

} // namespace

std::shared_ptr<const SystemFileAccess::Mounts> SystemFileAccess::mounts() {
    const std::lock_guard lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    if (mounts_ && now - mountsRead_ < std::chrono::seconds(2))
        return mounts_;
    mountsRead_ = now;
    auto fresh = std::make_shared<Mounts>();
    fresh->mounts =
        parseMountInfo(readWholeFile("/proc/self/mountinfo", kSystemFileLimit).value_or(std::string()));
    const std::string user = g_get_user_name();
    fresh->gvfsRoot = std::string(g_get_user_runtime_dir()) + "/gvfs/";
    fresh->roots = {"/media/" + user + "/", "/run/media/" + user + "/", "/media/", "/mnt/", fresh->gvfsRoot};
    mounts_ = std::move(fresh);
    return mounts_;
}

bool SystemFileAccess::isSilent(const std::string& mountPoint) {
    const std::lock_guard lock(mutex_);
    return silentMounts_.count(mountPoint) > 0;
}

void SystemFileAccess::markSilent(const std::string& mountPoint) {
    const std::lock_guard lock(mutex_);
    silentMounts_.insert(mountPoint);
}

FileAccess::Presence SystemFileAccess::presence(const std::string& path) {
    return presence(path, *mounts());
}

FileAccess::Presence SystemFileAccess::presence(const std::string& path, const Mounts& m) {
    const std::string volume = volumeRootOf(path, m.roots);
    if (!volume.empty()) {
        // GVfs shows each mounted share as a folder of its own mount; elsewhere a volume is a mount.
        const bool mounted = volume.compare(0, m.gvfsRoot.size(), m.gvfsRoot) == 0
                                 ? presenceWithin(volume, kNetworkWait).has_value() &&
                                       g_file_test(volume.c_str(), G_FILE_TEST_IS_DIR)
                                 : isMountPoint(m.mounts, volume);
        if (!mounted)
            return Presence::Unavailable;
    }
    const MountEntry* mount = mountOf(m.mounts, path);
    if (mount && isSlowFileSystem(mount->fsType)) {
        if (isSilent(mount->mountPoint))
            return Presence::Unavailable;
        const std::optional<Presence> answer = presenceWithin(path, kNetworkWait);
        if (!answer) {
            qCWarning(lcFiles) << "no answer from" << mount->mountPoint.c_str()
                               << "- its documents are kept as they are";
            markSilent(mount->mountPoint);
            return Presence::Unavailable;
        }
        return *answer;
    }
    return presenceOf(path);
}

std::vector<FileAccess::Presence>
SystemFileAccess::presenceOfEach(const std::vector<std::string_view>& paths) {
    const std::shared_ptr<const Mounts> m = mounts();
    std::vector<Presence> answers(paths.size(), Presence::Gone);
    std::vector<std::size_t> local; // paths a plain stat answers
    local.reserve(paths.size());
    std::string path;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        path.assign(paths[i]);
        const MountEntry* mount = mountOf(m->mounts, path);
        if (!volumeRootOf(path, m->roots).empty() || (mount && isSlowFileSystem(mount->fsType)))
            answers[i] = presence(path, *m);
        else
            local.push_back(i);
    }
    // Neighbouring entries often share folders: each thread takes one stretch of the list.
    constexpr std::size_t kPerThread = 4096;
    const std::size_t threads = std::min<std::size_t>({std::max(1u, std::thread::hardware_concurrency()), 4,
                                                       std::max<std::size_t>(1, local.size() / kPerThread)});
    const auto check = [&](std::size_t part) {
        const std::size_t from = local.size() * part / threads;
        const std::size_t to = local.size() * (part + 1) / threads;
        std::string one;
        for (std::size_t k = from; k < to; ++k) {
            one.assign(paths[local[k]]);
            answers[local[k]] = presenceOf(one);
        }
    };
    {
        std::vector<std::jthread> helpers;
        std::size_t started = 1;
        for (; started < threads; ++started) {
            try {
                helpers.emplace_back(check, started);
            } catch (const std::system_error&) {
                break; // no thread to be had: this one does the rest
            }
        }
        check(0);
        for (std::size_t part = started; part < threads; ++part)
            check(part);
    } // the helpers are joined here
    return answers;
}

std::optional<std::string> SystemFileAccess::readAll(const std::string& path, std::size_t limit) {
    std::string why;
    std::optional<std::string> text = readWholeFile(path, limit, &why);
    if (!text)
        qCWarning(lcFiles).noquote() << "cannot read" << QString::fromStdString(path)
                                     << QString::fromStdString(why);
    return text;
}

namespace {

bool isTemporaryOf(const std::string& name, const std::string& base) {
    if (name.size() != base.size() + 7 || name.compare(0, base.size(), base) != 0 || name[base.size()] != '.')
        return false;
    for (std::size_t i = base.size() + 1; i < name.size(); ++i) {
        if (!g_ascii_isalnum(name[i]))
            return false;
    }
    return true;
}

} // namespace

void SystemFileAccess::removeStaleTemporaries(const std::string& path) {
    const GCharPtr dir(g_path_get_dirname(path.c_str()));
    const GCharPtr base(g_path_get_basename(path.c_str()));
    const GDirPtr listing(g_dir_open(dir.get(), 0, nullptr));
    if (!listing)
        return;
    while (const gchar* name = g_dir_read_name(listing.get())) {
        if (!isTemporaryOf(name, base.get()))
            continue;
        const std::string leftover = std::string(dir.get()) + "/" + name;
        GStatBuf st;
        if (g_lstat(leftover.c_str(), &st) == 0 && S_ISREG(st.st_mode) && g_unlink(leftover.c_str()) == 0)
            qCInfo(lcFiles) << "removed what an interrupted save left:" << leftover.c_str();
    }
}

void SystemFileAccess::writeAtomicallyFrom(const std::string& path, const ByteWriter& write) {
    // The text is produced first: a producer that fails leaves nothing behind.
    StringSink sink;
    write(sink);
    if (const std::optional<std::string> failure = replaceFile(path, sink.bytes))
        throw IoError(*failure);
}

} // namespace vendle::platform
