// SPDX-License-Identifier: GPL-3.0-or-later
// The program's version as recorded at build time: major, minor, release, build.
#pragma once

#include <array>
#include <cstdint>

namespace vendle::platform {

std::array<std::uint16_t, 4> programVersion();

} // namespace vendle::platform
