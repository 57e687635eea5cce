// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/logging.h"

#include "core/log.h"

#include <chrono>

namespace vendle {

Q_LOGGING_CATEGORY(lcRecent, "vendle.recent", QtWarningMsg)
// What happens to the user's files is told by default: where they are, what was skipped in them.
Q_LOGGING_CATEGORY(lcFiles, "vendle.files", QtInfoMsg)
Q_LOGGING_CATEGORY(lcWatch, "vendle.watch", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "vendle.ui", QtWarningMsg)
Q_LOGGING_CATEGORY(lcStartup, "vendle.startup", QtWarningMsg)

void logStartupStep(const char* step) {
    if (!lcStartup().isInfoEnabled())
        return;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    qCInfo(lcStartup, "%s %lld", step, static_cast<long long>(ns.count()));
}

void installCoreLogHandler() {
    setLogHandler([](LogTopic topic, std::string_view message) {
        const QString text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
        if (topic == LogTopic::Recent)
            qCInfo(lcRecent).noquote() << text;
        else
            qCInfo(lcFiles).noquote() << text;
    });
}

} // namespace vendle
