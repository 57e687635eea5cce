// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/changenotification.h"

#include <algorithm>

#include <dirent.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

namespace vendle::platform {

namespace {

unsigned maskOf(unsigned kinds) {
    unsigned mask = 0;
    if (kinds & (ChangeKind::FileName | ChangeKind::DirName))
        mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    if (kinds & (ChangeKind::Attributes | ChangeKind::Security))
        mask |= IN_ATTRIB;
    if (kinds & (ChangeKind::Size | ChangeKind::LastWrite))
        mask |= IN_MODIFY | IN_CLOSE_WRITE;
    return mask;
}

constexpr std::size_t kMaxWatches = 4096;

} // namespace

ChangeNotification::~ChangeNotification() {
    close();
}

void ChangeNotification::addWatch(const std::string& directory, bool subtree) {
    if (watches_.size() >= kMaxWatches)
        return;
    // Folder events are always watched in a subtree, so that new subfolders get watches too.
    const unsigned mask = mask_ | (subtree ? IN_CREATE | IN_MOVED_TO : 0) | IN_ONLYDIR;
    const int wd = inotify_add_watch(fd_, directory.c_str(), mask);
    if (wd < 0)
        return;
    watches_.emplace_back(wd, directory);
    if (!subtree)
        return;
    if (DIR* dir = opendir(directory.c_str())) {
        while (const dirent* e = readdir(dir)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..")
                continue;
            std::string child = directory;
            child.append("/").append(name);
            struct stat st {};
            if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                addWatch(child, true);
        }
        closedir(dir);
    }
}

bool ChangeNotification::open(const std::string& directory, unsigned kinds, bool subtree) {
    close();
    fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd_ < 0)
        return false;
    kinds_ = kinds;
    mask_ = maskOf(kinds);
    subtree_ = subtree;
    addWatch(directory, subtree);
    if (watches_.empty()) {
        close();
        return false;
    }
    return true;
}

void ChangeNotification::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    watches_.clear();
}

bool ChangeNotification::signalled() {
    if (fd_ < 0)
        return false;
    bool changed = false;
    alignas(inotify_event) std::array<char, 8192> buffer{};
    while (true) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 0) <= 0 || !(p.revents & POLLIN))
            break;
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n <= 0)
            break;
        for (ssize_t off = 0; off < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buffer.data() + off);
            off += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            if (e->mask & IN_Q_OVERFLOW) {
                changed = true;
                continue;
            }
            if (e->mask & IN_IGNORED) {
                // The folder went (deleted, moved away, unmounted): its watch is gone with it.
                const int wd = e->wd;
                watches_.erase(std::remove_if(watches_.begin(), watches_.end(),
                                              [wd](const auto& w) { return w.first == wd; }),
                               watches_.end());
                changed = true;
                continue;
            }
            const bool isDir = e->mask & IN_ISDIR;
            if (subtree_ && isDir && (e->mask & (IN_CREATE | IN_MOVED_TO)) && e->len > 0) {
                for (const auto& [wd, path] : watches_) {
                    if (wd == e->wd) {
                        addWatch(path + "/" + e->name, true);
                        break;
                    }
                }
            }
            const bool nameEvent = e->mask & (IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO);
            if (nameEvent && !(kinds_ & (isDir ? ChangeKind::DirName : ChangeKind::FileName)))
                continue;
            if (e->mask & mask_)
                changed = true;
        }
    }
    if (fd_ >= 0 && watches_.empty())
        close(); // nothing is watched any more: the owner may open it again once the folder is back
    return changed;
}

} // namespace vendle::platform
