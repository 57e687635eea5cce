// SPDX-License-Identifier: GPL-3.0-or-later
// An icon with a tip in the desktop's notification area whose mouse notifications become events or
// a popup menu. Each icon has a process-wide identifier (1 to 999).
#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>

#include <memory>
#include <new>
#include <string>

class QMenu;

namespace vendle::widgets {

// What the notification area does with an icon; the default uses QSystemTrayIcon.
class TrayBackend {
public:
    virtual ~TrayBackend() = default;
    virtual bool isAvailable() const = 0;
    virtual bool add(const QIcon& icon, const QString* tip) = 0;    // tip null: keep the shell's
    virtual bool modify(const QIcon& icon, const QString* tip) = 0; // false when refused
    virtual void remove() = 0;
    // The menu the notification area opens by itself on a right click, if it can.
    virtual void setNativeMenu(QMenu* menu) = 0;
    // Pops a menu up at a screen position (nothing when the area already opened it natively).
    virtual void popup(QMenu* menu, const QPoint& pos) = 0;
    // Called by the icon: where to deliver the area's notifications.
    virtual void setReceiver(class TyTrayIcon* icon) = 0;
};

class TyTrayIcon : public QObject {
    Q_OBJECT

public:
    static constexpr std::size_t kTipLimit = 62;

    // Mouse notifications from the notification area.
    enum class Mouse {
        Move,
        LeftDown,
        LeftUp,
        LeftDoubleClick,
        RightDown,
        RightUp,
        RightDoubleClick,
        MiddleDown,
        MiddleUp
    };

    // Throws std::bad_alloc-class error "タスクトレイにアイコンを登録できません。" when identifiers run out.
    explicit TyTrayIcon(QObject* owner = nullptr, std::unique_ptr<TrayBackend> backend = {});
    ~TyTrayIcon() override;

    int identifier() const { return id_; }
    bool isRegistered() const { return registered_; }
    bool isAvailable() const { return backend_->isAvailable(); }

    bool AutoPopup = true;
    QMenu* LBPopupMenu = nullptr;
    QMenu* RBPopupMenu = nullptr;
    void setRBPopupMenu(QMenu* menu);

    const QIcon& Icon() const { return icon_; }
    // A null icon clears the image and hides the icon.
    void setIcon(const QIcon& icon);

    // The first 62 bytes (whole characters) of the text; an unchanged tip does not reach the shell.
    const std::string& TipHelp() const { return tip_; }
    void setTipHelp(const std::string& text);

    bool Visible() const { return visible_; }
    // Becomes true only while an image is present.
    void setVisible(bool visible);

    // Delivers a notification (the backend calls this); `pos` is the pointer in screen co-ordinates.
    void dispatch(Mouse message, const QPoint& pos);

signals:
    void OnDblClick(TyTrayIcon* sender);
    void OnMouseDown(TyTrayIcon* sender, Qt::MouseButton button, const QPoint& pos);
    void OnMouseUp(TyTrayIcon* sender, Qt::MouseButton button, const QPoint& pos);
    void OnMouseMove(TyTrayIcon* sender, const QPoint& pos);

private:
    enum class Call { Add, Modify, Delete };
    void notifyShell(Call call);
    void buttonDown(Qt::MouseButton button, QMenu* menu, const QPoint& pos);

    std::unique_ptr<TrayBackend> backend_;
    int id_ = 0;
    QIcon icon_;
    std::string tip_ = "TipHelp";
    bool visible_ = false;
    bool registered_ = false;
};

// The error raised when the notification area refuses an icon or identifiers run out.
class TrayIconError : public std::bad_alloc {
public:
    const char* what() const noexcept override;
};

} // namespace vendle::widgets
