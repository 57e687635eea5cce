// SPDX-License-Identifier: GPL-3.0-or-later
// Slot bodies that never let an exception cross Qt's signal dispatch: an error is shown in the
// standard error box, with its own text, and the program goes on with the next event.
#pragma once

#include "widgets/messagebox.h"

#include <QPointer>
#include <QWidget>

#include <exception>
#include <utility>

namespace vendle::app {

// Runs `body` now; an exception from it is shown over `parent`.
template <typename Body> void runGuarded(QWidget* parent, Body&& body) {
    try {
        std::forward<Body>(body)();
    } catch (const std::exception& e) {
        widgets::MessageBox::error(parent, QString::fromUtf8(e.what()));
    }
}

// A slot that runs `body` guarded.
template <typename Body> auto guarded(QWidget* parent, Body body) {
    return
        [parent = QPointer<QWidget>(parent), body = std::move(body)]() { runGuarded(parent.data(), body); };
}

} // namespace vendle::app
