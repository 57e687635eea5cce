// SPDX-License-Identifier: GPL-3.0-or-later
#include "valuebox.h"

#include "widgets/messagebox.h"

#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <qdrawutil.h>

namespace vendle::widgets {

TValueBox::TValueBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRepeat(true);
    }
    connect(up_, &QToolButton::clicked, this, [this] { arrowClick(1); });
    connect(down_, &QToolButton::clicked, this, [this] { arrowClick(-1); });
    blink_.setInterval(750);
    connect(&blink_, &QTimer::timeout, this, [this] {
        caretOn_ = !caretOn_;
        update();
    });
    resize(50, 20);
}

void TValueBox::setMax(int v) {
    if (v >= min_)
        max_ = v;
}

void TValueBox::setMin(int v) {
    if (v <= max_)
        min_ = v;
}

void TValueBox::setShowUpDown(bool show) {
    showUpDown_ = show;
    ArrangeControl();
}

void TValueBox::setUpDownWidth(int w) {
    upDownWidth_ = w;
    ArrangeControl();
}

void TValueBox::setValue(int v) {
    if (v < min_ || v > max_) {
        negative_ = false;
        entry_ = value_;
        if (ShowMessageBox) {
            MessageBox::show(this, tr("数値を%1～%2の間で指定してください").arg(min_).arg(max_),
                             MessageBox::Plain, tr("数値入力について"));
        }
    } else {
        negative_ = v < 0;
        entry_ = v;
        value_ = v;
    }
    update();
    emit OnChange(this);
}

void TValueBox::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        const int d = key - Qt::Key_0;
        if (negative_ && entry_ == 0)
            entry_ = -d;
        else if (negative_)
            entry_ = entry_ * 10 - d;
        else
            entry_ = entry_ * 10 + d;
    } else if (key == Qt::Key_Backspace || key == Qt::Key_Delete) {
        negative_ = false;
        entry_ = 0;
    } else if (key == Qt::Key_Space) {
        if (entry_ == 0)
            negative_ = false;
        setValue(static_cast<std::int16_t>(static_cast<std::uint16_t>(entry_ & 0xFFFF)));
    } else if (key == Qt::Key_Minus) {
        if (entry_ == 0 && min_ < 0)
            negative_ = true;
    } else {
        QFrame::keyPressEvent(event);
        return;
    }
    if (entry_ < -32768 || entry_ > 32767)
        entry_ = 0;
    update();
}

void TValueBox::focusInEvent(QFocusEvent* event) {
    blink_.start();
    caretOn_ = true;
    update();
    QFrame::focusInEvent(event);
}

void TValueBox::focusOutEvent(QFocusEvent* event) {
    blink_.stop();
    caretOn_ = false;
    setValue(entry_);
    QFrame::focusOutEvent(event);
}

void TValueBox::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    QFrame::mousePressEvent(event);
}

void TValueBox::arrowClick(int delta) {
    if (!hasFocus())
        setFocus(Qt::OtherFocusReason);
    if (value_ != entry_)
        setValue(entry_);
    const int next = value_ + delta;
    // The arrows do not move past the ends of the range.
    if (next < min_ || next > max_)
        return;
    setValue(next);
}

void TValueBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    ArrangeControl();
}

int TValueBox::paintWidth() const {
    const QRect inner = contentsRect();
    return showUpDown_ ? inner.width() - upDownWidth_ : inner.width();
}

void TValueBox::ArrangeControl() {
    const QRect inner = contentsRect();
    up_->setVisible(showUpDown_);
    down_->setVisible(showUpDown_);
    const int half = inner.height() / 2;
    up_->setGeometry(inner.right() + 1 - upDownWidth_, inner.top(), upDownWidth_, half);
    down_->setGeometry(inner.right() + 1 - upDownWidth_, inner.top() + half, upDownWidth_,
                       inner.height() - half);
    QFont f = font();
    f.setPointSize(std::max(1, height() - 11));
    setFont(f);
}

QString TValueBox::shownText() const {
    if (negative_ && entry_ == 0)
        return QStringLiteral("-");
    return QString::number(entry_);
}

void TValueBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inner = contentsRect();
    const int w = paintWidth();
    const QFontMetrics fm(font());
    const QString text = shownText();
    const int y = inner.top() + (inner.height() - fm.height()) / 2;
    int x = inner.left();
    if (Alignment & Qt::AlignRight)
        x = inner.left() + w - fm.horizontalAdvance(text);
    else if (Alignment & Qt::AlignHCenter)
        x = inner.left() + (w - fm.horizontalAdvance(text)) / 2;
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(x, y + fm.ascent(), text);
    if (caretOn_) {
        // The units digit (or the lone minus) in the selection colours marks the caret.
        const QString units = (negative_ && entry_ == 0) ? QStringLiteral("-") : text.right(1);
        const int uw = fm.horizontalAdvance(units);
        const int ux = x + fm.horizontalAdvance(text) - uw;
        const QRect r(ux, y, uw, fm.height());
        painter.fillRect(r, palette().color(QPalette::Highlight));
        painter.setPen(palette().color(QPalette::HighlightedText));
        painter.drawText(ux, y + fm.ascent(), units);
    }
}

TFormPanel::TFormPanel(QWidget* parent) : QFrame(parent) {}

void TFormPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(backgroundRole()));
    qDrawWinPanel(&painter, rect(), palette(), false);
}

} // namespace vendle::widgets
