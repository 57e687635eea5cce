// SPDX-License-Identifier: GPL-3.0-or-later
// The document context menu's description and its command-id arithmetic: the program's own popup
// items take ids 1..B, the shell's items B+1..0x7FFF, and the Send To entries 1525 + i. The
// platform fills a menu description; the component shows it and dispatches the chosen id here.
#pragma once

#include "core/texts.h"
#include <string>
#include <string_view>
#include <vector>

namespace vendle {

struct MenuItem {
    std::string caption;
    int id = 0; // command id; 0 for separators and for items that hold a submenu
    bool separator = false;
    bool enabled = true;
    std::vector<MenuItem> submenu;

    static MenuItem command(std::string caption, int id) { return {std::move(caption), id, false, true, {}}; }
    static MenuItem line() { return {{}, 0, true, true, {}}; }
};

// A name shown in a menu as it is: "&" would otherwise mark the item's shortcut letter.
std::string plainCaption(std::string_view name);

// The caption of the shell's Send To item, translated by the platform that makes it.
inline constexpr const char* kSendToCaption = VENDLE_TEXT_NOOP("ContextMenu", "送る(&N)");

inline constexpr int kShellLastCommandId = 0x7FFF;
inline constexpr int kSendToFirstId = 1525;
inline constexpr int kSendToMaxEntries = 100;

// The highest command id among the top-level items (as 16-bit ids); 0 for none.
int HighestCommandId(const std::vector<MenuItem>& popup);

// Fills the submenu of the last top-level item whose caption contains "送る" (or is the
// translated kSendToCaption) with the Send To
// entries (at most 100, ids 1525 + i), after removing the entry the shell put there first. True
// when Send To choices are to be handled: 1 to 98 entries were added. Without such an item the
// menu stays as it is and the result is false.
bool SetSendToMenu(std::vector<MenuItem>& menu, const std::vector<std::string>& entryNames);

// Appends a separator and the popup's top-level items (caption and id) at the end of the menu.
void appendPopupItems(std::vector<MenuItem>& menu, const std::vector<MenuItem>& popup);

// What a chosen command id means.
struct MenuCommand {
    enum class Kind { None, Popup, Shell, SendTo };
    Kind kind = Kind::None;
    int popupId = 0;     // Popup: the popup item's id
    int shellOffset = 0; // Shell: the shell's own command offset (id - B - 1)
    int sendToIndex = 0; // SendTo: the entry's index
};

// `cmd` 0 is a dismissed menu. With Send To handling on, 1525..1623 choose Send To entries.
MenuCommand dispatchCommand(int cmd, int highestPopupId, bool sendToHandled);

} // namespace vendle
