// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/keyboardrepeat.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace vendle::platform {

KeyboardRepeatSetting keyboardRepeatSetting() {
    KeyboardRepeatSetting setting;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display)
        return setting;
    unsigned delay = 0;
    unsigned interval = 0;
    if (XkbGetAutoRepeatRate(display, XkbUseCoreKbd, &delay, &interval)) {
        setting.known = true;
        setting.delayMs = delay;
        setting.intervalMs = interval;
    }
    return setting;
}

} // namespace vendle::platform
