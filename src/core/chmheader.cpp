// SPDX-License-Identifier: GPL-3.0-or-later
#include "chmheader.h"

#include <cstdint>

namespace vendle {

namespace {

std::uint64_t little(std::string_view bytes, std::size_t at, int width) {
    std::uint64_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

} // namespace

bool plausibleChmHeader(std::string_view file) {
    constexpr std::size_t kItsfSize = 0x58; // version 2; version 3 adds 8 bytes
    constexpr std::size_t kItspSize = 0x54;
    constexpr std::uint64_t kMaxBlock = 1 << 20;
    if (file.size() < kItsfSize || file.substr(0, 4) != "ITSF")
        return false;
    const std::uint64_t version = little(file, 0x04, 4);
    if (version != 2 && version != 3)
        return false;
    const std::uint64_t dirOffset = little(file, 0x48, 8);
    const std::uint64_t dirLength = little(file, 0x50, 8);
    if (dirOffset > file.size() || file.size() - dirOffset < kItspSize || dirLength > file.size() - dirOffset)
        return false;
    const std::string_view itsp = file.substr(static_cast<std::size_t>(dirOffset));
    if (itsp.substr(0, 4) != "ITSP")
        return false;
    const std::uint64_t blockLength = little(itsp, 0x10, 4);
    return blockLength > 0 && blockLength <= kMaxBlock && blockLength <= dirLength;
}

} // namespace vendle
