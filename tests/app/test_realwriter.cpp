// SPDX-License-Identifier: GPL-3.0-or-later
// The real program beside the desktop's real writer of recently used documents: GTK's recent
// manager records documents one by one at varied gaps while the program runs, as applications do
// when a user opens files; every document must reach the history once, with its time.
#include "app/historygrid.h"
#include "app/historysession.h"
#include "app/mainwindow.h"
#include "app/program.h"
#include "app/recentwatch.h"
#include "core/datetime.h"
#include "core/datetimeformat.h"
#include "core/text.h"
#include "programprocess.h"
#include "widgets/faketray.h"
#include "widgets/messagebox.h"
#include "windowprobe.h"

#include <QDateTime>
#include <QLabel>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>

#include <cmath>
#include <map>

using vendle::test::parts;
using vendle::test::readFile;

class RealWriterTest : public QObject {
    Q_OBJECT

    std::unique_ptr<vendle::test::ProgramFolder> folder_;
    std::unique_ptr<QProcess> writer_;

    QString path(const QString& name) const { return folder_->path(name); }

    // The program in this process, on the folder's files and the desktop's record the writer keeps.
    std::unique_ptr<vendle::app::Program> openProgram() {
        vendle::app::AppPaths paths;
        paths.executable = path(QStringLiteral("vendle")).toStdString();
        paths.iniFile = path(QStringLiteral("vendle.ini")).toStdString();
        paths.dataFile = path(QStringLiteral("vendle.dat")).toStdString();
        paths.helpFile = path(QStringLiteral("vendle.chm")).toStdString();
        paths.startupFolder = path(QStringLiteral("autostart")).toStdString();
        paths.dataHome = path(QStringLiteral("data")).toStdString();
        auto program = std::make_unique<vendle::app::Program>(
            paths, [this] { return std::make_unique<vendle::test::FakeTray>(trayLog_, true); });
        program->start();
        return program;
    }
    vendle::test::TrayLog trayLog_;

