// SPDX-License-Identifier: GPL-3.0-or-later
// The document context menu component: the desktop shell's menu for a list of documents, with a
// Send To submenu of its own making and the program's own popup items below a separator. It shows
// the menu at a point and carries out the chosen command.
#pragma once

#include "core/contextmenu.h"

#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace vendle::platform {
class Shell;
struct InvokeResult;
} // namespace vendle::platform

namespace vendle::widgets {

class TQnContextMenu : public QObject {
    Q_OBJECT

public:
    // Shows `menu` at the screen point and returns the chosen command id, 0 when dismissed.
    using Tracker = std::function<int(const std::vector<MenuItem>& menu, const QPoint& screen)>;

    TQnContextMenu(QWidget* owner, platform::Shell& shell);

    std::vector<std::string> FileNames;

    void SetPopupMenu(QMenu* menu);
    QMenu* PopupMenu() const { return popupMenu_; }

    // The menu for one document.
    void Popup(int x, int y, const std::string& fileName);
    // The menu for every path in FileNames, at the owner's client point (x, y).
    void PopupEx(int x, int y);

    // Replaces the user's choice (tests).
    void setTracker(Tracker tracker) { tracker_ = std::move(tracker); }

    // The popup's top-level items with their command ids: an action's data when it holds an
    // integer, else its position from 1.
    static std::vector<MenuItem> popupItems(const QMenu& menu);

    // Shows the menu as a real popup menu and returns the chosen id.
    static int TrackPopupMenu(const std::vector<MenuItem>& menu, const QPoint& screen);

signals:
    // A command of the menu moved these files to the trash.
    void movedToTrash(const std::vector<std::string>& paths);

private:
    void invokeFailed(const platform::InvokeResult& result, const QString& title);

    QWidget* owner_;
    platform::Shell& shell_;
    QPointer<QMenu> popupMenu_;
    Tracker tracker_;
};

} // namespace vendle::widgets
