// SPDX-License-Identifier: GPL-3.0-or-later
#include "progressbox.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace vendle::widgets {

TFormProgress::TFormProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FormProgress"));
    setWindowTitle(tr("処理経過"));
    setModal(false);
    QFont f = font();
    f.setPixelSize(12);
    setFont(f);

    Status = new QLabel(tr("??????を処理中..."), this);
    Status->setObjectName(QStringLiteral("Status"));
    Status->setGeometry(20, 4, 82, 12);

    ProgressBar = new QProgressBar(this);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(20, 20, 253, 17);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(50);
    ProgressBar->setTextVisible(false);

    Btn_Cancel = new QPushButton(tr("キャンセル"), this);
    Btn_Cancel->setObjectName(QStringLiteral("Btn_Cancel"));
    Btn_Cancel->setGeometry(103, 48, 86, 21);
    Btn_Cancel->setFocusPolicy(Qt::ClickFocus);
    Btn_Cancel->setAutoDefault(false);
    connect(Btn_Cancel, &QPushButton::clicked, this, &TFormProgress::Btn_CancelClick);

    Timer = new QTimer(this);
    connect(Timer, &QTimer::timeout, this, &TFormProgress::TimerTimer);

    setFixedSize(292, 75);
}

void TFormProgress::setRange(int min, int max, bool cancelVisible) {
    ProgressBar->setRange(min, max);
    Btn_Cancel->setVisible(cancelVisible);
}

void TFormProgress::setStatusText(const QString& text) {
    Status->setText(text);
    // The label grows with its text, as far as the window allows.
    Status->resize(std::min(Status->sizeHint().width(), width() - 20), 12);
}

void TFormProgress::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TFormProgress::FormShow() {
    continue_ = true;
    pendingPosition_ = 0;
    setFixedSize(292, Btn_Cancel->isVisibleTo(this) ? 75 : 45);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    TimerTimer();
}

void TFormProgress::TimerTimer() {
    ProgressBar->setValue(pendingPosition_);
    ProgressBar->repaint();
}

void TFormProgress::Btn_CancelClick() {
    continue_ = false;
}

void TFormProgress::reject() {
    // Esc is the Cancel button's key while it is shown; without it the window cannot be dismissed.
    if (Btn_Cancel->isVisibleTo(this))
        Btn_CancelClick();
}

TProgressBox::TProgressBox(QObject* parent) : QObject(parent) {}

TProgressBox::~TProgressBox() {
    Close();
}

bool TProgressBox::Execute() {
    Close();
    form_ = new TFormProgress();
    form_->Timer->setInterval(RefreshRate);
    if (!Title.isEmpty())
        form_->setWindowTitle(Title);
    form_->setStatusText(QString());
    form_->setRange(Min, Max, CancelBtnVisible);
    form_->Timer->start();
    form_->show();
    return true;
}

bool TProgressBox::Progress(int position, const QString& text) {
    if (!form_)
        return true;
    form_->setPendingPosition(position);
    form_->setStatusText(text);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return form_ ? form_->continueFlag() : false;
}

void TProgressBox::Close() {
    if (form_) {
        form_->Timer->stop();
        form_->close();
        delete form_.data();
    }
    form_ = nullptr;
}

} // namespace vendle::widgets
