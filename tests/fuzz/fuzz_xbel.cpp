// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's bookmark file as the program reads it.
#include "platform/linux/xbelreader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<vendle::RecentEntry> entries;
    std::string why;
    (void)vendle::platform::readXbelEntries(std::string_view(reinterpret_cast<const char*>(data), size),
                                            entries, &why);
    return 0;
}