    // Asks GTK to record `doc` and waits until its bookmark file is written.
    void record(const QString& doc) {
        writer_->write(doc.toUtf8() + "\n");
        QVERIFY(writer_->waitForBytesWritten(5000));
        // Lines other than answers (the virtual display's own talk) are passed over.
        QByteArray answer;
        while (!answer.startsWith("ok ") && !answer.startsWith("failed ")) {
            while (!writer_->canReadLine())
                QVERIFY2(writer_->waitForReadyRead(10000), "GTK's recent manager did not answer");
            answer = writer_->readLine().trimmed();
        }
        QCOMPARE(answer, "ok " + doc.toUtf8());
    }

private slots:
    void init() {
        if (!QFile::exists(QStringLiteral("/usr/bin/python3")) ||
            QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
            QFAIL("the real writer needs python3-gi, gir1.2-gtk-3.0 and xvfb (scripts/deps.sh test)");
        folder_ = std::make_unique<vendle::test::ProgramFolder>();
        vendle::test::writeFile(path(QStringLiteral("vendle.ini")), vendle::test::knownUser());
        // GTK needs a display to run its recent manager; it gets a virtual one of its own.
        writer_ = std::make_unique<QProcess>();
        writer_->setProcessEnvironment(folder_->environment());
        writer_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writer_->start(QStringLiteral("xvfb-run"),
                       {QStringLiteral("-a"), QStringLiteral(VENDLE_TEST_TOOLS "/gtk_recent_writer.py")});
        QByteArray line;
        while (line != "ready") {
            while (!writer_->canReadLine())
                QVERIFY2(writer_->waitForReadyRead(20000), "GTK's recent manager did not start");
            line = writer_->readLine().trimmed();
        }
    }

    void cleanup() {
        if (writer_) {
            writer_->closeWriteChannel();
            if (!writer_->waitForFinished(5000))
                writer_->kill();
        }
        writer_.reset();
        folder_.reset();
    }

    void aFirstStartShowsWhatTheDesktopAlreadyRemembers() {
        // Thirty documents recorded before Vendle ever ran; the program then starts for the first
        // time, in this process so that the welcome's boxes can be answered.
        QFile::remove(path(QStringLiteral("vendle.ini")));
        QDir().mkpath(path(QStringLiteral("docs")));
        // Each record's time lies between the clock read before it was asked for and after GTK
        // wrote it, however long a busy machine takes between the two.
        std::map<std::string, std::pair<qint64, qint64>> recordedAt;
        for (int i = 0; i < 30; ++i) {
            const QString doc = path(QStringLiteral("docs/前からの文書 %1.txt").arg(i));
            vendle::test::writeFile(doc, "x");
            const qint64 before = QDateTime::currentSecsSinceEpoch();
            record(doc);
            recordedAt[doc.toStdString()] = {before, QDateTime::currentSecsSinceEpoch()};
        }
        QTest::qWait(1100); // the start comes later than every record

        using vendle::widgets::MessageBox;
        MessageBox::setTestMode(true);
        const auto off = qScopeGuard([] { MessageBox::setTestMode(false); });
        for (int i = 0; i < 4; ++i)
            MessageBox::queueAnswer(MessageBox::Ok);
        MessageBox::queueAnswer(MessageBox::No);
        auto program = openProgram();
        QCOMPARE(MessageBox::shownTexts().first(), QStringLiteral("初回起動です。"));
        const vendle::HistoryList& items = program->session().items();
        QCOMPARE(items.ItemCount(), 30);
        for (int i = 0; i < items.ItemCount(); ++i) {
            // Each with the time the desktop recorded (kept at two-second steps), not the start's.
            const auto [before, after] = recordedAt.at(std::string(items.Item(i).Path));
            QVERIFY2(items.Item(i).LastUsed >= vendle::fromUnixTime(before - 2) &&
                         items.Item(i).LastUsed <= vendle::fromUnixTime(after),
                     std::string(items.Item(i).Path).c_str());
        }
        QVERIFY(program->window()
                    .findChild<QLabel*>(QStringLiteral("Label2"))
                    ->text()
                    .startsWith(QStringLiteral("30")));
    }

    void forgottenDocumentsStayGoneUntilTheDesktopRecordsThemAgain() {
        auto program = openProgram();
        QDir().mkpath(path(QStringLiteral("docs")));
        QStringList docs;
        for (int i = 0; i < 5; ++i) {
            docs << path(QStringLiteral("docs/%1.txt").arg(i));
            vendle::test::writeFile(docs.last(), "x");
            record(docs.last());
        }
        const vendle::HistoryList& items = program->session().items();
        QTRY_COMPARE_WITH_TIMEOUT(items.ItemCount(), 5, 15000);

        // Two rows highlighted, Delete: they leave the history; the files stay.
        auto* grid = parts(program->window()).Grid;
        program->window().ShowMainWindow();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(1, vendle::ColumnName));
        QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
        const std::vector<std::string> gone{std::string(items.ViewItem(1).Path),
                                            std::string(items.ViewItem(2).Path)};
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(items.ItemCount(), 3);
        for (const std::string& p : gone) {
            QCOMPARE(items.indexOfPath(p), -1);
            QVERIFY(QFile::exists(QString::fromStdString(p)));
        }
        QVERIFY(program->window()
                    .findChild<QLabel*>(QStringLiteral("Label2"))
                    ->text()
                    .startsWith(QStringLiteral("3")));
        program->saveForSessionEnd();
        program->finish();
        program.reset();
        const QByteArray ini = readFile(path(QStringLiteral("vendle.ini")));
        QVERIFY(ini.contains("[Forgotten]") && ini.contains(QByteArray::fromStdString(gone[1])));

        // The next run, and the desktop's record unchanged, even without the listing kept.
        QFile::remove(path(QStringLiteral("vendle.seen")));
        program = openProgram();
        // A look that ends after the start: the forgotten documents would have come back in it.
        QSignalSpy looks(&program->watch(), &vendle::app::RecentWatch::looksOver);
        program->watch().request();
        QTRY_VERIFY_WITH_TIMEOUT(looks.count() > 0, 15000);
        QCOMPARE(program->session().items().ItemCount(), 3);
        // Used again: back.
        QTest::qWait(1100); // a later second than the forgetting
        record(QString::fromStdString(gone[0]));
        QTRY_VERIFY_WITH_TIMEOUT(program->session().items().indexOfPath(gone[0]) >= 0, 15000);
        QCOMPARE(program->session().items().ItemCount(), 4);
    }

