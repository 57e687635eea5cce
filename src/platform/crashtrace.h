// SPDX-License-Identifier: GPL-3.0-or-later
// What the program leaves behind when it ends abnormally: the fatal message or the exception that
// was not caught, and a backtrace, on standard error, before the abort goes on as usual; and the
// last save when the connection to the display breaks, which the toolkit answers by ending the
// process at once.
#pragma once

#include <functional>

namespace vendle::platform {

// Installs the handlers once, at the start of main: Qt's fatal messages, an uncaught exception
// (std::terminate) and SIGABRT, SIGSEGV, SIGBUS, SIGFPE and SIGILL.
void installCrashTrace();

// Runs `save` once when the toolkit reports that the connection to the display (X11 or Wayland)
// broke, right before it ends the process; an empty function stops it.
void setDisplayLostHandler(std::function<void()> save);

} // namespace vendle::platform
