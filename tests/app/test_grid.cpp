// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/documentactions.h"
#include "app/documentmenu.h"
#include "app/historygrid.h"
#include "app/historymodel.h"
#include "app/mainwindow.h"
#include "app/program.h"
#include "app/recentwatch.h"
#include "app/toppanel.h"
#include "appfiles.h"
#include "core/celltext.h"
#include "fakeparts.h"
#include "platform/shellinfo.h"
#include "sessionprobe.h"
#include "widgets/contextmenu.h"
#include "widgets/faketray.h"
#include "widgets/localeformat.h"
#include "widgets/messagebox.h"
#include "widgets/verinfo.h"
#include "windowprobe.h"

#include <QAbstractItemModelTester>
#include <QActionGroup>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <random>

using namespace vendle;
using namespace vendle::app;
using vendle::test::FakeTray;
using vendle::test::parts;
using vendle::test::TrayLog;
using vendle::test::writeFile;
using vendle::widgets::MessageBox;

namespace {

QMenu* submenu(QWidget* window, const QString& top, const QString& sub) {
    for (QAction* a : window->findChild<QMenuBar*>()->actions()) {
        if (a->text() == top && a->menu()) {
            for (QAction* s : a->menu()->actions()) {
                if (s->text() == sub)
                    return s->menu();
            }
        }
    }
    return nullptr;
}

QStringList captions(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        out << a->text();
    return out;
}

} // namespace

class GridTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    TrayLog log_;
    std::unique_ptr<Program> program_;
    TVendleMainForm* form_ = nullptr;
    AppPaths paths_;

    QString path(const QString& name) const { return dir_->filePath(name); }

