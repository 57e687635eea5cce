// SPDX-License-Identifier: GPL-3.0-or-later
#include "singleinstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <optional>

#include <unistd.h>

namespace vendle::platform {

namespace {
// The request is one line: "activate", or "activate " and the launch's activation token.
const QByteArray kActivate = QByteArrayLiteral("activate");
const QByteArray kAcknowledge = QByteArrayLiteral("ok\n");
constexpr qsizetype kLongestRequest = 4096;
// A connection that has sent no whole request by then is closed, and only a few are served at
// once: idle connections cannot use up the program's open files.
constexpr int kRequestTimeoutMs = 2000;
constexpr int kMostConnections = 8;

// Tokens are short printable ASCII; anything else is not passed on.
bool isPlainToken(const QByteArray& token) {
    if (token.isEmpty() || token.size() > 1024)
        return false;
    return std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 127; });
}

// The token of a request line, or nothing when the line is no request.
std::optional<QString> requestedToken(const QByteArray& line) {
    if (line == kActivate)
        return QString();
    if (!line.startsWith(kActivate + ' '))
        return std::nullopt;
    const QByteArray token = line.mid(kActivate.size() + 1);
    return isPlainToken(token) ? QString::fromLatin1(token) : QString();
}
} // namespace

QString userRuntimeFolder() {
    QString runtime = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime;
    QString fallback = QDir::tempPath() + QStringLiteral("/vendle-%1").arg(::getuid());
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

SingleInstance::Start SingleInstance::start(int timeoutMs, const QString& activationToken) {
    QElapsedTimer elapsed;
    elapsed.start();
    // The running copy may hold the lock a moment before it listens, and one that is ending holds
    // it while it saves: both are waited for.
    for (;;) {
        if (tryLock()) {
            listen();
            return Start::Running;
        }
        if (tryHandOver(activationToken))
            return Start::HandedOver;
        if (elapsed.elapsed() >= timeoutMs)
            return Start::NoAnswer;
        QThread::msleep(50);
    }
}

bool SingleInstance::tryLock() {
    lock_ = std::make_unique<QLockFile>(lockPath());
    // Never stale by age: only a lock whose process is gone is taken over.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    // Only a lock held by a running copy means "hand over". When the lock cannot be made at all
    // (an unwritable folder), this copy runs rather than never starting.
    const bool held = lock_->error() == QLockFile::LockFailedError;
    lock_.reset();
    return !held;
}

bool SingleInstance::tryHandOver(const QString& activationToken) {
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(500))
        return false;
    const QByteArray token = activationToken.toLatin1();
    socket.write(isPlainToken(token) ? kActivate + ' ' + token + '\n' : kActivate + '\n');
    if (!socket.waitForBytesWritten(1000))
        return false;
    // Delivered is not enough: a copy that is ending never acknowledges.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(2000))
            return false;
    }
    return socket.readLine() == kAcknowledge;
}

void SingleInstance::stopAnswering() {
    if (server_)
        server_->close();
}

void SingleInstance::resumeAnswering() {
    if (server_ && !server_->isListening())
        server_->listen(serverName());
}

void SingleInstance::listen() {
    // A socket file left by a copy that was killed would make listen() fail.
    QLocalServer::removeServer(serverName());
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            if (connections_ >= kMostConnections) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            ++connections_;
            connect(socket, &QObject::destroyed, this, [this] { --connections_; });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QTimer::singleShot(kRequestTimeoutMs, socket, [socket] {
                socket->abort();
                socket->deleteLater();
            });
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                // The line may come in parts; a client that sends too much is cut off.
                if (!socket->canReadLine()) {
                    if (socket->bytesAvailable() > kLongestRequest)
                        socket->disconnectFromServer();
                    return;
                }
                const std::optional<QString> token =
                    requestedToken(socket->readLine(kLongestRequest).trimmed());
                if (token && server_->isListening()) { // not while the copy saves or ends
                    socket->write(kAcknowledge);
                    socket->flush();
                    emit activationRequested(*token);
                }
                socket->disconnectFromServer();
            });
        }
    });
    server_->listen(serverName());
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
