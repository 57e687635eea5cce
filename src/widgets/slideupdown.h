// SPDX-License-Identifier: GPL-3.0-or-later
// A narrow vertical spin control: an up button, a thin drag strip and a down button. It keeps a
// floating-point Position inside Min..Max through a value function (linear or exponential steps),
// writes it into an associated text box beside which it docks, reads back what is typed there, and
// steps with the Up and Down keys while that box has the focus.
#pragma once

#include "core/numericpicture.h"
#include "core/partgeometry.h"
#include "core/sudfunctions.h"
#include "widgets/keepbutton.h"

#include <QPointer>
#include <QWidget>

namespace vendle::widgets {

enum TAlignButton { sudRight, sudLeft, sudNone };

class TSlideUpDown : public QWidget {
    Q_OBJECT

public:
    explicit TSlideUpDown(QWidget* parent = nullptr);
    ~TSlideUpDown() override;

    // While a scope lives, setters only store values (as while stored properties are loaded); its
    // end settles the derived values.
    class LoadingScope {
    public:
        explicit LoadingScope(TSlideUpDown& control);
        ~LoadingScope();
        LoadingScope(const LoadingScope&) = delete;
        LoadingScope& operator=(const LoadingScope&) = delete;

    private:
        TSlideUpDown& control_;
    };

    // The steps per button step or per pixel of drag, kept as a ratio to the control's Quantity.
    class PartQuantity {
    public:
        explicit PartQuantity(TSlideUpDown& owner) : owner_(owner) {}
        Extended Quantity() const { return quantity_; }
        // Outside loading, and while the control's Quantity is not 0, the ratio follows.
        void setQuantity(Extended v);
        Extended Ratio = 1;

    protected:
        friend class TSlideUpDown;
        TSlideUpDown& owner_;
        Extended quantity_ = 1;
    };

    // Settings of both buttons; Body, Flat, Delay, Speed and SystemRepeatTime live in the buttons.
    class ButtonProperty : public PartQuantity {
    public:
        using PartQuantity::PartQuantity;
        TBody Body() const;
        void setBody(TBody body);
        bool Flat() const;
        void setFlat(bool flat);
        unsigned Delay() const;
        void setDelay(unsigned ms);
        unsigned Speed() const;
        void setSpeed(unsigned ms);
        bool SystemRepeatTime() const;
        void setSystemRepeatTime(bool on);
    };

    // Settings of the drag strip.
    class SliderProperty : public PartQuantity {
    public:
        using PartQuantity::PartQuantity;
        TBody Body() const;
        void setBody(TBody body);
        bool Flat() const;
        void setFlat(bool flat);
        Qt::CursorShape Cursor() const;
        void setCursor(Qt::CursorShape shape);
        int Height() const;
        void setHeight(int h);
    };

    ButtonProperty Buttons{*this};
    SliderProperty Slider{*this};

    // Reading adopts a value typed into the associate first.
    Extended Position();
    void setPosition(Extended x);
    Extended storedPosition() const { return position_; }

    Extended Quantity() const { return quantity_; }
    void setQuantity(Extended q);
    Extended Rate() const { return functions_.GetRate(); }
    void setRate(Extended r);
    Extended Increment() const { return increment_; }
    void setIncrement(Extended i);
    int FunctionKind() const { return functions_.FunctionKind(); }
    void setFunctionKind(int kind);
    const QString& Format() const { return format_; }
    void setFormat(const QString& picture);
    Extended Min() const { return confine_.Min(); }
    void setMin(Extended v);
    Extended Max() const { return confine_.Max(); }
    void setMax(Extended v);
    bool Wrap() const { return confine_.Wrap; }
    void setWrap(bool wrap) { confine_.Wrap = wrap; }

    // A QLineEdit, QPlainTextEdit or QTextEdit; none when it has been destroyed.
    QWidget* Associate();
    void setAssociate(QWidget* associate);
    TAlignButton AlignButton() const { return align_; }
    void setAlignButton(TAlignButton align);
    bool ArrowKeys() const { return arrowKeys_; }
    void setArrowKeys(bool on);
    bool SystemWidth() const { return systemWidth_; }
    void setSystemWidth(bool on);

    TUpDownButtonPart* upButton() const { return up_; }
    TUpDownButtonPart* downButton() const { return down_; }
    TSliderPart* sliderPart() const { return slider_; }

    // The arrow-key message: 1 when the key stepped the value (and is to be swallowed), else 0.
    int arrowKeyMessage(int key, bool press);

    bool IsAlignedToAssociate();
    void AlignToAssociate();

signals:
    void OnChange(TSlideUpDown* sender);
    void OnButtonClick(TSlideUpDown* sender, TButtonType button);
    void OnSliderDown(TSlideUpDown* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                      int y);
    void OnSliderMove(TSlideUpDown* sender, Qt::KeyboardModifiers shift, int x, int y);
    void OnSliderUp(TSlideUpDown* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

protected:
    bool event(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    Extended ShiftedValue(Extended base, Extended delta) const;
    void MovePosition(Extended base, Extended delta);
    Extended IncrementFromRate() const;
    Extended RateFromIncrement() const;
    bool ReadAssociateValue(Extended& value);
    bool WriteAssociateText();
    void SyncFromAssociate();
    void ArrangeParts();
    void ButtonStep(TCustomKeepButton* button);
    void boundsChanged();
    void focusAssociate();
    bool validAssociate();
    void endLoading();

    TUpDownButtonPart* up_ = nullptr;
    TUpDownButtonPart* down_ = nullptr;
    TSliderPart* slider_ = nullptr;
    TfConfine confine_;
    TSUDFunctions functions_;
    Extended position_ = 1;
    Extended quantity_ = 1;
    Extended increment_ = 1;
    QString format_ = QStringLiteral("#,##0.00");
    QPointer<QWidget> associate_;
    bool hadAssociate_ = false;
    TAlignButton align_ = sudRight;
    bool arrowKeys_ = false;
    bool systemWidth_ = false;
    int sliderHeight_ = 3;
    int loading_ = 0;
    Extended startPosition_ = 0;
    int startX_ = 0;
    int startY_ = 0;
    Extended lastWrittenValue_ = 0;
};

} // namespace vendle::widgets
