// Reads /proc/self/mountinfo to tell whether a file system orders a new file's data before a
// rename that replaces an older file with it, so that the old or the new contents survive a crash.
#pragma once

#include <string_view>

namespace vendle::platform::linux_fs {

// True when the mount of device `major`:`minor` described in `mountinfo` is ext3 or ext4 in its
// default modes (data=ordered or data=journal, auto_da_alloc on) or btrfs: these commit the data
// of a file renamed over another one before the rename itself. False for anything else and for
// a device the text does not list.
bool renameCommitsDataFirst(std::string_view mountinfo, unsigned major, unsigned minor);

} // namespace vendle::platform::linux_fs
