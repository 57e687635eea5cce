// SPDX-License-Identifier: GPL-3.0-or-later
// The first check of a compiled help file, which decides whether the help reader may look at it.
// The reader itself runs in a child process first (faults of its own stay there); the help tests
// feed it the damaged files fuzzing found.
#include "core/chmheader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)vendle::plausibleChmHeader(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
