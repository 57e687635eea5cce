// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog and the About box over a session on fakes.
#include "app/dialogs.h"
#include "app/exclusionsdialog.h"
#include "core/fulltime.h"
#include "fakeparts.h"
#include "sessionprobe.h"
#include "widgets/messagebox.h"
#include "widgets/slideupdown.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTest>
#include <QTimer>

using namespace vendle;
using namespace vendle::app;
using vendle::widgets::MessageBox;

class DialogsTest : public QObject {
    Q_OBJECT

    test::FakeFiles* files_ = nullptr;
    test::FakeRecent* recent_ = nullptr;
    DateTime clock_ = 0;
    std::unique_ptr<HistorySession> session_;

    // Runs `act` once the modal dialog is up.
    static void whileOpen(QDialog& dialog, std::function<void()> act) {
        QTimer::singleShot(0, &dialog, [&dialog, act] {
            QTRY_VERIFY(dialog.isVisible());
            act();
        });
    }

private slots:
    void init() {
        qputenv("TZ", "UTC"); // under Qt's lock: the test's watchdog thread reads the environment
        tzset();
        clock_ = encodeDate(2026, 12, 8) + encodeTime(10, 0, 0, 0);
        files_ = nullptr;
        test::FakeFiles disk;
        disk.files["/p/vendle.ini"] = "[%%% Application Infomation Section %%%]\r\nFirstKick=2026/01/01\r\n"
                                      "ExecCount=41\r\nTotalExecTime=26:00:00.000\r\n";
        session_ = std::make_unique<HistorySession>("/p/vendle.ini", "/p/vendle.dat",
                                                    test::fakeParts(
                                                        files_, recent_, [this] { return clock_; }, &disk),
                                                    DateTimeFormat::japanese());
    }

