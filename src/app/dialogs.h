// The settings dialog and the About box, created at start with the main window.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QSpinBox;

namespace vendle {
class TIniFileEx;
}

namespace vendle::app {

class TVendleMainForm;

// History size (1 to 100,000) and whether read-only documents are confirmed before opening.
class TOptionDlg : public QDialog {
    Q_OBJECT

public:
    explicit TOptionDlg(TVendleMainForm& mainForm, QWidget* parent = nullptr);

    // Shows the dialog with the current values and applies them on OK.
    void acOptionExecute();

private:
    TVendleMainForm& mainForm_;
    QSpinBox* sudDataMax_ = nullptr;
    QCheckBox* cbReadOnly_ = nullptr;
};

// The program's name and version, the number of starts and the total running time.
class TFormAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TFormAboutBox(TVendleMainForm& mainForm, QWidget* parent = nullptr);

    void showModalBox();

private:
    TVendleMainForm& mainForm_;
    QLabel* details_ = nullptr;
};

} // namespace vendle::app
