// SPDX-License-Identifier: GPL-3.0-or-later
#include "slideupdown.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTextEdit>

#include <algorithm>
#include <vector>

namespace vendle::widgets {

namespace {

// The controls that take the Up and Down keys of their associates, and the filter that sees every
// key before the focused widget does: a key is swallowed only when every control answers 1.
class ArrowKeyRegistry : public QObject {
public:
    static ArrowKeyRegistry& instance() {
        static ArrowKeyRegistry registry;
        return registry;
    }

    void hook(TSlideUpDown* control) {
        if (controls_.empty() && qApp)
            qApp->installEventFilter(this);
        if (std::find(controls_.begin(), controls_.end(), control) == controls_.end())
            controls_.push_back(control);
    }

    void unhook(TSlideUpDown* control) {
        std::erase(controls_, control);
        if (controls_.empty() && qApp)
            qApp->removeEventFilter(this);
    }

    bool contains(const TSlideUpDown* control) const {
        return std::find(controls_.begin(), controls_.end(), control) != controls_.end();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        // A key event travels up the parents; the keystroke is judged once, at the focus widget.
        if (watched != QApplication::focusWidget())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        bool pass = false;
        for (TSlideUpDown* control : std::vector<TSlideUpDown*>(controls_)) {
            if (control->arrowKeyMessage(key->key(), event->type() == QEvent::KeyPress) == 0)
                pass = true;
        }
        return !pass;
    }

private:
    std::vector<TSlideUpDown*> controls_;
};

QString textOf(QWidget* w) {
    if (auto* line = qobject_cast<QLineEdit*>(w))
        return line->text();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w))
        return plain->toPlainText();
    if (auto* rich = qobject_cast<QTextEdit*>(w))
        return rich->toPlainText();
    return {};
}

bool setTextOf(QWidget* w, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        line->setText(text);
        return true;
    }
    if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) {
        plain->setPlainText(text);
        return true;
    }
    if (auto* rich = qobject_cast<QTextEdit*>(w)) {
        rich->setPlainText(text);
        return true;
    }
    return false;
}

NumberSeparators localeSeparators() {
    const QLocale locale;
    return {locale.groupSeparator().toStdString(), locale.decimalPoint().toStdString()};
}

} // namespace

// --- Property objects --------------------------------------------------------------------------

TBody TSlideUpDown::ButtonProperty::Body() const {
    return owner_.up_->Body();
}
void TSlideUpDown::ButtonProperty::setBody(TBody body) {
    owner_.up_->setBody(body);
    owner_.down_->setBody(body);
}
bool TSlideUpDown::ButtonProperty::Flat() const {
    return owner_.up_->Flat();
}
void TSlideUpDown::ButtonProperty::setFlat(bool flat) {
    owner_.up_->setFlat(flat);
    owner_.down_->setFlat(flat);
}
unsigned TSlideUpDown::ButtonProperty::Delay() const {
    return owner_.up_->Delay();
}
void TSlideUpDown::ButtonProperty::setDelay(unsigned ms) {
    owner_.up_->setDelay(ms);
    owner_.down_->setDelay(ms);
}
unsigned TSlideUpDown::ButtonProperty::Speed() const {
    return owner_.up_->Speed();
}
void TSlideUpDown::ButtonProperty::setSpeed(unsigned ms) {
    owner_.up_->setSpeed(ms);
    owner_.down_->setSpeed(ms);
}
bool TSlideUpDown::ButtonProperty::SystemRepeatTime() const {
    return owner_.up_->SystemRepeatTime();
}
void TSlideUpDown::ButtonProperty::setSystemRepeatTime(bool on) {
    owner_.up_->setSystemRepeatTime(on);
    owner_.down_->setSystemRepeatTime(on);
}
void TSlideUpDown::PartQuantity::setQuantity(Extended v) {
    quantity_ = v;
    if (!owner_.loading_ && owner_.quantity_ != 0)
        Ratio = v / owner_.quantity_;
}

TBody TSlideUpDown::SliderProperty::Body() const {
    return owner_.slider_->Body();
}
void TSlideUpDown::SliderProperty::setBody(TBody body) {
    owner_.slider_->setBody(body);
}
bool TSlideUpDown::SliderProperty::Flat() const {
    return owner_.slider_->Flat();
}
void TSlideUpDown::SliderProperty::setFlat(bool flat) {
    owner_.slider_->setFlat(flat);
}
Qt::CursorShape TSlideUpDown::SliderProperty::Cursor() const {
    return owner_.slider_->cursor().shape();
}
void TSlideUpDown::SliderProperty::setCursor(Qt::CursorShape shape) {
    owner_.slider_->setCursor(shape);
}
int TSlideUpDown::SliderProperty::Height() const {
    return owner_.sliderHeight_;
}
void TSlideUpDown::SliderProperty::setHeight(int h) {
    owner_.sliderHeight_ = h;
    owner_.ArrangeParts();
}

