// SPDX-License-Identifier: GPL-3.0-or-later
// A small integer entry box: digits typed while it has the focus form an entry that becomes the
// value when committed (Space, leaving the box, or an arrow click); a value outside Min..Max is
// refused. The units digit blinks as the caret.
#pragma once

#include <QFrame>
#include <QTimer>

class QToolButton;

namespace vendle::widgets {

class TValueBox : public QFrame {
    Q_OBJECT

public:
    explicit TValueBox(QWidget* parent = nullptr);

    int Max() const { return max_; }
    void setMax(int v);
    int Min() const { return min_; }
    void setMin(int v);
    bool ShowUpDown() const { return showUpDown_; }
    void setShowUpDown(bool show);
    bool ShowMessageBox = false;
    int UpDownWidth() const { return upDownWidth_; }
    void setUpDownWidth(int w);
    Qt::Alignment Alignment = Qt::AlignRight;

    int Value() const { return value_; }
    // The commit: refused outside Min..Max (the entry returns to the value).
    void setValue(int v);

    int Entry() const { return entry_; }
    bool Negative() const { return negative_; }
    bool CaretOn() const { return caretOn_; }
    // The number as shown: "-" while only a minus sign has been typed.
    QString shownText() const;

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    void OnChange(TValueBox* sender);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ArrangeControl();
    void arrowClick(int delta);
    int paintWidth() const;

    int min_ = 0;
    int max_ = 255;
    int value_ = 0;
    int entry_ = 0;
    bool negative_ = false;
    bool caretOn_ = false;
    bool showUpDown_ = true;
    int upDownWidth_ = 15;
    QTimer blink_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

// A panel drawn as a plain raised plate: its colour and a raised double edge, nothing else.
class TFormPanel : public QFrame {
    Q_OBJECT

public:
    explicit TFormPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vendle::widgets
