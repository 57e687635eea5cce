// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialogs.h"
#include "app/historygrid.h"
#include "app/mainwindow.h"
#include "app/program.h"
#include "app/recentwatch.h"
#include "appfiles.h"
#include "core/recentscan.h"
#include "platform/system.h"
#include "sessionprobe.h"
#include "widgets/dirmonitor.h"
#include "widgets/faketray.h"
#include "widgets/localeformat.h"
#include "widgets/messagebox.h"
#include "windowprobe.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace vendle;
using namespace vendle::app;
using vendle::test::FakeTray;
using vendle::test::parts;
using vendle::test::TrayLog;
using vendle::widgets::MessageBox;

using vendle::test::knownUser;
using vendle::test::readFile;
using vendle::test::writeFile;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    TrayLog log_;
    AppPaths paths_;

    QString path(const QString& name) const { return dir_->filePath(name); }

    // The program, built and started as main does.
    std::unique_ptr<Program> open(bool withTray = true) {
        auto program = std::make_unique<Program>(
            paths_, [this, withTray] { return std::make_unique<FakeTray>(log_, withTray); });
        program->start();
        return program;
    }

    // The end of the program: the exit sequence's last step writes the settings file.
    static void finish(std::unique_ptr<Program> program) {
        program->finish();
        program.reset();
    }

    // Real files for the history to find.
    QByteArray makeDocuments(int count) {
        QDir().mkpath(path(QStringLiteral("docs")));
        QByteArray lines;
        for (int i = 0; i < count; ++i) {
            const QString doc = path(QStringLiteral("docs/doc%1.txt").arg(i));
            writeFile(doc, "x");
            lines += doc.toUtf8() + "\t2026/12/08 10:00:00\r\n";
        }
        return lines;
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        log_ = TrayLog{};
        paths_ = AppPaths{};
        paths_.executable = path(QStringLiteral("vendle")).toStdString();
        paths_.iniFile = path(QStringLiteral("vendle.ini")).toStdString();
        paths_.dataFile = path(QStringLiteral("vendle.dat")).toStdString();
        paths_.helpFile = path(QStringLiteral("vendle.chm")).toStdString();
        paths_.startupFolder = path(QStringLiteral("autostart")).toStdString();
        paths_.dataHome = path(QStringLiteral("data")).toStdString();
        MessageBox::setTestMode(true);
    }

    void cleanup() { MessageBox::setTestMode(false); }

    void firstStartRegistersOnYes() {
        MessageBox::queueAnswer(MessageBox::Ok);
        MessageBox::queueAnswer(MessageBox::Ok);
        MessageBox::queueAnswer(MessageBox::Ok);
        MessageBox::queueAnswer(MessageBox::Ok);
        MessageBox::queueAnswer(MessageBox::Yes);
        auto form = open();
        const QStringList shown = MessageBox::shownTexts();
        QCOMPARE(shown.size(), 6);
        QCOMPARE(shown[0], QStringLiteral("初回起動です。"));
        // The welcome speaks of this desktop, not of another system's features.
        QCOMPARE(
            shown[2],
            QStringLiteral(
                "このプログラムはデスクトップの標準機能である「最近使ったファイル」の機能を拡張します。"));
        QCOMPARE(shown[3],
                 QStringLiteral("起動すると通知領域に常駐しますので、右クリックしてみたください。"));
        QVERIFY(shown[4].startsWith(QStringLiteral("このプログラムを自動起動に登録しますか？\n")));
        QCOMPARE(shown[5], QStringLiteral("自動起動に登録しました。"));
        const QByteArray entry = readFile(path(QStringLiteral("autostart/Vendle.desktop")));
        QVERIFY(entry.contains("Exec=" + path(QStringLiteral("vendle")).toUtf8() + "\n"));
        QVERIFY(entry.contains("Type=Application\n"));
        QVERIFY(!form->window().isVisible()); // resident: hidden at start
    }

    void theAutostartEntryIsThisCopysOrOfferedForReplacementAndTheSettingsCanChangeIt() {
        const QString entryPath = path(QStringLiteral("autostart/Vendle.desktop"));
        const QByteArray mine =
            "[Desktop Entry]\nType=Application\nExec=" + path(QStringLiteral("vendle")).toUtf8() +
            "\nX-Mine=1\n";
        const QByteArray moved = "[Desktop Entry]\nType=Application\nExec=\"/old place/vendle\"\n";
        QDir().mkpath(path(QStringLiteral("autostart")));
        // The welcome, Yes to registering, and the answer to a replacement (when one is asked).
        const auto firstStart = [&](std::optional<MessageBox::Button> replace) {
            QFile::remove(path(QStringLiteral("vendle.ini")));
            MessageBox::clearShownTexts();
            for (int i = 0; i < 4; ++i)
                MessageBox::queueAnswer(MessageBox::Ok);
            MessageBox::queueAnswer(MessageBox::Yes);
            if (replace)
                MessageBox::queueAnswer(*replace);
            auto program = open();
            return MessageBox::shownTexts();
        };
        // This copy's own entry stays as it is.
        writeFile(entryPath, mine);
        QCOMPARE(firstStart(std::nullopt).last(), QStringLiteral("すでに自動起動に登録されています。"));
        QCOMPARE(readFile(entryPath), mine);
        // An entry that starts a copy elsewhere is named and replaced only on Yes.
        writeFile(entryPath, moved);
        QStringList shown = firstStart(MessageBox::No);
        QVERIFY(shown[5].contains(QStringLiteral("/old place/vendle")));
        QCOMPARE(shown.last(), QStringLiteral("自動起動には登録しません。"));
        QCOMPARE(readFile(entryPath), moved);
        shown = firstStart(MessageBox::Yes);
        QCOMPARE(shown.last(), QStringLiteral("自動起動に登録しました。"));
        QVERIFY(readFile(entryPath).contains("Exec=" + path(QStringLiteral("vendle")).toUtf8() + "\n"));

        // The settings dialog shows whether this copy starts with the session and changes it on OK.
        auto program = open();
        TOptionDlg& dialog = program->optionDialog();
        const auto settings = [&](bool expectedState, bool newState) {
            bool shownState = !expectedState;
            QTimer::singleShot(0, &dialog, [&] {
                QTRY_VERIFY(dialog.isVisible());
                shownState = dialog.cbAutostart->isChecked();
                dialog.cbAutostart->setChecked(newState);
                dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
            });
            dialog.acOptionExecute();
            QCOMPARE(shownState, expectedState);
        };
        settings(true, false);
        QVERIFY(!QFile::exists(entryPath));
        settings(false, true);
        QVERIFY(readFile(entryPath).contains("Exec=" + path(QStringLiteral("vendle")).toUtf8() + "\n"));
        writeFile(entryPath, moved); // another copy's entry: not this copy's, and left alone
        settings(false, false);
        QCOMPARE(readFile(entryPath), moved);
    }

    void firstStartRefusedThenNoMoreWelcome() {
        for (int i = 0; i < 4; ++i)
            MessageBox::queueAnswer(MessageBox::Ok);
        MessageBox::queueAnswer(MessageBox::No);
        finish(open());
        const QStringList shown = MessageBox::shownTexts();
        QCOMPARE(shown.size(), 7);
        QCOMPARE(shown[5], QStringLiteral("「いいえ」を選択しました。\n"));
        QCOMPARE(shown[6], QStringLiteral("自動起動には登録しません。"));
        QVERIFY(!QFile::exists(path(QStringLiteral("autostart/Vendle.desktop"))));

        MessageBox::clearShownTexts();
        auto second = open();
        QVERIFY(MessageBox::shownTexts().isEmpty());
        QCOMPARE(second->session().settings().ExecCount(), 2);
    }

    void closingHidesAndWritesNothing() {
        writeFile(path(QStringLiteral("vendle.ini")), knownUser());
        auto form = open();
        form->window().ShowMainWindow();
        QVERIFY(form->window().isVisible());
        QVERIFY(!form->window().close());
        QVERIFY(!form->window().isVisible());
        QCOMPARE(readFile(path(QStringLiteral("vendle.ini"))), knownUser());

        MessageBox::clearShownTexts();
        form->showHelp("index.htm"); // no help file beside the program
        QCOMPARE(MessageBox::shownTexts(),
                 QStringList{path(QStringLiteral("vendle.chm")) + QStringLiteral("は見つかりません。")});
    }

    void exitWritesHistoryAndSettings() {
        writeFile(path(QStringLiteral("vendle.ini")), knownUser());
        // A document deleted from a folder that is still there leaves the history.
        writeFile(path(QStringLiteral("vendle.dat")),
                  makeDocuments(3) + path(QStringLiteral("docs/gone.txt")).toUtf8() + "\t2026/12/08\r\n");
        auto form = open();
        QTRY_VERIFY_WITH_TIMEOUT(!form->session().checking(), 10000);
        QCOMPARE(form->session().items().ItemCount(), 3);
        QCOMPARE(form->session().items().ViewCount(), 3);
        QCOMPARE(MessageBox::shownTexts(), QStringList());
        form->session().setDataMax(500);
        // The exit command ends the event loop even though the window refuses to close.
        QEventLoop loop;
        QTimer::singleShot(0, form.get(), [&] { form->exitCommand(); });
        QTimer::singleShot(5000, &loop, [&] { loop.exit(1); });
        QCOMPARE(loop.exec(), 0);
        QCOMPARE(MessageBox::shownTexts(), QStringList());
        const QByteArray dat = readFile(path(QStringLiteral("vendle.dat")));
        QCOMPARE(dat.count("\r\n"), 3);
        QVERIFY(!dat.contains("gone.txt"));
        finish(std::move(form));
        const QByteArray ini = readFile(path(QStringLiteral("vendle.ini")));
        for (const char* key : {"\r\nItems=3\r\n", "\r\nDataMax=500\r\n", "\r\nReadOnly=0\r\n", "\r\nGrid=",
                                "\r\nFormBounds=0,-1,-1,-1,-1,", "\r\nExecCount=4\r\n", "\r\nTotalExecTime="})
            QVERIFY2(ini.contains(key), key);
    }

    void bothWindowsOpenWholeOnTheScreen() {
        // Bounds saved at another scale, larger than this screen.
        writeFile(path(QStringLiteral("vendle.ini")),
                  knownUser() + "[VendleMainForm]\r\nFormBounds=0,-1,-1,-1,-1,230,125,9000,7000\r\n");
        auto form = open();
        form->window().ShowMainWindow();
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY2(area.contains(form->window().frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(form->window().frameGeometry().x())
                                .arg(form->window().frameGeometry().y())
                                .arg(form->window().frameGeometry().width())
                                .arg(form->window().frameGeometry().height())));
    }

    void theSortIsKeptAcrossARestart() {
        writeFile(path(QStringLiteral("vendle.ini")), knownUser() + "[VendleMainForm]\r\nSortColumn=9\r\n");
        writeFile(path(QStringLiteral("vendle.dat")), makeDocuments(3));
        auto form = open();
        QCOMPARE(form->session().items().SortColumn, int(ColumnTime)); // newest first unless told
        QVERIFY(form->session().items().SortDescending);
        form->session().clickColumn(ColumnFolder);
        form->session().clickColumn(ColumnFolder);
        form->saveForSessionEnd();
        finish(std::move(form));
        const QByteArray ini = readFile(path(QStringLiteral("vendle.ini")));
        QVERIFY(ini.contains("\r\nSortColumn=2\r\n") && ini.contains("\r\nSortDescending=1\r\n"));
        auto again = open();
        QCOMPARE(again->session().items().SortColumn, int(ColumnFolder));
        QVERIFY(again->session().items().SortDescending);
        QCOMPARE(again->session().items().ViewItem(0).Path,
                 path(QStringLiteral("docs/doc2.txt")).toStdString());
    }

    void loadShowsProgressInTheTrayTip() {
        writeFile(path(QStringLiteral("vendle.ini")), knownUser());
        writeFile(path(QStringLiteral("vendle.dat")), makeDocuments(250));
        auto form = open();
        QCOMPARE(form->session().items().ItemCount(), 250);
        const QStringList expected = {
            QStringLiteral("Vendle"),
            QStringLiteral("Loading..."),
            QStringLiteral("Loading(0/250)..."),
            QStringLiteral("Loading(250/250)..."), // what came between followed within 100 ms
            QStringLiteral("Vendle"),
        };
        QCOMPARE(log_.tips, expected);
    }

    void failedSaveKeepsTheProgramAndItsHistory() {
        writeFile(path(QStringLiteral("vendle.ini")), knownUser() + "[VendleMainForm]\r\nItems=7\r\n\r\n");
        auto form = open();
        QDir().mkpath(path(QStringLiteral("vendle.dat"))); // a folder where the file should be
        MessageBox::clearShownTexts();
        test::changeHistory(form->session(), [&](HistoryList& items) {
            items.AddItem(path(QStringLiteral("vendle.ini")).toStdString());
        });
        form->exitCommand();
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(MessageBox::shownTexts()[0].contains(path(QStringLiteral("vendle.dat"))));
        QCOMPARE(form->session().items().ItemCount(), 1);
        finish(std::move(form));
        QVERIFY(readFile(path(QStringLiteral("vendle.ini"))).contains("\r\nItems=7\r\n")); // not updated
    }

    void damagedFilesDoNotStopTheStart() {
        writeFile(path(QStringLiteral("vendle.ini")),
                  "garbage\r\n" + knownUser("TotalExecTime=xx\r\n") +
                      "[VendleMainForm]\r\nItems=2000000000\r\nGrid=a,b\r\nFormBounds=1,2\r\n"
                      "DataMax=-4\r\n");
        writeFile(path(QStringLiteral("vendle.dat")),
                  QByteArray("\xff\xfe\t\t\t\r\n\0garbage", 14) + "\n\n\t");
        auto form = open();
        QCOMPARE(MessageBox::shownTexts(), QStringList());
        QTRY_VERIFY_WITH_TIMEOUT(!form->session().checking(), 10000);
        QCOMPARE(form->session().items().ItemCount(), 0);
        QCOMPARE(form->session().dataMax(), 1);
    }

    void theTrayAndASecondCopyBringTheWindowBackAsItWas() {
        writeFile(path(QStringLiteral("vendle.ini")), knownUser());
        auto form = std::make_unique<Program>(paths_, [this] { return std::make_unique<FakeTray>(log_); });
        form->window().activateFromSecondCopy({}); // not before the start is over
        form->window().ShowMainWindow();
        QVERIFY(!form->window().isVisible());
        form->start();
        form->window().activateFromSecondCopy({}); // a hidden window is shown, as the tray icon does
        QVERIFY(form->window().isVisible());
        form->window().showMinimized();
        form->window().activateFromSecondCopy({});
        QVERIFY(form->window().isVisible());
        QVERIFY(!form->window().isMinimized());
        form->window().showMaximized();
        form->window().showMinimized();
        form->window().activateFromSecondCopy({});
        QVERIFY(form->window().isMaximized());
        QVERIFY(!form->window().isMinimized());
        // A click on the tray icon does the same, and the search box has the keyboard.
        form->window().showMinimized();
        parts(form->window()).yTrayIcon1->dispatch(widgets::TyTrayIcon::Mouse::LeftUp, {});
        QVERIFY(form->window().isMaximized());
        QVERIFY(!form->window().isMinimized());
        QVERIFY(QTest::qWaitForWindowActive(&form->window()));
        QVERIFY(parts(form->window()).Edit1->hasFocus());
    }

    void scansImportNewAndMoveKnownDocuments() {
        writeFile(path(QStringLiteral("vendle.ini")), knownUser());
        QDir().mkpath(path(QStringLiteral("data/RecentDocuments")));
        makeDocuments(2);
        auto form = open();
        QVERIFY(form->watch().DirMonitor1->Active());
        QVERIFY(form->watch().DirMonitor2->isWatching());
        const std::int64_t soon = QDateTime::currentSecsSinceEpoch() + 11;
        const auto link = [&](const QString& name, const QString& doc, std::int64_t when) {
            const QString file = path(QStringLiteral("data/RecentDocuments/") + name);
            writeFile(file, "[Desktop Entry]\nType=Link\nURL=file://" + doc.toUtf8() + "\n");
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::fromSecsSinceEpoch(when), QFileDevice::FileModificationTime));
        };
        link(QStringLiteral("0.desktop"), path(QStringLiteral("docs/doc0.txt")), soon);
        form->watch().request();
        QCOMPARE(form->session().items().ItemCount(), 1);
        QCOMPARE(form->session().items().ViewCount(), 1);
        QCOMPARE(form->session().items().Item(0).LastUsed, dosDateTime(soon));
        QVERIFY(parts(form->window()).Grid->isVisibleTo(&form->window()));

        link(QStringLiteral("1.desktop"), path(QStringLiteral("docs/doc1.txt")), soon + 2);
        link(QStringLiteral("0.desktop"), path(QStringLiteral("docs/doc0.txt")), soon + 4);
        form->watch().request();
        QCOMPARE(form->session().items().ItemCount(), 2);
        QCOMPARE(QString::fromStdString(std::string(form->session().items().Item(1).Path)),
                 path(QStringLiteral("docs/doc0.txt")));
        QCOMPARE(form->session().items().Item(1).LastUsed, dosDateTime(soon + 4));

        // A link whose URL cannot be decoded is skipped with both messages, once; the rest of
        // the scan and later scans go on.
        MessageBox::clearShownTexts();
        writeFile(path(QStringLiteral("data/RecentDocuments/bad.desktop")),
                  "[Desktop Entry]\nType=Link\nURL=file:relative\n");
        QFile bad(path(QStringLiteral("data/RecentDocuments/bad.desktop")));
        QVERIFY(bad.open(QIODevice::ReadWrite));
        QVERIFY(bad.setFileTime(QDateTime::fromSecsSinceEpoch(soon + 30), QFileDevice::FileModificationTime));
        writeFile(path(QStringLiteral("docs/doc2.txt")), "x");
        link(QStringLiteral("2.desktop"), path(QStringLiteral("docs/doc2.txt")), soon + 6);
        form->watch().request();
        QCOMPARE(MessageBox::shownTexts().size(), 2);
        QCOMPARE(MessageBox::shownTexts()[0], QStringLiteral("Resolve Error"));
        QVERIFY(MessageBox::shownTexts()[1].startsWith(QStringLiteral("QVZ:Exception occured at ")));
        QCOMPARE(form->session().items().ItemCount(), 3);
        MessageBox::clearShownTexts();
        form->watch().request();
        link(QStringLiteral("3.desktop"), path(QStringLiteral("docs/doc1.txt")), soon + 8);
        form->watch().request();
        QCOMPARE(MessageBox::shownTexts(), QStringList());
        QCOMPARE(QString::fromStdString(std::string(form->session().items().Item(2).Path)),
                 path(QStringLiteral("docs/doc1.txt")));

        // While a report waits for the user, imports go on: a document recorded meanwhile comes in
        // at once, and a second bad link's report waits its turn.
        writeFile(path(QStringLiteral("data/RecentDocuments/bad2.desktop")),
                  "[Desktop Entry]\nType=Link\nURL=file:also-relative\n");
        QFile bad2(path(QStringLiteral("data/RecentDocuments/bad2.desktop")));
        QVERIFY(bad2.open(QIODevice::ReadWrite));
        QVERIFY(
            bad2.setFileTime(QDateTime::fromSecsSinceEpoch(soon + 40), QFileDevice::FileModificationTime));
        int countWhileOpen = -1;
        int boxesWhileOpen = -1;
        MessageBox::setWhileShown([&] {
            if (countWhileOpen >= 0)
                return;
            countWhileOpen = 0;
            writeFile(path(QStringLiteral("docs/doc3.txt")), "x");
            writeFile(path(QStringLiteral("data/RecentDocuments/bad3.desktop")),
                      "[Desktop Entry]\nType=Link\nURL=file:third\n");
            link(QStringLiteral("4.desktop"), path(QStringLiteral("docs/doc3.txt")), soon + 50);
            form->watch().request();
            countWhileOpen = form->session().items().ItemCount();
            boxesWhileOpen = int(MessageBox::shownTexts().size());
        });
        form->watch().request();
        MessageBox::setWhileShown({});
        QCOMPARE(countWhileOpen, 4);
        QCOMPARE(boxesWhileOpen, 1); // the second look's report did not open inside the first
        QCOMPARE(MessageBox::shownTexts().size(), 4); // two reports of two boxes each, one after the other

        form->exitCommand();
        QVERIFY(!form->watch().DirMonitor1->Active()); // the exit save stops watching
    }

    void aFailedStartLeavesTheDataFileAsItWas() {
        // The first-run registration fails (its folder cannot be made), so the history is never
        // loaded: no exit path may write the empty history over the file.
        const QByteArray dat = makeDocuments(3);
        writeFile(path(QStringLiteral("vendle.dat")), dat);
        writeFile(path(QStringLiteral("blocker")), "a file where a folder should be");
        paths_.startupFolder = path(QStringLiteral("blocker/autostart")).toStdString();
        for (int i = 0; i < 4; ++i)
            MessageBox::queueAnswer(MessageBox::Ok);
        MessageBox::queueAnswer(MessageBox::Yes);
        auto form = open();
        QVERIFY(MessageBox::shownTexts().last().startsWith(QStringLiteral("QVZ:Exception occured at ")));
        QCOMPARE(form->session().items().ItemCount(), 0);
        form->saveForSessionEnd();
        form->exitCommand();
        QCOMPARE(readFile(path(QStringLiteral("vendle.dat"))), dat);
        finish(std::move(form));
        QVERIFY(!readFile(path(QStringLiteral("vendle.ini"))).contains("Items="));
    }

    void aSessionEndSaveThatIsNotFollowedByTheEndKeepsWatching() {
        writeFile(path(QStringLiteral("vendle.ini")), knownUser());
        writeFile(path(QStringLiteral("vendle.dat")), makeDocuments(2));
        auto form = open();
        // A look under way when the save stops watching is given up, and runs when watching resumes.
        const QString doc = path(QStringLiteral("docs/recorded meanwhile.txt"));
        writeFile(doc, "x");
        const QString used = QDateTime::currentDateTimeUtc().addSecs(30).toString(Qt::ISODate);
        writeFile(path(QStringLiteral("data/recently-used.xbel")),
                  "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\">\n<bookmark href=\"" +
                      QUrl::fromLocalFile(doc).toEncoded() + "\" added=\"" + used.toUtf8() + "\" visited=\"" +
                      used.toUtf8() + "\"/>\n</xbel>\n");
        QSignalSpy looks(&form->watch(), &RecentWatch::looksOver);
        form->watch().request();
        form->saveForSessionEnd();
        QVERIFY(!form->watch().DirMonitor1->Active());
        QCOMPARE(readFile(path(QStringLiteral("vendle.dat"))).count("\r\n"), 2);
        QCOMPARE(looks.count(), 0);
        form->resumeWatching();
        QVERIFY(form->watch().DirMonitor1->Active());
        QVERIFY(form->watch().DirMonitor2->Active());
        QTRY_VERIFY(looks.count() > 0);
        QCOMPARE(form->session().items().ItemCount(), 3);
    }

    // A folder the history cannot be kept in is told at the start, with the reason.
    void aFolderThatCannotBeUsedIsToldAtTheStart() {
        writeFile(path(QStringLiteral("vendle.ini")), knownUser());
        writeFile(path(QStringLiteral("a file")), "x");
        paths_.unusableFolder = path(QStringLiteral("a file/vendle")).toStdString();
        paths_.unusableReason = platform::folderProblem(paths_.unusableFolder);
        QVERIFY(!paths_.unusableReason.empty());
        MessageBox::clearShownTexts();
        auto form = open();
        QVERIFY(MessageBox::shownTexts().contains(
            QStringLiteral("履歴と設定を保存するフォルダ「") + QString::fromStdString(paths_.unusableFolder) +
            QStringLiteral("」を使えません。\n") + QString::fromStdString(paths_.unusableReason) +
            QStringLiteral("\n今回使ったファイルの履歴と設定は保存されません。")));
        QVERIFY(platform::folderProblem(path(QStringLiteral("usable")).toStdString()).empty());
    }

    void withoutANotificationAreaTheWindowStaysReachable() {
        writeFile(path(QStringLiteral("vendle.ini")), knownUser());
        auto program = open(false);
        TVendleMainForm& form = program->window();
        QVERIFY(form.isVisible());
        QVERIFY(!QApplication::windowIcon().isNull()); // every window, dialogs and help too, has the icon
        MessageBox::clearShownTexts();
        MessageBox::queueAnswer(MessageBox::No);
        form.close();
        QVERIFY(form.isVisible());
        QVERIFY(form.isMinimized());
        // The user is told once a run that the program runs on, until asked not to be told again.
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(MessageBox::shownTexts()[0].startsWith(
            QStringLiteral("ウィンドウを閉じても Vendle は動作を続けます。")));
        form.showNormal();
        form.close();
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(!form.session().settings().ReadBool("VendleMainForm", "CloseNoticeOff", false));
    }

    // Last: the termination ends the event loops of this process for good.
    void toldToEndDuringTheWelcomeTheRunWritesNothing() {
        const QByteArray dat = makeDocuments(2);
        writeFile(path(QStringLiteral("vendle.dat")), dat);
        auto program = std::make_unique<Program>(paths_, [this] { return std::make_unique<FakeTray>(log_); });
        QList<Phase> phases;
        connect(&program->life(), &Life::changed, this, [&](Phase phase) { phases.append(phase); });
        MessageBox::setWhileShown([&] { program->terminate(); });
        QVERIFY(!program->start());
        MessageBox::setWhileShown({});
        QCOMPARE(phases, QList<Phase>{Phase::Abandoned});
        QCOMPARE(MessageBox::shownTexts().size(), 1); // no box after the first
        QVERIFY(!program->window().isVisible());
        program->saveForSessionEnd();
        program->exitCommand();
        finish(std::move(program));
        QVERIFY(!QFile::exists(path(QStringLiteral("vendle.ini"))));
        QCOMPARE(readFile(path(QStringLiteral("vendle.dat"))), dat);
        // "終了" from the tray menu while the start waits does the same.
        Program second(paths_, [this] { return std::make_unique<FakeTray>(log_); });
        second.exitCommand();
        QCOMPARE(second.life().phase(), Phase::Abandoned);
        QVERIFY(!second.start());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
