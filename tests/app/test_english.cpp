// SPDX-License-Identifier: GPL-3.0-or-later
// Under an English desktop every window of the program speaks English: no text a user can see is
// still Japanese (the help's Japanese pages and the user's own file names aside), and no text is
// cut by the place its widget was given.
#include "app/application.h"
#include "app/dialogs.h"
#include "app/exclusionsdialog.h"
#include "app/historygrid.h"
#include "app/mainwindow.h"
#include "app/program.h"
#include "appfiles.h"
#include "widgets/faketray.h"
#include "widgets/helpwindow.h"
#include "widgets/messagebox.h"
#include "widgets/progressbox.h"
#include "windowprobe.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>

using namespace vendle;
using namespace vendle::app;
using vendle::test::FakeTray;
using vendle::test::parts;
using vendle::test::TrayLog;
using vendle::widgets::MessageBox;

namespace {

const QRegularExpression
    kJapanese(QStringLiteral("[\\x{3000}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));

QString plain(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

// Every text of the menu and its submenus: captions, tips.
void menuTexts(const QMenu& menu, const QString& where, QStringList& out) {
    out << where + QStringLiteral(" title: ") + menu.title();
    for (const QAction* action : menu.actions()) {
        out << where + QStringLiteral(": ") + action->text();
        if (!action->statusTip().isEmpty())
            out << where + QStringLiteral(" tip: ") + action->statusTip();
        if (action->menu())
            menuTexts(*action->menu(), where + QStringLiteral(" > ") + action->text(), out);
    }
}

// Texts of a window and its visible widgets; widgets whose text does not fit their place.
void windowTexts(const QWidget& window, QStringList& texts, QStringList& cut) {
    const QString name = QString::fromLatin1(window.metaObject()->className());
    texts << name + QStringLiteral(" title: ") + window.windowTitle();
    const auto check = [&](const QWidget& w, const QString& text, int needed) {
        texts << name + QStringLiteral(": ") + text;
        if (w.isVisible() && w.width() < needed)
            cut << QStringLiteral("%1 '%2': %3 px of %4").arg(name, text).arg(w.width()).arg(needed);
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty())
            check(*label, plain(label->text()), label->wordWrap() ? 0 : label->sizeHint().width());
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->isVisible() && !button->text().isEmpty())
            check(*button, button->text(), button->sizeHint().width());
        if (!button->toolTip().isEmpty())
            texts << name + QStringLiteral(" tip: ") + button->toolTip();
    }
    for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
        if (group->isVisible())
            check(*group, group->title(),
                  group->fontMetrics().horizontalAdvance(QString(group->title()).remove(QLatin1Char('&'))) +
                      2 * group->fontMetrics().height());
    }
    for (const QToolBar* bar : window.findChildren<QToolBar*>()) {
        for (const QAction* action : bar->actions())
            texts << name + QStringLiteral(" tool: ") + action->text() + QStringLiteral(" / ") +
                         action->toolTip();
    }
    for (const QHeaderView* header : window.findChildren<QHeaderView*>()) {
        if (!header->isVisible() || !header->model())
            continue;
        for (int i = 0; i < header->count(); ++i)
            texts << name + QStringLiteral(" column: ") +
                         header->model()->headerData(i, header->orientation()).toString();
    }
}

template <typename T> T* topLevel() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<T*>(w))
            return found;
    }
    return nullptr;
}

} // namespace

class EnglishTest : public QObject {
    Q_OBJECT

private slots:
    void everyWindowSpeaksEnglishAndNothingIsCut() {
        QTemporaryDir dir;
        const auto path = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
        AppPaths paths;
        paths.executable = path("vendle").toStdString();
        paths.iniFile = path("vendle.ini").toStdString();
        paths.dataFile = path("vendle.dat").toStdString();
        paths.helpFile = VENDLE_HELP_FILE;
        paths.startupFolder = path("autostart").toStdString();
        paths.dataHome = path("data").toStdString();
        QByteArray lines;
        for (const char* name : {"report.odt", "notes.txt", "budget.ods"}) {
            test::writeFile(path("docs/") + QString::fromLatin1(name), "x");
            lines += path("docs/").toUtf8() + name + "\t2026/12/08 10:00:00\r\n";
        }
        test::writeFile(path("vendle.dat"), lines);

        // A first start: the welcome's boxes, and the answer that registers the autostart.
        MessageBox::setTestMode(true);
        for (int i = 0; i < 4; ++i)
            MessageBox::queueAnswer(MessageBox::Ok);
        MessageBox::queueAnswer(MessageBox::Yes);
        TrayLog log;
        Program program(paths, [&log] { return std::make_unique<FakeTray>(log); });
        QVERIFY(program.start());
        QStringList texts = MessageBox::shownTexts();
        QCOMPARE(texts.size(), 6);
        MessageBox::setTestMode(false);

        QStringList cut;
        TVendleMainForm& form = program.window();
        form.ShowMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        windowTexts(form, texts, cut);
        for (const QAction* menu : form.menuBar()->actions())
            menuTexts(*menu->menu(), QStringLiteral("menu bar"), texts);
        QVERIFY(log.nativeMenu);
        menuTexts(*log.nativeMenu, QStringLiteral("tray"), texts);
        texts << QStringLiteral("tray tip: ") + QString::fromStdString(parts(form).yTrayIcon1->TipHelp());
        parts(form).Edit1->setText(QStringLiteral("o"));
        texts << QStringLiteral("count line: ") + parts(form).Label2->text();
        parts(form).Edit1->clear();

        // The document's menu, as a right click opens it.
        QTimer::singleShot(0, this, [&] {
            QTRY_VERIFY(QApplication::activePopupWidget());
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            menuTexts(*menu, QStringLiteral("document menu"), texts);
            menu->close();
        });
        parts(form).Grid->setCurrentIndex(parts(form).Grid->model()->index(0, 1));
        emit parts(form).Grid->customContextMenuRequested(
            parts(form).Grid->visualRect(parts(form).Grid->currentIndex()).center());

        const auto inspect = [&](QWidget& window) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            windowTexts(window, texts, cut);
            window.hide();
        };
        inspect(program.optionDialog());
        inspect(program.exclusionsDialog());
        QVERIFY(topLevel<TFormAboutBox>());
        inspect(*topLevel<TFormAboutBox>());
        parts(form).ProgressBox1->Execute(); // as the exit's save shows it
        QVERIFY(topLevel<widgets::TFormProgress>());
        inspect(*topLevel<widgets::TFormProgress>());
        parts(form).ProgressBox1->Close();
        // The help window's frame, on the English summary.
        program.showHelp("index.htm");
        auto* help = topLevel<widgets::HelpWindow>();
        QVERIFY(help);
        QTRY_COMPARE(help->windowTitle(), QStringLiteral("Vendle Help"));
        windowTexts(*help, texts, cut);
        help->hide();

        QStringList japanese;
        for (const QString& text : texts) {
            if (text.contains(kJapanese))
                japanese << text;
        }
        QVERIFY2(japanese.isEmpty(), qPrintable(japanese.join(QLatin1Char('\n'))));
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
        // Some of what was looked at, in the words an English desktop uses.
        for (const char* expected :
             {"menu bar: &Settings", "Move to Tras&h", "Se&nd To", "R&emove from History",
              "column: Last Used", "count line: 3 of 3 files match.", "About Vendle"}) {
            QVERIFY2(texts.filter(QString::fromLatin1(expected)).size() > 0, expected);
        }
        program.finish();
    }
};

int main(int argc, char* argv[]) {
    VendleApplication app(argc, argv);
    EnglishTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_english.moc"
