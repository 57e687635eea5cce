// SPDX-License-Identifier: GPL-3.0-or-later
// The mount table, and the volume rules over what it lists.
#include "core/volumes.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<vendle::MountEntry> mounts = vendle::parseMountInfo(text);
    const std::vector<std::string> roots{"/media/u/", "/mnt/"};
    for (const vendle::MountEntry& m : mounts) {
        (void)vendle::volumeRootOf(m.mountPoint + "/x", roots);
        (void)vendle::mountOf(mounts, m.mountPoint + "/x");
        (void)vendle::isMountPoint(mounts, m.mountPoint);
    }
    return 0;
}
