// SPDX-License-Identifier: GPL-3.0-or-later
#include "keepbutton.h"

#include "platform/keyboardrepeat.h"

#include <QMouseEvent>
#include <QPainter>

namespace vendle::widgets {

TCustomKeepButton::TCustomKeepButton(QWidget* parent) : QWidget(parent) {
    resize(25, 25);
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, true);
    setSystemRepeatTime(true);
}

void TCustomKeepButton::setBody(TBody body) {
    if (body == body_)
        return;
    body_ = body;
    update();
}

void TCustomKeepButton::setFlat(bool flat) {
    setRaised(!flat);
    flat_ = flat;
}

void TCustomKeepButton::setPressed(bool pressed) {
    if (pressed == pressed_)
        return;
    pressed_ = pressed;
    update();
}

void TCustomKeepButton::setRaised(bool raised) {
    if (raised == raised_)
        return;
    raised_ = raised;
    update();
}

void TCustomKeepButton::setAutoRepeat(bool on) {
    if (on == AutoRepeat())
        return;
    if (on) {
        timer_ = new QTimer(this);
        timer_->stop();
        connect(timer_, &QTimer::timeout, this, &TCustomKeepButton::timerTick);
        currentInterval_ = delay_;
        timer_->setInterval(static_cast<int>(currentInterval_));
    } else {
        delete timer_;
        timer_ = nullptr;
    }
}

void TCustomKeepButton::setDelay(unsigned ms) {
    if (!systemRepeatTime_)
        delay_ = ms;
}

void TCustomKeepButton::setSpeed(unsigned ms) {
    if (!systemRepeatTime_)
        speed_ = ms;
}

void TCustomKeepButton::setSystemRepeatTime(bool on) {
    systemRepeatTime_ = on;
    if (!on)
        return;
    // Where the desktop does not tell (no X server), the stored values stay in force: the flag
    // turns off, as when the system query fails.
    const platform::KeyboardRepeatSetting setting = platform::keyboardRepeatSetting();
    if (setting.known) {
        const RepeatTimes times = repeatTimesFor(setting.delayMs, setting.intervalMs);
        delay_ = times.delay;
        speed_ = times.speed;
    } else {
        systemRepeatTime_ = false;
    }
}

void TCustomKeepButton::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit OnMouseDown(event->button(), event->modifiers(), p.x(), p.y());
    if (event->button() != Qt::LeftButton)
        return;
    captured_ = true;
    inside_ = true;
    setPressed(true);
    repeatCount_ = 0;
    if (!timer_)
        return;
    if (currentInterval_ != delay_) {
        currentInterval_ = delay_;
        timer_->setInterval(static_cast<int>(currentInterval_));
    }
    // An interval of 0 would tick without pause: it means no repeats at all.
    if (currentInterval_ > 0)
        timer_->start();
    emit OnClick(this);
}

void TCustomKeepButton::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    // While captured the move events keep coming from outside; they stand in for enter and leave.
    if (captured_)
        mouseInside(rect().contains(p));
    emit OnMouseMove(event->modifiers(), p.x(), p.y());
}

void TCustomKeepButton::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    emit OnMouseUp(event->button(), event->modifiers(), p.x(), p.y());
    if (pressed_ && !timer_)
        emit OnClick(this);
    captured_ = false;
    if (flat_ && !rect().contains(p))
        setRaised(false);
    setPressed(false);
    if (timer_)
        timer_->stop();
}

void TCustomKeepButton::enterEvent(QEnterEvent* event) {
    if (!captured_)
        mouseInside(true);
    QWidget::enterEvent(event);
}

void TCustomKeepButton::leaveEvent(QEvent* event) {
    if (!captured_)
        mouseInside(false);
    QWidget::leaveEvent(event);
}

void TCustomKeepButton::mouseInside(bool inside) {
    if (inside == inside_ && captured_)
        return;
    inside_ = inside;
    if (inside) {
        if (captured_ && !pressed_)
            setPressed(true);
        if (!captured_ && flat_)
            setRaised(true);
    } else {
        if (captured_ && !KeepPressedOutside)
            setPressed(false);
        if (!captured_ && flat_)
            setRaised(false);
    }
}

