#include "messagebox.h"

#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QQueue>

namespace vendle::widgets {

namespace {

// Test-mode state; untouched outside tests.
struct TestSeam {
    bool on = false;
    QQueue<MessageBox::Button> answers;
    QStringList shown;
};

TestSeam& seam() {
    static TestSeam s;
    return s;
}

// The boxes open right now, innermost last, and whether the program is ending.
struct OpenBoxes {
    QList<QPointer<QMessageBox>> boxes;
    bool shutDown = false;
};

OpenBoxes& openBoxes() {
    static OpenBoxes b;
    return b;
}

int run(QMessageBox& box) {
    openBoxes().boxes.append(&box);
    const int result = box.exec();
    openBoxes().boxes.removeAll(&box);
    return result;
}

QMessageBox::Icon iconOf(MessageBox::Kind kind) {
    switch (kind) {
    case MessageBox::Information:
        return QMessageBox::Information;
    case MessageBox::Warning:
        return QMessageBox::Warning;
    case MessageBox::Error:
        return QMessageBox::Critical;
    case MessageBox::Confirmation:
        return QMessageBox::Question;
    case MessageBox::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

QString caption() {
    const QString title = QApplication::applicationDisplayName();
    return title.isEmpty() ? QStringLiteral("Vendle") : title;
}

} // namespace

void MessageBox::show(QWidget* parent, const QString& text, Kind kind, const QString& title) {
    if (openBoxes().shutDown)
        return;
    if (seam().on) {
        seam().shown.append(text);
        if (!seam().answers.isEmpty())
            seam().answers.dequeue();
        return;
    }
    QMessageBox box(iconOf(kind), title.isEmpty() ? caption() : title, text, QMessageBox::Ok, parent);
    run(box);
}

MessageBox::Button MessageBox::askYesNo(QWidget* parent, const QString& text, Kind kind) {
    if (openBoxes().shutDown)
        return No;
    if (seam().on) {
        seam().shown.append(text);
        return seam().answers.isEmpty() ? No : seam().answers.dequeue();
    }
    QMessageBox box(iconOf(kind), caption(), text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setEscapeButton(QMessageBox::No);
    return run(box) == QMessageBox::Yes && !openBoxes().shutDown ? Yes : No;
}

void MessageBox::shutDown() {
    openBoxes().shutDown = true;
    for (const QPointer<QMessageBox>& box : openBoxes().boxes) {
        if (box)
            box->done(QMessageBox::No);
    }
}

bool MessageBox::isShutDown() {
    return openBoxes().shutDown;
}

void MessageBox::setTestMode(bool on) {
    seam().on = on;
    openBoxes().shutDown = false;
    seam().answers.clear();
    seam().shown.clear();
}

void MessageBox::queueAnswer(Button answer) {
    seam().answers.enqueue(answer);
}

QStringList MessageBox::shownTexts() {
    return seam().shown;
}

void MessageBox::clearShownTexts() {
    seam().shown.clear();
}

} // namespace vendle::widgets
