// SPDX-License-Identifier: GPL-3.0-or-later
// Windows shell links (.lnk) as a hostile program may write them.
#include "core/shelllink.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto link = vendle::parseShellLink(bytes))
        (void)vendle::shellLinkTargetPath(*link, [](std::string_view s) { return std::string(s); });
    return 0;
}
