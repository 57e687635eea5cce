// SPDX-License-Identifier: GPL-3.0-or-later
// The one way the program replaces a file of its own or the desktop's: atomically, and only where
// a regular file or nothing stands. A symbolic link is followed to a regular file (dotfile managers
// link settings files); a link to anything else, or anything else under the name (a device, a
// FIFO, a folder), is refused and left as it is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vendle::platform {

// Writes `bytes` as the whole file at `path` (at the end of its chain of links): a temporary file
// beside it, flushed to the disk and renamed over it. A replaced file keeps its permissions; a new
// one gets `newMode`. Nothing on success, else why not, in the user's language; on failure the
// file is left as it was.
std::optional<std::string> replaceFile(const std::string& path, std::string_view bytes, int newMode = 0600);

// Where a write of `path` goes: the end of its chain of symbolic links.
std::string writeTarget(const std::string& path);

} // namespace vendle::platform
