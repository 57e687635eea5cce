// SPDX-License-Identifier: GPL-3.0-or-later
// The program's message boxes in one place, with a seam for tests: in test mode no box is shown,
// every text is recorded, and answers come from a queue.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace vendle::widgets {

class MessageBox {
public:
    enum Button { Ok, Yes, No };
    enum Kind { Plain, Information, Warning, Error, Confirmation };

    // A box with the text and an OK button, captioned with the application's name unless a
    // caption is given. Every box belongs to a window: `parent`'s, else the open dialog or the
    // active window.
    static void show(QWidget* parent, const QString& text, Kind kind = Plain, const QString& caption = {});

    // A box with exactly the buttons Yes and No; returns the one chosen (closing counts as No).
    // `defaultButton` is the one Enter presses.
    static Button askYesNo(QWidget* parent, const QString& text, Kind kind = Confirmation,
                           Button defaultButton = Yes);

    // An information box with the check box "次回から表示しない"; true when the user ticked it.
    static bool showWithDontShowAgain(QWidget* parent, const QString& text);

    // The standard error display: stop icon, OK button, the application title as caption.
    static void error(QWidget* parent, const QString& text) { show(parent, text, Error); }

    // Asked before every box: false (the program is ending) and no box is shown, a question
    // counts as answered No. Unset: boxes are always shown.
    static void setMayAsk(std::function<bool()> mayAsk);
    // Closes every open box as if answered No; with `setMayAsk` saying no, nothing waits for an
    // answer any more.
    static void closeAll();

    // Test seam.
    static void setTestMode(bool on);
    static void queueAnswer(Button answer); // Yes ticks "次回から表示しない"
    static QStringList shownTexts();
    static QStringList shownCaptions();    // the caption of each box shown, empty for the default
    static QList<QWidget*> shownParents(); // the window each box belonged to
    static void clearShownTexts();
    // Runs while each box is "open" in test mode, as events delivered by a box's own loop would.
    static void setWhileShown(std::function<void()> hook);
};

} // namespace vendle::widgets
