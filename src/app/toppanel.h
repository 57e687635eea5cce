// SPDX-License-Identifier: GPL-3.0-or-later
// The panel above the grid: the time of the last look at the desktop's records at the right of
// its first line, the count of documents below it at the left, and the search box stretching with
// the window. Beside the count, what the last command did and a link that undoes it.
#pragma once

#include <QFrame>

class QLabel;
class QLineEdit;

namespace vendle::app {

class TopPanel : public QFrame {
    Q_OBJECT

public:
    explicit TopPanel(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr; // the time of the last look
    QLabel* Label2 = nullptr; // the count
    QLabel* Done = nullptr;   // beside the count: what the last command did, with a link to undo it
    QLineEdit* Edit1 = nullptr;

    // Places the two lines from the font's own height: at the 12-pixel font the panel is 41
    // pixels high with the search box at 16, as designed; larger fonts make it grow, never clip.
    void relayout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
};

} // namespace vendle::app
