// SPDX-License-Identifier: GPL-3.0-or-later
// The operating system's file access for the core's history and settings files.
#pragma once

#include "core/fileaccess.h"
#include "core/volumes.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <set>
#include <vector>

namespace vendle::platform {

class SystemFileAccess final : public FileAccess {
public:
    bool exists(const std::string& path) override;
    bool isExistingFile(const std::string& path) override;
    // A path under a removable or network root (/media/$USER, /run/media/$USER, /media, /mnt,
    // GVfs's folder) whose volume is not mounted is Unavailable, and so is one on a network file
    // system that does not answer within a second and a half (that mount is then not asked again).
    Presence presence(const std::string& path) override;
    // Paths on local file systems are looked at on several threads at once (the system's name
    // lookups run side by side); the others one by one, as presence() does. Both may be called
    // from any thread.
    std::vector<Presence> presenceOfEach(const std::vector<std::string_view>& paths) override;
    std::optional<std::string> readAll(const std::string& path, std::size_t limit) override;

    // Writes a temporary file beside the target, flushes it to the disk and renames it over the
    // target; on failure the temporary file is removed and the target is left as it was.
    // A file that is a symbolic link is written at the link's target, and the link stays.
    void writeAtomicallyFrom(const std::string& path, const ByteWriter& write) override;
    // Removes "<path>.XXXXXX" (six letters or digits), the temporary files of the writes above.
    void removeStaleTemporaries(const std::string& path) override;

private:
    // What is mounted where, read again when older than two seconds. A snapshot, so that the
    // presence of documents can be asked on several threads at once.
    struct Mounts {
        std::vector<MountEntry> mounts;
        std::vector<std::string> roots;
        std::string gvfsRoot;
    };
    std::shared_ptr<const Mounts> mounts();
    Presence presence(const std::string& path, const Mounts& mounts);
    bool isSilent(const std::string& mountPoint);
    void markSilent(const std::string& mountPoint);

    std::mutex mutex_; // guards the members below
    std::shared_ptr<const Mounts> mounts_;
    std::chrono::steady_clock::time_point mountsRead_{};
    std::set<std::string> silentMounts_;
};

} // namespace vendle::platform
