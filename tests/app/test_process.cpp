// SPDX-License-Identifier: GPL-3.0-or-later
// The real program as separate processes: one copy per user, hand-over, and the end on SIGTERM.
#include "platform/singleinstance.h"
#include "programprocess.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using vendle::test::readFile;

class ProcessTest : public QObject {
    Q_OBJECT

    std::unique_ptr<vendle::test::ProgramFolder> folder_;

    QString path(const QString& name) const { return folder_->path(name); }
    std::unique_ptr<QProcess> start(const QStringList& extra = {}) { return folder_->start(extra); }
    bool listening() { return folder_->listening(); }
    void waitUntilListening() { QTRY_VERIFY_WITH_TIMEOUT(listening(), 15000); }

private slots:
    void init() {
        folder_ = std::make_unique<vendle::test::ProgramFolder>();
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

    // Documents that exist, one line each in the data file's format.
    QByteArray documents(int count) {
        QDir().mkpath(path(QStringLiteral("docs")));
        QByteArray lines;
        for (int i = 0; i < count; ++i) {
            const QString doc = path(QStringLiteral("docs/%1.txt").arg(i));
            vendle::test::writeFile(doc, "x");
            lines += doc.toUtf8() + "\t2026/12/08 10:00:00\r\n";
        }
        return lines;
    }

    void sigtermDuringTheWelcomeEndsAtOnceAndWritesNothing() {
        QFile::remove(path(QStringLiteral("vendle.ini"))); // a first start: the welcome waits
        const QByteArray dat = documents(20);
        vendle::test::writeFile(path(QStringLiteral("vendle.dat")), dat);
        auto p = start();
        waitUntilListening();
        QTest::qWait(1000); // the first box is open by now
        QCOMPARE(p->state(), QProcess::Running);
        p->terminate();
        QVERIFY(p->waitForFinished(15000));
        QCOMPARE(p->exitCode(), 0);
        QVERIFY(!QFile::exists(path(QStringLiteral("vendle.ini"))));
        QCOMPARE(readFile(path(QStringLiteral("vendle.dat"))), dat);
    }

    void sigtermWithABigHistoryKeepsEveryEntry() {
        const QByteArray dat = documents(5000);
        vendle::test::writeFile(path(QStringLiteral("vendle.dat")), dat);
        auto p = start();
        waitUntilListening();
        QTest::qWait(300); // loading or loaded: either way the whole history is kept
        p->terminate();
        QVERIFY(p->waitForFinished(5000));
        const QByteArray saved = readFile(path(QStringLiteral("vendle.dat")));
        QCOMPARE(saved.count("\r\n"), 5000);
        QCOMPARE(saved.left(saved.indexOf('\t')), dat.left(dat.indexOf('\t')));
        QVERIFY(readFile(path(QStringLiteral("vendle.ini"))).contains("\r\nItems=5000\r\n"));
    }

    void hostileFilesInPlaceOfTheProgramsFilesNeitherHangItNorAreReplaced() {
        // A FIFO that nobody writes and a link to an endless device, as the desktop's bookmark
        // file and as the history, each way round: the program starts, answers, ends on SIGTERM
        // within two seconds and leaves both as they were.
        for (int round = 0; round < 2; ++round) {
            init();
            const QString xbel = path(QStringLiteral("data/recently-used.xbel"));
            const QString dat = path(QStringLiteral("vendle.dat"));
            const QString fifo = round == 0 ? xbel : dat;
            const QString zero = round == 0 ? dat : xbel;
            QCOMPARE(::mkfifo(fifo.toUtf8().constData(), 0600), 0);
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zero));
            auto p = start();
            waitUntilListening();
            QTest::qWait(1500);
            QCOMPARE(p->state(), QProcess::Running);
            p->terminate();
            QVERIFY2(p->waitForFinished(15000), qPrintable(QString::number(round)));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(QFileInfo(zero).symLinkTarget(), QStringLiteral("/dev/zero"));
            struct stat st {};
            QCOMPARE(::lstat(fifo.toUtf8().constData(), &st), 0);
            QVERIFY(S_ISFIFO(st.st_mode));
        }
    }

    void aCopyStartedAsTheRunningOneEndsWaitsForItAndRuns() {
        // The running copy is told to end and saves a large history; a copy started at once must
        // not hand over to it, but wait until it is gone and run.
        vendle::test::writeFile(path(QStringLiteral("vendle.dat")),
                                documents(10000)); // the default size limit
        auto first = start();
        waitUntilListening();
        QTest::qWait(500);
        first->terminate();
        auto second = start();
        QVERIFY(first->waitForFinished(15000));
        QCOMPARE(first->exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(listening(), 15000);
        QVERIFY(second->waitForStarted(5000));
        QCOMPARE(second->state(), QProcess::Running);
        second->terminate();
        QVERIFY(second->waitForFinished(15000));
        QCOMPARE(readFile(path(QStringLiteral("vendle.dat"))).count("\r\n"), 10000);
    }

    void aCopyThatIsEndingRefusesTheHandOverAndTheNewOneWaitsForItsLock() {
        // In one process, each newcomer on a thread of its own so that the running copy can
        // answer: a running copy acknowledges; one that is ending does not, and the newcomer runs
        // once the lock is free.
        using vendle::platform::SingleInstance;
        qputenv("XDG_RUNTIME_DIR", path(QStringLiteral("rt")).toUtf8());
        SingleInstance running(QStringLiteral("VendleSingle"));
        QCOMPARE(running.start(0), SingleInstance::Start::Running);
        QSignalSpy asked(&running, &SingleInstance::activationRequested);
        std::atomic<int> outcome{-1};
        const auto newcomer = [&](int timeoutMs, QString token = {}) {
            outcome = -1;
            return std::unique_ptr<QThread>(QThread::create([&outcome, timeoutMs, token] {
                SingleInstance copy(QStringLiteral("VendleSingle"));
                outcome = static_cast<int>(copy.start(timeoutMs, token));
            }));
        };
        // The launch's activation token travels with the request; one that is not a plain token
        // does not, but the request still counts.
        const QString tokens[] = {QStringLiteral("wl-token_1.2:x"), QStringLiteral("bad\ntoken"), QString()};
        for (const QString& token : tokens) {
            auto second = newcomer(5000, token);
            second->start();
            QTRY_VERIFY(second->isFinished());
            QCOMPARE(outcome.load(), int(SingleInstance::Start::HandedOver));
        }
        QCOMPARE(asked.count(), 3);
        QCOMPARE(asked[0][0].toString(), tokens[0]);
        QCOMPARE(asked[1][0].toString(), QString());
        QCOMPARE(asked[2][0].toString(), QString());

        // An ending copy no longer listens: the newcomer can only run, once the lock is free, and
        // never hands over (which would have finished it with HandedOver, however late).
        running.stopAnswering();
        auto third = newcomer(30000);
        third->start();
        running.release();
        QTRY_VERIFY_WITH_TIMEOUT(third->isFinished(), 30000);
        QCOMPARE(outcome.load(), int(SingleInstance::Start::Running));
        QCOMPARE(asked.count(), 3);
    }

    void idleConnectionsAreClosedAndASecondCopyStillHandsOver() {
        using vendle::platform::SingleInstance;
        qputenv("XDG_RUNTIME_DIR", path(QStringLiteral("rt")).toUtf8());
        SingleInstance running(QStringLiteral("VendleIdle"));
        QCOMPARE(running.start(0), SingleInstance::Start::Running);
        QSignalSpy asked(&running, &SingleInstance::activationRequested);
        std::vector<std::unique_ptr<QLocalSocket>> idle;
        for (int i = 0; i < 40; ++i) {
            idle.push_back(std::make_unique<QLocalSocket>());
            idle.back()->connectToServer(running.serverName());
        }
        // None sends a request: each is closed, the ones beyond the few served at once at once.
        QTRY_VERIFY_WITH_TIMEOUT(
            std::all_of(idle.begin(), idle.end(),
                        [](const auto& s) { return s->state() == QLocalSocket::UnconnectedState; }),
            20000);
        std::atomic<int> outcome{-1};
        std::unique_ptr<QThread> second(QThread::create([&outcome] {
            SingleInstance copy(QStringLiteral("VendleIdle"));
            outcome = static_cast<int>(copy.start(30000));
        }));
        second->start();
        QTRY_VERIFY_WITH_TIMEOUT(second->isFinished(), 30000);
        QCOMPARE(outcome.load(), int(SingleInstance::Start::HandedOver));
        QCOMPARE(asked.count(), 1);
    }

    // A change reaches the disk while the program runs: when the display goes away (the toolkit
    // then ends the process at once) and when the process is killed after the save that follows
    // the change.
    void changesSurviveALostDisplayAndAKill() {
        for (const bool display : {true, false}) {
            init();
            vendle::test::writeFile(path(QStringLiteral("vendle.dat")), documents(2));
            QDir().mkpath(path(QStringLiteral("data/RecentDocuments")));
            QProcess xvfb;
            QStringList extra{QStringLiteral("QT_LOGGING_RULES=vendle.recent.debug=true")};
            if (display) {
                const QString number = QString::number(200 + ::getpid() % 700);
                xvfb.start(QStringLiteral("Xvfb"),
                           {QLatin1Char(':') + number, QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                            QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("800x600x24")});
                QVERIFY(xvfb.waitForStarted(15000));
                QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("/tmp/.X11-unix/X") + number), 15000);
                extra << QStringLiteral("QT_QPA_PLATFORM=xcb") << QStringLiteral("DISPLAY=:") + number;
            }
            auto p = folder_->start(extra, true);
            QByteArray log;
            // Recorded after the start's first look, as a document the user opens now.
            QTRY_VERIFY2_WITH_TIMEOUT((log += p->readAllStandardError()).contains("scan:"), log.constData(),
                                      20000);
            const QString doc = path(QStringLiteral("docs/new.txt"));
            vendle::test::writeFile(doc, "x");
            const QString link = path(QStringLiteral("data/RecentDocuments/new.txt.desktop"));
            vendle::test::writeFile(link, "[Desktop Entry]\nType=Link\nURL=file://" + doc.toUtf8() + "\n");
            QFile f(link);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(
                f.setFileTime(QDateTime::currentDateTime().addSecs(10), QFileDevice::FileModificationTime));
            QTRY_VERIFY2_WITH_TIMEOUT((log += p->readAllStandardError()).contains("added 1"), log.constData(),
                                      20000);
            if (display) {
                xvfb.terminate(); // at once, long before the save that follows a change
                QVERIFY(xvfb.waitForFinished(15000));
                QVERIFY(p->waitForFinished(15000));
            } else {
                // The save writes the history, then the settings: the kill follows both.
                QTRY_VERIFY_WITH_TIMEOUT(
                    readFile(path(QStringLiteral("vendle.dat"))).contains(doc.toUtf8()) &&
                        readFile(path(QStringLiteral("vendle.ini"))).contains("ExecCount=4"),
                    20000);
                ::kill(static_cast<pid_t>(p->processId()), SIGKILL);
                QVERIFY(p->waitForFinished(15000));
            }
            QVERIFY2(readFile(path(QStringLiteral("vendle.dat"))).contains(doc.toUtf8()),
                     display ? "display" : "kill");
            QCOMPARE(readFile(path(QStringLiteral("vendle.dat"))).count("\r\n"), 3);
            QVERIFY(readFile(path(QStringLiteral("vendle.ini"))).contains("ExecCount=4"));
        }
    }

    // --help, --version and an unknown option answer on the terminal and end: no window, no file
    // touched, no hand-over, even with no display at all.
    void theCommandLineAnswersWithoutStarting() {
        const QByteArray ini = readFile(path(QStringLiteral("vendle.ini")));
        struct Case {
            QString option;
            int code;
            QByteArray out;
            QByteArray err;
        };
        const Case cases[] = {
            {QStringLiteral("--help"), 0, "  -h, --help", ""},
            {QStringLiteral("--version"), 0, "Vendle 0.1.0.1\nLicense GPL-3.0-or-later", ""},
            {QStringLiteral("--bogus"), 2, "", "vendle: unknown option '--bogus'"}};
        for (const Case& c : cases) {
            QProcess p;
            QProcessEnvironment env = folder_->environment();
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
            env.remove(QStringLiteral("DISPLAY"));
            env.remove(QStringLiteral("WAYLAND_DISPLAY"));
            p.setProcessEnvironment(env);
            p.start(path(QStringLiteral("vendle")), {c.option});
            QVERIFY(p.waitForFinished(15000));
            QCOMPARE(p.exitStatus(), QProcess::NormalExit);
            QCOMPARE(p.exitCode(), c.code);
            QVERIFY2(p.readAllStandardOutput().contains(c.out), qPrintable(c.option));
            QVERIFY2(p.readAllStandardError().startsWith(c.err), qPrintable(c.option));
        }
        QCOMPARE(readFile(path(QStringLiteral("vendle.ini"))), ini);
        QVERIFY(!QFile::exists(path(QStringLiteral("vendle.dat"))));
        QVERIFY(QDir(path(QStringLiteral("rt"))).isEmpty()); // no lock, no socket
    }

    void anAbortLeavesATrace() {
        auto p = folder_->start({}, true);
        waitUntilListening();
        ::kill(static_cast<pid_t>(p->processId()), SIGABRT);
        QVERIFY(p->waitForFinished(10000));
        QCOMPARE(p->exitStatus(), QProcess::CrashExit);
        const QByteArray errors = p->readAllStandardError();
        QVERIFY2(errors.contains("Vendle: ended by SIGABRT"), errors.constData());
        QVERIFY2(errors.contains("backtrace"), errors.constData());
    }

    void aStartUnderAnotherLocaleReadsTheFilesAndKeepsTheirForm() {
        const QByteArray ini = "[%%% Application Infomation Section %%%]\r\nFirstKick=2026/01/01\r\n"
                               "ExecCount=3\r\nDebugDoAsFirst=0\r\n\r\n";
        vendle::test::writeFile(path(QStringLiteral("vendle.ini")), ini);
        const QByteArray dat = documents(3);
        vendle::test::writeFile(path(QStringLiteral("vendle.dat")), dat);
        auto p = start({QStringLiteral("LANG=en_US.UTF-8"), QStringLiteral("LC_ALL=en_US.UTF-8")});
        waitUntilListening();
        QTest::qWait(500);
        p->terminate();
        QVERIFY(p->waitForFinished(5000)); // no welcome box waited
        QCOMPARE(readFile(path(QStringLiteral("vendle.dat"))), dat);
        const QByteArray after = readFile(path(QStringLiteral("vendle.ini")));
        QVERIFY(after.contains("\r\nFirstKick=2026/01/01\r\n"));
        QVERIFY(after.contains("\r\nExecCount=4\r\n"));
    }

    void sigtermWhileAnErrorBoxIsOpenStillSaves() {
        const QByteArray dat = documents(3);
        vendle::test::writeFile(path(QStringLiteral("vendle.dat")), dat);
        auto p = start();
        waitUntilListening();
        // A bookmark that cannot be decoded: the next look at the folder opens its error box.
        const QByteArray now = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toUtf8();
        vendle::test::writeFile(
            path(QStringLiteral("data/recently-used.xbel")),
            "<?xml version=\"1.0\"?>\n<xbel version=\"1.0\">\n<bookmark href=\"file:///tmp/bad%zz\" "
            "added=\"" +
                now + "\" modified=\"" + now + "\"/>\n</xbel>\n");
        QTest::qWait(4000);
        auto second = start(); // a second copy asks for the window just before the end
        QVERIFY(second->waitForFinished(15000));
        p->terminate();
        QVERIFY(p->waitForFinished(15000));
        QCOMPARE(p->exitCode(), 0);
        QCOMPARE(readFile(path(QStringLiteral("vendle.dat"))).count("\r\n"), 3);
        QVERIFY(readFile(path(QStringLiteral("vendle.ini"))).contains("\r\nItems=3\r\n"));
    }

    void aSaveKilledAtAnyMomentLeavesTheWholeOldOrNewFile() {
        const QByteArray dat = documents(8000);
        vendle::test::writeFile(path(QStringLiteral("vendle.dat")), dat);
        for (int round = 0; round < 8; ++round) {
            auto p = start();
            waitUntilListening();
            QTest::qWait(200 + 60 * round);
            p->terminate(); // the save begins...
            QTest::qWait(15 * round);
            p->kill(); // ...and is cut short somewhere, unless it ended already
            QVERIFY(p->waitForFinished(5000) || p->state() == QProcess::NotRunning);
            const QByteArray now = readFile(path(QStringLiteral("vendle.dat")));
            QVERIFY2(now == dat || (now.count("\r\n") == 8000 && now.endsWith("\r\n")),
                     qPrintable(QStringLiteral("round %1: %2 bytes").arg(round).arg(now.size())));
        }
        // What the killed saves left beside the file is gone after the next start.
        auto p = start();
        waitUntilListening();
        QTest::qWait(500);
        const QStringList left =
            QDir(path(QString())).entryList({QStringLiteral("vendle.dat.*")}, QDir::Files);
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
        p->terminate();
        QVERIFY(p->waitForFinished(10000));
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

    // Asked to, the program logs when each step of its start was done, on the system's monotonic
    // clock: a benchmark that starts it reads the steps and their times from its error output.
    void startupStepsAreLoggedAndTheCheckAfterThemDropsOnlyGoneDocuments() {
        // The window answers before the documents read are checked; the check then drops those
        // deleted and keeps those whose folder is missing (a volume away), with their times. The
        // history is cut to its size after that, so the deleted ones cost no other document.
        vendle::test::writeFile(path(QStringLiteral("vendle.ini")),
                                vendle::test::knownUser() + "[VendleMainForm]\r\nDataMax=20\r\n");
        const QByteArray present = documents(20);
        const QByteArray gone = path(QStringLiteral("docs/gone.txt")).toUtf8() + "\t2026/12/08 11:00:00\r\n";
        const QByteArray away = path(QStringLiteral("away/x.txt")).toUtf8() + "\t2026/12/08 12:00:00\r\n";
        const qsizetype cut = present.indexOf(path(QStringLiteral("docs/10.txt")).toUtf8());
        vendle::test::writeFile(path(QStringLiteral("vendle.dat")),
                                gone + present.left(cut) + away + gone + present.mid(cut));
        QProcess p;
        QProcessEnvironment env = folder_->environment();
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("vendle.startup=true"));
        p.setProcessEnvironment(env);
        p.start(path(QStringLiteral("vendle")), {});
        QByteArray output;
        QTRY_VERIFY_WITH_TIMEOUT((output += p.readAllStandardError()).contains("vendle.startup: checked "),
                                 15000);
        p.terminate();
        QVERIFY(p.waitForFinished(15000));
        // 20 present and the one away, cut to 20: the oldest goes.
        const qsizetype second = present.indexOf('\n') + 1;
        QCOMPARE(readFile(path(QStringLiteral("vendle.dat"))),
                 present.mid(second, cut - second) + away + present.mid(cut));

        const QList<QByteArray> expected = {"main", "toolkit", "settings", "window",
                                            "load", "view",    "loop",     "checked"};
        QList<QByteArray> steps;
        long long previous = 0;
        for (const QByteArray& line : output.split('\n')) {
            if (!line.startsWith("vendle.startup: "))
                continue;
            const QList<QByteArray> parts = line.mid(16).split(' ');
            QCOMPARE(parts.size(), 2);
            bool ok = false;
            const long long ns = parts[1].toLongLong(&ok);
            QVERIFY(ok);
            QVERIFY(ns >= previous);
            previous = ns;
            steps.append(parts[0]);
        }
        QCOMPARE(steps, expected);
    }
};

QTEST_GUILESS_MAIN(ProcessTest)
#include "test_process.moc"
