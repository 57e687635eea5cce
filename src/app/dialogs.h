// SPDX-License-Identifier: GPL-3.0-or-later
// The settings dialog and the About box, created at start with the main window.
#pragma once

#include "core/datetime.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace vendle::widgets {
class TSlideUpDown;
}

namespace vendle::app {

class HistorySession;
class StartupEntry;

// History size (1 to 100,000) and whether read-only documents are confirmed before opening.
class TOptionDlg : public QDialog {
    Q_OBJECT

public:
    // `showHelp` opens a help page ("Option.htm" for this dialog); `startup` is this copy's entry
    // in the session's autostart (none: the check box is disabled).
    TOptionDlg(HistorySession& session, std::function<void(const char* page)> showHelp,
               const StartupEntry* startup = nullptr, QWidget* parent = nullptr);

    // Shows the dialog with the current values and takes them over on OK; the autostart entry is
    // written or taken away when the check box changed.
    void acOptionExecute();

    // OK: a history size that is not a whole number from 1 to 100,000 is refused with the value
    // box's message; one below the number of documents held is asked about first.
    void accept() override;

    // Places the controls from the font's line: the designed geometry at a 12-pixel line, grown
    // in proportion with larger fonts, and never less room than a text or a control asks for.
    void relayout();

    QLineEdit* Memo1 = nullptr;
    widgets::TSlideUpDown* sudDataMax = nullptr;
    QCheckBox* cbReadOnly = nullptr;
    QCheckBox* cbAutostart = nullptr;

protected:
    void changeEvent(QEvent* event) override;

private:
    void HelpBtnClick();

    QGroupBox* groupBox1_ = nullptr;
    QGroupBox* groupBox2_ = nullptr;
    QLabel* label1_ = nullptr;
    QWidget* panel2_ = nullptr;
    std::vector<QPushButton*> buttons_;

    void applyAutostart();

    HistorySession& session_;
    std::function<void(const char* page)> showHelp_;
    const StartupEntry* startup_;
    int accepted_ = 0; // the history size OK took
};

// The program's name and version, the number of starts and the total running time, counting up
// once a second while the box is open.
class TFormAboutBox : public QDialog {
    Q_OBJECT

public:
    TFormAboutBox(HistorySession& session, std::array<std::uint16_t, 4> version, QWidget* parent = nullptr);

    // Shows the box modally.
    void showModalBox();

    // Fills the version, the start count and the running time, and starts counting.
    void FormShow();
    void Timer1Timer();

    QLabel* VersionNumber = nullptr;
    QLabel* ExecCount = nullptr;
    QLabel* TotalExecTime = nullptr;
    QTimer* Timer1 = nullptr;
    DateTime RunningTime = 0;

private:
    void ShowElapsed();

    HistorySession& session_;
    std::array<std::uint16_t, 4> version_;
};

} // namespace vendle::app
