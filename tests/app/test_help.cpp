// SPDX-License-Identifier: GPL-3.0-or-later
// The compiled help file and the help window: pages read out of the file the build made, links
// followed inside it, damaged files and missing pages shown as an error page, a missing file
// reported with its path.
#include "app/htmlhelp.h"
#include "core/chmheader.h"
#include "core/fileaccess.h"
#include "core/inifile.h"
#include "platform/chmfile.h"
#include "widgets/helpviewer.h"
#include "widgets/helpwindow.h"

#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>
#include <sys/stat.h>

using namespace vendle;

class HelpTest : public QObject {
    Q_OBJECT

    QString helpFile() const { return QStringLiteral(VENDLE_HELP_FILE); }

private slots:
    void init() {
        if (!QFile::exists(helpFile()))
            QSKIP("the help file was not built (chmcmd missing)");
    }

    void theBuiltFileHoldsThePagesAndTheirStyle() {
        const auto chm = platform::ChmFile::open(helpFile().toStdString());
        QVERIFY(chm);
        const std::optional<std::string> index = chm->read("/index.htm");
        QVERIFY(index);
        QVERIFY(index->find("Vendle ヘルプ") != std::string::npos);
        const std::optional<std::string> option = chm->read("/Option.htm");
        QVERIFY(option && option->find("履歴数") != std::string::npos);
        QVERIFY(chm->read("/style.css"));
        QVERIFY(!chm->read("/nothing.htm"));
        QVERIFY(!chm->read(""));

        // Every page's links and pictures are inside the file, and every picture is one.
        int pictures = 0;
        for (const char* page : {"/index.htm", "/history.htm", "/search.htm", "/open.htm", "/menu.htm",
                                 "/Option.htm", "/exclude.htm"}) {
            const std::optional<std::string> html = chm->read(page);
            QVERIFY2(html, page);
            static const QRegularExpression reference(QStringLiteral("(href|src)=\"([^\"#:]+)"));
            for (const auto& match : reference.globalMatch(QString::fromStdString(*html))) {
                const std::optional<std::string> target = chm->read("/" + match.captured(2).toStdString());
                QVERIFY2(target, qPrintable(QString::fromLatin1(page) + " → " + match.captured(2)));
                if (match.captured(1) == QLatin1String("src")) {
                    ++pictures;
                    QVERIFY2(!QImage::fromData(QByteArray::fromStdString(*target)).isNull(),
                             qPrintable(match.captured(2)));
                }
            }
        }
        QVERIFY(pictures >= 4); // the main window, the settings, the document menu, the About box
    }

