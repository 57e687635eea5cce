// SPDX-License-Identifier: GPL-3.0-or-later
// A small always-on-top window that shows the progress of a long operation running on the
// user-interface thread, and the component that opens, updates and closes it.
#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace vendle::widgets {

class TFormProgress : public QDialog {
    Q_OBJECT

public:
    explicit TFormProgress(QWidget* parent = nullptr);

    void setRange(int min, int max, bool cancelVisible);
    void setStatusText(const QString& text);
    void setPendingPosition(int position) { pendingPosition_ = position; }
    bool continueFlag() const { return continue_; }

    QLabel* Status = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QPushButton* Btn_Cancel = nullptr;
    QTimer* Timer = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormShow();
    void TimerTimer();
    void Btn_CancelClick();

    bool continue_ = true;
    int pendingPosition_ = 0;
};

class TProgressBox : public QObject {
    Q_OBJECT

public:
    explicit TProgressBox(QObject* parent = nullptr);
    ~TProgressBox() override;

    int RefreshRate = 1000;
    QString Title;
    int Min = 0;
    int Max = 100;
    bool CancelBtnVisible = false;

    // Opens the window. Returns true.
    bool Execute();
    // Sets the position for the next refresh and the status text, lets every waiting event run,
    // and returns false once the user has cancelled.
    bool Progress(int position, const QString& text);
    // Closes and releases the window.
    void Close();

    TFormProgress* window() const { return form_; }

private:
    QPointer<TFormProgress> form_;
};

} // namespace vendle::widgets
