// SPDX-License-Identifier: GPL-3.0-or-later
// Where the core says why it skipped or refused something: a line for the program's log. The core
// has no log of its own; the program routes these lines to its logging categories once at start.
// Without a handler the lines go nowhere.
#pragma once

#include <string_view>

namespace vendle {

enum class LogTopic {
    Recent, // the desktop's record of recently used documents
    Files,  // the history and settings files
};

using LogHandler = void (*)(LogTopic topic, std::string_view message);

// Set once, before anything else runs.
void setLogHandler(LogHandler handler);

void logMessage(LogTopic topic, std::string_view message);

} // namespace vendle
