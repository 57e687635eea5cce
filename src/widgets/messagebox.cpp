// SPDX-License-Identifier: GPL-3.0-or-later
#include "messagebox.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QQueue>
#include <QSpacerItem>
#include <QTimer>

namespace vendle::widgets {

namespace {

// Test-mode state; untouched outside tests.
struct TestSeam {
    bool on = false;
    QQueue<MessageBox::Button> answers;
    QStringList shown;
    QStringList captions;
    QList<QWidget*> parents;
    std::function<void()> whileShown;

    void record(const QString& text, const QString& caption, QWidget* parent) {
        shown.append(text);
        captions.append(caption);
        parents.append(parent);
        if (whileShown)
            whileShown();
    }
};

TestSeam& seam() {
    static TestSeam s;
    return s;
}

// The boxes open right now, innermost last, and who says whether the program may still ask.
struct OpenBoxes {
    QList<QPointer<QMessageBox>> boxes;
    std::function<bool()> mayAsk;
    bool refused() const { return mayAsk && !mayAsk(); }
};

OpenBoxes& openBoxes() {
    static OpenBoxes b;
    return b;
}

// A box at least as wide as its caption with the title bar's buttons beside it, so that a short
// text never leaves the title as "…".
void fitCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 8 * box.fontMetrics().height();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), grid->rowCount(),
                  0, 1, grid->columnCount());
}

// The window a box belongs to: the one asked for, else the open dialog or the active window, so
// that no box is left alone behind the program's windows where nobody finds it.
QWidget* ownerFor(QWidget* parent) {
    if (parent)
        return parent->window();
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

int run(QMessageBox& box) {
    fitCaption(box);
    // Shown in front and given the keyboard, even over a window that is minimised or hidden.
    box.setWindowState(box.windowState() & ~Qt::WindowMinimized);
    QTimer::singleShot(0, &box, [&box] {
        box.raise();
        box.activateWindow();
    });
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

// The text as the box shows it: a path may break after each folder separator, never inside a
// name. A zero-width space marks each such place.
QString wrappable(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        out += c;
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            out += QChar(0x200B);
    }
    return out;
}

// Texts are shown as they are: a file name that looks like markup is no markup.
void setText(QMessageBox& box, const QString& text) {
    box.setTextFormat(Qt::PlainText);
    box.setText(wrappable(text));
}

} // namespace

void MessageBox::show(QWidget* parent, const QString& text, Kind kind, const QString& title) {
    if (openBoxes().refused())
        return;
    if (seam().on) {
        if (!seam().answers.isEmpty())
            seam().answers.dequeue();
        seam().record(text, title, ownerFor(parent));
        return;
    }
    QMessageBox box(iconOf(kind), title.isEmpty() ? caption() : title, {}, QMessageBox::Ok, ownerFor(parent));
    setText(box, text);
    run(box);
}

bool MessageBox::showWithDontShowAgain(QWidget* parent, const QString& text) {
    if (openBoxes().refused())
        return false;
    if (seam().on) {
        const bool ticked = !seam().answers.isEmpty() && seam().answers.dequeue() == Yes;
        seam().record(text, {}, ownerFor(parent));
        return ticked;
    }
    QMessageBox box(QMessageBox::Information, caption(), {}, QMessageBox::Ok, ownerFor(parent));
    setText(box, text);
    auto* dontShow = new QCheckBox(
        QCoreApplication::translate("vendle::widgets::MessageBox", "次回から表示しない(&D)"), &box);
    box.setCheckBox(dontShow);
    run(box);
    return dontShow->isChecked();
}

MessageBox::Button MessageBox::askYesNo(QWidget* parent, const QString& text, Kind kind,
                                        Button defaultButton) {
    if (openBoxes().refused())
        return No;
    if (seam().on) {
        const Button answer = seam().answers.isEmpty() ? No : seam().answers.dequeue();
        seam().record(text, {}, ownerFor(parent));
        return answer;
    }
    QMessageBox box(iconOf(kind), caption(), {}, QMessageBox::Yes | QMessageBox::No, ownerFor(parent));
    setText(box, text);
    box.setEscapeButton(QMessageBox::No);
    box.setDefaultButton(defaultButton == No ? QMessageBox::No : QMessageBox::Yes);
    return run(box) == QMessageBox::Yes && !openBoxes().refused() ? Yes : No;
}

void MessageBox::setMayAsk(std::function<bool()> mayAsk) {
    openBoxes().mayAsk = std::move(mayAsk);
}

void MessageBox::closeAll() {
    for (const QPointer<QMessageBox>& box : openBoxes().boxes) {
        if (box)
            box->done(QMessageBox::No);
    }
}

void MessageBox::setTestMode(bool on) {
    seam().on = on;
    seam().answers.clear();
    seam().shown.clear();
    seam().captions.clear();
    seam().parents.clear();
    seam().whileShown = nullptr;
}

void MessageBox::queueAnswer(Button answer) {
    seam().answers.enqueue(answer);
}

QStringList MessageBox::shownTexts() {
    return seam().shown;
}

QStringList MessageBox::shownCaptions() {
    return seam().captions;
}

QList<QWidget*> MessageBox::shownParents() {
    return seam().parents;
}

void MessageBox::setWhileShown(std::function<void()> hook) {
    seam().whileShown = std::move(hook);
}

void MessageBox::clearShownTexts() {
    seam().captions.clear();
    seam().parents.clear();
    seam().shown.clear();
}

} // namespace vendle::widgets
