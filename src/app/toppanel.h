// The panel above the grid: the time of the last look at the desktop's records at the right of
// its first line, the count of documents below it at the left, and the search box stretching with
// the window.
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
    QLineEdit* Edit1 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace vendle::app
