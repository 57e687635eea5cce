// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/version.h"

namespace vendle::platform {

std::array<std::uint16_t, 4> programVersion() {
    return {VENDLE_VERSION_MAJOR, VENDLE_VERSION_MINOR, VENDLE_VERSION_RELEASE, VENDLE_VERSION_BUILD};
}

} // namespace vendle::platform