TSlideUpDown::LoadingScope::LoadingScope(TSlideUpDown& control) : control_(control) {
    ++control_.loading_;
}
TSlideUpDown::LoadingScope::~LoadingScope() {
    if (--control_.loading_ == 0)
        control_.endLoading();
}

// --- The control -------------------------------------------------------------------------------

TSlideUpDown::TSlideUpDown(QWidget* parent) : QWidget(parent) {
    // The slider lies under the buttons: it is reachable only in the strip between them.
    slider_ = new TSliderPart(this);
    up_ = new TUpDownButtonPart(btUp, this);
    down_ = new TUpDownButtonPart(btDown, this);
    connect(up_, &TCustomKeepButton::OnClick, this, &TSlideUpDown::ButtonStep);
    connect(down_, &TCustomKeepButton::OnClick, this, &TSlideUpDown::ButtonStep);
    connect(slider_, &TCustomKeepButton::OnMouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
                focusAssociate();
                startPosition_ = Position();
                startX_ = x;
                startY_ = y;
                emit OnSliderDown(this, b, m, x, y);
            });
    connect(slider_, &TCustomKeepButton::OnMouseMove, this, [this](Qt::KeyboardModifiers m, int x, int y) {
        if (slider_->Pressed())
            MovePosition(startPosition_, Slider.Quantity() * (startY_ - y));
        emit OnSliderMove(this, m, x, y);
    });
    connect(slider_, &TCustomKeepButton::OnMouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers m, int x, int y) {
                emit OnSliderUp(this, b, m, x, y);
            });

    confine_.Wrap = false;
    confine_.SetMax(100);
    confine_.SetMin(0);
    Buttons.setBody(bdFull);
    Slider.setBody(bdLight);
    Slider.setCursor(Qt::SplitVCursor);
    position_ = 1;
    increment_ = 1;
    setQuantity(1);
    setFunctionKind(fkLinear);
    resize(12, 20);
    ArrangeParts();
    if (parent)
        setArrowKeys(true);
}

TSlideUpDown::~TSlideUpDown() {
    ArrowKeyRegistry::instance().unhook(this);
}

bool TSlideUpDown::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange && parentWidget())
        setArrowKeys(true);
    return QWidget::event(event);
}

void TSlideUpDown::endLoading() {
    if (quantity_ != 0) {
        Slider.Ratio = Slider.Quantity() / quantity_;
        Buttons.Ratio = Buttons.Quantity() / quantity_;
    }
}

Extended TSlideUpDown::ShiftedValue(Extended base, Extended delta) const {
    return functions_.ValueOf(functions_.StepOf(base) + delta);
}

void TSlideUpDown::MovePosition(Extended base, Extended delta) {
    setPosition(ShiftedValue(base, delta));
}

Extended TSlideUpDown::IncrementFromRate() const {
    return ShiftedValue(position_, quantity_) - position_;
}

Extended TSlideUpDown::RateFromIncrement() const {
    return increment_ != 0 ? functions_.RateFor(increment_, quantity_, position_) : 0;
}

Extended TSlideUpDown::Position() {
    SyncFromAssociate();
    return position_;
}

void TSlideUpDown::setPosition(Extended x) {
    position_ = confine_.Confine(x);
    increment_ = IncrementFromRate();
    WriteAssociateText();
    emit OnChange(this);
}

void TSlideUpDown::setQuantity(Extended q) {
    quantity_ = q;
    if (loading_)
        return;
    Slider.quantity_ = q * Slider.Ratio;
    Buttons.quantity_ = q * Buttons.Ratio;
    increment_ = IncrementFromRate();
}

void TSlideUpDown::setRate(Extended r) {
    functions_.SetRate(r);
    if (!loading_)
        increment_ = IncrementFromRate();
}

void TSlideUpDown::setIncrement(Extended i) {
    increment_ = i;
    if (!loading_)
        functions_.SetRate(RateFromIncrement());
}

void TSlideUpDown::setFunctionKind(int kind) {
    functions_.SetKind(kind);
    if (!loading_)
        functions_.SetRate(RateFromIncrement());
}

void TSlideUpDown::setFormat(const QString& picture) {
    format_ = picture;
    WriteAssociateText();
}

void TSlideUpDown::setMin(Extended v) {
    confine_.SetMin(v);
    position_ = confine_.Confine(position_);
}

void TSlideUpDown::setMax(Extended v) {
    confine_.SetMax(v);
    position_ = confine_.Confine(position_);
}

bool TSlideUpDown::validAssociate() {
    if (associate_)
        return true;
    if (hadAssociate_) {
        // The associate's window is gone: drop it as if none had been assigned.
        hadAssociate_ = false;
        ArrowKeyRegistry::instance().unhook(this);
    }
    return false;
}

