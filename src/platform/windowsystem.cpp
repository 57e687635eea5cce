// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowsystem.h"

#include <QGuiApplication>

namespace vendle::platform {

namespace {
bool onWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
} // namespace

QString launchActivationToken() {
    for (const char* name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        QString token = qEnvironmentVariable(name);
        if (!token.isEmpty())
            return token;
    }
    return {};
}

void useActivationToken(const QString& token) {
    // The toolkit presents the token found in the environment at the next activation, once.
    if (onWayland() && !token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token.toLatin1());
}

bool minimisedWindowsCanBeRestored() {
    return !onWayland();
}

bool windowPlacesAreKnown() {
    return !onWayland();
}

} // namespace vendle::platform
