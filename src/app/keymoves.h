// The window's keys: Esc anywhere clears the search and puts the focus into the search box, Down in
// the search box moves to the grid, Up on the grid's first row moves back, and Enter on the grid
// opens what its current cell names.
#pragma once

#include <QObject>

#include <functional>

class QLineEdit;
class QTableView;
class QWidget;

namespace vendle::app {

class KeyMoves : public QObject {
    Q_OBJECT

public:
    // `execute` opens the grid's current cell (acExecute).
    KeyMoves(QWidget& window, QLineEdit& search, QTableView& grid, std::function<void()> execute);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormKeyDown();
    bool Edit1KeyDown(int key);
    bool GridKeyDown(int key);

    QLineEdit& search_;
    QTableView& grid_;
    std::function<void()> execute_;
};

} // namespace vendle::app
