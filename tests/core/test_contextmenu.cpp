// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/contextmenu.h"

#include <gtest/gtest.h>

using namespace vendle;

namespace {

std::vector<MenuItem> shellMenu(int first) {
    std::vector<MenuItem> m{
        MenuItem::command("開く(&O)", first), MenuItem::line(),
        MenuItem{"送る(&N)", 0, false, true, {MenuItem::command("（送り先）", first + 1)}},
        MenuItem::command("コピー(&C)", first + 2)};
    return m;
}

} // namespace

TEST(ContextMenu, HighestCommandIdLooksAtTopLevelSixteenBitIds) {
    EXPECT_EQ(HighestCommandId({}), 0);
    std::vector<MenuItem> popup{MenuItem::command("a", 3), MenuItem::command("b", 0x10002), MenuItem::line()};
    popup[2].submenu.push_back(MenuItem::command("deep", 900));
    EXPECT_EQ(HighestCommandId(popup), 3);
}

TEST(ContextMenu, SendToEntriesReplaceTheShellsOwnEntry) {
    std::vector<MenuItem> menu = shellMenu(3);
    EXPECT_TRUE(SetSendToMenu(menu, {"デスクトップ", "ドキュメント", "USB"}));
    const std::vector<MenuItem>& sub = menu[2].submenu;
    ASSERT_EQ(sub.size(), 3u);
    EXPECT_EQ(sub[0].caption, "デスクトップ");
    EXPECT_EQ(sub[0].id, 1525);
    EXPECT_EQ(sub[2].id, 1527);

    // No entries: the shell's entry still goes, and Send To is off.
    menu = shellMenu(3);
    EXPECT_FALSE(SetSendToMenu(menu, {}));
    EXPECT_TRUE(menu[2].submenu.empty());
    // 99 entries are listed, but only 1 to 98 turn Send To on; at most 100 are listed.
    menu = shellMenu(3);
    EXPECT_FALSE(SetSendToMenu(menu, std::vector<std::string>(99, "x")));
    EXPECT_EQ(menu[2].submenu.size(), 99u);
    menu = shellMenu(3);
    EXPECT_FALSE(SetSendToMenu(menu, std::vector<std::string>(120, "x")));
    EXPECT_EQ(menu[2].submenu.back().id, 1624);
    // Without an item holding "送る" nothing changes.
    std::vector<MenuItem> plain{MenuItem::command("開く(&O)", 1)};
    EXPECT_FALSE(SetSendToMenu(plain, {"a"}));
    EXPECT_EQ(plain.size(), 1u);
}

TEST(ContextMenu, CommandIdsMapToPopupShellOrSendTo) {
    using K = MenuCommand::Kind;
    EXPECT_EQ(dispatchCommand(0, 2, true).kind, K::None);
    EXPECT_EQ(dispatchCommand(2, 2, true).kind, K::Popup);
    EXPECT_EQ(dispatchCommand(2, 2, true).popupId, 2);
    const MenuCommand shell = dispatchCommand(7, 2, true);
    EXPECT_EQ(shell.kind, K::Shell);
    EXPECT_EQ(shell.shellOffset, 4); // id - B - 1
    EXPECT_EQ(dispatchCommand(1526, 2, true).kind, K::SendTo);
    EXPECT_EQ(dispatchCommand(1526, 2, true).sendToIndex, 1);
    EXPECT_EQ(dispatchCommand(1623, 2, true).kind, K::SendTo);
    EXPECT_EQ(dispatchCommand(1624, 2, true).kind, K::Shell);
    EXPECT_EQ(dispatchCommand(1526, 2, false).kind, K::Shell); // handling off: a shell id
}

TEST(ContextMenu, PopupItemsFollowASeparator) {
    std::vector<MenuItem> menu = shellMenu(3);
    appendPopupItems(menu, {MenuItem::command("終了(&X)", 1), MenuItem::command("設定(&S)", 2)});
    ASSERT_EQ(menu.size(), 7u);
    EXPECT_TRUE(menu[4].separator);
    EXPECT_EQ(menu[6].caption, "設定(&S)");
    EXPECT_EQ(menu[6].id, 2);
}
