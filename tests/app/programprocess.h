// SPDX-License-Identifier: GPL-3.0-or-later
// The real program in a temporary folder of its own, started as a separate process with private
// desktop folders, for the tests that treat it as a user's session would.
#pragma once

#include "appfiles.h"
#include "core/fileplaces.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace vendle::test {

class ProgramFolder {
public:
    ProgramFolder() {
        runtime_ = path(QStringLiteral("rt"));
        QDir().mkpath(runtime_);
        QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir().mkpath(path(QStringLiteral("data")));
        exe_ = path(QStringLiteral("vendle"));
        QFile::copy(QStringLiteral(VENDLE_EXECUTABLE), exe_);
        // A folder of its own, as the build folder is: the files stay beside the program.
        writeFile(path(QStringLiteral("vendle.portable")), "");
    }

    QString path(const QString& name) const { return dir_.filePath(name); }

    // The environment of the program: offscreen, with the folder's own runtime, config, data and
    // home folders.
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        env.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
        return env;
    }

    // `extra` holds NAME=value settings beyond the folder's own environment.
    // `captureErrors`: standard error is kept for the test instead of passed on.
    std::unique_ptr<QProcess> start(const QStringList& extra = {}, bool captureErrors = false) const {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = environment();
        for (const QString& setting : extra)
            env.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(captureErrors ? QProcess::SeparateChannels
                                               : QProcess::ForwardedErrorChannel);
        p->start(exe_, {});
        return p;
    }

    // True once the running copy listens for a second one.
    bool listening() const {
        QLocalSocket socket;
        socket.connectToServer(runtime_ + QLatin1Char('/') + QString::fromStdString(instanceName()) +
                               QStringLiteral(".socket"));
        return socket.waitForConnected(200);
    }

    // The name the copy in this folder runs under.
    std::string instanceName() const {
        return chooseFilePlaces(
                   {dir_.path().toStdString(), "", "",
                    [](const std::string& p) { return QFile::exists(QString::fromStdString(p)); }})
            .instanceName;
    }

private:
    QTemporaryDir dir_;
    QString runtime_;
    QString exe_;
};

} // namespace vendle::test