QWidget* TSlideUpDown::Associate() {
    return validAssociate() ? associate_.data() : nullptr;
}

void TSlideUpDown::setAssociate(QWidget* associate) {
    if (associate == this)
        return;
    associate_ = associate;
    hadAssociate_ = associate != nullptr;
    ArrowKeyRegistry::instance().unhook(this);
    Extended v = 0;
    if (ReadAssociateValue(v))
        setPosition(v);
    if (!WriteAssociateText()) {
        associate_ = nullptr;
        hadAssociate_ = false;
    }
    AlignToAssociate();
    if (arrowKeys_ && validAssociate())
        ArrowKeyRegistry::instance().hook(this);
}

void TSlideUpDown::setAlignButton(TAlignButton align) {
    align_ = align;
    AlignToAssociate();
}

void TSlideUpDown::setArrowKeys(bool on) {
    arrowKeys_ = on;
    if (!on)
        ArrowKeyRegistry::instance().unhook(this);
    else if (validAssociate())
        ArrowKeyRegistry::instance().hook(this);
}

void TSlideUpDown::setSystemWidth(bool on) {
    systemWidth_ = on;
    if (on)
        resize(style()->pixelMetric(QStyle::PM_ScrollBarExtent), height());
}

bool TSlideUpDown::ReadAssociateValue(Extended& value) {
    if (!validAssociate())
        return false;
    const ReadNumber n = TextToValue(textOf(associate_).toStdString(), localeSeparators());
    value = n.value;
    return n.ok;
}

bool TSlideUpDown::WriteAssociateText() {
    if (!validAssociate())
        return false;
    const QString text =
        QString::fromStdString(FormatPicture(format_.toStdString(), position_, localeSeparators()));
    if (!setTextOf(associate_, text))
        return false;
    Extended v = 0;
    ReadAssociateValue(v);
    lastWrittenValue_ = v;
    return true;
}

void TSlideUpDown::SyncFromAssociate() {
    Extended v = 0;
    if (ReadAssociateValue(v) && v != lastWrittenValue_)
        setPosition(v);
}

void TSlideUpDown::focusAssociate() {
    if (validAssociate())
        associate_->setFocus(Qt::OtherFocusReason);
}

void TSlideUpDown::ButtonStep(TCustomKeepButton* button) {
    focusAssociate();
    const int n = button->RepeatCount();
    if (n == 0)
        startPosition_ = Position();
    const auto* part = static_cast<TUpDownButtonPart*>(button);
    const Extended steps = static_cast<Extended>(n + 1) * Buttons.Quantity();
    MovePosition(startPosition_, part->ButtonType() == btUp ? steps : -steps);
    emit OnButtonClick(this, part->ButtonType());
}

int TSlideUpDown::arrowKeyMessage(int key, bool press) {
    if (!press || !validAssociate() || QApplication::focusWidget() != associate_)
        return 0;
    if (key == Qt::Key_Up) {
        MovePosition(Position(), Buttons.Quantity());
        return 1;
    }
    if (key == Qt::Key_Down) {
        MovePosition(Position(), -Buttons.Quantity());
        return 1;
    }
    return 0;
}

bool TSlideUpDown::IsAlignedToAssociate() {
    if (!validAssociate())
        return false;
    const QRect a = associate_->geometry();
    const QRect c = geometry();
    if (a.top() != c.top() || a.height() != c.height())
        return false;
    switch (align_) {
    case sudRight:
        return c.left() == a.left() + a.width();
    case sudLeft:
        return c.left() == a.left() - c.width();
    case sudNone:
        break;
    }
    return true;
}

void TSlideUpDown::AlignToAssociate() {
    if (!validAssociate() || IsAlignedToAssociate())
        return;
    const QRect a = associate_->geometry();
    if (align_ == sudRight)
        setGeometry(a.left() + a.width(), a.top(), width(), a.height());
    else if (align_ == sudLeft)
        setGeometry(a.left() - width(), a.top(), width(), a.height());
}

void TSlideUpDown::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    boundsChanged();
}

void TSlideUpDown::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    boundsChanged();
}

void TSlideUpDown::boundsChanged() {
    if (!loading_ && systemWidth_ && width() != style()->pixelMetric(QStyle::PM_ScrollBarExtent))
        systemWidth_ = false;
    if (validAssociate() && !IsAlignedToAssociate())
        align_ = sudNone;
    ArrangeParts();
}

void TSlideUpDown::ArrangeParts() {
    if (!slider_)
        return;
    const int w = width();
    const int h = height();
    const int a = (h - sliderHeight_) / 2;
    slider_->setGeometry(0, 0, w, h);
    up_->setGeometry(0, 0, w, a);
    down_->setGeometry(0, a + sliderHeight_, w, h - a - sliderHeight_);
}

} // namespace vendle::widgets
