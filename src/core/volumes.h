// SPDX-License-Identifier: GPL-3.0-or-later
// Volumes that come and go: removable media and network shares mounted under the usual roots.
// The mount table (/proc/self/mountinfo lines) tells which of them are mounted, so that a document
// on an absent volume is told apart from a deleted one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vendle {

struct MountEntry {
    std::string mountPoint; // "\040"-style escapes decoded
    std::string fsType;
};

// The mounts a mountinfo text lists; lines that cannot be read are passed over.
std::vector<MountEntry> parseMountInfo(std::string_view text);

// The volume a path lies on when it lies under one of `roots` (folders ending in "/", such as
// "/media/alice/" or "/mnt/"): the root and the first name below it. Empty when the path lies
// under none of them; the first root that holds the path decides.
std::string volumeRootOf(std::string_view path, const std::vector<std::string>& roots);

// True when `dir` is a mount point of the table.
bool isMountPoint(const std::vector<MountEntry>& mounts, std::string_view dir);

// The mount that holds `path` (the longest mount point that is a folder prefix of it); null when
// none does.
const MountEntry* mountOf(const std::vector<MountEntry>& mounts, std::string_view path);

// True for file-system types whose files may take long to answer or not answer at all (network
// file systems and user-space ones such as GVfs and sshfs).
bool isSlowFileSystem(std::string_view fsType);

} // namespace vendle
