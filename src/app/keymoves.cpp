#include "keymoves.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QTableView>

namespace vendle::app {

KeyMoves::KeyMoves(QWidget& window, QLineEdit& search, QTableView& grid, std::function<void()> execute)
    : QObject(&window), search_(search), grid_(grid), execute_(std::move(execute)) {
    // Esc is the window's before any control's.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &KeyMoves::FormKeyDown);
    search_.installEventFilter(this);
    grid_.installEventFilter(this);
}

void KeyMoves::FormKeyDown() {
    search_.clear(); // its change handler applies the filters again
    search_.setFocus(Qt::ShortcutFocusReason);
}

bool KeyMoves::Edit1KeyDown(int key) {
    if (key != Qt::Key_Down)
        return false;
    grid_.setFocus(Qt::TabFocusReason);
    return true;
}

bool KeyMoves::GridKeyDown(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (execute_)
            execute_();
        return true;
    }
    if (key == Qt::Key_Up && grid_.currentIndex().row() <= 0) {
        search_.setFocus(Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

bool KeyMoves::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            if (watched == &search_ && Edit1KeyDown(key->key()))
                return true;
            if (watched == &grid_ && GridKeyDown(key->key()))
                return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vendle::app
