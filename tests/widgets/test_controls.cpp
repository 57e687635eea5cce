// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/messagebox.h"
#include "widgets/slideupdown.h"
#include "widgets/valuebox.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace vendle;
using namespace vendle::widgets;

namespace {

// Counts the key events that reach a widget.
class KeyCounter : public QObject {
public:
    int presses = 0;
    int releases = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        presses += e->type() == QEvent::KeyPress;
        releases += e->type() == QEvent::KeyRelease;
        return false;
    }
};

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The dialog's control: an edit box with the control docked to its right.
struct Spinner {
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);
    TSlideUpDown* sud = new TSlideUpDown(&window);
    QStringList log;

    Spinner() {
        edit->setGeometry(10, 10, 80, 18);
        sud->resize(12, 18);
        sud->Slider.setHeight(1);
        sud->setFormat(QStringLiteral("#,##0"));
        sud->setMin(1);
        sud->setMax(100000);
        sud->setAssociate(edit);
        sud->setPosition(10);
        QObject::connect(sud, &TSlideUpDown::OnChange, [this](TSlideUpDown* s) {
            log << QStringLiteral("change %1").arg(static_cast<double>(s->storedPosition()));
        });
        QObject::connect(sud, &TSlideUpDown::OnButtonClick,
                         [this](TSlideUpDown*, TButtonType b) { log << (b == btUp ? "up" : "down"); });
        window.resize(200, 60);
    }
};

} // namespace

