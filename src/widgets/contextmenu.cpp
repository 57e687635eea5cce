// SPDX-License-Identifier: GPL-3.0-or-later
#include "contextmenu.h"

#include "core/hresult.h"
#include "platform/shellmenu.h"
#include "widgets/messagebox.h"

#include <QMenu>
#include <QWidget>

#include <algorithm>

namespace vendle::widgets {

namespace {

constexpr std::uint32_t kEFail = 0x80004005u;

// A source file's own name, without the folders of the machine that built it.
QString sourceName(const char* file) {
    const QString path = QString::fromUtf8(file);
    return path.mid(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1);
}

// A popup action's command id: its data when that holds a positive integer, else its position.
int commandIdOf(const QAction& action, int position) {
    bool isInt = false;
    const int id = action.data().toInt(&isInt);
    return isInt && id > 0 ? id : position;
}

void fill(QMenu& menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        if (item.separator) {
            menu.addSeparator();
        } else if (item.id == 0) {
            QMenu* sub = menu.addMenu(QString::fromStdString(item.caption));
            sub->setEnabled(item.enabled && !item.submenu.empty());
            fill(*sub, item.submenu);
        } else {
            QAction* a = menu.addAction(QString::fromStdString(item.caption));
            a->setData(item.id);
            a->setEnabled(item.enabled);
        }
    }
}

} // namespace

TQnContextMenu::TQnContextMenu(QWidget* owner, platform::Shell& shell)
    : QObject(owner), owner_(owner), shell_(shell), tracker_(&TQnContextMenu::TrackPopupMenu) {}

void TQnContextMenu::SetPopupMenu(QMenu* menu) {
    popupMenu_ = menu;
}

std::vector<MenuItem> TQnContextMenu::popupItems(const QMenu& menu) {
    std::vector<MenuItem> items;
    int position = 0;
    for (QAction* a : menu.actions()) {
        ++position;
        if (a->isSeparator())
            continue;
        items.push_back(MenuItem::command(a->text().toStdString(), commandIdOf(*a, position)));
    }
    return items;
}

int TQnContextMenu::TrackPopupMenu(const std::vector<MenuItem>& items, const QPoint& screen) {
    QMenu menu;
    fill(menu, items);
    const QAction* chosen = menu.exec(screen);
    return chosen ? chosen->data().toInt() : 0;
}

void TQnContextMenu::Popup(int x, int y, const std::string& fileName) {
    FileNames = {fileName};
    PopupEx(x, y);
}

void TQnContextMenu::PopupEx(int x, int y) {
    if (!owner_ || FileNames.empty())
        return;
    const QPoint screen = owner_->mapToGlobal(QPoint(x, y));
    const std::vector<MenuItem> popup = popupMenu_ ? popupItems(*popupMenu_) : std::vector<MenuItem>();
    const int highest = HighestCommandId(popup);
    // Any failure while the menu is built ends the call quietly, without a menu.
    const std::unique_ptr<platform::ShellContextMenu> context = shell_.contextMenu(FileNames);
    if (!context)
        return;
    std::vector<MenuItem> menu;
    if (!context->query(menu, highest + 1, kShellLastCommandId))
        return;
    std::vector<std::string> names;
    for (const platform::SendToEntry& entry : shell_.sendToEntries())
        names.push_back(plainCaption(entry.name));
    const bool sendTo = SetSendToMenu(menu, names);
    if (popupMenu_)
        appendPopupItems(menu, popup);

    const MenuCommand command = dispatchCommand(tracker_(menu, screen), highest, sendTo);
    switch (command.kind) {
    case MenuCommand::Kind::None:
        return;
    case MenuCommand::Kind::Popup: {
        int position = 0;
        for (QAction* a : popupMenu_->actions()) {
            ++position;
            if (!a->isSeparator() && commandIdOf(*a, position) == command.popupId) {
                a->trigger();
                break;
            }
        }
        return;
    }
    case MenuCommand::Kind::Shell: {
        const platform::InvokeResult r = context->invoke(command.shellOffset);
        if (!r.trashed.empty())
            emit movedToTrash(r.trashed);
        if (!r.ok)
            invokeFailed(r, QStringLiteral(" ERROR! %1 %2").arg(sourceName(__FILE__)).arg(__LINE__));
        return;
    }
    case MenuCommand::Kind::SendTo: {
        // The documents go to the chosen entry directly; the clipboard stays as the user left it.
        const platform::InvokeResult sent =
            shell_.sendTo(static_cast<std::size_t>(command.sendToIndex), FileNames);
        if (!sent.ok)
            invokeFailed(sent, QStringLiteral(" ERROR(%1) %2 %3")
                                   .arg(QString::fromStdString(HResultName(kEFail)))
                                   .arg(sourceName(__FILE__))
                                   .arg(__LINE__));
        return;
    }
    }
}

void TQnContextMenu::invokeFailed(const platform::InvokeResult& result, const QString& title) {
    // One box a failure: its reason in words when there is one, else the failure itself. A
    // refusal the user was told about is no failure.
    QWidget* window = owner_ ? owner_->window() : nullptr;
    if (!result.reason.empty())
        MessageBox::show(window, QString::fromStdString(result.reason));
    else if (!result.refused)
        MessageBox::show(window, QStringLiteral(" InvokeCommand failed! "), MessageBox::Information, title);
}

} // namespace vendle::widgets
