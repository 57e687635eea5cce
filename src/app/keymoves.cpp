// SPDX-License-Identifier: GPL-3.0-or-later
#include "keymoves.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QTableView>

namespace vendle::app {

KeyMoves::KeyMoves(QWidget& window, QLineEdit& search, QTableView& grid, GridKeys keys)
    : QObject(&window), search_(search), grid_(grid), keys_(std::move(keys)) {
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
        if (keys_.execute)
            keys_.execute();
        return true;
    }
    if (key == Qt::Key_Menu) {
        if (keys_.menu)
            keys_.menu();
        return true;
    }
    if (key == Qt::Key_Delete) {
        if (keys_.forget)
            keys_.forget();
        return true;
    }
    if (key == Qt::Key_Up && grid_.currentIndex().row() <= 0) {
        search_.setFocus(Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

bool KeyMoves::gridShortcut(const QKeyEvent& key) {
    const std::function<void()>* action = nullptr;
    if (key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier)
        action = &keys_.menu;
    else if (key.matches(QKeySequence::Copy))
        action = &keys_.copy;
    if (!action)
        return false;
    if (*action)
        (*action)();
    return true;
}

bool KeyMoves::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && watched == &grid_) {
        // Ctrl+C belongs to the grid, before any shortcut of the window.
        if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            event->accept();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == &grid_ && gridShortcut(*key))
            return true;
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
