// The main window: for now a frame with the empty-history caption.
#pragma once

#include <QMainWindow>

namespace vendle::app {

class TVendleMainForm : public QMainWindow {
    Q_OBJECT

public:
    explicit TVendleMainForm(QWidget* parent = nullptr);
};

} // namespace vendle::app
