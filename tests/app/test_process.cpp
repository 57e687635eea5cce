// The real program as separate processes: one copy per user, hand-over, and the end on SIGTERM.
#include "appfiles.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using vendle::test::readFile;

class ProcessTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString exe_;
    QString runtime_;

    QString path(const QString& name) const { return dir_->filePath(name); }

    std::unique_ptr<QProcess> start() {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
        env.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(exe_, {});
        return p;
    }

    // True once the running copy listens for a second one.
    bool listening() {
        QLocalSocket socket;
        socket.connectToServer(runtime_ + QStringLiteral("/Vendle.socket"));
        return socket.waitForConnected(200);
    }

    void waitUntilListening() { QTRY_VERIFY_WITH_TIMEOUT(listening(), 15000); }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        runtime_ = path(QStringLiteral("rt"));
        QDir().mkpath(runtime_);
        QFile::setPermissions(runtime_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        exe_ = path(QStringLiteral("vendle"));
        QVERIFY(QFile::copy(QStringLiteral(VENDLE_EXECUTABLE), exe_));
        // A returning user, so that no welcome box waits for an answer.
        vendle::test::writeFile(path(QStringLiteral("vendle.ini")), vendle::test::knownUser());
    }

    void secondCopyHandsOverAndSigtermSavesBothFiles() {
        auto first = start();
        waitUntilListening();
        const QByteArray iniBefore = readFile(path(QStringLiteral("vendle.ini")));

        auto second = start();
        QVERIFY(second->waitForFinished(15000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QCOMPARE(first->state(), QProcess::Running);
        QCOMPARE(readFile(path(QStringLiteral("vendle.ini"))), iniBefore);
        QVERIFY(!QFile::exists(path(QStringLiteral("vendle.dat"))));

        first->terminate(); // SIGTERM
        QVERIFY(first->waitForFinished(15000));
        QCOMPARE(first->exitStatus(), QProcess::NormalExit);
        QCOMPARE(first->exitCode(), 0);
        QVERIFY(QFile::exists(path(QStringLiteral("vendle.dat"))));
        const QByteArray ini = readFile(path(QStringLiteral("vendle.ini")));
        QVERIFY(ini.contains("\r\nExecCount=4\r\n"));
        QVERIFY(ini.contains("\r\nItems=0\r\n"));
        QVERIFY(ini.contains("\r\nTotalExecTime="));
    }

    void copiesStartedTogetherLeaveOneRunning() {
        auto a = start();
        auto b = start();
        QVERIFY(a->waitForStarted(5000));
        QVERIFY(b->waitForStarted(5000));
        waitUntilListening();
        QTRY_VERIFY_WITH_TIMEOUT((a->state() == QProcess::NotRunning) != (b->state() == QProcess::NotRunning),
                                 15000);
        QProcess* ended = a->state() == QProcess::NotRunning ? a.get() : b.get();
        QProcess* running = ended == a.get() ? b.get() : a.get();
        QCOMPARE(ended->exitCode(), 0);
        QTest::qWait(500);
        QCOMPARE(running->state(), QProcess::Running);
        running->terminate();
        QVERIFY(running->waitForFinished(15000));
    }

    void aKilledCopyDoesNotBlockTheNext() {
        auto first = start();
        waitUntilListening();
        first->kill(); // SIGKILL: lock file and socket stay behind
        QVERIFY(first->waitForFinished(5000));
        auto next = start();
        waitUntilListening();
        QTest::qWait(300);
        QCOMPARE(next->state(), QProcess::Running);
        next->terminate();
        QVERIFY(next->waitForFinished(15000));
        QCOMPARE(next->exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(ProcessTest)
#include "test_process.moc"
