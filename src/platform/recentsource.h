// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's record of recently used documents: the bookmark file "recently-used.xbel" and
// the folder "RecentDocuments" of desktop links, both in the user's data folder.
#pragma once

#include "core/recentscan.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>

struct stat;

namespace vendle::platform {

class DesktopRecentSource final : public RecentSource {
public:
    // `dataHome` is the user's data folder; empty means the platform's ($XDG_DATA_HOME or
    // ~/.local/share).
    explicit DesktopRecentSource(std::string dataHome = {});

    std::vector<std::string> locations() const override;
    bool list(std::vector<RecentEntry>& entries) override;
    // The bookmark file changed since it was last read: reading it may be done ahead.
    bool hasWorkToPrepare() const override;
    // Reads and parses a changed bookmark file (on any thread); the next list() takes it.
    void prepare(const std::atomic<bool>& cancelled) override;
    ResolvedEntry resolve(const RecentEntry& entry) override;

    std::string bookmarkFile() const { return dataHome_ + "/recently-used.xbel"; }
    std::string linkFolder() const { return dataHome_ + "/RecentDocuments"; }

private:
    bool listBookmarks(std::vector<RecentEntry>& entries) const;
    static bool parseBookmarks(const std::string& file, std::vector<RecentEntry>& entries,
                               const std::atomic<bool>* cancelled);
    // The copy of the bookmark file may be used for the file in state `st`.
    bool snapshotFits(const struct stat& st) const;
    // Reads the file into the copy; false when it cannot be read (or reading was cancelled).
    bool readSnapshot(const struct stat& st, const std::atomic<bool>* cancelled) const;
    bool listLinkFolder(std::vector<RecentEntry>& entries) const;

    std::string dataHome_;
    // The bookmark file is parsed again only when it changed.
    struct Snapshot {
        long long mtimeNs = -1;
        long long size = -1;
        unsigned long long inode = 0;
        bool trusted = false; // read long enough after its last change to be reused
        bool fresh = false;   // read ahead for the next look, which takes it once
        std::vector<RecentEntry> entries;
    };
    mutable Snapshot bookmarks_;
    mutable Snapshot refused_; // the last state of the file that could not be read
    mutable std::mutex mutex_; // prepare() may run on another thread than list()
};

} // namespace vendle::platform