    void documentsUnderAnExcludedFolderNeverReachTheHistory() {
        auto program = openProgram();
        program->session().setExclusions({{path(QStringLiteral("docs/private")).toStdString()}, true}, {});
        QDir().mkpath(path(QStringLiteral("docs/private")));
        QDir().mkpath(path(QStringLiteral("docs/.hidden")));
        const QString kept = path(QStringLiteral("docs/kept.txt"));
        for (const QString& doc :
             {path(QStringLiteral("docs/private/a.txt")), path(QStringLiteral("docs/.hidden/b.txt")), kept}) {
            vendle::test::writeFile(doc, "x");
            record(doc);
        }
        const vendle::HistoryList& items = program->session().items();
        QTRY_COMPARE_WITH_TIMEOUT(items.ItemCount(), 1, 15000);
        QCOMPARE(items.Item(0).Path, kept.toStdString());
        QTest::qWait(500);
        QCOMPARE(items.ItemCount(), 1);
    }

    void everyRecordedDocumentReachesTheHistoryOnceWithItsTime() {
        auto program = folder_->start();
        QTRY_VERIFY_WITH_TIMEOUT(folder_->listening(), 15000);
        QTest::qWait(500);

        // Gaps around the program's three-second look at the folder, short bursts among them, so
        // that documents land right before, during and right after its scans.
        const int gapsMs[] = {100,  2900, 150, 1000, 3000, 100, 100, 1700,
                              2950, 400,  120, 2500, 3000, 600, 200, 1500};
        constexpr int kCount = static_cast<int>(std::size(gapsMs));
        std::map<QString, std::pair<qint64, qint64>> recordedAt; // the clock before and after each record
        QDir().mkpath(path(QStringLiteral("docs")));
        for (int i = 0; i < kCount; ++i) {
            const QString doc = path(QStringLiteral("docs/文書 %1.txt").arg(i));
            vendle::test::writeFile(doc, "x");
            QTest::qWait(gapsMs[i]);
            const qint64 before = QDateTime::currentSecsSinceEpoch();
            record(doc);
            recordedAt[doc] = {before, QDateTime::currentSecsSinceEpoch()};
        }
        // The first document opened again, after the program looked at the last one (documents
        // recorded between two looks enter in the order of the listing): it moves to the newest
        // place with its new time.
        const QString again = path(QStringLiteral("docs/文書 0.txt"));
        QTest::qWait(3500);
        const qint64 againBefore = QDateTime::currentSecsSinceEpoch();
        record(again);
        recordedAt[again] = {againBefore, QDateTime::currentSecsSinceEpoch()};
        QTest::qWait(3500); // one more look at the folder

        program->terminate();
        QVERIFY(program->waitForFinished(15000));
        QCOMPARE(program->exitCode(), 0);

        const QByteArray dat = readFile(path(QStringLiteral("vendle.dat")));
        std::vector<std::pair<QString, vendle::DateTime>> lines;
        vendle::forEachLine(dat.toStdString(), [&](std::string_view line) {
            const std::size_t tab = line.find('\t');
            QVERIFY(tab != std::string_view::npos);
            lines.emplace_back(QString::fromStdString(std::string(line.substr(0, tab))),
                               vendle::StrToDateTime(line.substr(tab + 1), vendle::fileDateTimeFormat()));
        });
        QCOMPARE(static_cast<int>(lines.size()), kCount);
        QCOMPARE(lines.back().first, again);
        for (const auto& [doc, when] : lines) {
            QCOMPARE(std::count_if(lines.begin(), lines.end(), [&](const auto& l) { return l.first == doc; }),
                     1);
            // The bookmark's own time, kept at two-second steps.
            const auto [before, after] = recordedAt.at(doc);
            QVERIFY2(when >= vendle::fromUnixTime(before - 2) &&
                         when <= vendle::fromUnixTime(after) + 0.5 / 86400,
                     qPrintable(doc));
        }
    }
};

QTEST_MAIN(RealWriterTest)
#include "test_realwriter.moc"
