// SPDX-License-Identifier: GPL-3.0-or-later
// The windowless parts of the slide up-down control: a button that tracks its pressed state while
// the left mouse button is held and can auto-repeat its click, the arrow button built on it, and
// the drag strip that stays pressed while dragged outside.
#pragma once

#include "core/partgeometry.h"

#include <QTimer>
#include <QWidget>

namespace vendle::widgets {

class TCustomKeepButton : public QWidget {
    Q_OBJECT

public:
    explicit TCustomKeepButton(QWidget* parent = nullptr);

    TBody Body() const { return body_; }
    void setBody(TBody body);
    bool Flat() const { return flat_; }
    void setFlat(bool flat);
    bool Captured() const { return captured_; }
    bool Pressed() const { return pressed_; }
    bool Raised() const { return raised_; }
    bool KeepPressedOutside = false;

    bool AutoRepeat() const { return timer_ != nullptr; }
    void setAutoRepeat(bool on);
    unsigned Delay() const { return delay_; }
    void setDelay(unsigned ms);
    unsigned Speed() const { return speed_; }
    void setSpeed(unsigned ms);
    bool SystemRepeatTime() const { return systemRepeatTime_; }
    void setSystemRepeatTime(bool on);
    unsigned CurrentInterval() const { return currentInterval_; }
    int RepeatCount() const { return repeatCount_; }
    QTimer* RepeatTimer() const { return timer_; }

signals:
    void OnClick(TCustomKeepButton* sender);
    void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    // Drawn after the frames (the arrow of an up/down button).
    virtual void paintContent(class QPainter&) {}

    void setPressed(bool pressed);
    void setRaised(bool raised);

private:
    void timerTick();
    void mouseInside(bool inside);

    TBody body_ = bdMedium;
    bool flat_ = false;
    bool captured_ = false;
    bool pressed_ = false;
    bool raised_ = true;
    bool inside_ = false;
    unsigned delay_ = 0;
    unsigned speed_ = 0;
    bool systemRepeatTime_ = true;
    unsigned currentInterval_ = 0;
    int repeatCount_ = 0;
    QTimer* timer_ = nullptr;
};

class TUpDownButtonPart : public TCustomKeepButton {
    Q_OBJECT

public:
    explicit TUpDownButtonPart(TButtonType type, QWidget* parent = nullptr);
    TButtonType ButtonType() const { return type_; }

    // The arrow as drawn now, in the button's own co-ordinates.
    ArrowShape arrow() const;

protected:
    void paintContent(QPainter& painter) override;

private:
    TButtonType type_;
};

class TSliderPart : public TCustomKeepButton {
    Q_OBJECT

public:
    explicit TSliderPart(QWidget* parent = nullptr);
};

} // namespace vendle::widgets
