// SPDX-License-Identifier: GPL-3.0-or-later
// What the window system allows a program to do with its own windows: the token a launch gets for
// bringing a window forward, and whether a minimised window can be asked back.
#pragma once

#include <QString>

namespace vendle::platform {

// The token the desktop gave this launch for bringing a window forward (XDG_ACTIVATION_TOKEN on
// Wayland, DESKTOP_STARTUP_ID on X11); empty when there is none. Read it before the toolkit starts,
// which may take it for itself.
QString launchActivationToken();

// Lets the next activation of one of this program's windows present `token`, so that the desktop
// lets it come forward for a launch made elsewhere (Wayland); elsewhere the window system needs no
// token and this does nothing.
void useActivationToken(const QString& token);

// Whether a minimised window comes back when the program asks for its normal state. Wayland has
// no such request: there a window is unmapped and mapped again instead.
bool minimisedWindowsCanBeRestored();

// Whether a program learns where its windows are. Wayland keeps that to the compositor: every
// window reads as standing at the top-left corner.
bool windowPlacesAreKnown();

} // namespace vendle::platform
