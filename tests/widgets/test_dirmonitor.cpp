// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/dirmonitor.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using vendle::widgets::TDirMonitor;

namespace {
void touch(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}
} // namespace

class DirMonitorTest : public QObject {
    Q_OBJECT

private slots:
    void tenChangesGiveOneEventAtTheNextTick() {
        QTemporaryDir dir;
        TDirMonitor::setInterval(400);
        TDirMonitor monitor;
        monitor.setDirectory(dir.path());
        QSignalSpy spy(&monitor, &TDirMonitor::OnChange);
        monitor.setActive(true);
        QVERIFY(monitor.isWatching());
        for (int i = 0; i < 10; ++i)
            touch(dir.filePath(QStringLiteral("f%1").arg(i)));
        QCOMPARE(spy.count(), 0); // nothing before the tick
        QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 3000);
        QTest::qWait(1000); // further ticks without changes stay silent
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<TDirMonitor*>(), &monitor);
    }

    void aFolderDeletedAndMadeAgainIsWatchedAgain() {
        QTemporaryDir top;
        const QString folder = top.filePath(QStringLiteral("RecentDocuments"));
        QVERIFY(QDir().mkpath(folder));
        TDirMonitor::setInterval(150);
        TDirMonitor monitor;
        monitor.setDirectory(folder);
        QSignalSpy spy(&monitor, &TDirMonitor::OnChange);
        monitor.setActive(true);
        QVERIFY(QDir(folder).removeRecursively());
        QTRY_VERIFY_WITH_TIMEOUT(!monitor.isWatching(), 3000); // its watch went with it
        QVERIFY(QDir().mkpath(folder));
        QTRY_VERIFY_WITH_TIMEOUT(monitor.isWatching(), 3000); // back: watched again, and that is a change
        const int before = static_cast<int>(spy.count());
        QVERIFY(before >= 1);
        touch(folder + QStringLiteral("/new.desktop"));
        QTRY_VERIFY_WITH_TIMEOUT(spy.count() > before, 3000);
        monitor.setActive(false);
    }

    void sharedIntervalAndTimer() {
        TDirMonitor::setInterval(2500);
        TDirMonitor a;
        QCOMPARE(TDirMonitor::Interval(), 2500);
        QVERIFY(!TDirMonitor::pollerRunning());
        a.setActive(true);
        QVERIFY(TDirMonitor::pollerRunning());
        a.setActive(false);
        QVERIFY(!TDirMonitor::pollerRunning());
        TDirMonitor::setInterval(300); // no monitor active: nothing runs
        QVERIFY(!TDirMonitor::pollerRunning());
        a.setActive(true);
        QVERIFY(TDirMonitor::pollerRunning());
        {
            TDirMonitor b;
            b.setActive(true);
        } // destroying an active monitor takes it out of the list
        QVERIFY(TDirMonitor::pollerRunning());
        a.setActive(false);
        QVERIFY(!TDirMonitor::pollerRunning());
    }

    void aMissingFolderNeverFiresAndDoesNotBlockOthers() {
        QTemporaryDir dir;
        TDirMonitor::setInterval(200);
        TDirMonitor missing;
        missing.setDirectory(dir.filePath(QStringLiteral("none")));
        TDirMonitor present;
        present.setDirectory(dir.path());
        QSignalSpy missingSpy(&missing, &TDirMonitor::OnChange);
        QSignalSpy presentSpy(&present, &TDirMonitor::OnChange);
        missing.setActive(true);
        present.setActive(true);
        QVERIFY(missing.Active());
        QVERIFY(!missing.isWatching());
        touch(dir.filePath(QStringLiteral("a")));
        QTRY_COMPARE_WITH_TIMEOUT(presentSpy.count(), 1, 3000);
        QCOMPARE(missingSpy.count(), 0);

        // Pointing the monitor somewhere else re-opens the watch there.
        QDir().mkpath(dir.filePath(QStringLiteral("none")));
        missing.setDirectory(dir.filePath(QStringLiteral("none")) + QStringLiteral("/"));
        QVERIFY(missing.isWatching());
        touch(dir.filePath(QStringLiteral("none/b")));
        QTRY_COMPARE_WITH_TIMEOUT(missingSpy.count(), 1, 3000);
    }
};

QTEST_MAIN(DirMonitorTest)
#include "test_dirmonitor.moc"
