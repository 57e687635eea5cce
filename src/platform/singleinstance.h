// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps one running copy per user: a lock file marks the running copy, and a local socket lets a
// second copy ask it to come forward.
#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

namespace vendle::platform {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `name` identifies the program ("Vendle"); the lock and the socket are made per user, in the
    // user's runtime folder.
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Start {
        Running,    // this process is now the running copy
        HandedOver, // the running copy took the request to come forward
        NoAnswer,   // a running copy holds the lock but neither answered nor ended in time
    };

    // Becomes the running copy, or asks the running copy to come forward, handing it
    // `activationToken` (the desktop's permission for this launch to bring a window forward; may
    // be empty). A lock left by a copy that died is taken over. A copy that is ending refuses the
    // request; this one then waits for its lock, up to `timeoutMs`, and runs.
    Start start(int timeoutMs = 10'000, const QString& activationToken = {});

    // The program is ending: requests to come forward are refused from now on, so that a copy
    // started meanwhile waits for the lock instead of handing over to one that is going.
    void stopAnswering();
    // The end did not come after all (a failed save): requests are answered again.
    void resumeAnswering();

    // Gives up the lock and stops listening; a new copy may start from now on.
    void release();

    QString lockPath() const;
    QString serverName() const;

signals:
    // A second copy asked this one to come forward, with the token its launch was given (empty
    // when it had none or sent one that is not a plain token).
    void activationRequested(const QString& activationToken);

private:
    bool tryLock();
    // Delivers the request to the running copy; true when it acknowledged it.
    bool tryHandOver(const QString& activationToken);
    void listen();

    QString name_;
    QString dir_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    int connections_ = 0; // connections of second copies being served
};

// The user's private runtime folder (XDG_RUNTIME_DIR), or a per-user folder in the temporary
// folder when the session has none.
QString userRuntimeFolder();

} // namespace vendle::platform