private slots:
    void init() {
        MessageBox::setTestMode(true);
        dir_ = std::make_unique<QTemporaryDir>();
        const auto fmt = widgets::dateTimeFormatFromLocale(QLocale::system());
        writeFile(path(QStringLiteral("vendle.ini")), test::knownUser());
        QByteArray dat;
        const char* docs[] = {"Work/report.txt", "Work/R&D plan.odt", "Home/Report.odt", "x/Work/notes.txt",
                              "Home/list.txt"};
        int minute = 0;
        for (const char* doc : docs) {
            const QString p = path(QStringLiteral("docs/") + QString::fromUtf8(doc));
            writeFile(p, "x");
            const DateTime when = encodeDate(2026, 12, 1) + encodeTime(10, minute++, 0, 0);
            dat += p.toUtf8() + "\t" + QByteArray::fromStdString(DateTimeToStr(when, fmt)) + "\r\n";
        }
        writeFile(path(QStringLiteral("vendle.dat")), dat);
        paths_.executable = path(QStringLiteral("vendle")).toStdString();
        paths_.iniFile = path(QStringLiteral("vendle.ini")).toStdString();
        paths_.dataFile = path(QStringLiteral("vendle.dat")).toStdString();
        paths_.startupFolder = path(QStringLiteral("autostart")).toStdString();
        paths_.dataHome = path(QStringLiteral("data")).toStdString();
        startProgram();
    }

    void startProgram() {
        program_ = std::make_unique<Program>(paths_, [this] { return std::make_unique<FakeTray>(log_); });
        program_->start();
        form_ = &program_->window();
    }

    void cleanup() {
        form_ = nullptr;
        program_.reset();
        MessageBox::setTestMode(false);
    }

    void theHighlightedBlockStaysWhenTheCheckRemovesRowsAboveIt() {
        // Twelve documents, the newest first; the four newest were deleted before the start.
        program_.reset();
        QByteArray dat;
        for (int i = 0; i < 12; ++i) {
            const QString doc = path(QStringLiteral("docs/c%1.txt").arg(i));
            if (i < 8)
                writeFile(doc, "x");
            dat += doc.toUtf8() + "\t2026/12/01 10:" + QByteArray::number(10 + i) + ":00\r\n";
        }
        writeFile(path(QStringLiteral("vendle.dat")), dat);
        startProgram();
        QVERIFY(program_->session().checking());
        QCOMPARE(form_->Items().ViewCount(), 12); // shown before the disk is asked
        auto* grid = parts(*form_).Grid;
        grid->setCurrentIndex(grid->model()->index(6, ColumnName)); // c5
        grid->selectionModel()->select(
            QItemSelection(grid->model()->index(5, ColumnName), grid->model()->index(7, ColumnTime)),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QSignalSpy settled(&program_->session(), &HistorySession::presenceSettled);
        QVERIFY(settled.wait(10000));
        QCOMPARE(settled.at(0).at(0).toInt(), 4);
        QCOMPARE(form_->Items().ViewCount(), 8);
        QCOMPARE(grid->currentIndex().row(), 2);
        QCOMPARE(form_->Items().ViewItem(2).Path, path(QStringLiteral("docs/c5.txt")).toStdString());
        const QItemSelection block = grid->selectionModel()->selection();
        QCOMPARE(block.size(), 1);
        QCOMPARE(block.front().top(), 1);
        QCOMPARE(block.front().bottom(), 3);
    }

    void keysMoveBetweenSearchAndGrid() {
        form_->ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_));
        parts(*form_).Edit1->setFocus();
        QTest::keyClicks(parts(*form_).Edit1, QStringLiteral("txt"));
        QCOMPARE(form_->Items().ViewCount(), 3);
        QTest::keyClick(parts(*form_).Edit1, Qt::Key_Down);
        QTRY_VERIFY(parts(*form_).Grid->hasFocus());
        QTest::keyClick(parts(*form_).Grid, Qt::Key_Down);
        QCOMPARE(parts(*form_).Grid->currentIndex().row(), 1);
        QTest::keyClick(parts(*form_).Grid, Qt::Key_Up);
        QVERIFY(parts(*form_).Grid->hasFocus()); // row 2 to row 1 stays in the grid
        QTest::keyClick(parts(*form_).Grid, Qt::Key_Up);
        QTRY_VERIFY(parts(*form_).Edit1->hasFocus());
        // Esc from anywhere: the search is cleared and has the focus.
        parts(*form_).Grid->setFocus();
        QTest::keyClick(parts(*form_).Grid, Qt::Key_Escape);
        QTRY_VERIFY(parts(*form_).Edit1->hasFocus());
        QVERIFY(parts(*form_).Edit1->text().isEmpty());
        QCOMPARE(form_->Items().ViewCount(), 5);
        // Enter on a missing document's row tries to open it and reports why it could not.
        QFile::remove(QString::fromStdString(std::string(form_->Items().ViewItem(0).Path)));
        parts(*form_).Grid->setFocus();
        parts(*form_).Grid->setCurrentIndex(parts(*form_).Grid->model()->index(0, ColumnName));
        QTest::keyClick(parts(*form_).Grid, Qt::Key_Return);
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(MessageBox::shownTexts()[0].endsWith(
            QStringLiteral("ファイル名:") +
            QString::fromStdString(std::string(form_->Items().ViewItem(0).Path))));
    }

    void onlyNameAndFolderCellsBecomeCurrent() {
        form_->resize(700, 400);
        form_->ShowMainWindow();
        QTableView* grid = parts(*form_).Grid;
        const auto centre = [&](int row, int column) {
            return grid->visualRect(grid->model()->index(row, column)).center();
        };
        grid->setCurrentIndex(grid->model()->index(1, ColumnName));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(3, ColumnType));
        QCOMPARE(grid->currentIndex(), grid->model()->index(1, ColumnName)); // refused
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(2, ColumnFolder));
        QCOMPARE(grid->currentIndex(), grid->model()->index(2, ColumnFolder));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Right); // to the type column: refused
        QCOMPARE(grid->currentIndex().column(), int(ColumnFolder));
        QTest::keyClick(grid, Qt::Key_Left);
        QCOMPARE(grid->currentIndex().column(), int(ColumnName));
        QTest::keyClick(grid, Qt::Key_Left); // the row numbers: refused
        QCOMPARE(grid->currentIndex().column(), int(ColumnName));
        // A double click on a refused column: the row moves, the column stays, and it opens.
        QFile::remove(
            QString::fromStdString(std::string(form_->Items().ViewItem(4).Path))); // nothing really launches
        QSignalSpy opened(grid, &QAbstractItemView::doubleClicked);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre(4, ColumnTime));
        QCOMPARE(grid->currentIndex(), grid->model()->index(4, ColumnName));
        QCOMPARE(opened.count(), 1);
        QVERIFY(MessageBox::shownTexts().last().endsWith(
            QString::fromStdString(std::string(form_->Items().ViewItem(4).Path))));
    }

    void theTopPanelNeverClipsItsTextAtAnyFontSize() {
        auto* panel = form_->findChild<TopPanel*>();
        QVERIFY(panel);
        form_->resize(500, 300);
        for (int pixels = 9; pixels <= 24; ++pixels) {
            QFont f = panel->font();
            f.setPixelSize(pixels);
            panel->setFont(f);
            const int line = QFontMetrics(f).height();
            QVERIFY2(panel->Label2->height() >= line, qPrintable(QString::number(pixels)));
            QVERIFY2(panel->Label1->height() >= line, qPrintable(QString::number(pixels)));
            QVERIFY2(panel->Label2->geometry().bottom() < panel->Edit1->geometry().top(),
                     qPrintable(QString::number(pixels)));
            QVERIFY2(panel->Label1->geometry().bottom() < panel->Edit1->geometry().top(),
                     qPrintable(QString::number(pixels)));
            QVERIFY2(panel->Edit1->geometry().bottom() < panel->height(),
                     qPrintable(QString::number(pixels)));
            QVERIFY2(panel->Edit1->height() >= panel->Edit1->sizeHint().height(),
                     qPrintable(QString::number(pixels)));
        }
    }

    void theNameColumnTakesTheRoomAndTimesAreNeverCut() {
        form_->ShowMainWindow();
        HistoryGridView* grid = parts(*form_).Grid;
        const auto total = [&] {
            int sum = 0;
            for (int c = 0; c < kColumnCount; ++c)
                sum += grid->columnWidth(c);
            return sum;
        };
        form_->resize(1200, 500);
        QTRY_COMPARE(total(), grid->viewport()->width()); // no empty band at the right
        const int wide = grid->columnWidth(ColumnName);
        form_->resize(500, 300);
        QTRY_VERIFY(grid->columnWidth(ColumnName) < wide); // given back when the window narrows
        // What is stored is the width the column was given, not the one that fills the window.
        form_->resize(1200, 500);
        QTRY_COMPARE(grid->columnWidth(ColumnName), wide);
        int stored = -1;
        grid->withGivenWidths([&] { stored = grid->columnWidth(ColumnName); });
        QVERIFY(stored < wide);
        QCOMPARE(grid->columnWidth(ColumnName), wide);
        const QString time = grid->model()->index(0, ColumnTime).data().toString();
        QVERIFY(grid->columnWidth(ColumnTime) >= grid->fontMetrics().horizontalAdvance(time));
    }

    void rowNumbersStayAtTheLeftEdge() {
        form_->resize(300, 160);
        form_->ShowMainWindow();
        HistoryGridView* grid = parts(*form_).Grid;
        QTableView* fixed = grid->fixedColumn();
        QVERIFY(fixed->isVisible());
        grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
        QVERIFY(grid->horizontalScrollBar()->value() > 0);
        QCOMPARE(fixed->geometry().left(), grid->frameWidth());
        QCOMPARE(fixed->width(), grid->columnWidth(ColumnNumber));
        QCOMPARE(fixed->model()->index(2, ColumnNumber).data().toString(), QStringLiteral("3"));
        grid->verticalScrollBar()->setValue(2);
        QCOMPARE(fixed->verticalScrollBar()->value(), 2);
        // A click on a row number never makes it current.
        const QModelIndex before = grid->currentIndex();
        QTest::mouseClick(fixed->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(grid->currentIndex(), before);
    }

    void rightClickOffersTheSelectedDocuments() {
        form_->resize(700, 400);
        form_->ShowMainWindow();
        std::vector<std::string> offered;
        parts(*form_).documents->documentMenu->contextMenu().setTracker(
            [&](const std::vector<MenuItem>&, const QPoint&) {
                offered = parts(*form_).documents->documentMenu->contextMenu().FileNames;
                return 0; // dismissed
            });
        QItemSelectionModel* selection = parts(*form_).Grid->selectionModel();
        parts(*form_).Grid->setCurrentIndex(parts(*form_).Grid->model()->index(0, ColumnName));
        selection->select(QItemSelection(parts(*form_).Grid->model()->index(0, ColumnName),
                                         parts(*form_).Grid->model()->index(2, ColumnFolder)),
                          QItemSelectionModel::ClearAndSelect);
        const auto rowCentre = [&](int row, int column) {
            return parts(*form_).Grid->visualRect(parts(*form_).Grid->model()->index(row, column)).center();
        };
        parts(*form_).documents->documentMenu->GridRightClick(rowCentre(1, ColumnType));
        QCOMPARE(offered.size(), std::size_t(3));
        QCOMPARE(offered[0], form_->Items().ViewItem(0).Path);
        QCOMPARE(offered[2], form_->Items().ViewItem(2).Path);
        QCOMPARE(parts(*form_).Grid->currentIndex().row(), 0); // inside the selection: nothing moves
        // Outside the selection the clicked row becomes current and is the only document.
        parts(*form_).documents->documentMenu->GridRightClick(rowCentre(4, ColumnFolder));
        QCOMPARE(offered, std::vector<std::string>{std::string(form_->Items().ViewItem(4).Path)});
        QCOMPARE(parts(*form_).Grid->currentIndex().row(), 4);
        QCOMPARE(parts(*form_).Grid->currentIndex().column(), int(ColumnFolder));
        QCOMPARE(form_->session().settings().ReadInteger("VendleMainForm", "ContextMenuCount", 0), 2);
        // Below the last row: no menu, no count.
        offered.clear();
        parts(*form_).documents->documentMenu->GridRightClick(
            QPoint(10, parts(*form_).Grid->viewport()->height() - 2));
        QVERIFY(offered.empty());
        QCOMPARE(form_->session().settings().ReadInteger("VendleMainForm", "ContextMenuCount", 0), 2);
    }

    void theDesktopsKeysReachTheDocumentsAndTheProgram() {
        form_->resize(700, 400);
        form_->ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_));
        QVERIFY(parts(*form_).Edit1->hasFocus()); // brought forward with the keyboard in the search box
        DocumentMenu& menu = *parts(*form_).documents->documentMenu;
        std::vector<std::string> offered;
        int menus = 0;
        menu.contextMenu().setTracker([&](const std::vector<MenuItem>&, const QPoint&) {
            offered = menu.contextMenu().FileNames;
            ++menus;
            return 0;
        });
        HistoryGridView* grid = parts(*form_).Grid;
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(3, ColumnName));
        QTest::keyClick(grid, Qt::Key_Menu);
        QCOMPARE(offered, std::vector<std::string>{std::string(form_->Items().ViewItem(3).Path)});
        grid->selectionModel()->select(
            QItemSelection(grid->model()->index(1, ColumnName), grid->model()->index(3, ColumnFolder)),
            QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(grid, Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(menus, 2);
        QCOMPARE(offered.size(), std::size_t(3));
        // Ctrl+C: the highlighted documents that exist, as files and as text.
        QFile::remove(QString::fromStdString(std::string(form_->Items().ViewItem(2).Path)));
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied);
        const QString first = QString::fromStdString(std::string(form_->Items().ViewItem(1).Path));
        const QString third = QString::fromStdString(std::string(form_->Items().ViewItem(3).Path));
        QCOMPARE(copied->urls(), (QList<QUrl>{QUrl::fromLocalFile(first), QUrl::fromLocalFile(third)}));
        QCOMPARE(copied->text(), first + QLatin1Char('\n') + third);
        // The menu's own "履歴から削除": every highlighted document leaves the history, the one whose
        // file is gone too; the files stay.
        const int before = form_->Items().ItemCount();
        menu.contextMenu().setTracker([&](const std::vector<MenuItem>& items, const QPoint&) {
            for (const MenuItem& item : items) {
                if (item.caption.starts_with("履歴から削除"))
                    return item.id;
            }
            return 0;
        });
        QTest::keyClick(grid, Qt::Key_Menu);
        QCOMPARE(form_->Items().ItemCount(), before - 3);
        QVERIFY(QFile::exists(first) && QFile::exists(third));
        QCOMPARE(form_->Items().indexOfPath(first.toStdString()), -1);
        // F1 asks for help, Ctrl+Q for the end, from the grid as from anywhere in the window.
        QSignalSpy help(form_, &TVendleMainForm::helpRequested);
        QSignalSpy exit(form_, &TVendleMainForm::exitRequested);
        QTest::keyClick(grid, Qt::Key_F1);
        QTest::keyClick(grid, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(help.count(), 1);
        QCOMPARE(exit.count(), 1);
    }

    void everyCommandTakesExactlyTheHighlightedRows() {
        form_->resize(700, 400);
        form_->ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_));
        HistoryGridView* grid = parts(*form_).Grid;
        std::vector<std::string> offered;
        parts(*form_).documents->documentMenu->contextMenu().setTracker(
            [&](const std::vector<MenuItem>&, const QPoint&) {
                offered = parts(*form_).documents->documentMenu->contextMenu().FileNames;
                return 0;
            });
        const auto at = [&](int row, int column) {
            return grid->visualRect(grid->model()->index(row, column)).center();
        };
        const auto pathOf = [&](int row) { return std::string(form_->Items().ViewItem(row).Path); };
        const auto rows = [&] { return parts(*form_).documents->documentMenu->highlightedRows(); };

        // Ctrl+click starts a new block: no gapped selection can be made.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at(0, ColumnName));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, at(4, ColumnName));
        QCOMPARE(rows(), std::vector<int>{4});
        parts(*form_).documents->documentMenu->GridRightClick(at(4, ColumnName));
        QCOMPARE(offered, std::vector<std::string>{pathOf(4)});
        // Shift+click and Shift+arrows make a block; the menu takes exactly it.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(2, ColumnName));
        QCOMPARE(rows(), (std::vector<int>{2, 3, 4}));
        QTest::keyClick(grid, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(rows(), (std::vector<int>{1, 2, 3, 4}));
        parts(*form_).documents->documentMenu->GridRightClick(at(3, ColumnType));
        QCOMPARE(offered, (std::vector<std::string>{pathOf(1), pathOf(2), pathOf(3), pathOf(4)}));

        // A real right press inside the block moves nothing, and no press makes a type or time
        // cell current.
        const QModelIndex current = grid->currentIndex();
        QTest::mousePress(grid->viewport(), Qt::RightButton, {}, at(3, ColumnType));
        QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, at(3, ColumnType));
        QCOMPARE(grid->currentIndex(), current);
        QCOMPARE(rows(), (std::vector<int>{1, 2, 3, 4}));
        QTest::mouseClick(grid->viewport(), Qt::MiddleButton, {}, at(0, ColumnTime));
        QCOMPARE(grid->currentIndex(), current);

        // Documents that are gone get no menu; the others keep theirs. Only gone ones: said so.
        QVERIFY(QFile::remove(QString::fromStdString(pathOf(2))));
        parts(*form_).documents->documentMenu->GridRightClick(at(3, ColumnName));
        QCOMPARE(offered, (std::vector<std::string>{pathOf(1), pathOf(3), pathOf(4)}));
        offered.clear();
        MessageBox::clearShownTexts();
        parts(*form_).documents->documentMenu->GridRightClick(
            at(2, ColumnName)); // inside the block: still all four
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at(2, ColumnName));
        parts(*form_).documents->documentMenu->GridRightClick(at(2, ColumnName));
        QCOMPARE(offered, (std::vector<std::string>{pathOf(1), pathOf(3), pathOf(4)}));
        QCOMPARE(MessageBox::shownTexts(), QStringList{QStringLiteral("次のファイルは見つかりません。\n") +
                                                       QString::fromStdString(pathOf(2))});
    }

    void importsKeepTheCurrentAndHighlightedDocumentsWhereverTheyNowStand() {
        form_->resize(700, 400);
        form_->ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_));
        HistoryGridView* grid = parts(*form_).Grid;
        const auto at = [&](int row, int column) {
            return grid->visualRect(grid->model()->index(row, column)).center();
        };
        const auto pathOf = [&](int row) { return std::string(form_->Items().ViewItem(row).Path); };
        std::int64_t stamp = QDateTime::currentSecsSinceEpoch() + 11;
        const auto record = [&](const QString& doc) {
            writeFile(doc, "x");
            const QString link = path(QStringLiteral("data/RecentDocuments/%1.desktop").arg(stamp));
            writeFile(link, "[Desktop Entry]\nType=Link\nURL=file://" + doc.toUtf8() + "\n");
            QFile f(link);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::fromSecsSinceEpoch(stamp++), QFileDevice::FileModificationTime));
        };
        QDir().mkpath(path(QStringLiteral("data/RecentDocuments")));
        program_->watch().request(); // the folder of links now exists

        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at(2, ColumnName));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, at(3, ColumnName));
        const std::string current = pathOf(3);
        const std::string other = pathOf(2);
        record(path(QStringLiteral("docs/new.txt")));
        program_->watch().request();
        QCOMPARE(form_->Items().ViewCount(), 6);
        QCOMPARE(pathOf(0), path(QStringLiteral("docs/new.txt")).toStdString());
        QCOMPARE(grid->currentIndex().row(), 4);
        QCOMPARE(pathOf(4), current);
        QCOMPARE(parts(*form_).documents->documentMenu->highlightedRows(), (std::vector<int>{3, 4}));
        QCOMPARE(pathOf(3), other);

        // A look that finds nothing new leaves the view alone.
        QSignalSpy resets(grid->model(), &QAbstractItemModel::modelAboutToBeReset);
        program_->watch().request();
        QCOMPARE(resets.count(), 0);

        // Enter opens the document that was current before the import.
        QVERIFY(QFile::remove(QString::fromStdString(current)));
        MessageBox::clearShownTexts();
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(MessageBox::shownTexts()[0].endsWith(QStringLiteral("\nファイル名:") +
                                                     QString::fromStdString(current)));

        // The look that follows an activation waits for the click that activated the window and a
        // double click: the first double click into an inactive window opens what was clicked. A
        // double-click time longer than any test keeps even a stalled machine within it; the look
        // is then asked for by hand.
        const int usualInterval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(600'000);
        const auto restoreInterval =
            qScopeGuard([&] { QGuiApplication::styleHints()->setMouseDoubleClickInterval(usualInterval); });
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
        record(path(QStringLiteral("docs/newer.txt")));
        const std::string clicked = pathOf(1); // as the user sees it before the click
        QVERIFY(QFile::remove(QString::fromStdString(clicked)));
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_));
        MessageBox::clearShownTexts();
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at(1, ColumnName));
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(MessageBox::shownTexts()[0].endsWith(QString::fromStdString(clicked)));
        program_->watch().request();
        QTRY_COMPARE(form_->Items().ViewCount(), 7);
        QCOMPARE(pathOf(grid->currentIndex().row()), clicked);
    }

    // Whatever a look at the desktop's record, a rebuild of the view or the kana switch does to a
    // multi-row selection, the grid shows one block that holds the current cell, and the commands
    // take exactly its documents. A view at its top stays there, and the row numbers follow.
    void rebuildsNeverSplitTheHighlightedBlock() {
        form_->resize(700, 260);
        form_->ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_));
        HistoryGridView* grid = parts(*form_).Grid;
        QItemSelectionModel* selection = grid->selectionModel();
        std::int64_t stamp = QDateTime::currentSecsSinceEpoch() + 11;
        const QString links = path(QStringLiteral("data/RecentDocuments"));
        QVERIFY(QDir().mkpath(links));
        program_->watch().request();
        const auto record = [&](const QString& doc) {
            writeFile(doc, "x");
            const QString link = links + QStringLiteral("/%1.desktop").arg(stamp);
            writeFile(link, "[Desktop Entry]\nType=Link\nURL=file://" + doc.toUtf8() + "\n");
            QFile f(link);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(QDateTime::fromSecsSinceEpoch(stamp++), QFileDevice::FileModificationTime));
        };
        for (int i = 0; i < 22; ++i)
            record(path(QStringLiteral("docs/more/ファイル%1.txt").arg(i)));
        program_->watch().request();
        QCOMPARE(form_->Items().ViewCount(), 27);

        // A new arrival at the top of a view that stood at the top is seen, row numbers included.
        grid->setCurrentIndex(grid->model()->index(0, ColumnName));
        record(path(QStringLiteral("docs/arrival.txt")));
        program_->watch().request();
        QCOMPARE(grid->verticalScrollBar()->value(), 0);
        QCOMPARE(grid->rowAt(0), 0);
        QCOMPARE(grid->currentIndex().row(), 1);
        grid->scrollToBottom();
        QTRY_COMPARE(grid->fixedColumn()->rowAt(0), grid->rowAt(0));

        std::mt19937 random(QRandomGenerator::global()->generate());
        const auto pick = [&](int below) { return int(random() % unsigned(below)); };
        for (int step = 0; step < 60; ++step) {
            const int count = form_->Items().ViewCount();
            const int a = pick(count);
            const int b = std::min(count - 1, a + 1 + pick(4));
            const int currentRow = pick(2) != 0 ? b : a;
            selection->select(
                QItemSelection(grid->model()->index(a, ColumnName), grid->model()->index(b, ColumnFolder)),
                QItemSelectionModel::ClearAndSelect);
            selection->setCurrentIndex(grid->model()->index(currentRow, ColumnName),
                                       QItemSelectionModel::NoUpdate);
            grid->scrollTo(grid->currentIndex());
            const std::string current = std::string(form_->Items().ViewItem(currentRow).Path);
            switch (pick(4)) {
            case 0: // a highlighted document used again: it moves to the top
                record(
                    QString::fromStdString(std::string(form_->Items().ViewItem(a + pick(b - a + 1)).Path)));
                program_->watch().request();
                break;
            case 1:
                record(path(QStringLiteral("docs/new%1.txt").arg(step)));
                program_->watch().request();
                break;
            case 2:
                form_->refreshView();
                break;
            default:
                form_->session().setFoldKana(!form_->session().foldKana());
                break;
            }
            const QItemSelection now = selection->selection();
            QVERIFY2(now.size() == 1,
                     qPrintable(QStringLiteral("step %1: %2 blocks").arg(step).arg(now.size())));
            const QModelIndex cell = grid->currentIndex();
            QVERIFY(now.contains(cell));
            QCOMPARE(form_->Items().ViewItem(cell.row()).Path, current);
            QStringList expected;
            for (int row = now.first().top(); row <= now.first().bottom(); ++row)
                expected << QUrl::fromLocalFile(
                                QString::fromStdString(std::string(form_->Items().ViewItem(row).Path)))
                                .toString();
            parts(*form_).documents->documentMenu->copyHighlighted();
            QStringList copied;
            for (const QUrl& url : QGuiApplication::clipboard()->mimeData()->urls())
                copied << url.toString();
            QCOMPARE(copied, expected);
        }
    }

    // Delete and the trash are taken back with Ctrl+Z and the count line's link: forgotten documents
    // with their own times, trashed files to where they were (the real trash, in a private folder).
    void forgettingAndTheTrashAreUndone() {
        form_->ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_));
        HistoryGridView* grid = parts(*form_).Grid;
        const auto pathOf = [&](int row) { return std::string(form_->Items().ViewItem(row).Path); };
        grid->selectionModel()->select(
            QItemSelection(grid->model()->index(1, ColumnName), grid->model()->index(2, ColumnName)),
            QItemSelectionModel::ClearAndSelect);
        grid->selectionModel()->setCurrentIndex(grid->model()->index(2, ColumnName),
                                                QItemSelectionModel::NoUpdate);
        const std::vector<std::pair<std::string, DateTime>> gone{
            {pathOf(1), form_->Items().ViewItem(1).LastUsed},
            {pathOf(2), form_->Items().ViewItem(2).LastUsed}};
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(form_->Items().ItemCount(), 3);
        QVERIFY(parts(*form_).Done->isVisibleTo(form_));
        QVERIFY(parts(*form_).Done->text().startsWith(QStringLiteral("2個のファイルを履歴から削除しました")));
        QVERIFY(parts(*form_).Done->text().contains(QStringLiteral(">元に戻す</a>")));
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form_->Items().ItemCount(), 5);
        for (const auto& [path, when] : gone) {
            const int index = form_->Items().indexOfPath(path);
            QVERIFY(index >= 0);
            QCOMPARE(form_->Items().Item(index).LastUsed, when);
        }
        QCOMPARE(form_->Items().ViewItem(1).Path, gone[0].first); // in their places again
        QVERIFY(!parts(*form_).Done->isVisibleTo(form_));
        form_->session().storeSettings(); // no longer forgotten
        QVERIFY(!form_->session().settings().ValueExists("Forgotten", "1"));

        parts(*form_).documents->documentMenu->contextMenu().setTracker(
            [](const std::vector<MenuItem>& menu, const QPoint&) {
                for (const MenuItem& item : menu) {
                    if (item.caption == "ゴミ箱へ移動(&D)")
                        return item.id;
                }
                return 0;
            });
        grid->setCurrentIndex(grid->model()->index(0, ColumnName));
        const QString doc = QString::fromStdString(pathOf(0));
        parts(*form_).documents->documentMenu->GridRightClick(
            grid->visualRect(grid->currentIndex()).center());
        QVERIFY(!QFile::exists(doc));
        QCOMPARE(form_->Items().ItemCount(), 5); // the document stays in the history
        QVERIFY(parts(*form_).Done->text().startsWith(QStringLiteral("1個のファイルをゴミ箱へ移動しました")));
        emit parts(*form_).Done->linkActivated(QStringLiteral("undo"));
        QVERIFY(QFile::exists(doc));
        QVERIFY(!parts(*form_).Done->isVisibleTo(form_));
        QCOMPARE(form_->Items().ViewItem(0).Path, doc.toStdString());
    }

    // The search match stays readable on the selection and off it, in light and dark palettes.
    void theMatchKeepsItsContrastOnEveryBackground() {
        QPalette light = QApplication::palette();
        light.setColor(QPalette::Base, Qt::white);
        light.setColor(QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
        light.setColor(QPalette::HighlightedText, Qt::white);
        QPalette dark = light;
        dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::Highlight, QColor(0xa0, 0xc8, 0xff));
        dark.setColor(QPalette::HighlightedText, QColor(0xf0, 0xf0, 0xf0)); // a theme's poor choice
        for (const QPalette& palette : {light, dark}) {
            for (const bool selected : {false, true}) {
                const QColor back = palette.color(selected ? QPalette::Highlight : QPalette::Base);
                QVERIFY(contrastRatio(matchColour(palette, selected), back) >= 4.5);
            }
        }
        QCOMPARE(matchColour(light, true), QColor(Qt::black)); // white on this blue is 3.6:1
        light.setColor(QPalette::Highlight, QColor(0x1e, 0x4a, 0x7c));
        QCOMPARE(matchColour(light, true), QColor(Qt::white)); // the selection's own text colour
        QVERIFY(contrastRatio(Qt::red, Qt::white) < 4.5);      // why the match is no longer pure red
    }

    void modelIsConsistent() {
        QAbstractItemModelTester tester(parts(*form_).Grid->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        parts(*form_).Edit1->setText(QStringLiteral("report"));
        parts(*form_).Edit1->setText(QStringLiteral("nothing at all"));
        QCOMPARE(parts(*form_).Grid->model()->rowCount(), 1);
        QCOMPARE(parts(*form_).Grid->model()->index(0, 1).data().toString(), QStringLiteral("該当なし"));
        QCOMPARE(parts(*form_).Grid->model()->index(0, 0).data().toString(), QStringLiteral("1"));
    }

    void searchUpdatesTheCountAndTheCurrentCell() {
        QCOMPARE(parts(*form_).Label2->text(), QStringLiteral("5個のファイル"));
        parts(*form_).Grid->setCurrentIndex(parts(*form_).Grid->model()->index(3, 3));
        parts(*form_).Edit1->setText(QStringLiteral("REPORT"));
        QCOMPARE(parts(*form_).Label2->text(), QStringLiteral("5個のファイル中2個マッチしました。"));
        QCOMPARE(parts(*form_).Grid->currentIndex().row(), 0);
        QCOMPARE(parts(*form_).Grid->currentIndex().column(), 1);
        parts(*form_).Edit1->setText(QStringLiteral("zzz"));
        QCOMPARE(parts(*form_).Label2->text(), QStringLiteral("5個のファイル中0個マッチしました。"));
        QVERIFY(parts(*form_).Grid->isVisibleTo(form_)); // the history is not empty
        parts(*form_).Edit1->clear();
        QCOMPARE(parts(*form_).Label2->text(), QStringLiteral("5個のファイル"));
    }

    void filterMenusAreRadioGroupsWithPlainCaptions() {
        QMenu* types = submenu(form_, QStringLiteral("フィルタ(&I)"), QStringLiteral("種類(&Y)"));
        QMenu* folders = submenu(form_, QStringLiteral("フィルタ(&I)"), QStringLiteral("フォルダ(&F)"));
        QMenu* ages = submenu(form_, QStringLiteral("フィルタ(&I)"), QStringLiteral("時間(&T)"));
        QVERIFY(types && folders && ages);
        // Built as they open.
        emit types->aboutToShow();
        emit folders->aboutToShow();
        QCOMPARE(captions(ages).size(), 7);
        QCOMPARE(captions(ages)[3], QStringLiteral("おととい・昨日・今日で使ったファイル（&B)"));
        QCOMPARE(captions(folders),
                 (QStringList{QStringLiteral("（なし）"), QStringLiteral("Home"), QStringLiteral("Work")}));
        QCOMPARE(types->actions().first()->text(), QStringLiteral("（なし）"));
        QVERIFY(types->actions().first()->isChecked());
        // Each folder shows the desktop's icon of that folder, not the icon of a file of that name.
        {
            test::FakeFiles* files = nullptr;
            test::FakeRecent* recent = nullptr;
            HistorySession::Parts parts = test::fakeParts(files, recent, vendle::now);
            auto shell = std::make_unique<platform::DesktopShellInfo>();
            platform::DesktopShellInfo& names = *shell;
            parts.shell = std::move(shell);
            HistorySession session("/p/vendle.ini", "/p/vendle.dat", std::move(parts),
                                   DateTimeFormat::japanese());
            test::changeHistory(session, [&](HistoryList& items) {
                for (int i = 0; i < form_->Items().ItemCount(); ++i)
                    items.AddItem(std::string(form_->Items().Item(i).Path));
            });
            const auto folders = session.folderChoices();
            QCOMPARE(folders.size(), std::size_t(2));
            for (const auto& [folder, icon] : folders) {
                const std::vector<std::string>& iconNames = names.iconNames(icon);
                QVERIFY2(std::find(iconNames.begin(), iconNames.end(), "folder") != iconNames.end(),
                         folder.c_str());
            }
        }

        // Choosing a folder filters by its name wherever it lies, and keeps one item checked.
        QAction* work = folders->actions().last();
        work->trigger();
        QVERIFY(work->isChecked());
        QVERIFY(!folders->actions().first()->isChecked());
        QCOMPARE(parts(*form_).Label2->text(), QStringLiteral("5個のファイル中3個マッチしました。"));
        parts(*form_).Edit1->setText(QStringLiteral("notes")); // the folder filter stays in force
        QCOMPARE(form_->Items().ViewCount(), 1);
        folders->actions().first()->trigger();
        QCOMPARE(form_->Items().ViewCount(), 1);
        parts(*form_).Edit1->clear();

        // An age filter of one day hides documents of last week.
        ages->actions()[1]->trigger();
        QCOMPARE(form_->Items().ViewCount(), 0);
        ages->actions()[0]->trigger();
        QCOMPARE(form_->Items().ViewCount(), 5);
    }

    void ampersandsInNamesStayVisible() {
        // A folder or type name with "&" is shown as it is, not as a shortcut letter.
        HistoryTableModel* model = parts(*form_).Grid->historyModel();
        QVERIFY(model);
        parts(*form_).Edit1->setText(QStringLiteral("R&D"));
        QCOMPARE(form_->Items().ViewCount(), 1);
        QCOMPARE(model->cellText(model->index(0, 1)), QStringLiteral("R&D plan.odt"));
    }

    void headerClicksSortAndTooltipsShowLongTexts() {
        QHeaderView* header = parts(*form_).Grid->header();
        parts(*form_).Grid->resize(600, 300);
        header->resizeSection(1, 200);
        QCOMPARE(form_->Items().SortColumn, 4);
        emit header->sectionPressed(1);
        QCOMPARE(form_->Items().SortColumn, 1);
        QCOMPARE(parts(*form_).PressedColumn, 1);
        QCOMPARE(form_->Items().ViewItem(0).Path.substr(form_->Items().ViewItem(0).Path.rfind('/') + 1),
                 std::string("R&D plan.odt")); // byte order: capitals first
        emit parts(*form_).Grid->header()->sectionReleased();
        QCOMPARE(parts(*form_).PressedColumn, -1);
        emit header->sectionPressed(0); // the row-number column sorts nothing
        QCOMPARE(form_->Items().SortColumn, 1);

        const QModelIndex folder = parts(*form_).Grid->model()->index(0, 2);
        header->resizeSection(2, 20);
        QCOMPARE(parts(*form_).Grid->tooltipFor(folder),
                 parts(*form_).Grid->historyModel()->cellText(folder));
        header->resizeSection(2, 2000);
        QCOMPARE(parts(*form_).Grid->tooltipFor(folder), QString());
    }

    void shortenedFoldersFollowTheWidthAndTheFont() {
        auto* delegate = qobject_cast<vendle::app::GridDelegate*>(parts(*form_).Grid->itemDelegate());
        QVERIFY(delegate);
        const QString folder = QStringLiteral("/home/user/共有/プロジェクト/group3/folder42/");
        const auto syntax = vendle::PathSyntax::posix();
        QFont font = parts(*form_).Grid->font();
        const auto fresh = [&](int width, const QFont& f) {
            const QFontMetrics fm(f);
            return QString::fromStdString(
                vendle::ShortenPath(folder.toStdString(), width, syntax, [&](std::string_view s) {
                    return fm.horizontalAdvance(
                        QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
                }));
        };
        const QString narrow = delegate->shortFolder(folder, 90, font, syntax);
        QCOMPARE(narrow, fresh(90, font));
        QVERIFY(narrow != folder);
        QCOMPARE(delegate->shortFolder(folder, 2000, font, syntax), folder); // wide enough: whole
        QCOMPARE(delegate->shortFolder(folder, 90, font, syntax), narrow);
        font.setPixelSize(font.pixelSize() > 0 ? font.pixelSize() * 2 : 24);
        QCOMPARE(delegate->shortFolder(folder, 90, font, syntax), fresh(90, font));
        QVERIFY(delegate->shortFolder(folder, 90, font, syntax) != narrow);
    }

    void versionInTheCaption() {
        QVERIFY(form_->windowTitle().startsWith(QStringLiteral("Vendle - ")));
        QCOMPARE(form_->windowTitle().count(QLatin1Char('.')), 3);
        parts(*form_).AVerInfo1->UpdateCaption();
        QCOMPARE(form_->windowTitle().count(QStringLiteral(" - ")), 1); // never stacked
    }
};

class VerInfoTest : public QObject {
    Q_OBJECT

private slots:
    void captionRules() {
        QWidget window;
        window.setWindowTitle(QStringLiteral("Vendle"));
        widgets::TAVerInfo info(&window, {1, 2, 3, 65535});
        info.setShowVer(true);
        QCOMPARE(window.windowTitle(), QStringLiteral("Vendle - 1.2.3.65535"));
        info.setShowVer(false);
        QCOMPARE(window.windowTitle(), QStringLiteral("Vendle"));
        info.setShowVer(true);
        QCOMPARE(window.windowTitle(), QStringLiteral("Vendle - 1.2.3.65535"));
        QVERIFY_THROWS_EXCEPTION(Error, info.GetVersion(4));

        QObject notAWindow;
        widgets::TAVerInfo orphan(&notAWindow, {1, 0, 0, 0});
        try {
            orphan.setShowVer(true);
            QFAIL("no error");
        } catch (const Error& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("TVerInfoのOwnerはTFormの派生クラスに限られます。"));
        }
    }
};

int main(int argc, char** argv) {
    // The trash and the desktop's data in a folder of the test's own.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QApplication app(argc, argv);
    GridTest grid;
    VerInfoTest ver;
    return QTest::qExec(&grid, argc, argv) | QTest::qExec(&ver, argc, argv);
}

#include "test_grid.moc"