    void damagedFilesGiveNoPagesAndNoCrash() {
        QTemporaryDir dir;
        QFile in(helpFile());
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray whole = in.readAll();
        for (const qsizetype keep : {qsizetype(0), qsizetype(100), whole.size() / 3, whole.size() - 200}) {
            const QString path = dir.filePath(QStringLiteral("cut%1.chm").arg(keep));
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(whole.left(keep));
            out.close();
            widgets::HelpBrowser browser;
            browser.openFile(path.toStdString());
            browser.showPage(QStringLiteral("index.htm")); // whatever remains, it must not crash
            QTRY_VERIFY(!browser.isLoading());
            QVERIFY(browser.toPlainText().contains(QStringLiteral("ページを表示できません")));
        }
        QByteArray junk = whole;
        for (qsizetype i = 0x60; i < junk.size(); i += 7)
            junk[i] = static_cast<char>(junk[i] ^ 0x5A);
        const QString path = dir.filePath(QStringLiteral("junk.chm"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(junk);
        out.close();
        widgets::HelpBrowser browser;
        browser.openFile(path.toStdString());
        browser.showPage(QStringLiteral("index.htm"));
        QTRY_VERIFY(!browser.isLoading());
        QVERIFY(!browser.toPlainText().isEmpty());
    }

    void aHeaderThatDeclaresHugeSizesIsRefusedBeforeReading() {
        // Found by fuzzing: a directory block of 4 GB made the reader try to allocate it.
        QVERIFY(!platform::ChmFile::open(VENDLE_FUZZ_CORPUS "/chm/huge-block"));
        // Also found by fuzzing: headers that made the reader divide by zero. The file is read
        // once in a child process first; the program never sees the fault.
        QVERIFY(!platform::ChmFile::open(VENDLE_FUZZ_CORPUS "/chm/divide-by-zero"));
        QVERIFY(platform::ChmFile::open(helpFile().toStdString()));
        QFile in(helpFile());
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray whole = in.readAll();
        const std::string_view bytes(whole.constData(), static_cast<std::size_t>(whole.size()));
        QVERIFY(plausibleChmHeader(bytes));
        QVERIFY(!plausibleChmHeader(bytes.substr(0, 0x50)));
        std::string bigBlock(bytes);
        const auto dir =
            static_cast<unsigned char>(bigBlock[0x48]) | static_cast<unsigned char>(bigBlock[0x49]) << 8;
        bigBlock[static_cast<std::size_t>(dir) + 0x13] = '\x7f'; // a block length of about 2 GB
        QVERIFY(!plausibleChmHeader(bigBlock));
    }

    void theHelpWindowShowsPagesAndFollowsLinks() {
        app::THtmlHelp help(helpFile().toStdString());
        QCOMPARE(help.address("index.htm"), helpFile().toStdString() + "::/index.htm");
        QVERIFY(help.ShowTopic("index.htm", 0) != 0);
        QVERIFY(help.window()->isVisible());
        auto* browser = help.window()->findChild<widgets::HelpBrowser*>();
        QVERIFY(browser);
        // The file is checked in the background: the window says so and shows the page after.
        QVERIFY(browser->isLoading());
        QVERIFY(browser->toPlainText().contains(QStringLiteral("読み込んでいます")));
        QCOMPARE(help.window()->windowTitle(), QStringLiteral("Vendle ヘルプ - 読み込み中"));
        QTRY_VERIFY(browser->toPlainText().contains(QStringLiteral("使ったファイルの長い履歴")));
        QCOMPARE(browser->documentTitle(), QStringLiteral("Vendle ヘルプ"));
        QCOMPARE(help.window()->windowTitle(), QStringLiteral("Vendle ヘルプ")); // not said twice
        emit browser->anchorClicked(QUrl(QStringLiteral("history.htm")));
        QCOMPARE(browser->source().path(), QStringLiteral("/history.htm"));
        QVERIFY(browser->toPlainText().contains(QStringLiteral("履歴がたまるしくみ")));
        QCOMPARE(help.window()->windowTitle(), QStringLiteral("Vendle ヘルプ - ") + browser->documentTitle());
        QVERIFY(!browser->documentTitle().isEmpty());
        help.ShowTopic("Option.htm", 0);
        QVERIFY(browser->toPlainText().contains(QStringLiteral("履歴数")));

        // The table of contents from the file, with the page shown marked; back, forward and the
        // first page on the tool bar; Esc closes.
        widgets::HelpWindow& window = *help.window();
        QTreeWidget& contents = window.contents();
        QCOMPARE(contents.topLevelItemCount(), 8); // the Japanese pages and the English summary
        QCOMPARE(contents.topLevelItem(0)->text(0), QStringLiteral("Vendle ヘルプ"));
        QCOMPARE(contents.currentItem()->text(0), QStringLiteral("設定"));
        // Every entry shows whole: the contents are as wide as the longest one needs.
        for (int i = 0; i < contents.topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = contents.topLevelItem(i);
            QVERIFY2(contents.visualItemRect(item).left() +
                             contents.fontMetrics().horizontalAdvance(item->text(0)) <=
                         contents.viewport()->width(),
                     qPrintable(item->text(0)));
        }
        emit contents.itemActivated(contents.topLevelItem(2), 0);
        QCOMPARE(browser->source().path(), QStringLiteral("/search.htm"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Vendle ヘルプ - 検索と三つのフィルタ"));
        QVERIFY(window.backAction().isEnabled());
        QVERIFY(!window.forwardAction().isEnabled());
        window.backAction().trigger();
        QCOMPARE(browser->source().path(), QStringLiteral("/Option.htm"));
        QCOMPARE(contents.currentItem()->text(0), QStringLiteral("設定"));
        QVERIFY(window.forwardAction().isEnabled());
        window.homeAction().trigger();
        QCOMPARE(browser->source().path(), QStringLiteral("/index.htm"));
        help.ShowTopic("missing.htm", 0);
        QVERIFY(browser->toPlainText().contains(QStringLiteral("ページを表示できません")));
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    void helpFromAModalDialogIsAWindowOfItsOwnWhileTheDialogIsOpen() {
        app::THtmlHelp help(helpFile().toStdString());
        auto dialog = std::make_unique<QDialog>();
        QWidget* parentWhileOpen = nullptr;
        QTimer::singleShot(0, dialog.get(), [&] {
            help.ShowTopic("Option.htm", 0);
            parentWhileOpen = help.window()->parentWidget(); // a modal dialog blocks all but its own
            dialog->accept();
        });
        dialog->exec();
        QCOMPARE(parentWhileOpen, dialog.get());
        QVERIFY(!help.window()->parentWidget()); // its own again once the dialog closed
        QVERIFY(help.window()->isVisible());
        // A dialog that goes while the help window is its own takes it along, once.
        dialog->setModal(true);
        dialog->show();
        help.ShowTopic("index.htm", 0);
        QCOMPARE(help.window()->parentWidget(), dialog.get());
        dialog.reset();
        QVERIFY(!help.window());
        QVERIFY(help.ShowTopic("index.htm", 0) != 0);
    }

    void theHelpWindowOpensWhereItWasLeft() {
        MemIniFile settings;
        {
            app::THtmlHelp help(helpFile().toStdString(), &settings);
            help.ShowTopic("index.htm", 0);
            const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
            QVERIFY(area.contains(help.window()->geometry())); // first in the middle of the screen
            help.window()->setGeometry(QRect(area.topLeft() + QPoint(40, 60), QSize(300, 200)));
            help.storeBounds();
        }
        app::THtmlHelp again(helpFile().toStdString(), &settings);
        again.ShowTopic("index.htm", 0);
        QCOMPARE(again.window()->size(), QSize(300, 200));
    }

    void aMissingFileIsReportedWithItsPath() {
        app::THtmlHelp help("/nowhere/vendle.chm");
        try {
            help.ShowTopic("index.htm", 0);
            QFAIL("no error");
        } catch (const IoError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("/nowhere/vendle.chmは見つかりません。"));
        }
        QVERIFY(!help.window());
        // Something that is there but is no file is said to be so.
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("vendle.chm"));
        QCOMPARE(::mkfifo(fifo.toUtf8().constData(), 0600), 0);
        app::THtmlHelp pipe(fifo.toStdString());
        try {
            pipe.ShowTopic("index.htm", 0);
            QFAIL("no error");
        } catch (const IoError& e) {
            QCOMPARE(QString::fromUtf8(e.what()), fifo + QStringLiteral("は通常のファイルではありません。"));
        }
    }
};

QTEST_MAIN(HelpTest)
#include "test_help.moc"
