// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop link files and file URIs: whatever the text, a path comes out only for a local URI, and
// it never holds a NUL.
#include "core/desktopentry.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const vendle::UriPath& p :
         {vendle::desktopLinkTarget(text, "/home/user"), vendle::fileUriToPath(text)}) {
        if (p.status == vendle::UriPath::Status::Ok &&
            (p.path.empty() || p.path.front() != '/' || p.path.find('\0') != std::string::npos))
            std::abort();
    }
    return 0;
}
