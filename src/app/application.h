// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: the title "Vendle", the Japanese interface font and Qt's Japanese
// texts, and what happens to an exception that escapes an event handler: it is a fault, logged
// with what was being dispatched; what was loaded is saved and the program ends with an error.
#pragma once

#include "core/uilanguage.h"

#include <QApplication>

#include <functional>

namespace vendle::app {

class VendleApplication : public QApplication {
    Q_OBJECT

public:
    // The exit code after an exception escaped an event handler (EX_SOFTWARE).
    static constexpr int kFaultExitCode = 70;

    VendleApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Installs the catalogue of texts for `language` in place of the one in use: windows made
    // from now on speak it. The constructor chooses the desktop's.
    void useLanguage(UiLanguage language);

    // Runs once when an exception escaped an event handler, before the event loop ends (saving
    // what can be saved).
    void setEscapedExceptionHandler(std::function<void()> handler) { onEscaped_ = std::move(handler); }

    // Shows an error in the standard error display (stop icon, OK, the title as caption).
    static void showError(const QString& text);

private:
    void escaped(QObject* receiver, QEvent* event, const char* what);

    std::function<void()> onEscaped_;
};

// Picks the first installed proportional Japanese Gothic font, or the default one.
QString preferredJapaneseFont();

} // namespace vendle::app
