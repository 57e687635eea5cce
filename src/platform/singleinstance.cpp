#include "singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

namespace vendle::platform {

namespace {
const QByteArray kActivate = QByteArrayLiteral("activate\n");
}

QString userRuntimeFolder() {
    const QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime;
    const QString fallback = QDir::tempPath() + QStringLiteral("/vendle-%1").arg(::getuid());
    QDir().mkpath(fallback);
    QFile::setPermissions(fallback, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return fallback;
}

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent), name_(name), dir_(userRuntimeFolder()) {}

SingleInstance::~SingleInstance() {
    release();
}

QString SingleInstance::lockPath() const {
    return dir_ + QLatin1Char('/') + name_ + QStringLiteral(".lock");
}

QString SingleInstance::serverName() const {
    return dir_ + QLatin1Char('/') + name_ + QStringLiteral(".socket");
}

bool SingleInstance::acquire() {
    lock_ = std::make_unique<QLockFile>(lockPath());
    // Never stale by age: only a lock whose process is gone is taken over.
    lock_->setStaleLockTime(0);
    if (!lock_->tryLock(0)) {
        // Only a lock held by a running copy means "hand over". When the lock cannot be made at
        // all (an unwritable folder), this copy runs rather than never starting.
        if (lock_->error() == QLockFile::LockFailedError) {
            lock_.reset();
            return false;
        }
        lock_.reset();
    }
    listen();
    return true;
}

void SingleInstance::listen() {
    // A socket file left by a copy that was killed would make listen() fail.
    QLocalServer::removeServer(serverName());
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kActivate))
                    emit activationRequested();
                socket->disconnectFromServer();
            });
        }
    });
    server_->listen(serverName());
}

bool SingleInstance::handOver(int timeoutMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    // The running copy may hold the lock a moment before it listens.
    while (elapsed.elapsed() < timeoutMs) {
        QLocalSocket socket;
        socket.connectToServer(serverName());
        if (socket.waitForConnected(500)) {
            socket.write(kActivate);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.waitForDisconnected(1000);
            return sent;
        }
        QThread::msleep(50);
    }
    return false;
}

void SingleInstance::release() {
    if (server_) {
        server_->close();
        delete server_;
        server_ = nullptr;
    }
    if (lock_) {
        lock_->unlock();
        lock_.reset();
    }
}

} // namespace vendle::platform
