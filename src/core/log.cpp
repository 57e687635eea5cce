// SPDX-License-Identifier: GPL-3.0-or-later
#include "log.h"

#include <atomic>

namespace vendle {

namespace {

std::atomic<LogHandler> handler{nullptr};

} // namespace

void setLogHandler(LogHandler h) {
    handler.store(h);
}

void logMessage(LogTopic topic, std::string_view message) {
    if (const LogHandler h = handler.load())
        h(topic, message);
}

} // namespace vendle
