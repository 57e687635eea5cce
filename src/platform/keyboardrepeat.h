// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's keyboard auto-repeat delay and interval, where the platform tells them.
#pragma once

namespace vendle::platform {

struct KeyboardRepeatSetting {
    bool known = false;
    unsigned delayMs = 0;
    unsigned intervalMs = 0;
};

// Read from the X server when the program runs on X11; unknown elsewhere.
KeyboardRepeatSetting keyboardRepeatSetting();

} // namespace vendle::platform