    void cancelChangesNothingAndOkTakesTheValuesOver() {
        std::vector<std::string> help;
        TOptionDlg dialog(*session_, [&](const char* page) { help.emplace_back(page); });
        session_->setDataMax(10'000);
        whileOpen(dialog, [&] {
            QCOMPARE(dialog.Memo1->text(), QStringLiteral("10,000"));
            dialog.sudDataMax->setPosition(500);
            dialog.cbReadOnly->setChecked(true);
            dialog.findChild<QPushButton*>(QStringLiteral("HelpBtn"))->click();
            QVERIFY(dialog.isVisible()); // help leaves the dialog open
            QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        dialog.acOptionExecute();
        QCOMPARE(session_->dataMax(), 10'000);
        QVERIFY(!session_->confirmReadOnly());
        QCOMPARE(help, std::vector<std::string>{"Option.htm"});

        // Values past the limits cannot be set; OK takes the position, cut to an integer.
        whileOpen(dialog, [&] {
            QCOMPARE(dialog.Memo1->text(), QStringLiteral("10,000")); // the old value again
            dialog.sudDataMax->setPosition(250'000);
            QCOMPARE(dialog.Memo1->text(), QStringLiteral("100,000"));
            dialog.sudDataMax->setPosition(1);
            dialog.cbReadOnly->setChecked(true);
            dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        });
        dialog.acOptionExecute();
        QCOMPARE(session_->dataMax(), 1);
        QVERIFY(session_->confirmReadOnly());

        // A history of one document from the next scan on.
        session_->beginWatching();
        for (const char* p : {"/d/a.txt", "/d/b.txt"}) {
            files_->files[p] = "x";
            recent_->entries.push_back({p, toUnixTime(clock_) + 5});
        }
        session_->Scan();
        QCOMPARE(session_->items().ItemCount(), 1);
    }

    void typedSizesOutsideTheRangeAreRefusedInPlaceAndCutsAreAskedAbout() {
        MessageBox::setTestMode(true);
        const auto off = qScopeGuard([] { MessageBox::setTestMode(false); });
        test::changeHistory(*session_, [](HistoryList& items) {
            for (const char* p : {"/d/a.txt", "/d/b.txt", "/d/c.txt"})
                items.AddItem(p);
        });
        TOptionDlg dialog(*session_, {});
        session_->setDataMax(10'000);
        const QString range = QStringLiteral("数値を1～100000の間で指定してください");
        whileOpen(dialog, [&] {
            auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"));
            for (const QString& typed : {QStringLiteral("0"), QStringLiteral("abc"), QStringLiteral("200000"),
                                         QStringLiteral("1.5"), QStringLiteral(""), QStringLiteral("-3")}) {
                MessageBox::clearShownTexts();
                dialog.Memo1->setText(typed);
                ok->click();
                QCOMPARE(MessageBox::shownTexts(), QStringList{range});
                QCOMPARE(MessageBox::shownCaptions(), QStringList{QStringLiteral("数値入力について")});
                QVERIFY2(dialog.isVisible(), qPrintable(typed));
                QCOMPARE(dialog.focusWidget(), dialog.Memo1);
            }
            // Below the three documents held: asked first, No by default; No keeps the dialog.
            MessageBox::clearShownTexts();
            dialog.Memo1->setText(QStringLiteral("2"));
            ok->click();
            QCOMPARE(MessageBox::shownTexts().size(), 1);
            QVERIFY(MessageBox::shownTexts()[0].contains(QStringLiteral("1個")));
            QVERIFY(dialog.isVisible());
            MessageBox::queueAnswer(MessageBox::Yes);
            ok->click();
        });
        dialog.acOptionExecute();
        QCOMPARE(session_->dataMax(), 2);
        // Grouped digits are a number; not below what is held: no question.
        whileOpen(dialog, [&] {
            MessageBox::clearShownTexts();
            dialog.Memo1->setText(QStringLiteral(" 5,000 "));
            dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
        });
        dialog.acOptionExecute();
        QCOMPARE(session_->dataMax(), 5'000);
        QCOMPARE(MessageBox::shownTexts(), QStringList());
        QCOMPARE(dialog.sudDataMax->Position(), 5'000);
    }

    void theSettingsDialogIsLaidOutFromItsFontWithoutOverlaps() {
        TOptionDlg dialog(*session_, {});
        auto* group1 = dialog.findChild<QGroupBox*>(QStringLiteral("GroupBox1"));
        auto* group2 = dialog.findChild<QGroupBox*>(QStringLiteral("GroupBox2"));
        auto* label1 = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
        const auto buttons =
            dialog.findChild<QWidget*>(QStringLiteral("Panel2"))->findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 3);
        const auto inside = [](const QWidget* w, const QRect& area) { return area.contains(w->geometry()); };
        for (int pixels : {9, 12, 16, 20, 28}) {
            QFont f = dialog.font();
            f.setPixelSize(pixels);
            dialog.setFont(f);
            const QByteArray at = QByteArray::number(pixels) + " px";
            // What a group holds lies below its title and inside its frame.
            for (QWidget* w : std::initializer_list<QWidget*>{dialog.Memo1, dialog.sudDataMax, label1})
                QVERIFY2(inside(w, group1->contentsRect()), at + " " + w->objectName().toUtf8());
            QVERIFY2(inside(dialog.cbReadOnly, group2->contentsRect()), at);
            // Texts get the room they ask for; the arrows are as wide as a scroll bar's.
            QVERIFY2(label1->width() >= label1->sizeHint().width(), at);
            QVERIFY2(dialog.cbReadOnly->width() >= dialog.cbReadOnly->sizeHint().width(), at);
            QVERIFY2(dialog.Memo1->height() >= dialog.Memo1->minimumSizeHint().height(), at);
            QVERIFY2(dialog.sudDataMax->width() >=
                         dialog.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, dialog.sudDataMax),
                     at);
            QVERIFY2(dialog.sudDataMax->geometry().left() == dialog.Memo1->geometry().right() + 1 &&
                         dialog.sudDataMax->height() == dialog.Memo1->height(),
                     at); // docked to the edit box
            QVERIFY2(label1->geometry().left() > dialog.sudDataMax->geometry().right(), at);
            // The groups and the buttons lie inside the dialog, one under another, apart.
            QVERIFY2(inside(group1, dialog.rect()) && inside(group2, dialog.rect()), at);
            QVERIFY2(group1->geometry().bottom() < group2->geometry().top(), at);
            for (int i = 0; i < buttons.size(); ++i) {
                const QRect r(buttons[i]->mapTo(&dialog, QPoint(0, 0)), buttons[i]->size());
                QVERIFY2(dialog.rect().contains(r) && r.top() > group2->geometry().bottom(), at);
                QVERIFY2(buttons[i]->width() >= buttons[i]->sizeHint().width(), at);
                for (int j = i + 1; j < buttons.size(); ++j)
                    QVERIFY2(!buttons[i]->geometry().intersects(buttons[j]->geometry()), at);
            }
        }
    }

    void excludedFoldersAreChosenAndWhatTheHistoryHoldsThereGoesOnlyWhenAsked() {
        MessageBox::setTestMode(true);
        const auto off = qScopeGuard([] { MessageBox::setTestMode(false); });
        test::changeHistory(*session_, [](HistoryList& items) {
            for (const char* p : {"/home/u/private/a.txt", "/home/u/private/sub/b.txt", "/home/u/c.txt"})
                items.AddItem(p);
        });
        QStringList chosen{QStringLiteral("/home/u/private"), QString(), QStringLiteral("/tmp")};
        TExclusionsDlg dialog(*session_, [&](QWidget*) { return chosen.takeFirst(); }, {});
        const auto run = [&](MessageBox::Button answer, const std::function<void()>& edit) {
            MessageBox::clearShownTexts();
            MessageBox::queueAnswer(answer);
            whileOpen(dialog, [&] {
                edit();
                dialog.findChild<QPushButton*>(QStringLiteral("OKBtn"))->click();
            });
            dialog.execute();
        };
        // Two folders added (a cancelled choice adds nothing), one taken away again; No keeps the
        // documents held there, and the exclusion holds from now on.
        run(MessageBox::No, [&] {
            dialog.addButton->click();
            dialog.addButton->click();
            dialog.addButton->click();
            QCOMPARE(dialog.folderList->count(), 2);
            dialog.removeButton->click(); // the current one: /tmp
        });
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(MessageBox::shownTexts()[0].contains(QStringLiteral("2個")));
        QCOMPARE(session_->items().ItemCount(), 3);
        QCOMPARE(session_->exclusions().folders, std::vector<std::string>{"/home/u/private"});
        // Nothing newly excluded: no question. Then hidden names: nothing held has one.
        run(MessageBox::Yes, [&] { dialog.cbHidden->setChecked(true); });
        QVERIFY(MessageBox::shownTexts().isEmpty());
        QVERIFY(session_->exclusions().hidden);
        // Taken away and added again: asked anew, and Yes takes them out.
        run(MessageBox::Yes, [&] { dialog.removeButton->click(); });
        QVERIFY(session_->exclusions().folders.empty());
        chosen = {QStringLiteral("/home/u/private")};
        run(MessageBox::Yes, [&] { dialog.addButton->click(); });
        QCOMPARE(session_->items().ItemCount(), 1);
        QCOMPARE(session_->items().Item(0).Path, std::string("/home/u/c.txt"));
    }

    void theAboutBoxShowsVersionStartsAndCountsTheRunningTimeUp() {
        TFormAboutBox box(*session_, {1, 2, 3, 4});
        box.FormShow();
        QCOMPARE(box.VersionNumber->text(), QStringLiteral("1.2 Release(3) Build(4)"));
        QCOMPARE(box.ExecCount->text(), QStringLiteral("42回"));
        QCOMPARE(box.TotalExecTime->text(), QStringLiteral("26時間0分0秒")); // hours, not days
        QVERIFY(box.Timer1->isActive());
        QCOMPARE(box.Timer1->interval(), 1000);
        box.Timer1Timer();
        box.Timer1Timer();
        QCOMPARE(box.TotalExecTime->text(), QStringLiteral("26時間0分2秒"));
        // A minute later the next showing starts from the newer total.
        clock_ += encodeTime(0, 1, 0, 0);
        box.FormShow();
        QCOMPARE(box.TotalExecTime->text(), QStringLiteral("26時間1分0秒"));
    }

    void elapsedTextKeepsHoursAndWrapsLikeTheStoredTotal() {
        QCOMPARE(elapsedText(2 + encodeTime(2, 3, 7, 0)), std::string("50時間3分7秒"));
        QCOMPARE(elapsedText(65'536.0 / 24 + encodeTime(0, 0, 5, 0)), std::string("0時間0分5秒"));
        QCOMPARE(elapsedText(-1), std::string("0時間0分0秒"));
        // Seconds that are a fraction of a day come out whole, not one short.
        QCOMPARE(elapsedText(59.0 / 86'400), std::string("0時間0分59秒"));
        QCOMPARE(elapsedText(encodeTime(0, 0, 59, 999)), std::string("0時間0分59秒"));
    }
};

QTEST_MAIN(DialogsTest)
#include "test_dialogs.moc"
