// SPDX-License-Identifier: GPL-3.0-or-later
// The window's keys: Esc anywhere clears the search and puts the focus into the search box, Down in
// the search box moves to the grid, Up on the grid's first row moves back; on the grid, Enter opens
// what its current cell names, the menu key and Shift+F10 open the document menu there, Ctrl+C
// copies the highlighted documents and Delete takes them out of the history.
#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;
class QLineEdit;
class QTableView;
class QWidget;

namespace vendle::app {

class KeyMoves : public QObject {
    Q_OBJECT

public:
    struct GridKeys {
        std::function<void()> execute; // opens the grid's current cell (acExecute)
        std::function<void()> menu;    // the document menu at the current cell
        std::function<void()> copy;    // the highlighted documents onto the clipboard
        std::function<void()> forget;  // the highlighted documents out of the history
    };

    KeyMoves(QWidget& window, QLineEdit& search, QTableView& grid, GridKeys keys);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormKeyDown();
    bool Edit1KeyDown(int key);
    bool GridKeyDown(int key);
    // Keys with modifiers on the grid; true when one was taken.
    bool gridShortcut(const QKeyEvent& key);

    QLineEdit& search_;
    QTableView& grid_;
    GridKeys keys_;
};

} // namespace vendle::app
