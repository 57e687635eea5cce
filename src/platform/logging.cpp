#include "platform/logging.h"

#include "core/log.h"

namespace vendle {

Q_LOGGING_CATEGORY(lcRecent, "vendle.recent", QtWarningMsg)
Q_LOGGING_CATEGORY(lcFiles, "vendle.files", QtWarningMsg)
Q_LOGGING_CATEGORY(lcWatch, "vendle.watch", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "vendle.ui", QtWarningMsg)

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
