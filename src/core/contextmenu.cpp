// SPDX-License-Identifier: GPL-3.0-or-later
#include "contextmenu.h"
#include "core/texts.h"

#include <algorithm>

namespace vendle {

std::string plainCaption(std::string_view name) {
    std::string out;
    for (char c : name) {
        out += c;
        if (c == '&')
            out += '&';
    }
    return out;
}

int HighestCommandId(const std::vector<MenuItem>& popup) {
    int highest = 0;
    for (const MenuItem& item : popup)
        highest = std::max(highest, item.id & 0xFFFF);
    return highest;
}

bool SetSendToMenu(std::vector<MenuItem>& menu, const std::vector<std::string>& entryNames) {
    MenuItem* sendTo = nullptr;
    for (MenuItem& item : menu) {
        if (item.caption.find("送る") != std::string::npos ||
            item.caption == textIn("ContextMenu", kSendToCaption))
            sendTo = &item; // the last one wins
    }
    if (!sendTo)
        return false;
    const std::size_t count = std::min<std::size_t>(entryNames.size(), kSendToMaxEntries);
    for (std::size_t i = 0; i < count; ++i)
        sendTo->submenu.push_back(MenuItem::command(entryNames[i], kSendToFirstId + static_cast<int>(i)));
    if (!sendTo->submenu.empty())
        sendTo->submenu.erase(sendTo->submenu.begin());
    return count >= 1 && count <= 98;
}

void appendPopupItems(std::vector<MenuItem>& menu, const std::vector<MenuItem>& popup) {
    menu.push_back(MenuItem::line());
    for (const MenuItem& item : popup)
        menu.push_back(MenuItem::command(item.caption, item.id));
}

MenuCommand dispatchCommand(int cmd, int highestPopupId, bool sendToHandled) {
    MenuCommand c;
    if (sendToHandled && cmd >= kSendToFirstId && cmd <= kSendToFirstId + 98) {
        c.kind = MenuCommand::Kind::SendTo;
        c.sendToIndex = cmd - kSendToFirstId;
    } else if (cmd <= 0) {
        c.kind = MenuCommand::Kind::None;
    } else if (cmd <= highestPopupId) {
        c.kind = MenuCommand::Kind::Popup;
        c.popupId = cmd;
    } else {
        c.kind = MenuCommand::Kind::Shell;
        c.shellOffset = cmd - highestPopupId - 1;
    }
    return c;
}

} // namespace vendle
