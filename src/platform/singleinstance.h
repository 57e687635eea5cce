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

    // True when this process is now the running copy. A lock left by a copy that died is taken
    // over. Otherwise the running copy is asked to come forward (see handOver()).
    bool acquire();

    // Asks the running copy to come forward; waits up to `timeoutMs` for it to listen. True when
    // the request was delivered.
    bool handOver(int timeoutMs = 5000);

    // Gives up the lock and stops listening; a new copy may start from now on.
    void release();

    QString lockPath() const;
    QString serverName() const;

signals:
    // A second copy asked this one to come forward.
    void activationRequested();

private:
    void listen();

    QString name_;
    QString dir_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

// The user's private runtime folder (XDG_RUNTIME_DIR), or a per-user folder in the temporary
// folder when the session has none.
QString userRuntimeFolder();

} // namespace vendle::platform
