// The application object: the title "Vendle", the Japanese interface font and Qt's Japanese
// texts, and the top-level handler that shows an error escaping any event handler and goes on.
#pragma once

#include <QApplication>

namespace vendle::app {

class VendleApplication : public QApplication {
    Q_OBJECT

public:
    VendleApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an error in the standard error display (stop icon, OK, the title as caption).
    static void showError(const QString& text);
};

// Picks the first installed proportional Japanese Gothic font, or the default one.
QString preferredJapaneseFont();

} // namespace vendle::app