void TCustomKeepButton::timerTick() {
    if (pressed_) {
        ++repeatCount_;
        emit OnClick(this);
    }
    if (timer_ && currentInterval_ != speed_) {
        currentInterval_ = speed_;
        timer_->setInterval(static_cast<int>(currentInterval_));
        if (currentInterval_ == 0)
            timer_->stop();
    }
}

void TCustomKeepButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& pal = palette();
    if (!flat_ && body_ != bdNone)
        painter.fillRect(rect(), pal.color(QPalette::Button));
    const QColor light = pal.color(QPalette::Midlight);
    const QColor highlight = pal.color(QPalette::Light);
    const QColor face = pal.color(QPalette::Button);
    const QColor shadow = pal.color(QPalette::Mid);
    const QColor dark = pal.color(QPalette::Dark);
    const QColor black = Qt::black;
    struct Frame {
        const QColor* topLeft;
        const QColor* bottomRight;
    };
    // Per body: pressed inset 0, pressed inset 1, raised inset 0, raised inset 1.
    const Frame none{nullptr, nullptr};
    Frame frames[4] = {none, none, none, none};
    switch (body_) {
    case bdFull:
        frames[0] = {&shadow, &highlight};
        frames[1] = {&dark, &light};
        frames[2] = {&light, &dark};
        frames[3] = {&highlight, &shadow};
        break;
    case bdMedium:
        frames[0] = {&black, &highlight};
        frames[1] = {&shadow, &face};
        frames[2] = {&highlight, &black};
        frames[3] = {&face, &shadow};
        break;
    case bdLight:
        frames[0] = {&shadow, &highlight};
        frames[2] = {&highlight, &shadow};
        break;
    case bdNone:
        break;
    }
    const auto draw = [&](const Frame& f, int inset) {
        if (!f.topLeft)
            return;
        const FramePixels px = framePixels(width(), height(), inset, raised_);
        painter.setPen(*f.topLeft);
        for (const PartPoint& p : px.topLeft)
            painter.drawPoint(p.x, p.y);
        painter.setPen(*f.bottomRight);
        for (const PartPoint& p : px.bottomRight)
            painter.drawPoint(p.x, p.y);
    };
    if (pressed_) {
        draw(frames[0], 0);
        draw(frames[1], 1);
    } else if (raised_) {
        draw(frames[2], 0);
        draw(frames[3], 1);
    }
    paintContent(painter);
}

TUpDownButtonPart::TUpDownButtonPart(TButtonType type, QWidget* parent)
    : TCustomKeepButton(parent), type_(type) {
    setAutoRepeat(true);
    setBody(bdFull);
}

ArrowShape TUpDownButtonPart::arrow() const {
    int w = width();
    int h = height();
    // A stacked pair draws arrows of the same size: the smaller partner decides.
    if (parentWidget()) {
        for (const auto* other :
             parentWidget()->findChildren<TUpDownButtonPart*>(Qt::FindDirectChildrenOnly)) {
            if (other->x() == x() && other->width() == width() && other->height() < h)
                h = other->height();
            if (other->y() == y() && other->height() == height() && other->width() < w)
                w = other->width();
        }
    }
    return arrowShape(type_, Body(), width(), height(), w, h, Pressed());
}

void TUpDownButtonPart::paintContent(QPainter& painter) {
    const ArrowShape a = arrow();
    const QColor text = palette().color(QPalette::WindowText);
    painter.setPen(text);
    painter.setBrush(text);
    if (a.size == 1) {
        painter.drawPoint(a.left.x, a.left.y);
    } else if (a.size > 1) {
        const QPoint tri[3] = {{a.left.x, a.left.y}, {a.right.x, a.right.y}, {a.apex.x, a.apex.y}};
        painter.drawPolygon(tri, 3);
    }
}

TSliderPart::TSliderPart(QWidget* parent) : TCustomKeepButton(parent) {
    setBody(bdLight);
    KeepPressedOutside = true;
}

} // namespace vendle::widgets
