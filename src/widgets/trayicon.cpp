// SPDX-License-Identifier: GPL-3.0-or-later
#include "trayicon.h"

#include "core/text.h"

#include "core/texts.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

#include <exception>
#include <list>
#include <utility>

namespace vendle::widgets {

namespace {

// Identifiers of the living icons in creation order; a new icon takes the last one plus 1.
std::list<std::pair<int, TyTrayIcon*>>& identifiers() {
    static std::list<std::pair<int, TyTrayIcon*>> list;
    return list;
}

class QtTrayBackend final : public TrayBackend {
public:
    bool isAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

    bool add(const QIcon& icon, const QString* tip) override {
        // Without a notification area yet, Qt adds the icon once one appears (a panel that starts
        // after the program at log-in).
        ensureIcon();
        tray_->setIcon(icon);
        if (tip)
            tray_->setToolTip(*tip);
        tray_->show();
        return true;
    }

    bool modify(const QIcon& icon, const QString* tip) override {
        if (!tray_)
            return false;
        tray_->setIcon(icon);
        if (tip)
            tray_->setToolTip(*tip);
        return true;
    }

    void remove() override {
        if (tray_)
            tray_->hide();
    }

    void setNativeMenu(QMenu* menu) override {
        nativeMenu_ = menu;
        if (tray_)
            tray_->setContextMenu(menu);
    }

    void popup(QMenu* menu, const QPoint& pos) override {
        if (menu && menu != nativeMenu_)
            menu->popup(pos);
    }

    void setReceiver(TyTrayIcon* icon) override { receiver_ = icon; }

private:
    void ensureIcon() {
        if (tray_)
            return;
        tray_ = std::make_unique<QSystemTrayIcon>();
        tray_->setContextMenu(nativeMenu_);
        QObject::connect(tray_.get(), &QSystemTrayIcon::activated, tray_.get(),
                         [this](QSystemTrayIcon::ActivationReason r) {
                             if (!receiver_)
                                 return;
                             const QPoint pos = QCursor::pos();
                             using M = TyTrayIcon::Mouse;
                             switch (r) {
                             case QSystemTrayIcon::Trigger:
                                 receiver_->dispatch(M::LeftDown, pos);
                                 receiver_->dispatch(M::LeftUp, pos);
                                 break;
                             case QSystemTrayIcon::DoubleClick:
                                 receiver_->dispatch(M::LeftDoubleClick, pos);
                                 break;
                             case QSystemTrayIcon::Context:
                                 receiver_->dispatch(M::RightDown, pos);
                                 receiver_->dispatch(M::RightUp, pos);
                                 break;
                             case QSystemTrayIcon::MiddleClick:
                                 receiver_->dispatch(M::MiddleDown, pos);
                                 receiver_->dispatch(M::MiddleUp, pos);
                                 break;
                             case QSystemTrayIcon::Unknown:
                                 break;
                             }
                         });
    }

    std::unique_ptr<QSystemTrayIcon> tray_;
    QMenu* nativeMenu_ = nullptr;
    TyTrayIcon* receiver_ = nullptr;
};

} // namespace

const char* TrayIconError::what() const noexcept {
    // Made at the first use, when the program's catalogue is installed.
    static const std::string text =
        textIn("vendle::widgets::TyTrayIcon", "タスクトレイにアイコンを登録できません。");
    return text.c_str();
}

TyTrayIcon::TyTrayIcon(QObject* owner, std::unique_ptr<TrayBackend> backend)
    : QObject(owner), backend_(backend ? std::move(backend) : std::make_unique<QtTrayBackend>()) {
    auto& ids = identifiers();
    const int id = ids.empty() ? 1 : ids.back().first + 1;
    if (id >= 1000)
        throw TrayIconError();
    id_ = id;
    ids.emplace_back(id_, this);
    backend_->setReceiver(this);
}

TyTrayIcon::~TyTrayIcon() {
    // A shell that refuses to take the icon away at the end is no reason to fail the end.
    if (registered_) {
        try {
            notifyShell(Call::Delete);
        } catch (const std::exception&) {
        }
    }
    backend_->setReceiver(nullptr);
    identifiers().remove_if([this](const auto& entry) { return entry.second == this; });
}

void TyTrayIcon::setRBPopupMenu(QMenu* menu) {
    RBPopupMenu = menu;
    backend_->setNativeMenu(AutoPopup ? menu : nullptr);
}

void TyTrayIcon::notifyShell(Call call) {
    const QString tip = QString::fromStdString(tip_);
    const QString* tipArg = tip_.empty() ? nullptr : &tip;
    switch (call) {
    case Call::Add:
        if (!visible_)
            return;
        if (!backend_->add(icon_, tipArg))
            throw TrayIconError();
        registered_ = true;
        break;
    case Call::Modify:
        if (!backend_->modify(icon_, tipArg))
            throw TrayIconError();
        break;
    case Call::Delete:
        backend_->remove();
        registered_ = false;
        break;
    }
}

void TyTrayIcon::setIcon(const QIcon& icon) {
    if (icon.isNull()) {
        icon_ = QIcon();
        setVisible(false);
        return;
    }
    icon_ = icon;
    if (registered_)
        notifyShell(Call::Modify);
}

void TyTrayIcon::setTipHelp(const std::string& text) {
    const std::string cut(cutToBytes(text, kTipLimit, CodePage::utf8()));
    if (cut == tip_)
        return;
    tip_ = cut;
    if (registered_)
        notifyShell(Call::Modify);
}

void TyTrayIcon::setVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible && !icon_.isNull();
    if (visible_)
        notifyShell(Call::Add);
    else if (!visible_ && registered_)
        notifyShell(Call::Delete);
}

void TyTrayIcon::buttonDown(Qt::MouseButton button, QMenu* menu, const QPoint& pos) {
    if (menu && AutoPopup) {
        QApplication::processEvents();
        backend_->popup(menu, pos);
        return;
    }
    emit OnMouseDown(this, button, pos);
}

void TyTrayIcon::dispatch(Mouse message, const QPoint& pos) {
    switch (message) {
    case Mouse::Move:
        emit OnMouseMove(this, pos);
        break;
    case Mouse::LeftDown:
        buttonDown(Qt::LeftButton, LBPopupMenu, pos);
        break;
    case Mouse::LeftUp:
        emit OnMouseUp(this, Qt::LeftButton, pos);
        break;
    case Mouse::LeftDoubleClick:
        emit OnDblClick(this);
        break;
    case Mouse::RightDown:
        buttonDown(Qt::RightButton, RBPopupMenu, pos);
        break;
    case Mouse::RightUp:
        emit OnMouseUp(this, Qt::RightButton, pos);
        break;
    case Mouse::RightDoubleClick:
        break;
    case Mouse::MiddleDown:
        emit OnMouseDown(this, Qt::MiddleButton, pos);
        break;
    case Mouse::MiddleUp:
        emit OnMouseUp(this, Qt::MiddleButton, pos);
        break;
    }
}

} // namespace vendle::widgets
