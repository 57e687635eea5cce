// SPDX-License-Identifier: GPL-3.0-or-later
// The program's logging categories. All are quiet below warnings unless QT_LOGGING_RULES turns
// them on, for example QT_LOGGING_RULES="vendle.*=true".
#pragma once

#include <QLoggingCategory>

namespace vendle {

Q_DECLARE_LOGGING_CATEGORY(lcRecent)  // "vendle.recent": the desktop's record of recent documents
Q_DECLARE_LOGGING_CATEGORY(lcFiles)   // "vendle.files": the history and settings files
Q_DECLARE_LOGGING_CATEGORY(lcWatch)   // "vendle.watch": change notification of watched folders
Q_DECLARE_LOGGING_CATEGORY(lcUi)      // "vendle.ui": windows, boxes and the exit sequence
Q_DECLARE_LOGGING_CATEGORY(lcStartup) // "vendle.startup": when each step of the start was done

// Logs "<step> <ns>" to "vendle.startup": the step's name and the time of the system's monotonic
// clock in nanoseconds, which another process (a benchmark starting this one) can read too.
void logStartupStep(const char* step);

// Routes the core's log lines to these categories; called once at start.
void installCoreLogHandler();

} // namespace vendle