class ControlsTest : public QObject {
    Q_OBJECT

private slots:
    void dockedBesideItsAssociate() {
        Spinner s;
        QCOMPARE(s.sud->geometry(), QRect(90, 10, 12, 18));
        QCOMPARE(s.edit->text(), QStringLiteral("10"));
        // The 18-pixel control with a 1-pixel strip: buttons of 8 and 9 pixels.
        QCOMPARE(s.sud->upButton()->height(), 8);
        QCOMPARE(s.sud->downButton()->geometry(), QRect(0, 9, 12, 9));
        QVERIFY(s.sud->upButton()->Pressed() == false);
        // Moving the control away ends the docking.
        s.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.window));
        s.sud->move(150, 10);
        QCOMPARE(s.sud->AlignButton(), sudNone);
    }

    void holdingTheUpButtonRepeats() {
        Spinner s;
        s.sud->Buttons.setSystemRepeatTime(false);
        s.sud->Buttons.setDelay(150);
        s.sud->Buttons.setSpeed(40);
        QCOMPARE(s.sud->Buttons.Delay(), 150u);
        s.log.clear();
        sendMouse(s.sud->upButton(), QEvent::MouseButtonPress, {5, 4}, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(s.log, (QStringList{QStringLiteral("change 11"), QStringLiteral("up")}));
        QTRY_VERIFY_WITH_TIMEOUT(s.log.size() >= 6, 3000);
        sendMouse(s.sud->upButton(), QEvent::MouseButtonRelease, {5, 4}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(s.log.mid(0, 6), (QStringList{"change 11", "up", "change 12", "up", "change 13", "up"}));
        const int steps = s.log.size();
        QTest::qWait(200);
        QCOMPARE(s.log.size(), steps); // released: no more repeats
        QCOMPARE(s.edit->text(), QString::number(static_cast<int>(s.sud->storedPosition())));
    }

    void holdingAtMaxStaysAtMax() {
        Spinner s;
        s.sud->setMax(12);
        s.sud->Buttons.setSystemRepeatTime(false);
        s.sud->Buttons.setDelay(30);
        s.sud->Buttons.setSpeed(20);
        sendMouse(s.sud->upButton(), QEvent::MouseButtonPress, {5, 4}, Qt::LeftButton, Qt::LeftButton);
        QTest::qWait(250);
        sendMouse(s.sud->upButton(), QEvent::MouseButtonRelease, {5, 4}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(static_cast<double>(s.sud->storedPosition()), 12.0);
        // The first step down after the release starts from the bound.
        sendMouse(s.sud->downButton(), QEvent::MouseButtonPress, {5, 4}, Qt::LeftButton, Qt::LeftButton);
        sendMouse(s.sud->downButton(), QEvent::MouseButtonRelease, {5, 4}, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(static_cast<double>(s.sud->storedPosition()), 11.0);
    }

    void draggingTheSliderStepsPerPixel() {
        Spinner s;
        TSliderPart* slider = s.sud->sliderPart();
        sendMouse(slider, QEvent::MouseButtonPress, {5, 8}, Qt::LeftButton, Qt::LeftButton);
        sendMouse(slider, QEvent::MouseMove, {5, 3}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(static_cast<double>(s.sud->storedPosition()), 15.0);
        QVERIFY(slider->Pressed());
        sendMouse(slider, QEvent::MouseMove, {5, 40}, Qt::NoButton, Qt::LeftButton); // outside: still pressed
        QVERIFY(slider->Pressed());
        sendMouse(slider, QEvent::MouseMove, {5, 8}, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(static_cast<double>(s.sud->storedPosition()), 10.0);
        sendMouse(slider, QEvent::MouseButtonRelease, {5, 8}, Qt::LeftButton, Qt::NoButton);
        // A right-button press records the start but moving changes nothing.
        sendMouse(slider, QEvent::MouseButtonPress, {5, 8}, Qt::RightButton, Qt::RightButton);
        sendMouse(slider, QEvent::MouseMove, {5, 2}, Qt::NoButton, Qt::RightButton);
        QCOMPARE(static_cast<double>(s.sud->storedPosition()), 10.0);
    }

    void upInTheAssociateStepsAndIsSwallowed() {
        Spinner s;
        s.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.edit->setFocus();
        QTRY_VERIFY(s.edit->hasFocus());
        KeyCounter counter;
        s.edit->installEventFilter(&counter);
        QTest::keyPress(s.edit, Qt::Key_Up);
        QCOMPARE(static_cast<double>(s.sud->storedPosition()), 11.0);
        QCOMPARE(counter.presses, 0);
        QTest::keyRelease(s.edit, Qt::Key_Up);
        QCOMPARE(counter.releases, 1);
        QTest::keyClick(s.edit, Qt::Key_Down);
        QTest::keyClick(s.edit, Qt::Key_Down);
        QCOMPARE(static_cast<double>(s.sud->storedPosition()), 9.0);
        QTest::keyClick(s.edit, Qt::Key_A); // other keys reach the box
        QCOMPARE(counter.presses, 1);
        // Without arrow keys, Up reaches the box and changes nothing.
        s.sud->setArrowKeys(false);
        QTest::keyPress(s.edit, Qt::Key_Up);
        QCOMPARE(counter.presses, 2);
    }

    void typedTextIsAdoptedOnRead() {
        Spinner s;
        s.sud->setPosition(10000);
        QCOMPARE(s.edit->text(), QStringLiteral("10,000"));
        QSignalSpy changes(s.sud, &TSlideUpDown::OnChange);
        s.edit->setText(QStringLiteral("10000"));
        QCOMPARE(static_cast<double>(s.sud->Position()), 10000.0);
        QCOMPARE(s.edit->text(), QStringLiteral("10000")); // the same value: left as typed
        QCOMPARE(changes.count(), 0);
        s.edit->setText(QStringLiteral("200,000"));
        QCOMPARE(static_cast<double>(s.sud->Position()), 100000.0);
        QCOMPARE(s.edit->text(), QStringLiteral("100,000"));
        QCOMPARE(changes.count(), 1);
        s.edit->setText(QStringLiteral("abc"));
        QCOMPARE(static_cast<double>(s.sud->Position()), 100000.0);
        QCOMPARE(s.edit->text(), QStringLiteral("abc"));
    }

    void anAssociateThatGoesAwayIsDropped() {
        Spinner s;
        delete s.edit;
        QCOMPARE(s.sud->Associate(), nullptr);
        s.sud->setPosition(20); // keeps working without it
        QCOMPARE(static_cast<double>(s.sud->Position()), 20.0);
    }

    void valueBoxCommitsOnSpaceAndRefusesOutOfRange() {
        MessageBox::setTestMode(true);
        TValueBox box;
        box.ShowMessageBox = true;
        QSignalSpy changes(&box, &TValueBox::OnChange);
        QTest::keyClicks(&box, QStringLiteral("42"));
        QCOMPARE(box.Entry(), 42);
        QCOMPARE(box.Value(), 0);
        QTest::keyClick(&box, Qt::Key_Space);
        QCOMPARE(box.Value(), 42);
        QCOMPARE(changes.count(), 1);

        QTest::keyClick(&box, Qt::Key_Backspace);
        QTest::keyClicks(&box, QStringLiteral("300"));
        QTest::keyClick(&box, Qt::Key_Space);
        QCOMPARE(box.Value(), 42);
        QCOMPARE(box.shownText(), QStringLiteral("42"));
        QCOMPARE(changes.count(), 2);
        QCOMPARE(MessageBox::shownTexts(), QStringList{QStringLiteral("数値を0～255の間で指定してください")});

        // Minus only where the range allows negatives; five nines leave the 16-bit range.
        QTest::keyClick(&box, Qt::Key_Delete);
        QTest::keyClick(&box, Qt::Key_Minus);
        QVERIFY(!box.Negative());
        box.setMin(-10);
        QTest::keyClick(&box, Qt::Key_Minus);
        QCOMPARE(box.shownText(), QStringLiteral("-"));
        QTest::keyClick(&box, Qt::Key_5);
        QTest::keyClick(&box, Qt::Key_Space);
        QCOMPARE(box.Value(), -5);
        for (int i = 0; i < 6; ++i)
            box.upButton()->click();
        QCOMPARE(box.Value(), 1);
        QTest::keyClick(&box, Qt::Key_2);
        QCOMPARE(box.Entry(), 12);
        QTest::keyClick(&box, Qt::Key_Delete);
        QTest::keyClicks(&box, QStringLiteral("99999"));
        QCOMPARE(box.Entry(), 0);
        box.setMin(300); // above Max: ignored
        QCOMPARE(box.Min(), -10);
        MessageBox::setTestMode(false);
    }

    void aShortBoxShowsItsWholeTitle() {
        int width = 0;
        int titleWidth = 0;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            width = box->width();
            titleWidth = box->fontMetrics().horizontalAdvance(box->windowTitle());
            box->close();
        });
        vendle::widgets::MessageBox::show(nullptr, QStringLiteral("初回起動です。"));
        QVERIFY(titleWidth > 0);
        QVERIFY2(width > titleWidth + 100, qPrintable(QStringLiteral("%1 %2").arg(width).arg(titleWidth)));
    }

    void partsPaintTheirArrowsAndFrames() {
        Spinner s;
        s.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.window));
        const QImage up = s.sud->upButton()->grab().toImage();
        const QImage down = s.sud->downButton()->grab().toImage();
        const QColor text = s.sud->palette().color(QPalette::WindowText);
        QCOMPARE(up.pixelColor(5, 3), text); // the apex
        QCOMPARE(up.pixelColor(4, 4), text);
        QCOMPARE(down.pixelColor(5, 4), text);
        QVERIFY(up.pixelColor(1, 1) != text); // the raised frame's inner line, not the arrow
        const QString shot = qEnvironmentVariable("VENDLE_CONTROLS_SHOT");
        if (!shot.isEmpty()) {
            TValueBox box(&s.window);
            box.setGeometry(120, 10, 60, 20);
            box.setValue(128);
            TFormPanel panel(&s.window);
            panel.setGeometry(10, 34, 170, 20);
            panel.lower();
            box.show();
            panel.show();
            s.window.grab().scaled(s.window.size() * 4).save(shot);
        }
    }
};

QTEST_MAIN(ControlsTest)
#include "test_controls.moc"
