// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/progressbox.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace vendle::widgets;

class ProgressBoxTest : public QObject {
    Q_OBJECT

private slots:
    void barFollowsTheTimerAndTextFollowsAtOnce() {
        TProgressBox box;
        box.RefreshRate = 1000;
        QVERIFY(box.Execute());
        TFormProgress* form = box.window();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("処理経過"));
        QCOMPARE(form->ProgressBar->value(), 0); // shown once at open
        QVERIFY(box.Progress(30, QStringLiteral("a")));
        QCOMPARE(form->Status->text(), QStringLiteral("a"));
        QVERIFY(box.Progress(60, QStringLiteral("b")));
        QCOMPARE(form->Status->text(), QStringLiteral("b"));
        QCOMPARE(form->ProgressBar->value(), 0); // not before the next tick
        QTRY_COMPARE_WITH_TIMEOUT(form->ProgressBar->value(), 60, 3000);
        box.Close();
        QVERIFY(!box.window());
        QVERIFY(box.Progress(1, QStringLiteral("no window"))); // harmless after Close
    }

    void heightAndCancel() {
        TProgressBox box;
        box.Title = QStringLiteral("書き出し");
        box.Execute();
        QCOMPARE(box.window()->windowTitle(), QStringLiteral("書き出し"));
        QCOMPARE(box.window()->height(), 45);
        QVERIFY(!box.window()->Btn_Cancel->isVisible());
        QTest::keyClick(box.window(), Qt::Key_Escape); // no cancel without the button
        QVERIFY(box.Progress(10, QString()));
        box.Close();

        box.CancelBtnVisible = true;
        box.Execute();
        QCOMPARE(box.window()->height(), 75);
        QVERIFY(box.Progress(10, QString()));
        QTest::mouseClick(box.window()->Btn_Cancel, Qt::LeftButton);
        QVERIFY(!box.Progress(20, QString()));
        QVERIFY(!box.Progress(30, QString()));
        box.Close();

        box.Execute(); // a fresh window starts uncancelled; Esc cancels too
        QVERIFY(box.Progress(10, QString()));
        QTest::keyClick(box.window(), Qt::Key_Escape);
        QVERIFY(!box.Progress(20, QString()));
    }
};

QTEST_MAIN(ProgressBoxTest)
#include "test_progressbox.moc"
