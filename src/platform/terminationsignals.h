// SPDX-License-Identifier: GPL-3.0-or-later
// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal on the main thread: the signal handler only
// writes a byte to a pipe, which a socket notifier reads on the event loop.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace vendle::platform {

class TerminationSignals : public QObject {
    Q_OBJECT

public:
    // Installs the handlers; only one instance may exist at a time.
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    // The process was asked to end; `signalNumber` tells by which signal.
    void terminationRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace vendle::platform
